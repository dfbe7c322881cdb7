// The status monitor: the poll of power status and taskbar width, and the
// memory and storage scan that a tap on the gauge asks for.
#pragma once
#include "platform/platform.h"

// One poll; the main window's WM_TIMER handling, whatever the timer id.
void PollStatus(HWND mainWnd);

// After a tap: scans when the page is visible, or on the very first tap.
void RefreshStorageDecision(HWND mainWnd);
void ScanStorage(HWND mainWnd);
// Names every slot empty and marks every figure as never measured.
void ResetStorageTable();

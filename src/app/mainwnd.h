// The main window, its commands and About; the instance check and the
// message loop.
#pragma once
#include "platform/platform.h"

// Exit code of a start that found the instance name held and no window of
// the instance holding it.
constexpr int kExitStartBlocked = 1;

// Refuses a second instance, then creates the main window. When it returns
// FALSE, exitCode (if given) is what the process ends with.
BOOL InitInstance(HINSTANCE instance, int cmdShow, int *exitCode = nullptr);
int RunMessageLoop();
LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AboutDlgProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);

// The application shell: start-up, the main window and its commands.
#pragma once
#include "platform/platform.h"

// Exit code of a start that found the instance name held and no window of
// the instance holding it.
constexpr int kExitStartBlocked = 1;

// Refuses a second instance, then creates the main window. When it returns
// FALSE, exitCode (if given) is what the process ends with.
BOOL InitInstance(HINSTANCE instance, int cmdShow, int *exitCode = nullptr);
int RunMessageLoop();
HWND CreateAppMenuBar(HWND hwnd);
LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AboutDlgProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);

// Geometry of the Hide button for a main-window client rectangle.
RECT HideButtonRect(const RECT &client);

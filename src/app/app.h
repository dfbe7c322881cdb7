// The application shell: start-up, the main window and its commands.
#pragma once
#include "platform/platform.h"

BOOL InitInstance(HINSTANCE instance, int cmdShow);
int RunMessageLoop();
HWND CreateAppMenuBar(HWND hwnd);
LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AboutDlgProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);

// Geometry of the Hide button for a main-window client rectangle.
RECT HideButtonRect(const RECT &client);

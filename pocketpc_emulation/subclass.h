// Window subclassing without the common controls: the window procedure is
// replaced, and the replaced one is called for every message passed on. A
// table in the process remembers it, so that a message costs no look-up in the
// window server (as a window property, or the common controls' subclassing,
// would: three of them for every message, the poll's timer included).
// Windows are subclassed and their messages handled on one thread.
#pragma once
#include "platform/platform.h"

// Puts proc in front of hwnd's window procedure, with a value for it; false
// when the window cannot be subclassed.
bool SubclassWindow(HWND hwnd, WNDPROC proc, LONG_PTR data);
// The value given to SubclassWindow; 0 when proc no longer acts on hwnd.
LONG_PTR SubclassData(HWND hwnd, WNDPROC proc);
// Passes a message on to the procedure that proc replaced. With WM_NCDESTROY,
// the window's last message, the subclass is forgotten; the same message sent
// by another thread or process is a lie about a window that lives on, and
// goes nowhere.
LRESULT CallReplacedProc(HWND hwnd, WNDPROC proc, UINT msg, WPARAM wParam, LPARAM lParam);
// Puts the replaced procedure back. When another one has been put in front of
// proc since, proc stays in the chain but only passes messages on.
void RemoveSubclass(HWND hwnd, WNDPROC proc);

// Resource identifiers of ZemloBattery. Included by the resource script too,
// so it holds only #define lines.
#pragma once

// String table
#define IDS_TITLE 1
#define IDS_DEVICE_MEMORY 2
#define IDS_CLASS 3
#define IDS_TOOLS 104
#define IDS_HIDE 105
#define IDS_TIME_REMAINING 302
#define IDS_ESTIMATED 303
#define IDS_DEFAULTS_BUTTON 310
#define IDS_DEFAULTS_QUESTION 311
#define IDS_DEFAULTS_CAPTION 312
#define IDS_START_BLOCKED 320

// Icon, menu, menu bar, accelerators, dialogs
#define IDI_ZEMLO 101
#define IDR_MAINMENU 102
#define IDR_ACCELERATORS 3
#define IDD_ABOUT 103
#define IDD_SETUP 106

// Menu commands
#define IDM_TOOLS 40001
#define IDM_ABOUT 40003
#define IDM_SETUP 40005
#define IDM_QUIT 40006

// Setup dialog controls
#define IDC_POSITION 1001
#define IDC_LIFETIME 1002
#define IDC_STYLE_WM6 1003
#define IDC_STYLE_CUSTOM 1004
#define IDC_STYLE_WM5 1005
#define IDC_ALIGN_LEFT 1006
#define IDC_ALIGN_RIGHT 1007

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// CE extended style and menu bar button values, for the resource compiler.
#ifndef WS_EX_CAPTIONOKBTN
#define WS_EX_CAPTIONOKBTN 0x80000000L
#endif
#define MENUBAR_IMAGE_NONE 0xFFFE
#define MENUBAR_STATE_ENABLED 4
#define MENUBAR_STYLE_DROPDOWN_AUTOSIZE 0x18

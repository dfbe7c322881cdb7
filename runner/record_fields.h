// The records that Windows CE on ARM and 64-bit Windows lay out differently,
// field by field: RECORD(name, CE type, host type, CE size), then its
// FIELD(name, field, CE offset, CE size, kind). The runner converts with them
// (records.cpp); tests/runner/record_fields_check.cpp checks each CE offset
// and size against the device's own headers. A field missing here is not
// converted (CE's dwOID, the host's reserved words).
//
// BITS is a field of bits on CE (offsetof cannot name it): the record's
// last four bytes there.
// Kinds: Word (bytes copied), Size (the record's size on the host side),
// Handle (32 bits sign-extended), Pointer (an ARM address; below 0x10000 an id
// kept as it is), Proc (a window procedure), Param (a message parameter),
// Wide (a DWORD on CE, a SIZE_T on the host).

RECORD(WndClass, WNDCLASSW, WNDCLASSW, 40)
FIELD(WndClass, style, 0, 4, Word)
FIELD(WndClass, lpfnWndProc, 4, 4, Proc)
FIELD(WndClass, cbClsExtra, 8, 4, Word)
FIELD(WndClass, cbWndExtra, 12, 4, Word)
FIELD(WndClass, hInstance, 16, 4, Handle)
FIELD(WndClass, hIcon, 20, 4, Handle)
FIELD(WndClass, hCursor, 24, 4, Handle)
FIELD(WndClass, hbrBackground, 28, 4, Handle)
FIELD(WndClass, lpszMenuName, 32, 4, Pointer)
FIELD(WndClass, lpszClassName, 36, 4, Pointer)

RECORD(Msg, MSG, MSG, 28)
FIELD(Msg, hwnd, 0, 4, Handle)
FIELD(Msg, message, 4, 4, Word)
FIELD(Msg, wParam, 8, 4, Param)
FIELD(Msg, lParam, 12, 4, Param)
FIELD(Msg, time, 16, 4, Word)
FIELD(Msg, pt, 20, 8, Word)

RECORD(PaintStruct, PAINTSTRUCT, PAINTSTRUCT, 64)
FIELD(PaintStruct, hdc, 0, 4, Handle)
FIELD(PaintStruct, fErase, 4, 4, Word)
FIELD(PaintStruct, rcPaint, 8, 16, Word)
FIELD(PaintStruct, fRestore, 24, 4, Word)
FIELD(PaintStruct, fIncUpdate, 28, 4, Word)
FIELD(PaintStruct, rgbReserved, 32, 32, Word)

RECORD(ChooseColor, CHOOSECOLOR, CHOOSECOLORW, 36)
FIELD(ChooseColor, lStructSize, 0, 4, Size)
FIELD(ChooseColor, hwndOwner, 4, 4, Handle)
FIELD(ChooseColor, hInstance, 8, 4, Handle)
FIELD(ChooseColor, rgbResult, 12, 4, Word)
FIELD(ChooseColor, lpCustColors, 16, 4, Pointer)
FIELD(ChooseColor, Flags, 20, 4, Word)
FIELD(ChooseColor, lCustData, 24, 4, Param)
FIELD(ChooseColor, lpfnHook, 28, 4, Pointer)
FIELD(ChooseColor, lpTemplateName, 32, 4, Pointer)

RECORD(MenuBarInfo, SHMENUBARINFO, SHMENUBARINFO, 36)
FIELD(MenuBarInfo, cbSize, 0, 4, Size)
FIELD(MenuBarInfo, hwndParent, 4, 4, Handle)
FIELD(MenuBarInfo, dwFlags, 8, 4, Word)
FIELD(MenuBarInfo, nToolBarId, 12, 4, Word)
FIELD(MenuBarInfo, hInstRes, 16, 4, Handle)
FIELD(MenuBarInfo, nBmpId, 20, 4, Word)
FIELD(MenuBarInfo, cBmpImages, 24, 4, Word)
FIELD(MenuBarInfo, hwndMB, 28, 4, Handle)
FIELD(MenuBarInfo, clrBk, 32, 4, Word)

RECORD(InitDlgInfo, SHINITDLGINFO, SHINITDLGINFO, 12)
FIELD(InitDlgInfo, dwMask, 0, 4, Word)
FIELD(InitDlgInfo, hDlg, 4, 4, Handle)
FIELD(InitDlgInfo, dwFlags, 8, 4, Word)

RECORD(ActivateInfo, SHACTIVATEINFO, SHACTIVATEINFO, 12)
FIELD(ActivateInfo, cbSize, 0, 4, Size)
FIELD(ActivateInfo, hwndLastFocus, 4, 4, Handle)
BITS(ActivateInfo, flags, 8, 4, Word)

RECORD(MemoryStatus, MEMORYSTATUS, MEMORYSTATUS, 32)
FIELD(MemoryStatus, dwLength, 0, 4, Size)
FIELD(MemoryStatus, dwMemoryLoad, 4, 4, Word)
FIELD(MemoryStatus, dwTotalPhys, 8, 4, Wide)
FIELD(MemoryStatus, dwAvailPhys, 12, 4, Wide)
FIELD(MemoryStatus, dwTotalPageFile, 16, 4, Wide)
FIELD(MemoryStatus, dwAvailPageFile, 20, 4, Wide)
FIELD(MemoryStatus, dwTotalVirtual, 24, 4, Wide)
FIELD(MemoryStatus, dwAvailVirtual, 28, 4, Wide)

RECORD(FindData, WIN32_FIND_DATAW, WIN32_FIND_DATAW, 560)
FIELD(FindData, dwFileAttributes, 0, 4, Word)
FIELD(FindData, ftCreationTime, 4, 8, Word)
FIELD(FindData, ftLastAccessTime, 12, 8, Word)
FIELD(FindData, ftLastWriteTime, 20, 8, Word)
FIELD(FindData, nFileSizeHigh, 28, 4, Word)
FIELD(FindData, nFileSizeLow, 32, 4, Word)
FIELD(FindData, cFileName, 40, 520, Word)

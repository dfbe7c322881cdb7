// The info page: time remaining and one bar per measured storage entry.
#pragma once
#include "state/state.h"

// WM_PAINT of the main window.
void PaintInfoPage(HWND hwnd);
// Composes the whole page, with a bar for each measured entry of the table,
// into a DC whose client area is rc.
void DrawInfoPage(HDC dc, const RECT &rc, const StorageTable &storage);
// The top of the page's row (0: the device memory, then each card) in a
// client area rc, and the outline of a bar for a row whose top is top,
// between left and right.
int InfoRowTop(const RECT &rc, int row);
RECT MemoryBarOutline(int left, int top, int right);
void DrawMemoryBar(HDC dc, int left, int top, int right, const WCHAR *name, ULONGLONG totalKB,
                   ULONGLONG freeKB);

// The texts of the page, formatted into caller buffers.
void FormatTimeLine(WCHAR *text, size_t size);
void FormatMegabytes(WCHAR *text, size_t size, ULONGLONG kilobytes, bool free);
// Pixels of a bar's inner width that the used share covers, 0 .. innerWidth.
int UsedWidth(int innerWidth, ULONGLONG totalKB, ULONGLONG freeKB);

// The Setup dialog: alignment, position, lifetime, style and the colours.
#pragma once
#include "platform/platform.h"

struct ColorElement;

INT_PTR CALLBACK SetupDlgProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);

// Handlers of SetupDlgProc that belong to the colour rows.
BOOL PaintColorRows(HWND dlg);
BOOL OnSwatchTap(HWND dlg, LPARAM lParam);
void ResetColorDefaults(HWND dlg);

// Colour rows on the dialog's own surface.
void DrawColorSwatch(const ColorElement *element, HDC dc);
void DrawColorRows(HDC dc, const RECT &rc);
// The element whose swatch holds the point strictly inside, or -1.
int HitColorSwatch(int x, int y);
COLORREF ChooseElementColor(HWND owner, const ColorElement *element);

// The modal colour chooser and the confirmation question, replaceable by
// tests that cannot answer a modal window; nullptr restores the real ones.
using ColorChooser = BOOL(WINAPI *)(LPCHOOSECOLOR request);
using QuestionBox = int(WINAPI *)(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
void SetColorChooser(ColorChooser chooser);
void SetQuestionBox(QuestionBox question);

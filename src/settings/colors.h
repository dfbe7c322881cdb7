// The six configurable colours of the gauge, with their Setup layout.
#pragma once
#include "platform/platform.h"

constexpr int kColorElementCount = 6;
constexpr int kElementNameUnits = 100;

// Table order; also the order of the rows in the Setup dialog.
enum ColorElementIndex {
    kBackground = 0,
    kPercentage = 1,
    kFrameCharging = 2,
    kFrameNotCharging = 3,
    kFullPart = 4,
    kEmptyPart = 5,
};

struct ColorElement {
    COLORREF defaultColor;
    RECT swatchRect; // Setup dialog client coordinates
    RECT labelRect;
    WCHAR name[kElementNameUnits]; // label text and registry value name
    COLORREF color;
    HBRUSH brush; // solid brush of color, owned by the element
};

struct ColorElementTable {
    int left;
    int top;
    int labelWidth;
    int swatchWidth;
    int rowHeight;
    int rowPitch;
    BYTE hiResMode;
    ColorElement *elements[kColorElementCount];
    RECT labelTemplate;
    RECT swatchTemplate;
    int rowCount;
};

void AllocColorElements(ColorElementTable *table);
void LayoutColorElements(ColorElementTable *table, BYTE mode);

// The element at a table index, or nullptr when the table or record is missing.
ColorElement *Element(int index);

// What a colour draws as. A stored colour may carry bits above blue; it is
// kept as stored, but GDI would read those bits as a palette index or a
// palette-relative colour, so every drawing takes its red, green and blue.
inline COLORREF DrawnColor(COLORREF color) {
    return color & 0x00FFFFFF;
}

// Gives the element a new colour and a brush of what it draws as; the
// replaced brush is freed.
void SetElementColor(ColorElement *element, COLORREF color);

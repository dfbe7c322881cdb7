// The configurable colours of the gauge, with their Setup layout.
#pragma once
#include "state/state.h"

void AllocColorElements(ColorElementTable *table);
void LayoutColorElements(ColorElementTable *table, BYTE mode);

// The element at a table index, or nullptr when the table or record is missing.
ColorElement *ElementOf(const ColorElementTable *table, int index);
// The same in the program's table.
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

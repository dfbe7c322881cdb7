#include "settings/colors.h"

#include "base/gdi.h"

#include <cstdlib>
#include <cstring>

void AllocColorElements(ColorElementTable *table) {
    for (ColorElement *&element : table->elements) {
        if (!element) {
            element = static_cast<ColorElement *>(std::calloc(1, sizeof(ColorElement)));
            continue;
        }
        // A second layout reuses the records rather than leaking them.
        if (element->brush)
            DeleteObject(element->brush);
        std::memset(element, 0, sizeof(*element));
    }
}

void LayoutColorElements(ColorElementTable *table, BYTE mode) {
    table->hiResMode = mode;
    if (mode == 0) {
        table->left = 9;
        table->top = 75;
        table->labelWidth = 120;
        table->swatchWidth = 30;
        table->rowHeight = 15;
        table->rowPitch = 18;
    } else if (mode == 1) {
        table->left = 18;
        table->top = 150;
        table->labelWidth = 240;
        table->swatchWidth = 60;
        table->rowHeight = 30;
        table->rowPitch = 36;
    }
    SetRect(&table->labelTemplate, table->left, table->top, table->left + table->labelWidth,
            table->top + table->rowHeight);
    table->rowCount = 0;
    CopyRect(&table->swatchTemplate, &table->labelTemplate);
    table->swatchTemplate.right = table->left + table->swatchWidth;
    OffsetRect(&table->swatchTemplate, table->labelWidth + 20, 0);

    AllocColorElements(table);
    for (ColorElement *element : table->elements) {
        if (element) {
            int dy = table->rowCount * table->rowPitch;
            CopyRect(&element->labelRect, &table->labelTemplate);
            OffsetRect(&element->labelRect, 0, dy);
            CopyRect(&element->swatchRect, &table->swatchTemplate);
            OffsetRect(&element->swatchRect, 0, dy);
        }
        ++table->rowCount;
    }
    for (int i = 0; i < kColorElementCount; ++i) {
        if (ColorElement *element = table->elements[i]) {
            StringCchCopyW(element->name, kElementNameUnits, kColorElementDefaults[i].name);
            element->defaultColor = kColorElementDefaults[i].color;
        }
    }
}

ColorElement *ElementOf(const ColorElementTable *table, int index) {
    if (!table || index < 0 || index >= kColorElementCount)
        return nullptr;
    return table->elements[index];
}

ColorElement *Element(int index) {
    return ElementOf(g_colorElements, index);
}

void SetElementColor(ColorElement *element, COLORREF color) {
    element->color = color;
    ReplaceGdiObject(&element->brush, CreateSolidBrush(DrawnColor(color)));
}

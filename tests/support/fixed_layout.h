// The fixed numbers of the program's pictures, as users and the device's
// screens rely on them: written here rather than read from the program, so
// that a row or a control that moves by a pixel fails the tests (the
// FixedLayout test compares the program's tables with these). Index 0 is the
// low-resolution mode (96 dpi), 1 the high-resolution one (192 dpi).
#pragma once
#include <windows.h>

// Setup's colour rows: the first row's label and swatch, then one row a
// pitch below the other; the defaults button in the swatches' column, a row
// above the first.
struct ColorRowsLayout {
    RECT label;
    RECT swatch;
    int pitch;
    RECT defaultsButton;
};
inline constexpr ColorRowsLayout kColorRows[2] = {
    {{9, 75, 129, 90}, {149, 75, 179, 90}, 18, {149, 57, 179, 72}},
    {{18, 150, 258, 180}, {278, 150, 338, 180}, 36, {278, 114, 338, 144}},
};

// The gauge's box in the taskbar with the default settings.
inline constexpr RECT kDefaultGaugeBox[2] = {{2, 4, 24, 22}, {4, 8, 48, 44}};

// The info page: the first row's top, the rows' pitch, and a row's bar
// outline (10 pixels in from both sides, its top and height below the row's
// top).
struct InfoRowsLayout {
    int firstTop;
    int pitch;
    int barTop;
    int barHeight;
    int barInset;
};
inline constexpr InfoRowsLayout kInfoRows[2] = {{30, 50, 30, 25, 10}, {50, 85, 35, 40, 10}};

// A dialog template's control: its id (0xFFFF: a static without one) and its
// rectangle in dialog units.
struct FixedControl {
    WORD id;
    RECT units;
};
inline constexpr FixedControl kSetupControls[] = {
    {0xFFFF, {5, 2, 21, 13}},  {1001, {21, 2, 37, 13}},   {0xFFFF, {5, 13, 91, 24}},
    {1002, {93, 12, 119, 24}}, {0xFFFF, {5, 23, 15, 34}}, {1003, {48, 23, 78, 33}},
    {1004, {82, 23, 118, 33}}, {1005, {18, 23, 46, 33}},  {0xFFFF, {5, 33, 51, 41}},
    {0xFFFF, {45, 2, 66, 13}}, {1006, {67, 2, 91, 12}},   {1007, {92, 2, 120, 12}},
};
inline constexpr FixedControl kAboutControls[] = {
    {0xFFFF, {7, 7, 27, 27}},   {0xFFFF, {35, 7, 191, 17}},  {0xFFFF, {35, 19, 191, 29}},
    {0xFFFF, {7, 37, 191, 47}}, {0xFFFF, {7, 49, 191, 59}},  {0xFFFF, {7, 67, 191, 77}},
    {0xFFFF, {7, 79, 191, 89}}, {0xFFFF, {7, 97, 191, 107}}, {0xFFFF, {7, 109, 191, 129}},
};

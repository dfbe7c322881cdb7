// What a first start stores, as users and stored registries rely on it:
// written here rather than read from the program, so that a changed default
// fails the tests.
#pragma once
#include "screen.h"

#include <iterator>
#include <span>

constexpr COLORREF kEmptyPartDefault = 0x400080;

struct StoredDefault {
    const wchar_t *name;
    DWORD value;
};
// "Position" counts 4 pixels on a taskbar of 32 pixels or more, else 2.
constexpr DWORD kDefaultPosition[2] = {2, 4}; // by resolution mode
// Every other value: the settings, then the colours in the order of the
// Setup dialog's rows.
inline constexpr StoredDefault kStoredDefaults[] = {
    {L"LifeTime", 350},
    {L"Style", 1},
    {L"Align", 1},
    {L"Background", kBlue},
    {L"Percentage", kWhite},
    {L"Frame_charging", kRed},
    {L"Frame_not_charging", kWhite},
    {L"Full_Part", kBlue},
    {L"Empty_Part", kEmptyPartDefault},
};
// The colours, after the three settings: one per colour element, in its
// order.
inline constexpr std::span<const StoredDefault> kColorDefaults(kStoredDefaults + 3,
                                                               std::end(kStoredDefaults));

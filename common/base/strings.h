// String resources.
#pragma once
#include "platform/platform.h"

#include <cstddef>

// A string resource into a fixed buffer, or the empty string when the module
// lacks it; a window or box is then made without the text rather than not at all.
inline void LoadStringOrEmpty(HINSTANCE instance, UINT id, wchar_t *text, int units) {
    if (units > 0 && LoadStringW(instance, id, text, units) <= 0)
        text[0] = L'\0';
}

template <std::size_t N> void LoadStringOrEmpty(HINSTANCE instance, UINT id, wchar_t (&text)[N]) {
    LoadStringOrEmpty(instance, id, text, static_cast<int>(N));
}

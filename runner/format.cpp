// _vsnwprintf as CE's COREDLL answers it, over the ARM program's argument
// list: every argument in 4-byte slots, 64-bit integers and doubles in two
// slots with no alignment of their own. Each conversion is formatted by the
// host's Microsoft-style _snwprintf; a conversion CE's does not know stops
// the runner.
// The host formatter itself does the work here, over bounded buffers.
#define STRSAFE_NO_DEPRECATE
#include "machine.h"

#include <cstdio>
#include <cstring>
#include <cwctype>
#include <string>

namespace runner {

int FormatArm(Machine &m, wchar_t *out, size_t count, const wchar_t *format, uint32_t args) {
    std::wstring text;
    auto take32 = [&] {
        uint32_t value = m.Read32(args);
        args += 4;
        return value;
    };
    auto take64 = [&] {
        uint64_t low = take32();
        return (uint64_t(take32()) << 32) | low;
    };
    for (const wchar_t *p = format; *p;) {
        if (*p != L'%') {
            text += *p++;
            continue;
        }
        const wchar_t *start = p++;
        std::wstring spec = L"%";
        while (*p && std::wcschr(L"-+ #0", *p))
            spec += *p++;
        for (int part = 0; part < 2; ++part) {
            if (part == 1) {
                if (*p != L'.')
                    break;
                spec += *p++;
            }
            if (*p == L'*') {
                spec += std::to_wstring(static_cast<int32_t>(take32()));
                ++p;
            }
            while (std::iswdigit(*p))
                spec += *p++;
        }
        bool wide64 = false;
        wchar_t size = 0;
        if (p[0] == L'I' && p[1] == L'6' && p[2] == L'4') {
            wide64 = true;
            p += 3;
        } else if (*p == L'l' || *p == L'h') {
            size = *p++;
        }
        wchar_t conversion = *p ? *p++ : 0;
        wchar_t piece[512];
        int written = -1;
        switch (conversion) {
        case L'%':
            text += L'%';
            continue;
        case L'd': case L'i': case L'u': case L'x': case L'X': case L'o':
            if (wide64) {
                spec += L"I64";
                spec += conversion;
                written = _snwprintf(piece, 511, spec.c_str(), static_cast<long long>(take64()));
            } else {
                spec += conversion;
                written = _snwprintf(piece, 511, spec.c_str(), static_cast<int>(take32()));
            }
            break;
        case L'f': case L'e': case L'E': case L'g': case L'G': {
            uint64_t bits = take64();
            double value;
            std::memcpy(&value, &bits, 8);
            spec += conversion;
            written = _snwprintf(piece, 511, spec.c_str(), value);
            break;
        }
        case L'c':
            spec += conversion;
            written = _snwprintf(piece, 511, spec.c_str(), static_cast<wchar_t>(take32()));
            break;
        case L's': case L'S': {
            uint32_t at = take32();
            bool narrow = conversion == L'S' ? size != L'l' : size == L'h';
            if (narrow)
                Die("_vsnwprintf with a narrow string (%ls), which the runner does not read", start);
            Args a{m, {at}};
            spec += L's';
            written = _snwprintf(piece, 511, spec.c_str(), at ? a.str(0) : L"(null)");
            break;
        }
        default:
            Die("_vsnwprintf format \"%ls\": a conversion the runner does not know", start);
        }
        if (written < 0)
            Die("_vsnwprintf: one conversion of \"%ls\" is longer than 511 characters", format);
        text.append(piece, static_cast<size_t>(written));
    }
    // Microsoft's contract: -1 when the text does not fit; no NUL when it
    // fills the buffer exactly.
    if (text.size() > count) {
        std::wmemcpy(out, text.data(), count);
        return -1;
    }
    std::wmemcpy(out, text.data(), text.size());
    if (text.size() < count)
        out[text.size()] = 0;
    return static_cast<int>(text.size());
}

} // namespace runner

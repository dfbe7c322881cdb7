#include "subclass.h"

#include "internal.h"

namespace {

struct Subclass {
    HWND hwnd;
    WNDPROC proc;
    WNDPROC replaced;
    LONG_PTR data;
    bool acting;
};

// A bound, not a guess: the program subclasses its main window and the open
// dialog; tests make a few more of each in turn.
constexpr int kMaxSubclasses = 16;
Subclass s_subclasses[kMaxSubclasses];

Subclass *Find(HWND hwnd, WNDPROC proc) {
    for (Subclass &s : s_subclasses)
        if (s.hwnd == hwnd && s.proc == proc)
            return &s;
    return nullptr;
}

} // namespace

bool SubclassWindow(HWND hwnd, WNDPROC proc, LONG_PTR data) {
    if (!IsWindow(hwnd) || Find(hwnd, proc))
        return false;
    Subclass *free = Find(nullptr, nullptr);
    if (!free)
        return false;
    auto replaced = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
    if (!replaced)
        return false;
    *free = Subclass{hwnd, proc, replaced, data, true};
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
    return true;
}

LONG_PTR SubclassData(HWND hwnd, WNDPROC proc) {
    const Subclass *s = Find(hwnd, proc);
    return s && s->acting ? s->data : 0;
}

LRESULT CallReplacedProc(HWND hwnd, WNDPROC proc, UINT msg, WPARAM wParam, LPARAM lParam) {
    Subclass *s = Find(hwnd, proc);
    if (!s)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY && SentFromElsewhere())
        return 0;
    WNDPROC replaced = s->replaced;
    if (msg == WM_NCDESTROY)
        *s = Subclass{};
    return CallWindowProcW(replaced, hwnd, msg, wParam, lParam);
}

void RemoveSubclass(HWND hwnd, WNDPROC proc) {
    Subclass *s = Find(hwnd, proc);
    if (!s)
        return;
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) == proc) {
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s->replaced));
        *s = Subclass{};
    } else {
        s->acting = false;
    }
}

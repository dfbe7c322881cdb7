// SHCreateMenuBar on desktop Windows: the soft-key bar at the bottom of the
// screen, built from the same nine-word RCDATA definition and menu resource
// that the CE shell reads. Its buttons open their popups upward, and the
// chosen commands reach the owner as WM_COMMAND. The bar shows and hides with
// its owner, as the CE shell's bar does.
#include "base/gdi.h"
#include "base/strings.h"
#include "internal.h"
#include "subclass.h"

#include <memory>
#include <new>

namespace {

constexpr int kMaxButtons = 2; // a CE soft-key bar has two keys

struct Button {
    int popupIndex;
    wchar_t caption[64];
};

// The bar's record owns its menu and font: whichever way the bar ends,
// deleting the record frees them.
struct MenuBar {
    HWND owner;
    HMENU menu;
    HFONT font;
    int buttonCount;
    Button buttons[kMaxButtons];

    ~MenuBar() {
        if (menu)
            DestroyMenu(menu);
        if (font)
            DeleteObject(font);
    }
};

LRESULT CALLBACK OwnerSubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

MenuBar *BarOf(HWND hwnd) {
    return reinterpret_cast<MenuBar *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

RECT ButtonRect(HWND hwnd, const MenuBar &bar, int index) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    int width = (rc.right - rc.left) / kMaxButtons;
    return RECT{rc.left + index * width, rc.top, rc.left + (index + 1) * width, rc.bottom};
}

void OnPaint(HWND hwnd, const MenuBar &bar) {
    PaintScope paint(hwnd);
    HDC dc = paint.dc();
    RECT rc;
    GetClientRect(hwnd, &rc);
    FillVerticalGradient(dc, rc, RGB(0x40, 0x48, 0x58), RGB(0x10, 0x14, 0x20));

    SelectGdi font(dc, bar.font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0xff, 0xff, 0xff));
    for (int i = 0; i < bar.buttonCount; ++i) {
        RECT button = ButtonRect(hwnd, bar, i);
        DrawTextW(dc, bar.buttons[i].caption, -1, &button, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

void OpenPopup(HWND hwnd, const MenuBar &bar, int index) {
    HMENU popup = GetSubMenu(bar.menu, bar.buttons[index].popupIndex);
    if (!popup)
        return;
    RECT button = ButtonRect(hwnd, bar, index);
    POINT anchor = {button.left, button.top};
    ClientToScreen(hwnd, &anchor);
    // A popup menu only closes on an outside click when its owner is in front.
    SetForegroundWindow(hwnd);
    UINT command = TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_BOTTOMALIGN | TPM_RETURNCMD, anchor.x,
                                  anchor.y, 0, hwnd, nullptr);
    PostMessageW(hwnd, WM_NULL, 0, 0);
    if (command)
        PostMessageW(bar.owner, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

void OnButtonDown(HWND hwnd, const MenuBar &bar, LPARAM lParam) {
    POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    for (int i = 0; i < bar.buttonCount; ++i) {
        RECT button = ButtonRect(hwnd, bar, i);
        if (PtInRect(&button, pt)) {
            OpenPopup(hwnd, bar, i);
            return;
        }
    }
}

LRESULT CALLBACK MenuBarWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    MenuBar *bar = BarOf(hwnd);
    switch (msg) {
    case WM_NCCREATE:
        if (!bar && !SentFromElsewhere())
            SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(
                                  reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams));
        break;
    case WM_PAINT:
        if (bar) {
            OnPaint(hwnd, *bar);
            return 0;
        }
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
        if (bar)
            OnButtonDown(hwnd, *bar, lParam);
        return 0;
    case WM_NCDESTROY:
        if (bar && !SentFromElsewhere()) {
            RemoveSubclass(bar->owner, OwnerSubclassProc);
            delete bar;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        }
        break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// Follows the owner's visibility: the bar belongs to the owner's page.
LRESULT CALLBACK OwnerSubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_WINDOWPOSCHANGED) {
        auto *pos = reinterpret_cast<WINDOWPOS *>(lParam);
        if (HWND bar = reinterpret_cast<HWND>(SubclassData(hwnd, OwnerSubclassProc))) {
            if (pos->flags & SWP_SHOWWINDOW)
                ShowWindow(bar, SW_SHOWNA);
            else if (pos->flags & SWP_HIDEWINDOW)
                ShowWindow(bar, SW_HIDE);
        }
    }
    return CallReplacedProc(hwnd, OwnerSubclassProc, msg, wParam, lParam);
}

bool ReadDefinition(HINSTANCE instance, UINT id, MenuBar *bar, UINT *menuId) {
    HRSRC res = FindResourceW(instance, MAKEINTRESOURCEW(id), RT_RCDATA);
    if (!res)
        return false;
    DWORD size = SizeofResource(instance, res);
    HGLOBAL loaded = LoadResource(instance, res);
    const WORD *words = loaded ? static_cast<const WORD *>(LockResource(loaded)) : nullptr;
    if (!words || size < 2 * sizeof(WORD))
        return false;
    DWORD wordCount = size / sizeof(WORD);
    *menuId = words[0];
    int count = words[1];
    if (count < 1 || count > kMaxButtons || wordCount < 2u + 7u * count)
        return false;
    bar->buttonCount = count;
    for (int i = 0; i < count; ++i) {
        const WORD *b = words + 2 + 7 * i; // image, command, state, style, string, 0, popup
        bar->buttons[i].popupIndex = b[6];
        LoadStringOrEmpty(instance, b[4], bar->buttons[i].caption);
    }
    return true;
}

void RegisterMenuBarClass(HINSTANCE instance) {
    WNDCLASSW wc = {};
    if (GetClassInfoW(instance, kSoftKeyBarClass, &wc))
        return;
    wc.lpfnWndProc = MenuBarWndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = kSoftKeyBarClass;
    RegisterClassW(&wc);
}

} // namespace

HWND SoftKeyBarOf(HWND owner) {
    return reinterpret_cast<HWND>(SubclassData(owner, OwnerSubclassProc));
}

BOOL SHCreateMenuBar(SHMENUBARINFO *info) {
    if (!info || info->cbSize < sizeof(SHMENUBARINFO) || !IsWindow(info->hwndParent))
        return FALSE;
    std::unique_ptr<MenuBar> bar(new (std::nothrow) MenuBar{});
    if (!bar)
        return FALSE;
    UINT menuId = 0;
    if (!ReadDefinition(info->hInstRes, info->nToolBarId, bar.get(), &menuId) ||
        !(bar->menu = LoadMenuW(info->hInstRes, MAKEINTRESOURCEW(menuId))))
        return FALSE;
    bar->owner = info->hwndParent;

    RECT rc = SoftKeyBarRect();
    bar->font = CreateShellBarFont(rc.bottom - rc.top);

    RegisterMenuBarClass(info->hInstRes);
    DWORD style = WS_POPUP | (IsWindowVisible(info->hwndParent) ? WS_VISIBLE : 0);
    HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, kSoftKeyBarClass, L"", style, rc.left, rc.top,
                                rc.right - rc.left, rc.bottom - rc.top, info->hwndParent, nullptr,
                                info->hInstRes, bar.get());
    if (!hwnd)
        return FALSE;
    // The window has it now, and deletes it at its end.
    bar.release();
    SubclassWindow(info->hwndParent, OwnerSubclassProc, reinterpret_cast<LONG_PTR>(hwnd));
    info->hwndMB = hwnd;
    return TRUE;
}

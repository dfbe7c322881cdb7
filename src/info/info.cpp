#include "info/info.h"

#include "state/state.h"
#include "base/gdi.h"
#include "base/strings.h"
#include "res/resource.h"

namespace {

constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr UINT kLineFormat = DT_SINGLELINE | DT_VCENTER;

} // namespace

int InfoRowTop(const RECT &rc, int row) {
    return rc.top + Res(50, 30) + row * Res(85, 50);
}

RECT MemoryBarOutline(int left, int top, int right) {
    int a = Res(35, 30), b = Res(40, 25);
    return RECT{left + 10, top + a, right - 10, top + a + b};
}

// The estimate is worked in 64 bits: a large configured lifetime must not
// wrap to a negative time. A negative platform figure is no figure, and a
// negative configured lifetime estimates nothing left. %I64d, not %lld: the
// device's _vsnwprintf knows only the former, and the text is the same on both.
void FormatTimeLine(WCHAR *text, size_t size) {
    WCHAR heading[100], estimated[100];
    LoadStringOrEmpty(g_instance, IDS_TIME_REMAINING, heading);
    LoadStringOrEmpty(g_instance, IDS_ESTIMATED, estimated);
    if (g_batteryLifeTime >= 0) {
        int s = g_batteryLifeTime;
        StringCchPrintfW(text, size, L"%s: %d:%02d", heading, s / 3600, (s / 60) % 60);
        return;
    }
    long long minutes = static_cast<long long>(g_batteryPercent) * g_lifeTime / 100;
    if (minutes < 0)
        minutes = 0;
    StringCchPrintfW(text, size, L"%s: %I64d:%02I64d (%s)", heading, minutes / 60, minutes % 60,
                     estimated);
}

void FormatMegabytes(WCHAR *text, size_t size, ULONGLONG kilobytes, bool free) {
    double megabytes = static_cast<double>(kilobytes) * (1.0 / 1024.0);
    StringCchPrintfW(text, size, free ? L"%.01fMb free" : L"%.01fMb", megabytes);
}

// An entry with no size has nothing used; a free figure above the total
// (a volume that changed between queries) shows nothing used either.
int UsedWidth(int innerWidth, ULONGLONG totalKB, ULONGLONG freeKB) {
    if (totalKB == 0 || freeKB >= totalKB || innerWidth <= 0)
        return 0;
    ULONGLONG used = totalKB - freeKB;
    // Keep width x used inside 64 bits; the share loses nothing visible.
    while (used > ~0ull / static_cast<ULONGLONG>(innerWidth)) {
        used >>= 1;
        totalKB >>= 1;
    }
    return static_cast<int>(static_cast<ULONGLONG>(innerWidth) * used / totalKB);
}

void DrawMemoryBar(HDC dc, int left, int top, int right, const WCHAR *name, ULONGLONG totalKB,
                   ULONGLONG freeKB) {
    SetTextColor(dc, kBlack);
    RECT nameRect = {left + 10, top + 5, right, top + 35};
    DrawTextW(dc, name, -1, &nameRect, kLineFormat);

    RECT outline = MemoryBarOutline(left, top, right);
    FillRect(dc, &outline, g_blackBrush);
    RECT trough = outline;
    InflateRect(&trough, -1, -1);
    FillRect(dc, &trough, g_grayBrush);
    RECT inner = outline;
    InflateRect(&inner, -2, -2);
    RECT used = inner;
    used.right = inner.left + UsedWidth(inner.right - inner.left, totalKB, freeKB);
    if (used.right > used.left)
        FillRect(dc, &used, g_barBrush);

    SetBkMode(dc, TRANSPARENT);
    SelectGdi font(dc, g_infoFont);
    RECT figures = inner;
    InflateRect(&figures, -5, 0);
    WCHAR text[64];
    FormatMegabytes(text, ARRAYSIZE(text), totalKB, false);
    SetTextColor(dc, kBlack);
    DrawTextW(dc, text, -1, &figures, kLineFormat | DT_RIGHT);
    FormatMegabytes(text, ARRAYSIZE(text), freeKB, true);
    SetTextColor(dc, kWhite);
    DrawTextW(dc, text, -1, &figures, kLineFormat);
}

void DrawInfoPage(HDC dc, const RECT &rc, const StorageTable &storage) {
    FillRect(dc, &rc, g_whiteBrush);
    SetTextColor(dc, kBlack);
    WCHAR line[256];
    FormatTimeLine(line, ARRAYSIZE(line));
    RECT lineRect = {rc.left + 10, rc.top + 10, rc.right - 10, rc.top + 40};
    DrawTextW(dc, line, -1, &lineRect, kLineFormat);

    for (int i = 0; i < storage.count && i < kStorageSlots; ++i) {
        if (storage.freeKB[i] == ~0ull)
            continue;
        DrawMemoryBar(dc, rc.left, InfoRowTop(rc, i), rc.right, storage.names[i],
                      storage.totalKB[i], storage.freeKB[i]);
    }
}

void PaintInfoPage(HWND hwnd) {
    PaintOffscreen(hwnd, [](HDC dc, const RECT &rc) { DrawInfoPage(dc, rc, ProgramStorage()); });
}

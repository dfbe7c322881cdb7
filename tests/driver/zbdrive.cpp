// zbdrive: the running ZemloBattery driven from outside, as a user does, for
// the scripts (make run). Each command acts on the live windows and waits
// until its effect shows; they run in the order given:
//   reset              deletes the program's settings
//   set NAME VALUE     stores a setting (a REG_DWORD of the settings key)
//   launch             starts the program and waits for its gauge; it keeps running
//   launch-in DIR      the same, started in the folder DIR (a Windows path)
//   info               taps the gauge: the info page
//   tap                taps the gauge, prints how soon the page answered with
//                      its bars ("answered MS"), and hides the page again
//   setup              "Tools" > "Setup" on the info page's soft-key bar
//   chooser NAME       taps the swatch of the colour element NAME in Setup
//   escape             the Escape key: closes the colour chooser
//   ok                 taps the taskbar's "ok": ends Setup
//   turn               turns the screen (with --screen-tool=); fails when it did not
//   settle             waits until the screen shows the same picture twice,
//                      100 ms apart: what the last step drew has reached it
//   where              prints the screen's size and where the windows are
//   styles             prints each background style's stored number and name
//   messages N         sends N quiet poll ticks, N gauge paints and (the page
//                      shown) N page paints, each timed until handled; prints
//                      "WHAT MEDIAN P10 P90" in µs a line
//   quit               "Quit" from the program's menu; waits for it to end
// Options: --program=PATH --desktop=NAME --screen-tool=PATH.
// Exit code 0 when every command did what it says.
#include "driver.h"

#include "gauge/gauge.h"
#include "res/resource.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

void PrintRect(const char *name, HWND hwnd) {
    if (!hwnd || !IsWindowVisible(hwnd))
        return;
    RECT r = ScreenRect(hwnd);
    std::printf("%s %ld %ld %ld %ld\n", name, r.left, r.top, r.right, r.bottom);
}

void Where() {
    std::printf("screen %d %d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    PrintRect("taskbar", FindWindowW(kShellTaskbarClass, nullptr));
    PrintRect("gauge", FindGauge());
    PrintRect("info", FindMainWindow());
    PrintRect("softkeys", FindWindowW(kSoftKeyBarClass, nullptr));
    PrintRect("setup", FindWindowW(L"#32770", L"Setup"));
    PrintRect("chooser", FindWindowW(L"#32770", L"Color"));
}

// The styles by stored number, with their names.
bool Styles() {
    for (int style = 0; style < kGaugeStyleCount; ++style)
        std::printf("%d %ls\n", style, kGaugeStyles[style].name);
    return true;
}

bool Turn() {
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    HWND taskbar = FindWindowW(kShellTaskbarClass, nullptr);
    return TurnScreen() && WAIT_UNTIL(GetSystemMetrics(SM_CXSCREEN) == height, 3000) &&
           GetSystemMetrics(SM_CYSCREEN) == width &&
           WAIT_UNTIL(ScreenRect(taskbar).right == height, 3000);
}

bool Launch(const wchar_t *currentDir = nullptr) {
    Program program;
    if (!program.Launch(currentDir))
        return false;
    program.Detach();
    return true;
}

double NowMs() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool ScreenSettled() {
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    auto picture = [&] {
        ScreenCapture capture(screen);
        std::vector<COLORREF> pixels;
        pixels.reserve(static_cast<size_t>(screen.right) * screen.bottom);
        for (int y = 0; y < screen.bottom; ++y)
            for (int x = 0; x < screen.right; ++x)
                pixels.push_back(capture.at(x, y));
        return pixels;
    };
    std::vector<COLORREF> last = picture();
    return WaitFor(
        [&] {
            Sleep(100);
            std::vector<COLORREF> now = picture();
            bool same = now == last;
            last = std::move(now);
            return same;
        },
        5000, "the screen to show the same picture twice");
}

// Timed from the press, which the tap's last input puts in the queue; polled
// every millisecond, not every 50: the figure is of that order.
bool TimedTap() {
    HWND gauge = FindGauge(), page = FindMainWindow();
    if (!gauge || !page || IsWindowVisible(page))
        return false;
    ClickControl(gauge);
    double start = NowMs(), limit = DeadlineMs(10000);
    // Where the bar's outline lies is found once the page shows, not at each
    // look: the loop is what is timed.
    POINT outline = {};
    bool located = false;
    while (!located || !OutlineDrawnAt(outline)) {
        if (!located && IsWindowVisible(page)) {
            outline = InfoRowOutline(page, 0);
            located = true;
            continue;
        }
        if (NowMs() - start > limit) {
            std::fprintf(stderr, "zbdrive: waited %.0f ms for the page's bars\n", limit);
            return false;
        }
        Sleep(1);
    }
    std::printf("answered %.1f\n", NowMs() - start);
    ClickControl(FindWindowExW(page, nullptr, L"Button", nullptr));
    return PageShown(page, false);
}

// The median, 10th and 90th percentile of send(), each run timed, in µs.
template <typename Send> void PrintRoundTrips(const char *what, int count, Send send) {
    std::vector<double> us;
    for (int i = 0; i < count; ++i) {
        double start = NowMs();
        send();
        us.push_back((NowMs() - start) * 1000);
    }
    std::sort(us.begin(), us.end());
    auto at = [&](int percent) { return us[(us.size() - 1) * percent / 100]; };
    std::printf("%s %.1f %.1f %.1f\n", what, at(50), at(10), at(90));
}

// Messages sent to the running program, each timed until it has been handled:
// quiet poll ticks, gauge paints, and with the page shown, page paints.
bool Messages(int count) {
    HWND gauge = FindGauge(), page = FindMainWindow();
    if (!gauge || !page || count < 1)
        return false;
    PrintRoundTrips("tick", count, [&] { SendMessageW(page, WM_TIMER, 1, 0); });
    auto paint = [](HWND hwnd) {
        InvalidateRect(hwnd, nullptr, TRUE);
        SendMessageW(hwnd, WM_PAINT, 0, 0);
    };
    PrintRoundTrips("gauge-paint", count, [&] { paint(gauge); });
    if (!OpenInfoPage(gauge, page))
        return false;
    PrintRoundTrips("page-paint", count, [&] { paint(page); });
    ClickControl(FindWindowExW(page, nullptr, L"Button", nullptr));
    return PageShown(page, false);
}

// Quit from the program's menu, as a user ends it; waits for its windows to go.
bool Quit() {
    HWND page = FindMainWindow();
    return page && PostMessageW(page, WM_COMMAND, IDM_QUIT, 0) &&
           WAIT_UNTIL(!IsWindow(page), 10000);
}

// Runs the command at args[*i], taking its operands; false when it failed.
bool Run(char **args, int count, int *i) {
    const char *command = args[*i];
    auto operand = [&]() -> const char * { return *i + 1 < count ? args[++*i] : ""; };
    auto wide = [](const char *text) {
        std::wstring w;
        for (; *text; ++text)
            w += static_cast<wchar_t>(*text);
        return w;
    };
    if (std::strcmp(command, "reset") == 0) {
        DeleteProgramSettings();
        return true;
    }
    if (std::strcmp(command, "set") == 0) {
        std::wstring name = wide(operand());
        WriteProgramSetting(name.c_str(), static_cast<DWORD>(std::strtoul(operand(), nullptr, 0)));
        return true;
    }
    if (std::strcmp(command, "launch") == 0)
        return Launch();
    if (std::strcmp(command, "launch-in") == 0) {
        std::wstring dir = wide(operand());
        return Launch(dir.c_str());
    }
    if (std::strcmp(command, "tap") == 0)
        return TimedTap();
    if (std::strcmp(command, "info") == 0)
        return OpenInfoPage(FindGauge(), FindMainWindow());
    if (std::strcmp(command, "setup") == 0)
        return OpenSetup() != nullptr;
    if (std::strcmp(command, "chooser") == 0) {
        std::wstring element = wide(operand());
        HWND setup = FindWindowW(L"#32770", L"Setup");
        return setup && OpenChooser(setup, element.c_str()) != nullptr;
    }
    if (std::strcmp(command, "escape") == 0) {
        PressKey(VK_ESCAPE);
        return ChooserGone();
    }
    if (std::strcmp(command, "ok") == 0) {
        HWND setup = FindWindowW(L"#32770", L"Setup");
        return TapTaskbarOk() && WAIT_UNTIL(!IsWindow(setup), 5000);
    }
    if (std::strcmp(command, "turn") == 0)
        return Turn();
    if (std::strcmp(command, "settle") == 0)
        return ScreenSettled();
    if (std::strcmp(command, "where") == 0) {
        Where();
        return true;
    }
    if (std::strcmp(command, "styles") == 0)
        return Styles();
    if (std::strcmp(command, "messages") == 0)
        return Messages(std::atoi(operand()));
    if (std::strcmp(command, "quit") == 0)
        return Quit();
    std::fprintf(stderr, "zbdrive: no such command: %s\n", command);
    return false;
}

} // namespace

int main(int argc, char **argv) {
    std::vector<char *> commands;
    for (int i = 1; i < argc; ++i)
        if (!TakeProgramOption(argv[i]))
            commands.push_back(argv[i]);
    if (commands.empty()) {
        std::fprintf(stderr, "usage: zbdrive [--program=PATH] [--desktop=NAME] "
                             "[--screen-tool=PATH] COMMAND...\n");
        return 2;
    }
    if (!g_desktopName.empty() && !UseDesktop(g_desktopName)) {
        std::fprintf(stderr, "zbdrive: cannot use desktop %ls\n", g_desktopName.c_str());
        return 2;
    }
    int count = static_cast<int>(commands.size());
    for (int i = 0; i < count; ++i) {
        const char *command = commands[i];
        if (!Run(commands.data(), count, &i)) {
            std::fprintf(stderr, "zbdrive: %s did not succeed\n", command);
            return 1;
        }
        std::fflush(stdout);
    }
    return 0;
}

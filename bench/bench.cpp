// `make bench`: what the gauge costs. Each figure is the median of many
// repetitions with its spread, printed next to a floor measured in the same
// rounds (the least the platform needs for the same visible effect) and the
// ratio of the two medians.
// Prints Markdown tables; scripts/bench.sh adds the idle figures.
#include "harness.h"

#include <psapi.h>

#include "app/mainwnd.h"
#include "app/startup.h"
#include "gauge/gauge.h"
#include "info/info.h"
#include "monitor/monitor.h"
#include "pocketpc_emulation/screens.h"
#include "pocketpc_emulation/seams.h"
#include "settings/colors.h"
#include "settings/registry.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

// Times of many single runs, in microseconds. Under load single calls are
// bimodal, so a figure is reported with its spread, not only its median.
struct Times {
    std::vector<double> us;
    double At(double share) {
        std::sort(us.begin(), us.end());
        return us[static_cast<size_t>(share * static_cast<double>(us.size() - 1))];
    }
};

// Runs body and its floor in turn, round by round, so that both see the same
// load; prepare and prepareFloor (untimed) run before each.
std::pair<Times, Times> Compare(int reps, const std::function<void()> &body,
                                const std::function<void()> &floor,
                                const std::function<void()> &prepare = nullptr,
                                const std::function<void()> &prepareFloor = nullptr) {
    Times a, b;
    auto run = [](Times &t, const std::function<void()> &f, const std::function<void()> &before) {
        if (before)
            before();
        double start = Now();
        f();
        t.us.push_back(Now() - start);
    };
    // At least one round: a small --reps= divides down to none for some rows.
    for (int i = 0; i < std::max(reps, 1); ++i) {
        run(a, body, prepare);
        run(b, floor, prepareFloor);
    }
    return {a, b};
}

void PumpAll() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

std::string Spread(Times &t) {
    char text[80];
    std::snprintf(text, sizeof(text), "%.1f µs (%.1f–%.1f)", t.At(0.5), t.At(0.1), t.At(0.9));
    return text;
}

// With difference, the ratio comes with the difference of the medians, for
// figures whose floor is most of them (a process start under Wine).
void Row(const char *what, std::pair<Times, Times> times, const char *floorName,
         bool difference = false) {
    auto &[body, floor] = times;
    char ratio[64];
    int n = std::snprintf(ratio, sizeof(ratio), "%.1f×", body.At(0.5) / floor.At(0.5));
    if (difference)
        std::snprintf(ratio + n, sizeof(ratio) - n, " (%+.0f ms)",
                      (body.At(0.5) - floor.At(0.5)) / 1000);
    std::printf("| %s | %s | %s | %s | %s |\n", what, Spread(body).c_str(), floorName,
                Spread(floor).c_str(), ratio);
}

void TableHeader() {
    std::printf("| What | Median (10th–90th percentile) | Floor | Floor median (10th–90th) | "
                "Ratio |\n");
    std::printf("|---|---|---|---|---|\n");
}

// A window whose paint is the floor: one BitBlt of a prepared bitmap of its
// size, between BeginPaint and EndPaint.
LRESULT CALLBACK FloorWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        auto *source = reinterpret_cast<Dib *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        RECT rc;
        GetClientRect(hwnd, &rc);
        BitBlt(dc, 0, 0, rc.right, rc.bottom, source->dc(), 0, 0, SRCCOPY);
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND CreateFloorWindow(HWND parent, int x, int y, int width, int height, Dib *source) {
    DWORD style = parent ? WS_CHILD | WS_VISIBLE : WS_POPUP | WS_VISIBLE;
    HWND hwnd = CreateTestWindow(L"ZbBenchFloor", FloorWndProc, style, x, y, width, height, parent);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(source));
    return hwnd;
}

void Repaint(HWND hwnd) {
    InvalidateRect(hwnd, nullptr, TRUE);
    UpdateWindow(hwnd);
}

std::pair<Times, Times> ComparePaints(int reps, HWND hwnd, HWND floor) {
    return Compare(
        reps, [hwnd] { Repaint(hwnd); }, [floor] { Repaint(floor); });
}

// The screens measured: those the whole end-to-end suite runs on, the first
// one the default. Each has the shell's taskbar of its density.
std::vector<PocketPcScreen> MeasuredScreens() {
    std::vector<PocketPcScreen> screens;
    for (const PocketPcScreen &s : kPocketPcScreens)
        if (s.allSuites)
            screens.push_back(s);
    return screens;
}
int BarHeight(const PocketPcScreen &s) {
    return ShellTaskbarHeight(s.dpi);
}

// The program's gauge in the stand-in taskbar of a screen, with defaults.
std::unique_ptr<TestTaskbar> GaugeOnTaskbar(const PocketPcScreen &s) {
    ResetProgramState();
    auto taskbar = std::make_unique<TestTaskbar>(s.width, BarHeight(s));
    StartUpStages(FromRegistry::kNo);
    g_batteryPercent = 57;
    PumpAll();
    return taskbar;
}

void BenchGaugePaint(int reps) {
    for (const PocketPcScreen &s : MeasuredScreens()) {
        auto taskbar = GaugeOnTaskbar(s);
        Dib source(GaugeWidth(), GaugeHeight());
        HWND floor = CreateFloorWindow(taskbar->hwnd(), s.width * 5 / 8, GaugeTop(), GaugeWidth(),
                                       GaugeHeight(), &source);
        for (int style = 0; style < kGaugeStyleCount; ++style) {
            g_style = style;
            ComparePaints(5, g_gauge, floor); // the first paints fill the caches
            char what[64];
            std::snprintf(what, sizeof(what), "Gauge paint, %ls, %s", kGaugeStyles[style].name,
                          s.name);
            Row(what, ComparePaints(reps, g_gauge, floor), "one BitBlt of the gauge's size");
        }
        DestroyWindow(floor);
    }
}

void PowerQueriesAndWidth() {
    SYSTEM_POWER_STATUS_EX status;
    SYSTEM_POWER_STATUS_EX2 status2;
    RECT rc;
    GetSystemPowerStatusEx(&status, TRUE);
    GetSystemPowerStatusEx2(&status2, sizeof(status2), TRUE);
    GetClientRect(g_taskbar, &rc);
}

void BenchPoll(int reps) {
    auto taskbar = GaugeOnTaskbar(MeasuredScreens().front());
    PollStatus(nullptr);
    ValidateGauge();
    // The host's own power status, as the running program reads it.
    Row("Poll tick, nothing new (host's power status)",
        Compare(
            reps, [] { PollStatus(nullptr); }, PowerQueriesAndWidth),
        "two power queries and GetClientRect");

    // A fake battery, so that a reading can change from tick to tick.
    FakePower power(50, 0, 3600);
    PollStatus(nullptr);
    ValidateGauge();
    Row("Poll tick, nothing new (fake battery)",
        Compare(
            reps, [] { PollStatus(nullptr); }, PowerQueriesAndWidth),
        "the same queries on the fake battery");

    // A change invalidates the gauge; its floor invalidates a window too, and
    // with the repaint that follows, paints it with one BitBlt.
    Dib source(GaugeWidth(), GaugeHeight());
    HWND floor = CreateFloorWindow(taskbar->hwnd(), MeasuredScreens().front().width * 5 / 8,
                                   GaugeTop(), GaugeWidth(), GaugeHeight(), &source);
    int tick = 0;
    auto change = [&] {
        ValidateGauge();
        power.Set(50 + (++tick % 2), 0, 3600);
    };
    auto validateFloor = [floor] { ValidateRect(floor, nullptr); };
    auto queriesAndInvalidate = [floor] {
        PowerQueriesAndWidth();
        InvalidateRect(floor, nullptr, TRUE);
    };
    Row("Poll tick, percentage changed (fake battery)",
        Compare(
            reps, [] { PollStatus(nullptr); }, queriesAndInvalidate, change, validateFloor),
        "the same queries and an invalidation");
    char what[80];
    std::snprintf(what, sizeof(what),
                  "Poll tick, percentage changed, and the %ls repaint it causes",
                  kGaugeStyles[g_style].name); // the style a first start stores
    Row(what,
        Compare(
            reps / 5,
            [] {
                PollStatus(nullptr);
                UpdateWindow(g_gauge);
            },
            [&] {
                queriesAndInvalidate();
                UpdateWindow(floor);
            },
            change, validateFloor),
        "the same queries, an invalidation and one BitBlt");
    DestroyWindow(floor);
}

void StorageQueries() {
    ULARGE_INTEGER total, free;
    GetDiskFreeSpaceExW(nullptr, nullptr, &total, &free);
    MEMORYSTATUS memory = {};
    memory.dwLength = sizeof(memory);
    GlobalMemoryStatus(&memory);
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW(L"\\*", &entry);
    if (find != INVALID_HANDLE_VALUE) {
        while (FindNextFileW(find, &entry)) {
        }
        FindClose(find);
    }
    GetDiskFreeSpaceExW(L"\\Storage Card", nullptr, &total, &free);
}

LRESULT CALLBACK InfoWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        PaintInfoPage(hwnd);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void BenchStorageAndInfo(int reps) {
    ResetProgramState();
    ResetStorageTable();
    if (!g_infoFont)
        StartInfoFont();
    // The page fills the screen between the taskbar and the soft-key bar.
    auto pageRect = [](const PocketPcScreen &s) {
        return RECT{0, BarHeight(s), s.width, s.height - BarHeight(s)};
    };
    RECT first = pageRect(MeasuredScreens().front());
    HWND page = CreateTestWindow(L"ZbBenchInfo", InfoWndProc, WS_POPUP | WS_VISIBLE, first.left,
                                 first.top, first.right - first.left, first.bottom - first.top);
    ScanStorage(page);
    Row("Storage scan, device memory and one card",
        Compare(
            reps, [page] { ScanStorage(page); }, StorageQueries),
        "the same platform queries alone");

    for (const PocketPcScreen &s : MeasuredScreens()) {
        // The program's resolution mode, as it settles it from its taskbar.
        TestTaskbar taskbar(s.width, BarHeight(s));
        g_hiRes = 1;
        DiscoverTaskbar();
        RECT r = pageRect(s);
        int width = r.right - r.left, height = r.bottom - r.top;
        SetWindowPos(page, nullptr, r.left, r.top, width, height, SWP_NOZORDER);
        Dib source(width, height);
        // In the page's place: each is brought to the top before it paints.
        HWND floor = CreateFloorWindow(nullptr, r.left, r.top, width, height, &source);
        auto raise = [](HWND hwnd) {
            return [hwnd] {
                SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            };
        };
        char what[64];
        std::snprintf(what, sizeof(what), "Info page paint, %s", s.name);
        Row(what,
            Compare(
                reps, [page] { Repaint(page); }, [floor] { Repaint(floor); }, raise(page),
                raise(floor)),
            "one BitBlt of the page's size");
        DestroyWindow(floor);
    }
    DestroyWindow(page);
    g_hiRes = 1;
    g_taskbar = nullptr;
}

// A figure that cannot be measured stops the bench, naming it: a -1 or a
// zero in its place would read as a measurement.
[[noreturn]] void Unmeasured(const char *what) {
    std::fprintf(stderr, "make bench: stopped: %s\n", what);
    std::exit(1);
}

// Reading another process's module list can fail while its loader changes
// it (a partial copy): read again until the deadline.
int ModuleCount(HANDLE process) {
    HMODULE modules[512];
    DWORD bytes = 0;
    for (DWORD start = GetTickCount();
         !EnumProcessModules(process, modules, sizeof(modules), &bytes); Sleep(10))
        if (GetTickCount() - start > DeadlineMs(2000))
            Unmeasured("the DLLs of a started program could not be counted");
    return static_cast<int>(bytes / sizeof(HMODULE));
}

// The gauge's frame in the default colours: white, or red on external power
// (a host without a battery reports that).
bool IsFrame(COLORREF pixel) {
    return pixel == 0xFFFFFF || pixel == 0x0000FF;
}

// The gauge's box with the default settings on this screen, at its density,
// as the program places it: in the taskbar's client area, which starts at the
// screen's top left.
RECT DefaultGaugeBox() {
    ResetProgramState();
    TestTaskbar taskbar(GetSystemMetrics(SM_CXSCREEN), ShellTaskbarHeight());
    StartUpStages(FromRegistry::kNo);
    POINT at = PlaceGauge(TaskbarClientRect(), g_align, DefaultPosition());
    return RECT{at.x, at.y, at.x + GaugeWidth(), at.y + GaugeHeight()};
}

// The facts the floors of scripts/bench.sh copy: the gauge's box on this
// screen and the poll's period, "left top width height period".
void PrintFacts() {
    RECT box = DefaultGaugeBox();
    std::printf("%ld %ld %ld %ld %u\n", box.left, box.top, box.right - box.left,
                box.bottom - box.top, kPollPeriodMs);
}

// From CreateProcess to the first picture on the screen, seen by polling the
// screen on the outline's top row inside the gauge's box: white in the
// default colours, or red on external power (a host without a battery
// reports that). Also counts the DLLs the process has loaded by then.
double StartToPicture(const std::wstring &path, const std::wstring &arguments, const RECT &box,
                      const std::function<void()> &stop, int *dlls) {
    HDC screen = GetDC(nullptr);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    std::wstring cmd = L"\"" + path + L"\" " + arguments;
    const POINT frame = {box.left + 3, box.top + 1};
    double start = Now();
    if (!CreateProcessW(path.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        Unmeasured("a program for the start-up figure could not be started");
    double shown = -1;
    while (Now() - start < DeadlineMs(20000) * 1e3) {
        if (IsFrame(GetPixel(screen, frame.x, frame.y))) {
            shown = Now() - start;
            *dlls = ModuleCount(pi.hProcess);
            break;
        }
        Sleep(1);
    }
    if (shown < 0) {
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        std::fprintf(stderr, "no first paint seen (process state %lu, pixel %06lx)\n", code,
                     GetPixel(screen, frame.x, frame.y));
        Unmeasured("a start-up to its first paint");
    }
    stop();
    WaitForSingleObject(pi.hProcess, DeadlineMs(10000));
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    // The next start is seen only once the desktop has repainted where the
    // windows were.
    for (double gone = Now(); IsFrame(GetPixel(screen, frame.x, frame.y)); Sleep(10))
        if (Now() - gone > DeadlineMs(5000) * 1e3)
            Unmeasured("the desktop did not repaint after a start-up's program ended");
    ReleaseDC(nullptr, screen);
    return shown;
}

// "Quit" from the running program's menu, as a user ends it.
void QuitProgram() {
    if (HWND main = FindWindowW(L"ZemloBattery", L"ZemloBattery"))
        PostMessageW(main, WM_COMMAND, IDM_QUIT, 0);
}

void BenchStartUp(const std::wstring &program, const std::wstring &minimal, int runs) {
    Times programTimes, minimalTimes;
    int programDlls = 0, minimalDlls = 0;
    // The minimal program paints a window of the gauge's box.
    RECT box = DefaultGaugeBox();
    std::wstring boxArguments = std::to_wstring(box.left) + L" " + std::to_wstring(box.top) + L" " +
                                std::to_wstring(box.right - box.left) + L" " +
                                std::to_wstring(box.bottom - box.top);
    for (int i = 0; i < runs; ++i) {
        programTimes.us.push_back(StartToPicture(program, L"", box, QuitProgram, &programDlls));
        minimalTimes.us.push_back(StartToPicture(
            minimal, boxArguments, box,
            [] {
                if (HWND w = FindWindowW(L"ZbMinimal", nullptr))
                    PostMessageW(w, WM_CLOSE, 0, 0);
            },
            &minimalDlls));
    }
    Row("Start-up to the first gauge paint", {programTimes, minimalTimes},
        "a minimal program to its first paint", true);
    std::printf("\n| At the first paint | ZemloBattery | Minimal program |\n|---|---|---|\n");
    std::printf("| DLLs loaded | %d | %d |\n", programDlls, minimalDlls);
}

// The device program in the runner against the desktop program, started in
// turn.
void BenchDeviceStartUp(const std::wstring &program, const std::wstring &runner, int runs) {
    Times programTimes, runnerTimes;
    int dlls = 0;
    RECT box = DefaultGaugeBox();
    for (int i = 0; i < runs; ++i) {
        runnerTimes.us.push_back(StartToPicture(runner, L"", box, QuitProgram, &dlls));
        programTimes.us.push_back(StartToPicture(program, L"", box, QuitProgram, &dlls));
    }
    Row("Start-up to the first gauge paint", {runnerTimes, programTimes}, "the desktop program",
        true);
}

} // namespace

int main(int argc, char **argv) {
    std::wstring program, minimal, runner;
    int reps = 2000;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--program=", 10) == 0)
            program = WindowsPath(argv[i] + 10);
        else if (std::strncmp(argv[i], "--minimal=", 10) == 0)
            minimal = WindowsPath(argv[i] + 10);
        else if (std::strncmp(argv[i], "--reps=", 7) == 0)
            reps = std::atoi(argv[i] + 7);
        else if (std::strncmp(argv[i], "--runner=", 9) == 0)
            runner = WindowsPath(argv[i] + 9);
    }
    g_instance = GetModuleHandleW(nullptr);
    if (argc == 2 && std::strcmp(argv[1], "--facts") == 0) {
        PrintFacts();
        return 0;
    }
    TableHeader();
    if (!runner.empty()) {
        BenchDeviceStartUp(program, runner, 9);
        return 0;
    }
    BenchGaugePaint(reps);
    BenchPoll(reps * 5);
    BenchStorageAndInfo(reps / 4);
    if (!program.empty() && !minimal.empty())
        BenchStartUp(program, minimal, 9);
    return 0;
}

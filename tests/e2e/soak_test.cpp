// `make soak`: the real program for minutes while a fake battery charges and
// discharges, external power comes and goes, the taskbar changes width and
// the gauge is tapped now and then. Seen from outside: it keeps running and
// painting, keeps one gauge and its own windows, and its memory stays flat.
// (GDI objects and handles of another process cannot be read under Wine; the
// in-process soak test counts those.) Skipped unless ZB_SOAK_SECONDS is set.
#include <gtest/gtest.h>

#include "program.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <strsafe.h>

namespace {

// A tag for the program this test starts, given as an argument that the
// program ignores: the host shows it in the process's command line, where no
// other session's program of the same name has it.
std::wstring LaunchTag() {
    wchar_t tag[64];
    StringCchPrintfW(tag, ARRAYSIZE(tag), L"zb-soak-%lu-%llu", GetCurrentProcessId(),
                     GetTickCount64());
    return tag;
}

// The whole of a small host file, such as a process's command line.
std::string ReadHostFile(const std::wstring &path) {
    std::string text;
    FILE *f = _wfopen(path.c_str(), L"rb");
    if (!f)
        return text;
    char chunk[4096];
    for (size_t n; (n = std::fread(chunk, 1, sizeof(chunk), f)) > 0;)
        text.append(chunk, n);
    std::fclose(f);
    return text;
}

// The host's process that runs the program this test started, found through
// /proc by its name and the tag in its command line (arguments end with a NUL).
std::wstring HostStatusPath(const std::wstring &tag) {
    std::string wanted(tag.begin(), tag.end());
    wanted += '\0';
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW(L"Z:\\proc\\*", &entry);
    if (find == INVALID_HANDLE_VALUE)
        return L"";
    std::wstring found;
    do {
        if (entry.cFileName[0] < L'0' || entry.cFileName[0] > L'9')
            continue;
        std::wstring dir = std::wstring(L"Z:\\proc\\") + entry.cFileName;
        if (ReadHostFile(dir + L"\\comm").rfind("ZemloBattery", 0) != 0)
            continue;
        if (ReadHostFile(dir + L"\\cmdline").find(wanted) != std::string::npos) {
            found = dir + L"\\status";
            break;
        }
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return found;
}

TEST(SoakOutside, RealProgramForMinutes) {
    const char *env = std::getenv("ZB_SOAK_SECONDS");
    if (!env || !*env)
        GTEST_SKIP() << "set ZB_SOAK_SECONDS (make soak)";
    if (!HaveFakeBattery())
        GTEST_SKIP() << "no fake battery";
    int seconds = std::atoi(env);
    DeleteProgramSettings();
    SetFakeBattery(50, false);
    Program program;
    std::wstring tag = LaunchTag();
    ASSERT_TRUE(program.Launch(nullptr, tag.c_str()));
    std::wstring status = HostStatusPath(tag);
    ASSERT_FALSE(status.empty()) << "no host process with the launch's tag";
    DWORD pid = 0;
    GetWindowThreadProcessId(program.mainWindow(), &pid);
    int screen = GetSystemMetrics(SM_CXSCREEN);
    int barHeight = ScreenRect(program.taskbar()).bottom;

    auto drive = [&](int step) {
        int percent = 20 + (step % 140 < 70 ? step % 70 : 70 - step % 70);
        SetFakeBattery(percent, (step / 30) % 2 == 1);
        if (step % 5 == 0) // the shell narrows and widens its taskbar
            SetWindowPos(program.taskbar(), nullptr, 0, 0, screen - (step / 5 % 2) * 40, barHeight,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        if (step % 17 == 0) {
            RECT g = ScreenRect(program.gauge());
            ClickAt((g.left + g.right) / 2, (g.top + g.bottom) / 2);
        }
        if (step % 17 == 3)
            ShowWindow(program.mainWindow(), SW_HIDE);
    };

    for (int step = 0; step < 30; ++step) { // warm-up: every path once
        drive(step);
        Sleep(200);
    }
    long long memoryStart = RssAnonKB(status.c_str());
    int windowsStart = WindowsOf(pid);
    for (int step = 30; step < 30 + seconds; ++step) {
        drive(step);
        Sleep(1000);
        ASSERT_EQ(program.WaitExit(0), STILL_ACTIVE) << "after " << step << " s";
    }
    Sleep(3000);
    long long memoryEnd = RssAnonKB(status.c_str());
    int windowsEnd = WindowsOf(pid);
    std::printf("soak outside: %d s, private memory %lld KiB -> %lld KiB, windows %d -> %d\n",
                seconds, memoryStart, memoryEnd, windowsStart, windowsEnd);
    EXPECT_EQ(windowsEnd, windowsStart);
    EXPECT_LE(memoryEnd, memoryStart + 1024) << "private memory grows by at most 1 MiB";
    RECT g = ScreenRect(program.gauge());
    COLORREF frame = ScreenPixel(g.left + 3, g.top + 1);
    EXPECT_TRUE(frame == 0xFFFFFF || frame == 0x0000FF) << "still painting its frame";
}

} // namespace

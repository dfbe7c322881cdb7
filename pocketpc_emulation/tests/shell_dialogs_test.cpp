// The CE shell's dialog helpers on desktop windows.
#include <gtest/gtest.h>

#include "test_windows.h"

#include <vector>

namespace {

std::vector<WPARAM> s_commands;

LRESULT CALLBACK RecordCommands(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND)
        s_commands.push_back(wParam);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// With the Done flag the caption's close button sends IDOK and closes nothing
// itself, for every dialog in turn: each gives its subclass back as it goes.
TEST(ShellDialogs, DoneFlagTurnsCloseIntoOkForEveryDialog) {
    for (int i = 0; i < 40; ++i) {
        HWND dlg = CreateTestWindow(L"ZbDoneDialog", RecordCommands, WS_POPUP, 0, 0, 10, 10);
        SHINITDLGINFO info = {SHIDIM_FLAGS, dlg, SHIDIF_DONEBUTTON};
        ASSERT_TRUE(SHInitDialog(&info));
        s_commands.clear();
        SendMessageW(dlg, WM_CLOSE, 0, 0);
        EXPECT_EQ(s_commands, std::vector<WPARAM>{MAKEWPARAM(IDOK, BN_CLICKED)}) << "dialog " << i;
        EXPECT_TRUE(IsWindow(dlg));
        DestroyWindow(dlg);
    }
}

} // namespace

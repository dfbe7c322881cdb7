// The device's colour chooser, driven from another thread as a user would.
#include <gtest/gtest.h>

#include "pocketpc_emulation/names.h"
#include "screen.h"
#include "test_windows.h"

#include <atomic>
#include <thread>

namespace {

// The device's chooser, used from another thread as a user would: define
// the colour (1, 2, 3), add it to the custom colours, then answer.
struct ChooserUser {
    bool fullOpen;
    WPARAM answer;
    std::atomic<bool> done{false}, fieldsHiddenAtFirst{false};
};
void UseChooser(ChooserUser *user) {
    for (DWORD start = GetTickCount(); !user->done && GetTickCount() - start < DeadlineMs(5000);
         Sleep(25)) {
        HWND w = FindWindowW(L"#32770", L"Color");
        if (!w || !IsWindowVisible(w)) // shown once its controls are made
            continue;
        user->fieldsHiddenAtFirst = !IsWindowVisible(GetDlgItem(w, COLOR_RED));
        if (!user->fullOpen)
            SendMessageW(w, WM_COMMAND, COLOR_MIX, 0); // "Define Custom Colors >>"
        for (int id = COLOR_RED; id <= COLOR_BLUE; ++id)
            SetDlgItemInt(w, id, id - COLOR_RED + 1, FALSE);
        SendMessageW(w, WM_COMMAND, COLOR_ADD, 0); // "Add to Custom Colors"
        PostMessageW(w, WM_COMMAND, user->answer, 0);
        user->done = true;
    }
}

// The chooser as Setup opens it: owned by a window of the program.
class ColorChooserTest : public ::testing::Test {
  protected:
    void SetUp() override {
        owner_ = CreateTestWindow(L"ZbChooserOwner", DefWindowProcW, WS_POPUP | WS_VISIBLE, 0, 0,
                                  100, 100);
    }
    void TearDown() override { DestroyWindow(owner_); }
    HWND owner_ = nullptr;
};

TEST_F(ColorChooserTest, DeviceChooserGivesTheColourOnlyOnOk) {
    COLORREF custom[16] = {};
    CHOOSECOLORW request = {sizeof(request), owner_, nullptr, 0x00FF00, custom, CC_RGBINIT};
    ChooserUser cancel{false, IDCANCEL};
    std::thread first(UseChooser, &cancel);
    EXPECT_FALSE(ChooseColorW(&request));
    first.join();
    ASSERT_TRUE(cancel.done);
    EXPECT_TRUE(cancel.fieldsHiddenAtFirst) << "defining a colour waits for its button";
    EXPECT_EQ(request.rgbResult, 0x00FF00u) << "untouched by Cancel";
    EXPECT_EQ(custom[0], 0u);

    request.Flags |= CC_FULLOPEN;
    ChooserUser ok{true, IDOK};
    std::thread second(UseChooser, &ok);
    EXPECT_TRUE(ChooseColorW(&request));
    second.join();
    EXPECT_FALSE(ok.fieldsHiddenAtFirst) << "open at once with CC_FULLOPEN";
    EXPECT_EQ(request.rgbResult, RGB(1, 2, 3));
    EXPECT_EQ(custom[0], RGB(1, 2, 3)) << "added to the custom colours";
}

} // namespace

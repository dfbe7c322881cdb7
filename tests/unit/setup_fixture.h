// The Setup dialog driven with messages, in process: the real template and
// SetupDlgProc, a test taskbar with the real gauge, Wine's real registry.
#pragma once
#include "fixtures.h"

#include "app/mainwnd.h"
#include "monitor/monitor.h"
#include "gauge/gauge.h"
#include "res/resource.h"
#include "settings/colors.h"
#include "settings/registry.h"
#include "setup/setup.h"

#include <memory>
#include <vector>

// The main window as far as the dialog needs it: its WM_TIMER runs the poll.
inline LRESULT CALLBACK PollingMainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER)
        return MainWndProc(hwnd, msg, wParam, lParam);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

class SetupTest : public GaugeTest {
  protected:
    void SetUp() override {
        GaugeTest::SetUp();
        DeleteSettingsKey();
        SetColorChooser(nullptr);
        SetQuestionBox(nullptr);
    }
    void TearDown() override {
        if (dlg_)
            DestroyWindow(dlg_);
        if (g_mainWnd)
            DestroyWindow(g_mainWnd);
        SetColorChooser(nullptr);
        SetQuestionBox(nullptr);
        DeleteSettingsKey();
        GaugeTest::TearDown();
    }
    // The program as the main window's creation leaves it, with the
    // settings key in place, then the dialog opened from its template.
    void Open(int width = 480, int height = 52) {
        if (!taskbar_) {
            taskbar_ = std::make_unique<TestTaskbar>(width, height);
            StartUpStages(FromRegistry::kYes);
            g_mainWnd = CreateTestWindow(L"SetupTestMain", PollingMainProc, WS_POPUP, 0, 0, 10, 10);
            FakePower power;
            PollStatus(g_mainWnd);
        }
        HRSRC res = FindResourceW(g_instance, MAKEINTRESOURCEW(IDD_SETUP), RT_DIALOG);
        auto *tmpl = static_cast<LPCDLGTEMPLATEW>(LockResource(LoadResource(g_instance, res)));
        dlg_ = CreateDialogIndirectParamW(g_instance, tmpl, g_mainWnd, SetupDlgProc, 0);
        ASSERT_NE(dlg_, nullptr);
        ShowWindow(dlg_, SW_SHOW);
        Pump();
        ValidateGauge();
    }
    std::vector<HWND> Controls() const {
        std::vector<HWND> controls;
        for (HWND c = GetWindow(dlg_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            controls.push_back(c);
        return controls;
    }
    bool Checked(int id) { return SendDlgItemMessageW(dlg_, id, BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void Click(int id) {
        HWND button = GetDlgItem(dlg_, id);
        SendMessageW(button, BM_CLICK, 0, 0);
    }
    void Scroll(WPARAM code) { SendMessageW(dlg_, WM_HSCROLL, code, 0); }
    HWND dlg_ = nullptr;
};

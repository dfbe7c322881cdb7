// The program's fixed numbers against their golden copies (fixed_layout.h),
// table by table in both resolution modes. The tests of behaviour read the
// program's own tables; this one alone pins the numbers.
#include "fixtures.h"

#include "pocketpc_emulation/dialog_template.h"
#include "fixed_layout.h"
#include "gauge/gauge.h"
#include "info/info.h"
#include "res/resource.h"
#include "settings/colors.h"
#include "settings/registry.h"
#include "setup/setup.h"

namespace {

bool Same(const RECT &a, const RECT &b) {
    return EqualRect(&a, &b) != 0;
}

void ExpectControls(int dialogId, std::span<const FixedControl> fixed) {
    SCOPED_TRACE(testing::Message() << "dialog " << dialogId);
    auto controls = TemplateControls(FindDialogTemplate(g_instance, dialogId));
    ASSERT_EQ(controls.size(), fixed.size());
    for (size_t i = 0; i < fixed.size(); ++i)
        EXPECT_TRUE(controls[i].id == fixed[i].id && Same(controls[i].units, fixed[i].units))
            << "control " << i;
}

} // namespace

using FixedLayout = GaugeTest;

TEST_F(FixedLayout, MatchesItsGoldenCopies) {
    ExpectControls(IDD_SETUP, kSetupControls);
    ExpectControls(IDD_ABOUT, kAboutControls);
    for (BYTE mode : {0, 1}) {
        SCOPED_TRACE(testing::Message() << "mode " << int(mode));
        TearDown();
        Build(480, mode ? 52 : 26);
        ASSERT_EQ(g_hiRes, mode);

        const ColorRowsLayout &rows = kColorRows[mode];
        EXPECT_EQ(g_colorElements->rowCount, kColorElementCount);
        for (int i = 0; i < kColorElementCount; ++i) {
            RECT label = rows.label, swatch = rows.swatch;
            OffsetRect(&label, 0, i * rows.pitch);
            OffsetRect(&swatch, 0, i * rows.pitch);
            EXPECT_TRUE(Same(Element(i)->labelRect, label)) << "label of row " << i;
            EXPECT_TRUE(Same(Element(i)->swatchRect, swatch)) << "swatch of row " << i;
        }
        HWND dlg =
            CreateDialogParamW(g_instance, MAKEINTRESOURCEW(IDD_SETUP), nullptr, SetupDlgProc, 0);
        ASSERT_NE(g_defaultsButton, nullptr);
        EXPECT_TRUE(Same(RectIn(g_defaultsButton, dlg), rows.defaultsButton))
            << "the defaults button";
        DestroyWindow(dlg);
        g_defaultsButton = nullptr;

        POINT at = PlaceGauge(TaskbarClientRect(), g_align, DefaultPosition());
        RECT gauge = {at.x, at.y, at.x + GaugeWidth(), at.y + GaugeHeight()};
        EXPECT_TRUE(Same(gauge, kDefaultGaugeBox[mode])) << "the gauge's box with the defaults";

        const InfoRowsLayout &info = kInfoRows[mode];
        RECT page = {0, 0, 480, 536};
        for (int row = 0; row < 3; ++row) {
            int top = info.firstTop + row * info.pitch;
            EXPECT_EQ(InfoRowTop(page, row), top) << "info row " << row;
            RECT bar = {info.barInset, top + info.barTop, page.right - info.barInset,
                        top + info.barTop + info.barHeight};
            EXPECT_TRUE(Same(MemoryBarOutline(0, top, page.right), bar)) << "bar of row " << row;
        }
    }
}

// The info page: its texts by the formatting functions, its pixels by the
// page drawn into a memory bitmap.
#include "fixtures.h"

#include "info/info.h"
#include "monitor/monitor.h"

namespace {

class InfoTextTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetProgramState(); }
    std::wstring TimeLine() {
        wchar_t text[256];
        FormatTimeLine(text, ARRAYSIZE(text));
        return text;
    }
};

TEST_F(InfoTextTest, PlatformFigureOrEstimate) {
    g_batteryLifeTime = 7384;
    EXPECT_EQ(TimeLine(), L"Time Remaining: 2:03");
    g_batteryLifeTime = -1;
    g_batteryPercent = 57;
    g_lifeTime = 350;
    EXPECT_EQ(TimeLine(), L"Time Remaining: 3:19 (estimated)");
    g_batteryPercent = 0;
    EXPECT_EQ(TimeLine(), L"Time Remaining: 0:00 (estimated)");
}

TEST_F(InfoTextTest, HugeLifetimeDoesNotWrapNegative) {
    g_batteryLifeTime = -1;
    g_batteryPercent = 57;
    g_lifeTime = 30000000;
    EXPECT_EQ(TimeLine(), L"Time Remaining: 285000:00 (estimated)");
}

TEST(InfoFigures, MegabytesWithOneDecimal) {
    wchar_t text[64];
    FormatMegabytes(text, ARRAYSIZE(text), 1536, false);
    EXPECT_STREQ(text, L"1.5Mb");
    FormatMegabytes(text, ARRAYSIZE(text), 1048576, false);
    EXPECT_STREQ(text, L"1024.0Mb");
    FormatMegabytes(text, ARRAYSIZE(text), 1536, true);
    EXPECT_STREQ(text, L"1.5Mb free");
}

TEST(InfoFigures, UsedWidthStaysInsideTheBar) {
    EXPECT_EQ(UsedWidth(456, 1000, 1000), 0);
    EXPECT_EQ(UsedWidth(456, 1000, 0), 456);
    EXPECT_EQ(UsedWidth(456, 1000, 500), 228);
    EXPECT_EQ(UsedWidth(456, 0, 0), 0) << "no size, nothing used, no division";
    EXPECT_EQ(UsedWidth(456, 1000, 2000), 0);
    EXPECT_EQ(UsedWidth(456, ~0ull >> 10, 0), 456) << "no overflow on huge figures";
    EXPECT_EQ(UsedWidth(456, 3, 1), 304);
}

class InfoPageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetProgramState();
        ResetStorageTable();
        if (!g_infoFont)
            StartInfoFont();
    }
    void Draw(int width, int height) {
        page_ = std::make_unique<Dib>(width, height);
        DrawInfoPage(page_->dc(), page_->rect(), ProgramStorage());
    }
    COLORREF at(int x, int y) const { return page_->at(x, y); }
    std::unique_ptr<Dib> page_;
};

TEST_F(InfoPageTest, RowsWhereTheLayoutPutsThemInBothModes) {
    for (bool hiRes : {true, false}) {
        g_hiRes = hiRes;
        g_storageCount = 3;
        for (int i = 0; i < 3; ++i) {
            g_totalKB[i] = 1000;
            g_freeKB[i] = 0; // all used: blue over the whole inner width
        }
        int width = hiRes ? 480 : 240;
        Draw(width, hiRes ? 536 : 268);
        for (int i = 0; i < 3; ++i) {
            RECT bar = MemoryBarOutline(0, InfoRowTop(page_->rect(), i), width);
            SCOPED_TRACE(testing::Message() << (hiRes ? "hi-res" : "low-res") << " row " << i);
            EXPECT_EQ(at(bar.left, bar.top), kBlack) << "outline top-left";
            EXPECT_EQ(at(bar.left, bar.top - 1), kWhite);
            EXPECT_EQ(at(bar.right - 1, bar.bottom - 1), kBlack) << "outline bottom-right";
            EXPECT_EQ(at(bar.right, bar.top), kWhite);
            EXPECT_EQ(at(bar.left + 1, bar.top + 1), kGray) << "trough";
            EXPECT_EQ(at(bar.left + 2, bar.top + 2), kBarBlue);
            EXPECT_EQ(at(bar.right - 3, bar.top + 2), kBarBlue) << "used part to the inner edge";
            EXPECT_EQ(at(bar.right - 2, bar.top + 2), kGray) << "and no further";
        }
    }
}

TEST_F(InfoPageTest, NoBlueWhenFreeEqualsTotalOrTotalIsZero) {
    g_storageCount = 2;
    g_totalKB[0] = g_freeKB[0] = 5000;
    g_totalKB[1] = g_freeKB[1] = 0;
    Draw(480, 536);
    for (int row = 0; row < 2; ++row) {
        int y = 50 + row * 85 + 35 + 2;
        EXPECT_EQ(at(12, y), kGray) << "row " << row;
        EXPECT_EQ(at(467, y), kGray) << "row " << row;
    }
}

TEST_F(InfoPageTest, UnmeasuredEntriesLeaveTheirRowsBlank) {
    Draw(480, 536); // before the first tap: the time line alone
    for (int y = 45; y < 536; y += 5)
        ASSERT_EQ(at(12, y), kWhite) << "y " << y;

    g_storageCount = 2;
    g_totalKB[1] = 1000;
    g_freeKB[1] = 500;
    Draw(480, 536);
    EXPECT_EQ(at(10, 50 + 35), kWhite) << "entry 0 never measured";
    EXPECT_EQ(at(10, 135 + 35), kBlack) << "entry 1 keeps its place";
}

} // namespace

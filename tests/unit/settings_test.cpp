// Settings against Wine's real registry (the key is cleaned by each test) and
// the colour element layout.
#include "fixtures.h"

#include "gauge/gauge.h"
#include "settings/colors.h"
#include "settings/registry.h"

namespace {

class SettingsTest : public GaugeTest {
  protected:
    void SetUp() override {
        GaugeTest::SetUp();
        DeleteSettingsKey();
    }
    void TearDown() override {
        DeleteSettingsKey();
        GaugeTest::TearDown();
    }
    // The two load steps of start-up, without the gauge (whose placement
    // would clamp the position).
    void Load(int width, int height) {
        taskbar_ = std::make_unique<TestTaskbar>(width, height);
        StartUpStages(FromRegistry::kYes, false);
    }
};

// The program's table of stored values names the stored contract: "Position",
// then the values of the golden copy, in its order.
TEST_F(SettingsTest, FirstRunWritesEveryDefault) {
    ASSERT_EQ(kStoredValues.size(), 1 + std::size(kStoredDefaults));
    EXPECT_STREQ(kStoredValues[0].name, L"Position");
    for (size_t i = 0; i < std::size(kStoredDefaults); ++i)
        EXPECT_STREQ(kStoredValues[i + 1].name, kStoredDefaults[i].name);
    for (int height : {52, 26}) {
        DeleteSettingsKey();
        ResetProgramState();
        Load(480, height);
        EXPECT_EQ(Stored(kValuePosition), kDefaultPosition[height == 52]);
        EXPECT_EQ(g_position, static_cast<int>(kDefaultPosition[height == 52]));
        for (const StoredDefault &expected : kStoredDefaults)
            EXPECT_EQ(Stored(expected.name), expected.value) << expected.name;
        ASSERT_EQ(kColorDefaults.size(), static_cast<size_t>(kColorElementCount));
        for (int i = 0; i < kColorElementCount; ++i) {
            EXPECT_STREQ(Element(i)->name, kColorDefaults[i].name) << "row order";
            EXPECT_EQ(Element(i)->color, kColorDefaults[i].value);
            EXPECT_NE(Element(i)->brush, nullptr);
        }
    }
}

TEST_F(SettingsTest, PositionIsCheckedAgainstTaskbarWidth) {
    Store(kValuePosition, 230);
    Load(240, 26);
    EXPECT_EQ(g_position, 230) << "230 <= 240 - 10 is accepted";
    EXPECT_EQ(Stored(kValuePosition), 230u);
    ClampPosition();
    EXPECT_EQ(g_position, 218);
    EXPECT_EQ(Stored(kValuePosition), 230u) << "the clamp is not written back";

    ResetProgramState();
    Store(kValuePosition, 231);
    Load(240, 26);
    EXPECT_EQ(g_position, 2);
    EXPECT_EQ(Stored(kValuePosition), 2u);
}

TEST_F(SettingsTest, NegativePositionPassesLoadAndOnlyClampCorrectsIt) {
    Store(kValuePosition, static_cast<DWORD>(-50));
    Load(480, 52);
    EXPECT_EQ(g_position, -50);
    ClampPosition();
    EXPECT_EQ(g_position, 0);
}

TEST_F(SettingsTest, OtherSettingsAreTakenAsStored) {
    Store(kValueStyle, 7);
    Store(kValueLifeTime, 0);
    Store(kValueAlign, 0);
    Load(480, 52);
    EXPECT_EQ(g_style, 7);
    EXPECT_EQ(g_lifeTime, 0);
    EXPECT_EQ(g_align, 0);
    EXPECT_EQ(Stored(kValueStyle), 7u);
}

TEST_F(SettingsTest, ValuesOfOtherSizesAreRewrittenAsDefaults) {
    const unsigned long long eight = 0x1122334455667788ull;
    const WORD two = 0x0102;
    ASSERT_TRUE(StoreRawValue(kValueLifeTime, REG_BINARY, &eight, 8));
    ASSERT_TRUE(StoreRawValue(kValueStyle, REG_BINARY, &two, 2));
    ASSERT_TRUE(StoreRawValue(L"Full_Part", REG_QWORD, &eight, 8));
    ASSERT_TRUE(StoreRawValue(L"Percentage", REG_BINARY, &two, 2));
    Load(480, 52);
    EXPECT_EQ(g_lifeTime, 350);
    EXPECT_EQ(Stored(kValueLifeTime), 350u);
    EXPECT_EQ(g_style, 1);
    EXPECT_EQ(Stored(kValueStyle), 1u);
    EXPECT_EQ(Element(kFullPart)->color, kColorDefaults[kFullPart].value);
    EXPECT_EQ(Stored(L"Full_Part"), kColorDefaults[kFullPart].value);
    EXPECT_EQ(Stored(L"Percentage"), kColorDefaults[kPercentage].value);
}

TEST_F(SettingsTest, FourByteValuesOfAnyTypeAreTakenAsStoredAndLeftAlone) {
    // REG_BINARY is a .reg file's hex: data; text types hold four bytes too.
    for (DWORD type : {REG_BINARY, REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ}) {
        DeleteSettingsKey();
        ResetProgramState();
        DWORD position = 100;
        ASSERT_TRUE(StoreRawValue(kValuePosition, type, &position, 4));
        Load(480, 52);
        CreateGauge();
        EXPECT_EQ(GaugeOrigin().x, 100) << "type " << type;
        DWORD value = 0, stored = 0;
        ASSERT_TRUE(ReadStoredValue(kValuePosition, &value, &stored));
        EXPECT_EQ(stored, type);
        EXPECT_EQ(value, 100u);
    }
    // Given text of four bytes without its terminating zero, the registry
    // itself stores the zero too: six bytes, replaced like any other length.
    DeleteSettingsKey();
    ResetProgramState();
    ASSERT_TRUE(StoreRawValue(kValueStyle, REG_SZ, L"12", 4));
    Load(480, 52);
    EXPECT_EQ(g_style, 1);
    EXPECT_EQ(Stored(kValueStyle), 1u);
}

TEST_F(SettingsTest, RightAlignedPositionsTheNudgeSavesSurviveTheLoad) {
    for (DWORD position : {480u, 481u}) {
        ResetProgramState();
        Store(kValueAlign, 0);
        Store(kValuePosition, position);
        Load(480, 52);
        DWORD kept = position == 480 ? 480 : 4;
        EXPECT_EQ(g_position, static_cast<int>(kept));
        EXPECT_EQ(Stored(kValuePosition), kept);
    }
}

TEST_F(SettingsTest, ColourWithBitsAboveBlueIsKeptAndDrawsItsRgb) {
    DWORD stored = 0x01FF0000;
    Store(L"Full_Part", stored);
    Load(480, 52);
    EXPECT_EQ(Element(kFullPart)->color, stored);
    EXPECT_EQ(Stored(L"Full_Part"), stored);
    Dib dib(44, 36);
    DrawBattery(dib.dc(), dib.rect(), 100, g_onAC != 0, g_colorElements);
    EXPECT_EQ(dib.at(3, 3), 0xFF0000u);
}

TEST_F(SettingsTest, StoredColoursAreLoadedWithBrushesOfThem) {
    DWORD green = 0x00FF00;
    Store(L"Empty_Part", green);
    Load(480, 52);
    EXPECT_EQ(Element(kEmptyPart)->color, green);
    LOGBRUSH lb;
    ASSERT_EQ(GetObjectW(Element(kEmptyPart)->brush, sizeof(lb), &lb),
              static_cast<int>(sizeof(lb)));
    EXPECT_EQ(lb.lbColor, green);
}

TEST_F(SettingsTest, WritePointsStoreTheirValuesEvenWhenTheKeyWentAway) {
    Load(480, 52);
    g_lifeTime = 420;
    g_style = 2;
    g_align = 0;
    g_position = 33;
    SaveSetupSettings();
    EXPECT_EQ(Stored(kValueLifeTime), 420u);
    EXPECT_EQ(Stored(kValueStyle), 2u);
    EXPECT_EQ(Stored(kValueAlign), 0u);
    EXPECT_EQ(Stored(kValuePosition), 4u) << "OK does not save the position";

    // A registry editor or a clean-up tool deleted the key meanwhile.
    DeleteSettingsKey();
    SaveSetupSettings();
    EXPECT_EQ(Stored(kValueLifeTime), 420u);
    DeleteSettingsKey();
    SavePosition();
    EXPECT_EQ(Stored(kValuePosition), 33u);
    DeleteSettingsKey();
    SaveColor(*Element(kFullPart), 0x123456);
    EXPECT_EQ(Stored(L"Full_Part"), 0x123456u);
}

// In each mode one record per element, in table order, with its name and
// default and no colour yet; where the rows lie, FixedLayout pins.
TEST(ColorLayout, OneRecordPerElementInBothModes) {
    for (BYTE mode : {0, 1}) {
        SCOPED_TRACE(testing::Message() << "mode " << int(mode));
        LayoutColorElements(g_colorElements, mode);
        EXPECT_EQ(g_colorElements->rowCount, kColorElementCount);
        for (int i = 0; i < kColorElementCount; ++i) {
            const ColorElement *e = Element(i);
            EXPECT_STREQ(e->name, kColorDefaults[i].name);
            EXPECT_EQ(e->defaultColor, kColorDefaults[i].value);
            EXPECT_EQ(e->color, 0u);
            EXPECT_EQ(e->brush, nullptr);
        }
    }
}

} // namespace

// Bad input from outside: every registry value in every wrong shape, a key
// that cannot be opened, power readings out of range, and what the user then
// sees. Nothing may crash, nothing may be written outside the program's own
// key, and the gauge and the page must show something sound.
#include "fixtures.h"

#include "gauge/gauge.h"
#include "info/info.h"
#include "monitor/monitor.h"
#include "settings/colors.h"
#include "settings/registry.h"

#include <sddl.h>

#include <set>
#include <string>
#include <vector>

namespace {

// The names of the ten values.
const std::vector<const wchar_t *> &AllValues() {
    static const std::vector<const wchar_t *> names = [] {
        std::vector<const wchar_t *> list;
        for (const StoredValue &value : kStoredValues)
            list.push_back(value.name);
        return list;
    }();
    return names;
}

struct Shape {
    const char *what;
    DWORD type;
    std::vector<BYTE> data;
};

std::vector<BYTE> Bytes(const void *p, size_t n) {
    auto *b = static_cast<const BYTE *>(p);
    return std::vector<BYTE>(b, b + n);
}

std::vector<Shape> Shapes() {
    const wchar_t text4[] = L"7";
    const wchar_t text[] = L"a long text value, not a number";
    const unsigned long long qword = 0x0000000100000004ull;
    const BYTE binary[8] = {4, 0, 0, 0, 1, 2, 3, 4};
    const int negative = -5, huge = 0x7FFFFFFF, allOnes = -1;
    return {
        {"REG_SZ of 4 bytes", REG_SZ, Bytes(text4, sizeof(text4))},
        {"REG_SZ", REG_SZ, Bytes(text, sizeof(text))},
        {"REG_BINARY of 1 byte", REG_BINARY, Bytes(binary, 1)},
        {"REG_BINARY of 2 bytes", REG_BINARY, Bytes(binary, 2)},
        {"REG_BINARY of 3 bytes", REG_BINARY, Bytes(binary, 3)},
        {"REG_BINARY of 4 bytes", REG_BINARY, Bytes(binary, 4)},
        {"REG_BINARY of 8 bytes", REG_BINARY, Bytes(binary, 8)},
        {"REG_QWORD", REG_QWORD, Bytes(&qword, 8)},
        {"REG_DWORD -5", REG_DWORD, Bytes(&negative, 4)},
        {"REG_DWORD 0x7FFFFFFF", REG_DWORD, Bytes(&huge, 4)},
        {"REG_DWORD all ones", REG_DWORD, Bytes(&allOnes, 4)},
    };
}

std::set<std::wstring> SoftwareSubkeys() {
    std::set<std::wstring> names;
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return names;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD size = ARRAYSIZE(name);
        if (RegEnumKeyExW(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.insert(name);
    }
    RegCloseKey(key);
    return names;
}

class BadInputTest : public GaugeTest {
  protected:
    void SetUp() override {
        GaugeTest::SetUp();
        DeleteSettingsKey();
    }
    void TearDown() override {
        UnblockSettingsKey();
        DeleteSettingsKey();
        GaugeTest::TearDown();
    }
    // Start-up as the main window's creation runs it, on a 480x52 taskbar.
    void StartUp() {
        taskbar_ = std::make_unique<TestTaskbar>(480, 52);
        StartUpStages(FromRegistry::kYes);
        FakePower power(57, 0, BATTERY_LIFE_UNKNOWN);
        PollStatus(nullptr);
    }
    // The settings key made unreachable: it exists with a security
    // descriptor that lets nobody read or write it, only delete it, so opening
    // and creating it fail with access denied.
    void BlockSettingsKey() {
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
            L"D:P(A;;SDRCWD;;;WD)", SDDL_REVISION_1, &descriptor, nullptr));
        HKEY key;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, WRITE_DAC,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        LONG set = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
        LocalFree(descriptor);
        RegCloseKey(key);
        ASSERT_EQ(set, ERROR_SUCCESS);
        blocked_ = true;
        ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key),
                  ERROR_ACCESS_DENIED);
    }
    void UnblockSettingsKey() {
        if (blocked_)
            RegDeleteKeyW(HKEY_CURRENT_USER, kSettingsKey);
        blocked_ = false;
    }
    // The picture a user would see: frame, charge and text in the loaded
    // colours, inside a taskbar that holds it.
    void ExpectSoundGauge() {
        POINT at = GaugeOrigin();
        EXPECT_GE(at.x, 0);
        EXPECT_LE(at.x, 480 - 44);
        Dib dib(44, 36);
        DrawGauge(dib.dc(), dib.rect(), true);
        EXPECT_EQ(dib.at(1, 1), DrawnColor(Element(kFrameNotCharging)->color));
        EXPECT_EQ(dib.at(3, 3), DrawnColor(Element(kFullPart)->color));
        for (int i = 0; i < kColorElementCount; ++i)
            EXPECT_NE(Element(i)->brush, nullptr);
        wchar_t line[256];
        FormatTimeLine(line, ARRAYSIZE(line));
        EXPECT_EQ(std::wstring(line).find(L'-'), std::wstring::npos) << "no negative time";
    }
    bool blocked_ = false;
};

// Each shape in every value at once: one start per shape, as each value is
// read on its own.
TEST_F(BadInputTest, EveryValueInEveryWrongShape) {
    std::set<std::wstring> before = SoftwareSubkeys();
    for (const Shape &shape : Shapes()) {
        SCOPED_TRACE(shape.what);
        taskbar_.reset();
        ResetProgramState();
        DeleteSettingsKey();
        for (const wchar_t *name : AllValues())
            ASSERT_TRUE(StoreRawValue(name, shape.type, shape.data.data(),
                                      static_cast<DWORD>(shape.data.size())));
        StartUp();
        ExpectSoundGauge();
        // Four bytes of any type are taken and left as stored; the rest is
        // rewritten as a REG_DWORD.
        DWORD kept = shape.data.size() == 4 ? shape.type : static_cast<DWORD>(REG_DWORD);
        for (const wchar_t *value : AllValues()) {
            SCOPED_TRACE(testing::PrintToString(std::wstring(value)));
            DWORD data, type, size;
            ASSERT_TRUE(ReadStoredValue(value, &data, &type, &size));
            EXPECT_EQ(type, kept);
            EXPECT_EQ(size, 4u);
        }
    }
    std::set<std::wstring> after = SoftwareSubkeys();
    after.erase(L"tavrel");
    before.erase(L"tavrel");
    EXPECT_EQ(after, before) << "nothing outside the program's own key";
}

TEST_F(BadInputTest, KeyThatCannotBeOpenedLeavesDefaultsEverywhere) {
    BlockSettingsKey();
    StartUp();
    EXPECT_EQ(g_position, 4);
    EXPECT_EQ(g_lifeTime, 350);
    EXPECT_EQ(g_style, 1);
    for (int i = 0; i < kColorElementCount; ++i)
        EXPECT_EQ(Element(i)->color, Element(i)->defaultColor) << "defaults, with brushes";
    ExpectSoundGauge();
    SaveSetupSettings(); // the Setup dialog's write points: nothing, and no harm
    SavePosition();
    SaveColor(*Element(kFullPart), 0x00FF00);
    DWORD value;
    EXPECT_FALSE(ReadStoredValue(kValueStyle, &value));
}

TEST_F(BadInputTest, PowerReadingsOutOfRange) {
    StartUp();
    FakePower power;
    const struct {
        int percent;
        DWORD lifeTime;
        int shownPercent;
        const wchar_t *line;
    } cases[] = {
        {150, 0, 100, L"Time Remaining: 0:00"},
        {254, BATTERY_LIFE_UNKNOWN, 100, L"Time Remaining: 5:50 (estimated)"},
        {57, 0xFFFFFFFE, 57, L"Time Remaining: 3:19 (estimated)"},
        {0, 0x7FFFFFFF, 0, L"Time Remaining: 596523:14"},
    };
    for (const auto &c : cases) {
        power.Set(c.percent, 0, c.lifeTime);
        PollStatus(nullptr);
        EXPECT_EQ(g_batteryPercent, c.shownPercent);
        wchar_t line[256];
        FormatTimeLine(line, ARRAYSIZE(line));
        EXPECT_STREQ(line, c.line);
    }
}

TEST_F(BadInputTest, NegativeLifetimeSettingEstimatesNothingLeft) {
    Store(kValueLifeTime, static_cast<DWORD>(-350));
    StartUp();
    EXPECT_EQ(g_lifeTime, -350) << "taken as stored";
    wchar_t line[256];
    FormatTimeLine(line, ARRAYSIZE(line));
    EXPECT_STREQ(line, L"Time Remaining: 0:00 (estimated)");
}

} // namespace

// The gauge picture, pixel by pixel in memory DCs; the probe-and-cache
// protocol through real paints of a gauge in a test taskbar; the background
// styles' sampling; and GDI objects over many paints.
#include "fixtures.h"

#include "gauge/gauge.h"
#include "monitor/monitor.h"
#include "settings/colors.h"

namespace {

class RenderTest : public GaugeTest {
  protected:
    void Prepare(bool hiRes) {
        g_hiRes = hiRes;
        LayoutColorElements(g_colorElements, g_hiRes);
        for (int i = 0; i < kColorElementCount; ++i)
            SetElementColor(Element(i), Element(i)->defaultColor);
        SetElementColor(Element(kBackground), kGreen);
        g_style = kStyleCustom;
    }
    std::unique_ptr<Dib> Draw(int percent, bool onAC) {
        g_batteryPercent = percent;
        g_onAC = onAC;
        auto dib = std::make_unique<Dib>(GaugeWidth(), GaugeHeight());
        DrawGauge(dib->dc(), dib->rect(), false);
        return dib;
    }
};

TEST_F(RenderTest, BatteryShapesInBothModes) {
    for (bool hiRes : {true, false}) {
        Prepare(hiRes);
        int R = GaugeWidth(), inner = R - 6;
        int outlineBottom = hiRes ? 15 : 9, nubBottom = hiRes ? 13 : 7;
        for (int percent : {0, 50, 57, 100}) {
            for (bool onAC : {false, true}) {
                SCOPED_TRACE(testing::Message()
                             << (hiRes ? "hi-res " : "low-res ") << percent << "% ac " << onAC);
                auto dib = Draw(percent, onAC);
                COLORREF frame = onAC ? kRed : kWhite;
                EXPECT_EQ(dib->at(0, 0), kGreen);
                EXPECT_EQ(dib->at(1, 1), frame);
                EXPECT_EQ(dib->at(R - 4, 1), frame);
                EXPECT_EQ(dib->at(1, outlineBottom - 2), frame);
                EXPECT_EQ(dib->at(R - 3, 3), frame) << "nub";
                EXPECT_EQ(dib->at(R - 2, nubBottom - 1), frame) << "nub";
                EXPECT_EQ(dib->at(R - 2, nubBottom), kGreen);
                EXPECT_EQ(dib->at(R - 3, 2), kGreen) << "above the nub";
                for (int y = 0; y < 2; ++y)
                    EXPECT_EQ(dib->at(R - 1, y + 3), kGreen) << "last column is background";
                int edge = 2 + inner * percent / 100;
                if (edge > 2) {
                    EXPECT_EQ(dib->at(edge - 1, 3), kBlue) << "charge ends at " << edge;
                }
                if (edge < R - 4) {
                    EXPECT_EQ(dib->at(edge, 3), kEmptyPartDefault);
                }
                RECT text = {0, hiRes ? 15 : 9, R, GaugeHeight()};
                EXPECT_GT(dib->Count(kWhite, text), 0) << "percentage text";
            }
        }
    }
}

TEST_F(RenderTest, StyleOutsideTheTableDrawsTheBackgroundColour) {
    Prepare(true);
    for (int style : {int{kGaugeStyleCount}, 7, -1}) {
        g_style = style;
        auto dib = Draw(57, false);
        EXPECT_EQ(dib->at(0, 0), kGreen) << "style " << style;
        EXPECT_EQ(dib->at(43, 35), kGreen) << "style " << style;
    }
}

TEST_F(RenderTest, ChargeEdgeTruncates) {
    Prepare(true);
    auto dib = Draw(50, false);
    EXPECT_EQ(dib->at(20, 5), kBlue);
    EXPECT_EQ(dib->at(21, 5), kEmptyPartDefault) << "2 + floor(38 * 50 / 100) = 21";
    Prepare(false);
    dib = Draw(50, false);
    EXPECT_EQ(dib->at(9, 5), kBlue);
    EXPECT_EQ(dib->at(10, 5), kEmptyPartDefault) << "2 + floor(16 * 50 / 100) = 10";
}

TEST_F(RenderTest, OutOfRangePercentDrawsBackgroundOnly) {
    for (bool hiRes : {true, false}) {
        Prepare(hiRes);
        for (int percent : {-1, 101, 255}) {
            auto dib = Draw(percent, false);
            EXPECT_EQ(dib->Count(kGreen, dib->rect()), GaugeWidth() * GaugeHeight())
                << percent << "%";
        }
    }
}

// Renders the text alone with a given font into a reference bitmap: the
// gauge's text pixels must be exactly those.
void ExpectTextDrawnWith(const Dib &gauge, int percent, HFONT font, const RECT &box) {
    Dib reference(gauge.rect().right, gauge.rect().bottom);
    FillRect(reference.dc(), &reference.rect(), static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    wchar_t text[8];
    StringCchPrintfW(text, ARRAYSIZE(text), L"%d%%", percent);
    HGDIOBJ old = SelectObject(reference.dc(), font);
    SetBkMode(reference.dc(), TRANSPARENT);
    SetTextColor(reference.dc(), kWhite);
    RECT r = box;
    DrawTextW(reference.dc(), text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(reference.dc(), old);
    int rows = reference.rect().bottom;
    int mismatches = 0, textPixels = 0;
    for (int y = box.top; y < rows; ++y)
        for (int x = 0; x < reference.rect().right; ++x) {
            bool expected = reference.at(x, y) == kWhite;
            textPixels += expected;
            mismatches += expected != (gauge.at(x, y) == kWhite);
        }
    EXPECT_GT(textPixels, 0);
    EXPECT_EQ(mismatches, 0) << "text of " << percent << "%";
}

TEST_F(RenderTest, PercentFontsAndTextBoxes) {
    for (bool hiRes : {true, false}) {
        g_percentFont = g_percentFontFull = nullptr; // made anew for this mode
        Prepare(hiRes);
        int top = hiRes ? 11 : 8;
        // On external power the frame is red, so white pixels are the text's.
        auto dib = Draw(57, true);
        LOGFONTW lf;
        GetObjectW(g_percentFont, sizeof(lf), &lf);
        EXPECT_EQ(lf.lfHeight, hiRes ? -16 : -10);
        GetObjectW(g_percentFontFull, sizeof(lf), &lf);
        EXPECT_EQ(lf.lfHeight, hiRes ? -16 : -8);
        ExpectTextDrawnWith(*dib, 57, g_percentFont, {1, top, GaugeWidth(), GaugeHeight()});
        dib = Draw(100, true);
        ExpectTextDrawnWith(*dib, 100, g_percentFontFull, {0, top, GaugeWidth(), GaugeHeight()});
    }
}

// Real paints of a gauge over a test taskbar whose colour the test controls:
// a paint that samples shows the taskbar's colour now, one that draws from
// the cache shows the colour of the last sampling.
class CacheProtocolTest : public RenderTest {
  protected:
    void SetUp() override {
        RenderTest::SetUp();
        Build(480, 52, [this](HDC dc, const RECT &rc) {
            HBRUSH brush = CreateSolidBrush(taskbarColor_);
            FillRect(dc, &rc, brush);
            DeleteObject(brush);
        });
        g_style = kStyleWM5;
        PollStatus(nullptr); // the creation's first poll, before any paint
        FlushScreen();       // the taskbar and the gauge's first paint
    }
    void Repaint() {
        InvalidateGauge();
        UpdateWindow(g_gauge);
    }
    void PaintTaskbar(COLORREF color) {
        taskbarColor_ = color;
        RedrawWindow(taskbar_->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        FlushScreen();
    }
    // The gauge's background as it is on the screen now.
    COLORREF ShownBackground() {
        HDC dc = GetDC(g_gauge);
        COLORREF c = GetPixel(dc, 0, 0);
        ReleaseDC(g_gauge, dc);
        return c;
    }
    // A taskbar colour as the gauge shows it once sampled: read from the
    // screen, then drawn in the gauge's picture.
    static COLORREF Sampled(COLORREF taskbar) { return PictureColor(ScreenColor(taskbar)); }
    // Polls of an idle program after a change, each painting what it asks
    // for; how many asked for a repaint.
    int RepaintsOver(int polls) {
        int repaints = 0;
        for (int tick = 0; tick < polls; ++tick) {
            PollStatus(nullptr);
            repaints += GaugeHasUpdate();
            UpdateWindow(g_gauge);
        }
        return repaints;
    }
    COLORREF taskbarColor_ = RGB(10, 40, 120);
    FakePower power_{57, 0, 8208};
};

TEST_F(CacheProtocolTest, FirstPaintSamplesAndMatchingProbesSampleAgain) {
    UpdateWindow(g_gauge);
    EXPECT_EQ(g_firstGaugePaint, 0);
    EXPECT_EQ(g_useCachedBackground, 0);
    EXPECT_EQ(ShownBackground(), Sampled(RGB(10, 40, 120)));

    PaintTaskbar(RGB(20, 80, 30));
    Repaint();
    EXPECT_EQ(g_useCachedBackground, 0) << "the probes saw the gauge's own picture";
    EXPECT_EQ(ShownBackground(), Sampled(RGB(20, 80, 30))) << "sampled afresh";
}

TEST_F(CacheProtocolTest, ColoursWithBitsAboveBlueStillMatchTheirOwnPicture) {
    UpdateWindow(g_gauge);
    SetElementColor(Element(kFullPart), 0x01FF0000);
    SetElementColor(Element(kFrameNotCharging), 0x02FFFFFF);
    PaintTaskbar(RGB(20, 80, 30));
    Repaint();
    EXPECT_EQ(g_useCachedBackground, 0);
    EXPECT_EQ(ShownBackground(), Sampled(RGB(20, 80, 30)));
}

TEST_F(CacheProtocolTest, FailedProbesDrawFromCacheAndNextPollRepaints) {
    UpdateWindow(g_gauge);
    PaintTaskbar(RGB(20, 80, 30));
    // A new frame colour: the picture on screen no longer matches at P2.
    g_onAC = 1;
    Repaint();
    EXPECT_EQ(g_useCachedBackground, 1);
    EXPECT_EQ(ShownBackground(), Sampled(RGB(10, 40, 120))) << "drawn from the cache";

    power_.Set(57, 1, 8208);
    PollStatus(nullptr);
    EXPECT_EQ(g_useCachedBackground, 0);
    EXPECT_TRUE(GaugeHasUpdate()) << "the poll repaints one tick later";
    UpdateWindow(g_gauge);
    EXPECT_EQ(ShownBackground(), Sampled(RGB(20, 80, 30))) << "and that paint samples";
}

TEST_F(CacheProtocolTest, LowChargeNeverSamples) {
    power_.Set(3, 0, 8208); // the charge does not reach the probe column
    PollStatus(nullptr);
    UpdateWindow(g_gauge); // its probes still see the 57 % picture
    EXPECT_EQ(ShownBackground(), Sampled(RGB(10, 40, 120)));
    PaintTaskbar(RGB(20, 80, 30));
    g_gaugeRepaint = 1;
    for (int tick = 0; tick < 3; ++tick) {
        PollStatus(nullptr);
        EXPECT_TRUE(GaugeHasUpdate()) << "every tick repaints";
        UpdateWindow(g_gauge);
        EXPECT_EQ(g_useCachedBackground, 1);
        EXPECT_EQ(ShownBackground(), Sampled(RGB(10, 40, 120))) << "the taskbar is never sampled";
    }
}

// A colour the screen cannot hold exactly matches its own picture as one it
// holds does: after the change one repaint, then the polls are quiet.
TEST_F(CacheProtocolTest, AColourTheScreenRoundsIsQuietAfterOneRepaint) {
    constexpr COLORREF kRounded = 0x123456;
    if (PictureColor(kRounded) == kRounded)
        GTEST_SKIP() << "a screen that holds every colour (screens.txt: depth 24)";
    const struct {
        int element;
        COLORREF color;
    } changes[] = {
        {kFullPart, kColorElementDefaults[kFrameCharging].color},
        {kFullPart, kRounded},
        {kFrameNotCharging, kColorElementDefaults[kFrameCharging].color},
        {kFrameNotCharging, kRounded},
    };
    UpdateWindow(g_gauge);
    for (const auto &c : changes) {
        SCOPED_TRACE(testing::Message() << "element " << c.element << " colour " << std::hex
                                        << c.color);
        SetElementColor(Element(c.element), c.color);
        Repaint(); // as Setup repaints after a colour is chosen
        EXPECT_EQ(RepaintsOver(4), 1);
    }
}

TEST_F(CacheProtocolTest, ScreenAndPictureColoursAreWhatTheScreenShows) {
    UpdateWindow(g_gauge);
    for (COLORREF c : {COLORREF{0x123456}, RGB(10, 40, 120), RGB(130, 131, 133), kWhite}) {
        SCOPED_TRACE(testing::Message() << std::hex << c);
        PaintTaskbar(c);
        EXPECT_EQ(ScreenPixel(400, 2), ScreenColor(c)) << "drawn on the screen";
        SetElementColor(Element(kBackground), c);
        g_style = kStyleCustom;
        Repaint();
        EXPECT_EQ(ShownBackground(), PictureColor(c)) << "composed off screen, then copied";
    }
}

TEST_F(CacheProtocolTest, CustomStyleIgnoresTheCache) {
    UpdateWindow(g_gauge);
    SetElementColor(Element(kBackground), kGreen);
    g_style = kStyleCustom;
    g_onAC = 1; // probes fail
    Repaint();
    EXPECT_EQ(g_useCachedBackground, 1);
    EXPECT_EQ(ShownBackground(), kGreen);
}

TEST_F(CacheProtocolTest, SwitchToAnUnsampledStyleStillShowsTheTaskbar) {
    UpdateWindow(g_gauge);
    g_onAC = 1; // the cache is in force for the next paint
    g_style = kStyleWM6;
    Repaint();
    EXPECT_EQ(g_useCachedBackground, 1);
    EXPECT_EQ(ShownBackground(), Sampled(RGB(10, 40, 120))) << "an empty cache is filled, not shown";
}

// Pixels that the taskbar shows at chosen points, the rest black.
class SamplingTest : public GaugeTest {
  protected:
    struct Dot {
        int x, y;
        COLORREF color;
    };
    // The gauge sits, and sampling reads, at position 100 unless told otherwise.
    void BuildWith(std::vector<Dot> dots, int width = 480, int align = 1, int position = 100) {
        dots_ = std::move(dots);
        g_align = align;
        g_position = position;
        Build(width, 52, [this](HDC dc, const RECT &rc) {
            FillRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            for (const Dot &d : dots_)
                SetPixel(dc, d.x, d.y, d.color);
        });
        FlushScreen();
    }
    void Rebuild() {
        taskbar_.reset();
        ResetProgramState();
    }
    std::vector<Dot> dots_;
};

COLORREF ColorOf(const TRIVERTEX &v) {
    return RGB(v.Red >> 8, v.Green >> 8, v.Blue >> 8);
}

TEST_F(SamplingTest, Wm5ChoosesByBrightnessDifference) {
    // Colours a screen of 16 bits per pixel holds exactly, so that the sums
    // are those the screen gives.
    const struct {
        COLORREF c1, c3;
        bool takesRight;
    } cases[] = {
        {RGB(99, 101, 99), RGB(74, 52, 74), true},  // d = 99
        {RGB(99, 101, 99), RGB(90, 109, 0), false}, // d = 100
        {RGB(90, 109, 0), RGB(99, 101, 99), false}, // d = -100
    };
    const COLORREF c2 = RGB(8, 4, 16);
    for (const auto &c : cases) {
        for (COLORREF held : {c.c1, c2, c.c3})
            ASSERT_EQ(ScreenColor(held), held);
        BuildWith({{100, 4, c.c1}, {122, 4, c2}, {144, 4, c.c3}});
        COLORREF chosen = SampleTaskbarColor(&g_sampledBackground);
        EXPECT_EQ(chosen, c.takesRight ? c.c3 : c2);
        Rebuild();
    }
}

TEST_F(SamplingTest, Wm6ReplacesWhiteByThePreviousRowsSample) {
    // The nearest to white a screen of 16 bits per pixel holds.
    const COLORREF nearWhite = RGB(255, 255, 247);
    ASSERT_EQ(ScreenColor(nearWhite), nearWhite);
    BuildWith({{99, 8, kWhite}, // row 0 left: white, becomes black
               {144, 8, RGB(9, 9, 9)},
               {99, 9, RGB(50, 60, 70)},
               {144, 9, kWhite},    // row 1 right: takes row 0's right sample
               {99, 10, nearWhite}, // kept as it is
               {144, 10, RGB(1, 1, 1)}});
    GradientRow rows[kMaxGaugeRows];
    SampleGradientRows(rows);
    EXPECT_EQ(ColorOf(rows[0].left), 0u);
    EXPECT_EQ(ColorOf(rows[0].right), ScreenColor(RGB(9, 9, 9)));
    EXPECT_EQ(ColorOf(rows[1].left), ScreenColor(RGB(50, 60, 70)));
    EXPECT_EQ(ColorOf(rows[1].right), ScreenColor(RGB(9, 9, 9)));
    EXPECT_EQ(ColorOf(rows[2].left), nearWhite);
    EXPECT_EQ(rows[2].left.x, 0);
    EXPECT_EQ(rows[2].left.y, 2);
    EXPECT_EQ(rows[2].right.x, 44);
    EXPECT_EQ(rows[2].right.y, 3);

    // Drawn, each row runs from its left sample at column 0.
    Dib dib(44, 36);
    DrawGradientRows(rows, dib.dc());
    EXPECT_EQ(dib.at(0, 1), ScreenColor(RGB(50, 60, 70)));
    EXPECT_EQ(dib.at(0, 2), nearWhite);
}

TEST_F(SamplingTest, Wm6BlockReadGivesThePixelByPixelRows) {
    const COLORREF nearWhite = RGB(255, 255, 254);
    const int screen = GetSystemMetrics(SM_CXSCREEN);
    const struct {
        int width, align, position;
        bool offScreen;
    } cases[] = {
        {480, 1, 100, false},  // both columns on the taskbar
        {480, 1, 0, true},     // column -1
        {screen, 0, 44, true}, // the column right of the screen
        {120, 1, 76, false},   // the right column beyond a narrow taskbar
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "width " << c.width << " position " << c.position);
        int x = (c.align ? 0 : c.width) + (c.align ? c.position : -c.position);
        BuildWith({{x - 1, 8, kWhite},
                   {x + 44, 8, RGB(9, 9, 9)},
                   {x - 1, 9, RGB(50, 60, 70)},
                   {x + 44, 9, kWhite},
                   {x - 1, 10, nearWhite},
                   {x + 44, 11, nearWhite}},
                  c.width, c.align, c.position);
        ASSERT_EQ(PlaceGauge(TaskbarClientRect(), g_align, g_position).x, x);
        HDC dc = g_sampledBackground.screenDC;
        COLORREF left[kMaxGaugeRows], right[kMaxGaugeRows];
        for (int i = 0; i < 36; ++i) {
            left[i] = GetPixel(dc, x - 1, 8 + i);
            right[i] = GetPixel(dc, x + 44, 8 + i);
        }
        EXPECT_EQ(left[0] == CLR_INVALID || right[0] == CLR_INVALID, c.offScreen);
        GradientRow byPixel[kMaxGaugeRows], byBlock[kMaxGaugeRows];
        MakeGradientRows(left, right, byPixel);
        SampleGradientRows(byBlock);
        for (int i = 0; i < 36; ++i) {
            EXPECT_EQ(ColorOf(byBlock[i].left), ColorOf(byPixel[i].left)) << "row " << i;
            EXPECT_EQ(ColorOf(byBlock[i].right), ColorOf(byPixel[i].right)) << "row " << i;
        }
        Rebuild();
    }
}

// The side off the screen takes the colour of the side on it, row by row:
// the gauge's outer column shows the taskbar beside it, never white.
TEST_F(SamplingTest, Wm6AtEitherEndOfTheScreenBlendsWithTheTaskbar) {
    for (bool rightEnd : {true, false}) {
        SCOPED_TRACE(rightEnd ? "right end" : "left end");
        g_align = rightEnd ? 0 : 1;
        g_position = rightEnd ? 44 : 0;
        Build(GetSystemMetrics(SM_CXSCREEN), 52);
        FlushScreen();
        g_firstGaugePaint = 1; // sample again, now that the taskbar is on the screen
        InvalidateGauge();
        UpdateWindow(g_gauge);
        FlushScreen();
        int x = GaugeOrigin().x;
        int outer = rightEnd ? x + 43 : x, beside = rightEnd ? x - 1 : x + 44;
        HDC screen = GetDC(nullptr);
        for (int y = 8; y < 8 + 36; ++y) {
            EXPECT_NE(GetPixel(screen, outer, y), kWhite) << "row " << y;
            EXPECT_TRUE(GradientShows(GetPixel(screen, outer, y), GetPixel(screen, beside, y)))
                << "row " << y << ": " << std::hex << GetPixel(screen, outer, y) << " beside "
                << GetPixel(screen, beside, y);
        }
        ReleaseDC(nullptr, screen);
        Rebuild();
    }
}

} // namespace

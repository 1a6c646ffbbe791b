// Rendering, checked on the chart picture: series styles, markers, bars, 3D bars, frames,
// titles, grid modes with labels, logarithmic grids and the pen left behind by Plot.
#include <gtest/gtest.h>

#include <cmath>

#include "testutil.h"

using namespace gt;
namespace err = automation::err;

namespace {

constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kBorder = 0x800000;
constexpr int32_t kGrid = 0x00A000;
constexpr int32_t kLine = 0x0000C0;
constexpr int32_t kDot = 0xC000C0;

// A 400 x 300 chart with the area (40, 20)-(380, 260), white background, no grid, and
// one series of the given points.
class Render : public ::testing::Test {
  protected:
    void SetUp() override {
        c.handle.put(d::BackColor, kWhite);
        c.handle.put(d::BorderColor, kBorder);
        c.handle.put(d::GridColor, kGrid);
        c.handle.put(d::GridSel, int16_t(0));
        c.handle.put(d::BorderStyle, int16_t(0));
        c.handle.put(d::MarginLeft, 40.0f);
        c.handle.put(d::MarginTop, 20.0f);
        c.handle.put(d::MarginRight, 20.0f);
        c.handle.put(d::MarginBottom, 40.0f);
        c.handle.put(d::TitleX, "");
        c.handle.put(d::TitleY, "");
        SafeArray none = ints({1});
        c.handle.call(d::CreateSeries, int16_t(0), none);
    }

    void series(int16_t index, const std::vector<float> &x, const std::vector<float> &y) {
        if (c.handle.get(d::nSeries).toI2() <= index) {
            while (c.handle.get(d::nSeries).toI2() < index) c.handle.call(d::AppendSeries, int32_t(1));
            if (index == 0) {
                SafeArray n = ints({int32_t(x.size())});
                c.handle.call(d::CreateSeries, int16_t(1), n);
            } else {
                c.handle.call(d::AppendSeries, int32_t(x.size()));
            }
        }
        c.handle.put(d::nPoints, index, int32_t(x.size()));
        SafeArray ax = floats(x), ay = floats(y);
        int32_t start = 0, n = 0;
        c.handle.call(d::SetSeries, index, ax, ay, start, n);
        c.handle.put(d::LineColor, index, kLine);
        c.handle.put(d::DotColor, index, kDot);
    }
    void plot() { c.handle.call(d::Plot, false); }
    const QImage &img() { return c.image(); }

    Chart c{400, 300};
};

// Area mapping of this fixture: x 0..100 -> 40..380, y 0..10 -> 260..20.
int X(float x) {
    return int(std::nearbyint(40 + x * 3.4f));
}
int Y(float y) {
    return int(std::nearbyint(260 - y * 24.0f));
}

}  // namespace

TEST_F(Render, NoSeriesLeavesOnlyTheBackground) {
    SafeArray none = ints({1});
    c.handle.call(d::CreateSeries, int16_t(0), none);
    c.handle.put(d::BorderStyle, int16_t(3));
    c.handle.put(d::GridSel, int16_t(1));
    c.handle.put(d::TitleX, "Time");
    c.handle.call(d::PlotLine, 1.0f, 1.0f, 100.0f, 100.0f, int32_t(0), "");
    plot();
    EXPECT_EQ(countNot(img(), img().rect(), kWhite), 0);
}

TEST_F(Render, SolidSeriesCoversStartAndNotEnd) {
    series(0, {0, 100}, {5, 5});
    plot();
    EXPECT_EQ(pixel(img(), X(0), Y(5)), kLine);
    EXPECT_EQ(pixel(img(), X(50), Y(5)), kLine);
    EXPECT_EQ(pixel(img(), X(100) - 1, Y(5)), kLine);
    EXPECT_EQ(pixel(img(), X(100), Y(5)), kWhite);
    EXPECT_EQ(countColor(img(), img().rect(), kLine), X(100) - X(0));
}

TEST_F(Render, InvisibleSeriesIsSkippedAndLaterSeriesDrawn) {
    series(0, {0, 100}, {2, 2});
    series(1, {0, 100}, {8, 8});
    c.handle.put(d::LineColor, int16_t(1), int32_t(0x00FFFF));
    c.handle.put(d::SeriesVisible, int16_t(0), false);
    plot();
    EXPECT_EQ(pixel(img(), X(50), Y(2)), kWhite);
    EXPECT_EQ(pixel(img(), X(50), Y(8)), 0x00FFFF);
}

TEST_F(Render, LaterSeriesDrawOverEarlierOnes) {
    series(0, {0, 100}, {5, 5});
    series(1, {0, 100}, {5, 5});
    c.handle.put(d::LineColor, int16_t(1), int32_t(0x00FFFF));
    plot();
    EXPECT_EQ(pixel(img(), X(30), Y(5)), 0x00FFFF);
}

TEST_F(Render, DashStylesLeaveGapsAlongTheLine) {
    for (int16_t style : {int16_t(2), int16_t(3)}) {
        series(0, {0, 100}, {5, 5});
        c.handle.put(d::LineStyle, int16_t(0), style);
        plot();
        const int on = countColor(img(), QRect(X(0), Y(5), X(100) - X(0), 1), kLine);
        EXPECT_GT(on, 100) << style;
        EXPECT_LT(on, X(100) - X(0) - 30) << style;
    }
}

TEST_F(Render, WideLinesAreThickerThanThinOnes) {
    series(0, {0, 100}, {5, 5});
    c.handle.put(d::LineWidth, int16_t(0), int16_t(3));
    plot();
    EXPECT_EQ(pixel(img(), X(50), Y(5) - 1), kLine);
    EXPECT_EQ(pixel(img(), X(50), Y(5) + 1), kLine);
    EXPECT_EQ(c.handle.get(d::DrawWidth).toI4(), 1);  // pen reset after the series
}

TEST_F(Render, MarkersAreDrawnInDotColorAtEveryPoint) {
    series(0, {20, 50, 80}, {5, 5, 5});
    c.handle.put(d::LineStyle, int16_t(0), int16_t(0));
    c.handle.put(d::DotStyle, int16_t(0), int16_t(1));  // cross
    plot();
    for (float x : {20.0f, 50.0f, 80.0f}) {
        for (int k = -3; k <= 3; ++k) {
            EXPECT_EQ(pixel(img(), X(x) + k, Y(5)), kDot);
            EXPECT_EQ(pixel(img(), X(x), Y(5) + k), kDot);
        }
        EXPECT_EQ(pixel(img(), X(x) + 4, Y(5)), kWhite);
    }
    EXPECT_EQ(countColor(img(), img().rect(), kLine), 0);
}

TEST_F(Render, EachMarkerShapeHasItsExtent) {
    const int extent[6] = {0, 7, 7, 7, 7, 7};  // width of cross, circle, box, x, triangle
    for (int16_t style = 1; style <= 5; ++style) {
        series(0, {50}, {5});
        c.handle.put(d::LineStyle, int16_t(0), int16_t(0));
        c.handle.put(d::DotStyle, int16_t(0), style);
        plot();
        const QRect box = boundsOf(img(), kDot);
        EXPECT_EQ(box.width(), extent[style]) << style;
        EXPECT_NEAR(box.center().x(), X(50), 1) << style;
        EXPECT_NEAR(box.center().y(), Y(5), 1) << style;
    }
}

TEST_F(Render, MarkersFollowTheSegmentsAndKeepThePen) {
    series(0, {0, 50, 100}, {2, 8, 2});
    c.handle.put(d::DotStyle, int16_t(0), int16_t(3));
    c.handle.put(d::LineStyle, int16_t(0), int16_t(2));
    plot();
    EXPECT_GT(countColor(img(), img().rect(), kLine), 100);
    EXPECT_EQ(pixel(img(), X(50) + 3, Y(8)), kDot);  // box edge drawn after the segment
    EXPECT_EQ(c.handle.get(d::DrawStyle).toI2(), 0);
}

TEST_F(Render, BarsRunFromTheBottomEdgeToTheValue) {
    series(0, {25, 75}, {5, 2.5f});
    c.handle.put(d::LineStyle, int16_t(0), int16_t(4));
    plot();
    // The bar is a segment from the bottom edge (its start, covered) up to the value (its end).
    for (int y = Y(5) + 1; y <= 260; ++y) EXPECT_EQ(pixel(img(), X(25), y), kLine) << y;
    EXPECT_EQ(pixel(img(), X(25), Y(5)), kWhite);
    EXPECT_EQ(pixel(img(), X(75), Y(2.5f) + 1), kLine);
}

TEST_F(Render, WideBarsAreLineWidthColumns) {
    series(0, {50}, {5});
    c.handle.put(d::LineStyle, int16_t(0), int16_t(4));
    c.handle.put(d::LineWidth, int16_t(0), int16_t(4));
    plot();
    const QRect box = boundsOf(img(), kLine);
    EXPECT_EQ(box.width(), 4);
    EXPECT_EQ(box.left(), X(50) - 2);
}

TEST_F(Render, ThreeDBarsHaveGreyFacesAndNoMarkers) {
    series(0, {30, 70}, {5, 8});
    c.handle.put(d::LineStyle, int16_t(0), int16_t(5));
    c.handle.put(d::DotStyle, int16_t(0), int16_t(1));
    plot();
    EXPECT_EQ(countColor(img(), img().rect(), kDot), 0);
    // Front face of the bar at x = 30: a = 40, c = 341, px = round(0.3*341 + 48) = 150,
    // r = round(152.5) = 152, front face columns r-13..r-8, rows py+8..base+8.
    const int base = 20 + 235;  // b + d with d = round(240 - 5)
    const int px = 150, r = 152, py = int(std::nearbyint(base - 0.5 * 235));
    (void)px;
    EXPECT_EQ(pixel(img(), r - 10, (py + 8 + base + 8) / 2), 0xC0C0C0);
    EXPECT_EQ(pixel(img(), r - 8, (py + 8 + base + 8) / 2), kLine);  // outline of the front face
    EXPECT_EQ(pixel(img(), r - 13, (py + 8 + base + 8) / 2), kLine);
    EXPECT_EQ(pixel(img(), r - 4, (py + base) / 2 + 4), 0xC0C0C0);  // side face
    EXPECT_EQ(pixel(img(), r - 8, py + 4), 0xC0C0C0);               // top face
    EXPECT_EQ(pixel(img(), r - 10, base + 11), kWhite);             // below the front face
    EXPECT_GT(boundsOf(img(), kLine).bottom(), 260);                // reaches below the area
}

TEST(RenderPolygon, FillFollowsTheMaskRules) {
    graphane::ChartModel m;
    graphane::Surface s(QSize(40, 40), 0xFFFFFF);
    graphane::ChartRenderer r(m, s);
    r.fillPolygon({{5, 5}, {20, 5}, {20, 15}, {5, 15}}, 0x00FF00, 0xFF0000);
    EXPECT_EQ(pixel(s.image(), 12, 10), 0x00FF00);
    EXPECT_EQ(pixel(s.image(), 5, 10), 0xFF0000);
    EXPECT_EQ(pixel(s.image(), 20, 15), 0xFF0000);
    EXPECT_EQ(pixel(s.image(), 21, 10), 0xFFFFFF);
    r.fillPolygon({{25, 25}, {35, 25}, {30, 35}}, -1, 0x0000FF);  // outline only
    EXPECT_EQ(pixel(s.image(), 30, 28), 0xFFFFFF);
    EXPECT_EQ(pixel(s.image(), 25, 25), 0x0000FF);
}

TEST_F(Render, ScatterDotsUseLineWidthAndKeepThePen) {
    series(0, {20, 60}, {5, 3});
    c.handle.put(d::LineStyle, int16_t(0), int16_t(6));
    c.handle.put(d::LineWidth, int16_t(0), int16_t(3));
    c.handle.put(d::DotStyle, int16_t(0), int16_t(1));
    c.handle.put(d::DrawWidth, int32_t(2));
    c.handle.call(d::Plot, false);
    EXPECT_EQ(countColor(img(), img().rect(), kLine), 18);  // two 3 x 3 dots
    EXPECT_EQ(countColor(img(), img().rect(), kDot), 0);
    EXPECT_EQ(pixel(img(), X(20) + 1, Y(5) - 1), kLine);
    // The scatter style gives DrawWidth back as it was; the frame and grid steps follow.
    graphane::ChartRenderer r(c->model(), c->surface());
    c->surface().setDrawWidth(2);
    r.drawSeries(0);
    EXPECT_EQ(c->surface().drawWidth(), 2);
}

TEST_F(Render, PointLeftOfTheRangeLandsInTheMargin) {
    series(0, {-10, -10}, {5, 6});
    plot();
    EXPECT_EQ(pixel(img(), X(-10), Y(5)), kLine);
    EXPECT_LT(X(-10), 40);
}

TEST_F(Render, EmptyAxisRangeFailsAfterClearing) {
    series(0, {0, 100}, {5, 5});
    c.handle.call(d::PlotLine, 1.0f, 1.0f, 100.0f, 1.0f, int32_t(0), "");
    c.handle.put(d::xmax, 0.0f);
    EXPECT_EQ(errorOf([&] { plot(); }), err::DivisionByZero);
    EXPECT_EQ(countNot(img(), img().rect(), kWhite), 0);
    c.handle.put(d::SeriesVisible, int16_t(0), false);
    EXPECT_EQ(errorOf([&] { plot(); }), 0);  // no visible series, no division
}

TEST_F(Render, InvalidAreaDrawsNothingButClears) {
    series(0, {0, 100}, {5, 5});
    c.handle.put(d::BorderStyle, int16_t(3));
    c.handle.put(d::MarginLeft, 500.0f);
    plot();
    EXPECT_EQ(countNot(img(), img().rect(), kWhite), 0);
    float x1 = 0, y1 = 0, x2 = -7, y2 = -7;
    EXPECT_EQ(c.handle.call(d::GetChartArea, x1, y1, x2, y2).toI4(), 0);
    EXPECT_EQ(x1, 500.0f);
    EXPECT_EQ(x2, -7.0f);  // width not positive: left as the caller had it
    EXPECT_EQ(y2, 260.0f);
}

TEST_F(Render, SingleFrameSurroundsTheAreaTwoPixelsOut) {
    series(0, {0}, {0});
    c.handle.put(d::BorderStyle, int16_t(3));
    plot();
    EXPECT_EQ(pixel(img(), 38, 18), kBorder);
    EXPECT_EQ(pixel(img(), 382, 262), kBorder);
    EXPECT_EQ(pixel(img(), 200, 18), kBorder);
    EXPECT_EQ(pixel(img(), 38, 150), kBorder);
    EXPECT_EQ(pixel(img(), 39, 150), kWhite);
    EXPECT_EQ(pixel(img(), 37, 150), kWhite);
}

TEST_F(Render, ThreeDFramesAreWhiteAndBlackRectangles) {
    series(0, {0}, {0});
    c.handle.put(d::BackColor, int32_t(0x808080));
    c.handle.put(d::BorderStyle, int16_t(2));  // out: white outer-top-left, black inner
    plot();
    EXPECT_EQ(pixel(img(), 36, 150), 0xFFFFFF);   // L-2
    EXPECT_EQ(pixel(img(), 37, 150), 0);          // L-1
    EXPECT_EQ(pixel(img(), 383, 150), 0);         // R+1
    EXPECT_EQ(pixel(img(), 382, 150), 0xFFFFFF);  // R
    c.handle.put(d::BorderStyle, int16_t(1));     // in: colours swapped
    plot();
    EXPECT_EQ(pixel(img(), 36, 150), 0);
    EXPECT_EQ(pixel(img(), 37, 150), 0xFFFFFF);
    c.handle.put(d::BorderStyle, int16_t(0));
    plot();
    EXPECT_EQ(pixel(img(), 36, 150), 0x808080);
    EXPECT_EQ(pixel(img(), 37, 150), 0x808080);
}

TEST_F(Render, TitlesAtTenPointsInBorderColor) {
    series(0, {0}, {0});
    c.handle.put(d::TitleX, "Time");
    c.handle.put(d::TitleY, "Energy");
    c.handle.put(d::FontSize, int16_t(14));
    plot();
    EXPECT_EQ(c.handle.get(d::FontSize).toI2(), 14);  // restored
    c.handle.put(d::FontSize, int16_t(10));
    const int tw = int(c.handle.call(d::TextWidth, "Time").toR4());
    const int th = int(c.handle.call(d::TextHeight, "Energy").toR4());
    EXPECT_GT(countColor(img(), QRect(380 - tw, 280, tw, th), kBorder), 5);
    EXPECT_GT(countColor(img(), QRect(40, 20 - th - 4, 60, th), kBorder), 5);
    EXPECT_EQ(countColor(img(), QRect(0, 100, 30, 100), kBorder), 0);
    EXPECT_EQ(c.handle.get(d::FontColor).toI4(), kBorder);
}

TEST_F(Render, EqualSpacingGridLinesAndLabels) {
    series(0, {0}, {0});
    c.handle.put(d::GridSel, int16_t(1));
    c.handle.put(d::BorderStyle, int16_t(3));
    plot();
    // Interior vertical line k = 1 at x = 74: dotted, in GridColor.
    const int dots = countColor(img(), QRect(74, 21, 1, 239), kGrid);
    EXPECT_GT(dots, 60);
    EXPECT_LT(dots, 239);
    // No vertical edge line (only the starts of the dotted horizontals touch that column).
    EXPECT_LT(countColor(img(), QRect(40, 21, 1, 239), kGrid), 12);
    // Horizontal line k = 5 at y = 140.
    EXPECT_GT(countColor(img(), QRect(41, 140, 339, 1), kGrid), 100);
    // Labels "0", "10", ..., "100" below the area and "0".."10" left of it, in BorderColor.
    for (int k = 0; k <= 10; ++k) {
        const int x = 40 + 34 * k;
        EXPECT_GT(countColor(img(), QRect(x - 12, 263, 24, 16), kBorder), 3) << k;
    }
    EXPECT_GT(countColor(img(), QRect(0, 130, 36, 20), kBorder), 3);
    EXPECT_EQ(c.handle.get(d::DrawStyle).toI2(), 0);
}

TEST_F(Render, EqualSpacingGridDrawsEdgesWithoutFrame) {
    series(0, {0}, {0});
    c.handle.put(d::GridSel, int16_t(1));
    plot();
    EXPECT_GT(countColor(img(), QRect(40, 21, 1, 239), kGrid), 60);
    EXPECT_GT(countColor(img(), QRect(380, 21, 1, 239), kGrid), 60);
}

TEST_F(Render, GridIsDrawnOverTheSeries) {
    series(0, {0, 100}, {5, 5});
    c.handle.put(d::GridSel, int16_t(1));
    plot();
    EXPECT_GT(countColor(img(), QRect(41, 140, 339, 1), kGrid), 100);
    EXPECT_GT(countColor(img(), QRect(41, 140, 339, 1), kLine), 100);
}

TEST_F(Render, UserValueGridAtTheTableValues) {
    series(0, {0}, {0});
    c.handle.put(d::GridSel, int16_t(2));
    c.handle.put(d::BorderStyle, int16_t(3));
    SafeArray gx = floats({-10, 0, 25, 50, 100, 150}), gy = floats({2.5f, 5});
    int16_t nx = 6, ny = 2;
    c.handle.call(d::SetGridxVal, gx, nx);
    c.handle.call(d::SetGridyVal, gy, ny);
    plot();
    EXPECT_GT(countColor(img(), QRect(X(25), 21, 1, 239), kGrid), 60);
    EXPECT_GT(countColor(img(), QRect(X(50), 21, 1, 239), kGrid), 60);
    EXPECT_LT(countColor(img(), QRect(X(0), 21, 1, 239), kGrid), 3);  // on the edge with a frame
    EXPECT_GT(countColor(img(), QRect(41, Y(2.5f), 339, 1), kGrid), 100);
    // Labels: 25 and 100 (on the edge) drawn, -10 and 150 not.
    EXPECT_GT(countColor(img(), QRect(X(25) - 10, 263, 20, 16), kBorder), 3);
    EXPECT_GT(countColor(img(), QRect(X(100) - 12, 263, 24, 16), kBorder), 3);
    EXPECT_EQ(countColor(img(), QRect(0, 263, 36, 16), kBorder), 0);
    EXPECT_GT(countColor(img(), QRect(0, Y(2.5f) - 8, 38, 16), kBorder), 3);  // "2.5"
}

TEST_F(Render, UserValueGridFailsAtTheThirtyFirstValue) {
    series(0, {0}, {0});
    c.handle.put(d::GridSel, int16_t(2));
    std::vector<float> v(31);
    for (int i = 0; i < 31; ++i) v[size_t(i)] = float(i) * 3.0f + 1.0f;
    SafeArray gx = floats(v);
    int16_t n = 31;
    c.handle.call(d::SetGridxVal, gx, n);
    EXPECT_EQ(errorOf([&] { plot(); }), err::SubscriptOutOfRange);
    EXPECT_GT(countColor(img(), QRect(X(4), 21, 1, 239), kGrid), 60);  // earlier lines stay
}

TEST_F(Render, CentimetreGridSpacingFollowsTheDeviceResolution) {
    series(0, {0}, {0});
    c.handle.put(d::GridSel, int16_t(3));
    plot();
    const double step = graphane::screenDpiX() / 2.54;
    const int x = int(std::nearbyint(40 + 2 * step));
    EXPECT_GT(countColor(img(), QRect(x, 21, 1, 239), kGrid), 60);
    EXPECT_EQ(countColor(img(), QRect(x + 5, 21, 1, 239), kGrid), 0);
    c.handle.put(d::GridSel, int16_t(4));
    plot();
    const int half = int(std::nearbyint(40 + 3 * step / 2));
    EXPECT_GT(countColor(img(), QRect(half, 21, 1, 239), kGrid), 60);
    EXPECT_EQ(countNot(img(), QRect(0, 263, 400, 37), kWhite), 0);  // no labels
}

TEST_F(Render, MillimetreGridHasSolidLinesEveryFiveAndDots) {
    series(0, {0}, {0});
    c.handle.put(d::GridSel, int16_t(5));
    plot();
    const double mm = graphane::screenDpiY() / 25.4;
    const int y5 = int(std::nearbyint(260 - 5 * mm));
    EXPECT_GE(countColor(img(), QRect(40, y5, 340, 1), kGrid), 339);  // solid
    const int x5 = int(std::nearbyint(40 + 5 * graphane::screenDpiX() / 25.4));
    EXPECT_GE(countColor(img(), QRect(x5, 21, 1, 239), kGrid), 238);
    const int y1 = int(std::nearbyint(260 - 2 * mm));
    const int dots = countColor(img(), QRect(41, y1, 339, 1), kGrid);
    EXPECT_GT(dots, 60);
    EXPECT_LT(dots, 120);
}

TEST_F(Render, LogGridDecadesLabelsAndFailures) {
    series(0, {0}, {0});
    plot();
    bool fine = false;
    c.handle.call(d::PlotGridLogy, 40.0f, 20.0f, 380.0f, 260.0f, 3.0, 300.0, fine);
    // Decades 0..2: the line of decade 1 at y = 140; the edges only without frame (style 0 here).
    EXPECT_GE(countColor(img(), QRect(40, 140, 340, 1), kGrid), 339);
    EXPECT_GE(countColor(img(), QRect(40, 20, 340, 1), kGrid), 339);
    // Sub-ticks of 8 pixels at log10(2) of the first decade.
    const int sub = int(std::nearbyint(260 - 120 * 0.301));
    EXPECT_EQ(countColor(img(), QRect(40, sub, 8, 1), kGrid), 8);
    EXPECT_EQ(pixel(img(), 60, sub), kWhite);
    for (int y : {260, 140, 20}) EXPECT_GT(countColor(img(), QRect(0, y - 8, 37, 16), kBorder), 2) << y;
    EXPECT_EQ(errorOf([&] { c.handle.call(d::PlotGridLogx, 40.0f, 20.0f, 380.0f, 260.0f, 0.0, 10.0, fine); }),
              err::InvalidCall);
    EXPECT_EQ(errorOf([&] { c.handle.call(d::PlotGridLogx, 40.0f, 20.0f, 380.0f, 260.0f, 1.0, -1.0, fine); }),
              err::InvalidCall);
}

TEST_F(Render, LogGridFineLinesAndCoincidingDecades) {
    series(0, {0}, {0});
    c.handle.put(d::BorderStyle, int16_t(3));
    plot();
    bool fine = true;
    c.handle.call(d::PlotGridLogx, 40.0f, 20.0f, 380.0f, 260.0f, 5.0, 8.0, fine);  // decades 0..2
    const int sub = int(std::nearbyint(40 + 170 * 0.699));
    const int dots = countColor(img(), QRect(sub, 21, 1, 239), kGrid);
    EXPECT_GT(dots, 60);
    EXPECT_LT(dots, 239);
    EXPECT_GE(countColor(img(), QRect(210, 20, 1, 241), kGrid), 240);  // decade 1 solid
    EXPECT_EQ(countColor(img(), QRect(40, 25, 1, 230), kGrid), 0);     // edges left to the frame
}

TEST(LogGridLabels, BelowOneReadWithLeadingZero) {
    Chart c(300, 200);
    c.handle.put(d::BackColor, int32_t(0xFFFFFF));
    c.handle.put(d::BorderColor, int32_t(0xFF));
    bool fine = false;
    c.handle.call(d::PlotGridLogx, 50.0f, 20.0f, 250.0f, 150.0f, 0.01, 1.0, fine);
    const int w01 = int(c.handle.call(d::TextWidth, "0.01").toR4());
    EXPECT_GT(countColor(c.image(), QRect(50 - w01 / 2, 153, w01, 16), 0xFF), 3);
    EXPECT_GT(countColor(c.image(), QRect(145, 153, 12, 16), 0xFF), 3);
}

TEST_F(Render, PlotLeavesSolidThinPenAndBorderColor) {
    series(0, {0, 100}, {5, 5});
    c.handle.put(d::LineStyle, int16_t(0), int16_t(3));
    c.handle.put(d::LineWidth, int16_t(0), int16_t(4));
    c.handle.put(d::FontColor, int32_t(0x123456));
    plot();
    EXPECT_EQ(c.handle.get(d::DrawWidth).toI4(), 1);
    EXPECT_EQ(c.handle.get(d::DrawStyle).toI2(), 0);
    EXPECT_EQ(c.handle.get(d::FontColor).toI4(), kBorder);
}

TEST_F(Render, KeepBackgroundAddsToThePicture) {
    series(0, {0, 100}, {5, 5});
    c.handle.call(d::PlotLine, 10.0f, 5.0f, 30.0f, 5.0f, int32_t(0xFF), "");
    bool keep = true;
    c.handle.call(d::Plot, keep);
    EXPECT_EQ(pixel(img(), 20, 5), 0xFF);
    c.handle.call(d::ClearBackground);
    EXPECT_EQ(countNot(img(), img().rect(), kWhite), 0);
}

TEST_F(Render, DenseSeriesSamePixelsMergedOrSegmentBySegment) {
    const int n = 100000;
    std::vector<float> x(n), y(n);
    for (int i = 0; i < n; ++i) {
        x[size_t(i)] = 100.0f * float(i) / float(n);
        y[size_t(i)] = 5.0f + 4.0f * std::sin(float(i) * 0.003f) * std::cos(float(i) * 0.0171f);
    }
    series(0, x, y);
    c->setMergeColumns(true);
    plot();
    const QImage merged = img().copy();
    c->setMergeColumns(false);
    plot();
    EXPECT_EQ(merged, img());
    EXPECT_GT(countColor(merged, merged.rect(), kLine), 2000);
}

// Dense series in the other styles: drawn per pixel, they give the same picture as drawing
// every point (markers, scatter dots, bars, 3-D bars), or the same path for wide lines.
TEST_F(Render, DenseSeriesEveryStyleAsPointByPoint) {
    const int n = 20000;
    std::vector<float> x(n), y(n);
    for (int i = 0; i < n; ++i) {
        x[size_t(i)] = 100.0f * float(i) / float(n);
        y[size_t(i)] = 5.0f + 3.0f * std::sin(float(i) * 0.002f) + float((i * 7919) % 101) / 101.0f;
    }
    y[size_t(n / 2)] = std::nanf("");
    series(0, x, y);
    struct Case {
        int16_t line, dot, width;
        bool exact;
    };
    // Markers are stamped from one drawing: they can differ only where a point lies exactly half
    // way between two pixels (a handful of pixels), so they are compared almost exactly.
    const Case cases[] = {{0, 1, 1, false}, {0, 2, 1, false}, {0, 5, 1, false}, {6, 0, 1, true},
                          {6, 0, 3, true},  {4, 0, 1, true},  {4, 0, 3, true},  {5, 0, 1, true},
                          {1, 0, 2, false}, {2, 0, 1, false}};
    for (const Case &k : cases) {
        c.handle.put(d::LineStyle, int16_t(0), k.line);
        c.handle.put(d::DotStyle, int16_t(0), k.dot);
        c.handle.put(d::LineWidth, int16_t(0), k.width);
        c->setMergeColumns(true);
        plot();
        const QImage dense = img().copy();
        c->setMergeColumns(false);
        plot();
        const QImage each = img().copy();
        int differ = 0;
        for (int yy = 0; yy < each.height(); ++yy)
            for (int xx = 0; xx < each.width(); ++xx) differ += dense.pixel(xx, yy) != each.pixel(xx, yy);
        const int drawn = countNot(each, each.rect(), kWhite);
        EXPECT_GT(drawn, 500) << "style " << k.line << "/" << k.dot;
        if (k.exact)
            EXPECT_EQ(differ, 0) << "style " << k.line << "/" << k.dot << "/" << k.width;
        else if (k.line == 0)
            EXPECT_LE(differ, drawn / 500) << "markers " << k.dot;
        else if (k.line == 1)
            EXPECT_LT(differ, drawn / 20) << "wide line";
        else {
            // A dash pattern follows the path's length, which the reduced path shortens: the dashes
            // fall elsewhere, but the line covers the same stretch with about as much ink.
            const int inDense = countNot(dense, dense.rect(), kWhite);
            EXPECT_NEAR(double(inDense), double(drawn), 0.35 * drawn) << "dashed line";
            EXPECT_EQ(boundsOf(dense, kLine), boundsOf(each, kLine)) << "dashed line";
        }
    }
}

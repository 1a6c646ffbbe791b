// Memory surface, curve plotting, grids, the curve colour table, length conversions and the
// Lagrange interpolation, checked on the pixels of a memory bitmap.
#include "draw_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "testsupport/fresh_library.h"

namespace {

constexpr uint32_t kWhite = 0x00FFFFFF;

// y of a value as the curve exports map it: bottom - trunc((v - vmin) * k), clamped.
int32_t expectedY(double v, double vmin, double vmax, int32_t top, int32_t bottom) {
    const float k = static_cast<float>(bottom - top) / static_cast<float>(vmax - vmin);
    const float d = (static_cast<float>(v) - static_cast<float>(vmin)) * k;
    int32_t y = bottom - static_cast<int32_t>(d);
    return std::min(std::max(y, top), bottom);
}

std::vector<uint8_t> readFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

uint32_t le32(const std::vector<uint8_t> &b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

}  // namespace

TEST(MemorySurface, RefusesAbsurdSizesAndForeignSurfaces) {
    EXPECT_EQ(CreateMemorySurface(0, 10, 0, 0), nullptr);
    EXPECT_EQ(CreateMemorySurface(10, -1, 0, 0), nullptr);
    EXPECT_EQ(CreateMemorySurface(SIGMORA_SURFACE_MAX_SIDE + 1, 1, 0, 0), nullptr);
    EXPECT_EQ(CreateMemorySurface(SIGMORA_SURFACE_MAX_SIDE,
                                  SIGMORA_SURFACE_MAX_PIXELS / SIGMORA_SURFACE_MAX_SIDE + 1, 0, 0),
              nullptr);
    EXPECT_EQ(CreateMemorySurface(10, 10, -5, 96), nullptr);
    SigmoraSurface foreign{};
    int32_t w = -1;
    EXPECT_EQ(MemorySurfaceSize(&foreign, &w, nullptr), 0);
    EXPECT_EQ(w, -1);
    EXPECT_EQ(MemorySurfacePixel(&foreign, 0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(ClearMemorySurface(nullptr, 0), 0);
    EXPECT_EQ(SaveMemorySurfaceBmp(&foreign, "/tmp/never.bmp"), 0);
    FreeMemorySurface(&foreign);  // not ours: nothing happens
}

TEST(MemorySurface, LinesCoverTheirStartButNotTheirEnd) {
    TestSurface s(20, 10);
    int32_t w = 0, h = 0;
    ASSERT_EQ(MemorySurfaceSize(s.get(), &w, &h), 1);
    EXPECT_EQ(w, 20);
    EXPECT_EQ(h, 10);
    EXPECT_EQ(s.at(0, 0), kWhite);
    EXPECT_EQ(s.at(20, 0), 0xFFFFFFFFu);
    SigmoraSurface *d = s.get();
    d->setPen(d->user, SIGMORA_PEN_SOLID, 1, 0x0000FF);
    d->moveTo(d->user, 2, 3);
    d->lineTo(d->user, 12, 3);
    EXPECT_EQ(s.countColour(0x0000FF), 10);
    EXPECT_EQ(s.at(2, 3), 0x0000FFu);
    EXPECT_EQ(s.at(11, 3), 0x0000FFu);
    EXPECT_EQ(s.at(12, 3), kWhite);
    // A line from far outside still reaches the bitmap, in bounded time.
    d->moveTo(d->user, -2000000000, 5);
    d->lineTo(d->user, 2000000000, 5);
    EXPECT_EQ(s.count([](int32_t, int32_t y, uint32_t c) { return y == 5 && c == 0x0000FF; }), 20);
    d->setPen(d->user, SIGMORA_PEN_NULL, 1, 0x00FF00);
    d->lineTo(d->user, 0, 0);
    EXPECT_EQ(s.countColour(0x00FF00), 0);
    ASSERT_EQ(ClearMemorySurface(d, 0x123456), 1);
    EXPECT_EQ(s.countColour(0x123456), 200);
}

TEST(MemorySurface, PolygonFillsItsInteriorAndTextUsesBuiltInGlyphs) {
    TestSurface s(40, 20);
    SigmoraSurface *d = s.get();
    d->setPen(d->user, SIGMORA_PEN_NULL, 1, 0);
    d->setBrush(d->user, SIGMORA_BRUSH_SOLID, 0x00FF00);
    const SigmoraPoint quad[4] = {{2, 2}, {12, 2}, {12, 8}, {2, 8}};
    d->polygon(d->user, quad, 4);
    // Pixel centres inside [2, 12) x [2, 8).
    EXPECT_EQ(s.countColour(0x00FF00), 60);
    EXPECT_EQ(s.at(2, 2), 0x00FF00u);
    EXPECT_EQ(s.at(11, 7), 0x00FF00u);
    EXPECT_EQ(s.at(12, 7), kWhite);

    d->setBkMode(d->user, SIGMORA_TRANSPARENT);
    d->setTextColor(d->user, 0xFF0000);
    d->textOut(d->user, 20, 5, "X", 1);
    // The X glyph: both top corners, the centre, both bottom corners; not the top middle.
    for (auto [x, y] : {std::pair{20, 5}, {24, 5}, {22, 8}, {20, 11}, {24, 11}})
        EXPECT_EQ(s.at(x, y), 0xFF0000u) << x << "," << y;
    EXPECT_EQ(s.at(22, 5), kWhite);
    EXPECT_EQ(s.countColour(0xFF0000), 13);
    d->setBkMode(d->user, SIGMORA_OPAQUE);
    d->setBkColor(d->user, 0x000080);
    d->textOut(d->user, 30, 5, "O", 1);
    EXPECT_EQ(s.at(30, 5), 0x000080u);  // the O leaves its corners to the background
    EXPECT_EQ(s.at(31, 5), 0xFF0000u);
}

TEST(MemorySurface, SavesA24BitBmpThroughATemporaryFile) {
    TestSurface s(3, 2, 96, 96);
    SigmoraSurface *d = s.get();
    d->setPixel(d->user, 0, 0, 0x0000FF);  // top-left red
    d->setPixel(d->user, 2, 1, 0xFF0000);  // bottom-right blue
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("sigdraw_bmp_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "p.bmp").string();
    ASSERT_EQ(SaveMemorySurfaceBmp(d, path.c_str()), 1);
    const std::vector<uint8_t> b = readFile(path);
    ASSERT_EQ(b.size(), 54u + 2 * 12);  // rows of 9 bytes padded to 12
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(le32(b, 2), b.size());
    EXPECT_EQ(le32(b, 18), 3u);
    EXPECT_EQ(le32(b, 22), 2u);
    EXPECT_EQ(b[28], 24);
    // Bottom-up rows, bytes blue, green, red.
    EXPECT_EQ(b[54 + 6], 0xFF);  // bottom row, pixel 2, blue
    EXPECT_EQ(b[54 + 8], 0x00);
    EXPECT_EQ(b[54 + 12 + 2], 0xFF);  // top row, pixel 0, red
    EXPECT_EQ(b[54 + 12 + 0], 0x00);
    // Only the picture is left in the folder; a folder that does not exist fails cleanly.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
    EXPECT_EQ(SaveMemorySurfaceBmp(d, (dir / "missing" / "p.bmp").c_str()), 0);
    std::filesystem::remove_all(dir);
}

TEST(PlotCurve, DrawsSeveralSamplesPerColumnAtTheirPlaces) {
    TestSurface s(140, 80);
    const int32_t rect[4] = {10, 10, 110, 60};
    TestRecording rec(1, 200, 0.0f, 50.0f);
    std::vector<float> v(200);
    for (size_t i = 0; i < v.size(); ++i) v[i] = static_cast<float>(25.0 + 20.0 * std::sin(i / 7.0));
    rec.set(0, v);
    SetCurveColor(0, 0x0000FF);
    ASSERT_EQ(PlotCurve(s.get(), &rec.info, 0, 0, 200, rect), 1);
    // Two samples per column: sample i at x = left + trunc(i * 100 / 200). Every vertex but the
    // last (the end of the last segment) is drawn.
    for (int32_t i = 0; i + 1 < 200; ++i)
        EXPECT_EQ(s.at(10 + i * 100 / 200, expectedY(v[i], 0, 50, 10, 60)), 0x0000FFu) << i;
    EXPECT_EQ(s.count([](int32_t x, int32_t, uint32_t c) { return c != kWhite && (x < 10 || x >= 110); }), 0);
}

TEST(PlotCurve, ClampsToTheEdgesAndStopsAtTheLastSample) {
    TestSurface s(140, 80);
    const int32_t rect[4] = {10, 10, 110, 60};
    TestRecording rec(2, 40, -1.0f, 1.0f);
    std::vector<float> v(40);
    for (size_t i = 0; i < v.size(); ++i) v[i] = (i / 10) % 2 ? -100.0f : 100.0f;
    rec.set(1, v);
    SetCurveColor(1, 0x00FF00);
    ASSERT_EQ(PlotCurve(s.get(), &rec.info, 1, 0, 80, rect), 1);
    // end = 80 spreads 80 samples over the width, but only 40 exist: x stops at the middle.
    const int32_t lastX = 10 + 39 * 100 / 80;
    EXPECT_EQ(s.count([&](int32_t x, int32_t, uint32_t c) { return c == 0x00FF00 && x > lastX; }), 0);
    EXPECT_EQ(s.count([](int32_t, int32_t y, uint32_t c) { return c == 0x00FF00 && (y < 10 || y > 60); }), 0);
    EXPECT_EQ(s.at(10, 10), 0x00FF00u);                  // above vmax: top edge
    EXPECT_EQ(s.at(10 + 12 * 100 / 80, 60), 0x00FF00u);  // below vmin: bottom edge
}

TEST(PlotCurve, RefusedCallsDrawNothing) {
    TestSurface s(50, 50);
    const int32_t rect[4] = {0, 0, 40, 40};
    TestRecording rec(1, 10, 0.0f, 1.0f);
    rec.set(0, std::vector<float>(10, 0.5f));
    const auto refused = [&](SignalFileInfo info, int32_t ch, int32_t start, int32_t end, const int32_t *r) {
        return PlotCurve(s.get(), &info, ch, start, end, r) == 0 &&
               iPlotCurve(s.get(), &info, ch, start, end, r) == 0;
    };
    SignalFileInfo noData = rec.info;
    noData.hData = 0;
    EXPECT_TRUE(refused(noData, 0, 0, 10, rect));
    EXPECT_TRUE(refused(rec.info, 1, 0, 10, rect));   // channel beyond nch
    EXPECT_TRUE(refused(rec.info, -1, 0, 10, rect));  // negative channel
    EXPECT_TRUE(refused(rec.info, 0, 5, 5, rect));    // start >= end
    EXPECT_TRUE(refused(rec.info, 0, -1, 5, rect));   // start < 0
    EXPECT_TRUE(refused(rec.info, 0, 10, 12, rect));  // start >= len
    const int32_t flat[4] = {0, 10, 40, 10}, narrow[4] = {10, 0, 10, 40}, huge[4] = {0, 0, 40000000, 40};
    EXPECT_TRUE(refused(rec.info, 0, 0, 10, flat));
    EXPECT_TRUE(refused(rec.info, 0, 0, 10, narrow));
    EXPECT_TRUE(refused(rec.info, 0, 0, 10, huge));
    EXPECT_TRUE(refused(rec.info, 0, 0, 10, nullptr));
    SignalFileInfo sameRange = rec.info;
    sameRange.vmax = sameRange.vmin;
    EXPECT_TRUE(refused(sameRange, 0, 0, 10, rect));
    SignalFileInfo tooLong = rec.info;
    tooLong.len = 1000;  // the block holds 10 samples only
    EXPECT_TRUE(refused(tooLong, 0, 0, 1000, rect));
    EXPECT_EQ(PlotCurve(nullptr, &rec.info, 0, 0, 10, rect), 0);
    EXPECT_EQ(PlotCurve(s.get(), nullptr, 0, 0, 10, rect), 0);
    EXPECT_EQ(s.nonWhite(), 0);
    EXPECT_EQ(MemBlockLockCount(rec.info.hData), 0u);
}

TEST(iPlotCurve, DrawsOneInterpolatedValuePerColumn) {
    TestSurface s(140, 80);
    const int32_t rect[4] = {10, 10, 110, 60};
    TestRecording rec(1, 50, 0.0f, 50.0f);
    std::vector<float> ramp(50);
    for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<float>(i);
    rec.set(0, ramp);
    SetCurveColor(0, 0xFF00FF);
    ASSERT_EQ(iPlotCurve(s.get(), &rec.info, 0, 0, 50, rect), 1);
    // Half a sample per column; the interpolation of a ramp is the ramp: value p / 2 at column p.
    for (int32_t p = 0; p + 1 < 100; ++p)
        EXPECT_EQ(s.at(10 + p, expectedY(p * 0.5, 0, 50, 10, 60)), 0xFF00FFu) << p;
    EXPECT_EQ(s.countColour(0xFF00FF),
              s.count([](int32_t x, int32_t, uint32_t c) { return c == 0xFF00FF && x < 109; }));
}

TEST(iPlotCurve, StopsWhereTheSamplesEnd) {
    TestSurface s(140, 80);
    const int32_t rect[4] = {10, 10, 110, 60};
    TestRecording rec(1, 50, 0.0f, 100.0f);
    rec.set(0, std::vector<float>(50, 50.0f));
    SetCurveColor(0, 0x00FFFF);
    ASSERT_EQ(iPlotCurve(s.get(), &rec.info, 0, 0, 100, rect), 1);
    // One sample per column; column 50 would need sample 50, which does not exist.
    EXPECT_EQ(s.at(10 + 48, 35), 0x00FFFFu);
    EXPECT_EQ(s.count([](int32_t x, int32_t, uint32_t c) { return c == 0x00FFFF && x >= 10 + 49; }), 0);
    EXPECT_EQ(s.countColour(0x00FFFF), 49);
}

namespace {

struct GridFixture {
    TestSurface s{400, 300};
    const int32_t rect[4] = {20, 20, 380, 280};
    const float cx = 96 * 0.39370078f, cy = 96 * 0.39370078f;
    static constexpr uint32_t kGrid = 0x808080;
    void draw(int32_t type) { SetCurveGrid(s.get(), rect, kGrid, type); }
    bool on(float x, float y) const {
        return s.at(static_cast<int32_t>(x), static_cast<int32_t>(y)) == kGrid;
    }
    // Vertical lines every cx from left, as positions accumulated in floats.
    std::vector<float> columns() const {
        std::vector<float> xs;
        for (float x = 20; x <= 380; x += cx) xs.push_back(x);
        return xs;
    }
};

}  // namespace

TEST(SetCurveGrid, CentimetreGridHasFullLinesEveryCentimetre) {
    GridFixture g;
    g.draw(1);
    std::vector<float> rows;
    for (float y = 280; y >= 20; y -= g.cy) rows.push_back(y);
    EXPECT_EQ(rows.size(), 7u);
    EXPECT_EQ(g.columns().size(), 10u);
    for (float y : rows)
        for (float x = 21; x < 380; x += 7) EXPECT_TRUE(g.on(x, y)) << x << "," << y;
    for (float x : g.columns())
        for (float y = 21; y <= 280; y += 7) EXPECT_TRUE(g.on(x, y)) << x << "," << y;
    // Half-way between lines nothing is drawn, and nothing outside the rectangle.
    EXPECT_FALSE(g.on(20 + g.cx / 2, 280 - g.cy / 2));
    EXPECT_EQ(g.s.count([](int32_t x, int32_t y, uint32_t c) {
        return c != 0xFFFFFF && (x < 20 || x > 380 || y < 20 || y > 280);
    }),
              0);

    GridFixture three;
    three.draw(3);
    EXPECT_EQ(three.s.count([&](int32_t x, int32_t y, uint32_t c) { return g.s.at(x, y) != c; }), 0);
    GridFixture none;
    none.draw(0);
    EXPECT_EQ(none.s.nonWhite(), 0);
}

TEST(SetCurveGrid, MillimetreGridDotsTheRowsBetweenCentimetres) {
    GridFixture g;
    g.draw(2);
    int k = 0;
    for (float y = 280; y >= 20; y -= g.cy / 10, ++k) {
        if (k % 10 == 0) {
            EXPECT_TRUE(g.on(21 + g.cx / 2, y)) << k;
        } else {
            // A dot every cx / 10 along the row, nothing half-way between dots.
            EXPECT_TRUE(g.on(20 + 3 * (g.cx / 10), y)) << k;
            EXPECT_FALSE(g.on(20 + 3.5f * (g.cx / 10), y)) << k;
        }
    }
    EXPECT_EQ(k, 69);
    for (float x : g.columns()) EXPECT_TRUE(g.on(x, 150)) << x;
}

TEST(SetCurveGrid, LogarithmicGridDotsTheDecades) {
    GridFixture g;
    g.draw(7);
    for (float base = 280; base >= 20; base -= g.cy) {
        EXPECT_TRUE(g.on(21 + g.cx / 2, base)) << base;
        for (int m = 2; m <= 9; ++m) {
            const float y = base - static_cast<float>(std::log10(m)) * g.cy;
            if (y >= 20) {
                EXPECT_TRUE(g.on(20 + 3 * (g.cx / 10), y)) << base << " " << m;
            }
        }
        // Between the decade line and log10(2) there is no row.
        EXPECT_FALSE(g.on(20 + 3 * (g.cx / 10), base - 0.15f * g.cy)) << base;
    }
    GridFixture negative;
    negative.draw(-4);
    EXPECT_EQ(negative.s.count([&](int32_t x, int32_t y, uint32_t c) { return g.s.at(x, y) != c; }), 0);
}

TEST(CurveColours, IndexIsTakenAsItsMagnitudeModulo32) {
    const uint32_t before = SetCurveColor(1, 0x000011);
    (void)before;
    EXPECT_EQ(SetCurveColor(33, 0x000022), 0x000011u);
    EXPECT_EQ(SetCurveColor(1, 0x000033), 0x000022u);
    SetCurveColor(2, 0x000044);
    EXPECT_EQ(SetCurveColor(-2, 0x000055), 0x000044u);
    EXPECT_EQ(SetCurveColor(2, 0x000066), 0x000055u);
    // The table entry is the pen of that channel.
    TestSurface s(60, 40);
    const int32_t rect[4] = {0, 0, 50, 30};
    TestRecording rec(3, 10, 0.0f, 1.0f);
    rec.set(2, std::vector<float>(10, 0.5f));
    SetCurveColor(-34, 0x0000AA);
    ASSERT_EQ(PlotCurve(s.get(), &rec.info, 2, 0, 10, rect), 1);
    EXPECT_EQ(s.at(0, 15), 0x0000AAu);
}

TEST(CurveColours, AllEntriesStartBlue) {
    FreshLibrary lib(SIGMORA_LIBRARY_PATH);
    ASSERT_TRUE(lib.loaded());
    auto set = lib.symbol<uint32_t (*)(int16_t, uint32_t)>("SetCurveColor");
    ASSERT_NE(set, nullptr);
    for (int16_t k = 0; k < 32; ++k) EXPECT_EQ(set(k, 0), 0x00FF0000u) << k;
}

TEST(LengthConversion, MillimetresAndPixelsAt96Dpi) {
    TestSurface s(10, 10, 96, 192);
    EXPECT_NEAR(MMToPixel(s.get(), 25.4f, 0), 96.0f, 1e-3f);
    EXPECT_NEAR(PixelToMM(s.get(), 96.0f, 0), 25.4f, 1e-3f);
    EXPECT_NEAR(MMToPixel(s.get(), 25.4f, 1), 192.0f, 1e-3f);
    EXPECT_NEAR(PixelToMM(s.get(), MMToPixel(s.get(), 7.3f, 1), 1), 7.3f, 1e-4f);
    TestSurface plain(10, 10);  // dpi 0 asks for the 96 dpi default
    EXPECT_NEAR(MMToPixel(plain.get(), 10.0f, 1), 10.0f * 96 / 25.4f, 1e-3f);
    SigmoraSurface bare{};  // no resolution operation: 96 dpi
    EXPECT_NEAR(MMToPixel(&bare, 25.4f, 0), 96.0f, 1e-3f);
    EXPECT_EQ(MMToPixel(nullptr, 25.4f, 0), 0.0f);
    EXPECT_EQ(PixelToMM(nullptr, 25.4f, 0), 0.0f);
}

TEST(Interpolation1D, ReproducesPolynomialsThroughItsNodes) {
    const auto parabola = [](double x) { return 2 * x * x - 3 * x + 1; };
    const float x3[3] = {-1.0f, 0.5f, 2.0f};
    float y3[3];
    for (int i = 0; i < 3; ++i) y3[i] = static_cast<float>(parabola(x3[i]));
    for (double vx : {-0.7, 0.0, 1.3, 1.9})
        EXPECT_NEAR(Interpolation1D(x3, y3, 3, static_cast<float>(vx), 0), parabola(vx), 1e-4) << vx;
    // Equally spaced from -2 by 0.5.
    const float spacing[2] = {-2.0f, 0.5f};
    float y9[9];
    for (int i = 0; i < 9; ++i) y9[i] = static_cast<float>(parabola(-2.0 + 0.5 * i));
    for (double vx : {-1.8, -0.25, 0.6, 1.95})
        EXPECT_NEAR(Interpolation1D(spacing, y9, 9, static_cast<float>(vx), 1), parabola(vx), 1e-4) << vx;
    // A cubic through six uneven nodes.
    const auto cubic = [](double x) { return x * x * x - x + 0.5; };
    const float x6[6] = {-2.0f, -1.2f, 0.0f, 0.3f, 1.1f, 2.5f};
    float y6[6];
    for (int i = 0; i < 6; ++i) y6[i] = static_cast<float>(cubic(x6[i]));
    EXPECT_NEAR(Interpolation1D(x6, y6, 6, 0.8f, 0), cubic(0.8f), 1e-4);
}

TEST(Interpolation1D, SmallAndDegenerateTables) {
    const float x[2] = {0.0f, 2.0f}, y[2] = {1.0f, 3.0f};
    EXPECT_FLOAT_EQ(Interpolation1D(x, y, 2, 1.0f, 1), 2.0f);
    EXPECT_FLOAT_EQ(Interpolation1D(x, y, 2, 1.0f, 0), 2.0f);
    EXPECT_FLOAT_EQ(Interpolation1D(x, y, 1, 5.0f, 0), 1.0f);
    EXPECT_EQ(Interpolation1D(x, y, 0, 1.0f, 0), 0.0f);
    EXPECT_EQ(Interpolation1D(nullptr, y, 2, 1.0f, 0), 0.0f);
    const float zeroStep[2] = {0.0f, 0.0f};
    EXPECT_EQ(Interpolation1D(zeroStep, y, 2, 1.0f, 1), 0.0f);
    const float same[3] = {1.0f, 1.0f, 2.0f}, y3[3] = {1.0f, 2.0f, 3.0f};
    EXPECT_EQ(Interpolation1D(same, y3, 3, 1.5f, 0), 0.0f);
    // Far beyond the last node the window is empty: 0.
    const float steps[2] = {0.0f, 1.0f};
    EXPECT_EQ(Interpolation1D(steps, y3, 3, 100.0f, 1), 0.0f);
    EXPECT_EQ(Interpolation1D(steps, y3, 3, NAN, 1), 0.0f);
}

// Solid thin lines: the start pixel is covered and the end pixel is not, in the drawing
// direction; the column-merging polyline gives exactly the pixels of drawing every segment.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <set>
#include <cmath>
#include <random>

#include "rasterline.h"

using namespace graphane;

namespace {

struct Canvas {
    QImage img;
    explicit Canvas(int w = 64, int h = 48) : img(w, h, QImage::Format_RGB32) { img.fill(Qt::white); }
    PixelBuffer buf() {
        return PixelBuffer{reinterpret_cast<uint32_t *>(img.bits()), img.width(), img.height(),
                           img.bytesPerLine() / 4};
    }
    bool on(int x, int y) const { return img.pixel(x, y) == 0xFF000000u; }
    int count() const {
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) n += on(x, y);
        return n;
    }
};

constexpr uint32_t kBlack = 0xFF000000u;

}  // namespace

TEST(RasterSegment, CoversStartNotEndInEveryDirection) {
    const int ends[8][2] = {{10, 0}, {-10, 0}, {0, 10}, {0, -10}, {10, 4}, {-10, -4}, {3, -9}, {-7, 7}};
    for (const auto &e : ends) {
        Canvas c;
        const int x1 = 30, y1 = 24, x2 = x1 + e[0], y2 = y1 + e[1];
        rasterSegment(c.buf(), x1, y1, x2, y2, kBlack);
        EXPECT_TRUE(c.on(x1, y1)) << e[0] << "," << e[1];
        EXPECT_FALSE(c.on(x2, y2)) << e[0] << "," << e[1];
        EXPECT_EQ(c.count(), std::max(std::abs(e[0]), std::abs(e[1])));  // one pixel per major step
    }
}

TEST(RasterSegment, ZeroLengthDrawsNothing) {
    Canvas c;
    rasterSegment(c.buf(), 5, 5, 5, 5, kBlack);
    EXPECT_EQ(c.count(), 0);
}

TEST(RasterSegment, PixelsStayNearTheIdealLine) {
    Canvas c;
    rasterSegment(c.buf(), 2, 3, 50, 20, kBlack);
    for (int x = 2; x < 50; ++x) {
        const double ideal = 3 + (x - 2) * 17.0 / 48.0;
        int hits = 0;
        for (int y = 0; y < c.img.height(); ++y)
            if (c.on(x, y)) {
                ++hits;
                EXPECT_LE(std::fabs(y - ideal), 0.5 + 1e-9);
            }
        EXPECT_EQ(hits, 1);
    }
}

TEST(RasterSegment, ClipsToTheBufferWithoutWritingOutside) {
    Canvas c(20, 20);
    rasterSegment(c.buf(), -100, -50, 200, 80, kBlack);
    rasterSegmentF(c.buf(), -3e30f, 10.0f, 3e30f, 10.0f, kBlack);  // far ends are clipped first
    for (int x = 0; x < 20; ++x) EXPECT_TRUE(c.on(x, 10));
    rasterSegmentF(c.buf(), NAN, 1.0f, 5.0f, 5.0f, kBlack);  // not finite: nothing
    rasterColumn(c.buf(), 25, 0, 19, kBlack);
    rasterColumn(c.buf(), 3, -10, 40, kBlack);
    for (int y = 0; y < 20; ++y) EXPECT_TRUE(c.on(3, y));
}

TEST(RasterSegment, HalvesRoundToEvenPixels) {
    Canvas c;
    rasterSegmentF(c.buf(), 2.5f, 3.5f, 2.5f, 10.0f, kBlack);  // x 2, start row 4
    EXPECT_TRUE(c.on(2, 4));
    EXPECT_FALSE(c.on(2, 3));
    EXPECT_FALSE(c.on(3, 5));
}

namespace {

// Renders the polyline both ways and counts the pixels that differ.
int differences(const std::vector<float> &xs, const std::vector<float> &ys, int w, int h,
                int *drawn = nullptr) {
    Canvas merged(w, h), single(w, h);
    const PointMapping identity;  // X = x, Y = y
    drawPolyline(merged.buf(), xs.data(), ys.data(), int64_t(xs.size()), identity, kBlack, true);
    drawPolyline(single.buf(), xs.data(), ys.data(), int64_t(xs.size()), identity, kBlack, false);
    if (drawn) *drawn = single.count();
    int diff = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) diff += merged.on(x, y) != single.on(x, y);
    return diff;
}

}  // namespace

TEST(PolylineMerge, DenseNoisySeriesGivesIdenticalPixels) {
    std::mt19937 rng(7);
    std::normal_distribution<float> noise(0.0f, 12.0f);
    const int n = 200000;
    std::vector<float> xs(n), ys(n);
    for (int i = 0; i < n; ++i) {
        xs[size_t(i)] = 5.0f + 990.0f * float(i) / float(n);
        ys[size_t(i)] = 350.0f + 200.0f * std::sin(float(i) * 0.0005f) + noise(rng);
    }
    int drawn = 0;
    EXPECT_EQ(differences(xs, ys, 1000, 700, &drawn), 0);
    EXPECT_GT(drawn, 10000);
}

TEST(PolylineMerge, BackAndForthAndRepeatedPointsGiveIdenticalPixels) {
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> col(0, 40), row(-5, 45), repeat(0, 3);
    std::vector<float> xs, ys;
    for (int i = 0; i < 20000; ++i) {
        const float x = float(col(rng)), y = float(row(rng));
        for (int r = repeat(rng); r >= 0; --r) xs.push_back(x), ys.push_back(y);  // zero-length steps
    }
    EXPECT_EQ(differences(xs, ys, 40, 40), 0);
    // Ending on repeated points, in the column of the run and after leaving it.
    for (int end = 0; end < 200; ++end) {
        std::vector<float> a(xs.begin(), xs.begin() + 50 + end), b(ys.begin(), ys.begin() + 50 + end);
        a.push_back(a.back()), b.push_back(b.back());
        a.push_back(a.back()), b.push_back(b.back());
        ASSERT_EQ(differences(a, b, 40, 40), 0) << end;
    }
}

TEST(PolylineMerge, ChainsWithinOneColumnGiveIdenticalPixels) {
    // Every small chain inside one column, with the last point as a new extreme or not.
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> row(0, 12), len(1, 6);
    for (int t = 0; t < 3000; ++t) {
        std::vector<float> xs, ys;
        const int k = len(rng);
        for (int i = 0; i < k; ++i) xs.push_back(4.0f), ys.push_back(float(row(rng)));
        xs.push_back(float(4 + (t % 3) - 1)), ys.push_back(float(row(rng)));  // leave, stay or come back
        ASSERT_EQ(differences(xs, ys, 10, 14), 0) << "case " << t;
    }
}

TEST(PolylineMerge, FractionalAndFarPointsGiveIdenticalPixels) {
    std::mt19937 rng(5);
    std::uniform_real_distribution<float> x(-20.0f, 80.0f), y(-20.0f, 80.0f);
    std::vector<float> xs, ys;
    for (int i = 0; i < 5000; ++i) {
        xs.push_back(x(rng)), ys.push_back(y(rng));
        if (i % 97 == 0) xs.push_back(1e12f), ys.push_back(30.0f);          // far outside: clipped path
        if (i % 131 == 0) xs.push_back(NAN), ys.push_back(1.0f);            // breaks the line
        if (i % 53 == 0) xs.push_back(xs.back()), ys.push_back(ys.back());  // repeats before a break
    }
    EXPECT_EQ(differences(xs, ys, 60, 60), 0);
}

TEST(PolylineMerge, ShortRandomLinesWithRepeatsAndBreaksGiveIdenticalPixels) {
    std::mt19937 rng(19);
    std::uniform_int_distribution<int> coord(0, 5), len(2, 12), kind(0, 19);
    for (int t = 0; t < 20000; ++t) {
        std::vector<float> xs, ys;
        const int k = len(rng);
        for (int i = 0; i < k; ++i) {
            const int what = kind(rng);
            if (what == 0)
                xs.push_back(NAN), ys.push_back(2.0f);
            else if (what == 1)
                xs.push_back(3.0f), ys.push_back(-5e9f);
            else if (what < 6 && !xs.empty())
                xs.push_back(xs.back()), ys.push_back(ys.back());
            else
                xs.push_back(float(coord(rng)) + 0.4f * float(what % 3 - 1)), ys.push_back(float(coord(rng)));
        }
        ASSERT_EQ(differences(xs, ys, 6, 6), 0) << "case " << t;
    }
}

// Against QPainter::drawLine segment by segment the pixels differ in two ways only:
// QPainter covers the upper/left end of a segment whatever its direction (a segment drawn
// upward or leftward gets its end pixel instead of its start pixel) and draws a zero-length
// segment as a dot; and where a line passes exactly half-way between two pixels its
// fixed-point stepping may take the neighbouring one.
TEST(PolylineMerge, DiffersFromQPainterOnlyAtEndsAndHalfwayTies) {
    std::mt19937 rng(7);
    std::normal_distribution<float> noise(0.0f, 12.0f);
    const int n = 50000;
    std::vector<float> xs(n), ys(n);
    for (int i = 0; i < n; ++i) {
        xs[size_t(i)] = 5.0f + 590.0f * float(i) / float(n);
        ys[size_t(i)] = 200.0f + 120.0f * std::sin(float(i) * 0.0005f) + noise(rng);
    }
    Canvas ours(600, 400), qt(600, 400);
    drawPolyline(ours.buf(), xs.data(), ys.data(), n, PointMapping(), kBlack, true);
    QPainter p(&qt.img);
    p.setPen(QPen(Qt::black, 1));
    std::set<std::pair<int, int>> ends;
    for (int i = 0; i < n; ++i) ends.insert({toPixel(xs[size_t(i)]), toPixel(ys[size_t(i)])});
    for (int i = 1; i < n; ++i)
        p.drawLine(QPoint(toPixel(xs[size_t(i - 1)]), toPixel(ys[size_t(i - 1)])),
                   QPoint(toPixel(xs[size_t(i)]), toPixel(ys[size_t(i)])));
    p.end();
    int differ = 0;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 600; ++x)
            if (ours.on(x, y) != qt.on(x, y)) {
                ++differ;
                const Canvas &other = ours.on(x, y) ? qt : ours;
                const bool neighbour = (x > 0 && other.on(x - 1, y)) || (x < 599 && other.on(x + 1, y)) ||
                                       (y > 0 && other.on(x, y - 1)) || (y < 399 && other.on(x, y + 1));
                EXPECT_TRUE(ends.count({x, y}) || neighbour) << x << "," << y;
            }
    EXPECT_LT(differ, ours.count() / 50);
}

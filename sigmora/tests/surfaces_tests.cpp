// Colour scales, wire-frame and filled surfaces, contours and matrix pictures on a memory bitmap.
#include "draw_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr uint32_t kWhite = 0x00FFFFFF;

uint32_t rgb(int r, int g, int b) {
    return (r & 255) | (g & 255) << 8 | (b & 255) << 16;
}

// The colour scales written out from their definitions, level by level.
uint32_t referenceColour(int level, int palette) {
    const int a = ((level % 256) + 256) % 256, n = 255 - a;
    const int half = 127 + level / 2, q = static_cast<int>(0.75 * level);
    switch (palette) {
        case 1: return rgb(255, a, a);
        case 2: return rgb(a, 0, n);
        case 3: return rgb(n, 0, a);
        case 4: return rgb(0, n, a);
        case 5: return rgb(0, a, n);
        case 6: return rgb(a, n, 0);
        case 7: return rgb(n, a, 0);
        case 8: return rgb(255, n, 0);
        case 9: return rgb(255, a, 0);
        case 10: return rgb(255, 0, n);
        case 11: return rgb(255, 0, a);
        case 12: return rgb(0, n, 255);
        case 13: return rgb(0, a, 255);
        case 14: return rgb(n, n, n);
        case 15: return rgb(a, a, a);
        case 16: return rgb(n, a, n);
        case 17: return rgb(a, n, n);
        case 18: return rgb(half, q, q);
        case 19: return rgb(q, half, q);
        case 20: return rgb(q, q, half);
        default: return rgb(255, n, n);
    }
}

// The parallel projection of the mesh exports, written out for the tests.
struct ReferenceProjection {
    double nx, ny, zmin, zmax, az, el;
    int32_t left, top, right, bottom;
    void at(double x, double y, double z, int32_t &X, int32_t &Y) const {
        const double k = 0.01745329237161969, ca = std::cos(az * k), sa = std::sin(az * k);
        const double ce = std::cos(el * k), se = std::sin(el * k);
        const double a = (std::fabs(ca) + std::fabs(sa)) / 2,
                     b = ((std::fabs(ca) + std::fabs(sa)) * std::fabs(se) + std::fabs(ce)) / 2;
        const double sx = (right - left) / (2 * a), sy = (bottom - top) / (2 * b);
        const double u = (x - nx / 2) / nx, v = (y - ny / 2) / ny,
                     w = (z - (zmin + zmax) / 2) / (zmax - zmin);
        X = static_cast<int32_t>((u * ca - v * sa) * sx) + (left + right) / 2;
        Y = (top + bottom) / 2 - static_cast<int32_t>(sy * (w * ce - (v * ca + u * sa) * se));
    }
};

}  // namespace

TEST(ZAxisToLColor, EveryScaleAtItsEndPointsAndMiddle) {
    for (int palette = 0; palette <= 22; ++palette)
        for (int level : {0, 1, 127, 128, 254, 255})
            EXPECT_EQ(ZAxisToLColor(level, palette), referenceColour(level, palette))
                << palette << " " << level;
    EXPECT_EQ(ZAxisToLColor(0, 14), 0x00FFFFFFu);
    EXPECT_EQ(ZAxisToLColor(255, 14), 0x00000000u);
    EXPECT_EQ(ZAxisToLColor(255, 18), rgb(254, 191, 191));
    EXPECT_EQ(ZAxisToLColor(0, 20), rgb(0, 0, 127));
    for (int level = 0; level < 256; level += 17) {
        EXPECT_EQ(ZAxisToLColor(level, 0), ZAxisToLColor(level, 25));
        EXPECT_EQ(ZAxisToLColor(level, 21), ZAxisToLColor(level, 0));
        EXPECT_EQ(ZAxisToLColor(level + 256, 3), ZAxisToLColor(level, 3));  // levels wrap modulo 256
    }
}

TEST(ContourMatrix, PlaneRisingInXGivesStraightVerticalLines) {
    TestSurface s(820, 640);
    const int32_t nx = 8, ny = 6;
    std::vector<float> z(nx * ny);
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i) z[j * nx + i] = static_cast<float>(i);
    const int32_t rect[4] = {10, 20, 810, 620};  // cells of 100 x 100 pixels
    const int32_t style[2] = {0x000000, 2};
    ASSERT_EQ(ContourMatrix(s.get(), z.data(), nx, ny, 4, rect, style), 1);
    // Levels 1.75, 3.5 and 5.25 (7 / 4 apart, the fourth would reach zmax): vertical lines from
    // the first row of nodes (y = 570) to the last (y = 70), where the bottom edge of a cell
    // crosses the level: t = (level - i) / (1 + 1e-6) from node i, at left + (i + t) 100 + 50.
    const double levels[3] = {1.75, 3.5, 5.25};
    for (int k = 0; k < 3; ++k) {
        const uint32_t colour = ZAxisToLColor(static_cast<int>(255.0 / 4 * k), 2);
        const double i = std::floor(levels[k]), t = (levels[k] - i) / (1 + 1e-6);
        const int32_t x = static_cast<int32_t>(10 + (i + t) * 100 + 50);
        EXPECT_EQ(s.count([&](int32_t px, int32_t py, uint32_t c) {
            return c == colour && px == x && py > 70 && py <= 570;
        }),
                  500)
            << k;
        EXPECT_EQ(s.count([&](int32_t px, int32_t py, uint32_t c) {
            return c == colour && (px != x || py < 70 || py > 570);
        }),
                  0)
            << k;
    }
    // Frame and axes in the pen colour, letters beside them.
    EXPECT_EQ(s.at(400, 20), 0u);
    EXPECT_EQ(s.at(810, 300), 0u);
    EXPECT_EQ(s.at(400, 620), 0u);
}

TEST(ContourMatrix, SingleColourFlatMatrixAndRefusals) {
    TestSurface s(120, 120);
    std::vector<float> z(25, 5.0f);
    const int32_t rect[4] = {10, 10, 110, 110};
    const int32_t style[2] = {0x0000FF, -1};
    // A flat matrix is widened by 0.1 either side; no edge crosses a level.
    ASSERT_EQ(ContourMatrix(s.get(), z.data(), 5, 5, 4, rect, style), 1);
    EXPECT_EQ(s.count([](int32_t x, int32_t y, uint32_t c) {
        return c == 0x0000FF && x > 16 && x < 108 && y > 12 && y < 100;
    }),
              0);
    EXPECT_EQ(s.at(60, 10), 0x0000FFu);

    TestSurface t(120, 120);
    EXPECT_EQ(ContourMatrix(t.get(), z.data(), 2, 5, 4, rect, style), 0);
    EXPECT_EQ(ContourMatrix(t.get(), z.data(), 5, 2, 4, rect, style), 0);
    EXPECT_EQ(ContourMatrix(t.get(), z.data(), 5, 5, 0, rect, style), 0);
    EXPECT_EQ(ContourMatrix(t.get(), z.data(), 5, 5, 100000, rect, style), 0);
    EXPECT_EQ(ContourMatrix(t.get(), z.data(), 5, 5, 4, nullptr, style), 0);
    EXPECT_EQ(ContourMatrix(t.get(), z.data(), 5, 5, 4, rect, nullptr), 0);
    EXPECT_EQ(ContourMatrix(t.get(), z.data(), 1 << 14, 1 << 14, 4, rect, style),
              0);  // beyond the element cap
    z[7] = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(ContourMatrix(t.get(), z.data(), 5, 5, 4, rect, style), 0);
    EXPECT_EQ(t.nonWhite(), 0);
}

namespace {

// A mesh of ny = 4 rows seen from azimuth 0: the front row (3) is low, rows 2 and 1 high, and
// the back row 0 half-way up, so that on the screen it lies between the front rows' lines.
struct OccludedRow {
    static constexpr int32_t nx = 9, ny = 4;
    std::vector<float> z = std::vector<float>(nx * ny);
    int32_t param[11] = {0, 0, 30, 0x0000FF, 0x00FF00, 0, 0, 0, 400, 300, 0};
    OccludedRow() {
        const float rows[ny] = {0.5f, 1.0f, 1.0f, 0.0f};
        for (int j = 0; j < ny; ++j)
            for (int i = 0; i < nx; ++i) z[j * nx + i] = rows[j];
    }
    int32_t rowY(int j) const {
        const float rows[ny] = {0.5f, 1.0f, 1.0f, 0.0f};
        const ReferenceProjection p{nx, ny, 0, 1, 0, 30, 0, 0, 400, 300};
        int32_t X, Y;
        p.at(4, j, rows[j], X, Y);
        return Y;
    }
    static int64_t redInRow(const TestSurface &s, int32_t y) {
        return s.count(
            [y](int32_t, int32_t py, uint32_t c) { return c == 0x0000FF && py >= y - 1 && py <= y + 1; });
    }
};

}  // namespace

TEST(MeshMatrix, HiddenLineRemovalHidesAnOccludedRow) {
    OccludedRow m;
    const int32_t y0 = m.rowY(0), y1 = m.rowY(1), y3 = m.rowY(3);
    ASSERT_LT(y1, y0);  // row 0 lies between the high row 1 and the low front row 3 on the screen
    ASSERT_GT(y3, y0);
    TestSurface plain(401, 301);
    ASSERT_EQ(MeshMatrix(plain.get(), m.z.data(), m.nx, m.ny, m.param), 1);
    EXPECT_GT(OccludedRow::redInRow(plain, y0), 100);

    m.param[5] = 2;
    TestSurface hidden(401, 301);
    ASSERT_EQ(MeshMatrix(hidden.get(), m.z.data(), m.nx, m.ny, m.param), 1);
    EXPECT_EQ(OccludedRow::redInRow(hidden, y0), 0);
    EXPECT_GT(OccludedRow::redInRow(hidden, y3), 100);  // the front row stays
    EXPECT_GT(OccludedRow::redInRow(hidden, y1), 100);
    // The axes are drawn in their own colour either way.
    EXPECT_GT(hidden.countColour(0x00FF00), 0);
}

TEST(MeshMatrix, VerticesLieAtTheirProjectedPlaces) {
    const int32_t nx = 6, ny = 5;
    std::vector<float> z(nx * ny);
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i) z[j * nx + i] = static_cast<float>(std::sin(i * 0.7) + 0.3 * j);
    for (int az : {20, 120, 200, 300}) {
        const int32_t param[11] = {1, az, 35, 0x0000FF, 0x00FF00, 1, 10, 10, 310, 250, 0};
        TestSurface s(320, 260);
        ASSERT_EQ(MeshMatrix(s.get(), z.data(), nx, ny, param), 1);
        float lo = z[0], hi = z[0];
        for (float v : z) {
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
        const ReferenceProjection q{nx, ny, lo, hi, double(az), 35, 10, 10, 310, 250};
        // Every vertex but the last of each row or column starts a segment; the interior ones
        // all do in both passes, so each is drawn in the mesh colour.
        for (int j = 1; j + 1 < ny; ++j)
            for (int i = 1; i + 1 < nx; ++i) {
                int32_t X, Y;
                q.at(i, j, z[j * nx + i], X, Y);
                EXPECT_EQ(s.at(X, Y), 0x0000FFu) << az << " " << i << "," << j;
            }
    }
}

TEST(MeshMatrix, RefusesSizesItCannotDrawAndDrawsFlatMatrices) {
    std::vector<float> z(1025 * 2, 1.0f);
    const int32_t param[11] = {1, 30, 30, 0x0000FF, 0x00FF00, 3, 0, 0, 200, 200, 0};
    TestSurface s(210, 210);
    EXPECT_EQ(MeshMatrix(s.get(), z.data(), 1025, 2, param), 0);
    EXPECT_EQ(MeshMatrix(s.get(), z.data(), 0, 2, param), 0);
    EXPECT_EQ(MeshMatrix(s.get(), z.data(), 2, -1, param), 0);
    EXPECT_EQ(MeshMatrix(s.get(), nullptr, 2, 2, param), 0);
    EXPECT_EQ(MeshMatrix(s.get(), z.data(), 2, 2, nullptr), 0);
    EXPECT_EQ(MeshMatrix(nullptr, z.data(), 2, 2, param), 0);
    const int32_t empty[11] = {1, 30, 30, 0x0000FF, 0x00FF00, 3, 50, 0, 50, 200, 0};
    EXPECT_EQ(MeshMatrix(s.get(), z.data(), 2, 2, empty), 0);
    EXPECT_EQ(FillMeshMatrix(s.get(), z.data(), 2, 2, empty), 0);
    EXPECT_EQ(FillMeshMatrix(s.get(), z.data(), 1 << 14, 1 << 14, param), 0);
    std::vector<float> bad(4, 1.0f);
    bad[2] = std::numeric_limits<float>::infinity();
    EXPECT_EQ(MeshMatrix(s.get(), bad.data(), 2, 2, param), 0);
    EXPECT_EQ(s.nonWhite(), 0);
    // A flat matrix (zmax = zmin) is drawn flat, with hidden lines too.
    EXPECT_EQ(MeshMatrix(s.get(), z.data(), 1024, 2, param), 1);
    EXPECT_GT(s.countColour(0x0000FF), 0);
    EXPECT_EQ(FillMeshMatrix(s.get(), z.data(), 8, 8, param), 1);
}

TEST(FillMeshMatrix, CellsAreFilledWithTheColourOfTheirHeight) {
    // Seen from straight above, cell (i, j) of z = i is the rectangle between its corners, coloured
    // by the height of its next corner along the row, i + 1.
    const int32_t nx = 4, ny = 3;
    std::vector<float> z(nx * ny);
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i) z[j * nx + i] = static_cast<float>(i);
    const int32_t param[11] = {0, 0, 90, -1, 0x000000, 0, 0, 0, 400, 300, 9};
    TestSurface s(401, 301);
    ASSERT_EQ(FillMeshMatrix(s.get(), z.data(), nx, ny, param), 1);
    const ReferenceProjection p{nx, ny, 0, 3, 0, 90, 0, 0, 400, 300};
    for (int j = 0; j + 1 < ny; ++j)
        for (int i = 0; i + 1 < nx; ++i) {
            int32_t x0, y0, x1, y1;
            p.at(i, j, z[j * nx + i], x0, y0);
            p.at(i + 1, j + 1, z[j * nx + i + 1], x1, y1);
            const uint32_t want = ZAxisToLColor(static_cast<int>((i + 1) * 255.0 / 3), 9);
            EXPECT_EQ(s.at((x0 + x1) / 2, (y0 + y1) / 2), want) << i << "," << j;
        }
}

TEST(MatPicturize, SamplesTheMatrixAtKnownCells) {
    // z = 4 r + c over 4 x 4 is linear, so the interpolation is exact: picture row r (0 at the
    // bottom) and column p of an 8 x 8 picture show 4 (r / 2) + p / 2, scaled over 0 .. 15.
    std::vector<float> z(16);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) z[r * 4 + c] = static_cast<float>(4 * r + c);
    TestSurface s(40, 40);
    ASSERT_EQ(MatPicturize(s.get(), z.data(), 4, 4, 15, 10, 12, 8, 8), 1);
    for (int r = 0; r < 8; ++r)
        for (int p = 0; p < 8; ++p) {
            const double v = 4 * (r / 2.0) + p / 2.0;
            const int level = std::min(255, static_cast<int>(v / 15.0 * 255.0));
            EXPECT_EQ(s.at(10 + p, 12 + 7 - r), ZAxisToLColor(level, 15)) << r << "," << p;
        }
    // The axis line left of and below the picture, and the letter O under its corner.
    EXPECT_EQ(s.at(9, 15), 0u);
    EXPECT_EQ(s.at(14, 21), 0u);
    EXPECT_EQ(s.at(11, 20), 0u);  // top row of the O glyph at (10, 20)
}

TEST(MatRGBPicturize, EachChannelHasItsOwnScale) {
    std::vector<float> red(16), green(16, 2.0f), blue(16);
    for (int k = 0; k < 16; ++k) {
        red[k] = static_cast<float>(k);
        blue[k] = static_cast<float>(-10 * k);
    }
    TestSurface s(30, 30);
    ASSERT_EQ(MatRGBPicturize(s.get(), red.data(), green.data(), blue.data(), 4, 4, 5, 5, 4, 4), 1);
    for (int r = 0; r < 4; ++r)
        for (int p = 0; p < 4; ++p) {
            // One picture pixel per cell: cell (r, p) exactly.
            const int k = 4 * r + p;
            const uint32_t want =
                rgb(static_cast<int>(k / 15.0 * 255.0), 0, static_cast<int>((-10.0 * k + 150) / 150 * 255.0));
            EXPECT_EQ(s.at(5 + p, 5 + 3 - r), want) << r << "," << p;
        }
}

TEST(MatPicturize, RefusesAbsurdPicturesAndDrawsFlatOnes) {
    std::vector<float> z(9, 3.0f);
    TestSurface s(20, 20);
    EXPECT_EQ(MatPicturize(s.get(), z.data(), 3, 3, 1, 0, 0, 0, 5), 0);
    EXPECT_EQ(MatPicturize(s.get(), z.data(), 3, 3, 1, 0, 0, 5, -1), 0);
    EXPECT_EQ(MatPicturize(s.get(), z.data(), 3, 3, 1, 0, 0, SIGMORA_SURFACE_MAX_SIDE + 1, 1), 0);
    EXPECT_EQ(MatPicturize(s.get(), z.data(), 3, 3, 1, 0, 0, SIGMORA_SURFACE_MAX_SIDE, 4096), 0);
    EXPECT_EQ(MatPicturize(s.get(), z.data(), 0, 3, 1, 0, 0, 5, 5), 0);
    EXPECT_EQ(MatPicturize(s.get(), z.data(), 1 << 14, 1 << 14, 1, 0, 0, 5, 5), 0);
    EXPECT_EQ(MatRGBPicturize(s.get(), z.data(), nullptr, z.data(), 3, 3, 0, 0, 5, 5), 0);
    EXPECT_EQ(s.nonWhite(), 0);
    // Entirely off the surface: nothing is drawn, so 0.
    EXPECT_EQ(MatPicturize(s.get(), z.data(), 3, 3, 1, 100, 100, 5, 5), 0);
    // A flat matrix is level 0 everywhere.
    ASSERT_EQ(MatPicturize(s.get(), z.data(), 3, 3, 13, 5, 5, 6, 6), 1);
    EXPECT_EQ(s.at(7, 7), ZAxisToLColor(0, 13));
    EXPECT_EQ(s.at(10, 10), ZAxisToLColor(0, 13));
}

namespace {

// A surface of the test's own that records the first corner of every polygon drawn.
struct PolygonRecorder {
    std::vector<SigmoraPoint> firstCorners;
    SigmoraSurface surface{};
    PolygonRecorder() {
        surface.user = this;
        surface.polygon = [](void *user, const SigmoraPoint *pts, int32_t n) {
            if (n > 0) static_cast<PolygonRecorder *>(user)->firstCorners.push_back(pts[0]);
        };
    }
};

}  // namespace

TEST(FillMeshMatrix, PaintsCellsFromTheBackCornerForEveryAzimuth) {
    // Within a row the cells must come in order of growing depth towards the viewer, d = v cos(az)
    // + u sin(az) (larger d is nearer), and the rows in order of growing v cos(az).
    const int32_t nx = 5, ny = 4;
    std::vector<float> z(nx * ny);
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i) z[j * nx + i] = 0.01f * static_cast<float>(i + 7 * j);
    for (int az : {45, 135, 225, 315}) {
        PolygonRecorder rec;
        const int32_t param[11] = {0, az, 40, -1, 0, 0, 0, 0, 4000, 3000, 1};
        ASSERT_EQ(FillMeshMatrix(&rec.surface, z.data(), nx, ny, param), 1);
        ASSERT_EQ(rec.firstCorners.size(), static_cast<size_t>((nx - 1) * (ny - 1)));
        const ReferenceProjection p{nx, ny,   0,   0.01 * (nx - 1 + 7 * (ny - 1)), double(az), 40, 0,
                                    0,  4000, 3000};
        const double k = 0.01745329237161969, ca = std::cos(az * k), sa = std::sin(az * k);
        double lastRowDepth = -1e9, lastDepth = -1e9;
        int lastJ = -1;
        for (const SigmoraPoint &pt : rec.firstCorners) {
            int ci = -1, cj = -1;
            for (int j = 0; j < ny; ++j)
                for (int i = 0; i < nx; ++i) {
                    int32_t X, Y;
                    p.at(i, j, z[j * nx + i], X, Y);
                    if (X == pt.x && Y == pt.y) {
                        ci = i;
                        cj = j;
                    }
                }
            ASSERT_GE(ci, 0) << az;
            const double u = (ci + 0.5 - nx / 2.0) / nx, v = (cj + 0.5 - ny / 2.0) / ny;
            if (cj != lastJ) {
                EXPECT_GT(v * ca, lastRowDepth) << az;
                lastRowDepth = v * ca;
                lastDepth = -1e9;
                lastJ = cj;
            }
            EXPECT_GT(v * ca + u * sa, lastDepth) << az << " cell " << ci << "," << cj;
            lastDepth = v * ca + u * sa;
        }
    }
}

// Three-point 2-D interpolation against quadratics and a double-precision Lagrange reference;
// bilinear resampling against the bilinear formula in double precision; refused arguments.
#include "sigmora.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

double quad(double u, double v) { return 1.5 - 0.7 * u + 0.25 * v + 0.3 * u * u - 0.2 * u * v + 0.1 * v * v; }

struct Table {
    std::vector<float> x, y, z;
};

// Unevenly spaced increasing abscissas; z = f(x, y).
template <class F> Table makeTable(int nx, int ny, F f) {
    Table t;
    for (int i = 0; i < nx; ++i)
        t.x.push_back(static_cast<float>(i * 0.5 + 0.05 * i * i));
    for (int j = 0; j < ny; ++j)
        t.y.push_back(static_cast<float>(-1.0 + j * 0.75 + 0.02 * j * j));
    for (int i = 0; i < nx; ++i)
        for (int j = 0; j < ny; ++j)
            t.z.push_back(static_cast<float>(f(t.x[i], t.y[j])));
    return t;
}

float at(const Table &t, float u, float v) {
    return Inter2DESpace(t.x.data(), t.y.data(), t.z.data(), static_cast<int32_t>(t.x.size()),
                         static_cast<int32_t>(t.y.size()), u, v);
}

TEST(Inter2DESpace, ReproducesTheNodes) {
    Table t = makeTable(7, 5, [](double u, double v) { return std::sin(u) * std::cos(v) + u; });
    for (size_t i = 0; i < t.x.size(); ++i)
        for (size_t j = 0; j < t.y.size(); ++j)
            EXPECT_NEAR(at(t, t.x[i], t.y[j]), t.z[i * t.y.size() + j], 1e-5) << i << "," << j;
}

TEST(Inter2DESpace, QuadraticsAreExactInsideAndAtTheEdges) {
    for (int nx : {3, 4, 9}) {
        for (int ny : {3, 6}) {
            Table t = makeTable(nx, ny, quad);
            std::mt19937 gen(nx * 10 + ny);
            std::uniform_real_distribution<float> du(t.x.front() - 0.3f, t.x.back() + 0.3f);
            std::uniform_real_distribution<float> dv(t.y.front() - 0.3f, t.y.back() + 0.3f);
            for (int k = 0; k < 200; ++k) {
                float u = du(gen), v = dv(gen);
                EXPECT_NEAR(at(t, u, v), quad(u, v), 2e-5 * (1 + std::fabs(quad(u, v))))
                    << nx << "x" << ny << " at " << u << "," << v;
            }
        }
    }
}

// The node choice: with the nodes 0..5 and u = 2.4 the nodes 1, 2, 3 are used (2.4 is nearer 2),
// with u = 2.5 the nodes 2, 3, 4 (at least as near 3); a cubic tells the two windows apart.
TEST(Inter2DESpace, ChoosesTheNearestThreeNodes) {
    std::vector<float> x{0, 1, 2, 3, 4, 5}, y{0, 1, 2};
    std::vector<float> z;
    auto cubic = [](double u) { return u * u * u; };
    for (float xi : x)
        for (int j = 0; j < 3; ++j)
            z.push_back(static_cast<float>(cubic(xi)));
    auto lagrange3 = [&](int first, double u) {
        double s = 0;
        for (int a = 0; a < 3; ++a) {
            double l = 1;
            for (int b = 0; b < 3; ++b)
                if (b != a)
                    l *= (u - (first + b)) / double(a - b);
            s += cubic(first + a) * l;
        }
        return s;
    };
    EXPECT_NEAR(Inter2DESpace(x.data(), y.data(), z.data(), 6, 3, 2.4f, 1.0f), lagrange3(1, 2.4f), 1e-4);
    EXPECT_NEAR(Inter2DESpace(x.data(), y.data(), z.data(), 6, 3, 2.5f, 1.0f), lagrange3(2, 2.5f), 1e-4);
    EXPECT_NEAR(Inter2DESpace(x.data(), y.data(), z.data(), 6, 3, 0.7f, 1.0f), lagrange3(0, 0.7f), 1e-4);
    EXPECT_NEAR(Inter2DESpace(x.data(), y.data(), z.data(), 6, 3, 4.2f, 1.0f), lagrange3(3, 4.2f), 1e-4);
}

TEST(Inter2DESpace, SmallTablesAndRefusals) {
    std::vector<float> x{0, 2}, y{1}, z{3, 7};
    EXPECT_FLOAT_EQ(Inter2DESpace(x.data(), y.data(), z.data(), 2, 1, 0.5f, 9.0f), 4.0f);
    EXPECT_FLOAT_EQ(Inter2DESpace(x.data(), y.data(), z.data(), 1, 1, 0.5f, 9.0f), 3.0f);
    EXPECT_EQ(Inter2DESpace(x.data(), y.data(), z.data(), 0, 1, 0.5f, 9.0f), 0.0f);
    EXPECT_EQ(Inter2DESpace(x.data(), y.data(), z.data(), 2, -1, 0.5f, 9.0f), 0.0f);
    EXPECT_EQ(Inter2DESpace(nullptr, y.data(), z.data(), 2, 1, 0.5f, 9.0f), 0.0f);
    std::vector<float> same{1, 1};
    EXPECT_TRUE(std::isnan(Inter2DESpace(same.data(), y.data(), z.data(), 2, 1, 0.5f, 9.0f)));
}

TEST(FastInter2D, TwoByTwoExample) {
    std::vector<float> src{0, 1, 2, 3}, dst(4, -1);
    ASSERT_EQ(FastInter2D(src.data(), 2, 2, dst.data(), 2, 2), 1);
    EXPECT_EQ(dst, (std::vector<float>{0, 0.5f, 1, 1.5f}));
}

TEST(FastInter2D, MatchesTheBilinearFormula) {
    const int rows = 7, cols = 11;
    std::vector<float> src(rows * cols);
    std::mt19937 gen(5);
    std::uniform_real_distribution<float> d(-10, 10);
    for (auto &s : src)
        s = d(gen);
    for (auto [outRows, outCols] : {std::pair{3, 5}, std::pair{20, 13}, std::pair{6, 10}, std::pair{1, 1}}) {
        std::vector<float> dst(outRows * outCols);
        ASSERT_EQ(FastInter2D(src.data(), rows, cols, dst.data(), outRows, outCols), 1);
        for (int i = 0; i < outRows; ++i)
            for (int j = 0; j < outCols; ++j) {
                double r = i * double(rows - 1) / outRows, c = j * double(cols - 1) / outCols;
                int r0 = int(r), c0 = int(c);
                double fr = r - r0, fc = c - c0;
                auto s = [&](int a, int b) { return double(src[a * cols + b]); };
                double ref = (1 - fr) * (1 - fc) * s(r0, c0) + fr * (1 - fc) * s(r0 + 1, c0) +
                             (1 - fr) * fc * s(r0, c0 + 1) + fr * fc * s(r0 + 1, c0 + 1);
                EXPECT_NEAR(dst[i * outCols + j], ref, 1e-4) << i << "," << j;
            }
    }
}

TEST(FastInter2D, LinearGridIsReproduced) {
    const int rows = 5, cols = 4;
    std::vector<float> src(rows * cols);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            src[r * cols + c] = 2.0f * r - 3.0f * c + 1.0f;
    std::vector<float> dst(8 * 9);
    ASSERT_EQ(FastInter2D(src.data(), rows, cols, dst.data(), 8, 9), 1);
    for (int i = 0; i < 8; ++i)
        for (int j = 0; j < 9; ++j) {
            double r = i * 4.0 / 8, c = j * 3.0 / 9;
            EXPECT_NEAR(dst[i * 9 + j], 2 * r - 3 * c + 1, 1e-5);
        }
}

TEST(FastInter2D, RefusalsWriteNothing) {
    std::vector<float> src{0, 1, 2, 3}, dst(4, -1);
    EXPECT_EQ(FastInter2D(src.data(), 1, 4, dst.data(), 2, 2), 0);
    EXPECT_EQ(FastInter2D(src.data(), 4, 1, dst.data(), 2, 2), 0);
    EXPECT_EQ(FastInter2D(src.data(), 2, 2, dst.data(), -1, 2), 0);
    EXPECT_EQ(FastInter2D(nullptr, 2, 2, dst.data(), 2, 2), 0);
    EXPECT_EQ(FastInter2D(src.data(), 2, 2, nullptr, 2, 2), 0);
    EXPECT_EQ(dst, (std::vector<float>(4, -1)));
    EXPECT_EQ(FastInter2D(src.data(), 2, 2, dst.data(), 0, 2), 1);
    EXPECT_EQ(dst, (std::vector<float>(4, -1)));
}

} // namespace

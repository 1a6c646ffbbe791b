// Linear systems, polynomial roots and linear programming against double references computed
// here (residuals scaled by the condition number, known roots, programmes with known optima).
#include "numora.h"

#include "linalg_reference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <random>
#include <vector>

namespace {

using ref::kFloatEps;

class LinsysTest : public ::testing::Test {
  protected:
    void SetUp() override { setErrorCode(0); }
    void TearDown() override { setPrecision(1.0e-6f); }
};

const int kAllSelectors[] = {0, 1, 2, 4, 6, 7};

TEST_F(LinsysTest, EverySelectorSolvesTheSmallExample) {
    const std::vector<float> a = {2, 1, 1, 3}, b = {3, 5};
    for (int sel : kAllSelectors) {
        std::vector<float> x(2, -1.0f);
        ASSERT_EQ(SolutionEQs(a.data(), 2, 2, b.data(), x.data(), sel), 1) << sel;
        EXPECT_NEAR(x[0], 0.8f, 1e-6) << sel;
        EXPECT_NEAR(x[1], 1.4f, 1e-6) << sel;
    }
    EXPECT_EQ(a, (std::vector<float>{2, 1, 1, 3}));
    EXPECT_EQ(b, (std::vector<float>{3, 5}));
}

TEST_F(LinsysTest, RandomSystemsHaveSmallResidualsAndErrorsScaledByCondition) {
    for (int n : {1, 4, 30, 97}) {
        const std::vector<float> a = ref::randomMatrix(n, n, 100u + n);
        const std::vector<float> xs = ref::randomMatrix(n, 1, 200u + n);
        const ref::Matrix ad = ref::toDouble(a);
        const std::vector<float> b = ref::toFloat(ref::multiply(ad, ref::toDouble(xs), n, n, 1));
        const double cond = ref::condition(ad, n);
        for (int sel : kAllSelectors) {
            std::vector<float> x(n);
            ASSERT_EQ(SolutionEQs(a.data(), n, n, b.data(), x.data(), sel), 1) << n << " sel " << sel;
            const ref::Matrix ax = ref::multiply(ad, ref::toDouble(x), n, n, 1);
            double residual = 0.0, error = 0.0, xnorm = 0.0;
            for (int i = 0; i < n; ++i) {
                residual = std::max(residual, std::fabs(ax[i] - b[i]));
                error = std::max(error, std::fabs(static_cast<double>(x[i]) - xs[i]));
                xnorm = std::max(xnorm, std::fabs(static_cast<double>(xs[i])));
            }
            const double anorm = ref::normInf(ad, n, n);
            EXPECT_LT(residual, 8.0 * n * kFloatEps * anorm * xnorm) << n << " sel " << sel;
            EXPECT_LT(error, 8.0 * n * cond * kFloatEps * xnorm) << n << " sel " << sel;
        }
    }
    EXPECT_EQ(getErrorCode(), 0);
}

TEST_F(LinsysTest, SparseGaussJordanMatchesTheDenseOne) {
    const int n = 40;  // tridiagonal
    std::vector<float> a(n * n, 0.0f), b(n);
    for (int i = 0; i < n; ++i) {
        a[i * n + i] = 4.0f;
        if (i > 0) a[i * n + i - 1] = -1.0f;
        if (i + 1 < n) a[i * n + i + 1] = -1.5f;
        b[i] = (i % 3 == 0) ? 0.0f : 1.0f + 0.1f * i;
    }
    std::vector<float> dense(n), sparse(n);
    ASSERT_EQ(SolutionEQs(a.data(), n, n, b.data(), dense.data(), 1), 1);
    ASSERT_EQ(SolutionEQs(a.data(), n, n, b.data(), sparse.data(), 4), 1);
    for (int i = 0; i < n; ++i) EXPECT_FLOAT_EQ(dense[i], sparse[i]);
}

TEST_F(LinsysTest, OverdeterminedSystemsNeedSixOrSeven) {
    const int m = 12, n = 3;
    const std::vector<float> a = ref::randomMatrix(m, n, 5), b = ref::randomMatrix(m, 1, 6);
    const std::vector<double> want = ref::leastSquares(ref::toDouble(a), ref::toDouble(b), m, n);
    for (int sel : {6, 7}) {
        std::vector<float> x(n);
        ASSERT_EQ(SolutionEQs(a.data(), m, n, b.data(), x.data(), sel), 1) << sel;
        for (int i = 0; i < n; ++i) EXPECT_NEAR(x[i], want[i], 1e-5) << sel;
    }
    for (int sel : {0, 1, 4}) {
        std::vector<float> x(n, 9.0f);
        setErrorCode(0);
        EXPECT_EQ(SolutionEQs(a.data(), m, n, b.data(), x.data(), sel), 0);
        EXPECT_EQ(getErrorCode(), NUMORA_ERR_NOT_SQUARE);
        EXPECT_EQ(x, std::vector<float>(n, 9.0f));
    }
    std::vector<float> x(m);
    setErrorCode(0);
    EXPECT_EQ(SolutionEQs(a.data(), n, m, b.data(), x.data(), 6), 0);  // 3 x 12: under-determined
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_NOT_SQUARE);
}

TEST_F(LinsysTest, SingularSystemsFailWithTheirCodes) {
    // Singular up to rounding: rows in arithmetic progression.
    const std::vector<float> a = {1, 2, 3, 4, 5, 6, 7, 8, 9}, b = {6, 15, 24};
    for (int sel : {0, 1, 4}) {
        std::vector<float> x(3, 9.0f);
        setErrorCode(0);
        EXPECT_EQ(SolutionEQs(a.data(), 3, 3, b.data(), x.data(), sel), 0) << sel;
        EXPECT_EQ(getErrorCode(), NUMORA_ERR_SINGULAR) << sel;
        EXPECT_EQ(x, std::vector<float>(3, 9.0f));
    }
    // QR on a square singular system: the last diagonal element of R is checked too.
    std::vector<float> x(3, 9.0f);
    setErrorCode(0);
    EXPECT_EQ(SolutionEQs(a.data(), 3, 3, b.data(), x.data(), 6), 0);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_QR);
    // The generalized inverse gives the minimum-norm solution (1, 1, 1): rounding-sized
    // singular values count as zero.
    ASSERT_EQ(SolutionEQs(a.data(), 3, 3, b.data(), x.data(), 7), 1);
    for (float v : x) EXPECT_NEAR(v, 1.0f, 1e-4);
    const std::vector<float> ones = {1, 1, 1, 1}, two = {2, 2};
    ASSERT_EQ(SolutionEQs(ones.data(), 2, 2, two.data(), x.data(), 7), 1);
    EXPECT_NEAR(x[0], 1.0f, 1e-6);
    EXPECT_NEAR(x[1], 1.0f, 1e-6);
}

TEST_F(LinsysTest, SvdStopsAtItsIterationLimit) {
    const std::vector<float> a = ref::randomMatrix(8, 5, 9), b = ref::randomMatrix(8, 1, 10);
    std::vector<float> x(5, 9.0f);
    setPrecision(-1.0f);  // nothing ever counts as converged
    EXPECT_EQ(SolutionEQs(a.data(), 8, 5, b.data(), x.data(), 7), 0);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_SVD);
    EXPECT_EQ(x, std::vector<float>(5, 9.0f));
}

TEST_F(LinsysTest, BadSizesAndPointers) {
    std::vector<float> a(4, 1.0f), b(2, 1.0f), x(2, 9.0f);
    for (auto mn : {std::pair{0, 2}, std::pair{2, -1}, std::pair{-2, -2}}) {
        setErrorCode(0);
        EXPECT_EQ(SolutionEQs(a.data(), mn.first, mn.second, b.data(), x.data(), 0), 0);
        EXPECT_EQ(getErrorCode(), NUMORA_ERR_OTHER);
    }
    setErrorCode(0);
    EXPECT_EQ(SolutionEQs(a.data(), 50000, 50000, b.data(), x.data(), 0), 0);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_ALLOC);
    EXPECT_EQ(SolutionEQs(a.data(), 2, 2, nullptr, x.data(), 0), 0);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_NULL);
    EXPECT_EQ(x, std::vector<float>(2, 9.0f));
}

// Coefficients (a[i] of z^i) of the monic polynomial with the given roots, in double.
std::vector<double> fromRoots(const std::vector<std::complex<double>> &roots) {
    std::vector<std::complex<double>> c = {1.0};
    for (auto r : roots) {
        std::vector<std::complex<double>> next(c.size() + 1, 0.0);
        for (std::size_t i = 0; i < c.size(); ++i) {
            next[i + 1] += c[i];
            next[i] -= r * c[i];
        }
        c = next;
    }
    std::vector<double> out;
    for (auto v : c) out.push_back(v.real());
    return out;
}

// Largest distance from each wanted root to the nearest found root.
double rootDistance(const std::vector<std::complex<double>> &want, const std::vector<float> &re,
                    const std::vector<float> &im) {
    double worst = 0.0;
    for (auto w : want) {
        double best = INFINITY;
        for (std::size_t i = 0; i < re.size(); ++i)
            best = std::min(best, std::abs(std::complex<double>(re[i], im[i]) - w));
        worst = std::max(worst, best);
    }
    return worst;
}

TEST_F(LinsysTest, RootsOfSmallPolynomials) {
    const std::vector<float> quad = {2, -3, 1};
    std::vector<float> re(2), im(2);
    ASSERT_EQ(EQRoots(quad.data(), 2, re.data(), im.data(), 60), 1);
    std::vector<float> sorted = re;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_NEAR(sorted[0], 1.0f, 1e-6);
    EXPECT_NEAR(sorted[1], 2.0f, 1e-6);
    EXPECT_EQ(im, (std::vector<float>{0, 0}));
    const std::vector<float> circle = {1, 0, 1};
    ASSERT_EQ(EQRoots(circle.data(), 2, re.data(), im.data(), 60), 1);
    EXPECT_NEAR(re[0], 0.0f, 1e-7);
    EXPECT_NEAR(re[1], 0.0f, 1e-7);
    EXPECT_NEAR(im[0], -1.0f, 1e-6);
    EXPECT_NEAR(im[1], 1.0f, 1e-6);
    const std::vector<float> linear = {3, 2};
    ASSERT_EQ(EQRoots(linear.data(), 1, re.data(), im.data(), 60), 1);
    EXPECT_FLOAT_EQ(re[0], -1.5f);
}

TEST_F(LinsysTest, CubeRootsOfUnityConvergeThroughExceptionalShifts) {
    const std::vector<float> a = {-1, 0, 0, 1};
    std::vector<float> re(3), im(3);
    ASSERT_EQ(EQRoots(a.data(), 3, re.data(), im.data(), 60), 1);
    const double h = std::sqrt(3.0) / 2.0;
    EXPECT_LT(rootDistance({{1, 0}, {-0.5, h}, {-0.5, -h}}, re, im), 1e-5);
}

TEST_F(LinsysTest, RootsOfPolynomialsWithKnownRoots) {
    const std::vector<std::complex<double>> mixed = {{-2, 0}, {0.5, 0},     {1, 1.5},     {1, -1.5},
                                                     {3, 0},  {-0.5, 0.25}, {-0.5, -0.25}};
    const std::vector<double> c = fromRoots(mixed);
    const std::vector<float> a(c.begin(), c.end());
    std::vector<float> re(mixed.size()), im(mixed.size());
    ASSERT_EQ(EQRoots(a.data(), static_cast<int>(mixed.size()), re.data(), im.data(), 60), 1);
    EXPECT_LT(rootDistance(mixed, re, im), 2e-4);
    // A triple root is ill-conditioned: error about the cube root of the coefficient error.
    const std::vector<std::complex<double>> triple = {{1, 0}, {1, 0}, {1, 0}, {-2, 0}};
    const std::vector<double> t = fromRoots(triple);
    const std::vector<float> at(t.begin(), t.end());
    std::vector<float> tr(4), ti(4);
    ASSERT_EQ(EQRoots(at.data(), 4, tr.data(), ti.data(), 60), 1);
    EXPECT_LT(rootDistance(triple, tr, ti), 2e-2);
    EXPECT_EQ(getErrorCode(), 0);
}

TEST_F(LinsysTest, RootFailures) {
    const std::vector<float> a = {1, 2, 3, 4, 5};
    std::vector<float> re(4, 9.0f), im(4, 9.0f);
    EXPECT_EQ(EQRoots(a.data(), 4, re.data(), im.data(), 0), 0);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_ITERATIONS);
    const std::vector<float> leadingZero = {1, 2, 0};
    setErrorCode(0);
    EXPECT_EQ(EQRoots(leadingZero.data(), 2, re.data(), im.data(), 60), 0);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_OTHER);
    setErrorCode(0);
    EXPECT_EQ(EQRoots(a.data(), 0, re.data(), im.data(), 60), 0);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_OTHER);
    EXPECT_EQ(re, std::vector<float>(4, 9.0f));
}

// Standard form of "minimise c x subject to G x <= h, x >= 0": A = [G | I], costs 0 on slacks.
struct Programme {
    std::vector<float> a, b, c;
    int m, n;
};

Programme standardForm(const std::vector<std::vector<float>> &g, const std::vector<float> &h,
                       const std::vector<float> &cost) {
    Programme p;
    p.m = static_cast<int>(g.size());
    p.n = static_cast<int>(cost.size());
    const int cols = p.m + p.n;
    p.a.assign(static_cast<std::size_t>(p.m * cols), 0.0f);
    for (int i = 0; i < p.m; ++i) {
        for (int j = 0; j < p.n; ++j) p.a[i * cols + j] = g[i][j];
        p.a[i * cols + p.n + i] = 1.0f;
    }
    p.b = h;
    p.c = cost;
    p.c.resize(cols, 0.0f);
    return p;
}

TEST_F(LinsysTest, LinearProgrammeWithKnownOptimum) {
    // max 3x + 5y: x <= 4, 2y <= 12, 3x + 2y <= 18; optimum (2, 6), value 36.
    const Programme p = standardForm({{1, 0}, {0, 2}, {3, 2}}, {4, 12, 18}, {-3, -5});
    std::vector<float> x(5, 9.0f);
    ASSERT_EQ(LinearProgram(p.a.data(), p.b.data(), p.c.data(), p.m, p.n, x.data()), 1);
    EXPECT_NEAR(x[0], 2.0f, 1e-5);
    EXPECT_NEAR(x[1], 6.0f, 1e-5);
    EXPECT_NEAR(x[2], -36.0f, 1e-4);  // the objective in place of the first slack
    EXPECT_NEAR(x[3], 0.0f, 1e-5);
    EXPECT_NEAR(x[4], 0.0f, 1e-5);
}

TEST_F(LinsysTest, BealesCyclingExampleTerminates) {
    const Programme p = standardForm({{0.25f, -8, -1, 9}, {0.5f, -12, -0.5f, 3}, {0, 0, 1, 0}}, {0, 0, 1},
                                     {-0.75f, 20, -0.5f, 6});
    std::vector<float> x(7);
    ASSERT_EQ(LinearProgram(p.a.data(), p.b.data(), p.c.data(), p.m, p.n, x.data()), 1);
    EXPECT_NEAR(x[4], -1.25f, 1e-5);
    EXPECT_NEAR(-0.75 * x[0] + 20 * x[1] - 0.5 * x[2] + 6 * x[3], -1.25, 1e-5);
}

TEST_F(LinsysTest, RandomProgrammesMatchVertexEnumeration) {
    std::mt19937 gen(77);
    std::uniform_real_distribution<float> d(0.1f, 2.0f);
    for (int trial = 0; trial < 20; ++trial) {
        std::vector<std::vector<float>> g = {{d(gen), d(gen)}, {d(gen), d(gen)}, {d(gen), d(gen)}};
        std::vector<float> h = {d(gen) * 5, d(gen) * 5, d(gen) * 5};
        const std::vector<float> cost = {-d(gen), -d(gen)};
        // Reference: best feasible intersection of two of the five lines (three constraints,
        // two axes), in double.
        std::vector<std::array<double, 3>> lines;
        for (int i = 0; i < 3; ++i) lines.push_back({g[i][0], g[i][1], h[i]});
        lines.push_back({1, 0, 0});
        lines.push_back({0, 1, 0});
        double best = INFINITY;
        for (std::size_t i = 0; i < lines.size(); ++i)
            for (std::size_t j = i + 1; j < lines.size(); ++j) {
                const double det = lines[i][0] * lines[j][1] - lines[i][1] * lines[j][0];
                if (std::fabs(det) < 1e-12) continue;
                const double px = (lines[i][2] * lines[j][1] - lines[i][1] * lines[j][2]) / det;
                const double py = (lines[i][0] * lines[j][2] - lines[i][2] * lines[j][0]) / det;
                bool ok = px >= -1e-9 && py >= -1e-9;
                for (int k = 0; k < 3; ++k) ok = ok && g[k][0] * px + g[k][1] * py <= h[k] + 1e-9;
                if (ok) best = std::min(best, cost[0] * px + cost[1] * py);
            }
        const Programme p = standardForm(g, h, cost);
        std::vector<float> x(5);
        ASSERT_EQ(LinearProgram(p.a.data(), p.b.data(), p.c.data(), p.m, p.n, x.data()), 1) << trial;
        EXPECT_NEAR(x[2], best, 1e-4 * (1.0 + std::fabs(best))) << trial;
    }
}

TEST_F(LinsysTest, LinearProgrammeAlreadyOptimalAtTheStart) {
    const Programme p = standardForm({{1, 1}, {2, 1}, {1, 3}}, {4, 5, 6}, {1, 2});
    std::vector<float> x(5, 9.0f);
    ASSERT_EQ(LinearProgram(p.a.data(), p.b.data(), p.c.data(), p.m, p.n, x.data()), 1);
    EXPECT_EQ(x, (std::vector<float>{0, 0, 0, 5, 6}));
}

TEST_F(LinsysTest, LinearProgrammeFailures) {
    // Unbounded: min -x with x - y <= 1.
    const Programme u = standardForm({{1, -1}}, {1}, {-1, 0});
    std::vector<float> x(3, 9.0f);
    EXPECT_EQ(LinearProgram(u.a.data(), u.b.data(), u.c.data(), u.m, u.n, x.data()), 0);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_OTHER);
    EXPECT_EQ(x, std::vector<float>(3, 9.0f));
    // The slack basis is infeasible when b has a negative entry.
    const Programme inf = standardForm({{1, 1}}, {-1}, {-1, -1});
    setErrorCode(0);
    EXPECT_EQ(LinearProgram(inf.a.data(), inf.b.data(), inf.c.data(), inf.m, inf.n, x.data()), 0);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_OTHER);
    // A slack block that is not invertible: the library's own inversion reports code 5.
    Programme z = standardForm({{1, 1}}, {1}, {-1, -1});
    z.a[2] = 0.0f;
    setErrorCode(0);
    EXPECT_EQ(LinearProgram(z.a.data(), z.b.data(), z.c.data(), z.m, z.n, x.data()), 0);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_SINGULAR);
    setErrorCode(0);
    EXPECT_EQ(LinearProgram(u.a.data(), u.b.data(), u.c.data(), 0, 2, x.data()), 0);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_OTHER);
    EXPECT_EQ(x, std::vector<float>(3, 9.0f));
}

}  // namespace

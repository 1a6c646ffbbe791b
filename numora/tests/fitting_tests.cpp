// Curve fitting and regression: fits of data from known polynomials, minimax approximations
// with known best errors, regressions with known coefficients and statistics computed here.
#include "numora.h"

#include "linalg_reference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>
#include <vector>

namespace {

class FittingTest : public ::testing::Test {
  protected:
    void SetUp() override { setErrorCode(0); }
};

double binomial(int n, int k) {
    double r = 1.0;
    for (int i = 1; i <= k; ++i) r = r * (n - k + i) / i;
    return r;
}

// Coefficients of p(x) = sum c[k] x^k re-expanded in powers of (x - s).
std::vector<double> shifted(const std::vector<double> &c, double s) {
    std::vector<double> out(c.size(), 0.0);
    for (std::size_t k = 0; k < c.size(); ++k)
        for (std::size_t j = 0; j <= k; ++j)  // x^k = sum_j C(k, j) (x - s)^j s^(k-j)
            out[j] += c[k] * binomial(static_cast<int>(k), static_cast<int>(j)) *
                      std::pow(s, static_cast<double>(k - j));
    return out;
}

double poly(const std::vector<double> &c, double x) {
    double p = 0.0;
    for (std::size_t k = c.size(); k-- > 0;) p = p * x + c[k];
    return p;
}

TEST_F(FittingTest, LineRegressionOfExactAndNoisyData) {
    const std::vector<float> x = {0, 1, 2}, y = {1, 3, 5};
    std::vector<float> ab(2), dt(6, 9.0f);
    ASSERT_EQ(LiRegress1d(x.data(), y.data(), 3, ab.data(), dt.data()), 1);
    EXPECT_FLOAT_EQ(ab[0], 1.0f);
    EXPECT_FLOAT_EQ(ab[1], 2.0f);
    EXPECT_NEAR(dt[0], 0.0f, 1e-10);
    EXPECT_NEAR(dt[3], 0.0f, 1e-6);
    EXPECT_NEAR(dt[4], 0.0f, 1e-6);
    EXPECT_NEAR(dt[2], 8.0f, 1e-5);  // sum (fit - 3)^2 = 4 + 0 + 4

    std::mt19937 gen(3);
    std::normal_distribution<float> noise(0.0f, 0.3f);
    const int n = 200;
    std::vector<float> xs(n), ys(n);
    for (int i = 0; i < n; ++i) {
        xs[i] = 0.05f * i - 3.0f;
        ys[i] = 1.5f - 0.75f * xs[i] + noise(gen);
    }
    ASSERT_EQ(LiRegress1d(xs.data(), ys.data(), n, ab.data(), dt.data()), 1);
    double mx = 0, my = 0;
    for (int i = 0; i < n; ++i) {
        mx += xs[i] / double(n);
        my += ys[i] / double(n);
    }
    double sxy = 0, sxx = 0;
    for (int i = 0; i < n; ++i) {
        sxy += (xs[i] - mx) * (ys[i] - my);
        sxx += (xs[i] - mx) * (xs[i] - mx);
    }
    const double slope = sxy / sxx, icpt = my - slope * mx;
    double q = 0, u = 0, rmax = 0, rmin = INFINITY, rsum = 0;
    for (int i = 0; i < n; ++i) {
        const double f = icpt + slope * xs[i], r = std::fabs(ys[i] - f);
        q += r * r;
        u += (f - my) * (f - my);
        rmax = std::max(rmax, r);
        rmin = std::min(rmin, r);
        rsum += r;
    }
    EXPECT_NEAR(ab[0], icpt, 1e-5);
    EXPECT_NEAR(ab[1], slope, 1e-5);
    EXPECT_NEAR(dt[0], q, 1e-4 * q);
    EXPECT_NEAR(dt[1], std::sqrt(q / n), 1e-5);
    EXPECT_NEAR(dt[2], u, 1e-4 * u);
    EXPECT_NEAR(dt[3], rmax, 1e-5);
    EXPECT_NEAR(dt[4], rmin, 1e-5);
    EXPECT_NEAR(dt[5], rsum / n, 1e-5);
}

TEST_F(FittingTest, LineRegressionMinimumOfLargeResiduals) {
    // Every residual is far above 1e12: the running minimum must still find the smallest.
    const std::vector<float> x = {0, 1, 2, 3}, y = {3e13f, -3e13f, -3e13f, 3e13f};
    std::vector<float> ab(2), dt(6);
    ASSERT_EQ(LiRegress1d(x.data(), y.data(), 4, ab.data(), dt.data()), 1);
    EXPECT_NEAR(dt[4], 3e13f, 1e8f);
}

TEST_F(FittingTest, LineRegressionOfDegenerateData) {
    const std::vector<float> x = {2, 2, 2}, y = {1, 2, 3};
    std::vector<float> ab(2, 9.0f), dt(6, 9.0f);
    EXPECT_EQ(LiRegress1d(x.data(), y.data(), 3, ab.data(), dt.data()), 0);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_SINGULAR);
    setErrorCode(0);
    EXPECT_EQ(LiRegress1d(x.data(), y.data(), 0, ab.data(), dt.data()), 0);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_OTHER);
    EXPECT_EQ(ab, std::vector<float>(2, 9.0f));
    EXPECT_EQ(dt, std::vector<float>(6, 9.0f));
}

TEST_F(FittingTest, LeastSquaresRecoversAKnownCubic) {
    const std::vector<double> c = {0.5, -1.0, 0.25, 0.125};
    const int n = 30;
    std::vector<float> x(n), y(n);
    for (int i = 0; i < n; ++i) {
        x[i] = -2.0f + 0.15f * i;
        y[i] = static_cast<float>(poly(c, x[i]));
    }
    double mean = 0.0;
    for (float v : x) mean += v / double(n);
    const std::vector<double> want = shifted(c, mean);
    std::vector<float> a(25, 9.0f), dt(3);
    ASSERT_EQ(LSCurveFit(x.data(), y.data(), n, a.data(), 4, dt.data()), 1);
    for (int k = 0; k < 4; ++k) EXPECT_NEAR(a[k], want[k], 1e-5) << k;
    EXPECT_EQ(a[4], 9.0f);  // beyond m: untouched
    EXPECT_LT(dt[2], 1e-5);
    // m = 25 on 30 points uses 20 coefficients; the higher ones vanish for a cubic.
    ASSERT_EQ(LSCurveFit(x.data(), y.data(), n, a.data(), 25, dt.data()), 1);
    for (int k = 0; k < 4; ++k) EXPECT_NEAR(a[k], want[k], 1e-3) << k;
    for (int k = 4; k < 20; ++k) EXPECT_NEAR(a[k], 0.0f, 1e-3) << k;
    for (int k = 20; k < 25; ++k) EXPECT_EQ(a[k], 0.0f) << k;
}

TEST_F(FittingTest, LeastSquaresSmallCasesAndStatistics) {
    const std::vector<float> x = {0, 1, 2}, y = {1, 3, 5};
    std::vector<float> a(2), dt(3, 9.0f);
    ASSERT_EQ(LSCurveFit(x.data(), y.data(), 3, a.data(), 2, dt.data()), 1);
    EXPECT_NEAR(a[0], 3.0f, 1e-6);
    EXPECT_NEAR(a[1], 2.0f, 1e-6);
    EXPECT_NEAR(dt[0], 0.0f, 1e-10);
    // Noisy data: the statistics are those of the fitted polynomial.
    const std::vector<float> xs = {0, 1, 2, 3, 4}, ys = {1, 2, 2, 4, 7};
    std::vector<float> q(3);
    ASSERT_EQ(LSCurveFit(xs.data(), ys.data(), 5, q.data(), 3, dt.data()), 1);
    double s2 = 0, s1 = 0, smax = 0;
    for (int i = 0; i < 5; ++i) {
        const double u = xs[i] - 2.0;
        const double r = std::fabs(q[0] + q[1] * u + q[2] * u * u - ys[i]);
        s2 += r * r;
        s1 += r;
        smax = std::max(smax, r);
    }
    // Reference fit: normal equations in powers of u.
    ref::Matrix v(15);
    std::vector<double> yd(ys.begin(), ys.end());
    for (int i = 0; i < 5; ++i)
        for (int k = 0; k < 3; ++k) v[i * 3 + k] = std::pow(xs[i] - 2.0, k);
    const std::vector<double> want = ref::leastSquares(v, yd, 5, 3);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(q[k], want[k], 1e-5);
    EXPECT_NEAR(dt[0], s2, 1e-5);
    EXPECT_NEAR(dt[1], s1, 1e-5);
    EXPECT_NEAR(dt[2], smax, 1e-5);
    // Only three distinct abscissas: terms beyond the quadratic stay 0.
    const std::vector<float> xd = {0, 0, 1, 1, 2, 2}, yd2 = {1, 1, 2, 2, 5, 5};
    std::vector<float> ad(5, 9.0f);
    ASSERT_EQ(LSCurveFit(xd.data(), yd2.data(), 6, ad.data(), 5, dt.data()), 1);
    EXPECT_EQ(ad[3], 0.0f);
    EXPECT_EQ(ad[4], 0.0f);
    EXPECT_LT(dt[2], 1e-5);
}

TEST_F(FittingTest, LeastSquaresRejectsBadCounts) {
    const std::vector<float> x = {0, 1}, y = {1, 2};
    std::vector<float> a(2, 9.0f), dt(3, 9.0f);
    for (int m : {0, -4}) {
        setErrorCode(0);
        EXPECT_EQ(LSCurveFit(x.data(), y.data(), 2, a.data(), m, dt.data()), 0);
        EXPECT_EQ(getErrorCode(), NUMORA_ERR_OTHER);
    }
    EXPECT_EQ(LSCurveFit(x.data(), y.data(), -1, a.data(), 2, dt.data()), 0);
    EXPECT_EQ(a, std::vector<float>(2, 9.0f));
    EXPECT_EQ(dt, std::vector<float>(3, 9.0f));
}

TEST_F(FittingTest, MinimaxFitsWithKnownBestApproximations) {
    // x^3 on [-1, 1] by a quadratic: the best one is 0.75 x, with error 1/4 (Chebyshev).
    const int n = 201;
    std::vector<float> x(n), y(n);
    for (int i = 0; i < n; ++i) {
        x[i] = -1.0f + 0.01f * i;
        y[i] = x[i] * x[i] * x[i];
    }
    std::vector<float> a(4, 9.0f);
    ASSERT_EQ(ChebyFit(x.data(), y.data(), n, a.data(), 3), 1);
    EXPECT_NEAR(a[0], 0.0f, 1e-4);
    EXPECT_NEAR(a[1], 0.75f, 1e-4);
    EXPECT_NEAR(a[2], 0.0f, 1e-4);
    EXPECT_NEAR(std::fabs(a[3]), 0.25f, 1e-4);
    // x^2 on [0, 1] by a line: x - 1/8, error 1/8; the same with the points shuffled.
    std::vector<float> xs(101), ys(101);
    for (int i = 0; i <= 100; ++i) {
        xs[i] = 0.01f * i;
        ys[i] = xs[i] * xs[i];
    }
    std::vector<int> order(101);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), std::mt19937(5));
    std::vector<float> xsh(101), ysh(101);
    for (int i = 0; i <= 100; ++i) {
        xsh[i] = xs[order[i]];
        ysh[i] = ys[order[i]];
    }
    for (const auto *px : {&xs, &xsh}) {
        const auto &py = px == &xs ? ys : ysh;
        std::vector<float> l(3);
        ASSERT_EQ(ChebyFit(px->data(), py.data(), 101, l.data(), 2), 1);
        EXPECT_NEAR(l[0], -0.125f, 1e-4);
        EXPECT_NEAR(l[1], 1.0f, 1e-4);
        EXPECT_NEAR(std::fabs(l[2]), 0.125f, 1e-4);
        // The largest deviation over the data is the one reported.
        double worst = 0.0;
        for (int i = 0; i <= 100; ++i)
            worst = std::max(worst, std::fabs(double(l[0]) + double(l[1]) * (*px)[i] - py[i]));
        EXPECT_NEAR(worst, std::fabs(l[2]), 1e-5);
    }
}

TEST_F(FittingTest, MinimaxOfExactPolynomialDataAndClampedDegree) {
    const std::vector<double> c = {1.0, -2.0, 0.5};
    std::vector<float> x(21), y(21);
    for (int i = 0; i < 21; ++i) {
        x[i] = -1.0f + 0.1f * i;
        y[i] = static_cast<float>(poly(c, x[i]));
    }
    std::vector<float> a(4);
    ASSERT_EQ(ChebyFit(x.data(), y.data(), 21, a.data(), 3), 1);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(a[k], c[k], 1e-5);
    EXPECT_LT(std::fabs(a[3]), 1e-5);
    // m >= n uses m = n - 1: a quadratic levelled over all four points, p(x_i) + (-1)^i h = y_i.
    const std::vector<float> x4 = {0, 1, 2, 3}, y4 = {1, 2, 9, 28};  // 1 + x^3
    ref::Matrix sys(16);
    for (int i = 0; i < 4; ++i) {
        for (int k = 0; k < 3; ++k) sys[i * 4 + k] = std::pow(x4[i], k);
        sys[i * 4 + 3] = i % 2 ? -1.0 : 1.0;
    }
    const ref::Matrix inv = ref::inverse(sys, 4);
    std::vector<double> want(4, 0.0);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) want[i] += inv[i * 4 + j] * y4[j];
    std::vector<float> b(11, 9.0f);
    ASSERT_EQ(ChebyFit(x4.data(), y4.data(), 4, b.data(), 10), 1);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(b[k], want[k], 1e-4) << k;
    EXPECT_NEAR(std::fabs(b[3]), std::fabs(want[3]), 1e-4);
    for (int k = 4; k < 11; ++k) EXPECT_EQ(b[k], 0.0f) << k;
}

TEST_F(FittingTest, MinimaxRejectsDegenerateCounts) {
    const std::vector<float> x = {0, 1, 2}, y = {1, 2, 3};
    std::vector<float> a(3, 9.0f);
    EXPECT_EQ(ChebyFit(x.data(), y.data(), 3, a.data(), 0), 0);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_OTHER);
    setErrorCode(0);
    EXPECT_EQ(ChebyFit(x.data(), y.data(), 1, a.data(), 2), 0);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_OTHER);
    // Coinciding abscissas cannot carry an alternating reference.
    const std::vector<float> same = {1, 1, 1};
    setErrorCode(0);
    EXPECT_EQ(ChebyFit(same.data(), y.data(), 3, a.data(), 2), 0);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_OTHER);
    EXPECT_EQ(a, std::vector<float>(3, 9.0f));
}

TEST_F(FittingTest, MultipleRegressionWithKnownCoefficients) {
    const int m = 2, n = 50;
    std::vector<float> x(m * n), y(n);
    std::mt19937 gen(8);
    std::uniform_real_distribution<float> d(-2.0f, 2.0f);
    for (int k = 0; k < n; ++k) {
        x[k] = d(gen);
        x[n + k] = d(gen);
        y[k] = 2.0f * x[k] - 3.0f * x[n + k] + 5.0f;
    }
    std::vector<float> a(3), dt(4), v(2);
    ASSERT_EQ(MLiRegress(x.data(), y.data(), m, n, a.data(), dt.data(), v.data()), 1);
    EXPECT_NEAR(a[0], 2.0f, 1e-5);
    EXPECT_NEAR(a[1], -3.0f, 1e-5);
    EXPECT_NEAR(a[2], 5.0f, 1e-5);
    EXPECT_LT(dt[0], 1e-6);
    EXPECT_NEAR(dt[2], 1.0f, 1e-5);
    // Noisy data: statistics from the double formulas on the fitted coefficients.
    std::normal_distribution<float> noise(0.0f, 0.5f);
    for (float &value : y) value += noise(gen);
    ASSERT_EQ(MLiRegress(x.data(), y.data(), m, n, a.data(), dt.data(), v.data()), 1);
    ref::Matrix design(n * 3);
    for (int k = 0; k < n; ++k) {
        design[k * 3] = x[k];
        design[k * 3 + 1] = x[n + k];
        design[k * 3 + 2] = 1.0;
    }
    const std::vector<double> want = ref::leastSquares(design, std::vector<double>(y.begin(), y.end()), n, 3);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(a[i], want[i], 1e-5);
    double my = 0;
    for (float value : y) my += value / double(n);
    double q = 0, total = 0, u = 0, q0 = 0, q1 = 0;
    for (int k = 0; k < n; ++k) {
        const double f = want[0] * x[k] + want[1] * x[n + k] + want[2];
        q += (y[k] - f) * (y[k] - f);
        total += (y[k] - my) * (y[k] - my);
        u += (f - my) * (f - my);
        q0 += std::pow(y[k] - (f - want[0] * x[k]), 2);
        q1 += std::pow(y[k] - (f - want[1] * x[n + k]), 2);
    }
    EXPECT_NEAR(dt[0], q, 1e-4 * q);
    EXPECT_NEAR(dt[1], std::sqrt(q / n), 1e-5);
    EXPECT_NEAR(dt[2], std::sqrt(1.0 - q / total), 1e-5);
    EXPECT_NEAR(dt[3], u, 1e-4 * u);
    EXPECT_NEAR(v[0], std::sqrt(1.0 - q / q0), 1e-5);
    EXPECT_NEAR(v[1], std::sqrt(1.0 - q / q1), 1e-5);
}

TEST_F(FittingTest, MultipleRegressionWithOneVariableIsTheLine) {
    const std::vector<float> x = {0, 1, 2, 3, 4}, y = {1, 2.5f, 2.9f, 4.2f, 5.1f};
    std::vector<float> a(2), dt(4), v(1), ab(2), dl(6);
    ASSERT_EQ(MLiRegress(x.data(), y.data(), 1, 5, a.data(), dt.data(), v.data()), 1);
    ASSERT_EQ(LiRegress1d(x.data(), y.data(), 5, ab.data(), dl.data()), 1);
    EXPECT_NEAR(a[0], ab[1], 1e-5);
    EXPECT_NEAR(a[1], ab[0], 1e-5);
    EXPECT_NEAR(dt[0], dl[0], 1e-5);
}

TEST_F(FittingTest, MultipleRegressionOfCollinearVariablesFails) {
    const int n = 6;
    std::vector<float> x(2 * n), y(n);
    for (int k = 0; k < n; ++k) {
        x[k] = static_cast<float>(k);
        x[n + k] = 2.0f * k;  // twice the first
        y[k] = 1.0f + k;
    }
    std::vector<float> a(3, 9.0f), dt(4, 9.0f), v(2, 9.0f);
    EXPECT_EQ(MLiRegress(x.data(), y.data(), 2, n, a.data(), dt.data(), v.data()), 0);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_SINGULAR);
    EXPECT_EQ(a, std::vector<float>(3, 9.0f));
    setErrorCode(0);
    EXPECT_EQ(MLiRegress(x.data(), y.data(), 0, n, a.data(), dt.data(), v.data()), 0);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_OTHER);
}

}  // namespace

// AR estimators against Yule-Walker solutions, LMS and RLS on a known system, the linear solver
// and the Simpson integral.
#include "sigmora.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

// x[i] = sum phi[k] x[i-1-k] + e, unit Gaussian e, after a warm-up.
std::vector<float> arProcess(const std::vector<double> &phi, int n, unsigned seed) {
    std::mt19937 gen(seed);
    std::normal_distribution<double> e(0.0, 1.0);
    std::vector<double> v(n + 500, 0.0);
    for (size_t i = phi.size(); i < v.size(); ++i) {
        double s = e(gen);
        for (size_t k = 0; k < phi.size(); ++k) s += phi[k] * v[i - 1 - k];
        v[i] = s;
    }
    return std::vector<float>(v.begin() + 500, v.end());
}

// Yule-Walker error-filter coefficients (without the leading 1) from the biased autocorrelation
// of the mean-removed signal, solved in double by elimination with partial pivoting.
std::vector<double> yuleWalker(const std::vector<float> &x, int p) {
    const int n = static_cast<int>(x.size());
    double mean = 0.0;
    for (float v : x) mean += v;
    mean /= n;
    std::vector<double> r(p + 1, 0.0);
    for (int m = 0; m <= p; ++m) {
        for (int j = 0; j + m < n; ++j) r[m] += (x[j] - mean) * (x[j + m] - mean);
        r[m] /= n;
    }
    std::vector<std::vector<double>> M(p, std::vector<double>(p + 1));
    for (int i = 0; i < p; ++i) {
        for (int j = 0; j < p; ++j) M[i][j] = r[std::abs(i - j)];
        M[i][p] = -r[i + 1];
    }
    for (int c = 0; c < p; ++c) {
        int piv = c;
        for (int i = c + 1; i < p; ++i)
            if (std::fabs(M[i][c]) > std::fabs(M[piv][c])) piv = i;
        std::swap(M[c], M[piv]);
        for (int i = 0; i < p; ++i)
            if (i != c) {
                const double f = M[i][c] / M[c][c];
                for (int j = c; j <= p; ++j) M[i][j] -= f * M[c][j];
            }
    }
    std::vector<double> a(p);
    for (int i = 0; i < p; ++i) a[i] = M[i][p] / M[i][i];
    return a;
}

// Mean squared prediction error of the error filter a[0..p] (a[0] = 1) on mean-removed x.
double predictionError(const std::vector<float> &x, const std::vector<float> &a, int p) {
    double mean = 0.0;
    for (float v : x) mean += v;
    mean /= x.size();
    double s = 0.0;
    for (size_t i = p; i < x.size(); ++i) {
        double e = 0.0;
        for (int k = 0; k <= p; ++k) e += a[k] * (x[i - k] - mean);
        s += e * e;
    }
    return s / (x.size() - p);
}

}  // namespace

TEST(BurgAR, SecondOrderProcessMatchesYuleWalker) {
    const std::vector<float> x = arProcess({1.5, -0.75}, 8000, 1);
    const std::vector<float> before = x;
    std::vector<float> a(3, 0.0f);
    int32_t ord = -1;
    float err = 0.0f;
    ASSERT_EQ(BurgAR(x.data(), 8000, 2, &ord, &err, a.data(), 0), 1);
    const std::vector<double> yw = yuleWalker(x, 2);
    EXPECT_EQ(ord, 2);
    EXPECT_EQ(a[0], 1.0f);
    EXPECT_NEAR(a[1], yw[0], 0.01);
    EXPECT_NEAR(a[2], yw[1], 0.01);
    EXPECT_NEAR(a[1], -1.5, 0.05);
    EXPECT_NEAR(a[2], 0.75, 0.05);
    EXPECT_NEAR(err, predictionError(x, a, 2), 0.03 * err);
    EXPECT_EQ(x, before);
}

TEST(BurgAR, ErrorIsThatOfTheOrderReported) {
    const std::vector<float> x = arProcess({0.9}, 4000, 2);
    std::vector<float> a1(2), a3(4), aa(11);
    int32_t o1, o3, oa;
    float e1, e3, ea;
    ASSERT_EQ(BurgAR(x.data(), 4000, 1, &o1, &e1, a1.data(), 0), 1);
    ASSERT_EQ(BurgAR(x.data(), 4000, 3, &o3, &e3, a3.data(), 0), 1);
    EXPECT_EQ(o3, 3);
    EXPECT_NEAR(a1[1], -0.9, 0.03);
    EXPECT_LE(e3, e1);
    EXPECT_NEAR(e3, predictionError(x, a3, 3), 0.03 * e3);
    ASSERT_EQ(BurgAR(x.data(), 4000, 10, &oa, &ea, aa.data(), 1), 1);
    EXPECT_GE(oa, 1);
    EXPECT_LE(oa, 10);
    EXPECT_NEAR(ea, predictionError(x, aa, oa), 0.03 * ea);
}

TEST(BurgAR, OrdersBeyondTheSignalArePaddedAndConstantsRefused) {
    const float x[4] = {1, -2, 0.5f, 3};
    std::vector<float> a(9, 7.0f);
    int32_t ord;
    float err;
    ASSERT_EQ(BurgAR(x, 4, 8, &ord, &err, a.data(), 0), 1);
    EXPECT_EQ(ord, 8);
    for (int k = 4; k <= 8; ++k) EXPECT_EQ(a[k], 0.0f);
    const float c[5] = {2, 2, 2, 2, 2};
    EXPECT_EQ(BurgAR(c, 5, 2, &ord, &err, a.data(), 0), 0);
    EXPECT_EQ(BurgAR(x, 0, 2, &ord, &err, a.data(), 0), 0);
    EXPECT_EQ(BurgAR(x, 4, -1, &ord, &err, a.data(), 0), 0);
}

TEST(LSARcoef, FourthOrderProcessMatchesYuleWalker) {
    const std::vector<float> x = arProcess({0.6, -0.4, 0.3, -0.2}, 6000, 3);
    std::vector<float> a(4);
    ASSERT_EQ(LSARcoef(x.data(), 6000, a.data(), 4), 1);
    const std::vector<double> yw = yuleWalker(x, 4);
    for (int k = 0; k < 4; ++k) EXPECT_NEAR(a[k], yw[k], 1e-4) << k;
    float a1;
    ASSERT_EQ(LSARcoef(x.data(), 6000, &a1, 1), 1);
    const std::vector<double> yw1 = yuleWalker(x, 1);  // -r1 / r0
    EXPECT_NEAR(a1, yw1[0], 1e-5);
}

TEST(LSARcoef, RefusesWhatItCannotComputeAndTouchesNothing) {
    const float x[3] = {1, 2, 4}, flat[6] = {1, 1, 1, 1, 1, 1};
    std::vector<float> a(60, 5.0f);
    EXPECT_EQ(LSARcoef(x, 3, a.data(), 3), 0);  // p + 1 > n: no autocorrelation
    EXPECT_EQ(LSARcoef(x, 3, a.data(), 0), 0);
    const std::vector<float> long_ = arProcess({0.5}, 200, 4);
    EXPECT_EQ(LSARcoef(long_.data(), 200, a.data(), 50), 0);  // beyond the fixed matrix
    EXPECT_EQ(LSARcoef(flat, 6, a.data(), 2), 0);             // zero autocorrelation: singular
    for (float v : a) EXPECT_EQ(v, 5.0f);
}

TEST(RLSARcoef, FirstOrderProcessMatchesLSARcoef) {
    const std::vector<float> x = arProcess({0.8}, 5000, 5);
    const std::vector<float> before = x;
    float rls = 0.0f, ls = 0.0f;
    ASSERT_EQ(RLSARcoef(x.data(), 5000, &rls, 1), 1);
    ASSERT_EQ(LSARcoef(x.data(), 5000, &ls, 1), 1);
    EXPECT_NEAR(rls, -0.8, 0.03);
    EXPECT_NEAR(rls, ls, 0.01);
    EXPECT_EQ(x, before);
    std::vector<float> a2(2);
    const std::vector<float> x2 = arProcess({1.2, -0.5}, 5000, 6);
    ASSERT_EQ(RLSARcoef(x2.data(), 5000, a2.data(), 2), 1);
    const std::vector<double> yw = yuleWalker(x2, 2);
    EXPECT_NEAR(a2[0], yw[0], 0.01);
    EXPECT_NEAR(a2[1], yw[1], 0.01);
    EXPECT_EQ(RLSARcoef(x.data(), 5000, a2.data(), 42), 0);
}

TEST(LMSCalc, ConvergesOnAKnownSystem) {
    const float h[3] = {0.5f, -0.3f, 0.2f};
    std::vector<float> w(3, 9.0f);
    EXPECT_EQ(LMSCalc(0, 0, w.data(), 3, 0.05f, 1, 2), 0.0f);
    for (float v : w) EXPECT_EQ(v, 0.0f);
    std::mt19937 gen(7);
    std::normal_distribution<float> e(0.0f, 1.0f);
    float x1 = 0, x2 = 0;
    for (int i = 0; i < 6000; ++i) {
        const float x0 = e(gen);
        const float d = h[0] * x0 + h[1] * x1 + h[2] * x2;
        const float before[3] = {w[0], w[1], w[2]};
        const float y = LMSCalc(d, x0, w.data(), 3, 0.02f, 0, 2);
        EXPECT_NEAR(y, before[0] * x0 + before[1] * x1 + before[2] * x2, 1e-5);  // output before update
        x2 = x1;
        x1 = x0;
    }
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(w[k], h[k], 1e-3);
}

TEST(LMSCalc, ZeroStepAndRefusedSlots) {
    std::vector<float> w = {0.25f, 0.5f};
    LMSCalc(0, 0, w.data(), 2, 0.0f, 1, 0);
    w = {0.25f, 0.5f};
    for (int i = 0; i < 50; ++i) LMSCalc(1.0f, static_cast<float>(i), w.data(), 2, 0.0f, 0, 0);
    EXPECT_EQ(w[0], 0.25f);
    EXPECT_EQ(w[1], 0.5f);
    std::vector<float> big(50, 3.0f);
    EXPECT_EQ(LMSCalc(1, 1, big.data(), 42, 0.1f, 0, 0), 0.0f);
    EXPECT_EQ(LMSCalc(1, 1, big.data(), 0, 0.1f, 1, 0), 0.0f);
    EXPECT_EQ(LMSCalc(1, 1, big.data(), 3, 0.1f, 1, 8), 0.0f);
    EXPECT_EQ(LMSCalc(1, 1, big.data(), 3, 0.1f, 0, -1), 0.0f);
    for (float v : big) EXPECT_EQ(v, 3.0f);
    EXPECT_EQ(LMSCalc(1, 1, big.data(), 41, 0.1f, 1, 7), 0.0f);  // 41 weights fit
    EXPECT_EQ(big[40], 0.0f);
    EXPECT_EQ(big[41], 3.0f);
}

TEST(RLSCalc, ConvergesQuicklyOnAKnownSystem) {
    const float h[4] = {0.5f, -0.3f, 0.2f, 0.1f};
    std::vector<float> w(4, 9.0f);
    ASSERT_EQ(RLSCalc(0, 0, w.data(), 4, 0.0f, 1, 3), 1.0f);
    for (float v : w) EXPECT_EQ(v, 0.0f);
    std::mt19937 gen(8);
    std::normal_distribution<float> e(0.0f, 1.0f);
    float past[3] = {0, 0, 0};
    for (int i = 0; i < 200; ++i) {
        const float x0 = e(gen);
        const float d = h[0] * x0 + h[1] * past[0] + h[2] * past[1] + h[3] * past[2];
        RLSCalc(d, x0, w.data(), 4, 0.001f, 0, 3);
        past[2] = past[1];
        past[1] = past[0];
        past[0] = x0;
    }
    for (int k = 0; k < 4; ++k) EXPECT_NEAR(w[k], h[k], 1e-4) << k;
    EXPECT_EQ(RLSCalc(0, 0, w.data(), 4, 0.0f, 2, 3), 0.0f);
}

TEST(RLSCalc, UnusableStatesChangeNothing) {
    std::vector<float> w = {0.5f, 0.25f, 0.125f};
    RLSCalc(0, 0, w.data(), 3, 0, 2, 0);  // released: no matrix
    w = {0.5f, 0.25f, 0.125f};
    EXPECT_EQ(RLSCalc(1, 2, w.data(), 3, 0, 0, 0), 0.0f);
    EXPECT_EQ(w, (std::vector<float>{0.5f, 0.25f, 0.125f}));
    ASSERT_EQ(RLSCalc(0, 0, w.data(), 3, 0, 1, 1), 1.0f);
    std::vector<float> five(5, 1.0f);
    EXPECT_EQ(RLSCalc(1, 2, five.data(), 5, 0, 0, 1), 0.0f);  // not the matrix's size
    EXPECT_EQ(RLSCalc(1, 2, w.data(), 3, 0, 0, 4), 0.0f);     // slot 4 never initialised
    EXPECT_EQ(RLSCalc(1, 2, w.data(), 3, 1.0f, 0, 1), 0.0f);  // forgetting factor 0
    EXPECT_EQ(RLSCalc(1, 2, w.data(), 3, 0, 0, 8), 0.0f);
    EXPECT_EQ(RLSCalc(1, 2, w.data(), 42, 0, 1, 1), 0.0f);
    EXPECT_EQ(w, (std::vector<float>{0.0f, 0.0f, 0.0f}));
    for (float v : five) EXPECT_EQ(v, 1.0f);
    // Initialising another slot replaces the shared matrix.
    ASSERT_EQ(RLSCalc(0, 0, five.data(), 5, 0, 1, 2), 1.0f);
    EXPECT_EQ(RLSCalc(1, 2, w.data(), 3, 0, 0, 1), 0.0f);
    EXPECT_EQ(w, (std::vector<float>{0.0f, 0.0f, 0.0f}));
    RLSCalc(0, 0, five.data(), 5, 0, 2, 2);
    EXPECT_EQ(RLSCalc(1, 2, five.data(), 5, 0, 0, 2), 0.0f);  // after release
}

TEST(LQSolution, SolvesAndLeavesItsInputs) {
    std::mt19937 gen(9);
    std::uniform_real_distribution<float> u(-1.0f, 1.0f);
    for (int n : {1, 2, 7, 49}) {
        std::vector<float> A(n * n), b(n), x(n);
        for (float &v : A) v = u(gen);
        for (int i = 0; i < n; ++i) A[i * n + i] += 3.0f;  // well conditioned
        if (n > 1) A[0] = 0.0f;                            // a zero on the diagonal needs pivoting
        for (float &v : b) v = u(gen);
        const std::vector<float> A0 = A, b0 = b;
        ASSERT_EQ(LQSolution(A.data(), b.data(), x.data(), n), 1);
        EXPECT_EQ(A, A0);
        EXPECT_EQ(b, b0);
        for (int i = 0; i < n; ++i) {
            double r = -b[i];
            for (int j = 0; j < n; ++j) r += static_cast<double>(A[i * n + j]) * x[j];
            EXPECT_NEAR(r, 0.0, 1e-5) << n << " " << i;
        }
    }
}

TEST(LQSolution, SingularAndOversizedAreRefused) {
    const float A[4] = {1, 2, 2, 4}, b[2] = {1, 1};
    float x[2] = {5, 5};
    EXPECT_EQ(LQSolution(A, b, x, 2), 0);
    EXPECT_EQ(x[0], 5.0f);
    std::vector<float> big(50 * 50, 1.0f), bb(50, 1.0f), xb(50, 5.0f);
    EXPECT_EQ(LQSolution(big.data(), bb.data(), xb.data(), 50), 0);
    EXPECT_EQ(LQSolution(A, b, x, 0), 0);
    EXPECT_EQ(xb[0], 5.0f);
}

TEST(IntegrateVector, SimpsonAndThreeEighthsPanels) {
    const std::vector<float> ones(10, 1.0f);
    EXPECT_FLOAT_EQ(IntegrateVector(ones.data(), 1.0f, 0, 4), 4.0f);
    EXPECT_FLOAT_EQ(IntegrateVector(ones.data(), 1.0f, 0, 3), 3.0f);
    EXPECT_FLOAT_EQ(IntegrateVector(ones.data(), 1.0f, 0, 5), 5.0f);
    EXPECT_FLOAT_EQ(IntegrateVector(ones.data(), 0.5f, 2, 4), 1.0f);
    // Both rules are exact for cubics: integral of t^3 - t from 1 to 1 + k dx.
    std::vector<float> y(40);
    const double dx = 0.25;
    for (int i = 0; i < 40; ++i) {
        const double t = 1.0 + i * dx;
        y[i] = static_cast<float>(t * t * t - t);
    }
    auto F = [](double t) { return t * t * t * t / 4 - t * t / 2; };
    for (int t2 : {2, 3, 7, 8, 39}) {
        const double exact = F(1.0 + t2 * dx) - F(1.0);
        EXPECT_NEAR(IntegrateVector(y.data(), 0.25f, 0, t2), exact, 1e-5 * std::max(1.0, exact)) << t2;
    }
    EXPECT_EQ(IntegrateVector(ones.data(), 1.0f, 0, 1), 0.0f);
    EXPECT_EQ(IntegrateVector(ones.data(), 1.0f, 3, 3), 0.0f);
    EXPECT_EQ(IntegrateVector(ones.data(), 1.0f, 5, 2), 0.0f);
    EXPECT_EQ(IntegrateVector(ones.data(), 1.0f, -2, 4), 0.0f);
    EXPECT_EQ(IntegrateVector(nullptr, 1.0f, 0, 4), 0.0f);
}

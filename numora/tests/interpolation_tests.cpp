// Interpolation and derivatives: the worked examples, polynomials and rational functions that
// each method reproduces exactly, splines against an independent second-derivative spline in
// double precision, derivatives of known functions, 2-D tables, refused arguments and codes.
#include "numora.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Table {
    std::vector<float> x, y;
    int32_t n() const { return static_cast<int32_t>(x.size()); }
};

// Unevenly spaced increasing abscissas over [a, b].
template <class F>
Table uneven(double a, double b, int n, F f) {
    Table t;
    for (int i = 0; i < n; ++i) {
        double s = double(i) / (n - 1);
        double xi = a + (b - a) * (s + 0.15 * std::sin(kPi * s) * (1 - s) * s);
        t.x.push_back(static_cast<float>(xi));
        t.y.push_back(static_cast<float>(f(t.x.back())));
    }
    return t;
}

float nd(const Table &t, float at, int32_t method) {
    return Inter1dFuncND(t.x.data(), t.y.data(), t.n(), at, method);
}

// Natural or clamped (end slopes 0) cubic spline by the second-derivative formulation, in
// double precision: an independent reference for methods 6 and 7 and the derivatives.
struct ReferenceSpline {
    std::vector<double> x, y, M;
    ReferenceSpline(const Table &t, bool clamped) : x(t.x.begin(), t.x.end()), y(t.y.begin(), t.y.end()) {
        const size_t n = x.size();
        std::vector<double> A(n * n, 0.0), r(n, 0.0);
        for (size_t i = 1; i + 1 < n; ++i) {
            double h0 = x[i] - x[i - 1], h1 = x[i + 1] - x[i];
            A[i * n + i - 1] = h0 / 6;
            A[i * n + i] = (h0 + h1) / 3;
            A[i * n + i + 1] = h1 / 6;
            r[i] = (y[i + 1] - y[i]) / h1 - (y[i] - y[i - 1]) / h0;
        }
        if (clamped) {
            double h0 = x[1] - x[0], hl = x[n - 1] - x[n - 2];
            A[0] = h0 / 3;
            A[1] = h0 / 6;
            r[0] = (y[1] - y[0]) / h0;
            A[(n - 1) * n + n - 2] = hl / 6;
            A[(n - 1) * n + n - 1] = hl / 3;
            r[n - 1] = -(y[n - 1] - y[n - 2]) / hl;
        } else {
            A[0] = 1;
            A[(n - 1) * n + n - 1] = 1;
        }
        // Gaussian elimination (diagonally dominant, no pivoting needed).
        for (size_t k = 0; k < n; ++k)
            for (size_t i = k + 1; i < n; ++i) {
                double f = A[i * n + k] / A[k * n + k];
                if (f == 0) continue;
                for (size_t j = k; j < n; ++j) A[i * n + j] -= f * A[k * n + j];
                r[i] -= f * r[k];
            }
        M.assign(n, 0.0);
        for (size_t k = n; k-- > 0;) {
            double s = r[k];
            for (size_t j = k + 1; j < n; ++j) s -= A[k * n + j] * M[j];
            M[k] = s / A[k * n + k];
        }
    }
    // order 0 value, 1 first, 2 second derivative.
    double operator()(double t, int order = 0) const {
        size_t i = 0;
        while (i + 2 < x.size() && t >= x[i + 1]) ++i;
        double h = x[i + 1] - x[i], a = (x[i + 1] - t) / h, b = (t - x[i]) / h;
        if (order == 0)
            return a * y[i] + b * y[i + 1] +
                   ((a * a * a - a) * M[i] + (b * b * b - b) * M[i + 1]) * h * h / 6;
        if (order == 1)
            return (y[i + 1] - y[i]) / h - (3 * a * a - 1) / 6 * h * M[i] +
                   (3 * b * b - 1) / 6 * h * M[i + 1];
        return a * M[i] + b * M[i + 1];
    }
};

class Interpolation : public ::testing::Test {
  protected:
    void SetUp() override { setErrorCode(0); }
    void TearDown() override {
        EXPECT_EQ(getErrorCode(), 0);
        setErrorCode(0);
    }
};

TEST_F(Interpolation, WorkedExamples) {
    Table t{{0, 1, 2}, {0, 1, 4}};
    EXPECT_FLOAT_EQ(nd(t, 1.5f, 0), 2.25f);
    EXPECT_FLOAT_EQ(nd(t, 1.5f, 1), 2.25f);
    float natural = nd(t, 1.5f, 7);
    EXPECT_GT(natural, 2.0f);
    EXPECT_LT(natural, 2.5f);
    for (int32_t m : {0, 1, 2, 4, 5, 6, 7, 8, 11})
        EXPECT_FLOAT_EQ(Inter1dFuncED(0.0f, 1.0f, 3, t.y.data(), 1.5f, m), nd(t, 1.5f, m)) << m;
    for (int32_t m : {3, 9, 100, -1}) EXPECT_EQ(nd(t, 0.7f, m), nd(t, 0.7f, 0)) << m;
    Table two{{0, 2}, {1, 3}};
    for (int32_t m : {0, 1, 2, 4, 5, 7}) EXPECT_FLOAT_EQ(nd(two, 1.0f, m), 2.0f) << m;
    float y1 = 4.5f;
    EXPECT_EQ(Inter1dFuncND(t.x.data(), &y1, 1, 9.0f, 0), 4.5f);
    EXPECT_EQ(Inter1dFuncND(t.x.data(), t.y.data(), 0, 9.0f, 4), 0.0f);
    EXPECT_EQ(Inter1dFuncND(t.x.data(), t.y.data(), -5, 9.0f, 6), 0.0f);
}

TEST_F(Interpolation, PolynomialsEachMethodReproduces) {
    auto cubic = [](double x) { return 0.5 - x + 0.3 * x * x - 0.05 * x * x * x; };
    auto quad = [](double x) { return 2 - 0.5 * x + 0.25 * x * x; };
    auto lin = [](double x) { return 3 - 0.75 * x; };
    Table tc = uneven(-2, 5, 15, cubic), tq = uneven(-2, 5, 15, quad), tl = uneven(-2, 5, 15, lin);
    std::mt19937 gen(1);
    std::uniform_real_distribution<float> d(-2.5f, 5.5f);
    for (int k = 0; k < 300; ++k) {
        float t = d(gen);
        EXPECT_NEAR(nd(tc, t, 0), cubic(t), 2e-5 * (1 + std::fabs(cubic(t)))) << t;  // >= 4 nodes
        EXPECT_NEAR(nd(tc, t, 4), cubic(t), 2e-5 * (1 + std::fabs(cubic(t)))) << t;
        EXPECT_NEAR(nd(tq, t, 1), quad(t), 2e-5 * (1 + std::fabs(quad(t)))) << t;
        for (int32_t m : {5, 7})
            EXPECT_NEAR(nd(tl, t, m), lin(t), 2e-5 * (1 + std::fabs(lin(t)))) << t << " method " << m;
    }
}

TEST_F(Interpolation, ThieleReproducesARationalFunction) {
    auto r = [](double x) { return (1 + 2 * x) / (3 + x); };
    Table t = uneven(0, 10, 30, r);
    for (float at : {0.1f, 2.5f, 5.3f, 9.9f}) EXPECT_NEAR(nd(t, at, 2), r(at), 1e-5) << at;
    // A linear table makes the inverse differences vanish; the fraction still gives the line.
    Table l{{0, 1, 2, 3, 4}, {1, 2, 3, 4, 5}};
    EXPECT_NEAR(nd(l, 2.5f, 2), 3.5f, 1e-5);
}

TEST_F(Interpolation, AkimaFollowsSmoothDataAndDoesNotOvershootASteps) {
    Table s = uneven(0, 2 * kPi, 60, [](double x) { return std::sin(x); });
    for (float at = 0.05f; at < 6.2f; at += 0.31f) EXPECT_NEAR(nd(s, at, 5), std::sin(at), 2e-3) << at;
    Table step{{0, 1, 2, 3, 4, 5, 6}, {0, 0, 0, 1, 1, 1, 1}};
    for (float at = 0.0f; at <= 6.0f; at += 0.1f) {
        float v = nd(step, at, 5);
        EXPECT_GE(v, -1e-6f) << at;
        EXPECT_LE(v, 1.0f + 1e-6f) << at;
    }
}

TEST_F(Interpolation, SplinesAgainstAReference) {
    Table t = uneven(-1, 4, 17, [](double x) { return std::exp(-x) * std::cos(2 * x); });
    ReferenceSpline natural(t, false), clamped(t, true);
    for (float at = -0.95f; at < 3.95f; at += 0.137f) {
        EXPECT_NEAR(nd(t, at, 7), natural(at), 1e-5) << at;
        EXPECT_NEAR(nd(t, at, 6), clamped(at), 1e-5) << at;
        EXPECT_NEAR(DyFunc1dND(t.x.data(), t.y.data(), t.n(), at, 1), natural(at, 1), 1e-4) << at;
        EXPECT_NEAR(DyFunc1dND(t.x.data(), t.y.data(), t.n(), at, 0), clamped(at, 1), 1e-4) << at;
        EXPECT_NEAR(DyFunc1dND(t.x.data(), t.y.data(), t.n(), at, 4), natural(at, 2), 1e-3) << at;
        EXPECT_NEAR(DyFunc1dND(t.x.data(), t.y.data(), t.n(), at, 3), clamped(at, 2), 1e-3) << at;
        EXPECT_NEAR(DyFunc1dND(t.x.data(), t.y.data(), t.n(), at, 9), clamped(at, 1), 1e-4) << at;
    }
}

TEST_F(Interpolation, PeriodicSplineAndDerivativesOfKnownFunctions) {
    const int n = 65;
    std::vector<float> y(n);
    const float h = static_cast<float>(2 * kPi / (n - 1));
    for (int i = 0; i < n; ++i) y[i] = static_cast<float>(std::sin(i * double(h)));
    y[n - 1] = y[0];
    for (float at = 0.03f; at < 6.2f; at += 0.29f) {
        EXPECT_NEAR(Inter1dFuncED(0.0f, h, n, y.data(), at, 8), std::sin(at), 2e-5) << at;
        EXPECT_NEAR(Inter1dFuncED(0.0f, h, n, y.data(), at + 2 * kPi, 8), std::sin(at), 5e-5) << at;
        EXPECT_NEAR(DyFunc1dED(0.0f, h, n, y.data(), at, 2), std::cos(at), 2e-4) << at;
        EXPECT_NEAR(DyFunc1dED(0.0f, h, n, y.data(), at, 5), -std::sin(at), 5e-3) << at;
    }
    // Natural spline derivatives of a cubic-free function in the interior.
    for (float at = 1.0f; at < 5.0f; at += 0.5f) {
        EXPECT_NEAR(DyFunc1dED(0.0f, h, n, y.data(), at, 1), std::cos(at), 2e-4) << at;
        EXPECT_NEAR(DyFunc1dED(0.0f, h, n, y.data(), at, 4), -std::sin(at), 5e-3) << at;
    }
    float one = 1.0f;
    EXPECT_EQ(DyFunc1dED(0.0f, 1.0f, 1, &one, 0.5f, 0), 0.0f);
}

TEST_F(Interpolation, TwoDimensionalTables) {
    auto bicubic = [](double u, double v) {
        return 1 + u - 0.5 * v + 0.2 * u * u * v - 0.1 * u * u * u + 0.05 * v * v * v;
    };
    auto biquad = [](double u, double v) {
        return 1 + u - 0.5 * v + 0.3 * u * v - 0.2 * u * u + 0.1 * v * v;
    };
    Table tx = uneven(0, 4, 9, [](double) { return 0; }), ty = uneven(-1, 2, 7, [](double) { return 0; });
    std::vector<float> zc, zq;
    for (float xi : tx.x)
        for (float yj : ty.x) {
            zc.push_back(static_cast<float>(bicubic(xi, yj)));
            zq.push_back(static_cast<float>(biquad(xi, yj)));
        }
    std::mt19937 gen(4);
    std::uniform_real_distribution<float> du(-0.2f, 4.2f), dv(-1.2f, 2.2f);
    for (int k = 0; k < 200; ++k) {
        float u = du(gen), v = dv(gen);
        EXPECT_NEAR(Inter2D(tx.x.data(), ty.x.data(), zc.data(), 9, 7, u, v, 9), bicubic(u, v), 1e-4)
            << u << "," << v;
        EXPECT_NEAR(Inter2D(tx.x.data(), ty.x.data(), zq.data(), 9, 7, u, v, 10), biquad(u, v), 1e-4)
            << u << "," << v;
    }
    EXPECT_EQ(Inter2D(tx.x.data(), ty.x.data(), zq.data(), 0, 7, 1, 1, 9), 0.0f);
}

TEST(InterpolationCodes, NullArraysSetCode3) {
    setErrorCode(0);
    float y[3] = {1, 2, 3};
    EXPECT_EQ(Inter1dFuncND(nullptr, y, 3, 1.0f, 0), 0.0f);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_NULL);
    setErrorCode(0);
    EXPECT_EQ(Inter1dFuncED(0, 1, 3, nullptr, 1.0f, 6), 0.0f);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_NULL);
    setErrorCode(0);
    EXPECT_EQ(DyFunc1dND(y, nullptr, 3, 1.0f, 0), 0.0f);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_NULL);
    setErrorCode(0);
    EXPECT_EQ(Inter2D(y, y, nullptr, 3, 3, 1.0f, 1.0f, 0), 0.0f);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_NULL);
    // A successful call leaves an earlier code alone.
    setErrorCode(6);
    EXPECT_FLOAT_EQ(Inter1dFuncED(0, 1, 3, y, 1.0f, 7), 2.0f);
    EXPECT_EQ(getErrorCode(), 6);
    setErrorCode(0);
}

}  // namespace

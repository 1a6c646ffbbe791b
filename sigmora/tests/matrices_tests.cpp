// The signal library's matrices, regression and fitting: its own conventions (determinant and
// Jacobi rotations on the caller's matrix, eps as an argument, roots in double precision) and
// accuracy against double references computed here.
#include "sigmora.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <random>
#include <vector>

namespace {

std::vector<float> randomMatrix(int rows, int cols, unsigned seed) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<float> d(-1.0f, 1.0f);
    std::vector<float> a(static_cast<std::size_t>(rows * cols));
    for (float &v : a) v = d(gen);
    return a;
}

TEST(SigmoraMatrices, ProductMatchesDoubleSums) {
    const int m = 13, n = 29, k = 18;
    const std::vector<float> a = randomMatrix(m, n, 1), b = randomMatrix(n, k, 2);
    std::vector<float> c(m * k);
    MatMulMat(a.data(), b.data(), m, n, k, c.data());
    for (int i = 0; i < m; ++i)
        for (int j = 0; j < k; ++j) {
            double s = 0.0;
            for (int l = 0; l < n; ++l) s += static_cast<double>(a[i * n + l]) * b[l * k + j];
            EXPECT_NEAR(c[i * k + j], s, 2e-5);
        }
    std::vector<float> untouched(4, 3.0f);
    MatMulMat(a.data(), b.data(), -2, -2, 1, untouched.data());
    EXPECT_EQ(untouched, std::vector<float>(4, 3.0f));
}

TEST(SigmoraMatrices, InverseAndSingularMatrix) {
    const int n = 12;
    std::vector<float> a = randomMatrix(n, n, 3);
    for (int i = 0; i < n; ++i) a[i * n + i] += 4.0f;
    std::vector<float> inv = a;
    ASSERT_EQ(MatInv(inv.data(), n), 1);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            double s = 0.0;
            for (int l = 0; l < n; ++l) s += static_cast<double>(a[i * n + l]) * inv[l * n + j];
            EXPECT_NEAR(s, i == j ? 1.0 : 0.0, 1e-5);
        }
    std::vector<float> singular = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    EXPECT_EQ(MatInv(singular.data(), 3), 0);
    EXPECT_EQ(singular, (std::vector<float>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(MatInv(singular.data(), 0), 0);
}

TEST(SigmoraMatrices, DeterminantWorksOnTheCallersMatrix) {
    std::vector<float> a = {1, 2, 3, 4};
    EXPECT_DOUBLE_EQ(MatDet(a.data(), 2), -2.0);
    EXPECT_NE(a, (std::vector<float>{1, 2, 3, 4}));  // left in eliminated form
    float one = -4.25f;
    EXPECT_EQ(MatDet(&one, 1), -4.25);
    std::vector<float> zero(9, 0.0f);
    EXPECT_EQ(MatDet(zero.data(), 3), 0.0);
    EXPECT_EQ(MatDet(zero.data(), -1), 0.0);
    // Upper triangular: the product of the diagonal.
    std::vector<float> t = {2, 5, 7, 0, -3, 1, 0, 0, 0.5f};
    EXPECT_NEAR(MatDet(t.data(), 3), -3.0, 1e-6);
}

TEST(SigmoraMatrices, TransposeRefusesTwoNegativeSizes) {
    std::vector<float> a = {1, 2, 3, 4, 5, 6};
    ASSERT_EQ(MatTranspose(a.data(), 3, 2), 1);
    EXPECT_EQ(a, (std::vector<float>{1, 3, 5, 2, 4, 6}));
    EXPECT_EQ(MatTranspose(a.data(), -3, -2), 0);
    EXPECT_EQ(a, (std::vector<float>{1, 3, 5, 2, 4, 6}));
}

TEST(SigmoraMatrices, JacobiRotationsInPlace) {
    std::vector<float> d = {2, 0, 0, 0, 5, 0, 0, 0, -1}, v(9, 7.0f);
    ASSERT_EQ(MatEigenVector(d.data(), 3, v.data(), 1e-6f, 100), 1);
    EXPECT_EQ(d, (std::vector<float>{2, 0, 0, 0, 5, 0, 0, 0, -1}));
    EXPECT_EQ(v, (std::vector<float>{1, 0, 0, 0, 1, 0, 0, 0, 1}));
    const int n = 8;
    std::vector<float> a = randomMatrix(n, n, 4);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < i; ++j) a[i * n + j] = a[j * n + i];
    const std::vector<float> orig = a;
    std::vector<float> vec(n * n);
    ASSERT_EQ(MatEigenVector(a.data(), n, vec.data(), 1e-7f, 10000), 1);
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            double av = 0.0;
            for (int k = 0; k < n; ++k) av += static_cast<double>(orig[i * n + k]) * vec[k * n + j];
            EXPECT_NEAR(av, a[j * n + j] * vec[i * n + j], 1e-5);
        }
    std::vector<float> b = orig;
    EXPECT_EQ(MatEigenVector(b.data(), n, vec.data(), 1e-7f, 2), 0);
}

TEST(SigmoraMatrices, CholeskySolvesSeveralRightHandSides) {
    std::vector<float> a = {4, 2, 2, 3}, d = {2, 1};
    ASSERT_EQ(Cholesky(a.data(), 2, 1, d.data()), 1);
    EXPECT_NEAR(d[0], 0.5f, 1e-6);
    EXPECT_NEAR(d[1], 0.0f, 1e-6);
    // A = B B^T + I (positive definite), two columns of d (n x 2).
    const int n = 6;
    const std::vector<float> bm = randomMatrix(n, n, 5);
    std::vector<float> spd(n * n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            double s = i == j ? 1.0 : 0.0;
            for (int k = 0; k < n; ++k) s += static_cast<double>(bm[i * n + k]) * bm[j * n + k];
            spd[i * n + j] = static_cast<float>(s);
        }
    const std::vector<float> rhs = randomMatrix(n, 2, 6);
    std::vector<float> work = spd, sol = rhs;
    ASSERT_EQ(Cholesky(work.data(), n, 2, sol.data()), 1);
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < n; ++i) {
            double s = 0.0;
            for (int k = 0; k < n; ++k) s += static_cast<double>(spd[i * n + k]) * sol[k * 2 + c];
            EXPECT_NEAR(s, rhs[i * 2 + c], 1e-4);
        }
    // Not positive definite, and positive semi-definite up to rounding: d untouched.
    std::vector<float> indefinite = {1, 2, 2, 1}, semi = {1, 2, 2, 4}, dd = {1, 1};
    EXPECT_EQ(Cholesky(indefinite.data(), 2, 1, dd.data()), 0);
    EXPECT_EQ(Cholesky(semi.data(), 2, 1, dd.data()), 0);
    EXPECT_EQ(dd, (std::vector<float>{1, 1}));
}

double rootDistance(const std::vector<std::complex<double>> &want, const std::vector<double> &re,
                    const std::vector<double> &im) {
    double worst = 0.0;
    for (auto w : want) {
        double best = INFINITY;
        for (std::size_t i = 0; i < re.size(); ++i)
            best = std::min(best, std::abs(std::complex<double>(re[i], im[i]) - w));
        worst = std::max(worst, best);
    }
    return worst;
}

TEST(SigmoraMatrices, RootsInDoublePrecision) {
    const std::vector<double> quad = {2, -3, 1};
    std::vector<double> re(2), im(2);
    ASSERT_EQ(EQRoots(quad.data(), 2, re.data(), im.data(), 1e-12, 60), 1);
    std::sort(re.begin(), re.end());
    EXPECT_NEAR(re[0], 1.0, 1e-12);
    EXPECT_NEAR(re[1], 2.0, 1e-12);
    const std::vector<double> cube = {-1, 0, 0, 1};
    std::vector<double> cr(3), ci(3);
    ASSERT_EQ(EQRoots(cube.data(), 3, cr.data(), ci.data(), 1e-14, 60), 1);
    const double h = std::sqrt(3.0) / 2.0;
    EXPECT_LT(rootDistance({{1, 0}, {-0.5, h}, {-0.5, -h}}, cr, ci), 1e-12);
    // Roots 1..5 and the pair 2 +- i, coefficients built here.
    const std::vector<std::complex<double>> roots = {{1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {2, 1}, {2, -1}};
    std::vector<std::complex<double>> c = {1.0};
    for (auto r : roots) {
        std::vector<std::complex<double>> next(c.size() + 1, 0.0);
        for (std::size_t i = 0; i < c.size(); ++i) {
            next[i + 1] += c[i];
            next[i] -= r * c[i];
        }
        c = next;
    }
    std::vector<double> a;
    for (auto v : c) a.push_back(v.real());
    std::vector<double> pr(7), pi(7);
    ASSERT_EQ(EQRoots(a.data(), 7, pr.data(), pi.data(), 1e-14, 100), 1);
    EXPECT_LT(rootDistance(roots, pr, pi), 1e-8);
    EXPECT_EQ(EQRoots(a.data(), 7, pr.data(), pi.data(), 1e-14, 0), 0);
    const std::vector<double> leadingZero = {1, 0};
    EXPECT_EQ(EQRoots(leadingZero.data(), 1, pr.data(), pi.data(), 1e-14, 10), 0);
}

TEST(SigmoraMatrices, LineRegressionMinimumStartsAtTheFirstResidual) {
    const std::vector<float> x = {0, 1, 2, 3}, y = {3e13f, -3e13f, -3e13f, 3e13f};
    std::vector<float> ab(2), dt(6);
    SLRegress(x.data(), y.data(), 4, ab.data(), dt.data());
    EXPECT_NEAR(dt[4], 3e13f, 1e8f);
    EXPECT_NEAR(dt[3], 3e13f, 1e8f);
    const std::vector<float> lx = {0, 1, 2}, ly = {1, 3, 5};
    SLRegress(lx.data(), ly.data(), 3, ab.data(), dt.data());
    EXPECT_FLOAT_EQ(ab[0], 1.0f);
    EXPECT_FLOAT_EQ(ab[1], 2.0f);
}

TEST(SigmoraMatrices, MultipleRegressionAndCurveFit) {
    const int n = 20;
    std::vector<float> x(2 * n), y(n);
    for (int k = 0; k < n; ++k) {
        x[k] = 0.3f * k;
        x[n + k] = std::sin(0.7f * k);
        y[k] = -1.0f * x[k] + 4.0f * x[n + k] + 0.5f;
    }
    std::vector<float> a(3), dt(4), v(2);
    ASSERT_EQ(MVLineRegress(x.data(), y.data(), 2, n, a.data(), dt.data(), v.data()), 1);
    EXPECT_NEAR(a[0], -1.0f, 1e-4);
    EXPECT_NEAR(a[1], 4.0f, 1e-4);
    EXPECT_NEAR(a[2], 0.5f, 1e-4);
    EXPECT_EQ(MVLineRegress(x.data(), y.data(), 0, n, a.data(), dt.data(), v.data()), 0);
    // CurveFit: y = 2 - x + 3 x^2 in powers of x - mean(x).
    std::vector<float> cx(10), cy(10);
    for (int i = 0; i < 10; ++i) {
        cx[i] = 0.5f * i;
        cy[i] = 2.0f - cx[i] + 3.0f * cx[i] * cx[i];
    }
    const double s = 2.25;  // mean of cx
    std::vector<float> c(3), cdt(3);
    ASSERT_EQ(CurveFit(cx.data(), cy.data(), 10, c.data(), 3, cdt.data()), 1);
    EXPECT_NEAR(c[0], 2.0 - s + 3.0 * s * s, 1e-4);
    EXPECT_NEAR(c[1], -1.0 + 6.0 * s, 1e-4);
    EXPECT_NEAR(c[2], 3.0, 1e-4);
    std::vector<float> keep(2, 9.0f);
    EXPECT_EQ(CurveFit(cx.data(), cy.data(), 10, keep.data(), 0, cdt.data()), 0);
    EXPECT_EQ(keep, std::vector<float>(2, 9.0f));
}

TEST(SigmoraMatrices, ChebyshevFitFromConsecutiveReferences) {
    // The start differs from the numerics library's, the minimax polynomial does not:
    // x^3 on [-1, 1] by a quadratic is 0.75 x with error 1/4.
    const int n = 201;
    std::vector<float> x(n), y(n);
    for (int i = 0; i < n; ++i) {
        x[n - 1 - i] = -1.0f + 0.01f * i;  // descending order
        y[n - 1 - i] = x[n - 1 - i] * x[n - 1 - i] * x[n - 1 - i];
    }
    std::vector<float> a(4);
    ASSERT_EQ(ChebyFit(x.data(), y.data(), n, a.data(), 3), 1);
    EXPECT_NEAR(a[0], 0.0f, 1e-4);
    EXPECT_NEAR(a[1], 0.75f, 1e-4);
    EXPECT_NEAR(a[2], 0.0f, 1e-4);
    EXPECT_NEAR(std::fabs(a[3]), 0.25f, 1e-4);
    std::vector<float> keep(3, 9.0f);
    EXPECT_EQ(ChebyFit(x.data(), y.data(), 1, keep.data(), 2), 0);
    EXPECT_EQ(ChebyFit(x.data(), y.data(), n, keep.data(), 0), 0);
    EXPECT_EQ(keep, std::vector<float>(3, 9.0f));
}

}  // namespace

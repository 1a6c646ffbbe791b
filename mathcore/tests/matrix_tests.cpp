// Shared matrix code: every multiply kernel against the textbook sum at sizes that hit the
// block edges, the row-update kernels, the size checks and the pivot tolerance.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "mathcore/matrix.h"

namespace {

std::vector<float> randomValues(std::size_t n, unsigned seed) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<float> d(-1.0f, 1.0f);
    std::vector<float> v(n);
    for (float &x : v) x = d(gen);
    return v;
}

TEST(MatrixKernels, EveryPathMatchesTheDoubleSum) {
    // Sizes around the 6 x 16 register block and the 256-deep panel.
    const int sizes[][3] = {{1, 1, 1}, {5, 3, 15}, {6, 256, 16}, {7, 257, 17}, {13, 300, 33}, {64, 64, 64}};
    for (mathcore::MatMulPath path :
         {mathcore::MatMulPath::Portable, mathcore::MatMulPath::Avx2, mathcore::MatMulPath::Best}) {
        if (!mathcore::matmul_path_available(path)) continue;
        for (const auto &s : sizes) {
            const int m = s[0], n = s[1], k = s[2];
            const std::vector<float> a = randomValues(static_cast<std::size_t>(m * n), 1);
            const std::vector<float> b = randomValues(static_cast<std::size_t>(n * k), 2);
            std::vector<float> c(static_cast<std::size_t>(m * k), 99.0f), t(c.size());
            mathcore::matmul(a.data(), b.data(), m, n, k, c.data(), path);
            mathcore::matmul_textbook(a.data(), b.data(), m, n, k, t.data());
            for (int i = 0; i < m; ++i)
                for (int j = 0; j < k; ++j) {
                    double sum = 0.0;
                    for (int l = 0; l < n; ++l) sum += static_cast<double>(a[i * n + l]) * b[l * k + j];
                    const double tol = 2.0 * n * 1.2e-7;
                    ASSERT_NEAR(c[i * k + j], sum, tol)
                        << m << "x" << n << "x" << k << " at " << i << "," << j;
                    ASSERT_NEAR(t[i * k + j], sum, tol);
                }
        }
    }
}

TEST(MatrixKernels, RowUpdatesAndTheirMaxima) {
    for (std::size_t len : {0u, 1u, 7u, 8u, 9u, 31u}) {
        const std::vector<float> x = randomValues(len, 3), y0 = randomValues(len, 4);
        std::vector<float> y = y0, z = y0;
        mathcore::row_update(y.data(), x.data(), 0.75f, len);
        const float best = mathcore::row_update_max(z.data(), x.data(), 0.75f, len);
        float want = 0.0f;
        for (std::size_t j = 0; j < len; ++j) {
            EXPECT_NEAR(y[j], y0[j] - 0.75f * x[j], 1e-6f);
            EXPECT_EQ(y[j], z[j]);
            want = std::max(want, std::fabs(z[j]));
        }
        EXPECT_EQ(best, want) << len;
    }
}

TEST(MatrixKernels, SizeChecks) {
    using mathcore::SizeCheck;
    EXPECT_EQ(mathcore::check_size(3, 4), SizeCheck::Ok);
    EXPECT_EQ(mathcore::check_size(0, 4), SizeCheck::Invalid);
    EXPECT_EQ(mathcore::check_size(-2, -3), SizeCheck::Invalid);
    EXPECT_EQ(mathcore::check_size(46341, 46341), SizeCheck::TooLarge);
    EXPECT_EQ(mathcore::check_size(46340, 46340), SizeCheck::Ok);
    EXPECT_EQ(mathcore::check_sizes(2, 3, 4), SizeCheck::Ok);
    EXPECT_EQ(mathcore::check_sizes(70000, 1, 70000), SizeCheck::TooLarge);  // only m x k is too big
    EXPECT_EQ(mathcore::check_sizes(2, 0, 4), SizeCheck::Invalid);
}

TEST(MatrixKernels, NegligibilityFollowsTheScaleOfTheMatrix) {
    // diag(1, 1e-7) is singular to single precision; diag(1, 1e-5) is not; neither changes
    // when the whole matrix is scaled by 1e-30 or 1e30.
    for (float scale : {1.0f, 1e-30f, 1e30f}) {
        std::vector<float> bad = {scale, 0, 0, 1e-7f * scale}, good = {scale, 0, 0, 1e-5f * scale};
        std::vector<std::int32_t> pr(2), pc(2);
        EXPECT_FALSE(mathcore::invert_inplace(bad.data(), 2, pr.data(), pc.data())) << scale;
        EXPECT_TRUE(mathcore::invert_inplace(good.data(), 2, pr.data(), pc.data())) << scale;
        EXPECT_NEAR(good[3] * scale, 1e5f, 1.0f);
        std::vector<float> d = {scale, 0, 0, 1e-5f * scale};
        EXPECT_NEAR(mathcore::determinant_inplace(d.data(), 2) / (double(scale) * scale), 1e-5, 1e-11);
    }
    std::vector<float> nan = {1, NAN, 2, 3};
    std::vector<std::int32_t> pr(2), pc(2);
    EXPECT_FALSE(mathcore::invert_inplace(nan.data(), 2, pr.data(), pc.data()));
}

TEST(MatrixKernels, JacobiPicksTheFirstLargestElement) {
    // Two off-diagonal elements of equal magnitude, (0, 1) first in row-major order. The
    // eigenvalues of this tridiagonal matrix are 1 - sqrt(2), 1 and 1 + sqrt(2).
    std::vector<float> a = {1, 1, 0, 1, 1, 1, 0, 1, 1}, v(9);
    ASSERT_TRUE(mathcore::jacobi_eigen(a.data(), 3, v.data(), 1e-7f, 100));
    std::vector<double> d = {a[0], a[4], a[8]};
    std::sort(d.begin(), d.end());
    EXPECT_NEAR(d[0], 1.0 - std::sqrt(2.0), 1e-6);
    EXPECT_NEAR(d[1], 1.0, 1e-6);
    EXPECT_NEAR(d[2], 1.0 + std::sqrt(2.0), 1e-6);
    std::vector<float> b = {1, 1, 0, 1, 1, 1, 0, 1, 1};
    EXPECT_FALSE(mathcore::jacobi_eigen(b.data(), 3, v.data(), 1e-7f, 1));
    // After exactly one rotation on (0, 1) the element (0, 1) is zero.
    EXPECT_EQ(b[1], 0.0f);
    EXPECT_EQ(b[3], 0.0f);
}

}  // namespace

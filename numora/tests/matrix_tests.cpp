// Matrix routines: products, inverses, determinants, transposes and eigenpairs against double
// references computed here, with the failure cases and their error codes.
#include "numora.h"

#include "linalg_reference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <vector>

namespace {

using ref::kFloatEps;

class MatrixTest : public ::testing::Test {
  protected:
    void SetUp() override { setErrorCode(0); }
    void TearDown() override { setPrecision(1.0e-6f); }
};

double maxAbsDiff(const ref::Matrix &a, const ref::Matrix &b) {
    double d = 0.0;
    for (std::size_t i = 0; i < a.size(); ++i) d = std::max(d, std::fabs(a[i] - b[i]));
    return d;
}

ref::Matrix identity(std::size_t n) {
    ref::Matrix id(n * n, 0.0);
    for (std::size_t i = 0; i < n; ++i) id[i * n + i] = 1.0;
    return id;
}

TEST_F(MatrixTest, MultiplyMatchesDoubleReferenceAtOddSizes) {
    const int sizes[][3] = {{1, 1, 1}, {3, 5, 2}, {17, 33, 19}, {70, 64, 45}, {7, 300, 23}};
    for (const auto &s : sizes) {
        const int m = s[0], n = s[1], k = s[2];
        const std::vector<float> a = ref::randomMatrix(m, n, 1), b = ref::randomMatrix(n, k, 2);
        std::vector<float> c(static_cast<std::size_t>(m * k), -7.0f);
        MatMultiply(a.data(), b.data(), m, n, k, c.data());
        const ref::Matrix want = ref::multiply(ref::toDouble(a), ref::toDouble(b), m, n, k);
        // Each entry is a sum of n products of magnitude at most 1.
        EXPECT_LT(maxAbsDiff(ref::toDouble(c), want), 2.0 * n * kFloatEps) << m << "x" << n << "x" << k;
    }
    EXPECT_EQ(getErrorCode(), 0);
}

TEST_F(MatrixTest, MultiplyWithBadSizesWritesNothing) {
    std::vector<float> a(4, 1.0f), b(4, 1.0f), c(4, 5.0f);
    MatMultiply(a.data(), b.data(), 0, 2, 2, c.data());
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_OTHER);
    MatMultiply(a.data(), b.data(), 2, -1, 2, c.data());
    setErrorCode(0);
    MatMultiply(a.data(), b.data(), 70000, 70000, 1, c.data());  // m * n overflows 32 bits
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_ALLOC);
    MatMultiply(nullptr, b.data(), 2, 2, 2, c.data());
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_NULL);
    EXPECT_EQ(c, std::vector<float>(4, 5.0f));
}

TEST_F(MatrixTest, InverseTimesMatrixIsIdentityScaledByCondition) {
    for (int n : {1, 2, 5, 33, 100}) {
        const std::vector<float> a = ref::wellConditioned(n, 10u + n);
        std::vector<float> inv = a;
        ASSERT_EQ(MatInv(inv.data(), n), 1) << n;
        const ref::Matrix prod = ref::multiply(ref::toDouble(inv), ref::toDouble(a), n, n, n);
        const double cond = ref::condition(ref::toDouble(a), n);
        EXPECT_LT(maxAbsDiff(prod, identity(n)), 4.0 * n * cond * kFloatEps) << n;
    }
    // A random matrix without a dominant diagonal needs the pivoting.
    const int n = 40;
    const std::vector<float> a = ref::randomMatrix(n, n, 99);
    std::vector<float> inv = a;
    ASSERT_EQ(MatInv(inv.data(), n), 1);
    const double cond = ref::condition(ref::toDouble(a), n);
    EXPECT_LT(maxAbsDiff(ref::multiply(ref::toDouble(a), ref::toDouble(inv), n, n, n), identity(n)),
              4.0 * n * cond * kFloatEps);
    EXPECT_EQ(getErrorCode(), 0);
}

TEST_F(MatrixTest, InverseOfPermutationAndOfTinyMatrix) {
    std::vector<float> swap = {0, 1, 1, 0};
    ASSERT_EQ(MatInv(swap.data(), 2), 1);
    EXPECT_EQ(swap, (std::vector<float>{0, 1, 1, 0}));
    // Scale does not make a matrix singular: 1e-20 * I is as well conditioned as I.
    std::vector<float> tiny = {1e-20f, 0, 0, 2e-20f};
    ASSERT_EQ(MatInv(tiny.data(), 2), 1);
    EXPECT_NEAR(tiny[0], 1e20f, 1e14f);
    EXPECT_NEAR(tiny[3], 5e19f, 5e13f);
}

TEST_F(MatrixTest, SingularAndNearlySingularInversesFailWithCode5AndKeepTheMatrix) {
    // Exactly singular, singular up to rounding (rows in arithmetic progression), and a rank-one
    // matrix built in single precision.
    std::vector<std::vector<float>> cases = {{1, 2, 2, 4}, {1, 2, 3, 4, 5, 6, 7, 8, 9}};
    std::vector<float> rank1(36);
    for (int i = 0; i < 6; ++i)
        for (int j = 0; j < 6; ++j) rank1[i * 6 + j] = (0.1f + 0.3f * i) * (0.7f - 0.11f * j);
    cases.push_back(rank1);
    cases.push_back(std::vector<float>(16, 0.0f));
    for (const std::vector<float> &c : cases) {
        const int n = static_cast<int>(std::lround(std::sqrt(c.size())));
        std::vector<float> a = c;
        setErrorCode(0);
        EXPECT_EQ(MatInv(a.data(), n), 0) << n;
        EXPECT_EQ(getErrorCode(), NUMORA_ERR_SINGULAR);
        EXPECT_EQ(a, c);
    }
}

TEST_F(MatrixTest, InverseLeavesAnEarlierCodeAndRejectsBadSizes) {
    setErrorCode(5);
    std::vector<float> a = {2, 0, 0, 4};
    EXPECT_EQ(MatInv(a.data(), 2), 1);
    EXPECT_EQ(getErrorCode(), 5);
    const std::vector<float> keep = a;
    for (int n : {0, -3}) {
        setErrorCode(0);
        EXPECT_EQ(MatInv(a.data(), n), 0);
        EXPECT_EQ(getErrorCode(), NUMORA_ERR_OTHER);
    }
    setErrorCode(0);
    EXPECT_EQ(MatInv(a.data(), 50000), 0);  // 2.5e9 elements
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_ALLOC);
    EXPECT_EQ(a, keep);
}

TEST_F(MatrixTest, DeterminantsOfKnownMatrices) {
    const std::vector<float> a = {1, 2, 3, 4};
    EXPECT_FLOAT_EQ(MatDet(a.data(), 2), -2.0f);
    EXPECT_EQ(a, (std::vector<float>{1, 2, 3, 4}));
    const float one = 7.5f;
    EXPECT_EQ(MatDet(&one, 1), 7.5f);
    // Permuted triangular matrix: determinant = sign * product of the diagonal.
    const int n = 6;
    std::vector<float> t(n * n, 0.0f);
    double product = 1.0;
    for (int i = 0; i < n; ++i)
        for (int j = i; j < n; ++j) {
            t[i * n + j] = i == j ? 1.5f + i : 0.25f * (i + j);
            if (i == j) product *= t[i * n + j];
        }
    std::swap_ranges(t.begin(), t.begin() + n, t.begin() + 2 * n);  // one row swap: sign -1
    EXPECT_NEAR(MatDet(t.data(), n), -product, 1e-5 * product);
    for (int size : {3, 10, 50}) {
        const std::vector<float> r = ref::randomMatrix(size, size, 50u + size);
        const double want = ref::determinant(ref::toDouble(r), size);
        const double cond = ref::condition(ref::toDouble(r), size);
        EXPECT_NEAR(MatDet(r.data(), size), want, std::fabs(want) * 4.0 * size * cond * kFloatEps) << size;
    }
    EXPECT_EQ(getErrorCode(), 0);
}

TEST_F(MatrixTest, DeterminantOfSingularIsZeroWithoutCode) {
    const std::vector<float> zero(9, 0.0f), progression = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    EXPECT_EQ(MatDet(zero.data(), 3), 0.0f);
    EXPECT_EQ(MatDet(progression.data(), 3), 0.0f);
    EXPECT_EQ(getErrorCode(), 0);
    EXPECT_EQ(MatDet(zero.data(), 0), 0.0f);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_OTHER);
}

TEST_F(MatrixTest, TransposeInPlaceAndBadSizes) {
    std::vector<float> a = {1, 2, 3, 4, 5, 6};
    ASSERT_EQ(MatTrans(a.data(), 2, 3), 1);
    EXPECT_EQ(a, (std::vector<float>{1, 4, 2, 5, 3, 6}));
    const std::vector<float> r = ref::randomMatrix(7, 5, 3);
    std::vector<float> t = r;
    ASSERT_EQ(MatTrans(t.data(), 7, 5), 1);
    for (int i = 0; i < 7; ++i)
        for (int j = 0; j < 5; ++j) EXPECT_EQ(t[j * 7 + i], r[i * 5 + j]);
    // Two negative sizes multiply to a positive count; still refused.
    EXPECT_EQ(MatTrans(t.data(), -2, -3), 0);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_OTHER);
    setErrorCode(0);
    EXPECT_EQ(MatTrans(t.data(), 65536, 65536), 0);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_ALLOC);
    ASSERT_EQ(MatTrans(t.data(), 5, 7), 1);
    EXPECT_EQ(t, r);
}

std::vector<float> randomSymmetric(int n, unsigned seed) {
    std::vector<float> a = ref::randomMatrix(n, n, seed);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < i; ++j) a[i * n + j] = a[j * n + i];
    return a;
}

TEST_F(MatrixTest, SymmetricEigenpairsSatisfyAvEqualsLambdaV) {
    for (int n : {2, 6, 20}) {
        const std::vector<float> a = randomSymmetric(n, 7u + n);
        std::vector<float> values(n), vectors(n * n);
        ASSERT_EQ(MatEigenVV(a.data(), n, values.data(), vectors.data(), 100000), 1) << n;
        EXPECT_EQ(a, randomSymmetric(n, 7u + n));  // input unchanged
        double trace = 0.0;
        for (int i = 0; i < n; ++i) trace += a[i * n + i];
        double sum = 0.0;
        for (int j = 0; j < n; ++j) {
            sum += values[j];
            for (int i = 0; i < n; ++i) {
                double av = 0.0;
                for (int k = 0; k < n; ++k) av += static_cast<double>(a[i * n + k]) * vectors[k * n + j];
                EXPECT_NEAR(av, values[j] * vectors[i * n + j], 1e-4) << n << " pair " << j;
            }
            for (int k = 0; k < n; ++k) {  // orthonormal columns
                double dot = 0.0;
                for (int i = 0; i < n; ++i)
                    dot += static_cast<double>(vectors[i * n + j]) * vectors[i * n + k];
                EXPECT_NEAR(dot, j == k ? 1.0 : 0.0, 1e-5);
            }
        }
        EXPECT_NEAR(sum, trace, 1e-4);
    }
}

TEST_F(MatrixTest, SymmetricEigenOfDiagonalAndRotationLimit) {
    const std::vector<float> d = {3, 0, 0, 0, -1, 0, 0, 0, 2};
    std::vector<float> values(3), vectors(9, 9.0f);
    EXPECT_EQ(MatEigenVV(d.data(), 3, values.data(), vectors.data(), 0), 1);
    EXPECT_EQ(values, (std::vector<float>{3, -1, 2}));
    EXPECT_EQ(vectors, (std::vector<float>{1, 0, 0, 0, 1, 0, 0, 0, 1}));
    const std::vector<float> a = randomSymmetric(5, 4);
    values.resize(5);
    vectors.resize(25);
    EXPECT_EQ(MatEigenVV(a.data(), 5, values.data(), vectors.data(), 0), -2);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_ITERATIONS);
    setErrorCode(0);
    EXPECT_EQ(MatEigenVV(a.data(), 5, values.data(), vectors.data(), 3), -2);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_ITERATIONS);
    setErrorCode(0);
    EXPECT_EQ(MatEigenVV(a.data(), -5, values.data(), vectors.data(), 3), -1);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_OTHER);
    const std::vector<float> withNan = {1, NAN, NAN, 1};
    std::vector<float> keep(4, 9.0f);
    setErrorCode(0);
    EXPECT_EQ(MatEigenVV(withNan.data(), 2, values.data(), keep.data(), 100), -1);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_OTHER);
    EXPECT_EQ(keep, std::vector<float>(4, 9.0f));
}

TEST_F(MatrixTest, SymmetricEigenReadsThePrecision) {
    const std::vector<float> a = {2, 0.25f, 0.25f, 3};  // off-diagonal 0.25
    std::vector<float> values(2), vectors(4);
    setPrecision(0.5f);
    EXPECT_EQ(MatEigenVV(a.data(), 2, values.data(), vectors.data(), 0), 1);
    EXPECT_EQ(values, (std::vector<float>{2, 3}));
    setPrecision(1e-6f);
    EXPECT_EQ(MatEigenVV(a.data(), 2, values.data(), vectors.data(), 0), -2);
    ASSERT_EQ(MatEigenVV(a.data(), 2, values.data(), vectors.data(), 10), 1);
    const double disc = std::sqrt(0.25 + 0.0625);  // ((3 - 2) / 2)^2 + 0.25^2
    std::sort(values.begin(), values.end());
    EXPECT_NEAR(values[0], 2.5 - disc, 1e-6);
    EXPECT_NEAR(values[1], 2.5 + disc, 1e-6);
}

std::vector<std::complex<double>> sortedEigen(const std::vector<float> &re, const std::vector<float> &im) {
    std::vector<std::complex<double>> z;
    for (std::size_t i = 0; i < re.size(); ++i) z.emplace_back(re[i], im[i]);
    std::sort(z.begin(), z.end(), [](auto p, auto q) {
        return p.real() != q.real() ? p.real() < q.real() : p.imag() < q.imag();
    });
    return z;
}

TEST_F(MatrixTest, GeneralEigenvaluesOfRotationAndOfSimilarMatrices) {
    const std::vector<float> rot = {0, -1, 1, 0};
    std::vector<float> re(2, 9.0f), im(2, 9.0f);
    ASSERT_EQ(MatEigenV(rot.data(), 2, re.data(), im.data(), 30), 1);
    EXPECT_NEAR(re[0], 0.0f, 1e-7);
    EXPECT_NEAR(re[1], 0.0f, 1e-7);
    EXPECT_NEAR(im[0], -1.0f, 1e-6);
    EXPECT_NEAR(im[1], 1.0f, 1e-6);
    // A = S D S^-1 with D holding -2, 0.5, 3 and the pair 1 +- 2i.
    const int n = 5;
    ref::Matrix d(n * n, 0.0);
    d[0] = -2;
    d[1 * n + 1] = 0.5;
    d[2 * n + 2] = 3;
    d[3 * n + 3] = 1;
    d[3 * n + 4] = 2;
    d[4 * n + 3] = -2;
    d[4 * n + 4] = 1;
    const ref::Matrix s = ref::toDouble(ref::wellConditioned(n, 5));
    const ref::Matrix a = ref::multiply(ref::multiply(s, d, n, n, n), ref::inverse(s, n), n, n, n);
    std::vector<float> af = ref::toFloat(a), er(n), ei(n);
    ASSERT_EQ(MatEigenV(af.data(), n, er.data(), ei.data(), 60), 1);
    const auto got = sortedEigen(er, ei);
    const std::vector<std::complex<double>> want = {{-2, 0}, {0.5, 0}, {1, -2}, {1, 2}, {3, 0}};
    for (int i = 0; i < n; ++i) EXPECT_LT(std::abs(got[i] - want[i]), 1e-4) << i;
    // Conjugate pairs: the positive imaginary part at the higher index.
    for (int i = 0; i + 1 < n; ++i)
        if (ei[i] != 0.0f && ei[i + 1] == -ei[i]) {
            EXPECT_LT(ei[i], 0.0f);
        }
    EXPECT_EQ(getErrorCode(), 0);
}

TEST_F(MatrixTest, GeneralEigenvaluesStopAtTheIterationLimit) {
    const std::vector<float> a = ref::randomMatrix(6, 6, 21);
    std::vector<float> re(6), im(6);
    EXPECT_EQ(MatEigenV(a.data(), 6, re.data(), im.data(), 0), 0);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_ITERATIONS);
    // A negative precision never deflates: the limit ends the iteration.
    setErrorCode(0);
    setPrecision(-1.0f);
    EXPECT_EQ(MatEigenV(a.data(), 6, re.data(), im.data(), 200), 0);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_ITERATIONS);
}

}  // namespace

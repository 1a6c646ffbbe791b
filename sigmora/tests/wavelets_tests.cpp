// Daubechies transforms: filter tables, perfect reconstruction, orthonormality, addressing,
// agreement with the textbook scatter/gather form of the filter step, n-D transforms.
#include "sigmora.h"

#include "testsupport/fresh_library.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

namespace {

const int kTapCounts[] = {4, 6, 8, 10, 12, 14, 16, 18, 20};

std::vector<float> randomSignal(size_t n, unsigned seed) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<float> dist(-100.0f, 100.0f);
    std::vector<float> v(n);
    for (float &x : v) x = dist(gen);
    return v;
}

// The filter currently selected, read back through the library: an inverse transform of a
// single finest-scale detail coefficient at position o lays the high-pass taps r[k] out at
// 2o + k + 2 - ncof/2 (the lower scales see only zeros). The low-pass taps follow from
// r[ncof - 1 - k] = (-1)^(k+1) c[k].
struct Taps {
    std::vector<double> c, r;
};

Taps selectedTaps(int ncof) {
    const int n = 128, half = n / 2, o = 24;
    std::vector<float> a(n + 1, 0.0f);
    a[1 + half + o] = 1.0f;
    DaubDWT1D(a.data(), n, -1);
    Taps t;
    t.r.resize(ncof);
    t.c.resize(ncof);
    for (int k = 0; k < ncof; ++k) t.r[k] = a[1 + 2 * o + k + 2 - ncof / 2];
    for (int k = 0; k < ncof; ++k) t.c[k] = (k % 2 == 0 ? -1.0 : 1.0) * t.r[ncof - 1 - k];
    return t;
}

// Number of non-zero values the single-coefficient inverse above produces.
int selectedLength() {
    const int n = 128;
    std::vector<float> a(n + 1, 0.0f);
    a[1 + n / 2 + 24] = 1.0f;
    DaubDWT1D(a.data(), n, -1);
    int count = 0;
    for (int i = 1; i <= n; ++i) count += a[i] != 0.0f;
    return count;
}

// One filter step exactly as the textbook writes it: 1-based arrays, index mask for the
// periodic wrap, running sums kept as floats and each product added with one rounding.
void referenceStep(float *a, int m, const std::vector<float> &c, const std::vector<float> &r, bool forward) {
    const int ncof = static_cast<int>(c.size());
    const int mask = m - 1, half = m / 2, nmod = ncof * m, ioff = -(ncof / 2), joff = ioff;
    std::vector<float> t(m + 1, 0.0f);
    for (int i = 1, o = 1; i <= m - 1; i += 2, ++o) {
        const int ni = i + nmod + ioff, nj = i + nmod + joff;
        if (forward) {
            for (int k = 1; k <= ncof; ++k) {
                t[o] = std::fmaf(c[k - 1], a[(mask & (ni + k)) + 1], t[o]);
                t[o + half] = std::fmaf(r[k - 1], a[(mask & (nj + k)) + 1], t[o + half]);
            }
        } else {
            const float ai = a[o], ai1 = a[o + half];
            for (int k = 1; k <= ncof; ++k) {
                float &lo = t[(mask & (ni + k)) + 1];
                lo = std::fmaf(c[k - 1], ai, lo);
                float &hi = t[(mask & (nj + k)) + 1];
                hi = std::fmaf(r[k - 1], ai1, hi);
            }
        }
    }
    for (int j = 1; j <= m; ++j) a[j] = t[j];
}

void referenceTransform(float *a, int n, int isign, const Taps &taps) {
    std::vector<float> c(taps.c.begin(), taps.c.end()), r(taps.r.begin(), taps.r.end());
    if (isign > 0) {
        for (int m = n; m >= 4; m /= 2) referenceStep(a, m, c, r, true);
    } else {
        for (int m = 4; m <= n; m *= 2) referenceStep(a, m, c, r, isign == 0);
    }
}

double energy(const float *x, size_t n) {
    double e = 0;
    for (size_t i = 0; i < n; ++i) e += double(x[i]) * x[i];
    return e;
}

}  // namespace

// ---- filter tables --------------------------------------------------------------------------

TEST(DaubechiesFilters, EveryRowSumsToSqrt2WithUnitEnergyAndOrthogonalEvenShifts) {
    for (int ncof : kTapCounts) {
        SCOPED_TRACE(ncof);
        DaubCoef(ncof);
        ASSERT_EQ(selectedLength(), ncof);
        Taps t = selectedTaps(ncof);
        double sum = 0, squares = 0;
        for (double v : t.c) {
            sum += v;
            squares += v * v;
        }
        EXPECT_NEAR(sum, std::sqrt(2.0), 5e-7);
        EXPECT_NEAR(squares, 1.0, 5e-7);
        for (int shift = 2; shift < ncof; shift += 2) {
            double dot = 0;
            for (int k = 0; k + shift < ncof; ++k) dot += t.c[k] * t.c[k + shift];
            EXPECT_NEAR(dot, 0.0, 5e-7) << "shift " << shift;
        }
        double highSum = 0;
        for (double v : t.r) highSum += v;
        EXPECT_NEAR(highSum, 0.0, 5e-7);
    }
}

TEST(DaubechiesFilters, FourTapRowIsTheClosedFormRoundedToFloat) {
    DaubCoef(4);
    Taps t = selectedTaps(4);
    const double s3 = std::sqrt(3.0), d = 4 * std::sqrt(2.0);
    EXPECT_EQ(t.c[0], double(float((1 + s3) / d)));
    EXPECT_EQ(t.c[1], double(float((3 + s3) / d)));
    EXPECT_EQ(t.c[2], double(float((3 - s3) / d)));
    EXPECT_EQ(t.c[3], double(float((1 - s3) / d)));
}

TEST(DaubechiesFilters, TwentyTapRowStartsWithThePublishedValues) {
    DaubCoef(20);
    Taps t = selectedTaps(20);
    EXPECT_NEAR(t.c[0], 0.0266701, 1e-7);
    EXPECT_NEAR(t.c[1], 0.188177, 1e-6);
    EXPECT_NEAR(t.c[2], 0.527201, 1e-6);
    EXPECT_NEAR(t.c[3], 0.688459, 1e-6);
}

TEST(DaubechiesFilters, UnsupportedLengthKeepsTheSelection) {
    DaubCoef(8);
    for (int bad : {5, 0, -4, 2, 22, 3}) DaubCoef(bad);
    EXPECT_EQ(selectedLength(), 8);
}

TEST(DaubechiesFilters, FreshLibraryHasNoFilterAndLeavesDataUnchanged) {
    FreshLibrary lib(SIGMORA_LIBRARY_PATH);
    ASSERT_TRUE(lib.loaded());
    auto dwt = lib.symbol<void (*)(float *, int32_t, int32_t)>("DaubDWT1D");
    auto dwtNd = lib.symbol<void (*)(float *, const int32_t *, int32_t, int32_t)>("DaubDWTnD");
    auto coef = lib.symbol<void (*)(int32_t)>("DaubCoef");
    ASSERT_TRUE(dwt && dwtNd && coef);
    DaubCoef(4);  // the linked library's selection is not the fresh copy's
    std::vector<float> a = randomSignal(17, 1), before = a;
    dwt(a.data(), 16, 1);
    EXPECT_EQ(a, before);
    const int32_t nn[2] = {4, 4};
    dwtNd(a.data(), nn, 2, 1);
    EXPECT_EQ(a, before);
    coef(6);
    dwt(a.data(), 16, 1);
    EXPECT_NE(a, before);
}

// ---- one-dimensional transform ----------------------------------------------------------------

TEST(DaubDWT1D, ForwardThenInverseRestoresTheSignalForEveryFilterAndSize) {
    for (int ncof : kTapCounts) {
        DaubCoef(ncof);
        for (int n : {4, 8, 16, 32, 256, 4096}) {
            SCOPED_TRACE(testing::Message() << "D" << ncof << " n=" << n);
            std::vector<float> a = randomSignal(n + 1, ncof * 1000 + n), x = a;
            DaubDWT1D(a.data(), n, 1);
            DaubDWT1D(a.data(), n, -1);
            for (int i = 1; i <= n; ++i) ASSERT_NEAR(a[i], x[i], 2e-4) << "at " << i;
        }
    }
}

TEST(DaubDWT1D, ForwardTransformPreservesEnergy) {
    for (int ncof : kTapCounts) {
        SCOPED_TRACE(ncof);
        DaubCoef(ncof);
        std::vector<float> a = randomSignal(1025, ncof);
        const double before = energy(a.data() + 1, 1024);
        DaubDWT1D(a.data(), 1024, 1);
        EXPECT_NEAR(energy(a.data() + 1, 1024) / before, 1.0, 1e-5);
        DaubDWT1D(a.data(), 1024, 0);
        EXPECT_NEAR(energy(a.data() + 1, 1024) / before, 1.0, 1e-5);
    }
}

TEST(DaubDWT1D, EightOnesWithFourTapsGiveTwoTwoAndZeros) {
    DaubCoef(4);
    std::vector<float> a(9, 1.0f);
    a[0] = -7.0f;
    DaubDWT1D(a.data(), 8, 1);
    EXPECT_NEAR(a[1], 2.0f, 1e-6);
    EXPECT_NEAR(a[2], 2.0f, 1e-6);
    for (int i = 3; i <= 8; ++i) EXPECT_NEAR(a[i], 0.0f, 1e-6) << i;
    DaubDWT1D(a.data(), 8, -1);
    for (int i = 1; i <= 8; ++i) EXPECT_NEAR(a[i], 1.0f, 1e-6) << i;
    EXPECT_EQ(a[0], -7.0f);
}

TEST(DaubDWT1D, MatchesTheTextbookStepBitForBit) {
    for (int ncof : kTapCounts) {
        DaubCoef(ncof);
        const Taps taps = selectedTaps(ncof);
        for (int n : {4, 8, 16, 32, 64, 128, 2048}) {
            for (int isign : {1, 0, -1}) {
                SCOPED_TRACE(testing::Message() << "D" << ncof << " n=" << n << " isign=" << isign);
                std::vector<float> a = randomSignal(n + 1, n + ncof), expected = a;
                DaubDWT1D(a.data(), n, isign);
                referenceTransform(expected.data(), n, isign, taps);
                ASSERT_EQ(0, std::memcmp(a.data(), expected.data(), a.size() * sizeof(float)));
            }
        }
    }
}

TEST(DaubDWT1D, NeverTouchesTheElementBeforeOrAfterTheData) {
    DaubCoef(20);
    for (int n : {2, 4, 8, 64}) {
        for (int isign : {1, 0, -1}) {
            std::vector<float> a = randomSignal(n + 2, n);
            a[0] = 12345.0f;
            a[n + 1] = -54321.0f;
            DaubDWT1D(a.data(), n, isign);
            EXPECT_EQ(a[0], 12345.0f);
            EXPECT_EQ(a[n + 1], -54321.0f);
        }
    }
}

TEST(DaubDWT1D, ShortOrNonPowerOfTwoLengthsChangeNothing) {
    DaubCoef(10);
    for (int n : {-8, 0, 1, 2, 3, 6, 12, 100, 1000}) {
        SCOPED_TRACE(n);
        std::vector<float> a = randomSignal(1001, 3), before = a;
        DaubDWT1D(a.data(), n, 1);
        DaubDWT1D(a.data(), n, -1);
        EXPECT_EQ(a, before);
    }
    DaubDWT1D(nullptr, 16, 1);  // must not crash
}

TEST(DaubDWT1D, ZeroSignRunsOneForwardStepAtEachSizeFromTheSmallest) {
    DaubCoef(6);
    std::vector<float> a = randomSignal(33, 9), manual = a;
    DaubDWT1D(a.data(), 32, 0);
    for (int m = 4; m <= 32; m *= 2) {
        // A forward pyramid at size m is the step at m followed by the pyramid at m / 2; an
        // inverse at m / 2 undoes the latter and leaves the single step at m.
        DaubDWT1D(manual.data(), m, 1);
        if (m > 4) DaubDWT1D(manual.data(), m / 2, -1);
    }
    for (int i = 1; i <= 32; ++i) EXPECT_NEAR(a[i], manual[i], 1e-3) << i;
}

// ---- n-dimensional transform --------------------------------------------------------------------

TEST(DaubDWTnD, EightByFourIsRowsThenColumns) {
    DaubCoef(4);
    const int32_t nn[2] = {8, 4};
    std::vector<float> a = randomSignal(32, 21), expected = a;
    DaubDWTnD(a.data(), nn, 2, 1);
    for (int row = 0; row < 4; ++row) {
        std::vector<float> line(9);
        std::copy(expected.begin() + row * 8, expected.begin() + row * 8 + 8, line.begin() + 1);
        DaubDWT1D(line.data(), 8, 1);
        std::copy(line.begin() + 1, line.end(), expected.begin() + row * 8);
    }
    for (int col = 0; col < 8; ++col) {
        std::vector<float> line(5);
        for (int j = 0; j < 4; ++j) line[1 + j] = expected[col + 8 * j];
        DaubDWT1D(line.data(), 4, 1);
        for (int j = 0; j < 4; ++j) expected[col + 8 * j] = line[1 + j];
    }
    EXPECT_EQ(a, expected);
}

TEST(DaubDWTnD, InverseRestoresAndZeroSignIsForward) {
    DaubCoef(12);
    const int32_t nn[3] = {16, 8, 32};
    std::vector<float> a = randomSignal(16 * 8 * 32, 5), x = a, zero = a;
    DaubDWTnD(a.data(), nn, 3, 1);
    DaubDWTnD(zero.data(), nn, 3, 0);
    EXPECT_EQ(a, zero);
    EXPECT_NEAR(energy(a.data(), a.size()) / energy(x.data(), x.size()), 1.0, 1e-5);
    DaubDWTnD(a.data(), nn, 3, -1);
    for (size_t i = 0; i < a.size(); ++i) ASSERT_NEAR(a[i], x[i], 2e-4) << i;
}

TEST(DaubDWTnD, DimensionsBelowFourAreSkipped) {
    DaubCoef(4);
    const int32_t nn[3] = {4, 2, 8};
    std::vector<float> a = randomSignal(64, 8), expected = a;
    DaubDWTnD(a.data(), nn, 3, 1);
    for (int row = 0; row < 16; ++row) {  // lines of dimension 1: 4 consecutive values
        std::vector<float> line(5);
        std::copy(expected.begin() + 4 * row, expected.begin() + 4 * row + 4, line.begin() + 1);
        DaubDWT1D(line.data(), 4, 1);
        std::copy(line.begin() + 1, line.end(), expected.begin() + 4 * row);
    }
    for (int i1 = 0; i1 < 8; ++i1) {  // lines of dimension 3: stride 8, 8 values
        std::vector<float> line(9);
        for (int j = 0; j < 8; ++j) line[1 + j] = expected[i1 + 8 * j];
        DaubDWT1D(line.data(), 8, 1);
        for (int j = 0; j < 8; ++j) expected[i1 + 8 * j] = line[1 + j];
    }
    EXPECT_EQ(a, expected);
}

TEST(DaubDWTnD, BadShapesChangeNothing) {
    DaubCoef(4);
    std::vector<float> a = randomSignal(96, 4), before = a;
    const int32_t notPower[2] = {8, 12}, negative[2] = {8, -4}, zero[2] = {8, 0};
    DaubDWTnD(a.data(), notPower, 2, 1);
    DaubDWTnD(a.data(), negative, 2, 1);
    DaubDWTnD(a.data(), zero, 2, 1);
    DaubDWTnD(a.data(), notPower, 0, 1);
    DaubDWTnD(a.data(), nullptr, 2, 1);
    DaubDWTnD(nullptr, notPower, 2, 1);
    EXPECT_EQ(a, before);
}

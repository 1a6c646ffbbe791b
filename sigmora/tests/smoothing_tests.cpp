// Savitzky-Golay table smoothing, the moving least-squares smoother and the median.
#include "sigmora.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

namespace {

// Solves the small dense system M c = r in double by Gaussian elimination with partial pivoting.
std::vector<double> solve(std::vector<std::vector<double>> M, std::vector<double> r) {
    const size_t n = r.size();
    for (size_t c = 0; c < n; ++c) {
        size_t p = c;
        for (size_t i = c + 1; i < n; ++i)
            if (std::fabs(M[i][c]) > std::fabs(M[p][c])) p = i;
        std::swap(M[c], M[p]);
        std::swap(r[c], r[p]);
        for (size_t i = c + 1; i < n; ++i) {
            const double f = M[i][c] / M[c][c];
            for (size_t j = c; j < n; ++j) M[i][j] -= f * M[c][j];
            r[i] -= f * r[c];
        }
    }
    std::vector<double> x(n);
    for (size_t i = n; i-- > 0;) {
        double s = r[i];
        for (size_t j = i + 1; j < n; ++j) s -= M[i][j] * x[j];
        x[i] = s / M[i][i];
    }
    return x;
}

// Weights over t = -h .. h giving coefficient `which` of the least-squares polynomial of degree
// `degree`, from the normal equations: row `which` of (V^T V)^-1 V^T.
std::vector<double> lsWeights(int h, int degree, int which) {
    const int p = degree + 1;
    std::vector<std::vector<double>> G(p, std::vector<double>(p, 0.0));
    for (int t = -h; t <= h; ++t)
        for (int i = 0; i < p; ++i)
            for (int j = 0; j < p; ++j) G[i][j] += std::pow(t, i + j);
    std::vector<double> e(p, 0.0);
    e[which] = 1.0;
    const std::vector<double> row = solve(G, e);  // G symmetric: (G^-1)^T e = G^-1 e
    std::vector<double> w;
    for (int t = -h; t <= h; ++t) {
        double s = 0.0;
        for (int i = 0; i < p; ++i) s += row[i] * std::pow(t, i);
        w.push_back(s);
    }
    return w;
}

std::vector<float> randomSignal(int n, unsigned seed) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
    std::vector<float> v(n);
    for (float &x : v) x = dist(gen);
    return v;
}

// SmoothData's weights for output i, read from its response to one impulse at a time.
std::vector<double> tableWeights(int m, int type) {
    const int h = m + 1, n = 4 * h + 1, centre = 2 * h;
    std::vector<double> w;
    for (int j = centre - h; j <= centre + h; ++j) {
        std::vector<float> x(n, 0.0f), y(n);
        x[j] = 1.0f;
        SmoothData(x.data(), n, m, type, y.data());
        w.push_back(y[centre]);
    }
    return w;
}

}  // namespace

TEST(SmoothData, TablesAreSavitzkyGolayWeights) {
    for (int m = 1; m <= 5; ++m) {
        const int h = m + 1;
        const std::vector<double> smooth = lsWeights(h, 2, 0), slope = lsWeights(h, 2, 1);
        const std::vector<double> curve = lsWeights(h, 2, 2);
        const std::vector<double> t0 = tableWeights(m, 0), t1 = tableWeights(m, 1), t2 = tableWeights(m, 2);
        for (int k = 0; k <= 2 * h; ++k) {
            EXPECT_NEAR(t0[k], smooth[k], 1e-6) << m << " " << k;
            EXPECT_NEAR(t1[k], slope[k], 1e-6) << m << " " << k;
            EXPECT_NEAR(t2[k], 2.0 * curve[k], 1e-6) << m << " " << k;  // second derivative = 2 a2
        }
    }
}

TEST(SmoothData, SumsInWindowOrderAsFloats) {
    const std::vector<float> x = randomSignal(3000, 3);
    const float w[13] = {-11, 0, 9, 16, 21, 24, 25, 24, 21, 16, 9, 0, -11};
    std::vector<float> y(x.size());
    SmoothData(x.data(), 3000, 5, 0, y.data());
    for (int i = 6; i < 3000 - 6; ++i) {
        float s = 0.0f;
        for (int k = 0; k < 13; ++k) s = s + w[k] * x[i - 6 + k];
        ASSERT_EQ(y[i], s / 143.0f) << i;
    }
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(y[i], y[6]);
        EXPECT_EQ(y[3000 - 1 - i], y[3000 - 7]);
    }
}

TEST(SmoothData, ConstantsAndRampsIncludingTheEdges) {
    std::vector<float> c(40, 2.5f), ramp(40), y(40);
    for (int i = 0; i < 40; ++i) ramp[i] = static_cast<float>(i);
    SmoothData(c.data(), 40, 1, 0, y.data());
    for (float v : y) EXPECT_FLOAT_EQ(v, 2.5f);
    for (int m = 1; m <= 5; ++m) {
        SmoothData(ramp.data(), 40, m, 1, y.data());
        for (float v : y) EXPECT_FLOAT_EQ(v, 1.0f) << m;
    }
}

TEST(SmoothData, RefusedAndShortInputs) {
    std::vector<float> x(20, 1.0f), y(20, 4.0f);
    SmoothData(x.data(), 20, 6, 0, y.data());
    SmoothData(x.data(), 20, 0, 0, y.data());
    SmoothData(x.data(), 20, 1, 3, y.data());
    for (float v : y) EXPECT_EQ(v, 4.0f);
    std::vector<float> y8(9, 4.0f);
    SmoothData(x.data(), 8, 3, 0, y8.data());  // a 9-point window does not fit 8 samples
    for (int i = 0; i < 8; ++i) EXPECT_EQ(y8[i], 0.0f);
    EXPECT_EQ(y8[8], 4.0f);
    for (int n : {1, 2, 3}) {  // shorter than the window: zeros, nothing past n
        std::vector<float> yn(n + 1, 4.0f);
        SmoothData(x.data(), n, 5, 2, yn.data());
        for (int i = 0; i < n; ++i) EXPECT_EQ(yn[i], 0.0f);
        EXPECT_EQ(yn[n], 4.0f);
    }
}

TEST(SGSmoother, InteriorIsConvolutionWithLeastSquaresWeights) {
    const int n = 500;
    for (auto [half, ord] : {std::pair{12, 3}, std::pair{5, 2}, std::pair{3, 4}, std::pair{8, 0}}) {
        const std::vector<float> x = randomSignal(n, 11);
        const std::vector<double> w = lsWeights(half, ord, 0);
        std::vector<float> y = x;
        ASSERT_EQ(SGSmoother(y.data(), n, half, ord), 1);
        for (int i = 0; i < n; ++i) {
            double s = 0.0;  // the window with the end samples repeated
            for (int r = -half; r <= half; ++r) s += w[r + half] * x[std::clamp(i + r, 0, n - 1)];
            ASSERT_NEAR(y[i], s, 2e-6) << half << " " << ord << " " << i;
        }
    }
}

TEST(SGSmoother, KeepsPolynomialsOfItsDegree) {
    std::vector<float> x(200);
    for (int i = 0; i < 200; ++i) {
        const double t = (i - 100) / 50.0;
        x[i] = static_cast<float>(1.0 - 2.0 * t + 0.5 * t * t + 0.25 * t * t * t);
    }
    std::vector<float> y = x;
    ASSERT_EQ(SGSmoother(y.data(), 200, 10, 3), 1);
    for (int i = 10; i < 190; ++i) EXPECT_NEAR(y[i], x[i], 1e-5) << i;
}

TEST(SGSmoother, ImpossibleFitsLeaveTheSignal) {
    const std::vector<float> x = randomSignal(50, 5);
    std::vector<float> y = x;
    EXPECT_EQ(SGSmoother(y.data(), 50, 2, 5), 1);  // 5-point window, 6 coefficients
    EXPECT_EQ(SGSmoother(y.data(), 50, -1, 0), 1);
    EXPECT_EQ(SGSmoother(y.data(), 50, 2, -1), 1);
    EXPECT_EQ(SGSmoother(y.data(), 0, 2, 1), 1);
    EXPECT_EQ(SGSmoother(nullptr, 10, 2, 1), 1);
    EXPECT_EQ(y, x);
    EXPECT_EQ(SGSmoother(y.data(), 50, 0, 0), 1);  // one-point window: the identity
    EXPECT_EQ(y, x);
    EXPECT_EQ(SGSmoother(y.data(), 50, 1 << 24, 0), 0);  // fits too large to take on
    EXPECT_EQ(SGSmoother(y.data(), 50, 100000, 100), 0);
    EXPECT_EQ(y, x);
}

TEST(SGSmoother, WindowsLongerThanTheSignalRepeatTheEnds) {
    std::vector<float> x = {1.0f, 4.0f, 2.0f}, y = x;
    ASSERT_EQ(SGSmoother(y.data(), 3, 4, 0), 1);  // 9-point moving average
    const float expected[3] = {(5 * 1.0f + 4 + 2 * 3) / 9, (4 * 1.0f + 4 + 2 * 4) / 9,
                               (3 * 1.0f + 4 + 2 * 5) / 9};
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(y[i], expected[i], 1e-6);
}

TEST(FindMedian, SmallCasesAndTheCallersOrder) {
    std::vector<float> a = {1, 3, 2}, b = {4, 1, 3, 2}, c = {7.5f, -1.0f};
    const std::vector<float> a0 = a, b0 = b, c0 = c;
    EXPECT_EQ(FindMedian(a.data(), 3), 2.0f);
    EXPECT_EQ(FindMedian(b.data(), 4), 2.5f);
    EXPECT_EQ(FindMedian(c.data(), 2), 3.25f);
    EXPECT_EQ(a, a0);
    EXPECT_EQ(b, b0);
    EXPECT_EQ(c, c0);
    const float one = 9.0f;
    EXPECT_EQ(FindMedian(&one, 1), 9.0f);
    EXPECT_EQ(FindMedian(&one, 0), 0.0f);
    EXPECT_EQ(FindMedian(nullptr, 3), 0.0f);
}

// The median as defined: the middle of the library's own quicksort of a copy.
float medianBySort(std::vector<float> s) {
    const int n = static_cast<int>(s.size());
    QuickSortFloats(s.data(), -n, nullptr);
    return n % 2 ? s[n / 2] : (s[n / 2 - 1] + s[n / 2]) * 0.5f;
}

TEST(FindMedian, MatchesTheQuicksortEvenWithNaNsAndTies) {
    std::mt19937 gen(17);
    for (int round = 0; round < 300; ++round) {
        const int n = 1 + round % 57;
        std::vector<float> x(n);
        for (float &v : x) {
            const int pick = static_cast<int>(gen() % 10);
            v = pick == 0 ? NAN : static_cast<float>(static_cast<int>(gen() % 7) - 3);  // many ties
        }
        const std::vector<float> before = x;
        const float expected = medianBySort(x);
        const float got = FindMedian(x.data(), n);
        if (std::isnan(expected))
            EXPECT_TRUE(std::isnan(got)) << round;
        else
            EXPECT_EQ(got, expected) << round;
        for (int i = 0; i < n; ++i)  // the caller's array, NaNs included, is as it was
            ASSERT_EQ(std::memcmp(&x[i], &before[i], sizeof(float)), 0);
    }
}

TEST(FindMedian, AgreesWithASortedCopyOnBothPaths) {
    for (int n : {99, 100, 101, 102, 1000, 4097}) {
        std::vector<float> x = randomSignal(n, static_cast<unsigned>(n));
        for (int i = 0; i < n; i += 7) x[i] = x[(i * 13) % n];  // repeated values
        const std::vector<float> before = x;
        std::vector<float> s = x;
        std::sort(s.begin(), s.end());
        const float expected = n % 2 ? s[n / 2] : (s[n / 2 - 1] + s[n / 2]) * 0.5f;
        EXPECT_EQ(FindMedian(x.data(), n), expected) << n;
        EXPECT_EQ(medianBySort(x), expected) << n;
        EXPECT_EQ(x, before);
    }
}

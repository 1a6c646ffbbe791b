// The chromatogram arithmetic on plain arrays, with reference transforms written here.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numeric>
#include <random>

#include "chromatogram.h"

using namespace wavedesk;

namespace {

// Orthonormal Haar pyramid: enough to check that the preprocessing undoes what it does.
void haar(std::vector<float> &w, int32_t m, int32_t inv) {
    std::vector<double> a(w.begin(), w.begin() + m), t(m);
    const double r = std::sqrt(0.5);
    if (inv == 0) {
        for (int32_t len = m; len >= 2; len /= 2) {
            for (int32_t i = 0; i < len / 2; ++i) {
                t[i] = r * (a[2 * i] + a[2 * i + 1]);
                t[len / 2 + i] = r * (a[2 * i] - a[2 * i + 1]);
            }
            std::copy(t.begin(), t.begin() + len, a.begin());
        }
    } else {
        for (int32_t len = 2; len <= m; len *= 2) {
            for (int32_t i = 0; i < len / 2; ++i) {
                t[2 * i] = r * (a[i] + a[len / 2 + i]);
                t[2 * i + 1] = r * (a[i] - a[len / 2 + i]);
            }
            std::copy(t.begin(), t.begin() + len, a.begin());
        }
    }
    for (int32_t i = 0; i < m; ++i) w[i] = static_cast<float>(a[i]);
}

// Direct DFT with the library convention: forward unscaled, inverse with 1/m.
void dft(std::vector<float> &re, std::vector<float> &im, int32_t m, int32_t inv) {
    std::vector<std::complex<double>> out(m);
    const double sign = inv ? 1 : -1;
    for (int32_t k = 0; k < m; ++k)
        for (int32_t j = 0; j < m; ++j)
            out[k] += std::complex<double>(re[j], im[j]) * std::polar(1.0, sign * 2 * M_PI * k * j / m);
    for (int32_t k = 0; k < m; ++k) {
        if (inv) out[k] /= m;
        re[k] = static_cast<float>(out[k].real());
        im[k] = static_cast<float>(out[k].imag());
    }
}

// A chromatogram in mV: drifting baseline, Gaussian peaks, a little noise.
std::vector<float> chromatogram(int32_t n, float offset) {
    std::mt19937 rng(7);
    std::normal_distribution<float> noise(0, 0.05f);
    std::vector<float> y(n);
    for (int32_t i = 0; i < n; ++i) {
        double t = i;
        double v = offset + 2e-4 * t;
        v += 80 * std::exp(-0.5 * std::pow((t - 0.3 * n) / 6, 2));
        v += 40 * std::exp(-0.5 * std::pow((t - 0.6 * n) / 12, 2));
        y[i] = static_cast<float>(v) + noise(rng);
    }
    return y;
}

}  // namespace

TEST(TransformLength, PowersOfTwoFromSixtyFour) {
    EXPECT_EQ(PowerOfTwoLength(1), 64);
    EXPECT_EQ(PowerOfTwoLength(64), 64);
    EXPECT_EQ(PowerOfTwoLength(65), 128);
    EXPECT_EQ(PowerOfTwoLength(16384), 16384);
    EXPECT_EQ(PowerOfTwoLength(16385), 32768);
    EXPECT_EQ(PowerOfTwoLength(16777216), 16777216);
    EXPECT_EQ(PowerOfTwoLength(16777217), 33554432);
    EXPECT_EQ(TransformLength(16385), 16384);
    EXPECT_EQ(TransformLength(1000), 1024);
}

TEST(HistAverage, ConstantSignalIsItsOwnLevel) {
    std::vector<float> x(50, 3.25f);
    EXPECT_EQ(HistAverage(x.data(), 50, 200), 3.25f);
}

TEST(HistAverage, NinetyTenSplitLandsNearTheCommonValue) {
    std::vector<float> x(1000, 0.0f);
    for (int i = 0; i < 100; ++i) x[i * 10] = 10;
    EXPECT_NEAR(HistAverage(x.data(), 1000, 200), 0.1 / 0.82, 1e-6);
}

TEST(HistAverage, LevelFollowsWhereTheSignalStays) {
    // 80 % of the points near 1, 20 % spread up to 9: the level stays close to 1.
    std::vector<float> x;
    for (int i = 0; i < 800; ++i) x.push_back(1.0f + 0.001f * (i % 7));
    for (int i = 0; i < 200; ++i) x.push_back(1.0f + 8.0f * i / 199);
    float level = HistAverage(x.data(), int32_t(x.size()), 200);
    EXPECT_GT(level, 1.0f);
    EXPECT_LT(level, 1.2f);
    EXPECT_EQ(HistAverage(x.data(), 0, 200), 0.0f);
}

TEST(SePuBaseLine, NarrowPeakIsBridgedBetweenItsFlanks) {
    std::vector<float> x = {0, 0, 0, 0.6f, 3, 5, 3, 1.0f, 0.4f, 0.4f, 0.4f};
    std::vector<float> y(x.size(), -1);
    EXPECT_EQ(SePuBaseLine(x.data(), 11, y.data(), 1, 1.0f), 6);
    std::vector<float> want = {0, 0, 0, 0.4f / 6, 0.8f / 6, 0.2f, 1.6f / 6, 2.0f / 6, 0.4f, 0.4f, 0.4f};
    for (size_t i = 0; i < x.size(); ++i) EXPECT_NEAR(y[i], want[i], 1e-6) << i;
}

TEST(SePuBaseLine, StraightLineWithOnePeak) {
    const int n = 1000;
    std::vector<float> x(n), y(n);
    for (int k = 0; k < n; ++k) x[k] = 0.01f * k + 100.0f * std::exp(-0.5f * std::pow((k - 500) / 3.0f, 2));
    int count = SePuBaseLine(x.data(), n, y.data(), 10, 1.0f);
    EXPECT_GT(count, n - 100);
    EXPECT_LT(count, n);
    for (int k = 0; k < n; ++k) EXPECT_NEAR(y[k], 0.01f * k, 0.6f) << k;
}

TEST(SePuBaseLine, PeakAtTheFirstPointAnchorsOnItsRawValue) {
    std::vector<float> x = {5, 3, 1, 0.4f, 0.4f, 0.4f, 0.4f, 0.4f};
    std::vector<float> y(x.size());
    EXPECT_EQ(SePuBaseLine(x.data(), 8, y.data(), 1, 1.0f), 5);
    EXPECT_EQ(y[0], 5.0f);  // no turning point in its window: the raw value stays
    EXPECT_NEAR(y[1], 0.4f / 3 + 10.0f / 3, 1e-5);
    EXPECT_NEAR(y[2], 0.8f / 3 + 5.0f / 3, 1e-5);
    EXPECT_NEAR(y[5], 0.4f, 1e-6);
}

TEST(SePuBaseLine, ExtremeThresholds) {
    std::vector<float> x(100), y(100);
    for (int k = 0; k < 100; ++k) x[k] = float(k * k);
    EXPECT_EQ(SePuBaseLine(x.data(), 100, y.data(), 3, 0.001f), 0);
    EXPECT_EQ(y, x);
    EXPECT_EQ(SePuBaseLine(x.data(), 100, y.data(), 3, 2 * 9801.0f + 1), 100);
}

TEST(SePuBaseLine, SameAnchorOnBothSidesKeepsTheRawValue) {
    std::vector<float> x = {0, 0, 0, 2, 2, 2};
    std::vector<float> y(6, -1);
    EXPECT_EQ(SePuBaseLine(x.data(), 6, y.data(), 1, 1.0f), 4);
    EXPECT_EQ(y[2], 0.0f);
    EXPECT_EQ(y[3], 2.0f);
    for (float v : y) EXPECT_TRUE(std::isfinite(v));
}

TEST(Parameters, RangesAndConversions) {
    EXPECT_EQ(CheckParams({200, 30, 20}), ParamProblem::None);
    EXPECT_EQ(CheckParams({0, 30, 20}), ParamProblem::CoefThreshold);
    EXPECT_EQ(CheckParams({5000, 30, 20}), ParamProblem::CoefThreshold);
    EXPECT_EQ(CheckParams({4999, 400, 300}), ParamProblem::None);
    EXPECT_EQ(CheckParams({200, 400.5f, 20}), ParamProblem::BaseThreshold);
    EXPECT_EQ(CheckParams({200, -1, 0}), ParamProblem::BaseThreshold);
    EXPECT_EQ(CheckParams({200, 30, 0}), ParamProblem::WindowLength);
    EXPECT_EQ(CheckParams({200, 30, 300.5f}), ParamProblem::WindowLength);
    EXPECT_EQ(WindowPoints(20), 400);
    EXPECT_EQ(WindowPoints(0.01f), 0);
    EXPECT_EQ(LeadingNumber("abc"), 0);
    EXPECT_EQ(LeadingNumber("12abc"), 12);
    EXPECT_EQ(LeadingNumber(" 3.5 "), 3.5);
    EXPECT_EQ(LeadingNumber("-2e1x"), -20);
    EXPECT_EQ(LeadingNumber("0x10"), 0);
    EXPECT_EQ(LeadingNumber("inf"), 0);
}

TEST(Preprocess, EmptyAndFlatSeriesAreRefused) {
    Preprocessed out;
    std::vector<float> flat(300, 5.0f);
    EXPECT_EQ(PreprocessChromatogram(flat.data(), 0, {}, haar, out), Outcome::Empty);
    EXPECT_EQ(PreprocessChromatogram(flat.data(), 300, {}, haar, out), Outcome::Flat);
    EXPECT_TRUE(out.denoised.empty());
}

TEST(Preprocess, ThousandPointsUseATransformOf1024) {
    std::vector<float> y = chromatogram(1000, 10);
    Preprocessed out;
    int32_t seenLength = 0;
    auto step = [&](std::vector<float> &w, int32_t m, int32_t inv) {
        seenLength = m;
        EXPECT_GE(int32_t(w.size()), m);
        haar(w, m, inv);
    };
    ASSERT_EQ(PreprocessChromatogram(y.data(), 1000, {}, step, out), Outcome::Done);
    EXPECT_EQ(seenLength, 1024);
    EXPECT_EQ(out.m, 1024);
    EXPECT_EQ(out.coefficients.size(), 1024u);
    EXPECT_EQ(out.denoised.size(), 1000u);
    EXPECT_EQ(out.baseline.size(), 1000u);
    EXPECT_EQ(out.corrected.size(), 1000u);
    EXPECT_EQ(out.cmin, *std::min_element(out.coefficients.begin(), out.coefficients.end()));
}

TEST(Preprocess, CorrectedTraceHasAFlatBaselineAndKeepsThePeaks) {
    const int32_t n = 4096;
    std::vector<float> y = chromatogram(n, 10);
    Preprocessed out;
    ASSERT_EQ(PreprocessChromatogram(y.data(), n, {200, 1, 2}, haar, out), Outcome::Done);
    const float offset = y[0] / 2 + y[1] / 2;
    // Away from the peaks the corrected trace sits on the offset, drift removed.
    for (int32_t i : {100, 800, 2000, 3000, 4000}) EXPECT_NEAR(out.corrected[i], offset, 0.5f) << i;
    // The denoised trace follows the input; the peaks stay about as high above the offset.
    EXPECT_NEAR(out.corrected[int(0.3 * n)] - offset, 80, 8);
    EXPECT_NEAR(out.corrected[int(0.6 * n)] - offset, 40, 4);
    double err = 0;
    for (int32_t i = 0; i < n; ++i) err += std::fabs(out.denoised[i] - y[i]);
    EXPECT_LT(err / n, 0.2);
}

TEST(SimpleFilters, MovingAverageShrinksItsWindowAtTheEnds) {
    std::vector<float> y = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    for (float v : MovingAverage(y.data(), 10)) EXPECT_NEAR(v, 5.5f, 1e-5);
    std::vector<float> ramp(300);
    std::iota(ramp.begin(), ramp.end(), 0.0f);
    std::vector<float> out = MovingAverage(ramp.data(), 300);
    EXPECT_NEAR(out[0], 25.0f, 1e-4);     // mean of 0..50
    EXPECT_NEAR(out[150], 150.0f, 1e-3);  // symmetric window
}

TEST(SimpleFilters, WeightFilterIgnoresTheLastPoint) {
    std::vector<float> y = {1, 1, 1, 1, 100};
    for (float v : WeightFilter(y.data(), 5)) EXPECT_FLOAT_EQ(v, 1.0f);
    std::vector<float> one = {4};
    EXPECT_EQ(WeightFilter(one.data(), 1), std::vector<float>{0.0f});
}

TEST(SimpleFilters, FftLowPassRemovesTheSlowestLines) {
    const int32_t n = 64;
    std::vector<float> y(n), out;
    for (int32_t i = 0; i < n; ++i)
        y[i] = static_cast<float>(5 + 10 * std::sin(2 * M_PI * i / n) + std::sin(2 * M_PI * 10 * i / n));
    ASSERT_EQ(FftLowPass(y.data(), n, dft, out), Outcome::Done);
    float mean = 0;
    for (int32_t i = 0; i < n; ++i) mean += (y[i] - mean) / (i + 1);
    for (int32_t i = 0; i < n; ++i) EXPECT_NEAR(out[i], mean + std::sin(2 * M_PI * 10 * i / n), 1e-3) << i;
    std::vector<float> flat(10, 2.0f);
    EXPECT_EQ(FftLowPass(flat.data(), 10, dft, out), Outcome::Flat);
}

TEST(SimpleFilters, WaveletBaselineIsTheMeanForAHaarApproximation) {
    std::vector<float> s(64);
    for (int i = 0; i < 64; ++i) s[i] = float(i % 8);
    std::vector<float> out;
    ASSERT_EQ(WaveletBaseline(s.data(), 64, haar, out), Outcome::Done);
    for (float v : out) EXPECT_NEAR(v, 3.5f, 1e-4);
}

TEST(SimpleFilters, DeleteBaselineRemovesASlowDrift) {
    const int n = 2000;
    std::vector<float> s(n);
    for (int i = 0; i < n; ++i)
        s[i] = 1.0f + 0.001f * i + 50.0f * std::exp(-0.5f * std::pow((i - 1000) / 10.0f, 2));
    float min = *std::min_element(s.begin(), s.end()), max = *std::max_element(s.begin(), s.end());
    std::vector<float> c = DeleteBaseline(s.data(), n, min, max);
    for (float v : c) EXPECT_GE(v, min);
    EXPECT_NEAR(c[300], min, 0.2f);
    EXPECT_NEAR(c[1700], min, 0.2f);
    EXPECT_GT(c[1000] - min, 45.0f);
}

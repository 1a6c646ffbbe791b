// The analysis arithmetic without a window: the peak table on exact Gaussian peaks, the robust
// noise figure, the automatic threshold, the round grid and the microvolt scan.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "analysis.h"
#include "peaks.h"
#include "samplegen.h"
#include "sepuscan.h"

namespace {

using namespace wavedesk;

constexpr double kPi = 3.14159265358979323846;

// Sum of Gaussians (no noise, no baseline) at `rate` samples per second.
std::vector<float> gaussians(const std::vector<SamplePeak> &peaks, int32_t n, double rate) {
    std::vector<float> y(static_cast<std::size_t>(n));
    for (int32_t i = 0; i < n; ++i) {
        double v = 0;
        for (const SamplePeak &p : peaks)
            v += p.height * std::exp(-0.5 * std::pow((i / rate - p.seconds) / p.sigma, 2));
        y[i] = static_cast<float>(v);
    }
    return y;
}

TEST(PeakTable, ExactGaussiansGiveTheirPositionHeightAreaAndWidth) {
    const double rate = 10;
    const std::vector<SamplePeak> truth = {{30, 100, 2}, {80.03, 40, 4.5}, {101, 25, 1}, {160, 300, 8}};
    const std::vector<float> y = gaussians(truth, 2400, rate);
    const std::vector<uint8_t> flags = ClassifyWindows(y.data(), 2400, 150, 1.0f);
    const std::vector<PeakRow> rows = FindPeaks(y.data(), nullptr, 2400, flags, rate, 0.01, 3);
    ASSERT_EQ(rows.size(), truth.size());
    for (std::size_t k = 0; k < truth.size(); ++k) {
        const SamplePeak &p = truth[k];
        EXPECT_EQ(rows[k].number, int32_t(k + 1));
        EXPECT_NEAR(rows[k].retentionMin * 60, p.seconds, 0.2 / rate) << k;
        EXPECT_NEAR(rows[k].heightMv, p.height, p.height * 1e-3) << k;
        EXPECT_NEAR(rows[k].areaMvS, p.height * p.sigma * std::sqrt(2 * kPi), p.height * p.sigma * 0.01) << k;
        EXPECT_NEAR(rows[k].widthHalfS, 2 * std::sqrt(2 * std::log(2.0)) * p.sigma, p.sigma * 0.01) << k;
        EXPECT_NEAR(rows[k].tailing, 1.0, 0.02) << k;
        EXPECT_NEAR(rows[k].signalToNoise, rows[k].heightMv / 0.01, 1e-6 * rows[k].signalToNoise) << k;
        EXPECT_LT(rows[k].startMin, rows[k].retentionMin);
        EXPECT_GT(rows[k].endMin, rows[k].retentionMin);
    }
}

TEST(PeakTable, OverlappingPeaksSplitAtTheValleyOnlyWhenItIsDeepEnough) {
    const double rate = 20;
    const std::vector<float> pair = gaussians({{50, 100, 2}, {58, 60, 2}}, 2000, rate);
    const std::vector<uint8_t> flags = ClassifyWindows(pair.data(), 2000, 200, 1.0f);
    const std::vector<PeakRow> two = FindPeaks(pair.data(), nullptr, 2000, flags, rate, 0.1, 3);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_NEAR(two[0].endMin, two[1].startMin, 1e-12);  // a vertical drop at the valley
    EXPECT_NEAR(two[1].retentionMin * 60, 58, 0.05);
    // The same valley is shallower than 3 noise units of 20 mV: one peak.
    EXPECT_EQ(FindPeaks(pair.data(), nullptr, 2000, flags, rate, 20, 3).size(), 1u);
    // A tail behind the apex: apex, height and the tailing factor against the same curve sampled
    // every millisecond.
    auto tailedAt = [](double t) {
        const double sigma = 3 + 1.5 * std::tanh(t / 4);
        return 80 * std::exp(-0.5 * t * t / (sigma * sigma));
    };
    std::vector<float> tailed(2000);
    for (int i = 0; i < 2000; ++i) tailed[i] = static_cast<float>(tailedAt(i / rate - 50));
    double apex = 0, top = 0;
    for (double t = -10; t < 10; t += 1e-3)
        if (tailedAt(t) > top) top = tailedAt(t), apex = t;
    double front = apex, back = apex;
    while (tailedAt(front) > 0.05 * top) front -= 1e-3;
    while (tailedAt(back) > 0.05 * top) back += 1e-3;
    const std::vector<PeakRow> one = FindPeaks(tailed.data(), nullptr, 2000,
                                               ClassifyWindows(tailed.data(), 2000, 200, 1.0f), rate, 0.1, 3);
    ASSERT_EQ(one.size(), 1u);
    // The vertex of a fitted parabola is pulled a little towards the tail: within a tenth of the
    // peak's width.
    EXPECT_NEAR(one[0].retentionMin * 60, 50 + apex, 0.1 * one[0].widthHalfS);
    EXPECT_NEAR(one[0].heightMv, top, top * 0.01);
    EXPECT_NEAR(one[0].tailing, (back - front) / (2 * (apex - front)), 0.12);
    EXPECT_GT(one[0].tailing, 1.1);
}

TEST(PeakTable, RefusesWhatItCannotMeasure) {
    std::vector<float> y(10, 1.0f);
    std::vector<uint8_t> flags(10, kPeakPoint);
    EXPECT_TRUE(FindPeaks(y.data(), nullptr, 10, flags, 0, 1, 3).empty());
    EXPECT_TRUE(FindPeaks(y.data(), nullptr, 10, std::vector<uint8_t>(9), 20, 1, 3).empty());
    EXPECT_TRUE(FindPeaks(nullptr, nullptr, 10, flags, 20, 1, 3).empty());
    EXPECT_TRUE(FindPeaks(y.data(), nullptr, 10, std::vector<uint8_t>(10, kFlatPoint), 20, 1, 3).empty());
    EXPECT_EQ(TypicalHalfWidth({}), 0);
}

TEST(RobustNoise, FindsTheNoiseUnderDriftOffsetAndPeaks) {
    TraceRecipe recipe = SampleRecipe();
    recipe.noiseMv = 0.6;
    recipe.offsetMv = 500;
    recipe.tailMv = 27000;  // a 27 V solvent tail
    recipe.tailSeconds = 5;
    const std::vector<long> uv = GenerateMicrovolts(recipe);
    std::vector<float> y(uv.size());
    for (std::size_t i = 0; i < uv.size(); ++i) y[i] = static_cast<float>(uv[i] / 1000.0);
    const int32_t n = static_cast<int32_t>(y.size());
    // Over the whole trace the tail's and the peaks' steep flanks count too; over its baseline
    // points only the noise does.
    EXPECT_NEAR(RobustNoise(y.data(), n, ClassifyWindows(y.data(), n, 300, 10).data()), 0.6, 0.06);
    EXPECT_LT(RobustNoise(y.data(), n, nullptr), 0.6 * 1.5);
    // Quantised far coarser than its noise: never below the rounding noise of a microvolt.
    std::vector<float> flat(100, 1.0f);
    flat[50] = 1.001f;
    EXPECT_GE(RobustNoise(flat.data(), 100, nullptr), 0.001 / std::sqrt(12.0) * 0.999);
    EXPECT_EQ(RobustNoise(flat.data(), 1, nullptr), 0);
}

TEST(AutoParameters, ThresholdCoversNoiseAndDriftButNotThePeaks) {
    std::mt19937 random(7);
    std::normal_distribution<double> normal(0, 0.5);
    std::vector<float> y(20000);
    for (int i = 0; i < 20000; ++i) y[i] = static_cast<float>(0.001 * i + normal(random));
    const int32_t nWin = 200;
    const float t = AutoThreshold(y.data(), 20000, nWin, 0.5);
    // White-noise range over 401 points is about 6 sigma; the drift over a block is 0.4 mV.
    const double white = 2 * 0.5 * std::sqrt(2 * std::log(401.0));
    EXPECT_NEAR(t, 2 * (white + 0.401), 0.3);
    const std::vector<float> range = WindowRanges(y.data(), 20000, nWin);
    int below = 0;
    for (float r : range) below += r < t / 2;
    EXPECT_GT(below, 10000);  // most of a peakless trace is flat baseline
    EXPECT_FLOAT_EQ(AutoWindowSeconds(5, 20), 15);
    EXPECT_FLOAT_EQ(AutoWindowSeconds(0.1, 20), 2);
    EXPECT_FLOAT_EQ(AutoWindowSeconds(0.1, 1), 10);
    EXPECT_FLOAT_EQ(AutoWindowSeconds(500, 20), 300);
}

TEST(RoundGrid, RoundStepsCoverTheRange) {
    for (auto [lo, hi] : {std::pair{-3.7, 612.4}, std::pair{0.0, 13.65}, std::pair{27000.5, 27600.0},
                          std::pair{-0.002, 0.0031}}) {
        const std::vector<double> g = RoundGrid(lo, hi, 9);
        ASSERT_GE(g.size(), 3u);
        ASSERT_LE(g.size(), 31u);
        EXPECT_LE(g.front(), lo);
        EXPECT_GE(g.back(), hi - 1e-9 * std::fabs(hi));
        const double step = g[1] - g[0];
        const double mantissa = step / std::pow(10.0, std::floor(std::log10(step)));
        EXPECT_TRUE(std::fabs(mantissa - 1) < 1e-6 || std::fabs(mantissa - 2) < 1e-6 ||
                    std::fabs(mantissa - 5) < 1e-6)
            << step;
        EXPECT_NEAR(std::remainder(g.front(), step), 0, step * 1e-6);
    }
    EXPECT_EQ(RoundGrid(5, 5, 9).size(), 2u);
}

TEST(FractionScanner, CountsValuesThatAreNotWholeMicrovolts) {
    FractionScanner scan(100);
    const std::string text = "12\r\n13.5, 14.0 1e3\t2.5e-1\n-7.25\n";
    // Any split of the text into pieces counts the same.
    scan.feed(text.data(), 7);
    scan.feed(text.data() + 7, text.size() - 7);
    scan.finish();
    EXPECT_EQ(scan.values(), 6);
    EXPECT_EQ(scan.fractional(), 3);
    FractionScanner stops(100);  // stops where the reader stops
    const std::string words = "1.5\nabc\n2.5\n";
    stops.feed(words.data(), words.size());
    stops.finish();
    EXPECT_EQ(stops.fractional(), 1);
    FractionScanner limited(1);
    limited.feed("1 2.5", 5);
    limited.finish();
    EXPECT_EQ(limited.fractional(), 0);
}

}  // namespace

// Edges of the chromatogram arithmetic: tiny and oversized series, extreme windows, and the
// histogram bins at their limits.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

#include "chromatogram.h"

using namespace wavedesk;

namespace {

// A transform stand-in that keeps its input and records the lengths it was asked for.
struct Identity {
    std::vector<int32_t> *lengths;
    void operator()(std::vector<float> &w, int32_t m, int32_t) const {
        EXPECT_GE(int32_t(w.size()), m);
        lengths->push_back(m);
    }
};

}  // namespace

TEST(TransformLengthEdges, NonPositiveCountsGiveTheShortestTransform) {
    EXPECT_EQ(PowerOfTwoLength(0), 64);
    EXPECT_EQ(PowerOfTwoLength(-5), 64);
    EXPECT_EQ(PowerOfTwoLength(INT_MAX), 33554432);
    EXPECT_EQ(TransformLength(1), 64);
    EXPECT_EQ(TransformLength(INT_MAX), 16384);
}

TEST(HistAverageEdges, ExtremesFallIntoTheEndBins) {
    // Two values only: every point lands in the first or the last bin, each bin weighted by its
    // share, so the level leans to the value held longer.
    std::vector<float> x(10, 0.0f);
    x[0] = 1;  // 1 of 10 at the maximum
    const double p0 = 0.9, p1 = 0.1;
    EXPECT_NEAR(HistAverage(x.data(), 10, 200), (1 * p1 * 1) / (9 * p0 + 1 * p1), 1e-6);
}

TEST(SePuBaseLineEdges, OneAndTwoPoints) {
    float x1[] = {4}, y1[] = {-1};
    EXPECT_EQ(SePuBaseLine(x1, 1, y1, 10, 1), 1);
    EXPECT_EQ(y1[0], 4.0f);  // a window without inner points keeps the raw value
    float x2[] = {0, 10}, y2[] = {-1, -1};
    EXPECT_EQ(SePuBaseLine(x2, 2, y2, 1, 1), 0);  // both points forced, none counted
    EXPECT_EQ(y2[0], 0.0f);
    EXPECT_EQ(y2[1], 10.0f);
    EXPECT_EQ(SePuBaseLine(x2, 0, y2, 1, 1), 0);
}

TEST(SePuBaseLineEdges, HugeWindowDoesNotOverflow) {
    std::vector<float> x = {1, 1.2f, 0.9f, 1.1f, 1, 0.95f};
    std::vector<float> y(x.size());
    EXPECT_EQ(SePuBaseLine(x.data(), 6, y.data(), INT_MAX, 1.0f), 6);
    const float mean = (1.2f + 0.9f + 1.1f + 1.0f) / 4;  // inner points 1..4
    for (float v : y) EXPECT_NEAR(v, mean, 1e-6);
}

TEST(SePuBaseLineEdges, ZeroWindowJudgesEachPointAlone) {
    std::vector<float> x = {0, 5, 0, 5};
    std::vector<float> y(4);
    // Every window holds one value: range 0, all flat; each takes its own inner value.
    EXPECT_EQ(SePuBaseLine(x.data(), 4, y.data(), 0, 1.0f), 4);
    EXPECT_EQ(y[1], 5.0f);
    EXPECT_EQ(y[2], 0.0f);
    EXPECT_EQ(y[0], 0.0f);  // no inner point in its window: raw value
    EXPECT_EQ(y[3], 5.0f);
}

TEST(SePuBaseLineEdges, PeakUnderALineIsTheChordBetweenTheRawFlankValues) {
    // A line rising 0.8 over each window (anchor points, no turning points) with a narrow peak:
    // the baseline under the peak is the line between the raw values at its flanks.
    const int n = 400;
    std::vector<float> x(n), y(n);
    for (int k = 0; k < n; ++k) x[k] = 0.1f * k + (k >= 198 && k <= 202 ? 30.0f : 0.0f);
    EXPECT_EQ(SePuBaseLine(x.data(), n, y.data(), 4, 1.0f), n - 13);
    for (int k = 194; k <= 206; ++k) EXPECT_NEAR(y[k], 0.1f * k, 1e-3) << k;  // the peak points
}

TEST(PreprocessEdges, TwoPointsAreProcessedWithTheShortestTransform) {
    std::vector<int32_t> lengths;
    std::vector<float> y = {1, 3};
    Preprocessed out;
    // The highest threshold keeps even the tiny level left in the first point.
    ASSERT_EQ(PreprocessChromatogram(y.data(), 2, {4999, 30, 20}, Identity{&lengths}, out), Outcome::Done);
    EXPECT_EQ(lengths, (std::vector<int32_t>{64, 64}));
    ASSERT_EQ(out.denoised.size(), 2u);
    // With a transform that changes nothing but the cut-off, the input comes back.
    EXPECT_NEAR(out.denoised[0], 1.0f, 1e-5);
    EXPECT_NEAR(out.denoised[1], 3.0f, 1e-5);
    std::vector<float> one = {5};
    EXPECT_EQ(PreprocessChromatogram(one.data(), 1, {}, Identity{&lengths}, out), Outcome::Flat);
}

TEST(PreprocessEdges, PointsBeyondTheLongestTransformPassUnchanged) {
    const int32_t n = 16384 + 100;
    std::vector<float> y(n);
    for (int32_t i = 0; i < n; ++i) y[i] = static_cast<float>(std::sin(i * 0.01) + (i % 97 == 0 ? 5 : 0));
    std::vector<int32_t> lengths;
    Preprocessed out;
    ASSERT_EQ(PreprocessChromatogram(y.data(), n, {}, Identity{&lengths}, out), Outcome::Done);
    EXPECT_EQ(out.m, 16384);
    for (int32_t i = 16384; i < n; ++i) {
        EXPECT_EQ(out.denoised[i], y[i]) << i;
        EXPECT_EQ(out.corrected[i], y[i]) << i;
        EXPECT_EQ(out.baseline[i], 0.0f) << i;  // the baseline covers the transformed points only
    }
}

TEST(PreprocessEdges, FlatOverTheTransformedPartIsFlat) {
    // Only the points below the transform length decide whether there is anything to normalise.
    std::vector<float> y(16384 + 10, 2.0f);
    y.back() = 9;
    std::vector<int32_t> lengths;
    Preprocessed out;
    EXPECT_EQ(PreprocessChromatogram(y.data(), int32_t(y.size()), {}, Identity{&lengths}, out),
              Outcome::Flat);
    EXPECT_TRUE(lengths.empty());
}

TEST(SimpleFilterEdges, SinglePointsAndFlatInput) {
    std::vector<float> one = {3};
    EXPECT_EQ(MovingAverage(one.data(), 1), one);
    EXPECT_TRUE(MovingAverage(one.data(), 0).empty());
    std::vector<float> out;
    auto noFft = [](std::vector<float> &, std::vector<float> &, int32_t, int32_t) { ADD_FAILURE(); };
    EXPECT_EQ(FftLowPass(one.data(), 1, noFft, out), Outcome::Flat);
    EXPECT_EQ(FftLowPass(one.data(), 0, noFft, out), Outcome::Empty);
    std::vector<int32_t> lengths;
    std::vector<float> flat(70, 1.5f);
    EXPECT_EQ(WaveletBaseline(flat.data(), 70, Identity{&lengths}, out), Outcome::Flat);
    EXPECT_TRUE(lengths.empty());
    EXPECT_EQ(DeleteBaseline(one.data(), 1, 3, 3), one);  // nothing above the baseline: the minimum
    EXPECT_TRUE(DeleteBaseline(one.data(), 0, 0, 0).empty());
}

// The signal-to-noise arithmetic and number texts of the view commands, without a window.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <vector>

#include "snr.h"

namespace wavedesk {
namespace {

TEST(SeriesMeasure, MeanAbsoluteDifferenceAndSpan) {
    const std::vector<float> v{1, 4, 2, 2, -3};
    EXPECT_FLOAT_EQ(SeriesMeasure(v.data(), 5, 1), (3 + 2 + 0 + 5) / 4.0f);
    EXPECT_EQ(SeriesMeasure(v.data(), 5, 0), 7.0f);
    EXPECT_EQ(SeriesMeasure(v.data(), 3, 0), 3.0f);
}

TEST(SeriesMeasure, TooFewValuesGiveZero) {
    const float one = 5;
    EXPECT_EQ(SeriesMeasure(&one, 1, 1), 0.0f);
    EXPECT_EQ(SeriesMeasure(&one, 1, 0), 0.0f);
    EXPECT_EQ(SeriesMeasure(&one, 0, 0), 0.0f);
    EXPECT_EQ(SeriesMeasure(&one, -4, 1), 0.0f);
    EXPECT_EQ(SeriesMeasure(nullptr, 10, 0), 0.0f);
}

TEST(SeriesMeasure, LongSeriesKeepsItsMeanDifference) {
    // A million steps of 0.1: a single-precision running sum would drift by percents.
    std::vector<float> v(1000001);
    for (std::size_t i = 0; i < v.size(); ++i) v[i] = (i % 2) ? 0.1f : 0.0f;
    EXPECT_NEAR(SeriesMeasure(v.data(), int32_t(v.size()), 1), 0.1f, 1e-6f);
}

TEST(SignalToNoise, RatiosOfRawOverSignalAndZeroForNonPositiveTerms) {
    const std::vector<float> raw{0, 2, 0, 2}, sig{0, 1, 1, 1}, flat{3, 3, 3};
    const SnrFigures f = SignalToNoise(raw.data(), 4, sig.data(), 4);
    EXPECT_FLOAT_EQ(f.rawDiff, 2.0f);
    EXPECT_FLOAT_EQ(f.sigDiff, 1.0f / 3);
    EXPECT_FLOAT_EQ(f.diffRatio, f.rawDiff / f.sigDiff);
    EXPECT_EQ(f.rawSpan, 2.0f);
    EXPECT_EQ(f.sigSpan, 1.0f);
    EXPECT_EQ(f.spanRatio, 2.0f);
    const SnrFigures g = SignalToNoise(raw.data(), 4, flat.data(), 3);
    EXPECT_EQ(g.diffRatio, 0.0f);
    EXPECT_EQ(g.spanRatio, 0.0f);
    const SnrFigures h = SignalToNoise(flat.data(), 3, sig.data(), 4);
    EXPECT_EQ(h.diffRatio, 0.0f);
}

TEST(SignalToNoise, TextHasSixLinesWithThreeDecimalsAndNoFinalLineFeed) {
    SnrFigures f;
    f.rawDiff = 1.5f, f.sigDiff = 0.25f, f.diffRatio = 6, f.rawSpan = 10.0625f, f.sigSpan = 2.5f,
    f.spanRatio = 4.025f;
    EXPECT_EQ(SnrText(f),
              "原始平均差分和：1.500\n信号平均差分和：0.250\n噪音抑制比：6.000\n"
              "原始幅度差：10.063\n信号幅度差：2.500\n噪音抑制比：4.025");
}

TEST(NumberText, FixedThreeDecimals) {
    EXPECT_EQ(FixedText3(0), "0.000");
    EXPECT_EQ(FixedText3(0.0004f), "0.000");
    EXPECT_EQ(FixedText3(1.23456f), "1.235");
    EXPECT_EQ(FixedText3(12345.678f), "12345.678");
    EXPECT_EQ(FixedText3(-2.5f), "-2.500");
    EXPECT_EQ(FixedText3(0.0625f), "0.063");  // an exact half goes away from zero
    EXPECT_EQ(FixedText3(-0.0625f), "-0.063");
}

TEST(NumberText, ShortestTextReadsBackAsTheSameSingle) {
    EXPECT_EQ(ShortestText(1), "1");
    EXPECT_EQ(ShortestText(0.1f), "0.1");
    EXPECT_EQ(ShortestText(-2.5f), "-2.5");
    EXPECT_EQ(ShortestText(0), "0");
    EXPECT_EQ(ShortestText(1000000), "1000000");
    EXPECT_EQ(ShortestText(1e20f), "1e+20");
    EXPECT_EQ(ShortestText(1.5e-6f), "1.5e-06");
    for (float v : {1.0f / 3, 123.456f, 98765.43f, 2.0e-5f, -7.77e12f}) {
        const std::string text = ShortestText(v);
        float back = 0;
        std::from_chars(text.data(), text.data() + text.size(), back);
        EXPECT_EQ(back, v) << text;
        EXPECT_EQ(text.find('e'), std::string::npos) << text;
    }
}

}  // namespace
}  // namespace wavedesk

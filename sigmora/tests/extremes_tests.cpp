// Extreme values with their first positions, and the most frequent value.
#include "sigmora.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

// The tally rule written out directly: each element but the last is a candidate, its tally is
// the number of later equal elements, a strictly larger tally wins.
float modeByTally(const std::vector<float> &x) {
    int best = 0;
    float result = 0.0f;
    for (size_t i = 0; i + 1 < x.size(); ++i) {
        int tally = 0;
        for (size_t j = i + 1; j < x.size(); ++j) tally += x[j] == x[i];
        if (tally > best) {
            best = tally;
            result = x[i];
        }
    }
    return result;
}

}  // namespace

TEST(Extremes, FirstOccurrenceWins) {
    const float a[] = {3, 1, 1, 2};
    int32_t pos = -1;
    EXPECT_EQ(MinValueCalc(a, 4, &pos), 1.0f);
    EXPECT_EQ(pos, 1);
    const float b[] = {2, 5, 5};
    EXPECT_EQ(MaxValueCalc(b, 3, &pos), 5.0f);
    EXPECT_EQ(pos, 1);
    const float c[] = {3, 1, 2};
    EXPECT_EQ(MaxValueCalc(c, 3, &pos), 3.0f);
    EXPECT_EQ(pos, 0);
}

TEST(Extremes, SingleValueIsBothExtremes) {
    const float a[] = {-4.5f};
    int32_t pos = 9;
    EXPECT_EQ(MaxValueCalc(a, 1, &pos), -4.5f);
    EXPECT_EQ(pos, 0);
    pos = 9;
    EXPECT_EQ(MinValueCalc(a, 1, &pos), -4.5f);
    EXPECT_EQ(pos, 0);
}

TEST(Extremes, EmptyInputReadsNothingAndGivesZero) {
    int32_t pos = 7;
    EXPECT_EQ(MinValueCalc(nullptr, 0, &pos), 0.0f);
    EXPECT_EQ(pos, 0);
    pos = 7;
    EXPECT_EQ(MaxValueCalc(nullptr, -3, &pos), 0.0f);
    EXPECT_EQ(pos, 0);
    const float a[] = {1, 2};
    EXPECT_EQ(MaxValueCalc(a, 2, nullptr), 2.0f);  // no position wanted
}

TEST(Extremes, AgreeWithAPlainScanOnRandomData) {
    std::mt19937 gen(11);
    std::uniform_int_distribution<int> dist(-50, 50);
    for (int trial = 0; trial < 50; ++trial) {
        std::vector<float> x(1 + trial * 7);
        for (float &v : x) v = float(dist(gen));
        size_t lo = 0, hi = 0;
        for (size_t i = 1; i < x.size(); ++i) {
            if (x[i] < x[lo]) lo = i;
            if (x[i] > x[hi]) hi = i;
        }
        int32_t pos = -1;
        EXPECT_EQ(MinValueCalc(x.data(), int32_t(x.size()), &pos), x[lo]);
        EXPECT_EQ(pos, int32_t(lo));
        EXPECT_EQ(MaxValueCalc(x.data(), int32_t(x.size()), &pos), x[hi]);
        EXPECT_EQ(pos, int32_t(hi));
    }
}

TEST(Mode, MostFrequentValueWins) {
    const float a[] = {4, 7, 7, 4, 7};
    EXPECT_EQ(ModeCalc(a, 5), 7.0f);
    const float b[] = {5, 5};
    EXPECT_EQ(ModeCalc(b, 2), 5.0f);
}

TEST(Mode, NoRepeatOrTooFewValuesGiveZero) {
    const float a[] = {1, 2, 3};
    EXPECT_EQ(ModeCalc(a, 3), 0.0f);
    EXPECT_EQ(ModeCalc(a, 1), 0.0f);
    EXPECT_EQ(ModeCalc(a, 0), 0.0f);
    EXPECT_EQ(ModeCalc(nullptr, 5), 0.0f);
}

TEST(Mode, TiesKeepTheEarlierFirstOccurrence) {
    const float a[] = {9, 2, 2, 9, 3, 3};
    EXPECT_EQ(ModeCalc(a, 6), 9.0f);
    const float b[] = {1, 6, 8, 8, 6};
    EXPECT_EQ(ModeCalc(b, 5), 6.0f);
}

TEST(Mode, SignedZerosAreEqualAndNaNNeverCounts) {
    const float nan = std::nanf("");
    const float a[] = {nan, nan, nan, -0.0f, 1, 0.0f};
    const float m = ModeCalc(a, 6);
    EXPECT_EQ(m, 0.0f);
    EXPECT_TRUE(std::signbit(m));  // the first occurrence, -0, is the result
    const float b[] = {nan, nan, 2};
    EXPECT_EQ(ModeCalc(b, 3), 0.0f);
}

TEST(Mode, AgreesWithTheTallyRuleOnRandomData) {
    std::mt19937 gen(5);
    for (int trial = 0; trial < 200; ++trial) {
        std::uniform_int_distribution<int> dist(-(trial % 20) - 1, (trial % 20) + 1);
        std::vector<float> x(2 + trial % 60);
        for (float &v : x) v = float(dist(gen)) * 0.5f;
        float expected = modeByTally(x), got = ModeCalc(x.data(), int32_t(x.size()));
        ASSERT_EQ(got, expected) << "trial " << trial;
        ASSERT_EQ(std::signbit(got), std::signbit(expected)) << "trial " << trial;
    }
}

// The beat detector and the slope comparator on synthetic pulse trains; their shared state.
#include "sigmora.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// A pulse train: every `period` samples a two-step rise to 1, then a ten-sample fall, on a flat
// baseline; the first pulse starts at sample `first`.
std::vector<float> pulseTrain(int period, int count, int first = 100) {
    std::vector<float> x(first + period * count, 0.0f);
    for (int p = 0; p < count; ++p) {
        const int s = first + p * period;
        x[s] = 0.5f;
        x[s + 1] = 1.0f;
        for (int k = 1; k <= 10; ++k) x[s + 1 + k] = 1.0f - 0.1f * k;
    }
    return x;
}

struct Detection {
    int sample;
    int result;
};

std::vector<Detection> runPeakDetector(const std::vector<float> &x) {
    std::vector<Detection> found;
    for (size_t i = 0; i < x.size(); ++i) {
        const int r = DetectPeakPos(x[i]);
        if (r != 0) found.push_back({static_cast<int>(i), r});
    }
    return found;
}

}  // namespace

TEST(DetectPeakPos, ReportsTheRateOfAPulseTrain) {
    const float fs = 250.0f;
    for (auto [period, expected] : {std::pair{250, 6000}, std::pair{100, 15000}, std::pair{120, 12500}}) {
        InitDPP(0.5f, 50, fs, 40.0f, 180.0f);
        const std::vector<Detection> found = runPeakDetector(pulseTrain(period, 12));
        ASSERT_EQ(found.size(), 12u) << period;
        for (size_t k = 1; k < found.size(); ++k) {  // the first interval counts from an older detection
            EXPECT_EQ(found[k].sample - found[k - 1].sample, period);
            EXPECT_EQ(found[k].result, expected) << period << " " << k;
        }
    }
}

TEST(DetectPeakPos, RatesOutsideTheLimitsReportOne) {
    // 250 bpm is above maxHR 180 (interval 60 < 83.3); 37.5 bpm is below minHR 40 (400 > 375).
    for (int period : {60, 400}) {
        InitDPP(0.5f, 50, 250.0f, 40.0f, 180.0f);
        const std::vector<Detection> found = runPeakDetector(pulseTrain(period, 8));
        ASSERT_EQ(found.size(), 8u);
        for (size_t k = 1; k < found.size(); ++k)  // the first counts from an older detection
            EXPECT_EQ(found[k].result, 1) << period << " " << k;
    }
}

TEST(DetectPeakPos, RefractoryCountAndTheKeptLastDetection) {
    // A staircase rising one unit every 8 samples keeps the slope mean above the threshold, so
    // only the refractory count spaces the detections: none within 11 samples of the last.
    InitDPP(0.3f, 10, 250.0f, 1.0f, 10000.0f);
    std::vector<float> stairs(600);
    for (int i = 0; i < 600; ++i) stairs[i] = static_cast<float>(i / 8);
    const std::vector<Detection> found = runPeakDetector(stairs);
    ASSERT_GT(found.size(), 20u);
    for (size_t k = 1; k < found.size(); ++k) EXPECT_EQ(found[k].sample - found[k - 1].sample, 12);
    // Restarting keeps the last detection's sample number: the next interval is not positive.
    InitDPP(0.5f, 50, 250.0f, 40.0f, 180.0f);
    const std::vector<Detection> again = runPeakDetector(pulseTrain(250, 2));
    ASSERT_FALSE(again.empty());
    EXPECT_EQ(again[0].result, 1);
    EXPECT_EQ(again[1].result, 6000);
}

TEST(DetectPeakPos, FlatSignalNeverDetects) {
    InitDPP(1.0f, 5, 100.0f, 30.0f, 200.0f);
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(DetectPeakPos(2.0f), 0) << i;
}

TEST(DetectECGR, RisingEdgesConstantsAndChannels) {
    DetectECGR0(1.0f, 1.0f);
    EXPECT_EQ(DetectECGR(3.0f, 0), 0);  // first step: slope equals its own RMS
    for (int i = 0; i < 100; ++i) ASSERT_EQ(DetectECGR(3.0f, 0), -1);
    DetectECGR0(2.0f, 1.0f);
    const std::vector<float> x = pulseTrain(50, 10, 20);
    std::vector<int> edges;
    for (size_t i = 0; i < x.size(); ++i)
        if (DetectECGR(x[i], 5) == 1) edges.push_back(static_cast<int>(i));
    ASSERT_FALSE(edges.empty());
    for (int s : edges) EXPECT_TRUE((s - 20) % 50 == 0 || (s - 20) % 50 == 1) << s;  // only on the rises
    EXPECT_GE(edges.size(), 10u);
}

TEST(DetectECGR, RefusedChannelsAndResetLeaveTheSequence) {
    const std::vector<float> x = pulseTrain(30, 6, 10);
    auto run = [&](bool withNoise) {
        std::vector<int> out;
        for (float v : x) {
            if (withNoise) {
                EXPECT_EQ(DetectECGR(100.0f, 16), 0);
                EXPECT_EQ(DetectECGR(100.0f, 1000), 0);
            }
            out.push_back(DetectECGR(v, 15));
        }
        return out;
    };
    EXPECT_EQ(DetectECGR(0.0f, -1), 0);
    const std::vector<int> first = run(false);
    EXPECT_EQ(DetectECGR(0.0f, -1), 0);
    EXPECT_EQ(run(true), first);
}

TEST(Detectors, ThresholdGainAndCounterAreShared) {
    const std::vector<float> x = pulseTrain(40, 5, 20);
    auto edgesOf = [&]() {
        int ones = 0;
        for (float v : x) ones += DetectECGR(v, 0) == 1;
        return ones;
    };
    DetectECGR0(1.0f, 1.0f);
    EXPECT_GT(edgesOf(), 0);
    DetectECGR(0.0f, -1);
    InitDPP(50.0f, 10, 250.0f, 40.0f, 180.0f);  // sets the shared threshold factor to 50
    EXPECT_EQ(edgesOf(), 0);
}

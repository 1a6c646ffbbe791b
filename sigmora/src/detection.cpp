// detection.cpp - two sample-by-sample detectors of steep rising edges (R waves): a beat detector
// with heart rate (InitDPP / DetectPeakPos) and a slope comparator for 16 channels
// (DetectECGR0 / DetectECGR). Their state is library-wide, and part of it is shared.
#include "sigmora.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

const int32_t kMaxSlopeWindow = 10;
const int32_t kChannels = 16;

struct DetectorState {
    // Shared by both detectors.
    float threshold = 1.0f;  // T
    float rate = 1.0f;       // R: sampling rate of DetectPeakPos, gain of DetectECGR
    int32_t count = 0;       // n
    // DetectPeakPos.
    int32_t refractory = 10;  // K
    int32_t window = 3;       // W
    float ring[kMaxSlopeWindow] = {};
    float longest = 0.0f, shortest = 0.0f;  // Lmax, Lmin
    float previous = 0.0f, meanSquare = 0.0f;
    int32_t sinceDetection = 0;  // s
    int32_t lastDetection = 0;   // q
    // DetectECGR.
    float channelPrevious[kChannels] = {};
    float channelMeanSquare[kChannels] = {};
};

DetectorState g_det;

// Truncation toward zero kept inside int32 (NaN gives 0), so no cast is ever out of range.
int32_t truncToInt(double v) {
    if (!(v == v)) return 0;
    const double lim = static_cast<double>(std::numeric_limits<int32_t>::max());
    return static_cast<int32_t>(std::clamp(std::trunc(v), -lim, lim));
}

// Longest (or shortest) accepted interval in samples for a rate limit in beats per minute; a
// limit that is not positive gives infinity.
float intervalFor(float beatsPerMinute, float fs) {
    if (!(beatsPerMinute > 0.0f)) return std::numeric_limits<float>::infinity();
    return (60.0f / beatsPerMinute) * fs;
}

void resetChannels(float T, float gain) {
    g_det.threshold = T;
    g_det.rate = gain;
    std::fill(g_det.channelPrevious, g_det.channelPrevious + kChannels, 0.0f);
    std::fill(g_det.channelMeanSquare, g_det.channelMeanSquare + kChannels, 0.0f);
    g_det.count = 0;
}

}  // namespace

extern "C" {

void InitDPP(float T, int32_t K, float fs, float minHR, float maxHR) {
    g_det.threshold = T;
    g_det.refractory = K;
    g_det.rate = fs;
    g_det.previous = 0.0f;
    g_det.meanSquare = 0.0f;
    g_det.count = 0;
    g_det.sinceDetection = 0;
    g_det.window = std::clamp(truncToInt(fs * 0.033333335f), 3, kMaxSlopeWindow);
    std::fill(g_det.ring, g_det.ring + g_det.window, 0.0f);
    g_det.longest = intervalFor(minHR, fs);
    g_det.shortest = intervalFor(maxHR, fs);
}

int32_t DetectPeakPos(float x) {
    DetectorState &s = g_det;
    const float d = x - s.previous;
    std::copy(s.ring + 1, s.ring + s.window, s.ring);
    s.ring[s.window - 1] = d;
    s.count += 1;
    s.meanSquare = s.meanSquare + (d * d - s.meanSquare) / static_cast<float>(s.count);
    s.previous = x;
    float sum = 0.0f;
    for (int32_t k = 0; k < s.window; ++k) sum += s.ring[k];
    const float m = sum / static_cast<float>(s.window);
    const float theta = std::sqrt(s.meanSquare) * s.threshold;
    int32_t result = 0;
    if (theta >= m || s.sinceDetection <= s.refractory) {
        if (s.sinceDetection < std::numeric_limits<int32_t>::max()) s.sinceDetection += 1;
    } else {
        s.sinceDetection = 0;
        const int32_t interval = s.count - s.lastDetection;
        if (interval > 0) result = truncToInt(100.0 * 60.0 / (static_cast<double>(interval) / s.rate));
        if (interval <= 0 || static_cast<float>(interval) > s.longest ||
            static_cast<float>(interval) < s.shortest)
            result = 1;
        s.lastDetection = s.count;
    }
    if (s.count > 900000000) s.count = 100;
    return result;
}

int32_t DetectECGR0(float T, float gain) {
    resetChannels(T, gain);
    return 0;
}

int32_t DetectECGR(float x, int32_t ch) {
    if (ch < 0) {
        resetChannels(1.0f, 1.0f);
        return 0;
    }
    if (ch >= kChannels) return 0;
    DetectorState &s = g_det;
    s.count += 1;
    const float d = (x - s.channelPrevious[ch]) * s.rate;
    s.channelPrevious[ch] = x;
    float &ms = s.channelMeanSquare[ch];
    ms = ms + (d * d - ms) / static_cast<float>(s.count);
    const float theta = std::sqrt(std::fabs(ms)) * s.threshold;
    if (s.count > 960000000) s.count = 1000;
    if (d > theta) return 1;
    return d == theta ? 0 : -1;
}

}  // extern "C"

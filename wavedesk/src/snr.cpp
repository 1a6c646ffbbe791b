// snr.cpp - signal-to-noise figures and the number texts of the view commands.
#include "snr.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace wavedesk {

namespace {

// Mean absolute first difference, summed in double precision.
float meanDifference(const float *v, int32_t count) {
    if (count < 2) return 0;
    double sum = 0;
    for (int32_t a = 0; a + 1 < count; ++a) sum += std::fabs(double(v[a + 1]) - double(v[a]));
    return static_cast<float>(sum / double(count - 1));
}

float span(const float *v, int32_t count) {
    if (count < 1) return 0;
    float lo = v[0], hi = v[0];
    for (int32_t a = 1; a < count; ++a) {
        if (v[a] < lo) lo = v[a];
        if (v[a] > hi) hi = v[a];
    }
    return hi - lo;
}

float ratio(float numerator, float denominator) {
    return (numerator > 0 && denominator > 0) ? numerator / denominator : 0.0f;
}

}  // namespace

float SeriesMeasure(const float *values, int32_t count, int16_t kind) {
    if (values == nullptr) return 0;
    return kind == 1 ? meanDifference(values, count) : span(values, count);
}

SnrFigures SignalToNoise(const float *raw, int32_t rawCount, const float *signal, int32_t signalCount) {
    SnrFigures f;
    f.rawDiff = SeriesMeasure(raw, rawCount, 1);
    f.rawSpan = SeriesMeasure(raw, rawCount, 0);
    f.sigDiff = SeriesMeasure(signal, signalCount, 1);
    f.sigSpan = SeriesMeasure(signal, signalCount, 0);
    f.diffRatio = ratio(f.rawDiff, f.sigDiff);
    f.spanRatio = ratio(f.rawSpan, f.sigSpan);
    return f;
}

std::string SnrText(const SnrFigures &f) {
    return "原始平均差分和：" + FixedText3(f.rawDiff) + "\n" + "信号平均差分和：" + FixedText3(f.sigDiff) +
           "\n" + "噪音抑制比：" + FixedText3(f.diffRatio) + "\n" + "原始幅度差：" + FixedText3(f.rawSpan) +
           "\n" + "信号幅度差：" + FixedText3(f.sigSpan) + "\n" + "噪音抑制比：" + FixedText3(f.spanRatio);
}

std::string FixedText3(float v) {
    // A single times 1000 is exact in double, so halves round away from zero as written.
    const double scaled = std::round(double(v) * 1000.0);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.3f", std::fabs(scaled) < 1e15 ? scaled / 1000.0 : double(v));
    return buf;
}

std::string ShortestText(float v) {
    char buf[64];
    const float magnitude = std::fabs(v);
    const bool plain = v == 0 || (magnitude >= 1e-5f && magnitude < 1e15f);
    const auto r = std::to_chars(buf, buf + sizeof buf, v,
                                 plain ? std::chars_format::fixed : std::chars_format::scientific);
    return std::string(buf, r.ptr);
}

}  // namespace wavedesk

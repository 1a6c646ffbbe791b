#include "dspsteps.h"

#include <algorithm>

#include "tessiq/dispids.h"

namespace wavedesk {

namespace {

automation::SafeArray toArray(const std::vector<float> &v) {
    return automation::SafeArray::ofFloats(v);
}

void copyBack(automation::SafeArray &a, std::vector<float> &v) {
    std::vector<float> got = a.floats();
    std::copy(got.begin(), got.end(), v.begin());
}

}  // namespace

WaveletStep waveletThrough(automation::ControlHandle &tessiq) {
    return [&tessiq](std::vector<float> &w, int32_t m, int32_t inv) {
        automation::SafeArray a = toArray(w);
        tessiq.call(tessiq::dispid::d_stDWaveletT, a, m, int32_t(10), inv);
        copyBack(a, w);
    };
}

FftStep fftThrough(automation::ControlHandle &tessiq) {
    return [&tessiq](std::vector<float> &re, std::vector<float> &im, int32_t m, int32_t inv) {
        automation::SafeArray r = toArray(re), i = toArray(im);
        tessiq.call(tessiq::dispid::d_stFFT, r, i, m, inv);
        copyBack(r, re);
        copyBack(i, im);
    };
}

}  // namespace wavedesk

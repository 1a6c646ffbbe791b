// spectra.cpp - autocorrelation, correlation coefficient, Blackman-Tukey and chirp-z power
// spectra and the sliding-window spectrogram.
#include "numora.h"

#include "transforms_internal.h"

#include <cmath>
#include <cstring>

using numora::transforms::ChirpZ;
using numora::transforms::runningMean;
using numora::transforms::Work;

namespace {

constexpr double kTwoPiPsd = static_cast<double>(6.283185f);  // the Blackman-Tukey spectrum's 2 pi

// Biased autocorrelation of x at lags 0..m-1 (0 from lag n on) into r, in double precision.
bool autocorrelation(const float *x, std::int64_t n, double *r, std::int64_t m) {
    Work<double> centred(static_cast<std::size_t>(n));
    if (!centred) return false;
    double mean = 0.0;
    for (std::int64_t i = 0; i < n; ++i)
        mean += (static_cast<double>(x[i]) - mean) / static_cast<double>(i + 1);
    for (std::int64_t i = 0; i < n; ++i) centred[static_cast<std::size_t>(i)] = x[i] - mean;
    const double *c = centred.get();
    for (std::int64_t k = 0; k < m; ++k) {
        double sum = 0.0;
        for (std::int64_t i = 0; i + k < n; ++i) sum += c[i] * c[i + k];
        r[k] = k < n ? sum / static_cast<double>(n) : 0.0;
    }
    return true;
}

// Power |Y|^2 of the chirp-z of x (count points, prepared in chirp) less its running mean.
// work holds count floats plus 2 m; ps receives m values.
bool chirpPower(ChirpZ &chirp, const float *x, std::int64_t count, std::int64_t m, float *work, float *ps) {
    const float mean = runningMean(x, count);
    float *centred = work, *yr = work + count, *yi = yr + m;
    for (std::int64_t i = 0; i < count; ++i) centred[i] = x[i] - mean;
    if (!chirp.run(centred, nullptr, yr, yi)) return false;
    for (std::int64_t k = 0; k < m; ++k)
        ps[k] = static_cast<float>(static_cast<double>(yr[k]) * yr[k] + static_cast<double>(yi[k]) * yi[k]);
    return true;
}

}  // namespace

extern "C" {

NUMORA_API void AutoCor(const float *x, int32_t n, float *r, int32_t m) {
    if (!x || !r || n < 1 || m < 1) return;
    Work<double> lags(static_cast<std::size_t>(m));
    if (!lags || !autocorrelation(x, n, lags.get(), m)) return;
    for (int32_t k = 0; k < m; ++k) r[k] = static_cast<float>(lags[static_cast<std::size_t>(k)]);
}

NUMORA_API float CorCoef(const float *x, const float *y, int32_t n) {
    if (!x || !y || n < 1) return 0.0f;
    double xy = 0.0, xx = 0.0, yy = 0.0;
    for (int32_t i = 0; i < n; ++i) {
        xy += static_cast<double>(x[i]) * y[i];
        xx += static_cast<double>(x[i]) * x[i];
        yy += static_cast<double>(y[i]) * y[i];
    }
    if (xx == 0.0 || yy == 0.0) return 0.0f;
    return static_cast<float>(xy / (std::sqrt(xx) * std::sqrt(yy)));
}

NUMORA_API int32_t PsdCalc(const float *x, int32_t n, float *ps, int32_t m, float f1, float f2, float fs) {
    if (!x || !ps || n < 1 || m < 1 || fs == 0.0f || !std::isfinite(fs)) return 0;
    Work<double> r(static_cast<std::size_t>(n));
    Work<float> out(static_cast<std::size_t>(m));
    if (!r || !out || !autocorrelation(x, n, r.get(), n)) return 0;
    const double delta = static_cast<float>((static_cast<double>(f2) - f1) / m);
    for (int32_t i = 0; i < m; ++i) {
        const double f = (f1 + i * delta) / fs;
        double sum = r[0];
        for (int32_t k = 1; k < n; ++k)
            sum += 2.0 * r[static_cast<std::size_t>(k)] * std::cos(kTwoPiPsd * k * f);
        out[static_cast<std::size_t>(i)] = static_cast<float>(sum);
    }
    std::memcpy(ps, out.get(), static_cast<std::size_t>(m) * sizeof(float));
    return 1;
}

NUMORA_API int32_t PsdCalcCZT(const float *x, int32_t n, float *ps, int32_t m, float f1, float f2, float fs) {
    if (!x || !ps) return 0;
    ChirpZ chirp;
    if (!chirp.prepare(n, m, f1, f2, fs)) return 0;
    // The mean is removed in a work copy: x itself is never written.
    Work<float> work(static_cast<std::size_t>(n) + 2 * static_cast<std::size_t>(m));
    Work<float> out(static_cast<std::size_t>(m));
    if (!work || !out || !chirpPower(chirp, x, n, m, work.get(), out.get())) return 0;
    std::memcpy(ps, out.get(), static_cast<std::size_t>(m) * sizeof(float));
    return 1;
}

NUMORA_API int32_t PsArray(const float *x, int32_t n, int32_t shift, int32_t w, float *ps, int32_t m,
                           float f1, float f2, float fs) {
    if (!x || !ps || shift < 1 || shift >= n || w < 1 || w > n || m < 1) return 0;
    const std::int64_t frames = n / shift;
    if (frames * m > INT32_MAX) return 0;
    ChirpZ chirp;
    if (!chirp.prepare(w, m, f1, f2, fs)) return 0;
    const std::size_t total = static_cast<std::size_t>(frames * m);
    Work<float> frame(static_cast<std::size_t>(w)),
        work(static_cast<std::size_t>(w) + 2 * static_cast<std::size_t>(m));
    Work<float> out(total);
    if (!frame || !work || !out) return 0;
    for (std::int64_t j = 0; j < frames; ++j) {
        // Samples past the end of x stay zero; the mean of the copied samples is removed
        // from those only, then the spectrum removes the mean of the whole frame.
        const std::int64_t start = j * shift;
        const std::int64_t count = n - start < w ? n - start : w;
        std::memset(frame.get(), 0, static_cast<std::size_t>(w) * sizeof(float));
        const float mean = runningMean(x + start, count);
        for (std::int64_t i = 0; i < count; ++i) frame[static_cast<std::size_t>(i)] = x[start + i] - mean;
        if (!chirpPower(chirp, frame.get(), w, m, work.get(), out.get() + j * m)) return 0;
    }
    std::memcpy(ps, out.get(), total * sizeof(float));
    return 1;
}

}  // extern "C"

// Spectral core: FFT exports, two-dimensional FFT, data windows and periodograms.
#include <cmath>
#include <cstring>

#include "mathcore/fft.h"
#include "sigmora.h"
#include "spectral_internal.h"

namespace sigmora::spectral {

bool is_pow2(std::int64_t n) {
    return mathcore::fft_is_pow2(n);
}

bool fft_length_ok(std::int64_t n) {
    return is_pow2(n) && n <= static_cast<std::int64_t>(mathcore::kFftMaxPoints);
}

double window_weight(int type, std::int64_t i, std::int64_t n) {
    if (n <= 1) return 1.0;
    const double di = static_cast<double>(i);
    const double last = static_cast<double>(n - 1);
    switch (type) {
        case 1: {
            const double c = last * 0.5;
            return 1.0 - std::fabs((di - c) / c);
        }
        case 2: return (1.0 - std::cos(6.2831852 * di / last)) * 0.5;
        case 3: {
            const double q = (di - last * 0.5) / ((static_cast<double>(n) + 1.0) * 0.5);
            return 1.0 - q * q;
        }
        case 4:
            return static_cast<double>(0.54f) - static_cast<double>(0.46f) * std::cos(6.2831852 * di / last);
        case 5: {
            const double th = 6.2831852 * di / last;
            return 0.42 - 0.5 * std::cos(th) + 0.08 * std::cos(2.0 * th);
        }
        default: return 1.0;
    }
}

bool fft(float *re, float *im, std::int64_t n, bool inverse) {
    if (!fft_length_ok(n)) return false;
    return mathcore::fft_inplace(re, im, static_cast<std::size_t>(n), inverse);
}

bool power_spectrum(float *re, float *im, std::int64_t n, float dt) {
    if (!fft(re, im, n, false)) return false;
    const auto sq = [](float v) { return static_cast<double>(v) * v; };
    if (n == 1) {
        // The single bin is both the mean and the Nyquist bin: counted once.
        re[0] = static_cast<float>(sq(re[0]) + sq(im[0]));
        im[0] = 0.0f;
        return true;
    }
    const double g = static_cast<float>(1.0 / (static_cast<double>(n) * static_cast<double>(n)));
    const std::int64_t h = n / 2;
    re[0] = static_cast<float>((sq(re[0]) + sq(im[0])) * g);
    for (std::int64_t k = 1; k < h; ++k)
        re[k] = static_cast<float>((sq(re[k]) + sq(im[k]) + sq(re[n - k]) + sq(im[n - k])) * g);
    re[h] = static_cast<float>((sq(re[h]) + sq(im[h])) * g);
    const double span = static_cast<double>(dt) * static_cast<double>(n);
    for (std::int64_t k = 0; k <= h; ++k) im[k] = static_cast<float>(static_cast<double>(k) / span);
    return true;
}

namespace {

// Running mean in double precision, rounded to float.
float running_mean(const float *v, std::int64_t count) {
    double m = 0.0;
    for (std::int64_t k = 0; k < count; ++k)
        m += (static_cast<double>(v[k]) - m) / static_cast<double>(k + 1);
    return static_cast<float>(m);
}

// Periodogram of `count` samples of x (count <= M) in the M-point work arrays: mean removed,
// windowed over `count` points, zero-padded to M.
bool segment_periodogram(const float *x, std::int64_t count, std::int64_t M, int wintype, float *re,
                         float *im) {
    const float mean = running_mean(x, count);
    for (std::int64_t i = 0; i < M; ++i) {
        re[i] = i < count ? x[i] - mean : 0.0f;
        im[i] = 0.0f;
    }
    WindowData(re, static_cast<std::int32_t>(count), wintype);
    return power_spectrum(re, im, M, 1.0f);
}

// Enters periodogram P as the (count)-th value of the running average in ps.
void average_into(float *ps, const float *P, std::int32_t nps, std::int64_t count) {
    for (std::int32_t k = 0; k < nps; ++k)
        ps[k] = static_cast<float>(ps[k] + (static_cast<double>(P[k]) - ps[k]) / static_cast<double>(count));
}

}  // namespace
}  // namespace sigmora::spectral

using namespace sigmora::spectral;

extern "C" {

int32_t FFTCalc(float *re, float *im, int32_t n) {
    return fft(re, im, n, false) ? 1 : 0;
}

int32_t FFTInvCalc(float *re, float *im, int32_t n) {
    return fft(re, im, n, true) ? 1 : 0;
}

int16_t FFT2DCalc(float *re, float *im, int16_t nCols, int16_t nRows, int16_t inv) {
    if (!re || !im || !is_pow2(nCols) || !is_pow2(nRows)) return 0;
    const std::size_t cols = static_cast<std::size_t>(nCols), rows = static_cast<std::size_t>(nRows);
    const std::size_t longest = cols > rows ? cols : rows;
    WorkArray<float> work(2 * longest);
    if (!work) return 0;
    float *wr = work.get(), *wi = work.get() + longest;
    const bool inverse = inv != 0;
    // Transforming the zeroed work block first builds both twiddle tables, so the passes
    // below cannot fail half-way through the matrix.
    if (!fft(wr, wi, nCols, false) || !fft(wr, wi, nRows, false)) return 0;
    for (std::size_t r = 0; r < rows; ++r) {
        std::memcpy(wr, re + r * cols, cols * sizeof(float));
        std::memcpy(wi, im + r * cols, cols * sizeof(float));
        fft(wr, wi, nCols, inverse);
        std::memcpy(re + r * cols, wr, cols * sizeof(float));
        std::memcpy(im + r * cols, wi, cols * sizeof(float));
    }
    for (std::size_t c = 0; c < cols; ++c) {
        for (std::size_t r = 0; r < rows; ++r) {
            wr[r] = re[r * cols + c];
            wi[r] = im[r * cols + c];
        }
        fft(wr, wi, nRows, inverse);
        for (std::size_t r = 0; r < rows; ++r) {
            re[r * cols + c] = wr[r];
            im[r * cols + c] = wi[r];
        }
    }
    return 1;
}

void WindowData(float *x, int32_t n, int32_t type) {
    if (!x || n <= 0) return;
    for (int32_t i = 0; i < n; ++i) x[i] = static_cast<float>(x[i] * window_weight(type, i, n));
}

int32_t PowerSpectrumCalc(float *re, float *im, int32_t n, float dt) {
    return power_spectrum(re, im, n, dt) ? 1 : 0;
}

int32_t RealPSDCalc(const float *x, int32_t n, float *ps, int32_t nps, int32_t wintype) {
    if (!x || !ps || n <= 0 || nps < 2) return 0;
    const std::int64_t M = 2 * static_cast<std::int64_t>(nps) - 2;
    if (!fft_length_ok(M)) return 0;
    WorkArray<float> re(static_cast<std::size_t>(M)), im(static_cast<std::size_t>(M));
    WorkArray<float> avg(static_cast<std::size_t>(nps));
    if (!re || !im || !avg) return 0;
    if (n <= M) {
        if (!segment_periodogram(x, n, M, wintype, re.get(), im.get())) return 0;
        std::memcpy(ps, re.get(), static_cast<std::size_t>(nps) * sizeof(float));
        return 1;
    }
    // Whole segments, then the remainder, enter one running average (zero-filled to start).
    const std::int64_t K = n / M;
    const std::int64_t rest = n - K * M;
    for (std::int64_t s = 0; s < K; ++s) {
        if (!segment_periodogram(x + s * M, M, M, wintype, re.get(), im.get())) return 0;
        average_into(avg.get(), re.get(), nps, s + 1);
    }
    if (rest > 0) {
        if (!segment_periodogram(x + K * M, rest, M, wintype, re.get(), im.get())) return 0;
        average_into(avg.get(), re.get(), nps, K + 1);
    }
    std::memcpy(ps, avg.get(), static_cast<std::size_t>(nps) * sizeof(float));
    return 1;
}

}  // extern "C"

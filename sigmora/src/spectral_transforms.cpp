// Spectral core: direct DFT, cosine transforms, Walsh-Hadamard transform, convolution and
// autocorrelation.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>

#include "sigmora.h"
#include "spectral_internal.h"

using sigmora::spectral::fft;
using sigmora::spectral::is_pow2;
using sigmora::spectral::WorkArray;

namespace {

constexpr double kPi7 = 3.1415926;  // the cosine transforms' pi, as the results are defined with it

bool overlaps(const float *a, const float *b, std::int64_t n) {
    const std::less<const float *> before;
    return before(a, b + n) && before(b, a + n);
}

// Direct DFT sums of (re, im) into (outRe, outIm); sign +1 forward, -1 inverse, no scaling.
void direct_dft(const float *re, const float *im, std::int64_t n, double sign, float *outRe, float *outIm) {
    const double dn = static_cast<double>(n);
    for (std::int64_t k = 0; k < n; ++k) {
        double sr = 0.0, si = 0.0;
        for (std::int64_t j = 0; j < n; ++j) {
            const double th = 6.2831852 * static_cast<double>(j) * static_cast<double>(k) / dn;
            const double c = std::cos(th), s = std::sin(th);
            sr += re[j] * c + sign * im[j] * s;
            si += im[j] * c - sign * re[j] * s;
        }
        outRe[k] = static_cast<float>(sr);
        outIm[k] = static_cast<float>(si);
    }
}

// Source positions (0-based) that put the natural-order Hadamard butterflies in sequency order.
void sequency_permutation(std::uint32_t *perm, std::int64_t n) {
    // 1-based source indices, filled by halving the spacing at each level.
    perm[0] = 1;
    perm[n / 2] = 2;
    std::int64_t filled = 2;
    for (std::int64_t d = n / 2; d >= 2; d /= 2, filled *= 2) {
        for (std::int64_t q = 0; q < n; q += d)
            perm[q + d / 2] = static_cast<std::uint32_t>(2 * filled + 1 - perm[q]);
    }
    for (std::int64_t i = 0; i < n; ++i) --perm[i];
}

}  // namespace

extern "C" {

int32_t DFT1D(float *re, float *im, int32_t n, int32_t inv) {
    if (!re || !im || n <= 0) return 0;
    WorkArray<float> work(2 * static_cast<std::size_t>(n));
    if (!work) return 0;
    direct_dft(re, im, n, inv == 0 ? 1.0 : -1.0, work.get(), work.get() + n);
    std::memcpy(re, work.get(), static_cast<std::size_t>(n) * sizeof(float));
    std::memcpy(im, work.get() + n, static_cast<std::size_t>(n) * sizeof(float));
    return 1;
}

void DCT1D(const float *x, float *y, int32_t n, int32_t inv) {
    if (!x || !y || n <= 0) return;
    const bool inverse = inv != 0;
    // Writing y must not change x while it is still being read.
    WorkArray<float> copy(overlaps(x, y, n) ? static_cast<std::size_t>(n) : 0);
    if (overlaps(x, y, n)) {
        if (!copy) return;
        std::memcpy(copy.get(), x, static_cast<std::size_t>(n) * sizeof(float));
        x = copy.get();
    }
    const double dn = static_cast<double>(n);
    for (int32_t k = 0; k < n; ++k) {
        double s = 0.0;
        for (int32_t j = 0; j < n; ++j) {
            const double xj = (inverse && j == 0) ? x[0] * 0.5 : x[j];
            const double a = inverse ? (k + 0.5) * j : (j + 0.5) * k;
            s += xj * std::cos(a * kPi7 / dn);
        }
        y[k] = static_cast<float>(inverse ? (2.0 * s / dn) / dn : s);
    }
}

int32_t FastDCT1D(float *x, int32_t n) {
    const std::int64_t m = 2 * static_cast<std::int64_t>(n);
    if (!x || n <= 0 || !sigmora::spectral::fft_length_ok(m)) return 0;
    WorkArray<float> re(static_cast<std::size_t>(m)), im(static_cast<std::size_t>(m));
    if (!re || !im) return 0;
    for (int32_t j = 0; j < n; ++j) {
        re[j] = x[j];
        re[m - 1 - j] = x[j];
    }
    if (!fft(re.get(), im.get(), m, false)) return 0;
    x[0] = static_cast<float>(re[0] / std::sqrt(2.0));
    for (int32_t k = 1; k < n; ++k) {
        const double th = k * kPi7 / static_cast<double>(m);
        x[k] = static_cast<float>(re[k] * std::cos(th) + im[k] * std::sin(th));
    }
    return 1;
}

int32_t FastIDCT1D(float *x, int32_t n) {
    const std::int64_t m = 2 * static_cast<std::int64_t>(n);
    if (!x || n <= 0 || !sigmora::spectral::fft_length_ok(m)) return 0;
    WorkArray<float> re(static_cast<std::size_t>(m)), im(static_cast<std::size_t>(m));
    if (!re || !im) return 0;
    for (int32_t j = 0; j < n; ++j) re[j] = x[j];
    for (int32_t j = 1; j < n; ++j) re[n + j] = -x[n - j];
    for (std::int64_t k = 1; k < m; ++k) {
        const double th = static_cast<double>(k) * kPi7 / static_cast<double>(m);
        const double r = re[k];  // the imaginary part is still zero
        re[k] = static_cast<float>(r * std::cos(th));
        im[k] = static_cast<float>(r * std::sin(th));
    }
    re[0] = static_cast<float>(re[0] * std::sqrt(2.0));
    if (!fft(re.get(), im.get(), m, true)) return 0;
    std::memcpy(x, re.get(), static_cast<std::size_t>(n) * sizeof(float));
    return 1;
}

void FastWalshT(const float *x, int32_t n, float *y, int16_t inv) {
    if (!x || !y || !is_pow2(n)) return;
    if (n == 1) {
        y[0] = x[0];
        return;
    }
    WorkArray<std::uint32_t> perm(static_cast<std::size_t>(n));
    WorkArray<float> copy(overlaps(x, y, n) ? static_cast<std::size_t>(n) : 0);
    if (!perm || (overlaps(x, y, n) && !copy)) return;
    if (overlaps(x, y, n)) {
        std::memcpy(copy.get(), x, static_cast<std::size_t>(n) * sizeof(float));
        x = copy.get();
    }
    sequency_permutation(perm.get(), n);
    for (int32_t i = 0; i < n; ++i) y[i] = x[perm[i]];
    for (int32_t b = 1; b < n; b *= 2) {
        for (int32_t blk = 0; blk < n; blk += 2 * b) {
            for (int32_t a = blk; a < blk + b; ++a) {
                const float u = y[a], v = y[a + b];
                y[a] = u + v;
                y[a + b] = u - v;
            }
        }
    }
    if (inv != 0) {
        const float fn = static_cast<float>(n);
        for (int32_t i = 0; i < n; ++i) y[i] /= fn;
    }
}

void ConvolutionCalc(const float *h, int32_t lh, const float *x, int32_t lx, float *y, int32_t ly) {
    if (!h || !x || !y || lh <= 0 || lx <= 0 || ly <= 0) return;
    for (std::int64_t i = 0; i < ly; ++i) {
        // Terms whose index into x, lx - 1 - i + k, falls outside 0 .. lx - 1 are zero.
        const std::int64_t kFirst = i - lx + 1 > 0 ? i - lx + 1 : 0;
        const std::int64_t kLast = i < lh - 1 ? i : lh - 1;
        double s = 0.0;
        for (std::int64_t k = kFirst; k <= kLast; ++k) s += static_cast<double>(h[k]) * x[lx - 1 - i + k];
        y[i] = static_cast<float>(s);
    }
}

int32_t AutoCorr(const float *x, int32_t n, float *r, int32_t lags) {
    if (!x || !r || n <= 0 || lags <= 0 || lags > n) return 0;
    // The mean-removed values live in a work copy, so x itself is never modified.
    WorkArray<float> xc(static_cast<std::size_t>(n));
    WorkArray<float> acc(static_cast<std::size_t>(lags));
    if (!xc || !acc) return 0;
    double mean = 0.0;
    for (int32_t j = 0; j < n; ++j) mean += (static_cast<double>(x[j]) - mean) / (j + 1);
    for (int32_t j = 0; j < n; ++j) xc[j] = static_cast<float>(x[j] - mean);
    // Running mean over j of x[j + m] * x[j] (zero past the end), each update stored as float.
    for (int32_t j = 0; j < n; ++j) {
        const double xj = xc[j];
        const double div = static_cast<double>(j) + 1.0;
        const int32_t inside = n - j < lags ? n - j : lags;
        for (int32_t m = 0; m < inside; ++m)
            acc[m] = static_cast<float>(acc[m] + (xc[j + m] * xj - acc[m]) / div);
        for (int32_t m = inside; m < lags; ++m) acc[m] = static_cast<float>(acc[m] - acc[m] / div);
    }
    std::memcpy(r, acc.get(), static_cast<std::size_t>(lags) * sizeof(float));
    return 1;
}

}  // extern "C"

#include "compute.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "automation/errors.h"

namespace tessiq::compute {

namespace {

[[noreturn]] void divisionByZero() {
    automation::raise(automation::err::DivisionByZero);
}

}  // namespace

float mean(const float *x, int32_t n) {
    float m = 0;
    for (int32_t i = 0; i < n; ++i) m = static_cast<float>(m + (double(x[i]) - m) / (double(i) + 1));
    return m;
}

float variance(const float *x, int32_t n) {
    float m = mean(x, n);
    float v = 0;
    for (int32_t i = 0; i < n; ++i) {
        float d = x[i] - m;
        v = v + (d * d - v) / float(i + 1);
    }
    return v;
}

float standardDeviation(const float *x, int32_t n) {
    return std::sqrt(variance(x, n));
}

void oddPoints(const float *x, int32_t n, float *y, float fa, int32_t sel) {
    float m = mean(x, n);
    float t = fa * standardDeviation(x, n);
    auto normal = [&](int32_t i) { return std::fabs(x[i] - m) <= t; };
    for (int32_t i = 0; i < n; ++i) {
        if (sel != 0) {
            y[i] = std::fabs(x[i] - m) < t ? m : x[i];
            continue;
        }
        if (normal(i)) {
            y[i] = x[i];
            continue;
        }
        y[i] = m;
        int32_t reach = std::min(i, n - 1 - i);
        for (int32_t j = 1; j <= reach; ++j) {
            if (normal(i - j)) {
                y[i] = x[i - j];
                break;
            }
            if (normal(i + j)) {
                y[i] = x[i + j];
                break;
            }
        }
    }
}

float zeroCrossRate(const float *x, int32_t n, float fs) {
    float m = mean(x, n);
    float c = 0;
    for (int32_t i = 0; i + 1 < n; ++i)
        if ((x[i + 1] - m) * (x[i] - m) < 0) c += 0.5f;
    if (fs == 0) divisionByZero();
    float seconds = float(n) / fs;
    if (seconds == 0) divisionByZero();
    return c / seconds;
}

void crossCorrelation(const float *x, int32_t lx, const float *y, int32_t ly, float *cor, int32_t lcor,
                      int32_t mode) {
    int32_t n = std::min(lx, ly);
    int32_t lags = std::min(lcor, n);
    float mx = mean(x, n), my = mean(y, n);
    for (int32_t k = 0; k < lags; ++k) {
        float d = mode == 0 ? float(n - k) : float(n);
        float s = 0;
        for (int32_t i = 0; i < n - k; ++i) s += (x[i] - mx) * (y[i + k] - my) / d;
        cor[k] = s;
    }
}

void medianFilter(const float *x, int32_t n, float *y, int32_t mLR) {
    if (mLR < 0) automation::raise(automation::err::InvalidCall, "negative half window");
    if (int64_t(2) * mLR > 32767) automation::raise(automation::err::Overflow);
    const int32_t w = 2 * mLR + 1;
    if (n <= 0) return;
    if (n < w) automation::raise(automation::err::InvalidCall, "fewer samples than the median window");
    std::vector<float> window(x, x + w), sorted(w);
    for (int32_t i = 0; i < n; ++i) {
        std::copy(window.begin() + 1, window.end(), window.begin());
        window[w - 1] = x[i];
        sorted = window;
        std::nth_element(sorted.begin(), sorted.begin() + mLR, sorted.end());
        y[i] = sorted[mLR];
    }
}

namespace {

// tan of a phase as the response evaluation defines it: im/re with fixed values for re = 0.
float phaseTangent(float im, float re) {
    if (re != 0) return im / re;
    if (im == 0) return 1.0f;
    return im > 0 ? 1e20f : -1e20f;
}

}  // namespace

void frequencyResponse(const float *a, const float *b, int32_t la, int32_t lb, float *am, float *ph,
                       int32_t lap, float f1, float f2, float fs) {
    const float twoPi = 6.2831852f;
    if (lap - 1 == 0) divisionByZero();
    float h = (f2 - f1) / float(lap - 1);
    for (int32_t i = 0; i < lap; ++i) {
        if (fs == 0) divisionByZero();
        float phi = twoPi * (f1 + h * float(i)) / fs;
        float br = b[0], bi = 0, ar = a[0], ai = 0;
        for (int32_t j = 1; j < lb; ++j) {
            br += b[j] * std::cos(float(j) * phi);
            bi -= b[j] * std::sin(float(j) * phi);
        }
        for (int32_t j = 1; j < la; ++j) {
            ar += a[j] * std::cos(float(j) * phi);
            ai -= a[j] * std::sin(float(j) * phi);
        }
        float na = ar * ar + ai * ai;
        if (na == 0) na = 1e-12f;
        am[i] = std::sqrt((br * br + bi * bi) / na);
        ph[i] = std::atan(phaseTangent(bi, br)) - std::atan(phaseTangent(ai, ar));
    }
}

void normalize(const float *x, float *y, int32_t n) {
    float m = mean(x, n);
    float s = standardDeviation(x, n);
    if (n > 0 && s == 0) divisionByZero();
    for (int32_t i = 0; i < n; ++i) y[i] = (x[i] - m) / s;
}

void zeroMean(const float *x, float *y, int32_t n) {
    float m = mean(x, n);
    for (int32_t i = 0; i < n; ++i) y[i] = x[i] - m;
}

void mirror(float *x, int32_t n, float zero) {
    for (int32_t i = 0; i < n; ++i) x[i] = zero - (x[i] - zero);
}

void reverse(float *x, int32_t n) {
    if (n > 0) std::reverse(x, x + n);
}

float peakFrequency(const float *ps, int32_t n, float df) {
    int32_t k = 0;
    for (int32_t i = 1; i < n; ++i)
        if (ps[i] > ps[k]) k = i;
    return df * float(k);
}

float meanFrequency(const float *ps, int32_t n, float df) {
    float total = 0;
    for (int32_t i = 0; i < n; ++i) total += ps[i];
    if (n > 0 && total == 0) divisionByZero();
    float f = 0;
    for (int32_t j = 0; j < n; ++j) f += (ps[j] / total) * (df * float(j));
    return f;
}

float medianFrequency(const float *ps, int32_t n, float df) {
    float total = 0;
    for (int32_t i = 0; i < n; ++i) total += ps[i];
    float half = total / 2;
    int32_t j = 0, k = n - 1;
    float run = 0;
    for (int32_t i = 0; i < n; ++i) {
        run += ps[i];
        if (run > half) {
            j = i;
            break;
        }
    }
    run = 0;
    for (int32_t i = n - 1; i >= 0; --i) {
        run += ps[i];
        if (run > half) {
            k = i;
            break;
        }
    }
    return (float(j + k) / 2) * df;
}

}  // namespace tessiq::compute

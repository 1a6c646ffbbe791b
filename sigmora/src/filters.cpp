// filters.cpp - FIR window design, Butterworth IIR design by the bilinear transform, frequency
// responses, and the eight recursive-filter slots fed one sample at a time.
#include "sigmora.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

const double kPi = 3.14159265358979323846;

// ---- FIR design ----------------------------------------------------------------------------

// sin(pi f i) / (pi i), and f at i = 0: the ideal low-pass response of band edge f.
double idealLowPass(int32_t i, double f) {
    if (i == 0) return f;
    return std::sin(kPi * f * i) / (kPi * i);
}

double idealResponse(int32_t type, int32_t i, double f1, double f2) {
    switch (type) {
        case 0: return idealLowPass(i, f2);
        case 1: return idealLowPass(i, 1.0) - idealLowPass(i, f2);
        case 2: return idealLowPass(i, f2) - idealLowPass(i, f1);
        default: return idealLowPass(i, f1) + idealLowPass(i, 1.0) - idealLowPass(i, f2);
    }
}

// ---- IIR design ----------------------------------------------------------------------------

// The section arrays of the design are 64 entries long, so the order is at most 63.
const int32_t kMaxIIROrder = 63;

struct BandGeometry {
    double alpha;   // 2 cos(pi (hi + lo) / fs) / cos(pi (hi - lo) / fs), for the band transforms
    double warped;  // prewarped edge t
};

// Maps one scaled analogue polynomial (c0, c1, c2) to z^-1 coefficients; returns the count (3 or 5).
int bilinearMap(int32_t type, const double c[3], double alpha, double out[5]) {
    const double c0 = c[0], c1 = c[1], c2 = c[2];
    switch (type) {
        case 0: out[0] = c0 + c1 + c2, out[1] = 2 * c0 - 2 * c2, out[2] = c0 - c1 + c2; return 3;
        case 1: out[0] = c0 + c1 + c2, out[1] = 2 * c2 - 2 * c0, out[2] = c0 - c1 + c2; return 3;
        case 2:
            out[0] = c0 + c1 + c2;
            out[1] = -2 * alpha * c2 - alpha * c1;
            out[2] = c2 * (alpha * alpha + 2) - 2 * c0;
            out[3] = alpha * c1 - 2 * alpha * c2;
            out[4] = c0 - c1 + c2;
            return 5;
        default:
            out[0] = c0 + c1 + c2;
            out[1] = -2 * alpha * c0 - alpha * c1;
            out[2] = c0 * (alpha * alpha + 2) - 2 * c2;
            out[3] = alpha * c1 - 2 * alpha * c0;
            out[4] = c0 - c1 + c2;
            return 5;
    }
}

// Frequency scaling: low-pass and band-pass divide by t, high-pass and band-stop multiply.
void scaleSection(int32_t type, double c[3], double t) {
    if (type == 0 || type == 2) {
        c[1] /= t;
        c[2] /= t * t;
    } else {
        c[1] *= t;
        c[2] *= t * t;
    }
}

// poly[0 .. ord] *= section[0 .. count-1], truncated after degree ord; stored as floats.
void multiplyInto(float *poly, int32_t ord, const double *section, int count) {
    float product[kMaxIIROrder + 1];
    for (int32_t i = 0; i <= ord; ++i) {
        double s = 0.0;
        for (int j = 0; j < count && j <= i; ++j) s += section[j] * poly[i - j];
        product[i] = static_cast<float>(s);
    }
    std::memcpy(poly, product, sizeof(float) * static_cast<size_t>(ord + 1));
}

// ---- Recursive-filter slots ----------------------------------------------------------------

const int32_t kSlotCount = 8;
const int32_t kHistory = 128;

// Each history is a ring of 128 values mirrored into a second copy, so the most recent value and
// the 127 before it always lie at head .. head + 127 without wrapping.
struct FilterSlot {
    float input[2 * kHistory];
    float output[2 * kHistory];
    int32_t head;
};

FilterSlot g_slots[kSlotCount];

void pushFront(float *ring, int32_t head, float v) {
    ring[head] = v;
    ring[head + kHistory] = v;
}

// Cos and sin sums of c[0 .. len-1] at angle w, in double.
void trigSums(const float *c, int32_t len, double w, double &cs, double &sn) {
    cs = 0.0;
    sn = 0.0;
    for (int32_t j = 0; j < len; ++j) {
        cs += c[j] * std::cos(j * w);
        sn += c[j] * std::sin(j * w);
    }
}

bool responseArgsOk(const float *a, const float *b, int32_t la, int32_t lb, const float *res, int32_t m) {
    return res && m >= 1 && la >= 0 && lb >= 0 && (la == 0 || a) && (lb == 0 || b);
}

}  // namespace

extern "C" {

int32_t FIRDesign(float f1, float f2, int32_t n, float *h, int32_t type) {
    if (f1 == f2 || n <= 1 || !h) return 0;
    std::fill(h, h + n, 0.0f);
    if (!(f1 >= 0.0f) || !(f2 <= 1.0f) || static_cast<uint32_t>(type) > 3u) return 0;
    const int32_t M = (n - 1) / 2;
    const double halfSpan = (n - 1) * 0.5;
    for (int32_t i = 0; i <= M; ++i) {
        const double w = 0.54 + 0.46 * std::cos(kPi * i / halfSpan);
        const float c = static_cast<float>(w * idealResponse(type, i, f1, f2));
        h[M + i] = c;
        h[M - i] = c;
    }
    return 1;
}

int32_t FIRFreqResponse(const float *h, int32_t n, float *H, int32_t m) {
    if (!h || !H || n < 1 || m < 1) return 0;
    for (int32_t k = 0; k < m; ++k) {
        double c = 0.0, s = 0.0;
        for (int32_t j = 0; j < n; ++j) {
            const double theta = 6.2831852 * j * k / (2.0 * m);
            c += h[j] * std::cos(theta);
            s += h[j] * std::sin(theta);
        }
        H[k] = static_cast<float>(std::sqrt(c * c + s * s));
    }
    return 1;
}

int32_t IIRFDesign(float f1, float f2, float fs, int32_t ord, float *a, float *b, int32_t type) {
    const float h1 = f1 * 0.5f, h2 = f2 * 0.5f;
    if (h1 == h2 || !a || !b || ord < 0 || ord > kMaxIIROrder || static_cast<uint32_t>(type) > 3u) return 0;
    if (!std::isfinite(h1) || !std::isfinite(h2) || !std::isfinite(fs) || !(fs > 0.0f)) return 0;
    const double lo = std::min(h1, h2), hi = std::max(h1, h2);
    const bool band = type >= 2;
    BandGeometry g;
    g.alpha = 2.0 * std::cos(kPi * (hi + lo) / fs) / std::cos(kPi * (hi - lo) / fs);
    g.warped = std::tan(kPi * (band ? hi - lo : hi) / fs);
    const int32_t sections = band ? ord / 4 : ord / 2;
    const int32_t N = 2 * sections;

    // Designed in local section arrays; the caller's arrays are written only on success.
    float num[kMaxIIROrder + 1] = {}, den[kMaxIIROrder + 1] = {};
    num[0] = den[0] = 1.0f;
    for (int32_t k = 0; k < sections; ++k) {
        double nc[3] = {1.0, 0.0, 0.0};
        double dc[3] = {1.0, 2.0 * std::sin(kPi * (2 * k + 1) / (2.0 * N)), 1.0};
        scaleSection(type, nc, g.warped);
        scaleSection(type, dc, g.warped);
        double nz[5], dz[5];
        const int count = bilinearMap(type, nc, g.alpha, nz);
        bilinearMap(type, dc, g.alpha, dz);
        multiplyInto(num, ord, nz, count);
        multiplyInto(den, ord, dz, count);
    }
    const float a0 = den[0];
    if (!std::isfinite(a0) || a0 == 0.0f) return 0;
    for (int32_t i = 0; i <= ord; ++i) {
        num[i] /= a0;
        den[i] /= a0;
        if (!std::isfinite(num[i]) || !std::isfinite(den[i])) return 0;
    }
    std::memcpy(a, den, sizeof(float) * static_cast<size_t>(ord + 1));
    std::memcpy(b, num, sizeof(float) * static_cast<size_t>(ord + 1));
    return 1;
}

int16_t AMFreqRes(const float *a, const float *b, int32_t la, int32_t lb, float *res, int32_t m) {
    if (!responseArgsOk(a, b, la, lb, res, m)) return 0;
    for (int32_t k = 0; k < m; ++k) {
        const double w = 2.0 * kPi * k / (2.0 * m);
        double ca, sa, cb, sb;
        trigSums(a, la, w, ca, sa);
        trigSums(b, lb, w, cb, sb);
        const double den = std::max(std::sqrt(ca * ca + sa * sa), 1e-12);
        res[k] = static_cast<float>(std::sqrt(cb * cb + sb * sb) / den);
    }
    return 1;
}

int16_t PHFreqRes(const float *a, const float *b, int32_t la, int32_t lb, float *res, int32_t m) {
    if (!responseArgsOk(a, b, la, lb, res, m)) return 0;
    for (int32_t k = 0; k < m; ++k) {
        const double w = 2.0 * kPi * k / (2.0 * m);
        double ca, sa, cb, sb;
        trigSums(a, la, w, ca, sa);
        trigSums(b, lb, w, cb, sb);
        const double phaseB = std::atan(-sb / (cb == 0.0 ? 1e-12 : cb));
        const double phaseA = std::atan(-sa / (ca == 0.0 ? 1e-12 : ca));
        res[k] = static_cast<float>(phaseB - phaseA);
    }
    return 1;
}

float SignalToLinearSys(const float *a, int32_t la, const float *b, int32_t lb, float x, int32_t init,
                        int32_t index) {
    if (index < 0 || index >= kSlotCount) return 0.0f;
    FilterSlot &slot = g_slots[index];
    if (init == 0) {
        std::fill(slot.input, slot.input + 2 * kHistory, x);
        std::fill(slot.output, slot.output + 2 * kHistory, x);
        slot.head = 0;
        return x;
    }
    if (la < 0 || la > kHistory || lb < 0 || lb > kHistory || (la > 1 && !a) || (lb > 0 && !b)) return 0.0f;
    const int32_t head = slot.head == 0 ? kHistory - 1 : slot.head - 1;
    slot.head = head;
    pushFront(slot.input, head, x);
    const float *in = slot.input + head, *out = slot.output + head;
    double A = 0.0, F = 0.0;
    for (int32_t k = 0; k < lb; ++k) A += static_cast<double>(b[k]) * in[k];
    for (int32_t k = 1; k < la; ++k) F += static_cast<double>(a[k]) * out[k];
    if (std::fabs(F) < 1e-6) F = 1e-6;
    const float y = static_cast<float>(A - F);
    pushFront(slot.output, head, y);
    return y;
}

}  // extern "C"

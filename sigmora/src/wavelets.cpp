// wavelets.cpp - Daubechies orthonormal wavelet transforms with periodic boundaries.
//
// One filter step maps w[0..m) (m a power of two) to m/2 smooth values followed by m/2 detail
// values; the pyramid repeats it on the smooth half. Every running sum is kept as a float and
// each product is added with a single rounding (fused multiply-add), so results do not depend
// on the code path: the vector kernels below give the same bits as the plain loops.
#include "sigmora.h"

#include <immintrin.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>

namespace {

// Scaling (low-pass) filters of Daubechies' extremal-phase orthonormal wavelets with 2 to 10
// vanishing moments, largest taps first. Values from the spectral factorisation of Daubechies'
// polynomial (roots inside the unit circle), normalised to sum sqrt(2), rounded to float.
constexpr float kD4[4] = {0.48296291314453416f, 0.83651630373780794f, 0.22414386804201339f,
                          -0.12940952255126037f};
constexpr float kD6[6] = {0.33267055295008263f,  0.80689150931109255f,   0.45987750211849154f,
                          -0.13501102001025458f, -0.085441273882026658f, 0.035226291885709533f};
constexpr float kD8[8] = {0.23037781330889651f,   0.71484657055291567f,  0.63088076792985892f,
                          -0.027983769416859854f, -0.18703481171909309f, 0.030841381835560764f,
                          0.032883011666885197f,  -0.010597401785069032f};
constexpr float kD10[10] = {0.16010239797419293f,  0.60382926979718965f,    0.72430852843777294f,
                            0.13842814590132074f,  -0.24229488706638203f,   -0.032244869584638375f,
                            0.077571493840045719f, -0.0062414902127982744f, -0.012580751999081999f,
                            0.0033357252854737712f};
constexpr float kD12[12] = {0.11154074335010947f,    0.49462389039845306f,   0.75113390802109536f,
                            0.31525035170919763f,    -0.22626469396543983f,  -0.12976686756726194f,
                            0.097501605587323043f,   0.027522865530305727f,  -0.03158203931748603f,
                            0.00055384220116149613f, 0.0047772575109455108f, -0.0010773010853084796f};
constexpr float kD14[14] = {0.077852054085009184f,   0.39653931948191729f,   0.72913209084623509f,
                            0.46978228740519312f,    -0.14390600392856498f,  -0.22403618499387498f,
                            0.071309219266830259f,   0.080612609151083078f,  -0.038029936935014413f,
                            -0.016574541630666881f,  0.01255099855609984f,   0.00042957797292136651f,
                            -0.0018016407040474908f, 0.00035371379997452024f};
constexpr float kD16[16] = {
    0.054415842243104008f,   0.31287159091429995f,     0.67563073629728976f,    0.58535468365420673f,
    -0.015829105256349306f,  -0.28401554296154691f,    0.00047248457391328279f, 0.12874742662047847f,
    -0.017369301001807547f,  -0.044088253930794755f,   0.013981027917398282f,   0.0087460940474057766f,
    -0.0048703529934515741f, -0.00039174037337694705f, 0.00067544940645056933f, -0.00011747678412476953f};
constexpr float kD18[18] = {0.038077947363878345f,   0.24383467461259034f,     0.60482312369011115f,
                            0.65728807805130052f,    0.13319738582500756f,     -0.29327378327917492f,
                            -0.096840783222976456f,  0.14854074933810638f,     0.03072568147933338f,
                            -0.067632829061329974f,  0.00025094711483145197f,  0.022361662123679096f,
                            -0.0047232047577513972f, -0.0042815036824634303f,  0.0018476468830562265f,
                            0.00023038576352319597f, -0.00025196318894271012f, 3.9347320316271603e-05f};
constexpr float kD20[20] = {
    0.026670057900555554f,    0.1881768000776915f,      0.52720118893172563f,    0.68845903945360354f,
    0.28117234366057747f,     -0.24984642432731538f,    -0.19594627437737705f,   0.12736934033579325f,
    0.093057364603572348f,    -0.071394147166397082f,   -0.029457536821875813f,  0.033212674059341002f,
    0.0036065535669561697f,   -0.010733175483330575f,   0.0013953517470529011f,  0.0019924052951850561f,
    -0.00068585669495971162f, -0.00011646685512928545f, 9.3588670320069592e-05f, -1.3264202894521244e-05f};

const float *lowPassTable(int32_t ncof) {
    switch (ncof) {
        case 4: return kD4;
        case 6: return kD6;
        case 8: return kD8;
        case 10: return kD10;
        case 12: return kD12;
        case 14: return kD14;
        case 16: return kD16;
        case 18: return kD18;
        case 20: return kD20;
        default: return nullptr;
    }
}

constexpr int kMaxTaps = 20;

// The filter selected for the whole process; 0 while none is.
std::atomic<int32_t> g_ncof{0};

struct Filter {
    int ncof = 0;
    float c[kMaxTaps];  // low-pass taps
    float r[kMaxTaps];  // high-pass taps: r[ncof - 1 - k] = (-1)^(k+1) c[k]
    int off[kMaxTaps];  // tap k of output o reads element 2 * o + off[k] (periodically)
};

bool currentFilter(Filter &f) {
    f.ncof = g_ncof.load(std::memory_order_relaxed);
    const float *c = lowPassTable(f.ncof);
    if (!c) return false;
    for (int k = 0; k < f.ncof; ++k) {
        f.c[k] = c[k];
        f.r[f.ncof - 1 - k] = (k % 2 == 0) ? -c[k] : c[k];
        f.off[k] = k + 2 - f.ncof / 2;
    }
    return true;
}

// floor(d / 2) and d mod 2 for negative offsets too.
int halfFloor(int d) {
    return d >= 0 ? d / 2 : -((1 - d) / 2);
}
int parityOf(int d) {
    return d & 1;
}

size_t wrapIndex(int64_t i, size_t n) {
    int64_t r = i % static_cast<int64_t>(n);
    return static_cast<size_t>(r < 0 ? r + static_cast<int64_t>(n) : r);
}

// ---- kernels: plain loops and an AVX2/FMA version chosen at run time ----------------------

using DualFmaFn = void (*)(float *lo, float *hi, const float *s, float c, float r, size_t n);
using PairFmaFn = void (*)(float *acc, const float *a, const float *d, float c, float r, size_t n);

// lo += c * s and hi += r * s, element by element.
void dualFmaPlain(float *lo, float *hi, const float *s, float c, float r, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        lo[i] = std::fmaf(c, s[i], lo[i]);
        hi[i] = std::fmaf(r, s[i], hi[i]);
    }
}

// acc += c * a, then acc += r * d, element by element.
void pairFmaPlain(float *acc, const float *a, const float *d, float c, float r, size_t n) {
    for (size_t i = 0; i < n; ++i) acc[i] = std::fmaf(r, d[i], std::fmaf(c, a[i], acc[i]));
}

__attribute__((target("avx2,fma"))) void dualFmaAvx2(float *lo, float *hi, const float *s, float c, float r,
                                                     size_t n) {
    const __m256 vc = _mm256_set1_ps(c), vr = _mm256_set1_ps(r);
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        __m256 x = _mm256_loadu_ps(s + i);
        _mm256_storeu_ps(lo + i, _mm256_fmadd_ps(vc, x, _mm256_loadu_ps(lo + i)));
        _mm256_storeu_ps(hi + i, _mm256_fmadd_ps(vr, x, _mm256_loadu_ps(hi + i)));
    }
    for (; i < n; ++i) {
        lo[i] = std::fmaf(c, s[i], lo[i]);
        hi[i] = std::fmaf(r, s[i], hi[i]);
    }
}

__attribute__((target("avx2,fma"))) void pairFmaAvx2(float *acc, const float *a, const float *d, float c,
                                                     float r, size_t n) {
    const __m256 vc = _mm256_set1_ps(c), vr = _mm256_set1_ps(r);
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        __m256 t = _mm256_fmadd_ps(vc, _mm256_loadu_ps(a + i), _mm256_loadu_ps(acc + i));
        _mm256_storeu_ps(acc + i, _mm256_fmadd_ps(vr, _mm256_loadu_ps(d + i), t));
    }
    for (; i < n; ++i) acc[i] = std::fmaf(r, d[i], std::fmaf(c, a[i], acc[i]));
}

struct Kernels {
    DualFmaFn dualFma;
    PairFmaFn pairFma;
};

const Kernels &kernels() {
    static const Kernels chosen = [] {
        __builtin_cpu_init();
        if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma"))
            return Kernels{dualFmaAvx2, pairFmaAvx2};
        return Kernels{dualFmaPlain, pairFmaPlain};
    }();
    return chosen;
}

// ---- one filter step ----------------------------------------------------------------------

constexpr size_t kChunk = 512;  // outputs accumulated together, small enough to stay in cache

// Copies w's even and odd elements to `even` and `odd`, extended periodically by lpad values in
// front and rpad behind, so that the taps read contiguous runs without wrapping.
void splitEvenOdd(const float *w, size_t half, int lpad, int rpad, float *even, float *odd) {
    for (size_t q = 0; q < half; ++q) {
        even[lpad + q] = w[2 * q];
        odd[lpad + q] = w[2 * q + 1];
    }
    for (int i = 0; i < lpad; ++i) {
        size_t q = wrapIndex(static_cast<int64_t>(i) - lpad, half);
        even[i] = w[2 * q];
        odd[i] = w[2 * q + 1];
    }
    for (int i = 0; i < rpad; ++i) {
        size_t q = wrapIndex(static_cast<int64_t>(half) + i, half);
        even[lpad + half + i] = w[2 * q];
        odd[lpad + half + i] = w[2 * q + 1];
    }
}

// Forward step: smooth output o = sum over k of c[k] * w[2o + off[k]], detail likewise with r,
// summed in tap order. Needs scratch for m + 2 * kMaxTaps floats.
void forwardStep(float *w, size_t m, const Filter &f, float *scratch) {
    const size_t half = m / 2;
    const int lpad = -halfFloor(f.off[0]);
    const int rpad = halfFloor(f.off[f.ncof - 1]);
    const size_t ext = half + lpad + rpad;
    float *even = scratch, *odd = scratch + ext;
    splitEvenOdd(w, half, lpad, rpad, even, odd);
    for (size_t s = 0; s < half; s += kChunk) {
        const size_t len = std::min(kChunk, half - s);
        float *lo = w + s, *hi = w + half + s;
        std::fill(lo, lo + len, 0.0f);
        std::fill(hi, hi + len, 0.0f);
        for (int k = 0; k < f.ncof; ++k) {
            const float *src = (parityOf(f.off[k]) ? odd : even) + lpad + halfFloor(f.off[k]) + s;
            kernels().dualFma(lo, hi, src, f.c[k], f.r[k], len);
        }
    }
}

// Taps of the inverse step that reach outputs of one parity (p = 2q + parity reads smooth and
// detail value q - shift[j]), in increasing tap order.
struct ParityTaps {
    int count = 0;
    int tap[kMaxTaps];
    int shift[kMaxTaps];
};

ParityTaps parityTaps(const Filter &f, int parity) {
    ParityTaps t;
    for (int k = 0; k < f.ncof; ++k)
        if (parityOf(f.off[k]) == parity) {
            t.tap[t.count] = k;
            t.shift[t.count] = halfFloor(f.off[k]);
            ++t.count;
        }
    return t;
}

// One inverse output, summed in the order the scatter form of the step adds its terms:
// by source position o, then by tap, the smooth term before the detail term. Used near the
// ends of the block, where the sources wrap around.
float inverseOutputWrapped(size_t q, size_t half, const ParityTaps &t, const Filter &f, const float *smooth,
                           const float *detail) {
    size_t src[kMaxTaps];
    int order[kMaxTaps];
    for (int j = 0; j < t.count; ++j) {
        src[j] = wrapIndex(static_cast<int64_t>(q) - t.shift[j], half);
        order[j] = j;
    }
    std::sort(order, order + t.count,
              [&](int x, int y) { return src[x] < src[y] || (src[x] == src[y] && x < y); });
    float acc = 0.0f;
    for (int i = 0; i < t.count; ++i) {
        int j = order[i];
        acc = std::fmaf(f.c[t.tap[j]], smooth[src[j]], acc);
        acc = std::fmaf(f.r[t.tap[j]], detail[src[j]], acc);
    }
    return acc;
}

// Inverse outputs 2q + parity for q in [begin, end), where no source wraps: the sources of one
// output then come in decreasing tap order.
void inverseInterior(float *w, size_t begin, size_t end, int parity, const ParityTaps &t, const Filter &f,
                     const float *smooth, const float *detail) {
    float acc[kChunk];
    for (size_t s = begin; s < end; s += kChunk) {
        const size_t len = std::min(kChunk, end - s);
        std::fill(acc, acc + len, 0.0f);
        for (int j = t.count - 1; j >= 0; --j) {
            const int k = t.tap[j];
            kernels().pairFma(acc, smooth + s - t.shift[j], detail + s - t.shift[j], f.c[k], f.r[k], len);
        }
        for (size_t i = 0; i < len; ++i) w[2 * (s + i) + parity] = acc[i];
    }
}

// Inverse step: rebuilds w[0..m) from its smooth half and detail half. Needs scratch for m floats.
void inverseStep(float *w, size_t m, const Filter &f, float *scratch) {
    const size_t half = m / 2;
    float *smooth = scratch, *detail = scratch + half;
    std::memcpy(smooth, w, half * sizeof(float));
    std::memcpy(detail, w + half, half * sizeof(float));
    for (int parity = 0; parity < 2; ++parity) {
        const ParityTaps t = parityTaps(f, parity);
        const int64_t first = t.shift[t.count - 1];                    // lowest q with no wrap below
        const int64_t last = static_cast<int64_t>(half) + t.shift[0];  // first q that wraps above
        const size_t begin = static_cast<size_t>(std::clamp<int64_t>(first, 0, static_cast<int64_t>(half)));
        const size_t end = static_cast<size_t>(
            std::clamp<int64_t>(last, static_cast<int64_t>(begin), static_cast<int64_t>(half)));
        for (size_t q = 0; q < begin; ++q)
            w[2 * q + parity] = inverseOutputWrapped(q, half, t, f, smooth, detail);
        inverseInterior(w, begin, end, parity, t, f, smooth, detail);
        for (size_t q = end; q < half; ++q)
            w[2 * q + parity] = inverseOutputWrapped(q, half, t, f, smooth, detail);
    }
}

// ---- pyramids -----------------------------------------------------------------------------

size_t scratchFloats(size_t n) {
    return n + 2 * kMaxTaps + 8;
}

bool isPowerOfTwo(int64_t n) {
    return n > 0 && (n & (n - 1)) == 0;
}

// isign > 0: forward steps at n, n/2, ..., 4; < 0: inverse steps at 4, 8, ..., n;
// 0: forward steps at 4, 8, ..., n.
void pyramid(float *w, size_t n, int32_t isign, const Filter &f, float *scratch) {
    if (isign > 0) {
        for (size_t m = n; m >= 4; m /= 2) forwardStep(w, m, f, scratch);
        return;
    }
    for (size_t m = 4; m <= n; m *= 2) {
        if (isign < 0)
            inverseStep(w, m, f, scratch);
        else
            forwardStep(w, m, f, scratch);
    }
}

// Product of the dimension sizes, 0 if a size is not a power of two or the total is too large.
size_t totalSize(const int32_t *nn, int32_t ndim, size_t &longest) {
    const size_t limit = size_t(1) << 31;
    size_t total = 1;
    longest = 0;
    for (int32_t d = 0; d < ndim; ++d) {
        if (!isPowerOfTwo(nn[d]) || total > limit / static_cast<size_t>(nn[d])) return 0;
        total *= static_cast<size_t>(nn[d]);
        longest = std::max(longest, static_cast<size_t>(nn[d]));
    }
    return total;
}

// Transforms every line of one dimension: lines of m values spaced `stride` apart.
void transformDimension(float *a, size_t total, size_t m, size_t stride, int32_t isign, const Filter &f,
                        float *line, float *scratch) {
    const size_t block = m * stride;
    for (size_t b = 0; b < total; b += block)
        for (size_t i = 0; i < stride; ++i) {
            float *first = a + b + i;
            for (size_t j = 0; j < m; ++j) line[j] = first[j * stride];
            pyramid(line, m, isign, f, scratch);
            for (size_t j = 0; j < m; ++j) first[j * stride] = line[j];
        }
}

}  // namespace

extern "C" SIGMORA_API void DaubCoef(int32_t n) {
    if (lowPassTable(n)) g_ncof.store(n, std::memory_order_relaxed);
}

extern "C" SIGMORA_API void DaubDWT1D(float *a, int32_t n, int32_t isign) {
    Filter f;
    if (!a || n < 4 || !isPowerOfTwo(n) || !currentFilter(f)) return;
    std::unique_ptr<float[]> scratch(new (std::nothrow) float[scratchFloats(static_cast<size_t>(n))]);
    if (scratch) pyramid(a + 1, static_cast<size_t>(n), isign, f, scratch.get());
}

extern "C" SIGMORA_API void DaubDWTnD(float *a, const int32_t *nn, int32_t ndim, int32_t isign) {
    Filter f;
    size_t longest = 0;
    if (!a || !nn || ndim < 1 || !currentFilter(f)) return;
    const size_t total = totalSize(nn, ndim, longest);
    if (total == 0 || longest < 4) return;
    std::unique_ptr<float[]> work(new (std::nothrow) float[longest + scratchFloats(longest)]);
    if (!work) return;
    const int32_t direction = isign >= 0 ? 1 : -1;
    size_t stride = 1;
    for (int32_t d = 0; d < ndim; ++d) {
        const size_t m = static_cast<size_t>(nn[d]);
        if (m >= 4) transformDimension(a, total, m, stride, direction, f, work.get(), work.get() + longest);
        stride *= m;
    }
}

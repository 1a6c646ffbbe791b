// AVX2/FMA kernels of the matrix routines: the blocked product and the row updates of the
// elimination methods.
//
// The product packs a panel of kKc rows by 16 columns of b (zero-padded at the right edge)
// into a contiguous block that stays in the first-level cache, then sweeps six rows of a at a
// time over it, keeping the 6 x 16 block of c in twelve vector registers.
//
// Every header is included before the target switch, so no inline code shared with the
// baseline build is compiled for AVX2 here.
#include <immintrin.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "matrix_kernels.h"

#pragma GCC target("avx2,fma")

namespace mathcore::detail {
namespace {

constexpr std::int64_t kMr = 6;
constexpr std::int64_t kNr = 16;
constexpr std::int64_t kKc = 256;

// c block (rows x cols, cols <= 16) = (acc ? c : 0) + a block (rows x kc) * packed panel.
template <int R>
void micro_kernel(const float *a, std::int64_t lda, const float *panel, std::int64_t kc, float *c,
                  std::int64_t ldc, std::int64_t cols, bool acc) {
    __m256 c0[R], c1[R];
#pragma GCC unroll 6
    for (int r = 0; r < R; ++r) c0[r] = c1[r] = _mm256_setzero_ps();
    for (std::int64_t l = 0; l < kc; ++l) {
        const __m256 b0 = _mm256_load_ps(panel + l * kNr);
        const __m256 b1 = _mm256_load_ps(panel + l * kNr + 8);
#pragma GCC unroll 6
        for (int r = 0; r < R; ++r) {
            const __m256 x = _mm256_broadcast_ss(a + r * lda + l);
            c0[r] = _mm256_fmadd_ps(x, b0, c0[r]);
            c1[r] = _mm256_fmadd_ps(x, b1, c1[r]);
        }
    }
    if (cols == kNr) {
#pragma GCC unroll 6
        for (int r = 0; r < R; ++r) {
            float *row = c + r * ldc;
            if (acc) {
                c0[r] = _mm256_add_ps(c0[r], _mm256_loadu_ps(row));
                c1[r] = _mm256_add_ps(c1[r], _mm256_loadu_ps(row + 8));
            }
            _mm256_storeu_ps(row, c0[r]);
            _mm256_storeu_ps(row + 8, c1[r]);
        }
        return;
    }
    alignas(32) float tmp[kNr];
    for (int r = 0; r < R; ++r) {
        _mm256_store_ps(tmp, c0[r]);
        _mm256_store_ps(tmp + 8, c1[r]);
        float *row = c + r * ldc;
        for (std::int64_t j = 0; j < cols; ++j) row[j] = acc ? row[j] + tmp[j] : tmp[j];
    }
}

void run_kernel(std::int64_t rows, const float *a, std::int64_t lda, const float *panel, std::int64_t kc,
                float *c, std::int64_t ldc, std::int64_t cols, bool acc) {
    switch (rows) {
        case 6: micro_kernel<6>(a, lda, panel, kc, c, ldc, cols, acc); break;
        case 5: micro_kernel<5>(a, lda, panel, kc, c, ldc, cols, acc); break;
        case 4: micro_kernel<4>(a, lda, panel, kc, c, ldc, cols, acc); break;
        case 3: micro_kernel<3>(a, lda, panel, kc, c, ldc, cols, acc); break;
        case 2: micro_kernel<2>(a, lda, panel, kc, c, ldc, cols, acc); break;
        default: micro_kernel<1>(a, lda, panel, kc, c, ldc, cols, acc); break;
    }
}

void pack_panel(const float *b, std::int64_t ldb, std::int64_t kc, std::int64_t cols, float *panel) {
    for (std::int64_t l = 0; l < kc; ++l) {
        const float *src = b + l * ldb;
        float *dst = panel + l * kNr;
        if (cols == kNr) {
            _mm256_store_ps(dst, _mm256_loadu_ps(src));
            _mm256_store_ps(dst + 8, _mm256_loadu_ps(src + 8));
        } else {
            for (std::int64_t j = 0; j < kNr; ++j) dst[j] = j < cols ? src[j] : 0.0f;
        }
    }
}

}  // namespace

void matmul_avx2(const float *a, const float *b, std::int64_t m, std::int64_t n, std::int64_t k, float *c) {
    // One panel buffer per call (16 KiB, 32-byte aligned); without it the portable loop runs.
    float *panel = static_cast<float *>(std::aligned_alloc(32, sizeof(float) * kKc * kNr));
    if (!panel) {
        matmul_portable(a, b, m, n, k, c);
        return;
    }
    for (std::int64_t pc = 0; pc < n; pc += kKc) {
        const std::int64_t kc = n - pc < kKc ? n - pc : kKc;
        for (std::int64_t jr = 0; jr < k; jr += kNr) {
            const std::int64_t cols = k - jr < kNr ? k - jr : kNr;
            pack_panel(b + pc * k + jr, k, kc, cols, panel);
            for (std::int64_t ir = 0; ir < m; ir += kMr) {
                const std::int64_t rows = m - ir < kMr ? m - ir : kMr;
                run_kernel(rows, a + ir * n + pc, n, panel, kc, c + ir * k + jr, k, cols, pc > 0);
            }
        }
    }
    std::free(panel);
}

void axpy_avx2(float *y, const float *x, float f, std::size_t len) {
    const __m256 vf = _mm256_set1_ps(f);
    std::size_t j = 0;
    for (; j + 8 <= len; j += 8)
        _mm256_storeu_ps(y + j, _mm256_fnmadd_ps(vf, _mm256_loadu_ps(x + j), _mm256_loadu_ps(y + j)));
    for (; j < len; ++j) y[j] -= f * x[j];
}

float axpy_max_avx2(float *y, const float *x, float f, std::size_t len) {
    const __m256 vf = _mm256_set1_ps(f);
    const __m256 mask = _mm256_castsi256_ps(_mm256_set1_epi32(0x7fffffff));
    __m256 vmax = _mm256_setzero_ps();
    std::size_t j = 0;
    for (; j + 8 <= len; j += 8) {
        const __m256 v = _mm256_fnmadd_ps(vf, _mm256_loadu_ps(x + j), _mm256_loadu_ps(y + j));
        _mm256_storeu_ps(y + j, v);
        // A NaN may be dropped here; callers check their results for finiteness.
        vmax = _mm256_max_ps(vmax, _mm256_and_ps(v, mask));
    }
    alignas(32) float lanes[8];
    _mm256_store_ps(lanes, vmax);
    float best = 0.0f;
    for (float v : lanes)
        if (!(v <= best)) best = v;
    for (; j < len; ++j) {
        y[j] -= f * x[j];
        const float v = y[j] < 0.0f ? -y[j] : y[j];
        if (!(v <= best)) best = v;
    }
    return best;
}

}  // namespace mathcore::detail

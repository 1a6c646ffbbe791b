// Matrix product: size checks, the kernel dispatcher and the portable kernels.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <limits>

#include "mathcore/matrix.h"
#include "matrix_kernels.h"

namespace mathcore {

namespace {

constexpr std::int64_t kMaxElements = std::numeric_limits<std::int32_t>::max();

}  // namespace

SizeCheck check_size(std::int32_t rows, std::int32_t cols) {
    if (rows < 1 || cols < 1) return SizeCheck::Invalid;
    if (static_cast<std::int64_t>(rows) * cols > kMaxElements) return SizeCheck::TooLarge;
    return SizeCheck::Ok;
}

SizeCheck check_sizes(std::int32_t m, std::int32_t n, std::int32_t k) {
    if (m < 1 || n < 1 || k < 1) return SizeCheck::Invalid;
    for (SizeCheck s : {check_size(m, n), check_size(n, k), check_size(m, k)})
        if (s != SizeCheck::Ok) return s;
    return SizeCheck::Ok;
}

bool matmul_path_available(MatMulPath path) {
    return path != MatMulPath::Avx2 || detail::matrix_cpu_has_avx2_fma();
}

void matmul(const float *a, const float *b, std::int32_t m, std::int32_t n, std::int32_t k, float *c,
            MatMulPath path) {
    if (path == MatMulPath::Best)
        path = detail::matrix_cpu_has_avx2_fma() ? MatMulPath::Avx2 : MatMulPath::Portable;
    if (path == MatMulPath::Avx2 && detail::matrix_cpu_has_avx2_fma())
        detail::matmul_avx2(a, b, m, n, k, c);
    else
        detail::matmul_portable(a, b, m, n, k, c);
}

void row_update(float *y, const float *x, float f, std::size_t len) {
    static const detail::AxpyFn fn = detail::best_axpy();
    fn(y, x, f, len);
}

float row_update_max(float *y, const float *x, float f, std::size_t len) {
    static const detail::AxpyMaxFn fn = detail::best_axpy_max();
    return fn(y, x, f, len);
}

void matmul_textbook(const float *a, const float *b, std::int32_t m, std::int32_t n, std::int32_t k,
                     float *c) {
    for (std::int64_t i = 0; i < m; ++i)
        for (std::int64_t j = 0; j < k; ++j) {
            float s = 0.0f;
            for (std::int64_t l = 0; l < n; ++l) s += a[i * n + l] * b[l * k + j];
            c[i * k + j] = s;
        }
}

namespace detail {

bool matrix_cpu_has_avx2_fma() {
    static const bool has = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    return has;
}

// Row i of c accumulates a(i, l) * row l of b; blocks of rows of b keep them in cache.
void matmul_portable(const float *a, const float *b, std::int64_t m, std::int64_t n, std::int64_t k,
                     float *c) {
    constexpr std::int64_t kBlock = 128;
    for (std::int64_t i = 0; i < m * k; ++i) c[i] = 0.0f;
    for (std::int64_t l0 = 0; l0 < n; l0 += kBlock) {
        const std::int64_t l1 = n - l0 < kBlock ? n : l0 + kBlock;
        for (std::int64_t i = 0; i < m; ++i) {
            float *ci = c + i * k;
            for (std::int64_t l = l0; l < l1; ++l) {
                const float f = a[i * n + l];
                const float *bl = b + l * k;
                for (std::int64_t j = 0; j < k; ++j) ci[j] += f * bl[j];
            }
        }
    }
}

void axpy_portable(float *y, const float *x, float f, std::size_t len) {
    for (std::size_t j = 0; j < len; ++j) y[j] -= f * x[j];
}

float axpy_max_portable(float *y, const float *x, float f, std::size_t len) {
    float best = 0.0f;
    for (std::size_t j = 0; j < len; ++j) {
        y[j] -= f * x[j];
        const float v = y[j] < 0.0f ? -y[j] : y[j];
        if (v > best) best = v;
    }
    return best;
}

AxpyFn best_axpy() {
    return matrix_cpu_has_avx2_fma() ? axpy_avx2 : axpy_portable;
}
AxpyMaxFn best_axpy_max() {
    return matrix_cpu_has_avx2_fma() ? axpy_max_avx2 : axpy_max_portable;
}

}  // namespace detail
}  // namespace mathcore

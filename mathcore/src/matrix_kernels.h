// Pieces shared by the matrix routines (matrix*.cpp) and their processor-specific kernels.
// Declarations only: the AVX2 translation unit is compiled for another instruction set and
// must not share inline code with the rest of the library.
#ifndef MATHCORE_MATRIX_KERNELS_H
#define MATHCORE_MATRIX_KERNELS_H

#include <cstddef>
#include <cstdint>

namespace mathcore::detail {

// c (m x k) = a (m x n) * b (n x k), all row-major; sizes at least 1.
void matmul_portable(const float *a, const float *b, std::int64_t m, std::int64_t n, std::int64_t k,
                     float *c);
void matmul_avx2(const float *a, const float *b, std::int64_t m, std::int64_t n, std::int64_t k, float *c);

// y[j] -= f * x[j] for j < len.
void axpy_portable(float *y, const float *x, float f, std::size_t len);
void axpy_avx2(float *y, const float *x, float f, std::size_t len);
// The same, returning the largest magnitude of the new y[j] (0 for len 0).
float axpy_max_portable(float *y, const float *x, float f, std::size_t len);
float axpy_max_avx2(float *y, const float *x, float f, std::size_t len);

// True when the processor runs AVX2 and FMA.
bool matrix_cpu_has_avx2_fma();

// The row update kernels the elimination routines use (the fastest available).
using AxpyFn = void (*)(float *, const float *, float, std::size_t);
using AxpyMaxFn = float (*)(float *, const float *, float, std::size_t);
AxpyFn best_axpy();
AxpyMaxFn best_axpy_max();

}  // namespace mathcore::detail

#endif

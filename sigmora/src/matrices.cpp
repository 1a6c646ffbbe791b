// Matrices, regression and fitting: the signal library's own entry points to the shared matrix
// code, with this library's differences (MatDet and MatEigenVector work on the caller's matrix,
// eps is an argument, EQRoots runs in double precision, no error code).
#include "sigmora.h"

#include "mathcore/matrix.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <new>

namespace {

bool sizeOk(int32_t rows, int32_t cols) {
    return mathcore::check_size(rows, cols) == mathcore::SizeCheck::Ok;
}

std::size_t count(int32_t rows, int32_t cols) {
    return static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols);
}

template <class T>
std::unique_ptr<T[]> workArray(std::size_t n) {
    return std::unique_ptr<T[]>(new (std::nothrow) T[n]());
}

}  // namespace

extern "C" SIGMORA_API void MatMulMat(const float *a, const float *b, int32_t m, int32_t n, int32_t k,
                                      float *c) {
    if (!a || !b || !c || mathcore::check_sizes(m, n, k) != mathcore::SizeCheck::Ok) return;
    mathcore::matmul(a, b, m, n, k, c);
}

extern "C" SIGMORA_API int32_t MatInv(float *a, int32_t n) {
    if (!a || !sizeOk(n, n)) return 0;
    auto prow = workArray<int32_t>(static_cast<std::size_t>(n));
    auto pcol = workArray<int32_t>(static_cast<std::size_t>(n));
    auto work = workArray<float>(count(n, n));
    if (!prow || !pcol || !work) return 0;
    std::memcpy(work.get(), a, sizeof(float) * count(n, n));
    if (!mathcore::invert_inplace(work.get(), n, prow.get(), pcol.get())) return 0;
    std::memcpy(a, work.get(), sizeof(float) * count(n, n));
    return 1;
}

extern "C" SIGMORA_API double MatDet(float *a, int32_t n) {
    if (!a || !sizeOk(n, n)) return 0.0;
    return mathcore::determinant_inplace(a, n);
}

extern "C" SIGMORA_API int32_t MatTranspose(float *a, int32_t rows, int32_t cols) {
    if (!a || !sizeOk(rows, cols)) return 0;
    auto work = workArray<float>(count(rows, cols));
    if (!work) return 0;
    mathcore::transpose(a, rows, cols, work.get());
    return 1;
}

extern "C" SIGMORA_API int32_t MatEigenVector(float *a, int32_t n, float *v, float eps,
                                              int32_t maxRotations) {
    if (!a || !v || !sizeOk(n, n) || !std::isfinite(mathcore::max_abs(a, count(n, n)))) return 0;
    return mathcore::jacobi_eigen(a, n, v, eps, maxRotations) ? 1 : 0;
}

extern "C" SIGMORA_API int32_t Cholesky(float *a, int32_t n, int32_t m, float *d) {
    if (!a || !d || !sizeOk(n, n) || !sizeOk(n, m)) return 0;
    return mathcore::cholesky_solve(a, n, d, m) ? 1 : 0;
}

extern "C" SIGMORA_API int32_t EQRoots(const double *a, int32_t n, double *re, double *im, double eps,
                                       int32_t maxIterations) {
    if (!a || !re || !im || !sizeOk(n, n)) return 0;
    for (int64_t i = 0; i <= n; ++i)
        if (!std::isfinite(a[i]) || (i == n && a[i] == 0.0)) return 0;
    const std::size_t nn = count(n, n);
    auto h = workArray<double>(nn + 2 * static_cast<std::size_t>(n));
    if (!h) return 0;
    double *wr = h.get() + nn;
    double *wi = wr + n;
    // The companion matrix is already of upper Hessenberg form.
    for (int64_t j = 0; j < n; ++j) h[j] = -a[n - 1 - j] / a[n];
    for (int64_t k = 0; k + 1 < n; ++k) h[(k + 1) * n + k] = 1.0;
    if (!mathcore::hqr_eigen(h.get(), n, wr, wi, eps, maxIterations < 0 ? 0 : maxIterations)) return 0;
    std::memcpy(re, wr, sizeof(double) * static_cast<std::size_t>(n));
    std::memcpy(im, wi, sizeof(double) * static_cast<std::size_t>(n));
    return 1;
}

extern "C" SIGMORA_API void SLRegress(const float *x, const float *y, int32_t n, float *ab, float *dt) {
    if (!x || !y || !ab || !dt || n < 1) return;
    mathcore::line_regression(x, y, n, ab, dt);
}

extern "C" SIGMORA_API int32_t MVLineRegress(const float *x, const float *y, int32_t m, int32_t n, float *a,
                                             float *dt, float *v) {
    if (!x || !y || !a || !dt || !v || !sizeOk(m, n) || m == INT32_MAX) return 0;
    return mathcore::multiple_regression(x, y, m, n, a, dt, v) == mathcore::FitStatus::Ok ? 1 : 0;
}

extern "C" SIGMORA_API int32_t CurveFit(const float *x, const float *y, int32_t n, float *a, int16_t m,
                                        float *dt) {
    if (!x || !y || !a || !dt || n < 1 || m < 1) return 0;
    return mathcore::least_squares_fit(x, y, n, a, m, dt) == mathcore::FitStatus::Ok ? 1 : 0;
}

extern "C" SIGMORA_API int32_t ChebyFit(const float *x, const float *y, int32_t n, float *a, int32_t m) {
    if (!x || !y || !a || n < 2 || m < 1) return 0;
    return mathcore::minimax_fit(x, y, n, a, m, mathcore::ChebyStart::Consecutive) == mathcore::FitStatus::Ok
               ? 1
               : 0;
}

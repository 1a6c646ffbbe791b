// Matrix routines: product, inverse, determinant, transpose and eigenvalues.
#include "matrix_internal.h"

#include "numora.h"
#include "state.h"

#include "mathcore/matrix.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace numora {

namespace {

using Index = std::int64_t;

std::size_t count(std::int32_t rows, std::int32_t cols) {
    return static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols);
}

}  // namespace

bool checkSize(std::int32_t rows, std::int32_t cols) {
    switch (mathcore::check_size(rows, cols)) {
        case mathcore::SizeCheck::Ok: return true;
        case mathcore::SizeCheck::Invalid: setError(NUMORA_ERR_OTHER); return false;
        case mathcore::SizeCheck::TooLarge: break;
    }
    setError(NUMORA_ERR_ALLOC);
    return false;
}

std::int32_t invertMatrix(float *a, std::int32_t n) {
    auto prow = workArray<std::int32_t>(static_cast<std::size_t>(n));
    auto pcol = workArray<std::int32_t>(static_cast<std::size_t>(n));
    auto work = workArray<float>(count(n, n));
    if (!prow || !pcol || !work) {
        setError(NUMORA_ERR_ALLOC);
        return 0;
    }
    std::memcpy(work.get(), a, sizeof(float) * count(n, n));
    if (!mathcore::invert_inplace(work.get(), n, prow.get(), pcol.get())) {
        setError(NUMORA_ERR_SINGULAR);
        return 0;
    }
    std::memcpy(a, work.get(), sizeof(float) * count(n, n));
    return 1;
}

std::int32_t eigenvaluesGeneral(const float *a, std::int32_t n, float *re, float *im,
                                std::int32_t maxIterations) {
    const std::size_t nn = count(n, n);
    auto h = workArray<double>(nn + 2 * static_cast<std::size_t>(n));
    if (!h) {
        setError(NUMORA_ERR_ALLOC);
        return 0;
    }
    double *wr = h.get() + nn;
    double *wi = wr + n;
    for (std::size_t i = 0; i < nn; ++i) h[i] = a[i];
    for (Index i = 0; i < n; ++i) wr[i] = wi[i] = std::numeric_limits<double>::quiet_NaN();
    mathcore::hessenberg(h.get(), n);
    const bool ok =
        mathcore::hqr_eigen(h.get(), n, wr, wi, precision(), maxIterations < 0 ? 0 : maxIterations);
    // The eigenvalues found are stored (on failure those that split off before the limit).
    for (Index i = 0; i < n; ++i)
        if (!std::isnan(wr[i])) {
            re[i] = static_cast<float>(wr[i]);
            im[i] = static_cast<float>(wi[i]);
        }
    if (!ok) {
        setError(NUMORA_ERR_ITERATIONS);
        return 0;
    }
    return 1;
}

}  // namespace numora

using numora::checkSize;
using numora::setError;

extern "C" NUMORA_API void MatMultiply(const float *a, const float *b, int32_t m, int32_t n, int32_t k,
                                       float *c) {
    if (!a || !b || !c) {
        setError(NUMORA_ERR_NULL);
        return;
    }
    if (!checkSize(m, n) || !checkSize(n, k) || !checkSize(m, k)) return;
    mathcore::matmul(a, b, m, n, k, c);
}

extern "C" NUMORA_API int32_t MatInv(float *a, int32_t n) {
    if (!a) {
        setError(NUMORA_ERR_NULL);
        return 0;
    }
    if (!checkSize(n, n)) return 0;
    return numora::invertMatrix(a, n);
}

extern "C" NUMORA_API float MatDet(const float *a, int32_t n) {
    if (!a) {
        setError(NUMORA_ERR_NULL);
        return 0.0f;
    }
    if (!checkSize(n, n)) return 0.0f;
    auto work = numora::workArray<float>(static_cast<std::size_t>(n) * static_cast<std::size_t>(n));
    if (!work) {
        setError(NUMORA_ERR_ALLOC);
        return 0.0f;
    }
    std::memcpy(work.get(), a, sizeof(float) * static_cast<std::size_t>(n) * static_cast<std::size_t>(n));
    return static_cast<float>(mathcore::determinant_inplace(work.get(), n));
}

extern "C" NUMORA_API int32_t MatTrans(float *a, int32_t rows, int32_t cols) {
    if (!a) {
        setError(NUMORA_ERR_NULL);
        return 0;
    }
    if (!checkSize(rows, cols)) return 0;
    auto work = numora::workArray<float>(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols));
    if (!work) {
        setError(NUMORA_ERR_ALLOC);
        return 0;
    }
    mathcore::transpose(a, rows, cols, work.get());
    return 1;
}

extern "C" NUMORA_API int32_t MatEigenVV(const float *a, int32_t n, float *values, float *vectors,
                                         int32_t maxRotations) {
    if (!a || !values || !vectors) {
        setError(NUMORA_ERR_NULL);
        return -1;
    }
    if (!checkSize(n, n)) return -1;
    const std::size_t nn = static_cast<std::size_t>(n) * static_cast<std::size_t>(n);
    if (!std::isfinite(mathcore::max_abs(a, nn))) {  // no rotation can converge on NaN or infinity
        setError(NUMORA_ERR_OTHER);
        return -1;
    }
    auto work = numora::workArray<float>(nn);
    if (!work) {
        setError(NUMORA_ERR_ALLOC);
        return -1;
    }
    std::memcpy(work.get(), a, sizeof(float) * nn);
    const bool converged = mathcore::jacobi_eigen(work.get(), n, vectors, numora::precision(), maxRotations);
    for (std::size_t j = 0; j < static_cast<std::size_t>(n); ++j)
        values[j] = work[j * static_cast<std::size_t>(n) + j];
    if (!converged) {
        setError(NUMORA_ERR_ITERATIONS);
        return -2;
    }
    return 1;
}

extern "C" NUMORA_API int32_t MatEigenV(const float *a, int32_t n, float *re, float *im,
                                        int32_t maxIterations) {
    if (!a || !re || !im) {
        setError(NUMORA_ERR_NULL);
        return 0;
    }
    if (!checkSize(n, n)) return 0;
    return numora::eigenvaluesGeneral(a, n, re, im, maxIterations);
}

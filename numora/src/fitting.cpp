// Curve fitting and regression: orthogonal-polynomial least squares, minimax polynomial,
// straight-line and multiple linear regression.
#include "numora.h"
#include "state.h"

#include "mathcore/matrix.h"

using numora::setError;

namespace {

// Null pointers give code 3, counts below 1 code 10.
bool checkArgs(bool pointersOk, bool countsOk) {
    if (!pointersOk) {
        setError(NUMORA_ERR_NULL);
        return false;
    }
    if (!countsOk) {
        setError(NUMORA_ERR_OTHER);
        return false;
    }
    return true;
}

int32_t report(mathcore::FitStatus status) {
    switch (status) {
        case mathcore::FitStatus::Ok: return 1;
        case mathcore::FitStatus::NoMemory: setError(NUMORA_ERR_ALLOC); return 0;
        case mathcore::FitStatus::Degenerate: break;
    }
    setError(NUMORA_ERR_SINGULAR);
    return 0;
}

}  // namespace

extern "C" NUMORA_API int32_t LSCurveFit(const float *x, const float *y, int32_t n, float *a, int32_t m,
                                         float *dt) {
    if (!checkArgs(x && y && a && dt, n >= 1 && m >= 1)) return 0;
    return report(mathcore::least_squares_fit(x, y, n, a, m, dt));
}

extern "C" NUMORA_API int32_t ChebyFit(const float *x, const float *y, int32_t n, float *a, int32_t m) {
    if (!checkArgs(x && y && a, n >= 2 && m >= 1)) return 0;
    const mathcore::FitStatus status = mathcore::minimax_fit(x, y, n, a, m, mathcore::ChebyStart::Spaced);
    if (status == mathcore::FitStatus::Degenerate) {  // coinciding reference abscissas
        setError(NUMORA_ERR_OTHER);
        return 0;
    }
    return report(status);
}

extern "C" NUMORA_API int32_t LiRegress1d(const float *x, const float *y, int32_t n, float *ab, float *dt) {
    if (!checkArgs(x && y && ab && dt, n >= 1)) return 0;
    return report(mathcore::line_regression(x, y, n, ab, dt));
}

extern "C" NUMORA_API int32_t MLiRegress(const float *x, const float *y, int32_t m, int32_t n, float *a,
                                         float *dt, float *v) {
    if (!checkArgs(x && y && a && dt && v, m >= 1 && n >= 1)) return 0;
    if (mathcore::check_size(m, n) != mathcore::SizeCheck::Ok || m == INT32_MAX) {
        setError(NUMORA_ERR_ALLOC);
        return 0;
    }
    return report(mathcore::multiple_regression(x, y, m, n, a, dt, v));
}

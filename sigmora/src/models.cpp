// models.cpp - autoregressive model estimation (Burg, Yule-Walker, recursive least squares), the
// LMS and RLS adaptive filters kept in library slots, a full-pivoting linear solver and the
// Simpson integral of sampled data.
#include "sigmora.h"

#include "models_internal.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

namespace {

template <class T>
std::unique_ptr<T[]> workArray(size_t n) {
    return std::unique_ptr<T[]>(new (std::nothrow) T[n == 0 ? 1 : n]());
}

// Mean of x by the running update m += (x - m) / k, in double.
double runningMean(const float *x, int32_t n) {
    double m = 0.0;
    for (int32_t i = 0; i < n; ++i) m += (static_cast<double>(x[i]) - m) / (i + 1);
    return m;
}

// ---- Burg ----------------------------------------------------------------------------------

struct BurgResult {
    int32_t order;
    double error;
};

// Burg recursion over orders 1 .. top on the mean-removed signal xc, keeping the coefficients of
// the order reported (the best criterion, or the last). f and b carry the forward and backward
// errors of the previous order; the updates equal the direct sums of the prediction errors.
BurgResult burgOrders(const float *xc, int32_t n, int32_t top, bool autoOrder, double E0, double *cur,
                      double *prev, double *kept) {
    std::vector<double> f(xc, xc + n), b(xc, xc + n);
    BurgResult best{0, E0};
    double E = E0, bestCriterion = 0.0;
    for (int32_t m = 1; m <= top; ++m) {
        double num = 0.0, den = 0.0;
        for (int32_t i = m; i < n; ++i) {
            num += f[i] * b[i - 1];
            den += f[i] * f[i] + b[i - 1] * b[i - 1];
        }
        const double k = den == 0.0 ? 0.0 : 2.0 * num / den;
        std::copy(cur, cur + m, prev);
        cur[m] = k;
        for (int32_t j = 1; j < m; ++j) cur[j] = prev[j] - k * prev[m - j];
        // New errors, from the end so b[i - 1] still holds the previous order.
        for (int32_t i = n - 1; i >= m; --i) {
            const double fi = f[i], bi = b[i - 1];
            f[i] = fi - k * bi;
            b[i] = bi - k * fi;
        }
        E *= 1.0 - k * k;
        const double criterion = std::log(E + 1e-6) + static_cast<double>(m) / (n - 1);
        if (!autoOrder || m == 1 || criterion < bestCriterion) {
            bestCriterion = criterion;
            best = BurgResult{m, E};
            std::copy(cur, cur + m + 1, kept);
        }
    }
    return best;
}

// ---- Autocorrelation and the linear solver ---------------------------------------------------

// Biased autocorrelation of the mean-removed x at lags 0 .. lags - 1, each running-mean update
// stored as a float (the same sums as the spectral family's AutoCorr). lags <= n.
bool autocorrelation(const float *x, int32_t n, float *r, int32_t lags) {
    auto xc = workArray<float>(static_cast<size_t>(n));
    if (!xc) return false;
    const double mean = runningMean(x, n);
    for (int32_t j = 0; j < n; ++j) xc[j] = static_cast<float>(x[j] - mean);
    std::fill(r, r + lags, 0.0f);
    for (int32_t j = 0; j < n; ++j) {
        const double xj = xc[j], div = static_cast<double>(j) + 1.0;
        const int32_t inside = std::min(n - j, lags);
        for (int32_t m = 0; m < inside; ++m) r[m] = static_cast<float>(r[m] + (xc[j + m] * xj - r[m]) / div);
        for (int32_t m = inside; m < lags; ++m) r[m] = static_cast<float>(r[m] - r[m] / div);
    }
    return true;
}

const int32_t kMaxSolve = 49;

// Gauss-Jordan elimination with full pivoting on double copies; false for a zero pivot.
bool gaussJordan(const float *A, const float *b, float *x, int32_t n) {
    double a[kMaxSolve][kMaxSolve], rhs[kMaxSolve];
    bool used[kMaxSolve] = {};
    for (int32_t i = 0; i < n; ++i) {
        rhs[i] = b[i];
        for (int32_t j = 0; j < n; ++j) a[i][j] = A[i * n + j];
    }
    for (int32_t step = 0; step < n; ++step) {
        double big = 0.0;
        int32_t prow = -1, pcol = -1;
        for (int32_t i = 0; i < n; ++i) {
            if (used[i]) continue;
            for (int32_t j = 0; j < n; ++j)
                if (!used[j] && std::fabs(a[i][j]) > big) {
                    big = std::fabs(a[i][j]);
                    prow = i;
                    pcol = j;
                }
        }
        if (pcol < 0 || !std::isfinite(big)) return false;
        used[pcol] = true;
        if (prow != pcol) {
            std::swap(a[prow], a[pcol]);
            std::swap(rhs[prow], rhs[pcol]);
        }
        const double inv = 1.0 / a[pcol][pcol];
        a[pcol][pcol] = 1.0;
        for (int32_t j = 0; j < n; ++j) a[pcol][j] *= inv;
        rhs[pcol] *= inv;
        for (int32_t i = 0; i < n; ++i) {
            if (i == pcol) continue;
            const double f = a[i][pcol];
            a[i][pcol] = 0.0;
            for (int32_t j = 0; j < n; ++j) a[i][j] -= a[pcol][j] * f;
            rhs[i] -= rhs[pcol] * f;
        }
    }
    // Row swaps put every unknown's value in its own row; the column order needs no undoing.
    for (int32_t i = 0; i < n; ++i) x[i] = static_cast<float>(rhs[i]);
    return true;
}

// ---- Adaptive filter slots -----------------------------------------------------------------

const int32_t kAdaptiveSlots = 8;
const int32_t kSlotHistory = 42;
const int32_t kMaxTaps = kSlotHistory - 1;

struct LmsSlot {
    float history[kSlotHistory];
};

struct RlsSlot {
    float history[kSlotHistory];
    double gain[kSlotHistory];
    bool initialised;
};

LmsSlot g_lms[kAdaptiveSlots];
RlsSlot g_rls[kAdaptiveSlots];

// The inverse-correlation matrix P shared by every RLS slot, with room for two scratch rows.
struct RlsMatrix {
    std::unique_ptr<double[]> block;
    int32_t n = 0;
};
RlsMatrix g_rlsMatrix;

bool slotArgsOk(const float *w, int32_t nW, int32_t index) {
    return w && nW >= 1 && nW <= kMaxTaps && index >= 0 && index < kAdaptiveSlots;
}

// h[k] = h[k - 1] for k = nW .. 1, then h[0] = xin.
void shiftIn(float *h, int32_t nW, float xin) {
    for (int32_t k = nW; k >= 1; --k) h[k] = h[k - 1];
    h[0] = xin;
}

double dotHistory(const float *h, const float *w, int32_t nW) {
    double y = 0.0;
    for (int32_t k = 0; k < nW; ++k) y += static_cast<double>(h[k]) * w[k];
    return y;
}

float rlsInit(float *w, int32_t nW, int32_t index) {
    auto block = workArray<double>(3 * static_cast<size_t>(nW) * nW);
    if (!block) return 0.0f;
    RlsSlot &slot = g_rls[index];
    std::fill(slot.history, slot.history + kSlotHistory, 0.0f);
    std::fill(slot.gain, slot.gain + kSlotHistory, 0.0);
    std::fill(w, w + nW, 0.0f);
    for (int32_t i = 0; i < nW; ++i) block[static_cast<size_t>(i) * nW + i] = 1000000.0;
    g_rlsMatrix.block = std::move(block);
    g_rlsMatrix.n = nW;
    slot.initialised = true;
    return 1.0f;
}

float rlsUpdate(float d, float xin, float *w, int32_t nW, double lambda, int32_t index) {
    RlsSlot &slot = g_rls[index];
    if (!slot.initialised || !g_rlsMatrix.block || g_rlsMatrix.n != nW || !(lambda > 0.0) ||
        !std::isfinite(lambda))
        return 0.0f;
    double *P = g_rlsMatrix.block.get();
    double *row = P + static_cast<size_t>(nW) * nW;  // scratch: u_row = h^T P
    float *h = slot.history;
    double *g = slot.gain;
    shiftIn(h, nW, xin);
    const double y = dotHistory(h, w, nW);
    const float e = static_cast<float>(d - y);
    double s = 0.0;
    for (int32_t j = 0; j < nW; ++j) {
        double uj = 0.0;
        for (int32_t i = 0; i < nW; ++i) uj += h[i] * P[static_cast<size_t>(i) * nW + j];
        row[j] = uj;
        s += uj * h[j];
    }
    const double delta = s + lambda;
    const double invDelta = delta == 0.0 ? 1e8 : 1.0 / delta;
    for (int32_t i = 0; i < nW; ++i) {
        double pi = 0.0;
        for (int32_t j = 0; j < nW; ++j) pi += P[static_cast<size_t>(i) * nW + j] * h[j];
        g[i] = pi * invDelta;
    }
    for (int32_t k = 0; k < nW; ++k) w[k] = static_cast<float>(w[k] + e * g[k]);
    for (int32_t i = 0; i < nW; ++i)
        for (int32_t j = 0; j < nW; ++j) {
            double &p = P[static_cast<size_t>(i) * nW + j];
            p = (p - g[i] * row[j]) / lambda;
        }
    return static_cast<float>(y);
}

void rlsRelease() {
    g_rlsMatrix.block.reset();
    g_rlsMatrix.n = 0;
}

}  // namespace

namespace sigmora::models {

double integrate_vector(const float *y, double dx, int64_t t1, int64_t t2) {
    double tail = 0.0;
    int64_t end = t2;
    if ((t2 - t1) % 2 != 0) {
        tail = (y[t2 - 3] + 3.0 * y[t2 - 2] + 3.0 * y[t2 - 1] + y[t2]) * dx * 0.375;
        end = t2 - 3;
    }
    double body = 0.0;
    for (int64_t k = t1; k + 2 <= end; k += 2) body += y[k] + 4.0 * y[k + 1] + y[k + 2];
    return body * dx / 3.0 + tail;
}

}  // namespace sigmora::models

extern "C" {

int16_t BurgAR(const float *x, int32_t n, int32_t p, int32_t *ord, float *err, float *a, int32_t autoOrder) {
    if (!x || !ord || !err || !a || n < 1 || p < 0) return 0;
    const double m0 = runningMean(x, n);
    double E0 = 0.0;
    for (int32_t i = 0; i < n; ++i) {
        const double d = x[i] - m0;
        E0 += (d * d - E0) / (i + 1);
    }
    if (E0 == 0.0) return 0;
    // Orders from n on have no error terms (k = 0): their coefficients are zero and their
    // criterion only grows, so the recursion stops at n - 1 and the rest is padding.
    const int32_t top = std::min(p, n - 1);
    auto xc = workArray<float>(static_cast<size_t>(n));
    auto coef = workArray<double>(3 * (static_cast<size_t>(top) + 1));
    if (!xc || !coef) return 0;
    for (int32_t i = 0; i < n; ++i) xc[i] = static_cast<float>(x[i] - m0);
    double *cur = coef.get(), *prev = cur + top + 1, *kept = prev + top + 1;
    BurgResult r = burgOrders(xc.get(), n, top, autoOrder != 0, E0, cur, prev, kept);
    if (!autoOrder) r.order = p;
    a[0] = 1.0f;
    for (int32_t k = 1; k <= r.order; ++k) a[k] = k <= top ? static_cast<float>(-kept[k]) : 0.0f;
    *ord = r.order;
    *err = static_cast<float>(r.error);
    return 1;
}

int32_t LQSolution(const float *A, const float *b, float *x, int32_t n) {
    if (!A || !b || !x || n < 1 || n > kMaxSolve) return 0;
    return gaussJordan(A, b, x, n) ? 1 : 0;
}

int32_t LSARcoef(const float *x, int32_t n, float *a, int32_t p) {
    if (!x || !a || p < 1 || p > kMaxSolve || p + 1 > n) return 0;
    float r[kMaxSolve + 1];
    if (!autocorrelation(x, n, r, p + 1)) return 0;
    float R[kMaxSolve * kMaxSolve], rhs[kMaxSolve];
    for (int32_t i = 0; i < p; ++i) {
        rhs[i] = -r[i + 1];
        for (int32_t j = 0; j < p; ++j) R[i * p + j] = r[i > j ? i - j : j - i];
    }
    return gaussJordan(R, rhs, a, p) ? 1 : 0;
}

int32_t RLSARcoef(const float *x, int32_t n, float *a, int32_t p) {
    if (!x || !a || n < 1 || p < 1 || p > kMaxTaps) return 0;
    auto xc = workArray<float>(static_cast<size_t>(n));
    if (!xc) return 0;
    if (rlsInit(a, p, 0) < 0.8f) return 0;
    const double mean = runningMean(x, n);
    for (int32_t i = 0; i < n; ++i) xc[i] = static_cast<float>(x[i] - mean);
    for (int32_t i = 1; i < n; ++i) rlsUpdate(xc[i], xc[i - 1], a, p, 1.0, 0);
    for (int32_t k = 0; k < p; ++k) a[k] = -a[k];
    rlsRelease();
    return 1;
}

float LMSCalc(float d, float xin, float *w, int32_t nW, float mu, int32_t init, int32_t index) {
    if (!slotArgsOk(w, nW, index)) return 0.0f;
    float *h = g_lms[index].history;
    if (init == 1) {
        std::fill(h, h + kSlotHistory, 0.0f);
        std::fill(w, w + nW, 0.0f);
        return 0.0f;
    }
    shiftIn(h, nW, xin);
    const double y = dotHistory(h, w, nW);
    const float e = static_cast<float>(d - y);
    for (int32_t k = 0; k < nW; ++k) w[k] = w[k] + e * mu * h[k];
    return static_cast<float>(y);
}

float RLSCalc(float d, float xin, float *w, int32_t nW, float u, int32_t mode, int32_t index) {
    if (!slotArgsOk(w, nW, index)) return 0.0f;
    if (mode == 1) return rlsInit(w, nW, index);
    if (mode == 2) {
        rlsRelease();
        return 0.0f;
    }
    return rlsUpdate(d, xin, w, nW, 1.0 - static_cast<double>(u), index);
}

float IntegrateVector(const float *y, float dx, int32_t t1, int32_t t2) {
    if (!y || t1 < 0 || int64_t(t2) - t1 < 2) return 0.0f;
    return static_cast<float>(sigmora::models::integrate_vector(y, dx, t1, t2));
}

}  // extern "C"

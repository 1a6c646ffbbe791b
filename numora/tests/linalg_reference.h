// linalg_reference.h - double-precision reference linear algebra for the matrix, linear-system
// and fitting tests (independent of the library's code: partial pivoting, plain loops).
#ifndef NUMORA_TESTS_LINALG_REFERENCE_H
#define NUMORA_TESTS_LINALG_REFERENCE_H

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <random>
#include <utility>
#include <vector>

namespace ref {

using Matrix = std::vector<double>;  // row-major

inline std::vector<float> toFloat(const Matrix &a) {
    return std::vector<float>(a.begin(), a.end());
}
inline Matrix toDouble(const std::vector<float> &a) {
    return Matrix(a.begin(), a.end());
}

// Uniform random entries in [-1, 1].
inline std::vector<float> randomMatrix(std::size_t rows, std::size_t cols, unsigned seed) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<float> d(-1.0f, 1.0f);
    std::vector<float> a(rows * cols);
    for (float &v : a) v = d(gen);
    return a;
}

// Random n x n matrix with a dominant diagonal (well conditioned).
inline std::vector<float> wellConditioned(std::size_t n, unsigned seed) {
    std::vector<float> a = randomMatrix(n, n, seed);
    for (std::size_t i = 0; i < n; ++i) a[i * n + i] += static_cast<float>(n) * (i % 2 ? -1.0f : 1.0f);
    return a;
}

inline Matrix multiply(const Matrix &a, const Matrix &b, std::size_t m, std::size_t n, std::size_t k) {
    Matrix c(m * k, 0.0);
    for (std::size_t i = 0; i < m; ++i)
        for (std::size_t l = 0; l < n; ++l)
            for (std::size_t j = 0; j < k; ++j) c[i * k + j] += a[i * n + l] * b[l * k + j];
    return c;
}

// Inverse by Gauss-Jordan with partial pivoting; empty when singular.
inline Matrix inverse(Matrix a, std::size_t n) {
    Matrix inv(n * n, 0.0);
    for (std::size_t i = 0; i < n; ++i) inv[i * n + i] = 1.0;
    for (std::size_t k = 0; k < n; ++k) {
        std::size_t p = k;
        for (std::size_t i = k + 1; i < n; ++i)
            if (std::fabs(a[i * n + k]) > std::fabs(a[p * n + k])) p = i;
        if (a[p * n + k] == 0.0) return {};
        for (std::size_t j = 0; j < n; ++j) {
            std::swap(a[k * n + j], a[p * n + j]);
            std::swap(inv[k * n + j], inv[p * n + j]);
        }
        const double d = a[k * n + k];
        for (std::size_t j = 0; j < n; ++j) {
            a[k * n + j] /= d;
            inv[k * n + j] /= d;
        }
        for (std::size_t i = 0; i < n; ++i) {
            if (i == k) continue;
            const double f = a[i * n + k];
            for (std::size_t j = 0; j < n; ++j) {
                a[i * n + j] -= f * a[k * n + j];
                inv[i * n + j] -= f * inv[k * n + j];
            }
        }
    }
    return inv;
}

// Determinant by elimination with partial pivoting.
inline double determinant(Matrix a, std::size_t n) {
    double det = 1.0;
    for (std::size_t k = 0; k < n; ++k) {
        std::size_t p = k;
        for (std::size_t i = k + 1; i < n; ++i)
            if (std::fabs(a[i * n + k]) > std::fabs(a[p * n + k])) p = i;
        if (a[p * n + k] == 0.0) return 0.0;
        if (p != k) {
            for (std::size_t j = 0; j < n; ++j) std::swap(a[k * n + j], a[p * n + j]);
            det = -det;
        }
        det *= a[k * n + k];
        for (std::size_t i = k + 1; i < n; ++i) {
            const double f = a[i * n + k] / a[k * n + k];
            for (std::size_t j = k; j < n; ++j) a[i * n + j] -= f * a[k * n + j];
        }
    }
    return det;
}

// Largest absolute row sum.
inline double normInf(const Matrix &a, std::size_t rows, std::size_t cols) {
    double best = 0.0;
    for (std::size_t i = 0; i < rows; ++i) {
        double s = 0.0;
        for (std::size_t j = 0; j < cols; ++j) s += std::fabs(a[i * cols + j]);
        best = std::max(best, s);
    }
    return best;
}

// Condition number in the infinity norm.
inline double condition(const Matrix &a, std::size_t n) {
    const Matrix inv = inverse(a, n);
    return inv.empty() ? INFINITY : normInf(a, n, n) * normInf(inv, n, n);
}

// Solution of the normal equations A^T A x = A^T b (least squares reference).
inline std::vector<double> leastSquares(const Matrix &a, const std::vector<double> &b, std::size_t m,
                                        std::size_t n) {
    Matrix ata(n * n, 0.0);
    std::vector<double> atb(n, 0.0);
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j < n; ++j)
            for (std::size_t k = 0; k < m; ++k) ata[i * n + j] += a[k * n + i] * a[k * n + j];
        for (std::size_t k = 0; k < m; ++k) atb[i] += a[k * n + i] * b[k];
    }
    const Matrix inv = inverse(ata, n);
    std::vector<double> x(n, 0.0);
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = 0; j < n; ++j) x[i] += inv[i * n + j] * atb[j];
    return x;
}

constexpr double kFloatEps = 1.1920928955078125e-07;

}  // namespace ref

#endif

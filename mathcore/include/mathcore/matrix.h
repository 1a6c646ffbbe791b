// Dense matrix routines shared by the signal and the numerics library: row-major float
// matrices (element (i, j) of an r x c matrix at i * c + j), sizes as 32-bit counts.
//
// Negligibility: a pivot counts as zero when its magnitude is not above
// kPivotTolerance * n * (largest magnitude of the input matrix), so the test follows the
// scale of the matrix and single-precision rounding (an absolute test such as
// |d| + 1 == 1 in double would let nearly singular matrices "succeed" with garbage and call
// tiny but well-conditioned ones singular).
#ifndef MATHCORE_MATRIX_H
#define MATHCORE_MATRIX_H

#include <cstddef>
#include <cstdint>

namespace mathcore {

// Relative pivot tolerance per unit of matrix size (a few single-precision epsilons).
constexpr double kPivotTolerance = 4.0 * 1.1920928955078125e-07;

// Size checks: Ok; Invalid (a count below 1); TooLarge (an element count above 2^31 - 1).
enum class SizeCheck { Ok, Invalid, TooLarge };
SizeCheck check_size(std::int32_t rows, std::int32_t cols);
SizeCheck check_sizes(std::int32_t m, std::int32_t n, std::int32_t k);  // m x n, n x k, m x k

// Which multiply kernel runs: Best picks the fastest the processor supports.
enum class MatMulPath { Best, Portable, Avx2 };
bool matmul_path_available(MatMulPath path);

// c (m x k) = a (m x n) * b (n x k); sizes must pass check_sizes; c must not overlap a or b.
// Blocked and vectorised; equal to the textbook sum up to rounding.
void matmul(const float *a, const float *b, std::int32_t m, std::int32_t n, std::int32_t k, float *c,
            MatMulPath path = MatMulPath::Best);
// The textbook triple loop, each partial sum stored as a float (the reference of the tests).
void matmul_textbook(const float *a, const float *b, std::int32_t m, std::int32_t n, std::int32_t k,
                     float *c);

// Row updates of the elimination methods with the fastest kernel: y[j] -= f * x[j] for
// j < len; the second form returns the largest magnitude of the new y[j].
void row_update(float *y, const float *x, float f, std::size_t len);
float row_update_max(float *y, const float *x, float f, std::size_t len);

// Largest magnitude of n elements (0 for none; NaN counts as infinitely large).
float max_abs(const float *a, std::size_t n);

// Gauss-Jordan inversion in place with full pivoting (largest magnitude of the remaining
// submatrix, first of equal values in row-major order); prow and pcol receive each step's
// pivot row and column (n entries each). False when a pivot is negligible or the result is
// not finite: a is then partly transformed.
bool invert_inplace(float *a, std::int32_t n, std::int32_t *prow, std::int32_t *pcol);

// Determinant by Gaussian elimination with full pivoting, performed in place (a is left in
// its eliminated form). A negligible pivot gives 0. n = 1 gives a[0].
double determinant_inplace(float *a, std::int32_t n);

// Transposes the rows x cols matrix a through the scratch array t (rows * cols elements):
// a then holds the cols x rows transpose.
void transpose(float *a, std::int32_t rows, std::int32_t cols, float *t);

// Jacobi rotations on the symmetric n x n matrix a, in place: each step zeroes the largest
// off-diagonal element (first in row-major order). v is set to the identity and receives the
// eigenvectors as columns; the eigenvalues end on the diagonal of a. Returns true when every
// off-diagonal magnitude is below eps, false when more than max_rotations were needed.
bool jacobi_eigen(float *a, std::int32_t n, float *v, float eps, std::int64_t max_rotations);

// Reduction of the n x n matrix a to upper Hessenberg form by stabilised elementary
// similarity transformations (largest pivot of each column), in place.
void hessenberg(double *a, std::int32_t n);

// Eigenvalues of the upper Hessenberg matrix h (destroyed) by the double-shift QR iteration,
// with exceptional shifts after every 10 iterations that made no split. A subdiagonal
// element splits off when it is at most eps times its two diagonal neighbours. Eigenvalues
// are stored from the highest index down as they split off; complex pairs as conjugates
// with the positive imaginary part at the higher index. Returns false when an eigenvalue
// needed more than max_iterations iterations (those found so far are stored).
bool hqr_eigen(double *h, std::int32_t n, double *re, double *im, double eps, std::int32_t max_iterations);

// Solves a * x = d for the m right-hand-side columns of d (n x m, in place) by the Cholesky
// factorisation a = U^T U (U over the upper triangle of a). False, with d untouched, when a
// pivot is not positive or negligible (a not positive definite).
bool cholesky_solve(float *a, std::int32_t n, float *d, std::int32_t m);

// ---- Curve fitting and regression ----------------------------------------------------------
// Data are float arrays of n points (n >= 1 unless stated); sums run in double precision.

// Outcome of the routines that can fail on their data.
enum class FitStatus { Ok, NoMemory, Degenerate };

// Least squares polynomial through orthogonal polynomials: a[k] (k < m, m >= 1) coefficients
// of p(x) = sum a[k] (x - mean x)^k; the count becomes min(m, n, 20) and a[0..m-1] are cleared
// first. Terms whose orthogonal polynomial vanishes on the data (fewer distinct x than terms)
// stay 0. dt[0] = sum r^2, dt[1] = sum |r|, dt[2] = max |r| with r = p(x) - y.
FitStatus least_squares_fit(const float *x, const float *y, std::int32_t n, float *a, std::int32_t m,
                            float *dt);

// Where the exchange method starts: references at multiples of (n-1)/m, or consecutive ones
// from there.
enum class ChebyStart { Spaced, Consecutive };

// Minimax polynomial of degree m-1 by the single-point exchange method: a[0..m-1] power-series
// coefficients, a[m] the maximum deviation (negative when the deviation stopped growing,
// positive when no point exceeded it). m becomes n - 1 when m >= n, then 19 when m >= 20.
// x need not be sorted. Degenerate when m < 1, n < 2, an x is not finite or the reference
// abscissas coincide
// (nothing written then).
FitStatus minimax_fit(const float *x, const float *y, std::int32_t n, float *a, std::int32_t m,
                      ChebyStart start);

// Straight line y = ab[0] + ab[1] x by least squares and its statistics (dt[0] residual sum of
// squares, dt[1] its root mean, dt[2] regression sum of squares, dt[3..5] max, min and mean
// absolute residual). Degenerate (nothing written) when all x are equal.
FitStatus line_regression(const float *x, const float *y, std::int32_t n, float *ab, float *dt);

// Multiple linear regression of y on the m rows of x (m x n): a[0..m-1] coefficients, a[m] the
// constant, through the normal equations solved by Cholesky; dt[0] = q, dt[1] = sqrt(q/n),
// dt[2] = multiple correlation, dt[3] regression sum of squares; v[j] partial correlation
// sqrt(1 - q/qj), qj the residual sum without the term of variable j. Degenerate (nothing
// written) when the normal matrix is not positive definite.
FitStatus multiple_regression(const float *x, const float *y, std::int32_t m, std::int32_t n, float *a,
                              float *dt, float *v);

}  // namespace mathcore

#endif

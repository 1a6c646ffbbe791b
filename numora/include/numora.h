/* numora.h - the numerics library: flat C interface over caller-owned single-precision arrays.
 *
 * Conventions shared by every export:
 *  - matrices are row-major float arrays (element (i, j) of an r x c matrix at i * c + j);
 *  - a routine that fails returns its documented failure value and sets the process-wide error
 *    code (1 to 11, below); it never clears the code, so clear it with setErrorCode(0) first;
 *  - nothing is printed, nothing aborts; the only message (the compressed-data error) goes
 *    through the replaceable message hook.
 */
#ifndef NUMORA_H
#define NUMORA_H

#include <stdint.h>

#if defined(NUMORA_BUILD)
#define NUMORA_API __attribute__((visibility("default")))
#else
#define NUMORA_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Library state and error notes ------------------------------------------------------- */

/* Error codes of getErrorCode and getErrorNote. */
enum NumoraError {
    NUMORA_OK = 0,              /* "No error" */
    NUMORA_ERR_ALLOC = 1,       /* "Allocate memory error" */
    NUMORA_ERR_LOCK = 2,        /* "Lock memory error" */
    NUMORA_ERR_NULL = 3,        /* "NULL pointer" */
    NUMORA_ERR_NO_INTEGRAND = 4,/* "Integral function is not given" */
    NUMORA_ERR_SINGULAR = 5,    /* "Sigular matrix" */
    NUMORA_ERR_QR = 6,          /* "QR decomposition error" */
    NUMORA_ERR_NOT_SQUARE = 7,  /* "Square matrix required" */
    NUMORA_ERR_SVD = 8,         /* "Sigular decomposition error" */
    NUMORA_ERR_ITERATIONS = 9,  /* "Over maximiun iterative number" */
    NUMORA_ERR_OTHER = 10,      /* "Other unknown error" */
    NUMORA_ERR_OPEN_FILE = 11   /* "Open file error." */
};

/* Last error code set by a routine of the library (0 at load). */
NUMORA_API int32_t getErrorCode(void);
/* Stores code without validation; returns the code held before. */
NUMORA_API int32_t setErrorCode(int32_t code);
/* Tolerance of iterative and adaptive routines (1.0e-6 at load). */
NUMORA_API float getPrecision(void);
/* Stores the tolerance without validation (zero and negative accepted); returns the one before. */
NUMORA_API float setPrecision(float precision);
/* Selects the notes' language: 0 English, any other value Chinese (GBK); returns the one before. */
NUMORA_API int32_t setLanguage(int32_t language);
/* Current language selector (0 at load). */
NUMORA_API int32_t getLanguage(void);
/* Copies the note of code 0..11 with its terminating zero into buffer (at least 31 bytes) and
 * returns its length in bytes without the zero; 0 and no write for other codes or a NULL buffer. */
NUMORA_API int32_t getErrorNote(int32_t code, char *buffer);

/* Receives a message of the library: text and caption, both NUL-terminated. */
typedef void (*NumoraMessageHook)(const char *text, const char *caption);
/* Installs the hook that shows library messages (NULL: the default, "caption: text" on standard
 * error); returns the hook in force before, NULL when that was the default. */
NUMORA_API NumoraMessageHook SetNumoraMessageHook(NumoraMessageHook hook);

/* ---- Linear systems, polynomial roots and linear programming ------------------------------- */

/* Common to these and the matrix and fitting routines: a NULL pointer fails with code 3, a
 * count below 1 with code 10, a size of more than 2^31 - 1 elements with code 1; nothing is
 * written then. Pivots are negligible at 4 single-precision epsilons times the size times the
 * largest magnitude of the matrix. */
/* Solves A x = b (A m x n, b m, x n; A and b unchanged) by selector 1 Gauss-Jordan, 4 sparse
 * Gauss-Jordan (skips zeros), 6 least squares by Householder QR, 7 minimum-norm least squares by
 * SVD (singular values below max(m, n) epsilons of the largest count as zero), other values
 * Gaussian elimination; all eliminations use full pivoting. 1 solved, x written; 0 failure:
 * code 7 (m != n, or m < n for 6 and 7), 5 singular, 6 QR (rank deficient), 8 SVD, 1 memory. */
NUMORA_API int32_t SolutionEQs(const float *a, int32_t m, int32_t n, const float *b, float *x, int32_t selector);
/* All n roots of sum a[i] z^i (a[n] != 0) as re[k] + i im[k] (conjugate pairs, positive
 * imaginary part at the higher index) through the companion matrix's eigenvalues, with at most
 * maxIterations QR steps per root. 1 found; 0 failure: code 9 iteration limit, 10 a[n] zero or a
 * coefficient not finite, 1 memory. */
NUMORA_API int32_t EQRoots(const float *a, int32_t n, float *re, float *im, int32_t maxIterations);
/* Minimises sum c[j] x[j] subject to A x = b, x >= 0 (A m x (m+n), its last m columns the
 * slack basis with b >= 0) by the revised simplex method with Bland's rule. 1 optimum: x[0..n-1]
 * the variables, x[n] the objective, x[n+1..m+n-1] the other slacks; 0 failure, x untouched:
 * code 5 singular basis, 10 unbounded or infeasible start, 9 iteration limit, 1 memory. */
NUMORA_API int32_t LinearProgram(const float *a, const float *b, const float *c, int32_t m, int32_t n, float *x);

/* ---- Integration, interpolation and derivatives -------------------------------------------- */

/* ---- Matrix routines ----------------------------------------------------------------------- */

/* c (m x k) = a (m x n) b (n x k); c must not overlap a or b. Bad sizes: nothing written. */
NUMORA_API void MatMultiply(const float *a, const float *b, int32_t m, int32_t n, int32_t k, float *c);
/* Inverts the n x n matrix a in place (Gauss-Jordan, full pivoting). 1 inverted; 0 failure with
 * a unchanged: code 5 singular or nearly so, 1 memory. */
NUMORA_API int32_t MatInv(float *a, int32_t n);
/* Determinant of the n x n matrix a (unchanged) by Gaussian elimination with full pivoting;
 * 0.0 when singular or nearly so (no code), or on failure (code 1 memory). */
NUMORA_API float MatDet(const float *a, int32_t n);
/* Transposes the rows x cols matrix a in place (a then holds cols x rows). 1 done; 0 failure,
 * a unchanged (code 1 memory). */
NUMORA_API int32_t MatTrans(float *a, int32_t rows, int32_t cols);
/* Eigenvalues (values, n, diagonal order) and eigenvectors (columns of vectors, n x n) of the
 * symmetric n x n matrix a (unchanged) by Jacobi rotations until every off-diagonal magnitude is
 * below the precision. 1 converged; -1 failure, outputs untouched (code 1 memory, 10 an element
 * not finite); -2 more than maxRotations rotations needed (code 9; outputs hold the current state). */
NUMORA_API int32_t MatEigenVV(const float *a, int32_t n, float *values, float *vectors, int32_t maxRotations);
/* Eigenvalues re[k] + i im[k] of the n x n matrix a (unchanged) by Hessenberg reduction and the
 * double-shift QR iteration (exceptional shifts, precision as deflation tolerance), at most
 * maxIterations per eigenvalue. 1 found; 0 failure: code 9 (those found so far stored), 1 memory. */
NUMORA_API int32_t MatEigenV(const float *a, int32_t n, float *re, float *im, int32_t maxIterations);

/* ---- Curve fitting and regression ---------------------------------------------------------- */

/* Least squares polynomial a[k] (k < min(m, n, 20)) of p(x) = sum a[k] (x - mean x)^k; the rest
 * of a[0..m-1] cleared; dt[0] sum r^2, dt[1] sum |r|, dt[2] max |r|, r = p(x) - y. 1 done; 0
 * failure, nothing written. */
NUMORA_API int32_t LSCurveFit(const float *x, const float *y, int32_t n, float *a, int32_t m, float *dt);
/* Minimax polynomial a[0..m-1] (power series in x, x in any order; m at most n - 1 and 19) by
 * the exchange method; a[m] its maximum deviation (negative when the levelled deviation stopped
 * growing, positive when no point exceeded it). 1 done; 0 failure (n < 2, m < 1: code 10), nothing written. */
NUMORA_API int32_t ChebyFit(const float *x, const float *y, int32_t n, float *a, int32_t m);
/* Line y = ab[0] + ab[1] x by least squares; dt[0] sum (y - fit)^2, dt[1] sqrt(dt[0] / n),
 * dt[2] sum (fit - mean y)^2, dt[3..5] max, min, mean |y - fit|. 1 done; 0 failure, nothing
 * written (all x equal: code 5). */
NUMORA_API int32_t LiRegress1d(const float *x, const float *y, int32_t n, float *ab, float *dt);
/* Regression of y (n) on the m rows of x (m x n): a[0..m-1] coefficients, a[m] constant;
 * dt[0] q = sum (y - fit)^2, dt[1] sqrt(q / n), dt[2] multiple correlation, dt[3] sum
 * (fit - mean y)^2; v[j] sqrt(1 - q / qj), qj without the term of variable j. 1 done; 0 failure,
 * nothing written: code 5 singular normal matrix, 1 memory. */
NUMORA_API int32_t MLiRegress(const float *x, const float *y, int32_t m, int32_t n, float *a, float *dt, float *v);

/* ---- Transforms and spectra ---------------------------------------------------------------- */

/* ---- Special functions --------------------------------------------------------------------- */

/* ---- Sorting and text search --------------------------------------------------------------- */

/* ---- Huffman coding ------------------------------------------------------------------------ */

#ifdef __cplusplus
}
#endif

#endif /* NUMORA_H */

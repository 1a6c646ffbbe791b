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
    NUMORA_OK = 0,               /* "No error" */
    NUMORA_ERR_ALLOC = 1,        /* "Allocate memory error" */
    NUMORA_ERR_LOCK = 2,         /* "Lock memory error" */
    NUMORA_ERR_NULL = 3,         /* "NULL pointer" */
    NUMORA_ERR_NO_INTEGRAND = 4, /* "Integral function is not given" */
    NUMORA_ERR_SINGULAR = 5,     /* "Sigular matrix" */
    NUMORA_ERR_QR = 6,           /* "QR decomposition error" */
    NUMORA_ERR_NOT_SQUARE = 7,   /* "Square matrix required" */
    NUMORA_ERR_SVD = 8,          /* "Sigular decomposition error" */
    NUMORA_ERR_ITERATIONS = 9,   /* "Over maximiun iterative number" */
    NUMORA_ERR_OTHER = 10,       /* "Other unknown error" */
    NUMORA_ERR_OPEN_FILE = 11    /* "Open file error." */
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
NUMORA_API int32_t SolutionEQs(const float *a, int32_t m, int32_t n, const float *b, float *x,
                               int32_t selector);
/* All n roots of sum a[i] z^i (a[n] != 0) as re[k] + i im[k] (conjugate pairs, positive
 * imaginary part at the higher index) through the companion matrix's eigenvalues, with at most
 * maxIterations QR steps per root. 1 found; 0 failure: code 9 iteration limit, 10 a[n] zero or a
 * coefficient not finite, 1 memory. */
NUMORA_API int32_t EQRoots(const float *a, int32_t n, float *re, float *im, int32_t maxIterations);
/* Minimises sum c[j] x[j] subject to A x = b, x >= 0 (A m x (m+n), its last m columns the
 * slack basis with b >= 0) by the revised simplex method with Bland's rule. 1 optimum: x[0..n-1]
 * the variables, x[n] the objective, x[n+1..m+n-1] the other slacks; 0 failure, x untouched:
 * code 5 singular basis, 10 unbounded or infeasible start, 9 iteration limit, 1 memory. */
NUMORA_API int32_t LinearProgram(const float *a, const float *b, const float *c, int32_t m, int32_t n,
                                 float *x);

/* ---- Integration, interpolation and derivatives -------------------------------------------- */
/* 1-D interpolation methods of Inter1dFuncED / Inter1dFuncND (3, above 8 and negative values
 * act as 0). The DSP control passes its selector 0..6 as 0, 1, 4, 5, 6, 7, 8 (others as 0). */
enum NumoraInterpolation {
    NUMORA_INTERP_LAGRANGE = 0,        /* Lagrange through nodes k-4 .. k+3, k the first node >= t */
    NUMORA_INTERP_THREE_POINT = 1,     /* quadratic through the 3 nodes nearest t */
    NUMORA_INTERP_THIELE = 2,          /* continued fraction through up to 8 nodes around t */
    NUMORA_INTERP_AITKEN = 4,          /* Aitken over up to 10 nodes, to the library precision */
    NUMORA_INTERP_AKIMA = 5,           /* Akima's piecewise cubic */
    NUMORA_INTERP_SPLINE_CLAMPED = 6,  /* cubic spline, end slopes 0 */
    NUMORA_INTERP_SPLINE_NATURAL = 7,  /* cubic spline, end second derivatives 0 */
    NUMORA_INTERP_SPLINE_PERIODIC = 8, /* cubic spline, the table one period (y[0] = y[n-1]) */
    NUMORA_INTERP2D_LAGRANGE = 9       /* Inter2D only: Lagrange over up to 8 x 8 nodes; others 3 x 3 */
};
/* Derivative selectors of DyFunc1dED / DyFunc1dND (values outside 0..5 act as 0). The DSP
 * control passes Sel 0..2 as 0..2 for first and 3..5 for second derivatives. */
enum NumoraDerivative {
    NUMORA_DY_CLAMPED = 0,
    NUMORA_DY_NATURAL = 1,
    NUMORA_DY_PERIODIC = 2,
    NUMORA_DDY_CLAMPED = 3,
    NUMORA_DDY_NATURAL = 4,
    NUMORA_DDY_PERIODIC = 5
};
/* Interpolation rules shared below: abscissas strictly increasing (otherwise the result is
 * undefined, possibly NaN, never a crash); outside the table the edge nodes extrapolate; n < 1
 * gives 0.0 and n = 1 gives y[0]; a NULL array gives 0.0 with code 3; work memory failure 0.0
 * with code 1. Periodic splines take t modulo the period. */
/* Value at t of the table x[i] = x0 + i h, y[0..n-1] by the method above. */
NUMORA_API float Inter1dFuncED(float x0, float h, int32_t n, const float *y, float t, int32_t method);
/* Value at t of the table (x[i], y[i]), i < n, by the method above. */
NUMORA_API float Inter1dFuncND(const float *x, const float *y, int32_t n, float t, int32_t method);
/* First or second derivative at t of the cubic spline (selector above) through x0 + i h, y; n < 2
 * gives 0.0. */
NUMORA_API float DyFunc1dED(float x0, float h, int32_t n, const float *y, float t, int32_t selector);
/* First or second derivative at t of the cubic spline (selector above) through (x, y); n < 2
 * gives 0.0. */
NUMORA_API float DyFunc1dND(const float *x, const float *y, int32_t n, float t, int32_t selector);
/* Value at (u, v) of z (nx x ny, row-major, z[i * ny + j] at x[i], y[j]): method 9 Lagrange over up
 * to 8 nodes per direction, any other three-point; 0.0 when nx or ny < 1, code 3 for NULL. */
NUMORA_API float Inter2D(const float *x, const float *y, const float *z, int32_t nx, int32_t ny, float u,
                         float v, int32_t method);
/* Registers a copy of the table (x, y), n points, as the process-wide integrand (replacing any
 * earlier one); 1, 0 with nothing registered when memory fails or an array is NULL (no code). */
NUMORA_API int32_t IntegrateFunc(const float *x, const float *y, int32_t n);
/* Sets the interpolation method (above) that evaluates the integrand; returns the one before
 * (0 at load). */
NUMORA_API int32_t IntegrateInter(int32_t method);
/* Integral from a to b (b < a negates) of the registered table: rule 0 trapezoid halving, 1
 * Simpson, 2 Romberg (10 rows), 3 Gauss-Legendre and 4 Chebyshev 5-node composites, 5 Thiele
 * extrapolation (9 levels); other rules act as 0; tolerance the library precision. 0.0 with code 3
 * when nothing is registered, code 4 when it has no points; rules 0 and 1 stop after 2^16
 * intervals with the last value and code 9. */
NUMORA_API float Integrate1d(float a, float b, int32_t rule);
/* Releases the registered integrand; returns 1. */
NUMORA_API int32_t IntegrateEnd(void);

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
NUMORA_API int32_t MLiRegress(const float *x, const float *y, int32_t m, int32_t n, float *a, float *dt,
                              float *v);

/* ---- Transforms and spectra ---------------------------------------------------------------- */
/* Forward transforms sum x[m] e^(-j 2 pi k m / N) unscaled; none of these writes the error code. */
/* Radix-2 FFT of (pr, pi), n = 2^k points (k 0..30), into (fr, fi); inverse scales by 1/n; with
 * ampPhase fr gets amplitudes, fi phases in degrees (-90..90). 1 done; 0 for a NULL pointer or
 * n != 2^k (nothing written) or short twiddle memory (fr, fi then hold the input). */
NUMORA_API int32_t FFT(const float *pr, const float *pi, int32_t n, int32_t k, float *fr, float *fi,
                       int32_t inverse, int32_t ampPhase);
/* Direct DFT of (xr, xi), n points, in place (inverse scaled by 1/n); 1 done, 0 (untouched) for a
 * NULL pointer, n < 1 or short memory. */
NUMORA_API int32_t DFT(float *xr, float *xi, int32_t n, int32_t inverse);
/* FFT when n is a power of two, else DFT, of (xr, xi) into (yr, yi); 1 done, 0 (untouched) as
 * FFT / DFT. */
NUMORA_API int32_t DFFT(const float *xr, const float *xi, float *yr, float *yi, int32_t n, int32_t inverse);
/* DCT of x (n points) into y: fast path (n = 2^k) gives sqrt2 / 2 times the direct sum for k = 0 / k >= 1;
 * inverse of each path exact; 1 done, 0 (untouched) for NULL, n < 1, n > 2^29 on the fast path, short memory. */
NUMORA_API int32_t DCT(const float *x, float *y, int32_t n, int32_t inverse);
/* Orthonormal DST-I of x (n points) into y, its own inverse; returns n + 1, 0 (untouched) for NULL,
 * n < 1 or short memory. */
NUMORA_API int32_t DST(const float *x, int32_t n, float *y);
/* Chirp-z: m spectrum points from f1 towards f2 (Hz, f2 excluded, sampling rate fs Hz) of (xr, xi), n
 * points, into (yr, yi); 1 done, 0 (untouched) for NULL, n or m < 1, fs 0, n + m > 2^30, short memory. */
NUMORA_API int32_t CharpZT(const float *xr, const float *xi, int32_t n, float *yr, float *yi, int32_t m,
                           float f1, float f2, float fs);
/* Haar transform of x (n = 2^k points) into y (forward scaled by 1/n); 1 done, 0 (untouched) for NULL or
 * n not a power of two. */
NUMORA_API int32_t Haar(const float *x, float *y, int32_t n, int32_t inverse);
/* Biased autocorrelation of x (n points, mean removed) at lags 0..m-1 into r (0 for lags >= n); does
 * nothing for NULL, n < 1 or m < 1. */
NUMORA_API void AutoCor(const float *x, int32_t n, float *r, int32_t m);
/* Correlation coefficient sum(xy) / sqrt(sum x^2 * sum y^2), means kept; 0 for NULL, n < 1 or an
 * all-zero x or y. */
NUMORA_API float CorCoef(const float *x, const float *y, int32_t n);
/* Blackman-Tukey power spectrum of x (n points) at m frequencies f1 + i (f2 - f1) / m (Hz, rate fs) into
 * ps; 1 done, 0 (untouched) for NULL, n or m < 1, fs 0 or short memory. */
NUMORA_API int32_t PsdCalc(const float *x, int32_t n, float *ps, int32_t m, float f1, float f2, float fs);
/* Chirp-z power spectrum |Y|^2 (no scaling) of x less its mean, m points from f1 towards f2 (Hz, rate fs);
 * x is left unchanged; 1 done, 0 (untouched) as CharpZT. */
NUMORA_API int32_t PsdCalcCZT(const float *x, int32_t n, float *ps, int32_t m, float f1, float f2, float fs);
/* Spectrogram: n / shift frames of w samples each, PsdCalcCZT rows of m points into ps (row-major); 1
 * done, 0 (untouched) when shift < 1, shift >= n, w < 1, w > n, m < 1, rows x m > 2^31 - 1 or as CharpZT. */
NUMORA_API int32_t PsArray(const float *x, int32_t n, int32_t shift, int32_t w, float *ps, int32_t m,
                           float f1, float f2, float fs);

/* ---- Special functions --------------------------------------------------------------------- */
/* Gamma function; -1 with code 10 for x <= 0 or NaN, +inf above 35.04 (overflow). */
NUMORA_API float FxGamma(float x);
/* Regularized lower incomplete gamma P(a, x); -1 with code 10 for a <= 0 or x < 0; code 10 and the
 * partial value when 100 terms do not converge to the precision. */
NUMORA_API float FxGamma1(float a, float x);
/* Error function erf(x); code 10 as FxGamma1. */
NUMORA_API float FxError(float x);
/* Regularized incomplete beta I_x(a, b); +inf with code 10 for a <= 0, b <= 0, x outside 0..1. */
NUMORA_API float FxBeta(float a, float b, float x);
/* Normal distribution function of x with mean mu and deviation sigma (a step at mu for sigma <= 0). */
NUMORA_API float FxNormalPDF(float mu, float sigma, float x);
/* Student t probability P(|T| < |t|) with n degrees of freedom; FxBeta's failure (1 - inf, code 10) for n < 1. */
NUMORA_API float FxStudentPDF(float t, int32_t n);
/* Chi-square distribution function P(n / 2, |x| / 2); -1 with code 10 for n < 1. */
NUMORA_API float FxChi2PDF(float x, int32_t n);
/* Upper tail of the F distribution with n1, n2 degrees of freedom at |f|; +inf with code 10 for n1 or n2 < 1. */
NUMORA_API float FxFPDF(float f, int32_t n1, int32_t n2);
/* Sine integral Si(x) (x in radians); odd in x; code 9 should a loop reach its limit. */
NUMORA_API float FxSinSum(float x);
/* Cosine integral Ci(|x|) (x = 0 taken as 1e-10); code 9 as FxSinSum. */
NUMORA_API float FxCosSum(float x);
/* Exponential integral as g + ln|x| + int_0^|x| (e^-t - 1) / t dt = Ei(-|x|) = -E1(|x|) (x = 0 as 1e-10); code 9 as FxSinSum. */
NUMORA_API float FxExpSum(float x);
/* Incomplete elliptic integral of the first kind F(phi, k) (phi in radians, modulus |k|); for |k| > 1
 * only |phi| <= asin(1 / |k|) is real, else NaN with code 10; 1e10 where the integral diverges (k = 1). */
NUMORA_API float FxEllipse1(float k, float phi);
/* Incomplete elliptic integral of the second kind E(phi, k); NaN with code 10 as FxEllipse1. */
NUMORA_API float FxEllipse2(float k, float phi);
/* Bessel function of the first kind J_n(x); J_-n = (-1)^n J_n; NaN with code 10 for |n| > 1000000 with |x| > 500000 (so are the other three). */
NUMORA_API float FxBessel1(int32_t n, float x);
/* Bessel function of the second kind Y_n(x); -inf at x = 0, NaN for x < 0; Y_-n = (-1)^n Y_n. */
NUMORA_API float FxBessel2(int32_t n, float x);
/* Modified Bessel function of the first kind I_n(x); I_-n = I_n. */
NUMORA_API float FxIBessel1(int32_t n, float x);
/* Modified Bessel function of the second kind K_n(x); +inf at x = 0, NaN for x < 0; K_-n = K_n. */
NUMORA_API float FxIBessel2(int32_t n, float x);

/* ---- Sorting and text search --------------------------------------------------------------- */
/* Quicksorts, ascending, in place; no error code: n >= 1 sorts n elements and sets index[0..n-1]
 * to the original position of the element now at each place; n < 0 sorts -n elements and leaves
 * index untouched (it may be NULL); n = 0, x NULL, INT32_MIN, or n >= 1 with index NULL do
 * nothing. Not stable; the same code and index arrays as the signal library's. */
/* Sorts unsigned 8-bit values (0x80 after 0x01). */
NUMORA_API void QuickSortBytes(uint8_t *x, int32_t n, int32_t *index);
/* Sorts signed 8-bit values (-128 before 1). */
NUMORA_API void QuickSortChars(int8_t *x, int32_t n, int32_t *index);
/* Sorts signed 16-bit values. */
NUMORA_API void QuickSortShorts(int16_t *x, int32_t n, int32_t *index);
/* Sorts unsigned 16-bit values. */
NUMORA_API void QuickSortUShorts(uint16_t *x, int32_t n, int32_t *index);
/* Sorts signed 32-bit values (the same operation as QuickSortLongs). */
NUMORA_API void QuickSortIntegers(int32_t *x, int32_t n, int32_t *index);
/* Sorts unsigned 32-bit values (the same operation as QuickSortULongs). */
NUMORA_API void QuickSortUIntegers(uint32_t *x, int32_t n, int32_t *index);
/* Sorts signed 32-bit values. */
NUMORA_API void QuickSortLongs(int32_t *x, int32_t n, int32_t *index);
/* Sorts unsigned 32-bit values. */
NUMORA_API void QuickSortULongs(uint32_t *x, int32_t n, int32_t *index);
/* Sorts 32-bit floats (plain less-than). */
NUMORA_API void QuickSortFloats(float *x, int32_t n, int32_t *index);
/* Sorts 64-bit floats (plain less-than). */
NUMORA_API void QuickSortDoubles(double *x, int32_t n, int32_t *index);
/* Sorts pointers to zero-terminated strings by unsigned bytes (a prefix first; NULL as ""). */
NUMORA_API void QuickSortStrings(char **x, int32_t n, int32_t *index);
/* Searches text[start .. textLength-1] for the zero-terminated pattern (KMP; table holds one
 * int32 per pattern byte, built when start = 0 and reused, or rebuilt if unusable, otherwise):
 * the position just past the first occurrence, 0 if none or the pattern is empty, -1 when start
 * is outside the text or a pointer is NULL. No error code. */
NUMORA_API int32_t FindStringOfText(const char *text, int32_t textLength, int32_t start, const char *pattern,
                                    int32_t *table);
/* Searches a whole regular file: mode 0 as FindStringOfText from 0 (-1 for an empty file), other
 * modes the number of occurrences without overlap (0 if none or the pattern is empty); -1 on
 * failure: code 11 missing, unreadable or not a regular file (directory, device), code 1 no
 * memory or 2 GiB and larger, code 3 pattern NULL. */
NUMORA_API int32_t FindStringFile(const char *path, const char *pattern, int32_t mode);

/* ---- Huffman coding ------------------------------------------------------------------------ */

/* Huffman-codes length bytes at data (count table, codes, end code) into a new file at outPath,
 * replacing it only once fully written; 1, 0 on a bad argument, no memory or a failed write. */
NUMORA_API int32_t HufCompress(const void *data, int32_t length, const char *outPath);
/* Expands length bytes of Huffman-coded data into a new file at outPath; 1, 0 on failure:
 * damaged or cut-short data show "Read Compressed data error." (caption "Message") and write no file. */
NUMORA_API int32_t HufExpand(const void *data, int32_t length, const char *outPath);
/* HufCompress of the whole file srcPath; 0 on failure, code 11 if srcPath cannot be opened or
 * read, 1 if it is larger than 2^31 - 1 bytes or memory runs out. */
NUMORA_API int32_t HufCmpFile(const char *srcPath, const char *outPath);
/* HufExpand of the whole file srcPath; 0 on failure, code 11 if srcPath cannot be opened or read,
 * 1 if it is larger than 2^31 - 1 bytes or memory runs out. */
NUMORA_API int32_t HufExpFile(const char *srcPath, const char *outPath);

#ifdef __cplusplus
}
#endif

#endif /* NUMORA_H */

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

/* ---- Integration, interpolation and derivatives -------------------------------------------- */

/* ---- Matrix routines ----------------------------------------------------------------------- */

/* ---- Curve fitting and regression ---------------------------------------------------------- */

/* ---- Transforms and spectra ---------------------------------------------------------------- */

/* ---- Special functions --------------------------------------------------------------------- */

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
NUMORA_API int32_t FindStringOfText(const char *text, int32_t textLength, int32_t start,
                                    const char *pattern, int32_t *table);
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

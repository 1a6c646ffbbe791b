// sorting.cpp - the quicksort family (the shared routine of mathcore/sort.h) and QSortValues.
#include "sigmora.h"

#include "mathcore/sort.h"

extern "C" {

SIGMORA_API void QuickSortBytes(uint8_t *x, int32_t n, int32_t *index) {
    mathcore::quickSort(x, index, n);
}
SIGMORA_API void QuickSortChars(int8_t *x, int32_t n, int32_t *index) {
    mathcore::quickSort(x, index, n);
}
SIGMORA_API void QuickSortShorts(int16_t *x, int32_t n, int32_t *index) {
    mathcore::quickSort(x, index, n);
}
SIGMORA_API void QuickSortUShorts(uint16_t *x, int32_t n, int32_t *index) {
    mathcore::quickSort(x, index, n);
}
SIGMORA_API void QuickSortIntegers(int32_t *x, int32_t n, int32_t *index) {
    mathcore::quickSort(x, index, n);
}
SIGMORA_API void QuickSortUIntegers(uint32_t *x, int32_t n, int32_t *index) {
    mathcore::quickSort(x, index, n);
}
SIGMORA_API void QuickSortLongs(int32_t *x, int32_t n, int32_t *index) {
    mathcore::quickSort(x, index, n);
}
SIGMORA_API void QuickSortULongs(uint32_t *x, int32_t n, int32_t *index) {
    mathcore::quickSort(x, index, n);
}
SIGMORA_API void QuickSortFloats(float *x, int32_t n, int32_t *index) {
    mathcore::quickSort(x, index, n);
}
SIGMORA_API void QuickSortDoubles(double *x, int32_t n, int32_t *index) {
    mathcore::quickSort(x, index, n);
}
SIGMORA_API void QuickSortStrings(char **x, int32_t n, int32_t *index) {
    mathcore::quickSort(x, index, n, mathcore::StringLess());
}
SIGMORA_API void QSortValues(float *x, int32_t *index, int32_t n) {
    mathcore::quickSort(x, index, n);
}

} // extern "C"

// sorting.cpp - the quicksort family on the shared routine of mathcore/sort.h, the same code
// as the signal library's (index arrays come out the same in both).
#include "numora.h"

#include "mathcore/sort.h"

extern "C" {

NUMORA_API void QuickSortBytes(uint8_t *x, int32_t n, int32_t *index) {
    mathcore::quickSort(x, index, n);
}
NUMORA_API void QuickSortChars(int8_t *x, int32_t n, int32_t *index) {
    mathcore::quickSort(x, index, n);
}
NUMORA_API void QuickSortShorts(int16_t *x, int32_t n, int32_t *index) {
    mathcore::quickSort(x, index, n);
}
NUMORA_API void QuickSortUShorts(uint16_t *x, int32_t n, int32_t *index) {
    mathcore::quickSort(x, index, n);
}
NUMORA_API void QuickSortIntegers(int32_t *x, int32_t n, int32_t *index) {
    mathcore::quickSort(x, index, n);
}
NUMORA_API void QuickSortUIntegers(uint32_t *x, int32_t n, int32_t *index) {
    mathcore::quickSort(x, index, n);
}
NUMORA_API void QuickSortLongs(int32_t *x, int32_t n, int32_t *index) {
    mathcore::quickSort(x, index, n);
}
NUMORA_API void QuickSortULongs(uint32_t *x, int32_t n, int32_t *index) {
    mathcore::quickSort(x, index, n);
}
NUMORA_API void QuickSortFloats(float *x, int32_t n, int32_t *index) {
    mathcore::quickSort(x, index, n);
}
NUMORA_API void QuickSortDoubles(double *x, int32_t n, int32_t *index) {
    mathcore::quickSort(x, index, n);
}
NUMORA_API void QuickSortStrings(char **x, int32_t n, int32_t *index) {
    mathcore::quickSort(x, index, n, mathcore::StringLess());
}

} // extern "C"

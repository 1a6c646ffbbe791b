// Ascending float sorts of the signal library's own routines, on the quicksort family shared
// with the numerics library.
#ifndef SIGMORA_SORT_INTERNAL_H
#define SIGMORA_SORT_INTERNAL_H

#include <cstdint>

#include "mathcore/sort.h"

namespace sigmora::sorting {

// Sorts x[0 .. n-1] ascending in place (the family's float sort without an index array).
inline void sort_floats(float *x, int32_t n) {
    mathcore::quickSort(x, static_cast<int32_t *>(nullptr), -n);
}

}  // namespace sigmora::sorting

#endif

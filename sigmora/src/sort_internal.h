// Ascending float sort used by the median and the Kolmogorov-Smirnov test.
#ifndef SIGMORA_SORT_INTERNAL_H
#define SIGMORA_SORT_INTERNAL_H

#include <algorithm>
#include <cstdint>

namespace sigmora::sorting {

// Sorts x[0 .. n-1] ascending in place.
inline void sort_floats(float *x, int32_t n) { std::sort(x, x + n); }

} // namespace sigmora::sorting

#endif

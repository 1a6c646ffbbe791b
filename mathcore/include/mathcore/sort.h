// The quicksort family shared by the signal and the numerics library (QuickSortFloats,
// QSortValues, the median and the statistics routines, the DSP control's string sort).
//
// One partition routine serves every element type, so index arrays come out the same in both
// libraries and for every type:
//  1. pivot = values[(lo + hi) / 2] (truncating), copied out;
//  2. i = lo, j = hi; repeat: advance i while values[i] < pivot and i < hi; move j back while
//     pivot < values[j] and j > lo; if i <= j swap elements i and j (and index entries i and j),
//     i += 1, j -= 1; until i > j;
//  3. the parts lo..j and i..hi are sorted the same way.
// The smaller part is sorted by a recursive call and the larger one by the loop, so the stack
// never holds more than about log2(n) frames, whatever the input. The parts are independent,
// so the order in which they are sorted does not change the result. The sort is not stable;
// floating values compare with plain less-than (a NaN ends up somewhere, nothing breaks).
//
// Count convention (the libraries' exports pass it through unchanged):
//   n >= 1  sorts n elements; index (n entries) is set to 0 .. n-1 first, then permuted along
//           with the elements, so afterwards index[i] is the original position of values[i];
//   n < 0   sorts -n elements and leaves index untouched (it may be null);
//   n = 0   does nothing.
// Nothing is done (arrays untouched) when values is null, when n >= 1 and index is null, or
// when n is INT32_MIN (-n does not exist).
#ifndef MATHCORE_SORT_H
#define MATHCORE_SORT_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <utility>

namespace mathcore {

// Where the pivot of a part lo..hi stands. Truncate: (lo + hi) / 2, the libraries' rule.
// HalfToEven: (lo + hi) / 2 rounded half to even, the DSP control's string sort.
enum class PivotRule { Truncate, HalfToEven };

// Byte-wise unsigned order of zero-terminated strings (a prefix comes first). A null pointer
// orders as the empty string.
struct StringLess {
    bool operator()(const char *a, const char *b) const {
        return std::strcmp(a ? a : "", b ? b : "") < 0;
    }
};

namespace detail {

inline std::ptrdiff_t pivot_position(std::ptrdiff_t lo, std::ptrdiff_t hi, PivotRule rule) {
    std::ptrdiff_t sum = lo + hi;
    std::ptrdiff_t mid = sum / 2;
    if (rule == PivotRule::HalfToEven && (sum % 2) != 0 && (mid % 2) != 0)
        mid += 1;  // sum / 2 is mid + 0.5: take the even neighbour
    return mid;
}

template <typename T, typename Less>
void sort_part(T *values, int32_t *index, std::ptrdiff_t lo, std::ptrdiff_t hi, Less &less,
               PivotRule rule) {
    while (lo < hi) {
        const T pivot = values[pivot_position(lo, hi, rule)];
        std::ptrdiff_t i = lo;
        std::ptrdiff_t j = hi;
        do {
            while (less(values[i], pivot) && i < hi)
                ++i;
            while (less(pivot, values[j]) && j > lo)
                --j;
            if (i <= j) {
                std::swap(values[i], values[j]);
                if (index)
                    std::swap(index[i], index[j]);
                ++i;
                --j;
            }
        } while (i <= j);
        // Parts lo..j and i..hi: recurse into the smaller, loop on the larger.
        if (j - lo < hi - i) {
            if (lo < j)
                sort_part(values, index, lo, j, less, rule);
            lo = i;
        } else {
            if (i < hi)
                sort_part(values, index, i, hi, less, rule);
            hi = j;
        }
    }
}

}  // namespace detail

// Sorts values[0 .. count-1] ascending by less; index (null: none) is permuted along with
// the elements but not initialised. count may exceed 32 bits.
template <typename T, typename Less = std::less<T>>
void quick_sort_range(T *values, int32_t *index, std::size_t count, Less less = Less(),
                      PivotRule rule = PivotRule::Truncate) {
    if (!values || count < 2)
        return;
    detail::sort_part(values, index, 0, static_cast<std::ptrdiff_t>(count - 1), less, rule);
}

// Sorts with the count convention above (n >= 1 fills and permutes index, n < 0 sorts -n
// elements without index, n = 0 nothing).
template <typename T, typename Less = std::less<T>>
void quickSort(T *values, int32_t *index, int32_t n, Less less = Less(),
               PivotRule rule = PivotRule::Truncate) {
    if (!values || n == 0 || n == INT32_MIN)
        return;
    if (n < 0) {
        quick_sort_range(values, static_cast<int32_t *>(nullptr), static_cast<std::size_t>(-n),
                         less, rule);
        return;
    }
    if (!index)
        return;
    for (int32_t k = 0; k < n; ++k)
        index[k] = k;
    quick_sort_range(values, index, static_cast<std::size_t>(n), less, rule);
}

// The string member: pointers are moved, the strings stay where they are.
inline void quickSortStrings(const char **strings, int32_t *index, int32_t n) {
    quickSort(strings, index, n, StringLess());
}

}  // namespace mathcore

#endif

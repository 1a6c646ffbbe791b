// extremes.cpp - smallest and largest value with their positions, most frequent value.
#include "sigmora.h"

#include <algorithm>
#include <cstddef>
#include <memory>
#include <new>

namespace {

// Index of the first extreme of x[0..n-1]; `better(a, b)` is true when a replaces b.
template <class Better>
int32_t extremeIndex(const float *x, int32_t n, Better better) {
    int32_t best = 0;
    for (int32_t i = 1; i < n; ++i)
        if (better(x[i], x[best])) best = i;
    return best;
}

template <class Better>
float extremeValue(const float *x, int32_t n, int32_t *pos, Better better) {
    if (!x || n < 1) {
        if (pos) *pos = 0;
        return 0.0f;
    }
    int32_t at = extremeIndex(x, n, better);
    if (pos) *pos = at;
    return x[at];
}

// The candidate rule: the value whose first occurrence has the most later equal elements wins,
// ties keep the earlier candidate. Done directly, in n^2 / 2 comparisons.
float modeByTally(const float *x, int32_t n) {
    int32_t bestTally = 0;
    float result = 0.0f;
    for (int32_t i = 0; i + 1 < n; ++i) {
        int32_t tally = 0;
        for (int32_t j = i + 1; j < n; ++j) tally += (x[j] == x[i]) ? 1 : 0;
        if (tally > bestTally) {
            bestTally = tally;
            result = x[i];
        }
    }
    return result;
}

struct Occurrence {
    float key;      // the value, with -0 folded onto +0 (they compare equal)
    int32_t index;  // position in x
};

// The same rule in n log n: the tally of a value's first occurrence is its count minus one and
// later occurrences tally less, so the winner is the most frequent value (count >= 2) whose first
// occurrence comes earliest. NaN equals nothing and never counts.
float modeBySorting(const float *x, int32_t n, Occurrence *occ) {
    int32_t m = 0;
    for (int32_t i = 0; i < n; ++i)
        if (x[i] == x[i]) occ[m++] = Occurrence{x[i] == 0.0f ? 0.0f : x[i], i};
    std::sort(occ, occ + m, [](const Occurrence &a, const Occurrence &b) {
        return a.key < b.key || (a.key == b.key && a.index < b.index);
    });
    int32_t bestCount = 1, bestFirst = n;
    for (int32_t run = 0; run < m;) {
        int32_t end = run + 1;
        while (end < m && occ[end].key == occ[run].key) ++end;
        int32_t count = end - run, first = occ[run].index;
        if (count > bestCount || (count == bestCount && count > 1 && first < bestFirst)) {
            bestCount = count;
            bestFirst = first;
        }
        run = end;
    }
    return bestCount > 1 ? x[bestFirst] : 0.0f;
}

}  // namespace

extern "C" SIGMORA_API float MinValueCalc(const float *x, int32_t n, int32_t *pos) {
    return extremeValue(x, n, pos, [](float a, float b) { return a < b; });
}

extern "C" SIGMORA_API float MaxValueCalc(const float *x, int32_t n, int32_t *pos) {
    return extremeValue(x, n, pos, [](float a, float b) { return a > b; });
}

extern "C" SIGMORA_API float ModeCalc(const float *x, int32_t n) {
    if (!x || n < 2) return 0.0f;
    std::unique_ptr<Occurrence[]> occ(new (std::nothrow) Occurrence[static_cast<size_t>(n)]);
    if (!occ) return modeByTally(x, n);
    return modeBySorting(x, n, occ.get());
}

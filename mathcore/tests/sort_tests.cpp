// Quicksort family: order and permutation on random, ordered, reversed, equal and adversarial
// input; the result equals the literal partition routine (left part recursive, right part
// iterated) element for element and index for index; the count convention; a small stack.
#include <gtest/gtest.h>

#include <pthread.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "mathcore/sort.h"

namespace {

// The partition routine exactly as the libraries describe it: recursion into the left part,
// iteration on the right part.
template <typename T, typename Less>
void literal_sort(T *a, int32_t *idx, long lo, long hi, Less less) {
    for (;;) {
        T pivot = a[(lo + hi) / 2];
        long i = lo, j = hi;
        do {
            while (less(a[i], pivot) && i < hi)
                ++i;
            while (less(pivot, a[j]) && j > lo)
                --j;
            if (i <= j) {
                std::swap(a[i], a[j]);
                if (idx)
                    std::swap(idx[i], idx[j]);
                ++i;
                --j;
            }
        } while (i <= j);
        if (lo < j)
            literal_sort(a, idx, lo, j, less);
        if (i < hi)
            lo = i;
        else
            return;
    }
}

template <typename T>
void expect_sorted_permutation(const std::vector<T> &before, const std::vector<T> &after,
                               const std::vector<int32_t> &index) {
    ASSERT_EQ(after.size(), index.size());
    std::vector<char> seen(index.size(), 0);
    for (std::size_t i = 0; i < after.size(); ++i) {
        ASSERT_GE(index[i], 0);
        ASSERT_LT(static_cast<std::size_t>(index[i]), before.size());
        ASSERT_FALSE(seen[index[i]]) << "index " << index[i] << " twice";
        seen[index[i]] = 1;
        ASSERT_EQ(after[i], before[index[i]]) << "at " << i;
        if (i > 0) {
            ASSERT_FALSE(after[i] < after[i - 1]) << "out of order at " << i;
        }
    }
}

template <typename T>
void check_against_literal(std::vector<T> data) {
    std::vector<T> ours = data, lit = data;
    std::vector<int32_t> idx(data.size()), lidx(data.size());
    for (std::size_t k = 0; k < lidx.size(); ++k)
        lidx[k] = static_cast<int32_t>(k);
    mathcore::quickSort(ours.data(), idx.data(), static_cast<int32_t>(ours.size()));
    if (lit.size() > 1)
        literal_sort(lit.data(), lidx.data(), 0, static_cast<long>(lit.size()) - 1, std::less<T>());
    expect_sorted_permutation(data, ours, idx);
    EXPECT_EQ(ours, lit);
    EXPECT_EQ(idx, lidx);
    // Without the index: the same elements, the index array untouched.
    std::vector<T> plain = data;
    std::vector<int32_t> untouched(data.size(), -7);
    mathcore::quickSort(plain.data(), untouched.data(), -static_cast<int32_t>(plain.size()));
    EXPECT_EQ(plain, lit);
    EXPECT_TRUE(std::all_of(untouched.begin(), untouched.end(), [](int32_t v) { return v == -7; }));
}

template <typename T>
std::vector<T> random_values(std::size_t n, unsigned seed, double lo, double hi) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> d(lo, hi);
    std::vector<T> v(n);
    for (auto &x : v)
        x = static_cast<T>(d(gen));
    return v;
}

// McIlroy's adversary: values are decided lazily while the sort runs, so that every pivot turns
// out to be an extreme; the decided values form an input on which this quicksort degenerates.
std::vector<int32_t> adversarial_input(int32_t n) {
    std::vector<int32_t> val(n, n);  // n = "gas", not decided yet
    int32_t solid = 0;
    int32_t candidate = 0;
    std::vector<int32_t> items(n);
    for (int32_t k = 0; k < n; ++k)
        items[k] = k;
    auto less = [&](int32_t x, int32_t y) {
        if (val[x] == n && val[y] == n)
            val[x == candidate ? x : y] = solid++;
        if (val[x] == n)
            candidate = x;
        else if (val[y] == n)
            candidate = y;
        return val[x] < val[y];
    };
    mathcore::quick_sort_range(items.data(), nullptr, items.size(), less);
    for (auto &v : val)
        if (v == n)
            v = solid++;
    return val;
}

// An input on which every part's pivot is the largest element of the part: the left part is
// then one element shorter than the whole, n times over.
std::vector<int32_t> maximum_at_the_middle(int32_t n) {
    std::vector<int32_t> val(n), pos(n);
    for (int32_t k = 0; k < n; ++k)
        pos[k] = k;
    for (int32_t h = n - 1; h > 0; --h) {
        val[pos[h / 2]] = h;
        std::swap(pos[h / 2], pos[h]);
    }
    val[pos[0]] = 0;
    return val;
}

TEST(QuickSort, SmallCasesAndCountConvention) {
    std::vector<int32_t> v{3, 1, 2};
    std::vector<int32_t> idx{9, 9, 9};
    mathcore::quickSort(v.data(), idx.data(), 3);
    EXPECT_EQ(v, (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(idx, (std::vector<int32_t>{1, 2, 0}));

    v = {3, 1, 2};
    idx = {9, 8, 7};
    mathcore::quickSort(v.data(), idx.data(), -3);
    EXPECT_EQ(v, (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(idx, (std::vector<int32_t>{9, 8, 7}));

    v = {3, 1, 2};
    mathcore::quickSort(v.data(), static_cast<int32_t *>(nullptr), -3);
    EXPECT_EQ(v, (std::vector<int32_t>{1, 2, 3}));

    // Refused: nothing touched.
    v = {3, 1, 2};
    idx = {9, 8, 7};
    mathcore::quickSort(v.data(), idx.data(), 0);
    mathcore::quickSort(v.data(), static_cast<int32_t *>(nullptr), 3);
    mathcore::quickSort(v.data(), idx.data(), INT32_MIN);
    mathcore::quickSort(static_cast<int32_t *>(nullptr), idx.data(), 3);
    EXPECT_EQ(v, (std::vector<int32_t>{3, 1, 2}));
    EXPECT_EQ(idx, (std::vector<int32_t>{9, 8, 7}));

    // One element: index set, value kept.
    int32_t one = 5, oneIdx = 4;
    mathcore::quickSort(&one, &oneIdx, 1);
    EXPECT_EQ(one, 5);
    EXPECT_EQ(oneIdx, 0);
}

TEST(QuickSort, SignedAndUnsignedBytes) {
    std::vector<int8_t> s{1, -128, 0};
    mathcore::quickSort(s.data(), static_cast<int32_t *>(nullptr), -3);
    EXPECT_EQ(s, (std::vector<int8_t>{-128, 0, 1}));
    std::vector<uint8_t> u{1, 0x80, 0};
    mathcore::quickSort(u.data(), static_cast<int32_t *>(nullptr), -3);
    EXPECT_EQ(u, (std::vector<uint8_t>{0, 1, 0x80}));
}

TEST(QuickSort, EveryElementTypeMatchesTheLiteralRoutine) {
    for (std::size_t n : {2u, 3u, 7u, 64u, 1000u, 20000u}) {
        SCOPED_TRACE(n);
        check_against_literal(random_values<float>(n, 1 + n, -1e3, 1e3));
        check_against_literal(random_values<double>(n, 2 + n, -1e3, 1e3));
        check_against_literal(random_values<int32_t>(n, 3 + n, -2e9, 2e9));
        check_against_literal(random_values<uint32_t>(n, 4 + n, 0, 4e9));
        check_against_literal(random_values<int16_t>(n, 5 + n, -32768, 32767));
        check_against_literal(random_values<uint16_t>(n, 6 + n, 0, 65535));
        check_against_literal(random_values<int8_t>(n, 7 + n, -128, 127));
        check_against_literal(random_values<uint8_t>(n, 8 + n, 0, 255));
    }
}

TEST(QuickSort, OrderedReversedEqualAndFewDistinct) {
    const std::size_t n = 50000;
    std::vector<float> up(n), down(n), equal(n, 2.5f), few(n);
    for (std::size_t k = 0; k < n; ++k) {
        up[k] = static_cast<float>(k);
        down[k] = static_cast<float>(n - k);
        few[k] = static_cast<float>((k * 7919) % 5);
    }
    check_against_literal(up);
    check_against_literal(down);
    check_against_literal(equal);
    check_against_literal(few);
}

TEST(QuickSort, AdversarialInput) {
    std::vector<int32_t> bad = adversarial_input(2000);
    check_against_literal(bad);
    std::vector<int32_t> mirrored(bad.size());
    for (std::size_t k = 0; k < bad.size(); ++k)
        mirrored[k] = -bad[k];
    check_against_literal(mirrored);
}

TEST(QuickSort, StringsByUnsignedBytes) {
    std::string a = "ABC", b = "B", c = "AB", d = "\x80", e = "";
    std::vector<const char *> s{a.c_str(), b.c_str(), d.c_str(), c.c_str(), e.c_str()};
    std::vector<int32_t> idx(s.size());
    mathcore::quickSortStrings(s.data(), idx.data(), static_cast<int32_t>(s.size()));
    ASSERT_EQ(s.size(), 5u);
    EXPECT_STREQ(s[0], "");
    EXPECT_STREQ(s[1], "AB");
    EXPECT_STREQ(s[2], "ABC");
    EXPECT_STREQ(s[3], "B");
    EXPECT_STREQ(s[4], "\x80");
    EXPECT_EQ(idx, (std::vector<int32_t>{4, 3, 0, 1, 2}));
    EXPECT_EQ(s[2], a.c_str());  // pointers moved, strings in place
}

TEST(QuickSort, HalfToEvenPivotIsAValidSortToo) {
    std::vector<float> data = random_values<float>(5000, 77, -1, 1);
    std::vector<float> v = data;
    std::vector<int32_t> idx(v.size());
    mathcore::quickSort(v.data(), idx.data(), static_cast<int32_t>(v.size()), std::less<float>(),
                        mathcore::PivotRule::HalfToEven);
    expect_sorted_permutation(data, v, idx);
}

TEST(QuickSort, NaNDoesNotBreakTheSort) {
    std::vector<float> v = random_values<float>(1000, 9, -1, 1);
    v[10] = v[500] = std::numeric_limits<float>::quiet_NaN();
    std::vector<int32_t> idx(v.size());
    mathcore::quickSort(v.data(), idx.data(), static_cast<int32_t>(v.size()));
    std::vector<char> seen(v.size(), 0);
    for (int32_t k : idx) {
        ASSERT_GE(k, 0);
        ASSERT_LT(k, 1000);
        seen[k] = 1;
    }
    EXPECT_TRUE(std::all_of(seen.begin(), seen.end(), [](char c) { return c == 1; }));
}

// Degenerate input on a thread with a small stack: a sort that recursed into the left part
// would need 8000 nested frames here.
struct StackJob {
    std::vector<int32_t> values;
    std::vector<int32_t> index;
};

void *run_sort(void *arg) {
    auto *job = static_cast<StackJob *>(arg);
    mathcore::quickSort(job->values.data(), job->index.data(),
                        static_cast<int32_t>(job->values.size()));
    return nullptr;
}

TEST(QuickSort, DegenerateInputFitsASmallStack) {
    const std::vector<int32_t> inputs[] = {maximum_at_the_middle(8000), adversarial_input(1000)};
    for (const auto &input : inputs) {
        StackJob job;
        job.values = input;
        job.index.resize(input.size());
        std::vector<int32_t> before = job.values;
        pthread_attr_t attr;
        pthread_attr_init(&attr);
        pthread_attr_setstacksize(&attr, 64 * 1024);
        pthread_t thread;
        ASSERT_EQ(pthread_create(&thread, &attr, run_sort, &job), 0);
        pthread_join(thread, nullptr);
        pthread_attr_destroy(&attr);
        expect_sorted_permutation(before, job.values, job.index);
    }
}

}  // namespace

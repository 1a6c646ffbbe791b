// Quicksort exports of the signal library: the count convention, byte orders, QSortValues as
// QuickSortFloats with its arguments swapped, every type against std::sort with the index array
// checked as the permutation, and an input that degenerates every partition.
#include "sigmora.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

template <typename T> using SortFn = void (*)(T *, int32_t, int32_t *);

template <typename T> void checkExport(SortFn<T> sort, double lo, double hi) {
    std::mt19937 gen(7);
    std::uniform_real_distribution<double> d(lo, hi);
    for (std::size_t n : {1u, 3u, 64u, 2000u}) {
        std::vector<T> data(n);
        for (auto &v : data)
            v = static_cast<T>(d(gen));
        std::vector<T> v = data, ref = data;
        std::vector<int32_t> idx(n, -1);
        sort(v.data(), static_cast<int32_t>(n), idx.data());
        std::sort(ref.begin(), ref.end());
        EXPECT_EQ(v, ref);
        std::vector<char> seen(n, 0);
        for (std::size_t i = 0; i < n; ++i) {
            ASSERT_GE(idx[i], 0);
            ASSERT_LT(static_cast<std::size_t>(idx[i]), n);
            ASSERT_FALSE(seen[idx[i]]);
            seen[idx[i]] = 1;
            ASSERT_EQ(v[i], data[idx[i]]);
        }
    }
}

TEST(QuickSort, EveryElementType) {
    checkExport<uint8_t>(QuickSortBytes, 0, 255);
    checkExport<int8_t>(QuickSortChars, -128, 127);
    checkExport<int16_t>(QuickSortShorts, -32768, 32767);
    checkExport<uint16_t>(QuickSortUShorts, 0, 65535);
    checkExport<int32_t>(QuickSortIntegers, -2e9, 2e9);
    checkExport<uint32_t>(QuickSortUIntegers, 0, 4e9);
    checkExport<int32_t>(QuickSortLongs, -2e9, 2e9);
    checkExport<uint32_t>(QuickSortULongs, 0, 4e9);
    checkExport<float>(QuickSortFloats, -1e3, 1e3);
    checkExport<double>(QuickSortDoubles, -1e3, 1e3);
}

TEST(QuickSort, ExamplesAndCountConvention) {
    float a[3] = {3, 1, 2}, b[3] = {3, 1, 2};
    int32_t ia[3], ib[3];
    QuickSortFloats(a, 3, ia);
    QSortValues(b, ib, 3);
    EXPECT_EQ(std::vector<float>(a, a + 3), (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(std::vector<int32_t>(ia, ia + 3), (std::vector<int32_t>{1, 2, 0}));
    EXPECT_EQ(std::vector<float>(b, b + 3), (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(std::vector<int32_t>(ib, ib + 3), (std::vector<int32_t>{1, 2, 0}));

    float c[3] = {3, 1, 2};
    int32_t keep[3] = {4, 5, 6};
    QSortValues(c, keep, -3);
    EXPECT_EQ(std::vector<float>(c, c + 3), (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(std::vector<int32_t>(keep, keep + 3), (std::vector<int32_t>{4, 5, 6}));
    float d[3] = {3, 1, 2};
    QSortValues(d, keep, 0);
    QSortValues(d, nullptr, 3);
    QuickSortFloats(d, INT32_MIN, nullptr);
    EXPECT_EQ(std::vector<float>(d, d + 3), (std::vector<float>{3, 1, 2}));

    int8_t s[2] = {1, -128};
    QuickSortChars(s, -2, nullptr);
    EXPECT_EQ(s[0], -128);
    uint8_t u[2] = {0x80, 0x01};
    QuickSortBytes(u, -2, nullptr);
    EXPECT_EQ(u[1], 0x80);

    char s1[] = "ABC", s2[] = "B", s3[] = "AB";
    char *strs[] = {s2, s1, s3};
    QuickSortStrings(strs, -3, nullptr);
    EXPECT_STREQ(strs[0], "AB");
    EXPECT_STREQ(strs[1], "ABC");
    EXPECT_STREQ(strs[2], "B");
}

// Every pivot the largest of its part: sorted without a deep stack and correctly.
TEST(QuickSort, DegenerateInput) {
    const int32_t n = 4000;
    std::vector<int32_t> val(n), pos(n);
    for (int32_t k = 0; k < n; ++k)
        pos[k] = k;
    for (int32_t h = n - 1; h > 0; --h) {
        val[pos[h / 2]] = h;
        std::swap(pos[h / 2], pos[h]);
    }
    val[pos[0]] = 0;
    std::vector<float> x(val.begin(), val.end());
    std::vector<int32_t> idx(n);
    QSortValues(x.data(), idx.data(), n);
    for (int32_t k = 0; k < n; ++k) {
        ASSERT_EQ(x[k], static_cast<float>(k));
        ASSERT_EQ(val[idx[k]], k);
    }
}

} // namespace

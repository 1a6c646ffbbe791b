// Quicksort exports: every element type on random, ordered, reversed and equal input with the
// index array checked as the permutation; the count convention; the byte orders; strings; and
// both libraries in one process, each export bound to its own library with equal results.
#include "numora.h"

#include <dlfcn.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

template <typename T> using SortFn = void (*)(T *, int32_t, int32_t *);

template <typename T>
void expectSortedPermutation(const std::vector<T> &before, const std::vector<T> &after,
                             const std::vector<int32_t> &index) {
    std::vector<T> ref = before;
    std::sort(ref.begin(), ref.end());
    EXPECT_EQ(after, ref);
    std::vector<char> seen(before.size(), 0);
    for (std::size_t i = 0; i < after.size(); ++i) {
        ASSERT_GE(index[i], 0);
        ASSERT_LT(static_cast<std::size_t>(index[i]), before.size());
        ASSERT_FALSE(seen[index[i]]);
        seen[index[i]] = 1;
        ASSERT_EQ(after[i], before[index[i]]);
    }
}

template <typename T> void checkExport(SortFn<T> sort, double lo, double hi) {
    std::mt19937 gen(42);
    std::uniform_real_distribution<double> d(lo, hi);
    for (std::size_t n : {1u, 2u, 5u, 100u, 3000u}) {
        std::vector<T> data(n);
        for (auto &v : data)
            v = static_cast<T>(d(gen));
        std::vector<T> inputs[4] = {data, data, data, std::vector<T>(n, static_cast<T>(lo / 2 + hi / 2))};
        std::sort(inputs[1].begin(), inputs[1].end());
        std::sort(inputs[2].rbegin(), inputs[2].rend());
        for (const auto &input : inputs) {
            std::vector<T> v = input;
            std::vector<int32_t> idx(n, -5);
            sort(v.data(), static_cast<int32_t>(n), idx.data());
            expectSortedPermutation(input, v, idx);
            std::vector<T> w = input;
            std::vector<int32_t> keep(n, -5);
            sort(w.data(), -static_cast<int32_t>(n), keep.data());
            EXPECT_EQ(w, v);
            EXPECT_EQ(keep, std::vector<int32_t>(n, -5));
        }
    }
}

TEST(QuickSortExports, EveryElementType) {
    checkExport<uint8_t>(QuickSortBytes, 0, 255);
    checkExport<int8_t>(QuickSortChars, -128, 127);
    checkExport<int16_t>(QuickSortShorts, -32768, 32767);
    checkExport<uint16_t>(QuickSortUShorts, 0, 65535);
    checkExport<int32_t>(QuickSortIntegers, -2e9, 2e9);
    checkExport<uint32_t>(QuickSortUIntegers, 0, 4e9);
    checkExport<int32_t>(QuickSortLongs, -2e9, 2e9);
    checkExport<uint32_t>(QuickSortULongs, 0, 4e9);
    checkExport<float>(QuickSortFloats, -1e6, 1e6);
    checkExport<double>(QuickSortDoubles, -1e6, 1e6);
}

TEST(QuickSortExports, CountConventionAndByteOrders) {
    int32_t v[3] = {3, 1, 2}, idx[3] = {7, 7, 7};
    QuickSortIntegers(v, 3, idx);
    EXPECT_EQ(std::vector<int32_t>(v, v + 3), (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(std::vector<int32_t>(idx, idx + 3), (std::vector<int32_t>{1, 2, 0}));
    int32_t w[3] = {3, 1, 2}, keep[3] = {7, 8, 9};
    QuickSortIntegers(w, -3, keep);
    EXPECT_EQ(std::vector<int32_t>(w, w + 3), (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(std::vector<int32_t>(keep, keep + 3), (std::vector<int32_t>{7, 8, 9}));
    QuickSortIntegers(w, -3, nullptr);

    int32_t u[3] = {3, 1, 2};
    QuickSortIntegers(u, 3, nullptr);  // no index where one is required: nothing done
    QuickSortIntegers(u, INT32_MIN, nullptr);
    QuickSortIntegers(u, 0, keep);
    QuickSortIntegers(nullptr, 3, keep);
    EXPECT_EQ(std::vector<int32_t>(u, u + 3), (std::vector<int32_t>{3, 1, 2}));
    EXPECT_EQ(std::vector<int32_t>(keep, keep + 3), (std::vector<int32_t>{7, 8, 9}));

    int8_t c[2] = {1, -128};
    QuickSortChars(c, -2, nullptr);
    EXPECT_EQ(c[0], -128);
    uint8_t b[2] = {0x80, 0x01};
    QuickSortBytes(b, -2, nullptr);
    EXPECT_EQ(b[0], 0x01);
    EXPECT_EQ(b[1], 0x80);
}

TEST(QuickSortExports, Strings) {
    char s1[] = "ABC", s2[] = "B", s3[] = "AB";
    char *s[] = {s1, s2, s3};
    int32_t idx[3];
    QuickSortStrings(s, 3, idx);
    EXPECT_STREQ(s[0], "AB");
    EXPECT_STREQ(s[1], "ABC");
    EXPECT_STREQ(s[2], "B");
    EXPECT_EQ(s[1], s1);
    EXPECT_EQ(std::vector<int32_t>(idx, idx + 3), (std::vector<int32_t>{2, 0, 1}));
}

// Both libraries in one process: each name resolved in a library belongs to that library, and
// the two give the same elements and index arrays (one shared routine).
TEST(QuickSortExports, BothLibrariesInOneProcess) {
    const std::filesystem::path other =
        std::filesystem::path(NUMORA_LIBRARY_PATH).parent_path() / "libsigmora.so";
    if (!std::filesystem::exists(other))
        GTEST_SKIP() << "libsigmora.so is not built next to libnumora.so";
    void *sig = dlopen(other.c_str(), RTLD_NOW | RTLD_GLOBAL);
    ASSERT_NE(sig, nullptr) << dlerror();
    const char *names[] = {"QuickSortBytes", "QuickSortChars", "QuickSortShorts",
                           "QuickSortUShorts", "QuickSortIntegers", "QuickSortUIntegers",
                           "QuickSortLongs", "QuickSortULongs", "QuickSortFloats",
                           "QuickSortDoubles", "QuickSortStrings"};
    for (const char *name : names) {
        void *mine = reinterpret_cast<void *>(&QuickSortFloats);
        if (std::strcmp(name, "QuickSortFloats") != 0)
            mine = dlsym(RTLD_DEFAULT, name);
        void *theirs = dlsym(sig, name);
        ASSERT_NE(mine, nullptr) << name;
        ASSERT_NE(theirs, nullptr) << name;
        EXPECT_NE(mine, theirs) << name;
        Dl_info a{}, b{};
        ASSERT_NE(dladdr(mine, &a), 0);
        ASSERT_NE(dladdr(theirs, &b), 0);
        EXPECT_NE(std::string(a.dli_fname).find("libnumora"), std::string::npos) << name;
        EXPECT_NE(std::string(b.dli_fname).find("libsigmora"), std::string::npos) << name;
    }
    auto sigFloats = reinterpret_cast<SortFn<float>>(dlsym(sig, "QuickSortFloats"));
    auto sigValues = reinterpret_cast<void (*)(float *, int32_t *, int32_t)>(dlsym(sig, "QSortValues"));
    ASSERT_NE(sigValues, nullptr);
    std::mt19937 gen(3);
    std::uniform_int_distribution<int> d(0, 300);  // many equal values: the index order shows
    std::vector<float> data(5000);
    for (auto &v : data)
        v = static_cast<float>(d(gen));
    std::vector<float> a = data, b = data, c = data;
    std::vector<int32_t> ia(data.size()), ib(data.size()), ic(data.size());
    QuickSortFloats(a.data(), static_cast<int32_t>(a.size()), ia.data());
    sigFloats(b.data(), static_cast<int32_t>(b.size()), ib.data());
    sigValues(c.data(), ic.data(), static_cast<int32_t>(c.size()));
    expectSortedPermutation(data, a, ia);
    EXPECT_EQ(a, b);
    EXPECT_EQ(ia, ib);
    EXPECT_EQ(ia, ic);
    dlclose(sig);
}

} // namespace

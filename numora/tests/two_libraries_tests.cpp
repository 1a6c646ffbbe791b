// Both libraries in one process: the exports they share by name (MatInv, MatDet, EQRoots,
// ChebyFit) each behave as their own library's, and the numerics library's own callers
// (LinearProgram, EQRoots) keep using its own routines with the signal library loaded first
// into the global scope.
#include "numora.h"

#include "testsupport/exports.h"
#include "testsupport/fresh_library.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using NMatInv = int32_t (*)(float *, int32_t);
using NMatDet = float (*)(const float *, int32_t);
using NEQRoots = int32_t (*)(const float *, int32_t, float *, float *, int32_t);
using NChebyFit = int32_t (*)(const float *, const float *, int32_t, float *, int32_t);
using NLinearProgram = int32_t (*)(const float *, const float *, const float *, int32_t, int32_t, float *);
using NGetCode = int32_t (*)();
using NSetCode = int32_t (*)(int32_t);
using SMatInv = int32_t (*)(float *, int32_t);
using SMatDet = double (*)(float *, int32_t);
using SEQRoots = int32_t (*)(const double *, int32_t, double *, double *, double, int32_t);
using SChebyFit = int32_t (*)(const float *, const float *, int32_t, float *, int32_t);

// The signal library is built next to the numerics library.
std::string signalLibraryPath() {
    return (std::filesystem::path(NUMORA_LIBRARY_PATH).parent_path() / "libsigmora.so").string();
}

std::string signalHeaderPath() {
    return (std::filesystem::path(NUMORA_HEADER_PATH).parent_path().parent_path().parent_path() / "sigmora" /
            "include" / "sigmora.h")
        .string();
}

// Symbol names of the library's dynamic relocations (readelf -r): a call of an export through
// its exported name would show up here as a relocation against that name.
std::set<std::string> relocatedSymbols(const std::string &library) {
    std::set<std::string> names;
    FILE *p = popen(("readelf --relocs --wide '" + library + "'").c_str(), "r");
    if (!p) return names;
    char line[1024];
    while (std::fgets(line, sizeof line, p)) {
        // Entries end with "<value> <name> + <addend>"; the name is the word before "+".
        std::string text(line);
        const std::size_t plus = text.rfind(" + ");
        if (plus == std::string::npos) continue;
        const std::size_t start = text.rfind(' ', plus - 1);
        std::string name = text.substr(start + 1, plus - start - 1);
        const std::size_t at = name.find('@');
        names.insert(at == std::string::npos ? name : name.substr(0, at));
    }
    pclose(p);
    return names;
}

TEST(LibraryBinding, NoExportIsCalledThroughItsExportedName) {
    const struct {
        std::string library, header, macro;
    } libs[] = {{NUMORA_LIBRARY_PATH, NUMORA_HEADER_PATH, "NUMORA_API"},
                {signalLibraryPath(), signalHeaderPath(), "SIGMORA_API"}};
    for (const auto &lib : libs) {
        const std::set<std::string> exports = testsupport::declaredExports(lib.header, lib.macro);
        ASSERT_TRUE(exports.count("MatInv")) << lib.header;
        const std::set<std::string> relocated = relocatedSymbols(lib.library);
        ASSERT_FALSE(relocated.empty()) << "readelf gave nothing for " << lib.library;
        for (const std::string &name : exports)
            EXPECT_FALSE(relocated.count(name)) << lib.library << " binds " << name << " at run time";
    }
}

class TwoLibraries : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(std::filesystem::exists(signalLibraryPath())) << "build libsigmora.so first";
        // The signal library enters the global scope first, where it could capture the
        // numerics library's calls by name if they were not bound inside the library.
        sigmora_ = dlopen(signalLibraryPath().c_str(), RTLD_NOW | RTLD_GLOBAL);
        ASSERT_NE(sigmora_, nullptr) << dlerror();
        numora_ = std::make_unique<FreshLibrary>(NUMORA_LIBRARY_PATH);
        ASSERT_TRUE(numora_->loaded());
    }
    void TearDown() override {
        numora_.reset();
        if (sigmora_) dlclose(sigmora_);
    }
    template <class Fn>
    Fn s(const char *name) {
        return reinterpret_cast<Fn>(dlsym(sigmora_, name));
    }
    template <class Fn>
    Fn n(const char *name) {
        return numora_->symbol<Fn>(name);
    }

    void *sigmora_ = nullptr;
    std::unique_ptr<FreshLibrary> numora_;
};

TEST_F(TwoLibraries, SameNamesAreDifferentFunctions) {
    for (const char *name : {"MatInv", "MatDet", "EQRoots", "ChebyFit"}) {
        void *a = dlsym(sigmora_, name);
        void *b = numora_->symbol<void *>(name);
        ASSERT_NE(a, nullptr) << name;
        ASSERT_NE(b, nullptr) << name;
        EXPECT_NE(a, b) << name;
    }
}

TEST_F(TwoLibraries, InverseAndDeterminantKeepTheirOwnConventions) {
    auto getCode = n<NGetCode>("getErrorCode");
    auto setCode = n<NSetCode>("setErrorCode");
    auto nInv = n<NMatInv>("MatInv");
    auto sInv = s<SMatInv>("MatInv");
    auto nDet = n<NMatDet>("MatDet");
    auto sDet = s<SMatDet>("MatDet");
    ASSERT_TRUE(getCode && setCode && nInv && sInv && nDet && sDet);
    std::vector<float> singular = {1, 2, 2, 4};
    setCode(0);
    EXPECT_EQ(sInv(singular.data(), 2), 0);
    EXPECT_EQ(getCode(), 0);  // the signal library sets no code
    EXPECT_EQ(nInv(singular.data(), 2), 0);
    EXPECT_EQ(getCode(), NUMORA_ERR_SINGULAR);
    std::vector<float> a = {2, 1, 1, 1};
    ASSERT_EQ(nInv(a.data(), 2), 1);
    EXPECT_EQ(a, (std::vector<float>{1, -1, -1, 2}));
    ASSERT_EQ(sInv(a.data(), 2), 1);
    EXPECT_NEAR(a[0], 2.0f, 1e-6);
    EXPECT_NEAR(a[1], 1.0f, 1e-6);
    // The numerics library's determinant leaves its input, the signal library's eliminates it.
    std::vector<float> d = {1, 2, 3, 4};
    EXPECT_FLOAT_EQ(nDet(d.data(), 2), -2.0f);
    EXPECT_EQ(d, (std::vector<float>{1, 2, 3, 4}));
    EXPECT_DOUBLE_EQ(sDet(d.data(), 2), -2.0);
    EXPECT_NE(d, (std::vector<float>{1, 2, 3, 4}));
}

TEST_F(TwoLibraries, RootsAndMinimaxFitsOfEach) {
    auto nRoots = n<NEQRoots>("EQRoots");
    auto sRoots = s<SEQRoots>("EQRoots");
    ASSERT_TRUE(nRoots && sRoots);
    const std::vector<float> fa = {-1, 0, 0, 1};
    std::vector<float> fr(3), fi(3);
    ASSERT_EQ(nRoots(fa.data(), 3, fr.data(), fi.data(), 60), 1);
    const std::vector<double> da = {-1, 0, 0, 1};
    std::vector<double> dr(3), di(3);
    ASSERT_EQ(sRoots(da.data(), 3, dr.data(), di.data(), 1e-14, 60), 1);
    std::sort(fi.begin(), fi.end());
    std::sort(di.begin(), di.end());
    EXPECT_NEAR(fi[2], std::sqrt(3.0) / 2.0, 1e-5);
    EXPECT_NEAR(di[2], std::sqrt(3.0) / 2.0, 1e-13);  // double precision
    auto nFit = n<NChebyFit>("ChebyFit");
    auto sFit = s<SChebyFit>("ChebyFit");
    ASSERT_TRUE(nFit && sFit);
    std::vector<float> x(101), y(101);
    for (int i = 0; i <= 100; ++i) {
        x[i] = 0.01f * i;
        y[i] = x[i] * x[i];
    }
    std::vector<float> na(3), sa(3);
    ASSERT_EQ(nFit(x.data(), y.data(), 101, na.data(), 2), 1);
    ASSERT_EQ(sFit(x.data(), y.data(), 101, sa.data(), 2), 1);
    for (const auto &a : {na, sa}) {
        EXPECT_NEAR(a[0], -0.125f, 1e-4);
        EXPECT_NEAR(a[1], 1.0f, 1e-4);
    }
}

TEST_F(TwoLibraries, LinearProgramUsesItsOwnInverse) {
    auto lp = n<NLinearProgram>("LinearProgram");
    auto getCode = n<NGetCode>("getErrorCode");
    ASSERT_TRUE(lp && getCode);
    // max 3x + 5y: x <= 4, 2y <= 12, 3x + 2y <= 18; optimum (2, 6), value 36.
    const std::vector<float> a = {1, 0, 1, 0, 0, 0, 2, 0, 1, 0, 3, 2, 0, 0, 1};
    const std::vector<float> b = {4, 12, 18}, c = {-3, -5, 0, 0, 0};
    std::vector<float> x(5);
    ASSERT_EQ(lp(a.data(), b.data(), c.data(), 3, 2, x.data()), 1);
    EXPECT_NEAR(x[0], 2.0f, 1e-5);
    EXPECT_NEAR(x[1], 6.0f, 1e-5);
    EXPECT_NEAR(x[2], -36.0f, 1e-4);
    EXPECT_EQ(getCode(), 0);
}

}  // namespace

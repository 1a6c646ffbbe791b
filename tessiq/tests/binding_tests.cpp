// Binding of the libraries at the first call: a copy of the plugin in a folder of its own,
// so what lies beside it is under the test's control. Each test runs in a process of its own
// under CTest, so no earlier test has loaded the signal library already.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "automation/host.h"
#include "helpers.h"
#include "tessiq/dispids.h"

using namespace automation;
using tessiq_test::errorOf;
using tessiq_test::fromZero;
namespace d = tessiq::dispid;
namespace fs = std::filesystem;

namespace {

// A fresh folder holding a copy of libtessiq.so (and of the forms library it needs), registered
// as the control's library.
class PluginCopy : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "tessiq-binding-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        fs::copy_file(fs::path(programFolder()) / "libtessiq.so", folder / "libtessiq.so");
        fs::copy_file(fs::path(programFolder()) / "libforms.so", folder / "libforms.so");
        registerProgId("TessiqLib.Tessiq", (folder / "libtessiq.so").string());
        dsp = ControlHandle::create("TessiqLib.Tessiq");
    }
    void TearDown() override {
        dsp.reset();
        registerProgId("TessiqLib.Tessiq", "libtessiq.so");
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    void place(const fs::path &from, const char *as) { fs::copy_file(from, folder / as); }
    // The library search path finds a library that is already loaded under its name, so a
    // test of a missing library needs a process that has not loaded one yet.
    static bool signalLibraryLoaded() {
        void *h = dlopen("libsigmora.so", RTLD_NOW | RTLD_NOLOAD);
        if (h) dlclose(h);
        return h != nullptr;
    }

    fs::path folder;
    ControlHandle dsp;
};

}  // namespace

TEST_F(PluginCopy, MissingLibraryFailsUntilItIsPutInPlace) {
    if (signalLibraryLoaded()) GTEST_SKIP() << "needs a process of its own (as under CTest)";
    SafeArray x = SafeArray::ofFloats({3, 1, 2});
    int32_t pos = 77;
    EXPECT_EQ(errorOf([&] { dsp.call(d::b_Min, x, int32_t(3), pos); }), err::DllLoad);
    EXPECT_EQ(errorOf([&] { dsp.call(d::b_Min, x, int32_t(3), pos); }), err::DllLoad);  // tried again
    EXPECT_EQ(pos, 77);
    EXPECT_EQ(x.lockCount(), 0);
    place(fs::path(programFolder()) / "libsigmora.so", "libsigmora.so");
    EXPECT_EQ(dsp.call(d::b_Min, x, int32_t(3), pos).toR4(), 1.0f);  // same instance
    EXPECT_EQ(pos, 1);
    EXPECT_EQ(dsp.call(d::b_Max, x, int32_t(3), pos).toR4(), 3.0f);
}

TEST_F(PluginCopy, ArraysAreCheckedBeforeTheLibraryIsLoaded) {
    if (signalLibraryLoaded()) GTEST_SKIP() << "needs a process of its own (as under CTest)";
    SafeArray re = SafeArray::ofFloats({1, 0, 0, 0});
    SafeArray im = SafeArray::ofFloats({0, 0});
    EXPECT_EQ(errorOf([&] { dsp.call(d::d_stFFT, re, im, int32_t(4), int32_t(0)); }),
              err::SubscriptOutOfRange);
    SafeArray im4 = SafeArray::ofFloats({0, 0, 0, 0});
    EXPECT_EQ(errorOf([&] { dsp.call(d::d_stFFT, re, im4, int32_t(4), int32_t(0)); }), err::DllLoad);
    EXPECT_EQ(fromZero(re), std::vector<float>({1, 0, 0, 0}));
}

TEST_F(PluginCopy, WaveletWithoutLibraryLeavesTheDataAlone) {
    if (signalLibraryLoaded()) GTEST_SKIP() << "needs a process of its own (as under CTest)";
    SafeArray x = SafeArray::ofFloats(std::vector<float>(8, 1.0f));
    EXPECT_EQ(errorOf([&] { dsp.call(d::d_stDWaveletT, x, int32_t(8), int32_t(4), int32_t(0)); }),
              err::DllLoad);
    EXPECT_EQ(fromZero(x), std::vector<float>(8, 1.0f));
    EXPECT_EQ(x.lockCount(), 0);
    place(fs::path(programFolder()) / "libsigmora.so", "libsigmora.so");
    dsp.call(d::d_stDWaveletT, x, int32_t(8), int32_t(4), int32_t(0));
    EXPECT_NEAR(x.r4(0), 2.0f, 1e-5);
    EXPECT_NEAR(x.r4(2), 0.0f, 1e-5);
}

TEST_F(PluginCopy, MissingExportFailsWith453EveryTime) {
    place(TESSIQ_FIXTURE_LIBRARY, "libsigmora.so");
    SafeArray x = SafeArray::ofFloats(std::vector<float>(8, 1.0f));
    int32_t pos = 77;
    EXPECT_EQ(errorOf([&] { dsp.call(d::b_Max, x, int32_t(8), pos); }), err::EntryPointNotFound);
    EXPECT_EQ(errorOf([&] { dsp.call(d::b_Max, x, int32_t(8), pos); }), err::EntryPointNotFound);
    EXPECT_EQ(errorOf([&] { dsp.call(d::d_stDWaveletT, x, int32_t(8), int32_t(4), int32_t(0)); }),
              err::EntryPointNotFound);
    EXPECT_EQ(fromZero(x), std::vector<float>(8, 1.0f));
    EXPECT_EQ(pos, 77);
}

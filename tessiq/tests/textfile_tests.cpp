// The plain-text matrix files of the DSP control: the writer's bytes, field counting and value
// parsing as plain functions, and c_WriteTXT / c_ReadTXTInfo / c_ReadTXT through the control.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>

#include "automation/host.h"
#include "control.h"
#include "helpers.h"
#include "tessiq/dispids.h"
#include "textfiles.h"

using namespace automation;
using namespace tessiq::textfiles;
using tessiq_test::errorOf;
using tessiq_test::fromZero;
namespace d = tessiq::dispid;
namespace fs = std::filesystem;

namespace {

class TextFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "tessiq-text-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    std::string path(const char *name) const { return (folder / name).string(); }
    std::string write(const char *name, const std::string &bytes) const {
        std::ofstream(path(name), std::ios::binary) << bytes;
        return path(name);
    }
    static std::string bytesOf(const std::string &file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path folder;
    ControlHandle dsp{std::make_unique<tessiq::Tessiq>()};
};

}  // namespace

TEST(TextValues, WholeNumbersRoundHalfToEven) {
    EXPECT_EQ(valueText(1.5f, 0), " 2 ");
    EXPECT_EQ(valueText(2.5f, 0), " 2 ");
    EXPECT_EQ(valueText(-3.5f, 0), "-4 ");
    EXPECT_EQ(valueText(-0.4f, 0), " 0 ");
    EXPECT_EQ(valueText(32767.0f, 0), " 32767 ");
    EXPECT_EQ(valueText(-32768.0f, 0), "-32768 ");
    EXPECT_EQ(valueText(40000.0f, 0), " 40000 ");  // beyond 16 bits: the general text, not lost
}

TEST(TextValues, FixedFourDecimals) {
    EXPECT_EQ(valueText(1.5f, 1), "0001.5000 ");
    EXPECT_EQ(valueText(-12.25f, 1), "-0012.2500 ");
    EXPECT_EQ(valueText(12345.678f, 1), "12345.6777 ");  // the single is 12345.677734375
    EXPECT_EQ(valueText(0.03125f, 1), "0000.0313 ");     // an exact half rounds away from zero
    EXPECT_EQ(valueText(0.0f, 1), "0000.0000 ");
}

TEST(TextValues, GeneralSingleText) {
    EXPECT_EQ(valueText(0.25f, 2), " .25 ");
    EXPECT_EQ(valueText(-0.5f, 7), "-.5 ");
    EXPECT_EQ(valueText(3.0f, -1), " 3 ");
    EXPECT_EQ(valueText(1234567.0f, 2), " 1234567 ");
    EXPECT_EQ(valueText(12345678.0f, 2), " 1.234568E+07 ");
    EXPECT_EQ(valueText(0.0001f, 2), " .0001 ");
    EXPECT_EQ(valueText(0.00001f, 2), " 1E-05 ");
    EXPECT_EQ(valueText(1.0f / 3, 2), " .3333333 ");
}

TEST(TextFields, SeparatorRunsCountOnceUnlessTheyEndTheLine) {
    EXPECT_EQ(fieldCount("1 2 3"), 3);
    EXPECT_EQ(fieldCount("4,5"), 2);
    EXPECT_EQ(fieldCount("1,2,"), 3);
    EXPECT_EQ(fieldCount("1,2,,"), 4);
    EXPECT_EQ(fieldCount("1 , ,2"), 2);
    EXPECT_EQ(fieldCount("7"), 1);
    EXPECT_EQ(parseValues("1 2 3", 2), std::vector<float>({1, 2}));
    EXPECT_EQ(parseValues("1,2,", 5), std::vector<float>({1, 2, 0}));
    EXPECT_EQ(parseValues("1,2,,", 5), std::vector<float>({1, 2, 0, 0}));
    EXPECT_EQ(parseValues("1 ,, 2.5e1x", 5), std::vector<float>({1, 25}));
    EXPECT_EQ(parseValues("a b", 5), std::vector<float>({0, 0}));
    EXPECT_EQ(leadingNumber("-1.5e3x"), -1500.0);
    EXPECT_EQ(leadingNumber(".5"), 0.5);
    EXPECT_EQ(leadingNumber("12abc"), 12.0);
    EXPECT_EQ(leadingNumber("1e"), 1.0);
    EXPECT_EQ(leadingNumber("2D2"), 200.0);
    EXPECT_EQ(leadingNumber("-"), 0.0);
    EXPECT_EQ(leadingNumber(""), 0.0);
}

TEST_F(TextFiles, WrittenByteForByte) {
    SafeArray vals = SafeArray::ofFloats({1.5f, 2.5f, -1, 0.25f});
    EXPECT_EQ(dsp.call(d::c_WriteTXT, path("a.txt"), 2, 2, vals, 0).toI4(), 1);
    EXPECT_EQ(bytesOf(path("a.txt")), " 2  2 \r\n-1  0 \r\n");
    EXPECT_EQ(dsp.call(d::c_WriteTXT, path("b.txt"), 1, 4, vals, 1).toI4(), 1);
    EXPECT_EQ(bytesOf(path("b.txt")), "0001.5000 0002.5000 -0001.0000 0000.2500 \r\n");
    EXPECT_EQ(dsp.call(d::c_WriteTXT, path("c.txt"), 2, 2, vals, 5).toI4(), 1);
    EXPECT_EQ(bytesOf(path("c.txt")), " 1.5  2.5 \r\n-1  .25 \r\n");
    // Replacing a longer file leaves nothing of it.
    EXPECT_EQ(dsp.call(d::c_WriteTXT, path("c.txt"), 1, 1, vals, 0).toI4(), 1);
    EXPECT_EQ(bytesOf(path("c.txt")), " 2 \r\n");
    EXPECT_EQ(dsp.call(d::c_WriteTXT, path("none/x.txt"), 1, 1, vals, 0).toI4(), 0);
    // A full disk is a failed write, and rows without columns write nothing (not 2^31 empty lines).
    EXPECT_EQ(dsp.call(d::c_WriteTXT, std::string("/dev/full"), 2, 2, vals, 0).toI4(), 0);
    EXPECT_EQ(dsp.call(d::c_WriteTXT, path("e.txt"), INT32_MAX, 0, vals, 0).toI4(), 1);
    EXPECT_EQ(std::filesystem::file_size(path("e.txt")), 0u);
    // Values beyond the array are refused before the file is created.
    EXPECT_EQ(errorOf([&] { dsp.call(d::c_WriteTXT, path("d.txt"), 3, 2, vals, 0); }),
              err::SubscriptOutOfRange);
    EXPECT_FALSE(fs::exists(path("d.txt")));
}

TEST_F(TextFiles, InfoCountsLinesAndTheWidestRow) {
    std::string f = write("m.txt", "1 2 3\r\n\r\n   \r\n4,5\r\n");
    int32_t rows = -1, cols = -1;
    EXPECT_EQ(dsp.call(d::c_ReadTXTInfo, f, rows, cols).toI4(), 1);
    EXPECT_EQ(rows, 2);
    EXPECT_EQ(cols, 3);
    std::string lf = write("lf.txt", "  1,2,\n7\n");  // LF alone ends a line too
    EXPECT_EQ(dsp.call(d::c_ReadTXTInfo, lf, rows, cols).toI4(), 1);
    EXPECT_EQ(rows, 2);
    EXPECT_EQ(cols, 3);
    rows = cols = 77;
    EXPECT_EQ(dsp.call(d::c_ReadTXTInfo, path("missing.txt"), rows, cols).toI4(), 0);
    EXPECT_EQ(rows, 77);
    EXPECT_EQ(cols, 77);
    std::string empty = write("e.txt", "");
    EXPECT_EQ(dsp.call(d::c_ReadTXTInfo, empty, rows, cols).toI4(), 1);
    EXPECT_EQ(rows, 0);
    EXPECT_EQ(cols, 0);
}

TEST_F(TextFiles, ReadStoresRowsAndTheirRange) {
    std::string f = write("m.txt", "1 2 3\r\n\r\n-4\r\n9,8\r\n");
    SafeArray buffer = SafeArray::ofFloats(std::vector<float>(6, -7.0f));
    float lo = 99, hi = 99;
    EXPECT_EQ(dsp.call(d::c_ReadTXT, f, 3, 2, buffer, lo, hi).toI4(), 1);
    EXPECT_EQ(fromZero(buffer), std::vector<float>({1, 2, -4, -7, 9, 8}));  // a short row keeps the rest
    EXPECT_EQ(lo, -4.0f);
    EXPECT_EQ(hi, 9.0f);
    SafeArray two = SafeArray::ofFloats({0, 0, 0, 0});
    EXPECT_EQ(dsp.call(d::c_ReadTXT, f, 1, 4, two, lo, hi).toI4(), 1);
    EXPECT_EQ(fromZero(two), std::vector<float>({1, 2, 3, 0}));
    EXPECT_EQ(lo, 1.0f);
    EXPECT_EQ(hi, 3.0f);
    // Counts beyond the buffer are refused before the file is read.
    SafeArray small = SafeArray::ofFloats({5, 5, 5});
    EXPECT_EQ(errorOf([&] { dsp.call(d::c_ReadTXT, f, 2, 2, small, lo, hi); }), err::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { dsp.call(d::c_ReadTXT, f, 65536, 65536, small, lo, hi); }),
              err::SubscriptOutOfRange);
    EXPECT_EQ(fromZero(small), std::vector<float>({5, 5, 5}));
    lo = hi = 42;
    EXPECT_EQ(dsp.call(d::c_ReadTXT, path("missing.txt"), 1, 1, small, lo, hi).toI4(), 0);
    EXPECT_EQ(lo, 42.0f);
}

TEST_F(TextFiles, WhatIsWrittenReadsBack) {
    std::mt19937 gen(5);
    std::uniform_real_distribution<float> dist(-500, 500);
    std::vector<float> v(7 * 5);
    for (float &x : v) x = dist(gen);
    SafeArray vals = SafeArray::ofFloats(v);
    ASSERT_EQ(dsp.call(d::c_WriteTXT, path("r.txt"), 7, 5, vals, 1).toI4(), 1);
    int32_t rows = 0, cols = 0;
    ASSERT_EQ(dsp.call(d::c_ReadTXTInfo, path("r.txt"), rows, cols).toI4(), 1);
    EXPECT_EQ(rows, 7);
    EXPECT_EQ(cols, 5);  // the blank after the last value is trimmed off
    SafeArray back = SafeArray::ofFloats(std::vector<float>(35, 0));
    float lo = 0, hi = 0;
    ASSERT_EQ(dsp.call(d::c_ReadTXT, path("r.txt"), 7, 5, back, lo, hi).toI4(), 1);
    for (int i = 0; i < 35; ++i) EXPECT_NEAR(back.r4(i), v[i], 5.1e-5) << i;
    EXPECT_NEAR(lo, *std::min_element(v.begin(), v.end()), 1e-4);
    EXPECT_NEAR(hi, *std::max_element(v.begin(), v.end()), 1e-4);
}

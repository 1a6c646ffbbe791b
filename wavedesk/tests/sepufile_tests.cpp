// Tests of the .sepu procedures, without a window.
#include <gtest/gtest.h>

#include <QFile>
#include <cmath>
#include <limits>
#include <vector>

#include "automation/host.h"
#include "sepufile.h"
#include "testfiles.h"

namespace wavedesk {
namespace {

using test::TempFolder;

std::vector<float> load(const QString &file, int32_t capacity = 100) {
    std::vector<float> buffer(static_cast<std::size_t>(capacity), -999.0f);
    const int32_t n = LoadSepuValues(file, buffer.data(), capacity);
    buffer.resize(static_cast<std::size_t>(std::max(n, 0)));
    return buffer;
}

// --- reading -------------------------------------------------------------------------------

TEST(SepuRead, HostileSpellingsOfNumbers) {
    TempFolder dir;
    // Too small for a double is 0 and reading goes on; a doubled sign is not a number.
    EXPECT_EQ(load(dir.write("tiny.sepu", "1000\r\n1e-400\r\n2000\r\n")), (std::vector<float>{1, 0, 2}));
    EXPECT_EQ(load(dir.write("signs.sepu", "1000\r\n+-30\r\n2000\r\n")), (std::vector<float>{1}));
    EXPECT_EQ(load(dir.write("plus.sepu", "+1000\r\n-2000\r\n")), (std::vector<float>{1, -2}));
    EXPECT_EQ(load(dir.write("huge.sepu", "1000\r\n1e400\r\n2000\r\n")), (std::vector<float>{1}));
    // A UTF-8 byte-order mark before the first value.
    EXPECT_EQ(load(dir.write("bom.sepu",
                             "\xEF\xBB\xBF"
                             "1000\r\n2000\r\n")),
              (std::vector<float>{1, 2}));
}

TEST(SepuRead, ValuesAreMicrovoltsReadAsMillivolts) {
    TempFolder dir;
    EXPECT_EQ(load(dir.writeLines("a.sepu", {500, -1250, 0, 2147483647})),
              (std::vector<float>{0.5f, -1.25f, 0.0f, static_cast<float>(2147483647 / 1000.0)}));
}

TEST(SepuRead, AcceptsLineEndsCommasBlanksAndTabs) {
    TempFolder dir;
    const QString file = dir.write("a.sepu", "1000\r\n2000\n3000,4000, 5000  6000\t7000\r\r,,8000");
    EXPECT_EQ(load(file), (std::vector<float>{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(SepuRead, LastValueNeedsNoLineEnd) {
    TempFolder dir;
    EXPECT_EQ(load(dir.write("a.sepu", "1000\r\n-2000")), (std::vector<float>{1, -2}));
}

TEST(SepuRead, DecimalsRoundToWholeMicrovoltsHalfToEven) {
    TempFolder dir;
    const QString file = dir.write("a.sepu", "499.99997 1.4 1.6 2.5 3.5 -2.5 +7 1e3 .5");
    EXPECT_EQ(load(file),
              (std::vector<float>{0.5f, 0.001f, 0.002f, 0.002f, 0.004f, -0.002f, 0.007f, 1.0f, 0.0f}));
}

TEST(SepuRead, StopsAtTheFirstItemThatIsNotANumber) {
    TempFolder dir;
    EXPECT_EQ(load(dir.write("a.sepu", "1000\r\n2000\r\nabc\r\n4000\r\n")), (std::vector<float>{1, 2}));
    EXPECT_EQ(load(dir.write("b.sepu", "1000 12x 3000")), (std::vector<float>{1}));
    EXPECT_EQ(load(dir.write("c.sepu", "1000 nan inf")), (std::vector<float>{1}));
    EXPECT_EQ(load(dir.write("d.sepu", "1000 0x10")), (std::vector<float>{1}));
    EXPECT_EQ(load(dir.write("e.sepu", "1000 - 2000")), (std::vector<float>{1}));
}

TEST(SepuRead, StopsAtAValueBeyondThirtyTwoBits) {
    TempFolder dir;
    EXPECT_EQ(load(dir.write("a.sepu", "-2147483648 2147483648 5")),
              (std::vector<float>{static_cast<float>(-2147483648.0 / 1000.0)}));
    EXPECT_EQ(load(dir.write("b.sepu", "1 1e300")), (std::vector<float>{0.001f}));
}

TEST(SepuRead, StoresAtMostCapacityValues) {
    TempFolder dir;
    const QString file = dir.writeLines("a.sepu", {1000, 2000, 3000, 4000, 5000});
    EXPECT_EQ(load(file, 3), (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(load(file, 5).size(), 5u);
    float one = 0;
    EXPECT_EQ(LoadSepuValues(file, &one, 1), 1);
    EXPECT_EQ(one, 1.0f);
}

TEST(SepuRead, NothingToReadGivesZero) {
    TempFolder dir;
    float buffer[4] = {};
    EXPECT_EQ(LoadSepuValues(dir.path("missing.sepu"), buffer, 4), 0);
    EXPECT_EQ(LoadSepuValues(dir.write("empty.sepu", ""), buffer, 4), 0);
    EXPECT_EQ(LoadSepuValues(dir.write("blank.sepu", " \r\n,\r\n"), buffer, 4), 0);
    EXPECT_EQ(LoadSepuValues(dir.path(""), buffer, 4), 0);  // the folder itself
    const QString file = dir.writeLines("a.sepu", {1000});
    EXPECT_EQ(LoadSepuValues(file, nullptr, 4), 0);
    EXPECT_EQ(LoadSepuValues(file, buffer, 0), 0);
    EXPECT_EQ(LoadSepuValues(file, buffer, -5), 0);
}

TEST(SepuRead, BinaryFileEndsAtItsFirstNonNumber) {
    TempFolder dir;
    std::string bytes = "123\r\n";
    for (int i = 0; i < 200000; ++i) bytes.push_back(static_cast<char>((i * 7919) % 256));
    EXPECT_EQ(load(dir.write("bin.sepu", bytes)), (std::vector<float>{0.123f}));
    // One endless item without separators is refused without being collected.
    EXPECT_TRUE(load(dir.write("digits.sepu", std::string(1 << 20, '7'))).empty());
}

TEST(SepuRead, HugeSparseFileIsNotReadToItsEnd) {
    TempFolder dir;
    QFile file(dir.path("huge.sepu"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("42\r\n");
    ASSERT_TRUE(file.resize(qint64(5) << 30));  // 5 GiB, nearly all zero bytes (sparse)
    file.close();
    EXPECT_EQ(load(file.fileName()), (std::vector<float>{0.042f}));
    EXPECT_EQ(SepuCapacity(file.size()), kMaxPoints);
}

TEST(SepuRead, CapacityFollowsTheFileLengthUpToTheLimit) {
    EXPECT_EQ(SepuCapacity(-1), 0);
    EXPECT_EQ(SepuCapacity(0), 0);
    EXPECT_EQ(SepuCapacity(1), 1);
    EXPECT_EQ(SepuCapacity(16383), 16383);
    EXPECT_EQ(SepuCapacity(16385), kMaxPoints);
    EXPECT_EQ(SepuCapacity(int64_t(1) << 40), kMaxPoints);
}

// --- writing -------------------------------------------------------------------------------

TEST(SepuWrite, OneValueTimesThousandPerCrLfLine) {
    TempFolder dir;
    const std::vector<float> mv = {0.5f, -1.25f, 0.0f, 123.456f, 0.001f};
    ASSERT_EQ(WriteSepuValues(dir.path("a.sepu"), mv.data(), 5), 1);
    EXPECT_EQ(test::readFile(dir.path("a.sepu")), "500\r\n-1250\r\n0\r\n123456\r\n1\r\n");
}

TEST(SepuWrite, WholeMicrovoltsRoundedHalfToEven) {
    EXPECT_EQ(SepuValueText(256.761f), "256761");  // 256760.98 in single precision
    EXPECT_EQ(SepuValueText(-64.952f), "-64952");
    EXPECT_EQ(SepuValueText(0.0025f), "2");
    EXPECT_EQ(SepuValueText(0.0035f), "4");
    EXPECT_EQ(SepuValueText(-0.0004f), "0");
    EXPECT_EQ(SepuValueText(4194.303f), "4194303");
    EXPECT_EQ(SepuValueText(-2147483.648f), "-2147483648");
}

TEST(SepuWrite, ValuesBeyondThirtyTwoBitsAreWrittenAsNumbersReadingStopsAt) {
    EXPECT_EQ(SepuValueText(3e9f), "3e+12");
    EXPECT_EQ(SepuValueText(std::numeric_limits<float>::infinity()), "inf");
    EXPECT_EQ(SepuValueText(std::nanf("")), "nan");
    TempFolder dir;
    const std::vector<float> mv = {1.0f, 3e9f, 2.0f};
    ASSERT_EQ(WriteSepuValues(dir.path("a.sepu"), mv.data(), 3), 1);
    EXPECT_EQ(load(dir.path("a.sepu")), (std::vector<float>{1.0f}));
}

TEST(SepuWrite, LoadedFileIsSavedByteForByte) {
    TempFolder dir;
    const QString in = dir.write("in.sepu", "256761\r\n-64952\r\n4194303\r\n0\r\n-1\r\n-4194000\r\n");
    std::vector<float> values(16);
    const int32_t n = LoadSepuValues(in, values.data(), 16);
    ASSERT_EQ(n, 6);
    ASSERT_EQ(WriteSepuValues(dir.path("out.sepu"), values.data(), n), 1);
    EXPECT_EQ(test::readFile(dir.path("out.sepu")), test::readFile(in));
}

// Whatever the reader accepts saves as a file that the reader accepts again and that loads the
// same values; below 2^23 microvolts (where a single tells every microvolt apart) byte for byte.
TEST(SepuWrite, EveryAcceptedValueSavesAndLoadsTheSame) {
    TempFolder dir;
    const std::vector<long long> extremes = {2147483647, 2147483625, 2147483600, -2147483648LL, -2147483625,
                                             27601846,   8388609,    16777217,   8388607,       -8388607};
    std::vector<float> loaded = load(dir.writeLines("in.sepu", extremes));
    ASSERT_EQ(loaded.size(), extremes.size());
    ASSERT_EQ(WriteSepuValues(dir.path("out.sepu"), loaded.data(), int32_t(loaded.size())), 1);
    EXPECT_EQ(load(dir.path("out.sepu")), loaded);
    std::vector<long long> small;
    for (long long v = 8388608 - 3000; v < 8388608; v += 7) small.push_back(v), small.push_back(-v);
    const QString in = dir.writeLines("small.sepu", small);
    loaded = load(in, 4000);
    ASSERT_EQ(WriteSepuValues(dir.path("small-out.sepu"), loaded.data(), int32_t(loaded.size())), 1);
    EXPECT_EQ(test::readFile(dir.path("small-out.sepu")), test::readFile(in));
}

TEST(SepuWrite, ReadingBackGivesWhatWasWritten) {
    TempFolder dir;
    std::vector<float> mv;
    for (int i = -500; i < 500; ++i) mv.push_back(static_cast<float>(i * 37 / 1000.0));
    ASSERT_EQ(WriteSepuValues(dir.path("a.sepu"), mv.data(), static_cast<int32_t>(mv.size())), 1);
    EXPECT_EQ(load(dir.path("a.sepu"), 2000), mv);
}

TEST(SepuWrite, ReplacesAnExistingFile) {
    TempFolder dir;
    const QString file = dir.write("a.sepu", "old content that is longer than the new one\r\n");
    const float v = 2.0f;
    ASSERT_EQ(WriteSepuValues(file, &v, 1), 1);
    EXPECT_EQ(test::readFile(file), "2000\r\n");
}

TEST(SepuWrite, UncreatableFileGivesZero) {
    TempFolder dir;
    const float v = 1.0f;
    EXPECT_EQ(WriteSepuValues(dir.path("no/such/folder/a.sepu"), &v, 1), 0);
    EXPECT_EQ(WriteSepuValues(dir.path(""), &v, 1), 0);  // a folder
    EXPECT_EQ(WriteSepuValues(dir.path("a.sepu"), nullptr, 1), 0);
    EXPECT_EQ(WriteSepuValues(dir.path("a.sepu"), &v, -1), 0);
}

TEST(SepuWrite, SeriesOfAChart) {
    TempFolder dir;
    automation::ControlHandle chart(std::make_unique<test::RecordingChart>());
    auto *rec = static_cast<test::RecordingChart *>(chart.get());
    rec->nSeries = 2;
    rec->x[1] = {0, 1, 2};
    rec->y[1] = {0.5f, 1.5f, -2.0f};
    EXPECT_EQ(WriteSeriesText(chart, dir.path("one.sepu"), 1), 1);
    EXPECT_EQ(test::readFile(dir.path("one.sepu")), "500\r\n1500\r\n-2000\r\n");
    EXPECT_EQ(WriteSeriesText(chart, dir.path("empty.sepu"), 0), 1);
    EXPECT_EQ(test::readFile(dir.path("empty.sepu")), "");
}

TEST(SepuWrite, SeriesIndexOutsideTheSeriesGivesZeroAndNoFile) {
    TempFolder dir;
    automation::ControlHandle chart(std::make_unique<test::RecordingChart>());
    static_cast<test::RecordingChart *>(chart.get())->nSeries = 2;
    EXPECT_EQ(WriteSeriesText(chart, dir.path("a.sepu"), 2), 0);
    EXPECT_EQ(WriteSeriesText(chart, dir.path("a.sepu"), -1), 0);
    EXPECT_FALSE(QFile::exists(dir.path("a.sepu")));
    EXPECT_EQ(WriteSeriesText(chart, dir.path("no/such/a.sepu"), 0), 0);
}

// --- names ---------------------------------------------------------------------------------

TEST(SepuNames, StripExtensionCutsTheLastDotOfTheFileName) {
    EXPECT_EQ(StripExtension("/data/run.sepu"), "/data/run");
    EXPECT_EQ(StripExtension("/data/run.1.sepu"), "/data/run.1");
    EXPECT_EQ(StripExtension("run.sepu"), "run");
    EXPECT_EQ(StripExtension("run."), "run");
    EXPECT_EQ(StripExtension("/data/run"), "/data/run");
    EXPECT_EQ(StripExtension(""), "");
}

TEST(SepuNames, StripExtensionKeepsFoldersAndLeadingDots) {
    EXPECT_EQ(StripExtension("/data.old/run"), "/data.old/run");
    EXPECT_EQ(StripExtension("/data.old/run.sepu"), "/data.old/run");
    EXPECT_EQ(StripExtension("/data/.sepu"), "/data/.sepu");
    EXPECT_EQ(StripExtension(".sepu"), ".sepu");
    EXPECT_EQ(StripExtension("/data/a.b/"), "/data/a.b/");
}

}  // namespace
}  // namespace wavedesk

// What readers and WriteInfo report for files that are not (or not yet) data files: the
// version line check, a new file without data, counts that cannot be trusted.
#include <gtest/gtest.h>

#include "datafile.h"
#include "sample.h"
#include "test_files.h"

namespace datlook {
namespace {

using testing::putIntAt;
using testing::readAll;
using testing::ScratchDir;
using testing::writeAll;

// A DataFile whose messages are collected.
struct Observed {
    DataFile file;
    std::vector<std::string> messages;
    explicit Observed(const std::string &name) {
        file.SetFileName(name);
        file.SetMessageSink([this](const std::string &m) { messages.push_back(m); });
    }
};

// Runs all four readers, expecting failure with empty results; returns how many failed.
int failingReaders(DataFile &f) {
    std::vector<std::int32_t> ints{1};
    std::vector<Block> blocks{Block{}};
    std::vector<Item> items{Item{}};
    Record r;
    r.code1 = 5;
    const int failed = (f.ReadInts(ints) == 0) + (f.ReadBlocks(blocks) == 0) + (f.ReadItems(items) == 0) +
                       (f.ReadRecord(r) == 0);
    EXPECT_TRUE(ints.empty());
    EXPECT_TRUE(blocks.empty());
    EXPECT_TRUE(items.empty());
    EXPECT_EQ(r.code1, 0);
    return failed;
}

std::vector<std::uint8_t> sampleBytes(const ScratchDir &dir, std::vector<std::int32_t> ints = {5, -2, 7}) {
    DataFile f;
    EXPECT_EQ(writeSample(f, dir.file("sample.dat"), makeSample(std::move(ints), 2, 3, 1)), 1);
    return readAll(dir.file("sample.dat"));
}

TEST(DataFileVersion, AnyChangedCharacterIsAViolation) {
    ScratchDir dir;
    const auto good = sampleBytes(dir);
    for (std::size_t at = 0; at < 22; ++at) {
        auto bytes = good;
        bytes[at] ^= 0x20;
        writeAll(dir.file("bad.dat"), bytes);
        Observed o(dir.file("bad.dat"));
        EXPECT_EQ(failingReaders(o.file), 4) << "changed byte " << at;
        ASSERT_EQ(o.messages.size(), 4u);
        for (const auto &m : o.messages) EXPECT_EQ(m, "Version Violation!");
    }
}

TEST(DataFileVersion, LineMustEndWithCarriageReturn) {
    ScratchDir dir;
    auto bytes = sampleBytes(dir);
    bytes[22] = '\n';
    writeAll(dir.file("lf.dat"), bytes);
    Observed o(dir.file("lf.dat"));
    std::vector<std::int32_t> list;
    EXPECT_EQ(o.file.ReadInts(list), 0);
    EXPECT_EQ(o.file.LastMessage(), kMsgVersion);
}

TEST(DataFileVersion, LongerOrShorterLinesAreViolations) {
    ScratchDir dir;
    const std::string cases[] = {std::string(300, 'D'), "Data file version 1.00 \r\n",
                                 "Data file version 1.0\r\n", "", "Data file version 1.00"};
    for (const std::string &text : cases) {
        writeAll(dir.file("v.dat"), std::vector<std::uint8_t>(text.begin(), text.end()));
        Observed o(dir.file("v.dat"));
        std::vector<std::int32_t> list;
        EXPECT_EQ(o.file.ReadInts(list), 0) << text;
        // A bare version line without its header holds no data either, but says nothing more.
        if (text == "Data file version 1.00") {
            EXPECT_TRUE(o.messages.empty());
        } else {
            EXPECT_EQ(o.messages, std::vector<std::string>{kMsgVersion}) << text;
        }
    }
}

TEST(DataFileVersion, WriteInfoChecksTheVersionLine) {
    ScratchDir dir;
    Observed o(dir.file("w.dat"));
    ASSERT_EQ(o.file.CreateNew(), 1);
    auto bytes = readAll(dir.file("w.dat"));
    bytes[0] = 'd';
    writeAll(dir.file("w.dat"), bytes);
    EXPECT_EQ(o.file.WriteInfo(), 0);
    EXPECT_FALSE(o.file.IsOpen());
    EXPECT_EQ(o.messages, std::vector<std::string>{kMsgVersion});
    EXPECT_EQ(readAll(dir.file("w.dat")), bytes);
}

TEST(DataFileNoData, FreshFileSaysNoDataToEveryReader) {
    ScratchDir dir;
    Observed o(dir.file("fresh.dat"));
    ASSERT_EQ(o.file.CreateNew(), 1);
    EXPECT_EQ(failingReaders(o.file), 4);
    ASSERT_EQ(o.messages.size(), 4u);
    for (const auto &m : o.messages) EXPECT_EQ(m, "无数据");
}

TEST(DataFileNoData, SecondWriteInfoIsNotANewFile) {
    ScratchDir dir;
    Observed o(dir.file("twice.dat"));
    ASSERT_EQ(o.file.CreateNew(), 1);
    ASSERT_EQ(o.file.WriteInfo(), 1);
    ASSERT_EQ(o.file.AppendInts({3}), 1);
    o.file.Close();
    const auto before = readAll(dir.file("twice.dat"));
    EXPECT_EQ(o.file.WriteInfo(), 0);
    EXPECT_EQ(o.messages, std::vector<std::string>{kMsgNotNew});
    EXPECT_FALSE(o.file.IsOpen());
    EXPECT_EQ(readAll(dir.file("twice.dat")), before);
}

TEST(DataFileNoData, WriteInfoRefusesAFileWithBytesAfterItsHeader) {
    ScratchDir dir;
    Observed o(dir.file("tail.dat"));
    ASSERT_EQ(o.file.CreateNew(), 1);
    auto bytes = readAll(dir.file("tail.dat"));
    bytes.resize(bytes.size() + 10, 0x55);
    writeAll(dir.file("tail.dat"), bytes);
    EXPECT_EQ(o.file.WriteInfo(), 0);
    EXPECT_EQ(o.messages, std::vector<std::string>{kMsgNotNew});
    EXPECT_EQ(readAll(dir.file("tail.dat")), bytes);
}

TEST(DataFileSilent, MissingOrShortFilesFailWithoutMessage) {
    ScratchDir dir;
    Observed missing(dir.file("none.dat"));
    EXPECT_EQ(failingReaders(missing.file), 4);
    EXPECT_EQ(missing.file.WriteInfo(), 0);
    EXPECT_TRUE(missing.messages.empty());
    Observed unnamed("");
    EXPECT_EQ(failingReaders(unnamed.file), 4);
    EXPECT_EQ(unnamed.file.CreateNew(), 0);

    const auto good = sampleBytes(dir);
    auto header = std::vector<std::uint8_t>(good.begin(), good.begin() + 40);  // header cut short
    writeAll(dir.file("short.dat"), header);
    Observed shortFile(dir.file("short.dat"));
    EXPECT_EQ(failingReaders(shortFile.file), 4);
    EXPECT_TRUE(shortFile.messages.empty());
}

TEST(DataFileSilent, IntegerCountMustBeBelowTheLimit) {
    ScratchDir dir;
    auto bytes = sampleBytes(dir, {});
    bytes.resize(724 + 4 * static_cast<std::size_t>(kIntLimit), 1);  // room for every count tried
    Observed o(dir.file("limit.dat"));
    for (std::int32_t count : {-1, INT32_MIN, kIntLimit, INT32_MAX, kIntLimit - 1}) {
        putIntAt(bytes, 720, count);
        writeAll(dir.file("limit.dat"), bytes);
        std::vector<std::int32_t> list{1};
        EXPECT_EQ(o.file.ReadInts(list), count == kIntLimit - 1 ? 1 : 0) << count;
        EXPECT_EQ(list.size(), count == kIntLimit - 1 ? static_cast<std::size_t>(count) : 0u);
    }
    EXPECT_TRUE(o.messages.empty());
}

TEST(DataFileSilent, WrongTagsHideTheLaterSections) {
    ScratchDir dir;
    const auto good = sampleBytes(dir);
    const std::size_t itemsAt = 724 + 12 + 4 + 2 * 264;
    const std::size_t recordAt = itemsAt + 8 + 3 * 40;
    auto bytes = good;
    putIntAt(bytes, itemsAt, kItemTag + 1);
    writeAll(dir.file("t.dat"), bytes);
    Observed o(dir.file("t.dat"));
    std::vector<Block> blocks;
    std::vector<Item> items;
    Record r;
    EXPECT_EQ(o.file.ReadBlocks(blocks), 1);
    EXPECT_EQ(o.file.ReadItems(items), 0);
    EXPECT_EQ(o.file.ReadRecord(r), 0);
    bytes = good;
    putIntAt(bytes, recordAt, kItemTag);
    writeAll(dir.file("t.dat"), bytes);
    EXPECT_EQ(o.file.ReadItems(items), 1);
    EXPECT_EQ(items.size(), 3u);
    EXPECT_EQ(o.file.ReadRecord(r), 0);
    EXPECT_TRUE(o.messages.empty());
}

}  // namespace
}  // namespace datlook

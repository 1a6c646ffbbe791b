// Writers and readers of DataFile: exact byte layout, round trips of every section, the order
// of appends and copying.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "datafile.h"
#include "sample.h"
#include "test_files.h"

namespace datlook {
namespace {

using testing::intAt;
using testing::readAll;
using testing::ScratchDir;

const std::string kLine = std::string(kVersionText) + "\r\n";

// Expected size of a file holding every section of c.
std::size_t fullSize(const SampleContent &c) {
    return 48 + 672 + 4 + 4 * c.ints.size() + 4 + 264 * c.blocks.size() + 8 + 40 * c.items.size() + 4 + 24 +
           4 + c.record.text1.size() + 4 + c.record.text2.size();
}

TEST(DataFileLayout, CreateNewWritesVersionLineAndHeader) {
    ScratchDir dir;
    DataFile f;
    f.SetFileName(dir.file("new.dat"));
    ASSERT_EQ(f.CreateNew(), 1);
    EXPECT_FALSE(f.IsOpen());
    const auto bytes = readAll(dir.file("new.dat"));
    ASSERT_EQ(bytes.size(), 48u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 24), kLine);
    const std::int32_t expected[6] = {48, 48, 48, 0, 0, 0};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(intAt(bytes, 24 + 4 * i), expected[i]) << "h" << i;
}

TEST(DataFileLayout, CreateNewTruncatesAnExistingFile) {
    ScratchDir dir;
    DataFile f;
    const SampleContent c = makeSample({1, 2, 3}, 1, 1, 3);
    ASSERT_EQ(writeSample(f, dir.file("a.dat"), c), 1);
    ASSERT_EQ(f.CreateNew(), 1);
    EXPECT_EQ(readAll(dir.file("a.dat")).size(), 48u);
}

TEST(DataFileLayout, WriteInfoMarksHeaderAndWritesRecord) {
    ScratchDir dir;
    DataFile f;
    InfoBlock info{};
    for (std::size_t i = 0; i < info.size(); ++i) info[i] = static_cast<std::uint8_t>(i * 7 + 1);
    f.SetFileName(dir.file("i.dat"));
    ASSERT_EQ(f.CreateNew(), 1);
    ASSERT_EQ(f.SetInfo(info), 1);
    ASSERT_EQ(f.WriteInfo(), 1);
    EXPECT_TRUE(f.IsOpen());
    EXPECT_EQ(f.Header()[3], 1);
    ASSERT_EQ(f.Close(), 1);
    const auto bytes = readAll(dir.file("i.dat"));
    ASSERT_EQ(bytes.size(), 48u + 672u + 4u);
    EXPECT_EQ(intAt(bytes, 24), 48);
    EXPECT_EQ(intAt(bytes, 36), 1);
    EXPECT_EQ(intAt(bytes, 40), 0);
    EXPECT_EQ(intAt(bytes, 48), 8);
    EXPECT_EQ(intAt(bytes, 52), 672);
    EXPECT_EQ(0, std::memcmp(bytes.data() + 56, info.data(), info.size()));
    EXPECT_EQ(intAt(bytes, 48 + 672), 0);
}

TEST(DataFileLayout, ThreeIntegersFollowTheInformationRecord) {
    ScratchDir dir;
    DataFile f;
    f.SetFileName(dir.file("three.dat"));
    ASSERT_EQ(f.CreateNew(), 1);
    ASSERT_EQ(f.WriteInfo(), 1);
    ASSERT_EQ(f.AppendInts({5, -2, 7}), 1);
    ASSERT_EQ(f.Close(), 1);
    const auto bytes = readAll(dir.file("three.dat"));
    ASSERT_EQ(bytes.size(), 48u + 672u + 4u + 12u);
    EXPECT_EQ(intAt(bytes, 720), 3);
    EXPECT_EQ(intAt(bytes, 724), 5);
    EXPECT_EQ(intAt(bytes, 728), -2);
    EXPECT_EQ(intAt(bytes, 732), 7);
    std::vector<std::int32_t> list;
    ASSERT_EQ(f.ReadInts(list), 1);
    EXPECT_EQ(list, (std::vector<std::int32_t>{5, -2, 7}));
}

TEST(DataFileLayout, SectionsFollowEachOtherWithTheirTags) {
    ScratchDir dir;
    DataFile f;
    const SampleContent c = makeSample({9, 8}, 1, 2, 11);
    ASSERT_EQ(writeSample(f, dir.file("s.dat"), c), 1);
    const auto bytes = readAll(dir.file("s.dat"));
    ASSERT_EQ(bytes.size(), fullSize(c));
    std::size_t at = 720 + 4 + 8;
    EXPECT_EQ(intAt(bytes, at), 1);
    EXPECT_EQ(0, std::memcmp(bytes.data() + at + 4, c.blocks[0].data(), 264));
    at += 4 + 264;
    EXPECT_EQ(intAt(bytes, at), kItemTag);
    EXPECT_EQ(intAt(bytes, at + 4), 2);
    EXPECT_EQ(0, std::memcmp(bytes.data() + at + 8 + 40, c.items[1].data(), 40));
    at += 8 + 80;
    EXPECT_EQ(intAt(bytes, at), kRecordTag);
    double v1 = 0;
    std::memcpy(&v1, bytes.data() + at + 4, 8);
    EXPECT_EQ(v1, c.record.value1);
    EXPECT_EQ(intAt(bytes, at + 20), c.record.code1);
    EXPECT_EQ(intAt(bytes, at + 24), c.record.code2);
    EXPECT_EQ(intAt(bytes, at + 28), static_cast<std::int32_t>(c.record.text1.size()));
    EXPECT_EQ(std::string(bytes.begin() + at + 32, bytes.begin() + at + 32 + c.record.text1.size()),
              c.record.text1);
}

class DataFileRoundTrip : public ::testing::TestWithParam<std::tuple<int, int, int>> {};

TEST_P(DataFileRoundTrip, EverySectionReadsBackAsWritten) {
    const auto [intCount, blockCount, itemCount] = GetParam();
    std::vector<std::int32_t> ints;
    ints.reserve(std::size_t(intCount));
    for (int i = 0; i < intCount; ++i)
        ints.push_back(static_cast<std::int32_t>(i % 2 ? -std::int64_t{i} * 1000003 % 2000000011 : i * 7919));
    if (intCount > 2) {
        ints[0] = INT32_MIN;
        ints[1] = INT32_MAX;
    }
    const SampleContent c =
        makeSample(ints, blockCount, itemCount, static_cast<std::uint32_t>(intCount + 17));
    ScratchDir dir;
    DataFile f;
    ASSERT_EQ(writeSample(f, dir.file("r.dat"), c), 1);
    EXPECT_EQ(readAll(dir.file("r.dat")).size(), fullSize(c));

    DataFile reader;
    reader.SetFileName(dir.file("r.dat"));
    std::vector<std::int32_t> gotInts;
    std::vector<Block> gotBlocks;
    std::vector<Item> gotItems;
    Record gotRecord;
    ASSERT_EQ(reader.ReadInts(gotInts), 1);
    ASSERT_EQ(reader.ReadBlocks(gotBlocks), 1);
    ASSERT_EQ(reader.ReadItems(gotItems), 1);
    ASSERT_EQ(reader.ReadRecord(gotRecord), 1);
    EXPECT_EQ(gotInts, c.ints);
    EXPECT_EQ(gotBlocks, c.blocks);
    EXPECT_EQ(gotItems, c.items);
    EXPECT_EQ(gotRecord.value1, c.record.value1);
    EXPECT_EQ(gotRecord.value2, c.record.value2);
    EXPECT_EQ(gotRecord.code1, c.record.code1);
    EXPECT_EQ(gotRecord.code2, c.record.code2);
    EXPECT_EQ(gotRecord.text1, c.record.text1);
    EXPECT_EQ(gotRecord.text2, c.record.text2);
    EXPECT_TRUE(reader.LastMessage().empty());
    EXPECT_FALSE(reader.IsOpen());
}

INSTANTIATE_TEST_SUITE_P(Sizes, DataFileRoundTrip,
                         ::testing::Values(std::make_tuple(0, 0, 0), std::make_tuple(3, 1, 1),
                                           std::make_tuple(1, 0, 5), std::make_tuple(5000, 7, 0),
                                           std::make_tuple(2, 40, 300)));

TEST(DataFileRecord, TextsAndValuesKeepEveryByte) {
    ScratchDir dir;
    DataFile f;
    SampleContent c = makeSample({1}, 0, 0, 5);
    c.record.value1 = -0.0;
    c.record.value2 = std::nan("");
    c.record.text1 = std::string("a\0b\r\n", 5);
    c.record.text2.clear();
    ASSERT_EQ(writeSample(f, dir.file("t.dat"), c), 1);
    Record r;
    ASSERT_EQ(f.ReadRecord(r), 1);
    EXPECT_TRUE(std::signbit(r.value1));
    EXPECT_TRUE(std::isnan(r.value2));
    EXPECT_EQ(r.text1, c.record.text1);
    EXPECT_TRUE(r.text2.empty());
}

TEST(DataFileRecord, TextOverTheLimitIsRefusedAndFileUnchanged) {
    ScratchDir dir;
    DataFile f;
    SampleContent c = makeSample({1}, 0, 0, 5);
    c.record.text2.assign(static_cast<std::size_t>(kMaxRecordText) + 1, 'x');
    EXPECT_EQ(writeSample(f, dir.file("t.dat"), c), 0);
    Record r;
    EXPECT_EQ(f.ReadRecord(r), 0);
    std::vector<Item> items;
    EXPECT_EQ(f.ReadItems(items), 1);  // everything before the record is intact
}

TEST(DataFileAppend, IntegersAccumulateOverSeveralCalls) {
    ScratchDir dir;
    DataFile f;
    f.SetFileName(dir.file("acc.dat"));
    ASSERT_EQ(f.CreateNew(), 1);
    ASSERT_EQ(f.WriteInfo(), 1);
    ASSERT_EQ(f.AppendInts({1, 2}), 1);
    ASSERT_EQ(f.AppendInts({}), 1);
    ASSERT_EQ(f.AppendInts({3}), 1);
    std::vector<std::int32_t> list;
    ASSERT_EQ(f.ReadInts(list), 1);  // readers see appends while the file is still open
    EXPECT_EQ(list, (std::vector<std::int32_t>{1, 2, 3}));
    f.Close();
    EXPECT_EQ(intAt(readAll(dir.file("acc.dat")), 720), 3);
}

TEST(DataFileAppend, IntegersNeedTheFileOpenedByWriteInfo) {
    ScratchDir dir;
    DataFile f;
    f.SetFileName(dir.file("c.dat"));
    ASSERT_EQ(f.CreateNew(), 1);
    EXPECT_EQ(f.AppendInts({1}), 0);
    ASSERT_EQ(f.WriteInfo(), 1);
    ASSERT_EQ(f.Close(), 1);
    const auto before = readAll(dir.file("c.dat"));
    EXPECT_EQ(f.AppendInts({1}), 0);
    EXPECT_EQ(readAll(dir.file("c.dat")), before);
}

TEST(DataFileAppend, BlocksReopenTheNamedFile) {
    ScratchDir dir;
    DataFile f;
    EXPECT_EQ(f.AppendBlocks({Block{}}), 0);  // no name: nothing happens
    f.SetFileName(dir.file("b.dat"));
    ASSERT_EQ(f.CreateNew(), 1);
    ASSERT_EQ(f.WriteInfo(), 1);
    ASSERT_EQ(f.AppendInts({4}), 1);
    ASSERT_EQ(f.Close(), 1);
    Block b{};
    b.fill(0xAB);
    ASSERT_EQ(f.AppendBlocks({b, b}), 1);
    EXPECT_TRUE(f.IsOpen());
    f.Close();
    std::vector<Block> blocks;
    ASSERT_EQ(f.ReadBlocks(blocks), 1);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[1], b);
}

TEST(DataFileAppend, SectionsOutOfOrderAreRefusedWithoutChangingTheFile) {
    ScratchDir dir;
    DataFile f;
    f.SetFileName(dir.file("o.dat"));
    ASSERT_EQ(f.CreateNew(), 1);
    EXPECT_EQ(f.AppendBlocks({Block{}}), 0);  // no information record yet
    ASSERT_EQ(f.WriteInfo(), 1);
    ASSERT_EQ(f.AppendInts({1, 2}), 1);
    const auto afterInts = readAll(dir.file("o.dat"));
    EXPECT_EQ(f.AppendItems({Item{}}), 0);
    EXPECT_EQ(f.AppendRecord(Record{}), 0);
    EXPECT_EQ(readAll(dir.file("o.dat")), afterInts);
    ASSERT_EQ(f.AppendBlocks({}), 1);
    const auto afterBlocks = readAll(dir.file("o.dat"));
    EXPECT_EQ(f.AppendInts({3}), 0);
    EXPECT_EQ(f.AppendBlocks({Block{}}), 0);
    EXPECT_EQ(readAll(dir.file("o.dat")), afterBlocks);
    ASSERT_EQ(f.AppendItems({}), 1);
    ASSERT_EQ(f.AppendRecord(Record{}), 1);
    EXPECT_EQ(f.AppendRecord(Record{}), 0);
    f.Close();
    std::vector<std::int32_t> ints;
    std::vector<Item> items;
    Record r;
    EXPECT_EQ(f.ReadInts(ints), 1);
    EXPECT_EQ(ints, (std::vector<std::int32_t>{1, 2}));
    EXPECT_EQ(f.ReadItems(items), 1);
    EXPECT_TRUE(items.empty());
    EXPECT_EQ(f.ReadRecord(r), 1);
}

TEST(DataFileAppend, IntegerCountStaysBelowTheLimit) {
    ScratchDir dir;
    DataFile f;
    f.SetFileName(dir.file("big.dat"));
    ASSERT_EQ(f.CreateNew(), 1);
    ASSERT_EQ(f.WriteInfo(), 1);
    std::vector<std::int32_t> many(static_cast<std::size_t>(kIntLimit - 1), 0);
    many.back() = 42;
    EXPECT_EQ(f.AppendInts(std::vector<std::int32_t>(static_cast<std::size_t>(kIntLimit), 1)), 0);
    ASSERT_EQ(f.AppendInts(many), 1);
    EXPECT_EQ(f.AppendInts({1}), 0);  // would reach the limit
    f.Close();
    std::vector<std::int32_t> list;
    ASSERT_EQ(f.ReadInts(list), 1);
    ASSERT_EQ(list.size(), many.size());
    EXPECT_EQ(list.back(), 42);
}

TEST(DataFileNaming, NewNameClosesTheOpenFile) {
    ScratchDir dir;
    DataFile f;
    f.SetFileName(dir.file("a.dat"));
    ASSERT_EQ(f.CreateNew(), 1);
    ASSERT_EQ(f.WriteInfo(), 1);
    ASSERT_TRUE(f.IsOpen());
    f.SetFileName(dir.file("b.dat"));
    EXPECT_FALSE(f.IsOpen());
    EXPECT_EQ(f.FileName(), dir.file("b.dat"));
    EXPECT_EQ(f.AppendInts({1}), 0);
}

TEST(DataFileCopy, CopyHoldsEveryByte) {
    ScratchDir dir;
    DataFile f;
    const SampleContent c = makeSample({1, 2, 3}, 9, 4, 21);  // several 1000-byte chunks
    ASSERT_EQ(writeSample(f, dir.file("src.dat"), c), 1);
    ASSERT_EQ(f.CopyTo(dir.file("copy.dat")), 1);
    const auto original = readAll(dir.file("src.dat"));
    EXPECT_GT(original.size(), 3000u);
    EXPECT_EQ(readAll(dir.file("copy.dat")), original);
}

TEST(DataFileCopy, CopyIncludesAppendsOfTheOpenFile) {
    ScratchDir dir;
    DataFile f;
    f.SetFileName(dir.file("src.dat"));
    ASSERT_EQ(f.CreateNew(), 1);
    ASSERT_EQ(f.WriteInfo(), 1);
    ASSERT_EQ(f.AppendInts({6, 7}), 1);
    ASSERT_EQ(f.CopyTo(dir.file("copy.dat")), 1);
    DataFile copy;
    copy.SetFileName(dir.file("copy.dat"));
    std::vector<std::int32_t> list;
    ASSERT_EQ(copy.ReadInts(list), 1);
    EXPECT_EQ(list, (std::vector<std::int32_t>{6, 7}));
}

TEST(DataFileCopy, CopyOntoItselfOrWithoutSourceFails) {
    ScratchDir dir;
    DataFile f;
    EXPECT_EQ(f.CopyTo(dir.file("x.dat")), 0);
    const SampleContent c = makeSample({1, 2, 3}, 1, 1, 2);
    ASSERT_EQ(writeSample(f, dir.file("src.dat"), c), 1);
    const auto original = readAll(dir.file("src.dat"));
    EXPECT_EQ(f.CopyTo(dir.file("src.dat")), 0);
    EXPECT_EQ(f.CopyTo(dir.file("./src.dat")), 0);
    EXPECT_EQ(readAll(dir.file("src.dat")), original);
    f.SetFileName(dir.file("missing.dat"));
    EXPECT_EQ(f.CopyTo(dir.file("y.dat")), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.file("y.dat")));
}

}  // namespace
}  // namespace datlook

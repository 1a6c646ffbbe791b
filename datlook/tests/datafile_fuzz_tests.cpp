// Truncated and corrupted data files: readers and writers must stay inside the file, return
// whole sections or nothing, and never crash (run under the sanitizers too).
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <unistd.h>

#include "binfile.h"

#include "datafile.h"
#include "sample.h"
#include "test_files.h"

namespace datlook {
namespace {

using testing::readAll;
using testing::ScratchDir;
using testing::writeAll;

struct Reads {
    int ints, blocks, items, record;
    std::vector<std::int32_t> intList;
    std::vector<Block> blockList;
    std::vector<Item> itemList;
    Record rec;
};

Reads readEverything(const std::string &name) {
    DataFile f;
    f.SetFileName(name);
    Reads r{};
    r.ints = f.ReadInts(r.intList);
    r.blocks = f.ReadBlocks(r.blockList);
    r.items = f.ReadItems(r.itemList);
    r.record = f.ReadRecord(r.rec);
    return r;
}

// Whatever a reader returns must fit in the file it came from.
void expectBoundedBy(const Reads &r, std::size_t fileSize) {
    if (!r.ints) {
        EXPECT_TRUE(r.intList.empty());
    }
    if (!r.blocks) {
        EXPECT_TRUE(r.blockList.empty());
    }
    if (!r.items) {
        EXPECT_TRUE(r.itemList.empty());
    }
    EXPECT_LE(4 * r.intList.size() + 264 * r.blockList.size() + 40 * r.itemList.size(), fileSize);
    EXPECT_LE(r.rec.text1.size() + r.rec.text2.size(), fileSize);
}

SampleContent fuzzSample() {
    std::vector<std::int32_t> ints;
    ints.reserve(40);
    for (int i = 0; i < 40; ++i) ints.push_back(i * 3 - 50);
    return makeSample(ints, 3, 4, 99);
}

// Next offset to try: every offset outside the raw information block, a few inside it.
std::size_t nextOffset(std::size_t at, std::size_t step) {
    if (at >= 56 && at < 720) return std::min<std::size_t>(at + 37 * step, 720);
    return at + step;
}

TEST(DataFileFuzz, EveryTruncationKeepsExactlyTheCompleteSections) {
    ScratchDir dir;
    const SampleContent c = fuzzSample();
    DataFile writer;
    ASSERT_EQ(writeSample(writer, dir.file("full.dat"), c), 1);
    const auto full = readAll(dir.file("full.dat"));
    const std::size_t intsEnd = 724 + 4 * c.ints.size();
    const std::size_t blocksEnd = intsEnd + 4 + 264 * c.blocks.size();
    const std::size_t itemsEnd = blocksEnd + 8 + 40 * c.items.size();
    for (std::size_t cut = 0; cut <= full.size(); cut = nextOffset(cut, 1)) {
        writeAll(dir.file("cut.dat"), std::vector<std::uint8_t>(full.begin(), full.begin() + cut));
        const Reads r = readEverything(dir.file("cut.dat"));
        expectBoundedBy(r, cut);
        EXPECT_EQ(r.ints, cut >= intsEnd ? 1 : 0) << cut;
        EXPECT_EQ(r.blocks, cut >= blocksEnd ? 1 : 0) << cut;
        EXPECT_EQ(r.items, cut >= itemsEnd ? 1 : 0) << cut;
        EXPECT_EQ(r.record, cut == full.size() ? 1 : 0) << cut;
        if (r.ints) {
            EXPECT_EQ(r.intList, c.ints);
        }
        if (r.items) {
            EXPECT_EQ(r.itemList, c.items);
        }
    }
}

TEST(DataFileFuzz, RandomByteFlipsAndCutsNeverEscapeTheFile) {
    ScratchDir dir;
    DataFile writer;
    ASSERT_EQ(writeSample(writer, dir.file("full.dat"), fuzzSample()), 1);
    const auto full = readAll(dir.file("full.dat"));
    std::mt19937 rng(20261207);
    std::uniform_int_distribution<std::size_t> pos(0, full.size() - 1);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> flips(1, 6);
    for (int round = 0; round < 400; ++round) {
        auto bytes = full;
        const int n = flips(rng);
        for (int i = 0; i < n; ++i) {
            // Aim half of the changes at the header and count fields, where lengths live.
            static const std::size_t fields[] = {24, 28, 32, 36, 48, 52, 720, 884, 1684, 1876};
            const std::size_t at = round % 2 == 0 ? fields[rng() % 10] + rng() % 4 : pos(rng);
            bytes[at % bytes.size()] = static_cast<std::uint8_t>(byte(rng));
        }
        if (round % 3 == 0) bytes.resize(pos(rng));
        writeAll(dir.file("f.dat"), bytes);
        expectBoundedBy(readEverything(dir.file("f.dat")), bytes.size());
    }
}

TEST(DataFileFuzz, HostileCountsInEveryFieldAreSurvived) {
    ScratchDir dir;
    DataFile writer;
    ASSERT_EQ(writeSample(writer, dir.file("full.dat"), fuzzSample()), 1);
    const auto full = readAll(dir.file("full.dat"));
    const std::int32_t hostile[] = {INT32_MIN, -1, 0, 1, 8, 672, 0x7FFFFFF0, INT32_MAX, 1440000};
    for (std::size_t at = 24; at + 4 <= full.size(); at = nextOffset(at, 4)) {
        for (std::int32_t value : hostile) {
            auto bytes = full;
            testing::putIntAt(bytes, at, value);
            writeAll(dir.file("h.dat"), bytes);
            expectBoundedBy(readEverything(dir.file("h.dat")), bytes.size());
        }
    }
}

TEST(DataFileFuzz, WritersOnCorruptedFilesNeverGrowThemBlindly) {
    ScratchDir dir;
    DataFile writer;
    writer.SetFileName(dir.file("base.dat"));
    ASSERT_EQ(writer.CreateNew(), 1);
    ASSERT_EQ(writer.WriteInfo(), 1);
    ASSERT_EQ(writer.AppendInts({1, 2, 3}), 1);
    writer.Close();
    const auto base = readAll(dir.file("base.dat"));
    std::mt19937 rng(7);
    std::uniform_int_distribution<std::size_t> pos(0, base.size() - 1);
    for (int round = 0; round < 200; ++round) {
        auto bytes = base;
        bytes[pos(rng)] ^= static_cast<std::uint8_t>(1 + rng() % 255);
        if (round % 4 == 0) bytes.resize(pos(rng));
        writeAll(dir.file("w.dat"), bytes);
        DataFile f;
        f.SetFileName(dir.file("w.dat"));
        const int blocks = f.AppendBlocks({Block{}});
        const int items = f.AppendItems({Item{}});
        const int record = f.AppendRecord(Record{});
        f.Close();
        const auto after = readAll(dir.file("w.dat"));
        if (!blocks && !items && !record) {
            EXPECT_EQ(after, bytes);
        }
        // Whatever was appended is readable in full.
        DataFile check;
        check.SetFileName(dir.file("w.dat"));
        Record r;
        if (record) {
            EXPECT_EQ(check.ReadRecord(r), 1);
        }
    }
}

}  // namespace
}  // namespace datlook

namespace datlook {
namespace {

// A block count that a sparse file's apparent size could hold, but its real data cannot: the
// reader must refuse it rather than allocate and fill gigabytes of holes.
TEST(DataFileHostile, SparseTailIsNotData) {
    ScratchDir dir;
    const std::string name = dir.file("sparse.dat");
    DataFile w;
    ASSERT_EQ(writeSample(w, name, makeSample({1, 2, 3}, 1, 0, 7)), 1);
    auto bytes = readAll(name);
    const std::size_t countAt = kFirstSection + kInfoRecordLength + 4 + 3 * 4;
    ASSERT_GT(bytes.size(), countAt + 4);
    ASSERT_EQ(loadLE32(&bytes[countAt]), 1);
    const std::int32_t claimed = 8'000'000;  // 2.1 GB of blocks
    for (int k = 0; k < 4; ++k) bytes[countAt + k] = std::uint8_t(std::uint32_t(claimed) >> (8 * k));
    bytes.resize(countAt + 4 + kBlockSize);  // one real block follows
    writeAll(name, bytes);
    ASSERT_EQ(::truncate(name.c_str(), off_t(countAt) + 4 + off_t(claimed) * kBlockSize), 0);

    DataFile f;
    f.SetFileName(name);
    std::vector<Block> blocks;
    EXPECT_EQ(f.ReadBlocks(blocks), 0);
    EXPECT_TRUE(blocks.empty());
    std::vector<std::int32_t> ints;
    EXPECT_EQ(f.ReadInts(ints), 1);
    EXPECT_EQ(ints, (std::vector<std::int32_t>{1, 2, 3}));
}

}  // namespace
}  // namespace datlook

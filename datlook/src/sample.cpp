#include "sample.h"

namespace datlook {

namespace {

// Small linear congruential generator: the same seed gives the same bytes everywhere.
std::uint8_t nextByte(std::uint32_t &state) {
    state = state * 1664525u + 1013904223u;
    return static_cast<std::uint8_t>(state >> 24);
}

template <std::size_t N>
std::array<std::uint8_t, N> fill(std::uint32_t &state) {
    std::array<std::uint8_t, N> bytes{};
    for (auto &b : bytes) b = nextByte(state);
    return bytes;
}

}  // namespace

SampleContent makeSample(std::vector<std::int32_t> ints, int blockCount, int itemCount, std::uint32_t seed) {
    SampleContent c;
    std::uint32_t state = seed;
    c.info = fill<kInfoSize>(state);
    c.ints = std::move(ints);
    for (int i = 0; i < blockCount; ++i) c.blocks.push_back(fill<kBlockSize>(state));
    for (int i = 0; i < itemCount; ++i) c.items.push_back(fill<kItemSize>(state));
    c.record.value1 = 1.5 + seed % 7;
    c.record.value2 = -0.25 * (seed % 5);
    c.record.code1 = static_cast<std::int32_t>(seed % 1000);
    c.record.code2 = -static_cast<std::int32_t>(seed % 77);
    c.record.text1 = "sample " + std::to_string(seed);
    c.record.text2 = "样本";
    return c;
}

int writeSample(DataFile &file, const std::string &name, const SampleContent &content) {
    file.SetFileName(name);
    const bool ok = file.CreateNew() && file.SetInfo(content.info) && file.WriteInfo() &&
                    file.AppendInts(content.ints) && file.AppendBlocks(content.blocks) &&
                    file.AppendItems(content.items) && file.AppendRecord(content.record);
    const bool closed = file.Close();
    return ok && closed ? 1 : 0;
}

}  // namespace datlook

// Sample data files: deterministic contents for every section and a writer that puts them
// into a file through the DataFile writers in their fixed order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "datafile.h"

namespace datlook {

struct SampleContent {
    InfoBlock info{};
    std::vector<std::int32_t> ints;
    std::vector<Block> blocks;
    std::vector<Item> items;
    Record record;
};

// Content with the given integers and blockCount blocks, itemCount items; bytes derived from seed.
SampleContent makeSample(std::vector<std::int32_t> ints, int blockCount, int itemCount, std::uint32_t seed);

// Creates name and writes every section of content; 1 on success, 0 at the first failing writer.
int writeSample(DataFile &file, const std::string &name, const SampleContent &content);

}  // namespace datlook

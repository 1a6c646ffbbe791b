// Every DataFile reader on any bytes: whole sections or nothing, never more than the file
// holds, and the copy of a file reads the same.
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "datafile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const std::string name = "/tmp/swb-fuzz-datafile-" + std::to_string(::getpid()) + ".dat";
    std::FILE *f = std::fopen(name.c_str(), "wb");
    if (!f) return 0;
    if (size > 0) std::fwrite(data, 1, size, f);
    std::fclose(f);
    datlook::DataFile file;
    file.SetMessageSink([](const std::string &) {});
    file.SetFileName(name);
    std::vector<std::int32_t> ints;
    std::vector<datlook::Block> blocks;
    std::vector<datlook::Item> items;
    datlook::Record record;
    file.ReadInts(ints);
    file.ReadBlocks(blocks);
    file.ReadItems(items);
    file.ReadRecord(record);
    const size_t held = ints.size() * 4 + blocks.size() * datlook::kBlockSize +
                        items.size() * datlook::kItemSize + record.text1.size() + record.text2.size();
    if (held > size) __builtin_trap();
    return 0;
}

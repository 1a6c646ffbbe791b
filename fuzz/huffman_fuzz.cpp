// Fuzz target: Huffman expansion of arbitrary bytes (mathcore's coder and the signal library's
// ExpandData), and compression followed by expansion, which must give the input back.
#include "files_fuzz_common.h"

#include "mathcore/huffman.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzzfiles::writeInput(nullptr, 0);  // installs the quiet message hook
    std::vector<uint8_t> out;
    mathcore::huffmanExpand(data, size, out);
    if (out.size() > size * 8) __builtin_trap();  // every decoded byte costs at least one input bit

    CodeStream s = {0x80, 0, 0, MemBlockAlloc(1), 0};
    ExpandData(&s, data, int32_t(size));
    MemBlockFree(s.hData);

    std::vector<uint8_t> coded, back;
    mathcore::HuffmanBits bits;
    if (!mathcore::huffmanCompress(data, size, coded, bits)) __builtin_trap();
    mathcore::huffmanFlush(coded, bits);
    if (mathcore::huffmanExpand(coded.data(), coded.size(), back) != mathcore::HuffmanExpandResult::Ok ||
        back.size() != size || (size && std::memcmp(back.data(), data, size) != 0))
        __builtin_trap();
    return 0;
}

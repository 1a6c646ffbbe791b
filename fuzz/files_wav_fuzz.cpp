// Fuzz target: ReadWAVInfo and ReadWAVFile on arbitrary file contents.
#include "files_fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string &path = fuzzfiles::writeInput(data, size);
    fuzzfiles::readBoth(path, ReadWAVInfo, ReadWAVFile);
    return 0;
}

// Fuzz target: ReadMDT10Info and ReadMDT10File on arbitrary file contents.
#include "files_fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string &path = fuzzfiles::writeInput(data, size);
    fuzzfiles::readBoth(path, ReadMDT10Info, ReadMDT10File);
    return 0;
}

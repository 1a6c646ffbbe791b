// Fuzz target: the dispatchers ReadDATInfo / ReadDATFile and the array exports xReadDatInfo /
// xReadDat (with the file's counts and with smaller ones) on arbitrary file contents.
#include "files_fuzz_common.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string &path = fuzzfiles::writeInput(data, size);
    fuzzfiles::readBoth(path, ReadDATInfo, ReadDATFile);
    int32_t nch = 0, lx = 0;
    float fs, vmin, vmax;
    if (!xReadDatInfo(path.c_str(), &nch, &lx, &fs, &vmin, &vmax)) return 0;
    if (nch < 1 || lx < 0 || int64_t(nch) * lx > (int64_t(1) << 16)) return 0;
    std::vector<float> x(size_t(nch) * size_t(lx) + 1);
    xReadDat(path.c_str(), nch, lx, x.data());
    if (lx > 0 && xReadDat(path.c_str(), nch, lx - 1, x.data()))
        __builtin_trap();  // fewer values than the file holds must be refused
    return 0;
}

// Fuzz target: ReadXYPHeader and ReadXYPData on arbitrary file contents.
#include "files_fuzz_common.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string &path = fuzzfiles::writeInput(data, size);
    XYPHeader h;
    std::memset(&h, 0, sizeof h);
    if (!ReadXYPHeader(path.c_str(), &h)) return 0;
    int64_t points = 0;
    for (int k = 0; k < h.nCurves; ++k) points += h.nPoints[k];
    if (points < 0 || points > (int64_t(1) << 22))
        __builtin_trap();  // the header reader checks the counts against the file size
    std::vector<float> x(static_cast<size_t>(points)), y(static_cast<size_t>(points));
    ReadXYPData(path.c_str(), x.data(), y.data());
    return 0;
}

// The text matrix reader on arbitrary bytes: the file's lines give the row and column counts,
// which are capped to a buffer sized here, as a caller sizes dBuffer; nothing may be read or
// written outside it.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "textfiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const std::string file = [] {
        char name[] = "/tmp/tessiq-text-fuzz-XXXXXX";
        int fd = mkstemp(name);
        if (fd >= 0) close(fd);
        return std::string(name);
    }();
    if (FILE *f = std::fopen(file.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    tessiq::textfiles::MatrixInfo info;
    if (!tessiq::textfiles::readMatrixInfo(file, info)) return 0;
    const int32_t rows = info.rows < 64 ? info.rows : 64;
    const int32_t cols = info.cols < 64 ? info.cols : 64;
    std::vector<float> buffer(std::size_t(rows > 0 ? rows : 0) * std::size_t(cols > 0 ? cols : 0) + 1);
    float lo = 0, hi = 0;
    tessiq::textfiles::readMatrix(file, rows, cols, buffer.data(), lo, hi);
    return 0;
}

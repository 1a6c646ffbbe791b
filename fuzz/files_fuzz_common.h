// files_fuzz_common.h - shared by the signal file fuzz targets: the input is written to a file of
// its own (one per process), library messages are silenced, and sample blocks are bounded so a
// header may claim anything without the harness itself running out of memory.
#pragma once

#include "sigmora.h"

#include "memblock.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

namespace fuzzfiles {

inline void quiet(const char *, const char *) {}

// Path of this process's input file, with the input written to it.
inline const std::string &writeInput(const uint8_t *data, size_t size) {
    static const std::string path = [] {
        SetMessageHook(quiet);
        return std::string(P_tmpdir) + "/swb_fuzz_files_" + std::to_string(getpid()) + ".bin";
    }();
    FILE *f = std::fopen(path.c_str(), "wb");
    if (f) {
        if (size) std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    return path;
}

inline SignalFileInfo descriptorFor(const std::string &path) {
    SignalFileInfo info;
    std::memset(&info, 0, sizeof info);
    std::strncpy(info.fileName, path.c_str(), sizeof info.fileName - 1);
    return info;
}

// Runs an info reader, then the file reader into a block of the size the header asks for when that
// is at most 64 Ki floats (larger claims cost the harness, not the reader), and also into a block one float too small.
template <typename Info, typename File>
void readBoth(const std::string &path, Info info, File file) {
    SignalFileInfo d = descriptorFor(path);
    if (!info(&d)) return;
    const int64_t count = int64_t(d.nch) * d.len;
    if (count < 0 || count > (int64_t(1) << 16)) return;
    for (int64_t floats : {count, count - 1}) {
        if (floats < 0) continue;
        SignalFileInfo r = d;
        r.hData = MemBlockAlloc(uint32_t(floats * 4));
        int32_t ok = file(&r);
        if (floats < count && ok) __builtin_trap();  // a block too small must fail the read
        MemBlockFree(r.hData);
    }
}

}  // namespace fuzzfiles

// files_seeds: writes the seed files of the signal file fuzz targets through the library's own
// writers (run: files_seeds <repo>/fuzz/corpus). Every seed is small (well under 4 KiB).
#include "sigmora.h"

#include "memblock.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

std::string g_root;

std::string seedPath(const char *target, const char *name) {
    std::string dir = g_root + "/" + target;
    mkdir(dir.c_str(), 0755);
    return dir + "/" + name;
}

SignalFileInfo descriptor(const std::string &path, uint32_t h, int16_t nch, int32_t len, int16_t fmt) {
    SignalFileInfo info;
    std::memset(&info, 0, sizeof info);
    std::strncpy(info.fileName, path.c_str(), sizeof info.fileName - 1);
    info.hData = h;
    info.nch = nch;
    info.len = len;
    info.fs = 100.0f;
    info.vmin = -10.0f;
    info.vmax = 10.0f;
    info.fmt = fmt;
    info.scale = 0.01f;
    for (float &g : info.chanGain) g = 1.0f;
    std::strcpy(info.xUnit, "sec.");
    std::strcpy(info.yUnit, "vol.");
    return info;
}

uint32_t block(int nch, int len) {
    uint32_t h = MemBlockAlloc(uint32_t(nch * len * 4));
    float *p = static_cast<float *>(MemBlockLock(h));
    for (int i = 0; i < nch * len; ++i) p[i] = float(5.0 * std::sin(i * 0.3) + (i % 7) * 0.1);
    MemBlockUnlock(h);
    return h;
}

void write(const char *target, const char *name, int16_t nch, int32_t len, int16_t fmt, int16_t kind) {
    uint32_t h = block(nch, len);
    SignalFileInfo info = descriptor(seedPath(target, name), h, nch, len, fmt);
    if (!WriteDATFile(&info, kind)) std::fprintf(stderr, "could not write %s/%s\n", target, name);
    MemBlockFree(h);
}

}  // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: files_seeds CORPUS_FOLDER\n");
        return 2;
    }
    g_root = argv[1];
    for (int fmt = 0; fmt <= 7; ++fmt) {
        std::string name = "fmt" + std::to_string(fmt) + ".mdt";
        write("files_mdt", name.c_str(), int16_t(1 + fmt % 3), 20, int16_t(fmt), 0);
    }
    write("files_mdtcomp", "one.cmp", 1, 300, 6, 100);
    write("files_mdtcomp", "three.cmp", 3, 40, 6, 100);
    write("files_acq", "two.acq", 2, 30, 6, 1);
    write("files_acq", "one.acq", 1, 5, 6, 1);
    write("files_mdt10", "three.m10", 3, 20, 6, 3);
    write("files_wav", "mono.wav", 1, 100, 6, 2);
    write("files_wav", "stereo.wav", 2, 50, 6, 2);
    write("files_dispatch", "mdt.mdt", 2, 20, 2, 0);
    write("files_dispatch", "acq.acq", 2, 20, 6, 1);
    write("files_dispatch", "wav.wav", 2, 20, 6, 2);
    write("files_dispatch", "m10.m10", 2, 20, 6, 3);
    write("files_dispatch", "cmp.cmp", 2, 20, 6, 100);

    XYPHeader xh;
    std::memset(&xh, 0, sizeof xh);
    xh.nCurves = 2;
    xh.nPoints[0] = 5;
    xh.nPoints[1] = 3;
    std::vector<float> x = {1, 2, 3, 4, 5, 6, 7, 8}, y = {8, 7, 6, 5, 4, 3, 2, 1};
    WriteXYPData(seedPath("files_xyp", "two.xyp").c_str(), &xh, x.data(), y.data());

    // Huffman: streams of the coder over small inputs (compressed MDT files carry one too).
    CodeStream s = {0x80, 0, 0, MemBlockAlloc(1), 0};
    const char text[] = "the quick brown fox jumps over the lazy dog 0123456789 aaaaaaaaaaaaaabbbbbbbcc";
    CompressData(&s, text, int32_t(sizeof text - 1));
    std::vector<uint8_t> coded(size_t(s.size));
    std::memcpy(coded.data(), MemBlockLock(s.hData), coded.size());
    MemBlockUnlock(s.hData);
    if (s.mask != 0x80) coded.push_back(uint8_t(s.byte));
    MemBlockFree(s.hData);
    FILE *f = std::fopen(seedPath("huffman", "text.huf").c_str(), "wb");
    if (f) {
        std::fwrite(coded.data(), 1, coded.size(), f);
        std::fclose(f);
    }
    const uint8_t empty[] = {0x00, 0x00, 0x01, 0x00, 0x80};
    f = std::fopen(seedPath("huffman", "empty.huf").c_str(), "wb");
    if (f) {
        std::fwrite(empty, 1, sizeof empty, f);
        std::fclose(f);
    }
    return 0;
}

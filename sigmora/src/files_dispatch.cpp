// files_dispatch.cpp - format dispatch over every signal file kind, and the array exports that
// hide the descriptor and its memory block.
#include "files_internal.h"

#include <algorithm>

extern "C" {
SIGMORA_API int32_t ReadACQInfo(SignalFileInfo *info);
SIGMORA_API int32_t ReadACQFile(SignalFileInfo *info);
SIGMORA_API int32_t WriteACQFile(SignalFileInfo *info);
SIGMORA_API int32_t ReadWAVInfo(SignalFileInfo *info);
SIGMORA_API int32_t ReadWAVFile(SignalFileInfo *info);
SIGMORA_API int32_t WriteWAVFile(SignalFileInfo *info);
SIGMORA_API int32_t ReadMDTInfo(SignalFileInfo *info);
SIGMORA_API int32_t ReadMDTFile(SignalFileInfo *info);
SIGMORA_API int32_t WriteMDTFile(SignalFileInfo *info);
SIGMORA_API int32_t ReadMDTCompInfo(SignalFileInfo *info);
SIGMORA_API int32_t ReadMDTComp(SignalFileInfo *info);
SIGMORA_API int32_t WriteMDTComp(SignalFileInfo *info);
SIGMORA_API int32_t ReadMDT10Info(SignalFileInfo *info);
SIGMORA_API int32_t ReadMDT10File(SignalFileInfo *info);
SIGMORA_API int32_t WriteM10File(SignalFileInfo *info);
}

namespace {

using namespace sigfiles;

using Reader = int32_t (*)(SignalFileInfo *);

struct Format {
    Reader info;
    Reader file;
};

// The order in which a file's kind is recognised.
const Format kFormats[] = {
    {ReadACQInfo, ReadACQFile},     {ReadWAVInfo, ReadWAVFile},     {ReadMDTInfo, ReadMDTFile},
    {ReadMDTCompInfo, ReadMDTComp}, {ReadMDT10Info, ReadMDT10File},
};

// A zeroed descriptor naming fileName; false when the name does not fit.
bool localDescriptor(const char *fileName, SignalFileInfo &info) {
    std::memset(&info, 0, sizeof info);
    if (!fileName || !*fileName || strnlen(fileName, sizeof info.fileName) >= sizeof info.fileName)
        return false;
    std::strcpy(info.fileName, fileName);
    return true;
}

// Frees a memory block when the object goes.
struct OwnedBlock {
    explicit OwnedBlock(uint64_t bytes) : h(bytes <= 0xFFFFFFFFull ? MemBlockAlloc(uint32_t(bytes)) : 0) {}
    ~OwnedBlock() {
        if (h) MemBlockFree(h);
    }
    OwnedBlock(const OwnedBlock &) = delete;
    OwnedBlock &operator=(const OwnedBlock &) = delete;
    uint32_t h;
};

}  // namespace

extern "C" SIGMORA_API int32_t ReadDATInfo(SignalFileInfo *info) {
    for (const Format &f : kFormats)
        if (f.info(info)) return 1;
    return 0;
}

extern "C" SIGMORA_API int32_t ReadDATFile(SignalFileInfo *info) {
    for (const Format &f : kFormats)
        if (f.info(info)) return f.file(info);
    return 0;
}

extern "C" SIGMORA_API int32_t WriteDATFile(SignalFileInfo *info, int16_t kind) {
    switch (kind) {
        case 1: return WriteACQFile(info);
        case 2: return WriteWAVFile(info);
        case 3: return WriteM10File(info);
        case 100: return WriteMDTComp(info);
        default: return WriteMDTFile(info);
    }
}

extern "C" SIGMORA_API int32_t xReadDatInfo(const char *fileName, int32_t *nch, int32_t *lx, float *fs,
                                            float *vmin, float *vmax) {
    SignalFileInfo info;
    if (!nch || !lx || !fs || !vmin || !vmax || !localDescriptor(fileName, info)) return 0;
    if (!ReadDATInfo(&info) && !ReadMDTCompInfo(&info)) return 0;
    *nch = info.nch;
    *lx = info.len;
    *fs = info.fs;
    *vmin = info.vmin;
    *vmax = info.vmax;
    return 1;
}

extern "C" SIGMORA_API int32_t xReadDat(const char *fileName, int32_t nch, int32_t lx, float *x) {
    SignalFileInfo info;
    if (!x || nch < 1 || lx < 0 || !localDescriptor(fileName, info)) return 0;
    // The block holds the caller's nch * lx floats; a file holding more fails its read.
    OwnedBlock block(uint64_t(nch) * uint64_t(lx) * sizeof(float));
    if (!block.h) return 0;
    info.hData = block.h;
    if (!ReadDATFile(&info)) {
        // The dispatch already tried the compressed reader; one more attempt as a fallback.
        SignalFileInfo again;
        localDescriptor(fileName, again);
        again.hData = block.h;
        if (!ReadMDTCompInfo(&again) || !ReadMDTComp(&again)) return 0;
        info = again;
    }
    const int64_t count = sampleCount(info);
    if (count > int64_t(nch) * lx) return 0;
    SampleBlock samples(block.h, count);
    if (!samples.floats()) return 0;
    std::copy(samples.floats(), samples.floats() + count, x);
    return 1;
}

extern "C" SIGMORA_API int32_t xWriteDat(const float *x, int32_t nch, int32_t lx, float fs, float vmin,
                                         float vmax, int32_t fmt, const char *fileName) {
    SignalFileInfo info;
    if (!x || nch < 1 || nch > 32 || lx < 0 || !localDescriptor(fileName, info)) return 0;
    info.nch = int16_t(nch);
    info.len = lx;
    info.fs = fs;
    info.vmin = vmin;
    info.vmax = vmax;
    info.fmt = SIGMORA_FLOAT32;
    info.srcType = 0;
    info.scale = 1.0f;
    info.offset = 0.0f;
    setAllGains(info, 1.0f);
    setUnit(info.xUnit, "sec.");
    setUnit(info.yUnit, "vol.");
    const int64_t count = int64_t(nch) * lx;
    OwnedBlock block(uint64_t(count) * sizeof(float));
    if (!block.h) return 0;
    {
        SampleBlock samples(block.h, count);
        if (!samples.floats()) return 0;
        std::copy(x, x + count, samples.floats());
    }
    info.hData = block.h;
    if (fmt == 3) return WriteMDTComp(&info);
    // Kinds are 16-bit; a value that does not fit writes the default kind, MDT.
    const int16_t kind = (fmt >= INT16_MIN && fmt <= INT16_MAX) ? int16_t(fmt) : int16_t(0);
    return WriteDATFile(&info, kind);
}

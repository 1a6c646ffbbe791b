// files_mdt.cpp - MDT 2.0 files: a header, an opaque text block and samples in one of eight
// storage types, interleaved by frame on disk and channel-major in the descriptor's block.
// Samples move in chunks through one buffer; a file shorter than its header promises reads with
// zeros (offset for integer codes) in place of the missing samples.
#include "files_internal.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace sigfiles {

namespace {

const char kMagic[] = "mdata2.0";
const char kBanner[] = "MDT file format, multichannel sampled data v2.0.";

// Stored integer types with their write clamps (the 32-bit ones are single-precision constants).
template <typename T>
struct Clamp;
template <>
struct Clamp<int8_t> {
    static constexpr double lo = -127, hi = 127;
};
template <>
struct Clamp<uint8_t> {
    static constexpr double lo = 0, hi = 255;
};
template <>
struct Clamp<int16_t> {
    static constexpr double lo = -32767, hi = 32767;
};
template <>
struct Clamp<uint16_t> {
    static constexpr double lo = 0, hi = 65535;
};
template <>
struct Clamp<int32_t> {
    static constexpr double lo = -2147385344.0, hi = 2147385344.0;
};
template <>
struct Clamp<uint32_t> {
    static constexpr double lo = 0, hi = 4294836224.0;
};

template <typename T>
T load(const uint8_t *p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// Stored frames [0, frames) of a chunk into channel-major samples starting at sample j0.
template <typename T>
void readIntegers(const uint8_t *src, int nch, int64_t frames, float *out, int64_t len, int64_t j0,
                  double scale, double offset) {
    for (int64_t f = 0; f < frames; ++f) {
        const uint8_t *frame = src + f * nch * int64_t(sizeof(T));
        for (int c = 0; c < nch; ++c)
            out[c * len + j0 + f] =
                static_cast<float>(double(load<T>(frame + c * sizeof(T))) * scale + offset);
    }
}

template <typename T>
void readFloats(const uint8_t *src, int nch, int64_t frames, float *out, int64_t len, int64_t j0) {
    for (int64_t f = 0; f < frames; ++f) {
        const uint8_t *frame = src + f * nch * int64_t(sizeof(T));
        for (int c = 0; c < nch; ++c)
            out[c * len + j0 + f] = static_cast<float>(load<T>(frame + c * sizeof(T)));
    }
}

template <typename T>
T toStored(float x, double scale, double offset) {
    double v = double(x) - offset;
    if (scale != 0) v /= scale;
    if (v > Clamp<T>::hi) v = Clamp<T>::hi;
    if (v < Clamp<T>::lo) v = Clamp<T>::lo;
    return std::isnan(v) ? T(0) : static_cast<T>(v);
}

template <typename T>
void writeIntegers(const float *in, int nch, int64_t frames, uint8_t *dst, int64_t len, int64_t j0,
                   double scale, double offset) {
    for (int64_t f = 0; f < frames; ++f) {
        uint8_t *frame = dst + f * nch * int64_t(sizeof(T));
        for (int c = 0; c < nch; ++c) {
            T v = toStored<T>(in[c * len + j0 + f], scale, offset);
            std::memcpy(frame + c * sizeof(T), &v, sizeof v);
        }
    }
}

template <typename T>
void writeFloats(const float *in, int nch, int64_t frames, uint8_t *dst, int64_t len, int64_t j0) {
    for (int64_t f = 0; f < frames; ++f) {
        uint8_t *frame = dst + f * nch * int64_t(sizeof(T));
        for (int c = 0; c < nch; ++c) {
            T v = static_cast<T>(in[c * len + j0 + f]);
            std::memcpy(frame + c * sizeof(T), &v, sizeof v);
        }
    }
}

void convertIn(int fmt, const uint8_t *src, int nch, int64_t frames, float *out, int64_t len, int64_t j0,
               double scale, double offset) {
    switch (fmt) {
        case 0: readIntegers<int8_t>(src, nch, frames, out, len, j0, scale, offset); break;
        case 1: readIntegers<uint8_t>(src, nch, frames, out, len, j0, scale, offset); break;
        case 2: readIntegers<int16_t>(src, nch, frames, out, len, j0, scale, offset); break;
        case 3: readIntegers<uint16_t>(src, nch, frames, out, len, j0, scale, offset); break;
        case 4: readIntegers<int32_t>(src, nch, frames, out, len, j0, scale, offset); break;
        case 5: readIntegers<uint32_t>(src, nch, frames, out, len, j0, scale, offset); break;
        case 7: readFloats<double>(src, nch, frames, out, len, j0); break;
        default: readFloats<float>(src, nch, frames, out, len, j0); break;
    }
}

void convertOut(int fmt, const float *in, int nch, int64_t frames, uint8_t *dst, int64_t len, int64_t j0,
                double scale, double offset) {
    switch (fmt) {
        case 0: writeIntegers<int8_t>(in, nch, frames, dst, len, j0, scale, offset); break;
        case 1: writeIntegers<uint8_t>(in, nch, frames, dst, len, j0, scale, offset); break;
        case 2: writeIntegers<int16_t>(in, nch, frames, dst, len, j0, scale, offset); break;
        case 3: writeIntegers<uint16_t>(in, nch, frames, dst, len, j0, scale, offset); break;
        case 4: writeIntegers<int32_t>(in, nch, frames, dst, len, j0, scale, offset); break;
        case 5: writeIntegers<uint32_t>(in, nch, frames, dst, len, j0, scale, offset); break;
        case 7: writeFloats<double>(in, nch, frames, dst, len, j0); break;
        default: writeFloats<float>(in, nch, frames, dst, len, j0); break;
    }
}

int64_t chunkFrames(int64_t frameBytes) {
    return std::max<int64_t>(1, kChunkBytes / frameBytes);
}

}  // namespace

void dataRange(const float *x, int64_t n, float &vmin, float &vmax) {
    bool any = false;
    float lo = 0, hi = 0;
    for (int64_t i = 0; i < n; ++i) {
        if (std::isnan(x[i])) continue;
        if (!any || x[i] < lo) lo = x[i];
        if (!any || x[i] > hi) hi = x[i];
        any = true;
    }
    if (lo == hi) {
        hi = lo + 1;
        lo = lo - 1;
    }
    vmin = lo;
    vmax = hi;
}

bool readMdtHeader(const InputFile &file, MdtHeader &h) {
    uint8_t b[46 + 4 * 32 + 32];
    if (!file.readExact(0, b, 46) || std::memcmp(b, kMagic, sizeof kMagic) != 0) return false;
    h.nch = getI16(b + 16);
    h.len = getI32(b + 18);
    h.fs = getF32(b + 22);
    h.fmt = getI16(b + 26);
    h.srcType = getI16(b + 28);
    h.vmin = getF32(b + 30);
    h.vmax = getF32(b + 34);
    h.scale = getF32(b + 38);
    h.offset = getF32(b + 42);
    if (h.nch < 1 || h.nch > 32 || h.len <= 0 || !(h.fs > 0)) return false;
    const size_t rest = 4 * size_t(h.nch) + 32;
    if (!file.readExact(46, b + 46, rest)) return false;
    for (int c = 0; c < h.nch; ++c) h.gains[c] = getF32(b + 46 + 4 * c);
    std::memcpy(h.xUnit, b + 46 + 4 * h.nch, 16);
    std::memcpy(h.yUnit, b + 62 + 4 * h.nch, 16);
    h.xUnit[15] = h.yUnit[15] = 0;  // the descriptor's units are always terminated
    return true;
}

bool readMdtTextLength(const InputFile &file, int nch, uint64_t &dataStart) {
    uint8_t b[4];
    if (!file.readExact(mdtTextLengthOffset(nch), b, 4)) return false;
    int32_t t = getI32(b);
    if (t < 0) return false;
    dataStart = mdtTextLengthOffset(nch) + 4 + uint64_t(t);
    return true;
}

void applyMdtHeader(const MdtHeader &h, SignalFileInfo &info) {
    info.nch = h.nch;
    info.len = h.len;
    info.fs = h.fs;
    info.fmt = h.fmt;
    info.srcType = h.srcType;
    info.vmin = h.vmin;
    info.vmax = h.vmax;
    info.scale = h.scale;
    info.offset = h.offset;
    std::copy(h.gains, h.gains + h.nch, info.chanGain);
    std::memcpy(info.xUnit, h.xUnit, 16);
    std::memcpy(info.yUnit, h.yUnit, 16);
}

void writeMdtHeader(const SignalFileInfo &info, int16_t fmt, const char *banner, std::string &out) {
    FieldWriter w(out);
    w.text(kMagic, 16);
    w.i16(info.nch);
    w.i32(info.len);
    w.f32(info.fs);
    w.i16(fmt);
    w.i16(info.srcType);
    w.f32(info.vmin);
    w.f32(info.vmax);
    w.f32(info.scale);
    w.f32(info.offset);
    for (int c = 0; c < info.nch; ++c) w.f32(info.chanGain[c]);
    w.bytes(info.xUnit, 16);
    w.bytes(info.yUnit, 16);
    w.i32(80);
    w.text(banner, 80);
}

bool mdtWritable(const SignalFileInfo *info) {
    return info && info->hData && info->nch >= 1 && info->nch <= 32 && info->len >= 1 && fileNameOf(info);
}

bool matchesMdt(const InputFile &file, const SignalFileInfo &info, bool compressed, uint64_t &dataStart) {
    MdtHeader h;
    if (!readMdtHeader(file, h) || (h.fmt == kCompressedFmt) != compressed) return false;
    if (h.nch != info.nch || h.len != info.len || (!compressed && h.fmt != info.fmt)) return false;
    return readMdtTextLength(file, h.nch, dataStart);
}

}  // namespace sigfiles

using namespace sigfiles;

extern "C" SIGMORA_API int32_t ReadMDTInfo(SignalFileInfo *info) {
    const char *name = fileNameOf(info);
    if (!name) return 0;
    InputFile file(name);
    MdtHeader h;
    if (!file.ok() || !readMdtHeader(file, h) || h.fmt == kCompressedFmt) return 0;
    applyMdtHeader(h, *info);
    return 1;
}

extern "C" SIGMORA_API int32_t ReadMDTFile(SignalFileInfo *info) {
    const char *name = fileNameOf(info);
    if (!name || !info->hData) return 0;
    InputFile file(name);
    uint64_t dataStart = 0;
    if (!file.ok() || !matchesMdt(file, *info, false, dataStart)) return 0;
    SampleBlock block(info->hData, sampleCount(*info));
    if (!block.floats()) return 0;
    const int nch = info->nch;
    const int64_t len = info->len;
    const int64_t frameBytes = int64_t(storageBytes(info->fmt)) * nch;
    const int64_t step = chunkFrames(frameBytes);
    std::vector<uint8_t> chunk;
    try {
        chunk.assign(size_t(std::min(step, len) * frameBytes), 0);
    } catch (const std::bad_alloc &) {
        return 0;
    }
    for (int64_t j0 = 0; j0 < len; j0 += step) {
        const int64_t frames = std::min(step, len - j0);
        const size_t want = size_t(frames * frameBytes);
        size_t got = file.readAt(dataStart + uint64_t(j0 * frameBytes), chunk.data(), want);
        std::memset(chunk.data() + got, 0, want - got);
        convertIn(info->fmt, chunk.data(), nch, frames, block.floats(), len, j0, info->scale, info->offset);
    }
    return 1;
}

extern "C" SIGMORA_API int32_t WriteMDTFile(SignalFileInfo *info) {
    // Code 100 marks compressed files; a plain file carrying it would be misread as one.
    if (!mdtWritable(info) || info->fmt == kCompressedFmt) return 0;
    SampleBlock block(info->hData, sampleCount(*info));
    if (!block.floats()) return 0;
    ReplacingFile file(info->fileName);
    std::string header;
    writeMdtHeader(*info, info->fmt, kBanner, header);
    if (!file.write(header.data(), header.size())) return 0;
    std::vector<uint8_t> chunk;
    const int nch = info->nch;
    const int64_t len = info->len;
    const int64_t frameBytes = int64_t(storageBytes(info->fmt)) * nch;
    const int64_t step = chunkFrames(frameBytes);
    try {
        chunk.assign(size_t(std::min(step, len) * frameBytes), 0);
    } catch (const std::bad_alloc &) {
        return 0;
    }
    for (int64_t j0 = 0; j0 < len; j0 += step) {
        const int64_t frames = std::min(step, len - j0);
        convertOut(info->fmt, block.floats(), nch, frames, chunk.data(), len, j0, info->scale, info->offset);
        if (!file.write(chunk.data(), size_t(frames * frameBytes))) return 0;
    }
    return file.commit() ? 1 : 0;
}

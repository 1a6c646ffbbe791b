// files_other.cpp - ACQ files (floats interleaved by frame), MDT 1.0 files (typed samples,
// interleaved or channel-major) and XYP curve files. Sample sections shorter than their header
// promises read with zeros; XYP files must hold every point their header counts.
#include "files_internal.h"

#include <algorithm>
#include <new>
#include <strings.h>

namespace {

using namespace sigfiles;

// ---- ACQ -------------------------------------------------------------------------------------------

const char kAcqMagic[] = "acq1.0";
constexpr uint64_t kAcqHeader = 32;

bool readAcqHeader(const InputFile &file, SignalFileInfo &out) {
    uint8_t b[kAcqHeader];
    if (!file.readExact(0, b, sizeof b) || std::memcmp(b, kAcqMagic, sizeof kAcqMagic) != 0) return false;
    int16_t nch = getI16(b + 8);
    int32_t len = getI32(b + 10);
    if (nch < 1 || nch > 16 || len < 0) return false;
    out.nch = nch;
    out.len = len;
    out.fs = getF32(b + 14);
    out.vmax = getF32(b + 22);
    out.vmin = getF32(b + 26);
    out.fmt = SIGMORA_FLOAT32;
    out.srcType = 101;
    out.scale = 1.0f;
    out.offset = 0.0f;
    setAllGains(out, 1.0f);
    setUnit(out.xUnit, "");
    setUnit(out.yUnit, "");
    return true;
}

void acqHeaderBytes(int16_t nch, int32_t len, float fs, float scale, float vmax, float vmin,
                    std::string &out) {
    FieldWriter w(out);
    w.text(kAcqMagic, 8);
    w.i16(nch);
    w.i32(len);
    w.f32(fs);
    w.f32(scale);
    w.f32(vmax);
    w.f32(vmin);
    w.zeros(2);
}

// Reads `count` floats at offset into dst; what the file lacks stays 0.
void readFloatsAt(const InputFile &file, uint64_t offset, float *dst, int64_t count) {
    size_t want = size_t(count) * sizeof(float);
    size_t got = file.readAt(offset, dst, want);
    std::memset(reinterpret_cast<uint8_t *>(dst) + got, 0, want - got);
}

// Frame-interleaved floats at offset into channel-major samples, chunk by chunk.
bool readInterleavedFloats(const InputFile &file, uint64_t offset, int nch, int64_t len, float *out) {
    const int64_t step = std::max<int64_t>(1, kChunkBytes / (4 * nch));
    std::vector<float> chunk;
    try {
        chunk.assign(size_t(std::min(step, len) * nch), 0);
    } catch (const std::bad_alloc &) {
        return false;
    }
    for (int64_t j0 = 0; j0 < len; j0 += step) {
        int64_t frames = std::min(step, len - j0);
        readFloatsAt(file, offset + uint64_t(j0 * nch * 4), chunk.data(), frames * nch);
        for (int64_t f = 0; f < frames; ++f)
            for (int c = 0; c < nch; ++c) out[c * len + j0 + f] = chunk[size_t(f * nch + c)];
    }
    return true;
}

// ---- MDT 1.0 -----------------------------------------------------------------------------------------

constexpr uint64_t kM10Header = 30;

struct M10Layout {
    char type = 0;
    bool interleaved = false;
};

int m10Bytes(char type) {
    switch (type) {
        case 'C':
        case 'c': return 1;
        case 'I':
        case 'i': return 2;
        case 'L':
        case 'l':
        case 'f': return 4;
        case 'd': return 8;
        default: return 0;
    }
}

double m10Value(char type, const uint8_t *p) {
    switch (type) {
        case 'C': return *p;
        case 'c': return int8_t(*p);
        case 'I': {
            uint16_t v;
            std::memcpy(&v, p, 2);
            return v;
        }
        case 'i': return getI16(p);
        case 'L': return getU32(p);
        case 'l': return getI32(p);
        case 'f': return getF32(p);
        default: {
            double v;
            std::memcpy(&v, p, 8);
            return v;
        }
    }
}

bool readM10Header(const InputFile &file, SignalFileInfo &out, M10Layout &layout) {
    uint8_t b[kM10Header];
    if (!file.readExact(0, b, sizeof b) ||
        strncasecmp(reinterpret_cast<const char *>(b), "mdat1.0", 7) != 0 || b[7] != 0)
        return false;
    int16_t nch = getI16(b + 10);
    int32_t len = getI32(b + 12);
    layout.type = char(b[8]);
    layout.interleaved = b[28] == '1';
    if (nch < 1 || nch > 32 || len < 0 || m10Bytes(layout.type) == 0) return false;
    out.nch = nch;
    out.len = len;
    out.fs = getF32(b + 16);
    out.fmt = SIGMORA_FLOAT32;
    out.srcType = 0;
    out.scale = 1.0f;
    out.offset = 0.0f;
    setUnit(out.xUnit, "Sec.");
    setUnit(out.yUnit, "V.");
    return true;
}

bool readM10Samples(const InputFile &file, const M10Layout &layout, int nch, int64_t len, float *out) {
    const int size = m10Bytes(layout.type);
    const int64_t total = nch * len;
    const int64_t step = std::max<int64_t>(nch, kChunkBytes / size / nch * nch);
    std::vector<uint8_t> chunk;
    try {
        chunk.assign(size_t(std::min(step, total) * size), 0);
    } catch (const std::bad_alloc &) {
        return false;
    }
    for (int64_t i0 = 0; i0 < total; i0 += step) {
        const int64_t count = std::min(step, total - i0);
        size_t want = size_t(count * size);
        size_t got = file.readAt(kM10Header + uint64_t(i0 * size), chunk.data(), want);
        std::memset(chunk.data() + got, 0, want - got);
        for (int64_t k = 0; k < count; ++k) {
            const int64_t i = i0 + k;  // stored position
            const int64_t dst = layout.interleaved ? (i % nch) * len + i / nch : i;
            out[dst] = static_cast<float>(m10Value(layout.type, chunk.data() + k * size));
        }
    }
    return true;
}

// ---- XYP -----------------------------------------------------------------------------------------------

constexpr uint64_t kXypFixed = 26;

// Reads and checks an XYP header; points is the sum of the point counts, which the file must hold.
bool readXypHeader(const InputFile &file, XYPHeader &h, int64_t &points) {
    uint8_t b[kXypFixed + 12 * 16];
    if (!file.readExact(0, b, kXypFixed) || std::memcmp(b, "xyp2.1", 6) != 0) return false;
    const int16_t n = getI16(b + 8);
    if (n < 1 || n > 16 || !file.readExact(kXypFixed, b + kXypFixed, 12 * size_t(n))) return false;
    points = 0;
    for (int k = 0; k < n; ++k) {
        int32_t count = getI32(b + kXypFixed + 4 * k);
        if (count < 0) return false;
        points += count;
    }
    if (kXypFixed + 12 * uint64_t(n) + 8 * uint64_t(points) > file.size()) return false;
    h.nCurves = n;
    for (int k = 0; k < 4; ++k) h.values[k] = getI32(b + 10 + 4 * k);
    for (int k = 0; k < n; ++k) {
        h.nPoints[k] = getI32(b + kXypFixed + 4 * k);
        h.attr32[k] = getI32(b + kXypFixed + 4 * n + 4 * k);
        h.attr16a[k] = getI16(b + kXypFixed + 8 * n + 2 * k);
        h.attr16b[k] = getI16(b + kXypFixed + 10 * n + 2 * k);
    }
    return true;
}

}  // namespace

// ---- ACQ exports -------------------------------------------------------------------------------------

extern "C" SIGMORA_API int32_t ReadACQInfo(SignalFileInfo *info) {
    const char *name = fileNameOf(info);
    if (!name) return 0;
    InputFile file(name);
    SignalFileInfo h = *info;
    if (!file.ok() || !readAcqHeader(file, h)) return 0;
    *info = h;
    return 1;
}

extern "C" SIGMORA_API int32_t ReadACQFile(SignalFileInfo *info) {
    const char *name = fileNameOf(info);
    if (!name || !info->hData) return 0;
    InputFile file(name);
    SignalFileInfo h = *info;
    if (!file.ok() || !readAcqHeader(file, h) || h.nch != info->nch || h.len != info->len) return 0;
    SampleBlock block(info->hData, sampleCount(*info));
    if (!block.floats()) return 0;
    return readInterleavedFloats(file, kAcqHeader, info->nch, info->len, block.floats()) ? 1 : 0;
}

// Writes an ACQ header and nch x len floats taken from data frame by frame (interleaved: element
// f * nch + c, channel-major: c * len + f).
static int32_t writeAcq(const char *name, const float *data, int16_t nch, int32_t len, float fs, float scale,
                        float vmax, float vmin, bool interleaved) {
    ReplacingFile file(name);
    std::string bytes;
    acqHeaderBytes(nch, len, fs, scale, vmax, vmin, bytes);
    if (!file.write(bytes.data(), bytes.size())) return 0;
    const int64_t step = std::max<int64_t>(1, kChunkBytes / (4 * nch));
    std::vector<float> chunk;
    try {
        chunk.assign(size_t(std::min<int64_t>(step, len) * nch), 0);
    } catch (const std::bad_alloc &) {
        return 0;
    }
    for (int64_t j0 = 0; j0 < len; j0 += step) {
        const int64_t frames = std::min<int64_t>(step, len - j0);
        for (int64_t f = 0; f < frames; ++f)
            for (int c = 0; c < nch; ++c)
                chunk[size_t(f * nch + c)] =
                    interleaved ? data[(j0 + f) * nch + c] : data[c * int64_t(len) + j0 + f];
        if (!file.write(chunk.data(), size_t(frames * nch) * sizeof(float))) return 0;
    }
    return file.commit() ? 1 : 0;
}

extern "C" SIGMORA_API int32_t WriteACQFile(SignalFileInfo *info) {
    const char *name = fileNameOf(info);
    if (!name || info->nch < 1 || info->nch > 16 || info->len < 0) return 0;
    SampleBlock block(info->hData, sampleCount(*info));
    if (!block.floats()) return 0;
    return writeAcq(name, block.floats(), info->nch, info->len, info->fs, info->scale, info->vmax, info->vmin,
                    false);
}

extern "C" SIGMORA_API int32_t WriteAcquireData(const float *data, int32_t len, int32_t nch, float fs,
                                                const char *fileName) {
    if (!fileName || !*fileName || nch < 1 || nch > 16 || len < 0 || (len > 0 && !data)) return 0;
    float vmin = -1, vmax = 1;
    dataRange(data, int64_t(len) * nch, vmin, vmax);
    return writeAcq(fileName, data, int16_t(nch), len, fs, 1.0f, vmax, vmin, true);
}

// ---- MDT 1.0 exports -----------------------------------------------------------------------------------

extern "C" SIGMORA_API int32_t ReadMDT10Info(SignalFileInfo *info) {
    const char *name = fileNameOf(info);
    if (!name) return 0;
    InputFile file(name);
    SignalFileInfo h = *info;
    M10Layout layout;
    if (!file.ok() || !readM10Header(file, h, layout)) return 0;
    *info = h;
    return 1;
}

extern "C" SIGMORA_API int32_t ReadMDT10File(SignalFileInfo *info) {
    const char *name = fileNameOf(info);
    if (!name || !info->hData) return 0;
    InputFile file(name);
    SignalFileInfo h = *info;
    M10Layout layout;
    if (!file.ok() || !readM10Header(file, h, layout) || h.nch != info->nch || h.len != info->len) return 0;
    SampleBlock block(info->hData, sampleCount(*info));
    if (!block.floats() || !readM10Samples(file, layout, info->nch, info->len, block.floats())) return 0;
    dataRange(block.floats(), sampleCount(*info), info->vmin, info->vmax);
    return 1;
}

extern "C" SIGMORA_API int32_t WriteM10File(SignalFileInfo *info) {
    const char *name = fileNameOf(info);
    if (!name || info->nch < 1 || info->nch > 32 || info->len < 0) return 0;
    SampleBlock block(info->hData, sampleCount(*info));
    if (!block.floats()) return 0;
    std::string header;
    FieldWriter w(header);
    w.text("mdat1.0", 8);
    w.bytes("f ", 2);
    w.i16(info->nch);
    w.i32(info->len);
    w.f32(info->fs);
    w.f32(1.0f);
    w.i32(0);
    w.bytes(" ", 1);
    w.zeros(1);
    ReplacingFile file(name);
    bool ok = file.write(header.data(), header.size()) &&
              file.write(block.floats(), size_t(sampleCount(*info)) * sizeof(float));
    return ok && file.commit() ? 1 : 0;
}

// ---- XYP exports ------------------------------------------------------------------------------------------

extern "C" SIGMORA_API int32_t ReadXYPHeader(const char *fileName, XYPHeader *header) {
    if (!fileName || !header) return 0;
    InputFile file(fileName);
    XYPHeader h = *header;
    int64_t points = 0;
    if (!file.ok() || !readXypHeader(file, h, points)) return 0;
    *header = h;
    return 1;
}

extern "C" SIGMORA_API int32_t ReadXYPData(const char *fileName, float *x, float *y) {
    if (!fileName) return 0;
    InputFile file(fileName);
    XYPHeader h;
    int64_t points = 0;
    if (!file.ok() || !readXypHeader(file, h, points) || (points > 0 && (!x || !y))) return 0;
    const uint64_t start = kXypFixed + 12 * uint64_t(h.nCurves);
    const size_t bytes = size_t(points) * sizeof(float);
    return file.readExact(start, x, bytes) && file.readExact(start + bytes, y, bytes) ? 1 : 0;
}

extern "C" SIGMORA_API int32_t WriteXYPData(const char *fileName, const XYPHeader *header, const float *x,
                                            const float *y) {
    if (!fileName || !*fileName || !header || header->nCurves < 1 || header->nCurves > 16) return 0;
    const int n = header->nCurves;
    int64_t points = 0;
    for (int k = 0; k < n; ++k) {
        if (header->nPoints[k] < 0) return 0;
        points += header->nPoints[k];
    }
    if (points > 0 && (!x || !y)) return 0;
    std::string bytes;
    FieldWriter w(bytes);
    w.text("xyp2.1", 8);
    w.i16(header->nCurves);
    for (int k = 0; k < 4; ++k) w.i32(header->values[k]);
    w.bytes(header->nPoints, 4 * size_t(n));
    w.bytes(header->attr32, 4 * size_t(n));
    w.bytes(header->attr16a, 2 * size_t(n));
    w.bytes(header->attr16b, 2 * size_t(n));
    ReplacingFile file(fileName);
    const size_t data = size_t(points) * sizeof(float);
    bool ok = file.write(bytes.data(), bytes.size()) && file.write(x, data) && file.write(y, data);
    return ok && file.commit() ? 1 : 0;
}

static_assert(sizeof(XYPHeader) == 404, "XYPHeader is 404 bytes");
static_assert(offsetof(XYPHeader, values) == 4 && offsetof(XYPHeader, nPoints) == 20 &&
                  offsetof(XYPHeader, attr32) == 148 && offsetof(XYPHeader, attr16a) == 276 &&
                  offsetof(XYPHeader, attr16b) == 340,
              "XYPHeader field offsets");
static_assert(sizeof(CodeStream) == 12, "CodeStream is 12 bytes");

// files_wav.cpp - PCM WAV files of one or two channels, 8-bit unsigned or 16-bit signed.
// The reader walks the RIFF chunks: the format fields come from the "fmt " chunk and the samples
// from the "data" chunk, limited to the bytes the file holds. A file without those chunks is read
// at the canonical positions (fields from byte 20, samples from byte 44 to the end).
#include "files_internal.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

namespace {

using namespace sigfiles;

constexpr uint64_t kCanonicalData = 44;
constexpr int kMaxChunks = 1024;

struct WavLayout {
    int channels = 0;
    int bytesPerSample = 0;  // 1: unsigned 8-bit, 2: signed 16-bit
    uint32_t rate = 0;
    uint64_t dataStart = 0;
    int64_t frames = 0;
};

bool readWavLayout(const InputFile &file, WavLayout &w) {
    uint8_t riff[12];
    if (!file.readExact(0, riff, sizeof riff) || std::memcmp(riff, "RIFF", 4) != 0) return false;
    uint64_t fmtAt = 20, dataAt = kCanonicalData;
    uint64_t dataSize = file.size() > kCanonicalData ? file.size() - kCanonicalData : 0;
    bool haveFmt = false;
    uint64_t pos = 12;
    for (int k = 0; k < kMaxChunks && pos + 8 <= file.size(); ++k) {
        uint8_t head[8];
        if (!file.readExact(pos, head, 8)) break;
        const uint32_t size = getU32(head + 4);
        if (!haveFmt && std::memcmp(head, "fmt ", 4) == 0) {
            if (size < 16) return false;
            fmtAt = pos + 8;
            haveFmt = true;
        } else if (std::memcmp(head, "data", 4) == 0) {
            dataAt = pos + 8;
            dataSize = size;
            break;
        }
        pos += 8 + uint64_t(size) + (size & 1u);
    }
    uint8_t f[16];
    if (!file.readExact(fmtAt, f, sizeof f)) return false;
    const int16_t tag = getI16(f);
    const int16_t channels = getI16(f + 2);
    const uint32_t rate = getU32(f + 4);
    const int16_t bits = getI16(f + 14);
    if (tag != 1 || channels < 1 || channels > 2 || rate == 0 || bits > 16) return false;
    if (dataAt > file.size()) return false;
    dataSize = std::min<uint64_t>(dataSize, file.size() - dataAt);
    w.channels = channels;
    w.bytesPerSample = bits <= 8 ? 1 : 2;
    w.rate = rate;
    w.dataStart = dataAt;
    w.frames = int64_t(std::min<uint64_t>(dataSize / uint64_t(w.bytesPerSample * channels), INT32_MAX));
    return true;
}

void applyWavDefaults(const WavLayout &w, SignalFileInfo &info) {
    info.nch = int16_t(w.channels);
    info.len = int32_t(w.frames);
    info.fs = float(w.rate);
    info.vmin = -10.0f;
    info.vmax = 10.0f;
    info.srcType = 100;
    setAllGains(info, 1.0f);
    setUnit(info.xUnit, "sec.");
    setUnit(info.yUnit, "v.");
    if (w.bytesPerSample == 2) {
        info.fmt = SIGMORA_INT16;
        info.scale = 10.0f / 32767.0f;
        info.offset = 0.0f;
    } else {
        info.fmt = SIGMORA_UINT8;
        info.scale = 0.15625f;
        info.offset = -10.0f;
    }
}

// Calls fn(stored values, count, first stored index) over the first `total` stored values, chunk by
// chunk; values the file lacks are 0.
template <typename T, typename F>
bool forEachChunk(const InputFile &file, const WavLayout &w, int64_t total, F fn) {
    const int64_t step = kChunkBytes / int64_t(sizeof(T)) / w.channels * w.channels;
    std::vector<T> chunk;
    try {
        chunk.assign(size_t(std::min(step, total)), 0);
    } catch (const std::bad_alloc &) {
        return false;
    }
    for (int64_t i0 = 0; i0 < total; i0 += step) {
        const int64_t count = std::min(step, total - i0);
        const size_t want = size_t(count) * sizeof(T);
        const size_t got = file.readAt(w.dataStart + uint64_t(i0) * sizeof(T), chunk.data(), want);
        std::memset(reinterpret_cast<uint8_t *>(chunk.data()) + got, 0, want - got);
        fn(chunk.data(), count, i0);
    }
    return true;
}

template <typename T>
bool readWavSamples(const InputFile &file, const WavLayout &w, SignalFileInfo &info, float *out) {
    const int nch = w.channels;
    const int64_t len = info.len;
    const int64_t total = len * nch;
    int lo = std::numeric_limits<int>::max(), hi = std::numeric_limits<int>::min();
    bool ok = forEachChunk<T>(file, w, total, [&](const T *v, int64_t count, int64_t) {
        T cmin = v[0], cmax = v[0];
        for (int64_t k = 1; k < count; ++k) {
            cmin = std::min(cmin, v[k]);
            cmax = std::max(cmax, v[k]);
        }
        lo = std::min<int>(lo, cmin);
        hi = std::max<int>(hi, cmax);
    });
    if (!ok) return false;
    if (total == 0) lo = hi = 0;
    if (lo == hi) {
        ++hi;
        --lo;
    }
    const float scale = static_cast<float>((double(info.vmax) - double(info.vmin)) / double(hi - lo));
    const float offset = static_cast<float>(double(info.vmax) - double(hi) * scale);
    info.scale = scale;
    info.offset = offset;
    return forEachChunk<T>(file, w, total, [&](const T *v, int64_t count, int64_t i0) {
        const int64_t j0 = i0 / nch;
        if (nch == 1) {
            for (int64_t k = 0; k < count; ++k) out[j0 + k] = float(v[k]) * scale + offset;
        } else {
            float *c0 = out + j0, *c1 = out + len + j0;
            for (int64_t f = 0; f < count / 2; ++f) {
                c0[f] = float(v[2 * f]) * scale + offset;
                c1[f] = float(v[2 * f + 1]) * scale + offset;
            }
        }
    });
}

// x * k - 2048 truncated toward zero, saturated to the 16-bit range.
int16_t wavSample(float x, float k) {
    float v = x * k - 2048.0f;
    if (std::isnan(v)) return 0;
    v = std::clamp(v, -32768.0f, 32767.0f);
    return static_cast<int16_t>(v);
}

}  // namespace

extern "C" SIGMORA_API int32_t ReadWAVInfo(SignalFileInfo *info) {
    const char *name = fileNameOf(info);
    if (!name) return 0;
    InputFile file(name);
    WavLayout w;
    if (!file.ok() || !readWavLayout(file, w)) return 0;
    applyWavDefaults(w, *info);
    return 1;
}

extern "C" SIGMORA_API int32_t ReadWAVFile(SignalFileInfo *info) {
    const char *name = fileNameOf(info);
    if (!name || !info->hData) return 0;
    InputFile file(name);
    WavLayout w;
    if (!file.ok() || !readWavLayout(file, w) || w.channels != info->nch || info->len < 0 ||
        info->len > w.frames)
        return 0;
    SampleBlock block(info->hData, sampleCount(*info));
    if (!block.floats()) return 0;
    bool ok = w.bytesPerSample == 2 ? readWavSamples<int16_t>(file, w, *info, block.floats())
                                    : readWavSamples<uint8_t>(file, w, *info, block.floats());
    return ok ? 1 : 0;
}

extern "C" SIGMORA_API int32_t WriteWAVFile(SignalFileInfo *info) {
    const char *name = fileNameOf(info);
    if (!name || info->nch < 1 || info->len < 0) return 0;
    const int c = std::min<int>(info->nch, 2);
    const uint64_t dataBytes = uint64_t(c) * uint64_t(info->len) * 2;
    if (dataBytes > 0xFFFFFFFFull - 36) return 0;
    SampleBlock block(info->hData, int64_t(c) * info->len);
    if (!block.floats()) return 0;
    uint32_t rate = 1;
    if (info->fs >= 1) rate = info->fs >= 4294967295.0f ? 0xFFFFFFFFu : static_cast<uint32_t>(info->fs);
    const float k = info->vmax != info->vmin ? 4096.0f / (info->vmax - info->vmin) : 1.0f;
    std::string bytes;
    FieldWriter w(bytes);
    w.bytes("RIFF", 4);
    w.u32(uint32_t(dataBytes + 36));
    w.bytes("WAVEfmt ", 8);
    w.u32(16);
    w.i16(1);
    w.i16(int16_t(c));
    w.u32(rate);
    w.u32(uint32_t(uint64_t(rate) * uint64_t(c) * 2));
    w.i16(int16_t(c * 2));
    w.i16(16);
    w.bytes("data", 4);
    w.u32(uint32_t(dataBytes));
    ReplacingFile file(name);
    if (!file.write(bytes.data(), bytes.size())) return 0;
    const int64_t len = info->len;
    const int64_t step = kChunkBytes / 4;
    std::vector<int16_t> chunk;
    try {
        chunk.assign(size_t(std::min(step, len) * c), 0);
    } catch (const std::bad_alloc &) {
        return 0;
    }
    const float *x = block.floats();
    for (int64_t j0 = 0; j0 < len; j0 += step) {
        const int64_t frames = std::min(step, len - j0);
        for (int64_t f = 0; f < frames; ++f)
            for (int ch = 0; ch < c; ++ch) chunk[size_t(f * c + ch)] = wavSample(x[ch * len + j0 + f], k);
        if (!file.write(chunk.data(), size_t(frames * c) * 2)) return 0;
    }
    return file.commit() ? 1 : 0;
}

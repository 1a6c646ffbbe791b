// memhelpers.cpp - moving values in and out of movable memory blocks and descriptor sample blocks.
// Every access is checked against the block's real size, so a wrong index, count or descriptor
// fails instead of touching memory outside the block.
#include "sigmora.h"

#include "memblock.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Element size of a value type code, 0 for an unknown code.
int64_t typeBytes(int32_t type) {
    static const int64_t bytes[] = {1, 1, 2, 2, 4, 4, 4, 8};
    return (type >= 0 && type <= 7) ? bytes[type] : 0;
}

// A block locked for the lifetime of the object; ptr is null when the handle is not usable.
class LockedBlock {
  public:
    explicit LockedBlock(uint32_t h) : handle_(h), ptr_(h ? static_cast<char *>(MemBlockLock(h)) : nullptr) {
        size_ = ptr_ ? MemBlockSize(h) : 0;
    }
    ~LockedBlock() {
        if (ptr_) MemBlockUnlock(handle_);
    }
    LockedBlock(const LockedBlock &) = delete;
    LockedBlock &operator=(const LockedBlock &) = delete;

    char *bytes() const { return ptr_; }
    float *floats() const { return reinterpret_cast<float *>(ptr_); }
    int64_t size() const { return size_; }
    int64_t floatCount() const { return size_ / static_cast<int64_t>(sizeof(float)); }

  private:
    uint32_t handle_;
    char *ptr_;
    int64_t size_ = 0;
};

// Truncates toward zero to a 64-bit integer; NaN and values outside the 64-bit range give 0.
int64_t truncateToInt64(double value) {
    if (!(std::fabs(value) < 9223372036854775808.0)) return 0;
    return static_cast<int64_t>(value);
}

void storeTyped(char *dst, double value, int32_t type) {
    uint64_t bits = static_cast<uint64_t>(truncateToInt64(value));
    uint8_t b8 = static_cast<uint8_t>(bits);
    uint16_t b16 = static_cast<uint16_t>(bits);
    uint32_t b32 = static_cast<uint32_t>(bits);
    float f = static_cast<float>(value);
    switch (type) {
        case 0:
        case 1: std::memcpy(dst, &b8, 1); break;
        case 2:
        case 3: std::memcpy(dst, &b16, 2); break;
        case 4:
        case 5: std::memcpy(dst, &b32, 4); break;
        case 6: std::memcpy(dst, &f, 4); break;
        default: std::memcpy(dst, &value, 8); break;
    }
}

// The stretch of a descriptor's samples that one float-helper call may touch: elements
// [first, first + count) of the block, limited by nch * len and by the block's own size.
struct SampleWindow {
    int64_t first = 0;
    int64_t count = 0;
};

bool sampleWindow(const SignalFileInfo &info, const LockedBlock &block, int32_t channel, int32_t start,
                  int32_t count, SampleWindow &out) {
    int64_t total = static_cast<int64_t>(info.nch) * info.len;
    if (total > block.floatCount()) total = block.floatCount();
    int64_t first = static_cast<int64_t>(channel) * info.len + start;
    if (first < 0 || first >= total) return false;
    out.first = first;
    out.count = count <= 0 ? 0 : std::min<int64_t>(count, total - first);
    return true;
}

// Shared body of GetFloatFromMemory (toBuffer) and SetFloatToMemory.
int16_t copyFloats(const SignalFileInfo *info, int32_t channel, int32_t start, int32_t count, float *buf,
                   bool toBuffer) {
    if (!info || !info->hData) return 0;
    LockedBlock block(info->hData);
    SampleWindow win;
    if (!block.bytes() || !sampleWindow(*info, block, channel, start, count, win)) return 0;
    if (win.count == 0) return 1;
    if (!buf) return 0;
    float *samples = block.floats() + win.first;
    size_t bytes = static_cast<size_t>(win.count) * sizeof(float);
    if (toBuffer)
        std::memmove(buf, samples, bytes);
    else
        std::memmove(samples, buf, bytes);
    return 1;
}

// Header fields of a selection: everything but the samples, the channel count and the gains.
void copySelectionHeader(const SignalFileInfo &src, SignalFileInfo &dst, int32_t channel, int32_t count) {
    if (channel < 0) {
        dst.nch = src.nch;
        std::memmove(dst.chanGain, src.chanGain, sizeof dst.chanGain);
    } else {
        dst.nch = 1;
        dst.chanGain[0] = src.chanGain[channel];
    }
    dst.len = count;
    dst.fs = src.fs;
    dst.vmin = src.vmin;
    dst.vmax = src.vmax;
    dst.fmt = src.fmt;
    dst.srcType = src.srcType;
    dst.scale = src.scale;
    dst.offset = src.offset;
    std::memmove(dst.xUnit, src.xUnit, sizeof dst.xUnit);
    std::memmove(dst.yUnit, src.yUnit, sizeof dst.yUnit);
    std::memset(dst.fileName, 0, sizeof dst.fileName);
    std::strcpy(dst.fileName, "untitled.mdt");
}

// Checks a selection against both descriptors and both blocks before anything is written.
bool selectionFits(const SignalFileInfo &src, const LockedBlock &from, const LockedBlock &to, int32_t channel,
                   int32_t start, int32_t count) {
    if (src.nch < 1 || src.nch > 32 || src.len < 0 || channel >= src.nch) return false;
    if (start < 0 || count < 0 || static_cast<int64_t>(start) + count > src.len) return false;
    int64_t channels = channel < 0 ? src.nch : 1;
    int64_t lastChannel = channel < 0 ? src.nch - 1 : channel;
    bool sourceHolds = (lastChannel * src.len + start + count) <= from.floatCount();
    bool destHolds = channels * count <= to.floatCount();
    return count == 0 || (sourceHolds && destHolds);
}

}  // namespace

extern "C" SIGMORA_API int32_t GetValueFromGMem(uint32_t hMem, void *pOut, int32_t index, int32_t type) {
    int64_t bytes = typeBytes(type);
    if (!hMem || !pOut || bytes == 0 || index < 0) return 0;
    LockedBlock block(hMem);
    if (!block.bytes() || (static_cast<int64_t>(index) + 1) * bytes > block.size()) return 0;
    std::memcpy(pOut, block.bytes() + index * bytes, static_cast<size_t>(bytes));
    return 1;
}

extern "C" SIGMORA_API int32_t SetValueToGMem(uint32_t hMem, double value, int32_t index, int32_t type) {
    int64_t bytes = typeBytes(type);
    if (!hMem || bytes == 0 || index < 0) return 0;
    LockedBlock block(hMem);
    if (!block.bytes() || (static_cast<int64_t>(index) + 1) * bytes > block.size()) return 0;
    storeTyped(block.bytes() + index * bytes, value, type);
    return 1;
}

extern "C" SIGMORA_API int16_t GetFloatFromMemory(const SignalFileInfo *info, int32_t channel, int32_t start,
                                                  int32_t count, float *buf) {
    return copyFloats(info, channel, start, count, buf, true);
}

extern "C" SIGMORA_API int16_t SetFloatToMemory(const SignalFileInfo *info, int32_t channel, int32_t start,
                                                int32_t count, const float *buf) {
    return copyFloats(info, channel, start, count, const_cast<float *>(buf), false);
}

extern "C" SIGMORA_API int32_t GetSelectedData(const SignalFileInfo *src, SignalFileInfo *dst,
                                               int32_t channel, int32_t start, int32_t count) {
    if (!src || !dst || !src->hData || !dst->hData) return 0;
    LockedBlock from(src->hData);
    if (!from.bytes()) return 0;
    LockedBlock to(dst->hData);
    if (!to.bytes() || !selectionFits(*src, from, to, channel, start, count)) return 0;
    int32_t firstChannel = channel < 0 ? 0 : channel;
    int32_t channels = channel < 0 ? src->nch : 1;
    for (int32_t c = 0; c < channels; ++c) {
        const float *in = from.floats() + static_cast<int64_t>(firstChannel + c) * src->len + start;
        float *out = to.floats() + static_cast<int64_t>(c) * count;
        std::memmove(out, in, static_cast<size_t>(count) * sizeof(float));
    }
    copySelectionHeader(*src, *dst, channel, count);
    return 1;
}

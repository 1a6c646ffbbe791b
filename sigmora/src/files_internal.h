// files_internal.h - pieces shared by the signal file formats: little-endian fields, the locked
// sample block, descriptor defaults and the MDT header that the plain and compressed MDT share.
#ifndef SIGMORA_FILES_INTERNAL_H
#define SIGMORA_FILES_INTERNAL_H

#include "sigmora.h"

#include "mathcore/safefile.h"
#include "memblock.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace sigfiles {

using mathcore::InputFile;
using mathcore::ReplacingFile;

// ---- little-endian fields ----------------------------------------------------------------------

inline int16_t getI16(const uint8_t *p) {
    int16_t v;
    std::memcpy(&v, p, 2);
    return v;
}
inline int32_t getI32(const uint8_t *p) {
    int32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
inline uint32_t getU32(const uint8_t *p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
inline float getF32(const uint8_t *p) {
    float v;
    std::memcpy(&v, p, 4);
    return v;
}

// Appends fields to a byte string in file order. (A string, not a vector: growing a byte vector
// instantiates a standard-library object that the linker exports from the shared library.)
class FieldWriter {
  public:
    explicit FieldWriter(std::string &out) : out_(out) {}
    void bytes(const void *p, size_t n) { out_.append(static_cast<const char *>(p), n); }
    void i16(int16_t v) { bytes(&v, 2); }
    void u16(uint16_t v) { bytes(&v, 2); }
    void i32(int32_t v) { bytes(&v, 4); }
    void u32(uint32_t v) { bytes(&v, 4); }
    void f32(float v) { bytes(&v, 4); }
    void zeros(size_t n) { out_.append(n, '\0'); }
    // A text in a fixed field of n bytes, cut to n - 1 characters, NUL-padded.
    void text(const char *s, size_t n) {
        const size_t len = strnlen(s, n - 1);
        bytes(s, len);
        zeros(n - len);
    }

  private:
    std::string &out_;
};

// ---- descriptor helpers --------------------------------------------------------------------------

// The descriptor's file name, or null when it is not NUL-terminated inside its 128 bytes.
inline const char *fileNameOf(const SignalFileInfo *info) {
    if (!info || std::memchr(info->fileName, 0, sizeof info->fileName) == nullptr || !info->fileName[0])
        return nullptr;
    return info->fileName;
}

inline void setUnit(char *field, const char *text) {
    std::memset(field, 0, 16);
    std::strncpy(field, text, 15);
}

inline void setAllGains(SignalFileInfo &info, float gain) {
    for (float &g : info.chanGain) g = gain;
}

inline int64_t sampleCount(const SignalFileInfo &info) {
    return int64_t(info.nch) * info.len;
}

// A descriptor's sample block, locked while the object lives; floats() is null when the handle is
// not usable or the block holds fewer than `needed` floats.
class SampleBlock {
  public:
    SampleBlock(uint32_t handle, int64_t needed) : handle_(handle) {
        if (!handle || needed < 0) return;
        void *p = MemBlockLock(handle);
        if (!p) return;
        locked_ = true;
        if (int64_t(MemBlockSize(handle) / sizeof(float)) >= needed) floats_ = static_cast<float *>(p);
    }
    ~SampleBlock() {
        if (locked_) MemBlockUnlock(handle_);
    }
    SampleBlock(const SampleBlock &) = delete;
    SampleBlock &operator=(const SampleBlock &) = delete;
    float *floats() const { return floats_; }

  private:
    uint32_t handle_;
    bool locked_ = false;
    float *floats_ = nullptr;
};

// Bytes of one stored sample for an MDT storage code (codes outside 0..7 are 4-byte floats).
inline int storageBytes(int fmt) {
    switch (fmt) {
        case 0:
        case 1: return 1;
        case 2:
        case 3: return 2;
        case 7: return 8;
        default: return 4;
    }
}

// Frames moved per read or write when samples are converted in chunks.
constexpr int64_t kChunkBytes = 1 << 18;

// Smallest and largest of n values, widened to value -+ 1 when they are equal (an empty or
// all-NaN set gives -1 and 1).
void dataRange(const float *x, int64_t n, float &vmin, float &vmax);

// ---- MDT 2.0 header (shared with compressed MDT) -------------------------------------------------

constexpr int16_t kCompressedFmt = 100;

struct MdtHeader {
    int16_t nch = 0;
    int32_t len = 0;
    float fs = 0;
    int16_t fmt = 0;
    int16_t srcType = 0;
    float vmin = 0, vmax = 0, scale = 0, offset = 0;
    float gains[32] = {};
    char xUnit[16] = {};
    char yUnit[16] = {};
};

// Reads and checks the header up to the units (magic, 1 <= nch <= 32, len > 0, fs > 0).
bool readMdtHeader(const InputFile &file, MdtHeader &h);
// Offset of the text block length field.
inline uint64_t mdtTextLengthOffset(int nch) {
    return 78 + 4 * uint64_t(nch);
}
// Reads the text block length T; false when it is cut short or negative. The data begin at
// mdtTextLengthOffset(nch) + 4 + T.
bool readMdtTextLength(const InputFile &file, int nch, uint64_t &dataStart);
// Copies a header into a descriptor (gains 0 .. nch-1 only).
void applyMdtHeader(const MdtHeader &h, SignalFileInfo &info);
// Header bytes from the descriptor with the given storage code and 80-byte text block banner.
void writeMdtHeader(const SignalFileInfo &info, int16_t fmt, const char *banner, std::string &out);
// The descriptor fits the MDT writers: 1 <= nch <= 32, len >= 1, block present.
bool mdtWritable(const SignalFileInfo *info);
// Checks that the file's MDT header has the descriptor's nch and len and the given storage kind
// (compressed or not); dataStart is where the samples begin.
bool matchesMdt(const InputFile &file, const SignalFileInfo &info, bool compressed, uint64_t &dataStart);

}  // namespace sigfiles

#endif

// files_compressed.cpp - compressed MDT files: samples delta-coded into blocks of one exact start
// value and one signed byte per difference (stage 1), then Huffman-coded (stage 2, mathcore's
// coder, also exported here over an in-memory code stream).
#include "files_internal.h"

#include "mathcore/huffman.h"
#include "mathcore/messages.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <new>

namespace {

using namespace sigfiles;

const char kBanner[] = "MDT compressed file format, delta coded samples v2";
constexpr int64_t kBlock = 250;

// Quantiser resolution used when writing, and the one read from the last file expanded.
std::atomic<int16_t> g_compressScale{127};
std::atomic<int16_t> g_expandScale{127};

// Stage-1 length of N samples: blocks of 250 and a remainder block, 12 bytes of head each.
int64_t stageOneLength(int64_t n) {
    if (n <= kBlock) return n + 12;
    int64_t full = n / kBlock;
    int64_t rest = n % kBlock;
    return full * (kBlock + 12) + (rest ? rest + 12 : 0);
}

int8_t quantise(double d, double dmin, double dmax, int scale) {
    double q = scale * ((d - dmin) / (dmax - dmin) - 0.5);
    if (!std::isfinite(q)) return 0;
    q = std::clamp(q, -1.0e6, 1.0e6);
    int code = 0;
    if (q > 0)
        code = static_cast<int>(std::trunc(q + 0.4999));
    else if (q < 0)
        code = static_cast<int>(std::trunc(q - 0.4999));
    return static_cast<int8_t>(static_cast<uint8_t>(code & 0xFF));
}

// One block of c samples into c + 12 bytes at out.
void encodeBlock(const float *x, int64_t c, int scale, uint8_t *out) {
    double dmin = 0, dmax = 0;
    for (int64_t j = 0; j + 1 < c; ++j) {
        double d = double(x[j + 1]) - double(x[j]);
        dmax = std::max(dmax, d);
        dmin = std::min(dmin, d);
    }
    const float first = x[0], fmin = float(dmin), fmax = float(dmax);
    std::memcpy(out, &first, 4);
    std::memcpy(out + 4, &fmin, 4);
    std::memcpy(out + 8, &fmax, 4);
    out[12] = static_cast<uint8_t>(c);
    for (int64_t j = 0; j + 1 < c; ++j) {
        int8_t code = 0;
        if (dmin != dmax) code = quantise(double(x[j + 1]) - double(x[j]), dmin, dmax, scale);
        out[13 + j] = static_cast<uint8_t>(code);
    }
}

void decodeBlock(const uint8_t *in, int64_t c, int scale, float *y) {
    const float dmin = getF32(in + 4), dmax = getF32(in + 8);
    const int h = scale / 2;
    y[0] = getF32(in);
    for (int64_t j = 1; j < c; ++j) {
        const int k = static_cast<int8_t>(in[12 + j]);
        if (dmin == dmax)
            y[j] = y[0];
        else if (k >= h)
            y[j] = y[j - 1] + dmax;
        else if (k <= -h)
            y[j] = y[j - 1] + dmin;
        else
            y[j] = static_cast<float>(double(y[j - 1]) + double(dmin) +
                                      (double(dmax) - double(dmin)) * (double(k) / scale + 0.5));
    }
}

// Walks the blocks of n samples: fn(first sample index, block size, stage-1 byte offset).
template <typename F>
void forEachBlock(int64_t n, F fn) {
    int64_t pos = 0;
    for (int64_t i = 0; i < n; i += kBlock) {
        int64_t c = (n <= kBlock) ? n : std::min(kBlock, n - i);
        fn(i, c, pos);
        pos += c + 12;
    }
}

// Appends bytes to a code stream's block, keeping the block exactly as long as its content.
bool appendToStream(CodeStream *stream, const uint8_t *bytes, size_t n) {
    if (n == 0) return true;
    const uint64_t newSize = uint64_t(stream->size) + n;
    if (newSize > 0x7FFFFFFF) return false;
    if (MemBlockSize(stream->hData) < newSize && !MemBlockReAlloc(stream->hData, uint32_t(newSize)))
        return false;
    uint8_t *p = static_cast<uint8_t *>(MemBlockLock(stream->hData));
    if (!p) return false;
    std::memcpy(p + stream->size, bytes, n);
    MemBlockUnlock(stream->hData);
    stream->size = int32_t(newSize);
    return true;
}

bool usableStream(const CodeStream *stream) {
    return stream && MemBlockValid(stream->hData) && stream->size >= 0 &&
           uint32_t(stream->size) <= MemBlockSize(stream->hData);
}

void readError() {
    mathcore::showMessage(mathcore::kHuffmanReadErrorText, mathcore::kHuffmanReadErrorCaption);
}

}  // namespace

extern "C" SIGMORA_API int32_t SetCompressScale(int16_t scale) {
    return g_compressScale.exchange(scale);
}

extern "C" SIGMORA_API int32_t CompressData(CodeStream *stream, const void *data, int32_t size) {
    if (!usableStream(stream) || size < 0 || (size > 0 && !data)) return 0;
    mathcore::HuffmanBits bits{static_cast<uint8_t>(stream->byte), stream->mask};
    std::vector<uint8_t> coded;
    try {
        if (!mathcore::huffmanCompress(static_cast<const uint8_t *>(data), size_t(size), coded, bits))
            return 0;
    } catch (const std::bad_alloc &) {
        return 0;
    }
    if (!appendToStream(stream, coded.data(), coded.size())) return 0;
    stream->byte = bits.byte;
    stream->mask = bits.mask;
    return 1;
}

extern "C" SIGMORA_API int32_t ExpandData(CodeStream *stream, const void *data, int32_t size) {
    if (!usableStream(stream) || size < 0 || (size > 0 && !data)) return 0;
    std::vector<uint8_t> plain;
    mathcore::HuffmanExpandResult r =
        mathcore::huffmanExpand(static_cast<const uint8_t *>(data), size_t(size), plain);
    if (r == mathcore::HuffmanExpandResult::Truncated || r == mathcore::HuffmanExpandResult::Corrupt)
        readError();
    if (r != mathcore::HuffmanExpandResult::Ok) return 0;
    return appendToStream(stream, plain.data(), plain.size()) ? 1 : 0;
}

extern "C" SIGMORA_API int32_t WriteMDTComp(SignalFileInfo *info) {
    if (!mdtWritable(info)) return 0;
    SampleBlock block(info->hData, sampleCount(*info));
    if (!block.floats()) return 0;
    const int64_t n = sampleCount(*info);
    const int scale = g_compressScale.load();
    std::string header;
    std::vector<uint8_t> coded;
    try {
        std::vector<uint8_t> stage(size_t(stageOneLength(n)));
        forEachBlock(n, [&](int64_t i, int64_t c, int64_t pos) {
            encodeBlock(block.floats() + i, c, scale, stage.data() + pos);
        });
        writeMdtHeader(*info, kCompressedFmt, kBanner, header);
        header.push_back(static_cast<char>(scale & 0xFF));
        mathcore::HuffmanBits bits;
        if (!mathcore::huffmanCompress(stage.data(), stage.size(), coded, bits)) return 0;
        mathcore::huffmanFlush(coded, bits);
    } catch (const std::bad_alloc &) {
        return 0;
    }
    ReplacingFile file(info->fileName);
    bool ok = file.write(header.data(), header.size()) && file.write(coded.data(), coded.size());
    return ok && file.commit() ? 1 : 0;
}

extern "C" SIGMORA_API int32_t ReadMDTCompInfo(SignalFileInfo *info) {
    const char *name = fileNameOf(info);
    if (!name) return 0;
    InputFile file(name);
    MdtHeader h;
    if (!file.ok() || !readMdtHeader(file, h) || h.fmt != kCompressedFmt) return 0;
    applyMdtHeader(h, *info);
    return 1;
}

extern "C" SIGMORA_API int32_t ReadMDTComp(SignalFileInfo *info) {
    const char *name = fileNameOf(info);
    if (!name || !info->hData) return 0;
    InputFile file(name);
    uint64_t start = 0;
    if (!file.ok() || !matchesMdt(file, *info, true, start)) return 0;
    SampleBlock block(info->hData, sampleCount(*info));
    if (!block.floats()) return 0;
    uint8_t scaleByte = 0;
    if (start >= file.size() || file.size() - start < 2 || !file.readExact(start, &scaleByte, 1)) return 0;
    const int64_t n = sampleCount(*info);
    const size_t needed = size_t(stageOneLength(n));
    std::vector<uint8_t> coded, stage;
    try {
        coded.assign(size_t(file.size() - start - 1), 0);
    } catch (const std::bad_alloc &) {
        return 0;
    }
    if (!file.readExact(start + 1, coded.data(), coded.size())) return 0;
    g_expandScale.store(scaleByte);
    mathcore::HuffmanExpandResult r = mathcore::huffmanExpand(coded.data(), coded.size(), stage, needed);
    if (r == mathcore::HuffmanExpandResult::Truncated || r == mathcore::HuffmanExpandResult::Corrupt)
        readError();
    if (r != mathcore::HuffmanExpandResult::Ok || stage.size() < needed) return 0;
    const int scale = g_expandScale.load();
    forEachBlock(n, [&](int64_t i, int64_t c, int64_t pos) {
        decodeBlock(stage.data() + pos, c, scale, block.floats() + i);
    });
    return 1;
}

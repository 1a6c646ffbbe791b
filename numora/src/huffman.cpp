// huffman.cpp - Huffman compression and expansion of memory buffers and whole files.
// The coder itself lives in mathcore (shared with the signal library); this file adds the file
// handling, the error codes and the message for damaged compressed data.
#include "numora.h"

#include "mathcore/huffman.h"
#include "mathcore/messages.h"
#include "mathcore/safefile.h"
#include "state.h"

#include <new>
#include <vector>

namespace {

// Largest source a buffer call can name: the length argument is a signed 32-bit count.
constexpr uint64_t kMaxSource = 0x7FFFFFFF;

// Reads a whole source file for the file exports; sets the error code on failure.
bool readSource(const char *path, std::vector<uint8_t> &bytes) {
    switch (mathcore::readWholeFile(path, bytes, kMaxSource)) {
        case mathcore::FileReadResult::Ok: return true;
        case mathcore::FileReadResult::TooLarge:
        case mathcore::FileReadResult::NoMemory: numora::setError(NUMORA_ERR_ALLOC); return false;
        default: numora::setError(NUMORA_ERR_OPEN_FILE); return false;
    }
}

}  // namespace

extern "C" NUMORA_API int32_t HufCompress(const void *data, int32_t length, const char *outPath) {
    if (length < 0 || (length > 0 && !data) || !outPath) return 0;
    std::vector<uint8_t> coded;
    mathcore::HuffmanBits bits;
    try {
        if (!mathcore::huffmanCompress(static_cast<const uint8_t *>(data), static_cast<size_t>(length), coded,
                                       bits))
            return 0;
        mathcore::huffmanFlush(coded, bits);
    } catch (const std::bad_alloc &) {
        return 0;
    }
    return mathcore::writeWholeFile(outPath, coded.data(), coded.size()) ? 1 : 0;
}

extern "C" NUMORA_API int32_t HufExpand(const void *data, int32_t length, const char *outPath) {
    if (length < 0 || (length > 0 && !data) || !outPath) return 0;
    std::vector<uint8_t> plain;
    mathcore::HuffmanExpandResult result =
        mathcore::huffmanExpand(static_cast<const uint8_t *>(data), static_cast<size_t>(length), plain);
    if (result == mathcore::HuffmanExpandResult::Truncated ||
        result == mathcore::HuffmanExpandResult::Corrupt) {
        mathcore::showMessage(mathcore::kHuffmanReadErrorText, mathcore::kHuffmanReadErrorCaption);
        return 0;
    }
    if (result != mathcore::HuffmanExpandResult::Ok) return 0;
    return mathcore::writeWholeFile(outPath, plain.data(), plain.size()) ? 1 : 0;
}

extern "C" NUMORA_API int32_t HufCmpFile(const char *srcPath, const char *outPath) {
    std::vector<uint8_t> bytes;
    if (!readSource(srcPath, bytes)) return 0;
    return HufCompress(bytes.data(), static_cast<int32_t>(bytes.size()), outPath);
}

extern "C" NUMORA_API int32_t HufExpFile(const char *srcPath, const char *outPath) {
    std::vector<uint8_t> bytes;
    if (!readSource(srcPath, bytes)) return 0;
    return HufExpand(bytes.data(), static_cast<int32_t>(bytes.size()), outPath);
}

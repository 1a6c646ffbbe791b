// huffman.h - the static Huffman coder shared by the signal and numerics libraries.
//
// Stream format: a count table (runs of first symbol, last symbol and one scaled count byte per
// symbol, ended by a 0 where the next run's first symbol would stand), then the code of every
// input byte and of the end-of-stream symbol 256, packed most significant bit first. Codes are
// held in 32 bits here, so the deep trees that skewed counts can build are coded correctly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mathcore {

// Bit writer state carried between calls: the byte under construction and the mask of the next
// bit to set (0x80 when no bit is pending).
struct HuffmanBits {
    uint8_t byte = 0;
    uint8_t mask = 0x80;
};

// Appends the count table of data[0 .. size-1], the codes of its bytes and the end-of-stream
// code to out. Whole bytes only: a partly filled last byte stays in bits (flush it with
// huffmanFlush). false (out unchanged) when memory runs out or bits.mask is not a single bit.
bool huffmanCompress(const uint8_t *data, size_t size, std::vector<uint8_t> &out, HuffmanBits &bits);

// Appends the pending partial byte, if any, and resets bits.
void huffmanFlush(std::vector<uint8_t> &out, HuffmanBits &bits);

enum class HuffmanExpandResult {
    Ok,         // the end-of-stream symbol was reached (or `limit` bytes were produced)
    Truncated,  // the table or the codes need bytes beyond the end of the input
    Corrupt,    // a count table run whose last symbol lies below its first
    NoMemory
};

// Decodes data[0 .. size-1] and appends the decoded bytes to out, at most `limit` of them.
// Never reads outside the input; every decoded byte costs at least one input bit, so the output
// is at most 8 * size bytes. On failure out holds what was decoded before the fault.
HuffmanExpandResult huffmanExpand(const uint8_t *data, size_t size, std::vector<uint8_t> &out,
                                  size_t limit = SIZE_MAX);

// The text and caption shown when compressed data run out or are damaged.
inline constexpr const char *kHuffmanReadErrorText = "Read Compressed data error.";
inline constexpr const char *kHuffmanReadErrorCaption = "Message";

}  // namespace mathcore

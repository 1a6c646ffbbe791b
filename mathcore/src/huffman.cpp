// huffman.cpp - static Huffman coder: byte counts scaled to one byte each, a tree built by
// repeated smallest-pair selection (ties to the lower node index), codes packed MSB first.
#include "mathcore/huffman.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace mathcore {

namespace {

constexpr int kSymbols = 257;   // 256 byte values and the end-of-stream symbol
constexpr int kEnd = 256;       // end-of-stream symbol
constexpr int kSentinel = 513;  // node whose count is larger than any real count
constexpr int kNodes = 514;
constexpr int kMaxCodeBits = 32;
constexpr int kTableBits = 13;      // bits resolved by one look-up when decoding
constexpr int kStepsPerRefill = 4;  // look-ups per refill of the 56-bit decoding buffer

// The coding tree: nodes 0..255 byte leaves, 256 the end leaf, 257.. internal nodes.
struct Tree {
    uint16_t child0[kNodes];
    uint16_t child1[kNodes];
    int root = kEnd;
};

// Builds the tree from the 257 scaled counts (a zero count keeps a leaf out of the tree).
void buildTree(const uint32_t *scaled, Tree &tree) {
    uint32_t count[kNodes] = {};
    std::copy(scaled, scaled + kSymbols, count);
    count[kSentinel] = 65535;
    int next = kSymbols;
    for (; next < kSentinel; ++next) {
        int min1 = kSentinel;
        int min2 = kSentinel;
        for (int i = 0; i < next; ++i) {
            if (count[i] == 0) continue;
            if (count[i] < count[min1]) {
                min2 = min1;
                min1 = i;
            } else if (count[i] < count[min2]) {
                min2 = i;
            }
        }
        if (min2 == kSentinel) break;
        count[next] = count[min1] + count[min2];
        tree.child0[next] = static_cast<uint16_t>(min1);
        tree.child1[next] = static_cast<uint16_t>(min2);
        count[min1] = 0;
        count[min2] = 0;
    }
    tree.root = next - 1;
}

struct Code {
    uint32_t bits = 0;
    int length = 0;
};

// Walks the tree from the root: child 0 appends a 0 bit, child 1 a 1 bit. false when a code
// would exceed 32 bits (not reachable with one-byte counts, checked all the same).
bool assignCodes(const Tree &tree, Code *codes) {
    struct Item {
        int node;
        uint32_t bits;
        int length;
    };
    Item stack[kNodes];
    int top = 0;
    stack[top++] = {tree.root, 0, 0};
    while (top > 0) {
        Item item = stack[--top];
        if (item.node <= kEnd) {
            codes[item.node] = {item.bits, item.length};
            continue;
        }
        if (item.length >= kMaxCodeBits) return false;
        stack[top++] = {tree.child1[item.node], (item.bits << 1) | 1u, item.length + 1};
        stack[top++] = {tree.child0[item.node], item.bits << 1, item.length + 1};
    }
    return true;
}

void countBytes(const uint8_t *data, size_t size, uint64_t *counts) {
    // Four interleaved tables break the store-to-load chain on runs of equal bytes.
    uint32_t part[4][256] = {};
    uint64_t total[256] = {};
    size_t i = 0;
    while (i < size) {
        size_t stop = std::min(size, i + (size_t(1) << 30));
        for (; i + 4 <= stop; i += 4) {
            ++part[0][data[i]];
            ++part[1][data[i + 1]];
            ++part[2][data[i + 2]];
            ++part[3][data[i + 3]];
        }
        for (; i < stop; ++i) ++part[0][data[i]];
        for (int s = 0; s < 256; ++s) {
            total[s] += uint64_t(part[0][s]) + part[1][s] + part[2][s] + part[3][s];
            part[0][s] = part[1][s] = part[2][s] = part[3][s] = 0;
        }
    }
    std::copy(total, total + 256, counts);
}

// Scales the counts so the largest fits one byte; a present byte keeps at least 1.
void scaleCounts(uint64_t *counts, uint32_t *scaled) {
    uint64_t m = *std::max_element(counts, counts + 256);
    if (m == 0) {
        counts[0] = 1;
        m = 1;
    }
    uint64_t divisor = m / 255 + 1;
    for (int s = 0; s < 256; ++s) {
        uint64_t q = counts[s] / divisor;
        scaled[s] = static_cast<uint32_t>((q == 0 && counts[s] != 0) ? 1 : q);
    }
    scaled[kEnd] = 1;
}

// Count table: runs over non-zero counts, joined across gaps of at most two zero counts.
void writeCountTable(const uint32_t *scaled, std::vector<uint8_t> &table) {
    int first = 0;
    while (first < 256 && scaled[first] == 0) ++first;
    while (first < 256) {
        int last = first;
        int nextNonZero = 256;
        for (;;) {
            int k = last + 1;
            while (k < 256 && scaled[k] == 0) ++k;
            if (k < 256 && k - last <= 3) {
                last = k;
                continue;
            }
            nextNonZero = k;
            break;
        }
        table.push_back(static_cast<uint8_t>(first));
        table.push_back(static_cast<uint8_t>(last));
        for (int s = first; s <= last; ++s) table.push_back(static_cast<uint8_t>(scaled[s]));
        first = nextNonZero;
    }
    table.push_back(0);
}

int pendingBits(uint8_t mask) {
    int n = 0;
    for (uint8_t m = 0x80; m != mask; m >>= 1) ++n;
    return n;
}

void storeBigEndian32(uint8_t *p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v >> 24);
    p[1] = static_cast<uint8_t>(v >> 16);
    p[2] = static_cast<uint8_t>(v >> 8);
    p[3] = static_cast<uint8_t>(v);
}

uint64_t loadBigEndian64(const uint8_t *p) {
    uint64_t v;
    std::memcpy(&v, p, 8);
    return __builtin_bswap64(v);
}

// Packs the codes of data and of the end symbol after the pending bits; returns the end of the
// bytes written (at most ceil(bits / 8) + 4 bytes from o).
uint8_t *packCodes(const uint8_t *data, size_t size, const Code *codes, HuffmanBits &bits, uint8_t *o) {
    uint32_t code[256];
    uint32_t length[256];
    for (int s = 0; s < 256; ++s) {
        code[s] = codes[s].bits;
        length[s] = static_cast<uint32_t>(codes[s].length);
    }
    int nbits = pendingBits(bits.mask);
    uint64_t acc = nbits ? (bits.byte >> (8 - nbits)) : 0;
    auto put = [&](uint32_t c, uint32_t l) {
        acc = (acc << l) | c;
        nbits += static_cast<int>(l);
        if (nbits >= 32) {
            nbits -= 32;
            storeBigEndian32(o, static_cast<uint32_t>(acc >> nbits));
            o += 4;
        }
    };
    for (size_t i = 0; i < size; ++i) put(code[data[i]], length[data[i]]);
    put(codes[kEnd].bits, static_cast<uint32_t>(codes[kEnd].length));
    while (nbits >= 8) {
        nbits -= 8;
        *o++ = static_cast<uint8_t>(acc >> nbits);
    }
    bits.byte = static_cast<uint8_t>(nbits ? (acc << (8 - nbits)) : 0);
    bits.mask = static_cast<uint8_t>(0x80 >> nbits);
    return o;
}

bool singleBit(uint8_t mask) {
    return mask != 0 && (mask & (mask - 1)) == 0;
}

// ---- decoding ---------------------------------------------------------------------------------

// Reads the count table at data[pos ..]; on success pos is just past it.
HuffmanExpandResult readCountTable(const uint8_t *data, size_t size, size_t &pos, uint32_t *scaled) {
    std::fill(scaled, scaled + kSymbols, 0u);
    if (pos >= size) return HuffmanExpandResult::Truncated;
    unsigned first = data[pos++];
    do {
        if (pos >= size) return HuffmanExpandResult::Truncated;
        unsigned last = data[pos++];
        if (last < first) return HuffmanExpandResult::Corrupt;
        size_t n = last - first + 1;
        if (size - pos < n) return HuffmanExpandResult::Truncated;
        for (size_t k = 0; k < n; ++k) scaled[first + k] = data[pos + k];
        pos += n;
        if (pos >= size) return HuffmanExpandResult::Truncated;
        first = data[pos++];
    } while (first != 0);
    scaled[kEnd] = 1;
    return HuffmanExpandResult::Ok;
}

// One look-up entry for the next kTableBits bits: up to three byte codes that fit wholly, packed
// as symbol 0, 1, 2 in bytes 0..2, the count in bits 24-25 and their total length from bit 26.
// Count 0: the next code is the end symbol or longer than the table (decoded from the tree).
using Entry = uint32_t;

int entryCount(Entry e) {
    return int((e >> 24) & 3u);
}
int entryBits(Entry e) {
    return int(e >> 26);
}

// Follows bits [from, kTableBits) of index i from the root; returns the leaf and its depth, or -1
// when no leaf is reached within those bits.
int leafAt(const Tree &tree, uint32_t i, int from, int &used) {
    int node = tree.root;
    used = 0;
    while (node > kEnd) {
        if (from + used >= kTableBits) return -1;
        bool one = (i >> (kTableBits - 1 - (from + used))) & 1u;
        node = one ? tree.child1[node] : tree.child0[node];
        ++used;
    }
    return node;
}

void buildTable(const Tree &tree, Entry *table) {
    for (uint32_t i = 0; i < (1u << kTableBits); ++i) {
        uint32_t symbols = 0;
        int count = 0, bits = 0;
        while (count < 3) {
            int used = 0;
            int leaf = leafAt(tree, i, bits, used);
            if (leaf < 0 || leaf == kEnd) break;
            symbols |= uint32_t(leaf) << (8 * count);
            ++count;
            bits += used;
        }
        table[i] = symbols | (uint32_t(count) << 24) | (uint32_t(bits) << 26);
    }
}

// Output written through a raw cursor into a vector grown by doubling.
class Output {
  public:
    Output(std::vector<uint8_t> &out, size_t limit) : out_(out), base_(out.size()), limit_(limit) {
        cursor_ = base_;
    }
    size_t produced() const { return cursor_ - base_; }
    bool full() const { return produced() >= limit_; }
    // Room for n more bytes both in the buffer and under the limit.
    bool room(size_t n) {
        if (limit_ - produced() < n) return false;
        if (out_.size() - cursor_ < n && !grow(n)) return false;
        return true;
    }
    uint8_t *at() { return out_.data() + cursor_; }
    size_t roomLeft() const { return limit_ - produced(); }
    void advance(size_t n) { cursor_ += n; }
    void finish() { out_.resize(cursor_); }
    bool failed() const { return failed_; }

  private:
    bool grow(size_t n) {
        try {
            if (out_.capacity() - out_.size() >= n) {  // room reserved from the size estimate
                out_.resize(out_.capacity());
                return true;
            }
            size_t extra = std::max<size_t>({out_.size() - base_, size_t(1) << 16, n});
            out_.resize(out_.size() + extra);
        } catch (const std::bad_alloc &) {
            failed_ = true;
            return false;
        }
        return true;
    }
    std::vector<uint8_t> &out_;
    size_t base_;
    size_t cursor_;
    size_t limit_;
    bool failed_ = false;
};

class Decoder {
  public:
    Decoder(const uint8_t *data, size_t size, size_t pos, const Tree &tree, const Entry *table)
        : data_(data), size_(size), bitpos_(uint64_t(pos) * 8), tree_(tree), table_(table) {}

    HuffmanExpandResult run(Output &out) {
        if (tree_.root <= kEnd) return HuffmanExpandResult::Ok;  // only the end symbol: nothing was coded
        // Fast part: 8 readable bytes at the bit position give at least 57 bits per look-up.
        while ((bitpos_ >> 3) + 8 <= size_ && out.room(2)) {
            fastRun(out);
            if ((bitpos_ >> 3) + 8 > size_ || !out.room(2)) break;
            // The next code is the end symbol or longer than the table, or the run was out of room:
            // one symbol from the tree.
            int symbol = treeSymbol();
            if (symbol < 0) symbol = slowSymbol();
            if (symbol < 0) return HuffmanExpandResult::Truncated;
            if (symbol == kEnd) return HuffmanExpandResult::Ok;
            *out.at() = static_cast<uint8_t>(symbol);
            out.advance(1);
        }
        while (!out.full()) {
            if (!out.room(1)) return HuffmanExpandResult::NoMemory;
            int symbol = slowSymbol();
            if (symbol < 0) return HuffmanExpandResult::Truncated;
            if (symbol == kEnd) return HuffmanExpandResult::Ok;
            *out.at() = static_cast<uint8_t>(symbol);
            out.advance(1);
        }
        return HuffmanExpandResult::Ok;
    }

  private:
    // Decodes whole table entries of byte codes while input and output room last; stops before
    // the end symbol and before codes longer than the table. Works on locals only: stores through
    // a byte pointer would otherwise make the compiler reload every member after each byte.
    void fastRun(Output &out) {
        const size_t room = std::min<size_t>(out.roomLeft(), size_t(1) << 16);
        if (room < 4 * kStepsPerRefill + 4 || !out.room(room)) return;
        uint8_t *o = out.at();
        uint8_t *const start = o;
        uint8_t *const end = o + room - 4 * kStepsPerRefill;  // each step stores four bytes
        const uint8_t *const data = data_;
        const uint8_t *const last = data_ + size_ - 8;  // last byte where 8 can be loaded
        const Entry *const table = table_;
        // Bit buffer, most significant bit next; bits below `count` are zero or already the right
        // next bits, so a refill may OR the same byte in twice.
        const uint8_t *p = data + (bitpos_ >> 3);
        uint64_t buf = loadBigEndian64(p) << (bitpos_ & 7);
        unsigned count = 64 - unsigned(bitpos_ & 7);
        p += 8;
        if (count == 64) {  // keep count below 64 so the refill shift is defined
            p -= 1;
            count = 56;
            buf &= ~uint64_t(0xFF);
        }
        while (o < end) {
            if (p <= last) {
                buf |= loadBigEndian64(p) >> count;
                p += (63 - count) >> 3;
                count |= 56;
            } else if (count < kStepsPerRefill * kTableBits) {
                break;
            }
            for (int k = 0; k < kStepsPerRefill; ++k) {
                const Entry e = table[buf >> (64 - kTableBits)];
                if (entryCount(e) == 0) goto done;
                std::memcpy(o, &e, 4);  // bytes 0..2 are the symbols; the extra ones are overwritten
                o += entryCount(e);
                buf <<= entryBits(e);
                count -= unsigned(entryBits(e));
            }
        }
    done:
        bitpos_ = uint64_t(p - data) * 8 - count;
        out.advance(size_t(o - start));
    }

    // Decodes one symbol from the tree with the 57 bits at the position; -1 (position unchanged)
    // when its code is longer than that.
    int treeSymbol() {
        const uint64_t peek = loadBigEndian64(data_ + (bitpos_ >> 3)) << (bitpos_ & 7);
        int node = tree_.root;
        int used = 0;
        while (node > kEnd) {
            if (used >= 57) return -1;
            bool one = (peek >> (63 - used)) & 1u;
            node = one ? tree_.child1[node] : tree_.child0[node];
            ++used;
        }
        bitpos_ += static_cast<uint64_t>(used);
        return node;
    }

    // Decodes one symbol bit by bit; -1 when it needs a bit beyond the end of the input.
    int slowSymbol() {
        int node = tree_.root;
        uint64_t pos = bitpos_;
        const uint64_t end = uint64_t(size_) * 8;
        while (node > kEnd) {
            if (pos >= end) return -1;
            bool one = (data_[pos >> 3] >> (7 - (pos & 7))) & 1u;
            node = one ? tree_.child1[node] : tree_.child0[node];
            ++pos;
        }
        bitpos_ = pos;
        return node;
    }

    const uint8_t *data_;
    size_t size_;
    uint64_t bitpos_;
    const Tree &tree_;
    const Entry *table_;
};

// Reserves room for the output once: the coded bits over the mean code length the counts give
// (at most `most` bytes), so the output does not move while it grows.
void reserveEstimate(const Tree &tree, const uint32_t *scaled, size_t codedBytes, size_t most,
                     std::vector<uint8_t> &out) {
    Code codes[kSymbols];
    if (tree.root <= kEnd || !assignCodes(tree, codes)) return;
    double weight = 0, weightedBits = 0;
    for (int s = 0; s < 256; ++s) {
        weight += scaled[s];
        weightedBits += double(scaled[s]) * codes[s].length;
    }
    if (weightedBits <= 0) return;
    double estimate = double(codedBytes) * 8.0 * weight / weightedBits * 1.02 + 4096;
    try {
        out.reserve(out.size() + size_t(std::min(estimate, double(most) + 64)));
    } catch (const std::bad_alloc &) {
        // growing step by step still works
    }
}

}  // namespace

bool huffmanCompress(const uint8_t *data, size_t size, std::vector<uint8_t> &out, HuffmanBits &bits) {
    if (!singleBit(bits.mask) || (size > 0 && !data)) return false;
    uint64_t counts[256];
    countBytes(data, size, counts);
    uint32_t scaled[kSymbols];
    scaleCounts(counts, scaled);
    Tree tree;
    buildTree(scaled, tree);
    Code codes[kSymbols];
    if (!assignCodes(tree, codes)) return false;
    uint64_t totalBits = uint64_t(pendingBits(bits.mask)) + uint64_t(codes[kEnd].length);
    for (int s = 0; s < 256; ++s) totalBits += counts[s] * uint64_t(codes[s].length);
    const size_t oldSize = out.size();
    try {
        std::vector<uint8_t> table;
        writeCountTable(scaled, table);
        out.resize(oldSize + table.size() + totalBits / 8 + 8);
        std::copy(table.begin(), table.end(), out.begin() + static_cast<std::ptrdiff_t>(oldSize));
        uint8_t *start = out.data() + oldSize + table.size();
        uint8_t *end = packCodes(data, size, codes, bits, start);
        out.resize(static_cast<size_t>(end - out.data()));
    } catch (const std::bad_alloc &) {
        out.resize(oldSize);
        return false;
    }
    return true;
}

void huffmanFlush(std::vector<uint8_t> &out, HuffmanBits &bits) {
    if (bits.mask != 0x80) out.push_back(bits.byte);
    bits = HuffmanBits{};
}

HuffmanExpandResult huffmanExpand(const uint8_t *data, size_t size, std::vector<uint8_t> &out, size_t limit) {
    if (size > 0 && !data) return HuffmanExpandResult::Truncated;
    size_t pos = 0;
    uint32_t scaled[kSymbols];
    HuffmanExpandResult result = readCountTable(data, size, pos, scaled);
    if (result != HuffmanExpandResult::Ok) return result;
    Tree tree;
    buildTree(scaled, tree);
    Entry table[1u << kTableBits];
    buildTable(tree, table);
    reserveEstimate(tree, scaled, size - pos, std::min(limit, size * 8), out);
    Output output(out, limit);
    Decoder decoder(data, size, pos, tree, table);
    result = decoder.run(output);
    output.finish();
    return output.failed() ? HuffmanExpandResult::NoMemory : result;
}

}  // namespace mathcore

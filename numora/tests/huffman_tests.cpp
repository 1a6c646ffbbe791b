// Huffman coding: output compared byte for byte with a plain encoder written here from the format
// rules, round trips of many kinds of input (also codes longer than 16 bits), damaged and
// cut-short streams, and the file exports with their error codes.
#include "numora.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// ---- reference encoder: every rule spelt out, codes kept as strings of '0' and '1' ----------------

struct RefTree {
    int child0[514] = {};
    int child1[514] = {};
    int root = 256;
};

RefTree refTree(const std::vector<long> &leafCounts) {
    std::vector<long> count(514, 0);
    for (int i = 0; i < 257; ++i) count[i] = leafCounts[i];
    count[513] = 65535;
    RefTree t;
    int next = 257;
    for (;; ++next) {
        int a = 513, b = 513;
        for (int i = 0; i < next; ++i) {
            if (count[i] == 0) continue;
            if (count[i] < count[a]) {
                b = a;
                a = i;
            } else if (count[i] < count[b]) {
                b = i;
            }
        }
        if (b == 513) break;
        count[next] = count[a] + count[b];
        t.child0[next] = a;
        t.child1[next] = b;
        count[a] = count[b] = 0;
    }
    t.root = next - 1;
    return t;
}

void refCodes(const RefTree &t, int node, const std::string &prefix, std::vector<std::string> &codes) {
    if (node <= 256) {
        codes[node] = prefix;
        return;
    }
    refCodes(t, t.child0[node], prefix + "0", codes);
    refCodes(t, t.child1[node], prefix + "1", codes);
}

std::vector<long> refScaledCounts(const Bytes &data) {
    std::vector<long> count(257, 0);
    for (uint8_t b : data) ++count[b];
    long m = 0;
    for (int s = 0; s < 256; ++s) m = std::max(m, count[s]);
    if (m == 0) {
        count[0] = 1;
        m = 1;
    }
    long divisor = m / 255 + 1;
    for (int s = 0; s < 256; ++s) {
        long q = count[s] / divisor;
        count[s] = (q == 0 && count[s] != 0) ? 1 : q;
    }
    count[256] = 1;
    return count;
}

Bytes refCompress(const Bytes &data, int *longestCode = nullptr) {
    std::vector<long> count = refScaledCounts(data);
    Bytes out;
    int s = 0;
    while (s < 256 && count[s] == 0) ++s;
    while (s < 256) {
        int last = s;
        int k = s + 1;
        while (true) {
            while (k < 256 && count[k] == 0) ++k;
            if (k < 256 && k - last <= 3) {
                last = k++;
                continue;
            }
            break;
        }
        out.push_back(uint8_t(s));
        out.push_back(uint8_t(last));
        for (int i = s; i <= last; ++i) out.push_back(uint8_t(count[i]));
        s = k;
    }
    out.push_back(0);
    RefTree t = refTree(count);
    std::vector<std::string> codes(257);
    refCodes(t, t.root, "", codes);
    if (longestCode) {
        *longestCode = 0;
        for (const auto &c : codes) *longestCode = std::max<int>(*longestCode, int(c.size()));
    }
    std::string bits;
    for (uint8_t b : data) bits += codes[b];
    bits += codes[256];
    while (bits.size() % 8) bits += '0';
    for (size_t i = 0; i < bits.size(); i += 8) {
        uint8_t v = 0;
        for (int j = 0; j < 8; ++j) v = uint8_t(v << 1 | (bits[i + j] == '1'));
        out.push_back(v);
    }
    return out;
}

// ---- helpers -------------------------------------------------------------------------------------

int g_messages = 0;
std::string g_lastText, g_lastCaption;
void countingHook(const char *text, const char *caption) {
    ++g_messages;
    g_lastText = text;
    g_lastCaption = caption;
}

class Huffman : public ::testing::Test {
  protected:
    void SetUp() override {
        g_messages = 0;
        previous_ = SetNumoraMessageHook(countingHook);
        dir_ = testing::TempDir() + "huf_" + std::to_string(getpid()) + "_" +
               testing::UnitTest::GetInstance()->current_test_info()->name();
        std::remove(path("out").c_str());
    }
    void TearDown() override {
        SetNumoraMessageHook(previous_);
        for (const char *n : {"out", "src", "cmp", "exp"}) std::remove(path(n).c_str());
    }
    std::string path(const char *name) const { return dir_ + "." + name; }

    static Bytes readFile(const std::string &p) {
        std::ifstream in(p, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static bool exists(const std::string &p) { return access(p.c_str(), F_OK) == 0; }
    static void writeFile(const std::string &p, const Bytes &b) {
        std::ofstream out(p, std::ios::binary);
        out.write(reinterpret_cast<const char *>(b.data()), std::streamsize(b.size()));
    }

    Bytes compress(const Bytes &data) {
        EXPECT_EQ(HufCompress(data.data(), int32_t(data.size()), path("out").c_str()), 1);
        return readFile(path("out"));
    }
    Bytes expand(const Bytes &coded, int32_t *result = nullptr) {
        std::remove(path("out").c_str());
        int32_t r = HufExpand(coded.data(), int32_t(coded.size()), path("out").c_str());
        if (result)
            *result = r;
        else
            EXPECT_EQ(r, 1);
        return readFile(path("out"));
    }
    void checkRoundTrip(const Bytes &data) {
        Bytes coded = compress(data);
        EXPECT_EQ(coded, refCompress(data));
        EXPECT_EQ(expand(coded), data);
        EXPECT_EQ(g_messages, 0);
    }

  private:
    NumoraMessageHook previous_ = nullptr;
    std::string dir_;
};

Bytes randomBytes(size_t n, uint32_t seed, int spread = 256) {
    std::mt19937 gen(seed);
    Bytes b(n);
    for (auto &v : b) v = uint8_t(gen() % uint32_t(spread));
    return b;
}

// Counts 1, 2, 3, 5, ... 233 (Fibonacci, the end symbol is the other 1) and 243 symbols of 254:
// a chain of 12 levels under a balanced tree, 18 levels deep in all.
Bytes longCodeInput() {
    Bytes data;
    const int fib[12] = {1, 2, 3, 5, 8, 13, 21, 34, 55, 89, 144, 233};
    for (int s = 0; s < 12; ++s) data.insert(data.end(), size_t(fib[s]), uint8_t(s));
    for (int s = 12; s < 255; ++s) data.insert(data.end(), 254, uint8_t(s));
    std::shuffle(data.begin(), data.end(), std::mt19937(7));
    return data;
}

}  // namespace

// ---- format ---------------------------------------------------------------------------------------

TEST_F(Huffman, EmptyInputGivesTheFiveByteStreamAndExpandsToAnEmptyFile) {
    Bytes coded = compress({});
    EXPECT_EQ(coded, (Bytes{0x00, 0x00, 0x01, 0x00, 0x80}));
    int32_t r = 0;
    Bytes plain = expand(coded, &r);
    EXPECT_EQ(r, 1);
    EXPECT_TRUE(exists(path("out")));
    EXPECT_TRUE(plain.empty());
}

TEST_F(Huffman, OutputMatchesThePlainEncoderAndRoundTrips) {
    checkRoundTrip({0x41});                    // one byte
    checkRoundTrip({0, 255, 0, 255, 7});       // tiny, both ends of the byte range
    checkRoundTrip(Bytes(5000, 0x33));         // constant
    checkRoundTrip(randomBytes(100000, 1));    // uniform
    checkRoundTrip(randomBytes(70000, 2, 5));  // few symbols
    Bytes gaps;                                // runs joined across gaps of 1 and 2, split at 3
    for (int s : {1, 3, 6, 10, 11, 200}) gaps.insert(gaps.end(), size_t(s), uint8_t(s));
    checkRoundTrip(gaps);
    Bytes skewed = randomBytes(200000, 3);  // one byte dominates: counts are scaled
    for (size_t i = 0; i < skewed.size(); i += 1)
        if (i % 50) skewed[i] = 0x80;
    checkRoundTrip(skewed);
}

TEST_F(Huffman, CodesLongerThanSixteenBitsAreCodedAndDecoded) {
    Bytes data = longCodeInput();
    int longest = 0;
    Bytes reference = refCompress(data, &longest);
    EXPECT_GT(longest, 16);
    Bytes coded = compress(data);
    EXPECT_EQ(coded, reference);
    EXPECT_EQ(expand(coded), data);
}

TEST_F(Huffman, StreamsOfAnotherWriterDecodeAlike) {
    // The reference encoder stands for any other writer of the format.
    for (uint32_t seed = 10; seed < 20; ++seed) {
        Bytes data = randomBytes(1 + seed * 37, seed, 2 + int(seed));
        EXPECT_EQ(expand(refCompress(data)), data);
    }
}

// ---- damaged input ----------------------------------------------------------------------------------

TEST_F(Huffman, EveryCutShortStreamFailsWithTheMessageAndWritesNoFile) {
    Bytes data = randomBytes(300, 4, 40);
    Bytes coded = compress(data);
    for (size_t n = 0; n < coded.size(); ++n) {
        g_messages = 0;
        Bytes cut(coded.begin(), coded.begin() + std::ptrdiff_t(n));
        int32_t r = 1;
        expand(cut, &r);
        EXPECT_EQ(r, 0) << n;
        EXPECT_EQ(g_messages, 1) << n;
        EXPECT_FALSE(exists(path("out"))) << n;
    }
    EXPECT_EQ(g_lastText, "Read Compressed data error.");
    EXPECT_EQ(g_lastCaption, "Message");
}

TEST_F(Huffman, ARunEndingBelowItsStartIsRefused) {
    int32_t r = 1;
    expand({5, 4, 1, 0, 0x80}, &r);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(g_messages, 1);
}

TEST_F(Huffman, ATableOfZeroCountsDecodesToNothing) {
    // Only the end symbol is left in the tree: it has a code of no bits.
    int32_t r = 0;
    EXPECT_TRUE(expand({0, 3, 0, 0, 0, 0, 0}, &r).empty());
    EXPECT_EQ(r, 1);
}

TEST_F(Huffman, ArbitraryBytesNeverReadPastTheInputNorHang) {
    for (uint32_t seed = 0; seed < 300; ++seed) {
        Bytes junk = randomBytes(1 + seed % 97, seed + 100);
        junk[0] = uint8_t(seed % 3);  // often a valid start of a table
        int32_t r = -1;
        Bytes out = expand(junk, &r);
        EXPECT_TRUE(r == 0 || r == 1);
        EXPECT_LE(out.size(), junk.size() * 8);
    }
}

TEST_F(Huffman, BadArgumentsFail) {
    EXPECT_EQ(HufCompress(nullptr, 4, path("out").c_str()), 0);
    EXPECT_EQ(HufCompress("abc", -1, path("out").c_str()), 0);
    EXPECT_EQ(HufCompress("abc", 3, nullptr), 0);
    EXPECT_EQ(HufExpand(nullptr, 4, path("out").c_str()), 0);
    EXPECT_FALSE(exists(path("out")));
}

// ---- file exports -------------------------------------------------------------------------------------

TEST_F(Huffman, FileExportsRoundTripAWholeFile) {
    Bytes data = randomBytes(40000, 5, 17);
    writeFile(path("src"), data);
    EXPECT_EQ(HufCmpFile(path("src").c_str(), path("cmp").c_str()), 1);
    EXPECT_EQ(readFile(path("cmp")), refCompress(data));
    EXPECT_EQ(HufExpFile(path("cmp").c_str(), path("exp").c_str()), 1);
    EXPECT_EQ(readFile(path("exp")), data);
}

TEST_F(Huffman, MissingSourceSetsCodeElevenAndUnwritableOutputSetsNone) {
    setErrorCode(0);
    EXPECT_EQ(HufCmpFile(path("nothing").c_str(), path("out").c_str()), 0);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_OPEN_FILE);
    setErrorCode(0);
    EXPECT_EQ(HufExpFile(path("nothing").c_str(), path("out").c_str()), 0);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_OPEN_FILE);
    setErrorCode(0);
    writeFile(path("src"), {1, 2, 3});
    EXPECT_EQ(HufCmpFile(path("src").c_str(), "/nonexistent-folder/x.huf"), 0);
    EXPECT_EQ(getErrorCode(), 0);
}

TEST_F(Huffman, AFailedExpansionLeavesAnExistingOutputFileAlone) {
    writeFile(path("out"), {9, 9, 9});
    EXPECT_EQ(HufExpand("\x01\x02", 2, path("out").c_str()), 0);
    EXPECT_EQ(readFile(path("out")), (Bytes{9, 9, 9}));
}

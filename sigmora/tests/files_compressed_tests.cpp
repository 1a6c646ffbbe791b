// Compressed MDT files: the stage-1 delta blocks against an encoder written here from the rules,
// the decoded samples against a decoder written here, the header and the scale byte, the
// in-memory coder exports, and damaged files (the message, no samples).
#include "files_test_support.h"

#include <cmath>

using namespace filetest;

namespace {

// Stage-1 stream of x by the rules: blocks of 250 (one block when N <= 250), each the first value,
// dmin, dmax, the count and one code per difference.
Bytes refStageOne(const std::vector<float> &x, int scale) {
    const size_t n = x.size();
    Bytes out;
    for (size_t i = 0; i < n; i += 250) {
        size_t c = n <= 250 ? n : std::min<size_t>(250, n - i);
        double dmin = 0, dmax = 0;
        for (size_t j = 0; j + 1 < c; ++j) {
            double d = double(x[i + j + 1]) - double(x[i + j]);
            dmin = std::min(dmin, d);
            dmax = std::max(dmax, d);
        }
        ByteBuilder b;
        b.put<float>(x[i]).put<float>(float(dmin)).put<float>(float(dmax)).put<uint8_t>(uint8_t(c));
        for (size_t j = 0; j + 1 < c; ++j) {
            int code = 0;
            if (dmin != dmax) {
                double d = double(x[i + j + 1]) - double(x[i + j]);
                double q = scale * ((d - dmin) / (dmax - dmin) - 0.5);
                code = q == 0 ? 0 : q > 0 ? int(std::trunc(q + 0.4999)) : int(std::trunc(q - 0.4999));
            }
            b.put<uint8_t>(uint8_t(code & 0xFF));
        }
        out.insert(out.end(), b.b.begin(), b.b.end());
    }
    return out;
}

std::vector<float> refDecode(const Bytes &stage, size_t n, int scale) {
    std::vector<float> y(n);
    size_t pos = 0;
    const int h = scale / 2;
    for (size_t i = 0; i < n; i += 250) {
        size_t c = n <= 250 ? n : std::min<size_t>(250, n - i);
        float first = fieldAt<float>(stage, pos), dmin = fieldAt<float>(stage, pos + 4),
              dmax = fieldAt<float>(stage, pos + 8);
        y[i] = first;
        for (size_t j = 1; j < c; ++j) {
            int k = int8_t(stage[pos + 12 + j]);
            if (dmin == dmax)
                y[i + j] = first;
            else if (k >= h)
                y[i + j] = y[i + j - 1] + dmax;
            else if (k <= -h)
                y[i + j] = y[i + j - 1] + dmin;
            else
                y[i + j] = float(double(y[i + j - 1]) + double(dmin) +
                                 (double(dmax) - double(dmin)) * (double(k) / scale + 0.5));
        }
        pos += c + 12;
    }
    return y;
}

// A code stream as its users set it up: mask 0x80, byte 0, a one-byte block, no bytes.
struct Stream {
    Stream() {
        s.mask = 0x80;
        s.pad = 0;
        s.byte = 0;
        s.hData = MemBlockAlloc(1);
        s.size = 0;
    }
    ~Stream() { MemBlockFree(s.hData); }
    Bytes bytes() const {
        Bytes b(size_t(s.size));
        void *p = MemBlockLock(s.hData);
        if (!b.empty()) std::memcpy(b.data(), p, b.size());
        MemBlockUnlock(s.hData);
        return b;
    }
    void flush() {
        if (s.mask != 0x80) {
            MemBlockReAlloc(s.hData, uint32_t(s.size + 1));
            auto *p = static_cast<uint8_t *>(MemBlockLock(s.hData));
            p[s.size++] = uint8_t(s.byte);
            MemBlockUnlock(s.hData);
        }
    }
    CodeStream s;
};

Bytes expandWithLibrary(const Bytes &coded) {
    Stream out;
    EXPECT_EQ(ExpandData(&out.s, coded.data(), int32_t(coded.size())), 1);
    return out.bytes();
}

struct Written {
    Bytes file;
    size_t codedStart;
};

Written writeCompressed(const std::string &path, const std::vector<float> &x, int16_t nch) {
    Block block(x);
    SignalFileInfo info = descriptor(path, block.handle(), nch, int32_t(x.size() / size_t(nch)));
    info.fmt = 2;  // ignored: the file says 100
    EXPECT_EQ(WriteMDTComp(&info), 1);
    return {readBytes(path), 82 + 4 * size_t(nch) + 80};
}

std::vector<float> readCompressed(const std::string &path, size_t n, int32_t expect = 1) {
    SignalFileInfo info = descriptor(path);
    EXPECT_EQ(ReadMDTCompInfo(&info), 1);
    Block out(uint32_t(n * 4));
    info.hData = out.handle();
    EXPECT_EQ(ReadMDTComp(&info), expect);
    return out.floats();
}

}  // namespace

TEST(CompressedMdt, HeaderScaleByteAndStageOneStreamFollowTheRules) {
    TempPath path(".cmp");
    std::vector<float> x = randomFloats(2 * 300, 1);
    Written w = writeCompressed(path.str(), x, 2);
    const Bytes &b = w.file;
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(b.data())), "mdata2.0");
    EXPECT_EQ(fieldAt<int16_t>(b, 16), 2);
    EXPECT_EQ(fieldAt<int32_t>(b, 18), 300);
    EXPECT_EQ(fieldAt<int16_t>(b, 26), 100);
    EXPECT_EQ(fieldAt<int32_t>(b, 86), 80);
    const std::string banner(reinterpret_cast<const char *>(&b[90]));
    EXPECT_EQ(banner, "MDT compressed file format, delta coded samples v2");
    EXPECT_EQ(banner.size(), 50u);
    ASSERT_GT(b.size(), w.codedStart + 1);
    EXPECT_EQ(b[w.codedStart], 127);
    Bytes coded(b.begin() + std::ptrdiff_t(w.codedStart + 1), b.end());
    Bytes stage = expandWithLibrary(coded);
    EXPECT_EQ(stage, refStageOne(x, 127));
    // Blocks of 250 then 250 then 100 samples (channel-major sequence of 600).
    EXPECT_EQ(stage.size(), size_t(262 + 262 + 112));

    std::vector<float> y = readCompressed(path.str(), x.size());
    EXPECT_EQ(y, refDecode(stage, x.size(), 127));
    for (size_t i = 0; i < x.size(); i += 250)
        EXPECT_EQ(y[i], x[i]) << i;  // each block's first value is exact
}

TEST(CompressedMdt, BlockSizesAtTheBoundaries) {
    for (size_t n : {1u, 250u, 251u, 500u, 1001u}) {
        TempPath path(".cmp");
        std::vector<float> x = randomFloats(n, uint32_t(n));
        Written w = writeCompressed(path.str(), x, 1);
        Bytes stage =
            expandWithLibrary(Bytes(w.file.begin() + std::ptrdiff_t(w.codedStart + 1), w.file.end()));
        size_t expected = n <= 250 ? n + 12 : (n / 250) * 262 + (n % 250 ? n % 250 + 12 : 0);
        EXPECT_EQ(stage.size(), expected) << n;
        EXPECT_EQ(stage, refStageOne(x, 127)) << n;
    }
}

TEST(CompressedMdt, ConstantSignalsAndRampsDecodeExactly) {
    TempPath path(".cmp");
    std::vector<float> flat(700, 3.25f);
    writeCompressed(path.str(), flat, 1);
    EXPECT_EQ(readCompressed(path.str(), flat.size()), flat);

    std::vector<float> ramp(600);
    for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = float(i) * 0.5f;
    Written w = writeCompressed(path.str(), ramp, 1);
    Bytes stage = expandWithLibrary(Bytes(w.file.begin() + std::ptrdiff_t(w.codedStart + 1), w.file.end()));
    for (size_t j = 13; j < 262; ++j) EXPECT_EQ(stage[j], 63) << j;
    EXPECT_EQ(readCompressed(path.str(), ramp.size()), ramp);
}

TEST(CompressedMdt, TheScaleIsStoredAndUsedForDecoding) {
    TempPath path(".cmp");
    EXPECT_EQ(SetCompressScale(60), 127);
    std::vector<float> x = randomFloats(3 * 400, 2);
    Written w = writeCompressed(path.str(), x, 3);
    EXPECT_EQ(SetCompressScale(127), 60);
    EXPECT_EQ(w.file[w.codedStart], 60);
    Bytes stage = expandWithLibrary(Bytes(w.file.begin() + std::ptrdiff_t(w.codedStart + 1), w.file.end()));
    EXPECT_EQ(stage, refStageOne(x, 60));
    EXPECT_EQ(readCompressed(path.str(), x.size()), refDecode(stage, x.size(), 60));
}

TEST(CompressedMdt, PlainAndCompressedReadersRefuseEachOthersFiles) {
    TempPath path(".cmp");
    writeCompressed(path.str(), randomFloats(10, 3), 1);
    SignalFileInfo info = descriptor(path.str());
    EXPECT_EQ(ReadMDTInfo(&info), 0);
    EXPECT_EQ(ReadMDTCompInfo(&info), 1);
    EXPECT_EQ(info.fmt, 100);
    Block block(randomFloats(10, 3));
    SignalFileInfo plain = descriptor(path.str(), block.handle(), 1, 10);
    plain.fmt = 6;
    ASSERT_EQ(WriteMDTFile(&plain), 1);
    EXPECT_EQ(ReadMDTCompInfo(&info), 0);
}

TEST(CompressedMdt, CutShortFilesShowTheMessageAndFail) {
    TempPath path(".cmp");
    std::vector<float> x = randomFloats(900, 4);
    Written w = writeCompressed(path.str(), x, 1);
    MessageCounter messages;
    for (size_t cut : {w.file.size() - 40, (w.file.size() + w.codedStart) / 2, w.codedStart + 6}) {
        writeBytes(path.str(), Bytes(w.file.begin(), w.file.begin() + std::ptrdiff_t(cut)));
        MessageCounter::count() = 0;
        readCompressed(path.str(), x.size(), 0);
        EXPECT_EQ(MessageCounter::count(), 1) << cut;
    }
    EXPECT_EQ(MessageCounter::last(), "Message|Read Compressed data error.");
    // Nothing after the scale byte: no coded data at all.
    writeBytes(path.str(), Bytes(w.file.begin(), w.file.begin() + std::ptrdiff_t(w.codedStart + 1)));
    readCompressed(path.str(), x.size(), 0);
}

TEST(CompressedMdt, AStreamHoldingFewerSamplesThanTheHeaderFails) {
    TempPath small(".cmp"), big(".cmp");
    Written w = writeCompressed(small.str(), randomFloats(20, 5), 1);
    // The same coded data under a header that promises 2000 samples.
    Written header = writeCompressed(big.str(), randomFloats(2000, 6), 1);
    Bytes forged(header.file.begin(), header.file.begin() + std::ptrdiff_t(header.codedStart + 1));
    forged.insert(forged.end(), w.file.begin() + std::ptrdiff_t(w.codedStart + 1), w.file.end());
    writeBytes(big.str(), forged);
    readCompressed(big.str(), 2000, 0);
}

TEST(CompressedMdt, CodeStreamExportsAppendAndKeepThePendingByte) {
    Bytes data = {1, 2, 3, 3, 3, 9, 200, 3};
    Stream s;
    ASSERT_EQ(CompressData(&s.s, data.data(), int32_t(data.size())), 1);
    s.flush();
    Bytes coded = s.bytes();
    EXPECT_EQ(expandWithLibrary(coded), data);
    // Appending a second expansion after the first keeps both.
    Stream twice;
    ASSERT_EQ(ExpandData(&twice.s, coded.data(), int32_t(coded.size())), 1);
    ASSERT_EQ(ExpandData(&twice.s, coded.data(), int32_t(coded.size())), 1);
    Bytes both = data;
    both.insert(both.end(), data.begin(), data.end());
    EXPECT_EQ(twice.bytes(), both);
    // Bad streams and arguments.
    CodeStream bad = s.s;
    bad.hData = 0;
    EXPECT_EQ(CompressData(&bad, data.data(), 1), 0);
    bad = s.s;
    bad.mask = 0x30;
    EXPECT_EQ(CompressData(&bad, data.data(), 1), 0);
    EXPECT_EQ(CompressData(&s.s, nullptr, 3), 0);
    MessageCounter messages;
    Stream cut;
    EXPECT_EQ(ExpandData(&cut.s, coded.data(), int32_t(coded.size()) - 1), 0);
    EXPECT_EQ(MessageCounter::count(), 1);
}

TEST(CompressedMdt, NonFiniteSamplesDoNotBreakTheWriter) {
    TempPath path(".cmp");
    std::vector<float> x = {1.0f, NAN, 2.0f, INFINITY, -INFINITY, 3.0f};
    writeCompressed(path.str(), x, 1);
    std::vector<float> y = readCompressed(path.str(), x.size());
    EXPECT_EQ(y[0], 1.0f);
}

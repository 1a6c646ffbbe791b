// MDT 2.0 files: the written layout parsed field by field, stored values against the clamp and
// truncation rules computed here, round trips of every storage code, files built by hand, short
// and hostile files, and writes that fail without leaving a wrong file.
#include "files_test_support.h"

#include <cmath>
#include <csignal>
#include <sys/resource.h>

using namespace filetest;

namespace {

// Expected stored value of x for an integer code, from the rules: (x - offset) / scale (scale 0:
// unscaled), clamped, truncated toward zero.
double expectedStored(float x, float scale, float offset, double lo, double hi) {
    double v = double(x) - double(offset);
    if (scale != 0) v /= double(scale);
    v = std::min(std::max(v, lo), hi);
    return std::trunc(v);
}

struct Code {
    int fmt;
    int bytes;
    double lo, hi;
};
const Code kCodes[] = {{0, 1, -127, 127},
                       {1, 1, 0, 255},
                       {2, 2, -32767, 32767},
                       {3, 2, 0, 65535},
                       {4, 4, -2147385344.0, 2147385344.0},
                       {5, 4, 0, 4294836224.0},
                       {6, 4, 0, 0},
                       {7, 8, 0, 0},
                       {9, 4, 0, 0}};

double rawValue(const Bytes &b, size_t at, int fmt) {
    switch (fmt) {
        case 0: return fieldAt<int8_t>(b, at);
        case 1: return fieldAt<uint8_t>(b, at);
        case 2: return fieldAt<int16_t>(b, at);
        case 3: return fieldAt<uint16_t>(b, at);
        case 4: return fieldAt<int32_t>(b, at);
        case 5: return fieldAt<uint32_t>(b, at);
        case 7: return fieldAt<double>(b, at);
        default: return fieldAt<float>(b, at);
    }
}

// An MDT 2.0 file built from the layout table.
Bytes handMadeMdt(int16_t nch, int32_t len, float fs, int16_t fmt, int32_t t, const Bytes &samples) {
    ByteBuilder b;
    b.text("mdata2.0", 16)
        .put<int16_t>(nch)
        .put<int32_t>(len)
        .put<float>(fs)
        .put<int16_t>(fmt)
        .put<int16_t>(7);
    b.put<float>(-5.0f).put<float>(5.0f).put<float>(0.5f).put<float>(1.0f);
    for (int c = 0; c < nch; ++c) b.put<float>(1.5f + float(c));
    b.text("ms", 16).text("mV", 16).put<int32_t>(t);
    b.b.insert(b.b.end(), size_t(std::max(t, 0)), 'z');
    return b.raw(samples).b;
}

}  // namespace

TEST(MdtFile, WrittenLayoutParsesFieldByField) {
    TempPath path(".mdt");
    const int16_t nch = 3;
    const int32_t len = 5;
    std::vector<float> x = randomFloats(size_t(nch * len), 1, -1000, 1000);
    Block block(x);
    SignalFileInfo info = descriptor(path.str(), block.handle(), nch, len);
    info.fmt = 2;
    info.srcType = 42;
    info.fs = 250.0f;
    info.vmin = -3;
    info.vmax = 4;
    info.scale = 0.25f;
    info.offset = -2.0f;
    for (int c = 0; c < nch; ++c) info.chanGain[c] = 10.0f + float(c);
    std::strcpy(info.xUnit, "sec.");
    std::strcpy(info.yUnit, "vol.");
    ASSERT_EQ(WriteMDTFile(&info), 1);
    Bytes b = readBytes(path.str());
    const size_t data = 82 + 4 * nch + 80;
    ASSERT_EQ(b.size(), data + size_t(nch * len) * 2);
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(b.data())), "mdata2.0");
    for (int k = 9; k < 16; ++k) EXPECT_EQ(b[size_t(k)], 0);
    EXPECT_EQ(fieldAt<int16_t>(b, 16), nch);
    EXPECT_EQ(fieldAt<int32_t>(b, 18), len);
    EXPECT_EQ(fieldAt<float>(b, 22), 250.0f);
    EXPECT_EQ(fieldAt<int16_t>(b, 26), 2);
    EXPECT_EQ(fieldAt<int16_t>(b, 28), 42);
    EXPECT_EQ(fieldAt<float>(b, 30), -3.0f);
    EXPECT_EQ(fieldAt<float>(b, 34), 4.0f);
    EXPECT_EQ(fieldAt<float>(b, 38), 0.25f);
    EXPECT_EQ(fieldAt<float>(b, 42), -2.0f);
    for (int c = 0; c < nch; ++c) EXPECT_EQ(fieldAt<float>(b, 46 + 4 * size_t(c)), 10.0f + float(c));
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(&b[46 + 4 * nch])), "sec.");
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(&b[62 + 4 * nch])), "vol.");
    EXPECT_EQ(fieldAt<int32_t>(b, 78 + 4 * nch), 80);
    const std::string banner(reinterpret_cast<const char *>(&b[82 + 4 * nch]));
    EXPECT_EQ(banner, "MDT file format, multichannel sampled data v2.0.");
    EXPECT_EQ(banner.size(), 48u);
    for (size_t k = 82 + 4 * nch + 48; k < data; ++k) EXPECT_EQ(b[k], 0) << k;
    // Interleaved by frame: channel c of sample j at position j * nch + c.
    for (int c = 0; c < nch; ++c)
        for (int j = 0; j < len; ++j)
            EXPECT_EQ(fieldAt<int16_t>(b, data + 2 * size_t(j * nch + c)),
                      expectedStored(x[size_t(c * len + j)], 0.25f, -2.0f, -32767, 32767));
}

TEST(MdtFile, FirstSampleAt166ForOneChannelAnd170ForTwo) {
    for (int16_t nch : {1, 2}) {
        TempPath path(".mdt");
        Block block(std::vector<float>(size_t(nch), 77.0f));
        SignalFileInfo info = descriptor(path.str(), block.handle(), nch, 1);
        info.fmt = 6;
        ASSERT_EQ(WriteMDTFile(&info), 1);
        Bytes b = readBytes(path.str());
        EXPECT_EQ(fieldAt<float>(b, nch == 1 ? 166 : 170), 77.0f);
    }
}

TEST(MdtFile, EveryStorageCodeRoundTripsWithSeveralShapes) {
    for (const Code &code : kCodes)
        for (int16_t nch : {1, 2, 5, 32})
            for (int32_t len : {1, 3, 1000}) {
                TempPath path(".mdt");
                std::vector<float> x = randomFloats(size_t(nch) * size_t(len),
                                                    uint32_t(code.fmt * 1000 + nch + len), -300.0f, 70000.0f);
                Block block(x);
                SignalFileInfo info = descriptor(path.str(), block.handle(), nch, len);
                info.fmt = int16_t(code.fmt);
                info.scale = 0.5f;
                info.offset = 3.0f;
                ASSERT_EQ(WriteMDTFile(&info), 1);
                Bytes b = readBytes(path.str());
                const size_t data = 82 + 4 * size_t(nch) + 80;
                ASSERT_EQ(b.size(), data + size_t(code.bytes) * x.size());

                SignalFileInfo back = descriptor(path.str());
                ASSERT_EQ(ReadMDTInfo(&back), 1);
                EXPECT_EQ(back.nch, nch);
                EXPECT_EQ(back.len, len);
                EXPECT_EQ(back.fmt, code.fmt);
                Block out(uint32_t(x.size() * 4));
                back.hData = out.handle();
                ASSERT_EQ(ReadMDTFile(&back), 1);
                std::vector<float> y = out.floats();
                for (int c = 0; c < nch; ++c)
                    for (int j = 0; j < len; ++j) {
                        const size_t i = size_t(c * len + j);
                        const double raw =
                            rawValue(b, data + size_t(code.bytes) * size_t(j * nch + c), code.fmt);
                        if (code.fmt <= 5) {
                            ASSERT_EQ(raw, expectedStored(x[i], 0.5f, 3.0f, code.lo, code.hi)) << code.fmt;
                            ASSERT_EQ(y[i], float(raw * 0.5 + 3.0)) << code.fmt;
                        } else {
                            ASSERT_EQ(y[i], x[i]) << code.fmt;  // floats ignore scale and offset
                        }
                    }
            }
}

TEST(MdtFile, ClampsAndTruncationOfSmallIntegers) {
    TempPath path(".mdt");
    std::vector<float> x = {200.0f, -200.0f, 3.9f, -3.9f};
    Block block(x);
    SignalFileInfo info = descriptor(path.str(), block.handle(), 1, 4);
    info.fmt = 0;
    ASSERT_EQ(WriteMDTFile(&info), 1);
    Bytes b = readBytes(path.str());
    EXPECT_EQ(fieldAt<int8_t>(b, 166), 127);
    EXPECT_EQ(fieldAt<int8_t>(b, 167), -127);
    EXPECT_EQ(fieldAt<int8_t>(b, 168), 3);
    EXPECT_EQ(fieldAt<int8_t>(b, 169), -3);

    // 32-bit codes clamp at the single-precision constants.
    x = {3e9f, -3e9f, 5e9f, -1.0f};
    block.set(x);
    info.fmt = 4;
    ASSERT_EQ(WriteMDTFile(&info), 1);
    b = readBytes(path.str());
    EXPECT_EQ(fieldAt<int32_t>(b, 166), 2147385344);
    EXPECT_EQ(fieldAt<int32_t>(b, 170), -2147385344);
    info.fmt = 5;
    ASSERT_EQ(WriteMDTFile(&info), 1);
    b = readBytes(path.str());
    EXPECT_EQ(fieldAt<uint32_t>(b, 174), 4294836224u);
    EXPECT_EQ(fieldAt<uint32_t>(b, 178), 0u);
}

TEST(MdtFile, ScaleAndOffsetInBothDirections) {
    TempPath path(".mdt");
    Block block(std::vector<float>{2.0f, 7.0f});
    SignalFileInfo info = descriptor(path.str(), block.handle(), 1, 2);
    info.fmt = 2;
    info.scale = 0.5f;
    info.offset = 1.0f;
    ASSERT_EQ(WriteMDTFile(&info), 1);
    Bytes b = readBytes(path.str());
    EXPECT_EQ(fieldAt<int16_t>(b, 166), 2);
    SignalFileInfo back = descriptor(path.str());
    ASSERT_EQ(ReadMDTInfo(&back), 1);
    Block out(8);
    back.hData = out.handle();
    ASSERT_EQ(ReadMDTFile(&back), 1);
    EXPECT_EQ(out.floats()[0], 2.0f);
    EXPECT_EQ(out.floats()[1], 7.0f);

    // Scale 0: stored unscaled, read back as offset.
    info.scale = 0.0f;
    ASSERT_EQ(WriteMDTFile(&info), 1);
    EXPECT_EQ(fieldAt<int16_t>(readBytes(path.str()), 166), 1);
    ASSERT_EQ(ReadMDTInfo(&back), 1);
    ASSERT_EQ(ReadMDTFile(&back), 1);
    EXPECT_EQ(out.floats()[0], 1.0f);
    EXPECT_EQ(out.floats()[1], 1.0f);
}

TEST(MdtFile, HandMadeFilesHonourTheirTextBlockLength) {
    for (int32_t t : {0, 5, 80}) {
        TempPath path(".mdt");
        ByteBuilder samples;
        for (int16_t v : {10, -20, 30, -40, 50, -60}) samples.put<int16_t>(v);
        writeBytes(path.str(), handMadeMdt(2, 3, 100.0f, 2, t, samples.b));
        SignalFileInfo info = descriptor(path.str());
        ASSERT_EQ(ReadMDTInfo(&info), 1);
        EXPECT_EQ(info.srcType, 7);
        EXPECT_EQ(info.chanGain[1], 2.5f);
        EXPECT_EQ(std::string(info.xUnit), "ms");
        Block out(6 * 4);
        info.hData = out.handle();
        ASSERT_EQ(ReadMDTFile(&info), 1);
        // Channel-major in memory: channel 0 holds frames' first values.
        std::vector<float> y = out.floats();
        const double expected[6] = {10, 30, 50, -20, -40, -60};
        for (int i = 0; i < 6; ++i) EXPECT_EQ(y[size_t(i)], float(expected[i] * 0.5 + 1.0)) << t;
    }
}

TEST(MdtFile, BadHeadersAreRefusedAndLeaveTheDescriptorAlone) {
    TempPath path(".mdt");
    const Bytes samples(64, 0);
    struct Case {
        int16_t nch;
        int32_t len;
        float fs;
        int16_t fmt;
    } cases[] = {{33, 4, 1, 2}, {0, 4, 1, 2},   {1, 0, 1, 2},  {1, -4, 1, 2},
                 {1, 4, 0, 2},  {1, 4, NAN, 2}, {1, 4, 1, 100}};
    for (const Case &c : cases) {
        writeBytes(path.str(), handMadeMdt(c.nch, c.len, c.fs, c.fmt, 80, samples));
        SignalFileInfo info = descriptor(path.str());
        info.chanGain[0] = 99.0f;
        SignalFileInfo before = info;
        EXPECT_EQ(ReadMDTInfo(&info), 0) << c.nch << " " << c.len;
        EXPECT_EQ(std::memcmp(&info, &before, sizeof info), 0);
    }
    Bytes upper = handMadeMdt(1, 4, 1, 2, 80, samples);
    upper[0] = 'M';
    writeBytes(path.str(), upper);
    SignalFileInfo info = descriptor(path.str());
    EXPECT_EQ(ReadMDTInfo(&info), 0);
}

TEST(MdtFile, HeadersCutShortNeverRead) {
    TempPath path(".mdt");
    Bytes full = handMadeMdt(2, 3, 100.0f, 2, 80, Bytes(12, 1));
    const size_t unitsEnd = 78 + 8;
    for (size_t n = 0; n < unitsEnd; ++n) {
        writeBytes(path.str(), Bytes(full.begin(), full.begin() + std::ptrdiff_t(n)));
        SignalFileInfo info = descriptor(path.str());
        EXPECT_EQ(ReadMDTInfo(&info), 0) << n;
    }
    // Header complete but the text length cut: the info reads, the samples do not.
    writeBytes(path.str(), Bytes(full.begin(), full.begin() + std::ptrdiff_t(unitsEnd + 2)));
    SignalFileInfo info = descriptor(path.str());
    ASSERT_EQ(ReadMDTInfo(&info), 1);
    Block out(24);
    info.hData = out.handle();
    EXPECT_EQ(ReadMDTFile(&info), 0);
    // A negative text length fails.
    writeBytes(path.str(), handMadeMdt(2, 3, 100.0f, 2, -1, Bytes(12, 1)));
    EXPECT_EQ(ReadMDTFile(&info), 0);
}

TEST(MdtFile, AShortSampleSectionReadsOffsetForTheMissingSamples) {
    TempPath path(".mdt");
    ByteBuilder samples;
    samples.put<int16_t>(4).put<int16_t>(6).put<int8_t>(1);  // 2 whole samples and half of one
    // A hostile length: a billion samples promised by a file of a few bytes.
    writeBytes(path.str(), handMadeMdt(1, 5, 100.0f, 2, 80, samples.b));
    SignalFileInfo info = descriptor(path.str());
    ASSERT_EQ(ReadMDTInfo(&info), 1);
    Block out(5 * 4);
    info.hData = out.handle();
    ASSERT_EQ(ReadMDTFile(&info), 1);
    std::vector<float> y = out.floats();
    EXPECT_EQ(y[0], 3.0f);
    EXPECT_EQ(y[1], 4.0f);
    EXPECT_EQ(y[2], float(1 * 0.5 + 1.0));  // low byte 1, high byte missing
    EXPECT_EQ(y[3], 1.0f);
    EXPECT_EQ(y[4], 1.0f);
}

TEST(MdtFile, DescriptorThatDoesNotMatchTheFileOrItsBlockFails) {
    TempPath path(".mdt");
    writeBytes(path.str(), handMadeMdt(2, 3, 100.0f, 2, 80, Bytes(12, 1)));
    SignalFileInfo info = descriptor(path.str());
    ASSERT_EQ(ReadMDTInfo(&info), 1);
    Block small(5 * 4);  // one float short
    info.hData = small.handle();
    EXPECT_EQ(ReadMDTFile(&info), 0);
    Block out(6 * 4);
    info.hData = out.handle();
    SignalFileInfo wrong = info;
    wrong.len = 1000000;  // a block of 6 floats, a descriptor claiming far more
    EXPECT_EQ(ReadMDTFile(&wrong), 0);
    wrong = info;
    wrong.fmt = 7;
    EXPECT_EQ(ReadMDTFile(&wrong), 0);
    info.hData = 0;
    EXPECT_EQ(ReadMDTFile(&info), 0);
}

TEST(MdtFile, WriterRefusesWhatCannotBeReadBack) {
    TempPath path(".mdt");
    Block block(std::vector<float>(64, 1.0f));
    SignalFileInfo info = descriptor(path.str(), block.handle(), 33, 1);
    EXPECT_EQ(WriteMDTFile(&info), 0);
    info.nch = 1;
    info.len = 0;
    EXPECT_EQ(WriteMDTFile(&info), 0);
    info.len = 65;  // more than the block holds
    EXPECT_EQ(WriteMDTFile(&info), 0);
    info.len = 4;
    info.fmt = 100;
    EXPECT_EQ(WriteMDTFile(&info), 0);
    EXPECT_FALSE(fileExists(path.str()));
}

TEST(MdtFile, FailedWritesLeaveNoWrongFileAndKeepTheOldOne) {
    TempPath path(".mdt");
    Block small(std::vector<float>(4, 2.0f));
    SignalFileInfo info = descriptor(path.str(), small.handle(), 1, 4);
    info.fmt = 6;
    ASSERT_EQ(WriteMDTFile(&info), 1);
    const Bytes old = readBytes(path.str());

    // A file size limit makes the sample write fail half way.
    std::vector<float> big(100000, 1.0f);
    Block block(big);
    SignalFileInfo large = descriptor(path.str(), block.handle(), 1, int32_t(big.size()));
    large.fmt = 6;
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit limit = saved;
    limit.rlim_cur = 4096;
    void (*previous)(int) = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    const int32_t result = WriteMDTFile(&large);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(readBytes(path.str()), old);

    // An unwritable folder fails before anything is written.
    SignalFileInfo nowhere = descriptor("/nonexistent-folder/x.mdt", small.handle(), 1, 4);
    EXPECT_EQ(WriteMDTFile(&nowhere), 0);
}

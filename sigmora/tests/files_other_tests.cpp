// ACQ, MDT 1.0 and XYP files and the dispatchers: written files parsed field by field, files built
// by hand from the layout tables, round trips, refused headers, and the array exports bounded by
// the caller's counts.
#include "files_test_support.h"

#include <cmath>

using namespace filetest;

namespace {

Bytes acqHeader(const char *magic, int16_t nch, int32_t len, float fs) {
    ByteBuilder b;
    b.text(magic, 8)
        .put<int16_t>(nch)
        .put<int32_t>(len)
        .put<float>(fs)
        .put<float>(1.0f)
        .put<float>(5.0f)
        .put<float>(-5.0f);
    b.put<int16_t>(0);
    return b.b;
}

Bytes m10Header(const char *magic, char type, int16_t nch, int32_t len, char layout) {
    ByteBuilder b;
    b.text(magic, 8).put<char>(type).put<char>(' ').put<int16_t>(nch).put<int32_t>(len).put<float>(500.0f);
    b.put<float>(1.0f).put<int32_t>(0).put<char>(layout).put<uint8_t>(0);
    return b.b;
}

std::vector<float> readAll(const std::string &path, int32_t expect = 1) {
    SignalFileInfo info = descriptor(path);
    if (ReadDATInfo(&info) != 1) return {};
    Block out(uint32_t(info.nch) * uint32_t(info.len) * 4);
    info.hData = out.handle();
    EXPECT_EQ(ReadDATFile(&info), expect);
    return out.floats();
}

}  // namespace

// ---- ACQ ---------------------------------------------------------------------------------------------

TEST(AcqFile, WrittenLayoutAndRoundTrips) {
    for (int16_t nch : {1, 3, 16}) {
        TempPath path(".acq");
        const int32_t len = 40;
        std::vector<float> x = randomFloats(size_t(nch * len), uint32_t(nch));
        Block block(x);
        SignalFileInfo info = descriptor(path.str(), block.handle(), nch, len);
        info.scale = 2.5f;
        info.vmin = -7;
        info.vmax = 8;
        ASSERT_EQ(WriteACQFile(&info), 1);
        Bytes b = readBytes(path.str());
        ASSERT_EQ(b.size(), 32u + 4u * x.size());
        EXPECT_EQ(std::string(reinterpret_cast<const char *>(b.data())), "acq1.0");
        EXPECT_EQ(fieldAt<int16_t>(b, 8), nch);
        EXPECT_EQ(fieldAt<int32_t>(b, 10), len);
        EXPECT_EQ(fieldAt<float>(b, 14), 1000.0f);
        EXPECT_EQ(fieldAt<float>(b, 18), 2.5f);
        EXPECT_EQ(fieldAt<float>(b, 22), 8.0f);
        EXPECT_EQ(fieldAt<float>(b, 26), -7.0f);
        EXPECT_EQ(fieldAt<int16_t>(b, 30), 0);
        for (int c = 0; c < nch; ++c)
            for (int j = 0; j < len; ++j)
                ASSERT_EQ(fieldAt<float>(b, 32 + 4 * size_t(j * nch + c)), x[size_t(c * len + j)]);
        SignalFileInfo back = descriptor(path.str());
        back.chanGain[5] = 9.0f;
        ASSERT_EQ(ReadACQInfo(&back), 1);
        EXPECT_EQ(back.fmt, 6);
        EXPECT_EQ(back.srcType, 101);
        EXPECT_EQ(back.scale, 1.0f);
        EXPECT_EQ(back.chanGain[5], 1.0f);
        EXPECT_EQ(back.vmax, 8.0f);
        EXPECT_EQ(back.xUnit[0], 0);
        Block out(uint32_t(x.size() * 4));
        back.hData = out.handle();
        ASSERT_EQ(ReadACQFile(&back), 1);
        EXPECT_EQ(out.floats(), x);
    }
}

TEST(AcqFile, RefusedHeaders) {
    TempPath path(".acq");
    for (const Bytes &b : {acqHeader("acq1.0", 17, 1, 1.0f), acqHeader("ACQ1.0", 1, 1, 1.0f),
                           acqHeader("acq1.0", 0, 1, 1.0f), acqHeader("acq1.0", 2, -1, 1.0f)}) {
        writeBytes(path.str(), b);
        SignalFileInfo info = descriptor(path.str());
        EXPECT_EQ(ReadACQInfo(&info), 0);
    }
    Bytes good = acqHeader("acq1.0", 1, 1, 1.0f);
    for (size_t n = 0; n < good.size(); ++n) {
        writeBytes(path.str(), Bytes(good.begin(), good.begin() + std::ptrdiff_t(n)));
        SignalFileInfo info = descriptor(path.str());
        EXPECT_EQ(ReadACQInfo(&info), 0) << n;
    }
}

TEST(AcqFile, AHostileLengthReadsWhatTheFileHoldsIntoABlockOfTheCallersSize) {
    TempPath path(".acq");
    ByteBuilder b;
    b.raw(acqHeader("acq1.0", 2, 3, 10.0f)).put<float>(1).put<float>(2).put<float>(3);  // 1.5 frames of 3
    writeBytes(path.str(), b.b);
    EXPECT_EQ(readAll(path.str()), (std::vector<float>{1, 3, 0, 2, 0, 0}));
    writeBytes(path.str(), acqHeader("acq1.0", 16, 0x7FFFFFFF, 10.0f));
    SignalFileInfo info = descriptor(path.str());
    ASSERT_EQ(ReadACQInfo(&info), 1);
    Block small(64);
    info.hData = small.handle();
    EXPECT_EQ(ReadACQFile(&info), 0);  // the block cannot hold what the header claims
}

TEST(AcqFile, AcquireDataIsWrittenAsInterleavedWithItsRange) {
    TempPath path(".acq");
    std::vector<float> frames = {1, 10, 2, 20, 3, -30};  // 3 frames of 2 channels
    ASSERT_EQ(WriteAcquireData(frames.data(), 3, 2, 50.0f, path.c_str()), 1);
    Bytes b = readBytes(path.str());
    EXPECT_EQ(fieldAt<float>(b, 18), 1.0f);
    EXPECT_EQ(fieldAt<float>(b, 22), 20.0f);
    EXPECT_EQ(fieldAt<float>(b, 26), -30.0f);
    EXPECT_EQ(readAll(path.str()), (std::vector<float>{1, 2, 3, 10, 20, -30}));
    std::vector<float> flat(4, 2.0f);
    ASSERT_EQ(WriteAcquireData(flat.data(), 4, 1, 50.0f, path.c_str()), 1);
    b = readBytes(path.str());
    EXPECT_EQ(fieldAt<float>(b, 22), 3.0f);
    EXPECT_EQ(fieldAt<float>(b, 26), 1.0f);
    EXPECT_EQ(WriteAcquireData(flat.data(), 4, 17, 50.0f, path.c_str()), 0);
}

// ---- MDT 1.0 -----------------------------------------------------------------------------------------

TEST(Mdt10File, EveryTypeLetterAndBothLayouts) {
    struct Type {
        char letter;
        int bytes;
    } types[] = {{'C', 1}, {'c', 1}, {'I', 2}, {'i', 2}, {'L', 4}, {'l', 4}, {'f', 4}, {'d', 8}};
    const double values[6] = {1, 200, 3, 4, 100, 6};  // 2 channels x 3 samples, as stored
    for (const Type &t : types)
        for (char layout : {'1', ' '}) {
            TempPath path(".m10");
            ByteBuilder b;
            b.raw(m10Header("mdat1.0", t.letter, 2, 3, layout));
            for (double v : values) {
                switch (t.letter) {
                    case 'C': b.put<uint8_t>(uint8_t(v)); break;
                    case 'c': b.put<int8_t>(int8_t(v == 200 ? -56 : v)); break;
                    case 'I': b.put<uint16_t>(uint16_t(v)); break;
                    case 'i': b.put<int16_t>(int16_t(v)); break;
                    case 'L': b.put<uint32_t>(uint32_t(v)); break;
                    case 'l': b.put<int32_t>(int32_t(v)); break;
                    case 'f': b.put<float>(float(v)); break;
                    default: b.put<double>(v); break;
                }
            }
            writeBytes(path.str(), b.b);
            SignalFileInfo info = descriptor(path.str());
            ASSERT_EQ(ReadMDT10Info(&info), 1) << t.letter;
            EXPECT_EQ(info.fmt, 6);
            EXPECT_EQ(info.srcType, 0);
            EXPECT_EQ(std::string(info.xUnit), "Sec.");
            EXPECT_EQ(std::string(info.yUnit), "V.");
            Block out(24);
            info.hData = out.handle();
            ASSERT_EQ(ReadMDT10File(&info), 1);
            std::vector<float> stored(values, values + 6);
            if (t.letter == 'c') stored[1] = -56;
            std::vector<float> expected = stored;
            if (layout == '1')  // frames: channel 0 takes positions 0, 2, 4
                expected = {stored[0], stored[2], stored[4], stored[1], stored[3], stored[5]};
            EXPECT_EQ(out.floats(), expected) << t.letter << layout;
            EXPECT_EQ(info.vmin, *std::min_element(stored.begin(), stored.end()));
            EXPECT_EQ(info.vmax, *std::max_element(stored.begin(), stored.end()));
        }
}

TEST(Mdt10File, MagicAnyCaseAndRefusedHeaders) {
    TempPath path(".m10");
    writeBytes(path.str(), m10Header("MDAT1.0", 'f', 1, 0, ' '));
    SignalFileInfo info = descriptor(path.str());
    EXPECT_EQ(ReadMDT10Info(&info), 1);
    for (const Bytes &b : {m10Header("mdat1.0", 'x', 1, 1, ' '), m10Header("mdat1.0", 'f', 33, 1, ' '),
                           m10Header("mdat1.1", 'f', 1, 1, ' '), m10Header("mdat1.0", 'f', 1, -2, ' ')}) {
        writeBytes(path.str(), b);
        EXPECT_EQ(ReadMDT10Info(&info), 0);
    }
}

TEST(Mdt10File, WrittenHeaderAndRoundTrip) {
    TempPath path(".m10");
    std::vector<float> x = randomFloats(3 * 7, 5);
    Block block(x);
    SignalFileInfo info = descriptor(path.str(), block.handle(), 3, 7);
    info.fs = 125.0f;
    ASSERT_EQ(WriteM10File(&info), 1);
    Bytes b = readBytes(path.str());
    ASSERT_EQ(b.size(), 30u + 4u * x.size());
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(b.data())), "mdat1.0");
    EXPECT_EQ(b[8], 'f');
    EXPECT_EQ(b[9], ' ');
    EXPECT_EQ(fieldAt<int16_t>(b, 10), 3);
    EXPECT_EQ(fieldAt<int32_t>(b, 12), 7);
    EXPECT_EQ(fieldAt<float>(b, 16), 125.0f);
    EXPECT_EQ(fieldAt<float>(b, 20), 1.0f);
    EXPECT_EQ(fieldAt<int32_t>(b, 24), 0);
    EXPECT_EQ(b[28], ' ');
    EXPECT_EQ(b[29], 0);
    for (size_t i = 0; i < x.size(); ++i) EXPECT_EQ(fieldAt<float>(b, 30 + 4 * i), x[i]);
    EXPECT_EQ(readAll(path.str()), x);
}

// ---- XYP ----------------------------------------------------------------------------------------------

TEST(XypFile, RoundTripAndLayout) {
    TempPath path(".xyp");
    XYPHeader h;
    std::memset(&h, 0, sizeof h);
    h.nCurves = 3;
    for (int k = 0; k < 4; ++k) h.values[k] = 100 + k;
    const int32_t counts[3] = {2, 0, 3};
    for (int k = 0; k < 3; ++k) {
        h.nPoints[k] = counts[k];
        h.attr32[k] = 0x01020304 * (k + 1);
        h.attr16a[k] = int16_t(-k);
        h.attr16b[k] = int16_t(7 * k);
    }
    std::vector<float> x = {1, 2, 3, 4, 5}, y = {-1, -2, -3, -4, -5};
    ASSERT_EQ(WriteXYPData(path.c_str(), &h, x.data(), y.data()), 1);
    Bytes b = readBytes(path.str());
    ASSERT_EQ(b.size(), 26u + 36u + 40u);
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(b.data())), "xyp2.1");
    EXPECT_EQ(fieldAt<int16_t>(b, 8), 3);
    EXPECT_EQ(fieldAt<int32_t>(b, 10), 100);
    EXPECT_EQ(fieldAt<int32_t>(b, 26 + 8), 3);
    EXPECT_EQ(fieldAt<int32_t>(b, 26 + 12 + 4), 0x01020304 * 2);
    EXPECT_EQ(fieldAt<int16_t>(b, 26 + 24 + 2), -1);
    EXPECT_EQ(fieldAt<int16_t>(b, 26 + 30 + 4), 14);
    EXPECT_EQ(fieldAt<float>(b, 26 + 36), 1.0f);
    EXPECT_EQ(fieldAt<float>(b, 26 + 36 + 20), -1.0f);

    XYPHeader back;
    std::memset(&back, 0x55, sizeof back);
    ASSERT_EQ(ReadXYPHeader(path.c_str(), &back), 1);
    EXPECT_EQ(back.nCurves, 3);
    EXPECT_EQ(std::memcmp(back.values, h.values, sizeof h.values), 0);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(back.nPoints[k], h.nPoints[k]);
        EXPECT_EQ(back.attr32[k], h.attr32[k]);
        EXPECT_EQ(back.attr16a[k], h.attr16a[k]);
        EXPECT_EQ(back.attr16b[k], h.attr16b[k]);
    }
    std::vector<float> rx(5), ry(5);
    ASSERT_EQ(ReadXYPData(path.c_str(), rx.data(), ry.data()), 1);
    EXPECT_EQ(rx, x);
    EXPECT_EQ(ry, y);
}

TEST(XypFile, CountsTheFileCannotHoldAreRefused) {
    TempPath path(".xyp");
    XYPHeader h;
    std::memset(&h, 0, sizeof h);
    h.nCurves = 1;
    h.nPoints[0] = 4;
    std::vector<float> x(4, 1.0f);
    ASSERT_EQ(WriteXYPData(path.c_str(), &h, x.data(), x.data()), 1);
    Bytes b = readBytes(path.str());
    writeBytes(path.str(), Bytes(b.begin(), b.end() - 1));
    XYPHeader back;
    EXPECT_EQ(ReadXYPHeader(path.c_str(), &back), 0);
    std::vector<float> rx(4), ry(4);
    EXPECT_EQ(ReadXYPData(path.c_str(), rx.data(), ry.data()), 0);
    b[26] = 0xFF;  // point count -1 after the change below
    b[27] = b[28] = b[29] = 0xFF;
    writeBytes(path.str(), b);
    EXPECT_EQ(ReadXYPHeader(path.c_str(), &back), 0);
    h.nCurves = 17;
    EXPECT_EQ(WriteXYPData(path.c_str(), &h, x.data(), x.data()), 0);
}

// ---- dispatchers -----------------------------------------------------------------------------------------

TEST(Dispatch, EveryKindIsWrittenAndRecognisedWhateverItsName) {
    std::vector<float> x = randomFloats(2 * 300, 8, -9.0f, 9.0f);
    Block block(x);
    struct Kind {
        int16_t kind;
        int16_t srcType;
        int16_t fmt;
    } kinds[] = {{0, 0, 6}, {1, 101, 6}, {2, 100, 2}, {3, 0, 6}, {100, 0, 100}, {55, 0, 6}};
    for (const Kind &k : kinds) {
        TempPath path(".mdt");  // the extension plays no part
        SignalFileInfo info = descriptor(path.str(), block.handle(), 2, 300);
        info.fmt = 6;
        ASSERT_EQ(WriteDATFile(&info, k.kind), 1) << k.kind;
        SignalFileInfo back = descriptor(path.str());
        ASSERT_EQ(ReadDATInfo(&back), 1) << k.kind;
        EXPECT_EQ(back.nch, 2);
        EXPECT_EQ(back.len, 300);
        EXPECT_EQ(back.fmt, k.fmt) << k.kind;
        EXPECT_EQ(back.srcType, k.srcType) << k.kind;
        std::vector<float> y = readAll(path.str());
        ASSERT_EQ(y.size(), x.size());
        if (k.kind == 100) {
            for (size_t i = 0; i < x.size(); i += 250)
                EXPECT_EQ(y[i], x[i]);  // each compressed block starts exactly
        } else if (k.kind != 2) {
            EXPECT_EQ(y, x) << k.kind;
        }
    }
}

TEST(Dispatch, ArrayExportsRoundTripAndRespectTheCallersCounts) {
    TempPath path(".dat");
    std::vector<float> x = randomFloats(3 * 50, 9);
    ASSERT_EQ(xWriteDat(x.data(), 3, 50, 200.0f, -1.0f, 1.0f, 0, path.c_str()), 1);
    int32_t nch = 0, lx = 0;
    float fs = 0, vmin = 0, vmax = 0;
    ASSERT_EQ(xReadDatInfo(path.c_str(), &nch, &lx, &fs, &vmin, &vmax), 1);
    EXPECT_EQ(nch, 3);
    EXPECT_EQ(lx, 50);
    EXPECT_EQ(fs, 200.0f);
    EXPECT_EQ(vmin, -1.0f);
    EXPECT_EQ(vmax, 1.0f);
    SignalFileInfo info = descriptor(path.str());
    ASSERT_EQ(ReadMDTInfo(&info), 1);
    EXPECT_EQ(std::string(info.yUnit), "vol.");
    EXPECT_EQ(info.srcType, 0);

    std::vector<float> y(150 + 4, -7.0f);
    ASSERT_EQ(xReadDat(path.c_str(), 3, 50, y.data()), 1);
    EXPECT_EQ(std::vector<float>(y.begin(), y.begin() + 150), x);
    EXPECT_EQ(y[150], -7.0f);

    // Counts smaller than the file's: refused, nothing written to the caller's array.
    std::vector<float> small(60, -7.0f);
    EXPECT_EQ(xReadDat(path.c_str(), 3, 20, small.data()), 0);
    EXPECT_EQ(small, std::vector<float>(60, -7.0f));
    EXPECT_EQ(xReadDat(path.c_str(), 0, 50, y.data()), 0);
    EXPECT_EQ(xReadDat(path.c_str(), 3, -1, y.data()), 0);
}

TEST(Dispatch, FormatCodeThreeWritesACompressedFile) {
    TempPath path(".dat");
    std::vector<float> x = randomFloats(400, 10);
    ASSERT_EQ(xWriteDat(x.data(), 1, 400, 20.0f, 0.0f, 1.0f, 3, path.c_str()), 1);
    Bytes b = readBytes(path.str());
    EXPECT_EQ(fieldAt<int16_t>(b, 26), 100);
    std::vector<float> y(400);
    ASSERT_EQ(xReadDat(path.c_str(), 1, 400, y.data()), 1);
    EXPECT_EQ(y[0], x[0]);
    EXPECT_EQ(y[250], x[250]);
}

TEST(Dispatch, UnknownAndMissingFilesFail) {
    TempPath path(".dat");
    writeBytes(path.str(), Bytes(200, 0x41));
    SignalFileInfo info = descriptor(path.str());
    EXPECT_EQ(ReadDATInfo(&info), 0);
    EXPECT_EQ(ReadDATFile(&info), 0);
    int32_t nch, lx;
    float fs, vmin, vmax;
    EXPECT_EQ(xReadDatInfo(path.c_str(), &nch, &lx, &fs, &vmin, &vmax), 0);
    EXPECT_EQ(xReadDatInfo("/nonexistent-folder/none.mdt", &nch, &lx, &fs, &vmin, &vmax), 0);
    std::string longName(200, 'a');
    EXPECT_EQ(xReadDatInfo(longName.c_str(), &nch, &lx, &fs, &vmin, &vmax), 0);
}

// WAV files: files of the library read by a chunk parser written here, files of a small
// independent writer (extra chunks, odd chunk sizes, 8-bit) read by the library, saturation,
// the data's own range stretched onto vmin .. vmax, and short or hostile files.
#include "files_test_support.h"

#include <cmath>

using namespace filetest;

namespace {

// Independent writer: RIFF, "fmt " chunk, optional extra chunks before "data".
Bytes makeWav(int channels, int bits, uint32_t rate, const Bytes &samples,
              const std::vector<std::pair<std::string, Bytes>> &extra = {}, int16_t tag = 1,
              int64_t dataSizeField = -1) {
    ByteBuilder body;
    body.text("WAVE", 4).text("fmt ", 4).put<uint32_t>(16).put<int16_t>(tag).put<int16_t>(int16_t(channels));
    body.put<uint32_t>(rate)
        .put<uint32_t>(rate * uint32_t(channels * bits / 8))
        .put<int16_t>(int16_t(channels * bits / 8));
    body.put<int16_t>(int16_t(bits));
    for (const auto &chunk : extra) {
        body.text(chunk.first.c_str(), 4).put<uint32_t>(uint32_t(chunk.second.size())).raw(chunk.second);
        if (chunk.second.size() % 2) body.put<uint8_t>(0);
    }
    body.text("data", 4)
        .put<uint32_t>(dataSizeField < 0 ? uint32_t(samples.size()) : uint32_t(dataSizeField))
        .raw(samples);
    ByteBuilder file;
    file.text("RIFF", 4).put<uint32_t>(uint32_t(body.b.size())).raw(body.b);
    return file.b;
}

Bytes int16Samples(const std::vector<int16_t> &v) {
    ByteBuilder b;
    for (int16_t s : v) b.put<int16_t>(s);
    return b.b;
}

// Independent reader: walks the chunks and returns the 16-bit samples of "data".
struct ParsedWav {
    int channels = 0, bits = 0;
    uint32_t rate = 0, byteRate = 0;
    int blockAlign = 0;
    std::vector<int16_t> samples;
};

ParsedWav parseWav(const Bytes &b) {
    ParsedWav w;
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
    EXPECT_EQ(fieldAt<uint32_t>(b, 4), b.size() - 8);
    EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 12), "WAVE");
    size_t pos = 12;
    while (pos + 8 <= b.size()) {
        std::string id(b.begin() + std::ptrdiff_t(pos), b.begin() + std::ptrdiff_t(pos + 4));
        uint32_t size = fieldAt<uint32_t>(b, pos + 4);
        if (id == "fmt ") {
            EXPECT_EQ(fieldAt<int16_t>(b, pos + 8), 1);
            w.channels = fieldAt<int16_t>(b, pos + 10);
            w.rate = fieldAt<uint32_t>(b, pos + 12);
            w.byteRate = fieldAt<uint32_t>(b, pos + 16);
            w.blockAlign = fieldAt<int16_t>(b, pos + 20);
            w.bits = fieldAt<int16_t>(b, pos + 22);
        } else if (id == "data") {
            for (size_t k = 0; k + 1 < size && pos + 8 + k + 1 < b.size() + 1; k += 2)
                w.samples.push_back(fieldAt<int16_t>(b, pos + 8 + k));
        }
        pos += 8 + size + (size & 1);
    }
    return w;
}

// The value the writer must store: x * 4096 / (vmax - vmin) - 2048, truncated, saturated.
int16_t expectedSample(float x, float vmin, float vmax) {
    float k = vmax != vmin ? 4096.0f / (vmax - vmin) : 1.0f;
    double v = std::trunc(double(x * k - 2048.0f));
    return int16_t(std::min(32767.0, std::max(-32768.0, v)));
}

SignalFileInfo readWav(const std::string &path, Block &out) {
    SignalFileInfo info = descriptor(path);
    EXPECT_EQ(ReadWAVInfo(&info), 1);
    info.hData = out.handle();
    EXPECT_EQ(ReadWAVFile(&info), 1);
    return info;
}

}  // namespace

TEST(WavFile, LibraryFilesReadByAnIndependentParser) {
    for (int16_t nch : {1, 2, 3}) {
        TempPath path(".wav");
        const int32_t len = 50;
        std::vector<float> x = randomFloats(size_t(nch * len), uint32_t(nch), -20.0f, 20.0f);
        x[0] = 1000.0f;   // saturates high
        x[1] = -1000.0f;  // saturates low
        Block block(x);
        SignalFileInfo info = descriptor(path.str(), block.handle(), nch, len);
        info.vmin = 0.0f;
        info.vmax = 10.0f;
        info.fs = 8000.7f;
        ASSERT_EQ(WriteWAVFile(&info), 1);
        Bytes b = readBytes(path.str());
        const int c = std::min<int>(nch, 2);
        ASSERT_EQ(b.size(), 44u + size_t(c * len * 2));
        ParsedWav w = parseWav(b);
        EXPECT_EQ(w.channels, c);
        EXPECT_EQ(w.bits, 16);
        EXPECT_EQ(w.rate, 8000u);
        EXPECT_EQ(w.byteRate, 8000u * uint32_t(c) * 2);
        EXPECT_EQ(w.blockAlign, c * 2);
        ASSERT_EQ(w.samples.size(), size_t(c * len));
        for (int ch = 0; ch < c; ++ch)
            for (int j = 0; j < len; ++j)
                EXPECT_EQ(w.samples[size_t(j * c + ch)],
                          expectedSample(x[size_t(ch * len + j)], 0.0f, 10.0f));
        EXPECT_EQ(w.samples[0], 32767);
        if (nch == 1) {
            EXPECT_EQ(w.samples[1], -32768);
        }
    }
}

TEST(WavFile, WriterMapsTheRangeEnds) {
    TempPath path(".wav");
    Block block(std::vector<float>{0.0f, 10.0f, 5.0f});
    SignalFileInfo info = descriptor(path.str(), block.handle(), 1, 3);
    info.vmin = 0.0f;
    info.vmax = 10.0f;
    info.fs = 0.5f;  // below 1: the rate field is 1
    ASSERT_EQ(WriteWAVFile(&info), 1);
    ParsedWav w = parseWav(readBytes(path.str()));
    EXPECT_EQ(w.rate, 1u);
    EXPECT_EQ(w.samples, (std::vector<int16_t>{-2048, 2048, 0}));
}

TEST(WavFile, EveryWrittenSampleReadsBack) {
    // The canonical 44-byte header: samples start right after it, none are skipped.
    TempPath path(".wav");
    std::vector<float> x = randomFloats(100, 9, -5.0f, 5.0f);
    Block block(x);
    SignalFileInfo info = descriptor(path.str(), block.handle(), 1, 100);
    ASSERT_EQ(WriteWAVFile(&info), 1);
    EXPECT_EQ(fieldAt<uint32_t>(readBytes(path.str()), 4), 236u);
    Block out(400);
    SignalFileInfo back = readWav(path.str(), out);
    EXPECT_EQ(back.len, 100);
    EXPECT_EQ(back.nch, 1);
    EXPECT_EQ(back.srcType, 100);
    EXPECT_EQ(back.fmt, 2);
    EXPECT_EQ(std::string(back.xUnit), "sec.");
    EXPECT_EQ(std::string(back.yUnit), "v.");
    // The stored values stretched from their own range onto -10 .. 10.
    ParsedWav w = parseWav(readBytes(path.str()));
    int lo = *std::min_element(w.samples.begin(), w.samples.end());
    int hi = *std::max_element(w.samples.begin(), w.samples.end());
    float scale = float(20.0 / double(hi - lo));
    float offset = float(10.0 - double(hi) * scale);
    EXPECT_EQ(back.scale, scale);
    EXPECT_EQ(back.offset, offset);
    std::vector<float> y = out.floats();
    for (size_t j = 0; j < 100; ++j) EXPECT_EQ(y[j], float(w.samples[j]) * scale + offset) << j;
}

TEST(WavFile, FilesOfAnotherWriterWithExtraChunks) {
    TempPath path(".wav");
    std::vector<int16_t> v = {100, -100, 200, -300, 0, 5, 7, 9};
    // An odd-sized chunk (with its pad byte) and a LIST chunk before the data.
    writeBytes(path.str(),
               makeWav(2, 16, 44100, int16Samples(v), {{"JUNK", Bytes(3, 1)}, {"LIST", Bytes(10, 2)}}));
    Block out(8 * 4);
    SignalFileInfo info = readWav(path.str(), out);
    EXPECT_EQ(info.nch, 2);
    EXPECT_EQ(info.len, 4);
    EXPECT_EQ(info.fs, 44100.0f);
    const float scale = float(20.0 / 500.0), offset = float(10.0 - 200.0 * scale);
    std::vector<float> y = out.floats();
    for (int j = 0; j < 4; ++j) {
        EXPECT_EQ(y[size_t(j)], float(v[size_t(2 * j)]) * scale + offset);
        EXPECT_EQ(y[size_t(4 + j)], float(v[size_t(2 * j + 1)]) * scale + offset);
    }
}

TEST(WavFile, EightBitFilesAndFlatFiles) {
    TempPath path(".wav");
    writeBytes(path.str(), makeWav(1, 8, 8000, Bytes{0, 128, 255, 64}));
    SignalFileInfo info = descriptor(path.str());
    ASSERT_EQ(ReadWAVInfo(&info), 1);
    EXPECT_EQ(info.fmt, 1);
    EXPECT_EQ(info.scale, 0.15625f);
    EXPECT_EQ(info.offset, -10.0f);
    Block out(16);
    info = readWav(path.str(), out);
    const float scale = float(20.0 / 255.0), offset = float(10.0 - 255.0 * scale);
    const std::vector<float> y = out.floats();
    const uint8_t stored[4] = {0, 128, 255, 64};
    for (int j = 0; j < 4; ++j) EXPECT_EQ(y[size_t(j)], float(stored[j]) * scale + offset);
    EXPECT_NEAR(y[0], -10.0f, 1e-5);
    EXPECT_NEAR(y[2], 10.0f, 1e-5);

    writeBytes(path.str(), makeWav(1, 16, 8000, int16Samples({42, 42, 42})));
    Block flat(12);
    readWav(path.str(), flat);
    EXPECT_EQ(flat.floats(), (std::vector<float>{0.0f, 0.0f, 0.0f}));
}

TEST(WavFile, DataChunkLargerThanTheFileReadsWhatIsThere) {
    TempPath path(".wav");
    writeBytes(path.str(), makeWav(1, 16, 8000, int16Samples({1, 2, 3}), {}, 1, 0x7FFFFFF0));
    SignalFileInfo info = descriptor(path.str());
    ASSERT_EQ(ReadWAVInfo(&info), 1);
    EXPECT_EQ(info.len, 3);
    // A descriptor claiming more frames than the file holds fails.
    Block out(400);
    info.hData = out.handle();
    info.len = 100;
    EXPECT_EQ(ReadWAVFile(&info), 0);
}

TEST(WavFile, HostileAndShortFilesAreRefused) {
    TempPath path(".wav");
    const Bytes s = int16Samples({1, 2});
    const Bytes bad[] = {makeWav(1, 16, 8000, s, {}, 3), makeWav(3, 16, 8000, s), makeWav(1, 24, 8000, s),
                         makeWav(1, 16, 0, s)};
    for (const Bytes &b : bad) {
        writeBytes(path.str(), b);
        SignalFileInfo info = descriptor(path.str());
        EXPECT_EQ(ReadWAVInfo(&info), 0);
    }
    Bytes good = makeWav(1, 16, 8000, s);
    for (size_t n = 0; n < 36; ++n) {
        writeBytes(path.str(), Bytes(good.begin(), good.begin() + std::ptrdiff_t(n)));
        SignalFileInfo info = descriptor(path.str());
        EXPECT_EQ(ReadWAVInfo(&info), 0) << n;
    }
    // The channel count must match the file's.
    writeBytes(path.str(), good);
    SignalFileInfo info = descriptor(path.str());
    ASSERT_EQ(ReadWAVInfo(&info), 1);
    Block out(64);
    info.hData = out.handle();
    info.nch = 2;
    info.len = 1;
    EXPECT_EQ(ReadWAVFile(&info), 0);
}

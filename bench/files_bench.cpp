// files_bench: signal file and Huffman throughput against references measured in the same run.
//  - ReadMDTFile / WriteMDTFile, 32 channels x 1,048,576 int16 samples (64 MiB, page cache),
//    against one pread / write of the section plus the (de)interleaving conversion loop;
//  - ReadWAVFile of a 100 MB stereo 16-bit WAV against libsndfile's sf_readf_float;
//  - HufCompress / HufExpand of 64 MiB of 16-bit samples of a noisy chromatogram-like signal
//    (output file included) against zlib's compress2 level 1 / uncompress in memory.
// Each case records its best iteration; the ratios (reference time / library time, higher is
// better for the library) are printed at the end. The machine is shared: figures are noisy.
#include "memblock.h"
#include "numora.h"
#include "sigmora.h"

#include <benchmark/benchmark.h>
#include <sndfile.h>
#include <zlib.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kChannels = 32;
constexpr int kLen = 1 << 20;
constexpr size_t kWavFrames = 25000000;  // 100 MB of stereo 16-bit samples
constexpr size_t kHufBytes = 64u << 20;

std::map<std::string, double> g_best;

std::string tempPath(const char *name) {
    return std::string(P_tmpdir) + "/swb_files_bench_" + name;
}

// Runs body once per iteration, keeping the best time under `name`.
template <typename F>
void timed(benchmark::State &state, const char *name, F body) {
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        body();
        double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        state.SetIterationTime(s);
        auto it = g_best.find(name);
        if (it == g_best.end() || s < it->second) g_best[name] = s;
    }
}

SignalFileInfo descriptor(const std::string &path, uint32_t h, int16_t nch, int32_t len) {
    SignalFileInfo info;
    std::memset(&info, 0, sizeof info);
    std::strncpy(info.fileName, path.c_str(), sizeof info.fileName - 1);
    info.hData = h;
    info.nch = nch;
    info.len = len;
    info.fs = 1000.0f;
    info.fmt = 2;
    info.scale = 0.001f;
    info.offset = 0.5f;
    for (float &g : info.chanGain) g = 1.0f;
    return info;
}

// The MDT recording: block, file, header size.
struct MdtFixture {
    uint32_t block = 0;
    std::string path = tempPath("mdt.mdt");
    size_t dataStart = 82 + 4 * kChannels + 80;
    MdtFixture() {
        block = MemBlockAlloc(uint32_t(size_t(kChannels) * kLen * 4));
        float *p = static_cast<float *>(MemBlockLock(block));
        std::mt19937 gen(1);
        std::uniform_real_distribution<float> d(-30.0f, 30.0f);
        for (size_t i = 0; i < size_t(kChannels) * kLen; ++i) p[i] = d(gen);
        MemBlockUnlock(block);
        SignalFileInfo info = descriptor(path, block, kChannels, kLen);
        WriteMDTFile(&info);
    }
    ~MdtFixture() {
        MemBlockFree(block);
        std::remove(path.c_str());
    }
};

MdtFixture &mdt() {
    static MdtFixture f;
    return f;
}

void BM_ReadMDTFile(benchmark::State &state) {
    MdtFixture &f = mdt();
    timed(state, "ReadMDTFile", [&] {
        SignalFileInfo info = descriptor(f.path, f.block, 1, 1);
        ReadMDTInfo(&info);
        info.hData = f.block;
        benchmark::DoNotOptimize(ReadMDTFile(&info));
    });
}

void BM_ReadMDTReference(benchmark::State &state) {
    MdtFixture &f = mdt();
    std::vector<int16_t> raw(size_t(kChannels) * kLen);
    timed(state, "ReadMDTReference", [&] {
        int fd = open(f.path.c_str(), O_RDONLY);
        benchmark::DoNotOptimize(pread(fd, raw.data(), raw.size() * 2, off_t(f.dataStart)));
        close(fd);
        float *out = static_cast<float *>(MemBlockLock(f.block));
        const double scale = 0.001f, offset = 0.5f;
        for (size_t j = 0; j < size_t(kLen); ++j)
            for (int c = 0; c < kChannels; ++c)
                out[size_t(c) * kLen + j] = float(raw[j * kChannels + size_t(c)] * scale + offset);
        MemBlockUnlock(f.block);
    });
}

void BM_WriteMDTFile(benchmark::State &state) {
    MdtFixture &f = mdt();
    const std::string out = tempPath("mdt_out.mdt");
    timed(state, "WriteMDTFile", [&] {
        SignalFileInfo info = descriptor(out, f.block, kChannels, kLen);
        benchmark::DoNotOptimize(WriteMDTFile(&info));
    });
    std::remove(out.c_str());
}

void BM_WriteMDTReference(benchmark::State &state) {
    MdtFixture &f = mdt();
    const std::string out = tempPath("mdt_ref.mdt");
    std::vector<int16_t> raw(size_t(kChannels) * kLen);
    std::vector<char> header(f.dataStart, 0);
    timed(state, "WriteMDTReference", [&] {
        const float *in = static_cast<const float *>(MemBlockLock(f.block));
        const double scale = 0.001f, offset = 0.5f;
        for (size_t j = 0; j < size_t(kLen); ++j)
            for (int c = 0; c < kChannels; ++c) {
                double v = (double(in[size_t(c) * kLen + j]) - offset) / scale;
                v = v > 32767 ? 32767 : v < -32767 ? -32767 : v;
                raw[j * kChannels + size_t(c)] = int16_t(v);
            }
        MemBlockUnlock(f.block);
        int fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        benchmark::DoNotOptimize(write(fd, header.data(), header.size()));
        benchmark::DoNotOptimize(write(fd, raw.data(), raw.size() * 2));
        close(fd);
    });
    std::remove(out.c_str());
}

// ---- WAV -------------------------------------------------------------------------------------------

struct WavFixture {
    std::string path = tempPath("wav.wav");
    WavFixture() {
        std::vector<int16_t> s(kWavFrames * 2);
        std::mt19937 gen(2);
        for (size_t i = 0; i < s.size(); ++i)
            s[i] = int16_t(int(20000 * std::sin(double(i) * 0.001)) + int(gen() % 2000) - 1000);
        SF_INFO info{};
        info.samplerate = 44100;
        info.channels = 2;
        info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
        SNDFILE *f = sf_open(path.c_str(), SFM_WRITE, &info);
        sf_writef_short(f, s.data(), sf_count_t(kWavFrames));
        sf_close(f);
    }
    ~WavFixture() { std::remove(path.c_str()); }
};

WavFixture &wav() {
    static WavFixture f;
    return f;
}

void BM_ReadWAVFile(benchmark::State &state) {
    WavFixture &f = wav();
    uint32_t block = MemBlockAlloc(uint32_t(kWavFrames * 2 * 4));
    timed(state, "ReadWAVFile", [&] {
        SignalFileInfo info = descriptor(f.path, block, 1, 1);
        ReadWAVInfo(&info);
        info.hData = block;
        benchmark::DoNotOptimize(ReadWAVFile(&info));
    });
    MemBlockFree(block);
}

void BM_ReadWAVSndfile(benchmark::State &state) {
    WavFixture &f = wav();
    std::vector<float> buffer(kWavFrames * 2);
    timed(state, "ReadWAVSndfile", [&] {
        SF_INFO info{};
        SNDFILE *s = sf_open(f.path.c_str(), SFM_READ, &info);
        benchmark::DoNotOptimize(sf_readf_float(s, buffer.data(), info.frames));
        sf_close(s);
    });
}

// ---- Huffman ---------------------------------------------------------------------------------------

// 16-bit samples of a chromatogram: drifting baseline, Gaussian peaks, noise.
std::vector<uint8_t> chromatogram() {
    std::vector<uint8_t> bytes(kHufBytes);
    std::mt19937 gen(3);
    std::normal_distribution<double> noise(0.0, 12.0);
    const size_t n = kHufBytes / 2;
    for (size_t i = 0; i < n; ++i) {
        double t = double(i % 65536);
        double v = 800 + 0.005 * t;
        for (int p = 1; p <= 6; ++p) {
            double d = (t - p * 9000.0) / (60.0 + 20 * p);
            v += 9000.0 / p * std::exp(-0.5 * d * d);
        }
        int16_t s = int16_t(std::lround(v + noise(gen)));
        std::memcpy(&bytes[2 * i], &s, 2);
    }
    return bytes;
}

struct HufFixture {
    std::vector<uint8_t> plain = chromatogram();
    std::vector<uint8_t> coded;
    std::vector<uint8_t> deflated;
    std::string out = tempPath("huf.out");
    HufFixture() {
        HufCompress(plain.data(), int32_t(plain.size()), out.c_str());
        FILE *f = std::fopen(out.c_str(), "rb");
        coded.resize(plain.size() + 1024);
        coded.resize(std::fread(coded.data(), 1, coded.size(), f));
        std::fclose(f);
        uLongf size = compressBound(uLong(plain.size()));
        deflated.resize(size);
        compress2(deflated.data(), &size, plain.data(), uLong(plain.size()), 1);
        deflated.resize(size);
        std::printf("Huffman: %zu -> %zu bytes; zlib level 1: %zu bytes\n", plain.size(), coded.size(),
                    deflated.size());
    }
    ~HufFixture() { std::remove(out.c_str()); }
};

HufFixture &huf() {
    static HufFixture f;
    return f;
}

void BM_HufCompress(benchmark::State &state) {
    HufFixture &f = huf();
    timed(state, "HufCompress", [&] {
        benchmark::DoNotOptimize(HufCompress(f.plain.data(), int32_t(f.plain.size()), f.out.c_str()));
    });
}

void BM_HufExpand(benchmark::State &state) {
    HufFixture &f = huf();
    timed(state, "HufExpand", [&] {
        benchmark::DoNotOptimize(HufExpand(f.coded.data(), int32_t(f.coded.size()), f.out.c_str()));
    });
}

void BM_ZlibDeflate1(benchmark::State &state) {
    HufFixture &f = huf();
    std::vector<uint8_t> out(compressBound(uLong(f.plain.size())));
    timed(state, "ZlibDeflate1", [&] {
        uLongf size = uLongf(out.size());
        benchmark::DoNotOptimize(compress2(out.data(), &size, f.plain.data(), uLong(f.plain.size()), 1));
    });
}

void BM_ZlibInflate(benchmark::State &state) {
    HufFixture &f = huf();
    std::vector<uint8_t> out(f.plain.size());
    timed(state, "ZlibInflate", [&] {
        uLongf size = uLongf(out.size());
        benchmark::DoNotOptimize(uncompress(out.data(), &size, f.deflated.data(), uLong(f.deflated.size())));
    });
}

void ratio(const char *what, const char *lib, const char *ref) {
    if (g_best.count(lib) && g_best.count(ref))
        std::printf("%-34s %8.1f ms vs %8.1f ms   ratio reference/library %.2f\n", what, g_best[lib] * 1e3,
                    g_best[ref] * 1e3, g_best[ref] / g_best[lib]);
}

}  // namespace

BENCHMARK(BM_ReadMDTFile)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadMDTReference)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteMDTFile)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteMDTReference)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadWAVFile)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadWAVSndfile)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HufCompress)->UseManualTime()->Iterations(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZlibDeflate1)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HufExpand)->UseManualTime()->Iterations(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZlibInflate)->UseManualTime()->Iterations(4)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf(
        "\nBest iterations (library within 1.5x of the reference: ratio >= 0.67; Huffman targets:\n"
        "compress ratio >= 3, expand ratio >= 2):\n");
    ratio("ReadMDTFile vs pread + convert", "ReadMDTFile", "ReadMDTReference");
    ratio("WriteMDTFile vs convert + write", "WriteMDTFile", "WriteMDTReference");
    ratio("ReadWAVFile vs sf_readf_float", "ReadWAVFile", "ReadWAVSndfile");
    ratio("HufCompress vs zlib deflate 1", "HufCompress", "ZlibDeflate1");
    ratio("HufExpand vs zlib inflate", "HufExpand", "ZlibInflate");
    return 0;
}

// files_test_support.h - helpers of the signal file tests: temporary paths, owned memory blocks,
// descriptors, raw file bytes and a little-endian byte builder for files made by hand.
#pragma once

#include "sigmora.h"

#include "memblock.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace filetest {

using Bytes = std::vector<uint8_t>;

// A path in the test folder, unique per process and object, removed when the object goes.
class TempPath {
  public:
    explicit TempPath(const std::string &ext = ".dat") {
        static int counter = 0;
        path_ = testing::TempDir() + "sigfiles_" + std::to_string(getpid()) + "_" +
                std::to_string(counter++) + ext;
        std::remove(path_.c_str());
    }
    ~TempPath() { std::remove(path_.c_str()); }
    TempPath(const TempPath &) = delete;
    TempPath &operator=(const TempPath &) = delete;
    const char *c_str() const { return path_.c_str(); }
    const std::string &str() const { return path_; }

  private:
    std::string path_;
};

inline Bytes readBytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::string &path, const Bytes &b) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(b.data()), std::streamsize(b.size()));
}

inline bool fileExists(const std::string &path) {
    return access(path.c_str(), F_OK) == 0;
}

// Little-endian fields appended in order.
struct ByteBuilder {
    Bytes b;
    template <typename T>
    ByteBuilder &put(T v) {
        uint8_t raw[sizeof(T)];
        std::memcpy(raw, &v, sizeof v);
        b.insert(b.end(), raw, raw + sizeof raw);
        return *this;
    }
    ByteBuilder &text(const char *s, size_t field) {
        size_t n = std::strlen(s);
        b.insert(b.end(), s, s + n);
        b.insert(b.end(), field - n, 0);
        return *this;
    }
    ByteBuilder &raw(const Bytes &more) {
        b.insert(b.end(), more.begin(), more.end());
        return *this;
    }
};

template <typename T>
T fieldAt(const Bytes &b, size_t offset) {
    T v{};
    if (offset + sizeof(T) <= b.size()) std::memcpy(&v, b.data() + offset, sizeof v);
    return v;
}

// A memory block owned by the test.
class Block {
  public:
    explicit Block(uint32_t bytes) : h_(MemBlockAlloc(bytes)) {}
    explicit Block(const std::vector<float> &values) : Block(uint32_t(values.size() * sizeof(float))) {
        set(values);
    }
    ~Block() { MemBlockFree(h_); }
    Block(const Block &) = delete;
    Block &operator=(const Block &) = delete;
    uint32_t handle() const { return h_; }
    void set(const std::vector<float> &values) {
        void *p = MemBlockLock(h_);
        if (!values.empty()) std::memcpy(p, values.data(), values.size() * sizeof(float));
        MemBlockUnlock(h_);
    }
    std::vector<float> floats() const {
        std::vector<float> v(MemBlockSize(h_) / sizeof(float));
        void *p = MemBlockLock(h_);
        if (!v.empty()) std::memcpy(v.data(), p, v.size() * sizeof(float));
        MemBlockUnlock(h_);
        return v;
    }

  private:
    uint32_t h_;
};

inline SignalFileInfo descriptor(const std::string &path, uint32_t h = 0, int16_t nch = 1, int32_t len = 0) {
    SignalFileInfo info;
    std::memset(&info, 0, sizeof info);
    std::strncpy(info.fileName, path.c_str(), sizeof info.fileName - 1);
    info.hData = h;
    info.nch = nch;
    info.len = len;
    info.fs = 1000.0f;
    info.vmin = -10.0f;
    info.vmax = 10.0f;
    info.scale = 1.0f;
    for (float &g : info.chanGain) g = 1.0f;
    return info;
}

inline std::vector<float> randomFloats(size_t n, uint32_t seed, float lo = -100.0f, float hi = 100.0f) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<float> dist(lo, hi);
    std::vector<float> v(n);
    for (float &x : v) x = dist(gen);
    return v;
}

// Counts the library's messages while alive.
class MessageCounter {
  public:
    MessageCounter() : previous_(SetMessageHook(hook)) { count() = 0; }
    ~MessageCounter() { SetMessageHook(previous_); }
    static int &count() {
        static int n = 0;
        return n;
    }
    static std::string &last() {
        static std::string s;
        return s;
    }

  private:
    static void hook(const char *text, const char *caption) {
        ++count();
        last() = std::string(caption) + "|" + text;
    }
    SigmoraMessageHook previous_;
};

}  // namespace filetest

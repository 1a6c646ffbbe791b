// draw_test_support.h - memory surfaces and recordings for the drawing tests.
#ifndef SIGMORA_DRAW_TEST_SUPPORT_H
#define SIGMORA_DRAW_TEST_SUPPORT_H

#include "memblock.h"
#include "sigmora.h"
#include "sigmora_draw.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

// A memory surface freed at the end of the test.
class TestSurface {
  public:
    TestSurface(int32_t w, int32_t h, int32_t dpiX = 96, int32_t dpiY = 96)
        : s_(CreateMemorySurface(w, h, dpiX, dpiY)), w_(w), h_(h) {}
    ~TestSurface() { FreeMemorySurface(s_); }
    TestSurface(const TestSurface &) = delete;
    TestSurface &operator=(const TestSurface &) = delete;

    SigmoraSurface *get() const { return s_; }
    uint32_t at(int32_t x, int32_t y) const { return MemorySurfacePixel(s_, x, y); }
    int32_t width() const { return w_; }
    int32_t height() const { return h_; }
    // Pixels satisfying pred(x, y, colour).
    int64_t count(const std::function<bool(int32_t, int32_t, uint32_t)> &pred) const {
        int64_t n = 0;
        for (int32_t y = 0; y < h_; ++y)
            for (int32_t x = 0; x < w_; ++x) n += pred(x, y, at(x, y)) ? 1 : 0;
        return n;
    }
    int64_t countColour(uint32_t c) const {
        return count([c](int32_t, int32_t, uint32_t p) { return p == c; });
    }
    int64_t nonWhite() const {
        return count([](int32_t, int32_t, uint32_t p) { return p != 0x00FFFFFFu; });
    }

  private:
    SigmoraSurface *s_;
    int32_t w_, h_;
};

// A recording whose channel-major samples live in a movable block.
class TestRecording {
  public:
    TestRecording(int16_t nch, int32_t len, float vmin, float vmax) {
        info.nch = nch;
        info.len = len;
        info.fs = 100.0f;
        info.vmin = vmin;
        info.vmax = vmax;
        info.hData = MemBlockAlloc(static_cast<uint32_t>(nch * len * sizeof(float)));
    }
    ~TestRecording() { MemBlockFree(info.hData); }
    TestRecording(const TestRecording &) = delete;
    TestRecording &operator=(const TestRecording &) = delete;

    void set(int32_t channel, const std::vector<float> &v) {
        float *p = static_cast<float *>(MemBlockLock(info.hData));
        std::memcpy(p + static_cast<size_t>(channel) * info.len, v.data(), v.size() * sizeof(float));
        MemBlockUnlock(info.hData);
    }

    SignalFileInfo info{};
};

#endif

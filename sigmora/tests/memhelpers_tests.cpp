// Memory helpers: typed element access in movable blocks, float windows of a descriptor's
// sample block, selections into a second descriptor; every bad handle or range fails cleanly.
#include "sigmora.h"

#include "memblock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace {

// A movable block freed at the end of the test.
struct Block {
    explicit Block(uint32_t bytes) : h(MemBlockAlloc(bytes)) {}
    ~Block() { MemBlockFree(h); }
    Block(const Block &) = delete;
    Block &operator=(const Block &) = delete;
    unsigned char *bytes() { return static_cast<unsigned char *>(MemBlockLock(h)); }
    void release() { MemBlockUnlock(h); }
    std::vector<float> floats() {
        std::vector<float> v(MemBlockSize(h) / sizeof(float));
        std::memcpy(v.data(), bytes(), v.size() * sizeof(float));
        release();
        return v;
    }
    void setFloats(const std::vector<float> &v) {
        std::memcpy(bytes(), v.data(), v.size() * sizeof(float));
        release();
    }
    MEMHANDLE h;
};

uint32_t freedHandle() {
    MEMHANDLE h = MemBlockAlloc(64);
    MemBlockFree(h);
    return h;
}

SignalFileInfo descriptor(uint32_t h, int16_t nch, int32_t len) {
    SignalFileInfo info;
    std::memset(&info, 0, sizeof info);
    info.hData = h;
    info.nch = nch;
    info.len = len;
    return info;
}

std::vector<float> ramp(size_t n, float start = 0.0f) {
    std::vector<float> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = start + float(i);
    return v;
}

}  // namespace

// ---- typed elements -----------------------------------------------------------------------------

TEST(TypedElements, GetCopiesTheRawBytesOfEachTypeWidth) {
    Block b(64);
    unsigned char *p = b.bytes();
    for (int i = 0; i < 64; ++i) p[i] = static_cast<unsigned char>(i + 1);
    b.release();
    const int widths[] = {1, 1, 2, 2, 4, 4, 4, 8};
    for (int type = 0; type < 8; ++type) {
        unsigned char out[16];
        std::memset(out, 0xEE, sizeof out);
        ASSERT_EQ(GetValueFromGMem(b.h, out, 3, type), 1) << type;
        for (int i = 0; i < widths[type]; ++i)
            EXPECT_EQ(out[i], 3 * widths[type] + i + 1) << "type " << type << " byte " << i;
        EXPECT_EQ(out[widths[type]], 0xEE) << "type " << type << " wrote too much";
    }
    EXPECT_EQ(MemBlockLockCount(b.h), 0u);
}

TEST(TypedElements, UnknownTypeFailsAndWritesNothing) {
    Block b(64);
    unsigned char out[8];
    std::memset(out, 0x5A, sizeof out);
    EXPECT_EQ(GetValueFromGMem(b.h, out, 0, 8), 0);
    EXPECT_EQ(GetValueFromGMem(b.h, out, 0, -1), 0);
    EXPECT_EQ(SetValueToGMem(b.h, 1.0, 0, 8), 0);
    for (unsigned char c : out) EXPECT_EQ(c, 0x5A);
    EXPECT_EQ(MemBlockLockCount(b.h), 0u);
}

TEST(TypedElements, SetTruncatesTowardZeroAndKeepsTheLowBits) {
    Block b(64);
    ASSERT_EQ(SetValueToGMem(b.h, 300.7, 0, 1), 1);
    EXPECT_EQ(b.bytes()[0], 44);
    b.release();
    ASSERT_EQ(SetValueToGMem(b.h, -1.9, 1, 2), 1);
    uint16_t u16;
    std::memcpy(&u16, b.bytes() + 2, 2);
    b.release();
    EXPECT_EQ(u16, 0xFFFF);
    ASSERT_EQ(SetValueToGMem(b.h, 4294967296.0 + 5.9, 1, 5), 1);
    uint32_t u32;
    std::memcpy(&u32, b.bytes() + 4, 4);
    b.release();
    EXPECT_EQ(u32, 5u);
    ASSERT_EQ(SetValueToGMem(b.h, -129.5, 7, 0), 1);
    EXPECT_EQ(static_cast<int8_t>(b.bytes()[7]), 127);  // -129 wraps to 127 in 8 bits
    b.release();
}

TEST(TypedElements, SetStoresFloatsRoundedAndDoublesExactly) {
    Block b(64);
    ASSERT_EQ(SetValueToGMem(b.h, 0.1, 2, 6), 1);
    ASSERT_EQ(SetValueToGMem(b.h, 0.1, 3, 7), 1);
    float f;
    double d;
    std::memcpy(&f, b.bytes() + 8, 4);
    std::memcpy(&d, b.bytes() + 24, 8);
    b.release();
    EXPECT_EQ(f, 0.1f);
    EXPECT_EQ(d, 0.1);
    double back = 0;
    ASSERT_EQ(GetValueFromGMem(b.h, &back, 3, 7), 1);
    EXPECT_EQ(back, 0.1);
}

TEST(TypedElements, NaNAndHugeValuesStoreZeroInIntegerTypes) {
    Block b(16);
    std::memset(b.bytes(), 0x77, 16);
    b.release();
    ASSERT_EQ(SetValueToGMem(b.h, std::nan(""), 0, 4), 1);
    ASSERT_EQ(SetValueToGMem(b.h, 1e300, 1, 4), 1);
    int32_t v[2];
    std::memcpy(v, b.bytes(), 8);
    b.release();
    EXPECT_EQ(v[0], 0);
    EXPECT_EQ(v[1], 0);
}

TEST(TypedElements, BadHandlesFail) {
    double out = 42.0;
    for (uint32_t h : {0u, freedHandle(), 0x7FFFFFF0u}) {
        EXPECT_EQ(GetValueFromGMem(h, &out, 0, 7), 0);
        EXPECT_EQ(SetValueToGMem(h, 1.0, 0, 7), 0);
    }
    EXPECT_EQ(out, 42.0);
    Block b(8);
    EXPECT_EQ(GetValueFromGMem(b.h, nullptr, 0, 7), 0);
}

TEST(TypedElements, ElementsOutsideTheBlockFail) {
    Block b(10);  // five 16-bit elements, two floats, one double
    int64_t out = 0;
    EXPECT_EQ(GetValueFromGMem(b.h, &out, 4, 2), 1);
    EXPECT_EQ(GetValueFromGMem(b.h, &out, 5, 2), 0);
    EXPECT_EQ(GetValueFromGMem(b.h, &out, 2, 6), 0);
    EXPECT_EQ(GetValueFromGMem(b.h, &out, 1, 7), 0);
    EXPECT_EQ(GetValueFromGMem(b.h, &out, -1, 0), 0);
    EXPECT_EQ(SetValueToGMem(b.h, 1.0, 10, 0), 0);
    EXPECT_EQ(SetValueToGMem(b.h, 1.0, 0x40000000, 7), 0);
    EXPECT_EQ(SetValueToGMem(b.h, 1.0, -2, 1), 0);
    EXPECT_EQ(MemBlockLockCount(b.h), 0u);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(b.bytes()[i], 0) << i;
    b.release();
}

// ---- float windows of a descriptor --------------------------------------------------------------

TEST(FloatWindow, CopiesFromChannelStartAndRunsIntoTheNextChannel) {
    Block b(2 * 5 * sizeof(float));
    b.setFloats(ramp(10, 100.0f));
    SignalFileInfo info = descriptor(b.h, 2, 5);
    std::vector<float> buf(4, -1.0f);
    ASSERT_EQ(GetFloatFromMemory(&info, 0, 3, 4, buf.data()), 1);
    EXPECT_EQ(buf, (std::vector<float>{103, 104, 105, 106}));
    ASSERT_EQ(GetFloatFromMemory(&info, 1, 1, 2, buf.data()), 1);
    EXPECT_EQ(buf[0], 106.0f);
    EXPECT_EQ(buf[1], 107.0f);
    EXPECT_EQ(MemBlockLockCount(b.h), 0u);
}

TEST(FloatWindow, StopsAtTheLastSampleAndFailsPastIt) {
    Block b(2 * 5 * sizeof(float));
    b.setFloats(ramp(10));
    SignalFileInfo info = descriptor(b.h, 2, 5);
    std::vector<float> buf(8, -1.0f);
    ASSERT_EQ(GetFloatFromMemory(&info, 1, 4, 8, buf.data()), 1);  // one below nch * len
    EXPECT_EQ(buf[0], 9.0f);
    EXPECT_EQ(buf[1], -1.0f);
    EXPECT_EQ(GetFloatFromMemory(&info, 1, 5, 1, buf.data()), 0);  // equal to nch * len
    EXPECT_EQ(GetFloatFromMemory(&info, 0, -1, 1, buf.data()), 0);
    EXPECT_EQ(buf[0], 9.0f);
}

TEST(FloatWindow, NonPositiveCountSucceedsWithoutCopying) {
    Block b(16);
    SignalFileInfo info = descriptor(b.h, 1, 4);
    float out = 3.0f;
    EXPECT_EQ(GetFloatFromMemory(&info, 0, 0, 0, &out), 1);
    EXPECT_EQ(GetFloatFromMemory(&info, 0, 0, -5, nullptr), 1);
    EXPECT_EQ(out, 3.0f);
}

TEST(FloatWindow, DescriptorClaimingMoreThanTheBlockIsLimitedToTheBlock) {
    Block b(4 * sizeof(float));
    b.setFloats(ramp(4, 1.0f));
    SignalFileInfo info = descriptor(b.h, 4, 1000);  // the block holds only 4 samples
    std::vector<float> buf(10, 0.0f);
    ASSERT_EQ(GetFloatFromMemory(&info, 0, 2, 10, buf.data()), 1);
    EXPECT_EQ(buf[0], 3.0f);
    EXPECT_EQ(buf[1], 4.0f);
    EXPECT_EQ(buf[2], 0.0f);
    EXPECT_EQ(GetFloatFromMemory(&info, 0, 4, 1, buf.data()), 0);
    const std::vector<float> src(10, 9.0f);
    ASSERT_EQ(SetFloatToMemory(&info, 0, 3, 10, src.data()), 1);
    EXPECT_EQ(b.floats(), (std::vector<float>{1, 2, 3, 9}));
}

TEST(FloatWindow, SetWritesTheSameWindow) {
    Block b(2 * 4 * sizeof(float));
    SignalFileInfo info = descriptor(b.h, 2, 4);
    const std::vector<float> src{7, 8, 9};
    ASSERT_EQ(SetFloatToMemory(&info, 0, 3, 3, src.data()), 1);
    EXPECT_EQ(b.floats(), (std::vector<float>{0, 0, 0, 7, 8, 9, 0, 0}));
    EXPECT_EQ(SetFloatToMemory(&info, 2, 0, 1, src.data()), 0);
    EXPECT_EQ(MemBlockLockCount(b.h), 0u);
}

TEST(FloatWindow, BadDescriptorsFail) {
    float buf[4] = {};
    EXPECT_EQ(GetFloatFromMemory(nullptr, 0, 0, 1, buf), 0);
    SignalFileInfo info = descriptor(0, 1, 4);
    EXPECT_EQ(GetFloatFromMemory(&info, 0, 0, 1, buf), 0);
    info.hData = freedHandle();
    EXPECT_EQ(GetFloatFromMemory(&info, 0, 0, 1, buf), 0);
    EXPECT_EQ(SetFloatToMemory(&info, 0, 0, 1, buf), 0);
    Block b(16);
    info = descriptor(b.h, -1, 4);
    EXPECT_EQ(GetFloatFromMemory(&info, 0, 0, 1, buf), 0);
    info = descriptor(b.h, 1, 4);
    EXPECT_EQ(GetFloatFromMemory(&info, 0, 0, 1, nullptr), 0);
}

// ---- selections ---------------------------------------------------------------------------------

namespace {

SignalFileInfo namedSource(uint32_t h, int16_t nch, int32_t len) {
    SignalFileInfo src = descriptor(h, nch, len);
    src.fs = 250.0f;
    src.vmin = -5.0f;
    src.vmax = 5.0f;
    src.fmt = 2;
    src.srcType = 101;
    src.scale = 0.5f;
    src.offset = 1.5f;
    for (int c = 0; c < 32; ++c) src.chanGain[c] = 1.0f + c;
    std::strcpy(src.xUnit, "sec.");
    std::strcpy(src.yUnit, "vol.");
    std::strcpy(src.fileName, "/data/recording.mdt");
    return src;
}

}  // namespace

TEST(Selection, AllChannelsCopiesEveryChannelWindowAndTheHeader) {
    Block from(3 * 6 * sizeof(float)), to(3 * 2 * sizeof(float));
    from.setFloats(ramp(18));
    SignalFileInfo src = namedSource(from.h, 3, 6), dst = descriptor(to.h, 0, 0);
    ASSERT_EQ(GetSelectedData(&src, &dst, -1, 2, 2), 1);
    EXPECT_EQ(to.floats(), (std::vector<float>{2, 3, 8, 9, 14, 15}));
    EXPECT_EQ(dst.nch, 3);
    EXPECT_EQ(dst.len, 2);
    EXPECT_EQ(dst.fs, 250.0f);
    EXPECT_EQ(dst.vmin, -5.0f);
    EXPECT_EQ(dst.vmax, 5.0f);
    EXPECT_EQ(dst.fmt, 2);
    EXPECT_EQ(dst.srcType, 101);
    EXPECT_EQ(dst.scale, 0.5f);
    EXPECT_EQ(dst.offset, 1.5f);
    EXPECT_EQ(0, std::memcmp(dst.chanGain, src.chanGain, sizeof src.chanGain));
    EXPECT_STREQ(dst.xUnit, "sec.");
    EXPECT_STREQ(dst.yUnit, "vol.");
    EXPECT_STREQ(dst.fileName, "untitled.mdt");
    EXPECT_EQ(dst.hData, to.h);
    EXPECT_EQ(MemBlockLockCount(from.h), 0u);
    EXPECT_EQ(MemBlockLockCount(to.h), 0u);
}

TEST(Selection, OneChannelTakesItsSamplesAndGain) {
    Block from(3 * 6 * sizeof(float)), to(4 * sizeof(float));
    from.setFloats(ramp(18));
    SignalFileInfo src = namedSource(from.h, 3, 6), dst = descriptor(to.h, 0, 0);
    ASSERT_EQ(GetSelectedData(&src, &dst, 2, 1, 4), 1);
    EXPECT_EQ(to.floats(), (std::vector<float>{13, 14, 15, 16}));
    EXPECT_EQ(dst.nch, 1);
    EXPECT_EQ(dst.chanGain[0], 3.0f);
    EXPECT_STREQ(dst.fileName, "untitled.mdt");
}

TEST(Selection, NegativeChannelOnOneChannelSourceGivesOneChannel) {
    Block from(5 * sizeof(float)), to(3 * sizeof(float));
    from.setFloats(ramp(5, 10.0f));
    SignalFileInfo src = namedSource(from.h, 1, 5), dst = descriptor(to.h, 7, 0);
    ASSERT_EQ(GetSelectedData(&src, &dst, -1, 0, 3), 1);
    EXPECT_EQ(dst.nch, 1);
    EXPECT_EQ(to.floats(), (std::vector<float>{10, 11, 12}));
}

TEST(Selection, FailsBeforeWritingWhenTheWindowOrTheBlocksDoNotFit) {
    Block from(2 * 6 * sizeof(float)), to(4 * sizeof(float)), small(sizeof(float));
    from.setFloats(ramp(12));
    SignalFileInfo src = namedSource(from.h, 2, 6), dst = descriptor(to.h, 9, 9);
    SignalFileInfo tooSmall = descriptor(small.h, 9, 9);
    const SignalFileInfo dstBefore = dst;
    EXPECT_EQ(GetSelectedData(&src, &dst, 2, 0, 2), 0);   // channel beyond nch
    EXPECT_EQ(GetSelectedData(&src, &dst, 0, 5, 2), 0);   // window leaves the channel
    EXPECT_EQ(GetSelectedData(&src, &dst, 0, -1, 2), 0);  // negative start
    EXPECT_EQ(GetSelectedData(&src, &dst, 0, 0, -1), 0);  // negative count
    EXPECT_EQ(GetSelectedData(&src, &dst, -1, 0, 3), 0);  // 6 floats into a block of 4
    EXPECT_EQ(GetSelectedData(&src, &tooSmall, 0, 0, 2), 0);
    EXPECT_EQ(0, std::memcmp(&dst, &dstBefore, sizeof dst));
    EXPECT_EQ(to.floats(), std::vector<float>(4, 0.0f));
    SignalFileInfo lying = namedSource(from.h, 4, 6);  // claims 24 samples, block holds 12
    EXPECT_EQ(GetSelectedData(&lying, &dst, 3, 0, 1), 0);
    EXPECT_EQ(MemBlockLockCount(from.h), 0u);
    EXPECT_EQ(MemBlockLockCount(to.h), 0u);
}

TEST(Selection, NullDescriptorsAndHandlesFail) {
    Block from(16), to(16);
    SignalFileInfo src = namedSource(from.h, 1, 4), dst = descriptor(to.h, 0, 0);
    EXPECT_EQ(GetSelectedData(nullptr, &dst, 0, 0, 1), 0);
    EXPECT_EQ(GetSelectedData(&src, nullptr, 0, 0, 1), 0);
    SignalFileInfo noData = descriptor(0, 1, 4);
    EXPECT_EQ(GetSelectedData(&noData, &dst, 0, 0, 1), 0);
    EXPECT_EQ(GetSelectedData(&src, &noData, 0, 0, 1), 0);
    SignalFileInfo freed = descriptor(freedHandle(), 1, 4);
    EXPECT_EQ(GetSelectedData(&src, &freed, 0, 0, 1), 0);
    EXPECT_EQ(GetSelectedData(&freed, &dst, 0, 0, 1), 0);
    EXPECT_EQ(MemBlockLockCount(from.h), 0u);
}

#include "memblock.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <thread>
#include <vector>

TEST(MemBlock, AllocatesZeroFilledAndReportsSize) {
    MEMHANDLE h = MemBlockAlloc(1000);
    ASSERT_NE(h, 0u);
    EXPECT_EQ(MemBlockSize(h), 1000u);
    auto *p = static_cast<unsigned char *>(MemBlockLock(h));
    ASSERT_NE(p, nullptr);
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(p[i], 0) << i;
    MemBlockUnlock(h);
    EXPECT_EQ(MemBlockFree(h), 0u);
}

TEST(MemBlock, LockCountsNest) {
    MEMHANDLE h = MemBlockAlloc(16);
    void *a = MemBlockLock(h);
    void *b = MemBlockLock(h);
    EXPECT_EQ(a, b);
    EXPECT_EQ(MemBlockLockCount(h), 2u);
    EXPECT_EQ(MemBlockUnlock(h), 1u);
    EXPECT_EQ(MemBlockUnlock(h), 0u);
    EXPECT_EQ(MemBlockUnlock(h), 0u);  // unlocking an unlocked block stays at 0
    MemBlockFree(h);
}

TEST(MemBlock, ReallocKeepsContentAndZeroFillsGrowth) {
    MEMHANDLE h = MemBlockAlloc(4);
    std::memcpy(MemBlockLock(h), "abcd", 4);
    MemBlockUnlock(h);
    ASSERT_EQ(MemBlockReAlloc(h, 8), h);
    auto *p = static_cast<unsigned char *>(MemBlockLock(h));
    EXPECT_EQ(std::memcmp(p, "abcd", 4), 0);
    for (int i = 4; i < 8; ++i) EXPECT_EQ(p[i], 0);
    MemBlockUnlock(h);
    ASSERT_EQ(MemBlockReAlloc(h, 2), h);
    EXPECT_EQ(MemBlockSize(h), 2u);
    MemBlockFree(h);
}

TEST(MemBlock, LockedBlockCannotMove) {
    MEMHANDLE h = MemBlockAlloc(4);
    MemBlockLock(h);
    EXPECT_EQ(MemBlockReAlloc(h, 64), 0u);
    EXPECT_EQ(MemBlockSize(h), 4u);
    MemBlockUnlock(h);
    EXPECT_EQ(MemBlockReAlloc(h, 64), h);
    MemBlockFree(h);
}

TEST(MemBlock, BadHandlesFailWithoutCrashing) {
    MEMHANDLE h = MemBlockAlloc(8);
    ASSERT_EQ(MemBlockFree(h), 0u);
    for (MEMHANDLE bad : {MEMHANDLE(0), h, MEMHANDLE(0xFFFFFFF0u)}) {
        EXPECT_EQ(MemBlockLock(bad), nullptr);
        EXPECT_EQ(MemBlockUnlock(bad), 0u);
        EXPECT_EQ(MemBlockSize(bad), 0u);
        EXPECT_EQ(MemBlockReAlloc(bad, 10), 0u);
        EXPECT_EQ(MemBlockFree(bad), bad);
        EXPECT_EQ(MemBlockValid(bad), 0);
    }
}

TEST(MemBlock, FreedHandleIsNeverReissued) {
    MEMHANDLE first = MemBlockAlloc(1);
    MemBlockFree(first);
    MEMHANDLE second = MemBlockAlloc(1);
    EXPECT_NE(first, second);
    EXPECT_EQ(MemBlockLock(first), nullptr);
    MemBlockFree(second);
}

TEST(MemBlock, ConcurrentAllocationsGetDistinctHandles) {
    constexpr int kThreads = 4, kEach = 500;
    std::vector<std::vector<MEMHANDLE>> got(kThreads);
    std::vector<std::thread> threads;
    threads.reserve(kThreads);
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&got, t] {
            for (int i = 0; i < kEach; ++i) {
                MEMHANDLE h = MemBlockAlloc(32);
                static_cast<int *>(MemBlockLock(h))[0] = t;
                MemBlockUnlock(h);
                got[t].push_back(h);
            }
        });
    for (auto &th : threads) th.join();
    std::set<MEMHANDLE> all;
    for (int t = 0; t < kThreads; ++t)
        for (MEMHANDLE h : got[t]) {
            EXPECT_EQ(static_cast<int *>(MemBlockLock(h))[0], t);
            MemBlockUnlock(h);
            all.insert(h);
        }
    EXPECT_EQ(all.size(), size_t(kThreads * kEach));
    for (MEMHANDLE h : all) MemBlockFree(h);
}

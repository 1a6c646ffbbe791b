// Process-wide table of movable memory blocks. Handles come from a counter and are never
// reused while the process runs, so a freed handle can never name a newer block.
#include "memblock.h"

#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <unordered_map>

namespace {

struct Block {
    std::unique_ptr<unsigned char[]> data;
    uint32_t size = 0;
    uint32_t locks = 0;
};

struct Table {
    std::mutex mutex;
    std::unordered_map<MEMHANDLE, Block> blocks;
    MEMHANDLE next = 1;
};

Table &table() {
    static Table *t = new Table;  // never destroyed: blocks may be freed from static destructors
    return *t;
}

std::unique_ptr<unsigned char[]> zeroed(uint32_t bytes) {
    // One byte at least, so a zero-sized block still has a distinct lockable address.
    return std::unique_ptr<unsigned char[]>(new (std::nothrow) unsigned char[bytes ? bytes : 1]());
}

Block *find(Table &t, MEMHANDLE h) {
    auto it = t.blocks.find(h);
    return it == t.blocks.end() ? nullptr : &it->second;
}

}  // namespace

extern "C" {

MEMHANDLE MemBlockAlloc(uint32_t bytes) {
    auto data = zeroed(bytes);
    if (!data) return 0;
    Table &t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    if (t.next == 0) return 0;  // all handle values used up
    MEMHANDLE h = t.next++;
    t.blocks.emplace(h, Block{std::move(data), bytes, 0});
    return h;
}

void *MemBlockLock(MEMHANDLE h) {
    Table &t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    Block *b = find(t, h);
    if (!b) return nullptr;
    ++b->locks;
    return b->data.get();
}

uint32_t MemBlockUnlock(MEMHANDLE h) {
    Table &t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    Block *b = find(t, h);
    if (!b || b->locks == 0) return 0;
    return --b->locks;
}

uint32_t MemBlockLockCount(MEMHANDLE h) {
    Table &t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    Block *b = find(t, h);
    return b ? b->locks : 0;
}

MEMHANDLE MemBlockReAlloc(MEMHANDLE h, uint32_t bytes) {
    Table &t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    Block *b = find(t, h);
    if (!b || b->locks != 0) return 0;
    auto data = zeroed(bytes);
    if (!data) return 0;
    std::memcpy(data.get(), b->data.get(), bytes < b->size ? bytes : b->size);
    b->data = std::move(data);
    b->size = bytes;
    return h;
}

uint32_t MemBlockSize(MEMHANDLE h) {
    Table &t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    Block *b = find(t, h);
    return b ? b->size : 0;
}

MEMHANDLE MemBlockFree(MEMHANDLE h) {
    Table &t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    return t.blocks.erase(h) ? 0 : h;
}

int MemBlockValid(MEMHANDLE h) {
    Table &t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    return find(t, h) ? 1 : 0;
}

}  // extern "C"

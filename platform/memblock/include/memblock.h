/* memblock.h - process-wide table of movable memory blocks addressed by 32-bit handles.
 *
 * A handle is an opaque non-zero number; 0 is never issued. Blocks are zero-filled when
 * allocated and keep their content when reallocated. A block is "locked" while a caller holds
 * a pointer into it; a locked block cannot be reallocated (it would move under that caller).
 * Every call accepts any handle value: a null, freed or never-issued handle makes the call
 * fail with the failure value named below, never crash. All calls are thread-safe.
 */
#ifndef MEMBLOCK_H
#define MEMBLOCK_H

#include <stdint.h>

#if defined(MEMBLOCK_BUILD)
#define MEMBLOCK_API __attribute__((visibility("default")))
#else
#define MEMBLOCK_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef uint32_t MEMHANDLE;

/* Allocates a zero-filled block of `bytes` bytes (0 allowed); returns its handle, 0 on failure. */
MEMBLOCK_API MEMHANDLE MemBlockAlloc(uint32_t bytes);
/* Locks the block and returns its address (counts locks); NULL for a bad handle. */
MEMBLOCK_API void *MemBlockLock(MEMHANDLE h);
/* Drops one lock; returns the lock count left, 0 also when the handle is bad or was not locked. */
MEMBLOCK_API uint32_t MemBlockUnlock(MEMHANDLE h);
/* Current lock count of the block; 0 for a bad handle. */
MEMBLOCK_API uint32_t MemBlockLockCount(MEMHANDLE h);
/* Resizes the block keeping its leading content, new bytes zero; returns h, 0 on failure
 * (bad handle, locked block, out of memory). The handle stays the same. */
MEMBLOCK_API MEMHANDLE MemBlockReAlloc(MEMHANDLE h, uint32_t bytes);
/* Size of the block in bytes; 0 for a bad handle. */
MEMBLOCK_API uint32_t MemBlockSize(MEMHANDLE h);
/* Frees the block (locked or not); returns 0 on success and h for a bad handle. */
MEMBLOCK_API MEMHANDLE MemBlockFree(MEMHANDLE h);
/* 1 if h names a live block, else 0. */
MEMBLOCK_API int MemBlockValid(MEMHANDLE h);

#ifdef __cplusplus
}
#endif

#endif

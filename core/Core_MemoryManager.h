#pragma once

#include <pthread.h>

#include <cstddef>
#include <cstdint>
#include <new>

namespace Core
{

// The exception every allocation failure raises.
class BadAllocation : public std::bad_alloc
{
public:
    const char* what() const noexcept override { return "bad allocation"; }
};

// Process-wide small-block pool with one size class per exact request size
// below 4096 bytes. A size class hands out blocks from chunks of 256 blocks,
// keeps released blocks on a last-in-first-out free list and never returns
// memory to the system while the program runs. Larger requests go to the
// system heap. Allocate, Deallocate and the batch forms do not lock.
//
// The Pool* entry points keep a cache of free blocks per thread and size
// class, so that the common allocation and release touch no shared state;
// a cache takes blocks from and returns them to the pool in batches, holding
// the allocator mutex for the transfer only.
class MemoryManager
{
public:
    static constexpr std::size_t SizeClassCount = 4096;
    static constexpr std::uint32_t BlocksPerChunk = 256;
    // Every block is aligned for any object that fits in it.
    static constexpr std::size_t BlockAlignment = 16;

    // The pool lives until the process ends: threads and static containers
    // may still release into it during exit.
    static MemoryManager& GetInstance();

    void* Allocate(std::size_t size);
    void Deallocate(void* block, std::size_t size);

    // Detaches up to `count` blocks of a pooled size (below SizeClassCount)
    // from the head of its free list, refilling an empty list first, and
    // returns them as a chain linked like the free list; `taken` receives how
    // many. Null when the system heap is exhausted.
    void* AllocateBatch(std::size_t size, std::uint32_t count, std::uint32_t& taken);
    // Pushes the chain first..last (linked, last's link ignored) of a pooled
    // size on its free list, keeping the chain's order.
    void DeallocateBatch(void* first, void* last, std::size_t size);

    // Introspection for tests and benchmarks.
    std::uint32_t GetChunkCount(std::size_t size) const;
    std::size_t GetBlockStride(std::size_t size) const;

    MemoryManager(const MemoryManager&) = delete;
    MemoryManager& operator=(const MemoryManager&) = delete;

private:
    MemoryManager() = default;

    struct Chunk
    {
        unsigned char* storage;
        Chunk* next;
    };

    struct SizeClass
    {
        Chunk* chunks;
        void* freeList;
        std::uint32_t blockSize;      // the request size, at least one pointer
        std::uint32_t blocksPerChunk;
        std::uint32_t stride;         // block size rounded up to the alignment
        std::uint32_t chunkCount;
    };

    SizeClass* GetOrCreateClass(std::size_t size);
    static void Refill(SizeClass& sizeClass);

    SizeClass* classes_[SizeClassCount] = {};
};

// Pool entry points: allocate or release through the calling thread's cache,
// call the hook. A block may be released on another thread than the one that
// allocated it. In the sanitizer build they forward to malloc and free so
// that every block is visible to the sanitizer.
void* PoolNew(std::size_t size);
void* PoolNewDebug(std::size_t size, const char* sourceFile, int sourceLine);
void PoolDelete(void* block, std::size_t size);
// Release half of a debug new whose constructor threw: the block stays put.
void PoolDeleteDebug(void* block, const char* sourceFile, int sourceLine);

// The places where allocation tracking attaches; empty in this system.
void AllocationHook(void* block, int isArray, std::size_t size, const char* sourceFile, int sourceLine);
void ReleaseHook(void* block, int isArray);

// The allocator mutex serialises every access to the pool's shared free lists
// (the thread caches' batch transfers). It is created by the start guard;
// while it is null, nothing locks. The system heap is thread-safe on its own,
// so the global operators do not take it.
void SetAllocatorMutex(pthread_mutex_t* mutex);
pthread_mutex_t* GetAllocatorMutex();

// Holds the allocator mutex for its scope (when one exists).
class AllocatorLock
{
public:
    AllocatorLock();
    ~AllocatorLock();
    AllocatorLock(const AllocatorLock&) = delete;
    AllocatorLock& operator=(const AllocatorLock&) = delete;

private:
    pthread_mutex_t* mutex_;
};

} // namespace Core

// Debug forms of the global operators: the file and line reach the hook.
void* operator new(std::size_t size, const char* sourceFile, int sourceLine);
void* operator new[](std::size_t size, const char* sourceFile, int sourceLine);
void operator delete(void* block, const char* sourceFile, int sourceLine) noexcept;
void operator delete[](void* block, const char* sourceFile, int sourceLine) noexcept;

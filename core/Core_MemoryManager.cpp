#include "core/Core_MemoryManager.h"

#include <atomic>
#include <cassert>
#include <cstdlib>
#include <cstring>

namespace Core
{

namespace
{

std::atomic<pthread_mutex_t*> g_allocatorMutex{nullptr};

constexpr std::size_t RoundUp(std::size_t value, std::size_t alignment)
{
    return (value + alignment - 1) / alignment * alignment;
}

// The free-list link lives in the first pointer-sized bytes of a free block.
// Blocks are raw storage, so the link is copied rather than dereferenced.
inline void* ReadLink(const void* block)
{
    void* next;
    std::memcpy(&next, block, sizeof next);
    return next;
}

inline void WriteLink(void* block, void* next)
{
    std::memcpy(block, &next, sizeof next);
}

} // namespace

MemoryManager& MemoryManager::GetInstance()
{
    // Built in static storage and never destroyed: anything may release into
    // the pool up to the last instruction of the process.
    alignas(MemoryManager) static unsigned char storage[sizeof(MemoryManager)];
    static MemoryManager* instance = new (storage) MemoryManager();
    return *instance;
}

MemoryManager::SizeClass* MemoryManager::GetOrCreateClass(std::size_t size)
{
    SizeClass*& entry = classes_[size];
    if (entry == nullptr)
    {
        // The pool's own records come from the C heap: the global operators
        // take the allocator mutex, which the caller already holds.
        auto* created = static_cast<SizeClass*>(std::malloc(sizeof(SizeClass)));
        if (created == nullptr)
        {
            return nullptr;
        }
        const std::size_t blockSize = size < sizeof(void*) ? sizeof(void*) : size;
        created->chunks = nullptr;
        created->freeList = nullptr;
        created->blockSize = static_cast<std::uint32_t>(blockSize);
        created->blocksPerChunk = BlocksPerChunk;
        created->stride = static_cast<std::uint32_t>(RoundUp(blockSize, BlockAlignment));
        created->chunkCount = 0;
        entry = created;
    }
    return entry;
}

void MemoryManager::Refill(SizeClass& sizeClass)
{
    auto* chunk = static_cast<Chunk*>(std::malloc(sizeof(Chunk)));
    if (chunk == nullptr)
    {
        return;
    }
    // aligned_alloc needs a size that is a multiple of the alignment; the
    // stride already is one.
    const std::size_t bytes = static_cast<std::size_t>(sizeClass.stride) * sizeClass.blocksPerChunk;
    auto* storage = static_cast<unsigned char*>(std::aligned_alloc(BlockAlignment, bytes));
    if (storage == nullptr)
    {
        std::free(chunk);
        return;
    }
    chunk->storage = storage;
    chunk->next = sizeClass.chunks;
    sizeClass.chunks = chunk;
    ++sizeClass.chunkCount;

    // Thread the blocks in address order so the first chunk hands them out
    // from its lowest address upwards.
    for (std::uint32_t i = 0; i + 1 < sizeClass.blocksPerChunk; ++i)
    {
        WriteLink(storage + std::size_t{i} * sizeClass.stride, storage + std::size_t{i + 1} * sizeClass.stride);
    }
    WriteLink(storage + std::size_t{sizeClass.blocksPerChunk - 1} * sizeClass.stride, nullptr);
    sizeClass.freeList = storage;
}

void* MemoryManager::Allocate(std::size_t size)
{
    if (size >= SizeClassCount)
    {
        return std::malloc(size);
    }
    SizeClass* sizeClass = GetOrCreateClass(size);
    if (sizeClass == nullptr)
    {
        return nullptr;
    }
    if (sizeClass->freeList == nullptr)
    {
        Refill(*sizeClass);
        if (sizeClass->freeList == nullptr)
        {
            return nullptr;
        }
    }
    void* block = sizeClass->freeList;
    sizeClass->freeList = ReadLink(block);
    return block;
}

void MemoryManager::Deallocate(void* block, std::size_t size)
{
    if (block == nullptr)
    {
        return;
    }
    if (size >= SizeClassCount)
    {
        std::free(block);
        return;
    }
    SizeClass* sizeClass = classes_[size];
    assert(sizeClass != nullptr && "block released with a size it was not allocated with");
    if (sizeClass == nullptr)
    {
        return;
    }
    WriteLink(block, sizeClass->freeList);
    sizeClass->freeList = block;
}

std::uint32_t MemoryManager::GetChunkCount(std::size_t size) const
{
    if (size >= SizeClassCount || classes_[size] == nullptr)
    {
        return 0;
    }
    return classes_[size]->chunkCount;
}

std::size_t MemoryManager::GetBlockStride(std::size_t size) const
{
    if (size >= SizeClassCount || classes_[size] == nullptr)
    {
        return 0;
    }
    return classes_[size]->stride;
}

void SetAllocatorMutex(pthread_mutex_t* mutex)
{
    g_allocatorMutex.store(mutex, std::memory_order_release);
}

pthread_mutex_t* GetAllocatorMutex()
{
    return g_allocatorMutex.load(std::memory_order_acquire);
}

AllocatorLock::AllocatorLock() : mutex_(GetAllocatorMutex())
{
    if (mutex_ != nullptr)
    {
        pthread_mutex_lock(mutex_);
    }
}

AllocatorLock::~AllocatorLock()
{
    if (mutex_ != nullptr)
    {
        pthread_mutex_unlock(mutex_);
    }
}

void AllocationHook(void*, int, std::size_t, const char*, int) {}

void ReleaseHook(void*, int) {}

#if defined(ENGINE_SANITIZE)

void* PoolNewDebug(std::size_t size, const char* sourceFile, int sourceLine)
{
    AllocatorLock lock;
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr)
    {
        throw BadAllocation();
    }
    AllocationHook(block, 0, size, sourceFile, sourceLine);
    return block;
}

void PoolDelete(void* block, std::size_t)
{
    AllocatorLock lock;
    if (block != nullptr)
    {
        // The hook sees the block while it is still allocated.
        ReleaseHook(block, 0);
        std::free(block);
    }
}

void PoolDeleteDebug(void* block, const char*, int)
{
    // The pool keeps such a block; here it goes back so the sanitizer build
    // reports no leak for a throwing constructor.
    AllocatorLock lock;
    std::free(block);
}

#else

void* PoolNewDebug(std::size_t size, const char* sourceFile, int sourceLine)
{
    AllocatorLock lock;
    void* block = MemoryManager::GetInstance().Allocate(size);
    if (block == nullptr)
    {
        throw BadAllocation();
    }
    AllocationHook(block, 0, size, sourceFile, sourceLine);
    return block;
}

void PoolDelete(void* block, std::size_t size)
{
    AllocatorLock lock;
    if (block != nullptr)
    {
        ReleaseHook(block, 0);
        MemoryManager::GetInstance().Deallocate(block, size);
    }
}

void PoolDeleteDebug(void*, const char*, int)
{
    // The size of the block is not known here, so it cannot rejoin its free
    // list; only the lock is taken, as for every entry point.
    AllocatorLock lock;
}

#endif

void* PoolNew(std::size_t size)
{
    return PoolNewDebug(size, "unknown", -1);
}

} // namespace Core

// ---------------------------------------------------------------------------
// Global operators: the system heap, serialised by the allocator mutex, with
// the hooks. The sanitizer build keeps the sanitizer's own operators.

namespace
{

void* GlobalAllocate(std::size_t size, int isArray, const char* sourceFile, int sourceLine)
{
#if defined(ENGINE_SANITIZE)
    // The sanitizer's operators own the heap here, so that a block from a
    // debug new may be released by a plain delete.
    void* block = isArray ? ::operator new[](size) : ::operator new(size);
    Core::AllocationHook(block, isArray, size, sourceFile, sourceLine);
    return block;
#else
    Core::AllocatorLock lock;
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr)
    {
        throw Core::BadAllocation();
    }
    Core::AllocationHook(block, isArray, size, sourceFile, sourceLine);
    return block;
#endif
}

void GlobalRelease(void* block, int isArray) noexcept
{
#if defined(ENGINE_SANITIZE)
    if (block != nullptr)
    {
        Core::ReleaseHook(block, isArray);
        if (isArray)
        {
            ::operator delete[](block);
        }
        else
        {
            ::operator delete(block);
        }
    }
#else
    Core::AllocatorLock lock;
    if (block != nullptr)
    {
        Core::ReleaseHook(block, isArray);
        std::free(block);
    }
#endif
}

} // namespace

void* operator new(std::size_t size, const char* sourceFile, int sourceLine)
{
    return GlobalAllocate(size, 0, sourceFile, sourceLine);
}

void* operator new[](std::size_t size, const char* sourceFile, int sourceLine)
{
    return GlobalAllocate(size, 1, sourceFile, sourceLine);
}

void operator delete(void* block, const char*, int) noexcept
{
    GlobalRelease(block, 0);
}

void operator delete[](void* block, const char*, int) noexcept
{
    GlobalRelease(block, 1);
}

#if !defined(ENGINE_SANITIZE)

void* operator new(std::size_t size)
{
    return GlobalAllocate(size, 0, "unknown", -1);
}

void* operator new[](std::size_t size)
{
    return GlobalAllocate(size, 1, "unknown", -1);
}

void operator delete(void* block) noexcept
{
    GlobalRelease(block, 0);
}

void operator delete[](void* block) noexcept
{
    GlobalRelease(block, 1);
}

void operator delete(void* block, std::size_t) noexcept
{
    GlobalRelease(block, 0);
}

void operator delete[](void* block, std::size_t) noexcept
{
    GlobalRelease(block, 1);
}

#endif

#include "core/Core_MemoryManager.h"

#include "core/Core_Assert.h"

#include <atomic>
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
    ENGINE_ASSERT(size < SizeClassCount);
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
    std::uint32_t taken = 0;
    return AllocateBatch(size, 1, taken);
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
    DeallocateBatch(block, block, size);
}

void* MemoryManager::AllocateBatch(std::size_t size, std::uint32_t count, std::uint32_t& taken)
{
    ENGINE_ASSERT(size < SizeClassCount && count > 0);
    taken = 0;
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
    // Only what the list holds is taken: a refill happens when the list is
    // empty, never to complete a batch.
    void* first = sizeClass->freeList;
    void* last = first;
    taken = 1;
    for (void* next = ReadLink(last); next != nullptr && taken < count; next = ReadLink(last))
    {
        last = next;
        ++taken;
    }
    sizeClass->freeList = ReadLink(last);
    WriteLink(last, nullptr);
    return first;
}

void MemoryManager::DeallocateBatch(void* first, void* last, std::size_t size)
{
    ENGINE_ASSERT(size < SizeClassCount);
    SizeClass* sizeClass = classes_[size];
    ENGINE_ASSERT(sizeClass != nullptr && "block released with a size it was not allocated with");
    ENGINE_ASSERT(reinterpret_cast<std::uintptr_t>(first) % BlockAlignment == 0 && "not a pool block");
    if (sizeClass == nullptr)
    {
        return;
    }
    WriteLink(last, sizeClass->freeList);
    sizeClass->freeList = first;
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
    std::free(block);
}

#else

namespace
{

// Free blocks of one size class held by one thread, linked like the pool's
// free lists. Between `limit` and twice that, a release hands `limit` blocks
// back to the pool; an empty bin takes up to `limit` blocks from it.
struct CacheBin
{
    void* head;
    std::uint32_t count;
};

struct ThreadCache
{
    CacheBin bins[MemoryManager::SizeClassCount];
};

// Batches of about 16 KB, between 4 and 64 blocks: small blocks move in
// large batches, and a thread keeps at most 32 KB of one large size.
constexpr std::uint32_t BatchCount(std::size_t size)
{
    const std::size_t stride = RoundUp(size < sizeof(void*) ? sizeof(void*) : size, MemoryManager::BlockAlignment);
    const std::size_t count = 16384 / stride;
    return static_cast<std::uint32_t>(count < 4 ? 4 : count > 64 ? 64 : count);
}

// The calling thread's cache: null until its first pooled request; the
// retired marker once the thread has begun to exit, after which its requests
// go straight to the shared lists.
thread_local ThreadCache* t_cache = nullptr;

ThreadCache* Retired()
{
    static char marker;
    return reinterpret_cast<ThreadCache*>(&marker);
}

pthread_key_t g_cacheKey;
pthread_once_t g_cacheKeyOnce = PTHREAD_ONCE_INIT;
// Without the key no cache could be handed back at thread exit, so none is
// made and every request takes the locked path.
bool g_cacheKeyReady = false;

// Walks `steps` links from `block`.
void* Advance(void* block, std::uint32_t steps)
{
    for (; steps > 0; --steps)
    {
        block = ReadLink(block);
    }
    return block;
}

// Thread exit: every cached block goes back to the shared lists, so blocks
// released on a thread that ends are not lost to the others.
void RetireCache(void* value)
{
    auto* cache = static_cast<ThreadCache*>(value);
    t_cache = Retired();
    {
        AllocatorLock lock;
        MemoryManager& pool = MemoryManager::GetInstance();
        for (std::size_t size = 0; size < MemoryManager::SizeClassCount; ++size)
        {
            const CacheBin& bin = cache->bins[size];
            if (bin.head != nullptr)
            {
                pool.DeallocateBatch(bin.head, Advance(bin.head, bin.count - 1), size);
            }
        }
    }
    std::free(cache);
}

void CreateCacheKey()
{
    g_cacheKeyReady = pthread_key_create(&g_cacheKey, &RetireCache) == 0;
}

// A thread's first pooled request makes its cache.
[[gnu::noinline]] ThreadCache* CreateCache()
{
    pthread_once(&g_cacheKeyOnce, &CreateCacheKey);
    if (!g_cacheKeyReady)
    {
        return nullptr;
    }
    auto* cache = static_cast<ThreadCache*>(std::calloc(1, sizeof(ThreadCache)));
    if (cache == nullptr)
    {
        return nullptr;
    }
    if (pthread_setspecific(g_cacheKey, cache) != 0)
    {
        std::free(cache);
        return nullptr;
    }
    t_cache = cache;
    return cache;
}

inline ThreadCache* GetCache()
{
    ThreadCache* cache = t_cache;
    if (cache == nullptr) [[unlikely]]
    {
        return CreateCache();
    }
    return cache == Retired() ? nullptr : cache;
}

void* LockedAllocate(std::size_t size)
{
    AllocatorLock lock;
    return MemoryManager::GetInstance().Allocate(size);
}

void* CachedAllocate(std::size_t size)
{
    ThreadCache* cache = GetCache();
    if (cache == nullptr)
    {
        return LockedAllocate(size);
    }
    CacheBin& bin = cache->bins[size];
    if (bin.head == nullptr)
    {
        AllocatorLock lock;
        bin.head = MemoryManager::GetInstance().AllocateBatch(size, BatchCount(size), bin.count);
        if (bin.head == nullptr)
        {
            return nullptr;
        }
    }
    void* block = bin.head;
    bin.head = ReadLink(block);
    --bin.count;
    return block;
}

void CachedDeallocate(void* block, std::size_t size)
{
    ThreadCache* cache = GetCache();
    if (cache == nullptr)
    {
        AllocatorLock lock;
        MemoryManager::GetInstance().Deallocate(block, size);
        return;
    }
    CacheBin& bin = cache->bins[size];
    WriteLink(block, bin.head);
    bin.head = block;
    const std::uint32_t batch = BatchCount(size);
    if (++bin.count < 2 * batch)
    {
        return;
    }
    // The block just released stays on top, so it is still the next one
    // handed out; the batch behind it goes back.
    void* first = ReadLink(block);
    void* last = Advance(first, batch - 1);
    WriteLink(block, ReadLink(last));
    bin.count -= batch;
    AllocatorLock lock;
    MemoryManager::GetInstance().DeallocateBatch(first, last, size);
}

} // namespace

void* PoolNewDebug(std::size_t size, const char* sourceFile, int sourceLine)
{
    void* block = size < MemoryManager::SizeClassCount ? CachedAllocate(size) : std::malloc(size);
    if (block == nullptr)
    {
        throw BadAllocation();
    }
    AllocationHook(block, 0, size, sourceFile, sourceLine);
    return block;
}

void PoolDelete(void* block, std::size_t size)
{
    if (block == nullptr)
    {
        return;
    }
    ReleaseHook(block, 0);
    if (size < MemoryManager::SizeClassCount)
    {
        CachedDeallocate(block, size);
    }
    else
    {
        std::free(block);
    }
}

void PoolDeleteDebug(void*, const char*, int)
{
    // The size of the block is not known here, so it cannot rejoin its free
    // list; it stays allocated.
}

#endif

void* PoolNew(std::size_t size)
{
    return PoolNewDebug(size, "unknown", -1);
}

} // namespace Core

// ---------------------------------------------------------------------------
// Global operators: the system heap, which is thread-safe on its own, with
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

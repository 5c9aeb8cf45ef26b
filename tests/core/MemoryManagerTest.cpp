#include "core/Core_MemoryManager.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <vector>

namespace
{

using Core::MemoryManager;

// Sizes no other test or library in this process uses, so each test sees its
// size classes fresh. The pool is process-wide and never shrinks.
TEST(MemoryManager, TinyRequestsHaveDistinctClassesThatHoldAPointer)
{
    MemoryManager& pool = MemoryManager::GetInstance();
    std::set<void*> blocks;
    for (std::size_t size = 0; size < 4; ++size)
    {
        void* block = pool.Allocate(size);
        ASSERT_NE(block, nullptr);
        blocks.insert(block);
        EXPECT_EQ(pool.GetChunkCount(size), 1u) << "size " << size;
        EXPECT_GE(pool.GetBlockStride(size), sizeof(void*));
    }
    EXPECT_EQ(blocks.size(), 4u);
    // Each size keeps its own free list: a block released as size 1 is not
    // handed out for size 2.
    void* one = pool.Allocate(1);
    pool.Deallocate(one, 1);
    void* two = pool.Allocate(2);
    EXPECT_NE(two, one);
    EXPECT_EQ(pool.Allocate(1), one);
}

TEST(MemoryManager, LargestPooledSizeAndHeapThreshold)
{
    MemoryManager& pool = MemoryManager::GetInstance();
    void* pooled = pool.Allocate(4095);
    EXPECT_EQ(pool.GetChunkCount(4095), 1u);
    void* heap = pool.Allocate(4096);
    ASSERT_NE(heap, nullptr);
    EXPECT_EQ(pool.GetChunkCount(4096), 0u);
    pool.Deallocate(heap, 4096);
    pool.Deallocate(pooled, 4095);
}

TEST(MemoryManager, ChunksOf256BlocksInAscendingOrder)
{
    MemoryManager& pool = MemoryManager::GetInstance();
    constexpr std::size_t size = 3001;
    std::vector<std::uintptr_t> blocks;
    for (int i = 0; i < 256; ++i)
    {
        blocks.push_back(reinterpret_cast<std::uintptr_t>(pool.Allocate(size)));
    }
    EXPECT_EQ(pool.GetChunkCount(size), 1u);
    for (std::size_t i = 1; i < blocks.size(); ++i)
    {
        EXPECT_EQ(blocks[i], blocks[i - 1] + pool.GetBlockStride(size));
    }
    void* block257 = pool.Allocate(size);
    EXPECT_EQ(pool.GetChunkCount(size), 2u);
    pool.Deallocate(block257, size);
    for (const std::uintptr_t block : blocks)
    {
        pool.Deallocate(reinterpret_cast<void*>(block), size);
    }
}

TEST(MemoryManager, ReleasedBlockIsReusedFirst)
{
    MemoryManager& pool = MemoryManager::GetInstance();
    constexpr std::size_t size = 3002;
    void* a = pool.Allocate(size);
    void* b = pool.Allocate(size);
    pool.Deallocate(a, size);
    pool.Deallocate(b, size);
    EXPECT_EQ(pool.Allocate(size), b);
    EXPECT_EQ(pool.Allocate(size), a);
}

TEST(MemoryManager, EveryBlockIsAlignedForItsSize)
{
    MemoryManager& pool = MemoryManager::GetInstance();
    for (const std::size_t size : {3003u, 3005u, 3008u, 3016u, 3024u})
    {
        for (int i = 0; i < 3; ++i)
        {
            const auto address = reinterpret_cast<std::uintptr_t>(pool.Allocate(size));
            EXPECT_EQ(address % MemoryManager::BlockAlignment, 0u) << "size " << size;
        }
    }
}

TEST(MemoryManager, PoolEntryPoints)
{
    void* block = Core::PoolNewDebug(40, "MemoryManagerTest", __LINE__);
    ASSERT_NE(block, nullptr);
    Core::PoolDelete(block, 40);
    Core::PoolDelete(nullptr, 40);
    void* plain = Core::PoolNew(5000);
    ASSERT_NE(plain, nullptr);
    Core::PoolDelete(plain, 5000);
}

TEST(MemoryManager, AllocationFailureThrowsBadAllocation)
{
#if defined(ENGINE_SANITIZE)
    GTEST_SKIP() << "the sanitizer's allocator ends the process on such a request";
#endif
    try
    {
        // More than any heap will give.
        Core::PoolNew(static_cast<std::size_t>(1) << 62);
        FAIL() << "no exception";
    }
    catch (const std::bad_alloc& error)
    {
        EXPECT_STREQ(error.what(), "bad allocation");
    }
}

} // namespace

#include "core/Core_MemoryManager.h"
#include "core/Core_Startup.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <set>
#include <thread>
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

#if !defined(ENGINE_SANITIZE)

TEST(MemoryManager, EntryPointsReuseTheLastReleasedBlockOnTheSameThread)
{
    constexpr std::size_t size = 3010;
    void* a = Core::PoolNew(size);
    void* b = Core::PoolNew(size);
    Core::PoolDelete(a, size);
    Core::PoolDelete(b, size);
    EXPECT_EQ(Core::PoolNew(size), b);
    EXPECT_EQ(Core::PoolNew(size), a);
}

TEST(MemoryManager, BlocksCachedByAnEndedThreadGoBackToThePool)
{
    const Core::Startup guard;
    constexpr std::size_t size = 3011;
    void* released = nullptr;
    std::thread([&] {
        released = Core::PoolNew(size);
        Core::PoolDelete(released, size);
    }).join();
    // The thread's cache returned its block on exit; this thread's empty
    // cache takes its batch from the head of the shared list.
    EXPECT_EQ(Core::PoolNew(size), released);
}

#endif

// Threads allocate, hand blocks to the next thread through a mailbox and
// release what they receive, so most blocks die on another thread than the
// one that made them. A block handed out twice while live shows up as a
// stamp overwritten by its second owner.
TEST(MemoryManager, BlocksMoveBetweenThreads)
{
    const Core::Startup guard;
    constexpr int ThreadCount = 4;
    constexpr int Rounds = 3000;
    constexpr std::size_t Sizes[] = {16, 48, 200, 3012};
    struct Mailbox
    {
        std::mutex mutex;
        std::vector<std::pair<void*, std::size_t>> blocks;
    };
    Mailbox mailboxes[ThreadCount];
    std::atomic<int> corrupted{0};

    auto worker = [&](int self) {
        Mailbox& outbox = mailboxes[(self + 1) % ThreadCount];
        Mailbox& inbox = mailboxes[self];
        std::vector<std::pair<void*, std::size_t>> mine;
        for (int round = 0; round < Rounds; ++round)
        {
            const std::size_t size = Sizes[round % 4];
            auto* block = static_cast<unsigned char*>(Core::PoolNew(size));
            std::memset(block, self + 1, size);
            mine.emplace_back(block, size);
            if (mine.size() == 8)
            {
                const std::lock_guard lock(outbox.mutex);
                outbox.blocks.insert(outbox.blocks.end(), mine.begin(), mine.end());
                mine.clear();
            }
            std::vector<std::pair<void*, std::size_t>> received;
            {
                const std::lock_guard lock(inbox.mutex);
                received.swap(inbox.blocks);
            }
            const int sender = (self + ThreadCount - 1) % ThreadCount + 1;
            for (const auto& [address, blockSize] : received)
            {
                const auto* bytes = static_cast<const unsigned char*>(address);
                if (bytes[0] != sender || bytes[blockSize - 1] != sender)
                {
                    ++corrupted;
                }
                Core::PoolDelete(address, blockSize);
            }
        }
        const std::lock_guard lock(outbox.mutex);
        outbox.blocks.insert(outbox.blocks.end(), mine.begin(), mine.end());
    };
    std::vector<std::thread> threads;
    for (int i = 0; i < ThreadCount; ++i)
    {
        threads.emplace_back(worker, i);
    }
    for (std::thread& thread : threads)
    {
        thread.join();
    }
    for (Mailbox& mailbox : mailboxes)
    {
        for (const auto& [address, size] : mailbox.blocks)
        {
            Core::PoolDelete(address, size);
        }
    }
    EXPECT_EQ(corrupted.load(), 0);
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

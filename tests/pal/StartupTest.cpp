#include "pal/PAL_ThreadManager.h"

#include "core/Core_Clock.h"
#include "core/Core_MemoryManager.h"
#include "core/Core_Startup.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace
{

using PAL::Thread;
using PAL::ThreadManager;

TEST(PlatformStartup, AllocatorMutexComesFromTheFirstManager)
{
    ThreadManager& first = ThreadManager::GetFirst();
    const std::size_t before = first.GetMutexCount();
    {
        Core::Startup guard;
        ASSERT_NE(Core::GetAllocatorMutex(), nullptr);
        EXPECT_EQ(first.GetMutexCount(), before + 1);
        {
            Core::Startup nested;
            EXPECT_EQ(first.GetMutexCount(), before + 1);
        }
        EXPECT_NE(Core::GetAllocatorMutex(), nullptr);
    }
    EXPECT_EQ(Core::GetAllocatorMutex(), nullptr);
    EXPECT_EQ(first.GetMutexCount(), before);
}

struct Worker
{
    std::atomic<bool> started{false};
    std::atomic<bool> ended{false};
    std::atomic<bool> ignoreStop{false};
    std::atomic<bool> release{false};
};

// Allocates until stopped; with ignoreStop it keeps going until released.
void AllocateUntilStopped(Thread* thread)
{
    auto* worker = static_cast<Worker*>(thread->GetArgument());
    worker->started = true;
    while (Thread::IsRunning(thread) || (worker->ignoreStop && !worker->release))
    {
        delete new int(1);
        Thread::Sleep(1);
    }
    worker->ended = true;
}

TEST(PlatformStartup, StopGuardEndsThreadsBeforeDroppingTheMutex)
{
    ThreadManager manager;
    Worker worker;
    auto* guard = new Core::Startup();
    ASSERT_NE(manager.CreateThread(nullptr, &AllocateUntilStopped, &worker, 0, true), nullptr);
    while (!worker.started)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    delete guard;
    EXPECT_TRUE(worker.ended.load());
    EXPECT_EQ(manager.GetThreadCount(), 0u);
    EXPECT_EQ(Core::GetAllocatorMutex(), nullptr);
}

TEST(PlatformStartup, StragglerKeepsTheAllocatorMutexUntilTheNextStop)
{
    ThreadManager manager;
    Worker worker;
    worker.ignoreStop = true;
    auto* guard = new Core::Startup();
    pthread_mutex_t* mutex = Core::GetAllocatorMutex();
    ASSERT_NE(manager.CreateThread(nullptr, &AllocateUntilStopped, &worker, 0, true), nullptr);
    while (!worker.started)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    delete guard;
    // The thread still allocates, so the memory manager keeps locking.
    EXPECT_EQ(Core::GetAllocatorMutex(), mutex);
    EXPECT_EQ(Core::GetStartupCount(), 0);

    worker.release = true;
    {
        // A later guard reuses the mutex and drops it once nothing runs.
        Core::Startup again;
        EXPECT_EQ(Core::GetAllocatorMutex(), mutex);
    }
    EXPECT_TRUE(worker.ended.load());
    EXPECT_EQ(Core::GetAllocatorMutex(), nullptr);
}

} // namespace

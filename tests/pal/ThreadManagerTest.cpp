#include "pal/PAL_ThreadManager.h"

#include "core/Core_Clock.h"
#include "core/Core_Startup.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace
{

using PAL::Thread;
using PAL::ThreadManager;

// Threads allocate, so every test holds a start guard: the allocator mutex
// then serialises them with the main thread.
class ThreadManagerTest : public ::testing::Test
{
protected:
    Core::Startup guard_;
};

template <typename Predicate> bool WaitFor(Predicate predicate, int limitMs = 5000)
{
    const double start = Core::GetMilliseconds();
    while (!predicate())
    {
        if (Core::GetMilliseconds() - start > limitMs)
        {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

struct SleepProbe
{
    std::atomic<bool> sleeping{false};
    std::atomic<bool> result{true};
    std::atomic<double> returnedAt{0.0};
};

void SleepHundred(Thread* thread)
{
    auto* probe = static_cast<SleepProbe*>(thread->GetArgument());
    probe->sleeping = true;
    probe->result = Thread::Sleep(100, thread);
    probe->returnedAt = Core::GetMilliseconds();
}

TEST_F(ThreadManagerTest, StopRaisedDuringSleepEndsItWithinAFewMilliseconds)
{
    ThreadManager manager;
    SleepProbe probe;
    Thread* thread =
        manager.CreateThread(nullptr, &SleepHundred, &probe,
                             ThreadManager::GetPriority(ThreadManager::PriorityLevel::Normal), false);
    ASSERT_NE(thread, nullptr);
    ASSERT_TRUE(WaitFor([&] { return probe.sleeping.load(); }));
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const double raisedAt = Core::GetMilliseconds();
    manager.StopThread(thread, false);
    ASSERT_TRUE(WaitFor([&] { return manager.GetThreadCount() == 0; }));

    EXPECT_FALSE(probe.result.load());
    EXPECT_EQ(thread->GetResult(), -1);
    // Well short of the 90 ms that were left to sleep.
    EXPECT_LT(probe.returnedAt.load() - raisedAt, 30.0);
}

struct Counter
{
    std::atomic<int> initCalls{0};
    std::atomic<int> passes{0};
    std::atomic<bool> sawArgument{false};
};

void CountInit(Thread* thread)
{
    static_cast<Counter*>(thread->GetArgument())->initCalls++;
}

void CountUntilStopped(Thread* thread)
{
    auto* counter = static_cast<Counter*>(thread->GetArgument());
    counter->sawArgument = true;
    while (Thread::IsRunning(thread))
    {
        counter->passes++;
        // Allocation from a managed thread goes through the allocator mutex.
        delete new int(counter->passes.load());
        Thread::Sleep(1, thread);
    }
}

TEST_F(ThreadManagerTest, ThreadRunsInitThenMainUntilStopped)
{
    ThreadManager manager;
    Counter counter;
    Thread* thread = manager.CreateThread(&CountInit, &CountUntilStopped, &counter, 0, true);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(thread->GetOwner(), &manager);
    ASSERT_TRUE(WaitFor([&] { return counter.passes.load() > 3; }));
    EXPECT_EQ(manager.GetThreadCount(), 1u);
    EXPECT_EQ(counter.initCalls.load(), 1);

    manager.StopThread(thread, true);
    ASSERT_TRUE(WaitFor([&] { return manager.GetThreadCount() == 0; }));
    EXPECT_TRUE(thread->IsStopRequested());
    EXPECT_EQ(thread->GetResult(), -1);

    // The record outlives its thread: stopping it again is harmless.
    manager.StopThread(thread, true);
    manager.StopThread(nullptr, true);
    EXPECT_FALSE(Thread::IsRunning(nullptr));
}

TEST_F(ThreadManagerTest, ZeroSleepAndSleepWithoutRecordIgnoreStopFlags)
{
    ThreadManager manager;
    Counter counter;
    Thread* thread = manager.CreateThread(nullptr, &CountUntilStopped, &counter, 0, true);
    ASSERT_NE(thread, nullptr);
    manager.StopThread(thread, false);
    ASSERT_TRUE(WaitFor([&] { return manager.GetThreadCount() == 0; }));

    EXPECT_TRUE(Thread::Sleep(0, thread));
    EXPECT_TRUE(Thread::Sleep(0));
    const double start = Core::GetMilliseconds();
    EXPECT_TRUE(Thread::Sleep(15));
    EXPECT_GE(Core::GetMilliseconds() - start, 14.5);
    EXPECT_FALSE(Thread::Sleep(15, thread));
}

struct Stubborn
{
    std::atomic<bool> release{false};
    std::atomic<bool> started{false};
};

// Ignores its stop flag until released, then behaves.
void IgnoreStopUntilReleased(Thread* thread)
{
    auto* stubborn = static_cast<Stubborn*>(thread->GetArgument());
    stubborn->started = true;
    while (!stubborn->release.load())
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    while (Thread::IsRunning(thread))
    {
        Thread::Sleep(1, thread);
    }
}

TEST_F(ThreadManagerTest, StragglerIsHandedToTheSecondManagerAfterAboutHalfASecond)
{
    ThreadManager& second = ThreadManager::GetSecond();
    const std::size_t secondBefore = second.GetThreadCount();
    Stubborn stubborn;
    auto* manager = new ThreadManager();
    Thread* thread = manager->CreateThread(nullptr, &IgnoreStopUntilReleased, &stubborn, 0, true);
    ASSERT_NE(thread, nullptr);
    ASSERT_TRUE(WaitFor([&] { return stubborn.started.load(); }));

    const double start = Core::GetMilliseconds();
    delete manager;
    const double waited = Core::GetMilliseconds() - start;
    EXPECT_GE(waited, 450.0);
    EXPECT_LT(waited, 2000.0);

    EXPECT_EQ(thread->GetOwner(), &second);
    EXPECT_TRUE(thread->IsStopRequested());
    EXPECT_EQ(second.GetThreadCount(), secondBefore + 1);

    // Once it looks at its flag, the second manager's stop ends it and the
    // record leaves the second manager's list.
    stubborn.release = true;
    ASSERT_TRUE(WaitFor([&] { return second.GetThreadCount() == secondBefore; }));
    EXPECT_EQ(thread->GetResult(), -1);
}

TEST_F(ThreadManagerTest, NullHandlesAreRefused)
{
    ThreadManager manager;
    EXPECT_FALSE(manager.LockMutex(nullptr));
    EXPECT_FALSE(manager.UnlockMutex(nullptr));
    EXPECT_FALSE(manager.DestroyMutex(nullptr));
    EXPECT_FALSE(manager.ReadLock(nullptr));
    EXPECT_FALSE(manager.WriteLock(nullptr));
    EXPECT_FALSE(manager.TryWriteLock(nullptr));
    EXPECT_FALSE(manager.UnlockRWLock(nullptr));
    EXPECT_FALSE(manager.DestroyRWLock(nullptr));
    EXPECT_FALSE(manager.SignalCondition(nullptr, false));
    EXPECT_FALSE(manager.SignalCondition(nullptr, true));
    EXPECT_FALSE(manager.DestroyCondition(nullptr));
    pthread_mutex_t* mutex = manager.CreateMutex(ThreadManager::NormalMutex);
    pthread_cond_t* condition = manager.CreateCondition();
    EXPECT_FALSE(manager.WaitCondition(nullptr, mutex));
    EXPECT_FALSE(manager.WaitCondition(condition, nullptr));
    EXPECT_EQ(manager.CreateMutex(7), nullptr);
}

TEST_F(ThreadManagerTest, LocksAreListedUntilDestroyed)
{
    ThreadManager manager;
    ThreadManager other;
    pthread_mutex_t* normal = manager.CreateMutex(ThreadManager::NormalMutex);
    pthread_mutex_t* recursive = manager.CreateMutex(ThreadManager::RecursiveMutex);
    pthread_mutex_t* checked = manager.CreateMutex(ThreadManager::ErrorCheckMutex);
    pthread_rwlock_t* rwlock = manager.CreateRWLock();
    pthread_cond_t* condition = manager.CreateCondition();
    ASSERT_TRUE(normal && recursive && checked && rwlock && condition);
    EXPECT_EQ(manager.GetMutexCount(), 3u);
    EXPECT_EQ(manager.GetRWLockCount(), 1u);
    EXPECT_EQ(manager.GetConditionCount(), 1u);

    EXPECT_TRUE(manager.LockMutex(recursive));
    EXPECT_TRUE(manager.LockMutex(recursive));
    EXPECT_TRUE(manager.UnlockMutex(recursive));
    EXPECT_TRUE(manager.UnlockMutex(recursive));
    EXPECT_TRUE(manager.LockMutex(checked));
    EXPECT_FALSE(manager.LockMutex(checked)); // relocking reports the deadlock
    EXPECT_TRUE(manager.UnlockMutex(checked));
    EXPECT_TRUE(manager.ReadLock(rwlock));
    EXPECT_TRUE(manager.ReadLock(rwlock));
    EXPECT_FALSE(manager.TryWriteLock(rwlock));
    EXPECT_TRUE(manager.UnlockRWLock(rwlock));
    EXPECT_TRUE(manager.UnlockRWLock(rwlock));
    EXPECT_TRUE(manager.TryWriteLock(rwlock));
    EXPECT_TRUE(manager.UnlockRWLock(rwlock));
    EXPECT_TRUE(manager.SignalCondition(condition, false));

    // A lock belongs to the manager that made it.
    EXPECT_FALSE(other.DestroyMutex(normal));
    EXPECT_TRUE(manager.DestroyMutex(normal));
    EXPECT_TRUE(manager.DestroyRWLock(rwlock));
    EXPECT_TRUE(manager.DestroyCondition(condition));
    EXPECT_EQ(manager.GetMutexCount(), 2u);
    EXPECT_EQ(manager.GetRWLockCount(), 0u);
    EXPECT_EQ(manager.GetConditionCount(), 0u);
    // The rest goes with the manager.
}

struct Holder
{
    ThreadManager* manager = nullptr;
    pthread_mutex_t* mutex = nullptr;
    pthread_rwlock_t* rwlock = nullptr;
    std::atomic<bool> holding{false};
    std::atomic<bool> release{false};
};

void HoldLocks(Thread* thread)
{
    auto* holder = static_cast<Holder*>(thread->GetArgument());
    holder->manager->LockMutex(holder->mutex);
    EXPECT_TRUE(holder->manager->ReadLock(holder->rwlock));
    holder->holding = true;
    while (!holder->release.load())
    {
        Thread::Sleep(1);
    }
    holder->manager->UnlockRWLock(holder->rwlock);
    holder->manager->UnlockMutex(holder->mutex);
    holder->holding = false;
}

TEST_F(ThreadManagerTest, HeldLocksAreNeitherUnlockedNorDestroyed)
{
    ThreadManager manager;
    Holder holder;
    holder.manager = &manager;
    holder.mutex = manager.CreateMutex(ThreadManager::NormalMutex);
    holder.rwlock = manager.CreateRWLock();
    ASSERT_NE(manager.CreateThread(nullptr, &HoldLocks, &holder, 0, true), nullptr);
    ASSERT_TRUE(WaitFor([&] { return holder.holding.load(); }));

    testing::internal::CaptureStderr();
    EXPECT_FALSE(manager.DestroyMutex(holder.mutex));
    EXPECT_FALSE(manager.DestroyRWLock(holder.rwlock));
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_NE(report.find("DestroyMutex"), std::string::npos);
    EXPECT_NE(report.find("DestroyRWLock"), std::string::npos);
    EXPECT_EQ(manager.GetMutexCount(), 1u);
    EXPECT_EQ(manager.GetRWLockCount(), 1u);

    // The owner still holds and releases them normally.
    holder.release = true;
    ASSERT_TRUE(WaitFor([&] { return manager.GetThreadCount() == 0; }));
    EXPECT_FALSE(holder.holding.load());
    EXPECT_TRUE(manager.DestroyMutex(holder.mutex));
    EXPECT_TRUE(manager.DestroyRWLock(holder.rwlock));
}

struct Handshake
{
    ThreadManager* manager = nullptr;
    pthread_mutex_t* mutex = nullptr;
    pthread_cond_t* condition = nullptr;
    bool ready = false; // guarded by mutex
    bool done = false;  // guarded by mutex
};

void WaitForReady(Thread* thread)
{
    auto* shake = static_cast<Handshake*>(thread->GetArgument());
    shake->manager->LockMutex(shake->mutex);
    while (!shake->ready)
    {
        shake->manager->WaitCondition(shake->condition, shake->mutex);
    }
    shake->done = true;
    shake->manager->SignalCondition(shake->condition, true);
    shake->manager->UnlockMutex(shake->mutex);
}

TEST_F(ThreadManagerTest, ConditionWakesAWaiter)
{
    ThreadManager manager;
    Handshake shake;
    shake.manager = &manager;
    shake.mutex = manager.CreateMutex(ThreadManager::NormalMutex);
    shake.condition = manager.CreateCondition();
    ASSERT_NE(manager.CreateThread(nullptr, &WaitForReady, &shake, 0, true), nullptr);

    ASSERT_TRUE(manager.LockMutex(shake.mutex));
    shake.ready = true;
    EXPECT_TRUE(manager.SignalCondition(shake.condition, false));
    while (!shake.done)
    {
        ASSERT_TRUE(manager.WaitCondition(shake.condition, shake.mutex));
    }
    ASSERT_TRUE(manager.UnlockMutex(shake.mutex));
}

TEST(ThreadPriorities, LevelsAreOrderedAndZeroUnderSchedOther)
{
    using Level = ThreadManager::PriorityLevel;
    const std::int32_t levels[] = {
        ThreadManager::GetPriority(Level::Lowest), ThreadManager::GetPriority(Level::Low),
        ThreadManager::GetPriority(Level::Normal), ThreadManager::GetPriority(Level::High),
        ThreadManager::GetPriority(Level::Highest)};
    for (std::int32_t level : levels)
    {
        EXPECT_EQ(level, 0);
    }
}

} // namespace

#include "core/Core_Clock.h"
#include "core/Core_MemoryManager.h"
#include "core/Core_Startup.h"
#include "core/Core_Stopwatch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace
{

void SleepMs(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

TEST(Clock, ReadsMonotonicMillisecondsBeforeAndDuringAGuard)
{
    // Readable before any guard: the monotonic clock is read directly.
    const double before = Core::GetMilliseconds();
    SleepMs(5);
    const double after = Core::GetMilliseconds();
    EXPECT_GE(after - before, 4.5);

    Core::Startup guard;
    EXPECT_EQ(guard.GetClockChoice(), 1);
    EXPECT_EQ(Core::GetClockFunction(), &Core::QueryPerformanceMilliseconds);
    EXPECT_GE(Core::GetMilliseconds(), after);

    // The coarse clock is whole milliseconds of the same clock, cut to 32 bits.
    const double fine = Core::QueryPerformanceMilliseconds();
    const double coarse = Core::MultimediaMilliseconds();
    EXPECT_EQ(coarse, static_cast<double>(static_cast<std::uint64_t>(coarse)));
    EXPECT_LT(coarse, 4294967296.0);
    const double fineWrapped = static_cast<double>(static_cast<std::uint64_t>(fine) % 4294967296ull);
    EXPECT_NEAR(coarse, fineWrapped, 2.0);
}

TEST(Startup, OnlyTheOutermostGuardSetsUpAndTearsDown)
{
    ASSERT_EQ(Core::GetStartupCount(), 0);
    ASSERT_EQ(Core::GetAllocatorMutex(), nullptr);
    {
        Core::Startup outer;
        pthread_mutex_t* mutex = Core::GetAllocatorMutex();
        ASSERT_NE(mutex, nullptr);
        const std::vector<char>* whitespace = Core::GetWhitespaceSet();
        ASSERT_NE(whitespace, nullptr);
        EXPECT_EQ(*whitespace, (std::vector<char>{'\t', ' '}));
        {
            Core::Startup inner;
            EXPECT_EQ(Core::GetStartupCount(), 2);
            EXPECT_EQ(Core::GetAllocatorMutex(), mutex);
            EXPECT_EQ(Core::GetWhitespaceSet(), whitespace);
        }
        EXPECT_EQ(Core::GetStartupCount(), 1);
        EXPECT_EQ(Core::GetAllocatorMutex(), mutex);
        EXPECT_EQ(Core::GetWhitespaceSet(), whitespace);
        // The allocator locks with it: an allocation still works.
        delete new int(7);
    }
    EXPECT_EQ(Core::GetStartupCount(), 0);
    EXPECT_EQ(Core::GetAllocatorMutex(), nullptr);
    EXPECT_EQ(Core::GetWhitespaceSet(), nullptr);
}

TEST(Stopwatch, FreshAndResetRead0)
{
    Core::Stopwatch watch;
    EXPECT_EQ(watch.GetElapsed(), 0.0);
    watch.Start();
    SleepMs(5);
    EXPECT_GE(watch.GetElapsed(), 4.5);
    watch.Reset();
    EXPECT_FALSE(watch.IsRunning());
    EXPECT_EQ(watch.GetElapsed(), 0.0);
}

TEST(Stopwatch, StartWhileRunningKeepsTheStart)
{
    Core::Stopwatch watch;
    watch.Start();
    SleepMs(20);
    watch.Start();
    EXPECT_GE(watch.GetElapsed(), 19.5);
}

TEST(Stopwatch, PauseFreezesAndStartResumesWithoutThePause)
{
    Core::Stopwatch watch;
    watch.Start();
    SleepMs(20);
    watch.Pause();
    EXPECT_TRUE(watch.IsPaused());
    const double frozen = watch.GetElapsed();
    EXPECT_GE(frozen, 19.5);
    SleepMs(60);
    EXPECT_EQ(watch.GetElapsed(), frozen);

    watch.Start();
    EXPECT_FALSE(watch.IsPaused());
    const double resumed = watch.GetElapsed();
    EXPECT_GE(resumed, frozen);
    // The 60 ms spent paused are not counted.
    EXPECT_LT(resumed, frozen + 40.0);
    SleepMs(10);
    EXPECT_GE(watch.GetElapsed(), frozen + 9.5);
}

} // namespace

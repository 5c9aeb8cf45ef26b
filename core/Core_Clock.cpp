#include "core/Core_Clock.h"

#include <atomic>
#include <cstdint>
#include <ctime>

namespace Core
{

namespace
{

// Read from every thread; written only by the start guard while no other
// thread runs, but atomic so that the read is well defined regardless.
std::atomic<ClockFunction> g_clock{nullptr};

} // namespace

double QueryPerformanceMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1.0e6;
}

double MultimediaMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const std::uint64_t ms =
        static_cast<std::uint64_t>(now.tv_sec) * 1000u + static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<double>(static_cast<std::uint32_t>(ms));
}

double GetMilliseconds()
{
    const ClockFunction clock = g_clock.load(std::memory_order_acquire);
    return clock != nullptr ? clock() : QueryPerformanceMilliseconds();
}

void SetClockFunction(ClockFunction function)
{
    g_clock.store(function, std::memory_order_release);
}

ClockFunction GetClockFunction()
{
    return g_clock.load(std::memory_order_acquire);
}

} // namespace Core

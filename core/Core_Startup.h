#pragma once

#include <pthread.h>

#include <cstdint>
#include <vector>

namespace Core
{

// What the start guard needs from the platform layer, which sits above core:
// the allocator mutex is made by the process-wide thread manager, and every
// managed thread must have ended before that mutex is dropped. The platform
// layer installs these at static initialisation; without it the guard falls
// back to a plain pthread mutex and has no threads to stop.
struct StartupHooks
{
    // A normal (non-recursive) mutex, or null on failure.
    pthread_mutex_t* (*createMutex)() = nullptr;
    void (*destroyMutex)(pthread_mutex_t* mutex) = nullptr;
    // Asks every managed thread to stop and waits a bounded time; true when
    // none is left running.
    bool (*stopThreads)() = nullptr;
};

void SetStartupHooks(const StartupHooks& hooks);

// The counted start guard. The first guard creates the allocator mutex, the
// whitespace set and chooses the clock; nested guards change nothing; the
// last one to go stops the managed threads, then drops the mutex and the
// whitespace set. Constructed and destroyed on the main thread while no
// other thread runs.
class Startup
{
public:
    Startup();
    ~Startup();

    Startup(const Startup&) = delete;
    Startup& operator=(const Startup&) = delete;

    // 1 when the guard chose the high-resolution clock, 0 for the fallback;
    // meaningful on the first guard only.
    std::uint8_t GetClockChoice() const { return clockChoice_; }

private:
    std::uint8_t clockChoice_ = 0;
};

// Number of live start guards.
std::int32_t GetStartupCount();

// Tab then space while a guard lives, null otherwise. Nothing in the engine
// reads it; it exists for code that wants the engine's whitespace set.
const std::vector<char>* GetWhitespaceSet();

} // namespace Core

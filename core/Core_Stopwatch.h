#pragma once

namespace Core
{

// Measures an interval in milliseconds on the engine clock. A stopwatch that
// is not running reads stop - start, so a fresh or reset one reads 0.
class Stopwatch
{
public:
    Stopwatch() = default;

    // Starts a stopped stopwatch at now; resumes a paused one where it left
    // off; does nothing while running.
    void Start();
    // Freezes the reading; the next Start continues the same interval.
    void Pause();
    // Back to the fresh state: not running, not paused, reading 0.
    void Reset();

    double GetElapsed() const;

    bool IsRunning() const { return running_; }
    bool IsPaused() const { return paused_; }

private:
    double start_ = 0.0;
    double stop_ = 0.0;
    bool running_ = false;
    bool paused_ = false;
};

} // namespace Core

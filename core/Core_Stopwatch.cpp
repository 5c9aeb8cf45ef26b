#include "core/Core_Stopwatch.h"

#include "core/Core_Clock.h"

namespace Core
{

void Stopwatch::Start()
{
    if (running_)
    {
        return;
    }
    running_ = true;
    const double now = GetMilliseconds();
    if (paused_)
    {
        // Shift the start by the time spent paused, so the reading carries on
        // from the value it was frozen at instead of jumping by the pause.
        paused_ = false;
        start_ += now - stop_;
    }
    else
    {
        start_ = now;
    }
}

void Stopwatch::Pause()
{
    if (!running_)
    {
        return;
    }
    stop_ = GetMilliseconds();
    running_ = false;
    paused_ = true;
}

void Stopwatch::Reset()
{
    running_ = false;
    paused_ = false;
    start_ = 0.0;
    stop_ = 0.0;
}

double Stopwatch::GetElapsed() const
{
    return running_ ? GetMilliseconds() - start_ : stop_ - start_;
}

} // namespace Core

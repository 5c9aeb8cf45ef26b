#pragma once

namespace Core
{

// Every time in the engine is milliseconds held as a double, read from one
// process-wide clock function that the first start guard chooses.
using ClockFunction = double (*)();

// The current time through the chosen clock. Before the first start guard it
// reads the monotonic clock directly, so it is always safe to call.
double GetMilliseconds();

// The high-resolution clock: CLOCK_MONOTONIC with nanosecond resolution.
double QueryPerformanceMilliseconds();

// The coarse fallback clock: whole milliseconds of CLOCK_MONOTONIC taken as
// an unsigned 32-bit count, so it wraps after 2^32 ms like the timer it
// stands in for.
double MultimediaMilliseconds();

// Installed by the start guard; null returns to the direct monotonic read.
void SetClockFunction(ClockFunction function);
ClockFunction GetClockFunction();

} // namespace Core

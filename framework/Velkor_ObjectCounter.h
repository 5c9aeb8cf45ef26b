#pragma once

#include <cstdint>

namespace Velkor
{

// The process-wide counter that gives every new game object its id. It
// restarts at 0 on every level switch, so object ids restart per level, and
// the game's saves keep it.
std::uint32_t GetObjectCounter();
void SetObjectCounter(std::uint32_t value);
// The current value, then the counter moves on by one.
std::uint32_t TakeObjectId();
void ResetObjectCounter();

} // namespace Velkor

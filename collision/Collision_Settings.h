#pragma once

#include <cstdint>

// Process-wide settings and counters of the collision world. They are plain
// globals of the main thread: the collision engine, its layers and the
// shapes read and advance them; archives restore them.
namespace Collision2D
{

inline constexpr std::int32_t DefaultMaximumInterpolationValue = 20;

// Upper bound of every dynamic object's sub-step count. Values below 1
// would give steps without sub-steps and are refused (false, unchanged).
std::int32_t GetMaximumInterpolationValue();
bool SetMaximumInterpolationValue(std::int32_t value);

// Index given to the next layer (a byte's range kept in an i32).
std::int32_t GetLayerCounter();
void SetLayerCounter(std::int32_t value);
// Answers the counter and advances it.
std::int32_t TakeLayerIndex();

// Serials given to the next static circle, static line segment and tile map;
// each starts at 1.
std::uint32_t GetStaticCircleSerial();
void SetStaticCircleSerial(std::uint32_t value);
std::uint32_t TakeStaticCircleSerial();

std::uint32_t GetStaticLineSegmentSerial();
void SetStaticLineSegmentSerial(std::uint32_t value);
std::uint32_t TakeStaticLineSegmentSerial();

std::uint32_t GetTileMapSerial();
void SetTileMapSerial(std::uint32_t value);
std::uint32_t TakeTileMapSerial();

// The start state of the four counters: layer counter 0, every serial 1.
// The maximum interpolation value is a setting and is left alone.
void ResetCollisionCounters();

} // namespace Collision2D

#pragma once

#include <cstdint>

namespace Collision2D
{

class DynamicObject;
class StaticCollisionCircle;
class StaticCollisionLineSegment;
class TileMap;

// The exact tests the layer step and the pair test drive: the swept and
// overlap shape tests and the tile-map test. The step calls them through this
// table so that a layer can run with another set (a scripted one in tests);
// DefaultCollisionTests() holds the engine's own. A null entry is a test that
// finds nothing: the caller goes on as if it reported no contact.
//
// The arguments follow the engine's members: receiver (or first object)
// first; `dt` = 1/N for N sub-steps; `k` the sub-step number 1..N as a
// float; fractions are in/out and set to 2.0 (no contact) by the caller
// before each sub-step; hit flags are cleared by the caller before a call.
struct CollisionTestTable
{
    using OneMovingTest = bool (*)(DynamicObject& receiver, DynamicObject& candidate, std::uint8_t layerIndex,
                                   float dt, float k, float& fraction);
    using BothMovingSegmentTest = void (*)(DynamicObject& first, DynamicObject& second,
                                           std::uint8_t layerIndex, float dt, float k, float& firstFraction,
                                           float& secondFraction, std::int32_t& subSteps, bool& firstHit,
                                           bool& secondHit);
    using BothMovingCircleTest = void (*)(DynamicObject& first, DynamicObject& second,
                                          std::uint8_t layerIndex, float dt, float k, float& firstFraction,
                                          float& secondFraction, bool& firstHit, bool& secondHit);
    using OverlapTest = bool (*)(DynamicObject& receiver, DynamicObject& candidate, std::uint8_t layerIndex);
    using StaticCircleTest = void (*)(DynamicObject& object, const StaticCollisionCircle& circle,
                                      std::uint8_t layerIndex);
    using StaticLineSegmentTest = void (*)(DynamicObject& object, const StaticCollisionLineSegment& segment,
                                           std::uint8_t layerIndex);
    using TileMapTest = bool (*)(TileMap& map, DynamicObject& object, std::uint8_t layerIndex);

    // The receiver moves, the candidate stands at its old pose.
    OneMovingTest segmentsSegmentsOneMoving = nullptr;
    OneMovingTest segmentsCirclesOneMoving = nullptr;
    OneMovingTest circlesSegmentsOneMoving = nullptr;
    OneMovingTest circlesCirclesOneMoving = nullptr;

    // Both move; the segment tests also get the pair's sub-step count.
    BothMovingSegmentTest segmentsSegments = nullptr;
    BothMovingSegmentTest segmentsCircles = nullptr;
    BothMovingCircleTest circlesCircles = nullptr;

    // Neither moves: the shapes at their current poses.
    OverlapTest overlapSegmentsSegments = nullptr;
    OverlapTest overlapSegmentsCircles = nullptr;
    OverlapTest overlapCirclesSegments = nullptr;
    OverlapTest overlapCirclesCircles = nullptr;

    // One object against one static shape: swept when it moved, overlap when
    // it stands still with UpdateOnIdle set.
    StaticCircleTest sweptStaticCircle = nullptr;
    StaticLineSegmentTest sweptStaticLineSegment = nullptr;
    StaticCircleTest overlapStaticCircle = nullptr;
    StaticLineSegmentTest overlapStaticLineSegment = nullptr;

    // One object against one tile map: true when it recorded any cell.
    TileMapTest tileMap = nullptr;
};

// The engine's own tests.
const CollisionTestTable& DefaultCollisionTests();

} // namespace Collision2D

#include "collision/Collision_CollisionTests.h"

#include "collision/Collision_DynamicObject.h"
#include "collision/Collision_GeometricCollision.h"
#include "collision/Collision_TileMapTests.h"

namespace Collision2D
{

namespace
{

CollisionTestTable MakeDefaultTests()
{
    CollisionTestTable tests;
    tests.segmentsSegmentsOneMoving = [](DynamicObject& receiver, DynamicObject& candidate,
                                         std::uint8_t layer, float dt, float k, float& fraction)
    { return receiver.SweptSegmentsSegmentsOneMoving(candidate, layer, dt, k, fraction); };
    tests.segmentsCirclesOneMoving = [](DynamicObject& receiver, DynamicObject& candidate, std::uint8_t layer,
                                        float dt, float k, float& fraction)
    { return receiver.SweptSegmentsCirclesOneMoving(candidate, layer, dt, k, fraction); };
    tests.circlesSegmentsOneMoving = [](DynamicObject& receiver, DynamicObject& candidate, std::uint8_t layer,
                                        float dt, float k, float& fraction)
    { return receiver.SweptCirclesSegmentsOneMoving(candidate, layer, dt, k, fraction); };
    tests.circlesCirclesOneMoving = [](DynamicObject& receiver, DynamicObject& candidate, std::uint8_t layer,
                                       float dt, float k, float& fraction)
    { return receiver.SweptCirclesCirclesOneMoving(candidate, layer, dt, k, fraction); };

    tests.segmentsSegments = [](DynamicObject& first, DynamicObject& second, std::uint8_t layer, float dt,
                                float k, float& firstFraction, float& secondFraction, std::int32_t& subSteps,
                                bool& firstHit, bool& secondHit)
    {
        first.SweptSegmentsSegments(second, layer, dt, k, firstFraction, secondFraction, subSteps, firstHit,
                                    secondHit);
    };
    tests.segmentsCircles = [](DynamicObject& first, DynamicObject& second, std::uint8_t layer, float dt,
                               float k, float& firstFraction, float& secondFraction, std::int32_t& subSteps,
                               bool& firstHit, bool& secondHit)
    {
        first.SweptSegmentsCircles(second, layer, dt, k, firstFraction, secondFraction, subSteps, firstHit,
                                   secondHit);
    };
    tests.circlesCircles = [](DynamicObject& first, DynamicObject& second, std::uint8_t layer, float dt,
                              float k, float& firstFraction, float& secondFraction, bool& firstHit,
                              bool& secondHit)
    { first.SweptCirclesCircles(second, layer, dt, k, firstFraction, secondFraction, firstHit, secondHit); };

    tests.overlapSegmentsSegments = [](DynamicObject& receiver, DynamicObject& candidate, std::uint8_t layer)
    { return receiver.OverlapSegmentsSegments(candidate, layer); };
    tests.overlapSegmentsCircles = [](DynamicObject& receiver, DynamicObject& candidate, std::uint8_t layer)
    { return receiver.OverlapSegmentsCircles(candidate, layer); };
    tests.overlapCirclesSegments = [](DynamicObject& receiver, DynamicObject& candidate, std::uint8_t layer)
    { return receiver.OverlapCirclesSegments(candidate, layer); };
    tests.overlapCirclesCircles = [](DynamicObject& receiver, DynamicObject& candidate, std::uint8_t layer)
    { return receiver.OverlapCirclesCircles(candidate, layer); };

    tests.sweptStaticCircle = [](DynamicObject& object, const StaticCollisionCircle& circle,
                                 std::uint8_t layer) { object.SweptAgainstStaticCircle(circle, layer); };
    tests.sweptStaticLineSegment =
        [](DynamicObject& object, const StaticCollisionLineSegment& segment, std::uint8_t layer)
    { object.SweptAgainstStaticLineSegment(segment, layer); };
    tests.overlapStaticCircle = [](DynamicObject& object, const StaticCollisionCircle& circle,
                                   std::uint8_t layer) { object.OverlapStaticCircle(circle, layer); };
    tests.overlapStaticLineSegment =
        [](DynamicObject& object, const StaticCollisionLineSegment& segment, std::uint8_t layer)
    { object.OverlapStaticLineSegment(segment, layer); };
    tests.tileMap = &TestTileMap;
    return tests;
}

} // namespace

const CollisionTestTable& DefaultCollisionTests()
{
    static const CollisionTestTable tests = MakeDefaultTests();
    return tests;
}

} // namespace Collision2D

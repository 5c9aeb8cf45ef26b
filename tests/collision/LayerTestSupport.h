#pragma once

#include "CollisionTestSupport.h"

#include "collision/Collision_CollisionActor.h"
#include "collision/Collision_CollisionLayer.h"
#include "collision/Collision_DynamicObject.h"
#include "collision/Collision_GeometricCollision.h"
#include "collision/Collision_TileMap.h"

#include <memory>
#include <vector>

namespace CollisionTest
{

// An actor with one frame: a square rectangle of half side `half` about the
// object's origin and a circle of radius `half` at the origin.
inline std::unique_ptr<Collision2D::CollisionActor> MakeSquareActor(float half)
{
    auto actor = std::make_unique<Collision2D::CollisionActor>();
    auto* animation = new ("test", __LINE__) Collision2D::CollisionAnimation;
    auto* frame = new ("test", __LINE__) Collision2D::CollisionFrame;
    frame->SetBoundingRectangle({half, -half, half, -half}, false);
    frame->AddCircle({0, 0}, half, 1, false);
    animation->AddCollisionFrame(frame);
    actor->AddCollisionAnimation(animation);
    return actor;
}

// A dynamic object with that actor, colliding with z 0, that moves from
// `from` to `to` in the next step.
inline Collision2D::DynamicObject* MakeMover(Collision2D::CollisionActor& actor, Math::Vector2D from,
                                             Math::Vector2D to, std::uint8_t type = 1)
{
    auto* object = new ("test", __LINE__) Collision2D::DynamicObject;
    object->AddCollisionData(&actor, 0, 0);
    object->SetCanCollid(0, true);
    object->SetCollisionType(type);
    object->SetOldPosition(from);
    object->SetPosition(to);
    return object;
}

// Adds a mover to the layer at `to` with old position `from`.
inline Collision2D::DynamicObject* AddMover(Collision2D::CollisionLayer& layer,
                                            Collision2D::CollisionActor& actor, Math::Vector2D from,
                                            Math::Vector2D to, std::uint8_t type = 1)
{
    Collision2D::DynamicObject* object = MakeMover(actor, from, to, type);
    EXPECT_NE(layer.AddCollisionObject(object, to), 0u);
    return object;
}

inline Collision2D::StaticCollisionCircle* MakeStaticCircle(Math::Vector2D center, float radius,
                                                            std::uint8_t z = 0)
{
    auto* circle = new ("test", __LINE__) Collision2D::StaticCollisionCircle;
    circle->SetCircle(new ("test", __LINE__) Math::Circle2D(center, radius));
    circle->SetZCollision(z);
    return circle;
}

inline Collision2D::StaticCollisionLineSegment* MakeStaticSegment(Math::Vector2D a, Math::Vector2D b,
                                                                  std::uint8_t z = 0)
{
    auto* segment = new ("test", __LINE__) Collision2D::StaticCollisionLineSegment;
    segment->SetLineSegment(new ("test", __LINE__) Math::LineSegment2D(a, b));
    segment->SetZCollision(z);
    return segment;
}

// A map of 3 x 2 cells of 16 units whose tile 1 is animated (images 4 and
// 5 for 0.5 s and 0.25 s, ids 7 and 8), its collision box over column 2;
// the caller puts the tile in cells.
inline Collision2D::TileMap* MakeAnimatedMap()
{
    auto* map = new ("test", __LINE__) Collision2D::TileMap;
    map->SetGrid(3, 2, 16, 2);
    const std::int32_t images[] = {4, 5};
    const float durations[] = {0.5f, 0.25f};
    const std::uint8_t ids[] = {7, 8};
    map->GetTile(1)->SetFrames(images, durations, ids);
    map->SetBoundingRectangle({32, 0, 48, 0});
    return map;
}

// The slots an object lists as candidates after a step.
inline std::vector<std::uint32_t> CandidatesOf(const Collision2D::DynamicObject& object)
{
    std::vector<std::uint32_t> slots;
    for (std::int32_t i = 0; i < object.GetCandidateCount(); ++i)
    {
        slots.push_back(object.GetCandidate(i));
    }
    return slots;
}

} // namespace CollisionTest

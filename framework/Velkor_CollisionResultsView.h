#pragma once

#include "collision/Collision_ContactRecords.h"

#include <cstdint>
#include <string>

namespace Collision2D
{
class CollisionResults;
}

namespace Velkor
{

class GameObject;

// A game object's collision results of the last collision step, read
// through the collision world. The other object of a contact is found by
// the contact's collision id in the collision world as it is now (the owner
// of that slot, null when the slot is empty), never by a stored pointer:
// the other object may be gone since the step. A view over no results
// answers 0, null and false.
class CollisionResultsView
{
public:
    CollisionResultsView() = default;
    explicit CollisionResultsView(const Collision2D::CollisionResults* results) : results_(results) {}

    bool IsValid() const { return results_ != nullptr; }
    bool HasAnyContact() const;
    // Bounding-rectangle contacts, or shape contacts when `detailed`.
    std::int32_t GetSpriteContactCount(bool detailed) const;
    std::int32_t GetCircleContactCount() const;
    std::int32_t GetLineSegmentContactCount() const;
    // Null for an index outside the count.
    const Collision2D::BRECT_C* GetSpriteContact(std::int32_t index) const;
    const Collision2D::DGEO_C* GetSpriteShapeContact(std::int32_t index) const;
    const Collision2D::CIR_C* GetCircleContact(std::int32_t index) const;
    const Collision2D::LNS_C* GetLineSegmentContact(std::int32_t index) const;
    // The game object that owns the other side of contact `index`.
    std::int32_t GetTileMapContactCount() const;
    // Null for an index out of range.
    const Collision2D::TMAP_C* GetTileMapContact(std::int32_t index) const;
    // The game object owning the collision object of that id (a dynamic
    // object or a tile map), or null.
    static GameObject* OwnerOfAny(Collision2D::CollisionId id);
    GameObject* GetCollidedSprite(std::int32_t index, bool detailed) const;
    // Whether any contact of the kind is with an object of that name.
    bool IsCollidedWithSprite(const std::string& name, bool detailed) const;

    // The game object owning the dynamic collision object `id` names now.
    static GameObject* OwnerOf(Collision2D::CollisionId id);

private:
    const Collision2D::CollisionResults* results_ = nullptr;
};

} // namespace Velkor

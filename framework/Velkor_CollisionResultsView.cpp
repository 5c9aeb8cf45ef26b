#include "framework/Velkor_CollisionResultsView.h"

#include "collision/Collision_CollisionEngine.h"
#include "collision/Collision_CollisionResults.h"
#include "collision/Collision_DynamicObject.h"
#include "framework/Velkor_GameEngines.h"
#include "framework/Velkor_GameObject.h"

namespace Velkor
{

bool CollisionResultsView::HasAnyContact() const
{
    return results_ != nullptr && results_->HasAnyContact();
}

std::int32_t CollisionResultsView::GetSpriteContactCount(bool detailed) const
{
    if (results_ == nullptr)
    {
        return 0;
    }
    return detailed ? results_->GetDynamicContactCount() : results_->GetRectangleContactCount();
}

std::int32_t CollisionResultsView::GetCircleContactCount() const
{
    return results_ != nullptr ? results_->GetStaticCircleContactCount() : 0;
}

std::int32_t CollisionResultsView::GetLineSegmentContactCount() const
{
    return results_ != nullptr ? results_->GetStaticLineSegmentContactCount() : 0;
}

const Collision2D::BRECT_C* CollisionResultsView::GetSpriteContact(std::int32_t index) const
{
    return index >= 0 && index < GetSpriteContactCount(false) ? &results_->GetRectangleContact(index)
                                                              : nullptr;
}

const Collision2D::DGEO_C* CollisionResultsView::GetSpriteShapeContact(std::int32_t index) const
{
    return index >= 0 && index < GetSpriteContactCount(true) ? &results_->GetDynamicContact(index) : nullptr;
}

const Collision2D::CIR_C* CollisionResultsView::GetCircleContact(std::int32_t index) const
{
    return index >= 0 && index < GetCircleContactCount() ? &results_->GetStaticCircleContact(index) : nullptr;
}

const Collision2D::LNS_C* CollisionResultsView::GetLineSegmentContact(std::int32_t index) const
{
    return index >= 0 && index < GetLineSegmentContactCount() ? &results_->GetStaticLineSegmentContact(index)
                                                              : nullptr;
}

std::int32_t CollisionResultsView::GetTileMapContactCount() const
{
    return results_ != nullptr ? results_->GetTileMapContactCount() : 0;
}

const Collision2D::TMAP_C* CollisionResultsView::GetTileMapContact(std::int32_t index) const
{
    return index >= 0 && index < GetTileMapContactCount() ? &results_->GetTileMapContact(index) : nullptr;
}

GameObject* CollisionResultsView::OwnerOfAny(Collision2D::CollisionId id)
{
    Collision2D::CollisionEngine* collision = GameCollision();
    Collision2D::MainCollisionObject* object = collision != nullptr ? collision->GetCollisionObject(id) : nullptr;
    return object != nullptr ? reinterpret_cast<GameObject*>(object->GetOwner()) : nullptr;
}

GameObject* CollisionResultsView::OwnerOf(Collision2D::CollisionId id)
{
    Collision2D::CollisionEngine* collision = GameCollision();
    Collision2D::DynamicObject* object = collision != nullptr ? collision->GetDynamicObject(id) : nullptr;
    return object != nullptr ? reinterpret_cast<GameObject*>(object->GetOwner()) : nullptr;
}

GameObject* CollisionResultsView::GetCollidedSprite(std::int32_t index, bool detailed) const
{
    if (detailed)
    {
        const Collision2D::DGEO_C* contact = GetSpriteShapeContact(index);
        return contact != nullptr ? OwnerOf(contact->id) : nullptr;
    }
    const Collision2D::BRECT_C* contact = GetSpriteContact(index);
    return contact != nullptr ? OwnerOf(contact->id) : nullptr;
}

bool CollisionResultsView::IsCollidedWithSprite(const std::string& name, bool detailed) const
{
    for (std::int32_t i = 0; i < GetSpriteContactCount(detailed); ++i)
    {
        GameObject* other = GetCollidedSprite(i, detailed);
        if (other != nullptr && other->GetName() == name)
        {
            return true;
        }
    }
    return false;
}

} // namespace Velkor

#include "collision/Collision_CollisionLayer.h"

#include "collision/Collision_Settings.h"
#include "core/Core_ScriptBridge.h"

#include <algorithm>
#include <memory>

namespace Collision2D
{

namespace
{

// Pack(kind base + slot, layer, z).
CollisionId IdOf(std::uint32_t base, std::uint32_t slot, std::int32_t layer, std::uint8_t z)
{
    return PackCollisionId(static_cast<std::uint16_t>(base + slot), static_cast<std::uint8_t>(layer), z);
}

} // namespace

CollisionLayer::CollisionLayer() : CollisionLayer(ForReading)
{
    index_ = TakeLayerIndex();
    grid_.Initialize({}, UniformGrid::DefaultWidth, UniformGrid::DefaultHeight, UniformGrid::DefaultRows,
                     UniformGrid::DefaultColumns, UniformGrid::DefaultCellSize);
}

CollisionLayer::CollisionLayer(ForReadingTag)
    : dynamicObjects_(InitialDynamicCapacity, DynamicGrowthStep, MaximumDynamicObjectSlot),
      staticCircles_(InitialStaticCapacity, StaticGrowthStep, MaximumStaticCircleSlot),
      staticLineSegments_(InitialStaticCapacity, StaticGrowthStep, MaximumStaticLineSegmentSlot),
      tileMaps_(InitialStaticCapacity, StaticGrowthStep, MaximumTileMapSlot), tests_(&DefaultCollisionTests())
{
}

CollisionLayer::~CollisionLayer() = default;

LuaScript* CollisionLayer::GetScript()
{
    return nullptr;
}

void CollisionLayer::PushToScript(lua_State* state)
{
    Core::PushUserdata(state, this, ScriptTypeName);
}

std::int32_t CollisionLayer::GetCount(SlotKind kind) const
{
    switch (kind)
    {
    case DynamicObjects:
        return dynamicObjects_.GetCount();
    case StaticCircles:
        return staticCircles_.GetCount();
    case StaticLineSegments:
        return staticLineSegments_.GetCount();
    case TileMaps:
        return tileMaps_.GetCount();
    }
    return 0;
}

std::int32_t CollisionLayer::GetCapacity(SlotKind kind) const
{
    switch (kind)
    {
    case DynamicObjects:
        return dynamicObjects_.GetCapacity();
    case StaticCircles:
        return staticCircles_.GetCapacity();
    case StaticLineSegments:
        return staticLineSegments_.GetCapacity();
    case TileMaps:
        return tileMaps_.GetCapacity();
    }
    return 0;
}

// --- Storing ----------------------------------------------------------------------------

CollisionId CollisionLayer::StoreDynamicObject(std::unique_ptr<DynamicObject> object,
                                               const Math::Vector2D& position)
{
    DynamicObject& stored = *object;
    std::vector<std::int32_t>& free = freeSlots_[DynamicObjects];
    std::uint32_t slot = 0;
    if (!free.empty())
    {
        slot = static_cast<std::uint32_t>(free.front());
        free.erase(free.begin());
        dynamicObjects_.Place(slot, std::move(object));
    }
    else
    {
        slot = dynamicObjects_.Append(std::move(object));
    }
    stored.SetSlot(static_cast<std::int32_t>(slot));
    stored.SetPosition(position);
    return IdOf(DynamicObjectBase, slot, index_, stored.GetZ_Collision());
}

CollisionId CollisionLayer::StoreStaticCircle(std::unique_ptr<StaticCollisionCircle> circle)
{
    StaticCollisionCircle& stored = *circle;
    const std::uint32_t slot = staticCircles_.Append(std::move(circle));
    stored.SetSlot(slot);
    if (stored.GetCircle() != nullptr)
    {
        grid_.InsertStaticCircle(*stored.GetCircle(), slot);
    }
    return IdOf(StaticCircleBase, slot, index_, stored.GetZ_Collision());
}

CollisionId CollisionLayer::StoreStaticLineSegment(std::unique_ptr<StaticCollisionLineSegment> segment)
{
    StaticCollisionLineSegment& stored = *segment;
    const std::uint32_t slot = staticLineSegments_.Append(std::move(segment));
    stored.SetSlot(slot);
    if (stored.GetLineSegment() != nullptr)
    {
        grid_.InsertStaticLineSegment(*stored.GetLineSegment(), slot);
    }
    return IdOf(StaticLineSegmentBase, slot, index_, stored.GetZ_Collision());
}

CollisionId CollisionLayer::StoreTileMap(std::unique_ptr<TileMap> map, const Math::Vector2D& position)
{
    TileMap& stored = *map;
    const std::uint32_t slot = tileMaps_.Append(std::move(map));
    stored.SetSlot(slot);
    stored.SetPosition(position);
    return IdOf(TileMapBase, slot, index_, stored.GetZ_Collision());
}

CollisionId CollisionLayer::AddCollisionObject(MainCollisionObject* object, const Math::Vector2D& position)
{
    if (object == nullptr)
    {
        return 0;
    }
    // The class must match the kind code before the layer takes it over.
    switch (object->GetKind())
    {
    case CollisionKind::DynamicObject:
        if (auto* dynamic = dynamic_cast<DynamicObject*>(object);
            dynamic != nullptr && (!freeSlots_[DynamicObjects].empty() || dynamicObjects_.CanAppend()))
        {
            return StoreDynamicObject(std::unique_ptr<DynamicObject>(dynamic), position);
        }
        return 0;
    case CollisionKind::StaticCircle:
        if (auto* circle = dynamic_cast<StaticCollisionCircle*>(object);
            circle != nullptr && staticCircles_.CanAppend())
        {
            return StoreStaticCircle(std::unique_ptr<StaticCollisionCircle>(circle));
        }
        return 0;
    case CollisionKind::StaticLineSegment:
        if (auto* segment = dynamic_cast<StaticCollisionLineSegment*>(object);
            segment != nullptr && staticLineSegments_.CanAppend())
        {
            return StoreStaticLineSegment(std::unique_ptr<StaticCollisionLineSegment>(segment));
        }
        return 0;
    case CollisionKind::TileMap:
        if (auto* map = dynamic_cast<TileMap*>(object); map != nullptr && tileMaps_.CanAppend())
        {
            return StoreTileMap(std::unique_ptr<TileMap>(map), position);
        }
        return 0;
    default:
        return 0;
    }
}

CollisionId CollisionLayer::CloneCollisionObject(std::uint32_t index, const Math::Vector2D& position,
                                                 OwnerWord owner)
{
    const DecodedIndex decoded = DecodeIndex(index);
    switch (decoded.kind)
    {
    case CollisionKind::StaticCircle:
        if (const StaticCollisionCircle* source = staticCircles_.Get(decoded.slot);
            source != nullptr && staticCircles_.CanAppend())
        {
            return StoreStaticCircle(std::unique_ptr<StaticCollisionCircle>(
                new ("Collision_Layer", __LINE__) StaticCollisionCircle(*source)));
        }
        return 0;
    case CollisionKind::StaticLineSegment:
        if (const StaticCollisionLineSegment* source = staticLineSegments_.Get(decoded.slot);
            source != nullptr && staticLineSegments_.CanAppend())
        {
            return StoreStaticLineSegment(std::unique_ptr<StaticCollisionLineSegment>(
                new ("Collision_Layer", __LINE__) StaticCollisionLineSegment(*source)));
        }
        return 0;
    case CollisionKind::TileMap:
        if (const TileMap* source = tileMaps_.Get(decoded.slot); source != nullptr && tileMaps_.CanAppend())
        {
            std::unique_ptr<TileMap> copy(new ("Collision_Layer", __LINE__) TileMap(*source));
            copy->SetOwner(owner);
            return StoreTileMap(std::move(copy), position);
        }
        return 0;
    case CollisionKind::DynamicObject:
        if (const DynamicObject* source = dynamicObjects_.Get(decoded.slot);
            source != nullptr && (!freeSlots_[DynamicObjects].empty() || dynamicObjects_.CanAppend()))
        {
            std::unique_ptr<DynamicObject> copy(new ("Collision_Layer", __LINE__) DynamicObject(*source));
            copy->SetOwner(owner);
            return StoreDynamicObject(std::move(copy), position);
        }
        return 0;
    default:
        // Indices of no stored kind name nothing to copy; index 0 and the
        // bases of kinds 4 and 5 answer 0.
        if (index == 0 || (decoded.kind != CollisionKind::None && decoded.slot == 0))
        {
            return 0;
        }
        return PackCollisionId(static_cast<std::uint16_t>(index), GetIndex(), 0);
    }
}

// --- Removing ---------------------------------------------------------------------------

template <class T>
bool CollisionLayer::RemoveFromSlots(ObjectSlots<T>& slots, SlotKind kind, std::uint32_t slot)
{
    if (!slots.Destroy(slot))
    {
        return false;
    }
    // Listed so that the archive knows the slot is empty; only dynamic
    // slots are handed out again.
    freeSlots_[kind].push_back(static_cast<std::int32_t>(slot));
    return true;
}

bool CollisionLayer::RemoveDynamicObject(std::uint32_t slot)
{
    return RemoveFromSlots(dynamicObjects_, DynamicObjects, slot);
}

bool CollisionLayer::RemoveStaticCircle(std::uint32_t slot)
{
    return RemoveFromSlots(staticCircles_, StaticCircles, slot);
}

bool CollisionLayer::RemoveStaticLineSegment(std::uint32_t slot)
{
    return RemoveFromSlots(staticLineSegments_, StaticLineSegments, slot);
}

bool CollisionLayer::RemoveTileMap(std::uint32_t slot)
{
    return RemoveFromSlots(tileMaps_, TileMaps, slot);
}

void CollisionLayer::RemoveStaticCircles()
{
    staticCircles_.Reset();
    freeSlots_[StaticCircles].clear();
    grid_.ClearStaticCircles();
}

void CollisionLayer::RemoveStaticLineSegments()
{
    staticLineSegments_.Reset();
    freeSlots_[StaticLineSegments].clear();
    grid_.ClearStaticLineSegments();
}

// --- Grid -------------------------------------------------------------------------------

bool CollisionLayer::InitializeGrid(const Math::Vector2D& origin, std::int32_t width, std::int32_t height,
                                    std::int32_t rows, std::int32_t columns, std::int32_t cellSize)
{
    if (!grid_.Initialize(origin, width, height, rows, columns, cellSize))
    {
        return false;
    }
    EnterStaticShapes();
    return true;
}

void CollisionLayer::EnterStaticShapes()
{
    for (std::int32_t slot = 1; slot < staticCircles_.GetCount(); ++slot)
    {
        const StaticCollisionCircle* circle = staticCircles_.Get(static_cast<std::uint32_t>(slot));
        if (circle != nullptr && circle->GetCircle() != nullptr)
        {
            grid_.InsertStaticCircle(*circle->GetCircle(), static_cast<std::uint32_t>(slot));
        }
    }
    for (std::int32_t slot = 1; slot < staticLineSegments_.GetCount(); ++slot)
    {
        const StaticCollisionLineSegment* segment = staticLineSegments_.Get(static_cast<std::uint32_t>(slot));
        if (segment != nullptr && segment->GetLineSegment() != nullptr)
        {
            grid_.InsertStaticLineSegment(*segment->GetLineSegment(), static_cast<std::uint32_t>(slot));
        }
    }
}

} // namespace Collision2D

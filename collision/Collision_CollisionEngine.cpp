#include "collision/Collision_CollisionEngine.h"

#include "collision/Collision_Archive.h"
#include "collision/Collision_Settings.h"
#include "core/Core_File.h"
#include "core/Core_ScriptBridge.h"

#include <algorithm>

namespace Collision2D
{

namespace
{

// The fewest bytes a layer takes in an archive: four empty free lists, four
// empty slot arrays, the two counter bytes, rectangle, point and a grid
// header.
constexpr std::uint64_t MinimumLayerBytes = 4 * 4 + 4 * 8 + 2 + 16 + 8 + 28;

// The process-wide numbers an archive read changes, kept to undo a failed read.
struct CounterSnapshot
{
    std::int32_t layer = GetLayerCounter();
    std::uint32_t circle = GetStaticCircleSerial();
    std::uint32_t segment = GetStaticLineSegmentSerial();
    std::uint32_t tileMap = GetTileMapSerial();
    std::int32_t maximumInterpolation = GetMaximumInterpolationValue();

    void Restore() const
    {
        SetLayerCounter(layer);
        SetStaticCircleSerial(circle);
        SetStaticLineSegmentSerial(segment);
        SetTileMapSerial(tileMap);
        SetMaximumInterpolationValue(maximumInterpolation);
    }
};

} // namespace

struct CollisionEngine::Target
{
    CollisionLayer* layer = nullptr;
    CollisionKind kind = CollisionKind::None;
    std::uint32_t slot = 0;
    MainCollisionObject* object = nullptr;
};

CollisionEngine::~CollisionEngine()
{
    Clear();
}

LuaScript* CollisionEngine::GetScript()
{
    return nullptr;
}

void CollisionEngine::PushToScript(lua_State* state)
{
    Core::PushUserdata(state, this, ScriptTypeName);
}

// --- Layers -----------------------------------------------------------------------------

std::int32_t CollisionEngine::AddLayer()
{
    if (layers_.size() >= MaximumLayerCount)
    {
        return -1;
    }
    // The layer takes the counter as its index: keeping the counter at the
    // list position makes the layer byte of every id its position.
    const std::int32_t position = static_cast<std::int32_t>(layers_.size());
    SetLayerCounter(position);
    layers_.emplace_back(new ("Collision_Engine", __LINE__) CollisionLayer);
    return position;
}

CollisionLayer* CollisionEngine::GetLayer(std::uint32_t layer) const
{
    return layer < layers_.size() ? layers_[layer].get() : nullptr;
}

bool CollisionEngine::InitializeLayerGrid(std::uint32_t layer, const Math::Vector2D& origin,
                                          std::int32_t width, std::int32_t height, std::int32_t cellSize)
{
    CollisionLayer* target = GetLayer(layer);
    if (target == nullptr)
    {
        return false;
    }
    const std::int32_t cell = std::max(cellSize, MinimumCellSize);
    return target->InitializeGrid(origin, width, height, height / cell + 1, width / cell + 1, cell);
}

// --- Objects by id ------------------------------------------------------------------------

CollisionEngine::Target CollisionEngine::Find(CollisionId id) const
{
    const DecodedIndex decoded = DecodeId(id);
    CollisionLayer* layer = GetLayer(LayerOf(id));
    if (!decoded.NamesStoredObject() || layer == nullptr)
    {
        return {};
    }
    MainCollisionObject* object = nullptr;
    switch (decoded.kind)
    {
    case CollisionKind::DynamicObject:
        object = layer->GetDynamicObject(decoded.slot);
        break;
    case CollisionKind::StaticCircle:
        object = layer->GetStaticCircle(decoded.slot);
        break;
    case CollisionKind::StaticLineSegment:
        object = layer->GetStaticLineSegment(decoded.slot);
        break;
    case CollisionKind::TileMap:
        object = layer->GetTileMap(decoded.slot);
        break;
    default:
        break;
    }
    if (object == nullptr)
    {
        return {};
    }
    return {layer, decoded.kind, decoded.slot, object};
}

CollisionId CollisionEngine::AddCollisionObject(MainCollisionObject* object, std::uint8_t layer,
                                                const Math::Vector2D& position)
{
    CollisionLayer* target = GetLayer(layer);
    return target != nullptr ? target->AddCollisionObject(object, position) : 0;
}

CollisionId CollisionEngine::CloneCollisionObject(CollisionId id, const Math::Vector2D& position,
                                                  OwnerWord owner)
{
    CollisionLayer* layer = GetLayer(LayerOf(id));
    return layer != nullptr ? layer->CloneCollisionObject(IndexOf(id), position, owner) : 0;
}

bool CollisionEngine::RemoveCollisionObject(CollisionId id)
{
    const Target target = Find(id);
    switch (target.kind)
    {
    case CollisionKind::DynamicObject:
        return target.layer->RemoveDynamicObject(target.slot);
    case CollisionKind::StaticCircle:
        return target.layer->RemoveStaticCircle(target.slot);
    case CollisionKind::StaticLineSegment:
        return target.layer->RemoveStaticLineSegment(target.slot);
    case CollisionKind::TileMap:
        return target.layer->RemoveTileMap(target.slot);
    default:
        return false;
    }
}

bool CollisionEngine::RemoveStaticShapes(std::uint32_t layer)
{
    CollisionLayer* target = GetLayer(layer);
    if (target == nullptr)
    {
        return false;
    }
    target->RemoveStaticCircles();
    target->RemoveStaticLineSegments();
    return true;
}

MainCollisionObject* CollisionEngine::GetCollisionObject(CollisionId id) const
{
    return Find(id).object;
}

DynamicObject* CollisionEngine::GetDynamicObject(CollisionId id) const
{
    const Target target = Find(id);
    return target.kind == CollisionKind::DynamicObject ? static_cast<DynamicObject*>(target.object) : nullptr;
}

TileMap* CollisionEngine::GetTileMap(CollisionId id) const
{
    const Target target = Find(id);
    return target.kind == CollisionKind::TileMap ? static_cast<TileMap*>(target.object) : nullptr;
}

StaticCollisionCircle* CollisionEngine::GetStaticCircle(CollisionId id) const
{
    const Target target = Find(id);
    return target.kind == CollisionKind::StaticCircle ? static_cast<StaticCollisionCircle*>(target.object)
                                                      : nullptr;
}

StaticCollisionLineSegment* CollisionEngine::GetStaticLineSegment(CollisionId id) const
{
    const Target target = Find(id);
    return target.kind == CollisionKind::StaticLineSegment
               ? static_cast<StaticCollisionLineSegment*>(target.object)
               : nullptr;
}

CollisionResults* CollisionEngine::GetCollisionResults(CollisionId id) const
{
    DynamicObject* object = GetDynamicObject(id);
    return object != nullptr ? &object->GetCollisionResults() : nullptr;
}

bool CollisionEngine::ObjectInCollision(CollisionId id) const
{
    const CollisionResults* results = GetCollisionResults(id);
    return results != nullptr && results->HasAnyContact();
}

bool CollisionEngine::SetObjectPosition(CollisionId id, const Math::Vector2D& position)
{
    if (DynamicObject* object = GetDynamicObject(id))
    {
        object->SetPosition(position);
        return true;
    }
    if (TileMap* map = GetTileMap(id))
    {
        map->SetPosition(position);
        return true;
    }
    return false;
}

bool CollisionEngine::SetObjectOldPosition(CollisionId id, const Math::Vector2D& position)
{
    DynamicObject* object = GetDynamicObject(id);
    if (object == nullptr)
    {
        return false;
    }
    object->SetOldPosition(position);
    return true;
}

bool CollisionEngine::SetObjectOrientation(CollisionId id, float degrees)
{
    DynamicObject* object = GetDynamicObject(id);
    if (object == nullptr)
    {
        return false;
    }
    object->SetOrientation(degrees);
    return true;
}

bool CollisionEngine::SetObjectOldOrientation(CollisionId id, float degrees)
{
    DynamicObject* object = GetDynamicObject(id);
    if (object == nullptr)
    {
        return false;
    }
    object->SetOldOrientation(degrees);
    return true;
}

bool CollisionEngine::SetObjectOffset(CollisionId id, const Math::Vector2D& offset)
{
    if (DynamicObject* object = GetDynamicObject(id))
    {
        object->SetOffset(offset);
        return true;
    }
    if (TileMap* map = GetTileMap(id))
    {
        map->SetOffset(offset);
        return true;
    }
    return false;
}

CollisionId CollisionEngine::SetObjectZCollision(CollisionId id, std::uint8_t z)
{
    const std::uint16_t index = IndexOf(id);
    const DecodedIndex decoded = DecodeIndex(index);
    if (decoded.kind == CollisionKind::None || decoded.kind == CollisionKind::Reserved4 ||
        decoded.kind == CollisionKind::Reserved5)
    {
        // Names no stored kind: the id comes back (index 0 gives 0), except
        // for the bases of kinds 4 and 5.
        return decoded.kind != CollisionKind::None && decoded.slot == 0 ? 0 : (index == 0 ? 0 : id);
    }
    const Target target = Find(id);
    std::uint8_t stored = z;
    switch (target.kind)
    {
    case CollisionKind::DynamicObject:
    {
        auto* object = static_cast<DynamicObject*>(target.object);
        object->SetZCollision(z);
        stored = object->GetZ_Collision();
        break;
    }
    case CollisionKind::StaticCircle:
        static_cast<StaticCollisionCircle*>(target.object)->SetZCollision(z);
        break;
    case CollisionKind::StaticLineSegment:
        static_cast<StaticCollisionLineSegment*>(target.object)->SetZCollision(z);
        break;
    case CollisionKind::TileMap:
        static_cast<TileMap*>(target.object)->SetZCollision(z);
        break;
    default:
        return 0;
    }
    return PackCollisionId(index, LayerOf(id), stored);
}

bool CollisionEngine::SetObjectBoundingRectangle(CollisionId id, const ZibRect& rectangle)
{
    if (DynamicObject* object = GetDynamicObject(id))
    {
        object->SetFrameRectangle(rectangle);
        return true;
    }
    if (TileMap* map = GetTileMap(id))
    {
        map->SetBoundingRectangle(rectangle);
        return true;
    }
    return false;
}

ZibRect CollisionEngine::GetObjectBoundingRectangle(CollisionId id) const
{
    if (const DynamicObject* object = GetDynamicObject(id))
    {
        return object->GetFrameRectangle();
    }
    if (const TileMap* map = GetTileMap(id))
    {
        return map->GetBoundingRectangle();
    }
    return {};
}

ZibRect CollisionEngine::GetCurrentObjectBoundingRectangle(CollisionId id) const
{
    if (const DynamicObject* object = GetDynamicObject(id))
    {
        return object->GetCurrentBoundingRectangle();
    }
    if (const TileMap* map = GetTileMap(id))
    {
        return map->GetCurrentBoundingRectangle();
    }
    return {};
}

// --- Stepping, clearing, archive ------------------------------------------------------------

void CollisionEngine::Update(float dt)
{
    for (const std::unique_ptr<CollisionLayer>& layer : layers_)
    {
        layer->Step(dt);
    }
}

void CollisionEngine::Clear()
{
    layers_.clear();
    ResetCollisionCounters();
}

void CollisionEngine::Write(Core::File& file) const
{
    file << static_cast<std::uint32_t>(layers_.size());
    for (const std::unique_ptr<CollisionLayer>& layer : layers_)
    {
        layer->Write(file);
    }
}

bool CollisionEngine::Read(Core::File& file)
{
    const CounterSnapshot before;
    std::uint32_t count = 0;
    file >> count;
    if (file.Failed())
    {
        return false;
    }
    if (count > MaximumLayerCount)
    {
        return Detail::RejectData(file);
    }
    if (!file.Require(static_cast<std::uint64_t>(count) * MinimumLayerBytes))
    {
        return false;
    }

    // The counters start where Clear leaves them; the stored objects and
    // layers restore theirs as they are read.
    ResetCollisionCounters();
    std::vector<std::unique_ptr<CollisionLayer>> read;
    read.reserve(count);
    std::int32_t layerCounter = 0;
    for (std::uint32_t position = 0; position < count; ++position)
    {
        std::unique_ptr<CollisionLayer> layer(new ("Collision_Engine", __LINE__) CollisionLayer(ForReading));
        if (!layer->Read(file, layerCounter) || layer->GetIndex() != position ||
            static_cast<std::uint32_t>(layerCounter) <= position)
        {
            if (!file.Failed())
            {
                Detail::RejectData(file);
            }
            before.Restore();
            return false;
        }
        read.push_back(std::move(layer));
    }
    SetLayerCounter(layerCounter);
    layers_ = std::move(read);
    return true;
}

} // namespace Collision2D

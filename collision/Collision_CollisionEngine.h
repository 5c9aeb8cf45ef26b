#pragma once

#include "collision/Collision_CollisionLayer.h"
#include "collision/Collision_CollisionResults.h"
#include "collision/Collision_Id.h"
#include "collision/Collision_ZibRect.h"
#include "core/Core_Base.h"
#include "math/Math_Vector2D.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Core
{
class File;
}

struct lua_State;
class LuaScript;

namespace Collision2D
{

// The collision world's front door: an ordered list of collision layers,
// stepped once per frame, and every collision object reached through its
// CollisionId. A layer's position in the list is its index, the top byte of
// every id it makes.
//
// Every operation by id checks the id before it acts: the index range
// first (below the first base, a base, kinds 4 and 5 name nothing), then
// the layer byte against the layers, then the slot against the layer's
// count for that kind and whether it holds an object. An id that names
// nothing does nothing: setters answer false, getters null, 0 or a zero
// rectangle.
class CollisionEngine final : public Core::Base
{
public:
    static constexpr const char* ScriptTypeName = "CollisionEngine";
    // Smallest grid cell InitializeLayerGrid uses.
    static constexpr std::int32_t MinimumCellSize = 50;
    // Layer indices are bytes and the layer counter is archived in one.
    static constexpr std::uint32_t MaximumLayerCount = 255;

    CollisionEngine() = default;
    CollisionEngine(const CollisionEngine&) = delete;
    CollisionEngine& operator=(const CollisionEngine&) = delete;
    // Clear, then the list goes.
    virtual ~CollisionEngine();

    virtual LuaScript* GetScript();
    virtual void PushToScript(lua_State* state);

    // --- Layers -------------------------------------------------------------------------

    // Appends a new layer and answers its index (its position in the list);
    // the layer counter moves past it. -1, nothing added, once 255 layers
    // exist.
    std::int32_t AddLayer();
    std::uint32_t GetLayerCount() const { return static_cast<std::uint32_t>(layers_.size()); }
    // Null for an index that names no layer.
    CollisionLayer* GetLayer(std::uint32_t layer) const;

    // Rebuilds a layer's grid over width x height from the origin with
    // square cells of max(cellSize, 50): width / cell + 1 columns and
    // height / cell + 1 rows (integer division). False, nothing done, for a
    // layer it does not have or sizes the grid refuses.
    bool InitializeLayerGrid(std::uint32_t layer, const Math::Vector2D& origin, std::int32_t width,
                             std::int32_t height, std::int32_t cellSize);

    // --- Objects by id -----------------------------------------------------------------

    // Hands the object to the layer, which stores it by kind, owns it and
    // answers its id (CollisionLayer::AddCollisionObject). 0, nothing stored
    // and the object still the caller's, for a layer it does not have or an
    // object the layer refuses.
    CollisionId AddCollisionObject(MainCollisionObject* object, std::uint8_t layer,
                                   const Math::Vector2D& position);
    // Copies the object into a new slot of its layer (CollisionLayer::
    // CloneCollisionObject); 0 for an id whose layer does not exist.
    CollisionId CloneCollisionObject(CollisionId id, const Math::Vector2D& position, OwnerWord owner);
    // Destroys the object and empties its slot; false when the id names no
    // stored object.
    bool RemoveCollisionObject(CollisionId id);
    // Destroys every static circle and static line segment of the layer.
    bool RemoveStaticShapes(std::uint32_t layer);

    // The object of any stored kind; null when the id names none.
    MainCollisionObject* GetCollisionObject(CollisionId id) const;
    DynamicObject* GetDynamicObject(CollisionId id) const;
    TileMap* GetTileMap(CollisionId id) const;
    StaticCollisionCircle* GetStaticCircle(CollisionId id) const;
    StaticCollisionLineSegment* GetStaticLineSegment(CollisionId id) const;

    // The result block of a dynamic object; null for other kinds.
    CollisionResults* GetCollisionResults(CollisionId id) const;
    // True when the dynamic object's block holds any record (static
    // circles, static segments, tile maps, rectangles, dynamic shapes).
    bool ObjectInCollision(CollisionId id) const;

    // Dynamic object: SetPosition; tile map: its position setter.
    bool SetObjectPosition(CollisionId id, const Math::Vector2D& position);
    // Dynamic objects only.
    bool SetObjectOldPosition(CollisionId id, const Math::Vector2D& position);
    bool SetObjectOrientation(CollisionId id, float degrees);
    bool SetObjectOldOrientation(CollisionId id, float degrees);
    // Dynamic object: SetOffset; tile map: its offset setter.
    bool SetObjectOffset(CollisionId id, const Math::Vector2D& offset);

    // Stores z in the object (a dynamic object turns 255 into 254) and
    // answers its id re-packed with the z now stored. An index below the
    // first base or of kinds 4 and 5 comes back unchanged (0 stays 0); a
    // base, or an id naming no stored object, answers 0.
    CollisionId SetObjectZCollision(CollisionId id, std::uint8_t z);

    // Dynamic object: its frame rectangle (the next step replaces it with
    // the current frame's); tile map: its local rectangle.
    bool SetObjectBoundingRectangle(CollisionId id, const ZibRect& rectangle);
    // Dynamic object: the frame rectangle; tile map: its local rectangle;
    // otherwise a zero rectangle.
    ZibRect GetObjectBoundingRectangle(CollisionId id) const;
    // Dynamic object: its rectangle at the current pose; tile map: its
    // world rectangle; otherwise a zero rectangle.
    ZibRect GetCurrentObjectBoundingRectangle(CollisionId id) const;

    // --- Stepping, clearing, archive -------------------------------------------------------

    // One collision step of every layer in list order.
    void Update(float dt);

    // Destroys every layer and returns the layer counter and the static
    // circle, static line segment and tile map serials to their start.
    void Clear();

    // Layer count (u32), then every layer (CollisionLayer::Write).
    void Write(Core::File& file) const;
    // Reads a whole collision world and, only once all of it was read,
    // replaces this one (layers and counters as the archive has them). A
    // layer whose stored index is not its position, or a stored layer
    // counter below the layers, fails the archive; on any failure the
    // engine, its layers and the counters are left as they were.
    [[nodiscard]] bool Read(Core::File& file);

private:
    struct Target;
    // Decodes an id to its layer and stored object; `kind` None when it
    // names no stored object.
    Target Find(CollisionId id) const;

    std::vector<std::unique_ptr<CollisionLayer>> layers_;
};

} // namespace Collision2D

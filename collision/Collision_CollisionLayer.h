#pragma once

#include "collision/Collision_CollisionTests.h"
#include "collision/Collision_DynamicObject.h"
#include "collision/Collision_GeometricCollision.h"
#include "collision/Collision_Id.h"
#include "collision/Collision_ObjectSlots.h"
#include "collision/Collision_TileMap.h"
#include "collision/Collision_UniformGrid.h"
#include "collision/Collision_ZibRect.h"
#include "core/Core_Base.h"
#include "math/Math_Vector2D.h"

#include <array>
#include <cstdint>
#include <vector>

namespace Core
{
class File;
}

struct lua_State;
class LuaScript;

namespace Collision2D
{

// One independent collision space: the dynamic objects, static circles,
// static line segments and tile maps of one level layer, in slot arrays,
// over a uniform grid. Once per frame Step prepares every dynamic object,
// pairs the ones that may touch, runs the pair tests, the static-shape tests
// and the tile-map tests, and closes the step. Nothing crosses layers.
//
// The layer owns what it stores. Ids pack the kind's base plus the slot with
// the layer index and the object's z (Collision_Id.h).
class CollisionLayer final : public Core::Base
{
public:
    static constexpr const char* ScriptTypeName = "CollisionLayer";

    // Slot kinds, in the order of the free-slot lists and of the archive.
    enum SlotKind : int
    {
        DynamicObjects = 0,
        StaticCircles = 1,
        StaticLineSegments = 2,
        TileMaps = 3,
    };
    static constexpr int SlotKindCount = 4;

    static constexpr std::int32_t InitialDynamicCapacity = 25;
    static constexpr std::int32_t DynamicGrowthStep = 25;
    static constexpr std::int32_t InitialStaticCapacity = 10;
    static constexpr std::int32_t StaticGrowthStep = 10;

    // Index from the layer counter (which advances), default grid.
    CollisionLayer();
    // An empty layer for Read: nothing is taken from the counter.
    explicit CollisionLayer(ForReadingTag);
    CollisionLayer(const CollisionLayer&) = delete;
    CollisionLayer& operator=(const CollisionLayer&) = delete;
    virtual ~CollisionLayer();

    virtual LuaScript* GetScript();
    virtual void PushToScript(lua_State* state);

    std::uint8_t GetIndex() const { return static_cast<std::uint8_t>(index_); }

    // --- Storing, copying, removing ----------------------------------------------

    // Stores the object by its kind and answers its id; the layer owns it
    // from then on. A dynamic object takes the first free slot, or the next
    // one, and is placed at `position`; a static shape takes the next slot
    // and is entered into the grid; a tile map takes the next slot and is
    // placed at `position`. Answers 0 and stores nothing (the object stays
    // the caller's) for a null object, the kinds without storage (1, 4, 5),
    // unknown kinds, an object whose class does not match its kind, and a
    // kind whose slots are all used up.
    CollisionId AddCollisionObject(MainCollisionObject* object, const Math::Vector2D& position);

    // Copies the object of the index (kind base + slot) into a new slot: a
    // static shape as when adding; a tile map or dynamic object placed at
    // `position` with the given owner word. Answers the new id; 0 for index
    // 0, a kind base, an empty slot or a slot not handed out; an index below
    // the first base or of kinds 4 and 5 gives Pack(index, layer, 0).
    CollisionId CloneCollisionObject(std::uint32_t index, const Math::Vector2D& position, OwnerWord owner);

    // Destroy the object of a slot and empty it; the slot goes to its kind's
    // free list (only dynamic slots are handed out again). False, nothing
    // done, for a slot that holds nothing. Removed static shapes stay listed
    // in the grid cells (the step skips empty slots).
    bool RemoveDynamicObject(std::uint32_t slot);
    bool RemoveStaticCircle(std::uint32_t slot);
    bool RemoveStaticLineSegment(std::uint32_t slot);
    bool RemoveTileMap(std::uint32_t slot);
    // Destroy every static shape of the kind: the kind starts afresh (count
    // 1, initial capacity, no free slots, no grid entries), so the layer can
    // take static shapes again.
    void RemoveStaticCircles();
    void RemoveStaticLineSegments();

    // Objects by slot; null for slot 0, an empty slot or a slot not below
    // the kind's count.
    DynamicObject* GetDynamicObject(std::uint32_t slot) const { return dynamicObjects_.Get(slot); }
    StaticCollisionCircle* GetStaticCircle(std::uint32_t slot) const { return staticCircles_.Get(slot); }
    StaticCollisionLineSegment* GetStaticLineSegment(std::uint32_t slot) const
    {
        return staticLineSegments_.Get(slot);
    }
    TileMap* GetTileMap(std::uint32_t slot) const { return tileMaps_.Get(slot); }

    // Slot counts (slot 0 included) and capacities of each kind.
    std::int32_t GetCount(SlotKind kind) const;
    std::int32_t GetCapacity(SlotKind kind) const;
    // Slots given back and not handed out again, per kind.
    const std::vector<std::int32_t>& GetFreeSlots(SlotKind kind) const { return freeSlots_[kind]; }

    // --- Grid -----------------------------------------------------------------------

    // Rebuilds the grid (UniformGrid::Initialize) and enters the static
    // shapes the layer holds into it again. False, grid unchanged, for
    // values the grid refuses.
    bool InitializeGrid(const Math::Vector2D& origin, std::int32_t width, std::int32_t height,
                        std::int32_t rows, std::int32_t columns, std::int32_t cellSize);
    const UniformGrid& GetGrid() const { return grid_; }

    // Kept with the layer for its owner; the collision world does not use them.
    const ZibRect& GetRectangle() const { return rectangle_; }
    const Math::Vector2D& GetPoint() const { return point_; }

    // --- The step -------------------------------------------------------------------

    // The tests the step drives; the engine's own by default. The table must
    // outlive the layer's steps.
    void SetCollisionTests(const CollisionTestTable& tests) { tests_ = &tests; }
    const CollisionTestTable& GetCollisionTests() const { return *tests_; }

    // One collision step of dt seconds, in this order: every dynamic object
    // prepares itself (those without a frame sit the step out); tile maps
    // animate; the grid's dynamic entries are refilled from the swept
    // rectangles; the broad phase hands each pair that shares a cell, passes
    // the first object's CanCollid for the second's z and whose swept
    // rectangles overlap to one receiver (the first if it moved, else the
    // second if it moved, else the first, then the second, with
    // UpdateOnIdle; else nobody); receivers run their pair tests; each
    // object is tested once against every static shape listed in its cells
    // (swept when it moved, overlap when idle with UpdateOnIdle) and against
    // every tile map it accepts and overlaps; every object's old pose
    // becomes its current one.
    void Step(float dt);

    // --- Archive ----------------------------------------------------------------------

    // The four free-slot lists; per kind its capacity, count and every
    // occupied slot's object; the layer counter and this layer's index (1
    // byte each); the rectangle and point; the grid.
    void Write(Core::File& file) const;
    // Reads into a layer made for reading. Every count, capacity, free slot,
    // object and grid entry is checked; a free list naming a slot twice or
    // outside the handed-out slots, an object whose stored slot differs
    // from its place, or a grid cell listing a slot not handed out fails
    // the archive. Restores the counters the stored objects carry (the
    // caller keeps a copy if it must undo them). `storedLayerCounter` gets
    // the stored counter byte; the engine decides what to make of it.
    [[nodiscard]] bool Read(Core::File& file, std::int32_t& storedLayerCounter);

private:
    template <class T> bool RemoveFromSlots(ObjectSlots<T>& slots, SlotKind kind, std::uint32_t slot);
    CollisionId StoreDynamicObject(std::unique_ptr<DynamicObject> object, const Math::Vector2D& position);
    CollisionId StoreStaticCircle(std::unique_ptr<StaticCollisionCircle> circle);
    CollisionId StoreStaticLineSegment(std::unique_ptr<StaticCollisionLineSegment> segment);
    CollisionId StoreTileMap(std::unique_ptr<TileMap> map, const Math::Vector2D& position);
    void EnterStaticShapes();

    // Step stages.
    void FillGrid();
    void FindCandidates();
    void RunPairTests();
    void TestStaticShapes(DynamicObject& object);
    void TestTileMaps(DynamicObject& object);
    void ClearTestedFlags();

    ObjectSlots<DynamicObject> dynamicObjects_;
    ObjectSlots<StaticCollisionCircle> staticCircles_;
    ObjectSlots<StaticCollisionLineSegment> staticLineSegments_;
    ObjectSlots<TileMap> tileMaps_;
    std::int32_t index_ = 0;
    ZibRect rectangle_;
    Math::Vector2D point_;
    std::array<std::vector<std::int32_t>, SlotKindCount> freeSlots_;
    UniformGrid grid_;
    const CollisionTestTable* tests_;
    // The slots of the objects taking part in the current step.
    std::vector<std::uint32_t> stepSlots_;
};

} // namespace Collision2D

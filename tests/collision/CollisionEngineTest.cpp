#include "LayerTestSupport.h"

#include "collision/Collision_CollisionEngine.h"
#include "collision/Collision_Settings.h"
#include "collision/Collision_TileMap.h"

#include <memory>
#include <vector>

namespace
{

using namespace Collision2D;
using CollisionTest::BytesOf;
using CollisionTest::CollisionFixture;
using CollisionTest::MakeMover;
using CollisionTest::MakeSquareActor;
using CollisionTest::MakeStaticCircle;
using CollisionTest::MakeStaticSegment;
using CollisionTest::Patch;
using Math::Vector2D;
using Bytes = std::vector<std::uint8_t>;

class CollisionEngineTest : public CollisionFixture
{
protected:
    std::unique_ptr<CollisionActor> actor = MakeSquareActor(10);
};

TEST_F(CollisionEngineTest, LayerGridsUseCellsOfAtLeastFifty)
{
    CollisionEngine engine;
    EXPECT_EQ(engine.AddLayer(), 0);
    ASSERT_TRUE(engine.InitializeLayerGrid(0, {5, 6}, 640, 480, 10));
    const UniformGrid& grid = engine.GetLayer(0)->GetGrid();
    EXPECT_EQ(grid.GetCellSize(), 50.0f);
    EXPECT_EQ(grid.GetColumns(), 13);
    EXPECT_EQ(grid.GetRows(), 10);
    EXPECT_EQ(grid.GetOrigin(), Vector2D(5, 6));

    // A layer index equal to the count names no layer.
    EXPECT_FALSE(engine.InitializeLayerGrid(1, {}, 640, 480, 100));
    auto* circle = MakeStaticCircle({0, 0}, 5);
    EXPECT_EQ(engine.AddCollisionObject(circle, 1, {}), 0u);
    delete circle;
}

TEST_F(CollisionEngineTest, IdsThatNameNothingDoNothing)
{
    CollisionEngine engine;
    engine.AddLayer();
    const CollisionId dynamic = engine.AddCollisionObject(MakeMover(*actor, {}, {}), 0, {});
    const CollisionId circle = engine.AddCollisionObject(MakeStaticCircle({50, 50}, 5), 0, {});
    ASSERT_EQ(dynamic, PackCollisionId(9536, 0, 0));
    ASSERT_EQ(circle, PackCollisionId(536, 0, 0));
    engine.RemoveCollisionObject(engine.AddCollisionObject(MakeMover(*actor, {}, {}), 0, {}));

    const CollisionId nothing[] = {
        0,
        PackCollisionId(100, 0, 0),   // below the first base
        PackCollisionId(535, 0, 0),   // bases name nothing
        PackCollisionId(3535, 0, 0),  //
        PackCollisionId(8535, 0, 0),  //
        PackCollisionId(9535, 0, 0),  //
        PackCollisionId(6536, 0, 0),  // kind 4
        PackCollisionId(9536, 1, 0),  // no layer 1
        PackCollisionId(9537, 0, 0),  // removed slot
        PackCollisionId(9538, 0, 0),  // slot not handed out
        PackCollisionId(40000, 0, 0), // far beyond the count
        PackCollisionId(537, 0, 0),   // static slot not handed out
        PackCollisionId(8536, 0, 0),  // no tile map
    };
    for (const CollisionId id : nothing)
    {
        EXPECT_EQ(engine.GetCollisionObject(id), nullptr) << id;
        EXPECT_EQ(engine.GetCollisionResults(id), nullptr) << id;
        EXPECT_FALSE(engine.ObjectInCollision(id)) << id;
        EXPECT_FALSE(engine.SetObjectPosition(id, {1, 1})) << id;
        EXPECT_FALSE(engine.SetObjectOrientation(id, 1)) << id;
        EXPECT_EQ(engine.GetCurrentObjectBoundingRectangle(id), ZibRect()) << id;
        EXPECT_FALSE(engine.RemoveCollisionObject(id)) << id;
    }
    EXPECT_NE(engine.GetDynamicObject(dynamic), nullptr);
    EXPECT_NE(engine.GetStaticCircle(circle), nullptr);
    // A static circle has no result block.
    EXPECT_EQ(engine.GetCollisionResults(circle), nullptr);
    EXPECT_FALSE(engine.RemoveStaticShapes(1));
}

TEST_F(CollisionEngineTest, SetObjectZCollisionAnswersTheIdWithTheStoredZ)
{
    CollisionEngine engine;
    engine.AddLayer();
    const CollisionId dynamic = engine.AddCollisionObject(MakeMover(*actor, {}, {}), 0, {});
    const CollisionId segment = engine.AddCollisionObject(MakeStaticSegment({0, 0}, {10, 0}), 0, {});
    struct Case
    {
        CollisionId id;
        std::uint8_t z;
        CollisionId expected;
    };
    const Case cases[] = {
        {dynamic, 255, PackCollisionId(9536, 0, 254)},
        {segment, 255, PackCollisionId(3536, 0, 255)},
        {0, 7, 0},
        {PackCollisionId(100, 3, 9), 7, PackCollisionId(100, 3, 9)},
        {PackCollisionId(6540, 0, 1), 7, PackCollisionId(6540, 0, 1)},
        {PackCollisionId(6535, 0, 1), 7, 0},
        {PackCollisionId(535, 0, 1), 7, 0},
        {PackCollisionId(9540, 0, 0), 7, 0},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(engine.SetObjectZCollision(c.id, c.z), c.expected) << c.id;
    }
    EXPECT_EQ(engine.GetDynamicObject(dynamic)->GetZ_Collision(), 254);
}

TEST_F(CollisionEngineTest, ClonesTakeNewSlotsOwnersAndPlaces)
{
    CollisionEngine engine;
    engine.AddLayer();
    DynamicObject* source = MakeMover(*actor, {}, {});
    source->SetOwner(1);
    const CollisionId original = engine.AddCollisionObject(source, 0, {3, 4});
    const CollisionId copy = engine.CloneCollisionObject(original, {30, 40}, 2);
    ASSERT_EQ(IndexOf(copy), 9537);
    const DynamicObject* cloned = engine.GetDynamicObject(copy);
    EXPECT_EQ(cloned->GetOwner(), 2u);
    EXPECT_EQ(cloned->GetPosition(), Vector2D(30, 40));
    EXPECT_EQ(source->GetOwner(), 1u);

    const CollisionId circle = engine.AddCollisionObject(MakeStaticCircle({50, 50}, 5, 3), 0, {});
    const CollisionId circleCopy = engine.CloneCollisionObject(circle, {}, 0);
    EXPECT_EQ(circleCopy, PackCollisionId(537, 0, 3));
    EXPECT_EQ(engine.GetStaticCircle(circleCopy)->GetSerial(),
              engine.GetStaticCircle(circle)->GetSerial() + 1);
    EXPECT_EQ(engine.GetStaticCircle(circleCopy)->GetSlot(), 2u);

    EXPECT_EQ(engine.CloneCollisionObject(PackCollisionId(9536, 1, 0), {}, 0), 0u);
    EXPECT_EQ(engine.CloneCollisionObject(PackCollisionId(9535, 0, 0), {}, 0), 0u);
    EXPECT_EQ(engine.CloneCollisionObject(PackCollisionId(9599, 0, 0), {}, 0), 0u);
    EXPECT_EQ(engine.CloneCollisionObject(PackCollisionId(100, 0, 5), {}, 0), PackCollisionId(100, 0, 0));
}

TEST_F(CollisionEngineTest, ResultsArePolledById)
{
    CollisionEngine engine;
    engine.AddLayer();
    const CollisionId a = engine.AddCollisionObject(MakeMover(*actor, {}, {}, 0), 0, {0, 0});
    const CollisionId b = engine.AddCollisionObject(MakeMover(*actor, {}, {}, 0), 0, {5, 0});
    ASSERT_TRUE(engine.SetObjectOldPosition(a, {-1, 0}));
    engine.Update(0.016f);
    EXPECT_TRUE(engine.ObjectInCollision(a));
    EXPECT_TRUE(engine.ObjectInCollision(b));
    EXPECT_EQ(engine.GetCollisionResults(a)->GetRectangleContact(0).id, b);
    EXPECT_EQ(engine.GetCurrentObjectBoundingRectangle(b), ZibRect(10, -5, 15, -10));
    EXPECT_EQ(engine.GetObjectBoundingRectangle(b), ZibRect(10, -10, 10, -10));
    // Nothing moves in the next step: the records are gone.
    engine.Update(0.016f);
    EXPECT_FALSE(engine.ObjectInCollision(a));
}

TEST_F(CollisionEngineTest, ClearStartsTheCountersAgain)
{
    CollisionEngine engine;
    engine.AddLayer();
    engine.AddLayer();
    engine.AddCollisionObject(MakeStaticCircle({}, 1), 1, {});
    delete new TileMap;
    engine.Clear();
    EXPECT_EQ(engine.GetLayerCount(), 0u);
    EXPECT_EQ(engine.AddLayer(), 0);
    EXPECT_EQ(engine.GetLayer(0)->GetIndex(), 0);
    StaticCollisionCircle* circle = MakeStaticCircle({}, 1);
    EXPECT_EQ(circle->GetSerial(), 1u);
    EXPECT_EQ(TileMap().GetRunningId(), 1u);
    delete circle;
}

// --- Archive --------------------------------------------------------------------------------

// Two layers holding every kind, with removed slots of every kind and the
// records of one step.
void Populate(CollisionEngine& engine, CollisionActor& actor)
{
    engine.AddLayer();
    engine.AddLayer();
    engine.InitializeLayerGrid(1, {-50, -50}, 400, 300, 60);
    for (std::uint8_t layer = 0; layer < 2; ++layer)
    {
        engine.AddCollisionObject(MakeMover(actor, {0, 0}, {4, 0}, 0), layer, {4, 0});
        const CollisionId removed = engine.AddCollisionObject(MakeMover(actor, {}, {}), layer, {});
        engine.AddCollisionObject(MakeMover(actor, {10, 0}, {12, 1}, 1), layer, {12, 1});
        engine.RemoveCollisionObject(removed);
        engine.AddCollisionObject(MakeStaticCircle({100, 100}, 30, 2), layer, {});
        engine.RemoveCollisionObject(engine.AddCollisionObject(MakeStaticCircle({10, 10}, 3), layer, {}));
        engine.AddCollisionObject(MakeStaticSegment({0, 50}, {200, 60}), layer, {});
        engine.RemoveCollisionObject(engine.AddCollisionObject(MakeStaticSegment({0, 0}, {1, 1}), layer, {}));
        TileMap* map = CollisionTest::MakeAnimatedMap();
        map->UseCell(2, 1, 1);
        engine.RemoveCollisionObject(engine.AddCollisionObject(new ("test", __LINE__) TileMap, layer, {}));
        engine.AddCollisionObject(map, layer, {5, 5});
    }
    engine.Update(0.3f);
}

Bytes RoundTrip(const Bytes& bytes)
{
    CollisionEngine read;
    Core::MemoryFile in(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    EXPECT_TRUE(read.Read(in));
    EXPECT_EQ(in.GetBytesLeft(), 0u);
    return BytesOf(read);
}

TEST_F(CollisionEngineTest, SaveLoadSaveIsByteIdentical)
{
    CollisionEngine engine;
    Populate(engine, *actor);
    ASSERT_GT(engine.GetCollisionResults(PackCollisionId(9536, 0, 0))->GetRectangleContactCount(), 0);
    const Bytes saved = BytesOf(engine);
    EXPECT_EQ(RoundTrip(saved), saved);

    // The removed slots stay empty: the read world names the same objects.
    CollisionEngine read;
    Core::MemoryFile in(saved.data(), static_cast<std::uint32_t>(saved.size()));
    ASSERT_TRUE(read.Read(in));
    EXPECT_EQ(read.GetCollisionObject(PackCollisionId(9537, 1, 0)), nullptr);
    EXPECT_NE(read.GetCollisionObject(PackCollisionId(9538, 1, 0)), nullptr);
    EXPECT_EQ(read.GetCollisionObject(PackCollisionId(537, 1, 0)), nullptr);
    EXPECT_EQ(read.GetStaticCircle(PackCollisionId(536, 1, 0))->GetSlot(), 1u);
    EXPECT_EQ(read.GetTileMap(PackCollisionId(8537, 1, 0))->GetSlot(), 2u);
    EXPECT_EQ(read.GetTileMap(PackCollisionId(8537, 1, 0))->GetCell(2, 1)->Id(), 7);
    // The next dynamic object takes the freed slot.
    EXPECT_EQ(IndexOf(read.AddCollisionObject(MakeMover(*actor, {}, {}), 1, {})), 9537);

    // Also after a whole kind of static shapes went.
    engine.RemoveStaticShapes(0);
    const Bytes afterRemoval = BytesOf(engine);
    EXPECT_EQ(RoundTrip(afterRemoval), afterRemoval);
}

TEST_F(CollisionEngineTest, ReadReplacesTheWorldAndItsCounters)
{
    CollisionEngine saved;
    saved.AddLayer();
    saved.AddCollisionObject(MakeStaticCircle({}, 1), 0, {});
    saved.AddCollisionObject(MakeStaticCircle({}, 1), 0, {});
    const Bytes bytes = BytesOf(saved);

    CollisionEngine engine;
    Populate(engine, *actor);
    Core::MemoryFile in(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    ASSERT_TRUE(engine.Read(in));
    EXPECT_EQ(engine.GetLayerCount(), 1u);
    EXPECT_EQ(GetLayerCounter(), 1);
    EXPECT_EQ(GetStaticCircleSerial(), 3u);
    EXPECT_EQ(GetTileMapSerial(), 1u);
    EXPECT_EQ(engine.AddLayer(), 1);
}

// A failed read leaves the engine, its objects and the counters as they were.
void ExpectRejected(const Bytes& bytes, const char* what)
{
    CollisionEngine engine;
    std::unique_ptr<CollisionActor> actor = MakeSquareActor(10);
    Populate(engine, *actor);
    SetMaximumInterpolationValue(9);
    const Bytes before = BytesOf(engine);
    const std::uint32_t serial = GetStaticCircleSerial();
    const std::int32_t counter = GetLayerCounter();
    Core::MemoryFile in(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    EXPECT_FALSE(engine.Read(in)) << what;
    EXPECT_TRUE(in.Failed()) << what;
    EXPECT_EQ(BytesOf(engine), before) << what;
    EXPECT_EQ(GetStaticCircleSerial(), serial) << what;
    EXPECT_EQ(GetLayerCounter(), counter) << what;
    EXPECT_EQ(GetMaximumInterpolationValue(), 9) << what;
}

TEST_F(CollisionEngineTest, BadLayerBytesCountsAndSlotsAreRejected)
{
    // One empty layer: count (4); four empty free lists (16); four kinds of
    // capacity and count (32); then the counter byte at 52, the index at 53.
    CollisionEngine empty;
    empty.AddLayer();
    const Bytes emptyBytes = BytesOf(empty);
    ASSERT_EQ(emptyBytes[52], 1);
    ASSERT_EQ(emptyBytes[53], 0);
    Bytes wrongIndex = emptyBytes;
    wrongIndex[53] = 1;
    ExpectRejected(wrongIndex, "layer index not its position");
    Bytes lowCounter = emptyBytes;
    lowCounter[52] = 0;
    ExpectRejected(lowCounter, "layer counter below the layers");
    Bytes countAtCapacity = emptyBytes;
    Patch(countAtCapacity, 24, 25); // dynamic count = capacity
    ExpectRejected(countAtCapacity, "count at the capacity");
    Bytes noCount = emptyBytes;
    Patch(noCount, 32, 9); // static circle count 9: eight circles missing
    ExpectRejected(noCount, "count with missing objects");
    Bytes manyLayers = emptyBytes;
    Patch(manyLayers, 0, 256);
    ExpectRejected(manyLayers, "more layers than bytes");

    // Dynamic slots 1 (removed) and 2: free list count at 4, its entry at 8.
    CollisionEngine removed;
    removed.AddLayer();
    const CollisionId first = removed.AddCollisionObject(MakeMover(*actor, {}, {}), 0, {});
    removed.AddCollisionObject(MakeMover(*actor, {}, {}), 0, {});
    removed.RemoveCollisionObject(first);
    const Bytes removedBytes = BytesOf(removed);
    ASSERT_EQ(removedBytes[4], 1);
    for (const std::int32_t slot : {0, 2, 3, -1})
    {
        Bytes badFree = removedBytes;
        Patch(badFree, 8, slot);
        ExpectRejected(badFree, "free slot naming no free slot");
    }

    // A removed static circle stays listed in the grid; without its slot
    // handed out the grid names a slot the layer does not have.
    CollisionEngine listed;
    listed.AddLayer();
    listed.RemoveCollisionObject(listed.AddCollisionObject(MakeStaticCircle({50, 50}, 10), 0, {}));
    Bytes gridSlot = BytesOf(listed);
    ASSERT_EQ(gridSlot[8], 1); // the circle free list: one entry, slot 1
    Patch(gridSlot, 8, 0);
    gridSlot.erase(gridSlot.begin() + 12, gridSlot.begin() + 16);
    Patch(gridSlot, 32, 1); // circle count 1
    ExpectRejected(gridSlot, "grid naming a slot not handed out");
}

TEST_F(CollisionEngineTest, EveryTruncationIsRejected)
{
    CollisionEngine engine;
    engine.AddLayer();
    engine.AddCollisionObject(MakeMover(*actor, {}, {1, 0}), 0, {1, 0});
    engine.AddCollisionObject(MakeStaticSegment({0, 0}, {50, 50}), 0, {});
    auto* map = new ("test", __LINE__) TileMap;
    map->SetGrid(2, 2, 8, 1);
    engine.AddCollisionObject(map, 0, {});
    const Bytes bytes = BytesOf(engine);
    for (std::size_t length = 0; length < bytes.size(); length += 7)
    {
        ExpectRejected(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length)),
                       "truncated");
    }
}

} // namespace

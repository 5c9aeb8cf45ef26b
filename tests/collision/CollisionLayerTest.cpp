#include "LayerTestSupport.h"

#include "collision/Collision_CollisionLayer.h"
#include "collision/Collision_TileMap.h"

#include <memory>
#include <vector>

namespace
{

using namespace Collision2D;
using CollisionTest::AddMover;
using CollisionTest::CandidatesOf;
using CollisionTest::CollisionFixture;
using CollisionTest::MakeSquareActor;
using CollisionTest::MakeStaticCircle;
using CollisionTest::MakeStaticSegment;
using Math::Vector2D;
using Slots = std::vector<std::uint32_t>;

// Counts of the static-shape and tile-map tests a step ran.
struct StaticCalls
{
    int sweptCircle = 0;
    int overlapCircle = 0;
    int sweptSegment = 0;
    int overlapSegment = 0;
    int tileMap = 0;
};
StaticCalls calls;

CollisionTestTable CountingTests()
{
    CollisionTestTable tests;
    tests.sweptStaticCircle = [](DynamicObject&, const StaticCollisionCircle&, std::uint8_t)
    { ++calls.sweptCircle; };
    tests.overlapStaticCircle = [](DynamicObject&, const StaticCollisionCircle&, std::uint8_t)
    { ++calls.overlapCircle; };
    tests.sweptStaticLineSegment = [](DynamicObject&, const StaticCollisionLineSegment&, std::uint8_t)
    { ++calls.sweptSegment; };
    tests.overlapStaticLineSegment = [](DynamicObject&, const StaticCollisionLineSegment&, std::uint8_t)
    { ++calls.overlapSegment; };
    tests.tileMap = [](TileMap&, DynamicObject&, std::uint8_t)
    {
        ++calls.tileMap;
        return false;
    };
    return tests;
}

class CollisionLayerTest : public CollisionFixture
{
protected:
    void SetUp() override
    {
        CollisionFixture::SetUp();
        calls = {};
    }

    CollisionLayer layer;
    std::unique_ptr<CollisionActor> actor = MakeSquareActor(60);
};

// --- Storage ------------------------------------------------------------------------------

TEST_F(CollisionLayerTest, DynamicSlotsGrowByTwentyFiveAndRemovedSlotsAreReused)
{
    std::vector<DynamicObject*> objects;
    for (int i = 0; i < 23; ++i)
    {
        objects.push_back(AddMover(layer, *actor, {}, {}));
    }
    EXPECT_EQ(layer.GetCapacity(CollisionLayer::DynamicObjects), 25);
    objects.push_back(AddMover(layer, *actor, {}, {}));
    EXPECT_EQ(layer.GetCount(CollisionLayer::DynamicObjects), 25);
    EXPECT_EQ(layer.GetCapacity(CollisionLayer::DynamicObjects), 50);
    for (std::uint32_t slot = 1; slot <= 24; ++slot)
    {
        EXPECT_EQ(layer.GetDynamicObject(slot), objects[slot - 1]);
        EXPECT_EQ(objects[slot - 1]->GetSlot(), static_cast<std::int32_t>(slot));
    }

    ASSERT_TRUE(layer.RemoveDynamicObject(3));
    EXPECT_FALSE(layer.RemoveDynamicObject(3));
    EXPECT_EQ(layer.GetFreeSlots(CollisionLayer::DynamicObjects), std::vector<std::int32_t>{3});
    auto* reused = CollisionTest::MakeMover(*actor, {}, {7, 8});
    reused->SetZCollision(4);
    const CollisionId id = layer.AddCollisionObject(reused, {7, 8});
    EXPECT_EQ(IndexOf(id), 9538);
    EXPECT_EQ(ZOf(id), 4);
    EXPECT_EQ(LayerOf(id), layer.GetIndex());
    EXPECT_EQ(layer.GetDynamicObject(3), reused);
    EXPECT_EQ(reused->GetPosition(), Vector2D(7, 8));
    EXPECT_EQ(layer.GetCount(CollisionLayer::DynamicObjects), 25);
    EXPECT_TRUE(layer.GetFreeSlots(CollisionLayer::DynamicObjects).empty());
}

TEST_F(CollisionLayerTest, RefusedObjectsStayTheCallers)
{
    MainCollisionObject reserved(CollisionKind::Reserved4);
    MainCollisionObject bare;
    // A kind code that does not match the object's class.
    MainCollisionObject impostor(CollisionKind::DynamicObject);
    EXPECT_EQ(layer.AddCollisionObject(nullptr, {}), 0u);
    EXPECT_EQ(layer.AddCollisionObject(&reserved, {}), 0u);
    EXPECT_EQ(layer.AddCollisionObject(&bare, {}), 0u);
    EXPECT_EQ(layer.AddCollisionObject(&impostor, {}), 0u);
    EXPECT_EQ(layer.GetCount(CollisionLayer::DynamicObjects), 1);
}

TEST_F(CollisionLayerTest, StaticShapesKeepTheirSlotsUntilTheWholeKindGoes)
{
    const CollisionId first = layer.AddCollisionObject(MakeStaticCircle({50, 50}, 10, 9), {});
    const CollisionId second = layer.AddCollisionObject(MakeStaticCircle({250, 50}, 10), {});
    EXPECT_EQ(first, PackCollisionId(536, layer.GetIndex(), 9));
    EXPECT_EQ(IndexOf(second), 537);
    EXPECT_EQ(layer.GetStaticCircle(1)->GetSlot(), 1u);
    EXPECT_TRUE(layer.GetGrid().GetCell(0, 0).staticCircles.Contains(1));

    // A removed shape's slot is not handed out again.
    ASSERT_TRUE(layer.RemoveStaticCircle(1));
    EXPECT_EQ(layer.GetFreeSlots(CollisionLayer::StaticCircles), std::vector<std::int32_t>{1});
    EXPECT_EQ(IndexOf(layer.AddCollisionObject(MakeStaticCircle({50, 50}, 10), {})), 538);

    // After the whole kind goes the layer takes shapes afresh.
    layer.RemoveStaticCircles();
    EXPECT_EQ(layer.GetCount(CollisionLayer::StaticCircles), 1);
    EXPECT_EQ(layer.GetCapacity(CollisionLayer::StaticCircles), CollisionLayer::InitialStaticCapacity);
    EXPECT_TRUE(layer.GetFreeSlots(CollisionLayer::StaticCircles).empty());
    EXPECT_FALSE(layer.GetGrid().GetCell(2, 0).staticCircles.Contains(2));
    EXPECT_EQ(IndexOf(layer.AddCollisionObject(MakeStaticCircle({450, 50}, 10), {})), 536);
    EXPECT_TRUE(layer.GetGrid().GetCell(4, 0).staticCircles.Contains(1));
    EXPECT_FALSE(layer.GetGrid().GetCell(0, 0).staticCircles.Contains(1));
}

TEST_F(CollisionLayerTest, ANewGridListsTheShapesTheLayerHolds)
{
    layer.AddCollisionObject(MakeStaticSegment({10, 10}, {290, 10}), {});
    ASSERT_TRUE(layer.InitializeGrid({}, 1000, 1000, 20, 20, 50));
    for (int column = 0; column <= 5; ++column)
    {
        EXPECT_TRUE(layer.GetGrid().GetCell(column, 0).staticLineSegments.Contains(1)) << column;
    }
    EXPECT_FALSE(layer.InitializeGrid({}, 100, 100, 0, 2, 50));
    EXPECT_EQ(layer.GetGrid().GetColumns(), 20);
}

// --- Broad phase --------------------------------------------------------------------------

TEST_F(CollisionLayerTest, APairSharingThreeCellsIsTestedOnceWithTheLowerSlotReceiving)
{
    // Both rectangles span columns 0 to 2 of row 0.
    DynamicObject* a = AddMover(layer, *actor, {150, 60}, {151, 60}, 0);
    DynamicObject* b = AddMover(layer, *actor, {155, 60}, {156, 60}, 0);
    layer.Step(0.016f);
    EXPECT_EQ(a->GetCellRange().firstColumn, 0);
    EXPECT_EQ(a->GetCellRange().lastColumn, 2);
    EXPECT_EQ(CandidatesOf(*a), Slots{2});
    EXPECT_EQ(CandidatesOf(*b), Slots{});
    EXPECT_EQ(a->GetCollisionResults().GetRectangleContactCount(), 1);
    EXPECT_EQ(b->GetCollisionResults().GetRectangleContactCount(), 1);
}

TEST_F(CollisionLayerTest, OnlyTheFirstObjectsFilterDecides)
{
    struct Case
    {
        bool firstAcceptsSecond;
        bool secondAcceptsFirst;
        bool paired;
    };
    for (const Case& c : {Case{false, true, false}, Case{true, false, true}})
    {
        CollisionLayer fresh;
        DynamicObject* a = AddMover(fresh, *actor, {100, 60}, {101, 60});
        DynamicObject* b = AddMover(fresh, *actor, {120, 60}, {121, 60});
        b->SetZCollision(5);
        a->SetCanCollid(5, c.firstAcceptsSecond);
        b->SetCanCollid(0, c.secondAcceptsFirst);
        fresh.Step(0.016f);
        EXPECT_EQ(CandidatesOf(*a), c.paired ? Slots{2} : Slots{}) << c.firstAcceptsSecond;
        EXPECT_EQ(CandidatesOf(*b), Slots{});
    }
}

TEST_F(CollisionLayerTest, TheReceiverIsAMovingObjectOrAnIdleOneThatAsks)
{
    struct Case
    {
        bool aMoves;
        bool bMoves;
        bool aIdleTests;
        bool bIdleTests;
        int receiver; // 0 nobody, 1 a, 2 b
    };
    const Case cases[] = {
        {true, true, false, false, 1},  {false, true, true, false, 2},   {false, false, true, true, 1},
        {false, false, false, true, 2}, {false, false, false, false, 0},
    };
    for (const Case& c : cases)
    {
        CollisionLayer fresh;
        DynamicObject* a = AddMover(fresh, *actor, {100, 60}, {c.aMoves ? 101.0f : 100.0f, 60});
        DynamicObject* b = AddMover(fresh, *actor, {120, 60}, {c.bMoves ? 121.0f : 120.0f, 60});
        a->SetUpdateOnIdle(c.aIdleTests);
        b->SetUpdateOnIdle(c.bIdleTests);
        fresh.Step(0.016f);
        EXPECT_EQ(CandidatesOf(*a), c.receiver == 1 ? Slots{2} : Slots{}) << c.aMoves << c.bMoves;
        EXPECT_EQ(CandidatesOf(*b), c.receiver == 2 ? Slots{1} : Slots{}) << c.aMoves << c.bMoves;
    }
}

TEST_F(CollisionLayerTest, ObjectsWithoutAFrameSitTheStepOut)
{
    DynamicObject* a = AddMover(layer, *actor, {100, 60}, {101, 60});
    auto* frameless = new ("test", __LINE__) DynamicObject;
    frameless->SetCanCollid(0, true);
    frameless->SetPosition({100, 60});
    ASSERT_NE(layer.AddCollisionObject(frameless, {100, 60}), 0u);
    layer.Step(0.016f);
    EXPECT_EQ(CandidatesOf(*a), Slots{});
    // Its pose is left for its owner.
    EXPECT_EQ(frameless->GetOldPosition(), Vector2D());
    EXPECT_EQ(a->GetOldPosition(), Vector2D(101, 60));
}

// --- Static shapes and tile maps ------------------------------------------------------------

TEST_F(CollisionLayerTest, AStaticCircleInFourCellsIsTestedOncePerObject)
{
    const CollisionTestTable tests = CountingTests();
    layer.SetCollisionTests(tests);
    // Its rim passes through cells (1, 1), (2, 1), (1, 2) and (2, 2).
    layer.AddCollisionObject(MakeStaticCircle({200, 200}, 80), {});
    layer.AddCollisionObject(MakeStaticSegment({110, 110}, {290, 290}), {});
    DynamicObject* mover = AddMover(layer, *actor, {190, 200}, {210, 200});
    layer.Step(0.016f);
    const DynamicObject::CellRange& range = mover->GetCellRange();
    EXPECT_EQ(range.lastColumn - range.firstColumn, 1);
    EXPECT_EQ(range.lastRow - range.firstRow, 1);
    EXPECT_EQ(calls.sweptCircle, 1);
    EXPECT_EQ(calls.sweptSegment, 1);
    EXPECT_EQ(calls.overlapCircle, 0);

    // Idle, it is tested only on request, with the overlap tests.
    layer.Step(0.016f);
    EXPECT_EQ(calls.sweptCircle + calls.overlapCircle, 1);
    mover->SetUpdateOnIdle(true);
    layer.Step(0.016f);
    EXPECT_EQ(calls.overlapCircle, 1);
    EXPECT_EQ(calls.overlapSegment, 1);
}

TEST_F(CollisionLayerTest, RectangleObjectsAndFilteredShapesRunNoStaticTest)
{
    const CollisionTestTable tests = CountingTests();
    layer.SetCollisionTests(tests);
    StaticCollisionCircle* circle = MakeStaticCircle({200, 200}, 80);
    layer.AddCollisionObject(circle, {});
    AddMover(layer, *actor, {190, 200}, {210, 200}, 0);
    layer.Step(0.016f);
    EXPECT_EQ(calls.sweptCircle, 0);
    EXPECT_TRUE(circle->IsTested());

    CollisionLayer filtered;
    filtered.SetCollisionTests(tests);
    filtered.AddCollisionObject(MakeStaticCircle({200, 200}, 80, 3), {});
    AddMover(filtered, *actor, {190, 200}, {210, 200});
    filtered.Step(0.016f);
    EXPECT_EQ(calls.sweptCircle, 0);
}

TEST_F(CollisionLayerTest, TileMapsAreTestedAgainstEveryObjectThatOverlapsThem)
{
    const CollisionTestTable tests = CountingTests();
    layer.SetCollisionTests(tests);
    auto* map = new ("test", __LINE__) TileMap;
    map->SetBoundingRectangle({100, 0, 100, 0});
    ASSERT_EQ(IndexOf(layer.AddCollisionObject(map, {50, 50})), 8536);
    EXPECT_EQ(map->GetSlot(), 1u);
    // Idle without UpdateOnIdle, overlapping the map.
    AddMover(layer, *actor, {120, 120}, {120, 120});
    // Far away.
    AddMover(layer, *actor, {500, 500}, {501, 500});
    layer.Step(0.016f);
    EXPECT_EQ(map->GetCurrentBoundingRectangle(), ZibRect(150, 50, 150, 50));
    EXPECT_EQ(calls.tileMap, 1);
}

} // namespace

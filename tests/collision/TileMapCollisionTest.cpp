#include "LayerTestSupport.h"

#include "collision/Collision_CollisionEngine.h"
#include "collision/Collision_TileMap.h"
#include "collision/Collision_TileMapTests.h"

#include <memory>
#include <tuple>
#include <vector>

namespace
{

using namespace Collision2D;
using CollisionTest::CollisionFixture;
using CollisionTest::MakeMover;
using Math::Vector2D;

constexpr float Near = 1e-4f;

// An actor with a square of half side 4 and a hotspot at its origin.
std::unique_ptr<CollisionActor> MakeProbeActor()
{
    auto actor = std::make_unique<CollisionActor>();
    auto* animation = new ("test", __LINE__) CollisionAnimation;
    auto* frame = new ("test", __LINE__) CollisionFrame;
    frame->SetBoundingRectangle({4, -4, 4, -4}, false);
    frame->AddHotSpot({0, 0}, false);
    animation->AddCollisionFrame(frame);
    actor->AddCollisionAnimation(animation);
    return actor;
}

using Cell = std::tuple<int, int, int>; // column, row, side

std::vector<Cell> StaticCells(const TMAP_C& record)
{
    std::vector<Cell> cells;
    for (std::uint32_t i = 0; i < record.currentStaticIdsNumber; ++i)
    {
        const TMAP_DATA_BASE& entry = record.staticEntries[i];
        cells.emplace_back(entry.cellX, entry.cellY, entry.collisionSide);
    }
    return cells;
}

std::vector<Cell> NewCells(const TMAP_C& record)
{
    std::vector<Cell> cells;
    for (std::uint32_t i = 0; i < record.currentNewIdsNumber; ++i)
    {
        const TMAP_DATA& entry = record.newEntries[i];
        cells.emplace_back(entry.cellX, entry.cellY, entry.collisionSide);
    }
    return cells;
}

class TileMapCollisionTest : public CollisionFixture
{
protected:
    void SetUp() override
    {
        CollisionFixture::SetUp();
        ASSERT_TRUE(map.SetGrid(10, 10, 10, 1));
        const std::int32_t images[] = {0};
        const float durations[] = {1.0f};
        const std::uint8_t ids[] = {42};
        map.GetTile(0)->SetFrames(images, durations, ids);
        for (int column = 0; column < 10; ++column)
        {
            for (int row = 0; row < 10; ++row)
            {
                map.UseCell(column, row, 0);
            }
        }
        map.SetSlot(3);
        map.SetZCollision(9);
        map.SetOwner(0x77);
    }

    // Prepares an object that moves from `from` to `to` and tests it.
    DynamicObject& Run(Vector2D from, Vector2D to, bool rectangle = true)
    {
        object = std::unique_ptr<DynamicObject>(MakeMover(*actor, from, to));
        object->SetBoundingRectangleCheckingTileMap(rectangle);
        EXPECT_TRUE(object->PreUpdate());
        TestTileMap(map, *object, 2);
        return *object;
    }

    const TMAP_C& Record() const { return object->GetCollisionResults().GetTileMapContact(0); }

    TileMap map;
    std::unique_ptr<CollisionActor> actor = MakeProbeActor();
    std::unique_ptr<DynamicObject> object;
};

TEST_F(TileMapCollisionTest, AnObjectThatStaysInItsCellsTouchesThemOnAllFourSides)
{
    DynamicObject& still = Run({25, 25}, {25, 25});
    ASSERT_EQ(still.GetCollisionResults().GetTileMapContactCount(), 1);
    EXPECT_EQ(Record().id, PackCollisionId(8538, 2, 9));
    EXPECT_EQ(Record().otherOwner, 0x77u);
    EXPECT_EQ(Record().currentNewIdsNumber, 0u);
    // Bottom, top, left, right.
    EXPECT_EQ(StaticCells(Record()), (std::vector<Cell>{{2, 2, 6}, {2, 2, 3}, {2, 2, 2}, {2, 2, 1}}));
    EXPECT_EQ(Record().staticEntries[0].id, 42);
}

TEST_F(TileMapCollisionTest, MovingRightEntersTheNewColumnOverItsRows)
{
    // From columns 2..2 to 2..3, rows 1..2.
    Run({25, 20}, {31, 20});
    EXPECT_EQ(NewCells(Record()), (std::vector<Cell>{{3, 1, 1}, {3, 2, 1}}));
    const TMAP_DATA& entry = Record().newEntries[0];
    EXPECT_EQ(entry.normal, Vector2D(-1, 0));
    // Its right side (35) put on the cell's left boundary (30).
    EXPECT_NEAR(entry.position.x, 26.0f, Near);
    EXPECT_EQ(entry.position.y, 20.0f);
    EXPECT_EQ(entry.id, 42);
    EXPECT_EQ(entry.hotSpotIndex, 0);
    // Top, left, bottom.
    EXPECT_EQ(StaticCells(Record()),
              (std::vector<Cell>{{2, 2, 3}, {3, 2, 3}, {2, 1, 2}, {2, 2, 2}, {2, 1, 6}, {3, 1, 6}}));
}

TEST_F(TileMapCollisionTest, ADiagonalMoveLeavesOutTheCornerCell)
{
    // Up and right from cell (2, 2) into (3, 3).
    Run({25, 25}, {31, 31});
    EXPECT_EQ(NewCells(Record()), (std::vector<Cell>{{3, 2, 1}, {2, 3, 3}}));
    EXPECT_EQ(Record().newEntries[1].normal, Vector2D(0, -1));
    // Left and bottom sides.
    EXPECT_EQ(StaticCells(Record()), (std::vector<Cell>{{2, 2, 2}, {2, 3, 2}, {2, 2, 6}, {3, 2, 6}}));
}

TEST_F(TileMapCollisionTest, AMapWithoutUsedCellsRecordsNothing)
{
    TileMap empty;
    ASSERT_TRUE(empty.SetGrid(10, 10, 10, 0));
    auto probe = std::unique_ptr<DynamicObject>(MakeMover(*actor, {25, 25}, {31, 31}));
    ASSERT_TRUE(probe->PreUpdate());
    EXPECT_FALSE(TestTileMap(empty, *probe, 0));
    EXPECT_EQ(probe->GetCollisionResults().GetTileMapContactCount(), 0);
}

TEST_F(TileMapCollisionTest, AHotSpotEnteringAUsedCellAddsOneEntry)
{
    for (const bool used : {true, false})
    {
        if (!used)
        {
            map.GetCell(3, 2)->isUsed = false;
        }
        // From column 2 into column 3.
        DynamicObject& probe = Run({25, 25}, {35, 25}, false);
        ASSERT_EQ(probe.GetCollisionResults().GetTileMapContactCount(), used ? 1 : 0);
        if (used)
        {
            EXPECT_EQ(NewCells(Record()), (std::vector<Cell>{{3, 2, 1}}));
            EXPECT_EQ(Record().newEntries[0].hotSpotIndex, 0);
            EXPECT_NEAR(Record().newEntries[0].position.x, 30.0f, Near);
            EXPECT_EQ(Record().currentStaticIdsNumber, 0u);
        }
    }
}

TEST_F(TileMapCollisionTest, AStillHotSpotTouchesItsCell)
{
    Run({25, 25}, {25, 25}, false);
    EXPECT_EQ(StaticCells(Record()), (std::vector<Cell>{{2, 2, 0}}));
    EXPECT_EQ(Record().currentNewIdsNumber, 0u);
}

TEST_F(TileMapCollisionTest, ADiagonalHotSpotEntersTheSideNeighbourItCrossesFirst)
{
    // From (25, 25) to (37, 33): the path meets x = 30 at y = 28.3, below
    // the corner (30, 30), so it crosses into (3, 2) first, then up into
    // the end cell (3, 3) at x = 32.5.
    Run({25, 25}, {37, 33}, false);
    EXPECT_EQ(NewCells(Record()), (std::vector<Cell>{{3, 2, 1}, {3, 3, 3}}));
    EXPECT_NEAR(Record().newEntries[0].position.x, 30.0f, Near);
    EXPECT_NEAR(Record().newEntries[0].position.y, 25.0f + 5.0f * 8.0f / 12.0f, Near);
    EXPECT_NEAR(Record().newEntries[1].position.x, 32.5f, Near);
    EXPECT_NEAR(Record().newEntries[1].position.y, 30.0f, Near);

    // Through the corner itself: one entry with both normals.
    Run({25, 25}, {35, 35}, false);
    EXPECT_EQ(NewCells(Record()), (std::vector<Cell>{{3, 3, 4}}));
    EXPECT_EQ(Record().newEntries[0].normal, Vector2D(-1, -1));
}

TEST_F(TileMapCollisionTest, ScriptQueriesListTheIdsAlongSidesAndBesideHotSpots)
{
    map.GetCell(3, 2)->isUsed = false;
    DynamicObject& probe = Run({25, 20}, {31, 20});
    std::vector<std::uint8_t> ids;
    GetCellIdsAlongSides(map, probe, 1, ids); // top row: columns 2 and 3 of row 2
    EXPECT_EQ(ids.size(), 1u);
    GetCellIdsAlongSides(map, probe, 6, ids); // bottom row, then the right column
    EXPECT_EQ(ids.size(), 3u);
    GetCellIdsAlongSides(map, probe, 9, ids);
    EXPECT_TRUE(ids.empty());
    GetCellIdsOfHotSpots(map, probe, static_cast<std::int32_t>(CellDirection::Above), ids);
    EXPECT_EQ(ids, std::vector<std::uint8_t>{42});
}

TEST_F(TileMapCollisionTest, TheLayerTestsObjectsAgainstItsMaps)
{
    CollisionEngine engine;
    engine.AddLayer();
    auto* stored = new ("test", __LINE__) TileMap;
    ASSERT_TRUE(stored->SetGrid(4, 4, 10, 1));
    const std::int32_t images[] = {0};
    const float durations[] = {1.0f};
    const std::uint8_t ids[] = {5};
    stored->GetTile(0)->SetFrames(images, durations, ids);
    stored->UseCell(1, 1, 0);
    stored->SetBoundingRectangle({40, 0, 40, 0});
    const CollisionId mapId = engine.AddCollisionObject(stored, 0, {0, 0});
    const CollisionId probe = engine.AddCollisionObject(MakeMover(*actor, {15, 15}, {15, 15}), 0, {15, 15});
    engine.Update(0.016f);
    ASSERT_EQ(engine.GetCollisionResults(probe)->GetTileMapContactCount(), 1);
    EXPECT_EQ(engine.GetCollisionResults(probe)->GetTileMapContact(0).id, mapId);
    EXPECT_TRUE(engine.ObjectInCollision(probe));
}

} // namespace

#include "LayerTestSupport.h"
#include "ScriptTestSupport.h"

#include "collision/Collision_CollisionEngine.h"
#include "collision/Collision_Settings.h"
#include "collision/Collision_TileMap.h"
#include "script/Script_MethodTable.h"
#include "script/Script_PropertyTable.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace
{

using namespace Collision2D;
using CollisionTest::MakeStaticCircle;
using CollisionTest::MakeStaticSegment;
using CollisionTest::ScriptFixture;
using Math::Vector2D;

// An actor with one animation of two frames. Frame 0: rectangle (10, -10,
// 10, -10), a circle of radius 10 at the origin (user id 1), the segment
// (-10, -10)-(10, -10) (user id 2), two circles more and a hotspot at (0, 10),
// mirrored variants made. Frame 1: the rectangle and one circle of radius 4
// (user id 7).
std::unique_ptr<CollisionActor> MakeActor()
{
    auto actor = std::make_unique<CollisionActor>();
    auto* animation = new ("test", __LINE__) CollisionAnimation;
    auto* first = new ("test", __LINE__) CollisionFrame;
    first->SetBoundingRectangle({10, -10, 10, -10}, true);
    first->AddCircle({0, 0}, 10, 1, true);
    first->AddCircle({3, 0}, 1, 3, true);
    first->AddCircle({-3, 0}, 1, 4, true);
    first->AddLineSegment({-10, -10}, {10, -10}, 2, true);
    first->AddHotSpot({0, 10}, true);
    auto* second = new ("test", __LINE__) CollisionFrame;
    second->SetBoundingRectangle({10, -10, 10, -10}, true);
    second->AddCircle({0, 0}, 4, 7, true);
    animation->AddCollisionFrame(first);
    animation->AddCollisionFrame(second);
    actor->AddCollisionAnimation(animation);
    return actor;
}

class CollisionScriptTest : public ScriptFixture
{
protected:
    std::unique_ptr<CollisionActor> actor = MakeActor();
};

TEST_F(CollisionScriptTest, EveryCollisionTableIsRegistered)
{
    struct Case
    {
        const char* type;
        std::size_t methods;
        std::size_t properties;
    };
    const Case cases[] = {
        {"CollisionEngine", 28, 0},
        {"CollisionLayer", 4, 0},
        {"DynamicObject", 25, 0},
        {"CollisionTileMap", 16, 0},
        {"Tile", 2, 1},
        {"Cell", 2, 3},
        {"DynamicCollisionCircle", 2, 4},
        {"DynamicCollisionLineSegment", 2, 4},
        {"DynamicCollisionHotSpot", 8, 0},
        {"StaticCollisionCircle", 7, 1},
        {"StaticCollisionLineSegment", 7, 1},
        {"CollisionFrame", 2, 0},
        {"CollisionAnimation", 1, 0},
        {"CollisionActor", 1, 0},
        {"ZibRect", 0, 4},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.type);
        const Script::MethodTable* methods = Script::FindMethodTable(c.type);
        EXPECT_EQ(methods != nullptr ? methods->count : 0, c.methods);
        const Script::PropertyTable* properties = Script::FindPropertyTable(c.type);
        EXPECT_EQ(properties != nullptr ? properties->count : 0, c.properties);
    }

    // The tile map's table keeps its order.
    const char* const tileMapOrder[] = {"ReadInformation",
                                        "SetPosition",
                                        "SetZCollision",
                                        "Dimension",
                                        "Width",
                                        "Height",
                                        "NumberOfRows",
                                        "NumberOfColumns",
                                        "SetBoundingRectangle",
                                        "GetBoundingRectangle",
                                        "GetCell",
                                        "GetCellUsed",
                                        "GetCollidedCellId",
                                        "GetCollidedCellsIDWithBoundingRectangle",
                                        "GetCollidedCellsIDWithHotSpots",
                                        "GetCurrentBoundingRectangle"};
    const Script::MethodTable* tileMap = Script::FindMethodTable("CollisionTileMap");
    ASSERT_NE(tileMap, nullptr);
    for (std::size_t i = 0; i < std::size(tileMapOrder); ++i)
    {
        EXPECT_STREQ(tileMap->records[i].name, tileMapOrder[i]);
    }
}

TEST_F(CollisionScriptTest, ScriptsReachObjectsThroughTheEngineById)
{
    CollisionEngine engine;
    engine.AddLayer();
    auto* object = new ("test", __LINE__) DynamicObject;
    object->AddCollisionData(actor.get(), 0, 0);
    object->SetZCollision(3);
    const CollisionId id = engine.AddCollisionObject(object, 0, {100, 100});
    const CollisionId circleId = engine.AddCollisionObject(MakeStaticCircle({300, 300}, 5), 0, {});
    engine.AddCollisionObject(MakeStaticSegment({0, 400}, {50, 400}), 0, {});
    engine.AddCollisionObject(MakeStaticSegment({0, 450}, {50, 450}), 0, {});
    engine.RemoveCollisionObject(PackCollisionId(3536, 0, 0));
    engine.Update(0.02f);
    ASSERT_EQ(id, PackCollisionId(9536, 0, 3));

    SetGlobal("engine", engine);
    SetNumber("id", id);
    SetNumber("circleId", circleId);
    ASSERT_EQ(Run(R"(
        -- Too few arguments: nothing is pushed.
        for _, name in ipairs({"ObjectInCollision", "SetObjectZCollision", "GetObjectZCollision",
                               "GetDynamicObjectCanCollid", "GetStaticCircles", "GetObjectBoundingRectangle",
                               "GetDynamicObjectCircles"}) do
            assert(select('#', engine[name](engine)) == 0, name)
        end
        assert(select('#', engine:GetDynamicObjectCanCollid(id)) == 0)

        engine:SetMaximumInterpolationValue(1)
        assert(engine:GetMaximumInterpolationValue() == 20)
        engine:SetMaximumInterpolationValue(2.9)
        assert(engine:GetMaximumInterpolationValue() == 2)

        assert(engine:ObjectInCollision(id) == false)
        assert(engine:GetObjectZCollision(id) == 3)
        -- 511 keeps its low byte, 255, which a dynamic object stores as 254.
        local moved = engine:SetObjectZCollision(id, 511)
        assert(moved == id + (254 - 3) * 65536, moved)
        assert(engine:GetObjectZCollision(moved) == 254)

        engine:SetDynamicObjectCanCollid(id, 256 + 7, true)
        assert(engine:GetDynamicObjectCanCollid(id, 7) == true)
        assert(engine:GetDynamicObjectCanCollid(id, 8) == false)
        engine:SetDynamicObjectCollisionType(id, true)
        assert(engine:GetDynamicObjectCollisionType(id) == true)
        engine:SetDynamicObjectUpdateOnIdle(id, true)
        assert(engine:GetDynamicObjectUpdateOnIdle(id) == true)
        engine:SetDynamicObjectUpdateOnIdle(id)
        assert(engine:GetDynamicObjectUpdateOnIdle(id) == false)
        engine:SetDynamicObjectCollisionThickness(id, 2.5)
        assert(engine:GetDynamicObjectCollisionThickness(id) == 2.5)
        engine:SetDynamicObjectBoundingRectangleCheckingTileMap(id, false)
        assert(engine:GetDynamicObjectBoundingRectangleCheckingTileMap(id) == false)

        -- Static shapes by layer: slot counts include slot 0, removed slots
        -- are skipped; layer 256 is layer 0, layer 1 does not exist.
        assert(engine:GetStaticCirclesNumber(0) == 2)
        assert(engine:GetStaticLineSegmentsNumber(256) == 3)
        local segments = engine:GetStaticLineSegments(0)
        assert(#segments == 1 and segments[1]:GetLineSegment():GetPointA().Y == 450)
        assert(engine:GetStaticCircles(0)[1]:GetCircle():GetRadius() == 5)
        assert(select('#', engine:GetStaticCircles(1)) == 0)

        -- Rectangles are copies the script owns.
        local rectangle = engine:GetObjectBoundingRectangle(id)
        assert(rectangle.top == 10 and rectangle.left == -10)
        rectangle.top = 25
        engine:SetObjectBoundingRectangle(id, rectangle)
        assert(engine:GetCurrentObjectBoundingRectangle(id).left == 90)

        -- The current frame's shapes and the world shapes.
        local circles = engine:GetDynamicObjectCircles(id)
        assert(#circles == 3 and circles[1]:GetUserId() == 1)
        assert(engine:GetDynamicObjectLineSegments(id)[1]:GetUserId() == 2)
        local hotSpots = engine:GetDynamicObjectHotSpots(id)
        assert(#hotSpots == 1 and hotSpots[1].X == 0 and hotSpots[1].Y == 10)
        local world = engine:GetCurrentDynamicObjectCircles(id)
        assert(#world == 3 and world[1]:GetCenter().X == 100 and world[1]:GetRadius() == 10)
        assert(engine:GetCurrentDynamicObjectLineSegments(id)[1]:GetPointB().X == 110)
        assert(engine:GetCurrentDynamicObjectHotSpots(id)[1].Y == 110)

        -- Ids that name no dynamic object.
        for _, other in ipairs({0, circleId, id + 1, -1, 1e12}) do
            engine:SetDynamicObjectCollisionThickness(other, 9)
            assert(engine:GetDynamicObjectCollisionThickness(other) == 0)
            assert(engine:GetDynamicObjectCanCollid(other, 7) == false)
            assert(engine:ObjectInCollision(other) == false)
            assert(select('#', engine:GetCurrentDynamicObjectCircles(other)) == 0)
            assert(engine:GetCurrentObjectBoundingRectangle(other).right == 0)
        end
    )"),
              "");
    EXPECT_EQ(GetMaximumInterpolationValue(), 2);
    EXPECT_EQ(object->GetZ_Collision(), 254);
    EXPECT_TRUE(object->GetCanCollid(7));
    EXPECT_EQ(object->GetCollisionThickness(), 2.5f);
    EXPECT_EQ(object->GetFrameRectangle().top, 25.0f);
    EXPECT_EQ(engine.GetStaticCircle(circleId)->GetZ_Collision(), 0);
}

TEST_F(CollisionScriptTest, DynamicObjectMethods)
{
    DynamicObject object;
    object.SetOffset({10, 0});
    SetGlobal("object", object);
    SetGlobal("actor", *actor);
    ASSERT_EQ(Run(R"(
        object:SetZCollision(300)
        assert(select('#', object:GetCanCollid()) == 0)
        object:SetCanCollid(256 + 5, true)
        assert(object:GetCanCollid(5) and not object:GetCanCollid(6))
        object:SetPosition(CreatePoint(100, 50))
        object:SetOldPosition(CreatePoint(90, 50))
        object:SetPosition()
        object:SetOrientation(90)
        object:SetCollisionThickness(1.5)
        object:SetCollisionType(true)
        object:SetBoundingRectangleCheckingTileMap(false)
        assert(object:GetBoundingRectangleCheckingTileMap() == false)

        -- Without a frame there are no frame shapes; a wrong actor does nothing.
        assert(select('#', object:GetCircles()) == 0)
        object:AddCollisionData(object)
        assert(select('#', object:GetCircles()) == 0)
        object:AddCollisionData(actor, 0, 1)
        object:SetCurrentCollisionFrame(0, 1, false, false)
    )"),
              "");
    EXPECT_EQ(object.GetZ_Collision(), 44);
    EXPECT_EQ(object.GetPosition(), Vector2D(90, 50));
    EXPECT_EQ(object.GetOldPosition(), Vector2D(80, 50));
    EXPECT_EQ(object.GetOrientation(), 90.0f);
    EXPECT_EQ(object.GetCollisionThickness(), 1.5f);
    EXPECT_EQ(object.GetCollisionType(), 1);
    EXPECT_EQ(object.GetCurrentFrame(), actor->GetFrame(0, 1));
    ASSERT_TRUE(object.PreUpdate());

    ASSERT_EQ(Run(R"(
        -- The world buffers hold three circles (the largest frame); the
        -- current frame has one.
        local circles = object:GetCurrentCircles()
        assert(#circles == 1 and circles[1]:GetRadius() == 4)
        assert(object:GetCircles()[1]:GetUserId() == 7)
        assert(#object:GetLineSegments() == 0 and #object:GetCurrentHotSpots() == 0)
        local none = object:GetCurrentHotSpot(0)
        assert(none.X == 0 and none.Y == 0)

        -- The rectangle is set on the frame the object shows.
        local rectangle = object:GetBoundingRectangle()
        rectangle.top = 30
        object:SetBoundingRectangle(rectangle, false)
        assert(math.abs(object:GetCurrentBoundingRectangle().right - 100) < 1e-3)

        object:SetCollisionActor(actor, 0, 0)
        object:SetCurrentCollisionFrame(0, 0, true, false)
    )"),
              "");
    EXPECT_EQ(actor->GetFrame(0, 1)->GetBoundingRectangle(FlipVariant::HVFlip).top, 30.0f);
    ASSERT_TRUE(object.PreUpdate());
    ASSERT_EQ(Run(R"(
        -- Frame 0 shown mirrored horizontally, turned by 90 degrees about
        -- the owner's position (100, 50): the hotspot (0, 10) lands at (90, 40).
        local hotSpot = object:GetCurrentHotSpot(256)
        assert(math.abs(hotSpot.X - 90) < 1e-4 and math.abs(hotSpot.Y - 40) < 1e-4)
        assert(#object:GetCurrentCircles() == 3 and #object:GetHotSpots() == 1)
        assert(object:GetHotSpots()[1]:GetHotSpotHFlip().Y == 10)
    )"),
              "");
}

TEST_F(CollisionScriptTest, ShapesCopyTheirGeometryInAndOut)
{
    StaticCollisionCircle circle;
    StaticCollisionLineSegment segment;
    SetGlobal("circle", circle);
    SetGlobal("segment", segment);
    CollisionFrame& frame = *actor->GetFrame(0, 0);
    SetGlobal("frameCircle", frame.GetCircle(0));
    SetGlobal("frameSegment", frame.GetLineSegment(0));
    SetGlobal("hotSpot", frame.GetHotSpot(0));
    Script::PushOwnedCopy(state, Math::Circle2D({1, 2}, 3), "Circle2D");
    lua_setglobal(state, "c");
    Script::PushOwnedCopy(state, Math::LineSegment2D({1, 2}, {3, 4}), "LineSegment2D");
    lua_setglobal(state, "s");
    ASSERT_EQ(Run(R"(
        -- No geometry yet.
        assert(select('#', circle:GetCircle()) == 0 and circle.circle == nil)
        circle:SetCircle(segment)
        assert(select('#', circle:GetCircle()) == 0)
        circle:SetCircle(c)
        c:SetRadius(9)
        assert(circle:GetCircle():GetRadius() == 3)
        circle.circle = c
        assert(circle.circle:GetRadius() == 9)
        circle.circle:SetRadius(1) -- a copy: the shape keeps 9
        circle:SetZCollision(300)
        assert(circle:GetZ_Collision() == 44)
        circle:SetUserId(-1)
        assert(circle:GetUserId() == 4294967295)

        segment.lineSegment = s
        s:SetPointA(CreatePoint(7, 7))
        assert(segment:GetLineSegment():GetPointA().X == 1)
        segment:SetLineSegment(s)
        assert(segment.lineSegment:GetPointA().X == 7)

        -- Frame shapes, per variant.
        assert(frameCircle.circleHFlip:GetCenter().X == 0 and frameCircle.circleNoFlip:GetRadius() == 10)
        frameCircle.circleVFlip = c
        frameCircle.circleVFlip = 5 -- no circle: nothing changes
        frameCircle:SetUserId(12)
        assert(frameSegment.lineSegmentHFlip:GetPointA().X == -10)
        frameSegment.lineSegmentNoFlip = s
        assert(frameSegment:GetUserId() == 2)
        assert(hotSpot:GetHotSpotVFlip().Y == -10)
        hotSpot:SetHotSpotHVFlip(CreatePoint(4, 5))
        hotSpot:SetHotSpotNoFlip()
    )"),
              "");
    EXPECT_EQ(circle.GetCircle()->radius, 9.0f);
    EXPECT_EQ(circle.GetZ_Collision(), 44);
    EXPECT_EQ(segment.GetLineSegment()->pointA, Vector2D(7, 7));
    EXPECT_EQ(frame.GetCircle(0).GetCircle(FlipVariant::VFlip).radius, 9.0f);
    EXPECT_EQ(frame.GetCircle(0).GetUserId(), 12u);
    EXPECT_EQ(frame.GetLineSegment(0).GetLineSegment(FlipVariant::NoFlip).pointB, Vector2D(3, 4));
    EXPECT_EQ(frame.GetHotSpot(0).GetHotSpot(FlipVariant::HVFlip), Vector2D(4, 5));
    EXPECT_EQ(frame.GetHotSpot(0).GetHotSpot(FlipVariant::NoFlip), Vector2D(0, 10));
}

TEST_F(CollisionScriptTest, ScriptsBuildCollisionAssets)
{
    CollisionActor built;
    auto* animation = new ("test", __LINE__) CollisionAnimation;
    auto* frame = new ("test", __LINE__) CollisionFrame;
    ZibRect rectangle(10, -2, 6, -4);
    SetGlobal("actor", built);
    SetGlobal("animation", *animation);
    SetGlobal("frame", *frame);
    SetGlobal("rectangle", rectangle);
    ASSERT_EQ(Run(R"(
        frame:AddCollisionData(CreatePoint(1, 2), true)                      -- hotspot
        frame:AddCollisionData(CreatePoint(1, 2), CreatePoint(3, 4), 5, true) -- segment
        frame:AddCollisionData(CreatePoint(1, 2), 3, 6.9, false)             -- circle
        frame:AddCollisionData(CreatePoint(1, 2), 3, 6)                      -- ignored
        frame:SetBoundingRectangle(rectangle)
        frame:SetBoundingRectangle(animation)                                -- ignored
        animation:AddCollisionFrame(frame)
        animation:AddCollisionFrame(frame) -- held already
        animation:AddCollisionFrame()
        actor:AddCollisionAnimation(animation)
        actor:AddCollisionAnimation(animation)
        actor:AddCollisionAnimation(frame)
    )"),
              "");
    ASSERT_EQ(built.GetAnimationCount(), 1u);
    ASSERT_EQ(animation->GetFrameCount(), 1u);
    EXPECT_EQ(frame->GetHotSpotCount(), 1u);
    EXPECT_EQ(frame->GetHotSpot(0).GetHotSpot(FlipVariant::HFlip), Vector2D(-1, 2));
    ASSERT_EQ(frame->GetLineSegmentCount(), 1u);
    EXPECT_EQ(frame->GetLineSegment(0).GetUserId(), 5u);
    EXPECT_EQ(frame->GetLineSegment(0).GetLineSegment(FlipVariant::VFlip).pointA, Vector2D(3, -4));
    ASSERT_EQ(frame->GetCircleCount(), 1u);
    EXPECT_EQ(frame->GetCircle(0).GetUserId(), 6u);
    EXPECT_EQ(frame->GetCircle(0).GetCircle(FlipVariant::HFlip).center, Vector2D(1, 2));
    EXPECT_EQ(frame->GetBoundingRectangle(FlipVariant::HFlip), ZibRect(10, -6, 2, -4));
}

class TileMapScriptTest : public CollisionScriptTest
{
protected:
    std::string WriteMapFile(const std::string& text)
    {
        std::filesystem::create_directories(directory);
        const std::string path = (directory / "map.txt").string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    const std::filesystem::path directory =
        std::filesystem::temp_directory_path() /
        ("collision_script_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
};

TEST_F(TileMapScriptTest, TileMapsTilesAndCells)
{
    // 4 columns, 3 rows of 32; tile 0 shows id 7, then 9; tile 1 id 5.
    const std::string path = WriteMapFile("C: 4\nR: 3\nDIM: 32\nTILE_NUMBER:2\n\n"
                                          "Tile 0\nNUM: 2\nDURATIONS: 0.5 0.25\nIMAGE_INDEX: 3 4\nID: 7 9\n\n"
                                          "Tile 1\nNUM: 1\nDURATIONS: 1\nIMAGE_INDEX: 6\nID: 5\n\n"
                                          "ENTRY_COUNT: 3\n(2,1,0)\n(3,1,1)\n(1,2,1)\n");
    TileMap map;
    map.SetBoundingRectangle({96, 0, 128, 0});
    DynamicObject object;
    object.AddCollisionData(actor.get(), 0, 0);
    object.SetPosition({60, 40}); // circle of radius 10: covers x 50-70, y 30-50
    object.SetOldPosition({60, 40});
    ASSERT_TRUE(object.PreUpdate());

    SetGlobal("map", map);
    SetGlobal("object", object);
    lua_pushstring(state, path.c_str());
    lua_setglobal(state, "path");
    ASSERT_EQ(Run(R"(
        map:ReadInformation(path)
        map:ReadInformation(path .. ".missing") -- reported, changes nothing
        map:ReadInformation()
        assert(map:Dimension() == 32 and map:Width() == 128 and map:Height() == 96)
        assert(map:NumberOfRows() == 3 and map:NumberOfColumns() == 4)
        map:SetZCollision(258)
        map:SetPosition(CreatePoint(0, 0))
        map:SetBoundingRectangle(96, 0, 128)   -- too few: nothing
        assert(map:GetBoundingRectangle().right == 128)
        map:SetBoundingRectangle(90, 1, 120, 2)
        assert(map:GetBoundingRectangle().top == 90)

        assert(map:GetCellUsed(2, 1) == true and map:GetCellUsed(0, 0) == false)
        assert(map:GetCellUsed(-1, 0) == false and map:GetCellUsed(4, 1) == false)
        assert(select('#', map:GetCell(4, 0)) == 0 and select('#', map:GetCell(0)) == 0)
        -- The cell under (40, 40) is (1, 1); its right neighbour (2, 1) shows tile 0.
        assert(map:GetCollidedCellId(CreatePoint(40, 40), 4) == 7)
        assert(map:GetCollidedCellId(CreatePoint(40, 40), 9) == 255)

        -- The object's rectangle (50-70, 30-50) lies in columns 1-2, rows
        -- 0-1: of its right column, column 2, only row 1 is used.
        local ids = map:GetCollidedCellsIDWithBoundingRectangle(object, 4)
        assert(#ids == 1 and ids[1] == 7)
        assert(select('#', map:GetCollidedCellsIDWithBoundingRectangle(map, 4)) == 0)
        assert(#map:GetCollidedCellsIDWithHotSpots(object, 3) == 0)

        local cell = map:GetCell(2, 1)
        assert(cell:Id() == 7 and cell:MyImage() == 3 and cell.isUsed and cell.myTileIndex == 0)
        local tile = cell.MyTile
        assert(tile:CurrentId() == 7 and tile:CurrentImage() == 3 and tile.isActivated)
        tile.isActivated = false
        assert(map:GetCell(0, 0).MyTile == nil and map:GetCell(0, 0):Id() == 255)
        -- Writing a tile copies it into the tile the cell shows.
        cell.MyTile = map:GetCell(3, 1).MyTile
        assert(cell:Id() == 5 and cell:MyImage() == 6)
        map:GetCell(0, 0).MyTile = tile -- no tile shown: nothing changes
        assert(map:GetCell(0, 0).MyTile == nil)
        -- The index follows the tile shown: a save read back must find it.
        cell.myTileIndex = 99
        assert(cell.myTileIndex == 0)
        cell.isUsed = false
        assert(map:GetCellUsed(2, 1) == false)
    )"),
              "");
    EXPECT_EQ(map.GetZ_Collision(), 2);
    EXPECT_EQ(map.GetCell(2, 1)->MyTile, map.GetTile(0));
    EXPECT_TRUE(map.GetTile(0)->isActivated);
    EXPECT_EQ(map.GetTile(0)->CurrentId(), 5);
    EXPECT_EQ(map.GetTile(1)->CurrentId(), 5);
    std::filesystem::remove_all(directory);
}

TEST_F(TileMapScriptTest, HandlesOfReplacedOrRemovedObjectsHoldNoObject)
{
    const std::string path = WriteMapFile("C: 2\nR: 1\nDIM: 32\nTILE_NUMBER:1\n\n"
                                          "Tile 0\nNUM: 1\nDURATIONS: 1\nIMAGE_INDEX: 3\nID: 7\n\n"
                                          "ENTRY_COUNT: 1\n(0,0,0)\n");
    CollisionEngine engine;
    engine.AddLayer();
    auto* map = new ("test", __LINE__) TileMap;
    const CollisionId mapId = engine.AddCollisionObject(map, 0, {});
    const CollisionId circleId = engine.AddCollisionObject(MakeStaticCircle({300, 300}, 5), 0, {});
    SetGlobal("engine", engine);
    SetGlobal("map", *map);
    lua_pushstring(state, path.c_str());
    lua_setglobal(state, "path");
    ASSERT_EQ(Run(R"(
        map:ReadInformation(path)
        cell = map:GetCell(0, 0)
        tile = cell.MyTile
        circle = engine:GetStaticCircles(0)[1]
        assert(cell:Id() == 7 and tile:CurrentId() == 7)
        circle:GetUserId()
        -- Reading the map again replaces its cells and tiles.
        map:ReadInformation(path)
        fresh = map:GetCell(0, 0)
        assert(fresh:Id() == 7)
    )"),
              "");
    const auto holdsNoObject = [this](const char* code)
    { return Run(code).find("holds no object") != std::string::npos; };
    EXPECT_TRUE(holdsNoObject("cell:Id()"));
    EXPECT_TRUE(holdsNoObject("tile:CurrentId()"));

    ASSERT_TRUE(engine.RemoveCollisionObject(circleId));
    ASSERT_TRUE(engine.RemoveCollisionObject(mapId));
    for (const char* code : {"circle:GetUserId()", "map:Dimension()", "fresh:Id()"})
    {
        EXPECT_TRUE(holdsNoObject(code)) << code;
    }
    std::filesystem::remove_all(directory);
}

} // namespace

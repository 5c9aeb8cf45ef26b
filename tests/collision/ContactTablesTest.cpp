#include "ScriptTestSupport.h"

#include "collision/Collision_ContactRecords.h"
#include "collision/Collision_ContactTables.h"

#include <functional>
#include <string>

namespace
{

using namespace Collision2D;
using CollisionTest::ScriptFixture;

class ContactTablesTest : public ScriptFixture
{
protected:
    // Replaces the record constructors by ones whose tables note the order
    // in which their fields are set, in `order[constructor]`.
    void RecordFieldOrder()
    {
        ASSERT_EQ(Run(R"(
            order = {}
            for _, name in ipairs({"CreateBRECT_C", "CreateCIR_C", "CreateLNS_C", "CreateDGEO_C",
                                   "CreateTMAP_C", "CreateTMAP_DATA_BASE", "CreateTMAP_DATA"}) do
                _G[name] = function()
                    local fields = {}
                    order[name] = fields
                    return setmetatable({}, {__newindex = function(t, k, v)
                        fields[#fields + 1] = k
                        rawset(t, k, v)
                    end})
                end
            end
        )"),
                  "");
    }

    std::string FieldOrder(const char* constructor)
    {
        lua_getglobal(state, "order");
        lua_getfield(state, -1, constructor);
        std::string joined;
        for (int i = 1; lua_istable(state, -1) && i <= static_cast<int>(lua_objlen(state, -1)); ++i)
        {
            lua_rawgeti(state, -1, i);
            joined += (i > 1 ? "," : "") + std::string(lua_tostring(state, -1));
            lua_pop(state, 1);
        }
        lua_pop(state, 2);
        return joined;
    }

    // Runs a builder, checks it left exactly the table it answered, and
    // makes that table the global "built".
    void Build(const std::function<int()>& builder)
    {
        const int top = lua_gettop(state);
        const int index = builder();
        ASSERT_EQ(lua_gettop(state), top + 1);
        ASSERT_EQ(index, top + 1);
        lua_setglobal(state, "built");
    }
};

TEST_F(ContactTablesTest, BuildersSetTheirFieldsInOrder)
{
    RecordFieldOrder();
    const BRECT_C rectangle;
    const CIR_C circle;
    const LNS_C segment;
    const DGEO_C dynamic;
    const TMAP_C tileMap;
    const TMAP_DATA_BASE staticEntry;
    const TMAP_DATA newEntry;
    struct Case
    {
        const char* constructor;
        std::function<int()> build;
        const char* fields;
    };
    const std::string shapeFields =
        "id,contactPosition,contactOrientation,penetrationDistance,contactPoint,normal,"
        "numberOfIntersectedPoints,userId,myLineSegmentUserId,myCircleUserId";
    const Case cases[] = {
        {"CreateBRECT_C", [&] { return CreateBRECT_C(state, &rectangle); },
         "id,rectangleIntersection,contactPosition,contactOrientation"},
        {"CreateCIR_C", [&] { return CreateCIR_C(state, &circle); }, shapeFields.c_str()},
        {"CreateLNS_C", [&] { return CreateLNS_C(state, &segment); }, shapeFields.c_str()},
        {"CreateDGEO_C", [&] { return CreateDGEO_C(state, &dynamic); },
         "id,contactPosition,contactOrientation,penetrationDistance,lineSegments,circles,"
         "currentLineSegmentsNumber,currentCirclesNumber,deltaBuffer,buffer_LineSegments,buffer_Circles"},
        {"CreateTMAP_C", [&] { return CreateTMAP_C(state, &tileMap); },
         "id,contactPosition,contactOrientation,penetrationDistance,deltaBuffer,currentNewIdsNumber,"
         "currentStaticIdsNumber,buffer_NewIds,buffer_StaticIds,newEntries,staticEntries"},
        {"CreateTMAP_DATA_BASE", [&] { return CreateTMAP_DATA_BASE(state, &staticEntry); },
         "id,cellX,cellY,collisionSide,hotSpotIndex"},
        {"CreateTMAP_DATA", [&] { return CreateTMAP_DATA(state, &newEntry); },
         "id,cellX,cellY,collisionSide,hotSpotIndex,position,normal,zAngle"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.constructor);
        Build(c.build);
        EXPECT_EQ(FieldOrder(c.constructor), c.fields);
    }
}

TEST_F(ContactTablesTest, ShapeContactTables)
{
    CIR_C record;
    record.id = PackCollisionId(537, 200, 9); // above 2^31
    record.contactPosition = {1, 2};
    record.contactOrientation = 45;
    record.penetrationDistance = 0.5f;
    for (int k = 0; k < 4; ++k)
    {
        record.contactPoint[k] = {static_cast<float>(k), 10};
        record.normal[k] = {0, static_cast<float>(-k)};
    }
    record.numberOfIntersectedPoints = 2;
    record.userId = 4000000000u;
    record.myLineSegmentUserId[1] = 17;
    Build([&] { return CreateCIR_C(state, &record); });
    SetNumber("id", record.id);
    ASSERT_EQ(Run(R"(
        assert(built.id == id and id > 2^31)
        assert(built.contactPosition.className == "Point2D" and built.contactPosition.Y == 2)
        assert(built.contactOrientation == 45 and built.penetrationDistance == 0.5)
        assert(#built.contactPoint == 4 and built.contactPoint[4].X == 3)
        assert(built.normal[3].className == "Vector2D" and built.normal[3].Y == -2)
        assert(built.numberOfIntersectedPoints == 2 and built.userId == 4000000000)
        assert(built.myLineSegmentUserId[2] == 17 and built.myLineSegmentUserId[1] == 192038273)
        assert(#built.myCircleUserId == 4 and built.myCircleUserId[4] == 192038273)
    )"),
              "");
}

TEST_F(ContactTablesTest, PoolTablesHoldEveryRecordOfThePool)
{
    DGEO_C dynamic;
    dynamic.CurrentCircle().userId = 3;
    dynamic.NextCircle();
    dynamic.lineSegments[4].numberOfIntersectedPoints = 4;
    Build([&] { return CreateDGEO_C(state, &dynamic); });
    ASSERT_EQ(Run(R"(
        assert(#built.lineSegments == 5 and built.lineSegments[5].numberOfIntersectedPoints == 4)
        assert(#built.circles == 5 and built.circles[1].userId == 3)
        assert(built.currentCirclesNumber == 1 and built.currentLineSegmentsNumber == 0)
        assert(built.deltaBuffer == 5 and built.buffer_Circles == 5)
    )"),
              "");

    // More records than one call of the array global takes.
    TMAP_C tileMap;
    for (int i = 0; i < 250; ++i)
    {
        tileMap.AppendStaticEntry(static_cast<std::uint8_t>(i), i, -i, 6, 0);
    }
    tileMap.AppendNewEntry(255, 2, 3, 1, 4, {5, 6}, {-1, 0}, 30);
    Build([&] { return CreateTMAP_C(state, &tileMap); });
    SetNumber("staticPool", static_cast<double>(tileMap.staticEntries.size()));
    ASSERT_EQ(Run(R"(
        assert(#built.staticEntries == staticPool and built.currentStaticIdsNumber == 250)
        for i = 1, 250 do
            local entry = built.staticEntries[i]
            assert(entry.cellX == i - 1 and entry.cellY == 1 - i and entry.id == (i - 1) % 256, i)
        end
        assert(#built.newEntries == 20 and built.currentNewIdsNumber == 1)
        local entry = built.newEntries[1]
        assert(entry.id == 255 and entry.collisionSide == 1 and entry.hotSpotIndex == 4)
        assert(entry.position.className == "Point2D" and entry.position.Y == 6)
        assert(entry.normal.className == "Vector2D" and entry.normal.X == -1 and entry.zAngle == 30)
    )"),
              "");
}

TEST_F(ContactTablesTest, RectanglesNullRecordsAndMissingConstructors)
{
    BRECT_C rectangle;
    rectangle.id = 9536;
    rectangle.rectangleIntersection = ZibRect(4, 1, 3, 2);
    rectangle.contactPosition = {7, 8};
    Build([&] { return CreateBRECT_C(state, &rectangle); });
    ASSERT_EQ(Run(R"(
        local r = built.rectangleIntersection
        assert(r.top == 4 and r.left == 1 and r.right == 3 and r.bottom == 2 and r.className == nil)
        assert(built.id == 9536 and built.contactPosition.X == 7)
    )"),
              "");

    // A null record pushes nothing.
    const int top = lua_gettop(state);
    EXPECT_EQ(CreateBRECT_C(state, nullptr), -1);
    EXPECT_EQ(CreateCIR_C(state, nullptr), -1);
    EXPECT_EQ(CreateLNS_C(state, nullptr), -1);
    EXPECT_EQ(CreateDGEO_C(state, nullptr), -1);
    EXPECT_EQ(CreateTMAP_C(state, nullptr), -1);
    EXPECT_EQ(CreateTMAP_DATA_BASE(state, nullptr), -1);
    EXPECT_EQ(CreateTMAP_DATA(state, nullptr), -1);
    EXPECT_EQ(lua_gettop(state), top);

    // A constructor that is missing or returns no table is reported and nil
    // takes the table's place; inside a pool it leaves a hole.
    ASSERT_EQ(Run("CreateTMAP_C = nil; CreateTMAP_DATA = function() return 5 end"), "");
    const TMAP_C tileMap;
    Build([&] { return CreateTMAP_C(state, &tileMap); });
    ASSERT_EQ(Run("assert(built == nil)"), "");
    const TMAP_DATA entry;
    Build([&] { return CreateTMAP_DATA(state, &entry); });
    ASSERT_EQ(Run("assert(built == nil)"), "");
}

TEST_F(ContactTablesTest, ArrayGlobalsFillAndAppend)
{
    ASSERT_EQ(Run(R"(
        local t = {}
        assert(CreateArrayTable(t, 1, 2, 3, 4) == t and #t == 4 and t[4] == 4)
        CreateArrayTableVar(t, "a", "b")
        assert(#t == 6 and t[5] == "a")
        assert(not pcall(CreateArrayTable, 5, 1))
        assert(next(CreateBRECT_C()) == nil)
    )"),
              "");
}

} // namespace

// Script tables of the contact records, and the script globals that make
// them. Every record table comes from a global of the record's name, so a
// game script may replace the constructor (to give the tables a metatable,
// say); the defaults here return a plain new table. Arrays are filled through
// the globals "CreateArrayTable" (fixed arrays of four values) and
// "CreateArrayTableVar" (the records of a pool).
//
// A constructor that is missing, fails or returns no table is reported as a
// script error; nil then stands in its place and no field is set, so the
// stack still grows by exactly one value. A failing array global is
// reported and its table is set as it is.
#include "collision/Collision_ContactTables.h"

#include "collision/Collision_ContactRecords.h"
#include "script/Script_Binding.h"
#include "script/Script_Lua.h"
#include "script/Script_Report.h"
#include "script/Script_Values.h"

#include <algorithm>
#include <string>
#include <vector>

namespace Collision2D
{

namespace
{

constexpr const char* FixedArrayGlobal = "CreateArrayTable";
constexpr const char* VariableArrayGlobal = "CreateArrayTableVar";
constexpr int FixedArrayLength = ShapeContact::MaximumPoints;
// Elements handed to "CreateArrayTableVar" in one call: pools may hold more
// records than a call can take arguments, and each call appends its
// elements after those already in the table.
constexpr std::size_t VariableArrayChunk = 100;

// Kept apart from the builders so that no string lives in a frame a script
// error may unwind.
void ReportFailure(const char* function, const char* reason)
{
    Script::ReportScriptError(std::string(function) + ": " + (reason != nullptr ? reason : "failed"));
}

// Calls the global `constructor` protected, with no arguments and one
// result, and answers the absolute index of the value it left: the new
// table, or nil after a reported failure.
int Construct(lua_State* state, const char* constructor)
{
    luaL_checkstack(state, 8, constructor);
    lua_getglobal(state, constructor);
    if (lua_pcall(state, 0, 1, 0) != 0)
    {
        ReportFailure(constructor, lua_tostring(state, -1));
        lua_pop(state, 1);
        lua_pushnil(state);
    }
    else if (!lua_istable(state, -1))
    {
        ReportFailure(constructor, "did not return a table");
        lua_pop(state, 1);
        lua_pushnil(state);
    }
    return lua_gettop(state);
}

void SetNumber(lua_State* state, int table, const char* field, lua_Number value)
{
    lua_pushnumber(state, value);
    lua_setfield(state, table, field);
}

void SetInteger(lua_State* state, int table, const char* field, std::int32_t value)
{
    lua_pushinteger(state, static_cast<lua_Integer>(value));
    lua_setfield(state, table, field);
}

void SetPoint(lua_State* state, int table, const char* field, const Math::Vector2D& point)
{
    LuaPushPoint2D(state, point);
    lua_setfield(state, table, field);
}

void SetVector(lua_State* state, int table, const char* field, const Math::Vector2D& vector)
{
    LuaPushVector2D(state, vector);
    lua_setfield(state, table, field);
}

// Calls the array global already pushed below its `arguments` (the array
// table first); the array table is left on top.
void CallArrayGlobal(lua_State* state, const char* global, int array, int arguments)
{
    if (lua_pcall(state, arguments, 0, 0) != 0)
    {
        ReportFailure(global, lua_tostring(state, -1));
        lua_pop(state, 1);
    }
    lua_pushvalue(state, array);
}

// field := a new table filled by CreateArrayTable(table, the four values
// that `push` pushes).
template <class Push> void SetFixedArray(lua_State* state, int table, const char* field, const Push& push)
{
    luaL_checkstack(state, FixedArrayLength + 4, FixedArrayGlobal);
    lua_newtable(state);
    const int array = lua_gettop(state);
    lua_getglobal(state, FixedArrayGlobal);
    lua_pushvalue(state, array);
    for (int k = 0; k < FixedArrayLength; ++k)
    {
        push(k);
    }
    CallArrayGlobal(state, FixedArrayGlobal, array, 1 + FixedArrayLength);
    lua_setfield(state, table, field);
    lua_pop(state, 1);
}

template <class Record> using RecordBuilder = int (*)(lua_State*, const Record*);

// field := a new table filled by CreateArrayTableVar(table, a table for
// every record of the pool), in pool order.
template <class Record>
void SetVariableArray(lua_State* state, int table, const char* field, const std::vector<Record>& pool,
                      RecordBuilder<Record> build)
{
    lua_newtable(state);
    const int array = lua_gettop(state);
    std::size_t next = 0;
    do
    {
        const std::size_t end = std::min(pool.size(), next + VariableArrayChunk);
        luaL_checkstack(state, static_cast<int>(VariableArrayChunk) + 4, VariableArrayGlobal);
        lua_getglobal(state, VariableArrayGlobal);
        lua_pushvalue(state, array);
        const int arguments = 1 + static_cast<int>(end - next);
        for (; next < end; ++next)
        {
            build(state, &pool[next]);
        }
        CallArrayGlobal(state, VariableArrayGlobal, array, arguments);
        lua_pop(state, 1);
    } while (next < pool.size());
    lua_setfield(state, table, field);
}

// The fields every classed record begins with.
void SetCommonFields(lua_State* state, int table, const COLLISION_C& record)
{
    SetNumber(state, table, "id", record.id);
    SetPoint(state, table, "contactPosition", record.contactPosition);
    SetNumber(state, table, "contactOrientation", record.contactOrientation);
    SetNumber(state, table, "penetrationDistance", record.penetrationDistance);
}

int CreateShapeContact(lua_State* state, const ShapeContact* record, const char* constructor)
{
    if (record == nullptr)
    {
        return -1;
    }
    const int table = Construct(state, constructor);
    if (!lua_istable(state, table))
    {
        return table;
    }
    SetCommonFields(state, table, *record);
    SetFixedArray(state, table, "contactPoint",
                  [&](int k) { LuaPushPoint2D(state, record->contactPoint[k]); });
    SetFixedArray(state, table, "normal", [&](int k) { LuaPushVector2D(state, record->normal[k]); });
    SetInteger(state, table, "numberOfIntersectedPoints", record->numberOfIntersectedPoints);
    SetNumber(state, table, "userId", record->userId);
    // The own-shape user ids cross as 32-bit integers.
    SetFixedArray(state, table, "myLineSegmentUserId",
                  [&](int k)
                  { lua_pushinteger(state, static_cast<std::int32_t>(record->myLineSegmentUserId[k])); });
    SetFixedArray(state, table, "myCircleUserId",
                  [&](int k)
                  { lua_pushinteger(state, static_cast<std::int32_t>(record->myCircleUserId[k])); });
    return table;
}

void SetTileEntryFields(lua_State* state, int table, const TMAP_DATA_BASE& record)
{
    SetNumber(state, table, "id", record.id);
    SetInteger(state, table, "cellX", record.cellX);
    SetInteger(state, table, "cellY", record.cellY);
    SetInteger(state, table, "collisionSide", record.collisionSide);
    SetInteger(state, table, "hotSpotIndex", record.hotSpotIndex);
}

// --- The globals ------------------------------------------------------------------------

// A new table with room for a record's fields.
template <int Fields> int NewRecordTable(lua_State* state)
{
    lua_createtable(state, 0, Fields);
    return 1;
}

// CreateArrayTable(t, v1, v2, ...): t[1] = v1, t[2] = v2, ...; returns t.
int CreateArrayTableGlobal(lua_State* state)
{
    luaL_checktype(state, 1, LUA_TTABLE);
    const int count = lua_gettop(state);
    for (int i = 2; i <= count; ++i)
    {
        lua_pushvalue(state, i);
        lua_rawseti(state, 1, i - 1);
    }
    lua_settop(state, 1);
    return 1;
}

// CreateArrayTableVar(t, e1, e2, ...): appends e1, e2, ... after the
// elements t holds (from t[1] for a new table); returns t.
int CreateArrayTableVarGlobal(lua_State* state)
{
    luaL_checktype(state, 1, LUA_TTABLE);
    const int count = lua_gettop(state);
    int key = static_cast<int>(lua_objlen(state, 1));
    for (int i = 2; i <= count; ++i)
    {
        lua_pushvalue(state, i);
        lua_rawseti(state, 1, ++key);
    }
    lua_settop(state, 1);
    return 1;
}

const Script::GlobalFunctionRegistrar g_createBrect("CreateBRECT_C", &NewRecordTable<4>);
const Script::GlobalFunctionRegistrar g_createCir("CreateCIR_C", &NewRecordTable<10>);
const Script::GlobalFunctionRegistrar g_createLns("CreateLNS_C", &NewRecordTable<10>);
const Script::GlobalFunctionRegistrar g_createDgeo("CreateDGEO_C", &NewRecordTable<11>);
const Script::GlobalFunctionRegistrar g_createTmap("CreateTMAP_C", &NewRecordTable<11>);
const Script::GlobalFunctionRegistrar g_createTmapDataBase("CreateTMAP_DATA_BASE", &NewRecordTable<5>);
const Script::GlobalFunctionRegistrar g_createTmapData("CreateTMAP_DATA", &NewRecordTable<8>);
const Script::GlobalFunctionRegistrar g_createArrayTable(FixedArrayGlobal, &CreateArrayTableGlobal);
const Script::GlobalFunctionRegistrar g_createArrayTableVar(VariableArrayGlobal, &CreateArrayTableVarGlobal);

} // namespace

// --- The builders -----------------------------------------------------------------------

int CreateRectangleTable(lua_State* state, const ZibRect& rectangle)
{
    luaL_checkstack(state, 4, "CreateRectangleTable");
    lua_createtable(state, 0, 4);
    const int table = lua_gettop(state);
    SetNumber(state, table, "top", rectangle.top);
    SetNumber(state, table, "left", rectangle.left);
    SetNumber(state, table, "right", rectangle.right);
    SetNumber(state, table, "bottom", rectangle.bottom);
    return table;
}

int CreateBRECT_C(lua_State* state, const BRECT_C* record)
{
    if (record == nullptr)
    {
        return -1;
    }
    const int table = Construct(state, "CreateBRECT_C");
    if (!lua_istable(state, table))
    {
        return table;
    }
    SetNumber(state, table, "id", record->id);
    CreateRectangleTable(state, record->rectangleIntersection);
    lua_setfield(state, table, "rectangleIntersection");
    SetPoint(state, table, "contactPosition", record->contactPosition);
    SetNumber(state, table, "contactOrientation", record->contactOrientation);
    return table;
}

int CreateCIR_C(lua_State* state, const CIR_C* record)
{
    return CreateShapeContact(state, record, "CreateCIR_C");
}

int CreateLNS_C(lua_State* state, const LNS_C* record)
{
    return CreateShapeContact(state, record, "CreateLNS_C");
}

int CreateDGEO_C(lua_State* state, const DGEO_C* record)
{
    if (record == nullptr)
    {
        return -1;
    }
    const int table = Construct(state, "CreateDGEO_C");
    if (!lua_istable(state, table))
    {
        return table;
    }
    SetCommonFields(state, table, *record);
    SetVariableArray<LNS_C>(state, table, "lineSegments", record->lineSegments, &CreateLNS_C);
    SetVariableArray<CIR_C>(state, table, "circles", record->circles, &CreateCIR_C);
    SetInteger(state, table, "currentLineSegmentsNumber", record->currentLineSegmentsNumber);
    SetInteger(state, table, "currentCirclesNumber", record->currentCirclesNumber);
    SetInteger(state, table, "deltaBuffer", record->deltaBuffer);
    SetInteger(state, table, "buffer_LineSegments", record->buffer_LineSegments);
    SetInteger(state, table, "buffer_Circles", record->buffer_Circles);
    return table;
}

int CreateTMAP_C(lua_State* state, const TMAP_C* record)
{
    if (record == nullptr)
    {
        return -1;
    }
    const int table = Construct(state, "CreateTMAP_C");
    if (!lua_istable(state, table))
    {
        return table;
    }
    SetCommonFields(state, table, *record);
    SetNumber(state, table, "deltaBuffer", record->deltaBuffer);
    SetNumber(state, table, "currentNewIdsNumber", record->currentNewIdsNumber);
    SetNumber(state, table, "currentStaticIdsNumber", record->currentStaticIdsNumber);
    SetNumber(state, table, "buffer_NewIds", record->buffer_NewIds);
    SetNumber(state, table, "buffer_StaticIds", record->buffer_StaticIds);
    SetVariableArray<TMAP_DATA>(state, table, "newEntries", record->newEntries, &CreateTMAP_DATA);
    SetVariableArray<TMAP_DATA_BASE>(state, table, "staticEntries", record->staticEntries,
                                     &CreateTMAP_DATA_BASE);
    return table;
}

int CreateTMAP_DATA_BASE(lua_State* state, const TMAP_DATA_BASE* record)
{
    if (record == nullptr)
    {
        return -1;
    }
    const int table = Construct(state, "CreateTMAP_DATA_BASE");
    if (lua_istable(state, table))
    {
        SetTileEntryFields(state, table, *record);
    }
    return table;
}

int CreateTMAP_DATA(lua_State* state, const TMAP_DATA* record)
{
    if (record == nullptr)
    {
        return -1;
    }
    const int table = Construct(state, "CreateTMAP_DATA");
    if (lua_istable(state, table))
    {
        SetTileEntryFields(state, table, *record);
        SetPoint(state, table, "position", record->position);
        SetVector(state, table, "normal", record->normal);
        SetNumber(state, table, "zAngle", record->zAngle);
    }
    return table;
}

} // namespace Collision2D

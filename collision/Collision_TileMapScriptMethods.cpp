// Script methods and properties of tile maps ("CollisionTileMap"), their
// tiles ("Tile") and cells ("Cell"). Argument conventions are those of
// Collision_ScriptSupport.h; columns, rows and direction codes are script
// numbers truncated to 32-bit integers.
#include "collision/Collision_DynamicObject.h"
#include "collision/Collision_ScriptSupport.h"
#include "collision/Collision_TileMap.h"
#include "collision/Collision_TileMapTests.h"
#include "script/Script_MethodTable.h"
#include "script/Script_PropertyTable.h"
#include "script/Script_Report.h"
#include "script/Script_Values.h"

#include <string>
#include <vector>

namespace
{

using namespace Collision2D;
using namespace Collision2D::ScriptSupport;
using Script::Method;

// --- CollisionTileMap -------------------------------------------------------------------

// Reads the file into the map; a file that cannot be read leaves the map as
// it was and is reported as a script error naming the file. Kept apart from
// the method so that no string lives in a frame a script error unwinds.
void ReadTileMapFile(TileMap& map, const char* fileName)
{
    std::string error;
    if (!map.ReadInformation(fileName, &error))
    {
        Script::ReportScriptError(error);
    }
}

int MapReadInformation(TileMap& map, lua_State* state)
{
    if (Needs(state, 1))
    {
        if (const char* fileName = lua_tostring(state, 1))
        {
            ReadTileMapFile(map, fileName);
        }
    }
    return 0;
}

template <std::int32_t (TileMap::*Get)() const> int MapNumber(TileMap& map, lua_State* state)
{
    return PushInteger(state, (map.*Get)());
}

int MapSetBoundingRectangle(TileMap& map, lua_State* state)
{
    if (Needs(state, 4))
    {
        map.SetBoundingRectangle(
            ZibRect(ToFloat(state, 1), ToFloat(state, 2), ToFloat(state, 3), ToFloat(state, 4)));
    }
    return 0;
}

int MapGetBoundingRectangle(TileMap& map, lua_State* state)
{
    return PushCopy(state, map.GetBoundingRectangle());
}

int MapGetCurrentBoundingRectangle(TileMap& map, lua_State* state)
{
    return PushCopy(state, map.GetCurrentBoundingRectangle());
}

// Pushes nothing for a cell outside the map.
int MapGetCell(TileMap& map, lua_State* state)
{
    if (!Needs(state, 2))
    {
        return 0;
    }
    Cell* cell = map.GetCell(ToInt32(state, 1), ToInt32(state, 2));
    if (cell == nullptr)
    {
        return 0;
    }
    cell->PushToScript(state);
    return 1;
}

int MapGetCellUsed(TileMap& map, lua_State* state)
{
    if (!Needs(state, 2))
    {
        return 0;
    }
    return PushBoolean(state, map.GetCellUsed(ToInt32(state, 1), ToInt32(state, 2)));
}

int MapGetCollidedCellId(TileMap& map, lua_State* state)
{
    if (!Needs(state, 2))
    {
        return 0;
    }
    const Math::Vector2D point = LuaToPoint2D(state, 1);
    return PushInteger(state, map.GetCollidedCellId(point, ToInt32(state, 2)));
}

// The tile ids the two queries below collect. One list serves every call
// (scripts run on the main thread only), so no method frame owns storage
// while it pushes.
std::vector<std::uint8_t>& CellIdList()
{
    static std::vector<std::uint8_t> ids;
    return ids;
}

int PushCellIds(lua_State* state, const std::vector<std::uint8_t>& ids)
{
    lua_createtable(state, static_cast<int>(ids.size()), 0);
    const int table = lua_gettop(state);
    for (std::size_t i = 0; i < ids.size(); ++i)
    {
        lua_pushinteger(state, ids[i]);
        lua_rawseti(state, table, static_cast<int>(i) + 1);
    }
    return 1;
}

// (object, side code): the ids along the sides of the object's current
// rectangle; nothing when the first argument is no dynamic object.
int MapGetCollidedCellsIDWithBoundingRectangle(TileMap& map, lua_State* state)
{
    const DynamicObject* object = Needs(state, 2) ? ToUserdata<DynamicObject>(state, 1) : nullptr;
    if (object == nullptr)
    {
        return 0;
    }
    std::vector<std::uint8_t>& ids = CellIdList();
    GetCellIdsAlongSides(map, *object, ToInt32(state, 2), ids);
    return PushCellIds(state, ids);
}

// (object, direction): the ids next to the object's current hotspots.
int MapGetCollidedCellsIDWithHotSpots(TileMap& map, lua_State* state)
{
    const DynamicObject* object = Needs(state, 2) ? ToUserdata<DynamicObject>(state, 1) : nullptr;
    if (object == nullptr)
    {
        return 0;
    }
    std::vector<std::uint8_t>& ids = CellIdList();
    GetCellIdsOfHotSpots(map, *object, ToInt32(state, 2), ids);
    return PushCellIds(state, ids);
}

constexpr auto kTileMapMethods = Script::MakeMethods<16>(
    Method<&MapReadInformation>("ReadInformation"),
    Method<&ArgumentSetter<TileMap, &TileMap::SetPosition, &LuaToPoint2D>>("SetPosition"),
    Method<&ArgumentSetter<TileMap, &TileMap::SetZCollision, &ToLowByte>>("SetZCollision"),
    Method<&MapNumber<&TileMap::GetDimension>>("Dimension"), Method<&MapNumber<&TileMap::GetWidth>>("Width"),
    Method<&MapNumber<&TileMap::GetHeight>>("Height"), Method<&MapNumber<&TileMap::GetRows>>("NumberOfRows"),
    Method<&MapNumber<&TileMap::GetColumns>>("NumberOfColumns"),
    Method<&MapSetBoundingRectangle>("SetBoundingRectangle"),
    Method<&MapGetBoundingRectangle>("GetBoundingRectangle"), Method<&MapGetCell>("GetCell"),
    Method<&MapGetCellUsed>("GetCellUsed"), Method<&MapGetCollidedCellId>("GetCollidedCellId"),
    Method<&MapGetCollidedCellsIDWithBoundingRectangle>("GetCollidedCellsIDWithBoundingRectangle"),
    Method<&MapGetCollidedCellsIDWithHotSpots>("GetCollidedCellsIDWithHotSpots"),
    Method<&MapGetCurrentBoundingRectangle>("GetCurrentBoundingRectangle"));
const Script::MethodTableRegistrar g_tileMapTable(TileMap::ScriptTypeName, kTileMapMethods);

// --- Tile ------------------------------------------------------------------------------------

int TileCurrentId(Tile& tile, lua_State* state)
{
    return PushInteger(state, tile.CurrentId());
}

int TileCurrentImage(Tile& tile, lua_State* state)
{
    return PushInteger(state, tile.CurrentImage());
}

constexpr auto kTileMethods =
    Script::MakeMethods<2>(Method<&TileCurrentId>("CurrentId"), Method<&TileCurrentImage>("CurrentImage"));
constexpr auto kTileProperties =
    Script::MakeProperties<1>(Script::Property<&Tile::isActivated>("isActivated"));
const Script::MethodTableRegistrar g_tileTable(Tile::ScriptTypeName, kTileMethods);
const Script::PropertyTableRegistrar g_tileProperties(Tile::ScriptTypeName, kTileProperties);

// --- Cell ------------------------------------------------------------------------------------

int CellId(Cell& cell, lua_State* state)
{
    return PushInteger(state, cell.Id());
}

int CellMyImage(Cell& cell, lua_State* state)
{
    return PushInteger(state, cell.MyImage());
}

// "MyTile" reads the tile the cell shows (nil without one). Writing a tile
// copies its frames, current frame, time spent and activation into the tile
// the cell shows, which every cell showing that tile of the map shares; a
// cell without a tile, or a value that is no tile, is left as it was. The
// cell keeps referring to a tile of its own map.
int GetCellTile(void* object, lua_State* state)
{
    Tile* tile = static_cast<Cell*>(object)->MyTile;
    if (tile == nullptr)
    {
        lua_pushnil(state);
    }
    else
    {
        tile->PushToScript(state);
    }
    return 1;
}

int SetCellTile(void* object, lua_State* state)
{
    Tile* shown = static_cast<Cell*>(object)->MyTile;
    const Tile* given = ToUserdata<Tile>(state, 3);
    if (shown != nullptr && given != nullptr && shown != given)
    {
        *shown = *given;
    }
    return 0;
}

// "myTileIndex" reads the index of the tile the cell shows. It names that
// tile in saved maps, which are read back by it, so it follows the tile and
// is not written from scripts: an assignment changes nothing.
int GetCellTileIndex(void* object, lua_State* state)
{
    return Script::GetIntField(state, &static_cast<Cell*>(object)->myTileIndex);
}

int KeepCellTileIndex(void*, lua_State*)
{
    return 0;
}

constexpr auto kCellMethods = Script::MakeMethods<2>(Method<&CellId>("Id"), Method<&CellMyImage>("MyImage"));
constexpr auto kCellProperties = Script::MakeProperties<3>(
    Script::PropertyRecord{"MyTile", &SetCellTile, &GetCellTile}, Script::Property<&Cell::isUsed>("isUsed"),
    Script::PropertyRecord{"myTileIndex", &KeepCellTileIndex, &GetCellTileIndex});
const Script::MethodTableRegistrar g_cellTable(Cell::ScriptTypeName, kCellMethods);
const Script::PropertyTableRegistrar g_cellProperties(Cell::ScriptTypeName, kCellProperties);

} // namespace

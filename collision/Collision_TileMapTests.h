#pragma once

#include "collision/Collision_TileMap.h"

#include <cstdint>
#include <vector>

namespace Collision2D
{

class DynamicObject;

// Side codes of the tile-map tests, kept in TMAP_DATA_BASE::collisionSide:
// which side of the object led into a new column or row of cells, and the
// case number of a test (the sum of a horizontal and a vertical code).
// Not to be confused with CellDirection, which uses the same numbers for
// other things.
enum class TileSide : std::int32_t
{
    None = 0,      // no new column or row entered
    Right = 1,     // entered a new column to the right; normal (-1, 0)
    Left = 2,      // entered a new column to the left; normal (1, 0)
    Up = 3,        // entered a new row upwards; normal (0, -1)
    UpRight = 4,   // Right + Up
    UpLeft = 5,    // Left + Up
    Down = 6,      // entered a new row downwards; normal (0, 1)
    DownRight = 7, // Right + Down
    DownLeft = 8,  // Left + Down
};

// The test of one dynamic object against one tile map, run by the layer
// step for every map whose z the object accepts and whose world rectangle
// its swept rectangle overlaps. It records the used cells the object
// touches in the TMAP_C at the current tile-map count of the object's
// results: cells it has just entered as new entries (with a contact
// position that puts the object on the entered cell's boundary, the
// entered side and its normal) and cells it keeps touching as static
// entries. The object's BoundingRectangleCheckingTileMap flag chooses the
// mode: its rectangle at the start of the step and now, or each of its
// hotspots. A cell reports its tile's current id. On any entry the record
// is named Pack(8535 + the map's slot, layer, map z) and the count
// advances; otherwise the record is left for the next map. Answers whether
// any entry was made.
bool TestTileMap(TileMap& map, DynamicObject& object, std::uint8_t layerIndex);

// Static entries for the used cells inside the map along one side (Right,
// Left, Up or Down; other codes do nothing) of the object's current
// rectangle; sets `hit` when it adds any.
void AddStaticSideEntries(const TileMap& map, DynamicObject& object, TileSide side, bool& hit);

// A static entry for the cell under the hotspot's current place, clamped
// into the map, when that cell is used; nothing for an index not below the
// current frame's hotspot count.
void AddStaticHotSpotEntry(const TileMap& map, DynamicObject& object, std::uint32_t hotSpotIndex, bool& hit);

// For scripts; no records are written. The tile ids of the used cells
// along the sides of the object's current rectangle (a CellDirection code:
// 1 top row, 2 bottom row, 3 left column, 4 right column, 5 top row then
// right column, 6 bottom row then right column, 7 top row then left column,
// 8 bottom row then left column; other codes give none). A cell on two
// walked lines appears twice.
void GetCellIdsAlongSides(const TileMap& map, const DynamicObject& object, std::int32_t code,
                          std::vector<std::uint8_t>& ids);
// TileMap::GetCollidedCellId of every current hotspot in the direction,
// those other than 255.
void GetCellIdsOfHotSpots(const TileMap& map, const DynamicObject& object, std::int32_t direction,
                          std::vector<std::uint8_t>& ids);

} // namespace Collision2D

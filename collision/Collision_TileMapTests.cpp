#include "collision/Collision_TileMapTests.h"

#include "collision/Collision_DynamicObject.h"
#include "collision/Collision_Id.h"

#include <algorithm>
#include <cmath>

namespace Collision2D
{

namespace
{

// Map-local coordinates are world ones minus the map's position; the cell
// of a map-local coordinate is trunc(coordinate / d), toward zero.
std::int32_t CellIndex(float local, float d)
{
    constexpr float Limit = 1.0e9f;
    const float cell = std::trunc(local / d);
    if (std::isnan(cell))
    {
        return 0;
    }
    return static_cast<std::int32_t>(std::clamp(cell, -Limit, Limit));
}

// A cell index clamped into [0, count - 1] (an index at or beyond the count
// first becomes count - 1, then a negative one 0).
std::int32_t ClampedCellIndex(float local, float d, std::int32_t count)
{
    return std::max(std::min(CellIndex(local, d), count - 1), 0);
}

Math::Vector2D NormalOf(TileSide side)
{
    switch (side)
    {
    case TileSide::Right:
        return {-1, 0};
    case TileSide::Left:
        return {1, 0};
    case TileSide::Up:
        return {0, -1};
    case TileSide::Down:
        return {0, 1};
    default:
        return {};
    }
}

// What the tests of one object against one map share.
struct TileMapPass
{
    const TileMap& map;
    DynamicObject& object;
    TMAP_C& record;
    Math::Vector2D origin; // the map's position
    float d;               // the map's cell side
    bool hit = false;

    TileMapPass(const TileMap& tileMap, DynamicObject& dynamic)
        : map(tileMap), object(dynamic), record(dynamic.GetCollisionResults().CurrentTileMapContact()),
          origin(tileMap.GetPosition()), d(static_cast<float>(tileMap.GetDimension()))
    {
    }

    const Cell* UsedCell(std::int32_t column, std::int32_t row) const
    {
        const Cell* cell = map.GetCell(column, row);
        return cell != nullptr && cell->isUsed ? cell : nullptr;
    }

    void AddStatic(std::int32_t column, std::int32_t row, TileSide side, std::int32_t hotSpot)
    {
        if (const Cell* cell = UsedCell(column, row))
        {
            record.AppendStaticEntry(cell->Id(), column, row, static_cast<std::int32_t>(side), hotSpot);
            hit = true;
        }
    }

    void AddNew(std::int32_t column, std::int32_t row, TileSide side, std::int32_t hotSpot,
                const Math::Vector2D& position, const Math::Vector2D& normal, float zAngle)
    {
        if (const Cell* cell = UsedCell(column, row))
        {
            record.AppendNewEntry(cell->Id(), column, row, static_cast<std::int32_t>(side), hotSpot, position,
                                  normal, zAngle);
            hit = true;
        }
    }

    // Column and row ranges clamped to the map: cells outside it are never
    // used, so the walks need not visit them.
    std::int32_t FirstColumn(std::int32_t column) const { return std::max(column, 0); }
    std::int32_t LastColumn(std::int32_t column) const { return std::min(column, map.GetColumns() - 1); }
    std::int32_t FirstRow(std::int32_t row) const { return std::max(row, 0); }
    std::int32_t LastRow(std::int32_t row) const { return std::min(row, map.GetRows() - 1); }
};

// The cells of a rectangle's sides, map-local.
struct CellBounds
{
    std::int32_t left;
    std::int32_t right;
    std::int32_t top;
    std::int32_t bottom;

    CellBounds(const ZibRect& world, const Math::Vector2D& origin, float d)
        : left(CellIndex(world.left - origin.x, d)), right(CellIndex(world.right - origin.x, d)),
          top(CellIndex(world.top - origin.y, d)), bottom(CellIndex(world.bottom - origin.y, d))
    {
    }
};

// --- Rectangle mode ---------------------------------------------------------------------

// New entries for the used cells of one column (side Right or Left) over
// rows first..last, or of one row (side Up or Down) over columns
// first..last: the object placed with its leading side on the entered
// cell's boundary.
void AddNewLine(TileMapPass& pass, TileSide side, std::int32_t line, std::int32_t first, std::int32_t last)
{
    const DynamicObject& object = pass.object;
    const ZibRect& now = object.GetCurrentBoundingRectangle();
    const Math::Vector2D& p = object.GetPosition();
    const Math::Vector2D& m = pass.origin;
    const float d = pass.d;
    const Math::Vector2D normal = NormalOf(side);
    if (side == TileSide::Right || side == TileSide::Left)
    {
        for (std::int32_t row = pass.FirstRow(first); row <= pass.LastRow(last); ++row)
        {
            const float x = side == TileSide::Right
                                ? m.x + static_cast<float>(line) * d - (now.right - p.x)
                                : m.x + static_cast<float>(line + 1) * d - (now.left - p.x);
            pass.AddNew(line, row, side, 0, {x, p.y}, normal, 0.0f);
        }
        return;
    }
    for (std::int32_t column = pass.FirstColumn(first); column <= pass.LastColumn(last); ++column)
    {
        const float y = side == TileSide::Up ? m.y + static_cast<float>(line) * d - (now.top - p.y)
                                             : m.y + static_cast<float>(line + 1) * d - (now.bottom - p.y);
        pass.AddNew(column, line, side, 0, {p.x, y}, normal, 0.0f);
    }
}

void AddStaticSide(TileMapPass& pass, TileSide side)
{
    const CellBounds now(pass.object.GetCurrentBoundingRectangle(), pass.origin, pass.d);
    switch (side)
    {
    case TileSide::Right:
    case TileSide::Left:
    {
        const std::int32_t column = side == TileSide::Right ? now.right : now.left;
        for (std::int32_t row = pass.FirstRow(now.bottom); row <= pass.LastRow(now.top); ++row)
        {
            pass.AddStatic(column, row, side, 0);
        }
        return;
    }
    case TileSide::Up:
    case TileSide::Down:
    {
        const std::int32_t row = side == TileSide::Up ? now.top : now.bottom;
        for (std::int32_t column = pass.FirstColumn(now.left); column <= pass.LastColumn(now.right); ++column)
        {
            pass.AddStatic(column, row, side, 0);
        }
        return;
    }
    default:
        return;
    }
}

void TestRectangle(TileMapPass& pass)
{
    const CellBounds start(pass.object.GetOldPoseRectangle(), pass.origin, pass.d);
    const CellBounds now(pass.object.GetCurrentBoundingRectangle(), pass.origin, pass.d);
    const std::int32_t h = start.right < now.right ? 1 : (start.left > now.left ? 2 : 0);
    const std::int32_t v = start.top < now.top ? 3 : (start.bottom > now.bottom ? 6 : 0);

    // New entries along the leading sides. A diagonal move walks the new
    // column over the start rows and the new row over the start columns,
    // so the corner cell it reached diagonally is not among them.
    using enum TileSide;
    const CellBounds& span = h != 0 && v != 0 ? start : now;
    if (h != 0)
    {
        AddNewLine(pass, h == 1 ? Right : Left, h == 1 ? now.right : now.left, span.bottom, span.top);
    }
    if (v != 0)
    {
        AddNewLine(pass, v == 3 ? Up : Down, v == 3 ? now.top : now.bottom, span.left, span.right);
    }

    // Static entries along the sides that did not lead.
    static constexpr TileSide Trailing[9][4] = {
        {Down, Up, Left, Right},   // none
        {Up, Left, Down, None},    // right
        {Up, Right, Down, None},   // left
        {Right, Left, Down, None}, // up
        {Left, Down, None, None},  // up and right
        {Right, Down, None, None}, // up and left
        {Up, Left, Right, None},   // down
        {Up, Left, None, None},    // down and right
        {Up, Right, None, None},   // down and left
    };
    for (const TileSide side : Trailing[h + v])
    {
        AddStaticSide(pass, side);
    }
}

// --- Hotspot mode -------------------------------------------------------------------------

// Where the object stands when hotspot i lies at the map-local point q.
Math::Vector2D ObjectPlaceFor(const TileMapPass& pass, const Math::Vector2D& q, const Math::Vector2D& offset)
{
    return pass.origin + q - offset;
}

void TestHotSpot(TileMapPass& pass, std::uint32_t i)
{
    const DynamicObject& object = pass.object;
    const TileMap& map = pass.map;
    const float d = pass.d;
    const Math::Vector2D p0 = object.GetOldHotSpots()[i] - pass.origin;
    const Math::Vector2D p1 = object.GetCurrentHotSpots()[i] - pass.origin;
    const Math::Vector2D& position = object.GetPosition();
    const Math::Vector2D offset = object.GetCurrentHotSpots()[i] - position;
    const std::int32_t c0 = ClampedCellIndex(p0.x, d, map.GetColumns());
    const std::int32_t r0 = ClampedCellIndex(p0.y, d, map.GetRows());
    const std::int32_t c1 = ClampedCellIndex(p1.x, d, map.GetColumns());
    const std::int32_t r1 = ClampedCellIndex(p1.y, d, map.GetRows());
    const std::int32_t h = c0 < c1 ? 1 : (c0 > c1 ? 2 : 0);
    const std::int32_t v = r0 < r1 ? 3 : (r0 > r1 ? 6 : 0);
    const std::int32_t hotSpot = static_cast<std::int32_t>(i);
    const float zAngle = object.GetOldOrientation();

    if (h + v == 0)
    {
        AddStaticHotSpotEntry(map, pass.object, i, pass.hit);
        return;
    }
    if (pass.UsedCell(c1, r1) == nullptr)
    {
        return;
    }
    // The boundaries into the end cell: x of its entered vertical side and
    // y of its entered horizontal side, map-local.
    const float boundaryX = static_cast<float>(h == 1 ? c1 : c1 + 1) * d;
    const float boundaryY = static_cast<float>(v == 3 ? r1 : r1 + 1) * d;
    const TileSide horizontal = static_cast<TileSide>(h);
    const TileSide vertical = static_cast<TileSide>(v);
    if (h == 0 || v == 0)
    {
        // One boundary crossed: the hotspot put on it, the other coordinate
        // the object's own.
        Math::Vector2D place = position;
        if (h != 0)
        {
            place.x = pass.origin.x + boundaryX - offset.x;
        }
        else
        {
            place.y = pass.origin.y + boundaryY - offset.y;
        }
        pass.AddNew(c1, r1, static_cast<TileSide>(h + v), hotSpot, place,
                    NormalOf(static_cast<TileSide>(h + v)), zAngle);
        return;
    }

    // Diagonal: the straight path from p0 to p1 meets the vertical and the
    // horizontal boundary; which first is the side of the shared corner K
    // the path passes. With D = p1 - p0 and s = (K - p0) x D, the path
    // crosses x = K.x at t = (K.x - x0) / D.x and y = K.y at
    // t = (K.y - y0) / D.y; the vertical comes first when s has the sign
    // opposite to D.x D.y.
    const Math::Vector2D direction = p1 - p0;
    const float s = (boundaryX - p0.x) * direction.y - (boundaryY - p0.y) * direction.x;
    const Math::Vector2D corner{boundaryX, boundaryY};
    if (s == 0.0f)
    {
        const Math::Vector2D normal{NormalOf(horizontal).x, NormalOf(vertical).y};
        pass.AddNew(c1, r1, static_cast<TileSide>(h + v), hotSpot, ObjectPlaceFor(pass, corner, offset),
                    normal, zAngle);
        return;
    }
    // The points of the path on each boundary.
    const Math::Vector2D onVertical{boundaryX, p0.y + (boundaryX - p0.x) * (direction.y / direction.x)};
    const Math::Vector2D onHorizontal{p0.x + (boundaryY - p0.y) * (direction.x / direction.y), boundaryY};
    const bool verticalFirst = (s < 0.0f) == (direction.x * direction.y > 0.0f);
    const std::int32_t stepX = h == 1 ? 1 : -1;
    const std::int32_t stepY = v == 3 ? 1 : -1;
    if (verticalFirst)
    {
        pass.AddNew(c1, r1 - stepY, horizontal, hotSpot, ObjectPlaceFor(pass, onVertical, offset),
                    NormalOf(horizontal), zAngle);
        pass.AddNew(c1, r1, vertical, hotSpot, ObjectPlaceFor(pass, onHorizontal, offset), NormalOf(vertical),
                    zAngle);
    }
    else
    {
        pass.AddNew(c1 - stepX, r1, vertical, hotSpot, ObjectPlaceFor(pass, onHorizontal, offset),
                    NormalOf(vertical), zAngle);
        pass.AddNew(c1, r1, horizontal, hotSpot, ObjectPlaceFor(pass, onVertical, offset),
                    NormalOf(horizontal), zAngle);
    }
}

void TestHotSpots(TileMapPass& pass)
{
    const DynamicObject& object = pass.object;
    const std::size_t count = std::min({static_cast<std::size_t>(object.GetFrameHotSpotCount()),
                                        object.GetOldHotSpots().size(), object.GetCurrentHotSpots().size()});
    for (std::uint32_t i = 0; i < count; ++i)
    {
        TestHotSpot(pass, i);
    }
}

} // namespace

bool TestTileMap(TileMap& map, DynamicObject& object, std::uint8_t layerIndex)
{
    if (map.GetDimension() <= 0)
    {
        return false;
    }
    TileMapPass pass(map, object);
    pass.record.otherOwner = map.GetOwner();
    if (object.GetBoundingRectangleCheckingTileMap())
    {
        TestRectangle(pass);
    }
    else
    {
        TestHotSpots(pass);
    }
    if (pass.hit)
    {
        pass.record.id = PackCollisionId(static_cast<std::uint16_t>(TileMapBase + map.GetSlot()), layerIndex,
                                         map.GetZ_Collision());
        object.GetCollisionResults().NextTileMapContact();
    }
    return pass.hit;
}

void AddStaticSideEntries(const TileMap& map, DynamicObject& object, TileSide side, bool& hit)
{
    if (map.GetDimension() <= 0)
    {
        return;
    }
    TileMapPass pass(map, object);
    AddStaticSide(pass, side);
    hit = hit || pass.hit;
}

void AddStaticHotSpotEntry(const TileMap& map, DynamicObject& object, std::uint32_t hotSpotIndex, bool& hit)
{
    if (map.GetDimension() <= 0 || hotSpotIndex >= object.GetFrameHotSpotCount() ||
        hotSpotIndex >= object.GetCurrentHotSpots().size())
    {
        return;
    }
    TileMapPass pass(map, object);
    const Math::Vector2D p = object.GetCurrentHotSpots()[hotSpotIndex] - pass.origin;
    pass.AddStatic(ClampedCellIndex(p.x, pass.d, map.GetColumns()),
                   ClampedCellIndex(p.y, pass.d, map.GetRows()), TileSide::None,
                   static_cast<std::int32_t>(hotSpotIndex));
    hit = hit || pass.hit;
}

void GetCellIdsAlongSides(const TileMap& map, const DynamicObject& object, std::int32_t code,
                          std::vector<std::uint8_t>& ids)
{
    ids.clear();
    if (map.GetDimension() <= 0 || code < 1 || code > 8)
    {
        return;
    }
    const CellBounds now(object.GetCurrentBoundingRectangle(), map.GetPosition(),
                         static_cast<float>(map.GetDimension()));
    const auto row = [&](std::int32_t r)
    {
        for (std::int32_t c = std::max(now.left, 0); c <= std::min(now.right, map.GetColumns() - 1); ++c)
        {
            if (map.GetCellUsed(c, r))
            {
                ids.push_back(map.GetCell(c, r)->Id());
            }
        }
    };
    const auto column = [&](std::int32_t c)
    {
        for (std::int32_t r = std::max(now.bottom, 0); r <= std::min(now.top, map.GetRows() - 1); ++r)
        {
            if (map.GetCellUsed(c, r))
            {
                ids.push_back(map.GetCell(c, r)->Id());
            }
        }
    };
    using enum CellDirection;
    switch (static_cast<CellDirection>(code))
    {
    case Above:
        row(now.top);
        break;
    case Below:
        row(now.bottom);
        break;
    case Left:
        column(now.left);
        break;
    case Right:
        column(now.right);
        break;
    case AboveRight:
        row(now.top);
        column(now.right);
        break;
    case BelowRight:
        row(now.bottom);
        column(now.right);
        break;
    case AboveLeft:
        row(now.top);
        column(now.left);
        break;
    case BelowLeft:
        row(now.bottom);
        column(now.left);
        break;
    }
}

void GetCellIdsOfHotSpots(const TileMap& map, const DynamicObject& object, std::int32_t direction,
                          std::vector<std::uint8_t>& ids)
{
    ids.clear();
    const std::size_t count =
        std::min(static_cast<std::size_t>(object.GetFrameHotSpotCount()), object.GetCurrentHotSpots().size());
    for (std::size_t i = 0; i < count; ++i)
    {
        const std::uint8_t id = map.GetCollidedCellId(object.GetCurrentHotSpots()[i], direction);
        if (id != TileMap::NoTileId)
        {
            ids.push_back(id);
        }
    }
}

} // namespace Collision2D

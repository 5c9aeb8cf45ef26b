#pragma once

#include "collision/Collision_MainCollisionObject.h"
#include "collision/Collision_ZibRect.h"
#include "core/Core_Base.h"
#include "math/Math_Vector2D.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace Core
{
class File;
}

struct lua_State;
class LuaScript;

namespace Collision2D
{

// An animated tile: a list of frames, each with an image index, a display
// time (in the unit of the step time) and a one-byte tile id. Contacts with
// a cell report the id of its tile's current frame.
class Tile final : public Core::Base
{
public:
    static constexpr const char* ScriptTypeName = "Tile";

    Tile() = default;
    Tile(const Tile&) = default;
    Tile& operator=(const Tile&) = default;
    virtual ~Tile();

    virtual LuaScript* GetScript();
    virtual void PushToScript(lua_State* state);

    // Copies the frames (as many as the shortest list holds), starts at
    // frame 0 with no time spent and sets the tile running.
    void SetFrames(std::span<const std::int32_t> images, std::span<const float> durations,
                   std::span<const std::uint8_t> ids);

    // A running tile of two frames or more adds dt to the time spent in its
    // frame and, once that reaches the frame's duration (equality counts),
    // shows the next frame (after the last, the first) and starts counting
    // from 0 again: at most one frame per step, the surplus dropped.
    void Update(float dt);

    std::int32_t GetFrameCount() const { return static_cast<std::int32_t>(ids_.size()); }
    std::int32_t GetCurrentFrame() const { return currentFrame_; }
    float GetElapsed() const { return elapsed_; }
    std::int32_t GetImage(std::int32_t frame) const { return images_[static_cast<std::size_t>(frame)]; }
    float GetDuration(std::int32_t frame) const { return durations_[static_cast<std::size_t>(frame)]; }
    std::uint8_t GetId(std::int32_t frame) const { return ids_[static_cast<std::size_t>(frame)]; }

    // The current frame's id and image; a tile without frames shows id 255
    // and image 0, as a cell without a tile does.
    std::uint8_t CurrentId() const;
    std::int32_t CurrentImage() const;

    // Frame count; per frame image (4 bytes), duration (4), id (1); then the
    // current frame, the time spent and the running flag (1 byte). Read
    // checks the count against the bytes left and the current frame against
    // the count, and changes nothing unless the whole tile was read.
    void Write(Core::File& file) const;
    [[nodiscard]] bool Read(Core::File& file);

    // The animation runs only while this is set.
    bool isActivated = false;

private:
    std::vector<std::int32_t> images_;
    std::vector<float> durations_;
    std::vector<std::uint8_t> ids_;
    std::int32_t currentFrame_ = 0;
    float elapsed_ = 0.0f;
};

// Directions from a cell, as the tile-map queries take them: the neighbour
// GetCollidedCellId reads, and the sides GetCellIdsAlongSides walks (1 the
// top row, 2 the bottom row, 3 the left column, 4 the right column, 5 to 8
// two of them). Not to be confused with the side codes of the tile-map tests
// (TileSide), which use the same numbers for other things.
enum class CellDirection : std::int32_t
{
    Above = 1,      // (cx, cy + 1)
    Below = 2,      // (cx, cy - 1)
    Left = 3,       // (cx - 1, cy)
    Right = 4,      // (cx + 1, cy)
    AboveRight = 5, // (cx + 1, cy + 1)
    BelowRight = 6, // (cx + 1, cy - 1)
    AboveLeft = 7,  // (cx - 1, cy + 1)
    BelowLeft = 8,  // (cx - 1, cy - 1)
};

// One square of a tile map. A used cell takes part in the tile-map tests and
// shows a tile of its map.
class Cell final : public Core::Base
{
public:
    static constexpr const char* ScriptTypeName = "Cell";

    Cell() = default;
    Cell(const Cell&) = default;
    Cell& operator=(const Cell&) = default;
    virtual ~Cell();

    virtual LuaScript* GetScript();
    virtual void PushToScript(lua_State* state);

    // The current frame's id of the tile, 255 without a tile.
    std::uint8_t Id() const;
    // The current frame's image of the tile, 0 without a tile.
    std::int32_t MyImage() const;

    Tile* MyTile = nullptr;        // a tile of the same map, not owned
    bool isUsed = false;           // takes part in collisions
    std::int32_t myTileIndex = -1; // index of MyTile in the map's tiles; -1 without
};

// A collision object covering a rectangle with columns x rows square cells
// of side `dimension`, cell (0, 0) at the map's position, y growing upwards:
// cell (cx, cy) covers [position.x + cx d, position.x + (cx + 1) d] along x and
// likewise along y. Cells are indexed [column][row].
class TileMap final : public MainCollisionObject
{
public:
    static constexpr const char* ScriptTypeName = "CollisionTileMap";
    // The id of a cell without a tile and the answer for a cell not there.
    static constexpr std::uint8_t NoTileId = 255;
    // Bounds on what a file or an archive may ask for: a million cells and
    // 65536 tiles are far beyond any screen of tiles.
    static constexpr std::int64_t MaximumCellCount = std::int64_t{1} << 20;
    static constexpr std::int32_t MaximumTileCount = 1 << 16;

    // Kind 6, the next running id from the tile-map counter, everything else
    // zero, no tiles and no cells.
    TileMap();
    // An empty map for Read: nothing is taken from the counter.
    explicit TileMap(ForReadingTag);
    // The clone: kind and owner word, a new running id, the local rectangle,
    // position, offset, z, dimension, sizes and tile count copied, with
    // fresh default tiles and cells (their contents are not copied).
    TileMap(const TileMap& other);
    TileMap& operator=(const TileMap&) = delete;
    ~TileMap() override;

    void PushToScript(lua_State* state) override;

    // The owner's position is the map's position plus the offset.
    void SetPosition(const Math::Vector2D& point) { position_ = point - offset_; }
    // Keeps the owner's position (position + offset) where it is.
    void SetOffset(const Math::Vector2D& offset);
    const Math::Vector2D& GetPosition() const { return position_; }
    const Math::Vector2D& GetOffset() const { return offset_; }

    void SetZCollision(std::uint8_t z) { z_ = z; }
    std::uint8_t GetZ_Collision() const { return z_; }

    // The bounding rectangle relative to the position, and the world one
    // the last Update made of it.
    void SetBoundingRectangle(const ZibRect& rectangle) { localRectangle_ = rectangle; }
    const ZibRect& GetBoundingRectangle() const { return localRectangle_; }
    const ZibRect& GetCurrentBoundingRectangle() const { return currentRectangle_; }

    std::uint32_t GetRunningId() const { return runningId_; }
    // The slot of the map in its layer, set by the layer when it stores the
    // map; contact records name the map by it. Not archived.
    void SetSlot(std::uint32_t slot) { slot_ = slot; }
    std::uint32_t GetSlot() const { return slot_; }

    std::int32_t GetDimension() const { return dimension_; }
    std::int32_t GetWidth() const { return width_; }
    std::int32_t GetHeight() const { return height_; }
    std::int32_t GetRows() const { return rows_; }
    std::int32_t GetColumns() const { return columns_; }
    std::int32_t GetTileCount() const { return static_cast<std::int32_t>(tiles_.size()); }

    // Replaces the grid: width := dimension x columns, height := dimension x
    // rows, tileCount default tiles, every cell free. Refuses (false, map
    // unchanged) what IsGridAllowed refuses.
    bool SetGrid(std::int32_t columns, std::int32_t rows, std::int32_t dimension, std::int32_t tileCount);
    // No negative value, no more cells or tiles than the bounds, and a width
    // and height in pixels that fit their 32 bits.
    static bool IsGridAllowed(std::int32_t columns, std::int32_t rows, std::int32_t dimension,
                              std::int32_t tileCount);

    // Null when the index is out of range.
    Tile* GetTile(std::int32_t index);
    const Tile* GetTile(std::int32_t index) const;
    Cell* GetCell(std::int32_t column, std::int32_t row);
    const Cell* GetCell(std::int32_t column, std::int32_t row) const;

    // 0 <= column < columns and 0 <= row < rows.
    bool IsValidCell(std::int32_t column, std::int32_t row) const
    {
        return column >= 0 && column < columns_ && row >= 0 && row < rows_;
    }
    // False outside the map.
    bool GetCellUsed(std::int32_t column, std::int32_t row) const;
    // Makes the cell used, showing tile `tileIndex`. Refuses (false, nothing
    // changed) a cell outside the map or a tile index out of range.
    bool UseCell(std::int32_t column, std::int32_t row, std::int32_t tileIndex);

    // The current frame's id of the cell's tile; 255 when it has none.
    static std::uint8_t GetCurrentTileId(const Cell& cell) { return cell.Id(); }

    // The cell under p is (trunc(q.x / d), trunc(q.y / d)), q = p - position
    // (truncation toward zero). Answers the tile id of its neighbour in the
    // direction (a CellDirection code), or 255 for another code, a neighbour
    // outside the map or not used.
    std::uint8_t GetCollidedCellId(const Math::Vector2D& point, std::int32_t direction) const;

    // Once per layer step: every tile animates by dt, then the world
    // rectangle becomes the local one moved by the position.
    void Update(float dt);

    // Reads columns, rows, dimension, tiles and used cells from a tile-map
    // text file (an engine path; Collision_TileMapFile.cpp), replacing the
    // grid and the tiles. Entries naming a cell or a tile outside the map
    // are skipped. A file that cannot be opened or read to its end leaves the
    // map as it was, answers false and, when `error` is given, says there
    // which file and what was wrong.
    [[nodiscard]] bool ReadInformation(const std::string& fileName, std::string* error = nullptr);

    // Kind; the tile-map counter; running id; local rectangle; position; z
    // (1 byte); dimension, width, height, rows, columns, tile count; every
    // tile; every cell column by column (tile index, used byte). Offset and
    // world rectangle are not stored. Read restores the counter, checks
    // every count against the bytes left and every tile index against the
    // tiles, and changes nothing (map and counter) unless the whole map was
    // read.
    void Write(Core::File& file) const;
    [[nodiscard]] bool Read(Core::File& file);

private:
    // Tiles and cells live in vectors, not one pooled object each: script
    // handles into them are cleared here before their storage is replaced or
    // freed.
    void ForgetTilesAndCells();

    std::size_t CellIndex(std::int32_t column, std::int32_t row) const
    {
        return static_cast<std::size_t>(column) * static_cast<std::size_t>(rows_) +
               static_cast<std::size_t>(row);
    }

    std::vector<Tile> tiles_;
    ZibRect currentRectangle_;
    std::uint32_t runningId_ = 0;
    ZibRect localRectangle_;
    Math::Vector2D position_;
    Math::Vector2D offset_;
    std::uint8_t z_ = 0;
    std::int32_t dimension_ = 0;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::int32_t rows_ = 0;
    std::int32_t columns_ = 0;
    std::vector<Cell> cells_; // [column][row], column-major
    std::uint32_t slot_ = 0;
};

} // namespace Collision2D

#include "collision/Collision_TileMap.h"

#include "collision/Collision_Archive.h"
#include "collision/Collision_Settings.h"
#include "core/Core_File.h"
#include "core/Core_ScriptBridge.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Collision2D
{

namespace
{

// Bytes of the smallest tile (no frames) and of one frame in an archive.
constexpr std::uint64_t EmptyTileBytes = 4 + 4 + 4 + 1;
constexpr std::uint64_t FrameBytes = 4 + 4 + 1;
// Bytes of one cell in an archive.
constexpr std::uint64_t CellBytes = 4 + 1;

// trunc(value) as a cell index, or false when it is no finite number or
// lies far outside any map.
bool TruncatedCell(float value, std::int32_t& index)
{
    const float truncated = std::trunc(value);
    if (!(std::fabs(truncated) < 1.0e9f))
    {
        return false;
    }
    index = static_cast<std::int32_t>(truncated);
    return true;
}

} // namespace

// --- Tile ---------------------------------------------------------------------------

Tile::~Tile() = default;

LuaScript* Tile::GetScript()
{
    return nullptr;
}

void Tile::PushToScript(lua_State* state)
{
    Core::PushUserdata(state, this, ScriptTypeName);
}

void Tile::SetFrames(std::span<const std::int32_t> images, std::span<const float> durations,
                     std::span<const std::uint8_t> ids)
{
    const std::size_t count = std::min({images.size(), durations.size(), ids.size()});
    images_.assign(images.begin(), images.begin() + static_cast<std::ptrdiff_t>(count));
    durations_.assign(durations.begin(), durations.begin() + static_cast<std::ptrdiff_t>(count));
    ids_.assign(ids.begin(), ids.begin() + static_cast<std::ptrdiff_t>(count));
    currentFrame_ = 0;
    elapsed_ = 0.0f;
    isActivated = true;
}

void Tile::Update(float dt)
{
    if (!isActivated || GetFrameCount() < 2)
    {
        return;
    }
    elapsed_ += dt;
    if (durations_[static_cast<std::size_t>(currentFrame_)] <= elapsed_)
    {
        elapsed_ = 0.0f;
        currentFrame_ = (currentFrame_ + 1) % GetFrameCount();
    }
}

std::uint8_t Tile::CurrentId() const
{
    return ids_.empty() ? TileMap::NoTileId : ids_[static_cast<std::size_t>(currentFrame_)];
}

std::int32_t Tile::CurrentImage() const
{
    return images_.empty() ? 0 : images_[static_cast<std::size_t>(currentFrame_)];
}

void Tile::Write(Core::File& file) const
{
    file << GetFrameCount();
    for (std::size_t i = 0; i < ids_.size(); ++i)
    {
        file << images_[i] << durations_[i] << ids_[i];
    }
    file << currentFrame_ << elapsed_ << isActivated;
}

bool Tile::Read(Core::File& file)
{
    std::int32_t frameCount = 0;
    file >> frameCount;
    if (file.Failed())
    {
        return false;
    }
    if (!Detail::CheckStoredCount(file, frameCount, Detail::MaximumStoredCapacity, FrameBytes))
    {
        return false;
    }
    Tile read;
    const std::size_t count = static_cast<std::size_t>(frameCount);
    read.images_.resize(count);
    read.durations_.resize(count);
    read.ids_.resize(count);
    for (std::size_t i = 0; i < count; ++i)
    {
        file >> read.images_[i] >> read.durations_[i] >> read.ids_[i];
    }
    file >> read.currentFrame_ >> read.elapsed_ >> read.isActivated;
    if (file.Failed())
    {
        return false;
    }
    // A tile without frames stays at frame 0.
    if (read.currentFrame_ < 0 ||
        (frameCount > 0 ? read.currentFrame_ >= frameCount : read.currentFrame_ != 0))
    {
        return Detail::RejectData(file);
    }
    *this = std::move(read);
    return true;
}

// --- Cell ---------------------------------------------------------------------------

Cell::~Cell() = default;

LuaScript* Cell::GetScript()
{
    return nullptr;
}

void Cell::PushToScript(lua_State* state)
{
    Core::PushUserdata(state, this, ScriptTypeName);
}

std::uint8_t Cell::Id() const
{
    return MyTile != nullptr ? MyTile->CurrentId() : TileMap::NoTileId;
}

std::int32_t Cell::MyImage() const
{
    return MyTile != nullptr ? MyTile->CurrentImage() : 0;
}

// --- TileMap ------------------------------------------------------------------------

TileMap::TileMap() : MainCollisionObject(CollisionKind::TileMap), runningId_(TakeTileMapSerial()) {}

TileMap::TileMap(ForReadingTag) : MainCollisionObject(CollisionKind::TileMap) {}

TileMap::TileMap(const TileMap& other)
    : MainCollisionObject(other), tiles_(other.tiles_.size()), runningId_(TakeTileMapSerial()),
      localRectangle_(other.localRectangle_), position_(other.position_), offset_(other.offset_),
      z_(other.z_), dimension_(other.dimension_), width_(other.width_), height_(other.height_),
      rows_(other.rows_), columns_(other.columns_), cells_(other.cells_.size())
{
}

TileMap::~TileMap()
{
    ForgetTilesAndCells();
}

void TileMap::ForgetTilesAndCells()
{
    Core::ForgetUserdata(tiles_.data(), tiles_.size() * sizeof(Tile));
    Core::ForgetUserdata(cells_.data(), cells_.size() * sizeof(Cell));
}

void TileMap::PushToScript(lua_State* state)
{
    Core::PushUserdata(state, this, ScriptTypeName);
}

void TileMap::SetOffset(const Math::Vector2D& offset)
{
    position_ = position_ + offset_ - offset;
    offset_ = offset;
}

bool TileMap::IsGridAllowed(std::int32_t columns, std::int32_t rows, std::int32_t dimension,
                            std::int32_t tileCount)
{
    constexpr std::int64_t MaximumExtent = std::numeric_limits<std::int32_t>::max();
    return columns >= 0 && rows >= 0 && dimension >= 0 && tileCount >= 0 && tileCount <= MaximumTileCount &&
           static_cast<std::int64_t>(columns) * rows <= MaximumCellCount &&
           static_cast<std::int64_t>(dimension) * columns <= MaximumExtent &&
           static_cast<std::int64_t>(dimension) * rows <= MaximumExtent;
}

bool TileMap::SetGrid(std::int32_t columns, std::int32_t rows, std::int32_t dimension, std::int32_t tileCount)
{
    if (!IsGridAllowed(columns, rows, dimension, tileCount))
    {
        return false;
    }
    dimension_ = dimension;
    rows_ = rows;
    columns_ = columns;
    width_ = dimension * columns;
    height_ = dimension * rows;
    // Cells point into the tiles: both are replaced together.
    ForgetTilesAndCells();
    cells_.assign(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), Cell());
    tiles_.assign(static_cast<std::size_t>(tileCount), Tile());
    return true;
}

Tile* TileMap::GetTile(std::int32_t index)
{
    return index >= 0 && index < GetTileCount() ? &tiles_[static_cast<std::size_t>(index)] : nullptr;
}

const Tile* TileMap::GetTile(std::int32_t index) const
{
    return index >= 0 && index < GetTileCount() ? &tiles_[static_cast<std::size_t>(index)] : nullptr;
}

Cell* TileMap::GetCell(std::int32_t column, std::int32_t row)
{
    return IsValidCell(column, row) ? &cells_[CellIndex(column, row)] : nullptr;
}

const Cell* TileMap::GetCell(std::int32_t column, std::int32_t row) const
{
    return IsValidCell(column, row) ? &cells_[CellIndex(column, row)] : nullptr;
}

bool TileMap::GetCellUsed(std::int32_t column, std::int32_t row) const
{
    const Cell* cell = GetCell(column, row);
    return cell != nullptr && cell->isUsed;
}

bool TileMap::UseCell(std::int32_t column, std::int32_t row, std::int32_t tileIndex)
{
    Cell* cell = GetCell(column, row);
    Tile* tile = GetTile(tileIndex);
    if (cell == nullptr || tile == nullptr)
    {
        return false;
    }
    cell->MyTile = tile;
    cell->myTileIndex = tileIndex;
    cell->isUsed = true;
    return true;
}

std::uint8_t TileMap::GetCollidedCellId(const Math::Vector2D& point, std::int32_t direction) const
{
    static constexpr std::int32_t Steps[8][2] = {{0, 1}, {0, -1}, {-1, 0}, {1, 0},
                                                 {1, 1}, {1, -1}, {-1, 1}, {-1, -1}};
    if (direction < 1 || direction > 8 || dimension_ <= 0)
    {
        return NoTileId;
    }
    const Math::Vector2D local = point - position_;
    const float d = static_cast<float>(dimension_);
    std::int32_t column = 0;
    std::int32_t row = 0;
    if (!TruncatedCell(local.x / d, column) || !TruncatedCell(local.y / d, row))
    {
        return NoTileId;
    }
    const Cell* neighbour = GetCell(column + Steps[direction - 1][0], row + Steps[direction - 1][1]);
    return neighbour != nullptr && neighbour->isUsed ? neighbour->Id() : NoTileId;
}

void TileMap::Update(float dt)
{
    for (Tile& tile : tiles_)
    {
        tile.Update(dt);
    }
    currentRectangle_ = ZibRect(localRectangle_.top + position_.y, localRectangle_.left + position_.x,
                                localRectangle_.right + position_.x, localRectangle_.bottom + position_.y);
}

void TileMap::Write(Core::File& file) const
{
    file << kind_ << GetTileMapSerial() << runningId_;
    localRectangle_.Write(file);
    position_.Write(file);
    file << z_ << dimension_ << width_ << height_ << rows_ << columns_ << GetTileCount();
    for (const Tile& tile : tiles_)
    {
        tile.Write(file);
    }
    for (const Cell& cell : cells_)
    {
        file << cell.myTileIndex << cell.isUsed;
    }
}

bool TileMap::Read(Core::File& file)
{
    std::int32_t kind = 0;
    std::uint32_t counter = 0;
    TileMap read(ForReading);
    file >> kind >> counter >> read.runningId_;
    read.localRectangle_.Read(file);
    read.position_.Read(file);
    std::int32_t tileCount = 0;
    file >> read.z_ >> read.dimension_ >> read.width_ >> read.height_ >> read.rows_ >> read.columns_ >>
        tileCount;
    if (file.Failed())
    {
        return false;
    }
    const std::int64_t cellCount = static_cast<std::int64_t>(read.rows_) * read.columns_;
    if (kind != static_cast<std::int32_t>(CollisionKind::TileMap) || read.dimension_ < 0 || read.rows_ < 0 ||
        read.columns_ < 0 || cellCount > MaximumCellCount || tileCount < 0 || tileCount > MaximumTileCount)
    {
        return Detail::RejectData(file);
    }
    if (!file.Require(static_cast<std::uint64_t>(tileCount) * EmptyTileBytes +
                      static_cast<std::uint64_t>(cellCount) * CellBytes))
    {
        return false;
    }
    read.tiles_.resize(static_cast<std::size_t>(tileCount));
    for (Tile& tile : read.tiles_)
    {
        if (!tile.Read(file))
        {
            return false;
        }
    }
    read.cells_.resize(static_cast<std::size_t>(cellCount));
    for (Cell& cell : read.cells_)
    {
        file >> cell.myTileIndex >> cell.isUsed;
        if (file.Failed())
        {
            return false;
        }
        // A tile index is -1 or names one of the tiles read.
        if (cell.myTileIndex < -1 || cell.myTileIndex >= tileCount)
        {
            return Detail::RejectData(file);
        }
        cell.MyTile =
            cell.myTileIndex >= 0 ? &read.tiles_[static_cast<std::size_t>(cell.myTileIndex)] : nullptr;
    }

    // The cells point into the tiles' storage, which moves along unchanged.
    owner_ = 0;
    ForgetTilesAndCells();
    tiles_ = std::move(read.tiles_);
    cells_ = std::move(read.cells_);
    runningId_ = read.runningId_;
    localRectangle_ = read.localRectangle_;
    position_ = read.position_;
    z_ = read.z_;
    dimension_ = read.dimension_;
    width_ = read.width_;
    height_ = read.height_;
    rows_ = read.rows_;
    columns_ = read.columns_;
    SetTileMapSerial(counter);
    return true;
}

} // namespace Collision2D

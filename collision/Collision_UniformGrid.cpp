#include "collision/Collision_UniformGrid.h"

#include "collision/Collision_Archive.h"
#include "core/Core_File.h"
#include "math/Math_ClassifyResult.h"
#include "math/Math_Constants.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace Collision2D
{

namespace
{

// trunc(value) as an index clamped into [0, count - 1]; NaN gives 0.
std::int32_t ClampedIndex(float value, std::int32_t count)
{
    const float truncated = std::trunc(value);
    if (!(truncated > 0.0f))
    {
        return 0;
    }
    if (truncated >= static_cast<float>(count))
    {
        return count - 1;
    }
    return static_cast<std::int32_t>(truncated);
}

// trunc(value) without clamping, saturated far outside any grid so the
// conversion is always defined. The caller rejects NaN.
std::int64_t TruncatedIndex(float value)
{
    constexpr float Limit = 1.0e12f;
    return static_cast<std::int64_t>(std::trunc(std::clamp(value, -Limit, Limit)));
}

// The closed cell contains the point: left <= x <= right, bottom <= y <= top.
bool InClosedCell(const GridCell& cell, const Math::Vector2D& p)
{
    const float left = cell.edges[GridCell::LeftEdge].pointA.x;
    const float right = cell.edges[GridCell::RightEdge].pointA.x;
    const float bottom = cell.edges[GridCell::BottomEdge].pointA.y;
    const float top = cell.edges[GridCell::TopEdge].pointA.y;
    return left <= p.x && p.x <= right && bottom <= p.y && p.y <= top;
}

// Crossing (0) or running along (19) one of the sides, tried top, left,
// right, bottom.
bool TouchesSide(const GridCell& cell, const Math::LineSegment2D& segment)
{
    for (const Math::LineSegment2D& edge : cell.edges)
    {
        const Math::ClassifyResult result = Math::ClassifySegments(segment, edge);
        if (result == Math::ClassifyResult::Intersecting || result == Math::ClassifyResult::Coincident)
        {
            return true;
        }
    }
    return false;
}

// Bytes an empty cell takes in an archive: three empty lists and four sides.
constexpr std::uint64_t MinimumCellBytes = 3 * 8 + 4 * 16;

} // namespace

// --- SlotArray ------------------------------------------------------------------

void SlotArray::Append(std::uint32_t slot)
{
    if (count_ >= capacity_)
    {
        capacity_ += GrowthStep;
        slots_.resize(static_cast<std::size_t>(capacity_));
    }
    else if (static_cast<std::size_t>(count_) >= slots_.size())
    {
        // Storage of a list read from an archive grows up to its capacity.
        slots_.resize(static_cast<std::size_t>(capacity_));
    }
    slots_[static_cast<std::size_t>(count_)] = slot;
    ++count_;
}

bool SlotArray::Contains(std::uint32_t slot) const
{
    return std::find(begin(), end(), slot) != end();
}

void SlotArray::Write(Core::File& file) const
{
    file << GetCapacity() << count_;
    for (const std::uint32_t slot : *this)
    {
        file << slot;
    }
}

bool SlotArray::Read(Core::File& file)
{
    std::int32_t capacity = 0;
    std::int32_t count = 0;
    file >> capacity >> count;
    if (file.Failed())
    {
        return false;
    }
    if (capacity < 0 || capacity > Detail::MaximumStoredCapacity)
    {
        return Detail::RejectData(file);
    }
    if (!Detail::CheckStoredCount(file, count, capacity, sizeof(std::uint32_t)))
    {
        return false;
    }
    // Only the entries read take storage now: the capacity is a number the
    // list keeps, not bytes the archive backs.
    std::vector<std::uint32_t> slots(static_cast<std::size_t>(count));
    for (std::uint32_t& slot : slots)
    {
        file >> slot;
    }
    if (file.Failed())
    {
        return false;
    }
    slots_ = std::move(slots);
    capacity_ = capacity;
    count_ = count;
    return true;
}

// --- UniformGrid ------------------------------------------------------------------

bool UniformGrid::Initialize(const Math::Vector2D& origin, std::int32_t width, std::int32_t height,
                             std::int32_t rows, std::int32_t columns, std::int32_t cellSize)
{
    if (rows < 1 || columns < 1 || cellSize < 1)
    {
        return false;
    }
    std::vector<GridCell> cells(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows));
    const float s = static_cast<float>(cellSize);
    for (std::int32_t c = 0; c < columns; ++c)
    {
        const float x0 = static_cast<float>(c) * s;
        const float x1 = static_cast<float>(c + 1) * s;
        for (std::int32_t r = 0; r < rows; ++r)
        {
            const float y0 = static_cast<float>(r) * s;
            const float y1 = static_cast<float>(r + 1) * s;
            GridCell& cell = cells[static_cast<std::size_t>(c) * static_cast<std::size_t>(rows) +
                                   static_cast<std::size_t>(r)];
            cell.edges[GridCell::TopEdge] = Math::LineSegment2D({x0, y1}, {x1, y1});
            cell.edges[GridCell::LeftEdge] = Math::LineSegment2D({x0, y0}, {x0, y1});
            cell.edges[GridCell::RightEdge] = Math::LineSegment2D({x1, y1}, {x1, y0});
            cell.edges[GridCell::BottomEdge] = Math::LineSegment2D({x1, y0}, {x0, y0});
        }
    }
    origin_ = origin;
    width_ = width;
    height_ = height;
    rows_ = rows;
    columns_ = columns;
    cellSize_ = s;
    cells_ = std::move(cells);
    return true;
}

void UniformGrid::Clear()
{
    cells_.clear();
    cells_.shrink_to_fit();
}

void UniformGrid::CellOf(float x, float y, std::int32_t& column, std::int32_t& row) const
{
    column = ClampedIndex((x - origin_.x) / cellSize_, columns_);
    row = ClampedIndex((y - origin_.y) / cellSize_, rows_);
}

void UniformGrid::ResetDynamicObjects(std::int32_t column, std::int32_t row)
{
    CellAt(column, row).dynamicObjects.Reset();
}

void UniformGrid::ResetAllDynamicObjects()
{
    for (GridCell& cell : cells_)
    {
        cell.dynamicObjects.Reset();
    }
}

void UniformGrid::AddDynamicObject(std::int32_t column, std::int32_t row, std::uint32_t slot)
{
    CellAt(column, row).dynamicObjects.Append(slot);
}

void UniformGrid::AddStaticCircle(std::int32_t column, std::int32_t row, std::uint32_t slot)
{
    if (IsEmpty())
    {
        return;
    }
    SlotArray& circles =
        CellAt(std::clamp(column, 0, columns_ - 1), std::clamp(row, 0, rows_ - 1)).staticCircles;
    if (!circles.Contains(slot))
    {
        circles.Append(slot);
    }
}

void UniformGrid::AddStaticLineSegment(std::int32_t column, std::int32_t row, std::uint32_t slot)
{
    if (IsEmpty())
    {
        return;
    }
    SlotArray& segments =
        CellAt(std::clamp(column, 0, columns_ - 1), std::clamp(row, 0, rows_ - 1)).staticLineSegments;
    if (!segments.Contains(slot))
    {
        segments.Append(slot);
    }
}

void UniformGrid::ClearStaticCircles()
{
    for (GridCell& cell : cells_)
    {
        cell.staticCircles.Reset();
    }
}

void UniformGrid::ClearStaticLineSegments()
{
    for (GridCell& cell : cells_)
    {
        cell.staticLineSegments.Reset();
    }
}

void UniformGrid::InsertStaticCircle(const Math::Circle2D& circle, std::uint32_t slot)
{
    if (IsEmpty())
    {
        return;
    }
    // Rim samples one degree apart, the angle accumulated in a float; a
    // sample's cell comes from its coordinates rounded to whole units.
    const Math::Vector2D center = circle.center - origin_;
    std::int32_t previousColumn = -1;
    std::int32_t previousRow = -1;
    for (float a = 0.0f; static_cast<double>(a) < 2.0 * std::numbers::pi; a += Math::DegreesToRadians)
    {
        const float x = center.x + circle.radius * std::cos(a);
        const float y = center.y + circle.radius * std::sin(a);
        const std::int32_t column = ClampedIndex(std::trunc(x + 0.5f) / cellSize_, columns_);
        const std::int32_t row = ClampedIndex(std::trunc(y + 0.5f) / cellSize_, rows_);
        if (column != previousColumn || row != previousRow)
        {
            AddStaticCircle(column, row, slot);
            previousColumn = column;
            previousRow = row;
        }
    }
}

void UniformGrid::InsertStaticLineSegment(const Math::LineSegment2D& segment, std::uint32_t slot)
{
    const Math::LineSegment2D local(segment.pointA - origin_, segment.pointB - origin_);
    const Math::Vector2D& a = local.pointA;
    const Math::Vector2D& b = local.pointB;
    if (IsEmpty() || std::isnan(a.x) || std::isnan(a.y) || std::isnan(b.x) || std::isnan(b.y))
    {
        return;
    }
    // The cell range of the two end points (no rounding), clamped into the grid.
    const std::int64_t columnA = TruncatedIndex(a.x / cellSize_);
    const std::int64_t rowA = TruncatedIndex(a.y / cellSize_);
    const std::int64_t columnB = TruncatedIndex(b.x / cellSize_);
    const std::int64_t rowB = TruncatedIndex(b.y / cellSize_);
    const std::int64_t firstColumn = std::max<std::int64_t>(std::min(columnA, columnB), 0);
    const std::int64_t lastColumn = std::min<std::int64_t>(std::max(columnA, columnB), columns_ - 1);
    const std::int64_t firstRow = std::max<std::int64_t>(std::min(rowA, rowB), 0);
    const std::int64_t lastRow = std::min<std::int64_t>(std::max(rowA, rowB), rows_ - 1);
    for (std::int64_t c = firstColumn; c <= lastColumn; ++c)
    {
        for (std::int64_t r = firstRow; r <= lastRow; ++r)
        {
            GridCell& cell = CellAt(static_cast<std::int32_t>(c), static_cast<std::int32_t>(r));
            if (InClosedCell(cell, a) || InClosedCell(cell, b) || TouchesSide(cell, local))
            {
                if (!cell.staticLineSegments.Contains(slot))
                {
                    cell.staticLineSegments.Append(slot);
                }
            }
        }
    }
}

void UniformGrid::Write(Core::File& file) const
{
    origin_.Write(file);
    file << width_ << height_ << rows_ << columns_ << cellSize_;
    for (const GridCell& cell : cells_)
    {
        cell.dynamicObjects.Write(file);
        cell.staticCircles.Write(file);
        cell.staticLineSegments.Write(file);
        for (const Math::LineSegment2D& edge : cell.edges)
        {
            edge.Write(file);
        }
    }
}

bool UniformGrid::Read(Core::File& file)
{
    UniformGrid read;
    read.origin_.Read(file);
    file >> read.width_ >> read.height_ >> read.rows_ >> read.columns_ >> read.cellSize_;
    if (file.Failed())
    {
        return false;
    }
    // An empty grid has neither rows nor columns: walks over the columns of
    // a grid without rows would otherwise run up to 2^31 times.
    if (read.rows_ < 0 || read.columns_ < 0 || (read.rows_ == 0) != (read.columns_ == 0))
    {
        return Detail::RejectData(file);
    }
    const std::uint64_t cellCount =
        read.rows_ == 0 ? 0
                        : static_cast<std::uint64_t>(read.rows_) * static_cast<std::uint64_t>(read.columns_);

    if (cellCount > 0 && !(read.cellSize_ >= 1.0f && std::isfinite(read.cellSize_)))
    {
        return Detail::RejectData(file);
    }
    // Checked by division: rows x columns x bytes per cell can pass 2^64.
    if (cellCount > file.GetBytesLeft() / MinimumCellBytes)
    {
        file.SetError(Core::FileError::ShortRead);
        return false;
    }
    read.cells_.resize(static_cast<std::size_t>(cellCount));
    for (GridCell& cell : read.cells_)
    {
        if (!cell.dynamicObjects.Read(file) || !cell.staticCircles.Read(file) ||
            !cell.staticLineSegments.Read(file))
        {
            return false;
        }
        for (Math::LineSegment2D& edge : cell.edges)
        {
            edge.Read(file);
        }
        if (file.Failed())
        {
            return false;
        }
    }
    *this = std::move(read);
    return true;
}

} // namespace Collision2D

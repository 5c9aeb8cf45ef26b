#pragma once

#include "core/Core_Assert.h"
#include "math/Math_Circle2D.h"
#include "math/Math_LineSegment2D.h"
#include "math/Math_Vector2D.h"

#include <cstdint>
#include <vector>

namespace Core
{
class File;
}

namespace Collision2D
{

// The slots a grid cell lists for one kind of object. The storage grows by
// 10 entries when an append finds it full and is kept when the list is
// emptied, so refilling it every step allocates nothing.
class SlotArray
{
public:
    static constexpr std::int32_t GrowthStep = 10;

    // Appends without a duplicate test.
    void Append(std::uint32_t slot);
    bool Contains(std::uint32_t slot) const;
    // Count 0; the storage stays.
    void Reset() { count_ = 0; }

    std::int32_t GetCount() const { return count_; }
    std::int32_t GetCapacity() const { return capacity_; }
    std::uint32_t operator[](std::int32_t index) const
    {
        ENGINE_ASSERT(index >= 0 && index < count_);
        return slots_[static_cast<std::size_t>(index)];
    }
    const std::uint32_t* begin() const { return slots_.data(); }
    const std::uint32_t* end() const { return slots_.data() + count_; }

    // Capacity, count, the slots in use (4-byte integers each).
    void Write(Core::File& file) const;
    [[nodiscard]] bool Read(Core::File& file);

private:
    std::vector<std::uint32_t> slots_; // count <= size <= capacity
    std::int32_t capacity_ = 0;
    std::int32_t count_ = 0;
};

// One square cell: the dynamic objects entered this step and the static
// shapes whose geometry touches it, with its four sides.
struct GridCell
{
    enum Edge : int
    {
        TopEdge = 0,
        LeftEdge = 1,
        RightEdge = 2,
        BottomEdge = 3,
    };

    SlotArray dynamicObjects;
    SlotArray staticCircles;
    SlotArray staticLineSegments;
    // In grid coordinates (relative to the origin), for cell (c, r) of side
    // s: top (c s, (r+1) s)-((c+1) s, (r+1) s), left (c s, r s)-(c s, (r+1) s),
    // right ((c+1) s, (r+1) s)-((c+1) s, r s), bottom ((c+1) s, r s)-(c s, r s).
    Math::LineSegment2D edges[4];
};

// The uniform grid of a collision layer: columns x rows square cells from
// the origin (the lower-left corner), y growing upwards. Static shapes are
// entered once, in the cells their geometry passes through; dynamic objects
// are entered anew every step in the cells their swept rectangle covers.
class UniformGrid
{
public:
    // The grid a new layer starts with.
    static constexpr std::int32_t DefaultWidth = 640;
    static constexpr std::int32_t DefaultHeight = 480;
    static constexpr std::int32_t DefaultRows = 4;
    static constexpr std::int32_t DefaultColumns = 6;
    static constexpr std::int32_t DefaultCellSize = 100;

    // No cells until initialised.
    UniformGrid() = default;

    // Releases any previous cells and builds columns x rows empty cells of
    // the given side. Refuses (false, grid unchanged) fewer than one row or
    // column or a side below 1.
    bool Initialize(const Math::Vector2D& origin, std::int32_t width, std::int32_t height, std::int32_t rows,
                    std::int32_t columns, std::int32_t cellSize);
    void Clear();
    bool IsEmpty() const { return cells_.empty(); }

    // The cell of a world point: trunc((p - origin) / cell side) per axis,
    // clamped into the grid.
    void CellOf(float x, float y, std::int32_t& column, std::int32_t& row) const;

    // Dynamic entries: emptied and refilled every step. AddDynamicObject
    // appends without a duplicate test; the indices must be in range.
    void ResetDynamicObjects(std::int32_t column, std::int32_t row);
    void ResetAllDynamicObjects();
    void AddDynamicObject(std::int32_t column, std::int32_t row, std::uint32_t slot);

    // Static entries: the indices are clamped into the grid and a slot the
    // cell already lists is not added again.
    void AddStaticCircle(std::int32_t column, std::int32_t row, std::uint32_t slot);
    void AddStaticLineSegment(std::int32_t column, std::int32_t row, std::uint32_t slot);

    // Empty every cell's list of static circles (segments); the storage stays.
    void ClearStaticCircles();
    void ClearStaticLineSegments();

    // Enter a static circle in every cell its rim passes through (sampled
    // every degree), not in cells lying wholly inside it.
    void InsertStaticCircle(const Math::Circle2D& circle, std::uint32_t slot);
    // Enter a static segment in every cell of its end points' cell range
    // that holds an end point or whose sides it crosses or runs along.
    void InsertStaticLineSegment(const Math::LineSegment2D& segment, std::uint32_t slot);

    // Cell (column, row); both must be in range.
    const GridCell& GetCell(std::int32_t column, std::int32_t row) const
    {
        return cells_[IndexOf(column, row)];
    }

    const Math::Vector2D& GetOrigin() const { return origin_; }
    std::int32_t GetWidth() const { return width_; }
    std::int32_t GetHeight() const { return height_; }
    std::int32_t GetRows() const { return rows_; }
    std::int32_t GetColumns() const { return columns_; }
    float GetCellSize() const { return cellSize_; }

    // Origin, width, height, rows, columns, cell side (float), then every
    // cell, column by column and row by row within a column: its dynamic,
    // circle and segment lists, then its four sides. Read checks every
    // number against the bytes left and its capacity and replaces this grid
    // only when the whole grid was read.
    void Write(Core::File& file) const;
    [[nodiscard]] bool Read(Core::File& file);

private:
    std::size_t IndexOf(std::int32_t column, std::int32_t row) const
    {
        ENGINE_ASSERT(column >= 0 && column < columns_ && row >= 0 && row < rows_);
        return static_cast<std::size_t>(column) * static_cast<std::size_t>(rows_) +
               static_cast<std::size_t>(row);
    }
    GridCell& CellAt(std::int32_t column, std::int32_t row) { return cells_[IndexOf(column, row)]; }

    Math::Vector2D origin_;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::int32_t rows_ = 0;
    std::int32_t columns_ = 0;
    float cellSize_ = 0.0f;
    std::vector<GridCell> cells_; // column-major: [column][row]
};

} // namespace Collision2D

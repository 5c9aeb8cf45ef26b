#include "CollisionTestSupport.h"

#include "collision/Collision_UniformGrid.h"
#include "collision/Collision_ZibRect.h"
#include "core/Core_Assert.h"

#include <cmath>
#include <limits>
#include <set>
#include <utility>

namespace
{

using namespace Collision2D;
using CollisionTest::BytesOf;
using Math::Circle2D;
using Math::LineSegment2D;
using Math::Vector2D;
using Cells = std::set<std::pair<int, int>>;

UniformGrid MakeGrid(int columns = 6, int rows = 4, Vector2D origin = {})
{
    UniformGrid grid;
    EXPECT_TRUE(grid.Initialize(origin, columns * 100, rows * 100, rows, columns, 100));
    return grid;
}

// The cells whose circle or segment list holds `slot`.
Cells CellsListing(const UniformGrid& grid, std::uint32_t slot, bool circles)
{
    Cells cells;
    for (int c = 0; c < grid.GetColumns(); ++c)
    {
        for (int r = 0; r < grid.GetRows(); ++r)
        {
            const GridCell& cell = grid.GetCell(c, r);
            if ((circles ? cell.staticCircles : cell.staticLineSegments).Contains(slot))
            {
                cells.insert({c, r});
            }
        }
    }
    return cells;
}

TEST(UniformGrid, CellOfClampsIntoTheGrid)
{
    const UniformGrid grid = MakeGrid();
    const UniformGrid shifted = MakeGrid(6, 4, {-100, 50});
    struct Case
    {
        const UniformGrid* grid;
        float x;
        float y;
        int column;
        int row;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {&grid, -5, 1000, 0, 3},     {&grid, 599.9f, 0, 5, 0},     {&grid, 650, 50, 5, 0},
        {&grid, 100, 299.99f, 1, 2}, {&grid, 1e30f, -1e30f, 5, 0}, {&grid, nan, nan, 0, 0},
        {&shifted, -100, 50, 0, 0},  {&shifted, 99, 149, 1, 0},    {&shifted, -150, 200, 0, 1},
    };
    for (const Case& c : cases)
    {
        int column = -1;
        int row = -1;
        c.grid->CellOf(c.x, c.y, column, row);
        EXPECT_EQ(column, c.column) << c.x << ", " << c.y;
        EXPECT_EQ(row, c.row) << c.x << ", " << c.y;
    }
}

#if ENGINE_ASSERTS_ENABLED
// A cell index outside the grid is the caller's fault: builds with
// assertions stop there instead of reading past the cells.
TEST(UniformGridDeathTest, ACellOutsideTheGridStopsTheProgram)
{
    const UniformGrid grid = MakeGrid();
    const std::pair<int, int> outside[] = {{6, 0}, {0, 4}, {-1, 0}, {0, -1}};
    for (const auto& [column, row] : outside)
    {
        EXPECT_DEATH(grid.GetCell(column, row), "assertion failed: column >= 0 && column < columns_")
            << column << ", " << row;
    }
}
#endif

TEST(UniformGrid, InitialisationBuildsCellsWithTheirSides)
{
    UniformGrid grid = MakeGrid();
    EXPECT_EQ(grid.GetCellSize(), 100.0f);
    const GridCell& cell = grid.GetCell(2, 1);
    EXPECT_EQ(cell.edges[GridCell::TopEdge].pointA, Vector2D(200, 200));
    EXPECT_EQ(cell.edges[GridCell::TopEdge].pointB, Vector2D(300, 200));
    EXPECT_EQ(cell.edges[GridCell::LeftEdge].pointB, Vector2D(200, 200));
    EXPECT_EQ(cell.edges[GridCell::RightEdge].pointA, Vector2D(300, 200));
    EXPECT_EQ(cell.edges[GridCell::BottomEdge].pointB, Vector2D(200, 100));
    EXPECT_EQ(cell.dynamicObjects.GetCapacity(), 0);

    // A grid without rows, columns or cell side is refused; the old one stays.
    EXPECT_FALSE(grid.Initialize({}, 0, 0, 0, 6, 100));
    EXPECT_FALSE(grid.Initialize({}, 640, 480, 4, -1, 100));
    EXPECT_FALSE(grid.Initialize({}, 640, 480, 4, 6, 0));
    EXPECT_EQ(grid.GetColumns(), 6);
    EXPECT_FALSE(grid.IsEmpty());
}

TEST(UniformGrid, CellListsGrowByTenAndKeepTheirStorage)
{
    UniformGrid grid = MakeGrid();
    for (std::uint32_t slot = 1; slot <= 11; ++slot)
    {
        grid.AddDynamicObject(1, 1, slot % 3);
    }
    const SlotArray& dynamic = grid.GetCell(1, 1).dynamicObjects;
    EXPECT_EQ(dynamic.GetCount(), 11);
    EXPECT_EQ(dynamic.GetCapacity(), 20);
    grid.ResetAllDynamicObjects();
    EXPECT_EQ(dynamic.GetCount(), 0);
    EXPECT_EQ(dynamic.GetCapacity(), 20);

    // Static entries are clamped into the grid and never listed twice.
    grid.AddStaticCircle(-4, 9, 7);
    grid.AddStaticCircle(0, 3, 7);
    grid.AddStaticLineSegment(99, -1, 8);
    EXPECT_EQ(grid.GetCell(0, 3).staticCircles.GetCount(), 1);
    EXPECT_EQ(grid.GetCell(5, 0).staticLineSegments[0], 8u);
}

TEST(UniformGrid, StaticCirclesAreListedWhereTheirRimPasses)
{
    struct Case
    {
        Circle2D circle;
        Cells listed;
        Cells absent;
    };
    const Case cases[] = {
        {Circle2D({150, 150}, 10), {{1, 1}}, {}},
        {Circle2D({200, 200}, 80), {{1, 1}, {2, 1}, {1, 2}, {2, 2}}, {}},
        {Circle2D({250, 250}, 150),
         {{1, 1}, {2, 1}, {3, 1}, {1, 2}, {3, 2}, {1, 3}, {2, 3}, {3, 3}},
         {{2, 2}}},
    };
    for (const Case& c : cases)
    {
        UniformGrid grid = MakeGrid(6, 6);
        grid.InsertStaticCircle(c.circle, 4);
        const Cells cells = CellsListing(grid, 4, true);
        if (c.absent.empty())
        {
            EXPECT_EQ(cells, c.listed) << c.circle.radius;
        }
        for (const auto& cell : c.listed)
        {
            EXPECT_TRUE(cells.count(cell)) << c.circle.radius << ": " << cell.first << ", " << cell.second;
        }
        for (const auto& cell : c.absent)
        {
            EXPECT_FALSE(cells.count(cell)) << c.circle.radius << ": " << cell.first << ", " << cell.second;
        }
    }
}

TEST(UniformGrid, StaticSegmentsAreListedThroughTheirEndsAndTheCellSides)
{
    struct Case
    {
        LineSegment2D segment;
        Vector2D origin;
        Cells listed;
    };
    const Case cases[] = {
        {{{10, 10}, {290, 10}}, {}, {{0, 0}, {1, 0}, {2, 0}}},
        // Both ends lie in row 1: row 0 is never considered.
        {{{50, 100}, {150, 100}}, {}, {{0, 1}, {1, 1}}},
        {{{50, 50}, {250, 150}}, {}, {{0, 0}, {1, 0}, {1, 1}, {2, 1}}},
        {{{250, 150}, {50, 50}}, {}, {{0, 0}, {1, 0}, {1, 1}, {2, 1}}},
        // Taken relative to the origin.
        {{{-50, -50}, {150, 50}}, {-100, -100}, {{0, 0}, {1, 0}, {1, 1}, {2, 1}}},
        // Beyond the grid: the end cells are clamped, an empty range lists nothing.
        {{{550, 50}, {900, 50}}, {}, {{5, 0}}},
        {{{-90, -50}, {-10, -20}}, {}, {}},
        {{{700, 50}, {900, 50}}, {}, {}},
    };
    for (const Case& c : cases)
    {
        UniformGrid grid = MakeGrid(6, 4, c.origin);
        grid.InsertStaticLineSegment(c.segment, 5);
        EXPECT_EQ(CellsListing(grid, 5, false), c.listed)
            << c.segment.pointA.x << "," << c.segment.pointA.y << " " << c.segment.pointB.x;
    }
}

TEST(Rectangles, Operations)
{
    // Overlap counts touching edges and corners.
    struct OverlapCase
    {
        ZibRect a;
        ZibRect b;
        bool overlap;
    };
    const OverlapCase overlaps[] = {
        {{1, 0, 1, 0}, {2, 1, 2, 1}, true},      {{1, 0, 1, 0}, {2, 1.01f, 2, 1}, false},
        {{10, 0, 10, 0}, {6, 4, 6, 4}, true},    {{6, 4, 6, 4}, {10, 0, 10, 0}, true},
        {{10, 0, 10, 0}, {20, 2, 3, 11}, false}, {{10, 0, 10, 0}, {20, 2, 3, -5}, true},
    };
    for (const OverlapCase& c : overlaps)
    {
        EXPECT_EQ(RectanglesOverlap(c.a, c.b), c.overlap) << c.b.left << " " << c.b.bottom;
    }

    ZibRect out;
    EXPECT_FALSE(RectangleIntersection({10, 0, 10, 0}, {10, 9.1f, 20, 0}, out));
    EXPECT_EQ(out, ZibRect(10, 9.1f, 10, 0));
    EXPECT_FALSE(RectangleIntersection({10, 0, 10, 0}, {10, 9.5f, 20, 0}, out));
    EXPECT_TRUE(RectangleIntersection({10, 0, 10, 0}, {12, 9, 20, 9}, out));
    EXPECT_EQ(out, ZibRect(10, 9, 10, 9));
    EXPECT_FALSE(RectangleIntersection({10, 0, 10, 0}, {30, 20, 40, 20}, out));

    RectangleUnion({10, 0, 10, 0}, {12, -3, 5, 9}, out);
    EXPECT_EQ(out, ZibRect(12, -3, 10, 0));
}

TEST(Rectangles, BoundingRectangleAtPose)
{
    const ZibRect local(1, -2, 2, -1);
    ZibRect out;
    BoundingRectangleAtPose(local, out, 10, 20, 90);
    EXPECT_NEAR(out.top, 22, 1e-5);
    EXPECT_NEAR(out.left, 9, 1e-5);
    EXPECT_NEAR(out.right, 11, 1e-5);
    EXPECT_NEAR(out.bottom, 18, 1e-5);
    BoundingRectangleAtPose(local, out, 10, 20, 360);
    EXPECT_EQ(out, ZibRect(21, 8, 12, 19));
    BoundingRectangleAtPose(local, out, 0, 0, 0);
    EXPECT_EQ(out, local);
    BoundingRectangleAtPose(local, out, 0, 0, 45);
    const float half = 3.0f / std::sqrt(2.0f);
    EXPECT_NEAR(out.top, half, 1e-5);
    EXPECT_NEAR(out.right, half, 1e-5);
    EXPECT_NEAR(out.bottom, -half, 1e-5);
    // Rectangles far from the origin get their true bounds.
    BoundingRectangleAtPose({300000, 150000, 250000, 200000}, out, 0, 0, 180);
    EXPECT_NEAR(out.top, -200000, 1);
    EXPECT_NEAR(out.bottom, -300000, 1);
    EXPECT_NEAR(out.left, -250000, 1);
    EXPECT_NEAR(out.right, -150000, 1);
}

UniformGrid FilledGrid()
{
    UniformGrid grid = MakeGrid(3, 2, {5, -5});
    grid.InsertStaticCircle(Circle2D({100, 100}, 30), 1);
    grid.InsertStaticLineSegment(LineSegment2D({0, 0}, {250, 150}), 2);
    for (std::uint32_t slot = 1; slot <= 12; ++slot)
    {
        grid.AddDynamicObject(2, 1, slot);
    }
    return grid;
}

TEST(UniformGrid, ArchiveRoundTripsAndRejectsBadStreams)
{
    const UniformGrid grid = FilledGrid();
    UniformGrid read;
    CollisionTest::ExpectByteExactRoundTrip(grid, read);
    EXPECT_EQ(read.GetCell(2, 1).dynamicObjects.GetCapacity(), 20);
    EXPECT_EQ(CellsListing(read, 2, false), CellsListing(grid, 2, false));

    UniformGrid target = MakeGrid();
    CollisionTest::ExpectEveryTruncationRejected(grid, target);

    // Offsets: origin 0, width 8, height 12, rows 16, columns 20, side 24,
    // then cell (0, 0): dynamic capacity 28, dynamic count 32.
    struct Case
    {
        const char* what;
        std::size_t offset;
        std::int32_t value;
    };
    const Case cases[] = {
        {"negative rows", 16, -1},
        {"more cells than bytes", 20, 1 << 20},
        {"count above capacity", 32, 1},
        {"negative capacity", 28, -10},
        {"capacity beyond any real step", 28, 1 << 30},
    };
    for (const Case& c : cases)
    {
        std::vector<std::uint8_t> bytes = BytesOf(grid);
        CollisionTest::Patch(bytes, c.offset, c.value);
        Core::MemoryFile in(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        EXPECT_FALSE(target.Read(in)) << c.what;
        EXPECT_TRUE(in.Failed()) << c.what;
    }
    // Columns without rows: a walk over the columns would take 2^31 turns.
    {
        std::vector<std::uint8_t> bytes = BytesOf(grid);
        CollisionTest::Patch(bytes, 16, 0);
        CollisionTest::Patch(bytes, 20, 0x7fffffff);
        Core::MemoryFile in(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        EXPECT_FALSE(target.Read(in));
        EXPECT_EQ(in.GetError(), Core::FileError::BadData);
    }
    std::vector<std::uint8_t> bytes = BytesOf(grid);
    CollisionTest::Patch(bytes, 24, 0.0f);
    Core::MemoryFile in(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    EXPECT_FALSE(target.Read(in));
    EXPECT_EQ(target.GetColumns(), 6);
}

} // namespace

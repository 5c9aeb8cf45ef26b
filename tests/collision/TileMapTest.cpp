#include "CollisionTestSupport.h"

#include "collision/Collision_Settings.h"
#include "collision/Collision_TileMap.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace
{

using namespace Collision2D;
using CollisionTest::BytesOf;
using CollisionTest::CollisionFixture;
using Math::Vector2D;

void SetFrames(Tile& tile, std::vector<std::int32_t> images, std::vector<float> durations,
               std::vector<std::uint8_t> ids)
{
    tile.SetFrames(images, durations, ids);
}

TEST(Tile, AFrameEndsWhenItsTimeIsReachedAndTheSurplusIsDropped)
{
    Tile tile;
    SetFrames(tile, {3, 4}, {0.5f, 0.25f}, {7, 8});
    EXPECT_TRUE(tile.isActivated);
    tile.Update(0.25f);
    EXPECT_EQ(tile.GetCurrentFrame(), 0);
    tile.Update(0.25f);
    EXPECT_EQ(tile.GetCurrentFrame(), 1);
    EXPECT_EQ(tile.GetElapsed(), 0.0f);
    EXPECT_EQ(tile.CurrentId(), 8);
    EXPECT_EQ(tile.CurrentImage(), 4);
    tile.Update(10.0f);
    EXPECT_EQ(tile.GetCurrentFrame(), 0);
    EXPECT_EQ(tile.GetElapsed(), 0.0f);
}

TEST(Tile, ASingleFrameOrAStoppedTileNeverChanges)
{
    Tile single;
    SetFrames(single, {3}, {0.1f}, {7});
    Tile stopped;
    SetFrames(stopped, {3, 4}, {0.1f, 0.1f}, {7, 8});
    stopped.isActivated = false;
    for (int i = 0; i < 5; ++i)
    {
        single.Update(1.0f);
        stopped.Update(1.0f);
    }
    EXPECT_EQ(single.GetCurrentFrame(), 0);
    EXPECT_EQ(stopped.GetCurrentFrame(), 0);
    EXPECT_EQ(stopped.GetElapsed(), 0.0f);
    // A tile without frames shows no id.
    EXPECT_EQ(Tile().CurrentId(), TileMap::NoTileId);
}

class TileMapTest : public CollisionFixture
{
};

// Four columns and three rows of 10-unit cells at (100, 100); tile 0 shows
// id 7, every cell but (1, 2) uses it.
void FillMap(TileMap& map)
{
    EXPECT_TRUE(map.SetGrid(4, 3, 10, 1));
    SetFrames(*map.GetTile(0), {1}, {1.0f}, {7});
    for (int column = 0; column < 4; ++column)
    {
        for (int row = 0; row < 3; ++row)
        {
            if (column != 1 || row != 2)
            {
                EXPECT_TRUE(map.UseCell(column, row, 0));
            }
        }
    }
    map.SetPosition({100, 100});
}

TEST_F(TileMapTest, CollidedCellIdsLookAtTheNeighbourInTheDirection)
{
    TileMap map;
    FillMap(map);
    // A point in cell (3, 1), the last column.
    const Vector2D lastColumn{135, 115};
    // A point in cell (1, 1), below the free cell (1, 2).
    const Vector2D belowFree{115, 115};
    struct Case
    {
        Vector2D point;
        std::int32_t direction;
        std::uint8_t id;
    };
    const Case cases[] = {
        {lastColumn, 4, 255}, {lastColumn, 3, 7}, {lastColumn, 1, 7},   {lastColumn, 2, 7},
        {lastColumn, 5, 255}, {lastColumn, 8, 7}, {lastColumn, 0, 255}, {lastColumn, 9, 255},
        {belowFree, 1, 255},  {belowFree, 5, 7},  {{100, 100}, 2, 255},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(map.GetCollidedCellId(c.point, c.direction), c.id) << c.point.x << "," << c.direction;
    }
    EXPECT_FALSE(map.GetCellUsed(1, 2));
    EXPECT_FALSE(map.GetCellUsed(4, 0));
    EXPECT_FALSE(map.GetCellUsed(-1, 0));
    EXPECT_FALSE(map.UseCell(4, 0, 0));
    EXPECT_FALSE(map.UseCell(0, 0, 1));
}

TEST_F(TileMapTest, PositionOffsetAndWorldRectangle)
{
    TileMap map;
    map.SetOffset({5, 0});
    map.SetPosition({100, 50});
    EXPECT_EQ(map.GetPosition(), Vector2D(95, 50));
    map.SetOffset({10, 10});
    EXPECT_EQ(map.GetPosition(), Vector2D(90, 40));
    map.SetBoundingRectangle({30, 0, 40, 0});
    map.Update(0.0f);
    EXPECT_EQ(map.GetCurrentBoundingRectangle(), ZibRect(70, 90, 130, 40));
}

TEST_F(TileMapTest, ACloneHasItsOwnRunningIdAndFreshCells)
{
    TileMap map;
    FillMap(map);
    map.SetOwner(9);
    map.SetZCollision(3);
    const TileMap clone(map);
    EXPECT_EQ(clone.GetRunningId(), map.GetRunningId() + 1);
    EXPECT_EQ(clone.GetOwner(), 9u);
    EXPECT_EQ(clone.GetZ_Collision(), 3);
    EXPECT_EQ(clone.GetPosition(), map.GetPosition());
    EXPECT_EQ(clone.GetColumns(), 4);
    EXPECT_EQ(clone.GetTileCount(), 1);
    EXPECT_FALSE(clone.GetCellUsed(0, 0));
    EXPECT_EQ(clone.GetTile(0)->GetFrameCount(), 0);
}

TEST_F(TileMapTest, ArchiveRoundTripRestoresTilesCellsAndTheCounter)
{
    TileMap map;
    FillMap(map);
    map.GetTile(0)->Update(0.5f);
    map.SetBoundingRectangle({30, 0, 40, 0});
    map.SetZCollision(12);
    const std::uint32_t counter = GetTileMapSerial();
    TileMap fresh(ForReading);
    CollisionTest::ExpectByteExactRoundTrip(map, fresh);
    EXPECT_EQ(fresh.GetRunningId(), map.GetRunningId());
    // Reading gives the counter back its stored value.
    const std::vector<std::uint8_t> bytes = BytesOf(map);
    SetTileMapSerial(50);
    TileMap again(ForReading);
    Core::MemoryFile in(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    ASSERT_TRUE(again.Read(in));
    EXPECT_EQ(GetTileMapSerial(), counter);
    EXPECT_EQ(fresh.GetCell(2, 1)->MyTile, fresh.GetTile(0));
    EXPECT_EQ(fresh.GetCell(2, 1)->Id(), 7);
    EXPECT_EQ(fresh.GetCell(1, 2)->MyTile, nullptr);

    TileMap target(ForReading);
    CollisionTest::ExpectEveryTruncationRejected(map, target);
}

TEST_F(TileMapTest, AnArchivedTileIndexOutsideTheTilesIsRejected)
{
    TileMap map;
    ASSERT_TRUE(map.SetGrid(1, 1, 10, 1));
    ASSERT_TRUE(map.UseCell(0, 0, 0));
    std::vector<std::uint8_t> bytes = BytesOf(map);
    // The one cell's tile index sits 5 bytes before the end, after the tile.
    const std::size_t index = bytes.size() - 5;
    for (const std::int32_t bad : {1, -2, 1000})
    {
        CollisionTest::Patch(bytes, index, bad);
        TileMap target(ForReading);
        Core::MemoryFile in(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        EXPECT_FALSE(target.Read(in)) << bad;
        EXPECT_TRUE(in.Failed());
        EXPECT_EQ(target.GetColumns(), 0);
    }
}

// --- Text file ------------------------------------------------------------------------------

class TileMapFileTest : public CollisionFixture
{
protected:
    void TearDown() override
    {
        std::filesystem::remove_all(directory);
        CollisionFixture::TearDown();
    }

    std::string Write(const std::string& name, const std::string& text)
    {
        std::filesystem::create_directories(directory);
        const std::string path = (directory / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    const std::filesystem::path directory =
        std::filesystem::temp_directory_path() /
        ("tilemap_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
         ::testing::UnitTest::GetInstance()->current_test_info()->name());
};

// Labels are skipped by count, digits and all.
const std::string Header = "C9:4\n"
                           "R: 3\n"
                           "DIM: 32\n"
                           "TILE_NUMBER:2\n"
                           "\n"
                           "Tile number 0\n"
                           "NUM: 2\n"
                           "DURATIONS: 0.5 0.25\n"
                           "IMAGE_INDEX: 3 4\n"
                           "ID: 7 263\n"
                           "\n"
                           "Tile 1\n"
                           "NUM: 1\n"
                           "DURATIONS: 1e0\n"
                           "IMAGE_INDEX: 9\n"
                           "ID: 5\n"
                           "\n";

TEST_F(TileMapFileTest, AFileGivesTheGridTilesAndUsedCells)
{
    const std::string path = Write("map.txt", Header + "ENTRY_COUNT:0\n");
    TileMap map;
    ASSERT_TRUE(map.ReadInformation(path));
    EXPECT_EQ(map.GetColumns(), 4);
    EXPECT_EQ(map.GetRows(), 3);
    EXPECT_EQ(map.GetDimension(), 32);
    EXPECT_EQ(map.GetWidth(), 128);
    EXPECT_EQ(map.GetHeight(), 96);
    ASSERT_EQ(map.GetTileCount(), 2);
    const Tile& first = *map.GetTile(0);
    ASSERT_EQ(first.GetFrameCount(), 2);
    EXPECT_TRUE(first.isActivated);
    EXPECT_EQ(first.GetDuration(1), 0.25f);
    EXPECT_EQ(first.GetImage(1), 4);
    EXPECT_EQ(first.GetId(1), 7); // 263 keeps its low byte
    EXPECT_EQ(map.GetTile(1)->GetFrameCount(), 1);
    EXPECT_EQ(map.GetTile(1)->GetDuration(0), 1.0f);
    int free = 0;
    for (int column = 0; column < 4; ++column)
    {
        for (int row = 0; row < 3; ++row)
        {
            free += !map.GetCellUsed(column, row) && map.GetCell(column, row)->MyTile == nullptr;
        }
    }
    EXPECT_EQ(free, 12);
}

TEST_F(TileMapFileTest, EntriesUseCellsAndThoseOutsideTheMapAreSkipped)
{
    const std::string text = Header + "ENTRY_COUNT: 4\n(2,1,0)\n(4,0,0)\n(0,0,2)\n(3,2,1)";
    TileMap map;
    ASSERT_TRUE(map.ReadInformation(Write("map.txt", text)));
    EXPECT_TRUE(map.GetCellUsed(2, 1));
    EXPECT_EQ(map.GetCell(2, 1)->myTileIndex, 0);
    EXPECT_EQ(map.GetCell(2, 1)->MyTile, map.GetTile(0));
    EXPECT_FALSE(map.GetCellUsed(0, 0));
    EXPECT_EQ(map.GetCell(3, 2)->Id(), 5);

    // The same file with CRLF line ends reads alike.
    std::string crlf;
    for (const char c : text)
    {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    TileMap fromCrlf;
    ASSERT_TRUE(fromCrlf.ReadInformation(Write("crlf.txt", crlf)));
    EXPECT_EQ(BytesOf(fromCrlf).size(), BytesOf(map).size());
    EXPECT_TRUE(fromCrlf.GetCellUsed(2, 1));
    EXPECT_EQ(fromCrlf.GetCell(3, 2)->Id(), 5);
    EXPECT_EQ(fromCrlf.GetTile(0)->GetDuration(0), 0.5f);
}

TEST_F(TileMapFileTest, AFileThatCannotBeReadToItsEndChangesNothing)
{
    const std::string full = Header + "ENTRY_COUNT: 1\n(2,1,0)\n";
    TileMap map;
    ASSERT_TRUE(map.SetGrid(1, 1, 8, 0));
    const std::vector<std::uint8_t> before = BytesOf(map);
    struct Case
    {
        std::string text;
        const char* what;
    };
    const Case cases[] = {
        {full.substr(0, 40), "tile record"},
        {full.substr(0, Header.size() - 20), "tile record 1"},
        {full.substr(0, full.size() - 4), "entry"},
        {full.substr(0, 10), "header"},
        {"C: 4\nR: 3\nDIM: 32\nTILE_NUMBER:-1\n\nENTRY_COUNT: 0\n", "negative"},
        {"C: 40000\nR: 40000\nDIM: 32\nTILE_NUMBER:0\n\nENTRY_COUNT: 0\n", "more cells"},
        {"C: 2\nR: 1\nDIM: 2000000000\nTILE_NUMBER:0\n\nENTRY_COUNT: 0\n", "pixels"},
    };
    for (const Case& c : cases)
    {
        std::string error;
        EXPECT_FALSE(map.ReadInformation(Write("bad.txt", c.text), &error)) << c.what;
        EXPECT_NE(error.find("bad.txt"), std::string::npos) << error;
        EXPECT_NE(error.find(c.what), std::string::npos) << error;
        EXPECT_EQ(BytesOf(map), before) << c.what;
    }
    std::string error;
    const std::string missing = (directory / "missing.txt").string();
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(map.ReadInformation(missing, &error));
    const std::string report = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(error.find("missing.txt"), std::string::npos);
    // The person running the program hears of it too, with what stays.
    EXPECT_NE(report.find("cannot read \"" + missing +
                          "\" (No such file or directory); the tile map is left as it was\n"),
              std::string::npos)
        << report;
}

} // namespace

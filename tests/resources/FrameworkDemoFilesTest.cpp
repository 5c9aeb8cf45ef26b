// The framework demo's sheets and collision file.
#include "ResourceTestSupport.h"

#include "collision/Collision_StaticCollisionFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

using namespace ResourceTest;

namespace
{

const std::uint8_t* Pixel(const Image& image, int x, int y)
{
    return image.rgba.data() + (static_cast<std::size_t>(y) * image.width + x) * 4;
}

} // namespace

TEST(FrameworkDemoFiles, SixBallsOfDistinctColoursFillTheirCellsAndFadeBeforeTheEdges)
{
    const Image sheet = LoadPng(ResourcePath("Resources/Animations/DemoBalls.png"));
    ASSERT_EQ(sheet.width, 192);
    ASSERT_EQ(sheet.height, 128);
    std::vector<const std::uint8_t*> centres;
    for (int cell = 0; cell < 6; ++cell)
    {
        SCOPED_TRACE(cell);
        const int x0 = (cell % 3) * 64, y0 = (cell / 3) * 64;
        EXPECT_EQ(sheet.Alpha(x0 + 32, y0 + 32), 255);
        // Inside the ball's radius of 24, opaque; along the cell's border,
        // nothing, so no cell shows as a square.
        EXPECT_EQ(sheet.Alpha(x0 + 32 + 20, y0 + 32), 255);
        for (int i = 0; i < 64; ++i)
        {
            EXPECT_EQ(sheet.Alpha(x0 + i, y0), 0);
            EXPECT_EQ(sheet.Alpha(x0, y0 + i), 0);
        }
        centres.push_back(Pixel(sheet, x0 + 38, y0 + 38));
    }
    for (std::size_t a = 0; a < centres.size(); ++a)
    {
        for (std::size_t b = a + 1; b < centres.size(); ++b)
        {
            int difference = 0;
            for (int c = 0; c < 3; ++c)
            {
                difference += std::abs(centres[a][c] - centres[b][c]);
            }
            EXPECT_GT(difference, 60) << "balls " << a << " and " << b;
        }
    }
}

TEST(FrameworkDemoFiles, TheWallBarAndTheBumperAreOpaqueInsideAndClearAround)
{
    const Image wall = LoadPng(ResourcePath("Resources/Animations/DemoWall.png"));
    ASSERT_EQ(wall.width, 256);
    ASSERT_EQ(wall.height, 32);
    EXPECT_EQ(wall.Alpha(128, 16), 255);
    EXPECT_EQ(wall.Alpha(0, 0), 0);
    const Image bumper = LoadPng(ResourcePath("Resources/Animations/DemoBumper.png"));
    ASSERT_EQ(bumper.width, 128);
    ASSERT_EQ(bumper.height, 128);
    EXPECT_EQ(bumper.Alpha(64, 64), 255);
    EXPECT_EQ(bumper.Alpha(64 + 50, 64), 255);
    EXPECT_EQ(bumper.Alpha(0, 0), 0);
}

TEST(FrameworkDemoFiles, TheArenaIsClosedAndItsBumpersLieInside)
{
    Collision2D::StaticCollisionFile file;
    std::string problem;
    ASSERT_TRUE(file.Read(ResourcePath("Resources/Layers Collisions/framework_demo.txt"), problem))
        << problem;
    const auto& segments = file.GetSegments();
    ASSERT_EQ(segments.size(), 8u);
    for (const auto& s : segments)
    {
        // Static segments are one-sided: each wall also runs back.
        EXPECT_TRUE(std::any_of(segments.begin(), segments.end(),
                                [&](const auto& other) { return other.a == s.b && other.b == s.a; }));
        EXPECT_TRUE(s.a.x == s.b.x || s.a.y == s.b.y);
    }
    ASSERT_EQ(file.GetCircles().size(), 3u);
    for (const auto& circle : file.GetCircles())
    {
        EXPECT_LT(std::fabs(circle.center.x) + circle.radius, 440.0f - 48.0f);
        EXPECT_LT(std::fabs(circle.center.y) + circle.radius, 300.0f - 48.0f);
    }
}

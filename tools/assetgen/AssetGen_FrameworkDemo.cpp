// The framework demo's arena. The balls bounce inside a rectangle of walls
// around three round bumpers; the walls and bumpers are the demo layer's
// static collision shapes, read from its collision file, and the wall bar
// picture is laid along each wall segment.
#include "AssetGen_FrameworkDemo.h"

#include "AssetGen_Palette.h"
#include "AssetGen_SheetArt.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace AssetGen
{

namespace
{

constexpr int BallCell = 64;
constexpr float BallRadius = 24.0f;
constexpr int BallColumns = 3;
constexpr int BallRows = 2;
constexpr int WallWidth = 256;
constexpr int WallHeight = 32;
constexpr int ArenaHalfWidth = 440;
constexpr int ArenaHalfHeight = 300;

const char* const BallSheetPath = "Resources/Animations/DemoBalls.png";
const char* const WallSheetPath = "Resources/Animations/DemoWall.png";
const char* const BumperSheetPath = "Resources/Animations/DemoBumper.png";
constexpr int BumperCell = 128;
constexpr float BumperRadius = 56.0f;
const char* const CollisionPath = "Resources/Layers Collisions/framework_demo.txt";

struct Bumper
{
    int x, y, radius;
};

const Bumper Bumpers[] = {{-220, 70, 44}, {220, -70, 44}, {0, 170, 30}};

Canvas BallSheet()
{
    using namespace Palette;
    const Color colours[BallColumns * BallRows] = {Blue, Green, Yellow, Orange, Red, White};
    Canvas sheet(BallColumns * BallCell, BallRows * BallCell);
    for (int i = 0; i < BallColumns * BallRows; ++i)
    {
        Canvas cell(BallCell, BallCell);
        const float centre = BallCell * 0.5f;
        Art::ColouredBall(cell, {centre, centre}, BallRadius, colours[i]);
        // The ball's soft glow fades out before the cell's edge, so no cell
        // shows as a faint square around its ball.
        for (int y = 0; y < BallCell; ++y)
        {
            for (int x = 0; x < BallCell; ++x)
            {
                const float distance =
                    std::hypot(static_cast<float>(x) + 0.5f - centre, static_cast<float>(y) + 0.5f - centre);
                const float fade = std::clamp((centre - 1.0f - distance) / 5.0f, 0.0f, 1.0f);
                Color& pixel = cell.At(x, y);
                pixel = {pixel.r * fade, pixel.g * fade, pixel.b * fade, pixel.a * fade};
            }
        }
        sheet.Draw(cell, (i % BallColumns) * BallCell, (i / BallColumns) * BallCell);
    }
    return sheet;
}

Canvas WallSheet()
{
    const float y = WallHeight * 0.5f;
    const float x0 = 10.0f, x1 = WallWidth - 10.0f;
    Canvas wall(WallWidth, WallHeight);
    // A soft cyan glow around an indigo bar with a bright core line.
    Canvas glow(WallWidth, WallHeight);
    glow.FillCapsule(x0, y, x1, y, 7.0f, Solid(WithAlpha(Palette::Cyan, 0.8f)));
    glow.Blur(4.0f);
    wall.Draw(glow, 0, 0);
    wall.FillCapsule(x0, y, x1, y, 6.0f,
                     LinearGradient(0.0f, y - 6.0f, Hex(0x5A4FD0), 0.0f, y + 6.0f, Palette::Indigo));
    wall.FillCapsule(x0 + 4.0f, y - 1.5f, x1 - 4.0f, y - 1.5f, 1.4f, Solid(Hex(0xCFFBFF)));
    return wall;
}

Canvas BumperSheet()
{
    const float c = BumperCell * 0.5f;
    Canvas bumper(BumperCell, BumperCell);
    Canvas glow(BumperCell, BumperCell);
    glow.FillDisc(c, c, BumperRadius, Solid(WithAlpha(Palette::Magenta, 0.7f)));
    glow.Blur(3.0f);
    bumper.Draw(glow, 0, 0);
    bumper.FillDisc(c, c, BumperRadius - 2.0f,
                    RadialGradient(c - 14.0f, c - 16.0f, BumperRadius * 1.3f, Hex(0x6B2AA8), Palette::Night));
    bumper.FillRing(c, c, BumperRadius - 4.0f, 3.0f, Solid(Hex(0xFF7AF4)));
    bumper.FillRing(c, c, BumperRadius * 0.45f, 2.0f, Solid(WithAlpha(Palette::Magenta, 0.6f)));
    return bumper;
}

struct Wall
{
    int x1, y1, x2, y2;
};

std::string CollisionText()
{
    const int w = ArenaHalfWidth, h = ArenaHalfHeight;
    const Wall sides[] = {{-w, -h, w, -h}, {w, -h, w, h}, {w, h, -w, h}, {-w, h, -w, -h}};
    // Static segments stop what crosses them one way: each wall is two
    // segments of opposite direction.
    std::vector<Wall> walls;
    for (const Wall& side : sides)
    {
        walls.push_back(side);
        walls.push_back({side.x2, side.y2, side.x1, side.y1});
    }
    std::string text = "SEGMENTS " + std::to_string(walls.size()) + "\n";
    int uid = 1;
    for (const Wall& wall : walls)
    {
        text += std::to_string(wall.x1) + "," + std::to_string(wall.y1) + "," + std::to_string(wall.x2) +
                "," + std::to_string(wall.y2) + ",0," + std::to_string(uid++) + "\n";
    }
    text += "CIRCLES " + std::to_string(std::size(Bumpers)) + "\n";
    for (const Bumper& bumper : Bumpers)
    {
        text += std::to_string(bumper.x) + "," + std::to_string(bumper.y) + "," +
                std::to_string(bumper.radius) + ",0," + std::to_string(uid++) + "\n";
    }
    return text;
}

} // namespace

void ListFrameworkDemo(Manifest& manifest)
{
    manifest.push_back(
        {BallSheetPath, "sprite sheet",
         "192x128, 3x2 cells of 64x64: blue, green, yellow, orange, red, white balls of radius 24 "
         "(framework demo)"});
    manifest.push_back({WallSheetPath, "sprite sheet", "256x32, one wall bar along x (framework demo)"});
    manifest.push_back(
        {BumperSheetPath, "sprite sheet", "128x128, one bumper disc of radius 56 (framework demo)"});
    manifest.push_back({CollisionPath, "layer collisions", "8 segments, 3 circles (framework demo)"});
}

bool MakeFrameworkDemo(Output& output)
{
    return output.WritePng(BallSheetPath, BallSheet()) && output.WritePng(WallSheetPath, WallSheet()) &&
           output.WritePng(BumperSheetPath, BumperSheet()) &&
           output.WriteText(CollisionPath, CollisionText());
}

} // namespace AssetGen

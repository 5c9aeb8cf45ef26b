// The sprite sheets, one table: grid, cell size and frame count of every
// sheet; where the object collides, the shapes of each frame (circles and
// beam segments in object units, y up from the cell's centre), which the
// drawn pixels must follow.
#include "ResourceTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace ResourceTest;

namespace
{

enum class Look
{
    Plain,   // no shape to follow
    Ball,    // an opaque body on the circle
    Ring,    // an opaque ring on the circle
    Beam,    // opaque along the segments
    Overlay, // transparent over the field
    Veil,    // translucent over the field
};

struct Circle
{
    float x, y, r;
};

struct Segment
{
    float x1, y1, x2, y2;
};

struct SheetCase
{
    const char* name;
    int columns, rows, frames, cellWidth, cellHeight;
    Look look;
    std::vector<Circle> circles;                // per frame, or one for all
    std::vector<std::vector<Segment>> segments; // per frame
};

std::vector<std::vector<Segment>> Beam(std::vector<std::vector<Segment>> frames)
{
    return frames;
}

const std::vector<Segment> Lazer0Full = {{-483, 6, 487, 6}, {486, -1, -481, -1}};
const std::vector<Segment> WhiteLazer = {{1, 335, 4, -328}, {0, -324, -3, 336}};

std::vector<SheetCase> Cases()
{
    const Circle player0{-4, 2, 15}, player{-3, 1, 15};
    return {
        {"BG.png", 1, 1, 1, 1024, 768, Look::Plain, {}, {}},
        {"Animation1.png", 2, 1, 2, 1024, 768, Look::Plain, {}, {}},
        {"MENU.png", 1, 1, 1, 1024, 768, Look::Plain, {}, {}},
        {"START.png", 2, 1, 2, 322, 98, Look::Plain, {}, {}},
        {"TUTORIAL.png", 2, 1, 2, 322, 98, Look::Plain, {}, {}},
        {"OPTIONSBUTTON.png", 2, 1, 2, 322, 98, Look::Plain, {}, {}},
        {"EXITBUTTON.png", 2, 1, 2, 322, 98, Look::Plain, {}, {}},
        {"CREDITBUTTON.png", 2, 1, 2, 308, 94, Look::Plain, {}, {}},
        {"Core Animate0.png", 3, 2, 6, 60, 56, Look::Ball, {{0, 3, 13}}, {}},
        {"PLAYERBALL.png", 1, 1, 1, 26, 26, Look::Ball, {{0, 2, 12}}, {}},
        {"Exit.png", 2, 1, 2, 158, 100, Look::Plain, {}, {}},
        {"Restart.png", 2, 1, 2, 158, 100, Look::Plain, {}, {}},
        {"YesButton.png", 2, 1, 2, 158, 100, Look::Plain, {}, {}},
        {"NoButton.png", 2, 1, 2, 158, 100, Look::Plain, {}, {}},
        {"ResumeB.png", 2, 1, 2, 158, 100, Look::Plain, {}, {}},
        {"PausedScreen.png", 1, 1, 1, 1024, 768, Look::Veil, {}, {}},
        {"QuitMenu.png", 1, 1, 1, 1024, 768, Look::Overlay, {}, {}},
        {"BACKGROUND0.png", 1, 1, 1, 1024, 768, Look::Plain, {}, {}},
        {"GUI0.png", 1, 1, 1, 1024, 768, Look::Overlay, {}, {}},
        {"REDBORDER.png", 1, 1, 1, 1024, 768, Look::Overlay, {}, {}},
        {"BLUEBORDER.png", 1, 1, 1, 1024, 768, Look::Overlay, {}, {}},
        {"BONUS.png", 1, 1, 1, 1024, 768, Look::Overlay, {}, {}},
        {"blueball.png", 1, 1, 1, 60, 56, Look::Ball, {{0, 3, 8}}, {}},
        {"greenball.png", 1, 1, 1, 60, 56, Look::Ball, {{1, 3, 8}}, {}},
        {"YELLOWBALL.png", 1, 1, 1, 60, 56, Look::Ball, {{1, 3, 9}}, {}},
        {"ORANGEBALL.png", 1, 1, 1, 60, 56, Look::Ball, {{0, 3, 8}}, {}},
        {"REDBALL.png", 1, 1, 1, 60, 56, Look::Ball, {{0, 2, 10}}, {}},
        {"white.png", 1, 1, 1, 60, 56, Look::Ball, {{0, 2, 10}}, {}},
        {"WHITESCALE.png", 3, 2, 6, 60, 56, Look::Plain, {}, {}},
        {"ENEMYWHITE.png", 1, 1, 1, 60, 56, Look::Ball, {{0, 3, 10}}, {}},
        {"REDBALLSCALE.png", 3, 2, 6, 60, 56, Look::Plain, {}, {}},
        {"SpikeBall.png", 1, 1, 1, 60, 56, Look::Ball, {{0, 3, 11}}, {}},
        {"sheildpowerup.png", 1, 1, 1, 84, 84, Look::Ball, {{0, 1, 9}}, {}},
        {"SheildBubble.png", 1, 1, 1, 84, 84, Look::Ring, {{1, 1, 29}}, {}},
        {"blackHolePU.png", 3, 2, 6, 84, 84, Look::Ball, {{-1, 1, 10}}, {}},
        {"LAZER0.png",
         2,
         6,
         11,
         986,
         92,
         Look::Beam,
         {},
         Beam({{},
               {{-478, 0, -424, 0}, {-424, 0, -476, 0}},
               {{-481, 0, -405, 0}, {-403, 0, -481, 0}},
               {{-483, 6, -347, 6}, {-348, 0, -482, 0}, {348, 7, 488, 6}, {490, 0, 349, 0}},
               {{140, 7, 491, 7}, {-141, 0, -480, 0}, {488, -1, 140, 0}, {-482, 6, -140, 7}},
               {{484, 0, 44, 0}, {44, 0, 484, 0}, {-477, 0, -2, 0}, {-3, 0, -481, 0}},
               Lazer0Full,
               Lazer0Full,
               Lazer0Full,
               Lazer0Full,
               Lazer0Full})},
        {"LAZER11.png",
         4,
         3,
         11,
         76,
         694,
         Look::Beam,
         {},
         Beam({{},
               {{0, 334, 0, 298}, {0, 297, 0, 333}, {0, -293, 0, -329}, {0, -330, 0, -292}},
               {{0, -326, 0, -273}, {0, -275, 0, -331}, {0, 332, 0, 283}, {0, 279, 0, 336}},
               {{0, 333, 0, 244}, {0, 242, 0, 337}, {0, -235, 0, -331}, {0, -331, 0, -238}},
               {{0, 341, 0, 90}, {0, 91, 0, 340}, {0, -88, 0, -332}, {0, -333, 0, -84}},
               {{0, 336, 0, 37}, {0, 36, 0, 339}, {0, -1, 0, -325}, {0, -326, 0, 1}},
               {{0, 334, 0, -325}, {0, -328, 0, 336}},
               {{0, 334, 0, -327}, {0, -327, 0, 331}},
               {{0, 336, 0, -326}, {0, -325, 0, 334}},
               {{0, 337, 0, -328}, {0, -328, 0, 336}},
               {{0, 334, 0, -330}, {0, -330, 0, 333}}})},
        {"WHITELAZERANI.png",
         3,
         2,
         5,
         76,
         694,
         Look::Beam,
         {},
         Beam({WhiteLazer,
               WhiteLazer,
               WhiteLazer,
               {{2, 332, 3, -325}, {0, -327, -4, 331}},
               {{5, 337, 4, -329}, {-2, -328, -2, 338}}})},
        {"ORIGINALWHITE.png",
         1,
         1,
         1,
         76,
         694,
         Look::Beam,
         {},
         Beam({{{4, 333, 6, -325}, {-4, -324, -2, 334}}})},
        {"BLUEANIMATION0.png", 2, 2, 4, 84, 84, Look::Ball, {player0}, {}},
        {"GREENANIMATION0.png", 2, 2, 4, 84, 84, Look::Ball, {player}, {}},
        {"YELLOWANIMATE.png", 2, 2, 4, 84, 84, Look::Ball, {player}, {}},
        {"ORANGEANIMATION.png", 2, 2, 4, 84, 84, Look::Ball, {player}, {}},
        {"REDANIMATE.png", 2, 2, 4, 84, 84, Look::Ball, {player}, {}},
        {"WHITEANIMATE.png", 2, 2, 4, 84, 84, Look::Ball, {player}, {}},
        {"Death.png", 3, 3, 8, 60, 56, Look::Plain, {}, {}},
        {"WIN.png", 1, 1, 1, 1024, 768, Look::Plain, {}, {}},
        {"Animation0.png", 1, 1, 1, 1024, 768, Look::Plain, {}, {}},
        {"CREDITPAGE.png", 1, 1, 1, 1024, 768, Look::Plain, {}, {}},
        {"LOADINGPAGE.png", 1, 1, 1, 1024, 768, Look::Plain, {}, {}},
        {"OPTIONSBACKGROUND.png", 1, 1, 1, 1024, 768, Look::Plain, {}, {}},
        {"BACKTOMAINMENU.png", 2, 1, 2, 560, 84, Look::Plain, {}, {}},
        {"BACKTOMAINMENU1.png", 2, 1, 2, 158, 100, Look::Plain, {}, {}},
        {"FullScreenButton.png", 2, 1, 2, 224, 70, Look::Plain, {}, {}},
        {"MuteButton.png", 2, 2, 4, 224, 70, Look::Plain, {}, {}},
    };
}

// "Opaque" for the shape checks: glows stay below it, bodies above.
constexpr int Opaque = 192;

struct Cell
{
    const Image& image;
    const SheetCase& sheet;
    int frame;

    int Alpha(int x, int y) const
    {
        return image.Alpha((frame % sheet.columns) * sheet.cellWidth + x,
                           (frame / sheet.columns) * sheet.cellHeight + y);
    }
    // Object units to pixel-centre coordinates of the cell.
    float Px(float x) const { return static_cast<float>(sheet.cellWidth) * 0.5f + x; }
    float Py(float y) const { return static_cast<float>(sheet.cellHeight) * 0.5f - y; }
};

Image Load(const SheetCase& sheet)
{
    return LoadPng(ResourcePath(std::string("Resources/Animations/") + sheet.name));
}

float SegmentDistance(float px, float py, const Segment& s, const Cell& cell)
{
    const float ax = cell.Px(s.x1), ay = cell.Py(s.y1), bx = cell.Px(s.x2), by = cell.Py(s.y2);
    const float dx = bx - ax, dy = by - ay;
    const float length2 = dx * dx + dy * dy;
    const float t = length2 > 0 ? std::clamp(((px - ax) * dx + (py - ay) * dy) / length2, 0.0f, 1.0f) : 0.0f;
    return std::hypot(px - ax - t * dx, py - ay - t * dy);
}

} // namespace

TEST(SpriteSheets, EveryFrameCellIsDrawnAndEveryCellPastTheLastIsEmpty)
{
    const std::vector<SheetCase> cases = Cases();
    EXPECT_EQ(cases.size(), 55u);
    for (const SheetCase& sheet : cases)
    {
        SCOPED_TRACE(sheet.name);
        const Image image = Load(sheet);
        ASSERT_EQ(image.width, sheet.columns * sheet.cellWidth);
        ASSERT_EQ(image.height, sheet.rows * sheet.cellHeight);
        EXPECT_LE(std::max(image.width, image.height), 4096);
        for (int frame = 0; frame < sheet.columns * sheet.rows; ++frame)
        {
            const Cell cell{image, sheet, frame};
            int visible = 0;
            for (int y = 0; y < sheet.cellHeight; ++y)
            {
                for (int x = 0; x < sheet.cellWidth; ++x)
                {
                    visible += cell.Alpha(x, y) > 25 ? 1 : 0;
                }
            }
            if (frame < sheet.frames)
            {
                EXPECT_GT(visible, 20) << "frame " << frame;
            }
            else
            {
                EXPECT_EQ(visible, 0) << "cell " << frame << " past the last frame";
            }
        }
    }
}

TEST(SpriteSheets, TheFramesOfAnAnimationDifferPairwise)
{
    for (const SheetCase& sheet : Cases())
    {
        if (sheet.frames < 2)
        {
            continue;
        }
        SCOPED_TRACE(sheet.name);
        const Image image = Load(sheet);
        for (int a = 0; a < sheet.frames; ++a)
        {
            for (int b = a + 1; b < sheet.frames; ++b)
            {
                // The black hole's last frame closes the loop on its second.
                if (std::string(sheet.name) == "blackHolePU.png" && a == 1 && b == 5)
                {
                    continue;
                }
                long difference = 0;
                for (int y = 0; y < sheet.cellHeight; ++y)
                {
                    for (int x = 0; x < sheet.cellWidth; ++x)
                    {
                        for (int channel = 0; channel < 4; ++channel)
                        {
                            const auto at = [&](int frame)
                            {
                                const int px = (frame % sheet.columns) * sheet.cellWidth + x;
                                const int py = (frame / sheet.columns) * sheet.cellHeight + y;
                                return static_cast<int>(
                                    image.rgba[(static_cast<std::size_t>(py) * image.width + px) * 4 +
                                               channel]);
                            };
                            difference += std::abs(at(a) - at(b));
                        }
                    }
                }
                EXPECT_GT(difference, 2000) << "frames " << a << " and " << b;
            }
        }
    }
}

TEST(SpriteSheets, BodiesSitOnTheirCollisionCircles)
{
    for (const SheetCase& sheet : Cases())
    {
        if (sheet.look != Look::Ball && sheet.look != Look::Ring)
        {
            continue;
        }
        SCOPED_TRACE(sheet.name);
        const Image image = Load(sheet);
        for (int frame = 0; frame < sheet.frames; ++frame)
        {
            const Circle& circle = sheet.circles.size() == 1 ? sheet.circles[0] : sheet.circles.at(frame);
            const Cell cell{image, sheet, frame};
            double sx = 0, sy = 0, count = 0;
            for (int y = 0; y < sheet.cellHeight; ++y)
            {
                for (int x = 0; x < sheet.cellWidth; ++x)
                {
                    if (cell.Alpha(x, y) >= Opaque)
                    {
                        sx += x + 0.5;
                        sy += y + 0.5;
                        ++count;
                    }
                }
            }
            ASSERT_GT(count, 0) << "frame " << frame;
            const double cx = sx / count, cy = sy / count;
            EXPECT_NEAR(cx, cell.Px(circle.x), 1.5) << "frame " << frame;
            EXPECT_NEAR(cy, cell.Py(circle.y), 1.5) << "frame " << frame;
            double radius = std::sqrt(count / 3.14159265);
            if (sheet.look == Look::Ring)
            {
                radius = 0;
                for (int y = 0; y < sheet.cellHeight; ++y)
                {
                    for (int x = 0; x < sheet.cellWidth; ++x)
                    {
                        if (cell.Alpha(x, y) >= Opaque)
                        {
                            radius = std::max(radius, std::hypot(x + 0.5 - cx, y + 0.5 - cy) + 0.5);
                        }
                    }
                }
            }
            EXPECT_NEAR(radius, circle.r, 1.5) << "frame " << frame;
        }
    }
}

TEST(SpriteSheets, BeamsCoverTheirSegmentsAndLittleElse)
{
    for (const SheetCase& sheet : Cases())
    {
        if (sheet.look != Look::Beam)
        {
            continue;
        }
        SCOPED_TRACE(sheet.name);
        const Image image = Load(sheet);
        for (int frame = 0; frame < sheet.frames; ++frame)
        {
            const Cell cell{image, sheet, frame};
            const std::vector<Segment>& segments = sheet.segments.at(frame);
            for (const Segment& s : segments)
            {
                const float length = std::hypot(s.x2 - s.x1, s.y2 - s.y1);
                for (float t = 0; t <= 1.0f; t += 2.0f / std::max(length, 2.0f))
                {
                    const float px = cell.Px(s.x1 + (s.x2 - s.x1) * t),
                                py = cell.Py(s.y1 + (s.y2 - s.y1) * t);
                    const int x = std::clamp(static_cast<int>(px), 0, sheet.cellWidth - 1);
                    const int y = std::clamp(static_cast<int>(py), 0, sheet.cellHeight - 1);
                    ASSERT_GE(cell.Alpha(x, y), Opaque) << "frame " << frame << " at " << x << "," << y;
                }
            }
            // Beyond 8 pixels of every segment only the emitters are opaque.
            int stray = 0;
            for (int y = 0; y < sheet.cellHeight; ++y)
            {
                for (int x = 0; x < sheet.cellWidth; ++x)
                {
                    if (cell.Alpha(x, y) < Opaque)
                    {
                        continue;
                    }
                    float nearest = 1e9f;
                    for (const Segment& s : segments)
                    {
                        nearest = std::min(nearest, SegmentDistance(x + 0.5f, y + 0.5f, s, cell));
                    }
                    stray += nearest > 8.0f ? 1 : 0;
                }
            }
            EXPECT_LE(stray, 1000) << "frame " << frame;
        }
    }
}

TEST(SpriteSheets, OverlaysLeaveTheFieldVisible)
{
    for (const SheetCase& sheet : Cases())
    {
        if (sheet.look != Look::Overlay && sheet.look != Look::Veil)
        {
            continue;
        }
        SCOPED_TRACE(sheet.name);
        const Image image = Load(sheet);
        // The field inside the arena walls is the whole window.
        int clear = 0, translucent = 0;
        const int total = image.width * image.height;
        for (int y = 0; y < image.height; ++y)
        {
            for (int x = 0; x < image.width; ++x)
            {
                const int alpha = image.Alpha(x, y);
                clear += alpha < 26 ? 1 : 0;
                translucent += alpha >= 77 && alpha <= 179 ? 1 : 0;
            }
        }
        if (sheet.look == Look::Overlay)
        {
            EXPECT_GE(clear, total * 8 / 10);
        }
        else
        {
            EXPECT_GE(translucent, total * 8 / 10);
        }
    }
}

#include "ResourceTestSupport.h"

#include "engine/Engine_BitmapFont.h"
#include "pal/PAL_FileSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

using namespace ResourceTest;

namespace
{

const char* const FontNames[] = {"DefaultFont", "Font0", "Font1", "Font2", "Font10", "Red", "Win"};

Core::RefPtr<Engine::BitmapFont> LoadFont(const std::string& name)
{
    return Core::RefPtr<Engine::BitmapFont>(
        new Engine::BitmapFont(PAL::GetExecutableDirectory() + "\\Resources\\Fonts\\" + name + "\\" + name));
}

// A text as the game places it: the text node draws the first line's cells
// from y up to y + cell and each further line one line height lower.
struct Placement
{
    const char* font;
    std::string text;
    float x, y;
};

const std::string Tab = "\t";

std::vector<Placement> Placements()
{
    return {
        {"Font0", "SCORE: 999999", -249, 337},
        {"Font0", "40To Next Level", 130, 337},
        {"Font1", "00", -20, 323},
        {"Font1", "Return to yourself to continue!", -272, 218},
        {"Font2", "FINAL SCORE: 999999", -137, -199},
        {"Font10", "FINAL SCORE: 999999", -189, 150},
        {"DefaultFont", "This is you..", -71, 239},
        {"DefaultFont",
         "Those are your targets ! Increase your score \n" + Tab + std::string(15, ' ') +
             "by eating up solid balls.\n",
         -257, 240},
        {"Red", "Watch Out ! Wild enemies appear !\n" + Tab + Tab + " Avoid contacting them !", -210, 240},
        {"Red",
         "Another wild enemy appears ! Avoid them and consume\n" + Tab + Tab + Tab + std::string(8, ' ') +
             "your target ball before it does.",
         -333, 240},
        {"Red", "More enemies ! Time to get serious !", -220, 240},
        {"DefaultFont", "Activate the power up ! Let's destroy those enemy balls. \n", -334, 240},
        {"Red", "Wild lazer appear ! Do not touch it or suffer the consequences !", -370, 240},
        {"DefaultFont", "Here's another power up to help ! Grab it !", -255, 238},
        {"DefaultFont", "Kill all the enemies, get pass the lazers and consume your targets !", -372, 240},
        {"Win", "Congratulation ! You have successfully cleared the tutorial level.", -373, 240},
    };
}

} // namespace

TEST(Fonts, EveryFontLoadsWithMetricsAndASquarePowerOfTwoTextureOfItsCells)
{
    for (const char* name : FontNames)
    {
        SCOPED_TRACE(name);
        const std::string base = ResourcePath(std::string("Resources/Fonts/") + name + "/" + name);
        EXPECT_EQ(ReadBytes(base + ".fbf").size(), 3300 + 2 * std::string(name).size());
        const auto font = LoadFont(name);
        ASSERT_TRUE(font->HasMetrics());
        const int cell = font->GetCellSize();
        EXPECT_GT(cell, 0);
        EXPECT_GE(font->GetLineHeight(), cell * 0.6);
        const Image texture = LoadPng(base + ".png");
        EXPECT_EQ(texture.width, texture.height);
        EXPECT_TRUE(IsPowerOfTwo(texture.width));
        EXPECT_GE(texture.width, 10 * cell);
        // Every printable glyph has ink inside its own cell.
        for (int code = 33; code < 127; ++code)
        {
            const int cx = (code - 32) % 10 * cell, cy = (code - 32) / 10 * cell;
            int opaque = 0;
            for (int y = cy; y < cy + cell; ++y)
            {
                for (int x = cx; x < cx + cell; ++x)
                {
                    opaque += texture.Alpha(x, y) > 200 ? 1 : 0;
                }
            }
            EXPECT_GT(opaque, 0) << "code " << code;
        }
    }
}

TEST(Fonts, RedAndWinMeasureLikeTheDefaultFont)
{
    const auto standard = LoadFont("DefaultFont");
    for (const char* name : {"Red", "Win"})
    {
        const auto font = LoadFont(name);
        for (int index = 0; index < 8; ++index)
        {
            EXPECT_EQ(font->GetHeaderValue(index), standard->GetHeaderValue(index)) << name;
        }
        for (int code = 32; code < 128; ++code)
        {
            Engine::GlyphRecord a{}, b{};
            font->GetCharacterInfo(code, a);
            standard->GetCharacterInfo(code, b);
            EXPECT_EQ(a.advance, b.advance) << name << " " << code;
            EXPECT_EQ(a.boxWidth, b.boxWidth) << name << " " << code;
        }
    }
}

// Each line is measured on its own: the text node starts every line at the
// left, where the font's measurement would carry x across a line feed.
TEST(Fonts, EveryGameTextFitsTheWindowFromItsPosition)
{
    for (const Placement& placement : Placements())
    {
        SCOPED_TRACE(placement.text);
        const auto font = LoadFont(placement.font);
        const float cell = static_cast<float>(font->GetCellSize());
        const float lineHeight = static_cast<float>(font->GetLineHeight());
        std::istringstream lines(placement.text);
        std::string line;
        int index = 0;
        while (std::getline(lines, line))
        {
            float width = 0, height = 0;
            font->GetTextSize(line, width, height);
            const float top = placement.y + cell - static_cast<float>(index) * lineHeight;
            EXPECT_GE(placement.x, -512.0f);
            EXPECT_LE(placement.x + width, 512.0f);
            EXPECT_LE(top, 384.0f);
            EXPECT_GE(top - std::max(height, cell), -384.0f);
            ++index;
        }
    }
}

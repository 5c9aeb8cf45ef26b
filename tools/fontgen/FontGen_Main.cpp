// Writes a bitmap font as a glyph table "<base>.fbf" and its texture
// "<base>.png" from the glyph bitmaps of FontGen_Glyphs.cpp.
//
//   fontgen <output base path> [font name]
//
// Each glyph pixel becomes a Scale x Scale block of white, opaque texels; the
// rest of the texture is transparent white. Cells of CellSize texels lie ten
// to a row from the top-left of a square texture, and the glyph sits in its
// cell at (InkX, InkY). The metrics are proportional: every glyph is measured
// by its ink, its left bearing puts the ink on the pen, and the pen advances
// by the ink width plus one glyph pixel.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb/stb_image_write.h>

#include "FontGen_Glyphs.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace
{

constexpr int Scale = 2;
constexpr int CellSize = 20;
constexpr int InkX = 2;
constexpr int InkY = 1;
constexpr int TextureSize = 256;
constexpr int CellsPerRow = 10;
constexpr int LineHeight = 22;
constexpr int SpaceAdvance = 4 * Scale;
constexpr int FirstCode = 32;

static_assert(CellsPerRow * CellSize <= TextureSize, "the cells must fit across the texture");
static_assert((FontGen::GlyphCount + CellsPerRow - 1) / CellsPerRow * CellSize <= TextureSize,
              "the cell rows must fit down the texture");
static_assert(InkX + FontGen::GlyphColumns * Scale <= CellSize &&
                  InkY + FontGen::GlyphRows * Scale <= CellSize,
              "a glyph must fit in its cell");

struct Metrics
{
    std::int32_t boxWidth = 0;
    std::int32_t advance = 0;
    std::int32_t boxHeight = 0;
    float leftBearing = 0.0f;
    std::int32_t boxOffsetY = 0;
};

bool IsInk(const FontGen::GlyphBitmap& glyph, int row, int column)
{
    return glyph[row][column] == '#';
}

bool CheckGlyphs()
{
    const auto& glyphs = FontGen::GetGlyphs();
    for (int i = 0; i < FontGen::GlyphCount; ++i)
    {
        for (int row = 0; row < FontGen::GlyphRows; ++row)
        {
            const char* line = glyphs[i][row];
            if (line == nullptr || std::strlen(line) != FontGen::GlyphColumns ||
                std::strspn(line, "#.") != FontGen::GlyphColumns)
            {
                std::fprintf(stderr, "fontgen: glyph %d, row %d is not %d of '#' and '.'\n", FirstCode + i,
                             row, FontGen::GlyphColumns);
                return false;
            }
        }
    }
    return true;
}

Metrics Measure(const FontGen::GlyphBitmap& glyph)
{
    int left = FontGen::GlyphColumns;
    int right = -1;
    int top = FontGen::GlyphRows;
    int bottom = -1;
    for (int row = 0; row < FontGen::GlyphRows; ++row)
    {
        for (int column = 0; column < FontGen::GlyphColumns; ++column)
        {
            if (IsInk(glyph, row, column))
            {
                left = std::min(left, column);
                right = std::max(right, column);
                top = std::min(top, row);
                bottom = std::max(bottom, row);
            }
        }
    }
    Metrics metrics;
    if (right < 0)
    {
        metrics.advance = SpaceAdvance;
        return metrics;
    }
    metrics.boxWidth = (right - left + 1) * Scale;
    metrics.advance = metrics.boxWidth + Scale;
    metrics.boxHeight = (bottom - top + 1) * Scale;
    metrics.leftBearing = static_cast<float>(InkX + left * Scale);
    metrics.boxOffsetY = InkY + top * Scale;
    return metrics;
}

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t value)
{
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
    {
        out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
    }
}

void PutI32(std::vector<std::uint8_t>& out, std::int32_t value)
{
    PutU32(out, static_cast<std::uint32_t>(value));
}

void PutF32(std::vector<std::uint8_t>& out, float value)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    PutU32(out, bits);
}

// u32 name length, the name in UTF-16, eight i32 header values, 96 records
// of 34 bytes: u16 code, i32 box width, advance, box height, two unused
// words, f32 left bearing, i32 kerning, box offset.
std::vector<std::uint8_t> MakeTable(const std::string& name)
{
    std::vector<std::uint8_t> out;
    PutU32(out, static_cast<std::uint32_t>(name.size()));
    for (const char character : name)
    {
        PutU16(out, static_cast<std::uint8_t>(character));
    }
    // Baseline offset = the cell: measured boxes start at the top of the
    // cell, so a box's offset is its ink's distance from the cell's top.
    const std::int32_t header[8] = {0, CellSize, 0, CellSize, 0, 0, LineHeight, 0};
    for (const std::int32_t value : header)
    {
        PutI32(out, value);
    }
    const auto& glyphs = FontGen::GetGlyphs();
    for (int i = 0; i < FontGen::GlyphCount; ++i)
    {
        const Metrics metrics = Measure(glyphs[i]);
        PutU16(out, static_cast<std::uint16_t>(FirstCode + i));
        PutI32(out, metrics.boxWidth);
        PutI32(out, metrics.advance);
        PutI32(out, metrics.boxHeight);
        PutI32(out, 0);
        PutI32(out, 0);
        PutF32(out, metrics.leftBearing);
        PutI32(out, 0);
        PutI32(out, metrics.boxOffsetY);
    }
    return out;
}

std::vector<std::uint8_t> MakeTexture()
{
    // RGBA rows from the top; transparent white keeps filtered edges white.
    std::vector<std::uint8_t> pixels(std::size_t{TextureSize} * TextureSize * 4, 0);
    for (std::size_t i = 0; i < pixels.size(); i += 4)
    {
        pixels[i] = pixels[i + 1] = pixels[i + 2] = 255;
    }
    const auto& glyphs = FontGen::GetGlyphs();
    for (int i = 0; i < FontGen::GlyphCount; ++i)
    {
        const int cellX = (i % CellsPerRow) * CellSize + InkX;
        const int cellY = (i / CellsPerRow) * CellSize + InkY;
        for (int row = 0; row < FontGen::GlyphRows; ++row)
        {
            for (int column = 0; column < FontGen::GlyphColumns; ++column)
            {
                if (!IsInk(glyphs[i], row, column))
                {
                    continue;
                }
                for (int dy = 0; dy < Scale; ++dy)
                {
                    for (int dx = 0; dx < Scale; ++dx)
                    {
                        const int x = cellX + column * Scale + dx;
                        const int y = cellY + row * Scale + dy;
                        pixels[(std::size_t{static_cast<std::size_t>(y)} * TextureSize + x) * 4 + 3] = 255;
                    }
                }
            }
        }
    }
    return pixels;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3)
    {
        std::fprintf(stderr, "usage: fontgen <output base path> [font name]\n");
        return 2;
    }
    if (!CheckGlyphs())
    {
        return 1;
    }
    const std::filesystem::path base(argv[1]);
    const std::string name = argc == 3 ? argv[2] : base.filename().string();
    std::error_code error;
    if (base.has_parent_path())
    {
        std::filesystem::create_directories(base.parent_path(), error);
    }

    const std::string tablePath = base.string() + ".fbf";
    const std::vector<std::uint8_t> table = MakeTable(name);
    std::ofstream tableFile(tablePath, std::ios::binary | std::ios::trunc);
    tableFile.write(reinterpret_cast<const char*>(table.data()), static_cast<std::streamsize>(table.size()));
    tableFile.close();
    if (!tableFile)
    {
        std::fprintf(stderr, "fontgen: cannot write \"%s\"\n", tablePath.c_str());
        return 1;
    }

    const std::string texturePath = base.string() + ".png";
    const std::vector<std::uint8_t> pixels = MakeTexture();
    if (stbi_write_png(texturePath.c_str(), TextureSize, TextureSize, 4, pixels.data(), TextureSize * 4) == 0)
    {
        std::fprintf(stderr, "fontgen: cannot write \"%s\"\n", texturePath.c_str());
        return 1;
    }
    return 0;
}

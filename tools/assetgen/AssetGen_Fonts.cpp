// The game's bitmap fonts: a ".fbf" glyph table and a ".png" texture each,
// all drawn from the one glyph table of AssetGen_Glyphs.cpp.
//
// Metrics are proportional: every glyph is measured by its ink, its left
// bearing puts the ink on the pen, and the pen advances by the ink width plus
// one glyph pixel; a space advances four glyph pixels. Cells lie ten to a row
// from the top-left of a square texture.
//
// "DefaultFont" is the engine's own default: each glyph pixel is a 2 x 2
// block of opaque white on transparent white, and its bytes never change
// (the engine's tests read it). The other fonts are styled: strokes joined
// between neighbouring glyph pixels and anti-aliased, a vertical fill
// gradient, an outline and, for the large ones, a glow, with their colour
// baked into the texture.
#include "AssetGen_Fonts.h"

#include "AssetGen_Glyphs.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <stdexcept>

namespace AssetGen
{

namespace
{

constexpr int FirstCode = 32;
constexpr int CellsPerRow = 10;

struct FontStyle
{
    const char* name;
    FontLayout layout;
    Color top;
    Color bottom;
    Color outline;
    float outlineWidth;
    Color glow;
    float glowSigma;
};

const FontLayout DefaultLayout{};

// The styled fonts. "Red" and "Win" keep the default font's metrics, so a
// tutorial hint measures the same in each; the others are sized for the
// texts the play HUD and the end screens show.
const FontStyle Styles[] = {
    // The play HUD's labels: white, cyan outline.
    {"Font0",
     {3, 32, 3, 2, 34, 512},
     Hex(0xFFFFFF),
     Hex(0xC8F4FF),
     Hex(0x12B8E8),
     1.5f,
     Hex(0x35F2FF, 0.45f),
     1.5f},
    // The stage points and the pause prompt: warm white, a little larger.
    {"Font1",
     {4, 48, 4, 4, 44, 512},
     Hex(0xFFFBF0),
     Hex(0xFFD49A),
     Hex(0x2A1238),
     2.0f,
     Hex(0xFF9A2E, 0.35f),
     2.0f},
    // The win screen's final score: large gold.
    {"Font2",
     {5, 64, 8, 8, 56, 1024},
     Hex(0xFFF6C0),
     Hex(0xFFA41A),
     Hex(0x4A2200),
     2.0f,
     Hex(0xFFC83D, 0.7f),
     3.0f},
    // The lose screens' final score: large red-orange.
    {"Font10",
     {5, 64, 8, 8, 56, 1024},
     Hex(0xFFD8A8),
     Hex(0xFF3A1A),
     Hex(0x3A0606),
     2.0f,
     Hex(0xFF3A1A, 0.7f),
     3.0f},
    // Tutorial warnings.
    {"Red", DefaultLayout, Hex(0xFF9A9A), Hex(0xE0182E), Hex(0x22000A), 1.0f, Hex(0, 0.0f), 0.0f},
    // The tutorial's congratulation.
    {"Win", DefaultLayout, Hex(0xFFF2A0), Hex(0xFFA81E), Hex(0x2E1800), 1.0f, Hex(0, 0.0f), 0.0f},
};

bool IsInk(const GlyphBitmap& glyph, int row, int column)
{
    return row >= 0 && column >= 0 && row < GlyphRows && column < GlyphColumns && glyph[row][column] == '#';
}

bool CheckGlyphs()
{
    const auto& glyphs = GetGlyphs();
    for (int i = 0; i < GlyphCount; ++i)
    {
        for (int row = 0; row < GlyphRows; ++row)
        {
            const char* line = glyphs[i][row];
            if (line == nullptr || std::strlen(line) != GlyphColumns ||
                std::strspn(line, "#.") != GlyphColumns)
            {
                return TableError("glyph", std::to_string(FirstCode + i),
                                  "row " + std::to_string(row) + " is not 5 of '#' and '.'");
            }
        }
    }
    return true;
}

bool CheckLayout(const char* name, const FontLayout& layout)
{
    const int rows = (GlyphCount + CellsPerRow - 1) / CellsPerRow;
    if (CellsPerRow * layout.cell > layout.textureSize || rows * layout.cell > layout.textureSize)
    {
        return TableError("font", name, "the cells do not fit in the texture");
    }
    if (layout.inkX + GlyphColumns * layout.scale > layout.cell ||
        layout.inkY + GlyphRows * layout.scale > layout.cell)
    {
        return TableError("font", name, "a glyph does not fit in its cell");
    }
    if ((layout.textureSize & (layout.textureSize - 1)) != 0)
    {
        return TableError("font", name, "the texture size is not a power of two");
    }
    return true;
}

GlyphMetrics Measure(const GlyphBitmap& glyph, const FontLayout& layout)
{
    int left = GlyphColumns, right = -1, top = GlyphRows, bottom = -1;
    for (int row = 0; row < GlyphRows; ++row)
    {
        for (int column = 0; column < GlyphColumns; ++column)
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
    GlyphMetrics metrics;
    if (right < 0)
    {
        metrics.advance = 4 * layout.scale;
        return metrics;
    }
    metrics.boxWidth = (right - left + 1) * layout.scale;
    metrics.advance = metrics.boxWidth + layout.scale;
    metrics.boxHeight = (bottom - top + 1) * layout.scale;
    metrics.leftBearing = static_cast<float>(layout.inkX + left * layout.scale);
    metrics.boxOffsetY = layout.inkY + top * layout.scale;
    return metrics;
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
    {
        out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
    }
}

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t value)
{
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
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
std::vector<std::uint8_t> MakeTable(const GeneratedFont& font)
{
    std::vector<std::uint8_t> out;
    PutU32(out, static_cast<std::uint32_t>(font.name.size()));
    for (const char character : font.name)
    {
        PutU16(out, static_cast<std::uint8_t>(character));
    }
    for (const std::int32_t value : font.header)
    {
        PutU32(out, static_cast<std::uint32_t>(value));
    }
    for (int i = 0; i < GlyphCount; ++i)
    {
        const GlyphMetrics& metrics = font.glyphs[static_cast<std::size_t>(i)];
        PutU16(out, static_cast<std::uint16_t>(FirstCode + i));
        PutU32(out, static_cast<std::uint32_t>(metrics.boxWidth));
        PutU32(out, static_cast<std::uint32_t>(metrics.advance));
        PutU32(out, static_cast<std::uint32_t>(metrics.boxHeight));
        PutU32(out, 0);
        PutU32(out, 0);
        PutF32(out, metrics.leftBearing);
        PutU32(out, static_cast<std::uint32_t>(metrics.kerning));
        PutU32(out, static_cast<std::uint32_t>(metrics.boxOffsetY));
    }
    return out;
}

GeneratedFont MakeMetrics(const std::string& name, const FontLayout& layout)
{
    GeneratedFont font;
    font.name = name;
    font.layout = layout;
    // Baseline offset = the cell: measured boxes start at the top of the
    // cell, so a box's offset is its ink's distance from the cell's top.
    font.header = {0, layout.cell, 0, layout.cell, 0, 0, layout.lineHeight, 0};
    for (int i = 0; i < GlyphCount; ++i)
    {
        font.glyphs[static_cast<std::size_t>(i)] = Measure(GetGlyphs()[static_cast<std::size_t>(i)], layout);
    }
    return font;
}

// The default font's texture: opaque white blocks on transparent white.
std::vector<std::uint8_t> DefaultTexturePixels()
{
    const FontLayout& layout = DefaultLayout;
    const int size = layout.textureSize;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(size) * size * 4, 0);
    for (std::size_t i = 0; i < pixels.size(); i += 4)
    {
        pixels[i] = pixels[i + 1] = pixels[i + 2] = 255;
    }
    for (int i = 0; i < GlyphCount; ++i)
    {
        const int cellX = (i % CellsPerRow) * layout.cell + layout.inkX;
        const int cellY = (i / CellsPerRow) * layout.cell + layout.inkY;
        for (int row = 0; row < GlyphRows; ++row)
        {
            for (int column = 0; column < GlyphColumns; ++column)
            {
                if (!IsInk(GetGlyphs()[static_cast<std::size_t>(i)], row, column))
                {
                    continue;
                }
                for (int dy = 0; dy < layout.scale; ++dy)
                {
                    for (int dx = 0; dx < layout.scale; ++dx)
                    {
                        const int x = cellX + column * layout.scale + dx;
                        const int y = cellY + row * layout.scale + dy;
                        pixels[(static_cast<std::size_t>(y) * size + x) * 4 + 3] = 255;
                    }
                }
            }
        }
    }
    return pixels;
}

// The ink of one glyph added to a mask (the larger value wins), its top-left
// glyph pixel at (originX, originY): a round-capped stroke of one glyph
// pixel's width joins the centres of neighbouring ink pixels (a diagonal
// only where no straight neighbour already joins the two), so curves and
// slants come out smooth at any scale.
void AddGlyphInk(std::vector<float>& mask, int width, int height, const GlyphBitmap& glyph, float originX,
                 float originY, float s)
{
    struct Segment
    {
        float ax, ay, bx, by;
    };
    std::vector<Segment> segments;
    const auto centre = [&](int row, int column)
    {
        return std::pair<float, float>{originX + (static_cast<float>(column) + 0.5f) * s,
                                       originY + (static_cast<float>(row) + 0.5f) * s};
    };
    const auto join = [&](int r0, int c0, int r1, int c1)
    {
        const auto [ax, ay] = centre(r0, c0);
        const auto [bx, by] = centre(r1, c1);
        segments.push_back({ax, ay, bx, by});
    };
    for (int row = 0; row < GlyphRows; ++row)
    {
        for (int column = 0; column < GlyphColumns; ++column)
        {
            if (!IsInk(glyph, row, column))
            {
                continue;
            }
            join(row, column, row, column);
            if (IsInk(glyph, row, column + 1))
            {
                join(row, column, row, column + 1);
            }
            if (IsInk(glyph, row + 1, column))
            {
                join(row, column, row + 1, column);
            }
            if (IsInk(glyph, row + 1, column + 1) && !IsInk(glyph, row, column + 1) &&
                !IsInk(glyph, row + 1, column))
            {
                join(row, column, row + 1, column + 1);
            }
            if (IsInk(glyph, row + 1, column - 1) && !IsInk(glyph, row, column - 1) &&
                !IsInk(glyph, row + 1, column))
            {
                join(row, column, row + 1, column - 1);
            }
        }
    }
    const float radius = s * 0.5f;
    const int x0 = std::max(0, static_cast<int>(originX) - 1);
    const int y0 = std::max(0, static_cast<int>(originY) - 1);
    const int x1 = std::min(width, static_cast<int>(originX + GlyphColumns * s) + 2);
    const int y1 = std::min(height, static_cast<int>(originY + GlyphRows * s) + 2);
    for (int y = y0; y < y1; ++y)
    {
        for (int x = x0; x < x1; ++x)
        {
            const float px = static_cast<float>(x) + 0.5f;
            const float py = static_cast<float>(y) + 0.5f;
            float distance = 1e30f;
            for (const Segment& segment : segments)
            {
                const float dx = segment.bx - segment.ax;
                const float dy = segment.by - segment.ay;
                const float length2 = dx * dx + dy * dy;
                const float t =
                    length2 > 0.0f
                        ? std::clamp(((px - segment.ax) * dx + (py - segment.ay) * dy) / length2, 0.0f, 1.0f)
                        : 0.0f;
                distance = std::min(distance, std::hypot(px - segment.ax - t * dx, py - segment.ay - t * dy));
            }
            float& value = mask[static_cast<std::size_t>(y) * width + x];
            value = std::max(value, std::clamp(radius + 0.5f - distance, 0.0f, 1.0f));
        }
    }
}

// Ink, outline, glow and the fill gradient from the cap line to the baseline.
Canvas StyleInk(const std::vector<float>& ink, int width, int height, const TextStyle& style, float capTop)
{
    const std::vector<float> outline = Dilate(ink, width, height, style.outlineWidth);
    Canvas canvas(width, height);
    if (style.glow.a > 0.0f)
    {
        Canvas glow(width, height);
        glow.FillMask(outline, Solid(WithAlpha(style.glow, 1.0f)));
        glow.Blur(style.glowSigma);
        canvas.Draw(glow, 0, 0, Blend::Over, {1, 1, 1, style.glow.a});
    }
    canvas.FillMask(outline, Solid(style.outline));
    const float baseline = capTop + 7.0f * static_cast<float>(style.scale);
    canvas.FillMask(ink, LinearGradient(0, capTop, style.top, 0, baseline, style.bottom));
    return canvas;
}

Canvas StyledCell(const GlyphBitmap& glyph, const FontStyle& style)
{
    const FontLayout& layout = style.layout;
    const int cell = layout.cell;
    std::vector<float> ink(static_cast<std::size_t>(cell) * cell, 0.0f);
    AddGlyphInk(ink, cell, cell, glyph, static_cast<float>(layout.inkX), static_cast<float>(layout.inkY),
                static_cast<float>(layout.scale));
    const TextStyle text{layout.scale,       style.top,  style.bottom,   style.outline,
                         style.outlineWidth, style.glow, style.glowSigma};
    return StyleInk(ink, cell, cell, text, static_cast<float>(layout.inkY));
}

std::unique_ptr<GeneratedFont> BuildFont(const std::string& name)
{
    if (name == "DefaultFont")
    {
        auto font = std::make_unique<GeneratedFont>(MakeMetrics(name, DefaultLayout));
        const std::vector<std::uint8_t> pixels = DefaultTexturePixels();
        const int size = DefaultLayout.textureSize;
        font->texture = Canvas(size, size);
        for (int y = 0; y < size; ++y)
        {
            for (int x = 0; x < size; ++x)
            {
                const float alpha = pixels[(static_cast<std::size_t>(y) * size + x) * 4 + 3] / 255.0f;
                font->texture.At(x, y) = {alpha, alpha, alpha, alpha};
            }
        }
        return font;
    }
    for (const FontStyle& style : Styles)
    {
        if (name != style.name)
        {
            continue;
        }
        auto font = std::make_unique<GeneratedFont>(MakeMetrics(name, style.layout));
        const int size = style.layout.textureSize;
        font->texture = Canvas(size, size);
        for (int i = 0; i < GlyphCount; ++i)
        {
            const Canvas cell = StyledCell(GetGlyphs()[static_cast<std::size_t>(i)], style);
            font->texture.Draw(cell, (i % CellsPerRow) * style.layout.cell,
                               (i / CellsPerRow) * style.layout.cell);
        }
        return font;
    }
    throw std::out_of_range("no font named " + name);
}

std::string FontPath(const std::string& name, const char* extension)
{
    return "Resources/Fonts/" + name + "/" + name + extension;
}

} // namespace

Canvas StyledText(const std::string& text, const TextStyle& style)
{
    const int pad = static_cast<int>(std::ceil(style.outlineWidth + 3.0f * style.glowSigma)) + 1;
    FontLayout layout;
    layout.scale = style.scale;
    float width = 0.0f;
    for (const char character : text)
    {
        const auto code = static_cast<unsigned char>(character);
        const std::size_t index = code >= 32 && code < 128 ? code - 32u : 0u;
        width += static_cast<float>(Measure(GetGlyphs()[index], layout).advance);
    }
    const int w = static_cast<int>(width) + 2 * pad;
    const int h = GlyphRows * style.scale + 2 * pad;
    std::vector<float> ink(static_cast<std::size_t>(w) * h, 0.0f);
    float pen = static_cast<float>(pad);
    for (const char character : text)
    {
        const auto code = static_cast<unsigned char>(character);
        const std::size_t index = code >= 32 && code < 128 ? code - 32u : 0u;
        const GlyphMetrics metrics = Measure(GetGlyphs()[index], layout);
        // The measured bearing includes the layout's ink offset; take it off.
        const float bearing =
            metrics.boxWidth > 0 ? metrics.leftBearing - static_cast<float>(layout.inkX) : 0.0f;
        if (metrics.boxWidth > 0)
        {
            AddGlyphInk(ink, w, h, GetGlyphs()[index], pen - bearing, static_cast<float>(pad),
                        static_cast<float>(style.scale));
        }
        pen += static_cast<float>(metrics.advance);
    }
    return StyleInk(ink, w, h, style, static_cast<float>(pad));
}

const GeneratedFont& GetFont(const std::string& name)
{
    static std::map<std::string, std::unique_ptr<GeneratedFont>> fonts;
    auto found = fonts.find(name);
    if (found == fonts.end())
    {
        found = fonts.emplace(name, BuildFont(name)).first;
    }
    return *found->second;
}

void ListFonts(Manifest& manifest)
{
    const auto add = [&](const std::string& name, const FontLayout& layout)
    {
        const std::string size = std::to_string(layout.textureSize);
        manifest.push_back({FontPath(name, ".fbf"), "font table",
                            std::to_string(3300 + 2 * name.size()) + " bytes, cell " +
                                std::to_string(layout.cell) + ", line height " +
                                std::to_string(layout.lineHeight)});
        manifest.push_back({FontPath(name, ".png"), "font texture", size + "x" + size});
    };
    add("DefaultFont", DefaultLayout);
    for (const FontStyle& style : Styles)
    {
        add(style.name, style.layout);
    }
}

bool MakeFonts(Output& output)
{
    if (!CheckGlyphs() || !CheckLayout("DefaultFont", DefaultLayout))
    {
        return false;
    }
    for (const FontStyle& style : Styles)
    {
        if (!CheckLayout(style.name, style.layout))
        {
            return false;
        }
    }
    const GeneratedFont& standard = GetFont("DefaultFont");
    const int size = DefaultLayout.textureSize;
    if (!output.Write(FontPath(standard.name, ".fbf"), MakeTable(standard)) ||
        !output.Write(FontPath(standard.name, ".png"), EncodePng(DefaultTexturePixels(), size, size)))
    {
        return false;
    }
    for (const FontStyle& style : Styles)
    {
        const GeneratedFont& font = GetFont(style.name);
        // Transparent texels carry the outline's colour, so filtered edges
        // fade into the outline rather than into black.
        if (!output.Write(FontPath(font.name, ".fbf"), MakeTable(font)) ||
            !output.WritePng(FontPath(font.name, ".png"), font.texture, style.outline))
        {
            return false;
        }
    }
    return true;
}

} // namespace AssetGen

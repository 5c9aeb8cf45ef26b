#pragma once

#include "AssetGen_Canvas.h"
#include "AssetGen_Output.h"

#include <array>
#include <cstdint>
#include <string>

namespace AssetGen
{

// Where the glyphs of a font lie: each glyph pixel of the glyph table becomes
// a scale x scale block, placed at (inkX, inkY) in its cell.
struct FontLayout
{
    int scale = 2;
    int cell = 20;
    int inkX = 2;
    int inkY = 1;
    int lineHeight = 22;
    int textureSize = 256;
};

// One record of the ".fbf" table.
struct GlyphMetrics
{
    std::int32_t boxWidth = 0;
    std::int32_t advance = 0;
    std::int32_t boxHeight = 0;
    float leftBearing = 0.0f;
    std::int32_t kerning = 0;
    std::int32_t boxOffsetY = 0;
};

// A generated font: its table values and its texture.
struct GeneratedFont
{
    std::string name;
    FontLayout layout;
    std::array<std::int32_t, 8> header{};
    std::array<GlyphMetrics, 96> glyphs{};
    Canvas texture;
};

// The fonts by name ("DefaultFont", "Font0", ...); built on first use.
// Throws std::out_of_range for an unknown name.
const GeneratedFont& GetFont(const std::string& name);

// How styled letters look: glyph pixels of `scale` texels, a vertical fill
// gradient from the cap line to the baseline, an outline and a glow.
struct TextStyle
{
    int scale = 4;
    Color top;
    Color bottom;
    Color outline;
    float outlineWidth = 2.0f;
    Color glow = {0, 0, 0, 0};
    float glowSigma = 0.0f;
};

// One line of styled letters on a canvas that just holds them with their
// outline and glow; the cap line lies (outline + glow margin) below the top.
Canvas StyledText(const std::string& text, const TextStyle& style);

void ListFonts(Manifest& manifest);
bool MakeFonts(Output& output);

} // namespace AssetGen

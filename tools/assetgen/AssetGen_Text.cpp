#include "AssetGen_Text.h"

#include <algorithm>
#include <cmath>

namespace AssetGen
{

namespace
{

const GlyphMetrics& Glyph(const GeneratedFont& font, unsigned char code)
{
    const std::size_t index = code >= 32 && code < 128 ? code - 32u : 0u;
    return font.glyphs[index];
}

} // namespace

void DrawText(Canvas& canvas, const GeneratedFont& font, float x, float top, const std::string& text,
              Color tint)
{
    const int cell = font.layout.cell;
    const float spaceAdvance = static_cast<float>(Glyph(font, ' ').advance);
    float penX = 0.0f;
    float lineTop = top;
    for (const char character : text)
    {
        const auto code = static_cast<unsigned char>(character);
        if (code == '\n')
        {
            penX = 0.0f;
            lineTop += static_cast<float>(font.layout.lineHeight);
            continue;
        }
        if (code == ' ' || code == '\t')
        {
            penX += code == ' ' ? spaceAdvance : 4.0f * spaceAdvance;
            continue;
        }
        if (code == '\r')
        {
            continue;
        }
        const GlyphMetrics& glyph = Glyph(font, code);
        const std::size_t index = code >= 32 && code < 128 ? code - 32u : 0u;
        const int cellX = static_cast<int>(index % 10) * cell;
        const int cellY = static_cast<int>(index / 10) * cell;
        const Canvas source = font.texture.Crop(cellX, cellY, cell, cell);
        const float left = x + penX - glyph.leftBearing;
        canvas.Draw(source, static_cast<int>(std::lround(left)), static_cast<int>(std::lround(lineTop)),
                    Blend::Over, tint);
        penX += static_cast<float>(glyph.advance);
    }
}

float TextWidth(const GeneratedFont& font, const std::string& text)
{
    const float spaceAdvance = static_cast<float>(Glyph(font, ' ').advance);
    float widest = 0.0f;
    float penX = 0.0f;
    float inkRight = 0.0f;
    for (const char character : text)
    {
        const auto code = static_cast<unsigned char>(character);
        if (code == '\n')
        {
            penX = 0.0f;
            inkRight = 0.0f;
            continue;
        }
        if (code == ' ' || code == '\t')
        {
            penX += code == ' ' ? spaceAdvance : 4.0f * spaceAdvance;
            continue;
        }
        const GlyphMetrics& glyph = Glyph(font, code);
        inkRight = penX + static_cast<float>(glyph.boxWidth);
        penX += static_cast<float>(glyph.advance);
        widest = std::max(widest, inkRight);
    }
    return widest;
}

float CapTop(const GeneratedFont& font)
{
    return static_cast<float>(font.layout.inkY);
}

float CapHeight(const GeneratedFont& font)
{
    return 7.0f * static_cast<float>(font.layout.scale);
}

void DrawCentredText(Canvas& canvas, const GeneratedFont& font, float cx, float cy, const std::string& text,
                     Color tint)
{
    const float x = cx - TextWidth(font, text) * 0.5f;
    const float top = cy - CapHeight(font) * 0.5f - CapTop(font);
    DrawText(canvas, font, std::round(x), std::round(top), text, tint);
}

} // namespace AssetGen

#include "engine/Engine_BitmapFont.h"

#include "core/Core_DiskFile.h"
#include "pal/PAL_FileSystem.h"
#include "renderer/Renderer_TextureCache.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace Engine
{

namespace
{

std::int32_t ReadInt32(const std::uint8_t* bytes)
{
    std::int32_t value = 0;
    std::memcpy(&value, bytes, sizeof(value));
    return value;
}

// An axis-aligned box in the measuring frame (y grows downwards).
struct Box
{
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;
};

void Join(Box& into, bool& started, float x, float y, float width, float height)
{
    const Box box{x, y, x + width, y + height};
    if (!started)
    {
        into = box;
        started = true;
        return;
    }
    into.left = std::min(into.left, box.left);
    into.top = std::min(into.top, box.top);
    into.right = std::max(into.right, box.right);
    into.bottom = std::max(into.bottom, box.bottom);
}

} // namespace

BitmapFont::BitmapFont(const std::string& path)
{
    name_ =
        path.empty() ? PAL::GetExecutableDirectory() + "\\Resources\\Fonts\\DefaultFont\\DefaultFont" : path;
    texture_ = Renderer::LoadTexture(name_ + ".png", true);
    ReadTable(name_ + ".fbf");
    ComputeTexCoords();
}

const char* BitmapFont::GetClassName() const
{
    return "Engine::BitmapFont";
}

std::uint32_t BitmapFont::GetSize() const
{
    return sizeof(BitmapFont);
}

std::int32_t BitmapFont::GetHeaderValue(std::uint32_t index) const
{
    return index < header_.size() ? header_[index] : 0;
}

std::uint32_t BitmapFont::IndexOf(std::int32_t code)
{
    if (code < static_cast<std::int32_t>(FirstCode) ||
        code >= static_cast<std::int32_t>(FirstCode + GlyphCount))
    {
        return 0;
    }
    return static_cast<std::uint32_t>(code) - FirstCode;
}

void BitmapFont::ReadTable(const std::string& fileName)
{
    Core::DiskFile file(fileName, Core::DiskFile::ReadMode);
    if (!file.IsOpen())
    {
        // A missing table is an ordinary state: the font has no metrics.
        return;
    }

    std::uint32_t nameLength = 0;
    file >> nameLength;
    // Everything after the length must be in the file before a byte of it
    // is taken: the name, the header and every record. A length that does
    // not fit is a damaged table, never a reason to read on.
    const std::uint64_t needed =
        std::uint64_t{nameLength} * 2 + HeaderSize + std::uint64_t{GlyphCount} * RecordSize;
    const std::uint64_t available = file.Failed() ? 0 : file.GetBytesLeft();
    if (file.Failed() || needed > available)
    {
        std::fprintf(stderr,
                     "Engine::BitmapFont: \"%s\" is not a glyph table: it needs %llu bytes after its name "
                     "length of %u, and has %llu\n",
                     fileName.c_str(), static_cast<unsigned long long>(needed), nameLength,
                     static_cast<unsigned long long>(available));
        return;
    }

    std::uint8_t skip[256];
    for (std::uint64_t left = std::uint64_t{nameLength} * 2; left > 0;)
    {
        const auto chunk = static_cast<std::uint32_t>(std::min<std::uint64_t>(left, sizeof(skip)));
        file.Read(skip, chunk);
        left -= chunk;
    }

    std::array<std::int32_t, 8> header{};
    for (std::int32_t& value : header)
    {
        file >> value;
    }

    std::array<GlyphRecord, GlyphCount> glyphs{};
    for (GlyphRecord& glyph : glyphs)
    {
        std::uint8_t bytes[RecordSize] = {};
        file.Read(bytes, RecordSize);
        std::uint16_t code = 0;
        std::memcpy(&code, bytes, sizeof(code));
        glyph.code = code;
        glyph.boxWidth = ReadInt32(bytes + 2);
        glyph.advance = ReadInt32(bytes + 6);
        glyph.boxHeight = ReadInt32(bytes + 10);
        glyph.value4 = ReadInt32(bytes + 14);
        glyph.value5 = ReadInt32(bytes + 18);
        std::memcpy(&glyph.leftBearing, bytes + 22, sizeof(float));
        glyph.kerning = ReadInt32(bytes + 26);
        glyph.boxOffsetY = ReadInt32(bytes + 30);
    }

    if (file.Failed())
    {
        std::fprintf(stderr, "Engine::BitmapFont: \"%s\" could not be read: %s\n", fileName.c_str(),
                     Core::GetFileErrorText(file.GetError()));
        return;
    }
    // Bytes after the last record are ignored.
    header_ = header;
    glyphs_ = glyphs;
    hasMetrics_ = true;
}

void BitmapFont::ComputeTexCoords()
{
    // Cells of h4 texels, ten to a row from the top-left; both coordinates
    // are divided by the width, as font textures are square. v grows
    // upwards, so the top row of cells has vT = 1.
    const float width = texture_ ? static_cast<float>(texture_->GetWidth()) : 0.0f;
    if (width <= 0.0f)
    {
        texCoords_ = {};
        return;
    }
    const float cell = static_cast<float>(header_[3]);
    for (std::uint32_t i = 0; i < GlyphCount; ++i)
    {
        const float row = static_cast<float>(i / CellsPerRow);
        const float column = static_cast<float>(i % CellsPerRow);
        const float u0 = column * cell / width;
        const float u1 = (column * cell + cell) / width;
        const float vTop = (width - row * cell) / width;
        const float vBottom = (width - row * cell - cell) / width;
        texCoords_[i] = {u0, vBottom, u1, vBottom, u1, vTop, u0, vTop};
    }
}

void BitmapFont::GetCharacterInfo(std::int32_t code, GlyphRecord& record) const
{
    record = glyphs_[IndexOf(code)];
}

void BitmapFont::GetCharacterTexCoords(std::int32_t code, float (&coordinates)[8]) const
{
    const std::array<float, 8>& corners = texCoords_[IndexOf(code)];
    std::copy(corners.begin(), corners.end(), coordinates);
}

void BitmapFont::GetTextSize(const std::string& text, float& width, float& height) const
{
    const float baseline = static_cast<float>(header_[1]);
    const float secondOffset = static_cast<float>(header_[5]);
    const float lineHeight = static_cast<float>(header_[6]);
    const float spaceAdvance = static_cast<float>(glyphs_[0].advance);
    const float tabAdvance = 4.0f * spaceAdvance;

    float x = 0.0f;
    float y = static_cast<float>(header_[3]);
    Box result;
    bool started = false;
    for (const char character : text)
    {
        const std::int32_t code = static_cast<signed char>(character);
        if (code == '\r')
        {
            x = 0.0f;
            continue;
        }
        if (code == '\n')
        {
            Join(result, started, x, y, 1.0f, lineHeight);
            y += lineHeight;
            continue;
        }
        const GlyphRecord& glyph = glyphs_[IndexOf(code)];
        if (x != 0.0f)
        {
            x += static_cast<float>(glyph.kerning);
        }
        if (code == ' ')
        {
            Join(result, started, x, y - baseline, spaceAdvance, 1.0f);
            x += spaceAdvance;
        }
        else if (code == '\t')
        {
            Join(result, started, x, y - baseline, tabAdvance, 1.0f);
            x += tabAdvance;
        }
        else
        {
            Join(result, started, x, y - (baseline + secondOffset) + static_cast<float>(glyph.boxOffsetY),
                 static_cast<float>(glyph.boxWidth), static_cast<float>(glyph.boxHeight));
            x += static_cast<float>(glyph.advance) - static_cast<float>(glyph.kerning);
        }
    }
    width = started ? result.right - result.left : 0.0f;
    height = started ? result.bottom - result.top : 0.0f;
}

} // namespace Engine

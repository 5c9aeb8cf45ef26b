#include "engine/Engine_BitmapFont.h"

#include "core/Core_DiskFile.h"
#include "pal/PAL_FileSystem.h"
#include "core/Core_ResourceReport.h"
#include "renderer/Renderer_TextureCache.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace Engine
{

namespace
{

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
    static const char* const noMetrics = "a font with no metrics is used instead";
    Core::DiskFile file(fileName, Core::DiskFile::ReadMode);
    if (!file.IsOpen())
    {
        Core::ReportUnreadableResource(fileName, "", noMetrics);
        return;
    }

    std::uint32_t nameLength = 0;
    file >> nameLength;
    const std::uint64_t left = file.Failed() ? 0 : file.GetBytesLeft();
    const std::uint64_t nameBytes = std::uint64_t{nameLength} * 2;
    // The name is skipped by its length: a length that runs past the end
    // would leave nothing to read and is a damaged table.
    if (file.Failed() || nameBytes > left)
    {
        Core::ReportUnreadableResource(fileName,
                                      file.Failed() ? "it ends inside its name length"
                                                    : "its name length of " + std::to_string(nameLength) +
                                                          " code units runs past its end",
                                      noMetrics);
        return;
    }
    std::uint8_t skip[256];
    for (std::uint64_t rest = nameBytes; rest > 0;)
    {
        const auto chunk = static_cast<std::uint32_t>(std::min<std::uint64_t>(rest, sizeof(skip)));
        file.Read(skip, chunk);
        rest -= chunk;
    }

    // The header and the records are read in one pass; a table that ends
    // early keeps the values read before its end and leaves the rest zero.
    // Bytes after the last record are ignored.
    constexpr std::uint32_t tableSize = HeaderSize + GlyphCount * RecordSize;
    const auto present = static_cast<std::uint32_t>(std::min<std::uint64_t>(left - nameBytes, tableSize));
    std::vector<std::uint8_t> bytes(tableSize, 0);
    file.Read(bytes.data(), present);
    if (file.Failed())
    {
        Core::ReportUnreadableResource(fileName, Core::GetFileErrorText(file.GetError()), noMetrics);
        return;
    }
    // A value is read only when every one of its bytes is in the file.
    const auto value = [&bytes, present](std::uint32_t offset, auto& into)
    {
        if (offset + sizeof(into) <= present)
        {
            std::memcpy(&into, bytes.data() + offset, sizeof(into));
        }
    };

    std::array<std::int32_t, 8> header{};
    for (std::uint32_t i = 0; i < header.size(); ++i)
    {
        value(i * 4, header[i]);
    }
    std::array<GlyphRecord, GlyphCount> glyphs{};
    for (std::uint32_t i = 0; i < GlyphCount; ++i)
    {
        const std::uint32_t record = HeaderSize + i * RecordSize;
        GlyphRecord& glyph = glyphs[i];
        std::uint16_t code = 0;
        value(record, code);
        glyph.code = code;
        value(record + 2, glyph.boxWidth);
        value(record + 6, glyph.advance);
        value(record + 10, glyph.boxHeight);
        value(record + 14, glyph.value4);
        value(record + 18, glyph.value5);
        value(record + 22, glyph.leftBearing);
        value(record + 26, glyph.kerning);
        value(record + 30, glyph.boxOffsetY);
    }
    header_ = header;
    glyphs_ = glyphs;
    hasMetrics_ = true;
    if (present < tableSize)
    {
        Core::ReportUnreadableResource(fileName,
                                      "it ends after " + std::to_string(present) + " of the " +
                                          std::to_string(tableSize) + " bytes of its header and records",
                                      "the values before its end are kept and the rest are zero");
    }
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

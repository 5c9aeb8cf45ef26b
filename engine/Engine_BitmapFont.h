#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "renderer/Renderer_ITexture.h"

#include <array>
#include <cstdint>
#include <string>

namespace Engine
{

// The metrics of one character, as the glyph table stores them (nine
// 32-bit words; the file keeps the code in 16 bits).
struct GlyphRecord
{
    std::uint32_t code = 0;
    std::int32_t boxWidth = 0;   // width of the measured box
    std::int32_t advance = 0;    // how far the pen moves after the character
    std::int32_t boxHeight = 0;  // height of the measured box
    std::int32_t value4 = 0;     // kept, unused
    std::int32_t value5 = 0;     // kept, unused
    float leftBearing = 0.0f;    // the glyph quad starts this far left of the pen
    std::int32_t kerning = 0;    // added to the pen inside a line, taken off the advance
    std::int32_t boxOffsetY = 0; // vertical offset of the measured box
};

// A fixed-grid bitmap font of the 96 printable ASCII characters (codes 32 to
// 127). The texture "<path>.png" holds the glyph cells in rows of ten from
// the top-left; the glyph table "<path>.fbf" gives eight font-wide values
// and one GlyphRecord per character:
//
//   u32 n, n UTF-16 code units of a name (skipped), 8 x i32 header,
//   96 records of 34 bytes: u16 code, i32 m1..m5, f32 m6, i32 m7, m8.
//
// Header values with a meaning: [1] baseline offset (measured boxes start
// this far above the pen line), [3] cell size in texels (every cell and
// every laid-out glyph quad is cell x cell), [5] second vertical offset of
// the measurement, [6] line height.
//
// A table that cannot be opened, or whose name length runs past its end,
// leaves the font without metrics: every value zero, the font is still
// usable and draws nothing. A table that ends inside its header or records
// keeps every value read before its end; the rest stay zero. A missing or
// damaged table is reported once on standard error.
//
// Fonts are shared through the font cache; they are not registered by class
// name and not persisted.
class BitmapFont : public Core::Object
{
public:
    static constexpr std::uint32_t FirstCode = 32;
    static constexpr std::uint32_t GlyphCount = 96;
    static constexpr std::uint32_t CellsPerRow = 10;
    static constexpr std::uint32_t RecordSize = 34;
    static constexpr std::uint32_t HeaderSize = 32;

    // The empty path names the default font below the executable:
    // "<executable directory>\Resources\Fonts\DefaultFont\DefaultFont".
    explicit BitmapFont(const std::string& path);
    BitmapFont(const BitmapFont&) = delete;
    BitmapFont& operator=(const BitmapFont&) = delete;

    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;

    // h7.
    double GetLineHeight() const { return header_[6]; }
    // h4.
    std::int32_t GetCellSize() const { return header_[3]; }
    // h1 to h8 by index 0 to 7; 0 for any other index.
    std::int32_t GetHeaderValue(std::uint32_t index) const;
    // The path the font was built from (the default font's full path for
    // the empty path), without extension.
    const std::string& GetName() const { return name_; }
    // False when the glyph table was missing or its name did not fit.
    bool HasMetrics() const { return hasMetrics_; }

    // The record of `code`; codes outside 32 to 127 get the space's.
    void GetCharacterInfo(std::int32_t code, GlyphRecord& record) const;
    // The cell's corners as (u, v) pairs: bottom-left, bottom-right,
    // top-right, top-left; v grows upwards. Codes outside 32 to 127 get the
    // space's.
    void GetCharacterTexCoords(std::int32_t code, float (&coordinates)[8]) const;

    // Measures `text` in a frame where y grows downwards and the first line's
    // pen line lies at the cell size:
    // - carriage return sets x to 0; line feed adds a box (x, y, 1, h7) and
    //   moves y down by h7 without resetting x;
    // - inside a line (x != 0) the character's kerning is added to x first;
    // - a space or tab adds a box (x, y - h2, advance, 1), the tab advance
    //   being four space advances;
    // - any other character adds (x, y - (h2 + h6) + m8, m1, m3) and moves x
    //   by m2 - m7.
    // Bytes 128 to 255 and control characters use the space's record. The
    // result is the size of the union of the boxes; (0, 0) for no box.
    void GetTextSize(const std::string& text, float& width, float& height) const;

    const Core::RefPtr<Renderer::ITexture>& GetTexture() const { return texture_; }

private:
    // Index into the tables: 0 (space) for codes outside the font.
    static std::uint32_t IndexOf(std::int32_t code);
    void ReadTable(const std::string& fileName);
    void ComputeTexCoords();

    std::array<GlyphRecord, GlyphCount> glyphs_{};
    std::array<std::array<float, 8>, GlyphCount> texCoords_{};
    std::string name_;
    std::array<std::int32_t, 8> header_{};
    Core::RefPtr<Renderer::ITexture> texture_;
    bool hasMetrics_ = false;
};

} // namespace Engine

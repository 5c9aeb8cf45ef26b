#pragma once

#include <array>

namespace AssetGen
{

// The pixel font the generator draws: 96 glyphs for the codes 32 to 127,
// each 5 pixels wide and 9 rows tall, '#' for ink. Rows 0 to 6 hold capitals
// and digits (the baseline lies under row 6), rows 2 to 6 the body of small
// letters, rows 7 and 8 the descenders.
constexpr int GlyphColumns = 5;
constexpr int GlyphRows = 9;
constexpr int GlyphCount = 96;

using GlyphBitmap = std::array<const char*, GlyphRows>;

const std::array<GlyphBitmap, GlyphCount>& GetGlyphs();

} // namespace AssetGen

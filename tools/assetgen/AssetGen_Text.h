#pragma once

#include "AssetGen_Canvas.h"
#include "AssetGen_Fonts.h"

#include <string>

namespace AssetGen
{

// Draws text the way the engine's text node lays it out: each printable
// character is its whole cell from the font texture, placed so its ink
// starts at the pen; a space moves the pen by the space's advance, a tab by
// four of them, a line feed starts the next line one line height lower.
// (x, top) is the pen at the top of the first line's cells, in canvas pixels
// (y down). `tint` multiplies the texture's colours.
void DrawText(Canvas& canvas, const GeneratedFont& font, float x, float top, const std::string& text,
              Color tint = {1, 1, 1, 1});

// Width of the text's ink and pen travel on its longest line.
float TextWidth(const GeneratedFont& font, const std::string& text);
// Top of the capitals' ink below a line's top, and their height.
float CapTop(const GeneratedFont& font);
float CapHeight(const GeneratedFont& font);

// Draws one line centred on (cx, cy): capitals centred vertically.
void DrawCentredText(Canvas& canvas, const GeneratedFont& font, float cx, float cy, const std::string& text,
                     Color tint = {1, 1, 1, 1});

} // namespace AssetGen

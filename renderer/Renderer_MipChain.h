#pragma once

#include "renderer/Renderer_Image.h"

#include <vector>

namespace Renderer
{

// The mipmap levels below `base`, each made from the one above it: level
// i + 1 halves the sides of level i (rounded down, at least 1), and the
// chain ends with the level that is 1 x 1 (none for a 1 x 1 base).
//
// Each pixel is the area average of the pixels of the level above that its
// footprint covers: a 2 x 2 box where a side halves exactly, and across an
// odd side (2n + 1 -> n) three pixels, the middle one whole and the outer
// two in the shares that fall inside. Colours are weighted by alpha, so a
// transparent pixel lends no colour, only its share of coverage; where the
// whole footprint is transparent the colours are averaged plainly and
// alpha stays 0. Levels are carried between steps unrounded, so each level
// is the area average of the base itself: rounding does not compound down
// the chain. Channels are rounded to the nearest value.
std::vector<Image> BuildMipLevels(const Image& base);

} // namespace Renderer

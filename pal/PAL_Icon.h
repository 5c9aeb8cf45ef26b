#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace PAL
{

// A decoded icon image: 8-bit RGBA, rows from the top.
struct IconImage
{
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> rgba;
};

// Reads an ICO file: picks the largest entry (then the deepest colour) and
// decodes it. PNG entries and BMP entries (a bitmap without file header, its
// height doubled for the AND mask that follows the colour rows) are
// supported; below 32 bits per pixel the AND mask gives the transparency.
// Every count and offset is checked against the data; false on any fault.
[[nodiscard]] bool DecodeIcon(const std::uint8_t* data, std::size_t size, IconImage& image);
// The same from a file; `path` is an engine path.
[[nodiscard]] bool ReadIconFile(const std::string& path, IconImage& image);

} // namespace PAL

#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Renderer
{

// A decoded image as the decoder delivers it: rows from the top of the image
// down, four bytes a pixel (red, green, blue, alpha), alpha not premultiplied.
struct Image
{
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> rgba;
};

// True for the names the image decoder is given: an upper-cased copy ends
// with ".PNG", ".BMP" or ".JPG" (so "a.png" and "a.Jpg" qualify, "a.jpeg"
// does not). Every other file is read as a raw surface.
bool IsDecodedImageName(const std::string& fileName);

// Decodes a PNG, BMP or JPG file (an engine path) into `image`. False, with
// `image` untouched, when the name is not one the decoder takes, or the file
// fails PAL::DecodeImage's checks (its content, not its name, says which of
// the three formats it is) or cannot be decoded.
[[nodiscard]] bool DecodeImageFile(const std::string& fileName, Image& image);

// `source` resampled to width x height (both at least 1) with a high-quality
// filter weighted by alpha, so transparent pixels lend no colour to their
// neighbours. The same size is a plain copy.
Image ScaleImage(const Image& source, std::uint32_t width, std::uint32_t height);

} // namespace Renderer

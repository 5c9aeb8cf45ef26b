#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace PAL
{

enum class ImageFormat
{
    None,
    Png,
    Bmp,
    Jpeg,
};

// The format whose signature starts `data`; None for anything else. Only
// these three formats are ever decoded, whatever a file's name says.
ImageFormat SniffImageFormat(const std::uint8_t* data, std::size_t size);

struct DecodedImage
{
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> rgba; // width * height * 4 bytes, top row first
};

// Decodes a PNG, BMP or JPEG image held in memory to RGBA. The bytes pass
// our own checks before the decoder sees any of them: a known signature;
// the header's width and height at least 1 and at most `maxSide`; a pixel
// count the data can stand for (an uncompressed bitmap must hold every row,
// a compressed image at most MaxPixelsPerByte pixels per byte); and the
// structure walked end to end (PNG chunks, JPEG marker segments and their
// tables, bitmap headers) with every length inside the data and every value
// one the decoder supports. False, with `image` unchanged, when anything is
// refused or the decoder fails.
[[nodiscard]] bool DecodeImage(const std::uint8_t* data, std::size_t size, std::uint32_t maxSide, DecodedImage& image);

// The most pixels one byte of a compressed image can stand for. Deflate packs
// at most about 1032 bytes into one, and a 1-bit PNG holds 8 pixels a byte:
// about 8,300 pixels a byte, with twice that as margin. JPEG stays far
// below. The decoder allocates, and fills, the size the header announces
// before it reads a pixel: without this bound a few bytes could cost
// gigabytes.
constexpr std::uint64_t MaxPixelsPerByte = 16384;

// The widest and tallest image any caller accepts.
constexpr std::uint32_t MaxImageSide = 16384;

} // namespace PAL

#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Renderer
{

struct Image;

// An image in main memory, ready for OpenGL as GL_RGBA unsigned bytes: four
// bytes a pixel (red, green, blue, alpha), rows from the bottom of the image
// to the top. Pixel (x, y), y counted from the bottom row, starts at byte
// (y * width + x) * 4.
//
// Loading never fails: a file that can be neither decoded nor read as a raw
// surface gives the 256 x 256 test pattern, so a missing image shows on
// screen instead of stopping the program.
//
// Raw surface file (little-endian, no magic number): format word, width,
// height, pitch (four u32), then width * height * 4 pixel bytes exactly as
// the surface holds them.
class Surface : public Core::Object
{
public:
    static constexpr std::uint32_t PatternSize = 256;

    // width x height zero pixels; pitch width * 4.
    Surface(std::uint32_t width, std::uint32_t height, std::uint32_t format = 0);
    // ".PNG", ".BMP" and ".JPG" names (any case) are decoded; a name the
    // decoder does not take, or a file it cannot decode, is read as a raw
    // surface. A raw file whose header announces more pixels than the file
    // holds, or an empty image, is refused like a missing file: the pattern.
    explicit Surface(const std::string& fileName);
    Surface(const Surface&) = default;
    Surface& operator=(const Surface&) = delete;

    Surface* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;

    // Decodes a PNG, BMP or JPG file into this surface; false (the surface
    // as it was) for another name or a file that does not decode.
    bool LoadImageFile(const std::string& fileName);

    // A decoded image (rows from the top) as a surface (rows from the
    // bottom). A fully transparent pixel takes the mean colour, each channel
    // truncated, of those of its up to eight neighbours in the image that are
    // not fully transparent, and keeps alpha 0; with no such neighbour it
    // keeps its own colour. This keeps filtered edges of cut-outs from
    // bleeding dark fringes.
    static Core::RefPtr<Surface> FromImage(const Image& image);
    // The same, taking the image's pixels over instead of copying them.
    static Core::RefPtr<Surface> FromImage(Image&& image);

    // The level chain of an image file for a texture. The base level is the
    // image's size, each side replaced by its nearest power of two unless
    // `nonPowerOfTwo`, then limited to `maximumSize`; level i halves the base
    // i times (rounded down, at least 1). Without mipmaps only level 0 is
    // made; with them the chain ends with the level that is 1 x 1. The base
    // level is the image resampled to its size, and each level below is
    // averaged down from the one above (see `BuildMipLevels`); every level
    // then passes through `FromImage`. `imageWidth`/`imageHeight`
    // get the image's own size. False, with nothing changed, for a file the
    // decoder does not take.
    static bool LoadImageLevels(const std::string& fileName, bool mipmaps, bool nonPowerOfTwo,
                                std::uint32_t maximumSize, std::uint32_t& imageWidth,
                                std::uint32_t& imageHeight, std::vector<Core::RefPtr<Surface>>& levels);

    std::uint32_t GetWidth() const { return width_; }
    std::uint32_t GetHeight() const { return height_; }
    std::uint32_t GetPitch() const { return pitch_; }
    std::uint32_t GetFormat() const { return format_; }
    std::uint8_t* GetPixels() { return pixels_.data(); }
    const std::uint8_t* GetPixels() const { return pixels_.data(); }
    // Address of pixel (x, y), y from the bottom row; none outside the image.
    const std::uint8_t* GetPixel(std::uint32_t x, std::uint32_t y) const;

private:
    Surface() = default;
    void Assign(Image&& image);
    [[nodiscard]] bool ReadRawFile(const std::string& fileName);
    void MakePattern();

    std::uint32_t format_ = 0;
    std::uint32_t width_ = 0;
    std::uint32_t height_ = 0;
    std::uint32_t pitch_ = 0;
    std::vector<std::uint8_t> pixels_;
};

} // namespace Renderer

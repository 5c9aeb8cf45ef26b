#include "renderer/Renderer_Image.h"

#include "core/Core_String.h"
#include "pal/PAL_FileSystem.h"

#include <stb/stb_image.h>
#include <stb/stb_image_resize.h>

#include <cstdio>
#include <memory>

namespace Renderer
{

namespace
{

// The most pixels one byte of a decodable file can stand for. Deflate packs
// at most about 1032 bytes into one, and a 1-bit PNG holds 8 pixels a byte:
// about 8,300 pixels a byte, with twice that as margin. Uncompressed BMPs
// and JPEGs stay far below. The decoder allocates, and fills, the size the
// header announces before it reads a pixel, and fills what the file lacks
// with zeros: without this bound a 54-byte BMP header announcing 16384 x
// 16384 pixels costs a gigabyte and is reported as a good image.
constexpr std::uint64_t MaxPixelsPerFileByte = 16384;

struct FileCloser
{
    void operator()(std::FILE* stream) const { std::fclose(stream); }
};

} // namespace

bool IsDecodedImageName(const std::string& fileName)
{
    std::string upper = fileName;
    Core::ToUpper(upper);
    return Core::EndsWith(upper, ".PNG") || Core::EndsWith(upper, ".BMP") || Core::EndsWith(upper, ".JPG");
}

bool DecodeImageFile(const std::string& fileName, Image& image)
{
    if (!IsDecodedImageName(fileName))
    {
        return false;
    }
    const std::string path = PAL::ToNativePath(fileName);
    std::unique_ptr<std::FILE, FileCloser> stream(std::fopen(path.c_str(), "rb"));
    if (!stream || std::fseek(stream.get(), 0, SEEK_END) != 0)
    {
        return false;
    }
    const long size = std::ftell(stream.get());
    if (size <= 0 || std::fseek(stream.get(), 0, SEEK_SET) != 0)
    {
        return false;
    }
    int width = 0;
    int height = 0;
    int channels = 0;
    // The header alone first: the size it announces must be one the file
    // can hold before the decoder allocates it.
    if (stbi_info_from_file(stream.get(), &width, &height, &channels) == 0 || width <= 0 || height <= 0 ||
        std::uint64_t(width) * std::uint64_t(height) > std::uint64_t(size) * MaxPixelsPerFileByte)
    {
        return false;
    }
    stbi_uc* pixels = stbi_load_from_file(stream.get(), &width, &height, &channels, 4);
    if (pixels == nullptr)
    {
        return false;
    }
    if (width <= 0 || height <= 0)
    {
        stbi_image_free(pixels);
        return false;
    }
    image.width = static_cast<std::uint32_t>(width);
    image.height = static_cast<std::uint32_t>(height);
    image.rgba.assign(pixels, pixels + std::size_t{image.width} * image.height * 4);
    stbi_image_free(pixels);
    return true;
}

Image ScaleImage(const Image& source, std::uint32_t width, std::uint32_t height)
{
    Image scaled;
    scaled.width = width;
    scaled.height = height;
    if (width == source.width && height == source.height)
    {
        scaled.rgba = source.rgba;
        return scaled;
    }
    scaled.rgba.assign(std::size_t{width} * height * 4, 0);
    if (source.width == 0 || source.height == 0 || width == 0 || height == 0)
    {
        return scaled;
    }
    // Clamped edges: a texture level must not pull colour from the opposite side.
    stbir_resize_uint8_generic(source.rgba.data(), static_cast<int>(source.width),
                               static_cast<int>(source.height), 0, scaled.rgba.data(),
                               static_cast<int>(width), static_cast<int>(height), 0, 4, 3, 0,
                               STBIR_EDGE_CLAMP, STBIR_FILTER_DEFAULT, STBIR_COLORSPACE_LINEAR, nullptr);
    return scaled;
}

} // namespace Renderer

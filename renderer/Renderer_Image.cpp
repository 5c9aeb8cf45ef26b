#include "renderer/Renderer_Image.h"

#include "core/Core_String.h"
#include "pal/PAL_FileSystem.h"
#include "pal/PAL_ImageDecoder.h"

#include <stb/stb_image_resize.h>

#include <cstdio>
#include <memory>
#include <utility>
#include <vector>

namespace Renderer
{

namespace
{

struct FileCloser
{
    void operator()(std::FILE* stream) const { std::fclose(stream); }
};

// No image the program draws comes near this; a larger file is refused
// before it is read.
constexpr long MaxImageFileBytes = 64L << 20;

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
    if (size > MaxImageFileBytes)
    {
        return false;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (std::fread(bytes.data(), 1, bytes.size(), stream.get()) != bytes.size())
    {
        return false;
    }
    PAL::DecodedImage decoded;
    if (!PAL::DecodeImage(bytes.data(), bytes.size(), PAL::MaxImageSide, decoded))
    {
        return false;
    }
    image.width = decoded.width;
    image.height = decoded.height;
    image.rgba = std::move(decoded.rgba);
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

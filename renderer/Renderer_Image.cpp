#include "renderer/Renderer_Image.h"

#include "core/Core_String.h"
#include "pal/PAL_FileSystem.h"

#include <stb/stb_image.h>
#include <stb/stb_image_resize.h>

namespace Renderer
{

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
    int width = 0;
    int height = 0;
    int channels = 0;
    const std::string path = PAL::ToNativePath(fileName);
    stbi_uc* pixels = stbi_load(path.c_str(), &width, &height, &channels, 4);
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

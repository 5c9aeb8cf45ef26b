#pragma once

#include "core/Core_Object.h"

#include <cstdint>
#include <string>

namespace Renderer
{

// An image the renderer can bind to a texture unit. Callers obtain textures
// from the texture cache and hold them by counted reference.
class ITexture : public Core::Object
{
public:
    // Image size in pixels: the size of the loaded image, which may differ
    // from the size uploaded to the graphics library.
    virtual std::uint32_t GetWidth() const = 0;
    virtual std::uint32_t GetHeight() const = 0;
    // Always 0.
    virtual std::uint32_t GetFormat() const = 0;
    // 1 = two-dimensional.
    virtual std::uint32_t GetType() const = 0;
    virtual std::uint32_t GetGLName() const = 0;
    // Loads the image file again into a new texture name.
    virtual void Reload() = 0;
    // Deletes the graphics-library texture; the object stays.
    virtual void DeleteGLTexture() = 0;
    virtual bool HasMipmaps() const = 0;
    // The image file name the texture was made from.
    virtual std::string GetName() const = 0;
};

} // namespace Renderer

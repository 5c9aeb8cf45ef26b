#pragma once

#include "core/Core_RefPtr.h"
#include "renderer/Renderer_ITexture.h"
#include "renderer/Renderer_Surface.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Renderer
{

// A two-dimensional OpenGL texture made from an image file. Obtain textures
// through `LoadTexture` (Renderer_TextureCache.h), which shares one texture
// per file name.
//
// PNG, BMP and JPG files are decoded and uploaded as a level chain (see
// `Surface::LoadImageLevels`); any other file is read as a surface (raw, or
// the test pattern when it cannot be read) and uploaded from that one image,
// through GLU: with mipmaps all levels are built, without them a size the
// library does not take is scaled to the nearest powers of two, limited to
// the maximum texture size. Width and height are always the image's own.
//
// OpenGL work happens only while an `OGLRenderer` context is current:
// without one a texture still reads its image (and so knows its size) but
// has no OpenGL texture (name 0); `Reload` makes one later.
class TextureOGL : public ITexture
{
public:
    TextureOGL(const std::string& fileName, bool mipmaps);
    TextureOGL(const TextureOGL&) = delete;
    TextureOGL& operator=(const TextureOGL&) = delete;
    // Leaves the cache and deletes the OpenGL texture.
    ~TextureOGL() override;

    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;

    std::uint32_t GetWidth() const override { return width_; }
    std::uint32_t GetHeight() const override { return height_; }
    std::uint32_t GetFormat() const override { return format_; }
    std::uint32_t GetType() const override { return 1; }
    std::uint32_t GetGLName() const override { return glName_; }
    // Deletes the current OpenGL texture and loads the file again into a
    // new one, with the mipmap choice the texture was made with.
    void Reload() override;
    void DeleteGLTexture() override;
    bool HasMipmaps() const override { return hasMipmaps_; }
    std::string GetName() const override { return name_; }

    // The decoded path: the level chain of a PNG, BMP or JPG file, uploaded
    // level by level. False (width, height and format 0) for another file.
    bool LoadImageLevels(const std::string& fileName, bool mipmaps, bool nonPowerOfTwo,
                         std::uint32_t maximumSize);

    // Scales every texture loaded from now on to powers of two, as a driver
    // without non-power-of-two textures needs; false goes back to asking the
    // driver. For tests: every driver the game meets takes any size.
    static void SetPowerOfTwoOnly(bool powerOfTwoOnly);

private:
    friend class TextureCache;

    void Load();
    void UploadImage(const Surface& image, bool nonPowerOfTwo, std::uint32_t maximumSize);
    void UploadLevels(const std::vector<Core::RefPtr<Surface>>& levels);
    // A new OpenGL name bound to the two-dimensional target with unpack
    // alignment 1; `upload` fills it; then the alignment and the former
    // binding come back.
    template <class Upload> void MakeGLTexture(Upload upload);

    std::uint32_t width_ = 0;
    std::uint32_t height_ = 0;
    std::uint32_t glName_ = 0;
    std::uint32_t format_ = 0;
    std::string name_;
    bool mipmapChoice_ = false;
    bool hasMipmaps_ = false;
};

} // namespace Renderer

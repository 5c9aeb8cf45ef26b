#include "renderer/Renderer_TextureOGL.h"

#include "renderer/Renderer_OGLRenderer.h"
#include "renderer/Renderer_PowerOfTwo.h"
#include "renderer/Renderer_TextureCache.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <limits>

namespace Renderer
{

namespace
{

bool g_powerOfTwoOnly = false;

bool HasContext()
{
    return OGLRenderer::GetCurrent() != nullptr;
}

} // namespace

void TextureOGL::SetPowerOfTwoOnly(bool powerOfTwoOnly)
{
    g_powerOfTwoOnly = powerOfTwoOnly;
}

TextureOGL::TextureOGL(const std::string& fileName, bool mipmaps) : name_(fileName), mipmapChoice_(mipmaps)
{
    Load();
    TextureCache::GetInstance().Add(this);
}

TextureOGL::~TextureOGL()
{
    TextureCache::GetInstance().Remove(this);
    DeleteGLTexture();
}

const char* TextureOGL::GetClassName() const
{
    return "Renderer::TextureOGL";
}

std::uint32_t TextureOGL::GetSize() const
{
    return sizeof(TextureOGL);
}

void TextureOGL::Reload()
{
    // The old texture would otherwise stay allocated with nothing naming it.
    DeleteGLTexture();
    Load();
}

void TextureOGL::DeleteGLTexture()
{
    if (glName_ != 0 && HasContext())
    {
        const GLuint name = glName_;
        glDeleteTextures(1, &name);
    }
    glName_ = 0;
}

void TextureOGL::Load()
{
    const bool context = HasContext();
    GLint maximum = 0;
    if (context)
    {
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maximum);
    }
    const std::uint32_t maximumSize =
        maximum > 0 ? static_cast<std::uint32_t>(maximum) : std::numeric_limits<std::uint32_t>::max();
    const bool nonPowerOfTwo =
        !g_powerOfTwoOnly && (!context || HasExtension("GL_ARB_texture_non_power_of_two"));
    hasMipmaps_ = mipmapChoice_;

    // Without a context only the size is wanted: no level below the first.
    if (LoadImageLevels(name_, mipmapChoice_ && context, nonPowerOfTwo, maximumSize))
    {
        hasMipmaps_ = mipmapChoice_;
        return;
    }
    const Surface image(name_);
    UploadImage(image, nonPowerOfTwo, maximumSize);
}

bool TextureOGL::LoadImageLevels(const std::string& fileName, bool mipmaps, bool nonPowerOfTwo,
                                 std::uint32_t maximumSize)
{
    width_ = 0;
    height_ = 0;
    format_ = 0;
    std::vector<Core::RefPtr<Surface>> levels;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    if (!Surface::LoadImageLevels(fileName, mipmaps, nonPowerOfTwo, maximumSize, width, height, levels))
    {
        return false;
    }
    width_ = width;
    height_ = height;
    UploadLevels(levels);
    return true;
}

template <class Upload> void TextureOGL::MakeGLTexture(Upload upload)
{
    if (!HasContext())
    {
        return;
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glName_ = name;
    GLint alignment = 4;
    GLint former = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &former);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glBindTexture(GL_TEXTURE_2D, name);
    upload();
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    // The renderer's record of what is bound stays true.
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(former));
}

void TextureOGL::UploadLevels(const std::vector<Core::RefPtr<Surface>>& levels)
{
    MakeGLTexture(
        [&levels]
        {
            for (std::size_t level = 0; level < levels.size(); ++level)
            {
                const Surface& image = *levels[level];
                glTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), GL_RGBA,
                             static_cast<GLsizei>(image.GetWidth()), static_cast<GLsizei>(image.GetHeight()),
                             0, GL_RGBA, GL_UNSIGNED_BYTE, image.GetPixels());
            }
        });
}

void TextureOGL::UploadImage(const Surface& image, bool nonPowerOfTwo, std::uint32_t maximumSize)
{
    width_ = image.GetWidth();
    height_ = image.GetHeight();
    format_ = image.GetFormat();
    hasMipmaps_ = mipmapChoice_;
    const auto width = static_cast<GLsizei>(width_);
    const auto height = static_cast<GLsizei>(height_);
    MakeGLTexture(
        [&]
        {
            if (mipmapChoice_)
            {
                gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, width, height, GL_RGBA, GL_UNSIGNED_BYTE,
                                  image.GetPixels());
                return;
            }
            std::uint32_t uploadWidth = width_;
            std::uint32_t uploadHeight = height_;
            UploadSize(uploadWidth, uploadHeight, nonPowerOfTwo, maximumSize);
            if (uploadWidth == width_ && uploadHeight == height_)
            {
                glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                             image.GetPixels());
                return;
            }
            std::vector<std::uint8_t> scaled(std::size_t{uploadWidth} * uploadHeight * 4);
            gluScaleImage(GL_RGBA, width, height, GL_UNSIGNED_BYTE, image.GetPixels(),
                          static_cast<GLint>(uploadWidth), static_cast<GLint>(uploadHeight), GL_UNSIGNED_BYTE,
                          scaled.data());
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, static_cast<GLsizei>(uploadWidth),
                         static_cast<GLsizei>(uploadHeight), 0, GL_RGBA, GL_UNSIGNED_BYTE, scaled.data());
        });
}

} // namespace Renderer

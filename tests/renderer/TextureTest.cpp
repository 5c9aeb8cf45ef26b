#include "renderer/Renderer_OGLRenderer.h"
#include "renderer/Renderer_PowerOfTwo.h"
#include "renderer/Renderer_TextureCache.h"

#include "GLTestSupport.h"
#include "ImageFiles.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

using Renderer::LoadTexture;
using Renderer::TextureCache;
using Renderer::TextureOGL;
using RendererTest::Rgba;
using RendererTest::TempDirectory;

TEST(PowerOfTwoTest, NextPreviousAndNearest)
{
    struct Case
    {
        std::uint32_t value;
        std::uint32_t next;
        std::uint32_t previous;
        std::uint32_t nearest;
    };
    const Case cases[] = {
        {0, 1, 1, 1},
        {1, 2, 1, 1},
        {2, 4, 1, 2},
        {3, 4, 2, 4}, // a tie goes up
        {40, 64, 32, 32},
        {48, 64, 32, 64}, // 16 above, 16 below
        {60, 64, 32, 64},
        {64, 128, 32, 64},
        {100, 128, 64, 128},
        {200, 256, 128, 256},
        {300, 512, 256, 256},
        {0x80000000u, 0x80000000u, 0x40000000u, 0x80000000u},
        {0xFFFFFFFFu, 0x80000000u, 0x80000000u, 0x80000000u},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(Renderer::NextPowerOfTwo(c.value), c.next) << c.value;
        EXPECT_EQ(Renderer::PreviousPowerOfTwo(c.value), c.previous) << c.value;
        EXPECT_EQ(Renderer::NearestPowerOfTwo(c.value), c.nearest) << c.value;
    }
    EXPECT_TRUE(Renderer::IsPowerOfTwo(1));
    EXPECT_FALSE(Renderer::IsPowerOfTwo(0));
    EXPECT_FALSE(Renderer::IsPowerOfTwo(96));

    // A single image: unchanged when the driver takes it, else rounded and
    // limited; a power-of-two side above the maximum is clamped.
    const struct
    {
        std::uint32_t width, height;
        bool nonPowerOfTwo;
        std::uint32_t maximum;
        std::uint32_t uploadWidth, uploadHeight;
    } uploads[] = {
        {100, 60, true, 1024, 100, 60},    {100, 60, false, 1024, 128, 64},  {64, 32, false, 1024, 64, 32},
        {2048, 16, false, 1024, 1024, 16}, {2000, 60, true, 1024, 1024, 64}, {48, 40, false, 1024, 64, 32},
    };
    for (const auto& u : uploads)
    {
        std::uint32_t width = u.width;
        std::uint32_t height = u.height;
        Renderer::UploadSize(width, height, u.nonPowerOfTwo, u.maximum);
        EXPECT_EQ(width, u.uploadWidth) << u.width << " x " << u.height;
        EXPECT_EQ(height, u.uploadHeight) << u.width << " x " << u.height;
    }
}

TEST(TextureTest, WithoutARendererATextureKnowsItsImageButHasNoOpenGLTexture)
{
    ASSERT_EQ(Renderer::OGLRenderer::GetCurrent(), nullptr);
    TempDirectory directory;
    const std::string path = directory.File("alone.png");
    ASSERT_TRUE(RendererTest::WritePng(path, 3, 5, RendererTest::Solid(3, 5, {1, 2, 3, 255})));
    const Core::RefPtr<TextureOGL> texture = LoadTexture(path, true);
    EXPECT_EQ(texture->GetWidth(), 3u);
    EXPECT_EQ(texture->GetHeight(), 5u);
    EXPECT_EQ(texture->GetGLName(), 0u);
    EXPECT_EQ(texture->GetName(), path);
    EXPECT_EQ(texture->GetType(), 1u);
    EXPECT_EQ(texture->GetFormat(), 0u);
    EXPECT_TRUE(texture->HasMipmaps());
    EXPECT_EQ(LoadTexture(path, false).Get(), texture.Get());

    const Core::RefPtr<TextureOGL> missing = LoadTexture(directory.File("missing.bmp"), false);
    EXPECT_EQ(missing->GetWidth(), 256u);
    EXPECT_EQ(missing->GetHeight(), 256u);
}

class TextureDisplayTest : public RendererTest::GLDisplayTest
{
protected:
    void TearDown() override
    {
        TextureOGL::SetPowerOfTwoOnly(false);
        GLDisplayTest::TearDown();
    }

    // The size OpenGL holds for one level of a texture.
    static std::pair<GLint, GLint> LevelSize(const TextureOGL& texture, GLint level)
    {
        GLint width = 0;
        GLint height = 0;
        glBindTexture(GL_TEXTURE_2D, texture.GetGLName());
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &height);
        glBindTexture(GL_TEXTURE_2D, 0);
        return {width, height};
    }

    static std::vector<std::uint8_t> LevelPixels(const TextureOGL& texture, std::size_t count)
    {
        std::vector<std::uint8_t> pixels(count * 4, 0);
        glBindTexture(GL_TEXTURE_2D, texture.GetGLName());
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glBindTexture(GL_TEXTURE_2D, 0);
        return pixels;
    }
};

TEST_F(TextureDisplayTest, OneTexturePerNameWhileItIsHeld)
{
    TempDirectory directory;
    const std::string path = directory.File("shared.png");
    ASSERT_TRUE(RendererTest::WritePng(path, 2, 1, {{255, 0, 0, 255}, {0, 0, 0, 0}}));
    TextureCache& cache = TextureCache::GetInstance();
    ASSERT_EQ(cache.GetTextureCount(), 0u);
    {
        const Core::RefPtr<TextureOGL> first = LoadTexture(path, false);
        const Core::RefPtr<TextureOGL> second = LoadTexture(path, false);
        // The mipmap choice is no part of the lookup.
        const Core::RefPtr<TextureOGL> third = LoadTexture(path, true);
        EXPECT_EQ(first.Get(), second.Get());
        EXPECT_EQ(first.Get(), third.Get());
        EXPECT_FALSE(first->HasMipmaps());
        EXPECT_EQ(cache.GetTextureCount(), 1u);
        EXPECT_EQ(cache.Find(path), first.Get());
        EXPECT_NE(first->GetGLName(), 0u);
        // The decoded image reaches OpenGL as it is, transparent pixel included.
        EXPECT_EQ(LevelPixels(*first, 2), (std::vector<std::uint8_t>{255, 0, 0, 255, 255, 0, 0, 0}));

        // Another texture of the same name made directly does not take the
        // cached one's name with it when it goes.
        {
            const Core::RefPtr<TextureOGL> stray(new TextureOGL(path, false));
            EXPECT_EQ(cache.GetTextureCount(), 2u);
        }
        EXPECT_EQ(cache.Find(path), first.Get());
    }
    EXPECT_EQ(cache.GetTextureCount(), 0u);
    EXPECT_EQ(cache.Find(path), nullptr);
    const Core::RefPtr<TextureOGL> again = LoadTexture(path, false);
    EXPECT_EQ(cache.GetTextureCount(), 1u);
    EXPECT_EQ(cache.Find(path), again.Get());
}

TEST_F(TextureDisplayTest, PowerOfTwoOnlyScalesTheUploadButNotTheReportedSize)
{
    TempDirectory directory;
    const std::string png = directory.File("odd.png");
    const std::string raw = directory.File("odd.raw");
    ASSERT_TRUE(RendererTest::WritePng(png, 100, 60, RendererTest::Solid(100, 60, {9, 99, 199, 255})));
    ASSERT_TRUE(RendererTest::WriteRaw(
        raw, 0, 100, 60, 400, RendererTest::Flatten(RendererTest::Solid(100, 60, {9, 99, 199, 255}))));

    // Mesa takes any size: stored as it is.
    const Core::RefPtr<TextureOGL> native = LoadTexture(png, false);
    EXPECT_EQ(LevelSize(*native, 0), (std::pair<GLint, GLint>{100, 60}));

    TextureOGL::SetPowerOfTwoOnly(true);
    // The decoded path (level chain) and the single-image path (GLU scaling).
    for (const std::string& path : {png, raw})
    {
        const Core::RefPtr<TextureOGL> texture(new TextureOGL(path, false));
        EXPECT_EQ(texture->GetWidth(), 100u) << path;
        EXPECT_EQ(texture->GetHeight(), 60u) << path;
        EXPECT_FALSE(texture->HasMipmaps()) << path;
        EXPECT_EQ(LevelSize(*texture, 0), (std::pair<GLint, GLint>{128, 64})) << path;
        const std::vector<std::uint8_t> pixels = LevelPixels(*texture, 128 * 64);
        EXPECT_EQ((Rgba{pixels[0], pixels[1], pixels[2], pixels[3]}), (Rgba{9, 99, 199, 255})) << path;
    }

    // With mipmaps, both paths build the chain down to 1 x 1.
    const std::string big = directory.File("big.png");
    ASSERT_TRUE(RendererTest::WritePng(big, 300, 200, RendererTest::Solid(300, 200, {1, 2, 3, 255})));
    for (const std::string& path : {big, raw})
    {
        const Core::RefPtr<TextureOGL> texture(new TextureOGL(path, true));
        EXPECT_TRUE(texture->HasMipmaps()) << path;
        const std::pair<GLint, GLint> base = LevelSize(*texture, 0);
        EXPECT_TRUE(Renderer::IsPowerOfTwo(static_cast<std::uint32_t>(base.first))) << path;
        int levels = 0;
        while (LevelSize(*texture, levels).first != 0)
        {
            ++levels;
        }
        EXPECT_EQ(LevelSize(*texture, levels - 1), (std::pair<GLint, GLint>{1, 1})) << path;
    }
    const Core::RefPtr<TextureOGL> chain(new TextureOGL(big, true));
    EXPECT_EQ(LevelSize(*chain, 0), (std::pair<GLint, GLint>{256, 256}));
    EXPECT_EQ(LevelSize(*chain, 8), (std::pair<GLint, GLint>{1, 1}));
    EXPECT_EQ(LevelSize(*chain, 9).first, 0);
}

TEST_F(TextureDisplayTest, MissingFileShowsThePatternAndReloadReplacesTheTexture)
{
    TempDirectory directory;
    const Core::RefPtr<TextureOGL> texture = LoadTexture(directory.File("missing.png"), false);
    ASSERT_EQ(texture->GetWidth(), 256u);
    ASSERT_EQ(texture->GetHeight(), 256u);
    const std::vector<std::uint8_t> pixels = LevelPixels(*texture, 256 * 256);
    const std::uint8_t* texel = pixels.data() + (3 * 256 + 5) * 4;
    EXPECT_EQ((Rgba{texel[0], texel[1], texel[2], texel[3]}), (Rgba{6, 6, 6, 255}));

    const GLuint old = texture->GetGLName();
    texture->Reload();
    EXPECT_NE(texture->GetGLName(), 0u);
    EXPECT_FALSE(glIsTexture(old) && old != texture->GetGLName());
    texture->DeleteGLTexture();
    EXPECT_EQ(texture->GetGLName(), 0u);
    EXPECT_EQ(texture->GetWidth(), 256u);
}

TEST_F(TextureDisplayTest, TexturesOutlivingTheRendererLoseTheirOpenGLNames)
{
    TempDirectory directory;
    const std::string path = directory.File("kept.png");
    ASSERT_TRUE(RendererTest::WritePng(path, 4, 4, RendererTest::Solid(4, 4, {5, 5, 5, 255})));
    const Core::RefPtr<TextureOGL> kept = LoadTexture(path, false);
    renderer->SetTexture(0, kept);
    // Bound only by the renderer: goes with it.
    renderer->SetTexture(1, LoadTexture(directory.File("other.tga"), false));
    EXPECT_EQ(TextureCache::GetInstance().GetTextureCount(), 2u);
    EXPECT_NE(kept->GetGLName(), 0u);

    renderer.Reset();
    EXPECT_EQ(Renderer::OGLRenderer::GetCurrent(), nullptr);
    EXPECT_EQ(TextureCache::GetInstance().GetTextureCount(), 1u);
    EXPECT_EQ(kept->GetGLName(), 0u);
    EXPECT_EQ(kept->GetWidth(), 4u);
    kept->DeleteGLTexture();
}

} // namespace

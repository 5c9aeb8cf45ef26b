#include "pal/PAL_Icon.h"

#include "IconBuilder.h"

#include <gtest/gtest.h>
#include <stb/stb_image_write.h>

#include <cstdio>
#include <vector>

namespace
{

using IconBuilder::Bytes;

struct Rgba
{
    int r, g, b, a;
};

Rgba PixelAt(const PAL::IconImage& image, int x, int y)
{
    const std::size_t i = (static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) + x) * 4;
    return {image.rgba[i], image.rgba[i + 1], image.rgba[i + 2], image.rgba[i + 3]};
}

void ExpectPixel(const PAL::IconImage& image, int x, int y, Rgba want)
{
    const Rgba got = PixelAt(image, x, y);
    EXPECT_EQ(got.r, want.r) << x << "," << y;
    EXPECT_EQ(got.g, want.g) << x << "," << y;
    EXPECT_EQ(got.b, want.b) << x << "," << y;
    EXPECT_EQ(got.a, want.a) << x << "," << y;
}

TEST(Icon, PalettedBitmapTakesItsAlphaFromTheMask)
{
    const Bytes ico = IconBuilder::Ico({{2, 2, 8, IconBuilder::PalettedBitmap()}});
    PAL::IconImage image;
    ASSERT_TRUE(PAL::DecodeIcon(ico.data(), ico.size(), image));
    ASSERT_EQ(image.width, 2);
    ASSERT_EQ(image.height, 2);
    ExpectPixel(image, 0, 0, {255, 0, 0, 0});
    ExpectPixel(image, 1, 0, {0, 0, 255, 255});
    ExpectPixel(image, 0, 1, {0, 0, 255, 255});
    ExpectPixel(image, 1, 1, {255, 0, 0, 255});
}

TEST(Icon, TrueColourBitmapKeepsItsOwnAlpha)
{
    // BGRA per pixel; the mask says "opaque" but the alpha channel rules.
    const Bytes bitmap = IconBuilder::Bitmap(
        3, 1, 32, {}, {{10, 20, 30, 0, 40, 50, 60, 128, 70, 80, 90, 255}}, {{true, false, false}});
    const Bytes ico = IconBuilder::Ico({{3, 1, 32, bitmap}});
    PAL::IconImage image;
    ASSERT_TRUE(PAL::DecodeIcon(ico.data(), ico.size(), image));
    ASSERT_EQ(image.width, 3);
    ASSERT_EQ(image.height, 1);
    ExpectPixel(image, 0, 0, {30, 20, 10, 0});
    ExpectPixel(image, 1, 0, {60, 50, 40, 128});
    ExpectPixel(image, 2, 0, {90, 80, 70, 255});
}

void AppendBytes(void* context, void* data, int size)
{
    auto* out = static_cast<Bytes*>(context);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

TEST(Icon, LargestEntryWinsAndPngEntriesDecode)
{
    Bytes png;
    std::uint8_t pixels[4 * 4 * 4];
    for (int i = 0; i < 16; ++i)
    {
        pixels[i * 4] = static_cast<std::uint8_t>(i * 16);
        pixels[i * 4 + 1] = 7;
        pixels[i * 4 + 2] = 200;
        pixels[i * 4 + 3] = 255;
    }
    ASSERT_NE(stbi_write_png_to_func(&AppendBytes, &png, 4, 4, 4, pixels, 16), 0);
    const Bytes ico = IconBuilder::Ico({{2, 2, 8, IconBuilder::PalettedBitmap()}, {4, 4, 32, png}});
    PAL::IconImage image;
    ASSERT_TRUE(PAL::DecodeIcon(ico.data(), ico.size(), image));
    ASSERT_EQ(image.width, 4);
    ASSERT_EQ(image.height, 4);
    ExpectPixel(image, 3, 2, {11 * 16, 7, 200, 255});
}

TEST(Icon, PngEntriesLargerThanAnIconAreRefused)
{
    // Small files: a compressed image may claim far more pixels than it has
    // bytes, so the size is judged before anything is decoded.
    const std::vector<std::uint8_t> pixels(2048, 255);
    const int sizes[][2] = {{2048, 1}, {1, 2048}};
    for (const auto& size : sizes)
    {
        Bytes png;
        ASSERT_NE(stbi_write_png_to_func(&AppendBytes, &png, size[0], size[1], 1, pixels.data(), size[0]), 0);
        const Bytes ico = IconBuilder::Ico({{0, 0, 8, png}});
        PAL::IconImage image;
        EXPECT_FALSE(PAL::DecodeIcon(ico.data(), ico.size(), image)) << size[0] << "x" << size[1];
        EXPECT_EQ(image.width, 0);
    }
}

TEST(Icon, DamagedFilesAreRefused)
{
    const Bytes good = IconBuilder::Ico({{2, 2, 8, IconBuilder::PalettedBitmap()}});
    struct Case
    {
        const char* what;
        std::size_t at; // byte to change, or the size to cut to
        int value;      // -1: cut
    };
    const Case cases[] = {
        {"header only", 6, -1},
        {"cut inside the bitmap", good.size() - 20, -1},
        {"reserved word set", 0, 1},
        {"not an icon (cursor)", 2, 2},
        {"no entries", 4, 0},
        {"more entries than the file holds", 4, 200},
        {"offset past the end", 6 + 12 + 1, 0x7F},
        {"size past the end", 6 + 8 + 1, 0x7F},
        {"bitmap header size past the payload", 22 + 1, 0x7F},
        {"odd doubled height", 22 + 8, 3},
    };
    for (const Case& c : cases)
    {
        Bytes ico = good;
        if (c.value < 0)
        {
            ico.resize(c.at);
        }
        else
        {
            ico[c.at] = static_cast<std::uint8_t>(c.value);
        }
        PAL::IconImage image;
        EXPECT_FALSE(PAL::DecodeIcon(ico.data(), ico.size(), image)) << c.what;
        EXPECT_EQ(image.width, 0) << c.what;
    }
    PAL::IconImage image;
    EXPECT_FALSE(PAL::DecodeIcon(nullptr, 0, image));
    EXPECT_FALSE(PAL::ReadIconFile("/nonexistent/brillow/icon.ico", image));
}

} // namespace

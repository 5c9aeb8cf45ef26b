#include "pal/PAL_ImageDecoder.h"

#include <gtest/gtest.h>
#include <stb/stb_image_write.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace
{

using Bytes = std::vector<std::uint8_t>;

void Append(void* context, void* data, int size)
{
    auto* bytes = static_cast<Bytes*>(context);
    bytes->insert(bytes->end(), static_cast<std::uint8_t*>(data), static_cast<std::uint8_t*>(data) + size);
}

// A 16 x 8 image whose pixels tell their place.
Bytes Pixels(int channels)
{
    Bytes pixels(16 * 8 * static_cast<std::size_t>(channels));
    for (std::size_t i = 0; i < pixels.size(); ++i)
    {
        pixels[i] = static_cast<std::uint8_t>(i * 7);
    }
    return pixels;
}

Bytes Png()
{
    Bytes bytes;
    stbi_write_png_to_func(&Append, &bytes, 16, 8, 4, Pixels(4).data(), 16 * 4);
    return bytes;
}

Bytes Bmp()
{
    Bytes bytes;
    stbi_write_bmp_to_func(&Append, &bytes, 16, 8, 3, Pixels(3).data());
    return bytes;
}

// Quality 80 subsamples the colour: the luma component is sampled 2 x 2.
Bytes Jpeg()
{
    Bytes bytes;
    stbi_write_jpg_to_func(&Append, &bytes, 16, 8, 3, Pixels(3).data(), 80);
    return bytes;
}

// The offset of the first marker `code` (the 0xFF before it).
std::size_t Marker(const Bytes& bytes, std::uint8_t code)
{
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i)
    {
        if (bytes[i] == 0xFF && bytes[i + 1] == code)
        {
            return i;
        }
    }
    ADD_FAILURE() << "no marker " << int{code};
    return 0;
}

void Put32Big(Bytes& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
    {
        bytes[at + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
    }
}

TEST(ImageDecoder, DecodesTheThreeFormatsByTheirContent)
{
    const struct
    {
        const char* name;
        Bytes bytes;
        PAL::ImageFormat format;
    } cases[] = {{"png", Png(), PAL::ImageFormat::Png},
                 {"bmp", Bmp(), PAL::ImageFormat::Bmp},
                 {"jpeg", Jpeg(), PAL::ImageFormat::Jpeg}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PAL::SniffImageFormat(c.bytes.data(), c.bytes.size()), c.format);
        PAL::DecodedImage image;
        ASSERT_TRUE(PAL::DecodeImage(c.bytes.data(), c.bytes.size(), 16, image));
        EXPECT_EQ(image.width, 16u);
        EXPECT_EQ(image.height, 8u);
        EXPECT_EQ(image.rgba.size(), 16u * 8u * 4u);
        // A side above the caller's limit is refused.
        EXPECT_FALSE(PAL::DecodeImage(c.bytes.data(), c.bytes.size(), 15, image));
    }
    PAL::DecodedImage image;
    const Bytes png = Png();
    ASSERT_TRUE(PAL::DecodeImage(png.data(), png.size(), 16, image));
    EXPECT_EQ(image.rgba, Pixels(4));
}

// Each case damages a good file in one place; the decoder must never see it
// and the image handed in stays as it was.
TEST(ImageDecoder, RefusesDamagedFilesBeforeDecoding)
{
    struct Case
    {
        const char* name;
        std::function<Bytes()> make;
    };
    const Case cases[] = {
        {"no known signature", [] { return Bytes{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 16, 0, 8, 0, 32, 0}; }},
        {"png side past the limit",
         []
         {
             Bytes b = Png();
             Put32Big(b, 16, 20000);
             return b;
         }},
        {"png more pixels than its bytes can hold",
         []
         {
             Bytes b = Png();
             Put32Big(b, 16, 16384);
             Put32Big(b, 20, 16384);
             return b;
         }},
        {"png cut inside its data",
         []
         {
             Bytes b = Png();
             b.resize(b.size() - 20);
             return b;
         }},
        {"png unknown critical chunk",
         []
         {
             Bytes b = Png();
             b[b.size() - 5] = 'X'; // IEND -> IENX
             return b;
         }},
        {"bmp rows past the end",
         []
         {
             Bytes b = Bmp();
             b.resize(b.size() - 4);
             return b;
         }},
        {"bmp run-length coded",
         []
         {
             Bytes b = Bmp();
             b[30] = 1;
             return b;
         }},
        {"bmp depth of 2 bits",
         []
         {
             Bytes b = Bmp();
             b[28] = 2;
             return b;
         }},
        {"jpeg scan names an undefined Huffman table",
         []
         {
             Bytes b = Jpeg();
             b[Marker(b, 0xDA) + 6] = 0x33;
             return b;
         }},
        {"jpeg over-full code lengths",
         []
         {
             Bytes b = Jpeg();
             b[Marker(b, 0xC4) + 5] = 3; // three 1-bit codes
             return b;
         }},
        {"jpeg sampling factors that do not divide",
         []
         {
             Bytes b = Jpeg();
             const std::size_t frame = Marker(b, 0xC0);
             b[frame + 11] = 0x32;
             b[frame + 14] = 0x22;
             return b;
         }},
        {"jpeg cut before its scan",
         []
         {
             Bytes b = Jpeg();
             b.resize(Marker(b, 0xDA) + 3);
             return b;
         }},
        {"jpeg arithmetic coding",
         []
         {
             Bytes b = Jpeg();
             b[Marker(b, 0xC0) + 1] = 0xC9;
             return b;
         }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const Bytes bytes = c.make();
        PAL::DecodedImage image;
        image.width = 7;
        image.rgba = {1, 2, 3};
        EXPECT_FALSE(PAL::DecodeImage(bytes.data(), bytes.size(), PAL::MaxImageSide, image));
        EXPECT_EQ(image.width, 7u);
        EXPECT_EQ(image.rgba, (Bytes{1, 2, 3}));
    }
    PAL::DecodedImage image;
    EXPECT_FALSE(PAL::DecodeImage(nullptr, 0, PAL::MaxImageSide, image));
}

} // namespace

#include "renderer/Renderer_Image.h"
#include "renderer/Renderer_Surface.h"

#include "ImageFiles.h"

#include <gtest/gtest.h>

#include <utility>

namespace
{

using Renderer::Surface;
using RendererTest::Rgba;
using RendererTest::TempDirectory;

Rgba PixelAt(const Surface& surface, std::uint32_t x, std::uint32_t y)
{
    const std::uint8_t* pixel = surface.GetPixel(x, y);
    EXPECT_NE(pixel, nullptr) << x << ", " << y;
    return pixel != nullptr ? Rgba{pixel[0], pixel[1], pixel[2], pixel[3]} : Rgba{};
}

void ExpectPattern(const Surface& surface)
{
    ASSERT_EQ(surface.GetWidth(), 256u);
    ASSERT_EQ(surface.GetHeight(), 256u);
    EXPECT_EQ(surface.GetPitch(), 1024u);
    EXPECT_EQ(surface.GetFormat(), 0u);
    // Buffer row 3, column 5: 5 xor 3.
    EXPECT_EQ(PixelAt(surface, 5, 3), (Rgba{6, 6, 6, 255}));
    EXPECT_EQ(PixelAt(surface, 255, 0), (Rgba{255, 255, 255, 255}));
}

TEST(SurfaceTest, TransparentPixelsTakeTheMeanColourOfTheirOpaqueNeighbours)
{
    TempDirectory directory;

    // Opaque red beside transparent black.
    const std::string pair = directory.File("pair.png");
    ASSERT_TRUE(RendererTest::WritePng(pair, 2, 1, {{255, 0, 0, 255}, {0, 0, 0, 0}}));
    const Surface pairSurface(pair);
    ASSERT_EQ(pairSurface.GetWidth(), 2u);
    ASSERT_EQ(pairSurface.GetHeight(), 1u);
    EXPECT_EQ(pairSurface.GetPitch(), 8u);
    EXPECT_EQ(pairSurface.GetFormat(), 0u);
    EXPECT_EQ(PixelAt(pairSurface, 0, 0), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(PixelAt(pairSurface, 1, 0), (Rgba{255, 0, 0, 0}));

    // 3 x 3 with a transparent centre: its opaque neighbours are the four
    // corners (diagonals count) and the right edge; transparent ones lend
    // nothing. Sums 10+21+30+40+50 = 151, 2+3+4+5+6 = 20, 0 -> /5 truncated.
    const std::string grid = directory.File("grid.png");
    ASSERT_TRUE(RendererTest::WritePng(grid, 3, 3,
                                       {{10, 2, 0, 255},
                                        {99, 99, 99, 0},
                                        {21, 3, 0, 255},
                                        {99, 99, 99, 0},
                                        {7, 8, 9, 0},
                                        {30, 4, 0, 128},
                                        {40, 5, 0, 1},
                                        {99, 99, 99, 0},
                                        {50, 6, 0, 255}}));
    const Surface gridSurface(grid);
    EXPECT_EQ(PixelAt(gridSurface, 1, 1), (Rgba{30, 4, 0, 0}));
    // Neighbours are read from the image, not from pixels already filled:
    // the top edge pixel sees the corners, the centre (transparent) and the
    // right edge, not the filled centre.
    EXPECT_EQ(PixelAt(gridSurface, 1, 2), (Rgba{(10 + 21 + 30) / 3, (2 + 3 + 4) / 3, 0, 0}));
}

TEST(SurfaceTest, FullyTransparentImageKeepsItsOwnColours)
{
    TempDirectory directory;
    const std::string path = directory.File("clear.png");
    ASSERT_TRUE(RendererTest::WritePng(path, 2, 1, {{10, 20, 30, 0}, {40, 50, 60, 0}}));
    const Surface surface(path);
    EXPECT_EQ(PixelAt(surface, 0, 0), (Rgba{10, 20, 30, 0}));
    EXPECT_EQ(PixelAt(surface, 1, 0), (Rgba{40, 50, 60, 0}));
}

TEST(SurfaceTest, RowsAreStoredFromTheBottomOfTheImage)
{
    TempDirectory directory;
    const std::vector<Rgba> rows = {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}};
    const std::string png = directory.File("rows.png");
    const std::string bmp = directory.File("rows.BMP");
    const std::string jpg = directory.File("rows.Jpg");
    ASSERT_TRUE(RendererTest::WritePng(png, 1, 3, rows));
    ASSERT_TRUE(RendererTest::WriteBmp(bmp, 1, 3, rows));
    // JPEG blocks blur a one-pixel column: a wide image of solid rows keeps
    // each row's colour near enough.
    std::vector<Rgba> wide;
    for (const Rgba& row : rows)
    {
        for (int i = 0; i < 16 * 8; ++i)
        {
            wide.push_back(row);
        }
    }
    ASSERT_TRUE(RendererTest::WriteJpg(jpg, 16, 24, wide));

    for (const std::string& path : {png, bmp})
    {
        const Surface surface(path);
        ASSERT_EQ(surface.GetHeight(), 3u) << path;
        EXPECT_EQ(PixelAt(surface, 0, 0), (Rgba{0, 0, 255, 255})) << path;
        EXPECT_EQ(PixelAt(surface, 0, 1), (Rgba{0, 255, 0, 255})) << path;
        EXPECT_EQ(PixelAt(surface, 0, 2), (Rgba{255, 0, 0, 255})) << path;
    }
    const Surface surface(jpg);
    ASSERT_EQ(surface.GetWidth(), 16u);
    ASSERT_EQ(surface.GetHeight(), 24u);
    const Rgba bottom = PixelAt(surface, 8, 3);
    const Rgba top = PixelAt(surface, 8, 20);
    EXPECT_GT(bottom[2], 200);
    EXPECT_LT(bottom[0], 60);
    EXPECT_GT(top[0], 200);
    EXPECT_LT(top[2], 60);
    EXPECT_EQ(top[3], 255);
}

TEST(SurfaceTest, OnlyPngBmpAndJpgNamesAreDecoded)
{
    const std::pair<const char*, bool> cases[] = {
        {"a.png", true},        {"A.PNG", true},   {"a.Jpg", true},
        {"dir\\tex.bmp", true}, {"a.jpeg", false}, {"a.tga", false},
        {"a.png.raw", false},   {"png", false},    {"", false},
    };
    for (const auto& [name, decoded] : cases)
    {
        EXPECT_EQ(Renderer::IsDecodedImageName(name), decoded) << name;
    }
}

TEST(SurfaceTest, OtherNamesAndUndecodableFilesAreReadRaw)
{
    TempDirectory directory;
    const std::vector<std::uint8_t> pixels = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                                              13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24};
    // A ".tga" name is never decoded, and a ".png" that is really a raw dump
    // fails to decode and is read raw as well.
    for (const char* name : {"tex.tga", "dump.png"})
    {
        const std::string path = directory.File(name);
        ASSERT_TRUE(RendererTest::WriteRaw(path, 7, 3, 2, 99, pixels));
        const Surface surface(path);
        ASSERT_EQ(surface.GetWidth(), 3u) << name;
        ASSERT_EQ(surface.GetHeight(), 2u) << name;
        EXPECT_EQ(surface.GetFormat(), 7u) << name;
        // The pitch is kept as the file states it.
        EXPECT_EQ(surface.GetPitch(), 99u) << name;
        EXPECT_EQ(std::vector<std::uint8_t>(surface.GetPixels(), surface.GetPixels() + pixels.size()), pixels)
            << name;
    }
}

TEST(SurfaceTest, UnreadableFilesGiveTheTestPattern)
{
    TempDirectory directory;
    const auto raw =
        [&directory](const char* name, std::uint32_t width, std::uint32_t height, std::size_t bytes)
    {
        const std::string path = directory.File(name);
        EXPECT_TRUE(
            RendererTest::WriteRaw(path, 0, width, height, width * 4, std::vector<std::uint8_t>(bytes, 9)));
        return path;
    };
    const std::string cases[] = {
        directory.File("missing.png"),
        directory.File("missing.tga"),
        std::string(),
        directory.File(""), // a directory opens but does not read
        // The header announces more pixels than the file holds.
        raw("short.raw", 100, 100, 10),
        raw("onebyteshort.raw", 2, 2, 15),
        // width x height x 4 does not fit in 32 bits.
        raw("huge.raw", 0x10000, 0x10000, 16),
        // width x height x 4 = 2^64 + 64: wrapped, it would ask for only
        // the 64 bytes the file holds.
        raw("wrapping.raw", 4u * 536903681u, 4u * 536838145u, 64),
        raw("empty.raw", 0, 5, 0),
    };
    for (const std::string& name : cases)
    {
        SCOPED_TRACE(name);
        ExpectPattern(Surface(name));
    }
    // Shorter than the header.
    const std::string stub = directory.File("stub.raw");
    ASSERT_TRUE(RendererTest::WriteBytes(stub, {1, 2, 3, 4, 5, 6, 7, 8}));
    ExpectPattern(Surface(stub));
}

TEST(SurfaceTest, ImageHeaderAnnouncingMorePixelsThanTheFileHoldsIsNotDecoded)
{
    TempDirectory directory;
    // A BMP header alone (54 bytes) announcing 4000 x 4000 pixels of 32
    // bits: the decoder would allocate 64 MB, fill it with zeros past the
    // end of the file and call that a good image.
    std::vector<std::uint8_t> header = {'B', 'M'};
    for (const std::uint32_t word : {54u, 0u, 54u, 40u, 4000u, 4000u})
    {
        RendererTest::AppendWord(header, word);
    }
    RendererTest::AppendWord(header, 1u | 32u << 16); // one plane, 32 bits a pixel
    for (int i = 0; i < 6; ++i)
    {
        RendererTest::AppendWord(header, 0);
    }
    ASSERT_EQ(header.size(), 54u);
    const std::string path = directory.File("header.bmp");
    ASSERT_TRUE(RendererTest::WriteBytes(path, header));

    Renderer::Image image;
    image.width = 9;
    EXPECT_FALSE(Renderer::DecodeImageFile(path, image));
    EXPECT_EQ(image.width, 9u);
    ExpectPattern(Surface(path));

    // A well-packed image decodes.
    const std::string solid = directory.File("solid.png");
    ASSERT_TRUE(RendererTest::WritePng(solid, 1024, 1024, RendererTest::Solid(1024, 1024, {1, 2, 3, 255})));
    ASSERT_TRUE(Renderer::DecodeImageFile(solid, image));
    EXPECT_EQ(image.width, 1024u);
    EXPECT_EQ(image.height, 1024u);
}

TEST(SurfaceTest, SizedSurfaceIsZeroedAndDecodeFailureLeavesASurfaceAlone)
{
    Surface surface(3, 2, 5);
    EXPECT_EQ(surface.GetPitch(), 12u);
    EXPECT_EQ(surface.GetFormat(), 5u);
    for (std::uint32_t y = 0; y < 2; ++y)
    {
        for (std::uint32_t x = 0; x < 3; ++x)
        {
            EXPECT_EQ(PixelAt(surface, x, y), (Rgba{0, 0, 0, 0}));
        }
    }
    EXPECT_EQ(surface.GetPixel(3, 0), nullptr);
    EXPECT_FALSE(surface.LoadImageFile("/nonexistent/x.png"));
    EXPECT_FALSE(surface.LoadImageFile("x.tga"));
    EXPECT_EQ(surface.GetWidth(), 3u);
    EXPECT_EQ(surface.GetFormat(), 5u);
}

struct LevelCase
{
    std::uint32_t width;
    std::uint32_t height;
    bool mipmaps;
    bool nonPowerOfTwo;
    std::uint32_t maximum;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> levels;
};

TEST(SurfaceTest, LevelChainsHalveTheBaseSizeDownToOnePixel)
{
    const LevelCase cases[] = {
        // 300 -> 256 (44 below, 212 above), 200 -> 256 (56 above, 72 below).
        {300,
         200,
         true,
         false,
         1024,
         {{256, 256}, {128, 128}, {64, 64}, {32, 32}, {16, 16}, {8, 8}, {4, 4}, {2, 2}, {1, 1}}},
        {64, 16, true, false, 1024, {{64, 16}, {32, 8}, {16, 4}, {8, 2}, {4, 1}, {2, 1}, {1, 1}}},
        {100, 60, false, false, 1024, {{128, 64}}},
        {100, 60, false, true, 1024, {{100, 60}}},
        {5, 3, true, true, 1024, {{5, 3}, {2, 1}, {1, 1}}},
        // Limited to the maximum after rounding.
        {512,
         40,
         true,
         false,
         256,
         {{256, 32}, {128, 16}, {64, 8}, {32, 4}, {16, 2}, {8, 1}, {4, 1}, {2, 1}, {1, 1}}},
    };
    TempDirectory directory;
    const Rgba colour = {10, 200, 30, 255};
    for (const LevelCase& c : cases)
    {
        const std::string path = directory.File("level.png");
        ASSERT_TRUE(RendererTest::WritePng(path, static_cast<int>(c.width), static_cast<int>(c.height),
                                           RendererTest::Solid(c.width, c.height, colour)));
        std::uint32_t width = 0;
        std::uint32_t height = 0;
        std::vector<Core::RefPtr<Surface>> levels;
        ASSERT_TRUE(
            Surface::LoadImageLevels(path, c.mipmaps, c.nonPowerOfTwo, c.maximum, width, height, levels));
        EXPECT_EQ(width, c.width);
        EXPECT_EQ(height, c.height);
        ASSERT_EQ(levels.size(), c.levels.size()) << c.width << " x " << c.height;
        for (std::size_t i = 0; i < levels.size(); ++i)
        {
            const Surface& level = *levels[i];
            EXPECT_EQ(level.GetWidth(), c.levels[i].first) << "level " << i;
            EXPECT_EQ(level.GetHeight(), c.levels[i].second) << "level " << i;
            // Resampling a single colour keeps it, edges included.
            EXPECT_EQ(PixelAt(level, 0, 0), colour) << "level " << i;
            EXPECT_EQ(PixelAt(level, level.GetWidth() - 1, level.GetHeight() - 1), colour) << "level " << i;
        }
    }

    std::uint32_t width = 7;
    std::uint32_t height = 7;
    std::vector<Core::RefPtr<Surface>> levels;
    EXPECT_FALSE(
        Surface::LoadImageLevels(directory.File("none.png"), true, false, 1024, width, height, levels));
    EXPECT_FALSE(
        Surface::LoadImageLevels(directory.File("level.tga"), true, false, 1024, width, height, levels));
    EXPECT_EQ(width, 7u);
    EXPECT_TRUE(levels.empty());
}

TEST(SurfaceTest, ScalingWeighsColoursByAlpha)
{
    // Halving a row of opaque white and transparent black: the transparent
    // pixel lends no black to the colour, only its share of coverage.
    Renderer::Image image;
    image.width = 2;
    image.height = 1;
    image.rgba = {255, 255, 255, 255, 0, 0, 0, 0};
    const Renderer::Image half = Renderer::ScaleImage(image, 1, 1);
    ASSERT_EQ(half.rgba.size(), 4u);
    EXPECT_GE(half.rgba[0], 250);
    EXPECT_GT(half.rgba[3], 100);
    EXPECT_LT(half.rgba[3], 155);
}

} // namespace

#include "renderer/Renderer_MipChain.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

namespace
{

using Renderer::BuildMipLevels;
using Renderer::Image;
using Pixel = std::array<std::uint8_t, 4>;

Image MakeImage(std::uint32_t width, std::uint32_t height, const std::vector<Pixel>& pixels)
{
    Image image;
    image.width = width;
    image.height = height;
    for (const Pixel& pixel : pixels)
    {
        image.rgba.insert(image.rgba.end(), pixel.begin(), pixel.end());
    }
    return image;
}

Pixel At(const Image& image, std::uint32_t x, std::uint32_t y)
{
    const std::uint8_t* p = image.rgba.data() + (std::size_t{y} * image.width + x) * 4;
    return {p[0], p[1], p[2], p[3]};
}

TEST(MipChainTest, EachLevelHalvesTheOneAboveDownToOnePixel)
{
    const std::pair<std::uint32_t, std::uint32_t> sizes[] = {{8, 8}, {5, 3}, {7, 1},
                                                             {1, 6}, {2, 1}, {644, 98}};
    for (const auto& [width, height] : sizes)
    {
        const Image base = MakeImage(width, height, std::vector<Pixel>(width * height, {9, 8, 7, 255}));
        const std::vector<Image> levels = BuildMipLevels(base);
        ASSERT_FALSE(levels.empty()) << width << " x " << height;
        std::uint32_t expectedWidth = width;
        std::uint32_t expectedHeight = height;
        for (const Image& level : levels)
        {
            expectedWidth = std::max(expectedWidth / 2, 1u);
            expectedHeight = std::max(expectedHeight / 2, 1u);
            EXPECT_EQ(level.width, expectedWidth) << width << " x " << height;
            EXPECT_EQ(level.height, expectedHeight) << width << " x " << height;
            ASSERT_EQ(level.rgba.size(), std::size_t{level.width} * level.height * 4);
            // One colour stays that colour at every level, edges included.
            EXPECT_EQ(At(level, level.width - 1, level.height - 1), (Pixel{9, 8, 7, 255}));
        }
        EXPECT_EQ(levels.back().width, 1u);
        EXPECT_EQ(levels.back().height, 1u);
    }
    EXPECT_TRUE(BuildMipLevels(MakeImage(1, 1, {{1, 2, 3, 4}})).empty());
}

// An image whose bytes end before its size does reads clear black past the
// end instead of reading past its buffer.
TEST(MipChainTest, AnImageShortOfItsPixelsReadsClearBlackPastItsEnd)
{
    Image shortImage = MakeImage(4, 2, std::vector<Pixel>(4, {200, 100, 50, 255}));
    const std::vector<Image> levels = BuildMipLevels(shortImage);
    ASSERT_EQ(levels.size(), 2u);
    // The top row is whole, the bottom row missing: half the coverage.
    EXPECT_EQ(At(levels[0], 0, 0), (Pixel{200, 100, 50, 128}));
    EXPECT_EQ(At(levels[1], 0, 0), (Pixel{200, 100, 50, 128}));
}

TEST(MipChainTest, PixelsAreAreaAveragesWeightedByAlpha)
{
    struct Case
    {
        const char* what;
        std::uint32_t width;
        std::uint32_t height;
        std::vector<Pixel> pixels;
        std::vector<Pixel> expected; // the first level below
    };
    const Case cases[] = {
        {"opaque 2 x 2: the plain mean",
         2,
         2,
         {{0, 10, 255, 255}, {255, 30, 0, 255}, {100, 50, 1, 255}, {1, 10, 0, 255}},
         {{89, 25, 64, 255}}},
        // (200 * 255 + 100 * 85) / 340 = 175; the transparent pair lends
        // coverage only: alpha 340 / 4.
        {"partly transparent 2 x 2",
         2,
         2,
         {{200, 0, 40, 255}, {0, 0, 0, 0}, {100, 0, 80, 85}, {255, 255, 255, 0}},
         {{175, 0, 50, 85}}},
        {"transparent throughout: colours averaged, alpha 0",
         2,
         2,
         {{0, 0, 0, 0}, {40, 0, 0, 0}, {80, 0, 0, 0}, {120, 0, 0, 0}},
         {{60, 0, 0, 0}}},
        {"3 x 1: three equal thirds",
         3,
         1,
         {{0, 0, 0, 255}, {30, 0, 0, 255}, {90, 0, 0, 255}},
         {{40, 0, 0, 255}}},
        // 5 -> 2: each output covers 2.5 pixels, sharing the middle one:
        // (0 + 100 + 200 / 2) / 2.5 = 80, (200 / 2 + 50 + 250) / 2.5 = 160.
        {"5 x 1: the middle pixel split",
         5,
         1,
         {{0, 0, 0, 255}, {100, 0, 0, 255}, {200, 0, 0, 255}, {50, 0, 0, 255}, {250, 0, 0, 255}},
         {{80, 0, 0, 255}, {160, 0, 0, 255}}},
        // Down a 1-pixel side nothing mixes: rows 0-1 and 2-3.
        {"1 x 4: pairs of rows",
         1,
         4,
         {{10, 0, 0, 255}, {20, 0, 0, 255}, {0, 0, 0, 255}, {0, 0, 0, 51}},
         {{15, 0, 0, 255}, {0, 0, 0, 153}}},
    };
    for (const Case& c : cases)
    {
        const std::vector<Image> levels = BuildMipLevels(MakeImage(c.width, c.height, c.pixels));
        ASSERT_FALSE(levels.empty()) << c.what;
        const Image& level = levels.front();
        ASSERT_EQ(std::size_t{level.width} * level.height, c.expected.size()) << c.what;
        for (std::uint32_t i = 0; i < c.expected.size(); ++i)
        {
            EXPECT_EQ(At(level, i % level.width, i / level.width), c.expected[i])
                << c.what << ", pixel " << i;
        }
    }
}

TEST(MipChainTest, TheLastLevelIsTheMeanOfTheWholeBaseWithoutCompoundedRounding)
{
    // 7 x 5 (7 -> 3 -> 1, 5 -> 2 -> 1): every base pixel ends with an equal
    // share; levels rounded on the way would drift from the mean.
    const std::uint32_t width = 7;
    const std::uint32_t height = 5;
    std::vector<Pixel> pixels;
    double sums[3] = {};
    for (std::uint32_t n = 0; n < width * height; ++n)
    {
        const Pixel pixel = {static_cast<std::uint8_t>(n * 37 % 256), static_cast<std::uint8_t>(n * 11 % 200),
                             static_cast<std::uint8_t>(255 - n), 255};
        pixels.push_back(pixel);
        for (int c = 0; c < 3; ++c)
        {
            sums[c] += pixel[c];
        }
    }
    const std::vector<Image> levels = BuildMipLevels(MakeImage(width, height, pixels));
    ASSERT_EQ(levels.size(), 2u);
    const Pixel last = At(levels.back(), 0, 0);
    for (int c = 0; c < 3; ++c)
    {
        const double mean = sums[c] / (width * height);
        EXPECT_LE(std::abs(last[c] - mean), 0.5 + 1e-3) << "channel " << c << ", mean " << mean;
    }
    EXPECT_EQ(last[3], 255);
}

} // namespace

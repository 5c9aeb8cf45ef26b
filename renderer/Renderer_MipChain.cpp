#include "renderer/Renderer_MipChain.h"

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <cstdint>

namespace Renderer
{

namespace
{

// The weight of a fully transparent pixel. Any pixel with alpha 1 or more
// outweighs the largest footprint of transparent ones so far that their
// colour moves no channel by a rounding step; a footprint that is
// transparent throughout still averages its colours.
constexpr float TransparentWeight = 1e-16f;

// Output pixel i of a side of `to` pixels covers [i, i + 1) * from / to of
// the side of `from` pixels above it; each source pixel it touches counts
// with the length it contributes, over the footprint's length. Measured in
// units of 1 / to, all the bounds are whole numbers.
struct Taps
{
    std::uint32_t first = 0;
    std::uint32_t count = 0;
    float weight[3] = {};
};

std::vector<Taps> AreaTaps(std::uint32_t from, std::uint32_t to)
{
    std::vector<Taps> all(to);
    for (std::uint32_t i = 0; i < to; ++i)
    {
        const std::uint64_t begin = std::uint64_t{i} * from;
        const std::uint64_t end = begin + from;
        Taps& taps = all[i];
        taps.first = static_cast<std::uint32_t>(begin / to);
        taps.count = static_cast<std::uint32_t>((end - 1) / to) - taps.first + 1;
        // A footprint is at most 2 + 1/n pixels long (2n + 1 -> n), or 3 (3 -> 1).
        assert(taps.count <= 3);
        for (std::uint32_t k = 0; k < taps.count; ++k)
        {
            const std::uint64_t cell = std::uint64_t{taps.first + k} * to;
            const std::uint64_t overlap = std::min(end, cell + to) - std::max(begin, cell);
            taps.weight[k] = static_cast<float>(static_cast<double>(overlap) / static_cast<double>(from));
        }
    }
    return all;
}

// A level unrounded: per pixel red, green and blue times the pixel's weight,
// then the weight (alpha in 0..1; transparent pixels the tiny weight above).
struct WeightedLevel
{
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<float> values;
};

// The level below one of width x height whose rows `row(y)` gives: rows
// are averaged down first into one row of the full width, which is then
// averaged across.
template <class Row> WeightedLevel Reduce(std::uint32_t width, std::uint32_t height, Row row)
{
    WeightedLevel below;
    below.width = std::max(width >> 1, 1u);
    below.height = std::max(height >> 1, 1u);
    below.values.assign(std::size_t{below.width} * below.height * 4, 0.0f);
    const std::vector<Taps> across = AreaTaps(width, below.width);
    const std::vector<Taps> down = AreaTaps(height, below.height);
    std::vector<float> column(std::size_t{width} * 4);
    for (std::uint32_t y = 0; y < below.height; ++y)
    {
        std::fill(column.begin(), column.end(), 0.0f);
        for (std::uint32_t k = 0; k < down[y].count; ++k)
        {
            const float* source = row(down[y].first + k);
            const float weight = down[y].weight[k];
            for (std::size_t n = 0; n < column.size(); ++n)
            {
                column[n] += weight * source[n];
            }
        }
        float* out = below.values.data() + std::size_t{y} * below.width * 4;
        for (std::uint32_t x = 0; x < below.width; ++x, out += 4)
        {
            for (std::uint32_t k = 0; k < across[x].count; ++k)
            {
                const float* source = column.data() + std::size_t{across[x].first + k} * 4;
                const float weight = across[x].weight[k];
                for (int c = 0; c < 4; ++c)
                {
                    out[c] += weight * source[c];
                }
            }
        }
    }
    return below;
}

WeightedLevel ReduceImage(const Image& image)
{
    std::vector<float> converted(std::size_t{image.width} * 4);
    return Reduce(image.width, image.height,
                  [&image, &converted](std::uint32_t y)
                  {
                      const std::uint8_t* in = image.rgba.data() + std::size_t{y} * image.width * 4;
                      float* out = converted.data();
                      for (std::uint32_t x = 0; x < image.width; ++x, in += 4, out += 4)
                      {
                          const float weight = in[3] != 0 ? in[3] / 255.0f : TransparentWeight;
                          out[0] = in[0] * weight;
                          out[1] = in[1] * weight;
                          out[2] = in[2] * weight;
                          out[3] = weight;
                      }
                      return static_cast<const float*>(converted.data());
                  });
}

WeightedLevel ReduceLevel(const WeightedLevel& level)
{
    return Reduce(level.width, level.height,
                  [&level](std::uint32_t y)
                  { return level.values.data() + std::size_t{y} * level.width * 4; });
}

std::uint8_t RoundChannel(float value)
{
    return static_cast<std::uint8_t>(std::clamp(value + 0.5f, 0.0f, 255.0f));
}

Image ToImage(const WeightedLevel& level)
{
    Image image;
    image.width = level.width;
    image.height = level.height;
    image.rgba.resize(level.values.size());
    const float* in = level.values.data();
    std::uint8_t* out = image.rgba.data();
    for (std::size_t n = 0; n < level.values.size(); n += 4, in += 4, out += 4)
    {
        // Every weight is positive, the transparent ones included.
        const float weight = in[3];
        assert(weight > 0.0f);
        for (int c = 0; c < 3; ++c)
        {
            out[c] = RoundChannel(in[c] / weight);
        }
        out[3] = RoundChannel(weight * 255.0f);
    }
    return image;
}

} // namespace

std::vector<Image> BuildMipLevels(const Image& base)
{
    std::vector<Image> levels;
    if (base.width == 0 || base.height == 0 || (base.width == 1 && base.height == 1))
    {
        return levels;
    }
    WeightedLevel level = ReduceImage(base);
    for (;;)
    {
        levels.push_back(ToImage(level));
        if (level.width == 1 && level.height == 1)
        {
            return levels;
        }
        level = ReduceLevel(level);
    }
}

} // namespace Renderer

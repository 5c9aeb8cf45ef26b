#include "renderer/Renderer_MipChain.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace Renderer
{

namespace
{

// The weight of a fully transparent pixel: one pixel of alpha 1 outweighs
// the transparent pixels of the largest footprint a decoded image can give
// (2^28 of them) so far that their colour moves no channel by a rounding
// step, while a footprint that is transparent throughout still averages
// its colours.
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
    // Every value is written before it is read: no zero fill.
    std::unique_ptr<float[]> values;
    std::size_t size = 0;
};

// Sums `count` rows of `pixels` weighted pixels, each row times its weight,
// into `out`. The four channels are written out so that the compiler can
// treat a pixel as one vector.
void WeighRows(const float* const* rows, const float* weights, std::uint32_t count, std::size_t pixels,
               float* __restrict out)
{
    const float* __restrict first = rows[0];
    const float w0 = weights[0];
    if (count == 2)
    {
        const float* __restrict second = rows[1];
        const float w1 = weights[1];
        for (std::size_t x = 0; x < pixels; ++x, first += 4, second += 4, out += 4)
        {
            out[0] = w0 * first[0] + w1 * second[0];
            out[1] = w0 * first[1] + w1 * second[1];
            out[2] = w0 * first[2] + w1 * second[2];
            out[3] = w0 * first[3] + w1 * second[3];
        }
        return;
    }
    for (std::size_t x = 0; x < pixels; ++x)
    {
        for (std::size_t c = 0; c < 4; ++c)
        {
            float sum = w0 * first[x * 4 + c];
            for (std::uint32_t k = 1; k < count; ++k)
            {
                sum += weights[k] * rows[k][x * 4 + c];
            }
            out[x * 4 + c] = sum;
        }
    }
}

// The level below one of width x height whose rows `row(y)` gives: rows
// are averaged down first into one row of the full width, which is then
// averaged across.
template <class Row> WeightedLevel Reduce(std::uint32_t width, std::uint32_t height, Row row)
{
    WeightedLevel below;
    below.width = std::max(width >> 1, 1u);
    below.height = std::max(height >> 1, 1u);
    below.size = std::size_t{below.width} * below.height * 4;
    below.values.reset(new float[below.size]);
    const std::vector<Taps> across = AreaTaps(width, below.width);
    const std::vector<Taps> down = AreaTaps(height, below.height);
    const bool halvesAcross = width == below.width * 2;
    std::vector<float> column(std::size_t{width} * 4);
    for (std::uint32_t y = 0; y < below.height; ++y)
    {
        const float* rows[3] = {};
        for (std::uint32_t k = 0; k < down[y].count; ++k)
        {
            rows[k] = row(down[y].first + k);
        }
        WeighRows(rows, down[y].weight, down[y].count, width, column.data());
        float* __restrict out = below.values.get() + std::size_t{y} * below.width * 4;
        const float* __restrict in = column.data();
        if (halvesAcross)
        {
            for (std::uint32_t x = 0; x < below.width; ++x, in += 8, out += 4)
            {
                out[0] = 0.5f * (in[0] + in[4]);
                out[1] = 0.5f * (in[1] + in[5]);
                out[2] = 0.5f * (in[2] + in[6]);
                out[3] = 0.5f * (in[3] + in[7]);
            }
            continue;
        }
        for (std::uint32_t x = 0; x < below.width; ++x, out += 4)
        {
            const Taps& taps = across[x];
            const float* source = in + std::size_t{taps.first} * 4;
            for (std::size_t c = 0; c < 4; ++c)
            {
                float sum = taps.weight[0] * source[c];
                for (std::uint32_t k = 1; k < taps.count; ++k)
                {
                    sum += taps.weight[k] * source[k * 4 + c];
                }
                out[c] = sum;
            }
        }
    }
    return below;
}

WeightedLevel ReduceImage(const Image& image)
{
    // Byte values as floats, and the weight of each alpha.
    struct Tables
    {
        std::array<float, 256> value;
        std::array<float, 256> alpha;
    };
    static const Tables weights = []
    {
        Tables tables{};
        for (std::size_t n = 0; n < 256; ++n)
        {
            tables.value[n] = static_cast<float>(n);
            tables.alpha[n] = n != 0 ? static_cast<float>(n) / 255.0f : TransparentWeight;
        }
        return tables;
    }();
    // A footprint reads up to three rows at once: each is converted into a
    // buffer of its own.
    std::vector<float> converted[3];
    for (std::vector<float>& buffer : converted)
    {
        buffer.resize(std::size_t{image.width} * 4);
    }
    std::uint32_t next = 0;
    return Reduce(image.width, image.height,
                  [&image, &converted, &next](std::uint32_t y)
                  {
                      const std::uint8_t* in = image.rgba.data() + std::size_t{y} * image.width * 4;
                      float* out = converted[next].data();
                      next = (next + 1) % 3;
                      for (std::uint32_t x = 0; x < image.width; ++x, in += 4, out += 4)
                      {
                          const float weight = weights.alpha[in[3]];
                          out[0] = weights.value[in[0]] * weight;
                          out[1] = weights.value[in[1]] * weight;
                          out[2] = weights.value[in[2]] * weight;
                          out[3] = weight;
                      }
                      return static_cast<const float*>(out - std::size_t{image.width} * 4);
                  });
}

WeightedLevel ReduceLevel(const WeightedLevel& level)
{
    return Reduce(level.width, level.height,
                  [&level](std::uint32_t y)
                  { return level.values.get() + std::size_t{y} * level.width * 4; });
}

// Every value here is an average of bytes: never below 0.
std::uint8_t RoundChannel(float value)
{
    return static_cast<std::uint8_t>(std::min(value + 0.5f, 255.0f));
}

Image ToImage(const WeightedLevel& level)
{
    Image image;
    image.width = level.width;
    image.height = level.height;
    image.rgba.resize(level.size);
    const float* in = level.values.get();
    std::uint8_t* out = image.rgba.data();
    for (std::size_t n = 0; n < level.size; n += 4, in += 4, out += 4)
    {
        // Every weight is positive, the transparent ones included.
        const float weight = in[3];
        assert(weight > 0.0f);
        const float inverse = 1.0f / weight;
        for (int c = 0; c < 3; ++c)
        {
            out[c] = RoundChannel(in[c] * inverse);
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
    // An image short of the pixels its size names reads zeros (clear black)
    // where its bytes end, as the surface made from it does.
    const std::size_t bytes = std::size_t{base.width} * base.height * 4;
    if (base.rgba.size() < bytes)
    {
        Image padded = base;
        padded.rgba.resize(bytes, 0);
        return BuildMipLevels(padded);
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

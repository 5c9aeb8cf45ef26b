#include "renderer/Renderer_Surface.h"

#include "core/Core_ResourceReport.h"
#include "pal/PAL_FileSystem.h"
#include "renderer/Renderer_Image.h"
#include "renderer/Renderer_MipChain.h"
#include "renderer/Renderer_PowerOfTwo.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

namespace Renderer
{

namespace
{

constexpr std::size_t RawHeaderSize = 16;

std::uint32_t ReadLittle32(const std::uint8_t* p)
{
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

// Closes the stream however the reader leaves.
struct FileCloser
{
    void operator()(std::FILE* stream) const { std::fclose(stream); }
};

} // namespace

Surface::Surface(std::uint32_t width, std::uint32_t height, std::uint32_t format)
    : format_(format), width_(width), height_(height), pitch_(width * 4),
      pixels_(std::size_t{width} * height * 4, 0)
{
}

Surface::Surface(const std::string& fileName)
{
    if (LoadImageFile(fileName))
    {
        return;
    }
    if (fileName.empty() || !ReadRawFile(fileName))
    {
        MakePattern();
        if (!fileName.empty())
        {
            Core::ReportUnreadableResource(fileName, "", "the pattern texture is used instead");
        }
    }
}

Surface* Surface::Clone() const
{
    return new ("Renderer_Surface", __LINE__) Surface(*this);
}

const char* Surface::GetClassName() const
{
    return "Renderer::Surface";
}

std::uint32_t Surface::GetSize() const
{
    return sizeof(Surface);
}

const std::uint8_t* Surface::GetPixel(std::uint32_t x, std::uint32_t y) const
{
    if (x >= width_ || y >= height_)
    {
        return nullptr;
    }
    return pixels_.data() + (std::size_t{y} * width_ + x) * 4;
}

bool Surface::LoadImageFile(const std::string& fileName)
{
    Image image;
    if (!DecodeImageFile(fileName, image))
    {
        return false;
    }
    Assign(std::move(image));
    return true;
}

Core::RefPtr<Surface> Surface::FromImage(const Image& image)
{
    return FromImage(Image(image));
}

Core::RefPtr<Surface> Surface::FromImage(Image&& image)
{
    Core::RefPtr<Surface> surface(new ("Renderer_Surface", __LINE__) Surface());
    surface->Assign(std::move(image));
    return surface;
}

void Surface::Assign(Image&& image)
{
    const std::uint32_t width = image.width;
    const std::uint32_t height = image.height;
    const std::size_t rowBytes = std::size_t{width} * 4;
    std::vector<std::uint8_t> pixels = std::move(image.rgba);
    // An image short of its pixels reads as zeros past its end.
    pixels.resize(rowBytes * height);
    const auto source = [&pixels, rowBytes](std::uint32_t row) { return pixels.data() + row * rowBytes; };

    // A transparent pixel's colour comes from the sums over its 3 x 3
    // neighbourhood of the colours of the pixels that are not transparent,
    // and their count; the pixel itself adds nothing, being transparent.
    // Each row's sums over three columns are made once and kept while the
    // rows above and below need them. Only transparent pixels change, and
    // they count in no sum, so the pixels are filled where they lie and the
    // walk order does not matter.
    std::vector<std::uint32_t> sums[3];
    for (std::vector<std::uint32_t>& row : sums)
    {
        row.assign(std::size_t{width} * 4, 0);
    }
    std::vector<std::uint32_t> masked((std::size_t{width} + 2) * 4, 0);
    const auto sumRow = [&](std::uint32_t row, std::vector<std::uint32_t>& out)
    {
        if (row >= height)
        {
            std::fill(out.begin(), out.end(), 0u);
            return;
        }
        // Colour and count 1 for a pixel that is not transparent, zeros for
        // one that is, with a zero pixel past either end.
        const std::uint8_t* in = source(row);
        std::uint32_t* value = masked.data() + 4;
        for (std::uint32_t x = 0; x < width; ++x, in += 4, value += 4)
        {
            const std::uint32_t opaque = in[3] != 0 ? 0xFFFFFFFFu : 0u;
            value[0] = in[0] & opaque;
            value[1] = in[1] & opaque;
            value[2] = in[2] & opaque;
            value[3] = opaque & 1u;
        }
        const std::uint32_t* __restrict left = masked.data();
        std::uint32_t* __restrict sum = out.data();
        for (std::uint32_t x = 0; x < width; ++x, left += 4, sum += 4)
        {
            sum[0] = left[0] + left[4] + left[8];
            sum[1] = left[1] + left[5] + left[9];
            sum[2] = left[2] + left[6] + left[10];
            sum[3] = left[3] + left[7] + left[11];
        }
    };
    // Rows with a transparent pixel; only they and their neighbours need sums.
    // Entry r + 1 is row r's; the rows past either end have none.
    std::vector<bool> transparentRow(std::size_t{height} + 3, false);
    for (std::uint32_t row = 0; row < height; ++row)
    {
        const std::uint8_t* in = source(row);
        bool transparent = false;
        for (std::uint32_t x = 0; x < width && !transparent; ++x)
        {
            transparent = in[std::size_t{x} * 4 + 3] == 0;
        }
        transparentRow[std::size_t{row} + 1] = transparent;
    }
    const auto needsSums = [&transparentRow](std::size_t row)
    { return transparentRow[row] || transparentRow[row + 1] || transparentRow[row + 2]; };
    std::vector<std::uint32_t>* above = &sums[0];
    std::vector<std::uint32_t>* current = &sums[1];
    std::vector<std::uint32_t>* below = &sums[2];
    if (needsSums(0))
    {
        sumRow(0, *current);
    }
    for (std::uint32_t row = 0; row < height; ++row)
    {
        // A row's sums are read only while one of the rows about it has a
        // transparent pixel: those left unmade are never read.
        if (needsSums(row + 1))
        {
            sumRow(row + 1, *below);
        }
        if (transparentRow[std::size_t{row} + 1])
        {
            std::uint8_t* out = source(row);
            for (std::uint32_t x = 0; x < width; ++x)
            {
                const std::size_t at = std::size_t{x} * 4;
                if (out[at + 3] != 0)
                {
                    continue;
                }
                const std::uint32_t count = (*above)[at + 3] + (*current)[at + 3] + (*below)[at + 3];
                if (count == 0)
                {
                    continue;
                }
                for (std::size_t c = 0; c < 3; ++c)
                {
                    out[at + c] = static_cast<std::uint8_t>(
                        ((*above)[at + c] + (*current)[at + c] + (*below)[at + c]) / count);
                }
            }
        }
        std::vector<std::uint32_t>* spare = above;
        above = current;
        current = below;
        below = spare;
    }
    // Decoded rows run from the top; surface rows from the bottom.
    std::vector<std::uint8_t> spare(rowBytes);
    for (std::uint32_t row = 0; row < height / 2; ++row)
    {
        std::uint8_t* top = source(row);
        std::uint8_t* bottom = source(height - 1 - row);
        std::memcpy(spare.data(), top, rowBytes);
        std::memcpy(top, bottom, rowBytes);
        std::memcpy(bottom, spare.data(), rowBytes);
    }
    format_ = 0;
    width_ = width;
    height_ = height;
    pitch_ = width * 4;
    pixels_ = std::move(pixels);
}

bool Surface::ReadRawFile(const std::string& fileName)
{
    const std::string path = PAL::ToNativePath(fileName);
    std::unique_ptr<std::FILE, FileCloser> stream(std::fopen(path.c_str(), "rb"));
    if (!stream)
    {
        return false;
    }
    std::uint8_t header[RawHeaderSize];
    if (std::fread(header, 1, RawHeaderSize, stream.get()) != RawHeaderSize)
    {
        return false;
    }
    const std::uint32_t format = ReadLittle32(header);
    const std::uint32_t width = ReadLittle32(header + 4);
    const std::uint32_t height = ReadLittle32(header + 8);
    const std::uint32_t pitch = ReadLittle32(header + 12);

    // The header of any file read as raw can announce anything: the pixels
    // it announces must be in the file before a byte is allocated for them.
    if (std::fseek(stream.get(), 0, SEEK_END) != 0)
    {
        return false;
    }
    const long end = std::ftell(stream.get());
    if (end < static_cast<long>(RawHeaderSize) || width == 0 || height == 0)
    {
        return false;
    }
    // Compared by division: width x height x 4 can pass 2^64 and wrap to a
    // small count that a short file would satisfy.
    const std::uint64_t available = static_cast<std::uint64_t>(end) - RawHeaderSize;
    if (height > available / 4 / width ||
        std::fseek(stream.get(), static_cast<long>(RawHeaderSize), SEEK_SET) != 0)
    {
        return false;
    }
    const std::uint64_t bytes = std::uint64_t{width} * height * 4;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(bytes));
    if (std::fread(pixels.data(), 1, pixels.size(), stream.get()) != pixels.size())
    {
        return false;
    }
    format_ = format;
    width_ = width;
    height_ = height;
    pitch_ = pitch;
    pixels_ = std::move(pixels);
    return true;
}

void Surface::MakePattern()
{
    format_ = 0;
    width_ = PatternSize;
    height_ = PatternSize;
    pitch_ = PatternSize * 4;
    pixels_.assign(std::size_t{PatternSize} * PatternSize * 4, 0);
    for (std::uint32_t row = 0; row < PatternSize; ++row)
    {
        for (std::uint32_t column = 0; column < PatternSize; ++column)
        {
            std::uint8_t* pixel = pixels_.data() + (std::size_t{row} * PatternSize + column) * 4;
            const auto grey = static_cast<std::uint8_t>(column ^ row);
            pixel[0] = grey;
            pixel[1] = grey;
            pixel[2] = grey;
            pixel[3] = 255;
        }
    }
}

bool Surface::LoadImageLevels(const std::string& fileName, bool mipmaps, bool nonPowerOfTwo,
                              std::uint32_t maximumSize, std::uint32_t& imageWidth,
                              std::uint32_t& imageHeight, std::vector<Core::RefPtr<Surface>>& levels)
{
    Image image;
    if (!DecodeImageFile(fileName, image))
    {
        return false;
    }
    std::uint32_t baseWidth = image.width;
    std::uint32_t baseHeight = image.height;
    BaseLevelSize(baseWidth, baseHeight, nonPowerOfTwo, std::max(maximumSize, 1u));

    const std::uint32_t decodedWidth = image.width;
    const std::uint32_t decodedHeight = image.height;
    if (baseWidth != decodedWidth || baseHeight != decodedHeight)
    {
        image = ScaleImage(image, baseWidth, baseHeight);
    }

    // The levels below are averaged from the base as decoded, before the
    // base's transparent pixels take their neighbours' colour.
    std::vector<Image> below;
    if (mipmaps)
    {
        below = BuildMipLevels(image);
    }
    std::vector<Core::RefPtr<Surface>> chain;
    chain.push_back(FromImage(std::move(image)));
    for (Image& level : below)
    {
        chain.push_back(FromImage(std::move(level)));
    }
    imageWidth = decodedWidth;
    imageHeight = decodedHeight;
    levels = std::move(chain);
    return true;
}

} // namespace Renderer

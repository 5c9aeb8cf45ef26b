#include "pal/PAL_Icon.h"

#include "pal/PAL_FileSystem.h"

#include "pal/PAL_ImageDecoder.h"

#include <cstdio>
#include <cstring>
#include <utility>

namespace PAL
{

namespace
{

std::uint32_t Read16(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8;
}

std::uint32_t Read32(const std::uint8_t* p)
{
    return Read16(p) | Read16(p + 2) << 16;
}

void Write32(std::uint8_t* p, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
    {
        p[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

constexpr std::size_t kHeaderSize = 6;
constexpr std::size_t kEntrySize = 16;
constexpr std::size_t kBmpFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
// Icons are at most 256 pixels on a side; anything past this is no icon, and
// a few bytes of a compressed image could otherwise ask for gigabytes.
constexpr std::int32_t kMaxSide = 1024;

bool DecodeToIcon(const std::uint8_t* data, std::size_t size, IconImage& image)
{
    DecodedImage decoded;
    if (!DecodeImage(data, size, kMaxSide, decoded))
    {
        return false;
    }
    image.width = static_cast<std::int32_t>(decoded.width);
    image.height = static_cast<std::int32_t>(decoded.height);
    image.rgba = std::move(decoded.rgba);
    return true;
}

// An icon bitmap is a DIB whose height counts the colour rows and the AND
// mask rows. stb_image reads BMP files, so the colour part gets a file
// header and the true height; the mask is applied afterwards.
bool DecodeBitmap(const std::uint8_t* dib, std::size_t size, IconImage& image)
{
    if (size < kInfoHeaderSize)
    {
        return false;
    }
    const std::uint32_t headerSize = Read32(dib);
    const auto width = static_cast<std::int32_t>(Read32(dib + 4));
    const auto doubledHeight = static_cast<std::int32_t>(Read32(dib + 8));
    const std::uint32_t bitCount = Read16(dib + 14);
    const std::uint32_t compression = Read32(dib + 16);
    std::uint32_t colours = Read32(dib + 32);
    if (headerSize < kInfoHeaderSize || headerSize > size || width <= 0 || width > kMaxSide ||
        doubledHeight <= 0 || doubledHeight > 2 * kMaxSide || doubledHeight % 2 != 0)
    {
        return false;
    }
    const std::int32_t height = doubledHeight / 2;
    if (bitCount <= 8 && colours == 0)
    {
        colours = 1u << bitCount;
    }
    if (bitCount > 8)
    {
        colours = 0;
    }
    if (colours > 256)
    {
        return false;
    }
    // BI_BITFIELDS masks follow a 40-byte header.
    const std::uint32_t masks = (compression == 3 && headerSize == kInfoHeaderSize) ? 12 : 0;
    const std::size_t pixelOffset = headerSize + masks + std::size_t{colours} * 4;
    const std::size_t colourStride = ((static_cast<std::size_t>(width) * bitCount + 31) / 32) * 4;
    const std::size_t maskStride = ((static_cast<std::size_t>(width) + 31) / 32) * 4;
    const std::size_t colourBytes = colourStride * static_cast<std::size_t>(height);
    if (pixelOffset > size || colourBytes > size - pixelOffset)
    {
        return false;
    }
    const std::size_t maskOffset = pixelOffset + colourBytes;
    const bool hasMask = maskStride * static_cast<std::size_t>(height) <= size - maskOffset;

    std::vector<std::uint8_t> file(kBmpFileHeaderSize + maskOffset);
    file[0] = 'B';
    file[1] = 'M';
    Write32(&file[2], static_cast<std::uint32_t>(file.size()));
    Write32(&file[10], static_cast<std::uint32_t>(kBmpFileHeaderSize + pixelOffset));
    std::memcpy(&file[kBmpFileHeaderSize], dib, maskOffset);
    Write32(&file[kBmpFileHeaderSize + 8], static_cast<std::uint32_t>(height));
    if (!DecodeToIcon(file.data(), file.size(), image) || image.width != width || image.height != height)
    {
        return false;
    }

    // Below 32 bits the colour has no alpha: a set mask bit is transparent.
    // Mask rows run bottom-up like the colour rows.
    if (bitCount < 32 && hasMask)
    {
        for (std::int32_t y = 0; y < height; ++y)
        {
            const std::uint8_t* row =
                dib + maskOffset + maskStride * static_cast<std::size_t>(height - 1 - y);
            for (std::int32_t x = 0; x < width; ++x)
            {
                const bool transparent = (row[x / 8] >> (7 - x % 8)) & 1;
                image.rgba[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + x) * 4 + 3] =
                    transparent ? 0 : 255;
            }
        }
    }
    return true;
}

} // namespace

bool DecodeIcon(const std::uint8_t* data, std::size_t size, IconImage& image)
{
    if (data == nullptr || size < kHeaderSize || Read16(data) != 0 || Read16(data + 2) != 1)
    {
        return false;
    }
    const std::uint32_t count = Read16(data + 4);
    if (count == 0 || count > (size - kHeaderSize) / kEntrySize)
    {
        return false;
    }

    // Prefer the largest image, then the deepest colour. A stored width or
    // height of 0 means 256.
    std::size_t best = count;
    std::uint32_t bestArea = 0;
    std::uint32_t bestBits = 0;
    for (std::uint32_t i = 0; i < count; ++i)
    {
        const std::uint8_t* entry = data + kHeaderSize + kEntrySize * i;
        const std::uint32_t width = entry[0] == 0 ? 256 : entry[0];
        const std::uint32_t height = entry[1] == 0 ? 256 : entry[1];
        const std::uint32_t bits = Read16(entry + 6);
        const std::uint32_t bytes = Read32(entry + 8);
        const std::uint32_t offset = Read32(entry + 12);
        if (offset > size || bytes > size - offset || bytes == 0)
        {
            continue;
        }
        const std::uint32_t area = width * height;
        if (best == count || area > bestArea || (area == bestArea && bits > bestBits))
        {
            best = i;
            bestArea = area;
            bestBits = bits;
        }
    }
    if (best == count)
    {
        return false;
    }
    const std::uint8_t* entry = data + kHeaderSize + kEntrySize * best;
    const std::uint8_t* payload = data + Read32(entry + 12);
    const std::size_t bytes = Read32(entry + 8);

    IconImage decoded;
    static const std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const bool png =
        bytes >= sizeof kPngSignature && std::memcmp(payload, kPngSignature, sizeof kPngSignature) == 0;
    const bool decodedOk =
        png ? DecodeToIcon(payload, bytes, decoded) : DecodeBitmap(payload, bytes, decoded);
    if (!decodedOk)
    {
        return false;
    }
    image = std::move(decoded);
    return true;
}

bool ReadIconFile(const std::string& path, IconImage& image)
{
    std::FILE* stream = std::fopen(ToNativePath(path).c_str(), "rb");
    if (stream == nullptr)
    {
        return false;
    }
    std::vector<std::uint8_t> data;
    std::uint8_t buffer[4096];
    std::size_t read = 0;
    // Icons are small; anything past 16 MiB is no icon.
    while ((read = std::fread(buffer, 1, sizeof buffer, stream)) > 0 && data.size() < (16u << 20))
    {
        data.insert(data.end(), buffer, buffer + read);
    }
    const bool failed = std::ferror(stream) != 0 || data.size() >= (16u << 20);
    std::fclose(stream);
    return !failed && DecodeIcon(data.data(), data.size(), image);
}

} // namespace PAL

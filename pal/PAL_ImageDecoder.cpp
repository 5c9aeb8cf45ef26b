#include "pal/PAL_ImageDecoder.h"

#include <array>
#include <climits>
#include <cstring>

// The decoder is compiled here, with the project's flags, so the sanitizer
// and fuzz builds see inside it; its functions stay private to this file and
// only the three formats we check are in it.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STBI_NO_FAILURE_STRINGS
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Weverything"
#elif defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#pragma GCC diagnostic ignored "-Wconversion"
#pragma GCC diagnostic ignored "-Wsign-conversion"
#pragma GCC diagnostic ignored "-Wshadow"
#pragma GCC diagnostic ignored "-Wdouble-promotion"
#pragma GCC diagnostic ignored "-Wold-style-cast"
#pragma GCC diagnostic ignored "-Wuseless-cast"
#pragma GCC diagnostic ignored "-Wcast-qual"
#pragma GCC diagnostic ignored "-Wduplicated-branches"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#endif
#include <stb/stb_image.h>
#if defined(__clang__)
#pragma clang diagnostic pop
#elif defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace PAL
{

namespace
{

std::uint32_t Big16(const std::uint8_t* p)
{
    return std::uint32_t{p[0]} << 8 | p[1];
}

std::uint32_t Big32(const std::uint8_t* p)
{
    return Big16(p) << 16 | Big16(p + 2);
}

std::uint32_t Little16(const std::uint8_t* p)
{
    return std::uint32_t{p[1]} << 8 | p[0];
}

std::uint32_t Little32(const std::uint8_t* p)
{
    return Little16(p + 2) << 16 | Little16(p);
}

constexpr std::uint8_t PngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

struct Header
{
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    // Compressed pixels are bounded by MaxPixelsPerByte; uncompressed rows
    // were checked to lie inside the data.
    bool compressed = true;
};

bool SidesAllowed(std::uint64_t width, std::uint64_t height, std::uint32_t maxSide)
{
    return width >= 1 && height >= 1 && width <= maxSide && height <= maxSide;
}

// --- PNG: IHDR first, every chunk inside the data, known critical chunks
// only, a palette where the colour type needs one, image data, IEND last.

bool IsPngDepthAllowed(std::uint32_t colourType, std::uint32_t depth)
{
    switch (colourType)
    {
    case 0:
        return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3:
        return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2:
    case 4:
    case 6:
        return depth == 8 || depth == 16;
    default:
        return false;
    }
}

bool CheckPng(const std::uint8_t* data, std::size_t size, std::uint32_t maxSide, Header& header)
{
    std::size_t at = sizeof PngSignature;
    bool first = true;
    bool palette = false;
    bool imageData = false;
    std::uint32_t colourType = 0;
    for (;;)
    {
        if (size - at < 12)
        {
            return false;
        }
        const std::uint32_t length = Big32(data + at);
        const std::uint8_t* type = data + at + 4;
        const std::uint8_t* body = data + at + 8;
        if (length > 0x7FFFFFFF || length > size - at - 12)
        {
            return false;
        }
        const auto is = [type](const char* name) { return std::memcmp(type, name, 4) == 0; };
        if (first != is("IHDR"))
        {
            return false;
        }
        if (is("IHDR"))
        {
            colourType = body[9];
            if (length != 13 || !SidesAllowed(Big32(body), Big32(body + 4), maxSide) ||
                !IsPngDepthAllowed(colourType, body[8]) || body[10] != 0 || body[11] != 0 || body[12] > 1)
            {
                return false;
            }
            header.width = Big32(body);
            header.height = Big32(body + 4);
        }
        else if (is("PLTE"))
        {
            if (length == 0 || length % 3 != 0 || length > 3 * 256 || imageData)
            {
                return false;
            }
            palette = true;
        }
        else if (is("IDAT"))
        {
            if (colourType == 3 && !palette)
            {
                return false;
            }
            imageData = imageData || length > 0;
        }
        else if (is("IEND"))
        {
            return imageData;
        }
        else if ((type[0] & 0x20) == 0 || is("CgBI"))
        {
            // An unknown critical chunk, or Apple's altered PNG.
            return false;
        }
        first = false;
        at += 12 + std::size_t{length};
    }
}

// --- JPEG: baseline, extended or progressive Huffman frames of 8-bit
// samples; every marker segment inside the data; every table a scan or the
// frame names defined before it is used.

struct JpegState
{
    bool frame = false;
    std::uint32_t components = 0;
    std::array<std::uint8_t, 4> ids{};
    std::array<std::uint8_t, 4> quantisers{};
    std::array<bool, 4> quantiserDefined{};
    std::array<bool, 4> dcDefined{};
    std::array<bool, 4> acDefined{};
};

bool CheckHuffmanTables(const std::uint8_t* body, std::size_t length, JpegState& state)
{
    std::size_t at = 0;
    while (at < length)
    {
        if (length - at < 17)
        {
            return false;
        }
        const std::uint32_t tableClass = body[at] >> 4;
        const std::uint32_t id = body[at] & 15;
        if (tableClass > 1 || id > 3)
        {
            return false;
        }
        // The code lengths must fit the code space: no more than 2^n codes
        // of n bits once the shorter codes are placed.
        std::uint32_t count = 0;
        std::uint32_t code = 0;
        for (std::size_t bits = 1; bits <= 16; ++bits)
        {
            const std::uint32_t n = body[at + bits];
            count += n;
            code += n;
            if (code > (1u << bits))
            {
                return false;
            }
            code <<= 1;
        }
        if (count > 256 || count > length - at - 17)
        {
            return false;
        }
        (tableClass == 0 ? state.dcDefined : state.acDefined)[id] = true;
        at += 17 + count;
    }
    return true;
}

bool CheckQuantisers(const std::uint8_t* body, std::size_t length, JpegState& state)
{
    std::size_t at = 0;
    while (at < length)
    {
        const std::uint32_t precision = body[at] >> 4;
        const std::uint32_t id = body[at] & 15;
        const std::size_t bytes = precision == 0 ? 64 : 128;
        if (precision > 1 || id > 3 || length - at - 1 < bytes)
        {
            return false;
        }
        state.quantiserDefined[id] = true;
        at += 1 + bytes;
    }
    return true;
}

bool CheckFrame(const std::uint8_t* body, std::size_t length, std::uint32_t maxSide, JpegState& state,
                Header& header)
{
    if (state.frame || length < 6)
    {
        return false;
    }
    const std::uint32_t components = body[5];
    if (body[0] != 8 || !SidesAllowed(Big16(body + 3), Big16(body + 1), maxSide) ||
        (components != 1 && components != 3 && components != 4) || length != 6 + 3 * std::size_t{components})
    {
        return false;
    }
    std::uint32_t maxH = 1;
    std::uint32_t maxV = 1;
    for (std::uint32_t i = 0; i < components; ++i)
    {
        const std::uint8_t* component = body + 6 + 3 * i;
        const std::uint32_t h = component[1] >> 4;
        const std::uint32_t v = component[1] & 15;
        if (h < 1 || h > 4 || v < 1 || v > 4 || component[2] > 3)
        {
            return false;
        }
        maxH = h > maxH ? h : maxH;
        maxV = v > maxV ? v : maxV;
    }
    // Every component's sampling divides the largest: the decoder's
    // upsampling assumes whole ratios.
    for (std::uint32_t i = 0; i < components; ++i)
    {
        const std::uint8_t* component = body + 6 + 3 * i;
        if (maxH % (component[1] >> 4) != 0 || maxV % (component[1] & 15) != 0)
        {
            return false;
        }
        state.ids[i] = component[0];
        state.quantisers[i] = component[2];
    }
    state.frame = true;
    state.components = components;
    header.width = Big16(body + 3);
    header.height = Big16(body + 1);
    return true;
}

bool CheckScan(const std::uint8_t* body, std::size_t length, const JpegState& state)
{
    if (!state.frame || length < 1)
    {
        return false;
    }
    const std::uint32_t count = body[0];
    if (count < 1 || count > state.components || length != 4 + 2 * std::size_t{count})
    {
        return false;
    }
    for (std::uint32_t i = 0; i < state.components; ++i)
    {
        if (!state.quantiserDefined[state.quantisers[i]])
        {
            return false;
        }
    }
    const std::uint32_t spectralStart = body[1 + 2 * count];
    const std::uint32_t spectralEnd = body[2 + 2 * count];
    std::uint32_t seen = 0;
    for (std::uint32_t i = 0; i < count; ++i)
    {
        const std::uint8_t id = body[1 + 2 * i];
        const std::uint32_t dc = body[2 + 2 * i] >> 4;
        const std::uint32_t ac = body[2 + 2 * i] & 15;
        std::uint32_t which = 0;
        while (which < state.components && state.ids[which] != id)
        {
            ++which;
        }
        if (which == state.components || (seen & (1u << which)) != 0 || dc > 3 || ac > 3)
        {
            return false;
        }
        seen |= 1u << which;
        // A scan reads the DC table when it starts at coefficient 0 and the
        // AC table when it goes past it.
        if ((spectralStart == 0 && !state.dcDefined[dc]) || (spectralEnd > 0 && !state.acDefined[ac]))
        {
            return false;
        }
    }
    return true;
}

// After a scan header: the entropy-coded bytes run to the next marker that
// is neither a stuffed zero nor a restart.
std::size_t SkipEntropyData(const std::uint8_t* data, std::size_t size, std::size_t at)
{
    while (at + 1 < size)
    {
        if (data[at] == 0xFF && data[at + 1] != 0 && data[at + 1] != 0xFF &&
            (data[at + 1] < 0xD0 || data[at + 1] > 0xD7))
        {
            return at;
        }
        ++at;
    }
    return size;
}

bool CheckJpeg(const std::uint8_t* data, std::size_t size, std::uint32_t maxSide, Header& header)
{
    JpegState state;
    bool scanned = false;
    std::size_t at = 2;
    while (at < size)
    {
        if (data[at] != 0xFF)
        {
            return false;
        }
        while (at < size && data[at] == 0xFF)
        {
            ++at;
        }
        if (at == size)
        {
            break;
        }
        const std::uint8_t marker = data[at++];
        if (marker == 0xD9)
        {
            break;
        }
        if (size - at < 2 || Big16(data + at) < 2 || Big16(data + at) > size - at)
        {
            return false;
        }
        const std::uint8_t* body = data + at + 2;
        const std::size_t length = Big16(data + at) - 2;
        bool segmentOk = true;
        switch (marker)
        {
        case 0xC0: // baseline
        case 0xC1: // extended
        case 0xC2: // progressive
            segmentOk = CheckFrame(body, length, maxSide, state, header);
            break;
        case 0xC4:
            segmentOk = CheckHuffmanTables(body, length, state);
            break;
        case 0xDB:
            segmentOk = CheckQuantisers(body, length, state);
            break;
        case 0xDD:
            segmentOk = length == 2;
            break;
        case 0xDA:
            segmentOk = CheckScan(body, length, state);
            scanned = true;
            break;
        default:
            // Application data and comments are skipped; every other frame
            // kind (lossless, arithmetic coding, hierarchical) and stray
            // markers are refused.
            segmentOk = (marker >= 0xE0 && marker <= 0xEF) || marker == 0xFE;
            break;
        }
        if (!segmentOk)
        {
            return false;
        }
        at += 2 + length;
        if (marker == 0xDA)
        {
            at = SkipEntropyData(data, size, at);
        }
    }
    return scanned;
}

// --- BMP: a known header size, one plane, a supported depth without run
// length coding, and every pixel row inside the data.

bool CheckBmp(const std::uint8_t* data, std::size_t size, std::uint32_t maxSide, Header& header)
{
    if (size < 26)
    {
        return false;
    }
    const std::uint32_t offset = Little32(data + 10);
    const std::uint32_t headerSize = Little32(data + 14);
    if (headerSize != 12 && headerSize != 40 && headerSize != 56 && headerSize != 108 && headerSize != 124)
    {
        return false;
    }
    if (size - 14 < headerSize)
    {
        return false;
    }
    const std::uint8_t* info = data + 14;
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t planes = 0;
    std::uint32_t depth = 0;
    std::uint32_t compression = 0;
    if (headerSize == 12)
    {
        width = Little16(info + 4);
        height = Little16(info + 6);
        planes = Little16(info + 8);
        depth = Little16(info + 10);
    }
    else
    {
        width = static_cast<std::int32_t>(Little32(info + 4));
        height = static_cast<std::int32_t>(Little32(info + 8));
        planes = Little16(info + 12);
        depth = Little16(info + 14);
        compression = Little32(info + 16);
    }
    // A negative height stores the rows top-down.
    height = height < 0 ? -height : height;
    const bool depthOk = depth == 1 || depth == 4 || depth == 8 || depth == 16 || depth == 24 || depth == 32;
    const bool compressionOk = compression == 0 || (compression == 3 && (depth == 16 || depth == 32));
    if (planes != 1 || !depthOk || !compressionOk ||
        !SidesAllowed(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height), maxSide))
    {
        return false;
    }
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * depth + 31) / 32 * 4;
    if (offset < 14 + headerSize || offset > size ||
        stride * static_cast<std::uint64_t>(height) > size - offset)
    {
        return false;
    }
    header.width = static_cast<std::uint32_t>(width);
    header.height = static_cast<std::uint32_t>(height);
    header.compressed = false;
    return true;
}

} // namespace

ImageFormat SniffImageFormat(const std::uint8_t* data, std::size_t size)
{
    if (data == nullptr)
    {
        return ImageFormat::None;
    }
    if (size >= sizeof PngSignature && std::memcmp(data, PngSignature, sizeof PngSignature) == 0)
    {
        return ImageFormat::Png;
    }
    if (size >= 2 && data[0] == 'B' && data[1] == 'M')
    {
        return ImageFormat::Bmp;
    }
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF)
    {
        return ImageFormat::Jpeg;
    }
    return ImageFormat::None;
}

bool DecodeImage(const std::uint8_t* data, std::size_t size, std::uint32_t maxSide, DecodedImage& image)
{
    if (size > INT_MAX)
    {
        return false;
    }
    Header header;
    bool checked = false;
    switch (SniffImageFormat(data, size))
    {
    case ImageFormat::Png:
        checked = CheckPng(data, size, maxSide, header);
        break;
    case ImageFormat::Bmp:
        checked = CheckBmp(data, size, maxSide, header);
        break;
    case ImageFormat::Jpeg:
        checked = CheckJpeg(data, size, maxSide, header);
        break;
    case ImageFormat::None:
        break;
    }
    if (!checked || (header.compressed &&
                     std::uint64_t{header.width} * header.height > std::uint64_t{size} * MaxPixelsPerByte))
    {
        return false;
    }
    int width = 0;
    int height = 0;
    int channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(data, static_cast<int>(size), &width, &height, &channels, 4);
    if (pixels == nullptr)
    {
        return false;
    }
    const bool sameSize =
        width == static_cast<int>(header.width) && height == static_cast<int>(header.height);
    if (sameSize)
    {
        image.width = header.width;
        image.height = header.height;
        image.rgba.assign(pixels, pixels + std::size_t{header.width} * header.height * 4);
    }
    stbi_image_free(pixels);
    return sameSize;
}

} // namespace PAL

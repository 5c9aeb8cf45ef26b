#pragma once

// Builds ICO files in memory for the icon and window tests.

#include <cstdint>
#include <string>
#include <vector>

namespace IconBuilder
{

using Bytes = std::vector<std::uint8_t>;

inline void Put16(Bytes& out, std::uint32_t value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void Put32(Bytes& out, std::uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

struct Entry
{
    std::uint8_t width;
    std::uint8_t height;
    std::uint16_t bitCount;
    Bytes payload;
};

// Icon bitmap: info header with the doubled height, palette, colour rows
// bottom-up, AND mask rows bottom-up. `rows` are top-down, each holding
// width * bitCount / 8 bytes (palette indices for 8 bits, BGRA for 32);
// `mask` is top-down, one flag per pixel, true = transparent.
inline Bytes Bitmap(int width, int height, int bitCount, const std::vector<std::uint32_t>& paletteRgb,
                    const std::vector<Bytes>& rows, const std::vector<std::vector<bool>>& mask)
{
    Bytes out;
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height * 2));
    Put16(out, 1);
    Put16(out, static_cast<std::uint32_t>(bitCount));
    Put32(out, 0); // BI_RGB
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, static_cast<std::uint32_t>(paletteRgb.size()));
    Put32(out, 0);
    for (std::uint32_t rgb : paletteRgb)
    {
        out.push_back(static_cast<std::uint8_t>(rgb));       // blue
        out.push_back(static_cast<std::uint8_t>(rgb >> 8));  // green
        out.push_back(static_cast<std::uint8_t>(rgb >> 16)); // red
        out.push_back(0);
    }
    const std::size_t colourStride = ((static_cast<std::size_t>(width) * bitCount + 31) / 32) * 4;
    for (int y = height - 1; y >= 0; --y)
    {
        Bytes row = rows[static_cast<std::size_t>(y)];
        row.resize(colourStride, 0);
        out.insert(out.end(), row.begin(), row.end());
    }
    const std::size_t maskStride = ((static_cast<std::size_t>(width) + 31) / 32) * 4;
    for (int y = height - 1; y >= 0; --y)
    {
        Bytes row(maskStride, 0);
        for (int x = 0; x < width; ++x)
        {
            if (mask[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)])
            {
                row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

inline Bytes Ico(const std::vector<Entry>& entries)
{
    Bytes out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, static_cast<std::uint32_t>(entries.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * entries.size());
    for (const Entry& entry : entries)
    {
        out.push_back(entry.width);
        out.push_back(entry.height);
        out.push_back(0);
        out.push_back(0);
        Put16(out, 1);
        Put16(out, entry.bitCount);
        Put32(out, static_cast<std::uint32_t>(entry.payload.size()));
        Put32(out, offset);
        offset += static_cast<std::uint32_t>(entry.payload.size());
    }
    for (const Entry& entry : entries)
    {
        out.insert(out.end(), entry.payload.begin(), entry.payload.end());
    }
    return out;
}

// 2 x 2, 8 bits with a two-colour palette: red, blue / blue, red; the
// top-left pixel is masked out.
inline Bytes PalettedBitmap()
{
    return Bitmap(2, 2, 8, {0xFF0000, 0x0000FF}, {{0, 1}, {1, 0}}, {{true, false}, {false, false}});
}

} // namespace IconBuilder

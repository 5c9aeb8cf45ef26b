#pragma once

#include <stb/stb_image_write.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace RendererTest
{

using Rgba = std::array<std::uint8_t, 4>;

// A directory of its own for one test's files, removed with everything in it.
class TempDirectory
{
public:
    TempDirectory()
    {
        static int counter = 0;
        path_ = std::filesystem::temp_directory_path() /
                ("renderer_test_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
        std::filesystem::create_directories(path_);
    }
    ~TempDirectory()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// Pixels given row by row from the top of the image.
inline std::vector<std::uint8_t> Flatten(const std::vector<Rgba>& pixels)
{
    std::vector<std::uint8_t> bytes;
    for (const Rgba& pixel : pixels)
    {
        bytes.insert(bytes.end(), pixel.begin(), pixel.end());
    }
    return bytes;
}

// One colour everywhere.
inline std::vector<Rgba> Solid(std::uint32_t width, std::uint32_t height, Rgba colour)
{
    return std::vector<Rgba>(std::size_t{width} * height, colour);
}

inline bool WritePng(const std::string& path, int width, int height, const std::vector<Rgba>& pixels)
{
    const std::vector<std::uint8_t> bytes = Flatten(pixels);
    return stbi_write_png(path.c_str(), width, height, 4, bytes.data(), width * 4) != 0;
}

// BMP and JPG carry no alpha here: the colour channels are written.
inline bool WriteBmp(const std::string& path, int width, int height, const std::vector<Rgba>& pixels)
{
    std::vector<std::uint8_t> rgb;
    for (const Rgba& pixel : pixels)
    {
        rgb.insert(rgb.end(), pixel.begin(), pixel.begin() + 3);
    }
    return stbi_write_bmp(path.c_str(), width, height, 3, rgb.data()) != 0;
}

inline bool WriteJpg(const std::string& path, int width, int height, const std::vector<Rgba>& pixels)
{
    std::vector<std::uint8_t> rgb;
    for (const Rgba& pixel : pixels)
    {
        rgb.insert(rgb.end(), pixel.begin(), pixel.begin() + 3);
    }
    return stbi_write_jpg(path.c_str(), width, height, 3, rgb.data(), 100) != 0;
}

inline bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
    {
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

inline void AppendWord(std::vector<std::uint8_t>& bytes, std::uint32_t word)
{
    for (int i = 0; i < 4; ++i)
    {
        bytes.push_back(static_cast<std::uint8_t>(word >> (8 * i)));
    }
}

// A raw surface file: format, width, height, pitch, then the pixel bytes.
inline bool WriteRaw(const std::string& path, std::uint32_t format, std::uint32_t width, std::uint32_t height,
                     std::uint32_t pitch, const std::vector<std::uint8_t>& pixels)
{
    std::vector<std::uint8_t> bytes;
    AppendWord(bytes, format);
    AppendWord(bytes, width);
    AppendWord(bytes, height);
    AppendWord(bytes, pitch);
    bytes.insert(bytes.end(), pixels.begin(), pixels.end());
    return WriteBytes(path, bytes);
}

} // namespace RendererTest

#include "ResourceTestSupport.h"

#include "pal/PAL_FileSystem.h"

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#include <stb/stb_image.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

namespace ResourceTest
{

std::vector<ManifestEntry> ReadManifest()
{
    std::vector<ManifestEntry> entries;
    FILE* pipe = popen((std::string("\"") + ASSETGEN_PATH + "\" --list").c_str(), "r");
    if (pipe == nullptr)
    {
        return entries;
    }
    std::string text;
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0)
    {
        text.append(buffer, got);
    }
    pclose(pipe);
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line))
    {
        const std::size_t first = line.find('\t');
        const std::size_t second = line.find('\t', first + 1);
        if (first != std::string::npos && second != std::string::npos)
        {
            entries.push_back({line.substr(0, first), line.substr(first + 1, second - first - 1)});
        }
    }
    return entries;
}

bool RunGenerator(const std::string& folder)
{
    const std::string command = std::string("\"") + ASSETGEN_PATH + "\" \"" + folder + "\"";
    return std::system(command.c_str()) == 0;
}

std::string ProgramFolder()
{
    return PAL::GetExecutableDirectory();
}

std::string ResourcePath(const std::string& relative)
{
    return ProgramFolder() + "/" + relative;
}

std::vector<std::uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

Image LoadPng(const std::string& path)
{
    Image image;
    int channels = 0;
    stbi_uc* pixels = stbi_load(path.c_str(), &image.width, &image.height, &channels, 4);
    if (pixels == nullptr)
    {
        image.width = image.height = 0;
        return image;
    }
    image.rgba.assign(pixels, pixels + static_cast<std::size_t>(image.width) * image.height * 4);
    stbi_image_free(pixels);
    return image;
}

bool IsPowerOfTwo(int value)
{
    return value > 0 && (value & (value - 1)) == 0;
}

} // namespace ResourceTest

#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ResourceTest
{

struct ManifestEntry
{
    std::string kind;
    std::string path;
};

// The generator's manifest, from `assetgen --list`.
std::vector<ManifestEntry> ReadManifest();
// Runs the generator into `folder`; true when it succeeded.
bool RunGenerator(const std::string& folder);

// The folder the resource tree is seen in: beside this test program.
std::string ProgramFolder();
// A file below the program's folder ("Resources/...").
std::string ResourcePath(const std::string& relative);
std::vector<std::uint8_t> ReadBytes(const std::string& path);

struct Image
{
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;

    int Alpha(int x, int y) const { return rgba[(static_cast<std::size_t>(y) * width + x) * 4 + 3]; }
};

// Decodes a PNG to RGBA; width 0 when it cannot.
Image LoadPng(const std::string& path);
bool IsPowerOfTwo(int value);

} // namespace ResourceTest

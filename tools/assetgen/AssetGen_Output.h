#pragma once

#include "AssetGen_Canvas.h"

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace AssetGen
{

// One file the generator writes: its path below the output folder, its kind
// and the properties a reader may rely on (printed by --list).
struct ManifestEntry
{
    std::string path;
    std::string kind;
    std::string properties;
};

using Manifest = std::vector<ManifestEntry>;

// Writes the manifest's files below a root folder. Each file goes to a
// temporary name first and is renamed into place once complete, so an
// interrupted run never leaves a half-written file. A path outside the
// manifest or a failed write is reported with the file's name.
class Output
{
public:
    Output(std::filesystem::path root, const Manifest& manifest);

    bool Write(const std::string& path, const std::vector<std::uint8_t>& bytes);
    bool WriteText(const std::string& path, const std::string& text);
    // PNG of the canvas; fully transparent pixels take `transparent`'s colour.
    bool WritePng(const std::string& path, const Canvas& canvas, Color transparent = {0, 0, 0, 0});
    // True when every manifest entry has been written; names the first that
    // was not.
    bool Finish() const;

private:
    std::filesystem::path root_;
    std::set<std::string> expected_;
    std::set<std::string> written_;
};

// Reports a fault in one of the generator's own tables and returns false.
bool TableError(const std::string& table, const std::string& entry, const std::string& what);

} // namespace AssetGen

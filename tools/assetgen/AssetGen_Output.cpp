#include "AssetGen_Output.h"

#include <cstdio>
#include <fstream>

namespace AssetGen
{

Output::Output(std::filesystem::path root, const Manifest& manifest) : root_(std::move(root))
{
    for (const ManifestEntry& entry : manifest)
    {
        expected_.insert(entry.path);
    }
}

bool Output::Write(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    if (expected_.count(path) == 0)
    {
        std::fprintf(stderr, "assetgen: \"%s\" is not in the manifest\n", path.c_str());
        return false;
    }
    const std::filesystem::path target = root_ / path;
    std::filesystem::path temporary = target;
    temporary += ".part";
    std::error_code error;
    std::filesystem::create_directories(target.parent_path(), error);
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        file.close();
        if (!file)
        {
            std::filesystem::remove(temporary, error);
            std::fprintf(stderr, "assetgen: cannot write \"%s\"\n", target.string().c_str());
            return false;
        }
    }
    std::filesystem::rename(temporary, target, error);
    if (error)
    {
        std::filesystem::remove(temporary, error);
        std::fprintf(stderr, "assetgen: cannot write \"%s\"\n", target.string().c_str());
        return false;
    }
    written_.insert(path);
    return true;
}

bool Output::WriteText(const std::string& path, const std::string& text)
{
    return Write(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

bool Output::WritePng(const std::string& path, const Canvas& canvas, Color transparent)
{
    return Write(path, EncodePng(canvas.ToRgba8(transparent), canvas.Width(), canvas.Height()));
}

bool Output::Finish() const
{
    for (const std::string& path : expected_)
    {
        if (written_.count(path) == 0)
        {
            std::fprintf(stderr, "assetgen: \"%s\" was not written\n", path.c_str());
            return false;
        }
    }
    return true;
}

bool TableError(const std::string& table, const std::string& entry, const std::string& what)
{
    std::fprintf(stderr, "assetgen: %s table, entry \"%s\": %s\n", table.c_str(), entry.c_str(),
                 what.c_str());
    return false;
}

} // namespace AssetGen

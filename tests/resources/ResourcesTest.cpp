#include "ResourceTestSupport.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>

using namespace ResourceTest;

namespace
{

std::string Located(const ManifestEntry& entry)
{
    // The review pictures stay in the build folder; everything else is seen
    // through the program's own "Resources".
    return entry.kind == "review" ? std::string(RESOURCE_ROOT) + "/" + entry.path : ResourcePath(entry.path);
}

} // namespace

TEST(Manifest, EveryListedFileExistsBesideTheProgramAndNoPartialFileIsLeft)
{
    const std::vector<ManifestEntry> manifest = ReadManifest();
    ASSERT_FALSE(manifest.empty());
    std::set<std::string> paths;
    for (const ManifestEntry& entry : manifest)
    {
        EXPECT_TRUE(paths.insert(entry.path).second) << "listed twice: " << entry.path;
        EXPECT_TRUE(std::filesystem::is_regular_file(Located(entry))) << entry.path;
    }
    for (const auto& file : std::filesystem::recursive_directory_iterator(ResourcePath("Resources")))
    {
        EXPECT_NE(file.path().extension(), ".part") << file.path();
    }
}

TEST(Manifest, TwoRunsWriteTheSameBytes)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("resources-test-" + std::to_string(getpid()));
    std::filesystem::remove_all(folder);
    ASSERT_TRUE(RunGenerator(folder.string()));
    for (const ManifestEntry& entry : ReadManifest())
    {
        EXPECT_EQ(ReadBytes((folder / entry.path).string()), ReadBytes(Located(entry))) << entry.path;
    }
    std::filesystem::remove_all(folder);
}

TEST(Manifest, AnUnwritableFolderFailsTheRunWithoutLeavingFiles)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("resources-test-ro-" + std::to_string(getpid()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    // A file where the generator needs a folder.
    {
        std::ofstream((folder / "Resources").string()) << "in the way";
    }
    EXPECT_FALSE(RunGenerator(folder.string()));
    EXPECT_TRUE(std::filesystem::is_regular_file(folder / "Resources"));
    std::filesystem::remove_all(folder);
}

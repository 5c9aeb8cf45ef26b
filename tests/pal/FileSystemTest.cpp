#include "pal/PAL_FileSystem.h"

#include "core/Core_DiskFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace
{

namespace fs = std::filesystem;

void WriteText(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::string ReadThroughDiskFile(const std::string& enginePath)
{
    Core::DiskFile file(enginePath, Core::DiskFile::ReadMode);
    if (file.Failed())
    {
        return "<failed>";
    }
    std::string text(static_cast<std::size_t>(file.GetBytesLeft()), '\0');
    file.Read(text.data(), static_cast<std::uint32_t>(text.size()));
    return text;
}

// A scratch folder that goes away with the test.
class ScratchDirectory
{
public:
    explicit ScratchDirectory(const fs::path& path) : path_(path)
    {
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~ScratchDirectory() { fs::remove_all(path_); }
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

fs::path UniqueTempPath(const char* stem)
{
    return fs::temp_directory_path() / (std::string(stem) + "-" + std::to_string(getpid()));
}

TEST(FileSystem, ExecutableNameAndDirectory)
{
    EXPECT_EQ(PAL::GetExecutableName(), "test_pal");
    const std::string& directory = PAL::GetExecutableDirectory();
    ASSERT_FALSE(directory.empty());
    EXPECT_NE(directory.back(), '/');
    EXPECT_TRUE(fs::exists(directory + "/" + PAL::GetExecutableName()));
}

TEST(FileSystem, ResourcePathsResolveBelowTheExecutableIgnoringCase)
{
    // Below the executable's directory, as the game's resources are.
    ScratchDirectory scratch(fs::path(PAL::GetExecutableDirectory()) /
                             ("PathProbe" + std::to_string(getpid())));
    const std::string probe = scratch.Path().filename().string();
    fs::create_directories(scratch.Path() / "Layers Collisions");
    WriteText(scratch.Path() / "Layers Collisions" / "level0_Layer1.txt", "walls");

    const std::string base = PAL::GetExecutableDirectory() + "\\" + probe;
    struct Case
    {
        std::string enginePath;
        std::string text;
    };
    const Case cases[] = {
        {base + "\\Layers Collisions\\level0_Layer1.txt", "walls"},
        {base + "\\LAYERS COLLISIONS\\LEVEL0_LAYER1.TXT", "walls"},
        {base + "\\layers collisions\\level0_layer1.txt", "walls"},
        {base + "\\Layers Collisions\\level9_layer1.txt", "<failed>"},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(ReadThroughDiskFile(c.enginePath), c.text) << c.enginePath;
    }

    // A new file lands in the existing directory under the name as spelled.
    {
        Core::DiskFile file(base + "\\layers COLLISIONS\\Saved.bin", Core::DiskFile::WriteMode);
        ASSERT_FALSE(file.Failed());
        file.Write("x", 1);
    }
    EXPECT_TRUE(fs::exists(scratch.Path() / "Layers Collisions" / "Saved.bin"));
}

TEST(FileSystem, NativeFormOfPaths)
{
    struct Case
    {
        std::string enginePath;
        std::string native;
    };
    const Case cases[] = {
        {"", ""},
        {"\\no-such-root\\Fonts\\", "/no-such-root/Fonts/"},
        {"\\tmp\\game1.sav", "/tmp/game1.sav"},
        {"/no/such/dir\\File.txt", "/no/such/dir/File.txt"},
        {"relative\\name.txt", "relative/name.txt"},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(PAL::ToNativePath(c.enginePath), c.native) << c.enginePath;
    }
}

TEST(FileSystem, ListDirectoryHandlesLongPathsAndMissingOnes)
{
    ScratchDirectory scratch(UniqueTempPath("brillow-list"));
    // A path far longer than 260 characters.
    fs::path deep = scratch.Path();
    for (int i = 0; i < 8; ++i)
    {
        deep /= std::string(40, static_cast<char>('a' + i));
    }
    fs::create_directories(deep / "Sub");
    WriteText(deep / "b.sav", "");
    WriteText(deep / "A.sav", "");
    ASSERT_GT(deep.string().size(), 300u);

    std::vector<std::string> names{"kept"};
    PAL::ListDirectory(deep.string(), names);
    EXPECT_EQ(names, (std::vector<std::string>{"kept", ".", "..", "A.sav", "Sub", "b.sav"}));

    names.clear();
    PAL::ListDirectory((scratch.Path() / "missing").string(), names);
    PAL::ListDirectory((deep / "b.sav").string(), names);
    EXPECT_TRUE(names.empty());
}

TEST(FileSystem, AttributeTestsAnswerFalseForMissingPaths)
{
    ScratchDirectory scratch(UniqueTempPath("brillow-attr"));
    WriteText(scratch.Path() / "file.txt", "");
    struct Case
    {
        std::string path;
        bool directory;
        bool system;
    };
    const Case cases[] = {
        {scratch.Path().string(), true, false},
        {(scratch.Path() / "file.txt").string(), false, false},
        {(scratch.Path() / "missing").string(), false, false},
        {"/dev/null", false, true},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(PAL::IsDirectory(c.path), c.directory) << c.path;
        EXPECT_EQ(PAL::IsSystemFile(c.path), c.system) << c.path;
    }
}

} // namespace

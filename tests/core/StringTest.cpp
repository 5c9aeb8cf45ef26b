#include "core/Core_MemoryFile.h"
#include "core/Core_String.h"

#include <gtest/gtest.h>

namespace
{

TEST(String, EndsWith)
{
    struct Case
    {
        const char* text;
        const char* suffix;
        bool expected;
    };
    const Case cases[] = {
        {"abc", "", true}, {"abc", "abcd", false}, {"abc", "bc", true}, {"abc", "BC", false},
        {"abc", "abc", true}, {"", "", true}, {"", "a", false},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(Core::EndsWith(c.text, c.suffix), c.expected) << c.text << " / " << c.suffix;
    }
}

TEST(String, ToUpperAndToString)
{
    std::string text = "Image.png\xe9z";
    EXPECT_EQ(Core::ToUpper(text), "IMAGE.PNG\xe9Z");
    EXPECT_EQ(Core::ToString(true), "true");
    EXPECT_EQ(Core::ToString(false), "false");
    EXPECT_EQ(Core::ToString(-42), "-42");
}

TEST(String, Erase)
{
    struct Case
    {
        std::uint32_t position;
        std::int32_t count;
        const char* expected;
    };
    const Case cases[] = {
        {2, 3, "abf"}, {2, 0, "abcdef"}, {2, -1, "abcdef"}, {6, 1, "abcdef"}, {4, 3, "abcdef"}, {4, 2, "abcd"},
        {0xFFFFFFFFu, 0x7FFFFFFF, "abcdef"},
    };
    for (const Case& c : cases)
    {
        std::string text = "abcdef";
        EXPECT_EQ(Core::Erase(text, c.position, c.count), c.expected) << c.position << "," << c.count;
    }
    std::string empty;
    EXPECT_EQ(Core::Erase(empty, 0, 1), "");
}

TEST(String, SubstringFromAndFileName)
{
    EXPECT_EQ(Core::SubstringFrom("abc", 2), "c");
    EXPECT_EQ(Core::SubstringFrom("abc", 3), "");
    EXPECT_EQ(Core::SubstringFrom("", 0), "");
    EXPECT_EQ(Core::GetFileName("a\\b\\c.png"), "c.png");
    EXPECT_EQ(Core::GetFileName("a/b/c.png"), "c.png");
    EXPECT_EQ(Core::GetFileName("a\\b/c.png"), "c.png");
    EXPECT_EQ(Core::GetFileName("c.png"), "c.png");
    EXPECT_EQ(Core::GetFileName("a\\b\\"), "");
}

TEST(String, ToWideSignExtends)
{
    const std::u16string wide = Core::ToWide(std::string("A\x80\xff", 3));
    ASSERT_EQ(wide.size(), 3u);
    EXPECT_EQ(wide[0], u'A');
    EXPECT_EQ(wide[1], 0xFF80);
    EXPECT_EQ(wide[2], 0xFFFF);
}

TEST(String, ArchiveForm)
{
    Core::MemoryFile file;
    file << std::string() << std::string("hi");
    const std::uint8_t expected[] = {0, 0, 0, 0, 2, 0, 0, 0, 'h', 'i'};
    ASSERT_EQ(file.GetSize(), sizeof expected);
    EXPECT_EQ(std::memcmp(file.GetData(), expected, sizeof expected), 0);

    // A stored empty string clears what the string held.
    std::string first = "x";
    std::string second;
    file >> first >> second;
    EXPECT_EQ(first, "");
    EXPECT_EQ(second, "hi");
    EXPECT_FALSE(file.Failed());
}

TEST(String, ArchiveReadStopsAtZeroByteButConsumesAll)
{
    const std::uint8_t bytes[] = {3, 0, 0, 0, 'a', 0, 'b', 7, 0, 0, 0};
    Core::MemoryFile file(bytes, sizeof bytes);
    std::string text;
    std::int32_t after = 0;
    file >> text >> after;
    EXPECT_EQ(text, "a");
    EXPECT_EQ(after, 7);
    EXPECT_FALSE(file.Failed());
}

TEST(String, ArchiveRejectsLengthBeyondData)
{
    // Claims 4 GB with two bytes behind it: refused without allocating.
    const std::uint8_t bytes[] = {0xFF, 0xFF, 0xFF, 0xFF, 'a', 'b'};
    Core::MemoryFile file(bytes, sizeof bytes);
    std::string text = "kept";
    file >> text;
    EXPECT_EQ(text, "kept");
    EXPECT_EQ(file.GetError(), Core::FileError::ShortRead);
}

} // namespace

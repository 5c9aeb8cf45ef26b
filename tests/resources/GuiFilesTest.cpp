#include "ResourceTestSupport.h"

#include "pal/PAL_Icon.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace ResourceTest;

namespace
{

struct Record
{
    float x, y, width, height, leftEnd, rightStart, bottomEnd, topStart;
};

std::vector<Record> ReadRecords(const std::vector<std::uint8_t>& bytes)
{
    std::vector<Record> records;
    if (bytes.size() < 4)
    {
        return records;
    }
    std::uint32_t count = 0;
    std::memcpy(&count, bytes.data(), 4);
    for (std::uint32_t i = 0; i < count && 4 + 32 * (i + 1) <= bytes.size(); ++i)
    {
        Record record{};
        std::memcpy(&record, bytes.data() + 4 + 32 * i, 32);
        records.push_back(record);
    }
    return records;
}

} // namespace

TEST(Skins, RecordsLieInsideTheirTexturesWithPositiveBorders)
{
    const struct
    {
        const char* name;
        std::size_t records;
    } skins[] = {{"DefaultFormSkin", 7}, {"DefaultButtonSkin", 7}, {"DefaultRadioButtonSkin", 10}};
    for (const auto& skin : skins)
    {
        SCOPED_TRACE(skin.name);
        const std::string base = ResourcePath(std::string("Resources/Skins/") + skin.name + "/" + skin.name);
        const std::vector<std::uint8_t> bytes = ReadBytes(base + ".gui");
        EXPECT_EQ(bytes.size(), 4 + 32 * skin.records);
        const std::vector<Record> records = ReadRecords(bytes);
        ASSERT_EQ(records.size(), skin.records);
        const Image texture = LoadPng(base + ".png");
        ASSERT_GT(texture.width, 0);
        for (std::size_t i = 0; i < records.size(); ++i)
        {
            const Record& r = records[i];
            SCOPED_TRACE(i);
            EXPECT_GE(r.x, 0.0f);
            EXPECT_GE(r.y, 0.0f);
            EXPECT_LE(r.x + r.width, static_cast<float>(texture.width));
            EXPECT_LE(r.y + r.height, static_cast<float>(texture.height));
            const float left = r.leftEnd, right = r.width - r.rightStart;
            const float bottom = r.bottomEnd, top = r.height - r.topStart;
            EXPECT_GT(left, 0.0f);
            EXPECT_GT(right, 0.0f);
            EXPECT_GT(bottom, 0.0f);
            EXPECT_GT(top, 0.0f);
            EXPECT_LT(left + right, r.width);
            EXPECT_LT(bottom + top, r.height);
            // y counts from the bottom row: the record's corner pixels are
            // drawn, so a flipped record would land on empty texture.
            const int row = texture.height - 1 - static_cast<int>(r.y + r.height / 2);
            EXPECT_GT(texture.Alpha(static_cast<int>(r.x + r.width / 2), row), 0);
        }
    }
    const Record radio = ReadRecords(
        ReadBytes(ResourcePath("Resources/Skins/DefaultRadioButtonSkin/DefaultRadioButtonSkin.gui")))[0];
    EXPECT_EQ(radio.width, 13.0f);
    EXPECT_EQ(radio.height, 13.0f);
}

TEST(Skins, EveryGuiImageIsAPowerOfTwoOnBothSides)
{
    for (const char* path :
         {"Resources/Skins/DefaultFormSkin/DefaultFormSkin.png",
          "Resources/Skins/DefaultButtonSkin/DefaultButtonSkin.png",
          "Resources/Skins/DefaultRadioButtonSkin/DefaultRadioButtonSkin.png",
          "Resources/Skins/Overlays/ComboDown.png", "Resources/Skins/Overlays/ComboDownDisabled.png",
          "Resources/Skins/White.png", "Resources/Skins/Gray.png", "Resources/Cursors/Arrow.png"})
    {
        const Image image = LoadPng(ResourcePath(path));
        EXPECT_TRUE(IsPowerOfTwo(image.width) && IsPowerOfTwo(image.height)) << path;
    }
    const Image white = LoadPng(ResourcePath("Resources/Skins/White.png"));
    for (std::size_t i = 0; i < white.rgba.size(); ++i)
    {
        ASSERT_EQ(white.rgba[i], 255);
    }
}

TEST(Cursor, TheArrowsTipIsTheOpaqueTopLeftPixel)
{
    const Image arrow = LoadPng(ResourcePath("Resources/Cursors/Arrow.png"));
    ASSERT_EQ(arrow.width, 32);
    ASSERT_EQ(arrow.height, 32);
    EXPECT_EQ(arrow.Alpha(0, 0), 255);
    EXPECT_EQ(arrow.Alpha(31, 0), 0);
    EXPECT_EQ(arrow.Alpha(0, 31), 0);
    EXPECT_EQ(arrow.Alpha(31, 31), 0);
    EXPECT_EQ(arrow.Alpha(16, 2), 0);
}

TEST(Icon, DecodesThroughThePlatformReaderInBothSizes)
{
    const std::vector<std::uint8_t> ico = ReadBytes(ResourcePath("Resources/GameIcon/GameIcon.ico"));
    PAL::IconImage largest;
    ASSERT_TRUE(PAL::DecodeIcon(ico.data(), ico.size(), largest));
    EXPECT_EQ(largest.width, 64);
    ASSERT_GE(ico.size(), 6u);
    const std::size_t count = ico[4] | (ico[5] << 8);
    ASSERT_EQ(count, 2u);
    // Each entry alone: the same file with the count 1 and the entry's
    // directory record first (its data offset still points into the file).
    std::vector<int> sizes;
    for (std::size_t i = 0; i < count; ++i)
    {
        ASSERT_GE(ico.size(), 6 + 16 * count);
        std::vector<std::uint8_t> single = ico;
        single[4] = 1;
        std::copy(ico.begin() + 6 + 16 * i, ico.begin() + 6 + 16 * (i + 1), single.begin() + 6);
        PAL::IconImage image;
        ASSERT_TRUE(PAL::DecodeIcon(single.data(), single.size(), image));
        sizes.push_back(image.width);
        EXPECT_EQ(image.width, image.height);
        EXPECT_GT(
            image.rgba[(static_cast<std::size_t>(image.height / 2) * image.width + image.width / 2) * 4 + 3],
            200);
    }
    EXPECT_EQ(sizes, (std::vector<int>{64, 32}));
}

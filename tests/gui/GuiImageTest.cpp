#include "GuiTestSupport.h"

#include "core/Core_ResourceReport.h"
#include "gui/GUI_Folders.h"
#include "gui/GUI_GuiImage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>

namespace
{

using Core::RefPtr;
using GUI::GuiImage;
using GUI::NRectangle;
using GuiTest::Bytes;
using GuiTest::Written;

RefPtr<GuiImage> ButtonImage(float width, float height)
{
    return RefPtr<GuiImage>(new GuiImage(GUI::GetSkinPath(GUI::DefaultButtonSkin), GUI::Size{width, height}));
}

class GuiImages : public GuiTest::GuiTest
{
protected:
    const NRectangle screen{0, 0, 1024, 768};
};

TEST_F(GuiImages, NineSliceAtButtonSize)
{
    const RefPtr<GuiImage> image = ButtonImage(75, 25);
    image->SetPosition(Math::Vector2D(100, 50));
    ASSERT_EQ(image->GetRecordCount(), 7u);
    const GUI::SkinRecord& r = image->GetRecords()[0];
    ASSERT_EQ(r.leftColumnEnd, 3.0f);
    ASSERT_EQ(r.width - r.rightColumnStart, 3.0f);
    // Parts in order: top row, middle row, bottom row.
    const NRectangle expected[9] = {
        {100, 72, 3, 3},  {103, 72, 69, 3},  {172, 72, 3, 3},  //
        {100, 53, 3, 19}, {103, 53, 69, 19}, {172, 53, 3, 19}, //
        {100, 50, 3, 3},  {103, 50, 69, 3},  {172, 50, 3, 3},
    };
    for (std::uint32_t p = 0; p < 9; ++p)
    {
        EXPECT_TRUE(image->GetPart(p) == expected[p]) << p;
    }
    // The centre maps the record's middle column and row only.
    const float tw = static_cast<float>(image->GetTexture()->GetWidth());
    const float th = static_cast<float>(image->GetTexture()->GetHeight());
    const GUI::TRectangle& centre = image->GetPart(4);
    EXPECT_FLOAT_EQ(centre.GetTexCoord(0).x, (r.x + r.leftColumnEnd) / tw);
    EXPECT_FLOAT_EQ(centre.GetTexCoord(0).y, (r.y + r.bottomRowEnd) / th);
    EXPECT_FLOAT_EQ(centre.GetTexCoord(2).x, (r.x + r.rightColumnStart) / tw);
    EXPECT_FLOAT_EQ(centre.GetTexCoord(2).y, (r.y + r.topRowStart) / th);
    // The top-right corner maps the record's top-right corner.
    EXPECT_FLOAT_EQ(image->GetPart(2).GetTexCoord(2).x, (r.x + r.width) / tw);
    EXPECT_FLOAT_EQ(image->GetPart(2).GetTexCoord(2).y, (r.y + r.height) / th);

    image->Draw(screen);
    EXPECT_EQ(Queue().GetScreenObjects().size(), 9u);
}

TEST_F(GuiImages, NarrowerThanItsBordersClampsAndSkipsTheMiddle)
{
    const RefPtr<GuiImage> image = ButtonImage(4, 25);
    const float widths[9] = {3, 0, 3, 3, 0, 3, 3, 0, 3};
    for (std::uint32_t p = 0; p < 9; ++p)
    {
        EXPECT_EQ(image->GetPart(p).GetWidth(), widths[p]) << p;
    }
    image->Draw(screen);
    EXPECT_EQ(Queue().GetScreenObjects().size(), 6u);
    for (const RefPtr<Engine::ScreenObject>& object : Queue().GetScreenObjects())
    {
        EXPECT_NE(object, image->GetContext(1).Get());
        EXPECT_NE(object, image->GetContext(4).Get());
    }
}

TEST_F(GuiImages, DrawingIsRetainedUntilSomethingChanges)
{
    const RefPtr<GuiImage> image = ButtonImage(75, 25);
    image->SetPosition(Math::Vector2D(10, 10));
    image->Draw(screen);
    EXPECT_FALSE(image->IsDirty());
    Queue().ClearScreenObjects();

    // Equal values leave it clean: the contexts are not refilled (the mark
    // left in one survives the next draw).
    image->SetPosition(Math::Vector2D(10, 10));
    image->SetWidth(75);
    image->SetModulationColor(Math::Vector4(1, 1, 1, 1));
    image->SetOpacity(1);
    image->SetDepth(0);
    image->SetState(0);
    image->SetState(99);
    EXPECT_FALSE(image->IsDirty());
    image->GetContext(4)->vertices[0].x = -123.0f;
    image->Draw(screen);
    EXPECT_EQ(image->GetContext(4)->vertices[0].x, -123.0f);
    EXPECT_EQ(Queue().GetScreenObjects().size(), 9u);

    // A new clip or a real change refills them.
    image->Draw(NRectangle(0, 0, 1000, 700));
    EXPECT_EQ(image->GetContext(4)->vertices[0].x, 13.0f);
    image->SetState(2);
    EXPECT_TRUE(image->IsDirty());
    image->SetVisible(false);
    Queue().ClearScreenObjects();
    image->Draw(screen);
    EXPECT_TRUE(Queue().GetScreenObjects().empty());
}

TEST_F(GuiImages, ClipCutsPartsAndLeavesOutsideOnesUnqueued)
{
    const RefPtr<GuiImage> image = ButtonImage(200, 60);
    image->SetPosition(Math::Vector2D(100, 100));
    // Only the left column and a bit of the middle are inside.
    image->Draw(NRectangle(0, 0, 150, 768));
    EXPECT_EQ(Queue().GetScreenObjects().size(), 6u);
    EXPECT_FALSE(image->GetContext(2)->visible);
    const RefPtr<GUI::ImageRenderContext> top = image->GetContext(1);
    ASSERT_TRUE(top->visible);
    EXPECT_EQ(top->vertices[1].x, 150.0f);
}

TEST_F(GuiImages, ReskinKeepsTheStateWhereTheNewSkinHasIt)
{
    const RefPtr<GuiImage> button = ButtonImage(40, 20);
    button->SetState(5);
    button->SetOpacity(0.5f);
    button->SetDepth(4);
    const RefPtr<GuiImage> radio =
        GuiImage::CreateReskinned(GUI::GetSkinPath(GUI::DefaultRadioButtonSkin), *button);
    EXPECT_EQ(radio->GetState(), 5u);
    EXPECT_EQ(radio->GetOpacity(), 0.5f);
    EXPECT_EQ(radio->GetDepth(), 4.0f);
    EXPECT_EQ(radio->GetWidth(), 40.0f);
    EXPECT_EQ(radio->GetPosition(), Math::Vector2D(0, 0));

    radio->SetState(8);
    const RefPtr<GuiImage> back = GuiImage::CreateReskinned(GUI::GetSkinPath(GUI::DefaultButtonSkin), *radio);
    EXPECT_EQ(back->GetState(), 0u);
}

// Skin files that cannot be used: each reports its file and gives an image
// that draws nothing.
TEST_F(GuiImages, MalformedSkinFiles)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "gui_malformed_skins";
    std::filesystem::create_directories(folder);
    const auto u32 = [](std::uint32_t value)
    {
        Bytes bytes(4);
        std::memcpy(bytes.data(), &value, 4);
        return bytes;
    };
    const auto record = [](float value)
    {
        Bytes bytes(32);
        for (int i = 0; i < 8; ++i)
        {
            std::memcpy(bytes.data() + 4 * i, &value, 4);
        }
        return bytes;
    };
    const auto join = [](Bytes a, const Bytes& b)
    {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    struct Case
    {
        const char* name;
        bool exists;
        Bytes bytes;
    };
    const Case cases[] = {
        {"missing", false, {}},
        {"empty_file", true, {}},
        {"no_records", true, u32(0)},
        {"huge_count", true, join(u32(0xFFFFFFFFu), record(3))},
        {"cut_record", true, join(join(u32(2), record(3)), Bytes(31, 0))},
        {"not_a_number", true, join(u32(1), record(std::numeric_limits<float>::quiet_NaN()))},
    };
    for (const Case& c : cases)
    {
        const std::filesystem::path base = folder / c.name;
        std::filesystem::remove(base.string() + ".gui");
        if (c.exists)
        {
            std::ofstream(base.string() + ".gui", std::ios::binary)
                .write(reinterpret_cast<const char*>(c.bytes.data()),
                       static_cast<std::streamsize>(c.bytes.size()));
        }
        Core::ForgetReportedResources();
        testing::internal::CaptureStderr();
        const RefPtr<GuiImage> image(new GuiImage(base.string(), GUI::Size{75, 25}));
        const std::string report = testing::internal::GetCapturedStderr();
        EXPECT_NE(report.find(std::string(c.name) + ".gui"), std::string::npos) << c.name << ": " << report;
        EXPECT_EQ(image->GetRecordCount(), 0u) << c.name;
        EXPECT_EQ(image->GetLeftBorder(), 0.0f) << c.name;
        image->SetState(0);
        image->SetState(1);
        EXPECT_EQ(image->GetState(), 0u) << c.name;
        image->Draw(screen);
        EXPECT_TRUE(Queue().GetScreenObjects().empty()) << c.name;
        // It still saves and reads back.
        const Bytes saved = Written([&](Core::File& file) { image->Write(file); });
        GuiImage read;
        Core::MemoryFile in(saved.data(), static_cast<std::uint32_t>(saved.size()));
        read.Read(in);
        EXPECT_FALSE(in.Failed()) << c.name;
    }
    std::filesystem::remove_all(folder);
}

TEST_F(GuiImages, StreamRoundTripsAndRefusesDamage)
{
    const RefPtr<GuiImage> image = ButtonImage(120, 40);
    image->SetPosition(Math::Vector2D(33, 44));
    image->SetState(3);
    image->SetModulationColor(Math::Vector4(0.5f, 0.6f, 0.7f, 1));
    image->Draw(NRectangle(0, 0, 500, 500));
    const Bytes saved = Written([&](Core::File& file) { file.WriteObject(image.Get()); });

    Core::MemoryFile in(saved.data(), static_cast<std::uint32_t>(saved.size()));
    RefPtr<GuiImage> read;
    Core::ReadRefPtr(in, read);
    ASSERT_FALSE(in.Failed());
    ASSERT_TRUE(read);
    EXPECT_EQ(Written([&](Core::File& file) { file.WriteObject(read.Get()); }), saved);
    EXPECT_TRUE(read->IsDirty());
    EXPECT_EQ(read->GetState(), 3u);
    Queue().ClearScreenObjects();
    read->Draw(NRectangle(0, 0, 500, 500));
    EXPECT_EQ(Queue().GetScreenObjects().size(), 9u);

    // Field offsets of the direct write (no object frame).
    const Bytes direct = Written([&](Core::File& file) { image->Write(file); });
    const std::size_t nameBytes = 4 + image->GetName().size();
    const std::size_t textureSize = nameBytes + 9 * 48 + 16;
    const std::size_t current = textureSize + 8 + 1 + 16 + 16 + 8;
    const auto patched = [&](std::size_t offset, auto value)
    {
        Bytes bytes = direct;
        std::memcpy(bytes.data() + offset, &value, sizeof value);
        return bytes;
    };
    std::vector<Bytes> damaged = {
        patched(current, std::uint32_t{7}),              // current record = count
        patched(current + 4, std::uint32_t{0x08000000}), // count past the bytes
        patched(textureSize, 0.0f),                      // texture width 0
        patched(textureSize + 4, std::numeric_limits<float>::infinity()),
        patched(textureSize + 8, std::uint8_t{2}), // visible flag
    };
    for (std::size_t cut = 0; cut < direct.size(); cut += 7)
    {
        damaged.emplace_back(direct.begin(), direct.begin() + static_cast<std::ptrdiff_t>(cut));
    }
    const RefPtr<GuiImage> kept = ButtonImage(10, 10);
    const Bytes before = Written([&](Core::File& file) { kept->Write(file); });
    for (const Bytes& bytes : damaged)
    {
        Core::MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        kept->Read(file);
        EXPECT_TRUE(file.Failed()) << bytes.size();
        EXPECT_EQ(Written([&](Core::File& out) { kept->Write(out); }), before) << bytes.size();
    }
}

TEST_F(GuiImages, CreatedByClassNameEmpty)
{
    const RefPtr<Core::Object> object(Core::CreateObject("GUI::GuiImage"));
    GuiImage* image = dynamic_cast<GuiImage*>(object.Get());
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(image->GetName().empty());
    EXPECT_FALSE(image->GetTexture());
    image->Draw(screen);
    EXPECT_TRUE(Queue().GetScreenObjects().empty());
}

} // namespace

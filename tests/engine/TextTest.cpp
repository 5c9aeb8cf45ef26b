#include "DrawableTestSupport.h"

#include "core/Core_MemoryFile.h"
#include "engine/Engine_Text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Core::RefPtr;
using DrawableTest::Cell;
using DrawableTest::LineHeight;
using Engine::Text;

namespace
{

class TextTest : public DrawableTest::DrawableFixture
{
protected:
    void SetUp() override
    {
        DrawableFixture::SetUp();
        font = RefPtr<Engine::BitmapFont>(new Engine::BitmapFont(DrawableTest::WriteFont(folder, "Test")));
    }

    RefPtr<Text> MakeText(const std::string& string)
    {
        RefPtr<Text> text(new Text(string));
        text->SetFont(font);
        return text;
    }

    // Lays `text` out through Draw (the scene's frustum culls nothing).
    std::vector<Math::Vector3> LayOut(Text& text)
    {
        text.Draw();
        return text.GetMesh()->GetPositions();
    }

    RefPtr<Engine::BitmapFont> font;
};

// The lower-left corner of character `index`'s quad: its first vertex.
Math::Vector3 Corner(const std::vector<Math::Vector3>& positions, std::size_t index)
{
    return positions.at(6 * index);
}

TEST_F(TextTest, GlyphsFollowThePenWithBearingAndKerning)
{
    struct Case
    {
        const char* text;
        std::size_t character;
        float left;
        float bottom;
    };
    // A advances 9 from bearing 1.5; B has bearing 2.5 and kerning -1.
    const Case cases[] = {
        {"AB", 0, -1.5f, 0.0f},
        // Inside a line: pen 9 - 1 = 8, bearing ceil(2.5) = 3.
        {"AB", 1, 5.0f, 0.0f},
        // A line feed starts a line one line height down at x = 0, where the
        // first glyph keeps its exact bearing and no kerning.
        {"A\nB", 2, -2.5f, -LineHeight},
        // A carriage return neither moves the pen nor starts a line.
        {"A\rB", 2, 5.0f, 0.0f},
        // Tab: four space advances.
        {"A\tB", 2, 9.0f + 20.0f - 1.0f - 3.0f, 0.0f},
        {" B", 1, 5.0f - 1.0f - 3.0f, 0.0f},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(::testing::PrintToString(std::string(c.text)) + " character " +
                     std::to_string(c.character));
        const RefPtr<Text> text = MakeText(c.text);
        const std::vector<Math::Vector3> positions = LayOut(*text);
        ASSERT_EQ(positions.size(), 6 * std::string(c.text).size());
        EXPECT_EQ(Corner(positions, c.character).x, c.left);
        EXPECT_EQ(Corner(positions, c.character).y, c.bottom);
    }
}

TEST_F(TextTest, QuadIsOneCellWithTheGlyphsCornersAndBlanksHoldTheirVertices)
{
    const RefPtr<Text> text = MakeText("A\n\r ");
    const std::vector<Math::Vector3> positions = LayOut(*text);
    const std::vector<Math::Vector2D>& coordinates = text->GetMesh()->GetTexCoords();
    ASSERT_EQ(positions.size(), 24u);
    ASSERT_EQ(coordinates.size(), 24u);

    const float l = -1.5f, r = -1.5f + Cell;
    const Math::Vector3 expected[6] = {{l, 0, 0},    {r, 0, 0},    {r, Cell, 0},
                                       {r, Cell, 0}, {l, Cell, 0}, {l, 0, 0}};
    float corners[8];
    font->GetCharacterTexCoords('A', corners);
    const int corner[6] = {0, 1, 2, 2, 3, 0}; // bottom-left, bottom-right, top-right, ..., top-left
    for (int i = 0; i < 6; ++i)
    {
        EXPECT_EQ(positions[i].x, expected[i].x) << i;
        EXPECT_EQ(positions[i].y, expected[i].y) << i;
        EXPECT_EQ(coordinates[i].x, corners[2 * corner[i]]) << i;
        EXPECT_EQ(coordinates[i].y, corners[2 * corner[i] + 1]) << i;
    }
    for (std::size_t i = 6; i < 24; ++i)
    {
        EXPECT_EQ(positions[i].x, 0.0f) << i;
        EXPECT_EQ(positions[i].y, 0.0f) << i;
        EXPECT_EQ(coordinates[i].x, 0.0f) << i;
    }
    const Engine::DrawRange& range = text->GetMesh()->GetDrawRange(0);
    EXPECT_EQ(range.first, 0u);
    EXPECT_EQ(range.last, 23u);
    EXPECT_TRUE(range.enabled);
}

TEST_F(TextTest, SubmitsOneItemWithTheFontTextureAndTheParentsPlacement)
{
    const RefPtr<Text> text = MakeText("AB");
    text->color = Math::Vector4(0.25f, 0.5f, 0.75f, 0.1f);
    text->opacity = 0.5f;
    const RefPtr<Engine::TransformationGroup> parent = Place(text, 3.0f, 4.0f, 5.0f);
    scene->MakeCurrentAndUpdate(0.0f);
    text->Draw();

    const std::vector<Engine::RenderQueueItem>& items = scene->GetRenderQueue().GetBlendedItems();
    ASSERT_EQ(items.size(), 1u);
    const Engine::RenderQueueItem& item = items[0];
    EXPECT_EQ(item.effect.Get(), text->GetEffect().Get());
    EXPECT_EQ(item.mesh.Get(), text->GetMesh().Get());
    EXPECT_EQ(item.effect->GetTexture(1).Get(), font->GetTexture().Get());
    EXPECT_EQ(item.color.x, 0.25f);
    EXPECT_EQ(item.color.z, 0.75f);
    EXPECT_EQ(item.color.w, 0.5f);
    EXPECT_EQ(item.worldMatrix.m[12], 3.0f);
    EXPECT_EQ(item.worldMatrix.m[14], 5.0f);
    EXPECT_EQ(item.drawRangeIndex, 0);
    EXPECT_FALSE(item.overlay);
}

TEST_F(TextTest, SubmitsNothingWhenThereIsNothingToShow)
{
    std::vector<RefPtr<Text>> silent = {MakeText(""), MakeText("A"), RefPtr<Text>(new Text("A", true)),
                                        RefPtr<Text>(new Text("A"))};
    silent[1]->SetVisible(false, false);
    silent[2]->SetFont(font);
    for (const RefPtr<Text>& text : silent)
    {
        text->Draw();
    }
    EXPECT_TRUE(scene->GetRenderQueue().GetBlendedItems().empty());

    // Blanks lay out empty glyphs and are still submitted.
    const RefPtr<Text> blanks = MakeText("   ");
    EXPECT_EQ(LayOut(*blanks).size(), 18u);
    EXPECT_EQ(scene->GetRenderQueue().GetBlendedItems().size(), 1u);
}

TEST_F(TextTest, ArchiveKeepsTheStringTheFontNameAndTheFields)
{
    RefPtr<Text> text(new Text("Hi\nthere", true));
    text->SetFont(font);
    text->color = Math::Vector4(0.1f, 0.2f, 0.3f, 0.4f);
    text->opacity = 0.6f;
    text->offset = Math::Vector2D(7.0f, 8.0f);
    text->reserved[2] = 9.0f;
    text->SetOverlay(true);
    Core::MemoryFile file;
    file.WriteObject(text.Get());

    const RefPtr<Core::Object> object(file.ReadObject());
    ASSERT_FALSE(file.Failed());
    const auto* read = dynamic_cast<Text*>(object.Get());
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->GetText(), "Hi\nthere");
    ASSERT_TRUE(read->GetFont());
    EXPECT_EQ(read->GetFont()->GetName(), font->GetName());
    EXPECT_EQ(read->GetFont()->GetCellSize(), 16);
    EXPECT_EQ(read->color.y, 0.2f);
    EXPECT_EQ(read->color.w, 0.4f);
    EXPECT_EQ(read->opacity, 0.6f);
    EXPECT_EQ(read->offset.y, 8.0f);
    EXPECT_EQ(read->reserved[2], 9.0f);
    EXPECT_TRUE(read->IsScreenText());
    EXPECT_TRUE(read->IsOverlay());
    EXPECT_TRUE(read->GetEffect());

    // A record cut short leaves the text as it was.
    Core::MemoryFile whole;
    text->Write(whole);
    const std::vector<std::uint8_t>& bytes = whole.GetBuffer();
    Core::MemoryFile cut;
    cut.Write(bytes.data(), static_cast<std::uint32_t>(bytes.size() - 3));
    const RefPtr<Text> target = MakeText("kept");
    target->Read(cut);
    EXPECT_TRUE(cut.Failed());
    EXPECT_EQ(target->GetText(), "kept");
    EXPECT_EQ(target->GetFont().Get(), font.Get());
    EXPECT_FALSE(target->IsScreenText());
}

TEST_F(TextTest, CloneSharesTheFontAndHasItsOwnMeshAndEffect)
{
    const RefPtr<Text> text = MakeText("AB");
    text->opacity = 0.25f;
    text->SetOverlay(true);
    const RefPtr<Text> copy(static_cast<Text*>(text->Clone()));
    EXPECT_EQ(copy->GetText(), "AB");
    EXPECT_EQ(copy->GetFont().Get(), font.Get());
    EXPECT_EQ(copy->opacity, 0.25f);
    EXPECT_TRUE(copy->IsOverlay());
    EXPECT_NE(copy->GetMesh().Get(), text->GetMesh().Get());
    EXPECT_NE(copy->GetEffect().Get(), text->GetEffect().Get());
}

} // namespace

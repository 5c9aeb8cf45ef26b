#include "GuiTestSupport.h"

#include "engine/Engine_BitmapFont.h"
#include "gui/GUI_Folders.h"
#include "gui/GUI_Graphics.h"
#include "renderer/Renderer_TextureCache.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{

using Core::RefPtr;
using GUI::ImageRenderContext;
using GUI::NRectangle;
using GUI::TRectangle;
using GuiTest::Bytes;
using GuiTest::Written;

RefPtr<Renderer::ITexture> SomeTexture()
{
    return Renderer::LoadTexture(GUI::GetSkinFilePath("White.png"), true);
}

RefPtr<Engine::BitmapFont> LoadFont(const std::string& name)
{
    return RefPtr<Engine::BitmapFont>(new Engine::BitmapFont(GUI::GetFontPath(name)));
}

class Graphics : public GuiTest::GuiTest
{
protected:
    // Left, bottom, right, top of quad `q` of a string context.
    static NRectangle QuadOf(const Engine::StringRenderContext& context, std::size_t q)
    {
        const Math::Vector3& a = context.vertices[4 * q];
        const Math::Vector3& c = context.vertices[4 * q + 2];
        return NRectangle(a.x, a.y, c.x - a.x, c.y - a.y);
    }
};

TEST_F(Graphics, StartsOverTheWholeScreenAndResetsToIt)
{
    EXPECT_TRUE(graphics->GetClipRectangle() == NRectangle(0, 0, 1024, 768));
    EXPECT_EQ(GUI::Graphics::GetInstance(), graphics.get());
    graphics->SetClipRectangle(NRectangle(1, 2, 3, 4));
    graphics->SetOpacity(0.5f);
    graphics->SetDepth(9);
    graphics->SetFlipHorizontally(true);
    graphics->UseSecondEffect(true);
    graphics->ResetClip();
    EXPECT_TRUE(graphics->GetClipRectangle() == NRectangle(0, 0, 1024, 768));
    EXPECT_EQ(graphics->GetOpacity(), 1.0f);
    EXPECT_EQ(graphics->GetDepth(), 0.0f);

    RefPtr<ImageRenderContext> context(new ImageRenderContext());
    graphics->PrepareImage(*context, TRectangle(0, 0, 10, 10), SomeTexture());
    EXPECT_EQ(context->effect, graphics->GetFirstEffect());
    EXPECT_FLOAT_EQ(context->texCoords[0].x, 0.0f);
}

TEST_F(Graphics, ImagesAreClippedOrLeftOut)
{
    RefPtr<ImageRenderContext> context(new ImageRenderContext());
    graphics->SetClipRectangle(NRectangle(100, 100, 200, 200));
    graphics->SetColor(Math::Vector4(0.25f, 0.5f, 0.75f, 0.1f));
    graphics->SetOpacity(0.5f);
    graphics->SetDepth(7.0f);

    // Wholly outside: not visible, and submitting queues nothing.
    graphics->PrepareImage(*context, TRectangle(0, 0, 50, 50), SomeTexture());
    EXPECT_FALSE(context->visible);
    graphics->SubmitImage(context);
    EXPECT_TRUE(Queue().GetScreenObjects().empty());

    // Cut at the clip's left and top: the inner 50 x 25 with its share of
    // the texture.
    graphics->PrepareImage(*context, TRectangle(50, 250, 100, 100), SomeTexture());
    ASSERT_TRUE(context->visible);
    EXPECT_EQ(context->vertices[0].x, 100.0f);
    EXPECT_EQ(context->vertices[0].y, 250.0f);
    EXPECT_EQ(context->vertices[2].x, 150.0f);
    EXPECT_EQ(context->vertices[2].y, 300.0f);
    EXPECT_FLOAT_EQ(context->texCoords[0].x, 0.5f);
    EXPECT_FLOAT_EQ(context->texCoords[0].y, 0.0f);
    EXPECT_FLOAT_EQ(context->texCoords[2].x, 1.0f);
    EXPECT_FLOAT_EQ(context->texCoords[2].y, 0.5f);
    // The colour's alpha is the opacity.
    EXPECT_EQ(context->color.x, 0.25f);
    EXPECT_EQ(context->color.w, 0.5f);
    EXPECT_EQ(context->depth, 7.0f);
    graphics->SubmitImage(context);
    ASSERT_EQ(Queue().GetScreenObjects().size(), 1u);

    graphics->UseSecondEffect(true);
    graphics->PrepareImage(*context, TRectangle(150, 150, 10, 10), SomeTexture());
    EXPECT_EQ(context->effect, graphics->GetSecondEffect());
}

TEST_F(Graphics, FlipsReorderTheCorners)
{
    struct Case
    {
        bool horizontal, vertical;
        std::uint32_t order[4];
    };
    const Case cases[] = {
        {false, false, {0, 1, 2, 3}},
        {true, false, {1, 0, 3, 2}},
        {false, true, {3, 2, 1, 0}},
        // Both: a half turn.
        {true, true, {2, 3, 0, 1}},
    };
    const TRectangle source(10, 10, 20, 20);
    RefPtr<ImageRenderContext> context(new ImageRenderContext());
    for (const Case& c : cases)
    {
        graphics->ResetClip();
        graphics->SetFlipHorizontally(c.horizontal);
        graphics->SetFlipVertically(c.vertical);
        graphics->PrepareImage(*context, source, SomeTexture());
        for (std::uint32_t corner = 0; corner < 4; ++corner)
        {
            const Math::Vector2D expected = source.GetTexCoord(c.order[corner]);
            EXPECT_EQ(context->texCoords[corner].x, expected.x) << c.horizontal << c.vertical << corner;
            EXPECT_EQ(context->texCoords[corner].y, expected.y) << c.horizontal << c.vertical << corner;
        }
    }
}

TEST_F(Graphics, StringLayout)
{
    const RefPtr<Engine::BitmapFont> font = LoadFont("DefaultFont");
    ASSERT_TRUE(font->HasMetrics());
    RefPtr<Engine::StringRenderContext> tab(new Engine::StringRenderContext());
    RefPtr<Engine::StringRenderContext> spaces(new Engine::StringRenderContext());
    graphics->PrepareString(*tab, 100, 400, "A\tB", font);
    graphics->PrepareString(*spaces, 100, 400, "A    B", font);
    ASSERT_EQ(tab->GetQuadCount(), 2u);
    ASSERT_EQ(spaces->GetQuadCount(), 2u);
    EXPECT_EQ(QuadOf(*tab, 1).GetLeft(), QuadOf(*spaces, 1).GetLeft());
    EXPECT_GT(QuadOf(*tab, 1).GetLeft(), QuadOf(*tab, 0).GetRight());
    // Each glyph is a cell-sized quad with its cell's texture coordinates.
    const float cell = static_cast<float>(font->GetCellSize());
    EXPECT_EQ(QuadOf(*tab, 0).GetWidth(), cell);
    EXPECT_EQ(QuadOf(*tab, 0).GetBottom(), 400.0f);
    float cellCorners[8];
    font->GetCharacterTexCoords('B', cellCorners);
    EXPECT_EQ(tab->texCoords[4].x, cellCorners[0]);
    EXPECT_EQ(tab->texCoords[6].y, cellCorners[5]);
    EXPECT_EQ(tab->effect, graphics->GetFirstEffect());
    EXPECT_EQ(tab->texture, font->GetTexture());
    const std::vector<std::uint16_t> indices = {0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7};
    EXPECT_EQ(tab->indices, indices);

    // Line feed: back to the start x one line lower; carriage return does
    // nothing.
    RefPtr<Engine::StringRenderContext> lines(new Engine::StringRenderContext());
    graphics->PrepareString(*lines, 100, 400, "A\r\nA", font);
    ASSERT_EQ(lines->GetQuadCount(), 2u);
    EXPECT_EQ(QuadOf(*lines, 1).GetLeft(), QuadOf(*lines, 0).GetLeft());
    EXPECT_EQ(QuadOf(*lines, 1).GetBottom(), 400.0f - static_cast<float>(font->GetLineHeight()));
}

TEST_F(Graphics, StringsAreClippedBoxFirstThenGlyphByGlyph)
{
    const RefPtr<Engine::BitmapFont> font = LoadFont("DefaultFont");
    RefPtr<Engine::StringRenderContext> context(new Engine::StringRenderContext());

    // The measured box lies above y; the later lines would fall inside
    // this clip, but the box misses it, so nothing is laid out.
    graphics->SetClipRectangle(NRectangle(0, 0, 1024, 399));
    graphics->PrepareString(*context, 100, 400, "A\nA\nA", font);
    EXPECT_FALSE(context->visible);
    EXPECT_EQ(context->GetVertices(), nullptr);
    EXPECT_EQ(context->GetIndexCount(), 0u);
    graphics->SubmitString(context);
    EXPECT_TRUE(Queue().GetScreenObjects().empty());

    // A glyph cut to half a pixel leaves no quad and no index.
    graphics->ResetClip();
    graphics->PrepareString(*context, 100, 400, "AA", font);
    ASSERT_EQ(context->GetQuadCount(), 2u);
    const float secondLeft = QuadOf(*context, 1).GetLeft();
    graphics->SetClipRectangle(NRectangle(0, 0, secondLeft + 0.5f, 768));
    graphics->PrepareString(*context, 100, 400, "AA", font);
    EXPECT_TRUE(context->visible);
    EXPECT_EQ(context->GetQuadCount(), 1u);
    EXPECT_EQ(context->GetIndexCount(), 6u);
    EXPECT_EQ(QuadOf(*context, 0).GetRight(), secondLeft + 0.5f);

    // An empty string: nothing at all.
    graphics->ResetClip();
    graphics->PrepareString(*context, 100, 400, "", font);
    EXPECT_EQ(context->GetVertices(), nullptr);
    EXPECT_EQ(context->GetTexCoords(), nullptr);
    EXPECT_EQ(context->GetIndices(), nullptr);
    EXPECT_EQ(context->GetIndexCount(), 0u);
}

TEST_F(Graphics, LongStringsStopAtTheLastSixteenBitIndex)
{
    const RefPtr<Engine::BitmapFont> font = LoadFont("DefaultFont");
    RefPtr<Engine::StringRenderContext> context(new Engine::StringRenderContext());
    graphics->SetClipRectangle(NRectangle(-1.0e8f, -1.0e8f, 2.0e8f, 2.0e8f));
    graphics->PrepareString(*context, 0, 0, std::string(20000, 'W'), font);
    ASSERT_EQ(context->GetQuadCount(), Engine::StringRenderContext::MaxQuads);
    ASSERT_EQ(context->GetIndexCount(), 6u * Engine::StringRenderContext::MaxQuads);
    ASSERT_EQ(context->texCoords.size(), context->vertices.size());
    const std::uint16_t last = *std::max_element(context->indices.begin(), context->indices.end());
    EXPECT_EQ(last, 65535);
    // The indices of quad k name its own four vertices.
    for (std::size_t k = 0; k < context->GetQuadCount(); k += 997)
    {
        EXPECT_EQ(context->indices[6 * k], 4 * k);
        EXPECT_EQ(context->indices[6 * k + 5], 4 * k + 3);
    }
}

TEST_F(Graphics, SaveAndLoad)
{
    graphics->SetColor(Math::Vector4(0.1f, 0.2f, 0.3f, 0.4f));
    graphics->SetClipRectangle(NRectangle(5, 6, 70, 80));
    graphics->SetDepth(3.5f);
    graphics->SetOpacity(0.75f);
    graphics->SetFlipVertically(true);
    graphics->SetFont(LoadFont("Font1"));
    const Bytes saved = Written([&](Core::File& file) { graphics->Save(file); });

    GUI::Graphics other;
    Core::MemoryFile file(saved.data(), static_cast<std::uint32_t>(saved.size()));
    ASSERT_TRUE(other.Load(file));
    ASSERT_TRUE(other.GetFont());
    EXPECT_EQ(other.GetFont()->GetName(), GUI::GetFontPath("Font1"));
    EXPECT_EQ(Written([&](Core::File& out) { other.Save(out); }), saved);

    // Every prefix, a flag that is not 0 or 1 and a font name with a path
    // fail the read and leave the context as it was.
    GUI::Graphics kept;
    const Bytes before = Written([&](Core::File& out) { kept.Save(out); });
    std::vector<Bytes> damaged;
    for (std::size_t cut = 0; cut < saved.size(); ++cut)
    {
        damaged.emplace_back(saved.begin(), saved.begin() + static_cast<std::ptrdiff_t>(cut));
    }
    Bytes badFlag = saved;
    badFlag[4 * 4 + 4 * 4 + 4 + 4 + 4 + 2 + 1] = 2;
    damaged.push_back(badFlag);
    GUI::Graphics withPath;
    withPath.SetFont(RefPtr<Engine::BitmapFont>(new Engine::BitmapFont("a\\b")));
    damaged.push_back(Written([&](Core::File& out) { withPath.Save(out); }));
    damaged.back().back() = '/';
    for (const Bytes& bytes : damaged)
    {
        Core::MemoryFile in(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        EXPECT_FALSE(kept.Load(in)) << bytes.size();
        EXPECT_TRUE(in.Failed());
        EXPECT_EQ(Written([&](Core::File& out) { kept.Save(out); }), before) << bytes.size();
    }
}

TEST_F(Graphics, MousePositionIsInWindowPixelsFromTheBottom)
{
    MoveMouse(100, 200);
    EXPECT_EQ(GUI::GetMousePosition(), Math::Vector2D(100, 200));
    GUI::SetMousePosition(Math::Vector2D(30.9f, 40.2f));
    EXPECT_EQ(GUI::GetMousePosition(), Math::Vector2D(30, 40));
    GUI::SetMousePosition(Math::Vector2D(std::numeric_limits<float>::quiet_NaN(), 5));
    EXPECT_EQ(GUI::GetMousePosition(), Math::Vector2D(30, 40));
    EXPECT_EQ(GUI::GetScreenWidth(), 1024);
    EXPECT_EQ(GUI::GetScreenHeight(), 768);
}

} // namespace

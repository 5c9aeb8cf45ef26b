#include "GuiTestSupport.h"

#include "gui/GUI_Cursor.h"
#include "gui/GUI_Folders.h"

#include <gtest/gtest.h>

#include <limits>

namespace
{

using Core::RefPtr;
using GUI::Cursor;
using GUI::CursorManager;
using GuiTest::Bytes;
using GuiTest::Written;

class Cursors : public GuiTest::GuiTest
{
protected:
    static RefPtr<Cursor> Arrow()
    {
        RefPtr<Cursor> cursor(new Cursor(GUI::GetCursorPath("Arrow.png")));
        cursor->SetHotSpot(Math::Vector2D(0, 32));
        return cursor;
    }

    // The queued quad's left, bottom, right and top.
    struct Quad
    {
        float left, bottom, right, top;
    };
    static Quad QuadOf(const GUI::ImageRenderContext& context)
    {
        return {context.vertices[0].x, context.vertices[0].y, context.vertices[2].x, context.vertices[2].y};
    }
};

TEST_F(Cursors, TheManagerDrawsTheCursorAtTheMouse)
{
    RefPtr<CursorManager> manager(new CursorManager());
    EXPECT_EQ(CursorManager::GetInstance(), manager.Get());
    MoveMouse(100, 200);
    manager->Update(0.016f);
    EXPECT_TRUE(Queue().GetScreenObjects().empty());

    const RefPtr<Cursor> arrow = Arrow();
    manager->SetCursor(arrow);
    manager->Update(0.016f);
    ASSERT_EQ(Queue().GetScreenObjects().size(), 1u);
    const Quad quad = QuadOf(*arrow->GetContext());
    EXPECT_EQ(quad.left, 100.0f);
    EXPECT_EQ(quad.bottom, 168.0f);
    EXPECT_EQ(quad.right, 132.0f);
    EXPECT_EQ(quad.top, 200.0f);
    // Above everything else, over the whole texture.
    EXPECT_EQ(arrow->GetContext()->depth, std::numeric_limits<float>::max());
    EXPECT_EQ(arrow->GetContext()->texCoords[2], Math::Vector2D(1, 1));

    Queue().ClearScreenObjects();
    manager->SetCursor(nullptr);
    manager->Update(0.016f);
    EXPECT_TRUE(Queue().GetScreenObjects().empty());
}

TEST_F(Cursors, AnyImageSizeIsDrawnThirtyTwoSquare)
{
    // The overlay arrow is 16 x 16.
    RefPtr<Cursor> small(new Cursor(GUI::GetOverlayPath("ComboDown.png")));
    ASSERT_EQ(small->GetTexture()->GetWidth(), 16u);
    small->Draw(Math::Vector2D(300, 300), 0);
    const Quad quad = QuadOf(*small->GetContext());
    EXPECT_EQ(quad.right - quad.left, 32.0f);
    EXPECT_EQ(quad.top - quad.bottom, 32.0f);
}

TEST_F(Cursors, TheWindowEdgeCutsTheCursor)
{
    struct Case
    {
        Math::Vector2D hotSpot;
        float left, u;
    };
    const Case cases[] = {
        {{0, 32}, 0.0f, 0.0f},
        // Half the image lies left of the window: cut away.
        {{16, 16}, 0.0f, 0.5f},
    };
    for (const Case& c : cases)
    {
        const RefPtr<Cursor> cursor = Arrow();
        cursor->SetHotSpot(c.hotSpot);
        cursor->Draw(Math::Vector2D(0, 400), 0);
        ASSERT_TRUE(cursor->GetContext()->visible);
        const Quad quad = QuadOf(*cursor->GetContext());
        EXPECT_EQ(quad.left, c.left);
        EXPECT_EQ(quad.right, 32.0f - c.hotSpot.x);
        EXPECT_FLOAT_EQ(cursor->GetContext()->texCoords[0].x, c.u);
    }
    // Wholly outside: not drawn.
    const RefPtr<Cursor> cursor = Arrow();
    Queue().ClearScreenObjects();
    cursor->Draw(Math::Vector2D(-40, 400), 0);
    EXPECT_FALSE(cursor->GetContext()->visible);
    EXPECT_TRUE(Queue().GetScreenObjects().empty());
}

TEST_F(Cursors, WithoutAFileNothingIsDrawn)
{
    const RefPtr<Core::Object> object(Core::CreateObject("GUI::Cursor"));
    Cursor* cursor = dynamic_cast<Cursor*>(object.Get());
    ASSERT_NE(cursor, nullptr);
    EXPECT_FALSE(cursor->GetTexture());
    cursor->Draw(Math::Vector2D(10, 10), 0);
    EXPECT_TRUE(Queue().GetScreenObjects().empty());
}

TEST_F(Cursors, StreamsRoundTripAndRefuseDamage)
{
    RefPtr<CursorManager> manager(new CursorManager());
    manager->SetCursor(Arrow());
    const Bytes saved = Written([&](Core::File& file) { file.WriteObject(manager.Get()); });

    Core::MemoryFile in(saved.data(), static_cast<std::uint32_t>(saved.size()));
    RefPtr<CursorManager> read;
    Core::ReadRefPtr(in, read);
    ASSERT_FALSE(in.Failed());
    ASSERT_TRUE(read && read->GetCursor());
    EXPECT_EQ(read->GetCursor()->GetHotSpot(), Math::Vector2D(0, 32));
    EXPECT_TRUE(read->GetCursor()->GetTexture());
    EXPECT_EQ(Written([&](Core::File& file) { file.WriteObject(read.Get()); }), saved);

    // A manager reading a short record, or an object of another class,
    // keeps its cursor.
    const Bytes direct = Written([&](Core::File& file) { manager->Write(file); });
    std::vector<Bytes> damaged;
    for (std::size_t cut = 0; cut < direct.size(); ++cut)
    {
        damaged.emplace_back(direct.begin(), direct.begin() + static_cast<std::ptrdiff_t>(cut));
    }
    RefPtr<CursorManager> other(new CursorManager());
    damaged.push_back(Written([&](Core::File& file) { file.WriteObject(other.Get()); }));
    const RefPtr<Cursor> keptCursor = manager->GetCursor();
    for (const Bytes& bytes : damaged)
    {
        Core::MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        manager->Read(file);
        EXPECT_TRUE(file.Failed()) << bytes.size();
        EXPECT_EQ(manager->GetCursor(), keptCursor) << bytes.size();
    }

    // A hot spot that is not finite.
    const RefPtr<Cursor> cursor = Arrow();
    Bytes bad = Written([&](Core::File& file) { cursor->Write(file); });
    const float nan = std::numeric_limits<float>::quiet_NaN();
    std::memcpy(bad.data(), &nan, 4);
    Core::MemoryFile file(bad.data(), static_cast<std::uint32_t>(bad.size()));
    cursor->Read(file);
    EXPECT_TRUE(file.Failed());
    EXPECT_EQ(cursor->GetHotSpot(), Math::Vector2D(0, 32));
}

} // namespace

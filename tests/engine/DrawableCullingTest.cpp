#include "DrawableTestSupport.h"

#include "engine/Engine_ParticleSystem.h"
#include "engine/Engine_Sprite.h"
#include "engine/Engine_Text.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using Core::RefPtr;

namespace
{

class DrawableCullingTest : public DrawableTest::DrawableFixture
{
protected:
    // Draws made with `texture` bound in one rendered view.
    std::size_t DrawsWith(const Renderer::ITexture* texture)
    {
        std::size_t count = 0;
        for (const Renderer::RecordedDraw& draw : RenderView())
        {
            count += draw.texture0.Get() == texture ? 1 : 0;
        }
        return count;
    }
};

// The camera sees about x, y in (-100, 100) at z = 0. Each culled drawable
// shows in view, vanishes far to the side, and shows again as an overlay.
TEST_F(DrawableCullingTest, CulledDrawablesVanishOutsideTheViewUnlessTheyAreOverlays)
{
    const RefPtr<Renderer::ITexture> sheet(new SceneTest::FakeTexture("sheet", 64, 64));
    const RefPtr<Engine::BitmapFont> font(new Engine::BitmapFont(DrawableTest::WriteFont(folder, "Font")));

    const RefPtr<Engine::Text> text(new Engine::Text("AB"));
    text->SetFont(font);
    const RefPtr<Engine::Sprite> sprite(new Engine::Sprite(
        {RefPtr<Engine::SpriteAnimation>(new Engine::SpriteAnimation(sheet, 16, 16, {{0, 0, 1.0f}}))}));
    const RefPtr<Engine::ParticleSystem> particles(new Engine::ParticleSystem(sheet, 3));
    particles->SetBoundingSize(10.0f);

    struct Case
    {
        const char* what;
        RefPtr<Engine::Node> node;
        const Renderer::ITexture* texture;
    };
    const Case cases[] = {{"text", text, font->GetTexture().Get()},
                          {"sprite", sprite, sheet.Get()},
                          {"particles", particles, sheet.Get()}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        const RefPtr<Engine::TransformationGroup> parent = Place(c.node, 10.0f, -10.0f);
        EXPECT_EQ(DrawsWith(c.texture), 1u);
        parent->SetTransformation(Math::Matrix4::Translation(1000.0f, 0.0f, 0.0f));
        EXPECT_EQ(DrawsWith(c.texture), 0u);
        c.node->SetOverlay(true);
        EXPECT_EQ(DrawsWith(c.texture), 1u);
        scene->RemoveChild(parent);
    }
}

} // namespace

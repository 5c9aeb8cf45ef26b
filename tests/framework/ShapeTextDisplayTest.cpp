#include "WorldTestSupport.h"

#include "collision/Collision_CollisionLayer.h"
#include "engine/Engine_Circle.h"
#include "engine/Engine_FontCache.h"
#include "engine/Engine_Lines.h"
#include "engine/Engine_Text.h"
#include "framework/Velkor_Circle.h"
#include "framework/Velkor_Line.h"
#include "framework/Velkor_Text.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{

using Vec = Math::Vector2D;

bool Same(const Math::Vector3& a, const Math::Vector3& b)
{
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

class ShapeTextDisplayTest : public WorldTest::WorldDisplayTest
{
protected:
    void SetUp() override
    {
        WorldTest::WorldDisplayTest::SetUp();
        if (IsSkipped())
        {
            return;
        }
        layer = &AddLayer();
        Tick();
    }

    Velkor::Layer* layer = nullptr;
};

TEST_F(ShapeTextDisplayTest, ACircleRedrawsItsOutlineAboutTheSameCentre)
{
    Core::RefPtr<Velkor::Circle> circle(new Velkor::Circle(1.0f));
    circle->SetPosition(30.0f, -20.0f);
    layer->AddGameObject(circle.Get());
    Tick();
    circle->SetRadius(2.0f);
    const Engine::Circle& outline = *circle->GetEngineCircle();
    EXPECT_EQ(outline.GetParent(), circle->GetNode().Get());
    // 0, 5, ... 360 degrees: 73 segments.
    ASSERT_EQ(outline.GetLineCount(), 73u);
    for (const Math::Vector3& point : outline.GetPoints())
    {
        EXPECT_NEAR(std::hypot(point.x, point.y), 2.0f, 1e-5f);
        EXPECT_EQ(point.z, 0.0f);
    }
    EXPECT_EQ(circle->GetRadius(), 2.0f);
    EXPECT_EQ(Place(*circle, 0.0f, 0.0f).x, 30.0f);
    EXPECT_EQ(Place(*circle, 0.0f, 0.0f).y, -20.0f);

    Core::RefPtr<Velkor::Circle> copy(static_cast<Velkor::Circle*>(circle->Clone()));
    EXPECT_EQ(copy->GetRadius(), 2.0f);
    EXPECT_NE(copy->GetEngineCircle(), circle->GetEngineCircle());
    ASSERT_EQ(copy->GetEngineCircle()->GetPoints().size(), outline.GetPoints().size());
    EXPECT_TRUE(Same(copy->GetEngineCircle()->GetPoints()[9], outline.GetPoints()[9]));
    EXPECT_EQ(copy->GetEngineCircle()->GetParent(), copy->GetNode().Get());
}

TEST_F(ShapeTextDisplayTest, ALineKeepsOneLineAtZeroDepth)
{
    Core::RefPtr<Velkor::Line> line(new Velkor::Line(Vec(1, 2), Vec(3, 4)));
    EXPECT_EQ(line->GetPoint1(), Vec(1, 2));
    EXPECT_EQ(line->GetPoint2(), Vec(3, 4));
    line->SetPoint1(Vec(-5, 6));
    line->SetPoint2(Vec(7, -8));
    const Engine::Lines& lines = *line->GetEngineLines();
    ASSERT_EQ(lines.GetLineCount(), 1u);
    EXPECT_TRUE(Same(lines.GetStartPoint(0), Math::Vector3(-5, 6, 0)));
    EXPECT_TRUE(Same(lines.GetEndPoint(0), Math::Vector3(7, -8, 0)));
    Core::RefPtr<Velkor::Line> copy(static_cast<Velkor::Line*>(line->Clone()));
    copy->SetPoint1(Vec(0, 0));
    EXPECT_EQ(line->GetPoint1(), Vec(-5, 6));
    EXPECT_EQ(copy->GetPoint2(), Vec(7, -8));

    // Colour and opacity reach the drawable with the frame's visual push.
    line->SetModulationColor(1.0f, 0.5f, 0.25f, 1.0f);
    line->SetOpacity(0.75f);
    layer->AddGameObject(line.Get());
    Tick();
    EXPECT_EQ(lines.color.y, 0.5f);
    EXPECT_EQ(lines.opacity, 0.75f);

    Velkor::Line empty;
    EXPECT_EQ(empty.GetPoint2(), Vec());
    empty.SetPoint1(Vec(1, 1));
}

TEST_F(ShapeTextDisplayTest, ATextTakesItsColourAtTheNextFrameAndClonesWhole)
{
    Core::RefPtr<Velkor::Text> text(new Velkor::Text("Score 10", "\\Resources\\Fonts\\Nowhere\\Nowhere"));
    EXPECT_EQ(text->GetText(), "Score 10");
    const Engine::Text& engine = *text->GetEngineText();
    EXPECT_FALSE(engine.IsScreenText());
    EXPECT_EQ(engine.GetParent(), text->GetNode().Get());
    // The path reaches the font cache as given.
    EXPECT_EQ(engine.GetFont(),
              Engine::FontCache::GetInstance()->GetFont("\\Resources\\Fonts\\Nowhere\\Nowhere"));
    layer->AddGameObject(text.Get());
    Tick();

    text->SetOpacity(0.5f);
    text->SetModulationColor(1.0f, 0.0f, 0.0f, 1.0f);
    EXPECT_EQ(engine.opacity, 1.0f);
    Tick();
    EXPECT_EQ(engine.opacity, 0.5f);
    EXPECT_EQ(engine.color.y, 0.0f);

    text->SetHUDObject(true);
    EXPECT_TRUE(engine.IsOverlay());
    text->SetText("Score 20");
    Core::RefPtr<Velkor::Text> copy(static_cast<Velkor::Text*>(text->Clone()));
    EXPECT_EQ(copy->GetText(), "Score 20");
    EXPECT_EQ(copy->GetEngineText()->GetFont(), engine.GetFont());
    EXPECT_TRUE(copy->IsHUDObject());
    EXPECT_NE(copy->GetEngineText(), text->GetEngineText());
    EXPECT_EQ(copy->GetEngineText()->GetParent(), copy->GetNode().Get());
    copy->SetText("mine");
    EXPECT_EQ(text->GetText(), "Score 20");
}

TEST_F(ShapeTextDisplayTest, TheLayerShowsItsStaticShapes)
{
    layer->AddStaticCircle(Vec(10, 20), 5.0f, 0, 0);
    layer->AddStaticCircle(Vec(-10, 0), 2.5f, 0, 0);
    layer->AddStaticLineSegment(Vec(0, 0), Vec(100, 0), 0, 0);
    layer->SetCollisionDataColor(1.0f, 0.0f, 0.0f, 1.0f);
    layer->SetVisibleCollisionData(true);
    ASSERT_EQ(layer->GetCollisionDataCircles().size(), 2u);
    ASSERT_EQ(layer->GetCollisionDataLines().size(), 1u);
    const Velkor::Circle& circle = *layer->GetCollisionDataCircles()[1];
    EXPECT_EQ(circle.GetPosition(), Vec(-10, 0));
    EXPECT_EQ(circle.GetRadius(), 2.5f);
    EXPECT_EQ(circle.GetModulationColor().x, 1.0f);
    EXPECT_EQ(circle.GetLayer(), layer);
    EXPECT_EQ(layer->GetCollisionDataLines()[0]->GetPoint2(), Vec(100, 0));

    // Shown again: only shapes added since get display objects.
    Core::RefPtr<Velkor::Circle> first = layer->GetCollisionDataCircles()[0];
    layer->AddStaticLineSegment(Vec(0, 0), Vec(0, 50), 0, 0);
    layer->SetVisibleCollisionData(true);
    EXPECT_EQ(layer->GetCollisionDataCircles()[0], first);
    ASSERT_EQ(layer->GetCollisionDataLines().size(), 2u);
    EXPECT_EQ(layer->GetCollisionDataLines()[1]->GetPoint2(), Vec(0, 50));

    layer->SetCollisionDataColor(0.0f, 0.0f, 1.0f, 0.5f);
    EXPECT_EQ(layer->GetCollisionDataLines()[1]->GetModulationColor().z, 1.0f);
    EXPECT_EQ(first->GetModulationColor().w, 0.5f);
    layer->SetLayerPartitionColor(0.0f, 1.0f, 0.0f, 1.0f);
    EXPECT_EQ(layer->GetLayerPartitionColor().y, 1.0f);

    // One destroyed by someone else is made again at the next walk.
    Tick();
    Core::RefPtr<Velkor::Line> gone = layer->GetCollisionDataLines()[0];
    gone->Destroy();
    Tick();
    EXPECT_NE(layer->GetCollisionDataLines()[0], gone);
    EXPECT_EQ(layer->GetCollisionDataLines()[0]->GetPoint2(), Vec(100, 0));
    Tick();
    EXPECT_FALSE(layer->GetCollisionDataLines()[0]->IsDestroyed());

    // Off destroys them; on again makes a display object for every shape.
    layer->SetVisibleCollisionData(false);
    EXPECT_TRUE(layer->GetCollisionDataCircles().empty());
    Tick();
    EXPECT_TRUE(first->IsDestroyed());
    layer->SetVisibleCollisionData(true);
    EXPECT_EQ(layer->GetCollisionDataCircles().size(), 2u);
    EXPECT_EQ(layer->GetCollisionDataLines().size(), 2u);
    Tick();
    std::vector<Core::RefPtr<Velkor::Circle>> circles;
    layer->FindAllObjects("", circles);
    EXPECT_EQ(circles.size(), 2u);
}

} // namespace

#include "SpriteTestSupport.h"
#include "WorldTestSupport.h"

#include "collision/Collision_DynamicObject.h"
#include "engine/Engine_Sprite.h"
#include "framework/Velkor_Circle.h"
#include "framework/Velkor_Line.h"
#include "framework/Velkor_Sprite.h"

#include <gtest/gtest.h>

namespace
{

using SpriteTest::FrameShapes;
using SpriteTest::MakeActor;
using SpriteTest::MakeAnimation;
using SpriteTest::SheetFolder;
using Vec = Math::Vector2D;

class SpriteDisplayTest : public WorldTest::WorldDisplayTest
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

    // Registers the actor with the game; answers its number.
    std::int32_t AddActor(const std::vector<FrameShapes>& frames)
    {
        game->AddCollisionAssets(MakeActor(frames));
        return static_cast<std::int32_t>(game->GetCollisionAssets().size()) - 1;
    }

    // A sprite of the animations with a shape-testing collision object over
    // the actor, added to the layer and taken through two frames, so its
    // collision step has run.
    Core::RefPtr<Velkor::Sprite> AddSprite(const Velkor::Sprite::AnimationList& animations,
                                           std::int32_t actor)
    {
        Core::RefPtr<Velkor::Sprite> sprite(new Velkor::Sprite(animations));
        auto* dynamic = new Collision2D::DynamicObject();
        dynamic->AddCollisionData(game->GetCollisionAssets()[static_cast<std::size_t>(actor)].get(), 0, 0);
        dynamic->SetCollisionType(1);
        EXPECT_TRUE(sprite->AddCollision(dynamic, layer->GetCollisionLayerIndex()));
        sprite->SetCollisionActorIndex(actor);
        EXPECT_TRUE(layer->AddGameObject(sprite.Get()));
        Tick(2);
        return sprite;
    }

    Core::RefPtr<Velkor::SpriteAnimation> Animation(std::size_t frames)
    {
        return MakeAnimation(folder.Sheet("a" + std::to_string(sheets++) + ".png", 64, 64), 2, 2, frames);
    }

    SheetFolder folder;
    int sheets = 0;
    Velkor::Layer* layer = nullptr;
};

// The game's ball: six one-frame animations (one per colour) over an actor
// with one animation of six frames. Showing animation k must make the
// collision step test frame k.
TEST_F(SpriteDisplayTest, SixOneFrameAnimationsAddressTheActorsFramesEndToEnd)
{
    std::vector<FrameShapes> frames(6);
    Velkor::Sprite::AnimationList animations;
    for (int k = 0; k < 6; ++k)
    {
        frames[static_cast<std::size_t>(k)].circles = {{Vec(0.0f, 0.0f), 2.0f + static_cast<float>(k)}};
        animations.push_back(Animation(1));
    }
    Core::RefPtr<Velkor::Sprite> ball = AddSprite(animations, AddActor(frames));
    Collision2D::DynamicObject* dynamic = ball->GetDynamicCollisionObject();
    ASSERT_NE(dynamic, nullptr);
    EXPECT_EQ(dynamic->GetSpriteFrameCounts(), (std::vector<std::uint32_t>(6, 1)));
    for (std::uint32_t k : {3u, 5u, 0u, 1u})
    {
        ball->SetCurrentAnimationIndex(k, false);
        Tick();
        ASSERT_TRUE(dynamic->HasFrame()) << "animation " << k;
        ASSERT_EQ(dynamic->GetFrameCircleCount(), 1u);
        EXPECT_EQ(dynamic->GetCurrentCircles()[0].radius, 2.0f + static_cast<float>(k)) << "animation " << k;
    }
    // Animations with several frames: (1, 1) is flat frame 3.
    frames.assign(5, FrameShapes());
    for (std::size_t i = 0; i < frames.size(); ++i)
    {
        frames[i].circles = {{Vec(), 10.0f + static_cast<float>(i)}};
    }
    Core::RefPtr<Velkor::Sprite> runner = AddSprite({Animation(2), Animation(3)}, AddActor(frames));
    runner->SetCurrentAnimationIndex(1, false);
    runner->SetCurrentFrameIndex(1, false);
    Tick();
    EXPECT_EQ(runner->GetDynamicCollisionObject()->GetCurrentCircles()[0].radius, 13.0f);
}

TEST_F(SpriteDisplayTest, CollisionDataIsShownAsLinesAndCirclesOfTheLayer)
{
    FrameShapes three;
    three.segments = {{Vec(0, 0), Vec(5, 0)}, {Vec(0, 1), Vec(5, 1)}, {Vec(0, 2), Vec(5, 2)}};
    three.circles = {{Vec(1, 1), 3.0f}};
    FrameShapes two;
    two.segments = {{Vec(0, 7), Vec(5, 7)}, {Vec(0, 8), Vec(5, 8)}};
    Core::RefPtr<Velkor::Sprite> sprite = AddSprite({Animation(2)}, AddActor({three, two}));
    sprite->SetPosition(100.0f, 50.0f);
    sprite->SetZOrder(2.0f);
    sprite->SetCollisionDataColor(0.0f, 1.0f, 0.0f, 1.0f);
    sprite->SetVisibleCollisionData(true);
    Tick(3);
    ASSERT_EQ(sprite->GetCollisionSegmentLines().size(), 3u);
    ASSERT_EQ(sprite->GetCollisionCircles().size(), 1u);
    EXPECT_EQ(sprite->GetShownSegmentCount(), 3u);
    const Velkor::Line& third = *sprite->GetCollisionSegmentLines()[2];
    EXPECT_EQ(third.GetLayer(), layer);
    EXPECT_EQ(third.GetPoint1(), Vec(100, 52));
    EXPECT_EQ(third.GetPoint2(), Vec(105, 52));
    EXPECT_FLOAT_EQ(third.GetZOrder(), 2.1f);
    EXPECT_EQ(third.GetModulationColor().y, 1.0f);
    const Velkor::Circle& circle = *sprite->GetCollisionCircles()[0];
    EXPECT_EQ(circle.GetPosition(), Vec(101, 51));
    EXPECT_EQ(circle.GetRadius(), 3.0f);

    // A frame of two segments after one of three: three lines stay, the
    // third with its old points.
    sprite->SetCurrentFrameIndex(1, false);
    Tick(2);
    EXPECT_EQ(sprite->GetShownSegmentCount(), 2u);
    ASSERT_EQ(sprite->GetCollisionSegmentLines().size(), 3u);
    EXPECT_EQ(sprite->GetCollisionSegmentLines()[0]->GetPoint1(), Vec(100, 57));
    EXPECT_EQ(third.GetPoint1(), Vec(100, 52));

    // A copy starts without display objects.
    Core::RefPtr<Velkor::Sprite> copy(static_cast<Velkor::Sprite*>(sprite->Clone()));
    EXPECT_TRUE(copy->GetCollisionSegmentLines().empty());
    EXPECT_TRUE(copy->GetCollisionCircles().empty());
    EXPECT_EQ(copy->GetShownSegmentCount(), 0u);
    EXPECT_EQ(copy->GetShownCircleCount(), 0u);

    // Off: every display object goes, the one past the shown count too.
    std::vector<Core::RefPtr<Velkor::GameObject>> shown(sprite->GetCollisionSegmentLines().begin(),
                                                        sprite->GetCollisionSegmentLines().end());
    shown.emplace_back(sprite->GetCollisionCircles()[0].Get());
    sprite->SetVisibleCollisionData(false);
    EXPECT_TRUE(sprite->GetCollisionSegmentLines().empty());
    EXPECT_EQ(sprite->GetShownSegmentCount(), 0u);
    Tick();
    for (const auto& object : shown)
    {
        EXPECT_TRUE(object->IsDestroyed());
    }
}

TEST_F(SpriteDisplayTest, TheBoundingRectangleIsFourEdgesInOrder)
{
    FrameShapes frame;
    frame.rectangle = Collision2D::ZibRect(10.0f, 20.0f, 30.0f, 40.0f);
    Core::RefPtr<Velkor::Sprite> sprite = AddSprite({Animation(1)}, AddActor({frame}));
    sprite->SetBoundingRectangleColor(0.0f, 0.0f, 1.0f, 1.0f);
    sprite->SetVisibleBoundingRectangle(true);
    Tick();
    const Collision2D::ZibRect r = sprite->GetDynamicCollisionObject()->GetCurrentBoundingRectangle();
    ASSERT_EQ(r.top, 10.0f);
    ASSERT_EQ(r.left, 20.0f);
    const std::pair<Vec, Vec> edges[] = {{Vec(20, 10), Vec(30, 10)},
                                         {Vec(30, 10), Vec(30, 40)},
                                         {Vec(30, 40), Vec(20, 40)},
                                         {Vec(20, 40), Vec(20, 10)}};
    for (std::size_t i = 0; i < 4; ++i)
    {
        const Core::RefPtr<Velkor::Line>& line = sprite->GetBoundingRectangleLines()[i];
        ASSERT_TRUE(line) << "edge " << i;
        EXPECT_EQ(line->GetPoint1(), edges[i].first) << "edge " << i;
        EXPECT_EQ(line->GetPoint2(), edges[i].second) << "edge " << i;
        EXPECT_EQ(line->GetModulationColor().z, 1.0f);
    }
    Core::RefPtr<Velkor::Line> top = sprite->GetBoundingRectangleLines()[0];
    sprite->SetVisibleBoundingRectangle(false);
    EXPECT_FALSE(sprite->GetBoundingRectangleLines()[0]);
    Tick();
    EXPECT_TRUE(top->IsDestroyed());
}

// Display objects belong to the layer as much as to the sprite: whoever
// destroys one, the sprite never writes it again and makes a new one.
TEST_F(SpriteDisplayTest, ADisplayObjectDestroyedElsewhereIsMadeAgain)
{
    FrameShapes frame;
    frame.segments = {{Vec(0, 0), Vec(4, 0)}};
    frame.circles = {{Vec(0, 0), 2.0f}};
    Core::RefPtr<Velkor::Sprite> sprite = AddSprite({Animation(1)}, AddActor({frame}));
    sprite->SetVisibleCollisionData(true);
    sprite->SetVisibleBoundingRectangle(true);
    Tick(2);
    const Core::RefPtr<Velkor::Line> line = sprite->GetCollisionSegmentLines()[0];
    const Core::RefPtr<Velkor::Circle> circle = sprite->GetCollisionCircles()[0];
    const Core::RefPtr<Velkor::Line> edge = sprite->GetBoundingRectangleLines()[2];
    line->Destroy();
    edge->Destroy();
    // The layer removes it in its next walk, before the sprite's update;
    // the circle goes by the layer's own removal, the way a script does it.
    layer->RemoveGameObject(circle.Get());
    Tick();
    EXPECT_NE(sprite->GetCollisionSegmentLines()[0], line);
    EXPECT_NE(sprite->GetCollisionCircles()[0], circle);
    EXPECT_NE(sprite->GetBoundingRectangleLines()[2], edge);
    EXPECT_TRUE(line->IsDestroyed());
    sprite->SetPosition(10.0f, 0.0f);
    Tick(2);
    EXPECT_EQ(sprite->GetCollisionSegmentLines()[0]->GetPoint2(), Vec(14, 0));
    EXPECT_EQ(sprite->GetCollisionSegmentLines()[0]->GetLayer(), layer);
    EXPECT_EQ(sprite->GetCollisionCircles()[0]->GetPosition(), Vec(10, 0));
    EXPECT_FALSE(sprite->GetCollisionSegmentLines()[0]->IsDestroyed());
    // The layer's Clear detaches every display object; the sprite keeps its
    // references and writes nothing into them once they are gone.
    layer->Clear();
    sprite->UpdateEngineSide(0.0f);
}

TEST_F(SpriteDisplayTest, IsInViewportTestsTheSpriteAgainstTheCamerasViewVolume)
{
    // The level content's arrangement: the camera 927 units in front of
    // the sprites' plane, 1024 x 768 of that plane in view.
    Velkor::Layer& cameraLayer = AddLayer(927.058f);
    Core::RefPtr<Velkor::Camera> camera(new Velkor::Camera(45.0f));
    cameraLayer.AddGameObject(camera.Get());
    Core::RefPtr<Velkor::Viewport> viewport(new Velkor::Viewport(0, 0, 1024, 768));
    viewport->SetCamera(camera.Get());
    // 32 x 32 frames.
    Core::RefPtr<Velkor::Sprite> sprite(new Velkor::Sprite({Animation(1)}));
    layer->AddGameObject(sprite.Get());
    Tick();
    const std::pair<Vec, bool> cases[] = {{Vec(0, 0), true},
                                          {Vec(520, 0), true},
                                          {Vec(-500, 380), true},
                                          {Vec(560, 0), false},
                                          {Vec(0, -420), false}};
    for (const auto& [position, inside] : cases)
    {
        sprite->SetPosition(position);
        EXPECT_EQ(sprite->IsInViewport(viewport.Get()), inside) << position.x << ", " << position.y;
    }
    EXPECT_FALSE(sprite->IsInViewport(nullptr));
    Core::RefPtr<Velkor::Viewport> blind(new Velkor::Viewport(0, 0, 1024, 768));
    EXPECT_FALSE(sprite->IsInViewport(blind.Get()));
}

} // namespace

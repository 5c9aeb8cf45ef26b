// The framework demo's level run as a game without a screen: a fixed step,
// the recording renderer, no person.
#include "../framework/GameTestSupport.h"

#include "Demo_FrameworkLevel.h"

#include "audio/Sound_Data.h"
#include "collision/Collision_CollisionEngine.h"
#include "collision/Collision_CollisionLayer.h"
#include "framework/Velkor_Jukebox.h"
#include "framework/Velkor_Layer.h"
#include "framework/Velkor_Level.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace
{

class DemoGame : public Velkor::Game
{
public:
    explicit DemoGame(const Core::RefPtr<FrameworkDemoFactory>& factory)
        : Velkor::Game(factory, Engine::DisplayRequest{64, 48, 60, 0, false, false}, 0)
    {
    }
};

class FrameworkDemoDisplayTest : public GameTest::GameDisplayTest
{
protected:
    void SetUp() override
    {
        GameTest::GameDisplayTest::SetUp();
        if (IsSkipped())
        {
            return;
        }
        demoFactory = new FrameworkDemoFactory();
        demo = new DemoGame(demoFactory);
        demo->RunFrame();
    }

    void TearDown() override
    {
        demo.Reset();
        demoFactory.Reset();
        GameTest::GameDisplayTest::TearDown();
    }

    Core::RefPtr<FrameworkDemoFactory> demoFactory;
    Core::RefPtr<DemoGame> demo;
};

TEST_F(FrameworkDemoDisplayTest, TheLevelIsBuiltFromTheGeneratedFiles)
{
    Velkor::Level& level = *demo->GetCurrentLevel();
    ASSERT_EQ(level.GetLayers().size(), 3u);
    Velkor::Layer& play = *demoFactory->GetPlayLayer();
    const Collision2D::CollisionLayer& shapes =
        *demo->GetCollisionEngine()->GetLayer(play.GetCollisionLayerIndex());
    // Slot 0 of each kind is never used.
    EXPECT_EQ(shapes.GetCount(Collision2D::CollisionLayer::StaticLineSegments), 9);
    EXPECT_EQ(shapes.GetCount(Collision2D::CollisionLayer::StaticCircles), 4);
    EXPECT_EQ(play.GetCollisionDataLines().size(), 8u);
    EXPECT_EQ(play.GetCollisionDataCircles().size(), 3u);
    std::vector<Core::RefPtr<Velkor::GameObject>> walls;
    play.GetGameObjectsByName("wall", walls);
    EXPECT_EQ(walls.size(), 4u);
    ASSERT_EQ(demoFactory->GetBalls().size(), 14u);
    for (const Core::RefPtr<DemoBall>& ball : demoFactory->GetBalls())
    {
        EXPECT_NE(ball->GetPhysicsId(), 0u);
        EXPECT_NE(ball->GetDynamicCollisionObject(), nullptr);
        // The sheet's 3 x 2 cells of 64.
        EXPECT_EQ(ball->GetFrameWidth(0), 64);
        EXPECT_EQ(ball->GetFramesCount(0), 6u);
    }
}

// 1,200 fixed frames: the balls stay inside the walls, and every bounce off
// a wall sends a ball back with 0.3 of the speed it came in with along the
// wall's normal, so its kinetic energy shrinks.
TEST_F(FrameworkDemoDisplayTest, TwelveHundredFramesKeepTheBallsInsideAndBouncesLoseEnergy)
{
    const float radius = FrameworkDemoFactory::BallRadius;
    const float halfWidth = 440.0f;
    const float halfHeight = 300.0f;
    const std::vector<Core::RefPtr<DemoBall>>& balls = demoFactory->GetBalls();
    std::vector<Math::Vector2D> before(balls.size());
    int bounces = 0;
    float deepest = 0.0f;
    for (int frame = 0; frame < 1200; ++frame)
    {
        for (std::size_t i = 0; i < balls.size(); ++i)
        {
            balls[i]->GetVelocity(before[i]);
        }
        demo->RunFrame();
        for (std::size_t i = 0; i < balls.size(); ++i)
        {
            const Math::Vector2D p = balls[i]->GetPosition();
            ASSERT_LT(std::fabs(p.x), halfWidth) << "ball " << i << " frame " << frame;
            ASSERT_LT(std::fabs(p.y), halfHeight) << "ball " << i << " frame " << frame;
            deepest = std::max(
                {deepest, std::fabs(p.x) - (halfWidth - radius), std::fabs(p.y) - (halfHeight - radius)});
            Math::Vector2D after;
            balls[i]->GetVelocity(after);
            // A bounce off a side wall flips x, off the floor or the ceiling
            // y, with nothing else near.
            bool alone = true;
            for (std::size_t j = 0; j < balls.size(); ++j)
            {
                alone = alone && (j == i || (balls[j]->GetPosition() - p).Length() > 2.0f * radius + 8.0f);
            }
            const bool side = std::fabs(p.x) > halfWidth - radius - 8.0f && before[i].x * after.x < 0.0f;
            const bool floor = std::fabs(p.y) > halfHeight - radius - 8.0f && before[i].y * after.y < 0.0f;
            if (!alone || side == floor || std::fabs(side ? before[i].x : before[i].y) < 1.0f)
            {
                continue;
            }
            ++bounces;
            const float in = std::fabs(side ? before[i].x : before[i].y);
            const float out = std::fabs(side ? after.x : after.y);
            EXPECT_NEAR(out / in, 0.3f, 0.02f) << "ball " << i << " frame " << frame;
            EXPECT_LT(after.Length(), before[i].Length()) << "ball " << i << " frame " << frame;
        }
    }
    EXPECT_GT(bounces, 5);
    // Contacts are found before the balls sink into the walls.
    EXPECT_LT(deepest, 4.0f);
}

// The generated music plays from the first frame, and balls coming into
// contact play the generated bounce.
TEST_F(FrameworkDemoDisplayTest, TheGeneratedMusicPlaysAndBallsBounceAudibly)
{
    Velkor::JukeBox* music = demo->GetCurrentLevel()->GetJukeBox();
    ASSERT_NE(music, nullptr);
    ASSERT_EQ(music->GetMusicData().size(), 1u) << "the generated track loads";
    EXPECT_EQ(music->GetMusicData()[0]->GetBuffers().size(), 2u) << "streamed";
    Velkor::Sound* bounce = demoFactory->GetBounceSound();
    ASSERT_NE(bounce, nullptr);
    ASSERT_NE(bounce->GetSoundData(), nullptr) << "the generated effect loads";

    std::uint32_t played = 0;
    bool heard = false;
    // The track is about 30 s long; a slow run reaches its end, and the
    // jukebox starts it again on its next update: between the two the music
    // may be silent for one frame, never for two.
    bool silentBefore = false;
    for (int frame = 0; frame < 600; ++frame)
    {
        demo->RunFrame();
        const bool silent = !music->IsPlaying();
        ASSERT_FALSE(silent && (frame == 0 || silentBefore)) << "frame " << frame;
        silentBefore = silent;
        EXPECT_EQ(music->GetCurrentTrack(), 0);
        heard = heard || bounce->IsPlaying();
    }
    for (const Core::RefPtr<DemoBall>& ball : demoFactory->GetBalls())
    {
        played += ball->GetBouncesPlayed();
    }
    EXPECT_GT(played, 5u);
    EXPECT_TRUE(heard);
    EXPECT_NEAR(music->GetMusicVolume(), 0.4f, 1e-6f);
}

} // namespace

// The content of the menu and end screens as the real factory builds it:
// objects per layer, their classes, actors, collision objects, bodies and
// the values the screens' code relies on.
#include "LevelsTestSupport.h"

#include "collision/Collision_DynamicObject.h"
#include "framework/Velkor_Layer.h"
#include "framework/Velkor_Level.h"
#include "framework/Velkor_Sound.h"
#include "framework/Velkor_Sprite.h"
#include "framework/Velkor_Text.h"
#include "game/Brillow_Level_Class0.h"
#include "game/Brillow_Lose.h"
#include "game/Brillow_Win.h"
#include "game/Brillow_copy1Lose.h"

#include <gtest/gtest.h>

#include <typeinfo>

namespace
{

using namespace BrillowTest;
using Vec = Math::Vector2D;

class ScreenContentDisplayTest : public LevelsDisplayTest
{
protected:
    void SetUp() override
    {
        LevelsDisplayTest::SetUp();
        if (IsSkipped())
        {
            return;
        }
        Start();
        Frame();
    }

    Velkor::Level* Build(std::uint32_t index)
    {
        game->ChangeLevel(index);
        Frame();
        EXPECT_EQ(game->GetCurrentLevelIndex(), index);
        return game->GetCurrentLevel();
    }

    // The objects the builders made for the level, in creation order.
    const std::vector<Velkor::GameObject*>& Made(std::uint32_t index) const
    {
        return factory->GetBuiltObjects(index);
    }

    Velkor::GameObject* Named(std::uint32_t index, const std::string& name) const
    {
        for (Velkor::GameObject* object : Made(index))
        {
            if (object->GetName() == name)
            {
                return object;
            }
        }
        return nullptr;
    }

    Velkor::Sprite* Sprite(std::uint32_t index, const std::string& name) const
    {
        return dynamic_cast<Velkor::Sprite*>(Named(index, name));
    }
};

TEST_F(ScreenContentDisplayTest, EachScreenHoldsItsObjectsInOrderWithTheirClasses)
{
    struct Screen
    {
        std::uint32_t index;
        const std::type_info& levelClass;
        std::uint32_t counts[3];
        // In creation order: object name and class name.
        std::vector<std::pair<const char*, const char*>> objects;
    };
    const Screen screens[] = {
        {0,
         typeid(Level_Class0),
         {2, 8, 1},
         {{"sprite1", "introBG"},
          {"sprite0", "IntroClass"},
          {"buttonsound1", "ButtonSound1"},
          {"background", "Velkor::Sprite"},
          {"startButton", "startButtonClass"},
          {"tutorialButton", "tutorialButtonClass"},
          {"OptionsButton", "MainMenuOptionsButtonClass"},
          {"ExitButton", "MainMenuExit"},
          {"CreditButton", "MainMenuCreditButtonClass"},
          {"playerball", "SpriteMouseClass"}}},
        {2,
         typeid(Lose),
         {0, 4, 1},
         {{"scoreText", "Velkor::Text"},
          {"breakball", "BreakBall"},
          {"lose_background", "Velkor::Sprite"},
          {"sprite0", "Velkor::Sprite"}}},
        {3,
         typeid(Win),
         {1, 4, 1},
         {{"scoreText", "Velkor::Text"},
          {"buttonsound", "ButtonSound"},
          {"win", "Velkor::Sprite"},
          {"MainMenu", "GoToMainMenuClass"},
          {"playerball", "SpriteMouseClass"}}},
        {8,
         typeid(copy1Lose),
         {0, 5, 1},
         {{"scoreText", "Velkor::Text"},
          {"buttonsound", "ButtonSound"},
          {"lose_background", "Velkor::Sprite"},
          {"MainMenu", "GoToMainMenuClass"},
          {"playerball", "SpriteMouseClass"}}},
        {5,
         typeid(Velkor::Level),
         {0, 4, 1},
         {{"buttonsound", "ButtonSound"},
          {"CreditPage", "Velkor::Sprite"},
          {"MainMenu", "GoToMainMenuClass"},
          {"playerball", "SpriteMouseClass"}}},
        {6, typeid(Velkor::Level), {0, 1, 1}, {{"sprite0", "Velkor::Sprite"}}},
        {7,
         typeid(Velkor::Level),
         {0, 6, 1},
         {{"buttonsound", "ButtonSound"},
          {"sprite0", "Velkor::Sprite"},
          {"FullScreenButton", "FullScreenButtonClass"},
          {"MainMenu", "GoToMainMenuClass"},
          {"MuteButton", "MuteButtonClass"},
          {"playerball", "SpriteMouseClass"}}},
    };
    for (const Screen& screen : screens)
    {
        SCOPED_TRACE(screen.index);
        Velkor::Level* level = Build(screen.index);
        ASSERT_NE(level, nullptr);
        EXPECT_TRUE(typeid(*level) == screen.levelClass) << typeid(*level).name();
        Velkor::Layer::ObjectList objects;
        for (std::uint32_t i = 0; i < 3; ++i)
        {
            level->GetLayer(i)->GetGameObjects(objects);
            EXPECT_EQ(objects.size(), screen.counts[i]) << "layer " << i;
        }
        const std::vector<Velkor::GameObject*>& made = Made(screen.index);
        ASSERT_EQ(made.size(), screen.objects.size());
        for (std::size_t i = 0; i < made.size(); ++i)
        {
            EXPECT_EQ(made[i]->GetName(), screen.objects[i].first);
            EXPECT_STREQ(made[i]->GetClassName(), screen.objects[i].second) << made[i]->GetName();
        }
    }
}

TEST_F(ScreenContentDisplayTest, TheMainMenusSpritesCollideByRectangleWithActorsInOrder)
{
    Build(0);
    const char* idle[] = {"startButton", "tutorialButton", "OptionsButton", "ExitButton", "playerball"};
    std::int32_t actor = 0;
    for (Velkor::GameObject* object : Made(0))
    {
        auto* sprite = dynamic_cast<Velkor::Sprite*>(object);
        if (sprite == nullptr)
        {
            continue;
        }
        SCOPED_TRACE(sprite->GetName());
        EXPECT_EQ(sprite->GetCollisionActorIndex(), actor++);
        const Collision2D::DynamicObject* dynamic = sprite->GetDynamicCollisionObject();
        ASSERT_NE(dynamic, nullptr);
        EXPECT_EQ(dynamic->GetCollisionType(), 0);
        EXPECT_EQ(dynamic->GetCollisionThickness(), 4.0f);
        EXPECT_TRUE(dynamic->GetCanCollid(0));
        EXPECT_EQ(sprite->GetPhysicsId(), 0u);
        EXPECT_EQ(dynamic->GetUpdateOnIdle(),
                  std::find(std::begin(idle), std::end(idle), sprite->GetName()) != std::end(idle));
        EXPECT_EQ(sprite->IsPlaying(), sprite->GetName() == "background" ||
                                           sprite->GetName() == "playerball" ||
                                           sprite->GetName().rfind("sprite", 0) == 0);
    }
    EXPECT_EQ(actor, 9);
    EXPECT_EQ(Sprite(0, "CreditButton")->GetZOrder(), 0.0f);
    EXPECT_EQ(Sprite(0, "startButton")->GetZOrder(), -0.1f);
    EXPECT_EQ(Sprite(0, "startButton")->GetPosition(), Vec(-242.0f, -48.0f));
    EXPECT_TRUE(Sprite(0, "sprite1")->IsHUDObject());
    EXPECT_TRUE(Sprite(0, "sprite0")->IsHUDObject());
    EXPECT_EQ(Sprite(0, "sprite0")->GetFramesCount(0), 2u);
    EXPECT_EQ(Sprite(0, "playerball")->GetAnimationsCount(), 1u);
    EXPECT_EQ(Sprite(0, "playerball")->GetFramesCount(0), 6u);
}

TEST_F(ScreenContentDisplayTest, TheEndScreensCarryTheFullBallAndTheirBackButtons)
{
    struct Case
    {
        std::uint32_t index;
        float ballDepth;
        float buttonY;
        bool hudScore;
    };
    for (const Case& c : {Case{3, 0.0f, -292.0f, true}, Case{8, 0.2f, -264.0f, false}})
    {
        SCOPED_TRACE(c.index);
        Build(c.index);
        Velkor::Sprite* ball = Sprite(c.index, "playerball");
        ASSERT_NE(ball, nullptr);
        EXPECT_EQ(ball->GetAnimationsCount(), 7u);
        EXPECT_EQ(ball->GetFramesCount(5), 1u);
        EXPECT_EQ(ball->GetFrameDelay(6, 0), 0.05f);
        EXPECT_NE(ball->GetPhysicsId(), 0u);
        EXPECT_EQ(ball->GetZOrder(), c.ballDepth);
        EXPECT_EQ(ball->GetCollisionActorIndex(), 26);
        const Collision2D::DynamicObject* dynamic = ball->GetDynamicCollisionObject();
        ASSERT_NE(dynamic, nullptr);
        EXPECT_EQ(dynamic->GetCollisionType(), 1);
        EXPECT_EQ(dynamic->GetCollisionThickness(), 10.0f);
        for (std::uint8_t z = 0; z < 5; ++z)
        {
            EXPECT_EQ(dynamic->GetCanCollid(z), z < 4) << int(z);
        }
        EXPECT_EQ(Sprite(c.index, "MainMenu")->GetPosition(), Vec(6.0f, c.buttonY));
        auto* score = dynamic_cast<Velkor::Text*>(Named(c.index, "scoreText"));
        ASSERT_NE(score, nullptr);
        EXPECT_EQ(score->GetLayer()->GetIndex(), c.hudScore ? 0u : 1u);
        EXPECT_EQ(score->IsHUDObject(), c.hudScore);
        auto* sound = dynamic_cast<Velkor::Sound*>(Named(c.index, "buttonsound"));
        ASSERT_NE(sound, nullptr);
        EXPECT_EQ(sound->GetPosition(), Vec(30.0f, 0.0f));
    }
    Build(2);
    Velkor::Sprite* death = Sprite(2, "sprite0");
    EXPECT_EQ(death->GetFramesCount(0), 8u);
    EXPECT_FALSE(death->GetLoop());
}

TEST_F(ScreenContentDisplayTest, CreditsAndOptionsCarryTheMenuBall)
{
    Build(5);
    Velkor::Sprite* credits = Sprite(5, "playerball");
    EXPECT_TRUE(credits->IsPlaying());
    EXPECT_EQ(credits->GetZOrder(), 1.0f);
    EXPECT_EQ(Sprite(5, "MainMenu")->GetCollisionActorIndex(), 33);
    EXPECT_EQ(dynamic_cast<Velkor::Sound*>(Named(5, "buttonsound"))->GetPosition(), Vec(30.0f, 0.0f));
    Build(7);
    Velkor::Sprite* options = Sprite(7, "playerball");
    EXPECT_FALSE(options->IsPlaying());
    EXPECT_EQ(options->GetZOrder(), 0.5f);
    EXPECT_EQ(options->GetCollisionActorIndex(), 8);
    EXPECT_FALSE(options->GetDynamicCollisionObject()->GetUpdateOnIdle());
    EXPECT_EQ(Sprite(7, "MuteButton")->GetFramesCount(0), 4u);
    EXPECT_EQ(Sprite(7, "MainMenu")->GetPosition(), Vec(424.0f, 322.0f));
    EXPECT_EQ(Sprite(7, "MainMenu")->GetCollisionActorIndex(), 39);
    EXPECT_FALSE(Sprite(7, "sprite0")->GetLoop());
}

} // namespace

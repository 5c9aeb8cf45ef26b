// The arena borders: their colour machines over the player ball's power
// and damage flags, on a play level holding a player ball named
// "playerball" (or none).
#include "GameTestSupport.h"

#include "game/Brillow_BorderClass.h"
#include "game/Brillow_BorderClassT.h"
#include "game/Brillow_SpriteMouseClass.h"
#include "game/Brillow_SpriteMouseClassT.h"

#include <gtest/gtest.h>

namespace
{

using namespace BrillowTest;

struct Step
{
    std::uint8_t powered;
    std::uint8_t damaged;
    const char* state;
    bool visible;
};

struct BorderCase
{
    const char* what;
    std::vector<Step> steps;
};

// Each step: the player's flags for one update, then the border's state.
const BorderCase Cases[] = {
    {"the first update hides the border", {{0, 0, "NOT_VISIBLE", false}, {0, 0, "NOT_VISIBLE", false}}},
    {"damage is tested before power, then power wins",
     {{0, 0, "NOT_VISIBLE", false}, {1, 1, "RED", true}, {1, 1, "BLUE", true}, {0, 0, "NOT_VISIBLE", false}}},
    {"blue stays blue while damaged",
     {{0, 0, "NOT_VISIBLE", false},
      {1, 0, "BLUE", true},
      {0, 1, "BLUE", true},
      {1, 1, "BLUE", true},
      {0, 0, "NOT_VISIBLE", false}}},
    {"red stays red while damaged, hides when clear",
     {{0, 0, "NOT_VISIBLE", false}, {0, 1, "RED", true}, {0, 1, "RED", true}, {0, 0, "NOT_VISIBLE", false}}},
};

class BorderDisplayTest : public MyGameDisplayTest
{
protected:
    template <class Border, class Player> void Run(bool withPlayer)
    {
        MakeGame();
        Tick(3);
        Velkor::Layer* layer = game->GetCurrentLevel()->GetLayer(1);
        Core::RefPtr<Player> player(new Player());
        player->SetName("playerball");
        if (withPlayer)
        {
            layer->AddGameObject(player.Get(), false, nullptr);
        }
        for (const BorderCase& c : Cases)
        {
            SCOPED_TRACE(c.what);
            Core::RefPtr<Border> border(new Border());
            border->SetVisible(true);
            for (const Step& step : c.steps)
            {
                player->powered = step.powered;
                player->damaged = step.damaged;
                border->Update(1.0f / 60.0f);
                // Without a player ball every flag reads clear: hidden throughout.
                EXPECT_EQ(border->colourSM->GetCurrentState()->name,
                          withPlayer ? step.state : std::string("NOT_VISIBLE"));
                EXPECT_EQ(border->GetVisible(), withPlayer && step.visible);
            }
        }
    }
};

TEST_F(BorderDisplayTest, ThePlayLevelsBorderFollowsThePlayerBall)
{
    Run<BorderClass, SpriteMouseClass>(true);
}

TEST_F(BorderDisplayTest, TheTutorialsBorderFollowsItsPlayerBallAndStoresItsStatesInItsOwnOrder)
{
    Run<BorderClassT, SpriteMouseClassT>(true);
    Core::RefPtr<BorderClassT> border(new BorderClassT());
    EXPECT_EQ(border->colourSM->GetCurrentStateIndex(), 2u);
    EXPECT_EQ(Core::RefPtr<BorderClass>(new BorderClass())->colourSM->GetCurrentStateIndex(), 1u);
}

TEST_F(BorderDisplayTest, WithoutAPlayerBallTheBorderStaysHidden)
{
    Run<BorderClass, SpriteMouseClass>(false);
}

// A copy has its own machine, in the state of the original's, owned by
// the copy.
TEST_F(BorderDisplayTest, ACopyCarriesItsOwnMachine)
{
    MakeGame();
    Tick(3);
    Core::RefPtr<BorderClass> border(new BorderClass());
    border->Update(1.0f / 60.0f);
    Core::RefPtr<BorderClass> copy(static_cast<BorderClass*>(border->Clone()));
    ASSERT_NE(copy->colourSM.Get(), border->colourSM.Get());
    EXPECT_EQ(copy->colourSM->GetOwner(), copy.Get());
    EXPECT_EQ(copy->colourSM->GetCurrentState()->name, std::string("NOT_VISIBLE"));
}

} // namespace

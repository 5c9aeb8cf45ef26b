#include "../framework/SpriteTestSupport.h"
#include "GameTestSupport.h"

#include "collision/Collision_DynamicObject.h"
#include "game/Brillow_ExitButtonClass.h"
#include "game/Brillow_FullScreenButtonClass.h"
#include "game/Brillow_GoToMainMenuClass.h"
#include "game/Brillow_MainMenuCreditButtonClass.h"
#include "game/Brillow_MainMenuOptionsButtonClass.h"
#include "game/Brillow_MuteButtonClass.h"
#include "game/Brillow_OptionButtonClass.h"
#include "game/Brillow_Sounds.h"
#include "game/Brillow_startButtonClass.h"
#include "game/Brillow_tutorialButtonClass.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace
{

using namespace BrillowTest;
using SpriteTest::FrameShapes;
using Vec = Math::Vector2D;

const Vec Away(300.0f, 200.0f);
constexpr std::uint8_t LeftButton = 1;

// Buttons on a play level, a cursor sprite moved onto them and off, and
// the two hover sounds.
class ButtonTest : public MyGameDisplayTest
{
protected:
    void SetUp() override
    {
        MyGameDisplayTest::SetUp();
        if (IsSkipped())
        {
            return;
        }
        MakeGame();
        // The first frame only makes the level; the level machine's first
        // update asks for the main menu again, built on the third.
        Tick(3);
        level = dynamic_cast<FlagLevel*>(game->GetCurrentLevel());
        ASSERT_NE(level, nullptr);
        layer = level->GetLayer(1);
        layer->SetCollisionProperties(Vec(-512.0f, -384.0f), 1024, 768, 100);
        FrameShapes square;
        square.rectangle = {20.0f, -20.0f, 20.0f, -20.0f};
        game->AddCollisionAssets(SpriteTest::MakeActor({square, square, square, square}));
        actor = game->GetCollisionAssets().back().get();
        menuSound = AddSound<ButtonSound1>("buttonsound1");
        sound = AddSound<ButtonSound>("buttonsound");
    }

    template <class S> S* AddSound(const std::string& name)
    {
        auto* made = new S(game->GetDirectory() + "\\Resources\\Sounds\\Switch.wav", 0, 10.0f, 0, 0.0f, 0);
        made->SetName(name);
        layer->AddGameObject(made);
        return made;
    }

    // A rectangle-tested collision object, as the level content gives
    // buttons and cursors.
    void Collide(Velkor::Sprite& sprite)
    {
        auto* dynamic = new Collision2D::DynamicObject();
        dynamic->AddCollisionData(actor, 0, 0);
        dynamic->SetCollisionType(0);
        dynamic->SetCanCollid(0, true);
        dynamic->SetUpdateOnIdle(true);
        ASSERT_TRUE(sprite.AddCollision(dynamic, layer->GetCollisionLayerIndex()));
    }

    Velkor::Sprite::AnimationList Sheet(const std::string& name, std::size_t frames)
    {
        return {SpriteTest::MakeAnimation(folder.Sheet(name + ".png", 16, 16), 2, 2, frames)};
    }

    template <class Button> Button& AddButton(bool collide = true)
    {
        auto* button = new Button(Sheet("button" + std::to_string(sheets++), 4));
        if (collide)
        {
            Collide(*button);
        }
        layer->AddGameObject(button);
        return *button;
    }

    Velkor::Sprite& AddCursor(const std::string& name)
    {
        auto* cursor = new Velkor::Sprite(Sheet(name, 1));
        cursor->SetName(name);
        cursor->SetPosition(Away);
        Collide(*cursor);
        layer->AddGameObject(cursor);
        return *cursor;
    }

    // One frame with the left button down or up.
    void Frame(bool leftDown)
    {
        input.SetKeyDown(LeftButton, leftDown);
        Tick();
    }

    std::uint8_t& Flag(PlayFlag flag) { return level->flags[static_cast<std::size_t>(flag)]; }

    SpriteTest::SheetFolder folder;
    int sheets = 0;
    FlagLevel* level = nullptr;
    Velkor::Layer* layer = nullptr;
    Collision2D::CollisionActor* actor = nullptr;
    ButtonSound1* menuSound = nullptr;
    ButtonSound* sound = nullptr;
};

TEST_F(ButtonTest, TheHoverSoundPlaysOncePerEntryAndOnlyAPressOnTheButtonClicks)
{
    startButtonClass& button = AddButton<startButtonClass>();
    Velkor::Sprite& cursor = AddCursor("playerball");
    Tick(3);
    EXPECT_EQ(button.hovered, 0);
    EXPECT_EQ(button.GetCurrentFrameIndex(), 0u);

    // Onto the button with the left button already held: no click.
    input.SetKeyDown(LeftButton, true);
    Tick();
    cursor.SetPosition(Vec());
    Frame(true);
    Frame(true);
    Frame(true);
    EXPECT_EQ(button.hovered, 1);
    EXPECT_EQ(button.GetCurrentFrameIndex(), 1u);
    EXPECT_EQ(menuSound->GetPlayCount(), 1u);
    EXPECT_EQ(sound->GetPlayCount(), 0u);
    EXPECT_EQ(game->startRequested, 0);

    // Released and pressed again on it: one click.
    Frame(false);
    Frame(true);
    EXPECT_EQ(game->startRequested, 1);
    game->startRequested = 0;
    EXPECT_EQ(menuSound->GetPlayCount(), 1u);

    // Off and back on: the sound again. A cursor's move is swept: the
    // contacts of the step it moved in still cover its way.
    cursor.SetPosition(Away);
    Tick(3);
    EXPECT_EQ(button.hovered, 0);
    EXPECT_EQ(button.GetCurrentFrameIndex(), 0u);
    cursor.SetPosition(Vec());
    Tick(3);
    EXPECT_EQ(menuSound->GetPlayCount(), 2u);
}

TEST_F(ButtonTest, EachMenuButtonWritesItsRequestWithItsHoverSound)
{
    struct Case
    {
        const char* name;
        std::function<GameButton&()> add;
        std::uint8_t MyGame::*request;
        bool mainMenuSound;
    };
    const Case cases[] = {
        {"start", [&]() -> GameButton& { return AddButton<startButtonClass>(); }, &MyGame::startRequested,
         true},
        {"tutorial", [&]() -> GameButton& { return AddButton<tutorialButtonClass>(); },
         &MyGame::tutorialRequested, true},
        {"credits", [&]() -> GameButton& { return AddButton<MainMenuCreditButtonClass>(); },
         &MyGame::creditsRequested, true},
        {"options", [&]() -> GameButton& { return AddButton<MainMenuOptionsButtonClass>(); },
         &MyGame::optionsRequested, true},
        {"back", [&]() -> GameButton& { return AddButton<GoToMainMenuClass>(); },
         &MyGame::backToMenuRequested, false},
    };
    Velkor::Sprite& cursor = AddCursor("playerball");
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        GameButton& button = c.add();
        const std::uint32_t menuPlays = menuSound->GetPlayCount();
        const std::uint32_t plays = sound->GetPlayCount();
        (*game).*c.request = 0;
        cursor.SetPosition(Vec());
        Frame(false);
        Frame(false);
        Frame(true);
        EXPECT_EQ((*game).*c.request, 1);
        // Taken back before the level machine sees it, so the test level stays.
        (*game).*c.request = 0;
        EXPECT_EQ(menuSound->GetPlayCount() - menuPlays, c.mainMenuSound ? 1u : 0u);
        EXPECT_EQ(sound->GetPlayCount() - plays, c.mainMenuSound ? 0u : 1u);
        button.Destroy();
        cursor.SetPosition(Away);
        Frame(false);
        ASSERT_EQ(game->GetCurrentLevel(), level);
    }
}

TEST_F(ButtonTest, TheFullScreenButtonTogglesTheWindowMode)
{
    AddButton<FullScreenButtonClass>();
    Velkor::Sprite& cursor = AddCursor("playerball");
    auto& renderer = static_cast<Renderer::RecordingRenderer&>(*game->GetRenderer());
    const std::size_t before = renderer.CountCalls("ToggleFullScreen");
    cursor.SetPosition(Vec());
    Frame(false);
    Frame(false);
    Frame(true);
    Frame(true);
    EXPECT_EQ(renderer.CountCalls("ToggleFullScreen") - before, 1u);
    EXPECT_EQ(sound->GetPlayCount(), 1u);
}

TEST_F(ButtonTest, TheMuteButtonTogglesTheMasterVolumeAndShowsItsFourFrames)
{
    MuteButtonClass& button = AddButton<MuteButtonClass>();
    Velkor::Sprite& cursor = AddCursor("playerball");
    Tick(3);
    EXPECT_EQ(button.GetCurrentFrameIndex(), MuteButtonClass::SoundOnIdle);
    cursor.SetPosition(Vec());
    Frame(false);
    Frame(false);
    EXPECT_EQ(button.GetCurrentFrameIndex(), MuteButtonClass::SoundOnPointed);
    Frame(true);
    EXPECT_EQ(game->muted, 1);
    EXPECT_EQ(game->GetMasterVolume(), 0.0f);
    Frame(true);
    EXPECT_EQ(button.GetCurrentFrameIndex(), MuteButtonClass::MutedPointed);
    cursor.SetPosition(Away);
    Tick(3);
    EXPECT_EQ(button.GetCurrentFrameIndex(), MuteButtonClass::MutedIdle);
    EXPECT_EQ(sound->GetPlayCount(), 1u);
    cursor.SetPosition(Vec());
    Frame(false);
    Frame(false);
    EXPECT_EQ(button.GetCurrentFrameIndex(), MuteButtonClass::MutedPointed);
    EXPECT_EQ(sound->GetPlayCount(), 2u);
    Frame(true);
    EXPECT_EQ(game->muted, 0);
    EXPECT_EQ(game->GetMasterVolume(), 1.0f);
    Frame(false);
    EXPECT_EQ(button.GetCurrentFrameIndex(), MuteButtonClass::SoundOnPointed);
}

TEST_F(ButtonTest, OverlayButtonsShowWhilePausedAndHideForTheDialogAndThePrompt)
{
    struct Case
    {
        const char* name;
        std::function<GameButton&()> add;
    };
    const Case cases[] = {
        {"exit", [&]() -> GameButton& { return AddButton<ExitButtonClass>(); }},
        {"option", [&]() -> GameButton& { return AddButton<OptionButtonClass>(); }},
    };
    Velkor::Sprite& cursor = AddCursor("PauseMouse");
    cursor.SetPosition(Vec());
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Flag(PlayFlag::Paused) = 0;
        Flag(PlayFlag::QuitDialogOpen) = 0;
        GameButton& button = c.add();
        button.SetVisible(true);
        Tick();
        EXPECT_FALSE(button.GetVisible());
        Frame(true);
        EXPECT_EQ(Flag(PlayFlag::QuitDialogOpen), 0);

        Flag(PlayFlag::Paused) = 1;
        Frame(false);
        EXPECT_TRUE(button.GetVisible());
        Flag(PlayFlag::ResumePrompt) = 1;
        Frame(true);
        EXPECT_FALSE(button.GetVisible());
        EXPECT_EQ(Flag(PlayFlag::QuitDialogOpen), 0);
        Flag(PlayFlag::ResumePrompt) = 0;
        Frame(false);
        Frame(false);
        EXPECT_TRUE(button.GetVisible());
        EXPECT_EQ(button.GetCurrentFrameIndex(), 1u);
        Frame(true);
        EXPECT_EQ(Flag(PlayFlag::QuitDialogOpen), 1);
        Tick();
        EXPECT_FALSE(button.GetVisible());
        button.Destroy();
    }
}

// A network client's buttons have no collision object: never pointed at.
TEST_F(ButtonTest, AButtonWithoutACollisionObjectIsNeverPointedAt)
{
    startButtonClass& button = AddButton<startButtonClass>(false);
    button.SetPosition(Vec());
    Velkor::Sprite& cursor = AddCursor("playerball");
    cursor.SetPosition(Vec());
    Frame(false);
    Frame(true);
    EXPECT_EQ(button.hovered, 0);
    EXPECT_EQ(game->startRequested, 0);
    EXPECT_EQ(menuSound->GetPlayCount(), 0u);
}

} // namespace

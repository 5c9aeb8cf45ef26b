// The screen levels at work on the real game: the main menu's intro, the
// lose screens' score and timing, the win screen and its way back.
#include "LevelsTestSupport.h"

#include "engine/Engine_BitmapFont.h"
#include "engine/Engine_Text.h"
#include "framework/Velkor_Text.h"
#include "game/Brillow_FindObjects.h"
#include "game/Brillow_IntroClass.h"
#include "game/Brillow_Sounds.h"
#include "game/Brillow_SpriteMouseClass.h"
#include "game/Brillow_introBG.h"
#include "input/Input_KeyCodes.h"
#include "input/Input_ScriptedInputSource.h"

#include <gtest/gtest.h>
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#include <stb/stb_image.h>

#include <filesystem>

namespace
{

using namespace BrillowTest;
using Event = Harness::InputEvent;

// The level machine's first entry into "S0" has the main menu built a
// second time, on frame 3; the intro starts there.
constexpr std::uint32_t MenuBuilt = 3;

class ScreenLevelsDisplayTest : public LevelsDisplayTest
{
protected:
    // Frames until `until` holds, at most `limit`.
    void RunUntil(const std::function<bool()>& until, std::uint32_t limit)
    {
        for (std::uint32_t i = 0; i < limit && !until(); ++i)
        {
            Frame();
        }
    }

    static Event Key(std::uint32_t frame, Event::Kind kind, std::uint8_t virtualKey)
    {
        Event event;
        event.frame = frame;
        event.kind = kind;
        event.virtualKey = virtualKey;
        return event;
    }

    std::string ScoreText() const
    {
        const Velkor::Text* text = FindObject<Velkor::Text>("scoreText");
        return text != nullptr ? text->GetText() : std::string("(none)");
    }
};

TEST_F(ScreenLevelsDisplayTest, TheIntroFadesBothPicturesThenUncoversTheMenu)
{
    Start({[]
           {
               Event move;
               move.frame = 2;
               move.x = 100;
               move.y = 100;
               return move;
           }()});
    Frame(MenuBuilt);
    IntroClass* intro = FindObject<IntroClass>("sprite0");
    ASSERT_NE(intro, nullptr);
    // Frame updates since the build, the build's own included.
    std::uint32_t updates = 1;
    std::uint32_t peak = 0;
    std::uint32_t secondPicture = 0;
    while (game->introRunning == 1 && updates < 600)
    {
        if (intro->GetOpacity() == IntroClass::Peak && peak == 0)
        {
            peak = updates;
        }
        if (intro->GetCurrentFrameIndex() == 1 && secondPicture == 0)
        {
            secondPicture = updates;
        }
        EXPECT_EQ(FindObject<SpriteMouseClass>("playerball")->GetPosition(), Math::Vector2D(0.0f, -5.0f));
        Frame();
        ++updates;
    }
    EXPECT_EQ(peak, 127u);
    // 128 steps down to nothing, and the second picture takes over and
    // takes its first step in the same update; it then needs 127 steps up
    // and 128 down.
    EXPECT_EQ(secondPicture, 127u + 128u);
    EXPECT_EQ(updates, 127u + 128u + 127u + 128u);
    EXPECT_TRUE(intro->GetVisible());
    Frame();
    EXPECT_FALSE(intro->GetVisible());
    EXPECT_FALSE(FindObject<introBG>("sprite1")->GetVisible());
    // The ball is free from then on: it follows the mouse.
    EXPECT_EQ(FindObject<SpriteMouseClass>("playerball")->GetPosition(), Math::Vector2D(-412.0f, -284.0f));
}

TEST_F(ScreenLevelsDisplayTest, AClickEnterOrSpaceEndsTheIntroAtOnce)
{
    for (const std::uint8_t key :
         {std::uint8_t{1}, Input::ToVirtualKey(Input::Key::Return), Input::ToVirtualKey(Input::Key::Space)})
    {
        SCOPED_TRACE(int(key));
        Start({Key(20, Event::Kind::KeyDown, key), Key(21, Event::Kind::KeyUp, key)});
        Frame(19);
        IntroClass* intro = FindObject<IntroClass>("sprite0");
        ASSERT_NE(intro, nullptr);
        EXPECT_EQ(game->introRunning, 1);
        Frame();
        EXPECT_EQ(game->introRunning, 0);
        EXPECT_EQ(intro->GetCurrentFrameIndex(), 0u);
        Frame();
        EXPECT_FALSE(intro->GetVisible());
        EXPECT_EQ(intro->GetCurrentFrameIndex(), 0u);
        harness.Reset();
        game = nullptr;
    }
}

TEST_F(ScreenLevelsDisplayTest, TheLoseScreensShowTheFinalScoreAndMoveOnAfterASecond)
{
    Start();
    Frame(MenuBuilt);
    game->totalScore = 470;
    game->ChangeLevel(2);
    Frame();
    ASSERT_EQ(game->GetCurrentLevelIndex(), 2u);
    // Held past the level's end, to see that its end stopped it.
    Core::RefPtr<BreakBall> breakball(FindObject<BreakBall>("breakball"));
    ASSERT_TRUE(breakball);
    EXPECT_EQ(breakball->GetPlayCount(), 1u);
    EXPECT_TRUE(breakball->IsPlaying());
    EXPECT_GE(game->totalScore, 470);
    EXPECT_EQ(ScoreText(), "FINAL SCORE: " + std::to_string(game->totalScore));
    const std::uint32_t start = FrameNumber();
    RunUntil([this] { return game->GetCurrentLevelIndex() == 8; }, 100);
    // The 60th update asks for level 8, built on the next frame.
    EXPECT_EQ(FrameNumber() - start, 60u);
    EXPECT_FALSE(breakball->IsPlaying());
    breakball = nullptr;
    game->totalScore = 480;
    Frame();
    EXPECT_EQ(ScoreText(), "FINAL SCORE: 480");
}

// Winning goes from the play level to the WIN screen with the run's score;
// its button (pressed here through the request it writes) leads back to the
// menu at stage 1.
TEST_F(ScreenLevelsDisplayTest, TheWinScreenShowsTheScoreAndLeadsBackToTheMenu)
{
    Start();
    Frame(MenuBuilt);
    game->startRequested = 1;
    RunUntil([this] { return game->GetCurrentLevelIndex() == 1; }, 200);
    game->totalScore = 1230;
    game->stage = 6;
    RunUntil([this] { return game->GetCurrentLevelIndex() == 3; }, 10);
    ASSERT_EQ(game->GetCurrentLevel()->GetName(), "WIN");
    Frame();
    // The play level may still add its points in the frames before the
    // switch: the screen shows the game's total as it stands.
    EXPECT_GE(game->totalScore, 1230);
    EXPECT_EQ(ScoreText(), "FINAL SCORE: " + std::to_string(game->totalScore));
    game->backToMenuRequested = 1;
    RunUntil([this] { return game->GetCurrentLevelIndex() == 0; }, 10);
    EXPECT_EQ(game->stage, 1);
}

// The same on the OpenGL renderer, with pictures: each screen of the end of
// a run, its score in its font, and its button back to the menu clicked
// with the mouse. The pictures are kept for review in the build tree.
class ScreenPicturesDisplayTest : public ScreenLevelsDisplayTest
{
protected:
    void SetUp() override
    {
        ScreenLevelsDisplayTest::SetUp();
        Engine::RenderingApplication::SetRendererFactory(nullptr);
        std::filesystem::create_directories(Folder());
    }

    static std::filesystem::path Folder()
    {
        return std::filesystem::path(ENGINE_TEST_BINARY_DIR) / "screenshots" / "brillow_screens";
    }

    // One frame, its picture written to `name` before the buffers swap;
    // answers the share of pixels that are not the clear colour.
    double Shot(const std::string& name)
    {
        harness->BeginFrame();
        harness->RunFrame();
        const std::string path = (Folder() / name).string();
        EXPECT_TRUE(Harness::WriteScreenshotPng(*game->GetRenderer(), path));
        harness->EndFrame();
        int width = 0;
        int height = 0;
        int channels = 0;
        unsigned char* pixels = stbi_load(path.c_str(), &width, &height, &channels, 3);
        if (pixels == nullptr)
        {
            return 0.0;
        }
        std::size_t drawn = 0;
        for (int i = 0; i < width * height; ++i)
        {
            const unsigned char* pixel = pixels + 3 * i;
            drawn += pixel[0] == 64 && pixel[1] == 64 && pixel[2] == 64 ? 0 : 1;
        }
        stbi_image_free(pixels);
        return static_cast<double>(drawn) / (static_cast<double>(width) * height);
    }

    // The mouse onto world point (x, y), a few frames to settle, then a click.
    void ClickAt(float x, float y)
    {
        auto& input = dynamic_cast<Input::ScriptedInputSource&>(Input::InputSource::GetCurrent());
        input.SetCursor(static_cast<std::int32_t>(x) + 512, 383 - static_cast<std::int32_t>(y));
        Frame(4);
        input.SetKeyDown(1, true);
        Frame();
        input.SetKeyDown(1, false);
    }

    std::string ScoreFont() const
    {
        const Velkor::Text* text = FindObject<Velkor::Text>("scoreText");
        const auto& font = text != nullptr ? text->GetEngineText()->GetFont() : nullptr;
        return font ? font->GetName() : std::string();
    }

    void Play()
    {
        game->startRequested = 1;
        RunUntil([this] { return game->GetCurrentLevelIndex() == 1; }, 200);
        ASSERT_EQ(game->GetCurrentLevelIndex(), 1u);
    }
};

TEST_F(ScreenPicturesDisplayTest, WinningAndLosingShowTheirScreensAndTheButtonsLeadBack)
{
    Start();
    Frame(MenuBuilt);
    game->introRunning = 0;
    EXPECT_GT(Shot("menu.png"), 0.99);

    Play();
    game->totalScore = 1230;
    game->stage = 6;
    RunUntil([this] { return game->GetCurrentLevelIndex() == 3; }, 10);
    ASSERT_EQ(game->GetCurrentLevel()->GetName(), "WIN");
    EXPECT_GT(Shot("win.png"), 0.99);
    // The play level may still add its points in the frames before the
    // switch: the screen shows the game's total as it stands.
    EXPECT_GE(game->totalScore, 1230);
    EXPECT_EQ(ScoreText(), "FINAL SCORE: " + std::to_string(game->totalScore));
    EXPECT_NE(ScoreFont().find("Font2"), std::string::npos) << ScoreFont();
    ClickAt(6.0f, -292.0f);
    RunUntil([this] { return game->GetCurrentLevelIndex() == 0; }, 10);
    ASSERT_EQ(game->GetCurrentLevelIndex(), 0u);
    EXPECT_EQ(game->stage, 1);

    Play();
    game->totalScore = 470;
    game->playStarted = 1;
    game->playerLost = 1;
    RunUntil([this] { return game->GetCurrentLevelIndex() == 2; }, 10);
    ASSERT_EQ(game->GetCurrentLevel()->GetName(), "Lose");
    BreakBall* breakball = FindObject<BreakBall>("breakball");
    ASSERT_NE(breakball, nullptr);
    EXPECT_TRUE(breakball->IsPlaying());
    Frame(20);
    EXPECT_GT(Shot("lose.png"), 0.99);
    const std::uint32_t lose = FrameNumber();
    RunUntil([this] { return game->GetCurrentLevelIndex() == 8; }, 100);
    ASSERT_EQ(game->GetCurrentLevel()->GetName(), "copy0Lose");
    // About a second in all on the first lose screen.
    EXPECT_GE(FrameNumber() - lose + 21u, 58u);
    EXPECT_LE(FrameNumber() - lose + 21u, 64u);
    Frame(2);
    EXPECT_GT(Shot("lose2.png"), 0.99);
    EXPECT_GE(game->totalScore, 470);
    EXPECT_EQ(ScoreText(), "FINAL SCORE: " + std::to_string(game->totalScore));
    EXPECT_NE(ScoreFont().find("Font10"), std::string::npos) << ScoreFont();
    ClickAt(6.0f, -264.0f);
    RunUntil([this] { return game->GetCurrentLevelIndex() == 0; }, 10);
    EXPECT_EQ(game->GetCurrentLevelIndex(), 0u);
    EXPECT_EQ(game->levelSM->GetCurrentState()->name, "S0");
}

} // namespace

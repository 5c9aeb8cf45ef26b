#pragma once

// A MyGame over a small factory whose levels either carry the play
// switches or not, on the recording renderer, OpenAL's null output and a
// clock that steps 1/60 s per frame.
#include "../framework/GameTestSupport.h"

#include "framework/Velkor_Layer.h"
#include "game/Brillow_MyGame.h"
#include "game/Brillow_PlayLevelFlags.h"

#include <array>

namespace BrillowTest
{

// A level with every play switch but `paused` when `tutorial` (as the
// tutorial level is), or with all of them.
class FlagLevel : public Velkor::Level, public PlayLevelFlags
{
public:
    explicit FlagLevel(bool tutorial) : tutorial_(tutorial) {}

    std::uint8_t* GetPlayFlag(PlayFlag flag) override
    {
        if (tutorial_ && flag == PlayFlag::Paused)
        {
            return nullptr;
        }
        return &flags[static_cast<std::size_t>(flag)];
    }
    void DropPlayerBalls(float dx, float dy) override
    {
        ++drops;
        lastDrop = {dx, dy};
    }

    std::array<std::uint8_t, PlayFlagCount> flags{};
    int drops = 0;
    std::pair<float, float> lastDrop{};

private:
    bool tutorial_;
};

// Level 0 is a play level with switches, 1 a plain level, 2 a tutorial-like
// one; each has three empty layers.
class FlagFactory : public Velkor::LevelFactory
{
public:
    std::uint32_t GetLevelCount() override { return 9; }
    Velkor::Level* CreateLevel(std::uint32_t index) override
    {
        Velkor::Level* level = index == 0   ? new FlagLevel(false)
                               : index == 2 ? static_cast<Velkor::Level*>(new FlagLevel(true))
                                            : new Velkor::Level();
        for (int i = 0; i < 3; ++i)
        {
            level->AddLayer(new Velkor::Layer(0.0f));
        }
        return level;
    }
};

class MyGameDisplayTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
        {
            GTEST_SKIP() << "no display";
        }
        setenv("ENGINE_HEADLESS", "1", 1);
        setenv("ALSOFT_DRIVERS", "null", 1);
        Engine::RenderingApplication::SetRendererFactory(&GameTest::MakeRecordingRenderer);
        Input::InputSource::SetCurrent(&input);
        PAL::ProcessMessages();
        GameTest::SteppingClock::Install(1000.0 / 60.0);
    }

    void TearDown() override
    {
        game.Reset();
        GameTest::SteppingClock::Uninstall();
        Input::InputSource::SetCurrent(nullptr);
        Engine::RenderingApplication::SetRendererFactory(nullptr);
        PAL::ProcessMessages();
    }

    MyGame& MakeGame(std::uint32_t startingLevel = 0)
    {
        game = new MyGame(new FlagFactory(), MyGame::GetDisplayRequest(), startingLevel);
        return *game;
    }

    void Tick(int count = 1)
    {
        for (int i = 0; i < count; ++i)
        {
            game->RunFrame();
        }
    }

    Input::ScriptedInputSource input;
    Core::RefPtr<MyGame> game;
};

// A running game settled on its play level (level 0 of the factory, with
// every switch), whose "layer1" collides over the whole field: the place
// where the game objects' tests put their objects.
class PlayLevelTest : public MyGameDisplayTest
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
        // update asks for it again, made on the third.
        Tick(3);
        level = dynamic_cast<FlagLevel*>(game->GetCurrentLevel());
        ASSERT_NE(level, nullptr);
        layer = level->GetLayer(1);
        layer->SetCollisionProperties(Math::Vector2D(-512.0f, -384.0f), 1024, 768, 100);
    }

    std::uint8_t& Flag(PlayFlag flag) { return level->flags[static_cast<std::size_t>(flag)]; }

    FlagLevel* level = nullptr;
    Velkor::Layer* layer = nullptr;
};

} // namespace BrillowTest

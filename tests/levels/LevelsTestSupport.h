#pragma once

// The real game over the real level factory, on the recording renderer and
// OpenAL's null output, driven in-process by the run harness with a fixed
// step of 1/60 s and scripted input.
#include "../framework/GameTestSupport.h"

#include "Harness_RunHarness.h"

#include "game/Brillow_MyGame.h"
#include "levels/Brillow_MyLevelFactory.h"

#include <functional>
#include <string>
#include <vector>

namespace BrillowTest
{

class LevelsDisplayTest : public ::testing::Test
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
        PAL::ProcessMessages();
        MyLevelFactory::SetFixedSeed(std::nullopt);
        MyLevelFactory::SetReplayProbe(nullptr);
    }

    void TearDown() override
    {
        harness.Reset();
        game = nullptr;
        factory = nullptr;
        MyLevelFactory::SetFixedSeed(std::nullopt);
        MyLevelFactory::SetReplayProbe(nullptr);
        Engine::RenderingApplication::SetRendererFactory(nullptr);
        PAL::ProcessMessages();
    }

    // The game under the harness, with `input` as its scripted input.
    MyGame& Start(const std::vector<Harness::InputEvent>& input = {})
    {
        factory = new MyLevelFactory();
        Core::RefPtr<MyGame> made(new MyGame(factory, MyGame::GetDisplayRequest(), 0));
        game = made.Get();
        harness = new Harness::RunHarness(Harness::RunOptions::Scripted(input), made, nullptr);
        return *game;
    }

    void Frame(int count = 1)
    {
        for (int i = 0; i < count; ++i)
        {
            harness->BeginFrame();
            harness->RunFrame();
            harness->EndFrame();
        }
    }

    std::uint32_t FrameNumber() const { return harness->GetFramesRun(); }

    std::string StateName() const
    {
        const auto* state = game->levelSM ? game->levelSM->GetCurrentState() : nullptr;
        return state != nullptr ? state->name : std::string();
    }

    Core::RefPtr<Harness::RunHarness> harness;
    MyGame* game = nullptr;
    MyLevelFactory* factory = nullptr;
};

} // namespace BrillowTest

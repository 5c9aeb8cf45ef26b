#pragma once

#include "core/Core_Clock.h"
#include "framework/Velkor_Game.h"
#include "gui/GUI_HUD.h"
#include "input/Input_InputSource.h"
#include "input/Input_ScriptedInputSource.h"
#include "pal/PAL_Window.h"
#include "renderer/Renderer_RecordingRenderer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace GameTest
{

// What the test game, its levels and the stand-ins did, in order.
inline std::vector<std::string>& Log()
{
    static std::vector<std::string> log;
    return log;
}

inline void Record(const std::string& event)
{
    Log().push_back(event);
}

// A clock that moves on by a fixed step at every read of the main thread,
// so each frame tick measures exactly the step. Other threads (the sound
// engine's streaming thread times its sleeps) read the real clock.
class SteppingClock
{
public:
    static void Install(double stepMilliseconds)
    {
        Main() = std::this_thread::get_id();
        Step() = stepMilliseconds;
        Now() = 0.0;
        Previous() = Core::GetClockFunction();
        Core::SetClockFunction(&Read);
    }
    static void Uninstall() { Core::SetClockFunction(Previous()); }
    static void SetStep(double stepMilliseconds) { Step() = stepMilliseconds; }

private:
    static double Read()
    {
        if (std::this_thread::get_id() != Main())
        {
            return Core::QueryPerformanceMilliseconds();
        }
        Now() = Now() + Step();
        return Now();
    }
    static std::thread::id& Main()
    {
        static std::thread::id id;
        return id;
    }
    static double& Step()
    {
        static double step = 0.0;
        return step;
    }
    static double& Now()
    {
        static double now = 0.0;
        return now;
    }
    static Core::ClockFunction& Previous()
    {
        static Core::ClockFunction previous = nullptr;
        return previous;
    }
};

class TestFactory;

// A level that records its hooks as "L<index>.<hook>" and runs the
// factory's scripted reactions.
class TestLevel : public Velkor::Level
{
public:
    TestLevel(std::uint32_t index, TestFactory* factory) : index_(index), factory_(factory) {}
    void OnStart() override;
    void OnEnd() override;
    void Update(float) override { Record("L" + std::to_string(index_) + ".Update"); }
    std::uint32_t GetIndex() const { return index_; }

private:
    std::uint32_t index_;
    TestFactory* factory_;
};

// Three levels, "zero", "one" and "two". Records every level it makes and
// what the engines held when it made it.
class TestFactory : public Velkor::LevelFactory
{
public:
    std::uint32_t GetLevelCount() override { return count; }
    Velkor::Level* CreateLevel(std::uint32_t index) override
    {
        Record("Create " + std::to_string(index));
        assetsSeenAtCreation.push_back(Velkor::Game::GetInstance()->GetCollisionAssets().size());
        if (index == nullIndex)
        {
            return nullptr;
        }
        return new TestLevel(index, this);
    }
    void Init() override { Record("Init"); }
    bool GetLevelIndex(const std::string& name, std::uint32_t& index) override
    {
        const char* const names[] = {"zero", "one", "two", "three"};
        for (std::uint32_t i = 0; i < 4; ++i)
        {
            if (name == names[i])
            {
                index = i;
                return true;
            }
        }
        return false;
    }

    std::uint32_t count = 3;
    // An index for which the factory (wrongly) makes no level.
    std::uint32_t nullIndex = 0xFFFFFFFF;
    std::vector<std::size_t> assetsSeenAtCreation;
    // Run by a level's OnStart and OnEnd (with that level).
    std::function<void(TestLevel&)> onStart;
    std::function<void(TestLevel&)> onEnd;
};

inline void TestLevel::OnStart()
{
    Record("L" + std::to_string(index_) + ".OnStart");
    if (factory_->onStart)
    {
        factory_->onStart(*this);
    }
}

inline void TestLevel::OnEnd()
{
    Record("L" + std::to_string(index_) + ".OnEnd");
    if (factory_->onEnd)
    {
        factory_->onEnd(*this);
    }
}

// A game whose hooks record themselves; `onUpdate` runs in its Update.
class TestGame : public Velkor::Game
{
public:
    TestGame(const Core::RefPtr<TestFactory>& factory, std::uint32_t startingLevel)
        : Velkor::Game(factory, Engine::DisplayRequest{64, 48, 60, 0, false, false}, startingLevel)
    {
    }

    void OnGameStart() override { Record("OnGameStart"); }
    void OnGameEnd() override { Record("OnGameEnd"); }
    void Update(float dt) override
    {
        Record("Game.Update");
        if (onUpdate)
        {
            onUpdate(dt);
        }
    }
    void OnPostCollision(float) override { Record("Game.OnPostCollision"); }
    bool OnContact(Velkor::GameObject* a, Velkor::GameObject* b, float& restitution, float& friction) override
    {
        if (onContact)
        {
            return onContact(a, b, restitution, friction);
        }
        return Velkor::Game::OnContact(a, b, restitution, friction);
    }

    std::function<void(float)> onUpdate;
    std::function<bool(Velkor::GameObject*, Velkor::GameObject*, float&, float&)> onContact;
};

inline Core::RefPtr<Renderer::IRenderer>
MakeRecordingRenderer(const Renderer::DisplayDescription& description)
{
    return Core::RefPtr<Renderer::IRenderer>(new Renderer::RecordingRenderer(description));
}

// A window on the virtual display, the recording renderer, OpenAL's null
// output, a scripted keyboard and mouse, and the stepping clock (60 frames
// per second).
class GameDisplayTest : public ::testing::Test
{
protected:
    static constexpr double Step = 1000.0 / 60.0;

    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
        {
            GTEST_SKIP() << "no display";
        }
        setenv("ENGINE_HEADLESS", "1", 1);
        setenv("ALSOFT_DRIVERS", "null", 1);
        Engine::RenderingApplication::SetRendererFactory(&MakeRecordingRenderer);
        Input::InputSource::SetCurrent(&input);
        // A quit left by an earlier test must not linger.
        PAL::ProcessMessages();
        Log().clear();
        SteppingClock::Install(Step);
        factory = new TestFactory();
    }

    void TearDown() override
    {
        game.Reset();
        factory.Reset();
        SteppingClock::Uninstall();
        GUI::HUD::SetCallObserver(nullptr, nullptr);
        Velkor::ZibNet::SetCallObserver(nullptr, nullptr);
        Input::InputSource::SetCurrent(nullptr);
        Engine::RenderingApplication::SetRendererFactory(nullptr);
        PAL::ProcessMessages();
    }

    TestGame& MakeGame(std::uint32_t startingLevel = 0)
    {
        game = new TestGame(factory, startingLevel);
        return *game;
    }

    void Tick(int count = 1)
    {
        for (int i = 0; i < count; ++i)
        {
            game->RunFrame();
        }
    }

    // Index of the current level, -1 for none.
    int CurrentIndex() const
    {
        auto* level = dynamic_cast<TestLevel*>(game->GetCurrentLevel());
        return level != nullptr ? static_cast<int>(level->GetIndex()) : -1;
    }

    Input::ScriptedInputSource input;
    Core::RefPtr<TestFactory> factory;
    Core::RefPtr<TestGame> game;
};

} // namespace GameTest

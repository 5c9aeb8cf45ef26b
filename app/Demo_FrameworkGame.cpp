// The framework scene of the engine demo: a Velkor::Game whose one level is
// the framework demo's arena (Demo_FrameworkLevel.h). Frames run at a fixed
// step of 1/60 s, so a given frame always looks the same.
#include "Demo_EngineDemo.h"
#include "Demo_FrameworkLevel.h"

#include "framework/Velkor_Game.h"
#include "framework/Velkor_Level.h"
#include "input/Input_KeyCodes.h"
#include "input/Input_KeyboardImp.h"
#include "pal/PAL_Window.h"

namespace
{

class FrameworkDemoGame : public Velkor::Game
{
public:
    explicit FrameworkDemoGame(const DemoOptions& options)
        : Velkor::Game(new ("Demo_FrameworkGame", __LINE__) FrameworkDemoFactory(),
                       EngineDemo::GetDisplayRequest(), 0),
          options_(options)
    {
        GetWindow().SetTitle("Brillow framework demo");
        SetDesiredFrameRate(60.0);
        LockFrameRate(true);
        if (options_.frames && *options_.frames == 0)
        {
            Exit();
        }
    }

    const char* GetClassName() const override { return "FrameworkDemoGame"; }
    std::uint32_t GetSize() const override { return sizeof(FrameworkDemoGame); }

    void RunFrame() override
    {
        ++framesRun_;
        Velkor::Game::RunFrame();
        if (options_.frames && framesRun_ >= *options_.frames)
        {
            Exit();
        }
    }

    void Update(float) override
    {
        if (GetKeyboard()->IsTriggered(Input::Key::Escape))
        {
            Exit();
        }
    }

    // The screenshot comes from a redraw of the last frame: the back buffer
    // is undefined after the swap.
    void Shutdown() override
    {
        if (!options_.screenshot.empty() && GetCurrentLevel() != nullptr)
        {
            GetCurrentLevel()->Render(EngineDemo::FrameStep);
            if (!WriteScreenshotPng(*GetRenderer(), options_.screenshot))
            {
                ReportScreenshotFailure(options_.screenshot);
            }
        }
        Velkor::Game::Shutdown();
    }

protected:
    // The first tick measures no time and runs nothing; every later one runs
    // one fixed step, whatever the clock says.
    void FrameUpdate(float) override { Velkor::Game::FrameUpdate(EngineDemo::FrameStep); }

private:
    DemoOptions options_;
    std::uint32_t framesRun_ = 0;
};

} // namespace

Core::RefPtr<Engine::Application> MakeFrameworkDemo(const DemoOptions& options)
{
    return Core::RefPtr<Engine::Application>(new ("Demo_FrameworkGame", __LINE__) FrameworkDemoGame(options));
}

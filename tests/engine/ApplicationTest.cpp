#include "core/Core_Clock.h"
#include "engine/Engine_Main.h"
#include "engine/Engine_RenderingApplication.h"
#include "pal/PAL_Window.h"
#include "renderer/Renderer_RecordingRenderer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

namespace
{

Core::RefPtr<Renderer::IRenderer> MakeRecordingRenderer(const Renderer::DisplayDescription& description)
{
    return Core::RefPtr<Renderer::IRenderer>(new Renderer::RecordingRenderer(description));
}

Engine::DisplayRequest SmallRequest()
{
    return {96, 64, 60, 0, false, true};
}

// What a run of the loop did, kept beyond the application's life.
struct RunLog
{
    std::vector<std::string> events;
    std::vector<double> frameMilliseconds;
    std::vector<double> frameRates;
    std::vector<std::uint32_t> swaps;
};

// The settings of the next application the test factory makes.
struct RunSettings
{
    // RunFrame of this frame (from 1) posts the quit message; 0 never.
    int quitInFrame = 0;
    // The factory posts the quit message before the loop starts.
    bool quitBeforeLoop = false;
    bool lock = false;
    double rate = 1000.0;
};

RunLog g_log;
RunSettings g_settings;

class LoggingApplication : public Engine::RenderingApplication
{
public:
    LoggingApplication() : Engine::RenderingApplication(SmallRequest())
    {
        SetDesiredFrameRate(g_settings.rate);
        LockFrameRate(g_settings.lock);
    }
    ~LoggingApplication() override { g_log.events.push_back("destroyed"); }

    void BeginFrame() override
    {
        g_log.events.push_back("begin");
        frameStart_ = Core::GetMilliseconds();
        Engine::RenderingApplication::BeginFrame();
    }
    void RunFrame() override
    {
        g_log.events.push_back("run");
        if (++frames_ == g_settings.quitInFrame)
        {
            Exit();
        }
    }
    void EndFrame() override
    {
        Engine::RenderingApplication::EndFrame();
        g_log.frameMilliseconds.push_back(Core::GetMilliseconds() - frameStart_);
        g_log.frameRates.push_back(GetCurrentFrameRate());
        g_log.swaps.push_back(static_cast<Renderer::RecordingRenderer&>(*GetRenderer()).GetSwapCount());
        g_log.events.push_back("end");
    }
    void Shutdown() override { g_log.events.push_back("shutdown"); }

private:
    double frameStart_ = 0.0;
    int frames_ = 0;
};

Core::RefPtr<Engine::Application> MakeLoggingApplication(const std::vector<std::string>&)
{
    Core::RefPtr<LoggingApplication> application(new LoggingApplication());
    if (g_settings.quitBeforeLoop)
    {
        application->Exit();
    }
    return application;
}

Core::RefPtr<Engine::Application> MakeNothing(const std::vector<std::string>&)
{
    return nullptr;
}

// A window on the virtual display, a recording renderer, no person.
class ApplicationDisplayTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
        {
            GTEST_SKIP() << "no display";
        }
        setenv("ENGINE_HEADLESS", "1", 1);
        Engine::RenderingApplication::SetRendererFactory(&MakeRecordingRenderer);
        // A quit left over from an earlier test must not end a loop early.
        PAL::ProcessMessages();
        g_log = RunLog();
        g_settings = RunSettings();
    }

    void TearDown() override { Engine::RenderingApplication::SetRendererFactory(nullptr); }

    static std::vector<std::string> Frames(int count)
    {
        std::vector<std::string> events;
        for (int i = 0; i < count; ++i)
        {
            events.insert(events.end(), {"begin", "run", "end"});
        }
        return events;
    }
};

TEST_F(ApplicationDisplayTest, AQuitDuringAFrameEndsThatFrameThenShutsDownOnce)
{
    g_settings.quitInFrame = 3;
    EXPECT_EQ(Engine::Main({}, &MakeLoggingApplication), 0);

    std::vector<std::string> expected = Frames(3);
    expected.insert(expected.end(), {"shutdown", "destroyed"});
    EXPECT_EQ(g_log.events, expected);
    // Every frame end swapped the buffers once.
    EXPECT_EQ(g_log.swaps, (std::vector<std::uint32_t>{1, 2, 3}));
    EXPECT_EQ(Engine::Application::GetInstance(), nullptr);
    EXPECT_EQ(Engine::RenderingApplication::GetInstance(), nullptr);
    EXPECT_EQ(Engine::FontCache::GetInstance(), nullptr);
}

TEST_F(ApplicationDisplayTest, ShutdownRunsWhenNoFrameRan)
{
    g_settings.quitBeforeLoop = true;
    EXPECT_EQ(Engine::Main({}, &MakeLoggingApplication), 0);
    EXPECT_EQ(g_log.events, (std::vector<std::string>{"shutdown", "destroyed"}));
}

TEST_F(ApplicationDisplayTest, NoApplicationMeansNoLoop)
{
    EXPECT_EQ(Engine::Main({}, &MakeNothing), 1);
    EXPECT_EQ(Engine::Main({}, nullptr), 1);
}

TEST_F(ApplicationDisplayTest, LockedFramesLastAtLeastTheFrameTime)
{
    g_settings.quitInFrame = 5;
    g_settings.lock = true;
    g_settings.rate = 60.0;
    EXPECT_EQ(Engine::Main({}, &MakeLoggingApplication), 0);

    ASSERT_EQ(g_log.frameMilliseconds.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_GE(g_log.frameMilliseconds[i], 1000.0 / 60.0);
        EXPECT_GT(g_log.frameRates[i], 0.0);
        EXPECT_LE(g_log.frameRates[i], 60.0 + 1e-9);
    }
}

TEST_F(ApplicationDisplayTest, BuildsItsWindowDevicesAndRendererFromTheRequest)
{
    Core::RefPtr<LoggingApplication> application(new LoggingApplication());
    EXPECT_EQ(Engine::Application::GetInstance(), application.Get());
    EXPECT_EQ(Engine::RenderingApplication::GetInstance(), application.Get());
    EXPECT_EQ(Engine::FontCache::GetInstance(), &application->GetFontCache());

    Engine::RenderingWindow& window = application->GetWindow();
    std::int32_t width = 0;
    std::int32_t height = 0;
    window.GetClientSize(width, height);
    EXPECT_EQ(width, 96);
    EXPECT_EQ(height, 64);
    EXPECT_TRUE(window.IsVisible());
    EXPECT_FALSE(window.IsResizable());
    EXPECT_FALSE(window.HasMaximizeBox());
    EXPECT_TRUE(window.HasBorder());

    ASSERT_TRUE(application->GetMouse());
    ASSERT_TRUE(application->GetKeyboard());
    EXPECT_EQ(application->GetMouse()->GetWindow(), &window);

    ASSERT_TRUE(application->GetRenderer());
    const Renderer::DisplayDescription description = application->GetRenderer()->GetDisplayDescription();
    EXPECT_EQ(description.width, 96u);
    EXPECT_EQ(description.height, 64u);
    EXPECT_EQ(description.refreshRate, 60u);
    EXPECT_EQ(description.sampleCount, 0u);
    EXPECT_EQ(description.depthBits, 24u);
    EXPECT_EQ(description.stencilBits, 8u);
    EXPECT_EQ(description.window, &window);
    EXPECT_FALSE(description.fullscreen);
    EXPECT_TRUE(description.vsync);
    EXPECT_TRUE(application->IsVSync());

    EXPECT_EQ(application->GetSpriteSheetDirectory(), "");
    EXPECT_EQ(application->GetCurrentFrameRate(), 0.0);
    application.Reset();
    EXPECT_EQ(Engine::RenderingApplication::GetInstance(), nullptr);
}

TEST_F(ApplicationDisplayTest, FrameRateSettings)
{
    Core::RefPtr<LoggingApplication> application(new LoggingApplication());
    EXPECT_EQ(application->GetDesiredFrameRate(), 1000.0);
    EXPECT_EQ(application->GetMillisecondsPerFrame(), 1.0);
    EXPECT_FALSE(application->IsFrameRateLocked());

    application->SetDesiredFrameRate(40.0);
    application->LockFrameRate(true);
    EXPECT_EQ(application->GetDesiredFrameRate(), 40.0);
    EXPECT_EQ(application->GetMillisecondsPerFrame(), 25.0);
    EXPECT_TRUE(application->IsFrameRateLocked());

    // A rate without a frame time would stall a locked loop for good.
    for (const double rate : {0.0, -30.0, std::numeric_limits<double>::quiet_NaN()})
    {
        application->SetDesiredFrameRate(rate);
        EXPECT_EQ(application->GetDesiredFrameRate(), 40.0);
        EXPECT_EQ(application->GetMillisecondsPerFrame(), 25.0);
    }
}

TEST_F(ApplicationDisplayTest, FullScreenSwitchesOnlyWhenTheModeDiffers)
{
    Core::RefPtr<LoggingApplication> application(new LoggingApplication());
    auto& renderer = static_cast<Renderer::RecordingRenderer&>(*application->GetRenderer());

    application->SetFullScreen(false);
    EXPECT_EQ(renderer.CountCalls("ToggleFullScreen"), 0u);
    application->SetFullScreen(true);
    EXPECT_TRUE(application->IsFullScreen());
    application->SetFullScreen(true);
    EXPECT_EQ(renderer.CountCalls("ToggleFullScreen"), 1u);
    application->ToggleFullScreen();
    EXPECT_FALSE(application->IsFullScreen());
    EXPECT_EQ(renderer.CountCalls("ToggleFullScreen"), 2u);

    application->SetVSync(false);
    EXPECT_FALSE(application->IsVSync());
}

TEST_F(ApplicationDisplayTest, ClosingTheWindowPostsOneQuit)
{
    Core::RefPtr<LoggingApplication> application(new LoggingApplication());
    Engine::RenderingWindow& window = application->GetWindow();
    ASSERT_NE(window.GetCallbacks().onClose, nullptr);
    std::uint8_t cancel = 0;
    window.GetCallbacks().onClose(&window, &cancel);
    // The callback posts the quit itself; the window must not add another.
    EXPECT_EQ(cancel, 1);

    EXPECT_FALSE(PAL::ProcessMessages());
    // The next pump finds no second quit, so a later loop is not cut short.
    EXPECT_TRUE(PAL::ProcessMessages());
}

} // namespace

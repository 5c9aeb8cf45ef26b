#include "pal/PAL_Window.h"

#include "IconBuilder.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace
{

using PAL::Window;

// Needs an X display (scripts/test runs these under Xvfb).
class WindowDisplayTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
        {
            GTEST_SKIP() << "no display";
        }
        // Nothing may wait for a click.
        setenv("ENGINE_HEADLESS", "1", 1);
        // Leave no quit message from an earlier test in the queue.
        while (!PAL::ProcessMessages())
        {
        }
    }

    static PAL::DisplayMode Screen()
    {
        PAL::DisplayMode mode;
        EXPECT_TRUE(Window::GetCurrentDisplayMode(mode));
        return mode;
    }
};

// A window event as the system would queue it.
void PushWindowEvent(const Window& window, SDL_WindowEventID kind)
{
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = window.GetWindowID();
    event.window.event = static_cast<Uint8>(kind);
    ASSERT_EQ(SDL_PushEvent(&event), 1);
}

TEST_F(WindowDisplayTest, ClientAreaIsCentredUnlessItFillsTheScreen)
{
    const PAL::DisplayMode screen = Screen();
    ASSERT_GT(screen.width, 1024u);
    ASSERT_GT(screen.height, 768u);
    {
        Window window(1024, 768);
        EXPECT_FALSE(window.IsVisible());
        std::int32_t width = 0;
        std::int32_t height = 0;
        window.GetClientSize(width, height);
        EXPECT_EQ(width, 1024);
        EXPECT_EQ(height, 768);
        std::int32_t x = 0;
        std::int32_t y = 0;
        std::int32_t w = 0;
        std::int32_t h = 0;
        window.GetClientRect(x, y, w, h);
        EXPECT_EQ(x, static_cast<std::int32_t>(screen.width - 1024) / 2);
        EXPECT_EQ(y, static_cast<std::int32_t>(screen.height - 768) / 2);
    }
    // As large as the screen in one direction: the top-left corner.
    const std::int32_t sizes[][2] = {{static_cast<std::int32_t>(screen.width), 300},
                                     {300, static_cast<std::int32_t>(screen.height)}};
    for (const auto& size : sizes)
    {
        Window window(size[0], size[1]);
        std::int32_t x = -1;
        std::int32_t y = -1;
        std::int32_t w = 0;
        std::int32_t h = 0;
        window.GetClientRect(x, y, w, h);
        EXPECT_EQ(x, 0) << size[0] << "x" << size[1];
        EXPECT_EQ(y, 0) << size[0] << "x" << size[1];
    }
}

TEST_F(WindowDisplayTest, StyleChangesKeepTheClientSize)
{
    Window window(640, 480);
    window.SetTitle("Brillow");
    EXPECT_EQ(window.GetTitle(), "Brillow");
    EXPECT_STREQ(SDL_GetWindowTitle(static_cast<SDL_Window*>(window.GetHandle())), "Brillow");
    window.SetVisible(true);
    EXPECT_TRUE(window.IsVisible());

    window.SetBorder(false);
    window.SetResizable(false);
    window.SetMaximizeBox(false);
    PAL::ProcessMessages();
    std::int32_t width = 0;
    std::int32_t height = 0;
    window.GetClientSize(width, height);
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    const Uint32 flags = SDL_GetWindowFlags(static_cast<SDL_Window*>(window.GetHandle()));
    EXPECT_NE(flags & SDL_WINDOW_BORDERLESS, 0u);
    EXPECT_EQ(flags & SDL_WINDOW_RESIZABLE, 0u);

    window.SetBorder(true);
    PAL::ProcessMessages();
    window.GetClientSize(width, height);
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);

    window.SetClientSize(800, 600);
    window.SetPosition(10, 20);
    window.SetTopMost(true);
    PAL::ProcessMessages();
    window.GetClientSize(width, height);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
    std::int32_t x = 0;
    std::int32_t y = 0;
    window.GetPosition(x, y);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 20);
}

struct CloseLog
{
    int closes = 0;
    bool cancel = false;
};

CloseLog g_closeLog;

void OnClose(Window*, std::uint8_t* cancel)
{
    ++g_closeLog.closes;
    *cancel = g_closeLog.cancel ? 1 : 0;
}

TEST_F(WindowDisplayTest, CloseRequestEndsTheLoopUnlessCancelled)
{
    Window window(320, 240);
    window.SetOnClose(&OnClose);
    g_closeLog = {};
    g_closeLog.cancel = true;
    PushWindowEvent(window, SDL_WINDOWEVENT_CLOSE);
    EXPECT_TRUE(PAL::ProcessMessages());
    EXPECT_EQ(g_closeLog.closes, 1);

    g_closeLog.cancel = false;
    PushWindowEvent(window, SDL_WINDOWEVENT_CLOSE);
    EXPECT_FALSE(PAL::ProcessMessages());
    EXPECT_EQ(g_closeLog.closes, 2);

    // Without a callback the close always quits.
    window.SetOnClose(nullptr);
    PushWindowEvent(window, SDL_WINDOWEVENT_CLOSE);
    EXPECT_FALSE(PAL::ProcessMessages());
    EXPECT_TRUE(PAL::ProcessMessages());
}

TEST_F(WindowDisplayTest, QuitBehindOtherEventsEndsTheLoopAfterThem)
{
    Window window(320, 240);
    window.SetOnClose(&OnClose);
    g_closeLog = {};
    g_closeLog.cancel = true;
    PushWindowEvent(window, SDL_WINDOWEVENT_CLOSE);
    PushWindowEvent(window, SDL_WINDOWEVENT_CLOSE);
    PAL::PostQuit();
    PushWindowEvent(window, SDL_WINDOWEVENT_CLOSE);

    EXPECT_FALSE(PAL::ProcessMessages());
    EXPECT_EQ(g_closeLog.closes, 2);
    // The event behind the quit waits for the next pump.
    EXPECT_TRUE(PAL::ProcessMessages());
    EXPECT_EQ(g_closeLog.closes, 3);
}

TEST_F(WindowDisplayTest, IconFromAGeneratedIcoIsSet)
{
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("brillow-icon-" + std::to_string(getpid()) + ".ico");
    const IconBuilder::Bytes ico = IconBuilder::Ico({{2, 2, 8, IconBuilder::PalettedBitmap()}});
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(ico.data()), static_cast<std::streamsize>(ico.size()));

    Window window(320, 240);
    EXPECT_TRUE(window.SetIcon(path.string()));
    EXPECT_EQ(window.GetIcon(), path.string());
    EXPECT_FALSE(window.SetIcon(path.string() + ".missing"));
    EXPECT_EQ(window.GetIcon(), path.string() + ".missing");
    std::filesystem::remove(path);
}

TEST_F(WindowDisplayTest, OpenGLContextOnTheWindow)
{
    PAL::GLAttributes wanted;
    wanted.depthBits = 24;
    wanted.stencilBits = 8;
    Window::SetGLAttributes(wanted);
    Window window(320, 240);
    void* context = window.CreateGLContext();
    ASSERT_NE(context, nullptr) << SDL_GetError();
    ASSERT_TRUE(window.MakeCurrent(context));

    PAL::GLAttributes obtained;
    ASSERT_TRUE(Window::GetObtainedGLAttributes(obtained));
    EXPECT_GE(obtained.depthBits, 24);
    EXPECT_GE(obtained.stencilBits, 8);
    EXPECT_GE(obtained.redBits, 1);
    EXPECT_TRUE(obtained.doubleBuffer);
    // Either outcome is fine: false only means no swap control.
    if (Window::SetSwapInterval(0))
    {
        EXPECT_EQ(Window::GetSwapInterval(), 0);
    }
    window.SwapBuffers();

    // Destroy releases the binding it holds.
    window.Destroy();
    EXPECT_EQ(SDL_GL_GetCurrentContext(), nullptr);
    EXPECT_FALSE(Window::GetObtainedGLAttributes(obtained));
    Window::DeleteGLContext(context);
}

TEST_F(WindowDisplayTest, DisplayModesIncludeTheCurrentOne)
{
    const PAL::DisplayMode current = Screen();
    EXPECT_GT(current.width, 0u);
    EXPECT_GE(current.colourBits, 16u);
    const std::vector<PAL::DisplayMode> modes = Window::GetDisplayModes();
    bool found = false;
    for (const PAL::DisplayMode& mode : modes)
    {
        found = found || (mode.width == current.width && mode.height == current.height);
    }
    EXPECT_TRUE(found);
}

TEST_F(WindowDisplayTest, FullScreenToggleReturnsToTheWindowedPlacement)
{
    const PAL::DisplayMode screen = Screen();
    Window window(640, 480);
    window.SetVisible(true);
    std::int32_t before[4] = {};
    window.GetClientRect(before[0], before[1], before[2], before[3]);

    ASSERT_TRUE(window.SetFullScreen(true, screen));
    EXPECT_TRUE(window.IsFullScreen());
    PAL::ProcessMessages();
    ASSERT_TRUE(window.SetFullScreen(false, screen));
    EXPECT_FALSE(window.IsFullScreen());
    PAL::ProcessMessages();

    std::int32_t after[4] = {};
    window.GetClientRect(after[0], after[1], after[2], after[3]);
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_EQ(after[i], before[i]) << i;
    }
}

} // namespace

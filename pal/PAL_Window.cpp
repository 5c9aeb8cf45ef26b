#include "pal/PAL_Window.h"

#include "pal/PAL_ErrorReport.h"
#include "pal/PAL_Icon.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

namespace PAL
{

namespace
{

GLAttributes g_glAttributes;
// Windows by SDL window id, for event dispatch. Main thread only.
std::vector<Window*> g_windows;

SDL_Window* ToSdl(void* handle)
{
    return static_cast<SDL_Window*>(handle);
}

// SDL's own quit-on-last-close would bypass OnClose and its cancel byte.
// Without the poll sentinel a pump drains the queue, including what its own
// handlers post (the quit of a close request), and a pump that stops at the
// quit message leaves no marker that would make the next pump end early.
// Also: a headless run has nobody at a desktop session: SDL's session-bus
// connection (screensaver inhibition, input methods) would only start dbus's
// autolaunch, whose failure path leaks.
void PrepareSdl()
{
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_POLL_SENTINEL, "0");
    const char* headless = std::getenv("ENGINE_HEADLESS");
    if (headless != nullptr && headless[0] != '\0' && std::strcmp(headless, "0") != 0)
    {
        setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 0);
    }
}

// The event queue is needed by PostQuit and ProcessMessages even before a
// window exists; it is started once and kept.
bool EnsureEvents()
{
    static const bool started = []
    {
        PrepareSdl();
        return SDL_InitSubSystem(SDL_INIT_EVENTS) == 0;
    }();
    return started;
}

// A quit posted while SDL's queue could not be started.
bool g_quitPending = false;

// Why the video subsystem could not start, in SDL's words; empty once it has.
std::string g_videoFailure;

bool IsSet(const char* variable)
{
    const char* value = std::getenv(variable);
    return value != nullptr && value[0] != '\0';
}

// Starts SDL's video subsystem with the driver named by the hint (empty:
// SDL's own choice), retried a few times: an X server may refuse a
// connection now and then (a full listen backlog). Answers SDL's reason on
// failure, empty on success.
std::string StartVideo(const char* driver)
{
    SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
    std::string reason;
    for (int attempt = 0; attempt < 20; ++attempt)
    {
        SDL_ClearError();
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0)
        {
            return {};
        }
        reason = SDL_GetError();
        SDL_Delay(5);
    }
    return reason.empty() ? std::string(driver) + " not available" : reason;
}

// Starts SDL's video subsystem once and keeps it for the process, so windows
// and queries share one connection. Without SDL_VIDEODRIVER only the desktop
// drivers are tried (X11, then Wayland; Wayland first when only it is named
// by the environment): SDL would otherwise fall back to its off-screen
// driver and run a window nobody can see. A driver the user names is used
// as named, off-screen included.
bool EnsureVideo()
{
    static const bool started = []
    {
        PrepareSdl();
        if (IsSet("SDL_VIDEODRIVER"))
        {
            g_videoFailure = StartVideo(std::getenv("SDL_VIDEODRIVER"));
            return g_videoFailure.empty();
        }
        const bool x11 = IsSet("DISPLAY");
        const bool wayland = IsSet("WAYLAND_DISPLAY");
        const char* order[2] = {"x11", "wayland"};
        if (wayland && !x11)
        {
            std::swap(order[0], order[1]);
        }
        std::string reasons;
        for (const char* driver : order)
        {
            std::string reason;
            if (std::strcmp(driver, "wayland") == 0 && !wayland && !IsSet("XDG_RUNTIME_DIR"))
            {
                // Without either variable there is no socket to look for, and
                // the Wayland library would only print its own complaint.
                reason = "wayland not available";
            }
            else
            {
                reason = StartVideo(driver);
                if (reason.empty())
                {
                    return true;
                }
            }
            const char* variable = std::strcmp(driver, "x11") == 0 ? "DISPLAY" : "WAYLAND_DISPLAY";
            reason += IsSet(variable) ? std::string(" (") + variable + " is \"" + std::getenv(variable) + "\")"
                                      : std::string(" (") + variable + " is not set)";
            reasons += (reasons.empty() ? "" : "; ") + reason;
        }
        g_videoFailure = "no display could be opened: " + reasons;
        return false;
    }();
    return started;
}

DisplayMode FromSdl(const SDL_DisplayMode& mode)
{
    DisplayMode result;
    result.width = static_cast<std::uint32_t>(mode.w);
    result.height = static_cast<std::uint32_t>(mode.h);
    result.colourBits = SDL_BYTESPERPIXEL(mode.format) * 8u;
    result.refreshRate = static_cast<std::uint32_t>(mode.refresh_rate);
    return result;
}

void ApplyGLAttributes(const GLAttributes& attributes)
{
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, attributes.redBits);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, attributes.greenBits);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, attributes.blueBits);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, attributes.alphaBits);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, attributes.depthBits);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, attributes.stencilBits);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, attributes.samples > 0 ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, attributes.samples > 0 ? attributes.samples : 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, attributes.doubleBuffer ? 1 : 0);
}

// Frame sizes as the window manager reports them; zero without one.
void GetBorders(SDL_Window* window, int& left, int& top)
{
    int right = 0;
    int bottom = 0;
    if (SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right) != 0)
    {
        left = 0;
        top = 0;
    }
}

} // namespace

void Window::SetGLAttributes(const GLAttributes& attributes)
{
    g_glAttributes = attributes;
}

GLAttributes Window::GetGLAttributes()
{
    return g_glAttributes;
}

Window::Window(std::int32_t width, std::int32_t height)
{
    EnsureEvents();
    BeginCheckedCall("SDL_InitSubSystem", "PAL::Window::Window", __LINE__, "PAL_Window");
    const bool video = EnsureVideo();
    if (!video)
    {
        // The start may have failed in an earlier call; its reason is kept.
        SDL_SetError("%s", g_videoFailure.c_str());
    }
    EndCheckedCall(!video);

    // Centre the client area on a screen larger than it in both directions.
    int left = 0;
    int top = 0;
    SDL_DisplayMode desktop{};
    if (SDL_GetDesktopDisplayMode(0, &desktop) == 0 && desktop.w > width && desktop.h > height)
    {
        left = (desktop.w - width) / 2;
        top = (desktop.h - height) / 2;
    }

    const Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE;
    ApplyGLAttributes(g_glAttributes);
    BeginCheckedCall("SDL_CreateWindow", "PAL::Window::Window", __LINE__, "PAL_Window");
    SDL_Window* window = SDL_CreateWindow("", left, top, width, height, flags);
    if (window == nullptr && g_glAttributes.samples > 0)
    {
        // No multisampled visual: fall back to a plain one.
        GLAttributes plain = g_glAttributes;
        plain.samples = 0;
        ApplyGLAttributes(plain);
        window = SDL_CreateWindow("", left, top, width, height, flags);
    }
    EndCheckedCall(window == nullptr);
    handle_ = window;
    g_windows.push_back(this);
    if (callbacks_.onCreate != nullptr)
    {
        callbacks_.onCreate(this);
    }
    if (visible_)
    {
        SDL_ShowWindow(window);
    }
}

Window::~Window()
{
    Destroy();
}

void Window::Destroy()
{
    if (handle_ != nullptr)
    {
        SDL_Window* window = ToSdl(handle_);
        if (SDL_GL_GetCurrentWindow() == window && SDL_GL_GetCurrentContext() != nullptr)
        {
            BeginCheckedCall("SDL_GL_MakeCurrent", "PAL::Window::Destory", __LINE__, "PAL_Window");
            EndCheckedCall(SDL_GL_MakeCurrent(window, nullptr) != 0);
        }
        if (callbacks_.onDestroy != nullptr)
        {
            callbacks_.onDestroy(this);
        }
        g_windows.erase(std::remove(g_windows.begin(), g_windows.end(), this), g_windows.end());
        SDL_DestroyWindow(window);
        handle_ = nullptr;
    }
}

void Window::SetTitle(const std::string& title)
{
    title_ = title;
    if (handle_ != nullptr)
    {
        SDL_SetWindowTitle(ToSdl(handle_), title_.c_str());
    }
}

bool Window::SetIcon(const std::string& path)
{
    iconPath_ = path;
    IconImage image;
    if (handle_ == nullptr || !ReadIconFile(path, image))
    {
        return false;
    }
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(image.rgba.data(), image.width, image.height,
                                                              32, image.width * 4, SDL_PIXELFORMAT_RGBA32);
    if (surface == nullptr)
    {
        return false;
    }
    // SDL copies the pixels; one icon serves as small and big icon.
    SDL_SetWindowIcon(ToSdl(handle_), surface);
    SDL_FreeSurface(surface);
    return true;
}

void Window::SetVisible(bool visible)
{
    visible_ = visible;
    if (handle_ == nullptr)
    {
        return;
    }
    if (visible)
    {
        SDL_ShowWindow(ToSdl(handle_));
    }
    else
    {
        SDL_HideWindow(ToSdl(handle_));
    }
}

void Window::SetMaximizeBox(bool enabled)
{
    maximizeBox_ = enabled;
    ApplyStyle();
}

void Window::SetBorder(bool bordered)
{
    bordered_ = bordered;
    ApplyStyle();
}

void Window::SetResizable(bool resizable)
{
    resizable_ = resizable;
    ApplyStyle();
}

void Window::ApplyStyle()
{
    if (handle_ == nullptr)
    {
        return;
    }
    SDL_Window* window = ToSdl(handle_);
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window, &width, &height);
    // SDL has no separate caption or maximise box: the caption goes with the
    // border, and a window that cannot be resized cannot be maximised.
    SDL_SetWindowBordered(window, bordered_ && caption_ ? SDL_TRUE : SDL_FALSE);
    SDL_SetWindowResizable(window, bordered_ && resizable_ && maximizeBox_ ? SDL_TRUE : SDL_FALSE);
    int newWidth = 0;
    int newHeight = 0;
    SDL_GetWindowSize(window, &newWidth, &newHeight);
    if (newWidth != width || newHeight != height)
    {
        SDL_SetWindowSize(window, width, height);
    }
}

void Window::SetTopMost(bool topMost)
{
    if (handle_ != nullptr)
    {
        SDL_SetWindowAlwaysOnTop(ToSdl(handle_), topMost ? SDL_TRUE : SDL_FALSE);
    }
}

void Window::SetClientSize(std::int32_t width, std::int32_t height)
{
    if (handle_ != nullptr)
    {
        SDL_SetWindowSize(ToSdl(handle_), width, height);
    }
}

void Window::GetClientSize(std::int32_t& width, std::int32_t& height) const
{
    width = 0;
    height = 0;
    if (handle_ != nullptr)
    {
        SDL_GetWindowSize(ToSdl(handle_), &width, &height);
    }
}

void Window::SetPosition(std::int32_t x, std::int32_t y)
{
    if (handle_ == nullptr)
    {
        return;
    }
    int left = 0;
    int top = 0;
    GetBorders(ToSdl(handle_), left, top);
    SDL_SetWindowPosition(ToSdl(handle_), x + left, y + top);
}

void Window::GetPosition(std::int32_t& x, std::int32_t& y) const
{
    x = 0;
    y = 0;
    if (handle_ == nullptr)
    {
        return;
    }
    int left = 0;
    int top = 0;
    GetBorders(ToSdl(handle_), left, top);
    SDL_GetWindowPosition(ToSdl(handle_), &x, &y);
    x -= left;
    y -= top;
}

void Window::GetClientRect(std::int32_t& x, std::int32_t& y, std::int32_t& width, std::int32_t& height) const
{
    x = 0;
    y = 0;
    width = 0;
    height = 0;
    if (handle_ != nullptr)
    {
        SDL_GetWindowPosition(ToSdl(handle_), &x, &y);
        SDL_GetWindowSize(ToSdl(handle_), &width, &height);
    }
}

std::uint32_t Window::GetWindowID() const
{
    return handle_ != nullptr ? SDL_GetWindowID(ToSdl(handle_)) : 0;
}

// ---------------------------------------------------------------------------
// OpenGL

void* Window::CreateGLContext()
{
    return handle_ != nullptr ? SDL_GL_CreateContext(ToSdl(handle_)) : nullptr;
}

bool Window::MakeCurrent(void* context)
{
    return handle_ != nullptr && SDL_GL_MakeCurrent(ToSdl(handle_), context) == 0;
}

void Window::DeleteGLContext(void* context)
{
    if (context != nullptr)
    {
        SDL_GL_DeleteContext(context);
    }
}

void Window::SwapBuffers()
{
    if (handle_ != nullptr)
    {
        SDL_GL_SwapWindow(ToSdl(handle_));
    }
}

bool Window::SetSwapInterval(std::int32_t interval)
{
    return SDL_GL_SetSwapInterval(interval) == 0;
}

std::int32_t Window::GetSwapInterval()
{
    return SDL_GL_GetSwapInterval();
}

bool Window::GetObtainedGLAttributes(GLAttributes& attributes)
{
    if (SDL_GL_GetCurrentContext() == nullptr)
    {
        return false;
    }
    int value = 0;
    const auto read = [&value](SDL_GLattr attribute)
    {
        value = 0;
        SDL_GL_GetAttribute(attribute, &value);
        return value;
    };
    attributes.redBits = read(SDL_GL_RED_SIZE);
    attributes.greenBits = read(SDL_GL_GREEN_SIZE);
    attributes.blueBits = read(SDL_GL_BLUE_SIZE);
    attributes.alphaBits = read(SDL_GL_ALPHA_SIZE);
    attributes.depthBits = read(SDL_GL_DEPTH_SIZE);
    attributes.stencilBits = read(SDL_GL_STENCIL_SIZE);
    attributes.samples = read(SDL_GL_MULTISAMPLEBUFFERS) != 0 ? read(SDL_GL_MULTISAMPLESAMPLES) : 0;
    attributes.doubleBuffer = read(SDL_GL_DOUBLEBUFFER) != 0;
    return true;
}

void* Window::GetGLProcAddress(const char* name)
{
    return name != nullptr ? SDL_GL_GetProcAddress(name) : nullptr;
}

// ---------------------------------------------------------------------------
// Display modes

std::vector<DisplayMode> Window::GetDisplayModes()
{
    std::vector<DisplayMode> modes;
    if (!EnsureVideo())
    {
        return modes;
    }
    const int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i)
    {
        SDL_DisplayMode mode{};
        if (SDL_GetDisplayMode(0, i, &mode) == 0)
        {
            modes.push_back(FromSdl(mode));
        }
    }
    return modes;
}

bool Window::GetCurrentDisplayMode(DisplayMode& mode)
{
    SDL_DisplayMode current{};
    if (!EnsureVideo() || SDL_GetCurrentDisplayMode(0, &current) != 0)
    {
        return false;
    }
    mode = FromSdl(current);
    return true;
}

bool Window::SetFullScreen(bool fullScreen, const DisplayMode& mode)
{
    if (handle_ == nullptr)
    {
        return false;
    }
    SDL_Window* window = ToSdl(handle_);
    const bool wasFullScreen = IsFullScreen();
    if (!fullScreen)
    {
        if (!wasFullScreen)
        {
            return true;
        }
        if (SDL_SetWindowFullscreen(window, 0) != 0)
        {
            return false;
        }
        // Without a window manager nothing restores the windowed placement.
        SDL_SetWindowSize(window, windowed_[2], windowed_[3]);
        SDL_SetWindowPosition(window, windowed_[0], windowed_[1]);
        return true;
    }
    if (!wasFullScreen)
    {
        GetClientRect(windowed_[0], windowed_[1], windowed_[2], windowed_[3]);
    }
    SDL_DisplayMode wanted{};
    wanted.w = static_cast<int>(mode.width);
    wanted.h = static_cast<int>(mode.height);
    wanted.refresh_rate = static_cast<int>(mode.refreshRate);
    SDL_DisplayMode closest{};
    if (SDL_GetClosestDisplayMode(0, &wanted, &closest) == nullptr ||
        SDL_SetWindowDisplayMode(window, &closest) != 0)
    {
        return false;
    }
    return SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN) == 0;
}

bool Window::IsFullScreen() const
{
    return handle_ != nullptr && (SDL_GetWindowFlags(ToSdl(handle_)) & SDL_WINDOW_FULLSCREEN) != 0;
}

// ---------------------------------------------------------------------------
// Message pump

void Window::HandleWindowEvent(std::uint8_t event, std::int32_t data1, std::int32_t data2)
{
    switch (event)
    {
    case SDL_WINDOWEVENT_CLOSE:
    {
        std::uint8_t cancel = 0;
        if (callbacks_.onClose != nullptr)
        {
            callbacks_.onClose(this, &cancel);
        }
        if (cancel == 0)
        {
            PostQuit();
        }
        break;
    }
    case SDL_WINDOWEVENT_MINIMIZED:
        if (callbacks_.onMinimized != nullptr)
        {
            callbacks_.onMinimized(this);
        }
        break;
    case SDL_WINDOWEVENT_MAXIMIZED:
        if (callbacks_.onMaximized != nullptr)
        {
            callbacks_.onMaximized(this);
        }
        break;
    case SDL_WINDOWEVENT_RESTORED:
        if (callbacks_.onRestored != nullptr)
        {
            callbacks_.onRestored(this);
        }
        break;
    case SDL_WINDOWEVENT_RESIZED:
        if (callbacks_.onSizing != nullptr)
        {
            callbacks_.onSizing(this, data1, data2);
        }
        break;
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_HIDDEN:
        if (callbacks_.onShow != nullptr)
        {
            callbacks_.onShow(this, event == SDL_WINDOWEVENT_SHOWN ? 1 : 0);
        }
        break;
    case SDL_WINDOWEVENT_EXPOSED:
        if (callbacks_.onPaint != nullptr)
        {
            callbacks_.onPaint(this);
        }
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
    case SDL_WINDOWEVENT_FOCUS_LOST:
        if (callbacks_.onActivate != nullptr)
        {
            callbacks_.onActivate(this, event == SDL_WINDOWEVENT_FOCUS_GAINED ? 1 : 0);
        }
        break;
    default:
        break;
    }
}

bool ProcessMessages()
{
    SDL_Event event;
    while (EnsureEvents() && SDL_PollEvent(&event) != 0)
    {
        if (event.type == SDL_QUIT)
        {
            return false;
        }
        if (event.type != SDL_WINDOWEVENT)
        {
            continue;
        }
        for (Window* window : g_windows)
        {
            if (window->GetWindowID() == event.window.windowID)
            {
                window->HandleWindowEvent(event.window.event, event.window.data1, event.window.data2);
                break;
            }
        }
    }
    if (g_quitPending)
    {
        g_quitPending = false;
        return false;
    }
    return true;
}

void PostQuit()
{
    if (!EnsureEvents())
    {
        g_quitPending = true;
        return;
    }
    SDL_Event event{};
    event.type = SDL_QUIT;
    if (SDL_PushEvent(&event) != 1)
    {
        g_quitPending = true;
    }
}

} // namespace PAL

#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace PAL
{

// A display mode. Colour bits are the bytes per pixel times 8 (32 for the
// usual 8-bit RGB modes, 16 for 5-6-5).
struct DisplayMode
{
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t colourBits = 0;
    std::uint32_t refreshRate = 0;
};

// OpenGL framebuffer attributes. As a request, a channel size of 0 means
// "any"; samples 0 asks for no multisample buffer.
struct GLAttributes
{
    std::int32_t redBits = 0;
    std::int32_t greenBits = 0;
    std::int32_t blueBits = 0;
    std::int32_t alphaBits = 0;
    std::int32_t depthBits = 24;
    std::int32_t stencilBits = 8;
    std::int32_t samples = 0;
    bool doubleBuffer = true;
};

// One top-level window with an OpenGL-capable surface, over SDL. It is made
// hidden and shown with SetVisible. Window events reach it through
// ProcessMessages and become calls of its callbacks; input is not dispatched
// (mouse and keyboard are polled). Main thread only.
class Window
{
public:
    // The request callbacks and OnClose get a cancel byte that starts at 0.
    using RequestCallback = void (*)(Window* window, std::uint8_t* cancel);
    using NotifyCallback = void (*)(Window* window);
    using SizeCallback = void (*)(Window* window, std::int32_t width, std::int32_t height);
    // 1 shown/activated, 0 hidden/deactivated.
    using StateCallback = void (*)(Window* window, std::uint8_t state);

    // All null by default; a missing callback is skipped.
    struct Callbacks
    {
        // SDL offers no cancellable minimise, maximise or restore request,
        // so these three are never called here.
        RequestCallback onMinimizeRequest = nullptr;
        RequestCallback onMaximizeRequest = nullptr;
        RequestCallback onRestoreRequest = nullptr;
        NotifyCallback onMinimized = nullptr;
        NotifyCallback onMaximized = nullptr;
        NotifyCallback onRestored = nullptr;
        SizeCallback onSizing = nullptr; // client size after a resize
        StateCallback onShow = nullptr;
        NotifyCallback onPaint = nullptr; // the window needs redrawing
        // The close request. Unless the callback sets the cancel byte, the
        // quit message is posted (the window itself stays).
        RequestCallback onClose = nullptr;
        NotifyCallback onCreate = nullptr; // no callback can be set before creation
        NotifyCallback onDestroy = nullptr;
        StateCallback onActivate = nullptr; // keyboard focus gained or lost
    };

    // The framebuffer attributes windows are created with from now on; the
    // visual of an OpenGL window is fixed when it is created.
    static void SetGLAttributes(const GLAttributes& attributes);
    static GLAttributes GetGLAttributes();

    // Creates the window hidden with a client area of width x height. When
    // the screen is larger in both directions the client area is centred,
    // otherwise it is placed at the screen's top-left corner. A failure to
    // open the display or the window ends the process with the "Error"
    // report.
    Window(std::int32_t width, std::int32_t height);
    virtual ~Window();

    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Releases this window's OpenGL binding when it is current and destroys
    // the native window; the destructor calls it.
    void Destroy();

    void SetTitle(const std::string& title);
    const std::string& GetTitle() const { return title_; }
    // Loads the icon from an ICO file (engine path) and sets it; the path is
    // kept either way. False when the file could not be read as an icon.
    bool SetIcon(const std::string& path);
    const std::string& GetIcon() const { return iconPath_; }

    void SetVisible(bool visible);
    bool IsVisible() const { return visible_; }
    // Style flags; each keeps the client area's size. Without a border there
    // is no caption and no sizing frame.
    void SetMaximizeBox(bool enabled);
    void SetBorder(bool bordered);
    void SetResizable(bool resizable);
    bool HasMaximizeBox() const { return maximizeBox_; }
    bool HasBorder() const { return bordered_; }
    bool IsResizable() const { return resizable_; }
    void SetTopMost(bool topMost);

    void SetClientSize(std::int32_t width, std::int32_t height);
    void GetClientSize(std::int32_t& width, std::int32_t& height) const;
    // The outer window's top-left corner in screen coordinates (the frame
    // included, as far as the window manager reports it).
    void SetPosition(std::int32_t x, std::int32_t y);
    void GetPosition(std::int32_t& x, std::int32_t& y) const;
    // The client area in screen coordinates, for input polling.
    void GetClientRect(std::int32_t& x, std::int32_t& y, std::int32_t& width, std::int32_t& height) const;

    // The SDL_Window, for input/ which reads SDL state itself; null once
    // destroyed.
    void* GetHandle() const { return handle_; }
    // SDL's id of the window (0 once destroyed); events name it.
    std::uint32_t GetWindowID() const;

    void SetCallbacks(const Callbacks& callbacks) { callbacks_ = callbacks; }
    const Callbacks& GetCallbacks() const { return callbacks_; }
    void SetOnClose(RequestCallback callback) { callbacks_.onClose = callback; }

    // OpenGL, for the renderer. A context is an opaque SDL_GLContext.
    // Creates a context for this window; null on failure.
    void* CreateGLContext();
    // Binds `context` to this window on the calling thread; null releases
    // the binding. False on failure.
    bool MakeCurrent(void* context);
    static void DeleteGLContext(void* context);
    void SwapBuffers();
    // 1 waits for vertical sync, 0 does not. False means no swap control,
    // which is not an error.
    static bool SetSwapInterval(std::int32_t interval);
    static std::int32_t GetSwapInterval();
    // What the current context actually got; false without a current one.
    static bool GetObtainedGLAttributes(GLAttributes& attributes);
    // The address of an OpenGL entry point by name; null when the driver
    // lacks it. Meaningful only while a context is current.
    static void* GetGLProcAddress(const char* name);

    // Display modes of the primary display, as the system lists them.
    static std::vector<DisplayMode> GetDisplayModes();
    // The mode in force on the primary display.
    static bool GetCurrentDisplayMode(DisplayMode& mode);
    // Exclusive full screen in `mode` (the nearest the display offers), or
    // back to the desktop mode with the client area where it was before.
    // False when the switch failed.
    bool SetFullScreen(bool fullScreen, const DisplayMode& mode);
    bool IsFullScreen() const;

private:
    friend bool ProcessMessages();
    void HandleWindowEvent(std::uint8_t event, std::int32_t data1, std::int32_t data2);
    void ApplyStyle();

    void* handle_ = nullptr;
    std::string title_;
    std::string iconPath_;
    bool maximizeBox_ = true;
    bool caption_ = true;
    bool bordered_ = true;
    bool visible_ = false;
    bool resizable_ = true;
    Callbacks callbacks_;
    // Client rectangle (x, y, width, height) before full screen.
    std::int32_t windowed_[4] = {};
};

// Handles queued events until the queue is empty (true); window events go to
// their windows. Returns false as soon as it takes the quit message; events
// queued behind it stay for the next call. A quit posted while the events
// are handled (a close request that is not cancelled) is taken by the same
// call.
bool ProcessMessages();

// Posts the quit message behind the events already queued.
void PostQuit();

} // namespace PAL

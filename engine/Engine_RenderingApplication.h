#pragma once

#include "core/Core_RefPtr.h"
#include "core/Core_Stopwatch.h"
#include "engine/Engine_Application.h"
#include "engine/Engine_FontCache.h"
#include "engine/Engine_RenderingWindow.h"
#include "input/Input_Keyboard.h"
#include "input/Input_Mouse.h"
#include "renderer/Renderer_Adapter.h"
#include "renderer/Renderer_DisplayDescription.h"
#include "renderer/Renderer_IRenderer.h"

#include <cstdint>
#include <string>

namespace Engine
{

// What a program asks of the display: the window's client size, the
// refresh rate used in full screen, multisample samples (0 for none), and
// whether to start in full screen and wait for vertical sync. The game asks
// for {1024, 768, 85, 0, false, true}.
struct DisplayRequest
{
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t refreshRate = 0;
    std::uint32_t sampleCount = 0;
    bool fullscreen = false;
    bool vsync = false;
};

// The application with a window, mouse, keyboard, renderer, font cache and
// frame limiter. Constructing it:
// - chooses the framebuffer format, then makes the window with the requested
//   client size: not resizable, no maximise box, shown; in full screen also
//   without border, at (0, 0) and top-most. Closing the window posts the
//   quit message;
// - makes the process-wide mouse (bound to the window) and keyboard;
// - builds the renderer's display description from the request (colour
//   bits of the current display mode, 24 depth and 8 stencil bits) and makes
//   the renderer through the renderer factory (OpenGL unless replaced);
// - records itself and its font cache as the process-wide ones.
//
// The frame limiter starts off, at a desired 1000 frames per second. Each
// pass of the main loop: BeginFrame starts the frame stopwatch; RunFrame is
// the derived class's work; EndFrame swaps the buffers, then, with the lock
// on, yields with zero-length sleeps until the frame has lasted 1000 / rate
// milliseconds, records 1000 / the frame's milliseconds as the current rate
// (infinite for a frame of 0 ms) and resets the stopwatch.
//
// Destruction empties the font cache while the renderer still lives (fonts
// hold textures), then releases the renderer, keyboard and mouse, and
// destroys the window last.
class RenderingApplication : public Application
{
public:
    // Makes the renderer for a description whose window is set. The default
    // makes the OpenGL renderer; tests install the recording renderer.
    using RendererFactory =
        Core::RefPtr<Renderer::IRenderer> (*)(const Renderer::DisplayDescription& description);
    // Null goes back to the OpenGL renderer.
    static void SetRendererFactory(RendererFactory factory);

    explicit RenderingApplication(const DisplayRequest& request);
    ~RenderingApplication() override;

    // The rendering application alive now, or null.
    static RenderingApplication* GetInstance();

    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;

    void BeginFrame() override;
    // Presents the frame (PresentFrame), then runs the frame limiter.
    void EndFrame() override;
    // Gives up the rest of the time slice: the frame limiter's wait.
    virtual void Idle();

    RenderingWindow& GetWindow() { return window_; }
    const RenderingWindow& GetWindow() const { return window_; }
    const Core::RefPtr<Renderer::IRenderer>& GetRenderer() const { return renderer_; }
    const Core::RefPtr<Input::Keyboard>& GetKeyboard() const { return keyboard_; }
    const Core::RefPtr<Input::Mouse>& GetMouse() const { return mouse_; }
    FontCache& GetFontCache() { return fontCache_; }

    // Sheet images of sprite animations read from archives are found here;
    // empty at start.
    void SetSpriteSheetDirectory(const std::string& directory) { spriteSheetDirectory_ = directory; }
    const std::string& GetSpriteSheetDirectory() const { return spriteSheetDirectory_; }

    // Desired rate in frames per second; the frame time becomes 1000 / rate.
    // A rate not above 0 (or NaN) is ignored.
    void SetDesiredFrameRate(double framesPerSecond);
    double GetDesiredFrameRate() const { return desiredFrameRate_; }
    double GetMillisecondsPerFrame() const { return millisecondsPerFrame_; }
    // The rate the last frame achieved.
    double GetCurrentFrameRate() const { return currentFrameRate_; }
    void LockFrameRate(bool lock) { frameRateLocked_ = lock; }
    bool IsFrameRateLocked() const { return frameRateLocked_; }

    // Forwarded to the renderer.
    void SetVSync(bool enable);
    bool IsVSync() const;
    bool IsFullScreen() const;
    // Switches only when `fullScreen` differs from the current mode.
    void SetFullScreen(bool fullScreen);
    void ToggleFullScreen();

    // Posts the quit message: the main loop ends at its next pump, after
    // the frame under way.
    void Exit();

protected:
    // Swaps the buffers; a derived application may time it.
    virtual void PresentFrame();

private:
    // The renderer's description of the request for `window`.
    static Renderer::DisplayDescription Describe(const DisplayRequest& request,
                                                 const Renderer::Adapter& adapter, PAL::Window* window);
    // A window's framebuffer is fixed when the window is made, so the format
    // is chosen first; answers the client width the window is made with.
    static std::int32_t ChooseFramebuffer(const DisplayRequest& request, const Renderer::Adapter& adapter);

    Renderer::AdapterHolder adapter_;
    // Runs from construction; nothing in the engine reads it.
    Core::Stopwatch runStopwatch_;
    Core::Stopwatch frameStopwatch_;
    RenderingWindow window_;
    FontCache fontCache_;
    Core::RefPtr<Input::Mouse> mouse_;
    Core::RefPtr<Input::Keyboard> keyboard_;
    Core::RefPtr<Renderer::IRenderer> renderer_;
    std::string spriteSheetDirectory_;
    double millisecondsPerFrame_ = 1.0;
    double desiredFrameRate_ = 1000.0;
    double currentFrameRate_ = 0.0;
    bool frameRateLocked_ = false;
};

} // namespace Engine

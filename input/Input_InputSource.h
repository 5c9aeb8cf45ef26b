#pragma once

#include <cstdint>

namespace PAL
{
class Window;
}

namespace Input
{

// A window's client area in screen pixels: top-left corner and size.
struct ClientArea
{
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// Where the local mouse and keyboard read the machine's input state. The
// devices poll the process-wide source once per update; the platform source
// reads SDL, and tests install a scripted one. Every call is made on the
// main thread.
class InputSource
{
public:
    virtual ~InputSource();

    // The pointer position in screen pixels.
    virtual void GetCursorPosition(std::int32_t& x, std::int32_t& y) = 0;
    // Moves the pointer to a client pixel of the window (y down from the
    // top edge).
    virtual void WarpCursor(PAL::Window* window, std::int32_t clientX, std::int32_t clientY) = 0;
    // The window's client area; false when it has none.
    virtual bool GetClientArea(PAL::Window* window, ClientArea& area) = 0;

    // Whether a virtual key or mouse button is down right now.
    virtual bool IsKeyDown(std::uint8_t virtualKey) = 0;
    // The state of all 256 virtual keys: high bit down, low bit toggled
    // (Caps Lock, Num Lock, Scroll Lock on). The buffer arrives cleared.
    virtual void GetKeyboardState(std::uint8_t (&state)[256]) = 0;
    // The toggle state of a lock key.
    virtual bool IsKeyToggled(std::uint8_t virtualKey) = 0;

    // The system cursor keeps a display counter: showing adds one, hiding
    // takes one away, and the cursor is drawn while the counter is at least
    // 0. Returns the new counter.
    virtual std::int32_t ShowCursor(bool show) = 0;
    virtual bool IsCursorShowing() = 0;

    // The source the devices read: the one installed, else the platform's.
    static InputSource& GetCurrent();
    // Installs a source (not owned); null goes back to the platform's.
    static void SetCurrent(InputSource* source);
};

} // namespace Input

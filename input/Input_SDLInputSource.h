#pragma once

#include "input/Input_InputSource.h"

namespace Input
{

// The machine's input through SDL: the global pointer position and buttons,
// the keyboard array turned into virtual keys, the lock keys from SDL's
// modifier state, the window's client area from the platform window. SDL
// has no cursor display counter, so this source keeps one and shows the
// cursor while it is at least 0.
class SDLInputSource : public InputSource
{
public:
    void GetCursorPosition(std::int32_t& x, std::int32_t& y) override;
    void WarpCursor(PAL::Window* window, std::int32_t clientX, std::int32_t clientY) override;
    bool GetClientArea(PAL::Window* window, ClientArea& area) override;
    bool IsKeyDown(std::uint8_t virtualKey) override;
    void GetKeyboardState(std::uint8_t (&state)[256]) override;
    bool IsKeyToggled(std::uint8_t virtualKey) override;
    std::int32_t ShowCursor(bool show) override;
    bool IsCursorShowing() override;

private:
    std::int32_t showCounter_ = 0;
};

} // namespace Input

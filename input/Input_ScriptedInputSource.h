#pragma once

#include "input/Input_InputSource.h"

#include <array>

namespace Input
{

// An input source driven by the caller: a pointer position, one client area
// shared by every window, key states and a cursor display counter. Tests and
// the programs' scripted runs install it with InputSource::SetCurrent, so the
// local devices read the script through the same path as the platform.
class ScriptedInputSource : public InputSource
{
public:
    void SetCursor(std::int32_t x, std::int32_t y)
    {
        cursorX_ = x;
        cursorY_ = y;
    }
    void SetClientArea(const ClientArea& area) { area_ = area; }
    const ClientArea& GetArea() const { return area_; }
    // A window without a client area (minimised, destroyed).
    void RemoveClientArea() { hasArea_ = false; }
    // Mouse buttons are virtual keys 1 (left), 2 (right) and 4 (middle).
    void SetKeyDown(std::uint8_t virtualKey, bool isDown);
    void SetKeyToggled(std::uint8_t virtualKey, bool toggled);
    void ReleaseAllKeys();
    std::int32_t GetShowCounter() const { return showCounter_; }
    std::int32_t GetShowCalls() const { return showCalls_; }

    void GetCursorPosition(std::int32_t& x, std::int32_t& y) override;
    void WarpCursor(PAL::Window* window, std::int32_t clientX, std::int32_t clientY) override;
    bool GetClientArea(PAL::Window* window, ClientArea& area) override;
    bool IsKeyDown(std::uint8_t virtualKey) override;
    void GetKeyboardState(std::uint8_t (&state)[256]) override;
    bool IsKeyToggled(std::uint8_t virtualKey) override;
    std::int32_t ShowCursor(bool show) override;
    bool IsCursorShowing() override { return showCounter_ >= 0; }

private:
    std::int32_t cursorX_ = 0;
    std::int32_t cursorY_ = 0;
    ClientArea area_{0, 0, 1024, 768};
    bool hasArea_ = true;
    std::array<std::uint8_t, 256> keys_{};
    std::int32_t showCounter_ = 0;
    std::int32_t showCalls_ = 0;
};

} // namespace Input

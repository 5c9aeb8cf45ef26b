#pragma once

#include "core/Core_Object.h"
#include "input/Input_Records.h"
#include "math/Math_Vector2D.h"

#include <cstdint>
#include <vector>

namespace PAL
{
class Window;
}

namespace Input
{

// The mouse as game code sees it: three buttons (0 left, 1 middle, 2
// right) and a position in client pixels of the window with y growing
// upwards from the bottom edge. A local mouse polls the machine once per
// update; an external one is driven by recorded or received state.
class Mouse : public Core::Object
{
public:
    virtual void Update() = 0;
    // Moves the pointer to a client pixel (y up from the bottom edge).
    virtual void SetPosition(std::int32_t x, std::int32_t y) = 0;
    virtual Math::Vector2D GetPosition() const = 0;
    virtual void GetPosition(std::int32_t& x, std::int32_t& y) const = 0;
    virtual std::int32_t GetPositionX() const = 0;
    virtual std::int32_t GetPositionY() const = 0;
    virtual bool IsInWindow() const = 0;
    virtual bool IsMoved() const = 0;
    // Per button: down now, went down in this update (two names for one
    // byte), released in this update. Any other button number gives false.
    virtual bool IsPressed(std::int32_t button) const = 0;
    virtual bool IsTriggered(std::int32_t button) const = 0;
    virtual bool IsDown(std::int32_t button) const = 0;
    virtual bool IsUp(std::int32_t button) const = 0;
    virtual void SetCursorVisible(bool visible) = 0;
    virtual bool IsCursorVisible() const = 0;
    virtual void SetWindow(PAL::Window* window) = 0;
    virtual PAL::Window* GetWindow() const = 0;
    virtual void Reset() = 0;
    // The 28-byte state record (MouseState): a local mouse exports it, an
    // external one loads it.
    virtual bool LoadState(const void* data, std::uint32_t size) = 0;
    virtual void GetState(const void*& data, std::uint32_t& size) = 0;
    // The update's motion and button changes, as replays record them, and
    // their application back onto a mouse.
    virtual bool ExportEvents(MouseMotion& motion, std::vector<std::uint8_t>& buttons,
                              std::vector<KeyRecord>& records) const = 0;
    virtual bool ApplyEvents(const MouseMotion& motion, const std::vector<std::uint8_t>& buttons,
                             const std::vector<KeyRecord>& records) = 0;

    // Shows or hides the system cursor (nothing on an external mouse).
    void ShowCursor(bool show) { SetCursorVisible(show); }
};

} // namespace Input

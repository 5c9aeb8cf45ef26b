#include "input/Input_ScriptedInputSource.h"

#include <algorithm>
#include <limits>

namespace Input
{

namespace
{
std::int32_t Saturate(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}
} // namespace

void ScriptedInputSource::SetKeyDown(std::uint8_t virtualKey, bool isDown)
{
    keys_[virtualKey] = static_cast<std::uint8_t>((keys_[virtualKey] & 0x01) | (isDown ? 0x80 : 0x00));
}

void ScriptedInputSource::SetKeyToggled(std::uint8_t virtualKey, bool toggled)
{
    keys_[virtualKey] = static_cast<std::uint8_t>((keys_[virtualKey] & 0x80) | (toggled ? 0x01 : 0x00));
}

void ScriptedInputSource::ReleaseAllKeys()
{
    for (std::uint8_t& key : keys_)
    {
        key &= 0x01;
    }
}

void ScriptedInputSource::GetCursorPosition(std::int32_t& x, std::int32_t& y)
{
    x = cursorX_;
    y = cursorY_;
}

void ScriptedInputSource::WarpCursor(PAL::Window*, std::int32_t clientX, std::int32_t clientY)
{
    cursorX_ = Saturate(std::int64_t{area_.x} + clientX);
    cursorY_ = Saturate(std::int64_t{area_.y} + clientY);
}

bool ScriptedInputSource::GetClientArea(PAL::Window* window, ClientArea& area)
{
    if (window == nullptr || !hasArea_)
    {
        return false;
    }
    area = area_;
    return true;
}

bool ScriptedInputSource::IsKeyDown(std::uint8_t virtualKey)
{
    return (keys_[virtualKey] & 0x80) != 0;
}

void ScriptedInputSource::GetKeyboardState(std::uint8_t (&state)[256])
{
    for (std::size_t key = 0; key < keys_.size(); ++key)
    {
        state[key] = keys_[key];
    }
}

bool ScriptedInputSource::IsKeyToggled(std::uint8_t virtualKey)
{
    return (keys_[virtualKey] & 0x01) != 0;
}

std::int32_t ScriptedInputSource::ShowCursor(bool show)
{
    ++showCalls_;
    showCounter_ += show ? 1 : -1;
    return showCounter_;
}

} // namespace Input

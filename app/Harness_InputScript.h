#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Input
{
class ScriptedInputSource;
}

namespace Harness
{

// One line of an input script: what happens before the frame of that
// number (frames count from 1).
struct InputEvent
{
    enum class Kind : std::uint8_t
    {
        Move,
        Press,
        Release,
        KeyDown,
        KeyUp,
    };

    std::uint32_t frame = 0;
    Kind kind = Kind::Move;
    // Move: window pixels, y up from the bottom edge.
    std::int32_t x = 0;
    std::int32_t y = 0;
    // Press, release and the keys: the virtual key (mouse buttons are keys
    // 1 left, 2 right, 4 middle).
    std::uint8_t virtualKey = 0;
    std::uint32_t line = 0;
};

// Reads an input script, one event per line:
//   <frame> move <x> <y>
//   <frame> press|release left|middle|right
//   <frame> key-down|key-up <engine key code or name>
// Blank lines and lines starting with '#' are skipped. Key names are
// "escape", "enter", "space", "tab", "backspace", "left", "up", "right",
// "down", "shift", "control", "alt", "f1" to "f12", and a single letter or
// digit. Answers an empty text and the events in frame order (lines of one
// frame in file order), or "line N: <what is wrong>" and no events.
std::string ParseInputScript(const std::string& text, std::vector<InputEvent>& events);

// ParseInputScript of a file; a file that cannot be read is named.
std::string ReadInputScript(const std::string& path, std::vector<InputEvent>& events);

// Applies one event to the source, whose client area gives the window's
// size (a move's y is counted from the bottom edge).
void ApplyInputEvent(const InputEvent& event, Input::ScriptedInputSource& source);

} // namespace Harness

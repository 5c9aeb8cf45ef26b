#pragma once

#include <cstdint>

namespace Input
{

// The virtual key of an SDL scancode, 0 when it has none. Keypad digits and
// the keypad point name the numeric keys with Num Lock on and the editing
// and arrow keys with it off, as the keys themselves do.
std::uint8_t ScancodeToVirtualKey(std::int32_t scancode, bool numLock);

// Builds the 256-entry virtual-key state (high bit down, low bit toggled)
// from SDL's keyboard array (indexed by scancode), its mouse-button mask
// and its modifier state. The combined Shift, Control and Alt keys are down
// when either side is; the mouse buttons are keys 1 (left), 2 (right), 4
// (middle), 5 and 6 (the extra buttons).
void BuildVirtualKeyState(const std::uint8_t* scancodes, std::int32_t count, std::uint32_t mouseButtons,
                          std::uint32_t modifiers, std::uint8_t (&state)[256]);

} // namespace Input

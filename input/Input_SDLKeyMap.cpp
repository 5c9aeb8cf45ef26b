#include "input/Input_SDLKeyMap.h"

#include "input/Input_KeyCodes.h"

#include <SDL.h>

namespace Input
{

namespace
{

struct Entry
{
    SDL_Scancode scancode;
    std::uint8_t virtualKey;
};

// Scancodes outside the letter, digit and function-key runs.
constexpr Entry kEntries[] = {
    {SDL_SCANCODE_RETURN, VirtualKey::Return},
    {SDL_SCANCODE_ESCAPE, VirtualKey::Escape},
    {SDL_SCANCODE_BACKSPACE, VirtualKey::Back},
    {SDL_SCANCODE_TAB, VirtualKey::Tab},
    {SDL_SCANCODE_SPACE, VirtualKey::Space},
    {SDL_SCANCODE_MINUS, VirtualKey::OemMinus},
    {SDL_SCANCODE_EQUALS, VirtualKey::OemPlus},
    {SDL_SCANCODE_LEFTBRACKET, VirtualKey::Oem4},
    {SDL_SCANCODE_RIGHTBRACKET, VirtualKey::Oem6},
    {SDL_SCANCODE_BACKSLASH, VirtualKey::Oem5},
    {SDL_SCANCODE_NONUSHASH, VirtualKey::Oem5},
    {SDL_SCANCODE_SEMICOLON, VirtualKey::Oem1},
    {SDL_SCANCODE_APOSTROPHE, VirtualKey::Oem7},
    {SDL_SCANCODE_GRAVE, VirtualKey::Oem3},
    {SDL_SCANCODE_COMMA, VirtualKey::OemComma},
    {SDL_SCANCODE_PERIOD, VirtualKey::OemPeriod},
    {SDL_SCANCODE_SLASH, VirtualKey::Oem2},
    {SDL_SCANCODE_CAPSLOCK, VirtualKey::Capital},
    {SDL_SCANCODE_PRINTSCREEN, VirtualKey::Snapshot},
    {SDL_SCANCODE_SCROLLLOCK, VirtualKey::Scroll},
    {SDL_SCANCODE_PAUSE, VirtualKey::Pause},
    {SDL_SCANCODE_INSERT, VirtualKey::Insert},
    {SDL_SCANCODE_HOME, VirtualKey::Home},
    {SDL_SCANCODE_PAGEUP, VirtualKey::Prior},
    {SDL_SCANCODE_DELETE, VirtualKey::Delete},
    {SDL_SCANCODE_END, VirtualKey::End},
    {SDL_SCANCODE_PAGEDOWN, VirtualKey::Next},
    {SDL_SCANCODE_RIGHT, VirtualKey::Right},
    {SDL_SCANCODE_LEFT, VirtualKey::Left},
    {SDL_SCANCODE_DOWN, VirtualKey::Down},
    {SDL_SCANCODE_UP, VirtualKey::Up},
    {SDL_SCANCODE_NUMLOCKCLEAR, VirtualKey::NumLock},
    {SDL_SCANCODE_KP_DIVIDE, VirtualKey::Divide},
    {SDL_SCANCODE_KP_MULTIPLY, VirtualKey::Multiply},
    {SDL_SCANCODE_KP_MINUS, VirtualKey::Subtract},
    {SDL_SCANCODE_KP_PLUS, VirtualKey::Add},
    {SDL_SCANCODE_KP_ENTER, VirtualKey::Return},
    {SDL_SCANCODE_KP_COMMA, VirtualKey::Separator},
    {SDL_SCANCODE_NONUSBACKSLASH, VirtualKey::Oem102},
    {SDL_SCANCODE_APPLICATION, VirtualKey::Apps},
    {SDL_SCANCODE_EXECUTE, VirtualKey::Execute},
    {SDL_SCANCODE_HELP, VirtualKey::Help},
    {SDL_SCANCODE_SELECT, VirtualKey::Select},
    {SDL_SCANCODE_MUTE, VirtualKey::VolumeMute},
    {SDL_SCANCODE_VOLUMEUP, VirtualKey::VolumeUp},
    {SDL_SCANCODE_VOLUMEDOWN, VirtualKey::VolumeDown},
    {SDL_SCANCODE_LANG1, 0x15}, // Kana / Hangul
    {SDL_SCANCODE_LANG2, 0x19}, // Kanji / Hanja
    {SDL_SCANCODE_CANCEL, VirtualKey::Cancel},
    {SDL_SCANCODE_CLEAR, VirtualKey::Clear},
    {SDL_SCANCODE_RETURN2, VirtualKey::Return},
    {SDL_SCANCODE_CRSEL, 0xF7},
    {SDL_SCANCODE_EXSEL, 0xF8},
    {SDL_SCANCODE_LCTRL, VirtualKey::LControl},
    {SDL_SCANCODE_LSHIFT, VirtualKey::LShift},
    {SDL_SCANCODE_LALT, VirtualKey::LMenu},
    {SDL_SCANCODE_LGUI, VirtualKey::LWin},
    {SDL_SCANCODE_RCTRL, VirtualKey::RControl},
    {SDL_SCANCODE_RSHIFT, VirtualKey::RShift},
    {SDL_SCANCODE_RALT, VirtualKey::RMenu},
    {SDL_SCANCODE_RGUI, VirtualKey::RWin},
    {SDL_SCANCODE_AUDIONEXT, VirtualKey::MediaNextTrack},
    {SDL_SCANCODE_AUDIOPREV, VirtualKey::MediaPrevTrack},
    {SDL_SCANCODE_AUDIOSTOP, VirtualKey::MediaStop},
    {SDL_SCANCODE_AUDIOPLAY, VirtualKey::MediaPlayPause},
    {SDL_SCANCODE_AUDIOMUTE, VirtualKey::VolumeMute},
    {SDL_SCANCODE_MEDIASELECT, VirtualKey::LaunchMediaSelect},
    {SDL_SCANCODE_MAIL, VirtualKey::LaunchMail},
    {SDL_SCANCODE_CALCULATOR, VirtualKey::LaunchApp2},
    {SDL_SCANCODE_COMPUTER, VirtualKey::LaunchApp1},
    {SDL_SCANCODE_AC_SEARCH, VirtualKey::BrowserSearch},
    {SDL_SCANCODE_AC_HOME, VirtualKey::BrowserHome},
    {SDL_SCANCODE_AC_BACK, VirtualKey::BrowserBack},
    {SDL_SCANCODE_AC_FORWARD, VirtualKey::BrowserForward},
    {SDL_SCANCODE_AC_STOP, VirtualKey::BrowserStop},
    {SDL_SCANCODE_AC_REFRESH, VirtualKey::BrowserRefresh},
    {SDL_SCANCODE_AC_BOOKMARKS, VirtualKey::BrowserFavorites},
    {SDL_SCANCODE_SLEEP, VirtualKey::Sleep},
};

// Keypad keys 1-9, 0 and the point without Num Lock.
constexpr std::uint8_t kKeypadEditing[11] = {
    VirtualKey::End,   VirtualKey::Down,   VirtualKey::Next,   VirtualKey::Left,
    VirtualKey::Clear, VirtualKey::Right,  VirtualKey::Home,   VirtualKey::Up,
    VirtualKey::Prior, VirtualKey::Insert, VirtualKey::Delete,
};

} // namespace

std::uint8_t ScancodeToVirtualKey(std::int32_t scancode, bool numLock)
{
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
    {
        return static_cast<std::uint8_t>(VirtualKey::A + (scancode - SDL_SCANCODE_A));
    }
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9)
    {
        return static_cast<std::uint8_t>(VirtualKey::Digit0 + 1 + (scancode - SDL_SCANCODE_1));
    }
    if (scancode == SDL_SCANCODE_0)
    {
        return VirtualKey::Digit0;
    }
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12)
    {
        return static_cast<std::uint8_t>(VirtualKey::F1 + (scancode - SDL_SCANCODE_F1));
    }
    if (scancode >= SDL_SCANCODE_F13 && scancode <= SDL_SCANCODE_F24)
    {
        return static_cast<std::uint8_t>(VirtualKey::F1 + 12 + (scancode - SDL_SCANCODE_F13));
    }
    // SDL orders the keypad 1 to 9, 0, point.
    if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_PERIOD)
    {
        const int index = scancode - SDL_SCANCODE_KP_1;
        if (!numLock)
        {
            return kKeypadEditing[index];
        }
        if (index < 9)
        {
            return static_cast<std::uint8_t>(VirtualKey::Numpad0 + 1 + index);
        }
        return index == 9 ? VirtualKey::Numpad0 : VirtualKey::Decimal;
    }
    for (const Entry& entry : kEntries)
    {
        if (entry.scancode == scancode)
        {
            return entry.virtualKey;
        }
    }
    return 0;
}

void BuildVirtualKeyState(const std::uint8_t* scancodes, std::int32_t count, std::uint32_t mouseButtons,
                          std::uint32_t modifiers, std::uint8_t (&state)[256])
{
    constexpr std::uint8_t kDown = 0x80;
    const bool numLock = (modifiers & KMOD_NUM) != 0;
    for (std::int32_t scancode = 0; scancode < count; ++scancode)
    {
        if (scancodes[scancode] != 0)
        {
            const std::uint8_t key = ScancodeToVirtualKey(scancode, numLock);
            if (key != 0)
            {
                state[key] |= kDown;
            }
        }
    }
    const auto either = [&state](std::uint8_t left, std::uint8_t right, std::uint8_t both)
    {
        if (((state[left] | state[right]) & kDown) != 0)
        {
            state[both] |= kDown;
        }
    };
    either(VirtualKey::LShift, VirtualKey::RShift, VirtualKey::Shift);
    either(VirtualKey::LControl, VirtualKey::RControl, VirtualKey::Control);
    either(VirtualKey::LMenu, VirtualKey::RMenu, VirtualKey::Menu);

    const struct
    {
        std::uint32_t mask;
        std::uint8_t key;
    } buttons[] = {
        {SDL_BUTTON_LMASK, VirtualKey::LButton},   {SDL_BUTTON_RMASK, VirtualKey::RButton},
        {SDL_BUTTON_MMASK, VirtualKey::MButton},   {SDL_BUTTON_X1MASK, VirtualKey::XButton1},
        {SDL_BUTTON_X2MASK, VirtualKey::XButton2},
    };
    for (const auto& button : buttons)
    {
        if ((mouseButtons & button.mask) != 0)
        {
            state[button.key] |= kDown;
        }
    }

    if ((modifiers & KMOD_CAPS) != 0)
    {
        state[VirtualKey::Capital] |= 0x01;
    }
    if (numLock)
    {
        state[VirtualKey::NumLock] |= 0x01;
    }
    if ((modifiers & KMOD_SCROLL) != 0)
    {
        state[VirtualKey::Scroll] |= 0x01;
    }
}

} // namespace Input

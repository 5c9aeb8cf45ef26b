#include "input/Input_KeyCodes.h"
#include "input/Input_SDLKeyMap.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

namespace VK = Input::VirtualKey;

namespace
{

TEST(SDLKeyMap, ScancodesMapToVirtualKeys)
{
    struct Case
    {
        SDL_Scancode scancode;
        bool numLock;
        std::uint8_t virtualKey;
    };
    const Case cases[] = {
        {SDL_SCANCODE_A, false, 'A'},
        {SDL_SCANCODE_Z, false, 'Z'},
        {SDL_SCANCODE_1, false, '1'},
        {SDL_SCANCODE_9, false, '9'},
        {SDL_SCANCODE_0, false, '0'},
        {SDL_SCANCODE_F1, false, VK::F1},
        {SDL_SCANCODE_F12, false, 0x7B},
        {SDL_SCANCODE_F13, false, 0x7C},
        {SDL_SCANCODE_F24, false, 0x87},
        {SDL_SCANCODE_ESCAPE, false, VK::Escape},
        {SDL_SCANCODE_RETURN, false, VK::Return},
        {SDL_SCANCODE_KP_ENTER, false, VK::Return},
        {SDL_SCANCODE_SPACE, false, VK::Space},
        {SDL_SCANCODE_TAB, false, VK::Tab},
        {SDL_SCANCODE_LEFT, false, VK::Left},
        {SDL_SCANCODE_UP, false, VK::Up},
        {SDL_SCANCODE_RIGHT, false, VK::Right},
        {SDL_SCANCODE_DOWN, false, VK::Down},
        {SDL_SCANCODE_SEMICOLON, false, VK::Oem1},
        {SDL_SCANCODE_APOSTROPHE, false, VK::Oem7},
        {SDL_SCANCODE_LSHIFT, false, VK::LShift},
        {SDL_SCANCODE_RALT, false, VK::RMenu},
        {SDL_SCANCODE_KP_1, true, 0x61},
        {SDL_SCANCODE_KP_9, true, 0x69},
        {SDL_SCANCODE_KP_0, true, VK::Numpad0},
        {SDL_SCANCODE_KP_PERIOD, true, VK::Decimal},
        {SDL_SCANCODE_KP_4, false, VK::Left},
        {SDL_SCANCODE_KP_0, false, VK::Insert},
        {SDL_SCANCODE_KP_PERIOD, false, VK::Delete},
        {SDL_SCANCODE_KP_DIVIDE, false, VK::Divide},
        {SDL_SCANCODE_UNKNOWN, false, 0},
        {SDL_SCANCODE_POWER, false, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(SDL_GetScancodeName(c.scancode));
        EXPECT_EQ(Input::ScancodeToVirtualKey(c.scancode, c.numLock), c.virtualKey);
    }
    EXPECT_EQ(Input::ScancodeToVirtualKey(-1, false), 0);
    EXPECT_EQ(Input::ScancodeToVirtualKey(SDL_NUM_SCANCODES, false), 0);
}

TEST(SDLKeyMap, StateCombinesKeysButtonsAndLocks)
{
    std::vector<std::uint8_t> keys(SDL_NUM_SCANCODES, 0);
    keys[SDL_SCANCODE_Q] = 1;
    keys[SDL_SCANCODE_RSHIFT] = 1;
    keys[SDL_SCANCODE_LCTRL] = 1;
    keys[SDL_SCANCODE_KP_8] = 1;
    std::uint8_t state[256] = {};
    Input::BuildVirtualKeyState(keys.data(), static_cast<std::int32_t>(keys.size()),
                                SDL_BUTTON_LMASK | SDL_BUTTON_X2MASK, KMOD_CAPS | KMOD_NUM, state);

    std::vector<int> down;
    std::vector<int> toggled;
    for (int key = 0; key < 256; ++key)
    {
        EXPECT_EQ(state[key] & 0x7E, 0) << key;
        if ((state[key] & 0x80) != 0)
        {
            down.push_back(key);
        }
        if ((state[key] & 0x01) != 0)
        {
            toggled.push_back(key);
        }
    }
    EXPECT_EQ(down, (std::vector<int>{VK::LButton, VK::XButton2, VK::Shift, VK::Control, 'Q', 0x68,
                                      VK::RShift, VK::LControl}));
    EXPECT_EQ(toggled, (std::vector<int>{VK::Capital, VK::NumLock}));
}

} // namespace

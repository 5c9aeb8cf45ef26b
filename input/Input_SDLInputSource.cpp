#include "input/Input_SDLInputSource.h"

#include "input/Input_KeyCodes.h"
#include "input/Input_SDLKeyMap.h"
#include "pal/PAL_Window.h"

#include <SDL.h>

namespace Input
{

void SDLInputSource::GetCursorPosition(std::int32_t& x, std::int32_t& y)
{
    int globalX = 0;
    int globalY = 0;
    SDL_GetGlobalMouseState(&globalX, &globalY);
    x = globalX;
    y = globalY;
}

void SDLInputSource::WarpCursor(PAL::Window* window, std::int32_t clientX, std::int32_t clientY)
{
    if (window != nullptr && window->GetHandle() != nullptr)
    {
        SDL_WarpMouseInWindow(static_cast<SDL_Window*>(window->GetHandle()), clientX, clientY);
    }
}

bool SDLInputSource::GetClientArea(PAL::Window* window, ClientArea& area)
{
    if (window == nullptr || window->GetHandle() == nullptr)
    {
        return false;
    }
    window->GetClientRect(area.x, area.y, area.width, area.height);
    return true;
}

bool SDLInputSource::IsKeyDown(std::uint8_t virtualKey)
{
    // The mouse asks for its three buttons every update: read them alone.
    const Uint32 buttons = SDL_GetGlobalMouseState(nullptr, nullptr);
    switch (virtualKey)
    {
    case VirtualKey::LButton:
        return (buttons & SDL_BUTTON_LMASK) != 0;
    case VirtualKey::MButton:
        return (buttons & SDL_BUTTON_MMASK) != 0;
    case VirtualKey::RButton:
        return (buttons & SDL_BUTTON_RMASK) != 0;
    default:
        break;
    }
    std::uint8_t state[256] = {};
    GetKeyboardState(state);
    return (state[virtualKey] & 0x80) != 0;
}

void SDLInputSource::GetKeyboardState(std::uint8_t (&state)[256])
{
    int count = 0;
    const Uint8* keys = SDL_GetKeyboardState(&count);
    const Uint32 buttons = SDL_GetGlobalMouseState(nullptr, nullptr);
    BuildVirtualKeyState(keys, keys != nullptr ? count : 0, buttons, SDL_GetModState(), state);
}

bool SDLInputSource::IsKeyToggled(std::uint8_t virtualKey)
{
    const SDL_Keymod modifiers = SDL_GetModState();
    switch (virtualKey)
    {
    case VirtualKey::Capital:
        return (modifiers & KMOD_CAPS) != 0;
    case VirtualKey::NumLock:
        return (modifiers & KMOD_NUM) != 0;
    case VirtualKey::Scroll:
        return (modifiers & KMOD_SCROLL) != 0;
    default:
        return false;
    }
}

std::int32_t SDLInputSource::ShowCursor(bool show)
{
    showCounter_ += show ? 1 : -1;
    SDL_ShowCursor(showCounter_ >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return showCounter_;
}

bool SDLInputSource::IsCursorShowing()
{
    return SDL_ShowCursor(SDL_QUERY) == SDL_ENABLE;
}

} // namespace Input

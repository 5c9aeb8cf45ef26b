#pragma once

#include <cstdint>

namespace PAL
{
class Window;
}

namespace Renderer
{

// What the application asks of the display when it makes the renderer. The
// application fills it from its own request (size, refresh rate, samples and
// the two flags) and the current display mode (colour bits).
struct DisplayDescription
{
    // Client size in pixels; also the size `ReadPixels` reads.
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    // Display frequency in Hz used when switching to full screen.
    std::uint32_t refreshRate = 0;
    // Multisample samples for the pixel format; 0 = no multisampling.
    std::uint32_t sampleCount = 0;
    std::uint32_t colorBits = 32;
    std::uint32_t depthBits = 24;
    std::uint32_t stencilBits = 8;
    // The window drawn into; not owned.
    PAL::Window* window = nullptr;
    bool fullscreen = false;
    bool vsync = false;
};

// The viewport rectangle in window pixels and its depth range.
struct ViewportRecord
{
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    float nearDepth = 0.0f;
    float farDepth = 1.0f;
};

// The three values `GetVersion` answers.
struct RendererVersion
{
    std::uint32_t first = 0;
    std::uint32_t second = 0;
    std::uint32_t third = 0;
};

} // namespace Renderer

#pragma once

#include "pal/PAL_Window.h"

#include <cstdint>

namespace Engine
{

// The application's window: a platform window with a client area of the
// requested size, made hidden; the rendering application styles and shows
// it.
class RenderingWindow : public PAL::Window
{
public:
    RenderingWindow(std::int32_t clientWidth, std::int32_t clientHeight);
    ~RenderingWindow() override;
};

} // namespace Engine

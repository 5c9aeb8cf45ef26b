#include "engine/Engine_RenderingWindow.h"

namespace Engine
{

RenderingWindow::RenderingWindow(std::int32_t clientWidth, std::int32_t clientHeight)
    : PAL::Window(clientWidth, clientHeight)
{
}

RenderingWindow::~RenderingWindow() = default;

} // namespace Engine

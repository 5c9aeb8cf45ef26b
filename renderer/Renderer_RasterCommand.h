#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "renderer/Renderer_Surface.h"

#include <cstdint>

namespace Renderer
{

class IRenderer;

// A drawing step queued on the renderer and run at the next buffer swap, in
// window pixels over the viewport, with the depth test and depth writes off.
class RasterCommand : public Core::Object
{
public:
    virtual void Execute(IRenderer& renderer) = 0;
};

// Copies a rectangle of a surface to the screen. The source rectangle is
// limited to the surface and the destination to the viewport; a mirror flag
// flips the copy on its axis within the same destination rectangle.
class DrawSurfaceCommand : public RasterCommand
{
public:
    // (x, y): the destination's lower-left corner in viewport pixels; the
    // source rectangle counts rows from the surface's bottom row.
    DrawSurfaceCommand(const Core::RefPtr<Surface>& image, std::int32_t x, std::int32_t y,
                       std::int32_t sourceX, std::int32_t sourceY, std::int32_t sourceWidth,
                       std::int32_t sourceHeight, bool mirrorX, bool mirrorY);

    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;

    // Expects the projection to map viewport pixels (0 to width, 0 to
    // height) and an identity model-view matrix, as the renderer sets them
    // around its queue.
    void Execute(IRenderer& renderer) override;

private:
    Core::RefPtr<Surface> image_;
    std::int32_t x_;
    std::int32_t y_;
    std::int32_t sourceX_;
    std::int32_t sourceY_;
    std::int32_t sourceWidth_;
    std::int32_t sourceHeight_;
    bool mirrorX_;
    bool mirrorY_;
};

} // namespace Renderer

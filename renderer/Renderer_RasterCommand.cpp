#include "renderer/Renderer_RasterCommand.h"

#include "renderer/Renderer_IRenderer.h"

#include <GL/gl.h>

#include <algorithm>

namespace Renderer
{

namespace
{

// One axis of a surface copy. Element i of the source span (source start
// s + i) lands on destination column d + i, or, mirrored, on d + length - 1
// - i, so the destination span stays [d, d + length) either way. Keeps the
// i that lie inside the image and inside the viewport; false when none do.
struct Axis
{
    std::int64_t source = 0;
    std::int64_t length = 0;
    // Raster position: the first column drawn, or one past it when mirrored
    // (a negative zoom draws towards smaller coordinates).
    std::int64_t raster = 0;
};

bool ClipAxis(std::int64_t destination, std::int64_t source, std::int64_t length, std::int64_t imageSize,
              std::int64_t viewportSize, bool mirror, Axis& axis)
{
    std::int64_t first = std::max<std::int64_t>(0, -source);
    std::int64_t end = std::min(length, imageSize - source);
    if (mirror)
    {
        first = std::max(first, destination + length - viewportSize);
        end = std::min(end, destination + length);
    }
    else
    {
        first = std::max(first, -destination);
        end = std::min(end, viewportSize - destination);
    }
    if (end <= first)
    {
        return false;
    }
    axis.source = source + first;
    axis.length = end - first;
    axis.raster = mirror ? destination + length - first : destination + first;
    return true;
}

} // namespace

DrawSurfaceCommand::DrawSurfaceCommand(const Core::RefPtr<Surface>& image, std::int32_t x, std::int32_t y,
                                       std::int32_t sourceX, std::int32_t sourceY, std::int32_t sourceWidth,
                                       std::int32_t sourceHeight, bool mirrorX, bool mirrorY)
    : image_(image), x_(x), y_(y), sourceX_(sourceX), sourceY_(sourceY), sourceWidth_(sourceWidth),
      sourceHeight_(sourceHeight), mirrorX_(mirrorX), mirrorY_(mirrorY)
{
}

const char* DrawSurfaceCommand::GetClassName() const
{
    return "Renderer::DrawSurfaceCommand";
}

std::uint32_t DrawSurfaceCommand::GetSize() const
{
    return sizeof(DrawSurfaceCommand);
}

void DrawSurfaceCommand::Execute(IRenderer& renderer)
{
    if (!image_ || image_->GetPixels() == nullptr)
    {
        return;
    }
    const ViewportRecord viewport = renderer.GetViewport();
    Axis horizontal;
    Axis vertical;
    if (!ClipAxis(x_, sourceX_, sourceWidth_, image_->GetWidth(), viewport.width, mirrorX_, horizontal) ||
        !ClipAxis(y_, sourceY_, sourceHeight_, image_->GetHeight(), viewport.height, mirrorY_, vertical))
    {
        return;
    }

    GLint rowLength = 0;
    GLint skipPixels = 0;
    GLint skipRows = 0;
    GLint alignment = 4;
    GLfloat zoomX = 1.0f;
    GLfloat zoomY = 1.0f;
    glGetIntegerv(GL_UNPACK_ROW_LENGTH, &rowLength);
    glGetIntegerv(GL_UNPACK_SKIP_PIXELS, &skipPixels);
    glGetIntegerv(GL_UNPACK_SKIP_ROWS, &skipRows);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glGetFloatv(GL_ZOOM_X, &zoomX);
    glGetFloatv(GL_ZOOM_Y, &zoomY);

    glPixelStorei(GL_UNPACK_ROW_LENGTH, static_cast<GLint>(image_->GetWidth()));
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, static_cast<GLint>(horizontal.source));
    glPixelStorei(GL_UNPACK_SKIP_ROWS, static_cast<GLint>(vertical.source));
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelZoom(mirrorX_ ? -1.0f : 1.0f, mirrorY_ ? -1.0f : 1.0f);
    // The raster position is set at the viewport's origin, which is always
    // valid, and moved in window pixels from there: a position set directly
    // on the viewport's far edge could be clipped away.
    glRasterPos2i(0, 0);
    glBitmap(0, 0, 0.0f, 0.0f, static_cast<GLfloat>(horizontal.raster), static_cast<GLfloat>(vertical.raster),
             nullptr);
    glDrawPixels(static_cast<GLsizei>(horizontal.length), static_cast<GLsizei>(vertical.length), GL_RGBA,
                 GL_UNSIGNED_BYTE, image_->GetPixels());

    glPixelStorei(GL_UNPACK_ROW_LENGTH, rowLength);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, skipPixels);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, skipRows);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    glPixelZoom(zoomX, zoomY);
    glRasterPos2i(0, 0);
}

} // namespace Renderer

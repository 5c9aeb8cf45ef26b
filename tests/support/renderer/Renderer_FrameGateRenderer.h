#pragma once

#include "core/Core_RefPtr.h"
#include "renderer/Renderer_OGLRenderer.h"

namespace Renderer
{

// The OpenGL renderer with a gate on its drawing. While the gate is shut
// every state, matrix, texture and array change still reaches OpenGL, but
// the clears, the draws and the swap are dropped; while it is open it is
// the OpenGL renderer unchanged. A long run under a software rasteriser thus
// pays only for the frames it keeps (a picture, a timed frame), and the game
// cannot tell the two apart: it sees the same renderer answering the same.
// The gate is meant to move between frames; a frame drawn with it open from
// its clear to its swap is a whole frame of the OpenGL renderer.
class FrameGateRenderer : public OGLRenderer
{
public:
    // The gate starts shut.
    explicit FrameGateRenderer(const DisplayDescription& description);

    // A factory for the rendering application: the renderer recorded as the
    // process-wide one, its gate shut.
    static Core::RefPtr<IRenderer> Make(const DisplayDescription& description);
    // The process-wide renderer when it is one of these, else null.
    static FrameGateRenderer* GetGate();

    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;

    void SetDrawing(bool drawing) { drawing_ = drawing; }
    bool IsDrawing() const { return drawing_; }
    // Frames swapped with the gate open since the renderer was made.
    std::uint32_t GetFramesDrawn() const { return framesDrawn_; }

    void DrawRange(std::uint32_t first, std::uint32_t last) override;
    void Draw(std::int32_t count) override;
    void DrawPrimitives(std::uint32_t type, std::int32_t first, std::uint32_t count) override;
    void DrawIndexedPrimitives(std::int32_t type, std::uint32_t first, std::int32_t count) override;
    void DrawSurface(const Core::RefPtr<Surface>& image, std::int32_t x, std::int32_t y, std::int32_t sourceX,
                     std::int32_t sourceY, std::int32_t sourceWidth, std::int32_t sourceHeight, bool mirrorX,
                     bool mirrorY) override;
    void DrawRectangle(float x1, float y1, float x2, float y2) override;
    void DrawClipSpaceTriangles(std::uint32_t first, std::uint32_t count) override;
    void ClearColorBuffer(const Math::Vector4& color) override;
    void ClearDepthBuffer(float depth) override;
    void ClearStencilBuffer(std::int32_t value) override;
    void ClearBuffers(const Math::Vector4& color, float depth, std::int32_t stencil) override;
    void SwapBuffers() override;

private:
    bool drawing_ = false;
    std::uint32_t framesDrawn_ = 0;
};

} // namespace Renderer

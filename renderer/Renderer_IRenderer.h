#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "math/Math_Matrix4.h"
#include "math/Math_Vector3.h"
#include "math/Math_Vector4.h"
#include "renderer/Renderer_DisplayDescription.h"

#include <cstdint>

namespace Renderer
{

class Material;
class NormalizeNormalsState;
class LightingState;
class TextureUnit0State;
class TextureUnit1State;
class TextureUnit2State;
class TextureUnit3State;
class TextureUnit4State;
class TextureUnit5State;
class TextureUnit6State;
class TextureUnit7State;
class LineState;
class PointState;
class DitheringState;
class TriangleOffsetState;
class StencilBufferState;
class DepthBufferState;
class ShadingState;
class FillingState;
class FogState;
class CullingState;
class AlphaTestingState;
class AlphaBlendingState;
class ScissorState;
class ColorMaskState;
class ITexture;
class Light;
class IVertexBuffer;
class IIndexBuffer;
class Surface;

// The one interface through which the scene graph, the render queue, the
// render states, the GUI and the framework set rendering state and draw.
//
// Every setter first stores what it is given in the renderer's own copy and
// then applies it; every getter answers from that copy and never asks the
// graphics library, except `GetViewport`, which reads the viewport back. So
// a state object can capture the current value (getter) and put it back
// later (setter): the render states save and restore around a draw that way.
//
// Texture units are below 32; texture matrices and lights exist for units
// and indices 0 to 7; vertex-buffer streams are 0 to 15. A unit, index or
// stream outside its range is stored nowhere, and getters answer none or
// identity for it.
//
// One renderer exists per process. Whoever makes it records it with
// `SetInstance`; it is always held by counted reference.
class IRenderer : public Core::Object
{
public:
    IRenderer() = default;
    ~IRenderer() override;

    // The process-wide renderer, or none before one is recorded.
    static Core::RefPtr<IRenderer> GetInstance();
    // Records `renderer` as the process-wide renderer (none forgets it). A
    // renderer that is destroyed while recorded is forgotten.
    static void SetInstance(IRenderer* renderer);

    // --- State setters, in the renderer's setter order --------------------
    virtual void SetMaterial(const Material& state) = 0;
    virtual void SetNormalizeNormals(const NormalizeNormalsState& state) = 0;
    virtual void SetLighting(const LightingState& state) = 0;
    virtual void SetTextureUnit7(const TextureUnit7State& state) = 0;
    virtual void SetTextureUnit6(const TextureUnit6State& state) = 0;
    virtual void SetTextureUnit5(const TextureUnit5State& state) = 0;
    virtual void SetTextureUnit4(const TextureUnit4State& state) = 0;
    virtual void SetTextureUnit3(const TextureUnit3State& state) = 0;
    virtual void SetTextureUnit2(const TextureUnit2State& state) = 0;
    virtual void SetTextureUnit1(const TextureUnit1State& state) = 0;
    virtual void SetTextureUnit0(const TextureUnit0State& state) = 0;
    virtual void SetLine(const LineState& state) = 0;
    virtual void SetPoint(const PointState& state) = 0;
    virtual void SetDithering(const DitheringState& state) = 0;
    virtual void SetTriangleOffset(const TriangleOffsetState& state) = 0;
    virtual void SetStencilBuffer(const StencilBufferState& state) = 0;
    virtual void SetDepthBuffer(const DepthBufferState& state) = 0;
    virtual void SetShading(const ShadingState& state) = 0;
    virtual void SetFilling(const FillingState& state) = 0;
    virtual void SetFog(const FogState& state) = 0;
    virtual void SetCulling(const CullingState& state) = 0;
    virtual void SetAlphaTesting(const AlphaTestingState& state) = 0;
    virtual void SetAlphaBlending(const AlphaBlendingState& state) = 0;
    virtual void SetScissor(const ScissorState& state) = 0;
    virtual void SetColorMask(const ColorMaskState& state) = 0;

    // --- State getters: copy the renderer's copy into `state`, return it --
    virtual Material& GetMaterial(Material& state) = 0;
    virtual NormalizeNormalsState& GetNormalizeNormals(NormalizeNormalsState& state) = 0;
    virtual LightingState& GetLighting(LightingState& state) = 0;
    virtual TextureUnit7State& GetTextureUnit7(TextureUnit7State& state) = 0;
    virtual TextureUnit6State& GetTextureUnit6(TextureUnit6State& state) = 0;
    virtual TextureUnit5State& GetTextureUnit5(TextureUnit5State& state) = 0;
    virtual TextureUnit4State& GetTextureUnit4(TextureUnit4State& state) = 0;
    virtual TextureUnit3State& GetTextureUnit3(TextureUnit3State& state) = 0;
    virtual TextureUnit2State& GetTextureUnit2(TextureUnit2State& state) = 0;
    virtual TextureUnit1State& GetTextureUnit1(TextureUnit1State& state) = 0;
    virtual TextureUnit0State& GetTextureUnit0(TextureUnit0State& state) = 0;
    virtual LineState& GetLine(LineState& state) = 0;
    virtual PointState& GetPoint(PointState& state) = 0;
    virtual DitheringState& GetDithering(DitheringState& state) = 0;
    virtual TriangleOffsetState& GetTriangleOffset(TriangleOffsetState& state) = 0;
    virtual StencilBufferState& GetStencilBuffer(StencilBufferState& state) = 0;
    virtual DepthBufferState& GetDepthBuffer(DepthBufferState& state) = 0;
    virtual ShadingState& GetShading(ShadingState& state) = 0;
    virtual FillingState& GetFilling(FillingState& state) = 0;
    virtual FogState& GetFog(FogState& state) = 0;
    virtual CullingState& GetCulling(CullingState& state) = 0;
    virtual AlphaTestingState& GetAlphaTesting(AlphaTestingState& state) = 0;
    virtual AlphaBlendingState& GetAlphaBlending(AlphaBlendingState& state) = 0;
    virtual ScissorState& GetScissor(ScissorState& state) = 0;
    virtual ColorMaskState& GetColorMask(ColorMaskState& state) = 0;

    // --- Textures, lights, colour -----------------------------------------
    // Takes the new texture's reference before releasing the old one.
    virtual void SetTexture(std::int32_t unit, const Core::RefPtr<ITexture>& texture) = 0;
    virtual Core::RefPtr<ITexture> GetTexture(std::uint32_t unit) = 0;
    // Index 0..7; none switches the light off.
    virtual void SetLight(std::uint32_t index, const Core::RefPtr<Light>& light) = 0;
    virtual Core::RefPtr<Light> GetLight(std::uint32_t index) = 0;
    virtual void SetTexGenPlane(float a, float b, float c, float d) = 0;
    virtual void SetCurrentColor(const Math::Vector4& color) = 0;
    virtual Math::Vector4 GetCurrentColor() = 0;

    // --- Vertex arrays: addresses the caller keeps alive until replaced ---
    // 3 floats per vertex, or none.
    virtual void SetVertexArray(const void* positions) = 0;
    // 3 floats per vertex, or none.
    virtual void SetNormalArray(const void* normals) = 0;
    // 4 floats per vertex, or none.
    virtual void SetColorArray(const void* colors) = 0;
    virtual void SetSecondaryColorArray(const void* colors) = 0;
    // 2 floats per vertex, or none.
    virtual void SetTexCoordArray(std::int32_t unit, const void* coordinates) = 0;
    virtual void SetIndexArray32(const std::uint32_t* indices) = 0;
    virtual void SetIndexArray16(const std::uint16_t* indices) = 0;

    // --- Drawing ----------------------------------------------------------
    // The primitive of `Draw` and `DrawRange` (a `PrimitiveType` code).
    virtual void SetPrimitiveType(std::int32_t type) = 0;
    virtual std::int32_t GetPrimitiveType() = 0;
    // Elements `first` to `last`, both included; nothing when last < first.
    virtual void DrawRange(std::uint32_t first, std::uint32_t last) = 0;
    // `count` elements from element 0.
    virtual void Draw(std::int32_t count) = 0;
    // `count` primitives from vertex `first` (see `ElementCountForPrimitives`).
    virtual void DrawPrimitives(std::uint32_t type, std::int32_t first, std::uint32_t count) = 0;
    // `count` primitives from index `first` of the current index buffer.
    virtual void DrawIndexedPrimitives(std::int32_t type, std::uint32_t first, std::int32_t count) = 0;
    virtual void SetVertexBuffer(std::uint32_t stream, const Core::RefPtr<IVertexBuffer>& buffer) = 0;
    virtual void SetIndexBuffer(const Core::RefPtr<IIndexBuffer>& buffer) = 0;
    // Queues `image` (its source rectangle at the destination position, in
    // window pixels) to be drawn at the next `SwapBuffers`, in queue order.
    virtual void DrawSurface(const Core::RefPtr<Surface>& image, std::int32_t x, std::int32_t y,
                             std::int32_t sourceX, std::int32_t sourceY, std::int32_t sourceWidth,
                             std::int32_t sourceHeight, bool mirrorX, bool mirrorY) = 0;
    virtual void DrawRectangle(float x1, float y1, float x2, float y2) = 0;

    // --- Line stipple -----------------------------------------------------
    virtual void SetLineStipple(bool enable) = 0;
    virtual bool IsLineStipple() = 0;
    virtual void SetLineStipplePattern(std::uint16_t pattern) = 0;
    virtual std::uint16_t GetLineStipplePattern() = 0;
    virtual void SetLineStippleFactor(std::int32_t factor) = 0;
    virtual std::int32_t GetLineStippleFactor() = 0;

    // Runs the queued surface draws, then shows the back buffer.
    virtual void SwapBuffers() = 0;

    // --- Viewport and matrices (column-major, as OpenGL loads them) --------
    virtual void SetViewport(const ViewportRecord& viewport) = 0;
    virtual ViewportRecord GetViewport() = 0;
    // The model-view matrix is always view x world.
    virtual void SetWorldMatrix(const Math::Matrix4& matrix) = 0;
    virtual Math::Matrix4 GetWorldMatrix() = 0;
    virtual void SetViewMatrix(const Math::Matrix4& matrix) = 0;
    virtual Math::Matrix4 GetViewMatrix() = 0;
    virtual void SetProjectionMatrix(const Math::Matrix4& matrix) = 0;
    virtual Math::Matrix4 GetProjectionMatrix() = 0;
    virtual void SetTextureMatrix(std::int32_t unit, const Math::Matrix4& matrix) = 0;
    virtual Math::Matrix4 GetTextureMatrix(std::uint32_t unit) = 0;
    // Object point to window point through model-view, projection and
    // viewport; false when the point has no projection (w = 0).
    virtual bool Project(Math::Vector3& window, const Math::Vector3& object) = 0;
    // The inverse; false when the transform cannot be inverted.
    virtual bool Unproject(Math::Vector3& object, const Math::Vector3& window) = 0;

    // --- Triangles placed in clip space by the caller ----------------------
    // Whether `DrawClipSpaceTriangles` works and puts a vertex placed with
    // `GetClipMatrix` and `ToClipSpace` (Renderer_ClipSpace.h) exactly where
    // drawing the object point through the matrices would. Renderers that
    // cannot promise that say no, and callers draw through the matrices.
    virtual bool DrawsClipSpaceExactly() { return false; }
    // Projection x view x `world`, formed as the pipeline forms it.
    Math::Matrix4 GetClipMatrix(const Math::Matrix4& world);
    // Between Begin and End, triangles are drawn from clip-space positions
    // (4 floats a vertex), unit-0 texture coordinates (2 floats, through
    // texture matrix 0 as always) and colours (4 floats, each triangle
    // filled with one vertex's colour as a colour set for the whole draw
    // would be). Begin takes the arrays (kept alive by the caller until End)
    // and bypasses the matrices; End puts the matrices and the shading back
    // and unsets the three arrays. Nothing else may draw in between.
    virtual void BeginClipSpaceTriangles(const float* positions, const float* texCoords, const float* colors);
    // Vertices first to first + count - 1 of the arrays.
    virtual void DrawClipSpaceTriangles(std::uint32_t first, std::uint32_t count);
    virtual void EndClipSpaceTriangles();

    // --- Clears and read-back ---------------------------------------------
    virtual void ClearColorBuffer(const Math::Vector4& color) = 0;
    virtual void ClearDepthBuffer(float depth) = 0;
    virtual void ClearStencilBuffer(std::int32_t value) = 0;
    virtual void ClearBuffers(const Math::Vector4& color, float depth, std::int32_t stencil) = 0;
    // Fills width x height x 3 bytes (RGB rows from the bottom, no padding),
    // the size given by the display description.
    virtual void ReadPixels(std::uint8_t* pixels) = 0;

    // --- Display ----------------------------------------------------------
    // Replaces the stored description only: changes neither window nor display.
    virtual void SetDisplayDescription(const DisplayDescription& description) = 0;
    virtual DisplayDescription GetDisplayDescription() = 0;
    // 0, 1, 0.
    virtual RendererVersion GetVersion() = 0;
    // Switches between window and full screen and flips the description's flag.
    virtual void ToggleFullScreen() = 0;
    virtual void SetVSync(bool enable) = 0;
    virtual bool IsVSync() = 0;

protected:
    // Stops being the process-wide renderer, when it is. Implementations
    // call it first in their destructors.
    void ForgetInstance();
};

} // namespace Renderer

#pragma once

#include "core/Core_RefPtr.h"
#include "renderer/Renderer_Buffers.h"
#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_ITexture.h"
#include "renderer/Renderer_Light.h"
#include "renderer/Renderer_RenderStates.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Renderer
{

// One call on the renderer: the operation's name and its arguments as text
// (see Renderer_StateText.h), e.g. {"DrawRange", "0, 5"}. A state setter's
// arguments are the state's fields; a getter's are empty.
struct RecordedCall
{
    std::string name;
    std::string arguments;

    // "DrawRange(0, 5)".
    std::string ToString() const { return name + "(" + arguments + ")"; }
};

// One draw that would have put something on screen, with the settings in
// force when it was made.
struct RecordedDraw
{
    // "Draw", "DrawRange", "DrawPrimitives" or "DrawIndexedPrimitives".
    std::string operation;
    std::int32_t primitiveType = PrimitiveTriangles;
    // First element (vertex, or index when an index array is set) and the
    // number of elements drawn.
    std::uint64_t first = 0;
    std::uint64_t count = 0;
    const void* vertexArray = nullptr;
    const void* colorArray = nullptr;
    const void* texCoordArray0 = nullptr;
    const void* indexArray = nullptr;
    bool indices32 = false;
    Core::RefPtr<ITexture> texture0;
    Math::Vector4 color;
    Math::Matrix4 world;
    Math::Matrix4 view;
    Math::Matrix4 projection;
    Math::Matrix4 textureMatrix0;
    // `DescribeStates()` at the moment of the draw.
    std::string states;
};

// The array addresses currently set.
struct RecordedArrays
{
    const void* vertices = nullptr;
    const void* normals = nullptr;
    const void* colors = nullptr;
    const void* secondaryColors = nullptr;
    std::array<const void*, 32> texCoords{};
    const void* indices = nullptr;
    bool indices32 = false;
};

// A renderer without a graphics library: it keeps every setting the way a
// real renderer keeps its copies, answers getters from them, and records
// every call and every draw that would reach the screen. It lets the scene
// graph, the render queue, the GUI and the framework run and be checked
// without a display.
//
// Its settings start at the defaults a fresh renderer has. Draws follow the
// interface's rules: `Draw` and `DrawRange` need a vertex array, a count
// above 0 and a real primitive type; `DrawRange` with last < first draws
// nothing. `Project` and `Unproject` compute what the graphics library's
// utility functions compute from the kept matrices and viewport.
//
// The constructor records the new renderer as the process-wide one. Hold it
// by counted reference: `GetInstance` hands out counted references to it.
class RecordingRenderer : public IRenderer
{
public:
    static constexpr std::uint32_t TextureUnitCount = 32;
    static constexpr std::uint32_t TextureMatrixCount = 8;
    static constexpr std::uint32_t LightCount = 8;
    static constexpr std::uint32_t VertexStreamCount = 16;

    // The game's description: 1024 x 768, 85 Hz, no multisampling, 32-bit
    // colour, 24-bit depth, 8-bit stencil, windowed, vertical sync on.
    static DisplayDescription DefaultDescription();

    RecordingRenderer();
    explicit RecordingRenderer(const DisplayDescription& description);
    RecordingRenderer(const RecordingRenderer&) = delete;
    RecordingRenderer& operator=(const RecordingRenderer&) = delete;
    ~RecordingRenderer() override;

    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;

    // --- The log ----------------------------------------------------------
    const std::vector<RecordedCall>& GetCalls() const { return calls_; }
    // "Name(arguments)" of every call, in order.
    std::vector<std::string> GetCallStrings() const;
    std::vector<std::string> GetCallNames() const;
    // The calls of one operation, in order.
    std::vector<RecordedCall> GetCalls(std::string_view name) const;
    std::size_t CountCalls(std::string_view name) const;
    const std::vector<RecordedDraw>& GetDraws() const { return draws_; }
    // Forgets the calls and draws; the settings stay.
    void ClearLog();

    // --- Settings beyond the interface ------------------------------------
    // Every state setting and the current colour, one "Name(fields)" line
    // each, in the setter order. Equal text means equal settings.
    std::string DescribeStates() const;
    Math::Matrix4 GetModelViewMatrix() const;
    const RecordedArrays& GetArrays() const { return arrays_; }
    Math::Vector4 GetTexGenPlane() const { return texGenPlane_; }
    Core::RefPtr<IVertexBuffer> GetVertexBuffer(std::uint32_t stream) const;
    Core::RefPtr<IIndexBuffer> GetIndexBuffer() const { return indexBuffer_; }
    // Surface draws queued since the last swap.
    std::size_t GetPendingSurfaceCount() const { return pendingSurfaces_; }
    std::uint32_t GetSwapCount() const { return swapCount_; }

    // --- IRenderer ----------------------------------------------------------
    void SetMaterial(const Material& state) override;
    void SetNormalizeNormals(const NormalizeNormalsState& state) override;
    void SetLighting(const LightingState& state) override;
    void SetTextureUnit7(const TextureUnit7State& state) override;
    void SetTextureUnit6(const TextureUnit6State& state) override;
    void SetTextureUnit5(const TextureUnit5State& state) override;
    void SetTextureUnit4(const TextureUnit4State& state) override;
    void SetTextureUnit3(const TextureUnit3State& state) override;
    void SetTextureUnit2(const TextureUnit2State& state) override;
    void SetTextureUnit1(const TextureUnit1State& state) override;
    void SetTextureUnit0(const TextureUnit0State& state) override;
    void SetLine(const LineState& state) override;
    void SetPoint(const PointState& state) override;
    void SetDithering(const DitheringState& state) override;
    void SetTriangleOffset(const TriangleOffsetState& state) override;
    void SetStencilBuffer(const StencilBufferState& state) override;
    void SetDepthBuffer(const DepthBufferState& state) override;
    void SetShading(const ShadingState& state) override;
    void SetFilling(const FillingState& state) override;
    void SetFog(const FogState& state) override;
    void SetCulling(const CullingState& state) override;
    void SetAlphaTesting(const AlphaTestingState& state) override;
    void SetAlphaBlending(const AlphaBlendingState& state) override;
    void SetScissor(const ScissorState& state) override;
    void SetColorMask(const ColorMaskState& state) override;

    Material& GetMaterial(Material& state) override;
    NormalizeNormalsState& GetNormalizeNormals(NormalizeNormalsState& state) override;
    LightingState& GetLighting(LightingState& state) override;
    TextureUnit7State& GetTextureUnit7(TextureUnit7State& state) override;
    TextureUnit6State& GetTextureUnit6(TextureUnit6State& state) override;
    TextureUnit5State& GetTextureUnit5(TextureUnit5State& state) override;
    TextureUnit4State& GetTextureUnit4(TextureUnit4State& state) override;
    TextureUnit3State& GetTextureUnit3(TextureUnit3State& state) override;
    TextureUnit2State& GetTextureUnit2(TextureUnit2State& state) override;
    TextureUnit1State& GetTextureUnit1(TextureUnit1State& state) override;
    TextureUnit0State& GetTextureUnit0(TextureUnit0State& state) override;
    LineState& GetLine(LineState& state) override;
    PointState& GetPoint(PointState& state) override;
    DitheringState& GetDithering(DitheringState& state) override;
    TriangleOffsetState& GetTriangleOffset(TriangleOffsetState& state) override;
    StencilBufferState& GetStencilBuffer(StencilBufferState& state) override;
    DepthBufferState& GetDepthBuffer(DepthBufferState& state) override;
    ShadingState& GetShading(ShadingState& state) override;
    FillingState& GetFilling(FillingState& state) override;
    FogState& GetFog(FogState& state) override;
    CullingState& GetCulling(CullingState& state) override;
    AlphaTestingState& GetAlphaTesting(AlphaTestingState& state) override;
    AlphaBlendingState& GetAlphaBlending(AlphaBlendingState& state) override;
    ScissorState& GetScissor(ScissorState& state) override;
    ColorMaskState& GetColorMask(ColorMaskState& state) override;

    void SetTexture(std::int32_t unit, const Core::RefPtr<ITexture>& texture) override;
    Core::RefPtr<ITexture> GetTexture(std::uint32_t unit) override;
    void SetLight(std::uint32_t index, const Core::RefPtr<Light>& light) override;
    Core::RefPtr<Light> GetLight(std::uint32_t index) override;
    void SetTexGenPlane(float a, float b, float c, float d) override;
    void SetCurrentColor(const Math::Vector4& color) override;
    Math::Vector4 GetCurrentColor() override;

    void SetVertexArray(const void* positions) override;
    void SetNormalArray(const void* normals) override;
    void SetColorArray(const void* colors) override;
    void SetSecondaryColorArray(const void* colors) override;
    void SetTexCoordArray(std::int32_t unit, const void* coordinates) override;
    void SetIndexArray32(const std::uint32_t* indices) override;
    void SetIndexArray16(const std::uint16_t* indices) override;

    void SetPrimitiveType(std::int32_t type) override;
    std::int32_t GetPrimitiveType() override;
    void DrawRange(std::uint32_t first, std::uint32_t last) override;
    void Draw(std::int32_t count) override;
    void DrawPrimitives(std::uint32_t type, std::int32_t first, std::uint32_t count) override;
    void DrawIndexedPrimitives(std::int32_t type, std::uint32_t first, std::int32_t count) override;
    void SetVertexBuffer(std::uint32_t stream, const Core::RefPtr<IVertexBuffer>& buffer) override;
    void SetIndexBuffer(const Core::RefPtr<IIndexBuffer>& buffer) override;
    void DrawSurface(const Core::RefPtr<Surface>& image, std::int32_t x, std::int32_t y, std::int32_t sourceX,
                     std::int32_t sourceY, std::int32_t sourceWidth, std::int32_t sourceHeight, bool mirrorX,
                     bool mirrorY) override;
    void DrawRectangle(float x1, float y1, float x2, float y2) override;

    void SetLineStipple(bool enable) override;
    bool IsLineStipple() override;
    void SetLineStipplePattern(std::uint16_t pattern) override;
    std::uint16_t GetLineStipplePattern() override;
    void SetLineStippleFactor(std::int32_t factor) override;
    std::int32_t GetLineStippleFactor() override;

    void SwapBuffers() override;

    void SetViewport(const ViewportRecord& viewport) override;
    ViewportRecord GetViewport() override;
    void SetWorldMatrix(const Math::Matrix4& matrix) override;
    Math::Matrix4 GetWorldMatrix() override;
    void SetViewMatrix(const Math::Matrix4& matrix) override;
    Math::Matrix4 GetViewMatrix() override;
    void SetProjectionMatrix(const Math::Matrix4& matrix) override;
    Math::Matrix4 GetProjectionMatrix() override;
    void SetTextureMatrix(std::int32_t unit, const Math::Matrix4& matrix) override;
    Math::Matrix4 GetTextureMatrix(std::uint32_t unit) override;
    bool Project(Math::Vector3& window, const Math::Vector3& object) override;
    bool Unproject(Math::Vector3& object, const Math::Vector3& window) override;

    void ClearColorBuffer(const Math::Vector4& color) override;
    void ClearDepthBuffer(float depth) override;
    void ClearStencilBuffer(std::int32_t value) override;
    void ClearBuffers(const Math::Vector4& color, float depth, std::int32_t stencil) override;
    // Every pixel takes the last clear colour.
    void ReadPixels(std::uint8_t* pixels) override;

    void SetDisplayDescription(const DisplayDescription& description) override;
    DisplayDescription GetDisplayDescription() override;
    RendererVersion GetVersion() override;
    void ToggleFullScreen() override;
    void SetVSync(bool enable) override;
    bool IsVSync() override;

private:
    void Record(const char* name, std::string arguments = std::string());
    // Adds a draw of `count` elements from `first` with the current settings.
    void RecordDraw(const char* operation, std::int32_t type, std::uint64_t first, std::uint64_t count);

    DisplayDescription description_;
    Material material_;
    NormalizeNormalsState normalizeNormals_;
    LightingState lighting_;
    TextureUnit0State unit0_;
    TextureUnit1State unit1_;
    TextureUnit2State unit2_;
    TextureUnit3State unit3_;
    TextureUnit4State unit4_;
    TextureUnit5State unit5_;
    TextureUnit6State unit6_;
    TextureUnit7State unit7_;
    LineState line_;
    PointState point_;
    DitheringState dithering_;
    TriangleOffsetState triangleOffset_;
    StencilBufferState stencilBuffer_;
    DepthBufferState depthBuffer_;
    ShadingState shading_;
    FillingState filling_;
    FogState fog_;
    CullingState culling_;
    AlphaTestingState alphaTesting_;
    AlphaBlendingState alphaBlending_;
    ScissorState scissor_;
    ColorMaskState colorMask_;

    std::array<Core::RefPtr<ITexture>, TextureUnitCount> textures_;
    std::array<Core::RefPtr<Light>, LightCount> lights_;
    std::array<Core::RefPtr<IVertexBuffer>, VertexStreamCount> vertexBuffers_;
    Core::RefPtr<IIndexBuffer> indexBuffer_;
    Math::Vector4 currentColor_{0.0f, 0.0f, 0.0f, 1.0f};
    Math::Vector4 texGenPlane_{0.0f, 0.0f, 0.0f, 0.0f};
    Math::Vector4 clearColor_{0.0f, 0.0f, 0.0f, 0.0f};
    RecordedArrays arrays_;
    std::int32_t primitiveType_ = PrimitiveTriangles;
    bool lineStipple_ = false;
    std::uint16_t lineStipplePattern_ = 0xAAAA;
    std::int32_t lineStippleFactor_ = 1;
    ViewportRecord viewport_;
    Math::Matrix4 world_;
    Math::Matrix4 view_;
    Math::Matrix4 projection_;
    std::array<Math::Matrix4, TextureMatrixCount> textureMatrices_;
    std::size_t pendingSurfaces_ = 0;
    std::uint32_t swapCount_ = 0;

    std::vector<RecordedCall> calls_;
    std::vector<RecordedDraw> draws_;
};

} // namespace Renderer

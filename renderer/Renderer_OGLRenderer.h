#pragma once

#include "core/Core_RefPtr.h"
#include "renderer/Renderer_Adapter.h"
#include "renderer/Renderer_Buffers.h"
#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_ITexture.h"
#include "renderer/Renderer_Light.h"
#include "renderer/Renderer_RasterCommand.h"
#include "renderer/Renderer_RenderStates.h"
#include "renderer/Renderer_RenderingContext.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace Renderer
{

// The renderer on OpenGL 1.x fixed-function rendering and GLU, drawing into
// a `PAL::Window`.
//
// Making it (through `Create`): switches the window to full screen when the
// description asks for it, creates an OpenGL context on the description's
// window and makes it current, reads the extension lists and the number of
// texture units, applies vertical sync, sets the global defaults (two-sided
// lighting, separate specular colour, nicest hints, smooth lines and
// points), loads identity matrices and sets the viewport to the whole
// description. The window must outlive the renderer; its framebuffer format
// is chosen before the window is made (`ChoosePixelFormat`). The first
// renderer also makes the C library keep up to 128 MB of memory freed at
// the top of the heap rather than return it to the kernel: a software
// rasteriser frees and takes back tens of megabytes every frame.
//
// Every setter stores its value first and then issues the OpenGL calls;
// getters answer from the stored copies (except `GetViewport`). The copies
// start at the defaults of a fresh renderer without being sent to OpenGL,
// which keeps its own defaults until a state is first set.
//
// Texture units below 32 are stored; only units the driver has are selected
// and touched in OpenGL. With no texture bound to a unit, setting that
// unit's texturing state stores it and changes nothing in OpenGL.
class OGLRenderer : public IRenderer
{
public:
    static constexpr std::uint32_t TextureUnitCount = 32;
    static constexpr std::uint32_t TextureMatrixCount = 8;
    static constexpr std::uint32_t LightCount = 8;
    static constexpr std::uint32_t VertexStreamCount = 16;

    // Makes the renderer and records it as the process-wide one.
    static Core::RefPtr<OGLRenderer> Create(const DisplayDescription& description);
    // Chooses the framebuffer that windows created from now on get: the
    // description's depth and stencil bits and its samples (multisampling
    // when the count is not 0), double-buffered. The application calls it
    // before it creates the rendering window.
    static void ChoosePixelFormat(const DisplayDescription& description);
    // The renderer whose context is current, or none.
    static OGLRenderer* GetCurrent();

    // A failure to create or activate the context ends the process with
    // the "Error" report.
    explicit OGLRenderer(const DisplayDescription& description);
    OGLRenderer(const OGLRenderer&) = delete;
    OGLRenderer& operator=(const OGLRenderer&) = delete;
    // Forgets the process-wide record, leaves full screen, and releases and
    // deletes the context. Textures still held lose their OpenGL names.
    ~OGLRenderer() override;

    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;

    // --- Discovery ----------------------------------------------------------
    // Whole-name, exact comparison against the OpenGL extension list.
    bool HasExtension(const std::string& name) const;
    const std::vector<std::string>& GetGLExtensions() const { return glExtensions_; }
    const std::vector<std::string>& GetGLUExtensions() const { return gluExtensions_; }
    // Always empty: the platform has no such list.
    const std::vector<std::string>& GetWGLExtensions() const { return wglExtensions_; }
    bool IsMultitextureAvailable() const { return multitexture_; }
    std::int32_t GetTextureUnitLimit() const { return textureUnits_; }
    // False while the last swap-interval request stands refused (a driver
    // may refuse it): vertical sync is then only a stored wish.
    bool HasSwapControl() const { return swapControl_; }
    Adapter& GetAdapter() const { return *adapter_; }

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
    // Four-float records, of which the first three components are used.
    void SetSecondaryColorArray(const void* colors) override;
    void SetTexCoordArray(std::int32_t unit, const void* coordinates) override;
    void SetIndexArray32(const std::uint32_t* indices) override;
    void SetIndexArray16(const std::uint16_t* indices) override;

    void SetPrimitiveType(std::int32_t type) override;
    std::int32_t GetPrimitiveType() override;
    void DrawRange(std::uint32_t first, std::uint32_t last) override;
    void Draw(std::int32_t count) override;
    void DrawPrimitives(std::uint32_t type, std::int32_t first, std::uint32_t count) override;
    // Nothing without an index buffer.
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
    bool DrawsClipSpaceExactly() override;
    void BeginClipSpaceTriangles(const float* positions, const float* texCoords,
                                 const float* colors) override;
    void DrawClipSpaceTriangles(std::uint32_t first, std::uint32_t count) override;
    void EndClipSpaceTriangles() override;

    void ClearColorBuffer(const Math::Vector4& color) override;
    void ClearDepthBuffer(float depth) override;
    void ClearStencilBuffer(std::int32_t value) override;
    void ClearBuffers(const Math::Vector4& color, float depth, std::int32_t stencil) override;
    // Reads the back buffer as tightly packed RGB rows (pack alignment 1).
    void ReadPixels(std::uint8_t* pixels) override;

    // The window drawn into stays the one the renderer was made with.
    void SetDisplayDescription(const DisplayDescription& description) override;
    DisplayDescription GetDisplayDescription() override;
    RendererVersion GetVersion() override;
    // To full screen in the adapter's best mode for the description's size,
    // colour bits and refresh rate, or back to the window at its former
    // place and size. A switch that cannot be made changes nothing but
    // re-applies vertical sync.
    void ToggleFullScreen() override;
    // Asks for swap interval 1 (on) or 0; a refusal means no swap control,
    // never an error.
    void SetVSync(bool enable) override;
    bool IsVSync() override;

private:
    // Makes `unit` the active texture unit when the driver has it (without
    // multitexturing only unit 0, always active); false, with nothing
    // activated, otherwise.
    bool SelectTextureUnit(std::uint32_t unit);
    // The texture-unit setters: store, then apply to the unit when a
    // texture is bound there.
    void ApplyTextureUnit(std::uint32_t unit, const TexturingState& state);
    void ApplyLight(std::uint32_t index, const Light* light);
    // Loads view x world into the model-view matrix.
    void LoadModelView();
    // Draws `count` elements from `first` with the stored arrays.
    void DrawElements(std::int32_t type, std::uint64_t first, std::uint64_t count);
    void RunRasterCommands();
    void ReadExtensions();
    void ApplyGlobalDefaults();

    DisplayDescription description_;
    // Fixed at construction: the context belongs to it.
    PAL::Window* window_ = nullptr;
    Core::RefPtr<Adapter> adapter_;
    bool multitexture_ = false;
    std::int32_t textureUnits_ = 1;
    bool swapControl_ = true;

    std::array<Core::RefPtr<ITexture>, TextureUnitCount> textures_;
    Math::Matrix4 world_;
    Math::Matrix4 view_;
    Math::Matrix4 modelView_;
    Math::Matrix4 projection_;
    std::array<Math::Matrix4, TextureMatrixCount> textureMatrices_;
    ViewportRecord viewport_;
    std::array<Core::RefPtr<IVertexBuffer>, VertexStreamCount> vertexBuffers_;
    Core::RefPtr<IIndexBuffer> indexBuffer_;

    const void* vertexArray_ = nullptr;
    // The shading model a clip-space drawing replaced, while one is open.
    std::int32_t clipSpaceShading_ = 0;
    bool clipSpaceOpen_ = false;
    const void* indexArray_ = nullptr;
    bool indices16_ = false;
    std::int32_t primitiveType_ = PrimitiveTriangles;
    Math::Vector4 currentColor_{0.0f, 0.0f, 0.0f, 1.0f};

    Material material_;
    std::array<Core::RefPtr<Light>, LightCount> lights_;
    std::vector<Core::RefPtr<RasterCommand>> rasterCommands_;
    Math::Vector4 texGenPlane_{0.0f, 0.0f, 0.0f, 0.0f};

    ColorMaskState colorMask_;
    ScissorState scissor_;
    AlphaBlendingState alphaBlending_;
    AlphaTestingState alphaTesting_;
    CullingState culling_;
    FogState fog_;
    FillingState filling_;
    ShadingState shading_;
    DepthBufferState depthBuffer_;
    StencilBufferState stencilBuffer_;
    TriangleOffsetState triangleOffset_;
    DitheringState dithering_;
    PointState point_;
    LineState line_;
    TextureUnit0State unit0_;
    TextureUnit1State unit1_;
    TextureUnit2State unit2_;
    TextureUnit3State unit3_;
    TextureUnit4State unit4_;
    TextureUnit5State unit5_;
    TextureUnit6State unit6_;
    TextureUnit7State unit7_;
    LightingState lighting_;
    NormalizeNormalsState normalizeNormals_;

    // The window's place while it is full screen.
    std::int32_t windowedX_ = 0;
    std::int32_t windowedY_ = 0;
    bool lineStipple_ = false;
    std::uint16_t lineStipplePattern_ = 0xAAAA;
    std::int32_t lineStippleFactor_ = 1;

    std::vector<std::string> glExtensions_;
    std::vector<std::string> gluExtensions_;
    std::vector<std::string> wglExtensions_;
    Core::RefPtr<RenderingContext> context_;
};

// Whether the renderer whose context is current lists the OpenGL extension
// `name` (whole, exact); false without one.
bool HasExtension(const std::string& name);

} // namespace Renderer

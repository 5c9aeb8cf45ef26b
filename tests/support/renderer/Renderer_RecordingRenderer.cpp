#include "renderer/Renderer_RecordingRenderer.h"

#include "renderer/Renderer_StateText.h"

#include <algorithm>
#include <cmath>

namespace Renderer
{

namespace
{

// out = a x b for column-major 4 x 4 matrices in doubles.
void Multiply(double out[16], const double a[16], const double b[16])
{
    for (int c = 0; c < 4; ++c)
    {
        for (int r = 0; r < 4; ++r)
        {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k)
            {
                sum += a[4 * k + r] * b[4 * c + k];
            }
            out[4 * c + r] = sum;
        }
    }
}

// Gauss-Jordan elimination with partial pivoting; false for a singular matrix.
bool Invert(double out[16], const double in[16])
{
    double work[4][8];
    for (int r = 0; r < 4; ++r)
    {
        for (int c = 0; c < 4; ++c)
        {
            work[r][c] = in[4 * c + r];
            work[r][4 + c] = (r == c) ? 1.0 : 0.0;
        }
    }
    for (int column = 0; column < 4; ++column)
    {
        int pivot = column;
        for (int r = column + 1; r < 4; ++r)
        {
            if (std::fabs(work[r][column]) > std::fabs(work[pivot][column]))
            {
                pivot = r;
            }
        }
        if (work[pivot][column] == 0.0)
        {
            return false;
        }
        std::swap(work[pivot], work[column]);
        const double scale = 1.0 / work[column][column];
        for (double& value : work[column])
        {
            value *= scale;
        }
        for (int r = 0; r < 4; ++r)
        {
            if (r != column)
            {
                const double factor = work[r][column];
                for (int c = 0; c < 8; ++c)
                {
                    work[r][c] -= factor * work[column][c];
                }
            }
        }
    }
    for (int r = 0; r < 4; ++r)
    {
        for (int c = 0; c < 4; ++c)
        {
            out[4 * c + r] = work[r][4 + c];
        }
    }
    return true;
}

void Widen(double out[16], const Math::Matrix4& matrix)
{
    for (int i = 0; i < 16; ++i)
    {
        out[i] = matrix.m[i];
    }
}

void Transform(double out[4], const double m[16], const double in[4])
{
    for (int r = 0; r < 4; ++r)
    {
        out[r] = m[r] * in[0] + m[4 + r] * in[1] + m[8 + r] * in[2] + m[12 + r] * in[3];
    }
}

std::uint8_t ToByte(float channel)
{
    const float clamped = std::clamp(channel, 0.0f, 1.0f);
    return static_cast<std::uint8_t>(std::lround(clamped * 255.0f));
}

bool IsDrawablePrimitive(std::int64_t type)
{
    return type >= PrimitivePoints && type <= PrimitiveTriangleFan && type != PrimitiveNone;
}

} // namespace

// --- Construction and the log ---------------------------------------------------

DisplayDescription RecordingRenderer::DefaultDescription()
{
    DisplayDescription description;
    description.width = 1024;
    description.height = 768;
    description.refreshRate = 85;
    description.sampleCount = 0;
    description.colorBits = 32;
    description.depthBits = 24;
    description.stencilBits = 8;
    description.fullscreen = false;
    description.vsync = true;
    return description;
}

RecordingRenderer::RecordingRenderer() : RecordingRenderer(DefaultDescription()) {}

RecordingRenderer::RecordingRenderer(const DisplayDescription& description)
    : description_(description),
      material_(Math::Vector4(0.2f, 0.2f, 0.2f, 1.0f), Math::Vector4(0.8f, 0.8f, 0.8f, 1.0f),
                Math::Vector4(0.0f, 0.0f, 0.0f, 1.0f), Math::Vector4(0.0f, 0.0f, 0.0f, 1.0f), 0.0f)
{
    viewport_.width = static_cast<std::int32_t>(description.width);
    viewport_.height = static_cast<std::int32_t>(description.height);
    SetInstance(this);
}

RecordingRenderer::~RecordingRenderer()
{
    // Nothing released below may reach a renderer that is being destroyed.
    ForgetInstance();
}

const char* RecordingRenderer::GetClassName() const
{
    return "Renderer::RecordingRenderer";
}

std::uint32_t RecordingRenderer::GetSize() const
{
    return sizeof(RecordingRenderer);
}

void RecordingRenderer::Record(const char* name, std::string arguments)
{
    calls_.push_back(RecordedCall{name, std::move(arguments)});
}

std::vector<std::string> RecordingRenderer::GetCallStrings() const
{
    std::vector<std::string> out;
    out.reserve(calls_.size());
    for (const RecordedCall& call : calls_)
    {
        out.push_back(call.ToString());
    }
    return out;
}

std::vector<std::string> RecordingRenderer::GetCallNames() const
{
    std::vector<std::string> out;
    out.reserve(calls_.size());
    for (const RecordedCall& call : calls_)
    {
        out.push_back(call.name);
    }
    return out;
}

std::vector<RecordedCall> RecordingRenderer::GetCalls(std::string_view name) const
{
    std::vector<RecordedCall> out;
    for (const RecordedCall& call : calls_)
    {
        if (call.name == name)
        {
            out.push_back(call);
        }
    }
    return out;
}

std::size_t RecordingRenderer::CountCalls(std::string_view name) const
{
    return static_cast<std::size_t>(std::count_if(
        calls_.begin(), calls_.end(), [name](const RecordedCall& call) { return call.name == name; }));
}

void RecordingRenderer::ClearLog()
{
    calls_.clear();
    draws_.clear();
}

std::string RecordingRenderer::DescribeStates() const
{
    std::string text;
    const auto line = [&text](const char* name, const std::string& fields)
    { text += std::string(name) + "(" + fields + ")\n"; };
    line("Material", ToText(material_));
    line("NormalizeNormals", ToText(normalizeNormals_));
    line("Lighting", ToText(lighting_));
    line("TextureUnit7", ToText(unit7_));
    line("TextureUnit6", ToText(unit6_));
    line("TextureUnit5", ToText(unit5_));
    line("TextureUnit4", ToText(unit4_));
    line("TextureUnit3", ToText(unit3_));
    line("TextureUnit2", ToText(unit2_));
    line("TextureUnit1", ToText(unit1_));
    line("TextureUnit0", ToText(unit0_));
    line("Line", ToText(line_));
    line("Point", ToText(point_));
    line("Dithering", ToText(dithering_));
    line("TriangleOffset", ToText(triangleOffset_));
    line("StencilBuffer", ToText(stencilBuffer_));
    line("DepthBuffer", ToText(depthBuffer_));
    line("Shading", ToText(shading_));
    line("Filling", ToText(filling_));
    line("Fog", ToText(fog_));
    line("Culling", ToText(culling_));
    line("AlphaTesting", ToText(alphaTesting_));
    line("AlphaBlending", ToText(alphaBlending_));
    line("Scissor", ToText(scissor_));
    line("ColorMask", ToText(colorMask_));
    line("CurrentColor", ToText(currentColor_));
    return text;
}

Math::Matrix4 RecordingRenderer::GetModelViewMatrix() const
{
    return view_ * world_;
}

Core::RefPtr<IVertexBuffer> RecordingRenderer::GetVertexBuffer(std::uint32_t stream) const
{
    return stream < VertexStreamCount ? vertexBuffers_[stream] : Core::RefPtr<IVertexBuffer>();
}

void RecordingRenderer::RecordDraw(const char* operation, std::int32_t type, std::uint64_t first,
                                   std::uint64_t count)
{
    RecordedDraw draw;
    draw.operation = operation;
    draw.primitiveType = type;
    draw.first = first;
    draw.count = count;
    draw.vertexArray = arrays_.vertices;
    draw.colorArray = arrays_.colors;
    draw.texCoordArray0 = arrays_.texCoords[0];
    draw.indexArray = arrays_.indices;
    draw.indices32 = arrays_.indices32;
    draw.texture0 = textures_[0];
    draw.color = currentColor_;
    draw.world = world_;
    draw.view = view_;
    draw.projection = projection_;
    draw.textureMatrix0 = textureMatrices_[0];
    draw.states = DescribeStates();
    draws_.push_back(std::move(draw));
}

// --- State setters and getters ------------------------------------------------
//
// Each setter keeps a copy of the whole state (the base word included) and
// records the fields; each getter copies the kept state into the caller's.

#define RECORDING_STATE_PAIR(Name, Class, member)                                                            \
    void RecordingRenderer::Set##Name(const Class& state)                                                    \
    {                                                                                                        \
        member = state;                                                                                      \
        Record("Set" #Name, ToText(state));                                                                  \
    }                                                                                                        \
    Class& RecordingRenderer::Get##Name(Class& state)                                                        \
    {                                                                                                        \
        Record("Get" #Name);                                                                                 \
        state = member;                                                                                      \
        return state;                                                                                        \
    }

RECORDING_STATE_PAIR(Material, Material, material_)
RECORDING_STATE_PAIR(NormalizeNormals, NormalizeNormalsState, normalizeNormals_)
RECORDING_STATE_PAIR(Lighting, LightingState, lighting_)
RECORDING_STATE_PAIR(TextureUnit7, TextureUnit7State, unit7_)
RECORDING_STATE_PAIR(TextureUnit6, TextureUnit6State, unit6_)
RECORDING_STATE_PAIR(TextureUnit5, TextureUnit5State, unit5_)
RECORDING_STATE_PAIR(TextureUnit4, TextureUnit4State, unit4_)
RECORDING_STATE_PAIR(TextureUnit3, TextureUnit3State, unit3_)
RECORDING_STATE_PAIR(TextureUnit2, TextureUnit2State, unit2_)
RECORDING_STATE_PAIR(TextureUnit1, TextureUnit1State, unit1_)
RECORDING_STATE_PAIR(TextureUnit0, TextureUnit0State, unit0_)
RECORDING_STATE_PAIR(Line, LineState, line_)
RECORDING_STATE_PAIR(Point, PointState, point_)
RECORDING_STATE_PAIR(Dithering, DitheringState, dithering_)
RECORDING_STATE_PAIR(TriangleOffset, TriangleOffsetState, triangleOffset_)
RECORDING_STATE_PAIR(StencilBuffer, StencilBufferState, stencilBuffer_)
RECORDING_STATE_PAIR(DepthBuffer, DepthBufferState, depthBuffer_)
RECORDING_STATE_PAIR(Shading, ShadingState, shading_)
RECORDING_STATE_PAIR(Filling, FillingState, filling_)
RECORDING_STATE_PAIR(Fog, FogState, fog_)
RECORDING_STATE_PAIR(Culling, CullingState, culling_)
RECORDING_STATE_PAIR(AlphaTesting, AlphaTestingState, alphaTesting_)
RECORDING_STATE_PAIR(AlphaBlending, AlphaBlendingState, alphaBlending_)
RECORDING_STATE_PAIR(Scissor, ScissorState, scissor_)
RECORDING_STATE_PAIR(ColorMask, ColorMaskState, colorMask_)

#undef RECORDING_STATE_PAIR

// --- Textures, lights, colour ---------------------------------------------------

void RecordingRenderer::SetTexture(std::int32_t unit, const Core::RefPtr<ITexture>& texture)
{
    Record("SetTexture", JoinText({ToText(unit), ToText(static_cast<const void*>(texture.Get()))}));
    if (unit >= 0 && static_cast<std::uint32_t>(unit) < TextureUnitCount)
    {
        textures_[static_cast<std::size_t>(unit)] = texture;
    }
}

Core::RefPtr<ITexture> RecordingRenderer::GetTexture(std::uint32_t unit)
{
    Record("GetTexture", ToText(unit));
    return unit < TextureUnitCount ? textures_[unit] : Core::RefPtr<ITexture>();
}

void RecordingRenderer::SetLight(std::uint32_t index, const Core::RefPtr<Light>& light)
{
    Record("SetLight", JoinText({ToText(index), ToText(static_cast<const void*>(light.Get()))}));
    if (index < LightCount)
    {
        lights_[index] = light;
    }
}

Core::RefPtr<Light> RecordingRenderer::GetLight(std::uint32_t index)
{
    Record("GetLight", ToText(index));
    return index < LightCount ? lights_[index] : Core::RefPtr<Light>();
}

void RecordingRenderer::SetTexGenPlane(float a, float b, float c, float d)
{
    texGenPlane_ = Math::Vector4(a, b, c, d);
    Record("SetTexGenPlane", JoinText({ToText(a), ToText(b), ToText(c), ToText(d)}));
}

void RecordingRenderer::SetCurrentColor(const Math::Vector4& color)
{
    currentColor_ = color;
    Record("SetCurrentColor", ToText(color));
}

Math::Vector4 RecordingRenderer::GetCurrentColor()
{
    Record("GetCurrentColor");
    return currentColor_;
}

// --- Arrays -------------------------------------------------------------------

void RecordingRenderer::SetVertexArray(const void* positions)
{
    arrays_.vertices = positions;
    Record("SetVertexArray", ToText(positions));
}

void RecordingRenderer::SetNormalArray(const void* normals)
{
    arrays_.normals = normals;
    Record("SetNormalArray", ToText(normals));
}

void RecordingRenderer::SetColorArray(const void* colors)
{
    arrays_.colors = colors;
    Record("SetColorArray", ToText(colors));
}

void RecordingRenderer::SetSecondaryColorArray(const void* colors)
{
    arrays_.secondaryColors = colors;
    Record("SetSecondaryColorArray", ToText(colors));
}

void RecordingRenderer::SetTexCoordArray(std::int32_t unit, const void* coordinates)
{
    Record("SetTexCoordArray", JoinText({ToText(unit), ToText(coordinates)}));
    if (unit >= 0 && static_cast<std::uint32_t>(unit) < TextureUnitCount)
    {
        arrays_.texCoords[static_cast<std::size_t>(unit)] = coordinates;
    }
}

void RecordingRenderer::SetIndexArray32(const std::uint32_t* indices)
{
    arrays_.indices = indices;
    arrays_.indices32 = true;
    Record("SetIndexArray32", ToText(static_cast<const void*>(indices)));
}

void RecordingRenderer::SetIndexArray16(const std::uint16_t* indices)
{
    arrays_.indices = indices;
    arrays_.indices32 = false;
    Record("SetIndexArray16", ToText(static_cast<const void*>(indices)));
}

// --- Drawing ------------------------------------------------------------------

void RecordingRenderer::SetPrimitiveType(std::int32_t type)
{
    primitiveType_ = type;
    Record("SetPrimitiveType", ToText(type));
}

std::int32_t RecordingRenderer::GetPrimitiveType()
{
    Record("GetPrimitiveType");
    return primitiveType_;
}

void RecordingRenderer::DrawRange(std::uint32_t first, std::uint32_t last)
{
    Record("DrawRange", JoinText({ToText(first), ToText(last)}));
    // Counted in 64 bits: last < first is an empty range, not a huge one.
    const std::uint64_t count = last >= first ? std::uint64_t{last} - first + 1 : 0;
    if (arrays_.vertices != nullptr && count != 0 && IsDrawablePrimitive(primitiveType_))
    {
        RecordDraw("DrawRange", primitiveType_, first, count);
    }
}

void RecordingRenderer::Draw(std::int32_t count)
{
    Record("Draw", ToText(count));
    if (arrays_.vertices != nullptr && count > 0 && IsDrawablePrimitive(primitiveType_))
    {
        RecordDraw("Draw", primitiveType_, 0, static_cast<std::uint64_t>(count));
    }
}

void RecordingRenderer::DrawPrimitives(std::uint32_t type, std::int32_t first, std::uint32_t count)
{
    Record("DrawPrimitives", JoinText({ToText(type), ToText(first), ToText(count)}));
    const std::uint64_t elements = ElementCountForPrimitives(type, count);
    if (elements != 0 && first >= 0)
    {
        RecordDraw("DrawPrimitives", static_cast<std::int32_t>(type), static_cast<std::uint64_t>(first),
                   elements);
    }
}

void RecordingRenderer::DrawIndexedPrimitives(std::int32_t type, std::uint32_t first, std::int32_t count)
{
    Record("DrawIndexedPrimitives", JoinText({ToText(type), ToText(first), ToText(count)}));
    const std::uint64_t elements = ElementCountForPrimitives(type, count);
    // The indices come from the index buffer: without one there is nothing to draw.
    if (elements != 0 && indexBuffer_)
    {
        RecordDraw("DrawIndexedPrimitives", type, first, elements);
    }
}

void RecordingRenderer::SetVertexBuffer(std::uint32_t stream, const Core::RefPtr<IVertexBuffer>& buffer)
{
    Record("SetVertexBuffer", JoinText({ToText(stream), ToText(static_cast<const void*>(buffer.Get()))}));
    if (stream >= VertexStreamCount)
    {
        return;
    }
    ReplaceBoundBuffer(vertexBuffers_[stream], buffer);
}

void RecordingRenderer::SetIndexBuffer(const Core::RefPtr<IIndexBuffer>& buffer)
{
    Record("SetIndexBuffer", ToText(static_cast<const void*>(buffer.Get())));
    ReplaceBoundBuffer(indexBuffer_, buffer);
}

void RecordingRenderer::DrawSurface(const Core::RefPtr<Surface>& image, std::int32_t x, std::int32_t y,
                                    std::int32_t sourceX, std::int32_t sourceY, std::int32_t sourceWidth,
                                    std::int32_t sourceHeight, bool mirrorX, bool mirrorY)
{
    Record("DrawSurface", JoinText({ToText(static_cast<const void*>(image.Get())), ToText(x), ToText(y),
                                    ToText(sourceX), ToText(sourceY), ToText(sourceWidth),
                                    ToText(sourceHeight), ToText(mirrorX), ToText(mirrorY)}));
    ++pendingSurfaces_;
}

void RecordingRenderer::DrawRectangle(float x1, float y1, float x2, float y2)
{
    Record("DrawRectangle", JoinText({ToText(x1), ToText(y1), ToText(x2), ToText(y2)}));
}

// --- Line stipple -------------------------------------------------------------

void RecordingRenderer::SetLineStipple(bool enable)
{
    lineStipple_ = enable;
    Record("SetLineStipple", ToText(enable));
}

bool RecordingRenderer::IsLineStipple()
{
    Record("IsLineStipple");
    return lineStipple_;
}

void RecordingRenderer::SetLineStipplePattern(std::uint16_t pattern)
{
    lineStipplePattern_ = pattern;
    Record("SetLineStipplePattern", ToText(std::uint32_t{pattern}));
}

std::uint16_t RecordingRenderer::GetLineStipplePattern()
{
    Record("GetLineStipplePattern");
    return lineStipplePattern_;
}

void RecordingRenderer::SetLineStippleFactor(std::int32_t factor)
{
    lineStippleFactor_ = factor;
    Record("SetLineStippleFactor", ToText(factor));
}

std::int32_t RecordingRenderer::GetLineStippleFactor()
{
    Record("GetLineStippleFactor");
    return lineStippleFactor_;
}

void RecordingRenderer::SwapBuffers()
{
    Record("SwapBuffers");
    pendingSurfaces_ = 0;
    ++swapCount_;
}

// --- Viewport and matrices --------------------------------------------------------

void RecordingRenderer::SetViewport(const ViewportRecord& viewport)
{
    viewport_ = viewport;
    Record("SetViewport", ToText(viewport));
}

ViewportRecord RecordingRenderer::GetViewport()
{
    Record("GetViewport");
    return viewport_;
}

void RecordingRenderer::SetWorldMatrix(const Math::Matrix4& matrix)
{
    world_ = matrix;
    Record("SetWorldMatrix", ToText(matrix));
}

Math::Matrix4 RecordingRenderer::GetWorldMatrix()
{
    Record("GetWorldMatrix");
    return world_;
}

void RecordingRenderer::SetViewMatrix(const Math::Matrix4& matrix)
{
    view_ = matrix;
    Record("SetViewMatrix", ToText(matrix));
}

Math::Matrix4 RecordingRenderer::GetViewMatrix()
{
    Record("GetViewMatrix");
    return view_;
}

void RecordingRenderer::SetProjectionMatrix(const Math::Matrix4& matrix)
{
    projection_ = matrix;
    Record("SetProjectionMatrix", ToText(matrix));
}

Math::Matrix4 RecordingRenderer::GetProjectionMatrix()
{
    Record("GetProjectionMatrix");
    return projection_;
}

void RecordingRenderer::SetTextureMatrix(std::int32_t unit, const Math::Matrix4& matrix)
{
    Record("SetTextureMatrix", JoinText({ToText(unit), ToText(matrix)}));
    if (unit >= 0 && static_cast<std::uint32_t>(unit) < TextureMatrixCount)
    {
        textureMatrices_[static_cast<std::size_t>(unit)] = matrix;
    }
}

Math::Matrix4 RecordingRenderer::GetTextureMatrix(std::uint32_t unit)
{
    Record("GetTextureMatrix", ToText(unit));
    return unit < TextureMatrixCount ? textureMatrices_[unit] : Math::Matrix4();
}

// window = viewport(projection x model-view x (object, 1) / w), depth (z + 1) / 2.
bool RecordingRenderer::Project(Math::Vector3& window, const Math::Vector3& object)
{
    Record("Project", ToText(object));
    double modelView[16];
    double projection[16];
    Widen(modelView, GetModelViewMatrix());
    Widen(projection, projection_);
    const double in[4] = {object.x, object.y, object.z, 1.0};
    double eye[4];
    double clip[4];
    Transform(eye, modelView, in);
    Transform(clip, projection, eye);
    if (clip[3] == 0.0)
    {
        return false;
    }
    const double x = clip[0] / clip[3];
    const double y = clip[1] / clip[3];
    const double z = clip[2] / clip[3];
    window.x = static_cast<float>(viewport_.x + (1.0 + x) * viewport_.width / 2.0);
    window.y = static_cast<float>(viewport_.y + (1.0 + y) * viewport_.height / 2.0);
    window.z = static_cast<float>((1.0 + z) / 2.0);
    return true;
}

bool RecordingRenderer::Unproject(Math::Vector3& object, const Math::Vector3& window)
{
    Record("Unproject", ToText(window));
    if (viewport_.width == 0 || viewport_.height == 0)
    {
        return false;
    }
    double modelView[16];
    double projection[16];
    double product[16];
    double inverse[16];
    Widen(modelView, GetModelViewMatrix());
    Widen(projection, projection_);
    Multiply(product, projection, modelView);
    if (!Invert(inverse, product))
    {
        return false;
    }
    const double in[4] = {(window.x - viewport_.x) * 2.0 / viewport_.width - 1.0,
                          (window.y - viewport_.y) * 2.0 / viewport_.height - 1.0, window.z * 2.0 - 1.0, 1.0};
    double out[4];
    Transform(out, inverse, in);
    if (out[3] == 0.0)
    {
        return false;
    }
    object.x = static_cast<float>(out[0] / out[3]);
    object.y = static_cast<float>(out[1] / out[3]);
    object.z = static_cast<float>(out[2] / out[3]);
    return true;
}

// --- Clears and read-back -----------------------------------------------------------

void RecordingRenderer::ClearColorBuffer(const Math::Vector4& color)
{
    clearColor_ = color;
    Record("ClearColorBuffer", ToText(color));
}

void RecordingRenderer::ClearDepthBuffer(float depth)
{
    Record("ClearDepthBuffer", ToText(depth));
}

void RecordingRenderer::ClearStencilBuffer(std::int32_t value)
{
    Record("ClearStencilBuffer", ToText(value));
}

void RecordingRenderer::ClearBuffers(const Math::Vector4& color, float depth, std::int32_t stencil)
{
    clearColor_ = color;
    Record("ClearBuffers", JoinText({ToText(color), ToText(depth), ToText(stencil)}));
}

void RecordingRenderer::ReadPixels(std::uint8_t* pixels)
{
    Record("ReadPixels", ToText(static_cast<const void*>(pixels)));
    if (pixels == nullptr)
    {
        return;
    }
    const std::uint8_t rgb[3] = {ToByte(clearColor_.x), ToByte(clearColor_.y), ToByte(clearColor_.z)};
    const std::size_t count = std::size_t{description_.width} * description_.height;
    for (std::size_t i = 0; i < count; ++i)
    {
        std::copy(rgb, rgb + 3, pixels + 3 * i);
    }
}

// --- Display ------------------------------------------------------------------

void RecordingRenderer::SetDisplayDescription(const DisplayDescription& description)
{
    description_ = description;
    Record("SetDisplayDescription", ToText(description));
}

DisplayDescription RecordingRenderer::GetDisplayDescription()
{
    Record("GetDisplayDescription");
    return description_;
}

RendererVersion RecordingRenderer::GetVersion()
{
    Record("GetVersion");
    return RendererVersion{0, 1, 0};
}

void RecordingRenderer::ToggleFullScreen()
{
    description_.fullscreen = !description_.fullscreen;
    Record("ToggleFullScreen");
}

void RecordingRenderer::SetVSync(bool enable)
{
    description_.vsync = enable;
    Record("SetVSync", ToText(enable));
}

bool RecordingRenderer::IsVSync()
{
    Record("IsVSync");
    return description_.vsync;
}

} // namespace Renderer

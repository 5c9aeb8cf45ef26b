#include "renderer/Renderer_OGLRenderer.h"

#include "pal/PAL_ErrorReport.h"
#include "pal/PAL_Window.h"
#include "renderer/Renderer_GLCodes.h"
#include "renderer/Renderer_OpenGLExtensions.h"
#include "renderer/Renderer_TextureCache.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <limits>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace Renderer
{

namespace
{

// The renderer whose context is current; textures upload only while one is.
OGLRenderer* g_current = nullptr;

constexpr std::uint64_t MaxGLCount = static_cast<std::uint64_t>(std::numeric_limits<GLsizei>::max());

// Names separated by single blanks; empty pieces are no names.
std::vector<std::string> SplitNames(const char* text)
{
    std::vector<std::string> names;
    if (text == nullptr)
    {
        return names;
    }
    const std::string all(text);
    std::size_t start = 0;
    while (start < all.size())
    {
        std::size_t end = all.find(' ', start);
        if (end == std::string::npos)
        {
            end = all.size();
        }
        if (end > start)
        {
            names.push_back(all.substr(start, end - start));
        }
        start = end + 1;
    }
    return names;
}

// Freed memory at the top of the heap stays with the process, up to 128 MB,
// instead of going back to the kernel. A software rasteriser (Mesa's
// llvmpipe, which draws under Xvfb) stores its whole rasteriser state, about
// 32 KB, in scene memory for every draw whose state differs from the draw
// before (every sprite: its colour and matrix change), and frees the scene
// once it is drawn: 2,000 sprites make over 60 MB a frame. With glibc's
// default trim threshold of 128 KB that memory went back to the kernel
// after each scene and the next frame faulted every page in again, which
// cost about two thirds of the frame. The price is that up to 128 MB freed
// at the heap's top stays resident. Setting the threshold also stops glibc
// from raising its mmap threshold (128 KB) as large blocks are freed;
// nothing allocates blocks that large every frame.
void KeepFreedHeapTop()
{
#if defined(__GLIBC__)
    static const bool kept = mallopt(M_TRIM_THRESHOLD, 128 * 1024 * 1024) != 0;
    static_cast<void>(kept);
#endif
}

void Widen(GLdouble out[16], const Math::Matrix4& matrix)
{
    for (int i = 0; i < 16; ++i)
    {
        out[i] = matrix.m[i];
    }
}

// `in` through gluProject or gluUnProject (they take the same arguments)
// with the matrices widened to doubles; false, and `out` untouched, where GLU
// cannot map it.
bool MapPoint(decltype(&gluProject) map, const Math::Matrix4& modelView, const Math::Matrix4& projection,
              const ViewportRecord& viewport, const Math::Vector3& in, Math::Vector3& out)
{
    GLdouble modelViewWide[16];
    GLdouble projectionWide[16];
    Widen(modelViewWide, modelView);
    Widen(projectionWide, projection);
    const GLint box[4] = {viewport.x, viewport.y, viewport.width, viewport.height};
    GLdouble x = 0.0;
    GLdouble y = 0.0;
    GLdouble z = 0.0;
    if (map(in.x, in.y, in.z, modelViewWide, projectionWide, box, &x, &y, &z) != GL_TRUE)
    {
        return false;
    }
    out.x = static_cast<float>(x);
    out.y = static_cast<float>(y);
    out.z = static_cast<float>(z);
    return true;
}

// Turns one client array on, its pointer set by `setPointer`, or off when
// there is no data.
template <typename SetPointer> void SetClientArray(GLenum array, const void* data, SetPointer setPointer)
{
    if (data != nullptr)
    {
        glEnableClientState(array);
        setPointer(data);
    }
    else
    {
        glDisableClientState(array);
    }
}

} // namespace

// --- Construction -------------------------------------------------------------

Core::RefPtr<OGLRenderer> OGLRenderer::Create(const DisplayDescription& description)
{
    Core::RefPtr<OGLRenderer> renderer(new ("Internal_OGLRenderer", __LINE__) OGLRenderer(description));
    SetInstance(renderer.Get());
    return renderer;
}

void OGLRenderer::ChoosePixelFormat(const DisplayDescription& description)
{
    PixelFormatRecord request;
    request.colorBits = description.colorBits;
    request.depthBits = description.depthBits;
    request.stencilBits = description.stencilBits;
    request.samples = description.sampleCount;
    request.multisample = description.sampleCount != 0;
    request.swapMethod = 1;
    Adapter::ChoosePixelFormat(request);
}

OGLRenderer* OGLRenderer::GetCurrent()
{
    return g_current;
}

OGLRenderer::OGLRenderer(const DisplayDescription& description)
    : description_(description), window_(description.window),
      material_(Math::Vector4(0.2f, 0.2f, 0.2f, 1.0f), Math::Vector4(0.8f, 0.8f, 0.8f, 1.0f),
                Math::Vector4(0.0f, 0.0f, 0.0f, 1.0f), Math::Vector4(0.0f, 0.0f, 0.0f, 1.0f), 0.0f)
{
    viewport_.width = static_cast<std::int32_t>(description_.width);
    viewport_.height = static_cast<std::int32_t>(description_.height);

    // Without a window there is nothing to make a context on.
    PAL::BeginCheckedCall("SDL_GL_CreateContext", "Renderer::OGLRenderer::OGLRenderer", __LINE__,
                          "Internal_OGLRenderer");
    PAL::EndCheckedCall(window_ == nullptr);

    KeepFreedHeapTop();
    adapter_ = Adapter::GetInstance();
    if (description_.fullscreen)
    {
        adapter_->SetRequestedMode(DisplayModeRecord{description_.width, description_.height,
                                                     description_.colorBits, description_.refreshRate});
        if (!adapter_->TestRequestedMode() || !adapter_->SetFullScreen(true, *window_))
        {
            description_.fullscreen = false;
        }
    }

    context_ = new ("Internal_OGLRenderer", __LINE__) RenderingContext(*window_);
    PAL::BeginCheckedCall("SDL_GL_MakeCurrent", "Renderer::OGLRenderer::OGLRenderer", __LINE__,
                          "Internal_OGLRenderer");
    PAL::EndCheckedCall(!context_->MakeCurrent());
    g_current = this;
    adapter_->FillPixelFormats();

    ReadExtensions();
    if (HasExtension("GL_ARB_multitexture") && OpenGLExtensions::activeTexture != nullptr &&
        OpenGLExtensions::clientActiveTexture != nullptr)
    {
        multitexture_ = true;
        GLint units = 1;
        glGetIntegerv(GL_MAX_TEXTURE_UNITS_ARB, &units);
        textureUnits_ = std::max<GLint>(units, 1);
    }

    SetVSync(description_.vsync);
    ApplyGlobalDefaults();

    LoadModelView();
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(projection_.m);
    if (multitexture_)
    {
        OpenGLExtensions::activeTexture(GL_TEXTURE0_ARB);
    }
    glMatrixMode(GL_TEXTURE);
    glLoadMatrixf(textureMatrices_[0].m);
    glMatrixMode(GL_MODELVIEW);

    SetViewport(viewport_);
}

OGLRenderer::~OGLRenderer()
{
    ForgetInstance();
    rasterCommands_.clear();
    // Textures only the renderer held are deleted while their context lives;
    // those still held elsewhere lose their names with it.
    for (Core::RefPtr<ITexture>& texture : textures_)
    {
        texture.Reset();
    }
    TextureCache::GetInstance().ForgetGLNames();
    for (Core::RefPtr<IVertexBuffer>& buffer : vertexBuffers_)
    {
        buffer.Reset();
    }
    indexBuffer_.Reset();
    if (adapter_->IsDisplayModeChanged())
    {
        adapter_->SetFullScreen(false, *window_);
    }
    if (g_current == this)
    {
        g_current = nullptr;
    }
    context_.Reset();
}

const char* OGLRenderer::GetClassName() const
{
    return "Renderer::OGLRenderer";
}

std::uint32_t OGLRenderer::GetSize() const
{
    return sizeof(OGLRenderer);
}

void OGLRenderer::ReadExtensions()
{
    glExtensions_ = SplitNames(reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)));
    gluExtensions_ = SplitNames(reinterpret_cast<const char*>(gluGetString(GLU_EXTENSIONS)));
    wglExtensions_ = adapter_->GetWGLExtensions();
}

bool OGLRenderer::HasExtension(const std::string& name) const
{
    return std::find(glExtensions_.begin(), glExtensions_.end(), name) != glExtensions_.end();
}

bool HasExtension(const std::string& name)
{
    const OGLRenderer* renderer = OGLRenderer::GetCurrent();
    return renderer != nullptr && renderer->HasExtension(name);
}

void OGLRenderer::ApplyGlobalDefaults()
{
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
    glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, GL_SEPARATE_SPECULAR_COLOR);
    glHint(GL_FOG_HINT, GL_NICEST);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
    glEnable(GL_LINE_SMOOTH);
    glEnable(GL_POINT_SMOOTH);
}

// --- Arrays ---------------------------------------------------------------------

void OGLRenderer::SetVertexArray(const void* positions)
{
    vertexArray_ = positions;
    SetClientArray(GL_VERTEX_ARRAY, positions,
                   [](const void* data) { glVertexPointer(3, GL_FLOAT, 0, data); });
}

void OGLRenderer::SetNormalArray(const void* normals)
{
    SetClientArray(GL_NORMAL_ARRAY, normals, [](const void* data) { glNormalPointer(GL_FLOAT, 0, data); });
}

void OGLRenderer::SetColorArray(const void* colors)
{
    SetClientArray(GL_COLOR_ARRAY, colors, [](const void* data) { glColorPointer(4, GL_FLOAT, 0, data); });
}

void OGLRenderer::SetSecondaryColorArray(const void* colors)
{
    if (OpenGLExtensions::secondaryColorPointer == nullptr)
    {
        return;
    }
    SetClientArray(GL_SECONDARY_COLOR_ARRAY, colors,
                   [](const void* data)
                   { OpenGLExtensions::secondaryColorPointer(3, GL_FLOAT, 4 * sizeof(float), data); });
}

void OGLRenderer::SetTexCoordArray(std::int32_t unit, const void* coordinates)
{
    if (unit < 0 || static_cast<std::uint32_t>(unit) >= TextureUnitCount)
    {
        return;
    }
    // A unit the driver lacks has no coordinates to set: setting them on
    // the active unit instead would overwrite another unit's.
    if (multitexture_)
    {
        if (unit >= textureUnits_)
        {
            return;
        }
        OpenGLExtensions::clientActiveTexture(GL_TEXTURE0_ARB + static_cast<GLenum>(unit));
    }
    else if (unit != 0)
    {
        return;
    }
    SetClientArray(GL_TEXTURE_COORD_ARRAY, coordinates,
                   [](const void* data) { glTexCoordPointer(2, GL_FLOAT, 0, data); });
}

void OGLRenderer::SetIndexArray32(const std::uint32_t* indices)
{
    indexArray_ = indices;
    indices16_ = false;
}

void OGLRenderer::SetIndexArray16(const std::uint16_t* indices)
{
    indexArray_ = indices;
    indices16_ = true;
}

// --- Drawing ----------------------------------------------------------------------

void OGLRenderer::SetPrimitiveType(std::int32_t type)
{
    primitiveType_ = type;
}

std::int32_t OGLRenderer::GetPrimitiveType()
{
    return primitiveType_;
}

void OGLRenderer::DrawElements(std::int32_t type, std::uint64_t first, std::uint64_t count)
{
    GLenum mode = GL_TRIANGLES;
    if (!ToGLPrimitive(type, mode) || vertexArray_ == nullptr || count == 0 || count > MaxGLCount ||
        first > MaxGLCount)
    {
        return;
    }
    const auto elements = static_cast<GLsizei>(count);
    if (indexArray_ == nullptr)
    {
        glDrawArrays(mode, static_cast<GLint>(first), elements);
    }
    else if (indices16_)
    {
        glDrawElements(mode, elements, GL_UNSIGNED_SHORT,
                       static_cast<const std::uint16_t*>(indexArray_) + first);
    }
    else
    {
        glDrawElements(mode, elements, GL_UNSIGNED_INT,
                       static_cast<const std::uint32_t*>(indexArray_) + first);
    }
}

void OGLRenderer::Draw(std::int32_t count)
{
    if (count > 0)
    {
        DrawElements(primitiveType_, 0, static_cast<std::uint64_t>(count));
    }
}

void OGLRenderer::DrawRange(std::uint32_t first, std::uint32_t last)
{
    // Counted in 64 bits: last < first is an empty range, not one of about
    // four billion elements.
    if (last >= first)
    {
        DrawElements(primitiveType_, first, std::uint64_t{last} - first + 1);
    }
}

void OGLRenderer::DrawPrimitives(std::uint32_t type, std::int32_t first, std::uint32_t count)
{
    GLenum mode = GL_TRIANGLES;
    const std::uint64_t elements = ElementCountForPrimitives(type, count);
    if (!ToGLPrimitive(type, mode) || elements == 0 || elements > MaxGLCount || first < 0)
    {
        return;
    }
    glDrawArrays(mode, first, static_cast<GLsizei>(elements));
}

void OGLRenderer::DrawIndexedPrimitives(std::int32_t type, std::uint32_t first, std::int32_t count)
{
    GLenum mode = GL_TRIANGLES;
    const std::uint64_t elements = ElementCountForPrimitives(type, count);
    if (!ToGLPrimitive(type, mode) || elements == 0 || elements > MaxGLCount || !indexBuffer_ ||
        indexBuffer_->GetIndexData() == nullptr)
    {
        return;
    }
    const void* data = indexBuffer_->GetIndexData();
    if (indexBuffer_->Is32Bit())
    {
        glDrawElements(mode, static_cast<GLsizei>(elements), GL_UNSIGNED_INT,
                       static_cast<const std::uint32_t*>(data) + first);
    }
    else
    {
        glDrawElements(mode, static_cast<GLsizei>(elements), GL_UNSIGNED_SHORT,
                       static_cast<const std::uint16_t*>(data) + first);
    }
}

// Fog, lighting, coordinate generation and user clip planes read eye or
// object coordinates, which a vertex placed in clip space does not carry.
bool OGLRenderer::DrawsClipSpaceExactly()
{
    if (glIsEnabled(GL_FOG) || glIsEnabled(GL_LIGHTING))
    {
        return false;
    }
    GLint maximumPlanes = 0;
    glGetIntegerv(GL_MAX_CLIP_PLANES, &maximumPlanes);
    for (GLint plane = 0; plane < maximumPlanes; ++plane)
    {
        if (glIsEnabled(static_cast<GLenum>(GL_CLIP_PLANE0 + plane)))
        {
            return false;
        }
    }
    GLint active = GL_TEXTURE0_ARB;
    if (multitexture_)
    {
        glGetIntegerv(GL_ACTIVE_TEXTURE_ARB, &active);
    }
    bool generated = false;
    for (std::uint32_t unit = 0; unit < static_cast<std::uint32_t>(textureUnits_) && !generated; ++unit)
    {
        if (!SelectTextureUnit(unit))
        {
            break;
        }
        generated = glIsEnabled(GL_TEXTURE_GEN_S) || glIsEnabled(GL_TEXTURE_GEN_T) ||
                    glIsEnabled(GL_TEXTURE_GEN_R) || glIsEnabled(GL_TEXTURE_GEN_Q);
    }
    if (multitexture_)
    {
        OpenGLExtensions::activeTexture(static_cast<GLenum>(active));
    }
    return !generated;
}

void OGLRenderer::BeginClipSpaceTriangles(const float* positions, const float* texCoords, const float* colors)
{
    if (clipSpaceOpen_ || positions == nullptr)
    {
        return;
    }
    clipSpaceOpen_ = true;
    // Identity matrices make the pipeline's placement the identity: each
    // coordinate is 1 x itself plus zeros, exact however it is evaluated.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // A colour given per vertex is interpolated, which is not exact even
    // where all three corners agree; a colour given for the whole draw is
    // read as it stands. Flat shading reads each triangle's colour as it
    // stands too.
    GLint shading = GL_SMOOTH;
    glGetIntegerv(GL_SHADE_MODEL, &shading);
    clipSpaceShading_ = shading;
    glShadeModel(GL_FLAT);
    vertexArray_ = positions;
    SetClientArray(GL_VERTEX_ARRAY, positions,
                   [](const void* data) { glVertexPointer(4, GL_FLOAT, 0, data); });
    SetColorArray(colors);
    SetTexCoordArray(0, texCoords);
}

void OGLRenderer::DrawClipSpaceTriangles(std::uint32_t first, std::uint32_t count)
{
    count -= count % 3;
    if (!clipSpaceOpen_ || count == 0 || std::uint64_t{first} + count > MaxGLCount)
    {
        return;
    }
    glDrawArrays(GL_TRIANGLES, static_cast<GLint>(first), static_cast<GLsizei>(count));
}

void OGLRenderer::EndClipSpaceTriangles()
{
    if (!clipSpaceOpen_)
    {
        return;
    }
    clipSpaceOpen_ = false;
    SetVertexArray(nullptr);
    SetColorArray(nullptr);
    SetTexCoordArray(0, nullptr);
    glShadeModel(static_cast<GLenum>(clipSpaceShading_));
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(projection_.m);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(modelView_.m);
}

void OGLRenderer::SetVertexBuffer(std::uint32_t stream, const Core::RefPtr<IVertexBuffer>& buffer)
{
    if (stream >= VertexStreamCount)
    {
        return;
    }
    ReplaceBoundBuffer(vertexBuffers_[stream], buffer);
}

void OGLRenderer::SetIndexBuffer(const Core::RefPtr<IIndexBuffer>& buffer)
{
    ReplaceBoundBuffer(indexBuffer_, buffer);
}

void OGLRenderer::DrawSurface(const Core::RefPtr<Surface>& image, std::int32_t x, std::int32_t y,
                              std::int32_t sourceX, std::int32_t sourceY, std::int32_t sourceWidth,
                              std::int32_t sourceHeight, bool mirrorX, bool mirrorY)
{
    rasterCommands_.emplace_back(new ("Internal_OGLRenderer", __LINE__) DrawSurfaceCommand(
        image, x, y, sourceX, sourceY, sourceWidth, sourceHeight, mirrorX, mirrorY));
}

void OGLRenderer::DrawRectangle(float x1, float y1, float x2, float y2)
{
    glRectf(x1, y1, x2, y2);
}

// --- Line stipple ---------------------------------------------------------------

void OGLRenderer::SetLineStipple(bool enable)
{
    lineStipple_ = enable;
    if (enable)
    {
        glEnable(GL_LINE_STIPPLE);
    }
    else
    {
        glDisable(GL_LINE_STIPPLE);
    }
}

bool OGLRenderer::IsLineStipple()
{
    return lineStipple_;
}

void OGLRenderer::SetLineStipplePattern(std::uint16_t pattern)
{
    lineStipplePattern_ = pattern;
    glLineStipple(lineStippleFactor_, lineStipplePattern_);
}

std::uint16_t OGLRenderer::GetLineStipplePattern()
{
    return lineStipplePattern_;
}

void OGLRenderer::SetLineStippleFactor(std::int32_t factor)
{
    lineStippleFactor_ = factor;
    glLineStipple(lineStippleFactor_, lineStipplePattern_);
}

std::int32_t OGLRenderer::GetLineStippleFactor()
{
    return lineStippleFactor_;
}

// --- Swap -----------------------------------------------------------------------

void OGLRenderer::SwapBuffers()
{
    RunRasterCommands();
    window_->SwapBuffers();
}

void OGLRenderer::RunRasterCommands()
{
    if (rasterCommands_.empty())
    {
        return;
    }
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0.0, viewport_.width, 0.0, viewport_.height);

    DepthBufferState saved;
    GetDepthBuffer(saved);
    DepthBufferState off;
    off.function = CompareLess;
    off.testEnabled = false;
    off.writeEnabled = false;
    SetDepthBuffer(off);

    // A command that queues another queues it for the next swap.
    std::vector<Core::RefPtr<RasterCommand>> commands;
    commands.swap(rasterCommands_);
    for (const Core::RefPtr<RasterCommand>& command : commands)
    {
        command->Execute(*this);
    }

    SetDepthBuffer(saved);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

// --- Viewport and matrices --------------------------------------------------------

void OGLRenderer::SetViewport(const ViewportRecord& viewport)
{
    viewport_ = viewport;
    glViewport(viewport.x, viewport.y, viewport.width, viewport.height);
    glDepthRange(viewport.nearDepth, viewport.farDepth);
}

ViewportRecord OGLRenderer::GetViewport()
{
    GLint box[4] = {0, 0, 0, 0};
    GLfloat range[2] = {0.0f, 1.0f};
    glGetIntegerv(GL_VIEWPORT, box);
    glGetFloatv(GL_DEPTH_RANGE, range);
    return ViewportRecord{box[0], box[1], box[2], box[3], range[0], range[1]};
}

void OGLRenderer::LoadModelView()
{
    modelView_ = view_ * world_;
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(modelView_.m);
}

void OGLRenderer::SetWorldMatrix(const Math::Matrix4& matrix)
{
    world_ = matrix;
    LoadModelView();
}

Math::Matrix4 OGLRenderer::GetWorldMatrix()
{
    return world_;
}

void OGLRenderer::SetViewMatrix(const Math::Matrix4& matrix)
{
    view_ = matrix;
    LoadModelView();
}

Math::Matrix4 OGLRenderer::GetViewMatrix()
{
    return view_;
}

void OGLRenderer::SetProjectionMatrix(const Math::Matrix4& matrix)
{
    projection_ = matrix;
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(projection_.m);
    glMatrixMode(GL_MODELVIEW);
}

Math::Matrix4 OGLRenderer::GetProjectionMatrix()
{
    return projection_;
}

void OGLRenderer::SetTextureMatrix(std::int32_t unit, const Math::Matrix4& matrix)
{
    if (unit < 0 || static_cast<std::uint32_t>(unit) >= TextureMatrixCount)
    {
        return;
    }
    textureMatrices_[static_cast<std::size_t>(unit)] = matrix;
    if (!SelectTextureUnit(static_cast<std::uint32_t>(unit)))
    {
        return;
    }
    glMatrixMode(GL_TEXTURE);
    glLoadMatrixf(matrix.m);
    glMatrixMode(GL_MODELVIEW);
}

Math::Matrix4 OGLRenderer::GetTextureMatrix(std::uint32_t unit)
{
    return unit < TextureMatrixCount ? textureMatrices_[unit] : Math::Matrix4();
}

bool OGLRenderer::Project(Math::Vector3& window, const Math::Vector3& object)
{
    return MapPoint(gluProject, modelView_, projection_, viewport_, object, window);
}

bool OGLRenderer::Unproject(Math::Vector3& object, const Math::Vector3& window)
{
    return MapPoint(gluUnProject, modelView_, projection_, viewport_, window, object);
}

// --- Clears and read-back -----------------------------------------------------------

void OGLRenderer::ClearColorBuffer(const Math::Vector4& color)
{
    glClearColor(color.x, color.y, color.z, color.w);
    glClear(GL_COLOR_BUFFER_BIT);
}

void OGLRenderer::ClearDepthBuffer(float depth)
{
    glClearDepth(depth);
    glClear(GL_DEPTH_BUFFER_BIT);
}

void OGLRenderer::ClearStencilBuffer(std::int32_t value)
{
    glClearStencil(value);
    glClear(GL_STENCIL_BUFFER_BIT);
}

void OGLRenderer::ClearBuffers(const Math::Vector4& color, float depth, std::int32_t stencil)
{
    glClearColor(color.x, color.y, color.z, color.w);
    glClearDepth(depth);
    glClearStencil(stencil);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}

void OGLRenderer::ReadPixels(std::uint8_t* pixels)
{
    if (pixels == nullptr)
    {
        return;
    }
    // Rows of width x 3 bytes follow each other without padding: with the
    // default alignment of 4 every row not a multiple of 4 long would be
    // padded and the last rows written past the buffer.
    GLint alignment = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, static_cast<GLsizei>(description_.width), static_cast<GLsizei>(description_.height),
                 GL_RGB, GL_UNSIGNED_BYTE, pixels);
    glPixelStorei(GL_PACK_ALIGNMENT, alignment);
}

// --- Display ------------------------------------------------------------------

void OGLRenderer::SetDisplayDescription(const DisplayDescription& description)
{
    description_ = description;
}

DisplayDescription OGLRenderer::GetDisplayDescription()
{
    return description_;
}

RendererVersion OGLRenderer::GetVersion()
{
    return RendererVersion{0, 1, 0};
}

void OGLRenderer::ToggleFullScreen()
{
    if (description_.fullscreen)
    {
        glFinish();
        adapter_->SetFullScreen(false, *window_);
        window_->SetBorder(true);
        window_->SetClientSize(static_cast<std::int32_t>(description_.width),
                               static_cast<std::int32_t>(description_.height));
        window_->SetPosition(windowedX_, windowedY_);
        window_->SetVisible(true);
        window_->SetTopMost(false);
        description_.fullscreen = false;
    }
    else
    {
        adapter_->SetRequestedMode(DisplayModeRecord{description_.width, description_.height,
                                                     description_.colorBits, description_.refreshRate});
        if (!adapter_->TestRequestedMode())
        {
            SetVSync(description_.vsync);
            return;
        }
        glFinish();
        window_->GetPosition(windowedX_, windowedY_);
        window_->SetBorder(false);
        if (!adapter_->SetFullScreen(true, *window_))
        {
            // The display refused: the window stays as it was.
            window_->SetBorder(true);
            SetVSync(description_.vsync);
            return;
        }
        window_->SetTopMost(true);
        description_.fullscreen = true;
    }
    SetVSync(description_.vsync);
}

void OGLRenderer::SetVSync(bool enable)
{
    description_.vsync = enable;
    swapControl_ = PAL::Window::SetSwapInterval(enable ? 1 : 0);
}

bool OGLRenderer::IsVSync()
{
    return description_.vsync;
}

} // namespace Renderer

// The state setters and getters of the OpenGL renderer, its texture units
// and its lights.

#include "renderer/Renderer_GLCodes.h"
#include "renderer/Renderer_OGLRenderer.h"
#include "renderer/Renderer_OpenGLExtensions.h"

#include <GL/gl.h>

#include <array>

namespace Renderer
{

namespace
{

std::array<GLfloat, 4> Floats(const Math::Vector4& value)
{
    return {value.x, value.y, value.z, value.w};
}

void Enable(GLenum capability, bool enabled)
{
    if (enabled)
    {
        glEnable(capability);
    }
    else
    {
        glDisable(capability);
    }
}

// What a light slot is set from: the fields every light kind reads.
struct LightRecord
{
    enum Kind
    {
        Directional,
        Point,
        Spot,
    };
    Kind kind = Directional;
    bool enabled = false;
    Math::Vector4 ambient{0.0f, 0.0f, 0.0f, 1.0f};
    Math::Vector4 diffuse{1.0f, 1.0f, 1.0f, 1.0f};
    Math::Vector4 specular{1.0f, 1.0f, 1.0f, 1.0f};
    Math::Vector3 position;
    Math::Vector3 direction{0.0f, 0.0f, -1.0f};
    float cutoff = 180.0f;
    float exponent = 0.0f;
    float constantAttenuation = 1.0f;
    float linearAttenuation = 0.0f;
    float quadraticAttenuation = 0.0f;
};

// No light gives the default record: a directional light that is off.
LightRecord ToRecord(const Light* light)
{
    LightRecord record;
    if (light == nullptr)
    {
        return record;
    }
    record.enabled = light->enabled;
    record.ambient = light->ambient;
    record.diffuse = light->diffuse;
    record.specular = light->specular;
    if (const auto* directional = dynamic_cast<const DirectionalLight*>(light))
    {
        record.direction = directional->direction;
    }
    else if (const auto* point = dynamic_cast<const PointLight*>(light))
    {
        record.kind = LightRecord::Point;
        record.position = point->position;
        record.constantAttenuation = point->constantAttenuation;
        record.linearAttenuation = point->linearAttenuation;
        record.quadraticAttenuation = point->quadraticAttenuation;
        if (const auto* spot = dynamic_cast<const SpotLight*>(light))
        {
            record.kind = LightRecord::Spot;
            record.direction = spot->direction;
            record.cutoff = spot->cutoff;
            record.exponent = spot->exponent;
        }
    }
    return record;
}

} // namespace

// --- Plain states -----------------------------------------------------------------

void OGLRenderer::SetMaterial(const Material& state)
{
    material_ = state;
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, Floats(state.ambient).data());
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, Floats(state.diffuse).data());
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, Floats(state.specular).data());
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, Floats(state.emission).data());
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, state.shininess);
}

void OGLRenderer::SetNormalizeNormals(const NormalizeNormalsState& state)
{
    normalizeNormals_ = state;
    Enable(GL_NORMALIZE, state.enabled);
}

void OGLRenderer::SetLighting(const LightingState& state)
{
    lighting_ = state;
    Enable(GL_LIGHTING, state.enabled);
    glLightModelf(GL_LIGHT_MODEL_LOCAL_VIEWER, state.localViewer ? 1.0f : 0.0f);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, Floats(state.ambient).data());
}

void OGLRenderer::SetLine(const LineState& state)
{
    line_ = state;
    glLineWidth(state.width);
}

void OGLRenderer::SetPoint(const PointState& state)
{
    point_ = state;
    glPointSize(state.size);
}

void OGLRenderer::SetDithering(const DitheringState& state)
{
    dithering_ = state;
    Enable(GL_DITHER, state.enabled);
}

void OGLRenderer::SetTriangleOffset(const TriangleOffsetState& state)
{
    triangleOffset_ = state;
    Enable(GL_POLYGON_OFFSET_FILL, state.enabled);
    glPolygonOffset(state.factor, state.units);
}

void OGLRenderer::SetStencilBuffer(const StencilBufferState& state)
{
    stencilBuffer_ = state;
    Enable(GL_STENCIL_TEST, state.enabled);
    glStencilMask(state.writeMask);
    glStencilFunc(ToGLCompareFunction(state.function), state.reference, state.compareMask);
    glStencilOp(ToGLStencilOperation(state.failOperation), ToGLStencilOperation(state.depthFailOperation),
                ToGLStencilOperation(state.passOperation));
}

void OGLRenderer::SetDepthBuffer(const DepthBufferState& state)
{
    depthBuffer_ = state;
    Enable(GL_DEPTH_TEST, state.testEnabled);
    glDepthMask(state.writeEnabled ? GL_TRUE : GL_FALSE);
    glDepthFunc(ToGLCompareFunction(state.function));
}

void OGLRenderer::SetShading(const ShadingState& state)
{
    shading_ = state;
    glShadeModel(ToGLShadeModel(state.model));
}

void OGLRenderer::SetFilling(const FillingState& state)
{
    filling_ = state;
    glPolygonMode(GL_FRONT_AND_BACK, ToGLPolygonMode(state.mode));
}

void OGLRenderer::SetFog(const FogState& state)
{
    fog_ = state;
    Enable(GL_FOG, state.enabled);
    glFogi(GL_FOG_MODE, ToGLFogMode(state.mode));
    glFogfv(GL_FOG_COLOR, Floats(state.color).data());
    glFogf(GL_FOG_DENSITY, state.density);
    glFogf(GL_FOG_START, state.start);
    glFogf(GL_FOG_END, state.end);
}

void OGLRenderer::SetCulling(const CullingState& state)
{
    culling_ = state;
    Enable(GL_CULL_FACE, state.enabled);
    glCullFace(state.face != CullBack ? GL_FRONT : GL_BACK);
}

void OGLRenderer::SetAlphaTesting(const AlphaTestingState& state)
{
    alphaTesting_ = state;
    Enable(GL_ALPHA_TEST, state.enabled);
    glAlphaFunc(ToGLCompareFunction(state.function), state.reference);
}

void OGLRenderer::SetAlphaBlending(const AlphaBlendingState& state)
{
    alphaBlending_ = state;
    Enable(GL_BLEND, state.enabled);
    glBlendFunc(ToGLBlendFactor(state.source), ToGLBlendFactor(state.destination));
}

void OGLRenderer::SetScissor(const ScissorState& state)
{
    scissor_ = state;
    Enable(GL_SCISSOR_TEST, state.enabled);
    glScissor(state.x, state.y, state.width, state.height);
}

void OGLRenderer::SetColorMask(const ColorMaskState& state)
{
    colorMask_ = state;
    glColorMask(state.red ? GL_TRUE : GL_FALSE, state.green ? GL_TRUE : GL_FALSE,
                state.blue ? GL_TRUE : GL_FALSE, state.alpha ? GL_TRUE : GL_FALSE);
}

// --- Texture units --------------------------------------------------------------------

bool OGLRenderer::SelectTextureUnit(std::uint32_t unit)
{
    if (multitexture_ && unit < static_cast<std::uint32_t>(textureUnits_) && unit < TextureUnitCount)
    {
        OpenGLExtensions::activeTexture(GL_TEXTURE0_ARB + unit);
        return true;
    }
    // Without multitexturing the one unit there is, unit 0, is always active.
    return unit == 0 && !multitexture_;
}

void OGLRenderer::ApplyTextureUnit(std::uint32_t unit, const TexturingState& state)
{
    const ITexture* texture = textures_[unit].Get();
    if (texture == nullptr || !SelectTextureUnit(unit))
    {
        return;
    }
    const GLenum target = state.oneDimensional ? GL_TEXTURE_1D : GL_TEXTURE_2D;
    Enable(target, state.enabled);

    GLint magnification = GL_NEAREST;
    GLint minification = GL_NEAREST;
    ToGLTextureFilters(state.filter, texture->HasMipmaps(), magnification, minification);
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, magnification);
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, minification);

    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, ToGLTextureApplyMode(state.applyMode));

    glTexParameteri(target, GL_TEXTURE_WRAP_S, ToGLTextureWrap(state.wrapS));
    if (!state.oneDimensional)
    {
        glTexParameteri(target, GL_TEXTURE_WRAP_T, ToGLTextureWrap(state.wrapT));
    }

    if (state.oneDimensional)
    {
        if (state.coordinateGeneration)
        {
            glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
            glTexGenfv(GL_S, GL_OBJECT_PLANE, Floats(texGenPlane_).data());
        }
        Enable(GL_TEXTURE_GEN_S, state.coordinateGeneration);
        return;
    }
    static constexpr GLenum coordinates[4] = {GL_S, GL_T, GL_R, GL_Q};
    static constexpr GLenum generation[4] = {GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R,
                                             GL_TEXTURE_GEN_Q};
    for (int i = 0; i < 4; ++i)
    {
        if (state.coordinateGeneration)
        {
            // Plane i picks eye coordinate i: (1,0,0,0) for s, (0,1,0,0) for t, ...
            GLfloat plane[4] = {0.0f, 0.0f, 0.0f, 0.0f};
            plane[i] = 1.0f;
            glTexGeni(coordinates[i], GL_TEXTURE_GEN_MODE, GL_EYE_LINEAR);
            glTexGenfv(coordinates[i], GL_EYE_PLANE, plane);
        }
        Enable(generation[i], state.coordinateGeneration);
    }
}

#define OGL_TEXTURE_UNIT_PAIR(Unit, member)                                                                  \
    void OGLRenderer::SetTextureUnit##Unit(const TextureUnit##Unit##State& state)                            \
    {                                                                                                        \
        member = state;                                                                                      \
        ApplyTextureUnit(Unit, state);                                                                       \
    }                                                                                                        \
    TextureUnit##Unit##State& OGLRenderer::GetTextureUnit##Unit(TextureUnit##Unit##State& state)             \
    {                                                                                                        \
        state = member;                                                                                      \
        return state;                                                                                        \
    }

OGL_TEXTURE_UNIT_PAIR(7, unit7_)
OGL_TEXTURE_UNIT_PAIR(6, unit6_)
OGL_TEXTURE_UNIT_PAIR(5, unit5_)
OGL_TEXTURE_UNIT_PAIR(4, unit4_)
OGL_TEXTURE_UNIT_PAIR(3, unit3_)
OGL_TEXTURE_UNIT_PAIR(2, unit2_)
OGL_TEXTURE_UNIT_PAIR(1, unit1_)
OGL_TEXTURE_UNIT_PAIR(0, unit0_)

#undef OGL_TEXTURE_UNIT_PAIR

// --- Getters ----------------------------------------------------------------------------

#define OGL_STATE_GETTER(Name, Class, member)                                                                \
    Class& OGLRenderer::Get##Name(Class& state)                                                              \
    {                                                                                                        \
        state = member;                                                                                      \
        return state;                                                                                        \
    }

OGL_STATE_GETTER(Material, Material, material_)
OGL_STATE_GETTER(NormalizeNormals, NormalizeNormalsState, normalizeNormals_)
OGL_STATE_GETTER(Lighting, LightingState, lighting_)
OGL_STATE_GETTER(Line, LineState, line_)
OGL_STATE_GETTER(Point, PointState, point_)
OGL_STATE_GETTER(Dithering, DitheringState, dithering_)
OGL_STATE_GETTER(TriangleOffset, TriangleOffsetState, triangleOffset_)
OGL_STATE_GETTER(StencilBuffer, StencilBufferState, stencilBuffer_)
OGL_STATE_GETTER(DepthBuffer, DepthBufferState, depthBuffer_)
OGL_STATE_GETTER(Shading, ShadingState, shading_)
OGL_STATE_GETTER(Filling, FillingState, filling_)
OGL_STATE_GETTER(Fog, FogState, fog_)
OGL_STATE_GETTER(Culling, CullingState, culling_)
OGL_STATE_GETTER(AlphaTesting, AlphaTestingState, alphaTesting_)
OGL_STATE_GETTER(AlphaBlending, AlphaBlendingState, alphaBlending_)
OGL_STATE_GETTER(Scissor, ScissorState, scissor_)
OGL_STATE_GETTER(ColorMask, ColorMaskState, colorMask_)

#undef OGL_STATE_GETTER

// --- Textures, lights, colour -------------------------------------------------------------

void OGLRenderer::SetTexture(std::int32_t unit, const Core::RefPtr<ITexture>& texture)
{
    if (unit < 0 || static_cast<std::uint32_t>(unit) >= TextureUnitCount)
    {
        return;
    }
    textures_[static_cast<std::size_t>(unit)] = texture;
    if (!SelectTextureUnit(static_cast<std::uint32_t>(unit)))
    {
        return;
    }
    if (texture)
    {
        glBindTexture(texture->GetType() == 1 ? GL_TEXTURE_2D : GL_TEXTURE_1D, texture->GetGLName());
    }
    else
    {
        glBindTexture(GL_TEXTURE_1D, 0);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
}

Core::RefPtr<ITexture> OGLRenderer::GetTexture(std::uint32_t unit)
{
    return unit < TextureUnitCount ? textures_[unit] : Core::RefPtr<ITexture>();
}

void OGLRenderer::SetLight(std::uint32_t index, const Core::RefPtr<Light>& light)
{
    if (index >= LightCount)
    {
        return;
    }
    lights_[index] = light;
    ApplyLight(index, light.Get());
}

Core::RefPtr<Light> OGLRenderer::GetLight(std::uint32_t index)
{
    return index < LightCount ? lights_[index] : Core::RefPtr<Light>();
}

void OGLRenderer::ApplyLight(std::uint32_t index, const Light* light)
{
    const LightRecord record = ToRecord(light);
    const GLenum id = GL_LIGHT0 + index;
    Enable(id, record.enabled);
    glLightfv(id, GL_AMBIENT, Floats(record.ambient).data());
    glLightfv(id, GL_DIFFUSE, Floats(record.diffuse).data());
    glLightfv(id, GL_SPECULAR, Floats(record.specular).data());
    if (record.kind == LightRecord::Directional)
    {
        // A position with w = 0 is a direction towards the light.
        const GLfloat position[4] = {-record.direction.x, -record.direction.y, -record.direction.z, 0.0f};
        glLightfv(id, GL_POSITION, position);
        return;
    }
    const GLfloat position[4] = {record.position.x, record.position.y, record.position.z, 1.0f};
    glLightfv(id, GL_POSITION, position);
    glLightf(id, GL_SPOT_CUTOFF, record.kind == LightRecord::Spot ? record.cutoff : 180.0f);
    if (record.kind == LightRecord::Spot)
    {
        const GLfloat direction[3] = {record.direction.x, record.direction.y, record.direction.z};
        glLightfv(id, GL_SPOT_DIRECTION, direction);
        glLightf(id, GL_SPOT_EXPONENT, record.exponent);
    }
    glLightf(id, GL_CONSTANT_ATTENUATION, record.constantAttenuation);
    glLightf(id, GL_LINEAR_ATTENUATION, record.linearAttenuation);
    glLightf(id, GL_QUADRATIC_ATTENUATION, record.quadraticAttenuation);
}

void OGLRenderer::SetTexGenPlane(float a, float b, float c, float d)
{
    texGenPlane_ = Math::Vector4(a, b, c, d);
}

void OGLRenderer::SetCurrentColor(const Math::Vector4& color)
{
    currentColor_ = color;
    glColor4f(color.x, color.y, color.z, color.w);
}

Math::Vector4 OGLRenderer::GetCurrentColor()
{
    return currentColor_;
}

} // namespace Renderer

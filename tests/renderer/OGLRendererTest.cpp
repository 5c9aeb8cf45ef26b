#include "pal/PAL_Window.h"
#include "renderer/Renderer_Effect.h"
#include "renderer/Renderer_GLCodes.h"
#include "renderer/Renderer_OGLRenderer.h"
#include "renderer/Renderer_TextureCache.h"

#include "GLTestSupport.h"
#include "ImageFiles.h"

#include <GL/glext.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace
{

using Renderer::OGLRenderer;
using RendererTest::Rgb;

// --- Code mapping ----------------------------------------------------------------

TEST(GLCodesTest, CodesMapToOpenGLWithTheirFallbacks)
{
    EXPECT_EQ(Renderer::ToGLCompareFunction(0), static_cast<GLenum>(GL_NEVER));
    EXPECT_EQ(Renderer::ToGLCompareFunction(3), static_cast<GLenum>(GL_LEQUAL));
    EXPECT_EQ(Renderer::ToGLCompareFunction(7), static_cast<GLenum>(GL_ALWAYS));
    EXPECT_EQ(Renderer::ToGLCompareFunction(8), static_cast<GLenum>(GL_NEVER));

    EXPECT_EQ(Renderer::ToGLStencilOperation(3), static_cast<GLenum>(GL_INCR));
    EXPECT_EQ(Renderer::ToGLStencilOperation(5), static_cast<GLenum>(GL_INVERT));
    EXPECT_EQ(Renderer::ToGLStencilOperation(6), static_cast<GLenum>(GL_KEEP));

    EXPECT_EQ(Renderer::ToGLBlendFactor(7), static_cast<GLenum>(GL_ONE_MINUS_SRC_ALPHA));
    EXPECT_EQ(Renderer::ToGLBlendFactor(10), static_cast<GLenum>(GL_SRC_ALPHA_SATURATE));
    EXPECT_EQ(Renderer::ToGLBlendFactor(11), static_cast<GLenum>(GL_ZERO));

    GLenum mode = 0;
    EXPECT_TRUE(Renderer::ToGLPrimitive(2, mode));
    EXPECT_EQ(mode, static_cast<GLenum>(GL_LINE_STRIP));
    EXPECT_TRUE(Renderer::ToGLPrimitive(6, mode));
    EXPECT_EQ(mode, static_cast<GLenum>(GL_TRIANGLE_FAN));
    for (std::int64_t none : {3, 7, -1})
    {
        EXPECT_FALSE(Renderer::ToGLPrimitive(none, mode)) << none;
    }

    EXPECT_EQ(Renderer::ToGLTextureApplyMode(1), GL_DECAL);
    EXPECT_EQ(Renderer::ToGLTextureApplyMode(3), GL_BLEND);
    EXPECT_EQ(Renderer::ToGLTextureApplyMode(99), GL_BLEND);
    EXPECT_EQ(Renderer::ToGLTextureWrap(2), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(Renderer::ToGLTextureWrap(3), GL_CLAMP_TO_BORDER);
    EXPECT_EQ(Renderer::ToGLTextureWrap(4), GL_CLAMP);
    EXPECT_EQ(Renderer::ToGLFogMode(1), GL_EXP);
    EXPECT_EQ(Renderer::ToGLFogMode(5), GL_EXP2);
    EXPECT_EQ(Renderer::ToGLShadeModel(1), static_cast<GLenum>(GL_SMOOTH));
    EXPECT_EQ(Renderer::ToGLShadeModel(2), static_cast<GLenum>(GL_FLAT));
    EXPECT_EQ(Renderer::ToGLPolygonMode(1), static_cast<GLenum>(GL_LINE));
    EXPECT_EQ(Renderer::ToGLPolygonMode(9), static_cast<GLenum>(GL_FILL));

    const struct
    {
        std::uint32_t code;
        bool mipmaps;
        GLint magnification;
        GLint minification;
    } filters[] = {
        {0, false, GL_NEAREST, GL_NEAREST}, {0, true, GL_NEAREST, GL_NEAREST_MIPMAP_NEAREST},
        {1, false, GL_LINEAR, GL_LINEAR},   {1, true, GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR},
        {2, true, GL_NEAREST, GL_NEAREST},
    };
    for (const auto& filter : filters)
    {
        GLint magnification = 0;
        GLint minification = 0;
        Renderer::ToGLTextureFilters(filter.code, filter.mipmaps, magnification, minification);
        EXPECT_EQ(magnification, filter.magnification) << filter.code << filter.mipmaps;
        EXPECT_EQ(minification, filter.minification) << filter.code << filter.mipmaps;
    }
}

// --- The renderer on a window ------------------------------------------------------

class OGLRendererDisplayTest : public RendererTest::GLDisplayTest
{
protected:
    // A quad over the whole viewport (identity matrices), as a fan.
    const float quad_[12] = {-1, -1, 0, 1, -1, 0, 1, 1, 0, -1, 1, 0};
    const float quadCoordinates_[8] = {0, 0, 1, 0, 1, 1, 0, 1};

    void ClearBlack() { renderer->ClearBuffers(Math::Vector4(0.0f, 0.0f, 0.0f, 1.0f), 1.0f, 0); }

    void SetWhiteQuad()
    {
        renderer->SetTexture(0, nullptr);
        renderer->SetCurrentColor(Math::Vector4(1.0f, 1.0f, 1.0f, 1.0f));
        renderer->SetVertexArray(quad_);
        renderer->SetPrimitiveType(Renderer::PrimitiveTriangleFan);
    }
};

TEST_F(OGLRendererDisplayTest, StartsWithTheGivenDescriptionAndWhatTheDriverOffers)
{
    const Renderer::DisplayDescription got = renderer->GetDisplayDescription();
    EXPECT_EQ(got.width, 64u);
    EXPECT_EQ(got.height, 64u);
    EXPECT_EQ(got.refreshRate, 85u);
    EXPECT_EQ(got.sampleCount, 0u);
    EXPECT_EQ(got.colorBits, 32u);
    EXPECT_EQ(got.depthBits, 24u);
    EXPECT_EQ(got.stencilBits, 8u);
    EXPECT_EQ(got.window, window.get());
    EXPECT_FALSE(got.fullscreen);
    EXPECT_TRUE(got.vsync);
    EXPECT_EQ(Renderer::IRenderer::GetInstance().Get(), renderer.Get());
    EXPECT_EQ(OGLRenderer::GetCurrent(), renderer.Get());

    const Renderer::ViewportRecord viewport = renderer->GetViewport();
    EXPECT_EQ(viewport.width, 64);
    EXPECT_EQ(viewport.height, 64);
    EXPECT_EQ(viewport.nearDepth, 0.0f);
    EXPECT_EQ(viewport.farDepth, 1.0f);

    // Mesa lists multitexturing; extension names compare whole.
    EXPECT_TRUE(renderer->HasExtension("GL_ARB_multitexture"));
    EXPECT_FALSE(renderer->HasExtension("GL_ARB_multi"));
    EXPECT_TRUE(Renderer::HasExtension("GL_ARB_multitexture"));
    EXPECT_TRUE(renderer->IsMultitextureAvailable());
    EXPECT_GE(renderer->GetTextureUnitLimit(), 2);
    EXPECT_TRUE(renderer->GetWGLExtensions().empty());

    // The format asked for before the window was made: 24 depth, 8 stencil.
    const auto& formats = renderer->GetAdapter().GetPixelFormats();
    ASSERT_EQ(formats.size(), 1u);
    EXPECT_GE(formats[0].depthBits, 24u);
    EXPECT_GE(formats[0].stencilBits, 8u);

    // A refused swap interval means no swap control, never an exit.
    renderer->SetVSync(false);
    EXPECT_FALSE(renderer->IsVSync());
    renderer->SetVSync(true);
    EXPECT_TRUE(renderer->IsVSync());
    // Swap control is what the driver answered to the last request.
    EXPECT_EQ(renderer->HasSwapControl(), PAL::Window::GetSwapInterval() == 1);
    const Renderer::RendererVersion version = renderer->GetVersion();
    EXPECT_EQ(version.first, 0u);
    EXPECT_EQ(version.second, 1u);
    EXPECT_EQ(version.third, 0u);
}

TEST_F(OGLRendererDisplayTest, TexturedQuadDrawnThroughAnEffectShowsTheImage)
{
    RendererTest::TempDirectory directory;
    const std::string path = directory.File("quad.png");
    // Top row red, green; bottom row blue, white.
    ASSERT_TRUE(RendererTest::WritePng(
        path, 2, 2, {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}, {255, 255, 255, 255}}));
    const Core::RefPtr<Renderer::TextureOGL> texture = Renderer::LoadTexture(path, false);
    ASSERT_NE(texture->GetGLName(), 0u);

    const Core::RefPtr<Renderer::Effect> effect = Renderer::CreateNearestTextureEffect();
    const Core::RefPtr<Renderer::Technique> technique = effect->GetTechnique(0);
    ClearBlack();
    renderer->SetCurrentColor(Math::Vector4(1.0f, 1.0f, 1.0f, 1.0f));
    renderer->SetVertexArray(quad_);
    renderer->SetTexCoordArray(0, quadCoordinates_);
    renderer->SetPrimitiveType(Renderer::PrimitiveTriangleFan);
    renderer->SetTexture(0, texture);
    technique->SaveStates();
    effect->UpdateStates();
    technique->GetPass(0)->Apply();
    renderer->Draw(4);
    technique->RestoreStates();

    const std::vector<std::uint8_t> pixels = ReadAll();
    EXPECT_EQ(PixelAt(pixels, 16, 48), (Rgb{255, 0, 0}));
    EXPECT_EQ(PixelAt(pixels, 48, 48), (Rgb{0, 255, 0}));
    EXPECT_EQ(PixelAt(pixels, 16, 16), (Rgb{0, 0, 255}));
    EXPECT_EQ(PixelAt(pixels, 48, 16), (Rgb{255, 255, 255}));

    // The technique put back what it found: texturing off, depth test as
    // the renderer's copy says.
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    Renderer::TextureUnit0State unit;
    EXPECT_FALSE(renderer->GetTextureUnit0(unit).enabled);
    renderer->SetTexCoordArray(0, nullptr);
}

TEST_F(OGLRendererDisplayTest, EmptyCountsRangesAndPrimitivesDrawNothing)
{
    const std::uint16_t indices[8] = {0, 0, 0, 0, 0, 1, 2, 3};
    const std::pair<const char*, std::function<void(OGLRenderer&)>> empty[] = {
        {"Draw(0)", [](OGLRenderer& r) { r.Draw(0); }},
        {"Draw(-4)", [](OGLRenderer& r) { r.Draw(-4); }},
        {"DrawRange(5, 4)", [](OGLRenderer& r) { r.DrawRange(5, 4); }},
        {"DrawRange(4294967295, 0)", [](OGLRenderer& r) { r.DrawRange(0xFFFFFFFFu, 0); }},
        {"no primitive",
         [](OGLRenderer& r)
         {
             r.SetPrimitiveType(Renderer::PrimitiveNone);
             r.Draw(4);
             r.DrawRange(0, 3);
         }},
        {"unknown primitive",
         [](OGLRenderer& r)
         {
             r.SetPrimitiveType(9);
             r.Draw(4);
         }},
        {"DrawPrimitives of no primitive", [](OGLRenderer& r) { r.DrawPrimitives(3, 0, 2); }},
        {"DrawPrimitives past the codes", [](OGLRenderer& r) { r.DrawPrimitives(7, 0, 2); }},
        {"DrawIndexedPrimitives without an index buffer",
         [](OGLRenderer& r) { r.DrawIndexedPrimitives(Renderer::PrimitiveTriangleFan, 0, 2); }},
        {"no vertex array",
         [](OGLRenderer& r)
         {
             r.SetVertexArray(nullptr);
             r.Draw(4);
         }},
        {"indices 0 to 3 name one point",
         [&indices](OGLRenderer& r)
         {
             r.SetIndexArray16(indices);
             r.DrawRange(0, 3);
             r.SetIndexArray16(nullptr);
         }},
    };
    for (const auto& [what, draw] : empty)
    {
        ClearBlack();
        SetWhiteQuad();
        draw(*renderer);
        EXPECT_TRUE(AllBlack(ReadAll())) << what;
    }

    const std::pair<const char*, std::function<void(OGLRenderer&)>> drawn[] = {
        {"Draw(4)", [](OGLRenderer& r) { r.Draw(4); }},
        {"DrawRange(0, 3)", [](OGLRenderer& r) { r.DrawRange(0, 3); }},
        {"DrawPrimitives of two fan triangles", [](OGLRenderer& r) { r.DrawPrimitives(6, 0, 2); }},
        // The range starts at the fifth index: the 16-bit array is offset.
        {"DrawRange(4, 7) through indices",
         [&indices](OGLRenderer& r)
         {
             r.SetIndexArray16(indices);
             r.DrawRange(4, 7);
             r.SetIndexArray16(nullptr);
         }},
    };
    for (const auto& [what, draw] : drawn)
    {
        ClearBlack();
        SetWhiteQuad();
        draw(*renderer);
        EXPECT_EQ(PixelAt(ReadAll(), 32, 32), (Rgb{255, 255, 255})) << what;
    }
}

TEST_F(OGLRendererDisplayTest, TextureUnitStateWithoutATextureLeavesOpenGLAlone)
{
    renderer->SetTexture(0, nullptr);
    EXPECT_EQ(GetInteger(GL_TEXTURE_BINDING_1D), 0);
    EXPECT_EQ(GetInteger(GL_TEXTURE_BINDING_2D), 0);
    const GLint activeUnit = GetInteger(GL_ACTIVE_TEXTURE);
    GLint environment = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &environment);

    Renderer::TextureUnit0State state;
    state.enabled = true;
    state.applyMode = Renderer::TextureReplace;
    state.filter = Renderer::FilterLinear;
    state.coordinateGeneration = true;
    renderer->SetTextureUnit0(state);
    Renderer::TextureUnit3State other;
    other.enabled = true;
    renderer->SetTextureUnit3(other);

    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_EQ(GetInteger(GL_ACTIVE_TEXTURE), activeUnit);
    GLint after = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &after);
    EXPECT_EQ(after, environment);
    // The state is stored all the same.
    Renderer::TextureUnit0State stored;
    renderer->GetTextureUnit0(stored);
    EXPECT_TRUE(stored.enabled);
    EXPECT_EQ(stored.applyMode, Renderer::TextureReplace);
    EXPECT_TRUE(stored.coordinateGeneration);

    // With a texture bound the same state reaches OpenGL.
    RendererTest::TempDirectory directory;
    const std::string path = directory.File("unit.png");
    ASSERT_TRUE(RendererTest::WritePng(path, 1, 1, {{1, 2, 3, 255}}));
    const Core::RefPtr<Renderer::TextureOGL> texture = Renderer::LoadTexture(path, false);
    renderer->SetTexture(0, texture);
    EXPECT_EQ(GetInteger(GL_TEXTURE_BINDING_2D), static_cast<GLint>(texture->GetGLName()));
    renderer->SetTextureUnit0(state);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_Q));
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &after);
    EXPECT_EQ(after, GL_REPLACE);
    GLint minification = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minification);
    EXPECT_EQ(minification, GL_LINEAR);

    // None unbinds both targets; units past 31 are ignored.
    renderer->SetTexture(0, nullptr);
    EXPECT_EQ(GetInteger(GL_TEXTURE_BINDING_2D), 0);
    EXPECT_EQ(GetInteger(GL_TEXTURE_BINDING_1D), 0);
    renderer->SetTexture(32, texture);
    renderer->SetTexture(-1, texture);
    EXPECT_FALSE(renderer->GetTexture(32));
    EXPECT_EQ(texture->GetReferenceCount(), 1u);
}

TEST_F(OGLRendererDisplayTest, StateSettersReachOpenGLAndGettersAnswerTheCopy)
{
    Renderer::DepthBufferState depth;
    depth.function = Renderer::CompareGreater;
    depth.writeEnabled = false;
    renderer->SetDepthBuffer(depth);
    EXPECT_EQ(GetInteger(GL_DEPTH_FUNC), GL_GREATER);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(GetInteger(GL_DEPTH_WRITEMASK), GL_FALSE);

    Renderer::StencilBufferState stencil;
    stencil.function = Renderer::CompareNotEqual;
    stencil.failOperation = Renderer::StencilZero;
    stencil.depthFailOperation = Renderer::StencilReplace;
    stencil.passOperation = Renderer::StencilInvert;
    stencil.reference = 3;
    stencil.compareMask = 0x0F;
    stencil.writeMask = 0xF0;
    stencil.enabled = true;
    renderer->SetStencilBuffer(stencil);
    EXPECT_TRUE(glIsEnabled(GL_STENCIL_TEST));
    EXPECT_EQ(GetInteger(GL_STENCIL_FUNC), GL_NOTEQUAL);
    EXPECT_EQ(GetInteger(GL_STENCIL_FAIL), GL_ZERO);
    EXPECT_EQ(GetInteger(GL_STENCIL_PASS_DEPTH_FAIL), GL_REPLACE);
    EXPECT_EQ(GetInteger(GL_STENCIL_PASS_DEPTH_PASS), GL_INVERT);
    EXPECT_EQ(GetInteger(GL_STENCIL_REF), 3);
    EXPECT_EQ(GetInteger(GL_STENCIL_VALUE_MASK), 0x0F);
    EXPECT_EQ(GetInteger(GL_STENCIL_WRITEMASK), 0xF0);

    Renderer::AlphaBlendingState blending;
    blending.source = Renderer::BlendSourceColor;
    blending.destination = Renderer::BlendOneMinusDestinationAlpha;
    blending.enabled = true;
    renderer->SetAlphaBlending(blending);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(GetInteger(GL_BLEND_SRC), GL_SRC_COLOR);
    EXPECT_EQ(GetInteger(GL_BLEND_DST), GL_ONE_MINUS_DST_ALPHA);

    Renderer::AlphaTestingState alpha;
    alpha.function = 99;
    alpha.reference = 0.5f;
    renderer->SetAlphaTesting(alpha);
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
    EXPECT_EQ(GetInteger(GL_ALPHA_TEST_FUNC), GL_NEVER);

    Renderer::CullingState culling;
    culling.face = Renderer::CullFront;
    renderer->SetCulling(culling);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_EQ(GetInteger(GL_CULL_FACE_MODE), GL_FRONT);

    Renderer::FogState fog;
    fog.mode = 7;
    fog.enabled = true;
    renderer->SetFog(fog);
    EXPECT_TRUE(glIsEnabled(GL_FOG));
    EXPECT_EQ(GetInteger(GL_FOG_MODE), GL_EXP2);

    Renderer::FillingState filling;
    filling.mode = Renderer::FillLines;
    renderer->SetFilling(filling);
    GLint polygonMode[2] = {0, 0};
    glGetIntegerv(GL_POLYGON_MODE, polygonMode);
    EXPECT_EQ(polygonMode[0], GL_LINE);
    EXPECT_EQ(polygonMode[1], GL_LINE);

    Renderer::ShadingState shading;
    shading.model = Renderer::ShadingFlat;
    renderer->SetShading(shading);
    EXPECT_EQ(GetInteger(GL_SHADE_MODEL), GL_FLAT);

    Renderer::ScissorState scissor;
    scissor.x = 1;
    scissor.y = 2;
    scissor.width = 3;
    scissor.height = 4;
    scissor.enabled = true;
    renderer->SetScissor(scissor);
    GLint box[4] = {};
    glGetIntegerv(GL_SCISSOR_BOX, box);
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
    EXPECT_EQ(box[2], 3);
    EXPECT_EQ(box[3], 4);

    renderer->SetLineStipple(true);
    renderer->SetLineStipplePattern(0x0F0F);
    renderer->SetLineStippleFactor(3);
    EXPECT_TRUE(glIsEnabled(GL_LINE_STIPPLE));
    EXPECT_EQ(GetInteger(GL_LINE_STIPPLE_PATTERN), 0x0F0F);
    EXPECT_EQ(GetInteger(GL_LINE_STIPPLE_REPEAT), 3);

    // Getters answer the stored copies, which the captures rely on.
    Renderer::StencilBufferState storedStencil;
    renderer->GetStencilBuffer(storedStencil);
    EXPECT_EQ(storedStencil.writeMask, 0xF0u);
    EXPECT_EQ(storedStencil.passOperation, Renderer::StencilInvert);
    Renderer::AlphaTestingState storedAlpha;
    EXPECT_EQ(renderer->GetAlphaTesting(storedAlpha).function, 99u);
    EXPECT_EQ(renderer->GetLineStipplePattern(), 0x0F0F);
    EXPECT_TRUE(renderer->IsLineStipple());
}

TEST_F(OGLRendererDisplayTest, ModelViewIsViewTimesWorldAndProjectionRoundTrips)
{
    const Math::Matrix4 view = Math::Matrix4::Translation(0.25f, 0.0f, 0.0f);
    const Math::Matrix4 world = Math::Matrix4::Scale(0.5f, 0.5f, 1.0f);
    renderer->SetWorldMatrix(world);
    renderer->SetViewMatrix(view);
    const Math::Matrix4 expected = view * world;
    GLfloat loaded[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, loaded);
    for (int i = 0; i < 16; ++i)
    {
        EXPECT_FLOAT_EQ(loaded[i], expected.m[i]) << i;
    }

    // (1, 0, 0) -> scaled 0.5, moved 0.25 -> NDC 0.75 -> window 32 + 0.75 * 32.
    Math::Vector3 windowPoint;
    ASSERT_TRUE(renderer->Project(windowPoint, Math::Vector3(1.0f, 0.0f, 0.0f)));
    EXPECT_FLOAT_EQ(windowPoint.x, 56.0f);
    EXPECT_FLOAT_EQ(windowPoint.y, 32.0f);
    EXPECT_FLOAT_EQ(windowPoint.z, 0.5f);
    Math::Vector3 object;
    ASSERT_TRUE(renderer->Unproject(object, windowPoint));
    EXPECT_NEAR(object.x, 1.0f, 1e-5f);
    EXPECT_NEAR(object.y, 0.0f, 1e-5f);

    // A texture matrix for a unit past 7 goes nowhere.
    renderer->SetTextureMatrix(8, view);
    EXPECT_EQ(renderer->GetTextureMatrix(8).m[12], 0.0f);
    renderer->SetTextureMatrix(1, view);
    EXPECT_EQ(renderer->GetTextureMatrix(1).m[12], 0.25f);
}

TEST_F(OGLRendererDisplayTest, ReadPixelsFillsExactlyTheBufferForAnyWidth)
{
    // 61 x 3 bytes a row is no multiple of 4: padded rows would overrun.
    MakeRenderer(61, 47);
    renderer->ClearColorBuffer(Math::Vector4(1.0f, 0.0f, 1.0f, 1.0f));
    const std::size_t size = 61 * 47 * 3;
    std::vector<std::uint8_t> buffer(size + 64, 0xAB);
    renderer->ReadPixels(buffer.data());
    for (std::size_t i = 0; i < size; i += 3)
    {
        ASSERT_EQ((Rgb{buffer[i], buffer[i + 1], buffer[i + 2]}), (Rgb{255, 0, 255})) << i;
    }
    for (std::size_t i = size; i < buffer.size(); ++i)
    {
        ASSERT_EQ(buffer[i], 0xAB) << "written past the image at " << i;
    }
    EXPECT_EQ(GetInteger(GL_PACK_ALIGNMENT), 4);
    renderer->ReadPixels(nullptr);
}

TEST_F(OGLRendererDisplayTest, SurfaceCopiesAreClippedAndMirrored)
{
    // 4 x 2, every pixel its own colour: (x * 60, y * 200, 7).
    const Core::RefPtr<Renderer::Surface> surface(new Renderer::Surface(4, 2));
    for (std::uint32_t y = 0; y < 2; ++y)
    {
        for (std::uint32_t x = 0; x < 4; ++x)
        {
            std::uint8_t* pixel = surface->GetPixels() + (y * 4 + x) * 4;
            pixel[0] = static_cast<std::uint8_t>(x * 60);
            pixel[1] = static_cast<std::uint8_t>(y * 200);
            pixel[2] = 7;
            pixel[3] = 255;
        }
    }
    const auto colour = [](std::uint32_t x, std::uint32_t y) {
        return Rgb{static_cast<std::uint8_t>(x * 60), static_cast<std::uint8_t>(y * 200), 7};
    };

    renderer->SetProjectionMatrix(Math::Matrix4::Orthographic2D(0.0f, 64.0f, 0.0f, 64.0f));
    struct Case
    {
        const char* what;
        std::int32_t x;
        std::int32_t y;
        bool mirrorX;
        bool mirrorY;
        // Screen pixel -> surface pixel.
        std::vector<
            std::pair<std::pair<std::uint32_t, std::uint32_t>, std::pair<std::uint32_t, std::uint32_t>>>
            expected;
        std::vector<std::pair<std::uint32_t, std::uint32_t>> untouched;
    };
    const Case cases[] = {
        {"plain", 10, 20, false, false, {{{10, 20}, {0, 0}}, {{13, 21}, {3, 1}}}, {{14, 20}, {10, 22}}},
        {"mirrored in x", 10, 20, true, false, {{{10, 20}, {3, 0}}, {{13, 21}, {0, 1}}}, {{9, 20}, {14, 20}}},
        {"mirrored in y",
         10,
         20,
         false,
         true,
         {{{10, 20}, {0, 1}}, {{12, 21}, {2, 0}}},
         {{10, 19}, {10, 22}}},
        {"cut at the left edge", -2, 20, false, false, {{{0, 20}, {2, 0}}, {{1, 21}, {3, 1}}}, {{2, 20}}},
        {"mirrored, cut at the left edge",
         -2,
         20,
         true,
         false,
         {{{0, 20}, {1, 0}}, {{1, 20}, {0, 0}}},
         {{2, 20}}},
        {"mirrored, cut at the right edge",
         62,
         20,
         true,
         false,
         {{{62, 20}, {3, 0}}, {{63, 21}, {2, 1}}},
         {}},
        {"cut at the top", 10, 63, false, false, {{{10, 63}, {0, 0}}}, {{10, 62}}},
    };
    for (const Case& c : cases)
    {
        ClearBlack();
        Renderer::DrawSurfaceCommand command(surface, c.x, c.y, 0, 0, 4, 2, c.mirrorX, c.mirrorY);
        command.Execute(*renderer);
        const std::vector<std::uint8_t> pixels = ReadAll();
        for (const auto& [screen, source] : c.expected)
        {
            EXPECT_EQ(PixelAt(pixels, screen.first, screen.second), colour(source.first, source.second))
                << c.what << " at " << screen.first << ", " << screen.second;
        }
        for (const auto& [x, y] : c.untouched)
        {
            EXPECT_EQ(PixelAt(pixels, x, y), (Rgb{0, 0, 0})) << c.what << " at " << x << ", " << y;
        }
    }
    // Entirely outside the viewport, or a source rectangle off the surface.
    for (const auto& [x, sourceX] : {std::pair{64, 0}, std::pair{-4, 0}, std::pair{10, 4}})
    {
        ClearBlack();
        Renderer::DrawSurfaceCommand(surface, x, 10, sourceX, 0, 4, 2, false, false).Execute(*renderer);
        EXPECT_TRUE(AllBlack(ReadAll())) << x << ", " << sourceX;
    }
    EXPECT_EQ(GetInteger(GL_UNPACK_ROW_LENGTH), 0);
    EXPECT_EQ(GetInteger(GL_UNPACK_SKIP_PIXELS), 0);
}

TEST_F(OGLRendererDisplayTest, SwapRunsQueuedSurfacesAndLeavesMatricesAndDepthAsTheyWere)
{
    Renderer::DepthBufferState depth;
    renderer->SetDepthBuffer(depth);
    renderer->SetProjectionMatrix(Math::Matrix4::Scale(0.5f, 0.5f, 0.5f));
    const auto check = [this](const char* when)
    {
        EXPECT_EQ(GetInteger(GL_MODELVIEW_STACK_DEPTH), 1) << when;
        EXPECT_EQ(GetInteger(GL_PROJECTION_STACK_DEPTH), 1) << when;
        EXPECT_EQ(GetInteger(GL_MATRIX_MODE), GL_MODELVIEW) << when;
        GLfloat projection[16];
        glGetFloatv(GL_PROJECTION_MATRIX, projection);
        EXPECT_EQ(projection[0], 0.5f) << when;
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST)) << when;
        EXPECT_EQ(GetInteger(GL_DEPTH_WRITEMASK), GL_TRUE) << when;
    };
    renderer->SwapBuffers();
    check("empty queue");
    renderer->DrawSurface(Core::RefPtr<Renderer::Surface>(new Renderer::Surface(2, 2)), 0, 0, 0, 0, 2, 2,
                          false, false);
    renderer->SwapBuffers();
    check("one surface");
}

#if defined(__GLIBC__) && !defined(ENGINE_SANITIZE)
TEST_F(OGLRendererDisplayTest, MemoryFreedAtTheHeapTopStaysForTheNextFrame)
{
    // What a software rasteriser's scene does every frame: 32 MB in 64 KB
    // blocks (below the mmap threshold, so from the heap), freed once drawn.
    std::vector<void*> blocks;
    for (int i = 0; i < 512; ++i)
    {
        blocks.push_back(std::malloc(64 * 1024));
        ASSERT_NE(blocks.back(), nullptr);
    }
    const std::size_t heap = mallinfo2().arena;
    for (void* block : blocks)
    {
        std::free(block);
    }
    // Handed back to the kernel, it would be faulted in again, page by page.
    EXPECT_GE(mallinfo2().arena, heap);
}
#endif

TEST_F(OGLRendererDisplayTest, ToggleFullScreenTwiceRestoresTheWindow)
{
    std::int32_t before[4] = {};
    window->GetClientRect(before[0], before[1], before[2], before[3]);

    renderer->ToggleFullScreen();
    PAL::ProcessMessages();
    EXPECT_TRUE(renderer->GetDisplayDescription().fullscreen);
    EXPECT_TRUE(window->IsFullScreen());
    EXPECT_TRUE(renderer->GetAdapter().IsDisplayModeChanged());

    renderer->ToggleFullScreen();
    PAL::ProcessMessages();
    EXPECT_FALSE(renderer->GetDisplayDescription().fullscreen);
    EXPECT_FALSE(window->IsFullScreen());
    EXPECT_FALSE(renderer->GetAdapter().IsDisplayModeChanged());
    EXPECT_TRUE(window->HasBorder());

    std::int32_t after[4] = {};
    window->GetClientRect(after[0], after[1], after[2], after[3]);
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_EQ(after[i], before[i]) << i;
    }
    // Still drawing after the round trip.
    renderer->ClearColorBuffer(Math::Vector4(0.0f, 1.0f, 0.0f, 1.0f));
    EXPECT_EQ(PixelAt(ReadAll(), 5, 5), (Rgb{0, 255, 0}));
}

} // namespace

#include "RendererTestSupport.h"

#include "renderer/Renderer_Buffers.h"
#include "renderer/Renderer_Light.h"
#include "renderer/Renderer_StateText.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace Renderer;

namespace
{

TEST(RecordingRenderer, LogsEveryCallWithItsArguments)
{
    const auto renderer = RendererTest::MakeRenderer();
    float positions[6] = {};
    AlphaBlendingState blending;
    blending.enabled = true;
    renderer->SetAlphaBlending(blending);
    renderer->SetVertexArray(positions);
    renderer->SetPrimitiveType(PrimitiveLines);
    renderer->DrawRange(0, 1);
    renderer->SetVertexArray(nullptr);
    AlphaBlendingState captured;
    renderer->GetAlphaBlending(captured);

    EXPECT_EQ(renderer->GetCallStrings(),
              (std::vector<std::string>{"SetAlphaBlending(6, 7, true)",
                                        "SetVertexArray(" + ToText(positions) + ")", "SetPrimitiveType(1)",
                                        "DrawRange(0, 1)", "SetVertexArray(none)", "GetAlphaBlending()"}));
    EXPECT_EQ(renderer->CountCalls("SetVertexArray"), 2u);
    EXPECT_EQ(renderer->GetCalls("DrawRange").at(0).arguments, "0, 1");
    EXPECT_TRUE(captured.enabled);

    ASSERT_EQ(renderer->GetDraws().size(), 1u);
    const RecordedDraw& draw = renderer->GetDraws()[0];
    EXPECT_EQ(draw.operation, "DrawRange");
    EXPECT_EQ(draw.primitiveType, PrimitiveLines);
    EXPECT_EQ(draw.count, 2u);
    EXPECT_EQ(draw.vertexArray, positions);

    renderer->ClearLog();
    EXPECT_TRUE(renderer->GetCalls().empty());
    EXPECT_TRUE(renderer->GetDraws().empty());
    EXPECT_TRUE(renderer->GetAlphaBlending(captured).enabled);
}

struct DrawCase
{
    const char* name;
    std::int32_t primitiveType;
    std::function<void(IRenderer&)> draw;
    // Elements drawn; 0 = nothing reaches the screen.
    std::uint64_t elements;
    std::uint64_t first = 0;
};

TEST(RecordingRenderer, DrawsFollowTheCountingRules)
{
    const std::vector<DrawCase> cases = {
        {"Draw", PrimitiveTriangles, [](IRenderer& r) { r.Draw(6); }, 6},
        {"Draw zero", PrimitiveTriangles, [](IRenderer& r) { r.Draw(0); }, 0},
        {"Draw negative", PrimitiveTriangles, [](IRenderer& r) { r.Draw(-3); }, 0},
        {"DrawRange", PrimitiveTriangles, [](IRenderer& r) { r.DrawRange(3, 8); }, 6, 3},
        {"DrawRange single", PrimitivePoints, [](IRenderer& r) { r.DrawRange(4, 4); }, 1, 4},
        {"DrawRange reversed", PrimitiveTriangles, [](IRenderer& r) { r.DrawRange(5, 4); }, 0},
        {"DrawRange far reversed", PrimitiveTriangles, [](IRenderer& r) { r.DrawRange(9, 0); }, 0},
        {"no primitive Draw", PrimitiveNone, [](IRenderer& r) { r.Draw(6); }, 0},
        {"no primitive DrawRange", PrimitiveNone, [](IRenderer& r) { r.DrawRange(0, 5); }, 0},
        {"unknown primitive", 9, [](IRenderer& r) { r.Draw(6); }, 0},
        {"points", PrimitiveTriangles, [](IRenderer& r) { r.DrawPrimitives(PrimitivePoints, 2, 4); }, 4, 2},
        {"lines", PrimitiveTriangles, [](IRenderer& r) { r.DrawPrimitives(PrimitiveLines, 0, 4); }, 8},
        {"line strip", PrimitiveTriangles, [](IRenderer& r) { r.DrawPrimitives(PrimitiveLineStrip, 0, 4); },
         5},
        {"triangles", PrimitiveTriangles, [](IRenderer& r) { r.DrawPrimitives(PrimitiveTriangles, 0, 4); },
         12},
        {"strip", PrimitiveTriangles, [](IRenderer& r) { r.DrawPrimitives(PrimitiveTriangleStrip, 0, 4); },
         6},
        {"fan", PrimitiveTriangles, [](IRenderer& r) { r.DrawPrimitives(PrimitiveTriangleFan, 0, 4); }, 6},
        {"no primitives", PrimitiveTriangles,
         [](IRenderer& r) { r.DrawPrimitives(PrimitiveTriangles, 0, 0); }, 0},
        {"no primitive type", PrimitiveTriangles, [](IRenderer& r) { r.DrawPrimitives(PrimitiveNone, 0, 4); },
         0},
        {"indexed without buffer", PrimitiveTriangles,
         [](IRenderer& r) { r.DrawIndexedPrimitives(PrimitiveTriangles, 0, 2); }, 0},
    };
    float positions[64] = {};
    for (const DrawCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        const auto renderer = RendererTest::MakeRenderer();
        renderer->SetVertexArray(positions);
        renderer->SetPrimitiveType(c.primitiveType);
        c.draw(*renderer);
        if (c.elements == 0)
        {
            EXPECT_TRUE(renderer->GetDraws().empty());
            continue;
        }
        ASSERT_EQ(renderer->GetDraws().size(), 1u);
        EXPECT_EQ(renderer->GetDraws()[0].count, c.elements);
        EXPECT_EQ(renderer->GetDraws()[0].first, c.first);
    }

    const auto renderer = RendererTest::MakeRenderer();
    renderer->Draw(6);
    renderer->DrawRange(0, 5);
    EXPECT_TRUE(renderer->GetDraws().empty()) << "no vertex array";
}

TEST(RecordingRenderer, TexturesAndLightsAreCountedPerSlot)
{
    const auto renderer = RendererTest::MakeRenderer();
    const Core::RefPtr<RendererTest::FakeTexture> texture(new RendererTest::FakeTexture("a.png"));
    EXPECT_EQ(renderer->GetTexture(0), nullptr);
    EXPECT_EQ(renderer->GetLight(0), nullptr);

    renderer->SetTexture(3, texture);
    EXPECT_EQ(texture->GetReferenceCount(), 2u);
    renderer->SetTexture(3, texture);
    EXPECT_EQ(texture->GetReferenceCount(), 2u);
    EXPECT_EQ(renderer->GetTexture(3).Get(), texture.Get());
    renderer->SetTexture(32, texture);
    renderer->SetTexture(-1, texture);
    EXPECT_EQ(renderer->GetTexture(32), nullptr);
    EXPECT_EQ(texture->GetReferenceCount(), 2u);
    renderer->SetTexture(3, nullptr);
    EXPECT_EQ(texture->GetReferenceCount(), 1u);

    const Core::RefPtr<Light> light(new SpotLight());
    renderer->SetLight(7, light);
    renderer->SetLight(8, light);
    EXPECT_EQ(renderer->GetLight(7).Get(), light.Get());
    EXPECT_EQ(renderer->GetLight(8), nullptr);
    EXPECT_EQ(light->GetReferenceCount(), 2u);
}

class FakeVertexBuffer : public IVertexBuffer
{
public:
    explicit FakeVertexBuffer(std::vector<std::string>& log) : log_(log) {}
    void Bind() override { log_.push_back("bind vertices"); }
    void Unbind() override { log_.push_back("unbind vertices"); }

private:
    std::vector<std::string>& log_;
};

class FakeIndexBuffer : public IIndexBuffer
{
public:
    explicit FakeIndexBuffer(std::vector<std::string>& log) : log_(log) {}
    void Bind() override { log_.push_back("bind indices"); }
    void Unbind() override { log_.push_back("unbind indices"); }
    bool Is32Bit() const override { return true; }
    const void* GetIndexData() const override { return indices_; }

private:
    std::vector<std::string>& log_;
    std::uint32_t indices_[3] = {0, 1, 2};
};

TEST(RecordingRenderer, BuffersAreBoundWhenCurrentAndUnboundWhenReplaced)
{
    const auto renderer = RendererTest::MakeRenderer();
    std::vector<std::string> log;
    const Core::RefPtr<IVertexBuffer> a(new FakeVertexBuffer(log));
    const Core::RefPtr<IVertexBuffer> b(new FakeVertexBuffer(log));
    const Core::RefPtr<IIndexBuffer> indices(new FakeIndexBuffer(log));
    renderer->SetVertexBuffer(0, a);
    renderer->SetVertexBuffer(0, b);
    renderer->SetVertexBuffer(16, a);
    renderer->SetIndexBuffer(indices);
    renderer->DrawIndexedPrimitives(PrimitiveTriangles, 0, 1);
    renderer->SetIndexBuffer(nullptr);
    renderer->SetVertexBuffer(0, nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"bind vertices", "unbind vertices", "bind vertices",
                                             "bind indices", "unbind indices", "unbind vertices"}));
    ASSERT_EQ(renderer->GetDraws().size(), 1u);
    EXPECT_EQ(renderer->GetDraws()[0].count, 3u);
    EXPECT_EQ(a->GetReferenceCount(), 1u);
}

TEST(RecordingRenderer, ModelViewIsViewTimesWorldAndProjectionRoundTrips)
{
    const auto renderer = RendererTest::MakeRenderer();
    const Math::Matrix4 world = Math::Matrix4::Translation(10, 0, 0);
    const Math::Matrix4 view = Math::Matrix4::Scale(2, 2, 2);
    renderer->SetWorldMatrix(world);
    renderer->SetViewMatrix(view);
    EXPECT_EQ(ToText(renderer->GetModelViewMatrix()), ToText(view * world));

    // Identity everywhere: the origin lands on the viewport's centre, depth 0.5.
    renderer->SetWorldMatrix(Math::Matrix4());
    renderer->SetViewMatrix(Math::Matrix4());
    renderer->SetViewport(ViewportRecord{10, 20, 200, 100, 0, 1});
    Math::Vector3 window;
    ASSERT_TRUE(renderer->Project(window, Math::Vector3(0, 0, 0)));
    EXPECT_FLOAT_EQ(window.x, 110.0f);
    EXPECT_FLOAT_EQ(window.y, 70.0f);
    EXPECT_FLOAT_EQ(window.z, 0.5f);

    renderer->SetProjectionMatrix(Math::Matrix4::Perspective(45, 2, 1, 100));
    renderer->SetViewMatrix(Math::Matrix4::Translation(0, 0, -20));
    const Math::Vector3 point(3, -2, 1);
    ASSERT_TRUE(renderer->Project(window, point));
    Math::Vector3 back;
    ASSERT_TRUE(renderer->Unproject(back, window));
    EXPECT_NEAR(back.x, point.x, 1e-3);
    EXPECT_NEAR(back.y, point.y, 1e-3);
    EXPECT_NEAR(back.z, point.z, 1e-3);

    // A point in the eye's plane has no projection.
    EXPECT_FALSE(renderer->Project(window, Math::Vector3(0, 0, 20)));
}

TEST(RecordingRenderer, DescriptionViewportAndScreenSwitches)
{
    DisplayDescription description = RecordingRenderer::DefaultDescription();
    description.width = 3;
    description.height = 2;
    const Core::RefPtr<RecordingRenderer> renderer(new RecordingRenderer(description));
    EXPECT_EQ(ToText(renderer->GetDisplayDescription()), "3, 2, 85, 0, 32, 24, 8, none, false, true");
    EXPECT_EQ(ToText(renderer->GetViewport()), "0, 0, 3, 2, 0, 1");

    renderer->ToggleFullScreen();
    EXPECT_TRUE(renderer->GetDisplayDescription().fullscreen);
    renderer->ToggleFullScreen();
    EXPECT_FALSE(renderer->GetDisplayDescription().fullscreen);
    renderer->SetVSync(false);
    EXPECT_FALSE(renderer->IsVSync());
    const RendererVersion version = renderer->GetVersion();
    EXPECT_EQ(version.first, 0u);
    EXPECT_EQ(version.second, 1u);
    EXPECT_EQ(version.third, 0u);

    renderer->ClearBuffers(Math::Vector4(1, 0.5f, 0, 1), 1, 0);
    std::vector<std::uint8_t> pixels(3 * 2 * 3 + 1, 7);
    renderer->ReadPixels(pixels.data());
    EXPECT_EQ(pixels[0], 255);
    EXPECT_EQ(pixels[1], 128);
    EXPECT_EQ(pixels[17], 0);
    EXPECT_EQ(pixels[18], 7) << "nothing past width x height x 3";
}

TEST(RecordingRenderer, IsTheProcessWideRendererWhileItLives)
{
    {
        const auto renderer = RendererTest::MakeRenderer();
        EXPECT_EQ(IRenderer::GetInstance().Get(), renderer.Get());
        EXPECT_EQ(renderer->GetReferenceCount(), 1u);
    }
    EXPECT_EQ(IRenderer::GetInstance(), nullptr);
}

} // namespace

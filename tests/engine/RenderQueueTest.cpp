#include "SceneTestSupport.h"

#include "engine/Engine_RenderQueue.h"
#include "engine/Engine_SceneGraph.h"
#include "renderer/Renderer_RenderStates.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using Core::RefPtr;
using Engine::RenderQueue;
using Engine::RenderQueueItem;
using SceneTest::MakeTexture;

namespace
{

RefPtr<Engine::Mesh> MakeMesh(bool rangeEnabled)
{
    RefPtr<Engine::Mesh> mesh(new Engine::Mesh());
    for (int i = 0; i < 3; ++i)
    {
        mesh->AddPosition(Math::Vector3(static_cast<float>(i), 0.0f, 0.0f));
    }
    mesh->AddDrawRange(Engine::DrawRange{0, 2, -1, rangeEnabled});
    return mesh;
}

RefPtr<Renderer::Effect> MakeEffect(bool blended)
{
    RefPtr<Renderer::Effect> effect = Renderer::CreateTextureEffect();
    effect->blended = blended;
    return effect;
}

RenderQueueItem MeshItem(const RefPtr<Renderer::Effect>& effect, const RefPtr<Engine::Mesh>& mesh)
{
    RenderQueueItem item;
    item.effect = effect;
    item.mesh = mesh;
    item.drawRangeIndex = 0;
    return item;
}

RenderQueueItem SpriteItem(float z)
{
    RenderQueueItem item;
    item.sprite = true;
    item.texture = MakeTexture("sprite");
    item.worldMatrix = Math::Matrix4::Translation(0.0f, 0.0f, z);
    item.drawRangeIndex = 0;
    return item;
}

const Math::Vector3 g_line[2] = {{0, 0, 0}, {1, 1, 0}};

RenderQueueItem LineItem(std::uint32_t primitiveType)
{
    RenderQueueItem item;
    item.primitiveType = primitiveType;
    item.vertexArray = g_line;
    item.vertexCount = 2;
    return item;
}

class RenderQueueTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        renderer = SceneTest::MakeRenderer();
        scene = RefPtr<Engine::SceneGraph>(new Engine::SceneGraph(renderer.Get()));
        scene->SetViewportCount(1);
        scene->SetCurrentViewportIndex(0);
    }

    RenderQueue& Queue() { return scene->GetRenderQueue(); }

    RefPtr<Renderer::RecordingRenderer> renderer;
    RefPtr<Engine::SceneGraph> scene;
};

// Where each kind of item lands, with what effect and mesh.
TEST_F(RenderQueueTest, SubmitRoutesEachItemToItsList)
{
    enum List
    {
        Opaque,
        Blended,
        Overlay,
        Dropped
    };
    enum Effect
    {
        Own,
        Sprite,
        Particle
    };
    const RefPtr<Renderer::Effect> plain = MakeEffect(false);
    const RefPtr<Renderer::Effect> blending = MakeEffect(true);
    const RefPtr<Engine::Mesh> disabled = MakeMesh(false);
    const RefPtr<Engine::Mesh> enabled = MakeMesh(true);
    struct Case
    {
        const char* name;
        RenderQueueItem item;
        bool lastViewport;
        List list;
        Effect effect;
    };
    std::vector<Case> cases;
    const auto with = [](RenderQueueItem item, auto change)
    {
        change(item);
        return item;
    };
    cases.push_back(
        {"sprite", with(MeshItem(plain, disabled), [](auto& i) { i.sprite = true; }), true, Blended, Sprite});
    cases.push_back({"overlay sprite in the last viewport",
                     with(SpriteItem(0), [](auto& i) { i.overlay = true; }), true, Overlay, Sprite});
    cases.push_back({"overlay sprite in another viewport",
                     with(SpriteItem(0), [](auto& i) { i.overlay = true; }), false, Dropped, Sprite});
    cases.push_back({"overlay mesh item", with(MeshItem(plain, disabled), [](auto& i) { i.overlay = true; }),
                     true, Overlay, Own});
    cases.push_back({"overlay particle item",
                     with(MeshItem(nullptr, enabled),
                          [](auto& i)
                          {
                              i.overlay = true;
                              i.particle = true;
                          }),
                     true, Overlay, Particle});
    cases.push_back({"overlay item in another viewport",
                     with(MeshItem(plain, disabled), [](auto& i) { i.overlay = true; }), false, Dropped,
                     Own});
    cases.push_back({"disabled range, plain effect", MeshItem(plain, disabled), true, Opaque, Own});
    cases.push_back({"enabled range", MeshItem(plain, enabled), true, Blended, Own});
    cases.push_back({"blended effect", MeshItem(blending, disabled), true, Blended, Own});
    cases.push_back({"particle item", with(MeshItem(nullptr, enabled), [](auto& i) { i.particle = true; }),
                     true, Blended, Particle});
    // The effect it came with decides, not the particle effect it gets.
    cases.push_back({"particle item with a plain effect",
                     with(MeshItem(plain, disabled), [](auto& i) { i.particle = true; }), true, Opaque,
                     Particle});
    cases.push_back({"lines without a mesh", LineItem(Renderer::PrimitiveLines), true, Blended, Own});
    cases.push_back({"points without a mesh", LineItem(Renderer::PrimitivePoints), true, Blended, Own});
    cases.push_back({"triangles without a mesh", LineItem(Renderer::PrimitiveTriangles), true, Dropped, Own});

    for (Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        scene->SetCurrentViewportIndex(0);
        scene->SetViewportCount(c.lastViewport ? 1 : 2);
        const RefPtr<Renderer::Effect> ownEffect = c.item.effect;
        const RefPtr<Engine::Mesh> ownMesh = c.item.mesh;
        Queue().Submit(c.item);

        const std::vector<RenderQueueItem>* lists[3] = {&Queue().GetOpaqueItems(), &Queue().GetBlendedItems(),
                                                        &Queue().GetOverlayItems()};
        for (int list = 0; list < 3; ++list)
        {
            EXPECT_EQ(lists[list]->size(), list == c.list ? 1u : 0u) << "list " << list;
        }
        if (c.list != Dropped)
        {
            const RenderQueueItem& stored = lists[c.list]->front();
            const Renderer::Effect* expected = c.effect == Sprite     ? Queue().GetSpriteEffect().Get()
                                               : c.effect == Particle ? Queue().GetParticleEffect().Get()
                                                                      : ownEffect.Get();
            EXPECT_EQ(stored.effect.Get(), expected);
            EXPECT_EQ(stored.mesh.Get(), c.effect == Sprite ? Queue().GetUnitQuad().Get() : ownMesh.Get());
        }
        scene->SetViewportCount(1);
        scene->SetCurrentViewportIndex(0);
        Queue().Clear();
    }
}

TEST_F(RenderQueueTest, BlendedItemsAreDrawnBackToFront)
{
    for (float z : {0.0f, 2.0f, 1.0f})
    {
        RenderQueueItem item = SpriteItem(z);
        Queue().Submit(item);
    }
    Queue().Flush();
    const std::vector<Renderer::RecordedDraw>& draws = renderer->GetDraws();
    ASSERT_EQ(draws.size(), 3u);
    EXPECT_EQ(draws[0].world.m[14], 0.0f);
    EXPECT_EQ(draws[1].world.m[14], 1.0f);
    EXPECT_EQ(draws[2].world.m[14], 2.0f);
    // A sprite is the textured unit quad: six vertices, its texture on unit 0.
    EXPECT_EQ(draws[0].count, 6u);
    EXPECT_EQ(draws[0].vertexArray, Queue().GetUnitQuad()->GetPositions().data());
    ASSERT_TRUE(draws[0].texture0);
    EXPECT_EQ(draws[0].texture0->GetName(), "sprite");
    EXPECT_EQ(Queue().GetBlendedItems()[2].depth, 2.0f);
}

TEST_F(RenderQueueTest, OpaqueItemsAreGroupedByEffectAndMesh)
{
    const RefPtr<Renderer::Effect> first = MakeEffect(false);
    const RefPtr<Renderer::Effect> second = MakeEffect(false);
    const RefPtr<Engine::Mesh> a = MakeMesh(false);
    const RefPtr<Engine::Mesh> b = MakeMesh(false);
    for (int i = 0; i < 3; ++i)
    {
        RenderQueueItem one = MeshItem(first, a);
        RenderQueueItem other = MeshItem(second, b);
        Queue().Submit(one);
        Queue().Submit(other);
    }
    Queue().Flush();
    const std::vector<Renderer::RecordedDraw>& draws = renderer->GetDraws();
    ASSERT_EQ(draws.size(), 6u);
    int changes = 0;
    for (std::size_t i = 1; i < draws.size(); ++i)
    {
        changes += draws[i].vertexArray != draws[i - 1].vertexArray ? 1 : 0;
    }
    EXPECT_EQ(changes, 1);
}

TEST_F(RenderQueueTest, LineItemIsDrawnWithTheLineEffect)
{
    RenderQueueItem item = LineItem(Renderer::PrimitiveLines);
    item.effect = MakeEffect(false);
    item.effect->SetTexture(1, MakeTexture("own"));
    item.color = Math::Vector4(0.25f, 0.5f, 0.75f, 1.0f);
    Queue().Submit(item);
    Queue().Flush();
    const std::vector<Renderer::RecordedDraw>& draws = renderer->GetDraws();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].operation, "Draw");
    EXPECT_EQ(draws[0].primitiveType, Renderer::PrimitiveLines);
    EXPECT_EQ(draws[0].count, 2u);
    EXPECT_EQ(draws[0].vertexArray, g_line);
    EXPECT_FALSE(draws[0].texture0);
    EXPECT_EQ(draws[0].color.y, 0.5f);
}

TEST_F(RenderQueueTest, ParticleItemsBlendWithTheirOwnFactors)
{
    RenderQueueItem item = MeshItem(nullptr, MakeMesh(true));
    item.particle = true;
    item.texture = MakeTexture("particle");
    item.sourceBlendFactor = Renderer::BlendOne;
    item.destinationBlendFactor = Renderer::BlendOne;
    Queue().Submit(item);
    Queue().Flush();
    const std::vector<Renderer::RecordedDraw>& draws = renderer->GetDraws();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_NE(draws[0].states.find("AlphaBlending(1, 1, true)"), std::string::npos) << draws[0].states;
    ASSERT_TRUE(draws[0].texture0);
    EXPECT_EQ(draws[0].texture0->GetName(), "particle");
}

// The 25 render states of `renderer`; the current colour, which each draw
// sets for itself, is left out.
std::string RenderStates(const Renderer::RecordingRenderer& renderer)
{
    std::string states = renderer.DescribeStates();
    const std::size_t colour = states.find("CurrentColor(");
    return colour == std::string::npos ? states : states.substr(0, colour);
}

// Every draw saves, applies and restores its effect's states, and each
// pass puts back the matrices, viewport and scissor it changed.
TEST_F(RenderQueueTest, FlushLeavesTheRendererAsItFoundIt)
{
    renderer->SetViewMatrix(Math::Matrix4::Translation(0, 0, -5));
    renderer->SetProjectionMatrix(Math::Matrix4::Perspective(60.0f, 1.5f, 0.5f, 100.0f));
    renderer->SetViewport(Renderer::ViewportRecord{10, 20, 300, 200, 0.0f, 1.0f});
    Renderer::ScissorState scissor;
    scissor.x = 10;
    scissor.y = 20;
    scissor.width = 300;
    scissor.height = 200;
    scissor.enabled = true;
    renderer->SetScissor(scissor);
    renderer->SetTextureMatrix(0, Math::Matrix4::Scale(2, 2, 1));

    RenderQueueItem sprite = SpriteItem(1.0f);
    RenderQueueItem opaque = MeshItem(MakeEffect(false), MakeMesh(false));
    RenderQueueItem blended = MeshItem(Renderer::CreateDefaultEffect(), MakeMesh(true));
    RenderQueueItem line = LineItem(Renderer::PrimitiveLines);
    RenderQueueItem particle = MeshItem(nullptr, MakeMesh(true));
    particle.particle = true;
    particle.sourceBlendFactor = Renderer::BlendOne;
    RenderQueueItem overlay = SpriteItem(0.0f);
    overlay.overlay = true;
    RenderQueueItem screen = MeshItem(MakeEffect(false), MakeMesh(false));
    screen.screenSpace = true;
    for (RenderQueueItem* item : {&sprite, &opaque, &blended, &line, &particle, &overlay, &screen})
    {
        Queue().Submit(*item);
    }
    Engine::TextRenderContext background;
    background.texture = MakeTexture("background");
    Queue().SubmitBackground(background);

    const std::string states = RenderStates(*renderer);
    ASSERT_NE(states.find("Scissor(10, 20, 300, 200, true)"), std::string::npos);
    renderer->ClearLog();
    Queue().Flush();
    EXPECT_EQ(renderer->GetDraws().size(), 8u);
    EXPECT_EQ(RenderStates(*renderer), states);
    EXPECT_EQ(Renderer::ToText(renderer->GetViewMatrix()),
              Renderer::ToText(Math::Matrix4::Translation(0, 0, -5)));
    EXPECT_EQ(Renderer::ToText(renderer->GetProjectionMatrix()),
              Renderer::ToText(Math::Matrix4::Perspective(60.0f, 1.5f, 0.5f, 100.0f)));
    EXPECT_EQ(Renderer::ToText(renderer->GetViewport()),
              Renderer::ToText(Renderer::ViewportRecord{10, 20, 300, 200, 0.0f, 1.0f}));
    EXPECT_FALSE(renderer->GetTexture(0));
    EXPECT_EQ(Renderer::ToText(renderer->GetTextureMatrix(0)), Renderer::ToText(Math::Matrix4()));
    EXPECT_EQ(renderer->GetArrays().vertices, nullptr);

    Queue().Clear();
    EXPECT_TRUE(Queue().GetOpaqueItems().empty());
    EXPECT_TRUE(Queue().GetBlendedItems().empty());
    EXPECT_TRUE(Queue().GetOverlayItems().empty());
    EXPECT_TRUE(Queue().GetBackgrounds().empty());
}

TEST_F(RenderQueueTest, ScreenSpaceItemsUseAnIdentityView)
{
    renderer->SetViewMatrix(Math::Matrix4::Translation(0, 0, -5));
    RenderQueueItem item = MeshItem(MakeEffect(false), MakeMesh(false));
    item.screenSpace = true;
    Queue().Submit(item);
    Queue().Flush();
    ASSERT_EQ(renderer->GetDraws().size(), 1u);
    EXPECT_EQ(Renderer::ToText(renderer->GetDraws()[0].view), Renderer::ToText(Math::Matrix4()));
    EXPECT_EQ(renderer->GetViewMatrix().m[14], -5.0f);
}

TEST_F(RenderQueueTest, UnitQuadSpansTheUnitSquare)
{
    const Engine::Mesh& quad = *Queue().GetUnitQuad();
    ASSERT_EQ(quad.GetPositions().size(), 6u);
    ASSERT_EQ(quad.GetTexCoords().size(), 6u);
    EXPECT_EQ(quad.GetIndices(), (std::vector<std::uint32_t>{0, 1, 2, 3, 4, 5}));
    const Engine::DrawRange& range = quad.GetDrawRange(0);
    EXPECT_EQ(range.first, 0u);
    EXPECT_EQ(range.last, 5u);
    EXPECT_TRUE(range.enabled);
    for (std::size_t i = 0; i < 6; ++i)
    {
        const Math::Vector3& p = quad.GetPositions()[i];
        EXPECT_EQ(std::fabs(p.x), 0.5f);
        EXPECT_EQ(std::fabs(p.y), 0.5f);
        EXPECT_EQ(p.z, 0.0f);
        // (0, 0) at the lower left, (1, 1) at the upper right.
        EXPECT_EQ(quad.GetTexCoords()[i].x, p.x + 0.5f);
        EXPECT_EQ(quad.GetTexCoords()[i].y, p.y + 0.5f);
    }
}

TEST(RenderQueue, LatestQueueIsTheInstanceUntilItGoes)
{
    const RefPtr<Renderer::RecordingRenderer> renderer = SceneTest::MakeRenderer();
    {
        const RefPtr<Engine::SceneGraph> first(new Engine::SceneGraph(renderer.Get()));
        EXPECT_EQ(RenderQueue::GetInstance(), &first->GetRenderQueue());
        EXPECT_EQ(Engine::SceneGraph::GetCurrent(), first.Get());
        {
            const RefPtr<Engine::SceneGraph> second(new Engine::SceneGraph(renderer.Get()));
            EXPECT_EQ(RenderQueue::GetInstance(), &second->GetRenderQueue());
            first->MakeCurrentAndUpdate(0.0f);
            EXPECT_EQ(Engine::SceneGraph::GetCurrent(), first.Get());
        }
        EXPECT_EQ(RenderQueue::GetInstance(), nullptr);
        EXPECT_EQ(Engine::SceneGraph::GetCurrent(), first.Get());
    }
    EXPECT_EQ(Engine::SceneGraph::GetCurrent(), nullptr);
    EXPECT_FALSE(RenderQueue::IsLastViewport());
}

} // namespace

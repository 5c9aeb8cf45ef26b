// One frame of 2,000 sprites through the render queue and the OpenGL
// renderer, beside a lower bound in the same run: the same sprites drawn as
// one batched draw per texture. Both frames end with a read-back of the
// window, so the rasteriser's work is finished and counted; the time is the
// process's CPU time (the software rasteriser runs its own threads).
//
// Needs a display: run it under xvfb-run.

#include "BenchRatio.h"

#include "core/Core_Random.h"
#include "engine/Engine_RenderQueue.h"
#include "engine/Engine_SceneGraph.h"
#include "pal/PAL_Window.h"
#include "renderer/Renderer_Effect.h"
#include "renderer/Renderer_OGLRenderer.h"
#include "renderer/Renderer_Pass.h"
#include "renderer/Renderer_Technique.h"
#include "renderer/Renderer_TextureCache.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace
{

constexpr int SpriteCount = 2000;
constexpr int TextureCount = 8;
constexpr int WindowSize = 256;

struct Sprite
{
    Math::Matrix4 world;
    Math::Vector4 color;
    int texture;
};

// The window, the renderer on it, the textures and the sprites, shared by
// both benchmarks.
struct Stage
{
    Renderer::DisplayDescription description;
    std::unique_ptr<PAL::Window> window;
    Core::RefPtr<Renderer::OGLRenderer> renderer;
    Core::RefPtr<Engine::SceneGraph> scene;
    std::vector<Core::RefPtr<Renderer::ITexture>> textures;
    std::vector<Sprite> sprites;
    std::vector<std::uint8_t> pixels;

    Stage()
    {
        description.width = WindowSize;
        description.height = WindowSize;
        description.refreshRate = 60;
        Renderer::OGLRenderer::ChoosePixelFormat(description);
        window = std::make_unique<PAL::Window>(WindowSize, WindowSize);
        window->SetVisible(true);
        description.window = window.get();
        renderer = Renderer::OGLRenderer::Create(description);
        renderer->SetVSync(false);
        scene = Core::RefPtr<Engine::SceneGraph>(new Engine::SceneGraph(renderer.Get()));
        // A camera 100 units in front of the sprites.
        renderer->SetProjectionMatrix(Math::Matrix4::Perspective(45.0f, 1.0f, 1.0f, 1000.0f));
        renderer->SetViewMatrix(Math::Matrix4::Translation(0.0f, 0.0f, -100.0f));
        pixels.resize(static_cast<std::size_t>(WindowSize) * WindowSize * 3);

        // Files that do not exist give the renderer's test pattern, one
        // texture per name.
        for (int t = 0; t < TextureCount; ++t)
        {
            textures.push_back(Renderer::LoadTexture("bench_sprite_" + std::to_string(t) + ".png", false));
        }
        Core::SeedRandom(7);
        const auto uniform = [](float low, float high)
        { return low + (high - low) * static_cast<float>(Core::Random()) / Core::RandomMaximum; };
        for (int i = 0; i < SpriteCount; ++i)
        {
            Sprite sprite;
            sprite.world = Math::Matrix4::Translation(uniform(-40, 40), uniform(-40, 40), uniform(-10, 10)) *
                           Math::Matrix4::Scale(uniform(2, 8), uniform(2, 8), 1.0f);
            sprite.color = Math::Vector4(uniform(0, 1), uniform(0, 1), uniform(0, 1), 1.0f);
            sprite.texture = i % TextureCount;
            sprites.push_back(sprite);
        }
    }
};

std::unique_ptr<Stage> g_stage;

Stage& GetStage()
{
    return *g_stage;
}

// What a sprite node submits each frame.
void BM_SpriteFrameThroughQueue(benchmark::State& state)
{
    Stage& stage = GetStage();
    Engine::RenderQueue& queue = stage.scene->GetRenderQueue();
    for (auto _ : state)
    {
        for (const Sprite& sprite : stage.sprites)
        {
            Engine::RenderQueueItem item;
            item.sprite = true;
            item.texture = stage.textures[sprite.texture];
            item.color = sprite.color;
            item.worldMatrix = sprite.world;
            item.drawRangeIndex = 0;
            queue.Submit(item);
        }
        queue.Flush();
        queue.Clear();
        stage.renderer->ReadPixels(stage.pixels.data());
    }
    state.SetItemsProcessed(state.iterations() * SpriteCount);
}

// The lower bound: the quads transformed on the CPU into one vertex array
// per texture and drawn with one call each, the sprite effect applied once.
void BM_SpriteFrameBatched(benchmark::State& state)
{
    Stage& stage = GetStage();
    Renderer::IRenderer& renderer = *stage.renderer;
    const Core::RefPtr<Renderer::Effect> effect = Renderer::CreateSpriteEffect();
    const Core::RefPtr<Renderer::Technique> technique = effect->GetTechnique(0);
    const Core::RefPtr<Renderer::Pass> pass = technique->GetPass(0);
    static const float corners[6][2] = {{-0.5f, -0.5f}, {0.5f, -0.5f}, {0.5f, 0.5f},
                                        {0.5f, 0.5f},   {-0.5f, 0.5f}, {-0.5f, -0.5f}};
    std::vector<std::vector<Math::Vector3>> positions(TextureCount);
    std::vector<std::vector<Math::Vector2D>> texCoords(TextureCount);
    std::vector<std::vector<Math::Vector4>> colors(TextureCount);
    for (auto _ : state)
    {
        for (int t = 0; t < TextureCount; ++t)
        {
            positions[t].clear();
            texCoords[t].clear();
            colors[t].clear();
        }
        for (const Sprite& sprite : stage.sprites)
        {
            for (const auto& corner : corners)
            {
                positions[sprite.texture].push_back(sprite.world * Math::Vector3(corner[0], corner[1], 0.0f));
                texCoords[sprite.texture].push_back(Math::Vector2D(corner[0] + 0.5f, corner[1] + 0.5f));
                colors[sprite.texture].push_back(sprite.color);
            }
        }
        technique->SaveStates();
        pass->Apply();
        renderer.SetWorldMatrix(Math::Matrix4());
        renderer.SetPrimitiveType(Renderer::PrimitiveTriangles);
        for (int t = 0; t < TextureCount; ++t)
        {
            renderer.SetTexture(0, stage.textures[t]);
            renderer.SetVertexArray(positions[t].data());
            renderer.SetTexCoordArray(0, texCoords[t].data());
            renderer.SetColorArray(colors[t].data());
            renderer.Draw(static_cast<std::int32_t>(positions[t].size()));
        }
        renderer.SetVertexArray(nullptr);
        renderer.SetTexCoordArray(0, nullptr);
        renderer.SetColorArray(nullptr);
        renderer.SetTexture(0, nullptr);
        technique->RestoreStates();
        renderer.ReadPixels(stage.pixels.data());
    }
    state.SetItemsProcessed(state.iterations() * SpriteCount);
}

// The first frames compile the rasteriser's shaders and fill its caches (the
// very first takes hundreds of milliseconds), so each benchmark draws for a
// second before it measures, and then measures for at least two seconds, so
// that no single slow frame becomes the result.
constexpr double WarmUpSeconds = 1.0;
constexpr double MeasureSeconds = 2.0;
BENCHMARK(BM_SpriteFrameThroughQueue)
    ->MeasureProcessCPUTime()
    ->MinWarmUpTime(WarmUpSeconds)
    ->MinTime(MeasureSeconds)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SpriteFrameBatched)
    ->MeasureProcessCPUTime()
    ->MinWarmUpTime(WarmUpSeconds)
    ->MinTime(MeasureSeconds)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (std::getenv("DISPLAY") == nullptr)
    {
        std::printf("bench_engine draws through OpenGL: run it on a display (xvfb-run).\n");
        return 0;
    }
    setenv("ENGINE_HEADLESS", "1", 1);
    benchmark::Initialize(&argc, argv);
    bench::RatioReporter reporter;
    reporter.Compare("sprite frame, render queue vs one batched draw per texture",
                     "BM_SpriteFrameThroughQueue/min_time:2.000/min_warmup_time:1.000/process_time",
                     "BM_SpriteFrameBatched/min_time:2.000/min_warmup_time:1.000/process_time");
    g_stage = std::make_unique<Stage>();
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    // The scene and the textures go before the renderer, the renderer
    // before its window.
    g_stage.reset();
    benchmark::Shutdown();
    return 0;
}

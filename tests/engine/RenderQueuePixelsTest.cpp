// The pictures the render queue draws, compared pixel for pixel with the
// ones it drew before its draw loop learnt to skip settings that were
// already in place. The recorded checksums are of Mesa's software
// rasteriser (llvmpipe) under Xvfb, which draws the same pixels every run.

#include "RenderQueuePixels.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include "../renderer/ImageFiles.h"

#include "core/Core_Random.h"
#include "engine/Engine_RenderQueue.h"
#include "engine/Engine_SceneGraph.h"
#include "pal/PAL_Window.h"
#include "renderer/Renderer_OGLRenderer.h"
#include "renderer/Renderer_TextureCache.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace
{

constexpr int Size = 320;
constexpr int SpriteCount = 2000;
constexpr int TextureCount = 8;

// 2,000 sprites over eight textures at random places, sizes, depths and
// colours, a third of them see-through, then one frame through the queue.
TEST(RenderQueuePixels, TwoThousandSpritesDrawTheRecordedPicture)
{
    if (std::getenv("DISPLAY") == nullptr)
    {
        GTEST_SKIP() << "no display";
    }
    setenv("ENGINE_HEADLESS", "1", 1);
    Renderer::DisplayDescription description;
    description.width = Size;
    description.height = Size;
    description.refreshRate = 85;
    Renderer::OGLRenderer::ChoosePixelFormat(description);
    const auto window = std::make_unique<PAL::Window>(Size, Size);
    window->SetVisible(true);
    description.window = window.get();
    Core::RefPtr<Renderer::OGLRenderer> renderer = Renderer::OGLRenderer::Create(description);
    ASSERT_TRUE(renderer);
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(Size) * Size * 3);
    {
        const Core::RefPtr<Engine::SceneGraph> scene(new Engine::SceneGraph(renderer.Get()));
        renderer->SetProjectionMatrix(Math::Matrix4::Perspective(45.0f, 1.0f, 1.0f, 1000.0f));
        renderer->SetViewMatrix(Math::Matrix4::Translation(0.0f, 0.0f, -100.0f));
        renderer->ClearBuffers(Math::Vector4(0.1f, 0.1f, 0.2f, 1.0f), 1.0f, 0);
        // Files that do not exist load as the renderer's test pattern.
        std::vector<Core::RefPtr<Renderer::ITexture>> textures;
        for (int t = 0; t < TextureCount; ++t)
        {
            textures.emplace_back(Renderer::LoadTexture("pixels_sprite_" + std::to_string(t) + ".png", false));
        }
        Core::SeedRandom(11);
        const auto uniform = [](float low, float high)
        { return low + (high - low) * static_cast<float>(Core::Random()) / Core::RandomMaximum; };
        Engine::RenderQueue& queue = scene->GetRenderQueue();
        for (int i = 0; i < SpriteCount; ++i)
        {
            Engine::RenderQueueItem item;
            item.sprite = true;
            item.texture = textures[static_cast<std::size_t>(i % TextureCount)];
            item.worldMatrix = Math::Matrix4::Translation(uniform(-40, 40), uniform(-40, 40), uniform(-10, 10)) *
                               Math::Matrix4::Scale(uniform(1, 8), uniform(1, 8), 1.0f);
            item.color = Math::Vector4(uniform(0, 1), uniform(0, 1), uniform(0, 1), i % 3 == 0 ? 0.5f : 1.0f);
            item.drawRangeIndex = 0;
            queue.Submit(item);
        }
        queue.Flush();
        queue.Clear();
        renderer->ReadPixels(pixels.data());
    }
    renderer.Reset();
    EXPECT_EQ(RenderQueuePixels::Checksum(pixels.data(), pixels.size()), 0x2DE897C5A89CFB1Eull);
}

// Sprites drawn in one flush, where the queue may gather them into few
// draws, against the same sprites flushed one at a time: turned, stretched,
// see-through, over three textures and two texture matrices, crowded so
// that most overlap, with one quad reaching behind the eye and one through
// the near plane.
TEST(RenderQueuePixels, SpritesDrawnTogetherGiveThePictureOfOneAtATime)
{
    if (std::getenv("DISPLAY") == nullptr)
    {
        GTEST_SKIP() << "no display";
    }
    setenv("ENGINE_HEADLESS", "1", 1);
    constexpr int Side = 160;
    Renderer::DisplayDescription description;
    description.width = Side;
    description.height = Side;
    description.refreshRate = 85;
    Renderer::OGLRenderer::ChoosePixelFormat(description);
    const auto window = std::make_unique<PAL::Window>(Side, Side);
    window->SetVisible(true);
    description.window = window.get();
    Core::RefPtr<Renderer::OGLRenderer> renderer = Renderer::OGLRenderer::Create(description);
    ASSERT_TRUE(renderer);
    std::vector<std::uint8_t> together(static_cast<std::size_t>(Side) * Side * 3);
    std::vector<std::uint8_t> oneByOne(together.size());
    std::vector<std::uint8_t> empty(together.size());
    {
        const Core::RefPtr<Engine::SceneGraph> scene(new Engine::SceneGraph(renderer.Get()));
        renderer->SetProjectionMatrix(Math::Matrix4::Perspective(45.0f, 1.0f, 1.0f, 500.0f));
        renderer->SetViewMatrix(Math::Matrix4::Translation(0.0f, 0.0f, -60.0f));
        // Three textures that differ in every texel, so a run drawn with
        // another run's texture shows.
        const RendererTest::TempDirectory folder;
        std::vector<Core::RefPtr<Renderer::ITexture>> textures;
        for (int t = 0; t < 3; ++t)
        {
            std::vector<RendererTest::Rgba> texels;
            for (int i = 0; i < 16; ++i)
            {
                texels.push_back({static_cast<std::uint8_t>(t == 0 ? 230 : 16 * i),
                                  static_cast<std::uint8_t>(t == 1 ? 220 : 40 + 8 * i),
                                  static_cast<std::uint8_t>(t == 2 ? 210 : 255 - 12 * i), 255});
            }
            const std::string path = folder.File("together_sprite_" + std::to_string(t) + ".png");
            ASSERT_TRUE(RendererTest::WritePng(path, 4, 4, texels));
            textures.emplace_back(Renderer::LoadTexture(path, false));
        }
        // Without fog, lighting, coordinate generation or clip planes the
        // queue takes its batched path, which is what this test compares.
        ASSERT_TRUE(renderer->DrawsClipSpaceExactly());
        const Math::Matrix4 sheetCells[2] = {Math::Matrix4(), Math::Matrix4::Translation(0.25f, 0.5f, 0.0f) *
                                                                  Math::Matrix4::Scale(0.25f, 0.5f, 1.0f)};
        Core::SeedRandom(5);
        const auto uniform = [](float low, float high)
        { return low + (high - low) * static_cast<float>(Core::Random()) / Core::RandomMaximum; };
        std::vector<Engine::RenderQueueItem> items;
        for (int i = 0; i < 400; ++i)
        {
            Engine::RenderQueueItem item;
            item.sprite = true;
            item.texture = textures[static_cast<std::size_t>(i % 3)];
            item.textureMatrix = sheetCells[i % 5 == 0 ? 1 : 0];
            item.worldMatrix =
                Math::Matrix4::Translation(uniform(-25, 25), uniform(-25, 25), uniform(-8, 8)) *
                Math::Matrix4::RotationZ(uniform(0, 360)) *
                Math::Matrix4::Scale(uniform(1, 10), uniform(1, 10), 1.0f);
            item.color = Math::Vector4(uniform(0, 1), uniform(0, 1), uniform(0, 1), i % 3 == 0 ? 0.5f : 1.0f);
            item.drawRangeIndex = 0;
            items.push_back(item);
        }
        // Behind the eye, and through the near plane (the eye is at z = 60).
        items[7].worldMatrix =
            Math::Matrix4::Translation(0.0f, 0.0f, 70.0f) * Math::Matrix4::Scale(40, 40, 1);
        items[8].worldMatrix = Math::Matrix4::Translation(2.0f, 1.0f, 59.5f) *
                               Math::Matrix4::RotationZ(30.0f) * Math::Matrix4::Scale(6, 3, 1);
        // The queue draws back to front; flushed one by one they must come in
        // that order too.
        std::stable_sort(items.begin(), items.end(),
                         [](const Engine::RenderQueueItem& a, const Engine::RenderQueueItem& b)
                         { return a.worldMatrix.m[14] < b.worldMatrix.m[14]; });
        Engine::RenderQueue& queue = scene->GetRenderQueue();
        const Math::Vector4 background(0.1f, 0.1f, 0.2f, 1.0f);

        renderer->ClearBuffers(background, 1.0f, 0);
        renderer->ReadPixels(empty.data());
        for (Engine::RenderQueueItem item : items)
        {
            queue.Submit(item);
        }
        queue.Flush();
        queue.Clear();
        renderer->ReadPixels(together.data());

        renderer->ClearBuffers(background, 1.0f, 0);
        for (Engine::RenderQueueItem item : items)
        {
            queue.Submit(item);
            queue.Flush();
            queue.Clear();
        }
        renderer->ReadPixels(oneByOne.data());
    }
    renderer.Reset();
    std::size_t differing = 0;
    std::size_t drawn = 0;
    for (std::size_t i = 0; i < together.size(); ++i)
    {
        differing += together[i] != oneByOne[i] ? 1 : 0;
        drawn += together[i] != empty[i] ? 1 : 0;
    }
    EXPECT_EQ(differing, 0u);
    // Most of the window is covered.
    EXPECT_GT(drawn, together.size() / 2);
}

} // namespace

#include "engine/Engine_Camera.h"
#include "engine/Engine_RenderQueue.h"
#include "engine/Engine_SceneGraph.h"
#include "engine/Engine_TransformationGroup.h"
#include "engine/Engine_Viewport.h"
#include "pal/PAL_Window.h"
#include "renderer/Renderer_OGLRenderer.h"
#include "renderer/Renderer_TextureCache.h"

#include <gtest/gtest.h>
#include <stb/stb_image_write.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using Core::RefPtr;

namespace
{

using Rgb = std::array<std::uint8_t, 3>;

// A sprite item at the parent's origin, ten units square, in one colour.
class SpriteNode : public Engine::Node
{
public:
    SpriteNode(RefPtr<Renderer::ITexture> image, Math::Vector4 tint) : texture(std::move(image)), color(tint)
    {
    }
    void Render(const Math::Frustum&) override { Draw(); }
    void DrawRecursive() override { Draw(); }
    void Draw() override
    {
        Engine::RenderQueueItem item;
        item.sprite = true;
        item.texture = texture;
        item.color = color;
        item.worldMatrix = GetParentWorldMatrix() * Math::Matrix4::Scale(10, 10, 1);
        item.drawRangeIndex = 0;
        Engine::RenderQueue::GetInstance()->Submit(item);
    }

    RefPtr<Renderer::ITexture> texture;
    Math::Vector4 color;
};

// A 64 x 64 window on the virtual display with its OpenGL renderer, and a
// folder for the images it loads.
class SceneDisplayTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
        {
            GTEST_SKIP() << "no display";
        }
        setenv("ENGINE_HEADLESS", "1", 1);
        description.width = Size;
        description.height = Size;
        description.refreshRate = 85;
        Renderer::OGLRenderer::ChoosePixelFormat(description);
        window = std::make_unique<PAL::Window>(Size, Size);
        window->SetVisible(true);
        description.window = window.get();
        renderer = Renderer::OGLRenderer::Create(description);

        folder = std::filesystem::temp_directory_path() / ("scene_display_" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
    }

    void TearDown() override
    {
        renderer.Reset();
        window.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    // A 4 x 4 image of one colour, written as PNG and loaded through the cache.
    RefPtr<Renderer::ITexture> SolidTexture(const std::string& name, Rgb colour)
    {
        std::vector<std::uint8_t> pixels;
        for (int i = 0; i < 16; ++i)
        {
            pixels.insert(pixels.end(), {colour[0], colour[1], colour[2], 255});
        }
        const std::string path = (folder / (name + ".png")).string();
        EXPECT_NE(stbi_write_png(path.c_str(), 4, 4, 4, pixels.data(), 16), 0);
        return Renderer::LoadTexture(path, false);
    }

    Rgb PixelAt(const std::vector<std::uint8_t>& pixels, int x, int y) const
    {
        const std::uint8_t* p = pixels.data() + (static_cast<std::size_t>(y) * Size + x) * 3;
        return {p[0], p[1], p[2]};
    }

    static constexpr int Size = 64;
    Renderer::DisplayDescription description;
    std::unique_ptr<PAL::Window> window;
    RefPtr<Renderer::OGLRenderer> renderer;
    std::filesystem::path folder;
};

// Two viewports side by side, each with its own background and a sprite in
// its middle: each background fills only its own half (the second view's
// clear is scissored to its rectangle), and the scene draws over it.
TEST_F(SceneDisplayTest, TwoViewportsShowTheirBackgroundsBehindTheScene)
{
    {
        const RefPtr<Engine::SceneGraph> scene(new Engine::SceneGraph(renderer.Get()));
        const RefPtr<Engine::TransformationGroup> mount(new Engine::TransformationGroup());
        mount->SetTransformation(Math::Matrix4::Translation(0, 0, 50));
        const RefPtr<Engine::Camera> camera(new Engine::Camera(45.0f, 0.1f, 10000.0f));
        mount->AddChild(camera);
        scene->AddChild(mount);
        scene->AddChild(RefPtr<Engine::Node>(
            new SpriteNode(SolidTexture("white", {255, 255, 255}), Math::Vector4(0.0f, 0.0f, 1.0f, 1.0f))));

        const RefPtr<Engine::Viewport> left(new Engine::Viewport(0, 0, Size / 2, Size, 0));
        const RefPtr<Engine::Viewport> right(new Engine::Viewport(Size / 2, 0, Size / 2, Size, 0));
        left->SetBackground(SolidTexture("red", {255, 0, 0}));
        right->SetBackground(SolidTexture("green", {0, 255, 0}));
        left->SetClearColor(Math::Vector4(1.0f, 1.0f, 0.0f, 1.0f));
        right->SetClearColor(Math::Vector4(0.0f, 1.0f, 1.0f, 1.0f));
        scene->ClearScreen(Math::Vector4(0.0f, 0.0f, 0.0f, 1.0f));
        scene->MakeCurrentAndUpdate(0.0f);
        scene->SetViewportCount(2);
        scene->SetCurrentViewportIndex(0);
        scene->RenderView(camera, left);
        scene->SetCurrentViewportIndex(1);
        scene->RenderView(camera, right);
    }

    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(Size) * Size * 3);
    renderer->ReadPixels(pixels.data());
    const Rgb red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255};
    for (int y : {2, Size - 3})
    {
        EXPECT_EQ(PixelAt(pixels, 2, y), red) << y;
        EXPECT_EQ(PixelAt(pixels, Size / 2 - 3, y), red) << y;
        EXPECT_EQ(PixelAt(pixels, Size / 2 + 2, y), green) << y;
        EXPECT_EQ(PixelAt(pixels, Size - 3, y), green) << y;
    }
    EXPECT_EQ(PixelAt(pixels, Size / 4, Size / 2), blue);
    EXPECT_EQ(PixelAt(pixels, 3 * Size / 4, Size / 2), blue);
    // The renderer is back to the whole window without scissoring.
    const Renderer::ViewportRecord viewport = renderer->GetViewport();
    EXPECT_EQ(viewport.width, Size);
    Renderer::ScissorState scissor;
    EXPECT_FALSE(renderer->GetScissor(scissor).enabled);
}

} // namespace

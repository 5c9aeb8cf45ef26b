// The GUI demo's display drawn with real GL (Mesa under Xvfb) in the test
// program, the modal form open and the mouse over the "Ok" button; the
// picture is kept for review in the build tree.

#include "GuiDemo_Scene.h"
#include "Harness_RunHarness.h"

#include "engine/Engine_SceneGraph.h"
#include "input/Input_InputSource.h"
#include "input/Input_KeyboardImp.h"
#include "input/Input_MouseImp.h"
#include "input/Input_ScriptedInputSource.h"
#include "pal/PAL_Window.h"
#include "renderer/Renderer_OGLRenderer.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <memory>

namespace
{

using Core::RefPtr;
constexpr int Width = GuiDemoScene::Width;
constexpr int Height = GuiDemoScene::Height;
using Rgb = std::array<int, 3>;

TEST(GuiDemoLook, TheDemoDrawsSkinnedFormsButtonsAndRadioButtons)
{
    if (std::getenv("DISPLAY") == nullptr)
    {
        GTEST_SKIP() << "no display";
    }
    setenv("ENGINE_HEADLESS", "1", 1);
    Renderer::DisplayDescription description;
    description.width = Width;
    description.height = Height;
    description.refreshRate = 60;
    Renderer::OGLRenderer::ChoosePixelFormat(description);
    const auto window = std::make_unique<PAL::Window>(Width, Height);
    window->SetVisible(true);
    description.window = window.get();
    RefPtr<Renderer::OGLRenderer> renderer = Renderer::OGLRenderer::Create(description);
    ASSERT_TRUE(renderer);

    Input::ScriptedInputSource source;
    source.SetClientArea(Input::ClientArea{0, 0, Width, Height});
    Input::InputSource::SetCurrent(&source);
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(Width) * Height * 3);
    {
        const RefPtr<Engine::SceneGraph> scene(new Engine::SceneGraph(renderer.Get()));
        const RefPtr<Input::MouseImp> mouse = Input::MouseImp::CreateInstance();
        mouse->SetWindow(window.get());
        const RefPtr<Input::KeyboardImp> keyboard = Input::KeyboardImp::CreateInstance();
        GUI::HUD hud;
        GuiDemoScene demo(hud);
        const auto frame = [&](int x, int y, bool down)
        {
            source.SetCursor(x, Height - 1 - y);
            source.SetKeyDown(1, down);
            mouse->Update();
            keyboard->Update();
            hud.Update(1.0f / 60.0f);
            scene->GetRenderQueue().ClearScreenObjects();
        };
        // Open the modal form with its button, rest on its "Ok" button.
        for (const auto& [x, y, down] : {std::tuple{157, 410, false}, std::tuple{157, 410, false},
                                          std::tuple{157, 410, true}, std::tuple{157, 410, false},
                                          std::tuple{760, 376, false}, std::tuple{760, 376, false}})
        {
            frame(x, y, down);
        }
        ASSERT_NE(hud.GetModalForm(), nullptr);
        source.SetCursor(760, Height - 1 - 376);
        mouse->Update();
        keyboard->Update();
        hud.Update(1.0f / 60.0f);
        renderer->ClearBuffers(Math::Vector4(0.05f, 0.07f, 0.14f, 1.0f), 1.0f, 0);
        hud.Render();
        renderer->ReadPixels(pixels.data());
    }
    const std::filesystem::path path = std::filesystem::path(GUI_DEMO_SCREENSHOTS) / "gui_demo_look.png";
    std::filesystem::create_directories(path.parent_path());
    EXPECT_TRUE(Harness::WriteScreenshotPng(*renderer, path.string()));
    Input::InputSource::SetCurrent(nullptr);
    renderer.Reset();

    const auto at = [&](int x, int y)
    {
        const std::size_t i = (static_cast<std::size_t>(y) * Width + x) * 3;
        return Rgb{pixels[i], pixels[i + 1], pixels[i + 2]};
    };
    const Rgb background = at(5, 5);
    // The main form's caption, its client picture, a button and the modal
    // form's frame cover the background.
    for (const auto& [x, y] : {std::pair{300, 645}, std::pair{400, 300}, std::pair{90, 566}, std::pair{760, 303}})
    {
        EXPECT_NE(at(x, y), background) << x << "," << y;
    }
    // Outside every form: the background.
    EXPECT_EQ(at(1000, 700), background);
}

} // namespace

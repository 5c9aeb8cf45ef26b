// The GUI demo's display in the test program with the recording renderer
// and a scripted mouse and keyboard: a long seeded random run that keeps
// the display sound, and the save and load of the whole demo.

#include "GuiDemo_Scene.h"

#include "core/Core_MemoryFile.h"
#include "core/Core_Object.h"
#include "core/Core_Random.h"
#include "engine/Engine_SceneGraph.h"
#include "input/Input_InputSource.h"
#include "input/Input_KeyboardImp.h"
#include "input/Input_MouseImp.h"
#include "input/Input_ScriptedInputSource.h"
#include "renderer/Renderer_RecordingRenderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <set>

namespace
{

using Core::RefPtr;
using Bytes = std::vector<std::uint8_t>;

// Virtual keys of the scripted source.
constexpr std::uint8_t LeftButton = 1;
constexpr std::uint8_t RightButton = 2;
constexpr std::uint8_t MiddleButton = 4;
constexpr std::uint8_t TabKey = 0x09;
constexpr std::uint8_t EnterKey = 0x0D;
constexpr std::uint8_t EscapeKey = 0x1B;

class GuiDemoScene : public ::testing::Test
{
protected:
    static constexpr float Step = 1.0f / 60.0f;

    void SetUp() override
    {
        setenv("ENGINE_HEADLESS", "1", 1);
        Renderer::DisplayDescription description;
        description.width = ::GuiDemoScene::Width;
        description.height = ::GuiDemoScene::Height;
        renderer = RefPtr<Renderer::RecordingRenderer>(new Renderer::RecordingRenderer(description));
        sceneGraph = RefPtr<Engine::SceneGraph>(new Engine::SceneGraph(renderer.Get()));
        Input::InputSource::SetCurrent(&source);
        mouse = Input::MouseImp::CreateInstance();
        mouse->SetWindow(reinterpret_cast<PAL::Window*>(&source));
        keyboard = Input::KeyboardImp::CreateInstance();
        keyboard->ClearStartGuard();
        MoveTo(1000, 20);
        hud = std::make_unique<GUI::HUD>();
        demo = std::make_unique<::GuiDemoScene>(*hud);
    }

    void TearDown() override
    {
        demo.reset();
        hud.reset();
        sceneGraph->GetRenderQueue().ClearScreenObjects();
        keyboard.Reset();
        mouse.Reset();
        Input::InputSource::SetCurrent(nullptr);
        sceneGraph.Reset();
        renderer.Reset();
    }

    // One frame; its log line.
    std::string Frame()
    {
        if (!demo)
        {
            mouse->Update();
            hud->Update(Step);
            sceneGraph->GetRenderQueue().ClearScreenObjects();
            return "-";
        }
        mouse->Update();
        keyboard->Update();
        hud->Update(Step);
        sceneGraph->GetRenderQueue().ClearScreenObjects();
        return demo->TakeFrameLog();
    }
    void MoveTo(int x, int y) { source.SetCursor(x, ::GuiDemoScene::Height - 1 - y); }

    // At most one checked radio button among the children of each control.
    static bool OneCheckedPerGroup(const GUI::Control& control)
    {
        int checked = 0;
        for (std::uint32_t i = 0; i < control.GetControlCount(); ++i)
        {
            const GUI::Control& child = *control.GetControl(i);
            const auto* radio = dynamic_cast<const GUI::RadioButton*>(&child);
            checked += radio != nullptr && radio->GetChecked() ? 1 : 0;
            if (!OneCheckedPerGroup(child))
            {
                return false;
            }
        }
        return checked <= 1;
    }

    // Every slot names a registered control, or nothing.
    bool SlotsAreRegistered() const
    {
        const auto& registered = hud->GetRegisteredControls();
        for (std::uint32_t slot = 0; slot < GUI::HUD::SlotCount; ++slot)
        {
            const GUI::Control* control = hud->GetSlot(static_cast<GUI::HUD::Slot>(slot));
            if (control != nullptr && std::find(registered.begin(), registered.end(), control) == registered.end())
            {
                return false;
            }
        }
        return true;
    }

    Bytes Save() const
    {
        Core::MemoryFile file;
        hud->Save(file);
        return file.GetBuffer();
    }

    Input::ScriptedInputSource source;
    RefPtr<Renderer::RecordingRenderer> renderer;
    RefPtr<Engine::SceneGraph> sceneGraph;
    RefPtr<Input::MouseImp> mouse;
    RefPtr<Input::KeyboardImp> keyboard;
    std::unique_ptr<GUI::HUD> hud;
    std::unique_ptr<::GuiDemoScene> demo;
};

TEST_F(GuiDemoScene, SeededRandomInputKeepsTheDisplaySound)
{
    // The count starts with the display empty and at rest.
    demo.reset();
    const auto rest = [&]
    {
        hud->Clear();
        MoveTo(-100, -100);
        Frame();
    };
    rest();
    const std::int32_t liveBefore = Core::GetLiveObjectCount();
    demo = std::make_unique<::GuiDemoScene>(*hud);
    Core::SeedRandom(2024);
    const std::uint8_t keys[] = {TabKey, EnterKey, EscapeKey, 'A', 'G', 'Q', 'Z'};
    const std::uint8_t buttons[] = {LeftButton, RightButton, MiddleButton};
    int x = 300;
    int y = 400;
    const int frames = std::getenv("GUI_DEMO_FUZZ_FRAMES") != nullptr
                           ? std::atoi(std::getenv("GUI_DEMO_FUZZ_FRAMES"))
                           : 100000;
    std::set<std::string> seen;
    for (int frame = 0; frame < frames; ++frame)
    {
        const int what = Core::Random() % 16;
        if (what < 8)
        {
            // Mostly short moves, now and then a jump anywhere (even outside
            // the window).
            if (what == 0)
            {
                x = Core::Random() % 1100 - 40;
                y = Core::Random() % 850 - 40;
            }
            else
            {
                x += Core::Random() % 41 - 20;
                y += Core::Random() % 41 - 20;
            }
            MoveTo(x, y);
        }
        else if (what < 12)
        {
            const std::uint8_t button = buttons[Core::Random() % 3];
            source.SetKeyDown(button, !source.IsKeyDown(button));
        }
        else if (what < 14)
        {
            const std::uint8_t key = keys[Core::Random() % std::size(keys)];
            source.SetKeyDown(key, !source.IsKeyDown(key));
        }
        const std::string line = Frame();
        if (line != "-")
        {
            seen.insert(line.substr(0, line.find(' ')));
        }
        for (const auto& form : hud->GetForms())
        {
            ASSERT_TRUE(OneCheckedPerGroup(*form)) << frame;
        }
        ASSERT_TRUE(SlotsAreRegistered()) << frame;
    }
    // The run reached the controls.
    EXPECT_GT(seen.size(), 10u);
    demo.reset();
    rest();
    EXPECT_EQ(Core::GetLiveObjectCount(), liveBefore);
}

} // namespace

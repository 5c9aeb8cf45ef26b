// The GUI demo's display in the test program with the recording renderer
// and a scripted mouse and keyboard: a long seeded random run that keeps
// the display sound, and the save and load of the whole demo.

#include "GuiDemo_Scene.h"

#include "core/Core_MemoryFile.h"
#include "core/Core_Object.h"
#include "core/Core_DamagedCopies.h"
#include "core/Core_Random.h"
#include "engine/Engine_SceneGraph.h"
#include "input/Input_InputSource.h"
#include "input/Input_KeyboardImp.h"
#include "input/Input_MouseImp.h"
#include "input/Input_ScriptedInputSource.h"
#include "renderer/Renderer_RecordingRenderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
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

// What the frame queued for drawing, as text: each screen object's kind,
// vertices, colour and texture. Two frames that queue the same text look
// the same.
std::string DescribeScreen(const Engine::RenderQueue& queue)
{
    std::string text;
    char number[64];
    for (const auto& object : queue.GetScreenObjects())
    {
        const std::uint32_t count = object->GetType() == 0 ? 4 : object->GetIndexCount() / 6 * 4;
        const Math::Vector3* vertices = object->GetVertices();
        const Math::Vector4 color = object->GetColor();
        const auto texture = object->GetTexture();
        std::snprintf(number, sizeof number, "[%u %.2f %ux%u %.3f %.3f %.3f %.3f", count, object->GetDepth(),
                      texture ? texture->GetWidth() : 0u, texture ? texture->GetHeight() : 0u, color.x, color.y,
                      color.z, color.w);
        text += number;
        for (std::uint32_t i = 0; vertices != nullptr && i < count; ++i)
        {
            std::snprintf(number, sizeof number, " %.2f,%.2f", vertices[i].x, vertices[i].y);
            text += number;
        }
        text += "]";
    }
    return text;
}

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
        lastScreen_ = describeScreens ? DescribeScreen(sceneGraph->GetRenderQueue()) : std::string();
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

    std::string DescribeScreenNow() const { return lastScreen_; }

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
    bool describeScreens = true;
    std::string lastScreen_;
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
    describeScreens = false;
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

TEST_F(GuiDemoScene, TheWholeDemoSavesAndLoads)
{
    // Open the modal form, close it, open it again; drag the main form by
    // its caption, check a radio button.
    struct Input
    {
        int x, y;
        bool down;
        int frames;
    };
    const auto play = [&](const std::vector<Input>& inputs)
    {
        std::vector<std::string> log;
        for (const Input& input : inputs)
        {
            MoveTo(input.x, input.y);
            source.SetKeyDown(LeftButton, input.down);
            for (int i = 0; i < input.frames; ++i)
            {
                log.push_back(Frame());
            }
        }
        return log;
    };
    // The main form's caption bar spans y 628-660; its client origin is
    // (48, 108).
    play({{300, 645, false, 2}, {300, 645, true, 1}, {360, 610, true, 3}, {360, 610, false, 2}});
    ASSERT_EQ(hud->FindFormByName("Controls")->GetPosition(), Math::Vector2D(100, 65));
    const auto click = [](int x, int y) { return std::vector<Input>{{x, y, false, 2}, {x, y, true, 1}, {x, y, false, 2}}; };
    play(click(100 + 8 + 240 + 6, 65 + 8 + 410 + 6));
    play(click(100 + 8 + 24 + 80, 65 + 8 + 284 + 18));
    ASSERT_NE(hud->FindFormByName("Modal"), nullptr);
    ASSERT_EQ(hud->GetModalForm(), hud->FindFormByName("Modal"));

    const Bytes saved = Save();
    // What the running demo shows and logs for a click outside the modal
    // form, on its Ok button, and a press on the now free Start button.
    std::vector<Input> replay = click(300, 300);
    for (const auto& steps : {click(600 + 8 + 102 + 50, 300 + 8 + 50 + 18), click(100 + 8 + 24 + 80, 65 + 8 + 440 + 18)})
    {
        replay.insert(replay.end(), steps.begin(), steps.end());
    }
    Frame();
    const std::string firstScreen = DescribeScreenNow();
    const std::vector<std::string> expected = play(replay);
    const std::string lastScreen = DescribeScreenNow();
    std::string all;
    for (const std::string& line : expected)
    {
        all += line + "\n";
    }
    EXPECT_NE(all.find("Start.MouseDown(0)"), std::string::npos) << all;

    // Loaded into a cleared display it saves the same bytes, looks the same
    // and reacts the same.
    hud->Clear();
    {
        Core::MemoryFile file(saved.data(), static_cast<std::uint32_t>(saved.size()));
        ASSERT_TRUE(hud->Load(file));
    }
    EXPECT_EQ(Save(), saved);
    demo->ListenToDisplay();
    Frame();
    EXPECT_EQ(DescribeScreenNow(), firstScreen);
    EXPECT_EQ(play(replay), expected);
    EXPECT_EQ(DescribeScreenNow(), lastScreen);

    // Every prefix and 1,000 byte-flipped copies: refused, reported, and
    // the display as it was.
    hud->Clear();
    {
        Core::MemoryFile file(saved.data(), static_cast<std::uint32_t>(saved.size()));
        ASSERT_TRUE(hud->Load(file));
    }
    const Bytes running = Save();
    // Every prefix would take minutes under the sanitizers: every 31st there.
    const Core::Testing::DamagePlan plan = Core::Testing::PlanForThisBuild(31);
    std::size_t prefixes = 0;
    std::size_t refused = 0;
    testing::internal::CaptureStderr();
    for (const auto& [bytes, prefix] : Core::Testing::DamagedCopies(saved, plan))
    {
        prefixes += prefix ? 1 : 0;
        Core::MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        if (hud->Load(file))
        {
            // A flip that still reads (inside a number or a name): the
            // running display is put back.
            hud->Clear();
            Core::MemoryFile original(saved.data(), static_cast<std::uint32_t>(saved.size()));
            ASSERT_TRUE(hud->Load(original));
            continue;
        }
        ++refused;
        ASSERT_EQ(Save(), running) << bytes.size();
    }
    const std::string reports = testing::internal::GetCapturedStderr();
    EXPECT_GE(refused, prefixes);
    EXPECT_NE(reports.find("heads-up display could not be loaded"), std::string::npos);
}

} // namespace

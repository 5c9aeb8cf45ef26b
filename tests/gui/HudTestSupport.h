#pragma once

#include "GuiTestSupport.h"

#include "gui/GUI_Control.h"
#include "gui/GUI_Folders.h"
#include "gui/GUI_Form.h"
#include "gui/GUI_HUD.h"
#include "input/Input_KeyboardImp.h"

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace HudTest
{

using Core::RefPtr;

// Every event of the controls it listens to, as "<name>.<event>" (mouse
// events add their button).
class EventLog
{
public:
    void Listen(GUI::Control& control)
    {
        using GUI::Event;
        control.AddListener(Event::Click, this, &EventLog::Click);
        control.AddListener(Event::DoubleClick, this, &EventLog::DoubleClick);
        control.AddListener(Event::ClickDone, this, &EventLog::ClickDone);
        control.AddListener(Event::DoubleClickDone, this, &EventLog::DoubleClickDone);
        control.AddListener(Event::MouseEnter, this, &EventLog::MouseEnter);
        control.AddListener(Event::MouseHover, this, &EventLog::MouseHover);
        control.AddListener(Event::MouseLeave, this, &EventLog::MouseLeave);
        control.AddListener(Event::MouseMove, this, &EventLog::MouseMove);
        control.AddListener(Event::MouseUp, this, &EventLog::MouseUp);
        control.AddListener(Event::MouseDown, this, &EventLog::MouseDown);
        control.AddListener(Event::SizeChanged, this, &EventLog::SizeChanged);
    }

    // The entries whose event is one of `events` (all when empty).
    std::vector<std::string> Of(const std::vector<std::string>& events = {}) const
    {
        std::vector<std::string> out;
        for (const std::string& entry : entries)
        {
            const std::string event = entry.substr(entry.find('.') + 1);
            const std::string bare = event.substr(0, event.find('('));
            bool wanted = events.empty();
            for (const std::string& e : events)
            {
                wanted = wanted || e == bare;
            }
            if (wanted)
            {
                out.push_back(entry);
            }
        }
        return out;
    }
    std::size_t Count(const std::string& entry) const
    {
        std::size_t n = 0;
        for (const std::string& e : entries)
        {
            n += e == entry ? 1 : 0;
        }
        return n;
    }

    std::vector<std::string> entries;

private:
    void Add(GUI::Control* c, const std::string& what) { entries.push_back(c->GetName() + "." + what); }
    void Click(GUI::Control* c) { Add(c, "Click"); }
    void DoubleClick(GUI::Control* c) { Add(c, "DoubleClick"); }
    void ClickDone(GUI::Control* c) { Add(c, "ClickDone"); }
    void DoubleClickDone(GUI::Control* c) { Add(c, "DoubleClickDone"); }
    void MouseEnter(GUI::Control* c) { Add(c, "MouseEnter"); }
    void MouseHover(GUI::Control* c) { Add(c, "MouseHover"); }
    void MouseLeave(GUI::Control* c) { Add(c, "MouseLeave"); }
    void MouseMove(GUI::Control* c, const GUI::MouseEvent& e)
    {
        Add(c, "MouseMove(" + std::to_string(e.button) + ")");
    }
    void MouseUp(GUI::Control* c, const GUI::MouseEvent& e)
    {
        Add(c, "MouseUp(" + std::to_string(e.button) + ")");
    }
    void MouseDown(GUI::Control* c, const GUI::MouseEvent& e)
    {
        Add(c, "MouseDown(" + std::to_string(e.button) + ")");
    }
    void SizeChanged(GUI::Control* c) { Add(c, "SizeChanged"); }
};

// The display driven frame by frame at 1/60 s with a scripted mouse and
// keyboard, over a 1024 x 768 recording renderer.
class HudTest : public ::testing::Test
{
protected:
    static constexpr int Width = 1024;
    static constexpr int Height = 768;
    static constexpr float Step = 1.0f / 60.0f;
    // Virtual keys of the scripted source.
    static constexpr std::uint8_t LeftButton = 1;
    static constexpr std::uint8_t RightButton = 2;
    static constexpr std::uint8_t TabKey = 0x09;
    static constexpr std::uint8_t EnterKey = 0x0D;

    void SetUp() override
    {
        setenv("ENGINE_HEADLESS", "1", 1);
        Renderer::DisplayDescription description;
        description.width = Width;
        description.height = Height;
        renderer = RefPtr<Renderer::RecordingRenderer>(new Renderer::RecordingRenderer(description));
        scene = RefPtr<Engine::SceneGraph>(new Engine::SceneGraph(renderer.Get()));
        Input::InputSource::SetCurrent(&source);
        mouse = Input::MouseImp::CreateInstance();
        mouse->SetWindow(reinterpret_cast<PAL::Window*>(&source));
        keyboard = Input::KeyboardImp::CreateInstance();
        keyboard->ClearStartGuard();
        MoveTo(1000, 700);
        hud = std::make_unique<GUI::HUD>();
    }

    void TearDown() override
    {
        hud.reset();
        scene->GetRenderQueue().ClearScreenObjects();
        keyboard.Reset();
        mouse.Reset();
        Input::InputSource::SetCurrent(nullptr);
        scene.Reset();
        renderer.Reset();
    }

    // One frame: the devices read the source, the display updates and the
    // screen objects of the frame are kept until the next.
    void Frame()
    {
        scene->GetRenderQueue().ClearScreenObjects();
        mouse->Update();
        keyboard->Update();
        hud->Update(Step);
    }
    void Frames(int count)
    {
        for (int i = 0; i < count; ++i)
        {
            Frame();
        }
    }
    // Frames lasting `seconds`.
    void Wait(float seconds) { Frames(static_cast<int>(std::lround(seconds / Step))); }

    // Window pixels, y up.
    void MoveTo(int x, int y) { source.SetCursor(x, Height - 1 - y); }
    void Press(std::uint8_t button = LeftButton) { source.SetKeyDown(button, true); }
    void Release(std::uint8_t button = LeftButton) { source.SetKeyDown(button, false); }
    // A frame to arrive at (x, y), a press frame and a release frame.
    void ClickAt(int x, int y)
    {
        MoveTo(x, y);
        Frame();
        Press();
        Frame();
        Release();
        Frame();
    }
    void Key(std::uint8_t key)
    {
        source.SetKeyDown(key, true);
        Frame();
        source.SetKeyDown(key, false);
        Frame();
    }

    // A root form at (x, y) of size (w, h), added to the display.
    RefPtr<GUI::Form> AddForm(const std::string& name, float x, float y, float w, float h)
    {
        RefPtr<GUI::Form> form(new GUI::Form(Math::Vector2D(x, y), w, h));
        form->SetName(name);
        hud->AddForm(form.Get());
        log.Listen(*form);
        return form;
    }
    // A child of `parent` at (x, y) relative to it.
    RefPtr<GUI::Control> AddChild(GUI::Control& parent, const std::string& name, float x, float y, float w,
                                  float h)
    {
        RefPtr<GUI::Control> child(new GUI::Control(Math::Vector2D(x, y), w, h));
        child->SetName(name);
        parent.AddControl(child.Get());
        log.Listen(*child);
        return child;
    }

    Input::ScriptedInputSource source;
    RefPtr<Renderer::RecordingRenderer> renderer;
    RefPtr<Engine::SceneGraph> scene;
    RefPtr<Input::MouseImp> mouse;
    RefPtr<Input::KeyboardImp> keyboard;
    std::unique_ptr<GUI::HUD> hud;
    EventLog log;
};

} // namespace HudTest

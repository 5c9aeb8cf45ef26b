// The heads-up display's save: forms with their frames and close buttons,
// buttons, radio buttons and plain controls as one graph. A save that does
// not load leaves the running display as it was (its own save is the same
// bytes); one that loads runs a few frames, and saves, loads into a cleared
// display and saves again to the same bytes.

#include "core/Core_MemoryFile.h"
#include "engine/Engine_RenderQueue.h"
#include "fuzz/Fuzz_Support.h"
#include "gui/GUI_Button.h"
#include "gui/GUI_Form.h"
#include "gui/GUI_HUD.h"
#include "gui/GUI_RadioButton.h"

#include <cstdlib>
#include <cstdio>
#include <memory>

namespace
{

struct Display
{
    Display()
    {
        // Reports of unreadable resources and refused loads go to standard
        // error, never to a dialog.
        setenv("ENGINE_HEADLESS", "1", 1);
        hud = std::make_unique<GUI::HUD>();
        Core::RefPtr<GUI::Form> form(new GUI::Form(Math::Vector2D(40, 60), 300, 200));
        form->SetName("Running");
        hud->AddForm(form.Get());
        Core::RefPtr<GUI::Button> button(new GUI::Button());
        button->SetText("Ok");
        form->AddControl(button.Get());
        Core::RefPtr<GUI::RadioButton> radio(new GUI::RadioButton());
        form->AddControl(radio.Get());
        hud->Update(1.0f / 60.0f);
        queue.ClearScreenObjects();
        base = Save();
    }

    Fuzz::Bytes Save()
    {
        return Fuzz::WrittenBytes([&](Core::File& file) { hud->Save(file); });
    }

    bool Load(const std::uint8_t* data, std::size_t size)
    {
        Core::MemoryFile file(data, static_cast<std::uint32_t>(size));
        return hud->Load(file);
    }

    void Restore()
    {
        hud->Clear();
        Fuzz::Require(Load(base.data(), base.size()), "the running display's save loads");
    }

    Engine::RenderQueue queue;
    std::unique_ptr<GUI::HUD> hud;
    Fuzz::Bytes base;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Display display;
    const Fuzz::Bytes before = display.Save();
    if (!display.Load(data, size))
    {
        Fuzz::Require(display.Save() == before, "a display save that does not load changes nothing");
        return 0;
    }
    // What loaded runs, and saves to bytes that load again to the same.
    display.hud->Clear();
    Fuzz::Require(display.Load(data, size), "a display save loads into a cleared display");
    for (int frame = 0; frame < 3; ++frame)
    {
        display.hud->Update(1.0f / 60.0f);
        display.queue.ClearScreenObjects();
    }
    const Fuzz::Bytes once = display.Save();
    display.hud->Clear();
    Fuzz::Require(display.Load(once.data(), once.size()), "what a display saves loads again");
    Fuzz::Require(display.Save() == once, "a loaded display saves what it loaded");
    display.Restore();
    return 0;
}

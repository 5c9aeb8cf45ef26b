#include "GuiDemo_Scene.h"

namespace
{

using Core::RefPtr;
using Math::Vector2D;

// A new control's tab index is 0, which would sort it before every control
// added earlier but the first: each is given the next place instead.
void PlaceInTabOrder(GUI::Control& parent, GUI::Control& child)
{
    child.SetTabIndex(static_cast<std::int32_t>(parent.GetTabList().size()));
}

// The caption text starts at the caption bar's left edge: a few spaces set
// it off the frame's rounded corner.
const char* const CaptionIndent = "   ";

RefPtr<GUI::Button> MakeButton(GUI::Control& parent, const char* name, const char* text, Vector2D at,
                               float width)
{
    RefPtr<GUI::Button> button(new ("GuiDemo_Scene", __LINE__) GUI::Button());
    button->SetName(name);
    button->SetText(text);
    PlaceInTabOrder(parent, *button);
    parent.AddControl(button.Get());
    button->SetPosition(at);
    button->SetControlSize(width, 36.0f);
    return button;
}

RefPtr<GUI::RadioButton> MakeRadio(GUI::Control& parent, const char* name, Vector2D at)
{
    RefPtr<GUI::RadioButton> radio(new ("GuiDemo_Scene", __LINE__) GUI::RadioButton());
    radio->SetName(name);
    PlaceInTabOrder(parent, *radio);
    parent.AddControl(radio.Get());
    radio->SetPosition(at);
    return radio;
}

} // namespace

GuiDemoScene::GuiDemoScene(GUI::HUD& hud) : hud_(hud)
{
    RefPtr<GUI::Form> main(new ("GuiDemo_Scene", __LINE__) GUI::Form(Vector2D(40, 100), 600, 560));
    main->SetName("Controls");
    main->SetText(std::string(CaptionIndent) + "Controls");
    // The demo's main window and its panel stay: only the modal form closes.
    main->SetCloseButtonVisible(false);
    hud_.AddForm(main.Get());

    MakeButton(*main, "Start", "Start", Vector2D(24, 440), 170);
    MakeButton(*main, "Disabled", "Disabled", Vector2D(24, 388), 170)->SetEnabled(false);
    MakeButton(*main, "Wide", "A caption far wider than its button", Vector2D(24, 336), 120);
    MakeButton(*main, "OpenModal", "Open modal", Vector2D(24, 284), 170);
    MakeRadio(*main, "Red", Vector2D(240, 470));
    MakeRadio(*main, "Green", Vector2D(240, 440));
    MakeRadio(*main, "Blue", Vector2D(240, 410));

    RefPtr<GUI::Form> options(new ("GuiDemo_Scene", __LINE__) GUI::Form(Vector2D(250, 40), 300, 220));
    options->SetName("Options");
    options->SetText(std::string(CaptionIndent) + "Options");
    options->SetCloseButtonVisible(false);
    PlaceInTabOrder(*main, *options);
    main->AddControl(options.Get());
    MakeRadio(*options, "Small", Vector2D(30, 130));
    MakeRadio(*options, "Medium", Vector2D(30, 100));
    MakeRadio(*options, "Large", Vector2D(30, 70));

    ListenToDisplay();
}

void GuiDemoScene::OpenModal(GUI::Control*)
{
    if (hud_.FindFormByName("Modal") != nullptr)
    {
        return;
    }
    RefPtr<GUI::Form> modal(new ("GuiDemo_Scene", __LINE__) GUI::Form(Vector2D(600, 300), 320, 200));
    modal->SetName("Modal");
    modal->SetText(std::string(CaptionIndent) + "Modal");
    hud_.AddForm(modal.Get());
    MakeButton(*modal, "Ok", "Ok", Vector2D(102, 50), 100);
    modal->SetModal(true);
    ListenToTree(*modal);
}

void GuiDemoScene::CloseModal(GUI::Control* sender)
{
    for (GUI::Control* control = sender; control != nullptr; control = control->GetParent())
    {
        if (auto* form = dynamic_cast<GUI::Form*>(control))
        {
            form->Close();
            return;
        }
    }
}

void GuiDemoScene::ListenToDisplay()
{
    for (const RefPtr<GUI::Form>& form : hud_.GetForms())
    {
        ListenToTree(*form);
    }
}

void GuiDemoScene::ListenToTree(GUI::Control& control)
{
    Listen(control);
    for (std::uint32_t i = 0; i < control.GetControlCount(); ++i)
    {
        ListenToTree(*control.GetControl(i));
    }
}

// Joining a list twice is refused, so a tree may be listened to again.
void GuiDemoScene::Listen(GUI::Control& control)
{
    using GUI::Event;
    control.AddListener(Event::Click, this, &GuiDemoScene::Click);
    control.AddListener(Event::DoubleClick, this, &GuiDemoScene::DoubleClick);
    control.AddListener(Event::Event3, this, &GuiDemoScene::Event3);
    control.AddListener(Event::ClickDone, this, &GuiDemoScene::ClickDone);
    control.AddListener(Event::DoubleClickDone, this, &GuiDemoScene::DoubleClickDone);
    control.AddListener(Event::MouseEnter, this, &GuiDemoScene::MouseEnter);
    control.AddListener(Event::MouseHover, this, &GuiDemoScene::MouseHover);
    control.AddListener(Event::MouseLeave, this, &GuiDemoScene::MouseLeave);
    control.AddListener(Event::MouseMove, this, &GuiDemoScene::MouseMove);
    control.AddListener(Event::MouseUp, this, &GuiDemoScene::MouseUp);
    control.AddListener(Event::MouseDown, this, &GuiDemoScene::MouseDown);
    control.AddListener(Event::Event12, this, &GuiDemoScene::Event12);
    control.AddListener(Event::SizeChanged, this, &GuiDemoScene::SizeChanged);
    if (auto* radio = dynamic_cast<GUI::RadioButton*>(&control))
    {
        radio->AddCheckedChangedListener(this, &GuiDemoScene::CheckedChanged);
    }
    if (control.GetName() == "OpenModal")
    {
        control.AddListener(GUI::Event::Click, this, &GuiDemoScene::OpenModal);
    }
    if (control.GetName() == "Ok")
    {
        control.AddListener(GUI::Event::Click, this, &GuiDemoScene::CloseModal);
    }
}

std::string GuiDemoScene::LogName(const GUI::Control& control)
{
    if (control.GetName() == GUI::Form::CloseButtonName && control.GetParent() != nullptr)
    {
        return control.GetParent()->GetName() + "/Close";
    }
    return control.GetName();
}

void GuiDemoScene::Add(GUI::Control* control, const std::string& event)
{
    events_.push_back(LogName(*control) + "." + event);
}

void GuiDemoScene::AddMouse(GUI::Control* control, const char* event, const GUI::MouseEvent& e)
{
    Add(control, std::string(event) + "(" + std::to_string(e.button) + ")");
}

std::vector<std::string> GuiDemoScene::TakeEvents()
{
    std::vector<std::string> events;
    events.swap(events_);
    return events;
}

std::string GuiDemoScene::TakeFrameLog()
{
    std::string line;
    for (const std::string& event : TakeEvents())
    {
        line += (line.empty() ? "" : " ") + event;
    }
    return line.empty() ? "-" : line;
}

namespace
{

std::string NameOf(const GUI::Control* control)
{
    return control != nullptr ? GuiDemoScene::LogName(*control) : std::string("-");
}

void CollectChecked(const GUI::Control& control, std::string& names)
{
    for (std::uint32_t i = 0; i < control.GetControlCount(); ++i)
    {
        const GUI::Control& child = *control.GetControl(i);
        const auto* radio = dynamic_cast<const GUI::RadioButton*>(&child);
        if (radio != nullptr && radio->GetChecked())
        {
            names += (names.empty() ? "" : ",") + radio->GetName();
        }
        CollectChecked(child, names);
    }
}

} // namespace

std::string GuiDemoScene::DescribeState() const
{
    std::string line;
    const GUI::Form* main = hud_.FindFormByName("Controls");
    if (main != nullptr)
    {
        line += "main=" + std::to_string(static_cast<int>(main->GetPosition().x)) + "," +
                std::to_string(static_cast<int>(main->GetPosition().y));
    }
    else
    {
        line += "main=-";
    }
    line += " active=" + NameOf(hud_.GetActiveForm());
    line += " focus=" + NameOf(hud_.GetActiveControl());
    line += " modal=" + NameOf(hud_.GetModalForm());
    std::string checked;
    for (const Core::RefPtr<GUI::Form>& form : hud_.GetForms())
    {
        CollectChecked(*form, checked);
    }
    line += " checked=" + (checked.empty() ? std::string("-") : checked);
    return line;
}

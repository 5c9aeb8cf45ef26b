#include "gui/GUI_RadioButton.h"

#include "core/Core_File.h"
#include "gui/GUI_Folders.h"
#include "gui/GUI_HUD.h"

namespace GUI
{

CORE_DEFINE_OBJECT_BASICS(RadioButton, "GUI::RadioButton", "RadioButton", "GUI_RadioButton", __LINE__)
static const Core::ClassRegistrar g_radioButtonRegistrar("GUI::RadioButton", &RadioButton::Create);

Core::Object* RadioButton::Clone() const
{
    auto* copy = new ("GUI_RadioButton", __LINE__) RadioButton();
    copy->SetPosition(GetPosition());
    return copy;
}

RadioButton::RadioButton() : Control(Math::Vector2D(0.0f, 0.0f), 64.0f, 64.0f)
{
    const HUD* hud = HUD::GetInstance();
    if (hud != nullptr && hud->IsLoading())
    {
        return;
    }
    checked_ = 0;
    StoreSize(Side, Side);
    UpdateRectangles();
    image_ = new ("GUI_RadioButton", __LINE__) GuiImage(GetSkinPath(DefaultRadioButtonSkin), Size{Side, Side});
    image_->SetPosition(Math::Vector2D(0.0f, 0.0f));
    ShowResting();
}

RadioButton::~RadioButton() = default;

void RadioButton::Show(Look look)
{
    if (image_)
    {
        image_->SetState(look + (checked_ != 0 ? CheckedOffset : 0));
    }
}

void RadioButton::ShowResting()
{
    if (IsFocused())
    {
        Show(FocusedLook);
    }
    else
    {
        Show(IsEnabled() ? NormalLook : DisabledLook);
    }
}

void RadioButton::SetChecked(bool checked)
{
    if (checked_ == 0 && checked)
    {
        checked_ = 1;
        CheckedChanged();
        // The listeners may have changed the tree: the siblings are taken
        // from the parent as it stands now, each held while it changes.
        if (Control* parent = GetParent())
        {
            const Core::RefPtr<Control> keep(parent);
            for (std::uint32_t i = 0; i < parent->GetControlCount(); ++i)
            {
                auto* sibling = dynamic_cast<RadioButton*>(parent->GetControl(i));
                if (sibling != nullptr && sibling != this && sibling->GetChecked())
                {
                    const Core::RefPtr<Control> hold(sibling);
                    sibling->SetChecked(false);
                }
            }
        }
    }
    else
    {
        checked_ = checked ? 1 : 0;
    }
    ShowResting();
}

bool RadioButton::AddCheckedChangedListener(std::unique_ptr<Listener> listener)
{
    for (const std::unique_ptr<Listener>& present : checkedChanged_)
    {
        if (present->Same(*listener))
        {
            return false;
        }
    }
    checkedChanged_.push_back(std::move(listener));
    return true;
}

void RadioButton::CheckedChanged()
{
    const Core::RefPtr<Control> keep(GetReferenceCount() > 0 ? this : nullptr);
    for (std::size_t i = 0; i < checkedChanged_.size(); ++i)
    {
        (*checkedChanged_[i])(this);
    }
}

// --- Slots ---------------------------------------------------------------------

void RadioButton::SetPosition(const Math::Vector2D& position)
{
    Control::SetPosition(position);
    if (image_)
    {
        image_->SetPosition(GetAbsolutePosition());
    }
}

void RadioButton::SetVisible(bool visible)
{
    Control::SetVisible(visible);
    if (image_)
    {
        image_->SetVisible(visible);
    }
}

void RadioButton::SetModulationColor(const Math::Vector4& color)
{
    Control::SetModulationColor(color);
    if (image_)
    {
        image_->SetModulationColor(color);
    }
}

void RadioButton::Click()
{
    if (IsEnabled())
    {
        SetChecked(true);
        Control::Click();
    }
}

void RadioButton::Event3()
{
    if (IsEnabled())
    {
        Control::Event3();
    }
}

void RadioButton::ClickDone()
{
    if (IsEnabled())
    {
        Control::ClickDone();
    }
}

void RadioButton::DoubleClickDone()
{
    if (IsEnabled())
    {
        Control::DoubleClickDone();
    }
}

void RadioButton::MouseHover()
{
    if (IsEnabled())
    {
        Control::MouseHover();
    }
}

void RadioButton::MouseMove(const MouseEvent& event)
{
    if (IsEnabled())
    {
        Control::MouseMove(event);
    }
}

void RadioButton::MouseEnter()
{
    if (IsEnabled())
    {
        Show(HoverLook);
        Control::MouseEnter();
    }
}

void RadioButton::MouseLeave()
{
    if (IsEnabled())
    {
        Show(IsFocused() ? FocusedLook : NormalLook);
        Control::MouseLeave();
    }
}

void RadioButton::MouseUp(const MouseEvent& event)
{
    if (IsEnabled())
    {
        Show(HoverLook);
        Control::MouseUp(event);
    }
}

void RadioButton::MouseDown(const MouseEvent& event)
{
    if (IsEnabled())
    {
        // The press moves the focus, whose look would hide the pressed one
        // for as long as the button is held: pressed shows after it.
        const Core::RefPtr<Control> keep(GetReferenceCount() > 0 ? this : nullptr);
        Control::MouseDown(event);
        Show(PressedLook);
    }
}

void RadioButton::SizeChanged()
{
    if (image_)
    {
        image_->SetWidth(GetWidth());
        image_->SetHeight(GetHeight());
    }
    Control::SizeChanged();
}

void RadioButton::OnSkinChanged()
{
    if (image_)
    {
        image_ = GuiImage::CreateReskinned(GetSkinPath(GetSkin()), *image_);
    }
}

void RadioButton::UpdatePosition()
{
    Control::UpdatePosition();
    if (image_)
    {
        image_->SetPosition(GetAbsolutePosition());
    }
}

void RadioButton::ApplyEnabled()
{
    Show(IsEnabled() ? NormalLook : DisabledLook);
}

void RadioButton::ApplyOpacity()
{
    if (image_)
    {
        image_->SetOpacity(GetOpacity());
    }
}

void RadioButton::Focus()
{
    if (IsEnabled())
    {
        Control::Focus();
        Show(FocusedLook);
    }
}

void RadioButton::Unfocus()
{
    if (IsEnabled())
    {
        Control::Unfocus();
        Show(NormalLook);
    }
}

void RadioButton::PostUpdate(float)
{
    if (!IsVisible() || !image_)
    {
        return;
    }
    image_->SetPosition(GetAbsolutePosition());
    image_->SetDepth(GetDepth());
    image_->Draw(GetDrawingClipRectangle());
}

// --- Persistence ---------------------------------------------------------------

void RadioButton::Write(Core::File& file) const
{
    Control::Write(file);
    file.WriteObject(image_.Get());
    file << checked_;
}

void RadioButton::Read(Core::File& file)
{
    Core::File::ReadingScope scope(file, *this);
    Record record;
    if (!ReadRecord(file, record))
    {
        return;
    }
    Core::RefPtr<GuiImage> image;
    std::uint8_t checked = 0;
    Core::ReadRefPtr(file, image);
    file >> checked;
    if (file.Failed())
    {
        return;
    }
    if (!image || checked > 1)
    {
        file.SetError(Core::FileError::BadData);
        return;
    }
    ApplyRecord(record, file);
    image_ = image;
    checked_ = checked;
}

} // namespace GUI

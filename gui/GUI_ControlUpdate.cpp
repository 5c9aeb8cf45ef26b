// A control's frame: tree changes, depth stamp, keyboard and mouse events,
// then its children.

#include "gui/GUI_Control.h"
#include "gui/GUI_Graphics.h"
#include "gui/GUI_HUD.h"
#include "gui/GUI_RadioButton.h"
#include "input/Input_KeyboardImp.h"
#include "input/Input_MouseImp.h"

#include <algorithm>

namespace GUI
{

namespace
{

constexpr std::int32_t TabKey = 7;
constexpr std::int32_t EnterKey = 9;

bool KeyTriggered(std::int32_t key)
{
    const Input::KeyboardImp* keyboard = Input::KeyboardImp::GetInstance();
    return keyboard != nullptr && keyboard->IsTriggered(key);
}

bool ButtonPressed(std::int32_t button)
{
    const Input::MouseImp* mouse = Input::MouseImp::GetInstance();
    return mouse != nullptr && mouse->IsPressed(button);
}

bool ButtonDown(std::int32_t button)
{
    const Input::MouseImp* mouse = Input::MouseImp::GetInstance();
    return mouse != nullptr && mouse->IsDown(button);
}

bool ButtonUp(std::int32_t button)
{
    const Input::MouseImp* mouse = Input::MouseImp::GetInstance();
    return mouse != nullptr && mouse->IsUp(button);
}

} // namespace

MouseEvent Control::MakeEvent(std::uint32_t button) const
{
    MouseEvent event;
    event.button = button;
    event.x = mousePosition_.x;
    event.y = mousePosition_.y;
    return event;
}

void Control::Update(float dt)
{
    // Listeners may release the control's other references.
    const Core::RefPtr<Control> keep(GetReferenceCount() > 0 ? this : nullptr);
    HUD* hud = HUD::GetInstance();

    // 1. A child brought to the front goes last.
    if (childToFront_)
    {
        const Core::RefPtr<Control> child = childToFront_;
        childToFront_ = nullptr;
        const auto found = std::find(children_.begin(), children_.end(), child);
        if (found != children_.end())
        {
            children_.erase(found);
            children_.push_back(child);
        }
    }
    // 2. Depth stamp.
    HUD::DepthCounter() += 1.0f;
    StampDepth();
    // 3. Pending removals.
    ProcessRemovals();
    // 4. First-update work.
    if (layoutDirty_ != 0)
    {
        FocusFirstTabStop();
        CheckFirstRadioButton();
        layoutDirty_ = 0;
    }
    // 5. Hover and mouse position.
    Control* hovered = hud != nullptr ? hud->GetHoveredControl() : nullptr;
    Control* pressed = hud != nullptr ? hud->GetPressedControl() : nullptr;
    mouseDirectlyOver_ = hovered == this ? 1 : 0;
    mousePosition_ = GetMousePosition();
    // 6. Tab on the active root.
    if (parent_ == nullptr && hud != nullptr && hud->GetActiveForm() == this && KeyTriggered(TabKey))
    {
        TabToNext();
    }
    // 7. Enter on a focused control.
    const bool blocked = IsBlocked();
    if (!blocked && focused_ != 0 && acceptsEnter_ != 0 && KeyTriggered(EnterKey))
    {
        Click();
    }
    // 8 to 11. Enter, leave, hover, move and press.
    const bool isHovered = hovered == this;
    const bool isPressed = pressed == this;
    const bool noPress = pressed == nullptr;
    const bool directlyOver = mouseDirectlyOver_ != 0;
    if (isHovered && (isPressed || noPress))
    {
        HandleMouseCursor();
        if (!blocked && directlyOver && mouseEntered_ == 0)
        {
            mouseEntered_ = 1;
            MouseEnter();
        }
    }
    if (isPressed || noPress)
    {
        if (!blocked && !directlyOver && mouseEntered_ != 0)
        {
            mouseEntered_ = 0;
            MouseLeave();
        }
    }
    if (isHovered && (isPressed || noPress))
    {
        if (!blocked && directlyOver && mousePosition_ == previousMousePosition_)
        {
            MouseHover();
        }
        if (!blocked && directlyOver && mousePosition_ != previousMousePosition_)
        {
            std::uint32_t button = 3;
            if (ButtonPressed(0))
            {
                button = 0;
            }
            else if (ButtonDown(2))
            {
                button = 2;
            }
            else if (ButtonDown(1))
            {
                button = 1;
            }
            MouseMove(MakeEvent(button));
        }
        HandleMouseDown();
    }
    // 12. The double-click window.
    if (clickTimer_ > doubleClickMaximum_)
    {
        firstClickSeen_ = 0;
        clickTimer_ = 0.0f;
    }
    else if (firstClickSeen_ != 0)
    {
        clickTimer_ += dt;
    }
    // 13. Release.
    if (isPressed)
    {
        HandleMouseUp();
    }
    // 14.
    previousMousePosition_ = mousePosition_;
    // 15. Own work and children; the children vector may change under a
    // listener, so it is walked by index with the child held.
    PreUpdate(dt);
    for (std::size_t i = 0; i < children_.size(); ++i)
    {
        const Core::RefPtr<Control> child = children_[i];
        child->Update(dt);
    }
    PostUpdate(dt);
}

void Control::CheckFirstRadioButton()
{
    RadioButton* first = nullptr;
    for (const Core::RefPtr<Control>& child : children_)
    {
        if (auto* radio = dynamic_cast<RadioButton*>(child.Get()))
        {
            if (radio->GetChecked())
            {
                return;
            }
            if (first == nullptr && radio->IsEnabled())
            {
                first = radio;
            }
        }
    }
    if (first != nullptr)
    {
        first->SetChecked(true);
    }
}

void Control::HandleMouseCursor()
{
    HUD* hud = HUD::GetInstance();
    if (hud == nullptr || IsBlocked() || !IsEnabled() || mouseDirectlyOver_ == 0)
    {
        return;
    }
    hud->GetCursorManager()->SetCursor(cursor_);
}

void Control::HandleMouseDown()
{
    if (mouseDirectlyOver_ == 0 || !(ButtonDown(0) || ButtonDown(1) || ButtonDown(2)))
    {
        return;
    }
    if (IsBlocked())
    {
        if (HUD* hud = HUD::GetInstance())
        {
            hud->SignalModalForm();
        }
        return;
    }
    pressed_ = 1;
    MouseDown(MakeEvent(ButtonDown(0) ? 0 : (ButtonDown(1) ? 1 : 2)));
}

void Control::HandleMouseUp()
{
    if (IsBlocked() || pressed_ == 0 || !(ButtonUp(0) || ButtonUp(1) || ButtonUp(2)))
    {
        return;
    }
    pressed_ = 0;
    const Core::RefPtr<Control> keep(GetReferenceCount() > 0 ? this : nullptr);
    if (mouseEntered_ != 0)
    {
        if (firstClickSeen_ != 0 && clickTimer_ >= doubleClickMinimum_ && clickTimer_ <= doubleClickMaximum_)
        {
            firstClickSeen_ = 0;
            DoubleClick();
            DoubleClickDone();
        }
        else
        {
            firstClickSeen_ = 1;
            Click();
            ClickDone();
        }
        clickTimer_ = 0.0f;
    }
    MouseUp(MakeEvent(ButtonUp(0) ? 0 : (ButtonUp(1) ? 1 : 2)));
}

} // namespace GUI

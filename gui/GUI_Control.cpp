#include "gui/GUI_Control.h"

#include "engine/Engine_FontCache.h"
#include "gui/GUI_Folders.h"
#include "gui/GUI_Form.h"
#include "gui/GUI_Graphics.h"
#include "gui/GUI_HUD.h"

#include <algorithm>

namespace GUI
{

CORE_DEFINE_OBJECT_BASICS(Control, "GUI::Control", "Control", "GUI_Control", __LINE__)
static const Core::ClassRegistrar g_controlRegistrar("GUI::Control", &Control::Create);

Core::Object* Control::Clone() const
{
    return new ("GUI_Control", __LINE__) Control(position_, width_, height_);
}

namespace
{

// The default cursor every control starts with.
Core::RefPtr<Cursor> MakeDefaultCursor()
{
    Core::RefPtr<Cursor> cursor(new ("GUI_Control", __LINE__) Cursor(GetCursorPath(DefaultCursor)));
    cursor->SetHotSpot(Math::Vector2D(0.0f, 32.0f));
    return cursor;
}

template <class U> const Control* Address(const Core::RefPtr<U>& control)
{
    return control.Get();
}

template <class T> void RemoveAll(std::vector<T>& list, const Control* control)
{
    list.erase(std::remove_if(list.begin(), list.end(),
                              [control](const T& entry) { return Address(entry) == control; }),
               list.end());
}

} // namespace

Control::Control() : Control(Math::Vector2D(0.0f, 0.0f), 64.0f, 64.0f) {}

Control::Control(const Math::Vector2D& position, float width, float height)
    : position_(position), cursor_(MakeDefaultCursor()),
      textDrawable_(new ("GUI_Control", __LINE__) Engine::StringRenderContext()), width_(width),
      height_(height)
{
    UpdateRectangles();
}

Control::~Control()
{
    for (const Core::RefPtr<Control>& child : children_)
    {
        if (child->parent_ == this)
        {
            child->parent_ = nullptr;
        }
    }
    if (HUD* hud = HUD::GetInstance())
    {
        hud->UnregisterControl(this);
    }
}

// --- Events ------------------------------------------------------------------

bool Control::HasArgument(Event event)
{
    return event == Event::MouseMove || event == Event::MouseUp || event == Event::MouseDown ||
           event == Event::Event12;
}

bool Control::AddListener(Event event, std::unique_ptr<Listener> listener)
{
    auto& list = listeners_[static_cast<std::uint32_t>(event)];
    for (const std::unique_ptr<Listener>& present : list)
    {
        if (present->Same(*listener))
        {
            return false;
        }
    }
    list.push_back(std::move(listener));
    return true;
}

bool Control::AddListener(Event event, std::unique_ptr<MouseListener> listener)
{
    auto& list = mouseListeners_[static_cast<std::uint32_t>(event)];
    for (const std::unique_ptr<MouseListener>& present : list)
    {
        if (present->Same(*listener))
        {
            return false;
        }
    }
    list.push_back(std::move(listener));
    return true;
}

void Control::RemoveListenersOf(const void* object)
{
    for (auto& list : listeners_)
    {
        list.erase(std::remove_if(list.begin(), list.end(),
                                  [object](const std::unique_ptr<Listener>& listener)
                                  { return listener->GetObject() == object; }),
                   list.end());
    }
    for (auto& list : mouseListeners_)
    {
        list.erase(std::remove_if(list.begin(), list.end(),
                                  [object](const std::unique_ptr<MouseListener>& listener)
                                  { return listener->GetObject() == object; }),
                   list.end());
    }
}

std::size_t Control::GetListenerCount(Event event) const
{
    const auto index = static_cast<std::uint32_t>(event);
    return HasArgument(event) ? mouseListeners_[index].size() : listeners_[index].size();
}

void Control::Fire(Event event)
{
    // A listener may drop the last other reference to this control.
    const Core::RefPtr<Control> keep(GetReferenceCount() > 0 ? this : nullptr);
    auto& list = listeners_[static_cast<std::uint32_t>(event)];
    for (std::size_t i = 0; i < list.size(); ++i)
    {
        (*list[i])(this);
    }
}

void Control::Fire(Event event, const MouseEvent& argument)
{
    const Core::RefPtr<Control> keep(GetReferenceCount() > 0 ? this : nullptr);
    auto& list = mouseListeners_[static_cast<std::uint32_t>(event)];
    for (std::size_t i = 0; i < list.size(); ++i)
    {
        (*list[i])(this, argument);
    }
}

void Control::Click()
{
    Fire(Event::Click);
}

void Control::DoubleClick()
{
    Fire(Event::DoubleClick);
}

void Control::Event3()
{
    Fire(Event::Event3);
}

void Control::ClickDone()
{
    Fire(Event::ClickDone);
}

void Control::DoubleClickDone()
{
    Fire(Event::DoubleClickDone);
}

void Control::MouseEnter()
{
    Fire(Event::MouseEnter);
}

void Control::MouseHover()
{
    Fire(Event::MouseHover);
}

void Control::MouseLeave()
{
    Fire(Event::MouseLeave);
}

void Control::MouseMove(const MouseEvent& event)
{
    Fire(Event::MouseMove, event);
}

void Control::MouseUp(const MouseEvent& event)
{
    Fire(Event::MouseUp, event);
}

void Control::MouseDown(const MouseEvent& event)
{
    const Core::RefPtr<Control> keep(GetReferenceCount() > 0 ? this : nullptr);
    HUD* hud = HUD::GetInstance();
    if (focusToParent_ != 0 && parent_ != nullptr)
    {
        Control* parent = parent_;
        if (Control* grandparent = parent->parent_)
        {
            if (grandparent->SetTabPosition(parent->tabIndex_))
            {
                grandparent->FocusTabPosition();
            }
        }
        parent->Activate();
        if (parent->parent_ != nullptr)
        {
            parent->TakeFocus();
        }
        else
        {
            parent->RestoreChildFocus();
        }
    }
    else
    {
        if (parent_ != nullptr)
        {
            if (parent_->SetTabPosition(tabIndex_))
            {
                parent_->FocusTabPosition();
            }
        }
        else if (hud != nullptr && hud->GetActiveControl() != nullptr)
        {
            hud->GetActiveControl()->OnRootMouseDown();
        }
        Activate();
        if (parent_ != nullptr)
        {
            TakeFocus();
        }
        else
        {
            RestoreChildFocus();
        }
    }
    Fire(Event::MouseDown, event);
}

void Control::Event12(const MouseEvent& event)
{
    Fire(Event::Event12, event);
}

void Control::SizeChanged()
{
    Fire(Event::SizeChanged);
}

// --- Properties --------------------------------------------------------------

void Control::SetPosition(const Math::Vector2D& position)
{
    position_ = position;
    // The children place what they draw from their absolute positions.
    for (std::size_t i = 0; i < children_.size(); ++i)
    {
        children_[i]->UpdatePosition();
    }
    UpdateRectangles();
}

void Control::SetVisible(bool visible)
{
    visible_ = visible ? 1 : 0;
    if (parent_ != nullptr && focused_ != 0 && enabled_ != 0 && parent_->IsEnabled())
    {
        if (parent_->AdvanceTabPosition())
        {
            parent_->FocusTabPosition();
        }
    }
}

void Control::SetFont(const std::string& name)
{
    if (name == fontName_)
    {
        return;
    }
    fontName_ = name;
    const std::string path = GetFontPath(name);
    Engine::FontCache* cache = Engine::FontCache::GetInstance();
    font_ = cache != nullptr
                ? cache->GetFont(path)
                : Core::RefPtr<Engine::BitmapFont>(new ("GUI_Control", __LINE__) Engine::BitmapFont(path));
    OnFontChanged();
}

void Control::SetOpacity(float opacity)
{
    // NaN is no opacity: it stays as it was.
    if (!(opacity == opacity))
    {
        return;
    }
    opacity_ = std::clamp(opacity, 0.0f, 1.0f);
    ApplyOpacityToTree();
}

void Control::ApplyOpacityToTree()
{
    ApplyOpacity();
    for (std::size_t i = 0; i < children_.size(); ++i)
    {
        children_[i]->ApplyOpacityToTree();
    }
}

void Control::SetEnabled(bool enabled)
{
    enabled_ = enabled ? 1 : 0;
    if (parent_ != nullptr && focused_ != 0 && !(enabled && parent_->IsEnabled()))
    {
        if (parent_->AdvanceTabPosition())
        {
            parent_->FocusTabPosition();
        }
    }
    ApplyEnabledToTree();
}

void Control::ApplyEnabledToTree()
{
    ApplyEnabled();
    for (std::size_t i = 0; i < children_.size(); ++i)
    {
        children_[i]->ApplyEnabledToTree();
    }
}

float Control::GetOpacity() const
{
    if (parent_ != nullptr)
    {
        const float parentOpacity = parent_->GetOpacity();
        if (parentOpacity < 1.0f)
        {
            return opacity_ * parentOpacity;
        }
    }
    return opacity_;
}

bool Control::IsVisible() const
{
    return visible_ != 0 && (parent_ == nullptr || parent_->IsVisible());
}

bool Control::IsEnabled() const
{
    return enabled_ != 0 && (parent_ == nullptr || parent_->IsEnabled());
}

bool Control::IsBlocked() const
{
    HUD* hud = HUD::GetInstance();
    const Control* modal = hud != nullptr ? hud->GetModalForm() : nullptr;
    return modal != nullptr && modal != this && modal != parent_;
}

bool Control::IsDescendantOf(const Control* ancestor) const
{
    for (const Control* control = this; control != nullptr; control = control->parent_)
    {
        if (control == ancestor)
        {
            return true;
        }
    }
    return false;
}

void Control::SetControlSize(float width, float height)
{
    width_ = width;
    height_ = height;
    SizeChanged();
}

void Control::SetSkin(const std::string& skin)
{
    if (skin == skinName_)
    {
        return;
    }
    skinName_ = skin;
    OnSkinChanged();
}

Control* Control::GetControl(const std::string& name) const
{
    for (const Core::RefPtr<Control>& child : children_)
    {
        if (child->name_ == name)
        {
            return child.Get();
        }
    }
    return nullptr;
}

// --- Tree ----------------------------------------------------------------------

void Control::AddControl(Control* child)
{
    if (child == nullptr || child == this || IsDescendantOf(child))
    {
        return;
    }
    child->parent_ = this;
    children_.emplace_back(child);
    if (child->tabStop_ != 0)
    {
        tabList_.emplace_back(child);
    }
    SortTabList();
    child->UpdatePosition();
    lastAddedChild_ = child;
    if (HUD* hud = HUD::GetInstance())
    {
        hud->RegisterControl(child);
    }
}

void Control::SetTabStop(bool tabStop)
{
    const std::uint8_t value = tabStop ? 1 : 0;
    if (value == tabStop_)
    {
        return;
    }
    tabStop_ = value;
    if (parent_ == nullptr)
    {
        return;
    }
    if (tabStop)
    {
        parent_->tabList_.emplace_back(this);
    }
    else
    {
        RemoveAll(parent_->tabList_, this);
    }
    parent_->SortTabList();
}

void Control::SortTabList()
{
    std::stable_sort(tabList_.begin(), tabList_.end(),
                     [](const Core::RefPtr<Control>& a, const Core::RefPtr<Control>& b)
                     { return a->tabIndex_ < b->tabIndex_; });
    for (std::size_t i = 0; i < tabList_.size(); ++i)
    {
        tabList_[i]->tabIndex_ = static_cast<std::int32_t>(i);
    }
    ClampTabPositions();
}

void Control::ClampTabPositions()
{
    const auto size = static_cast<std::int32_t>(tabList_.size());
    if (tabPosition_ < -1 || tabPosition_ >= size)
    {
        tabPosition_ = -1;
    }
    if (previousTabPosition_ < -1 || previousTabPosition_ >= size)
    {
        previousTabPosition_ = -1;
    }
}

void Control::Forget(Control* child)
{
    if (lastAddedChild_ == child)
    {
        lastAddedChild_ = nullptr;
    }
    if (rememberedChild_ == child)
    {
        rememberedChild_ = nullptr;
    }
    if (childToFront_ == child)
    {
        childToFront_ = nullptr;
    }
    if (child->parent_ == this)
    {
        child->parent_ = nullptr;
    }
}

void Control::Destroy()
{
    const Core::RefPtr<Control> keep(GetReferenceCount() > 0 ? this : nullptr);
    UnregisterTree();
    HUD* hud = HUD::GetInstance();
    if (parent_ != nullptr)
    {
        parent_->pendingRemovals_.emplace_back(this);
        if (hud != nullptr)
        {
            hud->ForgetControl(this);
        }
    }
    else if (hud != nullptr)
    {
        hud->RemoveForm(this);
    }
    if (hud != nullptr)
    {
        hud->ForgetControl(this);
    }
}

void Control::UnregisterTree()
{
    const Core::RefPtr<Control> keep(GetReferenceCount() > 0 ? this : nullptr);
    for (std::size_t i = 0; i < children_.size(); ++i)
    {
        children_[i]->UnregisterTree();
    }
    if (HUD* hud = HUD::GetInstance())
    {
        hud->UnregisterControl(this);
    }
    std::vector<Core::RefPtr<Control>> released;
    released.swap(children_);
    for (const Core::RefPtr<Control>& child : released)
    {
        Forget(child.Get());
    }
    tabList_.clear();
    ClampTabPositions();
}

void Control::ProcessRemovals()
{
    std::vector<Core::RefPtr<Control>> removals;
    removals.swap(pendingRemovals_);
    HUD* hud = HUD::GetInstance();
    for (const Core::RefPtr<Control>& removal : removals)
    {
        if (!removal || removal.Get() == this)
        {
            continue;
        }
        RemoveAll(children_, removal.Get());
        RemoveAll(tabList_, removal.Get());
        SortTabList();
        if (hud != nullptr)
        {
            hud->UnregisterControl(removal.Get());
        }
        Forget(removal.Get());
    }
}

NRectangle Control::GetDrawingClipRectangle() const
{
    if (parent_ == nullptr)
    {
        return NRectangle(0.0f, 0.0f, static_cast<float>(GetScreenWidth()),
                          static_cast<float>(GetScreenHeight()));
    }
    return clipMode_ == 2 ? parent_->visibleClientRectangle_ : parent_->visibleRectangle_;
}

Math::Vector2D Control::GetAbsolutePosition() const
{
    if (parent_ == nullptr)
    {
        return position_;
    }
    const Math::Vector2D parentPosition = parent_->GetAbsolutePosition();
    const Math::Vector2D offset = parent_->GetClientOffset();
    return Math::Vector2D(parentPosition.x + offset.x + position_.x,
                          parentPosition.y + offset.y + position_.y);
}

void Control::UpdatePosition()
{
    const Math::Vector2D absolute = GetAbsolutePosition();
    rectangle_ = NRectangle(absolute.x, absolute.y, width_, height_);
    SetClientRectangle();
    ClipRectangles();
    for (std::size_t i = 0; i < children_.size(); ++i)
    {
        children_[i]->UpdatePosition();
    }
}

void Control::UpdateRectangles()
{
    const Math::Vector2D absolute = GetAbsolutePosition();
    rectangle_ = NRectangle(absolute.x, absolute.y, width_, height_);
    SetClientRectangle();
    ClipRectangles();
    for (std::size_t i = 0; i < children_.size(); ++i)
    {
        children_[i]->UpdateRectangles();
    }
}

void Control::ClipRectangles()
{
    visibleRectangle_ = rectangle_;
    visibleClientRectangle_ = clientRectangle_;
    if (clipMode_ == 0 || parent_ == nullptr)
    {
        return;
    }
    const NRectangle& clip = clipMode_ == 2 ? parent_->visibleClientRectangle_ : parent_->visibleRectangle_;
    if (!NRectangle::Intersect(visibleRectangle_, visibleRectangle_, clip))
    {
        visibleRectangle_ = NRectangle();
    }
    if (!NRectangle::Intersect(visibleClientRectangle_, visibleClientRectangle_, clip))
    {
        visibleClientRectangle_ = NRectangle();
    }
}

bool Control::IsMouseOver() const
{
    if (!IsVisible())
    {
        return false;
    }
    const Math::Vector2D absolute = GetAbsolutePosition();
    NRectangle test(absolute.x, absolute.y, width_, height_);
    if (parent_ != nullptr && clipMode_ != 0)
    {
        const NRectangle& clip =
            clipMode_ == 2 ? parent_->visibleClientRectangle_ : parent_->visibleRectangle_;
        if (!NRectangle::Intersect(test, test, clip))
        {
            return false;
        }
    }
    const Math::Vector2D mouse = GetMousePosition();
    return test.IsInside(mouse.x, mouse.y);
}

void Control::ResetDepth()
{
    depth_ = 0.0f;
    for (const Core::RefPtr<Control>& child : children_)
    {
        child->ResetDepth();
    }
}

void Control::StampDepth()
{
    depth_ = HUD::DepthCounter();
}

// --- Focus and tab order -------------------------------------------------------

void Control::Activate()
{
    HUD* hud = HUD::GetInstance();
    if (hud == nullptr)
    {
        return;
    }
    Control* root = this;
    while (root->parent_ != nullptr)
    {
        root = root->parent_;
    }
    if (hud->GetActiveForm() == root)
    {
        return;
    }
    if (hud->FindTopForm() != nullptr)
    {
        hud->BringFormToFront(root);
    }
    if (Control* old = hud->GetActiveForm())
    {
        old->Unfocus();
    }
    hud->SetActiveForm(root);
    root->Focus();
}

void Control::Focus()
{
    if (!IsEnabled())
    {
        return;
    }
    focused_ = 1;
    if (HUD* hud = HUD::GetInstance())
    {
        hud->SetActiveControl(this);
    }
}

void Control::Unfocus()
{
    if (!IsEnabled())
    {
        return;
    }
    focused_ = 0;
    HUD* hud = HUD::GetInstance();
    if (hud != nullptr && hud->GetActiveControl() == this)
    {
        hud->SetActiveControl(nullptr);
    }
}

void Control::TakeFocus()
{
    if (!IsEnabled() || !IsVisible())
    {
        return;
    }
    if (HUD* hud = HUD::GetInstance())
    {
        hud->SetFocusedControl(this);
    }
    if (parent_ != nullptr)
    {
        parent_->rememberedChild_ = this;
    }
}

void Control::RestoreChildFocus()
{
    if (rememberedChild_ == nullptr)
    {
        return;
    }
    const bool isChild =
        std::any_of(children_.begin(), children_.end(),
                    [this](const Core::RefPtr<Control>& child) { return child.Get() == rememberedChild_; });
    if (!isChild)
    {
        rememberedChild_ = nullptr;
        return;
    }
    if (rememberedChild_->IsEnabled() && rememberedChild_->IsVisible())
    {
        if (HUD* hud = HUD::GetInstance())
        {
            hud->SetFocusedControl(rememberedChild_);
        }
    }
}

bool Control::Qualifies(std::int32_t index) const
{
    if (index < 0 || index >= static_cast<std::int32_t>(tabList_.size()))
    {
        return false;
    }
    const Control& entry = *tabList_[static_cast<std::size_t>(index)];
    return entry.IsEnabled() && entry.IsVisible();
}

void Control::TabToNext()
{
    if (AdvanceTabPosition())
    {
        FocusTabPosition();
    }
}

bool Control::AdvanceTabPosition()
{
    const auto size = static_cast<std::int32_t>(tabList_.size());
    bool any = false;
    for (std::int32_t i = 0; i < size && !any; ++i)
    {
        any = Qualifies(i);
    }
    if (!any)
    {
        return false;
    }
    previousTabPosition_ = tabPosition_;
    std::int32_t position = tabPosition_ < 0 ? -1 : tabPosition_;
    do
    {
        position = (position + 1) % size;
    } while (!Qualifies(position));
    tabPosition_ = position;
    return tabPosition_ != previousTabPosition_;
}

bool Control::SetTabPosition(std::int32_t index)
{
    if (index == tabPosition_ || !Qualifies(index))
    {
        return false;
    }
    previousTabPosition_ = tabPosition_;
    tabPosition_ = index;
    return true;
}

void Control::FocusTabPosition()
{
    if (!Qualifies(tabPosition_))
    {
        return;
    }
    if (previousTabPosition_ != tabPosition_ && previousTabPosition_ >= 0 &&
        previousTabPosition_ < static_cast<std::int32_t>(tabList_.size()))
    {
        tabList_[static_cast<std::size_t>(previousTabPosition_)]->Unfocus();
    }
    tabList_[static_cast<std::size_t>(tabPosition_)]->Focus();
}

void Control::FocusFirstTabStop()
{
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(tabList_.size()); ++i)
    {
        if (Qualifies(i))
        {
            tabPosition_ = i;
            previousTabPosition_ = i;
            tabList_[static_cast<std::size_t>(i)]->Focus();
            return;
        }
    }
}

} // namespace GUI

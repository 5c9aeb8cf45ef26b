#include "gui/GUI_HUD.h"

#include "core/Core_File.h"
#include "engine/Engine_RenderQueue.h"
#include "gui/GUI_Control.h"
#include "gui/GUI_ObjectList.h"
#include "gui/GUI_Folders.h"
#include "gui/GUI_Form.h"
#include "input/Input_MouseImp.h"
#include "script/Script_Binding.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unordered_set>

namespace GUI
{

namespace
{

HUD* g_instance = nullptr;
float g_depthCounter = 0.0f;
HUD::CallObserver g_observer = nullptr;
void* g_observerData = nullptr;

const Control* Address(const Control* control)
{
    return control;
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

void ShowSystemCursor(bool show)
{
    if (Input::MouseImp* mouse = Input::MouseImp::GetInstance())
    {
        mouse->ShowCursor(show);
    }
}

template <class List> void WriteObjects(Core::File& file, const List& list)
{
    file << static_cast<std::uint32_t>(list.size());
    for (const auto& entry : list)
    {
        file.WriteObject(&*entry);
    }
}

} // namespace

HUD::HUD()
    : graphics_(std::make_unique<Graphics>()), cursorManager_(new ("GUI_HUD", __LINE__) CursorManager())
{
    g_instance = this;
    cursorVisible_ = 1;
    systemCursorShown_ = 0;
    ShowSystemCursor(false);
    defaultCursor_ = new ("GUI_HUD", __LINE__) Cursor(GetCursorPath(DefaultCursor));
    defaultCursor_->SetHotSpot(Math::Vector2D(0.0f, 32.0f));
    loading_ = 0;
}

HUD::~HUD()
{
    // Controls that go with the lists must not reach back into a display
    // that is going.
    if (g_instance == this)
    {
        g_instance = nullptr;
    }
    registered_.clear();
    destructions_.clear();
    std::fill(std::begin(slots_), std::end(slots_), nullptr);
    removals_.clear();
    forms_.clear();
    defaultCursor_ = nullptr;
    cursorManager_ = nullptr;
    graphics_.reset();
}

HUD* HUD::GetInstance()
{
    return g_instance;
}

float& HUD::DepthCounter()
{
    return g_depthCounter;
}

void HUD::SetCallObserver(CallObserver observer, void* userData)
{
    g_observer = observer;
    g_observerData = userData;
}

void HUD::Notify(const char* operation)
{
    if (g_observer != nullptr)
    {
        g_observer(operation, g_observerData);
    }
}

void HUD::Update(float dt)
{
    Notify("Update");
    Input::MouseImp* mouse = Input::MouseImp::GetInstance();
    // 1. The system cursor shows only outside the window.
    if (mouse != nullptr)
    {
        const bool inside = mouse->IsInWindow();
        if (inside && systemCursorShown_ != 0)
        {
            systemCursorShown_ = 0;
            mouse->ShowCursor(false);
        }
        else if (!inside && systemCursorShown_ == 0)
        {
            systemCursorShown_ = 1;
            mouse->ShowCursor(true);
        }
    }
    // 2. Removals queued since the last update.
    std::vector<Core::RefPtr<Form>> removals;
    removals.swap(removals_);
    for (const Core::RefPtr<Form>& removal : removals)
    {
        RemoveAll(forms_, removal.Get());
    }
    removals.clear();
    // 3.
    g_depthCounter = 0.0f;
    // 4. A form brought to the front goes last.
    if (Control* front = slots_[BringToFront])
    {
        slots_[BringToFront] = nullptr;
        const auto found =
            std::find_if(forms_.begin(), forms_.end(),
                         [front](const Core::RefPtr<Form>& form) { return form.Get() == front; });
        if (found != forms_.end())
        {
            const Core::RefPtr<Form> form = *found;
            RemoveAll(forms_, form.Get());
            forms_.push_back(form);
        }
    }
    // 5 to 7. The forms may change under their listeners: walked by index,
    // each held while it runs.
    for (std::size_t i = 0; i < forms_.size(); ++i)
    {
        forms_[i]->ResetDepth();
    }
    for (std::size_t i = 0; i < forms_.size(); ++i)
    {
        const Core::RefPtr<Form> form = forms_[i];
        form->Update(dt);
        form->Tick(dt);
    }
    for (std::size_t i = 0; i < forms_.size(); ++i)
    {
        forms_[i]->UpdateRectangles();
    }
    // 8 to 10. Cursor and hover.
    cursorManager_->Update(dt);
    slots_[HoveredControl] = FindHoveredControl();
    if (slots_[HoveredControl] == nullptr)
    {
        cursorManager_->SetCursor(cursorVisible_ != 0 ? defaultCursor_ : Core::RefPtr<Cursor>());
    }
    // 11. Press capture: only a press that begins over a control captures.
    const bool held = mouse != nullptr && (mouse->IsPressed(0) || mouse->IsPressed(1) || mouse->IsPressed(2));
    const bool wentDown = mouse != nullptr && (mouse->IsDown(0) || mouse->IsDown(1) || mouse->IsDown(2));
    if (!held)
    {
        slots_[PressedControl] = nullptr;
    }
    else if (slots_[PressedControl] == nullptr && wentDown)
    {
        slots_[PressedControl] = slots_[HoveredControl];
    }
    // 12. Destructions queued during the update.
    if (!destructions_.empty())
    {
        std::vector<Core::RefPtr<Control>> destroyed;
        for (Control* control : destructions_)
        {
            destroyed.emplace_back(control);
        }
        destructions_.clear();
        for (const Core::RefPtr<Control>& control : destroyed)
        {
            control->Destroy();
        }
    }
}

void HUD::Render()
{
    Notify("Render");
    if (Engine::RenderQueue* queue = Engine::RenderQueue::GetInstance())
    {
        queue->DrawScreenObjects();
    }
}

void HUD::Clear()
{
    Notify("Clear");
    registered_.clear();
    std::vector<Core::RefPtr<Form>> removals;
    std::vector<Core::RefPtr<Form>> forms;
    removals.swap(removals_);
    forms.swap(forms_);
    destructions_.clear();
    std::fill(std::begin(slots_), std::end(slots_), nullptr);
    systemCursorShown_ = 0;
    ShowSystemCursor(false);
    if (Engine::RenderQueue* queue = Engine::RenderQueue::GetInstance())
    {
        queue->ClearScreenObjects();
    }
    loading_ = 0;
    // Released last, when the display no longer names them.
    removals.clear();
    forms.clear();
}

void HUD::AddForm(Form* form)
{
    if (form == nullptr)
    {
        return;
    }
    forms_.emplace_back(form);
    registered_.push_back(form);
    form->OnAdded();
    form->Activate();
}

void HUD::RemoveForm(Control* control)
{
    if (control == nullptr)
    {
        return;
    }
    if (Form* form = dynamic_cast<Form*>(control))
    {
        removals_.emplace_back(form);
    }
    RemoveAll(registered_, control);
    ForgetControl(control);
}

void HUD::RegisterControl(Control* control)
{
    if (control != nullptr)
    {
        registered_.push_back(control);
    }
}

void HUD::UnregisterControl(Control* control)
{
    RemoveAll(registered_, control);
    RemoveAll(destructions_, control);
    ForgetControl(control);
}

void HUD::ForgetControl(Control* control)
{
    for (Control*& slot : slots_)
    {
        if (slot == control)
        {
            slot = nullptr;
        }
    }
}

void HUD::DestroyControlLater(Control* control)
{
    if (control != nullptr)
    {
        destructions_.push_back(control);
    }
}

void HUD::SetModalForm(Control* control)
{
    slots_[BringToFront] = control;
    slots_[ActiveForm] = control;
    slots_[ModalForm] = control;
}

void HUD::SignalModalForm()
{
    Form* modal = dynamic_cast<Form*>(slots_[ModalForm]);
    if (modal != nullptr && modal == slots_[ActiveForm] && !modal->HasAttention())
    {
        modal->RaiseAttention();
    }
}

bool HUD::CompareDepth(const Control* a, const Control* b)
{
    return a->GetDepth() < b->GetDepth();
}

Control* HUD::FindHoveredControl() const
{
    Control* best = nullptr;
    for (Control* control : registered_)
    {
        if (control->IsEnabled() && control->IsMouseOver() &&
            (best == nullptr || !CompareDepth(control, best)))
        {
            best = control;
        }
    }
    return best;
}

Control* HUD::FindTopForm() const
{
    Control* best = nullptr;
    for (Control* control : registered_)
    {
        if (control->GetParent() == nullptr && control->IsEnabled() && control->IsVisible() &&
            (best == nullptr || !CompareDepth(control, best)))
        {
            best = control;
        }
    }
    return best;
}

Form* HUD::FindFormByName(const std::string& name) const
{
    for (const Core::RefPtr<Form>& form : forms_)
    {
        if (form->GetName() == name)
        {
            return form.Get();
        }
    }
    return nullptr;
}

void HUD::Save(Core::File& file)
{
    WriteObjects(file, forms_);
    WriteObjects(file, removals_);
    WriteObjects(file, registered_);
    WriteObjects(file, destructions_);
    file.WriteObject(defaultCursor_.Get());
    for (Control* slot : slots_)
    {
        file.WriteObject(slot);
    }
    file << cursorVisible_ << systemCursorShown_ << g_depthCounter;
    graphics_->Save(file);
    cursorManager_->Write(file);
    const Math::Vector2D mouse = GetMousePosition();
    file << mouse.x << mouse.y;
}

bool HUD::Load(Core::File& file)
{
    loading_ = 1;
    std::vector<Core::RefPtr<Form>> forms;
    std::vector<Core::RefPtr<Form>> removals;
    std::vector<Core::RefPtr<Control>> registered;
    std::vector<Core::RefPtr<Control>> destructions;
    Core::RefPtr<Cursor> defaultCursor;
    Core::RefPtr<Control> slots[SlotCount];
    std::uint8_t flags[2] = {};
    float depthCounter = 0.0f;
    Graphics::State graphics;
    Core::RefPtr<Cursor> managerCursor;
    float mouse[2] = {};
    bool read = ReadObjectList(file, forms) && ReadObjectList(file, removals) && ReadObjectList(file, registered) &&
                ReadObjectList(file, destructions);
    if (read)
    {
        Core::ReadRefPtr(file, defaultCursor);
        for (Core::RefPtr<Control>& slot : slots)
        {
            Core::ReadRefPtr(file, slot);
        }
        file.Read(flags, sizeof flags);
        file >> depthCounter;
        read = !file.Failed() && graphics_->ReadState(file, graphics);
    }
    if (read)
    {
        // The manager's record: its current cursor as an object.
        Core::ReadRefPtr(file, managerCursor);
        file.Read(mouse, sizeof mouse);
        read = !file.Failed();
    }
    // Every slot and every queued control names a control of the lists; a
    // form of the lists has no parent.
    if (read)
    {
        std::unordered_set<const Control*> known;
        for (const auto& control : registered)
        {
            known.insert(control.Get());
        }
        for (const auto& form : forms)
        {
            known.insert(form.Get());
            read = read && form->GetParent() == nullptr;
        }
        for (const auto& slot : slots)
        {
            read = read && (!slot || known.count(slot.Get()) != 0);
        }
        for (const auto& control : destructions)
        {
            read = read && known.count(control.Get()) != 0;
        }
        read = read && flags[0] <= 1 && flags[1] <= 1 && std::isfinite(mouse[0]) && std::isfinite(mouse[1]);
        if (!read)
        {
            file.SetError(Core::FileError::BadData);
        }
    }
    if (!read)
    {
        std::fprintf(stderr, "The heads-up display could not be loaded: %s; it stays as it was.\n",
                     Core::GetFileErrorText(file.GetError()));
        loading_ = 0;
        return false;
    }
    forms_.insert(forms_.end(), forms.begin(), forms.end());
    removals_.insert(removals_.end(), removals.begin(), removals.end());
    for (const auto& control : registered)
    {
        registered_.push_back(control.Get());
    }
    for (const auto& control : destructions)
    {
        destructions_.push_back(control.Get());
    }
    defaultCursor_ = defaultCursor;
    for (std::uint32_t i = 0; i < SlotCount; ++i)
    {
        slots_[i] = slots[i].Get();
    }
    cursorVisible_ = flags[0];
    systemCursorShown_ = flags[1];
    g_depthCounter = depthCounter;
    graphics_->ApplyState(graphics);
    cursorManager_->SetCursor(managerCursor);
    SetMousePosition(Math::Vector2D(mouse[0], mouse[1]));
    loading_ = 0;
    return true;
}

void HUD::PushToScript(lua_State* state)
{
    Script::PushObject(state, this, ScriptTypeName);
}

} // namespace GUI

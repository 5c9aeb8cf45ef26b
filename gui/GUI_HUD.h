#pragma once

#include "core/Core_RefPtr.h"
#include "gui/GUI_Cursor.h"
#include "gui/GUI_Graphics.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct lua_State;

namespace Core
{
class File;
}

namespace GUI
{

class Control;
class Form;

// The root of the GUI, one per process, made by the game: it owns the root
// forms (back to front: the last is updated, drawn and hit on top), decides
// each frame which control is under the mouse and which one holds a press,
// keeps the seven tracked-control slots, chooses the cursor, and applies
// deferred removals and destructions at safe points of the frame.
//
// The registered-control list, the destruction list and the slots do not
// own what they name; a control that goes takes itself out of them.
class HUD
{
public:
    static constexpr const char* ScriptTypeName = "HUD";

    enum Slot : std::uint32_t
    {
        ActiveForm,
        FocusedControl,
        ActiveControl,
        PressedControl,
        HoveredControl,
        BringToFront,
        ModalForm,
        SlotCount,
    };

    // The drawing context, the cursor manager with the default cursor
    // ("Arrow.png", hot spot (0, 32)); hides the system cursor.
    HUD();
    ~HUD();
    HUD(const HUD&) = delete;
    HUD& operator=(const HUD&) = delete;

    // The display alive now, or null.
    static HUD* GetInstance();
    // The depth counter of the update under way.
    static float& DepthCounter();

    // Per frame, `dt` in seconds: removals, depth stamps, every root's
    // update, rectangles, cursor, hover, press capture, destructions.
    void Update(float dt);
    // Draws the screen objects queued during the update.
    void Render();
    // Empties forms, controls, slots and queued screen objects; the
    // cursor-visible choice, the cursors and the drawing context stay.
    void Clear();
    // A failed Load reports, fails the archive and leaves the display as
    // it was.
    void Save(Core::File& file);
    bool Load(Core::File& file);
    void PushToScript(lua_State* state);

    void ShowCursor(bool show) { cursorVisible_ = show ? 1 : 0; }
    bool IsCursorVisible() const { return cursorVisible_ != 0; }
    bool IsLoading() const { return loading_ != 0; }

    void AddForm(Form* form);
    void RemoveForm(Control* control);
    void RegisterControl(Control* control);
    void UnregisterControl(Control* control);
    void ForgetControl(Control* control);
    void DestroyControlLater(Control* control);

    Control* GetSlot(Slot slot) const { return slots_[slot]; }
    void SetActiveForm(Control* control) { slots_[ActiveForm] = control; }
    Control* GetActiveForm() const { return slots_[ActiveForm]; }
    void SetFocusedControl(Control* control) { slots_[FocusedControl] = control; }
    void SetActiveControl(Control* control) { slots_[ActiveControl] = control; }
    Control* GetActiveControl() const { return slots_[ActiveControl]; }
    Control* GetPressedControl() const { return slots_[PressedControl]; }
    Control* GetHoveredControl() const { return slots_[HoveredControl]; }
    void BringFormToFront(Control* control) { slots_[BringToFront] = control; }
    Control* GetModalForm() const { return slots_[ModalForm]; }
    void SetModalForm(Control* control);
    void SignalModalForm();
    Control* FindHoveredControl() const;
    Control* FindTopForm() const;
    Form* FindFormByName(const std::string& name) const;
    static bool CompareDepth(const Control* a, const Control* b);

    const std::vector<Core::RefPtr<Form>>& GetForms() const { return forms_; }
    const std::vector<Control*>& GetRegisteredControls() const { return registered_; }
    const std::vector<Core::RefPtr<Form>>& GetRemovals() const { return removals_; }
    const std::vector<Control*>& GetDestructions() const { return destructions_; }
    Graphics& GetGraphics() { return *graphics_; }
    const Core::RefPtr<CursorManager>& GetCursorManager() const { return cursorManager_; }
    const Core::RefPtr<Cursor>& GetDefaultCursor() const { return defaultCursor_; }

    // Tests follow the frame through the display: the observer hears the
    // name of every per-frame and switch operation ("Clear", "Update",
    // "Render") with its user word. Null stops it.
    using CallObserver = void (*)(const char* operation, void* userData);
    static void SetCallObserver(CallObserver observer, void* userData);

private:
    static void Notify(const char* operation);

    std::vector<Core::RefPtr<Form>> forms_;
    std::vector<Core::RefPtr<Form>> removals_;
    std::vector<Control*> registered_;
    std::vector<Control*> destructions_;
    std::unique_ptr<Graphics> graphics_;
    Core::RefPtr<CursorManager> cursorManager_;
    Core::RefPtr<Cursor> defaultCursor_;
    Control* slots_[SlotCount] = {};
    std::uint8_t cursorVisible_ = 1;
    std::uint8_t systemCursorShown_ = 0;
    std::uint8_t loading_ = 0;
};

} // namespace GUI

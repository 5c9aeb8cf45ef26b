#pragma once

#include "core/Core_RefPtr.h"
#include "gui/GUI_Control.h"
#include "gui/GUI_GuiImage.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace GUI
{

// A skinned check mark that belongs to the group of its sibling radio
// buttons: checking one unchecks the others of the same parent. Its skin
// has ten records, five looks unchecked and the same five checked:
//
//   record   0 / 5     1 / 6    2 / 7      3 / 8   4 / 9
//   look     focused   normal   disabled   hover   pressed
//
// It is not a kind of button: it shares only the handling pattern (events
// gated while disabled, a record per event).
class RadioButton : public Control
{
    CORE_DECLARE_OBJECT(RadioButton)

public:
    static constexpr const char* ScriptTypeName = "RadioButton";
    static constexpr float Side = 13.0f;
    static constexpr std::uint32_t CheckedOffset = 5;
    enum Look : std::uint32_t
    {
        FocusedLook,
        NormalLook,
        DisabledLook,
        HoverLook,
        PressedLook,
    };

    // 13 x 13 at (0, 0), unchecked, with a 13 x 13 image of
    // "DefaultRadioButtonSkin". While the display loads nothing is made:
    // the read that follows fills every field.
    RadioButton();
    ~RadioButton() override;

    void SetPosition(const Math::Vector2D& position) override;
    void SetVisible(bool visible) override;
    void SetModulationColor(const Math::Vector4& color) override;
    // Gated: raised only while enabled through the ancestors. A click
    // checks the radio button first.
    void Click() override;
    void Event3() override;
    void ClickDone() override;
    void DoubleClickDone() override;
    void MouseHover() override;
    void MouseMove(const MouseEvent& event) override;
    // Gated, and each shows its record first.
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseUp(const MouseEvent& event) override;
    void MouseDown(const MouseEvent& event) override;
    void SizeChanged() override;
    void OnSkinChanged() override;
    void PostUpdate(float dt) override;
    void UpdatePosition() override;
    void ApplyEnabled() override;
    void ApplyOpacity() override;
    void Focus() override;
    void Unfocus() override;
    // Slot 49: calls every CheckedChanged listener with this radio button.
    virtual void CheckedChanged();

    // Checking an unchecked one raises CheckedChanged once, then unchecks
    // its checked siblings (radio buttons of the same parent). Unchecking,
    // and checking one already checked, raise nothing.
    void SetChecked(bool checked);
    bool GetChecked() const { return checked_ != 0; }

    // Appends a CheckedChanged listener; refused (false) for a null object
    // or one already listening with the same function.
    template <class Object> bool AddCheckedChangedListener(Object* object, void (Object::*function)(Control*))
    {
        if (object == nullptr || function == nullptr)
        {
            return false;
        }
        return AddCheckedChangedListener(std::make_unique<MemberFunction1Param<Object, Control*>>(object, function));
    }
    std::size_t GetCheckedChangedListenerCount() const { return checkedChanged_.size(); }

    const Core::RefPtr<GuiImage>& GetImage() const { return image_; }

    // The control's record, the image and the checked flag. A missing
    // image, an object of another class or a flag other than 0 or 1 fails
    // the archive and leaves the radio button as it was.
    void Write(Core::File& file) const override;
    void Read(Core::File& file) override;

private:
    bool AddCheckedChangedListener(std::unique_ptr<Listener> listener);
    // The record of `look`, checked or not.
    void Show(Look look);
    // The record of the radio button's resting state: focused, normal or
    // disabled.
    void ShowResting();

    std::vector<std::unique_ptr<Listener>> checkedChanged_;
    Core::RefPtr<GuiImage> image_;
    std::uint8_t checked_ = 0;
};

} // namespace GUI

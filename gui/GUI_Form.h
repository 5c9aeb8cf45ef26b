#pragma once

#include "gui/GUI_Control.h"

namespace GUI
{

// A root window of the GUI: the display's form list holds forms. The frame,
// the close button and dragging come with the complete form; here it adds
// its two hooks to the control.
class Form : public Control
{
    CORE_DECLARE_OBJECT(Form)

public:
    static constexpr const char* ScriptTypeName = "Form";

    Form();
    Form(const Math::Vector2D& position, float width, float height);

    // Slot 49: the display took the form into its form list.
    virtual void OnAdded() {}
    // Slot 50: the form is about to close.
    virtual void OnClosing() {}

    // The modal form's call for attention, raised by a press on a control
    // it blocks.
    bool HasAttention() const { return attention_ != 0; }
    void RaiseAttention() { attention_ = 1; }
    void ClearAttention() { attention_ = 0; }

private:
    std::uint8_t attention_ = 0;
};

} // namespace GUI

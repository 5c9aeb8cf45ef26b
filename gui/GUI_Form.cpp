#include "gui/GUI_Form.h"

namespace GUI
{

CORE_DEFINE_OBJECT_BASICS(Form, "GUI::Form", "Form", "GUI_Form", __LINE__)
static const Core::ClassRegistrar g_formRegistrar("GUI::Form", &Form::Create);

Core::Object* Form::Clone() const
{
    return new ("GUI_Form", __LINE__) Form(GetPosition(), GetWidth(), GetHeight());
}

Form::Form() = default;

Form::Form(const Math::Vector2D& position, float width, float height) : Control(position, width, height) {}

} // namespace GUI

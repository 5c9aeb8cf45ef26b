// Script side of controls and the display: the "Control" table, the tables
// of buttons, radio buttons and forms (each repeating the control's), and
// the "HUD" table.
//
// Arguments start at stack index 1. A method called with too few arguments
// or with arguments of the wrong type does nothing and pushes nothing; a
// getter that has nothing to give pushes nothing.

#include "gui/GUI_Button.h"
#include "gui/GUI_Control.h"
#include "gui/GUI_Form.h"
#include "gui/GUI_HUD.h"
#include "gui/GUI_RadioButton.h"

#include "script/Script_Binding.h"
#include "script/Script_Lua.h"
#include "script/Script_MethodTable.h"
#include "script/Script_Values.h"

namespace GUI
{

namespace
{

bool IsNumber(lua_State* state, int index)
{
    return lua_type(state, index) == LUA_TNUMBER;
}

float NumberAt(lua_State* state, int index)
{
    return static_cast<float>(lua_tonumber(state, index));
}

// A number field of the table at `table`, or `fallback` when it is none.
float Field(lua_State* state, int table, const char* name, float fallback = 0.0f)
{
    lua_getfield(state, table, name);
    const float value = IsNumber(state, -1) ? NumberAt(state, -1) : fallback;
    lua_pop(state, 1);
    return value;
}

// A control held by the value at `index`: user data of a control class.
Control* ControlAt(lua_State* state, int index)
{
    if (Control* control = Script::ToObject<Control>(state, index, Control::ScriptTypeName))
    {
        return control;
    }
    if (Form* form = Script::ToObject<Form>(state, index, Form::ScriptTypeName))
    {
        return form;
    }
    if (Button* button = Script::ToObject<Button>(state, index, Button::ScriptTypeName))
    {
        return button;
    }
    if (RadioButton* radio = Script::ToObject<RadioButton>(state, index, RadioButton::ScriptTypeName))
    {
        return radio;
    }
    return nullptr;
}

// A pair (x, y) from a table with X and Y or from two numbers.
bool PairAt(lua_State* state, const char* first, const char* second, float& a, float& b)
{
    if (lua_istable(state, 1) != 0)
    {
        a = Field(state, 1, first);
        b = Field(state, 1, second);
        return true;
    }
    if (IsNumber(state, 1) && IsNumber(state, 2))
    {
        a = NumberAt(state, 1);
        b = NumberAt(state, 2);
        return true;
    }
    return false;
}

bool ColorAt(lua_State* state, Math::Vector4& color)
{
    if (lua_istable(state, 1) == 0)
    {
        return false;
    }
    color = Math::Vector4(Field(state, 1, "R"), Field(state, 1, "G"), Field(state, 1, "B"),
                          Field(state, 1, "A", 1.0f));
    return true;
}

int PushColor(lua_State* state, const Math::Vector4& color)
{
    lua_pushnumber(state, color.x);
    lua_pushnumber(state, color.y);
    lua_pushnumber(state, color.z);
    lua_pushnumber(state, color.w);
    return 4;
}

int SetPosition(Control& c, lua_State* state)
{
    float x = 0.0f;
    float y = 0.0f;
    if (PairAt(state, "X", "Y", x, y))
    {
        c.SetPosition(Math::Vector2D(x, y));
    }
    return 0;
}

int SetPositionX(Control& c, lua_State* state)
{
    if (IsNumber(state, 1))
    {
        c.SetPosition(Math::Vector2D(NumberAt(state, 1), c.GetPosition().y));
    }
    return 0;
}

int SetPositionY(Control& c, lua_State* state)
{
    if (IsNumber(state, 1))
    {
        c.SetPosition(Math::Vector2D(c.GetPosition().x, NumberAt(state, 1)));
    }
    return 0;
}

int GetPosition(Control& c, lua_State* state)
{
    LuaPushVector2D(state, c.GetPosition());
    return 1;
}

int GetPositionX(Control& c, lua_State* state)
{
    lua_pushnumber(state, c.GetPosition().x);
    return 1;
}

int GetPositionY(Control& c, lua_State* state)
{
    lua_pushnumber(state, c.GetPosition().y);
    return 1;
}

int SetWidth(Control& c, lua_State* state)
{
    if (IsNumber(state, 1))
    {
        c.SetWidth(NumberAt(state, 1));
    }
    return 0;
}

int GetWidth(Control& c, lua_State* state)
{
    lua_pushnumber(state, c.GetWidth());
    return 1;
}

int SetHeight(Control& c, lua_State* state)
{
    if (IsNumber(state, 1))
    {
        c.SetHeight(NumberAt(state, 1));
    }
    return 0;
}

int GetHeight(Control& c, lua_State* state)
{
    lua_pushnumber(state, c.GetHeight());
    return 1;
}

int SetControlSize(Control& c, lua_State* state)
{
    float width = 0.0f;
    float height = 0.0f;
    if (PairAt(state, "Width", "Height", width, height))
    {
        c.SetControlSize(width, height);
    }
    return 0;
}

int GetControlSize(Control& c, lua_State* state)
{
    PushSize(state, c.GetWidth(), c.GetHeight());
    return 1;
}

template <void (Control::*Setter)(const std::string&)> int SetString(Control& c, lua_State* state)
{
    if (lua_type(state, 1) == LUA_TSTRING)
    {
        (c.*Setter)(lua_tostring(state, 1));
    }
    return 0;
}

int PushString(lua_State* state, const std::string& text)
{
    lua_pushlstring(state, text.data(), text.size());
    return 1;
}

int SetSkin(Control& c, lua_State* state)
{
    return SetString<&Control::SetSkin>(c, state);
}

int GetSkin(Control& c, lua_State* state)
{
    return PushString(state, c.GetSkin());
}

int SetText(Control& c, lua_State* state)
{
    if (lua_type(state, 1) == LUA_TSTRING)
    {
        c.SetText(lua_tostring(state, 1));
    }
    return 0;
}

int GetText(Control& c, lua_State* state)
{
    return PushString(state, c.GetText());
}

int SetVisible(Control& c, lua_State* state)
{
    if (lua_gettop(state) >= 1)
    {
        c.SetVisible(lua_toboolean(state, 1) != 0);
    }
    return 0;
}

int GetVisible(Control& c, lua_State* state)
{
    lua_pushboolean(state, c.IsVisible());
    return 1;
}

int SetFont(Control& c, lua_State* state)
{
    if (lua_type(state, 1) == LUA_TSTRING)
    {
        c.SetFont(lua_tostring(state, 1));
    }
    return 0;
}

int GetFont(Control& c, lua_State* state)
{
    return PushString(state, c.GetFontName());
}

int SetModulationColor(Control& c, lua_State* state)
{
    Math::Vector4 color;
    if (ColorAt(state, color))
    {
        c.SetModulationColor(color);
    }
    return 0;
}

int GetModulationColor(Control& c, lua_State* state)
{
    return PushColor(state, c.GetModulationColor());
}

int SetTextModulationColor(Control& c, lua_State* state)
{
    Math::Vector4 color;
    if (ColorAt(state, color))
    {
        c.SetTextModulationColor(color);
    }
    return 0;
}

int GetTextModulationColor(Control& c, lua_State* state)
{
    return PushColor(state, c.GetTextModulationColor());
}

int SetOpacity(Control& c, lua_State* state)
{
    if (IsNumber(state, 1))
    {
        c.SetOpacity(NumberAt(state, 1));
    }
    return 0;
}

int GetOpacity(Control& c, lua_State* state)
{
    lua_pushnumber(state, c.GetOpacity());
    return 1;
}

int SetEnabled(Control& c, lua_State* state)
{
    if (lua_gettop(state) >= 1)
    {
        c.SetEnabled(lua_toboolean(state, 1) != 0);
    }
    return 0;
}

int GetEnabled(Control& c, lua_State* state)
{
    lua_pushboolean(state, c.IsEnabled());
    return 1;
}

int SetName(Control& c, lua_State* state)
{
    if (lua_type(state, 1) == LUA_TSTRING)
    {
        c.SetName(lua_tostring(state, 1));
    }
    return 0;
}

int GetName(Control& c, lua_State* state)
{
    return PushString(state, c.GetName());
}

int SetTabStop(Control& c, lua_State* state)
{
    if (lua_gettop(state) >= 1)
    {
        c.SetTabStop(lua_toboolean(state, 1) != 0);
    }
    return 0;
}

int GetTabStop(Control& c, lua_State* state)
{
    lua_pushboolean(state, c.GetTabStop());
    return 1;
}

int SetTabIndex(Control& c, lua_State* state)
{
    if (IsNumber(state, 1))
    {
        c.SetTabIndex(static_cast<std::int32_t>(lua_tointeger(state, 1)));
    }
    return 0;
}

int GetTabIndex(Control& c, lua_State* state)
{
    lua_pushinteger(state, c.GetTabIndex());
    return 1;
}

// Destroyed at the end of the display's next update, never at once.
int Destroy(Control& c, lua_State*)
{
    if (HUD* hud = HUD::GetInstance())
    {
        hud->DestroyControlLater(&c);
    }
    return 0;
}

int GetRectangle(Control& c, lua_State* state)
{
    NRectangle::PushCopy(state, c.GetRectangle());
    return 1;
}

int GetClientRectangle(Control& c, lua_State* state)
{
    NRectangle::PushCopy(state, c.GetClientRectangle());
    return 1;
}

int GetFocused(Control& c, lua_State* state)
{
    lua_pushboolean(state, c.IsFocused());
    return 1;
}

// User data is a control: the only engine objects whose user data a script
// can be sure of.
int SetUserData(Control& c, lua_State* state)
{
    if (lua_gettop(state) >= 1 && lua_isnil(state, 1) != 0)
    {
        c.SetUserData(nullptr);
        return 0;
    }
    if (Control* data = ControlAt(state, 1))
    {
        c.SetUserData(data);
    }
    return 0;
}

int GetUserData(Control& c, lua_State* state)
{
    Core::Object* data = c.GetUserData();
    if (data == nullptr)
    {
        return 0;
    }
    data->PushToScript(state);
    return 1;
}

int AddControl(Control& c, lua_State* state)
{
    c.AddControl(ControlAt(state, 1));
    return 0;
}

int GetControl(Control& c, lua_State* state)
{
    Control* child = nullptr;
    if (IsNumber(state, 1))
    {
        const lua_Number index = lua_tonumber(state, 1);
        if (index >= 0 && index < static_cast<lua_Number>(c.GetControlCount()))
        {
            child = c.GetControl(static_cast<std::uint32_t>(index));
        }
    }
    else if (lua_type(state, 1) == LUA_TSTRING)
    {
        child = c.GetControl(std::string(lua_tostring(state, 1)));
    }
    if (child == nullptr)
    {
        return 0;
    }
    child->PushToScript(state);
    return 1;
}

int GetParent(Control& c, lua_State* state)
{
    if (c.GetParent() == nullptr)
    {
        return 0;
    }
    c.GetParent()->PushToScript(state);
    return 1;
}

int GetControlsCount(Control& c, lua_State* state)
{
    lua_pushinteger(state, c.GetControlCount());
    return 1;
}

int UpdatePosition(Control& c, lua_State*)
{
    c.UpdatePosition();
    return 0;
}

constexpr auto kControlMethods = Script::MakeMethods<45>(
    Script::Method<&SetPosition>("SetPosition"), Script::Method<&SetPositionX>("SetPositionX"),
    Script::Method<&SetPositionY>("SetPositionY"), Script::Method<&GetPosition>("GetPosition"),
    Script::Method<&GetPositionX>("GetPositionX"), Script::Method<&GetPositionY>("GetPositionY"),
    Script::Method<&SetWidth>("SetWidth"), Script::Method<&GetWidth>("GetWidth"),
    Script::Method<&SetHeight>("SetHeight"), Script::Method<&GetHeight>("GetHeight"),
    Script::Method<&SetControlSize>("SetControlSize"), Script::Method<&GetControlSize>("GetControlSize"),
    Script::Method<&SetSkin>("SetSkin"), Script::Method<&GetSkin>("GetSkin"),
    Script::Method<&SetText>("SetText"), Script::Method<&GetText>("GetText"),
    Script::Method<&SetVisible>("SetVisible"), Script::Method<&GetVisible>("GetVisible"),
    Script::Method<&SetFont>("SetFont"), Script::Method<&GetFont>("GetFont"),
    Script::Method<&SetModulationColor>("SetModulationColor"),
    Script::Method<&GetModulationColor>("GetModulationColor"),
    Script::Method<&SetTextModulationColor>("SetTextModulationColor"),
    Script::Method<&GetTextModulationColor>("GetTextModulationColor"),
    Script::Method<&SetOpacity>("SetOpacity"), Script::Method<&GetOpacity>("GetOpacity"),
    Script::Method<&SetEnabled>("SetEnabled"), Script::Method<&GetEnabled>("GetEnabled"),
    Script::Method<&SetName>("SetName"), Script::Method<&GetName>("GetName"),
    Script::Method<&SetTabStop>("SetTabStop"), Script::Method<&GetTabStop>("GetTabStop"),
    Script::Method<&SetTabIndex>("SetTabIndex"), Script::Method<&GetTabIndex>("GetTabIndex"),
    Script::Method<&Destroy>("Destroy"), Script::Method<&GetRectangle>("GetRectangle"),
    Script::Method<&GetClientRectangle>("GetClientRectangle"), Script::Method<&GetFocused>("GetFocused"),
    Script::Method<&SetUserData>("SetUserData"), Script::Method<&GetUserData>("GetUserData"),
    Script::Method<&AddControl>("AddControl"), Script::Method<&GetControl>("GetControl"),
    Script::Method<&GetParent>("GetParent"), Script::Method<&GetControlsCount>("GetControlsCount"),
    Script::Method<&UpdatePosition>("UpdatePosition"));

const Script::MethodTableRegistrar g_controlTable(Control::ScriptTypeName, kControlMethods);

// --- Button and RadioButton ---------------------------------------------------------
//
// Both repeat the control's table with their own versions of six methods at
// its end; the slots they reach (SetPosition, SetVisible, SetModulationColor,
// opacity and enabled) carry the image along.

// A Point2D (a table with X and Y) at 1.
int SetPointPosition(Control& c, lua_State* state)
{
    if (lua_istable(state, 1) != 0)
    {
        c.SetPosition(Math::Vector2D(Field(state, 1, "X"), Field(state, 1, "Y")));
    }
    return 0;
}

constexpr const char* kImageMethodNames[] = {"SetModulationColor", "SetPosition", "SetVisible",
                                             "SetEnabled",         "SetOpacity",  "UpdatePosition"};

constexpr auto kButtonMethods = Script::MakeMethods<45>(
    Script::Without<39>(kControlMethods, {kImageMethodNames[0], kImageMethodNames[1], kImageMethodNames[2],
                                          kImageMethodNames[3], kImageMethodNames[4], kImageMethodNames[5]}),
    Script::Method<&SetModulationColor>("SetModulationColor"), Script::Method<&SetPosition>("SetPosition"),
    Script::Method<&SetVisible>("SetVisible"), Script::Method<&SetEnabled>("SetEnabled"),
    Script::Method<&SetOpacity>("SetOpacity"), Script::Method<&UpdatePosition>("UpdatePosition"));

const Script::MethodTableRegistrar g_buttonTable(Button::ScriptTypeName, kButtonMethods);

int SetChecked(RadioButton& r, lua_State* state)
{
    if (lua_gettop(state) >= 1)
    {
        r.SetChecked(lua_toboolean(state, 1) != 0);
    }
    return 0;
}

int GetChecked(RadioButton& r, lua_State* state)
{
    lua_pushboolean(state, r.GetChecked());
    return 1;
}

constexpr auto kRadioButtonMethods = Script::MakeMethods<47>(
    Script::Without<39>(kControlMethods, {kImageMethodNames[0], kImageMethodNames[1], kImageMethodNames[2],
                                          kImageMethodNames[3], kImageMethodNames[4], kImageMethodNames[5]}),
    Script::Method<&SetModulationColor>("SetModulationColor"), Script::Method<&SetPointPosition>("SetPosition"),
    Script::Method<&SetVisible>("SetVisible"), Script::Method<&SetEnabled>("SetEnabled"),
    Script::Method<&SetOpacity>("SetOpacity"), Script::Method<&UpdatePosition>("UpdatePosition"),
    Script::Method<&SetChecked>("SetChecked"), Script::Method<&GetChecked>("GetChecked"));

const Script::MethodTableRegistrar g_radioButtonTable(RadioButton::ScriptTypeName, kRadioButtonMethods);

// --- Form -----------------------------------------------------------------------------

int Close(Form& f, lua_State*)
{
    f.Close();
    return 0;
}

int SetModal(Form& f, lua_State* state)
{
    if (lua_gettop(state) >= 1)
    {
        f.SetModal(lua_toboolean(state, 1) != 0);
    }
    return 0;
}

int GetModal(Form& f, lua_State* state)
{
    lua_pushboolean(state, f.GetModal());
    return 1;
}

int SetShowOnlyControls(Form& f, lua_State* state)
{
    if (lua_gettop(state) >= 1)
    {
        f.SetShowOnlyControls(lua_toboolean(state, 1) != 0);
    }
    return 0;
}

int GetShowOnlyControls(Form& f, lua_State* state)
{
    lua_pushboolean(state, f.GetShowOnlyControls());
    return 1;
}

int SetPicture(Form& f, lua_State* state)
{
    if (lua_type(state, 1) == LUA_TSTRING)
    {
        f.SetPicture(lua_tostring(state, 1));
    }
    return 0;
}

int GetPicture(Form& f, lua_State* state)
{
    return PushString(state, f.GetPicture());
}

int SetInactiveModulationColor(Form& f, lua_State* state)
{
    Math::Vector4 color;
    if (ColorAt(state, color))
    {
        f.SetInactiveModulationColor(color);
    }
    return 0;
}

int GetInactiveModulationColor(Form& f, lua_State* state)
{
    return PushColor(state, f.GetInactiveModulationColor());
}

int SetCloseButtonVisible(Form& f, lua_State* state)
{
    if (lua_gettop(state) >= 1)
    {
        f.SetCloseButtonVisible(lua_toboolean(state, 1) != 0);
    }
    return 0;
}

int GetCloseButtonVisible(Form& f, lua_State* state)
{
    lua_pushboolean(state, f.GetCloseButtonVisible());
    return 1;
}

template <void (Form::*Setter)(float)> int SetFormNumber(Form& f, lua_State* state)
{
    if (IsNumber(state, 1))
    {
        (f.*Setter)(NumberAt(state, 1));
    }
    return 0;
}

template <float (Form::*Getter)() const> int GetFormNumber(Form& f, lua_State* state)
{
    lua_pushnumber(state, (f.*Getter)());
    return 1;
}

constexpr auto kFormMethods = Script::MakeMethods<63>(
    Script::Method<&Close>("Close"), Script::Method<&SetPosition>("SetPosition"),
    Script::Method<&SetOpacity>("SetOpacity"), Script::Method<&SetVisible>("SetVisible"),
    Script::Method<&SetModal>("SetModal"), Script::Method<&GetModal>("GetModal"),
    Script::Method<&SetShowOnlyControls>("SetShowOnlyControls"),
    Script::Method<&GetShowOnlyControls>("GetShowOnlyControls"), Script::Method<&SetPicture>("SetPicture"),
    Script::Method<&GetPicture>("GetPicture"),
    Script::Method<&SetInactiveModulationColor>("SetInactiveModulationColor"),
    Script::Method<&GetInactiveModulationColor>("GetInactiveModulationColor"),
    Script::Method<&SetCloseButtonVisible>("SetCloseButtonVisible"),
    Script::Method<&GetCloseButtonVisible>("GetCloseButtonVisible"),
    Script::Method<&SetFormNumber<&Form::SetCaptionHeight>>("SetCaptionHeight"),
    Script::Method<&GetFormNumber<&Form::GetCaptionHeight>>("GetCaptionHeight"),
    Script::Method<&SetFormNumber<&Form::SetBottomBorderHeight>>("SetBottomBorderHeight"),
    Script::Method<&GetFormNumber<&Form::GetBottomBorderHeight>>("GetBottomBorderHeight"),
    Script::Method<&SetFormNumber<&Form::SetLeftBorderWidth>>("SetLeftBorderWidth"),
    Script::Method<&GetFormNumber<&Form::GetLeftBorderWidth>>("GetLeftBorderWidth"),
    Script::Method<&SetFormNumber<&Form::SetRightBorderWidth>>("SetRightBorderWidth"),
    Script::Method<&GetFormNumber<&Form::GetRightBorderWidth>>("GetRightBorderWidth"),
    Script::Without<41>(kControlMethods, {"SetPosition", "SetVisible", "SetOpacity", "UpdatePosition"}));

const Script::MethodTableRegistrar g_formTable(Form::ScriptTypeName, kFormMethods);

// --- HUD --------------------------------------------------------------------------

int ShowCursor(HUD& hud, lua_State* state)
{
    if (lua_gettop(state) >= 1)
    {
        hud.ShowCursor(lua_toboolean(state, 1) != 0);
    }
    return 0;
}

int IsCursorVisible(HUD& hud, lua_State* state)
{
    lua_pushboolean(state, hud.IsCursorVisible());
    return 1;
}

int AddForm(HUD& hud, lua_State* state)
{
    if (Form* form = Script::ToObject<Form>(state, 1, Form::ScriptTypeName))
    {
        hud.AddForm(form);
    }
    return 0;
}

int GetForm(HUD& hud, lua_State* state)
{
    Form* form = nullptr;
    if (IsNumber(state, 1))
    {
        const lua_Number index = lua_tonumber(state, 1);
        if (index >= 0 && index < static_cast<lua_Number>(hud.GetForms().size()))
        {
            form = hud.GetForms()[static_cast<std::size_t>(index)].Get();
        }
    }
    else if (lua_type(state, 1) == LUA_TSTRING)
    {
        form = hud.FindFormByName(lua_tostring(state, 1));
    }
    if (form == nullptr)
    {
        return 0;
    }
    form->PushToScript(state);
    return 1;
}

int IsLoading(HUD& hud, lua_State* state)
{
    lua_pushboolean(state, hud.IsLoading());
    return 1;
}

constexpr auto kHUDMethods = Script::MakeMethods<5>(
    Script::Method<&ShowCursor>("ShowCursor"), Script::Method<&IsCursorVisible>("IsCursorVisible"),
    Script::Method<&AddForm>("AddForm"), Script::Method<&GetForm>("GetForm"),
    Script::Method<&IsLoading>("IsLoading"));

const Script::MethodTableRegistrar g_hudTable(HUD::ScriptTypeName, kHUDMethods);

} // namespace

} // namespace GUI

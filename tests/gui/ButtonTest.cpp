// Buttons and radio buttons through the real display with a scripted mouse:
// visual states and the records they show, gating while disabled, the
// caption's place and clip, radio groups, records, and the script tables.

#include "HudTestSupport.h"

#include "gui/GUI_Button.h"
#include "gui/GUI_RadioButton.h"
#include "script/Script_MethodTable.h"

#include <gtest/gtest.h>

namespace
{

using Core::RefPtr;
using GuiTest::Bytes;
using GuiTest::Written;
using Strings = std::vector<std::string>;

class Buttons : public HudTest::HudTest
{
protected:
    void SetUp() override
    {
        HudTest::SetUp();
        form = AddForm("F", 100, 100, 500, 300);
    }

    // A button at (x, y) in the form's client area.
    RefPtr<GUI::Button> AddButton(const std::string& name, float x, float y, float w = 100, float h = 30)
    {
        RefPtr<GUI::Button> button(new GUI::Button());
        button->SetName(name);
        form->AddControl(button.Get());
        button->SetPosition(Math::Vector2D(x, y));
        button->SetControlSize(w, h);
        log.Listen(*button);
        return button;
    }

    RefPtr<GUI::RadioButton> AddRadio(GUI::Control& parent, const std::string& name, float x, float y)
    {
        RefPtr<GUI::RadioButton> radio(new GUI::RadioButton());
        radio->SetName(name);
        parent.AddControl(radio.Get());
        radio->SetPosition(Math::Vector2D(x, y));
        radio->AddCheckedChangedListener(this, &Buttons::OnCheckedChanged);
        log.Listen(*radio);
        return radio;
    }

public:
    void OnCheckedChanged(GUI::Control* control) { changes.push_back(control->GetName()); }

protected:
    RefPtr<GUI::Form> form;
    Strings changes;
};

TEST_F(Buttons, VisualStatesFollowTheMouseAndShowTheirRecords)
{
    // The form's client origin is (108, 108): the button spans x 128-228,
    // y 128-158.
    const RefPtr<GUI::Button> button = AddButton("B", 20, 20);
    MoveTo(20, 20);
    Frames(2);
    EXPECT_EQ(button->GetImage()->GetPosition(), Math::Vector2D(128, 128));
    EXPECT_EQ(button->GetImage()->GetWidth(), 100.0f);
    struct Step
    {
        const char* what;
        int x, y;
        bool down;
        std::uint32_t state, record;
    };
    const Step steps[] = {
        // The form's first update focused its first tab stop.
        {"focused", 20, 20, false, GUI::Button::Focused, 3},
        {"hover", 150, 140, false, GUI::Button::Hover, 2},
        // The press focuses the button but it stays pressed while held.
        {"pressed", 150, 140, true, GUI::Button::Pressed, 1},
        {"released", 150, 140, false, GUI::Button::Hover, 2},
        // Left while focused: focused.
        {"left", 20, 20, false, GUI::Button::Focused, 3},
    };
    for (const Step& step : steps)
    {
        MoveTo(step.x, step.y);
        source.SetKeyDown(LeftButton, step.down);
        Frames(2);
        EXPECT_EQ(button->GetVisualState(), step.state) << step.what;
        EXPECT_EQ(button->GetImage()->GetState(), step.record) << step.what;
    }
    EXPECT_EQ(log.Count("B.Click"), 1u);
    EXPECT_EQ(log.Count("B.ClickDone"), 1u);
    button->Unfocus();
    Frame();
    EXPECT_EQ(button->GetImage()->GetState(), 0u);
}

TEST_F(Buttons, ADisabledButtonRaisesNothingAndGreysItsCaption)
{
    const RefPtr<GUI::Button> button = AddButton("B", 20, 20);
    button->SetText("Off");
    button->SetEnabled(false);
    ClickAt(150, 140);
    Frames(2);
    EXPECT_EQ(button->GetVisualState(), GUI::Button::Disabled);
    // Record 4 of the default map.
    EXPECT_EQ(button->GetImage()->GetState(), 4u);
    for (const std::string& entry : log.entries)
    {
        EXPECT_NE(entry.rfind("B.", 0), 0u) << entry;
    }
    const Math::Vector4 grey = button->GetTextDrawable()->color;
    EXPECT_FLOAT_EQ(grey.x, 0.6745098f);
    EXPECT_FLOAT_EQ(grey.y, 0.65882355f);
    EXPECT_FLOAT_EQ(grey.z, 0.6f);
    // Enabled again: normal, and the caption takes the text colour.
    button->SetEnabled(true);
    Frame();
    EXPECT_EQ(button->GetImage()->GetState(), 0u);
    EXPECT_FLOAT_EQ(button->GetTextDrawable()->color.x, 1.0f);
}

TEST_F(Buttons, CaptionsAreCentredOrStartAtTheCentreAndAreClipped)
{
    const RefPtr<GUI::Button> narrow = AddButton("N", 20, 20, 60, 30);
    const RefPtr<GUI::Button> wide = AddButton("W", 20, 100, 200, 30);
    narrow->SetText("A caption far wider than the button");
    wide->SetText("Ok");
    Frame();
    // The caption as it should be: at the centre's left edge + 2 (or
    // centred, + 2), cut by the centre part.
    const auto check = [&](const GUI::Button& button, bool centred)
    {
        const GUI::TRectangle& centre = button.GetImage()->GetPart(4);
        const RefPtr<Engine::BitmapFont>& font = button.GetFont();
        float width = 0.0f;
        float height = 0.0f;
        font->GetTextSize(button.GetText(), width, height);
        EXPECT_EQ(centred, width < centre.GetWidth()) << button.GetName();
        const float lineHeight = static_cast<float>(font->GetLineHeight());
        const float x = centre.GetLeft() + (centred ? (centre.GetWidth() - width) / 2.0f : 0.0f) + 2.0f;
        const float y = centre.GetBottom() + std::max(0.0f, (centre.GetHeight() - lineHeight) / 2.0f);
        GUI::Graphics& graphics = hud->GetGraphics();
        graphics.ResetClip();
        graphics.SetClipRectangle(centre);
        Engine::StringRenderContext expected;
        graphics.PrepareString(expected, x, y, button.GetText(), font);
        const Engine::StringRenderContext& text = *button.GetTextDrawable();
        ASSERT_FALSE(text.vertices.empty()) << button.GetName();
        ASSERT_EQ(text.vertices.size(), expected.vertices.size()) << button.GetName();
        for (std::size_t i = 0; i < text.vertices.size(); ++i)
        {
            EXPECT_EQ(text.vertices[i].x, expected.vertices[i].x) << button.GetName() << i;
            EXPECT_EQ(text.vertices[i].y, expected.vertices[i].y) << button.GetName() << i;
        }
        for (const Math::Vector3& v : text.vertices)
        {
            EXPECT_GE(v.x, centre.GetLeft()) << button.GetName();
            EXPECT_LE(v.x, centre.GetRight()) << button.GetName();
        }
    };
    check(*narrow, false);
    check(*wide, true);
}

TEST_F(Buttons, TheArrowShowsWithFocusToParent)
{
    const RefPtr<GUI::Button> button = AddButton("B", 20, 20, 40, 30);
    button->SetFocusToParent(true);
    Frame();
    const auto& objects = scene->GetRenderQueue().GetScreenObjects();
    const auto drawn = [&](const Core::RefPtr<GUI::ImageRenderContext>& context)
    { return std::any_of(objects.begin(), objects.end(), [&](const auto& o) { return o.Get() == context.Get(); }); };
    ASSERT_TRUE(drawn(button->GetArrowContext()));
    // A square of the arrow's width, centred.
    const GUI::ImageRenderContext& arrow = *button->GetArrowContext();
    const float side = static_cast<float>(button->GetArrowTexture()->GetWidth());
    EXPECT_FLOAT_EQ(arrow.vertices[0].x, 128 + (40 - side) / 2);
    EXPECT_FLOAT_EQ(arrow.vertices[2].x - arrow.vertices[0].x, side);
    EXPECT_EQ(arrow.texture, button->GetArrowTexture());
    button->SetEnabled(false);
    Frame();
    EXPECT_EQ(button->GetArrowContext()->texture, button->GetDisabledArrowTexture());
}

TEST_F(Buttons, RadioGroups)
{
    // Two groups: three in the form, two in a panel of it.
    const RefPtr<GUI::RadioButton> a = AddRadio(*form, "A", 20, 20);
    const RefPtr<GUI::RadioButton> b = AddRadio(*form, "B", 20, 50);
    const RefPtr<GUI::RadioButton> c = AddRadio(*form, "C", 20, 80);
    const RefPtr<GUI::Control> panel = AddChild(*form, "P", 200, 20, 200, 200);
    const RefPtr<GUI::RadioButton> x = AddRadio(*panel, "X", 10, 10);
    const RefPtr<GUI::RadioButton> y = AddRadio(*panel, "Y", 10, 40);
    a->SetEnabled(false);
    Frame();
    // The first update checks the first enabled radio button of each group.
    EXPECT_FALSE(a->GetChecked());
    EXPECT_TRUE(b->GetChecked());
    EXPECT_TRUE(x->GetChecked());
    EXPECT_EQ(changes, (Strings{"B", "X"}));
    a->SetEnabled(true);

    struct Case
    {
        const char* what;
        GUI::RadioButton* target;
        bool value;
        Strings changes;
        std::vector<GUI::RadioButton*> checked;
    };
    const Case cases[] = {
        {"check C", c.Get(), true, {"C"}, {c.Get(), x.Get()}},
        {"again", c.Get(), true, {}, {c.Get(), x.Get()}},
        {"other group", y.Get(), true, {"Y"}, {c.Get(), y.Get()}},
        {"uncheck", c.Get(), false, {}, {y.Get()}},
        {"recheck", c.Get(), true, {"C"}, {c.Get(), y.Get()}},
    };
    const std::vector<GUI::RadioButton*> all = {a.Get(), b.Get(), c.Get(), x.Get(), y.Get()};
    for (const Case& step : cases)
    {
        changes.clear();
        step.target->SetChecked(step.value);
        EXPECT_EQ(changes, step.changes) << step.what;
        for (GUI::RadioButton* radio : all)
        {
            const bool expected = std::count(step.checked.begin(), step.checked.end(), radio) != 0;
            EXPECT_EQ(radio->GetChecked(), expected) << step.what << " " << radio->GetName();
        }
    }

    // The sibling that loses the check shows 6 -> 1, or 0 when focused.
    b->SetChecked(true);
    EXPECT_EQ(b->GetImage()->GetState(), 6u);
    a->SetChecked(true);
    EXPECT_EQ(b->GetImage()->GetState(), 1u);
    b->Focus();
    b->SetChecked(true);
    EXPECT_EQ(b->GetImage()->GetState(), 5u);
    a->SetChecked(true);
    EXPECT_EQ(b->GetImage()->GetState(), 0u);

    // A click checks: hover and pressed looks on the way.
    MoveTo(108 + 20 + 6, 108 + 80 + 6);
    Frames(2);
    EXPECT_EQ(c->GetImage()->GetState(), 3u);
    Press();
    Frame();
    EXPECT_EQ(c->GetImage()->GetState(), 4u);
    Release();
    Frame();
    EXPECT_TRUE(c->GetChecked());
    EXPECT_FALSE(a->GetChecked());
    EXPECT_EQ(c->GetImage()->GetState(), 8u);
    EXPECT_EQ(log.Count("C.Click"), 1u);
    // Disabled: record 7 (checked) or 2.
    c->SetEnabled(false);
    EXPECT_EQ(c->GetImage()->GetState(), 7u);
    a->SetEnabled(false);
    EXPECT_EQ(a->GetImage()->GetState(), 2u);
}

TEST_F(Buttons, ListenersJoinOnce)
{
    RefPtr<GUI::RadioButton> radio(new GUI::RadioButton());
    Buttons* self = this;
    EXPECT_TRUE(radio->AddCheckedChangedListener(self, &Buttons::OnCheckedChanged));
    EXPECT_FALSE(radio->AddCheckedChangedListener(self, &Buttons::OnCheckedChanged));
    EXPECT_FALSE(radio->AddCheckedChangedListener<Buttons>(nullptr, &Buttons::OnCheckedChanged));
    EXPECT_EQ(radio->GetCheckedChangedListenerCount(), 1u);
    // Without a parent the radio button forms no group.
    radio->SetChecked(true);
    EXPECT_EQ(changes, (Strings{""}));
}

// A button that notes whether it had an image when it was made.
class ProbeButton : public GUI::Button
{
    CORE_DECLARE_OBJECT(ProbeButton)

public:
    ProbeButton() { madeWithImage = static_cast<bool>(GetImage()); }
    static inline bool madeWithImage = true;
};
CORE_DEFINE_OBJECT_BASICS(ProbeButton, "ProbeButton", "Button", "ButtonTest", __LINE__)
Core::Object* ProbeButton::Clone() const
{
    return new ("ButtonTest", __LINE__) ProbeButton();
}
const Core::ClassRegistrar g_probeRegistrar("ProbeButton", &ProbeButton::Create);

TEST_F(Buttons, RecordsReadBackAndDamagedOnesChangeNothing)
{
    const RefPtr<GUI::Button> button = AddButton("B", 20, 20);
    button->SetText("Saved");
    button->SetStateRecord(GUI::Button::Hover, 6);
    const RefPtr<GUI::RadioButton> radio = AddRadio(*form, "R", 20, 80);
    RefPtr<ProbeButton> probe(new ProbeButton());
    EXPECT_TRUE(ProbeButton::madeWithImage);
    form->AddControl(probe.Get());
    probe->SetPosition(Math::Vector2D(300, 200));
    MoveTo(150, 140);
    Frames(2);
    ASSERT_TRUE(radio->GetChecked());

    const Bytes saved = Written([&](Core::File& file) { hud->Save(file); });
    hud->Clear();
    {
        Core::MemoryFile file(saved.data(), static_cast<std::uint32_t>(saved.size()));
        ASSERT_TRUE(hud->Load(file));
    }
    // Made while the display loaded: no image until its read.
    EXPECT_FALSE(ProbeButton::madeWithImage);
    EXPECT_EQ(Written([&](Core::File& file) { hud->Save(file); }), saved);
    GUI::Form* loaded = hud->FindFormByName("F");
    ASSERT_NE(loaded, nullptr);
    auto* readButton = dynamic_cast<GUI::Button*>(loaded->GetControl("B"));
    auto* readRadio = dynamic_cast<GUI::RadioButton*>(loaded->GetControl("R"));
    ASSERT_NE(readButton, nullptr);
    ASSERT_NE(readRadio, nullptr);
    EXPECT_EQ(readButton->GetText(), "Saved");
    EXPECT_EQ(readButton->GetStateRecord(GUI::Button::Hover), 6u);
    EXPECT_EQ(readButton->GetVisualState(), GUI::Button::Hover);
    EXPECT_TRUE(readRadio->GetChecked());
    ASSERT_TRUE(readButton->GetArrowContext());

    // A button's record with a visual state past the map, or a radio
    // button's checked flag of 2: the read fails and changes nothing.
    const RefPtr<GUI::Button> loneButton(new GUI::Button());
    const RefPtr<GUI::RadioButton> loneRadio(new GUI::RadioButton());
    const std::size_t imageBytes =
        Written([&](Core::File& file) { file.WriteObject(loneButton->GetImage().Get()); }).size();
    struct Case
    {
        const char* what;
        GUI::Control* control;
        std::size_t fromEnd; // where the value lies, counted from the record's end
        std::uint8_t value;
    };
    const Case cases[] = {
        {"visual state 5", loneButton.Get(), imageBytes + 4, 5},
        {"checked 2", loneRadio.Get(), 1, 2},
    };
    for (const Case& c : cases)
    {
        const Bytes before = Written([&](Core::File& file) { c.control->Write(file); });
        Bytes bytes = before;
        bytes[bytes.size() - c.fromEnd] = c.value;
        Core::MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        c.control->Read(file);
        EXPECT_TRUE(file.Failed()) << c.what;
        EXPECT_EQ(Written([&](Core::File& f) { c.control->Write(f); }), before) << c.what;
        // Unchanged, the record reads.
        Core::MemoryFile good(before.data(), static_cast<std::uint32_t>(before.size()));
        c.control->Read(good);
        EXPECT_FALSE(good.Failed()) << c.what;
    }
}

TEST_F(Buttons, ScriptTables)
{
    const Script::MethodTable* buttonTable = Script::FindMethodTable("Button");
    const Script::MethodTable* radioTable = Script::FindMethodTable("RadioButton");
    ASSERT_NE(buttonTable, nullptr);
    ASSERT_NE(radioTable, nullptr);
    ASSERT_EQ(buttonTable->count, 45u);
    ASSERT_EQ(radioTable->count, 47u);
    const Strings own = {"SetModulationColor", "SetPosition", "SetVisible", "SetEnabled", "SetOpacity",
                         "UpdatePosition"};
    for (std::size_t i = 0; i < own.size(); ++i)
    {
        EXPECT_EQ(buttonTable->records[39 + i].name, own[i]);
        EXPECT_EQ(radioTable->records[39 + i].name, own[i]);
    }
    EXPECT_EQ(std::string(radioTable->records[45].name), "SetChecked");
    EXPECT_EQ(std::string(radioTable->records[46].name), "GetChecked");

    const RefPtr<GUI::Button> button = AddButton("B", 20, 20);
    const RefPtr<GUI::RadioButton> radio = AddRadio(*form, "R", 20, 80);
    GuiTest::LuaState lua;
    lua_State* state = lua.Get();
    button->PushToScript(state);
    lua_setglobal(state, "button");
    radio->PushToScript(state);
    lua_setglobal(state, "radio");
    EXPECT_EQ(lua.Run("button:SetPosition(30, 40); button:SetModulationColor({R = 1, G = 0, B = 0, A = 1})"),
              "");
    EXPECT_EQ(button->GetImage()->GetPosition(), Math::Vector2D(108 + 30, 108 + 40));
    EXPECT_EQ(button->GetImage()->GetModulationColor().y, 0.0f);
    EXPECT_EQ(lua.Run("radio:SetPosition(CreatePoint(50, 60)); radio:SetChecked(true)"), "");
    EXPECT_EQ(radio->GetPosition(), Math::Vector2D(50, 60));
    EXPECT_EQ(lua.Value("radio:GetChecked()"), "true");
    EXPECT_EQ(lua.Run("radio:SetVisible(false)"), "");
    EXPECT_FALSE(radio->GetImage()->IsVisible());
    EXPECT_EQ(lua.Value("button:GetParent():GetName()"), "F");

    // Every method with no argument and with every wrong kind.
    const std::string calls = R"(
        local args = { {}, {'x'}, {{}}, {true}, {1e308}, {-1}, {0/0}, {nil, 3}, {'a', 'b', 'c'}, {print} }
        for _, target in ipairs({button, radio}) do
          for name, _ in pairs(names) do
            for _, a in ipairs(args) do
              if name ~= 'Destroy' then pcall(target[name], target, unpack(a)) end
            end
          end
        end
    )";
    lua_newtable(state);
    for (std::size_t i = 0; i < radioTable->count; ++i)
    {
        lua_pushboolean(state, 1);
        lua_setfield(state, -2, radioTable->records[i].name);
    }
    lua_setglobal(state, "names");
    EXPECT_EQ(lua.Run(calls), "");
    Frames(2);
}

} // namespace

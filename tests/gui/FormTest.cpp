// Forms through the real display with a scripted mouse: the frame's
// geometry, the close button, dragging by the caption, show-only-controls,
// modal forms and the attention flash, closing, records and the script
// table.

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
using GUI::Form;

bool Same(const Math::Vector4& a, const Math::Vector4& b)
{
    return a.x == b.x && a.y == b.y && a.z == b.z && a.w == b.w;
}

class Forms : public HudTest::HudTest
{
protected:
    bool Drawn(const Core::RefPtr<GUI::ImageRenderContext>& context) const
    {
        const auto& objects = scene->GetRenderQueue().GetScreenObjects();
        return std::any_of(objects.begin(), objects.end(),
                           [&](const auto& object) { return object.Get() == context.Get(); });
    }
    bool FrameDrawn(const Form& form) const
    {
        // The caption image's centre part.
        return Drawn(form.GetFrameImage(Form::CaptionImage)->GetContext(4));
    }
};

TEST_F(Forms, FrameGeometryAndTheCloseButton)
{
    const RefPtr<Form> form = AddForm("F", 100, 50, 400, 300);
    const RefPtr<GUI::Control> child = AddChild(*form, "C", 10, 20, 50, 50);
    EXPECT_EQ(form->GetClientOffset(), Math::Vector2D(8, 8));
    EXPECT_EQ(form->GetClientRectangle(), GUI::NRectangle(108, 58, 384, 260));
    EXPECT_EQ(child->GetRectangle(), GUI::NRectangle(118, 78, 50, 50));
    const Math::Vector2D places[] = {{100, 318}, {100, 50}, {100, 58}, {492, 58}};
    const Math::Vector2D sizes[] = {{400, 32}, {400, 8}, {8, 260}, {8, 260}};
    for (std::uint32_t i = 0; i < Form::FrameImageCount; ++i)
    {
        const auto& image = *form->GetFrameImage(static_cast<Form::FrameImage>(i));
        EXPECT_EQ(image.GetPosition(), places[i]) << i;
        EXPECT_EQ(Math::Vector2D(image.GetWidth(), image.GetHeight()), sizes[i]) << i;
        EXPECT_EQ(image.GetState(), i);
    }
    EXPECT_EQ(form->GetCaptionBar(), GUI::NRectangle(100, 318, 400, 32));

    const GUI::Button& close = *form->GetCloseButton();
    EXPECT_EQ(close.GetName(), "CloseCloseClose");
    EXPECT_EQ(close.GetParent(), form.Get());
    EXPECT_FALSE(close.GetTabStop());
    EXPECT_FALSE(close.GetAcceptsEnter());
    EXPECT_EQ(close.GetClipMode(), 1u);
    const std::uint32_t records[GUI::Button::StateCount] = {4, 5, 6, 4, 4};
    for (std::uint32_t state = 0; state < GUI::Button::StateCount; ++state)
    {
        EXPECT_EQ(close.GetStateRecord(state), records[state]);
    }

    // The close button's side is the caption height minus 2 within
    // [2, 20], two units inside the top-right corner.
    struct Case
    {
        float caption, side;
    };
    for (const Case c : {Case{10, 8}, Case{40, 20}, Case{3, 2}, Case{32, 20}})
    {
        form->SetCaptionHeight(c.caption);
        EXPECT_EQ(close.GetWidth(), c.side) << c.caption;
        EXPECT_EQ(close.GetHeight(), c.side) << c.caption;
        EXPECT_EQ(close.GetRectangle(), GUI::NRectangle(500 - c.side - 2, 350 - c.side - 2, c.side, c.side))
            << c.caption;
        EXPECT_EQ(close.GetImage()->GetPosition(), Math::Vector2D(500 - c.side - 2, 350 - c.side - 2));
    }
    // Moved, the frame, the close button and the children follow.
    form->SetPosition(Math::Vector2D(0, 0));
    EXPECT_EQ(form->GetFrameImage(Form::RightImage)->GetPosition(), Math::Vector2D(392, 8));
    EXPECT_EQ(close.GetImage()->GetPosition(), Math::Vector2D(400 - 22, 300 - 22));
    EXPECT_EQ(child->GetRectangle(), GUI::NRectangle(18, 28, 50, 50));
    // Half transparent: the close button shows half, not a quarter.
    form->SetOpacity(0.5f);
    EXPECT_FLOAT_EQ(close.GetImage()->GetOpacity(), 0.5f);
    EXPECT_FLOAT_EQ(form->GetFrameImage(Form::CaptionImage)->GetOpacity(), 0.5f);
}

TEST_F(Forms, DraggingByTheCaption)
{
    const RefPtr<Form> form = AddForm("F", 100, 100, 400, 300);
    Frame();
    struct Case
    {
        const char* what;
        int fromX, fromY;
        bool drags;
    };
    const Case cases[] = {
        {"caption", 200, 385, true},
        {"client area", 200, 200, false},
        {"bottom border", 200, 103, false},
    };
    for (const Case& c : cases)
    {
        form->SetPosition(Math::Vector2D(100, 100));
        MoveTo(c.fromX, c.fromY);
        Frames(2);
        Press();
        Frame();
        for (int step = 1; step <= 5; ++step)
        {
            MoveTo(c.fromX + 10 * step, c.fromY - 7 * step);
            Frame();
            const Math::Vector2D expected =
                c.drags ? Math::Vector2D(100.0f + 10 * step, 100.0f - 7 * step) : Math::Vector2D(100, 100);
            EXPECT_EQ(form->GetPosition(), expected) << c.what << " " << step;
        }
        Release();
        Frame();
        EXPECT_FALSE(form->IsDragging()) << c.what;
        // Released, the form stays where it is.
        const Math::Vector2D rest = form->GetPosition();
        MoveTo(c.fromX + 100, c.fromY - 50);
        Frames(2);
        EXPECT_EQ(form->GetPosition(), rest) << c.what;
    }

    // With only its controls shown: no frame, no close button, no drag.
    form->SetShowOnlyControls(true);
    EXPECT_TRUE(form->GetCloseButtonVisible());
    EXPECT_FALSE(form->GetCloseButton()->IsVisible());
    MoveTo(200, 385);
    Frames(2);
    EXPECT_FALSE(FrameDrawn(*form));
    Press();
    Frame();
    MoveTo(250, 300);
    Frame();
    EXPECT_EQ(form->GetPosition(), Math::Vector2D(100, 100));
    Release();
    Frame();
    form->SetShowOnlyControls(false);
    EXPECT_TRUE(form->GetCloseButton()->IsVisible());
    form->SetCloseButtonVisible(false);
    EXPECT_FALSE(form->GetCloseButton()->IsVisible());
}

TEST_F(Forms, ModalFormsAndTheAttentionFlash)
{
    const RefPtr<Form> main = AddForm("Main", 50, 50, 400, 300);
    const RefPtr<GUI::Control> inside = AddChild(*main, "I", 20, 20, 100, 50);
    const RefPtr<Form> first = AddForm("First", 500, 400, 200, 150);
    const RefPtr<Form> second = AddForm("Second", 600, 100, 200, 150);
    first->SetModal(true);
    EXPECT_EQ(hud->GetModalForm(), first.Get());
    second->SetModal(true);
    EXPECT_FALSE(first->GetModal());
    EXPECT_TRUE(second->GetModal());
    EXPECT_EQ(hud->GetModalForm(), second.Get());
    EXPECT_EQ(hud->GetActiveForm(), second.Get());
    second->SetModal(false);
    EXPECT_EQ(hud->GetModalForm(), nullptr);
    second->SetModal(true);
    Frame();
    EXPECT_EQ(hud->GetForms().back().Get(), second.Get());
    EXPECT_TRUE(Same(second->GetFrameColor(), Form::ActiveColor));
    EXPECT_TRUE(Same(main->GetFrameColor(), Form::InactiveColor));

    // A click on a blocked control: no event there, the modal form flashes
    // for 0.8 s, switching colour every 0.1 s, and ends active.
    log.entries.clear();
    ClickAt(100, 100);
    EXPECT_TRUE(log.Of({"MouseDown", "Click"}).empty());
    ASSERT_TRUE(second->HasAttention());
    std::vector<bool> active;
    for (int sample = 0; sample < 8; ++sample)
    {
        Frames(7);
        active.push_back(Same(second->GetFrameColor(), Form::ActiveColor));
    }
    for (std::size_t i = 1; i < 7; ++i)
    {
        EXPECT_NE(active[i], active[i - 1]) << i;
    }
    Frames(10);
    EXPECT_FALSE(second->HasAttention());
    EXPECT_TRUE(Same(second->GetFrameColor(), Form::ActiveColor));
    EXPECT_EQ(hud->GetActiveForm(), second.Get());
}

// A form that counts the closing hook.
class ClosingForm : public Form
{
public:
    ClosingForm() : Form(Math::Vector2D(300, 200), 300, 200) {}
    void OnClosing() override { ++closings; }
    int closings = 0;
};

TEST_F(Forms, ClosingFromTheCloseButton)
{
    RefPtr<ClosingForm> form(new ClosingForm());
    form->SetName("Closing");
    hud->AddForm(form.Get());
    Frame();
    const GUI::NRectangle close = form->GetCloseButton()->GetRectangle();
    const int x = static_cast<int>(close.GetLeft() + close.GetWidth() / 2);
    const int y = static_cast<int>(close.GetBottom() + close.GetHeight() / 2);
    MoveTo(x, y);
    Frames(2);
    EXPECT_EQ(form->GetCloseButton()->GetImage()->GetState(), 6u);
    Press();
    Frame();
    EXPECT_EQ(form->GetCloseButton()->GetImage()->GetState(), 5u);
    Release();
    Frame();
    // Closed in this frame: still drawn, already unregistered.
    EXPECT_EQ(form->closings, 1);
    EXPECT_TRUE(FrameDrawn(*form));
    const auto& registered = hud->GetRegisteredControls();
    EXPECT_EQ(std::count(registered.begin(), registered.end(), form.Get()), 0);
    EXPECT_TRUE(registered.empty());
    Frame();
    EXPECT_TRUE(hud->GetForms().empty());
    EXPECT_FALSE(FrameDrawn(*form));
}

TEST_F(Forms, RecordsReadBackAndRefuseObjectsOfAnotherClass)
{
    const RefPtr<Form> form = AddForm("F", 100, 100, 400, 300);
    form->SetText("Caption");
    form->SetCaptionHeight(24);
    form->SetPicture(GUI::GetSkinFilePath("White.png"));
    form->SetInactiveModulationColor(Math::Vector4(0.5f, 0.25f, 0.125f, 1));
    const Bytes bytes = Written([&](Core::File& file) { file.WriteObject(form.Get()); });
    {
        Core::MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        RefPtr<Form> read;
        Core::ReadRefPtr(file, read);
        ASSERT_FALSE(file.Failed());
        EXPECT_EQ(read->GetCaptionHeight(), 24.0f);
        EXPECT_EQ(read->GetPicture(), GUI::GetSkinFilePath("White.png"));
        EXPECT_TRUE(read->GetPictureTexture());
        EXPECT_EQ(read->GetInactiveModulationColor().y, 0.25f);
        EXPECT_EQ(read->GetCloseButton()->GetParent(), read.Get());
        // The close listener joins once, after the read.
        EXPECT_EQ(read->GetCloseButton()->GetListenerCount(GUI::Event::Click), 1u);
        EXPECT_EQ(Written([&](Core::File& f) { f.WriteObject(read.Get()); }), bytes);
    }

    // A cursor where the caption image belongs, and a close button that is
    // not a child of the form: the read fails and the form stays as it was.
    RefPtr<Form> other(new Form(Math::Vector2D(0, 0), 200, 200));
    const Bytes cursorAsImage = Written(
        [&](Core::File& file)
        {
            other->Control::Write(file);
            RefPtr<GUI::Cursor> cursor(new GUI::Cursor());
            for (int i = 0; i < 5; ++i)
            {
                file.WriteObject(cursor.Get());
            }
        });
    RefPtr<Form> orphaned(new Form(Math::Vector2D(0, 0), 200, 200));
    hud->AddForm(orphaned.Get());
    orphaned->GetCloseButton()->Destroy();
    Frame();
    ASSERT_EQ(orphaned->GetControlCount(), 0u);
    const Bytes strayClose = Written([&](Core::File& file) { orphaned->Write(file); });
    for (const Bytes* bad : {&cursorAsImage, &strayClose})
    {
        const Bytes before = Written([&](Core::File& file) { form->Write(file); });
        Core::MemoryFile file(bad->data(), static_cast<std::uint32_t>(bad->size()));
        form->Read(file);
        EXPECT_TRUE(file.Failed());
        EXPECT_EQ(Written([&](Core::File& f) { form->Write(f); }), before);
        EXPECT_EQ(form->GetCloseButton()->GetListenerCount(GUI::Event::Click), 1u);
    }
}

TEST_F(Forms, ScriptTable)
{
    const Script::MethodTable* table = Script::FindMethodTable("Form");
    ASSERT_NE(table, nullptr);
    const std::vector<std::string> first = {
        "Close",           "SetPosition",           "SetOpacity",         "SetVisible",
        "SetModal",        "GetModal",              "SetShowOnlyControls", "GetShowOnlyControls",
        "SetPicture",      "GetPicture",            "SetInactiveModulationColor",
        "GetInactiveModulationColor",               "SetCloseButtonVisible", "GetCloseButtonVisible",
        "SetCaptionHeight", "GetCaptionHeight",     "SetBottomBorderHeight", "GetBottomBorderHeight",
        "SetLeftBorderWidth", "GetLeftBorderWidth", "SetRightBorderWidth", "GetRightBorderWidth",
        "SetPositionX"};
    ASSERT_EQ(table->count, 63u);
    for (std::size_t i = 0; i < first.size(); ++i)
    {
        EXPECT_EQ(table->records[i].name, first[i]) << i;
    }
    EXPECT_EQ(std::string(table->records[62].name), "GetControlsCount");

    const RefPtr<Form> form = AddForm("F", 100, 100, 400, 300);
    GuiTest::LuaState lua;
    lua_State* state = lua.Get();
    form->PushToScript(state);
    lua_setglobal(state, "form");
    EXPECT_EQ(lua.Run("form:SetCaptionHeight(40); form:SetModal(true); form:SetPosition(10, 20)"), "");
    EXPECT_EQ(form->GetCloseButton()->GetWidth(), 20.0f);
    EXPECT_TRUE(form->GetModal());
    EXPECT_EQ(form->GetPosition(), Math::Vector2D(10, 20));
    EXPECT_EQ(lua.Value("form:GetCaptionHeight()"), "40");
    EXPECT_EQ(lua.Value("form:GetControl(0):GetName()"), "CloseCloseClose");

    const std::string calls = R"(
        local args = { {}, {'x'}, {{}}, {true}, {1e308}, {-1}, {0/0}, {nil, 3}, {'a', 'b', 'c'}, {print} }
        for name, _ in pairs(names) do
          for _, a in ipairs(args) do
            if name ~= 'Close' and name ~= 'Destroy' then pcall(form[name], form, unpack(a)) end
          end
        end
    )";
    lua_newtable(state);
    for (std::size_t i = 0; i < table->count; ++i)
    {
        lua_pushboolean(state, 1);
        lua_setfield(state, -2, table->records[i].name);
    }
    lua_setglobal(state, "names");
    EXPECT_EQ(lua.Run(calls), "");
    Frames(2);
    EXPECT_EQ(lua.Run("form:Close()"), "");
    Frames(2);
    EXPECT_TRUE(hud->GetForms().empty());
}

} // namespace

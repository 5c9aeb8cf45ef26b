#include "HudTestSupport.h"

#include <gtest/gtest.h>

namespace
{

using Core::RefPtr;
using Strings = std::vector<std::string>;

class HudEvents : public HudTest::HudTest
{
protected:
    void SetUp() override
    {
        HudTest::SetUp();
        // Form "F" at (100, 100), 400 x 300; A and B side by side in it.
        form = AddForm("F", 100, 100, 400, 300);
        a = AddChild(*form, "A", 20, 20, 100, 50);
        b = AddChild(*form, "B", 200, 20, 100, 50);
        Frame();
        log.entries.clear();
    }

    RefPtr<GUI::Form> form;
    RefPtr<GUI::Control> a;
    RefPtr<GUI::Control> b;
};

TEST_F(HudEvents, ClicksAndDoubleClicks)
{
    struct Case
    {
        float gap;
        Strings events;
    };
    const Case cases[] = {
        {0.3f, {"A.Click", "A.ClickDone", "A.DoubleClick", "A.DoubleClickDone"}},
        {0.05f, {"A.Click", "A.ClickDone", "A.Click", "A.ClickDone"}},
        {0.7f, {"A.Click", "A.ClickDone", "A.Click", "A.ClickDone"}},
    };
    for (const Case& c : cases)
    {
        Wait(1.0f);
        log.entries.clear();
        // The release frames lie `gap` apart.
        ClickAt(150, 140);
        Frames(static_cast<int>(std::lround(c.gap / Step)) - 3);
        ClickAt(150, 140);
        EXPECT_EQ(log.Of({"Click", "ClickDone", "DoubleClick", "DoubleClickDone"}), c.events) << c.gap;
    }
}

TEST_F(HudEvents, PressesThatLeaveOrArriveGiveNoClick)
{
    // Pressed on A, released over empty space in the form: MouseUp only.
    MoveTo(150, 140);
    Frame();
    Press();
    Frame();
    MoveTo(150, 300);
    Frame();
    Release();
    Frame();
    EXPECT_EQ(log.Of({"Click", "MouseDown", "MouseUp"}), (Strings{"A.MouseDown(0)", "A.MouseUp(0)"}));

    // Pressed outside every control, released over A: A hears nothing.
    log.entries.clear();
    MoveTo(20, 20);
    Frame();
    Press();
    Frame();
    MoveTo(150, 140);
    Frames(2);
    Release();
    Frame();
    EXPECT_TRUE(log.Of({"Click", "MouseDown", "MouseUp"}).empty());
    EXPECT_EQ(hud->GetPressedControl(), nullptr);
}

TEST_F(HudEvents, APressCapturesTheControlItBeganOn)
{
    MoveTo(150, 140);
    Frame();
    Press();
    Frame();
    EXPECT_EQ(hud->GetPressedControl(), a.Get());
    MoveTo(350, 140);
    Frames(3);
    EXPECT_EQ(hud->GetPressedControl(), a.Get());
    EXPECT_EQ(hud->GetHoveredControl(), b.Get());
    EXPECT_EQ(log.Count("B.MouseEnter"), 0u);
    EXPECT_EQ(log.Count("A.MouseLeave"), 1u);
    Release();
    Frames(2);
    EXPECT_EQ(hud->GetPressedControl(), nullptr);
    EXPECT_EQ(log.Count("B.MouseEnter"), 1u);

    // A press begun over nothing keeps the slot empty while the mouse
    // crosses controls.
    MoveTo(10, 10);
    Frame();
    Press();
    Frame();
    for (const int x : {150, 350, 150})
    {
        MoveTo(x, 140);
        Frame();
        EXPECT_EQ(hud->GetPressedControl(), nullptr) << x;
    }
    Release();
    Frame();
    EXPECT_EQ(log.Count("A.MouseDown(0)"), 1u);
}

TEST_F(HudEvents, HoverAndMove)
{
    MoveTo(150, 140);
    Frame();
    log.entries.clear();
    Frames(3);
    EXPECT_EQ(log.Of({"MouseHover", "MouseMove"}), (Strings{"A.MouseHover", "A.MouseHover", "A.MouseHover"}));

    // Moving: button 3 with nothing held, 0 with the left button held.
    log.entries.clear();
    MoveTo(151, 140);
    Frame();
    Press();
    Frame();
    MoveTo(152, 140);
    Frame();
    EXPECT_EQ(log.Of({"MouseMove"}), (Strings{"A.MouseMove(3)", "A.MouseMove(0)"}));

    // While A holds the press, B under the mouse hovers never.
    log.entries.clear();
    MoveTo(350, 140);
    Frames(3);
    EXPECT_EQ(log.Count("B.MouseHover"), 0u);
    Release();
    Frames(3);
    EXPECT_GE(log.Count("B.MouseHover"), 1u);
}

TEST_F(HudEvents, TabOrder)
{
    const RefPtr<GUI::Control> c = AddChild(*form, "C", 20, 100, 50, 50);
    const RefPtr<GUI::Control> d = AddChild(*form, "D", 100, 100, 50, 50);
    // New controls come with tab index 0; the order is set here.
    a->SetTabIndex(0);
    b->SetTabIndex(1);
    c->SetTabIndex(2);
    d->SetTabIndex(3);
    form->SortTabList();
    c->SetEnabled(false);
    d->SetVisible(false);
    Frame();
    // A has the focus from the first update; Tab skips C and D.
    ASSERT_TRUE(a->IsFocused());
    Key(TabKey);
    EXPECT_TRUE(b->IsFocused());
    EXPECT_FALSE(a->IsFocused());
    Key(TabKey);
    EXPECT_TRUE(a->IsFocused());

    // Disabling the focused child moves the focus on.
    a->SetEnabled(false);

    EXPECT_TRUE(b->IsFocused());
    // One qualifying entry: Tab keeps it.
    Key(TabKey);
    EXPECT_TRUE(b->IsFocused());
    EXPECT_EQ(form->GetTabPosition(), 1);

    // Removing children under the tab position: positions stay in the list.
    b->Destroy();
    c->Destroy();
    d->Destroy();
    Frame();
    EXPECT_EQ(form->GetTabList().size(), 1u);
    EXPECT_LT(form->GetTabPosition(), 1);
    Key(TabKey);
    form->FocusTabPosition();
    EXPECT_FALSE(form->SetTabPosition(-1));
    EXPECT_FALSE(form->SetTabPosition(5));
}

TEST_F(HudEvents, ModalRootBlocksOtherRoots)
{
    const RefPtr<GUI::Form> modal = AddForm("M", 600, 400, 200, 150);
    const RefPtr<GUI::Control> inside = AddChild(*modal, "I", 10, 10, 50, 50);
    hud->SetModalForm(modal.Get());
    Frame();
    log.entries.clear();
    ClickAt(150, 140);
    EXPECT_TRUE(log.Of({"MouseDown", "Click", "MouseEnter", "MouseHover"}).empty());
    EXPECT_TRUE(modal->HasAttention());
    // The modal form's own children still hear the mouse.
    ClickAt(620, 420);
    EXPECT_EQ(log.Count("I.Click"), 1u);
}

TEST_F(HudEvents, OpacityIsClampedAndInherited)
{
    struct Case
    {
        float set, own;
    };
    for (const Case& c : {Case{1.5f, 1.0f}, Case{-0.2f, 0.0f}, Case{0.25f, 0.25f}})
    {
        a->SetOpacity(c.set);
        EXPECT_EQ(a->GetOwnOpacity(), c.own) << c.set;
    }
    form->SetOpacity(0.5f);
    a->SetOpacity(0.8f);
    EXPECT_FLOAT_EQ(a->GetOpacity(), 0.4f);
}

// A form that counts its updates.
class CountingForm : public GUI::Form
{
public:
    CountingForm() : Form(Math::Vector2D(600, 100), 100, 100) {}
    void PostUpdate(float) override { ++updates; }
    int updates = 0;
};

TEST_F(HudEvents, DeferredChanges)
{
    // A root queued for removal during an update is still updated in that
    // update, and gone when the next one starts.
    RefPtr<CountingForm> other(new CountingForm());
    hud->AddForm(other.Get());
    struct Remover
    {
        void OnClick(GUI::Control*) { target->Destroy(); }
        GUI::Control* target;
    } remover{other.Get()};
    a->AddListener(GUI::Event::Click, &remover, &Remover::OnClick);
    Frame();
    const int before = other->updates;
    ClickAt(150, 140);
    EXPECT_EQ(other->updates, before + 3);
    EXPECT_EQ(hud->GetForms().size(), 2u);
    Frame();
    EXPECT_EQ(hud->GetForms().size(), 1u);
    EXPECT_EQ(other->updates, before + 3);

    // Destroyed during the update: at its end, after hover and press.
    struct Destroyer
    {
        void OnDown(GUI::Control* c, const GUI::MouseEvent&)
        {
            GUI::HUD::GetInstance()->DestroyControlLater(c);
        }
    } destroyer;
    a->AddListener(GUI::Event::MouseDown, &destroyer, &Destroyer::OnDown);
    MoveTo(150, 140);
    Frame();
    Press();
    Frame();
    // Hover and press were computed, then the destruction cleared them.
    EXPECT_EQ(hud->GetPressedControl(), nullptr);
    EXPECT_EQ(hud->GetHoveredControl(), nullptr);
    Release();
    Frame();
    // The form's close button and B are left.
    EXPECT_EQ(form->GetControlCount(), 2u);
    EXPECT_EQ(a->GetParent(), nullptr);

    // A listener that destroys its own control at once.
    struct SelfDestroyer
    {
        void OnClick(GUI::Control* c) { c->Destroy(); }
    } selfDestroyer;
    b->AddListener(GUI::Event::Click, &selfDestroyer, &SelfDestroyer::OnClick);
    GUI::Control* raw = b.Get();
    b.Reset();
    ClickAt(350, 140);
    Frame();
    EXPECT_EQ(form->GetControlCount(), 1u);
    EXPECT_EQ(std::count(hud->GetRegisteredControls().begin(), hud->GetRegisteredControls().end(), raw), 0);
}

TEST_F(HudEvents, Cursors)
{
    const auto cursorDrawn = [&](const GUI::Cursor* cursor)
    {
        for (const auto& object : scene->GetRenderQueue().GetScreenObjects())
        {
            if (object.Get() == cursor->GetContext().Get())
            {
                return true;
            }
        }
        return false;
    };
    const GUI::Cursor* standard = hud->GetDefaultCursor().Get();
    MoveTo(10, 10);
    Frames(2);
    EXPECT_TRUE(cursorDrawn(standard));
    hud->ShowCursor(false);
    Frames(2);
    EXPECT_FALSE(cursorDrawn(standard));
    EXPECT_FALSE(hud->GetCursorManager()->GetCursor());

    // Directly over A: A's own cursor.
    RefPtr<GUI::Cursor> own(new GUI::Cursor(GUI::GetCursorPath("Arrow.png")));
    a->SetCursor(own);
    MoveTo(150, 140);
    Frames(2);
    EXPECT_TRUE(cursorDrawn(own.Get()));

    // Out of the window and back: the system cursor is shown once, then
    // hidden once.
    const int calls = source.GetShowCalls();
    source.SetCursor(-50, -50);
    Frames(3);
    EXPECT_EQ(source.GetShowCalls(), calls + 1);
    EXPECT_TRUE(source.IsCursorShowing());
    MoveTo(10, 10);
    Frames(3);
    EXPECT_EQ(source.GetShowCalls(), calls + 2);
    EXPECT_FALSE(source.IsCursorShowing());

    hud->Clear();
    EXPECT_FALSE(hud->IsCursorVisible());
    EXPECT_TRUE(hud->GetForms().empty());
}

TEST_F(HudEvents, Lifetimes)
{
    // A root never added, holding registered children, is released and
    // the display no longer names them.
    {
        RefPtr<GUI::Form> loose(new GUI::Form(Math::Vector2D(0, 0), 10, 10));
        RefPtr<GUI::Control> child(new GUI::Control());
        loose->AddControl(child.Get());
        EXPECT_EQ(
            std::count(hud->GetRegisteredControls().begin(), hud->GetRegisteredControls().end(), child.Get()),
            1);
    }
    // F, its close button, A and B.
    EXPECT_EQ(hud->GetRegisteredControls().size(), 4u);

    // A child kept past its parent: its parent link is gone with the parent.
    RefPtr<GUI::Control> kept = a;
    a.Reset();
    b.Reset();
    form->Destroy();
    form.Reset();
    Frames(2);
    EXPECT_TRUE(hud->GetForms().empty());
    EXPECT_EQ(kept->GetParent(), nullptr);
    EXPECT_TRUE(hud->GetRegisteredControls().empty());
    MoveTo(150, 140);
    Frames(2);
    EXPECT_EQ(hud->GetHoveredControl(), nullptr);
}

} // namespace

#include "InputTestSupport.h"

#include "input/Input_KeyCodes.h"
#include "input/Input_MouseImp.h"

#include <limits>

using Input::KeyRecord;
using Input::MouseImp;
using Input::MouseMotion;
using Input::MouseState;
namespace VK = Input::VirtualKey;

namespace
{

// The scripted source never looks inside a window: any non-null pointer
// names one, and its client area is the source's.
int g_windowToken = 0;
PAL::Window* const kWindow = reinterpret_cast<PAL::Window*>(&g_windowToken);

constexpr std::uint8_t kButtonKeys[3] = {VK::LButton, VK::MButton, VK::RButton};

class MouseTest : public InputTest::ScriptedInputTest
{
protected:
    // A new mouse is guarded until no button is held and its start check
    // has caught up with the pointer; two quiet updates always get there.
    void Settle(MouseImp& mouse)
    {
        mouse.Update();
        mouse.Update();
    }

    void SetButtons(bool left, bool middle, bool right)
    {
        source.SetKeyDown(VK::LButton, left);
        source.SetKeyDown(VK::MButton, middle);
        source.SetKeyDown(VK::RButton, right);
    }

    std::vector<std::uint8_t> ChangedButtons(const MouseImp& mouse)
    {
        MouseMotion motion;
        std::vector<std::uint8_t> buttons;
        std::vector<KeyRecord> records;
        mouse.ExportEvents(motion, buttons, records);
        EXPECT_EQ(buttons.size(), records.size());
        return buttons;
    }
};

TEST_F(MouseTest, ButtonHoldTriggerAndRelease)
{
    struct Step
    {
        bool isDown;
        bool pressed, triggered, up;
    };
    // Down, held, released, quiet, tapped, and pressed again right after a
    // release: `up` stays until an update finds the button up.
    const Step steps[] = {
        {true, true, true, false},    {true, true, false, false}, {false, false, false, true},
        {false, false, false, false}, {true, true, true, false},  {false, false, false, true},
        {true, true, true, true},     {true, true, false, true},  {false, false, false, true},
        {false, false, false, false},
    };
    for (int button = 0; button < 3; ++button)
    {
        SCOPED_TRACE(button);
        Core::RefPtr<MouseImp> mouse = MouseImp::CreateInstance();
        Settle(*mouse);
        int index = 0;
        for (const Step& step : steps)
        {
            SCOPED_TRACE(index++);
            source.SetKeyDown(kButtonKeys[button], step.isDown);
            mouse->Update();
            EXPECT_EQ(mouse->IsPressed(button), step.pressed);
            EXPECT_EQ(mouse->IsTriggered(button), step.triggered);
            EXPECT_EQ(mouse->IsDown(button), step.triggered);
            EXPECT_EQ(mouse->IsUp(button), step.up);
            for (int other = 0; other < 3; ++other)
            {
                if (other != button)
                {
                    EXPECT_FALSE(mouse->IsPressed(other) || mouse->IsUp(other));
                }
            }
        }
    }
}

TEST_F(MouseTest, ButtonNumbersOutsideZeroToTwoAreFalse)
{
    Core::RefPtr<MouseImp> mouse = MouseImp::CreateInstance();
    Settle(*mouse);
    SetButtons(true, true, true);
    mouse->Update();
    for (std::int32_t button : {-1, 3, 4, std::numeric_limits<std::int32_t>::max()})
    {
        EXPECT_FALSE(mouse->IsPressed(button));
        EXPECT_FALSE(mouse->IsTriggered(button));
        EXPECT_FALSE(mouse->IsDown(button));
        EXPECT_FALSE(mouse->IsUp(button));
    }
}

TEST_F(MouseTest, ChangedListFollowsTheFirstChangedButton)
{
    struct Case
    {
        const char* name;
        bool before[3];
        bool now[3];
        std::vector<std::uint8_t> changed;
    };
    const std::vector<Case> cases = {
        {"nothing", {false, false, false}, {false, false, false}, {}},
        {"middle goes down", {false, false, false}, {false, true, false}, {1, 2}},
        {"right goes down", {false, false, false}, {false, false, true}, {2}},
        {"left goes down", {false, false, false}, {true, false, false}, {0, 1, 2}},
        {"middle released", {false, true, false}, {false, false, false}, {1, 2}},
        {"right held", {false, false, true}, {false, false, true}, {2}},
        {"left held, middle released", {true, true, false}, {true, false, false}, {0, 1, 2}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Core::RefPtr<MouseImp> mouse = MouseImp::CreateInstance();
        Settle(*mouse);
        SetButtons(c.before[0], c.before[1], c.before[2]);
        mouse->Update();
        SetButtons(c.now[0], c.now[1], c.now[2]);
        mouse->Update();
        EXPECT_EQ(ChangedButtons(*mouse), c.changed);
        SetButtons(false, false, false);
    }
}

TEST_F(MouseTest, ExportEventsReportsMotionWithoutButtonChanges)
{
    Core::RefPtr<MouseImp> mouse = MouseImp::CreateInstance();
    Settle(*mouse);

    MouseMotion motion;
    std::vector<std::uint8_t> buttons = {7};
    std::vector<KeyRecord> records(1);
    EXPECT_FALSE(mouse->ExportEvents(motion, buttons, records));

    source.SetCursor(40, 60);
    mouse->Update();
    EXPECT_TRUE(mouse->IsMoved());
    EXPECT_TRUE(mouse->ExportEvents(motion, buttons, records));
    // Without button changes the caller's lists are left alone.
    EXPECT_EQ(buttons, std::vector<std::uint8_t>{7});
    EXPECT_EQ(motion.x, 40);
    EXPECT_EQ(motion.y, 60);
    EXPECT_EQ(motion.previousX, 40);
    EXPECT_EQ(motion.moved, 1);

    mouse->Update();
    EXPECT_FALSE(mouse->IsMoved());
}

TEST_F(MouseTest, StartGuardIgnoresButtonsHeldAtCreationAndAfterReset)
{
    source.SetKeyDown(VK::LButton, true);
    Core::RefPtr<MouseImp> mouse = MouseImp::CreateInstance();
    for (int update = 0; update < 5; ++update)
    {
        mouse->Update();
        EXPECT_FALSE(mouse->IsPressed(0));
        EXPECT_TRUE(ChangedButtons(*mouse).empty());
    }
    source.SetKeyDown(VK::LButton, false);
    mouse->Update();
    EXPECT_FALSE(mouse->IsUp(0));
    source.SetKeyDown(VK::LButton, true);
    mouse->Update();
    EXPECT_TRUE(mouse->IsTriggered(0));

    // Reset clears the buttons and guards again while the button is held.
    mouse->Reset();
    EXPECT_FALSE(mouse->IsPressed(0));
    mouse->Update();
    EXPECT_FALSE(mouse->IsPressed(0));
    source.SetKeyDown(VK::LButton, false);
    Settle(*mouse);
    source.SetKeyDown(VK::RButton, true);
    mouse->Update();
    EXPECT_TRUE(mouse->IsTriggered(2));
}

TEST_F(MouseTest, StartGuardWaitsOneUpdateForAPointerThatMoved)
{
    // The start check remembers the pointer across mice. A mouse created
    // where it last looked lets go at its first quiet update; one created
    // elsewhere spends that update catching up, so a press right after it
    // still falls under the guard.
    struct Case
    {
        std::int32_t x, y;
        bool pressSeen;
    };
    for (const Case& c : {Case{0, 0, true}, Case{300, 200, false}})
    {
        Core::RefPtr<MouseImp> first = MouseImp::CreateInstance();
        Settle(*first);
        source.SetCursor(c.x, c.y);
        Core::RefPtr<MouseImp> second = MouseImp::CreateInstance();
        second->Update();
        source.SetKeyDown(VK::MButton, true);
        second->Update();
        EXPECT_EQ(second->IsTriggered(1), c.pressSeen);
        source.SetKeyDown(VK::MButton, false);
        source.SetCursor(0, 0);
    }
}

TEST_F(MouseTest, PositionIsClientPixelsFromTheBottomLeftClamped)
{
    source.SetClientArea({100, 50, 1024, 768});
    Core::RefPtr<MouseImp> mouse = MouseImp::CreateInstance();
    mouse->SetWindow(kWindow);
    EXPECT_EQ(mouse->GetWindow(), kWindow);
    Settle(*mouse);

    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    struct Case
    {
        std::int32_t screenX, screenY;
        std::int32_t x, y;
        bool inWindow;
    };
    const Case cases[] = {
        {100, 50, 0, 767, true},     // client top-left pixel
        {99, 50, 0, 767, false},     // left of the window
        {1123, 817, 1023, 0, true},  // client bottom-right pixel
        {1124, 818, 1023, 0, false}, // past it
        {600, 434, 500, 383, true},  {300, 0, 200, 767, false},
        {kMin, kMax, 0, 0, false},   {kMax, kMin, 1023, 767, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.screenX << ", " << c.screenY);
        source.SetCursor(c.screenX, c.screenY);
        mouse->Update();
        std::int32_t x = -1;
        std::int32_t y = -1;
        mouse->GetPosition(x, y);
        EXPECT_EQ(x, c.x);
        EXPECT_EQ(y, c.y);
        EXPECT_EQ(mouse->GetPositionX(), c.x);
        EXPECT_EQ(mouse->GetPositionY(), c.y);
        EXPECT_EQ(mouse->GetPosition(), Math::Vector2D(static_cast<float>(c.x), static_cast<float>(c.y)));
        EXPECT_EQ(mouse->IsInWindow(), c.inWindow);
    }
}

TEST_F(MouseTest, WithoutAWindowOrClientAreaPositionsFallBack)
{
    source.SetCursor(10, 10);
    Core::RefPtr<MouseImp> mouse = MouseImp::CreateInstance();
    Settle(*mouse);
    std::int32_t x = -1;
    std::int32_t y = -1;
    mouse->GetPosition(x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_FALSE(mouse->IsInWindow());
    mouse->SetPosition(5, 5);
    source.GetCursorPosition(x, y);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 10);

    // A window with an empty client area (minimised) has no pixel to clamp to.
    mouse->SetWindow(kWindow);
    for (Input::ClientArea area : {Input::ClientArea{10, 10, 0, 768}, Input::ClientArea{10, 10, 1024, 0}})
    {
        source.SetClientArea(area);
        mouse->GetPosition(x, y);
        EXPECT_EQ(x, 0);
        EXPECT_EQ(y, 0);
        EXPECT_FALSE(mouse->IsInWindow());
    }
}

TEST_F(MouseTest, SetPositionMovesThePointerToTheClientPixel)
{
    source.SetClientArea({100, 50, 1024, 768});
    Core::RefPtr<MouseImp> mouse = MouseImp::CreateInstance();
    mouse->SetWindow(kWindow);
    Settle(*mouse);

    mouse->SetPosition(0, 0);
    std::int32_t x = 0;
    std::int32_t y = 0;
    source.GetCursorPosition(x, y);
    EXPECT_EQ(x, 100);
    EXPECT_EQ(y, 50 + 767); // the bottom-left client pixel
    // The new position is current at once; the next update sees the move.
    mouse->GetPosition(x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    mouse->Update();
    EXPECT_TRUE(mouse->IsMoved());

    mouse->SetPosition(1023, 767);
    source.GetCursorPosition(x, y);
    EXPECT_EQ(x, 1123);
    EXPECT_EQ(y, 50);
}

TEST_F(MouseTest, CursorVisibilityStepsTheShowCounterAcrossZero)
{
    Core::RefPtr<MouseImp> mouse = MouseImp::CreateInstance();
    EXPECT_TRUE(mouse->IsCursorVisible());
    mouse->ShowCursor(false);
    EXPECT_EQ(source.GetShowCounter(), -1);
    EXPECT_FALSE(mouse->IsCursorVisible());

    // Others hid it twice more: one show must bring it all the way back.
    source.ShowCursor(false);
    source.ShowCursor(false);
    mouse->SetCursorVisible(true);
    EXPECT_EQ(source.GetShowCounter(), 0);
    EXPECT_TRUE(mouse->IsCursorVisible());

    const std::int32_t calls = source.GetShowCalls();
    Core::RefPtr<MouseImp> external = MouseImp::CreateExternal();
    external->SetCursorVisible(false);
    EXPECT_EQ(source.GetShowCalls(), calls);
    EXPECT_TRUE(mouse->IsCursorVisible());
}

TEST_F(MouseTest, StateRecordLayoutAndLoadingIntoAnExternalMouse)
{
    source.SetClientArea({0, 0, 640, 480});
    Core::RefPtr<MouseImp> local = MouseImp::CreateInstance();
    local->SetWindow(kWindow);
    Settle(*local);
    source.SetCursor(10, 479);
    source.SetKeyDown(VK::RButton, true);
    local->Update();
    local->ShowCursor(false);

    const void* data = nullptr;
    std::uint32_t size = 0;
    local->GetState(data, size);
    ASSERT_NE(data, nullptr);
    ASSERT_EQ(size, 28u);
    const std::vector<std::uint8_t> expected = {
        0,  0, 0, 0, 0, // left
        0,  0, 0, 0, 0, // middle
        1,  1, 1, 1, 0, // right: pressed, triggered, held, down
        0,              // padding
        10, 0, 0, 0,    // x
        0,  0, 0, 0,    // y: the bottom client row
        1,  1, 0, 0,    // in window, moved, cursor hidden, padding
    };
    const std::vector<std::uint8_t> bytes = InputTest::Bytes(data, size);
    EXPECT_EQ(bytes, expected);

    Core::RefPtr<MouseImp> external = MouseImp::CreateExternal();
    EXPECT_FALSE(external->LoadState(bytes.data(), 27));
    EXPECT_FALSE(external->LoadState(nullptr, 28));
    EXPECT_FALSE(external->IsPressed(2));
    EXPECT_FALSE(external->IsInWindow());

    ASSERT_TRUE(external->LoadState(bytes.data(), 28));
    std::int32_t x = -1;
    std::int32_t y = -1;
    external->GetPosition(x, y);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 0);
    EXPECT_TRUE(external->IsInWindow());
    EXPECT_TRUE(external->IsMoved());
    EXPECT_FALSE(external->IsCursorVisible());
    for (int button = 0; button < 3; ++button)
    {
        EXPECT_EQ(external->IsPressed(button), button == 2);
        EXPECT_EQ(external->IsTriggered(button), button == 2);
        EXPECT_EQ(external->IsDown(button), button == 2);
        EXPECT_FALSE(external->IsUp(button));
    }

    // A local mouse loads nothing; an external one exports nothing.
    EXPECT_FALSE(local->LoadState(bytes.data(), 28));
    external->GetState(data, size);
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(size, 0u);
}

TEST_F(MouseTest, ExternalMouseNeverPollsNorTakesAWindow)
{
    Core::RefPtr<MouseImp> external = MouseImp::CreateExternal();
    EXPECT_TRUE(external->IsExternal());
    external->SetWindow(kWindow);
    EXPECT_EQ(external->GetWindow(), nullptr);
    source.SetKeyDown(VK::LButton, true);
    source.SetCursor(5, 5);
    for (int update = 0; update < 3; ++update)
    {
        external->Update();
    }
    EXPECT_FALSE(external->IsPressed(0));
    EXPECT_FALSE(external->IsMoved());
}

TEST_F(MouseTest, EventsRoundTripOntoAnotherMouse)
{
    Core::RefPtr<MouseImp> recorder = MouseImp::CreateInstance();
    Settle(*recorder);
    source.SetCursor(320, 240);
    source.SetKeyDown(VK::MButton, true);
    recorder->Update();

    MouseMotion motion;
    std::vector<std::uint8_t> buttons;
    std::vector<KeyRecord> records;
    ASSERT_TRUE(recorder->ExportEvents(motion, buttons, records));
    EXPECT_EQ(buttons, (std::vector<std::uint8_t>{1, 2}));

    source.SetCursor(0, 0);
    source.SetKeyDown(VK::MButton, false);
    Core::RefPtr<MouseImp> player = MouseImp::CreateExternal();
    ASSERT_TRUE(player->ApplyEvents(motion, buttons, records));
    EXPECT_TRUE(player->IsTriggered(1));
    EXPECT_FALSE(player->IsPressed(2));
    EXPECT_TRUE(player->IsMoved());

    // The motion comes back out byte for byte.
    MouseMotion replayed;
    std::vector<std::uint8_t> unused;
    std::vector<KeyRecord> unusedRecords;
    EXPECT_TRUE(player->ExportEvents(replayed, unused, unusedRecords));
    EXPECT_EQ(InputTest::Bytes(&replayed, sizeof(replayed)), InputTest::Bytes(&motion, sizeof(motion)));

    // Applying the same position again is no move; stale buttons clear.
    ASSERT_TRUE(player->ApplyEvents(motion, {}, {}));
    EXPECT_FALSE(player->IsMoved());
    EXPECT_FALSE(player->IsPressed(1));
}

TEST_F(MouseTest, ApplyEventsRefusesMismatchedListsAndSkipsUnknownButtons)
{
    Core::RefPtr<MouseImp> mouse = MouseImp::CreateExternal();
    KeyRecord down;
    down.Advance(true);
    MouseMotion motion;
    motion.x = 1;
    ASSERT_TRUE(mouse->ApplyEvents(motion, {0}, {down}));

    MouseMotion elsewhere;
    elsewhere.x = 500;
    EXPECT_FALSE(mouse->ApplyEvents(elsewhere, {0, 1, 2}, {down}));
    EXPECT_FALSE(mouse->ApplyEvents(elsewhere, {}, {down, down}));
    // Nothing changed: the left button is still down, the position stayed.
    EXPECT_TRUE(mouse->IsPressed(0));
    EXPECT_FALSE(mouse->IsPressed(1));
    ASSERT_TRUE(mouse->ApplyEvents(motion, {}, {}));
    EXPECT_FALSE(mouse->IsMoved());

    EXPECT_TRUE(mouse->ApplyEvents(motion, {3, 255, 2}, {down, down, down}));
    EXPECT_TRUE(mouse->IsPressed(2));
    EXPECT_FALSE(mouse->IsPressed(0));
}

TEST_F(MouseTest, ProcessWideMouseIsTheLatestLocalOne)
{
    Core::RefPtr<MouseImp> external = MouseImp::CreateExternal();
    EXPECT_NE(MouseImp::GetInstance(), external.Get());
    Core::RefPtr<MouseImp> local = MouseImp::CreateInstance();
    EXPECT_EQ(MouseImp::GetInstance(), local.Get());
    EXPECT_EQ(local->GetReferenceCount(), 1u);
    local.Reset();
    EXPECT_EQ(MouseImp::GetInstance(), nullptr);
}

} // namespace

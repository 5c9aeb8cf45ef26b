#include "InputTestSupport.h"

#include "input/Input_KeyCodes.h"
#include "input/Input_KeyboardImp.h"

#include <limits>

using Input::KeyboardImp;
using Input::KeyRecord;
using Input::KeySnapshotEntry;
namespace Key = Input::Key;
namespace VK = Input::VirtualKey;

namespace
{

class KeyboardTest : public InputTest::ScriptedInputTest
{
protected:
    // A local keyboard whose start guard is out of the way.
    Core::RefPtr<KeyboardImp> MakeLocal()
    {
        Core::RefPtr<KeyboardImp> keyboard = KeyboardImp::CreateInstance();
        keyboard->ClearStartGuard();
        return keyboard;
    }

    std::vector<std::uint8_t> Snapshot(KeyboardImp& keyboard)
    {
        const void* data = nullptr;
        std::uint32_t size = 0;
        keyboard.ExportSnapshot(data, size);
        EXPECT_EQ(data == nullptr, size == 0);
        return InputTest::Bytes(data, size);
    }
};

TEST_F(KeyboardTest, KeyHoldTriggerAndRelease)
{
    struct Step
    {
        bool isDown;
        bool pressed, triggered, up;
    };
    const Step steps[] = {
        {true, true, true, false},   {true, true, false, false},   {true, true, false, false},
        {false, false, false, true}, {false, false, false, false}, {true, true, true, false},
        {false, false, false, true}, {true, true, true, true},     {false, false, false, true},
    };
    Core::RefPtr<KeyboardImp> keyboard = MakeLocal();
    int index = 0;
    for (const Step& step : steps)
    {
        SCOPED_TRACE(index++);
        source.SetKeyDown('A', step.isDown);
        keyboard->Update();
        EXPECT_EQ(keyboard->IsPressed(Key::A), step.pressed);
        EXPECT_EQ(keyboard->IsTriggered(Key::A), step.triggered);
        EXPECT_EQ(keyboard->IsDown(Key::A), step.triggered);
        EXPECT_EQ(keyboard->IsUp(Key::A), step.up);
        EXPECT_FALSE(keyboard->IsPressed(Key::A + 1));
    }
}

TEST_F(KeyboardTest, EngineCodesReachTheirVirtualKeys)
{
    struct Case
    {
        std::int32_t code;
        std::uint8_t virtualKey;
    };
    // The codes the framework, the game and the GUI name.
    const Case cases[] = {
        {Key::Tab, VK::Tab},
        {Key::Return, VK::Return},
        {Key::Escape, VK::Escape},
        {Key::Space, VK::Space},
        {Key::Left, VK::Left},
        {Key::Up, VK::Up},
        {Key::Right, VK::Right},
        {Key::Down, VK::Down},
        {Key::A, 'A'},
        {55, 'C'},
        {69, 'Q'},
        {78, 'Z'},
        {Key::LeftShift, VK::LShift},
        {Key::F1, VK::F1},
        {16, 0x15},
        {17, 0x15},
        {126, 0x92},
        {195, 0xFE},
    };
    Core::RefPtr<KeyboardImp> keyboard = MakeLocal();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(Input::ToVirtualKey(c.code), c.virtualKey);
        source.ReleaseAllKeys();
        keyboard->Update();
        source.SetKeyDown(c.virtualKey, true);
        keyboard->Update();
        EXPECT_TRUE(keyboard->IsTriggered(c.code));
    }
    source.SetKeyDown(0xFF, true);
    keyboard->Update();
    for (std::int32_t code :
         {-1, 196, std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::min()})
    {
        EXPECT_EQ(Input::ToVirtualKey(code), 0);
        EXPECT_FALSE(keyboard->IsPressed(code));
        EXPECT_FALSE(keyboard->IsTriggered(code));
        EXPECT_FALSE(keyboard->IsDown(code));
        EXPECT_FALSE(keyboard->IsUp(code));
    }
}

TEST_F(KeyboardTest, AnyKeyLeavesOutTheMouseButtons)
{
    Core::RefPtr<KeyboardImp> keyboard = MakeLocal();
    for (std::uint8_t key : {VK::LButton, VK::RButton, VK::Cancel, VK::MButton, VK::XButton1})
    {
        source.SetKeyDown(key, true);
    }
    keyboard->Update();
    EXPECT_TRUE(keyboard->IsPressed(Key::LeftButton));
    EXPECT_FALSE(keyboard->AnyKey());
    std::int32_t code = -1;
    EXPECT_FALSE(keyboard->GetPressed(code));

    source.SetKeyDown(VK::XButton2, true);
    keyboard->Update();
    EXPECT_TRUE(keyboard->AnyKey());
}

TEST_F(KeyboardTest, GetPressedAndGetTriggeredGiveTheLowestCode)
{
    Core::RefPtr<KeyboardImp> keyboard = MakeLocal();
    std::int32_t code = -1;
    EXPECT_FALSE(keyboard->GetPressed(code));
    EXPECT_FALSE(keyboard->GetTriggered(code));
    EXPECT_EQ(code, -1);

    source.SetKeyDown('B', true);
    source.SetKeyDown('A', true);
    keyboard->Update();
    ASSERT_TRUE(keyboard->GetPressed(code));
    EXPECT_EQ(code, Key::A);

    // A held, Z newly down: A is still the first pressed, Z the first triggered.
    source.SetKeyDown('Z', true);
    keyboard->Update();
    ASSERT_TRUE(keyboard->GetPressed(code));
    EXPECT_EQ(code, Key::A);
    ASSERT_TRUE(keyboard->GetTriggered(code));
    EXPECT_EQ(code, 78);
}

TEST_F(KeyboardTest, KeyAsCharFollowsShiftCapsLockAndNumLock)
{
    struct Case
    {
        std::int32_t code;
        bool shift, capsLock, numLock;
        char expected;
    };
    const Case cases[] = {
        {Key::A, false, false, false, 'a'},   {Key::A, true, false, false, 'A'},
        {Key::A, false, true, false, 'A'},    {Key::A, true, true, false, 'a'},
        {78, false, false, false, 'z'},       {45, true, false, false, '@'},
        {45, false, true, false, '2'},        {43, true, false, false, ')'},
        {52, true, false, false, '('},        {87, false, false, true, '4'},
        {87, true, false, false, 0},          {97, false, false, true, '.'},
        {97, false, false, false, 0},         {93, false, false, false, '*'},
        {94, true, false, false, '+'},        {95, false, false, true, 0},
        {96, false, false, false, '-'},       {98, false, false, false, '/'},
        {Key::Tab, true, false, false, '\t'}, {Key::Return, false, false, false, '\n'},
        {8, false, false, false, 0},          {Key::Space, true, false, false, ' '},
        {155, false, false, false, ';'},      {155, true, false, false, ':'},
        {163, false, false, false, '\\'},     {163, true, false, false, '|'},
        {165, false, false, false, '\''},     {165, true, false, false, '"'},
        {6, false, false, false, 0},          {166, true, false, false, 0},
        {195, false, false, false, 0},        {-1, false, false, false, 0},
        {196, false, false, false, 0},
    };
    Core::RefPtr<KeyboardImp> keyboard = MakeLocal();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message()
                     << c.code << " shift " << c.shift << " caps " << c.capsLock << " num " << c.numLock);
        for (std::uint8_t shiftKey : {VK::LShift, VK::RShift})
        {
            source.ReleaseAllKeys();
            source.SetKeyDown(shiftKey, c.shift);
            source.SetKeyToggled(VK::Capital, c.capsLock);
            source.SetKeyToggled(VK::NumLock, c.numLock);
            keyboard->Update();
            EXPECT_EQ(keyboard->GetKeyAsChar(c.code), c.expected);
        }
    }
}

TEST_F(KeyboardTest, StartGuardIgnoresKeysHeldAtCreation)
{
    // Held, then released: the key is never seen.
    source.SetKeyDown(VK::Return, true);
    Core::RefPtr<KeyboardImp> keyboard = KeyboardImp::CreateInstance();
    for (int update = 0; update < 10; ++update)
    {
        keyboard->Update();
        EXPECT_FALSE(keyboard->IsPressed(Key::Return));
    }
    source.SetKeyDown(VK::Return, false);
    keyboard->Update();
    EXPECT_FALSE(keyboard->IsUp(Key::Return));
    source.SetKeyDown(VK::Return, true);
    keyboard->Update();
    EXPECT_TRUE(keyboard->IsTriggered(Key::Return));

    // Held for good: the guard gives up after 120 updates.
    keyboard->Reset();
    EXPECT_FALSE(keyboard->IsPressed(Key::Return));
    for (int update = 0; update < 120; ++update)
    {
        keyboard->Update();
        ASSERT_FALSE(keyboard->IsPressed(Key::Return)) << update;
    }
    keyboard->Update();
    EXPECT_TRUE(keyboard->IsTriggered(Key::Return));

    // Clearing the guard lets the next update see held keys at once.
    keyboard->Reset();
    keyboard->ClearStartGuard();
    keyboard->Update();
    EXPECT_TRUE(keyboard->IsTriggered(Key::Return));
}

TEST_F(KeyboardTest, ChangedListHoldsKeysDownAndKeysReleased)
{
    Core::RefPtr<KeyboardImp> keyboard = MakeLocal();
    std::vector<std::uint8_t> keys;
    std::vector<KeyRecord> records;
    keyboard->Update();
    EXPECT_FALSE(keyboard->ExportEvents(keys, records));

    source.SetKeyDown('W', true);
    source.SetKeyDown(VK::Space, true);
    keyboard->Update();
    source.SetKeyDown(VK::Space, false);
    // Key 255 is never polled.
    source.SetKeyDown(0xFF, true);
    keyboard->Update();
    ASSERT_TRUE(keyboard->ExportEvents(keys, records));
    EXPECT_EQ(keys, (std::vector<std::uint8_t>{VK::Space, 'W'}));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_TRUE(records[0].up);
    EXPECT_FALSE(records[0].pressed);
    EXPECT_TRUE(records[1].pressed);
    EXPECT_FALSE(records[1].triggered);
}

TEST_F(KeyboardTest, SnapshotExportLayout)
{
    Core::RefPtr<KeyboardImp> keyboard = MakeLocal();
    EXPECT_TRUE(Snapshot(*keyboard).empty());

    source.SetKeyDown('D', true);
    keyboard->Update();
    const std::vector<std::uint8_t> one = Snapshot(*keyboard);
    EXPECT_EQ(one, (std::vector<std::uint8_t>{1, 1, 1, 1, 0, 0, 0, 0, 'D', 0, 0, 0}));

    // Released keys keep their `up` byte for one update; quiet keys leave.
    source.SetKeyDown('D', false);
    source.SetKeyDown(VK::F1, true);
    source.SetKeyDown(VK::Back, true);
    keyboard->Update();
    const std::vector<std::uint8_t> three = Snapshot(*keyboard);
    EXPECT_EQ(three, (std::vector<std::uint8_t>{1, 1, 1, 1, 0, 0, 0, 0, VK::Back, 0, 0, 0, //
                                                0, 0, 0, 0, 1, 0, 0, 0, 'D',      0, 0, 0, //
                                                1, 1, 1, 1, 0, 0, 0, 0, VK::F1,   0, 0, 0}));

    Core::RefPtr<KeyboardImp> external = KeyboardImp::CreateExternal();
    EXPECT_TRUE(Snapshot(*external).empty());
}

TEST_F(KeyboardTest, SnapshotImportSkipsBadCodesAndPartialEntries)
{
    KeyRecord held;
    held.Advance(true);
    held.Advance(true);
    KeyRecord released = held;
    released.Advance(false);
    const KeySnapshotEntry entries[] = {
        {held, {0, 0, 0}, 'Q'},         {held, {0, 0, 0}, 256},
        {held, {0, 0, 0}, 0xFFFFFFFFu}, {released, {0, 0, 0}, VK::Escape},
        {held, {0, 0, 0}, 'R'},
    };
    // One spare byte in front: entries arrive unaligned behind a sender id.
    std::vector<std::uint8_t> message(1 + sizeof(entries));
    std::memcpy(message.data() + 1, entries, sizeof(entries));

    Core::RefPtr<KeyboardImp> external = KeyboardImp::CreateExternal();
    external->ImportSnapshot(message.data() + 1, 4 * sizeof(KeySnapshotEntry) + 11);
    EXPECT_TRUE(external->IsPressed(69));
    EXPECT_FALSE(external->IsTriggered(69));
    EXPECT_TRUE(external->IsUp(Key::Escape));
    EXPECT_FALSE(external->IsPressed(Key::Escape));
    EXPECT_FALSE(external->IsPressed(70)); // 'R' sat in the partial entry

    // Each import starts from a cleared keyboard.
    external->ImportSnapshot(message.data() + 1, 11);
    EXPECT_FALSE(external->IsPressed(69));
    EXPECT_FALSE(external->IsUp(Key::Escape));
    external->ImportSnapshot(message.data() + 1, sizeof(KeySnapshotEntry));
    EXPECT_TRUE(external->IsPressed(69));
    external->ImportSnapshot(nullptr, 12);
    EXPECT_FALSE(external->IsPressed(69));

    // A local keyboard takes no snapshot.
    Core::RefPtr<KeyboardImp> local = MakeLocal();
    local->ImportSnapshot(message.data() + 1, sizeof(KeySnapshotEntry));
    EXPECT_FALSE(local->IsPressed(69));
}

TEST_F(KeyboardTest, SnapshotAndEventsRoundTripByteForByte)
{
    Core::RefPtr<KeyboardImp> recorder = MakeLocal();
    source.SetKeyDown('H', true);
    source.SetKeyDown(VK::LShift, true);
    recorder->Update();
    source.SetKeyDown('H', false);
    source.SetKeyDown(VK::Oem1, true);
    recorder->Update();
    const std::vector<std::uint8_t> recorded = Snapshot(*recorder);
    ASSERT_EQ(recorded.size(), 3 * sizeof(KeySnapshotEntry));

    std::vector<std::uint8_t> keys;
    std::vector<KeyRecord> records;
    ASSERT_TRUE(recorder->ExportEvents(keys, records));
    source.ReleaseAllKeys();
    Core::RefPtr<KeyboardImp> player = MakeLocal();
    ASSERT_TRUE(player->ApplyEvents(keys, records));
    EXPECT_EQ(Snapshot(*player), recorded);

    // The snapshot itself carries the same state into an external keyboard.
    Core::RefPtr<KeyboardImp> remote = KeyboardImp::CreateExternal();
    remote->ImportSnapshot(recorded.data(), static_cast<std::uint32_t>(recorded.size()));
    for (std::int32_t code = 0; code < Input::KeyCodeCount; ++code)
    {
        SCOPED_TRACE(code);
        EXPECT_EQ(remote->IsPressed(code), recorder->IsPressed(code));
        EXPECT_EQ(remote->IsTriggered(code), recorder->IsTriggered(code));
        EXPECT_EQ(remote->IsUp(code), recorder->IsUp(code));
    }
    EXPECT_EQ(remote->GetKeyAsChar(155), ':');
}

TEST_F(KeyboardTest, ApplyEventsRefusesMismatchedLists)
{
    Core::RefPtr<KeyboardImp> keyboard = KeyboardImp::CreateExternal();
    KeyRecord down;
    down.Advance(true);
    ASSERT_TRUE(keyboard->ApplyEvents({'A'}, {down}));
    EXPECT_FALSE(keyboard->ApplyEvents({'B', 'C'}, {down}));
    EXPECT_FALSE(keyboard->ApplyEvents({}, {down}));
    EXPECT_TRUE(keyboard->IsPressed(Key::A));
    EXPECT_FALSE(keyboard->IsPressed(Key::A + 1));

    // Every apply starts from a cleared keyboard.
    ASSERT_TRUE(keyboard->ApplyEvents({}, {}));
    EXPECT_FALSE(keyboard->IsPressed(Key::A));
}

TEST_F(KeyboardTest, ExternalKeyboardNeverPolls)
{
    Core::RefPtr<KeyboardImp> external = KeyboardImp::CreateExternal();
    external->ClearStartGuard();
    source.SetKeyDown('A', true);
    external->Update();
    EXPECT_FALSE(external->IsPressed(Key::A));
    std::vector<std::uint8_t> keys;
    std::vector<KeyRecord> records;
    EXPECT_FALSE(external->ExportEvents(keys, records));
}

TEST_F(KeyboardTest, SettingAndProcessWideKeyboard)
{
    Core::RefPtr<KeyboardImp> external = KeyboardImp::CreateExternal();
    EXPECT_EQ(external->GetSetting(), Key::Escape);
    external->SetSetting(Key::Space);
    EXPECT_EQ(external->GetSetting(), Key::Space);
    EXPECT_NE(KeyboardImp::GetInstance(), external.Get());

    Core::RefPtr<KeyboardImp> local = KeyboardImp::CreateInstance();
    EXPECT_EQ(KeyboardImp::GetInstance(), local.Get());
    local.Reset();
    EXPECT_EQ(KeyboardImp::GetInstance(), nullptr);
}

} // namespace

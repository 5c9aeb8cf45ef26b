#include "input/Input_KeyboardImp.h"

#include "input/Input_InputSource.h"

#include <cstring>

namespace Input
{

namespace
{

KeyboardImp* g_instance = nullptr;

// The exported snapshot: room for every key.
KeySnapshotEntry g_snapshot[256];

// Characters of the top-row digits (engine codes 43 to 52) with Shift.
constexpr char kShiftedDigits[10] = {')', '!', '@', '#', '$', '%', '^', '&', '*', '('};
// Punctuation keys, engine codes 155 to 165, without and with Shift.
constexpr char kPunctuation[11] = {';', '=', ',', '-', '.', '/', '`', '[', '\\', ']', '\''};
constexpr char kShiftedPunctuation[11] = {':', '+', '<', '_', '>', '?', '~', '{', '|', '}', '"'};

} // namespace

Core::RefPtr<KeyboardImp> KeyboardImp::CreateInstance()
{
    Core::RefPtr<KeyboardImp> keyboard(new ("Internal_Keyboard", __LINE__) KeyboardImp(false));
    g_instance = keyboard.Get();
    return keyboard;
}

Core::RefPtr<KeyboardImp> KeyboardImp::CreateExternal()
{
    return Core::RefPtr<KeyboardImp>(new ("Internal_Keyboard", __LINE__) KeyboardImp(true));
}

KeyboardImp* KeyboardImp::GetInstance()
{
    return g_instance;
}

KeyboardImp::KeyboardImp(bool external) : external_(external ? 1 : 0) {}

KeyboardImp::~KeyboardImp()
{
    // The process-wide pointer never outlives the keyboard it names.
    if (g_instance == this)
    {
        g_instance = nullptr;
    }
}

void KeyboardImp::PushToScript(lua_State* state)
{
    Core::PushUserdata(state, this, "KeyboardImp");
}

void KeyboardImp::Update()
{
    if (external_ != 0)
    {
        return;
    }
    std::uint8_t state[256] = {};
    InputSource::GetCurrent().GetKeyboardState(state);

    if (startGuard_ != 0)
    {
        ++startGuardCounter_;
        if (startGuardCounter_ < StartGuardLimit)
        {
            for (int key = 0; key < 255; ++key)
            {
                if ((state[key] & 0x80) != 0)
                {
                    return;
                }
            }
        }
        startGuardCounter_ = 0;
        startGuard_ = 0;
    }

    changedKeys_.clear();
    changedRecords_.clear();
    // Key 255 is not a key; its record is never polled.
    for (int key = 0; key < 255; ++key)
    {
        if (keys_[key].Advance((state[key] & 0x80) != 0))
        {
            changedKeys_.push_back(static_cast<std::uint8_t>(key));
            changedRecords_.push_back(keys_[key]);
        }
    }
}

const KeyRecord* KeyboardImp::Record(std::int32_t key) const
{
    const std::uint8_t virtualKey = ToVirtualKey(key);
    return virtualKey != 0 ? &keys_[virtualKey] : nullptr;
}

bool KeyboardImp::IsPressed(std::int32_t key) const
{
    const KeyRecord* record = Record(key);
    return record != nullptr && record->pressed != 0;
}

bool KeyboardImp::IsTriggered(std::int32_t key) const
{
    const KeyRecord* record = Record(key);
    return record != nullptr && record->triggered != 0;
}

bool KeyboardImp::IsDown(std::int32_t key) const
{
    const KeyRecord* record = Record(key);
    return record != nullptr && record->down != 0;
}

bool KeyboardImp::IsUp(std::int32_t key) const
{
    const KeyRecord* record = Record(key);
    return record != nullptr && record->up != 0;
}

bool KeyboardImp::AnyKey() const
{
    for (int key = 6; key < 256; ++key)
    {
        if (keys_[key].pressed != 0)
        {
            return true;
        }
    }
    return false;
}

bool KeyboardImp::FirstKey(bool (KeyboardImp::*test)(std::int32_t) const, std::int32_t& key) const
{
    for (std::int32_t code = 6; code < KeyCodeCount; ++code)
    {
        if ((this->*test)(code))
        {
            key = code;
            return true;
        }
    }
    return false;
}

bool KeyboardImp::GetPressed(std::int32_t& key) const
{
    return FirstKey(&KeyboardImp::IsPressed, key);
}

bool KeyboardImp::GetTriggered(std::int32_t& key) const
{
    return FirstKey(&KeyboardImp::IsTriggered, key);
}

char KeyboardImp::GetKeyAsChar(std::int32_t key) const
{
    InputSource& source = InputSource::GetCurrent();
    const bool shift = IsPressed(Key::LeftShift) || IsPressed(Key::RightShift);
    // Shift inverts Caps Lock for letters.
    const bool upper = source.IsKeyToggled(VirtualKey::Capital) != shift;
    const bool numLock = source.IsKeyToggled(VirtualKey::NumLock);

    if (key < 7 || key > 165)
    {
        return 0;
    }
    if (key >= Key::Digit0 && key <= Key::Digit0 + 9)
    {
        const int digit = key - Key::Digit0;
        return shift ? kShiftedDigits[digit] : static_cast<char>('0' + digit);
    }
    if (key >= Key::A && key <= Key::A + 25)
    {
        return static_cast<char>((upper ? 'A' : 'a') + (key - Key::A));
    }
    if (key >= Key::Numpad0 && key <= Key::Numpad0 + 9)
    {
        return numLock ? static_cast<char>('0' + (key - Key::Numpad0)) : 0;
    }
    if (key >= 155)
    {
        return shift ? kShiftedPunctuation[key - 155] : kPunctuation[key - 155];
    }
    switch (key)
    {
    case Key::Tab:
        return '\t';
    case Key::Return:
        return '\n';
    case Key::Space:
        return ' ';
    case 93:
        return '*';
    case 94:
        return '+';
    case 96:
        return '-';
    case 97:
        return numLock ? '.' : 0;
    case 98:
        return '/';
    default:
        return 0;
    }
}

void KeyboardImp::Reset()
{
    for (KeyRecord& record : keys_)
    {
        record = KeyRecord{};
    }
    startGuard_ = 1;
}

void KeyboardImp::ClearStartGuard()
{
    startGuardCounter_ = 0;
    startGuard_ = 0;
}

void KeyboardImp::ImportSnapshot(const void* data, std::uint32_t size)
{
    if (external_ == 0)
    {
        return;
    }
    Reset();
    if (data == nullptr)
    {
        return;
    }
    // Entries may sit at any alignment inside a received message.
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    const std::uint32_t count = size / sizeof(KeySnapshotEntry);
    for (std::uint32_t i = 0; i < count; ++i)
    {
        KeySnapshotEntry entry;
        std::memcpy(&entry, bytes + std::size_t{i} * sizeof(KeySnapshotEntry), sizeof(entry));
        if (entry.virtualKey < 256)
        {
            keys_[entry.virtualKey] = entry.record;
        }
    }
}

void KeyboardImp::ExportSnapshot(const void*& data, std::uint32_t& size)
{
    data = nullptr;
    size = 0;
    if (external_ != 0)
    {
        return;
    }
    std::memset(static_cast<void*>(g_snapshot), 0, sizeof(g_snapshot));
    std::uint32_t count = 0;
    for (std::uint32_t key = 0; key < 256; ++key)
    {
        if (!keys_[key].IsClear())
        {
            g_snapshot[count].record = keys_[key];
            g_snapshot[count].virtualKey = key;
            ++count;
        }
    }
    if (count > 0)
    {
        data = g_snapshot;
        size = count * static_cast<std::uint32_t>(sizeof(KeySnapshotEntry));
    }
}

bool KeyboardImp::ExportEvents(std::vector<std::uint8_t>& keys, std::vector<KeyRecord>& records) const
{
    if (changedKeys_.empty())
    {
        return false;
    }
    keys = changedKeys_;
    records = changedRecords_;
    return true;
}

bool KeyboardImp::ApplyEvents(const std::vector<std::uint8_t>& keys, const std::vector<KeyRecord>& records)
{
    if (keys.size() != records.size())
    {
        return false;
    }
    for (KeyRecord& record : keys_)
    {
        record = KeyRecord{};
    }
    for (std::size_t i = 0; i < keys.size(); ++i)
    {
        keys_[keys[i]] = records[i];
    }
    return true;
}

} // namespace Input

#pragma once

#include "core/Core_Object.h"
#include "input/Input_Records.h"

#include <cstdint>
#include <vector>

namespace Input
{

// The keyboard as game code sees it: keys named by engine key codes (0 to
// 195, see Input_KeyCodes.h), state kept per virtual key. A local keyboard
// polls the machine once per update; an external one is driven by recorded
// or received state.
class Keyboard : public Core::Object
{
public:
    virtual void Update() = 0;
    // Per engine key code: down now, went down in this update (two names
    // for one byte), released in this update. Codes outside 0 to 195 give
    // false.
    virtual bool IsPressed(std::int32_t key) const = 0;
    virtual bool IsTriggered(std::int32_t key) const = 0;
    virtual bool IsDown(std::int32_t key) const = 0;
    virtual bool IsUp(std::int32_t key) const = 0;
    // Whether any key but the mouse buttons (virtual keys 0 to 5) is down.
    virtual bool AnyKey() const = 0;
    // The lowest engine code from 6 up whose key is pressed (triggered).
    virtual bool GetPressed(std::int32_t& key) const = 0;
    virtual bool GetTriggered(std::int32_t& key) const = 0;
    // The character the key types with the current Shift, Caps Lock and
    // Num Lock; 0 for none.
    virtual char GetKeyAsChar(std::int32_t key) const = 0;
    // Clears every key and guards the next updates against keys still held.
    virtual void Reset() = 0;
    virtual void ClearStartGuard() = 0;
    // Snapshots: 12-byte entries (KeySnapshotEntry), one per key with any
    // state.
    virtual void ImportSnapshot(const void* data, std::uint32_t size) = 0;
    virtual void ExportSnapshot(const void*& data, std::uint32_t& size) = 0;
    // The update's changed keys, as replays record them, and their
    // application back onto a keyboard.
    virtual bool ExportEvents(std::vector<std::uint8_t>& keys, std::vector<KeyRecord>& records) const = 0;
    virtual bool ApplyEvents(const std::vector<std::uint8_t>& keys,
                             const std::vector<KeyRecord>& records) = 0;
    // The key that stops a running replay (engine code, Escape by default).
    virtual void SetSetting(std::int32_t setting) = 0;
    virtual std::int32_t GetSetting() const = 0;
};

} // namespace Input

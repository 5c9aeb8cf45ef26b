#pragma once

#include "core/Core_RefPtr.h"
#include "input/Input_KeyCodes.h"
#include "input/Input_Keyboard.h"

namespace Input
{

// The one keyboard implementation, local or external.
//
// Local: Update reads all virtual keys from the current input source and
// reports every key that is down and every key released in it. A new or
// reset keyboard starts guarded: while any key is still held its updates do
// nothing, for at most 120 updates, so the key that started the game is not
// seen as a new press.
//
// External: never polls; ImportSnapshot (or ApplyEvents) drives it.
class KeyboardImp : public Keyboard
{
public:
    // Creates the local keyboard and makes it the process-wide one.
    static Core::RefPtr<KeyboardImp> CreateInstance();
    // Creates an external keyboard; it is not the process-wide one.
    static Core::RefPtr<KeyboardImp> CreateExternal();
    // The process-wide local keyboard; null when there is none.
    static KeyboardImp* GetInstance();

    // Updates the start guard ends after at most: the 121st update polls.
    static constexpr std::int32_t StartGuardLimit = 121;
    static constexpr std::int32_t DefaultSetting = Key::Escape;

    explicit KeyboardImp(bool external);
    ~KeyboardImp() override;

    void PushToScript(lua_State* state) override;

    void Update() override;
    bool IsPressed(std::int32_t key) const override;
    bool IsTriggered(std::int32_t key) const override;
    bool IsDown(std::int32_t key) const override;
    bool IsUp(std::int32_t key) const override;
    bool AnyKey() const override;
    bool GetPressed(std::int32_t& key) const override;
    bool GetTriggered(std::int32_t& key) const override;
    char GetKeyAsChar(std::int32_t key) const override;
    void Reset() override;
    void ClearStartGuard() override;
    // External keyboard only: clears every key, then sets the key of each
    // whole 12-byte entry. Entries naming a key of 256 or more and a
    // trailing partial entry are skipped.
    void ImportSnapshot(const void* data, std::uint32_t size) override;
    // Local keyboard with any key state: the entries in key order, in a
    // process-wide buffer valid until the next export; else null and 0.
    void ExportSnapshot(const void*& data, std::uint32_t& size) override;
    // False when no key changed in the update; else copies both lists out.
    bool ExportEvents(std::vector<std::uint8_t>& keys, std::vector<KeyRecord>& records) const override;
    // Clears every key, then sets each listed one. Lists of unequal length
    // are refused (false) and change nothing.
    bool ApplyEvents(const std::vector<std::uint8_t>& keys, const std::vector<KeyRecord>& records) override;
    void SetSetting(std::int32_t setting) override { setting_ = setting; }
    std::int32_t GetSetting() const override { return setting_; }

    bool IsExternal() const { return external_ != 0; }

private:
    const KeyRecord* Record(std::int32_t key) const;
    // The lowest keyboard code (mouse buttons left out) for which `test`
    // holds, into `key`; false when there is none.
    bool FirstKey(bool (KeyboardImp::*test)(std::int32_t) const, std::int32_t& key) const;

    KeyRecord keys_[256]{};
    std::int32_t external_ = 0;
    std::vector<std::uint8_t> changedKeys_;
    std::vector<KeyRecord> changedRecords_;
    std::int32_t setting_ = DefaultSetting;
    std::int32_t startGuardCounter_ = 0;
    std::uint8_t startGuard_ = 1;
};

} // namespace Input

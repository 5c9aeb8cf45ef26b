#pragma once

#include "core/Core_RefPtr.h"
#include "input/Input_InputSource.h"
#include "input/Input_Mouse.h"

namespace Input
{

// The one mouse implementation, local or external.
//
// Local: Update reads the pointer and the three buttons from the current
// input source. Positions are kept in screen pixels and turned into client
// pixels of the window on demand. A new or reset mouse starts guarded: its
// updates do nothing while a button is still held, so a click that opened
// the game is not seen as a new press.
//
// External: never polls. LoadState (or ApplyEvents) drives it; the position
// queries answer from the loaded state record.
class MouseImp : public Mouse
{
public:
    // Creates the local mouse and makes it the process-wide one.
    static Core::RefPtr<MouseImp> CreateInstance();
    // Creates an external mouse; it is not the process-wide one.
    static Core::RefPtr<MouseImp> CreateExternal();
    // The process-wide local mouse; null when there is none.
    static MouseImp* GetInstance();

    explicit MouseImp(bool external);
    ~MouseImp() override;

    void PushToScript(lua_State* state) override;

    void Update() override;
    void SetPosition(std::int32_t x, std::int32_t y) override;
    Math::Vector2D GetPosition() const override;
    void GetPosition(std::int32_t& x, std::int32_t& y) const override;
    std::int32_t GetPositionX() const override;
    std::int32_t GetPositionY() const override;
    bool IsInWindow() const override;
    bool IsMoved() const override { return moved_ != 0; }
    bool IsPressed(std::int32_t button) const override;
    bool IsTriggered(std::int32_t button) const override;
    bool IsDown(std::int32_t button) const override;
    bool IsUp(std::int32_t button) const override;
    void SetCursorVisible(bool visible) override;
    bool IsCursorVisible() const override;
    void SetWindow(PAL::Window* window) override;
    PAL::Window* GetWindow() const override;
    void Reset() override;
    // External mouse only, exactly 28 bytes; false (nothing changed)
    // otherwise.
    bool LoadState(const void* data, std::uint32_t size) override;
    // Local mouse: the state record filled from the live state (28 bytes,
    // valid until the next call); external: null and 0.
    void GetState(const void*& data, std::uint32_t& size) override;
    // Fills the motion; with button changes copies both lists out and
    // returns true, else returns whether the pointer moved.
    bool ExportEvents(MouseMotion& motion, std::vector<std::uint8_t>& buttons,
                      std::vector<KeyRecord>& records) const override;
    // Takes the position from the motion, clears the buttons and sets each
    // listed one. Lists of unequal length are refused (false) and change
    // nothing; button numbers above 2 are skipped.
    bool ApplyEvents(const MouseMotion& motion, const std::vector<std::uint8_t>& buttons,
                     const std::vector<KeyRecord>& records) override;

    bool IsExternal() const { return external_ != 0; }

private:
    const KeyRecord* Button(std::int32_t button) const;
    bool GetClientArea(ClientArea& area) const;
    bool StartCheckReportsActivity() const;

    MouseState state_{};
    KeyRecord buttons_[3]{};
    std::int32_t external_ = 0;
    std::int32_t previousX_ = 0;
    std::int32_t previousY_ = 0;
    PAL::Window* window_ = nullptr;
    std::uint8_t startGuard_ = 1;
    std::uint8_t moved_ = 0;
    std::int32_t currentX_ = 0;
    std::int32_t currentY_ = 0;
    std::vector<std::uint8_t> changedButtons_;
    std::vector<KeyRecord> changedRecords_;
};

} // namespace Input

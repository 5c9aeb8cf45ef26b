#include "input/Input_MouseImp.h"

#include "input/Input_KeyCodes.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace Input
{

namespace
{

MouseImp* g_instance = nullptr;

// The start check's memory of the pointer, shared by every mouse.
bool g_startCheckUsed = false;
std::int32_t g_startCheckX = 0;
std::int32_t g_startCheckY = 0;

constexpr std::uint8_t kButtonKeys[3] = {VirtualKey::LButton, VirtualKey::MButton, VirtualKey::RButton};

std::int32_t Saturate(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

// `value` clamped to [0, extent - 1]; extent is at least 1.
std::int64_t ClampToExtent(std::int64_t value, std::int32_t extent)
{
    return std::clamp<std::int64_t>(value, 0, std::int64_t{extent} - 1);
}

} // namespace

Core::RefPtr<MouseImp> MouseImp::CreateInstance()
{
    Core::RefPtr<MouseImp> mouse(new ("Internal_Mouse", __LINE__) MouseImp(false));
    g_instance = mouse.Get();
    return mouse;
}

Core::RefPtr<MouseImp> MouseImp::CreateExternal()
{
    return Core::RefPtr<MouseImp>(new ("Internal_Mouse", __LINE__) MouseImp(true));
}

MouseImp* MouseImp::GetInstance()
{
    return g_instance;
}

MouseImp::MouseImp(bool external) : external_(external ? 1 : 0)
{
    InputSource::GetCurrent().GetCursorPosition(currentX_, currentY_);
    previousX_ = currentX_;
    previousY_ = currentY_;
}

MouseImp::~MouseImp()
{
    // The process-wide pointer never outlives the mouse it names.
    if (g_instance == this)
    {
        g_instance = nullptr;
    }
}

void MouseImp::PushToScript(lua_State* state)
{
    Core::PushUserdata(state, this, "MouseImp");
}

// Activity means the guard stays: the pointer moved since the check last
// looked, or a button is held.
bool MouseImp::StartCheckReportsActivity() const
{
    if (!g_startCheckUsed)
    {
        g_startCheckUsed = true;
        g_startCheckX = currentX_;
        g_startCheckY = currentY_;
    }
    if (currentX_ != g_startCheckX || currentY_ != g_startCheckY)
    {
        g_startCheckX = currentX_;
        g_startCheckY = currentY_;
        return true;
    }
    InputSource& source = InputSource::GetCurrent();
    for (std::uint8_t key : kButtonKeys)
    {
        if (source.IsKeyDown(key))
        {
            return true;
        }
    }
    return false;
}

void MouseImp::Update()
{
    if (external_ != 0)
    {
        return;
    }
    if (startGuard_ != 0)
    {
        if (StartCheckReportsActivity())
        {
            return;
        }
        startGuard_ = 0;
    }

    changedButtons_.clear();
    changedRecords_.clear();

    InputSource& source = InputSource::GetCurrent();
    source.GetCursorPosition(currentX_, currentY_);
    moved_ = (currentX_ != previousX_ || currentY_ != previousY_) ? 1 : 0;
    previousX_ = currentX_;
    previousY_ = currentY_;

    bool isDown[3];
    for (int button = 0; button < 3; ++button)
    {
        isDown[button] = source.IsKeyDown(kButtonKeys[button]);
    }
    // Once one button changed, every later button of this update is
    // reported too (only the middle one changing reports [1, 2]); replays
    // and peers rely on this list as it stands.
    bool changed = false;
    for (std::uint8_t button = 0; button < 3; ++button)
    {
        if (buttons_[button].Advance(isDown[button]))
        {
            changed = true;
        }
        if (changed)
        {
            changedButtons_.push_back(button);
            changedRecords_.push_back(buttons_[button]);
        }
    }
}

bool MouseImp::GetClientArea(ClientArea& area) const
{
    return window_ != nullptr && InputSource::GetCurrent().GetClientArea(window_, area) && area.width > 0 &&
           area.height > 0;
}

void MouseImp::SetPosition(std::int32_t x, std::int32_t y)
{
    ClientArea area;
    if (!GetClientArea(area))
    {
        return;
    }
    const std::int32_t clientX = x;
    const std::int32_t clientY = Saturate(std::int64_t{area.height} - y - 1);
    InputSource::GetCurrent().WarpCursor(window_, clientX, clientY);
    currentX_ = Saturate(std::int64_t{area.x} + clientX);
    currentY_ = Saturate(std::int64_t{area.y} + clientY);
}

Math::Vector2D MouseImp::GetPosition() const
{
    std::int32_t x = 0;
    std::int32_t y = 0;
    GetPosition(x, y);
    return Math::Vector2D(static_cast<float>(x), static_cast<float>(y));
}

void MouseImp::GetPosition(std::int32_t& x, std::int32_t& y) const
{
    if (external_ != 0)
    {
        x = state_.x;
        y = state_.y;
        return;
    }
    x = 0;
    y = 0;
    ClientArea area;
    if (!GetClientArea(area))
    {
        return;
    }
    x = static_cast<std::int32_t>(ClampToExtent(std::int64_t{currentX_} - area.x, area.width));
    y = static_cast<std::int32_t>(area.height - 1 -
                                  ClampToExtent(std::int64_t{currentY_} - area.y, area.height));
}

std::int32_t MouseImp::GetPositionX() const
{
    std::int32_t x = 0;
    std::int32_t y = 0;
    GetPosition(x, y);
    return x;
}

std::int32_t MouseImp::GetPositionY() const
{
    std::int32_t x = 0;
    std::int32_t y = 0;
    GetPosition(x, y);
    return y;
}

bool MouseImp::IsInWindow() const
{
    if (external_ != 0)
    {
        return state_.inWindow != 0;
    }
    ClientArea area;
    if (!GetClientArea(area))
    {
        return false;
    }
    const std::int64_t x = std::int64_t{currentX_} - area.x;
    const std::int64_t y = std::int64_t{currentY_} - area.y;
    return x >= 0 && x < area.width && y >= 0 && y < area.height;
}

const KeyRecord* MouseImp::Button(std::int32_t button) const
{
    return button >= 0 && button < 3 ? &buttons_[button] : nullptr;
}

bool MouseImp::IsPressed(std::int32_t button) const
{
    const KeyRecord* record = Button(button);
    return record != nullptr && record->pressed != 0;
}

bool MouseImp::IsTriggered(std::int32_t button) const
{
    const KeyRecord* record = Button(button);
    return record != nullptr && record->triggered != 0;
}

bool MouseImp::IsDown(std::int32_t button) const
{
    const KeyRecord* record = Button(button);
    return record != nullptr && record->down != 0;
}

bool MouseImp::IsUp(std::int32_t button) const
{
    const KeyRecord* record = Button(button);
    return record != nullptr && record->up != 0;
}

void MouseImp::SetCursorVisible(bool visible)
{
    if (external_ != 0)
    {
        return;
    }
    // The system cursor counts shows and hides; step the counter until it
    // is on the wanted side of 0, whatever others have done to it.
    InputSource& source = InputSource::GetCurrent();
    if (visible)
    {
        while (source.ShowCursor(true) < 0)
        {
        }
    }
    else
    {
        while (source.ShowCursor(false) >= 0)
        {
        }
    }
}

bool MouseImp::IsCursorVisible() const
{
    if (external_ != 0)
    {
        return state_.cursorVisible != 0;
    }
    return InputSource::GetCurrent().IsCursorShowing();
}

void MouseImp::SetWindow(PAL::Window* window)
{
    if (external_ == 0)
    {
        window_ = window;
    }
}

PAL::Window* MouseImp::GetWindow() const
{
    return external_ != 0 ? nullptr : window_;
}

void MouseImp::Reset()
{
    if (external_ != 0)
    {
        return;
    }
    moved_ = 0;
    InputSource::GetCurrent().GetCursorPosition(currentX_, currentY_);
    previousX_ = currentX_;
    previousY_ = currentY_;
    for (KeyRecord& record : buttons_)
    {
        record = KeyRecord{};
    }
    startGuard_ = 1;
}

bool MouseImp::LoadState(const void* data, std::uint32_t size)
{
    if (external_ == 0 || data == nullptr || size != sizeof(MouseState))
    {
        return false;
    }
    std::memcpy(&state_, data, sizeof(MouseState));
    moved_ = state_.moved;
    std::memcpy(buttons_, state_.buttons, sizeof(buttons_));
    return true;
}

void MouseImp::GetState(const void*& data, std::uint32_t& size)
{
    data = nullptr;
    size = 0;
    if (external_ != 0)
    {
        return;
    }
    std::memcpy(state_.buttons, buttons_, sizeof(buttons_));
    state_.cursorVisible = IsCursorVisible() ? 1 : 0;
    state_.inWindow = IsInWindow() ? 1 : 0;
    state_.moved = IsMoved() ? 1 : 0;
    GetPosition(state_.x, state_.y);
    data = &state_;
    size = sizeof(MouseState);
}

bool MouseImp::ExportEvents(MouseMotion& motion, std::vector<std::uint8_t>& buttons,
                            std::vector<KeyRecord>& records) const
{
    motion = MouseMotion{};
    motion.previousX = previousX_;
    motion.previousY = previousY_;
    motion.moved = moved_;
    motion.x = currentX_;
    motion.y = currentY_;
    if (changedButtons_.empty())
    {
        return moved_ != 0;
    }
    buttons = changedButtons_;
    records = changedRecords_;
    return true;
}

bool MouseImp::ApplyEvents(const MouseMotion& motion, const std::vector<std::uint8_t>& buttons,
                           const std::vector<KeyRecord>& records)
{
    if (buttons.size() != records.size())
    {
        return false;
    }
    currentX_ = motion.x;
    currentY_ = motion.y;
    moved_ = (currentX_ != previousX_ || currentY_ != previousY_) ? 1 : 0;
    previousX_ = currentX_;
    previousY_ = currentY_;
    for (KeyRecord& record : buttons_)
    {
        record = KeyRecord{};
    }
    for (std::size_t i = 0; i < buttons.size(); ++i)
    {
        if (buttons[i] < 3)
        {
            buttons_[buttons[i]] = records[i];
        }
    }
    return true;
}

} // namespace Input

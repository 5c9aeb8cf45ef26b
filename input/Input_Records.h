#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

namespace Input
{

// The exchange records below travel between machines and into replay files
// as their raw bytes; the byte layout is little-endian by definition.
static_assert(std::endian::native == std::endian::little,
              "input exchange records assume a little-endian host");

// State of one key or mouse button, one byte each, every byte 0 or 1.
// `down` always equals `triggered`; `held` is what the next update compares
// against; `up` is set by the update of the release and cleared by the next
// update that still finds the key up.
struct KeyRecord
{
    std::uint8_t pressed = 0;   // down now
    std::uint8_t triggered = 0; // went down in this update
    std::uint8_t held = 0;      // down at the end of the previous update
    std::uint8_t down = 0;      // went down in this update
    std::uint8_t up = 0;        // released in this update

    // One poll of the key: `isDown` is its state now. Returns true when the
    // key is down or was released by this poll (the keys an update reports).
    bool Advance(bool isDown)
    {
        if (isDown)
        {
            pressed = 1;
            if (held != 0)
            {
                triggered = 0;
                down = 0;
            }
            else
            {
                triggered = 1;
                held = 1;
                down = 1;
            }
            return true;
        }
        const bool released = held != 0;
        up = released ? 1 : 0;
        triggered = 0;
        held = 0;
        down = 0;
        pressed = 0;
        return released;
    }

    bool IsClear() const { return (pressed | triggered | held | down | up) == 0; }
    bool operator==(const KeyRecord&) const = default;
};
static_assert(sizeof(KeyRecord) == 5);

// The whole state of a mouse, exported by a local mouse and loaded into an
// external one (28 bytes). Positions are client pixels, y up from the bottom.
struct MouseState
{
    KeyRecord buttons[3]; // 0 left, 1 middle, 2 right
    std::uint8_t padding0 = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::uint8_t inWindow = 0;
    std::uint8_t moved = 0;
    std::uint8_t cursorVisible = 0;
    std::uint8_t padding1 = 0;
};
static_assert(sizeof(MouseState) == 28);
static_assert(offsetof(MouseState, buttons) == 0 && offsetof(MouseState, padding0) == 15);
static_assert(offsetof(MouseState, x) == 16 && offsetof(MouseState, y) == 20);
static_assert(offsetof(MouseState, inWindow) == 24 && offsetof(MouseState, moved) == 25);
static_assert(offsetof(MouseState, cursorVisible) == 26 && offsetof(MouseState, padding1) == 27);

// A mouse update's motion (20 bytes), in screen pixels: what replays record
// per frame and apply back.
struct MouseMotion
{
    std::int32_t previousX = 0;
    std::int32_t previousY = 0;
    std::uint8_t moved = 0;
    std::uint8_t padding[3] = {0, 0, 0};
    std::int32_t x = 0;
    std::int32_t y = 0;
};
static_assert(sizeof(MouseMotion) == 20);
static_assert(offsetof(MouseMotion, moved) == 8 && offsetof(MouseMotion, x) == 12 &&
              offsetof(MouseMotion, y) == 16);

// One key of a keyboard snapshot (12 bytes): the five record bytes, three
// zero bytes, the virtual-key code.
struct KeySnapshotEntry
{
    KeyRecord record;
    std::uint8_t padding[3] = {0, 0, 0};
    std::uint32_t virtualKey = 0;
};
static_assert(sizeof(KeySnapshotEntry) == 12);
static_assert(offsetof(KeySnapshotEntry, padding) == 5 && offsetof(KeySnapshotEntry, virtualKey) == 8);

} // namespace Input

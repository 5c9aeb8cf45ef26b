#pragma once

#include "input/Input_Records.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Core
{
class File;
}

namespace Velkor
{

// The keys or buttons a device reported in one frame and their states, in
// the same order.
struct ReplayChangeList
{
    std::vector<std::uint8_t> indices;
    std::vector<Input::KeyRecord> states;
};

// One recorded frame: what the keyboard and mouse reported and the frame's
// time step. A frame without a keyboard list had no key down and none
// released; the same holds for the mouse buttons.
struct ReplayRecord
{
    bool keyboardChanged = false;
    bool mouseChanged = false;
    Input::MouseMotion mouse;
    // Null when the device reported no change.
    std::unique_ptr<ReplayChangeList> keyboardChanges;
    std::unique_ptr<ReplayChangeList> mouseChanges;
    float dt = 0.0f;
};

// The replay-data file: the record count, then each record (keyboard flag
// and lists, mouse flag and lists, mouse x and y, dt). Every record but the
// newest is written (the frame in which the recording was stopped): with
// none at all the count is 0.
void WriteReplayRecords(Core::File& file, const std::vector<ReplayRecord>& records);

// Reads a replay-data file and appends its records to `records`. Counts are
// checked against the bytes left before anything is allocated; a key list
// whose count differs from its entry count, a mouse button of 3 or more, or
// a time step that is not a positive finite number is bad data. On any
// problem `records` is left as it was and `error` says what was wrong.
[[nodiscard]] bool ReadReplayRecords(Core::File& file, std::vector<ReplayRecord>& records,
                                     std::string& error);

} // namespace Velkor

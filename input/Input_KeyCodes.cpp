#include "input/Input_KeyCodes.h"

#include <array>

namespace Input
{

namespace
{

// Runs of consecutive engine codes map to consecutive virtual keys; the
// repeats (0x15, 0x19, 0x92) are codes that share a key.
struct Run
{
    std::int32_t firstCode;
    std::int32_t lastCode;
    std::uint8_t firstKey;
};

constexpr Run kRuns[] = {
    {0, 5, 0x01},     {6, 7, 0x08},     {8, 9, 0x0C},     {10, 15, 0x10},   {16, 16, 0x15},
    {17, 17, 0x15},   {18, 20, 0x17},   {21, 21, 0x19},   {22, 52, 0x1B},   {53, 81, 0x41},
    {82, 122, 0x5F},  {123, 125, 0x90}, {126, 130, 0x92}, {131, 154, 0xA0}, {155, 161, 0xBA},
    {162, 166, 0xDB}, {167, 173, 0xE1}, {174, 195, 0xE9},
};

constexpr std::array<std::uint8_t, KeyCodeCount> BuildTable()
{
    std::array<std::uint8_t, KeyCodeCount> table{};
    for (const Run& run : kRuns)
    {
        for (std::int32_t code = run.firstCode; code <= run.lastCode; ++code)
        {
            table[code] = static_cast<std::uint8_t>(run.firstKey + (code - run.firstCode));
        }
    }
    return table;
}

constexpr std::array<std::uint8_t, KeyCodeCount> kKeyTable = BuildTable();

static_assert(kKeyTable[0] == VirtualKey::LButton && kKeyTable[5] == VirtualKey::XButton2);
static_assert(kKeyTable[7] == VirtualKey::Tab && kKeyTable[9] == VirtualKey::Return);
static_assert(kKeyTable[15] == 0x15 && kKeyTable[16] == 0x15 && kKeyTable[17] == 0x15);
static_assert(kKeyTable[21] == 0x19 && kKeyTable[22] == VirtualKey::Escape &&
              kKeyTable[27] == VirtualKey::Space);
static_assert(kKeyTable[32] == VirtualKey::Left && kKeyTable[35] == VirtualKey::Down);
static_assert(kKeyTable[43] == '0' && kKeyTable[52] == '9' && kKeyTable[53] == 'A' && kKeyTable[78] == 'Z');
static_assert(kKeyTable[83] == VirtualKey::Numpad0 && kKeyTable[98] == VirtualKey::Divide);
static_assert(kKeyTable[99] == VirtualKey::F1 && kKeyTable[122] == 0x87);
static_assert(kKeyTable[123] == VirtualKey::NumLock && kKeyTable[125] == 0x92 && kKeyTable[126] == 0x92);
static_assert(kKeyTable[131] == VirtualKey::LShift && kKeyTable[132] == VirtualKey::RShift);
static_assert(kKeyTable[154] == VirtualKey::LaunchApp2 && kKeyTable[155] == VirtualKey::Oem1);
static_assert(kKeyTable[161] == VirtualKey::Oem3 && kKeyTable[162] == VirtualKey::Oem4 &&
              kKeyTable[166] == 0xDF);
static_assert(kKeyTable[167] == 0xE1 && kKeyTable[173] == 0xE7 && kKeyTable[174] == 0xE9 &&
              kKeyTable[195] == 0xFE);

} // namespace

std::uint8_t ToVirtualKey(std::int32_t keyCode)
{
    if (keyCode < 0 || keyCode >= KeyCodeCount)
    {
        return 0;
    }
    return kKeyTable[keyCode];
}

} // namespace Input

#pragma once

#include <cstdint>

namespace Input
{

// Virtual-key codes: the key numbering the per-key state is stored by (256
// records). The keyboard source fills its state buffer in these codes.
namespace VirtualKey
{
constexpr std::uint8_t LButton = 0x01;
constexpr std::uint8_t RButton = 0x02;
constexpr std::uint8_t Cancel = 0x03;
constexpr std::uint8_t MButton = 0x04;
constexpr std::uint8_t XButton1 = 0x05;
constexpr std::uint8_t XButton2 = 0x06;
constexpr std::uint8_t Back = 0x08;
constexpr std::uint8_t Tab = 0x09;
constexpr std::uint8_t Clear = 0x0C;
constexpr std::uint8_t Return = 0x0D;
constexpr std::uint8_t Shift = 0x10;
constexpr std::uint8_t Control = 0x11;
constexpr std::uint8_t Menu = 0x12; // Alt
constexpr std::uint8_t Pause = 0x13;
constexpr std::uint8_t Capital = 0x14; // Caps Lock
constexpr std::uint8_t Escape = 0x1B;
constexpr std::uint8_t Space = 0x20;
constexpr std::uint8_t Prior = 0x21; // Page Up
constexpr std::uint8_t Next = 0x22;  // Page Down
constexpr std::uint8_t End = 0x23;
constexpr std::uint8_t Home = 0x24;
constexpr std::uint8_t Left = 0x25;
constexpr std::uint8_t Up = 0x26;
constexpr std::uint8_t Right = 0x27;
constexpr std::uint8_t Down = 0x28;
constexpr std::uint8_t Select = 0x29;
constexpr std::uint8_t Print = 0x2A;
constexpr std::uint8_t Execute = 0x2B;
constexpr std::uint8_t Snapshot = 0x2C; // Print Screen
constexpr std::uint8_t Insert = 0x2D;
constexpr std::uint8_t Delete = 0x2E;
constexpr std::uint8_t Help = 0x2F;
constexpr std::uint8_t Digit0 = 0x30; // '0' to '9' follow
constexpr std::uint8_t A = 0x41;      // 'A' to 'Z' follow
constexpr std::uint8_t LWin = 0x5B;
constexpr std::uint8_t RWin = 0x5C;
constexpr std::uint8_t Apps = 0x5D;
constexpr std::uint8_t Sleep = 0x5F;
constexpr std::uint8_t Numpad0 = 0x60; // to Numpad9 at 0x69
constexpr std::uint8_t Multiply = 0x6A;
constexpr std::uint8_t Add = 0x6B;
constexpr std::uint8_t Separator = 0x6C;
constexpr std::uint8_t Subtract = 0x6D;
constexpr std::uint8_t Decimal = 0x6E;
constexpr std::uint8_t Divide = 0x6F;
constexpr std::uint8_t F1 = 0x70; // to F24 at 0x87
constexpr std::uint8_t NumLock = 0x90;
constexpr std::uint8_t Scroll = 0x91;
constexpr std::uint8_t LShift = 0xA0;
constexpr std::uint8_t RShift = 0xA1;
constexpr std::uint8_t LControl = 0xA2;
constexpr std::uint8_t RControl = 0xA3;
constexpr std::uint8_t LMenu = 0xA4;
constexpr std::uint8_t RMenu = 0xA5;
constexpr std::uint8_t BrowserBack = 0xA6;
constexpr std::uint8_t BrowserForward = 0xA7;
constexpr std::uint8_t BrowserRefresh = 0xA8;
constexpr std::uint8_t BrowserStop = 0xA9;
constexpr std::uint8_t BrowserSearch = 0xAA;
constexpr std::uint8_t BrowserFavorites = 0xAB;
constexpr std::uint8_t BrowserHome = 0xAC;
constexpr std::uint8_t VolumeMute = 0xAD;
constexpr std::uint8_t VolumeDown = 0xAE;
constexpr std::uint8_t VolumeUp = 0xAF;
constexpr std::uint8_t MediaNextTrack = 0xB0;
constexpr std::uint8_t MediaPrevTrack = 0xB1;
constexpr std::uint8_t MediaStop = 0xB2;
constexpr std::uint8_t MediaPlayPause = 0xB3;
constexpr std::uint8_t LaunchMail = 0xB4;
constexpr std::uint8_t LaunchMediaSelect = 0xB5;
constexpr std::uint8_t LaunchApp1 = 0xB6;
constexpr std::uint8_t LaunchApp2 = 0xB7;
constexpr std::uint8_t Oem1 = 0xBA;      // ';:'
constexpr std::uint8_t OemPlus = 0xBB;   // '=+'
constexpr std::uint8_t OemComma = 0xBC;  // ',<'
constexpr std::uint8_t OemMinus = 0xBD;  // '-_'
constexpr std::uint8_t OemPeriod = 0xBE; // '.>'
constexpr std::uint8_t Oem2 = 0xBF;      // '/?'
constexpr std::uint8_t Oem3 = 0xC0;      // '`~'
constexpr std::uint8_t Oem4 = 0xDB;      // '[{'
constexpr std::uint8_t Oem5 = 0xDC;      // '\|'
constexpr std::uint8_t Oem6 = 0xDD;      // ']}'
constexpr std::uint8_t Oem7 = 0xDE;      // quote
constexpr std::uint8_t Oem8 = 0xDF;
constexpr std::uint8_t Oem102 = 0xE2; // the extra key beside left shift
constexpr std::uint8_t Play = 0xFA;
constexpr std::uint8_t Zoom = 0xFB;
} // namespace VirtualKey

// Engine key codes, 0 to 195: the numbering game code names keys by. A fixed
// table maps each to a virtual key; a few codes share one.
constexpr std::int32_t KeyCodeCount = 196;

namespace Key
{
constexpr std::int32_t LeftButton = 0;
constexpr std::int32_t RightButton = 1;
constexpr std::int32_t MiddleButton = 3;
constexpr std::int32_t Back = 6;
constexpr std::int32_t Tab = 7;
constexpr std::int32_t Return = 9;
constexpr std::int32_t Shift = 10;
constexpr std::int32_t Control = 11;
constexpr std::int32_t Alt = 12;
constexpr std::int32_t CapsLock = 14;
constexpr std::int32_t Escape = 22;
constexpr std::int32_t Space = 27;
constexpr std::int32_t PageUp = 28;
constexpr std::int32_t PageDown = 29;
constexpr std::int32_t End = 30;
constexpr std::int32_t Home = 31;
constexpr std::int32_t Left = 32;
constexpr std::int32_t Up = 33;
constexpr std::int32_t Right = 34;
constexpr std::int32_t Down = 35;
constexpr std::int32_t Insert = 40;
constexpr std::int32_t Delete = 41;
constexpr std::int32_t Digit0 = 43;  // '0' to '9' are 43 to 52
constexpr std::int32_t A = 53;       // 'A' to 'Z' are 53 to 78
constexpr std::int32_t Numpad0 = 83; // to 92
constexpr std::int32_t F1 = 99;      // F1 to F24 are 99 to 122
constexpr std::int32_t NumLock = 123;
constexpr std::int32_t LeftShift = 131;
constexpr std::int32_t RightShift = 132;
constexpr std::int32_t LeftControl = 133;
constexpr std::int32_t RightControl = 134;

// The engine code of a letter 'A' to 'Z' (either case) or a digit; -1 for
// anything else.
constexpr std::int32_t OfChar(char c)
{
    if (c >= 'A' && c <= 'Z')
    {
        return A + (c - 'A');
    }
    if (c >= 'a' && c <= 'z')
    {
        return A + (c - 'a');
    }
    if (c >= '0' && c <= '9')
    {
        return Digit0 + (c - '0');
    }
    return -1;
}
} // namespace Key

// The virtual key an engine code maps to; 0 (no key) for a code outside 0 to
// 195. No valid code maps to 0.
std::uint8_t ToVirtualKey(std::int32_t keyCode);

} // namespace Input

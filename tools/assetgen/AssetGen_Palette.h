#pragma once

#include "AssetGen_Canvas.h"

// The colours every generated picture draws from: a dark indigo night, the
// five stage colours and white, and three accents.
namespace AssetGen::Palette
{

inline const Color Night = Hex(0x0B0A24);
inline const Color Indigo = Hex(0x1B1650);
inline const Color Navy = Hex(0x101A3E);
inline const Color Ink = Hex(0x05040F);

inline const Color Blue = Hex(0x2F8CFF);
inline const Color Green = Hex(0x3EE37A);
inline const Color Yellow = Hex(0xFFE14A);
inline const Color Orange = Hex(0xFF9A2E);
inline const Color Red = Hex(0xFF3B4F);
inline const Color White = Hex(0xF4F6FF);

inline const Color Cyan = Hex(0x35F2FF);    // power
inline const Color Magenta = Hex(0xFF3DF0); // danger
inline const Color Gold = Hex(0xFFC83D);    // bonus and victory

// The stage colours in stage order.
inline const Color Stages[5] = {Blue, Green, Yellow, Orange, Red};

} // namespace AssetGen::Palette

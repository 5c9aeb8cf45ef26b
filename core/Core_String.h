#pragma once

#include <cstdint>
#include <string>

namespace Core
{

class File;

// True when `text` ends with `suffix`, byte for byte (an empty suffix matches).
bool EndsWith(const std::string& text, const std::string& suffix);

// Maps a-z to A-Z in place; every other byte stays.
std::string& ToUpper(std::string& text);

std::string ToString(bool value);
std::string ToString(std::int32_t value);

// Removes `count` characters at `position` when that range lies inside the
// string; otherwise leaves it unchanged.
std::string& Erase(std::string& text, std::uint32_t position, std::int32_t count);

// The tail from `position`, or an empty string when it lies past the end.
std::string SubstringFrom(const std::string& text, std::uint32_t position);

// The part of a path after its last separator ('\\' or '/'), the whole path
// when it has none, and empty when it ends with one.
std::string GetFileName(const std::string& path);

// One 16-bit unit per byte, the byte sign-extended (128..255 -> 0xFF80..0xFFFF).
std::u16string ToWide(const std::string& text);

// Archive form: a 4-byte length, then the characters without terminator.
File& operator<<(File& file, const std::string& text);
// Reads the archive form. A stored length of 0 clears the string; a length
// longer than what the archive holds fails the archive and leaves the string
// as it was. Characters after a stored zero byte are consumed but dropped.
File& operator>>(File& file, std::string& text);

} // namespace Core

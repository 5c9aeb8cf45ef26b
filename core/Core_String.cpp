#include "core/Core_String.h"

#include "core/Core_File.h"

#include <vector>

namespace Core
{

bool EndsWith(const std::string& text, const std::string& suffix)
{
    if (suffix.size() > text.size())
    {
        return false;
    }
    return text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string& ToUpper(std::string& text)
{
    for (char& c : text)
    {
        if (c >= 'a' && c <= 'z')
        {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

std::string ToString(bool value)
{
    return value ? "true" : "false";
}

std::string ToString(std::int32_t value)
{
    return std::to_string(value);
}

std::string& Erase(std::string& text, std::uint32_t position, std::int32_t count)
{
    if (!text.empty() && count > 0 && position < text.size() &&
        std::uint64_t{position} + static_cast<std::uint64_t>(count) <= text.size())
    {
        text.erase(position, static_cast<std::size_t>(count));
    }
    return text;
}

std::string SubstringFrom(const std::string& text, std::uint32_t position)
{
    if (text.empty() || position > text.size() - 1)
    {
        return std::string();
    }
    return text.substr(position);
}

std::string GetFileName(const std::string& path)
{
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::u16string ToWide(const std::string& text)
{
    std::u16string wide;
    wide.reserve(text.size());
    for (const char c : text)
    {
        wide.push_back(static_cast<char16_t>(static_cast<std::int16_t>(static_cast<signed char>(c))));
    }
    return wide;
}

File& operator<<(File& file, const std::string& text)
{
    const auto length = static_cast<std::uint32_t>(text.size());
    file.Write(&length, sizeof length);
    if (length != 0)
    {
        file.Write(text.data(), length);
    }
    return file;
}

File& operator>>(File& file, std::string& text)
{
    std::uint32_t length = 0;
    if (!file.ReadExact(&length, sizeof length))
    {
        return file;
    }
    if (length == 0)
    {
        text.clear();
        return file;
    }
    if (!file.Require(length))
    {
        return file;
    }
    std::string buffer(length, '\0');
    if (!file.ReadExact(buffer.data(), length))
    {
        return file;
    }
    const std::size_t end = buffer.find('\0');
    if (end != std::string::npos)
    {
        buffer.resize(end);
    }
    text = std::move(buffer);
    return file;
}

} // namespace Core

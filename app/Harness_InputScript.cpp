#include "Harness_InputScript.h"

#include "engine/Engine_CommandLine.h"
#include "input/Input_KeyCodes.h"
#include "input/Input_ScriptedInputSource.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>

namespace Harness
{

namespace
{

struct KeyName
{
    const char* name;
    std::int32_t code;
};

constexpr KeyName KeyNames[] = {
    {"escape", Input::Key::Escape}, {"enter", Input::Key::Return}, {"return", Input::Key::Return},
    {"space", Input::Key::Space},   {"tab", Input::Key::Tab},      {"backspace", Input::Key::Back},
    {"left", Input::Key::Left},     {"up", Input::Key::Up},        {"right", Input::Key::Right},
    {"down", Input::Key::Down},     {"shift", Input::Key::Shift},  {"control", Input::Key::Control},
    {"alt", Input::Key::Alt},
};

std::vector<std::string> Words(const std::string& line)
{
    std::istringstream stream(line);
    std::vector<std::string> words;
    std::string word;
    while (stream >> word)
    {
        words.push_back(word);
    }
    return words;
}

bool ReadInteger(const std::string& text, std::int32_t& value)
{
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return !text.empty() && error == std::errc() && stop == end;
}

// The engine key code of a code in digits or a key name; -1 for neither.
std::int32_t ReadKey(const std::string& text)
{
    std::uint32_t code = 0;
    if (Engine::ReadCount(text, code))
    {
        return code < static_cast<std::uint32_t>(Input::KeyCodeCount) ? static_cast<std::int32_t>(code) : -1;
    }
    std::string lower = text;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const KeyName& key : KeyNames)
    {
        if (lower == key.name)
        {
            return key.code;
        }
    }
    if (lower.size() == 1)
    {
        return Input::Key::OfChar(lower[0]);
    }
    if (lower.size() >= 2 && lower[0] == 'f')
    {
        std::uint32_t number = 0;
        if (Engine::ReadCount(lower.substr(1), number) && number >= 1 && number <= 12)
        {
            return Input::Key::F1 + static_cast<std::int32_t>(number) - 1;
        }
    }
    return -1;
}

// Reads one line's words into `event`; answers what is wrong, or nothing.
std::string ReadEvent(const std::vector<std::string>& words, InputEvent& event)
{
    std::uint32_t frame = 0;
    if (!Engine::ReadCount(words[0], frame) || frame == 0)
    {
        return "a line starts with the frame number (1 or more), not \"" + words[0] + "\"";
    }
    event.frame = frame;
    if (words.size() < 2)
    {
        return "frame " + words[0] + " has no event";
    }
    const std::string& what = words[1];
    const auto expect = [&](std::size_t count, const char* form) -> std::string
    { return words.size() == count ? std::string() : "\"" + what + "\" is written \"" + form + "\""; };
    if (what == "move")
    {
        if (std::string problem = expect(4, "<frame> move <x> <y>"); !problem.empty())
        {
            return problem;
        }
        if (!ReadInteger(words[2], event.x) || !ReadInteger(words[3], event.y))
        {
            return "move takes two whole numbers of pixels, not \"" + words[2] + " " + words[3] + "\"";
        }
        event.kind = InputEvent::Kind::Move;
        return {};
    }
    if (what == "press" || what == "release")
    {
        if (std::string problem = expect(3, "<frame> press|release left|middle|right"); !problem.empty())
        {
            return problem;
        }
        const std::string& button = words[2];
        if (button == "left")
        {
            event.virtualKey = Input::VirtualKey::LButton;
        }
        else if (button == "right")
        {
            event.virtualKey = Input::VirtualKey::RButton;
        }
        else if (button == "middle")
        {
            event.virtualKey = Input::VirtualKey::MButton;
        }
        else
        {
            return "the mouse buttons are left, middle and right, not \"" + button + "\"";
        }
        event.kind = what == "press" ? InputEvent::Kind::Press : InputEvent::Kind::Release;
        return {};
    }
    if (what == "key-down" || what == "key-up")
    {
        if (std::string problem = expect(3, "<frame> key-down|key-up <key>"); !problem.empty())
        {
            return problem;
        }
        const std::int32_t code = ReadKey(words[2]);
        if (code < 0)
        {
            return "\"" + words[2] + "\" is no engine key code (0 to 195) or key name";
        }
        event.virtualKey = Input::ToVirtualKey(code);
        event.kind = what == "key-down" ? InputEvent::Kind::KeyDown : InputEvent::Kind::KeyUp;
        return {};
    }
    return "unknown event \"" + what + "\" (move, press, release, key-down, key-up)";
}

} // namespace

std::string ParseInputScript(const std::string& text, std::vector<InputEvent>& events)
{
    std::vector<InputEvent> read;
    std::istringstream stream(text);
    std::string line;
    std::uint32_t number = 0;
    while (std::getline(stream, line))
    {
        ++number;
        if (!line.empty() && line.back() == '\r')
        {
            line.pop_back();
        }
        const std::vector<std::string> words = Words(line);
        if (words.empty() || words[0][0] == '#')
        {
            continue;
        }
        InputEvent event;
        event.line = number;
        if (std::string problem = ReadEvent(words, event); !problem.empty())
        {
            return "line " + std::to_string(number) + ": " + problem;
        }
        read.push_back(event);
    }
    std::stable_sort(read.begin(), read.end(),
                     [](const InputEvent& a, const InputEvent& b) { return a.frame < b.frame; });
    events = std::move(read);
    return {};
}

std::string ReadInputScript(const std::string& path, std::vector<InputEvent>& events)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
    {
        return "cannot read \"" + path + "\"";
    }
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad())
    {
        return "cannot read \"" + path + "\"";
    }
    std::string problem = ParseInputScript(text.str(), events);
    return problem.empty() ? problem : "\"" + path + "\" " + problem;
}

void ApplyInputEvent(const InputEvent& event, Input::ScriptedInputSource& source)
{
    switch (event.kind)
    {
    case InputEvent::Kind::Move:
    {
        const Input::ClientArea& area = source.GetArea();
        source.SetCursor(area.x + event.x, area.y + (area.height - 1 - event.y));
        break;
    }
    case InputEvent::Kind::Press:
    case InputEvent::Kind::KeyDown:
        source.SetKeyDown(event.virtualKey, true);
        break;
    case InputEvent::Kind::Release:
    case InputEvent::Kind::KeyUp:
        source.SetKeyDown(event.virtualKey, false);
        break;
    }
}

} // namespace Harness

#include "engine/Engine_CommandLine.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <set>

namespace Engine
{

namespace
{

constexpr const char* HelpOption = "--help";

template <class Option> std::string Synopsis(const Option& option)
{
    return option.flag ? option.name : option.name + " " + option.valueName;
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

CommandLine::CommandLine(std::string program) : program_(std::move(program))
{
}

void CommandLine::AddOption(const std::string& name, const std::string& valueName, const std::string& help,
                            Reader read, bool repeatable)
{
    options_.push_back({name, valueName, help, std::move(read), repeatable});
}

void CommandLine::AddFlag(const std::string& name, const std::string& help, std::function<void()> set)
{
    Option option{name, std::string(), help,
                  [set = std::move(set)](const std::string&) -> std::string
                  {
                      set();
                      return {};
                  }};
    option.flag = true;
    options_.push_back(std::move(option));
}

std::optional<int> CommandLine::Parse(const std::vector<std::string>& arguments) const
{
    if (std::find(arguments.begin(), arguments.end(), HelpOption) != arguments.end())
    {
        std::fputs(GetUsage().c_str(), stdout);
        std::fflush(stdout);
        return 0;
    }
    const std::string error = Read(arguments);
    if (error.empty())
    {
        return std::nullopt;
    }
    std::fprintf(stderr, "%s: %s\n%s", program_.c_str(), error.c_str(), GetUsage().c_str());
    std::fflush(stderr);
    return UsageErrorStatus;
}

std::string CommandLine::Read(const std::vector<std::string>& arguments) const
{
    std::set<std::string> given;
    for (std::size_t i = 0; i < arguments.size(); ++i)
    {
        const std::string& name = arguments[i];
        const auto option = std::find_if(options_.begin(), options_.end(),
                                         [&name](const Option& known) { return known.name == name; });
        if (option == options_.end())
        {
            return "unknown option \"" + name + "\"";
        }
        if (!given.insert(name).second && !option->repeatable)
        {
            return name + " is given twice";
        }
        if (option->flag)
        {
            option->read(std::string());
            continue;
        }
        if (i + 1 >= arguments.size())
        {
            return name + " needs a value (" + name + " " + option->valueName + ")";
        }
        std::string problem = option->read(arguments[++i]);
        if (!problem.empty())
        {
            return problem;
        }
    }
    return {};
}

std::string CommandLine::GetUsage() const
{
    std::string usage = "usage: " + program_;
    std::size_t width = std::string(HelpOption).size();
    for (const Option& option : options_)
    {
        usage += " [" + Synopsis(option) + "]" + (option.repeatable ? "..." : "");
        width = std::max(width, Synopsis(option).size());
    }
    usage += " [" + std::string(HelpOption) + "]\n";
    const auto line = [&usage, width](const std::string& synopsis, const std::string& help)
    { usage += "  " + synopsis + std::string(width + 2 - synopsis.size(), ' ') + help + "\n"; };
    for (const Option& option : options_)
    {
        line(Synopsis(option), option.help);
    }
    line(HelpOption, "print this help and exit");
    return usage;
}

bool ReadCount(const std::string& text, std::uint32_t& count)
{
    // from_chars takes no sign, space or base prefix; the whole text must go.
    std::uint32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end)
    {
        return false;
    }
    count = value;
    return true;
}

std::string CheckOutputFile(const std::string& path, const std::string& extension)
{
    namespace fs = std::filesystem;
    const fs::path file(path);
    if (path.empty())
    {
        return "an empty name names no file";
    }
    if (Lower(file.extension().string()) != Lower(extension) || file.stem().empty())
    {
        return "\"" + path + "\" does not end in \"" + extension + "\"";
    }
    std::error_code error;
    const fs::file_status status = fs::status(file, error);
    if (fs::is_directory(status))
    {
        return "\"" + path + "\" is a directory";
    }
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    if (!fs::is_directory(folder, error))
    {
        return "the folder \"" + folder.string() + "\" does not exist";
    }
    if (fs::exists(status) ? ::access(path.c_str(), W_OK) != 0 : ::access(folder.c_str(), W_OK | X_OK) != 0)
    {
        return "\"" + path + "\" cannot be written";
    }
    return {};
}

int RunProgram(const CommandLine& commandLine, const std::vector<std::string>& arguments,
               ApplicationFactory factory)
{
    if (const std::optional<int> status = commandLine.Parse(arguments))
    {
        return *status;
    }
    return Main(arguments, factory);
}

} // namespace Engine

#pragma once

#include "engine/Engine_Main.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace Engine
{

// A program's command line: options written "--name VALUE", each read by
// its own reader, flags written "--name" alone, and "--help". Everything is checked before the program
// opens its window, so a mistake costs the user no wait and leaves no file:
// - "--help" anywhere prints the usage on standard output; the program ends
//   with 0;
// - an unknown option, a missing value, an option given twice or a value
//   its reader refuses prints one line "<program>: <what is wrong>" and the
//   usage on standard error; the program ends with 2. An option added as
//   repeatable may be given any number of times; its reader sees each value.
// A program adds its options in the order the usage lists them.
class CommandLine
{
public:
    // Takes an option's value: answers an empty text when the value is
    // taken, else what is wrong with it (the message names the option).
    using Reader = std::function<std::string(const std::string& value)>;

    static constexpr int UsageErrorStatus = 2;

    explicit CommandLine(std::string program);

    // "--name VALUE": `valueName` stands for the value in the usage, `help`
    // is the option's line in it.
    void AddOption(const std::string& name, const std::string& valueName, const std::string& help, Reader read,
                   bool repeatable = false);
    // "--name" alone: `set` runs when it is given.
    void AddFlag(const std::string& name, const std::string& help, std::function<void()> set);

    // Reads the arguments (the program name left out) and answers the
    // status the program ends with before running (0 after the help, 2
    // after a usage error, each printed as above), or none when it runs.
    std::optional<int> Parse(const std::vector<std::string>& arguments) const;

    // Reads the arguments through the options' readers without printing:
    // an empty text when every argument is taken, else the first thing
    // wrong. "--help" is no option here.
    std::string Read(const std::vector<std::string>& arguments) const;

    // "usage: <program> [--a A] [--b B] [--help]" and one line per option.
    std::string GetUsage() const;

private:
    struct Option
    {
        std::string name;
        std::string valueName;
        std::string help;
        Reader read;
        bool repeatable = false;
        // A flag takes no value; `read` gets an empty one.
        bool flag = false;
    };

    std::string program_;
    std::vector<Option> options_;
};

// Value readers shared by the programs' options.
//
// A count: decimal digits only (no sign, space or other text), at most
// UINT32_MAX. False leaves `count` as it was.
[[nodiscard]] bool ReadCount(const std::string& text, std::uint32_t& count);
// Whether a file can be written at `path` when the run ends: the name ends
// in `extension` (letter case aside), names no directory, and its folder
// exists and is writable (an existing file must be writable too). Answers
// an empty text, or what is wrong. Nothing is created.
std::string CheckOutputFile(const std::string& path, const std::string& extension);

// The program's whole run: reads the command line and, when it asks for a
// run, hands the arguments to Engine::Main with `factory`. Answers the
// program's exit status.
int RunProgram(const CommandLine& commandLine, const std::vector<std::string>& arguments,
               ApplicationFactory factory);

} // namespace Engine

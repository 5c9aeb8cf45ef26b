#pragma once

#include <string>

namespace Core
{

// Tells the person running the program about a resource file that cannot be
// found or read, and what the program uses in its place. One line on
// standard error, once per file for the whole process (a texture reloaded
// every frame would otherwise flood the terminal):
//   <program>: cannot read "<native path>" (<problem>); <fallback>
// `path` is an engine path (backslashes allowed) and is shown in its native
// form (Core::ToNativePath). An empty `problem` is taken from opening the file: the system's text
// when it does not open ("No such file or directory"), else "its contents
// cannot be read". `fallback` says what is used instead ("the pattern
// texture is used instead"). Safe from any thread.
void ReportUnreadableResource(const std::string& path, const std::string& problem, const std::string& fallback);

// Forgets which files were reported, so a test can see a report again.
void ForgetReportedResources();

} // namespace Core

#pragma once

#include <string>

namespace Script
{

// Shows `text` in the "Script Error" box (an error with an OK button); with
// no display it goes to standard error and nothing waits.
void ReportScriptError(const std::string& text);

} // namespace Script

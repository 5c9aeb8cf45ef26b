#include "input/Input_InputSource.h"

#include "input/Input_ScriptedInputSource.h"

namespace Input
{

namespace
{
InputSource* g_installed = nullptr;

InputSource& PlatformSource()
{
    // Nothing pressed, the pointer at the origin.
    static ScriptedInputSource idle;
    return idle;
}
} // namespace

InputSource::~InputSource() = default;

InputSource& InputSource::GetCurrent()
{
    return g_installed != nullptr ? *g_installed : PlatformSource();
}

void InputSource::SetCurrent(InputSource* source)
{
    g_installed = source;
}

} // namespace Input

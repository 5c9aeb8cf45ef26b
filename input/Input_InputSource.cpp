#include "input/Input_InputSource.h"

#include "input/Input_SDLInputSource.h"

namespace Input
{

namespace
{
InputSource* g_installed = nullptr;

InputSource& PlatformSource()
{
    static SDLInputSource platform;
    return platform;
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

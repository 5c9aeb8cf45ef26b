#include "engine/Engine_Main.h"

#include "core/Core_Startup.h"
#include "pal/PAL_Window.h"

#include <cstdio>

namespace Engine
{

int Main(const std::vector<std::string>& arguments, ApplicationFactory factory)
{
    const Core::Startup startup;
    Core::RefPtr<Application> application = factory != nullptr ? factory(arguments) : nullptr;
    if (!application)
    {
        std::fprintf(stderr, "Engine::Main: no application was made\n");
        return 1;
    }
    while (PAL::ProcessMessages())
    {
        application->BeginFrame();
        application->RunFrame();
        application->EndFrame();
    }
    application->Shutdown();
    application.Reset();
    return 0;
}

} // namespace Engine

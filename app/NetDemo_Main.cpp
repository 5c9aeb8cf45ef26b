// The network demo: a small game that hosts or joins a session on the
// game's run harness and prints what happens (see NetDemo_Game.h).
#include "NetDemo_Game.h"

#include "engine/Engine_CommandLine.h"

#include <string>
#include <vector>

Core::RefPtr<Engine::Application> CreateApplication(const std::vector<std::string>& arguments)
{
    NetDemoOptions options;
    const std::string problem = MakeNetDemoCommandLine(options).Read(arguments);
    if (!problem.empty())
    {
        return nullptr;
    }
    return new NetDemo(options);
}

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    NetDemoOptions checked;
    const int status = Engine::RunProgram(MakeNetDemoCommandLine(checked), arguments, &CreateApplication);
    return status != 0 ? status : GetNetDemoExitStatus();
}

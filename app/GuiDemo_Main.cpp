// The GUI demo's program entry: the command line takes the run harness's
// options (help and usage errors end the program before a window opens),
// and the engine runs the demo under the harness. The log's line for a
// frame is its events, then "|" and the display's state. A run that could
// not deliver what its options asked for (a screenshot, the log) ends
// with 1.
#include "GuiDemo_Application.h"
#include "Harness_RunHarness.h"

#include "engine/Engine_CommandLine.h"

#include <cstdio>
#include <string>
#include <vector>

namespace
{

Engine::CommandLine MakeGuiDemoCommandLine(Harness::RunOptions& options)
{
    Engine::CommandLine commandLine("gui_demo");
    options.program = "gui_demo";
    Harness::AddRunOptions(commandLine, options);
    return commandLine;
}

} // namespace

// The command line was checked before the engine started (main).
Core::RefPtr<Engine::Application> CreateApplication(const std::vector<std::string>& arguments)
{
    Harness::RunOptions options;
    const std::string problem = MakeGuiDemoCommandLine(options).Read(arguments);
    if (!problem.empty())
    {
        std::fprintf(stderr, "gui_demo: %s\n", problem.c_str());
        return nullptr;
    }
    Core::RefPtr<GuiDemoApplication> demo(new ("GuiDemo_Main", __LINE__) GuiDemoApplication());
    GuiDemoApplication* raw = demo.Get();
    return Core::RefPtr<Engine::Application>(new ("GuiDemo_Main", __LINE__) Harness::RunHarness(
        options, Core::RefPtr<Engine::RenderingApplication>(demo.Get()),
        [raw] { return raw->GetLastFrameLog(); }));
}

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    Harness::RunOptions checked;
    const int status = Engine::RunProgram(MakeGuiDemoCommandLine(checked), arguments, &CreateApplication);
    return status != 0 ? status : Harness::RunHarness::GetExitStatus();
}

// Program entry: reads the command line (help and usage errors end the
// program before anything opens) and hands it to the engine, which runs the
// application that this program's CreateApplication makes. A run that could
// not deliver what its options asked for (the screenshot) ends with 1.
#include "Demo_EngineDemo.h"

#include "engine/Engine_CommandLine.h"

#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    DemoOptions checked;
    const int status = Engine::RunProgram(MakeDemoCommandLine(checked), arguments, &CreateApplication);
    return status != 0 ? status : GetDemoExitStatus();
}

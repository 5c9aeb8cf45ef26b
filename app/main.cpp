// Program entry: hands the command line to the engine, which runs the
// application that this program's CreateApplication makes. A run that could
// not deliver what its options asked for (the screenshot) ends with 1.
#include "Demo_EngineDemo.h"

#include "engine/Engine_Main.h"

#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const int status = Engine::Main(arguments, &CreateApplication);
    return status != 0 ? status : GetDemoExitStatus();
}

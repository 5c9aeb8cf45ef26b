// The game's program entry: reads the command line (help and usage errors
// end the program before a window opens) and hands it to the engine, which
// runs the game that CreateApplication makes. A run that could not deliver
// what its options asked for (a screenshot, the log) ends with 1.
#include "Brillow_Program.h"

#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    Harness::RunOptions checked;
    const int status = Engine::RunProgram(MakeBrillowCommandLine(checked), arguments, &CreateApplication);
    return status != 0 ? status : Harness::RunHarness::GetExitStatus();
}

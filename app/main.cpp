// Program entry: hands the command line to the engine, which runs the
// application that this program's CreateApplication makes.
#include "engine/Engine_Main.h"

#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    return Engine::Main(arguments, &CreateApplication);
}

#pragma once

#include "Harness_RunHarness.h"

#include "engine/Engine_CommandLine.h"

#include <string>

// The game program's command line: the run options.
Engine::CommandLine MakeBrillowCommandLine(Harness::RunOptions& options);

// The log line of the frame just run: the level (index and name), the level
// machine's state, the game data and the current level's play switches,
// then what the screen shows (ball, intro, buttons, sounds, listener gain,
// window mode, score text, overlay objects shown).
std::string DescribeBrillowFrame();

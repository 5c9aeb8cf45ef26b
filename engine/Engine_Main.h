#pragma once

#include "core/Core_RefPtr.h"
#include "engine/Engine_Application.h"

#include <string>
#include <vector>

namespace Engine
{

// Makes the program's application from the command-line arguments (the
// program name left out); null when it cannot be made.
using ApplicationFactory = Core::RefPtr<Application> (*)(const std::vector<std::string>& arguments);

// The program's entry into the engine:
// 1. starts the engine (a counted start guard);
// 2. asks `factory` once for the application;
// 3. while the message pump finds no quit message, runs one frame:
//    BeginFrame, RunFrame, EndFrame. The pump runs before each frame, so a
//    quit posted during a frame ends the loop after that frame's EndFrame;
// 4. calls Shutdown once, also when no frame ran;
// 5. releases the application and stops the engine.
// Returns 0, or 1 (after a message on standard error) when the factory
// made no application.
int Main(const std::vector<std::string>& arguments, ApplicationFactory factory);

} // namespace Engine

// The program's application factory: the game's, or the engine demo's
// until the game exists. Each program defines it once and hands it to
// Engine::Main.
Core::RefPtr<Engine::Application> CreateApplication(const std::vector<std::string>& arguments);

#pragma once

#include "core/Core_RefPtr.h"
#include "engine/Engine_Application.h"

// The game as the engine runs it: a MyLevelFactory and the MyGame over it,
// starting at level 0 (the main menu), returned with one reference taken.
Core::RefPtr<Engine::Application> CreateBrillowApplication();

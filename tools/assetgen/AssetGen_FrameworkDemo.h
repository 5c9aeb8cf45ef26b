#pragma once

#include "AssetGen_Output.h"

namespace AssetGen
{

// The framework demo's files: a sheet of six coloured balls (3 x 2 cells of
// 64 x 64), a glowing wall bar (one 256 x 32 frame, laid along each wall),
// a bumper disc (one 128 x 128 frame, radius 56, scaled to each bumper) and
// the demo layer's collision file (the arena walls and three bumpers).
void ListFrameworkDemo(Manifest& manifest);
bool MakeFrameworkDemo(Output& output);

} // namespace AssetGen

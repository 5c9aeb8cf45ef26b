#pragma once

#include "AssetGen_Output.h"

namespace AssetGen
{

// The arena the play level and the tutorial keep their balls in: walls on
// the window's edges. The arena frame picture is drawn from the same values,
// so what the player sees and what the balls bounce off agree.
namespace Arena
{
constexpr int HalfWidth = 512;
constexpr int HalfHeight = 384;
} // namespace Arena

// The static collision files "levelL_layerM.txt", L 0-8, M 0-2.
void ListCollisionFiles(Manifest& manifest);
bool MakeCollisionFiles(Output& output);

} // namespace AssetGen

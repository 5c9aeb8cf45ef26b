#pragma once

#include "AssetGen_Output.h"

namespace AssetGen
{

// The engine demo's sprite sheet and particle image.
void ListDemo(Manifest& manifest);
bool MakeDemo(Output& output);

} // namespace AssetGen

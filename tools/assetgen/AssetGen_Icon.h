#pragma once

#include "AssetGen_Canvas.h"
#include "AssetGen_Output.h"

namespace AssetGen
{

// The game icon at `size` pixels: the glowing player ball on a dark rounded
// square.
Canvas MakeIconImage(int size);

void ListIcon(Manifest& manifest);
bool MakeIcon(Output& output);

} // namespace AssetGen

#pragma once

#include "AssetGen_Output.h"

namespace AssetGen
{

// Review pictures for a person to look at (not read by the game):
// "review/fonts-and-gui.png" shows every font's character set and a sample
// line on a dark and a light ground, every skin record nine-sliced at three
// sizes, a composed form, the cursor and the icon.
void ListReview(Manifest& manifest);
bool MakeReview(Output& output);

} // namespace AssetGen

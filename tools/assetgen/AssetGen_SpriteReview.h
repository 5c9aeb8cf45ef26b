#pragma once

#include "AssetGen_Output.h"

namespace AssetGen
{

// Review pictures of the sprite sheets: "review/sprites.png", every frame of
// every sheet on a dark checker, labelled, with its actor's rectangle,
// circles and segments drawn over it; and "review/play-mockup.png", a play
// screen composed from the sheets and the HUD fonts.
void ListSpriteReview(Manifest& manifest);
bool MakeSpriteReview(Output& output);

} // namespace AssetGen

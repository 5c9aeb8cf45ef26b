#pragma once

#include "AssetGen_Output.h"
#include "AssetGen_Sounds.h"

#include <vector>

namespace AssetGen
{

// Review output for a person to listen to and look at (not read by the
// game): "review/sounds.wav" holds every effect in table order with 0.3 s
// between them (a loop three times round) and then 10 s of each track;
// "review/sounds.png" draws per file its waveform, its spectrogram and, for
// a loop, its seam (the last and first milliseconds side by side).
void ListSoundReview(Manifest& manifest);
bool MakeSoundReview(Output& output, const std::vector<RenderedSound>& sounds);

} // namespace AssetGen

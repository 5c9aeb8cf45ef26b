#pragma once

#include "AssetGen_Synth.h"

namespace AssetGen
{

// The game's sound effects: one recipe per use, all built from the same
// few voices (band-limited saws and pulses through resonant filters, sine
// pops, shaped noise), so they sound like one family.
constexpr int EffectRate = 22050;

enum class EffectRecipe
{
    LaserStart, // rising zap, replayed at each growth step
    LaserStay,  // buzzing hum with a slow vibrato (loop)
    LaserEnd,   // falling sweep, replayed at each shrink step
    BlackHole,  // low swirling drone with a slow filter sweep (loop)
    Eat,        // bright pop with a tiny click
    Hurt,       // thump with a noise burst
    Zap,        // electric buzz
    BonusLaser, // oscillating warble (loop)
    Button,     // clicky blip; the variant picks pitch and length
    Bubble,     // bubbly blip
    Lose,       // shattering crash with descending tones
};

struct EffectSound
{
    Synth::Signal samples; // mono at EffectRate, peak-normalised
    double period = 0.0;   // seconds of one loop cycle; 0 for a one-shot
};

// `pitch` scales every frequency of the recipe (2/3 puts a sound a fifth
// lower); `variant` tells apart sounds of one recipe.
EffectSound RenderEffect(EffectRecipe recipe, double pitch, int variant);

} // namespace AssetGen

#pragma once

#include "AssetGen_Synth.h"

namespace AssetGen
{

// The game's two music loops, composed here note by note: stereo, 16-bit
// at 44,100 Hz. A tempo is chosen so that a beat is a whole number of
// samples, which makes every bar, and so the whole loop, whole too; notes
// and echoes that ring past the loop's end are wrapped to its start, so
// the jukebox can play the track again and again without a seam.
constexpr int MusicRate = 44100;

struct MusicTrack
{
    Synth::Signal samples; // interleaved left, right
    int channels = 2;
    double bpm = 0.0;
    int beatsPerBar = 4;
    int bars = 0;

    double BarSeconds() const { return 60.0 / bpm * beatsPerBar; }
};

// The main menu's airy, relaxed loop: pad, arpeggio, soft bass, light
// percussion and a bell melody, 100 beats a minute.
MusicTrack RenderMenuTrack();
// The play level's driving loop: bass line, lead arpeggio and melody,
// kick, clap and hats, 126 beats a minute.
MusicTrack RenderPlayTrack();

} // namespace AssetGen

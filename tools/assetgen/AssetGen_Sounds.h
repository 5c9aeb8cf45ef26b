#pragma once

#include "AssetGen_Output.h"
#include "AssetGen_Synth.h"

#include <cstdint>
#include <string>
#include <vector>

namespace AssetGen
{

// The game's sound effects under "Resources/Sounds/" and its two music
// tracks under "Resources/JukeBoxes/": 16-bit PCM WAV files, effects small
// enough to be loaded whole (under 262,144 bytes of samples), tracks large
// enough to be streamed.
constexpr std::uint32_t StreamThreshold = 262144;

enum class SoundKind
{
    Effect, // plays once
    Loop,   // a looping effect
    Music,  // a jukebox track, repeated whole
};

// One file as computed, before it is written.
struct RenderedSound
{
    std::string path; // below the output folder
    std::string use;  // what the game plays it for
    SoundKind kind = SoundKind::Effect;
    int rate = 0;
    int channels = 1;
    Synth::Signal samples; // interleaved when stereo
    double period = 0.0;   // seconds of one loop cycle or bar; 0 for a one-shot

    std::size_t Frames() const { return samples.size() / static_cast<std::size_t>(channels); }
    double Seconds() const { return static_cast<double>(Frames()) / rate; }
    std::uint32_t DataBytes() const { return static_cast<std::uint32_t>(samples.size() * 2); }
};

void ListSounds(Manifest& manifest);
// Computes every sound, checks the table (every name once, effects under
// and tracks at or over the streaming threshold, loops a whole number of
// cycles, lengths in their ranges) and writes nothing unless all pass;
// then writes the files and the review ("review/sounds.wav",
// "review/sounds.png").
bool MakeSounds(Output& output);

// A 16-bit PCM RIFF/WAVE file with a 16-byte "fmt " chunk.
std::vector<std::uint8_t> EncodeWav(const Synth::Signal& samples, int rate, int channels);

} // namespace AssetGen

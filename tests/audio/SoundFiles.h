#pragma once

// Sound files made by the tests: WAV files assembled chunk by chunk (so a
// test can break any field), and Ogg Vorbis files encoded with libvorbisenc.

#include <cstdint>
#include <string>
#include <vector>

namespace SoundTest
{

using Bytes = std::vector<std::uint8_t>;

void Append16(Bytes& bytes, std::uint16_t value);
void Append32(Bytes& bytes, std::uint32_t value);

// {id, u32 size, body}, with the pad byte after an odd body unless `pad` is off.
Bytes Chunk(const char* id, const Bytes& body, bool pad = true);
// A chunk whose size field says `size`, whatever the body holds.
Bytes ChunkWithSize(const char* id, std::uint32_t size, const Bytes& body);
// The 16 bytes of a plain PCM format.
Bytes FmtPcm(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits);
// The 40 bytes of an extensible format with a channel mask.
Bytes FmtExtensible(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits, std::uint32_t mask);
// "RIFF", size, "WAVE", then the chunks in order.
Bytes Riff(const std::vector<Bytes>& chunks);
// 16-bit frames whose every sample holds its frame index (mod 65536), so a
// chunk read back tells where in the sound it came from.
Bytes RampFrames16(std::uint32_t frames, std::uint16_t channels);

// A fresh directory for this test program's files.
const std::string& Directory();
// Writes the bytes to Directory()/name; the full path.
std::string WriteFile(const std::string& name, const Bytes& bytes);
// A plain 16-bit PCM WAV of ramp frames.
std::string MakeWav(const std::string& name, std::uint16_t channels, std::uint32_t rate,
                    std::uint32_t frames);
// An Ogg Vorbis file: channel c carries a 110 Hz sine of amplitude
// 0.08 * (c + 1), so the channels can be told apart after decoding.
std::string MakeOgg(const std::string& name, int channels, long rate, long frames);
// Root-mean-square of one channel of interleaved 16-bit samples.
double ChannelRms(const std::uint8_t* samples, std::uint32_t bytes, int channels, int channel);

} // namespace SoundTest

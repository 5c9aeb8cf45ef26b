// WAV files.

#include "fuzz/Fuzz_Sound.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Fuzz::LoadSounds(data, size, ".wav");
    return 0;
}

// Ogg Vorbis files. Every page carries a checksum over its bytes, which
// almost every mutation breaks; under libFuzzer the mutator writes each
// page's checksum anew after mutating, so the decoder sees the changed
// packets instead of refusing the page.

#include "fuzz/Fuzz_Sound.h"

#include <array>
#include <cstring>

namespace
{

// The Ogg page checksum: CRC-32 with polynomial 0x04C11DB7, not reflected,
// starting from 0, over the page with its checksum field zeroed.
std::uint32_t PageChecksum(const std::uint8_t* bytes, std::size_t size)
{
    static const std::array<std::uint32_t, 256> table = []
    {
        std::array<std::uint32_t, 256> made{};
        for (std::uint32_t i = 0; i < 256; ++i)
        {
            std::uint32_t value = i << 24;
            for (int bit = 0; bit < 8; ++bit)
            {
                value = (value & 0x80000000u) != 0 ? (value << 1) ^ 0x04C11DB7u : value << 1;
            }
            made[i] = value;
        }
        return made;
    }();
    std::uint32_t crc = 0;
    for (std::size_t i = 0; i < size; ++i)
    {
        crc = (crc << 8) ^ table[((crc >> 24) ^ bytes[i]) & 0xFF];
    }
    return crc;
}

// Rewrites the checksum of every whole page: "OggS", a 27-byte header whose
// last byte counts the segments, the segment table, then the segments.
[[maybe_unused]] void RewriteChecksums(std::uint8_t* data, std::size_t size)
{
    std::size_t at = 0;
    while (size - at >= 27)
    {
        if (std::memcmp(data + at, "OggS", 4) != 0)
        {
            ++at;
            continue;
        }
        const std::size_t segments = data[at + 26];
        if (size - at - 27 < segments)
        {
            return;
        }
        std::size_t body = 0;
        for (std::size_t i = 0; i < segments; ++i)
        {
            body += data[at + 27 + i];
        }
        const std::size_t page = 27 + segments + body;
        if (size - at < page)
        {
            return;
        }
        std::memset(data + at + 22, 0, 4);
        const std::uint32_t crc = PageChecksum(data + at, page);
        for (int i = 0; i < 4; ++i)
        {
            data[at + 22 + i] = static_cast<std::uint8_t>(crc >> (8 * i));
        }
        at += page;
    }
}

} // namespace

#ifdef ENGINE_LIBFUZZER
extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size, std::size_t maxSize,
                                               unsigned int)
{
    const std::size_t mutated = LLVMFuzzerMutate(data, size, maxSize);
    RewriteChecksums(data, mutated);
    return mutated;
}
#endif

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Fuzz::LoadSounds(data, size, ".ogg");
    return 0;
}

#pragma once

// Sound files for the framework's sound tests, written by the tests: 16-bit
// mono WAV tones with a short fade at both ends.

#include "GameTestSupport.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace SoundTest
{

// A tone of `frames` frames at `rate` Hz; the file's full path.
inline std::string WriteTone(const std::filesystem::path& path, std::uint32_t rate, std::uint32_t frames,
                             double frequency = 440.0)
{
    std::filesystem::create_directories(path.parent_path());
    std::vector<std::uint8_t> bytes;
    bytes.reserve(44 + static_cast<std::size_t>(frames) * 2);
    auto put16 = [&bytes](std::uint32_t value)
    {
        bytes.push_back(static_cast<std::uint8_t>(value));
        bytes.push_back(static_cast<std::uint8_t>(value >> 8));
    };
    auto put32 = [&put16](std::uint32_t value)
    {
        put16(value & 0xFFFF);
        put16(value >> 16);
    };
    auto tag = [&bytes](const char* id)
    {
        for (int i = 0; i < 4; ++i)
        {
            bytes.push_back(static_cast<std::uint8_t>(id[i]));
        }
    };
    const std::uint32_t dataBytes = frames * 2;
    tag("RIFF");
    put32(36 + dataBytes);
    tag("WAVE");
    tag("fmt ");
    put32(16);
    put16(1);
    put16(1);
    put32(rate);
    put32(rate * 2);
    put16(2);
    put16(16);
    tag("data");
    put32(dataBytes);
    const double edge = std::max(1.0, rate * 0.005);
    for (std::uint32_t i = 0; i < frames; ++i)
    {
        const double envelope = std::min({1.0, i / edge, (frames - i) / edge});
        const double sample = 0.5 * envelope * std::sin(2.0 * M_PI * frequency * i / rate);
        put16(static_cast<std::uint16_t>(static_cast<std::int16_t>(sample * 32767.0)));
    }
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path.string();
}

// A fresh folder for this test program's sound files.
inline const std::filesystem::path& Folder()
{
    static const std::filesystem::path folder = []
    {
        std::filesystem::path path =
            std::filesystem::temp_directory_path() / ("framework-sounds-" + std::to_string(getpid()));
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder;
}

// Bytes of samples at which a sound streams instead of loading whole.
constexpr std::uint32_t StreamBytes = 262144;

// Waits (polling) until `done` holds or `milliseconds` pass; generous,
// since a loaded machine holds back the mixer and the streaming thread.
template <class Predicate> bool WaitUntil(Predicate done, int milliseconds = 10000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end)
    {
        if (done())
        {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done();
}

} // namespace SoundTest

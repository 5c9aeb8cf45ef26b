#pragma once

// Sound files through the sound engine's loaders, as the program meets
// them: a static sound made whole, one split into intro and loop, and a
// stream whose first buffers are read. The engine runs once per process on
// OpenAL Soft's null output.

#include "audio/Sound_Data.h"
#include "audio/Sound_Engine.h"
#include "fuzz/Fuzz_Support.h"

#include <cstdlib>

namespace Fuzz
{

inline SoundEngine& GetSoundEngine()
{
    static SoundEngine* engine = []
    {
        setenv("ALSOFT_DRIVERS", "null", 0);
        setenv("ENGINE_HEADLESS", "1", 0);
        auto* made = new SoundEngine();
        Require(made->Initialize(-1, 10), "the sound engine starts on the null output");
        // The device is closed at exit; the engine itself stays.
        static SoundEngine* const running = made;
        std::atexit([] { running->Shutdown(); });
        return made;
    }();
    return *engine;
}

inline void LoadSounds(const std::uint8_t* data, std::size_t size, const char* extension)
{
    SoundEngine& engine = GetSoundEngine();
    const std::string path = WriteInputFile(data, size, extension);
    for (const float split : {0.0f, 0.5f})
    {
        const SoundEngine::SoundData* sound = engine.CreateStatic(path, split);
        if (sound == nullptr)
        {
            Require(engine.GetSoundDataCount() == 0 && engine.GetCacheSize() == 0,
                    "a refused sound leaves nothing listed");
            continue;
        }
        const SoundEngine::SoundData::Format& format = sound->GetFormat();
        Require(format.blockAlign > 0 && sound->GetDataSize() % format.blockAlign == 0,
                "a loaded sound holds whole frames");
        Require(sound->GetBuffers().size() == (split == 0.0f ? 1u : 2u), "a static sound has its buffers");
        engine.ReleaseAllSoundData();
    }
    const SoundEngine::SoundData* stream = engine.CreateStream(path, 0.05f, 2);
    if (stream != nullptr)
    {
        Require(stream->GetChunkSize() > 0 && stream->GetChunkSize() % stream->GetFormat().blockAlign == 0,
                "a stream reads whole frames");
    }
    else
    {
        Require(engine.GetSoundDataCount() == 0, "a refused stream leaves nothing listed");
    }
    engine.ReleaseAllSoundData();
}

} // namespace Fuzz

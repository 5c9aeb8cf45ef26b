#pragma once

#include "audio/Sound_Engine.h"
#include "audio/Sound_Source.h"
#include "framework/Velkor_GameEngines.h"

#include <cstdint>

namespace Velkor
{

// A source the running game's sound engine handed out, kept with its id.
// The engine drops every source at a level switch or a load (StopAll), and a
// later source may sit at the same address, so the record is touched only
// while the engine still lists that id there; otherwise it is forgotten.
class HeldSource
{
public:
    // The source, or null (and forgotten) when the engine no longer has it.
    SoundEngine::Source* Get()
    {
        SoundEngine* engine = GameSound();
        if (source_ != nullptr && (engine == nullptr || !engine->HasSource(source_, id_)))
        {
            Forget();
        }
        return source_;
    }
    // The pointer as it was last set, for comparisons only.
    const SoundEngine::Source* Peek() const { return source_; }
    explicit operator bool() const { return source_ != nullptr; }

    void Set(SoundEngine::Source* source)
    {
        source_ = source;
        id_ = source != nullptr ? source->GetId() : 0;
    }
    // Gives the source back to the engine when it still has it.
    void Release()
    {
        if (SoundEngine::Source* source = Get())
        {
            GameSound()->ReleaseSource(source);
        }
        Forget();
    }
    void Forget()
    {
        source_ = nullptr;
        id_ = 0;
    }

private:
    SoundEngine::Source* source_ = nullptr;
    std::uint32_t id_ = 0;
};

// The sound data, when the running game's engine still owns it.
inline SoundEngine::SoundData* LiveSoundData(SoundEngine::SoundData* data)
{
    SoundEngine* engine = GameSound();
    return engine != nullptr && engine->HasSoundData(data) ? data : nullptr;
}

} // namespace Velkor

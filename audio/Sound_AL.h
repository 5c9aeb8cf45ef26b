#pragma once

// Internal to the audio module: the OpenAL headers and the rule that frames
// every OpenAL call. Public headers of the module never include this.

#include <AL/al.h>
#include <AL/alc.h>

#include <mutex>

namespace SoundAL
{

// OpenAL keeps one error state per context, shared by every thread. The main
// thread and the streaming thread both frame their calls, so each frame is
// taken whole under this lock: otherwise one thread's clearing alGetError
// swallows the other's error, and a refused call answers true. Recursive: a
// frame nested in another cannot lock itself out. Never destroyed: an engine
// that outlives static destruction still frames its last calls.
inline std::recursive_mutex& CallMutex()
{
    static std::recursive_mutex* const mutex = new std::recursive_mutex;
    return *mutex;
}

// Clears the error state, runs the call(s), and answers whether OpenAL
// raised no error meanwhile. Callers update their stored values only on true.
template <class Call> inline bool Framed(Call&& call)
{
    const std::lock_guard<std::recursive_mutex> lock(CallMutex());
    alGetError();
    call();
    return alGetError() == AL_NO_ERROR;
}

// AL_SOURCE_STATE of a source; false when the query itself raised an error.
inline bool GetState(ALuint source, ALint& state)
{
    state = 0;
    return Framed([&] { alGetSourcei(source, AL_SOURCE_STATE, &state); });
}

inline bool IsPlaying(ALuint source)
{
    ALint state = 0;
    return GetState(source, state) && state == AL_PLAYING;
}

} // namespace SoundAL

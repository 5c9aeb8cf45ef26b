#pragma once

// Internal to the audio module: the OpenAL headers and the rule that frames
// every OpenAL call. Public headers of the module never include this.

#include <AL/al.h>
#include <AL/alc.h>

namespace SoundAL
{

// Clears the error state, runs the call(s), and answers whether OpenAL
// raised no error meanwhile. Callers update their stored values only on true.
template <class Call> inline bool Framed(Call&& call)
{
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

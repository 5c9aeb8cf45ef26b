#include "audio/Sound_Engine.h"
#include "audio/Sound_Data.h"
#include "audio/Sound_Source.h"

#include "audio/Sound_AL.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace
{

// Distance model index -> OpenAL model.
constexpr ALenum DistanceModels[SoundEngine::DistanceModelCount] = {
    AL_NONE,
    AL_INVERSE_DISTANCE,
    AL_INVERSE_DISTANCE_CLAMPED,
    AL_LINEAR_DISTANCE,
    AL_LINEAR_DISTANCE_CLAMPED,
    AL_EXPONENT_DISTANCE,
    AL_EXPONENT_DISTANCE_CLAMPED,
};

constexpr std::int32_t DefaultMutexType = PAL::ThreadManager::NormalMutex;

std::string ALString(ALenum what)
{
    const ALchar* text = alGetString(what);
    return text != nullptr ? std::string(text) : std::string();
}

// Says on standard error which OpenAL call refused the device and why, in
// OpenAL's words: the sound engine stays off and the caller goes on silent.
void ReportDeviceFailure(const char* call, const std::string& deviceName, ALCdevice* device)
{
    const ALCenum code = alcGetError(device);
    const ALCchar* text = code != ALC_NO_ERROR ? alcGetString(device, code) : nullptr;
    std::fprintf(stderr, "SoundEngine: %s failed for the audio device \"%s\": %s\n", call, deviceName.c_str(),
                 text != nullptr ? text : "no reason given");
    std::fflush(stderr);
}

} // namespace

SoundEngine::SoundEngine()
{
    // The names are separated by NUL and end with an empty name.
    const ALCchar* name = alcGetString(nullptr, ALC_DEVICE_SPECIFIER);
    while (name != nullptr && *name != '\0')
    {
        deviceNames_.emplace_back(name);
        name += std::strlen(name) + 1;
    }
    const ALCchar* defaultName = alcGetString(nullptr, ALC_DEFAULT_DEVICE_SPECIFIER);
    if (defaultName != nullptr)
    {
        for (std::size_t i = 0; i < deviceNames_.size(); ++i)
        {
            if (deviceNames_[i] == defaultName)
            {
                defaultDevice_ = static_cast<std::int32_t>(i);
            }
        }
    }
    LoadVorbisFunctions();
}

SoundEngine::~SoundEngine()
{
    // Sources and buffers go while their context and device still exist.
    StopAll();
    Shutdown();
    sources_.clear();
    initialSource_ = nullptr;
    ReleaseAllSoundData();
    ClearVorbisFunctions();
}

bool SoundEngine::Initialize(std::int32_t device, std::uint32_t waitMs)
{
    if (initialized_)
    {
        return false;
    }
    waitMs_ = waitMs;

    auto fail = [this]
    {
        TearDown();
        return false;
    };

    listMutex_ = threads_.CreateMutex(DefaultMutexType);
    shutdownMutex_ = threads_.CreateMutex(DefaultMutexType);
    shutdownCondition_ = threads_.CreateCondition();
    if (listMutex_ == nullptr || shutdownMutex_ == nullptr || shutdownCondition_ == nullptr)
    {
        return fail();
    }

    if (deviceNames_.empty())
    {
        std::fprintf(stderr, "SoundEngine: OpenAL lists no audio device\n");
        return fail();
    }
    const bool inRange = device >= 0 && device < static_cast<std::int32_t>(deviceNames_.size());
    const std::string& deviceName = deviceNames_[static_cast<std::size_t>(inRange ? device : defaultDevice_)];
    ALCdevice* alDevice = alcOpenDevice(deviceName.c_str());
    if (alDevice == nullptr)
    {
        ReportDeviceFailure("alcOpenDevice", deviceName, nullptr);
        return fail();
    }
    device_ = alDevice;
    ALCcontext* alContext = alcCreateContext(alDevice, nullptr);
    if (alContext == nullptr)
    {
        ReportDeviceFailure("alcCreateContext", deviceName, alDevice);
        return fail();
    }
    context_ = alContext;
    if (alcMakeContextCurrent(alContext) != ALC_TRUE)
    {
        ReportDeviceFailure("alcMakeContextCurrent", deviceName, alDevice);
        return fail();
    }

    if (!threads_.LockMutex(listMutex_))
    {
        return fail();
    }
    Source& initial = sources_.emplace_back();
    if (!initial.Create(1, 0))
    {
        sources_.pop_back();
        threads_.UnlockMutex(listMutex_);
        return fail();
    }
    initialSource_ = &initial;
    threads_.UnlockMutex(listMutex_);

    ALfloat speed = 0.0f;
    if (!SoundAL::Framed([&] { alGetFloatv(AL_SPEED_OF_SOUND, &speed); }) ||
        !SetDistanceModel(distanceModel_))
    {
        return fail();
    }
    speedOfSound_ = speed;

    // The thread starts last: nothing it touches exists before this point.
    if (!StartStreamThread())
    {
        return fail();
    }

    vendor_ = ALString(AL_VENDOR);
    version_ = ALString(AL_VERSION);
    renderer_ = ALString(AL_RENDERER);
    initialized_ = true;
    return true;
}

void SoundEngine::Shutdown()
{
    if (!initialized_)
    {
        return;
    }
    TearDown();
}

void SoundEngine::TearDown()
{
    StopStreamThread();
    if (!initialized_ && initialSource_ != nullptr)
    {
        // A failed start takes its initial source with it.
        initialSource_->Destroy();
        sources_.remove_if([this](const Source& source) { return &source == initialSource_; });
        initialSource_ = nullptr;
    }
    threads_.DestroyMutex(listMutex_);
    threads_.DestroyMutex(shutdownMutex_);
    threads_.DestroyCondition(shutdownCondition_);
    listMutex_ = nullptr;
    shutdownMutex_ = nullptr;
    shutdownCondition_ = nullptr;

    vendor_.clear();
    version_.clear();
    renderer_.clear();
    speedOfSound_ = 0.0f;
    if (context_ != nullptr)
    {
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(static_cast<ALCcontext*>(context_));
        context_ = nullptr;
    }
    if (device_ != nullptr)
    {
        alcCloseDevice(static_cast<ALCdevice*>(device_));
        device_ = nullptr;
    }
    initialized_ = false;
}

bool SoundEngine::StartStreamThread()
{
    streamFinished_ = false;
    streamThread_ = threads_.CreateThread(
        nullptr, &SoundEngine::StreamThread, this,
        PAL::ThreadManager::GetPriority(PAL::ThreadManager::PriorityLevel::Normal), false);
    return streamThread_ != nullptr;
}

// The thread raises `streamFinished_` under the shutdown mutex as its last
// act; waiting on the flag, not on the bare signal, survives a signal that
// comes before the wait and a wake-up that comes without one.
void SoundEngine::StopStreamThread()
{
    if (streamThread_ == nullptr)
    {
        return;
    }
    if (threads_.LockMutex(shutdownMutex_))
    {
        threads_.StopThread(streamThread_, false);
        while (!streamFinished_)
        {
            if (!threads_.WaitCondition(shutdownCondition_, shutdownMutex_))
            {
                break;
            }
        }
        threads_.UnlockMutex(shutdownMutex_);
    }
    streamThread_ = nullptr;
}

void SoundEngine::StreamThread(PAL::Thread* thread)
{
    SoundEngine* engine = static_cast<SoundEngine*>(thread->GetArgument());
    while (PAL::Thread::IsRunning(thread))
    {
        if (engine->threads_.LockMutex(engine->listMutex_))
        {
            engine->StreamPass();
            engine->threads_.UnlockMutex(engine->listMutex_);
        }
        PAL::Thread::Sleep(engine->waitMs_, thread);
    }
    engine->SignalStreamEnd();
}

void SoundEngine::StreamPass()
{
    for (Source& source : sources_)
    {
        source.Stream();
    }
}

void SoundEngine::SignalStreamEnd()
{
    threads_.LockMutex(shutdownMutex_);
    streamFinished_ = true;
    threads_.SignalCondition(shutdownCondition_, false);
    threads_.UnlockMutex(shutdownMutex_);
}

bool SoundEngine::SetListenerPosition(const Vector3& position)
{
    if (!SoundAL::Framed([&] { alListener3f(AL_POSITION, position.x, position.y, position.z); }))
    {
        return false;
    }
    listenerPosition_ = position;
    return true;
}

bool SoundEngine::SetMasterVolume(float gain)
{
    if (!SoundAL::Framed([&] { alListenerf(AL_GAIN, gain); }))
    {
        return false;
    }
    masterGain_ = gain;
    return true;
}

bool SoundEngine::SetDistanceModel(std::uint32_t index)
{
    if (index < DistanceModelCount && !SoundAL::Framed([&] { alDistanceModel(DistanceModels[index]); }))
    {
        return false;
    }
    distanceModel_ = index;
    return true;
}

SoundEngine::Source* SoundEngine::CreateSource(SoundData* data, std::uint8_t relative, std::uint8_t looping)
{
    if (data == nullptr || !threads_.LockMutex(listMutex_))
    {
        return nullptr;
    }
    Source* source = &sources_.emplace_back();
    if (!source->Create(relative, looping) || !source->Attach(data))
    {
        source->Destroy();
        sources_.pop_back();
        source = nullptr;
    }
    threads_.UnlockMutex(listMutex_);
    return source;
}

bool SoundEngine::ReleaseSource(Source* source)
{
    if (source == nullptr || !threads_.LockMutex(listMutex_))
    {
        return false;
    }
    bool found = false;
    for (auto it = sources_.begin(); it != sources_.end(); ++it)
    {
        if (&*it == source)
        {
            EraseSource(it);
            found = true;
            break;
        }
    }
    threads_.UnlockMutex(listMutex_);
    return found;
}

void SoundEngine::EraseSource(std::list<Source>::iterator it)
{
    StopLocked(&*it);
    it->Destroy();
    if (&*it == initialSource_)
    {
        initialSource_ = nullptr;
    }
    sources_.erase(it);
}

bool SoundEngine::Play(Source* source)
{
    if (source == nullptr || !threads_.LockMutex(listMutex_))
    {
        return false;
    }
    bool started = false;
    ALint state = 0;
    const bool playing = SoundAL::GetState(source->name_, state) && state == AL_PLAYING;
    if (!playing && SoundAL::Framed([&] { alSourcePlay(source->name_); }))
    {
        source->playing_ = 1;
        started = true;
    }
    threads_.UnlockMutex(listMutex_);
    return started;
}

bool SoundEngine::StopLocked(Source* source)
{
    return source->StopAndRestart();
}

bool SoundEngine::Stop(Source* source)
{
    if (source == nullptr || !threads_.LockMutex(listMutex_))
    {
        return false;
    }
    const bool stopped = StopLocked(source);
    threads_.UnlockMutex(listMutex_);
    return stopped;
}

bool SoundEngine::Pause(Source* source)
{
    return source != nullptr && SoundAL::Framed([&] { alSourcePause(source->name_); });
}

bool SoundEngine::Rewind(Source* source)
{
    if (source == nullptr || !threads_.LockMutex(listMutex_))
    {
        return false;
    }
    const bool rewound = source->Restart();
    threads_.UnlockMutex(listMutex_);
    return rewound;
}

bool SoundEngine::IsPlaying(const Source* source) const
{
    return source != nullptr && SoundAL::IsPlaying(source->name_);
}

bool SoundEngine::HasSource(const Source* source, std::uint32_t id) const
{
    // Only the main thread adds or removes records, and owners ask from it.
    if (source == nullptr || id == 0)
    {
        return false;
    }
    for (const Source& listed : sources_)
    {
        if (&listed == source)
        {
            return listed.id_ == id;
        }
    }
    return false;
}

bool SoundEngine::HasSoundData(const SoundData* data) const
{
    return data != nullptr &&
           std::any_of(soundData_.begin(), soundData_.end(),
                       [data](const std::unique_ptr<SoundData>& owned) { return owned.get() == data; });
}

bool SoundEngine::IsMarkedPlaying(const Source* source) const
{
    return source != nullptr && source->playing_ != 0;
}

void SoundEngine::StopAll()
{
    if (!threads_.LockMutex(listMutex_))
    {
        return;
    }
    for (Source& source : sources_)
    {
        StopLocked(&source);
    }
    while (!sources_.empty())
    {
        EraseSource(sources_.begin());
    }
    initialSource_ = nullptr;
    threads_.UnlockMutex(listMutex_);
    ReleaseAllSoundData();
}

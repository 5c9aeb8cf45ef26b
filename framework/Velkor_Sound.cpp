#include "framework/Velkor_Sound.h"

#include "core/Core_File.h"

#include "audio/Sound_Data.h"
#include "audio/Sound_Source.h"
#include "core/Core_String.h"
#include "framework/Velkor_Camera.h"
#include "framework/Velkor_Game.h"
#include "framework/Velkor_Layer.h"

namespace Velkor
{

CORE_DEFINE_OBJECT_BASICS(Sound, "Velkor::Sound", Sound::ScriptTypeName, "Velkor_Sound", __LINE__)
static const Core::ClassRegistrar g_soundRegistrar("Velkor::Sound", &Sound::Create);

Sound::Sound() = default;

Sound::Sound(const std::string& fileName, std::uint32_t mode, float intensity, std::uint8_t looping,
             float split, std::uint8_t forceStatic)
{
    Init(fileName, mode, intensity, looping, split, forceStatic);
}

Sound::Sound(const Sound& other)
    : GameObject(other), data_(other.data_), fileName_(other.fileName_), looping_(other.looping_),
      split_(other.split_), mode_(other.mode_), volume_(other.volume_), pitch_(other.pitch_),
      intensity_(other.intensity_), forceStatic_(other.forceStatic_)
{
}

Sound::~Sound()
{
    source_.Release();
}

// A new object of the same file through Init: a small file shares the cached
// data, a large one gets a stream of its own.
Core::Object* Sound::Clone() const
{
    auto* copy = new ("Velkor_Sound", __LINE__) Sound();
    copy->Init(fileName_, mode_, intensity_, looping_, split_, forceStatic_);
    copy->SetVolume(volume_);
    copy->SetPitch(pitch_);
    copy->SetName(GetName());
    copy->SetPosition(GetPosition());
    return copy;
}

void Sound::Init(const std::string& fileName, std::uint32_t mode, float intensity, std::uint8_t looping,
                 float split, std::uint8_t forceStatic)
{
    forceStatic_ = forceStatic;
    SoundEngine::SoundData* data = nullptr;
    if (SoundEngine* engine = GameSound())
    {
        data = engine->FindCachedSound(fileName, split);
        if (data == nullptr)
        {
            data = split == 0.0f && forceStatic == 0 ? engine->LoadSound(fileName, StreamThreshold)
                                                     : engine->CreateStatic(fileName, split);
        }
    }
    data_ = data;
    fileName_ = data != nullptr ? data->GetFileName() : std::string();
    split_ = split;
    intensity_ = intensity;
    looping_ = looping;
    mode_ = mode;
    volume_ = 1.0f;
    pitch_ = 1.0f;
    // Init runs on new objects: a source held before is not this data's.
    source_.Forget();
}

SoundEngine::SoundData* Sound::LiveData() const
{
    // A record freed by the engine may be followed by another at its address.
    SoundEngine::SoundData* data = LiveSoundData(data_);
    return data != nullptr && data->GetFileName() == fileName_ ? data : nullptr;
}

bool Sound::Play(bool restart)
{
    ++playCount_;
    SoundEngine* engine = GameSound();
    if (engine == nullptr)
    {
        return false;
    }
    SoundEngine::Source* source = source_.Get();
    if (source == nullptr)
    {
        SoundEngine::SoundData* data = LiveData();
        source = data != nullptr ? engine->CreateSource(data, mode_ == 0 ? 1 : 0, looping_) : nullptr;
        source_.Set(source);
    }
    else if (restart)
    {
        engine->Stop(source);
    }
    if (source == nullptr)
    {
        return false;
    }
    if (volume_ >= 0.0f)
    {
        source->SetGain(volume_);
    }
    if (pitch_ > 0.0f)
    {
        source->SetPitch(pitch_);
    }
    source->SetLooping(looping_);
    return engine->Play(source);
}

void Sound::Stop()
{
    if (SoundEngine::Source* source = source_.Get())
    {
        GameSound()->Stop(source);
    }
}

void Sound::Pause()
{
    if (SoundEngine::Source* source = source_.Get())
    {
        GameSound()->Pause(source);
    }
}

void Sound::Rewind()
{
    if (SoundEngine::Source* source = source_.Get())
    {
        GameSound()->Rewind(source);
    }
}

bool Sound::IsPlaying()
{
    SoundEngine::Source* source = source_.Get();
    return source != nullptr && GameSound()->IsPlaying(source);
}

void Sound::SetVolume(float volume)
{
    // NaN fails the test as a negative value does.
    if (!(volume >= 0.0f))
    {
        return;
    }
    volume_ = volume;
    if (SoundEngine::Source* source = source_.Get())
    {
        source->SetGain(volume);
    }
}

float Sound::GetVolume()
{
    SoundEngine::Source* source = source_.Get();
    return source != nullptr ? source->GetGain() : volume_;
}

void Sound::SetPitch(float pitch)
{
    if (!(pitch > 0.0f))
    {
        return;
    }
    pitch_ = pitch;
    if (SoundEngine::Source* source = source_.Get())
    {
        source->SetPitch(pitch);
    }
}

float Sound::GetPitch()
{
    SoundEngine::Source* source = source_.Get();
    return source != nullptr ? source->GetPitch() : pitch_;
}

void Sound::SetLooping(std::uint8_t looping)
{
    looping_ = looping;
    if (SoundEngine::Source* source = source_.Get())
    {
        source->SetLooping(looping);
    }
}

// A destroyed or detached sound gives its source back at once: it would
// otherwise hold an OpenAL source (a few hundred exist) until the level ends.
void Sound::Destroy()
{
    GameObject::Destroy();
    source_.Release();
}

void Sound::Detach()
{
    GameObject::Detach();
    source_.Release();
}

void Sound::UpdateEngineSide(float dt)
{
    // The game object's step runs Update (once, and not on a network client).
    GameObject::UpdateEngineSide(dt);
    SoundEngine::Source* source = source_.Get();
    if (source == nullptr)
    {
        return;
    }
    source->SetReferenceDistance(intensity_);
    if (mode_ == 1 || mode_ == 2)
    {
        // A listener camera or an object in no layer sits at depth 0.
        const Layer* layer = nullptr;
        if (mode_ == 1)
        {
            const Camera* listener = Camera::GetActiveListener();
            layer = listener != nullptr ? listener->GetLayer() : nullptr;
        }
        else
        {
            layer = GetLayer();
        }
        source->SetPosition({GetPositionX(), GetPositionY(), layer != nullptr ? layer->GetZOrder() : 0.0f});
    }
    if (!GameSound()->IsMarkedPlaying(source))
    {
        source_.Release();
    }
}

void Sound::Update(float dt)
{
    GameObject::Update(dt);
}

void Sound::Write(Core::File& file) const
{
    GameObject::Write(file);
    // The getters ask the source, which the write does not change.
    auto& self = const_cast<Sound&>(*this);
    const std::size_t slash = fileName_.find_last_of("\\/");
    file << (slash == std::string::npos ? fileName_ : fileName_.substr(slash + 1));
    file << mode_ << split_ << forceStatic_ << self.GetVolume() << self.GetPitch() << intensity_ << looping_;
    file << static_cast<std::uint8_t>(self.IsPlaying() ? 1 : 0);
}

void Sound::Read(Core::File& file)
{
    GameObject::Read(file);
    std::string name;
    std::uint32_t mode = 0;
    float split = 0.0f;
    std::uint8_t forceStatic = 0;
    float volume = 1.0f;
    float pitch = 1.0f;
    float intensity = 0.0f;
    std::uint8_t looping = 0;
    bool playing = false;
    file >> name >> mode >> split >> forceStatic >> volume >> pitch >> intensity >> looping >> playing;
    if (file.Failed())
    {
        return;
    }
    const Game* game = Game::GetInstance();
    const std::string directory = game != nullptr ? game->GetDirectory() : std::string();
    Init(name.empty() ? std::string() : directory + "\\Resources\\Sounds\\" + name, mode, intensity, looping,
         split, forceStatic);
    SetVolume(volume);
    SetPitch(pitch);
    if (playing)
    {
        Play(false);
    }
}

void Sound::NetworkSyncSend(Core::File& file)
{
    GameObject::NetworkSyncSend(file);
    file << GetVolume() << GetPitch() << intensity_ << looping_;
    file << static_cast<std::uint8_t>(IsPlaying() ? 1 : 0);
}

void Sound::NetworkSyncReceive(Core::File& file)
{
    // The base's fields and the sound's are applied together or not at all.
    SyncRecord record;
    const bool baseRead = ReadSyncRecord(file, record);
    float volume = 1.0f;
    float pitch = 1.0f;
    float intensity = 0.0f;
    std::uint8_t looping = 0;
    bool playing = false;
    file >> volume >> pitch >> intensity >> looping >> playing;
    if (!baseRead || file.Failed())
    {
        return;
    }
    ApplySyncRecord(record);
    SetLooping(looping);
    intensity_ = intensity;
    SetVolume(volume);
    SetPitch(pitch);
    if (playing && !IsPlaying())
    {
        Play(true);
    }
    else if (!playing)
    {
        Stop();
    }
}

} // namespace Velkor

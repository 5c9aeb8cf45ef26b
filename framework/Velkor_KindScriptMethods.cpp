// The script method tables of the text, camera and sound objects: the game
// object's entries without "ChangeNetworkOwner" and the contact record
// tables, the network data pair, the kind's own entries and "Clone".
// Conventions: Velkor_ScriptSupport.h.
#include "framework/Velkor_Camera.h"
#include "framework/Velkor_GameObjectScriptMethods.h"
#include "framework/Velkor_ScriptSupport.h"
#include "framework/Velkor_Sound.h"
#include "framework/Velkor_Text.h"

namespace
{

using namespace Velkor;
using namespace Velkor::ScriptSupport;
using GameObjectScript::kCloneMethod;
using GameObjectScript::kKindMethodsWithoutRecords;
using GameObjectScript::kNetworkDataMethods;

// --- Text ---------------------------------------------------------------------------

constexpr auto kTextMethods = Script::MakeMethods<113>(
    kKindMethodsWithoutRecords, kNetworkDataMethods, Method<&TextSetter<Text, &Text::SetText>>("SetText"),
    Method<&TextGetter<Text, &Text::GetText>>("GetText"),
    Method<&FlagSetter<Text, &Text::SetHUDObject>>("SetHUDObject"),
    Method<&FlagGetter<Text, &Text::IsHUDObject>>("IsHUDObject"), kCloneMethod);
const Script::MethodTableRegistrar g_textTable(Text::ScriptTypeName, kTextMethods);

// --- Camera -------------------------------------------------------------------------

int CameraUpdateFromKeyboard(Camera& camera, lua_State*)
{
    camera.UpdateFromKeyboard();
    return 0;
}

int CameraMakeActiveListener(Camera& camera, lua_State*)
{
    camera.MakeActiveListener();
    return 0;
}

constexpr auto kCameraMethods = Script::MakeMethods<114>(
    kKindMethodsWithoutRecords, kNetworkDataMethods, Method<&NumberSetter<Camera, &Camera::SetFOV>>("SetFOV"),
    Method<&NumberGetter<Camera, &Camera::GetFOV>>("GetFOV"),
    Method<&CameraUpdateFromKeyboard>("UpdateFromKeyboard"),
    Method<&CameraMakeActiveListener>("MakeActiveListener"),
    Method<&FlagGetter<Camera, &Camera::IsActiveListener>>("IsActiveListener"), kCloneMethod);
const Script::MethodTableRegistrar g_cameraTable(Camera::ScriptTypeName, kCameraMethods);

// --- Sound --------------------------------------------------------------------------

int SoundPlay(Sound& sound, lua_State* state)
{
    sound.Play(Needs(state, 1) && ToFlag(state, 1));
    return 0;
}

template <void (Sound::*Act)()> int SoundAction(Sound& sound, lua_State*)
{
    (sound.*Act)();
    return 0;
}

int SoundIsPlaying(Sound& sound, lua_State* state)
{
    return PushBoolean(state, sound.IsPlaying());
}

int SoundGetVolume(Sound& sound, lua_State* state)
{
    return PushNumber(state, sound.GetVolume());
}

int SoundGetPitch(Sound& sound, lua_State* state)
{
    return PushNumber(state, sound.GetPitch());
}

int SoundSetLooping(Sound& sound, lua_State* state)
{
    if (Needs(state, 1))
    {
        sound.SetLooping(ToFlag(state, 1) ? 1 : 0);
    }
    return 0;
}

int SoundGetLooping(Sound& sound, lua_State* state)
{
    return PushBoolean(state, sound.GetLooping() != 0);
}

constexpr auto kSoundMethods = Script::MakeMethods<123>(
    kKindMethodsWithoutRecords, kNetworkDataMethods,
    Method<&TextGetter<Sound, &Sound::GetFileName>>("GetFileName"), Method<&SoundPlay>("Play"),
    Method<&SoundAction<&Sound::Stop>>("Stop"), Method<&SoundAction<&Sound::Pause>>("Pause"),
    Method<&SoundAction<&Sound::Rewind>>("Rewind"), Method<&SoundIsPlaying>("IsPlaying"),
    Method<&NumberSetter<Sound, &Sound::SetVolume>>("SetVolume"), Method<&SoundGetVolume>("GetVolume"),
    Method<&NumberSetter<Sound, &Sound::SetPitch>>("SetPitch"), Method<&SoundGetPitch>("GetPitch"),
    Method<&NumberSetter<Sound, &Sound::SetIntensity>>("SetIntensity"),
    Method<&NumberGetter<Sound, &Sound::GetIntensity>>("GetIntensity"),
    Method<&SoundSetLooping>("SetLooping"), Method<&SoundGetLooping>("GetLooping"), kCloneMethod);
const Script::MethodTableRegistrar g_soundTable(Sound::ScriptTypeName, kSoundMethods);

} // namespace

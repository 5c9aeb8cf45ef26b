// The "JukeBox" script method table. Conventions: Velkor_ScriptSupport.h.
#include "framework/Velkor_Jukebox.h"
#include "framework/Velkor_ScriptSupport.h"

namespace
{

using namespace Velkor;
using namespace Velkor::ScriptSupport;

int PlayMusic(JukeBox& jukeBox, lua_State* state)
{
    jukeBox.PlayMusic(Needs(state, 1) ? ToInt32(state, 1) : -1);
    return 0;
}

int SetCurrentPlaylist(JukeBox& jukeBox, lua_State* state)
{
    std::string name;
    if (!Needs(state, 1) || !ToText(state, 1, name))
    {
        return 0;
    }
    return PushBoolean(state, jukeBox.SetCurrentPlaylist(name));
}

template <void (JukeBox::*Act)()> int Action(JukeBox& jukeBox, lua_State*)
{
    (jukeBox.*Act)();
    return 0;
}

int IsPlaying(JukeBox& jukeBox, lua_State* state)
{
    return PushBoolean(state, jukeBox.IsPlaying());
}

int SetMusicVolume(JukeBox& jukeBox, lua_State* state)
{
    if (Needs(state, 1))
    {
        jukeBox.SetMusicVolume(ToFloat(state, 1), Needs(state, 2) ? ToFloat(state, 2) : 0.0f);
    }
    return 0;
}

int GetMusicVolume(JukeBox& jukeBox, lua_State* state)
{
    return PushNumber(state, jukeBox.GetMusicVolume());
}

constexpr auto kJukeBoxMethods = Script::MakeMethods<17>(
    Method<&PlayMusic>("PlayMusic"), Method<&SetCurrentPlaylist>("SetCurrentPlaylist"),
    Method<&Action<&JukeBox::StopMusic>>("StopMusic"), Method<&Action<&JukeBox::PauseMusic>>("PauseMusic"),
    Method<&Action<&JukeBox::RewindMusic>>("RewindMusic"), Method<&IsPlaying>("IsPlaying"),
    Method<&SetMusicVolume>("SetMusicVolume"), Method<&GetMusicVolume>("GetMusicVolume"),
    Method<&FlagSetter<JukeBox, &JukeBox::SetRepeat>>("SetRepeat"),
    Method<&FlagGetter<JukeBox, &JukeBox::GetRepeat>>("GetRepeat"),
    Method<&FlagSetter<JukeBox, &JukeBox::SetShuffle>>("SetShuffle"),
    Method<&FlagGetter<JukeBox, &JukeBox::GetShuffle>>("GetShuffle"),
    Method<&NumberSetter<JukeBox, &JukeBox::SetFadeTime>>("SetFadeTime"),
    Method<&NumberGetter<JukeBox, &JukeBox::GetFadeTime>>("GetFadeTime"),
    Method<&IntegerGetter<JukeBox, &JukeBox::GetCurrentTrack>>("GetCurrentTrack"),
    Method<&Action<&JukeBox::NextTrack>>("NextTrack"),
    Method<&Action<&JukeBox::PreviousTrack>>("PreviousTrack"));
const Script::MethodTableRegistrar g_jukeBoxTable(JukeBox::ScriptTypeName, kJukeBoxMethods);

} // namespace

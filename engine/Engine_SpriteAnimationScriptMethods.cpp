// The "SpriteAnimation" script method table over Engine::SpriteAnimation.
//
// Arguments start at stack index 1 and are read by position. A method that
// needs an argument and gets none does nothing and pushes nothing. Frame
// numbers are script numbers truncated towards zero, read without raising
// script errors (a value that is no number reads as 0); a frame that does
// not exist reads as a delay of 0, and loop frames are clamped to the
// frames by the animation itself.
#include "engine/Engine_SpriteAnimation.h"
#include "script/Script_Lua.h"
#include "script/Script_MethodTable.h"

namespace
{

using Engine::SpriteAnimation;
using Script::Method;

bool Needs(lua_State* state, int count)
{
    return lua_gettop(state) >= count;
}

std::int32_t FrameArgument(lua_State* state)
{
    return Script::ToInt32(lua_tonumber(state, 1));
}

// The table lists "SetName" twice, for a name given as a string and as a
// number; the glue keeps the later record of a name, so both records are
// this one method, which takes either (a number as the script writes it)
// and ignores any other value.
int SetName(SpriteAnimation& animation, lua_State* state)
{
    if (Needs(state, 1) && lua_isstring(state, 1) != 0)
    {
        std::size_t length = 0;
        const char* name = lua_tolstring(state, 1, &length);
        animation.SetName(std::string(name, length));
    }
    return 0;
}

int GetName(SpriteAnimation& animation, lua_State* state)
{
    const std::string& name = animation.GetName();
    lua_pushlstring(state, name.data(), name.size());
    return 1;
}

template <std::int32_t (SpriteAnimation::*Read)() const>
int GetInteger(SpriteAnimation& animation, lua_State* state)
{
    lua_pushinteger(state, (animation.*Read)());
    return 1;
}

int GetFramesCount(SpriteAnimation& animation, lua_State* state)
{
    lua_pushnumber(state, static_cast<lua_Number>(animation.GetFramesCount()));
    return 1;
}

int GetFrameDelay(SpriteAnimation& animation, lua_State* state)
{
    if (!Needs(state, 1))
    {
        return 0;
    }
    const std::int32_t frame = FrameArgument(state);
    const float delay = frame >= 0 ? animation.GetFrame(static_cast<std::uint32_t>(frame)).delay : 0.0f;
    lua_pushnumber(state, static_cast<lua_Number>(delay));
    return 1;
}

template <void (SpriteAnimation::*Write)(std::int32_t)>
int SetFrame(SpriteAnimation& animation, lua_State* state)
{
    if (Needs(state, 1))
    {
        (animation.*Write)(FrameArgument(state));
    }
    return 0;
}

constexpr auto kSpriteAnimationMethods = Script::MakeMethods<11>(
    Method<&SetName>("SetName"), Method<&SetName>("SetName"), Method<&GetName>("GetName"),
    Method<&GetInteger<&SpriteAnimation::GetFrameWidth>>("GetFrameWidth"),
    Method<&GetInteger<&SpriteAnimation::GetFrameHeight>>("GetFrameHeight"),
    Method<&GetFramesCount>("GetFramesCount"), Method<&GetFrameDelay>("GetFrameDelay"),
    Method<&SetFrame<&SpriteAnimation::SetLoopStartingFrame>>("SetLoopStartingFrame"),
    Method<&GetInteger<&SpriteAnimation::GetLoopStartingFrame>>("GetLoopStartingFrame"),
    Method<&SetFrame<&SpriteAnimation::SetLoopEndingFrame>>("SetLoopEndingFrame"),
    Method<&GetInteger<&SpriteAnimation::GetLoopEndingFrame>>("GetLoopEndingFrame"));
const Script::MethodTableRegistrar g_spriteAnimationTable(SpriteAnimation::ScriptTypeName,
                                                          kSpriteAnimationMethods);

} // namespace

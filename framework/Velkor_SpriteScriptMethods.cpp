// The "Sprite" script method table: the game object's entries without
// "ChangeNetworkOwner", the network data pair and the sprite's own, "Clone"
// last. Conventions: Velkor_ScriptSupport.h; an animation or frame argument
// out of range is the sprite's own to refuse.
#include "engine/Engine_Sprite.h"
#include "framework/Velkor_GameObjectScriptMethods.h"
#include "framework/Velkor_ScriptSupport.h"
#include "framework/Velkor_Sprite.h"

namespace
{

using namespace Velkor;
using namespace Velkor::ScriptSupport;
using GameObjectScript::kCloneMethod;
using GameObjectScript::kKindMethods;
using GameObjectScript::kNetworkDataMethods;

// A flag argument that may be missing (false).
bool OptionalFlag(lua_State* state, int index)
{
    return Needs(state, index) && ToFlag(state, index);
}

template <void (Sprite::*Set)(bool)> int OptionalFlagSetter(Sprite& sprite, lua_State* state)
{
    (sprite.*Set)(OptionalFlag(state, 1));
    return 0;
}

int GetCurrentFrameDelay(Sprite& sprite, lua_State* state)
{
    const auto& engine = sprite.GetEngineSprite();
    return PushNumber(state, engine ? engine->GetCurrentFrame().delay : 0.0f);
}

int GetFrameDelay(Sprite& sprite, lua_State* state)
{
    return Needs(state, 2) ? PushNumber(state, sprite.GetFrameDelay(ToUInt32(state, 1), ToUInt32(state, 2)))
                           : 0;
}

int GetFramesCount(Sprite& sprite, lua_State* state)
{
    return Needs(state, 1) ? PushUnsigned(state, sprite.GetFramesCount(ToUInt32(state, 1))) : 0;
}

int GetFrameWidth(Sprite& sprite, lua_State* state)
{
    return Needs(state, 1) ? PushInteger(state, sprite.GetFrameWidth(ToUInt32(state, 1))) : 0;
}

int GetFrameHeight(Sprite& sprite, lua_State* state)
{
    return Needs(state, 1) ? PushInteger(state, sprite.GetFrameHeight(ToUInt32(state, 1))) : 0;
}

int SetCurrentFrameIndex(Sprite& sprite, lua_State* state)
{
    if (Needs(state, 1))
    {
        sprite.SetCurrentFrameIndex(ToUInt32(state, 1), OptionalFlag(state, 2));
    }
    return 0;
}

int IsEndOfAnimation(Sprite& sprite, lua_State* state)
{
    const auto& engine = sprite.GetEngineSprite();
    return PushBoolean(state, engine && engine->IsEndOfAnimation());
}

template <void (Engine::Sprite::*Go)(bool)> int GoToFrame(Sprite& sprite, lua_State* state)
{
    if (const auto& engine = sprite.GetEngineSprite())
    {
        (engine.Get()->*Go)(OptionalFlag(state, 1));
    }
    return 0;
}

int Play(Sprite& sprite, lua_State* state)
{
    sprite.Play(!Needs(state, 1) || ToFlag(state, 1));
    return 0;
}

int Stop(Sprite& sprite, lua_State*)
{
    sprite.Play(false);
    return 0;
}

int Pause(Sprite& sprite, lua_State*)
{
    sprite.Pause();
    return 0;
}

int SetCurrentAnimationIndex(Sprite& sprite, lua_State* state)
{
    if (Needs(state, 1))
    {
        sprite.SetCurrentAnimationIndex(ToUInt32(state, 1), OptionalFlag(state, 2));
    }
    return 0;
}

int SetCurrentAnimationName(Sprite& sprite, lua_State* state)
{
    std::string name;
    if (Needs(state, 1) && ToText(state, 1, name))
    {
        sprite.SetCurrentAnimationName(name, OptionalFlag(state, 2));
    }
    return 0;
}

int GetCurrentAnimationName(Sprite& sprite, lua_State* state)
{
    const auto& engine = sprite.GetEngineSprite();
    return PushText(state, engine ? engine->GetCurrentAnimationName() : std::string());
}

int IsInViewport(Sprite& sprite, lua_State* state)
{
    bool given = false;
    const Viewport* viewport = Needs(state, 1) ? ViewportArgument(state, 1, given) : nullptr;
    return given ? PushBoolean(state, viewport != nullptr && sprite.IsInViewport(viewport)) : 0;
}

int SetCollisionActorIndex(Sprite& sprite, lua_State* state)
{
    if (Needs(state, 1))
    {
        sprite.SetCollisionActorIndex(ToInt32(state, 1));
    }
    return 0;
}

constexpr auto kSpriteMethods = Script::MakeMethods<153>(
    kKindMethods, kNetworkDataMethods,
    Method<&OptionalFlagSetter<&Sprite::SetFlipHorizontal>>("SetFlipHorizontal"),
    Method<&OptionalFlagSetter<&Sprite::SetFlipVertical>>("SetFlipVertical"),
    Method<&FlagGetter<Sprite, &Sprite::GetFlipHorizontal>>("GetFlipHorizontal"),
    Method<&FlagGetter<Sprite, &Sprite::GetFlipVertical>>("GetFlipVertical"),
    Method<&GetCurrentFrameDelay>("GetCurrentFrameDelay"), Method<&GetFrameDelay>("GetFrameDelay"),
    Method<&GetFramesCount>("GetFramesCount"), Method<&GetFrameWidth>("GetFrameWidth"),
    Method<&GetFrameHeight>("GetFrameHeight"), Method<&SetCurrentFrameIndex>("SetCurrentFrameIndex"),
    Method<&UnsignedGetter<Sprite, &Sprite::GetCurrentFrameIndex>>("GetCurrentFrameIndex"),
    Method<&IsEndOfAnimation>("IsEndOfAnimation"), Method<&FlagSetter<Sprite, &Sprite::SetLoop>>("SetLoop"),
    Method<&FlagGetter<Sprite, &Sprite::GetLoop>>("GetLoop"),
    Method<&GoToFrame<&Engine::Sprite::GoToFirstFrame>>("GoToFirstFrame"),
    Method<&GoToFrame<&Engine::Sprite::GoToLastFrame>>("GoToLastFrame"),
    Method<&NumberSetter<Sprite, &Sprite::SetAnimationSpeed>>("SetAnimationSpeed"),
    Method<&NumberGetter<Sprite, &Sprite::GetAnimationSpeed>>("GetAnimationSpeed"), Method<&Play>("Play"),
    Method<&Stop>("Stop"), Method<&Pause>("Pause"),
    Method<&FlagGetter<Sprite, &Sprite::IsPlaying>>("IsPlaying"),
    Method<&FlagGetter<Sprite, &Sprite::IsPaused>>("IsPaused"),
    Method<&UnsignedGetter<Sprite, &Sprite::GetAnimationsCount>>("GetAnimationsCount"),
    Method<&SetCurrentAnimationIndex>("SetCurrentAnimationIndex"),
    Method<&UnsignedGetter<Sprite, &Sprite::GetCurrentAnimationIndex>>("GetCurrentAnimationIndex"),
    Method<&SetCurrentAnimationName>("SetCurrentAnimationName"),
    Method<&GetCurrentAnimationName>("GetCurrentAnimationName"), Method<&IsInViewport>("IsInViewport"),
    Method<&FlagSetter<Sprite, &Sprite::SetHUDObject>>("SetHUDObject"),
    Method<&FlagGetter<Sprite, &Sprite::IsHUDObject>>("IsHUDObject"),
    Method<&SetCollisionActorIndex>("SetCollisionActorIndex"),
    Method<&FlagSetter<Sprite, &Sprite::SetVisibleCollisionData>>("SetVisibleCollisionData"),
    Method<&FlagGetter<Sprite, &Sprite::GetVisibleCollisionData>>("GetVisibleCollisionData"),
    Method<&ColorSetter<Sprite, &Sprite::SetCollisionDataColor>>("SetCollisionDataColor"),
    Method<&ColorGetter<Sprite, &Sprite::GetCollisionDataColor>>("GetCollisionDataColor"),
    Method<&FlagSetter<Sprite, &Sprite::SetVisibleBoundingRectangle>>("SetVisibleBoundingRectangle"),
    Method<&FlagGetter<Sprite, &Sprite::GetVisibleBoundingRectangle>>("GetVisibleBoundingRectangle"),
    Method<&ColorSetter<Sprite, &Sprite::SetBoundingRectangleColor>>("SetBoundingRectangleColor"),
    Method<&ColorGetter<Sprite, &Sprite::GetBoundingRectangleColor>>("GetBoundingRectangleColor"),
    kCloneMethod);
const Script::MethodTableRegistrar g_spriteTable(Sprite::ScriptTypeName, kSpriteMethods);

} // namespace

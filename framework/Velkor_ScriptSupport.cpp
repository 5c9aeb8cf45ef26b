#include "framework/Velkor_ScriptSupport.h"

#include "framework/Velkor_Game.h"
#include "framework/Velkor_Viewport.h"

#include <cstring>

namespace Velkor::ScriptSupport
{

bool IsFrameworkObjectType(const char* typeName)
{
    static constexpr const char* Types[] = {"GameObject",
                                            "Text",
                                            "Sprite",
                                            "Camera",
                                            "ParticleSystem",
                                            "Sound",
                                            "Level",
                                            "Layer",
                                            "Viewport",
                                            "JukeBox",
                                            "ParticleEmitter",
                                            "PointEmitter",
                                            "LineEmitter",
                                            "CircleEmitter",
                                            "DiskEmitter",
                                            "RectangleEmitter",
                                            "FilledRectangleEmitter",
                                            "ZibPlayer",
                                            "ZibGroup"};
    for (const char* type : Types)
    {
        if (std::strcmp(type, typeName) == 0)
        {
            return true;
        }
    }
    return false;
}

const Viewport* ViewportArgument(lua_State* state, int index, bool& given)
{
    given = true;
    if (IsNumber(state, index))
    {
        const Game* game = Game::GetInstance();
        const Level* level = game != nullptr ? game->GetCurrentLevel() : nullptr;
        return level != nullptr ? level->GetViewport(ToUInt32(state, index)) : nullptr;
    }
    if (auto* viewport = Script::ToObject<Viewport>(state, index, Viewport::ScriptTypeName))
    {
        return viewport;
    }
    given = false;
    return nullptr;
}

void PushHeld(lua_State* state, Core::Object* object)
{
    // The object's own push names its script type.
    object->PushToScript(state);
    const char* typeName = Script::GetTypeName(state, -1);
    lua_pop(state, 1);
    object->AddReference();
    Script::PushOwnedObject(state, object, typeName,
                            [](void* held) { static_cast<Core::Object*>(held)->ReleaseReference(); });
}

} // namespace Velkor::ScriptSupport

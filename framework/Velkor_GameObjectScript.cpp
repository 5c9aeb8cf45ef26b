// The game object's script: loading, hooks and the script side of a copy.
#include "framework/Velkor_GameObject.h"

#include "script/Script_LuaScript.h"

namespace Velkor
{

void GameObject::LoadScript(bool skipConstructor)
{
    script_.Load(*this, skipConstructor);
}

void GameObject::RunScriptHook(const char* name)
{
    const bool needsFlag = std::string_view(name) != "Destroy";
    if (script_.IsRunning() && (!needsFlag || script_.IsEnabled()))
    {
        script_.Call(name);
    }
}

void GameObject::RunScriptHook(const char* name, float value)
{
    if (script_.IsRunning() && script_.IsEnabled())
    {
        script_.Call(name, value);
    }
}

void GameObject::CopyScript(const GameObject& other)
{
    script_.CopySettings(other.script_);
    if (!other.script_.IsEnabled() || other.script_.GetScript() == nullptr || !script_.CreateScript())
    {
        return;
    }
    script_.SetCloned(true);
    // The copy starts with managed objects of its own: clones of the
    // source's, known to its script by the same names.
    for (std::size_t i = 0; i < other.managedObjects_.size(); ++i)
    {
        const std::string& name = other.managedObjectNames_[i];
        GameObject* source = other.managedObjects_[i].Get();
        auto* clone = source != nullptr ? dynamic_cast<GameObject*>(source->Clone()) : nullptr;
        managedObjectNames_.push_back(name);
        managedObjects_.emplace_back(clone);
        script_.SetGlobal(name.c_str(), clone);
    }
}

void GameObject::FinishScriptClone(GameObject& source)
{
    if (script_.GetScript() == nullptr)
    {
        return;
    }
    script_.SetGlobal("self", this);
    script_.LoadFromSource();
    if (script_.IsRunning())
    {
        script_.Call("OnClone", &source);
    }
}

} // namespace Velkor

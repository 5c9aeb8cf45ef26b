#include "framework/Velkor_ScriptAttachment.h"

#include "core/Core_Object.h"
#include "pal/PAL_FileSystem.h"
#include "script/Script_Lua.h"
#include "script/Script_LuaScript.h"
#include "script/Script_Report.h"

#include <algorithm>
#include <iterator>
#include <string_view>

namespace Velkor
{

namespace
{

// A script that is still in the list; a source may have gone since it was
// taken.
bool IsLive(const LuaScript* script)
{
    const std::vector<LuaScript*>& scripts = LuaScript::GetScripts();
    return script != nullptr && std::find(scripts.begin(), scripts.end(), script) != scripts.end();
}

} // namespace

ScriptAttachment::~ScriptAttachment()
{
    Release();
}

std::string ScriptAttachment::GetPath() const
{
    return PAL::GetExecutableDirectory() + Folder + file_;
}

bool ScriptAttachment::IsRunning() const
{
    return script_ != nullptr && !script_->IsNotLoaded();
}

void ScriptAttachment::Load(Core::Object& self, bool skipConstructor)
{
    if (!CreateScript())
    {
        return;
    }
    const std::string path = GetPath();
    const LuaScript* compiled = LuaScript::Find(path);
    source_ = compiled != script_ ? compiled : nullptr;
    SetGlobal("self", &self);
    if (IsLive(source_) && !source_->GetBytecode().empty())
    {
        script_->LoadChunkFrom(source_);
    }
    else
    {
        script_->Load(path);
    }
    loaded_ = true;
    if (!skipConstructor)
    {
        Call("Constructor");
    }
}

void ScriptAttachment::CopySettings(const ScriptAttachment& source)
{
    file_ = source.file_;
    enabled_ = source.enabled_;
    loaded_ = source.loaded_;
    cloned_ = false;
    source_ = source.script_;
}

bool ScriptAttachment::CreateScript()
{
    if (script_ == nullptr)
    {
        script_ = LuaScript::Create();
    }
    return script_ != nullptr;
}

void ScriptAttachment::LoadFromSource()
{
    if (script_ != nullptr && IsLive(source_))
    {
        script_->LoadChunkFrom(source_);
    }
}

bool ScriptAttachment::PushFunction(const char* name) const
{
    if (!IsRunning())
    {
        return false;
    }
    lua_State* thread = script_->GetThread();
    if (lua_checkstack(thread, 4) == 0)
    {
        return false;
    }
    lua_getglobal(thread, name);
    if (!lua_isfunction(thread, -1))
    {
        lua_pop(thread, 1);
        return false;
    }
    return true;
}

bool CallProtected(lua_State* thread, int arguments, int results)
{
    if (lua_pcall(thread, arguments, results, 0) != 0)
    {
        const char* message = lua_tostring(thread, -1);
        Script::ReportScriptError(message != nullptr ? message : "a script function failed");
        lua_pop(thread, 1);
        return false;
    }
    return true;
}

bool ScriptAttachment::CallTop(int arguments, int results) const
{
    return CallProtected(script_->GetThread(), arguments, results);
}

void ScriptAttachment::Call(const char* name) const
{
    if (PushFunction(name))
    {
        CallTop(0, 0);
    }
}

void ScriptAttachment::Call(const char* name, float value) const
{
    if (PushFunction(name))
    {
        lua_pushnumber(script_->GetThread(), static_cast<lua_Number>(value));
        CallTop(1, 0);
    }
}

void ScriptAttachment::Call(const char* name, Core::Object* argument) const
{
    if (PushFunction(name))
    {
        lua_State* thread = script_->GetThread();
        if (argument != nullptr)
        {
            argument->PushToScript(thread);
        }
        else
        {
            lua_pushnil(thread);
        }
        CallTop(1, 0);
    }
}

void ScriptAttachment::SetGlobal(const char* name, Core::Object* object) const
{
    if (script_ == nullptr || object == nullptr)
    {
        return;
    }
    lua_State* thread = script_->GetThread();
    if (lua_checkstack(thread, 4) == 0)
    {
        return;
    }
    object->PushToScript(thread);
    lua_setglobal(thread, name);
}

void ScriptAttachment::ClearGlobals(const std::vector<std::string>& names) const
{
    for (const std::string& name : names)
    {
        ClearGlobal(name.c_str());
    }
}

void ScriptAttachment::ClearGlobal(const char* name) const
{
    if (script_ == nullptr)
    {
        return;
    }
    lua_State* thread = script_->GetThread();
    if (lua_checkstack(thread, 2) == 0)
    {
        return;
    }
    lua_pushnil(thread);
    lua_setglobal(thread, name);
}

int ScriptAttachment::ObjectFunction(lua_State* caller) const
{
    return IsRunning() ? CallScriptFunction(script_->GetThread(), caller) : 0;
}

int CallScriptFunction(lua_State* target, lua_State* caller)
{
    if (target == nullptr || lua_gettop(caller) < 1 || lua_type(caller, 1) != LUA_TSTRING)
    {
        return 0;
    }
    const lua_Number wanted = lua_gettop(caller) >= 2 ? lua_tonumber(caller, 2) : 0.0;
    // A script asks for a handful of results; more than a stack can hold
    // is refused rather than grown into.
    if (!(wanted >= 0.0 && wanted <= 200.0))
    {
        return 0;
    }
    const int results = static_cast<int>(wanted);
    const int base = lua_gettop(target);
    const int arguments = std::max(lua_gettop(caller) - 2, 0);
    if (lua_checkstack(target, arguments + results + 4) == 0)
    {
        return 0;
    }
    lua_getglobal(target, lua_tostring(caller, 1));
    if (!lua_isfunction(target, -1))
    {
        lua_settop(target, base);
        return 0;
    }
    if (target == caller)
    {
        // A script calling into itself: its arguments are already here.
        for (int index = 3; index <= base; ++index)
        {
            lua_pushvalue(target, index);
        }
        return CallProtected(target, arguments, results) ? results : 0;
    }
    const int copied = LuaScript::CopyValues(caller, target, 1, 0);
    if (!CallProtected(target, copied, results))
    {
        lua_settop(target, base);
        return 0;
    }
    const int returned = results > 0 ? LuaScript::CopyValues(target, caller, 0, results) : 0;
    lua_settop(target, base);
    return returned;
}

bool ScriptAttachment::IsManagedObjectName(const std::string& name, const std::vector<std::string>& taken)
{
    static constexpr std::string_view Reserved[] = {
        // Lua's keywords.
        "and", "break", "do", "else", "elseif", "end", "false", "for", "function", "goto", "if", "in",
        "local", "nil", "not", "or", "repeat", "return", "then", "true", "until", "while",
        // The owner itself and the hooks the owners call.
        "self", "Constructor", "Destroy", "Update", "OnStart", "OnEnd", "OnClone", "Load", "Save",
        "NetworkSave", "NetworkLoad", "NetworkSyncSend", "NetworkSyncReceive", "GetPositionAndDirection"};
    const auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    if (name.empty() || !isLetter(name.front()) ||
        !std::all_of(name.begin(), name.end(), [&](char c) { return isLetter(c) || isDigit(c); }))
    {
        return false;
    }
    return std::find(std::begin(Reserved), std::end(Reserved), name) == std::end(Reserved) &&
           std::find(taken.begin(), taken.end(), name) == taken.end();
}

bool ScriptAttachment::IsFileNameInFolder(const std::string& file)
{
    if (!file.empty() && (file.front() == '/' || file.front() == '\\'))
    {
        return false;
    }
    if (file.find(':') != std::string::npos || file.find('\0') != std::string::npos)
    {
        return false;
    }
    // Parts between separators of either kind.
    std::size_t start = 0;
    while (start <= file.size())
    {
        const std::size_t end = std::min(file.find_first_of("/\\", start), file.size());
        if (file.compare(start, end - start, "..") == 0)
        {
            return false;
        }
        start = end + 1;
    }
    return true;
}

void ScriptAttachment::Release()
{
    if (script_ != nullptr)
    {
        LuaScript::Destroy(script_);
        script_ = nullptr;
    }
}

} // namespace Velkor

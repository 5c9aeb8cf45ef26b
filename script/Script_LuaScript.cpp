#include "script/Script_LuaScript.h"

#include "core/Core_DiskFile.h"
#include "pal/PAL_Window.h"
#include "script/Script_Binding.h"
#include "script/Script_Lua.h"
#include "script/Script_Report.h"
#include "script/Script_Values.h"

#include <algorithm>
#include <cstring>

namespace
{

lua_State* g_state = nullptr;
std::int32_t g_constructedCount = 0;

// Never destroyed, so a script deleted during exit still finds its list.
std::vector<LuaScript*>& Scripts()
{
    static auto* scripts = new std::vector<LuaScript*>();
    return *scripts;
}

int AppendChunk(lua_State*, const void* piece, std::size_t size, void* buffer)
{
    auto* bytes = static_cast<std::vector<char>*>(buffer);
    const char* first = static_cast<const char*>(piece);
    bytes->insert(bytes->end(), first, first + size);
    return 0;
}

// Hands a kept chunk to lua_load as one block.
struct ChunkSource
{
    const std::vector<char>* bytes;
    bool delivered;
};

const char* ReadChunk(lua_State*, void* data, std::size_t* size)
{
    auto* source = static_cast<ChunkSource*>(data);
    if (source->delivered)
    {
        *size = 0;
        return nullptr;
    }
    source->delivered = true;
    *size = source->bytes->size();
    return source->bytes->data();
}

std::string TakeErrorMessage(lua_State* thread, const char* fallback)
{
    const char* message = lua_tostring(thread, -1);
    std::string text = message != nullptr ? message : fallback;
    lua_pop(thread, 1);
    return text;
}

// Number fields of value tables are read raw and without raising: the
// source of a copy is not necessarily the running script, and an error
// raised in a thread that is not running would end the process.
float RawNumberField(lua_State* state, int table, const char* field)
{
    lua_pushstring(state, field);
    lua_rawget(state, table);
    const float value = static_cast<float>(lua_tonumber(state, -1));
    lua_pop(state, 1);
    return value;
}

enum class TableKind
{
    Other,
    Point,
    Vector,
    Color,
};

TableKind KindOfTable(lua_State* state, int table)
{
    lua_pushstring(state, "className");
    lua_rawget(state, table);
    TableKind kind = TableKind::Other;
    if (lua_type(state, -1) == LUA_TSTRING)
    {
        const char* name = lua_tostring(state, -1);
        if (std::strcmp(name, "Point2D") == 0)
        {
            kind = TableKind::Point;
        }
        else if (std::strcmp(name, "Vector2D") == 0)
        {
            kind = TableKind::Vector;
        }
        else if (std::strcmp(name, "Color") == 0)
        {
            kind = TableKind::Color;
        }
    }
    lua_pop(state, 1);
    return kind;
}

// True when both are threads of one state (they share the registry).
bool ShareState(lua_State* a, lua_State* b)
{
    lua_pushvalue(a, LUA_REGISTRYINDEX);
    const void* registryA = lua_topointer(a, -1);
    lua_pop(a, 1);
    lua_pushvalue(b, LUA_REGISTRYINDEX);
    const void* registryB = lua_topointer(b, -1);
    lua_pop(b, 1);
    return registryA == registryB;
}

// Copies the value at absolute index `index` of `from` onto `to`; true when
// a value was pushed.
bool CopyValue(lua_State* from, lua_State* to, int index, bool sharedState)
{
    switch (lua_type(from, index))
    {
    case LUA_TNIL:
        lua_pushnil(to);
        return true;
    case LUA_TBOOLEAN:
        lua_pushboolean(to, lua_toboolean(from, index));
        return true;
    case LUA_TLIGHTUSERDATA:
        lua_pushlightuserdata(to, lua_touserdata(from, index));
        return true;
    case LUA_TNUMBER:
        lua_pushnumber(to, lua_tonumber(from, index));
        return true;
    case LUA_TSTRING:
    {
        std::size_t length = 0;
        const char* text = lua_tolstring(from, index, &length);
        lua_pushlstring(to, text, length);
        return true;
    }
    case LUA_TTABLE:
        switch (KindOfTable(from, index))
        {
        case TableKind::Point:
            LuaPushPoint2D(to, RawNumberField(from, index, "X"), RawNumberField(from, index, "Y"));
            return true;
        case TableKind::Vector:
            LuaPushVector2D(to, RawNumberField(from, index, "X"), RawNumberField(from, index, "Y"));
            return true;
        case TableKind::Color:
            LuaPushColor(to, RawNumberField(from, index, "R"), RawNumberField(from, index, "G"),
                         RawNumberField(from, index, "B"), RawNumberField(from, index, "A"));
            return true;
        case TableKind::Other:
            return false;
        }
        return false;
    case LUA_TUSERDATA:
    {
        // Every engine class pushes itself as its address under its script
        // type name, so pushing the same two again is its PushToScript.
        // Asking the type name first keeps foreign userdata (file handles)
        // from being taken for engine objects.
        const char* typeName = Script::GetTypeName(from, index);
        if (typeName == nullptr)
        {
            return false;
        }
        if (sharedState)
        {
            // The same userdata, so one that owns its object keeps it alive.
            lua_pushvalue(from, index);
            lua_xmove(from, to, 1);
            return true;
        }
        Script::PushObject(to, *static_cast<void**>(lua_touserdata(from, index)), typeName);
        return true;
    }
    default:
        return false;
    }
}

} // namespace

void LuaScript::SetGlobalState(lua_State* state)
{
    g_state = state;
}

lua_State* LuaScript::GetGlobalState()
{
    return g_state;
}

LuaScript* LuaScript::Create()
{
    if (g_state == nullptr)
    {
        return nullptr;
    }
    auto* script = new ("Lua_ScriptEngine", 673) LuaScript(g_state);
    Scripts().push_back(script);
    return script;
}

LuaScript* LuaScript::Find(const std::string& fileName)
{
    for (LuaScript* script : Scripts())
    {
        if (script->fileName_ == fileName)
        {
            return script;
        }
    }
    return nullptr;
}

void LuaScript::Destroy(LuaScript* script)
{
    std::vector<LuaScript*>& scripts = Scripts();
    if (script == nullptr || std::find(scripts.begin(), scripts.end(), script) == scripts.end())
    {
        return;
    }
    script->dead_ = true;
    delete script;
}

const std::vector<LuaScript*>& LuaScript::GetScripts()
{
    return Scripts();
}

std::int32_t LuaScript::GetConstructedCount()
{
    return g_constructedCount;
}

LuaScript::LuaScript(lua_State* state) : state_(state)
{
    ++g_constructedCount;
    lua_checkstack(state, 8);
    thread_ = lua_newthread(state);
    // The registry keeps the thread alive; the spot on the state's stack it
    // was made in would be lost to the next call that clears that stack.
    threadReference_ = luaL_ref(state, LUA_REGISTRYINDEX);
    lua_checkstack(thread_, 100);

    // Private globals: an empty table whose misses fall back to the shared
    // globals through its metatable.
    lua_newtable(thread_);
    lua_newtable(thread_);
    lua_pushlstring(thread_, "__index", 7);
    lua_pushvalue(thread_, LUA_GLOBALSINDEX);
    lua_settable(thread_, -3);
    lua_setmetatable(thread_, -2);
    lua_replace(thread_, LUA_GLOBALSINDEX);

    // Shared globals map the thread to its script.
    lua_pushlightuserdata(state, thread_);
    lua_pushlightuserdata(state, this);
    lua_rawset(state, LUA_GLOBALSINDEX);
}

LuaScript::~LuaScript()
{
    std::vector<LuaScript*>& scripts = Scripts();
    scripts.erase(std::remove(scripts.begin(), scripts.end(), this), scripts.end());
    if (state_ != nullptr && state_ == g_state)
    {
        lua_pushlightuserdata(state_, thread_);
        lua_pushnil(state_);
        lua_rawset(state_, LUA_GLOBALSINDEX);
        luaL_unref(state_, LUA_REGISTRYINDEX, threadReference_);
    }
}

void LuaScript::Load(const char* fileName)
{
    if (fileName == nullptr)
    {
        return;
    }
    fileName_ = fileName;
    if (!Compile(fileName_))
    {
        return;
    }
    loaded_ = 1;
    Run();
}

bool LuaScript::Compile(const std::string& fileName)
{
    const std::string path = Core::ToNativePath(fileName);
    if (luaL_loadfile(thread_, path.c_str()) != 0)
    {
        FailLoad();
        return false;
    }
    std::vector<char> chunk;
    lua_dump(thread_, &AppendChunk, &chunk);
    bytecode_ = std::move(chunk);
    return true;
}

void LuaScript::LoadChunkFrom(const LuaScript* other)
{
    if (other == nullptr || other->bytecode_.empty())
    {
        return;
    }
    std::vector<char> chunk = other->bytecode_;
    ChunkSource source{&chunk, false};
    if (lua_load(thread_, &ReadChunk, &source, "loaded_chunk") != 0)
    {
        FailLoad();
        return;
    }
    bytecode_ = std::move(chunk);
    loaded_ = 1;
    Run();
}

void LuaScript::Run()
{
    const int status = lua_resume(thread_, 0);
    if (status != 0 && status != LUA_YIELD)
    {
        const std::string text = TakeErrorMessage(thread_, "the script failed while it ran");
        Script::ReportScriptError(text);
    }
    lua_settop(thread_, 0);
}

void LuaScript::FailLoad()
{
    const std::string text = TakeErrorMessage(thread_, "the script could not be loaded");
    lua_settop(thread_, 0);
    Script::ReportScriptError(text);
    PAL::PostQuit();
}

std::int32_t LuaScript::CopyValues(lua_State* from, lua_State* to, std::uint32_t skip, std::int32_t count)
{
    if (from == nullptr || to == nullptr)
    {
        return 0;
    }
    const std::int64_t valueCount = lua_gettop(from);
    std::int64_t first = 1;
    std::int64_t last = count;
    if (skip != 0)
    {
        if (valueCount <= 1)
        {
            return 0;
        }
        first = static_cast<std::int64_t>(skip) + 2;
        last = valueCount;
    }
    else if (count != 0 && valueCount > count)
    {
        first = valueCount - count + 1;
        last = valueCount;
    }
    last = std::min(last, valueCount);
    if (first > last)
    {
        return 0;
    }
    // A script stack holds a few thousand values at most: a target without
    // room for the whole range takes none, rather than being written past
    // its end.
    if (lua_checkstack(to, static_cast<int>(last - first + 1) + 1) == 0 || lua_checkstack(from, 3) == 0)
    {
        return 0;
    }
    const bool sharedState = ShareState(from, to);
    std::int32_t copied = 0;
    for (std::int64_t index = first; index <= last; ++index)
    {
        if (CopyValue(from, to, static_cast<int>(index), sharedState))
        {
            ++copied;
        }
    }
    return copied;
}

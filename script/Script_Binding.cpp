#include "script/Script_Binding.h"

#include "core/Core_ScriptBridge.h"
#include "script/Script_Lua.h"

#include <atomic>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <set>
#include <utility>

namespace Script
{

namespace
{

std::vector<GlobalFunctionRecord>& GlobalFunctions()
{
    static auto* functions = new std::vector<GlobalFunctionRecord>();
    return *functions;
}

// The handles of every script state that hold an object, ordered by the
// object's address, so the handles into a freed block are found by one
// range lookup. A handle leaves the set when its object is freed (its block
// is then set to null) or when the script state collects the handle, which
// happens before Lua frees the handle's memory: every type's metatable has a
// __gc for it. Objects may be freed on any thread, so a mutex guards the set;
// frees that find no live handle at all only read the count.
class LiveHandles
{
public:
    void Add(void** block)
    {
        const std::lock_guard lock(mutex_);
        if (handles_.emplace(reinterpret_cast<std::uintptr_t>(*block), block).second)
        {
            count_.fetch_add(1, std::memory_order_relaxed);
        }
    }

    // Takes a collected handle out of the set and clears it; a block that is
    // no live handle (already cleared, or something else) stays as it is.
    void Remove(void** block)
    {
        const std::lock_guard lock(mutex_);
        if (handles_.erase({reinterpret_cast<std::uintptr_t>(*block), block}) != 0)
        {
            *block = nullptr;
            count_.fetch_sub(1, std::memory_order_relaxed);
        }
    }

    // Clears every handle holding an address in [begin, begin + size): the
    // object there, or a member of it, is being freed.
    void Forget(const void* begin, std::size_t size)
    {
        if (count_.load(std::memory_order_relaxed) == 0)
        {
            return;
        }
        const auto first = reinterpret_cast<std::uintptr_t>(begin);
        const std::lock_guard lock(mutex_);
        auto it = handles_.lower_bound({first, nullptr});
        while (it != handles_.end() && it->first - first < size)
        {
            *it->second = nullptr;
            it = handles_.erase(it);
            count_.fetch_sub(1, std::memory_order_relaxed);
        }
    }

private:
    std::mutex mutex_;
    std::set<std::pair<std::uintptr_t, void**>> handles_;
    std::atomic<std::size_t> count_{0};
};

LiveHandles& GetLiveHandles()
{
    // Never destroyed: objects are still freed while statics are torn down.
    static auto* handles = new LiveHandles();
    return *handles;
}

// __gc of every engine userdata.
int CollectHandle(lua_State* state)
{
    if (lua_type(state, 1) == LUA_TUSERDATA && lua_objlen(state, 1) == sizeof(void*))
    {
        GetLiveHandles().Remove(static_cast<void**>(lua_touserdata(state, 1)));
    }
    return 0;
}

// Fields of a type's metatable besides __index and __newindex.
constexpr const char* NameField = "__name";
constexpr const char* MethodsField = "__methods";
constexpr const char* PropertiesField = "__properties";

// The userdata of `size` bytes at `index` when its metatable is the one the
// registry keeps under `metatableName`; null for anything else (foreign
// userdata such as file handles, light userdata, other values).
void* ToUserdataOf(lua_State* state, int index, std::size_t size, const char* metatableName)
{
    if (lua_type(state, index) != LUA_TUSERDATA || lua_objlen(state, index) != size ||
        metatableName == nullptr)
    {
        return nullptr;
    }
    index = AbsoluteIndex(state, index);
    [[maybe_unused]] const int top = StackTopForAssert(state);
    if (lua_getmetatable(state, index) == 0)
    {
        return nullptr;
    }
    lua_getfield(state, LUA_REGISTRYINDEX, metatableName);
    const bool same = lua_rawequal(state, -1, -2) != 0;
    lua_pop(state, 2);
    ENGINE_ASSERT(lua_gettop(state) == top);
    return same ? lua_touserdata(state, index) : nullptr;
}

// A property of one type, as its table holds it. The type travels with the
// record: the lookup checks it, so a record moved into another type's table
// never runs on an object of the wrong class.
struct PropertyEntry
{
    const PropertyRecord* record;
    const char* typeName;
};

constexpr const char* PropertyEntryType = "Script.PropertyEntry";

// The record at `index` when it is a property entry of `typeName`; null for
// anything else.
const PropertyRecord* ToPropertyRecord(lua_State* state, int index, const char* typeName)
{
    const auto* entry = static_cast<const PropertyEntry*>(
        ToUserdataOf(state, index, sizeof(PropertyEntry), PropertyEntryType));
    return entry != nullptr && std::strcmp(entry->typeName, typeName) == 0 ? entry->record : nullptr;
}

// The object of a property access: the value at stack index 1 must be a
// userdata of the metatable's type holding an object. (The lookup functions
// are reachable through getmetatable, so anything may arrive there.)
void* PropertyOwner(lua_State* state, const char* typeName)
{
    void* object = ToObject(state, 1, typeName);
    if (object == nullptr)
    {
        luaL_error(state, "property of something that is no %s object", typeName);
    }
    return object;
}

// __index(object, key): a property's getter, else the method of that name
// (nil when there is none). Upvalues: methods, properties, type name.
int Index(lua_State* state)
{
    if (lua_type(state, 2) == LUA_TSTRING)
    {
        const char* typeName = lua_tostring(state, lua_upvalueindex(3));
        lua_pushvalue(state, 2);
        lua_rawget(state, lua_upvalueindex(2));
        const PropertyRecord* record = ToPropertyRecord(state, -1, typeName);
        lua_pop(state, 1);
        if (record != nullptr)
        {
            void* object = PropertyOwner(state, typeName);
            return record->getter(object, state);
        }
    }
    lua_pushvalue(state, 2);
    lua_rawget(state, lua_upvalueindex(1));
    return 1;
}

// __newindex(object, key, value): a property's setter; any other key is
// refused, since the userdata has no fields of its own to hold it.
// Upvalues: properties, type name.
int NewIndex(lua_State* state)
{
    const char* typeName = lua_tostring(state, lua_upvalueindex(2));
    lua_pushvalue(state, 2);
    lua_rawget(state, lua_upvalueindex(1));
    const PropertyRecord* record = ToPropertyRecord(state, -1, typeName);
    lua_pop(state, 1);
    if (record == nullptr)
    {
        const char* key =
            lua_type(state, 2) == LUA_TSTRING ? lua_tostring(state, 2) : luaL_typename(state, 2);
        return luaL_error(state, "%s has no property '%s'", typeName, key);
    }
    void* object = PropertyOwner(state, typeName);
    record->setter(object, state);
    return 0;
}

// A method call object:Name(...). Upvalues: the method record, the type
// name. The object is checked and taken off the stack, so the method finds
// its own arguments from index 1.
int Dispatch(lua_State* state)
{
    const auto* record = static_cast<const MethodRecord*>(lua_touserdata(state, lua_upvalueindex(1)));
    const char* typeName = lua_tostring(state, lua_upvalueindex(2));
    void* object = ToObject(state, 1, typeName);
    if (object == nullptr)
    {
        const char* heldType = GetTypeName(state, 1);
        if (heldType != nullptr && std::string_view(heldType) == typeName)
        {
            return luaL_error(state, "'%s' called on a %s that holds no object", record->name, typeName);
        }
        return luaL_typerror(state, 1, typeName);
    }
    lua_remove(state, 1);
    return record->function(object, state);
}

// Leaves the metatable of `typeName` on the stack, made and given its
// lookup functions when the type has none yet.
void PushMetatable(lua_State* state, const char* typeName)
{
    [[maybe_unused]] const int top = StackTopForAssert(state);
    luaL_newmetatable(state, typeName);
    const int metatable = lua_gettop(state);
    lua_pushstring(state, MethodsField);
    lua_rawget(state, metatable);
    const bool prepared = lua_istable(state, -1);
    lua_pop(state, 1);
    if (prepared)
    {
        ENGINE_ASSERT(lua_gettop(state) == top + 1);
        return;
    }
    lua_pushstring(state, typeName);
    lua_setfield(state, metatable, NameField);
    // Scripts see a table holding only the type's name in place of the
    // metatable, so they can neither reach nor change the lookup tables.
    lua_createtable(state, 0, 1);
    lua_pushstring(state, typeName);
    lua_setfield(state, -2, NameField);
    lua_setfield(state, metatable, "__metatable");
    lua_newtable(state);
    const int methods = lua_gettop(state);
    lua_newtable(state);
    const int properties = lua_gettop(state);

    lua_pushvalue(state, methods);
    lua_setfield(state, metatable, MethodsField);
    lua_pushvalue(state, properties);
    lua_setfield(state, metatable, PropertiesField);

    lua_pushvalue(state, methods);
    lua_pushvalue(state, properties);
    lua_pushstring(state, typeName);
    lua_pushcclosure(state, &Index, 3);
    lua_setfield(state, metatable, "__index");

    lua_pushvalue(state, properties);
    lua_pushstring(state, typeName);
    lua_pushcclosure(state, &NewIndex, 2);
    lua_setfield(state, metatable, "__newindex");

    lua_pushcfunction(state, &CollectHandle);
    lua_setfield(state, metatable, "__gc");
    lua_settop(state, metatable);
    ENGINE_ASSERT(lua_gettop(state) == top + 1);
}

// Leaves the metatable's table in `field` on the stack, the metatable below it.
void PushMetatableField(lua_State* state, const char* typeName, const char* field)
{
    PushMetatable(state, typeName);
    lua_pushstring(state, field);
    lua_rawget(state, -2);
}

// The keeper of an object a script owns. It sits in the environment of the
// object's userdata, so both become garbage together; its finaliser
// destroys the object.
struct OwnedObject
{
    void* object;
    DestroyFunction destroy;
};

constexpr const char* OwnedObjectType = "Script.OwnedObject";

int CollectOwnedObject(lua_State* state)
{
    auto* owned = static_cast<OwnedObject*>(lua_touserdata(state, 1));
    if (owned != nullptr && owned->destroy != nullptr)
    {
        owned->destroy(owned->object);
        owned->destroy = nullptr;
    }
    return 0;
}

[[maybe_unused]] const bool g_pushInstalled = []
{
    Core::SetPushUserdataFunction(&PushObject);
    Core::SetForgetUserdataFunction([](const void* begin, std::size_t size)
                                    { GetLiveHandles().Forget(begin, size); });
    return true;
}();

} // namespace

void PushObject(lua_State* state, void* object, const char* typeName)
{
    lua_checkstack(state, 8);
    [[maybe_unused]] const int top = StackTopForAssert(state);
    void** block = static_cast<void**>(lua_newuserdata(state, sizeof(void*)));
    *block = object;
    if (typeName != nullptr)
    {
        PushMetatable(state, typeName);
        lua_setmetatable(state, -2);
        // Only a handle with the metatable's __gc may enter the set: the
        // collector tells the set before the block is freed.
        if (object != nullptr)
        {
            GetLiveHandles().Add(block);
        }
    }
    ENGINE_ASSERT(lua_gettop(state) == top + 1);
}

void PushOwnedObject(lua_State* state, void* object, const char* typeName, DestroyFunction destroy)
{
    [[maybe_unused]] const int top = StackTopForAssert(state);
    PushObject(state, object, typeName);
    auto* owned = static_cast<OwnedObject*>(lua_newuserdata(state, sizeof(OwnedObject)));
    *owned = OwnedObject{object, destroy};
    if (luaL_newmetatable(state, OwnedObjectType) != 0)
    {
        lua_pushcfunction(state, &CollectOwnedObject);
        lua_setfield(state, -2, "__gc");
    }
    lua_setmetatable(state, -2);
    lua_createtable(state, 1, 0);
    lua_insert(state, -2);
    lua_rawseti(state, -2, 1);
    lua_setfenv(state, -2);
    ENGINE_ASSERT(lua_gettop(state) == top + 1);
}

void* ToObject(lua_State* state, int index, const char* typeName)
{
    // Checking the type rather than the size alone keeps foreign userdata
    // (file handles and the like) and light userdata out.
    void* const* block = static_cast<void* const*>(ToUserdataOf(state, index, sizeof(void*), typeName));
    return block != nullptr ? *block : nullptr;
}

const char* GetTypeName(lua_State* state, int index)
{
    if (lua_type(state, index) != LUA_TUSERDATA || lua_objlen(state, index) != sizeof(void*))
    {
        return nullptr;
    }
    if (lua_getmetatable(state, index) == 0)
    {
        return nullptr;
    }
    [[maybe_unused]] const int top = StackTopForAssert(state) - 1;
    lua_pushstring(state, NameField);
    lua_rawget(state, -2);
    if (lua_type(state, -1) != LUA_TSTRING)
    {
        lua_pop(state, 2);
        ENGINE_ASSERT(lua_gettop(state) == top);
        return nullptr;
    }
    const char* name = lua_tostring(state, -1);
    // Only a metatable that the registry keeps under its own name counts.
    lua_getfield(state, LUA_REGISTRYINDEX, name);
    const bool registered = lua_rawequal(state, -1, -3) != 0;
    lua_pop(state, 3);
    ENGINE_ASSERT(lua_gettop(state) == top);
    return registered ? name : nullptr;
}

GlobalFunctionRegistrar::GlobalFunctionRegistrar(const char* name, GlobalFunction function)
{
    GlobalFunctions().push_back({name, function});
}

const std::vector<GlobalFunctionRecord>& GetGlobalFunctions()
{
    return GlobalFunctions();
}

void RegisterMethodTable(lua_State* state, const MethodTable& table)
{
    lua_checkstack(state, 16);
    [[maybe_unused]] const int top = StackTopForAssert(state);
    PushMetatableField(state, table.typeName, MethodsField);
    const int methods = lua_gettop(state);
    for (std::size_t i = 0; i < table.count; ++i)
    {
        const MethodRecord& record = table.records[i];
        lua_pushlightuserdata(state, const_cast<MethodRecord*>(&record));
        lua_pushstring(state, table.typeName);
        lua_pushcclosure(state, &Dispatch, 2);
        lua_setfield(state, methods, record.name);
    }
    lua_pop(state, 2);
    ENGINE_ASSERT(lua_gettop(state) == top);
}

void RegisterPropertyTable(lua_State* state, const PropertyTable& table)
{
    lua_checkstack(state, 16);
    [[maybe_unused]] const int top = StackTopForAssert(state);
    PushMetatableField(state, table.typeName, PropertiesField);
    const int properties = lua_gettop(state);
    for (std::size_t i = 0; i < table.count; ++i)
    {
        const PropertyRecord& record = table.records[i];
        auto* entry = static_cast<PropertyEntry*>(lua_newuserdata(state, sizeof(PropertyEntry)));
        *entry = PropertyEntry{&record, table.typeName};
        luaL_newmetatable(state, PropertyEntryType);
        lua_setmetatable(state, -2);
        lua_setfield(state, properties, record.name);
    }
    lua_pop(state, 2);
    ENGINE_ASSERT(lua_gettop(state) == top);
}

void RegisterGlobalFunctions(lua_State* state)
{
    for (const GlobalFunctionRecord& record : GlobalFunctions())
    {
        lua_register(state, record.name, record.function);
    }
}

void RegisterAll(lua_State* state)
{
    for (const MethodTable* table : GetMethodTables())
    {
        RegisterMethodTable(state, *table);
    }
    for (const PropertyTable* table : GetPropertyTables())
    {
        RegisterPropertyTable(state, *table);
    }
    RegisterGlobalFunctions(state);
}

} // namespace Script

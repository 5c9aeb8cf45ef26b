#pragma once

#include "core/Core_MemoryManager.h"
#include "script/Script_MethodTable.h"
#include "script/Script_PropertyTable.h"

#include <vector>

struct lua_State;

namespace Script
{

// Engine objects reach scripts as full userdata the size of one pointer,
// holding the object's address, with the metatable that the registry keeps
// under the object's script type name. The metatable is made on first use
// (empty until the type's tables are registered) and records its own name,
// so a userdata always tells which type it holds. This is the push that
// Core::PushUserdata forwards to; the script module installs it at static
// initialisation. A null type name gives a userdata without metatable.
// A handle does not outlive its object: when a pooled object (a Core::Base)
// is freed, every handle holding its address or an address inside it is
// cleared, and a call through it raises "holds no object".
void PushObject(lua_State* state, void* object, const char* typeName);

// Pushes an engine userdata of `typeName` for an object that the script
// owns: `destroy` runs on it when the script state collects the userdata or
// closes. Moving the value to another thread of the same state keeps the
// one userdata, so the object lives while any script holds it.
using DestroyFunction = void (*)(void* object);
void PushOwnedObject(lua_State* state, void* object, const char* typeName, DestroyFunction destroy);

// A new copy of `value` from the memory manager, handed to the script to own.
template <class T> void PushOwnedCopy(lua_State* state, const T& value, const char* typeName)
{
    T* copy = new ("Script_Binding", __LINE__) T(value);
    PushOwnedObject(state, copy, typeName, [](void* object) { delete static_cast<T*>(object); });
}

// The address held by the userdata at `index` when it is an engine userdata
// of exactly `typeName`; null for any other value and for a userdata that
// holds null.
void* ToObject(lua_State* state, int index, const char* typeName);

template <class T> T* ToObject(lua_State* state, int index, const char* typeName)
{
    return static_cast<T*>(ToObject(state, index, typeName));
}

// The script type name of the engine userdata at `index`, or null for any
// other value. The text belongs to the state and lives as long as the
// type's metatable, which is never removed.
const char* GetTypeName(lua_State* state, int index);

// Global functions that every prepared state has ("CreatePoint" and the
// like), entered at static initialisation.
using GlobalFunction = int (*)(lua_State* state);

struct GlobalFunctionRecord
{
    const char* name;
    GlobalFunction function;
};

class GlobalFunctionRegistrar
{
public:
    GlobalFunctionRegistrar(const char* name, GlobalFunction function);
};

const std::vector<GlobalFunctionRecord>& GetGlobalFunctions();

// Preparing a script state. The program itself never creates one; a host or
// a test that does calls RegisterAll once after opening the state.
//
// RegisterMethodTable makes the type's metatable (or completes it) so that
// `object:Name(...)` calls the method with the object and the arguments
// from stack index 1 on. A call on a value that is not a userdata of the
// table's type, or on one holding null, raises a script error instead of
// reaching the method. Where a table holds one name twice, the later record
// wins.
void RegisterMethodTable(lua_State* state, const MethodTable& table);
// `object.name` reads through the getter, `object.name = value` writes
// through the setter; assigning a name that is no property raises a script
// error.
void RegisterPropertyTable(lua_State* state, const PropertyTable& table);
void RegisterGlobalFunctions(lua_State* state);
// Every method table, property table and global function entered so far.
void RegisterAll(lua_State* state);

} // namespace Script

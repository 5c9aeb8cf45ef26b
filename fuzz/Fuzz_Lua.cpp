// Script source run in a state with every method table, property table and
// global function registered, under an instruction and a memory limit.

#include "fuzz/Fuzz_Support.h"
#include "script/Script_Binding.h"
#include "script/Script_Lua.h"

#include <cstdlib>

namespace
{

constexpr int InstructionLimit = 200000;
constexpr std::size_t MemoryLimit = std::size_t{64} << 20;

struct Budget
{
    std::size_t used = 0;
};

void* Allocate(void* userData, void* block, std::size_t oldSize, std::size_t newSize)
{
    auto* budget = static_cast<Budget*>(userData);
    if (newSize == 0)
    {
        std::free(block);
        budget->used -= oldSize;
        return nullptr;
    }
    if (newSize > oldSize && budget->used + (newSize - oldSize) > MemoryLimit)
    {
        return nullptr;
    }
    void* grown = std::realloc(block, newSize);
    if (grown != nullptr)
    {
        budget->used = budget->used - oldSize + newSize;
    }
    return grown;
}

// Past the limit every instruction raises, so a script that catches the
// error with pcall cannot go on either.
void StopRunaway(lua_State* state, lua_Debug*)
{
    lua_sethook(state, &StopRunaway, LUA_MASKCOUNT, 1);
    luaL_error(state, "instruction limit");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Budget budget;
    lua_State* state = lua_newstate(&Allocate, &budget);
    if (state == nullptr)
    {
        return 0;
    }
    // The libraries scripts get, without files, processes or the debugger.
    const luaL_Reg libraries[] = {
        {"", luaopen_base}, {LUA_TABLIBNAME, luaopen_table}, {LUA_STRLIBNAME, luaopen_string},
        {LUA_MATHLIBNAME, luaopen_math}};
    for (const luaL_Reg& library : libraries)
    {
        lua_pushcfunction(state, library.func);
        lua_pushstring(state, library.name);
        lua_call(state, 1, 0);
    }
    Script::RegisterAll(state);
    lua_sethook(state, &StopRunaway, LUA_MASKCOUNT, InstructionLimit);
    if (luaL_loadbuffer(state, reinterpret_cast<const char*>(data), size, "fuzz") == 0)
    {
        lua_pcall(state, 0, 0, 0);
    }
    lua_close(state);
    return 0;
}

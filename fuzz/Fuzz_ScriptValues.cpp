// Script values in an object's network data, as a peer's message holds
// them: a list that reads gives values a script state takes, and writing
// those back reads as the same list; a list that does not read changes
// nothing.

#include "core/Core_MemoryFile.h"
#include "framework/Velkor_ScriptValues.h"
#include "fuzz/Fuzz_Support.h"
#include "script/Script_Binding.h"
#include "script/Script_Lua.h"

namespace
{

bool Same(const std::vector<Velkor::ScriptValue>& a, const std::vector<Velkor::ScriptValue>& b)
{
    if (a.size() != b.size())
    {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i)
    {
        // What cannot cross comes back as nil.
        const auto kind =
            a[i].kind == Velkor::ScriptValue::Kind::Lost ? Velkor::ScriptValue::Kind::Nil : a[i].kind;
        if (kind != b[i].kind || a[i].text != b[i].text || a[i].flag != b[i].flag)
        {
            return false;
        }
        const double x = a[i].numbers[0];
        const double y = b[i].numbers[0];
        if (kind == Velkor::ScriptValue::Kind::Number && x != y && (x == x || y == y))
        {
            return false;
        }
    }
    return true;
}

lua_State* State()
{
    static lua_State* state = []
    {
        lua_State* made = luaL_newstate();
        luaL_openlibs(made);
        Script::RegisterAll(made);
        return made;
    }();
    return state;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Core::MemoryFile file(data, static_cast<std::uint32_t>(size));
    std::vector<Velkor::ScriptValue> values(1);
    values[0].text = "kept";
    if (!Velkor::ReadScriptValues(file, values))
    {
        Fuzz::Require(values.size() == 1 && values[0].text == "kept", "a failed read changes nothing");
        return 0;
    }
    lua_State* state = State();
    lua_settop(state, 0);
    const int pushed = Velkor::PushScriptValues(state, values);
    Fuzz::Require(pushed == lua_gettop(state), "every value pushed is counted");
    if (pushed != static_cast<int>(values.size()))
    {
        lua_settop(state, 0);
        return 0;
    }
    Core::MemoryFile written;
    Velkor::WriteScriptValues(written, state, 1, pushed);
    lua_settop(state, 0);
    const Fuzz::Bytes bytes = written.GetBuffer();
    Core::MemoryFile again(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    std::vector<Velkor::ScriptValue> back;
    Fuzz::Require(Velkor::ReadScriptValues(again, back), "written values read again");
    Fuzz::Require(Same(values, back), "values come back as they went");
    return 0;
}

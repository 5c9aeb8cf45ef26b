#include "framework/Velkor_ScriptValues.h"

#include "core/Core_File.h"
#include "framework/Velkor_NetworkFile.h"
#include "script/Script_Lua.h"
#include "script/Script_Values.h"

#include <cstring>

namespace Velkor
{

namespace
{

// The smallest record a value takes: a tag of at least three characters.
constexpr std::uint64_t SmallestValueBytes = 4 + 3;

const char* const PointFields[] = {"X", "Y"};
const char* const ColorFields[] = {"R", "G", "B", "A"};

// A table's field read raw, so no metamethod runs (and raises) here.
void PushRawField(lua_State* state, int table, const char* field)
{
    lua_pushstring(state, field);
    lua_rawget(state, table);
}

void WriteTable(Core::File& file, lua_State* state, int table)
{
    PushRawField(state, table, "className");
    std::string className;
    if (lua_type(state, -1) == LUA_TSTRING)
    {
        std::size_t length = 0;
        const char* text = lua_tolstring(state, -1, &length);
        className.assign(text, length);
    }
    lua_pop(state, 1);
    WriteNetworkString(file, "ttable");
    WriteNetworkString(file, className);
    const bool point = className == "Point2D" || className == "Vector2D";
    const bool color = className == "Color";
    const char* const* fields = point ? PointFields : ColorFields;
    const int count = point ? 2 : color ? 4 : 0;
    for (int i = 0; i < count; ++i)
    {
        PushRawField(state, table, fields[i]);
        file << static_cast<double>(lua_tonumber(state, -1));
        lua_pop(state, 1);
    }
}

void WriteValue(Core::File& file, lua_State* state, int index)
{
    switch (lua_type(state, index))
    {
    case LUA_TBOOLEAN:
        WriteNetworkString(file, "tbool");
        file << static_cast<std::uint8_t>(lua_toboolean(state, index) != 0 ? 1 : 0);
        return;
    case LUA_TLIGHTUSERDATA:
        WriteNetworkString(file, "tldata");
        return;
    case LUA_TNUMBER:
        WriteNetworkString(file, "tnum");
        file << static_cast<double>(lua_tonumber(state, index));
        return;
    case LUA_TSTRING:
    {
        std::size_t length = 0;
        const char* text = lua_tolstring(state, index, &length);
        WriteNetworkString(file, "string");
        WriteNetworkString(file, std::string(text, length));
        return;
    }
    case LUA_TTABLE:
        WriteTable(file, state, index);
        return;
    case LUA_TFUNCTION:
        WriteNetworkString(file, "tfun");
        return;
    case LUA_TUSERDATA:
        WriteNetworkString(file, "tuser");
        return;
    default:
        // nil, and kinds the list has no tag for (threads).
        WriteNetworkString(file, "nil");
        return;
    }
}

bool ReadNumbers(Core::File& file, ScriptValue& value, int count)
{
    for (int i = 0; i < count; ++i)
    {
        file >> value.numbers[i];
    }
    return !file.Failed();
}

bool ReadValue(Core::File& file, ScriptValue& value)
{
    std::string tag;
    if (!ReadNetworkString(file, tag))
    {
        return false;
    }
    if (tag == "nil")
    {
        value.kind = ScriptValue::Kind::Nil;
        return true;
    }
    if (tag == "tbool")
    {
        std::uint8_t flag = 0;
        file >> flag;
        value.kind = ScriptValue::Kind::Boolean;
        value.flag = flag != 0;
        return !file.Failed();
    }
    if (tag == "tnum")
    {
        value.kind = ScriptValue::Kind::Number;
        return ReadNumbers(file, value, 1);
    }
    if (tag == "string")
    {
        value.kind = ScriptValue::Kind::String;
        return ReadNetworkString(file, value.text);
    }
    if (tag == "tldata" || tag == "tfun" || tag == "tuser")
    {
        value.kind = ScriptValue::Kind::Lost;
        return true;
    }
    if (tag == "ttable")
    {
        std::string className;
        if (!ReadNetworkString(file, className))
        {
            return false;
        }
        if (className == "Point2D" || className == "Vector2D")
        {
            value.kind = className == "Point2D" ? ScriptValue::Kind::Point : ScriptValue::Kind::Vector;
            return ReadNumbers(file, value, 2);
        }
        if (className == "Color")
        {
            value.kind = ScriptValue::Kind::Color;
            return ReadNumbers(file, value, 4);
        }
        value.kind = ScriptValue::Kind::Lost;
        return true;
    }
    return false;
}

} // namespace

void WriteScriptValues(Core::File& file, lua_State* state, int first, int last)
{
    const std::uint32_t count = last >= first ? static_cast<std::uint32_t>(last - first + 1) : 0u;
    file << count;
    lua_checkstack(state, 4);
    for (int index = first; index <= last; ++index)
    {
        WriteValue(file, state, index);
    }
}

bool ReadScriptValues(Core::File& file, std::vector<ScriptValue>& values)
{
    std::uint32_t count = 0;
    file >> count;
    if (file.Failed() || count > file.GetBytesLeft() / SmallestValueBytes)
    {
        return false;
    }
    std::vector<ScriptValue> read(count);
    for (ScriptValue& value : read)
    {
        if (!ReadValue(file, value))
        {
            return false;
        }
    }
    values = std::move(read);
    return true;
}

int PushScriptValues(lua_State* state, const std::vector<ScriptValue>& values)
{
    // Each push may call a table constructor: a few slots above the values.
    if (values.size() > 100000 || lua_checkstack(state, static_cast<int>(values.size()) + 8) == 0)
    {
        return 0;
    }
    for (const ScriptValue& value : values)
    {
        const auto x = static_cast<float>(value.numbers[0]);
        const auto y = static_cast<float>(value.numbers[1]);
        switch (value.kind)
        {
        case ScriptValue::Kind::Boolean:
            lua_pushboolean(state, value.flag ? 1 : 0);
            break;
        case ScriptValue::Kind::Number:
            lua_pushnumber(state, value.numbers[0]);
            break;
        case ScriptValue::Kind::String:
            lua_pushlstring(state, value.text.data(), value.text.size());
            break;
        case ScriptValue::Kind::Point:
            LuaPushPoint2D(state, x, y);
            break;
        case ScriptValue::Kind::Vector:
            LuaPushVector2D(state, x, y);
            break;
        case ScriptValue::Kind::Color:
            LuaPushColor(state, x, y, static_cast<float>(value.numbers[2]),
                         static_cast<float>(value.numbers[3]));
            break;
        default:
            lua_pushnil(state);
            break;
        }
    }
    return static_cast<int>(values.size());
}

} // namespace Velkor

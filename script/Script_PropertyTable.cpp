#include "script/Script_PropertyTable.h"

#include "script/Script_Lua.h"

namespace Script
{

namespace
{

std::vector<const PropertyTable*>& Tables()
{
    static auto* tables = new std::vector<const PropertyTable*>();
    return *tables;
}

// The assigned value of a __newindex call (object, key, value).
constexpr int AssignedValue = 3;

} // namespace

int GetFloatField(lua_State* state, const float* field)
{
    lua_pushnumber(state, static_cast<lua_Number>(*field));
    return 1;
}

int SetFloatField(lua_State* state, float* field)
{
    *field = static_cast<float>(luaL_checknumber(state, AssignedValue));
    return 0;
}

int GetBoolField(lua_State* state, const bool* field)
{
    lua_pushboolean(state, *field ? 1 : 0);
    return 1;
}

int SetBoolField(lua_State* state, bool* field)
{
    *field = lua_toboolean(state, AssignedValue) != 0;
    return 0;
}

int GetIntField(lua_State* state, const std::int32_t* field)
{
    lua_pushinteger(state, static_cast<lua_Integer>(*field));
    return 1;
}

int SetIntField(lua_State* state, std::int32_t* field)
{
    *field = CheckInt32(state, AssignedValue);
    return 0;
}

PropertyTableRegistrar::PropertyTableRegistrar(const PropertyTable& table) : table_(table)
{
    Tables().push_back(&table_);
}

const std::vector<const PropertyTable*>& GetPropertyTables()
{
    return Tables();
}

const PropertyTable* FindPropertyTable(std::string_view typeName)
{
    for (const PropertyTable* table : Tables())
    {
        if (typeName == table->typeName)
        {
            return table;
        }
    }
    return nullptr;
}

std::string_view CheckPropertyTable(const PropertyTable& table)
{
    if (table.typeName == nullptr || table.typeName[0] == '\0')
    {
        return "the table has no type name";
    }
    if (table.records == nullptr)
    {
        return "the table has no records";
    }
    for (std::size_t i = 0; i < table.count; ++i)
    {
        const PropertyRecord& record = table.records[i];
        if (record.name == nullptr || record.name[0] == '\0')
        {
            return "a record has no property name";
        }
        if (record.setter == nullptr || record.getter == nullptr)
        {
            return "a record lacks its setter or getter";
        }
    }
    const PropertyRecord& end = table.records[table.count];
    if (end.name != nullptr || end.setter != nullptr || end.getter != nullptr)
    {
        return "the record after the last property is not zero";
    }
    return {};
}

} // namespace Script

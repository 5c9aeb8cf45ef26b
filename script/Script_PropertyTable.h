#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>
#include <vector>

struct lua_State;

namespace Script
{

// Typed field accessors. A getter pushes the field and returns 1. A setter
// stores the value at stack index 3, the assigned value as a __newindex
// handler sees it (object, key, value), and returns 0. The float and integer
// setters raise a script error when that value is no number; the integer
// setter truncates towards zero and saturates (NaN gives 0); the bool setter
// takes the script's truth rule (only nil and false are false).
int GetFloatField(lua_State* state, const float* field);
int SetFloatField(lua_State* state, float* field);
int GetBoolField(lua_State* state, const bool* field);
int SetBoolField(lua_State* state, bool* field);
int GetIntField(lua_State* state, const std::int32_t* field);
int SetIntField(lua_State* state, std::int32_t* field);

// A property accessor: the object whose property is read or written and the
// script state (a getter pushes the value and returns 1, a setter reads stack
// index 3 and returns 0).
using PropertyFunction = int (*)(void* object, lua_State* state);

// One property of a script type. A zeroed record ends every list.
struct PropertyRecord
{
    const char* name = nullptr;
    PropertyFunction setter = nullptr;
    PropertyFunction getter = nullptr;
};

namespace Detail
{

template <auto Member> struct FieldAccess;

template <class Class, class Field, Field Class::*Member> struct FieldAccess<Member>
{
    static_assert(std::is_same_v<Field, float> || std::is_same_v<Field, bool> ||
                      std::is_same_v<Field, std::int32_t>,
                  "a field property is a float, a bool or a 32-bit integer");

    static int Get(void* object, lua_State* state)
    {
        const Field* field = &(static_cast<Class*>(object)->*Member);
        if constexpr (std::is_same_v<Field, float>)
        {
            return GetFloatField(state, field);
        }
        else if constexpr (std::is_same_v<Field, bool>)
        {
            return GetBoolField(state, field);
        }
        else
        {
            return GetIntField(state, field);
        }
    }

    static int Set(void* object, lua_State* state)
    {
        Field* field = &(static_cast<Class*>(object)->*Member);
        if constexpr (std::is_same_v<Field, float>)
        {
            return SetFloatField(state, field);
        }
        else if constexpr (std::is_same_v<Field, bool>)
        {
            return SetBoolField(state, field);
        }
        else
        {
            return SetIntField(state, field);
        }
    }
};

} // namespace Detail

// A property bound to a data member: Script::Property<&Collision2D::ZibRect::top>("top").
// Properties with accessors of their own are written as records directly:
// {"MyTile", &SetCellTile, &GetCellTile}.
template <auto Member> constexpr PropertyRecord Property(const char* name)
{
    return PropertyRecord{name, &Detail::FieldAccess<Member>::Set, &Detail::FieldAccess<Member>::Get};
}

// A fixed number of properties followed by the zero record.
template <std::size_t Count> struct PropertyList
{
    static constexpr std::size_t count = Count;
    PropertyRecord records[Count + 1] = {};
};

template <std::size_t Count, class... Records>
constexpr PropertyList<Count> MakeProperties(const Records&... records)
{
    static_assert(sizeof...(Records) == Count, "the number of properties differs from the declared count");
    return PropertyList<Count>{{records..., PropertyRecord{}}};
}

// A script type's properties: `count` records and the zero record.
struct PropertyTable
{
    const char* typeName;
    const PropertyRecord* records;
    std::size_t count;
};

// Enters a property table into the process-wide list at static
// initialisation, as MethodTableRegistrar does for methods. A type may have
// both; scripts reach properties as fields (rect.top, rect.top = 4) and
// methods with a colon call.
class PropertyTableRegistrar
{
public:
    template <std::size_t Count>
    PropertyTableRegistrar(const char* typeName, const PropertyList<Count>& list)
        : PropertyTableRegistrar(PropertyTable{typeName, list.records, Count})
    {
    }

    explicit PropertyTableRegistrar(const PropertyTable& table);

    const PropertyTable& GetTable() const { return table_; }

private:
    PropertyTable table_;
};

const std::vector<const PropertyTable*>& GetPropertyTables();
const PropertyTable* FindPropertyTable(std::string_view typeName);

// Why a table is malformed, or empty when it is sound.
std::string_view CheckPropertyTable(const PropertyTable& table);

} // namespace Script

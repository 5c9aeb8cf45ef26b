#pragma once

#include <cstddef>
#include <initializer_list>
#include <string_view>
#include <vector>

struct lua_State;

namespace Script
{

// A script-visible method: receives the object a script called it on and the
// script state, whose stack holds the call's arguments from index 1 on (the
// object itself is already removed), and returns the number of values it
// pushed.
using MethodFunction = int (*)(void* object, lua_State* state);

// One entry of a method table. A zeroed record ends every table.
struct MethodRecord
{
    const char* name = nullptr;
    MethodFunction function = nullptr;
};

namespace Detail
{

// Adapts the two shapes a method is written in to MethodFunction:
//   int Class::Method(lua_State*)            (a member, const or not)
//   int Function(Class& object, lua_State*)  (a free function)
// The object pointer a script holds is the address of the object as the class
// whose table it calls into; with single inheritance from a polymorphic root
// every class of a hierarchy shares that address, so a derived class's table
// may hold methods of its bases.
template <auto Function> struct Invoker;

template <class Class, int (Class::*Function)(lua_State*)> struct Invoker<Function>
{
    static int Call(void* object, lua_State* state)
    {
        return (static_cast<Class*>(object)->*Function)(state);
    }
};

template <class Class, int (Class::*Function)(lua_State*) const> struct Invoker<Function>
{
    static int Call(void* object, lua_State* state)
    {
        return (static_cast<const Class*>(object)->*Function)(state);
    }
};

template <class Class, int (*Function)(Class&, lua_State*)> struct Invoker<Function>
{
    static int Call(void* object, lua_State* state) { return Function(*static_cast<Class*>(object), state); }
};

} // namespace Detail

// The record for one method: Script::Method<&Math::Circle2D::Foo>("Foo").
template <auto Function> constexpr MethodRecord Method(const char* name)
{
    return MethodRecord{name, &Detail::Invoker<Function>::Call};
}

// A fixed number of records followed by the zero record. Built at compile
// time, so a table exists before any static initialiser runs.
template <std::size_t Count> struct MethodList
{
    static constexpr std::size_t count = Count;
    MethodRecord records[Count + 1] = {};
};

namespace Detail
{

template <class Part> struct PartSize;

template <> struct PartSize<MethodRecord>
{
    static constexpr std::size_t value = 1;
};

template <std::size_t N> struct PartSize<MethodList<N>>
{
    static constexpr std::size_t value = N;
};

template <std::size_t Count>
constexpr void Append(MethodList<Count>& list, std::size_t& at, const MethodRecord& record)
{
    list.records[at++] = record;
}

template <std::size_t Count, std::size_t N>
constexpr void Append(MethodList<Count>& list, std::size_t& at, const MethodList<N>& part)
{
    for (std::size_t i = 0; i < N; ++i)
    {
        list.records[at++] = part.records[i];
    }
}

} // namespace Detail

// Records and whole lists, in order, into a list of exactly Count methods;
// any other total does not compile. A class whose table repeats a base
// class's entries passes the base list first:
//
//     constexpr auto kTextMethods = Script::MakeMethods<113>(
//         Script::Without<110>(kGameObjectMethods, {"ChangeNetworkOwner"}),
//         Script::Method<&Velkor::Text::ScriptSaveNetworkData>("SaveNetworkData"), ...);
template <std::size_t Count, class... Parts> constexpr MethodList<Count> MakeMethods(const Parts&... parts)
{
    static_assert((Detail::PartSize<Parts>::value + ... + 0) == Count,
                  "the number of methods differs from the table's declared count");
    MethodList<Count> list{};
    std::size_t at = 0;
    (Detail::Append(list, at, parts), ...);
    return list;
}

// The list without the entries of the given names, keeping the order. Every
// name must be in the list once and exactly Count entries must remain;
// otherwise the constant evaluation fails and the table does not compile.
template <std::size_t Count, std::size_t N>
constexpr MethodList<Count> Without(const MethodList<N>& list, std::initializer_list<std::string_view> names)
{
    static_assert(Count <= N, "a list cannot grow by removing entries");
    MethodList<Count> result{};
    std::size_t at = 0;
    for (std::size_t i = 0; i < N; ++i)
    {
        bool removed = false;
        for (std::string_view name : names)
        {
            removed = removed || name == list.records[i].name;
        }
        if (!removed)
        {
            if (at == Count)
            {
                throw "more entries remain than the declared count";
            }
            result.records[at++] = list.records[i];
        }
    }
    if (at != Count)
    {
        throw "fewer entries remain than the declared count";
    }
    return result;
}

// A class's method table as the binding sees it: the script type name (the
// metatable key that the class's PushToScript uses), `count` records and the
// zero record behind them.
struct MethodTable
{
    const char* typeName;
    const MethodRecord* records;
    std::size_t count;
};

// Enters a method table into the process-wide list at static
// initialisation. Declare one per scriptable class beside its list:
//
//     namespace {
//     constexpr auto kCircleMethods = Script::MakeMethods<6>(
//         Script::Method<&CircleGetCenter>("GetCenter"), ...);
//     const Script::MethodTableRegistrar g_circleTable("Circle2D", kCircleMethods);
//     }
//
// Both objects are constants of the translation unit; the list is built at
// compile time and the registrar only records its address.
class MethodTableRegistrar
{
public:
    template <std::size_t Count>
    MethodTableRegistrar(const char* typeName, const MethodList<Count>& list)
        : MethodTableRegistrar(MethodTable{typeName, list.records, Count})
    {
    }

    explicit MethodTableRegistrar(const MethodTable& table);

    const MethodTable& GetTable() const { return table_; }

private:
    MethodTable table_;
};

// Every table entered so far, in registration order.
const std::vector<const MethodTable*>& GetMethodTables();
// The table of a script type name, or null.
const MethodTable* FindMethodTable(std::string_view typeName);

// Why a table is malformed (an unnamed or unbound record, a record past the
// count, a terminator that is not zero), or empty when it is sound.
std::string_view CheckMethodTable(const MethodTable& table);

} // namespace Script

#include "ScriptTestState.h"

#include "core/Core_Object.h"
#include "math/Math_Circle2D.h"
#include "script/Script_MethodTable.h"
#include "script/Script_PropertyTable.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>

namespace
{

// A scriptable class of the tests' own, with members as methods.
class Counter : public Core::Object
{
public:
    int Add(lua_State* state)
    {
        if (lua_gettop(state) < 1)
        {
            return 0;
        }
        value += static_cast<int>(luaL_checkinteger(state, 1));
        return 0;
    }

    int Get(lua_State* state) const
    {
        lua_pushinteger(state, value);
        return 1;
    }

    // Reports what the method found on its stack: the object is gone from it.
    int CountArguments(lua_State* state)
    {
        lua_pushinteger(state, lua_gettop(state));
        return 1;
    }

    void PushToScript(lua_State* state) override { Core::PushUserdata(state, this, "TestCounter"); }

    int value = 0;
};

constexpr auto kCounterMethods =
    Script::MakeMethods<3>(Script::Method<&Counter::Add>("Add"), Script::Method<&Counter::Get>("Get"),
                           Script::Method<&Counter::CountArguments>("CountArguments"));
const Script::MethodTableRegistrar g_counterTable("TestCounter", kCounterMethods);

// A value type with field properties and one method on the same metatable.
struct Box
{
    virtual ~Box() = default;
    float top = 0.0f;
    bool open = false;
    std::int32_t count = 0;
};

int BoxDescribe(Box& box, lua_State* state)
{
    lua_pushnumber(state, box.top * static_cast<float>(box.count));
    return 1;
}

constexpr auto kBoxProperties =
    Script::MakeProperties<3>(Script::Property<&Box::top>("top"), Script::Property<&Box::open>("open"),
                              Script::Property<&Box::count>("count"));
const Script::PropertyTableRegistrar g_boxProperties("TestBox", kBoxProperties);
constexpr auto kBoxMethods = Script::MakeMethods<1>(Script::Method<&BoxDescribe>("Describe"));
const Script::MethodTableRegistrar g_boxMethods("TestBox", kBoxMethods);

TEST(ScriptBinding, ObjectsArePointerSizedUserdataUnderTheirTypeMetatable)
{
    ScriptTestState script;
    lua_State* L = script.Get();
    Core::Object object;
    Math::Circle2D circle;
    object.PushToScript(L);
    circle.PushToScript(L);

    ASSERT_EQ(lua_type(L, 1), LUA_TUSERDATA);
    EXPECT_EQ(lua_objlen(L, 1), sizeof(void*));
    EXPECT_EQ(*static_cast<void**>(lua_touserdata(L, 1)), &object);
    lua_getmetatable(L, 1);
    luaL_getmetatable(L, "Object");
    EXPECT_TRUE(lua_rawequal(L, -1, -2));
    lua_pop(L, 2);

    EXPECT_STREQ(Script::GetTypeName(L, 1), "Object");
    EXPECT_STREQ(Script::GetTypeName(L, 2), "Circle2D");
    EXPECT_EQ(Script::ToObject(L, 1, "Object"), &object);
    EXPECT_EQ(Script::ToObject(L, -1, "Circle2D"), &circle);
    EXPECT_EQ(Script::ToObject(L, 1, "Circle2D"), nullptr);
    EXPECT_EQ(lua_gettop(L), 2);

    // Foreign userdata and other values are no engine objects.
    lua_getglobal(L, "io");
    lua_getfield(L, -1, "stdout");
    EXPECT_EQ(Script::GetTypeName(L, -1), nullptr);
    EXPECT_EQ(Script::ToObject(L, -1, "Object"), nullptr);
    lua_pushnumber(L, 3);
    EXPECT_EQ(Script::GetTypeName(L, -1), nullptr);
}

TEST(ScriptBinding, MethodsSeeTheirArgumentsFromIndexOne)
{
    ScriptTestState script;
    Counter counter;
    counter.PushToScript(script.Get());
    lua_setglobal(script.Get(), "counter");

    EXPECT_EQ(script.Run("counter:Add(5) counter:Add(2) counter:Add()"), "");
    EXPECT_EQ(counter.value, 7);
    EXPECT_EQ(script.Number("counter:Get()"), 7);
    EXPECT_EQ(script.Number("counter:CountArguments('a', 'b')"), 2);
    EXPECT_EQ(script.String("counter.Missing"), "nil");
}

TEST(ScriptBinding, CallsOnTheWrongValueRaiseInsteadOfReachingTheMethod)
{
    ScriptTestState script;
    lua_State* L = script.Get();
    Counter counter;
    Math::Circle2D circle;
    counter.PushToScript(L);
    lua_setglobal(L, "counter");
    circle.PushToScript(L);
    lua_setglobal(L, "circle");
    Script::PushObject(L, nullptr, "TestCounter");
    lua_setglobal(L, "empty");

    struct Case
    {
        const char* code;
        const char* expected;
    };
    const Case cases[] = {
        {"counter.Get(5)", "TestCounter expected, got number"},
        {"counter.Get(circle)", "TestCounter expected, got userdata"},
        {"counter.Get(io.stdout)", "TestCounter expected, got userdata"},
        {"empty:Get()", "holds no object"},
    };
    for (const Case& c : cases)
    {
        EXPECT_NE(script.Run(c.code).find(c.expected), std::string::npos) << c.code;
    }
    EXPECT_EQ(counter.value, 0);
}

// A pooled object with a scriptable member.
class Holder : public Core::Object
{
public:
    Math::Circle2D circle;
};

TEST(ScriptBinding, HandlesDoNotOutliveTheirObjects)
{
    ScriptTestState script;
    lua_State* L = script.Get();
    auto* freed = new Counter();
    auto* kept = new Counter();
    auto* holder = new Holder();
    kept->value = 3;
    const std::pair<const char*, Core::Object*> globals[] = {
        {"freed", freed}, {"again", freed}, {"kept", kept}, {"collected", kept}};
    for (const auto& [name, object] : globals)
    {
        object->PushToScript(L);
        lua_setglobal(L, name);
    }
    holder->circle.PushToScript(L);
    lua_setglobal(L, "circle");
    ASSERT_EQ(script.Run("freed:Add(1) circle:GetRadius()"), "");

    // Every handle of a freed object, and of a member inside it, is cleared.
    delete freed;
    delete holder;
    for (const char* code : {"freed:Add(1)", "again:Get()", "circle:GetRadius()"})
    {
        EXPECT_NE(script.Run(code).find("holds no object"), std::string::npos) << code;
    }
    EXPECT_EQ(script.Number("kept:Get()"), 3);

    // A handle the state has collected is gone from the live handles before
    // its block is freed: freeing its object later touches nothing.
    ASSERT_EQ(script.Run("collected = nil"), "");
    lua_gc(L, LUA_GCCOLLECT, 0);
    lua_gc(L, LUA_GCCOLLECT, 0);
    delete kept;
    EXPECT_NE(script.Run("kept:Get()").find("holds no object"), std::string::npos);
}

TEST(ScriptBinding, PropertiesReadAndWriteFieldsBesideMethods)
{
    ScriptTestState script;
    lua_State* L = script.Get();
    Box box;
    Script::PushObject(L, &box, "TestBox");
    lua_setglobal(L, "box");

    EXPECT_EQ(script.Run("box.top = 2.5 box.count = 4 box.open = 1"), "");
    EXPECT_EQ(box.top, 2.5f);
    EXPECT_EQ(box.count, 4);
    EXPECT_TRUE(box.open);
    EXPECT_EQ(script.Number("box:Describe()"), 10.0);
    EXPECT_EQ(script.String("box.open"), "true");
    EXPECT_EQ(script.Run("box.open = nil"), "");
    EXPECT_FALSE(box.open);

    EXPECT_NE(script.Run("box.count = 'many'").find("number expected"), std::string::npos);
    EXPECT_NE(script.Run("box.top = {}").find("number expected"), std::string::npos);
    EXPECT_NE(script.Run("box.colour = 1").find("TestBox has no property 'colour'"), std::string::npos);
    // Scripts see only the type's name in place of the metatable: no lookup
    // function or record can be called on, or moved to, something else.
    EXPECT_EQ(script.String("getmetatable(box).__name"), "TestBox");
    EXPECT_EQ(script.String("tostring(getmetatable(box).__index)"), "nil");
    EXPECT_EQ(script.String("tostring(getmetatable(box).__properties)"), "nil");
    // Even through the debug library, a record planted in another type's
    // table does not run on that type's objects.
    Counter counter;
    counter.PushToScript(L);
    lua_setglobal(L, "counter");
    EXPECT_EQ(
        script.Run("debug.getmetatable(counter).__properties.top = debug.getmetatable(box).__properties.top"),
        "");
    EXPECT_EQ(script.String("tostring(counter.top)"), "nil");
    EXPECT_NE(script.Run("counter.top = 1").find("TestCounter has no property 'top'"), std::string::npos);
    EXPECT_EQ(box.count, 4);
    EXPECT_EQ(box.top, 2.5f);

    // Integers are truncated and saturate; no script number is out of range.
    const std::pair<const char*, std::int32_t> integers[] = {
        {"-7.9", -7}, {"1e10", 2147483647}, {"-1e300", -2147483647 - 1}, {"0/0", 0}};
    for (const auto& [value, expected] : integers)
    {
        EXPECT_EQ(script.Run(std::string("box.count = ") + value), "") << value;
        EXPECT_EQ(box.count, expected) << value;
    }
}

TEST(ScriptBinding, EveryTableIsCompleteAndZeroTerminated)
{
    ASSERT_FALSE(Script::GetMethodTables().empty());
    for (const Script::MethodTable* table : Script::GetMethodTables())
    {
        EXPECT_EQ(Script::CheckMethodTable(*table), "") << table->typeName;
    }
    for (const Script::PropertyTable* table : Script::GetPropertyTables())
    {
        EXPECT_EQ(Script::CheckPropertyTable(*table), "") << table->typeName;
    }

    struct Expected
    {
        const char* typeName;
        std::size_t count;
    };
    const Expected expected[] = {{"Circle2D", 6}, {"LineSegment2D", 13}, {"Ray2D", 12},
                                 {"Line2D", 12},  {"MouseImp", 10},      {"KeyboardImp", 8}};
    for (const Expected& e : expected)
    {
        const Script::MethodTable* table = Script::FindMethodTable(e.typeName);
        ASSERT_NE(table, nullptr) << e.typeName;
        EXPECT_EQ(table->count, e.count) << e.typeName;
    }
}

TEST(ScriptBinding, CheckNamesWhatIsWrongWithATable)
{
    const Script::MethodRecord unbound[] = {{"Get", nullptr}, {}};
    const Script::MethodRecord unterminated[] = {{"Get", kCounterMethods.records[1].function},
                                                 {"Extra", kCounterMethods.records[1].function}};
    EXPECT_EQ(Script::CheckMethodTable({"T", unbound, 1}), "a record has no method");
    EXPECT_EQ(Script::CheckMethodTable({"T", unterminated, 1}),
              "the record after the last method is not zero");
    EXPECT_EQ(Script::CheckMethodTable({"", kCounterMethods.records, 3}), "the table has no type name");
}

// Lists are built at compile time; a derived class's table starts from its
// base's without some entries.
constexpr auto kBase =
    Script::MakeMethods<3>(Script::Method<&Counter::Add>("A"), Script::Method<&Counter::Get>("B"),
                           Script::Method<&Counter::CountArguments>("C"));
constexpr auto kDerived =
    Script::MakeMethods<3>(Script::Without<2>(kBase, {"B"}), Script::Method<&Counter::Get>("D"));
static_assert(std::string_view(kDerived.records[0].name) == "A");
static_assert(std::string_view(kDerived.records[1].name) == "C");
static_assert(std::string_view(kDerived.records[2].name) == "D");
static_assert(kDerived.records[3].name == nullptr && kDerived.records[3].function == nullptr);

TEST(ScriptBinding, JoinedListsCallTheMethodsTheyWereGiven)
{
    Counter counter;
    counter.value = 9;
    ScriptTestState script;
    EXPECT_EQ(kDerived.records[2].function(&counter, script.Get()), 1);
    EXPECT_EQ(lua_tointeger(script.Get(), -1), 9);
}

} // namespace

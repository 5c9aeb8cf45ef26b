#include "physics/Physics_Contact.h"
#include "physics/Physics_JointNail.h"
#include "physics/Physics_PhysicsEngine.h"
#include "script/Script_Binding.h"
#include "script/Script_Lua.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

using namespace Physics2D;

TEST(ScriptTablesTest, EveryPhysicsTableIsRegisteredWithItsMethods)
{
    struct Case
    {
        const char* type;
        std::size_t count;
    };
    for (const Case& c : {Case{"PhysicsEngine", 39}, Case{"RigidBody", 19}, Case{"MassProperties", 8},
                          Case{"Force", 12}, Case{"GravityForce", 12}, Case{"Forces", 6}, Case{"Joint", 5},
                          Case{"JointNail", 5}, Case{"JointAngularMotor", 5}, Case{"Contact", 5}})
    {
        SCOPED_TRACE(c.type);
        const Script::MethodTable* table = Script::FindMethodTable(c.type);
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(table->count, c.count);
        EXPECT_TRUE(Script::CheckMethodTable(*table).empty());
    }
}

TEST(ScriptTablesTest, ScriptsDriveTheEngineThroughItsMethods)
{
    setenv("ENGINE_HEADLESS", "1", 1);
    lua_State* state = luaL_newstate();
    luaL_openlibs(state);
    Script::RegisterAll(state);
    {
        Core::RefPtr<PhysicsEngine> engine = new PhysicsEngine();
        Core::RefPtr<RigidBody> body =
            new RigidBody(MassProperties(2.0f, 1.0f, {}), RigidBody::Euler, nullptr, nullptr, nullptr);
        Core::RefPtr<JointNail> nail = new JointNail({0.0f, 0.0f}, {0.0f, 0.0f}, 0.5f);
        engine->PushToScript(state);
        lua_setglobal(state, "engine");
        body->PushToScript(state);
        lua_setglobal(state, "body");
        nail->PushToScript(state);
        lua_setglobal(state, "nail");

        const char* code = R"(
            engine:SetAccuracy(3)
            assert(engine:GetAccuracy() == 10)
            engine:AddRigidBody(body)
            local list = engine:GetRigidBodyList()
            assert(#list == 1)
            assert(engine:SetRigidBodyVelocity(1, CreateVector(2, 3)) == 1)
            assert(engine:SetRigidBodyVelocity(2, CreateVector(2, 3)) == 0)
            local v = CreateVector()
            assert(engine:GetRigidBodyVelocity(1, v) == 1 and v.X == 2 and v.Y == 3)
            assert(select('#', engine:AddJoint(0, 1)) == 0)
            local joint = engine:AddJoint(0, 1, nail)
            assert(joint:IsActive() == 1)
            joint:SetActive(0)
            assert(joint:IsLimit() == 0)
            assert(engine:GetMinusInfinity() == -engine:GetPlusInfinity())
            engine:Update(0.05)
            assert(math.abs(engine:GetSimulationStep() - 0.02) < 1e-6)
            return body:GetPosition().X
        )";
        ASSERT_EQ(luaL_loadstring(state, code), 0);
        ASSERT_EQ(lua_pcall(state, 0, 1, 0), 0) << lua_tostring(state, -1);
        EXPECT_NEAR(lua_tonumber(state, -1), 0.04, 1e-6);
        EXPECT_FALSE(nail->IsActive());
        lua_pop(state, 1);
    }
    lua_close(state);
}

TEST(ScriptTablesTest, HandlesOfRemovedObjectsHoldNoObject)
{
    setenv("ENGINE_HEADLESS", "1", 1);
    struct Case
    {
        const char* add;    // run while the test still holds the joint and the contact
        const char* remove; // run once the engine holds the only references
        const char* calls[2];
    };
    const Case cases[] = {
        {"body = engine:GetRigidBody(1)",
         "engine:RemoveRigidBody(1)",
         {"body:GetPosition()", "body:GetOrientation()"}},
        {"joint = engine:AddJoint(1, 0, nail)",
         "engine:RemoveJoint(joint)",
         {"joint:IsActive()", "nail:SetActive(0)"}},
        {"added = engine:AddContact(1, 0, contact)",
         "engine:RemoveContact(added)",
         {"added:IsActive()", "contact:IsActive()"}},
        {"body = engine:GetRigidBody(1) joint = engine:AddJoint(1, 0, nail)",
         "engine:Reset()",
         {"body:GetPosition()", "joint:IsActive()"}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.remove);
        lua_State* state = luaL_newstate();
        luaL_openlibs(state);
        Script::RegisterAll(state);
        const auto run = [state](const char* code)
        {
            std::string error;
            if (luaL_loadstring(state, code) != 0 || lua_pcall(state, 0, 0, 0) != 0)
            {
                error = lua_tostring(state, -1);
                lua_pop(state, 1);
            }
            return error;
        };
        {
            Core::RefPtr<PhysicsEngine> engine = new PhysicsEngine();
            engine->AddRigidBody(
                new RigidBody(MassProperties(2.0f, 1.0f, {}), RigidBody::Euler, nullptr, nullptr, nullptr));
            Core::RefPtr<JointNail> nail = new JointNail({0.0f, 0.0f}, {0.0f, 0.0f}, 0.5f);
            Core::RefPtr<Contact> contact = new Contact();
            engine->PushToScript(state);
            lua_setglobal(state, "engine");
            nail->PushToScript(state);
            lua_setglobal(state, "nail");
            contact->PushToScript(state);
            lua_setglobal(state, "contact");
            ASSERT_EQ(run(c.add), "");
            nail = nullptr;
            contact = nullptr;
            for (const char* call : c.calls)
            {
                EXPECT_EQ(run(call), "") << call;
            }
            ASSERT_EQ(run(c.remove), "");
            for (const char* call : c.calls)
            {
                EXPECT_NE(run(call).find("holds no object"), std::string::npos) << call;
            }
        }
        lua_close(state);
    }
}

} // namespace

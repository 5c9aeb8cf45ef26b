#include "ScriptTableLists.h"
#include "ScriptWorldSupport.h"

#include "collision/Collision_CollisionActor.h"
#include "framework/Velkor_Jukebox.h"
#include "framework/Velkor_NetPlayer.h"
#include "framework/Velkor_ParticleEmitter.h"
#include "framework/Velkor_ParticleSystem.h"
#include "framework/Velkor_Sound.h"
#include "framework/Velkor_Sprite.h"
#include "framework/Velkor_Text.h"
#include "physics/Physics_Force.h"
#include "script/Script_MethodTable.h"

#include "core/Core_MemoryFile.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{

using WorldTest::WorldDisplayTest;

TEST(ScriptTablesTest, EveryFrameworkTableHoldsItsMethodsInOrder)
{
    for (const ScriptTables::Table& expected : ScriptTables::Tables())
    {
        SCOPED_TRACE(expected.type);
        const Script::MethodTable* table = Script::FindMethodTable(expected.type);
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(Script::CheckMethodTable(*table), "");
        ASSERT_EQ(expected.names.size(), expected.count);
        ASSERT_EQ(table->count, expected.count);
        for (std::size_t i = 0; i < expected.count; ++i)
        {
            EXPECT_EQ(table->records[i].name, expected.names[i]) << "entry " << i;
        }
    }
}

// A started game with a script state of the test's own, and one live object
// of every framework script class as a script global.
class ScriptTablesDisplayTest : public WorldTest::ScriptWorldDisplayTest
{
protected:
    std::string Run(const std::string& code) { return script->Run(code); }
};

// Every value a getter gives, as text: tables by their number fields,
// engine objects by their type.
constexpr const char* Describe = R"(
    function describe(...)
        local parts = {}
        for i = 1, select('#', ...) do
            local value = select(i, ...)
            if type(value) == "table" then
                local fields = {}
                for _, key in ipairs({"X", "Y", "R", "G", "B", "A"}) do
                    if value[key] ~= nil then fields[#fields + 1] = key .. tostring(value[key]) end
                end
                parts[#parts + 1] = "{" .. table.concat(fields, ",") .. "#" .. #value .. "}"
            elseif type(value) == "userdata" then
                parts[#parts + 1] = "userdata"
            else
                parts[#parts + 1] = tostring(value)
            end
        end
        return table.concat(parts, " ")
    end
    function snapshot(object, names)
        local out = {}
        for _, name in ipairs(names) do
            if name:sub(1, 3) == "Get" or name:sub(1, 2) == "Is" then
                out[#out + 1] = name .. "=" .. describe(pcall(object[name], object))
            end
        end
        return table.concat(out, "\n")
    end
)";

TEST_F(ScriptTablesDisplayTest, EveryMethodSurvivesMissingAndWrongArgumentsAndSettersWithoutThemChangeNothing)
{
    Velkor::Layer& layer = AddLayer(0.0f, "ground");
    struct Holder
    {
        const char* type;
        Core::RefPtr<Core::Object> object;
    };
    std::vector<Holder> objects = {
        {"GameObject", new WorldTest::Probe("plain")},
        {"Text", new Velkor::Text("words", "")},
        {"Sprite", new Velkor::Sprite()},
        {"Camera", new Velkor::Camera()},
        {"ParticleSystem", new Velkor::ParticleSystem()},
        {"Sound", new Velkor::Sound()},
        {"Layer", &layer},
        {"Level", &Level()},
        {"Viewport", new Velkor::Viewport(0, 0, 32, 24)},
        {"JukeBox", new Velkor::JukeBox()},
        {"ParticleEmitter", new Velkor::ParticleEmitter()},
        {"PointEmitter", new Velkor::PointEmitter()},
        {"LineEmitter", new Velkor::LineEmitter()},
        {"CircleEmitter", new Velkor::CircleEmitter()},
        {"DiskEmitter", new Velkor::DiskEmitter()},
        {"RectangleEmitter", new Velkor::RectangleEmitter()},
        {"FilledRectangleEmitter", new Velkor::FilledRectangleEmitter()},
        {"ZibPlayer", new Velkor::ZibPlayer(3, "ann", true, true, nullptr, nullptr)},
        {"ZibGroup", new Velkor::ZibGroup("team", 4, nullptr)},
        {"ZibNet", game->GetNetworkEngine()},
        {"Game", game.Get()},
    };
    for (Holder& holder : objects)
    {
        if (auto* object = dynamic_cast<Velkor::GameObject*>(holder.object.Get()))
        {
            layer.AddGameObject(object);
        }
    }
    Tick();
    ASSERT_EQ(Run(Describe), "");
    Script::PushOwnedCopy(script->Get(), Velkor::ZibBroadcast("host", "net", "127.0.0.1:3000"),
                          Velkor::ZibBroadcast::ScriptTypeName);
    lua_setglobal(script->Get(), "subject");
    objects.push_back({"ZibBroadcast", nullptr});

    for (const Holder& holder : objects)
    {
        SCOPED_TRACE(holder.type);
        if (holder.object)
        {
            SetGlobal("subject", holder.object.Get());
        }
        const Script::MethodTable* table = Script::FindMethodTable(holder.type);
        ASSERT_NE(table, nullptr);
        lua_newtable(script->Get());
        for (std::size_t i = 0; i < table->count; ++i)
        {
            lua_pushstring(script->Get(), table->records[i].name);
            lua_rawseti(script->Get(), -2, static_cast<int>(i) + 1);
        }
        lua_setglobal(script->Get(), "names");
        // Setters first, with nothing to set: every getter answers as
        // before. Then every method without arguments and with arguments of
        // the wrong kinds; a script error is fine, a crash is not.
        EXPECT_EQ(Run(R"(
            local before = snapshot(subject, names)
            for _, name in ipairs(names) do
                if name:sub(1, 3) == "Set" then
                    assert(select('#', subject[name](subject)) == 0, name .. " pushed something")
                end
            end
            local after = snapshot(subject, names)
            assert(before == after, "\n" .. before .. "\n----\n" .. after)
            for _, name in ipairs(names) do
                pcall(subject[name], subject)
                pcall(subject[name], subject, true, {}, true, {}, true, {})
                pcall(subject[name], subject, {}, true, {}, true, {}, true)
            end
        )"),
                  "");
    }
    // Nothing the calls asked for (a quit among them) outlives the test.
    Tick();
}

} // namespace

namespace
{

TEST_F(ScriptTablesDisplayTest, EachTableReachesItsObject)
{
    Velkor::Layer& layer = AddLayer(0.0f, "ground");
    Core::RefPtr<WorldTest::Probe> rock(new WorldTest::Probe("rock"));
    Core::RefPtr<WorldTest::Probe> pebble(new WorldTest::Probe("pebble"));
    Core::RefPtr<Velkor::Text> text(new Velkor::Text("words", ""));
    Core::RefPtr<Velkor::ParticleSystem> particles(new Velkor::ParticleSystem());
    Core::RefPtr<Velkor::Viewport> viewport(new Velkor::Viewport(0, 0, 32, 24));
    Core::RefPtr<Velkor::PointEmitter> emitter(new Velkor::PointEmitter({5.0f, 6.0f}, 90.0f, 90.0f));
    Core::RefPtr<Velkor::ZibPlayer> player(new Velkor::ZibPlayer(3, "ann", true, true, nullptr, nullptr));
    Core::RefPtr<Velkor::ZibGroup> group(new Velkor::ZibGroup("team", 4, nullptr));
    layer.AddGameObject(rock.Get());
    layer.AddGameObject(text.Get());
    Tick();
    SetGlobal("game", game.Get());
    SetGlobal("layer", &layer);
    SetGlobal("rock", rock.Get());
    SetGlobal("pebble", pebble.Get());
    SetGlobal("text", text.Get());
    SetGlobal("particles", particles.Get());
    SetGlobal("viewport", viewport.Get());
    SetGlobal("emitter", emitter.Get());
    SetGlobal("player", player.Get());
    SetGlobal("group", group.Get());

    EXPECT_EQ(Run(R"(
        -- Game: the level it runs and its clamps.
        assert(game:GetLevelsCount() == 3 and game:GetCurrentLevelIndex() == 0)
        local level = game:GetCurrentLevel()
        game:SetMasterVolume(12)
        assert(game:GetMasterVolume() == 10)
        assert(select('#', game:GetSoundEngine()) == 0)
        assert(select('#', game:GetOnlineSession(0)) == 0)

        -- Level: layers by index and by name, nothing past the end.
        assert(level:GetLayer("ground"):GetName() == "ground")
        assert(level:GetLayer(0):GetIndex() == 0)
        assert(select('#', level:GetLayer(level:GetLayersCount())) == 0)
        assert(select('#', level:GetLayer("nowhere")) == 0)
        assert(#level:GetGameObjectsByName("rock") == 1)
        level:SetClearColor(CreateColor(0.25, 0.5, 0.75, 1))
        assert(level:GetClearColor().G == 0.5)
        level:SetClearColor(0.1)
        assert(level:GetClearColor().R == 0.25)

        -- Layer: objects and static shapes.
        assert(layer:GetGameObjectsCount() == 2)
        assert(layer:GetGameObjects()[1]:GetName() == "rock")
        layer:SetScale(2, 3)
        assert(layer:GetScale().Y == 3)
        layer:SetLayerPartitionColor(CreateColor(0, 1, 0, 1))
        assert(layer:GetLayerPartitionColor().G == 1)

        -- Game object: pose through points, vectors and numbers.
        rock:SetPosition(3, 4)
        assert(rock:GetPosition().X == 3 and rock:GetPositionY() == 4)
        rock:SetPosition(CreatePoint(7, 8))
        assert(rock:GetPositionX() == 7)
        rock:SetDirection(CreateVector(0, 2))
        assert(math.abs(rock:GetRotationAngle() - 90) < 1e-3)
        assert(math.abs(rock:GetDirection().Y - 1) < 1e-6)
        rock:SetModulationG(0.5)
        local color = rock:GetModulationColor()
        assert(color.R == 1 and color.G == 0.5 and color.A == 1)
        assert(rock:GetLayer():GetName() == "ground")
        rock:Mount(pebble)
        assert(rock:GetMountsCount() == 1 and rock:GetMount(0):GetName() == "pebble")
        assert(select('#', rock:GetMount(1)) == 0 and select('#', rock:GetMount(-1)) == 0)
        assert(pebble:IsMounted() and pebble:GetMountSupport():GetName() == "rock")
        rock:SetName("boulder")
        assert(level:GetGameObjectsByName("boulder")[1]:GetID() == rock:GetID())

        -- Text, viewport, particle system, emitter, players and groups.
        text:SetText("other")
        assert(text:GetText() == "other")
        viewport:Set(1, 2, -3, 4)
        local x, y, w, h = viewport:Get()
        assert(x == 1 and y == 2 and w == 0 and h == 4)
        viewport:SetPosition(CreatePoint(5.9, 6))
        assert(viewport:GetPositionX() == 5)
        particles:SetGravity(CreateVector(0, -9))
        assert(particles:GetGravity().Y == -9)
        particles:SetEmissionRate(1)
        particles:SetEmissionRate(2, "many")
        particles:SetEmissionRate(3, 4)
        local low, high = particles:GetEmissionRate()
        assert(low == 3 and high == 4)
        particles:SetEmitter(emitter)
        assert(particles:GetEmitter() ~= nil)
        local at, direction = emitter:GetPositionAndDirection(0)
        assert(at.X == 5 and at.Y == 6 and math.abs(direction.Y - 1) < 1e-6)
        assert(select('#', emitter:GetPositionAndDirection()) == 0)
        assert(player:GetName() == "ann" and player:IsHost() and player:GetID() == 3)
        assert(group:AddPlayer(player) == true and group:AddPlayer(player) == false)
        assert(group:QueryPlayer("ann"):GetID() == 3 and group:QueryPlayer(9) == nil)
        assert(group:GetSize() == 1 and group:RemovePlayer(3) and group:GetSize() == 0)
        -- Network templates: one per name; a removal by owner takes a player.
        local net = game:GetNetworkEngine()
        assert(net:AddBaseNetObject("Pebble", pebble) == true)
        assert(net:AddBaseNetObject("Pebble", rock) == false)
        assert(select('#', net:AddBaseNetObject("Pebble")) == 0)
        net:RemoveNetObjectsControlledBy(player)
        net:RemoveNetObjectsControlledBy()
    )"),
              "");
    ASSERT_NE(game->GetNetworkEngine()->FindBaseNetObject("Pebble"), nullptr);
    EXPECT_EQ(game->GetNetworkEngine()->FindBaseNetObject("Pebble"), pebble.Get());
}

// A ball with a circle (user id 1) falls onto a static circle (user id 7);
// a block (user id 5) slides into it.
TEST_F(ScriptTablesDisplayTest, ScriptsGiveBodiesAndForcesAndReadContacts)
{
    Velkor::Layer& layer = AddLayer(0.0f, "ground");
    layer.SetCollisionProperties(Math::Vector2D(-512.0f, -384.0f), 1024, 768, 100);
    auto circleObject = [this](std::uint32_t userId)
    {
        constexpr float Radius = 10.0f;
        auto* actor = new Collision2D::CollisionActor();
        auto* animation = new Collision2D::CollisionAnimation();
        auto* frame = new Collision2D::CollisionFrame();
        frame->SetBoundingRectangle({Radius, -Radius, Radius, -Radius}, false);
        frame->AddCircle({0.0f, 0.0f}, Radius, userId, false);
        animation->AddCollisionFrame(frame);
        actor->AddCollisionAnimation(animation);
        game->AddCollisionAssets(actor);
        auto* object = new Collision2D::DynamicObject();
        object->AddCollisionData(actor, 0, 0);
        object->SetCanCollid(0, true);
        object->SetCollisionType(1);
        return object;
    };
    Core::RefPtr<WorldTest::Probe> ball(new WorldTest::Probe("ball"));
    Core::RefPtr<WorldTest::Probe> block(new WorldTest::Probe("block"));
    block->SetPosition(60.0f, -2.0f);
    ASSERT_TRUE(block->AddCollision(circleObject(5), layer.GetCollisionLayerIndex()));
    AddBody(*block);
    layer.AddGameObject(ball.Get());
    layer.AddGameObject(block.Get());
    Physics2D::MassProperties mass(1.0f, 1.0f, {});
    Core::RefPtr<Physics2D::Force> force(new Physics2D::GravityForce(Math::Vector2D(0.0f, -1.0f), 1.0f));
    SetGlobal("ball", ball.Get());
    SetGlobal("block", block.Get());
    SetGlobal("layer", &layer);
    SetGlobal("force", force.Get());
    mass.PushToScript(script->Get());
    lua_setglobal(script->Get(), "mass");
    circleObject(1)->PushToScript(script->Get());
    lua_setglobal(script->Get(), "shape");

    ASSERT_EQ(Run(R"(
        layer:AddCollisionData(CreatePoint(0, -17), 5, 0, 7)
        ball:AddCollision(shape, layer:GetCollisionId())
        assert(ball:GetCollisionId() ~= 0)
        assert(ball:GetPhysicsId() == 0 and select('#', ball:GetVelocity()) == 0)
        assert(ball:AddPhysicalProperties(mass, 0) == true)
        assert(ball:GetPhysicsId() ~= 0)
        assert(ball:SetVelocity(CreateVector(3, 4)) == true)
        assert(ball:GetSpeed() == 5)
        assert(math.abs(ball:GetVelocityDirection().X - 0.6) < 1e-6)
        assert(ball:SetVelocity(CreateVector(0, -60)) == true)
        assert(ball:AddForce(force) == true)
        assert(ball:GetMassProperties():GetMass() == 1)
        block:SetVelocity(CreateVector(-120, 0))
    )"),
              "");
    auto tickUntil = [this](const std::string& condition)
    {
        for (int i = 0; i < 60; ++i)
        {
            Tick();
            if (script->Number(condition) != 0.0)
            {
                return true;
            }
        }
        return false;
    };
    ASSERT_TRUE(tickUntil("ball:GetNumberOfCollidedCircles()"));
    EXPECT_EQ(Run(R"(
        assert(ball:ObjectInCollision())
        assert(ball:IsCollidedWithCircle(7) and not ball:IsCollidedWithCircle(8))
        assert(ball:IsMyCircleCollided(1) and ball:IsMyCircleCollided(1, 7))
        assert(not ball:IsMyCircleCollided(1, 8) and not ball:IsMyCircleCollided(2))
        local record = ball:GetCollidedCircleData(0)
        assert(record.userId == 7 and record.numberOfIntersectedPoints >= 1)
        assert(record.myCircleUserId[1] == 1)
        assert(ball:GetCollidedCircleData(1) == nil and ball:GetCollidedCircleData(-1) == nil)
        assert(select('#', ball:GetTileMapNewEntries_UsingBoundingRectangle(-1, -1, -1, 0, 0, 0)) == 0)
    )"),
              "");
    // Shape contacts between the two, their circles' user ids as recorded.
    ASSERT_TRUE(tickUntil("ball:GetNumberOfCollidedSprites(true)"));
    EXPECT_EQ(Run(R"(
        assert(ball:IsCollidedWithSprite("block", true) and not ball:IsCollidedWithSprite("ball", true))
        assert(ball:GetCollidedSprite(0, true):GetName() == "block")
        assert(select('#', ball:GetCollidedSprite(1, true)) == 0)
        assert(ball:IsCollidedWithSpriteCircle(5) and not ball:IsCollidedWithSpriteCircle(7))
        assert(ball:GetCollidedSpriteData(0, true).id == block:GetCollisionId())
        assert(ball:GetCollidedSpriteData(5, true) == nil)
        assert(ball:RemoveAllForces() == nil)
        assert(ball:RemovePhysicalProperties() == true and ball:GetPhysicsId() == 0)
    )"),
              "");
}

} // namespace

namespace
{

// "SaveNetworkData" and "LoadNetworkData" on the network data file.
TEST(ScriptValuesTest, ValuesTravelTaggedAndComeBackWithNilForWhatCannot)
{
    ScriptTestState script;
    Core::RefPtr<Velkor::Sprite> sprite(new Velkor::Sprite());
    sprite->PushToScript(script.Get());
    lua_setglobal(script.Get(), "sprite");
    ASSERT_EQ(script.Run("assert(select('#', sprite:SaveNetworkData(1)) == 0)"), "");

    Core::MemoryFile file;
    sprite->SetNetworkDataFile(&file);
    ASSERT_EQ(script.Run("sprite:SaveNetworkData(true, 2.5, 'a')"), "");
    const std::vector<std::uint8_t> expected = {
        3, 0, 0, 0, 5,   0,   0,   0,   't', 'b', 'o', 'o', 'l', 1,             // count, "tbool" 1
        4, 0, 0, 0, 't', 'n', 'u', 'm', 0,   0,   0,   0,   0,   0, 0x04, 0x40, // "tnum" 2.5
        6, 0, 0, 0, 's', 't', 'r', 'i', 'n', 'g', 1,   0,   0,   0, 'a'};       // "string" "a"
    EXPECT_EQ(file.GetBuffer(), expected);

    Core::MemoryFile values;
    sprite->SetNetworkDataFile(&values);
    ASSERT_EQ(
        script.Run(
            "sprite:SaveNetworkData(CreateColor(0.5, 0.25, 1, 1), coroutine.create(function() end), print, "
            "sprite, {className = 'Other'}, 7)"),
        "");
    const std::vector<std::uint8_t> bytes = values.GetBuffer();
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text.substr(4, 14), std::string("\x06\0\0\0ttable\x05\0\0\0", 14));
    EXPECT_EQ(text.substr(18, 5), "Color");
    double red = 0.0;
    std::memcpy(&red, bytes.data() + 23, sizeof red);
    EXPECT_EQ(red, 0.5);
    // The thread travels as "nil", so the list reads on to its end.
    EXPECT_EQ(text.substr(55, 7), std::string("\x03\0\0\0nil", 7));

    Core::MemoryFile back(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    sprite->SetNetworkDataFile(&back);
    EXPECT_EQ(script.Run(R"(
        local color, thread, fn, user, other, seven = sprite:LoadNetworkData()
        assert(color.className == "Color" and color.R == 0.5 and color.G == 0.25)
        assert(thread == nil and fn == nil and user == nil and other == nil and seven == 7)
    )"),
              "");

    // A count the payload cannot hold gives nothing at all.
    const std::vector<std::uint8_t> lying = {0x40, 0x42, 0x0F, 0x00, 3, 0, 0, 0, 'n', 'i', 'l'};
    Core::MemoryFile million(lying.data(), static_cast<std::uint32_t>(lying.size()));
    sprite->SetNetworkDataFile(&million);
    EXPECT_EQ(script.Run("assert(select('#', sprite:LoadNetworkData()) == 0)"), "");
    sprite->SetNetworkDataFile(nullptr);
}

} // namespace

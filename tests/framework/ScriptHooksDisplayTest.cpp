#include "ParticleTestSupport.h"
#include "ScriptWorldSupport.h"

#include "framework/Velkor_ParticleEmitter.h"
#include "framework/Velkor_ParticleSystem.h"
#include "framework/Velkor_Text.h"

namespace
{

using WorldTest::Probe;
using ScriptHooksDisplayTest = WorldTest::ScriptWorldDisplayTest;

constexpr const char* MoverScript = R"(
    loads = (loads or 0) + 1
    function Constructor() constructed = (constructed or 0) + 1 end
    function OnStart() started = "yes" end
    function OnEnd() ended = "yes" end
    function Update(dt)
        frames = (frames or 0) + 1
        self:SetPosition(self:GetPositionX() + 1, self:GetPositionY())
    end
    function SumAndProduct(a, b) return a + b, a * b end
    function WhoAmI() return self:GetName() end
    function OnClone(source) clonedFrom = source:GetName() end
    function Destroy() destroyed = "yes" end
)";

TEST_F(ScriptHooksDisplayTest, AnObjectScriptRunsItsHooksAndAnswersOtherScripts)
{
    const std::string mover = WriteScript("mover.lua", MoverScript);
    Velkor::Layer& layer = AddLayer(0.0f, "ground");
    Core::RefPtr<Probe> rock(new Probe("rock"));
    // Scripts only run their hooks when enabled; the probe's own hooks
    // record and then run the base's.
    rock->onStart = [](Probe& probe) { probe.Velkor::GameObject::OnStart(); };
    rock->onUpdate = [](Probe& probe) { probe.Velkor::GameObject::Update(0.0f); };
    std::string endedSeen;
    rock->onEnd = [&endedSeen](Probe& probe)
    {
        probe.Velkor::GameObject::OnEnd();
        endedSeen = Global(probe, "ended");
    };
    rock->GetScriptAttachment().SetEnabled(true);
    SetGlobal("rock", rock.Get());
    ASSERT_EQ(script->Run("rock:SetScript([[" + mover + "]]); rock:RunScript()"), "");
    EXPECT_EQ(Global(*rock, "constructed"), "1");
    EXPECT_EQ(Global(*rock, "loads"), "1");
    EXPECT_EQ(Global(*rock, "started"), "nil");

    layer.AddGameObject(rock.Get());
    Tick(3);
    EXPECT_EQ(Global(*rock, "started"), "yes");
    EXPECT_EQ(Global(*rock, "frames"), "3");
    EXPECT_FLOAT_EQ(rock->GetPositionX(), 3.0f);
    EXPECT_EQ(Global(*rock, "constructed"), "1");

    // Values in, results out; a call for more results than the function
    // gives pads with nil; a function the script lacks gives nothing.
    EXPECT_EQ(script->Run(R"(
        local sum, product = rock:ObjectFunction("SumAndProduct", 2, 3, 4)
        assert(sum == 7 and product == 12)
        assert(select('#', rock:ObjectFunction("SumAndProduct", 1, 3, 4)) == 1)
        assert(select('#', rock:ObjectFunction("Missing", 1)) == 0)
        assert(rock:ObjectFunction("WhoAmI", 1) == "rock")
    )"),
              "");

    rock->Destroy();
    EXPECT_EQ(Global(*rock, "destroyed"), "yes");
    Tick();
    EXPECT_EQ(endedSeen, "yes");
    // The walk that ended the object took its script with it.
    EXPECT_EQ(Global(*rock, "ended"), "no script");
}

TEST_F(ScriptHooksDisplayTest, AClonesScriptHasTheCloneAsSelfAndHearsOfTheSource)
{
    const std::string mover = WriteScript("mover.lua", MoverScript);
    Core::RefPtr<Velkor::Text> rock(new Velkor::Text("rock", ""));
    rock->SetName("rock");
    rock->GetScriptAttachment().SetEnabled(true);
    SetGlobal("rock", rock.Get());
    ASSERT_EQ(script->Run("rock:SetScript([[" + mover + "]])" + R"(
        rock:RunScript()
        copy = rock:Clone()
        copy:SetName("pebble")
        assert(copy:GetID() ~= rock:GetID())
        assert(copy:ObjectFunction("WhoAmI", 1) == "pebble")
        assert(rock:ObjectFunction("WhoAmI", 1) == "rock")
        assert(copy:GetText() == "rock")
    )"),
              "");
    lua_getglobal(script->Get(), "copy");
    auto* copy = static_cast<Velkor::GameObject*>(Script::ToObject(script->Get(), -1, "Text"));
    lua_pop(script->Get(), 1);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(Global(*copy, "clonedFrom"), "rock");
    EXPECT_TRUE(copy->GetScriptAttachment().IsCloned());
    lua_getglobal(copy->GetScript()->GetThread(), "self");
    EXPECT_EQ(Script::ToObject(copy->GetScript()->GetThread(), -1, "Text"), copy);
    lua_pop(copy->GetScript()->GetThread(), 1);
}

TEST_F(ScriptHooksDisplayTest, TheLevelScriptRunsEveryFrameAndAnEmitterScriptPlacesParticles)
{
    const std::string levelScript = WriteScript("level.lua", R"(
        function Constructor() constructed = (constructed or 0) + 1 end
        function Update(dt) frames = (frames or 0) + 1 end
        function OnEnd() ended = "yes" end
    )");
    const std::string spray = WriteScript("spray.lua", R"(
        function GetPositionAndDirection(dt) return CreatePoint(7, 8), CreateVector(0, 1) end
    )");
    Velkor::Level& level = Level();
    SetGlobal("level", &level);
    ASSERT_EQ(script->Run("level:SetScript([[" + levelScript + "]]); level:RunScript()"), "");
    EXPECT_EQ(Global(level, "constructed"), "1");
    // The test level's own Update stands in front of the base's hook.
    level.Velkor::Level::Update(0.1f);
    level.Velkor::Level::Update(0.1f);
    EXPECT_EQ(Global(level, "frames"), "2");
    level.Velkor::Level::OnEnd();
    EXPECT_EQ(Global(level, "ended"), "yes");

    ParticleTest::FreshRecord record;
    record.count = 4;
    Core::RefPtr<Velkor::ParticleSystem> system = ParticleTest::LoadFresh(record);
    Core::RefPtr<Velkor::ParticleEmitter> emitter(new Velkor::ParticleEmitter());
    SetGlobal("emitter", emitter.Get());
    ASSERT_EQ(script->Run("emitter:SetScript([[" + spray + "]]); emitter:RunScript()"), "");
    system->SetEmitter(emitter.Get());
    system->SetEmissionRate(10.0f, 10.0f);
    system->SetParticleLifeTime(100.0f, 100.0f);
    system->SetParticleSpeed(2.0f, 2.0f);
    system->UpdateEngineSide(0.25f);
    std::uint32_t alive = 0;
    for (const Velkor::Particle& particle : system->GetParticles())
    {
        if (particle.alive)
        {
            ++alive;
            EXPECT_FLOAT_EQ(particle.origin.x, 7.0f);
            EXPECT_FLOAT_EQ(particle.origin.y, 8.0f);
            EXPECT_FLOAT_EQ(particle.velocity.y, 2.0f);
        }
    }
    EXPECT_EQ(alive, 2u);
    EXPECT_EQ(script->Run(R"(
        local at, direction = emitter:GetPositionAndDirection(0)
        assert(at.X == 7 and direction.Y == 1)
    )"),
              "");
}

} // namespace

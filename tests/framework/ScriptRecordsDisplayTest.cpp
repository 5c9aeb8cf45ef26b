#include "ParticleTestSupport.h"
#include "ScriptWorldSupport.h"

#include "framework/Velkor_NetworkFile.h"
#include "framework/Velkor_ParticleEmitter.h"
#include "framework/Velkor_ParticleSystem.h"
#include "framework/Velkor_Sprite.h"
#include "framework/Velkor_Text.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace
{

using WorldTest::Bytes;

// A script world with a shared global "template" that the scripts clone
// their managed objects from.
class ScriptRecordsDisplayTest : public WorldTest::ScriptWorldDisplayTest
{
protected:
    void SetUp() override
    {
        ScriptWorldDisplayTest::SetUp();
        if (IsSkipped())
        {
            return;
        }
        model = new Velkor::Text("model", "");
        SetGlobal("template", model.Get());
    }

    void TearDown() override
    {
        ScriptWorldDisplayTest::TearDown();
        model.Reset();
    }

    std::vector<std::uint8_t> SaveNow()
    {
        Core::MemoryFile file;
        game->SaveGame(file);
        return Bytes(file);
    }

    // The current level with a script, an object with a script and a
    // particle system whose emitter has one; each script keeps a managed
    // object, cloned from the template in its "Constructor" and changed
    // afterwards, so only its record brings the change back.
    void BuildScriptedLevel()
    {
        const std::string levelScript = WriteScript("level.lua", R"(
            function Constructor() keeper = template:Clone(); self:AddManagedObject(keeper, "keeper") end
            function Mark(text) keeper:SetText(text) end
            function Save() saves = (saves or 0) + 1 end
            function Load() restored = keeper:GetText() end
        )");
        const std::string rockScript = WriteScript("rock.lua", R"(
            constructed = (constructed or 0) + 1
            function Constructor()
                buddy = template:Clone()
                self:AddManagedObject(buddy, "buddy")
            end
            function Mark(text, x) buddy:SetText(text); buddy:SetPosition(x, 2) end
            function Save() saves = (saves or 0) + 1 end
            function Load() restored = buddy:GetText() .. "@" .. buddy:GetPositionX() end
        )");
        const std::string sprayScript = WriteScript("spray.lua", R"(
            function Constructor() spark = template:Clone(); self:AddManagedObject(spark, "spark") end
            function Aim(x) spark:SetPosition(x, 0) end
            function GetPositionAndDirection(dt) return CreatePoint(spark:GetPositionX(), 8), CreateVector(0, 1) end
            function Load() restored = spark:GetPositionX() end
        )");
        Velkor::Layer& layer = AddLayer(0.0f, "play");
        SetGlobal("level", &Level());
        ASSERT_EQ(script->Run("level:SetScript([[" + levelScript + "]]); level:RunScript()"), "");

        Core::RefPtr<Velkor::Text> rock(new Velkor::Text("rock", ""));
        rock->SetName("rock");
        rock->GetScriptAttachment().SetEnabled(true);
        layer.AddGameObject(rock.Get());
        SetGlobal("rock", rock.Get());
        ASSERT_EQ(script->Run("rock:SetScript([[" + rockScript + "]]); rock:RunScript()"), "");

        ParticleTest::FreshRecord record;
        record.count = 6;
        Core::RefPtr<Velkor::ParticleEmitter> emitter(new Velkor::ParticleEmitter());
        emitter->GetScriptAttachment().SetEnabled(true);
        record.emitter = emitter.Get();
        Core::RefPtr<Velkor::ParticleSystem> sparks = ParticleTest::LoadFresh(record);
        sparks->SetName("sparks");
        sparks->SetEmissionRate(20.0f, 20.0f);
        sparks->SetParticleLifeTime(10.0f, 10.0f);
        layer.AddGameObject(sparks.Get());
        SetGlobal("emitter", sparks->GetEmitter());
        ASSERT_EQ(script->Run("emitter:SetScript([[" + sprayScript + "]]); emitter:RunScript()"), "");

        ASSERT_EQ(script->Run(R"(
            level:ObjectFunction("Mark", 0, "kept")
            rock:ObjectFunction("Mark", 0, "moved", 42)
            emitter:ObjectFunction("Aim", 0, 7)
        )"),
                  "");
        Tick(3);
    }

    Core::RefPtr<Velkor::Text> model;
};

TEST_F(ScriptRecordsDisplayTest, AScriptedLevelSavesAndLoadsItsScriptsAndTheirManagedObjects)
{
    BuildScriptedLevel();
    const std::vector<std::uint8_t> first = SaveNow();
    Velkor::Text* savedRock = Velkor::FindObject<Velkor::Text>("rock");
    ASSERT_NE(savedRock, nullptr);
    EXPECT_EQ(Global(*savedRock, "saves"), "1");
    EXPECT_EQ(Global(Level(), "saves"), "1");

    std::string error;
    ASSERT_TRUE(game->LoadGame(first, error)) << error;
    EXPECT_EQ(SaveNow(), first);

    // Each script was loaded again with its "Constructor" once, and its
    // "Load" hook found the managed object as it was saved.
    Velkor::Text* rock = Velkor::FindObject<Velkor::Text>("rock");
    ASSERT_NE(rock, nullptr);
    EXPECT_TRUE(rock->GetScriptAttachment().IsEnabled());
    EXPECT_EQ(Global(*rock, "constructed"), "1");
    EXPECT_EQ(Global(*rock, "restored"), "moved@42");
    ASSERT_EQ(rock->GetManagedObjects().size(), 1u);
    EXPECT_EQ(rock->GetManagedObjects()[0]->GetLayer(), nullptr);
    EXPECT_EQ(Global(Level(), "restored"), "kept");
    auto* sparks = Velkor::FindObject<Velkor::ParticleSystem>("sparks");
    ASSERT_TRUE(sparks != nullptr && sparks->GetEmitter() != nullptr);
    EXPECT_EQ(Global(*sparks->GetEmitter(), "restored"), "7");

    // The loaded emitter's script places the particles again.
    Tick(2);
    std::uint32_t alive = 0;
    for (const Velkor::Particle& particle : sparks->GetParticles())
    {
        if (particle.alive)
        {
            ++alive;
            EXPECT_FLOAT_EQ(particle.origin.x, 7.0f);
        }
    }
    EXPECT_GT(alive, 0u);
}

TEST_F(ScriptRecordsDisplayTest, DamagedCopiesOfAScriptedSaveLeaveTheRunningLevelAsItWas)
{
    BuildScriptedLevel();
    const std::vector<std::uint8_t> good = SaveNow();
    WorldTest::ExpectDamagedSavesLeaveTheGame(
        *game, good, [this] { return SaveNow(); }, 4321);
    Velkor::Text* rock = Velkor::FindObject<Velkor::Text>("rock");
    ASSERT_NE(rock, nullptr);
    EXPECT_EQ(Global(*rock, "restored"), "moved@42");
}

// Only a running script can read the managed records it wrote: a save whose
// level, object or emitter script no longer loads is refused whole, since
// the records after the part would be read from the wrong place. (The
// running game is brought back from its own save, which needs the same
// scripts, so it is checked once the file is back.)
TEST_F(ScriptRecordsDisplayTest, ASaveWhoseScriptNoLongerLoadsIsRefused)
{
    BuildScriptedLevel();
    const std::vector<std::uint8_t> good = SaveNow();
    for (const char* name : {"level.lua", "rock.lua", "spray.lua"})
    {
        SCOPED_TRACE(name);
        std::string code;
        {
            std::ifstream in(folder / name, std::ios::binary);
            code.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        ASSERT_FALSE(code.empty());
        std::filesystem::remove(folder / name);
        std::string error;
        EXPECT_FALSE(game->LoadGame(good, error));
        EXPECT_FALSE(error.empty());
        WriteScript(name, code);
        ASSERT_TRUE(game->LoadGame(good, error)) << error;
        EXPECT_EQ(SaveNow(), good);
    }
}

TEST_F(ScriptRecordsDisplayTest, AnObjectWhoseScriptCannotWriteItsPartSavesItAsNotLoaded)
{
    // Enabled and loaded, but the script is gone (as after Detach): a
    // reader would look for managed records that were never written.
    const std::string gone = WriteScript("gone.lua", "function Constructor() end");
    Core::RefPtr<Velkor::Text> rock(new Velkor::Text("rock", ""));
    rock->GetScriptAttachment().SetEnabled(true);
    rock->GetScriptAttachment().SetFile(gone);
    rock->LoadScript(false);
    ASSERT_TRUE(rock->GetScriptAttachment().IsRunning());
    rock->GetScriptAttachment().Release();
    Core::MemoryFile file;
    rock->Write(file);
    Core::MemoryFile back(file.GetData(), file.GetSize());
    Core::RefPtr<Velkor::Text> copy(new Velkor::Text("", ""));
    copy->Read(back);
    ASSERT_FALSE(back.Failed());
    EXPECT_EQ(back.GetBytesLeft(), 0u);
    EXPECT_FALSE(copy->GetScriptAttachment().IsLoaded());
    EXPECT_EQ(copy->GetScript(), nullptr);
}

TEST_F(ScriptRecordsDisplayTest, RecordsNamingAScriptOutsideTheScriptsFolderAreRefused)
{
    const struct
    {
        const char* name;
        bool inFolder;
    } cases[] = {
        {"", true},           {"hero.lua", true},       {"enemies\\bat.lua", true}, {"a..b.lua", true},
        {"../x.lua", false},  {"..\\x.lua", false},     {"a/../../x.lua", false},  {"/etc/x.lua", false},
        {"\\x.lua", false},   {"C:\\x.lua", false},     {"a\\..", false},
    };
    for (const auto& entry : cases)
    {
        EXPECT_EQ(Velkor::ScriptAttachment::IsFileNameInFolder(entry.name), entry.inFolder) << entry.name;
    }
    // A saved record naming one fails and leaves the object as it was.
    Core::RefPtr<Velkor::Text> rock(new Velkor::Text("rock", ""));
    rock->SetName("rock");
    rock->GetScriptAttachment().SetEnabled(true);
    rock->GetScriptAttachment().SetLoaded(true);
    rock->GetScriptAttachment().SetFile("../outside.lua");
    Core::MemoryFile file;
    rock->Write(file);
    Core::MemoryFile back(file.GetData(), file.GetSize());
    Core::RefPtr<Velkor::Text> copy(new Velkor::Text("", ""));
    copy->Read(back);
    EXPECT_TRUE(back.Failed());
    EXPECT_EQ(copy->GetName(), "");
    EXPECT_EQ(copy->GetScriptAttachment().GetFile(), "");
}

constexpr const char* NetworkScript = R"(
    function Constructor() constructed = (constructed or 0) + 1 end
    function NetworkSave() self:SaveNetworkData(7, "x", CreateColor(1, 0.5, 0, 1)) end
    function NetworkLoad()
        local number, text, color = self:LoadNetworkData()
        got = number .. text .. color.G
    end
    function NetworkSyncSend() self:SaveNetworkData(self:GetPositionX(), coroutine.create(function() end)) end
    function NetworkSyncReceive()
        local x, thread = self:LoadNetworkData()
        synced = tostring(x) .. "," .. tostring(thread)
    end
)";

TEST_F(ScriptRecordsDisplayTest, NetworkHooksCarryScriptValuesBetweenTheRecordsFields)
{
    const std::string net = WriteScript("net.lua", NetworkScript);
    Core::RefPtr<Velkor::Sprite> sender(new Velkor::Sprite());
    sender->SetName("a");
    sender->SetPosition(5.0f, 0.0f);
    sender->GetScriptAttachment().SetEnabled(true);
    sender->GetScriptAttachment().SetFile(net);
    sender->LoadScript(false);

    // The creation record: the peer's copy loads the script with its
    // "Constructor" and its "NetworkLoad" reads what "NetworkSave" wrote.
    Velkor::NetworkFile created;
    created.WriteNetworkObject(sender.Get());
    Velkor::NetworkFile createdBack(created.GetData(), created.GetSize());
    Core::RefPtr<Core::Object> read(createdBack.ReadNetworkObject());
    auto* copy = dynamic_cast<Velkor::Sprite*>(read.Get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(createdBack.GetBytesLeft(), 0u);
    EXPECT_EQ(copy->GetName(), "a");
    EXPECT_EQ(Global(*copy, "constructed"), "1");
    EXPECT_EQ(Global(*copy, "got"), "7x0.5");

    // The sync record: a receiver without a script loads it without the
    // "Constructor"; the values lie between the base's fields and the
    // sprite's, which still read after them.
    Velkor::NetworkFile synced;
    {
        Velkor::NetworkDataScope scope(*sender, synced);
        sender->NetworkSyncSend(synced);
    }
    Core::RefPtr<Velkor::Sprite> receiver(new Velkor::Sprite());
    {
        Velkor::NetworkFile back(synced.GetData(), synced.GetSize());
        Velkor::NetworkDataScope scope(*receiver, back);
        receiver->NetworkSyncReceive(back);
        EXPECT_FALSE(back.Failed());
        EXPECT_EQ(back.GetBytesLeft(), 0u);
    }
    EXPECT_EQ(Global(*receiver, "constructed"), "nil");
    EXPECT_EQ(Global(*receiver, "synced"), "5,nil");
    EXPECT_EQ(receiver->GetName(), "a");

    // A sync record whose script values are damaged is refused whole: the
    // receiver keeps its fields.
    std::vector<std::uint8_t> damaged = Bytes(synced);
    Core::RefPtr<Velkor::Sprite> other(new Velkor::Sprite());
    other->SetName("kept");
    const std::string tag = "tnum";
    const auto at = std::search(damaged.begin(), damaged.end(), tag.begin(), tag.end());
    ASSERT_NE(at, damaged.end());
    *(at - 8) = 0x7F; // the value count
    {
        Velkor::NetworkFile back(damaged.data(), static_cast<std::uint32_t>(damaged.size()));
        Velkor::NetworkDataScope scope(*other, back);
        other->NetworkSyncReceive(back);
        EXPECT_TRUE(back.Failed());
    }
    EXPECT_EQ(other->GetName(), "kept");
}

} // namespace

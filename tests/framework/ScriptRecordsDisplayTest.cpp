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
#include <optional>

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

    // The sending side of the network tests: sprite "a" at x 5 running `script`.
    static Core::RefPtr<Velkor::Sprite> ScriptedSender(const std::string& script)
    {
        Core::RefPtr<Velkor::Sprite> sender(new Velkor::Sprite());
        sender->SetName("a");
        sender->SetPosition(5.0f, 0.0f);
        sender->GetScriptAttachment().SetEnabled(true);
        sender->GetScriptAttachment().SetFile(script);
        sender->LoadScript(false);
        return sender;
    }

    std::vector<std::uint8_t> SaveNow()
    {
        Core::MemoryFile file;
        game->SaveGame(file);
        return Bytes(file);
    }

    // A refused load: it gives a reason, and the game still saves `before`.
    void ExpectRefused(const std::vector<std::uint8_t>& save, const std::vector<std::uint8_t>& before)
    {
        std::string error;
        EXPECT_FALSE(game->LoadGame(save, error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(SaveNow(), before);
    }

    // The current level with a script, an object with a script and a
    // particle system whose emitter has one; each script keeps a managed
    // object, cloned from the template in its "Constructor" and changed
    // afterwards, so only its record brings the change back. Each
    // "Constructor" also keeps a "spare" while the template's text says so.
    void BuildScriptedLevel()
    {
        const std::string levelScript = WriteScript("level.lua", R"(
            function Constructor() keeper = template:Clone(); self:AddManagedObject(keeper, "keeper") if template:GetText() == "spare" then spare = template:Clone(); self:AddManagedObject(spare, "spare") end end
            function Mark(text) keeper:SetText(text) end
            function Save() saves = (saves or 0) + 1 end
            function Load() restored = keeper:GetText() end
        )");
        const std::string rockScript = WriteScript("rock.lua", R"(
            constructed = (constructed or 0) + 1
            function Constructor()
                buddy = template:Clone()
                self:AddManagedObject(buddy, "buddy")
                if template:GetText() == "spare" then spare = template:Clone(); self:AddManagedObject(spare, "spare") end
            end
            function Mark(text, x) buddy:SetText(text); buddy:SetPosition(x, 2) end
            function Spawn(text)
                extra = template:Clone()
                extra:SetText(text)
                self:AddManagedObject(extra, "extra")
            end
            function Place() play:AddGameObject(buddy) end
            function Save() saves = (saves or 0) + 1 end
            function Load()
                local late = extra and "/" .. extra:GetText() or ""
                restored = buddy:GetText() .. "@" .. buddy:GetPositionX() .. late
            end
        )");
        const std::string sprayScript = WriteScript("spray.lua", R"(
            function Constructor() spark = template:Clone(); self:AddManagedObject(spark, "spark") if template:GetText() == "spare" then spare = template:Clone(); self:AddManagedObject(spare, "spare") end end
            function Aim(x) spark:SetPosition(x, 0) end
            function Hang() rock:Mount(spark) end
            function GetPositionAndDirection(dt) return CreatePoint(spark:GetPositionX(), 8), CreateVector(0, 1) end
            function Load() restored = spark:GetPositionX() end
        )");
        Velkor::Layer& layer = AddLayer(0.0f, "play");
        SetGlobal("level", &Level());
        SetGlobal("play", &layer);
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

// A script may add managed objects at any time, not only in its
// "Constructor": the save brings back every one, as it was saved.
TEST_F(ScriptRecordsDisplayTest, ManagedObjectsAddedAfterTheConstructorComeBackWithTheSave)
{
    BuildScriptedLevel();
    ASSERT_EQ(script->Run(R"(rock:ObjectFunction("Spawn", 0, "late"))"), "");
    const std::vector<std::uint8_t> saved = SaveNow();
    std::string error;
    ASSERT_TRUE(game->LoadGame(saved, error)) << error;
    EXPECT_EQ(SaveNow(), saved);
    Velkor::Text* rock = Velkor::FindObject<Velkor::Text>("rock");
    ASSERT_NE(rock, nullptr);
    ASSERT_EQ(rock->GetManagedObjects().size(), 2u);
    auto* extra = dynamic_cast<Velkor::Text*>(rock->GetManagedObjects()[1].Get());
    ASSERT_NE(extra, nullptr);
    EXPECT_EQ(extra->GetText(), "late");
    EXPECT_EQ(Global(*rock, "restored"), "moved@42/late");
}

// A "Constructor" that manages more at the load than the save holds (its
// script or what it looks at changed): the saved objects take the place of
// all it made, and its names that the save lacks name nothing.
TEST_F(ScriptRecordsDisplayTest, NamesTheSaveLacksNameNothingAfterTheLoad)
{
    BuildScriptedLevel();
    const std::vector<std::uint8_t> saved = SaveNow();
    model->SetText("spare");
    std::string error;
    ASSERT_TRUE(game->LoadGame(saved, error)) << error;
    EXPECT_EQ(SaveNow(), saved);
    Velkor::Text* rock = Velkor::FindObject<Velkor::Text>("rock");
    auto* sparks = Velkor::FindObject<Velkor::ParticleSystem>("sparks");
    ASSERT_TRUE(rock != nullptr && sparks != nullptr && sparks->GetEmitter() != nullptr);
    const Core::Object* const scripted[] = {&Level(), rock, sparks->GetEmitter()};
    for (const Core::Object* object : scripted)
    {
        EXPECT_EQ(Global(*object, "spare"), "nil");
    }
    EXPECT_EQ(Global(*rock, "restored"), "moved@42");
}

// A managed object that a layer also holds is one object after the load:
// the layer's and the script's.
TEST_F(ScriptRecordsDisplayTest, AManagedObjectThatALayerAlsoHoldsLoadsAsOneObject)
{
    BuildScriptedLevel();
    ASSERT_EQ(script->Run(R"(rock:ObjectFunction("Place", 0))"), "");
    Tick();
    const std::vector<std::uint8_t> saved = SaveNow();
    std::string error;
    ASSERT_TRUE(game->LoadGame(saved, error)) << error;
    EXPECT_EQ(SaveNow(), saved);
    Velkor::Text* rock = Velkor::FindObject<Velkor::Text>("rock");
    ASSERT_NE(rock, nullptr);
    ASSERT_EQ(rock->GetManagedObjects().size(), 1u);
    Velkor::GameObject* buddy = rock->GetManagedObjects()[0].Get();
    std::vector<Core::RefPtr<Velkor::GameObject>> objects;
    Level().GetGameObjects(objects);
    EXPECT_EQ(std::count(objects.begin(), objects.end(), Core::RefPtr<Velkor::GameObject>(buddy)), 1);
    EXPECT_EQ(buddy->GetLayer(), Level().GetLayer(0));
    EXPECT_EQ(Global(*rock, "restored"), "moved@42");
}

// An emitter's managed object mounted on an object of a layer breaks the
// links a save must keep: the save is refused, and what the refused load
// made goes without touching what it freed.
TEST_F(ScriptRecordsDisplayTest, ASaveWhoseEmitterManagesAMountedObjectIsRefusedWhole)
{
    BuildScriptedLevel();
    const std::vector<std::uint8_t> good = SaveNow();
    ASSERT_EQ(script->Run(R"(emitter:ObjectFunction("Hang", 0))"), "");
    const std::vector<std::uint8_t> hung = SaveNow();
    ASSERT_EQ(script->Run("rock:UnMount(rock:GetMount(0))"), "");
    ASSERT_EQ(SaveNow(), good);
    ExpectRefused(hung, good);
}

// An emitter managing what holds it (the particle system it drives, or an
// object managing that system) would keep it alive with itself: a script
// cannot add one, and a save naming such a loop is refused whole, nothing
// of it left behind.
TEST_F(ScriptRecordsDisplayTest, AnEmitterCannotManageWhatHoldsIt)
{
    BuildScriptedLevel();
    auto* sparks = Velkor::FindObject<Velkor::ParticleSystem>("sparks");
    ASSERT_TRUE(sparks != nullptr && sparks->GetEmitter() != nullptr);
    SetGlobal("sparks", sparks);
    const char* const scripts[] = {
        R"(emitter:AddManagedObject(sparks, "sys"))",
        R"(rock:AddManagedObject(sparks, "held"); emitter:AddManagedObject(rock, "rock"))",
    };
    for (const char* text : scripts)
    {
        SCOPED_TRACE(text);
        ASSERT_EQ(script->Run(text), "");
        EXPECT_EQ(sparks->GetEmitter()->GetManagedObjectNames(), std::vector<std::string>{"spark"});
    }

    // A second system, managed by the emitter, made to draw from it.
    ParticleTest::FreshRecord record;
    record.count = 2;
    Core::RefPtr<Velkor::ParticleEmitter> own(new Velkor::ParticleEmitter());
    record.emitter = own.Get();
    Core::RefPtr<Velkor::ParticleSystem> other = ParticleTest::LoadFresh(record);
    SetGlobal("other", other.Get());
    ASSERT_EQ(script->Run(R"(emitter:AddManagedObject(other, "other"))"), "");
    other->SetEmitter(sparks->GetEmitter());
    const std::vector<std::uint8_t> loop = SaveNow();
    other->SetEmitter(own.Get());
    const std::vector<std::uint8_t> good = SaveNow();
    ExpectRefused(loop, good);
}

// A level's record holds its managed objects' records, so a level managing
// another level could be managed by it in turn: neither a script nor a
// record can make a level manage one.
TEST_F(ScriptRecordsDisplayTest, ALevelCannotManageALevel)
{
    const std::string quiet = WriteScript("twin.lua", "function Constructor() end");
    Core::RefPtr<Velkor::Level> first(new Velkor::Level());
    Core::RefPtr<Velkor::Level> second(new Velkor::Level());
    first->SetScriptFile(quiet);
    first->RunScript();
    ASSERT_TRUE(first->GetScriptAttachment().IsRunning());
    // The record of a level managing nothing ends with its count of managed
    // objects: in its place, one entry naming a level.
    Core::MemoryFile written;
    first->Write(written);
    std::vector<std::uint8_t> bytes = Bytes(written);
    ASSERT_GE(bytes.size(), 4u);
    bytes.resize(bytes.size() - 4);
    Core::MemoryFile crafted;
    crafted.Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    crafted << std::uint32_t{1} << std::string("second");
    crafted.WriteObject(second.Get());
    const std::vector<std::uint8_t> record = Bytes(crafted);
    Core::MemoryFile back(record.data(), static_cast<std::uint32_t>(record.size()));
    Core::RefPtr<Velkor::Level> copy(new Velkor::Level());
    copy->Read(back);
    EXPECT_TRUE(back.Failed());
    EXPECT_TRUE(copy->GetManagedObjects().empty());

    SetGlobal("first", first.Get());
    SetGlobal("second", second.Get());
    ASSERT_EQ(
        script->Run(R"(first:AddManagedObject(second, "second"); first:AddManagedObject(first, "first"))"),
        "");
    EXPECT_TRUE(first->GetManagedObjects().empty());
}

// A managed object's name becomes a global of its owner's script: a name
// that is not a Lua name, that would replace "self" or a hook, or that is
// given twice is refused, the same from a script as from a save.
TEST_F(ScriptRecordsDisplayTest, ManagedObjectNamesMustBeFreeScriptNames)
{
    const struct
    {
        const char* name;
        bool taken;
    } cases[] = {
        {"keeper", true}, {"_x1", true},      {"Loader", true},       {"", false},
        {"1x", false},    {"a b", false},     {"a.b", false},         {"end", false},
        {"nil", false},   {"self", false},    {"Update", false},      {"Load", false},
        {"Save", false},  {"OnStart", false}, {"NetworkLoad", false}, {"buddy", false},
    };
    // "buddy" is given already.
    const std::vector<std::string> given{"buddy"};
    for (const auto& entry : cases)
    {
        EXPECT_EQ(Velkor::ScriptAttachment::IsManagedObjectName(entry.name, given), entry.taken)
            << entry.name;
    }

    BuildScriptedLevel();
    ASSERT_EQ(script->Run(R"(
        rock:AddManagedObject(template:Clone(), "Update")
        rock:AddManagedObject(template:Clone(), "buddy")
        level:AddManagedObject(template:Clone(), "self")
        emitter:AddManagedObject(template:Clone(), "spark")
    )"),
              "");
    Velkor::Text* rock = Velkor::FindObject<Velkor::Text>("rock");
    ASSERT_NE(rock, nullptr);
    EXPECT_EQ(rock->GetManagedObjects().size(), 1u);
    EXPECT_EQ(Level().GetManagedObjects().size(), 1u);
    auto* sparks = Velkor::FindObject<Velkor::ParticleSystem>("sparks");
    ASSERT_TRUE(sparks != nullptr && sparks->GetEmitter() != nullptr);
    EXPECT_EQ(sparks->GetEmitter()->GetManagedObjectNames(), std::vector<std::string>{"spark"});

    // A save naming one (each written in the place of a name of the same
    // length) is refused whole.
    ASSERT_EQ(script->Run(R"(rock:ObjectFunction("Spawn", 0, "late"))"), "");
    const std::vector<std::uint8_t> good = SaveNow();
    const std::pair<std::string, std::string> renames[] = {
        {"keeper", "Update"}, {"keeper", "kee.er"}, {"buddy", "OnEnd"},
        {"spark", "1park"},   {"extra", "buddy"},
    };
    for (const auto& [from, to] : renames)
    {
        SCOPED_TRACE(from + " -> " + to);
        // The name as a record holds it: its length, then its bytes.
        std::vector<std::uint8_t> pattern{static_cast<std::uint8_t>(from.size()), 0, 0, 0};
        pattern.insert(pattern.end(), from.begin(), from.end());
        std::vector<std::uint8_t> renamed = good;
        const auto at = std::search(renamed.begin(), renamed.end(), pattern.begin(), pattern.end());
        ASSERT_NE(at, renamed.end());
        std::copy(to.begin(), to.end(), at + 4);
        ExpectRefused(renamed, good);
    }
}

// Only a running script can read the part it wrote: a save naming a script
// that no longer loads is refused whole, and the running game stays as it
// was. The quiet object's script manages nothing, so its part holds no
// object records: a reader that did not insist on the script would load it.
TEST_F(ScriptRecordsDisplayTest, ASaveWhoseScriptNoLongerLoadsIsRefused)
{
    BuildScriptedLevel();
    const std::string quiet = WriteScript("quiet.lua", "function Constructor() made = true end");
    Core::RefPtr<Velkor::Text> pebble(new Velkor::Text("pebble", ""));
    pebble->SetName("pebble");
    pebble->GetScriptAttachment().SetEnabled(true);
    pebble->GetScriptAttachment().SetFile(quiet);
    pebble->LoadScript(false);
    Level().GetLayer(0)->AddGameObject(pebble.Get());
    Tick();
    const std::vector<std::uint8_t> good = SaveNow();
    // The same save naming a script file that is not there (same length).
    for (const std::string name : {"quiet.lua", "level.lua", "rock.lua", "spray.lua"})
    {
        SCOPED_TRACE(name);
        std::vector<std::uint8_t> renamed = good;
        const auto at = std::search(renamed.begin(), renamed.end(), name.begin(), name.end());
        ASSERT_NE(at, renamed.end());
        *at = 'X';
        ExpectRefused(renamed, good);
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
    Core::RefPtr<Velkor::Sprite> sender = ScriptedSender(net);

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

// Sends the sender's creation and sync records.
struct SentRecords
{
    std::vector<std::uint8_t> created;
    std::vector<std::uint8_t> synced;
};

SentRecords Send(Velkor::Sprite& sender)
{
    SentRecords sent;
    Velkor::NetworkFile created;
    created.WriteNetworkObject(&sender);
    sent.created = Bytes(created);
    Velkor::NetworkFile synced;
    {
        Velkor::NetworkDataScope scope(sender, synced);
        sender.NetworkSyncSend(synced);
    }
    sent.synced = Bytes(synced);
    return sent;
}

bool Receive(Velkor::GameObject& receiver, const std::vector<std::uint8_t>& bytes,
             std::uint64_t* left = nullptr)
{
    Velkor::NetworkFile back(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    Velkor::NetworkDataScope scope(receiver, back);
    receiver.NetworkSyncReceive(back);
    if (left != nullptr)
    {
        *left = back.GetBytesLeft();
    }
    return !back.Failed();
}

// The hooks' values travel in the record's own frame whatever the object's
// network data file is while the record is written or read: none, or a
// file other than the record's (an outer message's).
TEST_F(ScriptRecordsDisplayTest, HookValuesTravelInTheRecordWhateverTheDataFile)
{
    const std::string net = WriteScript("net.lua", NetworkScript);
    Core::RefPtr<Velkor::Sprite> sender = ScriptedSender(net);
    for (const bool elsewhere : {false, true})
    {
        SCOPED_TRACE(elsewhere ? "another data file" : "no data file");
        Velkor::NetworkFile outer;
        Velkor::NetworkFile synced;
        {
            std::optional<Velkor::NetworkDataScope> scope;
            if (elsewhere)
            {
                scope.emplace(*sender, outer);
            }
            sender->NetworkSyncSend(synced);
        }
        EXPECT_EQ(outer.GetSize(), 0u);
        Core::RefPtr<Velkor::Sprite> receiver(new Velkor::Sprite());
        receiver->GetScriptAttachment().SetEnabled(true);
        receiver->GetScriptAttachment().SetFile(net);
        receiver->LoadScript(false);
        Velkor::NetworkFile back(synced.GetData(), synced.GetSize());
        {
            std::optional<Velkor::NetworkDataScope> scope;
            if (elsewhere)
            {
                scope.emplace(*receiver, outer);
            }
            receiver->NetworkSyncReceive(back);
        }
        EXPECT_FALSE(back.Failed());
        EXPECT_EQ(back.GetBytesLeft(), 0u);
        EXPECT_EQ(Global(*receiver, "synced"), "5,nil");
    }
}

// A peer that lacks the sender's script still reads the whole record: the
// script's values are passed over, the fields after them read, and the
// missing script is looked for once, not at every sync.
TEST_F(ScriptRecordsDisplayTest, APeerWithoutTheScriptPassesItsValuesOver)
{
    const std::string net = WriteScript("net.lua", NetworkScript);
    Core::RefPtr<Velkor::Sprite> sender = ScriptedSender(net);
    const SentRecords sent = Send(*sender);
    // This process plays the peer: the script is gone from its disk and
    // from its compiled scripts.
    std::filesystem::remove(folder / "net.lua");
    sender->GetScriptAttachment().Release();

    Velkor::NetworkFile created(sent.created.data(), static_cast<std::uint32_t>(sent.created.size()));
    Core::RefPtr<Core::Object> read(created.ReadNetworkObject());
    auto* copy = dynamic_cast<Velkor::Sprite*>(read.Get());
    ASSERT_NE(copy, nullptr);
    EXPECT_FALSE(created.Failed());
    EXPECT_EQ(created.GetBytesLeft(), 0u);
    EXPECT_FALSE(copy->GetScriptAttachment().IsRunning());

    Core::RefPtr<Velkor::Sprite> receiver(new Velkor::Sprite());
    const std::int32_t scriptsBefore = LuaScript::GetConstructedCount();
    for (int sync = 0; sync < 3; ++sync)
    {
        std::uint64_t left = 1;
        EXPECT_TRUE(Receive(*receiver, sent.synced, &left));
        EXPECT_EQ(left, 0u);
    }
    EXPECT_EQ(receiver->GetName(), "a");
    EXPECT_LE(LuaScript::GetConstructedCount() - scriptsBefore, 1);
}

// A sync record that fails anywhere, its script values included, changes
// nothing on the receiver: not its fields, not its script.
TEST_F(ScriptRecordsDisplayTest, ASyncRecordThatFailsChangesNothing)
{
    const std::string net = WriteScript("net.lua", NetworkScript);
    Core::RefPtr<Velkor::Sprite> sender = ScriptedSender(net);
    const std::vector<std::uint8_t> whole = Send(*sender).synced;
    for (std::size_t size = 0; size < whole.size(); ++size)
    {
        SCOPED_TRACE(size);
        const std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
        Core::RefPtr<Velkor::Sprite> receiver(new Velkor::Sprite());
        receiver->SetName("kept");
        EXPECT_FALSE(Receive(*receiver, cut));
        EXPECT_EQ(receiver->GetName(), "kept");
        EXPECT_EQ(receiver->GetScript(), nullptr);
        EXPECT_EQ(receiver->GetScriptAttachment().GetFile(), "");
    }
}

// A networked copy is made from its template by a clone and then loads the
// script its creation record names: the "Constructor" runs once, and the
// copy manages what that one run made.
TEST_F(ScriptRecordsDisplayTest, ANetworkedCopyRunsItsConstructorOnce)
{
    const std::string net = WriteScript("ball.lua", R"(
        function Constructor()
            constructed = (constructed or 0) + 1
            buddy = template:Clone()
            self:AddManagedObject(buddy, "buddy")
        end
    )");
    Core::RefPtr<Velkor::Sprite> sender(new Velkor::Sprite());
    sender->GetScriptAttachment().SetEnabled(true);
    sender->GetScriptAttachment().SetFile(net);
    sender->LoadScript(false);
    ASSERT_EQ(sender->GetManagedObjects().size(), 1u);
    // The peer's template: the same object as registered there.
    Core::RefPtr<Velkor::Sprite> base(new Velkor::Sprite());
    base->GetScriptAttachment().SetEnabled(true);
    base->GetScriptAttachment().SetFile(net);
    base->LoadScript(false);

    Velkor::NetworkFile created;
    {
        Velkor::NetworkDataScope scope(*sender, created);
        sender->NetworkSave(created);
    }
    Core::RefPtr<Velkor::GameObject> copy(static_cast<Velkor::GameObject*>(base->Clone()));
    {
        Velkor::NetworkFile back(created.GetData(), created.GetSize());
        Velkor::NetworkDataScope scope(*copy, back);
        copy->NetworkLoad(back);
        EXPECT_FALSE(back.Failed());
    }
    EXPECT_TRUE(copy->GetScriptAttachment().IsRunning());
    EXPECT_EQ(Global(*copy, "constructed"), "1");
    EXPECT_EQ(copy->GetManagedObjects().size(), 1u);
}

// An emitter read that fails changes nothing: its script (not run again),
// its managed objects and its fields stay as they were.
TEST_F(ScriptRecordsDisplayTest, AnEmitterReadThatFailsChangesNothing)
{
    const std::string spray = WriteScript("spray.lua", R"(
        function Constructor()
            constructed = (constructed or 0) + 1
            spark = template:Clone()
            self:AddManagedObject(spark, "spark")
        end
    )");
    Core::RefPtr<Velkor::PointEmitter> source(
        new Velkor::PointEmitter(Math::Vector2D(3.0f, 4.0f), 10.0f, 20.0f));
    source->GetScriptAttachment().SetEnabled(true);
    source->SetScriptFile(spray);
    source->RunScript();
    Core::MemoryFile file;
    source->Write(file);
    const std::vector<std::uint8_t> whole = Bytes(file);

    Core::RefPtr<Velkor::PointEmitter> emitter(
        new Velkor::PointEmitter(Math::Vector2D(1.0f, 2.0f), 0.0f, 90.0f));
    emitter->GetScriptAttachment().SetEnabled(true);
    emitter->SetScriptFile(spray);
    emitter->RunScript();
    LuaScript* before = emitter->GetScript();
    const Core::RefPtr<Core::Object> spark = emitter->GetManagedObjects().at(0);
    for (std::size_t size = 0; size < whole.size(); ++size)
    {
        SCOPED_TRACE(size);
        Core::MemoryFile cut(whole.data(), static_cast<std::uint32_t>(size));
        emitter->Read(cut);
        EXPECT_TRUE(cut.Failed());
        EXPECT_EQ(emitter->GetScript(), before);
        EXPECT_EQ(Global(*emitter, "constructed"), "1");
        ASSERT_EQ(emitter->GetManagedObjects().size(), 1u);
        EXPECT_EQ(emitter->GetManagedObjects()[0], spark);
        EXPECT_FLOAT_EQ(emitter->position.x, 1.0f);
        EXPECT_FLOAT_EQ(emitter->maxAngle, 90.0f);
    }
    // The whole record reads.
    Core::MemoryFile back(whole.data(), static_cast<std::uint32_t>(whole.size()));
    emitter->Read(back);
    EXPECT_FALSE(back.Failed());
    EXPECT_FLOAT_EQ(emitter->position.x, 3.0f);
    EXPECT_EQ(emitter->GetManagedObjects().size(), 1u);
}

} // namespace

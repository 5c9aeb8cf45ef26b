#include "ParticleTestSupport.h"
#include "RandomDrawSupport.h"
#include "SpriteTestSupport.h"

#include "core/Core_ClassRegistry.h"
#include "core/Core_MemoryFile.h"
#include "core/Core_Random.h"
#include "engine/Engine_ParticleSystem.h"
#include "engine/Engine_TransformationGroup.h"
#include "framework/Velkor_ParticleEmitter.h"
#include "framework/Velkor_ParticleSystem.h"
#include "pal/PAL_FileSystem.h"
#include "renderer/Renderer_TextureCache.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace
{

using ParticleTest::FixedEmitter;
using ParticleTest::FreshRecord;
using ParticleTest::LoadFresh;
using Vec = Math::Vector2D;

// A loaded pool in local coordinates whose particles start at `origin`
// going along `direction` at speed 1, living `life` seconds, emitted at
// `rate` per second.
struct Pool
{
    Pool(std::uint32_t count, float rate, float life, Vec origin = {}, Vec direction = {1.0f, 0.0f})
    {
        FreshRecord record;
        record.count = count;
        system = LoadFresh(record);
        emitter = new FixedEmitter(origin, direction);
        system->SetEmitter(emitter.Get());
        system->SetEmissionRate(rate, rate);
        system->SetParticleLifeTime(life, life);
        system->SetParticleSpeed(1.0f, 1.0f);
        system->SetParticleStartingScale({1.0f, 1.0f}, {1.0f, 1.0f});
        system->SetParticleEndingScale({2.0f, 2.0f}, {2.0f, 2.0f});
    }

    std::uint32_t Alive() const
    {
        std::uint32_t alive = 0;
        for (const Velkor::Particle& particle : system->GetParticles())
        {
            alive += particle.alive ? 1 : 0;
        }
        return alive;
    }
    const Engine::Particle& Record(std::uint32_t i) const { return system->GetParticleRecords()[i]; }

    Core::RefPtr<Velkor::ParticleSystem> system;
    Core::RefPtr<FixedEmitter> emitter;
};

std::vector<std::uint8_t> Saved(Velkor::ParticleSystem& system)
{
    Core::MemoryFile file;
    file.WriteObject(&system);
    return file.GetBuffer();
}

Core::RefPtr<Velkor::ParticleSystem> Loaded(const std::vector<std::uint8_t>& bytes)
{
    Core::MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    Core::RefPtr<Velkor::ParticleSystem> system;
    Core::ReadRefPtr(file, system);
    EXPECT_FALSE(file.Failed());
    return system;
}

TEST(ParticleSystemTest, EmissionFollowsTheDrawnRateAndCarriesOnlyTheFraction)
{
    // Rate 10 at 0.25 s: 2.5, two now and the half carried; then 3.
    Pool pool(10, 10.0f, 100.0f);
    pool.system->SetRecycleParticles(true);
    pool.system->UpdateEngineSide(0.25f);
    EXPECT_EQ(pool.Alive(), 2u);
    EXPECT_EQ(pool.system->GetEmittedCount(), 2u);
    EXPECT_FLOAT_EQ(pool.system->GetEmissionAccumulator(), 0.5f);
    pool.system->UpdateEngineSide(0.25f);
    EXPECT_EQ(pool.Alive(), 5u);
    EXPECT_EQ(pool.system->GetEmittedCount(), 3u);
    EXPECT_FLOAT_EQ(pool.system->GetEmissionAccumulator(), 0.0f);

    // 10.5 allowed into a pool of 3: three emitted, seven dropped, only the
    // half kept.
    Pool small(3, 105.0f, 100.0f);
    small.system->SetRecycleParticles(true);
    small.system->UpdateEngineSide(0.1f);
    EXPECT_EQ(small.Alive(), 3u);
    EXPECT_NEAR(small.system->GetEmissionAccumulator(), 0.5f, 1e-4f);
    // Every slot alive: the next allowance is lost, not stored.
    small.system->UpdateEngineSide(0.1f);
    EXPECT_EQ(small.system->GetEmittedCount(), 0u);
    EXPECT_LT(small.system->GetEmissionAccumulator(), 1.0f);
}

TEST(ParticleSystemTest, EmitOnceDiesAndDestroysItselfWithoutAskingTheEmitter)
{
    // Life 0.1 under dt 0.1: alive after the update that emits (age equals
    // life time), dead after the next.
    Pool pool(5, 50.0f, 0.1f, {3.0f, 4.0f});
    pool.system->SetDestroyIfNotRecycling(true);
    pool.system->UpdateEngineSide(0.1f);
    EXPECT_EQ(pool.Alive(), 5u);
    EXPECT_EQ(pool.Record(4).scaleX, 2.0f) << "age = life time: the ending scale";
    pool.system->UpdateEngineSide(0.1f);
    EXPECT_EQ(pool.Alive(), 0u);
    EXPECT_EQ(pool.system->GetDeadCount(), 5u);
    EXPECT_FALSE(pool.system->IsBeingDestroyed());
    // A dead slot is drawn at scale 0; its other values stay.
    EXPECT_EQ(pool.Record(0).scaleX, 0.0f);
    EXPECT_EQ(pool.Record(0).scaleY, 0.0f);
    EXPECT_FLOAT_EQ(pool.Record(0).x, 3.1f);
    EXPECT_EQ(pool.emitter->updateCalls, 2);

    pool.system->UpdateEngineSide(0.1f);
    EXPECT_TRUE(pool.system->IsBeingDestroyed());
    EXPECT_EQ(pool.emitter->updateCalls, 2);
    EXPECT_EQ(pool.emitter->positionCalls, 5);

    // Without the destroy flag it just stops; Reset starts it again.
    Pool quiet(2, 20.0f, 0.1f);
    for (int i = 0; i < 4; ++i)
    {
        quiet.system->UpdateEngineSide(0.1f);
    }
    EXPECT_FALSE(quiet.system->IsBeingDestroyed());
    EXPECT_EQ(quiet.emitter->positionCalls, 2);
    quiet.system->Reset();
    EXPECT_EQ(quiet.emitter->positionCalls, 4) << "Reset asks the emitter for every slot";
    quiet.system->UpdateEngineSide(0.1f);
    EXPECT_EQ(quiet.Alive(), 2u);
}

TEST(ParticleSystemTest, ParticlesFlyInClosedFormUnderGravity)
{
    // One particle at (0, 0) going (1, 0) under gravity (0, 10): at age 2,
    // (2, 20), facing its velocity (1, 20).
    Pool pool(1, 1.0f, 10.0f);
    pool.system->SetGravity({0.0f, 10.0f});
    pool.system->SetParticleStartingColor({1.0f, 0.0f, 0.0f, 1.0f}, {1.0f, 0.0f, 0.0f, 1.0f});
    pool.system->SetParticleEndingColor({0.0f, 0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f, 0.0f});
    pool.system->UpdateEngineSide(1.0f);
    pool.system->UpdateEngineSide(1.0f);
    const Engine::Particle& record = pool.Record(0);
    EXPECT_FLOAT_EQ(record.x, 2.0f);
    EXPECT_FLOAT_EQ(record.y, 20.0f);
    EXPECT_EQ(record.z, 0.0f);
    EXPECT_FLOAT_EQ(record.rotation, std::atan2(20.0f, 1.0f) * 57.29578f);
    // A fifth of its life: scale and colour a fifth of the way.
    EXPECT_FLOAT_EQ(record.scaleX, 1.2f);
    EXPECT_FLOAT_EQ(record.red, 0.8f);
    EXPECT_FLOAT_EQ(record.blue, 0.2f);
    EXPECT_FLOAT_EQ(record.alpha, 0.8f);

    // Spinning: the stored speed per update, whatever the step.
    Pool spin(1, 1.0f, 10.0f);
    spin.system->SetParticleDirection(Velkor::ParticleSystem::RandomSpin);
    spin.system->SetParticleRotationSpeed(15.0f, 15.0f);
    spin.system->UpdateEngineSide(1.0f);
    spin.system->UpdateEngineSide(0.001f);
    EXPECT_EQ(spin.Record(0).rotation, 30.0f);
}

TEST(ParticleSystemTest, WorldCoordinatesTurnAndPlaceTheEmissionWithTheObject)
{
    Pool pool(1, 1.0f, 10.0f, {1.0f, 0.0f}, {1.0f, 0.0f});
    pool.system->SetUseLocalCoordinates(false);
    pool.system->SetPosition(100.0f, 50.0f);
    pool.system->SetRotationAngle(90.0f);
    pool.system->UpdateEngineSide(1.0f);
    // Origin (1, 0) turned to (0, 1) and moved; velocity (0, 1): age 1.
    EXPECT_NEAR(pool.Record(0).x, 100.0f, 1e-4f);
    EXPECT_NEAR(pool.Record(0).y, 52.0f, 1e-4f);
    EXPECT_FALSE(pool.system->GetParticleNode()->GetUseLocalCoordinates());
}

TEST(ParticleSystemTest, WarmUpRunsWholeHundredthsOnly)
{
    const std::pair<float, int> cases[] = {{0.015f, 1},
                                           {0.05f, 5},
                                           {0.0f, 0},
                                           {-1.0f, 0},
                                           {std::numeric_limits<float>::quiet_NaN(), 0},
                                           {std::numeric_limits<float>::infinity(), 0}};
    for (const auto& [seconds, updates] : cases)
    {
        Pool pool(2, 0.0f, 1.0f);
        pool.system->WarmUp(seconds);
        EXPECT_EQ(pool.emitter->updateCalls, updates) << seconds;
    }
}

TEST(ParticleSystemTest, SavedAndLoadedItIsTheSameSystem)
{
    SpriteTest::SheetFolder elsewhere;
    Core::RefPtr<Velkor::DiskEmitter> disk(new Velkor::DiskEmitter({3.0f, 4.0f}, 7.0f));
    FreshRecord record;
    record.count = 6;
    record.emitter = disk.Get();
    Core::RefPtr<Velkor::ParticleSystem> system = LoadFresh(record);
    system->SetEmissionRate(20.0f, 40.0f);
    system->SetParticleLifeTime(0.1f, 0.3f);
    system->SetParticleSpeed(5.0f, 9.0f);
    system->SetParticleStartingColor({1.0f, 0.5f, 0.0f, 1.0f}, {1.0f, 1.0f, 0.2f, 1.0f});
    system->SetGravity({0.0f, -3.0f});
    system->SetRecycleParticles(true);
    system->SetSrcBlendFactor(Renderer::BlendSourceAlpha);
    system->SetDstBlendFactor(Renderer::BlendOne);
    system->SetHUDObject(true);
    system->SetUseLocalCoordinates(false);
    // The texture came from another folder: the record keeps its file name.
    system->GetParticleNode()->texture =
        Renderer::LoadTexture(elsewhere.Sheet("DemoParticle.png", 8, 8), false);
    Core::SeedRandom(3);
    for (int i = 0; i < 5; ++i)
    {
        system->UpdateEngineSide(1.0f / 60.0f);
    }

    const std::vector<std::uint8_t> bytes = Saved(*system);
    Core::RefPtr<Velkor::ParticleSystem> loaded = Loaded(bytes);
    ASSERT_TRUE(loaded);
    ASSERT_EQ(loaded->GetParticleCount(), 6u);
    EXPECT_EQ(
        std::memcmp(loaded->GetParticleRecords(), system->GetParticleRecords(), 6 * sizeof(Engine::Particle)),
        0);
    EXPECT_EQ(loaded->GetBoundingSize(), 64.0f);
    EXPECT_EQ(loaded->GetSrcBlendFactor(), static_cast<std::uint32_t>(Renderer::BlendSourceAlpha));
    EXPECT_EQ(loaded->GetDstBlendFactor(), static_cast<std::uint32_t>(Renderer::BlendOne));
    EXPECT_TRUE(loaded->IsHUDObject());
    EXPECT_FALSE(loaded->GetUseLocalCoordinates());
    EXPECT_FALSE(loaded->GetParticleNode()->GetUseLocalCoordinates());
    EXPECT_EQ(loaded->GetParticleNode()->texture->GetName(),
              PAL::GetExecutableDirectory() + "\\Resources\\ParticleSystems\\DemoParticle.png");
    EXPECT_TRUE(loaded->GetNode()->HasChild(*loaded->GetParticleNode()));
    // The emitter keeps its class and fields.
    auto* loadedDisk = dynamic_cast<Velkor::DiskEmitter*>(loaded->GetEmitter());
    ASSERT_NE(loadedDisk, nullptr);
    EXPECT_EQ(loadedDisk->center, Vec(3.0f, 4.0f));
    EXPECT_EQ(loadedDisk->radius, 7.0f);
    EXPECT_EQ(Saved(*loaded), bytes);

    // Both go on alike.
    Core::SeedRandom(8);
    system->UpdateEngineSide(1.0f / 60.0f);
    Core::SeedRandom(8);
    loaded->UpdateEngineSide(1.0f / 60.0f);
    EXPECT_EQ(
        std::memcmp(loaded->GetParticleRecords(), system->GetParticleRecords(), 6 * sizeof(Engine::Particle)),
        0);
}

TEST(ParticleSystemTest, ThePlainBaseReadsAndWritesTheNodeRecordOnly)
{
    // A system's record begins with the base's: the base reads exactly that
    // part and writes it back unchanged.
    FreshRecord record;
    record.count = 3;
    record.useLocalCoordinates = false;
    Core::MemoryFile file;
    record.WriteTo(file);
    Core::RefPtr<Velkor::ParticleSystemBase> base(
        dynamic_cast<Velkor::ParticleSystemBase*>(Core::CreateObject("Velkor::ParticleSystemBase")));
    ASSERT_TRUE(base);
    base->Read(file);
    ASSERT_FALSE(file.Failed());
    EXPECT_EQ(base->GetParticleCount(), 3u);
    EXPECT_FALSE(base->GetParticleNode()->GetUseLocalCoordinates());
    const std::uint32_t baseBytes = file.GetReadPosition();
    EXPECT_EQ(file.GetBytesLeft(),
              4u + 3u * Velkor::ParticleSystem::SavedParticleBytes + 16u + 64u + 32u + 1u + 12u + 36u + 3u);
    Core::MemoryFile written;
    base->Write(written);
    ASSERT_EQ(written.GetSize(), baseBytes);
    EXPECT_EQ(std::memcmp(written.GetData(), file.GetData(), baseBytes), 0);
}

TEST(ParticleSystemTest, ASecondLoadReplacesNodeAndPool)
{
    FreshRecord three;
    three.count = 3;
    Core::RefPtr<Velkor::ParticleSystem> system = LoadFresh(three);
    const Core::RefPtr<Engine::ParticleSystem> first = system->GetParticleNode();

    FreshRecord five;
    five.count = 5;
    Core::MemoryFile file;
    five.WriteTo(file);
    system->Read(file);
    ASSERT_FALSE(file.Failed());
    EXPECT_EQ(system->GetParticleCount(), 5u);
    EXPECT_EQ(system->GetParticles().size(), 5u);
    EXPECT_EQ(system->GetParticleNode()->GetParticleCount(), 5u);
    EXPECT_NE(system->GetParticleNode().Get(), first.Get());
    EXPECT_FALSE(system->GetNode()->HasChild(*first)) << "the old node is no longer drawn";
    EXPECT_EQ(system->GetNode()->GetChildCount(), 1u);

    // An empty pool loads, updates and saves.
    FreshRecord none;
    Core::RefPtr<Velkor::ParticleSystem> empty = LoadFresh(none);
    EXPECT_EQ(empty->GetParticleCount(), 0u);
    empty->SetEmitter(new Velkor::PointEmitter());
    empty->SetEmissionRate(100.0f, 100.0f);
    empty->SetRecycleParticles(true);
    empty->UpdateEngineSide(0.5f);
    EXPECT_EQ(Loaded(Saved(*empty))->GetParticleCount(), 0u);
}

TEST(ParticleSystemTest, BadRecordsChangeNothing)
{
    FreshRecord good;
    good.count = 2;
    Core::MemoryFile goodFile;
    good.WriteTo(goodFile);
    const std::vector<std::uint8_t>& bytes = goodFile.GetBuffer();

    FreshRecord unequal = good;
    unequal.poolSize = 3;
    Core::RefPtr<Velkor::GameObject> notAnEmitter(new Velkor::GameObject());
    FreshRecord wrongEmitter = good;
    wrongEmitter.emitter = notAnEmitter.Get();
    for (const FreshRecord* record : {&unequal, &wrongEmitter})
    {
        Core::MemoryFile file;
        record->WriteTo(file);
        Pool pool(4, 0.0f, 1.0f);
        const Core::RefPtr<Engine::ParticleSystem> node = pool.system->GetParticleNode();
        pool.system->Read(file);
        EXPECT_EQ(file.GetError(), Core::FileError::BadData);
        EXPECT_EQ(pool.system->GetParticleNode().Get(), node.Get());
        EXPECT_EQ(pool.system->GetParticles().size(), 4u);
        EXPECT_EQ(pool.system->GetEmitter(), pool.emitter.Get());
    }

    // Every cut short of the whole record.
    for (std::uint32_t size = 0; size < bytes.size(); ++size)
    {
        Core::MemoryFile file(bytes.data(), size);
        Pool pool(4, 0.0f, 1.0f);
        pool.system->Read(file);
        EXPECT_TRUE(file.Failed()) << size;
        EXPECT_EQ(pool.system->GetParticleCount(), 4u) << size;
        EXPECT_EQ(pool.system->GetParticles().size(), 4u) << size;
    }

    // A count far past the bytes there fails before anything is allocated.
    for (const std::uint32_t count : {0x7FFFFFFFu, 0xFFFFFFFFu, 107374183u})
    {
        Core::MemoryFile file;
        Velkor::GameObject().Write(file);
        file << std::string("DemoParticle.png") << count;
        file << 0.0f << 0.0f;
        Core::RefPtr<Velkor::ParticleSystem> system(new Velkor::ParticleSystem());
        system->Read(file);
        EXPECT_EQ(file.GetError(), Core::FileError::ShortRead) << count;
        EXPECT_FALSE(system->GetParticleNode());
    }
}

TEST(ParticleSystemTest, AMissingTextureStillBuildsTheNodeFromTheParticleFolder)
{
    FreshRecord record;
    record.count = 1;
    // Only the file-name part counts: the record cannot leave the folder.
    record.texture = "..\\..//NoSuchParticle.png";
    Core::RefPtr<Velkor::ParticleSystem> system = LoadFresh(record);
    ASSERT_TRUE(system->GetParticleNode());
    ASSERT_TRUE(system->GetParticleNode()->texture);
    EXPECT_GT(system->GetParticleNode()->texture->GetWidth(), 0u);
    EXPECT_EQ(system->GetParticleNode()->texture->GetName(),
              PAL::GetExecutableDirectory() + "\\Resources\\ParticleSystems\\NoSuchParticle.png");
}

TEST(ParticleSystemTest, WithoutNodeOrEmitterNothingHappens)
{
    Core::RefPtr<Velkor::ParticleSystem> bare(
        dynamic_cast<Velkor::ParticleSystem*>(Core::CreateObject("Velkor::ParticleSystem")));
    ASSERT_TRUE(bare);
    bare->SetHUDObject(true);
    bare->SetSrcBlendFactor(1);
    EXPECT_FALSE(bare->IsHUDObject());
    EXPECT_EQ(bare->GetSrcBlendFactor(), static_cast<std::uint32_t>(Renderer::BlendSourceAlpha));
    EXPECT_FALSE(bare->IsInViewport(nullptr));
    bare->SetEmissionRate(100.0f, 100.0f);
    bare->UpdateEngineSide(0.1f);
    bare->Reset();
    bare->WarmUp(0.1f);
    Core::RefPtr<Core::Object> copy(bare->Clone());
    EXPECT_FALSE(static_cast<Velkor::ParticleSystem*>(copy.Get())->GetParticleNode());

    // Loaded but without an emitter: nothing is emitted, Reset leaves the
    // slots at the origin at rest.
    FreshRecord record;
    record.count = 3;
    Core::RefPtr<Velkor::ParticleSystem> system = LoadFresh(record);
    system->SetEmissionRate(100.0f, 100.0f);
    system->SetParticleSpeed(3.0f, 3.0f);
    system->UpdateEngineSide(0.1f);
    system->Reset();
    for (const Velkor::Particle& particle : system->GetParticles())
    {
        EXPECT_FALSE(particle.alive);
        EXPECT_EQ(particle.origin, Vec(0.0f, 0.0f));
        EXPECT_EQ(particle.velocity, Vec(0.0f, 0.0f));
    }
    EXPECT_FALSE(static_cast<Velkor::ParticleSystem*>(Core::RefPtr<Core::Object>(system->Clone()).Get())
                     ->GetEmitter());
}

TEST(ParticleSystemTest, ACopyHasItsOwnNodeAndEmitter)
{
    Pool pool(4, 40.0f, 1.0f);
    pool.system->SetEmitter(new Velkor::LineEmitter({0.0f, 0.0f}, {10.0f, 0.0f}));
    pool.system->SetRecycleParticles(true);
    pool.system->UpdateEngineSide(0.1f);
    Core::RefPtr<Velkor::ParticleSystem> copy(static_cast<Velkor::ParticleSystem*>(pool.system->Clone()));
    ASSERT_TRUE(copy->GetParticleNode());
    EXPECT_NE(copy->GetParticleNode().Get(), pool.system->GetParticleNode().Get());
    EXPECT_TRUE(copy->GetNode()->HasChild(*copy->GetParticleNode()));
    EXPECT_EQ(copy->GetParticleRecords(), copy->GetParticleNode()->GetParticles());
    EXPECT_EQ(std::memcmp(copy->GetParticleRecords(), pool.system->GetParticleRecords(),
                          4 * sizeof(Engine::Particle)),
              0);
    auto* line = dynamic_cast<Velkor::LineEmitter*>(copy->GetEmitter());
    ASSERT_NE(line, nullptr);
    EXPECT_NE(copy->GetEmitter(), pool.system->GetEmitter());
    EXPECT_EQ(line->endPoint, Vec(10.0f, 0.0f));
    EXPECT_EQ(copy->GetParticles().size(), 4u);
    EXPECT_EQ(copy->GetEmissionRate().high, 40.0f);
}

TEST(ParticleSystemTest, ASeededRunRepeatsBitForBit)
{
    auto run = []
    {
        FreshRecord record;
        record.count = 300;
        record.useLocalCoordinates = false;
        Core::RefPtr<Velkor::DiskEmitter> disk(new Velkor::DiskEmitter({0.0f, 0.0f}, 20.0f));
        record.emitter = disk.Get();
        Core::RefPtr<Velkor::ParticleSystem> system = LoadFresh(record);
        system->SetEmissionRate(200.0f, 400.0f);
        system->SetRecycleParticles(true);
        system->SetParticleLifeTime(0.5f, 1.5f);
        system->SetParticleSpeed(50.0f, 120.0f);
        system->SetGravity({0.0f, -200.0f});
        system->SetParticleDirection(Velkor::ParticleSystem::RandomSpin);
        system->SetParticleRotationSpeed(-5.0f, 5.0f);
        system->SetParticleStartingColor({1.0f, 0.6f, 0.1f, 1.0f}, {1.0f, 0.9f, 0.3f, 1.0f});
        Core::SeedRandom(1234);
        std::vector<Engine::Particle> frames;
        for (int frame = 0; frame < 600; ++frame)
        {
            system->SetPosition(std::sin(frame * 0.05f) * 100.0f, 0.0f);
            system->UpdateEngineSide(1.0f / 60.0f);
            frames.insert(frames.end(), system->GetParticleRecords(), system->GetParticleRecords() + 300);
        }
        // Two empty runs would compare equal too: this one must have emitted.
        const auto& particles = system->GetParticles();
        EXPECT_GT(std::count_if(particles.begin(), particles.end(), [](const Velkor::Particle& p) { return p.alive; }),
                  100);
        return frames;
    };
    const std::vector<Engine::Particle> first = run();
    const std::vector<Engine::Particle> second = run();
    ASSERT_EQ(first.size(), second.size());
    EXPECT_EQ(std::memcmp(first.data(), second.data(), first.size() * sizeof(Engine::Particle)), 0);
}

} // namespace

#include "SoundTestSupport.h"
#include "WorldTestSupport.h"

#include "audio/Sound_Engine.h"
#include "framework/Velkor_Sound.h"

#include <cmath>

namespace
{

using Source = SoundEngine::Source;
using SoundTest::WaitUntil;
using WorldTest::WorldDisplayTest;

// A sound that counts its Update calls.
class CountingSound : public Velkor::Sound
{
public:
    using Velkor::Sound::Sound;
    void Update(float dt) override
    {
        ++updates;
        Velkor::Sound::Update(dt);
    }
    int updates = 0;
};

class SoundObjectDisplayTest : public WorldDisplayTest
{
protected:
    void SetUp() override
    {
        WorldDisplayTest::SetUp();
        if (IsSkipped())
        {
            return;
        }
        // A 50 ms blip, a 2 s loop, and a file just big enough to stream.
        blip = SoundTest::WriteTone(SoundTest::Folder() / "blip.wav", 22050, 1102, 880.0);
        loop = SoundTest::WriteTone(SoundTest::Folder() / "loop.wav", 22050, 44100);
        large = SoundTest::WriteTone(SoundTest::Folder() / "large.wav", 44100, SoundTest::StreamBytes / 2);
    }

    SoundEngine& Engine() { return *game->GetSoundEngine(); }

    // A sound object added to `layer` (in place from the next frame).
    Core::RefPtr<Velkor::Sound> Spawn(Velkor::Layer& layer, const std::string& file, std::uint32_t mode = 0,
                                      std::uint8_t looping = 0)
    {
        Core::RefPtr<Velkor::Sound> sound(new Velkor::Sound(file, mode, 10.0f, looping, 0.0f, 0));
        layer.AddGameObject(sound.Get());
        return sound;
    }

    std::string blip;
    std::string loop;
    std::string large;
};

TEST_F(SoundObjectDisplayTest, VolumeAndPitchIgnoreValuesOutOfRange)
{
    Velkor::Layer& layer = AddLayer();
    Core::RefPtr<Velkor::Sound> sound = Spawn(layer, loop, 0, 1);
    Tick();
    ASSERT_TRUE(sound->Play(false));
    Source* source = sound->GetSource();
    ASSERT_NE(source, nullptr);

    sound->SetVolume(0.7f);
    sound->SetVolume(-0.5f);
    sound->SetVolume(std::nanf(""));
    EXPECT_FLOAT_EQ(sound->GetVolume(), 0.7f);
    EXPECT_FLOAT_EQ(source->GetGain(), 0.7f);
    sound->SetVolume(0.0f);
    EXPECT_EQ(source->GetGain(), 0.0f) << "0 silences";

    sound->SetPitch(1.5f);
    sound->SetPitch(0.0f);
    sound->SetPitch(-2.0f);
    sound->SetPitch(std::nanf(""));
    EXPECT_FLOAT_EQ(sound->GetPitch(), 1.5f);
    EXPECT_FLOAT_EQ(source->GetPitch(), 1.5f);

    // The stored values reach the next source too.
    sound->Stop();
    Tick();
    EXPECT_EQ(sound->GetSource(), nullptr);
    EXPECT_EQ(sound->GetVolume(), 0.0f);
    ASSERT_TRUE(sound->Play(false));
    EXPECT_EQ(sound->GetSource()->GetGain(), 0.0f);
    EXPECT_FLOAT_EQ(sound->GetSource()->GetPitch(), 1.5f);
}

TEST_F(SoundObjectDisplayTest, PlayedOutEffectLetsGoOfItsSourceAndPlaysAgainFromTheStart)
{
    Velkor::Layer& layer = AddLayer();
    Core::RefPtr<Velkor::Sound> sound = Spawn(layer, blip);
    Tick();
    ASSERT_TRUE(sound->Play(false));
    Source* first = sound->GetSource();
    ASSERT_NE(first, nullptr);
    const std::uint32_t firstId = first->GetId();
    EXPECT_FALSE(sound->Play(false)) << "already playing: not restarted";
    EXPECT_EQ(sound->GetSource(), first);

    ASSERT_TRUE(WaitUntil([&] { return !Engine().IsMarkedPlaying(first); }));
    EXPECT_FALSE(sound->IsPlaying());
    Tick();
    EXPECT_EQ(sound->GetSource(), nullptr) << "one frame after its end";
    EXPECT_FALSE(sound->IsPlaying());

    ASSERT_TRUE(sound->Play(false));
    ASSERT_NE(sound->GetSource(), nullptr);
    EXPECT_NE(sound->GetSource()->GetId(), firstId) << "a new source, from the first sample";
    EXPECT_TRUE(sound->IsPlaying());

    // With restart, a playing sound starts over on the source it has.
    Source* second = sound->GetSource();
    EXPECT_TRUE(sound->Play(true));
    EXPECT_EQ(sound->GetSource(), second);
}

TEST_F(SoundObjectDisplayTest, SmallFilesShareTheirDataLargeOnesStreamTheirOwn)
{
    Velkor::Layer& layer = AddLayer();
    Core::RefPtr<Velkor::Sound> smallA = Spawn(layer, blip);
    Core::RefPtr<Velkor::Sound> smallB = Spawn(layer, blip);
    Core::RefPtr<Velkor::Sound> largeA = Spawn(layer, large);
    Core::RefPtr<Velkor::Sound> largeB = Spawn(layer, large);
    ASSERT_NE(smallA->GetSoundData(), nullptr);
    ASSERT_NE(largeA->GetSoundData(), nullptr);
    EXPECT_EQ(smallA->GetSoundData(), smallB->GetSoundData());
    EXPECT_NE(largeA->GetSoundData(), largeB->GetSoundData());
    EXPECT_EQ(smallA->GetFileName(), blip);

    // A clone loads the same way: shared when small, its own stream when large.
    Core::RefPtr<Velkor::Sound> smallClone(static_cast<Velkor::Sound*>(smallA->Clone()));
    Core::RefPtr<Velkor::Sound> largeClone(static_cast<Velkor::Sound*>(largeA->Clone()));
    EXPECT_EQ(smallClone->GetSoundData(), smallA->GetSoundData());
    EXPECT_NE(largeClone->GetSoundData(), largeA->GetSoundData());
    EXPECT_EQ(largeClone->GetFileName(), large);

    Tick();
    ASSERT_TRUE(largeA->Play(false));
    ASSERT_TRUE(largeB->Play(false));
    EXPECT_EQ(largeA->GetSource()->GetKind(), Source::Streamed);
    EXPECT_EQ(largeB->GetSource()->GetKind(), Source::Streamed);
    ASSERT_TRUE(smallA->Play(false));
    EXPECT_EQ(smallA->GetSource()->GetKind(), Source::Whole);
}

TEST_F(SoundObjectDisplayTest, ModesPlaceTheSource)
{
    Velkor::Layer& listenerLayer = AddLayer(5.0f, "listener");
    Velkor::Layer& ownLayer = AddLayer(2.0f, "own");
    Core::RefPtr<Velkor::Camera> camera(new Velkor::Camera());
    ASSERT_TRUE(camera->IsActiveListener());
    Core::RefPtr<Velkor::Sound> relative = Spawn(ownLayer, loop, 0, 1);
    Core::RefPtr<Velkor::Sound> plane = Spawn(ownLayer, loop, 1, 1);
    Core::RefPtr<Velkor::Sound> depth = Spawn(ownLayer, loop, 2, 1);
    for (Velkor::Sound* sound : {relative.Get(), plane.Get(), depth.Get()})
    {
        sound->SetPosition(3.0f, -4.0f);
        ASSERT_TRUE(sound->Play(false));
    }

    // The listener camera in no layer hears from depth 0.
    Tick();
    EXPECT_EQ(plane->GetSource()->GetPosition().z, 0.0f);

    listenerLayer.AddGameObject(camera.Get());
    plane->SetIntensity(25.0f);
    Tick();
    const Source& r = *relative->GetSource();
    const Source& p = *plane->GetSource();
    const Source& d = *depth->GetSource();
    EXPECT_EQ(r.IsRelative(), 1);
    EXPECT_EQ(r.GetPosition().x, 0.0f) << "listener-relative: no position is sent";
    EXPECT_EQ(r.GetPosition().y, 0.0f);
    EXPECT_EQ(p.IsRelative(), 0);
    EXPECT_EQ(p.GetPosition().x, 3.0f);
    EXPECT_EQ(p.GetPosition().y, -4.0f);
    EXPECT_EQ(p.GetPosition().z, 5.0f) << "the listener camera's layer";
    EXPECT_EQ(p.GetReferenceDistance(), 25.0f);
    EXPECT_EQ(d.IsRelative(), 0);
    EXPECT_EQ(d.GetPosition().x, 3.0f);
    EXPECT_EQ(d.GetPosition().z, 2.0f) << "its own layer";
    EXPECT_EQ(d.GetReferenceDistance(), 10.0f);
}

TEST_F(SoundObjectDisplayTest, UpdateRunsOnceAFrame)
{
    Velkor::Layer& layer = AddLayer();
    Core::RefPtr<CountingSound> sound(new CountingSound(loop, 0, 10.0f, 1, 0.0f, 0));
    layer.AddGameObject(sound.Get());
    Tick();
    ASSERT_TRUE(sound->Play(false));
    sound->updates = 0;
    Tick(3);
    EXPECT_EQ(sound->updates, 3);
}

TEST_F(SoundObjectDisplayTest, DestroyedAndDetachedSoundsGiveTheirSourcesBack)
{
    Velkor::Layer& layer = AddLayer();
    const std::size_t start = Engine().GetSourceCount();
    for (int round = 0; round < 10; ++round)
    {
        std::vector<Core::RefPtr<Velkor::Sound>> sounds;
        for (int i = 0; i < 100; ++i)
        {
            sounds.push_back(Spawn(layer, i % 2 == 0 ? loop : blip, 1, i % 2 == 0 ? 1 : 0));
        }
        Tick();
        for (const Core::RefPtr<Velkor::Sound>& sound : sounds)
        {
            ASSERT_TRUE(sound->Play(false));
        }
        ASSERT_EQ(Engine().GetSourceCount(), start + 100);
        for (const Core::RefPtr<Velkor::Sound>& sound : sounds)
        {
            sound->Destroy();
        }
        EXPECT_EQ(Engine().GetSourceCount(), start);
        Tick();
    }
    EXPECT_EQ(Engine().GetSourceCount(), start);

    // Objects cut out with their level, and objects dropped unplaced.
    Core::RefPtr<Velkor::Sound> placed = Spawn(layer, loop, 0, 1);
    Tick();
    ASSERT_TRUE(placed->Play(false));
    {
        Core::RefPtr<Velkor::Sound> loose(new Velkor::Sound(loop, 0, 1.0f, 1, 0.0f, 0));
        ASSERT_TRUE(loose->Play(false));
        EXPECT_EQ(Engine().GetSourceCount(), start + 2);
    }
    EXPECT_EQ(Engine().GetSourceCount(), start + 1);
    Level().Clear();
    EXPECT_EQ(Engine().GetSourceCount(), start);
}

TEST_F(SoundObjectDisplayTest, SoundKeptPastALevelSwitchTouchesNothingTheEngineDropped)
{
    Velkor::Layer& layer = AddLayer();
    Core::RefPtr<Velkor::Sound> kept(new Velkor::Sound(loop, 0, 1.0f, 1, 0.0f, 0));
    ASSERT_TRUE(kept->Play(false));
    Core::RefPtr<Velkor::Sound> placed = Spawn(layer, blip);
    Tick();

    game->ChangeLevel(1);
    Tick();
    EXPECT_EQ(Engine().GetSoundDataCount(), 0u);
    // A new source may now sit where the old one was.
    Core::RefPtr<Velkor::Sound> fresh(new Velkor::Sound(loop, 0, 1.0f, 1, 0.0f, 0));
    ASSERT_TRUE(fresh->Play(false));
    const std::size_t sources = Engine().GetSourceCount();

    EXPECT_EQ(kept->GetSource(), nullptr);
    EXPECT_FALSE(kept->IsPlaying());
    kept->SetVolume(0.25f);
    kept->Stop();
    EXPECT_FALSE(kept->Play(false)) << "its data went with the old level";
    kept.Reset();
    EXPECT_EQ(Engine().GetSourceCount(), sources);
    EXPECT_TRUE(fresh->IsPlaying());
    EXPECT_EQ(fresh->GetSource()->GetGain(), 1.0f);
}

TEST_F(SoundObjectDisplayTest, UnloadableFilesNeverPlay)
{
    const std::string broken = (SoundTest::Folder() / "broken.wav").string();
    std::ofstream(broken, std::ios::binary) << "RIFF\x10\0\0\0WAVEdata";
    for (const std::string& file : {(SoundTest::Folder() / "missing.wav").string(), broken})
    {
        SCOPED_TRACE(file);
        Velkor::Sound sound(file, 0, 10.0f, 0, 0.0f, 0);
        EXPECT_EQ(sound.GetSoundData(), nullptr);
        EXPECT_EQ(sound.GetFileName(), "");
        EXPECT_FALSE(sound.Play(false));
        EXPECT_FALSE(sound.Play(true));
        EXPECT_FALSE(sound.IsPlaying());
    }
}

} // namespace

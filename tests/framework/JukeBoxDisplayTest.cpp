#include "SoundTestSupport.h"
#include "WorldTestSupport.h"

#include "audio/Sound_Data.h"
#include "audio/Sound_Engine.h"
#include "core/Core_MemoryFile.h"
#include "core/Core_Random.h"
#include "framework/Velkor_Jukebox.h"
#include "pal/PAL_FileSystem.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace
{

namespace fs = std::filesystem;
using Source = SoundEngine::Source;
using SoundTest::WaitUntil;
using WorldTest::WorldDisplayTest;

// Three tracks: track 0 is 4 s and just big enough to stream, track 1 is
// 4 s and loaded whole, track 2 is a 100 ms jingle.
std::vector<std::string> WriteTracks(const fs::path& folder)
{
    return {SoundTest::WriteTone(folder / "first.wav", 32768, SoundTest::StreamBytes / 2, 220.0),
            SoundTest::WriteTone(folder / "second.wav", 8000, 32000, 330.0),
            SoundTest::WriteTone(folder / "third.wav", 22050, 2205, 440.0)};
}

class JukeBoxDisplayTest : public WorldDisplayTest
{
protected:
    void SetUp() override
    {
        WorldDisplayTest::SetUp();
        if (IsSkipped())
        {
            return;
        }
        tracks = WriteTracks(SoundTest::Folder());
        Core::SeedRandom(7);
    }

    SoundEngine& Engine() { return *game->GetSoundEngine(); }

    Core::RefPtr<Velkor::JukeBox> Make(const std::vector<std::string>& files)
    {
        return Core::RefPtr<Velkor::JukeBox>(new Velkor::JukeBox(files));
    }

    std::vector<std::string> tracks;
};

TEST_F(JukeBoxDisplayTest, InitLoadsWhatItCanIntoTheDefaultPlaylist)
{
    Core::RefPtr<Velkor::JukeBox> box =
        Make({tracks[0], (SoundTest::Folder() / "missing.wav").string(), tracks[1], tracks[2]});
    ASSERT_EQ(box->GetMusicData().size(), 3u);
    Velkor::Playlist* list = box->GetCurrentPlaylist();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->GetName(), "Default");
    EXPECT_EQ(box->FindPlaylist("Default"), list);
    ASSERT_EQ(list->GetTracks().size(), 3u);
    EXPECT_EQ(list->GetTracks()[1].fileName, tracks[1]);
    EXPECT_EQ(box->GetCurrentTrack(), -1);
    EXPECT_EQ(box->GetMusicData()[0]->GetBuffers().size(), 2u) << "streamed";
    EXPECT_EQ(box->GetMusicData()[1]->GetBuffers().size(), 1u) << "whole";

    Velkor::Playlist* other = box->AddPlaylist("Other");
    EXPECT_EQ(box->GetCurrentPlaylist(), list) << "a new playlist is current only when none is";
    EXPECT_FALSE(box->SetCurrentPlaylist("Nowhere"));
    EXPECT_TRUE(box->SetCurrentPlaylist("Other"));
    EXPECT_EQ(box->GetCurrentPlaylist(), other);
    EXPECT_FALSE(box->PlayMusic(0)) << "an empty playlist plays nothing";

    box->SetFadeTime(-2.0f);
    EXPECT_EQ(box->GetFadeTime(), 0.0f);
    box->SetFadeTime(std::nanf(""));
    EXPECT_EQ(box->GetFadeTime(), 0.0f);
}

// What one update step left playing: the current track, or -1 for silence.
struct PlayStep
{
    std::int32_t track;
    bool allUnplayed; // every played flag clear
};

struct SequenceCase
{
    const char* name;
    bool repeat;
    std::int32_t start;
    std::vector<std::int32_t> expected; // the start, then after each update
};

TEST_F(JukeBoxDisplayTest, TracksFollowInOrderWithRepeatAndEndWithout)
{
    const SequenceCase cases[] = {
        {"repeat, from -1", true, -1, {0, 1, 2, 0, 1}},
        {"no repeat, from 1", false, 1, {1, 2, -1, -1}},
    };
    for (const SequenceCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        Core::RefPtr<Velkor::JukeBox> box = Make(tracks);
        box->SetRepeat(c.repeat);
        ASSERT_TRUE(box->PlayMusic(c.start));
        const std::size_t sources = Engine().GetSourceCount();
        std::vector<PlayStep> steps{{box->GetCurrentTrack(), true}};
        for (std::size_t i = 1; i < c.expected.size(); ++i)
        {
            // Longer than any track: the track in hand ends in this step.
            box->Update(5.0f);
            const Velkor::Playlist& list = *box->GetCurrentPlaylist();
            steps.push_back({box->GetCurrentStream() != nullptr ? box->GetCurrentTrack() : -1,
                             std::none_of(list.GetTracks().begin(), list.GetTracks().end(),
                                          [](const Velkor::Playlist::Track& t) { return t.played != 0; })});
            EXPECT_EQ(box->GetFadingStream(), nullptr) << "a fade time of 0 changes at once";
            EXPECT_LE(Engine().GetSourceCount(), sources);
        }
        std::vector<std::int32_t> played;
        for (const PlayStep& step : steps)
        {
            played.push_back(step.track);
        }
        EXPECT_EQ(played, c.expected);
        if (c.repeat)
        {
            EXPECT_TRUE(steps[3].allUnplayed) << "every flag is cleared before track 0 comes back";
        }
        if (c.start < 0)
        {
            EXPECT_EQ(steps[0].track, 0) << "-1 without shuffle plays track 0";
        }
    }
}

TEST_F(JukeBoxDisplayTest, ShufflePlaysEveryTrackOnceBeforeAnyAgain)
{
    for (std::uint32_t seed : {1u, 2u, 99u, 12345u})
    {
        SCOPED_TRACE(seed);
        Core::SeedRandom(seed);
        Core::RefPtr<Velkor::JukeBox> box = Make(tracks);
        box->SetRepeat(true);
        box->SetShuffle(true);
        ASSERT_TRUE(box->PlayMusic(-1));
        std::vector<std::int32_t> played{box->GetCurrentTrack()};
        while (played.size() < 12)
        {
            box->Update(5.0f);
            played.push_back(box->GetCurrentTrack());
        }
        for (std::size_t round = 0; round < played.size(); round += 3)
        {
            const std::set<std::int32_t> tracksOfRound(played.begin() + round, played.begin() + round + 3);
            EXPECT_EQ(tracksOfRound, (std::set<std::int32_t>{0, 1, 2})) << "round " << round / 3;
        }
    }
}

TEST_F(JukeBoxDisplayTest, ARepeatCountPlaysATrackAgainAfterItsEnd)
{
    Core::RefPtr<Velkor::JukeBox> box = Make(tracks);
    box->GetCurrentPlaylist()->GetTracks()[2].repeat = 2;
    ASSERT_TRUE(box->PlayMusic(2));
    std::vector<std::pair<std::int32_t, std::int32_t>> seen{{2, 0}};
    ASSERT_TRUE(WaitUntil(
        [&]
        {
            // No time passes in the jukebox: only the end of each play moves it.
            box->Update(0.0f);
            const std::pair<std::int32_t, std::int32_t> now{
                box->GetCurrentStream() != nullptr ? box->GetCurrentTrack() : -1, box->GetRepeatCounter()};
            if (now != seen.back())
            {
                seen.push_back(now);
            }
            return now.second == 0 && now.first != 2;
        },
        20000));
    EXPECT_EQ(seen, (std::vector<std::pair<std::int32_t, std::int32_t>>{{2, 0}, {2, 1}, {2, 2}, {-1, 0}}))
        << "three plays, then the end of the playlist (no repeat)";
}

TEST_F(JukeBoxDisplayTest, PlayMusicOfThePlayingTrackRestartsItAndStepsStayInRange)
{
    Core::RefPtr<Velkor::JukeBox> box = Make(tracks);
    box->SetFadeTime(3.0f);
    ASSERT_TRUE(box->PlayMusic(1));
    const std::size_t sources = Engine().GetSourceCount();
    Source* first = box->GetCurrentStream();
    ASSERT_TRUE(box->PlayMusic(1));
    EXPECT_EQ(box->GetFadingStream(), nullptr) << "not faded into itself";
    EXPECT_EQ(Engine().GetSourceCount(), sources);
    EXPECT_EQ(box->GetCurrentTrack(), 1);
    EXPECT_TRUE(box->GetCurrentStream() != first || box->GetCurrentStream()->GetGain() == 0.0f);

    // Next on the last track and previous on the first do nothing.
    ASSERT_TRUE(box->PlayMusic(2));
    Source* last = box->GetCurrentStream();
    box->NextTrack();
    EXPECT_EQ(box->GetCurrentStream(), last);
    EXPECT_EQ(box->GetCurrentTrack(), 2);
    box->PreviousTrack();
    EXPECT_EQ(box->GetCurrentTrack(), 1);
    box->SetFadeTime(0.0f);
    ASSERT_TRUE(box->PlayMusic(0));
    Source* front = box->GetCurrentStream();
    box->PreviousTrack();
    EXPECT_EQ(box->GetCurrentStream(), front);
    EXPECT_EQ(box->GetCurrentTrack(), 0);
}

TEST_F(JukeBoxDisplayTest, TwoPlaysBeforeAnUpdateGiveNoNaNAndLetTheOutgoingStreamGo)
{
    for (float fade : {0.0f, 3.0f})
    {
        SCOPED_TRACE(fade);
        Core::RefPtr<Velkor::JukeBox> box = Make(tracks);
        box->SetFadeTime(fade);
        const std::size_t sources = Engine().GetSourceCount();
        ASSERT_TRUE(box->PlayMusic(0));
        ASSERT_TRUE(box->PlayMusic(1)); // the first stream is still at gain 0
        box->Update(1.0f / 60.0f);
        EXPECT_EQ(box->GetFadingStream(), nullptr);
        EXPECT_EQ(Engine().GetSourceCount(), sources + 1);
        ASSERT_NE(box->GetCurrentStream(), nullptr);
        EXPECT_FALSE(std::isnan(box->GetCurrentStream()->GetGain()));
        box->StopMusic();
        box->Update(1.0f / 60.0f);
        box->Update(5.0f);
        EXPECT_EQ(Engine().GetSourceCount(), sources);
    }
}

TEST_F(JukeBoxDisplayTest, CrossFadeRaisesTheNextTrackWhileTheOldOneFalls)
{
    // An 8 s track to fade into, so that it plays on past the fade.
    const std::string longer = SoundTest::WriteTone(SoundTest::Folder() / "longer.wav", 8000, 64000, 275.0);
    Core::RefPtr<Velkor::JukeBox> box = Make({tracks[0], longer});
    box->SetFadeTime(3.0f);
    ASSERT_TRUE(box->PlayMusic(0));
    box->SetMusicVolume(0.8f, 0.0f);
    constexpr float Dt = 0.1f;
    box->Update(Dt);
    EXPECT_FLOAT_EQ(box->GetCurrentStream()->GetGain(), 0.8f);

    // Track 0 lasts 4 s: the cross-fade starts once 3 s or less are left.
    float played = Dt;
    while (box->GetCurrentTrack() == 0)
    {
        box->Update(Dt);
        played += Dt;
        ASSERT_LT(played, 2.0f);
    }
    Source* fading = box->GetFadingStream();
    ASSERT_NE(fading, nullptr);
    const float left = 4.0f - (played - Dt) - Dt; // what track 0 had left when the fade began
    EXPECT_GT(left, 2.7f);
    EXPECT_LE(left, 3.0f + 1e-3f);
    EXPECT_NEAR(fading->GetGain(), 0.8f - 0.8f / left * Dt, 0.02f);
    EXPECT_NEAR(box->GetCurrentStream()->GetGain(), 0.8f / 3.0f * Dt, 0.02f);

    float t = Dt;
    float oldGain = fading->GetGain();
    float newGain = box->GetCurrentStream()->GetGain();
    while (t < 3.2f)
    {
        box->Update(Dt);
        t += Dt;
        const float nowNew = box->GetCurrentStream()->GetGain();
        EXPECT_GE(nowNew, newGain);
        EXPECT_NEAR(nowNew, std::min(0.8f, 0.8f * t / 3.0f), 0.03f) << "at " << t;
        newGain = nowNew;
        if (Source* stillFading = box->GetFadingStream())
        {
            EXPECT_LT(stillFading->GetGain(), oldGain);
            EXPECT_NEAR(stillFading->GetGain(), 0.8f * (1.0f - t / left), 0.03f) << "at " << t;
            oldGain = stillFading->GetGain();
        }
        else
        {
            EXPECT_GE(t, left - 2 * Dt) << "the old track is gone only at the end of its time";
        }
    }
    EXPECT_EQ(box->GetFadingStream(), nullptr);
    EXPECT_FLOAT_EQ(box->GetCurrentStream()->GetGain(), 0.8f);
    EXPECT_EQ(box->GetCurrentTrack(), 1);
}

TEST_F(JukeBoxDisplayTest, TheLevelUpdatesItsJukeBoxAndStopsItWhenCleared)
{
    Core::RefPtr<Velkor::JukeBox> box = Make(tracks);
    Level().SetJukeBox(box.Get());
    Level().SetJukeBox(box.Get());
    EXPECT_EQ(Level().GetJukeBox(), box.Get());
    ASSERT_TRUE(box->PlayMusic(-1));
    Tick(2);
    EXPECT_GT(box->GetElapsed(), 0.0f) << "updated by the level's frame";
    Level().Clear();
    EXPECT_EQ(Level().GetJukeBox(), nullptr);
    EXPECT_FALSE(box->IsMusicPlaying());
    EXPECT_EQ(box->GetCurrentTrack(), -1);
    EXPECT_EQ(box->GetCurrentStream(), nullptr);
}

TEST_F(JukeBoxDisplayTest, LevelSwitchStopsTheOldMusicAndStartsTheNew)
{
    std::vector<Core::RefPtr<Velkor::JukeBox>> boxes;
    factory->onStart = [&](GameTest::TestLevel& level)
    {
        Core::RefPtr<Velkor::JukeBox> box = Make({tracks[level.GetIndex() % 2]});
        box->SetRepeat(true);
        box->PlayMusic(-1);
        level.SetJukeBox(box.Get());
        boxes.push_back(box);
    };
    game->RestartLevel();
    Tick();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0]->IsPlaying());

    game->ChangeLevel(1);
    Tick();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_FALSE(boxes[0]->IsMusicPlaying());
    EXPECT_EQ(boxes[0]->GetCurrentStream(), nullptr);
    boxes[0]->Update(0.1f); // its records went with the old level: nothing is touched
    EXPECT_FALSE(boxes[0]->PlayMusic(0));
    EXPECT_TRUE(boxes[1]->IsPlaying());
    EXPECT_EQ(Engine().GetSourceCount(), 1u) << "only the new level's music";
    Tick(3);
    EXPECT_TRUE(boxes[1]->IsPlaying());
}

// --- Saved form ------------------------------------------------------------------

class JukeBoxSaveDisplayTest : public JukeBoxDisplayTest
{
protected:
    void SetUp() override
    {
        JukeBoxDisplayTest::SetUp();
        if (IsSkipped())
        {
            return;
        }
        // The same music in an old installation's folder and in this one.
        // A folder per process: ctest runs the tests of this suite side by side.
        folder = "SaveTest" + std::to_string(getpid());
        const std::string below = "\\Resources\\JukeBoxes\\" + folder + "\\";
        oldRoot = (SoundTest::Folder() / "old-install").string();
        WriteTracks(fs::path(PAL::GetExecutableDirectory()) / "Resources" / "JukeBoxes" / folder);
        WriteTracks(fs::path(oldRoot) / "Resources" / "JukeBoxes" / folder);
        for (const char* name : {"first.wav", "second.wav", "third.wav"})
        {
            old.push_back(oldRoot + below + name);
            here.push_back(PAL::GetExecutableDirectory() + below + name);
        }
    }

    // A playing jukebox of the old installation's music with two playlists.
    Core::RefPtr<Velkor::JukeBox> MakeSaved()
    {
        Core::RefPtr<Velkor::JukeBox> box = Make(old);
        Velkor::Playlist* mine = box->AddPlaylist("Mine");
        mine->AddTrack(old[2], box->GetMusicData()[2], 1);
        mine->AddTrack(old[0], box->GetMusicData()[0], -3);
        box->SetRepeat(true);
        box->SetFadeTime(0.5f);
        EXPECT_TRUE(box->SetCurrentPlaylist("Mine"));
        EXPECT_TRUE(box->PlayMusic(1));
        box->SetMusicVolume(0.6f, 0.0f);
        box->Update(0.1f);
        return box;
    }

    static Core::MemoryFile Saved(Velkor::JukeBox& box)
    {
        Core::MemoryFile file;
        file.WriteObject(&box);
        return file;
    }

    void TearDown() override
    {
        if (!folder.empty())
        {
            fs::remove_all(fs::path(PAL::GetExecutableDirectory()) / "Resources" / "JukeBoxes" / folder);
        }
        JukeBoxDisplayTest::TearDown();
    }

    std::string folder;
    std::string oldRoot;
    std::vector<std::string> old;
    std::vector<std::string> here;
};

TEST_F(JukeBoxSaveDisplayTest, LoadResumesTheMusicWithTheSamePlaylistsInAMovedInstallation)
{
    Core::RefPtr<Velkor::JukeBox> box = MakeSaved();
    Core::MemoryFile file = Saved(*box);
    Engine().StopAll(); // as a load does

    Core::MemoryFile reader(file.GetData(), file.GetSize());
    Core::RefPtr<Velkor::JukeBox> loaded;
    Core::ReadRefPtr(reader, loaded);
    ASSERT_FALSE(reader.Failed());
    ASSERT_TRUE(loaded);
    EXPECT_EQ(reader.GetBytesLeft(), 0u);

    ASSERT_EQ(loaded->GetMusicNames(), here) << "the music of this installation";
    ASSERT_EQ(loaded->GetPlaylists().size(), 2u);
    EXPECT_EQ(loaded->GetPlaylists()[0]->GetName(), "Default");
    EXPECT_EQ(loaded->GetPlaylists()[0]->GetTracks().size(), 3u);
    Velkor::Playlist* mine = loaded->GetCurrentPlaylist();
    ASSERT_NE(mine, nullptr);
    EXPECT_EQ(mine->GetName(), "Mine");
    EXPECT_EQ(mine->GetOwner(), loaded.Get());
    ASSERT_EQ(mine->GetTracks().size(), 2u) << "tracks stored under the old folder are kept";
    EXPECT_EQ(mine->GetTracks()[0].fileName, here[2]);
    EXPECT_EQ(mine->GetTracks()[0].repeat, 1);
    EXPECT_EQ(mine->GetTracks()[1].fileName, here[0]);
    EXPECT_EQ(mine->GetTracks()[1].repeat, 0);
    EXPECT_EQ(loaded->GetCurrentTrack(), 1);
    EXPECT_TRUE(loaded->GetRepeat());
    EXPECT_EQ(loaded->GetFadeTime(), 0.5f);
    EXPECT_FLOAT_EQ(loaded->GetTargetVolume(), 0.6f);
    EXPECT_TRUE(loaded->IsPlaying());
    ASSERT_NE(loaded->GetCurrentStream(), nullptr);
    EXPECT_EQ(loaded->GetCurrentStream()->GetSoundData(), loaded->GetMusicData()[0]);

    // Saved again, it reads back the same.
    Core::MemoryFile again = Saved(*loaded);
    Core::MemoryFile rereader(again.GetData(), again.GetSize());
    Core::RefPtr<Velkor::JukeBox> reloaded;
    Core::ReadRefPtr(rereader, reloaded);
    ASSERT_TRUE(reloaded);
    EXPECT_EQ(reloaded->GetPlaylists().size(), 2u);
    EXPECT_EQ(reloaded->GetCurrentPlaylist()->GetTracks().size(), 2u);
}

TEST_F(JukeBoxSaveDisplayTest, ShortOrDamagedRecordsFailAndChangeNothing)
{
    Core::RefPtr<Velkor::JukeBox> box = MakeSaved();
    const Core::MemoryFile file = Saved(*box);
    const std::size_t sources = Engine().GetSourceCount();
    const std::size_t data = Engine().GetSoundDataCount();

    // Every cut of the record fails.
    for (std::uint32_t size = 0; size < file.GetSize(); ++size)
    {
        Core::MemoryFile cut(file.GetData(), size);
        Core::RefPtr<Velkor::JukeBox> loaded;
        Core::ReadRefPtr(cut, loaded);
        EXPECT_TRUE(cut.Failed()) << size;
    }
    EXPECT_EQ(Engine().GetSoundDataCount(), data) << "nothing loaded for a failed record";

    // Read into a jukebox in use: the record's own bytes, cut or with a
    // count past its end, leave it as it was.
    const std::uint32_t header =
        1 + 4 + static_cast<std::uint32_t>(std::string("Velkor::JukeBox").size()) + 4;
    std::vector<std::uint8_t> body(file.GetData() + header, file.GetData() + file.GetSize());
    std::vector<std::uint8_t> huge = body;
    huge[0] = huge[1] = huge[2] = huge[3] = 0xFF;
    const std::vector<std::vector<std::uint8_t>> damaged = {
        std::vector<std::uint8_t>(body.begin(), body.begin() + 10),
        std::vector<std::uint8_t>(body.begin(), body.end() - 1), huge};
    for (const std::vector<std::uint8_t>& bytes : damaged)
    {
        Core::MemoryFile reader(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        box->Read(reader);
        EXPECT_TRUE(reader.Failed());
        EXPECT_EQ(box->GetCurrentPlaylist()->GetName(), "Mine");
        EXPECT_EQ(box->GetPlaylists().size(), 2u);
        EXPECT_EQ(box->GetCurrentTrack(), 1);
        EXPECT_TRUE(box->IsPlaying());
        EXPECT_EQ(Engine().GetSourceCount(), sources);
    }
}

TEST_F(JukeBoxSaveDisplayTest, StoredValuesOutOfRangeAreMended)
{
    // A playlist whose tracks name music the owner does not have, a negative
    // repeat count, and a current track past the end.
    Core::RefPtr<Velkor::JukeBox> box = MakeSaved();
    Velkor::Playlist* mine = box->GetCurrentPlaylist();
    mine->GetTracks()[0].repeat = -5;
    mine->AddTrack(oldRoot + "\\Resources\\JukeBoxes\\" + folder + "\\gone.wav", nullptr, 0);
    ASSERT_TRUE(box->PlayMusic(0));
    Core::MemoryFile file = Saved(*box);
    // The current track field sits 4 + 4 + 3 + 20 + 1 bytes before the end.
    std::vector<std::uint8_t> bytes = file.GetBuffer();
    const std::size_t trackAt = bytes.size() - (4 + 4 + 3 + 20 + 1);
    bytes[trackAt] = 9;

    Core::MemoryFile reader(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    Core::RefPtr<Velkor::JukeBox> loaded;
    Core::ReadRefPtr(reader, loaded);
    ASSERT_FALSE(reader.Failed());
    ASSERT_EQ(loaded->GetCurrentPlaylist()->GetTracks().size(), 2u) << "the missing music is dropped";
    EXPECT_EQ(loaded->GetCurrentPlaylist()->GetTracks()[0].repeat, 0);
    EXPECT_EQ(loaded->GetCurrentTrack(), 0) << "out of range, without shuffle: track 0";
    EXPECT_TRUE(loaded->IsPlaying());
}

} // namespace

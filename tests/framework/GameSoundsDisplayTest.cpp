// The game's generated sounds played the way its levels play them: a
// looping effect through a sound object and a music track through a
// jukebox, under OpenAL Soft's null output, which plays in real time.

#include "WorldTestSupport.h"

#include "audio/Sound_Data.h"
#include "audio/Sound_Engine.h"
#include "framework/Velkor_Jukebox.h"
#include "framework/Velkor_Sound.h"

#include <chrono>
#include <thread>

namespace
{

class GameSoundsDisplayTest : public WorldTest::WorldDisplayTest
{
};

TEST_F(GameSoundsDisplayTest, ALoopingSoundAndTheGameMusicPlayTenSecondsWithoutRunningDry)
{
    const std::string directory = game->GetDirectory();
    Velkor::Layer& layer = AddLayer();
    // As the play level builds its black hole and its music.
    Core::RefPtr<Velkor::Sound> hum(new Velkor::Sound(
        directory + "\\Resources\\Sounds\\Mystical_EnergyLoop38.wav", 0, 10.0f, 1, 0.0f, 0));
    layer.AddGameObject(hum.Get());
    Core::RefPtr<Velkor::JukeBox> box(
        new Velkor::JukeBox({directory + "\\Resources\\JukeBoxes\\InGame\\17 - Nose for Trouble.wav"}));
    ASSERT_EQ(box->GetMusicData().size(), 1u) << "the track did not load";
    ASSERT_TRUE(box->GetMusicData()[0]->IsOpen()) << "the track is not streamed";
    Level().SetJukeBox(box.Get());
    box->SetRepeat(1);
    ASSERT_TRUE(box->PlayMusic(-1));
    box->SetMusicVolume(0.4f, 0.0f);
    Tick();
    ASSERT_NE(hum->GetSoundData(), nullptr) << "the loop did not load";
    EXPECT_FALSE(hum->GetSoundData()->IsOpen()) << "the loop is not loaded whole";
    ASSERT_TRUE(hum->Play(false));

    const auto start = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - start < std::chrono::seconds(10))
    {
        Tick();
        const auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
                .count();
        ASSERT_TRUE(hum->IsPlaying()) << "the loop stopped after " << ms << " ms";
        ASSERT_TRUE(box->IsPlaying()) << "the music ran dry after " << ms << " ms";
        std::this_thread::sleep_for(std::chrono::milliseconds(16));
    }
    EXPECT_EQ(box->GetCurrentTrack(), 0);
}

} // namespace

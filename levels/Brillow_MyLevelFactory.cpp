#include "levels/Brillow_MyLevelFactory.h"

#include "core/Core_Random.h"
#include "framework/Velkor_Game.h"
#include "framework/Velkor_Jukebox.h"

#include <ctime>

namespace
{

constexpr const char* LevelNames[MyLevelFactory::LevelCount] = {
    "level0", "level1", "Lose", "WIN", "TutorialLevel", "Credits", "Loading", "Options", "copy0Lose",
};

constexpr const char* MenuTrack = "\\Resources\\JukeBoxes\\MainMenu\\49 - Aeromatic.wav";
constexpr const char* GameTrack = "\\Resources\\JukeBoxes\\InGame\\17 - Nose for Trouble.wav";
constexpr float MenuMusicVolume = 1.0f;
constexpr float GameMusicVolume = 0.4f;

std::optional<std::uint32_t> g_fixedSeed;

// The game's own answer: whether it records or plays a replay now.
bool GameReplays()
{
    const Velkor::Game* game = Velkor::Game::GetInstance();
    return game != nullptr && (game->IsRecording() || game->IsReplaying());
}

MyLevelFactory::ReplayProbe g_replayProbe = &GameReplays;

} // namespace

MyLevelFactory::MyLevelFactory() = default;

MyLevelFactory::~MyLevelFactory() = default;

const char* MyLevelFactory::GetClassName() const
{
    return "MyLevelFactory";
}

std::uint32_t MyLevelFactory::GetSize() const
{
    return sizeof(MyLevelFactory);
}

std::uint32_t MyLevelFactory::GetLevelCount()
{
    return LevelCount;
}

Velkor::Level* MyLevelFactory::CreateLevel(std::uint32_t index)
{
    collisionFilesRead_.clear();
    BuildCollisionActors();
    return index < LevelCount ? BuildLevel(index) : nullptr;
}

void MyLevelFactory::OnLevelBuilt(std::uint32_t) {}

void MyLevelFactory::Init()
{
    cameras_.fill(nullptr);
    viewport_ = nullptr;
    layers_.fill(nullptr);
    menuJukeBox_ = nullptr;
    gameJukeBox_ = nullptr;
    levels_.fill(nullptr);
    for (std::vector<Velkor::GameObject*>& objects : objects_)
    {
        objects.clear();
    }
}

bool MyLevelFactory::GetLevelIndex(const std::string& name, std::uint32_t& index)
{
    for (std::uint32_t i = 0; i < LevelCount; ++i)
    {
        if (name == LevelNames[i])
        {
            index = i;
            return true;
        }
    }
    return false;
}

const char* MyLevelFactory::GetLevelName(std::uint32_t index)
{
    return index < LevelCount ? LevelNames[index] : "";
}

void MyLevelFactory::SetFixedSeed(std::optional<std::uint32_t> seed)
{
    g_fixedSeed = seed;
}

void MyLevelFactory::SetReplayProbe(ReplayProbe probe)
{
    g_replayProbe = probe != nullptr ? probe : &GameReplays;
}

Collision2D::CollisionActor* MyLevelFactory::GetActor(std::uint32_t index) const
{
    return index < ActorCount ? actors_[index] : nullptr;
}

Velkor::Camera* MyLevelFactory::GetCamera(std::uint32_t level) const
{
    return level < LevelCount ? cameras_[level] : nullptr;
}

Velkor::Layer* MyLevelFactory::GetLayer(std::uint32_t layer) const
{
    return layer < LayersPerLevel ? layers_[layer] : nullptr;
}

Velkor::Level* MyLevelFactory::GetBuiltLevel(std::uint32_t level) const
{
    return level < LevelCount ? levels_[level] : nullptr;
}

const std::vector<Velkor::GameObject*>& MyLevelFactory::GetBuiltObjects(std::uint32_t level) const
{
    static const std::vector<Velkor::GameObject*> none;
    return level < LevelCount ? objects_[level] : none;
}

void MyLevelFactory::ReseedForMusic()
{
    if (g_replayProbe())
    {
        return;
    }
    Core::SeedRandom(g_fixedSeed ? *g_fixedSeed : static_cast<std::uint32_t>(std::time(nullptr)));
}

Velkor::JukeBox* MyLevelFactory::MakeJukeBox(const std::string& track, float volume)
{
    Velkor::Game* game = Velkor::Game::GetInstance();
    const std::vector<std::string> tracks{(game != nullptr ? game->GetDirectory() : std::string()) + track};
    auto* jukeBox = new ("Brillow_MyLevelFactory", __LINE__) Velkor::JukeBox(tracks);
    jukeBox->SetFadeTime(0.0f);
    ReseedForMusic();
    jukeBox->SetShuffle(false);
    jukeBox->SetRepeat(true);
    // Out of range: with shuffle off the jukebox plays track 0, the only one.
    jukeBox->PlayMusic(-1);
    jukeBox->SetMusicVolume(volume, 0.0f);
    return jukeBox;
}

void MyLevelFactory::SetupMenuMusic()
{
    menuJukeBox_ = MakeJukeBox(MenuTrack, MenuMusicVolume);
}

void MyLevelFactory::SetupGameMusic()
{
    gameJukeBox_ = MakeJukeBox(GameTrack, GameMusicVolume);
}

#pragma once

#include "framework/Velkor_LevelFactory.h"
#include "levels/Brillow_LevelContent.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Collision2D
{
class CollisionActor;
}

namespace Velkor
{
class Camera;
class GameObject;
class JukeBox;
class Layer;
class Level;
class Viewport;
} // namespace Velkor

// The game's level factory: the nine levels by index and name, each built
// by the level recipe from the content tables after the 42 collision
// actors have been made again. The build state (actors, cameras, the
// viewport and layers of the level under construction, the jukeboxes, the
// levels and every object a builder made) is plain pointers into what the
// game owns; Init clears all but the actor table before the next build.
class MyLevelFactory : public Velkor::LevelFactory
{
public:
    static constexpr std::uint32_t LevelCount = BrillowLevelCount;
    static constexpr std::uint32_t ActorCount = 42;

    MyLevelFactory();
    ~MyLevelFactory() override;

    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;

    std::uint32_t GetLevelCount() override;
    // The actors, then the level of `index` (null past the last level).
    Velkor::Level* CreateLevel(std::uint32_t index) override;
    void OnLevelBuilt(std::uint32_t index) override;
    void Init() override;
    // Exact, case-sensitive comparison with the nine names in index order;
    // `index` is left as it was when none matches.
    bool GetLevelIndex(const std::string& name, std::uint32_t& index) override;

    // The level names in index order.
    static const char* GetLevelName(std::uint32_t index);

    // Makes actors 0 to 41 and registers them with the game in order.
    void BuildCollisionActors();
    // The level recipe for `index` (below LevelCount).
    Velkor::Level* BuildLevel(std::uint32_t index);
    // The music of the main menu and of the played levels: a new jukebox of
    // one repeated track, started at once.
    void SetupMenuMusic();
    void SetupGameMusic();

    // Every reseed of the music setups uses `seed` instead of the clock;
    // none goes back to the clock.
    static void SetFixedSeed(std::optional<std::uint32_t> seed);
    // Whether a replay records or plays now. While one does, the music
    // setups leave the generator alone: its state travels with the saved
    // game, so the replay draws what the recording drew.
    using ReplayProbe = bool (*)();
    // Null goes back to the game's own answer.
    static void SetReplayProbe(ReplayProbe probe);

    // --- Build state ----------------------------------------------------------
    Collision2D::CollisionActor* GetActor(std::uint32_t index) const;
    Velkor::Camera* GetCamera(std::uint32_t level) const;
    Velkor::Viewport* GetViewport() const { return viewport_; }
    Velkor::Layer* GetLayer(std::uint32_t layer) const;
    Velkor::JukeBox* GetMenuJukeBox() const { return menuJukeBox_; }
    Velkor::JukeBox* GetGameJukeBox() const { return gameJukeBox_; }
    Velkor::Level* GetBuiltLevel(std::uint32_t level) const;
    // The objects the builders made for `level`, in the order made.
    const std::vector<Velkor::GameObject*>& GetBuiltObjects(std::uint32_t level) const;
    // Levels built since the factory was made.
    std::uint32_t GetLevelsBuilt() const { return levelsBuilt_; }
    // The layer collision files read since the last CreateLevel, in order.
    const std::vector<std::string>& GetCollisionFilesRead() const { return collisionFilesRead_; }

private:
    void BuildLayer(std::uint32_t level, std::uint32_t layer);
    void BuildSprite(std::uint32_t level, std::uint32_t layer, const SpriteRow& row);
    void BuildText(std::uint32_t level, std::uint32_t layer, const TextRow& row);
    void BuildSound(std::uint32_t level, std::uint32_t layer, const SoundRow& row);
    void LoadLayerCollisions(std::uint32_t level, std::uint32_t layer);
    // Step 4 of the music setups.
    static void ReseedForMusic();
    Velkor::JukeBox* MakeJukeBox(const std::string& track, float volume);

    std::array<Collision2D::CollisionActor*, ActorCount> actors_{};
    std::array<Velkor::Camera*, LevelCount> cameras_{};
    Velkor::Viewport* viewport_ = nullptr;
    std::array<Velkor::Layer*, LayersPerLevel> layers_{};
    Velkor::JukeBox* menuJukeBox_ = nullptr;
    Velkor::JukeBox* gameJukeBox_ = nullptr;
    std::array<Velkor::Level*, LevelCount> levels_{};
    std::array<std::vector<Velkor::GameObject*>, LevelCount> objects_{};
    std::vector<std::string> collisionFilesRead_;
    std::uint32_t levelsBuilt_ = 0;
};

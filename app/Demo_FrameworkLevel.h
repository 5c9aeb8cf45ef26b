#pragma once

#include "core/Core_RefPtr.h"
#include "framework/Velkor_LevelFactory.h"
#include "framework/Velkor_ParticleSystem.h"
#include "framework/Velkor_Sound.h"
#include "framework/Velkor_Sprite.h"
#include "math/Math_Vector2D.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Velkor
{
class Layer;
class Level;
} // namespace Velkor

// A coloured ball of the framework demo. One with a rigid body is moved by
// the physics engine and bounces off the walls and the other balls through
// the contact bridge; one without a body moves itself at a constant
// velocity and turns back at the arena's edges.
class DemoBall : public Velkor::Sprite
{
public:
    // `low` and `high` are the corners of the box a ball without a body
    // keeps its centre in.
    DemoBall(const AnimationList& animations, const Math::Vector2D& velocity, const Math::Vector2D& low,
             const Math::Vector2D& high);

    // Played (from its start) whenever the ball comes into contact.
    void SetBounceSound(Velkor::Sound* sound);
    std::uint32_t GetBouncesPlayed() const { return bouncesPlayed_; }

    void Update(float dt) override;

private:
    Core::RefPtr<Velkor::Sound> bounce_;
    std::uint32_t bouncesPlayed_ = 0;
    bool touching_ = false;
    Math::Vector2D velocity_;
    Math::Vector2D low_;
    Math::Vector2D high_;
};

// What the framework demo's level holds.
struct FrameworkDemoSettings
{
    std::uint32_t balls = 14;
    // The first `bodies` balls get rigid bodies.
    std::uint32_t bodies = 14;
    // The layer's walls and bumpers and the balls' circles drawn as lines.
    bool showCollisionData = true;
    // A particle fountain in the middle of the arena.
    bool fountain = true;
};

// The one level of the framework demo, built the way the game's levels
// are: a HUD layer, "layer1" holding the arena and "layer2" 927.058 units
// behind it holding the camera, one viewport of 1024 x 768. "layer1" reads
// its walls and bumpers from the demo's collision file, lays the wall
// picture along every wall and the bumper picture on every bumper; the balls are sprites of the six-colour
// ball sheet over a collision actor of one animation (one frame per colour), built here and given to the
// game's collision assets.
class FrameworkDemoFactory : public Velkor::LevelFactory
{
public:
    static constexpr const char* CollisionFile = "\\Resources\\Layers Collisions\\framework_demo.txt";
    static constexpr const char* BallSheet = "\\Resources\\Animations\\DemoBalls.png";
    static constexpr const char* WallSheet = "\\Resources\\Animations\\DemoWall.png";
    static constexpr const char* BumperSheet = "\\Resources\\Animations\\DemoBumper.png";
    static constexpr const char* Background = "\\Resources\\Animations\\BG.png";
    static constexpr const char* Font = "\\Resources\\Fonts\\DefaultFont\\DefaultFont";
    static constexpr const char* Music = "\\Resources\\JukeBoxes\\InGame\\17 - Nose for Trouble.wav";
    static constexpr const char* BounceEffect = "\\Resources\\Sounds\\PopCartoon CTE02_07.wav";
    static constexpr float BallRadius = 24.0f;

    explicit FrameworkDemoFactory(const FrameworkDemoSettings& settings = {}) : settings_(settings) {}

    std::uint32_t GetLevelCount() override { return 1; }
    Velkor::Level* CreateLevel(std::uint32_t index) override;
    void Init() override;
    bool GetLevelIndex(const std::string& name, std::uint32_t& index) override;

    // The objects of the level last built (references held until Init).
    const std::vector<Core::RefPtr<DemoBall>>& GetBalls() const { return balls_; }
    Velkor::Layer* GetPlayLayer() const { return playLayer_; }
    Velkor::Sound* GetBounceSound() const { return bounce_.Get(); }
    Velkor::ParticleSystem* GetFountain() const { return fountain_.Get(); }

private:
    void BuildActor();
    void BuildWalls(Velkor::Layer& layer, const std::string& directory);
    void BuildBalls(Velkor::Layer& layer, const std::string& directory);
    // The level's music and the balls' bounce.
    void BuildSounds(Velkor::Level& level, Velkor::Layer& layer, const std::string& directory);

    FrameworkDemoSettings settings_;
    std::int32_t ballActor_ = -1;
    // The walls' extent.
    Math::Vector2D arenaLow_;
    Math::Vector2D arenaHigh_;
    Velkor::Layer* playLayer_ = nullptr;
    std::vector<Core::RefPtr<DemoBall>> balls_;
    Core::RefPtr<Velkor::Sound> bounce_;
    Core::RefPtr<Velkor::ParticleSystem> fountain_;
};

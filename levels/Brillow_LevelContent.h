#pragma once

#include "math/Math_Vector2D.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

// The content of the game's levels as data: one row per object, holding the
// values its builder passes, in the order the objects are made. The three
// builders of the level recipe interpret the rows; every value a row does
// not hold is the recipe's default.

// `count` frames shown `seconds` each.
struct FrameDelays
{
    std::uint32_t count = 0;
    float seconds = 0.0f;
};

// A sprite sheet cut into columns x rows cells, with the frame delays in
// frame order. The path begins with a backslash below the game directory.
struct AnimationRow
{
    std::string sheet;
    std::int32_t columns = 1;
    std::int32_t rows = 1;
    std::vector<FrameDelays> delays;
};

// The object's dynamic collision object: type 0 tests the bounding
// rectangle only (R), 1 the actor frame's shapes (S).
struct CollisionRow
{
    std::uint8_t type = 0;
    float thickness = 0.0f;
    std::int32_t z = 0;
    // Collision levels switched on, in this order.
    std::vector<std::int32_t> collidesWith;
    bool updateOnIdle = false;
};

struct SpriteRow
{
    std::string className;
    std::string name;
    std::vector<AnimationRow> animations;
    bool playing = false;
    bool looping = false;
    std::uint32_t startAnimation = 0;
    Math::Vector2D position{};
    float depth = 0.0f;
    // The collision actor; stored on the sprite also when it has no
    // collision object. -1: none.
    std::int32_t actor = -1;
    std::optional<CollisionRow> collision;
    bool body = false;
    float opacity = 1.0f;
    bool visible = true;
    // A HUD flag beyond the rule that sets it for the HUD layers of levels 0
    // and 1.
    bool hud = false;
};

struct TextRow
{
    std::string className;
    std::string name;
    // Folder and name without extension, below "\Resources\Fonts\".
    std::string font;
    std::string text;
    Math::Vector2D position{};
    float depth = 0.0f;
    bool hud = false;
};

struct SoundRow
{
    std::string className;
    std::string name;
    // File name below "\Resources\Sounds\".
    std::string file;
    bool looping = false;
    float volume = 1.0f;
    Math::Vector2D position{};
};

using ContentRow = std::variant<SpriteRow, TextRow, SoundRow>;

constexpr std::uint32_t BrillowLevelCount = 9;
constexpr std::uint32_t LayersPerLevel = 3;

// The rows of layer `layer` (0 HUD, 1 "layer1", 2 "layer2") of level
// `level`; empty outside the levels and layers.
const std::vector<ContentRow>& GetLayerContent(std::uint32_t level, std::uint32_t layer);

// The rows of each level that has content, one layer after another.
std::array<std::vector<ContentRow>, LayersPerLevel> PlayLevelContent();
std::array<std::vector<ContentRow>, LayersPerLevel> TutorialLevelContent();

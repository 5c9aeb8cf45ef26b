#pragma once

#include "levels/Brillow_LevelContent.h"

// Short forms of the content rows that the played levels' tables use.
namespace ContentRows
{

inline AnimationRow Sheet(const char* file, std::int32_t columns, std::int32_t rows,
                          std::vector<FrameDelays> delays)
{
    return {std::string("\\Resources\\Animations\\") + file, columns, rows, std::move(delays)};
}

// One picture shown for a second.
inline AnimationRow Still(const char* file)
{
    return Sheet(file, 1, 1, {{1, 1.0f}});
}

// A pointer or button picture: two cells, idle and highlighted.
inline AnimationRow Pair(const char* file)
{
    return Sheet(file, 2, 1, {{2, 1.0f}});
}

// Bounding rectangle only (R).
inline CollisionRow Rect(float thickness, std::int32_t z, std::vector<std::int32_t> with, bool idle)
{
    return {0, thickness, z, std::move(with), idle};
}

// The actor frame's shapes (S).
inline CollisionRow Shapes(float thickness, std::int32_t z, std::vector<std::int32_t> with, bool idle)
{
    return {1, thickness, z, std::move(with), idle};
}

struct Placement
{
    float x;
    float y;
    float depth;
};

inline SpriteRow Sprite(const char* className, const char* name, std::vector<AnimationRow> animations,
                        bool playing, bool looping, Placement at, std::int32_t actor,
                        std::optional<CollisionRow> collision, bool body = false)
{
    SpriteRow row;
    row.className = className;
    row.name = name;
    row.animations = std::move(animations);
    row.playing = playing;
    row.looping = looping;
    row.position = Math::Vector2D(at.x, at.y);
    row.depth = at.depth;
    row.actor = actor;
    row.collision = std::move(collision);
    row.body = body;
    return row;
}

inline SoundRow Sound(const char* className, const char* name, const char* file, bool looping,
                      float volume = 1.0f)
{
    return {className, name, file, looping, volume, Math::Vector2D(0.0f, 0.0f)};
}

// The looks that the play level and the tutorial give the same objects.

// The coloured ball: blue, green, yellow, orange, red, white.
inline std::vector<AnimationRow> ColouredBallLooks()
{
    return {Still("blueball.png"),   Still("greenball.png"), Still("YELLOWBALL.png"),
            Still("ORANGEBALL.png"), Still("REDBALL.png"),   Still("white.png")};
}

// The white ball: growing in, moving, white.
inline std::vector<AnimationRow> WhiteBallLooks()
{
    return {Sheet("WHITESCALE.png", 3, 2, {{6, 0.16f}}), Still("ENEMYWHITE.png"), Still("white.png")};
}

// The spike ball: growing in, moving.
inline std::vector<AnimationRow> SpikeBallLooks()
{
    return {Sheet("REDBALLSCALE.png", 3, 2, {{6, 0.16f}}), Still("SpikeBall.png")};
}

// The vertical laser's sheet: nine frames growing, one held, one fading.
inline std::vector<AnimationRow> LazerLooks()
{
    return {Sheet("LAZER11.png", 4, 3, {{9, 0.2f}, {1, 1.0f}, {1, 0.2f}})};
}

// The player ball: blue, green, yellow, orange and red, the shield, white.
inline std::vector<AnimationRow> PlayerBallLooks()
{
    return {Sheet("BLUEANIMATION0.png", 2, 2, {{4, 0.1f}}), Sheet("GREENANIMATION0.png", 2, 2, {{4, 0.1f}}),
            Sheet("YELLOWANIMATE.png", 2, 2, {{4, 0.1f}}),  Sheet("ORANGEANIMATION.png", 2, 2, {{4, 0.1f}}),
            Sheet("REDANIMATE.png", 2, 2, {{4, 0.1f}}),     Still("SheildBubble.png"),
            Sheet("WHITEANIMATE.png", 2, 2, {{4, 0.05f}})};
}

} // namespace ContentRows

#pragma once

#include "core/Core_RefPtr.h"
#include "framework/Velkor_GameObject.h"
#include "math/Math_Vector2D.h"

#include <cstdint>
#include <string>

namespace Velkor
{
class Level;
}

// How the played levels bring objects into play: a hidden prototype of
// "layer1" is found by name and class, cloned, shown, renamed, placed and
// added to "layer1". A spawn is one row of values; the levels keep their
// rows in tables.
namespace CloneSpawns
{

// One coordinate of a clone: the prototype's, a fixed value, or a draw
// RandomInt(low, high), plus RandomInt(1, 80) times the clone's index in
// its batch when `stepped` (that draw comes first).
struct Coordinate
{
    enum Kind : std::uint8_t
    {
        Keep,
        Fixed,
        Drawn,
    } kind = Keep;
    float value = 0.0f;
    std::int32_t low = 0;
    std::int32_t high = 0;
    bool stepped = false;
};

constexpr Coordinate Keep{};
constexpr Coordinate At(float value)
{
    return {Coordinate::Fixed, value, 0, 0, false};
}
constexpr Coordinate Draw(std::int32_t low, std::int32_t high)
{
    return {Coordinate::Drawn, 0.0f, low, high, false};
}
constexpr Coordinate Stepped(std::int32_t low, std::int32_t high)
{
    return {Coordinate::Drawn, 0.0f, low, high, true};
}

// How many clones one spawn makes.
enum class Batch : std::uint8_t
{
    // Exactly `count`.
    Fixed,
    // Three to five: after each clone a fresh RandomInt(3, 5) says whether
    // another follows.
    ThreeToFive,
    // One or two: before each clone a fresh RandomInt(1, 2) must exceed the
    // number made so far.
    OneOrTwo,
};

using PrototypeFinder = Velkor::GameObject* (*)(const std::string&);

struct Row
{
    PrototypeFinder find;
    const char* prototype;
    const char* clone;
    Batch batch;
    std::int32_t count;
    Coordinate x;
    Coordinate y;
    // Seconds the clone lives; 0 for ever.
    float lifeTime;
};

// The finder of prototypes of class T.
template <class T> Velkor::GameObject* Finder(const std::string& name);

// A visible copy of `prototype` named `name`, not yet in a layer.
Core::RefPtr<Velkor::GameObject> MakeClone(const Velkor::GameObject& prototype, const char* name);

// The spawn of `row` into `level`'s "layer1". A missing prototype or layer
// spawns nothing and draws nothing.
void Spawn(Velkor::Level& level, const Row& row);

// `count` clones of `prototype` named `name`, all at `at`, into `level`'s
// "layer1"; nothing without the layer.
void SpawnAt(Velkor::Level& level, const Velkor::GameObject& prototype, const char* name,
             const Math::Vector2D& at, std::int32_t count);

} // namespace CloneSpawns

#include "game/Brillow_FindObjects.h"

template <class T> Velkor::GameObject* CloneSpawns::Finder(const std::string& name)
{
    return FindObject<T>(name);
}

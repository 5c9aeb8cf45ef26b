#pragma once

#include <cmath>
#include <cstdint>

namespace Collision2D
{

// The 32-bit name of every collision object:
//   bits 0-15   index = kind base + slot in the layer
//   bits 16-23  z of the object when the id was made (informational only)
//   bits 24-31  layer index
// Lookups use the layer and the index; the z bits are what callers see as
// the object's z. Stored little-endian wherever it is archived.
using CollisionId = std::uint32_t;

// Kind codes of the common part of every collision object.
enum class CollisionKind : std::int32_t
{
    None = -1, // a bare common part
    DynamicObject = 0,
    Reserved1 = 1,
    StaticCircle = 2,
    StaticLineSegment = 3,
    Reserved4 = 4,
    Reserved5 = 5,
    TileMap = 6,
};

// Index bases. Slot 0 of every kind is never used, so an index equal to a
// base names nothing; a kind's slots end where the next base begins.
inline constexpr std::uint32_t StaticCircleBase = 535;
inline constexpr std::uint32_t StaticLineSegmentBase = 3535;
inline constexpr std::uint32_t Reserved4Base = 6535;
inline constexpr std::uint32_t Reserved5Base = 7535;
inline constexpr std::uint32_t TileMapBase = 8535;
inline constexpr std::uint32_t DynamicObjectBase = 9535;

// Highest slot of each kind a layer can name in an id.
inline constexpr std::uint32_t MaximumStaticCircleSlot = StaticLineSegmentBase - StaticCircleBase - 1; // 2999
inline constexpr std::uint32_t MaximumStaticLineSegmentSlot =
    Reserved4Base - StaticLineSegmentBase - 1;                                           // 2999
inline constexpr std::uint32_t MaximumTileMapSlot = DynamicObjectBase - TileMapBase - 1; // 999
inline constexpr std::uint32_t MaximumDynamicObjectSlot = 0xFFFFu - DynamicObjectBase;   // 56000

constexpr CollisionId PackCollisionId(std::uint16_t index, std::uint8_t layer, std::uint8_t z)
{
    return ((static_cast<std::uint32_t>(layer) << 8 | z) << 16) | index;
}

constexpr void UnpackCollisionId(CollisionId id, std::uint16_t& index, std::uint8_t& z, std::uint8_t& layer)
{
    index = static_cast<std::uint16_t>(id & 0xFFFFu);
    z = static_cast<std::uint8_t>((id >> 16) & 0xFFu);
    layer = static_cast<std::uint8_t>(id >> 24);
}

constexpr std::uint16_t IndexOf(CollisionId id)
{
    return static_cast<std::uint16_t>(id & 0xFFFFu);
}
constexpr std::uint8_t ZOf(CollisionId id)
{
    return static_cast<std::uint8_t>((id >> 16) & 0xFFu);
}
constexpr std::uint8_t LayerOf(CollisionId id)
{
    return static_cast<std::uint8_t>(id >> 24);
}

// What an index decodes to. `kind` is None below the first base; `slot` is
// the index minus its kind's base, 0 for an index equal to a base.
struct DecodedIndex
{
    CollisionKind kind = CollisionKind::None;
    std::uint32_t slot = 0;

    // True for a kind a layer stores (dynamic object, static circle, static
    // line segment, tile map) with a slot other than 0.
    constexpr bool NamesStoredObject() const
    {
        return slot != 0 && (kind == CollisionKind::DynamicObject || kind == CollisionKind::StaticCircle ||
                             kind == CollisionKind::StaticLineSegment || kind == CollisionKind::TileMap);
    }
};

// Ranges tested in order: below 535 nothing; 535-3534 static circle;
// 3535-6534 static line segment; 6535-7534 kind 4; 7535-8534 kind 5;
// 8535-9534 tile map; 9535 and above dynamic object.
constexpr DecodedIndex DecodeIndex(std::uint32_t index)
{
    if (index < StaticCircleBase)
    {
        return {};
    }
    if (index < StaticLineSegmentBase)
    {
        return {CollisionKind::StaticCircle, index - StaticCircleBase};
    }
    if (index < Reserved4Base)
    {
        return {CollisionKind::StaticLineSegment, index - StaticLineSegmentBase};
    }
    if (index < Reserved5Base)
    {
        return {CollisionKind::Reserved4, index - Reserved4Base};
    }
    if (index < TileMapBase)
    {
        return {CollisionKind::Reserved5, index - Reserved5Base};
    }
    if (index < DynamicObjectBase)
    {
        return {CollisionKind::TileMap, index - TileMapBase};
    }
    return {CollisionKind::DynamicObject, index - DynamicObjectBase};
}

constexpr DecodedIndex DecodeId(CollisionId id)
{
    return DecodeIndex(IndexOf(id));
}

// The index base of a kind; 0 for the kinds that have none.
constexpr std::uint32_t BaseOf(CollisionKind kind)
{
    switch (kind)
    {
    case CollisionKind::DynamicObject:
        return DynamicObjectBase;
    case CollisionKind::StaticCircle:
        return StaticCircleBase;
    case CollisionKind::StaticLineSegment:
        return StaticLineSegmentBase;
    case CollisionKind::Reserved4:
        return Reserved4Base;
    case CollisionKind::Reserved5:
        return Reserved5Base;
    case CollisionKind::TileMap:
        return TileMapBase;
    default:
        return 0;
    }
}

// The low 8 bits of trunc(n), as two's complement gives them for any
// integer value: how script numbers become layer indices and z values.
// Not-a-number and infinities give 0.
inline std::uint8_t LowByteOfScriptNumber(double n)
{
    if (!std::isfinite(n))
    {
        return 0;
    }
    double low = std::fmod(std::trunc(n), 256.0);
    if (low < 0.0)
    {
        low += 256.0;
    }
    return static_cast<std::uint8_t>(low);
}

} // namespace Collision2D

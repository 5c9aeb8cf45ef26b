#include "CollisionTestSupport.h"

#include "collision/Collision_GeometricCollision.h"
#include "collision/Collision_Id.h"
#include "collision/Collision_Settings.h"

namespace
{

using namespace Collision2D;
using CollisionTest::CollisionFixture;

TEST(CollisionId, PackAndUnpack)
{
    struct Case
    {
        std::uint16_t index;
        std::uint8_t layer;
        std::uint8_t z;
        CollisionId id;
    };
    const Case cases[] = {
        {9536, 2, 7, 0x02072540u},         {535 + 1, 0, 0, 536u},           {0xFFFF, 0xFF, 0xFF, 0xFFFFFFFFu},
        {8535 + 999, 255, 0, 0xFF00253Eu}, {3535 + 3, 1, 254, 0x01FE0DD2u},
    };
    for (const Case& c : cases)
    {
        const CollisionId id = PackCollisionId(c.index, c.layer, c.z);
        EXPECT_EQ(id, c.id) << c.index;
        std::uint16_t index = 0;
        std::uint8_t z = 0;
        std::uint8_t layer = 0;
        UnpackCollisionId(id, index, z, layer);
        EXPECT_EQ(index, c.index);
        EXPECT_EQ(z, c.z);
        EXPECT_EQ(layer, c.layer);
        EXPECT_EQ(IndexOf(id), c.index);
        EXPECT_EQ(ZOf(id), c.z);
        EXPECT_EQ(LayerOf(id), c.layer);
    }
}

TEST(CollisionId, IndexRanges)
{
    struct Case
    {
        std::uint32_t index;
        CollisionKind kind;
        std::uint32_t slot;
        bool namesObject;
    };
    const Case cases[] = {
        {0, CollisionKind::None, 0, false},
        {534, CollisionKind::None, 0, false},
        {535, CollisionKind::StaticCircle, 0, false},
        {536, CollisionKind::StaticCircle, 1, true},
        {3534, CollisionKind::StaticCircle, 2999, true},
        {3535, CollisionKind::StaticLineSegment, 0, false},
        {6534, CollisionKind::StaticLineSegment, 2999, true},
        {6535, CollisionKind::Reserved4, 0, false},
        {6536, CollisionKind::Reserved4, 1, false},
        {7535, CollisionKind::Reserved5, 0, false},
        {8535, CollisionKind::TileMap, 0, false},
        {8536, CollisionKind::TileMap, 1, true},
        {9534, CollisionKind::TileMap, 999, true},
        {9535, CollisionKind::DynamicObject, 0, false},
        {9538, CollisionKind::DynamicObject, 3, true},
        {65535, CollisionKind::DynamicObject, 56000, true},
    };
    for (const Case& c : cases)
    {
        const DecodedIndex decoded = DecodeIndex(c.index);
        EXPECT_EQ(decoded.kind, c.kind) << c.index;
        EXPECT_EQ(decoded.slot, c.slot) << c.index;
        EXPECT_EQ(decoded.NamesStoredObject(), c.namesObject) << c.index;
    }
    // The layer and z bytes do not change what an id names.
    EXPECT_EQ(DecodeId(PackCollisionId(9538, 4, 200)).slot, 3u);
}

using CollisionCounters = CollisionFixture;

TEST_F(CollisionCounters, StaticShapesTakeConsecutiveSerialsUntilTheCountersReset)
{
    StaticCollisionCircle first;
    StaticCollisionCircle second;
    StaticCollisionLineSegment segment;
    EXPECT_EQ(first.GetSerial(), 1u);
    EXPECT_EQ(second.GetSerial(), 2u);
    EXPECT_EQ(segment.GetSerial(), 1u);
    EXPECT_EQ(TakeLayerIndex(), 0);
    EXPECT_EQ(TakeLayerIndex(), 1);
    EXPECT_EQ(TakeTileMapSerial(), 1u);

    SetMaximumInterpolationValue(7);
    ResetCollisionCounters();
    EXPECT_EQ(StaticCollisionCircle().GetSerial(), 1u);
    EXPECT_EQ(StaticCollisionLineSegment().GetSerial(), 1u);
    EXPECT_EQ(GetLayerCounter(), 0);
    EXPECT_EQ(GetTileMapSerial(), 1u);
    // The setting is not a counter.
    EXPECT_EQ(GetMaximumInterpolationValue(), 7);
}

TEST_F(CollisionCounters, MaximumInterpolationValueRefusesValuesBelowOne)
{
    EXPECT_FALSE(SetMaximumInterpolationValue(0));
    EXPECT_FALSE(SetMaximumInterpolationValue(-3));
    EXPECT_EQ(GetMaximumInterpolationValue(), 20);
    EXPECT_TRUE(SetMaximumInterpolationValue(1));
    EXPECT_EQ(GetMaximumInterpolationValue(), 1);
}

} // namespace

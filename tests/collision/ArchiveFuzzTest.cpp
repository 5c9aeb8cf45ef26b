// Damaged saves: every prefix and byte-flipped copies of a save holding
// every kind of collision object and every kind of contact record are fed
// to the readers. Under the sanitizer build nothing may read or write out of
// bounds; a failed read must leave the reader's target and the process-wide
// counters exactly as they were, and a world that reads successfully must
// step without harm.

#include "LayerTestSupport.h"

#include "collision/Collision_CollisionActor.h"
#include "collision/Collision_CollisionEngine.h"
#include "collision/Collision_TileMap.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

namespace
{

using namespace Collision2D;
using CollisionTest::BytesOf;
using CollisionTest::CollisionFixture;
using CollisionTest::MakeMover;
using CollisionTest::MakeStaticCircle;
using CollisionTest::MakeStaticSegment;
using Bytes = std::vector<std::uint8_t>;

// The damaged copies of a stream: prefixes cut every 7 bytes, and one flip
// of every byte, the flip changing in turn a low bit (a count one off), the
// top bit (a sign, a float's exponent) and every bit. Period 3 against
// 4-byte fields gives each byte of a field every kind of flip in turn.
std::vector<Bytes> DamagedCopies(const Bytes& bytes)
{
    constexpr std::uint8_t Flips[] = {0x01, 0x80, 0xFF};
    std::vector<Bytes> copies;
    for (std::size_t length = 0; length < bytes.size(); length += 7)
    {
        copies.emplace_back(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
    }
    for (std::size_t at = 0; at < bytes.size(); ++at)
    {
        copies.push_back(bytes);
        copies.back()[at] ^= Flips[at % 3];
    }
    return copies;
}

struct Counters
{
    std::int32_t layer = GetLayerCounter();
    std::uint32_t circle = GetStaticCircleSerial();
    std::uint32_t segment = GetStaticLineSegmentSerial();
    std::uint32_t tileMap = GetTileMapSerial();
    std::int32_t maximumInterpolation = GetMaximumInterpolationValue();

    bool operator==(const Counters&) const = default;
};

// A map of 3 x 2 cells of 16 units with an animated tile in cells (2, 0)
// and (1, 1).
TileMap* MakeMap()
{
    TileMap* map = CollisionTest::MakeAnimatedMap();
    map->UseCell(2, 0, 1);
    map->UseCell(1, 1, 1);
    return map;
}

// A layer whose step leaves a record of every kind: two circles meeting
// head-on (shape contacts on both sides), a circle crossing a static circle
// and then the front of a static segment, and a rectangle object entering a
// used column of a tile map past an idle rectangle object; with a removed
// slot of every kind. A second, empty layer follows.
void Populate(CollisionEngine& engine, CollisionActor& actor)
{
    engine.AddLayer();
    engine.AddLayer();
    engine.InitializeLayerGrid(0, {0, 0}, 640, 480, 320);
    engine.InitializeLayerGrid(1, {0, 0}, 10, 10, 50);
    auto add = [&](MainCollisionObject* object, Math::Vector2D at)
    { return engine.AddCollisionObject(object, 0, at); };
    add(MakeMover(actor, {100, 100}, {130, 100}), {130, 100});
    add(MakeMover(actor, {160, 100}, {130, 100}), {130, 100});
    add(MakeMover(actor, {250, 300}, {330, 300}), {330, 300});
    add(MakeMover(actor, {510, 310}, {530, 310}, 0), {530, 310});
    add(MakeMover(actor, {545, 310}, {545, 310}, 0), {545, 310});
    engine.RemoveCollisionObject(add(MakeMover(actor, {}, {}), {}));

    add(MakeStaticCircle({280, 300}, 5), {});
    engine.RemoveCollisionObject(add(MakeStaticCircle({10, 10}, 3), {}));
    add(MakeStaticSegment({320, 250}, {320, 350}), {});
    engine.RemoveCollisionObject(add(MakeStaticSegment({0, 0}, {1, 1}), {}));
    engine.RemoveCollisionObject(add(new ("test", __LINE__) TileMap, {}));
    add(MakeMap(), {500, 300});
    engine.Update(0.3f);
}

class ArchiveFuzzTest : public CollisionFixture
{
protected:
    void SetUp() override
    {
        CollisionFixture::SetUp();
        actor = CollisionTest::MakeSquareActor(10);
    }

    // Reads `bytes` into `target`. A failed read must change nothing; a
    // successful one must give a world that steps once its objects have
    // their actor again.
    void ReadDamaged(CollisionEngine& target, const Bytes& bytes, const Bytes& before, std::size_t copy)
    {
        const Counters counters;
        Core::MemoryFile in(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        if (!target.Read(in))
        {
            EXPECT_TRUE(in.Failed()) << "copy " << copy;
            ASSERT_EQ(BytesOf(target), before) << "engine changed by a failed read, copy " << copy;
            ASSERT_TRUE(Counters() == counters) << "counters changed by a failed read, copy " << copy;
            return;
        }
        for (std::uint32_t layer = 0; layer < target.GetLayerCount(); ++layer)
        {
            CollisionLayer& stored = *target.GetLayer(layer);
            for (std::int32_t slot = 1; slot < stored.GetCount(CollisionLayer::DynamicObjects); ++slot)
            {
                if (DynamicObject* object = stored.GetDynamicObject(static_cast<std::uint32_t>(slot)))
                {
                    object->AddCollisionData(actor.get(), 0, 0);
                }
            }
        }
        target.Update(0.3f);
        target.Update(0.3f);
        // Back to the saved world for the next damaged copy.
        Core::MemoryFile good(before.data(), static_cast<std::uint32_t>(before.size()));
        ASSERT_TRUE(target.Read(good));
    }

    std::unique_ptr<CollisionActor> actor;
};

TEST_F(ArchiveFuzzTest, TheEngineSurvivesDamagedSaves)
{
    CollisionEngine engine;
    Populate(engine, *actor);
    // The save holds a record of every kind.
    const CollisionResults& first = *engine.GetCollisionResults(PackCollisionId(9536, 0, 0));
    ASSERT_GT(first.GetDynamicContactCount(), 0);
    ASSERT_GT(first.GetDynamicContact(0).currentCirclesNumber, 0);
    const CollisionResults& third = *engine.GetCollisionResults(PackCollisionId(9538, 0, 0));
    ASSERT_GT(third.GetStaticCircleContactCount(), 0);
    ASSERT_GT(third.GetStaticLineSegmentContactCount(), 0);
    const CollisionResults& fourth = *engine.GetCollisionResults(PackCollisionId(9539, 0, 0));
    ASSERT_GT(fourth.GetRectangleContactCount(), 0);
    ASSERT_GT(fourth.GetTileMapContactCount(), 0);
    ASSERT_GT(fourth.GetTileMapContact(0).currentNewIdsNumber, 0u);
    ASSERT_GT(fourth.GetTileMapContact(0).currentStaticIdsNumber, 0u);
    const Bytes saved = BytesOf(engine);

    CollisionEngine target;
    Core::MemoryFile load(saved.data(), static_cast<std::uint32_t>(saved.size()));
    ASSERT_TRUE(target.Read(load));
    ASSERT_EQ(BytesOf(target), saved);

    const std::vector<Bytes> copies = DamagedCopies(saved);
    for (std::size_t i = 0; i < copies.size(); ++i)
    {
        ReadDamaged(target, copies[i], saved, i);
    }
}

TEST_F(ArchiveFuzzTest, TileMapsAndActorsSurviveDamagedStreams)
{
    const std::unique_ptr<TileMap> map(MakeMap());
    const Bytes mapBytes = BytesOf(*map);
    const std::unique_ptr<CollisionActor> shapes = CollisionTest::MakeSquareActor(3);
    shapes->GetFrame(0, 0)->AddLineSegment({1, 2}, {3, 4}, 5, true);
    shapes->GetFrame(0, 0)->AddHotSpot({1, 1}, true);
    const Bytes actorBytes = BytesOf(*shapes);

    for (const Bytes& damaged : DamagedCopies(mapBytes))
    {
        TileMap target(ForReading);
        target.SetGrid(1, 1, 4, 0);
        const Bytes before = BytesOf(target);
        const Counters counters;
        Core::MemoryFile in(damaged.data(), static_cast<std::uint32_t>(damaged.size()));
        if (!target.Read(in))
        {
            ASSERT_EQ(BytesOf(target), before);
            ASSERT_TRUE(Counters() == counters);
            continue;
        }
        // Whatever was read answers its queries inside its own cells.
        for (std::int32_t column = -1; column <= target.GetColumns(); ++column)
        {
            for (std::int32_t row = -1; row <= target.GetRows(); ++row)
            {
                if (const Cell* cell = target.GetCell(column, row))
                {
                    static_cast<void>(cell->Id());
                }
            }
        }
        target.Update(0.3f);
        static_cast<void>(target.GetCollidedCellId({20, 5}, 4));
    }

    for (const Bytes& damaged : DamagedCopies(actorBytes))
    {
        CollisionActor target;
        Core::MemoryFile in(damaged.data(), static_cast<std::uint32_t>(damaged.size()));
        if (!target.Read(in))
        {
            ASSERT_EQ(target.GetAnimationCount(), 0u);
        }
    }
}

} // namespace

#include "CollisionTestSupport.h"

#include "collision/Collision_CollisionResults.h"
#include "collision/Collision_ContactRecords.h"

#include <functional>

namespace
{

using namespace Collision2D;
using CollisionTest::BytesOf;
using Math::Vector2D;
using Pool = CollisionResults::Pool;

constexpr Pool AllPools[] = {CollisionResults::RectanglePool, CollisionResults::DynamicPool,
                             CollisionResults::StaticCirclePool, CollisionResults::StaticLineSegmentPool,
                             CollisionResults::TileMapPool};

void Advance(CollisionResults& results, Pool pool)
{
    switch (pool)
    {
    case CollisionResults::RectanglePool:
        results.NextRectangleContact();
        break;
    case CollisionResults::DynamicPool:
        results.NextDynamicObjectContact();
        break;
    case CollisionResults::StaticCirclePool:
        results.NextStaticCircleContact();
        break;
    case CollisionResults::StaticLineSegmentPool:
        results.NextStaticLineSegmentContact();
        break;
    case CollisionResults::TileMapPool:
        results.NextTileMapContact();
        break;
    }
}

void Fill(ShapeContact& record, std::uint32_t seed)
{
    record.id = PackCollisionId(static_cast<std::uint16_t>(535 + seed), 1, 2);
    record.contactPosition = {1.5f * seed, -2.0f};
    record.contactOrientation = 30.0f + seed;
    record.penetrationDistance = 0.25f;
    record.otherOwner = 0xABCDEF;
    for (int k = 0; k < ShapeContact::MaximumPoints; ++k)
    {
        record.contactPoint[k] = {static_cast<float>(k), static_cast<float>(seed)};
        record.normal[k] = {0.0f, k % 2 == 0 ? 1.0f : -1.0f};
        record.myCircleUserId[k] = seed * 10 + k;
        record.myLineSegmentUserId[k] = seed * 100 + k;
    }
    record.numberOfIntersectedPoints = 3;
    record.userId = seed + 7;
}

// A block with records in every pool, two of them grown past their first
// allocation, and inner records in its dynamic contacts.
CollisionResults FilledResults()
{
    CollisionResults results;
    for (int i = 0; i < 6; ++i)
    {
        BRECT_C& rectangle = results.CurrentRectangleContact();
        rectangle.id = 9536u + i;
        rectangle.rectangleIntersection = ZibRect(4, 1, 3, 2 + i);
        rectangle.contactPosition = {7, 8};
        rectangle.contactOrientation = 90;
        results.NextRectangleContact();
    }
    for (int i = 0; i < 2; ++i)
    {
        DGEO_C& dynamic = results.CurrentDynamicContact();
        dynamic.id = 9540u + i;
        for (int j = 0; j < 6; ++j)
        {
            Fill(dynamic.CurrentLineSegment(), 20 + j);
            dynamic.NextLineSegment();
        }
        Fill(dynamic.CurrentCircle(), 30);
        dynamic.NextCircle();
        results.NextDynamicContact();
    }
    Fill(results.CurrentStaticCircleContact(), 1);
    results.NextStaticCircleContact();
    Fill(results.CurrentStaticLineSegmentContact(), 2);
    results.NextStaticLineSegmentContact();
    TMAP_C& tileMap = results.CurrentTileMapContact();
    tileMap.id = 8536;
    for (int i = 0; i < 21; ++i)
    {
        tileMap.AppendStaticEntry(static_cast<std::uint8_t>(i), i, -i, 3, 0);
    }
    tileMap.AppendNewEntry(255, 4, 5, 1, 2, {1, 2}, {-1, 0}, 45);
    results.NextTileMapContact();
    return results;
}

TEST(CollisionResults, AFreshBlock)
{
    const CollisionResults results;
    for (const Pool pool : AllPools)
    {
        EXPECT_EQ(results.GetAllocated(pool), pool == CollisionResults::TileMapPool ? 20 : 5);
        EXPECT_EQ(results.GetCount(pool), 0);
    }
    EXPECT_EQ(results.GetDeltaBuffer(), 5);
    EXPECT_FALSE(results.HasAnyContact());
    const CIR_C& circle = results.GetStaticCircleContact(4);
    EXPECT_EQ(circle.myCircleUserId[3], NoUserId);
    EXPECT_EQ(circle.myLineSegmentUserId[0], NoUserId);
    EXPECT_EQ(circle.userId, 0u);
    const DGEO_C& dynamic = results.GetDynamicContact(4);
    EXPECT_EQ(dynamic.lineSegments.size(), 5u);
    EXPECT_EQ(dynamic.circles.size(), 5u);
    EXPECT_EQ(results.GetTileMapContact(19).newEntries.size(), 20u);
}

TEST(CollisionResults, PoolsGrowByTheDeltaAtTheAdvanceThatLeavesNoSpare)
{
    for (const Pool pool : AllPools)
    {
        CollisionResults results;
        const std::int32_t initial = results.GetAllocated(pool);
        for (std::int32_t i = 1; i < initial; ++i)
        {
            Advance(results, pool);
            ASSERT_EQ(results.GetAllocated(pool), initial) << pool;
        }
        Advance(results, pool);
        EXPECT_EQ(results.GetCount(pool), initial);
        EXPECT_EQ(results.GetAllocated(pool), initial + 5);
        EXPECT_TRUE(results.HasAnyContact());
        // The spare record exists.
        (void)results.GetRectangleContact(results.GetAllocated(CollisionResults::RectanglePool) - 1);
        // Counts advanced without filling archive fresh records.
        CollisionResults read;
        CollisionTest::ExpectByteExactRoundTrip(results, read);
    }

    DGEO_C dynamic;
    for (int i = 0; i < 5; ++i)
    {
        dynamic.NextCircle();
    }
    EXPECT_EQ(dynamic.buffer_Circles, 10);
    EXPECT_EQ(dynamic.circles.size(), 10u);
    EXPECT_EQ(dynamic.buffer_LineSegments, 5);

    TMAP_C tileMap;
    for (int i = 0; i < 20; ++i)
    {
        tileMap.AppendNewEntry(1, i, 0, 1, 0, {}, {}, 0);
    }
    EXPECT_EQ(tileMap.currentNewIdsNumber, 20u);
    EXPECT_EQ(tileMap.buffer_NewIds, 25u);
    EXPECT_EQ(tileMap.newEntries.size(), 25u);
    EXPECT_EQ(tileMap.newEntries[19].cellX, 19);
}

TEST(CollisionResults, ResetClearsEveryCountAndKeepsTheAllocations)
{
    CollisionResults results = FilledResults();
    const DGEO_C& dynamic = results.GetDynamicContact(1);
    ASSERT_EQ(dynamic.currentLineSegmentsNumber, 6);
    ASSERT_EQ(results.GetTileMapContact(0).currentStaticIdsNumber, 21u);
    std::int32_t allocated[CollisionResults::PoolCount];
    for (const Pool pool : AllPools)
    {
        allocated[pool] = results.GetAllocated(pool);
    }

    results.Reset();
    for (const Pool pool : AllPools)
    {
        EXPECT_EQ(results.GetCount(pool), 0);
        EXPECT_EQ(results.GetAllocated(pool), allocated[pool]);
    }
    EXPECT_FALSE(results.HasAnyContact());
    for (std::int32_t i = 0; i < results.GetAllocated(CollisionResults::DynamicPool); ++i)
    {
        const DGEO_C& record = results.GetDynamicContact(i);
        EXPECT_EQ(record.currentLineSegmentsNumber, 0);
        EXPECT_EQ(record.currentCirclesNumber, 0);
    }
    EXPECT_EQ(dynamic.buffer_LineSegments, 10);
    EXPECT_EQ(dynamic.lineSegments[5].myLineSegmentUserId[0], NoUserId);
    EXPECT_EQ(dynamic.lineSegments[5].myLineSegmentUserId[1], 2501u);
    const CIR_C& circle = results.GetStaticCircleContact(0);
    EXPECT_EQ(circle.numberOfIntersectedPoints, 0);
    EXPECT_EQ(circle.myCircleUserId[3], NoUserId);
    EXPECT_EQ(circle.myLineSegmentUserId[2], NoUserId);
    const TMAP_C& tileMap = results.GetTileMapContact(0);
    EXPECT_EQ(tileMap.currentStaticIdsNumber, 0u);
    EXPECT_EQ(tileMap.currentNewIdsNumber, 0u);
    EXPECT_EQ(tileMap.buffer_StaticIds, 25u);
}

TEST(CollisionResults, CopiesAreDeep)
{
    const CollisionResults original = FilledResults();
    CollisionResults copy = original;
    copy.Reset();
    copy.CurrentDynamicContact().NextCircle();
    EXPECT_EQ(original.GetDynamicContact(0).currentCirclesNumber, 1);
    EXPECT_EQ(original.GetCount(CollisionResults::RectanglePool), 6);
    EXPECT_EQ(BytesOf(CollisionResults(original)), BytesOf(original));
}

TEST(ContactRecords, EveryRecordKindRoundTripsByteForByte)
{
    CIR_C circle;
    Fill(circle, 3);
    LNS_C segment;
    Fill(segment, 4);
    DGEO_C dynamic;
    dynamic.id = 9999;
    dynamic.contactPosition = {3, 4};
    for (int i = 0; i < 7; ++i)
    {
        Fill(dynamic.CurrentCircle(), i);
        dynamic.NextCircle();
    }
    TMAP_C tileMap;
    tileMap.AppendNewEntry(12, 1, 2, 6, 3, {5, 6}, {0, 1}, 12.5f);
    tileMap.AppendStaticEntry(255, -1, 7, 0, 1);
    BRECT_C rectangle;
    rectangle.id = 9600;
    rectangle.otherOwner = 42;
    rectangle.rectangleIntersection = ZibRect(1, 2, 3, 4);
    rectangle.contactPosition = {-5, 5};
    rectangle.contactOrientation = 181;
    TMAP_DATA entry = tileMap.newEntries[0];
    TMAP_DATA_BASE baseEntry = tileMap.staticEntries[0];

    CIR_C readCircle;
    LNS_C readSegment;
    DGEO_C readDynamic;
    TMAP_C readTileMap;
    BRECT_C readRectangle;
    TMAP_DATA readEntry;
    TMAP_DATA_BASE readBaseEntry;
    CollisionResults readResults;
    CollisionTest::ExpectByteExactRoundTrip(circle, readCircle);
    CollisionTest::ExpectByteExactRoundTrip(segment, readSegment);
    CollisionTest::ExpectByteExactRoundTrip(dynamic, readDynamic);
    CollisionTest::ExpectByteExactRoundTrip(tileMap, readTileMap);
    CollisionTest::ExpectByteExactRoundTrip(rectangle, readRectangle);
    CollisionTest::ExpectByteExactRoundTrip(entry, readEntry);
    CollisionTest::ExpectByteExactRoundTrip(baseEntry, readBaseEntry);
    CollisionTest::ExpectByteExactRoundTrip(FilledResults(), readResults);

    EXPECT_EQ(BytesOf(circle).size(), ShapeContact::ArchiveBytes);
    EXPECT_EQ(BytesOf(rectangle).size(), BRECT_C::ArchiveBytes);
    EXPECT_EQ(BytesOf(entry).size(), TMAP_DATA::ArchiveBytes);
    // Owner words are addresses of this run: never stored.
    EXPECT_EQ(readCircle.otherOwner, 0u);
    EXPECT_EQ(readRectangle.otherOwner, 0u);
    EXPECT_EQ(readCircle.myLineSegmentUserId[2], 302u);
    EXPECT_EQ(readDynamic.buffer_Circles, 10);
    EXPECT_EQ(readDynamic.circles.size(), 10u);
    EXPECT_EQ(readTileMap.newEntries[0].zAngle, 12.5f);
    EXPECT_EQ(readTileMap.newEntries.size(), 20u);
    EXPECT_EQ(readResults.GetDynamicContact(1).lineSegments[5].userId, 32u);
}

TEST(ContactRecords, TruncatedStreamsAreRejectedAndChangeNothing)
{
    CIR_C circle;
    Fill(circle, 3);
    DGEO_C dynamic;
    Fill(dynamic.CurrentLineSegment(), 5);
    dynamic.NextLineSegment();
    TMAP_C tileMap;
    tileMap.AppendNewEntry(12, 1, 2, 6, 3, {5, 6}, {0, 1}, 12.5f);
    tileMap.AppendStaticEntry(255, -1, 7, 0, 1);
    BRECT_C rectangle;
    rectangle.id = 77;

    CIR_C circleTarget;
    DGEO_C dynamicTarget;
    dynamicTarget.id = 5;
    TMAP_C tileMapTarget;
    BRECT_C rectangleTarget;
    CollisionResults resultsTarget = FilledResults();
    resultsTarget.Reset();
    CollisionTest::ExpectEveryTruncationRejected(circle, circleTarget);
    CollisionTest::ExpectEveryTruncationRejected(dynamic, dynamicTarget);
    CollisionTest::ExpectEveryTruncationRejected(tileMap, tileMapTarget);
    CollisionTest::ExpectEveryTruncationRejected(rectangle, rectangleTarget);
    CollisionTest::ExpectEveryTruncationRejected(FilledResults(), resultsTarget);
}

TEST(ContactRecords, CountsBeyondTheirCapacityAreRejected)
{
    struct Case
    {
        const char* what;
        std::function<std::vector<std::uint8_t>()> bytes;
        std::function<bool(Core::MemoryFile&)> read;
    };
    // Offsets into the archive forms: a record's common part is 20 bytes.
    const Case cases[] = {
        {"five points in a circle record",
         []
         {
             CIR_C record;
             auto bytes = BytesOf(record);
             CollisionTest::Patch(bytes, ShapeContact::ArchiveBytes - 8, std::int32_t{5});
             return bytes;
         },
         [](Core::MemoryFile& in) { return CIR_C().Read(in); }},
        {"inner count equal to its buffer",
         []
         {
             auto bytes = BytesOf(DGEO_C());
             CollisionTest::Patch(bytes, 24, std::int32_t{5});
             return bytes;
         },
         [](Core::MemoryFile& in) { return DGEO_C().Read(in); }},
        {"negative inner buffer",
         []
         {
             auto bytes = BytesOf(DGEO_C());
             CollisionTest::Patch(bytes, 20, std::int32_t{-1});
             return bytes;
         },
         [](Core::MemoryFile& in) { return DGEO_C().Read(in); }},
        {"growth step 0",
         []
         {
             auto bytes = BytesOf(DGEO_C());
             CollisionTest::Patch(bytes, bytes.size() - 4, std::int32_t{0});
             return bytes;
         },
         [](Core::MemoryFile& in) { return DGEO_C().Read(in); }},
        {"tile-map count above its buffer",
         []
         {
             auto bytes = BytesOf(TMAP_C());
             CollisionTest::Patch(bytes, 24, std::uint32_t{21});
             return bytes;
         },
         [](Core::MemoryFile& in) { return TMAP_C().Read(in); }},
        {"block count far beyond the bytes",
         []
         {
             auto bytes = BytesOf(CollisionResults());
             CollisionTest::Patch(bytes, 0, std::int32_t{60000});
             CollisionTest::Patch(bytes, 4, std::int32_t{59999});
             return bytes;
         },
         [](Core::MemoryFile& in) { return CollisionResults().Read(in); }},
        {"block allocation beyond any real step",
         []
         {
             auto bytes = BytesOf(CollisionResults());
             CollisionTest::Patch(bytes, 0, std::int32_t{0x7FFFFFFF});
             return bytes;
         },
         [](Core::MemoryFile& in) { return CollisionResults().Read(in); }},
        {"tile-map pool of tens of thousands of records from one damaged byte",
         []
         {
             auto bytes = BytesOf(CollisionResults());
             // The tile-map pool's allocated number follows four empty pools.
             CollisionTest::Patch(bytes, 4 * 8, std::int32_t{20 | 0x8000});
             return bytes;
         },
         [](Core::MemoryFile& in) { return CollisionResults().Read(in); }},
        {"inner tile-map pool of tens of thousands of entries",
         []
         {
             auto bytes = BytesOf(TMAP_C());
             CollisionTest::Patch(bytes, 32, std::uint32_t{20 | 0x8000});
             return bytes;
         },
         [](Core::MemoryFile& in) { return TMAP_C().Read(in); }},
    };
    for (const Case& c : cases)
    {
        const std::vector<std::uint8_t> bytes = c.bytes();
        Core::MemoryFile in(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        EXPECT_FALSE(c.read(in)) << c.what;
        EXPECT_TRUE(in.Failed()) << c.what;
    }
}

} // namespace

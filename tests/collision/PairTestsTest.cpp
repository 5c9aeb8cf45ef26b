#include "LayerTestSupport.h"

#include "collision/Collision_CollisionLayer.h"

#include <memory>
#include <vector>

namespace
{

using namespace Collision2D;
using CollisionTest::AddMover;
using CollisionTest::CollisionFixture;
using CollisionTest::MakeSquareActor;
using Math::Vector2D;

constexpr float Near = 1e-4f;

// A scripted stand-in for the shape tests: it logs every call and reports
// the contacts the test script asks for.
struct Call
{
    std::int32_t first;  // slot of the first object
    std::int32_t second; // slot of the second object
    float dt;
    float k;
    std::int32_t subSteps; // N handed to the both-moving segment tests, else 0
};

struct Script
{
    // One-moving: segments against segments reports at this sub-step.
    int oneMovingHitK = 0;
    float oneMovingFraction = 0.0f;
    // Both moving: in this sub-step the segment test sets these flags and
    // fractions (receiver first).
    int bothHitK = 0;
    bool receiverHit = false;
    bool candidateHit = false;
    float receiverFraction = 2.0f;
    float candidateFraction = 2.0f;
    // Idle: whether the circles overlap.
    bool overlapTouches = false;

    std::vector<Call> oneMoving;
    std::vector<Call> bothSegments;
    std::vector<Call> bothSegmentsCircles;
    std::vector<Call> bothCircles;
    int overlaps = 0;
};
Script script;

Call Log(const DynamicObject& first, const DynamicObject& second, float dt, float k, std::int32_t n = 0)
{
    return {first.GetSlot(), second.GetSlot(), dt, k, n};
}

CollisionTestTable StandIn()
{
    CollisionTestTable tests;
    tests.segmentsSegmentsOneMoving =
        [](DynamicObject& r, DynamicObject& c, std::uint8_t, float dt, float k, float& fraction)
    {
        script.oneMoving.push_back(Log(r, c, dt, k));
        if (static_cast<int>(k) == script.oneMovingHitK)
        {
            fraction = std::min(fraction, script.oneMovingFraction);
            return true;
        }
        return false;
    };
    auto silent = [](DynamicObject&, DynamicObject&, std::uint8_t, float, float, float&) { return false; };
    tests.segmentsCirclesOneMoving = silent;
    tests.circlesSegmentsOneMoving = silent;
    tests.circlesCirclesOneMoving = silent;
    tests.segmentsSegments = [](DynamicObject& first, DynamicObject& second, std::uint8_t, float dt, float k,
                                float& firstFraction, float& secondFraction, std::int32_t& n, bool& firstHit,
                                bool& secondHit)
    {
        script.bothSegments.push_back(Log(first, second, dt, k, n));
        if (static_cast<int>(k) == script.bothHitK)
        {
            firstHit = script.receiverHit;
            secondHit = script.candidateHit;
            firstFraction = script.receiverFraction;
            secondFraction = script.candidateFraction;
        }
    };
    tests.segmentsCircles = [](DynamicObject& first, DynamicObject& second, std::uint8_t, float dt, float k,
                               float&, float&, std::int32_t& n, bool&, bool&)
    { script.bothSegmentsCircles.push_back(Log(first, second, dt, k, n)); };
    tests.circlesCircles = [](DynamicObject& first, DynamicObject& second, std::uint8_t, float dt, float k,
                              float&, float&, bool&, bool&)
    { script.bothCircles.push_back(Log(first, second, dt, k)); };
    auto overlap = [](DynamicObject&, DynamicObject&, std::uint8_t)
    {
        ++script.overlaps;
        return false;
    };
    tests.overlapSegmentsSegments = overlap;
    tests.overlapSegmentsCircles = overlap;
    tests.overlapCirclesSegments = overlap;
    tests.overlapCirclesCircles = [](DynamicObject&, DynamicObject&, std::uint8_t)
    {
        ++script.overlaps;
        return script.overlapTouches;
    };
    return tests;
}

class PairTestsTest : public CollisionFixture
{
protected:
    void SetUp() override
    {
        CollisionFixture::SetUp();
        script = {};
        layer.SetCollisionTests(tests);
    }

    // Both objects of the pair, owner words 0x100 + slot.
    DynamicObject* Add(Vector2D from, Vector2D to, std::uint8_t type = 1)
    {
        DynamicObject* object = AddMover(layer, *actor, from, to, type);
        object->SetOwner(0x100 + static_cast<OwnerWord>(object->GetSlot()));
        return object;
    }

    const CollisionTestTable tests = StandIn();
    CollisionLayer layer;
    std::unique_ptr<CollisionActor> actor = MakeSquareActor(10);
};

TEST_F(PairTestsTest, OneMovingContactIsReportedAtItsTimeOfTheStep)
{
    // 40 units give 20 sub-steps; contact at half of sub-step 3: t = 2.5 / 20.
    DynamicObject* r = Add({0, 0}, {40, 0});
    DynamicObject* s = Add({30, 5}, {30, 5});
    s->SetZCollision(6);
    r->SetCanCollid(6, true);
    script.oneMovingHitK = 3;
    script.oneMovingFraction = 0.5f;
    layer.Step(0.016f);

    ASSERT_EQ(script.oneMoving.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i)
    {
        EXPECT_EQ(script.oneMoving[i].first, 1);
        EXPECT_FLOAT_EQ(script.oneMoving[i].dt, 0.05f);
        EXPECT_EQ(script.oneMoving[i].k, static_cast<float>(i + 1));
    }
    const CollisionResults& rResults = r->GetCollisionResults();
    const CollisionResults& sResults = s->GetCollisionResults();
    ASSERT_EQ(rResults.GetDynamicContactCount(), 1);
    ASSERT_EQ(sResults.GetDynamicContactCount(), 1);
    const DGEO_C& rRecord = rResults.GetDynamicContact(0);
    EXPECT_NEAR(rRecord.contactPosition.x, 0.125f * 40, Near);
    EXPECT_EQ(rRecord.id, PackCollisionId(9537, layer.GetIndex(), 6));
    EXPECT_EQ(rRecord.otherOwner, 0x102u);
    const DGEO_C& sRecord = sResults.GetDynamicContact(0);
    EXPECT_EQ(sRecord.contactPosition, Vector2D(30, 5));
    EXPECT_EQ(sRecord.id, PackCollisionId(9536, layer.GetIndex(), 0));
    EXPECT_EQ(sRecord.otherOwner, 0x101u);
}

TEST_F(PairTestsTest, WithoutContactEverySubStepRunsAndNothingIsReported)
{
    DynamicObject* r = Add({0, 0}, {4, 0});
    Add({10, 0}, {10, 0});
    layer.Step(0.016f);
    EXPECT_EQ(script.oneMoving.size(), 4u);
    EXPECT_EQ(r->GetCollisionResults().GetDynamicContactCount(), 0);
}

TEST_F(PairTestsTest, BothMovingRunOnTheFinerSubStepGrid)
{
    // 3 and 7 sub-steps: both run on 7.
    Add({0, 0}, {3, 0});
    Add({10, 0}, {17, 0});
    layer.Step(0.016f);
    ASSERT_EQ(script.bothSegments.size(), 7u);
    ASSERT_EQ(script.bothSegmentsCircles.size(), 14u);
    ASSERT_EQ(script.bothCircles.size(), 7u);
    for (const Call& call : script.bothSegments)
    {
        EXPECT_EQ(call.first, 1);
        EXPECT_EQ(call.subSteps, 7);
        EXPECT_FLOAT_EQ(call.dt, 1.0f / 7.0f);
    }
    // Segments against circles both ways round.
    EXPECT_EQ(script.bothSegmentsCircles[0].first, 1);
    EXPECT_EQ(script.bothSegmentsCircles[1].first, 2);
    EXPECT_EQ(script.oneMoving.size(), 0u);
}

TEST_F(PairTestsTest, BothMovingPosesFollowTheSideThatHit)
{
    struct Case
    {
        bool receiverHit;
        bool candidateHit;
        float receiverTime; // in sub-steps
        float candidateTime;
    };
    // Sub-step 2 of 7; receiver fraction 0.25, candidate fraction 0.5.
    const Case cases[] = {
        {false, true, 1.5f, 1.5f},
        {true, false, 1.25f, 1.25f},
        {true, true, 1.25f, 1.5f},
    };
    for (const Case& c : cases)
    {
        CollisionLayer fresh;
        fresh.SetCollisionTests(tests);
        DynamicObject* r = AddMover(fresh, *actor, {0, 0}, {3, 0});
        DynamicObject* s = AddMover(fresh, *actor, {10, 0}, {3, 0});
        script = {};
        script.bothHitK = 2;
        script.receiverHit = c.receiverHit;
        script.candidateHit = c.candidateHit;
        script.receiverFraction = 0.25f;
        script.candidateFraction = 0.5f;
        fresh.Step(0.016f);
        EXPECT_EQ(script.bothSegments.size(), 2u);
        const DGEO_C& rRecord = r->GetCollisionResults().GetDynamicContact(0);
        const DGEO_C& sRecord = s->GetCollisionResults().GetDynamicContact(0);
        ASSERT_EQ(r->GetCollisionResults().GetDynamicContactCount(), 1);
        ASSERT_EQ(s->GetCollisionResults().GetDynamicContactCount(), 1);
        const float tr = c.receiverTime / 7.0f;
        const float ts = c.candidateTime / 7.0f;
        EXPECT_NEAR(rRecord.contactPosition.x, 3 * tr, Near) << c.receiverHit << c.candidateHit;
        EXPECT_NEAR(sRecord.contactPosition.x, 10 - 7 * ts, Near) << c.receiverHit << c.candidateHit;
    }
}

TEST_F(PairTestsTest, IdleObjectsAreOverlapTestedOnceWhenTheReceiverAsks)
{
    DynamicObject* r = Add({0, 0}, {0, 0});
    DynamicObject* s = Add({15, 5}, {15, 5});
    script.overlapTouches = true;
    layer.Step(0.016f);
    EXPECT_EQ(script.overlaps, 0);
    EXPECT_EQ(r->GetCollisionResults().GetDynamicContactCount(), 0);

    r->SetUpdateOnIdle(true);
    layer.Step(0.016f);
    EXPECT_EQ(script.overlaps, 4);
    ASSERT_EQ(r->GetCollisionResults().GetDynamicContactCount(), 1);
    EXPECT_EQ(r->GetCollisionResults().GetDynamicContact(0).contactPosition, Vector2D(0, 0));
    EXPECT_EQ(s->GetCollisionResults().GetDynamicContact(0).contactPosition, Vector2D(15, 5));
}

// --- Rectangles -------------------------------------------------------------------------

TEST_F(PairTestsTest, RectanglesMustOverlapByAWholeUnit)
{
    struct Case
    {
        float secondX; // squares of side 20 at 0 and here
        bool reported;
    };
    for (const Case& c : {Case{19.5f, false}, Case{19.0f, true}, Case{12.0f, true}})
    {
        CollisionLayer fresh;
        DynamicObject* a = AddMover(fresh, *actor, {0, 0}, {0, 0}, 0);
        DynamicObject* b = AddMover(fresh, *actor, {c.secondX, 3}, {c.secondX, 3}, 0);
        a->SetUpdateOnIdle(true);
        fresh.Step(0.016f);
        ASSERT_EQ(a->GetCollisionResults().GetRectangleContactCount(), c.reported ? 1 : 0) << c.secondX;
        ASSERT_EQ(b->GetCollisionResults().GetRectangleContactCount(), c.reported ? 1 : 0) << c.secondX;
        if (c.reported)
        {
            const BRECT_C& record = a->GetCollisionResults().GetRectangleContact(0);
            EXPECT_EQ(record.rectangleIntersection, ZibRect(10, c.secondX - 10, 10, -7));
            EXPECT_EQ(record.id, PackCollisionId(9537, fresh.GetIndex(), 0));
            EXPECT_EQ(b->GetCollisionResults().GetRectangleContact(0).rectangleIntersection,
                      record.rectangleIntersection);
        }
    }
}

TEST_F(PairTestsTest, ARectangleObjectMeetsShapeObjectsByRectangle)
{
    DynamicObject* shapes = Add({0, 0}, {10, 0}, 1);
    DynamicObject* box = Add({24.5f, 0}, {24.5f, 0}, 0);
    layer.Step(0.016f);
    EXPECT_EQ(shapes->GetCollisionResults().GetRectangleContactCount(), 1);
    EXPECT_EQ(box->GetCollisionResults().GetRectangleContactCount(), 1);
    EXPECT_EQ(shapes->GetCollisionResults().GetDynamicContactCount(), 0);
    EXPECT_TRUE(script.oneMoving.empty());
    // The overlap reaches one unit in sub-step 6 of 10.
    const BRECT_C& record = shapes->GetCollisionResults().GetRectangleContact(0);
    EXPECT_NEAR(record.contactPosition.x, 6.0f, Near);
}

TEST_F(PairTestsTest, ATurningRectangleTurnsAboutItsOwnPosition)
{
    // Far from the origin, turning 10 degrees in 10 sub-steps next to a box
    // it overlaps by one unit: the first sub-step reports it where it stands.
    std::unique_ptr<CollisionActor> square = MakeSquareActor(5);
    DynamicObject* turning = CollisionTest::MakeMover(*square, {10000, 0}, {10000, 0}, 0);
    turning->SetOrientation(10);
    layer.AddCollisionObject(turning, {10000, 0});
    AddMover(layer, *square, {10009, 0}, {10009, 0}, 0);
    layer.Step(0.016f);
    ASSERT_EQ(turning->GetCollisionResults().GetRectangleContactCount(), 1);
    const BRECT_C& record = turning->GetCollisionResults().GetRectangleContact(0);
    EXPECT_EQ(record.contactPosition, Vector2D(10000, 0));
    EXPECT_NEAR(record.contactOrientation, 1.0f, Near);
    EXPECT_NEAR(record.rectangleIntersection.left, 10004.0f, Near);
    EXPECT_GT(record.rectangleIntersection.right, 10005.0f);
    EXPECT_LT(record.rectangleIntersection.right, 10005.2f);
}

} // namespace

// The physics engine's contact-list callback turns the collision records of
// every body's object into contacts, asking the game about each point.
#include "WorldTestSupport.h"

#include "collision/Collision_CollisionActor.h"
#include "collision/Collision_CollisionResults.h"
#include "physics/Physics_Force.h"
#include "physics/Physics_RigidBody.h"

#include <cmath>
#include <fstream>

namespace
{

using WorldTest::Probe;

struct Asked
{
    std::string a;
    std::string b; // "-" for static geometry
    float restitution;
    float friction;
    bool oneWay;
};

// Records filled in by hand, as a collision step would leave them, and the
// bridge run on them directly (no step in between resets them).
class ContactBridgeDisplayTest : public WorldTest::WorldDisplayTest
{
protected:
    void SetUp() override
    {
        WorldTest::WorldDisplayTest::SetUp();
        if (IsSkipped())
        {
            return;
        }
        layer = &AddLayer();
        game->onContact =
            [this](Velkor::GameObject* a, Velkor::GameObject* b, float& restitution, float& friction)
        {
            asked.push_back({a->GetName(), b != nullptr ? b->GetName() : "-", restitution, friction,
                             Velkor::Game::GetOneWayCollision()});
            return hook ? hook(*a, b, restitution, friction)
                        : game->Velkor::Game::OnContact(a, b, restitution, friction);
        };
    }

    Core::RefPtr<Probe> Make(const std::string& name, Math::Vector2D position)
    {
        Core::RefPtr<Probe> object(new Probe(name));
        object->SetPosition(position);
        EXPECT_TRUE(AddDynamic(*object, *layer));
        AddBody(*object);
        layer->AddGameObject(object.Get());
        return object;
    }

    Collision2D::CollisionResults& Results(const Velkor::GameObject& object)
    {
        return *Collision().GetCollisionResults(object.GetCollisionId());
    }

    // A record about `other` whose sub-contacts have the given point counts:
    // segment contacts first, then circle contacts. Point k of a sub-contact
    // is (k, serial), its normal (0, 1), its penetration the serial.
    Collision2D::DGEO_C& AddPair(Velkor::GameObject& object, Collision2D::CollisionId other,
                                 Math::Vector2D position, std::vector<int> segmentPoints,
                                 std::vector<int> circlePoints)
    {
        Collision2D::CollisionResults& results = Results(object);
        Collision2D::DGEO_C& record = results.CurrentDynamicContact();
        record.id = other;
        record.contactPosition = position;
        for (int points : segmentPoints)
        {
            Fill(record.CurrentLineSegment(), points, {});
            record.NextLineSegment();
        }
        for (int points : circlePoints)
        {
            Fill(record.CurrentCircle(), points, {});
            record.NextCircle();
        }
        results.NextDynamicContact();
        return record;
    }

    void AddStaticSegment(Velkor::GameObject& object, int points, Math::Vector2D position)
    {
        Collision2D::CollisionResults& results = Results(object);
        Fill(results.CurrentStaticLineSegmentContact(), points, position);
        results.NextStaticLineSegmentContact();
    }

    void AddStaticCircle(Velkor::GameObject& object, int points, Math::Vector2D position)
    {
        Collision2D::CollisionResults& results = Results(object);
        Fill(results.CurrentStaticCircleContact(), points, position);
        results.NextStaticCircleContact();
    }

    void Fill(Collision2D::ShapeContact& contact, int points, Math::Vector2D position)
    {
        ++serial;
        contact.contactPosition = position;
        contact.penetrationDistance = static_cast<float>(serial);
        contact.numberOfIntersectedPoints = points;
        for (int k = 0; k < points; ++k)
        {
            contact.contactPoint[k] = Math::Vector2D(static_cast<float>(k), static_cast<float>(serial));
            contact.normal[k] = Math::Vector2D(0.0f, 1.0f);
        }
    }

    // The contacts the bridge adds in one run.
    std::vector<Core::RefPtr<Physics2D::Contact>> Bridge()
    {
        const std::size_t before = Physics().GetContacts().size();
        Physics().GetContactListUpdate()(&Physics(), Physics().GetContactListUpdateData());
        const auto& all = Physics().GetContacts();
        return {all.begin() + static_cast<std::ptrdiff_t>(before), all.end()};
    }

    Physics2D::RigidBody* Body(const Velkor::GameObject& object)
    {
        return Physics().GetRigidBody(object.GetPhysicsId()).Get();
    }

    Velkor::Layer* layer = nullptr;
    std::vector<Asked> asked;
    std::function<bool(Velkor::GameObject&, Velkor::GameObject*, float&, float&)> hook;
    int serial = 0;
};

TEST_F(ContactBridgeDisplayTest, TheDefaultHookMakesAContactForEveryPointOfEveryRecord)
{
    auto a = Make("a", {0, 0});
    auto b = Make("b", {10, 0});
    auto c = Make("c", {-7, 8});

    // a: about b (a segment contact of 2 points, one of 0, a circle contact
    // of 1), about c (1 point); a static segment (1 point) and a static
    // circle (2 points). b: two records about a, the last one counts; its
    // points are 0. c holds nothing about a.
    AddPair(*a, b->GetCollisionId(), {1, 1}, {2, 0}, {1});
    AddPair(*a, c->GetCollisionId(), {2, 2}, {}, {1});
    AddStaticSegment(*a, 1, {3, 3});
    AddStaticCircle(*a, 2, {4, 4});
    AddPair(*b, a->GetCollisionId(), {5, 5}, {0}, {});
    AddPair(*b, a->GetCollisionId(), {6, 6}, {}, {0});

    const auto contacts = Bridge();
    // One question per point; the records of 0 points ask nothing.
    EXPECT_EQ(asked.size(), 7u);
    struct Want
    {
        Math::Vector2D point;
        Math::Vector2D position1;
        Math::Vector2D position2;
        float penetration;
        Physics2D::RigidBody* body2;
        bool bodyBody;
    };
    Physics2D::RigidBody* ground = Physics().GetGroundBody();
    const Want want[] = {
        {{0, 1}, {1, 1}, {6, 6}, 1, Body(*b), true}, {{1, 1}, {1, 1}, {6, 6}, 1, Body(*b), true},
        {{0, 3}, {1, 1}, {6, 6}, 3, Body(*b), true}, {{0, 4}, {2, 2}, {-7, 8}, 4, Body(*c), true},
        {{0, 5}, {3, 3}, {0, 0}, 5, ground, false},  {{0, 6}, {4, 4}, {0, 0}, 6, ground, false},
        {{1, 6}, {4, 4}, {0, 0}, 6, ground, false},
    };
    ASSERT_EQ(contacts.size(), std::size(want));
    for (std::size_t i = 0; i < contacts.size(); ++i)
    {
        SCOPED_TRACE(i);
        const Physics2D::Contact& contact = *contacts[i];
        EXPECT_EQ(contact.GetPoint(), want[i].point);
        EXPECT_EQ(contact.GetNormal(), Math::Vector2D(0, 1));
        EXPECT_EQ(contact.GetContactPosition1(), want[i].position1);
        EXPECT_EQ(contact.GetContactPosition2(), want[i].position2);
        EXPECT_EQ(contact.GetPenetration(), want[i].penetration);
        EXPECT_FLOAT_EQ(contact.GetRestitution(), 0.3f);
        EXPECT_FLOAT_EQ(contact.GetFriction(), 0.5f);
        EXPECT_EQ(contact.IsBodyBody(), want[i].bodyBody);
        EXPECT_EQ(contact.GetBody1(), Body(*a));
        EXPECT_EQ(contact.GetBody2(), want[i].body2);
    }
}

TEST_F(ContactBridgeDisplayTest, TheHookDecidesEachDirectionAndPointWithFreshValues)
{
    auto a = Make("a", {0, 0});
    auto b = Make("b", {10, 0});
    AddPair(*a, b->GetCollisionId(), {1, 1}, {1}, {});
    AddPair(*b, a->GetCollisionId(), {2, 2}, {}, {2});
    AddStaticSegment(*a, 1, {3, 3});
    AddStaticCircle(*b, 1, {4, 4});

    int bAboutA = 0;
    hook =
        [&bAboutA](Velkor::GameObject& self, Velkor::GameObject* other, float& restitution, float& friction)
    {
        restitution = 0.9f;
        friction = 0.1f;
        // Every question marks one-way; only pair contacts heed it.
        Velkor::Game::SetOneWayCollision(true);
        if (other == nullptr)
        {
            return true;
        }
        // a refuses b; b refuses its first point against a.
        return self.GetName() == "b" && ++bAboutA != 1;
    };

    const auto contacts = Bridge();
    // Questions in body order: a about b, a static; b about a twice, b static.
    ASSERT_EQ(asked.size(), 5u);
    const char* const pairs[][2] = {{"a", "b"}, {"a", "-"}, {"b", "a"}, {"b", "a"}, {"b", "-"}};
    for (std::size_t i = 0; i < asked.size(); ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(asked[i].a, pairs[i][0]);
        EXPECT_EQ(asked[i].b, pairs[i][1]);
        EXPECT_FLOAT_EQ(asked[i].restitution, 0.3f);
        EXPECT_FLOAT_EQ(asked[i].friction, 0.5f);
        EXPECT_FALSE(asked[i].oneWay);
    }

    // a against the static segment; b's second point against a, one-way, so
    // bound to the static world; b against the static circle.
    ASSERT_EQ(contacts.size(), 3u);
    Physics2D::RigidBody* ground = Physics().GetGroundBody();
    EXPECT_EQ(contacts[0]->GetBody1(), Body(*a));
    EXPECT_EQ(contacts[0]->GetBody2(), ground);
    EXPECT_FALSE(contacts[0]->IsBodyBody());
    EXPECT_EQ(contacts[1]->GetBody1(), Body(*b));
    EXPECT_EQ(contacts[1]->GetBody2(), ground);
    EXPECT_EQ(contacts[1]->GetPoint(), Math::Vector2D(1, 2));
    EXPECT_TRUE(contacts[1]->IsBodyBody());
    EXPECT_EQ(contacts[2]->GetBody1(), Body(*b));
    EXPECT_EQ(contacts[2]->GetBody2(), ground);
    EXPECT_EQ(contacts[2]->GetPoint(), Math::Vector2D(0, 4));
    for (const auto& contact : contacts)
    {
        EXPECT_FLOAT_EQ(contact->GetRestitution(), 0.9f);
        EXPECT_FLOAT_EQ(contact->GetFriction(), 0.1f);
    }

    // Without the mark b's pair contact binds a's body.
    asked.clear();
    hook = nullptr;
    const auto plain = Bridge();
    ASSERT_EQ(plain.size(), 5u);
    EXPECT_EQ(plain[0]->GetBody2(), Body(*b));
    EXPECT_EQ(plain[2]->GetBody2(), Body(*a));
}

TEST_F(ContactBridgeDisplayTest, RecordsOfVanishedObjectsAndBodiesWithoutOwnerAreSkipped)
{
    auto a = Make("a", {0, 0});
    auto gone = Make("gone", {10, 0});
    const Collision2D::CollisionId goneId = gone->GetCollisionId();
    gone->Destroy();
    layer->FrameUpdate(0.0f);
    ASSERT_EQ(Collision().GetDynamicObject(goneId), nullptr);
    gone = nullptr;

    // A body nobody owns.
    Physics().AddRigidBody(
        new Physics2D::RigidBody(Physics2D::MassProperties(1.0f, 1.0f, {}), 0, nullptr, nullptr, nullptr));
    AddPair(*a, goneId, {1, 1}, {2}, {1});
    AddStaticSegment(*a, 1, {3, 3});

    const auto contacts = Bridge();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].b, "-");
    ASSERT_EQ(contacts.size(), 1u);
    EXPECT_FALSE(contacts[0]->IsBodyBody());
}

// Through the whole frame update: the collision step finds the wall, the
// bridge hands the contact to the physics engine, and the ball stays above
// the floor its layer read from a file.
TEST_F(ContactBridgeDisplayTest, ABallFallingOntoAFloorReadFromAFileStopsOnIt)
{
    layer->SetCollisionProperties(Math::Vector2D(-512.0f, -384.0f), 1024, 768, 100);
    const std::string path = testing::TempDir() + "bridge_floor.txt";
    // Static segments are one-sided: the floor runs both ways.
    std::ofstream(path, std::ios::binary) << "SEGMENTS 2\n-300,0,300,0,0,1\n300,0,-300,0,0,2\nCIRCLES 0\n";
    ASSERT_TRUE(layer->ReadInformation_StaticCollision(path));

    constexpr float Radius = 10.0f;
    auto* actor = new Collision2D::CollisionActor();
    auto* animation = new Collision2D::CollisionAnimation();
    auto* frame = new Collision2D::CollisionFrame();
    frame->SetBoundingRectangle({Radius, -Radius, Radius, -Radius}, false);
    frame->AddCircle({0.0f, 0.0f}, Radius, 1, false);
    animation->AddCollisionFrame(frame);
    actor->AddCollisionAnimation(animation);
    game->AddCollisionAssets(actor);

    Core::RefPtr<Probe> ball(new Probe("ball"));
    ball->SetPosition(0.0f, 60.0f);
    auto* object = new Collision2D::DynamicObject();
    object->AddCollisionData(actor, 0, 0);
    object->SetCanCollid(0, true);
    object->SetCollisionType(1);
    // A resting ball starts each step a little inside the floor.
    object->SetCollisionThickness(2.0f);
    ASSERT_TRUE(ball->AddCollision(object, layer->GetCollisionLayerIndex()));
    AddBody(*ball);
    ball->AddForce(new Physics2D::GravityForce(Math::Vector2D(0.0f, -1.0f), 200.0f));
    layer->AddGameObject(ball.Get());

    bool touched = false;
    float lowest = ball->GetPositionY();
    float fastestFall = 0.0f;
    float firstRise = 0.0f;
    for (int i = 0; i < 300; ++i)
    {
        Tick();
        lowest = std::min(lowest, ball->GetPositionY());
        touched = touched || ball->GetCollisionResults().GetLineSegmentContactCount() > 0;
        Math::Vector2D velocity;
        ASSERT_TRUE(ball->GetVelocity(velocity));
        if (firstRise == 0.0f)
        {
            fastestFall = std::max(fastestFall, -velocity.y);
            firstRise = std::max(velocity.y, 0.0f);
        }
    }
    // The default restitution of 0.3 reaches the body.
    EXPECT_NEAR(firstRise, 0.3f * fastestFall, 0.05f * fastestFall);
    EXPECT_TRUE(touched);
    EXPECT_GT(lowest, Radius * 0.5f);
    EXPECT_NEAR(ball->GetPositionY(), Radius, 2.0f);
    Math::Vector2D velocity;
    ASSERT_TRUE(ball->GetVelocity(velocity));
    EXPECT_LT(std::abs(velocity.y), 5.0f);
}

} // namespace

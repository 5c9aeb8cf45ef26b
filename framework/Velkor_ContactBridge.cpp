// The contact bridge: once per frame, first thing in the physics engine's
// post-collision pass, the collision world's results become physics
// contacts. For every body in engine order, its owner A's records:
//   - against another object B (DGEO_C): each point of each segment
//     contact, then of each circle contact. B's side of the contact stands
//     where B's own record about A puts it (the last such record), or at
//     B's position when B holds none;
//   - against the static segments (LNS_C), then the static circles (CIR_C).
// Every point asks the game's OnContact afresh (restitution 0.3, friction
// 0.5, one-way flag clear); a yes adds one contact. A contact between two
// objects that the game marked one-way binds A to the static world instead
// of B, so only A reacts.
//
// The other object is found through the record's collision id in the
// collision world as it is now: a record whose object has gone is skipped,
// since a null B means static geometry to the hook. A body without an owner
// is skipped.

#include "collision/Collision_CollisionEngine.h"
#include "collision/Collision_CollisionResults.h"
#include "collision/Collision_DynamicObject.h"
#include "framework/Velkor_Game.h"
#include "framework/Velkor_GameObject.h"
#include "physics/Physics_PhysicsEngine.h"

#include <algorithm>

namespace Velkor
{

namespace
{

class ContactBridge
{
public:
    ContactBridge(Game& game, Collision2D::CollisionEngine& collision, Physics2D::PhysicsEngine& physics)
        : game_(game), collision_(collision), physics_(physics)
    {
    }

    void Run()
    {
        const std::vector<Core::RefPtr<Physics2D::RigidBody>>& bodies = physics_.GetRigidBodies();
        // AddContact never adds or removes bodies, so the vector stays put;
        // the hook might, so it is indexed afresh each time.
        for (std::size_t i = 0; i < bodies.size(); ++i)
        {
            const Physics2D::RigidBody* body = bodies[i].Get();
            auto* owner = body != nullptr ? static_cast<GameObject*>(body->GetData()) : nullptr;
            if (owner != nullptr)
            {
                BridgeObject(*owner, static_cast<std::uint32_t>(i + 1));
            }
        }
    }

private:
    // The game object owning the dynamic collision object `id` names now.
    GameObject* OwnerOf(Collision2D::CollisionId id) const
    {
        const Collision2D::DynamicObject* object = collision_.GetDynamicObject(id);
        return object != nullptr ? reinterpret_cast<GameObject*>(object->GetOwner()) : nullptr;
    }

    const Collision2D::CollisionResults* ResultsOf(const GameObject& object) const
    {
        return object.HasCollision() ? collision_.GetCollisionResults(object.GetCollisionId()) : nullptr;
    }

    // Where B's records about A put B: the contact position of the last of
    // them, or B's position when there is none.
    Math::Vector2D OtherSidePosition(const GameObject& a, const GameObject& b) const
    {
        Math::Vector2D position = b.GetPosition();
        const Collision2D::CollisionResults* results = ResultsOf(b);
        if (results == nullptr)
        {
            return position;
        }
        const std::int32_t count = results->GetDynamicContactCount();
        for (std::int32_t k = 0; k < count; ++k)
        {
            const Collision2D::DGEO_C& record = results->GetDynamicContact(k);
            if (OwnerOf(record.id) == &a)
            {
                position = record.contactPosition;
            }
        }
        return position;
    }

    static std::int32_t PointsOf(const Collision2D::ShapeContact& contact)
    {
        return std::clamp(contact.numberOfIntersectedPoints, 0, Collision2D::ShapeContact::MaximumPoints);
    }

    // Asks the hook with fresh coefficients and the one-way flag clear.
    bool Ask(GameObject& a, GameObject* b, float& restitution, float& friction)
    {
        restitution = Physics2D::Contact::DefaultRestitution;
        friction = Physics2D::Contact::DefaultFriction;
        Game::SetOneWayCollision(false);
        return game_.OnContact(&a, b, restitution, friction);
    }

    // The hook may change the world (remove a collision object, add a
    // body), so nothing it could free is held across a question: each
    // contact record is copied before its points are asked about, and the
    // results are looked up again for the next one.
    void PairPoints(GameObject& a, std::uint32_t aId, GameObject& b, const Math::Vector2D& position,
                    const Collision2D::ShapeContact& contact, const Math::Vector2D& otherSide)
    {
        const std::int32_t points = PointsOf(contact);
        for (std::int32_t m = 0; m < points; ++m)
        {
            float restitution = 0.0f;
            float friction = 0.0f;
            if (!Ask(a, &b, restitution, friction))
            {
                continue;
            }
            auto* made = new ("Velkor_ContactBridge", __LINE__)
                Physics2D::Contact(contact.contactPoint[m], contact.normal[m], position, otherSide,
                                   contact.penetrationDistance, restitution, friction, 1);
            physics_.AddContact(aId, Game::GetOneWayCollision() ? 0 : b.GetPhysicsId(), made);
        }
    }

    void StaticPoints(GameObject& a, std::uint32_t aId, const Collision2D::ShapeContact& contact)
    {
        const std::int32_t points = PointsOf(contact);
        for (std::int32_t m = 0; m < points; ++m)
        {
            float restitution = 0.0f;
            float friction = 0.0f;
            if (!Ask(a, nullptr, restitution, friction))
            {
                continue;
            }
            auto* made = new ("Velkor_ContactBridge", __LINE__)
                Physics2D::Contact(contact.contactPoint[m], contact.normal[m], contact.contactPosition,
                                   Math::Vector2D(), contact.penetrationDistance, restitution, friction, 0);
            physics_.AddContact(aId, 0, made);
        }
    }

    // Sub-contact `index` of A's dynamic record `k` (segment contacts first,
    // then circle contacts), copied; false past the end.
    bool SubContact(const GameObject& a, std::int32_t k, std::int32_t index,
                    Collision2D::ShapeContact& contact, Math::Vector2D& position) const
    {
        const Collision2D::CollisionResults* results = ResultsOf(a);
        if (results == nullptr || k >= results->GetDynamicContactCount())
        {
            return false;
        }
        const Collision2D::DGEO_C& record = results->GetDynamicContact(k);
        position = record.contactPosition;
        const std::int32_t segments = std::max(record.currentLineSegmentsNumber, 0);
        if (index < segments)
        {
            contact = record.lineSegments[static_cast<std::size_t>(index)];
            return true;
        }
        if (index - segments < record.currentCirclesNumber)
        {
            contact = record.circles[static_cast<std::size_t>(index - segments)];
            return true;
        }
        return false;
    }

    void BridgeObject(GameObject& a, std::uint32_t aId)
    {
        Collision2D::ShapeContact contact;
        for (std::int32_t k = 0;; ++k)
        {
            const Collision2D::CollisionResults* results = ResultsOf(a);
            if (results == nullptr || k >= results->GetDynamicContactCount())
            {
                break;
            }
            GameObject* b = OwnerOf(results->GetDynamicContact(k).id);
            if (b == nullptr)
            {
                continue;
            }
            const Math::Vector2D otherSide = OtherSidePosition(a, *b);
            Math::Vector2D position;
            for (std::int32_t index = 0; SubContact(a, k, index, contact, position); ++index)
            {
                PairPoints(a, aId, *b, position, contact, otherSide);
            }
        }
        for (std::int32_t k = 0;; ++k)
        {
            const Collision2D::CollisionResults* results = ResultsOf(a);
            if (results == nullptr || k >= results->GetStaticLineSegmentContactCount())
            {
                break;
            }
            contact = results->GetStaticLineSegmentContact(k);
            StaticPoints(a, aId, contact);
        }
        for (std::int32_t k = 0;; ++k)
        {
            const Collision2D::CollisionResults* results = ResultsOf(a);
            if (results == nullptr || k >= results->GetStaticCircleContactCount())
            {
                break;
            }
            contact = results->GetStaticCircleContact(k);
            StaticPoints(a, aId, contact);
        }
    }

    Game& game_;
    Collision2D::CollisionEngine& collision_;
    Physics2D::PhysicsEngine& physics_;
};

} // namespace

void Game::UpdateContactList(Physics2D::PhysicsEngine* engine, void* game)
{
    auto* self = static_cast<Game*>(game);
    if (self == nullptr)
    {
        self = GetInstance();
    }
    Collision2D::CollisionEngine* collision = self != nullptr ? self->GetCollisionEngine() : nullptr;
    if (engine == nullptr || collision == nullptr)
    {
        return;
    }
    ContactBridge(*self, *collision, *engine).Run();
}

} // namespace Velkor

#pragma once

// A small world for engine tests: circles and boxes over a ground line y = 0,
// with the collision step done here as the framework's contact bridge would
// do it (one contact per touching point, normal from body 2 towards body 1;
// between two boxes each side reports its own),
// and the framework's post-collision write-back of position and angle.

#include "physics/Physics_Contact.h"
#include "physics/Physics_Force.h"
#include "physics/Physics_PhysicsEngine.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace physics_test
{

using Math::Vector2D;
using namespace Physics2D;

class Scene
{
public:
    struct Shape
    {
        float radius = 0.0f;              // a circle when > 0
        Vector2D halfExtents{0.0f, 0.0f}; // a box otherwise
        bool solid = true;                // no contacts at all when false
    };

    explicit Scene(float restitution = 0.3f, float friction = 0.5f)
        : engine_(new PhysicsEngine()), restitution_(restitution), friction_(friction)
    {
        engine_->SetContactListUpdate(&Scene::FindContacts);
        engine_->SetContactListUpdateData(this);
    }

    PhysicsEngine& Engine() { return *engine_; }
    RigidBody& Body(std::uint32_t id) { return *engine_->GetRigidBody(id); }

    std::uint32_t AddCircle(const Vector2D& position, float radius, float mass, bool gravity = true)
    {
        return Add(position, MassProperties(mass, 0.5f * mass * radius * radius, {}), {radius, {}}, gravity);
    }

    std::uint32_t AddBox(const Vector2D& position, const Vector2D& halfExtents, float mass,
                         bool gravity = true)
    {
        const float inertia =
            mass * (4.0f * halfExtents.x * halfExtents.x + 4.0f * halfExtents.y * halfExtents.y) / 12.0f;
        return Add(position, MassProperties(mass, inertia, {}), {0.0f, halfExtents}, gravity);
    }

    std::uint32_t Add(const Vector2D& position, const MassProperties& mass, const Shape& shape, bool gravity)
    {
        Core::RefPtr<RigidBody> body =
            new RigidBody(mass, RigidBody::Euler, nullptr, &Scene::WriteBack, this);
        body->SetPosition(position);
        if (gravity)
        {
            body->AddForce(new GravityForce({0.0f, -1.0f}, 9.8f));
        }
        const std::uint32_t id = engine_->AddRigidBody(body.Get());
        shapes_[id] = shape;
        return id;
    }

    void Step(float dt = 1.0f / 60.0f)
    {
        engine_->Update(dt);
        engine_->PostCollisionUpdate(dt);
    }

    // The deepest overlap of the current positions.
    float Penetration()
    {
        deepest_ = 0.0f;
        measuring_ = true;
        FindContacts(engine_.Get(), this);
        measuring_ = false;
        return deepest_;
    }

    bool ground = true;
    // Contacts are made for points this close, so resting bodies keep them.
    float margin = 0.01f;

private:
    // The framework's post-collision callback writes the corrected placement
    // back through the setters, so the integrators continue from it.
    static void WriteBack(RigidBody* body, void*)
    {
        body->SetPosition(body->GetPosition());
        body->SetOrientation(body->GetOrientation());
    }

    void Touch(std::uint32_t id1, std::uint32_t id2, const Vector2D& point, const Vector2D& normal,
               float depth)
    {
        if (measuring_)
        {
            deepest_ = std::max(deepest_, depth);
            return;
        }
        const Vector2D position1 = Body(id1).GetPosition();
        const Vector2D position2 = id2 != 0 ? Body(id2).GetPosition() : Vector2D{};
        engine_->AddContact(id1, id2,
                            new Contact(point, normal, position1, position2, std::max(depth, 0.0f),
                                        restitution_, friction_, id2 != 0 ? 1 : 0));
    }

    std::vector<Vector2D> Corners(std::uint32_t id)
    {
        const RigidBody& body = Body(id);
        const Vector2D h = shapes_[id].halfExtents;
        std::vector<Vector2D> corners;
        for (const Vector2D& q :
             {Vector2D{-h.x, -h.y}, Vector2D{h.x, -h.y}, Vector2D{h.x, h.y}, Vector2D{-h.x, h.y}})
        {
            corners.push_back(body.GetMatrix() * q);
        }
        return corners;
    }

    static void FindContacts(PhysicsEngine* engine, void* data)
    {
        Scene& scene = *static_cast<Scene*>(data);
        const auto& bodies = engine->GetRigidBodies();
        for (std::uint32_t a = 1; a <= bodies.size(); ++a)
        {
            if (!bodies[a - 1])
            {
                continue;
            }
            const Shape& shapeA = scene.shapes_[a];
            if (!shapeA.solid)
            {
                continue;
            }
            const Vector2D pa = bodies[a - 1]->GetPosition();
            if (scene.ground)
            {
                if (shapeA.radius > 0.0f)
                {
                    if (pa.y - shapeA.radius < scene.margin)
                    {
                        scene.Touch(a, 0, {pa.x, pa.y - shapeA.radius}, {0.0f, 1.0f}, shapeA.radius - pa.y);
                    }
                }
                else
                {
                    for (const Vector2D& corner : scene.Corners(a))
                    {
                        if (corner.y < scene.margin)
                        {
                            scene.Touch(a, 0, corner, {0.0f, 1.0f}, -corner.y);
                        }
                    }
                }
            }
            for (std::uint32_t b = 1; b <= bodies.size(); ++b)
            {
                const Shape& shapeB = scene.shapes_[b];
                if (b == a || !bodies[b - 1] || !shapeB.solid)
                {
                    continue;
                }
                const Vector2D pb = bodies[b - 1]->GetPosition();
                if (shapeA.radius > 0.0f && shapeB.radius > 0.0f && a < b)
                {
                    const Vector2D d = pa - pb;
                    const float distance = d.Length();
                    const float reach = shapeA.radius + shapeB.radius;
                    if (distance > 0.0f && distance < reach + scene.margin)
                    {
                        const Vector2D n = d / distance;
                        scene.Touch(a, b, pb + n * shapeB.radius, n, reach - distance);
                    }
                }
                else if (shapeA.radius == 0.0f && shapeB.radius == 0.0f)
                {
                    // A's corners against B's face towards A: above B, the
                    // lower corners on its top face; below, the upper ones on
                    // its bottom face. Each side of a pair reports its own.
                    const RigidBody& other = *bodies[b - 1];
                    const Vector2D hb = shapeB.halfExtents;
                    const float side = pa.y > pb.y ? 1.0f : -1.0f;
                    const Vector2D normal = other.GetRotationMatrix() * Vector2D{0.0f, side};
                    for (const Vector2D& corner : scene.Corners(a))
                    {
                        const Vector2D local = other.GetInverseMatrix() * corner;
                        const float height = local.y * side;
                        if (std::fabs(local.x) <= hb.x + scene.margin && height < hb.y + scene.margin &&
                            height > 0.0f)
                        {
                            scene.Touch(a, b, corner, normal, hb.y - height);
                        }
                    }
                }
            }
        }
    }

    Core::RefPtr<PhysicsEngine> engine_;
    std::map<std::uint32_t, Shape> shapes_;
    float restitution_;
    float friction_;
    bool measuring_ = false;
    float deepest_ = 0.0f;
};

} // namespace physics_test

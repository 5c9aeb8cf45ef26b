#include "bench_physics_scenes.h"

#include "physics/Physics_Contact.h"
#include "physics/Physics_Force.h"
#include "physics/Physics_JointNail.h"
#include "physics/Physics_PhysicsEngine.h"

#include <box2d/box2d.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace bench
{

namespace
{

using Math::Vector2D;
using namespace Physics2D;

constexpr float Gravity = 9.8f;
constexpr float Mass = 1.0f;
constexpr float Restitution = 0.3f;
constexpr float Friction = 0.5f;
constexpr float LinkLength = 0.5f;
constexpr float BoxHalf = 0.5f;
// Contacts are made for circles this close, so resting ones keep theirs.
constexpr float Margin = 0.01f;

float PileWidth(int circles)
{
    return std::max(10.0f, std::sqrt(static_cast<float>(circles)) * 1.25f);
}

// Circles on a grid above the floor, odd rows shifted so the pile tumbles.
std::vector<Vector2D> PileStart(int circles, float width)
{
    std::vector<Vector2D> positions;
    const int columns = static_cast<int>((width - 1.0f) / 1.1f);
    for (int i = 0; i < circles; ++i)
    {
        const int row = i / columns;
        const int column = i % columns;
        positions.push_back({1.0f + 1.1f * static_cast<float>(column) + (row % 2 != 0 ? 0.25f : 0.0f),
                             1.0f + 1.1f * static_cast<float>(row)});
    }
    return positions;
}

// A uniform grid of diameter-sized cells over the box, for the collision
// step of our pile and for measuring overlaps of either.
class Grid
{
public:
    void Build(const std::vector<Vector2D>& positions, float width)
    {
        columns_ = static_cast<int>(std::ceil(width / (2.0f * Radius))) + 1;
        float top = 0.0f;
        for (const Vector2D& p : positions)
        {
            top = std::max(top, p.y);
        }
        rows_ = static_cast<int>(std::ceil(top / (2.0f * Radius))) + 2;
        head_.assign(static_cast<std::size_t>(columns_ * rows_), -1);
        next_.assign(positions.size(), -1);
        for (std::size_t i = 0; i < positions.size(); ++i)
        {
            const int cell = Cell(positions[i]);
            next_[i] = head_[static_cast<std::size_t>(cell)];
            head_[static_cast<std::size_t>(cell)] = static_cast<int>(i);
        }
    }

    // Calls f(i, j) once for each pair of circles in neighbouring cells.
    template <class F> void ForEachPair(const std::vector<Vector2D>& positions, F&& f) const
    {
        for (std::size_t i = 0; i < positions.size(); ++i)
        {
            const int cx = Column(positions[i].x);
            const int cy = Row(positions[i].y);
            for (int y = std::max(cy - 1, 0); y <= std::min(cy + 1, rows_ - 1); ++y)
            {
                for (int x = std::max(cx - 1, 0); x <= std::min(cx + 1, columns_ - 1); ++x)
                {
                    for (int j = head_[static_cast<std::size_t>(y * columns_ + x)]; j >= 0;
                         j = next_[static_cast<std::size_t>(j)])
                    {
                        if (static_cast<std::size_t>(j) > i)
                        {
                            f(i, static_cast<std::size_t>(j));
                        }
                    }
                }
            }
        }
    }

private:
    int Column(float x) const { return std::clamp(static_cast<int>(x / (2.0f * Radius)), 0, columns_ - 1); }
    int Row(float y) const { return std::clamp(static_cast<int>(y / (2.0f * Radius)), 0, rows_ - 1); }
    int Cell(const Vector2D& p) const { return Row(p.y) * columns_ + Column(p.x); }

    int columns_ = 0;
    int rows_ = 0;
    std::vector<int> head_;
    std::vector<int> next_;
};

float PileOverlap(const std::vector<Vector2D>& positions, float width)
{
    Grid grid;
    grid.Build(positions, width);
    float deepest = 0.0f;
    for (const Vector2D& p : positions)
    {
        deepest = std::max({deepest, Radius - p.y, Radius - p.x, p.x + Radius - width});
    }
    grid.ForEachPair(positions,
                     [&](std::size_t i, std::size_t j) {
                         deepest = std::max(deepest, 2.0f * Radius - (positions[i] - positions[j]).Length());
                     });
    return deepest;
}

// --- Our engine --------------------------------------------------------------

// The framework's post-collision write-back: the integrators continue from
// the corrected placement.
void WriteBack(RigidBody* body, void*)
{
    body->SetPosition(body->GetPosition());
    body->SetOrientation(body->GetOrientation());
}

Core::RefPtr<RigidBody> OurBody(const Vector2D& position, float inertia)
{
    Core::RefPtr<RigidBody> body =
        new RigidBody(MassProperties(Mass, inertia, {}), RigidBody::Euler, nullptr, &WriteBack, nullptr);
    body->SetPosition(position);
    body->AddForce(new GravityForce({0.0f, -1.0f}, Gravity));
    return body;
}

class OurWorld : public World
{
public:
    explicit OurWorld(bool warmStart) : engine_(new PhysicsEngine())
    {
        engine_->SetAccuracy(Iterations);
        engine_->GetSolver().SetWarmStart(warmStart);
        // Box2D's spin limit (a quarter turn per step) instead of one turn a
        // second: a link or ball held below the speed its joints and
        // contacts ask for is pulled apart.
        RigidBody::SetMaximumAngularVelocity(b2_maxRotation / StepTime);
    }
    void Step() override
    {
        engine_->Update(StepTime);
        engine_->PostCollisionUpdate(StepTime);
    }
    float KineticEnergy() const override
    {
        float energy = 0.0f;
        for (const Core::RefPtr<RigidBody>& body : engine_->GetRigidBodies())
        {
            const MassProperties& mass = body->GetMassProperties();
            const float w = body->GetAngularVelocityRadians();
            const Vector2D& v = body->GetVelocity();
            energy += 0.5f * mass.GetMass() * v.Dot(v) + 0.5f * mass.GetInertia() * w * w;
        }
        return energy;
    }
    std::uint64_t StateChecksum() const override
    {
        std::uint64_t sum = 14695981039346656037ull;
        const auto add = [&sum](float value)
        {
            std::uint32_t bits = 0;
            std::memcpy(&bits, &value, sizeof bits);
            for (int shift = 0; shift < 32; shift += 8)
            {
                sum = (sum ^ ((bits >> shift) & 0xFFu)) * 1099511628211ull;
            }
        };
        for (const Core::RefPtr<RigidBody>& body : engine_->GetRigidBodies())
        {
            add(body->GetPosition().x);
            add(body->GetPosition().y);
            add(body->GetOrientationRadians());
            add(body->GetVelocity().x);
            add(body->GetVelocity().y);
            add(body->GetAngularVelocityRadians());
        }
        return sum;
    }
    float Energy() const override
    {
        float energy = KineticEnergy();
        for (const Core::RefPtr<RigidBody>& body : engine_->GetRigidBodies())
        {
            energy += body->GetMassProperties().GetMass() * Gravity * (body->GetPosition().y - floor_);
        }
        return energy;
    }

protected:
    Core::RefPtr<PhysicsEngine> engine_;
    float floor_ = 0.0f;
};

class OurPile : public OurWorld
{
public:
    OurPile(int circles, bool warmStart) : OurWorld(warmStart), width_(PileWidth(circles))
    {
        engine_->SetContactListUpdate(&OurPile::FindContacts);
        engine_->SetContactListUpdateData(this);
        for (const Vector2D& p : PileStart(circles, width_))
        {
            engine_->AddRigidBody(OurBody(p, 0.5f * Mass * Radius * Radius).Get());
        }
    }

    float Quality() const override
    {
        std::vector<Vector2D> positions;
        for (const Core::RefPtr<RigidBody>& body : engine_->GetRigidBodies())
        {
            positions.push_back(body->GetPosition());
        }
        return PileOverlap(positions, width_);
    }

private:
    // One contact per touching pair (normal from the second body towards
    // the first), and one per touch of the floor or a wall.
    static void FindContacts(PhysicsEngine* engine, void* data)
    {
        OurPile& pile = *static_cast<OurPile*>(data);
        const auto& bodies = engine->GetRigidBodies();
        std::vector<Vector2D>& positions = pile.positions_;
        positions.resize(bodies.size());
        for (std::size_t i = 0; i < bodies.size(); ++i)
        {
            positions[i] = bodies[i]->GetPosition();
        }
        const auto touch = [&](std::size_t i, std::uint32_t other, const Vector2D& point,
                               const Vector2D& normal, const Vector2D& otherPosition, float depth)
        {
            engine->AddContact(static_cast<std::uint32_t>(i + 1), other,
                               new Contact(point, normal, positions[i], otherPosition, std::max(depth, 0.0f),
                                           Restitution, Friction, other != 0 ? 1 : 0));
        };
        const float width = pile.width_;
        for (std::size_t i = 0; i < positions.size(); ++i)
        {
            const Vector2D& p = positions[i];
            if (p.y - Radius < Margin)
            {
                touch(i, 0, {p.x, 0.0f}, {0.0f, 1.0f}, {}, Radius - p.y);
            }
            if (p.x - Radius < Margin)
            {
                touch(i, 0, {0.0f, p.y}, {1.0f, 0.0f}, {}, Radius - p.x);
            }
            if (width - p.x - Radius < Margin)
            {
                touch(i, 0, {width, p.y}, {-1.0f, 0.0f}, {}, p.x + Radius - width);
            }
        }
        pile.grid_.Build(positions, width);
        pile.grid_.ForEachPair(positions,
                               [&](std::size_t i, std::size_t j)
                               {
                                   const Vector2D d = positions[i] - positions[j];
                                   const float distance = d.Length();
                                   if (distance > 0.0f && distance < 2.0f * Radius + Margin)
                                   {
                                       const Vector2D n = d / distance;
                                       touch(i, static_cast<std::uint32_t>(j + 1), positions[j] + n * Radius,
                                             n, positions[j], 2.0f * Radius - distance);
                                   }
                               });
    }

    float width_;
    Grid grid_;
    std::vector<Vector2D> positions_;
};

float LinkInertia()
{
    return Mass * LinkLength * LinkLength / 12.0f;
}

class OurChain : public OurWorld
{
public:
    explicit OurChain(bool warmStart) : OurWorld(warmStart)
    {
        floor_ = -LinkLength * static_cast<float>(ChainLinks);
        for (int i = 0; i < ChainLinks; ++i)
        {
            const float x = LinkLength * (static_cast<float>(i) + 0.5f);
            const std::uint32_t id = engine_->AddRigidBody(OurBody({x, 0.0f}, LinkInertia()).Get());
            const Vector2D pin{LinkLength * static_cast<float>(i), 0.0f};
            // Correction factor 1: all the drift is taken out within a
            // step, as Box2D's position iterations do.
            engine_->AddJoint(id - 1, id, new JointNail(pin, pin, 1.0f));
        }
    }

    float Quality() const override
    {
        Vector2D previous;
        float widest = 0.0f;
        for (const Core::RefPtr<RigidBody>& body : engine_->GetRigidBodies())
        {
            const Math::Matrix3& m = body->GetMatrix();
            widest = std::max(widest, (m * Vector2D{-0.5f * LinkLength, 0.0f} - previous).Length());
            previous = m * Vector2D{0.5f * LinkLength, 0.0f};
        }
        return widest;
    }
};

float BoxInertia()
{
    return Mass * 8.0f * BoxHalf * BoxHalf / 12.0f;
}

// Unit boxes standing on each other. Each side of a touching pair reports
// its corners on the other's facing side, as the framework's bridge passes
// on the collision world's records of both objects; a box meets only its
// neighbours (and the bottom one the floor).
class OurStack : public OurWorld
{
public:
    OurStack(int boxes, bool warmStart) : OurWorld(warmStart)
    {
        engine_->SetContactListUpdate(&OurStack::FindContacts);
        for (int i = 0; i < boxes; ++i)
        {
            engine_->AddRigidBody(
                OurBody({0.0f, BoxHalf * static_cast<float>(2 * i + 1)}, BoxInertia()).Get());
        }
    }

    float Quality() const override { return std::fabs(engine_->GetRigidBodies().back()->GetPosition().x); }

private:
    // Box a's corners within reach of box b's side that faces a, or of the
    // floor when b is 0.
    static void Touch(PhysicsEngine* engine, std::uint32_t a, std::uint32_t b)
    {
        const RigidBody& body = *engine->GetRigidBody(a);
        const RigidBody* other = b != 0 ? engine->GetRigidBody(b).Get() : nullptr;
        const float side = other == nullptr || body.GetPosition().y > other->GetPosition().y ? 1.0f : -1.0f;
        const Vector2D normal =
            other != nullptr ? other->GetRotationMatrix() * Vector2D{0.0f, side} : Vector2D{0.0f, 1.0f};
        for (const Vector2D& q : {Vector2D{-BoxHalf, -BoxHalf}, Vector2D{BoxHalf, -BoxHalf},
                                  Vector2D{BoxHalf, BoxHalf}, Vector2D{-BoxHalf, BoxHalf}})
        {
            const Vector2D corner = body.GetMatrix() * q;
            // Across b's face and how far out of it (negative: inside).
            const Vector2D local = other != nullptr ? other->GetInverseMatrix() * corner : corner;
            const float height = other != nullptr ? local.y * side - BoxHalf : corner.y;
            const bool facing = other == nullptr || std::fabs(local.x) <= BoxHalf + Margin;
            if (facing && height < Margin && height > -BoxHalf)
            {
                engine->AddContact(a, b,
                                   new Contact(corner, normal, body.GetPosition(),
                                               other != nullptr ? other->GetPosition() : Vector2D{},
                                               std::max(-height, 0.0f), Restitution, Friction,
                                               b != 0 ? 1 : 0));
            }
        }
    }

    static void FindContacts(PhysicsEngine* engine, void*)
    {
        const auto count = static_cast<std::uint32_t>(engine->GetRigidBodies().size());
        for (std::uint32_t id = 1; id <= count; ++id)
        {
            Touch(engine, id, id - 1);
            if (id > 1)
            {
                Touch(engine, id - 1, id);
            }
        }
    }
};

// --- Box2D -------------------------------------------------------------------

class Box2DWorld : public World
{
public:
    // Ours never puts a body to sleep, so Box2D's bodies stay awake too:
    // otherwise a pile at rest costs Box2D nothing and the ratio measures
    // sleeping, not stepping.
    Box2DWorld() : world_(b2Vec2(0.0f, -Gravity)) { world_.SetAllowSleeping(false); }
    void Step() override { world_.Step(StepTime, Iterations, Iterations); }
    float KineticEnergy() const override
    {
        float energy = 0.0f;
        for (const b2Body* body = world_.GetBodyList(); body != nullptr; body = body->GetNext())
        {
            const b2Vec2 v = body->GetLinearVelocity();
            const float w = body->GetAngularVelocity();
            energy += 0.5f * body->GetMass() * (v.x * v.x + v.y * v.y) + 0.5f * body->GetInertia() * w * w;
        }
        return energy;
    }
    float Energy() const override
    {
        float energy = KineticEnergy();
        for (const b2Body* body = world_.GetBodyList(); body != nullptr; body = body->GetNext())
        {
            energy += body->GetMass() * Gravity * (body->GetPosition().y - floor_);
        }
        return energy;
    }

protected:
    b2World world_;
    float floor_ = 0.0f;
};

class Box2DPile : public Box2DWorld
{
public:
    explicit Box2DPile(int circles) : width_(PileWidth(circles))
    {
        b2BodyDef groundDef;
        b2Body* ground = world_.CreateBody(&groundDef);
        const b2Vec2 corners[4] = {{0.0f, 1000.0f}, {0.0f, 0.0f}, {width_, 0.0f}, {width_, 1000.0f}};
        for (int i = 0; i < 3; ++i)
        {
            b2EdgeShape edge;
            edge.SetTwoSided(corners[i], corners[i + 1]);
            ground->CreateFixture(&edge, 0.0f);
        }
        b2CircleShape circle;
        circle.m_radius = Radius;
        b2FixtureDef fixture;
        fixture.shape = &circle;
        fixture.density = Mass / (b2_pi * Radius * Radius);
        fixture.friction = Friction;
        fixture.restitution = Restitution;
        for (const Vector2D& p : PileStart(circles, width_))
        {
            b2BodyDef def;
            def.type = b2_dynamicBody;
            def.position.Set(p.x, p.y);
            world_.CreateBody(&def)->CreateFixture(&fixture);
        }
    }

    float Quality() const override
    {
        std::vector<Vector2D> positions;
        for (const b2Body* body = world_.GetBodyList(); body != nullptr; body = body->GetNext())
        {
            if (body->GetType() == b2_dynamicBody)
            {
                positions.push_back({body->GetPosition().x, body->GetPosition().y});
            }
        }
        return PileOverlap(positions, width_);
    }

private:
    float width_;
};

class Box2DChain : public Box2DWorld
{
public:
    Box2DChain()
    {
        floor_ = -LinkLength * static_cast<float>(ChainLinks);
        b2BodyDef groundDef;
        b2Body* previous = world_.CreateBody(&groundDef);
        for (int i = 0; i < ChainLinks; ++i)
        {
            b2BodyDef def;
            def.type = b2_dynamicBody;
            def.position.Set(LinkLength * (static_cast<float>(i) + 0.5f), 0.0f);
            b2Body* link = world_.CreateBody(&def);
            // No shapes: the links pass through each other, as ours do.
            b2MassData mass;
            mass.mass = Mass;
            mass.center.SetZero();
            mass.I = LinkInertia();
            link->SetMassData(&mass);
            b2RevoluteJointDef joint;
            joint.Initialize(previous, link, b2Vec2(LinkLength * static_cast<float>(i), 0.0f));
            world_.CreateJoint(&joint);
            links_.push_back(link);
            previous = link;
        }
    }

    float Quality() const override
    {
        b2Vec2 previous(0.0f, 0.0f);
        float widest = 0.0f;
        for (const b2Body* link : links_)
        {
            const b2Vec2 start = link->GetWorldPoint(b2Vec2(-0.5f * LinkLength, 0.0f));
            widest = std::max(widest, (start - previous).Length());
            previous = link->GetWorldPoint(b2Vec2(0.5f * LinkLength, 0.0f));
        }
        return widest;
    }

private:
    std::vector<b2Body*> links_;
};

class Box2DStack : public Box2DWorld
{
public:
    explicit Box2DStack(int boxes)
    {
        b2BodyDef groundDef;
        b2EdgeShape floor;
        floor.SetTwoSided(b2Vec2(-20.0f, 0.0f), b2Vec2(20.0f, 0.0f));
        world_.CreateBody(&groundDef)->CreateFixture(&floor, 0.0f);
        b2PolygonShape box;
        box.SetAsBox(BoxHalf, BoxHalf);
        b2FixtureDef fixture;
        fixture.shape = &box;
        fixture.density = Mass / (4.0f * BoxHalf * BoxHalf);
        fixture.friction = Friction;
        fixture.restitution = Restitution;
        for (int i = 0; i < boxes; ++i)
        {
            b2BodyDef def;
            def.type = b2_dynamicBody;
            def.position.Set(0.0f, BoxHalf * static_cast<float>(2 * i + 1));
            top_ = world_.CreateBody(&def);
            top_->CreateFixture(&fixture);
        }
    }

    float Quality() const override { return std::fabs(top_->GetPosition().x); }

private:
    b2Body* top_ = nullptr;
};

} // namespace

std::unique_ptr<World> MakeOurPile(int circles, bool warmStart)
{
    return std::make_unique<OurPile>(circles, warmStart);
}

std::unique_ptr<World> MakeBox2DPile(int circles)
{
    return std::make_unique<Box2DPile>(circles);
}

std::unique_ptr<World> MakeOurChain(bool warmStart)
{
    return std::make_unique<OurChain>(warmStart);
}

std::unique_ptr<World> MakeBox2DChain()
{
    return std::make_unique<Box2DChain>();
}

std::unique_ptr<World> MakeOurStack(int boxes, bool warmStart)
{
    return std::make_unique<OurStack>(boxes, warmStart);
}

std::unique_ptr<World> MakeBox2DStack(int boxes)
{
    return std::make_unique<Box2DStack>(boxes);
}

Figures Measure(World& world, int steps)
{
    Figures figures;
    const float start = world.Energy();
    for (int step = 0; step < steps; ++step)
    {
        world.Step();
        figures.worst = std::max(figures.worst, world.Quality());
        figures.peakKinetic = std::max(figures.peakKinetic, world.KineticEnergy());
    }
    figures.energyDrift = (world.Energy() - start) / std::fabs(start);
    figures.finalKinetic = world.KineticEnergy();
    return figures;
}

} // namespace bench

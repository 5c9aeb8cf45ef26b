#include "physics/Physics_PhysicsEngine.h"
#include "physics/Physics_ReadChecks.h"

#include "core/Core_File.h"
#include "math/Math_Constants.h"
#include "physics/Physics_Force.h"
#include "physics/Physics_Forces.h"
#include "physics/Physics_JointAngularMotor.h"
#include "physics/Physics_Simulation.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <typeinfo>

namespace Physics2D
{

CORE_DEFINE_OBJECT_BASICS(PhysicsEngine, "Physics2D::PhysicsEngine", "PhysicsEngine", "Physics_PhysicsEngine",
                          __LINE__)
static const Core::ClassRegistrar g_physicsEngineRegistrar("Physics2D::PhysicsEngine",
                                                           &PhysicsEngine::Create);

// A new engine with this one's settings; bodies, joints and contacts are the
// world's own and are not copied.
Core::Object* PhysicsEngine::Clone() const
{
    PhysicsEngine* engine = new ("Physics_PhysicsEngine", __LINE__) PhysicsEngine();
    engine->solver_.SetSettings(solver_.GetSettings());
    engine->contactLimit_ = contactLimit_;
    engine->perContactLimit_ = perContactLimit_;
    engine->contactListUpdate_ = contactListUpdate_;
    engine->contactListUpdateData_ = contactListUpdateData_;
    return engine;
}

PhysicsEngine::PhysicsEngine()
{
    Simulation::plusInfinity = std::numeric_limits<float>::max();
    ground_ = new ("Physics_PhysicsEngine", __LINE__)
        RigidBody(MassProperties(0.0f, 0.0f, {}), RigidBody::Euler, nullptr, nullptr, nullptr);
    Simulation::staticBody = ground_.Get();
}

PhysicsEngine::~PhysicsEngine()
{
    DetachStepBodies();
    if (Simulation::staticBody == ground_.Get())
    {
        Simulation::staticBody = nullptr;
    }
}

// --- Bodies ------------------------------------------------------------------

bool PhysicsEngine::IsValidId(std::uint32_t id) const
{
    return id != 0 && id <= bodies_.size() && bodies_[id - 1];
}

RigidBody* PhysicsEngine::FindBody(std::uint32_t id) const
{
    return IsValidId(id) ? bodies_[id - 1].Get() : nullptr;
}

RigidBody* PhysicsEngine::BodyOrGround(std::uint32_t id) const
{
    RigidBody* body = FindBody(id);
    return body != nullptr ? body : ground_.Get();
}

std::uint32_t PhysicsEngine::AddRigidBody(RigidBody* body)
{
    if (body == nullptr)
    {
        return 0;
    }
    Core::RefPtr<RigidBody> held(body);
    body->UpdateTransform(RigidBody::TransformUpdate::Move);
    if (!freeIds_.empty())
    {
        const std::uint32_t id = freeIds_.back();
        freeIds_.pop_back();
        bodies_[id - 1] = held;
        return id;
    }
    bodies_.push_back(held);
    return static_cast<std::uint32_t>(bodies_.size());
}

bool PhysicsEngine::RemoveRigidBody(std::uint32_t id)
{
    if (!IsValidId(id))
    {
        return false;
    }
    const Core::RefPtr<RigidBody> body = bodies_[id - 1];
    bodies_[id - 1].Reset();
    for (const Core::RefPtr<Joint>& joint : joints_)
    {
        if (joint->GetBody1() == body.Get())
        {
            joint->SetBody1(ground_.Get());
        }
        else if (joint->GetBody2() == body.Get())
        {
            joint->SetBody2(ground_.Get());
        }
        else
        {
            continue;
        }
        joint->Prepare();
    }
    std::erase_if(contacts_, [&](const Core::RefPtr<Contact>& contact)
                  { return contact->GetBody1() == body.Get() || contact->GetBody2() == body.Get(); });
    freeIds_.push_back(id);
    return true;
}

std::uint32_t PhysicsEngine::CloneRigidBody(std::uint32_t id, void* userData)
{
    const RigidBody* source = FindBody(id);
    if (source == nullptr)
    {
        return 0;
    }
    return AddRigidBody(new ("Physics_PhysicsEngine", __LINE__) RigidBody(*source, userData));
}

Core::RefPtr<RigidBody> PhysicsEngine::GetRigidBody(std::uint32_t id) const
{
    return FindBody(id);
}

// --- Joints and contacts -------------------------------------------------------

Joint* PhysicsEngine::AddJoint(std::uint32_t id1, std::uint32_t id2, Joint* joint)
{
    Core::RefPtr<Joint> held(joint);
    if (joint == nullptr || (!IsValidId(id1) && !IsValidId(id2)))
    {
        return nullptr;
    }
    joint->SetBody1(BodyOrGround(id1));
    joint->SetBody2(BodyOrGround(id2));
    joint->GetBody1()->UpdateTransform(RigidBody::TransformUpdate::Move);
    joint->GetBody2()->UpdateTransform(RigidBody::TransformUpdate::Move);
    joint->Prepare();
    joints_.push_back(held);
    return joint;
}

Contact* PhysicsEngine::AddContact(std::uint32_t id1, std::uint32_t id2, Contact* contact)
{
    Core::RefPtr<Contact> held(contact);
    if (contact == nullptr || (!IsValidId(id1) && !IsValidId(id2)))
    {
        return nullptr;
    }
    contact->SetBody1(BodyOrGround(id1));
    contact->SetBody2(BodyOrGround(id2));
    if (contact->GetBody1() == ground_.Get())
    {
        contact->SetContactPosition1({});
    }
    if (contact->GetBody2() == ground_.Get())
    {
        contact->SetContactPosition2({});
    }
    contact->Prepare();
    contacts_.push_back(held);
    return contact;
}

void PhysicsEngine::RemoveJoint(Joint* joint)
{
    const auto found = std::find(joints_.begin(), joints_.end(), joint);
    if (found != joints_.end())
    {
        joints_.erase(found);
    }
}

void PhysicsEngine::RemoveContact(Contact* contact)
{
    std::erase(contacts_, contact);
}

// --- By-id operations ------------------------------------------------------------

bool PhysicsEngine::SetMassProperties(std::uint32_t id, const MassProperties& massProperties)
{
    return WithBody(id, [&](RigidBody& body) { body.SetMassProperties(massProperties); });
}

bool PhysicsEngine::GetMassProperties(std::uint32_t id, MassProperties& massProperties) const
{
    return WithBody(id, [&](const RigidBody& body) { massProperties = body.GetMassProperties(); });
}

bool PhysicsEngine::SetRigidBodyPosition(std::uint32_t id, const Math::Vector2D& position)
{
    return WithBody(id, [&](RigidBody& body) { body.SetPosition(position); });
}

bool PhysicsEngine::SetRigidBodyOrientation(std::uint32_t id, float degrees)
{
    return WithBody(id, [&](RigidBody& body) { body.SetOrientation(degrees); });
}

bool PhysicsEngine::SetRigidBodyVelocity(std::uint32_t id, const Math::Vector2D& velocity)
{
    return WithBody(id, [&](RigidBody& body) { body.SetVelocity(velocity * Simulation::scale); });
}

bool PhysicsEngine::GetRigidBodyVelocity(std::uint32_t id, Math::Vector2D& velocity) const
{
    return WithBody(id, [&](const RigidBody& body) { velocity = body.GetVelocity() / Simulation::scale; });
}

bool PhysicsEngine::SetRigidBodyAngularVelocity(std::uint32_t id, float degreesPerSecond)
{
    return WithBody(id, [&](RigidBody& body) { body.SetAngularVelocity(degreesPerSecond); });
}

bool PhysicsEngine::GetRigidBodyAngularVelocity(std::uint32_t id, float& degreesPerSecond) const
{
    return WithBody(id, [&](const RigidBody& body) { degreesPerSecond = body.GetAngularVelocity(); });
}

bool PhysicsEngine::GetRigidBodyCenterOfMass(std::uint32_t id, Math::Vector2D& center) const
{
    return WithBody(id, [&](const RigidBody& body) { center = body.GetCenterOfMass(); });
}

std::uint32_t PhysicsEngine::AddRigidBodyForce(std::uint32_t id, Force* force)
{
    const Core::RefPtr<Force> held(force);
    RigidBody* body = FindBody(id);
    if (body == nullptr)
    {
        return Forces::InvalidId;
    }
    return body->AddForce(force);
}

bool PhysicsEngine::RemoveRigidBodyForce(std::uint32_t id, std::uint32_t forceId)
{
    RigidBody* body = FindBody(id);
    return body != nullptr && body->RemoveForce(forceId);
}

bool PhysicsEngine::RemoveAllRigidBodyForces(std::uint32_t id)
{
    RigidBody* body = FindBody(id);
    return body != nullptr && body->RemoveAllForces();
}

// --- Settings ----------------------------------------------------------------------

void PhysicsEngine::SetScale(float scale)
{
    // Every force and velocity limit is multiplied by the scale: one NaN or
    // infinity would spread to every body.
    if (std::isfinite(scale) && scale != 0.0f)
    {
        Simulation::scale = scale;
    }
}

void PhysicsEngine::SetAccuracy(std::uint32_t iterations)
{
    solver_.SetAccuracy(std::clamp(iterations, MinimumAccuracy, MaximumAccuracy));
}

float PhysicsEngine::GetScale()
{
    return Simulation::scale;
}

float PhysicsEngine::GetEpsilon()
{
    return Simulation::epsilon;
}

float PhysicsEngine::GetPlusInfinity()
{
    return Simulation::plusInfinity;
}

float PhysicsEngine::GetSimulationStep()
{
    return Simulation::step;
}

float PhysicsEngine::GetSimulationInverseStep()
{
    return Simulation::inverseStep;
}

float PhysicsEngine::GetMaximumSimulationStep()
{
    return Simulation::maximumStep;
}

void PhysicsEngine::SetMaximumSimulationStep(float step)
{
    if (step > 0.0f)
    {
        Simulation::maximumStep = step;
    }
}

RigidBody* PhysicsEngine::GetStaticBody()
{
    return Simulation::staticBody;
}

// --- Passes -------------------------------------------------------------------------

void PhysicsEngine::ClampStep(float dt)
{
    // A step that is no number moves nothing, as a step of 0 does.
    if (std::isnan(dt))
    {
        dt = 0.0f;
    }
    Simulation::step = Simulation::maximumStep < dt ? Simulation::maximumStep : dt;
    Simulation::inverseStep = dt == 0.0f ? 0.0f : 1.0f / Simulation::step;
}

void PhysicsEngine::BuildConstraintList(bool postCollision)
{
    constraints_.clear();
    ++passStamp_;
    if (!postCollision)
    {
        AddActiveJoints();
        for (const Core::RefPtr<Contact>& contact : contacts_)
        {
            if (contact->IsActive())
            {
                constraints_.push_back(contact.Get());
            }
        }
        return;
    }

    contactBodies_.clear();
    const auto isContactBody = [this](const RigidBody* body)
    {
        const std::uint32_t index = body->contactIndex_;
        return index < contactBodies_.size() && contactBodies_[index] == body;
    };
    const auto addContactBody = [&](RigidBody* body)
    {
        if (!isContactBody(body))
        {
            body->contactIndex_ = static_cast<std::uint32_t>(contactBodies_.size());
            contactBodies_.push_back(body);
        }
    };
    for (const Core::RefPtr<Contact>& contact : contacts_)
    {
        if (contact->IsActive())
        {
            addContactBody(contact->GetBody1());
            addContactBody(contact->GetBody2());
            constraints_.push_back(contact.Get());
        }
    }

    // The joints connected, directly or through other joints, to a body
    // with a contact. Each body added may connect joints already passed, so
    // the walk starts again until it adds none.
    bool added = true;
    while (added)
    {
        added = false;
        for (const Core::RefPtr<Joint>& joint : joints_)
        {
            if (!joint->IsActive())
            {
                continue;
            }
            RigidBody* body1 = joint->GetBody1();
            RigidBody* body2 = joint->GetBody2();
            const bool in1 = isContactBody(body1);
            const bool in2 = isContactBody(body2);
            if (!in1 && !in2)
            {
                continue;
            }
            if (joint->listStamp_ != passStamp_)
            {
                joint->listStamp_ = passStamp_;
                constraints_.push_back(joint.Get());
            }
            if (!in1 || !in2)
            {
                addContactBody(in1 ? body2 : body1);
                added = true;
                break;
            }
        }
    }
}

void PhysicsEngine::AddActiveJoints()
{
    for (const Core::RefPtr<Joint>& joint : joints_)
    {
        if (joint->IsActive())
        {
            constraints_.push_back(joint.Get());
        }
    }
}

void PhysicsEngine::BuildStepBodies()
{
    stepBodies_.clear();
    const auto add = [this](RigidBody* body)
    {
        const std::uint32_t index = body->stepIndex_;
        if (index < stepBodies_.size() && stepBodies_[index] == body)
        {
            return;
        }
        body->stepIndex_ = static_cast<std::uint32_t>(stepBodies_.size());
        stepBodies_.emplace_back(body);
    };
    for (Joint* constraint : constraints_)
    {
        add(constraint->GetBody1());
        add(constraint->GetBody2());
    }
}

void PhysicsEngine::AssembleRows()
{
    // Row counts first: the solver is sized for the whole pass before any
    // constraint writes.
    firstRows_.resize(constraints_.size());
    std::uint32_t total = 0;
    for (std::size_t c = 0; c < constraints_.size(); ++c)
    {
        firstRows_[c] = total;
        total += constraints_[c]->CountRows();
    }
    solver_.Prepare(total, static_cast<std::uint32_t>(stepBodies_.size()));
    for (std::size_t c = 0; c < constraints_.size(); ++c)
    {
        Joint* constraint = constraints_[c];
        for (std::uint32_t r = 0; r < constraint->GetRows(); ++r)
        {
            RowRecord& record = solver_.GetRowRecord(firstRows_[c] + r);
            record.body1 = constraint->GetBody1();
            record.body2 = constraint->GetBody2();
            record.linkedRow = -1;
        }
    }
}

void PhysicsEngine::DetachStepBodies()
{
    for (const Core::RefPtr<RigidBody>& body : stepBodies_)
    {
        body->SetSolverAccumulator(nullptr);
    }
}

// Fills every constraint's rows, turns their links into global rows and
// attaches the accumulators to the step bodies.
static void FillAndLink(ConstraintSolver& solver, const std::vector<Joint*>& constraints,
                        const std::vector<std::uint32_t>& firstRows,
                        const std::vector<Core::RefPtr<RigidBody>>& stepBodies)
{
    for (std::size_t c = 0; c < constraints.size(); ++c)
    {
        Joint* constraint = constraints[c];
        const std::uint32_t rows = constraint->GetRows();
        if (rows == 0)
        {
            continue;
        }
        const std::uint32_t first = firstRows[c];
        constraint->FillRows(solver.GetRowWindow(first, rows));
        for (std::uint32_t r = 0; r < rows; ++r)
        {
            RowRecord& record = solver.GetRowRecord(first + r);
            const std::int32_t link = record.linkedRow;
            record.linkedRow = link >= 0 && static_cast<std::uint32_t>(link) < rows
                                   ? static_cast<std::int32_t>(first) + link
                                   : -1;
        }
    }
    for (std::size_t k = 0; k < stepBodies.size(); ++k)
    {
        stepBodies[k]->SetSolverAccumulator(solver.GetBodyAccumulator(static_cast<std::uint32_t>(k)));
    }
}

void PhysicsEngine::SeedMultipliers()
{
    if (!solver_.GetWarmStart())
    {
        return;
    }
    const bool position = solver_.IsPositionCorrectionPhase();
    float* lambda = solver_.GetMultipliers();
    for (std::size_t c = 0; c < constraints_.size(); ++c)
    {
        const std::uint32_t rows = constraints_[c]->GetRows();
        const std::uint32_t known = std::min(rows, Joint::KeptMultipliers);
        const float* kept = constraints_[c]->GetKeptMultipliers(position);
        std::copy_n(kept, known, lambda + firstRows_[c]);
        std::fill(lambda + firstRows_[c] + known, lambda + firstRows_[c] + rows, 0.0f);
    }
}

void PhysicsEngine::KeepMultipliers()
{
    const bool position = solver_.IsPositionCorrectionPhase();
    const float* lambda = solver_.GetMultipliers();
    for (std::size_t c = 0; c < constraints_.size(); ++c)
    {
        const std::uint32_t rows = std::min(constraints_[c]->GetRows(), Joint::KeptMultipliers);
        float* kept = constraints_[c]->GetKeptMultipliers(position);
        std::copy_n(lambda + firstRows_[c], rows, kept);
        std::fill(kept + rows, kept + Joint::KeptMultipliers, 0.0f);
    }
}

void PhysicsEngine::Update(float dt)
{
    ClampStep(dt);
    const float step = Simulation::step;
    BuildConstraintList(false);
    BuildStepBodies();
    AssembleRows();
    for (std::size_t i = 0; i < bodies_.size(); ++i)
    {
        if (const Core::RefPtr<RigidBody> body = bodies_[i])
        {
            body->AccumulateForces(step);
        }
    }
    FillAndLink(solver_, constraints_, firstRows_, stepBodies_);
    SeedMultipliers();
    solver_.Solve();
    // A body the rows would spin past the spin limit is clamped when it
    // integrates; rows solved without knowing that pull its joints apart.
    // Such bodies are held at the limit and the rows solved again around
    // them, a few rounds at most (a round may push other bodies over).
    heldSpins_.clear();
    for (std::uint32_t round = 0; round < MaximumSpinRounds && HoldSpinsPastLimit(step); ++round)
    {
        AssembleRows();
        FillAndLink(solver_, constraints_, firstRows_, stepBodies_);
        for (const HeldSpin& held : heldSpins_)
        {
            solver_.FixSpin(held.body);
            solver_.GetBodyAccumulator(held.body)[2] = held.acceleration;
        }
        SeedMultipliers();
        solver_.Solve();
    }
    KeepMultipliers();
    // Callbacks run from here on and may add or remove bodies: each body is
    // held while it steps, and the slots are read afresh.
    for (std::size_t i = 0; i < bodies_.size(); ++i)
    {
        if (const Core::RefPtr<RigidBody> body = bodies_[i])
        {
            body->Integrate(step);
            body->SetSolverAccumulator(nullptr);
        }
    }
    DetachStepBodies();
    stepBodies_.clear();
}

bool PhysicsEngine::HoldSpinsPastLimit(float step)
{
    const float limit = RigidBody::GetMaximumAngularVelocity() * Simulation::scale;
    // The value the clamp gives, through degrees as there.
    const float clamped = limit * Math::RadiansToDegrees * Math::DegreesToRadians;
    const float h = Simulation::inverseStep;
    bool added = false;
    for (std::uint32_t k = 0; k < stepBodies_.size(); ++k)
    {
        const RigidBody& body = *stepBodies_[k];
        const float inverseInertia = body.GetMassProperties().GetInverseInertia();
        if (body.heldSpinStamp_ == passStamp_ || inverseInertia == 0.0f || !body.GetVelocityIntegrator())
        {
            continue;
        }
        // The spin the step will integrate to (every integrator gets the
        // same derivative at each stage: it reads the body, not the state).
        const float w = body.GetAngularVelocityRadians();
        const float torque = inverseInertia * body.GetTorque();
        const float next = w + step * (torque + solver_.GetBodyAccumulator(k)[2]);
        if (!(std::fabs(next) > limit))
        {
            continue;
        }
        const float target = next > 0.0f ? clamped : -clamped;
        stepBodies_[k]->heldSpinStamp_ = passStamp_;
        heldSpins_.push_back({k, (target - w) * h - torque});
        added = true;
    }
    return added;
}

void PhysicsEngine::SeedNewContacts()
{
    if (!solver_.GetWarmStart() || previousContacts_.empty())
    {
        return;
    }
    // The bridge makes new contacts every pass. A new contact takes over the
    // multipliers of the last pass's contact between the same bodies, facing
    // the same way, nearest to its point: the same touch, seen again. Taken
    // over, not copied, so a touch kept as well carries its load once.
    //
    // The last pass's contacts are grouped by body 1 (each group in contact
    // order), and each group ordered by body 2, then contact order: a new
    // contact looks at its pair's contacts in contact order.
    constexpr std::uint32_t None = ~0u;
    std::uint32_t nullGroup = None;
    seedBodies_.clear();
    seedStarts_.clear();
    const auto groupOf = [&](const RigidBody* body) -> std::uint32_t
    {
        if (body == nullptr)
        {
            return nullGroup;
        }
        const std::uint32_t group = body->seedGroup_;
        return group < seedBodies_.size() && seedBodies_[group] == body ? group : None;
    };
    const std::uint32_t count = static_cast<std::uint32_t>(previousContacts_.size());
    seedGroupOf_.resize(count);
    for (std::uint32_t i = 0; i < count; ++i)
    {
        RigidBody* body1 = previousContacts_[i]->GetBody1();
        std::uint32_t group = groupOf(body1);
        if (group == None)
        {
            group = static_cast<std::uint32_t>(seedBodies_.size());
            if (body1 != nullptr)
            {
                body1->seedGroup_ = group;
            }
            else
            {
                nullGroup = group;
            }
            seedBodies_.push_back(body1);
            seedStarts_.push_back(0);
        }
        ++seedStarts_[group];
        seedGroupOf_[i] = group;
    }
    std::uint32_t start = 0;
    for (std::uint32_t& groupStart : seedStarts_)
    {
        const std::uint32_t size = groupStart;
        groupStart = start;
        start += size;
    }
    seedStarts_.push_back(start);
    seedCursors_.assign(seedStarts_.begin(), seedStarts_.end() - 1);
    seedEntries_.resize(count);
    for (std::uint32_t i = 0; i < count; ++i)
    {
        seedEntries_[seedCursors_[seedGroupOf_[i]]++] = {previousContacts_[i]->GetBody2(), i};
    }
    const auto before = [](const SeedEntry& a, const SeedEntry& b)
    {
        if (a.body2 != b.body2)
        {
            return std::less<>()(a.body2, b.body2);
        }
        return a.index < b.index;
    };
    const auto entries = seedEntries_.begin();
    for (std::size_t group = 0; group + 1 < seedStarts_.size(); ++group)
    {
        if (seedStarts_[group + 1] - seedStarts_[group] > 1)
        {
            std::sort(entries + seedStarts_[group], entries + seedStarts_[group + 1], before);
        }
    }
    for (const Core::RefPtr<Contact>& contact : contacts_)
    {
        const std::uint32_t group = groupOf(contact->GetBody1());
        if (group == None)
        {
            continue;
        }
        const auto last = entries + seedStarts_[group + 1];
        const SeedEntry key{contact->GetBody2(), 0};
        Contact* nearest = nullptr;
        float nearestDistance = 0.0f;
        for (auto entry = std::lower_bound(entries + seedStarts_[group], last, key, before);
             entry != last && entry->body2 == key.body2; ++entry)
        {
            Contact* previous = previousContacts_[entry->index].Get();
            if (previous->GetNormal().Dot(contact->GetNormal()) < SeedNormalAgreement)
            {
                continue;
            }
            const Math::Vector2D offset = previous->GetWorldPoint1() - contact->GetPoint();
            const float distance = offset.Dot(offset);
            if (nearest == nullptr || distance < nearestDistance)
            {
                nearest = previous;
                nearestDistance = distance;
            }
        }
        if (nearest == nullptr)
        {
            continue;
        }
        for (const bool phase : {false, true})
        {
            float* from = nearest->GetKeptMultipliers(phase);
            std::copy_n(from, Joint::KeptMultipliers, contact->GetKeptMultipliers(phase));
            std::fill_n(from, Joint::KeptMultipliers, 0.0f);
        }
    }
}

void PhysicsEngine::KeepPreviousContacts()
{
    keptContacts_.clear();
    const RigidBody* ground = ground_.Get();
    // Each new contact keeps, in their order, the last pass's contacts not
    // yet kept that share its body 1 as their body 1 or its body 2 as their
    // body 2 (the ground body shares nothing). The candidates come from two
    // lists per body, as body 1 and as body 2, each in contact order, merged.
    constexpr std::uint32_t None = ~0u;
    keepBodies_.clear();
    const auto groupOf = [&](const RigidBody* body) -> std::uint32_t
    {
        const std::uint32_t group = body->keepGroup_;
        return group < keepBodies_.size() && keepBodies_[group] == body ? group : None;
    };
    const std::uint32_t count = static_cast<std::uint32_t>(previousContacts_.size());
    keepSides_.resize(2 * std::size_t{count});
    for (std::uint32_t i = 0; i < count; ++i)
    {
        for (std::uint32_t side = 0; side < 2; ++side)
        {
            RigidBody* body = side == 0 ? previousContacts_[i]->GetBody1() : previousContacts_[i]->GetBody2();
            if (body == nullptr)
            {
                // Never so from AddContact; the plain walk handles it.
                KeepPreviousContactsInOrder();
                return;
            }
            std::uint32_t group = groupOf(body);
            if (group == None)
            {
                group = static_cast<std::uint32_t>(keepBodies_.size());
                body->keepGroup_ = group;
                keepBodies_.push_back(body);
            }
            keepSides_[2 * std::size_t{i} + side] = group;
        }
    }
    // Per group and side: [begin, end) in keepEntries_.
    const std::size_t lists = 2 * keepBodies_.size();
    keepBegins_.assign(lists + 1, 0);
    for (std::size_t k = 0; k < 2 * std::size_t{count}; ++k)
    {
        ++keepBegins_[2 * keepSides_[k] + (k & 1) + 1];
    }
    for (std::size_t list = 1; list <= lists; ++list)
    {
        keepBegins_[list] += keepBegins_[list - 1];
    }
    keepEnds_.assign(keepBegins_.begin(), keepBegins_.end() - 1);
    keepEntries_.resize(2 * std::size_t{count});
    for (std::size_t k = 0; k < 2 * std::size_t{count}; ++k)
    {
        keepEntries_[keepEnds_[2 * keepSides_[k] + (k & 1)]++] = static_cast<std::uint32_t>(k / 2);
    }

    std::uint32_t total = 0;
    for (const Core::RefPtr<Contact>& contact : contacts_)
    {
        if (total >= contactLimit_)
        {
            break;
        }
        const RigidBody* body1 = contact->GetBody1();
        const RigidBody* body2 = contact->GetBody2();
        const std::uint32_t group1 = body1 != ground && body1 != nullptr ? groupOf(body1) : None;
        const std::uint32_t group2 = body2 != ground && body2 != nullptr ? groupOf(body2) : None;
        std::uint32_t* first = group1 != None ? &keepBegins_[2 * std::size_t{group1}] : nullptr;
        std::uint32_t* second = group2 != None ? &keepBegins_[2 * std::size_t{group2} + 1] : nullptr;
        const std::uint32_t firstEnd = group1 != None ? keepEnds_[2 * std::size_t{group1}] : 0;
        const std::uint32_t secondEnd = group2 != None ? keepEnds_[2 * std::size_t{group2} + 1] : 0;
        // The front of a list drops the contacts already kept.
        const auto front = [&](std::uint32_t* begin, std::uint32_t end) -> std::uint32_t
        {
            if (begin == nullptr)
            {
                return None;
            }
            while (*begin < end && !previousContacts_[keepEntries_[*begin]])
            {
                ++*begin;
            }
            return *begin < end ? keepEntries_[*begin] : None;
        };
        std::uint32_t kept = 0;
        std::uint32_t a = front(first, firstEnd);
        std::uint32_t b = front(second, secondEnd);
        while (kept < perContactLimit_ && (a != None || b != None))
        {
            const std::uint32_t next = std::min(a, b);
            Core::RefPtr<Contact>& previous = previousContacts_[next];
            previous->Prepare();
            keptContacts_.push_back(std::move(previous));
            ++kept;
            ++total;
            a = front(first, firstEnd);
            b = front(second, secondEnd);
        }
    }
}

void PhysicsEngine::KeepPreviousContactsInOrder()
{
    keptContacts_.clear();
    const RigidBody* ground = ground_.Get();
    std::uint32_t total = 0;
    for (const Core::RefPtr<Contact>& contact : contacts_)
    {
        if (total >= contactLimit_)
        {
            break;
        }
        const RigidBody* body1 = contact->GetBody1();
        const RigidBody* body2 = contact->GetBody2();
        std::uint32_t kept = 0;
        for (Core::RefPtr<Contact>& previous : previousContacts_)
        {
            if (kept >= perContactLimit_)
            {
                break;
            }
            if (!previous)
            {
                continue;
            }
            const bool shares = (previous->GetBody1() == body1 && body1 != ground) ||
                                (previous->GetBody2() == body2 && body2 != ground);
            if (shares)
            {
                previous->Prepare();
                keptContacts_.push_back(std::move(previous));
                ++kept;
                ++total;
            }
        }
    }
}

void PhysicsEngine::ApplyCorrections()
{
    // The accumulators hold accelerations; over one step they move a body
    // by a x step^2.
    const float squared = Simulation::step * Simulation::step;
    for (const Core::RefPtr<RigidBody>& body : stepBodies_)
    {
        const float* a = body->GetSolverAccumulator();
        if (a == nullptr)
        {
            continue;
        }
        body->CorrectPosition({a[0] * squared, a[1] * squared}, a[2] * squared);
        body->SetSolverAccumulator(nullptr);
        body->RebuildTransform();
        if (body->correctedStamp_ != passStamp_)
        {
            body->correctedStamp_ = passStamp_;
            correctedBodies_.push_back(body);
        }
    }
}

void PhysicsEngine::CloseJoints()
{
    // Joints that correct drift: a motor's row asks for a speed, not a
    // place, and a factor of 0 leaves drift alone.
    constraints_.clear();
    for (const Core::RefPtr<Joint>& joint : joints_)
    {
        if (joint->IsActive() && joint->GetCorrectionFactor() > 0.0f &&
            typeid(*joint) != typeid(JointAngularMotor))
        {
            constraints_.push_back(joint.Get());
        }
    }
    if (constraints_.empty())
    {
        return;
    }
    // The contact pass's step bodies stay the pass's own (they are stored
    // with the engine); the joints' bodies are the same in every round.
    savedStepBodies_.swap(stepBodies_);
    BuildStepBodies();
    for (std::uint32_t round = 0; round < JointCorrectionRounds; ++round)
    {
        AssembleRows();
        FillAndLink(solver_, constraints_, firstRows_, stepBodies_);
        // A row's target over the step is the share of its joint's drift
        // (its correction factor) that the round would take out. When no
        // joint has drifted further than the tolerance the joints are closed:
        // the rounds stop and move nothing, so no body is called back for a
        // placement that did not change.
        float largest = 0.0f;
        for (std::size_t c = 0; c < constraints_.size(); ++c)
        {
            const float factor = constraints_[c]->GetCorrectionFactor();
            for (std::uint32_t row = 0; row < constraints_[c]->GetRows(); ++row)
            {
                largest = std::max(largest, std::fabs(solver_.GetTarget(firstRows_[c] + row)) / factor);
            }
        }
        if (!(largest * Simulation::step > JointCorrectionTolerance))
        {
            DetachStepBodies();
            break;
        }
        // Each round starts from nothing: what the last one asked for is
        // already in the placement.
        solver_.Solve(JointCorrectionSweeps, false);
        ApplyCorrections();
    }
    stepBodies_.swap(savedStepBodies_);
    savedStepBodies_.clear();
}

void PhysicsEngine::PostCollisionUpdate(float dt)
{
    ClampStep(dt);
    solver_.SetPositionCorrectionPhase(true);

    previousContacts_.swap(contacts_);
    contacts_.clear();
    if (contactListUpdate_ != nullptr)
    {
        contactListUpdate_(this, contactListUpdateData_);
    }
    SeedNewContacts();
    KeepPreviousContacts();
    for (Core::RefPtr<Contact>& kept : keptContacts_)
    {
        contacts_.push_back(std::move(kept));
    }
    keptContacts_.clear();
    previousContacts_.clear();

    BuildConstraintList(true);
    BuildStepBodies();
    AssembleRows();
    for (const Core::RefPtr<RigidBody>& body : bodies_)
    {
        if (body)
        {
            body->SetForce({});
            body->SetTorque(0.0f);
        }
    }
    FillAndLink(solver_, constraints_, firstRows_, stepBodies_);
    SeedMultipliers();
    solver_.Solve();
    KeepMultipliers();
    ApplyCorrections();
    CloseJoints();
    // The bodies moved by either correction learn their placement once (the
    // callback may change the engine: each body is held while it runs).
    for (std::size_t i = 0; i < correctedBodies_.size(); ++i)
    {
        const Core::RefPtr<RigidBody> body = correctedBodies_[i];
        body->UpdateTransform(RigidBody::TransformUpdate::PostCollision);
    }
    correctedBodies_.clear();

    for (std::size_t i = 0; i < contacts_.size(); ++i)
    {
        const Core::RefPtr<Contact> contact = contacts_[i];
        contact->Prepare();
        contact->UpdatePenetration();
    }
    solver_.SetPositionCorrectionPhase(false);
}

void PhysicsEngine::Reset()
{
    DetachStepBodies();
    bodies_.clear();
    freeIds_.clear();
    stepBodies_.clear();
    joints_.clear();
    contacts_.clear();
    previousContacts_.clear();
    constraints_.clear();
    keptContacts_.clear();
    contactBodies_.clear();
    correctedBodies_.clear();
}

// --- Persistence ------------------------------------------------------------------------

void PhysicsEngine::Write(Core::File& file) const
{
    file << RecordTag;
    file.WriteObject(ground_.Get());
    file << static_cast<std::uint32_t>(freeIds_.size());
    for (auto id = freeIds_.rbegin(); id != freeIds_.rend(); ++id)
    {
        file << *id;
    }
    Core::WriteRefPtrVector(file, bodies_);
    Core::WriteRefPtrVector(file, stepBodies_);
    Core::WriteRefPtrVector(file, joints_);
    solver_.WriteSettings(file);
    file << contactLimit_ << perContactLimit_;
    file << Simulation::plusInfinity << Simulation::step << Simulation::inverseStep << Simulation::maximumStep
         << Simulation::scale << Simulation::epsilon;
}

void PhysicsEngine::Read(Core::File& file)
{
    // The bodies and joints apply class-wide values at the end of the read,
    // and only when it succeeded.
    const Core::File::ReadingScope scope(file, *this);
    std::uint32_t tag = 0;
    file >> tag;
    Core::RefPtr<RigidBody> ground;
    Core::ReadRefPtr(file, ground);
    std::uint32_t freeCount = 0;
    if (file.Failed() || !file.ReadExact(&freeCount, sizeof freeCount) ||
        !file.Require(std::uint64_t{freeCount} * sizeof(std::uint32_t)))
    {
        return;
    }
    if (!ground)
    {
        file.SetError(Core::FileError::BadData);
        return;
    }
    // Stored from the one reused next to the oldest.
    std::vector<std::uint32_t> freeIds(freeCount);
    for (auto id = freeIds.rbegin(); id != freeIds.rend(); ++id)
    {
        file >> *id;
    }
    std::vector<Core::RefPtr<RigidBody>> bodies, stepBodies;
    std::vector<Core::RefPtr<Joint>> joints;
    Core::ReadRefPtrVector(file, bodies);
    Core::ReadRefPtrVector(file, stepBodies);
    Core::ReadRefPtrVector(file, joints);
    ConstraintSolver::Settings settings;
    ConstraintSolver::ReadSettings(file, settings);
    std::uint32_t contactLimit = 0, perContactLimit = 0;
    float plusInfinity = 0.0f, step = 0.0f, inverseStep = 0.0f, maximumStep = 0.0f, scale = 0.0f,
          epsilon = 0.0f;
    file >> contactLimit >> perContactLimit >> plusInfinity >> step >> inverseStep >> maximumStep >> scale >>
        epsilon;
    if (file.Failed())
    {
        return;
    }

    // What no engine could have written: a free id naming a body or named
    // twice, a missing step body, a joint without both bodies, settings its
    // setters refuse.
    std::vector<bool> freed(bodies.size(), false);
    for (const std::uint32_t id : freeIds)
    {
        if (id == 0 || id > bodies.size() || bodies[id - 1] || freed[id - 1])
        {
            file.SetError(Core::FileError::BadData);
            return;
        }
        freed[id - 1] = true;
    }
    const bool stepBodiesSound =
        std::all_of(stepBodies.begin(), stepBodies.end(), [](const auto& body) { return bool(body); });
    const bool jointsSound = std::all_of(joints.begin(), joints.end(),
                                         [](const Core::RefPtr<Joint>& joint)
                                         { return joint && joint->GetBody1() && joint->GetBody2(); });
    if (!CheckFinite(file, settings.relaxation, plusInfinity, step, inverseStep, maximumStep, scale, epsilon))
    {
        return;
    }
    if (!stepBodiesSound || !jointsSound || settings.iterations < MinimumAccuracy ||
        settings.iterations > MaximumAccuracy || scale == 0.0f || !(maximumStep > 0.0f) ||
        !(plusInfinity > 0.0f) || step < 0.0f || inverseStep < 0.0f || epsilon < 0.0f)
    {
        file.SetError(Core::FileError::BadData);
        return;
    }

    DetachStepBodies();
    ground_ = ground;
    Simulation::staticBody = ground_.Get();
    // Ids freed before the read stay free only where they still name an
    // empty slot that the record does not free as well.
    std::deque<std::uint32_t> kept;
    for (const std::uint32_t id : freeIds_)
    {
        if (id != 0 && id <= bodies.size() && !bodies[id - 1] && !freed[id - 1])
        {
            freed[id - 1] = true;
            kept.push_back(id);
        }
    }
    freeIds_ = std::move(kept);
    freeIds_.insert(freeIds_.end(), freeIds.begin(), freeIds.end());
    bodies_ = std::move(bodies);
    stepBodies_.insert(stepBodies_.end(), stepBodies.begin(), stepBodies.end());
    joints_.insert(joints_.end(), joints.begin(), joints.end());
    solver_.SetSettings(settings);
    contactLimit_ = contactLimit;
    perContactLimit_ = perContactLimit;
    Simulation::plusInfinity = plusInfinity;
    Simulation::step = step;
    Simulation::inverseStep = inverseStep;
    Simulation::maximumStep = maximumStep;
    Simulation::scale = scale;
    Simulation::epsilon = epsilon;
}

} // namespace Physics2D

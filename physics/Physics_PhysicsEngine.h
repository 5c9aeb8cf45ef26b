#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "math/Math_Vector2D.h"
#include "physics/Physics_ConstraintSolver.h"
#include "physics/Physics_Contact.h"
#include "physics/Physics_Joint.h"
#include "physics/Physics_MassProperties.h"
#include "physics/Physics_RigidBody.h"

#include <cstdint>
#include <deque>
#include <vector>

namespace Physics2D
{

class Force;

// The 2D rigid-body world. Bodies are addressed by ids from 1: id i lives in
// slot i - 1, a removed body's id is reused (the last removed first), and id
// 0 is never issued: binding a joint or contact to it binds the engine's
// static ground body, which has zero mass and is never stepped.
//
// A frame runs two passes. `Update` sums the forces, solves joints and the
// contacts of the last frame for velocities, and integrates every body.
// `PostCollisionUpdate` (after the collision step) asks the contact-list
// callback for this frame's contacts, keeps some of the last frame's, and
// solves the contacts and the joints for position corrections.
//
// The process-wide values (Simulation) are the engine's: every pass sets the
// step, and every engine stores and reads them; the engine constructed or
// read last provides the process-wide static body.
class PhysicsEngine : public Core::Object
{
    CORE_DECLARE_OBJECT(PhysicsEngine)

public:
    static constexpr const char* ScriptTypeName = "PhysicsEngine";
    // Fills the contacts through AddContact; called first in every
    // PostCollisionUpdate with the engine and the registered user word.
    using ContactListUpdate = void (*)(PhysicsEngine* engine, void* userData);

    static constexpr std::uint32_t DefaultContactLimit = 500;
    static constexpr std::uint32_t DefaultPerContactLimit = 25;
    static constexpr std::uint32_t MinimumAccuracy = 10;
    // Beyond this a step would take minutes, not milliseconds.
    static constexpr std::uint32_t MaximumAccuracy = 10000;
    static constexpr std::uint32_t RecordTag = 245;
    // Solves after the first in a velocity pass that hold bodies at the spin
    // limit.
    static constexpr std::uint32_t MaximumSpinRounds = 3;
    // Joint position correction after the contacts': rounds, and sweeps per
    // round.
    static constexpr std::uint32_t JointCorrectionRounds = 4;
    static constexpr std::uint32_t JointCorrectionSweeps = 6;
    // The rounds stop once no joint has drifted further than this (a
    // distance, or a turn in radians).
    static constexpr float JointCorrectionTolerance = 0.004f;
    // A new contact takes over a previous one's multipliers only when their
    // normals agree at least this well (cosine).
    static constexpr float SeedNormalAgreement = 0.9f;

    PhysicsEngine();
    PhysicsEngine(const PhysicsEngine&) = delete;
    PhysicsEngine& operator=(const PhysicsEngine&) = delete;
    ~PhysicsEngine() override;

    // --- Bodies -------------------------------------------------------------
    // Runs the body's transform update (so its move callback fires) and
    // stores it; answers its id, 0 for null.
    std::uint32_t AddRigidBody(RigidBody* body);
    // Re-binds the body's side of every joint to the ground body (and
    // prepares the joint again), drops the contacts that touch it and frees
    // the id. False for an invalid id.
    bool RemoveRigidBody(std::uint32_t id);
    // Adds a copy of the body owned by `userData`; 0 for an invalid id.
    std::uint32_t CloneRigidBody(std::uint32_t id, void* userData);
    // Empty for an invalid id.
    Core::RefPtr<RigidBody> GetRigidBody(std::uint32_t id) const;
    // Not 0, within the slots, and the slot holds a body.
    bool IsValidId(std::uint32_t id) const;
    // Slot i holds the body of id i + 1; a removed body leaves null.
    const std::vector<Core::RefPtr<RigidBody>>& GetRigidBodies() const { return bodies_; }
    // Ids of removed bodies; the back one is reused first.
    const std::deque<std::uint32_t>& GetFreeIds() const { return freeIds_; }
    // This engine's static ground body.
    RigidBody* GetGroundBody() const { return ground_.Get(); }

    // --- Joints and contacts ------------------------------------------------
    // Binds the bodies by id (an invalid id binds the ground body), runs both
    // transform updates, prepares the joint and keeps it. Null, adding
    // nothing, for a null joint or when both ids are invalid.
    Joint* AddJoint(std::uint32_t id1, std::uint32_t id2, Joint* joint);
    // As AddJoint, without the transform updates; a side bound to the ground
    // body gets the contact-time position (0, 0).
    Contact* AddContact(std::uint32_t id1, std::uint32_t id2, Contact* contact);
    // Removes the first entry holding the joint.
    void RemoveJoint(Joint* joint);
    // Removes every entry holding the contact.
    void RemoveContact(Contact* contact);
    const std::vector<Core::RefPtr<Joint>>& GetJoints() const { return joints_; }
    // The contacts of the last PostCollisionUpdate (new and carried over).
    const std::vector<Core::RefPtr<Contact>>& GetContacts() const { return contacts_; }
    // The distinct bodies of the last pass's constraint list.
    const std::vector<Core::RefPtr<RigidBody>>& GetStepBodies() const { return stepBodies_; }

    // --- By-id operations: false (changing nothing) for an invalid id -------
    // Copies the five values as they stand.
    bool SetMassProperties(std::uint32_t id, const MassProperties& massProperties);
    bool GetMassProperties(std::uint32_t id, MassProperties& massProperties) const;
    bool SetRigidBodyPosition(std::uint32_t id, const Math::Vector2D& position);
    bool SetRigidBodyOrientation(std::uint32_t id, float degrees);
    // Velocities cross in unscaled units: set multiplies by the scale, get
    // divides by it.
    bool SetRigidBodyVelocity(std::uint32_t id, const Math::Vector2D& velocity);
    bool GetRigidBodyVelocity(std::uint32_t id, Math::Vector2D& velocity) const;
    bool SetRigidBodyAngularVelocity(std::uint32_t id, float degreesPerSecond);
    bool GetRigidBodyAngularVelocity(std::uint32_t id, float& degreesPerSecond) const;
    // The world centre of mass.
    bool GetRigidBodyCenterOfMass(std::uint32_t id, Math::Vector2D& center) const;
    // The force's id, or Forces::InvalidId for an invalid body id (a force
    // with no other reference is then released).
    std::uint32_t AddRigidBodyForce(std::uint32_t id, Force* force);
    bool RemoveRigidBodyForce(std::uint32_t id, std::uint32_t forceId);
    bool RemoveAllRigidBodyForces(std::uint32_t id);

    // --- Contact-list callback ------------------------------------------------
    void SetContactListUpdate(ContactListUpdate callback) { contactListUpdate_ = callback; }
    ContactListUpdate GetContactListUpdate() const { return contactListUpdate_; }
    void SetContactListUpdateData(void* userData) { contactListUpdateData_ = userData; }
    void* GetContactListUpdateData() const { return contactListUpdateData_; }

    // --- Passes -----------------------------------------------------------------
    // Steps are clamped to the maximum step; a step of 0 moves nothing.
    void Update(float dt);
    void PostCollisionUpdate(float dt);
    // Releases every body, joint and contact; new ids start again at 1. The
    // ground body, solver settings and process-wide values stay.
    void Reset();

    // --- Settings -------------------------------------------------------------
    // Ignored when exactly 0.
    void SetScale(float scale);
    // Sweeps per solve; values below 10 become 10, above 10,000 become
    // 10,000.
    void SetAccuracy(std::uint32_t iterations);
    std::uint32_t GetAccuracy() const { return solver_.GetAccuracy(); }
    ConstraintSolver& GetSolver() { return solver_; }
    const ConstraintSolver& GetSolver() const { return solver_; }
    // Bounds on contacts carried over into a pass: in total, and for each
    // new contact.
    std::uint32_t GetContactLimit() const { return contactLimit_; }
    std::uint32_t GetPerContactLimit() const { return perContactLimit_; }

    // The process-wide values.
    static float GetScale();
    static float GetEpsilon();
    static float GetPlusInfinity();
    static float GetSimulationStep();
    static float GetSimulationInverseStep();
    static float GetMaximumSimulationStep();
    // Stored only when greater than 0.
    static void SetMaximumSimulationStep(float step);
    // The static body of the engine constructed or read last.
    static RigidBody* GetStaticBody();

    // Record: u32 245; the ground body; u32 n and the free ids from the one
    // reused next to the oldest; u32 m and the m slots (an empty slot is an
    // absent object); the step bodies; the joints; the solver settings; u32
    // contact limit, u32 per-contact limit; f32 plus infinity, step, inverse
    // step, maximum step, scale, epsilon. Contacts are not stored.
    void Write(Core::File& file) const override;
    // Meant for a fresh or reset engine: the ground body, slots and
    // process-wide values are replaced; free ids, step bodies and joints are
    // appended. A record that runs short or breaks the engine's invariants
    // fails the archive and changes nothing.
    void Read(Core::File& file) override;

private:
    void ClampStep(float dt);
    RigidBody* BodyOrGround(std::uint32_t id) const;
    RigidBody* FindBody(std::uint32_t id) const;
    // Runs `action` on the body with `id`; false, and nothing done, for an
    // id that names no body.
    template <class Action> bool WithBody(std::uint32_t id, Action&& action) const
    {
        RigidBody* body = FindBody(id);
        if (body == nullptr)
        {
            return false;
        }
        action(*body);
        return true;
    }
    void BuildConstraintList(bool postCollision);
    void BuildStepBodies();
    // Counts rows, prepares the solver, fills every constraint's rows and
    // attaches the accumulators.
    void AssembleRows();
    // Holds each step body that the last solve spins past the spin limit at
    // the limit; true when it held one not held before in this pass.
    bool HoldSpinsPastLimit(float step);
    void KeepPreviousContacts();
    // The same by walking every last-pass contact for each new one.
    void KeepPreviousContactsInOrder();
    // With warm start on: each constraint's rows begin the solve from the
    // multipliers it kept from its last solve in this phase; after the solve
    // it keeps the new ones.
    void SeedMultipliers();
    // With warm start on: hands each new contact the multipliers of the
    // previous contact that stands for the same touch.
    void SeedNewContacts();
    void AddActiveJoints();
    // Moves every step body by its accumulator x step^2 and rebuilds its
    // transform (no callback); remembers it for the pass's callback.
    void ApplyCorrections();
    // Rounds of position correction over every active joint, each filled
    // from the placement the last one left.
    void CloseJoints();
    void KeepMultipliers();
    void DetachStepBodies();

    ContactListUpdate contactListUpdate_ = nullptr;
    void* contactListUpdateData_ = nullptr;
    Core::RefPtr<RigidBody> ground_;
    std::vector<Core::RefPtr<RigidBody>> bodies_;
    std::deque<std::uint32_t> freeIds_;
    std::vector<Core::RefPtr<RigidBody>> stepBodies_;
    std::vector<Core::RefPtr<Joint>> joints_;
    std::vector<Core::RefPtr<Contact>> contacts_;
    std::vector<Core::RefPtr<Contact>> previousContacts_;
    // Constraints of the current pass; the joint and contact lists hold them.
    std::vector<Joint*> constraints_;
    std::vector<Core::RefPtr<Contact>> keptContacts_;
    // First solver row of each constraint in the current pass.
    std::vector<std::uint32_t> firstRows_;
    ConstraintSolver solver_;
    std::uint32_t contactLimit_ = DefaultContactLimit;
    std::uint32_t perContactLimit_ = DefaultPerContactLimit;
    std::uint32_t passStamp_ = 0;
    // Step bodies held at the spin limit in this pass, with the angular
    // acceleration that takes them there within the step.
    struct HeldSpin
    {
        std::uint32_t body;
        float acceleration;
    };
    std::vector<HeldSpin> heldSpins_;
    // Bodies touched by the post-collision pass's contact constraint list.
    std::vector<RigidBody*> contactBodies_;
    // Bodies moved by this position-correction pass, in the order first moved.
    std::vector<Core::RefPtr<RigidBody>> correctedBodies_;
    // Last pass's contacts by body pair, for seeding new contacts: grouped
    // by body 1, within a group by body 2, then in contact order.
    struct SeedEntry
    {
        const RigidBody* body2;
        std::uint32_t index;
    };
    std::vector<SeedEntry> seedEntries_;
    // Per group: its body 1, and its first entry (one more for the end).
    std::vector<const RigidBody*> seedBodies_;
    std::vector<std::uint32_t> seedStarts_;
    // Per last-pass contact: its group; per group: the next entry to fill.
    std::vector<std::uint32_t> seedGroupOf_;
    std::vector<std::uint32_t> seedCursors_;
    // Last pass's contacts by body, for keeping them: the bodies (indexed by
    // their keep group), each contact's two groups, and per group and side
    // (body 1, body 2) a list of contacts in order, [begin, end) in entries.
    std::vector<const RigidBody*> keepBodies_;
    std::vector<std::uint32_t> keepSides_;
    std::vector<std::uint32_t> keepBegins_;
    std::vector<std::uint32_t> keepEnds_;
    std::vector<std::uint32_t> keepEntries_;
    // The contact pass's step bodies while the joint rounds use the list.
    std::vector<Core::RefPtr<RigidBody>> savedStepBodies_;
};

} // namespace Physics2D

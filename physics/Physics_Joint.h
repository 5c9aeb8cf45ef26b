#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "physics/Physics_ConstraintSolver.h"
#include "physics/Physics_RigidBody.h"

#include <cstdint>

namespace Physics2D
{

class PhysicsEngine;

// A constraint between body 1 and body 2 that contributes rows to the
// engine's solver each pass. The engine binds the bodies (the static ground
// body stands in for a missing one), asks for the row count, then hands the
// joint the window of rows it counted to fill. Kinds: the nail family (nail,
// hinge, spring), slider, fixed, angular motor, and the contact.
class Joint : public Core::Object
{
public:
    static constexpr const char* ScriptTypeName = "Joint";

    enum KindCode : std::uint32_t
    {
        KindGeneric = 0,
        KindFixed = 5,
        KindContact = 7,
    };

    // On while the engine corrects positions after the collision step; the
    // solver sets it, row fillers read it, and every joint stores it (every
    // joint read overwrites it).
    static inline std::uint8_t PositionCorrectionPhase = 0;

    bool IsActive() const { return active_; }
    void SetActive(bool active) { active_ = active; }
    RigidBody* GetBody1() const { return body1_.Get(); }
    RigidBody* GetBody2() const { return body2_.Get(); }
    // The engine binds the bodies when the joint is added or a body removed.
    void SetBody1(RigidBody* body) { body1_ = body; }
    void SetBody2(RigidBody* body) { body2_ = body; }

    std::uint32_t GetKindCode() const { return kindCode_; }
    bool IsContact() const { return contactFlag_ != 0; }
    // The rows the joint fills in a normal pass, and those it counted last.
    std::uint32_t GetMaximumRows() const { return maximumRows_; }
    std::uint32_t GetRows() const { return rows_; }
    // Scales position and angle drift into row targets (times the inverse
    // step): 0 leaves drift alone, 1 removes it within one step. Clamped to
    // [0, 1].
    float GetCorrectionFactor() const { return correctionFactor_; }
    void SetCorrectionFactor(float factor);

    // Takes the bodies' current placement as the joint's rest state. Called
    // when the joint is added, after one of its bodies is re-bound, and for
    // contacts when they are carried over to the next pass.
    virtual void Prepare() {}
    // Sets and answers the rows of this pass: the maximum rows, in the base.
    virtual std::uint32_t CountRows();
    // Writes the counted rows (never more) through the window.
    virtual void FillRows(const RowWindow& window) = 0;

    // The multipliers of this joint's rows in the last solve of each phase
    // (0 velocity, 1 position correction), for warm starting: rows are
    // matched to their constraint, not to a place in the solver's storage,
    // which moves whenever the constraint list changes. Not stored.
    static constexpr std::uint32_t KeptMultipliers = 3;
    float* GetKeptMultipliers(bool positionCorrection)
    {
        return keptMultipliers_[positionCorrection ? 1 : 0];
    }

    // Record: u32 kind code, u32 maximum rows, u32 rows, u8 active, f32
    // correction factor, u8 position-correction phase, u8 contact flag,
    // object body 1, object body 2. The kind's own fields follow.
    void Write(Core::File& file) const override;
    void Read(Core::File& file) override;

protected:
    Joint(std::uint32_t kindCode, std::uint32_t maximumRows, bool contact);
    Joint(const Joint& other);

    // The most rows the kind can fill; a stored joint asking for more is
    // refused.
    virtual std::uint32_t GetRowCapacity() const = 0;

    struct BaseRecord
    {
        std::uint32_t kindCode = 0;
        std::uint32_t maximumRows = 0;
        std::uint32_t rows = 0;
        bool active = true;
        float correctionFactor = 0.0f;
        std::uint8_t positionCorrectionPhase = 0;
        std::uint8_t contactFlag = 0;
        Core::RefPtr<RigidBody> body1;
        Core::RefPtr<RigidBody> body2;
    };
    // Reads the base record, or fails the archive when it runs short or
    // breaks the kind's row capacity. Kinds read their own fields after it
    // and commit both only when everything was read.
    [[nodiscard]] bool ReadBase(Core::File& file, BaseRecord& record) const;
    void CommitBase(Core::File& file, const BaseRecord& record);

    // Both bound bodies are not the process-wide static body.
    bool NeitherIsStatic() const;

    std::uint32_t kindCode_ = KindGeneric;
    std::uint32_t maximumRows_ = 0;
    std::uint32_t rows_ = 0;
    bool active_ = true;
    float correctionFactor_ = 0.0f;
    std::uint8_t contactFlag_ = 0;
    Core::RefPtr<RigidBody> body1_;
    Core::RefPtr<RigidBody> body2_;
    float keptMultipliers_[2][KeptMultipliers] = {};

private:
    friend class PhysicsEngine;
    // Engine scratch: the pass in which the joint last joined a constraint
    // list. Not stored, not copied.
    std::uint32_t listStamp_ = 0;
};

} // namespace Physics2D

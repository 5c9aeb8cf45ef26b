#pragma once

#include "collision/Collision_ContactRecords.h"
#include "collision/Collision_SweptFrame.h"

#include <cstdint>

// How the swept and overlap members of DynamicObject write what they find
// into the result blocks.
namespace Collision2D::Swept
{

enum class ShapeKind : std::uint8_t
{
    Segment,
    Circle,
};

// Writes one contact into a circle or segment record: its points and
// normals, the other shape's user id, this shape's user id at every point
// and the marker in every other own-shape slot.
void WriteShapeContact(ShapeContact& record, const FeatureContact& contact, std::uint32_t otherShapeUserId,
                       ShapeKind myKind, std::uint32_t myShapeUserId);

// The records one call of a pair test writes into this object's current
// DGEO_C, under the fraction rules of a sub-step: a later contact than the
// fraction is not written; an earlier one lowers the fraction and discards
// every record written before in the sub-step; one of the same moment is
// appended. The inner counts are always counts: a record is written at the
// next free index and counted at once, so no pooled record is ever skipped.
class DynamicRecorder
{
public:
    DynamicRecorder(DGEO_C& own, float& fraction) : own_(own), fraction_(fraction) {}

    // A contact of this object's shape (myKind, myShapeUserId) with the
    // other object's shape (otherKind, otherShapeUserId).
    void Offer(const FeatureContact& contact, ShapeKind otherKind, std::uint32_t otherShapeUserId,
               ShapeKind myKind, std::uint32_t myShapeUserId);

    // Any contact, written or not.
    bool Found() const { return found_; }
    // A record of this call.
    bool Wrote() const { return wrote_; }

    // Copies the last record this call wrote into the other object's current
    // DGEO_C, in the pool of this object's shape kind: the same points and
    // penetration, the normals negated, the user ids exchanged; then counts
    // it there. Nothing when the call wrote no record.
    void Mirror(DGEO_C& other) const;

private:
    DGEO_C& own_;
    float& fraction_;
    bool found_ = false;
    bool wrote_ = false;
    // The last record written, by pool and index: a pool may grow and move
    // its records.
    ShapeKind lastOtherKind_ = ShapeKind::Segment;
    ShapeKind lastMyKind_ = ShapeKind::Segment;
    std::int32_t lastIndex_ = 0;
    std::uint32_t lastMyShapeUserId_ = 0;
};

// The one record a test against a static shape writes for a whole call:
// points of an earlier moment replace those held, points of the same moment
// are added up to four (a fifth overwrites the fourth), later ones are
// dropped. The fraction starts at NoContact once for the call.
class StaticRecorder
{
public:
    explicit StaticRecorder(ShapeContact& record) : record_(record) {}

    void Offer(const FeatureContact& contact, ShapeKind myKind, std::uint32_t myShapeUserId);

    bool Found() const { return found_; }
    float Fraction() const { return fraction_; }

private:
    ShapeContact& record_;
    float fraction_ = NoContact;
    bool found_ = false;
};

// Empties a record before a call starts filling it: no points, every
// own-shape user-id slot at the marker.
void ClearShapeContact(ShapeContact& record);

// Adds points of an overlap to a record: the count becomes
// min(count + added, 4) and the new points fill the last places.
void AddOverlapPoints(ShapeContact& record, int added, const Math::Vector2D* points,
                      const Math::Vector2D& normal, ShapeKind myKind, std::uint32_t myShapeUserId);

} // namespace Collision2D::Swept

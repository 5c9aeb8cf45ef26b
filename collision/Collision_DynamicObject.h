#pragma once

#include "collision/Collision_CollisionResults.h"
#include "collision/Collision_CollisionTests.h"
#include "collision/Collision_GeometricCollision.h"
#include "collision/Collision_MainCollisionObject.h"
#include "collision/Collision_ZibRect.h"
#include "math/Math_Circle2D.h"
#include "math/Math_LineSegment2D.h"
#include "math/Math_Vector2D.h"

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

namespace Core
{
class File;
}

namespace Collision2D
{

class CollisionActor;
class CollisionFrame;

// The collision body of one moving game object. Its owner sets the pose
// (position and orientation, degrees) between steps and reads the result
// block after them. The shapes come from a collision actor: the animation
// index, frame index and flip flags select a frame, whose rectangle and
// shapes in the matching flip variant the step preparation places in the
// world at the start (old pose) and at the end (current pose) of the step.
//
// World placement of a frame point p at pose (P, theta), with the offset o:
//   W(P, theta)(p) = (P + o) + R(theta) (p - o),
// so the shapes turn about the owner's position P + o. Rectangles turn
// about P itself; both agree for objects without an offset.
//
// Motion within a step, t in [0, 1] (0 old pose, 1 current pose):
//   pose(t) = (old position + displacement t, old orientation + angular change t).
class DynamicObject final : public MainCollisionObject
{
public:
    static constexpr const char* ScriptTypeName = "DynamicObject";
    // CanCollid has an entry per z; dynamic objects never carry z 255, and
    // entry 255 (static shapes and tile maps may use that z) stays false.
    static constexpr int CanCollidEntries = 256;
    static constexpr int ArchivedCanCollidEntries = 255;
    static constexpr std::uint8_t MaximumZ = 254;
    static constexpr std::int32_t InitialSubSteps = 10;
    static constexpr std::int32_t InitialCandidateCapacity = 5;
    static constexpr std::int32_t CandidateGrowthStep = 5;

    // The cells of the grid that the swept rectangle covers this step.
    struct CellRange
    {
        std::int32_t firstColumn = 0;
        std::int32_t lastColumn = 0;
        std::int32_t firstRow = 0;
        std::int32_t lastRow = 0;
    };

    DynamicObject();
    // Kind and owner word copied, slot 0; filter, candidates, motion, poses,
    // flags, cell range, type, thickness and tile-map mode copied; a fresh
    // result block; the other's actor attached at animation 0, frame 0, then
    // its animation, frame and flip selectors copied, so the copy shows the
    // copied frame from its next step on.
    DynamicObject(const DynamicObject& other);
    DynamicObject& operator=(const DynamicObject&) = delete;
    ~DynamicObject() override;

    void PushToScript(lua_State* state) override;

    // --- Identity and filter ------------------------------------------------

    void SetSlot(std::int32_t slot) { slot_ = slot; }
    std::int32_t GetSlot() const { return slot_; }

    // 255 is stored as 254.
    void SetZCollision(std::uint8_t z) { z_ = z == 255 ? MaximumZ : z; }
    std::uint8_t GetZ_Collision() const { return z_; }
    // A script number as a z: min(low 8 bits of trunc(n), 254).
    static std::uint8_t ZCollisionFromScript(double n);

    // Whether this object collides with objects and shapes of z. Entry 255
    // cannot be set.
    void SetCanCollid(std::uint8_t z, bool flag)
    {
        if (z < ArchivedCanCollidEntries)
        {
            canCollid_[z] = flag;
        }
    }
    bool GetCanCollid(std::uint8_t z) const { return canCollid_[z]; }

    // 0 tests the rectangles only, 1 the shapes; other values test nothing.
    void SetCollisionType(std::uint8_t type) { collisionType_ = type; }
    std::uint8_t GetCollisionType() const { return collisionType_; }
    // Tolerance of the swept shape tests for contacts that already penetrate.
    void SetCollisionThickness(float thickness) { thickness_ = thickness; }
    float GetCollisionThickness() const { return thickness_; }
    // Tested even in steps in which it did not move.
    void SetUpdateOnIdle(bool flag) { updateOnIdle_ = flag; }
    bool GetUpdateOnIdle() const { return updateOnIdle_; }
    // Tile-map test mode: rectangle when set (the default), hotspots when not.
    void SetBoundingRectangleCheckingTileMap(bool flag) { rectangleCheckingTileMap_ = flag; }
    bool GetBoundingRectangleCheckingTileMap() const { return rectangleCheckingTileMap_; }

    // --- Pose -----------------------------------------------------------------

    // The owner's position is the collision position plus the offset.
    void SetPosition(const Math::Vector2D& point) { position_ = point - offset_; }
    void SetOldPosition(const Math::Vector2D& point) { oldPosition_ = point - offset_; }
    // Keeps the owner's position (position + offset) where it is; the old
    // position is not changed.
    void SetOffset(const Math::Vector2D& offset);
    void SetOrientation(float degrees) { orientation_ = degrees; }
    void SetOldOrientation(float degrees) { oldOrientation_ = degrees; }

    const Math::Vector2D& GetPosition() const { return position_; }
    const Math::Vector2D& GetOldPosition() const { return oldPosition_; }
    const Math::Vector2D& GetOffset() const { return offset_; }
    float GetOrientation() const { return orientation_; }
    float GetOldOrientation() const { return oldOrientation_; }

    // The position at the sub-step under test (rectangle pair test).
    void SetInterpolatedPosition(const Math::Vector2D& point) { interpolatedPosition_ = point; }
    const Math::Vector2D& GetInterpolatedPosition() const { return interpolatedPosition_; }

    // A pose copied and archived only.
    void SetSparePose(const Math::Vector2D& position, float orientation)
    {
        sparePosition_ = position;
        spareOrientation_ = orientation;
    }
    const Math::Vector2D& GetSparePosition() const { return sparePosition_; }
    float GetSpareOrientation() const { return spareOrientation_; }

    // --- Motion of the step (set by PreUpdate) ---------------------------------

    bool HasMoved() const { return moved_; }
    const Math::Vector2D& GetDisplacement() const { return displacement_; }
    float GetAngularChange() const { return angularChange_; }
    const Math::Vector2D& GetStepDisplacement() const { return stepDisplacement_; }
    float GetStepAngularChange() const { return stepAngularChange_; }
    std::int32_t GetSubSteps() const { return subSteps_; }

    // (old position + displacement t) + R(old orientation + angular change t) p.
    Math::Vector2D TransformAtFraction(const Math::Vector2D& p, float t) const;
    // displacement t + R(angular change t) v: the motion from the old pose
    // to the pose at t, applied to a vector from the origin.
    Math::Vector2D TransformByMotionAtFraction(const Math::Vector2D& v, float t) const;
    // -displacement t + R(-angular change t) v: the same motion undone.
    Math::Vector2D InverseTransformByMotionAtFraction(const Math::Vector2D& v, float t) const;
    // The contact pose at t: TransformAtFraction of (0, 0) and the
    // orientation old orientation + angular change t.
    Math::Vector2D PositionAtFraction(float t) const { return oldPosition_ + displacement_ * t; }
    float OrientationAtFraction(float t) const { return oldOrientation_ + angularChange_ * t; }

    // --- Shapes ------------------------------------------------------------------

    // Attaches an actor: selects animation and frame, sets the old, current,
    // swept and sub-step rectangles to the frame's NoFlip rectangle, and
    // appends to the world buffers one entry per shape of the actor's
    // largest frame (per kind), so steps never allocate. Called once, right
    // after construction (or after Read); it does not empty the buffers.
    void AddCollisionData(CollisionActor* actor, std::uint32_t animation, std::uint32_t frame);
    // Releases the buffers, then attaches the actor as above.
    void SetCollisionActor(CollisionActor* actor, std::uint32_t animation, std::uint32_t frame);
    // The selectors the next step uses to pick the frame and its variant.
    void SetCurrentCollisionFrame(std::uint32_t animation, std::uint32_t frame, bool horizontalFlip,
                                  bool verticalFlip);
    // The frame count of each animation of the sprite this object follows.
    // With it, an actor holding one animation with all the sprite's frames
    // end to end is addressed by the flat index (CollisionActor::
    // FindSpriteFrame); without it, (animation, frame) address the actor
    // directly. Not archived, like the actor.
    void SetSpriteFrameCounts(std::vector<std::uint32_t> frameCounts)
    {
        spriteFrameCounts_ = std::move(frameCounts);
    }
    const std::vector<std::uint32_t>& GetSpriteFrameCounts() const { return spriteFrameCounts_; }

    CollisionActor* GetCollisionActor() const { return actor_; }
    // The frame of the last step or attachment; null without an actor or
    // when the selectors name no frame (such an object has no shapes).
    CollisionFrame* GetCurrentFrame() const { return frame_; }
    bool HasFrame() const { return frame_ != nullptr; }
    std::uint32_t GetAnimationIndex() const { return animationIndex_; }
    std::uint32_t GetFrameIndex() const { return frameIndex_; }
    bool GetHorizontalFlip() const { return horizontalFlip_; }
    bool GetVerticalFlip() const { return verticalFlip_; }
    FlipVariant GetFlipVariant() const { return SelectFlipVariant(horizontalFlip_, verticalFlip_); }

    // Shapes of the current frame in the selected variant, in the object's
    // own coordinates, with the frame's shape records (their user ids). The
    // counts are the current frame's (0 without a frame); the world buffers
    // below hold valid entries up to the same counts.
    std::uint32_t GetFrameLineSegmentCount() const;
    std::uint32_t GetFrameCircleCount() const;
    std::uint32_t GetFrameHotSpotCount() const;
    const Math::LineSegment2D& GetLocalLineSegment(std::uint32_t index) const
    {
        return *selectedSegments_[index];
    }
    const Math::Circle2D& GetLocalCircle(std::uint32_t index) const { return *selectedCircles_[index]; }
    const Math::Vector2D& GetLocalHotSpot(std::uint32_t index) const { return *selectedHotSpots_[index]; }
    const DynamicCollisionLineSegment& GetFrameLineSegment(std::uint32_t index) const;
    const DynamicCollisionCircle& GetFrameCircle(std::uint32_t index) const;

    // World shapes at the old pose and at the current pose, and the
    // sub-step buffers the swept tests write (shapes placed at the end of
    // the sub-step under test). Buffers are sized for the actor's largest
    // frame; the current frame uses the leading entries.
    const std::vector<Math::LineSegment2D>& GetOldLineSegments() const { return oldSegments_; }
    const std::vector<Math::LineSegment2D>& GetCurrentLineSegments() const { return currentSegments_; }
    std::vector<Math::LineSegment2D>& SubStepLineSegments() { return subStepSegments_; }
    const std::vector<Math::Circle2D>& GetOldCircles() const { return oldCircles_; }
    const std::vector<Math::Circle2D>& GetCurrentCircles() const { return currentCircles_; }
    std::vector<Math::Circle2D>& SubStepCircles() { return subStepCircles_; }
    const std::vector<Math::Vector2D>& GetOldHotSpots() const { return oldHotSpots_; }
    const std::vector<Math::Vector2D>& GetCurrentHotSpots() const { return currentHotSpots_; }
    std::vector<Math::Vector2D>& SubStepHotSpots() { return subStepHotSpots_; }
    // The current-pose hotspot of that index; (0, 0) when the index is not
    // below the current frame's hotspot count.
    Math::Vector2D GetCurrentHotSpot(std::uint32_t index) const;
    // Where the origin (local point (0, 0)) lies at the end of the sub-step
    // under test; written by the swept tests.
    Math::Vector2D& SubStepEndOrigin() { return subStepEndOrigin_; }

    // --- Rectangles ------------------------------------------------------------

    // The current frame's rectangle in the selected variant (local). The
    // collision engine may set it; the next step replaces it.
    const ZibRect& GetFrameRectangle() const { return frameRectangle_; }
    void SetFrameRectangle(const ZibRect& rectangle) { frameRectangle_ = rectangle; }
    // World rectangles of this step: at the old pose, at the current pose,
    // and their union (the swept rectangle).
    const ZibRect& GetOldPoseRectangle() const { return oldPoseRectangle_; }
    ZibRect GetCurrentBoundingRectangle() const { return currentRectangle_; }
    const ZibRect& GetSweptRectangle() const { return sweptRectangle_; }
    // Working rectangle of the rectangle pair test.
    const ZibRect& GetSubStepRectangle() const { return subStepRectangle_; }
    void SetSubStepRectangle(const ZibRect& rectangle) { subStepRectangle_ = rectangle; }

    // --- Step bookkeeping --------------------------------------------------------

    void SetCellRange(const CellRange& range) { cellRange_ = range; }
    const CellRange& GetCellRange() const { return cellRange_; }

    // Appends a slot unless it is listed already (a pair met in several
    // cells is tested once); the array grows by 5 when it runs full.
    void AddCandidate(std::uint32_t slot);
    std::int32_t GetCandidateCount() const { return candidateCount_; }
    std::int32_t GetCandidateCapacity() const { return static_cast<std::int32_t>(candidates_.size()); }
    std::uint32_t GetCandidate(std::int32_t index) const
    {
        return candidates_[static_cast<std::size_t>(index)];
    }

    CollisionResults& GetCollisionResults() { return results_; }
    const CollisionResults& GetCollisionResults() const { return results_; }

    // The step preparation. Selects the frame; without one (no actor, or
    // selectors out of range) it answers false and the step leaves the
    // object out: without an actor the result block keeps its contents,
    // with one it is reset. Otherwise it resets the result block, decides
    // whether the object moved (exact comparison of position and
    // orientation with the old ones), computes the displacement, angular
    // change and sub-step count trunc(max(|d| + 0.5, |angle| + 0.5)) clamped
    // to 1 .. the maximum interpolation value, the per-sub-step motion, the
    // flip variant and selected shapes, the old, current and swept
    // rectangles, the world shapes at both poses, and empties the
    // candidates; then answers true.
    bool PreUpdate();
    // The end of a step: the old pose becomes the current one.
    void EndStep();
    // The same at any time, with no motion left and the current rectangle
    // recomputed at the current pose.
    void ResetOldPose();

    // --- Archive ------------------------------------------------------------------

    // The object's state without its actor and owner word (their addresses
    // belong to this run), its offset and its sprite frame counts: kind, selectors, the maximum interpolation
    // value, slot, z, poses, motion, flags, selection list lengths, frame rectangle, sub-steps, 255 CanCollid
    // bytes, cell range, candidates, type, thickness, result block, tile-map mode. Read validates every
    // value, restores the maximum interpolation value, and commits only a
    // complete object: afterwards it has no actor, frame or world buffers
    // until its owner attaches the actor again with AddCollisionData.
    void Write(Core::File& file) const;
    [[nodiscard]] bool Read(Core::File& file);

    // --- Pair tests (Collision_PairTests.cpp) ---------------------------------------
    // Run by the layer step for this receiver and one candidate of its layer;
    // a contact adds one record to each object's result block, naming the
    // other object by its id and owner word.

    // Shapes of two objects of collision type 1. This object is the
    // receiver the broad phase chose: it moved, or neither moved and it has
    // UpdateOnIdle set. Moving objects are tested sub-step by sub-step (N =
    // the larger sub-step count when both move) up to the first sub-step
    // with a contact, whose time t = (k - 1 + fraction) / N gives the poses
    // the records report; idle objects are tested once where they stand.
    void TestPair(DynamicObject& candidate, std::uint8_t layerIndex, const CollisionTestTable& tests);
    void TestPair(DynamicObject& candidate, std::uint8_t layerIndex)
    {
        TestPair(candidate, layerIndex, DefaultCollisionTests());
    }
    // Rectangles: both objects' rectangles are carried from their old poses
    // through N = max(sub-steps) sub-steps; the first sub-step whose
    // rectangles overlap by at least one unit along both axes is reported,
    // with the overlap and the poses at the end of that sub-step.
    void TestRectanglePair(DynamicObject& candidate, std::uint8_t layerIndex);

    // --- Swept and overlap tests ---------------------------------------------------
    // Declared here, defined with the swept tests (Collision_SweptOneMoving.cpp,
    // Collision_SweptBothMoving.cpp, Collision_SweptStatic.cpp,
    // Collision_Overlap.cpp). This object is the receiver; `dt` is 1/N for N
    // sub-steps, `k` the sub-step number (1..N); a fraction is in/out, set to
    // 2.0 (no contact) by the caller before each sub-step.

    // One object moving, the candidate held at its pose: true on contact.
    bool SweptSegmentsSegmentsOneMoving(DynamicObject& candidate, std::uint8_t layerIndex, float dt, float k,
                                        float& fraction);
    bool SweptSegmentsCirclesOneMoving(DynamicObject& candidate, std::uint8_t layerIndex, float dt, float k,
                                       float& fraction);
    bool SweptCirclesSegmentsOneMoving(DynamicObject& candidate, std::uint8_t layerIndex, float dt, float k,
                                       float& fraction);
    bool SweptCirclesCirclesOneMoving(DynamicObject& candidate, std::uint8_t layerIndex, float dt, float k,
                                      float& fraction);

    // Both objects moving: a fraction and a hit flag per object (the caller
    // clears the flags before the call); the segment members also get the
    // pair's sub-step count N.
    void SweptSegmentsSegments(DynamicObject& other, std::uint8_t layerIndex, float dt, float k,
                               float& fraction, float& otherFraction, std::int32_t& subSteps, bool& hit,
                               bool& otherHit);
    void SweptSegmentsCircles(DynamicObject& other, std::uint8_t layerIndex, float dt, float k,
                              float& fraction, float& otherFraction, std::int32_t& subSteps, bool& hit,
                              bool& otherHit);
    void SweptCirclesCircles(DynamicObject& other, std::uint8_t layerIndex, float dt, float k,
                             float& fraction, float& otherFraction, bool& hit, bool& otherHit);

    // Idle objects at their current poses: true when they touch.
    bool OverlapSegmentsSegments(DynamicObject& candidate, std::uint8_t layerIndex);
    bool OverlapSegmentsCircles(DynamicObject& candidate, std::uint8_t layerIndex);
    bool OverlapCirclesSegments(DynamicObject& candidate, std::uint8_t layerIndex);
    bool OverlapCirclesCircles(DynamicObject& candidate, std::uint8_t layerIndex);

    // Against one static shape: fill the record at the current static count
    // of this object's result block and advance it on contact.
    void SweptAgainstStaticCircle(const StaticCollisionCircle& circle, std::uint8_t layerIndex);
    void SweptAgainstStaticLineSegment(const StaticCollisionLineSegment& segment, std::uint8_t layerIndex);
    void OverlapStaticCircle(const StaticCollisionCircle& circle, std::uint8_t layerIndex);
    void OverlapStaticLineSegment(const StaticCollisionLineSegment& segment, std::uint8_t layerIndex);

private:
    // Points each selection list's leading entries at the current frame's
    // shapes in the selected variant, lengthening (never shortening) it.
    void SelectShapes(FlipVariant variant);
    // Makes sure every world buffer holds the current frame's shapes.
    void ReserveWorldShapes();
    void PlaceWorldShapes();
    void ClearWorldShapes();
    // Copies every archived field of `read` into this object.
    void TakeArchivedState(DynamicObject& read);

    std::int32_t slot_ = 0;
    std::uint8_t z_ = 0;
    Math::Vector2D oldPosition_;
    Math::Vector2D position_;
    Math::Vector2D interpolatedPosition_;
    Math::Vector2D offset_;
    float oldOrientation_ = 0.0f;
    float orientation_ = 0.0f;
    Math::Vector2D sparePosition_;
    float spareOrientation_ = 0.0f;
    Math::Vector2D displacement_;
    float angularChange_ = 0.0f;
    Math::Vector2D stepDisplacement_;
    float stepAngularChange_ = 0.0f;
    bool updateOnIdle_ = false;

    CollisionActor* actor_ = nullptr; // not owned
    CollisionFrame* frame_ = nullptr; // not owned
    std::vector<std::uint32_t> spriteFrameCounts_;
    std::vector<const Math::LineSegment2D*> selectedSegments_;
    std::vector<const Math::Circle2D*> selectedCircles_;
    std::vector<const Math::Vector2D*> selectedHotSpots_;
    ZibRect frameRectangle_;
    std::uint32_t animationIndex_ = 0;
    std::uint32_t frameIndex_ = 0;
    bool horizontalFlip_ = false;
    bool verticalFlip_ = false;

    ZibRect oldPoseRectangle_{0, 0, 1, 1};
    ZibRect currentRectangle_{0, 0, 1, 1};
    ZibRect sweptRectangle_{0, 0, 1, 1};
    ZibRect subStepRectangle_{0, 0, 1, 1};

    std::vector<Math::LineSegment2D> oldSegments_;
    std::vector<Math::LineSegment2D> currentSegments_;
    std::vector<Math::LineSegment2D> subStepSegments_;
    std::vector<Math::Circle2D> oldCircles_;
    std::vector<Math::Circle2D> currentCircles_;
    std::vector<Math::Circle2D> subStepCircles_;
    std::vector<Math::Vector2D> oldHotSpots_;
    std::vector<Math::Vector2D> currentHotSpots_;
    std::vector<Math::Vector2D> subStepHotSpots_;
    Math::Vector2D subStepEndOrigin_;

    bool moved_ = false;
    std::int32_t subSteps_ = InitialSubSteps;
    std::array<bool, CanCollidEntries> canCollid_{};
    CellRange cellRange_;
    std::vector<std::uint32_t> candidates_; // size == capacity
    std::int32_t candidateCount_ = 0;
    std::uint8_t collisionType_ = 0;
    float thickness_ = 0.0f;
    CollisionResults results_;
    bool rectangleCheckingTileMap_ = true;
};

} // namespace Collision2D

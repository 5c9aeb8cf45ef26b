#include "collision/Collision_DynamicObject.h"

#include "collision/Collision_Archive.h"
#include "collision/Collision_CollisionActor.h"
#include "collision/Collision_Id.h"
#include "collision/Collision_Rotation.h"
#include "collision/Collision_Settings.h"
#include "core/Core_File.h"
#include "core/Core_ScriptBridge.h"

#include <algorithm>
#include <cmath>

namespace Collision2D
{

namespace
{

// trunc(max(|d| + 0.5, |angle| + 0.5)) clamped to 1 .. the maximum
// interpolation value; a non-finite motion takes the maximum.
std::int32_t SubStepCount(float distance, float angle)
{
    const float needed = std::max(distance + 0.5f, std::fabs(angle) + 0.5f);
    const std::int32_t maximum = GetMaximumInterpolationValue();
    if (!(needed < static_cast<float>(maximum)))
    {
        return maximum;
    }
    return std::max<std::int32_t>(static_cast<std::int32_t>(needed), 1);
}

// W(P, theta)(p) = (P + o) + R(theta)(p - o) for one pose.
class WorldPlacement
{
public:
    WorldPlacement(const Math::Vector2D& position, float degrees, const Math::Vector2D& offset)
        : pivot_(position + offset), offset_(offset), rotation_(degrees)
    {
    }

    Math::Vector2D operator()(const Math::Vector2D& p) const { return pivot_ + rotation_.Apply(p - offset_); }

private:
    Math::Vector2D pivot_;
    Math::Vector2D offset_;
    Rotation rotation_;
};

template <class Shape> void GrowTo(std::vector<Shape>& buffer, std::size_t count)
{
    if (buffer.size() < count)
    {
        buffer.resize(count);
    }
}

} // namespace

DynamicObject::DynamicObject()
    : MainCollisionObject(CollisionKind::DynamicObject), candidates_(InitialCandidateCapacity)
{
}

DynamicObject::DynamicObject(const DynamicObject& other)
    : MainCollisionObject(other), z_(other.z_), oldPosition_(other.oldPosition_), position_(other.position_),
      interpolatedPosition_(other.interpolatedPosition_), offset_(other.offset_),
      oldOrientation_(other.oldOrientation_), orientation_(other.orientation_),
      sparePosition_(other.sparePosition_), spareOrientation_(other.spareOrientation_),
      displacement_(other.displacement_), angularChange_(other.angularChange_),
      stepDisplacement_(other.stepDisplacement_), stepAngularChange_(other.stepAngularChange_),
      updateOnIdle_(other.updateOnIdle_), spriteFrameCounts_(other.spriteFrameCounts_), moved_(other.moved_),
      subSteps_(other.subSteps_), canCollid_(other.canCollid_), cellRange_(other.cellRange_),
      candidates_(other.candidates_), candidateCount_(other.candidateCount_),
      collisionType_(other.collisionType_), thickness_(other.thickness_),
      rectangleCheckingTileMap_(other.rectangleCheckingTileMap_)
{
    AddCollisionData(other.actor_, 0, 0);
    animationIndex_ = other.animationIndex_;
    frameIndex_ = other.frameIndex_;
    horizontalFlip_ = other.horizontalFlip_;
    verticalFlip_ = other.verticalFlip_;
}

DynamicObject::~DynamicObject() = default;

void DynamicObject::PushToScript(lua_State* state)
{
    Core::PushUserdata(state, this, ScriptTypeName);
}

std::uint8_t DynamicObject::ZCollisionFromScript(double n)
{
    return std::min(LowByteOfScriptNumber(n), MaximumZ);
}

void DynamicObject::SetOffset(const Math::Vector2D& offset)
{
    position_ = position_ + offset_ - offset;
    offset_ = offset;
}

Math::Vector2D DynamicObject::TransformAtFraction(const Math::Vector2D& p, float t) const
{
    return (oldPosition_ + displacement_ * t) + Rotate(p, oldOrientation_ + angularChange_ * t);
}

Math::Vector2D DynamicObject::TransformByMotionAtFraction(const Math::Vector2D& v, float t) const
{
    return displacement_ * t + Rotate(v, angularChange_ * t);
}

Math::Vector2D DynamicObject::InverseTransformByMotionAtFraction(const Math::Vector2D& v, float t) const
{
    return -(displacement_ * t) + Rotate(v, -(angularChange_ * t));
}

// --- Shapes ------------------------------------------------------------------------

void DynamicObject::AddCollisionData(CollisionActor* actor, std::uint32_t animation, std::uint32_t frame)
{
    actor_ = actor;
    animationIndex_ = animation;
    frameIndex_ = frame;
    frame_ = actor != nullptr ? actor->FindSpriteFrame(animation, frame, spriteFrameCounts_) : nullptr;
    if (frame_ != nullptr)
    {
        const ZibRect& rectangle = frame_->GetBoundingRectangle(FlipVariant::NoFlip);
        oldPoseRectangle_ = rectangle;
        currentRectangle_ = rectangle;
        sweptRectangle_ = rectangle;
        subStepRectangle_ = rectangle;
    }
    if (actor == nullptr)
    {
        return;
    }

    // The frames with the most shapes of each kind; the first of equal
    // frames wins, and a kind no frame has is skipped.
    const CollisionFrame* mostSegments = nullptr;
    const CollisionFrame* mostCircles = nullptr;
    const CollisionFrame* mostHotSpots = nullptr;
    std::uint32_t segmentCount = 0;
    std::uint32_t circleCount = 0;
    std::uint32_t hotSpotCount = 0;
    for (std::uint32_t a = 0; a < actor->GetAnimationCount(); ++a)
    {
        const CollisionAnimation& animationFrames = *actor->GetAnimation(a);
        for (std::uint32_t f = 0; f < animationFrames.GetFrameCount(); ++f)
        {
            const CollisionFrame* candidate = animationFrames.GetFrame(f);
            if (candidate->GetLineSegmentCount() > segmentCount)
            {
                segmentCount = candidate->GetLineSegmentCount();
                mostSegments = candidate;
            }
            if (candidate->GetCircleCount() > circleCount)
            {
                circleCount = candidate->GetCircleCount();
                mostCircles = candidate;
            }
            if (candidate->GetHotSpotCount() > hotSpotCount)
            {
                hotSpotCount = candidate->GetHotSpotCount();
                mostHotSpots = candidate;
            }
        }
    }
    for (std::uint32_t i = 0; i < segmentCount; ++i)
    {
        const Math::LineSegment2D& segment =
            mostSegments->GetLineSegment(i).GetLineSegment(FlipVariant::NoFlip);
        oldSegments_.push_back(segment);
        currentSegments_.push_back(segment);
        subStepSegments_.push_back(segment);
    }
    for (std::uint32_t i = 0; i < circleCount; ++i)
    {
        const Math::Circle2D& circle = mostCircles->GetCircle(i).GetCircle(FlipVariant::NoFlip);
        oldCircles_.push_back(circle);
        currentCircles_.push_back(circle);
        subStepCircles_.push_back(circle);
    }
    for (std::uint32_t i = 0; i < hotSpotCount; ++i)
    {
        const Math::Vector2D& hotSpot = mostHotSpots->GetHotSpot(i).GetHotSpot(FlipVariant::NoFlip);
        oldHotSpots_.push_back(hotSpot);
        currentHotSpots_.push_back(hotSpot);
        subStepHotSpots_.push_back(hotSpot);
    }
}

void DynamicObject::SetCollisionActor(CollisionActor* actor, std::uint32_t animation, std::uint32_t frame)
{
    ClearWorldShapes();
    AddCollisionData(actor, animation, frame);
}

void DynamicObject::SetCurrentCollisionFrame(std::uint32_t animation, std::uint32_t frame,
                                             bool horizontalFlip, bool verticalFlip)
{
    animationIndex_ = animation;
    frameIndex_ = frame;
    horizontalFlip_ = horizontalFlip;
    verticalFlip_ = verticalFlip;
}

std::uint32_t DynamicObject::GetFrameLineSegmentCount() const
{
    return frame_ != nullptr ? frame_->GetLineSegmentCount() : 0;
}

std::uint32_t DynamicObject::GetFrameCircleCount() const
{
    return frame_ != nullptr ? frame_->GetCircleCount() : 0;
}

std::uint32_t DynamicObject::GetFrameHotSpotCount() const
{
    return frame_ != nullptr ? frame_->GetHotSpotCount() : 0;
}

const DynamicCollisionLineSegment& DynamicObject::GetFrameLineSegment(std::uint32_t index) const
{
    return frame_->GetLineSegment(index);
}

const DynamicCollisionCircle& DynamicObject::GetFrameCircle(std::uint32_t index) const
{
    return frame_->GetCircle(index);
}

Math::Vector2D DynamicObject::GetCurrentHotSpot(std::uint32_t index) const
{
    if (index >= GetFrameHotSpotCount() || index >= currentHotSpots_.size())
    {
        return {};
    }
    return currentHotSpots_[index];
}

void DynamicObject::SelectShapes(FlipVariant variant)
{
    const std::uint32_t segments = frame_->GetLineSegmentCount();
    const std::uint32_t circles = frame_->GetCircleCount();
    const std::uint32_t hotSpots = frame_->GetHotSpotCount();
    GrowTo(selectedSegments_, segments);
    GrowTo(selectedCircles_, circles);
    GrowTo(selectedHotSpots_, hotSpots);
    const CollisionFrame& frame = *frame_;
    for (std::uint32_t i = 0; i < segments; ++i)
    {
        selectedSegments_[i] = &frame.GetLineSegment(i).GetLineSegment(variant);
    }
    for (std::uint32_t i = 0; i < circles; ++i)
    {
        selectedCircles_[i] = &frame.GetCircle(i).GetCircle(variant);
    }
    for (std::uint32_t i = 0; i < hotSpots; ++i)
    {
        selectedHotSpots_[i] = &frame.GetHotSpot(i).GetHotSpot(variant);
    }
}

void DynamicObject::ReserveWorldShapes()
{
    // The buffers were sized for the actor's largest frame when it was
    // attached; a frame that grew since still never writes past them.
    const std::size_t segments = frame_->GetLineSegmentCount();
    const std::size_t circles = frame_->GetCircleCount();
    const std::size_t hotSpots = frame_->GetHotSpotCount();
    GrowTo(oldSegments_, segments);
    GrowTo(currentSegments_, segments);
    GrowTo(subStepSegments_, segments);
    GrowTo(oldCircles_, circles);
    GrowTo(currentCircles_, circles);
    GrowTo(subStepCircles_, circles);
    GrowTo(oldHotSpots_, hotSpots);
    GrowTo(currentHotSpots_, hotSpots);
    GrowTo(subStepHotSpots_, hotSpots);
}

void DynamicObject::PlaceWorldShapes()
{
    ReserveWorldShapes();
    const WorldPlacement atOldPose(oldPosition_, oldOrientation_, offset_);
    const WorldPlacement atCurrentPose(position_, orientation_, offset_);
    const std::uint32_t segments = GetFrameLineSegmentCount();
    for (std::uint32_t i = 0; i < segments; ++i)
    {
        const Math::LineSegment2D& local = *selectedSegments_[i];
        oldSegments_[i] = Math::LineSegment2D(atOldPose(local.pointA), atOldPose(local.pointB));
        currentSegments_[i] = Math::LineSegment2D(atCurrentPose(local.pointA), atCurrentPose(local.pointB));
    }
    const std::uint32_t circles = GetFrameCircleCount();
    for (std::uint32_t i = 0; i < circles; ++i)
    {
        const Math::Circle2D& local = *selectedCircles_[i];
        oldCircles_[i] = Math::Circle2D(atOldPose(local.center), local.radius);
        currentCircles_[i] = Math::Circle2D(atCurrentPose(local.center), local.radius);
    }
    // Hotspots take the current pose as the old pose moved by the motion.
    const WorldPlacement atMovedPose(oldPosition_ + displacement_, oldOrientation_ + angularChange_, offset_);
    const std::uint32_t hotSpots = GetFrameHotSpotCount();
    for (std::uint32_t i = 0; i < hotSpots; ++i)
    {
        const Math::Vector2D& local = *selectedHotSpots_[i];
        oldHotSpots_[i] = atOldPose(local);
        currentHotSpots_[i] = atMovedPose(local);
    }
}

void DynamicObject::ClearWorldShapes()
{
    oldSegments_.clear();
    currentSegments_.clear();
    subStepSegments_.clear();
    oldCircles_.clear();
    currentCircles_.clear();
    subStepCircles_.clear();
    oldHotSpots_.clear();
    currentHotSpots_.clear();
    subStepHotSpots_.clear();
}

// --- Step ----------------------------------------------------------------------------

void DynamicObject::AddCandidate(std::uint32_t slot)
{
    const auto listed = candidates_.begin() + candidateCount_;
    if (std::find(candidates_.begin(), listed, slot) != listed)
    {
        return;
    }
    candidates_[static_cast<std::size_t>(candidateCount_)] = slot;
    ++candidateCount_;
    if (candidateCount_ >= GetCandidateCapacity())
    {
        candidates_.resize(candidates_.size() + CandidateGrowthStep);
    }
}

bool DynamicObject::PreUpdate()
{
    frame_ = actor_ != nullptr ? actor_->FindSpriteFrame(animationIndex_, frameIndex_, spriteFrameCounts_)
                               : nullptr;
    if (frame_ == nullptr)
    {
        if (actor_ != nullptr)
        {
            results_.Reset();
        }
        return false;
    }
    results_.Reset();

    moved_ =
        position_.x != oldPosition_.x || position_.y != oldPosition_.y || orientation_ != oldOrientation_;
    displacement_ = position_ - oldPosition_;
    angularChange_ = orientation_ - oldOrientation_;
    subSteps_ = SubStepCount(displacement_.Length(), angularChange_);
    const float perSubStep = 1.0f / static_cast<float>(subSteps_);
    stepDisplacement_ = displacement_ * perSubStep;
    stepAngularChange_ = angularChange_ * perSubStep;

    const FlipVariant variant = GetFlipVariant();
    SelectShapes(variant);
    frameRectangle_ = frame_->GetBoundingRectangle(variant);

    BoundingRectangleAtPose(frameRectangle_, oldPoseRectangle_, oldPosition_.x, oldPosition_.y,
                            oldOrientation_);
    BoundingRectangleAtPose(frameRectangle_, currentRectangle_, position_.x, position_.y, orientation_);
    RectangleUnion(oldPoseRectangle_, currentRectangle_, sweptRectangle_);

    PlaceWorldShapes();
    candidateCount_ = 0;
    return true;
}

void DynamicObject::EndStep()
{
    oldPosition_ = position_;
    oldOrientation_ = orientation_;
}

void DynamicObject::ResetOldPose()
{
    EndStep();
    displacement_ = {};
    angularChange_ = 0.0f;
    BoundingRectangleAtPose(frameRectangle_, currentRectangle_, position_.x, position_.y, orientation_);
}

// --- Archive ---------------------------------------------------------------------------

void DynamicObject::Write(Core::File& file) const
{
    file << kind_ << animationIndex_ << frameIndex_ << GetMaximumInterpolationValue() << slot_ << z_;
    oldPosition_.Write(file);
    position_.Write(file);
    interpolatedPosition_.Write(file);
    file << oldOrientation_ << orientation_;
    sparePosition_.Write(file);
    file << spareOrientation_;
    displacement_.Write(file);
    file << angularChange_;
    stepDisplacement_.Write(file);
    file << stepAngularChange_ << updateOnIdle_;
    file << static_cast<std::uint32_t>(selectedSegments_.size())
         << static_cast<std::uint32_t>(selectedCircles_.size())
         << static_cast<std::uint32_t>(selectedHotSpots_.size());
    frameRectangle_.Write(file);
    file << horizontalFlip_ << verticalFlip_ << moved_ << subSteps_;
    for (int z = 0; z < ArchivedCanCollidEntries; ++z)
    {
        file << static_cast<std::uint8_t>(canCollid_[static_cast<std::size_t>(z)] ? 1 : 0);
    }
    file << cellRange_.firstColumn << cellRange_.lastColumn << cellRange_.firstRow << cellRange_.lastRow;
    file << GetCandidateCapacity() << candidateCount_;
    for (std::int32_t i = 0; i < candidateCount_; ++i)
    {
        file << candidates_[static_cast<std::size_t>(i)];
    }
    file << collisionType_ << thickness_;
    results_.Write(file);
    file << rectangleCheckingTileMap_;
}

bool DynamicObject::Read(Core::File& file)
{
    DynamicObject read;
    std::int32_t kind = 0;
    std::int32_t maximumInterpolation = 0;
    file >> kind >> read.animationIndex_ >> read.frameIndex_ >> maximumInterpolation >> read.slot_ >> read.z_;
    if (file.Failed())
    {
        return false;
    }
    if (kind != static_cast<std::int32_t>(CollisionKind::DynamicObject) || maximumInterpolation < 1 ||
        read.slot_ < 0 || static_cast<std::uint32_t>(read.slot_) > MaximumDynamicObjectSlot ||
        read.z_ > MaximumZ)
    {
        return Detail::RejectData(file);
    }

    read.oldPosition_.Read(file);
    read.position_.Read(file);
    read.interpolatedPosition_.Read(file);
    file >> read.oldOrientation_ >> read.orientation_;
    read.sparePosition_.Read(file);
    file >> read.spareOrientation_;
    read.displacement_.Read(file);
    file >> read.angularChange_;
    read.stepDisplacement_.Read(file);
    file >> read.stepAngularChange_ >> read.updateOnIdle_;
    std::uint32_t selectionLengths[3] = {};
    file >> selectionLengths[0] >> selectionLengths[1] >> selectionLengths[2];
    read.frameRectangle_.Read(file);
    file >> read.horizontalFlip_ >> read.verticalFlip_ >> read.moved_ >> read.subSteps_;
    if (file.Failed())
    {
        return false;
    }
    for (const std::uint32_t length : selectionLengths)
    {
        if (length > Detail::MaximumStoredCapacity)
        {
            return Detail::RejectData(file);
        }
    }
    if (read.subSteps_ < 1)
    {
        return Detail::RejectData(file);
    }

    for (int z = 0; z < ArchivedCanCollidEntries; ++z)
    {
        file >> read.canCollid_[static_cast<std::size_t>(z)];
    }
    CellRange& range = read.cellRange_;
    std::int32_t capacity = 0;
    file >> range.firstColumn >> range.lastColumn >> range.firstRow >> range.lastRow >> capacity >>
        read.candidateCount_;
    if (file.Failed())
    {
        return false;
    }
    if (range.firstColumn < 0 || range.lastColumn < 0 || range.firstRow < 0 || range.lastRow < 0 ||
        capacity < 1 || capacity > Detail::MaximumStoredCapacity)
    {
        return Detail::RejectData(file);
    }
    // The growth rule keeps a free entry: the count stays below the capacity.
    if (!Detail::CheckStoredCount(file, read.candidateCount_, capacity - 1, sizeof(std::uint32_t)))
    {
        return false;
    }
    read.candidates_.assign(static_cast<std::size_t>(capacity), 0);
    for (std::int32_t i = 0; i < read.candidateCount_; ++i)
    {
        file >> read.candidates_[static_cast<std::size_t>(i)];
    }
    file >> read.collisionType_ >> read.thickness_;
    if (file.Failed() || !read.results_.Read(file))
    {
        return false;
    }
    file >> read.rectangleCheckingTileMap_;
    if (file.Failed())
    {
        return false;
    }

    read.selectedSegments_.assign(selectionLengths[0], nullptr);
    read.selectedCircles_.assign(selectionLengths[1], nullptr);
    read.selectedHotSpots_.assign(selectionLengths[2], nullptr);
    TakeArchivedState(read);
    SetMaximumInterpolationValue(maximumInterpolation);
    return true;
}

void DynamicObject::TakeArchivedState(DynamicObject& read)
{
    animationIndex_ = read.animationIndex_;
    frameIndex_ = read.frameIndex_;
    slot_ = read.slot_;
    z_ = read.z_;
    oldPosition_ = read.oldPosition_;
    position_ = read.position_;
    interpolatedPosition_ = read.interpolatedPosition_;
    oldOrientation_ = read.oldOrientation_;
    orientation_ = read.orientation_;
    sparePosition_ = read.sparePosition_;
    spareOrientation_ = read.spareOrientation_;
    displacement_ = read.displacement_;
    angularChange_ = read.angularChange_;
    stepDisplacement_ = read.stepDisplacement_;
    stepAngularChange_ = read.stepAngularChange_;
    updateOnIdle_ = read.updateOnIdle_;
    selectedSegments_ = std::move(read.selectedSegments_);
    selectedCircles_ = std::move(read.selectedCircles_);
    selectedHotSpots_ = std::move(read.selectedHotSpots_);
    frameRectangle_ = read.frameRectangle_;
    horizontalFlip_ = read.horizontalFlip_;
    verticalFlip_ = read.verticalFlip_;
    moved_ = read.moved_;
    subSteps_ = read.subSteps_;
    canCollid_ = read.canCollid_;
    cellRange_ = read.cellRange_;
    candidates_ = std::move(read.candidates_);
    candidateCount_ = read.candidateCount_;
    collisionType_ = read.collisionType_;
    thickness_ = read.thickness_;
    results_ = std::move(read.results_);
    rectangleCheckingTileMap_ = read.rectangleCheckingTileMap_;
    // The actor is not stored: the owner attaches it again.
    actor_ = nullptr;
    frame_ = nullptr;
    ClearWorldShapes();
}

} // namespace Collision2D

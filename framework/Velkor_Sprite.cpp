#include "framework/Velkor_Sprite.h"

#include "core/Core_File.h"

#include "collision/Collision_CollisionEngine.h"
#include "collision/Collision_CollisionResults.h"
#include "collision/Collision_DynamicObject.h"
#include "core/Core_String.h"
#include "engine/Engine_Sprite.h"
#include "engine/Engine_TransformationGroup.h"
#include "framework/Velkor_Camera.h"
#include "framework/Velkor_Circle.h"
#include "framework/Velkor_Game.h"
#include "framework/Velkor_GameEngines.h"
#include "framework/Velkor_Layer.h"
#include "framework/Velkor_Level.h"
#include "framework/Velkor_Line.h"
#include "framework/Velkor_NetworkFile.h"
#include "framework/Velkor_Viewport.h"
#include "math/Math_BoundingBox.h"
#include "math/Math_Frustum.h"

namespace Velkor
{

CORE_DEFINE_OBJECT(Sprite, "Velkor::Sprite", Sprite::ScriptTypeName, "Velkor_Sprite", __LINE__)

namespace
{

// Whether a display object can still be written: nobody has destroyed it
// or asked for its removal.
template <class T> bool IsAlive(const Core::RefPtr<T>& object)
{
    return object && !object->IsDestroyed() && !object->IsBeingDestroyed();
}

template <class T> void DestroyAll(std::vector<Core::RefPtr<T>>& objects)
{
    for (const Core::RefPtr<T>& object : objects)
    {
        if (IsAlive(object))
        {
            object->Destroy();
        }
    }
    objects.clear();
}

} // namespace

Sprite::Sprite() = default;

Sprite::Sprite(const AnimationList& animations)
{
    std::vector<Core::RefPtr<Engine::SpriteAnimation>> engineAnimations;
    for (const Core::RefPtr<SpriteAnimation>& animation : animations)
    {
        if (animation)
        {
            engineAnimations.push_back(animation->GetEngineAnimation());
            frameCounts_.push_back(animation->GetEngineAnimation()->GetFramesCount());
        }
    }
    engineSprite_ = new ("Velkor_Sprite", __LINE__) Engine::Sprite(engineAnimations);
    GetNode()->AddChild(engineSprite_);
}

Sprite::Sprite(const Sprite& other)
    : GameObject(other), frameCounts_(other.frameCounts_), actorIndex_(other.actorIndex_),
      visibleCollisionData_(other.visibleCollisionData_),
      visibleBoundingRectangle_(other.visibleBoundingRectangle_),
      collisionDataColor_(other.collisionDataColor_), boundingRectangleColor_(other.boundingRectangleColor_)
{
    if (other.engineSprite_)
    {
        engineSprite_ = static_cast<Engine::Sprite*>(other.engineSprite_->Clone());
        GetNode()->AddChild(engineSprite_);
    }
}

Sprite::~Sprite() = default;

// --- Animation ----------------------------------------------------------------------

void Sprite::Play(bool play)
{
    if (engineSprite_)
    {
        engineSprite_->SetPlaying(play);
    }
}

void Sprite::Pause()
{
    if (engineSprite_)
    {
        engineSprite_->Pause();
    }
}

bool Sprite::IsPlaying() const
{
    return engineSprite_ && engineSprite_->IsPlaying();
}

bool Sprite::IsPaused() const
{
    return engineSprite_ && engineSprite_->IsPaused();
}

void Sprite::SetLoop(bool loop)
{
    if (engineSprite_)
    {
        engineSprite_->SetLoop(loop);
    }
}

bool Sprite::GetLoop() const
{
    return engineSprite_ && engineSprite_->GetLoop();
}

void Sprite::SetAnimationSpeed(float speed)
{
    if (engineSprite_)
    {
        engineSprite_->SetAnimationSpeed(speed < 0.0f ? 0.0f : speed);
    }
}

float Sprite::GetAnimationSpeed() const
{
    return engineSprite_ ? engineSprite_->GetAnimationSpeed() : 0.0f;
}

std::uint32_t Sprite::SetCurrentAnimationIndex(std::uint32_t index, bool force)
{
    if (!engineSprite_)
    {
        return 0;
    }
    if (index == engineSprite_->GetCurrentAnimationIndex())
    {
        return index;
    }
    return engineSprite_->SetCurrentAnimationIndex(index, force);
}

std::uint32_t Sprite::GetCurrentAnimationIndex() const
{
    return engineSprite_ ? engineSprite_->GetCurrentAnimationIndex() : 0;
}

void Sprite::SetCurrentAnimationName(const std::string& name, bool force)
{
    if (engineSprite_ && engineSprite_->GetCurrentAnimationName() != name)
    {
        engineSprite_->SetCurrentAnimationName(name, force);
    }
}

std::uint32_t Sprite::SetCurrentFrameIndex(std::uint32_t index, bool force)
{
    if (!engineSprite_)
    {
        return 0;
    }
    if (index == engineSprite_->GetCurrentFrameIndex())
    {
        return index;
    }
    return engineSprite_->SetCurrentFrameIndex(index, force);
}

std::uint32_t Sprite::GetCurrentFrameIndex() const
{
    return engineSprite_ ? engineSprite_->GetCurrentFrameIndex() : 0;
}

void Sprite::SetFlipHorizontal(bool flip)
{
    if (engineSprite_ && engineSprite_->GetFlipHorizontal() != flip)
    {
        engineSprite_->SetFlipHorizontal(flip);
    }
}

void Sprite::SetFlipVertical(bool flip)
{
    if (engineSprite_ && engineSprite_->GetFlipVertical() != flip)
    {
        engineSprite_->SetFlipVertical(flip);
    }
}

bool Sprite::GetFlipHorizontal() const
{
    return engineSprite_ && engineSprite_->GetFlipHorizontal();
}

bool Sprite::GetFlipVertical() const
{
    return engineSprite_ && engineSprite_->GetFlipVertical();
}

std::uint32_t Sprite::GetAnimationsCount() const
{
    return engineSprite_ ? engineSprite_->GetAnimationsCount() : 0;
}

float Sprite::GetFrameDelay(std::uint32_t animation, std::uint32_t frame) const
{
    const Core::RefPtr<Engine::SpriteAnimation> selected =
        engineSprite_ ? engineSprite_->GetAnimation(animation) : nullptr;
    if (!selected || frame >= selected->GetFramesCount())
    {
        return 0.0f;
    }
    return selected->GetFrame(frame).delay;
}

std::uint32_t Sprite::GetFramesCount(std::uint32_t animation) const
{
    const Core::RefPtr<Engine::SpriteAnimation> selected =
        engineSprite_ ? engineSprite_->GetAnimation(animation) : nullptr;
    return selected ? selected->GetFramesCount() : 0;
}

std::int32_t Sprite::GetFrameWidth(std::uint32_t animation) const
{
    const Core::RefPtr<Engine::SpriteAnimation> selected =
        engineSprite_ ? engineSprite_->GetAnimation(animation) : nullptr;
    return selected ? selected->GetFrameWidth() : 0;
}

std::int32_t Sprite::GetFrameHeight(std::uint32_t animation) const
{
    const Core::RefPtr<Engine::SpriteAnimation> selected =
        engineSprite_ ? engineSprite_->GetAnimation(animation) : nullptr;
    return selected ? selected->GetFrameHeight() : 0;
}

void Sprite::SetHUDObject(bool hud)
{
    if (engineSprite_)
    {
        engineSprite_->SetOverlay(hud);
    }
}

bool Sprite::IsHUDObject() const
{
    return engineSprite_ && engineSprite_->IsOverlay();
}

// --- Collision display ----------------------------------------------------------------

void Sprite::SetVisibleCollisionData(bool visible)
{
    visibleCollisionData_ = visible;
    if (visible)
    {
        return;
    }
    // Every display object goes, those past the shown counts too: nothing
    // else would ever take them out of the layer.
    DestroyAll(circles_);
    DestroyAll(segmentLines_);
    shownCircles_ = 0;
    shownSegments_ = 0;
}

void Sprite::SetVisibleBoundingRectangle(bool visible)
{
    visibleBoundingRectangle_ = visible;
    if (visible)
    {
        return;
    }
    for (Core::RefPtr<Line>& line : rectangleLines_)
    {
        if (IsAlive(line))
        {
            line->Destroy();
        }
        line = nullptr;
    }
}

void Sprite::SetCollisionDataColor(float red, float green, float blue, float alpha)
{
    collisionDataColor_.Set(red, green, blue, alpha);
}

void Sprite::SetBoundingRectangleColor(float red, float green, float blue, float alpha)
{
    boundingRectangleColor_.Set(red, green, blue, alpha);
}

void Sprite::Colour(GameObject& object, const Math::Vector4& color) const
{
    object.SetModulationColor(color.x, color.y, color.z, color.w);
}

Core::RefPtr<Line> Sprite::MakeLine(const Math::Vector2D& from, const Math::Vector2D& to,
                                    const Math::Vector4& color)
{
    Core::RefPtr<Line> line(new ("Velkor_Sprite", __LINE__) Line(from, to));
    line->SetZOrder(GetZOrder() + DisplayZOffset);
    line->SetVisible(false);
    line->SetVisible(true);
    Colour(*line, color);
    GetLayer()->AddGameObject(line.Get());
    return line;
}

Core::RefPtr<Circle> Sprite::MakeCircle(const Math::Vector2D& center, float radius)
{
    Core::RefPtr<Circle> circle(new ("Velkor_Sprite", __LINE__) Circle(radius));
    circle->SetZOrder(GetZOrder() + DisplayZOffset);
    circle->SetPosition(center);
    circle->SetVisible(false);
    circle->SetVisible(true);
    Colour(*circle, collisionDataColor_);
    GetLayer()->AddGameObject(circle.Get());
    return circle;
}

void Sprite::ShowCollisionShapes()
{
    const Collision2D::DynamicObject* dynamic = GetDynamicCollisionObject();
    // The world buffers are sized for the actor's largest frame; the frame
    // of the last step uses their leading entries.
    const std::uint32_t segmentCount = dynamic->GetFrameLineSegmentCount();
    if (segmentCount > 0)
    {
        const std::vector<Math::LineSegment2D>& segments = dynamic->GetCurrentLineSegments();
        for (std::uint32_t i = 0; i < segmentCount; ++i)
        {
            const Math::LineSegment2D& segment = segments[i];
            if (i < segmentLines_.size() && IsAlive(segmentLines_[i]))
            {
                Line& line = *segmentLines_[i];
                line.SetPoint1(segment.pointA);
                line.SetPoint2(segment.pointB);
                line.SetVisible(true);
                Colour(line, collisionDataColor_);
            }
            else if (i < segmentLines_.size())
            {
                segmentLines_[i] = MakeLine(segment.pointA, segment.pointB, collisionDataColor_);
            }
            else
            {
                segmentLines_.push_back(MakeLine(segment.pointA, segment.pointB, collisionDataColor_));
            }
        }
        shownSegments_ = segmentCount;
    }
    const std::uint32_t circleCount = dynamic->GetFrameCircleCount();
    if (circleCount > 0)
    {
        const std::vector<Math::Circle2D>& shapes = dynamic->GetCurrentCircles();
        for (std::uint32_t i = 0; i < circleCount; ++i)
        {
            const Math::Circle2D& shape = shapes[i];
            if (i < circles_.size() && IsAlive(circles_[i]))
            {
                Circle& circle = *circles_[i];
                circle.SetRadius(shape.radius);
                circle.SetPosition(shape.center);
                circle.SetVisible(true);
                Colour(circle, collisionDataColor_);
            }
            else if (i < circles_.size())
            {
                circles_[i] = MakeCircle(shape.center, shape.radius);
            }
            else
            {
                circles_.push_back(MakeCircle(shape.center, shape.radius));
            }
        }
        shownCircles_ = circleCount;
    }
}

void Sprite::ShowBoundingRectangle()
{
    const Collision2D::ZibRect r = GetDynamicCollisionObject()->GetCurrentBoundingRectangle();
    const Math::Vector2D corners[5] = {
        {r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}, {r.left, r.top}};
    for (std::size_t edge = 0; edge < rectangleLines_.size(); ++edge)
    {
        Core::RefPtr<Line>& line = rectangleLines_[edge];
        if (IsAlive(line))
        {
            line->SetPoint1(corners[edge]);
            line->SetPoint2(corners[edge + 1]);
            line->SetVisible(true);
            Colour(*line, boundingRectangleColor_);
        }
        else
        {
            line = MakeLine(corners[edge], corners[edge + 1], boundingRectangleColor_);
        }
    }
}

void Sprite::HandOverFrame()
{
    // Only a dynamic object follows a sprite's frames; a tile map's shapes
    // are its own.
    Collision2D::DynamicObject* dynamic = GetDynamicCollisionObject();
    if (dynamic == nullptr || !engineSprite_)
    {
        return;
    }
    if (dynamic->GetSpriteFrameCounts() != frameCounts_)
    {
        dynamic->SetSpriteFrameCounts(frameCounts_);
    }
    dynamic->SetCurrentCollisionFrame(engineSprite_->GetCurrentAnimationIndex(),
                                      engineSprite_->GetCurrentFrameIndex(),
                                      engineSprite_->GetFlipHorizontal(), engineSprite_->GetFlipVertical());
}

bool Sprite::IsInViewport(const Viewport* viewport) const
{
    if (viewport == nullptr || viewport->GetCamera() == nullptr || !engineSprite_)
    {
        return false;
    }
    Math::BoundingBox box;
    engineSprite_->GetWorldBoundingVolume(box);
    Math::Frustum frustum;
    viewport->GetCamera()->BuildFrustum(frustum, viewport->GetWidth(), viewport->GetHeight());
    return frustum.Classify(box) != Math::ClassifyResult::Outside;
}

// --- Per frame ----------------------------------------------------------------------------

void Sprite::UpdateEngineSide(float dt)
{
    if (GetCollisionId() != 0)
    {
        HandOverFrame();
        if (actorIndex_ != -1 && GetDynamicCollisionObject() != nullptr && GetLayer() != nullptr)
        {
            if (visibleCollisionData_)
            {
                ShowCollisionShapes();
            }
            if (visibleBoundingRectangle_)
            {
                ShowBoundingRectangle();
            }
        }
    }
    GameObject::UpdateEngineSide(dt);
}

void Sprite::PushVisualProperties(float)
{
    if (engineSprite_)
    {
        const Math::Vector4& color = GetModulationColor();
        engineSprite_->SetModulationColor(color.x, color.y, color.z, color.w);
        engineSprite_->SetOpacity(GetOpacity());
    }
}

// --- Records ----------------------------------------------------------------------------

namespace
{

// The game object whose collision object is the one a contact names, when
// that object still is the one the contact met.
const GameObject* ContactOwner(Collision2D::CollisionId id, Collision2D::OwnerWord owner)
{
    Collision2D::CollisionEngine* collision = GameCollision();
    const Collision2D::MainCollisionObject* other =
        collision != nullptr && owner != 0 ? collision->GetCollisionObject(id) : nullptr;
    if (other == nullptr || other->GetOwner() != owner)
    {
        return nullptr;
    }
    return reinterpret_cast<const GameObject*>(owner);
}

constexpr std::uint32_t NoObjectId = 0xFFFFFFFFu;

Sprite* FindSprite(const Layer& layer, std::uint32_t id)
{
    Layer::ObjectList objects;
    layer.GetGameObjects(objects);
    for (const Core::RefPtr<GameObject>& object : objects)
    {
        if (object->GetID() == id)
        {
            return dynamic_cast<Sprite*>(object.Get());
        }
    }
    return nullptr;
}

} // namespace

void Sprite::Write(Core::File& file) const
{
    GameObject::Write(file);
    const std::uint32_t count = engineSprite_ ? engineSprite_->GetAnimationsCount() : 0;
    file << count;
    for (std::uint32_t i = 0; i < count; ++i)
    {
        file.WriteObject(engineSprite_->GetAnimation(i).Get());
    }
    file << GetFlipHorizontal() << GetFlipVertical() << GetLoop() << GetAnimationSpeed();
    file << IsPaused() << IsPlaying() << GetCurrentAnimationIndex() << GetCurrentFrameIndex();
    file << IsHUDObject() << actorIndex_;
    file << visibleCollisionData_ << visibleBoundingRectangle_ << shownSegments_ << shownCircles_;
    file << collisionDataColor_.x << collisionDataColor_.y << collisionDataColor_.z << collisionDataColor_.w;
    Core::WriteRefPtrVector(file, circles_);
    Core::WriteRefPtrVector(file, segmentLines_);
}

void Sprite::Read(Core::File& file)
{
    GameObject::Read(file);
    std::uint32_t count = 0;
    if (!file.ReadExact(&count, sizeof count) || !file.Require(count))
    {
        return;
    }
    // The engine animations find their sheets in this directory.
    if (Game* game = Game::GetInstance())
    {
        game->SetSpriteSheetDirectory(game->GetDirectory() + "\\Resources\\Animations");
    }
    std::vector<Core::RefPtr<Engine::SpriteAnimation>> animations(count);
    for (Core::RefPtr<Engine::SpriteAnimation>& animation : animations)
    {
        Core::ReadRefPtr(file, animation);
        if (file.Failed() || !animation)
        {
            file.SetError(Core::FileError::BadData);
            return;
        }
    }
    bool flipHorizontal = false;
    bool flipVertical = false;
    bool loop = false;
    float speed = 1.0f;
    bool paused = false;
    bool playing = false;
    std::uint32_t animationIndex = 0;
    std::uint32_t frameIndex = 0;
    bool hud = false;
    std::int32_t actorIndex = -1;
    bool visibleCollisionData = false;
    bool visibleBoundingRectangle = false;
    std::uint32_t shownSegments = 0;
    std::uint32_t shownCircles = 0;
    Math::Vector4 color;
    file >> flipHorizontal >> flipVertical >> loop >> speed >> paused >> playing >> animationIndex >>
        frameIndex;
    file >> hud >> actorIndex >> visibleCollisionData >> visibleBoundingRectangle >> shownSegments >>
        shownCircles;
    file >> color.x >> color.y >> color.z >> color.w;
    std::vector<Core::RefPtr<Circle>> circles;
    std::vector<Core::RefPtr<Line>> lines;
    if (file.Failed() || Core::ReadRefPtrVector(file, circles).Failed() ||
        Core::ReadRefPtrVector(file, lines).Failed())
    {
        return;
    }

    if (engineSprite_)
    {
        GetNode()->RemoveChild(engineSprite_);
    }
    engineSprite_ = new ("Velkor_Sprite", __LINE__) Engine::Sprite(animations);
    frameCounts_.clear();
    for (const Core::RefPtr<Engine::SpriteAnimation>& animation : animations)
    {
        frameCounts_.push_back(animation->GetFramesCount());
    }
    GetNode()->AddChild(engineSprite_);
    SetVisible(GetVisible());
    SetFlipHorizontal(flipHorizontal);
    SetFlipVertical(flipVertical);
    SetLoop(loop);
    SetAnimationSpeed(speed);
    if (playing)
    {
        Play(true);
    }
    else if (paused)
    {
        Pause();
    }
    else
    {
        Play(false);
    }
    SetCurrentAnimationIndex(animationIndex, true);
    SetCurrentFrameIndex(frameIndex, true);
    SetHUDObject(hud);
    actorIndex_ = actorIndex;
    if (Collision2D::DynamicObject* dynamic = GetDynamicCollisionObject())
    {
        const Game* game = Game::GetInstance();
        if (game != nullptr && actorIndex_ >= 0 &&
            static_cast<std::size_t>(actorIndex_) < game->GetCollisionAssets().size())
        {
            // The frame the collision object held when saved: the sprite
            // hands its own frame over before the next collision step, and
            // until then the object is as it was, so a game saved again
            // right after the load gives the same bytes.
            dynamic->AddCollisionData(game->GetCollisionAssets()[static_cast<std::size_t>(actorIndex_)].get(),
                                      dynamic->GetAnimationIndex(), dynamic->GetFrameIndex());
        }
    }
    visibleCollisionData_ = visibleCollisionData;
    visibleBoundingRectangle_ = visibleBoundingRectangle;
    shownSegments_ = shownSegments;
    shownCircles_ = shownCircles;
    collisionDataColor_ = color;
    circles_ = std::move(circles);
    segmentLines_ = std::move(lines);
}

void Sprite::WriteCollidedSpriteIds(Core::File& file) const
{
    const Collision2D::DynamicObject* dynamic = GetDynamicCollisionObject();
    if (dynamic == nullptr)
    {
        return;
    }
    const Collision2D::CollisionResults& results = dynamic->GetCollisionResults();
    for (std::int32_t i = 0; i < results.GetRectangleContactCount(); ++i)
    {
        const Collision2D::BRECT_C& record = results.GetRectangleContact(i);
        const GameObject* other = ContactOwner(record.id, record.otherOwner);
        file << (other != nullptr ? other->GetID() : NoObjectId);
    }
    for (std::int32_t i = 0; i < results.GetDynamicContactCount(); ++i)
    {
        const Collision2D::DGEO_C& record = results.GetDynamicContact(i);
        const GameObject* other = ContactOwner(record.id, record.otherOwner);
        file << (other != nullptr ? other->GetID() : NoObjectId);
    }
}

void Sprite::ReadCollidedSpriteIds(Core::File& file, const Level& level)
{
    Collision2D::DynamicObject* dynamic = GetDynamicCollisionObject();
    if (dynamic == nullptr)
    {
        return;
    }
    Collision2D::CollisionResults& results = dynamic->GetCollisionResults();
    const auto rectangles = results.GetRectangleContactCount();
    const auto shapes = results.GetDynamicContactCount();
    if (!file.Require(
            (std::uint64_t{static_cast<std::uint32_t>(rectangles)} + static_cast<std::uint32_t>(shapes)) *
            sizeof(std::uint32_t)))
    {
        return;
    }
    for (std::int32_t i = 0; i < rectangles; ++i)
    {
        std::uint32_t id = 0;
        file >> id;
        Sprite* other = nullptr;
        for (const Core::RefPtr<Layer>& layer : level.GetLayers())
        {
            if ((other = FindSprite(*layer, id)) != nullptr)
            {
                break;
            }
        }
        results.SetRectangleContactOwner(i, reinterpret_cast<Collision2D::OwnerWord>(other));
    }
    for (std::int32_t i = 0; i < shapes; ++i)
    {
        std::uint32_t id = 0;
        file >> id;
        Sprite* other = GetLayer() != nullptr ? FindSprite(*GetLayer(), id) : nullptr;
        results.SetDynamicContactOwner(i, reinterpret_cast<Collision2D::OwnerWord>(other));
    }
}

void Sprite::NetworkSyncSend(Core::File& file)
{
    GameObject::NetworkSyncSend(file);
    WriteNetworkString(file, engineSprite_ ? engineSprite_->GetCurrentAnimationName() : std::string());
    file << GetCurrentAnimationIndex() << GetCurrentFrameIndex();
    file << GetFlipHorizontal() << GetFlipVertical() << IsHUDObject();
}

void Sprite::NetworkSyncReceive(Core::File& file)
{
    // The base's fields and the sprite's are applied together or not at all.
    SyncRecord record;
    const bool baseRead = ReadSyncRecord(file, record);
    std::string name;
    std::uint32_t animationIndex = 0;
    std::uint32_t frameIndex = 0;
    bool flipHorizontal = false;
    bool flipVertical = false;
    bool hud = false;
    ReadNetworkString(file, name);
    file >> animationIndex >> frameIndex >> flipHorizontal >> flipVertical >> hud;
    if (!baseRead || file.Failed())
    {
        return;
    }
    // Shows the sender's frame; it does not advance on its own.
    Play(false);
    ApplySyncRecord(record);
    if (engineSprite_ && engineSprite_->GetCurrentAnimationName() != name)
    {
        SetCurrentAnimationName(name, false);
    }
    SetCurrentAnimationIndex(animationIndex, false);
    SetCurrentFrameIndex(frameIndex, false);
    SetFlipHorizontal(flipHorizontal);
    SetFlipVertical(flipVertical);
    SetHUDObject(hud);
}

} // namespace Velkor

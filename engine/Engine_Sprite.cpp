#include "engine/Engine_Sprite.h"

#include "core/Core_File.h"
#include "engine/Engine_Group.h"
#include "engine/Engine_RenderQueue.h"
#include "engine/Engine_SceneGraph.h"

namespace Engine
{

CORE_DEFINE_OBJECT(Sprite, "Engine::Sprite", Sprite::ScriptTypeName, "Engine_Sprite", __LINE__)

namespace
{

const SpriteFrame NoFrame{};

} // namespace

Sprite::Sprite(const std::vector<Core::RefPtr<SpriteAnimation>>& animations)
{
    SetAnimations(animations);
}

void Sprite::SetAnimations(const std::vector<Core::RefPtr<SpriteAnimation>>& animations)
{
    animations_.clear();
    for (const Core::RefPtr<SpriteAnimation>& animation : animations)
    {
        // A null entry would be a current animation with nothing behind it.
        if (animation)
        {
            animations_.push_back(animation);
        }
    }
    modulationColor_ = Math::Vector4(1.0f, 1.0f, 1.0f, 1.0f);
    opacity_ = 1.0f;
    frameTimer_ = 0.0f;
    speed_ = 1.0f;
    currentFrame_ = 0;
    currentAnimation_ = 0;
    endOfAnimation_ = false;
    loop_ = true;
    playing_ = false;
    paused_ = false;
    flipHorizontal_ = false;
    flipVertical_ = false;

    // The unit square of depth 1; QuadMatrix scales it to the frame size.
    Math::BoundingBox box;
    BoundingVolume::SetSlabCorners(box, -0.5f, -0.5f, 0.5f, 0.5f);
    boundingVolume_.SetLocalBox(box);
}

void Sprite::Write(Core::File& file) const
{
    Node::Write(file);
    Core::WriteRefPtrVector(file, animations_);
    file << modulationColor_;
    file << opacity_ << frameTimer_ << speed_;
    file << static_cast<std::int32_t>(currentFrame_) << static_cast<std::int32_t>(currentAnimation_);
    file << endOfAnimation_ << loop_ << playing_ << paused_ << flipHorizontal_ << flipVertical_;
}

void Sprite::Read(Core::File& file)
{
    Node::Read(file);
    std::uint32_t count = 0;
    // Every animation reference takes at least its presence byte.
    if (file.Failed() || !file.ReadExact(&count, sizeof count) || !file.Require(count))
    {
        return;
    }
    std::vector<Core::RefPtr<SpriteAnimation>> animations;
    animations.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i)
    {
        Core::Object* object = file.ReadObject();
        auto* animation = dynamic_cast<SpriteAnimation*>(object);
        if (animation != nullptr)
        {
            // Held at once, so an animation whose own read failed goes with
            // the list.
            animations.emplace_back(animation);
        }
        if (file.Failed())
        {
            return;
        }
        if (animation == nullptr)
        {
            // No entry or another class; the archive keeps the object.
            file.SetError(Core::FileError::BadData);
            return;
        }
    }
    Math::Vector4 color;
    float values[3] = {};
    std::int32_t indices[2] = {};
    bool flags[6] = {};
    file >> color >> values[0] >> values[1] >> values[2] >> indices[0] >> indices[1];
    for (bool& flag : flags)
    {
        file >> flag;
    }
    if (file.Failed())
    {
        return;
    }
    // AdvanceFrame, GetCurrentFrame and Draw index the animations and the
    // frames with these.
    const auto animationIndex = static_cast<std::uint32_t>(indices[1]);
    const auto frameIndex = static_cast<std::uint32_t>(indices[0]);
    const bool animationValid =
        animationIndex < animations.size() || (animations.empty() && animationIndex == 0);
    const std::uint32_t frames =
        animations.empty() || !animationValid ? 0 : animations[animationIndex]->GetFramesCount();
    const bool frameValid = frameIndex < frames || (frames == 0 && frameIndex == 0);
    if (!animationValid || !frameValid)
    {
        file.SetError(Core::FileError::BadData);
        return;
    }
    animations_ = std::move(animations);
    modulationColor_ = color;
    opacity_ = values[0];
    frameTimer_ = values[1];
    speed_ = values[2];
    currentFrame_ = frameIndex;
    currentAnimation_ = animationIndex;
    endOfAnimation_ = flags[0];
    loop_ = flags[1];
    playing_ = flags[2];
    paused_ = flags[3];
    flipHorizontal_ = flags[4];
    flipVertical_ = flags[5];
}

SpriteAnimation* Sprite::Current() const
{
    return currentAnimation_ < animations_.size() ? animations_[currentAnimation_].Get() : nullptr;
}

Core::RefPtr<SpriteAnimation> Sprite::GetAnimation(std::uint32_t index) const
{
    return index < animations_.size() ? animations_[index] : Core::RefPtr<SpriteAnimation>();
}

Core::RefPtr<SpriteAnimation> Sprite::GetCurrentAnimation() const
{
    return Core::RefPtr<SpriteAnimation>(Current());
}

std::string Sprite::GetCurrentAnimationName() const
{
    const SpriteAnimation* animation = Current();
    return animation != nullptr ? animation->GetName() : std::string();
}

const SpriteFrame& Sprite::GetCurrentFrame() const
{
    const SpriteAnimation* animation = Current();
    return animation != nullptr && currentFrame_ < animation->GetFramesCount()
               ? animation->GetFrame(currentFrame_)
               : NoFrame;
}

void Sprite::Update(float dt)
{
    RunHookAndControllers(dt);
    AdvanceFrame(dt);
}

void Sprite::AdvanceFrame(float dt)
{
    const SpriteAnimation* animation = Current();
    if (animation == nullptr || animation->GetFramesCount() == 0 || !playing_)
    {
        return;
    }
    endOfAnimation_ = false;
    frameTimer_ = frameTimer_ + speed_ * dt;
    // Strictly: a timer equal to the delay waits for the next update.
    if (!(GetCurrentFrame().delay < frameTimer_))
    {
        return;
    }
    frameTimer_ = 0.0f;
    ++currentFrame_;
    // The loop range names existing frames (clamped on set, checked on
    // read), so both targets do.
    const std::uint32_t limit =
        loop_ ? static_cast<std::uint32_t>(animation->GetLoopEndingFrame()) + 1 : animation->GetFramesCount();
    const std::uint32_t target = loop_ ? static_cast<std::uint32_t>(animation->GetLoopStartingFrame())
                                       : animation->GetFramesCount() - 1;
    if (currentFrame_ >= limit)
    {
        currentFrame_ = target;
        endOfAnimation_ = true;
        if (!loop_)
        {
            playing_ = false;
        }
    }
}

void Sprite::SetPlaying(bool playing)
{
    if (!playing)
    {
        playing_ = false;
        paused_ = false;
        currentFrame_ = 0;
        return;
    }
    if (!playing_ && !paused_ && endOfAnimation_)
    {
        currentFrame_ = 0;
    }
    playing_ = true;
    paused_ = false;
}

void Sprite::Pause()
{
    playing_ = false;
    paused_ = true;
}

std::uint32_t Sprite::SetCurrentFrameIndex(std::uint32_t index, bool force)
{
    const SpriteAnimation* animation = Current();
    if (animation == nullptr || index >= animation->GetFramesCount())
    {
        return currentFrame_;
    }
    endOfAnimation_ = false;
    if (force || index != currentFrame_)
    {
        currentFrame_ = index;
        frameTimer_ = 0.0f;
    }
    return currentFrame_;
}

void Sprite::GoToFirstFrame(bool force)
{
    const SpriteAnimation* animation = Current();
    if (animation == nullptr || animation->GetFramesCount() == 0)
    {
        return;
    }
    endOfAnimation_ = false;
    if (force || currentFrame_ != 0)
    {
        currentFrame_ = 0;
        frameTimer_ = 0.0f;
    }
}

void Sprite::GoToLastFrame(bool force)
{
    const SpriteAnimation* animation = Current();
    if (animation == nullptr || animation->GetFramesCount() == 0)
    {
        return;
    }
    const std::uint32_t last = animation->GetFramesCount() - 1;
    if (force || currentFrame_ != last)
    {
        currentFrame_ = last;
        frameTimer_ = 0.0f;
    }
    endOfAnimation_ = false;
}

std::uint32_t Sprite::SetCurrentAnimationIndex(std::uint32_t index, bool force)
{
    if (index >= animations_.size() || (!force && index == currentAnimation_))
    {
        return currentAnimation_;
    }
    currentAnimation_ = index;
    if (animations_[index]->GetFramesCount() > 0)
    {
        endOfAnimation_ = false;
        frameTimer_ = 0.0f;
        currentFrame_ = 0;
    }
    return currentAnimation_;
}

void Sprite::SetCurrentAnimationName(const std::string& name, bool force)
{
    std::uint32_t index = 0;
    for (std::uint32_t i = 0; i < animations_.size(); ++i)
    {
        if (animations_[i]->GetName() == name)
        {
            index = i;
            break;
        }
    }
    SetCurrentAnimationIndex(index, force);
}

Math::Matrix4 Sprite::QuadMatrix(const Math::Matrix4& parentWorld) const
{
    const SpriteAnimation* animation = Current();
    const float width = animation != nullptr ? static_cast<float>(animation->GetFrameWidth()) : 0.0f;
    const float height = animation != nullptr ? static_cast<float>(animation->GetFrameHeight()) : 0.0f;
    const float sx = flipHorizontal_ ? -1.0f : 1.0f;
    const float sy = flipVertical_ ? -1.0f : 1.0f;
    return parentWorld * Math::Matrix4::Scale(sx * width, sy * height, 1.0f);
}

void Sprite::GetFrameTextureMatrix(Math::Matrix4& matrix) const
{
    matrix.Identity();
    const SpriteAnimation* animation = Current();
    if (animation == nullptr || !animation->GetTexture())
    {
        return;
    }
    const Renderer::ITexture& texture = *animation->GetTexture();
    if (texture.GetWidth() == 0 || texture.GetHeight() == 0)
    {
        return;
    }
    const float su = static_cast<float>(animation->GetFrameWidth()) / static_cast<float>(texture.GetWidth());
    const float sv =
        static_cast<float>(animation->GetFrameHeight()) / static_cast<float>(texture.GetHeight());
    const SpriteFrame& frame = GetCurrentFrame();
    // Surfaces are uploaded bottom row first, so v = 1 is the top of the
    // sheet: row r (counted from the top) spans v from 1 - (r + 1) sv up to
    // 1 - r sv.
    const float u0 = su * static_cast<float>(frame.column);
    const float v0 = 1.0f - sv * static_cast<float>(frame.row + 1);
    matrix = Math::Matrix4::Translation(u0, v0, 0.0f) * Math::Matrix4::Scale(su, sv, 1.0f);
}

void Sprite::GetWorldBoundingVolume(Math::BoundingBox& box)
{
    const Math::Matrix4 parentWorld = parent_ != nullptr ? parent_->GetWorldTransformation() : world_;
    boundingVolume_.Transform(QuadMatrix(parentWorld));
    box = boundingVolume_.GetCurrentBox();
}

void Sprite::Draw()
{
    const SpriteAnimation* animation = Current();
    RenderQueue* queue = RenderQueue::GetInstance();
    if (!IsVisible() || animation == nullptr || currentFrame_ >= animation->GetFramesCount() ||
        queue == nullptr)
    {
        return;
    }
    const Math::Matrix4 world = QuadMatrix(GetParentWorldMatrix());
    if (!IsOverlay())
    {
        boundingVolume_.Transform(world);
        const SceneGraph* scene = SceneGraph::GetCurrent();
        if (scene != nullptr && scene->GetViewFrustum().Classify(boundingVolume_.GetCurrentBox()) ==
                                    Math::ClassifyResult::Outside)
        {
            return;
        }
    }
    RenderQueueItem item;
    item.sprite = true;
    item.overlay = IsOverlay();
    item.texture = animation->GetTexture();
    item.color = Math::Vector4(modulationColor_.x, modulationColor_.y, modulationColor_.z, opacity_);
    item.worldMatrix = world;
    GetFrameTextureMatrix(item.textureMatrix);
    item.primitiveType = Renderer::PrimitiveTriangles;
    item.drawRangeIndex = 0;
    queue->Submit(item);
}

} // namespace Engine

#pragma once

#include "engine/Engine_Node.h"
#include "engine/Engine_SpriteAnimation.h"
#include "math/Math_BoundingBox.h"
#include "math/Math_Matrix4.h"
#include "math/Math_Vector4.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Engine
{

// A leaf that shows one frame of one of its sprite animations as a
// textured quad of the frame's size, placed by its parent. The scene
// update plays the current animation: while playing, the frame timer
// grows by speed x dt and the frame advances once the timer strictly
// exceeds the frame's delay, at most one frame per update (the excess is
// dropped). With loop set the frames run on from the loop end back to the
// loop start; without it they stop on the last frame. Either way the end
// flag marks the wrap.
//
// The current animation and frame always name existing ones once the
// sprite has animations: the setters ignore indices out of range and a
// read that finds them outside fails the archive. A sprite without
// animations (or whose animation has no frames) plays and draws nothing.
class Sprite : public Node
{
    CORE_DECLARE_OBJECT(Sprite)

public:
    static constexpr const char* ScriptTypeName = "Engine::Sprite";

    // No animations; what a read fills.
    Sprite() = default;
    explicit Sprite(const std::vector<Core::RefPtr<SpriteAnimation>>& animations);
    // The node part and the animation state; the animations are shared.
    Sprite(const Sprite& other) = default;

    // The node record; u32 animation count and each animation as an object
    // reference; modulation colour (4 x f32); opacity, frame timer, speed
    // (f32); current frame, current animation (i32); end of animation,
    // loop, playing, paused, flip horizontal, flip vertical (1 byte each).
    void Write(Core::File& file) const override;
    // The bounding volume keeps its default box. A current animation or
    // frame outside the animations read fails the archive and changes
    // nothing.
    void Read(Core::File& file) override;

    // Hook (and controllers), then AdvanceFrame.
    void Update(float dt) override;
    void Render(const Math::Frustum&) override { Draw(); }
    // Culled by the current view frustum unless the node is an overlay;
    // submits a sprite item with the current frame's texture matrix.
    void Draw() override;
    void DrawRecursive() override { Draw(); }

    // Replaces the animations, resets the animation state to frame 0 of
    // animation 0 (stopped, looping, speed 1, white, opaque, no flips) and
    // makes the local box the unit square of depth 1: the world matrix
    // scales it to the frame size.
    void SetAnimations(const std::vector<Core::RefPtr<SpriteAnimation>>& animations);

    void AdvanceFrame(float dt);
    // Maps the unit quad's texture coordinates onto the current frame's
    // cell, rows counted from the top of the sheet.
    void GetFrameTextureMatrix(Math::Matrix4& matrix) const;
    // The frame rectangle (mirrored by the flips) in world space, through
    // the parent's GetWorldTransformation.
    void GetWorldBoundingVolume(Math::BoundingBox& box);

    // --- Playing ----------------------------------------------------------
    // False stops and rewinds to frame 0. True restarts from frame 0 an
    // animation that stopped at its end, resumes a paused one.
    void SetPlaying(bool playing);
    void Pause();
    bool IsPlaying() const { return playing_; }
    bool IsPaused() const { return paused_; }
    bool IsEndOfAnimation() const { return endOfAnimation_; }
    void SetLoop(bool loop) { loop_ = loop; }
    bool GetLoop() const { return loop_; }
    void SetAnimationSpeed(float speed) { speed_ = speed; }
    float GetAnimationSpeed() const { return speed_; }
    float GetFrameTimer() const { return frameTimer_; }

    // An index past the frames is ignored. Without force, the current index
    // only clears the end flag. Otherwise frame := index, timer := 0, end
    // flag cleared. Answers the current frame afterwards.
    std::uint32_t SetCurrentFrameIndex(std::uint32_t index, bool force);
    std::uint32_t GetCurrentFrameIndex() const { return currentFrame_; }
    void GoToFirstFrame(bool force);
    void GoToLastFrame(bool force);
    // An index past the animations is ignored, and so is the current one
    // without force. Otherwise it becomes current and, when it has frames,
    // frame 0 with the timer at 0 and the end flag cleared. Answers the
    // current animation afterwards.
    std::uint32_t SetCurrentAnimationIndex(std::uint32_t index, bool force);
    std::uint32_t GetCurrentAnimationIndex() const { return currentAnimation_; }
    // The first animation of that exact name, or animation 0 when none has it.
    void SetCurrentAnimationName(const std::string& name, bool force);
    // Empty without animations.
    std::string GetCurrentAnimationName() const;

    // --- Look -------------------------------------------------------------
    void SetFlipHorizontal(bool flip) { flipHorizontal_ = flip; }
    bool GetFlipHorizontal() const { return flipHorizontal_; }
    void SetFlipVertical(bool flip) { flipVertical_ = flip; }
    bool GetFlipVertical() const { return flipVertical_; }
    // The drawn alpha; the colour's own alpha is kept but not drawn.
    void SetOpacity(float opacity) { opacity_ = opacity; }
    float GetOpacity() const { return opacity_; }
    void SetModulationColor(float red, float green, float blue, float alpha)
    {
        modulationColor_ = Math::Vector4(red, green, blue, alpha);
    }
    const Math::Vector4& GetModulationColor() const { return modulationColor_; }

    // --- Animations -------------------------------------------------------
    std::uint32_t GetAnimationsCount() const { return static_cast<std::uint32_t>(animations_.size()); }
    // None for an index past the animations.
    Core::RefPtr<SpriteAnimation> GetAnimation(std::uint32_t index) const;
    // None without animations.
    Core::RefPtr<SpriteAnimation> GetCurrentAnimation() const;
    // The current frame record; zeros when the current animation has none.
    const SpriteFrame& GetCurrentFrame() const;

private:
    // The current animation, or null.
    SpriteAnimation* Current() const;
    // Parent's world x Scale(+-frame width, +-frame height, 1).
    Math::Matrix4 QuadMatrix(const Math::Matrix4& parentWorld) const;

    std::vector<Core::RefPtr<SpriteAnimation>> animations_;
    Math::Vector4 modulationColor_{1.0f, 1.0f, 1.0f, 1.0f};
    float opacity_ = 1.0f;
    float frameTimer_ = 0.0f;
    float speed_ = 1.0f;
    std::uint32_t currentFrame_ = 0;
    std::uint32_t currentAnimation_ = 0;
    bool endOfAnimation_ = false;
    bool loop_ = true;
    bool playing_ = false;
    bool paused_ = false;
    bool flipHorizontal_ = false;
    bool flipVertical_ = false;
};

} // namespace Engine

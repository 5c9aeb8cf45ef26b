#pragma once

#include "core/Core_RefPtr.h"
#include "framework/Velkor_GameObject.h"
#include "framework/Velkor_SpriteAnimation.h"
#include "math/Math_Vector4.h"

#include <array>
#include <cstdint>
#include <vector>

namespace Engine
{
class Sprite;
}

namespace Velkor
{

class Circle;
class Level;
class Line;
class Viewport;

// The framework's animated image: a game object whose drawable is an engine
// sprite playing one of a list of sprite animations. Animation control is
// forwarded to the engine sprite.
//
// Every frame, before the collision step, the sprite hands the animation,
// frame and flips on show to its dynamic collision object, so the step
// tests the shapes of the frame that was drawn. The collision object also
// gets the frame count of each of the sprite's animations: an actor holding
// one animation with all the sprite's frames end to end is then addressed
// by the flat index (the frames of the earlier animations plus the frame).
//
// On request the sprite shows its collision data: its current collision
// segments and circles as Line and Circle objects of its layer, and its
// bounding rectangle as four lines. The sprite holds these objects by
// counted reference; one destroyed by anyone else is dropped from the
// display and made again at the next frame.
class Sprite : public GameObject
{
    CORE_DECLARE_OBJECT(Sprite)

public:
    static constexpr const char* ScriptTypeName = "Sprite";
    // How far the display objects stand in front of the sprite.
    static constexpr float DisplayZOffset = 0.1f;

    using AnimationList = std::vector<Core::RefPtr<SpriteAnimation>>;

    // No engine sprite: what a read completes. Animation operations do
    // nothing and getters answer 0.
    Sprite();
    // An engine sprite of the animations' engine animations, in order,
    // below the object's node: frame 0 of animation 0, stopped, looping.
    explicit Sprite(const AnimationList& animations);
    // The game object's copy with a clone of the engine sprite (animations
    // shared, animation state copied), the actor index, display flags and
    // colours; no display objects yet.
    Sprite(const Sprite& other);
    ~Sprite() override;

    // --- Animation ----------------------------------------------------------
    // True plays (a paused animation resumes, one stopped at its end starts
    // again); false stops on frame 0.
    void Play(bool play);
    void Pause();
    bool IsPlaying() const;
    bool IsPaused() const;
    void SetLoop(bool loop);
    bool GetLoop() const;
    // A negative speed becomes 0.
    void SetAnimationSpeed(float speed);
    float GetAnimationSpeed() const;
    // Nothing for the current index, even with force; an index past the
    // animations is ignored. Answers the current animation.
    std::uint32_t SetCurrentAnimationIndex(std::uint32_t index, bool force);
    std::uint32_t GetCurrentAnimationIndex() const;
    // The first animation of that name, the first animation when none has
    // it; nothing when the current one has it.
    void SetCurrentAnimationName(const std::string& name, bool force);
    // Nothing for the current frame, even with force; a frame past the
    // current animation's is ignored. Answers the current frame.
    std::uint32_t SetCurrentFrameIndex(std::uint32_t index, bool force);
    std::uint32_t GetCurrentFrameIndex() const;
    void SetFlipHorizontal(bool flip);
    void SetFlipVertical(bool flip);
    bool GetFlipHorizontal() const;
    bool GetFlipVertical() const;
    std::uint32_t GetAnimationsCount() const;
    // 0 for an animation or frame that does not exist.
    float GetFrameDelay(std::uint32_t animation, std::uint32_t frame) const;
    std::uint32_t GetFramesCount(std::uint32_t animation) const;
    std::int32_t GetFrameWidth(std::uint32_t animation) const;
    std::int32_t GetFrameHeight(std::uint32_t animation) const;
    // The engine sprite's overlay flag: drawn over every viewport in window
    // pixels and never culled.
    void SetHUDObject(bool hud);
    bool IsHUDObject() const;
    const Core::RefPtr<Engine::Sprite>& GetEngineSprite() const { return engineSprite_; }

    // --- Collision ------------------------------------------------------------
    // The number, in the game's collision assets, of the actor the sprite's
    // collision object uses; -1 for none. Only stored.
    void SetCollisionActorIndex(std::int32_t index) { actorIndex_ = index; }
    std::int32_t GetCollisionActorIndex() const { return actorIndex_; }
    // The frame count of each animation, as the collision object gets them.
    const std::vector<std::uint32_t>& GetAnimationFrameCounts() const { return frameCounts_; }

    // False destroys every display object of the collision shapes.
    void SetVisibleCollisionData(bool visible);
    bool GetVisibleCollisionData() const { return visibleCollisionData_; }
    // False destroys the four rectangle lines.
    void SetVisibleBoundingRectangle(bool visible);
    bool GetVisibleBoundingRectangle() const { return visibleBoundingRectangle_; }
    // Used for display objects from their next update on.
    void SetCollisionDataColor(float red, float green, float blue, float alpha);
    const Math::Vector4& GetCollisionDataColor() const { return collisionDataColor_; }
    void SetBoundingRectangleColor(float red, float green, float blue, float alpha);
    const Math::Vector4& GetBoundingRectangleColor() const { return boundingRectangleColor_; }
    const std::vector<Core::RefPtr<Line>>& GetCollisionSegmentLines() const { return segmentLines_; }
    const std::vector<Core::RefPtr<Circle>>& GetCollisionCircles() const { return circles_; }
    // Top, right, bottom, left edge; null before the first display.
    const std::array<Core::RefPtr<Line>, 4>& GetBoundingRectangleLines() const { return rectangleLines_; }
    std::uint32_t GetShownSegmentCount() const { return shownSegments_; }
    std::uint32_t GetShownCircleCount() const { return shownCircles_; }

    // False for no viewport, one without a camera, or a sprite wholly
    // outside the camera's view volume for the viewport's size.
    bool IsInViewport(const Viewport* viewport) const;

    // --- Per frame --------------------------------------------------------------
    // With a collision object: the frame hand-over and the collision-data
    // displays; then the game object's update.
    // The game object's record, then the engine animations (object records),
    // flips, loop, speed, paused, playing, animation and frame, overlay
    // flag, collision actor index, the display flags, shown counts and
    // colour, and the display circles and lines (object references). Read
    // takes the sheets from the game directory + "\Resources\Animations"
    // and binds the collision object to its actor again.
    void Write(Core::File& file) const override;
    void Read(Core::File& file) override;
    // The game object's sync record, then the animation's name, animation,
    // frame, flips and overlay flag. A receiver shows what the sender shows
    // and does not advance on its own.
    void NetworkSyncSend(Core::File& file) override;
    void NetworkSyncReceive(Core::File& file) override;
    // Contacts hold the other sprite by address, which a file cannot keep:
    // the level's save writes the other object's id for every rectangle
    // contact, then every shape contact (0xFFFFFFFF when that object is
    // gone); the load resolves them back within the level being read
    // (rectangle contacts over all its layers, shape contacts in this
    // sprite's layer).
    void WriteCollidedSpriteIds(Core::File& file) const;
    void ReadCollidedSpriteIds(Core::File& file, const Level& level);

    void UpdateEngineSide(float dt) override;
    // Opacity and modulation colour into the engine sprite.
    void PushVisualProperties(float dt) override;

private:
    void HandOverFrame();
    void ShowCollisionShapes();
    void ShowBoundingRectangle();
    // A new display object of the sprite's layer, in front of the sprite.
    Core::RefPtr<Line> MakeLine(const Math::Vector2D& from, const Math::Vector2D& to,
                                const Math::Vector4& color);
    Core::RefPtr<Circle> MakeCircle(const Math::Vector2D& center, float radius);
    void Colour(GameObject& object, const Math::Vector4& color) const;

    Core::RefPtr<Engine::Sprite> engineSprite_;
    std::vector<std::uint32_t> frameCounts_;
    std::int32_t actorIndex_ = -1;
    std::vector<Core::RefPtr<Line>> segmentLines_;
    std::vector<Core::RefPtr<Circle>> circles_;
    std::uint32_t shownSegments_ = 0;
    std::uint32_t shownCircles_ = 0;
    bool visibleCollisionData_ = false;
    std::array<Core::RefPtr<Line>, 4> rectangleLines_;
    bool visibleBoundingRectangle_ = false;
    Math::Vector4 collisionDataColor_{0.0f, 0.0f, 0.0f, 1.0f};
    Math::Vector4 boundingRectangleColor_{0.0f, 0.0f, 0.0f, 1.0f};
};

} // namespace Velkor

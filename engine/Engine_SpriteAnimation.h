#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "renderer/Renderer_ITexture.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Engine
{

// One frame of a sprite sheet: the cell at (column, row), counted from the
// top-left cell of the sheet, shown for `delay` seconds of play at speed 1.
struct SpriteFrame
{
    std::uint32_t column = 0;
    std::uint32_t row = 0;
    float delay = 0.0f;
};

// A sprite-sheet animation: the sheet texture, a grid of equal frames of
// frameWidth x frameHeight texels, the frames in play order with their
// delays, a name to select the animation by, and a loop range of frame
// indices. Sprites share animations by counted reference.
//
// The loop range always names existing frames: the setters clamp it to
// 0 ... frame count - 1 (0 ... 0 without frames), and a read that finds it
// outside fails the archive.
class SpriteAnimation : public Core::Object
{
    CORE_DECLARE_OBJECT(SpriteAnimation)

public:
    // The script type name of the "SpriteAnimation" method table.
    static constexpr const char* ScriptTypeName = "SpriteAnimation";

    // No frames, no texture, frame size 0: the state an archive read fills.
    SpriteAnimation() = default;
    // Loop range 0 ... frame count - 1 (0 ... 0 without frames), no name.
    SpriteAnimation(const Core::RefPtr<Renderer::ITexture>& texture, std::int32_t frameWidth,
                    std::int32_t frameHeight, const std::vector<SpriteFrame>& frames);

    // u32 frame count; per frame column, row (u32) and delay (f32); the
    // name; the sheet's file name (what follows the last path separator of
    // the texture's name; empty without a texture); loop start, loop end,
    // frame width, frame height (i32).
    void Write(Core::File& file) const override;
    // The sheet is taken from the texture cache, with mipmaps, at the
    // application's sprite-sheet directory + "\" + the file name. A short
    // record or a loop range outside the frames fails the archive and
    // changes nothing.
    void Read(Core::File& file) override;

    void SetName(const std::string& name) { name_ = name; }
    const std::string& GetName() const { return name_; }
    std::int32_t GetFrameWidth() const { return frameWidth_; }
    std::int32_t GetFrameHeight() const { return frameHeight_; }

    // Clamped to the frames.
    void SetLoopStartingFrame(std::int32_t frame) { loopStart_ = ClampToFrames(frame); }
    std::int32_t GetLoopStartingFrame() const { return loopStart_; }
    void SetLoopEndingFrame(std::int32_t frame) { loopEnd_ = ClampToFrames(frame); }
    std::int32_t GetLoopEndingFrame() const { return loopEnd_; }

    std::uint32_t GetFramesCount() const { return static_cast<std::uint32_t>(frames_.size()); }
    // The frame at `index`; a frame of zeros for an index past the last.
    const SpriteFrame& GetFrame(std::uint32_t index) const;
    const std::vector<SpriteFrame>& GetFrames() const { return frames_; }
    const Core::RefPtr<Renderer::ITexture>& GetTexture() const { return texture_; }

private:
    std::int32_t ClampToFrames(std::int32_t frame) const;
    bool IsFrameIndex(std::int32_t frame) const;

    std::vector<SpriteFrame> frames_;
    std::string name_;
    Core::RefPtr<Renderer::ITexture> texture_;
    std::int32_t loopStart_ = 0;
    std::int32_t loopEnd_ = 0;
    std::int32_t frameWidth_ = 0;
    std::int32_t frameHeight_ = 0;
};

} // namespace Engine

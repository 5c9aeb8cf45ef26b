#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "engine/Engine_SpriteAnimation.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Velkor
{

// One sprite sheet cut into one animation. The sheet is a grid of equal
// cells; frame i shows the cell at column i mod columns, row i div columns,
// counted from the top-left cell, for delays[i] seconds at speed 1. Sprites
// play the engine animation it holds, which any number of them share.
//
// A plain shared object: it is not registered by name and not stored; a
// sprite stores the engine animations instead.
class SpriteAnimation : public Core::Object
{
public:
    static constexpr const char* ScriptTypeName = "SpriteAnimation";

    // The sheet comes from the texture cache (mipmaps on), whatever it gives
    // for a file it cannot read. Frame size = sheet size / grid (integer
    // division); loop range 0 ... delays - 1. A grid of 0 (or fewer)
    // columns or rows cannot be cut: the animation gets no frames and the
    // sheet is reported.
    SpriteAnimation(const std::string& sheetPath, std::int32_t columns, std::int32_t rows,
                    const std::vector<float>& delays);
    SpriteAnimation(const SpriteAnimation&) = delete;
    SpriteAnimation& operator=(const SpriteAnimation&) = delete;

    void PushToScript(lua_State* state) override;

    // Also the engine animation's name, by which sprites select it.
    void SetName(const std::string& name);
    const std::string& GetName() const { return name_; }

    // Kept here and handed to the engine animation, which keeps the range
    // on its frames.
    void SetLoopStartingFrame(std::uint32_t frame);
    void SetLoopEndingFrame(std::uint32_t frame);
    std::uint32_t GetOwnLoopStartingFrame() const { return loopStart_; }
    std::uint32_t GetOwnLoopEndingFrame() const { return loopEnd_; }

    const Core::RefPtr<Engine::SpriteAnimation>& GetEngineAnimation() const { return animation_; }

    // One frame record per delay over a grid of `columns` (at least 1),
    // row by row from the top-left cell.
    static std::vector<Engine::SpriteFrame> CutFrames(std::int32_t columns, const std::vector<float>& delays);

private:
    Core::RefPtr<Engine::SpriteAnimation> animation_;
    std::string name_;
    std::uint32_t loopStart_ = 0;
    std::uint32_t loopEnd_ = 0;
};

} // namespace Velkor

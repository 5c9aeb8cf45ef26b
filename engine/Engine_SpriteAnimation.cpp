#include "engine/Engine_SpriteAnimation.h"

#include "core/Core_File.h"
#include "core/Core_String.h"
#include "engine/Engine_RenderingApplication.h"
#include "renderer/Renderer_TextureCache.h"

namespace Engine
{

CORE_DEFINE_OBJECT(SpriteAnimation, "Engine::SpriteAnimation", SpriteAnimation::ScriptTypeName,
                   "Engine_SpriteAnimation", __LINE__)

namespace
{

// Column, row and delay, four bytes each.
constexpr std::uint32_t FrameRecordSize = 12;

const SpriteFrame NoFrame{};

} // namespace

SpriteAnimation::SpriteAnimation(const Core::RefPtr<Renderer::ITexture>& texture, std::int32_t frameWidth,
                                 std::int32_t frameHeight, const std::vector<SpriteFrame>& frames)
    : frames_(frames), texture_(texture), frameWidth_(frameWidth), frameHeight_(frameHeight)
{
    loopEnd_ = ClampToFrames(static_cast<std::int32_t>(frames_.size()) - 1);
}

const SpriteFrame& SpriteAnimation::GetFrame(std::uint32_t index) const
{
    return index < frames_.size() ? frames_[index] : NoFrame;
}

std::int32_t SpriteAnimation::ClampToFrames(std::int32_t frame) const
{
    const auto last = static_cast<std::int32_t>(frames_.size()) - 1;
    if (frame > last)
    {
        frame = last;
    }
    return frame < 0 ? 0 : frame;
}

bool SpriteAnimation::IsFrameIndex(std::int32_t frame) const
{
    return frame == ClampToFrames(frame);
}

void SpriteAnimation::Write(Core::File& file) const
{
    file << static_cast<std::uint32_t>(frames_.size());
    for (const SpriteFrame& frame : frames_)
    {
        file << frame.column << frame.row << frame.delay;
    }
    file << name_;
    file << (texture_ ? Core::GetFileName(texture_->GetName()) : std::string());
    file << loopStart_ << loopEnd_ << frameWidth_ << frameHeight_;
}

void SpriteAnimation::Read(Core::File& file)
{
    std::uint32_t count = 0;
    if (!file.ReadExact(&count, sizeof count) || !file.Require(std::uint64_t{count} * FrameRecordSize))
    {
        return;
    }
    SpriteAnimation read;
    read.frames_.resize(count);
    for (SpriteFrame& frame : read.frames_)
    {
        file >> frame.column >> frame.row >> frame.delay;
    }
    std::string sheet;
    file >> read.name_ >> sheet;
    file >> read.loopStart_ >> read.loopEnd_ >> read.frameWidth_ >> read.frameHeight_;
    if (file.Failed())
    {
        return;
    }
    // AdvanceFrame jumps to the loop start and stops at the loop end, so
    // both must name frames the animation has.
    if (!read.IsFrameIndex(read.loopStart_) || !read.IsFrameIndex(read.loopEnd_))
    {
        file.SetError(Core::FileError::BadData);
        return;
    }
    if (!sheet.empty())
    {
        const RenderingApplication* application = RenderingApplication::GetInstance();
        const std::string directory = application != nullptr ? application->GetSpriteSheetDirectory() : "";
        read.texture_ = Renderer::LoadTexture(directory + "\\" + sheet, true);
    }
    frames_ = std::move(read.frames_);
    name_ = std::move(read.name_);
    texture_ = std::move(read.texture_);
    loopStart_ = read.loopStart_;
    loopEnd_ = read.loopEnd_;
    frameWidth_ = read.frameWidth_;
    frameHeight_ = read.frameHeight_;
}

} // namespace Engine

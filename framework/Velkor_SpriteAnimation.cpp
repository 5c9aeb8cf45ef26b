#include "framework/Velkor_SpriteAnimation.h"

#include "core/Core_ResourceReport.h"
#include "renderer/Renderer_TextureCache.h"

namespace Velkor
{

std::vector<Engine::SpriteFrame> SpriteAnimation::CutFrames(std::int32_t columns,
                                                            const std::vector<float>& delays)
{
    std::vector<Engine::SpriteFrame> frames;
    frames.reserve(delays.size());
    const auto width = static_cast<std::uint32_t>(columns);
    for (std::uint32_t i = 0; i < delays.size(); ++i)
    {
        frames.push_back({i % width, i / width, delays[i]});
    }
    return frames;
}

SpriteAnimation::SpriteAnimation(const std::string& sheetPath, std::int32_t columns, std::int32_t rows,
                                 const std::vector<float>& delays)
{
    Core::RefPtr<Renderer::ITexture> texture(Renderer::LoadTexture(sheetPath, true));
    if (columns < 1 || rows < 1)
    {
        Core::ReportUnreadableResource(sheetPath,
                                       "a grid of " + std::to_string(columns) + " columns and " +
                                           std::to_string(rows) + " rows cuts no frames",
                                       "its animation has no frames");
        animation_ = new ("Velkor_SpriteAnimation", __LINE__)
            Engine::SpriteAnimation(texture, 0, 0, std::vector<Engine::SpriteFrame>());
        return;
    }
    const auto frameWidth =
        static_cast<std::int32_t>(texture->GetWidth() / static_cast<std::uint32_t>(columns));
    const auto frameHeight =
        static_cast<std::int32_t>(texture->GetHeight() / static_cast<std::uint32_t>(rows));
    animation_ = new ("Velkor_SpriteAnimation", __LINE__)
        Engine::SpriteAnimation(texture, frameWidth, frameHeight, CutFrames(columns, delays));
}

void SpriteAnimation::PushToScript(lua_State* state)
{
    Core::PushUserdata(state, this, ScriptTypeName);
}

void SpriteAnimation::SetName(const std::string& name)
{
    name_ = name;
    animation_->SetName(name);
}

void SpriteAnimation::SetLoopStartingFrame(std::uint32_t frame)
{
    loopStart_ = frame;
    animation_->SetLoopStartingFrame(static_cast<std::int32_t>(frame));
}

void SpriteAnimation::SetLoopEndingFrame(std::uint32_t frame)
{
    loopEnd_ = frame;
    animation_->SetLoopEndingFrame(static_cast<std::int32_t>(frame));
}

} // namespace Velkor

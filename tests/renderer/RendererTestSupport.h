#pragma once

#include "core/Core_RefPtr.h"
#include "renderer/Renderer_ITexture.h"
#include "renderer/Renderer_RecordingRenderer.h"
#include "renderer/Renderer_State.h"

#include <string>

namespace RendererTest
{

// A texture without pixels: a name and a size.
class FakeTexture : public Renderer::ITexture
{
public:
    explicit FakeTexture(std::string name) : name_(std::move(name)) {}

    std::uint32_t GetWidth() const override { return 16; }
    std::uint32_t GetHeight() const override { return 16; }
    std::uint32_t GetFormat() const override { return 0; }
    std::uint32_t GetType() const override { return 1; }
    std::uint32_t GetGLName() const override { return 0; }
    void Reload() override {}
    void DeleteGLTexture() override {}
    bool HasMipmaps() const override { return false; }
    std::string GetName() const override { return name_; }

private:
    std::string name_;
};

// A new recording renderer, recorded as the process-wide one.
inline Core::RefPtr<Renderer::RecordingRenderer> MakeRenderer()
{
    return Core::RefPtr<Renderer::RecordingRenderer>(new Renderer::RecordingRenderer());
}

// The setter call a state makes when applied, as "SetName(fields)".
inline std::string AppliedText(const Renderer::State& state, Renderer::RecordingRenderer& renderer)
{
    renderer.ClearLog();
    state.Apply(renderer);
    return renderer.GetCalls().empty() ? std::string() : renderer.GetCalls().back().ToString();
}

} // namespace RendererTest

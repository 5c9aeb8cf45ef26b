#pragma once

#include "core/Core_RefPtr.h"
#include "renderer/Renderer_ITexture.h"
#include "renderer/Renderer_RecordingRenderer.h"
#include "renderer/Renderer_StateText.h"

#include <cstdint>
#include <string>
#include <vector>

namespace SceneTest
{

// A texture without a graphics library: a size and a name.
class FakeTexture : public Renderer::ITexture
{
public:
    explicit FakeTexture(std::string name, std::uint32_t width = 64, std::uint32_t height = 64)
        : name_(std::move(name)), width_(width), height_(height)
    {
    }
    const char* GetClassName() const override { return "SceneTest::FakeTexture"; }
    std::uint32_t GetWidth() const override { return width_; }
    std::uint32_t GetHeight() const override { return height_; }
    std::uint32_t GetFormat() const override { return 0; }
    std::uint32_t GetType() const override { return 1; }
    std::uint32_t GetGLName() const override { return 0; }
    void Reload() override {}
    void DeleteGLTexture() override {}
    bool HasMipmaps() const override { return false; }
    std::string GetName() const override { return name_; }

private:
    std::string name_;
    std::uint32_t width_;
    std::uint32_t height_;
};

inline Core::RefPtr<Renderer::ITexture> MakeTexture(const std::string& name)
{
    return Core::RefPtr<Renderer::ITexture>(new FakeTexture(name));
}

// A recording renderer, recorded as the process-wide one (the techniques
// save and restore through it).
inline Core::RefPtr<Renderer::RecordingRenderer> MakeRenderer()
{
    return Core::RefPtr<Renderer::RecordingRenderer>(new Renderer::RecordingRenderer());
}

// The calls whose names are in `names`, in order, as "Name(arguments)".
inline std::vector<std::string> CallsNamed(const Renderer::RecordingRenderer& renderer,
                                           const std::vector<std::string>& names)
{
    std::vector<std::string> out;
    for (const Renderer::RecordedCall& call : renderer.GetCalls())
    {
        for (const std::string& name : names)
        {
            if (call.name == name)
            {
                out.push_back(call.ToString());
                break;
            }
        }
    }
    return out;
}

} // namespace SceneTest

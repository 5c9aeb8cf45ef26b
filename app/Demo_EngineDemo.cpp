#include "Demo_EngineDemo.h"

#include "Demo_TextMesh.h"
#include "input/Input_KeyCodes.h"
#include "math/Math_Matrix4.h"
#include "pal/PAL_Window.h"
#include "renderer/Renderer_Pass.h"
#include "renderer/Renderer_Technique.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb/stb_image_write.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

bool ParseDemoOptions(const std::vector<std::string>& arguments, DemoOptions& options, std::string& error)
{
    for (std::size_t i = 0; i < arguments.size(); ++i)
    {
        const std::string& option = arguments[i];
        if (option != "--frames" && option != "--screenshot")
        {
            error = "unknown option \"" + option + "\"";
            return false;
        }
        if (i + 1 >= arguments.size())
        {
            error = option + " needs a value";
            return false;
        }
        const std::string& value = arguments[++i];
        if (option == "--screenshot")
        {
            options.screenshot = value;
            continue;
        }
        char* end = nullptr;
        errno = 0;
        const unsigned long long count = std::strtoull(value.c_str(), &end, 10);
        if (value.empty() || value[0] == '-' || *end != '\0' || errno != 0 || count > UINT32_MAX)
        {
            error = "--frames takes a count of frames, not \"" + value + "\"";
            return false;
        }
        options.frames = static_cast<std::uint32_t>(count);
    }
    return true;
}

Engine::DisplayRequest EngineDemo::GetDisplayRequest()
{
    return {1024, 768, 85, 0, false, true};
}

EngineDemo::EngineDemo(const DemoOptions& options)
    : Engine::RenderingApplication(GetDisplayRequest()), options_(options)
{
    GetWindow().SetTitle("Brillow engine demo");
    SetDesiredFrameRate(60.0);
    LockFrameRate(true);
    font_ = GetFontCache().GetFont("");
    effect_ = Renderer::CreateNearestTextureEffect();
    if (options_.frames && *options_.frames == 0)
    {
        Exit();
    }
}

const char* EngineDemo::GetClassName() const
{
    return "EngineDemo";
}

std::uint32_t EngineDemo::GetSize() const
{
    return sizeof(EngineDemo);
}

void EngineDemo::RunFrame()
{
    ++framesRun_;
    GetKeyboard()->Update();
    GetMouse()->Update();
    if (GetKeyboard()->IsTriggered(Input::Key::Escape))
    {
        Exit();
    }
    Draw();
    if (options_.frames && framesRun_ >= *options_.frames)
    {
        Exit();
    }
}

void EngineDemo::Shutdown()
{
    if (!options_.screenshot.empty())
    {
        Draw();
        screenshotWritten_ = WriteScreenshot();
        if (!screenshotWritten_)
        {
            std::fprintf(stderr, "engine_demo: cannot write the screenshot \"%s\"\n",
                         options_.screenshot.c_str());
        }
    }
    Engine::RenderingApplication::Shutdown();
}

void EngineDemo::Draw()
{
    Renderer::IRenderer& renderer = *GetRenderer();
    const Renderer::DisplayDescription description = renderer.GetDisplayDescription();
    const auto width = static_cast<float>(description.width);
    const auto height = static_cast<float>(description.height);

    Renderer::ViewportRecord viewport;
    viewport.width = static_cast<std::int32_t>(description.width);
    viewport.height = static_cast<std::int32_t>(description.height);
    renderer.SetViewport(viewport);
    renderer.SetProjectionMatrix(Math::Matrix4::Orthographic2D(0.0f, width, 0.0f, height));
    renderer.SetViewMatrix(Math::Matrix4::MakeIdentity());
    renderer.ClearBuffers(Math::Vector4(0.06f, 0.08f, 0.16f, 1.0f), 1.0f, 0);

    const float pulse = 0.75f + 0.25f * std::sin(static_cast<float>(framesRun_) * 0.1f);
    DrawCentred("Brillow engine demo", height - 110.0f, 3.0f, Math::Vector4(1.0f, 0.85f * pulse, 0.2f, 1.0f));

    const Math::Vector4 white(1.0f, 1.0f, 1.0f, 1.0f);
    const Math::Vector4 sky(0.55f, 0.8f, 1.0f, 1.0f);
    DrawCentred("The quick brown fox jumps over the lazy dog.", height - 220.0f, 2.0f, white);
    DrawCentred("PACK MY BOX WITH FIVE DOZEN LIQUOR JUGS!", height - 270.0f, 2.0f, white);
    DrawCentred("0123456789 !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~", height - 320.0f, 2.0f, sky);
    DrawText("Bitmap fonts lay their glyphs out in cells;\nline feeds start new lines.", 80.0f,
             height - 400.0f, 2.0f, Math::Vector4(0.6f, 1.0f, 0.6f, 1.0f));

    std::int32_t mouseX = 0;
    std::int32_t mouseY = 0;
    GetMouse()->GetPosition(mouseX, mouseY);
    char status[160];
    std::snprintf(status, sizeof(status), "Frame %u   %.1f fps   mouse %d, %d", framesRun_,
                  GetCurrentFrameRate(), mouseX, mouseY);
    DrawText(status, 80.0f, 120.0f, 2.0f, Math::Vector4(1.0f, 0.6f, 0.5f, 1.0f));
    DrawText("Press Escape or close the window to quit.", 80.0f, 60.0f, 1.0f, sky);
}

void EngineDemo::DrawText(const std::string& text, float x, float y, float scale, const Math::Vector4& color)
{
    const Core::RefPtr<Engine::Mesh> mesh = BuildTextMesh(*font_, text, color);
    if (mesh->GetDrawRangeCount() == 0)
    {
        return;
    }
    Renderer::IRenderer& renderer = *GetRenderer();
    renderer.SetTexture(0, font_->GetTexture());
    const Core::RefPtr<Renderer::Technique> technique = effect_->GetTechnique(0);
    technique->SaveStates();
    technique->GetPass(0)->Apply();
    renderer.SetWorldMatrix(Math::Matrix4::Translation(x, y, 0.0f) *
                            Math::Matrix4::Scale(scale, scale, 1.0f));
    mesh->BindArrays(renderer);
    mesh->Draw(renderer, 0);
    mesh->UnbindArrays(renderer);
    technique->RestoreStates();
    renderer.SetTexture(0, nullptr);
    renderer.SetWorldMatrix(Math::Matrix4::MakeIdentity());
}

void EngineDemo::DrawCentred(const std::string& text, float y, float scale, const Math::Vector4& color)
{
    const float windowWidth = static_cast<float>(GetRenderer()->GetDisplayDescription().width);
    float width = 0.0f;
    float height = 0.0f;
    font_->GetTextSize(text, width, height);
    DrawText(text, std::floor((windowWidth - scale * width) / 2.0f), y, scale, color);
}

bool EngineDemo::WriteScreenshot()
{
    Renderer::IRenderer& renderer = *GetRenderer();
    const Renderer::DisplayDescription description = renderer.GetDisplayDescription();
    const std::size_t row = std::size_t{description.width} * 3;
    std::vector<std::uint8_t> pixels(row * description.height);
    renderer.ReadPixels(pixels.data());
    // The renderer reads rows from the bottom; PNG stores them from the top.
    std::vector<std::uint8_t> flipped(pixels.size());
    for (std::uint32_t y = 0; y < description.height; ++y)
    {
        std::copy_n(pixels.data() + (description.height - 1 - y) * row, row, flipped.data() + y * row);
    }
    return stbi_write_png(options_.screenshot.c_str(), static_cast<int>(description.width),
                          static_cast<int>(description.height), 3, flipped.data(),
                          static_cast<int>(row)) != 0;
}

Core::RefPtr<Engine::Application> CreateApplication(const std::vector<std::string>& arguments)
{
    DemoOptions options;
    std::string error;
    if (!ParseDemoOptions(arguments, options, error))
    {
        std::fprintf(stderr, "engine_demo: %s\nusage: engine_demo [--frames N] [--screenshot FILE]\n",
                     error.c_str());
        return nullptr;
    }
    return Core::RefPtr<Engine::Application>(new ("Demo_EngineDemo", __LINE__) EngineDemo(options));
}

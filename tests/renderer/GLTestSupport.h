#pragma once

#include "pal/PAL_Window.h"
#include "renderer/Renderer_OGLRenderer.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace RendererTest
{

using Rgb = std::array<std::uint8_t, 3>;

// A visible window under the virtual display and an OpenGL renderer on it,
// recorded as the process-wide renderer.
class GLDisplayTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
        {
            GTEST_SKIP() << "no display";
        }
        // Nothing may wait for a click.
        setenv("ENGINE_HEADLESS", "1", 1);
        MakeRenderer(64, 64);
    }

    void TearDown() override
    {
        renderer.Reset();
        window.reset();
    }

    void MakeRenderer(std::uint32_t width, std::uint32_t height)
    {
        renderer.Reset();
        window.reset();
        description = Renderer::DisplayDescription();
        description.width = width;
        description.height = height;
        description.refreshRate = 85;
        description.vsync = true;
        Renderer::OGLRenderer::ChoosePixelFormat(description);
        window = std::make_unique<PAL::Window>(static_cast<std::int32_t>(width),
                                               static_cast<std::int32_t>(height));
        window->SetVisible(true);
        description.window = window.get();
        renderer = Renderer::OGLRenderer::Create(description);
    }

    // The back buffer as RGB rows from the bottom.
    std::vector<std::uint8_t> ReadAll()
    {
        std::vector<std::uint8_t> pixels(std::size_t{description.width} * description.height * 3, 0);
        renderer->ReadPixels(pixels.data());
        return pixels;
    }

    Rgb PixelAt(const std::vector<std::uint8_t>& pixels, std::uint32_t x, std::uint32_t y) const
    {
        const std::uint8_t* p = pixels.data() + (std::size_t{y} * description.width + x) * 3;
        return {p[0], p[1], p[2]};
    }

    // Only black pixels.
    static bool AllBlack(const std::vector<std::uint8_t>& pixels)
    {
        for (std::uint8_t byte : pixels)
        {
            if (byte != 0)
            {
                return false;
            }
        }
        return true;
    }

    static GLint GetInteger(GLenum name)
    {
        GLint value = 0;
        glGetIntegerv(name, &value);
        return value;
    }

    Renderer::DisplayDescription description;
    std::unique_ptr<PAL::Window> window;
    Core::RefPtr<Renderer::OGLRenderer> renderer;
};

} // namespace RendererTest

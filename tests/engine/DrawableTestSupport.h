#pragma once

#include "SceneTestSupport.h"

#include "engine/Engine_Camera.h"
#include "engine/Engine_SceneGraph.h"
#include "engine/Engine_TransformationGroup.h"
#include "engine/Engine_Viewport.h"

#include <gtest/gtest.h>
#include <stb/stb_image_write.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace DrawableTest
{

// The test font: cell 16, line height 20, space advance 5; 'A' advances 9
// with bearing 1.5 and no kerning; 'B' advances 10 with bearing 2.5 and
// kerning -1. Every other character has zero metrics.
constexpr float Cell = 16.0f;
constexpr float LineHeight = 20.0f;

inline void PutBytes(std::vector<std::uint8_t>& out, const void* value, std::size_t size)
{
    const auto* bytes = static_cast<const std::uint8_t*>(value);
    out.insert(out.end(), bytes, bytes + size);
}

// Writes "<folder>/<name>.fbf" and a 160 x 160 "<name>.png"; answers the
// font path.
inline std::string WriteFont(const std::filesystem::path& folder, const std::string& name)
{
    std::vector<std::uint8_t> table;
    const std::uint32_t nameLength = 0;
    PutBytes(table, &nameLength, 4);
    const std::int32_t header[8] = {
        0, 12, 0, static_cast<std::int32_t>(Cell), 0, 2, static_cast<std::int32_t>(LineHeight), 0};
    PutBytes(table, header, sizeof header);
    for (int code = 32; code < 128; ++code)
    {
        std::int32_t values[5] = {};
        float bearing = 0.0f;
        std::int32_t kerning = 0;
        if (code == ' ')
        {
            values[1] = 5;
        }
        else if (code == 'A')
        {
            values[1] = 9;
            bearing = 1.5f;
        }
        else if (code == 'B')
        {
            values[1] = 10;
            bearing = 2.5f;
            kerning = -1;
        }
        const auto shortCode = static_cast<std::uint16_t>(code);
        const std::int32_t offset = 0;
        PutBytes(table, &shortCode, 2);
        PutBytes(table, values, sizeof values);
        PutBytes(table, &bearing, 4);
        PutBytes(table, &kerning, 4);
        PutBytes(table, &offset, 4);
    }
    const std::string base = (folder / name).string();
    std::ofstream file(base + ".fbf", std::ios::binary);
    file.write(reinterpret_cast<const char*>(table.data()), static_cast<std::streamsize>(table.size()));
    const std::vector<std::uint8_t> pixels(160 * 160 * 4, 255);
    EXPECT_NE(stbi_write_png((base + ".png").c_str(), 160, 160, 4, pixels.data(), 160 * 4), 0);
    return base;
}

// A recording renderer and a current scene graph rendering its only
// viewport (so overlay items are kept), a camera 100 units up the z axis
// looking at the origin with a 90 degree view through a 100 x 100
// viewport, and a folder for files.
class DrawableFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        renderer = SceneTest::MakeRenderer();
        scene = Core::RefPtr<Engine::SceneGraph>(new Engine::SceneGraph(renderer.Get()));
        scene->SetViewportCount(1);
        scene->SetCurrentViewportIndex(0);
        const Core::RefPtr<Engine::TransformationGroup> mount(new Engine::TransformationGroup());
        mount->SetTransformation(Math::Matrix4::Translation(0.0f, 0.0f, 100.0f));
        camera = Core::RefPtr<Engine::Camera>(new Engine::Camera(90.0f, 1.0f, 1000.0f));
        mount->AddChild(camera);
        scene->AddChild(mount);
        viewport = Core::RefPtr<Engine::Viewport>(new Engine::Viewport(0, 0, 100, 100, 0));
        folder = std::filesystem::temp_directory_path() /
                 ("engine_drawables_" + std::to_string(::getpid()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder);
    }

    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    // `node` under a new transformation group at (x, y, z) in the scene;
    // answers the group.
    Core::RefPtr<Engine::TransformationGroup> Place(const Core::RefPtr<Engine::Node>& node, float x, float y,
                                                    float z = 0.0f)
    {
        const Core::RefPtr<Engine::TransformationGroup> group(new Engine::TransformationGroup());
        group->SetTransformation(Math::Matrix4::Translation(x, y, z));
        group->AddChild(node);
        scene->AddChild(group);
        return group;
    }

    // Updates the scene and renders the view; answers the draws made.
    std::vector<Renderer::RecordedDraw> RenderView()
    {
        scene->MakeCurrentAndUpdate(0.0f);
        renderer->ClearLog();
        scene->RenderView(camera, viewport);
        return renderer->GetDraws();
    }

    Core::RefPtr<Renderer::RecordingRenderer> renderer;
    Core::RefPtr<Engine::SceneGraph> scene;
    Core::RefPtr<Engine::Camera> camera;
    Core::RefPtr<Engine::Viewport> viewport;
    std::filesystem::path folder;
};

} // namespace DrawableTest

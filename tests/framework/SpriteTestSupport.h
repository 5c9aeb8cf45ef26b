#pragma once

#include "collision/Collision_CollisionActor.h"
#include "collision/Collision_ZibRect.h"
#include "framework/Velkor_SpriteAnimation.h"
#include "math/Math_Vector2D.h"

#include <gtest/gtest.h>
#include <stb/stb_image_write.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace SpriteTest
{

// A folder of its own for one test's sheets, removed with them.
class SheetFolder
{
public:
    SheetFolder()
    {
        static int counter = 0;
        path_ = std::filesystem::temp_directory_path() /
                ("framework_sheets_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
        std::filesystem::create_directories(path_);
    }
    ~SheetFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    SheetFolder(const SheetFolder&) = delete;
    SheetFolder& operator=(const SheetFolder&) = delete;

    // A grey opaque PNG of that size; answers its path.
    std::string Sheet(const std::string& name, int width, int height) const
    {
        const std::string path = (path_ / name).string();
        const std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 4, 200);
        EXPECT_NE(stbi_write_png(path.c_str(), width, height, 4, pixels.data(), width * 4), 0);
        return path;
    }

private:
    std::filesystem::path path_;
};

inline Core::RefPtr<Velkor::SpriteAnimation> MakeAnimation(const std::string& sheet, int columns, int rows,
                                                           std::size_t frames, float delay = 1.0f)
{
    return Core::RefPtr<Velkor::SpriteAnimation>(
        new Velkor::SpriteAnimation(sheet, columns, rows, std::vector<float>(frames, delay)));
}

// The shapes of one actor frame, in object units.
struct FrameShapes
{
    Collision2D::ZibRect rectangle{10.0f, -10.0f, 10.0f, -10.0f};
    std::vector<std::pair<Math::Vector2D, float>> circles;
    std::vector<std::pair<Math::Vector2D, Math::Vector2D>> segments;
};

// An actor of one animation holding the frames in order.
inline Collision2D::CollisionActor* MakeActor(const std::vector<FrameShapes>& frames)
{
    auto* actor = new Collision2D::CollisionActor();
    auto* animation = new Collision2D::CollisionAnimation();
    for (const FrameShapes& shapes : frames)
    {
        auto* frame = new Collision2D::CollisionFrame();
        frame->SetBoundingRectangle(shapes.rectangle, true);
        for (const auto& circle : shapes.circles)
        {
            frame->AddCircle(circle.first, circle.second, 0, true);
        }
        for (const auto& segment : shapes.segments)
        {
            frame->AddLineSegment(segment.first, segment.second, 0, true);
        }
        animation->AddCollisionFrame(frame);
    }
    actor->AddCollisionAnimation(animation);
    return actor;
}

} // namespace SpriteTest

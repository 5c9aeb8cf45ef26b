#include "RenderQueuePixels.h"

#include "core/Core_MemoryFile.h"
#include "engine/Engine_RenderingApplication.h"
#include "engine/Engine_SpriteAnimation.h"
#include "renderer/Renderer_RecordingRenderer.h"
#include "renderer/Renderer_TextureCache.h"

#include <gtest/gtest.h>
#include <stb/stb_image.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace
{

using Rgb = std::array<int, 3>;

// An image loaded as RGB, rows from the top.
class Picture
{
public:
    explicit Picture(const std::string& path)
    {
        pixels_ = stbi_load(path.c_str(), &width_, &height_, nullptr, 3);
    }
    ~Picture() { stbi_image_free(pixels_); }
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    bool Loaded() const { return pixels_ != nullptr; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    // (x, y) from the top-left.
    Rgb At(int x, int y) const
    {
        const unsigned char* p = pixels_ + (static_cast<std::size_t>(y) * width_ + x) * 3;
        return {p[0], p[1], p[2]};
    }

private:
    unsigned char* pixels_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

bool Near(const Rgb& a, const Rgb& b, int tolerance)
{
    for (int i = 0; i < 3; ++i)
    {
        if (std::abs(a[i] - b[i]) > tolerance)
        {
            return false;
        }
    }
    return true;
}

// Whether `pixel` is `colour` laid over `background` with a coverage of at
// least `least`: smoothed lines spread over two pixels and cover each in part.
bool Covers(const Rgb& pixel, const Rgb& colour, const Rgb& background, float least)
{
    int channel = 0;
    for (int i = 1; i < 3; ++i)
    {
        channel = std::abs(colour[i] - background[i]) > std::abs(colour[channel] - background[channel])
                      ? i
                      : channel;
    }
    const float coverage = static_cast<float>(pixel[channel] - background[channel]) /
                           static_cast<float>(colour[channel] - background[channel]);
    if (coverage < least)
    {
        return false;
    }
    Rgb blended;
    for (int i = 0; i < 3; ++i)
    {
        blended[i] =
            background[i] + static_cast<int>(coverage * static_cast<float>(colour[i] - background[i]));
    }
    return Near(pixel, blended, 12);
}

Rgb ToRgb(float r, float g, float b)
{
    return {static_cast<int>(r * 255.0f + 0.5f), static_cast<int>(g * 255.0f + 0.5f),
            static_cast<int>(b * 255.0f + 0.5f)};
}

class DrawablesDisplayTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
        {
            GTEST_SKIP() << "no display";
        }
        setenv("ENGINE_HEADLESS", "1", 1);
        folder =
            std::filesystem::temp_directory_path() / ("engine_drawables_display_" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
    }

    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    // Runs the demo with `arguments` and a screenshot into `name`; the
    // program must exit 0 and leave a picture of the whole 1024 x 768 window.
    std::unique_ptr<Picture> RunDemo(const std::string& arguments, const std::string& name)
    {
        const std::string screenshot = (folder / name).string();
        const std::string command =
            std::string("\"") + ENGINE_DEMO_PATH + "\" " + arguments + " --screenshot \"" + screenshot + "\"";
        const int status = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;
        auto shot = std::make_unique<Picture>(screenshot);
        EXPECT_TRUE(shot->Loaded()) << screenshot;
        if (shot->Loaded())
        {
            EXPECT_EQ(shot->Width(), 1024);
            EXPECT_EQ(shot->Height(), 768);
        }
        return shot;
    }

    std::filesystem::path folder;

    // A checksum of the picture's rows outside the window rows from
    // `skipFrom` up to `skipTo`.
    static std::uint64_t ChecksumOutside(const Picture& shot, int skipFrom, int skipTo)
    {
        std::vector<std::uint8_t> rows;
        for (int y = 0; y < shot.Height(); ++y)
        {
            const int windowY = shot.Height() - 1 - y;
            if (windowY >= skipFrom && windowY < skipTo)
            {
                continue;
            }
            for (int x = 0; x < shot.Width(); ++x)
            {
                const Rgb pixel = shot.At(x, y);
                rows.insert(rows.end(), {static_cast<std::uint8_t>(pixel[0]), static_cast<std::uint8_t>(pixel[1]),
                                         static_cast<std::uint8_t>(pixel[2])});
            }
        }
        return RenderQueuePixels::Checksum(rows.data(), rows.size());
    }
};

// Window pixels of the demo's drawables scene have their origin at the lower
// left of the 1024 x 768 window; the screenshot's rows run from the top.
constexpr int WindowHeight = 768;

// The demo's drawables scene after 60 frames of 1/60 s, as its screenshot
// shows it: every kind of drawable where the scene puts it.
TEST_F(DrawablesDisplayTest, DemoSceneShowsTextSpritesLinesAndParticles)
{
    const std::unique_ptr<Picture> picture = RunDemo("--scene drawables --frames 60", "drawables.png");
    ASSERT_FALSE(HasFailure());
    const Picture& shot = *picture;
    const auto at = [&](int x, int y) { return shot.At(x, WindowHeight - 1 - y); };
    // How many pixels of the box (x0, y0)-(x1, y1) are near `colour`.
    const auto count = [&](int x0, int y0, int x1, int y1, const Rgb& colour, int tolerance)
    {
        int n = 0;
        for (int y = y0; y < y1; ++y)
        {
            for (int x = x0; x < x1; ++x)
            {
                n += Near(at(x, y), colour, tolerance) ? 1 : 0;
            }
        }
        return n;
    };
    const Rgb background = ToRgb(0.06f, 0.08f, 0.16f);
    EXPECT_TRUE(Near(at(950, 250), background, 2));

    // The title, in gold, three texels to a pixel.
    EXPECT_GT(count(300, 660, 724, 760, ToRgb(1.0f, 0.85f, 0.2f), 8), 1000);

    // Sprites: 60 steps with frames of 0.06 s show frame 15 mod 8 = 7, the
    // last cell of the sheet's second row from the top. Its fill colour is
    // read from the generated sheet.
    const Picture sheet(std::string(ENGINE_DEMO_DIR) + "/Resources/Animations/DemoSheet.png");
    ASSERT_TRUE(sheet.Loaded());
    const Rgb frame7 = sheet.At(3 * 32 + 20, 32 + 20);
    const Rgb frame3 = sheet.At(3 * 32 + 20, 20);
    ASSERT_FALSE(Near(frame7, frame3, 20));
    const Rgb white{255, 255, 255};
    // The animated sprite covers x 116 to 244 and y 406 to 534: its marker
    // sits top left. The mirrored one (x 296 to 424) has it top right.
    EXPECT_TRUE(Near(at(148, 502), white, 6));
    EXPECT_TRUE(Near(at(212, 502), frame7, 6));
    EXPECT_TRUE(Near(at(180, 440), frame7, 6));
    EXPECT_TRUE(Near(at(392, 502), white, 6));
    EXPECT_TRUE(Near(at(328, 502), frame7, 6));

    // The circle (radius 110 about (700, 470)) at its four quarters, and the
    // star's lower edge at y 425 (the star turned 60 degrees looks the same).
    const auto covered = [&](int x0, int y0, int x1, int y1, const Rgb& colour)
    {
        int n = 0;
        for (int y = y0; y < y1; ++y)
        {
            for (int x = x0; x < x1; ++x)
            {
                n += Covers(at(x, y), colour, background, 0.4f) ? 1 : 0;
            }
        }
        return n;
    };
    const Rgb circle = ToRgb(1.0f, 0.85f, 0.3f);
    for (const auto& [x, y] : {std::pair{810, 470}, {700, 580}, {590, 470}, {700, 360}})
    {
        SCOPED_TRACE(std::to_string(x) + ", " + std::to_string(y));
        EXPECT_GE(covered(x - 2, y - 2, x + 3, y + 3, circle), 5);
    }
    EXPECT_GE(covered(690, 422, 711, 429, ToRgb(0.5f, 0.9f, 1.0f)), 21);
    // Nothing is drawn inside the ring between the star and the circle.
    EXPECT_TRUE(Near(at(795, 470), background, 2));

    // Particles glow around (512, 200) and nowhere far from it.
    int lit = 0;
    for (int y = 80; y < 320; ++y)
    {
        for (int x = 392; x < 632; ++x)
        {
            lit += Near(at(x, y), background, 24) ? 0 : 1;
        }
    }
    EXPECT_GT(lit, 1000);
}

// The demo's default scene, run for a count of frames, writes its last frame:
// the lines of text stand in the default font where the scene puts them.
TEST_F(DrawablesDisplayTest, DefaultSceneShowsItsTextInTheDefaultFont)
{
    const std::unique_ptr<Picture> picture = RunDemo("--frames 120", "text.png");
    ASSERT_FALSE(HasFailure());
    const Picture& shot = *picture;
    const auto at = [&](int x, int y) { return shot.At(x, WindowHeight - 1 - y); };
    // Pixels near `colour` in the band of window rows y0 to y1.
    const auto count = [&](int y0, int y1, const Rgb& colour)
    {
        int n = 0;
        for (int y = y0; y < y1; ++y)
        {
            for (int x = 0; x < 1024; ++x)
            {
                n += Near(at(x, y), colour, 8) ? 1 : 0;
            }
        }
        return n;
    };
    const Rgb background = ToRgb(0.06f, 0.08f, 0.16f);
    const Rgb white{255, 255, 255};
    // The two white lines, in cells of 20 texels scaled twice, stand on
    // y 548 and 498; the green paragraph's two lines between y 300 and 408.
    EXPECT_GT(count(548, 588, white), 1500);
    EXPECT_GT(count(498, 538, white), 1500);
    EXPECT_GT(count(300, 408, ToRgb(0.6f, 1.0f, 0.6f)), 2500);
    // Between the paragraph and the status line nothing is drawn.
    EXPECT_EQ(count(200, 290, white), 0);
    EXPECT_TRUE(Near(at(512, 248), background, 2));
}

// Both demo scenes draw the pictures recorded before the render queue's
// draw loop skipped settings already in place. The status line is left out:
// it shows the measured frame rate, which changes from run to run. The
// drawables picture was recorded again when mipmap levels came to be averaged
// down from the level above: 132 pixels of the shrunken particles moved by
// one step of one channel, nothing else.
TEST_F(DrawablesDisplayTest, DemoScenesDrawTheRecordedPictures)
{
    const std::unique_ptr<Picture> drawables = RunDemo("--scene drawables --frames 60", "drawables.png");
    const std::unique_ptr<Picture> text = RunDemo("--frames 120", "text.png");
    ASSERT_FALSE(HasFailure());
    EXPECT_EQ(ChecksumOutside(*drawables, 15, 50), 0x3F190FB08BAC79D5ull);
    EXPECT_EQ(ChecksumOutside(*text, 110, 170), 0x63058183656CC549ull);
}

// A screenshot that cannot be written is a failed run, not a success.
// The path passes the check before the first frame (a writable file), but
// the disk refuses the bytes when the run ends.
TEST_F(DrawablesDisplayTest, AScreenshotThatCannotBeWrittenFailsTheRun)
{
    const std::string screenshot = (folder / "shot.png").string();
    std::filesystem::create_symlink("/dev/full", screenshot);
    const std::string command = std::string("\"") + ENGINE_DEMO_PATH + "\" --frames 1 --screenshot \"" +
                                screenshot + "\" 2>/dev/null";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << command;
}

Core::RefPtr<Renderer::IRenderer> MakeRecordingRenderer(const Renderer::DisplayDescription& description)
{
    return Core::RefPtr<Renderer::IRenderer>(new Renderer::RecordingRenderer(description));
}

class SheetApplication : public Engine::RenderingApplication
{
public:
    SheetApplication() : Engine::RenderingApplication({64, 48, 60, 0, false, false}) {}
};

// A sprite animation read from an archive finds its sheet in the
// application's sprite-sheet directory.
TEST_F(DrawablesDisplayTest, ReadAnimationsTakeTheirSheetFromTheApplicationsDirectory)
{
    Engine::RenderingApplication::SetRendererFactory(&MakeRecordingRenderer);
    {
        const Core::RefPtr<SheetApplication> application(new SheetApplication());
        application->SetSpriteSheetDirectory("\\Game\\Resources\\Animations");
        const Core::RefPtr<Engine::SpriteAnimation> animation(new Engine::SpriteAnimation(
            Renderer::LoadTexture("\\Elsewhere\\ball.png", true), 8, 8, {{0, 0, 0.5f}}));
        Core::MemoryFile file;
        file.WriteObject(animation.Get());
        const Core::RefPtr<Core::Object> object(file.ReadObject());
        ASSERT_FALSE(file.Failed());
        const auto& read = static_cast<Engine::SpriteAnimation&>(*object);
        ASSERT_TRUE(read.GetTexture());
        EXPECT_EQ(read.GetTexture()->GetName(), "\\Game\\Resources\\Animations\\ball.png");
    }
    Engine::RenderingApplication::SetRendererFactory(nullptr);
}

} // namespace

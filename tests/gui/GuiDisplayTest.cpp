// The GUI's drawing through the render queue's screen-object pass with real
// OpenGL (Mesa under Xvfb): nine-sliced skins at three sizes, one of them
// clipped, strings in two fonts, flipped images and the arrow cursor. The
// picture is kept for review in the build tree's screenshots folder.

#include "GuiTestSupport.h"

#include "engine/Engine_BitmapFont.h"
#include "gui/GUI_Cursor.h"
#include "gui/GUI_Folders.h"
#include "gui/GUI_GuiImage.h"
#include "pal/PAL_Window.h"
#include "renderer/Renderer_OGLRenderer.h"
#include "renderer/Renderer_TextureCache.h"

#include <gtest/gtest.h>
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <memory>

namespace
{

using Core::RefPtr;
using GUI::NRectangle;

constexpr int Width = 640;
constexpr int Height = 480;
using Rgb = std::array<int, 3>;
const Rgb Background = {20, 26, 51};

class Picture
{
public:
    explicit Picture(std::vector<std::uint8_t> pixels) : pixels_(std::move(pixels)) {}
    // (x, y) in window pixels, y up: the rows come bottom first.
    Rgb At(int x, int y) const
    {
        const std::size_t at = (static_cast<std::size_t>(y) * Width + static_cast<std::size_t>(x)) * 3;
        return {pixels_[at], pixels_[at + 1], pixels_[at + 2]};
    }
    // Written top row first, as image files are.
    void Save(const std::filesystem::path& path) const
    {
        std::vector<std::uint8_t> flipped(pixels_.size());
        const std::size_t row = Width * 3;
        for (int y = 0; y < Height; ++y)
        {
            std::copy_n(pixels_.begin() + static_cast<std::ptrdiff_t>(y * row), row,
                        flipped.begin() + static_cast<std::ptrdiff_t>((Height - 1 - y) * row));
        }
        std::filesystem::create_directories(path.parent_path());
        EXPECT_NE(stbi_write_png(path.string().c_str(), Width, Height, 3, flipped.data(), Width * 3), 0);
    }

private:
    std::vector<std::uint8_t> pixels_;
};

TEST(GuiDisplay, SkinsStringsFlipsAndTheCursorThroughTheScreenObjectPass)
{
    if (std::getenv("DISPLAY") == nullptr)
    {
        GTEST_SKIP() << "no display";
    }
    setenv("ENGINE_HEADLESS", "1", 1);
    Renderer::DisplayDescription description;
    description.width = Width;
    description.height = Height;
    description.refreshRate = 60;
    Renderer::OGLRenderer::ChoosePixelFormat(description);
    const auto window = std::make_unique<PAL::Window>(Width, Height);
    window->SetVisible(true);
    description.window = window.get();
    RefPtr<Renderer::OGLRenderer> renderer = Renderer::OGLRenderer::Create(description);
    ASSERT_TRUE(renderer);

    Input::ScriptedInputSource source;
    source.SetClientArea(Input::ClientArea{0, 0, Width, Height});
    Input::InputSource::SetCurrent(&source);
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(Width) * Height * 3);
    const Math::Vector2D mouse(520, 140);
    {
        const RefPtr<Engine::SceneGraph> scene(new Engine::SceneGraph(renderer.Get()));
        GUI::Graphics graphics;
        const RefPtr<Input::MouseImp> mouseDevice = Input::MouseImp::CreateInstance();
        mouseDevice->SetWindow(window.get());
        source.SetCursor(static_cast<int>(mouse.x), Height - 1 - static_cast<int>(mouse.y));
        mouseDevice->Update();

        const std::string button = GUI::GetSkinPath(GUI::DefaultButtonSkin);
        const NRectangle screen(0, 0, Width, Height);
        const RefPtr<GUI::GuiImage> small(new GUI::GuiImage(button, GUI::Size{75, 25}));
        small->SetPosition(Math::Vector2D(20, 420));
        const RefPtr<GUI::GuiImage> wide(new GUI::GuiImage(button, GUI::Size{200, 60}));
        wide->SetPosition(Math::Vector2D(120, 390));
        const RefPtr<GUI::GuiImage> large(new GUI::GuiImage(button, GUI::Size{400, 300}));
        large->SetPosition(Math::Vector2D(20, 40));
        // The large one is cut at x = 300 by its clip.
        const NRectangle clip(0, 0, 300, Height);
        small->Draw(screen);
        wide->Draw(screen);
        large->Draw(clip);

        // Strings in front of the large image.
        const RefPtr<Engine::BitmapFont> defaultFont(
            new Engine::BitmapFont(GUI::GetFontPath(GUI::DefaultFont)));
        const RefPtr<Engine::BitmapFont> font1(new Engine::BitmapFont(GUI::GetFontPath("Font1")));
        const RefPtr<Engine::StringRenderContext> first(new Engine::StringRenderContext());
        const RefPtr<Engine::StringRenderContext> second(new Engine::StringRenderContext());
        graphics.ResetClip();
        graphics.SetDepth(1.0f);
        graphics.PrepareString(*first, 40, 290, "Skins\tand fonts\nDefaultFont: 0123", defaultFont);
        graphics.SetColor(Math::Vector4(1.0f, 0.85f, 0.3f, 1.0f));
        graphics.PrepareString(*second, 40, 200, "Tab\tstop\nFont1: clean", font1);
        graphics.SubmitString(first);
        graphics.SubmitString(second);

        // The combo arrow as it is and turned half round.
        const RefPtr<Renderer::ITexture> arrow =
            Renderer::LoadTexture(GUI::GetOverlayPath("ComboDown.png"), true);
        const RefPtr<GUI::ImageRenderContext> plain(new GUI::ImageRenderContext());
        const RefPtr<GUI::ImageRenderContext> flipped(new GUI::ImageRenderContext());
        graphics.ResetClip();
        graphics.PrepareImage(*plain, GUI::TRectangle(460, 400, 32, 32), arrow);
        graphics.SetFlipHorizontally(true);
        graphics.SetFlipVertically(true);
        graphics.PrepareImage(*flipped, GUI::TRectangle(510, 400, 32, 32), arrow);
        graphics.SubmitImage(plain);
        graphics.SubmitImage(flipped);

        // The arrow cursor at the mouse.
        const RefPtr<GUI::CursorManager> cursors(new GUI::CursorManager());
        RefPtr<GUI::Cursor> cursor(new GUI::Cursor(GUI::GetCursorPath(GUI::DefaultCursor)));
        cursor->SetHotSpot(Math::Vector2D(0, 32));
        cursors->SetCursor(cursor);
        cursors->Update(0.0f);

        renderer->ClearBuffers(Math::Vector4(static_cast<float>(Background[0]) / 255.0f,
                                             static_cast<float>(Background[1]) / 255.0f,
                                             static_cast<float>(Background[2]) / 255.0f, 1.0f),
                               1.0f, 0);
        scene->GetRenderQueue().DrawScreenObjects();
        renderer->ReadPixels(pixels.data());
    }
    Input::InputSource::SetCurrent(nullptr);
    renderer.Reset();

    const Picture picture(pixels);
    const char* folder = GUI_SCREENSHOT_DIR;
    picture.Save(std::filesystem::path(folder) / "gui_drawing.png");

    // The borders keep their three pixels at every size. The first pixel
    // row and column past a border sample the middle's first texel row and
    // column at every size, so there the left border's three columns and
    // the bottom border's three rows match across the sizes; and they
    // differ from the middle beside them.
    struct Placed
    {
        int left, bottom, width, height;
    };
    const Placed placed[] = {{20, 420, 75, 25}, {120, 390, 200, 60}, {20, 40, 400, 300}};
    const Placed& first = placed[0];
    for (int i = 0; i < 3; ++i)
    {
        const Placed& p = placed[i];
        for (int edge = 0; edge < 3; ++edge)
        {
            EXPECT_EQ(picture.At(p.left + edge, p.bottom + 3),
                      picture.At(first.left + edge, first.bottom + 3))
                << i << edge;
            EXPECT_EQ(picture.At(p.left + 3, p.bottom + edge),
                      picture.At(first.left + 3, first.bottom + edge))
                << i << edge;
        }
        EXPECT_NE(picture.At(p.left, p.bottom + 3), picture.At(p.left + 3, p.bottom + 3)) << i;
        EXPECT_NE(picture.At(p.left + 3, p.bottom), picture.At(p.left + 3, p.bottom + 3)) << i;
        // Left of and below each image is the background.
        EXPECT_EQ(picture.At(p.left - 1, p.bottom + 3), Background) << i;
        EXPECT_EQ(picture.At(p.left + 3, p.bottom - 1), Background) << i;
    }
    // The clipped image ends at the clip's edge, its right border unseen.
    EXPECT_NE(picture.At(299, 100), Background);
    EXPECT_EQ(picture.At(300, 100), Background);
    EXPECT_EQ(picture.At(419, 100), Background);

    // The cursor's tip is on the mouse: the image's top-left pixel covers
    // the pixel just below and right of the mouse point.
    const int mx = static_cast<int>(mouse.x);
    const int my = static_cast<int>(mouse.y);
    EXPECT_NE(picture.At(mx, my - 1), Background);
    EXPECT_EQ(picture.At(mx - 1, my - 1), Background);
    EXPECT_EQ(picture.At(mx, my), Background);
    // Its transparent texels leave the background untouched.
    EXPECT_EQ(picture.At(mx + 30, my - 2), Background);
    EXPECT_EQ(picture.At(mx + 28, my - 30), Background);

    // The arrow points down; turned, it points up: the two differ, and the
    // turned one is the plain one rotated by half a turn.
    for (int y = 0; y < 32; y += 3)
    {
        for (int x = 0; x < 32; x += 3)
        {
            EXPECT_EQ(picture.At(460 + x, 400 + y), picture.At(510 + 31 - x, 400 + 31 - y)) << x << " " << y;
        }
    }
    EXPECT_NE(picture.At(476, 420), picture.At(526, 420));
}

} // namespace

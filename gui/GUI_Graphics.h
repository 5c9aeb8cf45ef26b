#pragma once

#include "core/Core_RefPtr.h"
#include "engine/Engine_BitmapFont.h"
#include "engine/Engine_StringRenderContext.h"
#include "gui/GUI_ImageEffect.h"
#include "gui/GUI_Rectangle.h"
#include "math/Math_Vector2D.h"
#include "math/Math_Vector4.h"
#include "renderer/Renderer_Effect.h"
#include "renderer/Renderer_ITexture.h"

#include <cstdint>
#include <string>

namespace Core
{
class File;
}

namespace GUI
{

// The GUI's drawing context: the current colour, opacity, depth, clip
// rectangle, font, flips and effect choice, from which it fills the render
// contexts of images (one quad) and strings (a run of glyph quads) and
// hands them to the render queue's screen objects. The contexts belong to
// their owners, which refill them only when something changed and resubmit
// them every frame.
//
// Every setting persists until the next ResetClip; callers reset first and
// then set what differs. One instance per process, made by the display.
class Graphics
{
public:
    // The effects, "White.png" from the skins folder and a clip over the
    // whole screen; then it becomes the process-wide context.
    Graphics();
    // Stops being the process-wide context, when it is.
    ~Graphics();
    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;

    // The context constructed last and alive, or null.
    static Graphics* GetInstance();

    // Clip := the whole screen, depth 0, opacity 1, colour white, stipple
    // 1 and 0xAAAA, every flag off.
    void ResetClip();
    void SetClipRectangle(const NRectangle& clip) { clip_ = NRectangle(clip); }
    // Only red, green and blue are drawn; the alpha comes from the opacity.
    void SetColor(const Math::Vector4& color) { color_ = color; }
    void SetOpacity(float opacity) { opacity_ = opacity; }
    void SetDepth(float depth) { depth_ = depth; }
    void SetFont(const Core::RefPtr<Engine::BitmapFont>& font) { font_ = font; }
    void SetFlipHorizontally(bool flip) { flipHorizontally_ = flip; }
    void SetFlipVertically(bool flip) { flipVertically_ = flip; }
    void UseSecondEffect(bool use) { useSecondEffect_ = use; }

    const NRectangle& GetClipRectangle() const { return clip_; }
    const Math::Vector4& GetColor() const { return color_; }
    float GetOpacity() const { return opacity_; }
    float GetDepth() const { return depth_; }
    const Core::RefPtr<Engine::BitmapFont>& GetFont() const { return font_; }
    const Core::RefPtr<ImageEffect>& GetFirstEffect() const { return firstEffect_; }
    const Core::RefPtr<ImageEffect>& GetSecondEffect() const { return secondEffect_; }
    const Core::RefPtr<Renderer::Effect>& GetTextEffect() const { return textEffect_; }
    const Core::RefPtr<Renderer::ITexture>& GetWhiteTexture() const { return whiteTexture_; }

    // Fills `context` with `rectangle` cut by the clip, drawn with
    // `texture`; the context is left invisible when less than 1 x 1 of it
    // is inside the clip. The flips reorder the corners' texture
    // coordinates: horizontally 1, 0, 3, 2; vertically 3, 2, 1, 0; both
    // 2, 3, 0, 1.
    void PrepareImage(ImageRenderContext& context, const TRectangle& rectangle,
                      const Core::RefPtr<Renderer::ITexture>& texture);
    // Lays `text` out from the pen position (x, y), the bottom of its first
    // line, in `font`'s glyph cells, each cut by the clip; glyphs cut below
    // 1 x 1 are left out. A text whose measured box misses the clip gives
    // nothing at all. Tab moves four space advances, line feed goes one line
    // down to x, carriage return does nothing. At most
    // StringRenderContext::MaxQuads glyphs are laid out; the rest of a
    // longer text is not drawn.
    void PrepareString(Engine::StringRenderContext& context, float x, float y, const std::string& text,
                       const Core::RefPtr<Engine::BitmapFont>& font);
    // Queue the context for this frame's screen-object pass when it is
    // visible.
    void SubmitImage(const Core::RefPtr<ImageRenderContext>& context) const;
    void SubmitString(const Core::RefPtr<Engine::StringRenderContext>& context) const;

    // Colour, clip, depth, opacity, stipple factor and pattern, the four
    // flags and the font's name (its last path component; empty for none).
    // Load looks the font up again in the font cache; a short or damaged
    // record fails the archive and changes nothing.
    void Save(Core::File& file) const;
    bool Load(Core::File& file);

    // What Save writes, read apart from the context so that a caller can
    // read its own record whole before anything changes.
    struct State
    {
        Math::Vector4 color;
        NRectangle clip;
        float depth = 0.0f;
        float opacity = 1.0f;
        std::uint32_t stippleFactor = 1;
        std::uint16_t stipplePattern = 0xAAAA;
        std::uint8_t flags[4] = {};
        Core::RefPtr<Engine::BitmapFont> font;
    };
    // False, with the archive failed, for a short or damaged record.
    [[nodiscard]] static bool ReadState(Core::File& file, State& state);
    void ApplyState(const State& state);

private:
    Math::Vector4 color_{0.0f, 0.0f, 0.0f, 1.0f};
    Core::RefPtr<ImageEffect> firstEffect_;
    Core::RefPtr<ImageEffect> secondEffect_;
    Core::RefPtr<Renderer::Effect> textEffect_;
    Core::RefPtr<Engine::BitmapFont> font_;
    Core::RefPtr<Renderer::ITexture> whiteTexture_;
    NRectangle clip_;
    float depth_ = 0.0f;
    float opacity_ = 1.0f;
    std::uint32_t stippleFactor_ = 1;
    std::uint16_t stipplePattern_ = 0xAAAA;
    // Cleared by ResetClip; nothing draws by it.
    std::uint8_t clipFlag_ = 0;
    std::uint8_t flipHorizontally_ = 0;
    std::uint8_t flipVertically_ = 0;
    std::uint8_t useSecondEffect_ = 0;
};

// The window's size in pixels, from the running application's display (or,
// without one, the render queue's renderer); 0 when there is neither.
std::int32_t GetScreenWidth();
std::int32_t GetScreenHeight();
// The process-wide mouse's position in window pixels (origin bottom-left);
// (0, 0) without a mouse.
Math::Vector2D GetMousePosition();
// Moves the mouse to the point, each coordinate truncated toward zero. A
// coordinate that is not finite moves nothing.
void SetMousePosition(const Math::Vector2D& position);

} // namespace GUI

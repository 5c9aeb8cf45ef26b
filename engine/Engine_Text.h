#pragma once

#include "core/Core_RefPtr.h"
#include "engine/Engine_BitmapFont.h"
#include "engine/Engine_Mesh.h"
#include "engine/Engine_Node.h"
#include "math/Math_Vector2D.h"
#include "math/Math_Vector4.h"
#include "renderer/Renderer_Effect.h"

#include <string>

namespace Engine
{

// A leaf that shows one string in a bitmap font, placed at its parent's
// origin. Each draw lays the string out into glyph quads of the font's cell
// size: the pen starts at (0, 0), a line feed lowers it by the line height
// and returns it to x = 0, so the first line's quads lie between y = 0 and
// y = cell and later lines grow downwards. Character i always owns
// vertices 6i to 6i + 5; characters that show nothing (line feed, carriage
// return, space, tab) own six vertices at the origin.
//
// The owner sets the font and writes the colour and opacity directly: the
// drawn colour is (red, green, blue, opacity).
//
// A screen text is drawn with nearest filtering and clamped coordinates by
// whoever lays it out on screen; the scene walk submits nothing for it.
class Text : public Node
{
    CORE_DECLARE_OBJECT(Text)

public:
    static constexpr const char* ScriptTypeName = "Engine::Text";

    Text() : Text(std::string(), false) {}
    explicit Text(const std::string& text, bool screenText = false);
    // The node part, the string, the font (shared), colour, opacity,
    // offset, screen-text flag and reserved values, with a mesh and an
    // effect of its own.
    Text(const Text& other);

    // The node record; the text; the font's name (empty without a font);
    // colour (4 x f32); opacity; offset (2 x f32); screen-text flag (1
    // byte); the four reserved values (f32).
    void Write(Core::File& file) const override;
    // Builds a new font from the name read (none for an empty name) and
    // makes the effect again for the flag read. A short record changes
    // nothing.
    void Read(Core::File& file) override;

    // Only the update hook (and controllers): the text reads its parent's
    // placement when it draws.
    void Update(float dt) override;
    void Render(const Math::Frustum&) override { Draw(); }
    // Lays the string out and submits one item: the text's effect with the
    // font's texture, the mesh, the parent's world transformation. Nothing
    // when hidden, empty, without a font, a screen text, or (unless the node
    // is an overlay) when the laid-out extent is outside the current view
    // frustum.
    void Draw() override;
    void DrawRecursive() override { Draw(); }

    void SetText(const std::string& text) { text_ = text; }
    const std::string& GetText() const { return text_; }
    void SetFont(const Core::RefPtr<BitmapFont>& font) { font_ = font; }
    const Core::RefPtr<BitmapFont>& GetFont() const { return font_; }
    bool IsScreenText() const { return screenText_; }

    const Core::RefPtr<Mesh>& GetMesh() const { return mesh_; }
    const Core::RefPtr<Renderer::Effect>& GetEffect() const { return effect_; }

    // Written by the owner; the colour's alpha is kept, not drawn.
    Math::Vector4 color{1.0f, 1.0f, 1.0f, 1.0f};
    float opacity = 1.0f;
    // Persisted; not used when drawing.
    Math::Vector2D offset{0.0f, 0.0f};
    float reserved[4] = {0.0f, 0.0f, 1.0f, 0.0f};

private:
    // Linear filtering for scene texts, nearest and clamped for screen texts.
    static Core::RefPtr<Renderer::Effect> MakeEffect(bool screenText);
    // Fills the mesh; false when no character produced a glyph quad, true
    // with the quads' extent otherwise.
    bool Layout(float& minX, float& minY, float& maxX, float& maxY);

    std::string text_;
    Core::RefPtr<Mesh> mesh_;
    Core::RefPtr<BitmapFont> font_;
    Core::RefPtr<Renderer::Effect> effect_;
    bool screenText_ = false;
};

} // namespace Engine

#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "gui/GUI_ImageEffect.h"
#include "math/Math_Vector2D.h"
#include "renderer/Renderer_ITexture.h"

#include <string>

namespace GUI
{

// A mouse cursor the GUI draws itself: an image shown 32 x 32 pixels (any
// image size is stretched to it) with its hot spot, the offset of the mouse
// position from the image's bottom-left corner, on top of every other
// screen object. A cursor without a file name has no texture and draws
// nothing.
class Cursor : public Core::Object
{
    CORE_DECLARE_OBJECT(Cursor)

public:
    static constexpr float Side = 32.0f;

    // No file: for a read to fill.
    Cursor();
    // Loads the image `fileName` (a full engine path).
    explicit Cursor(const std::string& fileName);
    Cursor(const Cursor& other);
    Cursor& operator=(const Cursor&) = delete;

    void SetHotSpot(const Math::Vector2D& hotSpot) { hotSpot_ = hotSpot; }
    const Math::Vector2D& GetHotSpot() const { return hotSpot_; }
    const std::string& GetFileName() const { return fileName_; }
    const Core::RefPtr<Renderer::ITexture>& GetTexture() const { return texture_; }
    const Core::RefPtr<ImageRenderContext>& GetContext() const { return context_; }

    // Queues the quad with the mouse at `position`: over the whole screen,
    // cut at the window's edges, at the largest depth. `dt` is not used.
    void Draw(const Math::Vector2D& position, float dt);

    // Hot spot and file name; a read loads the image again. A short read or
    // a hot spot that is not finite fails the archive and changes nothing.
    void Write(Core::File& file) const override;
    void Read(Core::File& file) override;

private:
    void Load();

    Math::Vector2D hotSpot_;
    std::string fileName_;
    Core::RefPtr<Renderer::ITexture> texture_;
    Core::RefPtr<ImageRenderContext> context_;
};

// Holds the cursor the GUI shows and draws it once a frame at the mouse.
// No cursor: none is drawn. The display makes the one manager used; the
// manager constructed last and alive is the process-wide one.
class CursorManager : public Core::Object
{
    CORE_DECLARE_OBJECT(CursorManager)

public:
    CursorManager();
    CursorManager(const CursorManager& other);
    CursorManager& operator=(const CursorManager&) = delete;
    ~CursorManager() override;

    static CursorManager* GetInstance();

    void SetCursor(const Core::RefPtr<Cursor>& cursor) { cursor_ = cursor; }
    const Core::RefPtr<Cursor>& GetCursor() const { return cursor_; }

    // Draws the current cursor at the mouse position.
    void Update(float dt);

    // The current cursor as an object (none allowed). A failed read, or an
    // object of another class, changes nothing.
    void Write(Core::File& file) const override;
    void Read(Core::File& file) override;

private:
    Core::RefPtr<Cursor> cursor_;
};

} // namespace GUI

#pragma once

#include "core/Core_RefPtr.h"
#include "gui/GUI_Control.h"
#include "gui/GUI_GuiImage.h"
#include "gui/GUI_ImageEffect.h"
#include "renderer/Renderer_ITexture.h"

#include <array>
#include <cstdint>

namespace GUI
{

// A clickable skinned control: one skin image showing the record that the
// record map gives for the visual state, a centred caption, and, as the
// drop-down part of a composite control (focus to parent set), an arrow.
//
// Visual states: normal and hover follow enter and leave, a press shows
// pressed until the release shows hover again, focus shows focused (unless
// the button is held under the mouse), and a disabled button shows disabled
// and raises none of its gated events.
class Button : public Control
{
    CORE_DECLARE_OBJECT(Button)

public:
    static constexpr const char* ScriptTypeName = "Button";

    enum VisualState : std::uint32_t
    {
        Normal,
        Pressed,
        Hover,
        Disabled,
        Focused,
    };
    static constexpr std::uint32_t StateCount = 5;
    // The caption's colour while disabled.
    static constexpr Math::Vector4 DisabledTextColor{0.6745098f, 0.65882355f, 0.6f, 1.0f};

    // 64 x 64 at (0, 0) with a 75 x 25 image of "DefaultButtonSkin" until
    // the size is next set. While the display loads nothing is made: the
    // read that follows fills every field.
    Button();
    ~Button() override;

    void SetPosition(const Math::Vector2D& position) override;
    void SetVisible(bool visible) override;
    void SetModulationColor(const Math::Vector4& color) override;
    // Gated: raised only while enabled through the ancestors.
    void Click() override;
    void Event3() override;
    void ClickDone() override;
    void DoubleClickDone() override;
    void MouseHover() override;
    void MouseMove(const MouseEvent& event) override;
    // Gated, and each moves the visual state first.
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseUp(const MouseEvent& event) override;
    void MouseDown(const MouseEvent& event) override;
    void SizeChanged() override;
    // The image made again from the new skin, keeping its record.
    void OnSkinChanged() override;
    void PostUpdate(float dt) override;
    void UpdatePosition() override;
    void ApplyEnabled() override;
    void ApplyOpacity() override;
    void Focus() override;
    void Unfocus() override;

    // The image shows record map[visual state].
    void ApplyVisualState();
    // One entry of the record map; a state past the map is ignored.
    void SetStateRecord(std::uint32_t state, std::uint32_t record);
    std::uint32_t GetStateRecord(std::uint32_t state) const
    {
        return state < StateCount ? recordMap_[state] : 0;
    }
    std::uint32_t GetVisualState() const { return visualState_; }
    const Core::RefPtr<GuiImage>& GetImage() const { return image_; }
    const Core::RefPtr<ImageRenderContext>& GetArrowContext() const { return arrowContext_; }
    const Core::RefPtr<Renderer::ITexture>& GetArrowTexture() const { return arrow_; }
    const Core::RefPtr<Renderer::ITexture>& GetDisabledArrowTexture() const { return disabledArrow_; }

    // The control's record, the record map, the visual state and the image.
    // A visual state outside 0-4, a missing image or an object of another
    // class fails the archive and leaves the button as it was.
    void Write(Core::File& file) const override;
    void Read(Core::File& file) override;

private:
    void LoadArrows();
    void DrawCaption(const NRectangle& clip);
    void DrawArrow(const NRectangle& clip);

    // What the caption's string context was last filled with: it is filled
    // again only when one of these changes.
    struct Caption
    {
        float x = 0.0f;
        float y = 0.0f;
        std::string text;
        NRectangle clip;
        float color[4] = {};
        float opacity = 0.0f;
        float depth = 0.0f;
        const Engine::BitmapFont* font = nullptr;
        bool operator==(const Caption&) const = default;
    };

    std::array<std::uint32_t, StateCount> recordMap_{};
    std::uint32_t visualState_ = Normal;
    Core::RefPtr<GuiImage> image_;
    Core::RefPtr<ImageRenderContext> arrowContext_;
    Core::RefPtr<Renderer::ITexture> arrow_;
    Core::RefPtr<Renderer::ITexture> disabledArrow_;
    Caption caption_;
    bool captionPrepared_ = false;
};

} // namespace GUI

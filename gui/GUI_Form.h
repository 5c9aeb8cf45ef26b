#pragma once

#include "core/Core_RefPtr.h"
#include "gui/GUI_Button.h"
#include "gui/GUI_Control.h"
#include "gui/GUI_GuiImage.h"
#include "gui/GUI_ImageEffect.h"
#include "renderer/Renderer_ITexture.h"

#include <array>
#include <cstdint>
#include <string>

namespace GUI
{

// The window of the GUI: a control with a skinned frame of four images
// (caption bar, bottom, left and right borders, records 0 to 3 of its
// skin), a close button in the caption bar's right end, a picture filling
// the client area, a caption text, dragging by the caption bar, a modal
// mode and an attention flash.
//
//   +------------------------------------[x]+   caption bar (caption height)
//   |                                       |
//   |  client rectangle: children, picture  |   left / right borders
//   |                                       |
//   +---------------------------------------+   bottom border
//
// Children are placed relative to the client origin (left border, bottom
// border). Closing is deferred: the close handler queues the form with the
// display, which destroys it at the end of its update.
class Form : public Control
{
    CORE_DECLARE_OBJECT(Form)

public:
    static constexpr const char* ScriptTypeName = "Form";
    static constexpr const char* CloseButtonName = "CloseCloseClose";
    static constexpr const char* DefaultPicture = "Gray.png";
    // The frame's colour while the form is active, and while it is not.
    static constexpr Math::Vector4 ActiveColor{2.0f / 255.0f, 106.0f / 255.0f, 254.0f / 255.0f, 1.0f};
    static constexpr Math::Vector4 InactiveColor{129.0f / 255.0f, 169.0f / 255.0f, 232.0f / 255.0f, 1.0f};
    // The attention flash: the colour alternates every FlashPeriod seconds
    // for AttentionTime seconds.
    static constexpr float FlashPeriod = 0.1f;
    static constexpr float AttentionTime = 0.8f;

    enum FrameImage : std::uint32_t
    {
        CaptionImage,
        BottomImage,
        LeftImage,
        RightImage,
        FrameImageCount,
    };

    // 256 x 256 at (0, 0).
    Form();
    // The same form at `position` and of the given size. While the display
    // loads nothing is made: the read that follows fills every field.
    Form(const Math::Vector2D& position, float width, float height);
    ~Form() override;

    void SetPosition(const Math::Vector2D& position) override;
    void SetVisible(bool visible) override;
    void MouseUp(const MouseEvent& event) override;
    // A press on the caption bar starts a drag.
    void MouseDown(const MouseEvent& event) override;
    void SizeChanged() override;
    void OnSkinChanged() override;
    void PreUpdate(float dt) override;
    void PostUpdate(float dt) override;
    Math::Vector2D GetClientOffset() const override;
    void UpdatePosition() override;
    void ApplyOpacity() override;
    void Unfocus() override;
    void SetClientRectangle() override;
    // Slot 49: the display took the form into its form list.
    virtual void OnAdded() {}
    // Slot 50: the form is about to close.
    virtual void OnClosing() {}

    // The close button's Click (and the script's "Close"): the closing
    // hook, then the display destroys the form at the end of its update.
    void Close(Control* sender = nullptr);

    // One modal form at a time: setting a form modal clears the flag of
    // the display's previous modal form, and makes it the display's modal
    // and active form, brought to the front.
    void SetModal(bool modal);
    bool GetModal() const { return modal_ != 0; }
    // The name is kept as given; the picture is loaded from it.
    void SetPicture(const std::string& name);
    const std::string& GetPicture() const { return pictureName_; }
    void SetShowOnlyControls(bool showOnly);
    bool GetShowOnlyControls() const { return showOnlyControls_ != 0; }
    void SetCloseButtonVisible(bool visible);
    bool GetCloseButtonVisible() const { return closeButtonVisible_ != 0; }
    void SetCaptionHeight(float height);
    void SetBottomBorderHeight(float height);
    void SetLeftBorderWidth(float width);
    void SetRightBorderWidth(float width);
    float GetCaptionHeight() const { return captionHeight_; }
    float GetBottomBorderHeight() const { return bottomBorderHeight_; }
    float GetLeftBorderWidth() const { return leftBorderWidth_; }
    float GetRightBorderWidth() const { return rightBorderWidth_; }
    void SetInactiveModulationColor(const Math::Vector4& color) { inactiveColor_ = color; }
    const Math::Vector4& GetInactiveModulationColor() const { return inactiveColor_; }

    // The modal form's call for attention, raised by a press on a control
    // it blocks: the frame flashes while the form is active.
    bool HasAttention() const { return attention_ != 0; }
    void RaiseAttention() { attention_ = 1; }
    void ClearAttention() { attention_ = 0; }
    // The colour the frame was drawn with in the last frame.
    const Math::Vector4& GetFrameColor() const { return frameColor_; }

    bool IsDragging() const { return dragging_ != 0; }
    // (x, y + height - caption, width, caption), cut by the parent's client
    // rectangle for a child form.
    NRectangle GetCaptionBar() const;
    const Core::RefPtr<GuiImage>& GetFrameImage(FrameImage image) const { return frame_[image]; }
    const Core::RefPtr<Button>& GetCloseButton() const { return closeButton_; }
    const Core::RefPtr<Renderer::ITexture>& GetPictureTexture() const { return picture_; }

    // The control's record, then the frame images, the close button, the
    // picture name, the flags, timers and borders, the inactive colour and
    // the drag. Frame images or a close button of another class (or none, or
    // a close button that is not a child), flags other than 0 or 1 and
    // sizes that are not finite fail the archive and leave the form as it
    // was; the close listener is attached only after a good read.
    void Write(Core::File& file) const override;
    void Read(Core::File& file) override;

private:
    void Build(const Math::Vector2D& position, float width, float height);
    // The close button's side: the caption height minus 2, within [2, 20].
    float CloseButtonSide() const;
    void SizeFrameImages();
    void PlaceFrameImages();
    void PlaceCloseButton();
    void ApplyCloseButtonVisibility();
    // After a border or the caption changed.
    void Relayout();
    void LoadPicture();
    void DrawPicture(const NRectangle& clip);
    void DrawCaptionText();

    std::array<Core::RefPtr<GuiImage>, FrameImageCount> frame_;
    Core::RefPtr<Button> closeButton_;
    std::string pictureName_;
    Core::RefPtr<ImageRenderContext> pictureDrawable_;
    Core::RefPtr<Renderer::ITexture> picture_;
    std::uint8_t closeButtonVisible_ = 1;
    std::uint8_t showOnlyControls_ = 0;
    std::uint8_t attention_ = 0;
    std::uint8_t flashPhase_ = 1;
    std::uint8_t modal_ = 0;
    float flashTimer_ = 0.0f;
    float attentionTimer_ = 0.0f;
    float captionHeight_ = 32.0f;
    float bottomBorderHeight_ = 8.0f;
    float leftBorderWidth_ = 8.0f;
    float rightBorderWidth_ = 8.0f;
    Math::Vector4 inactiveColor_ = InactiveColor;
    std::uint8_t dragging_ = 0;
    Math::Vector2D dragOffset_;
    Math::Vector4 frameColor_ = ActiveColor;
};

} // namespace GUI

#include "gui/GUI_Button.h"

#include "core/Core_File.h"
#include "gui/GUI_Folders.h"
#include "gui/GUI_Graphics.h"
#include "gui/GUI_HUD.h"
#include "input/Input_MouseImp.h"
#include "renderer/Renderer_TextureCache.h"

#include <algorithm>

namespace GUI
{

CORE_DEFINE_OBJECT_BASICS(Button, "GUI::Button", "Button", "GUI_Button", __LINE__)
static const Core::ClassRegistrar g_buttonRegistrar("GUI::Button", &Button::Create);

Core::Object* Button::Clone() const
{
    auto* copy = new ("GUI_Button", __LINE__) Button();
    copy->SetPosition(GetPosition());
    copy->SetControlSize(GetWidth(), GetHeight());
    return copy;
}

namespace
{

bool Loading()
{
    const HUD* hud = HUD::GetInstance();
    return hud != nullptr && hud->IsLoading();
}

bool LeftButtonHeld()
{
    const Input::MouseImp* mouse = Input::MouseImp::GetInstance();
    return mouse != nullptr && mouse->IsPressed(0);
}

} // namespace

Button::Button() : Control(Math::Vector2D(0.0f, 0.0f), 64.0f, 64.0f)
{
    if (Loading())
    {
        return;
    }
    recordMap_ = {0, 1, 2, 4, 3};
    SetFont(DefaultFont);
    StoreSkinName(DefaultButtonSkin);
    image_ = new ("GUI_Button", __LINE__) GuiImage(GetSkinPath(DefaultButtonSkin), Size{75.0f, 25.0f});
    image_->SetPosition(Math::Vector2D(0.0f, 0.0f));
    visualState_ = IsFocused() ? Focused : Normal;
    LoadArrows();
}

Button::~Button() = default;

void Button::LoadArrows()
{
    arrow_ = Renderer::LoadTexture(GetOverlayPath("ComboDown.png"), true);
    disabledArrow_ = Renderer::LoadTexture(GetOverlayPath("ComboDownDisabled.png"), true);
    // The arrow is scaled: the second effect, with its filter.
    arrowContext_ = new ("GUI_Button", __LINE__) ImageRenderContext(1);
}

// --- Slots ---------------------------------------------------------------------

// The image stands at the absolute position: the stored one is relative to
// the parent's client origin.
void Button::SetPosition(const Math::Vector2D& position)
{
    Control::SetPosition(position);
    if (image_)
    {
        image_->SetPosition(GetAbsolutePosition());
    }
}

void Button::SetVisible(bool visible)
{
    Control::SetVisible(visible);
    if (image_)
    {
        image_->SetVisible(visible);
    }
}

void Button::SetModulationColor(const Math::Vector4& color)
{
    Control::SetModulationColor(color);
    if (image_)
    {
        image_->SetModulationColor(color);
    }
}

void Button::Click()
{
    if (IsEnabled())
    {
        Control::Click();
    }
}

void Button::Event3()
{
    if (IsEnabled())
    {
        Control::Event3();
    }
}

void Button::ClickDone()
{
    if (IsEnabled())
    {
        Control::ClickDone();
    }
}

void Button::DoubleClickDone()
{
    if (IsEnabled())
    {
        Control::DoubleClickDone();
    }
}

void Button::MouseHover()
{
    if (IsEnabled())
    {
        Control::MouseHover();
    }
}

void Button::MouseMove(const MouseEvent& event)
{
    if (IsEnabled())
    {
        Control::MouseMove(event);
    }
}

void Button::MouseEnter()
{
    if (IsEnabled())
    {
        visualState_ = Hover;
        Control::MouseEnter();
    }
}

void Button::MouseLeave()
{
    if (IsEnabled())
    {
        visualState_ = IsFocused() ? Focused : Normal;
        Control::MouseLeave();
    }
}

void Button::MouseUp(const MouseEvent& event)
{
    if (IsEnabled())
    {
        visualState_ = Hover;
        Control::MouseUp(event);
    }
}

void Button::MouseDown(const MouseEvent& event)
{
    if (IsEnabled())
    {
        visualState_ = Pressed;
        Control::MouseDown(event);
    }
}

void Button::SizeChanged()
{
    if (image_)
    {
        image_->SetWidth(GetWidth());
        image_->SetHeight(GetHeight());
    }
    Control::SizeChanged();
}

void Button::OnSkinChanged()
{
    if (!image_)
    {
        return;
    }
    image_ = GuiImage::CreateReskinned(GetSkinPath(GetSkin()), *image_);
}

void Button::UpdatePosition()
{
    Control::UpdatePosition();
    if (image_)
    {
        image_->SetPosition(GetAbsolutePosition());
    }
}

void Button::ApplyEnabled()
{
    visualState_ = IsEnabled() ? Normal : Disabled;
}

void Button::ApplyOpacity()
{
    if (image_)
    {
        image_->SetOpacity(GetOpacity());
    }
}

void Button::Focus()
{
    if (!IsEnabled())
    {
        return;
    }
    Control::Focus();
    // A press that focuses the button keeps showing it pressed.
    const HUD* hud = HUD::GetInstance();
    const bool heldUnderMouse = hud != nullptr && hud->GetHoveredControl() == this && LeftButtonHeld();
    if (!heldUnderMouse)
    {
        visualState_ = Focused;
    }
}

void Button::Unfocus()
{
    if (!IsEnabled())
    {
        return;
    }
    Control::Unfocus();
    visualState_ = Normal;
}

// --- Drawing -------------------------------------------------------------------

void Button::ApplyVisualState()
{
    if (image_ && visualState_ < StateCount)
    {
        image_->SetState(recordMap_[visualState_]);
    }
}

void Button::SetStateRecord(std::uint32_t state, std::uint32_t record)
{
    if (state < StateCount)
    {
        recordMap_[state] = record;
    }
}

void Button::PostUpdate(float)
{
    if (!IsVisible() || !image_)
    {
        return;
    }
    ApplyVisualState();
    image_->SetPosition(GetAbsolutePosition());
    image_->SetDepth(GetDepth());
    const NRectangle clip = GetDrawingClipRectangle();
    image_->Draw(clip);
    if (!GetText().empty())
    {
        DrawCaption(clip);
    }
    if (GetFocusToParent())
    {
        DrawArrow(clip);
    }
}

void Button::DrawCaption(const NRectangle& clip)
{
    Graphics* graphics = Graphics::GetInstance();
    const Core::RefPtr<Engine::BitmapFont>& font = GetFont();
    if (graphics == nullptr || !font || !GetTextDrawable())
    {
        return;
    }
    // Centred in the image's centre part and cut by it; a caption wider
    // than the centre starts at its left edge.
    const TRectangle& centre = image_->GetPart(4);
    Caption caption;
    NRectangle::Intersect(caption.clip, clip, centre);
    float textWidth = 0.0f;
    float textHeight = 0.0f;
    font->GetTextSize(GetText(), textWidth, textHeight);
    const auto lineHeight = static_cast<float>(font->GetLineHeight());
    caption.x = centre.GetLeft();
    caption.y = centre.GetBottom();
    if (centre.GetWidth() - textWidth > 0.0f)
    {
        caption.x = centre.GetLeft() + (centre.GetWidth() - textWidth) / 2.0f;
    }
    if (centre.GetHeight() - lineHeight > 0.0f)
    {
        caption.y = centre.GetBottom() + (centre.GetHeight() - lineHeight) / 2.0f;
    }
    caption.x += 2.0f;
    const Math::Vector4 color = IsEnabled() ? GetTextModulationColor() : DisabledTextColor;
    caption.color[0] = color.x;
    caption.color[1] = color.y;
    caption.color[2] = color.z;
    caption.color[3] = color.w;
    caption.text = GetText();
    caption.opacity = GetOpacity();
    caption.depth = GetDepth() + 0.1f;
    caption.font = font.Get();
    if (!captionPrepared_ || !(caption == caption_))
    {
        graphics->ResetClip();
        graphics->SetOpacity(caption.opacity);
        graphics->SetClipRectangle(caption.clip);
        graphics->SetColor(color);
        graphics->SetDepth(caption.depth);
        graphics->PrepareString(*GetTextDrawable(), caption.x, caption.y, caption.text, font);
        caption_ = std::move(caption);
        captionPrepared_ = true;
    }
    graphics->SubmitString(GetTextDrawable());
}

void Button::DrawArrow(const NRectangle& clip)
{
    Graphics* graphics = Graphics::GetInstance();
    const Core::RefPtr<Renderer::ITexture>& texture = IsEnabled() ? arrow_ : disabledArrow_;
    if (graphics == nullptr || !arrowContext_ || !texture)
    {
        return;
    }
    graphics->ResetClip();
    graphics->SetOpacity(GetOpacity());
    graphics->SetClipRectangle(clip);
    graphics->SetDepth(GetDepth() + 0.01f);
    graphics->UseSecondEffect(true);
    graphics->SetColor(GetModulationColor());
    const Math::Vector2D at = GetAbsolutePosition();
    const float width = GetWidth();
    const float height = GetHeight();
    const float side = std::min({width, height, static_cast<float>(texture->GetWidth())});
    graphics->PrepareImage(*arrowContext_,
                           TRectangle(at.x + (width - side) / 2.0f, at.y + (height - side) / 2.0f, side, side),
                           texture);
    graphics->SubmitImage(arrowContext_);
    graphics->ResetClip();
}

// --- Persistence ---------------------------------------------------------------

void Button::Write(Core::File& file) const
{
    Control::Write(file);
    for (const std::uint32_t record : recordMap_)
    {
        file << record;
    }
    file << visualState_;
    file.WriteObject(image_.Get());
}

void Button::Read(Core::File& file)
{
    Core::File::ReadingScope scope(file, *this);
    Record record;
    if (!ReadRecord(file, record))
    {
        return;
    }
    std::array<std::uint32_t, StateCount> recordMap{};
    std::uint32_t visualState = 0;
    Core::RefPtr<GuiImage> image;
    for (std::uint32_t& entry : recordMap)
    {
        file >> entry;
    }
    file >> visualState;
    Core::ReadRefPtr(file, image);
    if (file.Failed())
    {
        return;
    }
    // The state indexes the record map; a map entry past the skin's records
    // is the image's to ignore.
    if (visualState >= StateCount || !image)
    {
        file.SetError(Core::FileError::BadData);
        return;
    }
    ApplyRecord(record, file);
    recordMap_ = recordMap;
    visualState_ = visualState;
    image_ = image;
    captionPrepared_ = false;
    LoadArrows();
}

} // namespace GUI

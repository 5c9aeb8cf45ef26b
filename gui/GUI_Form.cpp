#include "gui/GUI_Form.h"

#include "core/Core_File.h"
#include "gui/GUI_Folders.h"
#include "gui/GUI_Graphics.h"
#include "gui/GUI_HUD.h"
#include "input/Input_MouseImp.h"
#include "renderer/Renderer_TextureCache.h"

#include <algorithm>
#include <cmath>

namespace GUI
{

CORE_DEFINE_OBJECT_BASICS(Form, "GUI::Form", "Form", "GUI_Form", __LINE__)
static const Core::ClassRegistrar g_formRegistrar("GUI::Form", &Form::Create);

Core::Object* Form::Clone() const
{
    return new ("GUI_Form", __LINE__) Form(GetPosition(), GetWidth(), GetHeight());
}

namespace
{

bool AnyButtonHeld()
{
    const Input::MouseImp* mouse = Input::MouseImp::GetInstance();
    return mouse != nullptr && (mouse->IsPressed(0) || mouse->IsPressed(1) || mouse->IsPressed(2));
}

bool IsFlag(std::uint8_t value)
{
    return value <= 1;
}

} // namespace

Form::Form() : Form(Math::Vector2D(0.0f, 0.0f), 256.0f, 256.0f) {}

Form::Form(const Math::Vector2D& position, float width, float height)
    : Control(Math::Vector2D(0.0f, 0.0f), 64.0f, 64.0f)
{
    const HUD* hud = HUD::GetInstance();
    if (hud != nullptr && hud->IsLoading())
    {
        return;
    }
    Build(position, width, height);
}

void Form::Build(const Math::Vector2D& position, float width, float height)
{
    captionHeight_ = 32.0f;
    bottomBorderHeight_ = 8.0f;
    leftBorderWidth_ = 8.0f;
    rightBorderWidth_ = 8.0f;
    modal_ = 0;
    StoreSize(width, height);
    StoreSkinName(DefaultFormSkin);
    const std::string skin = GetSkinPath(DefaultFormSkin);
    const float sideHeight = height - captionHeight_ - bottomBorderHeight_;
    frame_[CaptionImage] = new ("GUI_Form", __LINE__) GuiImage(skin, Size{width, captionHeight_});
    frame_[BottomImage] = new ("GUI_Form", __LINE__) GuiImage(skin, Size{width, bottomBorderHeight_});
    frame_[LeftImage] = new ("GUI_Form", __LINE__) GuiImage(skin, Size{leftBorderWidth_, sideHeight});
    frame_[RightImage] = new ("GUI_Form", __LINE__) GuiImage(skin, Size{rightBorderWidth_, sideHeight});
    for (std::uint32_t i = 0; i < FrameImageCount; ++i)
    {
        frame_[i]->SetState(i);
    }
    dragging_ = 0;
    dragOffset_ = Math::Vector2D(0.0f, 0.0f);

    // The close button shows the close records 4, 5 and 6 of the form's
    // skin in every state.
    closeButton_ = new ("GUI_Form", __LINE__) Button();
    closeButton_->SetSkin(DefaultFormSkin);
    const std::uint32_t closeRecords[Button::StateCount] = {4, 5, 6, 4, 4};
    for (std::uint32_t state = 0; state < Button::StateCount; ++state)
    {
        closeButton_->SetStateRecord(state, closeRecords[state]);
    }
    closeButton_->ApplyVisualState();
    closeButton_->SetTabStop(false);
    closeButton_->SetClipMode(1);
    closeButton_->SetName(CloseButtonName);
    closeButton_->SetAcceptsEnter(false);
    closeButton_->AddListener(Event::Click, this, &Form::Close);
    AddControl(closeButton_.Get());
    PlaceCloseButton();

    pictureName_ = GetSkinFilePath(DefaultPicture);
    LoadPicture();
    closeButtonVisible_ = 1;
    showOnlyControls_ = 0;
    attention_ = 0;
    flashPhase_ = 1;
    flashTimer_ = 0.0f;
    attentionTimer_ = 0.0f;
    Control::SetModulationColor(ActiveColor);
    inactiveColor_ = InactiveColor;
    SetPosition(position);
    SetFont(DefaultFont);
}

Form::~Form()
{
    // The close button may outlive the form (a script holding it): its
    // listener must not call into a form that is gone.
    if (closeButton_)
    {
        closeButton_->RemoveListenersOf(this);
    }
}

// --- Geometry ------------------------------------------------------------------

float Form::CloseButtonSide() const
{
    return std::clamp(captionHeight_ - 2.0f, 2.0f, 20.0f);
}

void Form::SizeFrameImages()
{
    const float width = GetWidth();
    const float sideHeight = GetHeight() - captionHeight_ - bottomBorderHeight_;
    const float sizes[FrameImageCount][2] = {{width, captionHeight_},
                                             {width, bottomBorderHeight_},
                                             {leftBorderWidth_, sideHeight},
                                             {rightBorderWidth_, sideHeight}};
    for (std::uint32_t i = 0; i < FrameImageCount; ++i)
    {
        if (frame_[i])
        {
            frame_[i]->SetWidth(sizes[i][0]);
            frame_[i]->SetHeight(sizes[i][1]);
        }
    }
}

void Form::PlaceFrameImages()
{
    const Math::Vector2D at = GetAbsolutePosition();
    const Math::Vector2D places[FrameImageCount] = {
        {at.x, at.y + GetHeight() - captionHeight_},
        {at.x, at.y},
        {at.x, at.y + bottomBorderHeight_},
        {at.x + GetWidth() - rightBorderWidth_, at.y + bottomBorderHeight_},
    };
    for (std::uint32_t i = 0; i < FrameImageCount; ++i)
    {
        if (frame_[i])
        {
            frame_[i]->SetPosition(places[i]);
        }
    }
}

// Two units inside the top-right corner, relative to the client origin.
void Form::PlaceCloseButton()
{
    if (!closeButton_)
    {
        return;
    }
    const float side = CloseButtonSide();
    closeButton_->SetControlSize(side, side);
    closeButton_->SetPosition(Math::Vector2D(GetWidth() - leftBorderWidth_ - side - 2.0f,
                                             GetHeight() - bottomBorderHeight_ - side - 2.0f));
}

void Form::ApplyCloseButtonVisibility()
{
    if (closeButton_)
    {
        closeButton_->SetVisible(closeButtonVisible_ != 0 && IsVisible() && showOnlyControls_ == 0);
    }
}

void Form::Relayout()
{
    SetPosition(GetPosition());
    SizeFrameImages();
    PlaceCloseButton();
    UpdatePosition();
}

NRectangle Form::GetCaptionBar() const
{
    const Math::Vector2D at = GetAbsolutePosition();
    NRectangle bar(at.x, at.y + GetHeight() - captionHeight_, GetWidth(), captionHeight_);
    if (const Control* parent = GetParent())
    {
        NRectangle::Intersect(bar, bar, parent->GetClientRectangle());
    }
    return bar;
}

Math::Vector2D Form::GetClientOffset() const
{
    return Math::Vector2D(leftBorderWidth_, bottomBorderHeight_);
}

void Form::SetClientRectangle()
{
    const NRectangle& r = GetRectangle();
    StoreClientRectangle(NRectangle(r.GetLeft() + leftBorderWidth_, r.GetBottom() + bottomBorderHeight_,
                                    r.GetWidth() - rightBorderWidth_ - leftBorderWidth_,
                                    r.GetHeight() - captionHeight_ - bottomBorderHeight_));
}

// --- Slots ---------------------------------------------------------------------

void Form::SetPosition(const Math::Vector2D& position)
{
    Control::SetPosition(position);
    PlaceFrameImages();
}

void Form::UpdatePosition()
{
    Control::UpdatePosition();
    PlaceFrameImages();
}

void Form::SetVisible(bool visible)
{
    Control::SetVisible(visible);
    ApplyCloseButtonVisibility();
}

void Form::MouseUp(const MouseEvent& event)
{
    dragging_ = 0;
    dragOffset_ = Math::Vector2D(0.0f, 0.0f);
    Control::MouseUp(event);
}

void Form::MouseDown(const MouseEvent& event)
{
    const Math::Vector2D mouse = GetMousePosition();
    if (showOnlyControls_ == 0 && GetCaptionBar().IsInside(mouse.x, mouse.y))
    {
        dragging_ = 1;
        dragOffset_ = Math::Vector2D(mouse.x - GetPosition().x, mouse.y - GetPosition().y);
    }
    else
    {
        dragging_ = 0;
        dragOffset_ = Math::Vector2D(0.0f, 0.0f);
    }
    Control::MouseDown(event);
}

void Form::SizeChanged()
{
    SizeFrameImages();
    PlaceCloseButton();
    SetPosition(GetPosition());
    Control::SizeChanged();
}

void Form::OnSkinChanged()
{
    const std::string skin = GetSkinPath(GetSkin());
    for (Core::RefPtr<GuiImage>& image : frame_)
    {
        if (image)
        {
            image = GuiImage::CreateReskinned(skin, *image);
        }
    }
    if (closeButton_)
    {
        closeButton_->SetSkin(GetSkin());
    }
    SetPosition(GetPosition());
}

void Form::PreUpdate(float)
{
    if (dragging_ == 0)
    {
        return;
    }
    // A release the form did not hear (a modal form opened meanwhile) ends
    // the drag too.
    if (!AnyButtonHeld())
    {
        dragging_ = 0;
        dragOffset_ = Math::Vector2D(0.0f, 0.0f);
        return;
    }
    const Math::Vector2D mouse = GetMousePosition();
    const Math::Vector2D target(mouse.x - dragOffset_.x, mouse.y - dragOffset_.y);
    if (target != GetPosition())
    {
        SetPosition(target);
    }
}

// The frame's opacity follows the form's; the close button takes its own
// from the walk down the tree.
void Form::ApplyOpacity()
{
    const float opacity = GetOpacity();
    for (const Core::RefPtr<GuiImage>& image : frame_)
    {
        if (image)
        {
            image->SetOpacity(opacity);
        }
    }
}

void Form::Unfocus()
{
    if (!IsEnabled())
    {
        return;
    }
    ResetTabPositions();
    for (std::uint32_t i = 0; i < GetControlCount(); ++i)
    {
        GetControl(i)->Unfocus();
    }
}

// --- Operations ----------------------------------------------------------------

void Form::Close(Control*)
{
    const Core::RefPtr<Control> keep(GetReferenceCount() > 0 ? this : nullptr);
    OnClosing();
    if (HUD* hud = HUD::GetInstance())
    {
        hud->DestroyControlLater(this);
    }
}

void Form::SetModal(bool modal)
{
    const std::uint8_t value = modal ? 1 : 0;
    if (value == modal_)
    {
        return;
    }
    modal_ = value;
    HUD* hud = HUD::GetInstance();
    if (hud == nullptr)
    {
        return;
    }
    if (modal)
    {
        auto* previous = dynamic_cast<Form*>(hud->GetModalForm());
        if (previous != nullptr && previous != this)
        {
            previous->modal_ = 0;
        }
        hud->SetModalForm(this);
    }
    else if (hud->GetModalForm() == this)
    {
        hud->SetModalForm(nullptr);
    }
}

void Form::SetPicture(const std::string& name)
{
    pictureName_ = name;
    LoadPicture();
}

void Form::LoadPicture()
{
    picture_ = Renderer::LoadTexture(pictureName_, true);
    pictureDrawable_ = new ("GUI_Form", __LINE__) ImageRenderContext(0);
}

void Form::SetShowOnlyControls(bool showOnly)
{
    showOnlyControls_ = showOnly ? 1 : 0;
    if (showOnly)
    {
        dragging_ = 0;
    }
    ApplyCloseButtonVisibility();
}

void Form::SetCloseButtonVisible(bool visible)
{
    closeButtonVisible_ = visible ? 1 : 0;
    ApplyCloseButtonVisibility();
}

void Form::SetCaptionHeight(float height)
{
    if (std::isfinite(height))
    {
        captionHeight_ = height;
        Relayout();
    }
}

void Form::SetBottomBorderHeight(float height)
{
    if (std::isfinite(height))
    {
        bottomBorderHeight_ = height;
        Relayout();
    }
}

void Form::SetLeftBorderWidth(float width)
{
    if (std::isfinite(width))
    {
        leftBorderWidth_ = width;
        Relayout();
    }
}

void Form::SetRightBorderWidth(float width)
{
    if (std::isfinite(width))
    {
        rightBorderWidth_ = width;
        Relayout();
    }
}

// --- Drawing -------------------------------------------------------------------

void Form::PostUpdate(float dt)
{
    if (showOnlyControls_ != 0 || !IsVisible())
    {
        return;
    }
    const HUD* hud = HUD::GetInstance();
    const bool active = hud != nullptr && hud->GetActiveForm() == this;
    Math::Vector4 color = active ? GetModulationColor() : inactiveColor_;
    if (active && attention_ != 0)
    {
        flashTimer_ += dt;
        if (flashTimer_ > FlashPeriod)
        {
            flashTimer_ = 0.0f;
            flashPhase_ ^= 1;
        }
        color = flashPhase_ == 0 ? GetModulationColor() : inactiveColor_;
        attentionTimer_ += dt;
        if (attentionTimer_ > AttentionTime)
        {
            color = GetModulationColor();
            flashTimer_ = 0.0f;
            attentionTimer_ = 0.0f;
            attention_ = 0;
            flashPhase_ = 1;
        }
    }
    frameColor_ = color;

    const NRectangle clip = GetParent() != nullptr
                                ? GetParent()->GetVisibleClientRectangle()
                                : NRectangle(0.0f, 0.0f, static_cast<float>(GetScreenWidth()),
                                             static_cast<float>(GetScreenHeight()));
    for (const Core::RefPtr<GuiImage>& image : frame_)
    {
        if (image)
        {
            image->SetModulationColor(color);
            image->SetDepth(GetDepth());
            image->Draw(clip);
        }
    }
    DrawPicture(clip);
    DrawCaptionText();
}

void Form::DrawPicture(const NRectangle& clip)
{
    Graphics* graphics = Graphics::GetInstance();
    if (graphics == nullptr || !pictureDrawable_)
    {
        return;
    }
    NRectangle visible;
    if (!NRectangle::Intersect(visible, GetVisibleClientRectangle(), clip))
    {
        return;
    }
    graphics->ResetClip();
    graphics->SetClipRectangle(visible);
    graphics->SetOpacity(GetOpacity());
    graphics->SetDepth(GetDepth());
    // The whole client rectangle, cut by what is visible of it: a clipped
    // picture keeps its proportions.
    graphics->PrepareImage(*pictureDrawable_, TRectangle(GetClientRectangle()), picture_);
    graphics->SubmitImage(pictureDrawable_);
}

void Form::DrawCaptionText()
{
    Graphics* graphics = Graphics::GetInstance();
    const Core::RefPtr<Engine::BitmapFont>& font = GetFont();
    if (graphics == nullptr || !font || GetText().empty() || !GetTextDrawable())
    {
        return;
    }
    const NRectangle bar = GetCaptionBar();
    const auto lineHeight = static_cast<float>(font->GetLineHeight());
    const float y = lineHeight < bar.GetHeight() ? bar.GetBottom() + (bar.GetHeight() - lineHeight) / 2.0f
                                                 : bar.GetBottom();
    graphics->ResetClip();
    graphics->SetClipRectangle(bar);
    graphics->SetColor(GetTextModulationColor());
    graphics->SetOpacity(GetOpacity());
    graphics->SetDepth(GetDepth() + 0.1f);
    graphics->PrepareString(*GetTextDrawable(), bar.GetLeft(), y, GetText(), font);
    graphics->SubmitString(GetTextDrawable());
}

// --- Persistence ---------------------------------------------------------------

void Form::Write(Core::File& file) const
{
    Control::Write(file);
    for (const Core::RefPtr<GuiImage>& image : frame_)
    {
        file.WriteObject(image.Get());
    }
    file.WriteObject(closeButton_.Get());
    file << pictureName_;
    file << closeButtonVisible_ << showOnlyControls_ << attention_ << flashPhase_ << modal_;
    file << flashTimer_ << attentionTimer_ << captionHeight_ << bottomBorderHeight_ << leftBorderWidth_
         << rightBorderWidth_;
    file << inactiveColor_.x << inactiveColor_.y << inactiveColor_.z << inactiveColor_.w;
    file << dragging_ << dragOffset_.x << dragOffset_.y;
}

void Form::Read(Core::File& file)
{
    Core::File::ReadingScope scope(file, *this);
    Record record;
    if (!ReadRecord(file, record))
    {
        return;
    }
    std::array<Core::RefPtr<GuiImage>, FrameImageCount> frame;
    Core::RefPtr<Button> closeButton;
    std::string pictureName;
    std::uint8_t flags[5] = {};
    float values[6] = {};
    float color[4] = {};
    std::uint8_t dragging = 0;
    float dragOffset[2] = {};
    for (Core::RefPtr<GuiImage>& image : frame)
    {
        Core::ReadRefPtr(file, image);
    }
    Core::ReadRefPtr(file, closeButton);
    file >> pictureName;
    file.Read(flags, sizeof flags);
    file.Read(values, sizeof values);
    file.Read(color, sizeof color);
    file >> dragging;
    file.Read(dragOffset, sizeof dragOffset);
    if (file.Failed())
    {
        return;
    }
    bool sound = std::all_of(frame.begin(), frame.end(), [](const auto& image) { return bool(image); }) &&
                 closeButton && record.HasChild(closeButton.Get()) &&
                 std::all_of(std::begin(flags), std::end(flags), IsFlag) && IsFlag(dragging);
    for (const float value : values)
    {
        sound = sound && std::isfinite(value);
    }
    for (const float value : dragOffset)
    {
        sound = sound && std::isfinite(value);
    }
    if (!sound)
    {
        file.SetError(Core::FileError::BadData);
        return;
    }
    ApplyRecord(record, file);
    if (closeButton_)
    {
        closeButton_->RemoveListenersOf(this);
    }
    frame_ = frame;
    closeButton_ = closeButton;
    pictureName_ = pictureName;
    closeButtonVisible_ = flags[0];
    showOnlyControls_ = flags[1];
    attention_ = flags[2];
    flashPhase_ = flags[3];
    modal_ = flags[4];
    flashTimer_ = values[0];
    attentionTimer_ = values[1];
    captionHeight_ = values[2];
    bottomBorderHeight_ = values[3];
    leftBorderWidth_ = values[4];
    rightBorderWidth_ = values[5];
    inactiveColor_ = Math::Vector4(color[0], color[1], color[2], color[3]);
    dragging_ = dragging;
    dragOffset_ = Math::Vector2D(dragOffset[0], dragOffset[1]);
    LoadPicture();
    closeButton_->AddListener(Event::Click, this, &Form::Close);
}

} // namespace GUI

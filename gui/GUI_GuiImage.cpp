#include "gui/GUI_GuiImage.h"

#include "core/Core_File.h"
#include "core/Core_ResourceReport.h"
#include "core/Core_String.h"
#include "gui/GUI_Graphics.h"
#include "renderer/Renderer_TextureCache.h"

#include <algorithm>
#include <cmath>

namespace GUI
{

CORE_DEFINE_OBJECT(GuiImage, "GUI::GuiImage", "GuiImage", "GUI_GuiImage", __LINE__)

namespace
{

bool IsPositiveFinite(float value)
{
    return std::isfinite(value) && value > 0.0f;
}

} // namespace

GuiImage::GuiImage() = default;

GuiImage::GuiImage(const std::string& name, const Size& size)
{
    if (name.empty())
    {
        return;
    }
    name_ = name;
    opacity_ = 1.0f;
    visible_ = 1;
    LoadRecords();
    width_ = size.width;
    height_ = size.height;
    depth_ = 0.0f;
    LoadTexture();
    modulationColor_ = Math::Vector4(1.0f, 1.0f, 1.0f, 1.0f);
    currentRecord_ = 0;
    UpdateParts();
    dirty_ = 1;
    MakeContexts();
    UpdatePartPositions();
}

GuiImage::GuiImage(const std::string& name, const GuiImage& other)
{
    visible_ = other.visible_;
    opacity_ = other.opacity_;
    width_ = other.width_;
    height_ = other.height_;
    depth_ = other.depth_;
    modulationColor_ = other.modulationColor_;
    if (name.empty())
    {
        return;
    }
    name_ = name;
    LoadRecords();
    LoadTexture();
    currentRecord_ = other.currentRecord_ < records_.size() ? other.currentRecord_ : 0;
    UpdateParts();
    dirty_ = 1;
    MakeContexts();
    UpdatePartPositions();
}

GuiImage::GuiImage(const GuiImage& other)
    : Core::Object(other), name_(other.name_), parts_(other.parts_), leftBorder_(other.leftBorder_),
      rightBorder_(other.rightBorder_), topBorder_(other.topBorder_), bottomBorder_(other.bottomBorder_),
      texture_(other.texture_), textureWidth_(other.textureWidth_), textureHeight_(other.textureHeight_),
      visible_(other.visible_), modulationColor_(other.modulationColor_), opacity_(other.opacity_),
      width_(other.width_), height_(other.height_), depth_(other.depth_), position_(other.position_),
      currentRecord_(other.currentRecord_), records_(other.records_), dirty_(1), lastClip_(other.lastClip_)
{
    if (!other.contexts_.empty())
    {
        MakeContexts();
    }
}

Core::RefPtr<GuiImage> GuiImage::CreateReskinned(const std::string& name, const GuiImage& other)
{
    return Core::RefPtr<GuiImage>(new ("GUI_GuiImage", __LINE__) GuiImage(name, other));
}

void GuiImage::LoadRecords()
{
    const std::string fileName = name_ + ".gui";
    std::string problem;
    std::vector<SkinRecord> records;
    if (!LoadSkinFile(fileName, records, problem))
    {
        Core::ReportUnreadableResource(fileName, problem, "the skin draws nothing");
        records_.clear();
        return;
    }
    if (records.empty())
    {
        Core::ReportUnreadableResource(fileName, "it holds no skin record", "the skin draws nothing");
    }
    records_ = std::move(records);
}

void GuiImage::LoadTexture()
{
    texture_ = Renderer::LoadTexture(name_ + ".png", false);
    textureWidth_ = texture_ ? static_cast<float>(texture_->GetWidth()) : 0.0f;
    textureHeight_ = texture_ ? static_cast<float>(texture_->GetHeight()) : 0.0f;
}

void GuiImage::MakeContexts()
{
    contexts_.clear();
    for (std::uint32_t i = 0; i < PartCount; ++i)
    {
        contexts_.emplace_back(new ("GUI_GuiImage", __LINE__) ImageRenderContext(0));
    }
}

void GuiImage::UpdateParts()
{
    if (currentRecord_ >= records_.size())
    {
        // No record to lay out: every part and border measures 0.
        leftBorder_ = rightBorder_ = topBorder_ = bottomBorder_ = 0.0f;
        for (TRectangle& part : parts_)
        {
            part.SetWidth(0.0f);
            part.SetHeight(0.0f);
        }
        return;
    }
    const SkinRecord& r = records_[currentRecord_];
    leftBorder_ = r.leftColumnEnd;
    rightBorder_ = r.width - r.rightColumnStart;
    topBorder_ = r.height - r.topRowStart;
    bottomBorder_ = r.bottomRowEnd;
    const auto columnWidth = [this](float w) { return std::clamp(w, 0.0f, std::max(width_, 0.0f)); };
    const auto rowHeight = [this](float h) { return std::clamp(h, 0.0f, std::max(height_, 0.0f)); };
    const float columns[3] = {columnWidth(leftBorder_), columnWidth(width_ - leftBorder_ - rightBorder_),
                              columnWidth(rightBorder_)};
    // Rows from the top: top border, middle, bottom border.
    const float rows[3] = {rowHeight(topBorder_), rowHeight(height_ - topBorder_ - bottomBorder_),
                           rowHeight(bottomBorder_)};
    for (std::uint32_t i = 0; i < PartCount; ++i)
    {
        parts_[i].SetWidth(columns[i % 3]);
        parts_[i].SetHeight(rows[i / 3]);
    }
    ComputeTexCoords();
}

void GuiImage::ComputeTexCoords()
{
    const SkinRecord& r = records_[currentRecord_];
    const float tw = textureWidth_;
    const float th = textureHeight_;
    if (!IsPositiveFinite(tw) || !IsPositiveFinite(th))
    {
        return;
    }
    const float x0 = r.x / tw;
    const float y0 = r.y / th;
    // Column edges in u and row edges in v (rows from the bottom).
    const float u[4] = {0.0f, r.leftColumnEnd / tw, r.rightColumnStart / tw, r.width / tw};
    const float v[4] = {0.0f, r.bottomRowEnd / th, r.topRowStart / th, r.height / th};
    for (std::uint32_t i = 0; i < PartCount; ++i)
    {
        const std::uint32_t column = i % 3;
        // Part rows run from the top; texture rows from the bottom.
        const std::uint32_t row = 2 - i / 3;
        const float uLow = x0 + u[column];
        const float uHigh = x0 + u[column + 1];
        const float vLow = y0 + v[row];
        const float vHigh = y0 + v[row + 1];
        parts_[i].SetTexCoord(0, Math::Vector2D(uLow, vLow));
        parts_[i].SetTexCoord(1, Math::Vector2D(uHigh, vLow));
        parts_[i].SetTexCoord(2, Math::Vector2D(uHigh, vHigh));
        parts_[i].SetTexCoord(3, Math::Vector2D(uLow, vHigh));
    }
}

void GuiImage::UpdatePartPositions()
{
    const float px = position_.x;
    const float py = position_.y;
    const float L = leftBorder_;
    const float R = rightBorder_;
    const float T = topBorder_;
    const float B = bottomBorder_;
    const float W = width_;
    const float H = height_;
    const float xs[3] = {px, px + L, px + W - R};
    const float ys[3] = {py + H - T, py + B, py};
    for (std::uint32_t i = 0; i < PartCount; ++i)
    {
        parts_[i].SetLeft(xs[i % 3]);
        parts_[i].SetBottom(ys[i / 3]);
    }
}

void GuiImage::SetState(std::uint32_t record)
{
    if (record >= records_.size() || record == currentRecord_)
    {
        return;
    }
    currentRecord_ = record;
    UpdateParts();
    UpdatePartPositions();
    dirty_ = 1;
}

void GuiImage::SetPosition(const Math::Vector2D& position)
{
    if (position == position_)
    {
        return;
    }
    position_ = position;
    UpdatePartPositions();
    dirty_ = 1;
}

void GuiImage::SetWidth(float width)
{
    if (width == width_)
    {
        return;
    }
    width_ = width;
    UpdateParts();
    UpdatePartPositions();
    dirty_ = 1;
}

void GuiImage::SetHeight(float height)
{
    if (height == height_)
    {
        return;
    }
    height_ = height;
    UpdateParts();
    UpdatePartPositions();
    dirty_ = 1;
}

void GuiImage::SetModulationColor(const Math::Vector4& color)
{
    if (color.x == modulationColor_.x && color.y == modulationColor_.y && color.z == modulationColor_.z &&
        color.w == modulationColor_.w)
    {
        return;
    }
    modulationColor_ = color;
    dirty_ = 1;
}

void GuiImage::SetOpacity(float opacity)
{
    if (opacity == opacity_)
    {
        return;
    }
    opacity_ = opacity;
    dirty_ = 1;
}

void GuiImage::SetDepth(float depth)
{
    if (depth == depth_)
    {
        return;
    }
    depth_ = depth;
    dirty_ = 1;
}

void GuiImage::Prepare(const NRectangle& clip)
{
    if (!(clip == lastClip_))
    {
        lastClip_ = clip;
        dirty_ = 1;
    }
    Graphics* graphics = Graphics::GetInstance();
    if (dirty_ == 0 || graphics == nullptr || contexts_.size() != PartCount)
    {
        return;
    }
    graphics->ResetClip();
    graphics->SetClipRectangle(clip);
    graphics->SetDepth(depth_);
    graphics->SetOpacity(opacity_);
    graphics->SetColor(modulationColor_);
    for (std::uint32_t i = 0; i < PartCount; ++i)
    {
        graphics->PrepareImage(*contexts_[i], parts_[i], texture_);
    }
    dirty_ = 0;
}

void GuiImage::Draw(const NRectangle& clip)
{
    if (visible_ == 0)
    {
        return;
    }
    Prepare(clip);
    Graphics* graphics = Graphics::GetInstance();
    if (graphics == nullptr || contexts_.size() != PartCount || records_.empty())
    {
        return;
    }
    for (std::uint32_t i = 0; i < PartCount; ++i)
    {
        if (parts_[i].IsValid())
        {
            graphics->SubmitImage(contexts_[i]);
        }
    }
}

void GuiImage::Write(Core::File& file) const
{
    file << name_;
    for (const TRectangle& part : parts_)
    {
        part.Write(file);
    }
    file << leftBorder_ << rightBorder_ << topBorder_ << bottomBorder_;
    file << textureWidth_ << textureHeight_;
    file << visible_;
    file << modulationColor_.x << modulationColor_.y << modulationColor_.z << modulationColor_.w;
    file << opacity_ << width_ << height_ << depth_;
    file << position_.x << position_.y;
    file << currentRecord_;
    WriteSkinRecords(file, records_);
    lastClip_.Write(file);
}

void GuiImage::Read(Core::File& file)
{
    std::string name;
    std::array<TRectangle, PartCount> parts;
    float borders[4] = {};
    float textureSize[2] = {};
    std::uint8_t visible = 0;
    float color[4] = {};
    float values[4] = {};
    float position[2] = {};
    std::uint32_t currentRecord = 0;
    std::vector<SkinRecord> records;
    NRectangle lastClip;
    std::string problem;

    file >> name;
    for (TRectangle& part : parts)
    {
        part.Read(file);
    }
    file.Read(borders, sizeof borders);
    file.Read(textureSize, sizeof textureSize);
    file >> visible;
    file.Read(color, sizeof color);
    file.Read(values, sizeof values);
    file.Read(position, sizeof position);
    file >> currentRecord;
    if (file.Failed() || !ReadSkinRecords(file, records, problem) || !lastClip.Read(file))
    {
        return;
    }
    const bool recordSound = records.empty() ? currentRecord == 0 : currentRecord < records.size();
    const bool textureSound =
        records.empty() || (IsPositiveFinite(textureSize[0]) && IsPositiveFinite(textureSize[1]));
    if (!recordSound || !textureSound || visible > 1)
    {
        file.SetError(Core::FileError::BadData);
        return;
    }

    name_ = name;
    parts_ = parts;
    leftBorder_ = borders[0];
    rightBorder_ = borders[1];
    topBorder_ = borders[2];
    bottomBorder_ = borders[3];
    textureWidth_ = textureSize[0];
    textureHeight_ = textureSize[1];
    visible_ = visible;
    modulationColor_ = Math::Vector4(color[0], color[1], color[2], color[3]);
    opacity_ = values[0];
    width_ = values[1];
    height_ = values[2];
    depth_ = values[3];
    position_ = Math::Vector2D(position[0], position[1]);
    currentRecord_ = currentRecord;
    records_ = std::move(records);
    lastClip_ = lastClip;
    texture_ =
        name_.empty() ? Core::RefPtr<Renderer::ITexture>() : Renderer::LoadTexture(name_ + ".png", false);
    MakeContexts();
    dirty_ = 1;
}

} // namespace GUI

#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "gui/GUI_ImageEffect.h"
#include "gui/GUI_Rectangle.h"
#include "gui/GUI_SkinFile.h"
#include "math/Math_Vector2D.h"
#include "math/Math_Vector4.h"
#include "renderer/Renderer_ITexture.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace GUI
{

// The background of a skinned control: one record of a skin cut into nine
// parts (corners at their border sizes, edges stretched along one axis, the
// centre along both) and drawn at the image's size and position through the
// drawing context. Parts in order: 0 top-left, 1 top edge, 2 top-right,
// 3 left edge, 4 centre, 5 right edge, 6 bottom-left, 7 bottom edge,
// 8 bottom-right.
//
// Drawing is retained: the nine render contexts are refilled only when a
// setter or a new clip made the image dirty, and resubmitted every frame.
//
// A skin is "<name>.gui" (its records) beside "<name>.png". A skin whose
// ".gui" is missing, damaged or holds no record is reported and gives an
// image without records: it draws nothing, its parts and borders measure 0,
// and SetState ignores every index.
class GuiImage : public Core::Object
{
    CORE_DECLARE_OBJECT(GuiImage)

public:
    static constexpr std::uint32_t PartCount = 9;

    // An image with an empty name: nothing loaded, invisible, for a read
    // to fill.
    GuiImage();
    // Loads the skin `name` (its base path) and lays record 0 out at `size`.
    GuiImage(const std::string& name, const Size& size);
    // Loads the skin `name` and takes the visibility, opacity, size, depth
    // and colour of `other`, and its record when the new skin has it (else
    // record 0). The position stays (0, 0) until the owner sets it.
    GuiImage(const std::string& name, const GuiImage& other);
    // A copy with render contexts of its own, dirty.
    GuiImage(const GuiImage& other);
    GuiImage& operator=(const GuiImage&) = delete;

    static Core::RefPtr<GuiImage> CreateReskinned(const std::string& name, const GuiImage& other);

    // Each setter does nothing when the value equals the stored one.
    // SetState also ignores an index at or past the record count.
    void SetState(std::uint32_t record);
    void SetPosition(const Math::Vector2D& position);
    void SetWidth(float width);
    void SetHeight(float height);
    void SetModulationColor(const Math::Vector4& color);
    void SetOpacity(float opacity);
    void SetDepth(float depth);
    void SetVisible(bool visible) { visible_ = visible ? 1 : 0; }

    float GetOpacity() const { return opacity_; }
    std::uint32_t GetState() const { return currentRecord_; }
    const Math::Vector2D& GetPosition() const { return position_; }
    float GetWidth() const { return width_; }
    float GetHeight() const { return height_; }
    float GetDepth() const { return depth_; }
    bool IsVisible() const { return visible_ != 0; }
    const Math::Vector4& GetModulationColor() const { return modulationColor_; }
    const std::string& GetName() const { return name_; }
    const std::vector<SkinRecord>& GetRecords() const { return records_; }
    std::uint32_t GetRecordCount() const { return static_cast<std::uint32_t>(records_.size()); }
    float GetLeftBorder() const { return leftBorder_; }
    float GetRightBorder() const { return rightBorder_; }
    float GetTopBorder() const { return topBorder_; }
    float GetBottomBorder() const { return bottomBorder_; }
    const Core::RefPtr<Renderer::ITexture>& GetTexture() const { return texture_; }
    // Parts and contexts 0 to 8; the contexts are empty for an image
    // without a skin.
    const TRectangle& GetPart(std::uint32_t part) const { return parts_[part]; }
    Core::RefPtr<ImageRenderContext> GetContext(std::uint32_t part) const
    {
        return part < contexts_.size() ? contexts_[part] : Core::RefPtr<ImageRenderContext>();
    }
    bool IsDirty() const { return dirty_ != 0; }

    // Refills the render contexts when the clip differs from the last one or
    // something changed since (the drawing context must exist).
    void Prepare(const NRectangle& clip);
    // Prepares, then queues every part of at least 1 x 1 that the clip
    // left visible. An invisible image does nothing.
    void Draw(const NRectangle& clip);

    // Name, parts, borders, texture size, visibility, colour, opacity, size,
    // depth, position, current record, records and last clip. Read reloads
    // the texture from the name and makes new render contexts; the texture
    // size is the one written. A short or damaged record (a count past the
    // bytes left, a current record outside the records, a texture size
    // that is not positive and finite while there are records) fails the
    // archive and leaves the image as it was.
    void Write(Core::File& file) const override;
    void Read(Core::File& file) override;

private:
    // Reads "<name>.gui" into the records, reporting a missing, damaged or
    // empty file.
    void LoadRecords();
    void LoadTexture();
    void MakeContexts();
    // Border sizes, part sizes and texture coordinates from the current
    // record.
    void UpdateParts();
    void ComputeTexCoords();
    void UpdatePartPositions();

    std::string name_;
    std::array<TRectangle, PartCount> parts_;
    float leftBorder_ = 0.0f;
    float rightBorder_ = 0.0f;
    float topBorder_ = 0.0f;
    float bottomBorder_ = 0.0f;
    Core::RefPtr<Renderer::ITexture> texture_;
    float textureWidth_ = 0.0f;
    float textureHeight_ = 0.0f;
    std::uint8_t visible_ = 0;
    Math::Vector4 modulationColor_{0.0f, 0.0f, 0.0f, 1.0f};
    float opacity_ = 0.0f;
    float width_ = 0.0f;
    float height_ = 0.0f;
    float depth_ = 0.0f;
    Math::Vector2D position_;
    std::uint32_t currentRecord_ = 0;
    std::vector<SkinRecord> records_;
    std::vector<Core::RefPtr<ImageRenderContext>> contexts_;
    std::uint8_t dirty_ = 0;
    NRectangle lastClip_;
};

} // namespace GUI

#include "engine/Engine_Text.h"

#include "core/Core_File.h"
#include "engine/Engine_RenderQueue.h"
#include "engine/Engine_SceneGraph.h"

#include <cfloat>
#include <cmath>

namespace Engine
{

CORE_DEFINE_OBJECT(Text, "Engine::Text", Text::ScriptTypeName, "Engine_Text", __LINE__)

namespace
{

constexpr std::int32_t LineFeed = 10;
constexpr std::int32_t CarriageReturn = 13;
constexpr std::int32_t Space = 32;
constexpr std::int32_t Tab = 9;

// The range over six vertices per character.
DrawRange RangeFor(std::size_t characters)
{
    DrawRange range;
    range.last = characters > 0 ? static_cast<std::uint32_t>(6 * characters - 1) : 0;
    range.enabled = true;
    return range;
}

} // namespace

Text::Text(const std::string& text, bool screenText)
    : text_(text), mesh_(new ("Engine_Text", __LINE__) Mesh()), effect_(MakeEffect(screenText)),
      screenText_(screenText)
{
    mesh_->AddDrawRange(RangeFor(text_.size()));
    mesh_->AddObject(effect_);
}

Text::Text(const Text& other)
    : Node(other), color(other.color), opacity(other.opacity), offset(other.offset), text_(other.text_),
      mesh_(new ("Engine_Text", __LINE__) Mesh()), font_(other.font_), effect_(MakeEffect(other.screenText_)),
      screenText_(other.screenText_)
{
    for (int i = 0; i < 4; ++i)
    {
        reserved[i] = other.reserved[i];
    }
    mesh_->AddDrawRange(RangeFor(text_.size()));
    mesh_->AddObject(effect_);
}

Core::RefPtr<Renderer::Effect> Text::MakeEffect(bool screenText)
{
    return screenText ? Renderer::CreateNearestTextureEffect() : Renderer::CreateTextureEffect();
}

void Text::Write(Core::File& file) const
{
    Node::Write(file);
    file << text_;
    file << (font_ ? font_->GetName() : std::string());
    file << color << opacity << offset << screenText_;
    for (const float value : reserved)
    {
        file << value;
    }
}

void Text::Read(Core::File& file)
{
    Node::Read(file);
    std::string text;
    std::string fontName;
    Math::Vector4 readColor;
    float readOpacity = 0.0f;
    Math::Vector2D readOffset;
    bool readScreenText = false;
    float readReserved[4] = {};
    file >> text >> fontName >> readColor >> readOpacity >> readOffset >> readScreenText;
    for (float& value : readReserved)
    {
        file >> value;
    }
    if (file.Failed())
    {
        return;
    }
    text_ = std::move(text);
    font_ = fontName.empty() ? Core::RefPtr<BitmapFont>()
                             : Core::RefPtr<BitmapFont>(new ("Engine_Text", __LINE__) BitmapFont(fontName));
    color = readColor;
    opacity = readOpacity;
    offset = readOffset;
    screenText_ = readScreenText;
    for (int i = 0; i < 4; ++i)
    {
        reserved[i] = readReserved[i];
    }
    effect_ = MakeEffect(screenText_);
}

void Text::Update(float dt)
{
    RunHookAndControllers(dt);
}

bool Text::Layout(float& minX, float& minY, float& maxX, float& maxY)
{
    const std::size_t n = text_.size();
    mesh_->Clear();
    mesh_->AddDrawRange(RangeFor(n));
    effect_->SetTexture(1, font_->GetTexture());
    mesh_->ReservePositions(static_cast<std::uint32_t>(6 * n));
    mesh_->ReserveTexCoords(static_cast<std::uint32_t>(6 * n));

    const auto cell = static_cast<float>(font_->GetCellSize());
    const auto lineHeight = static_cast<float>(font_->GetLineHeight());
    GlyphRecord space;
    font_->GetCharacterInfo(Space, space);

    // The extent starts inverted; its maxima start at the smallest positive
    // float, so the box always reaches x = 0 and y = 0.
    minX = minY = FLT_MAX;
    maxX = maxY = FLT_MIN;
    bool any = false;
    float x = 0.0f;
    float y = 0.0f;
    const auto emptyGlyph = [this]
    {
        for (int i = 0; i < 6; ++i)
        {
            mesh_->AddPosition(Math::Vector3(0.0f, 0.0f, 0.0f));
            mesh_->AddTexCoord(Math::Vector2D(0.0f, 0.0f));
        }
    };
    for (const char character : text_)
    {
        // Bytes 128 to 255 are codes below 0: the font gives them the space.
        const std::int32_t code = static_cast<signed char>(character);
        switch (code)
        {
        case LineFeed:
            y = y - lineHeight;
            x = 0.0f;
            emptyGlyph();
            continue;
        case Space:
            x = x + static_cast<float>(space.advance);
            emptyGlyph();
            continue;
        case Tab:
            x = x + 4.0f * static_cast<float>(space.advance);
            emptyGlyph();
            continue;
        case CarriageReturn:
            emptyGlyph();
            continue;
        default:
            break;
        }
        GlyphRecord glyph;
        font_->GetCharacterInfo(code, glyph);
        float corners[8];
        font_->GetCharacterTexCoords(code, corners);
        // Inside a line the bearing is rounded up and the kerning shifts the
        // pen; the first glyph of a line keeps its exact bearing.
        float bearing = glyph.leftBearing;
        if (x != 0.0f)
        {
            bearing = std::ceil(glyph.leftBearing);
            x = x + static_cast<float>(glyph.kerning);
        }
        const float penX = x;
        x = x + static_cast<float>(glyph.advance);
        if (x != 0.0f)
        {
            x = x - static_cast<float>(glyph.kerning);
        }
        const float left = penX - bearing;
        const Math::Vector3 p0(left, y, 0.0f);
        const Math::Vector3 p1(left + cell, y, 0.0f);
        const Math::Vector3 p2(left + cell, y + cell, 0.0f);
        const Math::Vector3 p3(left, y + cell, 0.0f);
        minX = std::fmin(minX, p3.x);
        maxY = std::fmax(maxY, p3.y);
        maxX = std::fmax(maxX, p1.x);
        minY = std::fmin(minY, p1.y);
        any = true;

        const Math::Vector2D bottomLeft(corners[0], corners[1]);
        const Math::Vector2D bottomRight(corners[2], corners[3]);
        const Math::Vector2D topRight(corners[4], corners[5]);
        const Math::Vector2D topLeft(corners[6], corners[7]);
        const Math::Vector3 positions[6] = {p0, p1, p2, p2, p3, p0};
        const Math::Vector2D coordinates[6] = {bottomLeft, bottomRight, topRight,
                                               topRight,   topLeft,     bottomLeft};
        for (int i = 0; i < 6; ++i)
        {
            mesh_->AddPosition(positions[i]);
            mesh_->AddTexCoord(coordinates[i]);
        }
    }
    return any;
}

void Text::Draw()
{
    RenderQueue* queue = RenderQueue::GetInstance();
    if (!IsVisible() || text_.empty() || screenText_ || !font_ || queue == nullptr)
    {
        return;
    }
    float minX = 0.0f;
    float minY = 0.0f;
    float maxX = 0.0f;
    float maxY = 0.0f;
    const bool hasGlyphs = Layout(minX, minY, maxX, maxY);
    const Math::Matrix4& parentWorld = GetParentWorldMatrix();
    // A text of blanks has no extent to test: its item shows nothing.
    if (!IsOverlay() && hasGlyphs)
    {
        Math::BoundingBox box;
        BoundingVolume::SetSlabCorners(box, minX, minY, maxX, maxY);
        for (Math::Vector3& corner : box.corners)
        {
            corner = parentWorld * corner;
        }
        const SceneGraph* scene = SceneGraph::GetCurrent();
        if (scene != nullptr && scene->GetViewFrustum().Classify(box) == Math::ClassifyResult::Outside)
        {
            return;
        }
    }
    RenderQueueItem item;
    item.effect = effect_;
    item.mesh = mesh_;
    item.color = Math::Vector4(color.x, color.y, color.z, opacity);
    item.overlay = IsOverlay();
    item.worldMatrix = parentWorld;
    item.primitiveType = Renderer::PrimitiveTriangles;
    item.drawRangeIndex = 0;
    queue->Submit(item);
}

} // namespace Engine

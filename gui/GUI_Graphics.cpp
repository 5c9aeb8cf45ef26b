#include "gui/GUI_Graphics.h"

#include "core/Core_File.h"
#include "core/Core_String.h"
#include "engine/Engine_FontCache.h"
#include "engine/Engine_RenderQueue.h"
#include "engine/Engine_RenderingApplication.h"
#include "gui/GUI_Folders.h"
#include "input/Input_MouseImp.h"
#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_TextureCache.h"

#include <cmath>
#include <limits>

namespace GUI
{

namespace
{

Graphics* g_instance = nullptr;

// The corner whose texture coordinate each drawn corner takes, by the flip
// flags (horizontal + 2 x vertical).
constexpr std::uint32_t FlipOrder[4][4] = {
    {0, 1, 2, 3},
    {1, 0, 3, 2},
    {3, 2, 1, 0},
    {2, 3, 0, 1},
};

bool GetDisplaySize(std::uint32_t& width, std::uint32_t& height)
{
    Renderer::IRenderer* renderer = nullptr;
    if (Engine::RenderingApplication* application = Engine::RenderingApplication::GetInstance())
    {
        renderer = application->GetRenderer().Get();
    }
    if (renderer == nullptr)
    {
        if (Engine::RenderQueue* queue = Engine::RenderQueue::GetInstance())
        {
            renderer = queue->GetRenderer();
        }
    }
    if (renderer == nullptr)
    {
        return false;
    }
    const Renderer::DisplayDescription description = renderer->GetDisplayDescription();
    width = description.width;
    height = description.height;
    return true;
}

std::int32_t ToScreenInt(std::uint32_t value)
{
    return value > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max())
               ? std::numeric_limits<std::int32_t>::max()
               : static_cast<std::int32_t>(value);
}

NRectangle WholeScreen()
{
    return NRectangle(0.0f, 0.0f, static_cast<float>(GetScreenWidth()),
                      static_cast<float>(GetScreenHeight()));
}

// The part of a path after its last separator (either slash).
std::string LastComponent(const std::string& path)
{
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

} // namespace

Graphics::Graphics()
{
    clip_ = WholeScreen();
    firstEffect_ = new ("GUI_Graphics", __LINE__) ImageEffect(0);
    secondEffect_ = new ("GUI_Graphics", __LINE__) ImageEffect(1);
    secondEffect_->UpdateStates();
    textEffect_ = Renderer::CreateTextureEffect();
    whiteTexture_ = Renderer::LoadTexture(GetSkinFilePath("White.png"), true);
    depth_ = 0.0f;
    opacity_ = 1.0f;
    color_ = Math::Vector4(1.0f, 1.0f, 1.0f, 1.0f);
    g_instance = this;
}

Graphics::~Graphics()
{
    if (g_instance == this)
    {
        g_instance = nullptr;
    }
}

Graphics* Graphics::GetInstance()
{
    return g_instance;
}

void Graphics::ResetClip()
{
    clip_ = WholeScreen();
    depth_ = 0.0f;
    opacity_ = 1.0f;
    color_ = Math::Vector4(1.0f, 1.0f, 1.0f, 1.0f);
    stippleFactor_ = 1;
    stipplePattern_ = 0xAAAA;
    clipFlag_ = 0;
    flipHorizontally_ = 0;
    flipVertically_ = 0;
    useSecondEffect_ = 0;
}

void Graphics::PrepareImage(ImageRenderContext& context, const TRectangle& rectangle,
                            const Core::RefPtr<Renderer::ITexture>& texture)
{
    TRectangle clipped;
    if (!TRectangle::Clip(clipped, rectangle, clip_))
    {
        context.visible = false;
        return;
    }
    context.visible = true;
    if (useSecondEffect_ != 0)
    {
        context.effect = secondEffect_;
    }
    else
    {
        context.effect = firstEffect_;
    }
    context.texture = texture;
    context.color = Math::Vector4(color_.x, color_.y, color_.z, opacity_);
    const float left = clipped.GetLeft();
    const float bottom = clipped.GetBottom();
    const float right = clipped.GetRight();
    const float top = clipped.GetTop();
    context.vertices[0] = Math::Vector3(left, bottom, 0.0f);
    context.vertices[1] = Math::Vector3(right, bottom, 0.0f);
    context.vertices[2] = Math::Vector3(right, top, 0.0f);
    context.vertices[3] = Math::Vector3(left, top, 0.0f);
    context.depth = depth_;
    const std::uint32_t* order = FlipOrder[(flipHorizontally_ != 0 ? 1 : 0) + (flipVertically_ != 0 ? 2 : 0)];
    for (std::uint32_t corner = 0; corner < 4; ++corner)
    {
        context.texCoords[corner] = clipped.GetTexCoord(order[corner]);
    }
}

void Graphics::PrepareString(Engine::StringRenderContext& context, float x, float y, const std::string& text,
                             const Core::RefPtr<Engine::BitmapFont>& font)
{
    context.vertices.clear();
    context.texCoords.clear();
    context.indices.clear();
    if (!font)
    {
        context.visible = false;
        return;
    }
    float width = 0.0f;
    float height = 0.0f;
    font->GetTextSize(text, width, height);
    NRectangle box;
    if (!NRectangle::Intersect(box, NRectangle(x, y, width, height), clip_))
    {
        context.visible = false;
        return;
    }
    context.visible = true;
    const std::size_t reserve = std::min<std::size_t>(text.size(), Engine::StringRenderContext::MaxQuads);
    context.vertices.reserve(4 * reserve);
    context.texCoords.reserve(4 * reserve);
    context.indices.reserve(6 * reserve);

    Engine::GlyphRecord space;
    font->GetCharacterInfo(' ', space);
    const float cell = static_cast<float>(font->GetCellSize());
    const float lineHeight = static_cast<float>(font->GetLineHeight());
    std::uint32_t quads = 0;
    float penX = x;
    float penY = y;
    for (const char character : text)
    {
        if (quads == Engine::StringRenderContext::MaxQuads)
        {
            break;
        }
        const auto code = static_cast<unsigned char>(character);
        switch (code)
        {
        case '\t':
            penX += 4.0f * static_cast<float>(space.advance);
            continue;
        case ' ':
            penX += static_cast<float>(space.advance);
            continue;
        case '\n':
            penY -= lineHeight;
            penX = x;
            continue;
        case '\r':
            continue;
        default:
            break;
        }
        Engine::GlyphRecord glyph;
        font->GetCharacterInfo(code, glyph);
        // Inside a line the offset is rounded up and the spacing moves the
        // pen before the glyph and back after it.
        float offset = glyph.leftBearing;
        if (penX != 0.0f)
        {
            offset = std::ceil(glyph.leftBearing);
            penX += static_cast<float>(glyph.kerning);
        }
        const float origin = penX;
        penX += static_cast<float>(glyph.advance);
        if (penX != 0.0f)
        {
            penX -= static_cast<float>(glyph.kerning);
        }
        TRectangle quad(origin - offset, penY, cell, cell);
        float coordinates[8];
        font->GetCharacterTexCoords(code, coordinates);
        for (std::uint32_t corner = 0; corner < 4; ++corner)
        {
            quad.SetTexCoord(corner, Math::Vector2D(coordinates[2 * corner], coordinates[2 * corner + 1]));
        }
        TRectangle clipped;
        if (!TRectangle::Clip(clipped, quad, clip_))
        {
            continue;
        }
        context.effect = firstEffect_;
        context.texture = font->GetTexture();
        context.color = Math::Vector4(color_.x, color_.y, color_.z, opacity_);
        context.depth = depth_;
        const float left = clipped.GetLeft();
        const float bottom = clipped.GetBottom();
        const float right = clipped.GetRight();
        const float top = clipped.GetTop();
        context.vertices.emplace_back(left, bottom, 0.0f);
        context.vertices.emplace_back(right, bottom, 0.0f);
        context.vertices.emplace_back(right, top, 0.0f);
        context.vertices.emplace_back(left, top, 0.0f);
        for (std::uint32_t corner = 0; corner < 4; ++corner)
        {
            context.texCoords.push_back(clipped.GetTexCoord(corner));
        }
        const auto first = static_cast<std::uint16_t>(4 * quads);
        const std::uint16_t quadIndices[6] = {
            first, static_cast<std::uint16_t>(first + 1), static_cast<std::uint16_t>(first + 2),
            first, static_cast<std::uint16_t>(first + 2), static_cast<std::uint16_t>(first + 3)};
        context.indices.insert(context.indices.end(), quadIndices, quadIndices + 6);
        ++quads;
    }
}

void Graphics::SubmitImage(const Core::RefPtr<ImageRenderContext>& context) const
{
    Engine::RenderQueue* queue = Engine::RenderQueue::GetInstance();
    if (context && context->visible && queue != nullptr)
    {
        queue->AddScreenObject(context);
    }
}

void Graphics::SubmitString(const Core::RefPtr<Engine::StringRenderContext>& context) const
{
    Engine::RenderQueue* queue = Engine::RenderQueue::GetInstance();
    if (context && context->visible && queue != nullptr)
    {
        queue->AddScreenObject(context);
    }
}

void Graphics::Save(Core::File& file) const
{
    file << color_.x << color_.y << color_.z << color_.w;
    clip_.Write(file);
    file << depth_ << opacity_ << stippleFactor_ << stipplePattern_;
    file << clipFlag_ << flipHorizontally_ << flipVertically_ << useSecondEffect_;
    file << (font_ ? LastComponent(font_->GetName()) : std::string());
}

bool Graphics::Load(Core::File& file)
{
    State state;
    if (!ReadState(file, state))
    {
        return false;
    }
    ApplyState(state);
    return true;
}

bool Graphics::ReadState(Core::File& file, State& state)
{
    float color[4];
    std::string fontName;
    file.Read(color, sizeof color);
    state.clip.Read(file);
    file >> state.depth >> state.opacity >> state.stippleFactor >> state.stipplePattern;
    file.Read(state.flags, sizeof state.flags);
    file >> fontName;
    if (file.Failed())
    {
        return false;
    }
    // Flags are 0 or 1, and a font is named by its folder's name alone.
    bool sound = fontName.find_first_of("\\/") == std::string::npos;
    for (const std::uint8_t flag : state.flags)
    {
        sound = sound && flag <= 1;
    }
    if (!sound)
    {
        file.SetError(Core::FileError::BadData);
        return false;
    }
    state.color = Math::Vector4(color[0], color[1], color[2], color[3]);
    state.font = nullptr;
    if (!fontName.empty())
    {
        const std::string path = GetFontPath(fontName);
        Engine::FontCache* cache = Engine::FontCache::GetInstance();
        state.font = cache != nullptr ? cache->GetFont(path)
                                      : Core::RefPtr<Engine::BitmapFont>(new ("GUI_Graphics", __LINE__)
                                                                             Engine::BitmapFont(path));
    }
    return true;
}

void Graphics::ApplyState(const State& state)
{
    color_ = state.color;
    clip_ = state.clip;
    depth_ = state.depth;
    opacity_ = state.opacity;
    stippleFactor_ = state.stippleFactor;
    stipplePattern_ = state.stipplePattern;
    clipFlag_ = state.flags[0];
    flipHorizontally_ = state.flags[1];
    flipVertically_ = state.flags[2];
    useSecondEffect_ = state.flags[3];
    font_ = state.font;
}

std::int32_t GetScreenWidth()
{
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    return GetDisplaySize(width, height) ? ToScreenInt(width) : 0;
}

std::int32_t GetScreenHeight()
{
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    return GetDisplaySize(width, height) ? ToScreenInt(height) : 0;
}

Math::Vector2D GetMousePosition()
{
    Input::MouseImp* mouse = Input::MouseImp::GetInstance();
    if (mouse == nullptr)
    {
        return {};
    }
    std::int32_t x = 0;
    std::int32_t y = 0;
    mouse->GetPosition(x, y);
    return Math::Vector2D(static_cast<float>(x), static_cast<float>(y));
}

void SetMousePosition(const Math::Vector2D& position)
{
    Input::MouseImp* mouse = Input::MouseImp::GetInstance();
    if (mouse == nullptr || !std::isfinite(position.x) || !std::isfinite(position.y))
    {
        return;
    }
    // Truncated toward zero, within the range of the mouse's integers.
    const auto toInt = [](float value)
    {
        const double clamped = std::fmax(std::fmin(static_cast<double>(value), 2147483647.0), -2147483648.0);
        return static_cast<std::int32_t>(clamped);
    };
    mouse->SetPosition(toInt(position.x), toInt(position.y));
}

} // namespace GUI

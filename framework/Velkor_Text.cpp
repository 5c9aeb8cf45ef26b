#include "framework/Velkor_Text.h"

#include "core/Core_File.h"

#include "core/Core_String.h"
#include "engine/Engine_FontCache.h"
#include "engine/Engine_Text.h"
#include "engine/Engine_TransformationGroup.h"
#include "framework/Velkor_Game.h"

namespace Velkor
{

CORE_DEFINE_OBJECT(Text, "Velkor::Text", Text::ScriptTypeName, "Velkor_Text", __LINE__)

Text::Text(const std::string& text, const std::string& fontPath)
    : engineText_(new ("Velkor_Text", __LINE__) Engine::Text(text, false))
{
    if (Engine::FontCache* fonts = Engine::FontCache::GetInstance())
    {
        engineText_->SetFont(fonts->GetFont(fontPath));
    }
    GetNode()->AddChild(engineText_);
}

Text::Text(const Text& other)
    : GameObject(other), engineText_(static_cast<Engine::Text*>(other.engineText_->Clone()))
{
    GetNode()->AddChild(engineText_);
}

Text::~Text() = default;

void Text::SetText(const std::string& text)
{
    engineText_->SetText(text);
}

const std::string& Text::GetText() const
{
    return engineText_->GetText();
}

void Text::SetHUDObject(bool hud)
{
    engineText_->SetOverlay(hud);
}

bool Text::IsHUDObject() const
{
    return engineText_->IsOverlay();
}

void Text::PushVisualProperties(float)
{
    engineText_->color = GetModulationColor();
    engineText_->opacity = GetOpacity();
}

void Text::Write(Core::File& file) const
{
    GameObject::Write(file);
    file << engineText_->GetText();
    const Core::RefPtr<Engine::BitmapFont>& font = engineText_->GetFont();
    file << (font ? Core::GetFileName(font->GetName()) : std::string());
    file << static_cast<std::uint8_t>(engineText_->IsOverlay() ? 1 : 0);
}

void Text::Read(Core::File& file)
{
    GameObject::Read(file);
    std::string text;
    std::string fontName;
    bool overlay = false;
    file >> text >> fontName >> overlay;
    if (file.Failed())
    {
        return;
    }
    engineText_->SetText(text);
    if (Engine::FontCache* fonts = Engine::FontCache::GetInstance())
    {
        // Each font lives in a folder of its own name; no name is the
        // default font.
        const Game* game = Game::GetInstance();
        const std::string path =
            fontName.empty() || game == nullptr
                ? std::string()
                : game->GetDirectory() + "\\Resources\\Fonts\\" + fontName + "\\" + fontName;
        engineText_->SetFont(fonts->GetFont(path));
    }
    SetVisible(GetVisible());
    engineText_->SetOverlay(overlay);
}

} // namespace Velkor

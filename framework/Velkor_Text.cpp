#include "framework/Velkor_Text.h"

#include "engine/Engine_FontCache.h"
#include "engine/Engine_Text.h"
#include "engine/Engine_TransformationGroup.h"

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

} // namespace Velkor

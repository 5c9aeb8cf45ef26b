#pragma once

#include "core/Core_RefPtr.h"
#include "framework/Velkor_GameObject.h"

#include <string>

namespace Engine
{
class Text;
}

namespace Velkor
{

// A line of text in a bitmap font, placed, turned and scaled by the object
// and drawn in its modulation colour and opacity, which reach the engine
// text with every frame's visual push.
class Text : public GameObject
{
    CORE_DECLARE_OBJECT(Text)

public:
    static constexpr const char* ScriptTypeName = "Text";

    // An empty text in the font cache's font of the empty path.
    Text() : Text(std::string(), std::string()) {}
    // The font is the application's font cache's font of `fontPath` as
    // given (a font without metrics when its files cannot be read).
    Text(const std::string& text, const std::string& fontPath);
    // A clone of the source's engine text (string, font, overlay flag)
    // below the new node.
    Text(const Text& other);
    ~Text() override;

    void SetText(const std::string& text);
    const std::string& GetText() const;
    // The engine text's overlay flag: drawn over every viewport in window
    // pixels and never culled.
    void SetHUDObject(bool hud);
    bool IsHUDObject() const;
    const Core::RefPtr<Engine::Text>& GetEngineText() const { return engineText_; }

    void PushVisualProperties(float dt) override;

    // The game object's record, then the string, the font's file name and
    // the overlay flag. Read takes the font from the game directory +
    // "\Resources\Fonts\<name>\<name>" (each font has a folder of its own).
    void Write(Core::File& file) const override;
    void Read(Core::File& file) override;

private:
    Core::RefPtr<Engine::Text> engineText_;
};

} // namespace Velkor

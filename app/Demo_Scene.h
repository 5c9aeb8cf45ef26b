#pragma once

#include "core/Core_RefPtr.h"
#include "engine/Engine_BitmapFont.h"
#include "engine/Engine_Group.h"
#include "engine/Engine_Text.h"
#include "engine/Engine_TransformationGroup.h"
#include "math/Math_Vector4.h"

#include <cstdint>
#include <memory>
#include <string>

// Where a demo scene puts its nodes: a group seen by a camera that makes one
// unit one window pixel at z = 0, with the origin at the window's centre.
// The helpers take window pixels with the origin at the lower-left corner.
class DemoCanvas
{
public:
    DemoCanvas(Engine::Group& root, float width, float height, Core::RefPtr<Engine::BitmapFont> font)
        : root_(root), width_(width), height_(height), font_(std::move(font))
    {
    }

    float GetWidth() const { return width_; }
    float GetHeight() const { return height_; }
    const Core::RefPtr<Engine::BitmapFont>& GetFont() const { return font_; }

    // A transformation group at window pixel (x, y), scaled by `scale`,
    // holding `node`; answers the group.
    Core::RefPtr<Engine::TransformationGroup> Place(const Core::RefPtr<Engine::Node>& node, float x, float y,
                                                    float scale = 1.0f);
    // A text whose first line's cells stand on (x, y), every texel a
    // scale x scale block.
    Core::RefPtr<Engine::Text> AddText(const std::string& text, float x, float y, float scale,
                                       const Math::Vector4& color);
    // The same, centred on x = `centre` by the text's measured width.
    Core::RefPtr<Engine::Text> AddCentredText(const std::string& text, float centre, float y, float scale,
                                              const Math::Vector4& color);

private:
    Engine::Group& root_;
    float width_;
    float height_;
    Core::RefPtr<Engine::BitmapFont> font_;
};

// The content of one demo scene. Step runs once per frame before the scene
// graph's update, with the frame number (from 1) and the status line.
class DemoScene
{
public:
    virtual ~DemoScene() = default;
    virtual void Step(std::uint32_t frame, const std::string& status) = 0;
};

// Text in the default font: a pulsing title, pangrams, a two-line
// paragraph and the status line.
std::unique_ptr<DemoScene> MakeTextScene(DemoCanvas& canvas);
// Every drawable: titles, an animated sprite and a mirrored one from the
// generated sheet, a circle with a turning star of lines, a particle
// spiral and the status line. Animations run by frames, not by the clock.
std::unique_ptr<DemoScene> MakeDrawablesScene(DemoCanvas& canvas);

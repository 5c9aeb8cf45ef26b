// The drawables scene, in window pixels of the 1024 x 768 window (origin at
// the lower left):
// - the title centred at y 680, the subtitle at y 640;
// - the generated sheet's eight-frame animation, 4 times its 32 x 32 frame
//   size, centred at (180, 470), and the same animation mirrored
//   left to right at (360, 470); each frame lasts 0.06 s;
// - a circle of radius 110 centred at (700, 470) around a star of lines
//   that turns one degree a frame;
// - 64 particles spiralling out from (512, 200) to a radius of 110;
// - the status line at (20, 20).
#include "Demo_Scene.h"

#include "engine/Engine_Circle.h"
#include "engine/Engine_Lines.h"
#include "engine/Engine_ParticleSystem.h"
#include "engine/Engine_Sprite.h"
#include "pal/PAL_FileSystem.h"
#include "renderer/Renderer_TextureCache.h"

#include <cmath>
#include <vector>

namespace
{

constexpr float SpriteScale = 4.0f;
constexpr float FrameDelay = 0.06f;
constexpr int SheetColumns = 4;
constexpr int SheetRows = 2;
constexpr std::uint32_t ParticleCount = 64;
constexpr float ParticleReach = 110.0f;
// Frames a particle takes from the centre to the rim.
constexpr std::uint32_t ParticleLife = 90;
constexpr float Degrees = 3.14159265f / 180.0f;

// The framework's way of cutting a sheet: equal cells, frames numbered row
// by row from the top-left cell.
Core::RefPtr<Engine::SpriteAnimation> SheetAnimation(const std::string& path, int columns, int rows,
                                                     float delay)
{
    const Core::RefPtr<Renderer::ITexture> sheet = Renderer::LoadTexture(path, true);
    const auto frameWidth = static_cast<std::int32_t>(sheet->GetWidth()) / columns;
    const auto frameHeight = static_cast<std::int32_t>(sheet->GetHeight()) / rows;
    std::vector<Engine::SpriteFrame> frames;
    for (int i = 0; i < columns * rows; ++i)
    {
        frames.push_back(
            {static_cast<std::uint32_t>(i % columns), static_cast<std::uint32_t>(i / columns), delay});
    }
    return Core::RefPtr<Engine::SpriteAnimation>(new (
        "Demo_DrawablesScene", __LINE__) Engine::SpriteAnimation(sheet, frameWidth, frameHeight, frames));
}

// A six-pointed star of radius r: two triangles.
Core::RefPtr<Engine::Lines> Star(float r)
{
    const Core::RefPtr<Engine::Lines> star(new ("Demo_DrawablesScene", __LINE__) Engine::Lines());
    for (int triangle = 0; triangle < 2; ++triangle)
    {
        for (int corner = 0; corner < 3; ++corner)
        {
            const float a =
                (90.0f + 60.0f * static_cast<float>(triangle) + 120.0f * static_cast<float>(corner)) *
                Degrees;
            const float b = a + 120.0f * Degrees;
            star->AddLine(Math::Vector3(r * std::cos(a), r * std::sin(a), 0.0f),
                          Math::Vector3(r * std::cos(b), r * std::sin(b), 0.0f));
        }
    }
    star->color = Math::Vector4(0.5f, 0.9f, 1.0f, 1.0f);
    return star;
}

class DrawablesScene : public DemoScene
{
public:
    explicit DrawablesScene(DemoCanvas& canvas)
    {
        const float width = canvas.GetWidth();
        const Math::Vector4 gold(1.0f, 0.85f, 0.2f, 1.0f);
        const Math::Vector4 sky(0.55f, 0.8f, 1.0f, 1.0f);
        const Math::Vector4 grey(0.75f, 0.75f, 0.8f, 1.0f);
        canvas.AddCentredText("Drawables", width / 2.0f, 680.0f, 3.0f, gold);
        canvas.AddCentredText("text nodes, sprite animations, line shapes and particles", width / 2.0f,
                              640.0f, 1.0f, sky);

        const std::string resources = PAL::GetExecutableDirectory() + "\\Resources";
        const Core::RefPtr<Engine::SpriteAnimation> animation =
            SheetAnimation(resources + "\\Animations\\DemoSheet.png", SheetColumns, SheetRows, FrameDelay);
        animation->SetName("rainbow");
        for (const bool flipped : {false, true})
        {
            const Core::RefPtr<Engine::Sprite> sprite(new ("Demo_DrawablesScene", __LINE__)
                                                          Engine::Sprite({animation}));
            sprite->SetFlipHorizontal(flipped);
            sprite->SetPlaying(true);
            const float x = flipped ? 360.0f : 180.0f;
            canvas.Place(sprite, x, 470.0f, SpriteScale);
            canvas.AddCentredText(flipped ? "flipped" : "animated", x, 380.0f, 1.0f, grey);
        }

        const Core::RefPtr<Engine::Circle> circle(new ("Demo_DrawablesScene", __LINE__)
                                                      Engine::Circle(110.0f, 5));
        circle->color = Math::Vector4(1.0f, 0.85f, 0.3f, 1.0f);
        canvas.Place(circle, 700.0f, 470.0f);
        star_ = canvas.Place(Star(90.0f), 700.0f, 470.0f);
        starPlacement_ = star_->GetTransformation();
        canvas.AddCentredText("circle and lines", 700.0f, 330.0f, 1.0f, grey);

        particles_ =
            Core::RefPtr<Engine::ParticleSystem>(new ("Demo_DrawablesScene", __LINE__) Engine::ParticleSystem(
                Renderer::LoadTexture(resources + "\\ParticleSystems\\DemoParticle.png", true),
                ParticleCount));
        particles_->SetUseLocalCoordinates(true);
        particles_->SetBoundingSize(2.0f * ParticleReach + 40.0f);
        particles_->destinationBlendFactor = Renderer::BlendOne;
        canvas.Place(particles_, 512.0f, 200.0f);
        canvas.AddCentredText("particles", 512.0f, 50.0f, 1.0f, grey);

        status_ = canvas.AddText("", 20.0f, 20.0f, 1.0f, grey);
    }

    void Step(std::uint32_t frame, const std::string& status) override
    {
        star_->SetTransformation(starPlacement_ * Math::Matrix4::RotationZ(static_cast<float>(frame)));
        Engine::Particle* records = particles_->GetParticles();
        for (std::uint32_t i = 0; i < ParticleCount; ++i)
        {
            // Each particle starts at its own phase and goes round and out.
            const std::uint32_t age = (frame + i * ParticleLife / ParticleCount) % ParticleLife;
            const float t = static_cast<float>(age) / static_cast<float>(ParticleLife);
            const float angle = (137.5f * static_cast<float>(i) + 2.0f * static_cast<float>(frame)) * Degrees;
            const float radius = 10.0f + (ParticleReach - 10.0f) * t;
            const float hue = static_cast<float>(i % 8) / 8.0f;
            Engine::Particle& p = records[i];
            p.x = radius * std::cos(angle);
            p.y = radius * std::sin(angle);
            p.z = 0.0f;
            p.scaleX = p.scaleY = 1.3f - 0.7f * t;
            p.rotation = 3.0f * static_cast<float>(frame);
            p.red = 0.6f + 0.4f * std::cos(6.2831853f * hue);
            p.green = 0.6f + 0.4f * std::cos(6.2831853f * (hue - 0.33f));
            p.blue = 0.6f + 0.4f * std::cos(6.2831853f * (hue - 0.67f));
            p.alpha = 1.0f - t;
        }
        status_->SetText(status);
    }

private:
    Core::RefPtr<Engine::TransformationGroup> star_;
    Math::Matrix4 starPlacement_;
    Core::RefPtr<Engine::ParticleSystem> particles_;
    Core::RefPtr<Engine::Text> status_;
};

} // namespace

std::unique_ptr<DemoScene> MakeDrawablesScene(DemoCanvas& canvas)
{
    return std::make_unique<DrawablesScene>(canvas);
}

#include "Demo_Scene.h"

#include <cmath>

namespace
{

class TextScene : public DemoScene
{
public:
    explicit TextScene(DemoCanvas& canvas)
    {
        const float width = canvas.GetWidth();
        const float height = canvas.GetHeight();
        const Math::Vector4 white(1.0f, 1.0f, 1.0f, 1.0f);
        const Math::Vector4 sky(0.55f, 0.8f, 1.0f, 1.0f);
        title_ = canvas.AddCentredText("Brillow engine demo", width / 2.0f, height - 110.0f, 3.0f,
                                       Math::Vector4(1.0f, 0.85f, 0.2f, 1.0f));
        canvas.AddCentredText("The quick brown fox jumps over the lazy dog.", width / 2.0f, height - 220.0f,
                              2.0f, white);
        canvas.AddCentredText("PACK MY BOX WITH FIVE DOZEN LIQUOR JUGS!", width / 2.0f, height - 270.0f, 2.0f,
                              white);
        canvas.AddCentredText("0123456789 !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~", width / 2.0f, height - 320.0f,
                              2.0f, sky);
        canvas.AddText("Bitmap fonts lay their glyphs out in cells;\nline feeds start new lines.", 80.0f,
                       height - 400.0f, 2.0f, Math::Vector4(0.6f, 1.0f, 0.6f, 1.0f));
        status_ = canvas.AddText("", 80.0f, 120.0f, 2.0f, Math::Vector4(1.0f, 0.6f, 0.5f, 1.0f));
        canvas.AddText("Press Escape or close the window to quit.", 80.0f, 60.0f, 1.0f, sky);
    }

    void Step(std::uint32_t frame, const std::string& status) override
    {
        const float pulse = 0.75f + 0.25f * std::sin(static_cast<float>(frame) * 0.1f);
        title_->color = Math::Vector4(1.0f, 0.85f * pulse, 0.2f, 1.0f);
        status_->SetText(status);
    }

private:
    Core::RefPtr<Engine::Text> title_;
    Core::RefPtr<Engine::Text> status_;
};

} // namespace

std::unique_ptr<DemoScene> MakeTextScene(DemoCanvas& canvas)
{
    return std::make_unique<TextScene>(canvas);
}

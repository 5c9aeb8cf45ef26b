#include "Demo_Scene.h"

#include <cmath>

Core::RefPtr<Engine::TransformationGroup> DemoCanvas::Place(const Core::RefPtr<Engine::Node>& node, float x,
                                                            float y, float scale)
{
    const Core::RefPtr<Engine::TransformationGroup> group(new ("Demo_Scene", __LINE__)
                                                              Engine::TransformationGroup());
    group->SetTransformation(Math::Matrix4::Translation(x - width_ / 2.0f, y - height_ / 2.0f, 0.0f) *
                             Math::Matrix4::Scale(scale, scale, 1.0f));
    group->AddChild(node);
    root_.AddChild(group);
    return group;
}

Core::RefPtr<Engine::Text> DemoCanvas::AddText(const std::string& text, float x, float y, float scale,
                                               const Math::Vector4& color)
{
    const Core::RefPtr<Engine::Text> node(new ("Demo_Scene", __LINE__) Engine::Text(text));
    node->SetFont(font_);
    node->color = color;
    Place(node, x, y, scale);
    return node;
}

Core::RefPtr<Engine::Text> DemoCanvas::AddCentredText(const std::string& text, float centre, float y,
                                                      float scale, const Math::Vector4& color)
{
    float width = 0.0f;
    float height = 0.0f;
    font_->GetTextSize(text, width, height);
    return AddText(text, std::floor(centre - scale * width / 2.0f), y, scale, color);
}

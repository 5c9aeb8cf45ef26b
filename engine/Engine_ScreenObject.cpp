#include "engine/Engine_ScreenObject.h"

#include <algorithm>

namespace Engine
{

TextRenderContext* TextRenderContext::Clone() const
{
    return new ("Engine_ScreenObject", __LINE__) TextRenderContext(*this);
}

const char* TextRenderContext::GetClassName() const
{
    return "Engine::TextRenderContext";
}

std::uint32_t TextRenderContext::GetSize() const
{
    return sizeof(TextRenderContext);
}

void TextRenderContext::Reset()
{
    effect = nullptr;
    texture = nullptr;
    transform.Identity();
    textureMatrix.Identity();
    for (int i = 0; i < 4; ++i)
    {
        vertices[i] = Math::Vector3();
        texCoords[i] = Math::Vector2D();
    }
    color = Math::Vector4(0.0f, 0.0f, 0.0f, 1.0f);
    const std::uint16_t quad[6] = {0, 1, 2, 0, 2, 3};
    std::copy(quad, quad + 6, indices);
    depth = 0.0f;
    visible = true;
    primitiveType = 4;
}

} // namespace Engine

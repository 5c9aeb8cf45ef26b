#include "engine/Engine_StringRenderContext.h"

namespace Engine
{

StringRenderContext::StringRenderContext() = default;

StringRenderContext* StringRenderContext::Clone() const
{
    return new ("Engine_StringRenderContext", __LINE__) StringRenderContext(*this);
}

const char* StringRenderContext::GetClassName() const
{
    return "Engine::StringRenderContext";
}

std::uint32_t StringRenderContext::GetSize() const
{
    return sizeof(StringRenderContext);
}

void StringRenderContext::Reset()
{
    indices.clear();
    texture = nullptr;
    effect = nullptr;
    depth = 0.0f;
    transform.Identity();
    textureMatrix.Identity();
    vertices.clear();
    texCoords.clear();
    color = Math::Vector4(0.0f, 0.0f, 0.0f, 1.0f);
    visible = true;
}

} // namespace Engine

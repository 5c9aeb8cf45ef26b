#include "renderer/Renderer_StateText.h"

#include <charconv>
#include <cinttypes>
#include <cstdio>

namespace Renderer
{

std::string JoinText(std::initializer_list<std::string> parts)
{
    std::string text;
    for (const std::string& part : parts)
    {
        if (!text.empty())
        {
            text += ", ";
        }
        text += part;
    }
    return text;
}

std::string ToText(std::int64_t value)
{
    return std::to_string(value);
}

std::string ToText(std::uint64_t value)
{
    return std::to_string(value);
}

std::string ToText(float value)
{
    char buffer[32];
    const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string ToText(bool value)
{
    return value ? "true" : "false";
}

std::string ToText(const void* address)
{
    if (address == nullptr)
    {
        return "none";
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "0x%" PRIxPTR, reinterpret_cast<std::uintptr_t>(address));
    return buffer;
}

std::string ToText(const Math::Vector3& value)
{
    return "(" + JoinText({ToText(value.x), ToText(value.y), ToText(value.z)}) + ")";
}

std::string ToText(const Math::Vector4& value)
{
    return "(" + JoinText({ToText(value.x), ToText(value.y), ToText(value.z), ToText(value.w)}) + ")";
}

std::string ToText(const Math::Matrix4& value)
{
    std::string text = "[";
    for (int i = 0; i < 16; ++i)
    {
        if (i != 0)
        {
            text += ", ";
        }
        text += ToText(value.m[i]);
    }
    return text + "]";
}

std::string ToText(const ViewportRecord& value)
{
    return JoinText({ToText(value.x), ToText(value.y), ToText(value.width), ToText(value.height),
                     ToText(value.nearDepth), ToText(value.farDepth)});
}

std::string ToText(const DisplayDescription& value)
{
    return JoinText({ToText(value.width), ToText(value.height), ToText(value.refreshRate),
                     ToText(value.sampleCount), ToText(value.colorBits), ToText(value.depthBits),
                     ToText(value.stencilBits), ToText(static_cast<const void*>(value.window)),
                     ToText(value.fullscreen), ToText(value.vsync)});
}

std::string ToText(const Material& state)
{
    return JoinText({ToText(state.ambient), ToText(state.diffuse), ToText(state.specular),
                     ToText(state.emission), ToText(state.shininess)});
}

std::string ToText(const NormalizeNormalsState& state)
{
    return ToText(state.enabled);
}

std::string ToText(const LightingState& state)
{
    return JoinText({ToText(state.ambient), ToText(state.localViewer), ToText(state.enabled)});
}

std::string ToText(const TexturingState& state)
{
    return JoinText({ToText(state.applyMode), ToText(state.filter), ToText(state.wrapS), ToText(state.wrapT),
                     ToText(state.reserved), ToText(state.enabled), ToText(state.coordinateGeneration),
                     ToText(state.oneDimensional)});
}

std::string ToText(const LineState& state)
{
    return ToText(state.width);
}

std::string ToText(const PointState& state)
{
    return ToText(state.size);
}

std::string ToText(const DitheringState& state)
{
    return ToText(state.enabled);
}

std::string ToText(const TriangleOffsetState& state)
{
    return JoinText({ToText(state.factor), ToText(state.units), ToText(state.enabled)});
}

std::string ToText(const StencilBufferState& state)
{
    return JoinText({ToText(state.function), ToText(state.failOperation), ToText(state.depthFailOperation),
                     ToText(state.passOperation), ToText(state.reference), ToText(state.compareMask),
                     ToText(state.writeMask), ToText(state.enabled)});
}

std::string ToText(const DepthBufferState& state)
{
    return JoinText({ToText(state.function), ToText(state.testEnabled), ToText(state.writeEnabled)});
}

std::string ToText(const ShadingState& state)
{
    return ToText(state.model);
}

std::string ToText(const FillingState& state)
{
    return ToText(state.mode);
}

std::string ToText(const FogState& state)
{
    return JoinText({ToText(state.mode), ToText(state.color), ToText(state.start), ToText(state.end),
                     ToText(state.density), ToText(state.enabled)});
}

std::string ToText(const CullingState& state)
{
    return JoinText({ToText(state.face), ToText(state.enabled)});
}

std::string ToText(const AlphaTestingState& state)
{
    return JoinText({ToText(state.function), ToText(state.reference), ToText(state.enabled)});
}

std::string ToText(const AlphaBlendingState& state)
{
    return JoinText({ToText(state.source), ToText(state.destination), ToText(state.enabled)});
}

std::string ToText(const ScissorState& state)
{
    return JoinText(
        {ToText(state.x), ToText(state.y), ToText(state.width), ToText(state.height), ToText(state.enabled)});
}

std::string ToText(const ColorMaskState& state)
{
    return JoinText({ToText(state.red), ToText(state.green), ToText(state.blue), ToText(state.alpha)});
}

std::string ToText(const CurrentColorState& state)
{
    return ToText(state.color);
}

} // namespace Renderer

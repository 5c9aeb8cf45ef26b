#pragma once

#include "math/Math_Matrix4.h"
#include "math/Math_Vector3.h"
#include "math/Math_Vector4.h"
#include "renderer/Renderer_DisplayDescription.h"
#include "renderer/Renderer_RenderStates.h"

#include <cstdint>
#include <initializer_list>
#include <string>

namespace Renderer
{

// Plain-text forms of render values, used by the recording renderer's log
// and readable in test expectations. Floats print in their shortest form
// that reads back to the same value (1, 0.5, 0.2, 100), flags as true/false, addresses as "none" or 0x...,
// colours and points as (x, y, z[, w]), matrices as [m0, ..., m15]. A state prints its fields in declaration
// order, comma separated, without its base word.
std::string ToText(std::int64_t value);
std::string ToText(std::uint64_t value);
inline std::string ToText(std::int32_t value)
{
    return ToText(static_cast<std::int64_t>(value));
}
inline std::string ToText(std::uint32_t value)
{
    return ToText(static_cast<std::uint64_t>(value));
}
std::string ToText(float value);
std::string ToText(bool value);
std::string ToText(const void* address);
std::string ToText(const Math::Vector3& value);
std::string ToText(const Math::Vector4& value);
std::string ToText(const Math::Matrix4& value);
std::string ToText(const ViewportRecord& value);
std::string ToText(const DisplayDescription& value);

std::string ToText(const Material& state);
std::string ToText(const NormalizeNormalsState& state);
std::string ToText(const LightingState& state);
std::string ToText(const TexturingState& state);
std::string ToText(const LineState& state);
std::string ToText(const PointState& state);
std::string ToText(const DitheringState& state);
std::string ToText(const TriangleOffsetState& state);
std::string ToText(const StencilBufferState& state);
std::string ToText(const DepthBufferState& state);
std::string ToText(const ShadingState& state);
std::string ToText(const FillingState& state);
std::string ToText(const FogState& state);
std::string ToText(const CullingState& state);
std::string ToText(const AlphaTestingState& state);
std::string ToText(const AlphaBlendingState& state);
std::string ToText(const ScissorState& state);
std::string ToText(const ColorMaskState& state);
std::string ToText(const CurrentColorState& state);

// The parts joined with ", ".
std::string JoinText(std::initializer_list<std::string> parts);

} // namespace Renderer

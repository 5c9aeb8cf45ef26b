#pragma once

#include <cstdint>

namespace Renderer
{

// Value codes shared by the render states and the renderer. A state field
// holds the plain 32-bit code; the renderer maps it to the graphics library
// and falls back as each table says for a code outside the list.

// Depth, alpha and stencil tests.
enum CompareFunction : std::uint32_t
{
    CompareNever = 0,
    CompareLess = 1,
    CompareEqual = 2,
    CompareLessEqual = 3,
    CompareGreater = 4,
    CompareGreaterEqual = 5,
    CompareNotEqual = 6,
    CompareAlways = 7,
};

enum StencilOperation : std::uint32_t
{
    StencilKeep = 0,
    StencilZero = 1,
    StencilReplace = 2,
    StencilIncrement = 3,
    StencilDecrement = 4,
    StencilInvert = 5,
};

enum BlendFactor : std::uint32_t
{
    BlendZero = 0,
    BlendOne = 1,
    BlendSourceColor = 2,
    BlendOneMinusSourceColor = 3,
    BlendDestinationColor = 4,
    BlendOneMinusDestinationColor = 5,
    BlendSourceAlpha = 6,
    BlendOneMinusSourceAlpha = 7,
    BlendDestinationAlpha = 8,
    BlendOneMinusDestinationAlpha = 9,
    BlendSourceAlphaSaturate = 10,
};

// Code 3 names no primitive: every draw with it draws nothing.
enum PrimitiveType : std::int32_t
{
    PrimitivePoints = 0,
    PrimitiveLines = 1,
    PrimitiveLineStrip = 2,
    PrimitiveNone = 3,
    PrimitiveTriangles = 4,
    PrimitiveTriangleStrip = 5,
    PrimitiveTriangleFan = 6,
};

// Any other value: blend.
enum TextureApplyMode : std::uint32_t
{
    TextureReplace = 0,
    TextureDecal = 1,
    TextureModulate = 2,
    TextureBlend = 3,
};

// Linear uses mipmaps when the texture has them; any other value: nearest
// without mipmaps.
enum TextureFilter : std::uint32_t
{
    FilterNearest = 0,
    FilterLinear = 1,
};

// Any other value: clamp.
enum TextureWrap : std::uint32_t
{
    WrapRepeat = 0,
    WrapClamp = 1,
    WrapClampToEdge = 2,
    WrapClampToBorder = 3,
};

// Any other value: exponential squared.
enum FogMode : std::uint32_t
{
    FogLinear = 0,
    FogExponential = 1,
    FogExponentialSquared = 2,
};

// Any other value: flat.
enum ShadingModel : std::uint32_t
{
    ShadingFlat = 0,
    ShadingSmooth = 1,
};

// Any other value: filled.
enum FillMode : std::uint32_t
{
    FillPoints = 0,
    FillLines = 1,
    FillSolid = 2,
};

// Any non-zero value culls front faces.
enum CullFace : std::uint32_t
{
    CullBack = 0,
    CullFront = 1,
};

// Elements that `DrawPrimitives` and `DrawIndexedPrimitives` draw for
// `count` primitives: points n, lines 2n, line strip n + 1, triangles 3n,
// strip and fan n + 2. No primitives, no primitive type and unknown codes
// give 0.
inline std::uint64_t ElementCountForPrimitives(std::int64_t type, std::int64_t count)
{
    if (count <= 0)
    {
        return 0;
    }
    const auto n = static_cast<std::uint64_t>(count);
    switch (type)
    {
    case PrimitivePoints:
        return n;
    case PrimitiveLines:
        return 2 * n;
    case PrimitiveLineStrip:
        return n + 1;
    case PrimitiveTriangles:
        return 3 * n;
    case PrimitiveTriangleStrip:
    case PrimitiveTriangleFan:
        return n + 2;
    default:
        return 0;
    }
}

} // namespace Renderer

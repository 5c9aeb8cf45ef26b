#pragma once

#include <GL/gl.h>

#include <cstdint>

namespace Renderer
{

// The value codes of the render states (see Renderer_Codes.h) as OpenGL
// enumerants, with the fallback each code set has for a value outside it.

// 0..7 never .. always; other values: never.
GLenum ToGLCompareFunction(std::uint32_t code);
// 0..5 keep, zero, replace, increment, decrement, invert; other values: keep.
GLenum ToGLStencilOperation(std::uint32_t code);
// 0..10 zero .. source alpha saturate; other values: zero.
GLenum ToGLBlendFactor(std::uint32_t code);
// 0 points, 1 lines, 2 line strip, 4 triangles, 5 strip, 6 fan; false for
// 3 (no primitive) and any other value: nothing is drawn.
bool ToGLPrimitive(std::int64_t code, GLenum& mode);
// 0 replace, 1 decal, 2 modulate, other values blend.
GLint ToGLTextureApplyMode(std::uint32_t code);
// 0 repeat, 1 clamp, 2 clamp to edge, 3 clamp to border, other values clamp.
GLint ToGLTextureWrap(std::uint32_t code);
// 0 nearest, 1 linear, each with its mipmap form for minification when the
// texture has mipmaps; other values nearest without mipmaps.
void ToGLTextureFilters(std::uint32_t code, bool mipmaps, GLint& magnification, GLint& minification);
// 0 linear, 1 exponential, other values exponential squared.
GLint ToGLFogMode(std::uint32_t code);
// 1 smooth, other values flat.
GLenum ToGLShadeModel(std::uint32_t code);
// 0 points, 1 lines, other values filled.
GLenum ToGLPolygonMode(std::uint32_t code);

} // namespace Renderer

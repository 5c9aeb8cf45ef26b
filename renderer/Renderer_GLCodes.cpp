#include "renderer/Renderer_GLCodes.h"

#include <GL/glext.h>

#include <array>

namespace Renderer
{

namespace
{

template <class T, std::size_t N> T Lookup(const std::array<T, N>& table, std::uint32_t code, T fallback)
{
    return code < N ? table[code] : fallback;
}

} // namespace

GLenum ToGLCompareFunction(std::uint32_t code)
{
    static constexpr std::array<GLenum, 8> table = {GL_NEVER,   GL_LESS,   GL_EQUAL,    GL_LEQUAL,
                                                    GL_GREATER, GL_GEQUAL, GL_NOTEQUAL, GL_ALWAYS};
    return Lookup(table, code, static_cast<GLenum>(GL_NEVER));
}

GLenum ToGLStencilOperation(std::uint32_t code)
{
    static constexpr std::array<GLenum, 6> table = {GL_KEEP, GL_ZERO, GL_REPLACE,
                                                    GL_INCR, GL_DECR, GL_INVERT};
    return Lookup(table, code, static_cast<GLenum>(GL_KEEP));
}

GLenum ToGLBlendFactor(std::uint32_t code)
{
    static constexpr std::array<GLenum, 11> table = {GL_ZERO,
                                                     GL_ONE,
                                                     GL_SRC_COLOR,
                                                     GL_ONE_MINUS_SRC_COLOR,
                                                     GL_DST_COLOR,
                                                     GL_ONE_MINUS_DST_COLOR,
                                                     GL_SRC_ALPHA,
                                                     GL_ONE_MINUS_SRC_ALPHA,
                                                     GL_DST_ALPHA,
                                                     GL_ONE_MINUS_DST_ALPHA,
                                                     GL_SRC_ALPHA_SATURATE};
    return Lookup(table, code, static_cast<GLenum>(GL_ZERO));
}

bool ToGLPrimitive(std::int64_t code, GLenum& mode)
{
    switch (code)
    {
    case 0:
        mode = GL_POINTS;
        return true;
    case 1:
        mode = GL_LINES;
        return true;
    case 2:
        mode = GL_LINE_STRIP;
        return true;
    case 4:
        mode = GL_TRIANGLES;
        return true;
    case 5:
        mode = GL_TRIANGLE_STRIP;
        return true;
    case 6:
        mode = GL_TRIANGLE_FAN;
        return true;
    default:
        return false;
    }
}

GLint ToGLTextureApplyMode(std::uint32_t code)
{
    static constexpr std::array<GLint, 3> table = {GL_REPLACE, GL_DECAL, GL_MODULATE};
    return Lookup(table, code, static_cast<GLint>(GL_BLEND));
}

GLint ToGLTextureWrap(std::uint32_t code)
{
    static constexpr std::array<GLint, 4> table = {GL_REPEAT, GL_CLAMP, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_BORDER};
    return Lookup(table, code, static_cast<GLint>(GL_CLAMP));
}

void ToGLTextureFilters(std::uint32_t code, bool mipmaps, GLint& magnification, GLint& minification)
{
    switch (code)
    {
    case 0:
        magnification = GL_NEAREST;
        minification = mipmaps ? GL_NEAREST_MIPMAP_NEAREST : GL_NEAREST;
        break;
    case 1:
        magnification = GL_LINEAR;
        minification = mipmaps ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR;
        break;
    default:
        magnification = GL_NEAREST;
        minification = GL_NEAREST;
        break;
    }
}

GLint ToGLFogMode(std::uint32_t code)
{
    static constexpr std::array<GLint, 2> table = {GL_LINEAR, GL_EXP};
    return Lookup(table, code, static_cast<GLint>(GL_EXP2));
}

GLenum ToGLShadeModel(std::uint32_t code)
{
    return code == 1 ? GL_SMOOTH : GL_FLAT;
}

GLenum ToGLPolygonMode(std::uint32_t code)
{
    switch (code)
    {
    case 0:
        return GL_POINT;
    case 1:
        return GL_LINE;
    default:
        return GL_FILL;
    }
}

} // namespace Renderer

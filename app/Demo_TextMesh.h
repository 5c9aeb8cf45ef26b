#pragma once

#include "core/Core_RefPtr.h"
#include "engine/Engine_BitmapFont.h"
#include "engine/Engine_Mesh.h"
#include "math/Math_Vector4.h"

#include <string>

// Lays a string out in a bitmap font as one textured, coloured triangle
// list, the way text nodes lay their glyphs out: the pen starts at (0, 0),
// lines grow downwards by the line height, every printable character gets a
// cell x cell quad whose lower-left corner is the pen moved left by the
// glyph's bearing. Characters that draw nothing add no quad. The mesh has
// one draw range over all its vertices, or none for an empty layout.
Core::RefPtr<Engine::Mesh> BuildTextMesh(const Engine::BitmapFont& font, const std::string& text,
                                         const Math::Vector4& color);

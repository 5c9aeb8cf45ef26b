#pragma once

#include "core/Core_Object.h"

namespace Renderer
{

// Geometry held by the graphics library. The renderer binds a buffer when it
// becomes current and unbinds it when another replaces it. Nothing in the
// engine makes one yet: every caller passes none.
class IVertexBuffer : public Core::Object
{
public:
    virtual void Bind() = 0;
    virtual void Unbind() = 0;
};

class IIndexBuffer : public Core::Object
{
public:
    virtual void Bind() = 0;
    virtual void Unbind() = 0;
    // True for 32-bit indices, false for 16-bit ones.
    virtual bool Is32Bit() const = 0;
    // Address of the first index.
    virtual const void* GetIndexData() const = 0;
};

} // namespace Renderer

#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"

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

// Puts `buffer` in `slot`: the buffer there before is unbound first, then
// the new one (none is allowed) is bound.
template <typename Buffer>
void ReplaceBoundBuffer(Core::RefPtr<Buffer>& slot, const Core::RefPtr<Buffer>& buffer)
{
    if (slot)
    {
        slot->Unbind();
    }
    slot = buffer;
    if (buffer)
    {
        buffer->Bind();
    }
}

} // namespace Renderer

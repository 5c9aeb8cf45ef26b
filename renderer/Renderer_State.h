#pragma once

#include "core/Core_Object.h"

#include <cstdint>

namespace Renderer
{

class IRenderer;

// One fixed-function setting of the renderer as a small value object. A
// state is applied (handed to the renderer's setter for its kind, which
// keeps a copy), captured (the renderer's getter overwrites the fields with
// its kept copy), reset to its class defaults and cloned. Its fields are
// public: creators set them directly. A state carries no logic beyond its
// defaults; what each value means is the renderer's.
//
// The exact run-time type is the state's kind: a pass holds at most one
// state of each type and a technique saves one per type.
class State : public Core::Object
{
public:
    State() = default;
    State(const State&) = default;

    // A new object of the same concrete class with every field copied.
    State* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;

    virtual void Apply(IRenderer& renderer) const;
    virtual void Capture(IRenderer& renderer);
    // The class defaults. Derived resets leave the base word alone.
    virtual void Reset();

    // Copied with the state; nothing reads it.
    std::uint32_t baseWord = 0;
};

} // namespace Renderer

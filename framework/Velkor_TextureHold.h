#pragma once

#include "core/Core_RefPtr.h"
#include "renderer/Renderer_TextureOGL.h"

#include <cstddef>
#include <vector>

namespace Velkor
{

// Keeps the textures of the level a switch leaves for one switch longer.
//
// The texture cache holds no reference, so a level's textures go with the
// level, and the next level that draws the same files reads, decodes and
// uploads them again. A switch takes hold of every texture in use before it
// tears the old level down (`Take`) and, once the new level is built, lets
// go of what it held from the switch before (`Keep`): what the new level
// shares with the one it replaces, or with the one before that, is never
// released on the way (a restart, going back to the menu, a return to a
// screen just left). Textures are never changed by being held; the cost is
// memory: between switches, besides the current level's textures, at most
// those of the level left last stay loaded (and, while a switch makes its
// level, those of the level left before that).
class TextureHold
{
public:
    using Textures = std::vector<Core::RefPtr<Renderer::TextureOGL>>;

    // Every live texture that something besides this hold references.
    Textures Take() const;
    // `textures` replace the held ones; any of those that nothing else took
    // meanwhile is released.
    void Keep(Textures textures) { held_ = std::move(textures); }
    void Release() { held_.clear(); }
    std::size_t GetCount() const { return held_.size(); }
    bool Holds(const Renderer::TextureOGL* texture) const;

private:
    Textures held_;
};

} // namespace Velkor

#include "framework/Velkor_TextureHold.h"

#include "renderer/Renderer_TextureCache.h"

#include <algorithm>

namespace Velkor
{

TextureHold::Textures TextureHold::Take() const
{
    Textures taken;
    for (Renderer::TextureOGL* texture : Renderer::TextureCache::GetInstance().GetTextures())
    {
        // A texture that only this hold references was left by a level
        // before the current one: taking it again would keep it for ever.
        const std::uint32_t ours = Holds(texture) ? 1u : 0u;
        if (texture->GetReferenceCount() > ours)
        {
            taken.emplace_back(texture);
        }
    }
    return taken;
}

bool TextureHold::Holds(const Renderer::TextureOGL* texture) const
{
    return std::any_of(held_.begin(), held_.end(),
                       [texture](const Core::RefPtr<Renderer::TextureOGL>& held)
                       { return held.Get() == texture; });
}

} // namespace Velkor

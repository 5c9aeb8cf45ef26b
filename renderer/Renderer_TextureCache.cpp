#include "renderer/Renderer_TextureCache.h"

#include <algorithm>

namespace Renderer
{

TextureCache& TextureCache::GetInstance()
{
    // Never destroyed: a texture released during the process's exit still
    // finds the cache it leaves.
    static TextureCache* cache = new TextureCache();
    return *cache;
}

TextureOGL* TextureCache::Find(const std::string& fileName) const
{
    const auto entry = byName_.find(fileName);
    return entry != byName_.end() ? entry->second : nullptr;
}

void TextureCache::Add(TextureOGL* texture)
{
    textures_.push_back(texture);
}

void TextureCache::Remove(TextureOGL* texture)
{
    textures_.erase(std::remove(textures_.begin(), textures_.end(), texture), textures_.end());
    // Only the cached texture of the name takes the name with it.
    const auto entry = byName_.find(texture->GetName());
    if (entry != byName_.end() && entry->second == texture)
    {
        byName_.erase(entry);
    }
}

void TextureCache::ForgetGLNames()
{
    for (TextureOGL* texture : textures_)
    {
        texture->glName_ = 0;
    }
}

Core::RefPtr<TextureOGL> LoadTexture(const std::string& fileName, bool mipmaps)
{
    TextureCache& cache = TextureCache::GetInstance();
    if (TextureOGL* cached = cache.Find(fileName))
    {
        return Core::RefPtr<TextureOGL>(cached);
    }
    Core::RefPtr<TextureOGL> texture(new ("Internal_TextureOGL", __LINE__) TextureOGL(fileName, mipmaps));
    cache.byName_[fileName] = texture.Get();
    return texture;
}

} // namespace Renderer

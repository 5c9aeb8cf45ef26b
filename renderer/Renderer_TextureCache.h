#pragma once

#include "core/Core_RefPtr.h"
#include "renderer/Renderer_TextureOGL.h"

#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace Renderer
{

// The cached texture of `fileName` (an engine path), or a new texture made
// from the file with the mipmap choice and entered in the cache. The choice
// takes no part in the lookup: a texture cached with one choice is returned
// for the other. A file that cannot be read gives the test pattern; a
// texture is made and cached in any case.
Core::RefPtr<TextureOGL> LoadTexture(const std::string& fileName, bool mipmaps);

// Every live texture and the textures shared by file name. It holds no
// reference: a texture lives as long as its users hold it and leaves the
// cache when it goes, so the next request for its name makes it anew. Main
// thread only.
class TextureCache
{
public:
    static TextureCache& GetInstance();

    // The texture cached under the name, or none.
    TextureOGL* Find(const std::string& fileName) const;
    // Live textures, in creation order.
    const std::vector<TextureOGL*>& GetTextures() const { return textures_; }
    std::size_t GetTextureCount() const { return textures_.size(); }

    // The OpenGL context is going: every texture forgets its OpenGL name
    // (the names die with the context and must not be deleted in another).
    void ForgetGLNames();

private:
    friend class TextureOGL;
    friend Core::RefPtr<TextureOGL> LoadTexture(const std::string& fileName, bool mipmaps);

    TextureCache() = default;
    void Add(TextureOGL* texture);
    void Remove(TextureOGL* texture);

    std::vector<TextureOGL*> textures_;
    std::map<std::string, TextureOGL*> byName_;
};

} // namespace Renderer

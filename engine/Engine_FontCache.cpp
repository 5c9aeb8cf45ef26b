#include "engine/Engine_FontCache.h"

namespace Engine
{

namespace
{
FontCache* g_instance = nullptr;
}

FontCache* FontCache::GetInstance()
{
    return g_instance;
}

void FontCache::SetInstance(FontCache* cache)
{
    g_instance = cache;
}

Core::RefPtr<BitmapFont> FontCache::GetFont(const std::string& path)
{
    const auto found = fonts_.find(path);
    if (found != fonts_.end())
    {
        return found->second;
    }
    Core::RefPtr<BitmapFont> font(new ("Engine_BitmapFont", __LINE__) BitmapFont(path));
    fonts_.emplace(path, font);
    return font;
}

} // namespace Engine

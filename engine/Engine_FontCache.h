#pragma once

#include "core/Core_RefPtr.h"
#include "engine/Engine_BitmapFont.h"

#include <cstddef>
#include <map>
#include <string>

namespace Engine
{

// One bitmap font per path. Paths are compared exactly (case matters), so
// two spellings of one file are two fonts; the empty path is the default
// font and is cached under "". A font whose files are missing is built and
// cached all the same. The cache holds a reference to every font it made
// until it is cleared.
//
// The rendering application owns the one cache of the program and records
// it as the process-wide cache while it lives. Main thread only.
class FontCache
{
public:
    FontCache() = default;
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;

    // The cache recorded by the application, or null.
    static FontCache* GetInstance();
    static void SetInstance(FontCache* cache);

    // The cached font of `path`, or a new font built from it and entered
    // under `path`.
    Core::RefPtr<BitmapFont> GetFont(const std::string& path);
    std::size_t GetFontCount() const { return fonts_.size(); }
    // Drops the cache's references.
    void Clear() { fonts_.clear(); }

private:
    std::map<std::string, Core::RefPtr<BitmapFont>> fonts_;
};

} // namespace Engine

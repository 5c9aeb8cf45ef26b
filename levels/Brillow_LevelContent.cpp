#include "levels/Brillow_LevelContent.h"

#include <array>

namespace
{

using LayerRows = std::vector<ContentRow>;
using LevelRows = std::array<LayerRows, LayersPerLevel>;

// Until a level's content is added its layers hold only what the recipe
// makes for every level (the camera).
const std::array<LevelRows, BrillowLevelCount>& ContentTable()
{
    static const std::array<LevelRows, BrillowLevelCount> table = []
    {
        std::array<LevelRows, BrillowLevelCount> made{};
        made[1] = PlayLevelContent();
        return made;
    }();
    return table;
}

} // namespace

const std::vector<ContentRow>& GetLayerContent(std::uint32_t level, std::uint32_t layer)
{
    static const std::vector<ContentRow> none;
    if (level >= BrillowLevelCount || layer >= LayersPerLevel)
    {
        return none;
    }
    return ContentTable()[level][layer];
}

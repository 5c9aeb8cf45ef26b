#pragma once

#include "core/Core_Object.h"

#include <cstdint>
#include <string>

namespace Velkor
{

class Level;

// Makes the game's levels by index (0 to GetLevelCount() - 1) and knows them
// by name. The game's own factory overrides every operation; this one has
// no levels.
class LevelFactory : public Core::Object
{
public:
    LevelFactory() = default;
    ~LevelFactory() override;

    virtual std::uint32_t GetLevelCount();
    // A new level, not yet started. The game class relies on a level for
    // every index below the count.
    virtual Level* CreateLevel(std::uint32_t index);
    // Called by the level content when it has built a level; the game class
    // does not call it.
    virtual void OnLevelBuilt(std::uint32_t index);
    // Drops the factory's own references to objects of the previous level;
    // called before every level is created by a switch.
    virtual void Init();
    // True, with the index, when a level of that name exists.
    virtual bool GetLevelIndex(const std::string& name, std::uint32_t& index);
};

} // namespace Velkor

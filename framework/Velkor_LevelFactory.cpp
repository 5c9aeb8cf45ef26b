#include "framework/Velkor_LevelFactory.h"

namespace Velkor
{

LevelFactory::~LevelFactory() = default;

std::uint32_t LevelFactory::GetLevelCount()
{
    return 0;
}

Level* LevelFactory::CreateLevel(std::uint32_t)
{
    return nullptr;
}

void LevelFactory::OnLevelBuilt(std::uint32_t) {}

void LevelFactory::Init() {}

bool LevelFactory::GetLevelIndex(const std::string&, std::uint32_t&)
{
    return false;
}

} // namespace Velkor

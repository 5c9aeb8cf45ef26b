#pragma once

#include "framework/Velkor_Sprite.h"

#include <cstdint>
#include <string>

namespace Velkor
{
class Level;
class Sound;
class Text;
} // namespace Velkor

// How the builders make the object a content row names: the class's
// constructor with the row's values. A name outside the tables makes the
// framework's own kind (Velkor::Sprite, Velkor::Text), so an unknown class
// still shows; an unknown sound class makes no object.
Velkor::Sprite* MakeSpriteObject(const std::string& className,
                                 const Velkor::Sprite::AnimationList& animations);
Velkor::Text* MakeTextObject(const std::string& className, const std::string& text,
                             const std::string& fontPath);
Velkor::Sound* MakeSoundObject(const std::string& className, const std::string& fileName, std::uint32_t mode,
                               float intensity, std::uint8_t looping, float split, std::uint8_t forceStatic);
// The level object of level `index`, of that level's class.
Velkor::Level* MakeLevelObject(std::uint32_t index);

#include "levels/Brillow_ClassMakers.h"

#include "framework/Velkor_Level.h"
#include "framework/Velkor_Sound.h"
#include "framework/Velkor_Text.h"
#include "game/Brillow_AddScoreClass.h"
#include "game/Brillow_AddScoreClass0.h"
#include "game/Brillow_BlackHoleClass.h"
#include "game/Brillow_BlackHoleClassT.h"
#include "game/Brillow_BonusLazerClass.h"
#include "game/Brillow_BonusLazerClassT.h"
#include "game/Brillow_BonusTextThing.h"
#include "game/Brillow_BorderClass.h"
#include "game/Brillow_BorderClassT.h"
#include "game/Brillow_GameLevel.h"
#include "game/Brillow_ExitButtonClass.h"
#include "game/Brillow_FullScreenButtonClass.h"
#include "game/Brillow_GoToMainMenuClass.h"
#include "game/Brillow_IntroClass.h"
#include "game/Brillow_Lazer1Class.h"
#include "game/Brillow_Lazer1ClassT.h"
#include "game/Brillow_LazerClass.h"
#include "game/Brillow_LazerClassT.h"
#include "game/Brillow_PauseOverlay.h"
#include "game/Brillow_Level_Class0.h"
#include "game/Brillow_Lose.h"
#include "game/Brillow_MainMenuCreditButtonClass.h"
#include "game/Brillow_MainMenuExit.h"
#include "game/Brillow_MainMenuOptionsButtonClass.h"
#include "game/Brillow_MuteButtonClass.h"
#include "game/Brillow_OptionButtonClass.h"
#include "game/Brillow_PauseButtons.h"
#include "game/Brillow_Sounds.h"
#include "game/Brillow_SpikeBall.h"
#include "game/Brillow_SpikeBallT.h"
#include "game/Brillow_SpriteMouseClass.h"
#include "game/Brillow_SpriteMouseClassT.h"
#include "game/Brillow_Win.h"
#include "game/Brillow_ball.h"
#include "game/Brillow_ballT.h"
#include "game/Brillow_bubblesheildpowerup.h"
#include "game/Brillow_bubblesheildpowerupT.h"
#include "game/Brillow_copy1Lose.h"
#include "game/Brillow_introBG.h"
#include "game/Brillow_startButtonClass.h"
#include "game/Brillow_tutorialButtonClass.h"
#include "game/Brillow_whiteball.h"
#include "game/Brillow_whiteballT.h"
#include "game/Brillow_TutorialClass.h"
#include "game/Brillow_VisibilityClasses.h"

#include <map>

namespace
{

using SpriteMaker = Velkor::Sprite* (*)(const Velkor::Sprite::AnimationList&);
using TextMaker = Velkor::Text* (*)(const std::string&, const std::string&);
using SoundMaker = Velkor::Sound* (*)(const std::string&, std::uint32_t, float, std::uint8_t, float,
                                      std::uint8_t);

template <class T> Velkor::Sprite* MakeSprite(const Velkor::Sprite::AnimationList& animations)
{
    return new ("Brillow_ClassMakers", __LINE__) T(animations);
}

template <class T> Velkor::Text* MakeText(const std::string& text, const std::string& fontPath)
{
    return new ("Brillow_ClassMakers", __LINE__) T(text, fontPath);
}

template <class T>
Velkor::Sound* MakeSound(const std::string& fileName, std::uint32_t mode, float intensity,
                         std::uint8_t looping, float split, std::uint8_t forceStatic)
{
    return new ("Brillow_ClassMakers", __LINE__) T(fileName, mode, intensity, looping, split, forceStatic);
}

const std::map<std::string, SpriteMaker>& SpriteMakers()
{
    static const std::map<std::string, SpriteMaker> makers = {
        {"Velkor::Sprite", &MakeSprite<Velkor::Sprite>},
        {"ball", &MakeSprite<ball>},
        {"ballT", &MakeSprite<ballT>},
        {"whiteball", &MakeSprite<whiteball>},
        {"whiteballT", &MakeSprite<whiteballT>},
        {"SpikeBall", &MakeSprite<SpikeBall>},
        {"SpikeBallT", &MakeSprite<SpikeBallT>},
        {"LazerClass", &MakeSprite<LazerClass>},
        {"LazerClassT", &MakeSprite<LazerClassT>},
        {"Lazer1Class", &MakeSprite<Lazer1Class>},
        {"Lazer1ClassT", &MakeSprite<Lazer1ClassT>},
        {"BlackHoleClass", &MakeSprite<BlackHoleClass>},
        {"BlackHoleClassT", &MakeSprite<BlackHoleClassT>},
        {"BonusLazerClass", &MakeSprite<BonusLazerClass>},
        {"BonusLazerClassT", &MakeSprite<BonusLazerClassT>},
        {"bubblesheildpowerup", &MakeSprite<bubblesheildpowerup>},
        {"bubblesheildpowerupT", &MakeSprite<bubblesheildpowerupT>},
        {"BonusTextThing", &MakeSprite<BonusTextThing>},
        {"BorderClass", &MakeSprite<BorderClass>},
        {"BorderClassT", &MakeSprite<BorderClassT>},
        // The play level's pause overlay.
        {"PauseScreenClass", &MakeSprite<PauseScreenClass>},
        {"QuitScreenClass", &MakeSprite<QuitScreenClass>},
        {"PausedMouse", &MakeSprite<PausedMouse>},
        {"IntroClass", &MakeSprite<IntroClass>},
        {"introBG", &MakeSprite<introBG>},
        {"ExitButtonClass", &MakeSprite<ExitButtonClass>},
        {"FullScreenButtonClass", &MakeSprite<FullScreenButtonClass>},
        {"GoToMainMenuClass", &MakeSprite<GoToMainMenuClass>},
        {"MainMenuCreditButtonClass", &MakeSprite<MainMenuCreditButtonClass>},
        {"MainMenuExit", &MakeSprite<MainMenuExit>},
        {"MainMenuOptionsButtonClass", &MakeSprite<MainMenuOptionsButtonClass>},
        {"MuteButtonClass", &MakeSprite<MuteButtonClass>},
        {"OptionButtonClass", &MakeSprite<OptionButtonClass>},
        {"SpriteMouseClass", &MakeSprite<SpriteMouseClass>},
        {"SpriteMouseClassT", &MakeSprite<SpriteMouseClassT>},
        {"startButtonClass", &MakeSprite<startButtonClass>},
        {"tutorialButtonClass", &MakeSprite<tutorialButtonClass>},
        // The play level's pause overlay.
        {"ResumeButtonClass", &MakeSprite<ResumeButtonClass>},
        {"RestartButtonClass", &MakeSprite<RestartButtonClass>},
        {"QuitYes", &MakeSprite<QuitYes>},
        {"QuitNo", &MakeSprite<QuitNo>},
    };
    return makers;
}

const std::map<std::string, TextMaker>& TextMakers()
{
    static const std::map<std::string, TextMaker> makers = {
        {"Velkor::Text", &MakeText<Velkor::Text>},
        {"AddScoreClass", &MakeText<AddScoreClass>},
        {"AddScoreClass0", &MakeText<AddScoreClass0>},
        {"ResumeTextClass", &MakeText<ResumeTextClass>},
        // The tutorial's hints.
        {"VisibilityClass", &MakeText<VisibilityClass>},
        {"Visibility1Class", &MakeText<Visibility1Class>},
        {"Visibility2Class", &MakeText<Visibility2Class>},
        {"Visibility3Class", &MakeText<Visibility3Class>},
        {"Visibility4Class", &MakeText<Visibility4Class>},
        {"Visibility5Class", &MakeText<Visibility5Class>},
        {"Visibility6Class", &MakeText<Visibility6Class>},
        {"Visibility7Class", &MakeText<Visibility7Class>},
        {"Visibility8Class", &MakeText<Visibility8Class>},
        {"Visibility9Class", &MakeText<Visibility9Class>},
    };
    return makers;
}

const std::map<std::string, SoundMaker>& SoundMakers()
{
    static const std::map<std::string, SoundMaker> makers = {
        {"BlackHoleSound", &MakeSound<BlackHoleSound>},
        {"BonusSound", &MakeSound<BonusSound>},
        {"BreakBall", &MakeSound<BreakBall>},
        {"BubbleSound", &MakeSound<BubbleSound>},
        {"ButtonSound", &MakeSound<ButtonSound>},
        {"ButtonSound1", &MakeSound<ButtonSound1>},
        {"Damaged", &MakeSound<Damaged>},
        {"Eatball", &MakeSound<Eatball>},
        {"LazerEnd", &MakeSound<LazerEnd>},
        {"LazerEnd1", &MakeSound<LazerEnd1>},
        {"LazerSound", &MakeSound<LazerSound>},
        {"LazerSound1", &MakeSound<LazerSound1>},
        {"LazerStart", &MakeSound<LazerStart>},
        {"LazerStart1", &MakeSound<LazerStart1>},
        {"LazerZap", &MakeSound<LazerZap>},
    };
    return makers;
}

} // namespace

Velkor::Sprite* MakeSpriteObject(const std::string& className,
                                 const Velkor::Sprite::AnimationList& animations)
{
    const auto maker = SpriteMakers().find(className);
    return maker != SpriteMakers().end() ? maker->second(animations) : MakeSprite<Velkor::Sprite>(animations);
}

Velkor::Text* MakeTextObject(const std::string& className, const std::string& text,
                             const std::string& fontPath)
{
    const auto maker = TextMakers().find(className);
    return maker != TextMakers().end() ? maker->second(text, fontPath)
                                       : MakeText<Velkor::Text>(text, fontPath);
}

Velkor::Sound* MakeSoundObject(const std::string& className, const std::string& fileName, std::uint32_t mode,
                               float intensity, std::uint8_t looping, float split, std::uint8_t forceStatic)
{
    const auto maker = SoundMakers().find(className);
    return maker != SoundMakers().end()
               ? maker->second(fileName, mode, intensity, looping, split, forceStatic)
               : nullptr;
}

template <class T> Velkor::Level* MakeLevel()
{
    return new ("Brillow_ClassMakers", __LINE__) T();
}

// The class of each level by index; the framework's plain level where the
// level has no behaviour of its own (yet).
Velkor::Level* MakeLevelObject(std::uint32_t index)
{
    using LevelMaker = Velkor::Level* (*)();
    static constexpr LevelMaker makers[] = {
        &MakeLevel<Level_Class0>,  &MakeLevel<GameLevel>, &MakeLevel<Lose>,
        &MakeLevel<Win>,           &MakeLevel<TutorialClass>, &MakeLevel<Velkor::Level>,
        &MakeLevel<Velkor::Level>, &MakeLevel<Velkor::Level>, &MakeLevel<copy1Lose>,
    };
    return index < std::size(makers) ? makers[index]() : MakeLevel<Velkor::Level>();
}

#include "GameTestSupport.h"

#include "core/Core_ClassRegistry.h"
#include "game/Brillow_AddScoreClass.h"
#include "game/Brillow_AddScoreClass0.h"
#include "game/Brillow_BallDestroyClass.h"
#include "game/Brillow_BlackHoleClass.h"
#include "game/Brillow_BlackHoleClassT.h"
#include "game/Brillow_BonusLazerClass.h"
#include "game/Brillow_BonusLazerClassT.h"
#include "game/Brillow_BonusTextThing.h"
#include "game/Brillow_BorderClass.h"
#include "game/Brillow_BorderClassT.h"
#include "game/Brillow_ExitButtonClass.h"
#include "game/Brillow_FindObjects.h"
#include "game/Brillow_FullScreenButtonClass.h"
#include "game/Brillow_GameClass.h"
#include "game/Brillow_GameLevel.h"
#include "game/Brillow_GoToMainMenuClass.h"
#include "game/Brillow_IntroClass.h"
#include "game/Brillow_Lazer1Class.h"
#include "game/Brillow_Lazer1ClassT.h"
#include "game/Brillow_LazerClass.h"
#include "game/Brillow_LazerClassT.h"
#include "game/Brillow_Level_Class0.h"
#include "game/Brillow_Lose.h"
#include "game/Brillow_MainMenuCreditButtonClass.h"
#include "game/Brillow_MainMenuExit.h"
#include "game/Brillow_MainMenuOptionsButtonClass.h"
#include "game/Brillow_MuteButtonClass.h"
#include "game/Brillow_OptionButtonClass.h"
#include "game/Brillow_PauseButtons.h"
#include "game/Brillow_PauseOverlay.h"
#include "game/Brillow_Sounds.h"
#include "game/Brillow_TutorialClass.h"
#include "game/Brillow_SpikeBall.h"
#include "game/Brillow_SpikeBallT.h"
#include "game/Brillow_SpriteMouseClass.h"
#include "game/Brillow_SpriteMouseClassT.h"
#include "game/Brillow_VisibilityClasses.h"
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

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <typeinfo>

namespace
{

using namespace BrillowTest;

// A game class with a state machine nesting another, built the way the
// classes with behaviour build theirs.
class MachineBall : public Velkor::Sprite
{
    BRILLOW_DECLARE_GAME_CLASS(MachineBall, Velkor::Sprite)

public:
    using Machine = Velkor::StateMachine<MachineBall>;

    MachineBall()
    {
        Machine::StateList inner{new Velkor::State<MachineBall>()};
        Machine::StateList outer{new Machine(inner, 0, 0.0f, this), new Velkor::State<MachineBall>()};
        machine = new Machine(outer, 0, 0.0f, this);
    }
    MachineBall(const MachineBall& other)
        : Velkor::Sprite(other), machine(GameClass::CloneMachine(other.machine, this))
    {
    }

    Core::RefPtr<Machine> machine;
};

BRILLOW_DEFINE_GAME_CLASS(MachineBall)

void MachineBall::Write(Core::File& file) const
{
    BaseClass::Write(file);
    GameClass::SaveMachine(machine, file);
}

void MachineBall::Read(Core::File& file)
{
    BaseClass::Read(file);
    GameClass::LoadMachine(machine, file);
}

template <class T> bool IsExactly(Core::Object* object)
{
    return object != nullptr && typeid(*object) == typeid(T);
}

TEST_F(MyGameDisplayTest, EveryGameClassIsMadeByItsName)
{
    MakeGame();
    const std::pair<const char*, std::function<bool(Core::Object*)>> classes[] = {
        {"ball", IsExactly<ball>},
        {"ballT", IsExactly<ballT>},
        {"whiteball", IsExactly<whiteball>},
        {"whiteballT", IsExactly<whiteballT>},
        {"SpikeBall", IsExactly<SpikeBall>},
        {"SpikeBallT", IsExactly<SpikeBallT>},
        {"LazerClass", IsExactly<LazerClass>},
        {"LazerClassT", IsExactly<LazerClassT>},
        {"Lazer1Class", IsExactly<Lazer1Class>},
        {"Lazer1ClassT", IsExactly<Lazer1ClassT>},
        {"BlackHoleClass", IsExactly<BlackHoleClass>},
        {"BlackHoleClassT", IsExactly<BlackHoleClassT>},
        {"BonusLazerClass", IsExactly<BonusLazerClass>},
        {"BonusLazerClassT", IsExactly<BonusLazerClassT>},
        {"bubblesheildpowerup", IsExactly<bubblesheildpowerup>},
        {"bubblesheildpowerupT", IsExactly<bubblesheildpowerupT>},
        {"BonusTextThing", IsExactly<BonusTextThing>},
        {"BorderClass", IsExactly<BorderClass>},
        {"BorderClassT", IsExactly<BorderClassT>},
        {"VisibilityClass", IsExactly<VisibilityClass>},
        {"Visibility1Class", IsExactly<Visibility1Class>},
        {"Visibility2Class", IsExactly<Visibility2Class>},
        {"Visibility3Class", IsExactly<Visibility3Class>},
        {"Visibility4Class", IsExactly<Visibility4Class>},
        {"Visibility5Class", IsExactly<Visibility5Class>},
        {"Visibility6Class", IsExactly<Visibility6Class>},
        {"Visibility7Class", IsExactly<Visibility7Class>},
        {"Visibility8Class", IsExactly<Visibility8Class>},
        {"Visibility9Class", IsExactly<Visibility9Class>},
        {"IntroClass", IsExactly<IntroClass>},
        {"introBG", IsExactly<introBG>},
        {"ExitButtonClass", IsExactly<ExitButtonClass>},
        {"FullScreenButtonClass", IsExactly<FullScreenButtonClass>},
        {"GoToMainMenuClass", IsExactly<GoToMainMenuClass>},
        {"MainMenuCreditButtonClass", IsExactly<MainMenuCreditButtonClass>},
        {"MainMenuExit", IsExactly<MainMenuExit>},
        {"MainMenuOptionsButtonClass", IsExactly<MainMenuOptionsButtonClass>},
        {"MuteButtonClass", IsExactly<MuteButtonClass>},
        {"OptionButtonClass", IsExactly<OptionButtonClass>},
        {"SpriteMouseClass", IsExactly<SpriteMouseClass>},
        {"SpriteMouseClassT", IsExactly<SpriteMouseClassT>},
        {"startButtonClass", IsExactly<startButtonClass>},
        {"tutorialButtonClass", IsExactly<tutorialButtonClass>},
        {"PauseScreenClass", IsExactly<PauseScreenClass>},
        {"QuitScreenClass", IsExactly<QuitScreenClass>},
        {"ResumeTextClass", IsExactly<ResumeTextClass>},
        {"PausedMouse", IsExactly<PausedMouse>},
        {"ResumeButtonClass", IsExactly<ResumeButtonClass>},
        {"RestartButtonClass", IsExactly<RestartButtonClass>},
        {"QuitYes", IsExactly<QuitYes>},
        {"QuitNo", IsExactly<QuitNo>},
        {"AddScoreClass", IsExactly<AddScoreClass>},
        {"AddScoreClass0", IsExactly<AddScoreClass0>},
        {"BallDestroyClass", IsExactly<BallDestroyClass>},
        {"BlackHoleSound", IsExactly<BlackHoleSound>},
        {"BonusSound", IsExactly<BonusSound>},
        {"BreakBall", IsExactly<BreakBall>},
        {"BubbleSound", IsExactly<BubbleSound>},
        {"ButtonSound", IsExactly<ButtonSound>},
        {"ButtonSound1", IsExactly<ButtonSound1>},
        {"Damaged", IsExactly<Damaged>},
        {"Eatball", IsExactly<Eatball>},
        {"LazerEnd", IsExactly<LazerEnd>},
        {"LazerEnd1", IsExactly<LazerEnd1>},
        {"LazerSound", IsExactly<LazerSound>},
        {"LazerSound1", IsExactly<LazerSound1>},
        {"LazerStart", IsExactly<LazerStart>},
        {"LazerStart1", IsExactly<LazerStart1>},
        {"LazerZap", IsExactly<LazerZap>},
    };
    for (const auto& [name, check] : classes)
    {
        SCOPED_TRACE(name);
        Core::RefPtr<Core::Object> object(Core::CreateObject(name));
        ASSERT_TRUE(check(object.Get()));
        EXPECT_STREQ(object->GetClassName(), name);
        // A clone is of the same class.
        Core::RefPtr<Core::Object> copy(object->Clone());
        EXPECT_TRUE(check(copy.Get()));
    }
    // Levels are made by name too (a level is never copied).
    const std::pair<const char*, std::function<bool(Core::Object*)>> levels[] = {
        {"Level_Class0", IsExactly<Level_Class0>},
        {"Lose", IsExactly<Lose>},
        {"Win", IsExactly<Win>},
        {"copy1Lose", IsExactly<copy1Lose>},
        {"GameLevel", IsExactly<GameLevel>},
        {"TutorialClass", IsExactly<TutorialClass>},
    };
    for (const auto& [name, check] : levels)
    {
        SCOPED_TRACE(name);
        Core::RefPtr<Core::Object> object(Core::CreateObject(name));
        EXPECT_TRUE(check(object.Get()));
    }
    // The sound made by name has no file; a text class shows two empty strings.
    Core::RefPtr<Core::Object> sound(Core::CreateObject("LazerEnd1"));
    auto* lazerEnd = dynamic_cast<Velkor::Sound*>(sound.Get());
    ASSERT_NE(lazerEnd, nullptr);
    EXPECT_EQ(lazerEnd->GetFileName(), "");
    Core::RefPtr<Core::Object> text(Core::CreateObject("AddScoreClass"));
    EXPECT_EQ(static_cast<Velkor::Text*>(text.Get())->GetText(), "");
}

TEST_F(MyGameDisplayTest, ACloneOwnsACopyOfTheMachineAndItsNestedMachine)
{
    MakeGame();
    Core::RefPtr<MachineBall> original(new MachineBall());
    Core::RefPtr<MachineBall> copy(static_cast<MachineBall*>(original->Clone()));
    ASSERT_TRUE(copy->machine);
    EXPECT_NE(copy->machine.Get(), original->machine.Get());
    EXPECT_EQ(copy->machine->GetOwner(), copy.Get());
    auto* nested = dynamic_cast<MachineBall::Machine*>(copy->machine->GetState(0));
    ASSERT_NE(nested, nullptr);
    EXPECT_EQ(nested->GetOwner(), copy.Get());
    EXPECT_NE(nested, original->machine->GetState(0));
    EXPECT_EQ(original->machine->GetOwner(), original.Get());
}

TEST(GameClassLookups, WithoutALevelNothingIsFound)
{
    std::vector<ball*> found{nullptr};
    FindAllObjects<ball>("bgc", found);
    EXPECT_TRUE(found.empty());
    EXPECT_EQ(FindObject<ball>("bgc"), nullptr);
}

TEST_F(MyGameDisplayTest, LookupsWalkTheLayersInOrderAndTestTheType)
{
    MyGame& game = MakeGame(1);
    Tick();
    Velkor::Level* level = game.GetCurrentLevel();
    ASSERT_NE(level, nullptr);
    const auto add = [](Velkor::Layer* layer, Velkor::GameObject* object, const std::string& name)
    {
        object->SetName(name);
        layer->AddGameObject(object);
        return object;
    };
    add(level->GetLayer(0), new Velkor::Sprite(), "x");
    Velkor::GameObject* first = add(level->GetLayer(1), new ball(), "x");
    Velkor::GameObject* second = add(level->GetLayer(1), new ball(), "x");
    add(level->GetLayer(1), new whiteball(), "y");
    Velkor::GameObject* third = add(level->GetLayer(2), new ball(), "x");
    add(level->GetLayer(2), new LazerStart(), "lazerstart");
    // Objects added to a running layer join at its next walk.
    Tick();

    EXPECT_EQ(FindObject<ball>("x"), first);
    EXPECT_EQ(FindObject<whiteball>("x"), nullptr);
    EXPECT_EQ(FindObject<ball>("y"), nullptr);
    EXPECT_EQ(FindObject<LazerSound>("lazerstart"), nullptr);
    EXPECT_NE(FindObject<LazerStart>("lazerstart"), nullptr);
    std::vector<ball*> all;
    FindAllObjects<ball>("x", all);
    EXPECT_EQ(all, (std::vector<ball*>{static_cast<ball*>(first), static_cast<ball*>(second),
                                       static_cast<ball*>(third)}));
    FindAllObjectsInLayer<ball>(level->GetLayer(2), "x", all);
    EXPECT_EQ(all, std::vector<ball*>{static_cast<ball*>(third)});
}

} // namespace

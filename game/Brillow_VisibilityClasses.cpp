#include "game/Brillow_VisibilityClasses.h"

#include "game/Brillow_MyGame.h"

bool IsGameAtStage(std::int32_t stage)
{
    const MyGame* game = MyGame::GetInstance();
    return game != nullptr && game->stage == stage;
}

BRILLOW_DEFINE_HINT_CLASS(VisibilityClass, TutorialHint<VisibilityClass>)
BRILLOW_DEFINE_HINT_CLASS(Visibility1Class, FinishingHint<Visibility1Class>)
BRILLOW_DEFINE_HINT_CLASS(Visibility2Class, FinishingHint<Visibility2Class>)
BRILLOW_DEFINE_HINT_CLASS(Visibility3Class, FinishingHint<Visibility3Class>)
BRILLOW_DEFINE_HINT_CLASS(Visibility4Class, FinishingHint<Visibility4Class>)
BRILLOW_DEFINE_HINT_CLASS(Visibility5Class, FinishingHint<Visibility5Class>)
BRILLOW_DEFINE_HINT_CLASS(Visibility6Class, FinishingHint<Visibility6Class>)
BRILLOW_DEFINE_HINT_CLASS(Visibility7Class, FinishingHint<Visibility7Class>)
BRILLOW_DEFINE_HINT_CLASS(Visibility8Class, FinishingHint<Visibility8Class>)
BRILLOW_DEFINE_HINT_CLASS(Visibility9Class, FinishingHint<Visibility9Class>)

void VisibilityClass::EnterS1(float dt)
{
    ToggleVisibility(dt);
    PlayLevelFlags::Write(Recipe.flag, 0);
}

// Ten points reach the stage target of stage 1 at the game's next update.
void Visibility8Class::OnFinished()
{
    PlayLevelFlags::Write(PlayFlag::HintNextLevel, 1);
    if (MyGame* game = MyGame::GetInstance())
    {
        game->levelScore = 10;
    }
}

void Visibility9Class::OnStart()
{
    done = 0;
    doneForMenu = 0;
}

void Visibility9Class::OnFinished()
{
    doneForMenu = 1;
}

#pragma once

#include "game/Brillow_TutorialHint.h"

// The tutorial's ten hint texts, by object name. Each differs from the
// others only in its flag, its delay, its time on screen, the order its
// machine stores its states in and, for the last two, what finishing does.

// "intro": shown one second after its flag rises, for four seconds, then
// hidden again; entering the shown state clears the flag, so raising it
// again shows the hint again.
class VisibilityClass : public TutorialHint<VisibilityClass>
{
    BRILLOW_DECLARE_HINT_CLASS(VisibilityClass)

    static constexpr HintRecipe Recipe = {
        PlayFlag::HintIntro, 1.0f, 4.0f, {HintState::S0, HintState::S1, HintState::S2}, 2, false};

    // Shows the text and clears the flag.
    void EnterS1(float dt);
};

// "nextblue"
class Visibility1Class : public FinishingHint<Visibility1Class>
{
    BRILLOW_DECLARE_HINT_CLASS(Visibility1Class)

    static constexpr HintRecipe Recipe = {
        PlayFlag::HintNextBlue, 1.0f, 5.0f, {HintState::S1, HintState::S2, HintState::S0}, 3, false};
};

// "nextenemy"
class Visibility2Class : public FinishingHint<Visibility2Class>
{
    BRILLOW_DECLARE_HINT_CLASS(Visibility2Class)

    static constexpr HintRecipe Recipe = {
        PlayFlag::HintNextEnemy, 1.0f, 6.0f, {HintState::S0, HintState::S1, HintState::S2}, 3, false};
};

// "anotherenemy"
class Visibility3Class : public FinishingHint<Visibility3Class>
{
    BRILLOW_DECLARE_HINT_CLASS(Visibility3Class)

    static constexpr HintRecipe Recipe = {
        PlayFlag::HintAnotherEnemy, 1.0f, 6.0f, {HintState::S0, HintState::S1, HintState::S2}, 3, false};
};

// "more": no delay, it shows in the first update that sees its flag.
class Visibility4Class : public FinishingHint<Visibility4Class>
{
    BRILLOW_DECLARE_HINT_CLASS(Visibility4Class)

    static constexpr HintRecipe Recipe = {
        PlayFlag::HintMore, 0.0f, 4.0f, {HintState::S0, HintState::S1, HintState::S2}, 3, false};
};

// "destroy"
class Visibility5Class : public FinishingHint<Visibility5Class>
{
    BRILLOW_DECLARE_HINT_CLASS(Visibility5Class)

    static constexpr HintRecipe Recipe = {
        PlayFlag::HintDestroy, 1.0f, 4.0f, {HintState::S1, HintState::S0, HintState::S2}, 3, false};
};

// "obstacles"
class Visibility6Class : public FinishingHint<Visibility6Class>
{
    BRILLOW_DECLARE_HINT_CLASS(Visibility6Class)

    static constexpr HintRecipe Recipe = {
        PlayFlag::HintObstacles, 1.0f, 4.0f, {HintState::S0, HintState::S1, HintState::S2}, 3, false};
};

// "powerup1"
class Visibility7Class : public FinishingHint<Visibility7Class>
{
    BRILLOW_DECLARE_HINT_CLASS(Visibility7Class)

    static constexpr HintRecipe Recipe = {
        PlayFlag::HintPowerUp1, 1.0f, 4.0f, {HintState::S0, HintState::S1, HintState::S2}, 3, false};
};

// "Invincible": when it has been shown it raises "Nextlevel" and gives the
// stage its ten points, which completes stage 1.
class Visibility8Class : public FinishingHint<Visibility8Class>
{
    BRILLOW_DECLARE_HINT_CLASS(Visibility8Class)

    static constexpr HintRecipe Recipe = {
        PlayFlag::HintInvincible, 1.0f, 4.0f, {HintState::S1, HintState::S0, HintState::S2}, 3, false};

    void OnFinished();
};

// "Nextlevel": waits for its flag and for stage 2. Besides `done` it sets
// `doneForMenu` when it has been shown; the level machine reads that byte
// to leave the tutorial for the main menu and clears it on the way.
class Visibility9Class : public FinishingHint<Visibility9Class>
{
    BRILLOW_DECLARE_HINT_CLASS(Visibility9Class)

    static constexpr HintRecipe Recipe = {
        PlayFlag::HintNextLevel, 1.0f, 4.0f, {HintState::S1, HintState::S2, HintState::S0}, 3, true};

    void OnStart() override;
    void OnFinished();

    std::uint8_t doneForMenu = 0;
};

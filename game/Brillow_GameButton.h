#pragma once

#include "framework/Velkor_Sprite.h"

#include <cstdint>
#include <string>

namespace Velkor
{
class Sound;
}

// The game's buttons are sprites with a collision object: a button is
// pointed at while its bounding rectangle touches the cursor sprite (the
// player ball "playerball" in the menus and screens, "PauseMouse" on the
// pause overlay). Frame 0 of the sheet is the idle look, frame 1 the
// highlighted one; the buttons never play their animation.
class GameButton : public Velkor::Sprite
{
public:
    // 1 while the cursor touches the button and the hover sound has been
    // played for this contact.
    std::uint8_t hovered = 0;

    // One frame of pointing at the button with `cursor`: on contact the
    // hover sound plays once per entry (none when `hoverSound` is null) and
    // the button shows `pointedFrame`; without contact `hovered` drops and it
    // shows `idleFrame`. True when the left mouse button went down this
    // frame while the button is pointed at. A button without a collision
    // object (a network client's) is never pointed at.
    bool Point(const std::string& cursor, Velkor::Sound* hoverSound, std::uint32_t pointedFrame = 1,
               std::uint32_t idleFrame = 0);
    // The left mouse button went down this frame.
    static bool IsLeftClick();

    // The hover sounds: "buttonsound1" of the main menu, "buttonsound" of
    // the other screens and the pause overlay; null when the level has none.
    static Velkor::Sound* FindMainMenuSound();
    static Velkor::Sound* FindButtonSound();

protected:
    GameButton() = default;
    explicit GameButton(const AnimationList& animations) : Velkor::Sprite(animations) {}
    GameButton(const GameButton& other) = default;
    ~GameButton() override;
};

// A button of the menus and end screens: pointed at by "playerball", its
// click performs Click.
class MenuButton : public GameButton
{
public:
    void OnStart() override;
    void Update(float dt) override;

protected:
    using GameButton::GameButton;
    ~MenuButton() override;

    // FindButtonSound unless the button says otherwise.
    virtual Velkor::Sound* FindHoverSound();
    virtual void Click() = 0;
};

// A button of the main menu: its hover sound is "buttonsound1".
class MainMenuButton : public MenuButton
{
protected:
    using MenuButton::MenuButton;
    ~MainMenuButton() override;

    Velkor::Sound* FindHoverSound() override;
};

// A button of the play level's pause overlay: hidden while the quit dialog
// or the resume prompt is up, else shown exactly while the level is
// paused, pointed at by "PauseMouse".
class OverlayButton : public GameButton
{
public:
    // Hidden until the level is paused.
    void OnStart() override;
    void Update(float dt) override;

protected:
    using GameButton::GameButton;
    ~OverlayButton() override;

    virtual void Click() = 0;
};

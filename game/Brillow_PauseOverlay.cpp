#include "game/Brillow_PauseOverlay.h"

#include "game/Brillow_MyGame.h"
#include "input/Input_Mouse.h"

#define BRILLOW_OVERLAY_SKELETON(Class, Base)                                                                \
    BRILLOW_DEFINE_GAME_CLASS(Class)                                                                         \
    BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(Class)                                                             \
    Class::Class(const Class& other) = default;                                                              \
    Class::~Class() = default;                                                                               \
    void Class::OnStart()                                                                                    \
    {                                                                                                        \
        SetVisible(false);                                                                                   \
    }

BRILLOW_OVERLAY_SKELETON(PauseScreenClass, Velkor::Sprite)
BRILLOW_OVERLAY_SKELETON(QuitScreenClass, Velkor::Sprite)
BRILLOW_OVERLAY_SKELETON(ResumeTextClass, Velkor::Text)
BRILLOW_OVERLAY_SKELETON(PausedMouse, Velkor::Sprite)

#undef BRILLOW_OVERLAY_SKELETON

void PauseOverlay::ShowWhile(Velkor::GameObject& object, PlayFlag flag)
{
    object.SetVisible(PlayLevelFlags::Read(flag) != 0);
}

PauseScreenClass::PauseScreenClass() = default;

PauseScreenClass::PauseScreenClass(const AnimationList& animations) : Velkor::Sprite(animations) {}

void PauseScreenClass::Update(float)
{
    PauseOverlay::ShowWhile(*this, PlayFlag::Paused);
}

QuitScreenClass::QuitScreenClass() = default;

QuitScreenClass::QuitScreenClass(const AnimationList& animations) : Velkor::Sprite(animations) {}

void QuitScreenClass::Update(float)
{
    PauseOverlay::ShowWhile(*this, PlayFlag::QuitDialogOpen);
}

ResumeTextClass::ResumeTextClass() : Velkor::Text(std::string(), std::string()) {}

ResumeTextClass::ResumeTextClass(const std::string& text, const std::string& fontPath)
    : Velkor::Text(text, fontPath)
{
}

void ResumeTextClass::Update(float)
{
    PauseOverlay::ShowWhile(*this, PlayFlag::ResumePrompt);
}

PausedMouse::PausedMouse() = default;

PausedMouse::PausedMouse(const AnimationList& animations) : Velkor::Sprite(animations) {}

void PausedMouse::Update(float)
{
    if (PlayLevelFlags::Read(PlayFlag::Paused) != 1)
    {
        SetVisible(false);
        SetZOrder(0.0f);
        return;
    }
    SetVisible(true);
    MyGame* game = MyGame::GetInstance();
    const Input::Mouse* mouse = game != nullptr ? game->GetMouse().Get() : nullptr;
    if (mouse == nullptr)
    {
        return;
    }
    // Window pixels to field units: the field's origin is the window's centre.
    std::int32_t x = 0;
    std::int32_t y = 0;
    mouse->GetPosition(x, y);
    const Engine::DisplayRequest display = MyGame::GetDisplayRequest();
    SetPosition(Math::Vector2D(static_cast<float>(x - static_cast<std::int32_t>(display.width / 2)),
                               static_cast<float>(y - static_cast<std::int32_t>(display.height / 2))));
    SetZOrder(10.0f);
    if (PlayLevelFlags::Read(PlayFlag::ResumePrompt) != 0 && IsCollidedWithSprite("playerball", true) &&
        mouse->IsTriggered(0))
    {
        PlayLevelFlags::Write(PlayFlag::Paused, 0);
        PlayLevelFlags::Write(PlayFlag::ResumePrompt, 0);
        PlayLevelFlags::Write(PlayFlag::QuitDialogOpen, 0);
    }
}

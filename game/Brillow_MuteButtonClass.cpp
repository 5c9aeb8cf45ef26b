#include "game/Brillow_MuteButtonClass.h"

#include "game/Brillow_MyGame.h"

BRILLOW_DEFINE_GAME_CLASS(MuteButtonClass)
BRILLOW_DEFINE_GAME_CLASS_PERSISTENCE(MuteButtonClass)

MuteButtonClass::MuteButtonClass() = default;

MuteButtonClass::MuteButtonClass(const AnimationList& animations) : GameButton(animations) {}

MuteButtonClass::MuteButtonClass(const MuteButtonClass& other) = default;

MuteButtonClass::~MuteButtonClass() = default;

void MuteButtonClass::Update(float)
{
    Velkor::Sound* sound = FindButtonSound();
    MyGame* game = MyGame::GetInstance();
    if (game == nullptr)
    {
        return;
    }
    if (game->muted == 0)
    {
        if (Point("playerball", sound, SoundOnPointed, SoundOnIdle))
        {
            game->muted = 1;
            game->SetMasterVolume(0.0f);
        }
    }
    else if (Point("playerball", sound, MutedPointed, MutedIdle))
    {
        game->muted = 0;
        game->SetMasterVolume(1.0f);
    }
}

void MuteButtonClass::NetworkSyncReceive(Core::File& file)
{
    Velkor::Sprite::NetworkSyncReceive(file);
    hovered = 0;
}

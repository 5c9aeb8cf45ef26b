#include "game/Brillow_BlackHoleClass.h"

#include "game/Brillow_FindObjects.h"
#include "game/Brillow_ObjectRules.h"
#include "game/Brillow_PlayLevelFlags.h"
#include "game/Brillow_Sounds.h"

namespace BlackHoleRules
{

namespace
{

// The way out of every ending: the level may offer the next hole.
void Close(Velkor::Sprite& hole)
{
    hole.Destroy();
    PlayLevelFlags::Write(PlayFlag::BlackHoleAvailable, 1);
    PlayLevelFlags::Write(PlayFlag::BlackHoleActive, 0);
}

} // namespace

void PrepareClone(Velkor::Sprite& hole, BlackHoleState& state)
{
    state.inert = 0;
    ObjectRules::SetCanCollide(hole, 0, true);
}

void RestoreInert(const Velkor::Sprite& hole, BlackHoleState& state)
{
    state.inert = hole.GetName() == PrototypeName ? 1 : 0;
}

void Update(Velkor::Sprite& hole, BlackHoleState& state, bool pausable)
{
    BlackHoleSound* sound = FindObject<BlackHoleSound>("blackholesound");
    if (pausable && PlayLevelFlags::Read(PlayFlag::Paused) != 0)
    {
        ObjectRules::Pause(sound);
        return;
    }
    if (state.inert == 0)
    {
        ++state.lifeCounter;
        if (ObjectRules::Touches(hole, "playerball") && state.activeCounter < 1)
        {
            PlayLevelFlags::Write(PlayFlag::BlackHoleActive, 1);
        }
        if (PlayLevelFlags::Read(PlayFlag::BlackHoleActive) != 0)
        {
            ObjectRules::Play(sound);
            ObjectRules::SetCanCollide(hole, 1, true);
            // The open hole cycles frames 1 to 4, one step per game frame.
            hole.SetCurrentFrameIndex(hole.GetCurrentFrameIndex() + 1, false);
            if (hole.GetCurrentFrameIndex() == 5)
            {
                hole.SetCurrentFrameIndex(1, false);
            }
            ++state.activeCounter;
            if (state.activeCounter > OpenFrames)
            {
                ObjectRules::Stop(sound);
                Close(hole);
            }
        }
        if (state.lifeCounter == WaitFrames && PlayLevelFlags::Read(PlayFlag::BlackHoleActive) == 0)
        {
            Close(hole);
        }
    }
    if (ObjectRules::Touches(hole, "blz"))
    {
        ObjectRules::StopIfPlaying(sound);
        Close(hole);
    }
}

} // namespace BlackHoleRules

BRILLOW_DEFINE_GAME_CLASS_OWN_CLONE(BlackHoleClass)

void BlackHoleClass::Write(Core::File& file) const
{
    BaseClass::Write(file);
}

void BlackHoleClass::Read(Core::File& file)
{
    BaseClass::Read(file);
    BlackHoleRules::RestoreInert(*this, state);
}

BlackHoleClass::BlackHoleClass() = default;

BlackHoleClass::BlackHoleClass(const AnimationList& animations) : Velkor::Sprite(animations)
{
    state.inert = 1;
}

BlackHoleClass::BlackHoleClass(const BlackHoleClass& other) = default;

BlackHoleClass::~BlackHoleClass() = default;

Core::Object* BlackHoleClass::Clone() const
{
    auto* copy = new ("Brillow_BlackHoleClass", __LINE__) BlackHoleClass(*this);
    BlackHoleRules::PrepareClone(*copy, copy->state);
    return copy;
}

void BlackHoleClass::OnStart()
{
    state.activeCounter = 0;
    state.lifeCounter = 0;
}

void BlackHoleClass::Update(float /*dt*/)
{
    BlackHoleRules::Update(*this, state, true);
}

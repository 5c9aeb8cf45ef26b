#pragma once

#include "framework/Velkor_GameObject.h"
#include "framework/Velkor_Sound.h"
#include "math/Math_Circle2D.h"

#include <cstdint>

class MyGame;

// Small steps the play objects share. Every one of them tolerates what a
// level may lack: an object without a collision object (a network client
// builds none), a sound that is not there, no MyGame.
namespace ObjectRules
{

// In shape contact, at the last collision step, with an object of that name.
bool Touches(const Velkor::GameObject& object, const char* name);

// Collisions with collision level `z` on or off; nothing without a
// collision object.
void SetCanCollide(Velkor::GameObject& object, std::uint8_t z, bool on);

// The first circle of the object's current collision frame, in world
// units. False when there is no collision object or the frame holds no
// circle (the world buffers are sized for the actor's largest frame, so
// their first entry says nothing about the current one).
bool GetFirstCircle(const Velkor::GameObject& object, Math::Circle2D& circle);

// The sound steps, each skipped for a missing sound.
void Play(Velkor::Sound* sound);
void Stop(Velkor::Sound* sound);
void Pause(Velkor::Sound* sound);
void StopIfPlaying(Velkor::Sound* sound);
void PauseIfPlaying(Velkor::Sound* sound);

// The game data, or null when the running game is not MyGame.
MyGame* Data();

// The object's velocity, or `fallback` when it has no body.
Math::Vector2D GetVelocity(const Velkor::GameObject& object, const Math::Vector2D& fallback);

// The unit vector from `from` to `to` (left as it is when they nearly meet).
Math::Vector2D Towards(const Math::Vector2D& from, const Math::Vector2D& to);

} // namespace ObjectRules

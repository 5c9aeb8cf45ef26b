#pragma once

namespace Physics2D
{

// Process-wide values shared by every physics engine and every body. The
// engine sets and stores them; bodies read them while they integrate.
struct Simulation
{
    // Multiplies every accumulated force and torque, and the angular velocity
    // limit. Never 0: the engine ignores a request to set it to 0.
    static inline float scale = 1.0f;
    // A velocity component whose magnitude is at most this is taken as 0.
    static inline float epsilon = 1e-10f;
};

} // namespace Physics2D

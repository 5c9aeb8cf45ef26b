#pragma once

namespace Physics2D
{

class RigidBody;

// Process-wide values shared by every physics engine, body and joint. The
// physics engine owns them: it sets them each pass, stores and reads them
// with itself, and is the only writer; bodies, joints and the solver read
// them.
struct Simulation
{
    // Multiplies every accumulated force and torque, the angular velocity
    // limit and the velocities handed through the engine's by-id operations.
    // Never 0: the engine ignores a request to set it to 0.
    static inline float scale = 1.0f;
    // A velocity component whose magnitude is at most this is taken as 0.
    static inline float epsilon = 1e-10f;
    // The unbounded side of a constraint row.
    static inline float plusInfinity = 3.4028235e38f;
    // The clamped step of the last engine pass and its inverse (0 when the
    // pass was handed a step of 0).
    static inline float step = 0.0f;
    static inline float inverseStep = 0.0f;
    // Upper bound of a pass's step.
    static inline float maximumStep = 0.02f;
    // The static ground body of the engine constructed or read last. Joints
    // compare their bodies with it; not owned.
    static inline RigidBody* staticBody = nullptr;
};

} // namespace Physics2D

#pragma once

// The adjugate and determinant behind Matrix4's inverse and determinant.
// Internal to the math module; tests reach the portable form to check that
// the vector form gives the same bits.

namespace Math::Detail
{

struct Adjugate
{
    float m[16]; // column-major, as Matrix4
    float determinant;
};

// Plain C++: four lanes at a time in loops.
Adjugate ComputeAdjugatePortable(const float* matrix);
// The SSE form where the target has it, else the portable one. Both do the
// same operations in the same order, so they give identical results.
Adjugate ComputeAdjugate(const float* matrix);

} // namespace Math::Detail

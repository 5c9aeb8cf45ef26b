#pragma once

// Shared by the sources of the collision benchmark program: each source
// names the comparisons it wants printed as ratio lines, and the one main
// (bench_collision.cpp) prints them after all benchmarks ran.

#include <string>
#include <vector>

namespace bench
{

struct CollisionRatio
{
    std::string what;
    std::string ours;
    std::string reference;
};

std::vector<CollisionRatio>& CollisionRatios();

// Adds a comparison at static initialisation:
//   const bench::RegisterCollisionRatio ratio{"what", "BM_Ours/10", "BM_Reference/10"};
struct RegisterCollisionRatio
{
    RegisterCollisionRatio(std::string what, std::string ours, std::string reference)
    {
        CollisionRatios().push_back({std::move(what), std::move(ours), std::move(reference)});
    }
};

} // namespace bench

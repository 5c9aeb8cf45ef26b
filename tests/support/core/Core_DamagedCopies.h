#pragma once

// Damaged copies of a good record, for tests that feed them to a reader and
// check that it refuses them and changes nothing it holds.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Core::Testing
{

using Bytes = std::vector<std::uint8_t>;

struct DamagePlan
{
    // Cut the record after every prefixStride-th byte (the empty record first).
    std::size_t prefixStride = 1;
    // Then this many copies with one byte changed to another value, the place
    // and the value drawn from the seed.
    int flippedCopies = 1000;
    std::uint32_t seed = 12345;
};

// Every stride-th prefix and 1,000 flipped copies; a sanitizer build, where
// each load costs many times more, cuts every sanitizerStride-th prefix and
// makes sanitizerCopies flipped copies.
DamagePlan PlanForThisBuild(std::size_t sanitizerStride, int sanitizerCopies = 100,
                            std::size_t stride = 1);

struct DamagedCopy
{
    Bytes bytes;
    bool prefix = false; // a cut record, which every reader must refuse
};

std::vector<DamagedCopy> DamagedCopies(const Bytes& good, const DamagePlan& plan);

} // namespace Core::Testing

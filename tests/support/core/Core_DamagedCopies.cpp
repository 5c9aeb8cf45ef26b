#include "core/Core_DamagedCopies.h"

#include <utility>

namespace Core::Testing
{

DamagePlan PlanForThisBuild(std::size_t sanitizerStride, int sanitizerCopies, std::size_t stride)
{
#if ENGINE_SANITIZE
    (void)stride;
    return DamagePlan{sanitizerStride, sanitizerCopies};
#else
    (void)sanitizerStride;
    (void)sanitizerCopies;
    return DamagePlan{stride, 1000};
#endif
}

std::vector<DamagedCopy> DamagedCopies(const Bytes& good, const DamagePlan& plan)
{
    std::vector<DamagedCopy> copies;
    const std::size_t stride = plan.prefixStride == 0 ? 1 : plan.prefixStride;
    for (std::size_t cut = 0; cut < good.size(); cut += stride)
    {
        copies.push_back({Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut)), true});
    }
    if (good.empty())
    {
        return copies;
    }
    // A generator of its own, so the copies do not move the engine's.
    std::uint32_t state = plan.seed;
    const auto next = [&state]
    {
        state = state * 1103515245u + 12345u;
        return state >> 8;
    };
    for (int i = 0; i < plan.flippedCopies; ++i)
    {
        Bytes bytes = good;
        const std::size_t at = next() % bytes.size();
        bytes[at] ^= static_cast<std::uint8_t>(1u + next() % 255u);
        copies.push_back({std::move(bytes), false});
    }
    return copies;
}

} // namespace Core::Testing

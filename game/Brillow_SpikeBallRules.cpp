#include "game/Brillow_SpikeBallRules.h"

#include "core/Core_RefPtr.h"

#include <vector>

namespace SpikeBallRules
{

void Crush(Velkor::Sprite& spike)
{
    Math::Circle2D own;
    if (!ObjectRules::GetFirstCircle(spike, own))
    {
        return;
    }
    std::vector<Core::RefPtr<Velkor::GameObject>> balls;
    spike.GetCurrentLevelObjectsByName("bgc", balls);
    for (const Core::RefPtr<Velkor::GameObject>& ball : balls)
    {
        Math::Circle2D other;
        if (ball.Get() == &spike || !ObjectRules::GetFirstCircle(*ball, other))
        {
            continue;
        }
        if (own.ClassifyCircle(other) == Math::ClassifyResult::Intersecting)
        {
            ObjectRules::SetCanCollide(spike, 0, false);
            ball->Destroy();
            spike.Destroy();
        }
    }
}

} // namespace SpikeBallRules

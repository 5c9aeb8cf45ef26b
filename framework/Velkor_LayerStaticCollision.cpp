#include "collision/Collision_CollisionEngine.h"
#include "collision/Collision_StaticCollisionFile.h"
#include "core/Core_ResourceReport.h"
#include "framework/Velkor_GameEngines.h"
#include "framework/Velkor_Layer.h"

namespace Velkor
{

namespace
{

// Whether `added` more shapes of the kind fit the collision layer's ids:
// the last one would take slot count + added - 1.
bool HasRoom(const Collision2D::CollisionLayer& layer, Collision2D::CollisionLayer::SlotKind kind,
             std::size_t added, std::uint32_t maximumSlot)
{
    return added == 0 || static_cast<std::uint64_t>(layer.GetCount(kind)) + added - 1 <=
                             static_cast<std::uint64_t>(maximumSlot);
}

} // namespace

bool Layer::ReadInformation_StaticCollision(const std::string& path, std::string* error)
{
    Collision2D::StaticCollisionFile file;
    std::string problem;
    bool good = file.Read(path, problem);
    const bool opened = good || !problem.empty();

    Collision2D::CollisionEngine* collision = GameCollision();
    Collision2D::CollisionLayer* layer =
        collision != nullptr ? collision->GetLayer(collisionLayer_) : nullptr;
    if (good && layer == nullptr)
    {
        problem = "the layer has no collision layer to take its shapes";
        good = false;
    }
    else if (good && (!HasRoom(*layer, Collision2D::CollisionLayer::StaticLineSegments,
                               file.GetSegments().size(), Collision2D::MaximumStaticLineSegmentSlot) ||
                      !HasRoom(*layer, Collision2D::CollisionLayer::StaticCircles, file.GetCircles().size(),
                               Collision2D::MaximumStaticCircleSlot)))
    {
        problem = "more shapes than the layer's collision layer has slots left";
        good = false;
    }

    if (!good)
    {
        // An unopened file is described by the system's reason.
        Core::ReportUnreadableResource(path, problem, "the layer gets no static shapes from it");
        if (error != nullptr)
        {
            *error = "static collision file \"" + path + "\": " + (opened ? problem : "it cannot be read");
        }
        return false;
    }

    for (const Collision2D::StaticCollisionFile::Segment& segment : file.GetSegments())
    {
        AddStaticLineSegment(segment.a, segment.b, segment.z, segment.userId);
    }
    for (const Collision2D::StaticCollisionFile::Circle& circle : file.GetCircles())
    {
        AddStaticCircle(circle.center, circle.radius, circle.z, circle.userId);
    }
    return true;
}

} // namespace Velkor

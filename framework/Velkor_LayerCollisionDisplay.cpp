// The layer's display of its static collision shapes.
#include "collision/Collision_CollisionEngine.h"
#include "collision/Collision_CollisionLayer.h"
#include "collision/Collision_GeometricCollision.h"
#include "framework/Velkor_Circle.h"
#include "framework/Velkor_GameEngines.h"
#include "framework/Velkor_Layer.h"
#include "framework/Velkor_Line.h"
#include "math/Math_Circle2D.h"
#include "math/Math_LineSegment2D.h"

namespace Velkor
{

namespace
{

template <class T> bool IsShown(const Core::RefPtr<T>& object)
{
    return object && !object->IsDestroyed() && !object->IsBeingDestroyed();
}

void Colour(GameObject& object, const Math::Vector4& color)
{
    object.SetModulationColor(color.x, color.y, color.z, color.w);
}

// Walks the static slots 1 ... count - 1 of one kind beside the display
// entries (entry i for slot i + 1). `make` answers the new display object
// of a slot, or null for an empty one.
template <class T, class Make>
void ShowSlots(std::vector<Core::RefPtr<T>>& entries, std::int32_t count, bool addNew, bool replaceGone,
               Make make)
{
    for (std::int32_t slot = 1; slot < count; ++slot)
    {
        const auto index = static_cast<std::size_t>(slot - 1);
        if (index < entries.size())
        {
            if (replaceGone && entries[index] && !IsShown(entries[index]))
            {
                entries[index] = make(static_cast<std::uint32_t>(slot));
            }
        }
        else if (addNew)
        {
            entries.push_back(make(static_cast<std::uint32_t>(slot)));
        }
        else
        {
            return;
        }
    }
}

template <class T> void DestroyAll(std::vector<Core::RefPtr<T>>& entries)
{
    for (const Core::RefPtr<T>& entry : entries)
    {
        if (IsShown(entry))
        {
            entry->Destroy();
        }
    }
    entries.clear();
}

} // namespace

void Layer::ShowStaticShapes(bool addNew, bool replaceGone)
{
    Collision2D::CollisionEngine* collision = GameCollision();
    Collision2D::CollisionLayer* shapes =
        collision != nullptr ? collision->GetLayer(collisionLayer_) : nullptr;
    if (shapes == nullptr)
    {
        return;
    }
    using Kind = Collision2D::CollisionLayer::SlotKind;
    ShowSlots(collisionCircles_, shapes->GetCount(Kind::StaticCircles), addNew, replaceGone,
              [&](std::uint32_t slot) -> Core::RefPtr<Circle>
              {
                  const Collision2D::StaticCollisionCircle* shape = shapes->GetStaticCircle(slot);
                  if (shape == nullptr || shape->GetCircle() == nullptr)
                  {
                      return nullptr;
                  }
                  Core::RefPtr<Circle> circle(new ("Velkor_Layer", __LINE__)
                                                  Circle(shape->GetCircle()->radius));
                  circle->SetPosition(shape->GetCircle()->center);
                  circle->SetVisible(true);
                  Colour(*circle, collisionDataColor_);
                  AddGameObject(circle.Get());
                  return circle;
              });
    ShowSlots(collisionLines_, shapes->GetCount(Kind::StaticLineSegments), addNew, replaceGone,
              [&](std::uint32_t slot) -> Core::RefPtr<Line>
              {
                  const Collision2D::StaticCollisionLineSegment* shape = shapes->GetStaticLineSegment(slot);
                  if (shape == nullptr || shape->GetLineSegment() == nullptr)
                  {
                      return nullptr;
                  }
                  const Math::LineSegment2D& segment = *shape->GetLineSegment();
                  Core::RefPtr<Line> line(new ("Velkor_Layer", __LINE__)
                                              Line(segment.pointA, segment.pointB));
                  line->SetVisible(true);
                  Colour(*line, collisionDataColor_);
                  AddGameObject(line.Get());
                  return line;
              });
}

void Layer::SetVisibleCollisionData(bool visible)
{
    visibleCollisionData_ = visible;
    if (!visible)
    {
        DestroyAll(collisionCircles_);
        DestroyAll(collisionLines_);
        return;
    }
    ShowStaticShapes(true, true);
}

void Layer::SetCollisionDataColor(float red, float green, float blue, float alpha)
{
    collisionDataColor_.Set(red, green, blue, alpha);
    for (const Core::RefPtr<Circle>& circle : collisionCircles_)
    {
        if (IsShown(circle))
        {
            Colour(*circle, collisionDataColor_);
        }
    }
    for (const Core::RefPtr<Line>& line : collisionLines_)
    {
        if (IsShown(line))
        {
            Colour(*line, collisionDataColor_);
        }
    }
}

void Layer::SetLayerPartitionColor(float red, float green, float blue, float alpha)
{
    layerPartitionColor_.Set(red, green, blue, alpha);
    for (const Core::RefPtr<GameObject>& object : partitionObjects_)
    {
        if (IsShown(object))
        {
            Colour(*object, layerPartitionColor_);
        }
    }
}

} // namespace Velkor

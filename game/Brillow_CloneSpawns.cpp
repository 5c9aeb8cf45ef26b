#include "game/Brillow_CloneSpawns.h"

#include "framework/Velkor_Layer.h"
#include "framework/Velkor_Level.h"
#include "framework/Velkor_Random.h"

namespace CloneSpawns
{

namespace
{

void Place(Velkor::GameObject& clone, const Coordinate& coordinate, std::int32_t index, bool isX)
{
    if (coordinate.kind == Coordinate::Keep)
    {
        return;
    }
    float value = coordinate.value;
    if (coordinate.kind == Coordinate::Drawn)
    {
        const std::int32_t step = coordinate.stepped ? Velkor::RandomInt(1, 80) * index : 0;
        value = static_cast<float>(step + Velkor::RandomInt(coordinate.low, coordinate.high));
    }
    if (isX)
    {
        clone.SetPositionX(value);
    }
    else
    {
        clone.SetPositionY(value);
    }
}

} // namespace

Core::RefPtr<Velkor::GameObject> MakeClone(const Velkor::GameObject& prototype, const char* name)
{
    Core::RefPtr<Velkor::GameObject> clone(static_cast<Velkor::GameObject*>(prototype.Clone()));
    clone->SetVisible(true);
    clone->SetName(name);
    return clone;
}

void Spawn(Velkor::Level& level, const Row& row)
{
    Velkor::GameObject* prototype = row.find(row.prototype);
    Velkor::Layer* layer = level.GetLayer(1);
    if (prototype == nullptr || layer == nullptr)
    {
        return;
    }
    std::int32_t limit = row.batch == Batch::Fixed ? row.count : 1;
    for (std::int32_t made = 0;; ++made)
    {
        if (row.batch == Batch::OneOrTwo)
        {
            limit = Velkor::RandomInt(1, 2);
        }
        if (made >= limit)
        {
            return;
        }
        Core::RefPtr<Velkor::GameObject> clone = MakeClone(*prototype, row.clone);
        Place(*clone, row.x, made, true);
        Place(*clone, row.y, made, false);
        if (row.lifeTime > 0.0f)
        {
            clone->SetLifeTime(row.lifeTime);
        }
        layer->AddGameObject(clone.Get(), false, nullptr);
        if (row.batch == Batch::ThreeToFive)
        {
            limit = Velkor::RandomInt(3, 5);
        }
    }
}

void SpawnAt(Velkor::Level& level, const Velkor::GameObject& prototype, const char* name,
             const Math::Vector2D& at, std::int32_t count)
{
    Velkor::Layer* layer = level.GetLayer(1);
    if (layer == nullptr)
    {
        return;
    }
    for (std::int32_t i = 0; i < count; ++i)
    {
        Core::RefPtr<Velkor::GameObject> clone = MakeClone(prototype, name);
        clone->SetPositionX(at.x);
        clone->SetPositionY(at.y);
        layer->AddGameObject(clone.Get(), false, nullptr);
    }
}

} // namespace CloneSpawns

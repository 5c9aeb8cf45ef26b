#pragma once

#include "core/Core_RefPtr.h"
#include "framework/Velkor_Game.h"
#include "framework/Velkor_GameObject.h"
#include "framework/Velkor_Layer.h"
#include "framework/Velkor_Level.h"

#include <string>
#include <vector>

// The game's object lookups: objects of dynamic type T carrying a name, in
// the current level's layers in index order and, within a layer, in the
// order of its name index. Every result may be missing; callers check it.

// The first such object, or null (no current level, no match).
template <class T> T* FindObject(const std::string& name)
{
    Velkor::Game* game = Velkor::Game::GetInstance();
    Velkor::Level* level = game != nullptr ? game->GetCurrentLevel() : nullptr;
    if (level == nullptr)
    {
        return nullptr;
    }
    for (std::uint32_t i = 0; i < level->GetLayersCount(); ++i)
    {
        Velkor::Layer* layer = level->GetLayer(i);
        if (layer == nullptr)
        {
            continue;
        }
        const auto entry = layer->GetNameIndex().find(name);
        if (entry == layer->GetNameIndex().end())
        {
            continue;
        }
        for (const Core::RefPtr<Velkor::GameObject>& object : entry->second)
        {
            if (T* typed = dynamic_cast<T*>(object.Get()))
            {
                return typed;
            }
        }
    }
    return nullptr;
}

// Every such object of one layer; `objects` is emptied first.
template <class T>
void FindAllObjectsInLayer(const Velkor::Layer* layer, const std::string& name, std::vector<T*>& objects)
{
    objects.clear();
    if (layer == nullptr)
    {
        return;
    }
    const auto entry = layer->GetNameIndex().find(name);
    if (entry == layer->GetNameIndex().end())
    {
        return;
    }
    for (const Core::RefPtr<Velkor::GameObject>& object : entry->second)
    {
        if (T* typed = dynamic_cast<T*>(object.Get()))
        {
            objects.push_back(typed);
        }
    }
}

// Every such object of the current level, layer after layer; empty without
// a current level.
template <class T> void FindAllObjects(const std::string& name, std::vector<T*>& objects)
{
    objects.clear();
    Velkor::Game* game = Velkor::Game::GetInstance();
    Velkor::Level* level = game != nullptr ? game->GetCurrentLevel() : nullptr;
    if (level == nullptr)
    {
        return;
    }
    std::vector<T*> layerObjects;
    for (std::uint32_t i = 0; i < level->GetLayersCount(); ++i)
    {
        FindAllObjectsInLayer(level->GetLayer(i), name, layerObjects);
        objects.insert(objects.end(), layerObjects.begin(), layerObjects.end());
    }
}

// How many such objects the current level holds.
template <class T> std::size_t CountObjects(const std::string& name)
{
    std::vector<T*> objects;
    FindAllObjects<T>(name, objects);
    return objects.size();
}

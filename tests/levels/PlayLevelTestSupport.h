#pragma once

// The real game in the play level, reached through the level machine as
// START would, driven frame by frame by the harness; helpers that add
// clones of the level's prototypes and count objects by name.
#include "LevelsTestSupport.h"

#include "collision/Collision_CollisionActor.h"
#include "core/Core_Random.h"
#include "framework/Velkor_Layer.h"
#include "framework/Velkor_ZibNetTestAccess.h"
#include "game/Brillow_FindObjects.h"
#include "game/Brillow_GameLevel.h"
#include "game/Brillow_ball.h"
#include "game/Brillow_whiteball.h"

#include <gtest/gtest.h>

namespace BrillowTest
{

class PlayLevelDisplayTest : public LevelsDisplayTest
{
protected:
    static constexpr float Step = 1.0f / 60.0f;

    // From the menu to the first frame of the play level.
    GameLevel& EnterPlay(const std::vector<Harness::InputEvent>& input = {})
    {
        MyLevelFactory::SetFixedSeed(1234);
        Start(input);
        Frame(3);
        game->startRequested = 1;
        for (int i = 0; i < 200 && Level() == nullptr; ++i)
        {
            Frame();
        }
        EXPECT_NE(Level(), nullptr);
        return *Level();
    }

    // The play level started afresh, in its play phase at `stage` with the
    // counter clear of every rule for a while, and no ball on the field.
    GameLevel& FreshPlay(std::int32_t stage)
    {
        game->RestartLevel();
        Frame();
        GameLevel& level = *Level();
        DestroyAll<ball>("bgc");
        DestroyAll<whiteball>("wb");
        level.introActive = 0;
        level.spawnCounter = 1;
        game->stage = stage;
        return level;
    }

    GameLevel* Level() const { return dynamic_cast<GameLevel*>(game->GetCurrentLevel()); }

    template <class T> std::vector<T*> All(const char* name) const
    {
        std::vector<T*> objects;
        FindAllObjects<T>(name, objects);
        return objects;
    }

    template <class T> std::size_t Count(const char* name) const { return All<T>(name).size(); }

    // `count` copies of the prototype `prototype` named `name`, added to
    // "layer1" at (x, y).
    template <class T>
    std::vector<T*> AddClones(const char* prototype, const char* name, std::size_t count, float x = 0.0f,
                              float y = 0.0f)
    {
        std::vector<T*> made;
        T* source = FindObject<T>(prototype);
        EXPECT_NE(source, nullptr) << prototype;
        for (std::size_t i = 0; source != nullptr && i < count; ++i)
        {
            Core::RefPtr<T> clone(static_cast<T*>(source->Clone()));
            clone->SetName(name);
            clone->SetPosition(Math::Vector2D(x, y));
            game->GetCurrentLevel()->GetLayer(1)->AddGameObject(clone.Get(), false, nullptr);
            made.push_back(clone.Get());
        }
        return made;
    }

    // The frames of all the sprite's animations, and of all the animations
    // of collision actor `actor`: equal, the actor follows every frame.
    static std::uint32_t SpriteFrames(const Velkor::Sprite& sprite)
    {
        std::uint32_t frames = 0;
        for (const std::uint32_t count : sprite.GetAnimationFrameCounts())
        {
            frames += count;
        }
        return frames;
    }
    std::uint32_t ActorFrames(std::int32_t actor) const
    {
        const Collision2D::CollisionActor& assets =
            *game->GetCollisionAssets().at(static_cast<std::size_t>(actor));
        std::uint32_t frames = 0;
        for (std::uint32_t i = 0; i < assets.GetAnimationCount(); ++i)
        {
            frames += assets.GetAnimation(i)->GetFrameCount();
        }
        return frames;
    }

    // The game as a network client would run it, switched to level `level`.
    void StartAsNetworkClient(std::uint32_t level)
    {
        Start();
        // The level machine's first update asks for the main menu.
        Frame(3);
        Velkor::ZibNetTestAccess::Pretend(*game->GetNetworkEngine(),
                                          Velkor::ZibNetTestAccess::Session::Client);
        game->ChangeLevel(level);
        Frame();
    }

    void EndNetworkClient()
    {
        Velkor::ZibNetTestAccess::Pretend(*game->GetNetworkEngine(), Velkor::ZibNetTestAccess::Session::None);
    }

    // No object of the current level has a collision object or a body.
    void ExpectNoCollisionObjectsOrBodies() const
    {
        Velkor::Level* level = game->GetCurrentLevel();
        for (std::uint32_t layer = 0; level != nullptr && layer < level->GetLayersCount(); ++layer)
        {
            Velkor::Layer::ObjectList objects;
            level->GetLayer(layer)->GetGameObjects(objects);
            for (const Core::RefPtr<Velkor::GameObject>& object : objects)
            {
                EXPECT_EQ(object->GetDynamicCollisionObject(), nullptr) << object->GetName();
                EXPECT_EQ(object->GetPhysicsId(), 0u) << object->GetName();
            }
        }
    }

    template <class T> void DestroyAll(const char* name)
    {
        for (T* object : All<T>(name))
        {
            object->Destroy();
        }
    }
};

} // namespace BrillowTest

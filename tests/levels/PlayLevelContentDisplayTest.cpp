// Level 1's content as built: the objects of each layer, their bodies and
// collision objects, the two pause cursors on one actor, depths, sounds,
// and the frames of every sprite against its actor; a network client's
// build runs without collision objects or bodies.
#include "PlayLevelTestSupport.h"

#include "collision/Collision_CollisionActor.h"
#include "collision/Collision_DynamicObject.h"
#include "framework/Velkor_Sound.h"
#include "framework/Velkor_ZibNetTestAccess.h"
#include "game/Brillow_ball.h"

#include <map>
#include <set>

namespace
{

using namespace BrillowTest;

class PlayLevelContentDisplayTest : public PlayLevelDisplayTest
{
protected:
    // The built objects of `layer` by name (the play level's clones left out).
    std::map<std::string, Velkor::GameObject*> Built(std::uint32_t layer) const
    {
        static const std::set<std::string> clones = {"bgc", "wb", "ss", "bup", "bhpu", "lz", "lz1", "blz"};
        Velkor::Layer::ObjectList objects;
        Level()->GetLayer(layer)->GetGameObjects(objects);
        std::map<std::string, Velkor::GameObject*> named;
        for (const Core::RefPtr<Velkor::GameObject>& object : objects)
        {
            if (clones.count(object->GetName()) == 0)
            {
                EXPECT_TRUE(named.emplace(object->GetName(), object.Get()).second) << object->GetName();
            }
        }
        return named;
    }
};

TEST_F(PlayLevelContentDisplayTest, TheLayersHoldTheirObjectsWithTheirValues)
{
    EnterPlay();
    const auto hud = Built(0);
    const auto field = Built(1);
    EXPECT_EQ(hud.size(), 11u);
    EXPECT_EQ(field.size(), 29u);
    EXPECT_EQ(Built(2).size(), 1u);

    std::set<std::string> withBodies;
    for (const auto* layer : {&hud, &field})
    {
        for (const auto& [name, object] : *layer)
        {
            if (object->GetPhysicsId() != 0)
            {
                withBodies.insert(name);
            }
        }
    }
    EXPECT_EQ(withBodies, (std::set<std::string>{"ball", "whiteball", "spikeball", "sprite0", "playerball",
                                                 "WhiteLazer"}));

    const struct
    {
        const Velkor::GameObject* object;
        std::uint8_t type;
        std::uint8_t z;
        std::set<std::uint8_t> with;
    } cursors[] = {{hud.at("PauseMouse"), 0, 0, {0}}, {field.at("PausedMouse2"), 1, 3, {0, 3}}};
    for (const auto& cursor : cursors)
    {
        SCOPED_TRACE(cursor.object->GetName());
        EXPECT_EQ(dynamic_cast<const Velkor::Sprite*>(cursor.object)->GetCollisionActorIndex(), 9);
        const Collision2D::DynamicObject* collision = cursor.object->GetDynamicCollisionObject();
        ASSERT_NE(collision, nullptr);
        EXPECT_EQ(collision->GetCollisionType(), cursor.type);
        EXPECT_EQ(collision->GetZ_Collision(), cursor.z);
        for (std::uint8_t z = 0; z < 5; ++z)
        {
            EXPECT_EQ(collision->GetCanCollid(z), cursor.with.count(z) == 1) << int(z);
        }
    }
    for (const auto& [name, actor] : {std::pair<const char*, int>{"background", 16}, {"ui", 28}})
    {
        const auto* sprite = dynamic_cast<const Velkor::Sprite*>(field.at(name));
        EXPECT_EQ(sprite->GetCollisionActorIndex(), actor);
        EXPECT_EQ(sprite->GetDynamicCollisionObject(), nullptr);
    }
    for (const auto& [name, depth] : std::map<std::string, float>{
             {"PauseScreen", 10.0f}, {"BorderColour", 1.0f}, {"ui", 0.1f}, {"background", -0.5f}})
    {
        EXPECT_FLOAT_EQ(field.at(name)->GetZOrder(), depth) << name;
    }

    std::set<std::string> looping;
    std::size_t sounds = 0;
    for (const auto& [name, object] : field)
    {
        if (auto* sound = dynamic_cast<Velkor::Sound*>(object))
        {
            ++sounds;
            EXPECT_FLOAT_EQ(sound->GetVolume(), name == "bonuslevels" ? 0.46f : 1.0f) << name;
            if (sound->GetLooping() != 0)
            {
                looping.insert(name);
            }
        }
    }
    EXPECT_EQ(sounds, 13u);
    EXPECT_EQ(looping, (std::set<std::string>{"lazerstay", "lazerstay1", "blackholesound", "bonuslevels"}));
}

// Every sprite with a collision actor has as many frames as the actor, so
// the actor follows each frame it shows.
TEST_F(PlayLevelContentDisplayTest, EverySpriteHasTheFramesOfItsActor)
{
    EnterPlay();
    std::set<std::int32_t> actors;
    for (std::uint32_t layer = 0; layer < 2; ++layer)
    {
        for (const auto& [name, object] : Built(layer))
        {
            const auto* sprite = dynamic_cast<const Velkor::Sprite*>(object);
            if (sprite == nullptr || sprite->GetCollisionActorIndex() < 0)
            {
                continue;
            }
            EXPECT_EQ(SpriteFrames(*sprite), ActorFrames(sprite->GetCollisionActorIndex())) << name;
            actors.insert(sprite->GetCollisionActorIndex());
        }
    }
    for (const std::int32_t actor : {18, 19, 21, 23, 24, 25, 26, 27, 29})
    {
        EXPECT_EQ(actors.count(actor), 1u) << actor;
    }
}

// A network client builds the level without collision objects or bodies:
// nothing is eaten or bounces, and the play runs on.
TEST_F(PlayLevelContentDisplayTest, ANetworkClientPlaysWithoutCollisionObjectsOrBodies)
{
    StartAsNetworkClient(1);
    ASSERT_NE(Level(), nullptr);
    Frame(600);
    ASSERT_NE(Level(), nullptr);
    ExpectNoCollisionObjectsOrBodies();
    EXPECT_EQ(Level()->introActive, 0);
    EXPECT_GT(Count<ball>("bgc"), 5u);
    EndNetworkClient();
}

} // namespace

#include "WorldTestSupport.h"

#include "core/Core_Random.h"

#include <set>

namespace
{

using WorldTest::Probe;

// A level built the way the level content builds every level: three layers
// with collision bounds, the camera first in the deepest layer, one viewport,
// and objects that take their collision object and body before they are
// added.
class WorldRunDisplayTest : public WorldTest::WorldDisplayTest
{
protected:
    void BuildLevel(Velkor::Level& level)
    {
        level.SetName("run");
        level.SetClearBackBuffer(true);
        const struct
        {
            const char* name;
            float z;
        } layers[] = {{"L_HUD", 0.0f}, {"layer1", 0.0f}, {"layer2", 927.058f}};
        for (const auto& l : layers)
        {
            Core::RefPtr<Velkor::Layer> layer(new Velkor::Layer(l.z));
            layer->SetName(l.name);
            layer->SetCollisionProperties(Math::Vector2D(-512.0f, -384.0f), 1024, 768, 100);
            level.AddLayer(layer.Get());
        }
        Velkor::Layer& deep = *level.GetLayerByName("layer2");
        Core::RefPtr<Velkor::Camera> camera(new Velkor::Camera(45.0f));
        camera->SetName("camera0");
        camera->SetPosition(0.0f, 0.0f);
        deep.AddGameObject(camera.Get());
        Core::RefPtr<Velkor::Viewport> viewport(new Velkor::Viewport(0, 0, 1024, 768));
        viewport->SetCamera(camera.Get());
        level.AddViewport(viewport.Get());

        Velkor::Layer& play = *level.GetLayerByName("layer1");
        for (int i = 0; i < 20; ++i)
        {
            Core::RefPtr<Probe> object(new Probe("ball"));
            object->SetPosition(static_cast<float>(i * 40 - 400), static_cast<float>((i % 5) * 60 - 150));
            object->SetRotationAngle(static_cast<float>(i * 18));
            AddDynamic(*object, play);
            AddBody(*object);
            object->SetVelocity(Math::Vector2D(static_cast<float>(i % 3) - 1.0f, 1.0f));
            play.AddGameObject(object.Get());
        }
    }

    static Math::Matrix4 Pose(const Velkor::GameObject& object)
    {
        const Math::Vector2D& p = object.GetPosition();
        const Math::Vector2D& c = object.GetCenter();
        return Math::Matrix4::Translation(p.x - c.x, p.y - c.y, object.GetZOrder()) *
               Math::Matrix4::Translation(c.x, c.y, 0.0f) *
               Math::Matrix4::RotationZ(object.GetRotationAngle()) *
               Math::Matrix4::Translation(-c.x, -c.y, 0.0f) *
               Math::Matrix4::Scale(object.GetScaleX(), object.GetScaleY(), 1.0f);
    }
};

struct Gone
{
    Core::RefPtr<Velkor::GameObject> object;
    Collision2D::CollisionId collisionId;
    std::uint32_t physicsId;
};

TEST_F(WorldRunDisplayTest, SixHundredFramesOfSpawningAndDestroyingKeepTheWorldConsistent)
{
    factory->onStart = [this](GameTest::TestLevel& level)
    {
        if (level.GetIndex() == 1)
        {
            BuildLevel(level);
        }
    };
    game->ChangeLevel(1);
    Tick();
    ASSERT_EQ(Level().GetLayersCount(), 3u);
    Velkor::Layer& play = *Level().GetLayerByName("layer1");
    Core::SeedRandom(27);

    int frame = 0;
    std::vector<Gone> destroyed;
    game->onUpdate = [&](float)
    {
        ++frame;
        Velkor::Layer::ObjectList balls;
        play.GetGameObjectsByName("ball", balls);
        if (balls.empty())
        {
            return;
        }
        Velkor::GameObject& pick = *balls[static_cast<std::size_t>(Core::Random()) % balls.size()];
        if (frame % 3 == 0)
        {
            Core::RefPtr<Velkor::GameObject> copy(static_cast<Velkor::GameObject*>(pick.Clone()));
            copy->SetPosition(pick.GetPositionX() + 5.0f, pick.GetPositionY());
            play.AddGameObject(copy.Get());
        }
        if (frame % 4 == 0)
        {
            destroyed.push_back({&pick, pick.GetCollisionId(), pick.GetPhysicsId()});
            pick.Destroy();
        }
    };

    std::size_t checked = 0;
    for (int i = 0; i < 600; ++i)
    {
        Tick();
        // Destroyed in the game's hook, gone at the walk right after it.
        for (std::size_t d = checked; d < destroyed.size(); ++d)
        {
            const Gone& gone = destroyed[d];
            Collision2D::DynamicObject* slot = Collision().GetDynamicObject(gone.collisionId);
            EXPECT_TRUE(slot == nullptr ||
                        slot->GetOwner() != reinterpret_cast<Collision2D::OwnerWord>(gone.object.Get()));
            Core::RefPtr<Physics2D::RigidBody> body = Physics().GetRigidBody(gone.physicsId);
            EXPECT_TRUE(!body || body->GetData() != gone.object.Get());
            EXPECT_EQ(gone.object->GetPhysicsId(), 0u);
            EXPECT_TRUE(gone.object->IsDetached());
        }
        checked = destroyed.size();

        std::vector<Core::RefPtr<Velkor::GameObject>> live;
        Level().GetGameObjects(live);
        std::set<std::uint32_t> ids;
        for (const Core::RefPtr<Velkor::GameObject>& object : live)
        {
            ids.insert(object->GetID());
            if (object->IsDestroyed())
            {
                continue;
            }
            const Math::Matrix4 expected = Pose(*object);
            const Math::Matrix4& node = object->GetNode()->GetTransformation();
            for (int e = 0; e < 16; ++e)
            {
                ASSERT_EQ(node.m[e], expected.m[e]) << "frame " << i << ", object " << object->GetID();
            }
        }
        ASSERT_EQ(ids.size(), live.size()) << "ids are unique";
    }
    EXPECT_GT(destroyed.size(), 100u);
    EXPECT_EQ(frame, 600);
}

} // namespace

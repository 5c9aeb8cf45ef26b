#include "WorldTestSupport.h"
#include "framework/Velkor_ZibNetTestAccess.h"

#include "collision/Collision_CollisionLayer.h"
#include "framework/Velkor_Network.h"

namespace
{

using GameTest::Log;
using WorldTest::Probe;
using WorldTest::WorldDisplayTest;

using Strings = std::vector<std::string>;

class LayerDisplayTest : public WorldDisplayTest
{
protected:
    static Core::RefPtr<Probe> Make(const std::string& name) { return Core::RefPtr<Probe>(new Probe(name)); }
};

// When additions and removals take effect, one frame (or walk) at a time.
TEST_F(LayerDisplayTest, AdditionsAndRemovalsTakeEffectAtTheWalks)
{
    Velkor::Layer& first = AddLayer(0.0f, "first");
    Velkor::Layer& second = AddLayer(0.0f, "second");
    std::vector<Core::RefPtr<Probe>> keep;

    // Added in the game's update hook: started in that frame's level update,
    // updated right after.
    game->onUpdate = [&](float)
    {
        keep.push_back(Make("hooked"));
        first.AddGameObject(keep.back().Get());
        game->onUpdate = nullptr;
    };
    Tick();
    EXPECT_EQ(Log(), (Strings{"Game.Update", "L0.Update", "hooked.OnStart", "hooked.Update", "hooked.Push",
                              "hooked.Extra1", "Game.OnPostCollision"}));
    keep.back()->Destroy();
    Tick();
    Log().clear();

    // What OnStart queues starts, and what OnEnd or Detach queues ends, in
    // the same walk.
    Core::RefPtr<Probe> starter = Make("starter");
    Core::RefPtr<Probe> started = Make("started");
    Core::RefPtr<Probe> ender = Make("ender");
    Core::RefPtr<Probe> ended = Make("ended");
    starter->onStart = [&](Probe&) { first.AddGameObject(started.Get()); };
    ender->onEnd = [&](Probe&) { ended->Destroy(); };
    first.AddGameObject(ender.Get());
    first.AddGameObject(ended.Get());
    first.FrameUpdate(0.1f);
    first.AddGameObject(starter.Get());
    ender->Destroy();
    Log().clear();
    first.FrameUpdate(0.1f);
    EXPECT_EQ(Log(),
              (Strings{"starter.OnStart", "started.OnStart", "ender.OnEnd", "ender.Detach", "ended.OnEnd",
                       "ended.Detach", "starter.Update", "starter.Push", "started.Update", "started.Push"}));

    // Added during the object walk: started in the same frame by a layer
    // walked later, in the next frame by one walked earlier (or itself).
    const struct
    {
        const char* name;
        Velkor::Layer* from;
        Velkor::Layer* to;
        bool sameFrame;
    } cases[] = {{"to a later layer", &first, &second, true},
                 {"to an earlier layer", &second, &first, false},
                 {"to its own layer", &first, &first, false}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        Core::RefPtr<Probe> spawner = Make("spawner");
        Core::RefPtr<Probe> spawned = Make("spawned");
        c.from->AddGameObject(spawner.Get());
        Tick();
        spawner->onUpdate = [&](Probe& self)
        {
            c.to->AddGameObject(spawned.Get());
            self.onUpdate = nullptr;
        };
        Log().clear();
        Tick();
        const bool startedNow = std::count(Log().begin(), Log().end(), "spawned.OnStart") == 1;
        EXPECT_EQ(startedNow, c.sameFrame);
        Tick();
        EXPECT_EQ(std::count(Log().begin(), Log().end(), "spawned.OnStart"), 1);
        spawner->Destroy();
        spawned->Destroy();
        Tick();
    }
}

TEST_F(LayerDisplayTest, TheNameIndexFollowsAdditionsRenamesAndRemovals)
{
    Velkor::Layer& layer = AddLayer();
    Core::RefPtr<Probe> a = Make("ball");
    Core::RefPtr<Probe> b = Make("ball");
    Core::RefPtr<Probe> c = Make("wall");
    for (Probe* object : {a.Get(), b.Get(), c.Get()})
    {
        layer.AddGameObject(object);
    }
    Velkor::Layer::ObjectList found;
    layer.GetGameObjectsByName("ball", found);
    EXPECT_EQ(found, (Velkor::Layer::ObjectList{a, b})) << "found by name before the walk";
    layer.GetGameObjects(found);
    EXPECT_TRUE(found.empty()) << "in the id map only after it";

    a->SetName("wall");
    layer.GetGameObjectsByName("wall", found);
    EXPECT_EQ(found, (Velkor::Layer::ObjectList{c, a})) << "to the end of the new name's list";
    ASSERT_EQ(layer.GetNameIndex().count("ball"), 1u);
    b->Destroy();
    layer.GetGameObjectsByName("ball", found);
    EXPECT_TRUE(found.empty());
    EXPECT_EQ(layer.GetNameIndex().count("ball"), 1u) << "the old entry stays";

    // Refused: null, an object of another layer, a destroyed one.
    Velkor::Layer& other = AddLayer();
    EXPECT_FALSE(other.AddGameObject(nullptr));
    EXPECT_FALSE(other.AddGameObject(c.Get()));
    EXPECT_FALSE(other.RemoveGameObject(c.Get()));
    EXPECT_FALSE(other.RemoveGameObject(nullptr));
    layer.FrameUpdate(0.1f);
    EXPECT_FALSE(other.AddGameObject(b.Get()));
    EXPECT_TRUE(other.GetNameIndex().empty());
}

class Marker : public Probe
{
public:
    using Probe::Probe;
};

TEST_F(LayerDisplayTest, FindObjectAnswersInLayerThenInsertionOrder)
{
    Velkor::Layer& first = AddLayer();
    Velkor::Layer& second = AddLayer();
    Core::RefPtr<Probe> plain = Make("x");
    Core::RefPtr<Marker> laterLayer(new Marker("x"));
    Core::RefPtr<Marker> firstMarker(new Marker("x"));
    Core::RefPtr<Marker> secondMarker(new Marker("x"));
    second.AddGameObject(laterLayer.Get());
    first.AddGameObject(plain.Get());
    first.AddGameObject(firstMarker.Get());
    first.AddGameObject(secondMarker.Get());

    EXPECT_EQ(Velkor::FindObject<Probe>("x"), plain.Get());
    EXPECT_EQ(Velkor::FindObject<Marker>("x"), firstMarker.Get());
    EXPECT_EQ(Velkor::FindObject<Marker>("y"), nullptr);
    std::vector<Core::RefPtr<Marker>> markers;
    first.FindAllObjects("x", markers);
    EXPECT_EQ(markers, (std::vector<Core::RefPtr<Marker>>{firstMarker, secondMarker}));
}

TEST_F(LayerDisplayTest, ExtraUpdatesSkipNetworkedObjectsOnAClientOnly)
{
    Velkor::Layer& layer = AddLayer();
    Core::RefPtr<Probe> local = Make("local");
    Core::RefPtr<Probe> networked = Make("networked");
    networked->SetNetworkID(new Velkor::NetObjectID(1, 1));
    layer.AddGameObject(local.Get());
    layer.AddGameObject(networked.Get());
    layer.FrameUpdate(0.1f);

    using Session = Velkor::ZibNetTestAccess::Session;
    const struct
    {
        Session session;
        Strings expected;
    } cases[] = {{Session::None, {"local.Extra1", "networked.Extra1"}},
                 {Session::Host, {"local.Extra1", "networked.Extra1"}},
                 {Session::Client, {"local.Extra1"}}};
    for (const auto& c : cases)
    {
        Velkor::ZibNetTestAccess::Pretend(*game->GetNetworkEngine(), c.session);
        Log().clear();
        layer.RunExtraUpdate1(0.1f);
        EXPECT_EQ(Log(), c.expected);
    }
}

TEST_F(LayerDisplayTest, CollisionPropertiesSetTheGridAndAreKeptAsGiven)
{
    const struct
    {
        std::int32_t cellSize;
        std::int32_t columns;
        std::int32_t rows;
        float worldCell;
    } cases[] = {{100, 11, 8, 100.0f}, {20, 21, 16, 50.0f}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.cellSize);
        Velkor::Layer& layer = AddLayer();
        layer.SetCollisionProperties(Math::Vector2D(-512.0f, -384.0f), 1024, 768, c.cellSize);
        const Collision2D::UniformGrid& grid =
            Collision().GetLayer(layer.GetCollisionLayerIndex())->GetGrid();
        EXPECT_EQ(grid.GetColumns(), c.columns);
        EXPECT_EQ(grid.GetRows(), c.rows);
        EXPECT_EQ(grid.GetCellSize(), c.worldCell);
        EXPECT_EQ(layer.GetPartitionCellSize(), c.cellSize);
    }
}

TEST_F(LayerDisplayTest, AnObjectEntersWithoutMotionFoundByItsWholeId)
{
    // Two layers: the object's collision object lives in the second one's
    // collision layer although it is added to the first layer.
    Velkor::Layer& first = AddLayer();
    Velkor::Layer& second = AddLayer();
    Core::RefPtr<Probe> bystander = Make("bystander");
    ASSERT_TRUE(AddDynamic(*bystander, first));
    Core::RefPtr<Probe> object = Make("object");
    ASSERT_TRUE(AddDynamic(*object, second));
    bystander->SetPosition(5.0f, 5.0f);
    object->SetPosition(40.0f, 0.0f);
    Collision2D::DynamicObject* own = Collision().GetDynamicObject(object->GetCollisionId());
    Collision2D::DynamicObject* other = Collision().GetDynamicObject(bystander->GetCollisionId());
    const Math::Vector2D bystanderOld = other->GetOldPosition();

    first.AddGameObject(object.Get());
    EXPECT_EQ(own->GetOldPosition().x, 40.0f) << "its own old pose is reset";
    EXPECT_EQ(other->GetOldPosition().x, bystanderOld.x) << "the same slot of another layer is not touched";
}

} // namespace

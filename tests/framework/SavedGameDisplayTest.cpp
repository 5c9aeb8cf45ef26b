#include "WorldTestSupport.h"

#include "core/Core_MemoryFile.h"
#include "core/Core_Random.h"
#include "framework/Velkor_Camera.h"
#include "framework/Velkor_Circle.h"
#include "framework/Velkor_Line.h"
#include "framework/Velkor_ObjectCounter.h"
#include "framework/Velkor_Text.h"
#include "framework/Velkor_Viewport.h"
#include "physics/Physics_RigidBody.h"

#include <set>

#ifndef VELKOR_SAVE_DAMAGE_STRIDE
#define VELKOR_SAVE_DAMAGE_STRIDE 1
#endif
#ifndef VELKOR_SAVE_FLIPPED_COPIES
#define VELKOR_SAVE_FLIPPED_COPIES 1000
#endif

namespace
{

std::vector<std::uint8_t> Bytes(const Core::MemoryFile& file)
{
    return std::vector<std::uint8_t>(file.GetData(), file.GetData() + file.GetSize());
}

class SavedGameDisplayTest : public WorldTest::WorldDisplayTest
{
protected:
    // Three layers, the listener camera, two viewports, shapes and texts,
    // objects with collision objects and bodies, one mounted on another,
    // and one object waiting in each layer's queue.
    void BuildLevel(Velkor::Level& level)
    {
        level.SetName("saved");
        level.SetClearColor(0.1f, 0.2f, 0.3f, 1.0f);
        const char* names[] = {"back", "play", "front"};
        for (int i = 0; i < 3; ++i)
        {
            Core::RefPtr<Velkor::Layer> layer(new Velkor::Layer(static_cast<float>(i) * 10.0f));
            layer->SetName(names[i]);
            layer->SetCollisionProperties(Math::Vector2D(-512.0f, -384.0f), 1024, 768, 100);
            level.AddLayer(layer.Get());
        }
        Velkor::Layer& back = *level.GetLayer(0);
        Velkor::Layer& play = *level.GetLayer(1);
        Velkor::Layer& front = *level.GetLayer(2);
        Core::RefPtr<Velkor::Camera> camera(new Velkor::Camera(50.0f));
        camera->SetName("camera");
        back.AddGameObject(camera.Get());
        camera->MakeActiveListener();
        for (int i = 0; i < 2; ++i)
        {
            Core::RefPtr<Velkor::Viewport> viewport(new Velkor::Viewport(i * 512, 0, 512, 768));
            viewport->SetName(i == 0 ? "left" : "right");
            viewport->SetCamera(camera.Get());
            level.AddViewport(viewport.Get());
        }
        for (int i = 0; i < 6; ++i)
        {
            Core::RefPtr<Velkor::GameObject> ball(new Velkor::GameObject());
            ball->SetName("ball");
            ball->SetPosition(static_cast<float>(i * 60 - 200), static_cast<float>(i % 3) * 40.0f);
            AddDynamic(*ball, play);
            AddBody(*ball);
            ball->SetVelocity(Math::Vector2D(static_cast<float>(i) - 2.0f, 3.0f));
            play.AddGameObject(ball.Get());
        }
        Core::RefPtr<Velkor::Circle> circle(new Velkor::Circle(12.0f));
        circle->SetName("ring");
        front.AddGameObject(circle.Get());
        Core::RefPtr<Velkor::Line> line(new Velkor::Line(Math::Vector2D(1, 2), Math::Vector2D(3, 4)));
        line->SetName("edge");
        line->SetModulationColor(1.0f, 0.5f, 0.25f, 0.75f);
        front.AddGameObject(line.Get());
        circle->Mount(line.Get());
        Core::RefPtr<Velkor::Text> text(new Velkor::Text("score 100", ""));
        text->SetName("score");
        text->SetHUDObject(true);
        front.AddGameObject(text.Get());
    }

    void StartSavedLevel()
    {
        factory->onStart = [this](GameTest::TestLevel& level)
        {
            if (level.GetIndex() == 1)
            {
                BuildLevel(level);
            }
        };
        game->ChangeLevel(1);
        for (int i = 0; i < 5; ++i)
        {
            Tick();
        }
        // One object waits in each queue, one of them with a body.
        Core::RefPtr<Velkor::GameObject> waiting(new Velkor::GameObject());
        waiting->SetName("waiting");
        AddBody(*waiting);
        Level().GetLayer(1)->AddGameObject(waiting.Get());
        Velkor::Layer::ObjectList balls;
        Level().GetLayer(1)->GetGameObjectsByName("ball", balls);
        balls.front()->Destroy();
        Core::SeedRandom(77);
        Core::Random();
    }

    std::vector<std::uint8_t> SaveNow()
    {
        Core::MemoryFile file;
        game->SaveGame(file);
        return Bytes(file);
    }
};

TEST_F(SavedGameDisplayTest, SaveLoadSaveGivesTheSameBytesAndBindsEveryBody)
{
    StartSavedLevel();
    const std::uint32_t counter = Velkor::GetObjectCounter();
    const std::uint32_t randomState = Core::GetRandomState();
    const std::vector<std::uint8_t> first = SaveNow();

    Core::SeedRandom(1);
    std::string error;
    ASSERT_TRUE(game->LoadGame(first, error)) << error;
    EXPECT_EQ(SaveNow(), first);
    EXPECT_EQ(Velkor::GetObjectCounter(), counter);
    EXPECT_EQ(Core::GetRandomState(), randomState);

    // Every body belongs to the object whose physics id is its slot, the
    // queued object's included.
    std::set<const Velkor::GameObject*> bound;
    for (const Core::RefPtr<Velkor::Layer>& layer : Level().GetLayers())
    {
        layer->ForEachHeldObject(
            [&](Velkor::GameObject& object)
            {
                if (object.GetPhysicsId() != 0)
                {
                    Core::RefPtr<Physics2D::RigidBody> body = Physics().GetRigidBody(object.GetPhysicsId());
                    ASSERT_TRUE(body);
                    EXPECT_EQ(body->GetData(), &object);
                    bound.insert(&object);
                }
                if (object.HasCollision())
                {
                    EXPECT_EQ(Collision().GetCollisionObject(object.GetCollisionId())->GetOwner(),
                              reinterpret_cast<Collision2D::OwnerWord>(&object));
                }
            });
    }
    EXPECT_EQ(bound.size(), 7u);
    Velkor::Camera* camera = Velkor::FindObject<Velkor::Camera>("camera");
    ASSERT_NE(camera, nullptr);
    EXPECT_TRUE(camera->IsActiveListener());
    EXPECT_EQ(Level().GetViewport(1)->GetCamera(), camera);
    Velkor::Circle* ring = Velkor::FindObject<Velkor::Circle>("ring");
    ASSERT_NE(ring, nullptr);
    ASSERT_EQ(ring->GetMountedChildren().size(), 1u);
    EXPECT_EQ(ring->GetMountedChildren()[0]->GetName(), "edge");
}

TEST_F(SavedGameDisplayTest, DamagedSavesLeaveTheRunningGameAsItWas)
{
    StartSavedLevel();
    const std::vector<std::uint8_t> good = SaveNow();
    std::string error;
    std::size_t refused = 0;
    for (std::size_t length = 0; length < good.size(); length += VELKOR_SAVE_DAMAGE_STRIDE)
    {
        const std::vector<std::uint8_t> prefix(good.begin(),
                                               good.begin() + static_cast<std::ptrdiff_t>(length));
        ASSERT_FALSE(game->LoadGame(prefix, error)) << length;
        EXPECT_FALSE(error.empty());
        ASSERT_EQ(SaveNow(), good) << "prefix of " << length;
        ++refused;
    }
    EXPECT_GT(refused, 0u);
    std::uint32_t seed = 12345;
    for (int copy = 0; copy < VELKOR_SAVE_FLIPPED_COPIES; ++copy)
    {
        seed = seed * 1103515245u + 12345u;
        std::vector<std::uint8_t> damaged = good;
        damaged[(seed >> 8) % damaged.size()] ^= static_cast<std::uint8_t>(1u << ((seed >> 4) % 8));
        if (!game->LoadGame(damaged, error))
        {
            ASSERT_EQ(SaveNow(), good) << "flipped copy " << copy;
        }
        else
        {
            // A flip the format cannot tell (a coordinate, a colour) loads:
            // the good save brings the game back for the next copy.
            ASSERT_TRUE(game->LoadGame(good, error)) << error;
        }
    }
}

} // namespace

namespace
{

// A game with a record of its own: one number, refused above 1000. The read
// stores the number before it checks it, so a refused record leaves it
// changed unless the running game is brought back whole.
class RecordGame : public GameTest::TestGame
{
public:
    using GameTest::TestGame::TestGame;

    void SaveGameState(Core::File& file) const override { file << value; }
    bool LoadGameState(Core::File& file) override
    {
        ++reads;
        file >> value;
        return !file.Failed() && value <= 1000;
    }

    std::uint32_t value = 0;
    int reads = 0;
};

class GameRecordDisplayTest : public GameTest::GameDisplayTest
{
protected:
    RecordGame& MakeRecordGame()
    {
        auto* made = new RecordGame(factory, 0);
        game = made;
        Tick(3);
        return *made;
    }

    std::vector<std::uint8_t> SaveNow()
    {
        Core::MemoryFile file;
        game->SaveGame(file);
        return Bytes(file);
    }
};

TEST_F(GameRecordDisplayTest, TheGamesOwnRecordEndsTheSaveAndComesBackWithIt)
{
    RecordGame& record = MakeRecordGame();
    record.value = 0x02BCu;
    const std::vector<std::uint8_t> saved = SaveNow();
    ASSERT_GE(saved.size(), 4u);
    EXPECT_EQ(std::vector<std::uint8_t>(saved.end() - 4, saved.end()),
              (std::vector<std::uint8_t>{0xBC, 0x02, 0, 0}));

    record.value = 0;
    std::string error;
    ASSERT_TRUE(game->LoadGame(std::vector<std::uint8_t>(saved.begin(), saved.end()), error)) << error;
    EXPECT_EQ(record.value, 0x02BCu);
    EXPECT_EQ(SaveNow(), saved);
}

TEST_F(GameRecordDisplayTest, ARefusedOrCutRecordBringsTheRunningGameBackWhole)
{
    RecordGame& record = MakeRecordGame();
    record.value = 5000;
    const std::vector<std::uint8_t> refused = SaveNow();
    record.value = 9;
    const std::vector<std::uint8_t> cut(refused.begin(), refused.end() - 2);
    const std::vector<std::uint8_t> running = SaveNow();

    for (const std::vector<std::uint8_t>* bytes : {&refused, &cut})
    {
        std::string error;
        const int readsBefore = record.reads;
        ASSERT_FALSE(game->LoadGame(*bytes, error)) << bytes->size();
        EXPECT_FALSE(error.empty());
        // The bad record was read, then the running game's own from memory.
        EXPECT_EQ(record.reads, readsBefore + 2);
        EXPECT_EQ(record.value, 9u);
        EXPECT_EQ(SaveNow(), running);
    }
}

} // namespace

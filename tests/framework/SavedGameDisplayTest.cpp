#include "ParticleTestSupport.h"
#include "SpriteTestSupport.h"
#include "WorldTestSupport.h"

#include "collision/Collision_CollisionResults.h"
#include "collision/Collision_DynamicObject.h"
#include "core/Core_MemoryFile.h"
#include "core/Core_Random.h"
#include "framework/Velkor_Camera.h"
#include "framework/Velkor_Circle.h"
#include "framework/Velkor_Jukebox.h"
#include "framework/Velkor_Line.h"
#include "framework/Velkor_ObjectCounter.h"
#include "framework/Velkor_Sound.h"
#include "framework/Velkor_Sprite.h"
#include "framework/Velkor_StateMachine.h"
#include "framework/Velkor_Text.h"
#include "framework/Velkor_Viewport.h"
#include "pal/PAL_FileSystem.h"
#include "physics/Physics_Force.h"
#include "physics/Physics_JointFixed.h"
#include "physics/Physics_RigidBody.h"

#include <set>

// An object that walks between two states of its own machine: the machine's
// record follows the object's.
class Walker : public Velkor::GameObject
{
    CORE_DECLARE_OBJECT(Walker)

public:
    using Machine = Velkor::StateMachine<Walker>;

    Walker()
    {
        Core::RefPtr<Velkor::State<Walker>> standing(new Velkor::State<Walker>());
        Velkor::StateTransition<Walker> go;
        go.targetIndex = 1;
        go.condition = &Walker::Tired;
        go.holdTime = 0.05f;
        standing->transitions.push_back(go);
        Core::RefPtr<Velkor::State<Walker>> walking(new Velkor::State<Walker>(0.5f));
        machine_ = new Machine({standing, walking}, 0, 0.0f, this);
    }
    Walker(const Walker& other) : Velkor::GameObject(other), machine_(other.machine_->Copy())
    {
        machine_->SetOwner(this);
    }

    void Update(float dt) override
    {
        machine_->Update(dt);
        Velkor::GameObject::Update(dt);
    }
    void Write(Core::File& file) const override
    {
        Velkor::GameObject::Write(file);
        machine_->Write(file);
    }
    void Read(Core::File& file) override
    {
        Velkor::GameObject::Read(file);
        if (!file.Failed())
        {
            machine_->Read(file);
        }
    }
    bool Tired(float) { return true; }
    const Machine& GetMachine() const { return *machine_; }

private:
    Core::RefPtr<Machine> machine_;
};

CORE_DEFINE_OBJECT(Walker, "SavedGameTest::Walker", Velkor::GameObject::ScriptTypeName, "SavedGameTest",
                   __LINE__)

namespace
{

using WorldTest::Bytes;

class SavedGameDisplayTest : public WorldTest::WorldDisplayTest
{
protected:
    void TearDown() override
    {
        if (!background.empty())
        {
            std::error_code ignored;
            std::filesystem::remove(background, ignored);
        }
        WorldTest::WorldDisplayTest::TearDown();
    }

    std::string Resource(const std::string& path) const
    {
        return game->GetDirectory() + "\\Resources\\" + path;
    }

    // A sprite of one four-frame animation over actor 0, with the collision
    // display on and a body.
    Core::RefPtr<Velkor::Sprite> AddSprite(Velkor::Layer& layer, const std::string& name, Math::Vector2D at)
    {
        Velkor::Sprite::AnimationList animations{
            SpriteTest::MakeAnimation(Resource("Animations\\DemoSheet.png"), 2, 2, 4, 0.05f)};
        Core::RefPtr<Velkor::Sprite> sprite(new Velkor::Sprite(animations));
        sprite->SetName(name);
        sprite->SetPosition(at);
        auto* dynamic = new Collision2D::DynamicObject();
        dynamic->AddCollisionData(game->GetCollisionAssets()[0].get(), 0, 0);
        // Rectangles only: the two sprites keep rectangle contacts.
        dynamic->SetCollisionType(0);
        dynamic->SetCanCollid(0, true);
        EXPECT_TRUE(sprite->AddCollision(dynamic, layer.GetCollisionLayerIndex()));
        sprite->SetCollisionActorIndex(0);
        sprite->SetVisibleCollisionData(true);
        sprite->SetVisibleBoundingRectangle(true);
        AddBody(*sprite);
        layer.AddGameObject(sprite.Get());
        return sprite;
    }

    // Three layers, the listener camera, two viewports (one with a
    // background image), shapes and texts, objects with collision objects
    // and bodies (forces, a joint), one mounted on another, a playing and a
    // paused sprite that touch, sounds (one playing), a playing jukebox, a
    // particle system, an object with a state machine, and one object
    // waiting in each layer's queue.
    void BuildLevel(Velkor::Level& level)
    {
        level.SetName("saved");
        level.SetClearColor(0.1f, 0.2f, 0.3f, 1.0f);
        SpriteTest::FrameShapes shapes;
        shapes.rectangle = Collision2D::ZibRect{16.0f, -16.0f, 16.0f, -16.0f};
        shapes.circles.push_back({Math::Vector2D(0.0f, 0.0f), 14.0f});
        game->AddCollisionAssets(SpriteTest::MakeActor({shapes, shapes, shapes, shapes}));
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
        // The background image sits where a loaded viewport looks for it.
        const std::string backgroundName = "saved-background-" + std::to_string(getpid()) + ".png";
        background = PAL::ToNativePath(game->GetDirectory() + "\\Resources\\Viewports Backgrounds\\saved\\" +
                                       backgroundName);
        std::filesystem::create_directories(std::filesystem::path(background).parent_path());
        const std::vector<std::uint8_t> pixels(16 * 16 * 4, 90);
        EXPECT_NE(stbi_write_png(background.c_str(), 16, 16, 4, pixels.data(), 16 * 4), 0);
        for (int i = 0; i < 2; ++i)
        {
            Core::RefPtr<Velkor::Viewport> viewport(new Velkor::Viewport(i * 512, 0, 512, 768));
            viewport->SetName(i == 0 ? "left" : "right");
            viewport->SetCamera(camera.Get());
            if (i == 0)
            {
                viewport->SetBackground(Resource("Viewports Backgrounds\\saved\\" + backgroundName));
            }
            level.AddViewport(viewport.Get());
        }
        std::vector<Core::RefPtr<Velkor::GameObject>> balls;
        for (int i = 0; i < 6; ++i)
        {
            Core::RefPtr<Velkor::GameObject> ball(new Velkor::GameObject());
            ball->SetName("ball");
            ball->SetPosition(static_cast<float>(i * 60 - 200), static_cast<float>(i % 3) * 40.0f);
            AddDynamic(*ball, play);
            AddBody(*ball);
            ball->SetVelocity(Math::Vector2D(static_cast<float>(i) - 2.0f, 3.0f));
            play.AddGameObject(ball.Get());
            balls.push_back(ball);
        }
        balls[3]->AddForce(new Physics2D::GravityForce(Math::Vector2D(0.0f, -1.0f), 50.0f));
        Physics().AddJoint(balls[4]->GetPhysicsId(), balls[5]->GetPhysicsId(), new Physics2D::JointFixed());

        Core::RefPtr<Velkor::Sprite> runner = AddSprite(play, "runner", Math::Vector2D(300.0f, 200.0f));
        runner->SetLoop(true);
        runner->SetFlipHorizontal(true);
        runner->Play(true);
        // Only a moving object looks for contacts.
        runner->SetVelocity(Math::Vector2D(2.0f, 0.0f));
        Core::RefPtr<Velkor::Sprite> sleeper = AddSprite(play, "sleeper", Math::Vector2D(310.0f, 205.0f));
        sleeper->SetFlipVertical(true);
        sleeper->Play(true);
        sleeper->Pause();

        Core::RefPtr<Walker> walker(new Walker());
        walker->SetName("walker");
        play.AddGameObject(walker.Get());

        const std::string sound = Resource("Sounds\\Armour_Fall_LoseArmour1.wav");
        Core::RefPtr<Velkor::Sound> hum(new Velkor::Sound(sound, 0, 10.0f, 1, 0.0f, 0));
        hum->SetName("hum");
        hum->SetVolume(0.5f);
        front.AddGameObject(hum.Get());
        hum->Play(true);
        Core::RefPtr<Velkor::Sound> blip(new Velkor::Sound(sound, 0, 10.0f, 0, 0.0f, 0));
        blip->SetName("blip");
        front.AddGameObject(blip.Get());

        Core::RefPtr<Velkor::JukeBox> music(new Velkor::JukeBox(
            std::vector<std::string>{Resource("JukeBoxes\\InGame\\17 - Nose for Trouble.wav")}));
        music->SetRepeat(true);
        music->PlayMusic(-1);
        level.SetJukeBox(music.Get());

        ParticleTest::FreshRecord record;
        record.count = 40;
        Core::RefPtr<Velkor::DiskEmitter> emitter(new Velkor::DiskEmitter(Math::Vector2D(0.0f, 0.0f), 20.0f));
        record.emitter = emitter.Get();
        Core::RefPtr<Velkor::ParticleSystem> sparks = ParticleTest::LoadFresh(record);
        sparks->SetName("sparks");
        sparks->SetEmissionRate(200.0f, 300.0f);
        sparks->SetParticleLifeTime(0.5f, 1.0f);
        sparks->SetParticleSpeed(10.0f, 40.0f);
        front.AddGameObject(sparks.Get());

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
        // A load starts the music again from the top of its track: the save
        // is taken at a track's start.
        Level().GetJukeBox()->PlayMusic(-1);
        Core::SeedRandom(77);
        Core::Random();
    }

    std::vector<std::uint8_t> SaveNow()
    {
        Core::MemoryFile file;
        game->SaveGame(file);
        return Bytes(file);
    }

    std::string background;
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
    EXPECT_EQ(bound.size(), 9u);
    // The contact bridge is the physics engine's hook again, with the game.
    EXPECT_NE(Physics().GetContactListUpdate(), nullptr);
    EXPECT_EQ(Physics().GetContactListUpdateData(), game.Get());
    EXPECT_EQ(Physics().GetJoints().size(), 1u);
    Velkor::Camera* camera = Velkor::FindObject<Velkor::Camera>("camera");
    ASSERT_NE(camera, nullptr);
    EXPECT_TRUE(camera->IsActiveListener());
    EXPECT_EQ(Level().GetViewport(1)->GetCamera(), camera);
    Velkor::Circle* ring = Velkor::FindObject<Velkor::Circle>("ring");
    ASSERT_NE(ring, nullptr);
    ASSERT_EQ(ring->GetMountedChildren().size(), 1u);
    EXPECT_EQ(ring->GetMountedChildren()[0]->GetName(), "edge");

    // The touching sprites' rectangle contacts name each other again.
    Velkor::Sprite* runner = Velkor::FindObject<Velkor::Sprite>("runner");
    Velkor::Sprite* sleeper = Velkor::FindObject<Velkor::Sprite>("sleeper");
    ASSERT_TRUE(runner != nullptr && sleeper != nullptr);
    const Collision2D::CollisionResults& results = runner->GetDynamicCollisionObject()->GetCollisionResults();
    ASSERT_GT(results.GetRectangleContactCount(), 0);
    EXPECT_EQ(results.GetRectangleContact(0).otherOwner, reinterpret_cast<Collision2D::OwnerWord>(sleeper));
    EXPECT_TRUE(runner->IsPlaying());
    EXPECT_TRUE(sleeper->IsPaused());
    EXPECT_TRUE(runner->GetFlipHorizontal());
    EXPECT_TRUE(sleeper->GetFlipVertical());
    EXPECT_FALSE(runner->GetCollisionCircles().empty());
    ASSERT_NE(runner->GetDynamicCollisionObject()->GetCollisionActor(), nullptr);

    Velkor::Sound* hum = Velkor::FindObject<Velkor::Sound>("hum");
    Velkor::Sound* blip = Velkor::FindObject<Velkor::Sound>("blip");
    ASSERT_TRUE(hum != nullptr && blip != nullptr);
    EXPECT_TRUE(hum->IsPlaying());
    EXPECT_FALSE(blip->IsPlaying());
    ASSERT_NE(Level().GetJukeBox(), nullptr);
    EXPECT_TRUE(Level().GetJukeBox()->IsMusicPlaying());
    Velkor::ParticleSystem* sparks = Velkor::FindObject<Velkor::ParticleSystem>("sparks");
    ASSERT_NE(sparks, nullptr);
    EXPECT_GT(sparks->GetEmittedCount(), 0u);
    Walker* walker = Velkor::FindObject<Walker>("walker");
    ASSERT_NE(walker, nullptr);
    EXPECT_EQ(walker->GetMachine().GetCurrentStateIndex(), 1u);
    EXPECT_FALSE(Level().GetViewport(0)->GetBackground().empty());
}

TEST_F(SavedGameDisplayTest, DamagedSavesLeaveTheRunningGameAsItWas)
{
    StartSavedLevel();
    const std::vector<std::uint8_t> good = SaveNow();
    WorldTest::ExpectDamagedSavesLeaveTheGame(*game, good, [this] { return SaveNow(); }, 12345);
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

TEST_F(GameRecordDisplayTest, ARunningGameThatCannotComeBackSaysSoAndStartsItsLevelAgain)
{
    RecordGame& record = MakeRecordGame();
    record.value = 4;
    const std::vector<std::uint8_t> good = SaveNow();
    // The running game's own record is one its read refuses, so the memory
    // copy taken before a load does not read back either.
    record.value = 5000;
    const std::vector<std::uint8_t> refused = SaveNow();

    std::string error;
    ASSERT_FALSE(game->LoadGame(refused, error));
    EXPECT_NE(error.find("the running game could not be brought back"), std::string::npos) << error;
    EXPECT_EQ(game->GetCurrentLevel(), nullptr);
    Tick(3);
    EXPECT_NE(game->GetCurrentLevel(), nullptr);

    error.clear();
    ASSERT_TRUE(game->LoadGame(good, error)) << error;
    EXPECT_EQ(record.value, 4u);
    EXPECT_EQ(SaveNow(), good);
}

} // namespace

#include "Demo_FrameworkLevel.h"

#include "Demo_FrameworkFountain.h"

#include "collision/Collision_CollisionActor.h"
#include "collision/Collision_CollisionEngine.h"
#include "collision/Collision_CollisionLayer.h"
#include "collision/Collision_DynamicObject.h"
#include "collision/Collision_GeometricCollision.h"
#include "framework/Velkor_Camera.h"
#include "framework/Velkor_Game.h"
#include "framework/Velkor_Jukebox.h"
#include "framework/Velkor_Layer.h"
#include "framework/Velkor_Level.h"
#include "framework/Velkor_Sound.h"
#include "framework/Velkor_Text.h"
#include "framework/Velkor_Viewport.h"
#include "math/Math_LineSegment2D.h"
#include "physics/Physics_MassProperties.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr float DegreesPerRadian = 57.29578f;
constexpr int BallColours = 6;
// The distance at which a 45 degree view spans the viewport's 768 units.
constexpr float CameraDistance = 927.058f;
constexpr float WallPictureWidth = 256.0f;
// The wall picture's bar runs between these columns of its 256.
constexpr float WallBarLength = 236.0f;
// The radius of the bumper picture's disc.
constexpr float BumperPictureRadius = 56.0f;

Core::RefPtr<Velkor::SpriteAnimation> Animation(const std::string& path, std::int32_t columns,
                                                std::int32_t rows, std::size_t frames,
                                                const std::string& name)
{
    Core::RefPtr<Velkor::SpriteAnimation> animation(
        new ("Demo_FrameworkLevel", __LINE__)
            Velkor::SpriteAnimation(path, columns, rows, std::vector<float>(frames, 0.2f)));
    animation->SetName(name);
    return animation;
}

Core::RefPtr<Velkor::Layer> MakeLayer(const std::string& name, float z)
{
    Core::RefPtr<Velkor::Layer> layer(new ("Demo_FrameworkLevel", __LINE__) Velkor::Layer(z));
    layer->SetName(name);
    layer->SetCollisionProperties(Math::Vector2D(-512.0f, -384.0f), 1024, 768, 100);
    return layer;
}

} // namespace

DemoBall::DemoBall(const AnimationList& animations, const Math::Vector2D& velocity, const Math::Vector2D& low,
                   const Math::Vector2D& high)
    : Velkor::Sprite(animations), velocity_(velocity), low_(low), high_(high)
{
}

void DemoBall::SetBounceSound(Velkor::Sound* sound)
{
    bounce_ = sound;
}

void DemoBall::Update(float dt)
{
    // Last step's contacts: a new one is a bounce.
    const bool touching = ObjectInCollision();
    if (touching && !touching_ && bounce_ && bounce_->Play(true))
    {
        ++bouncesPlayed_;
    }
    touching_ = touching;
    if (GetPhysicsId() != 0)
    {
        return;
    }
    Math::Vector2D next = GetPosition() + velocity_ * dt;
    if (next.x < low_.x || next.x > high_.x)
    {
        velocity_.x = -velocity_.x;
        next.x = std::clamp(next.x, low_.x, high_.x);
    }
    if (next.y < low_.y || next.y > high_.y)
    {
        velocity_.y = -velocity_.y;
        next.y = std::clamp(next.y, low_.y, high_.y);
    }
    SetPosition(next);
}

void FrameworkDemoFactory::Init()
{
    balls_.clear();
    bounce_.Reset();
    fountain_.Reset();
    playLayer_ = nullptr;
}

bool FrameworkDemoFactory::GetLevelIndex(const std::string& name, std::uint32_t& index)
{
    if (name != "framework")
    {
        return false;
    }
    index = 0;
    return true;
}

void FrameworkDemoFactory::BuildActor()
{
    // One animation with a frame per ball colour, each the ball's circle
    // inside its square: the sheet's six cells end to end.
    auto* actor = new ("Demo_FrameworkLevel", __LINE__) Collision2D::CollisionActor();
    auto* animation = new ("Demo_FrameworkLevel", __LINE__) Collision2D::CollisionAnimation();
    for (int colour = 0; colour < BallColours; ++colour)
    {
        auto* frame = new ("Demo_FrameworkLevel", __LINE__) Collision2D::CollisionFrame();
        frame->SetBoundingRectangle(Collision2D::ZibRect(BallRadius, -BallRadius, BallRadius, -BallRadius),
                                    true);
        frame->AddCircle(Math::Vector2D(), BallRadius, 0, true);
        animation->AddCollisionFrame(frame);
    }
    actor->AddCollisionAnimation(animation);
    Velkor::Game* game = Velkor::Game::GetInstance();
    game->AddCollisionAssets(actor);
    ballActor_ = static_cast<std::int32_t>(game->GetCollisionAssets().size()) - 1;
}

void FrameworkDemoFactory::BuildWalls(Velkor::Layer& layer, const std::string& directory)
{
    layer.ReadInformation_StaticCollision(directory + CollisionFile);
    Collision2D::CollisionLayer* shapes =
        Velkor::Game::GetInstance()->GetCollisionEngine()->GetLayer(layer.GetCollisionLayerIndex());
    const Core::RefPtr<Velkor::SpriteAnimation> wall = Animation(directory + WallSheet, 1, 1, 1, "DemoWall");
    arenaLow_ = Math::Vector2D();
    arenaHigh_ = Math::Vector2D();
    std::vector<Math::LineSegment2D> drawn;
    const std::int32_t count = shapes->GetCount(Collision2D::CollisionLayer::StaticLineSegments);
    for (std::int32_t slot = 1; slot < count; ++slot)
    {
        const Collision2D::StaticCollisionLineSegment* shape =
            shapes->GetStaticLineSegment(static_cast<std::uint32_t>(slot));
        if (shape == nullptr || shape->GetLineSegment() == nullptr)
        {
            continue;
        }
        const Math::LineSegment2D& segment = *shape->GetLineSegment();
        for (const Math::Vector2D& end : {segment.pointA, segment.pointB})
        {
            arenaLow_ = Math::Vector2D(std::min(arenaLow_.x, end.x), std::min(arenaLow_.y, end.y));
            arenaHigh_ = Math::Vector2D(std::max(arenaHigh_.x, end.x), std::max(arenaHigh_.y, end.y));
        }
        // A wall is two segments of opposite direction: one picture each.
        const bool twin =
            std::any_of(drawn.begin(), drawn.end(),
                        [&](const Math::LineSegment2D& other)
                        { return other.pointA == segment.pointB && other.pointB == segment.pointA; });
        drawn.push_back(segment);
        if (twin)
        {
            continue;
        }
        const Math::Vector2D along = segment.pointB - segment.pointA;
        Core::RefPtr<Velkor::Sprite> picture(new ("Demo_FrameworkLevel", __LINE__) Velkor::Sprite({wall}));
        picture->SetName("wall");
        picture->SetPosition((segment.pointA + segment.pointB) * 0.5f);
        picture->SetRotationAngle(std::atan2(along.y, along.x) * DegreesPerRadian);
        picture->SetScale((along.Length() + 12.0f) / WallBarLength * (WallBarLength / WallPictureWidth),
                          1.0f);
        picture->SetZOrder(-1.0f);
        layer.AddGameObject(picture.Get());
    }
    const Core::RefPtr<Velkor::SpriteAnimation> bumper =
        Animation(directory + BumperSheet, 1, 1, 1, "DemoBumper");
    const std::int32_t circles = shapes->GetCount(Collision2D::CollisionLayer::StaticCircles);
    for (std::int32_t slot = 1; slot < circles; ++slot)
    {
        const Collision2D::StaticCollisionCircle* shape =
            shapes->GetStaticCircle(static_cast<std::uint32_t>(slot));
        if (shape == nullptr || shape->GetCircle() == nullptr)
        {
            continue;
        }
        Core::RefPtr<Velkor::Sprite> picture(new ("Demo_FrameworkLevel", __LINE__) Velkor::Sprite({bumper}));
        picture->SetName("bumper");
        picture->SetPosition(shape->GetCircle()->center);
        const float scale = shape->GetCircle()->radius / BumperPictureRadius;
        picture->SetScale(scale, scale);
        picture->SetZOrder(-1.0f);
        layer.AddGameObject(picture.Get());
    }
}

void FrameworkDemoFactory::BuildBalls(Velkor::Layer& layer, const std::string& directory)
{
    const Core::RefPtr<Velkor::SpriteAnimation> colours =
        Animation(directory + BallSheet, 3, 2, BallColours, "DemoBalls");
    Collision2D::CollisionActor* actor =
        Velkor::Game::GetInstance()->GetCollisionAssets()[static_cast<std::size_t>(ballActor_)].get();
    const Math::Vector2D margin(BallRadius + 4.0f, BallRadius + 4.0f);
    const Math::Vector2D low = arenaLow_ + margin;
    const Math::Vector2D high = arenaHigh_ - margin;
    // Places on a lattice over the arena, column by column from the left,
    // away from the bumpers; past the lattice the balls share places (the
    // heavier benchmark level).
    std::vector<Math::Vector2D> places;
    Collision2D::CollisionLayer* shapes =
        Velkor::Game::GetInstance()->GetCollisionEngine()->GetLayer(layer.GetCollisionLayerIndex());
    const float step = 2.0f * BallRadius + 12.0f;
    for (float x = low.x; x <= high.x; x += step)
    {
        for (float y = low.y; y <= high.y; y += step)
        {
            const Math::Vector2D place(x, y);
            bool free = true;
            const std::int32_t circles = shapes->GetCount(Collision2D::CollisionLayer::StaticCircles);
            for (std::int32_t slot = 1; slot < circles; ++slot)
            {
                const Collision2D::StaticCollisionCircle* bumper =
                    shapes->GetStaticCircle(static_cast<std::uint32_t>(slot));
                if (bumper != nullptr && bumper->GetCircle() != nullptr &&
                    (bumper->GetCircle()->center - place).Length() < bumper->GetCircle()->radius + step)
                {
                    free = false;
                }
            }
            if (free)
            {
                places.push_back(place);
            }
        }
    }
    if (places.empty())
    {
        places.push_back(Math::Vector2D());
    }
    // Every seventh place in turn spreads the balls over the arena.
    const std::size_t stride = places.size() % 7 == 0 ? 5 : 7;
    for (std::uint32_t i = 0; i < settings_.balls; ++i)
    {
        const float angle = static_cast<float>(i) * 137.5f / DegreesPerRadian;
        const float speed = 220.0f + 60.0f * static_cast<float>(i % 3);
        const Math::Vector2D velocity(std::cos(angle) * speed, std::sin(angle) * speed);
        Core::RefPtr<DemoBall> ball(new ("Demo_FrameworkLevel", __LINE__)
                                        DemoBall({colours}, velocity, low, high));
        ball->SetName("ball");
        auto* dynamic = new ("Demo_FrameworkLevel", __LINE__) Collision2D::DynamicObject();
        dynamic->AddCollisionData(actor, 0, 0);
        dynamic->SetCollisionType(1);
        dynamic->SetCollisionThickness(2.0f);
        dynamic->SetBoundingRectangleCheckingTileMap(true);
        dynamic->SetZCollision(0);
        dynamic->SetCanCollid(0, true);
        dynamic->SetUpdateOnIdle(true);
        ball->AddCollision(dynamic, layer.GetCollisionLayerIndex());
        ball->SetCollisionActorIndex(ballActor_);
        ball->SetPosition(places[(static_cast<std::size_t>(i) * stride) % places.size()]);
        ball->SetCurrentFrameIndex(i % BallColours, false);
        ball->SetZOrder(2.0f);
        if (settings_.showCollisionData)
        {
            ball->SetCollisionDataColor(1.0f, 0.95f, 0.55f, 0.9f);
            ball->SetVisibleCollisionData(true);
        }
        if (i < settings_.bodies)
        {
            ball->AddPhysicalProperties(Physics2D::MassProperties(1.0f, 0.0f, Math::Vector2D()), 0);
            ball->SetVelocity(velocity);
            ball->SetAngularVelocity(0.0f);
        }
        layer.AddGameObject(ball.Get());
        balls_.push_back(ball);
    }
}

void FrameworkDemoFactory::BuildSounds(Velkor::Level& level, Velkor::Layer& layer,
                                       const std::string& directory)
{
    // The play levels' music, as the game sets it up: one track, repeated.
    Core::RefPtr<Velkor::JukeBox> music(new ("Demo_FrameworkLevel", __LINE__)
                                            Velkor::JukeBox(std::vector<std::string>{directory + Music}));
    music->SetFadeTime(0.0f);
    music->SetShuffle(false);
    music->SetRepeat(true);
    music->PlayMusic(-1);
    music->SetMusicVolume(0.4f, 0.0f);
    level.SetJukeBox(music.Get());

    // One listener-relative pop shared by the balls.
    bounce_ =
        new ("Demo_FrameworkLevel", __LINE__) Velkor::Sound(directory + BounceEffect, 0, 10.0f, 0, 0.0f, 0);
    bounce_->SetName("bounce");
    bounce_->SetVolume(0.5f);
    layer.AddGameObject(bounce_.Get());
    for (const Core::RefPtr<DemoBall>& ball : balls_)
    {
        ball->SetBounceSound(bounce_.Get());
    }
}

Velkor::Level* FrameworkDemoFactory::CreateLevel(std::uint32_t)
{
    Velkor::Game* game = Velkor::Game::GetInstance();
    const std::string directory = game->GetDirectory();
    BuildActor();

    // The game takes the level's first reference.
    auto* level = new ("Demo_FrameworkLevel", __LINE__) Velkor::Level();
    level->SetName("framework");
    level->SetClearBackBuffer(false);
    Core::RefPtr<Velkor::Layer> hud = MakeLayer("framework_HUD", 0.0f);
    Core::RefPtr<Velkor::Layer> play = MakeLayer("layer1", 0.0f);
    Core::RefPtr<Velkor::Layer> back = MakeLayer("layer2", CameraDistance);
    playLayer_ = play.Get();

    Core::RefPtr<Velkor::Camera> camera(new ("Demo_FrameworkLevel", __LINE__) Velkor::Camera(45.0f));
    camera->SetName("camera0");
    camera->SetPosition(0.0f, 0.0f);
    back->AddGameObject(camera.Get());
    Core::RefPtr<Velkor::Viewport> viewport(new ("Demo_FrameworkLevel", __LINE__)
                                                Velkor::Viewport(0, 0, 1024, 768));
    viewport->SetClearColor(0.03f, 0.03f, 0.09f, 1.0f);
    viewport->SetCamera(camera.Get());
    level->AddLayer(hud.Get());
    level->AddLayer(play.Get());
    level->AddLayer(back.Get());
    level->AddViewport(viewport.Get());

    Core::RefPtr<Velkor::Sprite> background(new ("Demo_FrameworkLevel", __LINE__) Velkor::Sprite(
        {Animation(directory + Background, 1, 1, 1, "BG")}));
    background->SetName("background");
    background->SetOpacity(0.85f);
    background->SetZOrder(-2.0f);
    play->AddGameObject(background.Get());

    BuildWalls(*play, directory);
    BuildBalls(*play, directory);
    BuildSounds(*level, *play, directory);
    fountain_ = settings_.fountain ? MakeDemoFountain() : nullptr;
    if (fountain_)
    {
        fountain_->SetName("fountain");
        fountain_->SetPosition(0.0f, -20.0f);
        // Below the balls, over the background.
        fountain_->SetZOrder(1.0f);
        play->AddGameObject(fountain_.Get());
    }
    if (settings_.showCollisionData)
    {
        play->SetCollisionDataColor(0.35f, 1.0f, 0.95f, 1.0f);
        play->SetVisibleCollisionData(true);
    }

    Core::RefPtr<Velkor::Text> title(new ("Demo_FrameworkLevel", __LINE__)
                                         Velkor::Text("VELKOR FRAMEWORK DEMO", directory + Font));
    title->SetName("title");
    title->SetPosition(-440.0f, 326.0f);
    title->SetScale(2.0f, 2.0f);
    title->SetZOrder(3.0f);
    title->SetModulationColor(1.0f, 0.86f, 0.35f, 1.0f);
    play->AddGameObject(title.Get());
    Core::RefPtr<Velkor::Text> legend(new ("Demo_FrameworkLevel", __LINE__) Velkor::Text(
        "Sprites on collision actors - walls from a collision file - contact bridge", directory + Font));
    legend->SetName("legend");
    legend->SetPosition(-440.0f, -336.0f);
    legend->SetZOrder(3.0f);
    legend->SetModulationColor(0.7f, 0.95f, 1.0f, 1.0f);
    play->AddGameObject(legend.Get());

    return level;
}

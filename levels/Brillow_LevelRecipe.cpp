// The level recipe: every level is the same skeleton (three layers, one
// camera, one viewport, the music of the played levels) filled by the
// object builders from the content tables, each layer then reading its
// static collision file.
#include "collision/Collision_DynamicObject.h"
#include "core/Core_String.h"
#include "framework/Velkor_Camera.h"
#include "framework/Velkor_Game.h"
#include "framework/Velkor_Jukebox.h"
#include "framework/Velkor_Layer.h"
#include "framework/Velkor_Level.h"
#include "framework/Velkor_Network.h"
#include "framework/Velkor_Sound.h"
#include "framework/Velkor_SpriteAnimation.h"
#include "framework/Velkor_Text.h"
#include "framework/Velkor_Viewport.h"
#include "levels/Brillow_ClassMakers.h"
#include "levels/Brillow_MyLevelFactory.h"
#include "physics/Physics_MassProperties.h"

#include <algorithm>

namespace
{

enum class Music : std::uint8_t
{
    None,
    Menu,
    Game,
};

struct Bounds
{
    float x;
    float y;
    std::int32_t width;
    std::int32_t height;
};

struct SkeletonRow
{
    Bounds layerBounds[LayersPerLevel];
    Music music;
};

constexpr Bounds Field{-512.0f, -384.0f, 1024, 768};
constexpr Bounds Small{-400.0f, -300.0f, 800, 600};

// Collision bounds of the HUD layer, "layer1" and "layer2", and the music.
constexpr SkeletonRow Skeleton[MyLevelFactory::LevelCount] = {
    {{Small, Field, Small}, Music::Menu},
    {{{-451.0f, -300.0f, 851, 707}, {-944.0f, -572.0f, 1920, 1097}, Small}, Music::Game},
    {{Small, Field, Small}, Music::None},
    {{Small, Field, Small}, Music::None},
    {{Field, {-670.0f, -476.0f, 1327, 860}, Field}, Music::Game},
    {{Field, Field, Field}, Music::None},
    {{Field, Field, Field}, Music::None},
    {{Field, Field, Field}, Music::None},
    {{Field, Field, Field}, Music::None},
};

constexpr const char* LayerNames[LayersPerLevel] = {nullptr, "layer1", "layer2"};
// 927.058 = 384 / tan 22.5 degrees: there a 45 degree view spans the
// viewport's 768 units.
constexpr float LayerDepths[LayersPerLevel] = {0.0f, 0.0f, 927.058f};
constexpr std::int32_t CellSize = 100;
constexpr float CameraFieldOfView = 45.0f;
constexpr float ClearGrey = 64.0f / 255.0f;
constexpr float SoundIntensity = 10.0f;

std::string GameDirectory()
{
    Velkor::Game* game = Velkor::Game::GetInstance();
    return game != nullptr ? game->GetDirectory() : std::string();
}

// A network client builds no collision objects or bodies: the host's
// simulation moves its objects.
bool IsNetworkClient()
{
    Velkor::Game* game = Velkor::Game::GetInstance();
    Velkor::ZibNet* network = game != nullptr ? game->GetNetworkEngine() : nullptr;
    return network != nullptr && network->IsNetworkGame() && !network->IsHost();
}

// "\Resources\Animations\BG.png" -> "BG".
std::string AnimationName(const std::string& path)
{
    std::string name = Core::GetFileName(path);
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

} // namespace

Velkor::Level* MyLevelFactory::BuildLevel(std::uint32_t index)
{
    const SkeletonRow& skeleton = Skeleton[index];
    const std::string name = GetLevelName(index);

    Velkor::Level* level = MakeLevelObject(index);
    levels_[index] = level;
    level->SetName(name);
    level->SetClearBackBuffer(false);

    if (skeleton.music == Music::Menu)
    {
        SetupMenuMusic();
        level->SetJukeBox(menuJukeBox_);
    }
    else if (skeleton.music == Music::Game)
    {
        SetupGameMusic();
        level->SetJukeBox(gameJukeBox_);
    }

    for (std::uint32_t i = 0; i < LayersPerLevel; ++i)
    {
        auto* layer = new ("Brillow_LevelRecipe", __LINE__) Velkor::Layer(LayerDepths[i]);
        layers_[i] = layer;
        layer->SetName(i == 0 ? name + "_HUD" : std::string(LayerNames[i]));
        if (i != 0)
        {
            layer->SetScale(1.0f, 1.0f);
            layer->SetRotation(0.0f);
        }
        const Bounds& bounds = skeleton.layerBounds[i];
        layer->SetCollisionProperties(Math::Vector2D(bounds.x, bounds.y), bounds.width, bounds.height,
                                      CellSize);
    }

    auto* camera = new ("Brillow_LevelRecipe", __LINE__) Velkor::Camera(CameraFieldOfView);
    cameras_[index] = camera;
    camera->SetName("camera0");
    camera->SetPosition(Math::Vector2D(0.0f, 0.0f));
    layers_[2]->AddGameObject(camera, false, nullptr);

    viewport_ = new ("Brillow_LevelRecipe", __LINE__) Velkor::Viewport(0, 0, 1024, 768);
    viewport_->SetClearColor(ClearGrey, ClearGrey, ClearGrey, 1.0f);
    viewport_->SetCamera(camera);

    for (Velkor::Layer* layer : layers_)
    {
        level->AddLayer(layer);
    }
    level->AddViewport(viewport_);

    for (std::uint32_t i = 0; i < LayersPerLevel; ++i)
    {
        BuildLayer(index, i);
    }
    ++levelsBuilt_;
    OnLevelBuilt(index);
    return level;
}

void MyLevelFactory::BuildLayer(std::uint32_t level, std::uint32_t layer)
{
    for (const ContentRow& row : GetLayerContent(level, layer))
    {
        if (const auto* sprite = std::get_if<SpriteRow>(&row))
        {
            BuildSprite(level, layer, *sprite);
        }
        else if (const auto* text = std::get_if<TextRow>(&row))
        {
            BuildText(level, layer, *text);
        }
        else if (const auto* sound = std::get_if<SoundRow>(&row))
        {
            BuildSound(level, layer, *sound);
        }
    }
    // The network block asks who hosts and does nothing with the answer.
    LoadLayerCollisions(level, layer);
}

void MyLevelFactory::BuildSprite(std::uint32_t level, std::uint32_t layerIndex, const SpriteRow& row)
{
    Velkor::Layer* layer = layers_[layerIndex];
    const std::string directory = GameDirectory();
    Velkor::Sprite::AnimationList animations;
    for (const AnimationRow& animationRow : row.animations)
    {
        std::vector<float> delays;
        for (const FrameDelays& run : animationRow.delays)
        {
            delays.insert(delays.end(), run.count, run.seconds);
        }
        Core::RefPtr<Velkor::SpriteAnimation> animation(
            new ("Brillow_LevelRecipe", __LINE__) Velkor::SpriteAnimation(
                directory + animationRow.sheet, animationRow.columns, animationRow.rows, delays));
        animation->SetName(AnimationName(animationRow.sheet));
        animations.push_back(animation);
    }
    Velkor::Sprite* sprite = MakeSpriteObject(row.className, animations);
    const bool client = IsNetworkClient();
    if (row.collision && !client)
    {
        auto* dynamic = new ("Brillow_LevelRecipe", __LINE__) Collision2D::DynamicObject();
        dynamic->AddCollisionData(GetActor(static_cast<std::uint32_t>(row.actor)), 0, 0);
        dynamic->SetCollisionType(row.collision->type);
        dynamic->SetCollisionThickness(row.collision->thickness);
        dynamic->SetBoundingRectangleCheckingTileMap(true);
        dynamic->SetZCollision(static_cast<std::uint8_t>(std::clamp(row.collision->z, 0, 255)));
        for (const std::int32_t z : row.collision->collidesWith)
        {
            dynamic->SetCanCollid(static_cast<std::uint8_t>(std::clamp(z, 0, 254)), true);
        }
        dynamic->SetUpdateOnIdle(row.collision->updateOnIdle);
        sprite->AddCollision(dynamic, layer->GetCollisionLayerIndex());
    }
    sprite->SetName(row.name);
    sprite->SetCollisionActorIndex(row.actor);
    sprite->SetOpacity(row.opacity);
    sprite->Play(row.playing);
    sprite->SetPosition(row.position);
    sprite->SetCurrentAnimationIndex(row.startAnimation, false);
    sprite->SetCurrentFrameIndex(0, false);
    sprite->SetLoop(row.looping);
    sprite->SetAnimationSpeed(1.0f);
    sprite->SetFlipHorizontal(false);
    sprite->SetFlipVertical(false);
    sprite->SetLifeTime(0.0f);
    sprite->SetVisible(row.visible);
    sprite->SetRotationAngle(0.0f);
    sprite->SetScale(1.0f, 1.0f);
    sprite->SetCenter(Math::Vector2D(0.0f, 0.0f));
    sprite->SetZOrder(row.depth);
    if (row.hud || (layerIndex == 0 && level <= 1))
    {
        sprite->SetHUDObject(true);
    }
    if (row.body && !client)
    {
        sprite->SetCenter(Math::Vector2D(0.0f, 0.0f));
        const Physics2D::MassProperties mass(1.0f, 0.0f, Math::Vector2D(0.0f, 0.0f));
        sprite->AddPhysicalProperties(mass, 0);
        sprite->SetVelocity(Math::Vector2D(0.0f, 0.0f));
        sprite->SetAngularVelocity(0.0f);
    }
    layer->AddGameObject(sprite, false, nullptr);
    objects_[level].push_back(sprite);
}

void MyLevelFactory::BuildText(std::uint32_t level, std::uint32_t layerIndex, const TextRow& row)
{
    Velkor::Text* text =
        MakeTextObject(row.className, row.text, GameDirectory() + "\\Resources\\Fonts\\" + row.font);
    text->SetName(row.name);
    text->SetPosition(row.position);
    text->SetLifeTime(0.0f);
    text->SetVisible(true);
    text->SetRotationAngle(0.0f);
    text->SetScale(1.0f, 1.0f);
    text->SetCenter(Math::Vector2D(0.0f, 0.0f));
    text->SetOpacity(1.0f);
    text->SetZOrder(row.depth);
    if (row.hud || (layerIndex == 0 && level <= 1))
    {
        text->SetHUDObject(true);
    }
    layers_[layerIndex]->AddGameObject(text, false, nullptr);
    objects_[level].push_back(text);
}

void MyLevelFactory::BuildSound(std::uint32_t level, std::uint32_t layerIndex, const SoundRow& row)
{
    // Listener-relative; load parameter 0 and load flag 0 let the sound
    // engine choose between streaming and loading whole.
    Velkor::Sound* sound =
        MakeSoundObject(row.className, GameDirectory() + "\\Resources\\Sounds\\" + row.file, 0,
                        SoundIntensity, row.looping ? 1 : 0, 0.0f, 0);
    if (sound == nullptr)
    {
        return;
    }
    sound->SetName(row.name);
    sound->SetPosition(row.position);
    sound->SetVolume(row.volume);
    sound->SetPitch(1.0f);
    sound->SetLifeTime(0.0f);
    layers_[layerIndex]->AddGameObject(sound, false, nullptr);
    objects_[level].push_back(sound);
}

void MyLevelFactory::LoadLayerCollisions(std::uint32_t level, std::uint32_t layer)
{
    const std::string path = "\\Resources\\Layers Collisions\\level" + std::to_string(level) + "_layer" +
                             std::to_string(layer) + ".txt";
    collisionFilesRead_.push_back(path);
    layers_[layer]->ReadInformation_StaticCollision(GameDirectory() + path);
}

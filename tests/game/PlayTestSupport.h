#pragma once

// A played level for the play objects' scenarios: a level carrying the play
// switches (or the tutorial's, without `paused`), three layers with the play
// level's collision bounds, the collision shapes of the play objects, and
// their prototypes built as the level content builds them. Objects enter
// play as the levels spawn them: a clone of the prototype, renamed, placed
// and added to "layer1".
#include "GameTestSupport.h"

#include "collision/Collision_CollisionActor.h"
#include "collision/Collision_DynamicObject.h"
#include "framework/Velkor_Random.h"
#include "framework/Velkor_Sound.h"
#include "framework/Velkor_Sprite.h"
#include "framework/Velkor_SpriteAnimation.h"
#include "game/Brillow_FindObjects.h"
#include "game/Brillow_Sounds.h"
#include "physics/Physics_MassProperties.h"

#include <map>
#include <string>
#include <vector>

namespace PlayTest
{

using BrillowTest::FlagLevel;

// The switch levels of FlagFactory, their layers named and given the play
// level's collision bounds.
class PlayFactory : public BrillowTest::FlagFactory
{
public:
    Velkor::Level* CreateLevel(std::uint32_t index) override
    {
        Velkor::Level* level = FlagFactory::CreateLevel(index);
        const char* const names[3] = {"HUD", "layer1", "layer2"};
        const Math::Vector2D origins[3] = {{-451.0f, -300.0f}, {-944.0f, -572.0f}, {-400.0f, -300.0f}};
        const std::int32_t sizes[3][2] = {{851, 707}, {1920, 1097}, {800, 600}};
        for (std::uint32_t i = 0; i < 3; ++i)
        {
            Velkor::Layer* layer = level->GetLayer(i);
            layer->SetName(names[i]);
            layer->SetCollisionProperties(origins[i], sizes[i][0], sizes[i][1], 100);
        }
        return level;
    }
};

struct Circle
{
    float x;
    float y;
    float radius;
};

struct Segment
{
    Math::Vector2D a;
    Math::Vector2D b;
};

struct ShapeFrame
{
    std::vector<Circle> circles;
    std::vector<Segment> segments;
};

struct Sheet
{
    const char* file;
    std::int32_t columns;
    std::int32_t rows;
    std::uint32_t frames;
    float delay;
};

// One prototype of the play level's content: its sheets, shapes and
// collision settings (shape tests, collision z, the levels it collides
// with) and whether it has a body.
struct Kind
{
    std::vector<Sheet> sheets;
    Collision2D::ZibRect rectangle;
    std::vector<ShapeFrame> frames;
    std::uint8_t z;
    std::vector<std::uint8_t> collidesWith;
    bool body;
    std::uint32_t startAnimation = 0;
};

inline std::vector<ShapeFrame> Repeat(std::size_t count, const ShapeFrame& frame)
{
    return std::vector<ShapeFrame>(count, frame);
}

inline std::vector<ShapeFrame> Join(std::vector<ShapeFrame> first, const std::vector<ShapeFrame>& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// The play objects' shapes: coloured, white and spike balls carry one
// circle (the enemies none while they grow in), the beams pairs of
// segments along their length.
inline const Kind& GetKind(const std::string& prototype)
{
    static const Collision2D::ZibRect ballBox(28, -30, 30, -28);
    static const Collision2D::ZibRect squareBox(42, -42, 42, -42);
    static const Collision2D::ZibRect verticalBeamBox(347, -38, 38, -347);
    static const ShapeFrame verticalBeam{{}, {{{0, 334}, {0, -325}}, {{0, -328}, {0, 336}}}};
    static const ShapeFrame horizontalBeam{{}, {{{-483, 6}, {487, 6}}, {{486, -1}, {-481, -1}}}};
    static const std::map<std::string, Kind> kinds = {
        {"ball",
         {{{"blueball.png", 1, 1, 1, 1.0f},
           {"greenball.png", 1, 1, 1, 1.0f},
           {"YELLOWBALL.png", 1, 1, 1, 1.0f},
           {"ORANGEBALL.png", 1, 1, 1, 1.0f},
           {"REDBALL.png", 1, 1, 1, 1.0f},
           {"white.png", 1, 1, 1, 1.0f}},
          ballBox,
          Repeat(6, {{{0, 3, 9}}, {}}),
          0,
          {1, 0},
          true}},
        {"whiteball",
         {{{"WHITESCALE.png", 3, 2, 6, 0.16f},
           {"ENEMYWHITE.png", 1, 1, 1, 1.0f},
           {"white.png", 1, 1, 1, 1.0f}},
          ballBox,
          Join(Repeat(6, {}), {{{{0, 3, 10}}, {}}, {{{0, 2, 10}}, {}}}),
          1,
          {0},
          true,
          1}},
        {"spikeball",
         {{{"REDBALLSCALE.png", 3, 2, 6, 0.16f}, {"SpikeBall.png", 1, 1, 1, 1.0f}},
          ballBox,
          Join(Repeat(6, {}), {{{{0, 3, 11}}, {}}}),
          1,
          {0},
          true}},
        {"sheildpowerup",
         {{{"sheildpowerup.png", 1, 1, 1, 1.0f}}, squareBox, {{{{0, 1, 9}}, {}}}, 2, {0, 2}, false}},
        {"blackHolePU",
         {{{"blackHolePU.png", 3, 2, 6, 0.1f}}, squareBox, Repeat(6, {{{-1, 1, 10}}, {}}), 2, {0, 1}, false}},
        {"Lazer",
         {{{"LAZER11.png", 4, 3, 11, 0.2f}},
          verticalBeamBox,
          Join({{}}, Repeat(10, verticalBeam)),
          0,
          {0},
          false}},
        {"Lazer1",
         {{{"LAZER0.png", 2, 6, 11, 0.1f}},
          Collision2D::ZibRect(46, -493, 493, -46),
          Join({{}}, Repeat(10, horizontalBeam)),
          0,
          {0},
          false}},
        {"WhiteLazer",
         {{{"WHITELAZERANI.png", 3, 2, 5, 0.2f}},
          verticalBeamBox,
          Repeat(5, {{}, {{{1, 335}, {4, -328}}, {{0, -324}, {-3, 336}}}}),
          0,
          {0, 1, 2},
          true}},
        // The player ball: seven animations, 25 frames, one circle each (the
        // shield's larger).
        {"playerball",
         {{{"BLUEANIMATION0.png", 2, 2, 4, 0.1f},
           {"GREENANIMATION0.png", 2, 2, 4, 0.1f},
           {"YELLOWANIMATE.png", 2, 2, 4, 0.1f},
           {"ORANGEANIMATION.png", 2, 2, 4, 0.1f},
           {"REDANIMATE.png", 2, 2, 4, 0.1f},
           {"SheildBubble.png", 1, 1, 1, 1.0f},
           {"WHITEANIMATE.png", 2, 2, 4, 0.05f}},
          squareBox,
          Join(Join(Repeat(20, {{{-3, 1, 15}}, {}}), {{{{1, 1, 29}}, {}}}), Repeat(4, {{{-3, 1, 15}}, {}})),
          0,
          {0, 1, 2, 3},
          true}},
        {"Bonus", {{{"BONUS.png", 1, 1, 1, 1.0f}}, squareBox, {{}}, 0, {0}, false}},
    };
    return kinds.at(prototype);
}

inline Collision2D::CollisionActor* MakeActor(const Kind& kind)
{
    auto* actor = new Collision2D::CollisionActor();
    auto* animation = new Collision2D::CollisionAnimation();
    for (const ShapeFrame& shapes : kind.frames)
    {
        auto* frame = new Collision2D::CollisionFrame();
        frame->SetBoundingRectangle(kind.rectangle, true);
        for (const Circle& circle : shapes.circles)
        {
            frame->AddCircle({circle.x, circle.y}, circle.radius, 0, true);
        }
        for (const Segment& segment : shapes.segments)
        {
            frame->AddLineSegment(segment.a, segment.b, 0, true);
        }
        animation->AddCollisionFrame(frame);
    }
    actor->AddCollisionAnimation(animation);
    Velkor::Game::GetInstance()->AddCollisionAssets(actor);
    return actor;
}

// Objects of class T built as the level content builds a prototype:
// sheets, collision object (none on a network client), body.
template <class T>
T* BuildObject(Velkor::Layer& layer, const std::string& prototype, const std::string& name,
               Math::Vector2D position, bool withCollision = true)
{
    const Kind& kind = GetKind(prototype);
    const std::string directory = Velkor::Game::GetInstance()->GetDirectory();
    Velkor::Sprite::AnimationList animations;
    for (const Sheet& sheet : kind.sheets)
    {
        animations.emplace_back(
            new Velkor::SpriteAnimation(directory + "\\Resources\\Animations\\" + sheet.file, sheet.columns,
                                        sheet.rows, std::vector<float>(sheet.frames, sheet.delay)));
    }
    auto* object = new T(animations);
    if (withCollision)
    {
        auto* dynamic = new Collision2D::DynamicObject();
        dynamic->AddCollisionData(MakeActor(kind), 0, 0);
        dynamic->SetCollisionType(1);
        dynamic->SetCollisionThickness(8.0f);
        dynamic->SetZCollision(kind.z);
        for (const std::uint8_t z : kind.collidesWith)
        {
            dynamic->SetCanCollid(z, true);
        }
        dynamic->SetUpdateOnIdle(true);
        object->AddCollision(dynamic, layer.GetCollisionLayerIndex());
    }
    object->SetName(name);
    object->SetPosition(position);
    object->SetCurrentAnimationIndex(kind.startAnimation, false);
    object->SetCurrentFrameIndex(0, false);
    if (kind.body && withCollision)
    {
        object->AddPhysicalProperties(Physics2D::MassProperties(1.0f, 0.0f, Math::Vector2D(0.0f, 0.0f)), 0);
        object->SetVelocity(Math::Vector2D(0.0f, 0.0f));
    }
    layer.AddGameObject(object);
    return object;
}

// How a level puts a prototype into play.
template <class T>
T* Spawn(Velkor::Layer& layer, T& prototype, const std::string& name, Math::Vector2D position)
{
    auto* clone = static_cast<T*>(prototype.Clone());
    clone->SetVisible(true);
    clone->SetName(name);
    clone->SetPosition(position);
    layer.AddGameObject(clone);
    return clone;
}

// The sound objects the play objects look up, each class under its name.
inline void BuildSounds(Velkor::Layer& layer)
{
    const std::string directory = Velkor::Game::GetInstance()->GetDirectory() + "\\Resources\\Sounds\\";
    auto add = [&](Velkor::Sound* sound, const char* name)
    {
        sound->SetName(name);
        layer.AddGameObject(sound);
    };
    const std::string loop = directory + "LaserBeam_Loop35.wav";
    const std::string once = directory + "ZapCartoon CTE02_91.1.wav";
    add(new LazerSound(loop, 0, 10.0f, 1, 0.0f, 0), "lazerstay");
    add(new LazerStart(once, 0, 10.0f, 0, 0.0f, 0), "lazerstart");
    add(new LazerEnd(once, 0, 10.0f, 0, 0.0f, 0), "lazerend");
    add(new LazerSound1(loop, 0, 10.0f, 1, 0.0f, 0), "lazerstay1");
    add(new LazerStart1(once, 0, 10.0f, 0, 0.0f, 0), "lazerstart1");
    add(new LazerEnd1(once, 0, 10.0f, 0, 0.0f, 0), "lazerend1");
    add(new BlackHoleSound(loop, 0, 10.0f, 1, 0.0f, 0), "blackholesound");
    add(new Eatball(once, 0, 10.0f, 0, 0.0f, 0), "eatball");
    add(new Damaged(once, 0, 10.0f, 0, 0.0f, 0), "damaged");
    add(new LazerZap(once, 0, 10.0f, 0, 0.0f, 0), "lazerzap");
    add(new BonusSound(loop, 0, 10.0f, 1, 0.0f, 0), "bonuslevels");
}

} // namespace PlayTest

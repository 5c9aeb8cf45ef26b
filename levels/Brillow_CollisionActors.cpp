// The game's 42 collision actors as data: each one animation whose frames
// follow its sprite's frames, every frame a bounding rectangle with its
// circles and segments, all added with their flipped copies and user id 0.
// An actor's place in the table is its number.
#include "collision/Collision_CollisionActor.h"
#include "collision/Collision_ZibRect.h"
#include "framework/Velkor_Game.h"
#include "levels/Brillow_MyLevelFactory.h"

#include <vector>

namespace
{

struct Rect
{
    float top;
    float left;
    float right;
    float bottom;
};

struct Circle
{
    float x;
    float y;
    float radius;
};

struct Segment
{
    float ax;
    float ay;
    float bx;
    float by;
};

// A value for the frames first to last (inclusive).
template <class T> struct Run
{
    std::uint32_t first;
    std::uint32_t last;
    T value;
};

struct SegmentRun
{
    std::uint32_t first;
    std::uint32_t last;
    std::vector<Segment> segments;
};

struct ActorRow
{
    std::uint32_t frames;
    Rect rectangle;
    // Frames whose rectangle differs.
    std::vector<Run<Rect>> otherRectangles;
    // One circle per frame of each run.
    std::vector<Run<Circle>> circles;
    std::vector<SegmentRun> segments;
};

constexpr Rect FullField{384, -512, 512, -384};
constexpr Rect Ball{28, -30, 30, -28};
constexpr Rect Button{49, -161, 161, -49};
constexpr Rect SmallButton{50, -79, 79, -50};
constexpr Rect PowerUp{42, -42, 42, -42};
constexpr Rect VerticalBeam{347, -38, 38, -347};
constexpr Rect WideButton{35, -112, 112, -35};

// The horizontal laser (actor 24).
std::vector<SegmentRun> HorizontalBeam()
{
    return {
        {1, 1, {{-478, 0, -424, 0}, {-424, 0, -476, 0}}},
        {2, 2, {{-481, 0, -405, 0}, {-403, 0, -481, 0}}},
        {3, 3, {{-483, 6, -347, 6}, {-348, 0, -482, 0}, {348, 7, 488, 6}, {490, 0, 349, 0}}},
        {4, 4, {{140, 7, 491, 7}, {-141, 0, -480, 0}, {488, -1, 140, 0}, {-482, 6, -140, 7}}},
        {5, 5, {{484, 0, 44, 0}, {44, 0, 484, 0}, {-477, 0, -2, 0}, {-3, 0, -481, 0}}},
        {6, 10, {{-483, 6, 487, 6}, {486, -1, -481, -1}}},
    };
}

// The vertical laser (actor 25).
std::vector<SegmentRun> VerticalBeamSegments()
{
    return {
        {1, 1, {{0, 334, 0, 298}, {0, 297, 0, 333}, {0, -293, 0, -329}, {0, -330, 0, -292}}},
        {2, 2, {{0, -326, 0, -273}, {0, -275, 0, -331}, {0, 332, 0, 283}, {0, 279, 0, 336}}},
        {3, 3, {{0, 333, 0, 244}, {0, 242, 0, 337}, {0, -235, 0, -331}, {0, -331, 0, -238}}},
        {4, 4, {{0, 341, 0, 90}, {0, 91, 0, 340}, {0, -88, 0, -332}, {0, -333, 0, -84}}},
        {5, 5, {{0, 336, 0, 37}, {0, 36, 0, 339}, {0, -1, 0, -325}, {0, -326, 0, 1}}},
        {6, 6, {{0, 334, 0, -325}, {0, -328, 0, 336}}},
        {7, 7, {{0, 334, 0, -327}, {0, -327, 0, 331}}},
        {8, 8, {{0, 336, 0, -326}, {0, -325, 0, 334}}},
        {9, 9, {{0, 337, 0, -328}, {0, -328, 0, 336}}},
        {10, 10, {{0, 334, 0, -330}, {0, -330, 0, 333}}},
    };
}

// The play level's white laser (actor 27).
std::vector<SegmentRun> WhiteBeam()
{
    return {
        {0, 2, {{1, 335, 4, -328}, {0, -324, -3, 336}}},
        {3, 3, {{2, 332, 3, -325}, {0, -327, -4, 331}}},
        {4, 4, {{5, 337, 4, -329}, {-2, -328, -2, 338}}},
    };
}

const std::vector<ActorRow>& ActorTable()
{
    static const std::vector<ActorRow> table = {
        /* 0 */ {1, FullField, {}, {}, {}},
        /* 1 */ {2, FullField, {}, {}, {}},
        /* 2 */ {1, FullField, {}, {}, {}},
        /* 3 */ {2, Button, {}, {}, {}},
        /* 4 */ {2, Button, {{0, 0, {49, -161, 162, -49}}}, {}, {}},
        /* 5 */ {2, Button, {}, {}, {}},
        /* 6 */ {2, Button, {}, {}, {}},
        /* 7 */ {2, {47, -154, 154, -47}, {}, {}, {}},
        /* 8 */ {6, Ball, {}, {{0, 5, {0, 3, 13}}}, {}},
        /* 9 */ {1, {16, -13, 13, -10}, {}, {{0, 0, {0, 2, 12}}}, {}},
        /* 10 */ {2, SmallButton, {}, {}, {}},
        /* 11 */ {2, SmallButton, {}, {}, {}},
        /* 12 */ {1, FullField, {}, {}, {}},
        /* 13 */ {2, SmallButton, {{1, 1, {50, -79, 79, -51}}}, {}, {}},
        /* 14 */ {2, SmallButton, {{1, 1, {50, -79, 79, -51}}}, {}, {}},
        /* 15 */ {2, SmallButton, {}, {}, {}},
        /* 16 */ {1, FullField, {}, {}, {}},
        /* 17 */ {1, FullField, {}, {}, {}},
        /* 18 */
        {6,
         Ball,
         {},
         {{0, 0, {0, 3, 8}}, {1, 1, {1, 3, 8}}, {2, 2, {1, 3, 9}}, {3, 3, {0, 3, 8}}, {4, 5, {0, 2, 10}}},
         {}},
        /* 19 */ {8, Ball, {}, {{6, 6, {0, 3, 10}}, {7, 7, {0, 2, 10}}}, {}},
        /* 20 */ {1, PowerUp, {}, {{0, 0, {0, 1, 9}}}, {}},
        /* 21 */ {7, Ball, {}, {{6, 6, {0, 3, 11}}}, {}},
        /* 22 */ {1, PowerUp, {}, {{0, 0, {1, 1, 29}}}, {}},
        /* 23 */ {6, PowerUp, {}, {{0, 5, {-1, 1, 10}}}, {}},
        /* 24 */ {11, {46, -493, 493, -46}, {}, {}, HorizontalBeam()},
        /* 25 */ {11, VerticalBeam, {}, {}, VerticalBeamSegments()},
        /* 26 */
        {25,
         PowerUp,
         {{9, 11, {42, -42, 378, -378}}},
         {{0, 3, {-4, 2, 15}}, {4, 19, {-3, 1, 15}}, {20, 20, {1, 1, 29}}, {21, 24, {-3, 1, 15}}},
         {}},
        /* 27 */ {5, VerticalBeam, {}, {}, WhiteBeam()},
        /* 28 */ {1, FullField, {}, {}, {}},
        /* 29 */ {2, FullField, {}, {}, {}},
        /* 30 */ {1, FullField, {}, {}, {}},
        /* 31 */ {8, Ball, {}, {}, {}},
        /* 32 */ {1, FullField, {}, {}, {}},
        /* 33 */ {2, {42, -280, 280, -42}, {}, {}, {}},
        /* 34 */ {1, VerticalBeam, {}, {}, {{0, 0, {{4, 333, 6, -325}, {-4, -324, -2, 334}}}}},
        /* 35 */ {1, FullField, {}, {}, {}},
        /* 36 */ {1, FullField, {}, {}, {}},
        /* 37 */ {1, FullField, {}, {}, {}},
        /* 38 */ {2, WideButton, {}, {}, {}},
        /* 39 */ {2, SmallButton, {{1, 1, {50, -79, 79, -51}}}, {}, {}},
        /* 40 */ {4, WideButton, {{1, 1, {35, -112, 113, -35}}}, {}, {}},
        /* 41 */ {1, FullField, {}, {}, {}},
    };
    return table;
}

bool InRun(std::uint32_t frame, std::uint32_t first, std::uint32_t last)
{
    return frame >= first && frame <= last;
}

Collision2D::CollisionActor* BuildActor(const ActorRow& row)
{
    auto* actor = new ("Brillow_CollisionActors", __LINE__) Collision2D::CollisionActor();
    auto* animation = new ("Brillow_CollisionActors", __LINE__) Collision2D::CollisionAnimation();
    for (std::uint32_t frame = 0; frame < row.frames; ++frame)
    {
        auto* collisionFrame = new ("Brillow_CollisionActors", __LINE__) Collision2D::CollisionFrame();
        Rect rectangle = row.rectangle;
        for (const Run<Rect>& other : row.otherRectangles)
        {
            if (InRun(frame, other.first, other.last))
            {
                rectangle = other.value;
            }
        }
        collisionFrame->SetBoundingRectangle(
            Collision2D::ZibRect(rectangle.top, rectangle.left, rectangle.right, rectangle.bottom), true);
        for (const Run<Circle>& circle : row.circles)
        {
            if (InRun(frame, circle.first, circle.last))
            {
                collisionFrame->AddCircle(Math::Vector2D(circle.value.x, circle.value.y), circle.value.radius,
                                          0, true);
            }
        }
        for (const SegmentRun& run : row.segments)
        {
            if (!InRun(frame, run.first, run.last))
            {
                continue;
            }
            for (const Segment& segment : run.segments)
            {
                collisionFrame->AddLineSegment(Math::Vector2D(segment.ax, segment.ay),
                                               Math::Vector2D(segment.bx, segment.by), 0, true);
            }
        }
        animation->AddCollisionFrame(collisionFrame);
    }
    actor->AddCollisionAnimation(animation);
    return actor;
}

} // namespace

void MyLevelFactory::BuildCollisionActors()
{
    const std::vector<ActorRow>& table = ActorTable();
    Velkor::Game* game = Velkor::Game::GetInstance();
    for (std::uint32_t number = 0; number < ActorCount && number < table.size(); ++number)
    {
        Collision2D::CollisionActor* actor = BuildActor(table[number]);
        actors_[number] = actor;
        if (game != nullptr)
        {
            game->AddCollisionAssets(actor);
        }
        else
        {
            // Nothing would own it.
            delete actor;
            actors_[number] = nullptr;
        }
    }
}

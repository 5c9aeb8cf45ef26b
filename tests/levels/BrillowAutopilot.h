#pragma once

// A player for the play level that a test runs frame by frame: it reads the
// level's objects through the game's lookups and answers where the pointer
// goes next (it never touches an object). Two temperaments:
//  - Win: to the nearest coloured ball, around white and spike balls while
//    they can hurt, out of the bands of the beams, taking shields and holes
//    on the way; while the stage is complete (the player white) it eats
//    everything left so that the white laser can sweep.
//  - Lose: to the nearest white ball, around the coloured balls.
//  - Tutorial: as Win, on the tutorial's own kinds of ball, beam and
//    pick-up (the twins of the play level's, under the same names).
// Each candidate place within a pointer step is scored by its distance to
// the target and by how close the enemies come to it over the next frames
// (their motion is read from their last two positions).
#include "game/Brillow_BlackHoleClass.h"
#include "game/Brillow_BlackHoleClassT.h"
#include "game/Brillow_FindObjects.h"
#include "game/Brillow_Lazer1Class.h"
#include "game/Brillow_Lazer1ClassT.h"
#include "game/Brillow_LazerClass.h"
#include "game/Brillow_LazerClassT.h"
#include "game/Brillow_MyGame.h"
#include "game/Brillow_ObjectRules.h"
#include "game/Brillow_PlayLevelFlags.h"
#include "game/Brillow_SpikeBall.h"
#include "game/Brillow_SpikeBallT.h"
#include "game/Brillow_SpriteMouseClass.h"
#include "game/Brillow_SpriteMouseClassT.h"
#include "game/Brillow_ball.h"
#include "game/Brillow_ballT.h"
#include "game/Brillow_bubblesheildpowerup.h"
#include "game/Brillow_bubblesheildpowerupT.h"
#include "game/Brillow_whiteball.h"
#include "game/Brillow_whiteballT.h"

#include "math/Math_Circle2D.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <vector>

namespace BrillowTest
{

class BrillowAutopilot
{
public:
    enum class Aim : std::uint8_t
    {
        Win,
        Lose,
        Tutorial,
    };

    // Pixels the pointer may move in one frame.
    static constexpr float MaximumStep = 26.0f;
    // Where the pointer may go (field units: the arena, whose walls stand
    // at 512 and 384).
    static constexpr float FieldX = 500.0f;
    static constexpr float FieldY = 372.0f;
    // Half widths of the beams' pictures.
    static constexpr float VerticalBeamHalfWidth = 38.0f;
    static constexpr float HorizontalBeamHalfHeight = 46.0f;

    explicit BrillowAutopilot(Aim aim = Aim::Win) : aim_(aim) {}

    // The field position the pointer takes for the next frame; `pointer`
    // is where it is now.
    Math::Vector2D Steer(const Math::Vector2D& pointer)
    {
        const PlayerBall* player =
            aim_ == Aim::Tutorial
                ? static_cast<const PlayerBall*>(FindObject<SpriteMouseClassT>("playerball"))
                : FindObject<SpriteMouseClass>("playerball");
        const Math::Vector2D here = player != nullptr ? player->GetPosition() : pointer;
        Observe();
        if (player == nullptr)
        {
            return pointer;
        }
        const bool complete = PlayLevelFlags::Read(PlayFlag::StageComplete) != 0;
        const bool holeOpen = PlayLevelFlags::Read(PlayFlag::BlackHoleActive) != 0;
        const bool powered = player->powered != 0 || holeOpen;
        playerRadius_ = Radius(*player, 30.0f);

        Math::Vector2D target = here;
        bool haveTarget = false;
        if (aim_ == Aim::Lose)
        {
            haveTarget = Nearest(Objects<whiteball, whiteballT>("wb"), here, target, 0.0f, false);
        }
        else
        {
            haveTarget = ChooseTarget(here, complete, powered, holeOpen, target);
        }
        const bool threatened = aim_ == Aim::Lose || !powered;

        // Candidates: standing still, the target itself when within a step,
        // and rings of directions.
        std::vector<Math::Vector2D> candidates{here};
        const Math::Vector2D toTarget = target - here;
        if (haveTarget && toTarget.Length() <= MaximumStep)
        {
            candidates.push_back(target);
        }
        for (int ring = 1; ring <= 3; ++ring)
        {
            const float radius = MaximumStep * static_cast<float>(ring) / 3.0f;
            for (int i = 0; i < 32; ++i)
            {
                const float angle = static_cast<float>(i) * 6.2831853f / 32.0f;
                candidates.push_back(here + Math::Vector2D(std::cos(angle), std::sin(angle)) * radius);
            }
        }
        float best = std::numeric_limits<float>::max();
        Math::Vector2D chosen = here;
        for (Math::Vector2D candidate : candidates)
        {
            candidate.x = std::clamp(candidate.x, -FieldX, FieldX);
            candidate.y = std::clamp(candidate.y, -FieldY, FieldY);
            float cost = haveTarget ? (target - candidate).Length() : 0.5f * candidate.Length();
            if (threatened)
            {
                cost += Danger(candidate);
            }
            if (Winning())
            {
                cost += BeamDanger(candidate);
            }
            if (cost < best)
            {
                best = cost;
                chosen = candidate;
            }
        }
        // Contacts are found along motion: a player resting on a ball
        // would never touch it, so the pointer always trembles a little.
        jitter_ = -jitter_;
        chosen.x = std::clamp(chosen.x + jitter_, -FieldX, FieldX);
        return chosen;
    }

private:
    struct Mover
    {
        Math::Vector2D at;
        // Units per frame.
        Math::Vector2D velocity;
        float radius = 28.0f;
    };

    static float Radius(const Velkor::GameObject& object, float fallback)
    {
        Math::Circle2D circle;
        return ObjectRules::GetFirstCircle(object, circle) ? circle.radius : fallback;
    }

    static bool OnField(const Math::Vector2D& at)
    {
        return std::fabs(at.x) <= FieldX + 15.0f && std::fabs(at.y) <= FieldY + 15.0f;
    }

    template <class T> static std::vector<T*> All(const char* name)
    {
        std::vector<T*> objects;
        FindAllObjects<T>(name, objects);
        return objects;
    }

    bool Winning() const { return aim_ != Aim::Lose; }

    // The objects named `name` of the play level's class `Play` or, in the
    // tutorial, of its twin `Twin`.
    template <class Play, class Twin> std::vector<const Velkor::GameObject*> Objects(const char* name) const
    {
        std::vector<const Velkor::GameObject*> objects;
        const auto take = [&objects](const auto& found) { objects.assign(found.begin(), found.end()); };
        if (aim_ == Aim::Tutorial)
        {
            take(All<Twin>(name));
        }
        else
        {
            take(All<Play>(name));
        }
        return objects;
    }

    // The enemies of this frame with their motion since the last one.
    void Observe()
    {
        std::map<const Velkor::GameObject*, Math::Vector2D> seen;
        threats_.clear();
        const auto add = [&](const Velkor::GameObject& enemy)
        {
            Mover mover;
            mover.at = enemy.GetPosition();
            const auto last = last_.find(&enemy);
            if (last != last_.end())
            {
                mover.velocity = mover.at - last->second;
                if (mover.velocity.Length() > 60.0f)
                {
                    mover.velocity = Math::Vector2D(0.0f, 0.0f);
                }
            }
            mover.radius = Radius(enemy, 28.0f);
            seen[&enemy] = mover.at;
            threats_.push_back(mover);
        };
        if (aim_ == Aim::Lose)
        {
            // Eating coloured balls (the ones a hit scatters too) would only
            // put off the end.
            for (const Velkor::GameObject* coloured : Objects<ball, ballT>("bgc"))
            {
                add(*coloured);
            }
        }
        else
        {
            for (const Velkor::GameObject* white : Objects<whiteball, whiteballT>("wb"))
            {
                add(*white);
            }
            for (const Velkor::GameObject* spike : Objects<SpikeBall, SpikeBallT>("ss"))
            {
                add(*spike);
            }
        }
        last_ = std::move(seen);
        verticalBeams_.clear();
        horizontalBeams_.clear();
        for (const Velkor::GameObject* beam : Objects<LazerClass, LazerClassT>("lz"))
        {
            verticalBeams_.push_back(beam->GetPositionX());
        }
        for (const Velkor::GameObject* beam : Objects<Lazer1Class, Lazer1ClassT>("lz1"))
        {
            horizontalBeams_.push_back(beam->GetPositionY());
        }
    }

    // How close the enemies come to `at` over the next frames, should the
    // player stay there; nearer frames weigh more.
    float Danger(const Math::Vector2D& at) const
    {
        float danger = 0.0f;
        for (const Mover& enemy : threats_)
        {
            const float reach = playerRadius_ + enemy.radius + 14.0f;
            for (int frame = 0; frame <= 16; frame += 2)
            {
                const Math::Vector2D there = enemy.at + enemy.velocity * static_cast<float>(frame + 1);
                const float gap = reach + 2.0f * static_cast<float>(frame) - (there - at).Length();
                if (gap > 0.0f)
                {
                    danger += gap * (frame <= 4 ? 60.0f : 12.0f);
                }
            }
            // A general unease near every enemy keeps the path clear.
            const float near = reach + 70.0f - (enemy.at - at).Length();
            if (near > 0.0f)
            {
                danger += near * 1.5f;
            }
        }
        return danger;
    }

    float BeamDanger(const Math::Vector2D& at) const
    {
        float danger = 0.0f;
        const float margin = playerRadius_ + 18.0f;
        for (const float x : verticalBeams_)
        {
            const float gap = VerticalBeamHalfWidth + margin - std::fabs(at.x - x);
            danger += gap > 0.0f ? 10000.0f + gap * 100.0f : 0.0f;
        }
        for (const float y : horizontalBeams_)
        {
            const float gap = HorizontalBeamHalfHeight + margin - std::fabs(at.y - y);
            danger += gap > 0.0f ? 10000.0f + gap * 100.0f : 0.0f;
        }
        return danger;
    }

    bool InBeam(const Math::Vector2D& at) const { return BeamDanger(at) > 0.0f; }

    // Unease around `at` from the enemies (a target beside one waits).
    float Crowding(const Math::Vector2D& at) const
    {
        float crowding = 0.0f;
        for (const Mover& enemy : threats_)
        {
            const float near = 150.0f - (enemy.at - at).Length();
            crowding += near > 0.0f ? near * 2.0f : 0.0f;
        }
        return crowding;
    }

    // The nearest of `objects` on the field; `bias` makes it look nearer,
    // `crowded` adds the enemies' unease around it.
    bool Nearest(const std::vector<const Velkor::GameObject*>& objects, const Math::Vector2D& here,
                 Math::Vector2D& target, float bias, bool crowded, float* score = nullptr) const
    {
        float best = score != nullptr ? *score : std::numeric_limits<float>::max();
        bool found = false;
        for (const Velkor::GameObject* object : objects)
        {
            const Math::Vector2D at = object->GetPosition();
            if (!OnField(at) || (Winning() && InBeam(at)))
            {
                continue;
            }
            const float cost = (at - here).Length() - bias + (crowded ? Crowding(at) : 0.0f);
            if (cost < best)
            {
                best = cost;
                target = at;
                found = true;
            }
        }
        if (score != nullptr)
        {
            *score = best;
        }
        return found;
    }

    bool ChooseTarget(const Math::Vector2D& here, bool complete, bool powered, bool holeOpen,
                      Math::Vector2D& target) const
    {
        float score = std::numeric_limits<float>::max();
        bool found = Nearest(Objects<ball, ballT>("bgc"), here, target, 0.0f, !powered, &score);
        if (complete || powered)
        {
            const float bias = complete ? 0.0f : 100.0f;
            found |= Nearest(Objects<whiteball, whiteballT>("wb"), here, target, bias, false, &score);
            found |= Nearest(Objects<SpikeBall, SpikeBallT>("ss"), here, target, bias, false, &score);
        }
        if (!complete)
        {
            found |= Nearest(Objects<bubblesheildpowerup, bubblesheildpowerupT>("bup"), here, target, 200.0f,
                             !powered, &score);
            if (!holeOpen)
            {
                found |= Nearest(Objects<BlackHoleClass, BlackHoleClassT>("bhpu"), here, target, 200.0f,
                                 !powered, &score);
            }
        }
        return found;
    }

    Aim aim_;
    float jitter_ = 2.0f;
    float playerRadius_ = 30.0f;
    std::vector<Mover> threats_;
    std::vector<float> verticalBeams_;
    std::vector<float> horizontalBeams_;
    std::map<const Velkor::GameObject*, Math::Vector2D> last_;
};

} // namespace BrillowTest

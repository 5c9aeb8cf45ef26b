// The contact rules: which touching objects bounce off each other, and how.
// Every answer depends on the two object names alone, so each name is first
// sorted into the few kinds the rules know and the answer read from a table.
#include "framework/Velkor_GameObject.h"
#include "game/Brillow_BonusLazerClass.h"
#include "game/Brillow_MyGame.h"

#include <array>
#include <string>

namespace
{

enum Kind : std::uint8_t
{
    Other,
    PlayerBall,
    Ball,
    WhiteBall,
    Bgc,
    Wb,
    Ss,
    Bup,
    Bhpu,
    Lz,
    Lz1,
    Blz,
    Ui,
    PausedMouse2,
    KindCount,
};

constexpr const char* KindNames[KindCount] = {
    "",    "playerball", "ball", "whiteball", "bgc", "wb", "ss",
    "bup", "bhpu",       "lz",   "lz1",       "blz", "ui", "PausedMouse2",
};

Kind KindOf(const Velkor::GameObject* object)
{
    if (object == nullptr)
    {
        return Other;
    }
    const std::string& name = object->GetName();
    for (std::uint8_t kind = PlayerBall; kind < KindCount; ++kind)
    {
        if (name == KindNames[kind])
        {
            return static_cast<Kind>(kind);
        }
    }
    return Other;
}

// Untouched: a contact with the coefficients as they came.
enum class Outcome : std::uint8_t
{
    Untouched,
    Elastic,
    Dead,
    None,
};

struct PairRule
{
    Kind first;
    Kind second;
    Outcome outcome;
};

// The general rules; each holds for both orders of the pair.
constexpr PairRule GeneralRules[] = {
    {Wb, Wb, Outcome::Elastic},
    {Wb, Lz, Outcome::Elastic},
    {Wb, Lz1, Outcome::Elastic},
    {Bgc, Bgc, Outcome::Elastic},
    {Bgc, Lz, Outcome::Elastic},
    {Bgc, Lz1, Outcome::Elastic},
    {Bgc, Ui, Outcome::Elastic},
    {Wb, Ui, Outcome::Dead},
    {Ss, Lz, Outcome::Dead},
    {Ss, Lz1, Outcome::Dead},
    {Wb, Bgc, Outcome::None},
    {Wb, Ss, Outcome::None},
    {Wb, Bup, Outcome::None},
    {Wb, Bhpu, Outcome::None},
    {Wb, Blz, Outcome::None},
    {Wb, PlayerBall, Outcome::None},
    {Wb, PausedMouse2, Outcome::None},
    {Bgc, Bup, Outcome::None},
    {Bgc, Bhpu, Outcome::None},
    {Bgc, Blz, Outcome::None},
    {Bgc, PausedMouse2, Outcome::None},
    {Ss, Bup, Outcome::None},
    {Ss, Bhpu, Outcome::None},
    {Ss, Blz, Outcome::None},
    {Lz, PlayerBall, Outcome::None},
    {Lz, PausedMouse2, Outcome::None},
    {Lz1, PlayerBall, Outcome::None},
    {Lz1, PausedMouse2, Outcome::None},
    {Blz, Bup, Outcome::None},
    {Blz, Bhpu, Outcome::None},
    {Blz, PlayerBall, Outcome::None},
    {Blz, PausedMouse2, Outcome::None},
    {PausedMouse2, Bup, Outcome::None},
    {PausedMouse2, Bhpu, Outcome::None},
    {PausedMouse2, PlayerBall, Outcome::None},
};

using OutcomeTable = std::array<std::array<Outcome, KindCount>, KindCount>;

const OutcomeTable& GeneralTable()
{
    static const OutcomeTable table = []
    {
        OutcomeTable made{};
        for (const PairRule& rule : GeneralRules)
        {
            made[rule.first][rule.second] = rule.outcome;
            made[rule.second][rule.first] = rule.outcome;
        }
        return made;
    }();
    return table;
}

bool Apply(Outcome outcome, float& restitution, float& friction)
{
    switch (outcome)
    {
    case Outcome::Elastic:
        restitution = 1.0f;
        friction = 0.0f;
        return true;
    case Outcome::Dead:
        restitution = 0.0f;
        friction = 0.0f;
        return true;
    case Outcome::None:
        return false;
    case Outcome::Untouched:
        break;
    }
    return true;
}

bool General(Kind first, Velkor::GameObject* second, float& restitution, float& friction)
{
    if (second == nullptr)
    {
        // The arena walls keep the balls' speed.
        return first == Wb || first == Bgc ? Apply(Outcome::Elastic, restitution, friction) : true;
    }
    return Apply(GeneralTable()[first][KindOf(second)], restitution, friction);
}

// `kind` is KindOf(object), which the caller has already found.
bool IsSweepingOut(Kind kind, const Velkor::GameObject* object)
{
    if (kind != Blz)
    {
        return false;
    }
    const auto* laser = dynamic_cast<const BonusLazerClass*>(object);
    return laser != nullptr && laser->speed == BonusLazerRules::OutSpeed;
}

bool IsPair(Kind first, Kind second, Kind a, Kind b)
{
    return (first == a && second == b) || (first == b && second == a);
}

} // namespace

bool MyGame::OnContact(Velkor::GameObject* first, Velkor::GameObject* second, float& restitution,
                       float& friction)
{
    switch (GetCurrentLevelIndex())
    {
    case 1:
    case 4:
        return ApplyPlayContactRules(first, second, restitution, friction);
    case 0:
    case 2:
    case 3:
    case 5:
    case 6:
    case 7:
    case 8:
        return ApplyContactRules(first, second, restitution, friction);
    default:
        return true;
    }
}

bool MyGame::ApplyContactRules(Velkor::GameObject* first, Velkor::GameObject* second, float& restitution,
                               float& friction)
{
    return General(KindOf(first), second, restitution, friction);
}

bool MyGame::ApplyPlayContactRules(Velkor::GameObject* first, Velkor::GameObject* second, float& restitution,
                                   float& friction)
{
    const Kind a = KindOf(first);
    const Kind b = KindOf(second);
    // The white laser waits against the arena's right wall while balls are
    // left; once it sweeps out, nothing stops it. (Leaving the wall, it
    // still crosses the wall's outward-facing side, whose contact would push
    // it back every frame, and the stage would never rise.)
    if (IsSweepingOut(a, first) || IsSweepingOut(b, second))
    {
        return false;
    }
    if (second == nullptr)
    {
        if (a == WhiteBall || a == Ui)
        {
            friction = 0.0f;
        }
        return General(a, second, restitution, friction);
    }
    if (IsPair(a, b, PlayerBall, Ui))
    {
        friction = 0.0f;
    }
    if (IsPair(a, b, Ball, Ui))
    {
        restitution = 1.0f;
    }
    // The prototypes and the player ball pass through each other.
    if (IsPair(a, b, Ball, PlayerBall) || IsPair(a, b, Ball, WhiteBall) ||
        IsPair(a, b, WhiteBall, PlayerBall))
    {
        return false;
    }
    // "ui" is an immovable wall for these three: it is never pushed, and
    // pushes them back alone.
    if (b == Ui && (a == PlayerBall || a == Ball || a == WhiteBall))
    {
        Velkor::Game::SetOneWayCollision(true);
        return true;
    }
    if (a == Ui && (b == PlayerBall || b == Ball || b == WhiteBall))
    {
        return false;
    }
    return General(a, second, restitution, friction);
}

// The contact rules as one table: (level index, first name, second name or
// the static geometry) -> (contact, restitution, friction, one-way).
#include "GameTestSupport.h"

#include "framework/Velkor_Sprite.h"
#include "game/Brillow_BonusLazerClass.h"

#include <gtest/gtest.h>

#include <optional>

namespace
{

using namespace BrillowTest;

// Ten plain levels, so that an index past the game's nine can be current.
class TenLevels : public Velkor::LevelFactory
{
public:
    std::uint32_t GetLevelCount() override { return 10; }
    Velkor::Level* CreateLevel(std::uint32_t) override { return new Velkor::Level(); }
};

struct ContactCase
{
    std::uint32_t level;
    const char* first;
    // Null: the layer's static geometry.
    const char* second;
    bool contact;
    float restitution;
    float friction;
    bool oneWay;
};

constexpr float R = 0.3f;
constexpr float F = 0.5f;

const ContactCase Cases[] = {
    // General rules, asked in level 0; each pair also the other way round.
    {0, "bgc", "bgc", true, 1.0f, 0.0f, false},
    {0, "wb", "wb", true, 1.0f, 0.0f, false},
    {0, "lz", "wb", true, 1.0f, 0.0f, false},
    {0, "wb", "lz1", true, 1.0f, 0.0f, false},
    {0, "bgc", "lz", true, 1.0f, 0.0f, false},
    {0, "lz1", "bgc", true, 1.0f, 0.0f, false},
    {0, "ui", "bgc", true, 1.0f, 0.0f, false},
    {0, "wb", "ui", true, 0.0f, 0.0f, false},
    {0, "ss", "lz", true, 0.0f, 0.0f, false},
    {0, "lz1", "ss", true, 0.0f, 0.0f, false},
    {0, "wb", "bgc", false, R, F, false},
    {0, "bgc", "wb", false, R, F, false},
    {0, "ss", "wb", false, R, F, false},
    {0, "wb", "bup", false, R, F, false},
    {0, "bhpu", "wb", false, R, F, false},
    {0, "wb", "blz", false, R, F, false},
    {0, "playerball", "wb", false, R, F, false},
    {0, "wb", "PausedMouse2", false, R, F, false},
    {0, "bup", "bgc", false, R, F, false},
    {0, "bgc", "bhpu", false, R, F, false},
    {0, "blz", "bgc", false, R, F, false},
    {0, "bgc", "PausedMouse2", false, R, F, false},
    {0, "ss", "bup", false, R, F, false},
    {0, "bhpu", "ss", false, R, F, false},
    {0, "ss", "blz", false, R, F, false},
    {0, "lz", "playerball", false, R, F, false},
    {0, "PausedMouse2", "lz", false, R, F, false},
    {0, "playerball", "lz1", false, R, F, false},
    {0, "lz1", "PausedMouse2", false, R, F, false},
    {0, "blz", "bup", false, R, F, false},
    {0, "bhpu", "blz", false, R, F, false},
    {0, "playerball", "blz", false, R, F, false},
    {0, "blz", "PausedMouse2", false, R, F, false},
    {0, "bup", "PausedMouse2", false, R, F, false},
    {0, "PausedMouse2", "bhpu", false, R, F, false},
    {0, "playerball", "PausedMouse2", false, R, F, false},
    {0, "ss", "ss", true, R, F, false},
    {0, "playerball", "bgc", true, R, F, false},
    {0, "wb", nullptr, true, 1.0f, 0.0f, false},
    {0, "bgc", nullptr, true, 1.0f, 0.0f, false},
    {0, "playerball", nullptr, true, R, F, false},
    {0, "whiteball", nullptr, true, R, F, false},
    // Only the play rules know the prototypes and the picture "ui".
    {0, "ball", "ui", true, R, F, false},
    {0, "playerball", "ui", true, R, F, false},
    {0, "ball", "playerball", true, R, F, false},
    // Play rules, in level 1 and in the tutorial (4).
    {1, "playerball", "ui", true, R, 0.0f, true},
    {1, "ui", "playerball", false, R, F, false},
    {1, "ball", "ui", true, 1.0f, F, true},
    {1, "ui", "ball", false, R, F, false},
    {4, "whiteball", "ui", true, R, F, true},
    {4, "ui", "whiteball", false, R, F, false},
    {1, "ball", "playerball", false, R, F, false},
    {1, "playerball", "ball", false, R, F, false},
    {4, "ball", "whiteball", false, R, F, false},
    {1, "whiteball", "ball", false, R, F, false},
    {1, "whiteball", "playerball", false, R, F, false},
    {4, "playerball", "whiteball", false, R, F, false},
    // ... which hand everything else over to the general rules.
    {1, "playerball", "lz", false, R, F, false},
    {1, "bgc", "bgc", true, 1.0f, 0.0f, false},
    {4, "bgc", "wb", false, R, F, false},
    {1, "wb", "ui", true, 0.0f, 0.0f, false},
    {1, "whiteball", nullptr, true, R, 0.0f, false},
    {4, "ui", nullptr, true, R, 0.0f, false},
    {1, "bgc", nullptr, true, 1.0f, 0.0f, false},
    {1, "playerball", nullptr, true, R, F, false},
    // The other screens use the general rules; an index past them collides
    // everything with the coefficients untouched.
    {2, "wb", "bgc", false, R, F, false},
    {3, "bgc", "bgc", true, 1.0f, 0.0f, false},
    {5, "lz", "playerball", false, R, F, false},
    {6, "ss", "bup", false, R, F, false},
    {7, "wb", nullptr, true, 1.0f, 0.0f, false},
    {8, "bgc", "bgc", true, 1.0f, 0.0f, false},
    {9, "bgc", "wb", true, R, F, false},
    {9, "bgc", "bgc", true, R, F, false},
    {9, "ui", "playerball", true, R, F, false},
};

class ContactRulesDisplayTest : public MyGameDisplayTest
{
protected:
    MyGame& MakeTenLevelGame()
    {
        game = new MyGame(new TenLevels(), MyGame::GetDisplayRequest(), 0);
        // No level machine: the test chooses the level.
        game->levelSM.Reset();
        return *game;
    }

    Core::RefPtr<Velkor::Sprite> Named(const char* name)
    {
        Core::RefPtr<Velkor::Sprite> sprite(new Velkor::Sprite());
        sprite->SetName(name);
        return sprite;
    }
};

TEST_F(ContactRulesDisplayTest, EveryRuleAnswersByLevelAndNames)
{
    MyGame& made = MakeTenLevelGame();
    Tick();
    for (const ContactCase& c : Cases)
    {
        if (made.GetCurrentLevelIndex() != c.level)
        {
            made.ChangeLevel(c.level);
            Tick();
        }
        ASSERT_EQ(made.GetCurrentLevelIndex(), c.level);
        const Core::RefPtr<Velkor::Sprite> first = Named(c.first);
        const Core::RefPtr<Velkor::Sprite> second = c.second != nullptr ? Named(c.second) : nullptr;
        float restitution = 0.3f;
        float friction = 0.5f;
        Velkor::Game::SetOneWayCollision(false);
        const bool contact = made.OnContact(first.Get(), second.Get(), restitution, friction);
        SCOPED_TRACE(::testing::Message() << "level " << c.level << ": " << c.first << " with "
                                          << (c.second != nullptr ? c.second : "static geometry"));
        EXPECT_EQ(contact, c.contact);
        if (contact)
        {
            EXPECT_FLOAT_EQ(restitution, c.restitution);
            EXPECT_FLOAT_EQ(friction, c.friction);
            EXPECT_EQ(Velkor::Game::GetOneWayCollision(), c.oneWay);
        }
    }
    Velkor::Game::SetOneWayCollision(false);
}

TEST_F(ContactRulesDisplayTest, TheWhiteLaserWaitsAtTheWallButNothingStopsItsSweep)
{
    MyGame& made = MakeTenLevelGame();
    Tick();
    const Core::RefPtr<BonusLazerClass> laser(new BonusLazerClass());
    laser->SetName("blz");
    const Core::RefPtr<Velkor::Sprite> prototype = Named("WhiteLazer");
    for (const std::uint32_t level : {1u, 4u})
    {
        made.ChangeLevel(level);
        Tick();
        ASSERT_EQ(made.GetCurrentLevelIndex(), level);
        for (const bool sweeping : {false, true})
        {
            SCOPED_TRACE(::testing::Message() << "level " << level << (sweeping ? ", sweeping" : ", waiting"));
            laser->speed = sweeping ? BonusLazerRules::OutSpeed : BonusLazerRules::InSpeed;
            float restitution = 0.3f;
            float friction = 0.5f;
            EXPECT_EQ(made.OnContact(laser.Get(), nullptr, restitution, friction), !sweeping);
            EXPECT_EQ(made.OnContact(laser.Get(), prototype.Get(), restitution, friction), !sweeping);
            EXPECT_EQ(made.OnContact(prototype.Get(), laser.Get(), restitution, friction), !sweeping);
        }
    }
    // A white laser of another name is no sweeping laser.
    laser->SetName("WhiteLazer");
    float restitution = 0.3f;
    float friction = 0.5f;
    EXPECT_TRUE(made.OnContact(laser.Get(), nullptr, restitution, friction));
}

} // namespace

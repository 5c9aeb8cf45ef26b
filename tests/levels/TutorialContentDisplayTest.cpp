// Level 4's content as built: the objects of each layer with their classes,
// the hint texts byte for byte in their fonts, the prototypes' settings,
// collision objects and bodies, the sounds, and the frames of every sprite
// against its actor; a network client's build runs without collision
// objects or bodies.
#include "TutorialTestSupport.h"

#include "core/Core_String.h"
#include "engine/Engine_BitmapFont.h"
#include "engine/Engine_Text.h"
#include "framework/Velkor_Sound.h"
#include "framework/Velkor_Text.h"
#include "game/Brillow_ballT.h"

#include <map>
#include <set>

namespace
{

using namespace BrillowTest;

class TutorialContentDisplayTest : public TutorialDisplayTest
{
protected:
    // The objects of `layer` as the level builds them, by name, before the
    // tutorial has spawned anything.
    std::map<std::string, Velkor::GameObject*> Built(std::uint32_t layer) const
    {
        Velkor::Layer::ObjectList objects;
        Tutorial()->GetLayer(layer)->GetGameObjects(objects);
        std::map<std::string, Velkor::GameObject*> named;
        for (const Core::RefPtr<Velkor::GameObject>& object : objects)
        {
            EXPECT_TRUE(named.emplace(object->GetName(), object.Get()).second) << object->GetName();
        }
        return named;
    }
};

std::string FontOf(const Velkor::Text& text)
{
    const auto& font = text.GetEngineText()->GetFont();
    return font ? Core::GetFileName(font->GetName()) : std::string();
}

TEST_F(TutorialContentDisplayTest, TheHudHoldsTheScoreTextsAndTheHintsByteForByte)
{
    EnterTutorial();
    const auto hud = Built(0);
    EXPECT_EQ(hud.size(), 14u);
    const char* lf = "\n";
    const char* tab = "\t";
    const struct
    {
        const char* name;
        const char* className;
        const char* font;
        std::string text;
    } texts[] = {
        {"levelscoreText", "Velkor::Text", "Font1", "00"},
        {"scoreText", "Velkor::Text", "Font0", "Score:"},
        {"nextlevelText", "Velkor::Text", "Font0", "To Next Level"},
        {"debugtext", "Velkor::Text", "Font0", "MyText"},
        {"intro", "VisibilityClass", "DefaultFont", "This is you.."},
        {"nextblue", "Visibility1Class", "DefaultFont",
         std::string("Those are your targets ! Increase your score ") + lf + tab + std::string(15, ' ') +
             "by eating up solid balls." + lf},
        {"nextenemy", "Visibility2Class", "Red",
         std::string("Watch Out ! Wild enemies appear !") + lf + tab + tab + " Avoid contacting them !"},
        {"anotherenemy", "Visibility3Class", "Red",
         std::string("Another wild enemy appears ! Avoid them and consume") + lf + tab + tab + tab +
             std::string(8, ' ') + "your target ball before it does."},
        {"more", "Visibility4Class", "Red", "More enemies ! Time to get serious !"},
        {"destroy", "Visibility5Class", "DefaultFont",
         std::string("Activate the power up ! Let's destroy those enemy balls. ") + lf},
        {"obstacles", "Visibility6Class", "Red",
         "Wild lazer appear ! Do not touch it or suffer the consequences !"},
        {"powerup1", "Visibility7Class", "DefaultFont", "Here's another power up to help ! Grab it !"},
        {"Invincible", "Visibility8Class", "DefaultFont",
         "Kill all the enemies, get pass the lazers and consume your targets !"},
        {"Nextlevel", "Visibility9Class", "Win",
         "Congratulation ! You have successfully cleared the tutorial level."},
    };
    for (const auto& expected : texts)
    {
        SCOPED_TRACE(expected.name);
        ASSERT_EQ(hud.count(expected.name), 1u);
        const auto* text = dynamic_cast<const Velkor::Text*>(hud.at(expected.name));
        ASSERT_NE(text, nullptr);
        EXPECT_STREQ(text->GetClassName(), expected.className);
        EXPECT_EQ(FontOf(*text), expected.font);
        EXPECT_TRUE(text->IsHUDObject());
        // The score texts are rewritten every frame; the hints never.
        if (std::string(expected.className) != "Velkor::Text")
        {
            EXPECT_EQ(text->GetText(), expected.text);
        }
    }
}

TEST_F(TutorialContentDisplayTest, TheFieldHoldsTheSoundsAndTheTutorialsPrototypes)
{
    EnterTutorial();
    const auto field = Built(1);
    EXPECT_EQ(field.size(), 25u);
    EXPECT_EQ(Built(2).size(), 1u);

    const std::map<std::string, std::string> classes = {
        {"background", "Velkor::Sprite"},
        {"Bonus", "BonusTextThing"},
        {"ball", "ballT"},
        {"whiteball", "whiteballT"},
        {"sheildpowerup", "bubblesheildpowerupT"},
        {"spikeball", "SpikeBallT"},
        {"sprite0", "Velkor::Sprite"},
        {"blackHolePU", "BlackHoleClassT"},
        {"Lazer1", "Lazer1ClassT"},
        {"Lazer", "LazerClassT"},
        {"WhiteLazer", "BonusLazerClassT"},
        {"playerball", "SpriteMouseClassT"},
        {"ui", "Velkor::Sprite"},
        {"BorderColour", "BorderClassT"},
    };
    std::set<std::string> withBodies;
    for (const auto& [name, className] : classes)
    {
        SCOPED_TRACE(name);
        ASSERT_EQ(field.count(name), 1u);
        const auto* sprite = dynamic_cast<const Velkor::Sprite*>(field.at(name));
        ASSERT_NE(sprite, nullptr);
        EXPECT_EQ(sprite->GetClassName(), className);
        // Only the two pictures carry an actor without a collision object.
        const bool picture = name == "background" || name == "ui";
        EXPECT_EQ(sprite->GetDynamicCollisionObject() == nullptr, picture);
        if (sprite->GetPhysicsId() != 0)
        {
            withBodies.insert(name);
        }
    }
    EXPECT_EQ(withBodies, (std::set<std::string>{"ball", "whiteball", "spikeball", "sprite0", "playerball",
                                                 "WhiteLazer"}));
    EXPECT_EQ(static_cast<const Velkor::Sprite*>(field.at("background"))->GetCollisionActorIndex(), 16);
    EXPECT_EQ(static_cast<const Velkor::Sprite*>(field.at("ui"))->GetCollisionActorIndex(), 28);
    EXPECT_EQ(static_cast<const Velkor::Sprite*>(field.at("WhiteLazer"))->GetCollisionActorIndex(), 34);
    EXPECT_FLOAT_EQ(field.at("Lazer1")->GetPositionY(), -429.0f);

    const auto* whiteBall = static_cast<const Velkor::Sprite*>(field.at("whiteball"));
    EXPECT_FALSE(whiteBall->GetVisible());
    EXPECT_EQ(whiteBall->GetCurrentAnimationIndex(), 1u);
    EXPECT_TRUE(whiteBall->IsPlaying());
    EXPECT_FALSE(whiteBall->GetLoop());

    const std::map<std::string, std::string> files = {
        {"lazerstay", "LaserBeam_Loop35_1.wav"},
        {"lazerstart", "LaserBeam_Loop21_1.wav"},
        {"lazerend", "Laser_ShrinkRay_Shrinking03_1.wav"},
        {"lazerstay1", "LaserBeam_Loop35_0_0.wav"},
        {"lazerstart1", "LaserBeam_Loop21_0_0.wav"},
        {"lazerend1", "Laser_ShrinkRay_Shrinking03_0_0.wav"},
        {"blackholesound", "Mystical_EnergyLoop38_0.wav"},
        {"eatball", "PopCartoon CTE02_07_0.wav"},
        {"damaged", "HitPunch CTE01_78.2_0.wav"},
        {"lazerzap", "ZapCartoon CTE02_91.1_0.wav"},
        {"bonuslevels", "15 - Laser #2- Long, Oscillating Blast_0.wav"},
    };
    std::set<std::string> looping;
    for (const auto& [name, file] : files)
    {
        SCOPED_TRACE(name);
        ASSERT_EQ(field.count(name), 1u);
        auto* sound = dynamic_cast<Velkor::Sound*>(field.at(name));
        ASSERT_NE(sound, nullptr);
        EXPECT_EQ(Core::GetFileName(sound->GetFileName()), file);
        EXPECT_FLOAT_EQ(sound->GetVolume(), name == "bonuslevels" ? 0.46f : 1.0f);
        if (sound->GetLooping() != 0)
        {
            looping.insert(name);
        }
    }
    EXPECT_EQ(looping, (std::set<std::string>{"lazerstay", "lazerstay1", "blackholesound", "bonuslevels"}));
}

// Every sprite with a collision actor has as many frames as the actor, so
// the actor follows each frame it shows.
TEST_F(TutorialContentDisplayTest, EverySpriteHasTheFramesOfItsActor)
{
    EnterTutorial();
    for (const auto& [name, object] : Built(1))
    {
        const auto* sprite = dynamic_cast<const Velkor::Sprite*>(object);
        if (sprite == nullptr || sprite->GetCollisionActorIndex() < 0)
        {
            continue;
        }
        EXPECT_EQ(SpriteFrames(*sprite), ActorFrames(sprite->GetCollisionActorIndex())) << name;
    }
}

// A network client builds the level without collision objects or bodies:
// the script still brings its first balls and nothing needs the missing
// objects.
TEST_F(TutorialContentDisplayTest, ANetworkClientRunsWithoutCollisionObjectsOrBodies)
{
    StartAsNetworkClient(4);
    ASSERT_NE(Tutorial(), nullptr);
    Frame(400);
    ASSERT_NE(Tutorial(), nullptr);
    ExpectNoCollisionObjectsOrBodies();
    EXPECT_EQ(Tutorial()->firstBallsSpawned, 1);
    EXPECT_GE(Count<ballT>("bgc"), 1u);
    EndNetworkClient();
}

} // namespace

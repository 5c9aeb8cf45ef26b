// The tutorial ("TutorialLevel"): the score texts and the ten hint texts on
// the HUD layer; the sound effects (the tutorial's own copies), the field
// pictures, the border, the player ball and one hidden prototype of every
// ball, laser and pick-up (outside the visible field) on "layer1", all of
// the tutorial's classes.
#include "levels/Brillow_ContentRows.h"

namespace
{

using namespace ContentRows;

TextRow Hint(const char* className, const char* name, const char* font, std::string text, float x, float y)
{
    return {className, name, font, std::move(text), Math::Vector2D(x, y), 0.0f, true};
}

// The hints that run over two lines keep their own line feeds, tabs and
// blanks: the second line is set in under the first by them.
std::string Blanks(std::size_t count)
{
    return std::string(count, ' ');
}

std::vector<ContentRow> HudLayer()
{
    const char* standard = "DefaultFont\\DefaultFont";
    return {
        TextRow{"Velkor::Text", "levelscoreText", "Font1\\Font1", "00", Math::Vector2D(-20.0f, 323.0f), 0.0f,
                true},
        TextRow{"Velkor::Text", "scoreText", "Font0\\Font0", "Score:", Math::Vector2D(-249.0f, 337.0f), 0.0f,
                true},
        TextRow{"Velkor::Text", "nextlevelText", "Font0\\Font0", "To Next Level",
                Math::Vector2D(130.0f, 337.0f), 0.0f, true},
        TextRow{"Velkor::Text", "debugtext", "Font0\\Font0", "MyText", Math::Vector2D(642.0f, -228.0f), 0.0f,
                true},
        Hint("VisibilityClass", "intro", standard, "This is you..", -71, 239),
        Hint("Visibility1Class", "nextblue", standard,
             "Those are your targets ! Increase your score \n\t" + Blanks(15) + "by eating up solid balls.\n",
             -257, 240),
        Hint("Visibility2Class", "nextenemy", "Red\\Red",
             "Watch Out ! Wild enemies appear !\n\t\t Avoid contacting them !", -210, 240),
        Hint("Visibility3Class", "anotherenemy", "Red\\Red",
             "Another wild enemy appears ! Avoid them and consume\n\t\t\t" + Blanks(8) +
                 "your target ball before it does.",
             -333, 240),
        Hint("Visibility4Class", "more", "Red\\Red", "More enemies ! Time to get serious !", -220, 240),
        Hint("Visibility5Class", "destroy", standard,
             "Activate the power up ! Let's destroy those enemy balls. \n", -334, 240),
        Hint("Visibility6Class", "obstacles", "Red\\Red",
             "Wild lazer appear ! Do not touch it or suffer the consequences !", -370, 240),
        Hint("Visibility7Class", "powerup1", standard, "Here's another power up to help ! Grab it !", -255,
             238),
        Hint("Visibility8Class", "Invincible", standard,
             "Kill all the enemies, get pass the lazers and consume your targets !", -372, 240),
        Hint("Visibility9Class", "Nextlevel", "Win\\Win",
             "Congratulation ! You have successfully cleared the tutorial level.", -373, 240),
    };
}

std::vector<ContentRow> TutorialLayer()
{
    SpriteRow whiteBall = Sprite("whiteballT", "whiteball", WhiteBallLooks(), true, false, {-570, -237, 0},
                                 19, Shapes(8, 1, {0}, true), true);
    whiteBall.startAnimation = 1;
    whiteBall.visible = false;
    return {
        Sound("LazerSound", "lazerstay", "LaserBeam_Loop35_1.wav", true),
        Sound("LazerStart", "lazerstart", "LaserBeam_Loop21_1.wav", false),
        Sound("LazerEnd", "lazerend", "Laser_ShrinkRay_Shrinking03_1.wav", false),
        Sound("LazerSound1", "lazerstay1", "LaserBeam_Loop35_0_0.wav", true),
        Sound("LazerStart1", "lazerstart1", "LaserBeam_Loop21_0_0.wav", false),
        Sound("LazerEnd1", "lazerend1", "Laser_ShrinkRay_Shrinking03_0_0.wav", false),
        Sound("BlackHoleSound", "blackholesound", "Mystical_EnergyLoop38_0.wav", true),
        Sound("Eatball", "eatball", "PopCartoon CTE02_07_0.wav", false),
        Sound("Damaged", "damaged", "HitPunch CTE01_78.2_0.wav", false),
        Sound("LazerZap", "lazerzap", "ZapCartoon CTE02_91.1_0.wav", false),
        Sound("BonusSound", "bonuslevels", "15 - Laser #2- Long, Oscillating Blast_0.wav", true, 0.46f),
        Sprite("Velkor::Sprite", "background", {Still("BACKGROUND0.png")}, true, true, {0, 0, -0.5f}, 16, {}),
        Sprite("BonusTextThing", "Bonus", {Still("BONUS.png")}, true, true, {0, -15, -0.2f}, 17,
               Rect(4, 0, {0}, false)),
        Sprite("ballT", "ball", ColouredBallLooks(), false, false, {-555, 80, 0}, 18,
               Shapes(8, 0, {1, 0}, true), true),
        whiteBall,
        Sprite("bubblesheildpowerupT", "sheildpowerup", {Still("sheildpowerup.png")}, true, true,
               {-556, -1, 0}, 20, Shapes(8, 2, {0, 2}, true)),
        Sprite("SpikeBallT", "spikeball", SpikeBallLooks(), true, false, {-569, -108, 0}, 21,
               Shapes(8, 1, {0}, true), true),
        Sprite("Velkor::Sprite", "sprite0", {Still("SheildBubble.png")}, true, true, {-628, -72, 0}, 22,
               Rect(4, 0, {0}, false), true),
        Sprite("BlackHoleClassT", "blackHolePU", {Sheet("blackHolePU.png", 3, 2, {{6, 0.1f}})}, false, false,
               {-569, -180, 0}, 23, Shapes(8, 2, {0, 1}, true)),
        Sprite("Lazer1ClassT", "Lazer1", {Sheet("LAZER0.png", 2, 6, {{11, 0.1f}})}, false, false,
               {-1, -429, 0}, 24, Shapes(10, 0, {0}, true)),
        Sprite("LazerClassT", "Lazer", LazerLooks(), false, false, {549, -36, 0}, 25,
               Shapes(10, 0, {0}, true)),
        Sprite("BonusLazerClassT", "WhiteLazer", {Still("ORIGINALWHITE.png")}, true, true, {618, -39, 0}, 34,
               Shapes(10, 0, {0, 1, 2}, true), true),
        Sprite("SpriteMouseClassT", "playerball", PlayerBallLooks(), true, true, {-1, -4, 0}, 26,
               Shapes(10, 0, {0, 1, 2}, true), true),
        Sprite("Velkor::Sprite", "ui", {Still("GUI0.png")}, true, true, {0, 0, 0.1f}, 28, {}),
        Sprite("BorderClassT", "BorderColour", {Still("REDBORDER.png"), Still("BLUEBORDER.png")}, true, true,
               {0, 0, 1.0f}, 29, Rect(4, 0, {0}, false)),
    };
}

} // namespace

std::array<std::vector<ContentRow>, LayersPerLevel> TutorialLevelContent()
{
    return {HudLayer(), TutorialLayer(), {}};
}

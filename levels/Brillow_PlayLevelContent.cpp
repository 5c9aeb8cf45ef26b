// The play level ("level1"): score texts and the pause and quit overlay on
// the HUD layer; the sound effects, the field pictures, the border, the
// pause veil, the player ball and one hidden prototype of every ball, laser
// and pick-up (outside the visible field) on "layer1".
#include "levels/Brillow_ContentRows.h"

namespace
{

using namespace ContentRows;

std::vector<ContentRow> HudLayer()
{
    return {
        TextRow{"Velkor::Text", "levelscoreText", "Font1\\Font1", "00", Math::Vector2D(-20.0f, 323.0f)},
        TextRow{"Velkor::Text", "scoreText", "Font0\\Font0", "Score:", Math::Vector2D(-249.0f, 337.0f)},
        TextRow{"Velkor::Text", "nextlevelText", "Font0\\Font0", "To Next Level",
                Math::Vector2D(130.0f, 337.0f)},
        TextRow{"ResumeTextClass", "ResumeText", "Font1\\Font1", "Return to yourself to continue!",
                Math::Vector2D(-272.0f, 218.0f)},
        Sprite("PausedMouse", "PauseMouse", {Still("PLAYERBALL.png")}, true, true, {-3, 0, 0}, 9,
               Rect(10, 0, {0}, true)),
        Sprite("ExitButtonClass", "ExitButton", {Pair("Exit.png")}, false, false, {90, 10, 0}, 10,
               Rect(4, 0, {0}, true)),
        Sprite("RestartButtonClass", "RestartButton", {Pair("Restart.png")}, false, false, {1, -105, 0}, 11,
               Shapes(4, 0, {0}, true)),
        Sprite("QuitScreenClass", "QuitScreen", {Still("QuitMenu.png")}, true, true, {0, 0, 0}, 12,
               Rect(4, 0, {0}, false)),
        Sprite("QuitYes", "QuitYesButton", {Pair("YesButton.png")}, false, false, {-90, -105, 0}, 13,
               Rect(4, 0, {0}, false)),
        Sprite("QuitNo", "QuitNoButton", {Pair("NoButton.png")}, false, false, {110, -104, 0}, 14,
               Rect(4, 0, {0}, false)),
        Sprite("ResumeButtonClass", "ResumeButton", {Pair("ResumeB.png")}, false, false, {-90, 10, 0}, 15,
               Rect(4, 0, {0}, false)),
    };
}

std::vector<ContentRow> PlayLayer()
{
    SpriteRow background =
        Sprite("Velkor::Sprite", "background", {Still("BACKGROUND0.png")}, true, true, {0, 0, -0.5f}, 16, {});
    SpriteRow whiteBall = Sprite("whiteball", "whiteball", WhiteBallLooks(), true, false, {-570, -237, 0}, 19,
                                 Shapes(8, 1, {0}, true), true);
    whiteBall.startAnimation = 1;
    whiteBall.visible = false;
    SpriteRow ui = Sprite("Velkor::Sprite", "ui", {Still("GUI0.png")}, true, true, {0, 0, 0.1f}, 28, {});
    return {
        Sound("LazerSound", "lazerstay", "LaserBeam_Loop35.wav", true),
        Sound("LazerStart", "lazerstart", "LaserBeam_Loop21.wav", false),
        Sound("LazerEnd", "lazerend", "Laser_ShrinkRay_Shrinking03.wav", false),
        Sound("LazerSound1", "lazerstay1", "LaserBeam_Loop35_0.wav", true),
        Sound("LazerStart1", "lazerstart1", "LaserBeam_Loop21_0.wav", false),
        Sound("LazerEnd1", "lazerend1", "Laser_ShrinkRay_Shrinking03_0.wav", false),
        Sound("BlackHoleSound", "blackholesound", "Mystical_EnergyLoop38.wav", true),
        Sound("Eatball", "eatball", "PopCartoon CTE02_07.wav", false),
        Sound("Damaged", "damaged", "HitPunch CTE01_78.2.wav", false),
        Sound("LazerZap", "lazerzap", "ZapCartoon CTE02_91.1.wav", false),
        Sound("BonusSound", "bonuslevels", "15 - Laser #2- Long, Oscillating Blast.wav", true, 0.46f),
        Sound("ButtonSound", "buttonsound", "Switch_0.wav", false),
        Sound("BubbleSound", "bubblesound", "33 - Keeping Up.wav", false),
        background,
        Sprite("BonusTextThing", "Bonus", {Still("BONUS.png")}, true, true, {0, -15, -0.2f}, 17,
               Rect(4, 0, {0}, false)),
        Sprite("ball", "ball", ColouredBallLooks(), false, false, {-555, 80, 0}, 18,
               Shapes(8, 0, {1, 0}, true), true),
        whiteBall,
        Sprite("bubblesheildpowerup", "sheildpowerup", {Still("sheildpowerup.png")}, true, true,
               {-556, -1, 0}, 20, Shapes(8, 2, {0, 2}, true)),
        Sprite("SpikeBall", "spikeball", SpikeBallLooks(), true, false, {-570, -108, 0}, 21,
               Shapes(8, 1, {0}, true), true),
        Sprite("Velkor::Sprite", "sprite0", {Still("SheildBubble.png")}, true, true, {-628, -72, 0}, 22,
               Rect(4, 0, {0}, false), true),
        Sprite("BlackHoleClass", "blackHolePU", {Sheet("blackHolePU.png", 3, 2, {{6, 0.1f}})}, false, false,
               {-582, -180, 0}, 23, Shapes(8, 2, {0, 1}, true)),
        Sprite("Lazer1Class", "Lazer1", {Sheet("LAZER0.png", 2, 6, {{11, 0.1f}})}, false, false,
               {-5, -493, 0}, 24, Shapes(10, 0, {0}, true)),
        Sprite("LazerClass", "Lazer", LazerLooks(), false, false, {549, -36, 0}, 25,
               Shapes(10, 0, {0}, true)),
        Sprite("SpriteMouseClass", "playerball", PlayerBallLooks(), true, true, {-1, -4, 0}, 26,
               Shapes(10, 0, {0, 1, 2, 3}, true), true),
        Sprite("PausedMouse", "PausedMouse2", {Still("PLAYERBALL.png")}, true, true, {-2, -1, 0}, 9,
               Shapes(10, 3, {0, 3}, true)),
        Sprite("BonusLazerClass", "WhiteLazer", {Sheet("WHITELAZERANI.png", 3, 2, {{5, 0.2f}})}, false, false,
               {618, -39, 0}, 27, Shapes(10, 0, {0, 1, 2}, true), true),
        ui,
        Sprite("BorderClass", "BorderColour", {Still("REDBORDER.png"), Still("BLUEBORDER.png")}, true, true,
               {0, 0, 1.0f}, 29, Rect(4, 0, {0}, false)),
        Sprite("PauseScreenClass", "PauseScreen", {Still("PausedScreen.png")}, true, true, {0, 0, 10.0f}, 30,
               Rect(4, 0, {0}, false)),
    };
}

} // namespace

std::array<std::vector<ContentRow>, LayersPerLevel> PlayLevelContent()
{
    return {HudLayer(), PlayLayer(), {}};
}

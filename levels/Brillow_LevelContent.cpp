#include "levels/Brillow_LevelContent.h"

#include <array>

namespace
{

using LayerRows = std::vector<ContentRow>;
using LevelRows = std::array<LayerRows, LayersPerLevel>;

AnimationRow Sheet(const char* file, std::int32_t columns, std::int32_t rows, std::vector<FrameDelays> delays)
{
    return {std::string("\\Resources\\Animations\\") + file, columns, rows, std::move(delays)};
}

// Bounding rectangle only, thickness 4, z 0, colliding with z 0: what the
// screens give every sprite.
CollisionRow Rectangle(bool updateOnIdle = false)
{
    return {0, 4.0f, 0, {0}, updateOnIdle};
}

// The menu form of the player ball: one animation, a rectangle collision
// object on actor 8, no body.
SpriteRow MenuBall(Math::Vector2D position, float depth, bool playing, bool updateOnIdle)
{
    return {.className = "SpriteMouseClass",
            .name = "playerball",
            .animations = {Sheet("Core Animate0.png", 3, 2, {{6, 0.5f}})},
            .playing = playing,
            .looping = playing,
            .position = position,
            .depth = depth,
            .actor = 8,
            .collision = Rectangle(updateOnIdle)};
}

// The full player ball of the end screens: the seven looks (blue, green,
// yellow, orange, red, shield, white), shapes on actor 26 colliding with z 0
// to 3, and a body.
SpriteRow FullBall(float depth)
{
    return {.className = "SpriteMouseClass",
            .name = "playerball",
            .animations = {Sheet("BLUEANIMATION0.png", 2, 2, {{4, 0.1f}}),
                           Sheet("GREENANIMATION0.png", 2, 2, {{4, 0.1f}}),
                           Sheet("YELLOWANIMATE.png", 2, 2, {{4, 0.1f}}),
                           Sheet("ORANGEANIMATION.png", 2, 2, {{4, 0.1f}}),
                           Sheet("REDANIMATE.png", 2, 2, {{4, 0.1f}}),
                           Sheet("SheildBubble.png", 1, 1, {{1, 1.0f}}),
                           Sheet("WHITEANIMATE.png", 2, 2, {{4, 0.05f}})},
            .playing = true,
            .looping = true,
            .position = {3.0f, -2.0f},
            .depth = depth,
            .actor = 26,
            .collision = CollisionRow{1, 10.0f, 0, {0, 1, 2, 3}, true},
            .body = true};
}

// A single picture filling the screen.
SpriteRow Picture(const char* className, const char* name, const char* file, bool looping, std::int32_t actor)
{
    return {.className = className,
            .name = name,
            .animations = {Sheet(file, 1, 1, {{1, 1.0f}})},
            .playing = true,
            .looping = looping,
            .depth = 0.0f,
            .actor = actor,
            .collision = Rectangle()};
}

// A stopped two-frame button (its code picks the frame) at depth `depth`.
SpriteRow Button(const char* className, const char* name, const char* file, Math::Vector2D position,
                 std::int32_t actor, float depth = 0.0f, bool updateOnIdle = true)
{
    return {.className = className,
            .name = name,
            .animations = {Sheet(file, 2, 1, {{2, 1.0f}})},
            .position = position,
            .depth = depth,
            .actor = actor,
            .collision = Rectangle(updateOnIdle)};
}

SoundRow ButtonSoundAt30(const char* file)
{
    return {.className = "ButtonSound", .name = "buttonsound", .file = file, .position = {30.0f, 0.0f}};
}

TextRow ScoreText(const char* font, Math::Vector2D position, float depth, bool hud = false)
{
    return {.className = "Velkor::Text",
            .name = "scoreText",
            .font = font,
            .text = "Score:",
            .position = position,
            .depth = depth,
            .hud = hud};
}

LevelRows MainMenu()
{
    return {
        LayerRows{
            Picture("introBG", "sprite1", "BG.png", false, 0),
            SpriteRow{.className = "IntroClass",
                      .name = "sprite0",
                      .animations = {Sheet("Animation1.png", 2, 1, {{2, 60.0f}})},
                      .playing = true,
                      .looping = true,
                      .depth = 1.0f,
                      .actor = 1,
                      .collision = Rectangle(),
                      .opacity = 0.0f},
        },
        LayerRows{
            SoundRow{.className = "ButtonSound1", .name = "buttonsound1", .file = "Switch.wav"},
            SpriteRow{.className = "Velkor::Sprite",
                      .name = "background",
                      .animations = {Sheet("MENU.png", 1, 1, {{1, 1.0f}})},
                      .playing = true,
                      .looping = true,
                      .depth = -0.5f,
                      .actor = 2,
                      .collision = Rectangle()},
            Button("startButtonClass", "startButton", "START.png", {-242.0f, -48.0f}, 3, -0.1f),
            Button("tutorialButtonClass", "tutorialButton", "TUTORIAL.png", {247.0f, -49.0f}, 4, -0.1f),
            Button("MainMenuOptionsButtonClass", "OptionsButton", "OPTIONSBUTTON.png", {-240.0f, -178.0f}, 5,
                   -0.1f),
            Button("MainMenuExit", "ExitButton", "EXITBUTTON.png", {7.0f, -305.0f}, 6, -0.1f),
            Button("MainMenuCreditButtonClass", "CreditButton", "CREDITBUTTON.png", {240.0f, -179.0f}, 7,
                   0.0f, false),
            MenuBall({0.0f, -5.0f}, 1.0f, true, true),
        },
        LayerRows{},
    };
}

LevelRows LoseScreen()
{
    return {
        LayerRows{},
        LayerRows{
            ScoreText("Font10\\Font10", {-189.0f, 150.0f}, 1.0f),
            SoundRow{.className = "BreakBall", .name = "breakball", .file = "Armour_Fall_LoseArmour1.wav"},
            Picture("Velkor::Sprite", "lose_background", "BACKGROUND0.png", true, 16),
            SpriteRow{.className = "Velkor::Sprite",
                      .name = "sprite0",
                      .animations = {Sheet("Death.png", 3, 3, {{8, 0.1f}})},
                      .playing = true,
                      .position = {-2.0f, -5.0f},
                      .depth = 0.0f,
                      .actor = 31,
                      .collision = Rectangle()},
        },
        LayerRows{},
    };
}

LevelRows WinScreen()
{
    return {
        LayerRows{ScoreText("Font2\\Font2", {-137.0f, -199.0f}, 0.0f, true)},
        LayerRows{
            ButtonSoundAt30("Switch_1.wav"),
            Picture("Velkor::Sprite", "win", "WIN.png", true, 32),
            Button("GoToMainMenuClass", "MainMenu", "BACKTOMAINMENU.png", {6.0f, -292.0f}, 33),
            FullBall(0.0f),
        },
        LayerRows{},
    };
}

LevelRows SecondLoseScreen()
{
    return {
        LayerRows{},
        LayerRows{
            ScoreText("Font10\\Font10", {-189.0f, 150.0f}, 1.0f),
            ButtonSoundAt30(
                "46 - SWITCH, PANEL SMALL TOGGLE SWITCH, LARGE TOGGLE SWITCH, LARGE TOGGLE SWITCH, "
                "SMALL PUSH BUTTON SWITCH, LARGE PUSH BUTTON SW_3_0.wav"),
            Picture("Velkor::Sprite", "lose_background", "Animation0.png", true, 41),
            Button("GoToMainMenuClass", "MainMenu", "BACKTOMAINMENU.png", {6.0f, -264.0f}, 33),
            FullBall(0.2f),
        },
        LayerRows{},
    };
}

LevelRows Credits()
{
    return {
        LayerRows{},
        LayerRows{
            ButtonSoundAt30("Switch_2.wav"),
            Picture("Velkor::Sprite", "CreditPage", "CREDITPAGE.png", true, 35),
            Button("GoToMainMenuClass", "MainMenu", "BACKTOMAINMENU.png", {6.0f, -292.0f}, 33),
            MenuBall({-1.0f, -35.0f}, 1.0f, true, false),
        },
        LayerRows{},
    };
}

LevelRows Loading()
{
    return {LayerRows{}, LayerRows{Picture("Velkor::Sprite", "sprite0", "LOADINGPAGE.png", true, 36)},
            LayerRows{}};
}

LevelRows Options()
{
    SpriteRow mute = Button("MuteButtonClass", "MuteButton", "MuteButton.png", {217.0f, -1.0f}, 40);
    mute.animations = {Sheet("MuteButton.png", 2, 2, {{4, 1.0f}})};
    return {
        LayerRows{},
        LayerRows{
            ButtonSoundAt30("Switch_3.wav"),
            Picture("Velkor::Sprite", "sprite0", "OPTIONSBACKGROUND.png", false, 37),
            Button("FullScreenButtonClass", "FullScreenButton", "FullScreenButton.png", {221.0f, -226.0f},
                   38),
            Button("GoToMainMenuClass", "MainMenu", "BACKTOMAINMENU1.png", {424.0f, 322.0f}, 39),
            mute,
            MenuBall({-1.0f, -1.0f}, 0.5f, false, false),
        },
        LayerRows{},
    };
}

// By level index: 0 main menu, 2 and 8 the lose screens, 3 the win screen,
// 5 credits, 6 loading, 7 options, 1 the play level, 4 the tutorial.
const std::array<LevelRows, BrillowLevelCount>& ContentTable()
{
    static const std::array<LevelRows, BrillowLevelCount> table{
        MainMenu(), PlayLevelContent(), LoseScreen(), WinScreen(),        TutorialLevelContent(),
        Credits(),  Loading(),   Options(),    SecondLoseScreen(),
    };
    return table;
}

} // namespace

const std::vector<ContentRow>& GetLayerContent(std::uint32_t level, std::uint32_t layer)
{
    static const std::vector<ContentRow> none;
    if (level >= BrillowLevelCount || layer >= LayersPerLevel)
    {
        return none;
    }
    return ContentTable()[level][layer];
}

// The game's sprite sheets under "Resources/Animations": one table entry per
// sheet with its grid, frame count, cell size and the collision actor whose
// shapes its frames are drawn on, checked against the actors and against the
// animations the levels build from it before anything is written.
#include "AssetGen_Sheets.h"

#include "AssetGen_Palette.h"
#include "AssetGen_SheetArt.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <stdexcept>
#include <thread>

namespace AssetGen
{

namespace
{

// A collision actor: its rectangle (top, left, right, bottom) and the shapes
// of each frame; frames without shapes are empty.
struct Actor
{
    float top, left, right, bottom;
    std::vector<FrameShapes> frames;
};

FrameShapes CircleFrame(float x, float y, float r)
{
    return {{{x, y, r}}, {}};
}

std::vector<FrameShapes> Repeat(const FrameShapes& frame, int count)
{
    return std::vector<FrameShapes>(static_cast<std::size_t>(count), frame);
}

FrameShapes Segments(std::initializer_list<ActorSegment> segments)
{
    return {{}, segments};
}

const std::map<int, Actor>& Actors()
{
    static const std::map<int, Actor> actors = []
    {
        std::map<int, Actor> a;
        const Actor button{49, -161, 161, -49, Repeat({}, 2)};
        a[3] = a[4] = a[5] = a[6] = button;
        a[7] = {47, -154, 154, -47, Repeat({}, 2)};
        a[8] = {28, -30, 30, -28, Repeat(CircleFrame(0, 3, 13), 6)};
        a[9] = {16, -13, 13, -10, {CircleFrame(0, 2, 12)}};
        const Actor pauseButton{50, -79, 79, -50, Repeat({}, 2)};
        a[10] = a[11] = a[13] = a[14] = a[15] = a[39] = pauseButton;
        a[18] = {28,
                 -30,
                 30,
                 -28,
                 {CircleFrame(0, 3, 8), CircleFrame(1, 3, 8), CircleFrame(1, 3, 9), CircleFrame(0, 3, 8),
                  CircleFrame(0, 2, 10), CircleFrame(0, 2, 10)}};
        a[19] = {28, -30, 30, -28, Repeat({}, 6)};
        a[19].frames.push_back(CircleFrame(0, 3, 10));
        a[19].frames.push_back(CircleFrame(0, 2, 10));
        a[20] = {42, -42, 42, -42, {CircleFrame(0, 1, 9)}};
        a[21] = {28, -30, 30, -28, Repeat({}, 6)};
        a[21].frames.push_back(CircleFrame(0, 3, 11));
        a[22] = {42, -42, 42, -42, {CircleFrame(1, 1, 29)}};
        a[23] = {42, -42, 42, -42, Repeat(CircleFrame(-1, 1, 10), 6)};
        a[24] = {46,
                 -493,
                 493,
                 -46,
                 {{},
                  Segments({{-478, 0, -424, 0}, {-424, 0, -476, 0}}),
                  Segments({{-481, 0, -405, 0}, {-403, 0, -481, 0}}),
                  Segments({{-483, 6, -347, 6}, {-348, 0, -482, 0}, {348, 7, 488, 6}, {490, 0, 349, 0}}),
                  Segments({{140, 7, 491, 7}, {-141, 0, -480, 0}, {488, -1, 140, 0}, {-482, 6, -140, 7}}),
                  Segments({{484, 0, 44, 0}, {44, 0, 484, 0}, {-477, 0, -2, 0}, {-3, 0, -481, 0}})}};
        for (int i = 6; i <= 10; ++i)
        {
            a[24].frames.push_back(Segments({{-483, 6, 487, 6}, {486, -1, -481, -1}}));
        }
        a[25] = {347,
                 -38,
                 38,
                 -347,
                 {{},
                  Segments({{0, 334, 0, 298}, {0, 297, 0, 333}, {0, -293, 0, -329}, {0, -330, 0, -292}}),
                  Segments({{0, -326, 0, -273}, {0, -275, 0, -331}, {0, 332, 0, 283}, {0, 279, 0, 336}}),
                  Segments({{0, 333, 0, 244}, {0, 242, 0, 337}, {0, -235, 0, -331}, {0, -331, 0, -238}}),
                  Segments({{0, 341, 0, 90}, {0, 91, 0, 340}, {0, -88, 0, -332}, {0, -333, 0, -84}}),
                  Segments({{0, 336, 0, 37}, {0, 36, 0, 339}, {0, -1, 0, -325}, {0, -326, 0, 1}}),
                  Segments({{0, 334, 0, -325}, {0, -328, 0, 336}}),
                  Segments({{0, 334, 0, -327}, {0, -327, 0, 331}}),
                  Segments({{0, 336, 0, -326}, {0, -325, 0, 334}}),
                  Segments({{0, 337, 0, -328}, {0, -328, 0, 336}}),
                  Segments({{0, 334, 0, -330}, {0, -330, 0, 333}})}};
        // Frames 0-3 blue, 4-19 the other stages, 20 the shield, 21-24 white.
        a[26] = {42, -42, 42, -42, Repeat(CircleFrame(-4, 2, 15), 4)};
        for (int i = 4; i < 20; ++i)
        {
            a[26].frames.push_back(CircleFrame(-3, 1, 15));
        }
        a[26].frames.push_back(CircleFrame(1, 1, 29));
        for (int i = 21; i < 25; ++i)
        {
            a[26].frames.push_back(CircleFrame(-3, 1, 15));
        }
        const FrameShapes white = Segments({{1, 335, 4, -328}, {0, -324, -3, 336}});
        a[27] = {347,
                 -38,
                 38,
                 -347,
                 {white, white, white, Segments({{2, 332, 3, -325}, {0, -327, -4, 331}}),
                  Segments({{5, 337, 4, -329}, {-2, -328, -2, 338}})}};
        a[31] = {28, -30, 30, -28, Repeat({}, 8)};
        a[33] = {42, -280, 280, -42, Repeat({}, 2)};
        a[34] = {347, -38, 38, -347, {Segments({{4, 333, 6, -325}, {-4, -324, -2, 334}})}};
        a[38] = {35, -112, 112, -35, Repeat({}, 2)};
        a[40] = {35, -112, 112, -35, Repeat({}, 4)};
        return a;
    }();
    return actors;
}

// How the levels use each sheet: columns, rows and the number of frame
// delays of the animations built from it.
struct SheetUse
{
    const char* name;
    int columns, rows, frames;
};

const SheetUse Uses[] = {
    {"BG.png", 1, 1, 1},
    {"Animation1.png", 2, 1, 2},
    {"MENU.png", 1, 1, 1},
    {"START.png", 2, 1, 2},
    {"TUTORIAL.png", 2, 1, 2},
    {"OPTIONSBUTTON.png", 2, 1, 2},
    {"EXITBUTTON.png", 2, 1, 2},
    {"CREDITBUTTON.png", 2, 1, 2},
    {"Core Animate0.png", 3, 2, 6},
    {"PLAYERBALL.png", 1, 1, 1},
    {"Exit.png", 2, 1, 2},
    {"Restart.png", 2, 1, 2},
    {"QuitMenu.png", 1, 1, 1},
    {"YesButton.png", 2, 1, 2},
    {"NoButton.png", 2, 1, 2},
    {"ResumeB.png", 2, 1, 2},
    {"PausedScreen.png", 1, 1, 1},
    {"BACKGROUND0.png", 1, 1, 1},
    {"BONUS.png", 1, 1, 1},
    {"blueball.png", 1, 1, 1},
    {"greenball.png", 1, 1, 1},
    {"YELLOWBALL.png", 1, 1, 1},
    {"ORANGEBALL.png", 1, 1, 1},
    {"REDBALL.png", 1, 1, 1},
    {"white.png", 1, 1, 1},
    {"WHITESCALE.png", 3, 2, 6},
    {"ENEMYWHITE.png", 1, 1, 1},
    {"sheildpowerup.png", 1, 1, 1},
    {"REDBALLSCALE.png", 3, 2, 6},
    {"SpikeBall.png", 1, 1, 1},
    {"SheildBubble.png", 1, 1, 1},
    {"blackHolePU.png", 3, 2, 6},
    {"LAZER0.png", 2, 6, 11},
    {"LAZER11.png", 4, 3, 11},
    {"BLUEANIMATION0.png", 2, 2, 4},
    {"GREENANIMATION0.png", 2, 2, 4},
    {"YELLOWANIMATE.png", 2, 2, 4},
    {"ORANGEANIMATION.png", 2, 2, 4},
    {"REDANIMATE.png", 2, 2, 4},
    {"WHITEANIMATE.png", 2, 2, 4},
    {"WHITELAZERANI.png", 3, 2, 5},
    {"ORIGINALWHITE.png", 1, 1, 1},
    {"GUI0.png", 1, 1, 1},
    {"REDBORDER.png", 1, 1, 1},
    {"BLUEBORDER.png", 1, 1, 1},
    {"Death.png", 3, 3, 8},
    {"WIN.png", 1, 1, 1},
    {"BACKTOMAINMENU.png", 2, 1, 2},
    {"Animation0.png", 1, 1, 1},
    {"CREDITPAGE.png", 1, 1, 1},
    {"LOADINGPAGE.png", 1, 1, 1},
    {"OPTIONSBACKGROUND.png", 1, 1, 1},
    {"FullScreenButton.png", 2, 1, 2},
    {"BACKTOMAINMENU1.png", 2, 1, 2},
    {"MuteButton.png", 2, 2, 4},
};

using Draw = std::function<void(Canvas&, int, const FrameShapes&)>;

Sheet Screen(const char* name, int frames, SheetKind kind, Draw draw)
{
    return {name, frames, 1, frames, 1024, 768, -1, 0, kind, std::move(draw)};
}

// Buttons shown together: every label among them and the smallest of
// their cells, which fix the one lettering scale they all take.
struct ButtonGroup
{
    std::vector<std::string> labels;
    int width;
    int height;
};

const ButtonGroup MenuButtons{{"START", "TUTORIAL", "OPTIONS", "EXIT", "CREDITS"}, 308, 94};
const ButtonGroup OverlayButtons{{"EXIT", "RESTART", "YES", "NO", "RESUME", "BACK"}, 158, 100};
const ButtonGroup OptionButtons{{"FULL SCREEN", "SOUND ON", "MUTED"}, 224, 70};

// A button sheet; without a group its frames letter at the scale that fits
// all of its own labels, so they never change size between frames.
Sheet ButtonSheet(const char* name, int actor, int width, int height, std::vector<std::string> labels,
                  std::vector<bool> lit, const ButtonGroup* group = nullptr)
{
    const int scale = group != nullptr ? Art::ButtonLabelScale(group->labels, group->width, group->height)
                                       : Art::ButtonLabelScale(labels, width, height);
    const int frames = static_cast<int>(labels.size());
    const int columns = 2, rows = frames / 2;
    return {name,
            columns,
            rows,
            frames,
            width,
            height,
            actor,
            0,
            SheetKind::Button,
            [labels, lit, scale](Canvas& cell, int frame, const FrameShapes&) {
                Art::Button(cell, labels[static_cast<std::size_t>(frame)],
                            lit[static_cast<std::size_t>(frame)], scale);
            }};
}

Sheet Ball(const char* name, int actor, int frame, Color color)
{
    return {name,
            1,
            1,
            1,
            60,
            56,
            actor,
            frame,
            SheetKind::Ball,
            [color](Canvas& cell, int, const FrameShapes& s)
            {
                const ActorCircle& c = s.circles.at(0);
                Art::ColouredBall(cell, {30.0f + c.x, 28.0f - c.y}, c.radius, color);
            }};
}

Sheet Player(const char* name, int firstFrame, Color color, bool powered)
{
    return {name,
            2,
            2,
            4,
            84,
            84,
            26,
            firstFrame,
            SheetKind::Ball,
            [color, powered](Canvas& cell, int frame, const FrameShapes& s)
            {
                const ActorCircle& c = s.circles.at(0);
                Art::PlayerBall(cell, {42.0f + c.x, 42.0f - c.y}, c.radius, color, frame, powered);
            }};
}

Sheet BeamSheet(const char* name, int columns, int rows, int frames, int width, int height, int actor,
                Art::BeamLook look)
{
    Sheet sheet{name, columns, rows, frames, width, height, actor, 0, SheetKind::Beam, nullptr};
    sheet.draw = [sheet, look](Canvas& cell, int frame, const FrameShapes& s)
    { Art::Beam(cell, sheet, s, look, frame); };
    return sheet;
}

std::vector<Sheet> BuildSheets()
{
    using namespace Palette;
    const Art::BeamLook red{Hex(0xFFF0FA), Magenta, 2.5f};
    const Art::BeamLook gold{Hex(0xFFFFF4), Hex(0xFFA828), 3.0f};
    std::vector<Sheet> s;
    // Intro and menu.
    s.push_back(Screen("BG.png", 1, SheetKind::Picture,
                       [](Canvas& c, int, const FrameShapes&) { Art::Space(c, 11, 1.0f); }));
    s.push_back(Screen("Animation1.png", 2, SheetKind::Picture,
                       [](Canvas& c, int frame, const FrameShapes&)
                       { frame == 0 ? Art::TitleCard(c) : Art::HowToPlayCard(c); }));
    s.push_back(Screen("MENU.png", 1, SheetKind::Picture,
                       [](Canvas& c, int, const FrameShapes&) { Art::MenuPage(c); }));
    s.push_back(ButtonSheet("START.png", 3, 322, 98, {"START", "START"}, {false, true}, &MenuButtons));
    s.push_back(
        ButtonSheet("TUTORIAL.png", 4, 322, 98, {"TUTORIAL", "TUTORIAL"}, {false, true}, &MenuButtons));
    s.push_back(
        ButtonSheet("OPTIONSBUTTON.png", 5, 322, 98, {"OPTIONS", "OPTIONS"}, {false, true}, &MenuButtons));
    s.push_back(ButtonSheet("EXITBUTTON.png", 6, 322, 98, {"EXIT", "EXIT"}, {false, true}, &MenuButtons));
    s.push_back(
        ButtonSheet("CREDITBUTTON.png", 7, 308, 94, {"CREDITS", "CREDITS"}, {false, true}, &MenuButtons));
    s.push_back({"Core Animate0.png", 3, 2, 6, 60, 56, 8, 0, SheetKind::Ball,
                 [](Canvas& c, int frame, const FrameShapes& sh)
                 {
                     const ActorCircle& circle = sh.circles.at(0);
                     Art::MenuCore(c, {30 + circle.x, 28 - circle.y}, circle.radius, frame);
                 }});
    s.push_back({"PLAYERBALL.png", 1, 1, 1, 26, 26, 9, 0, SheetKind::Ball,
                 [](Canvas& c, int, const FrameShapes& sh)
                 {
                     const ActorCircle& circle = sh.circles.at(0);
                     Art::PauseBall(c, {13 + circle.x, 13 - circle.y}, circle.radius);
                 }});
    // Pause and quit overlay.
    s.push_back(ButtonSheet("Exit.png", 10, 158, 100, {"EXIT", "EXIT"}, {false, true}, &OverlayButtons));
    s.push_back(
        ButtonSheet("Restart.png", 11, 158, 100, {"RESTART", "RESTART"}, {false, true}, &OverlayButtons));
    s.push_back(ButtonSheet("YesButton.png", 13, 158, 100, {"YES", "YES"}, {false, true}, &OverlayButtons));
    s.push_back(ButtonSheet("NoButton.png", 14, 158, 100, {"NO", "NO"}, {false, true}, &OverlayButtons));
    s.push_back(
        ButtonSheet("ResumeB.png", 15, 158, 100, {"RESUME", "RESUME"}, {false, true}, &OverlayButtons));
    s.push_back(Screen("PausedScreen.png", 1, SheetKind::Veil,
                       [](Canvas& c, int, const FrameShapes&) { Art::PauseVeil(c); }));
    s.push_back(Screen("QuitMenu.png", 1, SheetKind::Overlay,
                       [](Canvas& c, int, const FrameShapes&) { Art::QuitPanel(c); }));
    // Play field.
    s.push_back(Screen("BACKGROUND0.png", 1, SheetKind::Picture,
                       [](Canvas& c, int, const FrameShapes&) { Art::PlayField(c); }));
    s.push_back(Screen("GUI0.png", 1, SheetKind::Overlay,
                       [](Canvas& c, int, const FrameShapes&) { Art::ArenaFrame(c); }));
    s.push_back(Screen("REDBORDER.png", 1, SheetKind::Overlay,
                       [](Canvas& c, int, const FrameShapes&) { Art::BorderGlow(c, Hex(0xFF2A3A)); }));
    s.push_back(Screen("BLUEBORDER.png", 1, SheetKind::Overlay,
                       [](Canvas& c, int, const FrameShapes&) { Art::BorderGlow(c, Hex(0x3AC8FF)); }));
    s.push_back(Screen("BONUS.png", 1, SheetKind::Overlay,
                       [](Canvas& c, int, const FrameShapes&) { Art::BonusSign(c); }));
    // Coloured balls (actor 18's frames in animation order).
    s.push_back(Ball("blueball.png", 18, 0, Blue));
    s.push_back(Ball("greenball.png", 18, 1, Green));
    s.push_back(Ball("YELLOWBALL.png", 18, 2, Yellow));
    s.push_back(Ball("ORANGEBALL.png", 18, 3, Orange));
    s.push_back(Ball("REDBALL.png", 18, 4, Red));
    s.push_back(Ball("white.png", 18, 5, White));
    // Enemies.
    s.push_back({"WHITESCALE.png", 3, 2, 6, 60, 56, 19, 0, SheetKind::Effect,
                 [](Canvas& c, int frame, const FrameShapes&) { Art::SpawnGrowth(c, frame, White); }});
    s.push_back({"ENEMYWHITE.png", 1, 1, 1, 60, 56, 19, 6, SheetKind::Ball,
                 [](Canvas& c, int, const FrameShapes& sh)
                 {
                     const ActorCircle& circle = sh.circles.at(0);
                     Art::EnemyWhite(c, {30 + circle.x, 28 - circle.y}, circle.radius);
                 }});
    s.push_back({"REDBALLSCALE.png", 3, 2, 6, 60, 56, 21, 0, SheetKind::Effect,
                 [](Canvas& c, int frame, const FrameShapes&) { Art::SpawnGrowth(c, frame, Red); }});
    s.push_back({"SpikeBall.png", 1, 1, 1, 60, 56, 21, 6, SheetKind::Ball,
                 [](Canvas& c, int, const FrameShapes& sh)
                 {
                     const ActorCircle& circle = sh.circles.at(0);
                     Art::SpikeBall(c, {30 + circle.x, 28 - circle.y}, circle.radius);
                 }});
    // Pick-ups.
    s.push_back({"sheildpowerup.png", 1, 1, 1, 84, 84, 20, 0, SheetKind::Ball,
                 [](Canvas& c, int, const FrameShapes& sh)
                 {
                     const ActorCircle& circle = sh.circles.at(0);
                     Art::ShieldPickup(c, {42 + circle.x, 42 - circle.y}, circle.radius);
                 }});
    s.push_back({"SheildBubble.png", 1, 1, 1, 84, 84, 22, 0, SheetKind::Ring,
                 [](Canvas& c, int, const FrameShapes& sh)
                 {
                     const ActorCircle& circle = sh.circles.at(0);
                     Art::ShieldBubble(c, {42 + circle.x, 42 - circle.y}, circle.radius);
                 }});
    s.push_back({"blackHolePU.png", 3, 2, 6, 84, 84, 23, 0, SheetKind::Ball,
                 [](Canvas& c, int frame, const FrameShapes& sh)
                 {
                     const ActorCircle& circle = sh.circles.at(0);
                     // Frame 0 is closed; 1-4 turn a quarter step each; 5 is frame 1 again.
                     Art::BlackHole(c, {42 + circle.x, 42 - circle.y}, circle.radius, frame == 5 ? 1 : frame);
                 }});
    // Lasers.
    s.push_back(BeamSheet("LAZER0.png", 2, 6, 11, 986, 92, 24, red));
    s.push_back(BeamSheet("LAZER11.png", 4, 3, 11, 76, 694, 25, red));
    s.push_back(BeamSheet("WHITELAZERANI.png", 3, 2, 5, 76, 694, 27, gold));
    s.push_back(BeamSheet("ORIGINALWHITE.png", 1, 1, 1, 76, 694, 34, gold));
    // Player ball (actor 26).
    s.push_back(Player("BLUEANIMATION0.png", 0, Blue, false));
    s.push_back(Player("GREENANIMATION0.png", 4, Green, false));
    s.push_back(Player("YELLOWANIMATE.png", 8, Yellow, false));
    s.push_back(Player("ORANGEANIMATION.png", 12, Orange, false));
    s.push_back(Player("REDANIMATE.png", 16, Red, false));
    s.push_back(Player("WHITEANIMATE.png", 21, White, true));
    // Screens.
    s.push_back({"Death.png", 3, 3, 8, 60, 56, 31, 0, SheetKind::Effect,
                 [](Canvas& c, int frame, const FrameShapes&) { Art::Shatter(c, frame); }});
    s.push_back(Screen("WIN.png", 1, SheetKind::Picture,
                       [](Canvas& c, int, const FrameShapes&) { Art::WinPage(c); }));
    s.push_back(Screen("Animation0.png", 1, SheetKind::Picture,
                       [](Canvas& c, int, const FrameShapes&) { Art::GameOverPage(c); }));
    s.push_back(Screen("CREDITPAGE.png", 1, SheetKind::Picture,
                       [](Canvas& c, int, const FrameShapes&) { Art::CreditsPage(c); }));
    s.push_back(Screen("LOADINGPAGE.png", 1, SheetKind::Picture,
                       [](Canvas& c, int, const FrameShapes&) { Art::LoadingPage(c); }));
    s.push_back(Screen("OPTIONSBACKGROUND.png", 1, SheetKind::Picture,
                       [](Canvas& c, int, const FrameShapes&) { Art::OptionsPage(c); }));
    // Screen buttons.
    s.push_back(ButtonSheet("BACKTOMAINMENU.png", 33, 560, 84, {"BACK TO MAIN MENU", "BACK TO MAIN MENU"},
                            {false, true}));
    s.push_back(
        ButtonSheet("BACKTOMAINMENU1.png", 39, 158, 100, {"BACK", "BACK"}, {false, true}, &OverlayButtons));
    s.push_back(ButtonSheet("FullScreenButton.png", 38, 224, 70, {"FULL SCREEN", "FULL SCREEN"},
                            {false, true}, &OptionButtons));
    s.push_back(ButtonSheet("MuteButton.png", 40, 224, 70, {"SOUND ON", "SOUND ON", "MUTED", "MUTED"},
                            {false, true, true, false}, &OptionButtons));
    return s;
}

bool CheckSheet(const Sheet& sheet)
{
    const SheetUse* use = nullptr;
    for (const SheetUse& candidate : Uses)
    {
        if (sheet.name == candidate.name)
        {
            use = &candidate;
        }
    }
    if (use == nullptr)
    {
        return TableError("sheet", sheet.name, "no level uses it");
    }
    if (use->columns != sheet.columns || use->rows != sheet.rows || use->frames != sheet.frames)
    {
        return TableError("sheet", sheet.name, "its grid or frame count differs from the levels' animation");
    }
    if (sheet.frames > sheet.columns * sheet.rows)
    {
        return TableError("sheet", sheet.name, "more frames than cells");
    }
    if (sheet.columns * sheet.cellWidth > 4096 || sheet.rows * sheet.cellHeight > 4096)
    {
        return TableError("sheet", sheet.name, "more than 4096 pixels on a side");
    }
    if (sheet.actor < 0)
    {
        return true;
    }
    const auto found = Actors().find(sheet.actor);
    if (found == Actors().end())
    {
        return TableError("sheet", sheet.name, "its actor is not in the actor table");
    }
    const Actor& actor = found->second;
    if (static_cast<int>(actor.frames.size()) < sheet.firstActorFrame + sheet.frames)
    {
        return TableError("sheet", sheet.name, "its actor has fewer frames than the sheet");
    }
    if (static_cast<float>(sheet.cellWidth) != actor.right - actor.left ||
        static_cast<float>(sheet.cellHeight) != actor.top - actor.bottom)
    {
        return TableError("sheet", sheet.name, "the cell is not the size of its actor's rectangle");
    }
    for (int frame = 0; frame < sheet.frames; ++frame)
    {
        const FrameShapes shapes = sheet.Shapes(frame);
        if ((sheet.kind == SheetKind::Ball || sheet.kind == SheetKind::Ring) && shapes.circles.size() != 1)
        {
            return TableError("sheet", sheet.name, "frame " + std::to_string(frame) + " has no actor circle");
        }
    }
    return true;
}

std::string SheetPath(const Sheet& sheet)
{
    return "Resources/Animations/" + sheet.name;
}

} // namespace

FrameShapes Sheet::Shapes(int frame) const
{
    if (actor < 0)
    {
        return {};
    }
    const auto found = Actors().find(actor);
    const std::size_t index = static_cast<std::size_t>(firstActorFrame + frame);
    if (found == Actors().end() || index >= found->second.frames.size())
    {
        return {};
    }
    return found->second.frames[index];
}

const std::vector<Sheet>& GetSheets()
{
    static const std::vector<Sheet> sheets = BuildSheets();
    return sheets;
}

const Sheet& GetSheet(const std::string& name)
{
    for (const Sheet& sheet : GetSheets())
    {
        if (sheet.name == name)
        {
            return sheet;
        }
    }
    throw std::out_of_range("no sheet named " + name);
}

namespace
{

std::map<std::string, Canvas>& Rendered()
{
    static std::map<std::string, Canvas> rendered;
    return rendered;
}

Canvas DrawSheet(const Sheet& sheet)
{
    Canvas image(sheet.columns * sheet.cellWidth, sheet.rows * sheet.cellHeight);
    for (int frame = 0; frame < sheet.frames; ++frame)
    {
        Canvas cell(sheet.cellWidth, sheet.cellHeight);
        sheet.draw(cell, frame, sheet.Shapes(frame));
        image.Draw(cell, (frame % sheet.columns) * sheet.cellWidth,
                   (frame / sheet.columns) * sheet.cellHeight);
    }
    return image;
}

} // namespace

const Canvas& RenderSheet(const Sheet& sheet)
{
    auto found = Rendered().find(sheet.name);
    if (found == Rendered().end())
    {
        found = Rendered().emplace(sheet.name, DrawSheet(sheet)).first;
    }
    return found->second;
}

void ListSheets(Manifest& manifest)
{
    for (const Sheet& sheet : GetSheets())
    {
        manifest.push_back(
            {SheetPath(sheet), "sprite sheet",
             std::to_string(sheet.columns * sheet.cellWidth) + "x" +
                 std::to_string(sheet.rows * sheet.cellHeight) + ", " + std::to_string(sheet.columns) + "x" +
                 std::to_string(sheet.rows) + " cells of " + std::to_string(sheet.cellWidth) + "x" +
                 std::to_string(sheet.cellHeight) + ", " + std::to_string(sheet.frames) + " frames"});
    }
}

bool MakeSheets(Output& output)
{
    if (GetSheets().size() != std::size(Uses))
    {
        return TableError("sheet", "Resources/Animations",
                          "the sheet table and the levels' sheets differ in number");
    }
    const std::vector<Sheet>& sheets = GetSheets();
    for (const Sheet& sheet : sheets)
    {
        if (!CheckSheet(sheet))
        {
            return false;
        }
    }
    // Every sheet is drawn and encoded on its own, so the work is shared out
    // between threads; the files are written in table order afterwards. Each
    // sheet's bytes depend only on its own drawing.
    std::vector<Canvas> images(sheets.size());
    std::vector<std::vector<std::uint8_t>> files(sheets.size());
    std::atomic<std::size_t> next{0};
    const auto work = [&]
    {
        for (std::size_t i = next++; i < sheets.size(); i = next++)
        {
            images[i] = DrawSheet(sheets[i]);
            files[i] = EncodePng(images[i].ToRgba8(), images[i].Width(), images[i].Height());
        }
    };
    const unsigned helpers = std::clamp(std::thread::hardware_concurrency(), 1u, 8u) - 1;
    std::vector<std::thread> threads;
    for (unsigned i = 0; i < helpers; ++i)
    {
        threads.emplace_back(work);
    }
    work();
    for (std::thread& thread : threads)
    {
        thread.join();
    }
    for (std::size_t i = 0; i < sheets.size(); ++i)
    {
        if (!output.Write(SheetPath(sheets[i]), files[i]))
        {
            return false;
        }
        Rendered().emplace(sheets[i].name, std::move(images[i]));
    }
    return true;
}

} // namespace AssetGen

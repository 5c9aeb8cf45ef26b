#include "Brillow_Program.h"

#include "audio/Sound_Engine.h"
#include "framework/Velkor_Layer.h"
#include "framework/Velkor_Level.h"
#include "framework/Velkor_Sound.h"
#include "framework/Velkor_Text.h"
#include "game/Brillow_FindObjects.h"
#include "game/Brillow_GameButton.h"
#include "game/Brillow_IntroClass.h"
#include "game/Brillow_MyGame.h"
#include "game/Brillow_PlayLevelFlags.h"
#include "game/Brillow_PlayerBall.h"
#include "levels/Brillow_Application.h"
#include "levels/Brillow_MyLevelFactory.h"

#include <cstdio>
#include <sstream>

namespace
{

// The play level's pause and quit overlay, by object name.
const char* const OverlayNames[] = {"PauseScreen",   "PauseMouse", "PausedMouse2", "ResumeButton",
                                    "RestartButton", "ExitButton", "QuitScreen",   "QuitYesButton",
                                    "QuitNoButton",  "ResumeText"};

// What the screen shows: the player ball's place and state, the intro's
// picture, opacity and visibility, every button's frame and hover byte,
// every sound's play count, the listener gain, the window mode, the score
// text, the overlay objects shown (in the play level), the resume prompt
// while shown and every coloured and white ball's place.
std::string DescribeScreen(MyGame& game)
{
    std::ostringstream line;
    line << " ball=";
    if (PlayerBall* ball = FindObject<PlayerBall>("playerball"))
    {
        line << ball->GetPosition().x << "," << ball->GetPosition().y << ","
             << PlayerBall::GetBallStateName(ball->GetBallState());
    }
    else
    {
        line << "-";
    }
    line << " intro=";
    if (IntroClass* intro = FindObject<IntroClass>("sprite0"))
    {
        line << intro->GetCurrentFrameIndex() << "," << intro->GetOpacity() << ","
             << (intro->GetVisible() ? 1 : 0);
    }
    else
    {
        line << "-";
    }
    std::string buttons;
    std::string sounds;
    const Velkor::Level* level = game.GetCurrentLevel();
    Velkor::Layer::ObjectList objects;
    for (std::uint32_t i = 0; level != nullptr && i < level->GetLayersCount(); ++i)
    {
        level->GetLayer(i)->GetGameObjects(objects);
        for (const Core::RefPtr<Velkor::GameObject>& object : objects)
        {
            if (const auto* button = dynamic_cast<const GameButton*>(object.Get()))
            {
                buttons += (buttons.empty() ? "" : ",") + button->GetName() + ":" +
                           std::to_string(button->GetCurrentFrameIndex()) + ":" +
                           std::to_string(button->hovered);
            }
            else if (const auto* sound = dynamic_cast<const Velkor::Sound*>(object.Get()))
            {
                sounds += (sounds.empty() ? "" : ",") + sound->GetName() + ":" +
                          std::to_string(sound->GetPlayCount());
            }
        }
    }
    line << " buttons=" << (buttons.empty() ? "-" : buttons) << " sounds=" << (sounds.empty() ? "-" : sounds);
    const SoundEngine* sound = game.GetSoundEngine();
    line << " gain=" << (sound != nullptr ? sound->GetMasterVolume() : -1.0f);
    line << " fullscreen=" << (game.IsFullScreen() ? 1 : 0);
    const Velkor::Text* score = FindObject<Velkor::Text>("scoreText");
    line << " score=" << (score != nullptr ? "\"" + score->GetText() + "\"" : std::string("-"));
    std::string overlay;
    if (PlayLevelFlags::OfCurrentLevel() != nullptr)
    {
        for (const char* name : OverlayNames)
        {
            const Velkor::GameObject* object = FindObject<Velkor::GameObject>(name);
            if (object != nullptr && object->GetVisible())
            {
                overlay += (overlay.empty() ? "" : ",") + std::string(name);
            }
        }
    }
    line << " overlay=" << (overlay.empty() ? "-" : overlay);
    const Velkor::Text* prompt = FindObject<Velkor::Text>("ResumeText");
    line << " prompt="
         << (prompt != nullptr && prompt->GetVisible() ? "\"" + prompt->GetText() + "\"" : std::string("-"));
    // Every coloured and white ball on the field, in layer order.
    std::string balls;
    std::vector<Velkor::GameObject*> found;
    for (const char* name : {"bgc", "wb"})
    {
        FindAllObjects<Velkor::GameObject>(name, found);
        for (const Velkor::GameObject* ball : found)
        {
            std::ostringstream place;
            // Exact enough to tell any two floats apart.
            place.precision(9);
            place << name << ":" << ball->GetPosition().x << "," << ball->GetPosition().y;
            balls += (balls.empty() ? "" : ";") + place.str();
        }
    }
    line << " balls=" << (balls.empty() ? "-" : balls);
    return line.str();
}

} // namespace

Engine::CommandLine MakeBrillowCommandLine(Harness::RunOptions& options)
{
    Engine::CommandLine commandLine("brillow");
    options.program = "brillow";
    Harness::AddRunOptions(commandLine, options);
    return commandLine;
}

std::string DescribeBrillowFrame()
{
    MyGame* game = MyGame::GetInstance();
    if (game == nullptr)
    {
        return "no game";
    }
    std::string line;
    const auto add = [&line](const std::string& name, const std::string& value)
    { line += (line.empty() ? "" : " ") + name + "=" + value; };
    const auto number = [](auto value) { return std::to_string(static_cast<long long>(value)); };

    const Velkor::Level* level = game->GetCurrentLevel();
    add("level", level != nullptr ? number(game->GetCurrentLevelIndex()) + ":" + level->GetName() : "-");
    if (const auto* factory = dynamic_cast<const MyLevelFactory*>(game->GetLevelFactory().Get()))
    {
        add("built", number(factory->GetLevelsBuilt()));
    }
    std::string state = "-";
    if (game->levelSM && !game->levelSM->IsFirstUpdate())
    {
        if (const auto* current = game->levelSM->GetCurrentState())
        {
            state = current->name;
        }
    }
    add("LevelSM", state);
    add("stage", number(game->stage));
    add("totalScore", number(game->totalScore));
    add("levelScore", number(game->levelScore));
    add("pointsNeeded", number(game->pointsNeeded));
    add("playStarted", number(game->playStarted));
    add("startRequested", number(game->startRequested));
    add("tutorialRequested", number(game->tutorialRequested));
    add("playerLost", number(game->playerLost));
    add("backToMenuRequested", number(game->backToMenuRequested));
    add("creditsRequested", number(game->creditsRequested));
    add("optionsRequested", number(game->optionsRequested));
    add("muted", number(game->muted));
    add("introRunning", number(game->introRunning));
    PlayLevelFlags* flags = PlayLevelFlags::OfCurrentLevel();
    std::string carried;
    for (std::uint32_t i = 0; flags != nullptr && i < PlayFlagCount; ++i)
    {
        const auto flag = static_cast<PlayFlag>(i);
        std::uint32_t value = 0;
        if (flags->ReadPlayFlag(flag, value))
        {
            carried +=
                (carried.empty() ? "" : ",") + std::string(GetPlayFlagName(flag)) + ":" + number(value);
        }
    }
    add("flags", carried.empty() ? "-" : carried);
    return line + DescribeScreen(*game);
}

// The command line was checked before the engine started (Brillow_Main.cpp).
Core::RefPtr<Engine::Application> CreateApplication(const std::vector<std::string>& arguments)
{
    Harness::RunOptions options;
    const std::string problem = MakeBrillowCommandLine(options).Read(arguments);
    if (!problem.empty())
    {
        std::fprintf(stderr, "brillow: %s\n", problem.c_str());
        return nullptr;
    }
    MyLevelFactory::SetFixedSeed(options.seed);
    Core::RefPtr<Engine::Application> game = CreateBrillowApplication();
    Core::RefPtr<Engine::RenderingApplication> rendering(
        dynamic_cast<Engine::RenderingApplication*>(game.Get()));
    return Core::RefPtr<Engine::Application>(
        new ("Brillow_Program", __LINE__) Harness::RunHarness(options, rendering, &DescribeBrillowFrame));
}

#pragma once

// The game played from the main menu as a player would: the intro skipped
// with Enter, a click on START, then the autopilot at the pointer through
// the loading screen into the play level. Every frame writes the program's
// log line (the game data, the play switches, what the screen shows) and
// the places of every ball; a frame may be photographed between its drawing
// and the swap. In the optimised tree the game runs on the OpenGL renderer
// behind a gate that draws only the frames to be photographed (drawing every
// frame in software would take a long play-through many minutes); the
// pictures are kept for review in the build tree. In the sanitizer tree the
// recording renderer stands in and nothing is photographed. A repeated run
// draws nothing, and its log must be the same all the same.
#include "BrillowAutopilot.h"
#include "LevelsTestSupport.h"

#include "Brillow_Program.h"
#include "Harness_InputScript.h"

#include "core/Core_Object.h"
#include "engine/Engine_FontCache.h"
#include "game/Brillow_GameLevel.h"
#include "renderer/Renderer_FrameGateRenderer.h"
#include "renderer/Renderer_TextureCache.h"

#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#ifndef BRILLOW_PLAY_SHOTS
#define BRILLOW_PLAY_SHOTS 0
#endif

namespace BrillowTest
{

// Level indexes the runs pass through.
inline constexpr std::uint32_t MenuLevel = 0;
inline constexpr std::uint32_t PlayLevel = 1;
inline constexpr std::uint32_t LoseLevel = 2;
inline constexpr std::uint32_t WinLevel = 3;
inline constexpr std::uint32_t SecondLoseLevel = 8;

class PlayThroughDisplayTest : public LevelsDisplayTest
{
protected:
    static constexpr bool Shots = BRILLOW_PLAY_SHOTS != 0;

    void SetUp() override
    {
        LevelsDisplayTest::SetUp();
        if (IsSkipped())
        {
            return;
        }
        photographing = Shots;
        if (Shots)
        {
            Engine::RenderingApplication::SetRendererFactory(&Renderer::FrameGateRenderer::Make);
            std::filesystem::create_directories(PictureFolder());
        }
    }

    // Where this fixture's pictures go.
    virtual std::filesystem::path PictureFolder() const { return ShotFolder(); }

    // The next game is not photographed: in the optimised tree its gate
    // stays shut, so that it differs from a photographed run only in the
    // frames drawn.
    void WithoutPictures() { photographing = false; }

    // Frames the OpenGL renderer drew in this game (0 on the recording one).
    static std::uint32_t FramesDrawn()
    {
        const Renderer::FrameGateRenderer* gate = Renderer::FrameGateRenderer::GetGate();
        return gate != nullptr ? gate->GetFramesDrawn() : 0;
    }

    static std::filesystem::path ShotFolder()
    {
        return std::filesystem::path(ENGINE_TEST_BINARY_DIR) / "screenshots" / "brillow_play";
    }

    // The game on a pinned seed, the intro skipped and a menu button
    // clicked at frame 24 (the menu's first visit is measured just before):
    // START unless `button` gives another one's window pixel ("x y", y from
    // the bottom).
    void StartFromMenu(std::uint32_t seed = 4242, const std::string& button = "270 336")
    {
        MyLevelFactory::SetFixedSeed(seed);
        std::vector<Harness::InputEvent> menu;
        const std::string script = "2 move 512 430\n"
                                   "5 key-down enter\n"
                                   "6 key-up enter\n"
                                   "20 move " +
                                   button +
                                   "\n"
                                   "24 press left\n"
                                   "25 release left\n";
        const std::string problem = Harness::ParseInputScript(script, menu);
        ASSERT_EQ(problem, "");
        Start(menu);
        log.clear();
        nextShot.clear();
        pointer = Math::Vector2D(0.0f, 46.0f);
        while (FrameNumber() < 23)
        {
            Step();
        }
        ASSERT_EQ(game->GetCurrentLevelIndex(), MenuLevel);
        menuObjects = UncachedObjects();
    }

    // Live objects beside the textures and fonts that the caches keep for
    // the levels still to come.
    static std::int32_t UncachedObjects()
    {
        std::int64_t count = Core::GetLiveObjectCount();
        count -= static_cast<std::int64_t>(Renderer::TextureCache::GetInstance().GetTextureCount());
        if (const Engine::FontCache* fonts = Engine::FontCache::GetInstance())
        {
            count -= static_cast<std::int64_t>(fonts->GetFontCount());
        }
        return static_cast<std::int32_t>(count);
    }

    std::uint32_t LevelIndex() const { return game->GetCurrentLevelIndex(); }

    GameLevel* Play() const { return dynamic_cast<GameLevel*>(game->GetCurrentLevel()); }

    // Moves the pointer to the field position `at`.
    void Point(const Math::Vector2D& at)
    {
        pointer = at;
        Harness::InputEvent move;
        move.kind = Harness::InputEvent::Kind::Move;
        move.x = static_cast<std::int32_t>(std::lround(at.x)) + 512;
        move.y = static_cast<std::int32_t>(std::lround(at.y)) + 384;
        Harness::ApplyInputEvent(move, harness->GetInputSource());
    }

    // A left click (press now, release before the next frame's input).
    void Press(bool down)
    {
        Harness::InputEvent click;
        click.kind = down ? Harness::InputEvent::Kind::Press : Harness::InputEvent::Kind::Release;
        click.virtualKey = 1;
        Harness::ApplyInputEvent(click, harness->GetInputSource());
    }

    // Whether the autopilot has the pointer this frame: in the play level
    // while it is not paused.
    virtual bool Piloting() const { return Play() != nullptr && Play()->paused == 0; }

    // The log line of the frame just run.
    virtual std::string Describe() const { return DescribeBrillowFrame() + Balls(); }

    // One frame; while Piloting the autopilot moves the pointer first. Once
    // the frame has run, `photograph` may name a picture of the next frame:
    // that one is drawn and photographed before its swap. A frame must be
    // known to be photographed before it runs, since the gate is opened for
    // the whole of it.
    template <class Photograph> void Step(BrillowAutopilot* pilot, Photograph photograph)
    {
        if (pilot != nullptr && Piloting())
        {
            Point(pilot->Steer(pointer));
        }
        Renderer::FrameGateRenderer* gate = photographing ? Renderer::FrameGateRenderer::GetGate() : nullptr;
        const bool drawn = gate != nullptr && !nextShot.empty();
        if (gate != nullptr)
        {
            gate->SetDrawing(drawn);
        }
        harness->BeginFrame();
        harness->RunFrame();
        log.push_back(std::to_string(FrameNumber()) + " " + Describe());
        if (drawn)
        {
            const std::string path = (PictureFolder() / nextShot).string();
            EXPECT_TRUE(Harness::WriteScreenshotPng(*game->GetRenderer(), path)) << path;
            shots.push_back(nextShot);
        }
        // Asked every frame, so that a caller may count frames in it.
        const std::string named = photograph();
        nextShot = photographing ? named : std::string();
        harness->EndFrame();
        if (gate != nullptr)
        {
            gate->SetDrawing(false);
        }
    }

    void Step(BrillowAutopilot* pilot = nullptr)
    {
        Step(pilot, [] { return std::string(); });
    }

    // A click on a screen button at window pixel (x, y from the bottom),
    // then frames until the level `index` is current (at most `limit`).
    bool ClickAndWaitFor(std::int32_t x, std::int32_t y, std::uint32_t index, std::uint32_t limit)
    {
        Point(Math::Vector2D(static_cast<float>(x - 512), static_cast<float>(y - 384)));
        Step();
        Step();
        Press(true);
        Step();
        Press(false);
        for (std::uint32_t i = 0; i < limit && LevelIndex() != index; ++i)
        {
            Step();
        }
        return LevelIndex() == index;
    }

    // The places of every ball in the play level, for the log.
    static std::string Balls()
    {
        std::ostringstream line;
        const auto add = [&line](const char* title, const auto& objects)
        {
            line << " " << title << "=";
            for (const auto* object : objects)
            {
                line << object->GetPositionX() << "," << object->GetPositionY() << ";";
            }
        };
        std::vector<ball*> coloured;
        std::vector<whiteball*> white;
        std::vector<SpikeBall*> spiked;
        FindAllObjects<ball>("bgc", coloured);
        FindAllObjects<whiteball>("wb", white);
        FindAllObjects<SpikeBall>("ss", spiked);
        add("bgc", coloured);
        add("wb", white);
        add("ss", spiked);
        return line.str();
    }

    // The value of `field` in a log line ("totalScore", "level").
    static std::string Field(const std::string& line, const std::string& field)
    {
        const std::size_t at = line.find(" " + field + "=");
        if (at == std::string::npos)
        {
            return "";
        }
        const std::size_t start = at + field.size() + 2;
        return line.substr(start, line.find(' ', start) - start);
    }

    bool photographing = false;
    Math::Vector2D pointer;
    std::vector<std::string> log;
    std::vector<std::string> shots;
    // The picture the next frame is drawn for; empty for none.
    std::string nextShot;
    std::int32_t menuObjects = 0;
};

} // namespace BrillowTest

#pragma once

#include "framework/Velkor_LevelFactory.h"
#include "framework/Velkor_Sprite.h"

#include <cstdint>
#include <string>

// The network demo's scene: an empty "Lobby" and two walled arenas, "Arena"
// and "Court", where the host's balls bounce. Every level registers the
// template "Ball" with the session layer, so both sides can make balls.
namespace NetDemoScene
{

// The walls: the box from (0, 0) to (Width, Height), in world units.
constexpr float Width = 100.0f;
constexpr float Height = 75.0f;
constexpr float Radius = 2.0f;

// The template's network name.
constexpr const char* BallName = "Ball";

// A ball: a sprite with a body that bounces off the walls where it is
// simulated (the host; a client's copy only follows the host's syncs). Its
// sync record carries, after the sprite's, the number of the host's frame
// it was sent in.
class Ball : public Velkor::Sprite
{
    CORE_DECLARE_OBJECT(Ball)

public:
    static constexpr const char* ScriptTypeName = Velkor::Sprite::ScriptTypeName;

    Ball();
    Ball(const Ball& other);

    void Update(float dt) override;
    void NetworkSyncSend(Core::File& file) override;
    void NetworkSyncReceive(Core::File& file) override;

    // The host frame of the last sync applied (0 before the first).
    std::uint32_t GetSyncFrame() const { return syncFrame_; }

    // The frame number the host's syncs carry from now on.
    static void SetSendFrame(std::uint32_t frame);

private:
    std::uint32_t syncFrame_ = 0;
};

// The template as the levels register it: a ball with a body of mass 1.
Ball* MakeTemplate();

class Factory : public Velkor::LevelFactory
{
public:
    std::uint32_t GetLevelCount() override { return 3; }
    Velkor::Level* CreateLevel(std::uint32_t index) override;
    bool GetLevelIndex(const std::string& name, std::uint32_t& index) override;
};

} // namespace NetDemoScene

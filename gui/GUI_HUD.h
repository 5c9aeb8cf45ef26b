#pragma once

#include <cstdint>

namespace Core
{
class File;
}

namespace GUI
{

// The heads-up display as the game class drives it: made once with the
// game, updated before the game's own update, drawn after the level, cleared
// on every level switch, saved and loaded with the game.
//
// This is the display's outer surface only: it holds no forms or controls
// yet, so every operation does nothing, and Save and Load write and read no
// bytes.
class HUD
{
public:
    // Records this display as the single one.
    HUD();
    // Forgets the single display when it is this one.
    ~HUD();
    HUD(const HUD&) = delete;
    HUD& operator=(const HUD&) = delete;

    // The display alive now, or null.
    static HUD* GetInstance();

    // Empties forms, controls and cursor state.
    void Clear();
    // Per frame, `dt` in seconds.
    void Update(float dt);
    void Render();
    void Save(Core::File& file);
    void Load(Core::File& file);
    // Shows or hides the display's own cursor.
    void ShowCursor(bool show);

    // Tests follow the frame through the display: the observer hears the
    // name of every per-frame and switch operation ("Clear", "Update",
    // "Render") with its user word. Null stops it.
    using CallObserver = void (*)(const char* operation, void* userData);
    static void SetCallObserver(CallObserver observer, void* userData);

private:
    static void Notify(const char* operation);
};

} // namespace GUI

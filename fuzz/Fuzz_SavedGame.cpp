// Saved games, read by a running game. A save that does not load leaves the
// running game as it was (its own save is the same bytes) and says why; one
// that loads saves bytes that load again to the same bytes, and runs a
// frame. The running game's own save brings it back for the next input.

#include "fuzz/Fuzz_SavedGame.h"
#include "fuzz/Fuzz_Support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Velkor::Game& game = Fuzz::GetSavedGame();
    static const Fuzz::Bytes running = Fuzz::SaveOf(game);
    std::string error;
    if (!game.LoadGame(Fuzz::Bytes(data, data + size), error))
    {
        Fuzz::Require(Fuzz::SaveOf(game) == running, "a save that does not load changes nothing");
        Fuzz::Require(!error.empty(), "a refused save says why");
        return 0;
    }
    const Fuzz::Bytes once = Fuzz::SaveOf(game);
    Fuzz::Require(game.LoadGame(once, error), "what loaded saves bytes that load again");
    Fuzz::Require(Fuzz::SaveOf(game) == once, "a loaded game saves what it loaded");
    Fuzz::RunFrames(game, 1);
    Fuzz::Require(game.LoadGame(running, error) && Fuzz::SaveOf(game) == running,
                  "the running game comes back whole from its save");
    return 0;
}

// The game's part of a saved game: the level machine's record and the game
// data. A record that reads writes back bytes that read again to the same
// record; a failed read hands back nothing.

#include "core/Core_MemoryFile.h"
#include "fuzz/Fuzz_Support.h"
#include "game/Brillow_MyGame.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const Core::RefPtr<MyGame::LevelMachine> machine = MyGame::MakeLevelSM(nullptr);
    Core::MemoryFile file(data, static_cast<std::uint32_t>(size));
    Core::RefPtr<MyGame::LevelMachine> read;
    MyGame::GameData values;
    values.stage = -77;
    if (!MyGame::ReadGameStateRecord(file, machine.Get(), read, values))
    {
        Fuzz::Require(!read && values.stage == -77, "a failed read hands back nothing");
        return 0;
    }
    Fuzz::Require(read && read.Get() != machine.Get(), "the machine is read into a copy");
    const auto write = [](const MyGame::LevelMachine& written, const MyGame::GameData& record)
    {
        Core::MemoryFile bytes;
        written.Write(bytes);
        bytes << record.totalScore << record.levelScore << record.pointsNeeded << record.playStarted
              << record.stage;
        for (const std::uint8_t request : record.requests)
        {
            bytes << request;
        }
        return bytes.GetBuffer();
    };
    const std::vector<std::uint8_t> first = write(*read, values);
    Core::MemoryFile again(first.data(), static_cast<std::uint32_t>(first.size()));
    Core::RefPtr<MyGame::LevelMachine> reread;
    MyGame::GameData valuesAgain;
    Fuzz::Require(MyGame::ReadGameStateRecord(again, machine.Get(), reread, valuesAgain) &&
                      write(*reread, valuesAgain) == first,
                  "what was read writes back bytes that read again to the same record");
    return 0;
}

// Replay-data files: the recorded input of every frame of a recording.

#include "framework/Velkor_ReplayRecord.h"
#include "fuzz/Fuzz_Support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Core::MemoryFile file(data, static_cast<std::uint32_t>(size));
    std::vector<Velkor::ReplayRecord> records;
    records.emplace_back();
    records.back().dt = 0.25f;
    std::string error;
    if (!Velkor::ReadReplayRecords(file, records, error))
    {
        Fuzz::Require(records.size() == 1 && records[0].dt == 0.25f, "a failed read changes nothing");
        Fuzz::Require(!error.empty(), "a refused file says why");
        return 0;
    }
    for (std::size_t i = 1; i < records.size(); ++i)
    {
        const Velkor::ReplayRecord& record = records[i];
        for (const Velkor::ReplayChangeList* list : {record.keyboardChanges.get(), record.mouseChanges.get()})
        {
            Fuzz::Require(list == nullptr || list->indices.size() == list->states.size(),
                          "every index has its state");
        }
        if (record.mouseChanges)
        {
            for (const std::uint8_t button : record.mouseChanges->indices)
            {
                Fuzz::Require(button < 3, "mouse buttons are 0 to 2");
            }
        }
        Fuzz::Require(record.dt > 0.0f, "every frame has a positive step");
    }
    // What was read writes back the same records (the newest is never
    // written, so one more stands behind them).
    records.erase(records.begin());
    records.emplace_back();
    const Fuzz::Bytes bytes =
        Fuzz::WrittenBytes([&](Core::File& out) { Velkor::WriteReplayRecords(out, records); });
    Core::MemoryFile again(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    std::vector<Velkor::ReplayRecord> copy;
    Fuzz::Require(Velkor::ReadReplayRecords(again, copy, error) && copy.size() + 1 == records.size(),
                  "what was read writes back records that read again");
    return 0;
}

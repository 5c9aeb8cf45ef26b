#include "framework/Velkor_ReplayRecord.h"

#include "core/Core_File.h"

#include <cmath>

namespace Velkor
{

namespace
{

// Flags, mouse position and dt: the least a record takes.
constexpr std::uint64_t SmallestRecordSize = 1 + 1 + 4 + 4 + 4;
constexpr std::uint32_t KeyCount = 256;
constexpr std::uint32_t MouseButtonCount = 3;

void WriteChangeList(Core::File& file, const ReplayChangeList* list)
{
    const std::uint32_t keyCount = list != nullptr ? static_cast<std::uint32_t>(list->indices.size()) : 0;
    file << keyCount;
    if (keyCount != 0)
    {
        file.Write(list->indices.data(), keyCount);
    }
    const std::uint32_t entryCount = list != nullptr ? static_cast<std::uint32_t>(list->states.size()) : 0;
    file << entryCount;
    if (entryCount != 0)
    {
        file.Write(list->states.data(), entryCount * static_cast<std::uint32_t>(sizeof(Input::KeyRecord)));
    }
}

// Reads one list; `limit` bounds the indices (exclusive).
bool ReadChangeList(Core::File& file, std::uint32_t limit, ReplayChangeList& list, std::string& error,
                    const char* device)
{
    std::uint32_t keyCount = 0;
    if (!file.ReadExact(&keyCount, sizeof keyCount) || !file.Require(keyCount))
    {
        error = std::string("the ") + device + " list runs past the end";
        return false;
    }
    list.indices.resize(keyCount);
    if (keyCount != 0 && !file.ReadExact(list.indices.data(), keyCount))
    {
        error = std::string("the ") + device + " list runs past the end";
        return false;
    }
    std::uint32_t entryCount = 0;
    if (!file.ReadExact(&entryCount, sizeof entryCount) ||
        !file.Require(std::uint64_t{entryCount} * sizeof(Input::KeyRecord)))
    {
        error = std::string("the ") + device + " states run past the end";
        return false;
    }
    if (entryCount != keyCount)
    {
        error = std::string("the ") + device + " list has " + std::to_string(keyCount) + " indices but " +
                std::to_string(entryCount) + " states";
        file.SetError(Core::FileError::BadData);
        return false;
    }
    list.states.resize(entryCount);
    if (entryCount != 0 && !file.ReadExact(list.states.data(),
                                           entryCount * static_cast<std::uint32_t>(sizeof(Input::KeyRecord))))
    {
        error = std::string("the ") + device + " states run past the end";
        return false;
    }
    for (const std::uint8_t index : list.indices)
    {
        if (index >= limit)
        {
            error = std::string("the ") + device + " list names button " + std::to_string(index);
            file.SetError(Core::FileError::BadData);
            return false;
        }
    }
    return true;
}

// A device's changed flag and, when it is set, its list.
bool ReadDevice(Core::File& file, std::uint32_t limit, const char* device, bool& changed,
                std::unique_ptr<ReplayChangeList>& list, std::string& error)
{
    std::uint8_t flag = 0;
    if (!file.ReadExact(&flag, 1))
    {
        error = "the records run past the end";
        return false;
    }
    changed = flag != 0;
    if (!changed)
    {
        return true;
    }
    list = std::make_unique<ReplayChangeList>();
    return ReadChangeList(file, limit, *list, error, device);
}

} // namespace

void WriteReplayRecords(Core::File& file, const std::vector<ReplayRecord>& records)
{
    const std::uint32_t count = records.empty() ? 0 : static_cast<std::uint32_t>(records.size() - 1);
    file << count;
    for (std::uint32_t i = 0; i < count; ++i)
    {
        const ReplayRecord& record = records[i];
        const bool keyboard = record.keyboardChanged && record.keyboardChanges;
        const bool mouse = record.mouseChanged && record.mouseChanges;
        file << keyboard;
        if (keyboard)
        {
            WriteChangeList(file, record.keyboardChanges.get());
        }
        file << mouse;
        if (mouse)
        {
            WriteChangeList(file, record.mouseChanges.get());
        }
        file << static_cast<std::uint32_t>(record.mouse.x) << static_cast<std::uint32_t>(record.mouse.y);
        file << record.dt;
    }
}

bool ReadReplayRecords(Core::File& file, std::vector<ReplayRecord>& records, std::string& error)
{
    std::uint32_t count = 0;
    if (!file.ReadExact(&count, sizeof count) || !file.Require(std::uint64_t{count} * SmallestRecordSize))
    {
        error = "the record count runs past the end";
        return false;
    }
    std::vector<ReplayRecord> read(count);
    for (std::uint32_t i = 0; i < count; ++i)
    {
        ReplayRecord& record = read[i];
        const std::string where = " (record " + std::to_string(i) + ")";
        if (!ReadDevice(file, KeyCount, "keyboard", record.keyboardChanged, record.keyboardChanges, error) ||
            !ReadDevice(file, MouseButtonCount, "mouse", record.mouseChanged, record.mouseChanges, error))
        {
            error += where;
            return false;
        }
        std::uint32_t x = 0;
        std::uint32_t y = 0;
        file >> x >> y >> record.dt;
        if (file.Failed())
        {
            error = "the records run past the end" + where;
            return false;
        }
        record.mouse.x = static_cast<std::int32_t>(x);
        record.mouse.y = static_cast<std::int32_t>(y);
        // The recorder only sees frames that ran, each with a positive step.
        if (!std::isfinite(record.dt) || record.dt <= 0.0f)
        {
            error = "the time step is not a positive number" + where;
            file.SetError(Core::FileError::BadData);
            return false;
        }
    }
    for (ReplayRecord& record : read)
    {
        records.push_back(std::move(record));
    }
    return true;
}

} // namespace Velkor

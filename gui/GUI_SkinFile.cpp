#include "gui/GUI_SkinFile.h"

#include "core/Core_DiskFile.h"
#include "core/Core_File.h"

#include <cmath>

namespace GUI
{

namespace
{

constexpr std::uint32_t RecordBytes = 32;

} // namespace

bool ReadSkinRecords(Core::File& file, std::vector<SkinRecord>& records, std::string& problem)
{
    std::uint32_t count = 0;
    if (!file.ReadExact(&count, sizeof count))
    {
        problem = "the record count is missing";
        return false;
    }
    if (file.GetBytesLeft() / RecordBytes < count)
    {
        file.SetError(Core::FileError::ShortRead);
        problem = "it names " + std::to_string(count) + " records but holds " +
                  std::to_string(file.GetBytesLeft() / RecordBytes);
        return false;
    }
    std::vector<SkinRecord> read(count);
    for (std::uint32_t i = 0; i < count; ++i)
    {
        float values[8];
        if (!file.ReadExact(values, sizeof values))
        {
            problem = "record " + std::to_string(i) + " is cut short";
            return false;
        }
        for (const float value : values)
        {
            if (!std::isfinite(value))
            {
                file.SetError(Core::FileError::BadData);
                problem = "record " + std::to_string(i) + " holds a value that is not a number";
                return false;
            }
        }
        read[i] = SkinRecord{values[0], values[1], values[2], values[3],
                             values[4], values[5], values[6], values[7]};
    }
    records = std::move(read);
    return true;
}

void WriteSkinRecords(Core::File& file, const std::vector<SkinRecord>& records)
{
    file << static_cast<std::uint32_t>(records.size());
    for (const SkinRecord& r : records)
    {
        file << r.x << r.y << r.width << r.height << r.leftColumnEnd << r.rightColumnStart << r.bottomRowEnd
             << r.topRowStart;
    }
}

bool LoadSkinFile(const std::string& fileName, std::vector<SkinRecord>& records, std::string& problem)
{
    Core::DiskFile file(fileName, Core::DiskFile::ReadMode);
    if (!file.IsOpen())
    {
        // The report takes the reason from opening the file itself.
        problem.clear();
        return false;
    }
    return ReadSkinRecords(file, records, problem);
}

} // namespace GUI

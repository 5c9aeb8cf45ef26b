#pragma once

#include "core/Core_File.h"
#include "core/Core_RefPtr.h"

#include <cstdint>
#include <vector>

namespace GUI
{

// A stored list of forms or controls: a count, then each entry as an object.
// The count is checked against the bytes left before anything is allocated;
// a missing entry is bad data. On failure the list holds what was read so
// far and the archive carries the error.
template <class T> bool ReadObjectList(Core::File& file, std::vector<Core::RefPtr<T>>& list)
{
    std::uint32_t count = 0;
    if (!file.ReadExact(&count, sizeof count) || !file.Require(count))
    {
        return false;
    }
    list.resize(count);
    for (Core::RefPtr<T>& entry : list)
    {
        Core::ReadRefPtr(file, entry);
        if (file.Failed())
        {
            return false;
        }
        if (!entry)
        {
            file.SetError(Core::FileError::BadData);
            return false;
        }
    }
    return true;
}

} // namespace GUI

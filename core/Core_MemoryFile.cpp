#include "core/Core_MemoryFile.h"

#include <cstring>

namespace Core
{

MemoryFile::MemoryFile(const void* bytes, std::uint32_t size)
{
    if (bytes != nullptr && size != 0)
    {
        const auto* first = static_cast<const std::uint8_t*>(bytes);
        data_.assign(first, first + size);
    }
}

void MemoryFile::Write(const void* buffer, std::uint32_t length)
{
    if (length == 0)
    {
        return;
    }
    const auto* first = static_cast<const std::uint8_t*>(buffer);
    data_.insert(data_.end(), first, first + length);
}

void MemoryFile::Read(void* buffer, std::uint32_t length)
{
    if (Failed() || length == 0)
    {
        return;
    }
    if (length > GetBytesLeft())
    {
        SetError(FileError::ShortRead);
        return;
    }
    std::memcpy(buffer, data_.data() + readPosition_, length);
    readPosition_ += length;
}

std::uint64_t MemoryFile::GetBytesLeft() const
{
    return data_.size() - readPosition_;
}

} // namespace Core

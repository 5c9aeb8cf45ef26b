#pragma once

#include "core/Core_File.h"

#include <cstdint>
#include <vector>

namespace Core
{

// An archive in memory: writes append to the buffer, reads go forward from
// the read position and never past the end. Network messages are built and
// parsed in one.
class MemoryFile : public File
{
public:
    MemoryFile() = default;
    // Copies `size` bytes; reading starts at the first of them.
    MemoryFile(const void* bytes, std::uint32_t size);

    void Write(const void* buffer, std::uint32_t length) override;
    void Read(void* buffer, std::uint32_t length) override;
    std::uint64_t GetBytesLeft() const override;

    std::uint32_t GetSize() const { return static_cast<std::uint32_t>(data_.size()); }
    std::uint32_t GetReadPosition() const { return readPosition_; }
    const std::uint8_t* GetData() const { return data_.data(); }
    const std::vector<std::uint8_t>& GetBuffer() const { return data_; }

private:
    std::vector<std::uint8_t> data_;
    std::uint32_t readPosition_ = 0;
};

} // namespace Core

#pragma once

#include "core/Core_File.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace Core
{

// An archive on a disk file, in binary mode. The name is an engine path
// (backslashes allowed); it is turned into a native one when opened.
class DiskFile : public File
{
public:
    enum Mode : std::int32_t
    {
        ReadMode = 0,  // open an existing file for reading
        WriteMode = 1, // create or truncate for writing
    };

    DiskFile() = default;
    // Any other mode opens nothing. A failed open leaves the archive failed.
    DiskFile(const std::string& fileName, std::int32_t mode);
    ~DiskFile() override;

    DiskFile(const DiskFile&) = delete;
    DiskFile& operator=(const DiskFile&) = delete;

    // Closes what was open, empties the object table, clears the error and
    // opens the file.
    void Open(const std::string& fileName, std::int32_t mode);
    // Flushes and closes; false when the file was not open or anything
    // written did not reach the disk.
    bool Close();
    bool IsOpen() const { return stream_ != nullptr; }

    void Write(const void* buffer, std::uint32_t length) override;
    void Read(void* buffer, std::uint32_t length) override;
    std::uint64_t GetBytesLeft() const override;
    bool Failed() const override;

private:
    std::FILE* stream_ = nullptr;
    std::int32_t mode_ = -1;
    std::uint64_t size_ = 0;
    std::uint64_t position_ = 0;
};

// Turns an engine path into one the operating system opens. The platform
// layer installs the full rule at start-up (executable directory, case-blind
// match); until then backslashes simply become slashes.
using NativePathFunction = std::string (*)(const std::string& path);
void SetNativePathFunction(NativePathFunction function);
std::string ToNativePath(const std::string& path);

} // namespace Core

#include "core/Core_DiskFile.h"

#include <algorithm>

namespace Core
{

namespace
{

std::string DefaultNativePath(const std::string& path)
{
    std::string native = path;
    std::replace(native.begin(), native.end(), '\\', '/');
    return native;
}

NativePathFunction g_nativePath = &DefaultNativePath;

} // namespace

void SetNativePathFunction(NativePathFunction function)
{
    g_nativePath = function != nullptr ? function : &DefaultNativePath;
}

std::string ToNativePath(const std::string& path)
{
    return g_nativePath(path);
}

DiskFile::DiskFile(const std::string& fileName, std::int32_t mode)
{
    Open(fileName, mode);
}

DiskFile::~DiskFile()
{
    Close();
}

void DiskFile::Open(const std::string& fileName, std::int32_t mode)
{
    if (stream_ != nullptr)
    {
        std::fclose(stream_);
        stream_ = nullptr;
    }
    ClearObjectTable();
    error_ = FileError::None;
    mode_ = mode;
    size_ = 0;
    position_ = 0;

    const char* openMode = mode == ReadMode ? "rb" : mode == WriteMode ? "wb" : nullptr;
    if (openMode == nullptr)
    {
        return;
    }
    stream_ = std::fopen(ToNativePath(fileName).c_str(), openMode);
    if (stream_ == nullptr)
    {
        SetError(FileError::StreamFailure);
        return;
    }
    if (mode == ReadMode)
    {
        // The size bounds every read, so counts in a file can be checked
        // against what it holds before anything is allocated for them.
        if (std::fseek(stream_, 0, SEEK_END) == 0)
        {
            const long end = std::ftell(stream_);
            size_ = end > 0 ? static_cast<std::uint64_t>(end) : 0;
        }
        std::rewind(stream_);
    }
}

bool DiskFile::Close()
{
    if (stream_ == nullptr)
    {
        return false;
    }
    if (std::fclose(stream_) != 0)
    {
        SetError(FileError::StreamFailure);
    }
    stream_ = nullptr;
    ClearObjectTable();
    return error_ == FileError::None;
}

void DiskFile::Write(const void* buffer, std::uint32_t length)
{
    if (stream_ == nullptr || mode_ != WriteMode || Failed())
    {
        SetError(FileError::StreamFailure);
        return;
    }
    if (length != 0 && std::fwrite(buffer, 1, length, stream_) != length)
    {
        SetError(FileError::StreamFailure);
    }
}

void DiskFile::Read(void* buffer, std::uint32_t length)
{
    if (Failed() || length == 0)
    {
        return;
    }
    if (stream_ == nullptr || mode_ != ReadMode)
    {
        SetError(FileError::StreamFailure);
        return;
    }
    if (length > GetBytesLeft())
    {
        SetError(FileError::ShortRead);
        return;
    }
    if (std::fread(buffer, 1, length, stream_) != length)
    {
        SetError(FileError::StreamFailure);
        return;
    }
    position_ += length;
}

std::uint64_t DiskFile::GetBytesLeft() const
{
    return stream_ != nullptr && mode_ == ReadMode && size_ > position_ ? size_ - position_ : 0;
}

bool DiskFile::Failed() const
{
    return stream_ == nullptr || File::Failed();
}

} // namespace Core

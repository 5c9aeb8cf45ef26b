#include "core/Core_File.h"

#include "core/Core_ClassRegistry.h"

#include <algorithm>

namespace Core
{

namespace
{
// Class names are short identifiers; a longer one is corrupt data, refused
// before anything is allocated for it.
constexpr std::uint32_t MaxClassNameLength = 255;
} // namespace

const char* GetFileErrorText(FileError error)
{
    switch (error)
    {
    case FileError::None:
        return "no error";
    case FileError::ShortRead:
        return "the data ends early";
    case FileError::UnknownClass:
        return "an object of an unknown class";
    case FileError::StreamFailure:
        return "the file could not be opened, written or closed";
    case FileError::BadData:
        return "a value is out of range";
    }
    return "unknown error";
}

File::~File() = default;

void File::SetError(FileError error)
{
    if (error_ == FileError::None)
    {
        error_ = error;
    }
}

bool File::ReadExact(void* buffer, std::uint32_t length)
{
    if (Failed())
    {
        return false;
    }
    Read(buffer, length);
    return !Failed();
}

bool File::Require(std::uint64_t bytes)
{
    if (Failed())
    {
        return false;
    }
    if (bytes > GetBytesLeft())
    {
        SetError(FileError::ShortRead);
        return false;
    }
    return true;
}

void File::ClearObjectTable()
{
    writtenIds_.clear();
    idCounter_ = 0;
    // Moved out first: freeing an object may run code that reads the table.
    const auto held = std::move(readObjects_);
    readObjects_.clear();
    heldObjects_.clear();
}

void File::ForEachReadObject(const std::function<void(Object&)>& visit) const
{
    for (const auto& entry : readObjects_)
    {
        visit(*entry.second);
    }
}

std::uint32_t File::GetOutsideReferenceCount(const Object& object) const
{
    const std::uint32_t count = object.GetReferenceCount();
    return heldObjects_.contains(&object) ? count - 1 : count;
}

bool File::IsBeingRead(const Object* object) const
{
    return std::find(reading_.begin(), reading_.end(), object) != reading_.end();
}

void File::WriteObject(Object* object)
{
    if (object == nullptr)
    {
        *this << std::uint8_t{0};
        return;
    }
    *this << std::uint8_t{1};
    const std::string className = object->GetClassName();
    // Indexed by address, so a graph of n objects costs O(n), not O(n^2).
    const auto [entry, isNew] = writtenIds_.try_emplace(object, idCounter_ + 1);
    if (!isNew)
    {
        *this << className << entry->second;
        return;
    }
    ++idCounter_;
    *this << className << idCounter_;
    object->Write(*this);
}

Object* File::ReadObject()
{
    std::uint8_t present = 0;
    if (!ReadExact(&present, sizeof present) || present == 0)
    {
        return nullptr;
    }
    std::uint32_t nameLength = 0;
    if (!ReadExact(&nameLength, sizeof nameLength))
    {
        return nullptr;
    }
    if (nameLength > MaxClassNameLength)
    {
        SetError(FileError::BadData);
        return nullptr;
    }
    std::string className(nameLength, '\0');
    std::uint32_t id = 0;
    if (!ReadExact(className.data(), nameLength) || !ReadExact(&id, sizeof id))
    {
        return nullptr;
    }
    if (const auto found = readObjects_.find(id); found != readObjects_.end())
    {
        return found->second.Get();
    }
    if (reading_.size() >= MaxObjectDepth)
    {
        SetError(FileError::BadData);
        return nullptr;
    }
    Object* object = CreateObject(className.c_str());
    if (object == nullptr)
    {
        // The object's data has no length in the stream, so nothing after
        // it can be found: the archive stops here.
        unknownClassName_ = className;
        SetError(FileError::UnknownClass);
        return nullptr;
    }
    readObjects_.emplace(id, RefPtr<Object>(object));
    heldObjects_.insert(object);
    ReadingScope scope(*this, *object);
    object->Read(*this);
    return object;
}

File::ReadingScope::ReadingScope(File& file, const Object& object) : file_(file)
{
    file_.reading_.push_back(&object);
}

File::ReadingScope::~ReadingScope()
{
    file_.reading_.pop_back();
    if (file_.reading_.empty())
    {
        file_.RunEndOfRead();
    }
}

void File::AtEndOfRead(std::function<void()> action)
{
    endOfRead_.push_back(std::move(action));
    if (reading_.empty())
    {
        RunEndOfRead();
    }
}

void File::RunEndOfRead()
{
    // An action may queue another.
    while (!endOfRead_.empty())
    {
        std::vector<std::function<void()>> actions;
        actions.swap(endOfRead_);
        for (const std::function<void()>& action : actions)
        {
            action();
        }
    }
}

File& operator<<(File& file, bool value)
{
    const std::uint8_t byte = value ? 1 : 0;
    file.Write(&byte, 1);
    return file;
}

File& operator>>(File& file, bool& value)
{
    std::uint8_t byte = 0;
    if (file.ReadExact(&byte, 1))
    {
        value = byte != 0;
    }
    return file;
}

} // namespace Core

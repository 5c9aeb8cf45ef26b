#pragma once

#include "core/Core_RefPtr.h"
#include "core/Core_String.h"

#include <bit>
#include <cstdint>
#include <functional>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace Core
{

static_assert(std::endian::native == std::endian::little, "archives store numbers as they lie in memory");

// Why an archive stopped. The first error sticks; every later read delivers
// nothing, so a loader may read a whole record and test once at the end.
enum class FileError : std::uint8_t
{
    None,
    ShortRead,     // a read asked for more bytes than the archive holds
    UnknownClass,  // an object of a class that is not registered
    StreamFailure, // the file could not be opened, written or closed
    BadData,       // a value read is outside what the format allows
};

const char* GetFileErrorText(FileError error);

// An archive: a byte stream that also carries graphs of objects. An object is
// framed by a presence byte, its class name and an id unique within this
// archive; its own data follows at its first occurrence only, so a second
// reference reads back as the same object.
class File
{
public:
    File() = default;
    virtual ~File();

    // Appends raw bytes.
    virtual void Write(const void* buffer, std::uint32_t length) = 0;
    // Takes the next `length` bytes: all of them, or none when the archive
    // holds fewer or has failed (the error is set and `buffer` is untouched).
    virtual void Read(void* buffer, std::uint32_t length) = 0;
    virtual void WriteObject(Object* object);
    // Null for an absent object, the earlier object for a repeated id, or a
    // new object filled by its Read. Null, with the error set, for a class
    // that is not registered: the stream cannot go on.
    //
    // The archive holds a reference to every object it made until it is
    // destroyed or its object table is cleared. A reader therefore never
    // frees what it refuses (the object may be one whose Read is still
    // running further up the stack, or one a later record names again), and
    // whatever no one took when the archive goes is freed with it. A caller
    // takes its own reference before the archive goes.
    // Objects nest (an object's Read reads its members), so a new object
    // more than MaxObjectDepth reads deep is refused as bad data rather than
    // letting a damaged or hostile stream run the stack out.
    virtual Object* ReadObject();
    static constexpr std::uint32_t MaxObjectDepth = 512;

    // Bytes a Read can still deliver.
    virtual std::uint64_t GetBytesLeft() const = 0;
    virtual bool Failed() const { return error_ != FileError::None; }

    FileError GetError() const { return error_; }
    void SetError(FileError error);
    // The class name that stopped the stream, for error messages.
    const std::string& GetUnknownClassName() const { return unknownClassName_; }

    // Read that answers whether it delivered.
    [[nodiscard]] bool ReadExact(void* buffer, std::uint32_t length);
    // True when `bytes` more bytes are there to be read; otherwise fails the
    // archive. Readers check counts with it before allocating for them.
    bool Require(std::uint64_t bytes);

    // Forgets which objects were written or read (the id counter restarts)
    // and drops the archive's references to the objects it read.
    void ClearObjectTable();

    // Calls `visit` on every object this archive made and still holds, so a
    // loader that gives up can cut the links among them before they go.
    void ForEachReadObject(const std::function<void(Object&)>& visit) const;

    // References to `object` other than the archive's own: 1 for an object
    // that one reader took and no one else holds.
    std::uint32_t GetOutsideReferenceCount(const Object& object) const;

    // True while `object`'s own Read runs on this archive: a record nested in
    // it that refers back to it gets it unfinished.
    bool IsBeingRead(const Object* object) const;
    // Runs `action` once the outermost read running on this archive ends,
    // when every object of the graph is complete (at once when none runs).
    // Readers use it for checks that need the whole graph.
    void AtEndOfRead(std::function<void()> action);

    // Marks `object`'s Read as running for its lifetime. ReadObject opens
    // one; a Read that a caller runs directly on an existing object opens
    // its own, so that the objects nested in it wait for its end.
    class ReadingScope
    {
    public:
        ReadingScope(File& file, const Object& object);
        ~ReadingScope();
        ReadingScope(const ReadingScope&) = delete;
        ReadingScope& operator=(const ReadingScope&) = delete;

    private:
        File& file_;
    };

protected:
    FileError error_ = FileError::None;

private:
    void RunEndOfRead();

    std::unordered_map<const Object*, std::uint32_t> writtenIds_;
    std::unordered_map<std::uint32_t, RefPtr<Object>> readObjects_;
    std::unordered_set<const Object*> heldObjects_; // the objects readObjects_ holds
    std::uint32_t idCounter_ = 0;
    std::vector<const Object*> reading_; // objects whose Read is running, outermost first
    std::string unknownClassName_;
    std::vector<std::function<void()>> endOfRead_;
};

// Numbers and booleans travel as their little-endian bytes. Pointer-sized and
// `long` values have no archive form: formats use fixed 32-bit fields.
template <class T>
concept ArchiveScalar = (std::is_arithmetic_v<T> || std::is_enum_v<T>)&&!std::is_same_v<T, long> &&
                        !std::is_same_v<T, unsigned long> && !std::is_same_v<T, bool>;

template <ArchiveScalar T> File& operator<<(File& file, T value)
{
    file.Write(&value, sizeof value);
    return file;
}

template <ArchiveScalar T> File& operator>>(File& file, T& value)
{
    file.Read(&value, sizeof value);
    return file;
}

// Booleans are one byte; any non-zero byte reads as true.
File& operator<<(File& file, bool value);
File& operator>>(File& file, bool& value);

// Reads one object and hands it to `pointer` (the old one is released). An
// object of another class than T fails the archive and gives null; the
// archive keeps it, so an object still being read further up is not freed
// under its reader.
template <class T> File& ReadRefPtr(File& file, RefPtr<T>& pointer)
{
    Object* object = file.ReadObject();
    if (object == nullptr)
    {
        pointer = nullptr;
        return file;
    }
    T* typed = dynamic_cast<T*>(object);
    if (typed == nullptr)
    {
        file.SetError(FileError::BadData);
        pointer = nullptr;
        return file;
    }
    pointer = typed;
    return file;
}

template <class T> File& WriteRefPtrVector(File& file, const std::vector<RefPtr<T>>& objects)
{
    file << static_cast<std::uint32_t>(objects.size());
    for (const RefPtr<T>& object : objects)
    {
        file.WriteObject(object.Get());
    }
    return file;
}

// A 32-bit count, then each object. A count that cannot fit in what the
// archive holds (every object takes at least one byte) fails the archive.
template <class T> File& ReadRefPtrVector(File& file, std::vector<RefPtr<T>>& objects)
{
    std::uint32_t count = 0;
    if (!file.ReadExact(&count, sizeof count) || !file.Require(count))
    {
        return file;
    }
    std::vector<RefPtr<T>> read(count);
    for (RefPtr<T>& object : read)
    {
        ReadRefPtr(file, object);
        if (file.Failed())
        {
            return file;
        }
    }
    objects = std::move(read);
    return file;
}

} // namespace Core

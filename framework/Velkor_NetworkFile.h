#pragma once

#include "core/Core_MemoryFile.h"

#include <string>

namespace Velkor
{

// A network payload. Its object records carry no object table: every object
// is written whole (presence byte, class name as a network string, the
// object's NetworkSave) and every read makes a new object through its
// NetworkLoad. ReadObject on a network file reads such a record.
//
// A record that runs past the payload, names a class that is not
// registered, or names a class that is no game object makes the payload
// malformed: the file fails, nothing is created, and nothing further is
// read from it.
class NetworkFile : public Core::MemoryFile
{
public:
    NetworkFile() = default;
    NetworkFile(const void* bytes, std::uint32_t size) : Core::MemoryFile(bytes, size) {}

    // Null writes the single byte 0.
    void WriteNetworkObject(Core::Object* object);
    // A new object (the caller takes it; null on a null record or a
    // malformed payload).
    Core::Object* ReadNetworkObject();
    Core::Object* ReadObject() override { return ReadNetworkObject(); }
};

class GameObject;

// Hands a game object `file` as its network data file for one network
// operation (its script's values go there, between the record's fields),
// and takes it back at the end of the scope.
class NetworkDataScope
{
public:
    NetworkDataScope(GameObject& object, Core::File& file);
    ~NetworkDataScope();
    NetworkDataScope(const NetworkDataScope&) = delete;
    NetworkDataScope& operator=(const NetworkDataScope&) = delete;

private:
    GameObject& object_;
};

// u32 length, then the characters (none when the length is 0).
void WriteNetworkString(Core::File& file, const std::string& text);
// A length of 0 leaves `text` as it was; otherwise `text` becomes the
// characters up to the first zero byte. A length beyond what the file
// holds fails the file and leaves `text` as it was. False when the file has
// failed.
bool ReadNetworkString(Core::File& file, std::string& text);

} // namespace Velkor

#include "framework/Velkor_NetworkFile.h"

#include "core/Core_File.h"

#include "core/Core_ClassRegistry.h"
#include "core/Core_String.h"
#include "framework/Velkor_GameObject.h"

#include <cstring>

namespace Velkor
{

// The archive's own string form: a u32 length, then the bytes.
void WriteNetworkString(Core::File& file, const std::string& text)
{
    file << text;
}

bool ReadNetworkString(Core::File& file, std::string& text)
{
    std::uint32_t length = 0;
    if (!file.ReadExact(&length, sizeof length))
    {
        return false;
    }
    if (length == 0)
    {
        return true;
    }
    // Checked before anything is allocated: a peer may send any length.
    if (!file.Require(length))
    {
        return false;
    }
    std::string read(length, '\0');
    if (!file.ReadExact(read.data(), length))
    {
        return false;
    }
    read.resize(std::strlen(read.c_str()));
    text = std::move(read);
    return true;
}

NetworkDataScope::NetworkDataScope(GameObject& object, Core::File& file) : object_(object)
{
    object_.SetNetworkDataFile(&file);
}

NetworkDataScope::~NetworkDataScope()
{
    object_.SetNetworkDataFile(nullptr);
}

void NetworkFile::WriteNetworkObject(Core::Object* object)
{
    const std::uint8_t present = object != nullptr ? 1 : 0;
    Write(&present, 1);
    if (object == nullptr)
    {
        return;
    }
    WriteNetworkString(*this, object->GetClassName());
    if (auto* gameObject = dynamic_cast<GameObject*>(object))
    {
        NetworkDataScope scope(*gameObject, *this);
        gameObject->NetworkSave(*this);
    }
}

Core::Object* NetworkFile::ReadNetworkObject()
{
    std::uint8_t present = 0;
    if (!ReadExact(&present, 1) || present == 0)
    {
        return nullptr;
    }
    std::string className;
    if (!ReadNetworkString(*this, className))
    {
        return nullptr;
    }
    Core::Object* object = Core::CreateObject(className);
    if (object == nullptr)
    {
        SetError(Core::FileError::UnknownClass);
        return nullptr;
    }
    // Only game objects have a network record.
    auto* gameObject = dynamic_cast<GameObject*>(object);
    if (gameObject == nullptr)
    {
        Core::RefPtr<Core::Object> dropped(object);
        SetError(Core::FileError::BadData);
        return nullptr;
    }
    {
        NetworkDataScope scope(*gameObject, *this);
        gameObject->NetworkLoad(*this);
    }
    if (Failed())
    {
        Core::RefPtr<Core::Object> dropped(object);
        return nullptr;
    }
    // A new object without references: the caller takes the first one.
    return object;
}

} // namespace Velkor

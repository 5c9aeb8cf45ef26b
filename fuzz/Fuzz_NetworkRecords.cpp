// The payloads of networked objects as a peer sends them. The first byte
// chooses the reader:
//   even: a creation record (presence byte, class name, the object's
//         NetworkSave) read by NetworkFile::ReadNetworkObject;
//   odd:  a sync record read by NetworkSyncReceive of the kind that the
//         second byte names (a plain object, a sprite, a sound).
// The rest is the payload. A record that runs short or lies about a length
// makes nothing and changes nothing; one that reads writes back bytes that
// read again to the same bytes.

#include "framework/Velkor_GameObject.h"
#include "framework/Velkor_NetworkFile.h"
#include "framework/Velkor_Sound.h"
#include "framework/Velkor_Sprite.h"
#include "fuzz/Fuzz_Support.h"

#include <cstdlib>

namespace
{

Fuzz::Bytes CreationBytes(Core::Object* object)
{
    Velkor::NetworkFile file;
    file.WriteNetworkObject(object);
    return file.GetBuffer();
}

void ReadCreation(const std::uint8_t* data, std::size_t size)
{
    Velkor::NetworkFile file(data, static_cast<std::uint32_t>(size));
    const Core::RefPtr<Core::Object> object(file.ReadNetworkObject());
    if (!object)
    {
        Fuzz::Require(file.Failed() || (size > 0 && data[0] == 0), "only a null record reads as nothing");
        return;
    }
    Fuzz::Require(!file.Failed(), "a made object read its record whole");
    auto* gameObject = dynamic_cast<Velkor::GameObject*>(object.Get());
    Fuzz::Require(gameObject != nullptr, "a creation record makes game objects only");
    Fuzz::Require(gameObject->GetPhysicsId() == 0, "a networked copy carries no body");
    const Fuzz::Bytes once = CreationBytes(object.Get());
    Velkor::NetworkFile again(once.data(), static_cast<std::uint32_t>(once.size()));
    const Core::RefPtr<Core::Object> copy(again.ReadNetworkObject());
    Fuzz::Require(copy && copy->GetClassName() == std::string(object->GetClassName()) &&
                      CreationBytes(copy.Get()) == once,
                  "what was made writes back a record that makes the same again");
}

Core::RefPtr<Velkor::GameObject> MakeKind(std::uint8_t kind)
{
    switch (kind % 3)
    {
    case 0:
        return Core::RefPtr<Velkor::GameObject>(new Velkor::GameObject());
    case 1:
        return Core::RefPtr<Velkor::GameObject>(new Velkor::Sprite());
    default:
        return Core::RefPtr<Velkor::GameObject>(new Velkor::Sound());
    }
}

Fuzz::Bytes SyncBytes(Velkor::GameObject& object)
{
    Velkor::NetworkFile file;
    object.NetworkSyncSend(file);
    return file.GetBuffer();
}

void ReadSync(std::uint8_t kind, const std::uint8_t* data, std::size_t size)
{
    const Core::RefPtr<Velkor::GameObject> object = MakeKind(kind);
    object->SetName("synced");
    const Fuzz::Bytes before = SyncBytes(*object);
    Velkor::NetworkFile file(data, static_cast<std::uint32_t>(size));
    object->NetworkSyncReceive(file);
    if (file.Failed())
    {
        Fuzz::Require(SyncBytes(*object) == before, "a short sync record changes nothing");
        return;
    }
    const Fuzz::Bytes once = SyncBytes(*object);
    const Core::RefPtr<Velkor::GameObject> copy = MakeKind(kind);
    Velkor::NetworkFile again(once.data(), static_cast<std::uint32_t>(once.size()));
    copy->NetworkSyncReceive(again);
    Fuzz::Require(!again.Failed() && again.GetBytesLeft() == 0 && SyncBytes(*copy) == once,
                  "what a sync set sends a record that sets the same again");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A sound that starts playing asks for the sound engine, which there is
    // none of here; reports go to standard error.
    static const bool headless = [] { return setenv("ENGINE_HEADLESS", "1", 1) == 0; }();
    (void)headless;
    if (size < 1)
    {
        return 0;
    }
    if (data[0] % 2 == 0)
    {
        ReadCreation(data + 1, size - 1);
        return 0;
    }
    if (size < 2)
    {
        return 0;
    }
    ReadSync(data[1], data + 2, size - 2);
    return 0;
}

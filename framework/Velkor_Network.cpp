#include "framework/Velkor_Network.h"

namespace Velkor
{

namespace
{

ZibNet::CallObserver g_observer = nullptr;
void* g_observerData = nullptr;

} // namespace

NetPlayerMessage::NetPlayerMessage(std::uint32_t kind, ZibPlayer* player) : NetMessage(kind), player_(player)
{
}

NetPlayerMessage::~NetPlayerMessage() = default;

NetTextMessage::NetTextMessage(const std::string& text, ZibPlayer* sender)
    : NetMessage(Text), text_(text), sender_(sender)
{
}

NetTextMessage::~NetTextMessage() = default;

ZibPlayer::ZibPlayer(std::uint32_t id, const std::string& name, bool local, bool host,
                     const Core::RefPtr<Input::Keyboard>& keyboard, const Core::RefPtr<Input::Mouse>& mouse)
    : keyboard_(keyboard), mouse_(mouse), name_(name), id_(id), local_(local), host_(host)
{
}

ZibPlayer::~ZibPlayer() = default;

ZibNet::ZibNet() = default;

ZibNet::~ZibNet() = default;

void ZibNet::SetCallObserver(CallObserver observer, void* userData)
{
    g_observer = observer;
    g_observerData = userData;
}

void ZibNet::Record(const char* operation)
{
    // Only a pretend session keeps the names: a real game would grow the
    // list every frame.
    if (pretend_ != PretendSession::None)
    {
        calls_.emplace_back(operation);
    }
    if (g_observer != nullptr)
    {
        g_observer(operation, g_observerData);
    }
}

bool ZibNet::Start(bool, EventCallback, const std::string&, const std::string&, std::uint32_t, std::uint32_t,
                   std::uint32_t, std::uint16_t, std::uint16_t)
{
    return false;
}

bool ZibNet::HostSession(const std::string&, std::uint32_t, std::uint32_t, float)
{
    return false;
}

bool ZibNet::JoinSession(const std::string&, const std::string&, const std::string&)
{
    return false;
}

bool ZibNet::Shutdown()
{
    Record("Shutdown");
    if (!IsNetworkGame())
    {
        return false;
    }
    SetPretendSession(PretendSession::None);
    return true;
}

void ZibNet::ListenForSessions()
{
    Record("ListenForSessions");
}

ZibPlayer* ZibNet::FindPlayerByID(std::uint32_t id) const
{
    return localPlayer_ && localPlayer_->GetID() == id ? localPlayer_.Get() : nullptr;
}

bool ZibNet::Send(std::uint32_t messageId, const void* data, std::uint32_t size, void* group, bool reliable)
{
    Record("Send");
    if (!IsNetworkGame())
    {
        return false;
    }
    SentMessage message;
    message.messageId = messageId;
    if (data != nullptr)
    {
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        message.bytes.assign(bytes, bytes + size);
    }
    message.group = group;
    message.reliable = reliable;
    sent_.push_back(std::move(message));
    return true;
}

bool ZibNet::AddNetworkGameObject(const Core::RefPtr<GameObject>&, std::uint32_t, ZibPlayer*)
{
    return false;
}

bool ZibNet::RemoveNetworkGameObject(const Core::RefPtr<GameObject>&)
{
    return false;
}

void ZibNet::RemoveAllNetworkGameObjects()
{
    Record("RemoveAllNetworkGameObjects");
}

void ZibNet::ClearBaseNetObjects()
{
    Record("ClearBaseNetObjects");
}

Core::Object* ZibNet::FindBaseNetObject(const std::string&) const
{
    return nullptr;
}

void ZibNet::ResetNetworkKeyboards()
{
    Record("ResetNetworkKeyboards");
}

void ZibNet::Update(float)
{
    Record("Update");
}

void ZibNet::SetPretendSession(PretendSession session, std::uint32_t localPlayerId)
{
    pretend_ = session;
    if (session == PretendSession::None)
    {
        localPlayer_.Reset();
        return;
    }
    localPlayer_ = new ("Velkor_Network", __LINE__)
        ZibPlayer(localPlayerId, "Local", true, session == PretendSession::Host, nullptr, nullptr);
}

} // namespace Velkor

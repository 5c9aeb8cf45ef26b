#include "framework/Velkor_NetPlayer.h"

#include "input/Input_KeyboardImp.h"
#include "input/Input_MouseImp.h"

#include <algorithm>
#include <cstdlib>

namespace Velkor
{

ZibPlayer::ZibPlayer(std::uint32_t id, const std::string& name, bool local, bool host,
                     const Core::RefPtr<Input::Keyboard>& keyboard, const Core::RefPtr<Input::Mouse>& mouse)
    : keyboard_(keyboard), mouse_(mouse), name_(name), id_(id), local_(local ? 1 : 0), host_(host ? 1 : 0)
{
}

ZibPlayer::~ZibPlayer() = default;

Input::Keyboard* ZibPlayer::GetNetworkKeyboard() const
{
    if (local_ != 0 && host_ != 0)
    {
        return Input::KeyboardImp::GetInstance();
    }
    return keyboard_.Get();
}

Input::Mouse* ZibPlayer::GetNetworkMouse() const
{
    if (local_ != 0 && host_ != 0)
    {
        return Input::MouseImp::GetInstance();
    }
    return mouse_.Get();
}

void ZibPlayer::SetNetworkDevices(const Core::RefPtr<Input::Keyboard>& keyboard,
                                  const Core::RefPtr<Input::Mouse>& mouse)
{
    keyboard_ = keyboard;
    mouse_ = mouse;
}

ZibGroup::ZibGroup(const std::string& name, std::uint32_t id, ZibPlayer* owner)
    : name_(name), id_(id), owner_(owner)
{
}

ZibGroup::~ZibGroup() = default;

bool ZibGroup::AddPlayer(ZibPlayer* player)
{
    // Held from here: a refused player nobody else holds is released.
    const Core::RefPtr<ZibPlayer> keep(player);
    if (player == nullptr || FindPlayer(player->GetID()) != nullptr)
    {
        return false;
    }
    const auto place =
        std::upper_bound(players_.begin(), players_.end(), player->GetID(),
                         [](std::uint32_t id, const Core::RefPtr<ZibPlayer>& p) { return id < p->GetID(); });
    players_.insert(place, Core::RefPtr<ZibPlayer>(player));
    return true;
}

bool ZibGroup::RemovePlayer(std::uint32_t id)
{
    const auto found = std::find_if(players_.begin(), players_.end(),
                                    [id](const Core::RefPtr<ZibPlayer>& p) { return p->GetID() == id; });
    if (found == players_.end())
    {
        return false;
    }
    players_.erase(found);
    return true;
}

bool ZibGroup::RemovePlayer(const std::string& name)
{
    ZibPlayer* player = FindPlayer(name);
    return player != nullptr && RemovePlayer(player->GetID());
}

ZibPlayer* ZibGroup::FindPlayer(std::uint32_t id) const
{
    for (const Core::RefPtr<ZibPlayer>& player : players_)
    {
        if (player->GetID() == id)
        {
            return player.Get();
        }
    }
    return nullptr;
}

ZibPlayer* ZibGroup::FindPlayer(const std::string& name) const
{
    for (const Core::RefPtr<ZibPlayer>& player : players_)
    {
        if (player->GetName() == name)
        {
            return player.Get();
        }
    }
    return nullptr;
}

void ZibGroup::Sort()
{
    std::stable_sort(players_.begin(), players_.end(),
                     [](const Core::RefPtr<ZibPlayer>& a, const Core::RefPtr<ZibPlayer>& b)
                     { return a->GetID() < b->GetID(); });
}

std::string AddressWithPort(const Network::NetAddress& address)
{
    Network::NetAddress copy = address;
    copy.RefreshText();
    return copy.GetText() + ":" + std::to_string(address.GetPort());
}

bool ParseAddressWithPort(const std::string& text, Network::NetAddress& address)
{
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 >= text.size() || colon + 6 < text.size())
    {
        return false;
    }
    std::uint32_t port = 0;
    for (std::size_t i = colon + 1; i < text.size(); ++i)
    {
        if (text[i] < '0' || text[i] > '9')
        {
            return false;
        }
        port = port * 10 + static_cast<std::uint32_t>(text[i] - '0');
    }
    if (port == 0 || port > 65535)
    {
        return false;
    }
    const std::string host = text.substr(0, colon);
    const std::uint32_t resolved = Network::ResolveHost(host.c_str());
    if (resolved == INADDR_NONE)
    {
        return false;
    }
    Network::NetAddress parsed(nullptr, static_cast<std::int32_t>(port));
    parsed.SetAddress(resolved);
    parsed.RefreshText();
    address = parsed;
    return true;
}

ZibBroadcast::ZibBroadcast(const std::string& hostName, const std::string& networkId,
                           const std::string& address)
    : hostName_(hostName), networkId_(networkId), addressText_(address)
{
    ParseAddressWithPort(address, address_);
}

ZibBroadcast::ZibBroadcast(const std::string& hostName, const std::string& networkId,
                           const Network::NetAddress& address, std::uint32_t maxPlayers,
                           std::uint32_t currentPlayers, bool passwordProtected)
    : hostName_(hostName), networkId_(networkId), address_(address), addressText_(AddressWithPort(address)),
      maxPlayers_(maxPlayers), currentPlayers_(currentPlayers), passwordProtected_(passwordProtected ? 1 : 0)
{
}

} // namespace Velkor

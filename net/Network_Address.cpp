#include "net/Network_Address.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace Network
{

namespace
{

std::uint32_t SystemResolver(const char* name)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* results = nullptr;
    if (getaddrinfo(name, nullptr, &hints, &results) != 0 || results == nullptr)
    {
        return INADDR_NONE;
    }
    std::uint32_t address = INADDR_NONE;
    for (addrinfo* entry = results; entry != nullptr; entry = entry->ai_next)
    {
        if (entry->ai_family == AF_INET && entry->ai_addrlen >= sizeof(sockaddr_in))
        {
            address = reinterpret_cast<const sockaddr_in*>(entry->ai_addr)->sin_addr.s_addr;
            break;
        }
    }
    freeaddrinfo(results);
    return address;
}

std::atomic<Resolver> g_resolver{nullptr};

std::mutex g_overrideMutex;
bool g_overrideSet = false;
std::string g_override;

// inet_pton refuses the forms inet_addr took beside the dotted quad; the
// dotted quad is the only one the engine writes.
std::uint32_t ParseDotted(const char* text)
{
    in_addr address{};
    if (inet_pton(AF_INET, text, &address) != 1)
    {
        return INADDR_NONE;
    }
    return address.s_addr;
}

} // namespace

void SetResolver(Resolver resolver)
{
    g_resolver.store(resolver);
}

std::uint32_t ResolveHost(const char* name)
{
    if (name == nullptr || name[0] == '\0')
    {
        return INADDR_NONE;
    }
    const std::uint32_t dotted = ParseDotted(name);
    if (dotted != INADDR_NONE)
    {
        return dotted;
    }
    Resolver resolver = g_resolver.load();
    return resolver != nullptr ? resolver(name) : SystemResolver(name);
}

void SetLocalAddressOverride(const std::string& dotted)
{
    std::lock_guard<std::mutex> lock(g_overrideMutex);
    g_overrideSet = !dotted.empty();
    g_override = dotted;
}

std::string GetLocalAddressOverride()
{
    std::lock_guard<std::mutex> lock(g_overrideMutex);
    if (g_overrideSet)
    {
        return g_override;
    }
    const char* variable = std::getenv(LocalAddressVariable);
    return variable != nullptr ? std::string(variable) : std::string();
}

NetAddress::NetAddress()
{
    Set(nullptr, 0);
}

NetAddress::NetAddress(const char* host, std::int32_t port)
{
    Set(host, port);
}

void NetAddress::Set(const char* host, std::int32_t port)
{
    std::memset(&address_, 0, sizeof(address_));
    address_.sin_family = AF_INET;
    address_.sin_port = port >= 1 ? htons(static_cast<std::uint16_t>(port)) : 0;
    if (host == nullptr)
    {
        text_.clear();
        address_.sin_addr.s_addr = INADDR_ANY;
        return;
    }
    text_ = host;
    const std::uint32_t address = ResolveHost(host);
    address_.sin_addr.s_addr = address == INADDR_NONE ? INADDR_ANY : address;
}

void NetAddress::RefreshText()
{
    char buffer[INET_ADDRSTRLEN] = {};
    if (inet_ntop(AF_INET, &address_.sin_addr, buffer, sizeof(buffer)) != nullptr)
    {
        text_ = buffer;
    }
}

bool NetAddress::operator==(const NetAddress& other) const
{
    return address_.sin_port == other.address_.sin_port &&
           address_.sin_addr.s_addr == other.address_.sin_addr.s_addr;
}

} // namespace Network

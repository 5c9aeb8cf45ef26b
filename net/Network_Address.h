#pragma once

#include <netinet/in.h>

#include <cstdint>
#include <string>

namespace Network
{

// Turns a host name into an IPv4 address in network byte order, or
// INADDR_NONE when the name is unknown. Tests install their own so that no
// name server is ever asked.
using Resolver = std::uint32_t (*)(const char* name);

// The resolver every name lookup goes through; null restores the system one
// (getaddrinfo, IPv4 only).
void SetResolver(Resolver resolver);
std::uint32_t ResolveHost(const char* name);

// The environment variable that pins the local address, e.g. "127.0.0.1".
inline constexpr const char* LocalAddressVariable = "ENGINE_NET_LOCAL_ADDRESS";

// The process-wide local-address override: a dotted IPv4 address that
// sessions take as their local address instead of looking up the host name.
// Empty text clears it; with none set by the program, the environment
// variable above is read.
void SetLocalAddressOverride(const std::string& dotted);
std::string GetLocalAddressOverride();

// An IPv4 endpoint: the socket address exactly as the socket calls take it,
// and the text it was set from (or the dotted form of its address).
class NetAddress
{
public:
    NetAddress();
    NetAddress(const char* host, std::int32_t port);

    // Clears the address; the port is kept when it is at least 1. A dotted
    // host is taken as it stands; any other name goes through the resolver,
    // and a name it does not know gives address 0 (any). No host text gives
    // address 0 too.
    void Set(const char* host, std::int32_t port);
    // Sets the text to the dotted form of the address.
    void RefreshText();

    // Port and address equal; the text is not compared.
    bool operator==(const NetAddress& other) const;
    bool operator!=(const NetAddress& other) const { return !(*this == other); }

    const sockaddr_in& GetSockAddr() const { return address_; }
    sockaddr_in& GetSockAddr() { return address_; }
    // Host byte order.
    std::uint16_t GetPort() const { return ntohs(address_.sin_port); }
    // Network byte order.
    std::uint32_t GetAddress() const { return address_.sin_addr.s_addr; }
    void SetAddress(std::uint32_t networkOrder) { address_.sin_addr.s_addr = networkOrder; }
    const std::string& GetText() const { return text_; }

private:
    sockaddr_in address_;
    std::string text_;
};

static_assert(sizeof(sockaddr_in) == 16, "the socket address is the 16-byte IPv4 form");

} // namespace Network

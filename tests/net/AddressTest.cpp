#include "net/Network_Address.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace
{

using Network::NetAddress;

std::uint32_t KnowsOneName(const char* name)
{
    return std::string(name) == "known.test" ? htonl(0x7F000005u) : INADDR_NONE;
}

class AddressTest : public ::testing::Test
{
protected:
    void SetUp() override { Network::SetResolver(&KnowsOneName); }
};

TEST_F(AddressTest, SetFillsTheSocketAddressFromTextOrNone)
{
    struct Case
    {
        const char* host;
        std::int32_t port;
        const char* expectedAddress;
        std::uint16_t expectedPort;
    };
    const Case cases[] = {
        {"127.0.0.1", 3000, "127.0.0.1", 3000}, {nullptr, 80, "0.0.0.0", 80},
        {"127.0.0.1", 0, "127.0.0.1", 0},       {"127.0.0.1", -5, "127.0.0.1", 0},
        {"known.test", 7, "127.0.0.5", 7},      {"unknown.test", 7, "0.0.0.0", 7},
    };
    for (const Case& c : cases)
    {
        NetAddress address(c.host, c.port);
        const sockaddr_in& raw = address.GetSockAddr();
        EXPECT_EQ(raw.sin_family, AF_INET);
        EXPECT_EQ(raw.sin_port, htons(c.expectedPort));
        const unsigned char zero[8] = {};
        EXPECT_EQ(std::memcmp(raw.sin_zero, zero, 8), 0);
        // The text stays what it was set from until refreshed.
        EXPECT_EQ(address.GetText(), c.host != nullptr ? c.host : "");
        address.RefreshText();
        EXPECT_EQ(address.GetText(), c.expectedAddress) << (c.host != nullptr ? c.host : "none");
    }
}

TEST_F(AddressTest, EqualityComparesPortAndAddressOnly)
{
    NetAddress named("known.test", 9);
    NetAddress dotted("127.0.0.5", 9);
    EXPECT_EQ(named, dotted);
    EXPECT_NE(dotted, NetAddress("127.0.0.5", 10));
    EXPECT_NE(dotted, NetAddress("127.0.0.6", 9));
}

TEST_F(AddressTest, TheOverrideWinsOverTheEnvironment)
{
    setenv(Network::LocalAddressVariable, "127.0.0.9", 1);
    Network::SetLocalAddressOverride("");
    EXPECT_EQ(Network::GetLocalAddressOverride(), "127.0.0.9");
    Network::SetLocalAddressOverride("127.0.0.1");
    EXPECT_EQ(Network::GetLocalAddressOverride(), "127.0.0.1");
    unsetenv(Network::LocalAddressVariable);
}

} // namespace

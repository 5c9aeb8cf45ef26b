#pragma once

#include "net/Network_Engine.h"

#include <cstdint>

namespace Network
{

// Looks into a session's records from a test.
class SessionTestAccess
{
public:
    // How many operations hold the channel's record right now; -1 when the
    // channel has no live record.
    static std::int32_t UseCount(Zib_Session& session, std::uint32_t channel);
};

} // namespace Network

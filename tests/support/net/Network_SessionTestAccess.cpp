#include "net/Network_SessionTestAccess.h"

namespace Network
{

std::int32_t SessionTestAccess::UseCount(Zib_Session& session, std::uint32_t channel)
{
    if (!session.IsOpen() || !session.threads_.ReadLock(session.lock_))
    {
        return -1;
    }
    SocketRecord* record = session.FindChannel(channel);
    const std::int32_t count = record != nullptr ? session.GetUseCount(record) : -1;
    session.threads_.UnlockRWLock(session.lock_);
    return count;
}

} // namespace Network

#pragma once

// Helpers shared by the network tests.

#include "net/Network_Message.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <deque>
#include <vector>

namespace NetTest
{

using Bytes = std::vector<std::uint8_t>;

inline Bytes MakeMessage(std::uint32_t id, const Bytes& payload)
{
    Bytes message(8 + payload.size());
    Network::WriteHeader(message.data(), id, static_cast<std::uint32_t>(message.size()));
    std::copy(payload.begin(), payload.end(), message.begin() + 8);
    return message;
}

// Hands the reader chosen chunks, one per read, as a socket would: the
// count waiting, then at most that many bytes. With no chunk left it
// reports nothing waiting and EAGAIN (or the failure set with Fail).
class ScriptedSource : public Network::ByteSource
{
public:
    explicit ScriptedSource(std::vector<Bytes> chunks) : chunks_(chunks.begin(), chunks.end()) {}

    void Fail(long result, int error)
    {
        failResult_ = result;
        failError_ = error;
    }

    long Available() override { return chunks_.empty() ? 0 : static_cast<long>(chunks_.front().size()); }

    long Receive(std::uint8_t* destination, std::size_t capacity) override
    {
        if (chunks_.empty())
        {
            errno = failError_;
            return failResult_;
        }
        Bytes& chunk = chunks_.front();
        const std::size_t count = std::min(capacity, chunk.size());
        std::memcpy(destination, chunk.data(), count);
        chunk.erase(chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(count));
        if (chunk.empty())
        {
            chunks_.pop_front();
        }
        return static_cast<long>(count);
    }

private:
    std::deque<Bytes> chunks_;
    long failResult_ = -1;
    int failError_ = EAGAIN;
};

} // namespace NetTest

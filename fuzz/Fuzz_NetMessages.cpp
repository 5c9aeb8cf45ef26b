// Network messages: the stream reader fed the input in chunks whose sizes
// come from the input itself, and the datagram read fed it whole. Whatever
// comes out is the input's own bytes, message by message, each well formed;
// the reader never holds more than a message and one read.

#include "fuzz/Fuzz_Support.h"
#include "net/Network_Message.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace
{

// Hands out the input in chunks: each chunk's size is 1 + its first byte.
class ChunkedInput : public Network::ByteSource
{
public:
    ChunkedInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool Done() const { return at_ >= size_; }

    long Available() override
    {
        return Done() ? 0 : static_cast<long>(std::min<std::size_t>(size_ - at_, 1u + data_[at_]));
    }

    long Receive(std::uint8_t* destination, std::size_t capacity) override
    {
        if (Done())
        {
            errno = EAGAIN;
            return -1;
        }
        const std::size_t count = std::min<std::size_t>(capacity, static_cast<std::size_t>(Available()));
        std::memcpy(destination, data_ + at_, count);
        at_ += count;
        return static_cast<long>(count);
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ChunkedInput input(data, size);
    Network::StreamReader reader;
    std::size_t emitted = 0;
    while (!input.Done())
    {
        std::vector<Network::OwnedMessage> messages;
        const Network::StreamReader::Result result = reader.Read(input, messages);
        for (const Network::OwnedMessage& message : messages)
        {
            Fuzz::Require(message.length >= Network::HeaderSize && message.length <= Network::MaxMessageLength,
                          "an emitted message is at least a header and at most the cap");
            Fuzz::Require(Network::ReadHeader(message.data).length == message.length,
                          "an emitted message's header gives its length");
            Fuzz::Require(emitted + message.length <= size &&
                              std::memcmp(message.data, data + emitted, message.length) == 0,
                          "messages are the input's bytes in order");
            emitted += message.length;
        }
        Network::FreeMessages(messages);
        Fuzz::Require(reader.GetCapacity() <= 2u * Network::MaxMessageLength, "the reader's buffer stays bounded");
        if (result == Network::StreamReader::Result::Closed)
        {
            break;
        }
    }

    Network::OwnedMessage datagram = Network::CopyDatagram(data, size);
    if (datagram.data != nullptr)
    {
        Fuzz::Require(datagram.length == size && size >= Network::HeaderSize &&
                          Network::ReadHeader(data).length == size,
                      "a kept datagram is one whole message");
        Network::FreeMessage(datagram.data);
    }
    return 0;
}

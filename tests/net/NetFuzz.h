#pragma once

// Seeded inputs for the stream reader and the datagram read: valid messages
// with flipped, cut and lying bytes, split at random points. Shared by the
// test and the standalone driver.

#include "NetTestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <random>

namespace NetTest
{

enum class FuzzOutcome
{
    Waiting,
    Closed,
};

struct FuzzStats
{
    std::size_t messages = 0;
    std::size_t closed = 0;
    std::size_t waiting = 0;
    std::size_t datagramsKept = 0;
    std::size_t largestBuffer = 0;
};

inline Bytes MakeFuzzInput(std::mt19937& random)
{
    std::uniform_int_distribution<int> count(0, 6);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> size(0, 300);
    Bytes input;
    const int messages = count(random);
    for (int i = 0; i < messages; ++i)
    {
        Bytes payload(static_cast<std::size_t>(size(random)));
        for (std::uint8_t& value : payload)
        {
            value = static_cast<std::uint8_t>(byte(random));
        }
        const Bytes message = MakeMessage(static_cast<std::uint32_t>(random()), payload);
        input.insert(input.end(), message.begin(), message.end());
    }
    // Mutations: flipped bytes, a lying length, a cut, raw noise.
    const int mutations = count(random);
    for (int i = 0; i < mutations && !input.empty(); ++i)
    {
        std::uniform_int_distribution<std::size_t> at(0, input.size() - 1);
        switch (random() % 4)
        {
        case 0:
            input[at(random)] ^= static_cast<std::uint8_t>(1u << (random() % 8));
            break;
        case 1:
        {
            const std::size_t where = at(random);
            const std::uint32_t lie = static_cast<std::uint32_t>(random());
            for (std::size_t b = 0; b < 4 && where + b < input.size(); ++b)
            {
                input[where + b] = static_cast<std::uint8_t>(lie >> (8 * b));
            }
            break;
        }
        case 2:
            input.resize(at(random));
            break;
        default:
            input.push_back(static_cast<std::uint8_t>(byte(random)));
            break;
        }
    }
    if (input.empty() && random() % 2 == 0)
    {
        input.assign(static_cast<std::size_t>(count(random)), static_cast<std::uint8_t>(byte(random)));
    }
    return input;
}

// Feeds the input to a fresh reader in random chunks; every emitted message
// must be well formed and the buffer must stay bounded.
inline FuzzOutcome FeedStream(const Bytes& input, std::mt19937& random, FuzzStats& stats)
{
    std::vector<Bytes> chunks;
    for (std::size_t at = 0; at < input.size();)
    {
        const std::size_t take = std::min<std::size_t>(input.size() - at, 1 + random() % 64);
        chunks.emplace_back(input.begin() + static_cast<std::ptrdiff_t>(at),
                            input.begin() + static_cast<std::ptrdiff_t>(at + take));
        at += take;
    }
    ScriptedSource source(chunks);
    Network::StreamReader reader;
    for (std::size_t read = 0; read < chunks.size(); ++read)
    {
        std::vector<Network::OwnedMessage> out;
        const Network::StreamReader::Result result = reader.Read(source, out);
        for (const Network::OwnedMessage& message : out)
        {
            if (message.length < Network::HeaderSize ||
                Network::ReadHeader(message.data).length != message.length)
            {
                std::abort();
            }
        }
        stats.messages += out.size();
        stats.largestBuffer = std::max(stats.largestBuffer, reader.GetCapacity());
        Network::FreeMessages(out);
        if (result == Network::StreamReader::Result::Closed)
        {
            ++stats.closed;
            return FuzzOutcome::Closed;
        }
    }
    ++stats.waiting;
    return FuzzOutcome::Waiting;
}

inline void FeedDatagram(const Bytes& input, FuzzStats& stats)
{
    Network::OwnedMessage message = Network::CopyDatagram(input.data(), input.size());
    if (message.data != nullptr)
    {
        if (message.length != input.size())
        {
            std::abort();
        }
        ++stats.datagramsKept;
        Network::FreeMessage(message.data);
    }
}

} // namespace NetTest

// Runs the seeded stream and datagram inputs of the fuzz test for as long as
// asked: net_fuzz_driver [seconds, default 60] [seed, default the time].
// Prints the counts; any malformed message or overrun aborts (in the
// sanitizer build, with the sanitizer's report).

#include "NetFuzz.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    const double seconds = argc > 1 ? std::atof(argv[1]) : 60.0;
    const auto start = std::chrono::steady_clock::now();
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10))
                                   : static_cast<unsigned>(start.time_since_epoch().count());
    std::mt19937 random(seed);
    NetTest::FuzzStats stats;
    std::size_t inputs = 0;
    while (std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() < seconds)
    {
        for (int i = 0; i < 1000; ++i, ++inputs)
        {
            const NetTest::Bytes input = NetTest::MakeFuzzInput(random);
            NetTest::FeedStream(input, random, stats);
            NetTest::FeedDatagram(input, stats);
        }
    }
    std::printf("seed %u: %zu inputs, %zu messages, %zu closed, %zu waiting, %zu datagrams kept, largest "
                "buffer %zu\n",
                seed, inputs, stats.messages, stats.closed, stats.waiting, stats.datagramsKept,
                stats.largestBuffer);
    return stats.largestBuffer <= 2u * Network::MaxMessageLength ? 0 : 1;
}

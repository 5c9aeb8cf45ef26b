#pragma once

#include "fuzz/Fuzz_Support.h"

namespace Fuzz
{

// The promises of a reader `bool T::Read(Core::File&)` with a matching
// `Write`: a failed read leaves the target as it was (its write is the same
// before and after), and a successful one writes back bytes that a fresh T
// reads again.
template <class T>
void CheckReadBack(const std::uint8_t* data, std::size_t size)
{
    T target;
    const auto written = [](const T& object)
    { return WrittenBytes([&](Core::File& file) { object.Write(file); }); };
    const Bytes before = written(target);
    Core::MemoryFile file(data, static_cast<std::uint32_t>(size));
    const bool read = target.Read(file);
    Require(read != file.Failed(), "a read answers whether it succeeded");
    if (!read)
    {
        Require(written(target) == before, "a failed read changes nothing");
        return;
    }
    const Bytes again = written(target);
    Core::MemoryFile reread(again.data(), static_cast<std::uint32_t>(again.size()));
    T copy;
    Require(copy.Read(reread), "what was read writes back bytes that read again");
}

} // namespace Fuzz

// Object archives: every registered class through ReadObject. A graph that
// reads without fault writes back bytes that read again.

#include "fuzz/Fuzz_Support.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Core::RefPtr<Core::Object> first;
    bool sound = false;
    {
        Core::MemoryFile file(data, static_cast<std::uint32_t>(size));
        first = file.ReadObject();
        sound = first && !file.Failed();
    }
    if (sound)
    {
        const Fuzz::Bytes again = Fuzz::WrittenBytes([&](Core::File& file) { file.WriteObject(first.Get()); });
        Core::MemoryFile file(again.data(), static_cast<std::uint32_t>(again.size()));
        const Core::RefPtr<Core::Object> reread(file.ReadObject());
        Fuzz::Require(reread && !file.Failed(), "an object that read writes back bytes that read again");
    }
    return 0;
}

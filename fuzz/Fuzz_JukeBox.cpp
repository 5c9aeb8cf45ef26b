// Jukebox records, with their playlists, as a level's archive holds them.

#include "core/Core_RefPtr.h"
#include "framework/Velkor_Jukebox.h"
#include "fuzz/Fuzz_Support.h"

namespace
{

Fuzz::Bytes Written(Velkor::JukeBox& box)
{
    return Fuzz::WrittenBytes([&](Core::File& file) { file.WriteObject(&box); });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto length = static_cast<std::uint32_t>(size);
    {
        // The input as an archive: a jukebox read from it writes back bytes
        // that read again.
        Core::MemoryFile file(data, length);
        Core::RefPtr<Velkor::JukeBox> box;
        Core::ReadRefPtr(file, box);
        if (box && !file.Failed())
        {
            const Fuzz::Bytes bytes = Written(*box);
            Core::MemoryFile again(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
            Core::RefPtr<Velkor::JukeBox> copy;
            Core::ReadRefPtr(again, copy);
            Fuzz::Require(copy && !again.Failed(), "what was read writes back bytes that read again");
        }
    }
    {
        // The input as the record of a jukebox in use: a failed read leaves it as it was.
        Core::RefPtr<Velkor::JukeBox> box(new Velkor::JukeBox(std::vector<std::string>{}));
        box->AddPlaylist("Kept")->AddTrack("\\Resources\\JukeBoxes\\kept.wav", nullptr, 2);
        box->SetRepeat(true);
        box->SetFadeTime(1.5f);
        const Fuzz::Bytes before = Written(*box);
        Core::MemoryFile file(data, length);
        box->Read(file);
        if (file.Failed())
        {
            Fuzz::Require(Written(*box) == before, "a failed read changes nothing");
        }
    }
    return 0;
}

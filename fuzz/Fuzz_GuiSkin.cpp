// Skin files and skin images' records. A ".gui" file that does not read
// gives an image without records that draws nothing; a skin image's stream
// that does not read leaves the image as it was, and one that reads writes
// back bytes that read again to the same bytes.

#include "core/Core_MemoryFile.h"
#include "engine/Engine_RenderQueue.h"
#include "fuzz/Fuzz_Support.h"
#include "gui/GUI_Graphics.h"
#include "gui/GUI_GuiImage.h"
#include "gui/GUI_SkinFile.h"

#include <cstdlib>

namespace
{

struct Drawing
{
    Drawing()
    {
        // Reports of the missing textures go to standard error.
        setenv("ENGINE_HEADLESS", "1", 1);
    }
    Engine::RenderQueue queue;
    GUI::Graphics graphics;
};

const GUI::NRectangle Screen(0, 0, 1024, 768);

void Draw(GUI::GuiImage& image, Drawing& drawing)
{
    image.Draw(Screen);
    drawing.queue.ClearScreenObjects();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Drawing drawing;

    // The input as a skin file.
    const std::string path = Fuzz::WriteInputFile(data, size, ".gui");
    const std::string base = path.substr(0, path.size() - 4);
    std::vector<GUI::SkinRecord> records;
    std::string problem;
    const bool loaded = GUI::LoadSkinFile(path, records, problem);
    Fuzz::Require(loaded || records.empty(), "a skin file that does not read gives no records");
    Fuzz::Require(loaded || !problem.empty(), "a skin file that does not read says why");
    Fuzz::Require(!loaded || 4 + 32 * records.size() <= size, "no more records than the file holds");
    {
        GUI::GuiImage image(base, GUI::Size{75, 25});
        Fuzz::Require(image.GetRecordCount() == records.size(), "the image holds the records the file read");
        for (std::uint32_t state = 0; state < 12; ++state)
        {
            image.SetState(state);
            Draw(image, drawing);
        }
    }

    // The input as a skin image's stream.
    GUI::GuiImage target(base, GUI::Size{40, 20});
    const auto written = [](const GUI::GuiImage& image)
    { return Fuzz::WrittenBytes([&](Core::File& file) { image.Write(file); }); };
    const Fuzz::Bytes before = written(target);
    Core::MemoryFile in(data, static_cast<std::uint32_t>(size));
    target.Read(in);
    if (in.Failed())
    {
        Fuzz::Require(written(target) == before, "a skin image stream that does not read changes nothing");
        return 0;
    }
    Draw(target, drawing);
    const Fuzz::Bytes once = written(target);
    GUI::GuiImage again;
    Core::MemoryFile second(once.data(), static_cast<std::uint32_t>(once.size()));
    again.Read(second);
    Fuzz::Require(!second.Failed(), "what a skin image writes reads again");
    Fuzz::Require(written(again) == once, "a skin image writes what it read");
    return 0;
}

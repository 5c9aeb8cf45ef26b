// Image files (PNG, BMP, JPEG and what else the decoder sniffs), then the
// raw surface reader that takes whatever does not decode.

#include "fuzz/Fuzz_Support.h"
#include "renderer/Renderer_Image.h"
#include "renderer/Renderer_Surface.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    {
        Renderer::Image image;
        if (Renderer::DecodeImageFile(Fuzz::WriteInputFile(data, size, ".png"), image))
        {
            Fuzz::Require(image.width > 0 && image.height > 0 &&
                              image.rgba.size() == std::size_t{image.width} * image.height * 4,
                          "a decoded image holds width x height pixels");
        }
    }
    const Core::RefPtr<Renderer::Surface> surface(new Renderer::Surface(Fuzz::WriteInputFile(data, size, ".raw")));
    Fuzz::Require(surface->GetWidth() > 0, "a surface always has pixels");
    return 0;
}

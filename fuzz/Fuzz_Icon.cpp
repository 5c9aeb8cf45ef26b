// Icon files.

#include "fuzz/Fuzz_Support.h"
#include "pal/PAL_Icon.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    PAL::IconImage image;
    if (PAL::ReadIconFile(Fuzz::WriteInputFile(data, size, ".ico"), image))
    {
        Fuzz::Require(image.width > 0 && image.height > 0 &&
                          image.rgba.size() == std::size_t(image.width) * std::size_t(image.height) * 4,
                      "a read icon holds width x height pixels");
    }
    return 0;
}

#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "pal/PAL_Window.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace Renderer
{

// A display mode: resolution, colour depth and refresh rate (Hz).
struct DisplayModeRecord
{
    std::uint32_t width = 100;
    std::uint32_t height = 100;
    std::uint32_t colorBits = 16;
    std::uint32_t refreshRate = 60;
};

// A framebuffer format, also the form of a request (whose number is 0). In a
// request, channel sizes of 0 mean "any".
struct PixelFormatRecord
{
    std::uint32_t number = 0;
    std::uint32_t colorBits = 0;
    std::uint32_t redBits = 0;
    std::uint32_t greenBits = 0;
    std::uint32_t blueBits = 0;
    std::uint32_t alphaBits = 0;
    std::uint32_t depthBits = 0;
    std::uint32_t stencilBits = 0;
    std::uint32_t samples = 0;
    // Sample buffers present (requested).
    bool multisample = false;
    // 0 not stated, 1 exchange, 2 copy, 3 undefined.
    std::uint32_t swapMethod = 0;
};

// The display modes of the primary display: colour depth -> resolution
// (width, height) -> refresh rates, each level ascending. A mode whose rate
// the system does not state (0) lists its resolution without a rate.
class DisplayModes
{
public:
    void Add(const DisplayModeRecord& mode);
    void Clear() { modes_.clear(); }
    bool IsEmpty() const { return modes_.empty(); }

    std::vector<std::uint32_t> GetColorDepths() const;
    // Ascending by width, then height.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> GetResolutions(std::uint32_t colorBits) const;
    std::vector<std::uint32_t> GetRefreshRates(std::uint32_t colorBits, std::uint32_t width,
                                               std::uint32_t height) const;

    // The mode to switch to for a request:
    // 1. depth: the first listed depth not below the request, else the largest;
    // 2. resolution of that depth: the first equal to the request or larger
    //    (a larger width, or the same width and a larger height), else the
    //    largest;
    // 3. rate: the first not below the request, else the largest; 60 when the
    //    resolution lists none.
    // With no mode listed at all the request is returned as it is.
    DisplayModeRecord FindBestMode(const DisplayModeRecord& request) const;
    // True when the depth and resolution are listed and so is the rate, or
    // the resolution lists no rate.
    bool CanSet(const DisplayModeRecord& mode) const;

    // The mode in force on the primary display; false when it cannot be read.
    static bool GetCurrentDisplayMode(DisplayModeRecord& mode);

private:
    using Resolution = std::pair<std::uint32_t, std::uint32_t>;
    std::map<std::uint32_t, std::map<Resolution, std::set<std::uint32_t>>> modes_;
};

// What the display and the OpenGL driver offer: the display modes, the
// framebuffer format obtained, and the switch of a window to and from a
// full-screen mode. One adapter exists per process while anything holds it.
//
// A window's framebuffer format is fixed when the window is created, so the
// format is chosen before (`ChoosePixelFormat`) and read back once a context
// is current (`FillPixelFormats`). The platform offers no window-system
// extension list: it is always empty.
class Adapter : public Core::Object
{
public:
    // The process-wide adapter, made on first use; it lives while a counted
    // reference to it exists.
    static Core::RefPtr<Adapter> GetInstance();

    Adapter(const Adapter&) = delete;
    Adapter& operator=(const Adapter&) = delete;
    ~Adapter() override;

    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;

    const DisplayModes& GetDisplayModes() const { return displayModes_; }
    // The mode in force when the adapter was made (100 x 100, 16 bits, 60 Hz
    // when it could not be read).
    const DisplayModeRecord& GetCurrentMode() const { return currentMode_; }

    // The full-screen mode asked for (default 100 x 100, 16 bits, 60 Hz).
    void SetRequestedMode(const DisplayModeRecord& mode) { requestedMode_ = mode; }
    const DisplayModeRecord& GetRequestedMode() const { return requestedMode_; }
    // The best listed mode for the request.
    DisplayModeRecord GetBestMode() const { return displayModes_.FindBestMode(requestedMode_); }
    // True when the best mode for the request can be set.
    bool TestRequestedMode() const;

    // On (when not switched already): switches `window` to full screen in the
    // best mode for the request. Off (when switched): back to the desktop
    // mode. The switched mark changes only when the switch succeeds; false
    // when it failed.
    bool SetFullScreen(bool on, PAL::Window& window);
    bool IsDisplayModeChanged() const { return displayModeChanged_; }

    // Makes windows created from now on get a framebuffer for `request`:
    // channel, depth and stencil sizes, and samples when multisampling is
    // asked for; always double-buffered. Returns the attributes set.
    static PAL::GLAttributes ChoosePixelFormat(const PixelFormatRecord& request);
    // Reads the format of the current context into the format list (one
    // record, number 1) and the sample counts; nothing without a context.
    void FillPixelFormats();
    const std::vector<PixelFormatRecord>& GetPixelFormats() const { return pixelFormats_; }
    // Sample counts of the formats, ascending, without 0.
    const std::vector<std::uint32_t>& GetSampleCounts() const { return sampleCounts_; }
    bool HasMultisample() const { return multisampleAvailable_; }

    const std::vector<std::string>& GetWGLExtensions() const { return wglExtensions_; }
    bool HasWGLExtension(const std::string& name) const;

private:
    Adapter();

    bool displayModeChanged_ = false;
    bool multisampleAvailable_ = false;
    DisplayModes displayModes_;
    DisplayModeRecord requestedMode_;
    DisplayModeRecord currentMode_;
    std::vector<PixelFormatRecord> pixelFormats_;
    std::vector<std::uint32_t> sampleCounts_;
    std::vector<std::string> wglExtensions_;
};

// Keeps the process-wide adapter alive: the first holder makes it, later
// ones share it, and it goes with the last holder (and the last other
// reference). The application holds one for its lifetime.
class AdapterHolder
{
public:
    AdapterHolder() : adapter_(Adapter::GetInstance()) {}
    Adapter& GetAdapter() const { return *adapter_; }

private:
    Core::RefPtr<Adapter> adapter_;
};

} // namespace Renderer

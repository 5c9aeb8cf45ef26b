#include "renderer/Renderer_Adapter.h"

#include <algorithm>

namespace Renderer
{

// --- DisplayModes -------------------------------------------------------------

void DisplayModes::Add(const DisplayModeRecord& mode)
{
    std::set<std::uint32_t>& rates = modes_[mode.colorBits][Resolution(mode.width, mode.height)];
    if (mode.refreshRate != 0)
    {
        rates.insert(mode.refreshRate);
    }
}

std::vector<std::uint32_t> DisplayModes::GetColorDepths() const
{
    std::vector<std::uint32_t> depths;
    for (const auto& entry : modes_)
    {
        depths.push_back(entry.first);
    }
    return depths;
}

std::vector<std::pair<std::uint32_t, std::uint32_t>>
DisplayModes::GetResolutions(std::uint32_t colorBits) const
{
    std::vector<Resolution> resolutions;
    const auto depth = modes_.find(colorBits);
    if (depth != modes_.end())
    {
        for (const auto& entry : depth->second)
        {
            resolutions.push_back(entry.first);
        }
    }
    return resolutions;
}

std::vector<std::uint32_t> DisplayModes::GetRefreshRates(std::uint32_t colorBits, std::uint32_t width,
                                                         std::uint32_t height) const
{
    const auto depth = modes_.find(colorBits);
    if (depth == modes_.end())
    {
        return {};
    }
    const auto resolution = depth->second.find(Resolution(width, height));
    if (resolution == depth->second.end())
    {
        return {};
    }
    return std::vector<std::uint32_t>(resolution->second.begin(), resolution->second.end());
}

DisplayModeRecord DisplayModes::FindBestMode(const DisplayModeRecord& request) const
{
    if (modes_.empty())
    {
        return request;
    }
    DisplayModeRecord best = request;

    auto depth = modes_.lower_bound(request.colorBits);
    if (depth == modes_.end())
    {
        depth = std::prev(modes_.end());
    }
    best.colorBits = depth->first;

    // Pairs order by width, then height: the first not below the request is
    // the first equal to it, wider, or as wide and taller.
    const auto& resolutions = depth->second;
    auto resolution = resolutions.lower_bound(Resolution(request.width, request.height));
    if (resolution == resolutions.end())
    {
        resolution = std::prev(resolutions.end());
    }
    best.width = resolution->first.first;
    best.height = resolution->first.second;

    const std::set<std::uint32_t>& rates = resolution->second;
    if (rates.empty())
    {
        best.refreshRate = 60;
    }
    else
    {
        const auto rate = rates.lower_bound(request.refreshRate);
        best.refreshRate = rate != rates.end() ? *rate : *rates.rbegin();
    }
    return best;
}

bool DisplayModes::CanSet(const DisplayModeRecord& mode) const
{
    const auto depth = modes_.find(mode.colorBits);
    if (depth == modes_.end())
    {
        return false;
    }
    const auto resolution = depth->second.find(Resolution(mode.width, mode.height));
    if (resolution == depth->second.end())
    {
        return false;
    }
    return resolution->second.empty() || resolution->second.count(mode.refreshRate) != 0;
}

bool DisplayModes::GetCurrentDisplayMode(DisplayModeRecord& mode)
{
    PAL::DisplayMode current;
    if (!PAL::Window::GetCurrentDisplayMode(current))
    {
        return false;
    }
    mode.width = current.width;
    mode.height = current.height;
    mode.colorBits = current.colourBits;
    mode.refreshRate = current.refreshRate;
    return true;
}

// --- Adapter ------------------------------------------------------------------

namespace
{
// Not counted: the holders' references keep the adapter alive.
Adapter* g_adapter = nullptr;
} // namespace

Core::RefPtr<Adapter> Adapter::GetInstance()
{
    if (g_adapter == nullptr)
    {
        g_adapter = new ("Renderer_AdapterInformation", __LINE__) Adapter();
    }
    return Core::RefPtr<Adapter>(g_adapter);
}

Adapter::Adapter()
{
    for (const PAL::DisplayMode& mode : PAL::Window::GetDisplayModes())
    {
        displayModes_.Add(DisplayModeRecord{mode.width, mode.height, mode.colourBits, mode.refreshRate});
    }
    DisplayModes::GetCurrentDisplayMode(currentMode_);
}

Adapter::~Adapter()
{
    if (g_adapter == this)
    {
        g_adapter = nullptr;
    }
}

const char* Adapter::GetClassName() const
{
    return "Renderer::Adapter";
}

std::uint32_t Adapter::GetSize() const
{
    return sizeof(Adapter);
}

bool Adapter::TestRequestedMode() const
{
    return displayModes_.CanSet(GetBestMode());
}

bool Adapter::SetFullScreen(bool on, PAL::Window& window)
{
    if (on)
    {
        if (displayModeChanged_)
        {
            return true;
        }
        const DisplayModeRecord best = GetBestMode();
        if (!displayModes_.CanSet(best))
        {
            return false;
        }
        if (!window.SetFullScreen(
                true, PAL::DisplayMode{best.width, best.height, best.colorBits, best.refreshRate}))
        {
            return false;
        }
        displayModeChanged_ = true;
        return true;
    }
    if (!displayModeChanged_)
    {
        return true;
    }
    const PAL::DisplayMode desktop{currentMode_.width, currentMode_.height, currentMode_.colorBits,
                                   currentMode_.refreshRate};
    if (!window.SetFullScreen(false, desktop))
    {
        return false;
    }
    displayModeChanged_ = false;
    return true;
}

PAL::GLAttributes Adapter::ChoosePixelFormat(const PixelFormatRecord& request)
{
    PAL::GLAttributes attributes;
    attributes.redBits = static_cast<std::int32_t>(request.redBits);
    attributes.greenBits = static_cast<std::int32_t>(request.greenBits);
    attributes.blueBits = static_cast<std::int32_t>(request.blueBits);
    attributes.alphaBits = static_cast<std::int32_t>(request.alphaBits);
    attributes.depthBits = static_cast<std::int32_t>(request.depthBits);
    attributes.stencilBits = static_cast<std::int32_t>(request.stencilBits);
    attributes.samples = request.multisample ? static_cast<std::int32_t>(request.samples) : 0;
    attributes.doubleBuffer = true;
    PAL::Window::SetGLAttributes(attributes);
    return attributes;
}

void Adapter::FillPixelFormats()
{
    PAL::GLAttributes obtained;
    if (!PAL::Window::GetObtainedGLAttributes(obtained))
    {
        return;
    }
    const auto bits = [](std::int32_t value) { return static_cast<std::uint32_t>(std::max(value, 0)); };
    PixelFormatRecord format;
    format.number = 1;
    format.redBits = bits(obtained.redBits);
    format.greenBits = bits(obtained.greenBits);
    format.blueBits = bits(obtained.blueBits);
    format.alphaBits = bits(obtained.alphaBits);
    // As the colour depth of a format counts it: the colour channels without alpha.
    format.colorBits = format.redBits + format.greenBits + format.blueBits;
    format.depthBits = bits(obtained.depthBits);
    format.stencilBits = bits(obtained.stencilBits);
    format.samples = bits(obtained.samples);
    format.multisample = format.samples != 0;
    pixelFormats_.assign(1, format);
    sampleCounts_.clear();
    if (format.samples != 0)
    {
        sampleCounts_.push_back(format.samples);
    }
    multisampleAvailable_ = format.multisample;
}

bool Adapter::HasWGLExtension(const std::string& name) const
{
    return std::find(wglExtensions_.begin(), wglExtensions_.end(), name) != wglExtensions_.end();
}

} // namespace Renderer

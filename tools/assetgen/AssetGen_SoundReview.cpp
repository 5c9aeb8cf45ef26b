#include "AssetGen_SoundReview.h"

#include "AssetGen_Fonts.h"
#include "AssetGen_Palette.h"
#include "AssetGen_Text.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>

namespace AssetGen
{

namespace
{

using Synth::Signal;

constexpr int ReviewRate = 44100;
constexpr double GapSeconds = 0.3;
constexpr double TrackSeconds = 10.0;

// --- Listening file ------------------------------------------------------

// Doubles the rate of a 22,050 Hz sound: the new samples between the old
// ones come from a windowed-sinc half-band filter, so no image of the
// sound is heard above 11 kHz.
Signal Upsample2(const Signal& in)
{
    constexpr int Taps = 16;
    double h[Taps];
    double sum = 0.0;
    for (int k = 0; k < Taps; ++k)
    {
        const double x = k + 0.5;
        const double window = 0.5 * (1.0 + std::cos(Synth::Pi * x / (Taps + 0.5)));
        h[k] = std::sin(Synth::Pi * x) / (Synth::Pi * x) * window;
        sum += 2.0 * h[k];
    }
    const long n = static_cast<long>(in.size());
    auto at = [&in, n](long i)
    { return i < 0 || i >= n ? 0.0 : static_cast<double>(in[static_cast<std::size_t>(i)]); };
    Signal out(in.size() * 2);
    for (long i = 0; i < n; ++i)
    {
        double between = 0.0;
        for (int k = 0; k < Taps; ++k)
        {
            between += h[k] * (at(i - k) + at(i + 1 + k));
        }
        out[static_cast<std::size_t>(2 * i)] = in[static_cast<std::size_t>(i)];
        out[static_cast<std::size_t>(2 * i + 1)] = static_cast<float>(between / sum);
    }
    return out;
}

void AppendStereo(Signal& out, const RenderedSound& sound, double seconds)
{
    Signal mono;
    if (sound.channels == 1)
    {
        mono = sound.rate == ReviewRate ? sound.samples : Upsample2(sound.samples);
    }
    const std::size_t frames = std::min(sound.channels == 1 ? mono.size() : sound.Frames(),
                                        static_cast<std::size_t>(seconds * ReviewRate));
    const std::size_t fade = static_cast<std::size_t>(0.4 * ReviewRate);
    for (std::size_t i = 0; i < frames; ++i)
    {
        float left = sound.channels == 1 ? mono[i] : sound.samples[2 * i];
        float right = sound.channels == 1 ? mono[i] : sound.samples[2 * i + 1];
        // A track cut short fades, so the cut itself makes no click.
        if (sound.kind == SoundKind::Music && frames - i < fade)
        {
            const float g = static_cast<float>(frames - i) / static_cast<float>(fade);
            left *= g;
            right *= g;
        }
        out.push_back(left);
        out.push_back(right);
    }
}

Signal ListeningFile(const std::vector<RenderedSound>& sounds)
{
    Signal out;
    const std::size_t gap = static_cast<std::size_t>(GapSeconds * ReviewRate) * 2;
    for (const RenderedSound& sound : sounds)
    {
        if (sound.kind == SoundKind::Music)
        {
            AppendStereo(out, sound, TrackSeconds);
            out.insert(out.end(), gap * 2, 0.0f);
            continue;
        }
        const int laps = sound.kind == SoundKind::Loop ? 3 : 1;
        for (int lap = 0; lap < laps; ++lap)
        {
            AppendStereo(out, sound, sound.Seconds());
        }
        out.insert(out.end(), gap, 0.0f);
    }
    return out;
}

// --- Pictures --------------------------------------------------------------

void Fft(std::vector<std::complex<double>>& a)
{
    const std::size_t n = a.size();
    for (std::size_t i = 1, j = 0; i < n; ++i)
    {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
        {
            j ^= bit;
        }
        j ^= bit;
        if (i < j)
        {
            std::swap(a[i], a[j]);
        }
    }
    for (std::size_t length = 2; length <= n; length <<= 1)
    {
        const double angle = -Synth::TwoPi / static_cast<double>(length);
        const std::complex<double> step(std::cos(angle), std::sin(angle));
        for (std::size_t i = 0; i < n; i += length)
        {
            std::complex<double> w(1.0, 0.0);
            for (std::size_t k = 0; k < length / 2; ++k)
            {
                const std::complex<double> u = a[i + k];
                const std::complex<double> v = a[i + k + length / 2] * w;
                a[i + k] = u + v;
                a[i + k + length / 2] = u - v;
                w *= step;
            }
        }
    }
}

// The sound as one channel (stereo mixed to the middle).
Signal Mid(const RenderedSound& sound)
{
    if (sound.channels == 1)
    {
        return sound.samples;
    }
    Signal mid(sound.Frames());
    for (std::size_t i = 0; i < mid.size(); ++i)
    {
        mid[i] = 0.5f * (sound.samples[2 * i] + sound.samples[2 * i + 1]);
    }
    return mid;
}

// Dark blue through violet and orange to pale yellow.
Color Heat(double x)
{
    x = std::clamp(x, 0.0, 1.0);
    const Color stops[] = {Hex(0x05040F), Hex(0x2A0F5C), Hex(0x8A1F7A),
                           Hex(0xE0503A), Hex(0xFFB43A), Hex(0xFFF3B0)};
    const double at = x * 5.0;
    const int i = std::min(4, static_cast<int>(at));
    return Mix(stops[i], stops[i + 1], static_cast<float>(at - i));
}

void FillRect(Canvas& page, int x0, int y0, int x1, int y1, Color color)
{
    for (int y = std::max(0, y0); y < std::min(page.Height(), y1); ++y)
    {
        for (int x = std::max(0, x0); x < std::min(page.Width(), x1); ++x)
        {
            page.At(x, y) = color;
        }
    }
}

// Min and max per column in the wave's colour, the RMS inside them
// brighter; the lines at -0.5 dBFS mark where clipping would begin.
void DrawWave(Canvas& page, const Signal& mid, std::size_t from, std::size_t to, int x0, int y0, int width,
              int height, Color color)
{
    FillRect(page, x0, y0, x0 + width, y0 + height, Palette::Ink);
    const double half = height * 0.5;
    const double clip = std::pow(10.0, -0.5 / 20.0);
    for (int x = x0; x < x0 + width; ++x)
    {
        page.At(x, y0 + static_cast<int>(half)) = Hex(0x2A2850);
        page.At(x, y0 + static_cast<int>(half - clip * (half - 1))) = Hex(0x4A2030);
        page.At(x, y0 + static_cast<int>(half + clip * (half - 1))) = Hex(0x4A2030);
    }
    const std::size_t span = to - from;
    for (int c = 0; c < width; ++c)
    {
        const std::size_t a = from + span * static_cast<std::size_t>(c) / static_cast<std::size_t>(width);
        const std::size_t b =
            std::max(a + 1, from + span * static_cast<std::size_t>(c + 1) / static_cast<std::size_t>(width));
        float lo = 1.0f, hi = -1.0f;
        double square = 0.0;
        for (std::size_t i = a; i < b && i < mid.size(); ++i)
        {
            lo = std::min(lo, mid[i]);
            hi = std::max(hi, mid[i]);
            square += static_cast<double>(mid[i]) * mid[i];
        }
        const double rms = std::sqrt(square / static_cast<double>(b - a));
        const int top = y0 + static_cast<int>(half - hi * (half - 1));
        const int bottom = y0 + static_cast<int>(half - lo * (half - 1));
        for (int y = top; y <= bottom; ++y)
        {
            const double v = (half - (y - y0)) / (half - 1);
            page.At(x0 + c, y) = std::fabs(v) <= rms ? Shade(color, 0.5f) : color;
        }
    }
}

void DrawSpectrogram(Canvas& page, const Signal& mid, int rate, int x0, int y0, int width, int height)
{
    // Short sounds get a short window, so their sweeps are not smeared.
    const double seconds = static_cast<double>(mid.size()) / rate;
    const std::size_t n = seconds > 5.0 ? 2048 : (seconds > 0.5 ? 1024 : 256);
    std::vector<double> window(n);
    double windowSum = 0.0;
    for (std::size_t i = 0; i < n; ++i)
    {
        window[i] = 0.5 - 0.5 * std::cos(Synth::TwoPi * static_cast<double>(i) / static_cast<double>(n));
        windowSum += window[i];
    }
    const double nyquist = rate * 0.5;
    std::vector<std::complex<double>> bins(n);
    for (int c = 0; c < width; ++c)
    {
        const long centre =
            static_cast<long>(mid.size() * static_cast<std::size_t>(c) / static_cast<std::size_t>(width));
        for (std::size_t i = 0; i < n; ++i)
        {
            const long at = centre - static_cast<long>(n / 2) + static_cast<long>(i);
            const double x =
                at < 0 || at >= static_cast<long>(mid.size()) ? 0.0 : mid[static_cast<std::size_t>(at)];
            bins[i] = {x * window[i], 0.0};
        }
        Fft(bins);
        for (int row = 0; row < height; ++row)
        {
            // Rows on a log-frequency scale from 40 Hz to the Nyquist rate.
            const double f0 = 40.0 * std::pow(nyquist / 40.0, static_cast<double>(row) / height);
            const double f1 = 40.0 * std::pow(nyquist / 40.0, static_cast<double>(row + 1) / height);
            const std::size_t b0 = static_cast<std::size_t>(f0 * n / rate);
            const std::size_t b1 = std::max(b0 + 1, static_cast<std::size_t>(f1 * n / rate));
            double magnitude = 0.0;
            for (std::size_t b = b0; b < b1 && b < n / 2; ++b)
            {
                magnitude = std::max(magnitude, std::abs(bins[b]));
            }
            const double db = 20.0 * std::log10(std::max(magnitude * 2.0 / windowSum, 1e-9));
            page.At(x0 + c, y0 + height - 1 - row) = Heat((db + 90.0) / 90.0);
        }
    }
}

constexpr int PageWidth = 1700;
constexpr int Margin = 16;
constexpr int WaveWidth = 600;
constexpr int SeamWidth = 160;
constexpr int StripWidth = WaveWidth + SeamWidth + 3 * Margin;
constexpr int LabelHeight = 38;
constexpr int WaveHeight = 64;
constexpr int SpectrumHeight = 110;
constexpr int StripHeight = LabelHeight + WaveHeight + 4 + SpectrumHeight + Margin;

Color KindColor(SoundKind kind)
{
    switch (kind)
    {
    case SoundKind::Effect:
        return Palette::Cyan;
    case SoundKind::Loop:
        return Palette::Green;
    case SoundKind::Music:
        break;
    }
    return Palette::Gold;
}

void DrawStrip(Canvas& page, const RenderedSound& sound, int x, int y)
{
    const GeneratedFont& font = GetFont("DefaultFont");
    const std::string file = sound.path.substr(sound.path.find_last_of('/') + 1);
    char detail[96];
    std::snprintf(detail, sizeof(detail), "%.3f s, %d Hz %s", sound.Seconds(), sound.rate,
                  sound.channels == 1 ? "mono" : "stereo");
    DrawText(page, font, static_cast<float>(x), static_cast<float>(y), sound.use + "  " + detail,
             Palette::White);
    // A name too long for the strip is cut; the listing has it whole.
    std::string shown = file;
    while (shown.size() > 4 && TextWidth(font, shown) > WaveWidth + SeamWidth)
    {
        shown = shown.substr(0, shown.size() - 5) + "...";
    }
    DrawText(page, font, static_cast<float>(x), static_cast<float>(y + LabelHeight / 2), shown,
             Hex(0x8C94C0));
    const Signal mid = Mid(sound);
    const int top = y + LabelHeight;
    DrawWave(page, mid, 0, mid.size(), x, top, WaveWidth, WaveHeight, KindColor(sound.kind));
    DrawSpectrogram(page, mid, sound.rate, x, top + WaveHeight + 4, WaveWidth, SpectrumHeight);
    if (sound.kind == SoundKind::Effect)
    {
        return;
    }
    // The seam: the last 8 ms, then the first 8 ms, as they follow each
    // other when the sound repeats.
    const std::size_t side = static_cast<std::size_t>(0.008 * sound.rate);
    Signal seam(mid.end() - static_cast<long>(side), mid.end());
    seam.insert(seam.end(), mid.begin(), mid.begin() + static_cast<long>(side));
    const int sx = x + WaveWidth + Margin;
    DrawWave(page, seam, 0, seam.size(), sx, top, SeamWidth, WaveHeight, KindColor(sound.kind));
    for (int yy = top; yy < top + WaveHeight; yy += 2)
    {
        page.At(sx + SeamWidth / 2, yy) = Palette::Magenta;
    }
    DrawText(page, font, static_cast<float>(sx), static_cast<float>(top + WaveHeight + 6),
             "seam: end | start", Hex(0x8C94C0));
}

Canvas ReviewPage(const std::vector<RenderedSound>& sounds)
{
    const int columns = 2;
    const int rows = static_cast<int>((sounds.size() + columns - 1) / columns);
    Canvas page(PageWidth, Margin + rows * StripHeight);
    page.Fill(Palette::Night);
    for (std::size_t i = 0; i < sounds.size(); ++i)
    {
        const int column = static_cast<int>(i % columns);
        const int row = static_cast<int>(i / columns);
        DrawStrip(page, sounds[i], Margin + column * (StripWidth + Margin), Margin + row * StripHeight);
    }
    return page;
}

} // namespace

void ListSoundReview(Manifest& manifest)
{
    manifest.push_back(
        {"review/sounds.wav", "review",
         "44100 Hz stereo 16-bit: every effect with 0.3 s gaps, loops three times, 10 s of each track"});
    manifest.push_back({"review/sounds.png", "review", "waveform and spectrogram per sound, loop seams"});
}

bool MakeSoundReview(Output& output, const std::vector<RenderedSound>& sounds)
{
    return output.Write("review/sounds.wav", EncodeWav(ListeningFile(sounds), ReviewRate, 2)) &&
           output.WritePng("review/sounds.png", ReviewPage(sounds));
}

} // namespace AssetGen

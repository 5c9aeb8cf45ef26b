#include "AssetGen_SoundEffects.h"

#include <array>
#include <cmath>
#include <cstddef>

namespace AssetGen
{

using namespace Synth;

namespace
{

constexpr double Rate = EffectRate;

std::size_t Samples(double seconds)
{
    return static_cast<std::size_t>(std::lround(seconds * Rate));
}

// A one-shot: `voice(t)` for every sample, DC drift removed, peak at `db`,
// and a fade into silence over the last `fade` seconds.
template <class Voice> Signal OneShot(double seconds, double db, double fade, Voice&& voice)
{
    Signal out(Samples(seconds));
    for (std::size_t i = 0; i < out.size(); ++i)
    {
        out[i] = voice(static_cast<double>(i) / Rate);
    }
    RemoveDc(out, Rate, false);
    Normalise(out, db);
    FadeOut(out, Rate, fade);
    return out;
}

// A loop of `seconds`: `voice(k, t)` is asked for two laps (k the index in
// the lap, t its time), so every filter inside it has settled into the
// state it has at the loop's end, and the second lap is kept.
template <class Voice> Signal Loop(double seconds, double db, Voice&& voice)
{
    const std::size_t n = Samples(seconds);
    Signal out(n);
    for (std::size_t i = 0; i < 2 * n; ++i)
    {
        const std::size_t k = i % n;
        const float value = voice(k, static_cast<double>(k) / Rate);
        if (i >= n)
        {
            out[k] = value;
        }
    }
    RemoveDc(out, Rate, true);
    Normalise(out, db);
    return out;
}

// A frequency moved to the nearest whole number of cycles per loop, so the
// oscillator's phase at the loop's end is its phase at the start.
double Whole(double hz, double loopSeconds)
{
    return std::round(hz * loopSeconds) / loopSeconds;
}

// Noise that repeats every `n` samples, for loops.
Signal NoiseTable(std::size_t n, std::uint32_t seed, bool pink)
{
    Noise noise(seed);
    Signal table(n);
    for (float& x : table)
    {
        x = pink ? noise.Pink() : noise.White();
    }
    return table;
}

Signal LaserStart(double p)
{
    Oscillator saw, pulse, mod;
    Biquad filter, bite;
    Noise noise(11);
    return OneShot(0.25, -3.0, 0.04,
                   [&, p](double t)
                   {
                       const double f = Sweep(t, 0.22, 240.0 * p, 980.0 * p);
                       const double index = 0.6 * Decay(t, 0.08);
                       const double m = mod.Sine(f * 1.5, Rate) * index;
                       const double v = 0.55 * saw.Saw(f * (1.0 + 0.1 * m), Rate) +
                                        0.45 * pulse.Pulse(f * 1.004, Rate, 0.3 + 0.1 * m);
                       filter.Lowpass(Sweep(t, 0.2, 1100.0 * p, 6000.0 * p), 3.0, Rate);
                       bite.Bandpass(3200.0 * p, 2.0, Rate);
                       const double hiss = bite.Process(noise.White()) * Decay(t, 0.015);
                       const double amp = t < 0.17 ? 1.0 : std::exp(-(t - 0.17) / 0.05);
                       return Saturate(static_cast<float>((filter.Process(static_cast<float>(v)) + hiss) *
                                                          amp * Decay(t, 10.0, 0.002)),
                                       1.6f);
                   });
}

Signal LaserStay(double p)
{
    constexpr double L = 1.5;
    const double f0 = Whole(110.0 * p, L);
    const double f1 = Whole(220.0 * p, L) + 1.0 / L; // beats once per loop against f0's octave
    const double vibrato = 2.0 / L * 1.5;            // three cycles per loop
    const double pwm = 1.0 / L;
    const double sweep = 2.0 / L;
    const Signal hiss = NoiseTable(Samples(L), 21, false);
    Oscillator a, b, c;
    Biquad filter, sizzle;
    return Loop(L, -5.0,
                [&](std::size_t k, double t)
                {
                    const double wobble = 1.0 + 0.012 * std::sin(TwoPi * vibrato * t);
                    const double buzz =
                        0.5 * a.Pulse(f0 * wobble, Rate, 0.5 + 0.3 * std::sin(TwoPi * pwm * t));
                    const double body = 0.4 * b.Saw(f1 * wobble, Rate) + 0.3 * c.Sine(f0 * wobble, Rate);
                    filter.Lowpass(1500.0 * p * (1.0 + 0.35 * std::sin(TwoPi * sweep * t)), 2.5, Rate);
                    sizzle.Bandpass(4200.0 * p, 3.0, Rate);
                    const double crackle = sizzle.Process(hiss[k]) * (0.6 + 0.4 * std::sin(TwoPi * f0 * t));
                    const float v = filter.Process(static_cast<float>(buzz + body));
                    return Saturate(static_cast<float>(v + 0.12 * crackle), 2.0f);
                });
}

Signal LaserEnd(double p)
{
    Oscillator saw, pulse;
    Biquad filter;
    return OneShot(0.3, -3.0, 0.05,
                   [&, p](double t)
                   {
                       const double f = Sweep(t, 0.3, 900.0 * p, 150.0 * p);
                       const double v = 0.55 * saw.Saw(f, Rate) + 0.45 * pulse.Pulse(f * 0.996, Rate, 0.35);
                       filter.Lowpass(Sweep(t, 0.3, 6000.0 * p, 500.0 * p), 4.0, Rate);
                       const double amp = Decay(t, 0.2, 0.002);
                       return Saturate(static_cast<float>(filter.Process(static_cast<float>(v)) * amp), 1.5f);
                   });
}

Signal BlackHole()
{
    constexpr double L = 2.0;
    const Signal air = NoiseTable(Samples(L), 31, true);
    Oscillator a, b, c, d;
    Biquad filter, swirl;
    return Loop(L, -3.0,
                [&](std::size_t k, double t)
                {
                    const double drone =
                        0.35 * a.Saw(Whole(55.0, L), Rate) + 0.35 * b.Saw(Whole(55.5, L), Rate) +
                        0.25 * c.Saw(Whole(82.5, L), Rate) + 0.45 * d.Sine(Whole(55.0, L), Rate);
                    filter.Lowpass(600.0 * std::pow(2.0, std::sin(TwoPi * t / L)), 4.0, Rate);
                    swirl.Bandpass(450.0 * std::pow(2.0, 1.2 * std::cos(TwoPi * 2.0 * t / L)), 5.0, Rate);
                    const double tremolo = 1.0 + 0.12 * std::cos(TwoPi * 4.0 * t / L * 2.0);
                    const double v = filter.Process(static_cast<float>(drone)) + 1.4 * swirl.Process(air[k]);
                    return Saturate(static_cast<float>(v * tremolo), 1.3f);
                });
}

Signal Eat()
{
    Oscillator tone, overtone;
    Biquad click;
    click.Highpass(3000.0, 0.7, Rate);
    Noise noise(41);
    return OneShot(0.12, -3.0, 0.025,
                   [&](double t)
                   {
                       const double f = Sweep(t, 0.05, 1500.0, 430.0);
                       const double body = (tone.Sine(f, Rate) + 0.25 * overtone.Triangle(2.0 * f, Rate)) *
                                           Decay(t, 0.035, 0.0015);
                       const double tick = click.Process(noise.White()) * Decay(t, 0.0012, 0.0002);
                       return Saturate(static_cast<float>(body + 0.5 * tick), 1.3f);
                   });
}

Signal Hurt()
{
    Oscillator thump;
    Biquad burst, crunch;
    burst.Lowpass(2600.0, 0.8, Rate);
    crunch.Bandpass(900.0, 1.5, Rate);
    Noise noise(51);
    return OneShot(0.3, -1.5, 0.05,
                   [&](double t)
                   {
                       const double f = Sweep(t, 0.12, 170.0, 48.0);
                       const double low = thump.Sine(f, Rate) * Decay(t, 0.11, 0.002);
                       const float w = noise.White();
                       const double hit = burst.Process(w) * Decay(t, 0.035, 0.001) +
                                          0.9 * crunch.Process(w) * Decay(t, 0.06, 0.002);
                       return Saturate(static_cast<float>(low + 0.7 * hit), 2.5f);
                   });
}

Signal Zap()
{
    Oscillator carrier, detuned, wobble;
    Biquad filter, spark;
    filter.Lowpass(3800.0, 1.2, Rate);
    spark.Bandpass(2600.0, 4.0, Rate);
    Noise noise(61);
    return OneShot(0.25, -4.0, 0.06,
                   [&](double t)
                   {
                       const double fm = 1.0 + 0.45 * wobble.Sine(80.0, Rate);
                       const double buzz =
                           0.5 * carrier.Saw(160.0 * fm, Rate) + 0.35 * detuned.Pulse(161.5 * fm, Rate, 0.25);
                       // Sparks: noise let through in short bursts at the buzz's rate.
                       const double gate = std::sin(TwoPi * 80.0 * t) > 0.6 ? 1.0 : 0.15;
                       const double crackle = spark.Process(noise.White()) * gate;
                       const double v = filter.Process(static_cast<float>(buzz + 0.5 * crackle));
                       return Saturate(static_cast<float>(v * Decay(t, 10.0, 0.003)), 2.2f);
                   });
}

Signal BonusLaser()
{
    constexpr double L = 2.0;
    const double f0 = Whole(660.0, L);
    const double warble = 8.0 / L; // four cycles a second
    Oscillator high, low, shine;
    Biquad filter;
    return Loop(L, -3.0,
                [&](std::size_t, double t)
                {
                    const double lfo = std::sin(TwoPi * warble * t);
                    const double up = f0 * (1.0 + 0.18 * lfo);
                    const double down = f0 * 0.5 * (1.0 - 0.18 * lfo);
                    const double v = 0.45 * high.Pulse(up, Rate, 0.5 + 0.2 * std::sin(TwoPi * t / L)) +
                                     0.4 * low.Saw(down, Rate) + 0.25 * shine.Sine(up * 1.5, Rate);
                    filter.Lowpass(3600.0, 1.5, Rate);
                    const double tremolo = 0.8 + 0.2 * std::cos(TwoPi * 2.0 * warble * t);
                    return Saturate(static_cast<float>(filter.Process(static_cast<float>(v)) * tremolo),
                                    1.4f);
                });
}

struct ButtonVoice
{
    double hz;
    double seconds;
    double width;
};

// One per screen: close in pitch and length, so the menus sound alike
// without sounding copied.
constexpr std::array<ButtonVoice, 6> ButtonVoices = {{
    {1760.0, 0.080, 0.50},
    {1568.0, 0.070, 0.40},
    {2093.0, 0.090, 0.50},
    {1319.0, 0.075, 0.35},
    {1976.0, 0.065, 0.45},
    {1175.0, 0.100, 0.30},
}};

Signal Button(int variant)
{
    const ButtonVoice voice = ButtonVoices[static_cast<std::size_t>(variant) % ButtonVoices.size()];
    Oscillator tone, edge;
    Biquad click, soften;
    click.Highpass(4000.0, 0.7, Rate);
    soften.Lowpass(6000.0, 0.7, Rate);
    Noise noise(71 + static_cast<std::uint32_t>(variant));
    return OneShot(voice.seconds, -6.0, 0.02,
                   [&](double t)
                   {
                       const double f = Sweep(t, 0.015, voice.hz * 1.15, voice.hz);
                       const double blip =
                           (0.7 * tone.Sine(f, Rate) + 0.2 * edge.Pulse(f * 0.5, Rate, voice.width)) *
                           Decay(t, voice.seconds * 0.3, 0.0008);
                       const double tick = click.Process(noise.White()) * Decay(t, 0.0012, 0.0002);
                       return soften.Process(static_cast<float>(blip + 0.25 * tick));
                   });
}

Signal Bubble()
{
    Oscillator first, second;
    return OneShot(0.24, -4.0, 0.03,
                   [&](double t)
                   {
                       // Each bubble rises in pitch as it closes.
                       auto bubble = [t](Oscillator& osc, double start, double from, double to)
                       {
                           const double u = t - start;
                           const double f = u < 0.0 ? from : Sweep(u, 0.07, from, to);
                           const double s = osc.Sine(f, Rate);
                           return s * Decay(u, 0.045, 0.002);
                       };
                       return static_cast<float>(bubble(first, 0.0, 380.0, 1150.0) +
                                                 0.7 * bubble(second, 0.09, 540.0, 1550.0));
                   });
}

Signal Lose()
{
    constexpr std::array<double, 6> Falling = {79, 75, 72, 67, 63, 60}; // G minor-ish fall to C
    constexpr std::array<double, 6> Shards = {2637, 3520, 4186, 5274, 3136, 6272};
    constexpr std::array<double, 6> ShardStart = {0.0, 0.03, 0.07, 0.12, 0.18, 0.26};
    Noise noise(81);
    Biquad glass;
    glass.Highpass(2000.0, 0.7, Rate);
    std::array<Biquad, 6> ring;
    for (std::size_t i = 0; i < ring.size(); ++i)
    {
        ring[i].Bandpass(Shards[i], 25.0, Rate);
    }
    Oscillator tone, boom;
    Biquad toneFilter;
    toneFilter.Lowpass(2400.0, 1.0, Rate);
    Echo echo(static_cast<int>(0.11 * Rate), 0.35f, 3000.0, Rate);
    return OneShot(
        1.2, -1.5, 0.15,
        [&](double t)
        {
            const float w = noise.White();
            double crash = glass.Process(w) * Decay(t, 0.12, 0.001);
            for (std::size_t i = 0; i < ring.size(); ++i)
            {
                crash += 3.0 * ring[i].Process(w) * Decay(t - ShardStart[i], 0.09 + 0.02 * i, 0.001);
            }
            const double low = boom.Sine(Sweep(t, 0.2, 110.0, 40.0), Rate) * Decay(t, 0.15, 0.002);
            const double step = 0.14;
            const std::size_t note = static_cast<std::size_t>(std::fmax(t - 0.08, 0.0) / step);
            double fall = 0.0;
            if (t >= 0.08 && note < Falling.size())
            {
                const double u = t - 0.08 - step * static_cast<double>(note);
                const double f = NoteHz(Falling[note]) * (1.0 - 0.03 * u / step);
                fall = toneFilter.Process(tone.Pulse(f, Rate, 0.5)) * Decay(u, 0.09, 0.004);
            }
            else
            {
                toneFilter.Process(0.0f);
            }
            const double dry = 0.5 * crash + 0.8 * low + 0.35 * fall;
            return Saturate(static_cast<float>(dry + 0.6 * echo.Process(static_cast<float>(0.35 * fall))),
                            1.4f);
        });
}

} // namespace

EffectSound RenderEffect(EffectRecipe recipe, double pitch, int variant)
{
    switch (recipe)
    {
    case EffectRecipe::LaserStart:
        return {LaserStart(pitch), 0.0};
    case EffectRecipe::LaserStay:
        return {LaserStay(pitch), 1.5};
    case EffectRecipe::LaserEnd:
        return {LaserEnd(pitch), 0.0};
    case EffectRecipe::BlackHole:
        return {BlackHole(), 2.0};
    case EffectRecipe::Eat:
        return {Eat(), 0.0};
    case EffectRecipe::Hurt:
        return {Hurt(), 0.0};
    case EffectRecipe::Zap:
        return {Zap(), 0.0};
    case EffectRecipe::BonusLaser:
        return {BonusLaser(), 2.0};
    case EffectRecipe::Button:
        return {Button(variant), 0.0};
    case EffectRecipe::Bubble:
        return {Bubble(), 0.0};
    case EffectRecipe::Lose:
        return {Lose(), 0.0};
    }
    return {};
}

} // namespace AssetGen

#pragma once

// The sound generator's synthesis kit: band-limited oscillators, the
// generator's own noise, envelopes, filters, saturation, echo and reverb.
// Everything works on float samples in [-1, 1] at a rate the caller names;
// nothing reads a clock or the system's random numbers, so a sound computed
// twice is the same to the bit.

#include <cstdint>
#include <vector>

namespace AssetGen::Synth
{

constexpr double Pi = 3.14159265358979323846;
constexpr double TwoPi = 2.0 * Pi;

using Signal = std::vector<float>;

// Frequency of a MIDI note number (69 is A 440 Hz).
double NoteHz(double note);
double DbToGain(double db);

// White noise from a 32-bit xorshift, and pink noise from white through
// a bank of one-pole filters (-3 dB per octave across the audible band).
class Noise
{
public:
    explicit Noise(std::uint32_t seed);
    // Uniform in [-1, 1).
    float White();
    float Pink();

private:
    std::uint32_t state_;
    float b_[7] = {};
};

// A phase accumulator with band-limited waveforms: saw and pulse subtract
// a polynomial band-limited step at each jump, so sweeps up into the top
// octave do not fold back as audible aliases. Each call advances the phase
// by one sample of `hz` at `rate`.
class Oscillator
{
public:
    explicit Oscillator(double phase = 0.0) : phase_(phase) {}

    float Sine(double hz, double rate);
    float Triangle(double hz, double rate);
    float Saw(double hz, double rate);
    // `width` is the high part of the period, 0.05 to 0.95.
    float Pulse(double hz, double rate, double width);
    double Phase() const { return phase_; }

private:
    double Advance(double hz, double rate);
    double phase_;
};

// Attack, decay to `sustain`, hold until `gate`, then release; every
// segment a smooth curve, 0 outside the note.
struct Adsr
{
    double attack = 0.005;
    double decay = 0.1;
    double sustain = 0.7;
    double release = 0.1;

    double At(double t, double gate) const;
};

// exp(-t / tau) for t >= 0, with a straight attack of `attack` seconds.
double Decay(double t, double tau, double attack = 0.001);
// From `from` at t = 0 to `to` at t = length along an exponential curve
// (a pitch or cutoff sweep), held at the ends.
double Sweep(double t, double length, double from, double to);

// Second-order filter in transposed direct form II (cookbook coefficients).
// Coefficients may be changed between samples for sweeps.
class Biquad
{
public:
    void Lowpass(double hz, double q, double rate);
    void Highpass(double hz, double q, double rate);
    // Band-pass with 0 dB at the centre.
    void Bandpass(double hz, double q, double rate);
    float Process(float x);

private:
    void Set(double b0, double b1, double b2, double a0, double a1, double a2);
    double b0_ = 1.0, b1_ = 0.0, b2_ = 0.0, a1_ = 0.0, a2_ = 0.0;
    double z1_ = 0.0, z2_ = 0.0;
};

// One-pole low-pass; the high-pass is the input minus it.
class OnePole
{
public:
    void Set(double hz, double rate);
    float Lowpass(float x);
    float Highpass(float x) { return x - Lowpass(x); }

private:
    double a_ = 1.0;
    double y_ = 0.0;
};

// tanh saturation normalised so that a full-scale input stays full scale.
float Saturate(float x, float drive);

// A feedback delay with a darkening filter in the loop; returns only the
// echoes (the caller mixes them in).
class Echo
{
public:
    Echo(int delaySamples, float feedback, double dampHz, double rate);
    float Process(float x);

private:
    std::vector<float> line_;
    std::size_t at_ = 0;
    float feedback_;
    OnePole damp_;
};

// A small room: four damped combs in parallel, then two all-passes; returns
// only the reverberation. `spread` lengthens the delays a little, so two
// instances make a stereo pair.
class Reverb
{
public:
    Reverb(double rate, double size, int spread);
    float Process(float x);

private:
    struct Line
    {
        std::vector<float> data;
        std::size_t at = 0;
        float store = 0.0f;
    };
    Line combs_[4];
    Line allpasses_[2];
    float feedback_;
    float damp_;
};

// Runs a stateful process over a loop twice and keeps the second lap: the
// state the process carries into the loop's start is then the state it had
// at the loop's end, so the output repeats without a seam.
template <class Process> Signal TwoLaps(const Signal& loop, Process&& process)
{
    for (float x : loop)
    {
        process(x);
    }
    Signal out(loop.size());
    for (std::size_t i = 0; i < loop.size(); ++i)
    {
        out[i] = process(loop[i]);
    }
    return out;
}

double Peak(const Signal& signal);
// Scales the signal so its peak lies at `db` dBFS.
void Normalise(Signal& signal, double db);
// Removes the mean and the sub-audible drift below 20 Hz. A loop is filtered
// as a loop (two laps), a one-shot from its first sample.
void RemoveDc(Signal& signal, double rate, bool loop);
// Makes a one-shot end in silence: a raised-cosine fade over the last
// `seconds` that reaches far below -50 dBFS before the final 5 ms.
void FadeOut(Signal& signal, double rate, double seconds);
// A soft limiter for a mix: unchanged below `knee`, bent smoothly towards
// 1.0 above it.
float SoftLimit(float x, float knee);

} // namespace AssetGen::Synth

#include "AssetGen_Synth.h"

#include <algorithm>
#include <cmath>

namespace AssetGen::Synth
{

double NoteHz(double note)
{
    return 440.0 * std::pow(2.0, (note - 69.0) / 12.0);
}

double DbToGain(double db)
{
    return std::pow(10.0, db / 20.0);
}

Noise::Noise(std::uint32_t seed) : state_(seed == 0 ? 0x9E3779B9u : seed) {}

float Noise::White()
{
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<float>(static_cast<double>(state_) / 2147483648.0 - 1.0);
}

float Noise::Pink()
{
    // Paul Kellet's economy of one-pole sections, each covering about two
    // octaves; the sum falls 3 dB per octave within 0.05 dB.
    const float w = White();
    b_[0] = 0.99886f * b_[0] + w * 0.0555179f;
    b_[1] = 0.99332f * b_[1] + w * 0.0750759f;
    b_[2] = 0.96900f * b_[2] + w * 0.1538520f;
    b_[3] = 0.86650f * b_[3] + w * 0.3104856f;
    b_[4] = 0.55000f * b_[4] + w * 0.5329522f;
    b_[5] = -0.7616f * b_[5] - w * 0.0168980f;
    const float pink = b_[0] + b_[1] + b_[2] + b_[3] + b_[4] + b_[5] + b_[6] + w * 0.5362f;
    b_[6] = w * 0.115926f;
    return pink * 0.11f;
}

namespace
{

// The band-limited step's correction near a jump at phase 0 (t in [0, 1),
// dt the phase step per sample).
double PolyBlep(double t, double dt)
{
    if (t < dt)
    {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt)
    {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

} // namespace

double Oscillator::Advance(double hz, double rate)
{
    const double at = phase_;
    phase_ += hz / rate;
    phase_ -= std::floor(phase_);
    return at;
}

float Oscillator::Sine(double hz, double rate)
{
    return static_cast<float>(std::sin(TwoPi * Advance(hz, rate)));
}

float Oscillator::Triangle(double hz, double rate)
{
    const double t = Advance(hz, rate);
    return static_cast<float>(4.0 * std::fabs(t - 0.5) - 1.0);
}

float Oscillator::Saw(double hz, double rate)
{
    const double dt = std::min(std::fabs(hz) / rate, 0.5);
    const double t = Advance(hz, rate);
    return static_cast<float>(2.0 * t - 1.0 - PolyBlep(t, dt));
}

float Oscillator::Pulse(double hz, double rate, double width)
{
    width = std::clamp(width, 0.05, 0.95);
    const double dt = std::min(std::fabs(hz) / rate, 0.5);
    const double t = Advance(hz, rate);
    double value = t < width ? 1.0 : -1.0;
    value -= PolyBlep(t, dt);
    double u = t + 1.0 - width;
    u -= std::floor(u);
    value += PolyBlep(u, dt);
    // Centred, so a narrow pulse carries no offset.
    return static_cast<float>(value - (2.0 * width - 1.0));
}

double Adsr::At(double t, double gate) const
{
    if (t < 0.0)
    {
        return 0.0;
    }
    auto held = [this](double u)
    {
        if (u < attack)
        {
            const double x = u / attack;
            return x * x * (3.0 - 2.0 * x);
        }
        const double x = (u - attack) / std::max(decay, 1e-6);
        return sustain + (1.0 - sustain) * std::exp(-4.0 * x);
    };
    if (t < gate)
    {
        return held(t);
    }
    const double from = held(gate);
    const double x = (t - gate) / std::max(release, 1e-6);
    if (x >= 1.0)
    {
        return 0.0;
    }
    // A cosine release reaches zero with zero slope.
    return from * 0.5 * (1.0 + std::cos(Pi * x));
}

double Decay(double t, double tau, double attack)
{
    if (t < 0.0)
    {
        return 0.0;
    }
    const double rise = t < attack ? t / attack : 1.0;
    return rise * std::exp(-t / tau);
}

double Sweep(double t, double length, double from, double to)
{
    const double x = std::clamp(t / length, 0.0, 1.0);
    return from * std::pow(to / from, x);
}

void Biquad::Set(double b0, double b1, double b2, double a0, double a1, double a2)
{
    b0_ = b0 / a0;
    b1_ = b1 / a0;
    b2_ = b2 / a0;
    a1_ = a1 / a0;
    a2_ = a2 / a0;
}

void Biquad::Lowpass(double hz, double q, double rate)
{
    const double w = TwoPi * std::clamp(hz, 10.0, rate * 0.45) / rate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double c = std::cos(w);
    Set((1.0 - c) / 2.0, 1.0 - c, (1.0 - c) / 2.0, 1.0 + alpha, -2.0 * c, 1.0 - alpha);
}

void Biquad::Highpass(double hz, double q, double rate)
{
    const double w = TwoPi * std::clamp(hz, 10.0, rate * 0.45) / rate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double c = std::cos(w);
    Set((1.0 + c) / 2.0, -(1.0 + c), (1.0 + c) / 2.0, 1.0 + alpha, -2.0 * c, 1.0 - alpha);
}

void Biquad::Bandpass(double hz, double q, double rate)
{
    const double w = TwoPi * std::clamp(hz, 10.0, rate * 0.45) / rate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double c = std::cos(w);
    Set(alpha, 0.0, -alpha, 1.0 + alpha, -2.0 * c, 1.0 - alpha);
}

float Biquad::Process(float x)
{
    const double y = b0_ * x + z1_;
    z1_ = b1_ * x - a1_ * y + z2_;
    z2_ = b2_ * x - a2_ * y;
    return static_cast<float>(y);
}

void OnePole::Set(double hz, double rate)
{
    a_ = 1.0 - std::exp(-TwoPi * hz / rate);
}

float OnePole::Lowpass(float x)
{
    y_ += a_ * (x - y_);
    return static_cast<float>(y_);
}

float Saturate(float x, float drive)
{
    return static_cast<float>(std::tanh(drive * x) / std::tanh(drive));
}

Echo::Echo(int delaySamples, float feedback, double dampHz, double rate)
    : line_(static_cast<std::size_t>(std::max(delaySamples, 1)), 0.0f), feedback_(feedback)
{
    damp_.Set(dampHz, rate);
}

float Echo::Process(float x)
{
    const float delayed = line_[at_];
    line_[at_] = x + damp_.Lowpass(delayed) * feedback_;
    at_ = (at_ + 1) % line_.size();
    return delayed;
}

Reverb::Reverb(double rate, double size, int spread)
    : feedback_(static_cast<float>(0.70 + 0.26 * size)), damp_(0.35f)
{
    const int combs[4] = {1116, 1188, 1277, 1356};
    const int allpasses[2] = {556, 441};
    const double scale = rate / 44100.0 * (0.6 + 0.6 * size);
    for (int i = 0; i < 4; ++i)
    {
        combs_[i].data.assign(static_cast<std::size_t>((combs[i] + spread) * scale), 0.0f);
    }
    for (int i = 0; i < 2; ++i)
    {
        allpasses_[i].data.assign(static_cast<std::size_t>((allpasses[i] + spread) * rate / 44100.0), 0.0f);
    }
}

float Reverb::Process(float x)
{
    const float in = x * 0.25f;
    float sum = 0.0f;
    for (Line& comb : combs_)
    {
        const float out = comb.data[comb.at];
        comb.store = out * (1.0f - damp_) + comb.store * damp_;
        comb.data[comb.at] = in + comb.store * feedback_;
        comb.at = (comb.at + 1) % comb.data.size();
        sum += out;
    }
    for (Line& allpass : allpasses_)
    {
        const float buffered = allpass.data[allpass.at];
        const float out = buffered - sum;
        allpass.data[allpass.at] = sum + buffered * 0.5f;
        allpass.at = (allpass.at + 1) % allpass.data.size();
        sum = out;
    }
    return sum;
}

double Peak(const Signal& signal)
{
    double peak = 0.0;
    for (float x : signal)
    {
        peak = std::max(peak, static_cast<double>(std::fabs(x)));
    }
    return peak;
}

void Normalise(Signal& signal, double db)
{
    const double peak = Peak(signal);
    if (peak <= 0.0)
    {
        return;
    }
    const float gain = static_cast<float>(DbToGain(db) / peak);
    for (float& x : signal)
    {
        x *= gain;
    }
}

void RemoveDc(Signal& signal, double rate, bool loop)
{
    if (signal.empty())
    {
        return;
    }
    OnePole drift;
    drift.Set(20.0, rate);
    if (loop)
    {
        // A loop may lose its mean outright; a one-shot may not, as its
        // first sample would jump.
        double mean = 0.0;
        for (float x : signal)
        {
            mean += x;
        }
        mean /= static_cast<double>(signal.size());
        for (float& x : signal)
        {
            x -= static_cast<float>(mean);
        }
        signal = TwoLaps(signal, [&drift](float x) { return drift.Highpass(x); });
        return;
    }
    for (float& x : signal)
    {
        x = drift.Highpass(x);
    }
}

void FadeOut(Signal& signal, double rate, double seconds)
{
    const std::size_t length = std::min(signal.size(), static_cast<std::size_t>(seconds * rate));
    const std::size_t start = signal.size() - length;
    for (std::size_t i = start; i < signal.size(); ++i)
    {
        const double x = static_cast<double>(i - start) / static_cast<double>(length);
        const double g = 0.5 * (1.0 + std::cos(Pi * x));
        signal[i] *= static_cast<float>(g * g * g);
    }
}

float SoftLimit(float x, float knee)
{
    const float magnitude = std::fabs(x);
    if (magnitude <= knee)
    {
        return x;
    }
    const float room = 1.0f - knee;
    const float bent = knee + room * std::tanh((magnitude - knee) / room);
    return x < 0.0f ? -bent : bent;
}

} // namespace AssetGen::Synth

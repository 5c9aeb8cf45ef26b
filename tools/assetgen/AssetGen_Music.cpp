#include "AssetGen_Music.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <vector>

namespace AssetGen
{

using namespace Synth;

namespace
{

constexpr double Rate = MusicRate;
// Filter sweeps inside a note are updated every this many samples.
constexpr int ControlSamples = 16;

// A loop being composed: a dry stereo bus and two sends (echo, reverb),
// each as long as the loop. Notes are written at positions modulo the
// loop's length, so whatever rings past the end lands at the start.
class Score
{
public:
    Score(double bpm, int bars) : bpm_(bpm), bars_(bars)
    {
        beat_ = static_cast<std::size_t>(std::lround(Rate * 60.0 / bpm));
        length_ = beat_ * 4 * static_cast<std::size_t>(bars);
        for (Signal* bus : {&dryL_, &dryR_, &echo_, &verb_})
        {
            bus->assign(length_, 0.0f);
        }
    }

    double BeatSeconds() const { return static_cast<double>(beat_) / Rate; }
    std::size_t At(int bar, double beat) const
    {
        return static_cast<std::size_t>(bar) * 4 * beat_ +
               static_cast<std::size_t>(std::lround(beat * beat_));
    }

    // Renders `voice(t)` for `seconds` from sample `start`, panned (-1 left
    // to 1 right, constant power) with the given send levels.
    template <class Voice>
    void Add(std::size_t start, double seconds, double pan, double echoSend, double verbSend, Voice&& voice)
    {
        const double angle = (pan + 1.0) * Pi / 4.0;
        const float left = static_cast<float>(std::cos(angle) * std::sqrt(2.0));
        const float right = static_cast<float>(std::sin(angle) * std::sqrt(2.0));
        const std::size_t count = static_cast<std::size_t>(seconds * Rate);
        for (std::size_t i = 0; i < count; ++i)
        {
            const std::size_t at = (start + i) % length_;
            const float v = voice(static_cast<double>(i) / Rate);
            dryL_[at] += v * left;
            dryR_[at] += v * right;
            echo_[at] += v * static_cast<float>(echoSend);
            verb_[at] += v * static_cast<float>(verbSend);
        }
    }

    // Echoes (left and right at slightly different times), a small room,
    // then the limiter; each effect runs two laps so its tail at the end
    // continues into the start.
    MusicTrack Mix(double echoBeats, double echoGain, double verbSize, double verbGain) const
    {
        Echo echoL(static_cast<int>(std::lround(echoBeats * beat_)), 0.38f, 3500.0, Rate);
        Echo echoR(static_cast<int>(std::lround((echoBeats + 0.25) * beat_)), 0.32f, 3000.0, Rate);
        Reverb roomL(Rate, verbSize, 0), roomR(Rate, verbSize, 23);
        const Signal wetL = TwoLaps(echo_, [&](float x) { return echoL.Process(x); });
        const Signal wetR = TwoLaps(echo_, [&](float x) { return echoR.Process(x); });
        const Signal roomOutL = TwoLaps(verb_, [&](float x) { return roomL.Process(x); });
        const Signal roomOutR = TwoLaps(verb_, [&](float x) { return roomR.Process(x); });
        Signal left(length_), right(length_);
        for (std::size_t i = 0; i < length_; ++i)
        {
            left[i] = dryL_[i] + static_cast<float>(echoGain) * wetL[i] +
                      static_cast<float>(verbGain) * roomOutL[i];
            right[i] = dryR_[i] + static_cast<float>(echoGain) * wetR[i] +
                       static_cast<float>(verbGain) * roomOutR[i];
        }
        RemoveDc(left, Rate, true);
        RemoveDc(right, Rate, true);
        const double peak = std::max(Peak(left), Peak(right));
        const float drive = static_cast<float>(1.15 / peak);
        const float ceiling = static_cast<float>(DbToGain(-1.0));
        MusicTrack track;
        track.bpm = bpm_;
        track.bars = bars_;
        track.samples.resize(2 * length_);
        for (std::size_t i = 0; i < length_; ++i)
        {
            track.samples[2 * i] = ceiling * SoftLimit(left[i] * drive, 0.6f);
            track.samples[2 * i + 1] = ceiling * SoftLimit(right[i] * drive, 0.6f);
        }
        return track;
    }

private:
    double bpm_;
    int bars_;
    std::size_t beat_ = 0;
    std::size_t length_ = 0;
    Signal dryL_, dryR_, echo_, verb_;
};

// --- Instruments: each renders one note through Score::Add -------------

void Kick(Score& score, std::size_t at, double gain)
{
    Oscillator body;
    Biquad click;
    click.Lowpass(4000.0, 0.7, Rate);
    Noise noise(static_cast<std::uint32_t>(at) | 1u);
    score.Add(at, 0.42, 0.0, 0.0, 0.02,
              [&, gain](double t)
              {
                  const double f = 48.0 + 120.0 * std::exp(-t / 0.035);
                  const double v =
                      body.Sine(f, Rate) * Decay(t, 0.22, 0.001) * (t > 0.38 ? (0.42 - t) / 0.04 : 1.0) +
                      0.3 * click.Process(noise.White()) * Decay(t, 0.003, 0.0003);
                  return static_cast<float>(gain * Saturate(static_cast<float>(v), 1.4f));
              });
}

void Clap(Score& score, std::size_t at, double gain, double pan)
{
    Biquad band, air;
    band.Bandpass(1500.0, 1.2, Rate);
    air.Highpass(800.0, 0.7, Rate);
    Noise noise(static_cast<std::uint32_t>(at) * 7u + 3u);
    score.Add(at, 0.3, pan, 0.0, 0.35,
              [&, gain](double t)
              {
                  // Three quick hand slaps, then the room's tail.
                  double env = 0.0;
                  for (int slap = 0; slap < 3; ++slap)
                  {
                      env += Decay(t - 0.01 * slap, 0.005, 0.0005);
                  }
                  env += 0.5 * Decay(t - 0.02, 0.09, 0.002);
                  return static_cast<float>(gain * air.Process(band.Process(noise.White())) * 2.2 * env);
              });
}

void Snare(Score& score, std::size_t at, double gain)
{
    Oscillator tone;
    Biquad snap;
    snap.Highpass(1200.0, 0.7, Rate);
    Noise noise(static_cast<std::uint32_t>(at) * 5u + 1u);
    score.Add(at, 0.22, 0.1, 0.0, 0.25,
              [&, gain](double t)
              {
                  const double v = 0.6 * tone.Sine(190.0, Rate) * Decay(t, 0.05, 0.001) +
                                   snap.Process(noise.White()) * Decay(t, 0.08, 0.0008);
                  return static_cast<float>(gain * v * (t > 0.19 ? (0.22 - t) / 0.03 : 1.0));
              });
}

void Hat(Score& score, std::size_t at, double gain, double tau, double pan)
{
    Biquad metal, top;
    metal.Highpass(7000.0, 0.8, Rate);
    top.Bandpass(10000.0, 1.0, Rate);
    Noise noise(static_cast<std::uint32_t>(at) * 3u + 5u);
    const double seconds = tau * 5.0;
    score.Add(at, seconds, pan, 0.0, 0.05,
              [&, gain, seconds](double t)
              {
                  const float w = noise.White();
                  const double v = metal.Process(w) + 0.5 * top.Process(w);
                  const double end = t > seconds - 0.01 ? (seconds - t) / 0.01 : 1.0;
                  return static_cast<float>(gain * v * Decay(t, tau, 0.0005) * end);
              });
}

void Shaker(Score& score, std::size_t at, double gain, double pan)
{
    Biquad band;
    band.Bandpass(6000.0, 1.5, Rate);
    Noise noise(static_cast<std::uint32_t>(at) * 11u + 7u);
    score.Add(at, 0.12, pan, 0.0, 0.1,
              [&, gain](double t)
              {
                  const double env = t < 0.01 ? t / 0.01 : std::exp(-(t - 0.01) / 0.03);
                  return static_cast<float>(gain * 1.5 * band.Process(noise.White()) * env *
                                            (t > 0.1 ? (0.12 - t) / 0.02 : 1.0));
              });
}

void Crash(Score& score, std::size_t at, double gain)
{
    Biquad wash;
    wash.Highpass(4500.0, 0.7, Rate);
    Noise noise(static_cast<std::uint32_t>(at) * 13u + 9u);
    score.Add(at, 1.6, -0.3, 0.0, 0.3,
              [&, gain](double t)
              {
                  const double end = t > 1.4 ? (1.6 - t) / 0.2 : 1.0;
                  return static_cast<float>(gain * wash.Process(noise.White()) * Decay(t, 0.45, 0.002) * end);
              });
}

// A swell of noise whose band and level rise into the next downbeat: it
// carries the end of the loop into its start.
void Riser(Score& score, std::size_t at, double seconds, double gain, double fromHz, double toHz)
{
    Biquad band;
    Noise noise(static_cast<std::uint32_t>(at) * 17u + 11u);
    int tick = 0;
    score.Add(at, seconds, 0.2, 0.2, 0.4,
              [&, gain, seconds, fromHz, toHz](double t)
              {
                  if (tick++ % ControlSamples == 0)
                  {
                      band.Bandpass(Sweep(t, seconds, fromHz, toHz), 0.6, Rate);
                  }
                  const double x = t / seconds;
                  return static_cast<float>(gain * band.Process(noise.White()) * x * x);
              });
}

// Soft round bass: sine with a triangle an octave up, gently filtered.
void SoftBass(Score& score, std::size_t at, double beats, double note, double gain)
{
    const double gate = beats * score.BeatSeconds();
    const Adsr env{0.008, 0.3, 0.75, 0.08};
    Oscillator sub, body;
    Biquad filter;
    filter.Lowpass(500.0, 0.8, Rate);
    const double f = NoteHz(note);
    score.Add(at, gate + 0.1, 0.0, 0.0, 0.05,
              [&, gain, gate, f](double t)
              {
                  const double v = sub.Sine(f, Rate) + 0.35 * body.Triangle(2.0 * f, Rate);
                  return static_cast<float>(gain * filter.Process(static_cast<float>(v)) * env.At(t, gate));
              });
}

// Driving bass: a saw and a sub square through a low-pass that snaps open
// at each note.
void DriveBass(Score& score, std::size_t at, double beats, double note, double gain)
{
    const double gate = beats * score.BeatSeconds() * 0.85;
    const Adsr env{0.003, 0.12, 0.6, 0.03};
    Oscillator saw, square;
    Biquad filter;
    int tick = 0;
    const double f = NoteHz(note);
    score.Add(at, gate + 0.05, 0.0, 0.0, 0.0,
              [&, gain, gate, f](double t)
              {
                  if (tick++ % ControlSamples == 0)
                  {
                      filter.Lowpass(280.0 + 1800.0 * std::exp(-t / 0.07), 2.2, Rate);
                  }
                  const double v = 0.6 * saw.Saw(f, Rate) + 0.4 * square.Pulse(f * 0.5, Rate, 0.5);
                  return static_cast<float>(gain * Saturate(filter.Process(static_cast<float>(v)), 1.5f) *
                                            env.At(t, gate));
              });
}

// Pad: three slightly detuned saws per side, darkened, slow to swell.
void Pad(Score& score, std::size_t at, double beats, double note, double gain, double cutoff)
{
    const double gate = beats * score.BeatSeconds();
    const Adsr env{0.35, 0.8, 0.8, 0.7};
    const double f = NoteHz(note);
    for (int side = 0; side < 2; ++side)
    {
        std::array<Oscillator, 3> saws{Oscillator(0.0), Oscillator(0.31 + 0.2 * side), Oscillator(0.67)};
        Biquad filter;
        filter.Lowpass(cutoff, 0.7, Rate);
        const double spread = side == 0 ? 1.0 : -1.0;
        score.Add(at, gate + 0.7, side == 0 ? -0.7 : 0.7, 0.0, 0.5,
                  [&, gain, gate, f, spread](double t)
                  {
                      const double v = saws[0].Saw(f, Rate) + saws[1].Saw(f * (1.0 + 0.0045 * spread), Rate) +
                                       saws[2].Saw(f * (1.0 - 0.0035 * spread), Rate);
                      return static_cast<float>(gain / 3.0 * filter.Process(static_cast<float>(v)) *
                                                env.At(t, gate));
                  });
    }
}

// Pluck: a pulse whose filter closes quickly, for arpeggios.
void Pluck(Score& score, std::size_t at, double note, double gain, double pan, double bright, double tau)
{
    Oscillator pulse;
    Biquad filter;
    int tick = 0;
    const double f = NoteHz(note);
    const double seconds = tau * 4.0;
    score.Add(at, seconds, pan, 0.35, 0.2,
              [&, gain, f, bright, seconds, tau](double t)
              {
                  if (tick++ % ControlSamples == 0)
                  {
                      filter.Lowpass(f * 1.5 + bright * std::exp(-t / (tau * 0.6)), 1.2, Rate);
                  }
                  const double end = t > seconds - 0.02 ? (seconds - t) / 0.02 : 1.0;
                  return static_cast<float>(gain * filter.Process(pulse.Pulse(f, Rate, 0.3)) *
                                            Decay(t, tau, 0.002) * end);
              });
}

// Bell: two-operator FM whose brightness fades as the note rings.
void Bell(Score& score, std::size_t at, double beats, double note, double gain, double pan)
{
    const double gate = beats * score.BeatSeconds();
    Oscillator carrier, modulator;
    const double f = NoteHz(note);
    const Adsr env{0.004, 0.5, 0.45, 0.5};
    score.Add(at, gate + 0.5, pan, 0.35, 0.45,
              [&, gain, gate, f](double t)
              {
                  const double index = 0.3 + 1.6 * std::exp(-t / 0.15);
                  const double m = modulator.Sine(2.0 * f, Rate) * index;
                  const double phaseHz = f * (1.0 + m * 0.15);
                  return static_cast<float>(gain * carrier.Sine(phaseHz, Rate) * env.At(t, gate));
              });
}

// Lead: two detuned saws and a square, with a vibrato that comes in as the
// note is held.
void Lead(Score& score, std::size_t at, double beats, double note, double gain)
{
    const double gate = beats * score.BeatSeconds() * 0.92;
    const Adsr env{0.006, 0.2, 0.7, 0.08};
    Oscillator a, b, c;
    Biquad filter;
    int tick = 0;
    const double f = NoteHz(note);
    score.Add(at, gate + 0.1, 0.15, 0.3, 0.2,
              [&, gain, gate, f](double t)
              {
                  if (tick++ % ControlSamples == 0)
                  {
                      filter.Lowpass(2200.0 + 1500.0 * std::exp(-t / 0.1), 1.0, Rate);
                  }
                  const double depth = 0.006 * std::min(1.0, std::max(0.0, (t - 0.12) / 0.2));
                  const double vib = 1.0 + depth * std::sin(TwoPi * 5.5 * t);
                  const double v = 0.4 * a.Saw(f * vib * 1.003, Rate) + 0.4 * b.Saw(f * vib * 0.997, Rate) +
                                   0.3 * c.Pulse(f * vib, Rate, 0.5);
                  return static_cast<float>(gain * filter.Process(static_cast<float>(v)) * env.At(t, gate));
              });
}

struct Chord
{
    std::array<int, 4> pad; // pad voicing
    int bass;               // root in the bass octave
};

struct MelodyNote
{
    int bar;
    double beat;
    double beats;
    int note;
};

} // namespace

MusicTrack RenderMenuTrack()
{
    // D major, airy: Dmaj7 Bm7 Gmaj7 Asus, then Dmaj7 F#m7 Gmaj7 A7.
    const std::array<Chord, 8> chords = {{
        {{57, 61, 62, 66}, 38},
        {{57, 59, 62, 66}, 35},
        {{54, 59, 62, 67}, 43},
        {{57, 61, 62, 64}, 45},
        {{57, 61, 62, 66}, 38},
        {{57, 61, 64, 66}, 42},
        {{54, 59, 62, 67}, 43},
        {{57, 61, 64, 67}, 45},
    }};
    const std::array<MelodyNote, 15> melody = {{
        {4, 0, 1, 78},
        {4, 1, 1, 81},
        {4, 2, 2, 85},
        {5, 0, 1, 85},
        {5, 1, 1, 83},
        {5, 2, 2, 81},
        {6, 0, 1, 83},
        {6, 1, 1, 81},
        {6, 2, 1, 78},
        {6, 3, 1, 74},
        {7, 0, 1.5, 76},
        {7, 1.5, 0.5, 78},
        {7, 2, 1, 76},
        {7, 3, 0.5, 73},
        {7, 3.5, 0.5, 76},
    }};
    Score score(100.0, 8);
    constexpr std::array<int, 8> arp = {0, 1, 2, 3, 4, 3, 2, 1};
    for (int bar = 0; bar < 8; ++bar)
    {
        const Chord& chord = chords[static_cast<std::size_t>(bar)];
        for (int note : chord.pad)
        {
            Pad(score, score.At(bar, 0.0), 4.0, note, 0.16, 1600.0);
        }
        const int root = chord.bass;
        SoftBass(score, score.At(bar, 0.0), 1.5, root, 0.5);
        SoftBass(score, score.At(bar, 1.5), 0.5, root + 12, 0.3);
        SoftBass(score, score.At(bar, 2.0), 1.5, root, 0.45);
        SoftBass(score, score.At(bar, 3.5), 0.5, root + 7, 0.3);
        const std::array<int, 5> tones = {chord.pad[0] + 12, chord.pad[1] + 12, chord.pad[2] + 12,
                                          chord.pad[3] + 12, chord.pad[0] + 24};
        for (int step = 0; step < 8; ++step)
        {
            const double pan = step % 2 == 0 ? -0.35 : 0.35;
            Pluck(score, score.At(bar, 0.5 * step), tones[static_cast<std::size_t>(arp[step])],
                  step == 0 ? 0.2 : 0.15, pan, 2500.0, 0.16);
        }
        Kick(score, score.At(bar, 0.0), 0.5);
        Kick(score, score.At(bar, 2.5), 0.35);
        Clap(score, score.At(bar, 1.0), 0.18, 0.1);
        Clap(score, score.At(bar, 3.0), 0.2, 0.1);
        for (int sixteenth = 0; sixteenth < 16; ++sixteenth)
        {
            const double accent = sixteenth % 4 == 2 ? 0.16 : (sixteenth % 2 == 0 ? 0.08 : 0.05);
            Shaker(score, score.At(bar, 0.25 * sixteenth), accent, 0.3);
        }
        if (bar % 4 == 3)
        {
            Hat(score, score.At(bar, 3.5), 0.12, 0.12, -0.3);
        }
    }
    for (const MelodyNote& n : melody)
    {
        Bell(score, score.At(n.bar, n.beat), n.beats, n.note, 0.28, 0.2);
    }
    // A soft cymbal swell into the top, so the loop's end is as full as its
    // first downbeat.
    Riser(score, score.At(7, 3.0), score.BeatSeconds(), 1.0, 2000.0, 9000.0);
    return score.Mix(0.75, 0.45, 0.8, 0.5);
}

MusicTrack RenderPlayTrack()
{
    // A minor, driving: Am F C G, four times round; the melody answers in
    // bars 5-8 and 13-16, a snare fill leads back to the top.
    const std::array<Chord, 4> chords = {{
        {{57, 60, 64, 69}, 45},
        {{57, 60, 65, 69}, 41},
        {{55, 60, 64, 67}, 36},
        {{55, 59, 62, 67}, 43},
    }};
    const std::array<MelodyNote, 18> phrase = {{
        {0, 0, 1.5, 76},
        {0, 1.5, 0.5, 74},
        {0, 2, 1, 72},
        {0, 3, 0.5, 71},
        {0, 3.5, 0.5, 72},
        {1, 0, 1.5, 69},
        {1, 1.5, 0.5, 72},
        {1, 2, 1.5, 77},
        {1, 3.5, 0.5, 76},
        {2, 0, 1, 76},
        {2, 1, 1, 79},
        {2, 2, 1, 76},
        {2, 3, 1, 72},
        {3, 0, 1.5, 74},
        {3, 1.5, 0.5, 71},
        {3, 2, 1, 67},
        {3, 3, 0.5, 71},
        {3, 3.5, 0.5, 74},
    }};
    constexpr int Bars = 16;
    Score score(126.0, Bars);
    constexpr std::array<int, 8> bassSteps = {0, 0, 12, 0, 0, 12, 7, 12};
    constexpr std::array<int, 16> arp = {0, 1, 2, 3, 1, 2, 3, 2, 0, 1, 2, 3, 2, 3, 2, 1};
    for (int bar = 0; bar < Bars; ++bar)
    {
        const Chord& chord = chords[static_cast<std::size_t>(bar % 4)];
        for (int note : chord.pad)
        {
            Pad(score, score.At(bar, 0.0), 4.0, note, 0.07, 1300.0);
        }
        for (int step = 0; step < 8; ++step)
        {
            DriveBass(score, score.At(bar, 0.5 * step), 0.5,
                      chord.bass + bassSteps[static_cast<std::size_t>(step)], step % 2 == 0 ? 0.42 : 0.34);
        }
        const int lift = bar >= 8 ? 12 : 0;
        const std::array<int, 4> tones = {chord.pad[0] + 12, chord.pad[1] + 12, chord.pad[2] + 12,
                                          chord.pad[3] + 12};
        for (int step = 0; step < 16; ++step)
        {
            const double pan = step % 2 == 0 ? -0.4 : 0.4;
            Pluck(score, score.At(bar, 0.25 * step), tones[static_cast<std::size_t>(arp[step])] + lift,
                  step % 4 == 0 ? 0.16 : 0.11, pan, 3200.0, 0.09);
        }
        for (int beat = 0; beat < 4; ++beat)
        {
            Kick(score, score.At(bar, beat), 0.85);
            Hat(score, score.At(bar, beat + 0.5), beat == 3 ? 0.2 : 0.16, beat == 3 ? 0.09 : 0.03, 0.25);
            Hat(score, score.At(bar, beat + 0.25), 0.06, 0.02, -0.25);
            Hat(score, score.At(bar, beat + 0.75), 0.06, 0.02, -0.25);
        }
        Clap(score, score.At(bar, 1.0), 0.4, 0.0);
        if (bar == Bars - 1)
        {
            for (int hit = 0; hit < 8; ++hit)
            {
                Snare(score, score.At(bar, 2.0 + 0.25 * hit), 0.18 + 0.04 * hit);
            }
        }
        else
        {
            Clap(score, score.At(bar, 3.0), 0.4, 0.0);
        }
        if (bar == 8)
        {
            Crash(score, score.At(bar, 0.0), 0.22);
        }
    }
    for (int start : {4, 12})
    {
        for (const MelodyNote& n : phrase)
        {
            Lead(score, score.At(start + n.bar, n.beat), n.beats, n.note, 0.2);
        }
    }
    Riser(score, score.At(Bars - 1, 2.0), 2.0 * score.BeatSeconds(), 1.6, 600.0, 8000.0);
    return score.Mix(0.75, 0.35, 0.5, 0.35);
}

} // namespace AssetGen

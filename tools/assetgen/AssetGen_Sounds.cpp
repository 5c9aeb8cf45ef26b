#include "AssetGen_Sounds.h"

#include "AssetGen_Music.h"
#include "AssetGen_SoundEffects.h"
#include "AssetGen_SoundReview.h"

#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <thread>
#include <tuple>

namespace AssetGen
{

namespace
{

constexpr double Fifth = 2.0 / 3.0;

struct EffectEntry
{
    const char* name;
    const char* use;
    EffectRecipe recipe;
    double pitch;
    int variant;
    double minSeconds;
    double maxSeconds;
};

// Play level's name, then the tutorial's copy (the same sound). The
// horizontal laser's three sit a fifth below the vertical's, so the two
// beams are told apart by ear.
const EffectEntry Effects[] = {
    {"LaserBeam_Loop21.wav", "vertical laser start", EffectRecipe::LaserStart, 1.0, 0, 0.2, 0.3},
    {"LaserBeam_Loop21_1.wav", "vertical laser start (tutorial)", EffectRecipe::LaserStart, 1.0, 0, 0.2, 0.3},
    {"LaserBeam_Loop35.wav", "vertical laser stay", EffectRecipe::LaserStay, 1.0, 0, 1.0, 2.0},
    {"LaserBeam_Loop35_1.wav", "vertical laser stay (tutorial)", EffectRecipe::LaserStay, 1.0, 0, 1.0, 2.0},
    {"Laser_ShrinkRay_Shrinking03.wav", "vertical laser end", EffectRecipe::LaserEnd, 1.0, 0, 0.25, 0.35},
    {"Laser_ShrinkRay_Shrinking03_1.wav", "vertical laser end (tutorial)", EffectRecipe::LaserEnd, 1.0, 0,
     0.25, 0.35},
    {"LaserBeam_Loop21_0.wav", "horizontal laser start", EffectRecipe::LaserStart, Fifth, 0, 0.2, 0.3},
    {"LaserBeam_Loop21_0_0.wav", "horizontal laser start (tutorial)", EffectRecipe::LaserStart, Fifth, 0, 0.2,
     0.3},
    {"LaserBeam_Loop35_0.wav", "horizontal laser stay", EffectRecipe::LaserStay, Fifth, 0, 1.0, 2.0},
    {"LaserBeam_Loop35_0_0.wav", "horizontal laser stay (tutorial)", EffectRecipe::LaserStay, Fifth, 0, 1.0,
     2.0},
    {"Laser_ShrinkRay_Shrinking03_0.wav", "horizontal laser end", EffectRecipe::LaserEnd, Fifth, 0, 0.25,
     0.35},
    {"Laser_ShrinkRay_Shrinking03_0_0.wav", "horizontal laser end (tutorial)", EffectRecipe::LaserEnd, Fifth,
     0, 0.25, 0.35},
    {"Mystical_EnergyLoop38.wav", "black hole", EffectRecipe::BlackHole, 1.0, 0, 1.9, 2.1},
    {"Mystical_EnergyLoop38_0.wav", "black hole (tutorial)", EffectRecipe::BlackHole, 1.0, 0, 1.9, 2.1},
    {"PopCartoon CTE02_07.wav", "eat a ball", EffectRecipe::Eat, 1.0, 0, 0.1, 0.15},
    {"PopCartoon CTE02_07_0.wav", "eat a ball (tutorial)", EffectRecipe::Eat, 1.0, 0, 0.1, 0.15},
    {"HitPunch CTE01_78.2.wav", "player hurt", EffectRecipe::Hurt, 1.0, 0, 0.25, 0.35},
    {"HitPunch CTE01_78.2_0.wav", "player hurt (tutorial)", EffectRecipe::Hurt, 1.0, 0, 0.25, 0.35},
    {"ZapCartoon CTE02_91.1.wav", "laser drains points", EffectRecipe::Zap, 1.0, 0, 0.2, 0.3},
    {"ZapCartoon CTE02_91.1_0.wav", "laser drains points (tutorial)", EffectRecipe::Zap, 1.0, 0, 0.2, 0.3},
    {"15 - Laser #2- Long, Oscillating Blast.wav", "white bonus laser", EffectRecipe::BonusLaser, 1.0, 0, 1.9,
     2.1},
    {"15 - Laser #2- Long, Oscillating Blast_0.wav", "white bonus laser (tutorial)", EffectRecipe::BonusLaser,
     1.0, 0, 1.9, 2.1},
    {"Switch.wav", "button hover, main menu", EffectRecipe::Button, 1.0, 0, 0.06, 0.1},
    {"Switch_0.wav", "button hover, play level", EffectRecipe::Button, 1.0, 1, 0.06, 0.1},
    {"Switch_1.wav", "button hover, win screen", EffectRecipe::Button, 1.0, 2, 0.06, 0.1},
    {"Switch_2.wav", "button hover, credits", EffectRecipe::Button, 1.0, 3, 0.06, 0.1},
    {"Switch_3.wav", "button hover, options", EffectRecipe::Button, 1.0, 4, 0.06, 0.1},
    {"46 - SWITCH, PANEL SMALL TOGGLE SWITCH, LARGE TOGGLE SWITCH, LARGE TOGGLE SWITCH, SMALL PUSH BUTTON "
     "SWITCH, "
     "LARGE PUSH BUTTON SW_3_0.wav",
     "button hover, second lose screen", EffectRecipe::Button, 1.0, 5, 0.06, 0.1},
    {"33 - Keeping Up.wav", "bubble", EffectRecipe::Bubble, 1.0, 0, 0.1, 0.4},
    {"Armour_Fall_LoseArmour1.wav", "lose screen", EffectRecipe::Lose, 1.0, 0, 1.0, 1.4},
};

bool IsLoop(EffectRecipe recipe)
{
    return recipe == EffectRecipe::LaserStay || recipe == EffectRecipe::BlackHole ||
           recipe == EffectRecipe::BonusLaser;
}

struct TrackEntry
{
    const char* path;
    const char* use;
    MusicTrack (*render)();
};

const TrackEntry Tracks[] = {
    {"Resources/JukeBoxes/MainMenu/49 - Aeromatic.wav", "main menu music", RenderMenuTrack},
    {"Resources/JukeBoxes/InGame/17 - Nose for Trouble.wav", "play and tutorial music", RenderPlayTrack},
};

constexpr double MinTrackSeconds = 16.0;

std::string EffectPath(const EffectEntry& entry)
{
    return std::string("Resources/Sounds/") + entry.name;
}

std::string Format(const char* pattern, double a, double b = 0.0)
{
    char text[128];
    std::snprintf(text, sizeof(text), pattern, a, b);
    return text;
}

// Every sound, effects in table order, then the tracks. A recipe shared by
// a level and its tutorial copy is computed once.
std::vector<RenderedSound> RenderAll()
{
    std::vector<MusicTrack> music(std::size(Tracks));
    std::vector<std::thread> workers;
    for (std::size_t i = 0; i < music.size(); ++i)
    {
        workers.emplace_back([&music, i] { music[i] = Tracks[i].render(); });
    }
    std::vector<RenderedSound> sounds;
    std::map<std::tuple<EffectRecipe, double, int>, EffectSound> done;
    for (const EffectEntry& entry : Effects)
    {
        const auto key = std::make_tuple(entry.recipe, entry.pitch, entry.variant);
        auto found = done.find(key);
        if (found == done.end())
        {
            found = done.emplace(key, RenderEffect(entry.recipe, entry.pitch, entry.variant)).first;
        }
        RenderedSound sound;
        sound.path = EffectPath(entry);
        sound.use = entry.use;
        sound.kind = IsLoop(entry.recipe) ? SoundKind::Loop : SoundKind::Effect;
        sound.rate = EffectRate;
        sound.samples = found->second.samples;
        sound.period = found->second.period;
        sounds.push_back(std::move(sound));
    }
    for (std::thread& worker : workers)
    {
        worker.join();
    }
    for (std::size_t i = 0; i < music.size(); ++i)
    {
        RenderedSound sound;
        sound.path = Tracks[i].path;
        sound.use = Tracks[i].use;
        sound.kind = SoundKind::Music;
        sound.rate = MusicRate;
        sound.channels = music[i].channels;
        sound.samples = std::move(music[i].samples);
        sound.period = music[i].BarSeconds();
        sounds.push_back(std::move(sound));
    }
    return sounds;
}

bool WholeCycles(const RenderedSound& sound)
{
    const double cycles = sound.Seconds() / sound.period;
    const double cycleFrames = sound.period * sound.rate;
    // Within one sample of a whole number of cycles, and a cycle itself a
    // whole number of samples, so every repeat starts on the same sample.
    return sound.period > 0.0 && cycles >= 1.0 - 1e-9 &&
           std::fabs(cycles - std::round(cycles)) * cycleFrames < 0.5 &&
           std::fabs(cycleFrames - std::round(cycleFrames)) < 1e-6;
}

bool Check(const std::vector<RenderedSound>& sounds)
{
    std::set<std::string> names;
    bool ok = true;
    for (std::size_t i = 0; i < sounds.size(); ++i)
    {
        const RenderedSound& sound = sounds[i];
        const bool isEffect = i < std::size(Effects);
        const double minSeconds = isEffect ? Effects[i].minSeconds : MinTrackSeconds;
        const double maxSeconds = isEffect ? Effects[i].maxSeconds : 120.0;
        if (!names.insert(sound.path).second)
        {
            ok = TableError("sound", sound.path, "listed twice");
        }
        if (sound.samples.empty() || sound.Seconds() < minSeconds - 1e-9 ||
            sound.Seconds() > maxSeconds + 1e-9)
        {
            ok = TableError("sound", sound.path,
                            Format("%.3f s is outside its range", sound.Seconds()) +
                                Format(" of %.3f to %.3f s", minSeconds, maxSeconds));
        }
        if (sound.kind == SoundKind::Music ? sound.DataBytes() < StreamThreshold
                                           : sound.DataBytes() >= StreamThreshold)
        {
            ok = TableError("sound", sound.path,
                            sound.kind == SoundKind::Music ? "a track too short to be streamed"
                                                           : "an effect too large to be loaded whole");
        }
        if (sound.kind != SoundKind::Effect && !WholeCycles(sound))
        {
            ok = TableError("sound", sound.path, "not a whole number of loop cycles");
        }
    }
    return ok;
}

} // namespace

std::vector<std::uint8_t> EncodeWav(const Synth::Signal& samples, int rate, int channels)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(44 + samples.size() * 2);
    auto put = [&bytes](std::uint32_t value, int size)
    {
        for (int i = 0; i < size; ++i)
        {
            bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        }
    };
    auto tag = [&bytes](const char* id)
    {
        for (int i = 0; i < 4; ++i)
        {
            bytes.push_back(static_cast<std::uint8_t>(id[i]));
        }
    };
    const std::uint32_t data = static_cast<std::uint32_t>(samples.size() * 2);
    const std::uint32_t block = static_cast<std::uint32_t>(channels) * 2;
    tag("RIFF");
    put(36 + data, 4);
    tag("WAVE");
    tag("fmt ");
    put(16, 4);
    put(1, 2); // plain PCM
    put(static_cast<std::uint32_t>(channels), 2);
    put(static_cast<std::uint32_t>(rate), 4);
    put(static_cast<std::uint32_t>(rate) * block, 4);
    put(block, 2);
    put(16, 2);
    tag("data");
    put(data, 4);
    for (float x : samples)
    {
        const long value = std::lround(std::fmax(-1.0, std::fmin(1.0, static_cast<double>(x))) * 32767.0);
        put(static_cast<std::uint32_t>(static_cast<std::int16_t>(value)) & 0xFFFFu, 2);
    }
    return bytes;
}

void ListSounds(Manifest& manifest)
{
    for (const EffectEntry& entry : Effects)
    {
        const bool loop = IsLoop(entry.recipe);
        manifest.push_back(
            {EffectPath(entry), loop ? "sound loop" : "sound effect",
             std::string("22050 Hz mono 16-bit, ") + (loop ? "loop" : "effect") + ": " + entry.use});
    }
    for (const TrackEntry& track : Tracks)
    {
        manifest.push_back({track.path, "music track", std::string("44100 Hz stereo 16-bit: ") + track.use});
    }
    ListSoundReview(manifest);
}

bool MakeSounds(Output& output)
{
    const std::vector<RenderedSound> sounds = RenderAll();
    if (!Check(sounds))
    {
        return false;
    }
    for (const RenderedSound& sound : sounds)
    {
        if (!output.Write(sound.path, EncodeWav(sound.samples, sound.rate, sound.channels)))
        {
            return false;
        }
    }
    return MakeSoundReview(output, sounds);
}

} // namespace AssetGen

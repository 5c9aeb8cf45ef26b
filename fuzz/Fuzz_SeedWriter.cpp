// Writes the starting inputs of every fuzz target with the project's own
// writers, one folder per target under the folder named on the command line.
// Run at build time, so the seeds follow the formats as they change.

#include "collision/Collision_CollisionActor.h"
#include "collision/Collision_CollisionEngine.h"
#include "collision/Collision_TileMap.h"
#include "core/Core_MemoryFile.h"
#include "core/Core_Random.h"
#include "engine/Engine_Group.h"
#include "engine/Engine_Node.h"
#include "engine/Engine_TransformationGroup.h"
#include "framework/Velkor_Jukebox.h"
#include "framework/Velkor_NetPlayer.h"
#include "framework/Velkor_NetWire.h"
#include "framework/Velkor_NetworkFile.h"
#include "framework/Velkor_ParticleEmitter.h"
#include "framework/Velkor_Sprite.h"
#include "framework/Velkor_ParticleSystem.h"
#include "framework/Velkor_ReplayRecord.h"
#include "framework/Velkor_ScriptValues.h"
#include "fuzz/Fuzz_SavedGame.h"
#include "gui/GUI_Button.h"
#include "gui/GUI_Form.h"
#include "gui/GUI_GuiImage.h"
#include "gui/GUI_HUD.h"
#include "gui/GUI_RadioButton.h"
#include "gui/GUI_SkinFile.h"
#include "net/Network_Message.h"
#include "physics/Physics_JointFixed.h"
#include "physics/Physics_JointNail.h"
#include "physics/Physics_PhysicsEngine.h"
#include "physics/Physics_RigidBody.h"
#include "script/Script_Lua.h"

#include <vorbis/vorbisenc.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb/stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

namespace
{

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

fs::path g_root;

void Save(const std::string& target, const std::string& name, const Bytes& bytes)
{
    const fs::path folder = g_root / target;
    fs::create_directories(folder);
    std::ofstream(folder / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void SaveText(const std::string& target, const std::string& name, const std::string& text)
{
    Save(target, name, Bytes(text.begin(), text.end()));
}

Bytes Written(const std::function<void(Core::File&)>& write)
{
    Core::MemoryFile file;
    write(file);
    return file.GetBuffer();
}

void SceneSeeds()
{
    const Core::RefPtr<Engine::Group> root(new Engine::TransformationGroup());
    const Core::RefPtr<Engine::Group> inner(new Engine::Group());
    const Core::RefPtr<Engine::Node> leaf(new Engine::Node());
    root->SetName("root");
    inner->SetName("inner");
    leaf->SetName("leaf");
    root->AddChild(inner);
    root->AddChild(Core::RefPtr<Engine::Node>(new Engine::Node()));
    inner->AddChild(leaf);
    root->Update(0.0f);
    for (const auto& [name, written] :
         {std::pair{"tree", Core::RefPtr<Engine::Node>(root)},
          std::pair{"inner", Core::RefPtr<Engine::Node>(inner)}, std::pair{"leaf", leaf}})
    {
        Engine::Node* node = written.Get();
        const Bytes bytes = Written([node](Core::File& file) { file.WriteObject(node); });
        Save("scene_nodes", name, bytes);
        Save("archive", std::string("scene_") + name, bytes);
    }
}

void PhysicsSeeds()
{
    using namespace Physics2D;
    const Core::RefPtr<PhysicsEngine> engine(new PhysicsEngine());
    for (int i = 0; i < 4; ++i)
    {
        RigidBody* body = new RigidBody(MassProperties(1.0f, 0.5f, {}), 0, nullptr, nullptr, nullptr);
        body->SetPosition({static_cast<float>(i), 1.0f});
        engine->AddRigidBody(body);
    }
    engine->RemoveRigidBody(3);
    engine->AddJoint(0, 1, new JointNail({0.0f, 2.0f}, {0.0f, 2.0f}, 0.3f, 20.0f));
    engine->AddJoint(2, 4, new JointFixed());
    for (int frame = 0; frame < 3; ++frame)
    {
        engine->Update(1.0f / 60.0f);
        engine->PostCollisionUpdate(1.0f / 60.0f);
    }
    Save("physics_world", "world", Written([&](Core::File& file) { engine->Write(file); }));
    Save("archive", "physics_world", Written([&](Core::File& file) { file.WriteObject(engine.Get()); }));
    Save("archive", "physics_body",
         Written([&](Core::File& file) { file.WriteObject(engine->GetRigidBody(1).Get()); }));
}

void CollisionSeeds()
{
    using namespace Collision2D;
    {
        CollisionEngine engine;
        Save("collision_engine", "empty", Written([&](Core::File& file) { engine.Write(file); }));
        const std::int32_t layer = engine.AddLayer();
        engine.InitializeLayerGrid(static_cast<std::uint32_t>(layer), {0.0f, 0.0f}, 400, 300, 100);
        auto* map = new TileMap();
        map->SetGrid(3, 2, 16, 1);
        if (engine.AddCollisionObject(map, static_cast<std::uint8_t>(layer), {10.0f, 20.0f}) == 0)
        {
            delete map;
        }
        Save("collision_engine", "layer", Written([&](Core::File& file) { engine.Write(file); }));
    }
    {
        CollisionActor actor;
        Save("collision_actor", "empty", Written([&](Core::File& file) { actor.Write(file); }));
    }
    {
        TileMap map;
        map.SetGrid(4, 3, 32, 2);
        Save("tilemap_archive", "grid", Written([&](Core::File& file) { map.Write(file); }));
    }
    const std::string header = "C: 4\nR: 3\nDIM: 32\nTILE_NUMBER:2\n\n"
                               "Tile number 0\nNUM: 2\nDURATIONS: 0.5 0.25\nIMAGE_INDEX: 3 4\nID: 7 263\n\n"
                               "Tile 1\nNUM: 1\nDURATIONS: 1e0\nIMAGE_INDEX: 9\nID: 5\n\n";
    SaveText("tilemap_text", "entries", header + "ENTRY_COUNT: 2\n(2,1,0)\n(0,0,1)\n");
    SaveText("tilemap_text", "crlf", "C: 1\r\nR: 1\r\nDIM: 8\r\nTILE_NUMBER:0\r\n\r\nENTRY_COUNT: 0\r\n");
    SaveText("collision_text", "walls",
             "SEGMENTS 2\n-512,-384,512,-384,0,1\n512,-384,-512,-384,0,2\nCIRCLES 1\n0,0,40.5,0,9\n");
    SaveText("collision_text", "separators",
             "s 1\r\n 1 ; 2 |3x 4 /5e0 : 6\r\nc 2 1,2,3,-1,4 5,6,7,256.5,8\r\n");
    SaveText("collision_text", "empty_sections", "SEGMENTS 0\nCIRCLES -3\n");
}

void WriteToBytes(void* context, void* data, int size)
{
    auto* bytes = static_cast<Bytes*>(context);
    bytes->insert(bytes->end(), static_cast<std::uint8_t*>(data), static_cast<std::uint8_t*>(data) + size);
}

void ImageSeeds()
{
    constexpr int Side = 5;
    std::vector<std::uint8_t> pixels(Side * Side * 4);
    for (std::size_t i = 0; i < pixels.size(); ++i)
    {
        pixels[i] = static_cast<std::uint8_t>(i * 37);
    }
    Bytes png, bmp, jpg;
    stbi_write_png_to_func(&WriteToBytes, &png, Side, Side, 4, pixels.data(), Side * 4);
    stbi_write_bmp_to_func(&WriteToBytes, &bmp, Side, Side, 3, pixels.data());
    stbi_write_jpg_to_func(&WriteToBytes, &jpg, Side, Side, 3, pixels.data(), 80);
    Save("image", "png", png);
    Save("image", "bmp", bmp);
    Save("image", "jpg", jpg);
    // A raw surface: format, width, height, pitch, then the pixels.
    Core::MemoryFile raw;
    raw << std::uint32_t{0} << std::uint32_t{2} << std::uint32_t{2} << std::uint32_t{8};
    raw.Write(pixels.data(), 16);
    Save("image", "raw", raw.GetBuffer());
}

void IconSeeds()
{
    // One 2 x 2 entry of 32-bit pixels: the directory, the entry, the bitmap
    // header (twice the height: colour rows then mask rows), the pixels and
    // the mask rows (each padded to 4 bytes).
    Core::MemoryFile icon;
    icon << std::uint16_t{0} << std::uint16_t{1} << std::uint16_t{1};
    const std::uint32_t imageSize = 40 + 16 + 8;
    icon << std::uint8_t{2} << std::uint8_t{2} << std::uint8_t{0} << std::uint8_t{0} << std::uint16_t{1}
         << std::uint16_t{32} << imageSize << std::uint32_t{22};
    icon << std::uint32_t{40} << std::int32_t{2} << std::int32_t{4} << std::uint16_t{1} << std::uint16_t{32}
         << std::uint32_t{0} << std::uint32_t{16} << std::int32_t{0} << std::int32_t{0} << std::uint32_t{0}
         << std::uint32_t{0};
    for (std::uint32_t pixel : {0xff0000ffu, 0xff00ff00u, 0xffff0000u, 0x80808080u})
    {
        icon << pixel;
    }
    icon << std::uint32_t{0} << std::uint32_t{0};
    Save("icon", "two_by_two", icon.GetBuffer());
}

void LuaSeeds()
{
    SaveText("lua", "math",
             "local v = Vector2D and Vector2D(1, 2)\nlocal t = {}\nfor i = 1, 10 do t[i] = i * 2 end\n"
             "return string.format('%d', #t)\n");
    SaveText("lua", "metatables",
             "for k, v in pairs(_G) do if type(v) == 'function' then pcall(v) end end\n"
             "local s = setmetatable({}, {__index = function(t, k) return k end})\n"
             "return s.x, getmetatable('')\n");
    SaveText("lua", "errors", "local ok, e = pcall(error, {code = 1})\nassert(not ok)\nreturn e.code\n");
}

// Framed messages as the socket engine writes them: two back to back (a
// stream read), and one alone (a datagram).
void NetSeeds()
{
    const auto message = [](std::uint32_t id, const std::string& payload)
    {
        Bytes bytes(Network::HeaderSize + payload.size());
        Network::WriteHeader(bytes.data(), id, static_cast<std::uint32_t>(bytes.size()));
        std::copy(payload.begin(), payload.end(), bytes.begin() + Network::HeaderSize);
        return bytes;
    };
    Bytes two = message(5, "hello");
    const Bytes second = message(16, std::string("\x01\x00\x00\x00", 4));
    two.insert(two.end(), second.begin(), second.end());
    Save("net_messages", "two", two);
    Save("net_messages", "one", message(2, "late"));
    Save("net_messages", "header_only", message(1, ""));
}

// Jukeboxes as a level's archive holds them. No sound engine runs here, so
// the tracks are written by hand beside the music names.
void JukeBoxSeeds()
{
    const Core::RefPtr<Velkor::JukeBox> empty(new Velkor::JukeBox(std::vector<std::string>{}));
    Save("jukebox", "empty", Written([&](Core::File& file) { file.WriteObject(empty.Get()); }));

    const Core::RefPtr<Velkor::JukeBox> box(new Velkor::JukeBox(std::vector<std::string>{}));
    Velkor::Playlist* mine = box->AddPlaylist("Mine");
    mine->AddTrack("C:\\Game\\Resources\\JukeBoxes\\a.wav", nullptr, 1);
    mine->AddTrack("\\resources\\JukeBoxes\\b.wav", nullptr, -2);
    box->AddPlaylist("Other");
    box->SetCurrentPlaylist("Mine");
    box->SetRepeat(true);
    box->SetShuffle(true);
    box->SetFadeTime(2.5f);
    const Bytes playlists = Written([&](Core::File& file) { file.WriteObject(box.Get()); });
    Save("jukebox", "playlists", playlists);
}

// Replay-data files: frames with keys, buttons and bare motion.
void ReplayDataSeeds()
{
    std::vector<Velkor::ReplayRecord> records(4);
    Input::KeyRecord down;
    down.Advance(true);
    Input::KeyRecord released = down;
    released.Advance(false);
    records[0].keyboardChanged = true;
    records[0].keyboardChanges =
        std::make_unique<Velkor::ReplayChangeList>(Velkor::ReplayChangeList{{0x25, 0x1B}, {down, released}});
    records[1].mouseChanged = true;
    records[1].mouseChanges =
        std::make_unique<Velkor::ReplayChangeList>(Velkor::ReplayChangeList{{1, 2}, {down, down}});
    records[2].mouseChanged = true;
    records[2].mouseChanges = std::make_unique<Velkor::ReplayChangeList>();
    for (std::size_t i = 0; i < records.size(); ++i)
    {
        records[i].mouse.x = static_cast<std::int32_t>(100 + i * 7);
        records[i].mouse.y = static_cast<std::int32_t>(i) - 2;
        records[i].dt = 1.0f / 60.0f;
    }
    Save("replay_data", "frames",
         Written([&](Core::File& file) { Velkor::WriteReplayRecords(file, records); }));
    Save("replay_data", "empty", Written([&](Core::File& file) { Velkor::WriteReplayRecords(file, {}); }));
}

// Particle systems as a level's archive holds them: one with a pool of
// `count` run for a few frames behind each kind of emitter, and one never
// loaded. A system gets its node only by reading, so the first record is
// written here field by field.
void ParticleSeeds()
{
    const Core::RefPtr<Velkor::ParticleSystem> bare(new Velkor::ParticleSystem());
    Save("particle_system", "unloaded", Written([&](Core::File& file) { file.WriteObject(bare.Get()); }));

    const std::pair<const char*, Core::RefPtr<Velkor::ParticleEmitter>> emitters[] = {
        {"point", new Velkor::PointEmitter(Math::Vector2D(1.0f, 2.0f), 30.0f, 150.0f)},
        {"line", new Velkor::LineEmitter(Math::Vector2D(-5.0f, 0.0f), Math::Vector2D(5.0f, 0.0f))},
        {"circle", new Velkor::CircleEmitter(Math::Vector2D(), 10.0f)},
        {"disk", new Velkor::DiskEmitter(Math::Vector2D(), 10.0f)},
        {"rectangle", new Velkor::RectangleEmitter(-4.0f, -4.0f, 8.0f, 8.0f)},
        {"filled", new Velkor::FilledRectangleEmitter(-4.0f, -4.0f, 8.0f, 8.0f)},
    };
    std::uint32_t count = 0;
    // Named references, not structured bindings: the lambda below captures
    // them, which clang's C++20 mode refuses for bindings.
    for (const auto& entry : emitters)
    {
        const char* const name = entry.first;
        const Core::RefPtr<Velkor::ParticleEmitter>& emitter = entry.second;
        count = count * 2 + 1;
        const Bytes record = Written(
            [&](Core::File& file)
            {
                const Core::RefPtr<Velkor::GameObject> object(new Velkor::GameObject());
                object->Write(file);
                file << std::string("DemoParticle.png") << count;
                for (std::uint32_t i = 0; i < count * 10; ++i)
                {
                    file << 0.0f;
                }
                file << 100.0f << std::uint32_t{6} << std::uint32_t{1} << false << true << count;
                const Velkor::Particle dead;
                for (std::uint32_t i = 0; i < count; ++i)
                {
                    file << dead.startingColor << dead.endingColor << dead.position << dead.origin
                         << dead.velocity << dead.startingScale << dead.endingScale << dead.rotation
                         << dead.rotationSpeed << dead.lifeTime << dead.age << dead.alive;
                }
                file << Math::Vector2D(0.0f, -10.0f) << Math::Vector2D();
                for (int i = 0; i < 4; ++i)
                {
                    file << Math::Vector4(1.0f, 0.5f, 0.2f, 1.0f);
                }
                for (int i = 0; i < 4; ++i)
                {
                    file << Math::Vector2D(1.0f, 1.0f);
                }
                file.WriteObject(emitter.Get());
                file << std::uint32_t{1} << std::uint32_t{0} << std::uint32_t{0};
                const float ranges[] = {0.1f, 0.5f, -3.0f, 3.0f, 10.0f, 20.0f, 100.0f, 200.0f, 0.0f};
                for (const float value : ranges)
                {
                    file << value;
                }
                file << true << false << true;
            });
        Core::MemoryFile file(record.data(), static_cast<std::uint32_t>(record.size()));
        const Core::RefPtr<Velkor::ParticleSystem> system(new Velkor::ParticleSystem());
        system->Read(file);
        if (file.Failed())
        {
            std::fprintf(stderr, "the %s particle seed does not read\n", name);
            std::exit(1);
        }
        Core::SeedRandom(count);
        for (int frame = 0; frame < 4; ++frame)
        {
            system->UpdateEngineSide(1.0f / 60.0f);
        }
        Save("particle_system", name, Written([&](Core::File& out) { out.WriteObject(system.Get()); }));
    }
}

// A skin file as the asset generator lays it out (three records with
// three-pixel borders), and the streams of a skin image made from it and of
// one without a skin.
void GuiSeeds()
{
    std::vector<GUI::SkinRecord> records;
    for (int i = 0; i < 3; ++i)
    {
        const float x = static_cast<float>(2 + 28 * i);
        records.push_back(GUI::SkinRecord{x, 6, 24, 24, 3, 21, 3, 21});
    }
    const Bytes skin = Written([&](Core::File& file) { GUI::WriteSkinRecords(file, records); });
    Save("gui_skin", "skin", skin);
    Save("gui_skin", "no_records", Written([](Core::File& file) { GUI::WriteSkinRecords(file, {}); }));

    const fs::path base = fs::temp_directory_path() / ("gui_seed_skin_" + std::to_string(::getpid()));
    std::ofstream(base.string() + ".gui", std::ios::binary)
        .write(reinterpret_cast<const char*>(skin.data()), static_cast<std::streamsize>(skin.size()));
    GUI::GuiImage image(base.string(), GUI::Size{75, 25});
    image.SetState(2);
    image.SetPosition(Math::Vector2D(10, 20));
    fs::remove(base.string() + ".gui");
    Save("gui_skin", "image_stream", Written([&](Core::File& file) { image.Write(file); }));
    const GUI::GuiImage empty;
    Save("gui_skin", "empty_image_stream", Written([&](Core::File& file) { empty.Write(file); }));
}

// Saves of a display: an empty one, and one with two forms (one modal, one
// moved and holding a child form), buttons and two groups of radio
// buttons.
void GuiDisplaySeeds()
{
    GUI::HUD hud;
    Save("gui_display", "empty", Written([&](Core::File& file) { hud.Save(file); }));
    Core::RefPtr<GUI::Form> main(new GUI::Form(Math::Vector2D(20, 30), 500, 400));
    main->SetName("Controls");
    main->SetText("Controls");
    hud.AddForm(main.Get());
    for (int i = 0; i < 3; ++i)
    {
        Core::RefPtr<GUI::Button> button(new GUI::Button());
        button->SetText("Button " + std::to_string(i));
        main->AddControl(button.Get());
        button->SetPosition(Math::Vector2D(20, 20 + 40.0f * static_cast<float>(i)));
        button->SetControlSize(120, 30);
        button->SetEnabled(i != 1);
        Core::RefPtr<GUI::RadioButton> radio(new GUI::RadioButton());
        main->AddControl(radio.Get());
        radio->SetPosition(Math::Vector2D(200, 20 + 30.0f * static_cast<float>(i)));
    }
    Core::RefPtr<GUI::Form> child(new GUI::Form(Math::Vector2D(250, 150), 200, 150));
    main->AddControl(child.Get());
    Core::RefPtr<GUI::RadioButton> inner(new GUI::RadioButton());
    child->AddControl(inner.Get());
    hud.Update(1.0f / 60.0f);
    main->SetPosition(Math::Vector2D(60, 80));
    Core::RefPtr<GUI::Form> modal(new GUI::Form(Math::Vector2D(600, 300), 250, 150));
    modal->SetName("Modal");
    hud.AddForm(modal.Get());
    modal->SetModal(true);
    hud.Update(1.0f / 60.0f);
    Save("gui_display", "forms", Written([&](Core::File& file) { hud.Save(file); }));
}

void Append16(Bytes& bytes, std::uint32_t value)
{
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Append32(Bytes& bytes, std::uint32_t value)
{
    Append16(bytes, value & 0xFFFF);
    Append16(bytes, value >> 16);
}

// A RIFF/WAVE file of a format chunk and a data chunk of `frames` frames
// of a falling saw; an extensible format when `mask` is not 0.
Bytes Wav(std::uint16_t channels, std::uint16_t bits, std::uint32_t frames, std::uint32_t mask)
{
    const std::uint32_t rate = 8000;
    const std::uint32_t block = channels * bits / 8u;
    Bytes format;
    Append16(format, mask != 0 ? 0xFFFE : 1);
    Append16(format, channels);
    Append32(format, rate);
    Append32(format, rate * block);
    Append16(format, block);
    Append16(format, bits);
    if (mask != 0)
    {
        Append16(format, 22);
        Append16(format, bits);
        Append32(format, mask);
        const std::uint8_t pcm[16] = {1, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
        format.insert(format.end(), pcm, pcm + 16);
    }
    Bytes samples;
    for (std::uint32_t i = 0; i < frames * channels; ++i)
    {
        if (bits == 8)
        {
            samples.push_back(static_cast<std::uint8_t>(255 - i % 256));
        }
        else
        {
            Append16(samples, (i * 997u) & 0xFFFF);
        }
    }
    Bytes file = {'R', 'I', 'F', 'F'};
    Append32(file,
             static_cast<std::uint32_t>(4 + 8 + format.size() + 8 + samples.size() + samples.size() % 2));
    file.insert(file.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    Append32(file, static_cast<std::uint32_t>(format.size()));
    file.insert(file.end(), format.begin(), format.end());
    file.insert(file.end(), {'d', 'a', 't', 'a'});
    Append32(file, static_cast<std::uint32_t>(samples.size()));
    file.insert(file.end(), samples.begin(), samples.end());
    if (samples.size() % 2 != 0)
    {
        file.push_back(0);
    }
    return file;
}

void WavSeeds()
{
    Save("wav", "mono16", Wav(1, 16, 400, 0));
    Save("wav", "stereo8", Wav(2, 8, 301, 0));
    Save("wav", "quad16_extensible", Wav(4, 16, 50, 51));
}

// A short Ogg Vorbis file of a sine per channel, encoded with libvorbisenc.
Bytes Ogg(int channels, long rate, long frames)
{
    Bytes bytes;
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, 0.1f) != 0)
    {
        vorbis_info_clear(&info);
        return bytes;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 77);
    const auto appendPage = [&bytes](const ogg_page& page)
    {
        bytes.insert(bytes.end(), page.header, page.header + page.header_len);
        bytes.insert(bytes.end(), page.body, page.body + page.body_len);
    };
    ogg_packet header, headerComment, headerCode;
    vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &headerComment);
    ogg_stream_packetin(&stream, &headerCode);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0)
    {
        appendPage(page);
    }
    float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(frames));
    for (int c = 0; c < channels; ++c)
    {
        for (long i = 0; i < frames; ++i)
        {
            buffer[c][i] = static_cast<float>(0.2 * (c + 1) * std::sin(0.05 * static_cast<double>(i)));
        }
    }
    vorbis_analysis_wrote(&dsp, static_cast<int>(frames));
    vorbis_analysis_wrote(&dsp, 0);
    ogg_packet packet;
    bool ended = false;
    while (!ended && vorbis_analysis_blockout(&dsp, &block) == 1)
    {
        vorbis_analysis(&block, nullptr);
        vorbis_bitrate_addblock(&block);
        while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0)
        {
            ogg_stream_packetin(&stream, &packet);
            while (!ended && ogg_stream_pageout(&stream, &page) != 0)
            {
                appendPage(page);
                ended = ogg_page_eos(&page) != 0;
            }
        }
    }
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return bytes;
}

void OggSeeds()
{
    Save("ogg", "mono", Ogg(1, 8000, 2000));
    Save("ogg", "stereo", Ogg(2, 11025, 1500));
}

// The game's own glyph tables, as the resource generator wrote them.
void FontSeeds(const fs::path& resources)
{
    std::error_code error;
    for (const auto& entry : fs::recursive_directory_iterator(resources / "Fonts", error))
    {
        if (entry.is_regular_file() && entry.path().extension() == ".fbf")
        {
            std::ifstream stream(entry.path(), std::ios::binary);
            const Bytes bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
            Save("font", entry.path().stem().string(), bytes);
        }
    }
}

// Session messages as the layer writes them, in the fuzz target's records
// (selector: channel in the low bits, sender in bits 3-4; id; u16 size).
void SessionSeeds()
{
    const auto record =
        [](Bytes& out, std::uint8_t channel, std::uint8_t sender, std::uint8_t id, const Bytes& payload)
    {
        out.push_back(static_cast<std::uint8_t>(channel | sender << 3));
        out.push_back(id);
        out.push_back(static_cast<std::uint8_t>(payload.size()));
        out.push_back(static_cast<std::uint8_t>(payload.size() >> 8));
        out.insert(out.end(), payload.begin(), payload.end());
    };
    const auto build = [](const std::function<void(Velkor::PayloadWriter&)>& write)
    {
        Bytes bytes;
        Velkor::PayloadWriter writer(bytes);
        write(writer);
        return bytes;
    };
    const auto twoIds = [&build](std::uint32_t first, std::uint32_t second)
    {
        return build(
            [=](Velkor::PayloadWriter& w)
            {
                w.U32(first);
                w.U32(second);
            });
    };
    const Core::RefPtr<Velkor::ZibPlayer> eve(new Velkor::ZibPlayer(0, "eve", true, false, nullptr, nullptr));

    // Host: a join from a new connection, then text, a group and input from ann (sender 1).
    Bytes host{0};
    record(host, 2, 3, 1,
           build(
               [&](Velkor::PayloadWriter& w)
               {
                   w.CString("pw");
                   Velkor::WritePlayerRecord(w, *eve);
               }));
    record(host, 2, 1, 10,
           build(
               [](Velkor::PayloadWriter& w)
               {
                   w.U32(2);
                   w.U32(1);
                   w.CString("hello");
               }));
    record(host, 2, 1, 5,
           build(
               [](Velkor::PayloadWriter& w)
               {
                   w.U32(2);
                   w.U32(9);
                   w.CString("pair");
                   w.U32(2);
                   w.U32(3);
               }));
    record(host, 2, 1, 11,
           build(
               [](Velkor::PayloadWriter& w)
               {
                   w.U32(2);
                   w.U32(9);
                   w.U32(7);
                   w.U32(2);
                   w.U8(1);
                   w.U8(2);
               }));
    record(host, 4, 1, 15, Bytes(32, 0));
    record(host, 2, 1, 16, build([](Velkor::PayloadWriter& w) { w.U32(2); }));
    record(host, 2, 1, 8, twoIds(2, 1));
    record(host, 4, 1, 18, twoIds(2, 1));
    Save("session_messages", "host", host);

    // Client: players, text, level name and ping from the host (sender 0).
    Bytes client{1};
    record(client, 3, 0, 3, build([&](Velkor::PayloadWriter& w) { Velkor::WritePlayerRecord(w, *eve); }));
    record(client, 3, 0, 10,
           build(
               [](Velkor::PayloadWriter& w)
               {
                   w.U32(1);
                   w.U32(1);
                   w.CString("welcome");
               }));
    record(client, 5, 0, 12, Bytes{'L', 'o', 'b', 'b', 'y'});
    record(client, 5, 0, 17, twoIds(1, 5));
    record(client, 3, 0, 4, build([&](Velkor::PayloadWriter& w) { Velkor::WritePlayerRecord(w, *eve); }));
    Save("session_messages", "client", client);

    // Client: the object list with one ball (owner 1, id 7), a creation
    // (id 8), syncs of both, then the removal of the first.
    const auto ballEntry = [](std::uint32_t layer, std::uint32_t id, float x)
    {
        Core::RefPtr<Velkor::Sprite> ball(new Velkor::Sprite());
        ball->SetName("ball");
        ball->SetPosition(x, 2.0f);
        ball->SetNetworkID(new Velkor::NetObjectID(1, id, true));
        Velkor::NetworkFile file;
        file << layer;
        Velkor::WriteNetworkString(file, "Ball");
        ball->NetworkSave(file);
        return Bytes(file.GetData(), file.GetData() + file.GetSize());
    };
    const auto ballSync = [](std::uint32_t id, float x)
    {
        Core::RefPtr<Velkor::Sprite> ball(new Velkor::Sprite());
        ball->SetName("ball");
        ball->SetPosition(x, 3.0f);
        Velkor::NetworkFile file;
        file << std::uint32_t{2} << std::uint32_t{1} << id;
        ball->NetworkSyncSend(file);
        return Bytes(file.GetData(), file.GetData() + file.GetSize());
    };
    Bytes objects{1};
    Bytes list = build([](Velkor::PayloadWriter& w) { w.U32(1); });
    const Bytes first = ballEntry(1, 7, 1.0f);
    list.insert(list.end(), first.begin(), first.end());
    record(objects, 3, 0, 13, list);
    record(objects, 3, 0, 7, ballEntry(2, 8, 5.0f));
    record(objects, 5, 0, 9, ballSync(7, 4.0f));
    record(objects, 5, 0, 9, ballSync(8, 6.0f));
    record(objects, 3, 0, 8, twoIds(1, 7));
    Save("session_messages", "objects", objects);

    // Looking for sessions: a broadcast, then a join reply.
    Velkor::SessionBroadcast broadcast;
    broadcast.address = Network::NetAddress("127.0.0.1", 4000);
    broadcast.maxPlayers = 4;
    broadcast.currentPlayers = 1;
    broadcast.name = "arena";
    broadcast.networkId = "net_demo";
    Bytes payload;
    Velkor::WriteSessionBroadcast(payload, broadcast);
    Bytes listening{2};
    record(listening, 1, 0, 0, payload);
    record(listening, 3, 0, 2, build([](Velkor::PayloadWriter& w) { w.I32(3); }));
    Save("session_messages", "listening", listening);
}

// Value lists as objects write them: one of every kind, tables of the
// three classes and of another, and an empty list.
void ScriptValueSeeds()
{
    lua_State* state = luaL_newstate();
    luaL_openlibs(state);
    const auto written = [state](const char* code)
    {
        lua_settop(state, 0);
        luaL_loadstring(state, code);
        lua_pcall(state, 0, LUA_MULTRET, 0);
        Core::MemoryFile file;
        Velkor::WriteScriptValues(file, state, 1, lua_gettop(state));
        return file.GetBuffer();
    };
    Save("script_values", "plain", written("return true, 2.5, 'a', nil, false"));
    Save("script_values", "tables",
         written("return {className = 'Point2D', X = 1, Y = 2}, {className = 'Vector2D', X = -1, Y = 0.5}, "
                 "{className = 'Color', R = 0.1, G = 0.2, B = 0.3, A = 1}, {className = 'Other'}"));
    Save("script_values", "lost", written("return print, coroutine.create(function() end), io.stdout"));
    Save("script_values", "empty", written("return"));
    lua_close(state);
}

// A running game's save, cut and damaged copies of it, and nothing.
void SavedGameSeeds()
{
    const Bytes save = Fuzz::SaveOf(Fuzz::GetSavedGame());
    Save("saved_game", "level", save);
    Save("saved_game", "empty", {});
    Save("saved_game", "half", Bytes(save.begin(), save.begin() + static_cast<std::ptrdiff_t>(save.size() / 2)));
    Save("saved_game", "short", Bytes(save.begin(), save.end() - 1));
    // The collision asset count claims far more than the file holds.
    Bytes lying = save;
    lying[3] = 0x7F;
    Save("saved_game", "lying-count", lying);
}

// Network records as objects write them, behind the target's selector
// bytes: creation records of each kind (one networked), a null record, a
// class that is no game object and one nobody registered; sync records of
// a plain object, a sprite and a sound, and a sound's cut short.
void NetworkRecordSeeds()
{
    const auto creation = [](Core::Object* object)
    {
        Velkor::NetworkFile file;
        file.WriteNetworkObject(object);
        Bytes bytes{0};
        bytes.insert(bytes.end(), file.GetData(), file.GetData() + file.GetSize());
        return bytes;
    };
    const Core::RefPtr<Velkor::GameObject> plain(new Velkor::GameObject());
    plain->SetName("plain");
    plain->SetPosition(3.0f, 4.0f);
    plain->SetNetworkID(new Velkor::NetObjectID(2, 9, true));
    Save("network_records", "create-object", creation(plain.Get()));
    const std::pair<const char*, Core::RefPtr<Velkor::GameObject>> kinds[] = {
        {"create-sprite", new Velkor::Sprite()},
        {"create-sound", new Velkor::Sound()},
        {"create-text", new Velkor::Text("score 100", "")},
        {"create-circle", new Velkor::Circle(12.0f)},
        {"create-line", new Velkor::Line(Math::Vector2D(1, 2), Math::Vector2D(3, 4))},
    };
    for (const auto& kind : kinds)
    {
        kind.second->SetName(kind.first + 7);
        Save("network_records", kind.first, creation(kind.second.Get()));
    }
    Save("network_records", "create-null", Bytes{0, 0});
    const auto named = [](const std::string& className)
    {
        Velkor::NetworkFile file;
        file.Write("\x01", 1);
        Velkor::WriteNetworkString(file, className);
        Bytes bytes{0};
        bytes.insert(bytes.end(), file.GetData(), file.GetData() + file.GetSize());
        bytes.insert(bytes.end(), 8, 0);
        return bytes;
    };
    Save("network_records", "create-level", named("Velkor::Level"));
    Save("network_records", "create-unknown", named("Nobody"));

    const Core::RefPtr<Velkor::GameObject> synced[] = {plain, kinds[0].second, kinds[1].second};
    for (std::uint8_t kind = 0; kind < 3; ++kind)
    {
        synced[kind]->SetPosition(5.0f + kind, -2.0f);
        Velkor::NetworkFile file;
        synced[kind]->NetworkSyncSend(file);
        Bytes bytes{1, kind};
        bytes.insert(bytes.end(), file.GetData(), file.GetData() + file.GetSize());
        Save("network_records", "sync-" + std::to_string(kind), bytes);
        if (kind == 2)
        {
            bytes.pop_back();
            Save("network_records", "sync-2-cut", bytes);
        }
    }

    // Records whose sender runs a script: the script's values follow the
    // base's fields, framed by their byte count (one list: the number 2.5).
    // Written by hand: the writer has no script state to run one.
    Velkor::NetworkFile values;
    values << std::uint32_t{1};
    Velkor::WriteNetworkString(values, "tnum");
    values << 2.5;
    const auto scripted = [&values](Bytes bytes, std::size_t baseEnd, bool creationRecord)
    {
        // The base ends in the script-enabled and script-loaded bytes: for a
        // creation record with the file (empty here) and the cloned flag
        // between them, for a sync record with nothing after them.
        const std::size_t flagsBack = creationRecord ? 7 : 2;
        Velkor::NetworkFile part;
        part << true;
        if (!creationRecord)
        {
            part << true;
            Velkor::WriteNetworkString(part, "net.lua");
        }
        else
        {
            Velkor::WriteNetworkString(part, "net.lua");
            part << false << true;
        }
        part << values.GetSize();
        part.Write(values.GetData(), values.GetSize());
        Bytes out(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(baseEnd - flagsBack));
        out.insert(out.end(), part.GetData(), part.GetData() + part.GetSize());
        out.insert(out.end(), bytes.begin() + static_cast<std::ptrdiff_t>(baseEnd), bytes.end());
        return out;
    };
    const Core::RefPtr<Velkor::GameObject> bare(new Velkor::GameObject());
    const Bytes bareCreation = creation(bare.Get());
    Save("network_records", "create-scripted", scripted(bareCreation, bareCreation.size(), true));
    Velkor::NetworkFile bareSync;
    bare->NetworkSyncSend(bareSync);
    Velkor::NetworkFile spriteSync;
    kinds[0].second->SetName("");
    kinds[0].second->NetworkSyncSend(spriteSync);
    Bytes sprite{1, 1};
    sprite.insert(sprite.end(), spriteSync.GetData(), spriteSync.GetData() + spriteSync.GetSize());
    Save("network_records", "sync-sprite-scripted", scripted(sprite, 2 + bareSync.GetSize(), false));
}

// A particle system and its emitter with their script settings set: the
// script file travels in both records (a reader without a script state
// runs no script).
void ScriptedRecordSeeds()
{
    const Core::RefPtr<Velkor::ParticleSystem> system(new Velkor::ParticleSystem());
    const Core::RefPtr<Velkor::PointEmitter> emitter(
        new Velkor::PointEmitter(Math::Vector2D(1.0f, 2.0f), 30.0f, 150.0f));
    for (Velkor::ScriptAttachment* script : {&system->GetScriptAttachment(), &emitter->GetScriptAttachment()})
    {
        script->SetFile("sparks\\spray.lua");
        script->SetLoaded(true);
        script->SetCloned(true);
    }
    system->SetEmitter(emitter.Get());
    Save("particle_system", "scripted", Written([&](Core::File& file) { file.WriteObject(system.Get()); }));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::fprintf(stderr, "usage: %s <seed folder> <resource folder>\n", argv[0]);
        return 2;
    }
    g_root = argv[1];
    SceneSeeds();
    PhysicsSeeds();
    CollisionSeeds();
    ImageSeeds();
    IconSeeds();
    LuaSeeds();
    NetSeeds();
    JukeBoxSeeds();
    ReplayDataSeeds();
    ParticleSeeds();
    GuiSeeds();
    GuiDisplaySeeds();
    WavSeeds();
    OggSeeds();
    FontSeeds(argv[2]);
    SessionSeeds();
    ScriptValueSeeds();
    SavedGameSeeds();
    NetworkRecordSeeds();
    ScriptedRecordSeeds();
    return 0;
}

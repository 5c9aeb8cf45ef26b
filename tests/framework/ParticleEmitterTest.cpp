#include "RandomDrawSupport.h"

#include "core/Core_ClassRegistry.h"
#include "core/Core_MemoryFile.h"
#include "core/Core_Random.h"
#include "framework/Velkor_Level.h"
#include "framework/Velkor_ParticleEmitter.h"
#include "framework/Velkor_Random.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>

namespace
{

using Vec = Math::Vector2D;

constexpr float Near = 1e-5f;

TEST(ParticleEmitterTest, CreatedByNameWithTheirDefaults)
{
    auto make = [](const char* name)
    {
        Core::Object* object = Core::CreateObject(name);
        EXPECT_NE(object, nullptr) << name;
        EXPECT_STREQ(object->GetClassName(), name);
        return Core::RefPtr<Core::Object>(object);
    };
    const auto point = make("Velkor::PointEmitter");
    const auto& p = static_cast<Velkor::PointEmitter&>(*point);
    EXPECT_EQ(p.minAngle, 0.0f);
    EXPECT_EQ(p.maxAngle, 360.0f);
    EXPECT_EQ(p.position, Vec(0, 0));
    for (const char* round : {"Velkor::CircleEmitter", "Velkor::DiskEmitter"})
    {
        const auto object = make(round);
        EXPECT_EQ(static_cast<Velkor::RoundEmitter&>(*object).radius, 100.0f);
    }
    for (const char* quad : {"Velkor::RectangleEmitter", "Velkor::FilledRectangleEmitter"})
    {
        const auto object = make(quad);
        const auto& corners = static_cast<Velkor::QuadEmitter&>(*object).corners;
        EXPECT_EQ(corners[0], Vec(0, 0));
        EXPECT_EQ(corners[1], Vec(100, 0));
        EXPECT_EQ(corners[2], Vec(100, 100));
        EXPECT_EQ(corners[3], Vec(0, 100));
    }
    const auto line = make("Velkor::LineEmitter");
    const auto base = make("Velkor::ParticleEmitter");
    auto& emitter = static_cast<Velkor::ParticleEmitter&>(*base);
    EXPECT_FALSE(emitter.IsScriptEnabled());
    // Without a script the base answers nothing: the outputs stay.
    Vec position(5, 6);
    Vec direction(7, 8);
    emitter.GetPositionAndDirection(0.1f, position, direction);
    EXPECT_EQ(position, Vec(5, 6));
    EXPECT_EQ(direction, Vec(7, 8));
}

TEST(ParticleEmitterTest, ShapesAnswerOnTheirShape)
{
    Core::SeedRandom(17);
    Velkor::PointEmitter point({2, 3}, 90.0f, 90.0f);
    Velkor::LineEmitter line({0, 0}, {10, 0});
    Velkor::LineEmitter dot({4, 4}, {4, 4});
    Velkor::CircleEmitter circle({5, -5}, 0.0f);
    Velkor::FilledRectangleEmitter filled(10, 20, 100, 50);
    for (int i = 0; i < 500; ++i)
    {
        Vec position;
        Vec direction;
        point.GetPositionAndDirection(0.0f, position, direction);
        EXPECT_EQ(position, Vec(2, 3));
        EXPECT_NEAR(direction.x, 0.0f, Near);
        EXPECT_NEAR(direction.y, 1.0f, Near);

        line.GetPositionAndDirection(0.0f, position, direction);
        EXPECT_EQ(position.y, 0.0f);
        EXPECT_GE(position.x, 0.0f);
        EXPECT_LE(position.x, 10.0f);
        EXPECT_EQ(direction, Vec(0, 1));

        dot.GetPositionAndDirection(0.0f, position, direction);
        EXPECT_EQ(position, Vec(4, 4));
        EXPECT_EQ(direction, Vec(0, 0));

        circle.GetPositionAndDirection(0.0f, position, direction);
        EXPECT_EQ(position, Vec(5, -5));
        EXPECT_NEAR(direction.Length(), 1.0f, Near);

        filled.GetPositionAndDirection(0.0f, position, direction);
        EXPECT_GE(position.x, 10.0f);
        EXPECT_LE(position.x, 110.0f);
        EXPECT_GE(position.y, 20.0f);
        EXPECT_LE(position.y, 70.0f);
        EXPECT_EQ(std::fabs(direction.x) + std::fabs(direction.y), 1.0f);
    }
}

TEST(ParticleEmitterTest, DrawsComeInTheirOrder)
{
    // The disk: distance, then angle. The draws 32767 and 0 put the point
    // on the rim at angle 0 only in that order.
    Velkor::DiskEmitter disk({1, 1}, 10.0f);
    RandomDrawSupport::SeedSoNextDrawIs(32767);
    Core::Random();
    const std::int32_t second = Core::Random();
    RandomDrawSupport::SeedSoNextDrawIs(32767);
    Vec position;
    Vec direction;
    disk.GetPositionAndDirection(0.0f, position, direction);
    RandomDrawSupport::SeedSoNextDrawIs(second);
    const float angle = Velkor::RandomFloat(0.0f, 6.2831855f);
    EXPECT_NEAR(position.x, 1.0f + 10.0f * std::cos(angle), 1e-4f);
    EXPECT_NEAR(position.y, 1.0f + 10.0f * std::sin(angle), 1e-4f);

    // Draw counts per call: the generator moves on by exactly these.
    struct Count
    {
        Velkor::ParticleEmitter* emitter;
        int draws;
    };
    Velkor::PointEmitter point;
    Velkor::LineEmitter line;
    Velkor::CircleEmitter circle;
    Velkor::RectangleEmitter rectangle;
    Velkor::FilledRectangleEmitter filled;
    const Count counts[] = {{&point, 1}, {&line, 1}, {&circle, 1}, {&disk, 2}, {&rectangle, 2}, {&filled, 3}};
    for (const Count& count : counts)
    {
        Core::SeedRandom(41);
        count.emitter->GetPositionAndDirection(0.0f, position, direction);
        const std::int32_t next = Core::Random();
        Core::SeedRandom(41);
        for (int i = 0; i < count.draws; ++i)
        {
            Core::Random();
        }
        EXPECT_EQ(Core::Random(), next) << count.emitter->GetClassName();
    }
}

TEST(ParticleEmitterTest, RectangleSidesComeUpOneSixthAndOneThird)
{
    Core::SeedRandom(2024);
    Velkor::RectangleEmitter rectangle(0, 0, 100, 100);
    std::array<int, 4> sides{};
    constexpr int draws = 60000;
    for (int i = 0; i < draws; ++i)
    {
        Vec position;
        Vec direction;
        rectangle.GetPositionAndDirection(0.0f, position, direction);
        // The normal names the side; the point lies on it.
        if (direction == Vec(0, -1))
        {
            ++sides[0];
            EXPECT_EQ(position.y, 0.0f);
        }
        else if (direction == Vec(1, 0))
        {
            ++sides[1];
            EXPECT_EQ(position.x, 100.0f);
        }
        else if (direction == Vec(0, 1))
        {
            ++sides[2];
            EXPECT_EQ(position.y, 100.0f);
        }
        else
        {
            ASSERT_EQ(direction, Vec(-1, 0));
            ++sides[3];
            EXPECT_EQ(position.x, 0.0f);
        }
    }
    const double expected[4] = {1.0 / 6.0, 1.0 / 3.0, 1.0 / 3.0, 1.0 / 6.0};
    for (int side = 0; side < 4; ++side)
    {
        EXPECT_NEAR(static_cast<double>(sides[side]) / draws, expected[side], 0.01) << side;
    }
}

// A level's record holds its managed objects' records inline, an emitter's
// too: an emitter managing the level that manages it would be written
// inside itself without end, so it refuses levels, and itself.
TEST(ParticleEmitterTest, AnEmitterManagesNoLevelAndNotItself)
{
    Core::RefPtr<Velkor::PointEmitter> emitter(new Velkor::PointEmitter());
    Core::RefPtr<Velkor::Level> level(new Velkor::Level());
    emitter->AddManagedObject(level.Get(), "level");
    emitter->AddManagedObject(emitter.Get(), "self");
    EXPECT_TRUE(emitter->GetManagedObjects().empty());
    emitter->AddManagedObject(new Velkor::PointEmitter(), "helper");
    EXPECT_EQ(emitter->GetManagedObjects().size(), 1u);
}

TEST(ParticleEmitterTest, RecordsAndClonesKeepClassAndFields)
{
    Core::RefPtr<Velkor::PointEmitter> point(new Velkor::PointEmitter({1, 2}, 30.0f, 60.0f));
    Core::RefPtr<Velkor::LineEmitter> line(new Velkor::LineEmitter({-1, -2}, {3, 4}));
    Core::RefPtr<Velkor::CircleEmitter> circle(new Velkor::CircleEmitter({5, 6}, 7.0f));
    Core::RefPtr<Velkor::DiskEmitter> disk(new Velkor::DiskEmitter({8, 9}, 10.0f));
    Core::RefPtr<Velkor::RectangleEmitter> rectangle(new Velkor::RectangleEmitter(1, 2, 3, 4));
    Core::RefPtr<Velkor::FilledRectangleEmitter> filled(new Velkor::FilledRectangleEmitter(5, 6, 7, 8));
    line->SetScriptFile("spray.lua");
    line->AddManagedObject(new Velkor::PointEmitter(), "helper");
    Velkor::ParticleEmitter* all[] = {point.Get(), line.Get(),      circle.Get(),
                                      disk.Get(),  rectangle.Get(), filled.Get()};

    // What each one answers for one fixed draw.
    auto answer = [](Velkor::ParticleEmitter& emitter)
    {
        Vec position;
        Vec direction;
        Core::SeedRandom(5);
        emitter.GetPositionAndDirection(0.0f, position, direction);
        return std::array<float, 4>{position.x, position.y, direction.x, direction.y};
    };
    for (Velkor::ParticleEmitter* emitter : all)
    {
        SCOPED_TRACE(emitter->GetClassName());
        Core::MemoryFile file;
        file.WriteObject(emitter);
        Core::RefPtr<Velkor::ParticleEmitter> read;
        Core::ReadRefPtr(file, read);
        ASSERT_FALSE(file.Failed());
        ASSERT_TRUE(read);
        EXPECT_EQ(file.GetBytesLeft(), 0u);
        EXPECT_STREQ(read->GetClassName(), emitter->GetClassName());
        EXPECT_EQ(read->GetScriptFile(), emitter->GetScriptFile());
        EXPECT_EQ(answer(*read), answer(*emitter));

        Core::RefPtr<Velkor::ParticleEmitter> clone(static_cast<Velkor::ParticleEmitter*>(emitter->Clone()));
        EXPECT_STREQ(clone->GetClassName(), emitter->GetClassName());
        EXPECT_EQ(answer(*clone), answer(*emitter));
        EXPECT_EQ(clone->GetScriptFile(), emitter->GetScriptFile());
        EXPECT_TRUE(clone->GetManagedObjects().empty());
        EXPECT_FALSE(clone->HasClonedScript());
    }
    EXPECT_EQ(line->GetManagedObjects().size(), 1u);

    // A short record changes nothing.
    Core::MemoryFile full;
    line->Write(full);
    for (std::uint32_t size = 0; size < full.GetSize(); ++size)
    {
        Core::MemoryFile cut(full.GetData(), size);
        Velkor::LineEmitter target({7, 7}, {8, 8});
        target.Read(cut);
        EXPECT_TRUE(cut.Failed());
        EXPECT_EQ(target.endPoint, Vec(8, 8));
        EXPECT_EQ(target.GetScriptFile(), "");
    }
}

} // namespace

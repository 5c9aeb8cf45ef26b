#include "framework/Velkor_Network.h"
#include "framework/Velkor_NetworkFile.h"
#include "framework/Velkor_Sprite.h"
#include "framework/Velkor_Text.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{

std::vector<std::uint8_t> Bytes(const Core::MemoryFile& file)
{
    return std::vector<std::uint8_t>(file.GetData(), file.GetData() + file.GetSize());
}

TEST(NetworkFileTest, StringsAndNullObjectsHaveTheirByteLayout)
{
    Velkor::NetworkFile file;
    Velkor::WriteNetworkString(file, "abc");
    Velkor::WriteNetworkString(file, "");
    file.WriteNetworkObject(nullptr);
    EXPECT_EQ(Bytes(file), (std::vector<std::uint8_t>{3, 0, 0, 0, 'a', 'b', 'c', 0, 0, 0, 0, 0}));

    std::string text;
    ASSERT_TRUE(Velkor::ReadNetworkString(file, text));
    EXPECT_EQ(text, "abc");
    std::string kept = "kept";
    ASSERT_TRUE(Velkor::ReadNetworkString(file, kept));
    EXPECT_EQ(kept, "kept");
    EXPECT_EQ(file.ReadNetworkObject(), nullptr);
    EXPECT_FALSE(file.Failed());

    // A zero byte inside cuts the string; a length beyond the payload fails
    // it and leaves the string as it was.
    const std::uint8_t cut[] = {5, 0, 0, 0, 'a', 'b', 0, 'c', 'd'};
    Velkor::NetworkFile cutFile(cut, sizeof cut);
    ASSERT_TRUE(Velkor::ReadNetworkString(cutFile, text));
    EXPECT_EQ(text, "ab");
    const std::uint8_t lying[] = {0xFF, 0xFF, 0xFF, 0x7F, 'a'};
    Velkor::NetworkFile lyingFile(lying, sizeof lying);
    EXPECT_FALSE(Velkor::ReadNetworkString(lyingFile, text));
    EXPECT_EQ(text, "ab");
}

TEST(NetworkFileTest, ASpriteRecordStartsWithItsClassAndTravelsWithoutItsBody)
{
    Core::RefPtr<Velkor::Sprite> sprite(new Velkor::Sprite());
    sprite->SetName("ship");
    sprite->SetPosition(10.0f, -4.0f);
    sprite->SetRotationAngle(30.0f);
    sprite->SetNetworkID(new Velkor::NetObjectID(7, 99));
    Velkor::NetworkFile file;
    file.WriteNetworkObject(sprite.Get());
    const std::vector<std::uint8_t> bytes = Bytes(file);
    ASSERT_GT(bytes.size(), 19u);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[1], 14);
    EXPECT_EQ(std::string(bytes.begin() + 5, bytes.begin() + 19), "Velkor::Sprite");

    Core::RefPtr<Core::Object> read(file.ReadObject());
    auto* copy = dynamic_cast<Velkor::Sprite*>(read.Get());
    ASSERT_NE(copy, nullptr);
    EXPECT_FALSE(file.Failed());
    EXPECT_EQ(copy->GetName(), "ship");
    EXPECT_EQ(copy->GetPosition(), sprite->GetPosition());
    EXPECT_EQ(copy->GetPhysicsId(), 0u);
    ASSERT_TRUE(copy->IsNetworkObject());
    EXPECT_EQ(copy->GetNetworkID()->GetOwnerID(), 7u);
    EXPECT_EQ(copy->GetNetworkID()->GetObjectID(), 99u);

    // Without a network id: byte 0 and no ids, read back without one.
    Core::RefPtr<Velkor::Text> text(new Velkor::Text("hi", ""));
    Velkor::NetworkFile plain;
    plain.WriteNetworkObject(text.Get());
    Core::RefPtr<Core::Object> plainCopy(plain.ReadObject());
    ASSERT_TRUE(plainCopy);
    EXPECT_FALSE(static_cast<Velkor::GameObject*>(plainCopy.Get())->IsNetworkObject());
}

TEST(NetworkFileTest, TheFirstSyncSnapsAndLaterOnesOnlyMoveTheTargets)
{
    Core::RefPtr<Velkor::GameObject> sender(new Velkor::GameObject());
    sender->SetPosition(5.0f, 6.0f);
    Velkor::NetworkFile creation;
    creation.WriteNetworkObject(sender.Get());
    Core::RefPtr<Core::Object> made(creation.ReadObject());
    auto* receiver = static_cast<Velkor::GameObject*>(made.Get());

    sender->SetPosition(50.0f, 60.0f);
    sender->SetRotationAngle(90.0f);
    Velkor::NetworkFile first;
    sender->NetworkSyncSend(first);
    receiver->NetworkSyncReceive(first);
    EXPECT_EQ(receiver->GetPosition(), Math::Vector2D(50.0f, 60.0f));
    EXPECT_EQ(receiver->GetRotationAngle(), 90.0f);

    sender->SetPosition(70.0f, 80.0f);
    Velkor::NetworkFile second;
    sender->NetworkSyncSend(second);
    receiver->NetworkSyncReceive(second);
    EXPECT_EQ(receiver->GetPosition(), Math::Vector2D(50.0f, 60.0f));
}

TEST(NetworkFileTest, DamagedPayloadsAreReadWithinTheirBytesAndCreateNothing)
{
    Core::RefPtr<Velkor::Text> text(new Velkor::Text("message", ""));
    text->SetNetworkID(new Velkor::NetObjectID(1, 2));
    Velkor::NetworkFile file;
    file.WriteNetworkObject(text.Get());
    const std::vector<std::uint8_t> good = Bytes(file);
    const std::int32_t liveBefore = Core::GetLiveObjectCount();
    for (std::size_t length = 0; length < good.size(); ++length)
    {
        Velkor::NetworkFile prefix(good.data(), static_cast<std::uint32_t>(length));
        EXPECT_EQ(prefix.ReadObject(), nullptr) << length;
    }
    for (std::size_t at = 0; at < good.size(); ++at)
    {
        for (int bit = 0; bit < 8; ++bit)
        {
            std::vector<std::uint8_t> damaged = good;
            damaged[at] ^= static_cast<std::uint8_t>(1u << bit);
            Velkor::NetworkFile flipped(damaged.data(), static_cast<std::uint32_t>(damaged.size()));
            Core::RefPtr<Core::Object> read(flipped.ReadObject());
            EXPECT_LE(flipped.GetReadPosition(), damaged.size());
            EXPECT_TRUE(!read || !flipped.Failed());
        }
    }
    EXPECT_EQ(Core::GetLiveObjectCount(), liveBefore);

    // A registered class that is no game object makes the payload malformed.
    Velkor::NetworkFile notAGameObject;
    const std::uint8_t present = 1;
    notAGameObject.Write(&present, 1);
    Velkor::WriteNetworkString(notAGameObject, "Velkor::Layer");
    EXPECT_EQ(notAGameObject.ReadObject(), nullptr);
    EXPECT_TRUE(notAGameObject.Failed());
}

} // namespace

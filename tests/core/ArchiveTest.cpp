#include "core/Core_DiskFile.h"
#include "core/Core_MemoryFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

namespace
{

// A node with a value and a link: enough to build shared graphs.
class Node : public Core::Object
{
    CORE_DECLARE_OBJECT(Node)
public:
    Node() = default;
    explicit Node(std::int32_t v) : value(v) {}
    Node(const Node&) = default;

    void Write(Core::File& file) const override
    {
        file << value;
        file.WriteObject(link.Get());
    }
    void Read(Core::File& file) override
    {
        file >> value;
        Core::ReadRefPtr(file, link);
    }

    std::int32_t value = 0;
    Core::RefPtr<Node> link;
};

CORE_DEFINE_OBJECT(Node, "Test::Node", "Object", "ArchiveTest", __LINE__)

// Holds a Node; counts its destructions.
class Holder : public Core::Object
{
    CORE_DECLARE_OBJECT(Holder)
public:
    Holder() = default;
    Holder(const Holder&) = default;
    ~Holder() override { ++destroyed; }

    void Read(Core::File& file) override { Core::ReadRefPtr(file, node); }

    Core::RefPtr<Node> node;
    static inline int destroyed = 0;
};

CORE_DEFINE_OBJECT(Holder, "Test::Holder", "Object", "ArchiveTest", __LINE__)

// A list of nodes, for reads that fail half-way through a list.
class List : public Core::Object
{
    CORE_DECLARE_OBJECT(List)
public:
    List() = default;
    List(const List&) = default;

    void Read(Core::File& file) override { Core::ReadRefPtrVector(file, nodes); }

    std::vector<Core::RefPtr<Node>> nodes;
};

CORE_DEFINE_OBJECT(List, "Test::List", "Object", "ArchiveTest", __LINE__)

// Reads the framing of the next object: returns the id, or 0 for null.
std::uint32_t ReadFrame(Core::MemoryFile& file, std::string& className)
{
    std::uint8_t present = 0;
    file.Read(&present, 1);
    if (present == 0)
    {
        return 0;
    }
    std::uint32_t id = 0;
    file >> className >> id;
    return id;
}

TEST(Archive, NullObjectIsOneZeroByte)
{
    Core::MemoryFile file;
    file.WriteObject(nullptr);
    ASSERT_EQ(file.GetSize(), 1u);
    EXPECT_EQ(file.GetData()[0], 0);
    EXPECT_EQ(file.ReadObject(), nullptr);
    EXPECT_FALSE(file.Failed());
}

TEST(Archive, SharedObjectIsWrittenOnceWithItsId)
{
    Core::RefPtr<Node> a(new Node(11));
    Core::RefPtr<Node> b(new Node(22));
    Core::MemoryFile file;
    file.WriteObject(a.Get());
    file.WriteObject(b.Get());
    file.WriteObject(a.Get());

    Core::MemoryFile frames(file.GetData(), file.GetSize());
    std::string name;
    std::int32_t value = 0;
    EXPECT_EQ(ReadFrame(frames, name), 1u);
    EXPECT_EQ(name, "Test::Node");
    frames >> value;
    EXPECT_EQ(value, 11);
    EXPECT_EQ(frames.ReadObject(), nullptr); // a's null link
    EXPECT_EQ(ReadFrame(frames, name), 2u);
    frames >> value;
    EXPECT_EQ(value, 22);
    EXPECT_EQ(frames.ReadObject(), nullptr);
    EXPECT_EQ(ReadFrame(frames, name), 1u);
    EXPECT_EQ(frames.GetBytesLeft(), 0u);
}

// The graph A -> B -> A (a cycle through the link) plus a second top-level
// reference to A: both archive kinds give back one shared A.
void CheckGraphRoundTrip(Core::File& writer, const std::function<std::unique_ptr<Core::File>()>& reopen)
{
    {
        Core::RefPtr<Node> a(new Node(1));
        Core::RefPtr<Node> b(new Node(2));
        a->link = b;
        b->link = a;
        writer.WriteObject(a.Get());
        writer.WriteObject(b.Get());
        writer.WriteObject(a.Get());
        b->link.Reset(); // break the cycle so both are freed
    }
    std::unique_ptr<Core::File> reader = reopen();
    Core::RefPtr<Node> first, second, third;
    Core::ReadRefPtr(*reader, first);
    Core::ReadRefPtr(*reader, second);
    Core::ReadRefPtr(*reader, third);
    ASSERT_FALSE(reader->Failed());
    ASSERT_TRUE(first && second && third);
    EXPECT_EQ(first.Get(), third.Get());
    EXPECT_EQ(first->link.Get(), second.Get());
    EXPECT_EQ(second->link.Get(), first.Get());
    EXPECT_EQ(first->value, 1);
    EXPECT_EQ(second->value, 2);
    second->link.Reset();
}

TEST(Archive, GraphRoundTripInMemory)
{
    Core::MemoryFile file;
    CheckGraphRoundTrip(file, [&] { return std::make_unique<Core::MemoryFile>(file.GetData(), file.GetSize()); });
}

class DiskArchive : public ::testing::Test
{
protected:
    void SetUp() override
    {
        directory = std::filesystem::temp_directory_path() /
                    ("core_archive_" + std::to_string(::getpid()) + "_" +
                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(directory);
        path = (directory / "graph.sav").string();
    }
    void TearDown() override { std::filesystem::remove_all(directory); }

    std::filesystem::path directory;
    std::string path;
};

TEST_F(DiskArchive, GraphRoundTripOnDisk)
{
    auto writer = std::make_unique<Core::DiskFile>(path, Core::DiskFile::WriteMode);
    ASSERT_FALSE(writer->Failed());
    CheckGraphRoundTrip(*writer, [&] {
        EXPECT_TRUE(writer->Close());
        return std::make_unique<Core::DiskFile>(path, Core::DiskFile::ReadMode);
    });
}

TEST_F(DiskArchive, BackslashPathsOpen)
{
    {
        Core::DiskFile file(path, Core::DiskFile::WriteMode);
        file << std::int32_t{5};
    }
    std::string engine = path;
    std::replace(engine.begin(), engine.end(), '/', '\\');
    Core::DiskFile file(engine, Core::DiskFile::ReadMode);
    std::int32_t value = 0;
    file >> value;
    EXPECT_EQ(value, 5);
}

TEST_F(DiskArchive, OpenModes)
{
    {
        std::ofstream existing(path, std::ios::binary);
        existing << "old contents";
    }
    {
        Core::DiskFile file(path, Core::DiskFile::WriteMode);
        EXPECT_FALSE(file.Failed());
    }
    EXPECT_EQ(std::filesystem::file_size(path), 0u);

    Core::DiskFile none(path, 2);
    EXPECT_FALSE(none.IsOpen());
    EXPECT_TRUE(none.Failed());

    Core::DiskFile missing((directory / "missing.sav").string(), Core::DiskFile::ReadMode);
    EXPECT_TRUE(missing.Failed());
    std::int32_t value = 42;
    missing >> value;
    EXPECT_EQ(value, 42); // the value keeps what it held
    EXPECT_EQ(missing.ReadObject(), nullptr);
}

TEST_F(DiskArchive, ReadIsBoundedByTheFile)
{
    {
        Core::DiskFile file(path, Core::DiskFile::WriteMode);
        file << std::uint16_t{7};
    }
    Core::DiskFile file(path, Core::DiskFile::ReadMode);
    EXPECT_EQ(file.GetBytesLeft(), 2u);
    std::uint32_t value = 99;
    file >> value;
    EXPECT_EQ(value, 99u);
    EXPECT_EQ(file.GetError(), Core::FileError::ShortRead);
}

// /dev/full takes the open and refuses every byte: a write past the stream's
// buffer fails at once, a small one when the close flushes it.
TEST(Archive, FailedDiskWritesAreReported)
{
    {
        Core::DiskFile file("/dev/full", Core::DiskFile::WriteMode);
        ASSERT_FALSE(file.Failed());
        file << std::int32_t{1};
        EXPECT_FALSE(file.Close());
        EXPECT_EQ(file.GetError(), Core::FileError::StreamFailure);
    }
    {
        Core::DiskFile file("/dev/full", Core::DiskFile::WriteMode);
        const std::vector<std::uint8_t> large(1 << 20, 7);
        file.Write(large.data(), static_cast<std::uint32_t>(large.size()));
        EXPECT_EQ(file.GetError(), Core::FileError::StreamFailure);
        EXPECT_FALSE(file.Close());
    }
}

TEST(Archive, MemoryFileSizeAndPosition)
{
    const std::uint8_t bytes[] = {1, 0, 2, 0};
    Core::MemoryFile file(bytes, sizeof bytes);
    EXPECT_EQ(file.GetSize(), 4u);
    std::uint16_t first = 0;
    file >> first;
    file << std::uint16_t{3};
    EXPECT_EQ(file.GetSize(), 6u);
    std::uint16_t second = 0, third = 0;
    file >> second >> third;
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 2);
    EXPECT_EQ(third, 3);

    // Two bytes left, four asked for: nothing is copied, the position stays.
    Core::MemoryFile shortFile(bytes, 2);
    std::uint32_t value = 0xABCDABCD;
    shortFile >> value;
    EXPECT_EQ(value, 0xABCDABCDu);
    EXPECT_EQ(shortFile.GetReadPosition(), 0u);
    EXPECT_TRUE(shortFile.Failed());
}

TEST(Archive, TruncatedStreamsAreRejectedAtEveryCut)
{
    Core::RefPtr<Node> a(new Node(1));
    a->link = new Node(2);
    Core::MemoryFile full;
    full.WriteObject(a.Get());
    full.WriteObject(a.Get());

    for (std::uint32_t cut = 1; cut < full.GetSize(); ++cut)
    {
        // A buffer of exactly `cut` bytes so the sanitizer sees any overrun.
        std::vector<std::uint8_t> bytes(full.GetData(), full.GetData() + cut);
        Core::MemoryFile file(bytes.data(), cut);
        Core::RefPtr<Node> first, second;
        Core::ReadRefPtr(file, first);
        Core::ReadRefPtr(file, second);
        EXPECT_TRUE(file.Failed()) << "cut at " << cut;
        if (first && first->link)
        {
            first->link->link.Reset();
        }
    }
}

TEST(Archive, UnknownClassStopsTheReader)
{
    Core::MemoryFile file;
    file << std::uint8_t{1} << std::string("Nobody::Knows") << std::uint32_t{1} << std::int32_t{5};
    Core::RefPtr<Node> node(new Node(3));
    file.WriteObject(node.Get());

    Core::MemoryFile reader(file.GetData(), file.GetSize());
    EXPECT_EQ(reader.ReadObject(), nullptr);
    EXPECT_EQ(reader.GetError(), Core::FileError::UnknownClass);
    EXPECT_EQ(reader.GetUnknownClassName(), "Nobody::Knows");
    EXPECT_EQ(reader.ReadObject(), nullptr);
}

TEST(Archive, CorruptFramesAreRejected)
{
    struct Case
    {
        const char* what;
        std::vector<std::uint8_t> bytes;
        Core::FileError error;
    };
    const Case cases[] = {
        {"huge class name", {1, 0xFF, 0xFF, 0xFF, 0x7F, 'O'}, Core::FileError::BadData},
        {"name longer than data", {1, 20, 0, 0, 0, 'O', 'b'}, Core::FileError::ShortRead},
        {"missing id", {1, 6, 0, 0, 0, 'O', 'b', 'j', 'e', 'c', 't', 1}, Core::FileError::ShortRead},
        {"object of the wrong class", {1, 6, 0, 0, 0, 'O', 'b', 'j', 'e', 'c', 't', 1, 0, 0, 0},
         Core::FileError::BadData},
    };
    for (const Case& c : cases)
    {
        Core::MemoryFile file(c.bytes.data(), static_cast<std::uint32_t>(c.bytes.size()));
        Core::RefPtr<Node> node;
        Core::ReadRefPtr(file, node);
        EXPECT_FALSE(node) << c.what;
        EXPECT_EQ(file.GetError(), c.error) << c.what;
    }
}

// A holder whose member record refers back to the holder itself: the wrong
// class for the member, so the stream is bad, but the holder is still being
// read and belongs to its reader, which must get it alive.
TEST(Archive, WrongClassReferringBackToAnObjectBeingReadLeavesItToItsReader)
{
    Core::MemoryFile file;
    file << std::uint8_t{1} << std::string("Test::Holder") << std::uint32_t{1};
    file << std::uint8_t{1} << std::string("Test::Holder") << std::uint32_t{1};

    Holder::destroyed = 0;
    Core::RefPtr<Holder> holder;
    Core::ReadRefPtr(file, holder);
    EXPECT_EQ(file.GetError(), Core::FileError::BadData);
    EXPECT_EQ(Holder::destroyed, 0);
    ASSERT_TRUE(holder);
    EXPECT_FALSE(holder->node);
    // The archive holds what it read until it goes.
    EXPECT_EQ(file.GetOutsideReferenceCount(*holder), 1u);
    holder.Reset();
    EXPECT_EQ(Holder::destroyed, 0);
    file.ClearObjectTable();
    EXPECT_EQ(Holder::destroyed, 1);
}

// A list of nodes whose read fails after it took a node still being read
// further up: dropping the list must not free that node under its reader.
TEST(Archive, AFailedListDoesNotFreeAnObjectStillBeingRead)
{
    const std::int32_t live = Core::GetLiveObjectCount();
    {
        Core::MemoryFile file;
        file << std::uint8_t{1} << std::string("Test::Node") << std::uint32_t{1} << std::int32_t{5};
        file << std::uint8_t{1} << std::string("Test::List") << std::uint32_t{2};
        file << std::uint32_t{2} << std::uint8_t{1} << std::string("Test::Node") << std::uint32_t{1};
        file << std::uint8_t{1}; // the second entry ends early
        Core::RefPtr<Node> node;
        Core::ReadRefPtr(file, node);
        EXPECT_TRUE(file.Failed());
        ASSERT_TRUE(node);
        EXPECT_EQ(node->value, 5);
        EXPECT_FALSE(node->link);
    }
    EXPECT_EQ(Core::GetLiveObjectCount(), live);
}

// A chain of `length` nodes, each the link of the one before, as a stream
// of nested records; built flat so the writer does not recurse.
std::vector<std::uint8_t> NestedChain(std::uint32_t length)
{
    Core::MemoryFile file;
    for (std::uint32_t id = 1; id <= length; ++id)
    {
        file << std::uint8_t{1} << std::string("Test::Node") << id << std::int32_t{7};
    }
    file << std::uint8_t{0};
    return file.GetBuffer();
}

TEST(Archive, NestingDeeperThanTheBoundIsRefusedWithoutRunningTheStackOut)
{
    struct Case
    {
        std::uint32_t length;
        Core::FileError error;
    };
    const Case cases[] = {
        {Core::File::MaxObjectDepth, Core::FileError::None},
        {Core::File::MaxObjectDepth + 1, Core::FileError::BadData},
        {100000, Core::FileError::BadData},
    };
    for (const Case& c : cases)
    {
        const std::vector<std::uint8_t> bytes = NestedChain(c.length);
        Core::MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        Core::RefPtr<Node> head;
        Core::ReadRefPtr(file, head);
        EXPECT_EQ(file.GetError(), c.error) << c.length;
        ASSERT_TRUE(head) << c.length;
        std::uint32_t chained = 0;
        for (const Node* node = head.Get(); node != nullptr; node = node->link.Get())
        {
            ++chained;
        }
        EXPECT_EQ(chained, std::min(c.length, Core::File::MaxObjectDepth)) << c.length;
    }
}

TEST(Archive, RefPtrVectorCountIsChecked)
{
    Core::MemoryFile file;
    file << std::uint32_t{1000000};
    std::vector<Core::RefPtr<Node>> nodes(2);
    Core::ReadRefPtrVector(file, nodes);
    EXPECT_TRUE(file.Failed());
    EXPECT_EQ(nodes.size(), 2u);

    std::vector<Core::RefPtr<Node>> written{Core::RefPtr<Node>(new Node(4)), nullptr};
    Core::MemoryFile good;
    Core::WriteRefPtrVector(good, written);
    std::vector<Core::RefPtr<Node>> read;
    Core::ReadRefPtrVector(good, read);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0]->value, 4);
    EXPECT_FALSE(read[1]);
}

} // namespace

// Runs a fuzz target once over every file under the folders (or files) named
// on the command line, without mutation: the seeds and the kept regression
// inputs replay as an ordinary test in every build tree.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace
{

void Replay(const std::filesystem::path& path, std::size_t& count)
{
    std::ifstream stream(path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    ++count;
}

} // namespace

int main(int argc, char** argv)
{
    std::size_t count = 0;
    for (int i = 1; i < argc; ++i)
    {
        const std::filesystem::path root(argv[i]);
        if (std::filesystem::is_regular_file(root))
        {
            Replay(root, count);
            continue;
        }
        if (!std::filesystem::is_directory(root))
        {
            continue;
        }
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
        {
            if (entry.is_regular_file() && entry.path().filename().string()[0] != '.')
            {
                Replay(entry.path(), count);
            }
        }
    }
    std::printf("replayed %zu inputs\n", count);
    return count > 0 ? 0 : 1;
}

#pragma once

// Shared by every fuzz target: the promises a reader makes, checked on each
// input, and the input as a file for readers that open one.

#include "core/Core_File.h"
#include "core/Core_MemoryFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <unistd.h>

namespace Fuzz
{

using Bytes = std::vector<std::uint8_t>;

// A broken promise is a finding: report it and abort, so that libFuzzer
// keeps the input and a replay fails.
inline void Require(bool holds, const char* promise)
{
    if (!holds)
    {
        std::fprintf(stderr, "broken promise: %s\n", promise);
        std::abort();
    }
}

// What `write` puts in a fresh archive.
template <class Write>
Bytes WrittenBytes(Write&& write)
{
    Core::MemoryFile file;
    write(file);
    return file.GetBuffer();
}

// The input as a file of its own (per process), for readers that take a
// file name. The name keeps `extension`, which some readers dispatch on.
inline std::string WriteInputFile(const std::uint8_t* data, std::size_t size, const char* extension)
{
    static const std::string base = "/tmp/brillow-fuzz-" + std::to_string(::getpid());
    const std::string path = base + extension;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    Require(file != nullptr, "the input file can be written");
    if (size > 0)
    {
        std::fwrite(data, 1, size, file);
    }
    std::fclose(file);
    return path;
}

} // namespace Fuzz

#pragma once

#include "input/Input_InputSource.h"
#include "input/Input_ScriptedInputSource.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace InputTest
{

// Installs a scripted source for the duration of a test.
class ScriptedInputTest : public ::testing::Test
{
protected:
    void SetUp() override { Input::InputSource::SetCurrent(&source); }
    void TearDown() override { Input::InputSource::SetCurrent(nullptr); }

    Input::ScriptedInputSource source;
};

inline std::vector<std::uint8_t> Bytes(const void* data, std::uint32_t size)
{
    std::vector<std::uint8_t> bytes(size);
    if (size > 0)
    {
        std::memcpy(bytes.data(), data, size);
    }
    return bytes;
}

} // namespace InputTest
